// The envelope curve editor on the offscreen platform: points made with the mouse and the curve
// values they give, and the curve drawn where the values say.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "Imports/AudioTransformDisplay.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/QtWindows.h"

namespace {

constexpr double kSilence = -INFINITY;

struct Display {
  std::unique_ptr<TAudioTransformDisplay2> D = std::make_unique<TAudioTransformDisplay2>(nullptr);
  Display() {
    D->SetBounds(0, 0, 545, 200);
    D->SetLineArraySize(101);
  }
  void Mouse(UINT msg, int x, int y, WPARAM keys) {
    SendMessage(D->Handle(), msg, keys, MAKELPARAM(x, y));
  }
  void Click(double t, double db, bool right = false) {
    const int x = D->XOfPosition(t), y = D->YOfDb(db);
    Mouse(right ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, x, y, right ? MK_RBUTTON : MK_LBUTTON);
    Mouse(right ? WM_RBUTTONUP : WM_LBUTTONUP, x, y, 0);
  }
  void Drag(double t0, double db0, double t1, double db1) {
    Mouse(WM_LBUTTONDOWN, D->XOfPosition(t0), D->YOfDb(db0), MK_LBUTTON);
    Mouse(WM_MOUSEMOVE, D->XOfPosition(t1), D->YOfDb(db1), MK_LBUTTON);
    Mouse(WM_LBUTTONUP, D->XOfPosition(t1), D->YOfDb(db1), 0);
  }
  // The value at a position; exact positions 0, .25, .5... fall on indexes of a 101-value curve.
  double At(double t) {
    SampleBuffer v = D->CurveValues();
    return v[int64_t(std::lround(t * (v.Frames() - 1)))];
  }
  QImage Shot() {
    D->Invalidate();
    PaintWindowNow(D->Handle());
    return *GetWindowBackBuffer(D->Handle());
  }
};

// Level resolution of one pixel row.
double RowDb(const TAudioTransformDisplay2& d) {
  return (TAudioTransformDisplay2::kTopDb - TAudioTransformDisplay2::kFloorDb) /
         (d.PlotRect().Height() - 1);
}

TEST(AudioTransformDisplay, StartsFlatAtZeroWithTheSizeAsked) {
  Display d;
  for (int size : {1, 101, 100000}) {
    d.D->SetLineArraySize(size);
    SampleBuffer v = d.D->CurveValues();
    ASSERT_EQ(v.Frames(), size);
    EXPECT_EQ(v.Channels(), 1);
    for (int64_t i = 0; i < v.Frames(); ++i) ASSERT_EQ(v[i], 0.f) << i;
  }
  // The scale's labels change nothing of the values.
  d.D->SetScaleXMin(5000);
  d.D->SetScaleXMax(1000);
  d.D->SetScaleXCaption("smpl");
  EXPECT_EQ(d.D->CurveValues().Frames(), 100000);
  EXPECT_THROW(d.D->SetLineArraySize(0), Exception);
}

TEST(AudioTransformDisplay, PointsAddedDraggedAndRemovedShapeTheValues) {
  Display d;
  const double row = RowDb(*d.D);
  const double floor = TAudioTransformDisplay2::kFloorDb;
  // A point on the floor in the middle: silence there, a straight line in dB to each end.
  d.Click(0.5, floor);
  ASSERT_EQ(d.D->Points().size(), 3u);
  EXPECT_NEAR(d.At(0.5), floor, 1.0);
  EXPECT_NEAR(d.At(0.25), floor / 2, 0.5);
  EXPECT_NEAR(d.At(0.0), 0, row);
  EXPECT_NEAR(d.At(1.0), 0, row);

  struct Step {
    const char* What;
    std::function<void()> Do;
    std::vector<std::pair<double, double>> Expect;  // position, dB
  };
  const std::vector<Step> steps = {
      {"drag the point up to -6 dB",
       [&] { d.Drag(0.5, floor, 0.5, -6); },
       {{0.5, -6}, {0.25, -3}, {1.0, 0}}},
      {"drag the start end down (it keeps its column)",
       [&] { d.Drag(0.0, 0, 0.3, -12); },
       {{0.0, -12}, {0.25, -9}, {0.5, -6}}},
      {"right press removes the middle point",
       [&] { d.Click(0.5, -6, true); },
       {{0.0, -12}, {0.5, -6}, {1.0, 0}}},
      {"right press on an end removes nothing",
       [&] { d.Click(1.0, 0, true); },
       {{0.0, -12}, {1.0, 0}}},
      {"an end dragged to the floor is silence",
       [&] { d.Drag(1.0, 0, 1.0, floor - 20); },
       {{0.0, -12}, {1.0, kSilence}}},
  };
  for (const Step& s : steps) {
    s.Do();
    for (auto [t, db] : s.Expect) {
      if (std::isinf(db))
        EXPECT_EQ(d.At(t), db) << s.What << " at " << t;
      else
        EXPECT_NEAR(d.At(t), db, 2 * row) << s.What << " at " << t;
    }
  }
  EXPECT_EQ(d.D->Points().size(), 2u);

  // Two points on the floor make silence of everything between them.
  d.D->ResetCurve();
  d.Click(0.3, floor);
  d.Click(0.7, floor);
  SampleBuffer v = d.D->CurveValues();
  for (int i = 32; i <= 68; ++i) EXPECT_EQ(v[i], kSilence) << i;
  EXPECT_GT(v[20], floor);
  EXPECT_GT(v[80], floor);
}

TEST(AudioTransformDisplay, DrawsTheCurveWhereItsValuesAre) {
  Display d;
  d.Click(0.5, TAudioTransformDisplay2::kFloorDb);
  const QImage img = d.Shot();
  const QRgb curve = qRgb(0x66, 0xFF, 0x66);
  const auto curveRow = [&](double t) {
    const int x = d.D->XOfPosition(t);
    for (int y = 0; y < img.height(); ++y)
      if (img.pixel(x, y) == curve) return y;
    return -1;
  };
  for (double t : {0.1, 0.25, 0.4, 0.6, 0.9}) EXPECT_NEAR(curveRow(t), d.D->YOfDb(d.At(t)), 1) << t;
  // With the grid hidden nothing but background is left between the curve's columns.
  d.D->SetGridVisible(false);
  const QImage plain = d.Shot();
  const TRect r = d.D->PlotRect();
  EXPECT_EQ(plain.pixel(d.D->XOfPosition(0.5), r.Top + 2), qRgb(0, 0, 0));
  EXPECT_EQ(img.pixel(d.D->XOfPosition(0.5), r.Top + 2), qRgb(0x40, 0x40, 0x40));
  EXPECT_TRUE(FindClassInfo("TAudioTransformDisplay2"));
  if (const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR")) {
    d.D->SetGridVisible(true);
    d.D->SetScaleXCaption("smpl");
    d.D->SetScaleXMax(44100);
    d.Click(0.8, -6);
    d.Shot().save(QString::fromStdString(std::string(dir) + "/envelope.png"));
  }
}

}  // namespace
