#pragma once
// A windowless bar showing a percentage: plain with centred text, as LED-like segments, or as a
// two-colour gradient. Composed off screen and copied in one step, so repaints never flicker.

#include <cstdint>

#include "controls/RzCommon.h"
#include "platform/gui/Controls.h"

enum class TBarStyle { bsTraditional, bsLED, bsGradient };
using enum TBarStyle;
enum class TOrientation { orHorizontal, orVertical };
using enum TOrientation;
enum class TGradientDirection {
  gdDiagonalUp, gdDiagonalDown, gdHorizontalEnd, gdHorizontalCenter, gdHorizontalBox,
  gdVerticalEnd, gdVerticalCenter, gdVerticalBox, gdSquareBox, gdBigSquareBox
};
using enum TGradientDirection;

// Paints Rect with a gradient from C1 to C2 in bands of one colour; Quantum merges steps.
void DrawGradientArea(TCanvas* Canvas, const TRect& Rect, TGradientDirection Direction, TColor C1,
                      TColor C2, int Quantum);

using TProgressChangeEvent = Event<void(TObject* Sender, int Percent)>;

class TRzCustomProgressBar : public TGraphicControl, public IRzFrameControllerNotification {
 public:
  explicit TRzCustomProgressBar(TComponent* AOwner);
  ~TRzCustomProgressBar() override;

  TColor BackColor() const { return FBackColor; }
  virtual void SetBackColor(TColor V) { Repainting(FBackColor, V); }
  TColor BarColor() const { return FBarColor; }
  virtual void SetBarColor(TColor V);
  TBarStyle BarStyle() const { return FBarStyle; }
  virtual void SetBarStyle(TBarStyle V);
  int BevelWidth() const { return FBevelWidth; }
  virtual void SetBevelWidth(int V) { Repainting(FBevelWidth, V); }
  TColor BorderColor() const { return FBorderColor; }
  virtual void SetBorderColor(TColor V) { Repainting(FBorderColor, V); }
  TFrameStyleEx BorderInner() const { return FBorderInner; }
  virtual void SetBorderInner(TFrameStyleEx V) { Repainting(FBorderInner, V); }
  TFrameStyleEx BorderOuter() const { return FBorderOuter; }
  virtual void SetBorderOuter(TFrameStyleEx V) { Repainting(FBorderOuter, V); }
  int BorderWidth() const { return FBorderWidth; }
  virtual void SetBorderWidth(int V) { Repainting(FBorderWidth, V); }
  TColor FlatColor() const { return FFlatColor; }
  virtual void SetFlatColor(TColor V) { Invalidating(FFlatColor, V); }
  int FlatColorAdjustment() const { return FFlatColorAdjustment; }
  virtual void SetFlatColorAdjustment(int V) { Invalidating(FFlatColorAdjustment, V); }
  TRzFrameController* FrameController() const { return FFrameController; }
  virtual void SetFrameController(TRzFrameController* V);
  TRzFrameControllerNotifications FrameControllerNotifications() const { return FFrameControllerNotifications; }
  void SetFrameControllerNotifications(TRzFrameControllerNotifications V) { FFrameControllerNotifications = V; }
  uint8_t InteriorOffset() const { return FInteriorOffset; }
  virtual void SetInteriorOffset(uint8_t V) { Repainting(FInteriorOffset, V); }
  int NumSegments() const { return FNumSegments; }
  virtual void SetNumSegments(int V) { Repainting(FNumSegments, std::clamp(V, 1, 100)); }
  TOrientation Orientation() const { return FOrientation; }
  virtual void SetOrientation(TOrientation V) { Repainting(FOrientation, V); }
  uint32_t PartsComplete() const { return FPartsComplete; }
  virtual void SetPartsComplete(uint32_t V);
  // Values of 100 and more draw a full bar; the text shows the number stored.
  uint16_t Percent() const { return FPercent; }
  virtual void SetPercent(uint16_t V);
  bool ShowPercent() const { return FShowPercent; }
  virtual void SetShowPercent(bool V) { Repainting(FShowPercent, V); }
  bool ShowParts() const { return FShowParts; }
  virtual void SetShowParts(bool V) { Repainting(FShowParts, V); }
  uint32_t TotalParts() const { return FTotalParts; }
  virtual void SetTotalParts(uint32_t V);
  bool ThemeAware() const { return FThemeAware; }
  virtual void SetThemeAware(bool V) { Invalidating(FThemeAware, V); }

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  void FrameControllerNotification(TRzFrameControllerProperty Property) override { ApplyFrameController(); }

  TProgressChangeEvent OnChange;

 protected:
  virtual void ApplyFrameController();
  virtual void Change();
  void Paint() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  bool ThemedPainting() const;
  // The stops of the gradient; the plain bar has none of its own.
  virtual TColor BackStop() const { return FBackColor; }
  virtual TColor BarStop() const { return FBarColor; }
  virtual TGradientDirection Direction() const { return gdHorizontalCenter; }

  template <class T>
  void Repainting(T& Field, const T& V) {
    if (Field == V) return;
    Field = V;
    Repaint();
  }
  template <class T>
  void Invalidating(T& Field, const T& V) {
    if (Field == V) return;
    Field = V;
    Invalidate();
  }

 private:
  void PaintText(TCanvas* C, const TRect& R, const TRect& Clip, TColor TextColor, bool Opaque, TColor Fill);
  std::string BarText() const;
  TRect FilledPart(const TRect& R) const;
  void PaintPlainBar(TCanvas* C, const TRect& R);
  void PaintGradientBar(TCanvas* C, const TRect& R);
  void PaintLedBar(TCanvas* C, const TRect& R);

  TColor FBackColor = clWhite;
  TColor FBarColor = clHighlight;
  TBarStyle FBarStyle = bsTraditional;
  int FBevelWidth = 1;
  TColor FBorderColor = clBtnFace;
  TFrameStyleEx FBorderInner = fsNone;
  TFrameStyleEx FBorderOuter = fsLowered;
  int FBorderWidth = 0;
  TColor FFlatColor = clBtnShadow;
  int FFlatColorAdjustment = 30;
  uint8_t FInteriorOffset = 0;
  int FNumSegments = 20;
  TOrientation FOrientation = orHorizontal;
  uint32_t FPartsComplete = 0, FTotalParts = 0;
  uint16_t FPercent = 0;
  bool FShowPercent = true, FShowParts = false, FThemeAware = true;
  TRzFrameController* FFrameController = nullptr;
  TRzFrameControllerNotifications FFrameControllerNotifications = AllFrameControllerNotifications();
};

class TRzProgressBar : public TRzCustomProgressBar {
 public:
  using TRzCustomProgressBar::TRzCustomProgressBar;
  TColor BackColorStop() const { return FBackColorStop; }
  void SetBackColorStop(TColor V) { Repainting(FBackColorStop, V); }
  TColor BarColorStop() const { return FBarColorStop; }
  void SetBarColorStop(TColor V) { Repainting(FBarColorStop, V); }
  TGradientDirection GradientDirection() const { return FGradientDirection; }
  void SetGradientDirection(TGradientDirection V) { Repainting(FGradientDirection, V); }

 protected:
  TColor BackStop() const override { return FBackColorStop; }
  TColor BarStop() const override { return FBarColorStop; }
  TGradientDirection Direction() const override { return FGradientDirection; }

 private:
  TColor FBackColorStop = clBtnFace;
  TColor FBarColorStop = clHotLight;
  TGradientDirection FGradientDirection = gdHorizontalCenter;
};

void RegisterRzPrgresClasses();
