// The bar painters: their answers, the sizes they give the bar windows, what they draw read back
// as pixels, and that no call leaves a drawing object or a changed clip region behind.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/win/DeviceContext.h"
#include "suite/bars/dxBarFlatPainter.h"
#include "suite/bars/dxBarPainters.h"
#include "suite/core/PainterTestSupport.h"
#include "suite/core/dxOffice11.h"
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

TEST(BarPainterDrawing, DisabledCaptionIsEmbossedUnlessSelected) {
  struct TCase {
    bool Selected;
    int Highlight;  // pixels in COLOR_BTNHIGHLIGHT expected (0 none, 1 some)
    TColor Ink;
  } cases[] = {{false, 1, Sys(COLOR_BTNSHADOW)}, {true, 0, Sys(COLOR_GRAYTEXT)}};
  for (const TCase& c : cases) {
    TSurface s(80, 24, clBtnFace);
    // Text without smoothing, so that every inked pixel has the colour of its pass.
    LOGFONT lf;
    lf.lfHeight = -13;
    std::strcpy(lf.lfFaceName, "DejaVu Sans");
    lf.lfQuality = 3;
    HFONT font = CreateFontIndirect(&lf);
    HGDIOBJ old = SelectObject(s.C()->CurrentDC(), font);
    Base().DrawItemText(nullptr, s.C()->CurrentDC(), DT_SINGLELINE, false, false, false, c.Selected, false, 0,
                        TRect(4, 0, 80, 24), "File");
    TRect ink = s.Bounds(c.Ink);
    SelectObject(s.C()->CurrentDC(), old);
    DeleteObject(font);
    ASSERT_FALSE(ink.IsEmpty()) << c.Selected;
    TRect light = s.Bounds(Sys(COLOR_BTNHIGHLIGHT));
    if (c.Highlight) {
      // The highlight copy lies one pixel right and down, under the shadow-coloured text.
      EXPECT_EQ(light.Right, ink.Right + 1);
      EXPECT_EQ(light.Bottom, ink.Bottom + 1);
    } else {
      EXPECT_TRUE(light.IsEmpty());
    }
  }
}

namespace {
// Records where the check sign goes instead of drawing it.
struct TCheckRecorder : TdxBarPainter {
  mutable int Code = 0, X = 0, Y = 0;
  void DrawCheckSign(TdxBarItemControl*, HDC, int SizeCode, int AX, int AY) const override {
    Code = SizeCode, X = AX, Y = AY;
  }
};
}  // namespace

TEST(BarPainterDrawing, CheckSignBoxGrowsWithTheFontFromSixteenPoints) {
  struct {
    int Points, Code, W, H;
  } cases[] = {{8, 1, 9, 7}, {15, 1, 9, 7}, {16, 2, 18, 14}, {20, 2, 18, 14}};
  for (auto& c : cases) {
    TSurface s(40, 40);
    s.C()->CurrentFont()->SetSize(c.Points);
    s.C()->MeasureTextHeight("0");  // the font goes into the DC as it does when the control draws
    HDC dc = s.C()->CurrentDC();
    TCheckRecorder p;
    p.DrawCheckSignCentered(nullptr, dc, true, 1, TRect(0, 0, 40, 30));
    EXPECT_EQ(p.Code, c.Code) << c.Points;
    EXPECT_EQ(p.X, (40 - c.W) / 2) << c.Points;
    EXPECT_EQ(p.Y, (30 - c.H) / 2) << c.Points;
    p.Code = 0;
    p.DrawCheckSignCentered(nullptr, dc, true, 0, TRect(0, 0, 40, 30));
    p.DrawCheckSignCentered(nullptr, dc, false, 1, TRect(0, 0, 40, 30));
    EXPECT_EQ(p.Code, 0) << "only a down item in a menu gets the sign";
  }
}

TEST(BarPainterDrawing, StandardCheckMarkScalesWithItsSizeCode) {
  TSurface small(60, 60, clBtnFace), large(60, 60, clBtnFace);
  Standard().DrawCheckSign(nullptr, small.C()->CurrentDC(), 1, 10, 10);
  Standard().DrawCheckSign(nullptr, large.C()->CurrentDC(), 2, 10, 10);
  TRect a = small.Bounds(clBtnFace, true), b = large.Bounds(clBtnFace, true);
  EXPECT_EQ(a, TRect(10, 10, 19, 18));
  EXPECT_EQ(b, TRect(11, 9, 27, 26));
  EXPECT_GT(small.Count(a, clBlack), 0);
  EXPECT_GT(small.Count(a, clWhite), 0);
}

namespace {
struct TFakeBarControl : TCustomdxBarControl {
  bool Vertical = false;
  int Width = 100;
  bool IsVertical() const override { return Vertical; }
  TRect ClientBounds() const override { return TRect(0, 0, Width, 22); }
};
}  // namespace

TEST(BarPainterDrawing, MarkChevronMovesUpInASmallMarkArea) {
  TFakeBarControl bar;
  auto chevron = [&](int Height) {
    TSurface s(20, 20, clBtnFace);
    Base().DrawMarkChevrons(&bar, s.C()->CurrentDC(), 5, TRect(0, 0, 11, Height));
    return s.Bounds(Sys(COLOR_BTNTEXT));
  };
  TRect small = chevron(16), normal = chevron(17);
  EXPECT_EQ(normal, TRect(5, 4, 9, 9));
  EXPECT_EQ(small, normal.Offset(0, -1));
  // The Standard look never moves it.
  TSurface s(20, 20, clBtnFace);
  Standard().DrawMarkChevrons(&bar, s.C()->CurrentDC(), 5, TRect(0, 0, 11, 16));
  EXPECT_EQ(s.Bounds(Sys(COLOR_BTNSHADOW)).Top, 1);
}

TEST(BarPainterDrawing, MenuSeparatorEtchesItsLineFourPixelsIntoTheBand) {
  struct {
    const TdxBarPainter* Painter;
    int Indent;
  } cases[] = {{&Base(), 0}, {&Standard(), 2}, {&Enhanced(), 12}};
  for (auto& c : cases) {
    TSurface s(40, 10, clRed);
    c.Painter->DrawMenuSeparator(nullptr, nullptr, TRect(0, 0, 40, 10), s.C());
    SCOPED_TRACE(c.Indent);
    EXPECT_EQ(s.Bounds(Sys(COLOR_BTNSHADOW)), TRect(c.Indent, 4, 40 - c.Indent, 5));
    EXPECT_EQ(s.Bounds(Sys(COLOR_BTNHIGHLIGHT)).Top, 5);
    EXPECT_EQ(s.Bounds(Sys(COLOR_BTNHIGHLIGHT)).Bottom, 6);
    EXPECT_EQ(s.Count(TRect(0, 0, 40, 10), clRed), 0) << "the whole band is filled";
  }
}

TEST(BarPainterDrawing, BarSeparatorIsOneEtchedLineBetweenTwoMargins) {
  TSurface across(6, 20, clRed), along(20, 6, clRed);
  Base().DrawBarSeparator(nullptr, across.C()->CurrentDC(), false, GetSysColorBrush(COLOR_BTNFACE), TRect(0, 0, 6, 20));
  Base().DrawBarSeparator(nullptr, along.C()->CurrentDC(), true, GetSysColorBrush(COLOR_BTNFACE), TRect(0, 0, 20, 6));
  EXPECT_EQ(across.Bounds(Sys(COLOR_BTNSHADOW)), TRect(2, 0, 3, 20));
  EXPECT_EQ(across.Bounds(Sys(COLOR_BTNHIGHLIGHT)).Left, 3);
  EXPECT_EQ(along.Bounds(Sys(COLOR_BTNSHADOW)), TRect(0, 2, 20, 3));
  EXPECT_EQ(along.Bounds(Sys(COLOR_BTNHIGHLIGHT)).Top, 3);
  EXPECT_EQ(across.Count(TRect(0, 0, 6, 20), clRed) + along.Count(TRect(0, 0, 20, 6), clRed), 0);
}

namespace {
// The [start, end) runs of Ink along row y.
std::vector<std::pair<int, int>> RunsOf(TSurface& S, int Y, int Width, TColor Ink) {
  std::string row = S.Picture(TRect(0, Y, Width, Y + 1), Ink)[0];
  std::vector<std::pair<int, int>> runs;
  for (int x = 0; x < Width; ++x) {
    if (row[size_t(x)] != 'X') continue;
    int start = x;
    while (x < Width && row[size_t(x)] == 'X') ++x;
    runs.push_back({start, x});
  }
  return runs;
}
}  // namespace

TEST(BarPainterDrawing, ProgressChunksAreEightLongWithTwoPixelGapsCutAtTheFilledEnd) {
  using TRuns = std::vector<std::pair<int, int>>;
  const TRuns full = {{0, 8}, {10, 18}, {20, 28}, {30, 38}, {40, 48}, {50, 58}, {60, 68}, {70, 78}, {80, 88}, {90, 95}};
  struct {
    int Min, Max, Position;
    TRuns Expected;
  } cases[] = {
      {0, 100, 100, full},
      {0, 100, 45, {{0, 8}, {10, 18}, {20, 28}, {30, 38}, {40, 43}}},
      {0, 100, 0, {}},
      {5, 5, 5, {}},       // an empty range draws the background alone
      {10, 10, 3, {}},
      {0, 100, 150, full}, // beyond the maximum counts as the maximum
      {0, 100, -20, {}},
      {-50, 50, 0, {{0, 8}, {10, 18}, {20, 28}, {30, 38}, {40, 48}}},
  };
  for (auto& c : cases) {
    TSurface s(95, 12, clWhite);
    TdxBarProgressControlDrawParams dp(nullptr);
    dp.DrawCanvas = s.C();
    dp.Min = c.Min, dp.Max = c.Max, dp.Position = c.Position;
    Base().DrawProgressBar(&dp, TRect(0, 0, 95, 12), clDefault);
    SCOPED_TRACE(std::to_string(c.Min) + ".." + std::to_string(c.Max) + " at " + std::to_string(c.Position));
    EXPECT_EQ(RunsOf(s, 6, 95, Sys(COLOR_HIGHLIGHT)), c.Expected);
    EXPECT_EQ(s.Count(TRect(0, 0, 95, 12), clWhite), 0) << "the background is filled";
  }
  TSurface smooth(95, 12, clWhite);
  TdxBarProgressControlDrawParams dp(nullptr);
  dp.DrawCanvas = smooth.C();
  dp.Position = 45;
  dp.Smooth = true;
  Base().DrawProgressBar(&dp, TRect(0, 0, 95, 12), clRed);
  EXPECT_EQ(RunsOf(smooth, 6, 95, clRed), (TRuns{{0, 43}}));
}

TEST(BarPainterDrawing, StaticBordersTakeTheirWidthFromEverySide) {
  struct {
    TdxBarStaticBorderStyle Style;
    int Width;
  } cases[] = {{sbsNone, 0}, {sbsLowered, 1}, {sbsRaised, 1}, {sbsEtched, 2}, {sbsBump, 2}};
  for (auto& c : cases) {
    TSurface s(30, 20, clRed);
    TdxBarStaticLikeControlDrawParams dp(nullptr);
    dp.DrawCanvas = s.C();
    dp.BorderStyle = c.Style;
    TRect r(0, 0, 30, 20);
    Base().DrawStaticBorder(&dp, r);
    EXPECT_EQ(r, TRect(c.Width, c.Width, 30 - c.Width, 20 - c.Width)) << int(c.Style);
    // Whatever the border drew stays outside the rectangle handed back.
    EXPECT_EQ(s.Count(r, clRed), r.Width() * r.Height()) << int(c.Style);
    EXPECT_EQ(s.Count(TRect(0, 0, 30, 20), clRed), 600 - 2 * c.Width * (30 + 20 - 2 * c.Width)) << int(c.Style);
  }
}

TEST(BarPainterDrawing, AnArrowInsideAButtonStaysInsideWhateverTheSignOfTheFontHeight) {
  TRect box;
  for (int height : {-13, 13}) {
    TSurface s(60, 22, clBtnFace);
    s.C()->CurrentFont()->SetHeight(height);
    TdxBarButtonLikeControlDrawParams dp(nullptr);
    dp.DrawCanvas = s.C();
    dp.ArrowAreaSize = TSize{7, 4};
    Base().DrawItemArrowPart(&dp, TRect(0, 0, 60, 22));
    TRect arrow = s.Bounds(Sys(COLOR_BTNTEXT));
    SCOPED_TRACE(height);
    ASSERT_FALSE(arrow.IsEmpty());
    EXPECT_LE(arrow.Right, 60);
    EXPECT_GE(arrow.Left, 40) << "the arrow sits at the far end";
    EXPECT_EQ(arrow.Width(), 5) << "a down arrow one smaller than the arrow size on a bar";
    if (height < 0) box = arrow;
    else EXPECT_EQ(arrow, box);
  }
}

TEST(BarPainterParts, SpinAndEllipsisPartsGiveWayOnNarrowControls) {
  const TdxBarPainter& p = Base();
  TdxBarSpinEditDrawParams spin(nullptr);
  struct {
    int Width;
    bool Empty;
  } widths[] = {{80, false}, {40, false}, {38, true}, {20, true}};
  for (auto& w : widths) {
    TRect r(0, 0, w.Width, 22);
    TRect upper = p.CalcSpinButtonRect(&spin, r, 1), lower = p.CalcSpinButtonRect(&spin, r, 2);
    EXPECT_EQ(upper.IsEmpty(), w.Empty) << w.Width;
    if (!w.Empty) {
      // A column of 17 plus its margins at the right, halved between the two buttons.
      EXPECT_EQ(upper, TRect(w.Width - 18, 0, w.Width - 1, 11)) << w.Width;
      EXPECT_EQ(lower, TRect(w.Width - 18, 11, w.Width - 1, 22)) << w.Width;
    }
  }
  struct {
    bool Enabled;
    int Pressed, Hot, Button, State;
  } states[] = {{true, -1, -1, 1, 1}, {true, -1, 3, 1, 2}, {true, 1, 3, 1, 3}, {true, 2, 3, 1, 2},
                {false, 1, 3, 1, 4}, {true, -1, 4, 2, 2}};
  for (auto& st : states) {
    spin.DrawEnabled = st.Enabled;
    spin.PressedButton = st.Pressed;
    spin.HotPart = st.Hot;
    EXPECT_EQ(p.SpinButtonState(&spin, st.Button), st.State) << st.Enabled << st.Pressed << st.Hot;
  }

  TdxBarColorComboControlDrawParams combo(nullptr);
  combo.ShowCustomColorButton = true;
  TRect wide(0, 0, 100, 22), narrow(0, 0, 30, 22);
  // A dotted button 16 wide for a 22-pixel height, plus the colour-box margins.
  EXPECT_EQ(p.CalcEllipsisButtonRect(&combo, wide), TRect(100 - 18 + 1, 2, 99, 20));
  EXPECT_EQ(p.CalcEllipsisButtonRect(&combo, narrow).Width(), 0) << "half the control or more: no ellipsis";
  combo.ShowCustomColorButton = false;
  EXPECT_EQ(p.CalcEllipsisButtonRect(&combo, wide).Width(), 0);
}

TEST(BarPainterDrawing, ScrollArrowIsFilledAndKeptOutOfTheButtonFill) {
  TSurface s(40, 16, clWhite);
  HDC dc = s.C()->CurrentDC();
  Base().DrawScrollArrow(nullptr, s.C(), true, clBlack, TRect(0, 0, 40, 16));
  FillRectSolid(dc, TRect(0, 0, 40, 16), clBtnFace);  // what the scroll button fills next
  SelectClipRgn(dc, nullptr);
  TRect arrow = s.Bounds(clBlack);
  EXPECT_EQ(arrow.Height(), Base().ScrollArrowSize(16));
  EXPECT_EQ(arrow.Width(), 2 * arrow.Height() - 1);
  EXPECT_EQ(s.Count(TRect(0, 0, 40, 16), clWhite), 0);
}

TEST(BarPainterDrawing, APressedDownCaptionMovesTwoPixelsAndItsGlyphStays) {
  struct {
    bool Down, Pressed;
    int Shift;
  } cases[] = {{false, false, 0}, {true, false, 1}, {false, true, 1}, {true, true, 2}};
  for (auto& c : cases) {
    TdxBarButtonLikeControlDrawParams dp(nullptr);
    dp.ShownParts = dxBarCaptionPart | dxBarGlyphPart;
    dp.GlyphExtent = TSize{23, 22};
    dp.DownLook = c.Down;
    dp.PressedState = c.Pressed;
    TRect caption;
    int alignment = -1;
    Base().CalcCaptionRect(&dp, TRect(0, 0, 80, 22), caption, alignment, TRect());
    EXPECT_EQ(caption, TRect(23, 0, 80, 22).Offset(c.Shift, c.Shift)) << c.Down << c.Pressed;
    EXPECT_EQ(alignment, 0);
    EXPECT_EQ(Base().DownGlyphOffset(nullptr) + Base().PressedGlyphOffset(nullptr, c.Down), 0);
  }
}

namespace {
// Records whether the glyph area was framed with room for a border.
struct TFrameRecorder : TdxBarPainter {
  mutable int Framed = -1;
  void FrameGlyphArea(TdxBarItemControl*, HDC, int, bool, bool, bool, bool, bool, bool, bool WithBorder, HBRUSH,
                      const TRect&) const override {
    Framed = WithBorder;
  }
};
}  // namespace

TEST(BarPainterDrawing, AGlyphAreaTwoPixelsLargerThanTheGlyphGetsTheBorder) {
  struct {
    TRect Area;
    int Border;
  } cases[] = {{TRect(0, 0, 18, 18), 1}, {TRect(0, 0, 17, 18), 0}, {TRect(0, 0, 18, 17), 0}, {TRect(0, 0, 30, 24), 1}};
  for (auto& c : cases) {
    TSurface s(40, 40, clBtnFace);
    TFrameRecorder p;
    p.DrawGlyphInRect(nullptr, s.C()->CurrentDC(), 0, false, false, false, false, false, false, false, nullptr,
                      nullptr, -1, TRect(1, 1, 17, 17), c.Area);
    EXPECT_EQ(p.Framed, c.Border) << c.Area.Width() << "x" << c.Area.Height();
  }
}

namespace {
struct TMarkBar : TFakeBarControl {
  bool Hidden = false;
  TdxBarDockingStyle Docking = dsTop;
  TdxBarDockingStyle DockingStyle() const override { return Docking; }
  bool HasHiddenItems() const override { return Hidden; }
};
}  // namespace

TEST(BarPainterDrawing, MarkShowsItsTriangleLowerInASmallAreaAndChevronsForHiddenItems) {
  TMarkBar bar;
  bar.Width = 60;
  EXPECT_EQ(Base().MarkRect(&bar), TRect(49, 0, 60, 22));
  // The ink of the mark's contents: its bounds and how much of it lies above row 10.
  auto contents = [&](int Height, bool Hidden) {
    TSurface s(11, 30, clBtnFace);
    bar.Hidden = Hidden;
    Base().DrawMarkContents(&bar, s.C()->CurrentDC(), TRect(0, 0, 11, Height));
    return std::make_pair(s.Bounds(Sys(COLOR_BTNTEXT)), s.Count(TRect(0, 0, 11, 10), Sys(COLOR_BTNTEXT)));
  };
  // The quick-customizing triangle, 5 wide and 3 high, 7 pixels above the bottom (6 when small).
  EXPECT_EQ(contents(17, false).first, TRect(3, 10, 8, 13));
  EXPECT_EQ(contents(16, false).first, TRect(3, 10, 8, 13)) << "one pixel lower from a bottom one higher";
  auto hidden = contents(17, true);
  EXPECT_EQ(hidden.first.Top, 4) << "the chevrons above the triangle";
  EXPECT_GT(hidden.second, 0);
  // The Standard look has no quick customizing: chevrons only.
  TSurface standard(11, 30, clBtnFace);
  bar.Hidden = false;
  Standard().DrawMarkContents(&bar, standard.C()->CurrentDC(), TRect(0, 0, 11, 17));
  EXPECT_TRUE(standard.Bounds(Sys(COLOR_BTNTEXT)).IsEmpty());

  // A vertical bar keeps its mark at the bottom, the triangle pointing left.
  bar.Docking = dsLeft;
  bar.Width = 22;
  EXPECT_EQ(Base().MarkRect(&bar), TRect(0, 11, 22, 22));
  TSurface vertical(22, 11, clBtnFace);
  Base().DrawMarkContents(&bar, vertical.C()->CurrentDC(), TRect(0, 0, 22, 11));
  EXPECT_EQ(vertical.Bounds(Sys(COLOR_BTNTEXT)), TRect(3, 3, 6, 8));
}

TEST(BarPainterMetrics, BorderSizesOfFloatingAndDockedBars) {
  int fx = GetSystemMetrics(SM_CXFRAME), fy = GetSystemMetrics(SM_CYFRAME);
  EXPECT_EQ(Base().BarBorderSizes(nullptr, dsNone, false), TRect(fx, fy, fx, fy));
  EXPECT_EQ(Standard().BarBorderSizes(nullptr, dsNone, true), TRect(fx, fy, fx, fy))
      << "a floating bar without a shown caption has its frame alone";
  EXPECT_EQ(Base().BarBorderSizes(nullptr, dsTop, false), TRect(2, 2, 2, 2));
  EXPECT_EQ(Base().BarBorderSizes(nullptr, dsLeft, false), TRect(2, 2, 2, 2));
  TRect caption = Base().FloatingCaptionRect(nullptr, TRect(0, 0, 200, 80));
  EXPECT_EQ(caption, TRect(fx, fy, 200 - fx, fy + Base().SmallCaptionHeight()));
}

namespace {
// Records the texts a painter hands to its caption drawing.
struct TTextRecorder : TdxBarPainter {
  mutable std::vector<std::string> Texts;
  void DrawItemText(TdxBarItemControl*, HDC, UINT, bool, bool, bool, bool, bool, int, const TRect&,
                    const std::string& Text) const override {
    Texts.push_back(Text);
  }
};
}  // namespace

TEST(BarPainterDrawing, ADescriptionOfThreeLinesShowsTheFirstAndTheRestInTheSecond) {
  TSurface s(200, 60);
  s.C()->CurrentFont()->SetName("DejaVu Sans");
  s.C()->CurrentFont()->SetHeight(-12);
  TdxBarButtonLikeControlDrawParams dp(nullptr);
  dp.DrawCanvas = s.C();
  int word = s.C()->MeasureTextWidth("Opens ") + 2;
  struct {
    const char* Text;
    int Width;
    std::vector<std::string> Lines;
  } cases[] = {
      {"Opens a sound file", 200, {"Opens a sound file"}},
      {"Opens a sound", 2 * word, {"Opens a", "sound"}},
      {"Opens a sound file  ", word, {"Opens", "a sound file"}},
  };
  for (auto& c : cases) {
    TTextRecorder p;
    p.DrawWrappedCaption(&dp, c.Text, 2, 0, TRect(0, 0, c.Width, 60));
    EXPECT_EQ(p.Texts, c.Lines) << c.Text;
  }
}

TEST(BarPainterDrawing, FloatingCaptionIsFilledInTheInactiveCaptionColourWithALineUnderIt) {
  TFakeBarControl bar;
  TSurface s(80, 24, clRed);
  TRect caption(2, 2, 78, 18);
  Base().DrawFloatingCaption(&bar, s.C()->CurrentDC(), GetSysColorBrush(COLOR_BTNFACE), caption);
  EXPECT_EQ(s.Count(caption, Sys(COLOR_INACTIVECAPTION)), caption.Width() * caption.Height());
  EXPECT_EQ(s.Bounds(Sys(COLOR_BTNFACE)), TRect(2, 18, 78, 19));
  // The close button's hot background: a selection-brush face inside the frame.
  TSurface b(20, 20, clRed);
  Base().DrawCloseButtonBackground(&bar, b.C()->CurrentDC(), 1, TRect(0, 0, 20, 20));
  EXPECT_EQ(b.Count(TRect(1, 1, 19, 19), Sys(COLOR_HIGHLIGHT)), 18 * 18);
}

// ---- drawing objects and clip regions

namespace {
struct TThrowingPainter : TdxBarPainter {
  void FillControlBackground(TdxBarItemControl*, HDC, bool, HBRUSH, const TRect&) const override {
    throw Exception("paint failed");
  }
};
}  // namespace

TEST(BarPainterHygiene, EveryCallLeavesNoObjectAndTheClipAsItWas) {
  TFakeBarControl bar;
  BarCheckerBrush();  // the unit's brush lives on
  TSurface s(120, 60, clBtnFace);
  HDC dc = s.C()->CurrentDC();
  IntersectClipRect(dc, 2, 2, 110, 50);
  const TRect r(10, 10, 60, 40);
  TdxBarProgressControlDrawParams progress(nullptr);
  progress.DrawCanvas = s.C();
  progress.Position = 60;
  TdxBarStaticLikeControlDrawParams text(nullptr);
  text.DrawCanvas = s.C();
  text.CaptionText = "Ready";
  text.ShownParts = dxBarCaptionPart;
  text.BorderStyle = sbsBump;
  TdxBarButtonLikeControlDrawParams button(nullptr), menuButton(nullptr);
  for (auto* b : {&button, &menuButton}) {
    b->DrawCanvas = s.C();
    b->CaptionText = "&Open";
    b->ShownParts = dxBarCaptionPart | dxBarGlyphPart;
    b->Highlighted = true;
    b->HasDropDownPart = true;
    b->SeparateArrowPart = b == &button;
    b->ArrowAreaSize = TSize{11, 4};
  }
  menuButton.PaintKind = 1;
  menuButton.ShortCutText = "Ctrl+O";
  TdxBarEditLikeControlDrawParams edit(nullptr);
  edit.DrawCanvas = s.C();
  edit.Highlighted = true;
  edit.PopupOpen = true;
  TdxBarSpinEditDrawParams spin(nullptr);
  spin.DrawCanvas = s.C();
  spin.DrawEnabled = false;
  TdxBarColorComboControlDrawParams colorCombo(nullptr);
  colorCombo.DrawCanvas = s.C();
  TdxBarInPlaceSubItemControlDrawParams inPlace(nullptr);
  inPlace.DrawCanvas = s.C();
  inPlace.CaptionText = "More";
  inPlace.ArrowAreaSize = TSize{11, 4};
  std::vector<std::pair<const char*, std::function<void(const TdxBarPainter&)>>> calls = {
      {"DrawArrow", [&](auto& p) { p.DrawArrow(dc, r, adDown, false, false, false, clDefault); }},
      {"DrawArrowSized", [&](auto& p) { p.DrawArrowSized(dc, r, adRight, 4, true, true, false, clDefault); }},
      {"DrawCaptionMarkArrow", [&](auto& p) { p.DrawCaptionMarkArrow(&bar, dc, r); }},
      {"DrawMarkChevrons", [&](auto& p) { p.DrawMarkChevrons(&bar, dc, 20, r); }},
      {"DrawCheckSign", [&](auto& p) { p.DrawCheckSign(nullptr, dc, 2, 12, 12); }},
      {"DrawItemText", [&](auto& p) { p.DrawItemText(nullptr, dc, 0, false, true, false, false, false, 0, r, "Ab"); }},
      {"DrawPushButton", [&](auto& p) { p.DrawPushButton("OK", dc, false, 1, r); }},
      {"DrawDropDownListBorder", [&](auto& p) { p.DrawDropDownListBorder(dc, clRed, r); }},
      {"FrameControlBackground", [&](auto& p) { p.FrameControlBackground(nullptr, dc, false, GetSysColorBrush(COLOR_BTNFACE), r); }},
      {"FillDisabledShadow", [&](auto& p) { p.FillDisabledShadow(nullptr, dc, r); }},
      {"DrawFloatingBorder", [&](auto& p) { p.DrawFloatingBorder(&bar, dc, r); }},
      {"DrawBarSeparator", [&](auto& p) { p.DrawBarSeparator(&bar, dc, false, GetSysColorBrush(COLOR_BTNFACE), r); }},
      {"DrawMenuSeparator", [&](auto& p) { p.DrawMenuSeparator(nullptr, nullptr, r, s.C()); }},
      {"DrawProgressBar", [&](auto& p) { p.DrawProgressBar(&progress, r, clRed); }},
      {"DrawStatic", [&](auto& p) { p.DrawStatic(&text, r); }},
      {"DrawButtonLike", [&](auto& p) { p.DrawButtonLike(&button, r); }},
      {"DrawButtonLike in a menu", [&](auto& p) { p.DrawButtonLike(&menuButton, r); }},
      {"DrawMark", [&](auto& p) { p.DrawMark(&bar, s.C(), GetSysColorBrush(COLOR_BTNFACE), r); }},
      {"DrawDockedBorder", [&](auto& p) { p.DrawDockedBorder(&bar, dc, r); }},
      {"DrawBarSizeGrip", [&](auto& p) { p.DrawBarSizeGrip(&bar, dc, GetSysColorBrush(COLOR_BTNFACE), r); }},
      {"DrawFloatingCaption", [&](auto& p) { p.DrawFloatingCaption(&bar, dc, GetSysColorBrush(COLOR_BTNFACE), r); }},
      {"DrawCloseButtonBackground", [&](auto& p) { p.DrawCloseButtonBackground(&bar, dc, 1, r); }},
      {"DrawMenuBorder", [&](auto& p) { p.DrawMenuBorder(nullptr, dc, r); }},
      {"DrawEdit", [&](auto& p) { p.DrawEdit(&edit, r); }},
      {"DrawEditBorder", [&](auto& p) { TRect e = r; p.DrawEditBorder(&edit, e); }},
      {"DrawComboButton", [&](auto& p) { p.DrawComboButton(&edit, r, true); }},
      {"DrawSpinButton", [&](auto& p) { p.DrawSpinButton(&spin, r, 1); }},
      {"DrawEllipsisButton", [&](auto& p) { p.DrawEllipsisButton(&colorCombo, r); }},
      {"DrawInPlaceSubItem", [&](auto& p) { p.DrawInPlaceSubItem(&inPlace, r); }},
  };
  TdxBarFlatPainter flat;
  // The flat look keeps brushes of its colours for drawing without a manager: made once.
  for (auto& [name, call] : calls) call(flat);
  for (const TdxBarPainter* painter : {static_cast<const TdxBarPainter*>(&Base()), static_cast<const TdxBarPainter*>(&Standard()),
                                       static_cast<const TdxBarPainter*>(&Enhanced()), static_cast<const TdxBarPainter*>(&flat)})
    for (auto& [name, call] : calls) {
      int objects = LiveGdiObjectCount();
      std::vector<RECT> clip = ClipOf(dc);
      call(*painter);
      EXPECT_EQ(LiveGdiObjectCount(), objects) << name;
      EXPECT_EQ(ClipOf(dc), clip) << name;
    }

  // A chunk that fails to draw leaves the chunk brush deleted.
  struct TThrowingChunks : TdxBarPainter {
    void DrawProgressChunk(TdxBarProgressControlDrawParams*, const TRect&, HBRUSH) const override {
      throw Exception("chunk failed");
    }
  } chunks;
  int before = LiveGdiObjectCount();
  EXPECT_THROW(chunks.DrawProgressBar(&progress, r, clRed), Exception);
  EXPECT_EQ(LiveGdiObjectCount(), before);

  TThrowingPainter thrower;
  int objects = LiveGdiObjectCount();
  std::vector<RECT> clip = ClipOf(dc);
  EXPECT_THROW(thrower.FrameControlBackground(nullptr, dc, false, GetSysColorBrush(COLOR_BTNFACE), r), Exception);
  EXPECT_EQ(LiveGdiObjectCount(), objects);
  EXPECT_EQ(ClipOf(dc), clip) << "the excluded inside is given back when the fill raises";
}
