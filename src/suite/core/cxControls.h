#pragma once
// Window helpers the suite's controls and bar windows share.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "suite/core/cxClasses.h"
#include "suite/core/cxGraphics.h"

class TcxControl;
class TcxDoublyLinkedObject;
class TcxWindowProcController;
class TcxMessageWindow;

// The window itself or its first ancestor without WS_CHILD; null when none.
HWND FindNonChildAncestor(HWND Window);
// The form has a window and is the active window, or it is the active MDI child of the active
// main form, or its first non-child ancestor is the active window.
bool IsFormActive(TWinControl* Form);
// Records and disables the window when it is enabled.
void DisableWindowAndRecord(std::vector<HWND>& List, HWND Window);
// Enables every recorded window that still exists.
void EnableRecordedWindows(const std::vector<HWND>& List);
// Removes the window's queued messages from FirstMessage to LastMessage (0: FirstMessage only;
// a null window: every window of the thread), one or All. A quit request met is posted again
// and ends the removal. True when something was removed.
bool RemovePendingMessages(HWND Window, UINT FirstMessage, UINT LastMessage = 0, bool All = true);

// ---- Window utilities, mouse tracking, subclassing chains and hint windows

// Hints

// Fills the hint record for Control (or no control), lets Application->OnShowHint change or
// refuse it, makes HintWindow when it is missing or of another class, and gives Rect the hint's
// rectangle at HintInfo.HintPos. False when the hint must not show. A HideTimeout of 0 or less
// takes the application's hide pause.
bool PrepareHintInfo(THintInfo& HintInfo, THintWindow*& HintWindow, TControl* Control,
                     const std::string& Text, TRect& Rect, void* HintData = nullptr,
                     int HideTimeout = 0);
// Shows the hint at Rect when a monitor serves its top-left corner.
void ActivateHintOnScreen(THintWindow* HintWindow, const TRect& Rect, const std::string& Text);

// Desktop geometry

// Moves Bounds into the work area of the monitor at DesktopPoint; when it does not fit, its
// top-left corner lines up with the work area's.
void MakeVisibleOnDesktop(TRect& Bounds, const TPoint& DesktopPoint);
// The work area of the monitor nearest to the point (the primary work area without the monitor
// functions).
TRect DesktopWorkAreaAt(const TPoint& P);
// True when a monitor serves the point (the nearest one, else the form under the point's or the
// main form's).
bool MonitorFoundAt(const TPoint& P);

// Window tests and geometry

bool HasChildStyle(HWND Window);
// Window is Parent or one of its descendants; false for a null Parent.
bool IsWindowOrChild(HWND Parent, HWND Window);
// Ancestor lies on Window's GetParent chain (owners included); false for null.
bool IsAncestorWindow(HWND Ancestor, HWND Window);
// Enabled, and for a child window every parent enabled too.
bool IsWindowEnabledDeep(HWND Window);
bool IsControlShowing(TControl* Control);
bool CanControlHaveHandle(TWinControl* Control);
bool IsMDIChildForm(TControl* Form);
bool IsMDIParentForm(TControl* Form);
// The first control owning Window or one of its ancestors.
TWinControl* FindPlatformControl(HWND Window);
template <class T>
T* FindComponentOfClass(TComponent* Owner) {
  if (!Owner) return nullptr;
  for (int i = 0; i < Owner->ComponentCount(); ++i)
    if (auto* c = dynamic_cast<T*>(Owner->Components(i))) return c;
  return nullptr;
}
// The deepest visible window under a screen point; null when none.
HWND WindowAtScreenPoint(const TPoint& P);
// Between client coordinates of two windows (null: the screen).
TPoint MapPointBetweenWindows(HWND From, HWND To, const TPoint& P);
TRect MapRectBetweenWindows(HWND From, HWND To, const TRect& R);
TRect GetClientRectOrEmpty(HWND Window);
TRect GetWindowRectOrEmpty(HWND Window);
// The control's window rectangle in screen coordinates (its window's, or its bounds placed on
// the screen for a control without one).
TRect GetControlWindowRect(TControl* Control);
void SetWindowZOrder(HWND Window, HWND InsertAfter, bool Activate, UINT ExtraFlags = 0);
// (-1, -1) when the cursor cannot be read.
TPoint GetMouseScreenPos();
// Below 255 the window becomes layered with that opacity; 255 makes it plain again.
void SetWindowAlphaBlend(HWND Window, BYTE Alpha);

// Drag detection

bool IsPointInDragDetectArea(const TPoint& MouseDownPos, int X, int Y);
enum TcxDragDetect { ddNone = 0, ddDrag = 1, ddCancel = 2 };
// Holds the capture until the mouse leaves the drag square around ScreenPoint (ddDrag), a button
// is released (ddNone), or Escape or a lost capture ends it (ddCancel).
TcxDragDetect DetectDrag(HWND Window, const TPoint& ScreenPoint);

// Keys and text

TShiftState GetCurrentShiftState();
WPARAM ShiftStateToMouseKeys(TShiftState Shift);
bool IsCtrlPressed();
// The character the key gives with the keyboard's state now; 0 for none or two.
char VirtualKeyToChar(WORD Key);
bool IsNonControlChar(int Code);
// The caption without its accelerator marks ("&&" keeps one "&"); a single "&" at the end
// becomes "_" when asked, else it goes.
std::string RemoveAccelChars(const std::string& Caption, bool ReplaceLastWithUnderscore = true);
// The names of the component and its owners, outermost first, joined with ".".
std::string GetComponentPath(TComponent* Component);

// Form designer

// Tells the designer of a designing object's root that it changed (nothing at run time or while
// it, or a parent of a control, is loading, writing or being destroyed).
void NotifyDesigner(TPersistent* Persistent);

// Pop-up menus: a TPopupMenu, or a component implementing the suite's pop-up menu interface.

class IcxPopupMenu {
 public:
  virtual ~IcxPopupMenu() = default;
  virtual bool IsShortCutKey(TMessage& Message) = 0;
  virtual void Popup(int X, int Y) = 0;
};
bool IsPopupMenuShortCutKey(TComponent* Menu, TMessage& Message);
// True when a menu was shown (X, Y on the screen).
bool ShowPopupMenu(TControl* Control, TComponent* Menu, int X, int Y);

bool AreThemesEnabled();

// Mouse tracking: the caller hears MouseLeave once the mouse has left the area (polled every
// 10 ms on the window timers), then its tracking ends.

class IcxMouseTrackingCaller {
 public:
  virtual ~IcxMouseTrackingCaller() = default;
  virtual void MouseLeave() = 0;
};
// A caller that decides itself whether a point (client coordinates of the tracked control) is
// still over it.
class IcxMouseTrackingCaller2 : public IcxMouseTrackingCaller {
 public:
  virtual bool PtInCaller(const TPoint& P) = 0;
};

class TMouseTrackingTimer : public TcxTimer {
 public:
  TMouseTrackingTimer(TWinControl* AControl, const TRect& ABounds,
                      IcxMouseTrackingCaller* ACaller);
  TWinControl* Control() const { return FControl.get(); }
  const TRect& Bounds() const { return FBounds; }
  IcxMouseTrackingCaller* Caller() const { return FCaller; }
  // One poll of the mouse (what each tick runs); may free the timer.
  void Check();

 protected:
  void Elapsed() override;

 private:
  TWeakLink<TWinControl> FControl;
  bool FHasControl;
  TRect FBounds;
  IcxMouseTrackingCaller* FCaller;
};

// Area is in Control's client coordinates, or on the screen without a control. Nothing for a
// caller already tracked or once the unit is shutting down.
void StartMouseTracking(TWinControl* Control, const TRect& Area, IcxMouseTrackingCaller* Caller);
bool IsMouseTracking(IcxMouseTrackingCaller* Caller);
void StopMouseTracking(IcxMouseTrackingCaller* Caller);
int MouseTrackingCount();

// Shared objects of the unit, made on first use and never again once it is shutting down (then
// null).
TcxWindowProcController* GetWindowProcController();
TcxMessageWindow* GetMessageWindow();
bool cxControlsFinalizing();

// Window-procedure subclassing chains: hooks on a control's WindowProc or a window's procedure
// that can leave in any order. The newest hook sees a message first and passes it on with
// CallPreviousWindowProc; the window's own procedure comes last.

class TcxDoublyLinkedObject : public TObject {
 public:
  TcxDoublyLinkedObject* Prev() const { return FPrev; }
  TcxDoublyLinkedObject* Next() const { return FNext; }

 private:
  friend class TcxDoublyLinkedObjectList;
  TcxDoublyLinkedObject* FPrev = nullptr;
  TcxDoublyLinkedObject* FNext = nullptr;
};

class TcxDoublyLinkedObjectList : public TObject {
 public:
  ~TcxDoublyLinkedObjectList() override;
  virtual TcxDoublyLinkedObject* Add();
  virtual TcxDoublyLinkedObject* CreateLinkedObject();
  // Unlinks and frees the link; the variable becomes null.
  virtual void Remove(TcxDoublyLinkedObject*& Link);
  void Clear();
  TcxDoublyLinkedObject* First() const;
  TcxDoublyLinkedObject* Last() const { return FLast; }

 private:
  TcxDoublyLinkedObject* FLast = nullptr;
};

class TcxWindowProcLinkedObject : public TcxDoublyLinkedObject {
 public:
  TControl* Control() const { return FControl.get(); }
  HWND Handle() const { return FHandle; }
  const TWndMethod& WindowProc() const { return FWindowProc; }

 private:
  friend class TcxWindowProcLinkedObjectList;
  friend class TcxWindowProcController;
  TWeakLink<TControl> FControl;
  HWND FHandle = nullptr;
  TWndMethod FWindowProc;
};

class TcxSubclassingHelper : public TObject {
 public:
  virtual TcxWindowProcLinkedObject* CreateLinkedObject();
  virtual void RestoreDefaultWindowProc() = 0;
  // Puts Handler in the window procedure's place and keeps the one it replaces.
  virtual void StoreDefaultWindowProc(TWndMethod Handler) = 0;
  const TWndMethod& DefaultWindowProc() const { return FDefaultWindowProc; }

 protected:
  TWndMethod FDefaultWindowProc;
};

class TcxVCLSubclassingHelper : public TcxSubclassingHelper {
 public:
  explicit TcxVCLSubclassingHelper(TControl* AControl) : FControl(AControl) {}
  void RestoreDefaultWindowProc() override;
  void StoreDefaultWindowProc(TWndMethod Handler) override;

 private:
  TWeakLink<TControl> FControl;
};

class TcxWin32SubclassingHelper : public TcxSubclassingHelper {
 public:
  explicit TcxWin32SubclassingHelper(HWND AHandle) : FHandle(AHandle) {}
  ~TcxWin32SubclassingHelper() override;
  void RestoreDefaultWindowProc() override;
  void StoreDefaultWindowProc(TWndMethod Handler) override;

 private:
  HWND FHandle;
  WNDPROC FObjectInstance = nullptr;
  WNDPROC FPrevWindowProc = nullptr;
};

class TcxWindowProcLinkedObjectList : public TcxDoublyLinkedObjectList {
 public:
  TcxWindowProcLinkedObjectList(TControl* AControl, HWND AHandle);
  ~TcxWindowProcLinkedObjectList() override;
  TcxDoublyLinkedObject* CreateLinkedObject() override;
  TControl* Control() const { return FControl.get(); }
  HWND Handle() const { return FHandle; }
  bool IsControlChain() const { return FIsControlChain; }

 private:
  friend class TcxWindowProcController;
  void Dispatch(TMessage& Message);

  std::unique_ptr<TcxSubclassingHelper> FHelper;
  TWeakLink<TControl> FControl;
  bool FIsControlChain;
  HWND FHandle;
  int FDispatching = 0;
  bool FFreeAfterDispatch = false;
};

class TcxWindowProcController : public TObject {
 public:
  ~TcxWindowProcController() override;
  // The new link, at the chain's newest end; null for a null control or handle.
  TcxWindowProcLinkedObject* HookControl(TControl* Control, TWndMethod Handler);
  TcxWindowProcLinkedObject* HookWindowHandle(HWND Handle, TWndMethod Handler);
  // Takes the link out (null: nothing); the chain goes, and the window's own procedure comes
  // back, with the last hook.
  void Unhook(TcxWindowProcLinkedObject*& Link);
  int ChainCount() const { return int(FChains.size()); }

 private:
  TcxWindowProcLinkedObjectList* FindChain(TControl* Control, HWND Handle) const;
  TcxWindowProcLinkedObject* AddLink(TcxWindowProcLinkedObjectList* Chain, TWndMethod Handler);
  // The chain of the control (or, without one, of the handle) is made on first use.
  TcxWindowProcLinkedObject* AddHook(TControl* Control, HWND Handle, TWndMethod Handler);
  void FreeChain(TcxWindowProcLinkedObjectList* Chain);
  std::vector<TcxWindowProcLinkedObjectList*> FChains;
};

// Passes the message to the hook before Link (ending with the window's own procedure).
void CallPreviousWindowProc(TcxWindowProcLinkedObject* Link, TMessage& Message);

// Tells the form designer of modifications, once at a time and not while locked.
class TcxDesignController : public TObject {
 public:
  void NotifyFormDesignerModified(TCustomForm* Form);
  void LockModifiedNotifications() { ++FLockCount; }
  void UnlockModifiedNotifications() {
    if (FLockCount > 0) --FLockCount;
  }
  bool IsLocked() const { return FLockCount > 0; }

 private:
  int FLockCount = 0;
  uint8_t FState = 0;
};


// Hint windows of the suite: kept on the desktop, shown without taking the activation and
// animated as the system animates its tool tips.

class IcxHintWindowHelper {
 public:
  virtual ~IcxHintWindowHelper() = default;
  virtual void SetHintArea(const TRect& Area, bool UseMousePos) = 0;
};

// Animation styles: 0..3 slide right, left, down, up; 4 from the centre; 5 hide; 6 activate;
// 7 blend; 8 blend or slide down as the system's tool tips do; 9 none.
using TcxHintAnimationStyle = int;
constexpr TcxHintAnimationStyle cxhaAuto = 8;
constexpr TcxHintAnimationStyle cxhaNone = 9;
// The AnimateWindow flag of a style (0..7).
DWORD cxHintAnimationFlag(TcxHintAnimationStyle Style);

class TcxBaseHintWindow : public THintWindow, public IcxHintWindowHelper {
 public:
  explicit TcxBaseHintWindow(TComponent* AOwner);
  ~TcxBaseHintWindow() override;

  void ActivateHint(TRect Rect, const std::string& AHint) override;
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  virtual void FitToDesktop(TRect& Rect);
  virtual void ClearWindowRegion();
  virtual void SetWindowRegion() {}
  virtual bool NeedsAnimation() { return false; }
  void SetHintArea(const TRect& Area, bool UseMousePos) override;
  virtual void ShowNoActivate();

  TcxHintAnimationStyle AnimationStyle() const { return FAnimationStyle; }
  void SetAnimationStyle(TcxHintAnimationStyle Value) { FAnimationStyle = Value; }
  int AnimationDelay() const { return FAnimationDelay; }
  void SetAnimationDelay(int Value) { FAnimationDelay = Value; }
  TcxCanvas* cxCanvas() const { return FcxCanvas.get(); }
  bool IsActivating() const { return FActivating; }
  // Whether the last showing was animated.
  bool HasAnimation() const { return FHasAnimation; }
  const TRect& HintAreaBounds() const { return FHintAreaBounds; }
  bool UseMousePos() const { return FUseMousePos; }
  bool StandardHint() const { return FStandardHint; }
  void SetStandardHint(bool Value) { FStandardHint = Value; }
  bool Border() const { return FBorder; }
  void SetBorder(bool Value) { FBorder = Value; }
  bool NeedsEraseBackground() const { return FNeedsEraseBackground; }
  void SetNeedsEraseBackground(bool Value) { FNeedsEraseBackground = Value; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
  // The style this showing uses: none when the system's tool-tip animation is off, the
  // automatic style resolved by its fade setting.
  TcxHintAnimationStyle EffectiveAnimationStyle() const;

 private:
  void AnimationStep(const std::string& AHint);

  TcxHintAnimationStyle FAnimationStyle = cxhaAuto;
  int FAnimationDelay = 100;
  std::unique_ptr<TcxCanvas> FcxCanvas;
  bool FActivating = false;
  DWORD FLastActive = 0;
  bool FHasAnimation = false;
  TRect FHintAreaBounds;
  bool FUseMousePos = false;
  bool FStandardHint = false;
  bool FBorder = false;
  bool FNeedsEraseBackground = false;
};

// An object with a hidden message-only window; its messages reach HandleWindowMessage.
class TcxMessageWindow : public TObject {
 public:
  TcxMessageWindow();
  ~TcxMessageWindow() override;
  HWND Handle() const { return FHandle; }

 protected:
  virtual void HandleWindowMessage(TMessage& Message);

 private:
  HWND FHandle = nullptr;
};

// The unit's own message window. Only a library loaded by a host would have to run other
// threads' synchronisation on it; a program has no such work, so it only owns its window.
class TcxSystemController : public TcxMessageWindow {};
TcxSystemController* cxSystemController();

// The suite's cursors, put into the screen's cursor table by the unit's start-up.
constexpr TCursor crcxDragCopy = 2100;
constexpr TCursor crcxFullScroll = 2101;
constexpr TCursor crcxHorScroll = 2102;
constexpr TCursor crcxVerScroll = 2103;
constexpr TCursor crcxUpScroll = 2104;
constexpr TCursor crcxRightScroll = 2105;
constexpr TCursor crcxDownScroll = 2106;
constexpr TCursor crcxLeftScroll = 2107;
constexpr TCursor crcxRemove = 2108;
constexpr TCursor crcxVertSize = 2109;
constexpr TCursor crcxHorzSize = 2110;
constexpr TCursor crcxMultiDrag = 2111;
constexpr TCursor crcxNoDrop = 2112;
constexpr TCursor crcxDrag = 2113;
constexpr TCursor crcxHandPoint = -2099;
constexpr TCursor crcxColorPicker = 2114;
constexpr TCursor crcxMultiDragCopy = 2115;

// Registered by the unit's start-up: the question the suite's place-holder forms answer with 1,
// and one more kept registered for other suite libraries.
UINT cxPlaceHolderFormMessage();
UINT cxReservedSuiteMessage();

// Start-up: the cursors, the registered messages and the system controller. Shut-down: the
// shared objects, tracking left behind reported on stderr and freed.
void cxControlsInitialize();
void cxControlsFinalize();

// ---- The base control, its scroll bars, size grip and drag and drop

#include "platform/gui/Pictures.h"
#include "platform/gui/ScrollTypes.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/cxLookAndFeels.h"
#include "suite/core/cxScrollBar.h"
#include "suite/core/dxCore.h"

class TcxControl;
class TcxControlChildComponent;
class TcxDragAndDropObject;
class TcxDragImageList;
class TPopupMenu;
class TDragImageList;

enum TcxControlBorderStyle : uint8_t { cxcbsNone, cxcbsDefault };
enum TcxKey : uint8_t { kAll, kArrows, kChars, kTab };
using TcxKeys = TSet<TcxKey>;
enum TcxDragAndDropState : uint8_t { ddsNone, ddsStarting, ddsInProcess };
// A scroll step's direction.
enum TcxDirection : uint8_t { dirNone, dirLeft, dirRight, dirUp, dirDown };
enum TcxMouseWheelScrollingKind : uint8_t { mwskNone, mwskHorizontal, mwskVertical };

// Told of the control's new font.
class IcxFontListener {
 public:
  virtual ~IcxFontListener() = default;
  virtual void FontChanged(TObject* Sender, TFont* Font) = 0;
};
// A control that hands its new font on to something it draws with.
class IcxFontTarget {
 public:
  virtual ~IcxFontTarget() = default;
  virtual void AssignFont(TFont* Font) = 0;
};
// An object inside a control that holds the mouse capture; told when it loses it.
class IcxMouseCaptureObject {
 public:
  virtual ~IcxMouseCaptureObject() = default;
  virtual void DoCancelMode() = 0;
};
// A control that paints its background from a bitmap of what lies behind it.
class IcxBackgroundProvider {
 public:
  virtual ~IcxBackgroundProvider() = default;
  // Null when there is none.
  virtual TcxBitmap* BackgroundBitmap() = 0;
  // The control whose client area the bitmap covers.
  virtual TWinControl* BackgroundControl() = 0;
};
class IcxTransparentControl {
 public:
  virtual ~IcxTransparentControl() = default;
  virtual bool IsTransparentBackground() = 0;
};
class IcxLookAndFeelContainer {
 public:
  virtual ~IcxLookAndFeelContainer() = default;
  virtual TcxLookAndFeel* GetLookAndFeel() = 0;
};

// What SetScrollBarInfo decides for a bar before it is applied.
struct TcxScrollBarData {
  int32_t Min = 0;
  int32_t Max = 100;
  int32_t Position = 0;
  int32_t PageSize = 0;
  int16_t SmallChange = 1;
  int16_t LargeChange = 1;
  bool Enabled = true;
  bool Visible = false;
  bool AllowShow = false;
  bool AllowHide = false;
};

// A scroll bar of a TcxControl, placed in its client area.
class TcxControlScrollBar : public TcxScrollBar {
 public:
  explicit TcxControlScrollBar(TComponent* AOwner);
  TcxScrollBarData& Data() { return FData; }
  const TcxScrollBarData& Data() const { return FData; }
  void ApplyData();

 protected:
  void Dispatch(TMessage& Message) override;
  void DrawTrackBackground(TcxCanvas* Canvas, const TRect& R) override;
  // Focuses the control the bar belongs to, when that agrees.
  void FocusOwner();

 private:
  TcxScrollBarData FData;
};

// The corner between the two scroll bars.
class TcxSizeGrip : public TCustomControl {
 public:
  explicit TcxSizeGrip(TComponent* AOwner);
  ~TcxSizeGrip() override;
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }

 protected:
  void Paint() override;
  void Dispatch(TMessage& Message) override;

 private:
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
};

using TcxDragAndDropObjectClass = std::function<TcxDragAndDropObject*(TcxControl* Control)>;

// The base window control of the suite: a suite canvas, a look and feel, its own scroll bars and
// size grip, drag and drop inside the control, anchor and wheel scrolling, focus on click, wanted
// dialog keys, a pop-up menu of either kind, and buffered painting.
class TcxControl : public TCustomControl, public IdxLocalizerListener, public IcxLookAndFeelContainer {
 public:
  explicit TcxControl(TComponent* AOwner);
  ~TcxControl() override;

  // The suite canvas, or a screen canvas while there is no window.
  TcxCanvas* Canvas();
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  TcxControlBorderStyle BorderStyle() const { return FBorderStyle; }
  void SetBorderStyle(TcxControlBorderStyle Value);
  bool FocusOnClick() const { return FFocusOnClick; }
  void SetFocusOnClick(bool Value) { FFocusOnClick = Value; }
  TScrollStyle ScrollBars() const { return FScrollBars; }
  void SetScrollBars(TScrollStyle Value);
  TcxKeys WantedKeys() const { return FKeys; }
  void SetWantedKeys(TcxKeys Value) { FKeys = Value; }
  // A TPopupMenu, a component with the suite's pop-up menu interface, or null.
  TComponent* PopupMenu() const { return FPopupMenu; }
  void SetPopupMenu(TComponent* Value);
  // The stored menu when it is a TPopupMenu.
  TPopupMenu* GetPopupMenu() const;

  TcxControlScrollBar* HScrollBar() const { return FHScrollBar; }
  TcxControlScrollBar* VScrollBar() const { return FVScrollBar; }
  TcxSizeGrip* SizeGrip() const { return FSizeGrip; }
  bool IsHorzScrollBarVisible() const;
  bool IsVertScrollBarVisible() const;
  void SetScrollBarInfo(TScrollBarKind Kind, int Min, int Max, int Step, int Page, int Position, bool AllowShow,
                        bool AllowHide);

  TcxDragAndDropObject* DragAndDropObject();
  TcxDragAndDropState DragAndDropState() const { return FDragAndDropState; }
  void SetDragAndDropState(TcxDragAndDropState Value);
  void SetDragAndDropObjectClass(TcxDragAndDropObjectClass Value) { FDragAndDropObjectClass = std::move(Value); }
  void FinishDragAndDrop(bool Accepted);
  TObject* MouseCaptureObject() const { return FMouseCaptureObject; }
  void SetMouseCaptureObject(TObject* Value);
  TPoint MouseDownPos() const { return FMouseDownPos; }
  bool IsMouseButtonPressed() const { return FMouseButtonPressed; }
  bool IsScrollingContent() const { return FScrollingContent; }

  void AddFontListener(IcxFontListener* Listener);
  void RemoveFontListener(IcxFontListener* Listener);

  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  void Invalidate() override;
  // The drag images of a platform drag, made on first use; null without any.
  TcxDragImageList* GetDragImages();

  // One scroll step as the wheel and anchor scrolling make it.
  void ScrollContent(TcxDirection Direction);

  // IdxLocalizerListener
  void TranslationChanged() override { RefreshView(); }
  // IcxLookAndFeelContainer
  TcxLookAndFeel* GetLookAndFeel() override { return LookAndFeelSource(); }

  TNotifyEvent OnFocusChanged;

 protected:
  friend class TcxControlScrollBar;
  friend class TcxControlChildComponent;
  friend class TcxDragAndDropObject;
  friend class TcxDragControlObject;

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void Resize() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void PaintWindow(HDC DC) override;
  void Paint() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void DoContextPopup(TPoint MousePos, bool& Handled) override;
  void DoStartDrag(TDragObject*& DragObject) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void WMLButtonDown(TMessage& Message) override;

  // The operations descendants override, in their fixed order.
  virtual bool ShowContextPopup(TComponent* Popup, int X, int Y);
  virtual void NotifyDesigner();
  virtual void FillBackground(TcxCanvas* ACanvas);
  virtual void BeginAutoDrag(TMouseButton Button, int X, int Y);
  virtual void PrepareMouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {}
  virtual void BringScrollBarsToFront();
  virtual void AfterMouseUp();
  virtual void DrawBorder(TcxCanvas* ACanvas);
  virtual int BorderSize();
  virtual TRect ControlBounds();
  virtual TRect ClientBounds();
  virtual TCursor DefaultCursor(int X, int Y) { return FDefaultCursor; }
  virtual bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  virtual bool IsFocused() const { return Focused(); }
  virtual TcxMouseWheelScrollingKind WheelScrollKind();
  virtual bool PaintsAlpha() const { return false; }
  virtual TcxControlScrollBar* CreateScrollBar(TScrollBarKind Kind);
  virtual TcxSizeGrip* CreateSizeGrip();
  virtual void InitScrollBars();
  virtual bool UsesBufferedPaint() const { return true; }
  virtual bool CanFocusOnClick();
  virtual bool CanFocusOnClickAt(int X, int Y) { return CanFocusOnClick(); }
  virtual bool CanFocusOnChildClick(TControl* Child) { return CanFocusOnClick(); }
  virtual bool ErasesBackground() const { return false; }
  virtual bool IsInternalControl(TControl* Control) const;
  virtual bool RedrawOnResize() const { return false; }
  virtual bool KeepsClickPointOnMove() const { return true; }
  virtual void ParentBackgroundChanged() {}
  virtual TcxLookAndFeel* LookAndFeelSource() { return FLookAndFeel.get(); }
  virtual TcxCustomLookAndFeelPainter* LookAndFeelPainter();
  virtual void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues) {}
  virtual bool HandlesScroll(TcxDirection Direction) { return false; }
  virtual TRect HorzScrollBarBounds();
  virtual TRect SizeGripBounds();
  virtual TRect VertScrollBarBounds();
  virtual void SetupScrollBarRanges() {}
  virtual bool NeedsScrollBar(TScrollBarKind Kind) { return false; }
  virtual bool HasScrollBars() const { return true; }
  virtual bool KeepsScrollBarsVisible() const { return true; }
  virtual void Scroll(TScrollBarKind Kind, TScrollCode ScrollCode, int& Position) {}
  virtual void PlaceScrollBars();
  virtual void UpdateScrollBarsState();
  virtual void UpdateScrollBars();
  virtual bool AllowDragAt(int X, int Y, TShiftState Shift) { return true; }
  virtual TcxDragAndDropObject* CreateDragAndDropObject();
  virtual TcxDragAndDropObjectClass DragAndDropObjectClass();
  virtual void DrawDragImage(TcxCanvas* ACanvas, const TRect& R) {}
  virtual TcxDragImageList* CreateDragImageList();
  virtual TSize DragImageSize() { return TSize{0, 0}; }
  virtual bool IsCopyDragDrop();
  virtual bool HasDragImages() const { return false; }
  virtual void InitDragImages(TcxDragImageList* ImageList);
  virtual bool CanFocusNow();
  virtual bool IsDragPoint(int X, int Y);
  virtual void RefreshView() {}

  // The message-style operations.
  virtual void AddChildComponent(TcxControlChildComponent* Child);
  virtual void RemoveChildComponent(TcxControlChildComponent* Child);
  virtual void ResetMouseState();
  virtual bool DesignHitTest(int X, int Y, TShiftState Shift);
  virtual TDragControlObject* CreateDragControlObject();
  virtual void MouseEnter(TControl* AControl) {}
  virtual void MouseLeave(TControl* AControl) {}
  virtual bool IsFocusable() const { return true; }
  virtual void BoundsChanged();
  virtual void ColorChanged() {}
  virtual void CursorChanged() { FDefaultCursor = Cursor(); }
  virtual void FocusChanged();
  virtual void FontChanged();
  virtual void TextChanged() {}
  virtual void VisibleChanged() {}
  virtual bool AllowsClickWithoutFocus() { return false; }
  virtual void DragAndDrop(TPoint P, bool& Accepted);
  virtual void EndDragAndDrop(bool Accepted);
  virtual void BeginDragAndDrop();
  virtual bool StartDragAndDrop(TPoint P) { return false; }
  virtual bool CanBeginPlatformDrag(int X, int Y) { return true; }
  virtual bool AcceptsStartDrag(TDragObject* DragObject) { return true; }

  void ScrollBarScroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos);
  void CreateScrollBars();
  void DestroyScrollBars();
  void RecreateScrollBars();
  void ParentScrollBars();
  // Middle-button scrolling round an anchor until a click, Escape or a lost capture.
  void ScrollContentFromAnchor();
  // The direction and speed (1 to 12, 0 in the neutral zone) of anchor scrolling at a screen
  // point, with the anchor bitmap's size.
  void AnchorScrollDirection(TPoint Anchor, TPoint P, TSize BitmapSize, bool& LeftZone, TcxDirection& Direction,
                             int& Speed) const;
  TCursor AnchorScrollCursor(TcxDirection Direction) const;

 private:
  void LookAndFeelChangeHandler(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues);
  void DoPaintWithMemoryDC(TMessage& Message);
  void DoPaintBuffered(TMessage& Message);
  void WMEraseBkgndSuite(TMessage& Message);
  void WMGetDlgCode(TMessage& Message);
  bool IsPopupShortCut(TMessage& Message);
  void CalculateScrollBars();
  void CheckScrollBarSizes();
  TPoint MessagePoint(const TMessage& Message);

  std::unique_ptr<TcxCanvas> FCanvas;
  std::unique_ptr<TcxScreenCanvas> FActiveCanvas;
  TCursor FDefaultCursor = crDefault;
  bool FFocusOnClick = true;
  std::vector<IcxFontListener*> FFontListeners;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TScrollStyle FScrollBars = ssBoth;
  TcxControlScrollBar* FHScrollBar = nullptr;
  TcxControlScrollBar* FVScrollBar = nullptr;
  TcxSizeGrip* FSizeGrip = nullptr;
  TcxControlBorderStyle FBorderStyle = cxcbsNone;
  TcxKeys FKeys;
  std::unique_ptr<TcxDragAndDropObject> FDragAndDropObject;
  TcxDragAndDropObjectClass FDragAndDropObjectClass;
  TcxDragAndDropState FDragAndDropState = ddsNone;
  bool FFinishingDragAndDrop = false;
  TCursor FDragAndDropPrevCursor = crDefault;
  TObject* FMouseCaptureObject = nullptr;
  bool FMouseButtonPressed = false;
  TPoint FMouseDownPos;
  TComponent* FPopupMenu = nullptr;
  bool FUpdatingScrollBars = false;
  bool FInitialHScrollBarVisible = false;
  bool FInitialVScrollBarVisible = false;
  bool FInitialScrollBarsParamsCalculated = false;
  bool FCalculatingScrollBarsParams = false;
  bool FCreatingWindow = false;
  bool FScrollingContent = false;
  std::unique_ptr<TcxDragImageList> FDragImages;
  TRect FBounds;
  bool FLastParentBackground = true;
  bool FDirectButtonDown = false;
};

// A component that belongs to a control (its parent in stored descriptions).
class TcxControlChildComponent : public TcxComponent {
 public:
  explicit TcxControlChildComponent(TComponent* AOwner);
  // Owned by the control's owner when AssignOwner, else by no one; bound to the control.
  TcxControlChildComponent(TcxControl* AControl, bool AssignOwner);
  ~TcxControlChildComponent() override;
  TcxControl* Control() const { return FControl; }
  virtual void SetControl(TcxControl* Value) { FControl = Value; }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  TComponent* GetParentComponent() const override { return FControl; }
  bool HasParent() const override { return FControl != nullptr; }
  void SetParentComponent(TComponent* Value) override;

 protected:
  virtual void Initialize() {}

 private:
  TcxControl* FControl = nullptr;
};

// Keeps the control scroll bars at the system's size when the non-client metrics change.
class TcxSettingsController : public TObject {
 public:
  ~TcxSettingsController() override;
  void Register(TcxControl* Control);
  void Unregister(TcxControl* Control);
  bool IsRegistered(TcxControl* Control) const;
  HWND Window() const { return FWindow; }

 private:
  void WndProc(TMessage& Message);
  std::vector<TcxControl*> FControls;
  HWND FWindow = nullptr;
};
TcxSettingsController* GetSettingsController();

// The private message a control posts itself to check its scroll bars' size.
constexpr UINT DXM_CHECKSCROLLBARSIZES = 0x8065;

// ---- drag and drop

// The suite's own drag and drop inside one control: follows the mouse while the control holds
// the capture.
class TcxDragAndDropObject : public TObject {
 public:
  explicit TcxDragAndDropObject(TcxControl* AControl);
  TcxControl* Control() const { return FControl; }
  TcxCanvas* Canvas() const { return FCanvas; }
  bool Dirty() const { return FDirty; }
  void SetDirty(bool Value);
  TPoint CurMousePos() const { return FCurMousePos; }
  TPoint PrevMousePos() const { return FPrevMousePos; }
  void SetMousePos(TPoint P);
  void Start();
  void Move(TPoint P, bool& Accepted);
  void Finish(bool Accepted);

  virtual void DirtyChanged() {}
  virtual TPoint GetClientCursorPos();
  virtual TCursor GetDragAndDropCursor(bool Accepted);
  virtual bool GetImmediateStart() { return false; }
  virtual void AfterDragAndDrop(bool Accepted) {}
  virtual void BeginDragAndDrop() { DirtyChanged(); }
  virtual void DragAndDrop(TPoint P, bool& Accepted);
  virtual void EndDragAndDrop(bool Accepted) { FDirty = true; }

 private:
  TcxControl* FControl;
  TcxCanvas* FCanvas = nullptr;
  bool FDirty = false;
  TPoint FCurMousePos{-1, -1};
  TPoint FPrevMousePos{-1, -1};
};

// The platform drag of a TcxControl; Ctrl makes it a copy.
class TcxDragControlObject : public TDragControlObject {
 public:
  using TDragControlObject::TDragControlObject;
  TCursor GetDragCursor(bool Accepted, int X, int Y) override;
  void Finished(TObject* Target, int X, int Y, bool Accepted) override;
};

// The images a TcxControl shows while the platform drags it.
class TcxDragImageList : public TObject {
 public:
  int Width() const { return FWidth; }
  int Height() const { return FHeight; }
  void SetSize(int Width, int Height) {
    FWidth = Width;
    FHeight = Height;
  }
  int Count() const { return int(FImages.size()); }
  TBitmap* Images(int Index) const { return FImages.at(size_t(Index)).get(); }
  TColor MaskColor(int Index) const { return FMasks.at(size_t(Index)); }
  void AddMasked(std::unique_ptr<TBitmap> Image, TColor Mask);

 private:
  int FWidth = 0, FHeight = 0;
  std::vector<std::unique_ptr<TBitmap>> FImages;
  std::vector<TColor> FMasks;
};

// The platform drag object over a suite control right now, or null.
TDragObject* CurrentPlatformDragObject();

// ---- Popup window, drag image window and size frame

enum TcxPopupAlignHorz : uint8_t { pahLeft, pahCenter, pahRight };
enum TcxPopupAlignVert : uint8_t { pavTop, pavCenter, pavBottom };
enum TcxPopupDirection : uint8_t { pdHorizontal, pdVertical };
// 0 none, 1 single line, 2 raised edge, 3 double raised edge.
using TcxPopupFrameStyle = int;

// A borderless stay-on-top form opening next to an owner rectangle: it flips to the other side
// when the work area has no room, stays inside the work area, sizes itself round its children and
// closes when it loses the activation.
class TcxPopupWindow : public TForm {
 public:
  TcxPopupWindow();
  ~TcxPopupWindow() override;

  virtual TPoint CalculatePosition();
  virtual void CalculateSize();
  // Sides: 0 left, 1 top, 2 right, 3 bottom.
  virtual int SideBorderWidth(int Side) { return FrameWidth(Side) + FBorderSpace; }
  virtual TRect InnerBounds();
  virtual int FrameWidth(int Side);
  virtual TRect OwnerScreenBounds();
  virtual void InitPopup();
  virtual void DrawFrame();
  virtual void ClosePopup() { Hide(); }
  virtual void Popup();

  bool Adjustable() const { return FAdjustable; }
  void SetAdjustable(bool Value) { FAdjustable = Value; }
  TcxPopupAlignHorz AlignHorz() const { return FAlignHorz; }
  void SetAlignHorz(TcxPopupAlignHorz Value) { FAlignHorz = Value; }
  TcxPopupAlignVert AlignVert() const { return FAlignVert; }
  void SetAlignVert(TcxPopupAlignVert Value) { FAlignVert = Value; }
  int BorderSpace() const { return FBorderSpace; }
  void SetBorderSpace(int Value) { FBorderSpace = Value; }
  TcxPopupFrameStyle FrameStyle() const { return FFrameStyle; }
  void SetFrameStyle(TcxPopupFrameStyle Value) { FFrameStyle = Value; }
  TcxPopupDirection Direction() const { return FDirection; }
  void SetDirection(TcxPopupDirection Value) { FDirection = Value; }
  TColor FrameColor() const { return FFrameColor; }
  void SetFrameColor(TColor Value) { FFrameColor = Value; }
  const TRect& OwnerBounds() const { return FOwnerBounds; }
  void SetOwnerBounds(const TRect& Value) { FOwnerBounds = Value; }
  TControl* OwnerParent() const { return FOwnerParent.get(); }
  void SetOwnerParent(TControl* Value) { FOwnerParent = Value; }
  HWND PrevActiveWindow() const { return FPrevActiveWindow; }
  TcxCanvas* cxCanvas() { return FcxCanvas.get(); }

 protected:
  void Dispatch(TMessage& Message) override;
  void Deactivate() override;
  void Paint() override;
  virtual void VisibleChanged() {}

 private:
  bool FAdjustable = true;
  TcxPopupAlignHorz FAlignHorz = pahLeft;
  TcxPopupAlignVert FAlignVert = pavBottom;
  int FBorderSpace = 0;
  TcxPopupFrameStyle FFrameStyle = 0;
  TcxPopupDirection FDirection = pdVertical;
  TColor FFrameColor = clWindowText;
  TRect FOwnerBounds;
  TWeakLink<TControl> FOwnerParent;
  HWND FPrevActiveWindow = nullptr;
  // How far the children have already been moved in, so that sizing again does not move them
  // further.
  TPoint FChildOffset;
  std::unique_ptr<TcxCanvas> FcxCanvas;
};

// A semi-transparent popup that follows a drag; the mouse passes through it.
class TcxCustomDragImage : public TcxPopupWindow {
 public:
  TcxCustomDragImage();
  void ShowWithCommand(int Cmd);

 protected:
  void CreateParams(TCreateParams& Params) override;
  void Dispatch(TMessage& Message) override;
};

// A frame-shaped window shown while something is being sized: a ring of FrameWidth pixels
// (the whole rectangle with FillSelection) filled with a checkerboard.
class TcxSizeFrame : public TcxCustomDragImage {
 public:
  explicit TcxSizeFrame(int AFrameWidth);
  static TcxSizeFrame* CreateWithFrameWidth(int AFrameWidth) { return new TcxSizeFrame(AFrameWidth); }
  ~TcxSizeFrame() override;

  void PlaceOverRect(const TRect& R);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  int FrameWidthPixels() const { return FFrameWidth; }
  bool FillSelection() const { return FFillSelection; }
  void SetFillSelection(bool Value) { FFillSelection = Value; }
  TcxRegion* Region() const { return FRegion.get(); }

 protected:
  void Paint() override;

 private:
  int FFrameWidth;
  std::unique_ptr<TcxRegion> FRegion;
  bool FFillSelection = false;
  HBRUSH FPatternBrush = nullptr;
  HBITMAP FPatternBitmap = nullptr;
};
