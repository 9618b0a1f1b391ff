#pragma once
// TAudioTransformDisplay2: the gain curve editor of the envelope dialog. The curve runs across
// the whole width through points the user adds (left press on an empty spot), drags (left press
// on a point) and removes (right press on a point); the two end points stay at the edges and only
// move up and down. Levels are decibels between the top of the scale and a floor that means
// silence. The horizontal scale only labels the width with ScaleXMin..ScaleXMax; CurveValues
// samples the whole width evenly whatever the labels say.

#include <string>
#include <utility>
#include <vector>

#include "audio/SampleBuffer.h"
#include "platform/gui/Controls.h"

// Dispatch identifiers of the display's properties.
constexpr int DISPID_AudioTransformDisplay2_GridVisible = 16;
constexpr int DISPID_AudioTransformDisplay2_DisplayFont = 20;
constexpr int DISPID_AudioTransformDisplay2_LineArraySize = 21;
constexpr int DISPID_AudioTransformDisplay2_ScaleXMax = 24;
constexpr int DISPID_AudioTransformDisplay2_ScaleXMin = 26;
constexpr int DISPID_AudioTransformDisplay2_ScaleXCaption = 29;

class TAudioTransformDisplay2 : public TCustomControl {
 public:
  explicit TAudioTransformDisplay2(TComponent* AOwner);
  ~TAudioTransformDisplay2() override;

  // Top of the level scale and its floor, in dB; a point on the floor is silence.
  static constexpr double kTopDb = 12.0;
  static constexpr double kFloorDb = -48.0;

  // LineArraySize values in dB (mono, one per position across the width); silence is -infinity.
  SampleBuffer CurveValues() const;

  bool GridVisible() const { return FGridVisible; }
  void SetGridVisible(bool value);
  int LineArraySize() const { return FLineArraySize; }
  void SetLineArraySize(int value);
  double ScaleXMin() const { return FScaleXMin; }
  void SetScaleXMin(double value);
  double ScaleXMax() const { return FScaleXMax; }
  void SetScaleXMax(double value);
  const std::string& ScaleXCaption() const { return FScaleXCaption; }
  void SetScaleXCaption(const std::string& value);
  TFont* DisplayFont() const { return Font(); }
  void SetDisplayFont(TFont* value) { SetFont(value); }

  // The curve's points: position 0..1 across the width, level in dB (kFloorDb for silence).
  using TPoints = std::vector<std::pair<double, double>>;
  const TPoints& Points() const { return FPoints; }
  // Back to the flat curve at 0 dB.
  void ResetCurve();

  // Where the curve is drawn, and the mapping between positions, levels and pixels.
  TRect PlotRect() const;
  int XOfPosition(double t) const;
  int YOfDb(double db) const;
  double PositionAtX(int x) const;
  double DbAtY(int y) const;

  TNotifyEvent OnChange;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;

 private:
  int PointAt(int x, int y) const;  // index, or -1
  double ValueAt(double t) const;   // dB, linear between points
  void CurveChanged();

  TPoints FPoints;
  bool FGridVisible = true;
  int FLineArraySize = 1000;
  double FScaleXMin = 0, FScaleXMax = 100;
  std::string FScaleXCaption;
  int FDragging = -1;
};

// Makes TAudioTransformDisplay2 known to stored form descriptions. Safe to call more than once.
void RegisterAudioTransformDisplay2();
