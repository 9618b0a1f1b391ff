// The gradient progress bar painted on a shown form and read back: the main window's meter, the
// plain and LED styles, the orientation following the shape, parts, the frame controller, and the
// gradient kinds drawn on a bitmap.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "ControlsScene.h"
#include "controls/RzPrgres.h"

using namespace controlstest;

namespace {

struct TBarScene {
  std::unique_ptr<TForm> Form = MakeForm();
  TRzProgressBar* Bar;
  TBarScene() {
    Form->SetColor(clBlack);
    Bar = new TRzProgressBar(Form.get());
    Bar->SetParent(Form.get());
    Form->Show();
  }
  // The main window's level meter.
  void Meter() {
    Bar->SetBounds(10, 20, 188, 8);
    Bar->SetBarStyle(bsGradient);
    Bar->SetGradientDirection(gdVerticalEnd);
    Bar->SetBackColor(clBlack);
    Bar->SetBackColorStop(clBlack);
    Bar->SetBarColor(1314303);
    Bar->SetBarColorStop(1341440);
    Bar->SetBorderOuter(fsNone);
    Bar->SetBorderWidth(0);
    Bar->SetFlatColor(clBlack);
    Bar->SetInteriorOffset(0);
    Bar->SetShowPercent(false);
    Bar->SetThemeAware(false);
    Bar->SetFrameControllerNotifications({});
  }
  QRgb At(int x, int y) { return Painted(Form.get()).pixel(Bar->Left() + x, Bar->Top() + y); }
};

// Half a meter: red toward the left end, exactly the stop colour at its tip, black beyond.
TEST(RzProgressBar, TheMeterAtHalfIsAGradientToTheStopColourThenBlack) {
  TBarScene s;
  s.Meter();
  s.Bar->SetPercent(50);
  const QImage img = Painted(s.Form.get());
  for (int y = 0; y < 8; ++y) {
    EXPECT_EQ(img.pixel(10 + 93, 20 + y), qRgb(0, 120, 20)) << y;
    const QColor first = img.pixelColor(10, 20 + y);
    EXPECT_NEAR(first.red(), 255, 4);
    EXPECT_NEAR(first.green(), 13, 2);
    EXPECT_EQ(first.blue(), 20);
    for (int x = 94; x < 188; ++x) ASSERT_EQ(img.pixel(10 + x, 20 + y), qRgb(0, 0, 0)) << x;
  }
  for (int x = 1; x < 94; ++x) {
    EXPECT_LE(qRed(img.pixel(10 + x, 24)), qRed(img.pixel(9 + x, 24))) << x;
    EXPECT_GE(qGreen(img.pixel(10 + x, 24)), qGreen(img.pixel(9 + x, 24))) << x;
  }
  // Nothing is drawn outside the bar.
  EXPECT_EQ(img.pixel(9, 24), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(198, 24), qRgb(0, 0, 0));
}

TEST(RzProgressBar, PercentIsStoredUnclampedAndAHundredOrMoreFillsTheBar) {
  TBarScene s;
  s.Meter();
  std::vector<int> heard;
  s.Bar->OnChange = [&](TObject*, int p) { heard.push_back(p); };
  for (uint16_t p : {0, 0, 250, 100}) s.Bar->SetPercent(p);
  EXPECT_EQ(heard, (std::vector<int>{250, 100}));
  s.Bar->SetPercent(250);
  EXPECT_EQ(s.Bar->Percent(), 250);
  EXPECT_EQ(s.At(187, 4), qRgb(0, 120, 20));
  s.Bar->SetPercent(0);
  for (int x = 0; x < 188; x += 17) EXPECT_EQ(s.At(x, 4), qRgb(0, 0, 0)) << x;
}

// The plain bar's text reads in the background colour over the filled part and in the bar
// colour over the rest; without text the two parts are plain.
TEST(RzProgressBar, PlainBarTextInvertsAcrossTheBoundary) {
  TBarScene s;
  s.Bar->SetBounds(10, 10, 120, 20);
  s.Bar->SetBorderOuter(fsNone);
  s.Bar->SetBarColor(clRed);
  s.Bar->SetBackColor(clWhite);
  s.Bar->SetPercent(50);
  s.Bar->SetShowPercent(false);
  QImage img = Painted(s.Form.get());
  for (int x = 0; x < 120; x += 3) EXPECT_EQ(img.pixel(10 + x, 20), x < 60 ? qRgb(255, 0, 0) : qRgb(255, 255, 255)) << x;
  s.Bar->SetShowPercent(true);
  img = Painted(s.Form.get());
  int whiteInFilled = 0, redInEmpty = 0;
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 120; ++x) {
      const QRgb p = img.pixel(10 + x, 10 + y);
      if (x < 60) {
        EXPECT_NE(p, qRgb(0, 0, 0));
        whiteInFilled += qGreen(p) > 128;
      } else {
        redInEmpty += qGreen(p) < 128;
      }
    }
  EXPECT_GT(whiteInFilled, 5);
  EXPECT_GT(redInEmpty, 5);
}

// A bar taller than wide turns vertical and fills from the bottom.
TEST(RzProgressBar, BoundsDecideTheOrientation) {
  TBarScene s;
  s.Bar->SetBorderOuter(fsNone);
  s.Bar->SetShowPercent(false);
  s.Bar->SetBarColor(clRed);
  s.Bar->SetBackColor(clWhite);
  s.Bar->SetBounds(10, 10, 20, 100);
  EXPECT_EQ(s.Bar->Orientation(), orVertical);
  s.Bar->SetPercent(25);
  const QImage img = Painted(s.Form.get());
  for (int y = 0; y < 100; ++y) EXPECT_EQ(img.pixel(20, 10 + y), y >= 75 ? qRgb(255, 0, 0) : qRgb(255, 255, 255)) << y;
  s.Bar->SetBounds(10, 10, 100, 20);
  EXPECT_EQ(s.Bar->Orientation(), orHorizontal);
}

struct TLedCase {
  int Length, Segments, Percent;
  int Lit, Pitch;
};

// Segments along the bar, lit from the start; short bars use ten segments, spare room takes
// extra ones, the outlines in the background colour make the gaps.
TEST(RzProgressBar, LedSegmentsTable) {
  const TLedCase cases[] = {{60, 20, 50, 5, 6}, {200, 20, 50, 10, 10}, {95, 20, 100, 23, 4}, {60, 20, 0, 0, 6}};
  for (const TLedCase& c : cases) {
    TBarScene s;
    s.Bar->SetBarStyle(bsLED);
    EXPECT_FALSE(s.Bar->ShowPercent());
    EXPECT_EQ(s.Bar->InteriorOffset(), 1);
    s.Bar->SetBorderOuter(fsNone);
    s.Bar->SetBarColor(clRed);
    s.Bar->SetBackColor(clWhite);
    s.Bar->SetNumSegments(c.Segments);
    s.Bar->SetBounds(10, 10, c.Length + 2, 16);
    s.Bar->SetPercent(uint16_t(c.Percent));
    const QImage img = Painted(s.Form.get());
    std::vector<int> starts, widths;
    for (int x = 0; x < c.Length + 2; ++x) {
      const bool red = img.pixel(10 + x, 18) == qRgb(255, 0, 0);
      if (red && (x == 0 || img.pixel(9 + x, 18) != qRgb(255, 0, 0))) {
        starts.push_back(x);
        widths.push_back(0);
      }
      if (red) ++widths.back();
    }
    ASSERT_EQ(int(starts.size()), c.Lit) << c.Length;
    for (size_t i = 0; i < starts.size(); ++i) {
      EXPECT_EQ(widths[i], c.Pitch - 2) << c.Length;
      if (i) EXPECT_EQ(starts[i] - starts[i - 1], c.Pitch) << c.Length;
    }
  }
}

TEST(RzProgressBar, PartsSetThePercentAndStayWithinTheTotal) {
  TBarScene s;
  s.Bar->SetTotalParts(3);
  s.Bar->SetPartsComplete(1);
  EXPECT_EQ(s.Bar->Percent(), 33);
  s.Bar->SetPartsComplete(5);
  EXPECT_EQ(s.Bar->PartsComplete(), 3u);
  EXPECT_EQ(s.Bar->Percent(), 100);
  s.Bar->SetTotalParts(8);
  EXPECT_EQ(s.Bar->PartsComplete(), 0u);
  EXPECT_EQ(s.Bar->Percent(), 0);
}

// With no notifications wanted a controller changes nothing; with all of them a visible frame
// takes the controller's style, colour and background.
TEST(RzProgressBar, FrameControllerAppliesOnlyTheWantedSettings) {
  for (bool wanted : {false, true}) {
    TBarScene s;
    if (!wanted) s.Bar->SetFrameControllerNotifications({});
    TRzFrameController controller(nullptr);
    controller.SetFrameVisible(true);
    controller.SetFrameStyle(fsGroove);
    controller.SetFrameColor(clRed);
    controller.SetColor(clYellow);
    s.Bar->SetFrameController(&controller);
    EXPECT_EQ(s.Bar->BorderOuter(), wanted ? fsGroove : fsLowered);
    EXPECT_EQ(s.Bar->FlatColor(), wanted ? clRed : clBtnShadow);
    EXPECT_EQ(s.Bar->FlatColorAdjustment(), wanted ? 0 : 30);
    EXPECT_EQ(s.Bar->BackColor(), wanted ? clYellow : clWhite);
    s.Bar->SetFrameController(nullptr);
    EXPECT_EQ(controller.ControlCount(), 0);
  }
}

// The gradient kinds on a bitmap: where the two colours lie.
TEST(RzProgressBar, GradientKindsPutTheirColoursWhereTheyBelong) {
  const TColor c1 = clBlack, c2 = clWhite;
  struct TSpot {
    int X, Y;
    int Level;  // expected grey level, within 16
  };
  struct TCase {
    TGradientDirection Dir;
    std::vector<TSpot> Spots;
  } cases[] = {
      {gdHorizontalEnd, {{20, 0, 7}, {20, 39, 255}}},
      {gdVerticalEnd, {{0, 20, 7}, {59, 20, 255}}},
      {gdVerticalCenter, {{0, 20, 8}, {30, 20, 255}, {59, 20, 8}}},
      {gdHorizontalCenter, {{30, 0, 12}, {30, 20, 255}, {30, 39, 12}}},
      {gdSquareBox, {{0, 0, 0}, {59, 39, 0}, {29, 19, 255}, {59, 0, 0}}},
      // 15 steps of 17 from the middle: the corners one step short of the first colour.
      {gdBigSquareBox, {{0, 0, 17}, {29, 19, 255}, {0, 39, 17}}},
      {gdHorizontalBox, {{0, 0, 0}, {29, 19, 255}, {20, 19, 255}, {59, 39, 0}}},
      {gdVerticalBox, {{0, 0, 0}, {29, 19, 255}, {29, 14, 255}, {59, 39, 0}}},
      {gdDiagonalUp, {{0, 39, 0}, {59, 0, 255}, {0, 0, 128}, {59, 39, 128}}},
      {gdDiagonalDown, {{59, 39, 255}, {0, 0, 0}, {0, 39, 128}, {59, 0, 128}}},
  };
  for (const TCase& c : cases) {
    TBitmap b;
    b.SetSize(60, 40);
    DrawGradientArea(b.Canvas(), Rect(0, 0, 60, 40), c.Dir, c1, c2, 1);
    const QImage img = b.ToImage();
    for (const TSpot& p : c.Spots) {
      const QColor at = img.pixelColor(p.X, p.Y);
      EXPECT_NEAR(at.red(), p.Level, 16) << int(c.Dir) << " at " << p.X << "," << p.Y;
      EXPECT_EQ(at.red(), at.green());
    }
    // Box kinds are symmetric about both middles.
    if (c.Dir == gdSquareBox || c.Dir == gdBigSquareBox || c.Dir == gdHorizontalBox || c.Dir == gdVerticalBox)
      for (int y = 0; y < 40; y += 3)
        for (int x = 0; x < 60; x += 3) {
          EXPECT_EQ(img.pixel(x, y), img.pixel(59 - x, y)) << int(c.Dir);
          EXPECT_EQ(img.pixel(x, y), img.pixel(x, 39 - y)) << int(c.Dir);
        }
  }
  // Equal colours give a plain fill.
  TBitmap b;
  b.SetSize(10, 10);
  DrawGradientArea(b.Canvas(), Rect(0, 0, 10, 10), gdDiagonalUp, clRed, clRed, 1);
  EXPECT_EQ(b.ToImage().pixel(5, 5) & 0xFFFFFF, 0xFF0000u);
}

}  // namespace
