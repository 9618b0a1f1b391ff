// The suite canvas, regions, graphics routines and bitmaps, read back from the pixels drawn and
// the bytes streamed.
#include <gtest/gtest.h>

#include <QImage>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <vector>

#include "common/TestEnv.h"
#include "platform/rtl/Streams.h"
#include "platform/win/DeviceContext.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxCore.h"
#include "suite/core/VisualStyleState.h"
#include "suite/core/dxThemeManager.h"

namespace {

uint32_t PixelRgb(TBitmap* b, int x, int y) { return b->ToImage().pixel(x, y) & 0xFFFFFF; }
uint32_t Rgb(TColor c) {
  uint32_t v = uint32_t(ColorToRGB(c));
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

std::unique_ptr<TBitmap> WhiteBitmap(int w, int h) {
  auto b = std::make_unique<TBitmap>();
  b->SetSize(w, h);
  return b;
}

using sonalix::test::SheetDir;

std::vector<uint8_t> Bytes(TMemoryStream& s) {
  const auto* p = static_cast<const uint8_t*>(s.Memory());
  return std::vector<uint8_t>(p, p + s.Size());
}

}  // namespace

TEST(CxRegion, CombineOffsetCompare) {
  std::unique_ptr<TcxRegion> a(TcxRegion::CreateFromBounds(0, 0, 10, 10));
  std::unique_ptr<TcxRegion> e1(TcxRegion::CreateEmpty()), e2(TcxRegion::CreateFromBounds(5, 5, 5, 9));
  EXPECT_FALSE(a->IsEqual(nullptr));
  EXPECT_TRUE(e1->IsEqual(e2.get())) << "two empty regions are equal";
  EXPECT_TRUE(e1->IsEmpty());
  struct TCase {
    TcxRegionOperation Op;
    POINT Inside, Outside;
  };
  const TCase cases[] = {
      {RegionUnion, {12, 12}, {20, 0}},
      {RegionDifference, {2, 2}, {7, 7}},
      {RegionIntersection, {7, 7}, {2, 2}},
      {RegionCopy, {12, 12}, {2, 2}},
  };
  for (const TCase& c : cases) {
    std::unique_ptr<TcxRegion> r(TcxRegion::CreateFromBounds(0, 0, 10, 10));
    r->CombineWith(TcxRegion::CreateFromBounds(5, 5, 15, 15), c.Op, true);
    EXPECT_TRUE(PtInRegion(r->Handle(), c.Inside.x, c.Inside.y)) << int(c.Op);
    EXPECT_FALSE(PtInRegion(r->Handle(), c.Outside.x, c.Outside.y)) << int(c.Op);
  }
  std::unique_ptr<TcxRegion> other(TcxRegion::CreateFromBounds(5, 5, 15, 15));
  a->OffsetByPoint({5, 5});
  EXPECT_TRUE(a->IsEqual(other.get()));
  EXPECT_TRUE(a->IsEqualToHandle(other->Handle()));
  std::unique_ptr<TcxRegion> kept(TcxRegion::CreateFromBounds(0, 0, 1, 1));
  a->CombineWith(kept.get(), RegionUnion, false);
  EXPECT_NE(GetObjectType(kept->Handle()), 0u) << "kept when not to be destroyed";
}

TEST(CxCanvas, FillsTilesFramesAndColours) {
  auto bmp = WhiteBitmap(20, 10);
  TcxCanvas c(bmp->Canvas());
  c.SetBrushColor(clRed);
  c.FillRectWithColor(TRect(0, 0, 20, 10), clNone);
  EXPECT_EQ(PixelRgb(bmp.get(), 3, 3), 0xFFFFFFu) << "clNone draws nothing";
  c.FillRectWithColor(TRect(0, 0, 2, 2), clDefault);
  EXPECT_EQ(PixelRgb(bmp.get(), 1, 1), 0xFF0000u) << "clDefault keeps the brush";
  c.CurrentBrush()->SetStyle(bsClear);
  c.SetBrushColor(clRed);
  EXPECT_EQ(c.CurrentBrush()->Style(), bsSolid) << "a clear brush becomes solid again";

  // Tiles at multiples of the tile size, also with a negative origin.
  TBitmap tile;
  tile.SetSize(4, 3);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) tile.Canvas()->SetPixel(x, y, TColor(RGB(BYTE(x * 60), BYTE(y * 100), 7)));
  for (int org : {0, 5, 6}) {
    auto target = WhiteBitmap(20, 10);
    TcxCanvas t(target->Canvas());
    t.ApplyWindowOrigin({-org, -org});  // canvas coordinate -org is pixel 0
    t.FillRectTiled(TRect(-org, -org, 8, 6), &tile, false);
    for (int py = 0; py < 10; ++py)
      for (int px = 0; px < 20; ++px) {
        int lx = px - org, ly = py - org;
        bool inside = lx < 8 && ly < 6;
        uint32_t want = inside ? Rgb(TColor(RGB(BYTE(((lx % 4) + 4) % 4 * 60), BYTE(((ly % 3) + 3) % 3 * 100), 7)))
                               : 0xFFFFFFu;
        ASSERT_EQ(PixelRgb(target.get(), px, py), want) << "origin " << org << " at " << px << "," << py;
      }
  }

  // Edge frames in the classic colours, right and bottom over the corners they share.
  struct TEdge {
    bool Sunken, Outer;
    TColor LeftTop, RightBottom;
  };
  const TEdge edges[] = {{true, true, clBtnShadow, clBtnHighlight},
                         {true, false, cl3DDkShadow, cl3DLight},
                         {false, true, cl3DLight, cl3DDkShadow},
                         {false, false, clBtnHighlight, clBtnShadow}};
  for (const TEdge& e : edges) {
    auto f = WhiteBitmap(6, 6);
    TcxCanvas fc(f->Canvas());
    fc.DrawEdgeFrame(TRect(0, 0, 6, 6), e.Sunken, e.Outer, cxBordersAll);
    EXPECT_EQ(PixelRgb(f.get(), 0, 3), Rgb(e.LeftTop));
    EXPECT_EQ(PixelRgb(f.get(), 3, 0), Rgb(e.LeftTop));
    EXPECT_EQ(PixelRgb(f.get(), 5, 3), Rgb(e.RightBottom));
    EXPECT_EQ(PixelRgb(f.get(), 5, 0), Rgb(e.RightBottom));
    EXPECT_EQ(PixelRgb(f.get(), 0, 5), Rgb(e.RightBottom));
    EXPECT_EQ(PixelRgb(f.get(), 2, 2), 0xFFFFFFu);
  }
  // Inversion leaves the copy mode at SRCCOPY.
  auto inv = WhiteBitmap(4, 4);
  TcxCanvas ic(inv->Canvas());
  ic.SetCopyMode(SRCAND);
  ic.InvertRect(TRect(1, 1, 3, 3));
  EXPECT_EQ(PixelRgb(inv.get(), 1, 1), 0u);
  EXPECT_EQ(PixelRgb(inv.get(), 0, 0), 0xFFFFFFu);
  EXPECT_EQ(ic.CopyMode(), int(SRCCOPY));
}

TEST(CxCanvas, ClipRegionsAndStateStacks) {
  auto bmp = WhiteBitmap(40, 40);
  TcxCanvas c(bmp->Canvas());
  std::unique_ptr<TcxRegion> clip(c.CurrentClipRegion());
  RECT box;
  GetRgnBox(clip->Handle(), &box);
  EXPECT_EQ(TRect(box), TRect(0, 0, 30000, 30000)) << "no clip region";

  c.ApplyWindowOrigin({-10, -10});
  c.PushDCState();
  c.PushClipRegion();
  c.ApplyClipRegion(TcxRegion::CreateFromBounds(0, 0, 5, 5), RegionDifference);
  std::unique_ptr<TcxRegion> now(c.CurrentClipRegion());
  EXPECT_FALSE(PtInRegion(now->Handle(), 2, 2)) << "in canvas coordinates";
  EXPECT_TRUE(PtInRegion(now->Handle(), 6, 2));
  c.FillRectWithColor(TRect(0, 0, 10, 10), clBlue);
  EXPECT_EQ(PixelRgb(bmp.get(), 12, 12), 0xFFFFFFu) << "excluded";
  EXPECT_EQ(PixelRgb(bmp.get(), 17, 12), 0x0000FFu);
  c.PopClipRegion();
  c.FillRectWithColor(TRect(0, 0, 5, 5), clRed);
  EXPECT_EQ(PixelRgb(bmp.get(), 12, 12), 0xFF0000u) << "restored clip";
  c.ApplyWindowOrigin({0, 0});
  c.PopDCState();
  EXPECT_EQ(c.WindowOrigin(), TPoint(-10, -10)) << "origin of the saved state";
  EXPECT_EQ(c.DCOrigin(), TPoint(10, 10));
  c.PopDCState();
  c.PopClipRegion();
  c.PopDrawingState();
  EXPECT_EQ(c.DCStateDepth(), 0) << "empty stacks are ignored";

  // Drawing state: objects of the context are read back after a pop.
  c.SetBrushColor(clLime);
  c.CurrentPen()->SetColor(clMaroon);
  c.MovePenTo(0, 0);
  c.PushDrawingState();
  c.SetBrushColor(clYellow);
  c.CurrentPen()->SetColor(clNavy);
  c.PopDrawingState();
  EXPECT_EQ(c.CurrentBrush()->Color(), clLime);
  EXPECT_EQ(c.CurrentPen()->Color(), clMaroon);

  // The paint canvas borrows contexts and canvases and gives them back.
  TcxPaintCanvas* paint = SharedPaintCanvas();
  ASSERT_NE(paint, nullptr);
  auto other = WhiteBitmap(10, 10);
  HDC dc = other->Canvas()->Handle();
  paint->PushTargetDC(dc);
  paint->PushTargetCanvas(bmp->Canvas());
  EXPECT_EQ(paint->Canvas(), bmp->Canvas());
  paint->PopTarget();
  paint->FillRectWithColor(TRect(0, 0, 3, 3), clRed);
  EXPECT_EQ(PixelRgb(other.get(), 1, 1), 0xFF0000u);
  paint->PopTarget();
  paint->PopTarget();
  EXPECT_EQ(paint->Depth(), 0);
  EXPECT_EQ(paint->Canvas(), nullptr);
}

TEST(CxCanvas, AlignedAndDisabledTextAndASheet) {
  auto bmp = WhiteBitmap(200, 120);
  TcxCanvas c(bmp->Canvas());
  c.FillRectWithColor(TRect(0, 0, 200, 120), clBtnFace);
  c.CurrentFont()->SetName("DejaVu Sans");
  c.CurrentFont()->SetHeight(-14);
  c.CurrentBrush()->SetStyle(bsClear);
  c.DrawAlignedText("Disabled", TRect(0, 0, 200, 30), TextSingleLine | TextAlignHCenter | TextAlignVCenter, false);
  int shadow = 0, light = 0, paired = 0;
  const uint32_t kShadow = Rgb(clBtnShadow), kLight = Rgb(clBtnHighlight);
  for (int y = 1; y < 30; ++y)
    for (int x = 1; x < 200; ++x) {
      uint32_t p = PixelRgb(bmp.get(), x, y);
      if (p == kShadow) ++shadow;
      if (p == kLight) {
        ++light;
        if (PixelRgb(bmp.get(), x - 1, y - 1) == kShadow) ++paired;
      }
    }
  EXPECT_GT(shadow, 20);
  EXPECT_GT(light, 5) << "the highlight copy shows below and right";
  EXPECT_GT(paired, 5);
  EXPECT_EQ(c.CurrentFont()->Color(), clWindowText) << "font colour put back";
  EXPECT_EQ(c.CurrentBrush()->Style(), bsClear);

  // Measured rectangles move inside the given one by the alignment.
  TRect r(0, 0, 200, 100);
  c.MeasureTextInRect("Wg", r, TextAlignRight | TextAlignBottom | TextSingleLine);
  TSize size;
  c.MeasureText("Wg", size);
  EXPECT_EQ(r, TRect(200 - size.cx, 100 - size.cy, 200, 100));

  c.CurrentFont()->SetColor(clNavy);
  c.DrawAlignedText("Right aligned, bottom", TRect(0, 30, 195, 60), TextSingleLine | TextAlignRight | TextAlignBottom);
  c.DrawTextInRect("Word wrapped text that needs two lines or more", TRect(5, 60, 120, 118),
                   TextWordBreak | TextAlignVCenter, true, raNone);
  c.DrawTextInRect("Turned", TRect(150, 60, 180, 118), TextSingleLine, true, raPlus90);
  ASSERT_TRUE(bmp->ToImage().save(QString::fromStdString((SheetDir() / "cx-canvas.png").string())));
}

TEST(CxGraphics, TextFlagsMeasuringAndShortening) {
  struct TFlagCase {
    TcxTextFlags Flags;
    UINT Want;
  };
  const TFlagCase flags[] = {
      {0, DT_NOPREFIX},
      {TextAlignLeft | TextAlignTop, DT_NOPREFIX},
      {TextAlignRight | TextAlignBottom | TextSingleLine, DT_NOPREFIX | DT_RIGHT | DT_BOTTOM | DT_SINGLELINE},
      {TextAlignHCenter | TextAlignVCenter | TextDontClip | TextExpandTabs,
       DT_NOPREFIX | DT_CENTER | DT_VCENTER | DT_NOCLIP | DT_EXPANDTABS},
      {TextShowPrefix, 0},
      {TextWordBreak, DT_NOPREFIX | DT_WORDBREAK | DT_EDITCONTROL},
      {TextWordBreak | TextNoEditControlBreak, DT_NOPREFIX | DT_WORDBREAK},
      {TextWordBreak | TextNoEditControlBreak | TextNoFullWidthCharBreak,
       DT_NOPREFIX | DT_WORDBREAK | DT_NOFULLWIDTHCHARBREAK},
      {TextNoFullWidthCharBreak, DT_NOPREFIX},
      {TextShowEndEllipsis | TextCalcRect | TextShowPathEllipsis,
       DT_NOPREFIX | DT_END_ELLIPSIS | DT_CALCRECT | DT_PATH_ELLIPSIS},
  };
  for (const TFlagCase& f : flags) EXPECT_EQ(TextFlagsToDrawTextFlags(f.Flags), f.Want) << std::hex << f.Flags;

  auto bmp = WhiteBitmap(10, 10);
  TCanvas* canvas = bmp->Canvas();
  canvas->Font()->SetName("DejaVu Sans");
  canvas->Font()->SetHeight(-12);
  canvas->TextExtent("");
  HDC dc = canvas->Handle();
  const std::string text = "alpha beta gamma delta";
  TRect one;
  CalcTextRectForLines(dc, text, 1, false, one);
  TRect any;
  CalcTextRectForLines(dc, text, 0, false, any);
  SIZE widest{0, 0};
  for (const char* word : {"alpha", "beta", "gamma", "delta"}) {
    SIZE w;
    GetTextExtentPoint32(dc, word, &w);
    widest.cx = std::max(widest.cx, w.cx);
  }
  EXPECT_LE(any.Width(), int(widest.cx) + 1) << "32000 pixels of height: the narrowest width";
  TRect two;
  CalcTextRectForLines(dc, text, 2, true, two);
  EXPECT_LT(two.Width(), one.Width());
  EXPECT_GT(two.Width(), one.Width() / 3);
  EXPECT_EQ(two.Bottom, 2 * DCFontHeight(dc)) << "full height";
  EXPECT_EQ(MeasureTextSize(dc, text).cx, one.Width());

  std::string shortened = "x";
  ShortenTextToWidth(dc, nullptr, text, 0, EllipsisEnd, shortened);
  EXPECT_EQ(shortened, "");
  ShortenTextToWidth(dc, nullptr, text, one.Width() / 2, EllipsisEnd, shortened);
  EXPECT_TRUE(shortened.ends_with("...") && shortened.size() < text.size()) << shortened;
  ShortenTextToWidth(nullptr, canvas->Font(), "/a/very/long/path/to/file.wav", 90, EllipsisPath, shortened);
  EXPECT_TRUE(shortened.ends_with(".../file.wav")) << shortened;

  std::vector<std::string> lines;
  WrapTextToLines("one two three\r\n\r\nfour", canvas, TRect(0, 0, MeasureTextSize(dc, "one two").cx, 10), lines);
  EXPECT_EQ(lines, (std::vector<std::string>{"one two", "three", "four"}));
}

TEST(CxGraphics, ColoursAndNamedColours) {
  struct TName {
    const char* Name;
    bool Found;
    TColor Color;
  };
  const TName names[] = {{"NAVY", true, 0x800000},           {"threedface", true, clBtnFace},
                         {"LightGrey", true, 0xD3D3D3},      {"orange", true, 0x00A5FF},
                         {"mediumpurple", true, 0xDB7093},   {"windowtext", true, clWindowText},
                         {"lightgray", false, 0},            {"unknown", false, 0}};
  for (const TName& n : names) {
    TColor c = -1;
    EXPECT_EQ(FindNamedWebColor(n.Name, c), n.Found) << n.Name;
    if (n.Found) EXPECT_EQ(c, n.Color) << n.Name;
  }
  EXPECT_EQ(NamedWebColors().size(), 169u);
  EXPECT_EQ(ClampChannel(-3), 0);
  EXPECT_EQ(ClampChannel(300), 255);
  EXPECT_EQ(ClampChannel(77), 77);

  // A white button face (high contrast) gives the highlight unchanged.
  COLORREF saved = GetSysColor(COLOR_BTNFACE);
  int index = COLOR_BTNFACE;
  COLORREF white = RGB(255, 255, 255);
  SetSysColors(1, &index, &white);
  EXPECT_EQ(MixSystemColors(14, 44, 40), clHighlight);
  SetSysColors(1, &index, &saved);
  TColor mix = MixSystemColors(50, 0, 50);
  EXPECT_EQ(mix, TColor(RGB(BYTE(MulDiv(212, 50, 100) + 128), BYTE(MulDiv(208, 50, 100) + 128), BYTE(100 + 128))));
  EXPECT_FALSE(PrefersLastCharOfDayName(134, "Mon"));
  EXPECT_TRUE(PrefersLastCharOfDayName(134, "\xE6\x98\x9F"));
  EXPECT_FALSE(PrefersLastCharOfDayName(DEFAULT_CHARSET, "\xE6\x98\x9F"));
}

TEST(CxBitmap, SizesRotationsAndFormats) {
  TcxBitmap b;
  b.SetSize(-5, 10);
  EXPECT_EQ(b.Width(), 0);
  EXPECT_EQ(b.Height(), 10);

  // A 2 x 3 bitmap with distinct pixels, turned every way.
  auto source = [] {
    auto s = std::make_unique<TcxBitmap32>(2, 3);
    for (int r = 0; r < 3; ++r)
      for (int n = 0; n < 2; ++n) s->Canvas()->SetPixel(n, r, TColor(RGB(BYTE(n * 100 + 1), BYTE(r * 50 + 1), 0)));
    return s;
  };
  struct TTurn {
    TcxRotationAngle Rotation;
    bool Mirror;
    int W, H;
    int (*X)(int n, int r);
    int (*Y)(int n, int r);
  };
  const TTurn turns[] = {
      {raNone, true, 2, 3, [](int n, int) { return n; }, [](int, int r) { return 2 - r; }},
      {raPlus90, false, 3, 2, [](int, int r) { return r; }, [](int n, int) { return 1 - n; }},
      {raPlus90, true, 3, 2, [](int, int r) { return r; }, [](int n, int) { return n; }},
      {raMinus90, false, 3, 2, [](int, int r) { return 2 - r; }, [](int n, int) { return n; }},
      {raMinus90, true, 3, 2, [](int, int r) { return 2 - r; }, [](int n, int) { return 1 - n; }},
      {ra180, false, 2, 3, [](int n, int) { return 1 - n; }, [](int, int r) { return 2 - r; }},
      {ra180, true, 2, 3, [](int n, int) { return 1 - n; }, [](int, int r) { return r; }},
  };
  for (const TTurn& t : turns) {
    auto s = source();
    s->RotateFlip(t.Rotation, t.Mirror);
    ASSERT_EQ(s->Width(), t.W);
    ASSERT_EQ(s->Height(), t.H);
    for (int r = 0; r < 3; ++r)
      for (int n = 0; n < 2; ++n)
        EXPECT_EQ(s->Canvas()->Pixel(t.X(n, r), t.Y(n, r)), TColor(RGB(BYTE(n * 100 + 1), BYTE(r * 50 + 1), 0)))
            << int(t.Rotation) << (t.Mirror ? " mirrored" : "") << " pixel " << n << "," << r;
  }

  TcxBitmap32 b32(3, 2, true);
  std::vector<uint32_t> colors;
  b32.GetColors(colors);
  EXPECT_EQ(colors, std::vector<uint32_t>(6, 0u)) << "cleared: every byte 0";
  colors[0] = 0x80112233;  // bottom-left
  b32.SetColors(colors);
  EXPECT_EQ(b32.ToImage().pixel(0, 1), 0x80112233u);
  b32.MakeOpaque();
  b32.GetColors(colors);
  EXPECT_EQ(colors[0], 0xFF112233u);
  EXPECT_THROW(b32.SetPixelFormat(pf24bit), EdxException);
  b32.BeginUpdate();
  b32.SetPixelFormat(pf8bit);
  b32.SetPixelFormat(pf32bit);
  EXPECT_NO_THROW(b32.EndUpdate(true)) << "checked once the batch ends";
}

TEST(CxBitmap, AlphaPixelOperations) {
  TcxAlphaBitmap zero(2, 0x00FF00FFu, 2);
  zero.ClearBits();
  std::vector<uint32_t> c;
  zero.GetColors(c);
  EXPECT_EQ(c, std::vector<uint32_t>(4, 0u)) << "background without alpha: all zero";

  struct TOp {
    TcxPixelOperation Op;
    uint32_t In, Out;
  };
  const TOp ops[] = {
      {poLighten, 0xFF000000, 0xFF4D4D4D},  // c + MulDiv(255 - c, 3, 10), rounded
      {poLighten, 0x80FF0000, 0x64C80000},  // scaled by 200 / 255
      {poGrayMean, 0xFF0A141E, 0xFF141414},
      {poGray, 0xFFFF0000, 0xFF4C4C4C},     // 0.299 * 255 = 76.2
      {poGrayGreen, 0xFF00FF00, 0xFFB6B6B6},  // 0.7146 * 255 = 182.2
      {poMakeOpaque, 0x00123456, 0xFF123456},
      {poRestoreAlpha, 0x00123456, 0xFF123456},
      {poRestoreAlpha, 0x10123456, 0x10123456},
      {poMakeTransparent, 0xFF123456, 0x00123456},
      {poMask, 0xFF123456, 0x00000000},
      {poMask, 0x01020304, 0xFFFFFFFF},  // the background colour
      {poLighten, 0x01020304, 0x01020304},  // transparent pixels are left alone
      {poFillBackground, 0xFF123456, 0x01020304},
  };
  for (const TOp& o : ops) {
    TcxAlphaBitmap a(1, 0x01020304u, 1);
    std::vector<uint32_t> px{o.In};
    a.SetColors(px);
    a.RunPixelOperation(o.Op);
    a.GetColors(px);
    EXPECT_EQ(px[0], o.Out) << "operation " << int(o.Op) << " on " << std::hex << o.In;
  }
  // Listed colours count as transparent whatever their alpha.
  TcxAlphaBitmap listed(1, 0u, 1);
  listed.TransparentPixels()->AddColor(clRed);
  std::vector<uint32_t> red{0x40FF0000};
  listed.SetColors(red);
  listed.RunPixelOperation(poMask);
  listed.GetColors(red);
  EXPECT_EQ(red[0], 0xFFFFFFFFu);
  // Hatching alternates the two colours by cells of the step.
  TcxAlphaBitmap h(4, 0u, 2);
  std::vector<uint32_t> white(8, 0xFFFFFFFF);
  h.SetColors(white);
  h.Hatch(clRed, clBlue, 2, 255, 255);
  h.GetColors(white);
  EXPECT_EQ(white[0], 0xFFFF0000u);
  EXPECT_EQ(white[2], 0xFF0000FFu);
  uint32_t p = 0xFF000000;
  BlendPixel(p, 0xFFFFFFFF, 128);
  EXPECT_EQ(p, 0xFF808080u);
}

TEST(CxBitmap, CompressedStreamVectorsAndRoundTrips) {
  struct TVector {
    std::vector<uint8_t> Data;
    int Block;
    std::vector<uint8_t> Body;
  };
  const TVector vectors[] = {
      {{1, 1, 1, 2, 3, 4, 4}, 1, {1, 0, 0x03, 1, 0x82, 2, 3, 0x02, 4}},
      {{5}, 1, {1, 0, 0x81, 5}},
      {{9, 1, 2, 3, 1, 2, 3, 4, 5, 6}, 3, {3, 1, 9, 0x02, 1, 2, 3, 0x81, 4, 5, 6}},
      {{}, 4, {4, 0}},
  };
  for (const TVector& v : vectors) {
    EXPECT_EQ(CompressBitmapData(v.Data, v.Block), v.Body);
    EXPECT_EQ(ExpandBitmapData(v.Body.data(), v.Body.size(), 2), v.Data);
  }
  std::vector<uint8_t> ones(300, 7);
  std::vector<uint8_t> runs = CompressBitmapData(ones, 1);
  EXPECT_EQ(runs, (std::vector<uint8_t>{1, 0, 0x7D, 7, 0x7D, 7, 0x32, 7})) << "at most 125 a run";
  const uint8_t v1[] = {0x02, 'a', 0x81, 'b'};
  EXPECT_EQ(ExpandBitmapData(v1, 4, 1), (std::vector<uint8_t>{'a', 'a', 'b'}));

  // A one-colour 24-bit bitmap: header literal, pixel rows in full repeat runs.
  TcxBitmap solid;
  solid.SetPixelFormat(pf24bit);
  solid.SetSize(100, 4);
  solid.Canvas()->Brush()->SetColor(clTeal);
  solid.Canvas()->FillRect(TRect(0, 0, 100, 4));
  solid.SetCompressData(true);
  TMemoryStream packed;
  solid.WriteData(&packed);
  std::vector<uint8_t> bytes = Bytes(packed);
  ASSERT_GE(bytes.size(), 12u);
  EXPECT_EQ(std::string(bytes.begin() + 4, bytes.begin() + 8), "XDBM");
  EXPECT_EQ(bytes[8] | (bytes[9] << 8), 2);
  int32_t length;
  std::memcpy(&length, bytes.data(), 4);
  EXPECT_EQ(size_t(length), bytes.size() - 10);
  EXPECT_EQ(bytes[10], 3) << "block of 24 bits";
  int repeats = 0;
  for (size_t i = 0; i + 3 < bytes.size(); ++i)
    if (bytes[i] == 0x7D && bytes[i + 1] == 0x80 && bytes[i + 2] == 0x80 && bytes[i + 3] == 0x00) ++repeats;
  EXPECT_EQ(repeats, 3) << "400 pixels: three runs of 125 and one of 25";
  EXPECT_LT(bytes.size(), 120u);

  // Round trips: compressed, plain, and plain data read by the compressed reader.
  for (bool compress : {true, false}) {
    TcxBitmap32 a(5, 3, true);
    std::vector<uint32_t> px(15);
    for (size_t i = 0; i < px.size(); ++i) px[i] = 0xFF000000u | uint32_t(i * 0x010203);
    a.SetColors(px);
    a.SetCompressData(compress);
    TMemoryStream s;
    a.WriteData(&s);
    s.SetPosition(0);
    TcxBitmap32 b;
    b.ReadData(&s);
    std::vector<uint32_t> back;
    b.GetColors(back);
    EXPECT_EQ(back, px) << (compress ? "compressed" : "plain");
    EXPECT_EQ(s.Position(), s.Size());
  }
  // A length that claims more than the stream holds is refused, never read past.
  TMemoryStream lying;
  int32_t big = 1000;
  lying.WriteValue(big);
  lying.WriteBuffer("BM", 2);
  lying.SetPosition(0);
  TcxBitmap victim;
  EXPECT_THROW(victim.ReadData(&lying), EInvalidGraphic);
  // A compressed body that ends early expands to what is there; the inner data then lies.
  TMemoryStream cut;
  cut.WriteBuffer(bytes.data(), 40);
  cut.SetPosition(0);
  EXPECT_THROW(victim.ReadData(&cut), EInvalidGraphic);
}

namespace {
class TPaintedControl : public TCustomControl {
 public:
  TPaintedControl(TColor Fill, TColor Marker) : TCustomControl(nullptr), FFill(Fill), FMarker(Marker) {}

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(FFill);
    Canvas()->FillRect(TRect(0, 0, Width(), Height()));
    Canvas()->SetPixel(12, 12, FMarker);
  }

 private:
  TColor FFill, FMarker;
};
}  // namespace

TEST(CxGraphics, ParentBackgroundWithAndWithoutSiblings) {
  TVisualStylesAbsent styles;
  TPaintedControl parent(clYellow, clRed);
  parent.SetBounds(0, 0, 100, 100);
  auto* behind = new TPaintedControl(clBlue, clBlue);
  behind->SetBounds(0, 0, 15, 15);
  behind->SetParent(&parent);
  auto* control = new TPaintedControl(clLime, clLime);
  control->SetBounds(10, 10, 30, 30);
  control->SetParent(&parent);
  auto* front = new TPaintedControl(clFuchsia, clFuchsia);
  front->SetBounds(10, 10, 30, 30);
  front->SetParent(&parent);

  for (bool siblings : {false, true}) {
    auto bmp = WhiteBitmap(30, 30);
    TcxCanvas c(bmp->Canvas());
    DrawParentBackground(control, &c, TRect(0, 0, 30, 30), siblings);
    EXPECT_EQ(PixelRgb(bmp.get(), 2, 2), siblings ? 0x0000FFu : 0xFF0000u) << "the parent's (12, 12)";
    EXPECT_EQ(PixelRgb(bmp.get(), 0, 0), siblings ? 0x0000FFu : 0xFFFF00u);
    EXPECT_EQ(PixelRgb(bmp.get(), 5, 5), 0xFFFF00u) << "beyond the sibling behind";
    EXPECT_EQ(c.WindowOrigin(), TPoint(0, 0)) << "the context's state comes back";
    EXPECT_EQ(c.DCStateDepth(), 0);
  }
  TPaintedControl orphan(clLime, clLime);
  auto bmp = WhiteBitmap(4, 4);
  TcxCanvas c(bmp->Canvas());
  DrawParentBackground(&orphan, &c, TRect(0, 0, 4, 4), true);
  EXPECT_EQ(PixelRgb(bmp.get(), 1, 1), 0xFFFFFFu) << "nothing without a parent";
  DrawThemedParentBackground(control, &c, TRect(0, 0, 4, 4));
  EXPECT_EQ(PixelRgb(bmp.get(), 1, 1), 0xFFFF00u) << "without visual styles: the plain way";
}

TEST(CxGraphics, ThemedParentBackgroundComesFromTheParentUnderTheChild) {
  TVisualStylesOn styles;
  ASSERT_TRUE(IsThemingAvailable());
  TPaintedControl parent(clYellow, clRed);
  parent.SetBounds(0, 0, 100, 100);
  auto* control = new TPaintedControl(clLime, clLime);
  control->SetBounds(10, 10, 30, 30);
  control->SetParent(&parent);
  control->HandleNeeded();
  auto bmp = WhiteBitmap(30, 30);
  TcxCanvas c(bmp->Canvas());
  DrawThemedParentBackground(control, &c, TRect(0, 0, 30, 30));
  EXPECT_EQ(PixelRgb(bmp.get(), 2, 2), 0xFF0000u) << "the parent's (12, 12)";
  EXPECT_EQ(PixelRgb(bmp.get(), 20, 20), 0xFFFF00u);
  EXPECT_EQ(c.WindowOrigin(), TPoint(0, 0)) << "the context's state comes back";
  EXPECT_EQ(c.DCStateDepth(), 0);
}

namespace {
struct TListUser : TComponent {
  using TComponent::TComponent;
  TCustomImageList* Images = nullptr;
  TChangeLink Link;
  int Changes = 0;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove && AComponent == Images) Images = nullptr;
  }
};
}  // namespace

TEST(CxGraphics, LinkedImageListsFollowTheirUser) {
  auto* a = new TCustomImageList(nullptr);
  auto* b = new TCustomImageList(nullptr);
  TListUser user(nullptr);
  user.Link.OnChange = [&](TObject*) { ++user.Changes; };

  ReplaceLinkedImageList(a, user.Images, &user.Link, &user);
  EXPECT_EQ(user.Images, a);
  EXPECT_EQ(user.Link.Sender(), a);
  EXPECT_EQ(user.Changes, 1);
  ReplaceLinkedImageList(a, user.Images, &user.Link, &user);
  EXPECT_EQ(user.Changes, 1) << "an unchanged list is left alone";

  ReplaceLinkedImageList(b, user.Images, &user.Link, &user);
  EXPECT_EQ(user.Link.Sender(), b);
  delete a;  // no longer linked: the user keeps b
  EXPECT_EQ(user.Images, b);
  delete b;  // the free notification clears the field
  EXPECT_EQ(user.Images, nullptr);

  auto* c = new TCustomImageList(nullptr);
  EXPECT_FALSE(IsValidImageIndex(nullptr, 0));
  EXPECT_FALSE(IsValidImageIndex(c, 0));
  EXPECT_FALSE(IsValidImageIndex(c, -1));
  delete c;
  EXPECT_TRUE(IsComCtl6OrLater());
}
