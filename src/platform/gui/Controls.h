#pragma once
// Controls: TControl (a rectangle in a parent that gets messages), TWinControl (owns a window
// and its widget), TCustomControl (paints itself on a canvas) and TGraphicControl (a windowless
// control painted and fed with mouse messages by its parent).

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/win/Messages.h"
#include "platform/win/Types.h"
#include "platform/win/Windows.h"

class TWinControl;
class TBasicAction;
class TControlActionLink;
class TPopupMenu;
class TDragObject;
class THintWindow;

enum class TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
using enum TAlign;

enum class TControlStyleItem {
  csAcceptsControls, csCaptureMouse, csDesignInteractive, csClickEvents, csFramed, csSetCaption,
  csOpaque, csDoubleClicks, csFixedWidth, csFixedHeight, csNoDesignVisible, csReplicatable,
  csNoStdEvents, csDisplayDragImage, csReflector, csActionClient, csMenuEvents,
  csNeedsBorderPaint, csParentBackground
};
using enum TControlStyleItem;
using TControlStyle = TSet<TControlStyleItem>;

enum class TControlStateItem {
  csLButtonDown, csClicked, csPalette, csReadingState, csAlignmentNeeded, csFocusing, csCreating,
  csPaintCopy, csCustomPaint, csDestroyingHandle, csDocking
};
using enum TControlStateItem;
using TControlState = TSet<TControlStateItem>;

enum class TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using enum TShiftStateItem;
using TShiftState = TSet<TShiftStateItem>;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };
using enum TMouseButton;

// How a control places its text across its width.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
using enum TAlignment;

// The edges of its parent a control keeps its distance to when the parent is resized; left and
// right together stretch it, neither keeps it centred where it was.
enum class TAnchorKind { akLeft, akTop, akRight, akBottom };
using enum TAnchorKind;
using TAnchors = TSet<TAnchorKind>;

enum class TDragMode { dmManual, dmAutomatic };
using enum TDragMode;
enum class TDragState { dsDragEnter, dsDragLeave, dsDragMove };
using enum TDragState;
// What CM_DRAG asks of the control under the mouse (WParam); LParam points to a TDragRec.
enum class TDragMessage { dmDragEnter, dmDragLeave, dmDragMove, dmDragDrop, dmDragCancel, dmFindTarget };
using enum TDragMessage;
struct TDragRec {
  TPoint Pos;  // screen
  TDragObject* Source = nullptr;
  void* Target = nullptr;  // the control found (dmFindTarget answers through it)
};

using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;

using TMouseEvent =
    Event<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = Event<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TKeyEvent = Event<void(TObject* Sender, WORD& Key, TShiftState Shift)>;
// The character typed, a Unicode code point; setting it to 0 drops it.
using TKeyPressEvent = Event<void(TObject* Sender, char32_t& Key)>;
using TMouseWheelEvent = Event<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                    TPoint MousePos, bool& Handled)>;

class TControl;
using TDragOverEvent = Event<void(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                                  bool& Accept)>;
using TDragDropEvent = Event<void(TObject* Sender, TObject* Source, int X, int Y)>;
// Target is the control the drag ended on, or null when it was refused or cancelled.
using TEndDragEvent = Event<void(TObject* Sender, TObject* Target, int X, int Y)>;
using TStartDragEvent = Event<void(TObject* Sender, TDragObject*& DragObject)>;
// MousePos is in client coordinates, (-1, -1) when the keyboard asked for the menu.
using TContextPopupEvent = Event<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// Size limits of a control; 0 means no limit.
class TSizeConstraints : public TPersistent {
 public:
  int MinWidth() const { return FMinWidth; }
  void SetMinWidth(int Value) { Set(FMinWidth, Value); }
  int MinHeight() const { return FMinHeight; }
  void SetMinHeight(int Value) { Set(FMinHeight, Value); }
  int MaxWidth() const { return FMaxWidth; }
  void SetMaxWidth(int Value) { Set(FMaxWidth, Value); }
  int MaxHeight() const { return FMaxHeight; }
  void SetMaxHeight(int Value) { Set(FMaxHeight, Value); }
  // Width and height brought inside the limits.
  void Apply(int& Width, int& Height) const;
  void Assign(TPersistent* Source) override;
  TNotifyEvent OnChange;

 private:
  void Set(int& Field, int Value);
  int FMinWidth = 0, FMinHeight = 0, FMaxWidth = 0, FMaxHeight = 0;
};

// What CM_HINTSHOW hands to the control about to show its hint (LParam points to it); the
// control may change any of it, or answer non-zero to show no hint.
struct THintInfo {
  TControl* HintControl = nullptr;
  THintWindow* (*HintWindowClass)(TComponent*) = nullptr;  // the window class to show it in
  TPoint HintPos;  // screen
  int HintMaxWidth = 0;
  TColor HintColor = clInfoBk;
  TRect CursorRect;  // client coordinates of HintControl: leaving it hides the hint
  TPoint CursorPos;  // client coordinates
  std::string HintStr;
  int ReshowTimeout = 0;  // ms; > 0 asks for the hint again after it
  int HideTimeout = 0;    // ms
  void* HintData = nullptr;
};

// A hint "short|long": the part before the first "|" (all of it without one), and after it.
std::string GetShortHint(const std::string& Hint);
std::string GetLongHint(const std::string& Hint);

// The shift state of a key message's data, or of the keys held now.
TShiftState KeyDataToShiftState(LPARAM KeyData);
TShiftState KeysToShiftState(WPARAM Keys);
TShiftState GetShiftState();

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  ~TControl() override;

  // The window procedure of the control: WndProc unless replaced (subclassing by method).
  const TWndMethod& WindowProc() const { return FWindowProc; }
  void SetWindowProc(TWndMethod Value) { FWindowProc = std::move(Value); }
  virtual void WndProc(TMessage& Message);
  // Runs the handler of the message's id; messages without one go to DefaultHandler.
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);

  TWinControl* Parent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  int Left() const { return FLeft; }
  int Top() const { return FTop; }
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }
  virtual TRect ClientRect() const { return Rect(0, 0, FWidth, FHeight); }
  int ClientWidth() const { return ClientRect().Width(); }
  int ClientHeight() const { return ClientRect().Height(); }
  void SetClientWidth(int Value) { SetClientSize(Value, ClientHeight()); }
  void SetClientHeight(int Value) { SetClientSize(ClientWidth(), Value); }
  virtual void SetClientSize(int W, int H);
  // Screen position of the client area's origin.
  virtual TPoint ClientOrigin() const;
  TPoint ClientToScreen(TPoint P) const { return P + ClientOrigin(); }
  TPoint ScreenToClient(TPoint P) const { return P - ClientOrigin(); }
  TPoint ClientToParent(TPoint P, TWinControl* AParent = nullptr) const;
  TPoint ParentToClient(TPoint P, TWinControl* AParent = nullptr) const;

  TAlign Align() const { return FAlign; }
  void SetAlign(TAlign Value);

  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show();
  void Hide();
  bool Enabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);

  std::string Caption() const { return GetText(); }
  void SetCaption(const std::string& Value) { SetText(Value); }
  std::string Text() const { return GetText(); }
  void SetText(const std::string& Value);

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);
  bool ParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont* Font() const { return FFont; }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);
  TCursor Cursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  bool ShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);
  bool ParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);

  TAnchors Anchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);
  TSizeConstraints* Constraints() const { return FConstraints; }
  void SetConstraints(TSizeConstraints* Value) { FConstraints->Assign(Value); }

  // The menu a right-button release or the menu key shows (when AutoPopup) unless
  // OnContextPopup handles the request first.
  TPopupMenu* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TPopupMenu* Value);

  // The action the control follows (caption, enabled, hint, visible...) and a click runs.
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TControlActionLink* ActionLink() const { return FActionLink.get(); }
  // Offers an action to the control (the hint action...); true when the control took it.
  virtual bool ExecuteAction(TBasicAction* Action);

  TDragMode DragMode() const { return FDragMode; }
  void SetDragMode(TDragMode Value) { FDragMode = Value; }
  TCursor DragCursor() const { return FDragCursor; }
  void SetDragCursor(TCursor Value) { FDragCursor = Value; }
  // Starts dragging the control: at once, or once the mouse has moved more than Threshold
  // pixels (-1: the mouse's drag threshold) with the button held.
  void BeginDrag(bool Immediate, int Threshold = -1);
  // Ends the drag this control started: dropped where it is, or cancelled.
  void EndDrag(bool Drop);
  bool Dragging() const;

  const TControlStyle& ControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  const TControlState& ControlState() const { return FControlState; }
  void SetControlState(TControlState Value) { FControlState = Value; }

  bool MouseCapture() const;
  void SetMouseCapture(bool Value);
  bool IsRightToLeft() const { return false; }

  virtual void Invalidate();
  virtual void Update();
  virtual void Repaint();
  void Refresh() { Repaint(); }
  void BringToFront();
  void SendToBack();
  // A point in client coordinates hits the control (graphic children ask CM_HITTEST).
  virtual bool HitTest(int X, int Y) const;

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TNotifyEvent OnResize;
  TMouseWheelEvent OnMouseWheel;
  TContextPopupEvent OnContextPopup;
  TStartDragEvent OnStartDrag;
  TDragOverEvent OnDragOver;
  TDragDropEvent OnDragDrop;
  TEndDragEvent OnEndDrag;

 protected:
  friend class TWinControl;
  friend class TDragObject;
  friend struct TDragEngine;
  friend class TBaseDragControlObject;
  friend class TControlActionLink;
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  virtual TControlActionLink* CreateActionLink();
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);
  virtual void ConstraintsChanged();
  virtual void DoStartDrag(TDragObject*& DragObject);
  virtual void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept);
  virtual void DragDrop(TObject* Source, int X, int Y);
  virtual void DoEndDrag(TObject* Target, int X, int Y);
  // Records where the control stands in its parent, for the anchors.
  void UpdateAnchorRules();
  // Moves the control by its anchors for the parent's new client size.
  void AnchorToParent(int ParentWidth, int ParentHeight);
  void Notification(TComponent* AComponent, TOperation Operation) override;
  virtual std::string GetText() const { return FText; }
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual void Resize();
  virtual void Changed();
  virtual void VisibleChanging() {}
  // Invalidates the control's area in its parent (graphic controls) or its window.
  void InvalidateControl(bool IsVisible, bool IsOpaque);
  void SendCancelMode(TControl* Sender);
  void FontChanged(TObject* Sender);
  void RequestAlign();
  void Loaded() override;

  // Message handlers; an override calls the base handler for the default behaviour.
  virtual void WMLButtonDown(TMessage& Message);
  virtual void WMRButtonDown(TMessage& Message);
  virtual void WMMButtonDown(TMessage& Message);
  virtual void WMLButtonDblClk(TMessage& Message);
  virtual void WMRButtonDblClk(TMessage& Message);
  virtual void WMMButtonDblClk(TMessage& Message);
  virtual void WMLButtonUp(TMessage& Message);
  virtual void WMRButtonUp(TMessage& Message);
  virtual void WMMButtonUp(TMessage& Message);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMMouseWheel(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void WMCaptureChanged(TMessage& Message);
  virtual void WMWindowPosChanged(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);
  virtual void CMHitTest(TMessage& Message);
  virtual void CMCursorChanged(TMessage& Message);
  virtual void CMCancelMode(TMessage& Message) {}
  virtual void CMDrag(TMessage& Message);
  virtual void CMHintShow(TMessage& Message) {}
  virtual void WMContextMenu(TMessage& Message);
  virtual void WMSetText(TMessage& Message);
  virtual void WMGetText(TMessage& Message);
  virtual void WMGetTextLength(TMessage& Message);

  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  TControlStyle FControlStyle;
  TControlState FControlState;
  std::string FText;

 private:
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);
  void MainWndProcChecked(TMessage& Message);

  TWinControl* FParent = nullptr;
  TWndMethod FWindowProc;
  TAlign FAlign = alNone;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = true;
  TFont* FFont;
  bool FParentFont = true;
  TCursor FCursor = crDefault;
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TAnchors FAnchors{akLeft, akTop};
  // The bounds the anchors keep, and the parent client size they were taken at.
  TRect FAnchorBounds;
  TPoint FAnchorParentSize{-1, -1};
  bool FAnchoring = false;
  TSizeConstraints* FConstraints;
  TPopupMenu* FPopupMenu = nullptr;
  std::unique_ptr<TControlActionLink> FActionLink;
  TDragMode FDragMode = dmManual;
  TCursor FDragCursor = crDrag;
};

struct TCreateParams {
  std::string Caption;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  int X = 0, Y = 0, Width = 0, Height = 0;
  HWND WndParent = nullptr;
  void* Param = nullptr;
  WNDCLASS WindowClass;
  std::string WinClassName;
};

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  ~TWinControl() override;

  HWND Handle();
  bool HandleAllocated() const { return FHandle != nullptr; }
  void HandleNeeded();
  // The window without creating it (null when there is none).
  HWND WindowHandle() const { return FHandle; }
  // A parent window that is not a control (hosting inside a foreign window).
  HWND ParentWindow() const { return FParentWindow; }
  void SetParentWindow(HWND Value);
  // Destroys the window and makes a new one with the current create parameters.
  void RecreateWnd();

  int ControlCount() const { return int(FControls.size()); }
  TControl* Controls(int Index) const { return FControls.at(size_t(Index)); }
  bool ContainsControl(TControl* Control) const;
  // The visible enabled child at a client point (graphic children only unless AllowWinControls).
  TControl* ControlAtPos(TPoint Pos, bool AllowDisabled, bool AllowWinControls = false) const;
  void Broadcast(TMessage& Message);
  void NotifyControls(UINT Msg);
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);

  bool Showing() const { return FShowing; }
  bool TabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  int TabOrder() const;
  void SetTabOrder(int Value);
  void GetTabOrderList(std::vector<TWinControl*>& List);
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();
  // The next (or previous) control in tab order within this one, after CurControl.
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                               bool CheckParent);
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);
  // The control that has (or last had) the focus inside this top-level control.
  TWinControl* ActiveControl() const;
  void SetActiveControl(TWinControl* Control);

  void Invalidate() override;
  void Update() override;
  void Repaint() override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  TRect ClientRect() const override;
  TPoint ClientOrigin() const override;
  void SetParent(TWinControl* AParent) override;
  void PaintTo(HDC DC, int X, int Y);
  void SetChildOrder(TComponent* Child, int Order) override;
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();
  void Realign();

  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;

  // Form-level behaviour, for the top-level control of a window (forms override).
  virtual bool IsShortCut(TMessage& Message) { return false; }
  virtual bool KeyPreview() const { return false; }
  // Moves the focus record of this top-level control to Control (CM_EXIT, CM_ENTER, the
  // CM_FOCUSCHANGED broadcast); true when the focus may go there.
  virtual bool SetFocusedControl(TWinControl* Control);

 protected:
  friend class TControl;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void DefaultHandler(TMessage& Message) override;
  std::string GetText() const override;

  virtual void CreateParams(TCreateParams& Params);
  // Makes the window a window of a built-in class ("EDIT"): its procedure becomes the default
  // handler and its widget kind is kept.
  void CreateSubClass(TCreateParams& Params, const char* ControlClassName);
  virtual void CreateWnd();
  virtual void CreateWindowHandle(const TCreateParams& Params);
  virtual void DestroyWnd();
  virtual void DestroyWindowHandle();
  virtual void CreateHandle();
  void DestroyHandle();
  void UpdateShowing();
  virtual void AlignControls(TControl* AControl, TRect& Rect);
  virtual void PaintWindow(HDC DC);
  void PaintHandler(TMessage& Message);
  // Paints the visible graphic children that intersect the DC's clip, bottom first.
  void PaintControls(HDC DC, TControl* First);
  bool DoKeyEvent(TMessage& m, bool (TWinControl::*Preview)(TMessage&),
                  void (TWinControl::*Handler)(WORD&, TShiftState));
  virtual bool DoKeyDown(TMessage& Message);
  virtual bool DoKeyUp(TMessage& Message);
  virtual bool DoKeyPress(TMessage& Message);
  virtual void KeyDown(WORD& Key, TShiftState Shift);
  virtual void KeyUp(WORD& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);
  virtual void DoEnter();
  virtual void DoExit();
  // The window procedure the window had before the control took it (DefWindowProc).
  WNDPROC DefWndProc() const { return FDefWndProc; }

  virtual void WMPaint(TMessage& Message);
  virtual void WMEraseBkgnd(TMessage& Message);
  virtual void WMPrintClient(TMessage& Message);
  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void WMSize(TMessage& Message);
  virtual void WMMove(TMessage& Message);
  virtual void WMSetCursor(TMessage& Message);
  virtual void WMNCDestroy(TMessage& Message);
  virtual void WMMouseLeave(TMessage& Message);
  virtual void CNKeyDown(TMessage& Message);
  virtual void CNChar(TMessage& Message);
  virtual void CMDialogKey(TMessage& Message);
  virtual void CMDialogChar(TMessage& Message);
  virtual void CMShowingChanged(TMessage& Message);
  virtual void CMFocusChanged(TMessage& Message) {}
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMParentShowHintChanged(TMessage& Message) override;
  void CMCursorChanged(TMessage& Message) override;
  void WMCaptureChanged(TMessage& Message) override;
  void WMWindowPosChanged(TMessage& Message) override;

  HWND FHandle = nullptr;
  TBrush* FBrush;

 private:
  friend LRESULT ControlWindowProc(HWND, UINT, WPARAM, LPARAM);
  friend TWinControl* FindControl(HWND);
  void MainWndProc(TMessage& Message);
  // Mouse messages that belong to a graphic child: routed there; true when they were.
  bool IsControlMouseMsg(TMessage& Message);
  void TrackMouseControl(TControl* Control);
  void UpdateBounds();
  bool IsTopLevel() const;
  void ColorToBrush();

  std::vector<TControl*> FControls;     // all children, bottom first
  std::vector<TWinControl*> FTabList;  // windowed children in tab order
  HWND FParentWindow = nullptr;
  WNDPROC FDefWndProc = nullptr;
  std::string FSubClassName;
  bool FShowing = false;
  bool FTabStop = false;
  int FAlignLevel = 0;
  bool FAligning = false;
  TWeakLink<TWinControl> FActiveControl;
  TWeakLink<TWinControl> FFocusedControl;
};

// Registers the control classes and their published properties for stored descriptions;
// classes derived from them call it before registering themselves.
void RegisterControlClasses();
bool CursorToIdent(int64_t Cursor, std::string& Ident);
bool IdentToCursor(const std::string& Ident, int64_t& Cursor);

// The control that owns a window handle, or null.
TWinControl* FindControl(HWND Handle);
// The control at a screen point (the deepest windowed control; graphic children too).
TControl* FindDragTarget(TPoint Pos, bool AllowDisabled);
// The top-level control of a control's window (its form).
TWinControl* GetParentForm(TControl* Control);
// The graphic child holding the mouse capture, or the windowed control with the capture.
TControl* GetCaptureControl();
void SetCaptureControl(TControl* Control);

class TControlCanvas : public TCanvas {
 public:
  TControl* Control() const { return FControl; }
  void SetControl(TControl* Value);
  // Releases a device context taken outside painting.
  void FreeHandle();
  ~TControlCanvas() override;

 protected:
  void CreateHandle() override;

 private:
  TControl* FControl = nullptr;
  HDC FDeviceContext = nullptr;
  HWND FWindowHandle = nullptr;
};

class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  TCanvas* Canvas() const { return FCanvas; }

 protected:
  virtual void Paint() {}
  void PaintWindow(HDC DC) override;
  void Dispatch(TMessage& Message) override;
  virtual void WMPaintCustom(TMessage& Message);

 private:
  TControlCanvas* FCanvas;
};

class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  TCanvas* Canvas() const { return FCanvas; }

 protected:
  virtual void Paint() {}
  void Dispatch(TMessage& Message) override;
  virtual void WMPaint(TMessage& Message);

 private:
  TControlCanvas* FCanvas;
};

// What a drag carries. One drag runs at a time; it follows the mouse on a capture window of its
// own, asks the control under the mouse with CM_DRAG, and ends on the button's release (dropped
// where accepted), on Esc or when the capture is lost (cancelled).
class TDragObject : public TObject {
 public:
  // The screen point the drag is at, the control under it and that point in its coordinates.
  TPoint DragPos() const { return FDragPos; }
  TControl* DragTarget() const { return FDragTarget.get(); }
  TPoint DragTargetPos() const { return FDragTargetPos; }
  bool Cancelling() const { return FCancelling; }
  bool Dropped() const { return FDropped; }
  // The cursor over a target that accepts the drag or refuses it.
  virtual TCursor GetDragCursor(bool Accepted, int X, int Y);
  // The drag has ended on Target (null when refused or cancelled), at X, Y in its coordinates.
  virtual void Finished(TObject* Target, int X, int Y, bool Accepted) {}

 private:
  friend struct TDragEngine;
  TPoint FDragPos;
  TWeakLink<TControl> FDragTarget;
  TPoint FDragTargetPos;
  bool FCancelling = false;
  bool FDropped = false;
};

// A drag of a control: targets see the control as the source; the end reaches its OnEndDrag.
class TBaseDragControlObject : public TDragObject {
 public:
  explicit TBaseDragControlObject(TControl* AControl) : FControl(AControl) {}
  TControl* Control() const { return FControl.get(); }
  TCursor GetDragCursor(bool Accepted, int X, int Y) override;
  void Finished(TObject* Target, int X, int Y, bool Accepted) override;

 private:
  TWeakLink<TControl> FControl;
};

class TDragControlObject : public TBaseDragControlObject {
 public:
  using TBaseDragControlObject::TBaseDragControlObject;
};
