// The layout arithmetic of toolbars and dock rows, checked as tables of cases.

#include <gtest/gtest.h>

#include "suite/bars/dxBarLayout.h"

namespace {

TdxBarLayoutLink L(int Along, int Across = 22, bool Group = false,
                   TdxBarItemAlign Align = iaLeft) {
  TdxBarLayoutLink l;
  l.Along = Along;
  l.Across = Across;
  l.BeginsGroup = Group;
  l.Align = Align;
  return l;
}

std::string Flags(const std::vector<TdxBarLayoutLink>& Links) {
  std::string s;
  for (auto& l : Links) s += l.StartsNewLine ? '|' : '.';
  return s;
}

}  // namespace

TEST(BarLayout, FitLinksInLengthCountsGroupsAndAlwaysTheFirstLink) {
  struct Case {
    const char* Name;
    std::vector<TdxBarLayoutLink> Links;
    int Length;
    bool Truncated;
    int Along, Across;
  };
  const Case cases[] = {
      {"all fit exactly", {L(20), L(20, 16), L(20)}, 60, false, 60, 22},
      {"one pixel short", {L(20), L(20, 16), L(20)}, 59, true, 40, 22},
      {"first alone is longer than the line", {L(80, 30), L(20)}, 10, true, 80, 30},
      {"group indent counts", {L(20), L(20, 22, true)}, 45, true, 20, 22},
      {"group indent fits", {L(20), L(20, 22, true)}, 46, false, 46, 22},
      {"a first link's group adds nothing", {L(20, 22, true), L(20)}, 40, false, 40, 22},
      {"no links", {}, 10, false, 0, 0},
  };
  for (const Case& c : cases) {
    int along = -1, across = -1;
    EXPECT_EQ(FitLinksInLength(c.Links, 6, c.Length, along, across), c.Truncated) << c.Name;
    EXPECT_EQ(along, c.Along) << c.Name;
    EXPECT_EQ(across, c.Across) << c.Name;
  }
}

TEST(BarLayout, WrapMovesAGroupToTheNextLineWhole) {
  struct Case {
    const char* Name;
    std::vector<TdxBarLayoutLink> Links;
    int Length;
    TdxBarWrapExtras Extras;
    bool SubtractMark;
    const char* Breaks;
    int Along, Across;
  };
  const Case cases[] = {
      {"everything on one line", {L(30), L(30, 22, true), L(30)}, 100, {}, false, "...", 96, 22},
      // C does not fit after B: the line breaks before B's group instead of before C.
      {"group goes whole", {L(30), L(30, 22, true), L(30)}, 80, {}, false, ".|.", 60, 50},
      {"plain break", {L(30), L(30), L(30)}, 80, {}, false, "..|", 60, 44},
      // C broke inside a group (no group start to break before): D's group starts a new line
      // although it would fit.
      {"group after a plain break", {L(30), L(30), L(30), L(10, 22, true)}, 80, {}, false, "..||",
       60, 72},
      {"mark taken off docked bars", {L(30), L(30)}, 70, {15, 0, 0}, true, ".|", 30, 44},
      {"MDI block on the last line", {L(30), L(30)}, 100, {0, 40, 20}, false, "..", 100, 22},
      {"MDI block on a line of its own", {L(30), L(30)}, 80, {0, 40, 20}, false, "..", 60, 42},
      {"taller links set the line", {L(30, 40), L(30, 22, true), L(30)}, 80, {}, false, ".|.", 60,
       68},
  };
  for (const Case& c : cases) {
    std::vector<TdxBarLayoutLink> links = c.Links;
    int along = 0, across = 0;
    WrapLinksToLength(links, 6, c.SubtractMark, c.Length, c.Extras, along, across);
    EXPECT_EQ(Flags(links), c.Breaks) << c.Name;
    EXPECT_EQ(along, c.Along) << c.Name;
    EXPECT_EQ(across, c.Across) << c.Name;
  }
}

TEST(BarLayout, ArrangePlacesSingleLines) {
  struct Case {
    const char* Name;
    std::vector<TdxBarLayoutLink> Links;
    TdxBarArrangeParams Params;
    std::vector<TRect> Bounds;
    bool Truncated;
  };
  TdxBarArrangeParams top;
  top.Length = 100;
  top.Thickness = 30;
  top.GroupIndent = 6;
  TdxBarArrangeParams narrow = top;
  narrow.Length = 30;
  TdxBarArrangeParams left = top;
  left.Vertical = true;
  const Case cases[] = {
      {"centred across the row", {L(20, 22), L(20, 16, true)}, top,
       {Rect(0, 4, 20, 26), Rect(26, 7, 46, 23)}, false},
      {"what does not fit gets no bounds", {L(20), L(20)}, narrow, {Rect(0, 4, 20, 26), TRect()},
       false},
      {"first link always shows", {L(40)}, narrow, {Rect(0, 4, 40, 26)}, false},
      {"right-aligned hides what follows", {L(20), L(20, 22, false, iaRight), L(20)}, top,
       {Rect(0, 4, 20, 26), Rect(80, 4, 100, 26), TRect()}, true},
      {"centred in the rest of the line", {L(20), L(20, 22, false, iaCenter)}, top,
       {Rect(0, 4, 20, 26), Rect(50, 4, 70, 26)}, false},
      {"client-aligned takes the rest", {L(20), L(20, 22, false, iaClient)}, top,
       {Rect(0, 4, 20, 26), Rect(20, 4, 100, 26)}, false},
      {"vertical bar", {L(20, 22), L(20, 16)}, left, {Rect(4, 0, 26, 20), Rect(7, 20, 23, 40)},
       false},
  };
  for (const Case& c : cases) {
    std::vector<TdxBarArrangedLink> result;
    EXPECT_EQ(ArrangeLinks(c.Links, c.Params, result), c.Truncated) << c.Name;
    ASSERT_EQ(result.size(), c.Bounds.size()) << c.Name;
    for (size_t i = 0; i < result.size(); ++i) EXPECT_EQ(result[i].Bounds, c.Bounds[i]) << c.Name << " " << i;
  }
}

TEST(BarLayout, ArrangeStacksWrappedLinesAndCentresEachRow) {
  std::vector<TdxBarLayoutLink> links = {L(30, 22), L(30, 16, true), L(30, 22)};
  int along = 0, across = 0;
  WrapLinksToLength(links, 6, false, 80, {}, along, across);
  TdxBarArrangeParams p;
  p.MultiLine = true;
  p.Length = 80;
  p.Thickness = across;
  p.GroupIndent = 6;
  std::vector<TdxBarArrangedLink> r;
  ArrangeLinks(links, p, r);
  // Row 0 holds A alone; the group gap of 6 separates it from row 1, where B is centred on C.
  EXPECT_EQ(r[0].Bounds, Rect(0, 0, 30, 22));
  EXPECT_TRUE(r[0].LastInRow);
  EXPECT_EQ(r[1].Bounds, Rect(0, 31, 30, 47));
  EXPECT_EQ(r[2].Bounds, Rect(30, 28, 60, 50));
  EXPECT_TRUE(r[2].LastInRow);
  EXPECT_EQ(r[1].RowHeight, 22);

  // A vertical multi-line bar fills its columns from the right edge.
  p.Vertical = true;
  p.Thickness = 60;
  ArrangeLinks(links, p, r);
  EXPECT_EQ(r[0].Bounds, Rect(38, 0, 60, 30));
  EXPECT_EQ(r[2].Bounds, Rect(10, 30, 32, 60));
}

TEST(BarLayout, DockRowBandsWithTheDefaultZone) {
  TdxDockRowGeometry top;
  top.Rows = {{0, 26}, {26, 52}};
  top.RowsExtent = 52;
  top.ClientLength = 52;
  struct Case {
    int From, To, Row;
    bool NewRow;
  };
  // Before the site the outer 9 pixels and the next 5 make a new row 0, the last 9 join row 0;
  // inside a row 0 to 8 pixels join it, 9 to 13 insert a row after it, from 14 on join the next.
  const Case cases[] = {
      {-23, -15, 0, true}, {-14, -10, 0, true}, {-9, -1, 0, false}, {0, 8, 0, false},
      {9, 13, 1, true},    {14, 25, 1, false},  {26, 34, 1, false}, {35, 39, 2, true},
      {40, 51, 2, true},   {52, 80, 2, true},
  };
  for (const Case& c : cases)
    for (int y = c.From; y <= c.To; ++y) {
      int row = -1;
      bool newRow = false;
      DockRowAtCoordinate(top, y, row, newRow);
      EXPECT_EQ(row, c.Row) << "y " << y;
      EXPECT_EQ(newRow, c.NewRow) << "y " << y;
    }

  int s, e;
  TdxDockRowGeometry bottom = top;
  bottom.Leading = false;
  bottom.ClientLength = 100;
  DockRowBand(bottom, 0, 1, s, e);
  EXPECT_EQ(s, 12);  // 26 - 9 - 5: the strip lies towards the far side of a trailing row
  EXPECT_EQ(e, 17);
  DockRowBand(bottom, -1, 0, s, e);
  EXPECT_EQ(s, 25);  // 100 - 52 - 23
  DockRowBand(bottom, 2, 2, s, e);
  EXPECT_EQ(e, 123);

  TdxDockRowGeometry empty;
  int row = -1;
  bool newRow = false;
  DockRowAtCoordinate(empty, 5, row, newRow);
  EXPECT_EQ(row, 0);
  EXPECT_TRUE(newRow);

  EXPECT_EQ(SnapCoordinateToRowGap(top, 1, true), 11);  // the strip [9, 14)
  // Joining row 1: the range runs from row 0's band 2 to the end of row 1's band 0, made
  // symmetric around the boundary at 26.
  EXPECT_EQ(SnapCoordinateToRowGap(top, 1, false), 26);
}

namespace {

TdxDockColumnInput Col(int Min, int Max, int Wished, int Across = 26) {
  TdxDockColumnInput c;
  c.MinAlong = Min;
  c.MaxAlong = Max;
  c.Wished = Wished;
  c.NaturalAcross = Across;
  return c;
}

}  // namespace

TEST(BarLayout, DockRowSharesItsLength) {
  struct Case {
    const char* Name;
    std::vector<TdxDockColumnInput> Columns;
    int Length;
    std::vector<int> Lefts, Widths;
    std::vector<bool> Truncated;
  };
  TdxDockColumnInput whole = Col(40, 300, 50);
  whole.WholeRow = true;
  TdxDockColumnInput rest = Col(40, 100, 0);
  rest.UseRestSpace = true;
  const Case cases[] = {
      {"wished positions kept", {Col(30, 100, 0), Col(30, 100, 300)}, 600, {0, 300}, {100, 100},
       {false, false}},
      {"pushed behind the bar before", {Col(30, 100, 0), Col(30, 100, 50)}, 600, {0, 100},
       {100, 100}, {false, false}},
      {"pushed back from the row's end", {Col(30, 100, 0), Col(30, 100, 550)}, 600, {0, 500},
       {100, 100}, {false, false}},
      {"first takes the rest, later keep their minimum", {Col(40, 200, 0), Col(40, 200, 200)},
       150, {0, 110}, {110, 40}, {true, true}},
      {"last truncated bar reaches the end", {Col(40, 200, 0), Col(40, 200, 200)}, 300, {0, 200},
       {200, 100}, {false, true}},
      {"whole-row bar", {whole, Col(30, 100, 0)}, 250, {0, 0}, {250, 0}, {true, false}},
      {"rest space", {rest, Col(30, 100, 300)}, 600, {0, 300}, {300, 100}, {false, false}},
  };
  for (const Case& c : cases) {
    std::vector<TdxDockColumnInput> cols = c.Columns;
    std::vector<TdxDockColumnResult> r;
    EXPECT_EQ(LayoutDockRow(cols, c.Length, false, r), 26) << c.Name;
    for (size_t i = 0; i < r.size(); ++i) {
      EXPECT_EQ(r[i].Left, c.Lefts[i]) << c.Name << " " << i;
      EXPECT_EQ(r[i].Width, c.Widths[i]) << c.Name << " " << i;
      EXPECT_EQ(r[i].Truncated, c.Truncated[i]) << c.Name << " " << i;
    }
  }
}

TEST(BarLayout, DockRowFollowsTheDraggedBarAndWrappingThickness) {
  std::vector<TdxDockColumnInput> cols = {Col(40, 100, 0), Col(40, 100, 0), Col(40, 200, 380)};
  cols[1].Dragged = true;
  std::vector<TdxDockColumnResult> r;
  LayoutDockRow(cols, 300, false, r);
  EXPECT_EQ(cols[2].Wished, 140);  // the bar after the dragged one is pulled right behind it

  // A wrapping bar given less than its length grows across; the row takes the thickest bar.
  std::vector<TdxDockColumnInput> wrap = {Col(40, 200, 0)};
  wrap[0].Wraps = true;
  wrap[0].AcrossForLength = [](int Width) { return Width >= 200 ? 26 : 52; };
  EXPECT_EQ(LayoutDockRow(wrap, 120, false, r), 52);
  EXPECT_FALSE(r[0].Truncated);

  std::vector<TdxDockColumnInput> aligned = {Col(30, 100, 0), Col(30, 100, 300)};
  LayoutDockRow(aligned, 600, true, r);
  EXPECT_EQ(r[1].Left, 100);  // AutoAlignBars packs the bars together
}

TEST(BarLayout, FloatingFrameCodesHaveNoDiagonals) {
  const TRect w = Rect(100, 100, 300, 200);
  struct Case {
    TPoint P;
    int Code;
  };
  const Case cases[] = {
      {{100, 100}, HTTOP},   {{299, 100}, HTTOP},    {{299, 150}, HTRIGHT},
      {{299, 199}, HTRIGHT}, {{150, 199}, HTBOTTOM}, {{100, 199}, HTBOTTOM},
      {{100, 150}, HTLEFT},  {{150, 150}, HTNOWHERE},
  };
  for (const Case& c : cases)
    EXPECT_EQ(FloatingFrameHitCode(w, c.P, 3, 3), c.Code) << c.P.X << "," << c.P.Y;
}

TEST(BarLayout, PlaceInWorkAreaBringsALostBarBack) {
  // Two monitors side by side; the first has a panel of 40 pixels at its top.
  const std::vector<TRect> areas = {Rect(0, 40, 1000, 740), Rect(1000, 0, 2000, 768)};
  struct Case {
    const char* Name;
    TRect In;
    TRect CursorArea;
    bool Moved;
    TRect Out;
  };
  const Case cases[] = {
      {"on a monitor", Bounds(1500, 100, 200, 50), areas[0], false, Bounds(1500, 100, 200, 50)},
      {"overlapping an edge stays", Bounds(-150, 100, 200, 50), areas[0], false,
       Bounds(-150, 100, 200, 50)},
      {"left of everything", Bounds(-300, 100, 200, 50), areas[0], true, Bounds(0, 100, 200, 50)},
      {"above the panel", Bounds(100, -60, 200, 50), areas[0], true, Bounds(100, 40, 200, 50)},
      {"right of everything", Bounds(2100, 100, 200, 50), areas[1], true,
       Bounds(1800, 100, 200, 50)},
      {"below", Bounds(100, 800, 200, 50), areas[0], true, Bounds(100, 690, 200, 50)},
      {"off a corner returns whole", Bounds(-300, -100, 200, 50), areas[0], true,
       Bounds(0, 40, 200, 50)},
  };
  for (const Case& c : cases) {
    TRect r = c.In;
    EXPECT_EQ(PlaceInWorkArea(r, areas, c.CursorArea), c.Moved) << c.Name;
    EXPECT_EQ(r, c.Out) << c.Name;
  }
}

TEST(BarLayout, FloatingTopStaysNearItsOwnMonitorsWorkArea) {
  const TRect panelled = Rect(1000, 300, 2000, 1068);  // a second monitor placed lower
  EXPECT_EQ(LimitFloatingTop(-40, Rect(0, 0, 1000, 740)), -15);
  EXPECT_EQ(LimitFloatingTop(200, panelled), 285);
  EXPECT_EQ(LimitFloatingTop(290, panelled), 290);
}
