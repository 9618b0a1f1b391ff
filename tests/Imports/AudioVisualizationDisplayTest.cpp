// The frequency-analysis drawing: a spectrum with one peak, drawn in every view type, shows
// the peak at its column and nothing elsewhere near the top.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <string>
#include <vector>

#include "Imports/AudioVisualizationDisplay.h"
#include "platform/win/QtWindows.h"

namespace {

bool IsData(QRgb c) {
  return c != qRgb(0, 0, 0) && c != qRgb(48, 48, 48) &&
         (qRed(c) != qGreen(c) || qGreen(c) != qBlue(c));
}

// The columns of row y that hold data.
std::pair<int, int> DataSpan(const QImage& img, int y) {
  int first = -1, last = -1;
  for (int x = 0; x < img.width(); ++x)
    if (IsData(img.pixel(x, y))) {
      if (first < 0) first = x;
      last = x;
    }
  return {first, last};
}

TEST(AudioVisualizationDisplay, EveryViewShowsThePeakAtItsColumn) {
  constexpr int W = 400, H = 200;
  constexpr double kPeak = 0.3;
  TVisualizationSource source;
  source.Floor = -120;
  source.LevelAt = [](double f) { return std::abs(f - kPeak) < 0.01 ? -1.f : -100.f; };
  source.XValueAt = [](double f) { return f * 22050; };
  const int peakX = int(kPeak * (W - 1));
  const int nearTop = int(3.0 / 120 * (H - 1)) + 1;  // just under -1 dB
  const int lowRow = int(105.0 / 120 * (H - 1));     // under the floor of the rest
  for (int view = 0; view <= 5; ++view) {
    source.View = view;
    QImage img(W, H, QImage::Format_RGB32);
    PaintVisualization(img, source, {});
    const auto [first, last] = DataSpan(img, nearTop);
    EXPECT_GE(first, peakX - 8) << view;
    EXPECT_LE(last, peakX + 8) << view;
    EXPECT_LE(first, peakX + 1) << view;
    // Below the rest of the spectrum's level the bars and the filled area reach across.
    if (view >= 1) EXPECT_TRUE(IsData(img.pixel(W - 60, lowRow))) << view;
    if (const char* dir = std::getenv("SONALIX_SCREENSHOT_DIR"))
      img.save(QString::fromStdString(std::string(dir) + "/vis" + std::to_string(view) + ".png"));
  }
  EXPECT_DOUBLE_EQ(VisualizationFraction(0, W), 0.0);
  EXPECT_DOUBLE_EQ(VisualizationFraction(W - 1, W), 1.0);
  // Without results only the scales are drawn.
  source.LevelAt = nullptr;
  QImage empty(W, H, QImage::Format_RGB32);
  PaintVisualization(empty, source, {});
  EXPECT_EQ(DataSpan(empty, nearTop).first, -1);
}

TEST(AudioVisualizationDisplay, TheControlDrawsItsSourceAndReportsValuesUnderTheMouse) {
  TAudioVisualizationView view(nullptr);
  view.SetBounds(0, 0, 301, 121);
  TVisualizationSource source;
  source.View = 2;
  source.Floor = -120;
  source.LevelAt = [](double f) { return std::abs(f - 0.5) < 0.01 ? 0.f : -110.f; };
  source.XValueAt = [](double f) { return f * 20000; };
  view.SetSource(source);
  std::vector<std::vector<int>> moves;
  view.OnMouseMove = [&](TObject*, int x, int y, int xv, int yv) {
    moves.push_back({x, y, xv, yv});
  };
  PaintWindowNow(view.Handle());
  const QImage img = *GetWindowBackBuffer(view.Handle());
  const auto [first, last] = DataSpan(img, 3);
  EXPECT_GE(first, 145);
  EXPECT_LE(last, 155);
  struct Case {
    int X, Y, XValue, YValue;
  };
  for (const Case c : {Case{0, 0, 0, 0}, Case{150, 60, 10000, -60}, Case{300, 120, 20000, -120}}) {
    moves.clear();
    SendMessage(view.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(c.X, c.Y));
    ASSERT_EQ(moves.size(), 1u);
    EXPECT_EQ(moves[0], (std::vector<int>{c.X, c.Y, c.XValue, c.YValue}));
  }
}

}  // namespace
