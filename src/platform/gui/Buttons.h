#pragma once
// The speed button: a flat or raised push or toggle button painted on its parent, never
// focused, with a glyph beside its caption; buttons of one group index stay exclusive.

#include <memory>
#include <string>

#include "platform/gui/Controls.h"

class TBitmap;

enum class TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
using enum TButtonLayout;
enum class TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
using enum TButtonState;
using TNumGlyphs = int;

// Where a glyph of GlyphSize and a text of TextSize go in Client (client coordinates), with
// Margin and Spacing as the buttons take them (-1: spread evenly), moved by Offset while
// pressed. Spacing is dropped when either part is missing.
void LayoutGlyphAndText(const TRect& Client, TSize GlyphSize, TSize TextSize, TButtonLayout Layout,
                        int Margin, int Spacing, int Offset, TPoint& GlyphPos, TPoint& TextPos);

class TSpeedButton : public TGraphicControl {
 public:
  explicit TSpeedButton(TComponent* AOwner);
  ~TSpeedButton() override;

  // Buttons with the same non-zero index in one parent form a group: one of them is down.
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value);
  bool Down() const { return FDown; }
  void SetDown(bool Value);
  // A group may have no button down (a second click on the down button raises it).
  bool AllowAllUp() const { return FAllowAllUp; }
  void SetAllowAllUp(bool Value);
  bool Flat() const { return FFlat; }
  void SetFlat(bool Value);
  // The glyph strip holds NumGlyphs images side by side: up, disabled, pressed, down.
  TBitmap* Glyph() const { return FGlyph.get(); }
  void SetGlyph(TBitmap* Value);
  TNumGlyphs NumGlyphs() const { return FNumGlyphs; }
  void SetNumGlyphs(TNumGlyphs Value);
  TButtonLayout Layout() const { return FLayout; }
  void SetLayout(TButtonLayout Value);
  int Margin() const { return FMargin; }
  void SetMargin(int Value);
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);
  // A flat button lets its parent show where it draws nothing.
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value);
  // The look being drawn: pressed while the mouse holds it, exclusive while it stays down.
  TButtonState State() const { return FState; }
  bool MouseInControl() const { return FMouseInControl; }
  void Click() override;

 protected:
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Dispatch(TMessage& Message) override;
  // Where the glyph and caption go for the current state (offset while pressed).
  void CalcLayout(TSize GlyphSize, TPoint& GlyphPos, TPoint& TextPos);
  TButtonState FState = bsUp;

 private:
  void GlyphChanged(TObject* Sender);
  void UpdateExclusive();
  void DrawGlyph(TPoint At);

  int FGroupIndex = 0;
  bool FDown = false;
  bool FAllowAllUp = false;
  bool FFlat = false;
  std::unique_ptr<TBitmap> FGlyph;
  TNumGlyphs FNumGlyphs = 1;
  TButtonLayout FLayout = blGlyphLeft;
  int FMargin = -1;
  int FSpacing = 4;
  bool FTransparent = true;
  bool FDragging = false;
  bool FMouseInControl = false;
};

// Registers the speed button with its published properties.
void RegisterButtonClasses();
