#include "Imports/AudioVisualizationDisplay.h"

#include <QColor>
#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <functional>
#include <utility>

namespace {

constexpr int kBarWidth = 4;  // a bar and its one-pixel gap: five columns
constexpr double kGridDb = 20.0;

QColor FromBgr(unsigned c) { return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF); }

std::string AxisText(double v, bool hertz) {
  char buf[32];
  if (hertz && v >= 1000)
    std::snprintf(buf, sizeof buf, "%.1f kHz", v / 1000);
  else
    std::snprintf(buf, sizeof buf, hertz ? "%.0f Hz" : "%.0f", v);
  return buf;
}

}  // namespace

double VisualizationFraction(int pixel, int size) {
  return size > 1 ? std::clamp(double(pixel) / (size - 1), 0.0, 1.0) : 0.0;
}

void PaintVisualization(QImage& image, const TVisualizationSource& source,
                        const TVisualizationFont& font) {
  const int W = image.width(), H = image.height();
  image.fill(QColor(0, 0, 0));
  if (W <= 0 || H <= 0) return;
  QPainter p(&image);
  const float floor = std::min(source.Floor, -1.f);
  const auto yOf = [&](float db) {
    const double f = std::clamp(double(db) / floor, 0.0, 1.0);  // 0 dB top, floor bottom
    return int(std::lround(f * (H - 1)));
  };

  // Grid and captions.
  QFont qf(QString::fromStdString(font.Name));
  qf.setPixelSize(std::max(1, (font.Size * 96 + 36) / 72));
  p.setFont(qf);
  const QFontMetrics m(qf);
  const QColor grid(48, 48, 48), text = FromBgr(font.Color);
  for (double db = 0; db >= floor; db -= kGridDb) p.fillRect(0, yOf(float(db)), W, 1, grid);
  for (int i = 1; i < 4; ++i) p.fillRect(int(std::lround(i * (W - 1) / 4.0)), 0, 1, H, grid);
  // The captions go over whatever the data drew.
  struct Captions {
    std::function<void()> Draw;
    ~Captions() { Draw(); }
  } captions{[&] {
    p.setPen(text);
    for (double db = 0; db >= floor; db -= kGridDb)
      p.drawText(2, std::clamp(yOf(float(db)) - 2, m.ascent(), H - 2),
                 QString::fromStdString(AxisText(db, false) + " dB"));
    for (int i = 1; i < 4 && source.XValueAt; ++i) {
      const int x = int(std::lround(i * (W - 1) / 4.0));
      p.drawText(x + 2, H - 3,
                 QString::fromStdString(
                     AxisText(source.XValueAt(VisualizationFraction(x, W)), source.View != 0)));
    }
  }};
  if (!source.LevelAt) return;

  if (source.View <= 1) {
    // A trace, or for the linear spectrum the area under it.
    const QColor line = source.View == 0 ? QColor(80, 255, 80) : QColor(90, 170, 255);
    const QColor fill = QColor(40, 80, 140);
    QPoint prev;
    for (int x = 0; x < W; ++x) {
      const int y = yOf(source.LevelAt(VisualizationFraction(x, W)));
      if (source.View == 1 && y < H - 1) p.fillRect(x, y + 1, 1, H - 1 - y, fill);
      p.setPen(line);
      if (x == 0)
        p.drawPoint(x, y);
      else
        p.drawLine(prev, QPoint(x, y));
      prev = QPoint(x, y);
    }
    return;
  }

  // Bars: each shows the highest level over its columns.
  for (int x0 = 0; x0 < W; x0 += kBarWidth + 1) {
    const int x1 = std::min(W, x0 + kBarWidth);
    float level = floor;
    for (int x = x0; x < x1; ++x)
      level = std::max(level, source.LevelAt(VisualizationFraction(x, W)));
    const int top = yOf(level);
    if (top >= H - 1) continue;
    const QRect bar(x0, top, x1 - x0, H - top);
    switch (source.View) {
      case 3: {  // Fire: red at the bottom to yellow at the top of the scale
        QLinearGradient g(0, H, 0, 0);
        g.setColorAt(0, QColor(160, 0, 0));
        g.setColorAt(0.6, QColor(255, 90, 0));
        g.setColorAt(1, QColor(255, 240, 60));
        p.fillRect(bar, g);
        break;
      }
      case 4: {  // Glass: pale translucent blue with a bright rim
        p.fillRect(bar, QColor(120, 170, 230, 110));
        p.fillRect(x0, top, x1 - x0, 1, QColor(220, 240, 255));
        break;
      }
      case 5: {  // Kryptonite: dark to bright green
        QLinearGradient g(0, H, 0, 0);
        g.setColorAt(0, QColor(0, 70, 0));
        g.setColorAt(1, QColor(120, 255, 90));
        p.fillRect(bar, g);
        break;
      }
      default:
        p.fillRect(bar, QColor(80, 200, 80));
        break;
    }
  }
}

TAudioVisualizationView::TAudioVisualizationView(TComponent* AOwner) : TCustomControl(AOwner) {
  SetBounds(0, 0, 539, 231);
}

void TAudioVisualizationView::SetSource(TVisualizationSource source) {
  FSource = std::move(source);
  Invalidate();
}

void TAudioVisualizationView::SetDisplayFont(const TVisualizationFont& font) {
  FFont = font;
  Invalidate();
}

void TAudioVisualizationView::ValuesAt(int X, int Y, int& XValue, int& YValue) const {
  const double fx = VisualizationFraction(X, ClientWidth());
  const double fy = VisualizationFraction(Y, ClientHeight());
  XValue = FSource.XValueAt ? int(std::lround(FSource.XValueAt(fx))) : 0;
  YValue = int(std::lround(fy * std::min(FSource.Floor, -1.f)));
}

void TAudioVisualizationView::Paint() {
  QImage image(std::max(1, ClientWidth()), std::max(1, ClientHeight()), QImage::Format_RGB32);
  PaintVisualization(image, FSource, FFont);
  DrawImageOnCanvas(Canvas(), ClientRect(), image);
}

void TAudioVisualizationView::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (!OnMouseMove) return;
  int xValue = 0, yValue = 0;
  ValuesAt(X, Y, xValue, yValue);
  OnMouseMove(this, X, Y, xValue, yValue);
}
