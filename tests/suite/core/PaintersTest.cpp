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
#include "suite/core/cxLookAndFeels.h"

namespace {

uint32_t Rgb(TColor c) {
  uint32_t v = uint32_t(ColorToRGB(c)) & 0xFFFFFF;
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

struct TSurface {
  TBitmap Bitmap;
  std::unique_ptr<TcxCanvas> Canvas;
  TSurface(int w, int h, TColor back = TColor(0xFFFFFF)) {
    Bitmap.SetSize(w, h);
    Canvas = std::make_unique<TcxCanvas>(Bitmap.Canvas());
    Canvas->FillRectWithColor(TRect(0, 0, w, h), back);
  }
  QImage Image() { return Bitmap.ToImage(); }
  uint32_t At(int x, int y) { return Image().pixel(x, y) & 0xFFFFFF; }
};

std::filesystem::path SheetDir() {
  if (const char* d = std::getenv("SONALIX_SHEETS_DIR")) {
    std::filesystem::create_directories(d);
    return d;
  }
  static std::filesystem::path dir = sonalix::test::MakeTempDir("sheets");
  return dir;
}

TcxCustomLookAndFeelPainter* Painter(const char* Name) {
  return cxLookAndFeelPaintersManager()->PainterForName(Name);
}

// The bounding box of the pixels that differ from white.
TRect InkBounds(const QImage& img) {
  TRect r(img.width(), img.height(), -1, -1);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x)
      if ((img.pixel(x, y) & 0xFFFFFF) != 0xFFFFFF) {
        r.Left = std::min(r.Left, x);
        r.Top = std::min(r.Top, y);
        r.Right = std::max(r.Right, x + 1);
        r.Bottom = std::max(r.Bottom, y + 1);
      }
  return r;
}

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
  TRect ink = InkBounds(s.Image());
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
    EXPECT_TRUE(InkBounds(s.Image()).IsEmpty()) << name;
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
  for (int i = 0; i < cxLookAndFeelPaintersManager()->PainterCount(); ++i) {
    TcxCustomLookAndFeelPainter* p = cxLookAndFeelPaintersManager()->PainterAt(i);
    TSurface s(560, 340, clBtnFace);
    TcxCanvas* c = s.Canvas.get();
    for (int k = 0; k < 5; ++k) {
      TcxElementState st = states[k];
      int x = 8 + k * 100;
      p->PaintButton(c, TRect(x, 8, x + 80, 31), "&Button", st);
      p->DrawArrowButton(c, TRect(x, 40, x + 17, 57), st, adUp, true);
      p->DrawScrollArrow(c, TRect(x + 20, 40, x + 37, 57), st, adDown);
      p->PaintScrollBarPart(c, false, TRect(x + 40, 40, x + 57, 57), spLineBack, st);
      p->PaintScrollBarPart(c, true, TRect(x + 60, 40, x + 77, 57), spLineForward, st);
      p->PaintScrollBarPart(c, true, TRect(x, 62, x + 30, 79), spPageBack, st);
      p->PaintScrollBarPart(c, true, TRect(x + 30, 62, x + 60, 79), spThumb, st);
      p->PaintCheckBox(c, TRect(x, 86, x + 13, 99), st, cbsUnchecked);
      p->PaintCheckBox(c, TRect(x + 18, 86, x + 31, 99), st, cbsChecked);
      p->PaintCheckBox(c, TRect(x + 36, 86, x + 49, 99), st, cbsGrayed);
      p->PaintRadioButton(c, x + 54, 86, st, false, false);
      p->PaintRadioButton(c, x + 72, 86, st, true, false);
      p->PaintGroupExpandButton(c, TRect(x, 106, x + 15, 121), true, st);
      p->PaintGroupExpandButton(c, TRect(x + 20, 106, x + 35, 121), false, st);
      p->PaintFilterCloseButton(c, TRect(x + 40, 106, x + 56, 120), st);
      p->DrawNavButtonFace(c, TRect(x + 60, 106, x + 75, 124), TRect(x + 64, 110, x + 70, 120), false, st);
      p->DrawNavButtonFace(c, TRect(x + 78, 106, x + 93, 124), TRect(x + 82, 110, x + 88, 120), true, st);
      p->PaintHeader(c, TRect(x, 130, x + 80, 150), TRect(x + 2, 130, x + 78, 150), TcxBorders{bLeft, bRight},
                     cxBordersAll, st, haLeft, vaCenter, false, true, "Header", nullptr, clBtnText, clBtnFace);
      p->PaintTrackBarThumb(c, TRect(x, 156, x + 11, 177), st, false, k % 3, clBtnFace);
      p->PaintTrackBarThumb(c, TRect(x + 16, 160, x + 37, 171), st, true, (k + 1) % 3, clBtnFace);
    }
    p->PaintExpandButton(c, TRect(8, 186, 20, 198), false, clDefault);
    c->ApplyClipRegion(TcxRegion::CreateFromBounds(0, 0, 560, 340));
    p->PaintExpandButton(c, TRect(24, 186, 36, 198), true, clDefault);
    c->ApplyClipRegion(TcxRegion::CreateFromBounds(0, 0, 560, 340));
    p->PaintSmallExpandButton(c, TRect(40, 186, 49, 195), false, clBtnShadow, clWindow);
    p->PaintSortMark(c, TRect(56, 186, 70, 198), true);
    p->PaintSortMark(c, TRect(72, 186, 86, 198), false);
    p->PaintListMark(c, TRect(90, 186, 104, 200), clBtnText);
    p->DrawDropDownArrow(c, TRect(108, 186, 120, 198), clBtnText);
    p->DrawControlBorder(c, TRect(130, 186, 170, 210));
    p->DrawContainerFrame(c, TRect(176, 186, 216, 210), cbs3D, 1, clBtnText, cxBordersAll);
    p->DrawContainerFrame(c, TRect(222, 186, 262, 210), cbsFlat, 1, clBtnText, cxBordersAll);
    p->DrawContainerFrame(c, TRect(268, 186, 308, 210), cbsSingle, 2, TColor(0x0000FF), cxBordersAll);
    TRect popup(314, 186, 354, 216);
    p->PaintPopupFrame(c, popup, 2, false);
    for (int corner = 0; corner < 4; ++corner)
      p->PaintSizeGrip(c, TRect(360 + corner * 20, 186, 377 + corner * 20, 203), clBtnFace, TcxCorner(corner));
    p->DrawSeparator(c, TRect(8, 220, 100, 230), true);
    p->PaintSplitter(c, TRect(110, 220, 200, 230), false, false, true);
    p->PaintSplitter(c, TRect(210, 215, 220, 300), true, false, false);
    p->PaintClock(c, TRect(230, 220, 310, 300), (10 * 3600 + 8 * 60 + 30) / 86400.0, clWindow);
    p->DrawTipBackground(c, TRect(320, 220, 420, 260));
    p->DrawTipFrame(c, TRect(320, 250, 420, 260));
    p->PaintTrackBarTrack(c, TRect(430, 220, 540, 226), false, clWindow);
    TRect bg(430, 232, 540, 260);
    p->PaintContainerBackground(c, bg);
    p->PaintGroupBoxFrame(c, TRect(8, 240, 100, 300), true, 0, cxBordersAll);
    p->PaintMonthHeader(c, TRect(320, 270, 540, 290), "December 2026", TcxBorders{bLeft, bBottom}, TcxViewParams{clWindow},
                        3, 12);
    p->PaintProgressBar(c, TRect(8, 310, 200, 326), TRect(10, 312, 120, 324), TcxViewParams{clWindow}, false);
    p->DrawFooterPanel(c, TRect(210, 306, 400, 330), cxBordersAll);
    std::string file = "painter-" + p->KindName() + ".png";
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

// Without visual styles the native painter draws what the Standard painter draws, except where
// its own values differ.
TEST(Painters, NativeFallsBackToStandard) {
  TcxCustomLookAndFeelPainter* n = Painter("native");
  TcxCustomLookAndFeelPainter* s = Painter("Standard");
  ASSERT_TRUE(n && s);
  EXPECT_EQ(n->StyleKind(), psNative);
  EXPECT_FALSE(n->ThemedLookFlag());
  EXPECT_EQ(n->ControlBorderSize(), 2);
  EXPECT_EQ(n->CheckFrameWidth(), 2);
  for (TcxElementState st : {esDefault, esNormal, esPressed}) EXPECT_EQ(n->ButtonBorderWidth(st), 2);
  EXPECT_EQ(n->PressedCaptionShift(), 0);
  EXPECT_EQ(n->ButtonCaptionIndent(), 2);
  EXPECT_EQ(n->SortMarkExtent(), (TSize{7, 8}));
  EXPECT_EQ(n->HintFrameColor(), clDefault);
  EXPECT_EQ(n->ViewColor47(), TColor(0xD5FFFF));
  EXPECT_TRUE(n->HotTracksButtons());

  using TDraw = std::function<void(TcxCustomLookAndFeelPainter*, TcxCanvas*)>;
  const std::pair<const char*, TDraw> same[] = {
      {"control border", [](auto* p, auto* c) { p->DrawControlBorder(c, TRect(2, 2, 30, 20)); }},
      {"check box", [](auto* p, auto* c) { p->PaintCheckBox(c, TRect(2, 2, 15, 15), esNormal, cbsChecked); }},
      {"arrow button", [](auto* p, auto* c) { p->DrawArrowButton(c, TRect(2, 2, 19, 19), esHot, adLeft, true); }},
      {"scroll page", [](auto* p, auto* c) {
         p->PaintScrollBarPart(c, true, TRect(0, 0, 30, 17), spPageForward, esPressed);
       }},
      {"scroll thumb", [](auto* p, auto* c) { p->PaintScrollBarPart(c, false, TRect(0, 0, 17, 30), spThumb, esNormal); }},
      {"hint", [](auto* p, auto* c) { p->PaintHintBackground(c, TRect(4, 4, 30, 20), clDefault); }},
      {"size grip", [](auto* p, auto* c) { p->PaintSizeGrip(c, TRect(0, 0, 17, 17), clBtnFace, coBottomLeft); }},
  };
  for (const auto& [what, draw] : same) {
    TSurface a(40, 40), b(40, 40);
    draw(n, a.Canvas.get());
    draw(s, b.Canvas.get());
    EXPECT_EQ(a.Image(), b.Image()) << what;
  }
  // Its own table: a one-pixel popup frame, no splitter, no pressed-header inversion, and a pressed
  // button whose caption does not move.
  TSurface popup(20, 20);
  TRect r(0, 0, 20, 20);
  n->PaintPopupFrame(popup.Canvas.get(), r, 2, false);
  EXPECT_EQ(r, TRect(1, 1, 19, 19));
  EXPECT_EQ(popup.At(0, 0), Rgb(clBtnText));
  EXPECT_EQ(popup.At(1, 1), 0xFFFFFFu);
  TSurface split(20, 20);
  n->PaintSplitter(split.Canvas.get(), TRect(0, 0, 20, 20), false, false, true);
  n->PaintHeaderPressedMark(split.Canvas.get(), TRect(0, 0, 20, 20));
  EXPECT_TRUE(InkBounds(split.Image()).IsEmpty());
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
