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
// Shows the hint at Rect when a monitor serves its top-left corner; the window is parented to
// the application window first.
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
