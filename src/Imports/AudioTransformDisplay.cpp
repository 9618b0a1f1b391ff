#include "Imports/AudioTransformDisplay.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <limits>
#include <mutex>

#include "platform/rtl/TypInfo.h"

namespace {

constexpr TColor kBackColor = 0x000000;
constexpr TColor kGridColor = 0x404040;
constexpr TColor kCurveColor = 0x66FF66;
constexpr TColor kPointColor = 0xFFFFFF;
constexpr int kGripPixels = 4;
constexpr double kGridDbStep = 6.0;

QColor Q(TColor c) {
  c = ColorToRGB(c);
  return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

QFont DisplayQFont(const TFont* f) {
  QFont font(QString::fromStdString(f->Name()));
  font.setPixelSize(std::max(1, (f->Size() * 96 + 36) / 72));
  return font;
}

std::string NumberText(double v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.0f", v);
  return buf;
}

}  // namespace

TAudioTransformDisplay2::TAudioTransformDisplay2(TComponent* AOwner) : TCustomControl(AOwner) {
  RegisterAudioTransformDisplay2();
  SetBounds(0, 0, 300, 150);
  Font()->SetName("Tahoma");
  Font()->SetSize(7);
  Font()->SetColor(0xA8DCF8);
  ResetCurve();
}

TAudioTransformDisplay2::~TAudioTransformDisplay2() = default;

void TAudioTransformDisplay2::ResetCurve() {
  FPoints = {{0.0, 0.0}, {1.0, 0.0}};
  FDragging = -1;
  Invalidate();
}

void TAudioTransformDisplay2::CurveChanged() {
  Invalidate();
  if (OnChange) OnChange(this);
}

void TAudioTransformDisplay2::SetGridVisible(bool value) {
  FGridVisible = value;
  Invalidate();
}

void TAudioTransformDisplay2::SetLineArraySize(int value) {
  if (value < 1) throw EArgumentOutOfRangeException(Format("Invalid curve size %d.", {value}));
  FLineArraySize = value;
}

void TAudioTransformDisplay2::SetScaleXMin(double value) {
  FScaleXMin = value;
  Invalidate();
}

void TAudioTransformDisplay2::SetScaleXMax(double value) {
  FScaleXMax = value;
  Invalidate();
}

void TAudioTransformDisplay2::SetScaleXCaption(const std::string& value) {
  FScaleXCaption = value;
  Invalidate();
}

// ---- curve ----------------------------------------------------------------------------------

double TAudioTransformDisplay2::ValueAt(double t) const {
  auto next = std::lower_bound(FPoints.begin(), FPoints.end(), t,
                               [](const auto& p, double v) { return p.first < v; });
  if (next == FPoints.begin()) return next->second;
  if (next == FPoints.end()) return FPoints.back().second;
  const auto& [t1, v1] = *next;
  const auto& [t0, v0] = *(next - 1);
  if (t1 <= t0) return v1;
  return v0 + (v1 - v0) * (t - t0) / (t1 - t0);
}

SampleBuffer TAudioTransformDisplay2::CurveValues() const {
  SampleBuffer out(1, 0, FLineArraySize);
  const double last = std::max(1, FLineArraySize - 1);
  for (int i = 0; i < FLineArraySize; ++i) {
    const double db = ValueAt(i / last);
    out[i] = db <= kFloorDb ? -std::numeric_limits<float>::infinity() : float(db);
  }
  return out;
}

// ---- geometry -------------------------------------------------------------------------------

TRect TAudioTransformDisplay2::PlotRect() const {
  const QFontMetrics m(DisplayQFont(Font()));
  const int left = m.horizontalAdvance("-48 dB") + 8;
  const int bottom = Height() - m.height() - 4;
  const int top = m.height() / 2 + 2;
  return Rect(left, top, std::max(left + 1, Width() - 8), std::max(top + 2, bottom));
}

int TAudioTransformDisplay2::XOfPosition(double t) const {
  const TRect r = PlotRect();
  return r.Left + int(std::lround(t * (r.Width() - 1)));
}

int TAudioTransformDisplay2::YOfDb(double db) const {
  const TRect r = PlotRect();
  db = std::clamp(db, kFloorDb, kTopDb);
  return r.Top + int(std::lround((kTopDb - db) / (kTopDb - kFloorDb) * (r.Height() - 1)));
}

double TAudioTransformDisplay2::PositionAtX(int x) const {
  const TRect r = PlotRect();
  return std::clamp(double(x - r.Left) / std::max(1, r.Width() - 1), 0.0, 1.0);
}

double TAudioTransformDisplay2::DbAtY(int y) const {
  const TRect r = PlotRect();
  const double f = std::clamp(double(y - r.Top) / std::max(1, r.Height() - 1), 0.0, 1.0);
  return kTopDb - f * (kTopDb - kFloorDb);
}

// ---- drawing --------------------------------------------------------------------------------

void TAudioTransformDisplay2::Paint() {
  QImage image(std::max(1, ClientWidth()), std::max(1, ClientHeight()), QImage::Format_RGB32);
  image.fill(Q(kBackColor));
  QPainter p(&image);
  const QFont font = DisplayQFont(Font());
  const QFontMetrics m(font);
  p.setFont(font);
  const TRect r = PlotRect();
  const QColor text = Q(Font()->Color());

  // Level lines every 6 dB with their captions; the floor reads as silence.
  for (double db = kTopDb; db >= kFloorDb - 1e-9; db -= kGridDbStep) {
    const int y = YOfDb(db);
    if (FGridVisible) p.fillRect(r.Left, y, r.Width(), 1, Q(kGridColor));
    const QString caption =
        db <= kFloorDb ? QStringLiteral("-inf") : QString::fromStdString(NumberText(db) + " dB");
    p.setPen(text);
    p.drawText(r.Left - 4 - m.horizontalAdvance(caption), y + m.ascent() / 2 - 1, caption);
  }
  // Ten columns labelled with the horizontal scale.
  for (int i = 0; i <= 10; ++i) {
    const int x = XOfPosition(i / 10.0);
    if (FGridVisible) p.fillRect(x, r.Top, 1, r.Height(), Q(kGridColor));
    if (i % 2) continue;
    std::string label = NumberText(FScaleXMin + (FScaleXMax - FScaleXMin) * i / 10.0);
    if (i == 10 && !FScaleXCaption.empty()) label += " " + FScaleXCaption;
    const QString caption = QString::fromStdString(label);
    const int w = m.horizontalAdvance(caption);
    p.setPen(text);
    p.drawText(std::clamp(x - w / 2, 0, std::max(0, Width() - w)), r.Bottom + m.ascent() + 2,
               caption);
  }

  // The curve, column by column as CurveValues samples it, then its points.
  p.setPen(Q(kCurveColor));
  QPoint prev;
  for (int x = r.Left; x < r.Right; ++x) {
    const QPoint pt(x, YOfDb(ValueAt(PositionAtX(x))));
    if (x > r.Left)
      p.drawLine(prev, pt);
    else
      p.drawPoint(pt);
    prev = pt;
  }
  for (const auto& [t, db] : FPoints)
    p.fillRect(XOfPosition(t) - 2, YOfDb(db) - 2, 5, 5, Q(kPointColor));
  p.end();
  DrawImageOnCanvas(Canvas(), ClientRect(), image);
}

// ---- mouse ----------------------------------------------------------------------------------

int TAudioTransformDisplay2::PointAt(int x, int y) const {
  for (size_t i = 0; i < FPoints.size(); ++i)
    if (std::abs(x - XOfPosition(FPoints[i].first)) <= kGripPixels &&
        std::abs(y - YOfDb(FPoints[i].second)) <= kGripPixels)
      return int(i);
  return -1;
}

void TAudioTransformDisplay2::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  const int hit = PointAt(X, Y);
  if (Button == mbRight) {
    if (hit > 0 && hit < int(FPoints.size()) - 1) {
      FPoints.erase(FPoints.begin() + hit);
      CurveChanged();
    }
    return;
  }
  if (Button != mbLeft) return;
  if (hit >= 0) {
    FDragging = hit;
    return;
  }
  const TRect r = PlotRect();
  if (X < r.Left - kGripPixels || X > r.Right + kGripPixels || Y < r.Top - kGripPixels ||
      Y > r.Bottom + kGripPixels)
    return;
  const double t = PositionAtX(X);
  // A press on an end's column moves that end instead of adding a point over it.
  if (t <= 0.0 || t >= 1.0) {
    FDragging = t <= 0.0 ? 0 : int(FPoints.size()) - 1;
    FPoints[size_t(FDragging)].second = DbAtY(Y);
    CurveChanged();
    return;
  }
  auto at = std::upper_bound(FPoints.begin(), FPoints.end(), t,
                             [](double v, const auto& p) { return v < p.first; });
  FDragging = int(FPoints.insert(at, {t, DbAtY(Y)}) - FPoints.begin());
  CurveChanged();
}

void TAudioTransformDisplay2::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  if (FDragging < 0) return;
  auto& point = FPoints[size_t(FDragging)];
  const bool end = FDragging == 0 || FDragging == int(FPoints.size()) - 1;
  if (!end)
    point.first = std::clamp(PositionAtX(X), FPoints[size_t(FDragging) - 1].first,
                             FPoints[size_t(FDragging) + 1].first);
  point.second = DbAtY(Y);
  CurveChanged();
}

void TAudioTransformDisplay2::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseUp(Button, Shift, X, Y);
  if (Button == mbLeft) FDragging = -1;
}

void RegisterAudioTransformDisplay2() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterControlClasses();
    RegisterClass<TAudioTransformDisplay2, TCustomControl>("TAudioTransformDisplay2");
    Published<TAudioTransformDisplay2>()
        .Property("GridVisible", &TAudioTransformDisplay2::GridVisible,
                  &TAudioTransformDisplay2::SetGridVisible)
        .Property("LineArraySize", &TAudioTransformDisplay2::LineArraySize,
                  &TAudioTransformDisplay2::SetLineArraySize)
        .Property("ScaleXMin", &TAudioTransformDisplay2::ScaleXMin,
                  &TAudioTransformDisplay2::SetScaleXMin)
        .Property("ScaleXMax", &TAudioTransformDisplay2::ScaleXMax,
                  &TAudioTransformDisplay2::SetScaleXMax)
        .Property("ScaleXCaption", &TAudioTransformDisplay2::ScaleXCaption,
                  &TAudioTransformDisplay2::SetScaleXCaption)
        .Property("OnChange", &TAudioTransformDisplay2::OnChange);
  });
}
