#pragma once
// Standard controls: the label drawn on its parent; push buttons, check boxes, radio buttons,
// group boxes, edits, memos, combo boxes and list boxes; and the text helpers the painted
// controls share.

#include <algorithm>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/ScrollTypes.h"
#include "platform/win/QtWindows.h"

class QWidget;

// A control's own border: none, or a sunken edge around its client area.
using TBorderStyle = TFormBorderStyle;

// Draws text with the canvas's font and font colour on a clear background (DrawText flags).
// Returns the height of the text.
int DrawControlText(TCanvas* Canvas, const std::string& Text, TRect& Rect, UINT Flags);
// The rectangle the text needs in Font (DT_CALCRECT with the flags), without any window.
TRect MeasureControlText(TFont* Font, const std::string& Text, TRect Rect, UINT Flags);
// The key is the access key of the caption: the character after a single "&", any case.
bool IsAccel(char32_t Key, const std::string& Caption);
// Answers the messages of a sunken two-pixel edge around the window's client area (its size and
// its painting); true when the message was one of them.
bool SunkenEdgeMessage(TWinControl* Control, TMessage& Message);

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

// ---------------------------------------------------------------------------------------------
// Windowed controls over Qt widgets

// Takes the focus for a mouse press when the control can have it; false when the focus did not
// arrive (the control being left kept it in its exit check): the press is then dropped.
bool FocusOnClick(TWinControl* Control);

// A control whose window shows a Qt button (push button, check box, radio button).
class TButtonControl : public TWinControl {
 public:
  explicit TButtonControl(TComponent* AOwner);
  // The Qt widget of the window, null without one.
  QWidget* Widget() const;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void WMLButtonDown(TMessage& Message) override;
  // Makes the widgets of the window class (the control's own class name).
  virtual TWidgetFactory WidgetFactory() const = 0;
  // The widget exists: show the control's state in it and listen to it.
  virtual void WidgetCreated();
  // Runs a click that came from the widget (the user's click or key).
  virtual void WidgetClicked() { Click(); }
  // Alt with the caption's access key.
  virtual void AccessKeyPressed() { Click(); }
  // Keeps the widget from running a click of its own while the control sets its state.
  bool FSettingWidget = false;
};

// A push button. Enter clicks the focused button, or the default button when no button has
// the focus; Esc clicks the cancel button; a modal result set on it ends the modal form.
class TButton : public TButtonControl {
 public:
  explicit TButton(TComponent* AOwner);
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Cancel() const { return FCancel; }
  void SetCancel(bool Value) { FCancel = Value; }
  TModalResult ModalResult() const { return FModalResult; }
  void SetModalResult(TModalResult Value) { FModalResult = Value; }
  void Click() override;

 protected:
  TWidgetFactory WidgetFactory() const override;
  void WidgetCreated() override;
  void Dispatch(TMessage& Message) override;

 private:
  void SetActive(bool Value);
  bool FDefault = false;
  bool FCancel = false;
  bool FActive = false;
  TModalResult FModalResult = mrNone;
};

enum class TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
using enum TCheckBoxState;

class TCustomCheckBox : public TButtonControl {
 public:
  explicit TCustomCheckBox(TComponent* AOwner);
  // Every change, by the user or by the program, clicks the box (OnClick).
  TCheckBoxState State() const { return FState; }
  void SetState(TCheckBoxState Value);
  bool Checked() const { return FState == cbChecked; }
  void SetChecked(bool Value) { SetState(Value ? cbChecked : cbUnchecked); }
  // The user's clicks also reach the grayed state (unchecked, checked, grayed).
  bool AllowGrayed() const { return FAllowGrayed; }
  void SetAllowGrayed(bool Value) { FAllowGrayed = Value; }

 protected:
  TWidgetFactory WidgetFactory() const override;
  void WidgetCreated() override;
  void WidgetClicked() override;
  void AccessKeyPressed() override;
  virtual void Toggle();

 private:
  void ShowState();
  TCheckBoxState FState = cbUnchecked;
  bool FAllowGrayed = false;
};

class TCheckBox : public TCustomCheckBox {
 public:
  using TCustomCheckBox::TCustomCheckBox;
};

// One radio button of its parent's is checked: checking one unchecks the others, and only
// checking clicks it.
class TRadioButton : public TButtonControl {
 public:
  explicit TRadioButton(TComponent* AOwner);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);

 protected:
  TWidgetFactory WidgetFactory() const override;
  void WidgetCreated() override;
  void WidgetClicked() override;
  void AccessKeyPressed() override;

 private:
  void ShowChecked();
  bool FChecked = false;
};

// A frame with a caption holding other controls; its access key focuses the first of them.
class TCustomGroupBox : public TCustomControl {
 public:
  explicit TCustomGroupBox(TComponent* AOwner);

 protected:
  void Paint() override;
  void AlignControls(TControl* AControl, TRect& Rect) override;
  void Dispatch(TMessage& Message) override;
  // The height of a line of the caption's font.
  int CaptionHeight() const;
};

class TGroupBox : public TCustomGroupBox {
 public:
  using TCustomGroupBox::TCustomGroupBox;
};

// A group box of radio buttons made from Items, laid out in Columns; ItemIndex is the checked
// one (-1: none), and every change of it clicks the group.
class TCustomRadioGroup : public TCustomGroupBox {
 public:
  explicit TCustomRadioGroup(TComponent* AOwner);
  ~TCustomRadioGroup() override;
  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int Columns() const { return FColumns; }
  void SetColumns(int Value);
  TRadioButton* Buttons(int Index) const { return FButtons.at(size_t(Index)); }

 protected:
  void Loaded() override;
  void Resize() override;
  void ButtonClicked(TRadioButton* Button);

 private:
  friend class TGroupButton;
  void UpdateButtons();
  void ArrangeButtons();
  TStringList* FItems;
  std::vector<TRadioButton*> FButtons;
  int FItemIndex = -1;
  int FColumns = 1;
  bool FUpdating = false;
};

class TRadioGroup : public TCustomRadioGroup {
 public:
  using TCustomRadioGroup::TCustomRadioGroup;
};

enum class TEditCharCase { ecNormal, ecUpperCase, ecLowerCase };
using enum TEditCharCase;

// A one-line edit on the "EDIT" window class. The number-only style (ES_NUMBER set on the
// window) refuses other characters with a beep; OnChange follows every change of the text.
class TCustomEdit : public TWinControl {
 public:
  explicit TCustomEdit(TComponent* AOwner);
  // 0: no limit of its own.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value);
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  TEditCharCase CharCase() const { return FCharCase; }
  void SetCharCase(TEditCharCase Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  // Entering the edit with the keyboard selects its whole text.
  bool AutoSelect() const { return FAutoSelect; }
  void SetAutoSelect(bool Value) { FAutoSelect = Value; }
  bool Modified() const;
  void SetModified(bool Value);
  int SelStart();
  void SetSelStart(int Value);
  int SelLength();
  void SetSelLength(int Value);
  std::string SelText() const;
  void SelectAll();
  void Clear() { SetText(""); }
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void WMLButtonDown(TMessage& Message) override;
  void DoEnter() override;
  virtual void Change();

 private:
  int FMaxLength = 0;
  bool FReadOnly = false;
  TEditCharCase FCharCase = ecNormal;
  TBorderStyle FBorderStyle = bsSingle;
  bool FAutoSelect = true;
  bool FCreating = false;
};

class TEdit : public TCustomEdit {
 public:
  using TCustomEdit::TCustomEdit;
};

enum class TComboBoxStyle { csDropDown, csSimple, csDropDownList, csOwnerDrawFixed, csOwnerDrawVariable };
using enum TComboBoxStyle;

// A drop-down list on a Qt combo box: csDropDownList picks items only, csDropDown also takes
// typed text. The user's choice clicks it and changes it (OnClick, then OnChange); setting the
// index from the program does neither.
class TCustomComboBox : public TWinControl {
 public:
  explicit TCustomComboBox(TComponent* AOwner);
  ~TCustomComboBox() override;
  TComboBoxStyle Style() const { return FStyle; }
  void SetStyle(TComboBoxStyle Value);
  // Items with their objects (not owned); Sorted keeps them in order.
  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  bool Sorted() const { return FItems->Sorted(); }
  void SetSorted(bool Value) { FItems->SetSorted(Value); }
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int DropDownCount() const { return FDropDownCount; }
  void SetDropDownCount(int Value);
  bool DroppedDown() const;
  void SetDroppedDown(bool Value);
  QWidget* Widget() const;
  TNotifyEvent OnChange;
  TNotifyEvent OnDropDown;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Loaded() override;
  void Dispatch(TMessage& Message) override;
  void WMLButtonDown(TMessage& Message) override;
  std::string GetText() const override;
  virtual void Change();

 private:
  void ItemsChanged();
  void ShowItems();
  TStringList* FItems;
  TComboBoxStyle FStyle = csDropDown;
  int FItemIndex = -1;
  int FDropDownCount = 8;
  bool FSettingWidget = false;
};

class TComboBox : public TCustomComboBox {
 public:
  using TCustomComboBox::TCustomComboBox;
};

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed, lbOwnerDrawVariable, lbVirtual, lbVirtualOwnerDraw };
using enum TListBoxStyle;
enum class TOwnerDrawStateItem { odSelected, odGrayed, odDisabled, odChecked, odFocused, odDefault };
using enum TOwnerDrawStateItem;
using TOwnerDrawState = TSet<TOwnerDrawStateItem>;
using TDrawItemEvent = Event<void(TWinControl* Control, int Index, TRect Rect, TOwnerDrawState State)>;

// A list of rows of one height, painted by the control (or by OnDrawItem when owner-drawn) with
// a vertical scroll bar when the rows do not fit. A click or an arrow key selects a row and
// clicks the list.
class TCustomListBox : public TCustomControl {
 public:
  explicit TCustomListBox(TComponent* AOwner);
  ~TCustomListBox() override;
  TStrings* Items() const { return FItems; }
  void SetItems(TStrings* Value) { FItems->Assign(Value); }
  int ItemIndex() const { return FItemIndex; }
  void SetItemIndex(int Value);
  int ItemHeight() const { return FItemHeight; }
  void SetItemHeight(int Value);
  int TopIndex() const { return FTopIndex; }
  void SetTopIndex(int Value);
  TListBoxStyle Style() const { return FStyle; }
  void SetStyle(TListBoxStyle Value);
  TBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TBorderStyle Value);
  bool Sorted() const { return FItems->Sorted(); }
  void SetSorted(bool Value) { FItems->SetSorted(Value); }
  // The row at a client point, -1 when there is none.
  int ItemAtPos(TPoint Pos, bool Existing) const;
  TRect ItemRect(int Index) const;
  void Clear() { FItems->Clear(); }
  TDrawItemEvent OnDrawItem;

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void WMLButtonDown(TMessage& Message) override;
  virtual void DrawItem(int Index, TRect Rect, TOwnerDrawState State);

 private:
  int VisibleRows() const;
  bool HasScrollBar() const;
  // The rows' width: the client area left of the scroll bar.
  int RowsWidth() const;
  void ScrollBarClick(int Y);
  void MakeVisible(int Index);
  TStringList* FItems;
  int FItemIndex = -1;
  int FItemHeight = 16;
  int FTopIndex = 0;
  TListBoxStyle FStyle = lbStandard;
  TBorderStyle FBorderStyle = bsSingle;
};

class TListBox : public TCustomListBox {
 public:
  using TCustomListBox::TCustomListBox;
};

// A multi-line edit: Lines are its text's lines; word wrap, scroll bars, and Enter and Tab
// typed into it when it wants them.
class TCustomMemo : public TWinControl {
 public:
  explicit TCustomMemo(TComponent* AOwner);
  ~TCustomMemo() override;
  TStrings* Lines() const { return FLines; }
  void SetLines(TStrings* Value);
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool Value);
  bool WantReturns() const { return FWantReturns; }
  void SetWantReturns(bool Value) { FWantReturns = Value; }
  bool WantTabs() const { return FWantTabs; }
  void SetWantTabs(bool Value) { FWantTabs = Value; }
  bool ReadOnly() const { return FReadOnly; }
  void SetReadOnly(bool Value);
  // 0: no limit.
  int MaxLength() const { return FMaxLength; }
  void SetMaxLength(int Value) { FMaxLength = std::max(Value, 0); }
  QWidget* Widget() const;
  TNotifyEvent OnChange;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Dispatch(TMessage& Message) override;
  void WMLButtonDown(TMessage& Message) override;
  void KeyPress(char32_t& Key) override;
  std::string GetText() const override;
  virtual void Change();

 private:
  void ApplyOptions();
  TStrings* FLines;
  TScrollStyle FScrollBars = ssNone;
  bool FWordWrap = true;
  bool FWantReturns = true;
  bool FWantTabs = false;
  bool FReadOnly = false;
  int FMaxLength = 0;
  bool FSettingWidget = false;
};

class TMemo : public TCustomMemo {
 public:
  using TCustomMemo::TCustomMemo;
};

// Registers the standard control classes with their published properties.
void RegisterStdControlClasses();
