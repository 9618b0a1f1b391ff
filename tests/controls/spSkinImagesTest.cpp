// Skin text formats, the glyph layout, the focus frame, and images and regions built from skin
// pictures, read back as pixels.
#include <gtest/gtest.h>

#include "controls/spSkinImages.h"
#include "controls/spUtils.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Modules.h"

namespace {

uint32_t At(TBitmap& b, int x, int y) { return reinterpret_cast<uint32_t*>(b.ScanLine(y))[x] & 0xFFFFFF; }

// Every pixel of the source carries its own coordinates: red = x, green = y.
void CoordinatePicture(TBitmap& b, int W, int H) {
  b.SetSize(W, H);
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) reinterpret_cast<uint32_t*>(b.ScanLine(y))[x] = 0xFF000000u | x << 16 | y << 8;
}

int SrcX(TBitmap& b, int x, int y) { return int(At(b, x, y) >> 16); }
int SrcY(TBitmap& b, int x, int y) { return int((At(b, x, y) >> 8) & 0xFF); }

}  // namespace

TEST(spUtils, RectanglesAndPointsFromText) {
  struct TCase {
    const char* Text;
    TRect Expected;
  } cases[] = {{"44,78,93,107", {44, 78, 93, 107}},
               {" 44 , 78, 93 ,107 ", {44, 78, 93, 107}},
               {"-1,-1,5,5", {1, 1, 5, 5}},
               {"1,2,3,4,5", {1, 2, 3, 4}}};
  for (const auto& c : cases) EXPECT_EQ(ParseRect(c.Text), c.Expected) << c.Text;
  EXPECT_EQ(ParsePoint("45, 5"), TPoint(45, 5));
  for (const char* bad : {"1,,3,4", "1,2,3", "", "1,2,x,4"}) EXPECT_THROW(ParseRect(bad), EConvertError) << bad;
  EXPECT_THROW(ParsePoint("7"), EConvertError);
}

TEST(spUtils, IniValueReaders) {
  TMemIniFile ini("");
  ini.SetText(
      "[s]\nstyle=fsbold,fsunderline\ncaps=fsBOLD\nb1=1\nb2=2\nb3=yes\nb4=true\nhex=0x10\nexp=1e3\n"
      "al=taleftjustify\nal2=whatever\nlistcount=2\n0=a\n1=b\nxlinecount=1\nxline0=first\n");
  EXPECT_EQ(ReadSkinFontStyle(&ini, "s", "style"), TFontStyles({TFontStyle::fsBold, TFontStyle::fsUnderline}));
  EXPECT_EQ(ReadSkinFontStyle(&ini, "s", "caps"), TFontStyles());
  EXPECT_TRUE(ReadSkinBool(&ini, "s", "b1"));
  for (const char* k : {"b2", "b3", "b4", "missing"}) EXPECT_FALSE(ReadSkinBool(&ini, "s", k)) << k;
  EXPECT_EQ(ini.ReadInteger("s", "hex", 7), 16);
  EXPECT_EQ(ini.ReadInteger("s", "exp", 7), 7);
  EXPECT_EQ(ReadSkinAlignment(&ini, "s", "al"), 0);
  EXPECT_EQ(ReadSkinAlignment(&ini, "s", "al2"), 1);
  EXPECT_EQ(ReadSkinAlignment(&ini, "s", "missing"), 2);
  EXPECT_EQ(ReadSkinRect(&ini, "s", "missing"), TRect());
  TStringList list, lines;
  ReadSkinStringList(&ini, "s", "list", &list);
  ReadSkinLines(&ini, "s", "x", &lines);
  EXPECT_EQ(list.Text(), "a\nb\n");
  EXPECT_EQ(lines.Text(), "first\n");

  TMemIniFile out("");
  WriteSkinRect(&out, "w", "r", Rect(1, 2, 3, 4));
  WriteSkinPoint(&out, "w", "p", Point(5, 6));
  WriteSkinBool(&out, "w", "b", true);
  WriteSkinFontStyle(&out, "w", "f", TFontStyles({TFontStyle::fsStrikeOut, TFontStyle::fsBold}));
  WriteSkinAlignment(&out, "w", "a", 1);
  WriteSkinLines(&out, "w", "x", &lines);
  EXPECT_EQ(out.ReadString("w", "r", ""), "1,2,3,4");
  EXPECT_EQ(out.ReadString("w", "p", ""), "5,6");
  EXPECT_EQ(out.ReadString("w", "b", ""), "1");
  EXPECT_EQ(out.ReadString("w", "f", ""), "fsbold,fsstrikeout");
  EXPECT_EQ(out.ReadString("w", "a", ""), "tarightjustify");
  EXPECT_EQ(out.ReadString("w", "xline0", ""), "first");
}

TEST(spUtils, NullTestsAndSystemVersion) {
  EXPECT_TRUE(IsNullPoint(Point(5, 0)));
  EXPECT_FALSE(IsNullPoint(Point(5, 1)));
  EXPECT_FALSE(IsNullRect(Rect(0, 0, 1, 1)));
  EXPECT_TRUE(IsNullRect(Rect(3, 0, 3, 9)));
  EXPECT_TRUE(IsWindows2000OrLater());
  TOSVersion saved = OSVersion(), old;
  old.Major = 4;
  old.Minor = 0;
  SetOSVersion(old);
  EXPECT_FALSE(IsWindows2000OrLater());
  SetOSVersion(saved);
}

TEST(spUtils, GlyphAndCaptionLayout) {
  TPoint g, t;
  CalcGlyphCaptionLayout(TspButtonLayout::blGlyphLeft, Rect(0, 0, 100, 20), 16, 16, 40, 10, -1, 4, g, t);
  EXPECT_EQ(g, Point(20, 2));
  EXPECT_EQ(t, Point(40, 5));
  CalcGlyphCaptionLayout(TspButtonLayout::blGlyphLeft, Rect(0, 0, 100, 20), 16, 16, 40, 10, 8, 6, g, t);
  EXPECT_EQ(g, Point(8, 2));
  EXPECT_EQ(t, Point(30, 5));
  CalcGlyphCaptionLayout(TspButtonLayout::blGlyphTop, Rect(0, 0, 100, 60), 16, 16, 40, 10, 3, 2, g, t);
  EXPECT_EQ(g, Point(42, 3));
  EXPECT_EQ(t, Point(30, 21));
  // Without a glyph the spacing does not count.
  CalcGlyphCaptionLayout(TspButtonLayout::blGlyphRight, Rect(0, 0, 100, 20), 0, 0, 40, 10, -1, 9, g, t);
  EXPECT_EQ(t, Point(30, 5));
}

TEST(spUtils, FocusFrameDotsAlternateAroundTheCorners) {
  TBitmap b;
  b.SetSize(6, 4);
  b.Canvas()->Font()->SetColor(clBlack);
  DrawFocusFrame(b.Canvas(), Rect(0, 0, 5, 3));  // r - l = 4, b - t = 2: both even, first dot off
  const char* expected[] = {".X.X.", "X...X", ".X.X."};
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x) {
      bool on = At(b, x, y) == 0;
      bool edge = y == 0 || y == 2 || x == 0 || x == 4;
      if (edge) EXPECT_EQ(on, expected[y][x] == 'X') << x << "," << y;
    }
}

TEST(spSkinImages, NinePartImageAtTwiceTheSize) {
  TBitmap src, dst;
  CoordinatePicture(src, 30, 20);
  TRect cl(5, 5, 25, 15), ncl(5, 5, 55, 35);
  BuildNinePartImage(&src, Rect(0, 0, 30, 20), Point(5, 5), Point(25, 5), Point(5, 15), Point(25, 15), cl, &dst,
                     60, 40, Point(5, 5), Point(55, 5), Point(5, 35), Point(55, 35), ncl, true, true, true, true,
                     true, true, 0);
  ASSERT_EQ(dst.Width(), 60);
  ASSERT_EQ(dst.Height(), 40);
  // Corners are copied unscaled.
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(SrcX(dst, x, y), x);
      EXPECT_EQ(SrcX(dst, 55 + x, 35 + y), 25 + x);
      EXPECT_EQ(SrcY(dst, 55 + x, 35 + y), 15 + y);
    }
  // Top edge: 20 columns stretched over 50, staying in the top band.
  EXPECT_EQ(SrcX(dst, 5, 2), 5);
  EXPECT_EQ(SrcX(dst, 54, 2), 24);
  EXPECT_EQ(SrcY(dst, 30, 2), 2);
  // Left edge: 10 rows over 30.
  EXPECT_EQ(SrcY(dst, 2, 5), 5);
  EXPECT_EQ(SrcY(dst, 2, 34), 14);
  // Client: 20 x 10 over 50 x 30.
  EXPECT_EQ(SrcX(dst, 5, 5), 5);
  EXPECT_EQ(SrcY(dst, 54, 34), 14);
  EXPECT_EQ(SrcX(dst, 54, 34), 24);
}

TEST(spSkinImages, TilesAreCutNotScaled) {
  TBitmap src, dst;
  CoordinatePicture(src, 10, 1);
  dst.SetSize(25, 1);
  TileHorizontally(dst.Canvas(), Rect(0, 0, 25, 1), src.Canvas(), Rect(0, 0, 10, 1));
  for (int x = 0; x < 25; ++x) EXPECT_EQ(SrcX(dst, x, 0), x % 10) << x;
}

TEST(spSkinImages, ThreePartsAcross) {
  TBitmap src, dst;
  CoordinatePicture(src, 49, 29);
  BuildHorizontalThreePartImage(3, 4, &dst, false, 100, Rect(0, 0, 49, 29), &src);
  EXPECT_EQ(dst.Width(), 100);
  EXPECT_EQ(dst.Height(), 29);
  EXPECT_EQ(SrcX(dst, 2, 0), 2);
  EXPECT_EQ(SrcX(dst, 3, 0), 3);
  EXPECT_EQ(SrcX(dst, 3 + 42, 0), 3);  // the middle (42 wide) repeats
  EXPECT_EQ(SrcX(dst, 99, 28), 48);
  EXPECT_EQ(SrcX(dst, 96, 28), 45);
}

TEST(spSkinImages, MaskRowsBecomeRuns) {
  TBitmap mask;
  mask.SetSize(4, 1);
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(Rect(0, 0, 4, 1));
  mask.Canvas()->SetPixel(2, 0, clWhite);
  auto data = MaskToRegionData(&mask, 0, 0);
  ASSERT_EQ(data.size(), 32u + 2 * 16);
  const auto* h = reinterpret_cast<const RGNDATAHEADER*>(data.data());
  EXPECT_EQ(h->nCount, 2u);
  EXPECT_EQ(h->rcBound, (RECT{0, 0, 4, 1}));
  const auto* r = reinterpret_cast<const RECT*>(data.data() + 32);
  EXPECT_EQ(r[0], (RECT{0, 0, 2, 1}));
  EXPECT_EQ(r[1], (RECT{3, 0, 4, 1}));
  HRGN rgn = RegionFromMask(&mask);
  ASSERT_TRUE(rgn);
  EXPECT_TRUE(PtInRegion(rgn, 1, 0));
  EXPECT_FALSE(PtInRegion(rgn, 2, 0));
  EXPECT_TRUE(PtInRegion(rgn, 3, 0));
  DeleteObject(rgn);
  TBitmap empty;
  EXPECT_TRUE(MaskToRegionData(&empty, 0, 0).empty());
  EXPECT_EQ(RegionFromMask(&empty), nullptr);
}

TEST(spSkinImages, ManyRunsAreAllKept) {
  TBitmap mask;
  mask.SetSize(200, 120);
  for (int y = 0; y < 120; ++y)
    for (int x = 0; x < 200; x += 2) mask.Canvas()->SetPixel(x, y, clBlack);
  auto data = MaskToRegionData(&mask, 0, 0);
  EXPECT_EQ(reinterpret_cast<const RGNDATAHEADER*>(data.data())->nCount, 12000u);
  HRGN rgn = RegionFromMask(&mask);
  EXPECT_TRUE(PtInRegion(rgn, 198, 119));
  EXPECT_FALSE(PtInRegion(rgn, 199, 119));
  DeleteObject(rgn);
}

TEST(spSkinImages, BadRegionDataIsRefused) {
  struct {
    RGNDATAHEADER h;
    RECT r[2];
  } data;
  data.h.nCount = 3;  // announces more rectangles than the bytes hold
  EXPECT_EQ(ExtCreateRegion(nullptr, sizeof(data), reinterpret_cast<RGNDATA*>(&data)), nullptr);
  data.h.nCount = 2;
  data.r[0] = RECT{5, 5, 8, 8};
  data.r[1] = RECT{0, 0, 2, 2};  // out of band order: united one by one
  HRGN rgn = ExtCreateRegion(nullptr, sizeof(data), reinterpret_cast<RGNDATA*>(&data));
  ASSERT_TRUE(rgn);
  EXPECT_TRUE(PtInRegion(rgn, 1, 1));
  EXPECT_TRUE(PtInRegion(rgn, 6, 6));
  EXPECT_FALSE(PtInRegion(rgn, 3, 3));
  DeleteObject(rgn);
  data.h.iType = 2;
  EXPECT_EQ(ExtCreateRegion(nullptr, sizeof(data), reinterpret_cast<RGNDATA*>(&data)), nullptr);
}

TEST(spSkinImages, BorderRegionWithoutATopBorder) {
  // A 20 x 20 mask, all black but for a white notch in each border; no top border (CL.Top = 0).
  TBitmap mask;
  mask.SetSize(20, 20);
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(Rect(0, 0, 20, 20));
  mask.Canvas()->SetPixel(0, 19, clWhite);  // bottom-left corner cut
  TRect cl(3, 0, 17, 17);
  HRGN rgn = BuildBorderRegion(&mask, Point(3, 0), Point(17, 0), Point(3, 17), Point(17, 17), cl, 40, 30,
                               Point(3, 0), Point(37, 0), Point(3, 27), Point(37, 27), Rect(3, 0, 37, 27));
  ASSERT_TRUE(rgn);
  EXPECT_TRUE(PtInRegion(rgn, 20, 10));  // client
  EXPECT_TRUE(PtInRegion(rgn, 1, 10));   // left strip
  EXPECT_TRUE(PtInRegion(rgn, 38, 10));  // right strip
  EXPECT_TRUE(PtInRegion(rgn, 20, 28));  // bottom strip
  EXPECT_FALSE(PtInRegion(rgn, 0, 29));  // the cut corner
  DeleteObject(rgn);
}

TEST(spSkinImages, StripFrameCopiesItsColumns) {
  TBitmap strip, target;
  CoordinatePicture(strip, 64, 4);
  target.SetSize(16, 4);
  DrawStripFrame(target.Canvas(), 0, 0, 2, 4, &strip);
  EXPECT_EQ(SrcX(target, 0, 1), 16);
  EXPECT_EQ(SrcX(target, 15, 1), 31);
}
