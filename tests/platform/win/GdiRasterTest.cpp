// Raster operations against their truth tables, monochrome conversions, halftone stretching,
// alpha blending, gradients, device-independent bitmaps, formatted text and edges, read back
// pixel by pixel; a sheet of the primitives is written as a PNG.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "common/TestEnv.h"
#include "platform/win/DeviceContext.h"
#include "platform/win/Windows.h"

namespace {

// A memory context on a 32-bit image the test owns the handle of.
struct TSurface {
  HDC DC;
  HBITMAP Bitmap;
  HGDIOBJ Old;
  TSurface(int w, int h, QImage::Format format = QImage::Format_RGB32, uint32_t fill = 0xFFFFFFFF) {
    QImage img(w, h, format);
    img.fill(fill);
    DC = CreateCompatibleDC(nullptr);
    Bitmap = CreateBitmapFromImage(img);
    Old = SelectObject(DC, Bitmap);
  }
  ~TSurface() {
    SelectObject(DC, Old);
    DeleteObject(Bitmap);
    DeleteDC(DC);
  }
  QImage& Image() const { return FindBitmap(Bitmap)->Image; }
  uint32_t Raw(int x, int y) const { return reinterpret_cast<const uint32_t*>(Image().constScanLine(y))[x]; }
  uint32_t Rgb(int x, int y) const { return Raw(x, y) & 0xFFFFFF; }
  void Put(int x, int y, uint32_t v) { reinterpret_cast<uint32_t*>(Image().scanLine(y))[x] = v; }
};

using sonalix::test::SheetDir;

}  // namespace

// Every (pattern, source, destination) bit combination for each code: black and white pixels
// give all eight, and a colour case checks the operation works on every bit of each channel.
TEST(GdiRaster, TernaryOperationsFollowTheirTruthTables) {
  struct TCase {
    DWORD Rop;
    uint32_t (*Formula)(uint32_t p, uint32_t s, uint32_t d);
  };
  const TCase cases[] = {
      {SRCCOPY, [](uint32_t, uint32_t s, uint32_t) { return s; }},
      {SRCPAINT, [](uint32_t, uint32_t s, uint32_t d) { return s | d; }},
      {SRCAND, [](uint32_t, uint32_t s, uint32_t d) { return s & d; }},
      {SRCINVERT, [](uint32_t, uint32_t s, uint32_t d) { return s ^ d; }},
      {SRCERASE, [](uint32_t, uint32_t s, uint32_t d) { return s & ~d; }},
      {NOTSRCCOPY, [](uint32_t, uint32_t s, uint32_t) { return ~s; }},
      {NOTSRCERASE, [](uint32_t, uint32_t s, uint32_t d) { return ~(s | d); }},
      {MERGECOPY, [](uint32_t p, uint32_t s, uint32_t) { return p & s; }},
      {MERGEPAINT, [](uint32_t, uint32_t s, uint32_t d) { return ~s | d; }},
      {PATCOPY, [](uint32_t p, uint32_t, uint32_t) { return p; }},
      {PATPAINT, [](uint32_t p, uint32_t s, uint32_t d) { return p | ~s | d; }},
      {PATINVERT, [](uint32_t p, uint32_t, uint32_t d) { return p ^ d; }},
      {DSTINVERT, [](uint32_t, uint32_t, uint32_t d) { return ~d; }},
      {BLACKNESS, [](uint32_t, uint32_t, uint32_t) { return 0u; }},
      {WHITENESS, [](uint32_t, uint32_t, uint32_t) { return 0xFFFFFFu; }},
      {0x00B8074A, [](uint32_t p, uint32_t s, uint32_t d) { return (p & ~s) | (d & s); }},  // PSDPxax
      {0x00E20746, [](uint32_t p, uint32_t s, uint32_t d) { return (s & p) | (d & ~s); }},  // DSPDxax
  };
  const uint32_t patterns[] = {0x000000, 0xFFFFFF, 0x3C5AF0};
  const uint32_t sources[] = {0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x12A4C7};
  const uint32_t dests[] = {0x000000, 0x000000, 0xFFFFFF, 0xFFFFFF, 0x6B19E2};
  for (const TCase& c : cases)
    for (uint32_t p : patterns) {
      TSurface src(5, 1), dst(5, 1);
      for (int x = 0; x < 5; ++x) {
        src.Put(x, 0, 0xFF000000u | sources[x]);
        dst.Put(x, 0, 0xFF000000u | dests[x]);
      }
      HBRUSH brush = CreateSolidBrush(RGB(p >> 16, (p >> 8) & 0xFF, p & 0xFF));
      HGDIOBJ old = SelectObject(dst.DC, brush);
      ASSERT_TRUE(BitBlt(dst.DC, 0, 0, 5, 1, src.DC, 0, 0, c.Rop));
      for (int x = 0; x < 5; ++x)
        EXPECT_EQ(dst.Rgb(x, 0), c.Formula(p, sources[x], dests[x]) & 0xFFFFFF)
            << std::hex << "rop " << c.Rop << " pattern " << p << " pixel " << x;
      SelectObject(dst.DC, old);
      DeleteObject(brush);
    }
}

// Monochrome sources take the destination's text colour for 0 and background colour for 1;
// colour sources reaching a monochrome bitmap give 1 exactly where they hold the source's
// background colour. The transfer respects origins and clipping.
TEST(GdiRaster, MonochromeConversionsOriginsAndClipping) {
  TSurface colour(4, 1);
  HBITMAP monoBits = CreateBitmap(4, 1, 1, 1, nullptr);
  HDC mono = CreateCompatibleDC(nullptr);
  HGDIOBJ oldMono = SelectObject(mono, monoBits);
  colour.Put(0, 0, 0xFFFF0000);
  colour.Put(1, 0, 0xFF00FF00);
  colour.Put(2, 0, 0xFFFF0000);
  colour.Put(3, 0, 0xFF0000FF);
  SetBkColor(colour.DC, RGB(255, 0, 0));
  BitBlt(mono, 0, 0, 4, 1, colour.DC, 0, 0, SRCCOPY);
  const QImage& m = FindBitmap(monoBits)->Image;
  EXPECT_EQ(m.pixel(0, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(m.pixel(1, 0) & 0xFFFFFF, 0u);
  EXPECT_EQ(m.pixel(2, 0) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(m.pixel(3, 0) & 0xFFFFFF, 0u);

  TSurface back(6, 3);
  SetTextColor(back.DC, RGB(0, 0, 255));
  SetBkColor(back.DC, RGB(0, 255, 0));
  SetWindowOrgEx(back.DC, -1, 0, nullptr);  // logical 0 is pixel 1
  IntersectClipRect(back.DC, 0, 0, 3, 3);     // pixels 1..3
  BitBlt(back.DC, 0, 1, 4, 1, mono, 0, 0, SRCCOPY);
  EXPECT_EQ(back.Rgb(0, 1), 0xFFFFFFu);  // outside the transfer
  EXPECT_EQ(back.Rgb(1, 1), 0x00FF00u);  // 1 -> background colour
  EXPECT_EQ(back.Rgb(2, 1), 0x0000FFu);  // 0 -> text colour
  EXPECT_EQ(back.Rgb(3, 1), 0x00FF00u);
  EXPECT_EQ(back.Rgb(4, 1), 0xFFFFFFu);  // clipped away
  EXPECT_EQ(back.Rgb(1, 0), 0xFFFFFFu);
  SelectObject(mono, oldMono);
  DeleteObject(monoBits);
  DeleteDC(mono);
}

TEST(GdiRaster, StretchingMirrorsAndHalftoneAverages) {
  TSurface src(4, 2);
  for (int x = 0; x < 4; ++x) {
    src.Put(x, 0, 0xFF000000u | uint32_t(x * 0x40));
    src.Put(x, 1, 0xFF000000u | uint32_t(x * 0x40 + 0x20));
  }
  TSurface dst(4, 2);
  // Mirrored copy: a negative destination width turns the row around.
  StretchBlt(dst.DC, 4, 0, -4, 1, src.DC, 0, 0, 4, 1, SRCCOPY);
  for (int x = 0; x < 4; ++x) EXPECT_EQ(dst.Rgb(x, 0), uint32_t((3 - x) * 0x40));
  // Halving: nearest takes one pixel, halftone the average of the 2x2 block.
  TSurface half(2, 1);
  StretchBlt(half.DC, 0, 0, 2, 1, src.DC, 0, 0, 4, 2, SRCCOPY);
  EXPECT_EQ(half.Rgb(0, 0), 0x60u) << "the pixel nearest the footprint's centre";
  SetStretchBltMode(half.DC, HALFTONE);
  StretchBlt(half.DC, 0, 0, 2, 1, src.DC, 0, 0, 4, 2, SRCCOPY);
  EXPECT_EQ(half.Rgb(0, 0), (0x00u + 0x40 + 0x20 + 0x60 + 2) / 4);
  EXPECT_EQ(half.Rgb(1, 0), (0x80u + 0xC0 + 0xA0 + 0xE0 + 2) / 4);
}

// dst = src * k + dst * (1 - k) for a constant alpha; with per-pixel alpha the source counts as
// premultiplied: dst = src' + dst * (1 - a'), where src' and a' are scaled by the constant.
TEST(GdiRaster, AlphaBlendFollowsThePremultipliedFormula) {
  struct TCase {
    uint32_t Source;
    BYTE Constant;
    BYTE Format;
    uint32_t Dest;
  };
  const TCase cases[] = {
      {0x80400000, 255, AC_SRC_ALPHA, 0xFF00FF80},  // half-transparent premultiplied red
      {0x00000000, 255, AC_SRC_ALPHA, 0xFF123456},  // fully transparent: dest unchanged
      {0xFF204060, 255, AC_SRC_ALPHA, 0xFF123456},  // opaque: source exactly
      {0x80400000, 128, AC_SRC_ALPHA, 0xFF00FF80},  // both alphas
      {0xFFFF0000, 64, 0, 0xFF0000FF},              // constant only
  };
  for (const TCase& c : cases) {
    TSurface src(1, 1, QImage::Format_ARGB32, c.Source), dst(1, 1, QImage::Format_ARGB32, c.Dest);
    BLENDFUNCTION bf{AC_SRC_OVER, 0, c.Constant, c.Format};
    ASSERT_TRUE(AlphaBlend(dst.DC, 0, 0, 1, 1, src.DC, 0, 0, 1, 1, bf));
    auto scale = [](uint32_t v, uint32_t f) { return (v * f + 127) / 255; };
    uint32_t k = c.Constant, sa = scale(c.Source >> 24, k), want = 0;
    for (int ch = 0; ch < 4; ++ch) {
      uint32_t s = (c.Source >> (8 * ch)) & 0xFF, d = (c.Dest >> (8 * ch)) & 0xFF;
      uint32_t v = c.Format ? scale(s, k) + scale(d, 255 - sa) : scale(s, k) + scale(d, 255 - k);
      want |= std::min<uint32_t>(v, 255) << (8 * ch);
    }
    EXPECT_EQ(dst.Raw(0, 0), want) << std::hex << c.Source << " over " << c.Dest;
  }
  TSurface src(2, 2), dst(2, 2);
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, 0};
  EXPECT_FALSE(AlphaBlend(dst.DC, 0, 0, 2, 2, src.DC, 1, 1, 2, 2, bf)) << "source outside its bitmap";
}

// Copies of the same size take each source pixel at a fixed offset: parts of the source outside
// its bitmap and parts of the destination outside the clip stay as they were, and a destination
// without alpha gets opaque pixels.
TEST(GdiRaster, UnstretchedCopiesKeepToTheSourceAndTheClip) {
  struct TCase {
    int X, Y, W, H, SrcX, SrcY;
    QImage::Format DestFormat;
    bool Clip;
  } cases[] = {
      {2, 1, 5, 4, 1, 2, QImage::Format_ARGB32, false},   // inside
      {0, 0, 8, 8, -3, -2, QImage::Format_ARGB32, false}, // source starts before its bitmap
      {1, 2, 7, 6, 3, 4, QImage::Format_RGB32, false},    // and runs past its end
      {0, 0, 8, 8, 0, 0, QImage::Format_RGB32, true},     // clipped destination
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(testing::Message() << c.X << "," << c.Y << " from " << c.SrcX << "," << c.SrcY);
    TSurface src(6, 6, QImage::Format_ARGB32), dst(8, 8, c.DestFormat, 0xFF101010);
    for (int y = 0; y < 6; ++y)
      for (int x = 0; x < 6; ++x) src.Put(x, y, 0x40000000u | uint32_t(x * 40) << 16 | uint32_t(y * 40));
    const QRect clip(2, 3, 4, 3);
    if (c.Clip) IntersectClipRect(dst.DC, clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1);
    ASSERT_TRUE(BitBlt(dst.DC, c.X, c.Y, c.W, c.H, src.DC, c.SrcX, c.SrcY, SRCCOPY));
    const bool keepAlpha = c.DestFormat != QImage::Format_RGB32;
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        const int sx = x - c.X + c.SrcX, sy = y - c.Y + c.SrcY;
        const bool inside = x >= c.X && x < c.X + c.W && y >= c.Y && y < c.Y + c.H && sx >= 0 && sy >= 0 &&
                            sx < 6 && sy < 6 && (!c.Clip || clip.contains(x, y));
        const uint32_t want = inside ? (keepAlpha ? src.Raw(sx, sy) : src.Raw(sx, sy) | 0xFF000000u) : 0xFF101010u;
        ASSERT_EQ(dst.Raw(x, y), want) << x << "," << y;
      }
    // Blending reads the same pixels.
    TSurface blended(8, 8, c.DestFormat, 0xFF101010);
    if (c.Clip) IntersectClipRect(blended.DC, clip.left(), clip.top(), clip.right() + 1, clip.bottom() + 1);
    if (c.SrcX >= 0 && c.SrcY >= 0 && c.SrcX + c.W <= 6 && c.SrcY + c.H <= 6) {
      BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
      ASSERT_TRUE(AlphaBlend(blended.DC, c.X, c.Y, c.W, c.H, src.DC, c.SrcX, c.SrcY, c.W, c.H, bf));
      const int x = c.X + 1, y = c.Y + 1;
      const uint32_t s = src.Raw(x - c.X + c.SrcX, y - c.Y + c.SrcY);
      if (!c.Clip || clip.contains(x, y))
        EXPECT_EQ(blended.Rgb(x, y), (s + 0x0C0C0C) & 0xFFFFFF) << "a quarter-opaque pixel over dark grey";
    }
  }
}

TEST(GdiRaster, GradientFillEndsOnItsColoursAndHandlesOnePixel) {
  TSurface s(5, 3);
  TRIVERTEX v[2];
  v[0] = {0, 0, 0xFF00, 0, 0, 0};
  v[1] = {5, 2, 0, 0, 0xFF00, 0};
  GRADIENT_RECT r{0, 1};
  ASSERT_TRUE(GradientFill(s.DC, v, 2, &r, 1, GRADIENT_FILL_RECT_H));
  EXPECT_EQ(s.Rgb(0, 0), 0xFF0000u);
  EXPECT_EQ(s.Rgb(4, 1), 0x0000FFu);
  EXPECT_EQ(s.Rgb(2, 0), 0x7F007Fu);
  EXPECT_EQ(s.Rgb(2, 2), 0xFFFFFFu) << "bottom edge excluded";
  // A one-pixel rectangle takes the first colour, in either direction.
  for (ULONG mode : {GRADIENT_FILL_RECT_H, GRADIENT_FILL_RECT_V}) {
    TSurface one(1, 1);
    TRIVERTEX w[2] = {{0, 0, 0x1200, 0x3400, 0x5600, 0}, {1, 1, 0xFF00, 0xFF00, 0xFF00, 0}};
    ASSERT_TRUE(GradientFill(one.DC, w, 2, &r, 1, mode));
    EXPECT_EQ(one.Rgb(0, 0), 0x123456u);
  }
}

TEST(GdiRaster, DibRowsRoundTripAtEveryDepth) {
  // Colours that every depth holds exactly: black, white and the classic primaries.
  const uint32_t colours[] = {0x000000, 0xFFFFFF, 0xFF0000, 0x00FF00, 0x0000FF, 0x808080};
  const struct {
    WORD Bits;
    int Count;  // how many of the colours survive
  } depths[] = {{1, 2}, {4, 6}, {8, 6}, {16, 5}, {24, 6}, {32, 6}};
  for (auto d : depths) {
    TSurface s(6, 2);
    for (int x = 0; x < 6; ++x) {
      s.Put(x, 0, 0xFF000000u | colours[x]);
      s.Put(x, 1, 0xFF000000u | colours[5 - x]);
    }
    BITMAPINFO bi;
    bi.bmiHeader.biWidth = 6;
    bi.bmiHeader.biHeight = 2;  // bottom-up
    bi.bmiHeader.biBitCount = d.Bits;
    std::vector<uint8_t> bits(size_t(DibStride(6, d.Bits) * 2));
    ASSERT_EQ(GetDIBits(s.DC, s.Bitmap, 0, 2, bits.data(), &bi, DIB_RGB_COLORS), 2);
    TSurface back(6, 2, QImage::Format_RGB32, 0xFF7F7F7F);
    SelectObject(back.DC, back.Old);
    ASSERT_EQ(SetDIBits(nullptr, back.Bitmap, 0, 2, bits.data(), &bi, DIB_RGB_COLORS), 2);
    SelectObject(back.DC, back.Bitmap);
    for (int x = 0; x < d.Count; ++x) {
      EXPECT_EQ(back.Rgb(x, 0), colours[x]) << d.Bits << " bits, pixel " << x;
      EXPECT_EQ(back.Rgb(5 - x, 1), colours[x]) << d.Bits << " bits, row 1";
    }
  }
  // The first DIB row of a bottom-up bitmap is the bottom row.
  TSurface s(1, 2);
  s.Put(0, 1, 0xFF0000FF);
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = 1;
  bi.bmiHeader.biHeight = 2;
  bi.bmiHeader.biBitCount = 24;
  uint8_t bits[8] = {};
  GetDIBits(s.DC, s.Bitmap, 0, 2, bits, &bi, DIB_RGB_COLORS);
  EXPECT_EQ(bits[0], 0xFF);
  EXPECT_EQ(bits[4] | bits[5] | bits[6], 0xFF);
  // A 32-bit top-down section shares its memory with what is drawn.
  void* mem = nullptr;
  BITMAPINFO sec;
  sec.bmiHeader.biWidth = 3;
  sec.bmiHeader.biHeight = -2;
  sec.bmiHeader.biBitCount = 32;
  HBITMAP h = CreateDIBSection(nullptr, &sec, DIB_RGB_COLORS, &mem, nullptr, 0);
  ASSERT_TRUE(h && mem);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, h);
  SetPixel(dc, 2, 1, RGB(1, 2, 3));
  EXPECT_EQ(static_cast<uint32_t*>(mem)[5] & 0xFFFFFF, 0x010203u);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(h);
}

TEST(GdiRaster, DrawTextMeasuresBreaksAndShortens) {
  TSurface s(200, 60);
  LOGFONT lf;
  lf.lfHeight = -12;
  std::strcpy(lf.lfFaceName, "DejaVu Sans");
  HFONT font = CreateFontIndirect(&lf);
  SelectObject(s.DC, font);
  TEXTMETRIC tm;
  GetTextMetrics(s.DC, &tm);
  SIZE one, two;
  GetTextExtentPoint32(s.DC, "Hello", &one);
  GetTextExtentPoint32(s.DC, "Hello world", &two);

  struct TCase {
    const char* Text;
    int Width;
    UINT Flags;
    int Lines;
    int Right;  // -1: not checked
  };
  const TCase cases[] = {
      {"Hello", 1000, DT_SINGLELINE, 1, int(one.cx)},
      {"Hello world", int(one.cx) + 2, DT_WORDBREAK, 2, -1},
      {"Hello world", 1000, DT_WORDBREAK, 1, int(two.cx)},
      {"a\nb\r\nc", 1000, 0, 3, -1},
      {"a\nb", 1000, DT_SINGLELINE, 1, -1},
      {"&Hello", 1000, DT_SINGLELINE, 1, int(one.cx)},
      {"&&", 1000, DT_SINGLELINE | DT_NOPREFIX, 1, -1},
      {"", 1000, DT_SINGLELINE, 1, 0},
  };
  for (const TCase& c : cases) {
    RECT r{0, 0, c.Width, 0};
    int h = DrawText(s.DC, c.Text, -1, &r, c.Flags | DT_CALCRECT);
    EXPECT_EQ(h, c.Lines * tm.tmHeight) << c.Text;
    EXPECT_EQ(r.bottom, c.Lines * tm.tmHeight) << c.Text;
    if (c.Right >= 0) EXPECT_EQ(r.right, c.Right) << c.Text;
  }
  // A word longer than the line breaks inside only for edit controls.
  RECT narrow{0, 0, 10, 0};
  EXPECT_EQ(DrawText(s.DC, "Hello", -1, &narrow, DT_WORDBREAK | DT_CALCRECT), tm.tmHeight);
  narrow = {0, 0, 10, 0};
  EXPECT_GT(DrawText(s.DC, "Hello", -1, &narrow, DT_WORDBREAK | DT_EDITCONTROL | DT_CALCRECT), tm.tmHeight);
  // Ellipses with the modified text handed back.
  std::string text = "Hello wonderful world";
  RECT r{0, 0, int(two.cx) / 2, 20};
  DrawText(s.DC, &text, -1, &r, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT);
  EXPECT_TRUE(text.ends_with("...")) << text;
  EXPECT_LE(r.right, int(two.cx) / 2);
  std::string path = "C:\\folder\\deeper\\file.wav";
  SIZE tail;
  GetTextExtentPoint32(s.DC, "...\\file.wav", &tail);
  r = {0, 0, int(tail.cx) + 1, 20};
  DrawText(s.DC, &path, -1, &r, DT_SINGLELINE | DT_PATH_ELLIPSIS | DT_MODIFYSTRING | DT_CALCRECT);
  EXPECT_TRUE(path.ends_with("...\\file.wav")) << path;
  // Drawing right-aligned and vertically centred leaves the left half and the edges blank.
  SetBkMode(s.DC, TRANSPARENT);
  RECT box{0, 0, 200, 60};
  DrawText(s.DC, "Hello", -1, &box, DT_SINGLELINE | DT_RIGHT | DT_VCENTER);
  int inked = 0, leftInk = 0;
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 200; ++x)
      if (s.Rgb(x, y) != 0xFFFFFF) {
        ++inked;
        if (x < 100) ++leftInk;
        EXPECT_GE(y, (60 - tm.tmHeight) / 2);
        EXPECT_LT(y, (60 + tm.tmHeight) / 2 + 1);
      }
  EXPECT_GT(inked, 10);
  EXPECT_EQ(leftInk, 0);
  DeleteObject(SelectObject(s.DC, GetStockObject(SYSTEM_FONT)));
}

TEST(GdiRaster, EdgesUseTheClassicColoursAndWriteASheet) {
  TSurface s(10, 10);
  RECT r{0, 0, 10, 10};
  DrawEdge(s.DC, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST | BF_MIDDLE);
  EXPECT_EQ(r.left, 2);
  EXPECT_EQ(r.bottom, 8);
  auto sys = [](int i) {
    COLORREF c = GetSysColor(i);
    return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
  };
  EXPECT_EQ(s.Rgb(0, 5), sys(COLOR_BTNSHADOW));
  EXPECT_EQ(s.Rgb(9, 5), sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(s.Rgb(1, 5), sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(s.Rgb(8, 5), sys(COLOR_3DLIGHT));
  EXPECT_EQ(s.Rgb(9, 0), sys(COLOR_BTNHIGHLIGHT)) << "the right edge owns the corner";
  EXPECT_EQ(s.Rgb(5, 5), sys(COLOR_BTNFACE));

  // The sheet: edges, a gradient, a blended square, hatch patterns and text.
  TSurface sheet(240, 120);
  RECT a{4, 4, 44, 44};
  DrawEdge(sheet.DC, &a, EDGE_RAISED, BF_RECT | BF_MIDDLE);
  RECT b{50, 4, 90, 44};
  DrawEdge(sheet.DC, &b, EDGE_ETCHED, BF_RECT);
  TRIVERTEX v[2] = {{100, 4, 0xFF00, 0x8000, 0, 0}, {230, 44, 0, 0x4000, 0xFF00, 0}};
  GRADIENT_RECT gr{0, 1};
  GradientFill(sheet.DC, v, 2, &gr, 1, GRADIENT_FILL_RECT_H);
  HBRUSH hatch = CreateHatchBrush(HS_DIAGCROSS, RGB(0, 0, 160));
  HGDIOBJ old = SelectObject(sheet.DC, hatch);
  PatBlt(sheet.DC, 4, 50, 60, 30, PATCOPY);
  SelectObject(sheet.DC, old);
  DeleteObject(hatch);
  TSurface glass(40, 30, QImage::Format_ARGB32, 0x80800000);
  BLENDFUNCTION bf{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  AlphaBlend(sheet.DC, 40, 60, 40, 30, glass.DC, 0, 0, 40, 30, bf);
  RECT t{100, 50, 230, 115};
  SetBkMode(sheet.DC, TRANSPARENT);
  DrawText(sheet.DC, "Word-broken text with a &prefix, centred in its box", -1, &t,
           DT_WORDBREAK | DT_CENTER);
  auto path = SheetDir() / "gdi-raster.png";
  ASSERT_TRUE(sheet.Image().save(QString::fromStdString(path.string())));
}

// Every binary raster operation of a pen, on a line over a known background.
TEST(GdiRaster, PenRasterOperations) {
  const uint32_t pen = 0x3C5AF0, dest = 0x6B19E2;
  const struct {
    int Rop2;
    uint32_t Want;
  } cases[] = {
      {R2_BLACK, 0},
      {R2_NOTMERGEPEN, ~(pen | dest)},
      {R2_MASKNOTPEN, ~pen & dest},
      {R2_NOTCOPYPEN, ~pen},
      {R2_MASKPENNOT, pen & ~dest},
      {R2_NOT, ~dest},
      {R2_XORPEN, pen ^ dest},
      {R2_NOTMASKPEN, ~(pen & dest)},
      {R2_MASKPEN, pen & dest},
      {R2_NOTXORPEN, ~(pen ^ dest)},
      {R2_NOP, dest},
      {R2_MERGENOTPEN, ~pen | dest},
      {R2_COPYPEN, pen},
      {R2_MERGEPENNOT, pen | ~dest},
      {R2_MERGEPEN, pen | dest},
      {R2_WHITE, 0xFFFFFF},
  };
  for (const auto& c : cases) {
    TSurface s(4, 1, QImage::Format_RGB32, 0xFF000000u | dest);
    HPEN h = CreatePen(PS_SOLID, 1, RGB(pen >> 16, (pen >> 8) & 0xFF, pen & 0xFF));
    HGDIOBJ old = SelectObject(s.DC, h);
    SetROP2(s.DC, c.Rop2);
    MoveToEx(s.DC, 0, 0, nullptr);
    LineTo(s.DC, 3, 0);
    EXPECT_EQ(s.Rgb(1, 0), c.Want & 0xFFFFFF) << "rop2 " << c.Rop2;
    EXPECT_EQ(s.Rgb(3, 0), dest) << "the last pixel is left out";
    SelectObject(s.DC, old);
    DeleteObject(h);
  }
}
