// The bar painters: their answers, the sizes they give the bar windows, what they draw read back
// as pixels, and that no call leaves a drawing object or a changed clip region behind.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/win/DeviceContext.h"
#include "suite/bars/dxBarPainters.h"
#include "suite/core/PainterTestSupport.h"
#include "BarTestSupport.h"

using namespace painter_test;

namespace {

TdxBarPainter& Base() {
  static TdxBarPainter p;
  return p;
}
TdxBarStandardPainter& Standard() {
  static TdxBarStandardPainter p;
  return p;
}
TdxBarEnhancedPainter& Enhanced() {
  static TdxBarEnhancedPainter p;
  return p;
}

TColor Sys(int Index) { return TColor(GetSysColor(Index)); }

// The clip region of a DC as a region of rectangles, or empty when it has none.
std::vector<RECT> ClipOf(HDC DC) {
  HRGN rgn = CreateRectRgn(0, 0, 0, 0);
  std::vector<RECT> rects;
  if (GetClipRgn(DC, rgn) == 1) {
    RECT box;
    GetRgnBox(rgn, &box);
    rects.push_back(box);
    // One more probe inside catches a hole cut into an otherwise unchanged box.
    rects.push_back(RECT{PtInRegion(rgn, 5, 5), PtInRegion(rgn, 20, 10), 0, 0});
  }
  DeleteObject(rgn);
  return rects;
}

}  // namespace

// ---- answers and metrics

TEST(BarPainterAnswers, EachLookAnswersItsOwnFlagsAndSizes) {
  struct TRow {
    const char* What;
    std::function<int(const TdxBarPainter&)> Ask;
    int Base, Standard, Enhanced;
  };
  const TRow rows[] = {
      {"IsFlat", [](auto& p) { return int(p.IsFlat()); }, 0, 0, 0},
      {"UsesThemedBackground", [](auto& p) { return int(p.UsesThemedBackground()); }, 0, 0, 0},
      {"SupportsFading", [](auto& p) { return int(p.SupportsFading()); }, 0, 0, 0},
      {"WantsDoubleBuffer", [](auto& p) { return int(p.WantsDoubleBuffer()); }, 0, 0, 0},
      {"AllowsLargeIcons", [](auto& p) { return int(p.AllowsLargeIcons()); }, 1, 1, 1},
      {"AllowsQuickCustomizing", [](auto& p) { return int(p.AllowsQuickCustomizing()); }, 1, 0, 1},
      {"TracksHotElements", [](auto& p) { return int(p.TracksHotElements()); }, 1, 0, 0},
      {"ToolbarBorderGap", [](auto& p) { return p.ToolbarBorderGap(); }, 0, 2, 1},
      {"GripSizeWithBorder", [](auto& p) { return p.GripSizeWithBorder(nullptr); }, 0, 9, 6},
      {"MenuBeginGroupIndent", [](auto& p) { return p.MenuBeginGroupIndent(); }, 0, 2, 12},
      {"MenuClientIndent", [](auto& p) { return p.MenuClientIndent(); }, 1, 2, 2},
      {"DropDownShift", [](auto& p) { return p.DropDownShift(); }, 0, 2, 2},
      {"DownGlyphOffset", [](auto& p) { return p.DownGlyphOffset(nullptr); }, 0, 1, 1},
      {"ProgressBarFrameSize", [](auto& p) { return p.ProgressBarFrameSize(); }, 0, 1, 1},
      {"FloatingFrameExtraTop", [](auto& p) { return p.FloatingFrameExtraTop(); }, 0, 2, 2},
      {"EditTextHeight(13)", [](auto& p) { return p.EditTextHeight(nullptr, 13); }, 22, 19, 19},
      {"IsMarkAreaSmall(16)", [](auto& p) { return int(p.IsMarkAreaSmall(nullptr, TRect(0, 0, 11, 16))); }, 1, 0, 0},
      {"IsMarkAreaSmall(17)", [](auto& p) { return int(p.IsMarkAreaSmall(nullptr, TRect(0, 0, 11, 17))); }, 0, 0, 0},
  };
  for (const TRow& r : rows) {
    SCOPED_TRACE(r.What);
    EXPECT_EQ(r.Ask(Base()), r.Base);
    EXPECT_EQ(r.Ask(Standard()), r.Standard);
    EXPECT_EQ(r.Ask(Enhanced()), r.Enhanced);
  }
}

TEST(BarPainterMetrics, SizesDerivedFromTextAndItemHeights) {
  const TdxBarPainter& p = Base();
  EXPECT_EQ(p.ScrollArrowSize(16), 4);
  EXPECT_EQ(p.MenuArrowWidth(16), 13);
  EXPECT_EQ(p.MenuSubItemArrowSize(22), 8);
  // A spin edit 22 high: arrows 4 high and 7 wide, a button column of 17.
  EXPECT_EQ(p.SpinButtonSizes(22).cx, 7);
  EXPECT_EQ(p.SpinButtonSizes(22).cy, 4);
  EXPECT_EQ(p.SpinButtonsWidth(0, TRect(0, 0, 40, 22)), 17);
  EXPECT_EQ(p.StaticBorderOffsets(sbsBump), TRect(2, 2, 2, 2));
  EXPECT_EQ(p.StaticBorderOffsets(sbsLowered), TRect(1, 1, 1, 1));
  struct {
    int Width;
    bool Down;
    int Size;
  } arrows[] = {{16, true, 3}, {19, true, 6}, {9, true, 3}, {6, false, 3}, {13, false, 7}};
  for (auto& a : arrows)
    EXPECT_EQ(ItemArrowSizeFromRect(a.Down ? TRect(0, 0, a.Width, 20) : TRect(0, 0, 20, a.Width + 6), a.Down),
              a.Size)
        << a.Width;
}

TEST_F(TBarFixture, DropDownArrowWidthIsAlwaysOdd) {
  struct {
    int ArrowWidth;
    bool LargeIcons;
    int Expected;
  } cases[] = {{6, false, 7}, {7, false, 7}, {6, true, 13}, {11, true, 23}};
  for (auto& c : cases) {
    Manager->SetButtonArrowWidth(c.ArrowWidth);
    Manager->ImageOptions()->SetLargeIcons(c.LargeIcons);
    EXPECT_EQ(Base().DropDownArrowWidth(Manager), c.Expected) << c.ArrowWidth << " " << c.LargeIcons;
  }
}

TEST(BarPainterMetrics, MenuMarkSizeKeepsTheExpandArrowEven) {
  // Font heights whose "0" measures 14 and 15 pixels.
  TSurface s(40, 40);
  int found = 0;
  for (int h = 8; h < 40 && found != 3; ++h) {
    s.C()->CurrentFont()->SetHeight(-h);
    int zero = s.C()->MeasureTextHeight("0");
    int arrow = 0, mark = 0;
    Base().MenuTextMetrics(s.C(), 16, arrow, mark);
    EXPECT_EQ(arrow, 13);
    if (zero == 14) {
      EXPECT_EQ(mark, 15);
      found |= 1;
    } else if (zero == 15) {
      EXPECT_EQ(mark, 14);
      found |= 2;
    }
  }
  EXPECT_EQ(found, 3) << "no font measured 14 and 15";
}

// ---- drawing

TEST(BarPainterDrawing, ArrowTriangleHasItsSizeAndDisabledEmboss) {
  TSurface s(30, 30, clBtnFace);
  DrawArrowTriangle(s.C()->CurrentDC(), TRect(0, 0, 30, 30), true, 4, false, true, false, clDefault);
  TRect b = s.Bounds(Sys(COLOR_BTNTEXT));
  EXPECT_EQ(b.Width(), 7);
  EXPECT_EQ(b.Height(), 4);

  TSurface d(30, 30, clBtnFace);
  DrawArrowTriangle(d.C()->CurrentDC(), TRect(0, 0, 30, 30), true, 4, false, false, false, clDefault);
  EXPECT_EQ(d.Bounds(Sys(COLOR_BTNSHADOW)), b);
  EXPECT_GT(d.Count(TRect(0, 0, 30, 30), Sys(COLOR_BTNHIGHLIGHT)), 0);
  TSurface f(30, 30, clBtnFace);
  DrawArrowTriangle(f.C()->CurrentDC(), TRect(0, 0, 30, 30), true, 4, false, false, true, clDefault);
  EXPECT_EQ(f.Count(TRect(0, 0, 30, 30), Sys(COLOR_BTNHIGHLIGHT)), 0) << "a flat arrow has no emboss";
}
