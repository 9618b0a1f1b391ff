// Image drawing in every mode, resampling and the suite image list, read back from the pixels
// drawn.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <cstdlib>
#include <filesystem>
#include <memory>

#include "common/TestEnv.h"
#include "platform/rtl/Streaming.h"
#include "platform/rtl/Streams.h"
#include "suite/core/cxGraphics.h"

namespace {

using sonalix::test::SheetDir;

uint32_t Rgb(TColor c) {
  uint32_t v = uint32_t(ColorToRGB(c));
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}
uint32_t At(TBitmap* b, int x, int y) { return b->ToImage().pixel(x, y) & 0xFFFFFF; }
int Ch(uint32_t p, int shift) { return int((p >> shift) & 0xFF); }

// A square image: the left half red, the right half the key colour (or, with alpha, transparent).
std::unique_ptr<TBitmap> HalfRed(bool Alpha, int Size = 8) {
  QImage img(Size, Size, QImage::Format_ARGB32);
  img.fill(Alpha ? 0x00000000u : 0xFFFF00FFu);
  for (int y = 0; y < Size; ++y)
    for (int x = 0; x < Size / 2; ++x) img.setPixel(x, y, 0xFFFF0000u);
  auto b = std::make_unique<TBitmap>();
  b->SetImage(img);
  b->SetPixelFormat(Alpha ? pf32bit : pf24bit);
  return b;
}

constexpr uint32_t kBack = 0x2040A0;  // the background the images are drawn over

std::unique_ptr<TBitmap> Drawn(TcxImageList* List, int Index, TcxImageDrawMode Mode) {
  auto target = std::make_unique<TBitmap>();
  target->SetSize(16, 16);
  HBRUSH brush = CreateSolidBrush(RGB(0x20, 0x40, 0xA0));
  DrawImageInState(target->Canvas()->Handle(), TRect(4, 4, 12, 12), TRect(0, 0, 16, 16), nullptr, List, Index, Mode,
                   false, brush);
  DeleteObject(brush);
  return target;
}

}  // namespace

TEST(CxResample, ContributorsStayInsideAndMirrorAtTheEdges) {
  // Upscaling 4 to 7: destination 5 sits at 2.5; sources 4 and 5 mirror to 3 and 2.
  auto c = CalculateResampleContributors(4, 7);
  ASSERT_EQ(c.size(), 7u);
  std::vector<int> idx;
  for (auto& k : c[5]) idx.push_back(k.Index);
  EXPECT_EQ(idx, (std::vector<int>{0, 1, 2, 3, 3, 2}));
  // Equal sizes pick each source pixel alone.
  for (auto& k : CalculateResampleContributors(5, 5)) {
    ASSERT_EQ(k.size(), 1u);
    EXPECT_EQ(k[0].Weight, 256);
  }
  // Narrow sources (the filter is wider than they are) and every kind of scale.
  for (int s : {1, 2, 3, 4, 9})
    for (int d : {1, 2, 3, 5, 16}) {
      auto all = CalculateResampleContributors(s, d);
      for (auto& list : all) {
        int sum = 0;
        for (auto& k : list) {
          ASSERT_GE(k.Index, 0) << s << "->" << d;
          ASSERT_LT(k.Index, s) << s << "->" << d;
          sum += k.Weight;
        }
        EXPECT_NEAR(sum, 256, 12) << s << "->" << d;
      }
    }
  EXPECT_FLOAT_EQ(LanczosKernel(0), 1.0f);
  EXPECT_EQ(LanczosKernel(3.0f), 0.0f);
  EXPECT_NEAR(LanczosKernel(1.0f), 0.0f, 1e-6);
}

TEST(CxResample, LanczosKeepsFlatColourAndEndsAndClampsOvershoot) {
  // The weights are not normalised: a flat colour may lose a few levels.
  struct TCase {
    int SW, SH, DW, DH;
  };
  for (TCase t : {TCase{1, 1, 4, 4}, TCase{3, 2, 7, 5}, TCase{2, 3, 1, 1}, TCase{9, 9, 3, 2}}) {
    TcxBitmap32 src(t.SW, t.SH, false), dst(t.DW, t.DH, true);
    std::vector<uint32_t> px(size_t(t.SW * t.SH), 0xFF3080C0u);
    src.SetColors(px);
    ResampleBitmap(&src, &dst, true);
    std::vector<uint32_t> out;
    dst.GetColors(out);
    for (uint32_t p : out)
      for (int sh : {0, 8, 16, 24})
        ASSERT_NEAR(Ch(p, sh), Ch(0xFF3080C0u, sh), 6) << t.SW << "x" << t.SH << "->" << t.DW << "x" << t.DH;
  }
  // A hard black-to-white edge rings; the ringing is clamped, and the ends keep their values.
  TcxBitmap32 src(4, 1, false), dst(10, 1, true);
  src.SetColors({0xFF000000u, 0xFF000000u, 0xFFFFFFFFu, 0xFFFFFFFFu});
  ResampleBitmap(&src, &dst, true);
  std::vector<uint32_t> out;
  dst.GetColors(out);
  EXPECT_LE(Ch(out.front(), 0), 3);
  EXPECT_GE(Ch(out.back(), 0), 252);
  for (size_t i = 1; i < out.size(); ++i) EXPECT_GE(Ch(out[i], 0) + 40, Ch(out[i - 1], 0)) << i;
}

TEST(CxImageDrawing, EveryModeOverABackground) {
  TcxImageList list(nullptr);
  list.SetSize(8, 8);
  list.AddMaskedBitmap(HalfRed(false).get(), TColor(0x00FF00FF));
  list.AddBitmap(HalfRed(true).get(), nullptr);
  ASSERT_EQ(list.Count(), 2);

  auto blend = [](int v, int bg, int k) { return (v * k + 127) / 255 + (bg * (255 - k) + 127) / 255; };
  const uint32_t red = 0xFF0000;
  struct TCase {
    int Index;
    TcxImageDrawMode Mode;
    TPoint P;
    uint32_t Expected;
    const char* What;
  };
  const int faded = 76, greenGrey = 19, shadow = int(Rgb(clBtnShadow));
  const TCase cases[] = {
      {0, ImageDrawNormal, {5, 5}, red, "image"},
      {0, ImageDrawNormal, {10, 5}, kBack, "key colour is transparent"},
      {0, ImageDrawNormal, {1, 1}, kBack, "outside the image"},
      {1, ImageDrawNormal, {5, 5}, red, "alpha image"},
      {1, ImageDrawNormal, {10, 5}, kBack, "alpha 0 shows the background"},
      {0, ImageDrawGrayed, {5, 5}, 0x555555, "grey by the mean"},
      {0, ImageDrawLightened, {5, 5}, 0xFF4D4D, "lightened"},
      {0, ImageDrawFaded, {5, 5},
       uint32_t(blend(faded, 0x20, 64) << 16 | blend(faded, 0x40, 64) << 8 | blend(faded, 0xA0, 64)), "faded"},
      {1, ImageDrawDisabled, {5, 5},
       uint32_t(blend(greenGrey, 0x20, 151) << 16 | blend(greenGrey, 0x40, 151) << 8 | blend(greenGrey, 0xA0, 151)),
       "disabled with alpha: factor 151"},
      {1, ImageDrawDisabled, {8, 6}, kBack, "disabled with alpha: no drop shadow"},
      {0, ImageDrawDisabled, {8, 6}, Rgb(clBtnHighlight), "disabled 24-bit: highlight shadow"},
      {0, ImageDrawDisabled, {9, 6}, kBack, "shadow is one pixel"},
      {0, ImageDrawShadowed, {3, 3}, red, "shadowed: image moved up-left"},
      {0, ImageDrawShadowed, {8, 8}, uint32_t(shadow), "shadowed: two-pixel shadow"},
      {0, ImageDrawShadowed, {9, 8}, kBack, "shadow ends"},
  };
  for (const TCase& t : cases) {
    auto b = Drawn(&list, t.Index, t.Mode);
    const uint32_t got = At(b.get(), t.P.X, t.P.Y);
    for (int sh : {0, 8, 16})
      EXPECT_NEAR(Ch(got, sh), Ch(t.Expected, sh), 2) << t.What << std::hex << " got " << got;
  }
  // Disabled 24-bit: a grey image, darker than the highlight.
  auto d = Drawn(&list, 0, ImageDrawDisabled);
  const uint32_t g = At(d.get(), 5, 5);
  EXPECT_EQ(Ch(g, 0), Ch(g, 8));
  EXPECT_EQ(Ch(g, 8), Ch(g, 16));

  // Nothing for an index out of range.
  auto none = Drawn(&list, 7, ImageDrawNormal);
  EXPECT_EQ(At(none.get(), 5, 5), 0xFFFFFFu);

  QImage sheet(16 * 6 * 4, 16 * 2 * 4, QImage::Format_RGB32);
  QPainter p(&sheet);
  for (int i = 0; i < 2; ++i)
    for (int m = 0; m < 6; ++m)
      p.drawImage(QRect(m * 64, i * 64, 64, 64), Drawn(&list, i, TcxImageDrawMode(m))->ToImage());
  p.end();
  ASSERT_TRUE(sheet.save(QString::fromStdString((SheetDir() / "image-modes.png").string())));
}

TEST(CxImageDrawing, StretchedSmoothImageFillsTheRect) {
  TcxBitmap32 glyph(2, 2, false);
  glyph.SetColors({0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu, 0xFF0000FFu});
  TBitmap target;
  target.SetSize(12, 12);
  for (bool smooth : {false, true}) {
    DrawImageInState(target.Canvas()->Handle(), TRect(2, 2, 10, 10), TRect(0, 0, 12, 12), &glyph, nullptr, -1,
                     ImageDrawNormal, smooth);
    for (TPoint p : {TPoint(2, 2), TPoint(9, 9), TPoint(5, 6)}) EXPECT_EQ(At(&target, p.X, p.Y), 0x0000FFu) << smooth;
    EXPECT_EQ(At(&target, 1, 1), 0xFFFFFFu);
    EXPECT_EQ(At(&target, 10, 10), 0xFFFFFFu);
  }
}

TEST(CxImageList, StripsSplitIntoItemsRowByRow) {
  TcxImageList list(nullptr);
  list.SetSize(16, 16);
  QImage strip(48, 16, QImage::Format_RGB32);
  const uint32_t colours[] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0xFFFFFF00u};
  for (int i = 0; i < 3; ++i)
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x) strip.setPixel(i * 16 + x, y, colours[i]);
  TBitmap b;
  b.SetImage(strip);
  b.SetPixelFormat(pf24bit);
  EXPECT_EQ(list.AddBitmap(&b, nullptr), 0);
  EXPECT_EQ(list.Count(), 3);
  EXPECT_EQ(list.ImageInfo()->Count(), 3);

  // Two rows: row by row, left to right.
  QImage square(32, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) square.setPixel(x, y, colours[(y / 16) * 2 + x / 16]);
  TBitmap sq;
  sq.SetImage(square);
  sq.SetPixelFormat(pf24bit);
  list.AddBitmap(&sq, nullptr);
  ASSERT_EQ(list.ImageInfo()->Count(), 7);
  EXPECT_EQ(list.Count(), 7) << "the system list is rebuilt from the items";
  for (int i = 0; i < 4; ++i) {
    TBitmap img, mask;
    list.GetImage(3 + i, &img, &mask);
    EXPECT_EQ(At(&img, 8, 8), colours[i] & 0xFFFFFF) << i;
  }

  // A blank mask: every pixel shows.
  list.AddMaskedBitmap(HalfRed(false, 16).get(), clNone);
  TBitmap img, mask;
  TcxImageList::ExtractImageBitmaps(list.Handle(), list.Count() - 1, &img, &mask);
  EXPECT_EQ(At(&mask, 12, 3), 0u);
  // A key colour makes the mask.
  list.AddMaskedBitmap(HalfRed(false, 16).get(), TColor(0x00FF00FF));
  TcxImageList::ExtractImageBitmaps(list.Handle(), list.Count() - 1, &img, &mask);
  EXPECT_EQ(At(&mask, 12, 3), 0xFFFFFFu);
  EXPECT_EQ(At(&mask, 1, 3), 0u);
  EXPECT_EQ(At(&img, 12, 3), 0u) << "masked pixels are cleared";

  list.DeleteImage(0);
  EXPECT_EQ(list.Count(), list.ImageInfo()->Count());
  TcxImageList copy(nullptr);
  copy.Assign(&list);
  EXPECT_TRUE(CompareImageLists(&list, &copy));
  copy.DeleteImage(1);
  EXPECT_FALSE(CompareImageLists(&list, &copy));

  list.SetWidth(0);
  EXPECT_EQ(list.Width(), 1);
  EXPECT_EQ(list.Count(), 0);
  EXPECT_EQ(list.ImageInfo()->Count(), 0);
}

TEST(CxImageList, ImagesOfAnOddWidthDoNotLoopTheRebuild) {
  // A 24-pixel image in a 16-pixel list: one item, but the system list takes one image from it.
  TcxImageList list(nullptr);
  list.SetSize(16, 16);
  TBitmap b;
  b.SetSize(24, 16);
  int changes = 0;
  list.OnChange = TNotifyEvent([&](TObject*) { ++changes; });
  list.AddBitmap(&b, nullptr);
  EXPECT_EQ(list.Count(), 1);
  EXPECT_EQ(list.ImageInfo()->Count(), 1);
  EXPECT_GE(changes, 1);
}

TEST(CxImageList, FlattenedImagesSitOnTheColour) {
  TcxImageList list(nullptr);
  list.SetSize(8, 8);
  list.AddBitmap(HalfRed(true).get(), nullptr);
  FlattenImageListOnColor(&list, TColor(0x00C08040), true);
  ASSERT_EQ(list.Count(), 1);
  TBitmap target;
  target.SetSize(8, 8);
  list.Draw(target.Canvas(), 0, 0, 0);
  EXPECT_EQ(At(&target, 1, 1), 0xFF0000u);
  EXPECT_EQ(At(&target, 6, 1), 0xFFFFFFu) << "the colour became the mask";
}

TEST(CxImageList, DescriptionKeepsFullColourImagesAndCompressesWhenAsked) {
  for (bool compress : {false, true}) {
    TcxImageList list(nullptr);
    list.SetName("Images");
    list.SetSize(8, 8);
    list.SetCompressData(compress);
    list.AddBitmap(HalfRed(true).get(), nullptr);
    list.AddMaskedBitmap(HalfRed(false).get(), TColor(0x00FF00FF));
    const std::string text = WriteComponentToText(&list);
    EXPECT_NE(text.find("FormatVersion = 1"), std::string::npos) << text;
    EXPECT_NE(text.find("ImageInfo"), std::string::npos);
    EXPECT_NE(text.find("MaskColor"), std::string::npos);
    // The compressed bitmap stream starts with its signature.
    EXPECT_EQ(text.find("58444") != std::string::npos, compress) << text.substr(0, 600);

    TcxImageList back(nullptr);
    ReadComponentFromText(&back, text);
    ASSERT_EQ(back.ImageInfo()->Count(), 2);
    EXPECT_EQ(back.Count(), 2);
    EXPECT_EQ(back.FormatVersion(), 1);
    EXPECT_EQ(back.ImageInfo()->Items(1)->MaskColor(), TColor(0x00FF00FF));
    EXPECT_TRUE(CompareImageLists(&list, &back));
    auto drawn = Drawn(&back, 0, ImageDrawNormal);
    EXPECT_EQ(At(drawn.get(), 5, 5), 0xFF0000u);
    EXPECT_EQ(At(drawn.get(), 10, 5), kBack);
  }
  // An empty list stores no images but still its format version.
  TcxImageList empty(nullptr);
  const std::string text = WriteComponentToText(&empty);
  EXPECT_EQ(text.find("ImageInfo"), std::string::npos);
  EXPECT_NE(text.find("FormatVersion = 1"), std::string::npos);
}

TEST(CxImageDrawing, HatchedStateRectAndHatch) {
  for (bool positive : {true, false}) {
    // The rectangle leaves the clip region afterwards: each case on a canvas of its own.
    TBitmap target;
    target.SetSize(40, 20);
    TcxCanvas canvas(target.Canvas());
    DrawHatchedStateRect(&canvas, TRect(2, 2, 20, 12), positive);
    const uint32_t fill = positive ? 0xA0FFA0u : 0xFF9090u;
    auto darker = [](uint32_t c, int pct) {
      uint32_t o = 0;
      for (int sh : {0, 8, 16}) o |= (((c >> sh) & 0xFF) * uint32_t(100 - pct) / 100) << sh;
      return o;
    };
    EXPECT_EQ(At(&target, 3, 3), darker(fill, 75)) << "a hatch line from the top edge";
    EXPECT_EQ(At(&target, 4, 3), fill);
    EXPECT_EQ(At(&target, 10, 2), darker(fill, 50)) << "frame";
    EXPECT_EQ(At(&target, 20, 12), Rgb(clBtnShadow)) << "the shadow copy";
    EXPECT_EQ(At(&target, 30, 15), 0xFFFFFFu);
  }
  // Two colours in squares of the step, each blended with its alpha.
  TBitmap plain;
  plain.SetSize(8, 8);
  HatchRectOnDC(plain.Canvas()->Handle(), TRect(0, 0, 8, 8), clBlack, clRed, 2, 255, 255);
  const uint32_t a = At(&plain, 0, 0), b = At(&plain, 2, 0);
  EXPECT_TRUE((a == 0u && b == 0xFF0000u) || (a == 0xFF0000u && b == 0u)) << std::hex << a << " " << b;
  EXPECT_EQ(At(&plain, 1, 1), a);
  EXPECT_EQ(At(&plain, 2, 2), a);
  EXPECT_EQ(At(&plain, 0, 2), b);
}

TEST(CxImageDrawing, ResourceBitmapsAreEmbedded) {
  struct TCase {
    const char* Name;
    int W, H;
    TPoint P;
    uint32_t Expected;
  };
  const TCase cases[] = {
      {"DXEXPANDBUTTON_PLUS", 11, 11, {5, 3}, 0x1E3250}, {"DXEXPANDBUTTON_MINUS", 11, 11, {5, 5}, 0x1E3250},
      {"DXEXPANDBUTTON_MINUS", 11, 11, {0, 0}, 0x9EAEBF}, {"DXSUBMENUEXPAND", 7, 7, {0, 0}, 0xFF00FF},
  };
  for (const TCase& t : cases) {
    TBitmap b;
    b.LoadFromResourceName(t.Name);
    EXPECT_EQ(b.Width(), t.W) << t.Name;
    EXPECT_EQ(b.Height(), t.H) << t.Name;
    EXPECT_EQ(At(&b, t.P.X, t.P.Y), t.Expected) << t.Name;
  }
  // The chevrons' red rises from left to right, so that recolouring gives a ramp.
  TBitmap arrow;
  arrow.LoadFromResourceName("DXSUBMENUEXPAND");
  EXPECT_LT(Ch(At(&arrow, 1, 1), 16), Ch(At(&arrow, 5, 1), 16));
  EXPECT_LT(Ch(At(&arrow, 1, 4), 16), Ch(At(&arrow, 3, 6), 16));
}

TEST(CxImageDrawing, GlyphsWithAKeyColourAndPlainImageLists) {
  // A 24-bit glyph keyed by the colour given, and the same picture from a plain image list.
  auto glyph = HalfRed(false);
  TCustomImageList plain(nullptr);
  plain.SetSize(8, 8);
  plain.AddMasked(glyph.get(), TColor(0x00FF00FF));
  HBRUSH brush = CreateSolidBrush(RGB(0x20, 0x40, 0xA0));
  for (int source = 0; source < 2; ++source) {
    TBitmap target;
    target.SetSize(16, 16);
    if (source == 0)
      DrawImageInState(target.Canvas()->Handle(), TRect(4, 4, 12, 12), TRect(0, 0, 16, 16), glyph.get(), nullptr,
                       -1, ImageDrawNormal, false, brush, TColor(0x00FF00FF));
    else
      DrawImageInState(target.Canvas()->Handle(), TRect(4, 4, 12, 12), TRect(0, 0, 16, 16), nullptr, &plain, 0,
                       ImageDrawNormal, false, brush);
    EXPECT_EQ(At(&target, 5, 5), 0xFF0000u) << source;
    EXPECT_EQ(At(&target, 10, 5), kBack) << source;
  }
  DeleteObject(brush);
}
