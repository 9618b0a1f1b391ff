#pragma once
// The on-screen controls of the clickable, static, separator and in-place window items.

#include <string>

#include "suite/bars/dxBar.h"

class TcxWindowProcLinkedObject;

// Everything that behaves like a button: buttons and sub items. In menus, hovering an item with
// a drop-down opens it after a program-wide delay, and leaving it closes it after the same delay.
class TdxBarButtonLikeControl : public TdxBarItemControl {
 public:
  using TdxBarItemControl::TdxBarItemControl;
  ~TdxBarButtonLikeControl() override;

  virtual int DropDownArrowWidth();
  virtual bool AllowsActivation() const;
  virtual void MarkBarPressed(bool Flag);
  virtual TCustomdxBarControl* DropDownBar() const { return nullptr; }
  virtual bool QueryPlainTextLook() const;
  virtual bool QueryHotLook() const;
  // Dynamic operations.
  virtual void CloseDropDown(bool Close);
  virtual void OpenDropDown(bool ByMouse) = 0;

  bool CanFade() override;
  void GetFadingImages(TcxBitmap32*& Normal, TcxBitmap32*& Hot) override;
  bool SupportsButtonGroup() const override { return true; }
  void EnterActiveState(bool Flag, bool ByMouse) override;
  void LeaveActiveState(bool Flag) override;
  void SelectByMouse(bool AlreadySelected, bool& Handled) override;
  bool WantsKey(WORD Key) const override;
  TcxAccessibilityHelperClass AccessibilityHelperClass() const override;
  TDrawParamsFactory DrawParamsClass() const override;
  void CalcDrawParams(bool WithTexts = true) override;
  void Draw(const TRect& R, int APaintKind) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;

  TdxBarButtonLikeControlDrawParams* ButtonLikeDrawParams() const {
    return static_cast<TdxBarButtonLikeControlDrawParams*>(DrawParams());
  }
  bool HoverSelected = false;
  // Held down by the mouse on its bar, between the press and the click.
  bool Pressed = false;

  // The program-wide hover delay, in milliseconds.
  static constexpr UINT HoverDelay = 400;
  void ScheduleOpen();
  void ScheduleClose();
  static void FirePendingClose();
  void StopTimers();
  static TdxBarButtonLikeControl* PendingOpen();
  static TdxBarButtonLikeControl* PendingClose();
};

// The control of a TdxBarButton: check state, drop-down arrow part and drop-down menu.
class TdxBarButtonControl : public TdxBarButtonLikeControl {
 public:
  using TdxBarButtonLikeControl::TdxBarButtonLikeControl;

  virtual TdxBarPaintStyle EffectivePaintStyle() const;
  virtual void AdjustPaintStyle(TdxBarPaintStyle& Style) const;

  void PaintStyleChanged() override;
  void DoClick(bool ByMouse, bool Flag) override;
  void Click(bool ByMouse) override;
  void SelectByMouse(bool AlreadySelected, bool& Handled) override;
  bool IsActiveNow() const override;
  TcxAccessibilityHelperClass AccessibilityHelperClass() const override;
  int ShownParts() const override;
  int DefaultShownParts() const override;
  int PartCount() const override { return HasArrowPart() ? 2 : 1; }
  void CalcDrawParams(bool WithTexts = true) override;
  void CalcPartRects() override;
  TCustomdxBarControl* DropDownBarControl() const override { return DropDownBar(); }
  int Height() override;
  int Width() override;
  int SmallHeight() override;
  bool ClosesMenusOnClick() const override;
  bool HasArrowPart() const override;
  bool KeepsMouseAfterClick() const override;
  bool IsDroppedDown() const override;
  void MarkBarPressed(bool Flag) override;
  TCustomdxBarControl* DropDownBar() const override;
  bool QueryPlainTextLook() const override;
  bool QueryHotLook() const override;
  void CloseDropDown(bool Close) override;
  void OpenDropDown(bool ByMouse) override;

  TdxBarButton* Button() const;
  bool DroppedDown() const { return FDroppedDown; }
  // Opens the button's drop-down menu at a screen point.
  void DropDownMenuAt(const TPoint& P, bool ByMouse);
  bool PressedState() const;

 private:
  bool FDroppedDown = false;
};

// The control of a TdxBarLargeButton: large and hot glyphs, a fixed size and a glyph layout.
class TdxBarLargeButtonControl : public TdxBarButtonControl {
 public:
  using TdxBarButtonControl::TdxBarButtonControl;

  void HotImageChanged() override;
  void LargeImageChanged() override;
  TdxBarItemViewLevels GetPossibleViewLevels() const override;
  int DefaultShownParts() const override;
  int DefaultViewSize() const override;
  bool DrawsGrayGlyph() const override;
  bool GlyphAndImages(int SizeKind, bool Hot, int& Index, TCustomImageList*& Images,
                      TBitmap*& Glyph) const override;
  int NaturalHeight() override;
  int NaturalWidth() override;
  bool IsRotated() const override;
  int DropDownArrowWidth() override;

  TdxBarLargeButton* LargeButton() const;

 private:
  void ImageChanged();
};

// Base of the controls that show text and glyph but are never clicked.
class TdxBarCustomStaticControl : public TdxBarItemControl {
 public:
  using TdxBarItemControl::TdxBarItemControl;

  virtual void DrawContent(const TRect& R) {}
  bool ClickFiresItem() const override { return false; }
  bool IsKeyNavigable() const override;
  int DefaultShownParts() const override;
  TDrawParamsFactory DrawParamsClass() const override;
  void Draw(const TRect& R, int APaintKind) override;

  TdxBarStaticLikeControlDrawParams* StaticDrawParams() const {
    return static_cast<TdxBarStaticLikeControlDrawParams*>(DrawParams());
  }
};

// A separator line; in menus it may carry a bold caption.
class TdxBarSeparatorControl : public TdxBarCustomStaticControl {
 public:
  using TdxBarCustomStaticControl::TdxBarCustomStaticControl;

  int DefaultShownParts() const override;
  TDrawParamsFactory DrawParamsClass() const override;
  TdxBarMenuItemSize MenuItemSize() const override { return misNormal; }
  void CalcDrawParams(bool WithTexts = true) override;
  void Draw(const TRect& R, int APaintKind) override;
  void SelectItemFont(TFont* FontSource, int StyleIndex, TdxBarItemFontState& Saved) override;
  void RestoreItemFont(TdxBarItemFontState& Saved) override;
  void GetControlMargins(int Kind, TRect& Margins) override;
  int GlyphPartWidth() override { return 0; }
  int MenuItemHeight() override;
  int MenuItemWidth() override;
  int MinWidth() override;
  int NaturalHeight() override;
  int NaturalWidth() override;

  TdxBarSeparatorControlDrawParams* SeparatorDrawParams() const {
    return static_cast<TdxBarSeparatorControlDrawParams*>(DrawParams());
  }
};

// Base of the controls that host a native child window in the bar window while the user edits:
// its keys and focus go to the item's events and the bar's keyboard handling, and the focus goes
// back where it came from when editing ends.
class TdxBarWinControl : public TdxBarItemControl {
 public:
  using TdxBarItemControl::TdxBarItemControl;
  ~TdxBarWinControl() override;

  virtual void HookInnerWindow();
  virtual void UnhookInnerWindow();
  virtual void ActivateAtMouse(bool Flag);
  virtual HWND InnerWindow() const = 0;
  virtual void InnerWindowText(std::string& Text) const;
  virtual void HideInnerWindow(bool SaveText) = 0;
  virtual bool IsMenuKey(WORD& Key, TShiftState Shift) const;
  virtual bool IsAltKey(WORD& Key, TShiftState Shift) const;
  virtual void InnerWindowNotify() {}
  virtual void LoadTextFromItem();
  virtual void SetActive(bool Value);
  virtual void SetInnerText(const std::string& Text);
  virtual void StoreBarFocusState();
  virtual void SaveTextToItem();
  virtual void PreviewKeyDown(WORD& Key, TShiftState Shift);
  virtual void PreviewKeyUp(WORD& Key, TShiftState Shift);
  virtual void InnerWindowProc(TMessage& Message);
  // Dynamic operation.
  virtual void InnerWindowKillFocus(HWND FocusedWindow) {}

  bool HasInnerWindow() const override { return true; }
  bool ClickFiresItem() const override;
  bool CanCloseFor(TdxBarManager* Manager) override;
  bool IsKeyNavigable() const override;
  void LeaveActiveState(bool Flag) override;
  void DoClick(bool ByMouse, bool Flag) override;
  void SelectByMouse(bool AlreadySelected, bool& Handled) override;
  void EnabledChanged() override;
  TcxAccessibilityHelperClass AccessibilityHelperClass() const override;
  bool OwnsWindow(HWND Wnd) const override;
  bool ClosesMenusOnClick() const override { return false; }
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  bool IsEditing() const override { return Editing(); }
  std::string WindowText() const override;
  void SetWindowText(const std::string& Value) override { SetInnerText(Value); }

  TPoint MapToBarWindow(const TPoint& P) const;
  TPoint MapToInnerWindow(const TPoint& P) const;
  TRect GetInnerRect() const;
  void SetInnerRect(const TRect& R);
  bool Editing() const { return FEditing; }
  TdxBarWindowItem* WindowItem() const;

  bool NeedsRedraw = false;
  bool LoadingText = false;
  int MenuKeyCount = 0;
  bool BufferedPaint = false;

 protected:
  void SafeInnerWindowProc(TMessage& Message);
  void DiscardPendingChars();
  bool FEditing = false;
  TcxWindowProcLinkedObject* FWindowHook = nullptr;
  TRect FInnerRect;
};
