#pragma once
// A slider whose ruler and thumb are bitmaps: the ruler's middle is repeated to the track's
// length, the thumb has a normal and a highlighted frame side by side. Values map to pixels
// along the track; the keyboard, dragging and press-and-hold on the ruler change the value.

#include <array>
#include <memory>

#include "platform/gui/Controls.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Pictures.h"

enum class TSliderOrientation { soHorizontal, soVertical };
using enum TSliderOrientation;
enum class TSliderOption { soShowFocus, soShowPoints, soSmooth, soRulerOpaque, soThumbOpaque };
using enum TSliderOption;
using TSliderOptions = TSet<TSliderOption, 5>;

class TImageCustomSlider : public TCustomControl {
 public:
  explicit TImageCustomSlider(TComponent* AOwner);
  ~TImageCustomSlider() override;

  // Images 0..3: horizontal thumb, horizontal ruler, vertical thumb, vertical ruler. Setting
  // null brings the default image back.
  TBitmap* Image(int Index) const { return FImages[size_t(Index)].get(); }
  void SetImage(int Index, TBitmap* Bitmap);
  // Bit i set: image i was supplied rather than the default.
  uint8_t UserImages() const { return FUserImages; }

  int NumThumbStates() const { return FNumThumbStates; }
  void SetNumThumbStates(int Value);
  TSliderOrientation Orientation() const { return FOrientation; }
  void SetOrientation(TSliderOrientation Value);
  int EdgeSize() const { return FEdgeSize; }
  void SetEdgeSize(int Value);
  TSliderOptions Options() const { return FOptions; }
  void SetOptions(TSliderOptions Value);
  TBevelCut BevelStyle() const { return FBevelStyle; }
  void SetBevelStyle(TBevelCut Value);
  int MinValue() const { return FMinValue; }
  void SetMinValue(int Value);
  int MaxValue() const { return FMaxValue; }
  void SetMaxValue(int Value);
  int Increment() const { return FIncrement; }
  // Raises Exception outside 1..MaxValue - MinValue (while reading any positive value goes).
  void SetIncrement(int Value);
  int Value() const { return FValue; }
  void SetValue(int Value);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  const TRect& ThumbRect() const { return FThumbRect; }
  TPoint RulerOrigin() const { return FRulerOrigin; }
  TBitmap* RulerBitmap() const { return FRulerBitmap.get(); }
  const TRect& TicksRect() const { return FTicksRect; }
  int TrackLength() const;
  int OffsetFromValue(int Value) const;
  int ValueFromOffset(int Offset) const;

  // Standard tick marks on the canvas with other parameters, for OnDrawPoints handlers.
  virtual void DrawTicks(int Step, int TickLength, int EndTickLength);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanged;
  TNotifyEvent OnDrawPoints;

 protected:
  virtual TRect GetTrackArea() const;
  virtual int GetValue() const { return FValue; }
  virtual void Resized() { LayOutElements(); }
  virtual void RangeChanged() {}
  virtual void ThumbPressed(TMouseButton Button, int X, int Y);
  virtual void ThumbDragged(int X, int Y);
  virtual void ThumbReleased(TMouseButton Button);
  virtual void NotifyChange();
  virtual void NotifyChanged();

  void Loaded() override;
  void DefineProperties(TFiler* Filer) override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void Dispatch(TMessage& Message) override;
  void WMSetCursor(TMessage& Message) override;
  void WMSize(TMessage& Message) override;
  void CMEnabledChanged(TMessage& Message) override;
  void CMFocusChanged(TMessage& Message) override;

  void LayOutElements();
  void SetRange(int Lo, int Hi);
  void StepValue(int Kind);
  void PaintTicks(TCanvas* ACanvas, int Step, int TickLength, int EndTickLength);
  void DrawThumb(TCanvas* ACanvas, TPoint P, bool Highlighted);

 private:
  void ImageChanged(TObject* Sender);
  void BuildRuler(const TRect& R);
  void SnapOffset(int& Offset) const;
  void MoveThumbTo(int Offset);
  void RepaintThumb();
  int SideOfThumb(int X, int Y) const;
  void RepeatStep();
  void EndRepeat();
  int ThumbWidth() const;
  int ThumbHeight() const;
  bool Reading() const { return ComponentState().Contains(csReading); }

  uint8_t FUserImages = 0;
  std::array<std::unique_ptr<TBitmap>, 4> FImages;
  int FEdgeSize = 2;
  std::unique_ptr<TBitmap> FRulerBitmap;
  TPoint FRulerOrigin;
  TRect FThumbRect;
  bool FDragging = false;
  int FNumThumbStates = 2;
  TRect FTicksRect;
  TSliderOrientation FOrientation = soHorizontal;
  TSliderOptions FOptions{soShowFocus, soShowPoints, soSmooth};
  TBevelCut FBevelStyle = bvNone;
  int FBevelWidth = 1;
  int FMinValue = 0, FMaxValue = 100, FIncrement = 10, FValue = 0;
  int FGrabOffset = 0;
  bool FHasFocus = false, FRepeating = false, FRepeatTimerOn = false;
  TPoint FPressPoint;
  uint8_t FRepeatDirection = 0;
  bool FCreating = true;
};

class TImageSlider : public TImageCustomSlider {
 public:
  using TImageCustomSlider::TImageCustomSlider;
  TBitmap* ImageHThumb() const { return Image(0); }
  void SetImageHThumb(TBitmap* V) { SetImage(0, V); }
  TBitmap* ImageHRuler() const { return Image(1); }
  void SetImageHRuler(TBitmap* V) { SetImage(1, V); }
  TBitmap* ImageVThumb() const { return Image(2); }
  void SetImageVThumb(TBitmap* V) { SetImage(2, V); }
  TBitmap* ImageVRuler() const { return Image(3); }
  void SetImageVRuler(TBitmap* V) { SetImage(3, V); }
};

// Registers the slider with its published properties for stored descriptions.
void RegisterImageSliderClasses();
