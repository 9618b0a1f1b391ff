// The painters' geometry and metrics, pixels read back from drawn bitmaps, and one sheet per
// painter with every element in every state.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <functional>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "common/TestEnv.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/PainterTestSupport.h"
#include "suite/core/cxLookAndFeels.h"
#include "suite/core/VisualStyleState.h"

namespace {

using painter_test::Painter;
using painter_test::Rgb;
using painter_test::TSurface;

using sonalix::test::SheetDir;

}  // namespace

TEST(Painters, ArrowGeometry) {
  struct TCase {
    TRect R;
    TcxArrowDirection Dir;
    bool Proportional;
    TPoint P[3];
  };
  const TCase cases[] = {
      {TRect(0, 0, 9, 9), adDown, false, {{6, 3}, {4, 5}, {2, 3}}},
      {TRect(0, 0, 9, 9), adUp, false, {{2, 5}, {4, 3}, {6, 5}}},
      {TRect(0, 0, 9, 9), adLeft, false, {{5, 6}, {3, 4}, {5, 2}}},
      {TRect(0, 0, 9, 9), adRight, false, {{3, 2}, {5, 4}, {3, 6}}},
      // A proportional arrow in a 20×10 rectangle works in the centred 10×10 square.
      {TRect(0, 0, 20, 10), adDown, true, {{11, 4}, {9, 6}, {7, 4}}},
  };
  for (const TCase& c : cases) {
    TPoint p[3];
    ComputeArrowTriangle(c.R, p, c.Dir, c.Proportional);
    for (int i = 0; i < 3; ++i) {
      EXPECT_EQ(p[i].X, c.P[i].X) << int(c.Dir) << " point " << i;
      EXPECT_EQ(p[i].Y, c.P[i].Y) << int(c.Dir) << " point " << i;
    }
  }
  TPoint a[3], b[3];
  ComputeArrowTriangle(TRect(0, 0, 20, 10), a, adDown, true);
  ComputeArrowTriangle(TRect(5, 0, 15, 10), b, adDown, false);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(a[i], b[i]);

  // The drop-down arrow of a 10-pixel-wide rectangle is 5 wide and 3 high.
  TSurface s(10, 10);
  Painter("Flat")->DrawDropDownArrow(s.Canvas.get(), TRect(0, 0, 10, 10), TColor(0));
  TRect ink = s.Bounds(TColor(0xFFFFFF), true);
  EXPECT_EQ(ink.Width(), 5);
  EXPECT_EQ(ink.Height(), 3);
}

TEST(Painters, MetricsAndColours) {
  TcxCustomLookAndFeelPainter* std_ = Painter("Standard");
  TcxCustomLookAndFeelPainter* flat = Painter("Flat");
  ASSERT_TRUE(std_ && flat);
  struct TCase {
    TcxElementState State;
    int Standard, Flat;
  };
  for (TCase c : {TCase{esDefault, 3, 2}, {esNormal, 2, 1}, {esHot, 2, 1}, {esPressed, 2, 1}, {esDisabled, 2, 1}}) {
    EXPECT_EQ(std_->ButtonBorderWidth(c.State), c.Standard);
    EXPECT_EQ(flat->ButtonBorderWidth(c.State), c.Flat);
  }
  EXPECT_EQ(std_->ControlBorderSize(), 2);
  EXPECT_EQ(flat->ControlBorderSize(), 1);
  EXPECT_EQ(flat->SeparatorThickness(), 2);
  EXPECT_EQ(std_->ButtonGlyphColor(esDisabled, TColor(0x123456)), clBtnShadow);
  EXPECT_EQ(std_->ButtonGlyphColor(esNormal, clDefault), clBtnText);
  EXPECT_EQ(std_->ButtonGlyphColor(esHot, TColor(0x123456)), TColor(0x123456));
  EXPECT_EQ(std_->ButtonFocusBounds(nullptr, TRect(0, 0, 6, 6)), TRect(0, 0, 6, 6));
  EXPECT_EQ(std_->ButtonFocusBounds(nullptr, TRect(0, 0, 20, 20)), TRect(4, 4, 16, 16));
  // Only the requested sides the painter does not draw grow (the classic painters draw all).
  EXPECT_EQ(std_->HeaderOuterBounds(TRect(10, 10, 20, 20), {}, TcxBorders{bLeft, bTop}), TRect(10, 10, 20, 20));
  EXPECT_EQ(std_->HeaderInnerBounds(TRect(10, 10, 20, 20), TcxBorders{bLeft, bBottom}), TRect(11, 10, 20, 19));
  EXPECT_EQ(std_->SplitterExtent(true), (TSize{17, 2}));
  EXPECT_EQ(std_->SplitterExtent(false), (TSize{2, 17}));
  EXPECT_EQ(flat->SplitterOuterColor(true), cl3DDkShadow);
  EXPECT_EQ(std_->SplitterOuterColor(true), clBtnShadow);
  EXPECT_EQ(std_->ViewColor21(), clBtnFace);
  EXPECT_EQ(std_->ViewColor47(), clWindow);
  EXPECT_EQ(flat->ViewColor47(), TColor(0xD5FFFF));
  EXPECT_EQ(std_->KindName(), "Standard");
  EXPECT_EQ(flat->StyleKind(), psFlat);

  // The resize bar of a sizable popup: 17-pixel scroll bars and the base extents give 21.
  TRect r(0, 0, 200, 100), bar, grip, close;
  CalcPopupResizeBarLayout(std_, r, bar, grip, close, coBottomRight, TRect(1, 1, 1, 1), TRect(0, 0, 0, 0), 0, true,
                           true);
  EXPECT_EQ(bar, TRect(1, 78, 199, 99));
  EXPECT_EQ(r, TRect(1, 1, 199, 78));
  EXPECT_EQ(grip, TRect(199 - 2 - 17, 99 - 2 - 17, 197, 97));
  EXPECT_EQ(close.Width(), 14);
  EXPECT_EQ(close.Height(), 15);
  EXPECT_EQ((close.Left + close.Right) / 2, (1 + 22) / 2) << "the close button sits at the far end";
  CalcPopupResizeBarLayout(std_, r = TRect(0, 0, 200, 100), bar, grip, close, coTopLeft, TRect(), TRect(), 30,
                           false, true);
  EXPECT_EQ(bar, TRect(0, 0, 200, 30));
  EXPECT_EQ(grip.Left, 2);
  EXPECT_EQ(grip.Top, 2);
  EXPECT_TRUE(close.IsEmpty());
}

TEST(Painters, ClockFace) {
  const int w = 100, h = 100;
  TSurface s(w, h);
  // 3:00:00 as a fraction of a day.
  Painter("Standard")->PaintClock(s.Canvas.get(), TRect(0, 0, w, h), 3.0 / 24, TColor(0xFFFFFF));
  QImage img = s.Image();
  int yellow = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) == 0x00FFFF) ++yellow;  // $FFFF00 as BGR
  EXPECT_EQ(yellow, 12 * 3) << "twelve hour dots, three lit pixels each";
  // Hour hand to the right, minute hand up, second hand (at 0 s) up as well.
  EXPECT_EQ(img.pixel(50 + 30, 50) & 0xFFFFFF, 0x008080u);
  EXPECT_EQ(img.pixel(50 - 30, 50) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(img.pixel(52, 50 - 8) & 0xFFFFFF, 0x008080u);
  EXPECT_EQ(img.pixel(50, 50 - 40) & 0xFFFFFF, 0xFF0000u) << "the second hand is drawn last";
  EXPECT_EQ(img.pixel(50, 50 + 35) & 0xFFFFFF, 0xFFFFFFu);
}

TEST(Painters, ScrollBarPartsAndShortcuts) {
  for (const char* name : {"Standard", "Flat"}) {
    TcxCustomLookAndFeelPainter* p = Painter(name);
    // A disabled thumb draws nothing; a hot arrow looks like a normal one.
    TSurface s(20, 20);
    p->PaintScrollBarPart(s.Canvas.get(), false, TRect(0, 0, 20, 20), spThumb, esDisabled);
    EXPECT_TRUE(s.Bounds(TColor(0xFFFFFF), true).IsEmpty()) << name;
    TSurface hot(17, 17), normal(17, 17);
    p->PaintScrollBarPart(hot.Canvas.get(), true, TRect(0, 0, 17, 17), spLineForward, esHot);
    p->PaintScrollBarPart(normal.Canvas.get(), true, TRect(0, 0, 17, 17), spLineForward, esNormal);
    EXPECT_EQ(hot.Image(), normal.Image()) << name;
    // The page area is the 8×8 pattern: highlight where x + y is odd.
    TSurface page(16, 16);
    p->PaintScrollBarPart(page.Canvas.get(), true, TRect(0, 0, 16, 16), spPageBack, esNormal);
    EXPECT_EQ(page.At(3, 4), Rgb(clBtnHighlight));
    EXPECT_EQ(page.At(4, 4), Rgb(clBtnFace));
    p->PaintScrollBarPart(page.Canvas.get(), true, TRect(0, 0, 16, 16), spPageBack, esPressed);
    EXPECT_EQ(page.At(3, 4), Rgb(cl3DDkShadow));
    EXPECT_EQ(page.At(4, 4), 0u);
  }
  // The Standard painter's group expand button is the Flat painter's.
  TSurface a(15, 15), b(15, 15);
  Painter("Standard")->PaintGroupExpandButton(a.Canvas.get(), TRect(0, 0, 15, 15), true, esNormal);
  Painter("Flat")->PaintGroupExpandButton(b.Canvas.get(), TRect(0, 0, 15, 15), true, esNormal);
  EXPECT_EQ(a.Image(), b.Image());
}

TEST(Painters, FramesReadBack) {
  struct TCase {
    const char* Painter;
    TcxElementState State;
    TColor Outer, OuterRB, Inner;  // top-left outer, bottom-right outer, top-left one pixel in
  };
  const TCase cases[] = {
      {"Standard", esNormal, clBtnHighlight, cl3DDkShadow, cl3DLight},
      {"Standard", esPressed, TColor(0), TColor(0), clBtnShadow},
      {"Standard", esDefault, TColor(0), TColor(0), clBtnHighlight},
      {"Flat", esNormal, clBtnHighlight, clBtnShadow, clBtnFace},
      {"Flat", esPressed, clBtnShadow, clBtnHighlight, clBtnFace},
      {"Flat", esDefault, TColor(0), TColor(0), clBtnHighlight},
  };
  for (const TCase& c : cases) {
    TSurface s(30, 20);
    Painter(c.Painter)->PaintButton(s.Canvas.get(), TRect(0, 0, 30, 20), "", c.State);
    EXPECT_EQ(s.At(0, 5), Rgb(c.Outer)) << c.Painter << int(c.State);
    EXPECT_EQ(s.At(29, 19), Rgb(c.OuterRB)) << c.Painter << int(c.State);
    EXPECT_EQ(s.At(1, 5), Rgb(c.Inner)) << c.Painter << int(c.State);
    EXPECT_EQ(s.At(15, 10), Rgb(clBtnFace)) << c.Painter << int(c.State);
  }
  // Control borders: two rings in Standard, one in Flat.
  TSurface s(10, 10);
  Painter("Standard")->DrawControlBorder(s.Canvas.get(), TRect(0, 0, 10, 10));
  EXPECT_EQ(s.At(0, 0), Rgb(clBtnShadow));
  EXPECT_EQ(s.At(9, 9), Rgb(clBtnHighlight));
  EXPECT_EQ(s.At(1, 1), Rgb(cl3DDkShadow));
  EXPECT_EQ(s.At(8, 8), Rgb(cl3DLight));
}

TEST(Painters, SheetPerPainter) {
  const TcxElementState states[] = {esDefault, esNormal, esHot, esPressed, esDisabled};
  const TcxArrowDirection dirs[] = {adUp, adDown, adLeft, adRight};
  TFont font;
  font.SetName("DejaVu Sans");
  font.SetSize(8);
  // Each painter without visual styles, then again with them ("-themed").
  for (int pass = 0; pass < 2; ++pass)
  for (int i = 0; i < cxLookAndFeelPaintersManager()->PainterCount(); ++i) {
    std::unique_ptr<TVisualStyleState> styleState =
        pass ? std::unique_ptr<TVisualStyleState>(new TVisualStylesOn) : std::make_unique<TVisualStylesAbsent>();
    TcxCustomLookAndFeelPainter* p = cxLookAndFeelPaintersManager()->PainterAt(i);
    const int W = 800, H = 556;
    TSurface s(W, H, clBtnFace);
    TcxCanvas* c = s.Canvas.get();
    c->AssignFont(&font);
    auto reset = [&] { c->ApplyClipRegion(TcxRegion::CreateFromBounds(0, 0, W, H)); };

    // Every element that has a state, one column per state.
    for (int k = 0; k < 5; ++k) {
      const TcxElementState st = states[k];
      const int x = 8 + k * 158;
      p->PaintButton(c, TRect(x, 8, x + 76, 31), "&Button", st);
      p->PaintButton(c, TRect(x + 80, 8, x + 150, 46), "Two &lines of text", st, true, clDefault, clDefault, true);
      p->PaintPlainButton(c, TRect(x, 34, x + 30, 46), st, 1, 0);
      p->PaintNavigatorButton(c, TRect(x + 34, 34, x + 64, 46), st);
      for (int d = 0; d < 4; ++d) {
        p->DrawArrowButton(c, TRect(x + d * 19, 52, x + d * 19 + 17, 69), st, dirs[d], true);
        p->DrawArrowButton(c, TRect(x + 78 + d * 19, 52, x + 78 + d * 19 + 17, 69), st, dirs[d], false);
        p->DrawScrollArrow(c, TRect(x + d * 19, 72, x + d * 19 + 17, 89), st, dirs[d]);
      }
      p->PaintScrollBarPart(c, false, TRect(x + 78, 72, x + 95, 89), spLineBack, st);
      p->PaintScrollBarPart(c, false, TRect(x + 97, 72, x + 114, 89), spLineForward, st);
      p->PaintScrollBarPart(c, true, TRect(x + 116, 72, x + 133, 89), spLineBack, st);
      p->PaintScrollBarPart(c, true, TRect(x + 135, 72, x + 152, 89), spLineForward, st);
      p->PaintScrollBarPart(c, true, TRect(x, 92, x + 30, 109), spPageBack, st);
      p->PaintScrollBarPart(c, true, TRect(x + 30, 92, x + 70, 109), spThumb, st);
      p->PaintScrollBarPart(c, true, TRect(x + 70, 92, x + 100, 109), spPageForward, st);
      p->PaintScrollBarPart(c, false, TRect(x + 104, 92, x + 121, 146), spThumb, st);
      p->PaintScrollBarBackground(c, TRect(x + 124, 92, x + 141, 146), false);
      p->PaintCheckBox(c, TRect(x, 114, x + 13, 127), st, cbsUnchecked);
      p->PaintCheckBox(c, TRect(x + 16, 114, x + 29, 127), st, cbsChecked);
      p->PaintCheckBox(c, TRect(x + 32, 114, x + 45, 127), st, cbsGrayed);
      p->PaintFilterCheck(c, TRect(x + 48, 114, x + 61, 127), st, true);
      p->PaintRadioButton(c, x + 64, 114, st, false, false);
      p->PaintRadioButton(c, x + 80, 114, st, true, false);
      p->PaintRadioButton(c, x + 64, 132, st, false, true, clWindow, true);
      p->PaintRadioButton(c, x + 80, 132, st, true, true, clWindow, true);
      p->PaintGroupExpandButton(c, TRect(x, 132, x + 15, 147), true, st);
      p->PaintGroupExpandButton(c, TRect(x + 18, 132, x + 33, 147), false, st);
      p->PaintRotatedGroupButton(c, TRect(x + 36, 132, x + 51, 147), raPlus90, true, st);
      p->PaintGroupExpandGlyph(c, TRect(x + 36, 150, x + 51, 165), false, st);
      p->PaintFilterCloseButton(c, TRect(x, 150, x + 16, 164), st);
      p->PaintPopupCloseButton(c, TRect(x + 18, 150, x + 32, 165), st);
      p->PaintFilterDropDownButton(c, TRect(x + 54, 150, x + 69, 166), st, false);
      p->PaintFilterDropDownButton(c, TRect(x + 72, 150, x + 87, 166), st, true);
      TRect arrow, text;
      p->LayoutNavButtons(TRect(x + 90, 150, x + 108, 230), false, arrow, text);
      p->PaintNavButton(c, TRect(x + 90, 150, x + 108, 230), false, st, "Prev", text, arrow);
      p->LayoutNavButtons(TRect(x + 112, 150, x + 130, 230), true, arrow, text);
      p->PaintNavButton(c, TRect(x + 112, 150, x + 130, 230), true, st, "Next", text, arrow);
      p->PaintHeader(c, TRect(x, 170, x + 86, 188), TRect(x + 2, 170, x + 84, 188), TcxBorders{bLeft, bRight},
                     cxBordersAll, st, haLeft, vaCenter, false, true, "Header", nullptr, clBtnText, clBtnFace);
      p->PaintHeaderSection(c, TRect(x, 190, x + 86, 208), TRect(x + 4, 190, x + 82, 208), {}, cxBordersAll, st,
                            haCenter, vaCenter, false, true, "Section", nullptr, clBtnText, clBtnFace);
      p->PaintGroupRow(c, TRect(x, 212, x + 86, 228), false, st);
      p->PaintTrackBarThumb(c, TRect(x, 234, x + 11, 255), st, false, 0, clBtnFace);
      p->PaintTrackBarThumb(c, TRect(x + 14, 234, x + 25, 255), st, false, 1, clBtnFace);
      p->PaintTrackBarThumb(c, TRect(x + 28, 234, x + 39, 255), st, false, 2, clBtnFace);
      p->PaintTrackBarThumb(c, TRect(x + 44, 234, x + 65, 245), st, true, 0, clBtnFace);
      p->PaintTrackBarThumb(c, TRect(x + 68, 234, x + 89, 245), st, true, 1, clBtnFace);
      p->PaintTrackBarThumb(c, TRect(x + 92, 234, x + 113, 245), st, true, 2, clBtnFace);
      p->PaintGroupFrameFilled(c, TRect(x + 116, 234, x + 150, 256), false, st, cxBordersAll);
      p->PaintButtonOutline(c, TRect(x, 260, x + 20, 276), st == esPressed, st == esHot);
      p->PaintEditButton(c, TRect(x + 24, 260, x + 40, 276), st, 0);
      p->PaintEditButton(c, TRect(x + 42, 260, x + 58, 276), st, 1);
      p->PaintEditGlyphA(c, TRect(x + 60, 260, x + 70, 276), st);
      p->PaintEditGlyphB(c, TRect(x + 72, 260, x + 82, 276), st);
      p->PaintTab(c, TRect(x + 84, 260, x + 114, 276), bBottom, st, false);
      p->PaintGroupCaptionFill(c, TRect(x + 116, 260, x + 136, 276), st, false);
      p->PaintImage(c, cxIndicatorImages(), 0, nullptr, TRect(x + 140, 262, x + 148, 271), st);
    }

    // The elements without a state.
    int y = 282;
    p->PaintExpandButton(c, TRect(8, y, 20, y + 12), false, clDefault);
    reset();
    p->PaintExpandButton(c, TRect(24, y, 36, y + 12), true, clWindow);
    reset();
    p->PaintSmallExpandButton(c, TRect(40, y, 49, y + 9), false, clBtnShadow, clWindow);
    p->PaintSmallExpandButton(c, TRect(52, y, 61, y + 9), true, clBtnShadow, clDefault);
    p->PaintSortMark(c, TRect(64, y, 78, y + 12), true);
    p->PaintSortMark(c, TRect(80, y, 94, y + 12), false);
    p->PaintListMark(c, TRect(96, y, 110, y + 14), clBtnText);
    p->DrawDropDownArrow(c, TRect(112, y, 124, y + 12), clBtnText);
    for (int d = 0; d < 4; ++d) p->PaintArrow(c, TRect(128 + d * 14, y, 140 + d * 14, y + 12), dirs[d], clBtnText);
    for (int k = 1; k <= 6; ++k) p->PaintIndicatorGlyph(c, TRect(186 + k * 12, y, 196 + k * 12, y + 12), k);
    p->PaintIndicatorCell(c, TRect(272, y, 284, y + 18), 1);
    p->PaintIndicatorItem(c, TRect(286, y, 298, y + 18), 2);
    p->PaintEdgeLine(c, TRect(302, y, 340, y + 8), clDefault, clDefault, false);
    p->PaintEdgeLine(c, TRect(344, y, 352, y + 18), clDefault, clDefault, true);
    p->PaintTextPanel(c, TRect(356, y, 436, y + 18), "Panel", &font, clNone);
    p->PaintHintBackground(c, TRect(440, y, 480, y + 18), clDefault);
    p->FillPanel(c, TRect(484, y, 500, y + 18));
    p->PaintHeaderDivider(c, TRect(504, y + 8, 600, y + 10), 8, clBtnShadow, TcxViewParams{clWindow});
    p->PaintHeaderPressedMark(c, TRect(604, y, 620, y + 18));
    p->DrawSeparator(c, TRect(624, y, 700, y + 10), true);
    p->DrawSeparator(c, TRect(704, y, 714, y + 30), false);

    y = 312;
    const TcxContainerBorderStyle styles[] = {cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsUltraFlat, cbsOffice11};
    for (int k = 0; k < 7; ++k)
      p->DrawContainerFrame(c, TRect(8 + k * 44, y, 48 + k * 44, y + 24), styles[k], k == 2 ? 2 : 1, clBtnText,
                            cxBordersAll);
    p->DrawControlBorder(c, TRect(316, y, 356, y + 24));
    p->PaintCalendarFrame(c, TRect(360, y, 400, y + 24));
    TRect popup(404, y, 444, y + 30);
    p->PaintPopupFrame(c, popup, 1, false);
    popup = TRect(448, y, 488, y + 30);
    p->PaintPopupFrame(c, popup, 2, false);
    popup = TRect(492, y, 532, y + 30);
    p->PaintPopupFrame(c, popup, 2, true);
    popup = TRect(536, y, 576, y + 30);
    p->PaintPopupFrame(c, popup, 3, false);
    for (int corner = 0; corner < 4; ++corner)
      p->PaintSizeGrip(c, TRect(584 + corner * 20, y, 601 + corner * 20, y + 17), clNone, TcxCorner(corner));
    p->PaintSizeGripGlyph(c, TRect(584, y + 20, 601, y + 37));

    y = 350;
    p->PaintSplitter(c, TRect(8, y, 100, y + 10), false, false, true);
    p->PaintSplitter(c, TRect(8, y + 12, 100, y + 22), true, false, true);
    p->PaintSplitter(c, TRect(104, y, 114, y + 80), false, false, false);
    p->PaintSplitter(c, TRect(118, y, 128, y + 80), true, false, false);
    p->PaintSplitterFrame(c, TRect(8, y + 26, 100, y + 34), TcxViewParams{clBtnFace}, true);
    p->PaintSplitterFrame(c, TRect(132, y, 140, y + 80), TcxViewParams{clBtnFace}, false);
    p->PaintClock(c, TRect(144, y, 224, y + 80), (10 * 3600 + 8 * 60 + 30) / 86400.0, clWindow);
    p->DrawTipBackground(c, TRect(228, y, 328, y + 40));
    p->DrawTipFrame(c, TRect(228, y + 30, 328, y + 40));
    p->PaintTrackBarTrack(c, TRect(332, y, 440, y + 6), false, clWindow);
    p->PaintTrackBarTrack(c, TRect(332, y + 10, 338, y + 80), true, clWindow);
    TRect bg(344, y + 10, 440, y + 40);
    p->PaintContainerBackground(c, bg);
    p->PaintGroupBoxFrame(c, TRect(344, y + 44, 440, y + 80), true, 0, cxBordersAll);
    p->PaintMonthHeader(c, TRect(444, y, 660, y + 20), "December 2026", TcxBorders{bLeft, bBottom},
                        TcxViewParams{clWindow, nullptr, &font}, 3, 12);
    p->PaintProgressBar(c, TRect(444, y + 24, 660, y + 40), TRect(446, y + 26, 560, y + 38), TcxViewParams{clWindow},
                        false);
    p->PaintProgressBar(c, TRect(444, y + 44, 660, y + 60), TRect(446, y + 46, 600, y + 58), TcxViewParams{clWindow},
                        true);
    p->DrawFooterPanel(c, TRect(664, y, 790, y + 30), cxBordersAll);
    p->PaintFooterCell(c, TRect(670, y + 6, 784, y + 24), haRight, vaCenter, false, "Sum 42", &font, clBtnText,
                       clWindow);
    p->PaintFooterBackground(c, TRect(664, y + 34, 790, y + 40), TcxViewParams{clWindow});

    y = 436;
    p->PaintTabStrip(c, TRect(8, y + 20, 200, y + 50), TcxBorders{bTop}, false);
    p->PaintTabFrame(c, TRect(10, y, 70, y + 21), bBottom, TcxBorders{bLeft, bTop, bRight}, false);
    p->PaintTabFrame(c, TRect(70, y + 2, 130, y + 20), bBottom, TcxBorders{bTop, bRight}, false);
    p->PaintPreviewArea(c, TRect(210, y, 400, y + 80));
    p->PaintPreviewPage(c, TRect(216, y + 6, 266, y + 76), TRect(220, y + 10, 260, y + 68), 0, false);
    p->PaintPreviewPage(c, TRect(276, y + 6, 326, y + 76), TRect(280, y + 10, 320, y + 70), 1, true);
    p->PaintPreviewBackground(c, TRect(336, y + 6, 390, y + 76));

    // Caption text over a highlight, horizontal and vertical.
    c->FillRectWithColor(TRect(410, y, 560, y + 24), clWindow);
    c->FillRectWithColor(TRect(410, y, 470, y + 24), clHighlight);
    p->PaintCaptionText(c, false, false, "Caption text", TRect(410, y, 560, y + 24), true, TRect(410, y, 470, y + 24),
                        clDefault);
    c->FillRectWithColor(TRect(570, y, 594, y + 90), clWindow);
    c->FillRectWithColor(TRect(570, y, 594, y + 40), clHighlight);
    p->PaintCaptionText(c, true, false, "Vertical", TRect(570, y, 594, y + 90), true, TRect(570, y, 594, y + 40),
                        clDefault);
    p->PaintCaptionText(c, false, true, "Own colour", TRect(410, y + 30, 560, y + 54), true, TRect(), TColor(0x0000C0));

    // Fills, group boxes and group frames.
    p->FillBackground(c, TRect(604, y, 640, y + 20), false, clWindow, nullptr);
    p->FillGroupBackground(c, TRect(644, y, 680, y + 20), false, clInfoBk, nullptr);
    p->FillFilterBackground(c, TRect(684, y, 720, y + 20), false, clWindow, nullptr);
    p->FillWindowContent(c, TRect(724, y, 760, y + 20));
    p->PaintGroupBoxBackground(c, nullptr, TRect(604, y + 26, 700, y + 70), clWindow, clBtnFace);
    p->PaintGroupBoxFrame(c, TRect(604, y + 32, 700, y + 70), true, 0, cxBordersAll);
    p->PaintGroupBoxCaption(c, TRect(610, y + 26, 660, y + 38), 0);
    p->PaintGroupBoxCaptionAlias(c, TRect(610, y + 26, 660, y + 38), 0);
    p->PaintCaptionFrameB(c, TRect(704, y + 26, 740, y + 40));
    p->PaintCaptionFrameC(c, TRect(744, y + 26, 780, y + 40));
    p->PaintGroupFrame(c, TRect(704, y + 46, 760, y + 66), esNormal, TcxBorders{bLeft, bBottom});
    p->PaintGroupFrame(c, TRect(704, y + 70, 760, y + 86), esHot, cxBordersAll);
    p->PaintRotatedGroupButtonAlias(c, TRect(766, y + 46, 781, y + 61), raMinus90, true, esNormal);

    // A cell with text and a header row of three neighbours.
    p->DrawCellContent(c, TRect(8, 526, 120, 546), TRect(12, 526, 116, 546), esNormal, haLeft, vaCenter, false, true,
                       "A cell with a long text", &font, clWindowText, clWindow, {}, false);
    for (int k = 0; k < 3; ++k) {
      TcxBorders n;
      if (k > 0) n.Include(bLeft);
      if (k < 2) n.Include(bRight);
      p->PaintHeaderItem(c, TRect(130 + k * 60, 526, 190 + k * 60, 546), TRect(134 + k * 60, 526, 186 + k * 60, 546),
                         n, cxBordersAll, esNormal, haLeft, vaCenter, false, true, "Col " + std::to_string(k + 1),
                         &font, clBtnText, clBtnFace);
    }
    p->PaintSortMark(c, TRect(236, 530, 248, 542), true);

    std::string file = "painter-" + p->KindName() + (pass ? "-themed" : "") + ".png";
    ASSERT_TRUE(s.Image().save(QString::fromStdString((SheetDir() / file).string())));
  }
}

TEST(Painters, UltraFlatMetrics) {
  auto* p = dynamic_cast<TcxUltraFlatLookAndFeelPainter*>(Painter("UltraFlat"));
  ASSERT_NE(p, nullptr);
  for (TcxElementState s : {esDefault, esNormal, esHot, esPressed, esDisabled})
    EXPECT_EQ(p->ButtonGlyphState(s), esNormal) << "glyphs never move";
  EXPECT_EQ(p->HeaderFrameSides(TcxBorders{bLeft, bTop}), (TcxBorders{bRight, bBottom}));
  EXPECT_EQ(p->HeaderFrameSides({}), cxBordersAll);
  EXPECT_EQ(p->HeaderOuterBounds(TRect(10, 10, 20, 20), TcxBorders{bLeft}, TcxBorders{bLeft, bTop}),
            TRect(9, 10, 20, 20))
      << "only the requested side the painter leaves out grows";
  EXPECT_EQ(p->ButtonGroupBorderWidths(3, 1), TRect(1, 2, 1, 2));
  EXPECT_EQ(p->ButtonGroupBorderWidths(3, 0), TRect(2, 2, 1, 2));
  EXPECT_EQ(p->ButtonGroupBorderWidths(3, 2), TRect(1, 2, 2, 2));
  EXPECT_EQ(p->ButtonGroupBorderWidths(1, 0), TRect(2, 2, 1, 2));
  EXPECT_EQ(p->ButtonBorderWidth(esDefault), 2);
  EXPECT_EQ(p->ButtonGlyphColor(esPressed), clHighlightText);
  EXPECT_EQ(p->SplitterExtent(true), (TSize{17, 1}));
  EXPECT_EQ(p->ButtonHotFrameColor(esNormal), clBtnShadow);
  EXPECT_EQ(p->ButtonHotFrameColor(esHot), clHighlight);
  EXPECT_TRUE(p->HotTracksButtons());
}

TEST(Painters, RadioImageMap) {
  TcxRadioButtonImageList* images = cxRadioImages();
  ASSERT_NE(images, nullptr);
  EXPECT_EQ(images->ImageCount(), 128);
  for (int i = 0; i < 128; ++i) EXPECT_GE(images->ImageIndexOf(i), 0) << i;
  EXPECT_EQ(TcxRadioButtonImageList::MapIndex(lfFlat, esNormal, false, false, false), 0);
  EXPECT_EQ(TcxRadioButtonImageList::MapIndex(lfOffice11, esDisabled, true, true, true), 127);
  EXPECT_EQ(TcxRadioButtonImageList::MapIndex(lfStandard, esHot, true, false, false), 2 + 8 + 4 - 1);
  TSize e = images->ImageExtent();
  ASSERT_GT(e.cx, 4);
  ASSERT_GT(e.cy, 4);
  bool seen[7] = {};
  for (int y = 0; y < e.cy; ++y)
    for (int x = 0; x < e.cx; ++x) seen[images->PatternAt(x, y)] = true;
  for (int code = 1; code <= 6; ++code) EXPECT_TRUE(seen[code]) << "cell code " << code;

  // An unchecked radio shows no dot; a checked one a dot in the window-text colour.
  int unchecked = images->ImageIndexOf(TcxRadioButtonImageList::MapIndex(lfStandard, esNormal, false, false, false));
  int checked = images->ImageIndexOf(TcxRadioButtonImageList::MapIndex(lfStandard, esNormal, true, false, false));
  int disabled = images->ImageIndexOf(TcxRadioButtonImageList::MapIndex(lfFlat, esDisabled, true, false, false));
  for (int y = 0; y < e.cy; ++y)
    for (int x = 0; x < e.cx; ++x)
      if (images->PatternAt(x, y) == 6) {
        EXPECT_EQ(images->ImagePixel(unchecked, x, y), uint32_t(ColorToRGB(clWindow)));
        EXPECT_EQ(images->ImagePixel(checked, x, y), uint32_t(ColorToRGB(clWindowText)));
        EXPECT_EQ(images->ImagePixel(disabled, x, y), uint32_t(ColorToRGB(clBtnShadow)));
      }

  // With the default background the pixels outside the round mask keep the canvas.
  TSurface s(e.cx + 4, e.cy + 4, TColor(0x00FF00));
  Painter("Standard")->PaintRadioButton(s.Canvas.get(), 2, 2, esNormal, true, false);
  EXPECT_EQ(s.At(2, 2), 0x00FF00u) << "the corner is outside the circle";
  EXPECT_EQ(s.At(2 + e.cx / 2, 2 + e.cy / 2), Rgb(clWindowText));
  TSurface b(e.cx + 4, e.cy + 4, TColor(0x00FF00));
  Painter("Standard")->PaintRadioButton(b.Canvas.get(), 2, 2, esNormal, false, false, TColor(0xFF0000));
  EXPECT_EQ(b.At(2, 2), 0x0000FFu) << "a given background fills the corners";
  EXPECT_EQ(b.At(2 + e.cx / 2, 2 + e.cy / 2), Rgb(clWindow));
  EXPECT_EQ(Painter("UltraFlat")->RadioButtonExtent(), e);
}

TEST(Painters, PopupResizeBarOnAWindow) {
  HWND wnd = CreateWindowEx(0, "STATIC", "", WS_POPUP | WS_BORDER, 0, 0, 120, 80, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(wnd, nullptr);
  RECT wr{}, cr{};
  GetWindowRect(wnd, &wr);
  GetClientRect(wnd, &cr);
  POINT origin{0, 0};
  ClientToScreen(wnd, &origin);
  int border = origin.x - wr.left;
  // The bar takes the window's bottom below a client area made smaller by the caller.
  TcxCustomLookAndFeelPainter* p = Painter("Standard");
  TRect bounds(wr), bar, grip, close;
  TRect content = bounds;
  CalcPopupResizeBarLayout(p, content, bar, grip, close, coBottomRight, TRect(border, border, border, border),
                           TRect(2, 2, 2, 2), 0, true, true);
  SetWindowPos(wnd, nullptr, wr.left, wr.top, wr.right - wr.left, wr.bottom - wr.top + bar.Height(),
               SWP_NOZORDER | SWP_NOACTIVATE);
  GetWindowRect(wnd, &wr);
  bounds = TRect(wr);
  content = bounds;
  CalcPopupResizeBarLayout(p, content, bar, grip, close, coBottomRight, TRect(border, border, border, border),
                           TRect(2, 2, 2, 2), 0, true, true);
  EXPECT_NO_THROW(DrawPopupResizeBar(p, wnd, true, false, coBottomRight, close, grip, TColor(0x0000FF)));
  EXPECT_EQ(SharedPaintCanvas()->Depth(), 0) << "the canvas is restored";
  DestroyWindow(wnd);
}

TEST(Painters, Office11BorrowsAndFramesAllRound) {
  TVisualStylesAbsent styles;
  auto* o = dynamic_cast<TcxOffice11LookAndFeelPainter*>(Painter("Office11"));
  ASSERT_NE(o, nullptr);
  EXPECT_EQ(o->StyleKind(), psOffice11);
  EXPECT_EQ(o->HeaderFrameSides(TcxBorders{bLeft, bTop}), cxBordersAll);
  EXPECT_EQ(o->ButtonGlyphState(esPressed), esNormal);
  EXPECT_EQ(o->ButtonGlyphColor(esPressed), clHighlightText) << "no Office 2003 scheme is active";
  // Its scroll-bar parts are the native painter's.
  for (TcxScrollPart part : {spLineBack, spThumb, spPageForward}) {
    TSurface a(40, 40), b(40, 40);
    o->PaintScrollBarPart(a.Canvas.get(), true, TRect(0, 0, 34, 17), part, esNormal);
    Painter("Native")->PaintScrollBarPart(b.Canvas.get(), true, TRect(0, 0, 34, 17), part, esNormal);
    EXPECT_EQ(a.Image(), b.Image()) << int(part);
  }
  std::vector<std::string> names;
  for (int i = 0; i < cxLookAndFeelPaintersManager()->PainterCount(); ++i)
    names.push_back(cxLookAndFeelPaintersManager()->PainterAt(i)->KindName());
  EXPECT_EQ(names, (std::vector<std::string>{"Flat", "Native", "Office11", "Standard", "UltraFlat"}));
  TcxLookAndFeel lf(nullptr);
  lf.ApplyStyleIndex(4);
  EXPECT_EQ(lf.ActivePainter(), o);
}

TEST(Painters, Office11HeaderFrame) {
  auto* o = dynamic_cast<TcxOffice11LookAndFeelPainter*>(Painter("Office11"));
  ASSERT_NE(o, nullptr);
  struct TCase {
    TcxBorders Neighbors;
    int X, Y;
    TColor Color;
  };
  const TColor mid = o->HeaderMidColor(), dark = o->HeaderDarkColor(), high = o->HeaderHighlightColor();
  const TCase cases[] = {
      {{}, 5, 0, mid},                                   // top row
      {{}, 5, 19, dark},                                 // bottom row
      {{}, 0, 1, high},                                  // the left column covers its first pixel
      {{}, 0, 10, high},
      {{}, 0, 18, o->HeaderLightColor()},
      {{}, 29, 10, dark},                                // right column, no neighbour
      {{}, 29, 0, MixColors(mid, dark, 50)},             // right top corner blends
      {TcxBorders{bRight}, 29, 1, mid},                  // with a right neighbour
      {TcxBorders{bRight}, 29, 10, dark},
      {TcxBorders{bLeft}, 0, 1, mid},                    // a left neighbour starts the column lower
      {TcxBorders{bLeft}, 0, 17, MixColors(mid, o->HeaderLightColor(), 25)},
  };
  for (const TCase& c : cases) {
    TSurface s(30, 20);
    o->PaintHeaderFrame(s.Canvas.get(), TRect(0, 0, 30, 20), c.Neighbors, cxBordersAll);
    EXPECT_EQ(s.At(c.X, c.Y), Rgb(c.Color)) << c.X << "," << c.Y;
  }
}
