#pragma once
// Standard controls: the label drawn on its parent, and the text helpers the painted controls
// share.

#include <string>

#include "platform/gui/Controls.h"

// Draws text with the canvas's font and font colour on a clear background (DrawText flags).
// Returns the height of the text.
int DrawControlText(TCanvas* Canvas, const std::string& Text, TRect& Rect, UINT Flags);
// The rectangle the text needs in Font (DT_CALCRECT with the flags), without any window.
TRect MeasureControlText(TFont* Font, const std::string& Text, TRect Rect, UINT Flags);
// The key is the access key of the caption: the character after a single "&", any case.
bool IsAccel(char32_t Key, const std::string& Caption);

enum class TTextLayout { tlTop, tlCenter, tlBottom };
using enum TTextLayout;

// Text drawn on its parent's canvas, so it can lie on a picture (Transparent). Its access key
// focuses FocusControl.
class TCustomLabel : public TGraphicControl {
 public:
  explicit TCustomLabel(TComponent* AOwner);

  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  // Fits the bounds to the text after every change (the width too unless WordWrap).
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value);
  TTextLayout Layout() const { return FLayout; }
  void SetLayout(TTextLayout Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  // Nothing behind the text is painted: the parent's picture shows through.
  bool Transparent() const { return !FControlStyle.Contains(csOpaque); }
  void SetTransparent(bool Value);
  bool ShowAccelChar() const { return FShowAccelChar; }
  void SetShowAccelChar(bool Value);
  TWinControl* FocusControl() const { return FFocusControl; }
  void SetFocusControl(TWinControl* Value);

 protected:
  void Paint() override;
  void Loaded() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  virtual void AdjustBounds();
  // The flags every drawing and measuring of the text shares.
  UINT TextFlags() const;

 private:
  TAlignment FAlignment = taLeftJustify;
  bool FAutoSize = true;
  TTextLayout FLayout = tlTop;
  bool FWordWrap = false;
  bool FShowAccelChar = true;
  TWinControl* FFocusControl = nullptr;
};

class TLabel : public TCustomLabel {
 public:
  using TCustomLabel::TCustomLabel;
};

// Registers the standard control classes with their published properties.
void RegisterStdControlClasses();
