// The base painter's own behaviour: its metrics and default colours, and the shapes of its drawing
// routines read back as pixels, plus the frames the Standard and Flat painters add.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/PainterTestSupport.h"
#include "suite/core/VisualStyleState.h"

namespace {

using painter_test::Painter;
using painter_test::Rgb;
using painter_test::TSurface;

const TcxCustomLookAndFeelPainter& Base() {
  static const TcxCustomLookAndFeelPainter base;
  return base;
}

}  // namespace

TEST(PainterBase, Metrics) {
  const TcxCustomLookAndFeelPainter& b = Base();
  const TcxCustomLookAndFeelPainter* std_ = Painter("Standard");
  struct TInt {
    const char* What;
    int Value, Expected;
  };
  const TInt ints[] = {
      {"group expand extent", b.GroupExpandButtonExtent(), 15},
      {"small expand extent", b.SmallExpandButtonExtent(), 9},
      {"check frame", b.CheckFrameWidth(), 2},
      {"edge line", b.EdgeLineWidth(), 2},
      {"tip footer line", b.TipFooterLineSize(), 3},
      {"footer line", b.FooterLineHeight(), 1},
      {"thin frame", b.ThinFrameWidth(), 1},
      {"min thumb", b.MinThumbLength(true), 8},
      {"header height", b.HeaderHeightFor(13), 17},
      {"Standard header height", std_->HeaderHeightFor(13), 19},
      {"blank", b.BlankMetric1() + b.BlankMetric2() + b.BlankMetric3(), 0},
      {"Standard section frame", std_->HeaderSectionFrameWidth(esNormal), 2},
      {"Standard pressed section frame", std_->HeaderSectionFrameWidth(esPressed), 1},
      {"Flat section frame", Painter("Flat")->HeaderSectionFrameWidth(esNormal), 1},
      {"tab frame", std_->TabFrameWidth(false), 1},
  };
  for (const TInt& c : ints) EXPECT_EQ(c.Value, c.Expected) << c.What;

  const int popupA[] = {0, 1, 4, 2}, popupB[] = {0, 2, 2, 1}, alpha[] = {128, 128, 128, 255};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(b.PopupStyleCodeA(i), popupA[i]) << i;
    EXPECT_EQ(b.PopupStyleCodeB(i), popupB[i]) << i;
    EXPECT_EQ(b.PreviewShadowAlpha(i), alpha[i]) << i;
  }
  const int container[] = {0, 1, 2, 2, 2, 1, 1};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(b.ContainerStyleCode(i), container[i]) << i;

  struct TSz {
    const char* What;
    TSize Value, Expected;
  };
  const TSz sizes[] = {
      {"filter check", b.FilterCheckExtent(), {13, 13}},
      {"filter close", b.FilterCloseButtonExtent(), {16, 14}},
      {"filter drop-down", b.FilterDropDownButtonExtent(), {15, 0}},
      {"popup close", b.PopupCloseButtonExtent(), {14, 15}},
      {"sort mark area", b.SortMarkAreaExtent(), {16, 0}},
      {"Standard sort mark area", std_->SortMarkAreaExtent(), {16, 7}},
      {"edit button", b.EditButtonExtent(), {0, 0}},
  };
  for (const TSz& c : sizes) {
    EXPECT_EQ(c.Value.cx, c.Expected.cx) << c.What;
    EXPECT_EQ(c.Value.cy, c.Expected.cy) << c.What;
  }

  EXPECT_EQ(b.ProgressBarMargins(), TRect(2, 2, 2, 2));
  EXPECT_EQ(b.PreviewMargins(), TRect(2, 2, 4, 4));
  TRect borders;
  TSize arrow{};
  bool text = false;
  b.NavButtonMetrics(false, borders, arrow, text);
  EXPECT_EQ(borders, TRect(0, 6, 2, 6));
  EXPECT_EQ(arrow.cx, 7);
  EXPECT_TRUE(text);
  b.NavButtonMetrics(true, borders, arrow, text);
  EXPECT_EQ(borders, TRect(2, 6, 0, 6));

  // Bounds derived from the frame widths.
  EXPECT_EQ(b.SeparatorBounds(TRect(0, 0, 20, 10), 2, true), TRect(0, 4, 20, 6));
  EXPECT_EQ(b.SeparatorBounds(TRect(0, 0, 10, 20), 3, false), TRect(4, 0, 7, 20));
  EXPECT_EQ(std_->FooterCellTextBounds(TRect(0, 0, 40, 20)), TRect(3, 3, 37, 17));
  EXPECT_EQ(b.HeaderSectionTextBounds(TRect(0, 0, 10, 10), esPressed), TRect(1, 1, 11, 11));
  EXPECT_EQ(b.HeaderSectionTextBounds(TRect(0, 0, 10, 10), esHot), TRect(0, 0, 10, 10));
  EXPECT_EQ(std_->HeaderSectionContentBounds(TRect(0, 0, 20, 20), esNormal), TRect(2, 2, 18, 18));
  EXPECT_EQ(std_->HeaderSectionContentBounds(TRect(0, 0, 20, 20), esPressed), TRect(1, 1, 19, 19));
  EXPECT_EQ(b.GroupButtonBounds(TRect(1, 2, 3, 4), 3, 1), TRect(1, 2, 3, 4));
  EXPECT_EQ(std_->ButtonGroupBorderWidths(3, 1), TRect(2, 2, 2, 2));
  EXPECT_TRUE(b.HitsGroupExpandButton(TRect(0, 0, 10, 10), TPoint(9, 9)));
  EXPECT_FALSE(b.HitsGroupExpandButton(TRect(0, 0, 10, 10), TPoint(10, 9)));
  EXPECT_FALSE(b.HeaderOuterBounds(TRect(0, 0, 10, 10), {}, cxBordersAll) != TRect(0, 0, 10, 10))
      << "the base draws every side, so nothing grows";

  TSurface s(100, 20);
  TSize size;
  s.C()->MeasureText("Width", size);
  const int w = int(size.cx);
  EXPECT_EQ(std_->HeaderWidthFor(s.C(), TcxBorders{bLeft}, "Width", nullptr), w + 5);
  EXPECT_EQ(std_->HeaderWidthFor(s.C(), TcxBorders{bRight}, "Width", nullptr), w + 3);
  EXPECT_EQ(std_->HeaderWidthFor(s.C(), cxBordersAll, "Width", nullptr), w + 4);
}

TEST(PainterBase, DefaultColours) {
  TVisualStylesAbsent styles;
  const TcxCustomLookAndFeelPainter& b = Base();
  struct TCase {
    const char* What;
    TColor Value, Expected;
  };
  const TCase cases[] = {
      {"view 16", b.ViewColor16(), TColor(0xFF0000)},
      {"view 20 forwards to 7", b.ViewColor20(), b.ViewColor7()},
      {"view 21, the size grip", b.ViewColor21(), clBtnFace},
      {"view 22 forwards to 27", b.ViewColor22(), TColor(0)},
      {"view 28 falls back to the window colour", b.ViewColor28(), clWindow},
      {"view 30 with the accent", b.ViewColor30(true), b.AccentTextColor()},
      {"view 30 without", b.ViewColor30(false), clBtnText},
      {"view 42", b.ViewColor42(), TColor(0x9D9DA1)},
      {"view 47", b.ViewColor47(), TColor(0xD5FFFF)},
      {"view 48 forwards to 51", b.ViewColor48(), clHighlightText},
      {"view 65", b.ViewColor65(), TColor(0xCFCFCF)},
      {"view 68", b.ViewColor68(), TColor(0xF0CAA6)},
      {"view 72 highlighted", b.ViewColor72(true), clHighlight},
      {"view 73 plain", b.ViewColor73(false), clBtnText},
      {"alternate window", b.AltWindowColor(), clWindow},
      {"content", b.ContentColorFor(true), clDefault},
      {"caption text", b.CaptionTextColor(), clWindowText},
      {"caption highlight", b.CaptionColorFor(true), clDefault},
      {"group box disabled", b.GroupBoxTextColor(false), clBtnShadow},
      {"panel text", b.PanelTextColor(), clWindowText},
      {"group panel", b.GroupPanelColor(true), clWindow},
      {"group panel without an Office 2003 scheme", ColorToRGB(b.GroupPanelColor(false)), ColorToRGB(clBtnFace)},
      {"group colour A", b.GroupColorA(), clBtnShadow},
      {"splitter light", b.SplitterLightColor(false), TColor(0xFFFFFF)},
      {"nav text", b.NavButtonTextColor(true, esDisabled, TColor(0x123456)), clBtnShadow},
      {"radio pressed", b.RadioFaceColor(esPressed), clBtnFace},
      {"radio hot", b.RadioFaceColor(esHot), clWindow},
  };
  for (const TCase& c : cases) EXPECT_EQ(c.Value, c.Expected) << c.What;
  const TColor faces[] = {clWindow, clWindow, clWindow, clBtnFace, clBtnFace};
  for (int st = 0; st < 5; ++st) EXPECT_EQ(b.CheckFaceColor(TcxElementState(st)), faces[st]) << st;

  // A forwarding entry follows the entry it forwards to in a painter that overrides that one.
  struct TRed : TcxCustomLookAndFeelPainter {
    TColor ViewColor7() const override { return TColor(0x0000FF); }
    TColor ContentColor(TcxElementState) const override { return TColor(0x00FF00); }
  } red;
  EXPECT_EQ(red.ViewColor20(), TColor(0x0000FF));
  EXPECT_EQ(red.ViewColor28(), TColor(0x00FF00));
}

TEST(PainterBase, ArrowsReadBack) {
  // The filled triangle of a 9×9 down arrow: (6, 3), (4, 5), (2, 3).
  TSurface s(9, 9);
  Base().PaintArrow(s.C(), TRect(0, 0, 9, 9), adDown, TColor(0));
  EXPECT_EQ(s.Picture(TRect(0, 2, 9, 7), TColor(0)), (std::vector<std::string>{
                                                          ".........",
                                                          "..XXXXX..",
                                                          "...XXX...",
                                                          "....X....",
                                                          ".........",
                                                      }));
  TSurface r(9, 9);
  Base().PaintArrow(r.C(), TRect(0, 0, 9, 9), adRight, TColor(0));
  EXPECT_EQ(r.Bounds(TColor(0)), TRect(3, 2, 6, 7));
  EXPECT_EQ(r.At(5, 4), 0u) << "the tip";

  // The drop-down arrow: half the width made odd, half of that plus one high, centred.
  struct TCase {
    int Width, W, H;
  };
  for (TCase c : {TCase{10, 5, 3}, {12, 7, 4}, {9, 5, 3}, {7, 3, 2}, {20, 11, 6}}) {
    TSurface d(c.Width, 12);
    Base().DrawDropDownArrow(d.C(), TRect(0, 0, c.Width, 12), TColor(0));
    TRect ink = d.Bounds(TColor(0));
    EXPECT_EQ(ink.Width(), c.W) << c.Width;
    EXPECT_EQ(ink.Height(), c.H) << c.Width;
    EXPECT_EQ(ink.Left, (c.Width - c.W) / 2) << c.Width;
    EXPECT_EQ(d.At(ink.Left + c.W / 2, ink.Bottom - 1), 0u) << "the tip is in the middle, " << c.Width;
  }

  // A disabled scroll arrow is embossed: a highlight copy one pixel down and right under the
  // shadow-coloured one; a normal one is a single triangle in the glyph colour.
  TSurface e(9, 9, clBtnFace);
  Base().DrawScrollArrow(e.C(), TRect(0, 0, 9, 9), esDisabled, adDown);
  EXPECT_EQ(e.Bounds(clBtnShadow), TRect(2, 3, 7, 6));
  EXPECT_EQ(e.At(7, 4), Rgb(clBtnHighlight));
  EXPECT_EQ(e.At(5, 6), Rgb(clBtnHighlight));
  TSurface n(9, 9, clBtnFace);
  Base().DrawScrollArrow(n.C(), TRect(0, 0, 9, 9), esHot, adDown);
  EXPECT_EQ(n.Bounds(clBtnText), TRect(2, 3, 7, 6));
  EXPECT_EQ(n.Count(TRect(0, 0, 9, 9), clBtnHighlight), 0);
}

TEST(PainterBase, SmallGlyphs) {
  // Plus and minus inside a 9×9 frame: bars of 5 through the centre.
  TSurface plus(9, 9), minus(9, 9);
  Base().PaintSmallExpandButton(plus.C(), TRect(0, 0, 9, 9), false, TColor(0x0000FF), clWindow);
  Base().PaintSmallExpandButton(minus.C(), TRect(0, 0, 9, 9), true, TColor(0x0000FF), clWindow);
  const std::vector<std::string> cross = {".......", "...X...", "...X...", ".XXXXX.", "...X...", "...X...", "......."};
  EXPECT_EQ(plus.Picture(TRect(1, 1, 8, 8), clBtnText), cross);
  EXPECT_EQ(minus.Picture(TRect(1, 1, 8, 8), clBtnText),
            (std::vector<std::string>{".......", ".......", ".......", ".XXXXX.", ".......", ".......", "......."}));
  EXPECT_EQ(plus.Count(TRect(0, 0, 9, 9), TColor(0x0000FF)), 32) << "the one-pixel frame";

  // The list mark: five lines two pixels apart, dots before the first, third and fifth.
  TSurface list(14, 14);
  Base().PaintListMark(list.C(), TRect(0, 0, 14, 14), TColor(0));
  EXPECT_EQ(list.Picture(TRect(0, 2, 14, 11), TColor(0)), (std::vector<std::string>{
                                                              "...X.XXXXXX...",
                                                              "..............",
                                                              ".....XXXXXX...",
                                                              "..............",
                                                              "...X.XXXXXX...",
                                                              "..............",
                                                              ".....XXXXXX...",
                                                              "..............",
                                                              "...X.XXXXXX...",
                                                          }));

  // The close cross: 7 pixels (half of 16, made odd) each way, two pixels thick, centred; it
  // moves by one pixel when pressed.
  TSurface close(16, 14);
  Base().PaintFilterCloseButton(close.C(), TRect(0, 0, 16, 14), esNormal);
  EXPECT_EQ(close.Bounds(clBtnText), TRect(4, 3, 12, 10));
  for (int i = 0; i < 7; ++i) {
    EXPECT_EQ(close.At(4 + i, 3 + i), Rgb(clBtnText)) << i;
    EXPECT_EQ(close.At(5 + i, 3 + i), Rgb(clBtnText)) << i;
    EXPECT_EQ(close.At(4 + i, 9 - i), Rgb(clBtnText)) << i;
  }
  TSurface pressed(16, 14);
  Base().PaintFilterCloseButton(pressed.C(), TRect(0, 0, 16, 14), esPressed);
  EXPECT_EQ(pressed.Bounds(clBtnText), TRect(5, 4, 13, 11));

  // The group expand mark: two chevrons with arms of three, two pixels thick, centred.
  TSurface up(15, 15), down(15, 15);
  Base().PaintGroupExpandButton(up.C(), TRect(0, 0, 15, 15), true, esNormal);
  Base().PaintGroupExpandButton(down.C(), TRect(0, 0, 15, 15), false, esNormal);
  const std::vector<std::string> chevrons = {
      "...X...", "..XXX..", ".XX.XX.", "XX...XX", "X..X..X", "..XXX..", ".XX.XX.", "XX...XX", "X.....X",
  };
  EXPECT_EQ(up.Picture(TRect(4, 3, 11, 12), clBtnText), chevrons);
  std::vector<std::string> flipped(chevrons.rbegin(), chevrons.rend());
  EXPECT_EQ(down.Picture(TRect(4, 3, 11, 12), clBtnText), flipped);

  // Rotated a quarter turn, the expanded mark points left.
  TSurface left(15, 15);
  Base().PaintRotatedGroupButton(left.C(), TRect(0, 0, 15, 15), raPlus90, true, esNormal);
  EXPECT_EQ(left.Bounds(clBtnText), TRect(3, 4, 12, 11));
  EXPECT_EQ(left.At(3, 7), Rgb(clBtnText)) << "the tip of the front chevron";

  // The check mark: a three-pixel-thick tick inside the rectangle, nothing when unchecked.
  TSurface tick(9, 9), empty(9, 9, TColor(0x00FF00));
  Base().PaintCheckMark(tick.C(), TRect(0, 0, 9, 9), esNormal, true, TColor(0));
  Base().PaintCheckMark(empty.C(), TRect(0, 0, 9, 9), esPressed, false, TColor(0));
  EXPECT_EQ(tick.Bounds(TColor(0)), TRect(1, 1, 8, 8));
  EXPECT_EQ(tick.Picture(TRect(0, 0, 9, 9), TColor(0)),
            (std::vector<std::string>{".........", ".......X.", "......XX.", ".X...XXX.", ".XX.XXX..", ".XXXXX...",
                                      "..XXX....", "...X.....", "........."}));
  EXPECT_EQ(empty.Count(TRect(0, 0, 9, 9), clBtnFace), 81) << "the pressed face fills, no mark";

  // Indicator kind 0 draws nothing.
  TSurface none(12, 12);
  Base().PaintIndicatorGlyph(none.C(), TRect(0, 0, 12, 12), 0);
  EXPECT_EQ(none.Count(TRect(0, 0, 12, 12), TColor(0xFFFFFF)), 144);
}

TEST(PainterBase, SortMarks) {
  // An outlined triangle of the painter's extent (8 × 7 here), centred: the left side dark, the
  // right side light, the base light at the bottom when ascending and dark at the top otherwise.
  auto draw = [](bool Ascending) {
    TSurface s(14, 13, TColor(0x00FF00));
    Painter("Standard")->PaintSortMark(s.C(), TRect(0, 0, 14, 13), Ascending);
    std::vector<std::string> rows;
    for (int y = 3; y < 10; ++y) {
      std::string row;
      for (int x = 2; x < 12; ++x)
        row += s.At(x, y) == Rgb(clBtnShadow) ? 'D' : s.At(x, y) == Rgb(clBtnHighlight) ? 'L' : '.';
      rows.push_back(row);
    }
    return rows;
  };
  EXPECT_EQ(draw(true), (std::vector<std::string>{"....D.....", "...D.L....", "...D.L....", "..D...L...",
                                                  "..D....L..", ".D......L.", ".LLLLLLLL."}));
  EXPECT_EQ(draw(false), (std::vector<std::string>{".DDDDDDDD.", ".D......L.", "..D....L..", "..D...L...",
                                                   "...D.L....", "...D.L....", "....D....."}));
  TSurface none(14, 13, TColor(0x00FF00));
  Base().PaintSortMark(none.C(), TRect(0, 0, 14, 13), true);
  EXPECT_EQ(none.Count(TRect(0, 0, 14, 13), TColor(0x00FF00)), 14 * 13) << "the base draws no sort mark";
}

TEST(PainterBase, CaptionTextOverAHighlight) {
  TFont font;
  font.SetName("DejaVu Sans");
  font.SetSize(10);
  const TRect text(0, 0, 120, 20), highlight(0, 0, 60, 20);
  auto draw = [&](const TcxCustomLookAndFeelPainter& p, bool UseTextColor, TColor TextColor) {
    auto s = std::make_unique<TSurface>(120, 20, clWindow);
    s->C()->FillRectWithColor(highlight, clHighlight);
    s->C()->AssignFont(&font);
    p.PaintCaptionText(s->C(), false, UseTextColor, "MMMMMMMMMMMM", text, true, highlight, TextColor);
    return s;
  };
  const TColor inverted = TColor(~uint32_t(ColorToRGB(clHighlight)) & 0xFFFFFF);
  // The base painter has no highlight caption colour: the text inverts what lies under it.
  auto s = draw(Base(), false, clDefault);
  EXPECT_GT(s->Count(highlight, inverted), 20);
  EXPECT_EQ(s->Count(highlight, clWindowText), 0);
  EXPECT_GT(s->Count(TRect(60, 0, 120, 20), clWindowText), 20);
  EXPECT_EQ(s->Count(TRect(60, 0, 120, 20), inverted), 0);

  // With one, the text takes it inside the highlight and the plain caption colour outside.
  struct TTwoColours : TcxCustomLookAndFeelPainter {
    TColor CaptionColorFor(bool Flag) const override { return Flag ? TColor(0x00FFFF) : TColor(0x0000FF); }
  } two;
  s = draw(two, false, clDefault);
  EXPECT_GT(s->Count(highlight, TColor(0x00FFFF)), 20);
  EXPECT_EQ(s->Count(highlight, TColor(0x0000FF)), 0);
  EXPECT_GT(s->Count(TRect(60, 0, 120, 20), TColor(0x0000FF)), 20);
  EXPECT_EQ(s->Count(TRect(60, 0, 120, 20), TColor(0x00FFFF)), 0);

  // A colour of the caller's own is drawn once, over the highlight too.
  s = draw(Base(), true, TColor(0x00FF00));
  EXPECT_GT(s->Count(highlight, TColor(0x00FF00)), 20);
  EXPECT_GT(s->Count(TRect(60, 0, 120, 20), TColor(0x00FF00)), 20);
  EXPECT_EQ(s->Count(highlight, inverted), 0);
}

TEST(PainterBase, PreviewPage) {
  const TColor back = TColor(0x00FF00);
  // A selected page of frame 1: the highlight around a window-coloured content, a two-pixel
  // shadow at the right and bottom.
  TSurface s(30, 40, back);
  Base().PaintPreviewPage(s.C(), TRect(0, 0, 30, 40), TRect(4, 4, 24, 32), 1, true);
  struct TCase {
    int X, Y;
    TColor Color;
  };
  for (TCase c : {TCase{0, 0, clHighlight}, {27, 37, clHighlight}, {10, 10, clWindow}, {28, 2, clWindowText},
                  {29, 39, clWindowText}, {2, 38, clWindowText}, {29, 1, back}, {1, 39, back}, {28, 10, clWindowText},
                  {27, 10, clHighlight}})
    EXPECT_EQ(s.At(c.X, c.Y), Rgb(c.Color)) << c.X << "," << c.Y;

  // Frame 0 is one pixel smaller all round, in window text; an unselected content is left alone.
  TSurface f(30, 40, back);
  Base().PaintPreviewPage(f.C(), TRect(0, 0, 30, 40), TRect(4, 4, 24, 32), 0, false);
  for (TCase c : {TCase{0, 0, back}, {1, 1, clWindowText}, {26, 36, clWindowText}, {10, 10, back},
                  {27, 3, clWindowText}, {28, 38, clWindowText}, {29, 39, back}, {27, 2, back}})
    EXPECT_EQ(f.At(c.X, c.Y), Rgb(c.Color)) << "frame 0 at " << c.X << "," << c.Y;
}

TEST(PainterBase, NavigationButton) {
  // The stepped arrow: pairs of 2×1 steps from the far corners to the tip, closed by a column.
  TSurface next(7, 7), prev(7, 7);
  Base().PaintNavButtonArrow(next.C(), TRect(0, 0, 7, 7), true, TColor(0));
  Base().PaintNavButtonArrow(prev.C(), TRect(0, 0, 7, 7), false, TColor(0));
  const std::vector<std::string> right = {"XX.....", ".XX....", "..XX...", "...XXX.", "..XX...", ".XX....", "XX....."};
  EXPECT_EQ(next.Picture(TRect(0, 0, 7, 7), TColor(0)), right);
  std::vector<std::string> left;
  for (const std::string& row : right) left.emplace_back(row.rbegin(), row.rend());
  EXPECT_EQ(prev.Picture(TRect(0, 0, 7, 7), TColor(0)), left);
  TSurface even(8, 8);
  Base().PaintNavButtonArrow(even.C(), TRect(0, 0, 8, 8), true, TColor(0));
  EXPECT_EQ(even.Picture(TRect(0, 0, 8, 8), TColor(0)),
            (std::vector<std::string>{"XX......", ".XX.....", "..XX....", "...XXX..", "...XXX..", "..XX....",
                                      ".XX.....", "XX......"}));

  // The face: framed in shadow except at the end facing away, a raised ring inside.
  TSurface face(18, 30);
  Base().DrawNavButtonFace(face.C(), TRect(0, 0, 18, 30), TRect(6, 6, 13, 13), false, esNormal);
  EXPECT_EQ(face.At(17, 15), Rgb(clBtnShadow));
  EXPECT_EQ(face.At(8, 0), Rgb(clBtnShadow));
  EXPECT_EQ(face.At(0, 15), Rgb(clBtnHighlight)) << "the open end starts the inner ring";
  EXPECT_EQ(face.At(16, 15), Rgb(clBtnShadow));
  EXPECT_EQ(face.At(8, 1), Rgb(clBtnHighlight));
  EXPECT_EQ(face.At(12, 6), Rgb(clBtnText)) << "the arrow in the glyph colour";
  TSurface down(18, 30);
  Base().DrawNavButtonFace(down.C(), TRect(0, 0, 18, 30), TRect(6, 6, 13, 13), true, esPressed);
  EXPECT_EQ(down.At(0, 15), Rgb(clBtnShadow));
  EXPECT_EQ(down.At(1, 15), Rgb(clBtnShadow)) << "a pressed button's ring is sunken";
  EXPECT_EQ(down.At(17, 15), Rgb(clBtnHighlight));

  // Laid out, the arrow leads and the rotated text follows.
  TRect arrow, text;
  Base().LayoutNavButtons(TRect(0, 0, 18, 80), false, arrow, text);
  EXPECT_EQ(arrow, TRect(4, 6, 11, 13));
  EXPECT_EQ(text, TRect(0, 19, 16, 74));
}

TEST(PainterBase, MonthHeaderArrows) {
  // A 20-pixel header: the arrow area is rows 1 to 18, H = 9, y0 = 4.
  TSurface s(100, 20, TColor(0x00FF00));
  Base().PaintMonthHeader(s.C(), TRect(0, 0, 100, 20), "", {}, TcxViewParams{clWindow}, 3, 10);
  struct TCase {
    int X, Y;
    bool Ink;
  };
  for (TCase c : {TCase{9, 4, true}, {9, 14, true}, {4, 9, true}, {3, 9, false}, {10, 9, false}, {9, 3, false},
                  {91, 4, true}, {91, 14, true}, {96, 9, true}, {97, 9, false}, {90, 9, false}, {50, 9, false}})
    EXPECT_EQ(s.At(c.X, c.Y) == Rgb(clWindowText), c.Ink) << c.X << "," << c.Y;
  EXPECT_EQ(s.At(50, 2), Rgb(clWindow)) << "the header is filled with the view colour";

  // Only the left arrow.
  TSurface one(100, 20);
  Base().PaintMonthHeader(one.C(), TRect(0, 0, 100, 20), "", {}, TcxViewParams{clWindow}, 1, 10);
  EXPECT_EQ(one.Bounds(clWindowText), TRect(4, 4, 10, 15));

  // The Standard painter's frame lies on the neighbour sides, the arrows start below its border.
  TSurface frame(100, 20, TColor(0x00FF00));
  Painter("Standard")->PaintMonthHeader(frame.C(), TRect(0, 0, 100, 20), "", TcxBorders{bLeft, bBottom},
                                        TcxViewParams{clWindow}, 2, 10);
  EXPECT_EQ(frame.At(0, 5), 0u);
  EXPECT_EQ(frame.At(50, 19), 0u);
  EXPECT_EQ(frame.At(50, 0), Rgb(clWindow));
  // Its border of 2 moves the area to rows 3 to 18: H = 9, y0 = 5.
  EXPECT_EQ(frame.At(91, 5), 0u);
  EXPECT_EQ(frame.At(91, 4), Rgb(clWindow));
  EXPECT_EQ(frame.At(96, 10), 0u);
  EXPECT_EQ(frame.At(97, 10), Rgb(clWindow));
}

TEST(PainterBase, TrackBarThumbs) {
  struct TCase {
    bool Vertical;
    int Shape;
    TPoint Tip, Corner, Empty;
  };
  const TCase cases[] = {
      {false, 0, {5, 0}, {0, 20}, {0, 0}},
      {false, 1, {5, 20}, {0, 0}, {0, 20}},
      {true, 0, {0, 5}, {20, 0}, {0, 0}},
      {true, 1, {20, 5}, {0, 0}, {20, 0}},
      {false, 2, {5, 0}, {0, 0}, {-1, -1}},
  };
  for (const TCase& c : cases) {
    TSurface s(21, 21);
    TRect r = c.Vertical ? TRect(0, 0, 21, 11) : TRect(0, 0, 11, 21);
    Base().PaintTrackBarThumb(s.C(), r, esNormal, c.Vertical, c.Shape, TColor(0x0000FF));
    EXPECT_EQ(s.At(c.Tip.X, c.Tip.Y), Rgb(TColor(0x0000FF))) << c.Vertical << c.Shape;
    EXPECT_EQ(s.At(c.Corner.X, c.Corner.Y), Rgb(TColor(0x0000FF))) << c.Vertical << c.Shape;
    if (c.Empty.X >= 0) EXPECT_EQ(s.At(c.Empty.X, c.Empty.Y), 0xFFFFFFu) << c.Vertical << c.Shape;
  }
  // The shoulders of an upward pointer lie half the width below the tip.
  TSurface s(11, 21);
  Base().PaintTrackBarThumb(s.C(), TRect(0, 0, 11, 21), esNormal, false, 0, TColor(0));
  EXPECT_EQ(s.Picture(TRect(0, 0, 11, 6), TColor(0)),
            (std::vector<std::string>{".....X.....", "....XXX....", "...XXXXX...", "..XXXXXXX..", ".XXXXXXXXX.",
                                      "XXXXXXXXXXX"}));
  // The Standard painter frames it: highlight on the left slope, dark shadow on the right.
  TSurface f(11, 21, clBtnFace);
  Painter("Standard")->PaintTrackBarThumb(f.C(), TRect(0, 0, 11, 21), esNormal, false, 0, clBtnFace);
  EXPECT_EQ(f.At(0, 10), Rgb(clBtnHighlight));
  EXPECT_EQ(f.At(2, 3), Rgb(clBtnHighlight));
  EXPECT_EQ(f.At(10, 10), Rgb(cl3DDkShadow));
  EXPECT_EQ(f.At(9, 10), Rgb(clBtnShadow));
  EXPECT_EQ(f.At(5, 20), Rgb(cl3DDkShadow));
  // Turned down or right, the flat end faces the light.
  TSurface d(11, 21, clBtnFace);
  Painter("Standard")->PaintTrackBarThumb(d.C(), TRect(0, 0, 11, 21), esNormal, false, 1, clBtnFace);
  EXPECT_EQ(d.At(5, 0), Rgb(clBtnHighlight));
  EXPECT_EQ(d.At(0, 8), Rgb(clBtnHighlight));
  EXPECT_EQ(d.At(10, 8), Rgb(cl3DDkShadow));
  EXPECT_EQ(d.At(8, 17), Rgb(cl3DDkShadow)) << "the right slope";
  TSurface v(21, 11, clBtnFace);
  Painter("Standard")->PaintTrackBarThumb(v.C(), TRect(0, 0, 21, 11), esNormal, true, 1, clBtnFace);
  EXPECT_EQ(v.At(0, 5), Rgb(clBtnHighlight));
  EXPECT_EQ(v.At(8, 0), Rgb(clBtnHighlight));
  EXPECT_EQ(v.At(8, 10), Rgb(cl3DDkShadow));
}

TEST(PainterBase, SplitterGrip) {
  // Solid to five pixels before the centre, three dashes, solid again; the light line runs one
  // pixel further along and lower, and both stay inside the rectangle.
  TSurface s(40, 10, clBtnFace);
  Base().PaintSplitter(s.C(), TRect(0, 0, 40, 10), false, false, true);
  EXPECT_EQ(s.Picture(TRect(0, 5, 40, 6), clBtnShadow)[0], "XXXXXXXXXXXXXXX.XX.XX.XX.XXXXXXXXXXXXXX.");
  EXPECT_EQ(s.Picture(TRect(0, 6, 40, 7), TColor(0xFFFFFF))[0], ".XXXXXXXXXXXXXXX.XX.XX.XX.XXXXXXXXXXXXXX");
  EXPECT_EQ(s.Count(TRect(0, 0, 40, 5), clBtnShadow) + s.Count(TRect(0, 7, 40, 10), clBtnShadow), 0);

  // A one-pixel splitter draws a single full-length line; a vertical one runs down the middle.
  struct TThin : TcxCustomLookAndFeelPainter {
    TSize SplitterExtent(bool Horizontal) const override { return Horizontal ? TSize{17, 1} : TSize{1, 17}; }
  } thin;
  TSurface t(10, 40, clBtnFace);
  thin.PaintSplitter(t.C(), TRect(0, 0, 10, 40), true, false, false);
  EXPECT_EQ(t.Count(TRect(5, 0, 6, 40), clBtnShadow), 40 - 4);
  EXPECT_EQ(t.At(5, 39), Rgb(clBtnShadow));
  EXPECT_EQ(t.Count(TRect(0, 0, 10, 40), TColor(0xFFFFFF)), 0);
}

TEST(PainterBase, FramesByStyle) {
  // Popup frames: the content rectangle and the colours of the rings.
  struct TPopup {
    int Style;
    bool Flag;
    int Inset;
    TColor Outer, Second, Third, Fourth;
  };
  const TPopup popups[] = {
      {1, false, 1, clBtnText, TColor(0x00FF00), TColor(0x00FF00), TColor(0x00FF00)},
      {2, false, 4, cl3DLight, clBtnHighlight, clBtnFace, clBtnShadow},
      {2, true, 4, cl3DLight, clBtnHighlight, clInactiveBorder, clBtnFace},
      {3, false, 2, cl3DLight, clBtnHighlight, TColor(0x00FF00), TColor(0x00FF00)},
  };
  for (const TPopup& c : popups) {
    TSurface s(20, 20, TColor(0x00FF00));
    TRect r(0, 0, 20, 20);
    Base().PaintPopupFrame(s.C(), r, c.Style, c.Flag);
    EXPECT_EQ(r, TRect(c.Inset, c.Inset, 20 - c.Inset, 20 - c.Inset)) << c.Style << c.Flag;
    const TColor ring[4] = {c.Outer, c.Second, c.Third, c.Fourth};
    for (int k = 0; k < 4; ++k) EXPECT_EQ(s.At(k, 10), Rgb(ring[k])) << c.Style << c.Flag << " ring " << k;
    if (c.Style != 1) EXPECT_EQ(s.At(19, 10), Rgb(cl3DDkShadow)) << c.Style;
  }

  // Container frames by border style.
  struct TContainer {
    TcxContainerBorderStyle Style;
    TColor At00, At11, At22, AtEnd;
  };
  const TColor g = TColor(0x00FF00), red = TColor(0x0000FF);
  const TContainer containers[] = {
      {cbsNone, g, g, g, g},
      {cbsSingle, red, red, g, red},
      {cbsThick, red, red, g, red},
      {cbsFlat, clBtnShadow, clBtnFace, g, clBtnHighlight},
      {cbs3D, clBtnShadow, cl3DDkShadow, g, clBtnHighlight},
      {cbsUltraFlat, g, g, g, g},
      {cbsOffice11, g, g, g, g},
  };
  for (const TContainer& c : containers) {
    TSurface s(20, 20, g);
    Base().DrawContainerFrame(s.C(), TRect(0, 0, 20, 20), c.Style, 2, red, cxBordersAll);
    EXPECT_EQ(s.At(0, 0), Rgb(c.At00)) << int(c.Style);
    EXPECT_EQ(s.At(1, 1), Rgb(c.At11)) << int(c.Style);
    EXPECT_EQ(s.At(2, 2), Rgb(c.At22)) << int(c.Style);
    EXPECT_EQ(s.At(19, 19), Rgb(c.AtEnd)) << int(c.Style);
  }
  TSurface inner(20, 20, g);
  Base().DrawContainerFrame(inner.C(), TRect(0, 0, 20, 20), cbs3D, 1, red, cxBordersAll);
  EXPECT_EQ(inner.At(18, 18), Rgb(cl3DLight));

  // The separator: a shadow band and a highlight band one pixel down and right.
  TSurface sep(20, 10, g);
  Painter("Standard")->DrawSeparator(sep.C(), TRect(0, 0, 20, 10), true);
  EXPECT_EQ(sep.Picture(TRect(0, 4, 20, 5), clBtnShadow)[0], "XXXXXXXXXXXXXXXXXXX.");
  EXPECT_EQ(sep.Picture(TRect(0, 5, 20, 6), clBtnHighlight)[0], ".XXXXXXXXXXXXXXXXXXX");
  TSurface zero(20, 10, g);
  Base().DrawSeparator(zero.C(), TRect(0, 0, 20, 10), true);
  EXPECT_EQ(zero.Count(TRect(0, 0, 20, 10), g), 200) << "no border, no separator";

  // The base container background: a raised ring, and the rectangle comes back one pixel in.
  TSurface bg(20, 20, g);
  TRect r(0, 0, 20, 20);
  Base().PaintContainerBackground(bg.C(), r);
  EXPECT_EQ(r, TRect(1, 1, 19, 19));
  EXPECT_EQ(bg.At(0, 5), Rgb(clBtnHighlight));
  EXPECT_EQ(bg.At(19, 5), Rgb(clBtnShadow));
  EXPECT_EQ(bg.At(5, 5), Rgb(clBtnFace));
}

TEST(PainterBase, SizeGripPointsIntoItsCorner) {
  for (int corner = 0; corner < 4; ++corner) {
    TSurface s(17, 17, clBtnFace);
    Base().PaintSizeGrip(s.C(), TRect(0, 0, 17, 17), clBtnFace, TcxCorner(corner));
    const bool right = corner == coTopRight || corner == coBottomRight;
    const bool bottom = corner == coBottomLeft || corner == coBottomRight;
    TRect near(right ? 9 : 0, bottom ? 9 : 0, right ? 17 : 8, bottom ? 17 : 8);
    TRect far(right ? 0 : 9, bottom ? 0 : 9, right ? 8 : 17, bottom ? 8 : 17);
    EXPECT_GT(s.Count(near, clBtnShadow), 10) << corner;
    EXPECT_EQ(s.Count(far, clBtnShadow), 0) << corner;
  }
}

TEST(PainterBase, PopupResizeBarLayoutByCorner) {
  TcxCustomLookAndFeelPainter* p = Painter("Standard");
  struct TCase {
    TcxCorner Corner;
    TRect Bar, Grip, Content;
    int CloseCentreX;
  };
  // A 200×100 window, 2-pixel borders, a 24-pixel bar, close margins of 2.
  const TCase cases[] = {
      {coBottomRight, {2, 74, 198, 98}, {179, 79, 196, 96}, {2, 2, 198, 74}, (4 + 24) / 2},
      {coBottomLeft, {2, 74, 198, 98}, {4, 79, 21, 96}, {2, 2, 198, 74}, (176 + 196) / 2},
      {coTopRight, {2, 2, 198, 26}, {179, 4, 196, 21}, {2, 26, 198, 98}, (4 + 24) / 2},
      {coTopLeft, {2, 2, 198, 26}, {4, 4, 21, 21}, {2, 26, 198, 98}, (176 + 196) / 2},
  };
  for (const TCase& c : cases) {
    TRect r(0, 0, 200, 100), bar, grip, close;
    CalcPopupResizeBarLayout(p, r, bar, grip, close, c.Corner, TRect(2, 2, 2, 2), TRect(2, 2, 2, 2), 24, true, true);
    EXPECT_EQ(bar, c.Bar) << int(c.Corner);
    EXPECT_EQ(grip, c.Grip) << int(c.Corner);
    EXPECT_EQ(r, c.Content) << int(c.Corner);
    EXPECT_EQ(close.Width(), 14) << int(c.Corner);
    EXPECT_EQ(close.Height(), 15) << int(c.Corner);
    EXPECT_EQ((close.Left + close.Right) / 2, c.CloseCentreX) << int(c.Corner);
    EXPECT_EQ(close.Top, (c.Bar.Top + 2 + c.Bar.Bottom - 2 - 15) / 2) << int(c.Corner);
  }
  TRect r(0, 0, 200, 100), bar, grip, close;
  CalcPopupResizeBarLayout(p, r, bar, grip, close, coBottomRight, TRect(), TRect(), 0, false, false);
  EXPECT_EQ(bar.Height(), 21);
  EXPECT_TRUE(grip.IsEmpty());
  EXPECT_TRUE(close.IsEmpty());
}

namespace {
int gBarHeight = 0;
const int gBorder = 2;
// Gives the window a bar below its client area, as a sizable popup does.
LRESULT ShrinkClient(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam, UINT_PTR, DWORD_PTR) {
  LRESULT result = DefSubclassProc(Wnd, Msg, WParam, LParam);
  if (Msg == WM_NCCALCSIZE) {
    RECT& r = reinterpret_cast<NCCALCSIZE_PARAMS*>(LParam)->rgrc[0];
    r.left += gBorder;
    r.top += gBorder;
    r.right -= gBorder;
    r.bottom -= gBorder + gBarHeight;
  }
  return result;
}
}  // namespace

TEST(PainterBase, PopupResizeBarDrawnOnTheWindow) {
  HWND wnd = CreateWindowEx(0, "STATIC", "", WS_POPUP, 0, 0, 160, 100, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(wnd, nullptr);
  TcxCustomLookAndFeelPainter* p = Painter("Standard");
  RECT wr{}, cr{};
  GetWindowRect(wnd, &wr);
  const int border = gBorder;
  TRect content(wr), bar, grip, close;
  CalcPopupResizeBarLayout(p, content, bar, grip, close, coBottomRight, TRect(border, border, border, border),
                           TRect(2, 2, 2, 2), 0, true, true);
  gBarHeight = bar.Height();
  ASSERT_EQ(gBarHeight, 21);
  SetWindowSubclass(wnd, ShrinkClient, 1, 0);
  SetWindowPos(wnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
  GetClientRect(wnd, &cr);
  const int w = wr.right - wr.left, h = wr.bottom - wr.top;
  ASSERT_EQ(cr.bottom, h - 2 * border - gBarHeight);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  ASSERT_EQ(origin.x - wr.left, border);

  auto at = [&](HDC dc, int x, int y) { return uint32_t(GetPixel(dc, x, y)) & 0xFFFFFF; };
  auto count = [&](HDC dc, const TRect& r, TColor c) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) n += at(dc, x, y) == (uint32_t(ColorToRGB(c)) & 0xFFFFFF);
    return n;
  };
  const TColor red = TColor(0x0000FF);
  const TRect gripInWindow = grip.Offset(-wr.left, -wr.top), closeInWindow = close.Offset(-wr.left, -wr.top);
  const int barTop = border + cr.bottom;
  for (bool pressed : {false, true}) {
    DrawPopupResizeBar(p, wnd, true, pressed, coBottomRight, close, grip, red);
    EXPECT_EQ(SharedPaintCanvas()->Depth(), 0);
    HDC dc = GetWindowDC(wnd);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(at(dc, 0, 0), 0x0000FFu) << "the border in the border colour";
    EXPECT_EQ(at(dc, w - 1, h - 1), 0x0000FFu);
    EXPECT_EQ(at(dc, w / 2, barTop), 0x0000FFu) << "the line facing the client area";
    EXPECT_EQ(at(dc, w / 2, barTop + 1), uint32_t(ColorToRGB(clBtnFace)) & 0xFFFFFF) << "the rest of the bar";
    EXPECT_GT(count(dc, gripInWindow, clBtnShadow), 10) << "the grip";
    EXPECT_EQ(closeInWindow.Left, border + 2 + (17 - 14) / 2);
    // Hot: the cross's centre; pressed as well: the cross one pixel down and right.
    const int cx = (closeInWindow.Left + closeInWindow.Right - 7) / 2 + 3 + (pressed ? 1 : 0);
    const int cy = (closeInWindow.Top + closeInWindow.Bottom - 7) / 2 + 3 + (pressed ? 1 : 0);
    EXPECT_EQ(at(dc, cx, cy), uint32_t(ColorToRGB(clBtnText)) & 0xFFFFFF) << pressed;
    ReleaseDC(wnd, dc);
  }

  // A failing painter leaves the shared canvas as it found it.
  struct TFailing : TcxStandardLookAndFeelPainter {
    void FillWindowContent(TcxCanvas*, const TRect&) const override { throw Exception("no paint"); }
  } failing;
  EXPECT_THROW(DrawPopupResizeBar(&failing, wnd, false, false, coBottomRight, close, grip, red), Exception);
  EXPECT_EQ(SharedPaintCanvas()->Depth(), 0);
  RemoveWindowSubclass(wnd, ShrinkClient, 1);
  DestroyWindow(wnd);
}

TEST(PainterBase, StandardAndFlatFrames) {
  using TDraw = std::function<void(TcxCustomLookAndFeelPainter*, TcxCanvas*)>;
  const TRect R(0, 0, 20, 20);
  struct TCase {
    const char* What;
    const char* Painter;
    TDraw Draw;
    TColor At0, At1, AtEnd;  // (0, 10), (1, 10), (19, 10)
  };
  const TColor g = TColor(0x00FF00);
  const TCase cases[] = {
      {"section", "Standard", [&](auto* p, auto* c) { p->PaintHeaderSectionFrame(c, R, cxBordersAll, esNormal); },
       clBtnHighlight, cl3DLight, cl3DDkShadow},
      {"section pressed", "Standard",
       [&](auto* p, auto* c) { p->PaintHeaderSectionFrame(c, R, cxBordersAll, esPressed); }, clBtnShadow, g,
       clBtnShadow},
      {"section", "Flat", [&](auto* p, auto* c) { p->PaintHeaderSectionFrame(c, R, cxBordersAll, esNormal); },
       clBtnHighlight, g, clBtnShadow},
      {"section pressed", "Flat",
       [&](auto* p, auto* c) { p->PaintHeaderSectionFrame(c, R, cxBordersAll, esPressed); }, clBtnShadow, g,
       clBtnHighlight},
      {"section right only", "Standard",
       [&](auto* p, auto* c) { p->PaintHeaderSectionFrame(c, R, TcxBorders{bRight}, esNormal); }, g, g,
       cl3DDkShadow},
      {"check frame", "Standard", [&](auto* p, auto* c) { p->PaintCheckFrame(c, R, esNormal); }, clBtnShadow,
       cl3DDkShadow, clBtnHighlight},
      {"check frame", "Flat", [&](auto* p, auto* c) { p->PaintCheckFrame(c, R, esPressed); }, clBtnShadow, clBtnFace,
       clBtnHighlight},
      {"track", "Standard", [&](auto* p, auto* c) { p->PaintTrackBarTrackFrame(c, R); }, clBtnShadow, cl3DDkShadow,
       clBtnHighlight},
      {"track", "Flat", [&](auto* p, auto* c) { p->PaintTrackBarTrackFrame(c, R); }, clBtnShadow, clBtnFace,
       clBtnHighlight},
      {"thumb", "Standard", [&](auto* p, auto* c) { p->PaintThumbRectFrame(c, R); }, clBtnHighlight, cl3DLight,
       cl3DDkShadow},
      {"thumb", "Flat", [&](auto* p, auto* c) { p->PaintThumbRectFrame(c, R); }, clBtnHighlight, g, clBtnShadow},
      {"footer", "Flat", [&](auto* p, auto* c) { p->PaintFooterFrame(c, R); }, clBtnHighlight, g, clBtnShadow},
      {"footer cell", "Standard", [&](auto* p, auto* c) { p->PaintFooterCellFrame(c, R); }, clBtnShadow, g,
       clBtnHighlight},
      {"control", "Flat", [&](auto* p, auto* c) { p->DrawControlBorder(c, R); }, clBtnShadow, g, clBtnHighlight},
      {"group box", "Standard", [&](auto* p, auto* c) { p->PaintGroupBoxFrame(c, R, true, 0, cxBordersAll); },
       clBtnShadow, clBtnHighlight, clBtnHighlight},
      {"group box", "Flat", [&](auto* p, auto* c) { p->PaintGroupBoxFrame(c, R, true, 0, cxBordersAll); },
       clBtnShadow, clBtnHighlight, clBtnShadow},
      {"splitter frame", "Standard",
       [&](auto* p, auto* c) { p->PaintSplitterFrame(c, R, TcxViewParams{clWindow}, false); }, clBtnFace,
       clBtnHighlight, cl3DDkShadow},
      {"splitter frame", "Flat",
       [&](auto* p, auto* c) { p->PaintSplitterFrame(c, R, TcxViewParams{clWindow}, false); }, clBtnHighlight,
       clWindow, clBtnShadow},
      {"expand button", "Standard", [&](auto* p, auto* c) { p->PaintExpandButton(c, R, true, clWindow); },
       clBtnHighlight, clWindow, cl3DDkShadow},
      {"filter drop-down", "Flat", [&](auto* p, auto* c) { p->PaintFilterDropDownButton(c, R, esPressed, false); },
       clBtnShadow, clBtnFace, clBtnHighlight},
      {"filter drop-down", "Standard",
       [&](auto* p, auto* c) { p->PaintFilterDropDownButton(c, R, esNormal, true); }, clBtnHighlight, clBtnFace,
       clBtnShadow},
  };
  for (const TCase& c : cases) {
    TSurface s(20, 20, g);
    c.Draw(Painter(c.Painter), s.C());
    EXPECT_EQ(s.At(0, 10), Rgb(c.At0)) << c.Painter << " " << c.What;
    EXPECT_EQ(s.At(1, 10), Rgb(c.At1)) << c.Painter << " " << c.What;
    EXPECT_EQ(s.At(19, 10), Rgb(c.AtEnd)) << c.Painter << " " << c.What;
  }

  // The filter drop-down arrow is blue when the filter is active.
  TSurface active(15, 16), idle(15, 16);
  Painter("Standard")->PaintFilterDropDownButton(active.C(), TRect(0, 0, 15, 16), esNormal, true);
  Painter("Standard")->PaintFilterDropDownButton(idle.C(), TRect(0, 0, 15, 16), esNormal, false);
  EXPECT_GT(active.Count(TRect(0, 0, 15, 16), TColor(0xFF0000)), 3);
  EXPECT_EQ(idle.Count(TRect(0, 0, 15, 16), TColor(0xFF0000)), 0);
  EXPECT_GT(idle.Count(TRect(0, 0, 15, 16), clBtnText), 3);

  // The Flat container background gives up its bottom pixel to a face-coloured line.
  TSurface bg(20, 20, g);
  TRect r(0, 0, 20, 20);
  Painter("Flat")->PaintContainerBackground(bg.C(), r);
  EXPECT_EQ(r, TRect(0, 0, 20, 19));
  EXPECT_EQ(bg.At(5, 19), Rgb(clBtnFace));

  // Header frames: a left neighbour softens the left column, a right neighbour the right one.
  TSurface h(20, 20, g);
  Painter("Flat")->PaintHeaderFrame(h.C(), R, TcxBorders{bLeft, bRight}, cxBordersAll);
  EXPECT_EQ(h.At(0, 1), Rgb(clBtnFace));
  EXPECT_EQ(h.At(0, 18), Rgb(clBtnFace));
  EXPECT_EQ(h.At(0, 10), Rgb(clBtnHighlight));
  EXPECT_EQ(h.At(19, 0), Rgb(clBtnHighlight));
  EXPECT_EQ(h.At(19, 1), Rgb(clBtnFace));
  EXPECT_EQ(h.At(19, 10), Rgb(clBtnShadow));

  // A tab standing on the strip's bottom side: light left and top, dark right, cut far corners.
  TSurface tab(20, 20, g);
  Painter("Standard")->PaintTabFrame(tab.C(), R, bBottom, TcxBorders{bLeft, bTop, bRight}, false);
  EXPECT_EQ(tab.At(0, 10), Rgb(clBtnHighlight));
  EXPECT_EQ(tab.At(10, 0), Rgb(clBtnHighlight));
  EXPECT_EQ(tab.At(19, 10), Rgb(clBtnShadow));
  EXPECT_EQ(tab.At(0, 0), Rgb(clBtnFace));
  EXPECT_EQ(tab.At(19, 0), Rgb(clBtnFace));
  EXPECT_EQ(tab.At(10, 19), Rgb(g)) << "no edge towards the strip";
}
