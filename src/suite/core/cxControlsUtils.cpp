// Window and control utilities of the suite: hints, desktop geometry, window tests, drag
// detection, keys and captions, designer notification, pop-up menus and mouse tracking.
#include <algorithm>
#include <cstdio>

#include "platform/gui/Menus.h"
#include "platform/sys/Modules.h"
#include "suite/core/cxControls.h"
#include "suite/core/dxUxTheme.h"

namespace {

// The monitor functions are optional entries of the window library.
using TMonitorFromPoint = HMONITOR (*)(POINT, DWORD);
using TGetMonitorInfo = BOOL (*)(HMONITOR, MONITORINFO*);
using TSetLayeredWindowAttributes = BOOL (*)(HWND, COLORREF, BYTE, DWORD);

template <class F>
F User32Entry(const char* Name) {
  HMODULE user32 = GetModuleHandle("user32.dll");
  return user32 ? GetProcAddressAs<F>(user32, Name) : nullptr;
}

bool MonitorWorkArea(const TPoint& P, DWORD Flags, TRect& Area) {
  auto monitorFromPoint = User32Entry<TMonitorFromPoint>("MonitorFromPoint");
  auto getMonitorInfo = User32Entry<TGetMonitorInfo>("GetMonitorInfoA");
  if (!monitorFromPoint || !getMonitorInfo) return false;
  HMONITOR monitor = monitorFromPoint(POINT(P), Flags);
  MONITORINFO info;
  if (!monitor || !getMonitorInfo(monitor, &info)) return false;
  Area = info.rcWork;
  return true;
}

TRect PrimaryWorkArea() {
  RECT r{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &r, 0);
  return r;
}

}  // namespace

// ---- hints

bool PrepareHintInfo(THintInfo& HintInfo, THintWindow*& HintWindow, TControl* Control,
                     const std::string& Text, TRect& Rect, void* HintData, int HideTimeout) {
  HintInfo = THintInfo();
  HintInfo.HintControl = Control;
  HintInfo.HintWindowClass = HintWindow ? HintWindow->WindowClass() : nullptr;
  HintInfo.HintPos = Rect.TopLeft();
  HintInfo.HintMaxWidth = Screen->Width();
  HintInfo.HintColor = Application->HintColor();
  HintInfo.ReshowTimeout = 0;
  HintInfo.HideTimeout = HideTimeout > 0 ? HideTimeout : Application->HintHidePause();
  HintInfo.HintStr = Text;
  HintInfo.HintData = HintData;
  if (Control) {
    HintInfo.CursorPos = Control->ScreenToClient(GetMouseScreenPos());
    // The control's bounds in the coordinates of its own client origin.
    TPoint origin = Control->ClientOrigin();
    TPoint parentOrigin = Control->Parent() ? Control->Parent()->ClientOrigin()
                                            : origin - Control->BoundsRect().TopLeft();
    HintInfo.CursorRect = Control->BoundsRect().Offset(parentOrigin.X - origin.X,
                                                       parentOrigin.Y - origin.Y);
  }
  bool canShow = true;
  if (Application->OnShowHint) Application->OnShowHint(HintInfo.HintStr, canShow, HintInfo);
  if (!canShow || HintInfo.HintStr.empty()) return false;
  THintWindowClass windowClass = HintInfo.HintWindowClass ? HintInfo.HintWindowClass : ::HintWindowClass;
  if (!HintWindow || HintWindow->WindowClass() != windowClass) {
    delete HintWindow;
    HintWindow = CreateHintWindow(windowClass, nullptr);
  }
  HintWindow->SetColor(HintInfo.HintColor);
  TRect r = HintWindow->CalcHintRect(HintInfo.HintMaxWidth, HintInfo.HintStr, HintInfo.HintData);
  Rect = r.Offset(HintInfo.HintPos.X, HintInfo.HintPos.Y);
  return true;
}

bool MonitorFoundAt(const TPoint& P) {
  TRect area;
  if (MonitorWorkArea(P, MONITOR_DEFAULTTONEAREST, area)) return true;
  auto monitorAt = [](TWinControl* form) {
    return form && form->HandleAllocated() && MonitorFromWindow(form->Handle(), MONITOR_DEFAULTTONULL);
  };
  TWinControl* form = GetParentForm(FindPlatformControl(WindowAtScreenPoint(P)));
  return monitorAt(form) || monitorAt(Application->MainForm());
}

void ActivateHintOnScreen(THintWindow* HintWindow, const TRect& Rect, const std::string& Text) {
  if (!HintWindow || !MonitorFoundAt(Rect.TopLeft())) return;
  // The application's window is a hidden message-only window here: a hint, a top-level window
  // of its own, is not parented to it.
  HintWindow->ActivateHint(Rect, Text);
}

// ---- desktop geometry

TRect DesktopWorkAreaAt(const TPoint& P) {
  TRect area;
  if (MonitorWorkArea(P, MONITOR_DEFAULTTONEAREST, area)) return area;
  return PrimaryWorkArea();
}

void MakeVisibleOnDesktop(TRect& Bounds, const TPoint& DesktopPoint) {
  const TRect work = DesktopWorkAreaAt(DesktopPoint);
  // Right and bottom first, so that the top-left corner wins when the rectangle is too large.
  if (Bounds.Right > work.Right) Bounds = Bounds.Offset(work.Right - Bounds.Right, 0);
  if (Bounds.Bottom > work.Bottom) Bounds = Bounds.Offset(0, work.Bottom - Bounds.Bottom);
  if (Bounds.Left < work.Left) Bounds = Bounds.Offset(work.Left - Bounds.Left, 0);
  if (Bounds.Top < work.Top) Bounds = Bounds.Offset(0, work.Top - Bounds.Top);
}

// ---- window tests and geometry

bool HasChildStyle(HWND Window) {
  return Window && (GetWindowLong(Window, GWL_STYLE) & WS_CHILD) != 0;
}

bool IsWindowOrChild(HWND Parent, HWND Window) {
  return Parent && Window && (Parent == Window || IsChild(Parent, Window));
}

bool IsAncestorWindow(HWND Ancestor, HWND Window) {
  if (!Ancestor || !Window) return false;
  for (HWND w = GetParent(Window); w; w = GetParent(w))
    if (w == Ancestor) return true;
  return false;
}

bool IsWindowEnabledDeep(HWND Window) {
  if (!IsWindowEnabled(Window)) return false;
  for (HWND w = Window; HasChildStyle(w);) {
    w = GetParent(w);
    if (!w) break;
    if (!IsWindowEnabled(w)) return false;
  }
  return true;
}

bool IsControlShowing(TControl* Control) {
  auto* c = dynamic_cast<TWinControl*>(Control);
  return c && c->HandleAllocated() && IsWindowVisible(c->Handle());
}

bool CanControlHaveHandle(TWinControl* Control) {
  if (!Control || Control->ComponentState().Contains(csDestroying)) return false;
  if (Control->HandleAllocated() || Control->ParentWindow()) return true;
  return !Control->Parent() || CanControlHaveHandle(Control->Parent());
}

namespace {
bool HasFormStyle(TControl* Form, TFormStyle Style) {
  auto* form = dynamic_cast<TCustomForm*>(Form);
  return form && !form->ComponentState().Contains(csDesigning) && form->FormStyle() == Style;
}
}  // namespace

bool IsMDIChildForm(TControl* Form) { return HasFormStyle(Form, fsMDIChild); }
bool IsMDIParentForm(TControl* Form) { return HasFormStyle(Form, fsMDIForm); }

TWinControl* FindPlatformControl(HWND Window) {
  for (HWND w = Window; w; w = GetAncestor(w, GA_PARENT))
    if (TWinControl* c = FindControl(w)) return c;
  return nullptr;
}

HWND WindowAtScreenPoint(const TPoint& P) {
  HWND w = WindowFromPoint(POINT(P));
  while (w) {
    POINT client = POINT(P);
    ScreenToClient(w, &client);
    HWND child = ChildWindowFromPoint(w, client);
    if (!child || child == w || !IsWindowVisible(child)) break;
    w = child;
  }
  return w;
}

TPoint MapPointBetweenWindows(HWND From, HWND To, const TPoint& P) {
  POINT p = POINT(P);
  MapWindowPoints(From, To, &p, 1);
  return p;
}

TRect MapRectBetweenWindows(HWND From, HWND To, const TRect& R) {
  POINT p[2] = {POINT(R.TopLeft()), POINT(R.BottomRight())};
  MapWindowPoints(From, To, p, 2);
  return TRect(TPoint(p[0]), TPoint(p[1]));
}

TRect GetClientRectOrEmpty(HWND Window) {
  RECT r{};
  return GetClientRect(Window, &r) ? TRect(r) : TRect();
}

TRect GetWindowRectOrEmpty(HWND Window) {
  RECT r{};
  return GetWindowRect(Window, &r) ? TRect(r) : TRect();
}

TRect GetControlWindowRect(TControl* Control) {
  if (!Control) return TRect();
  if (auto* c = dynamic_cast<TWinControl*>(Control); c && c->HandleAllocated())
    return GetWindowRectOrEmpty(c->Handle());
  TRect r = Control->BoundsRect();
  if (!Control->Parent()) return r;
  TPoint origin = Control->Parent()->ClientOrigin();
  return r.Offset(origin.X, origin.Y);
}

void SetWindowZOrder(HWND Window, HWND InsertAfter, bool Activate, UINT ExtraFlags) {
  UINT flags = SWP_NOMOVE | SWP_NOSIZE | ExtraFlags;
  if (!Activate) flags |= SWP_NOACTIVATE;
  SetWindowPos(Window, InsertAfter, 0, 0, 0, 0, flags);
}

TPoint GetMouseScreenPos() {
  POINT p{};
  if (!GetCursorPos(&p)) return TPoint(-1, -1);
  return p;
}

void SetWindowAlphaBlend(HWND Window, BYTE Alpha) {
  auto setLayered = User32Entry<TSetLayeredWindowAttributes>("SetLayeredWindowAttributes");
  if (!setLayered) return;
  LONG_PTR exStyle = GetWindowLong(Window, GWL_EXSTYLE);
  if (Alpha < 255) {
    SetWindowLong(Window, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
    setLayered(Window, 0, Alpha, LWA_ALPHA);
  } else {
    SetWindowLong(Window, GWL_EXSTYLE, exStyle & ~LONG_PTR(WS_EX_LAYERED));
    setLayered(Window, 0, 255, LWA_ALPHA);
    RedrawWindow(Window, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
  }
}

// ---- drag detection

bool IsPointInDragDetectArea(const TPoint& MouseDownPos, int X, int Y) {
  const int threshold = Mouse->DragThreshold();
  return std::abs(X - MouseDownPos.X) < threshold && std::abs(Y - MouseDownPos.Y) < threshold;
}

TcxDragDetect DetectDrag(HWND Window, const TPoint& ScreenPoint) {
  const int threshold = Mouse->DragThreshold();
  const TRect square(ScreenPoint.X - threshold, ScreenPoint.Y - threshold,
                     ScreenPoint.X + threshold, ScreenPoint.Y + threshold);
  TcxDragDetect result = ddCancel;
  SetCapture(Window);
  while (GetCapture() == Window) {
    MSG msg;
    BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (!got) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    bool done = false;
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_KEYUP:
        done = msg.wParam == VK_ESCAPE;
        break;
      case WM_MOUSEMOVE:
        if (msg.hwnd == Window) {
          TPoint p = MapPointBetweenWindows(Window, nullptr,
                                            TPoint(GET_X_LPARAM(msg.lParam), GET_Y_LPARAM(msg.lParam)));
          if (!square.Contains(p)) result = ddDrag, done = true;
        }
        break;
      case WM_LBUTTONUP:
      case WM_RBUTTONUP:
      case WM_MBUTTONUP:
        result = ddNone, done = true;
        break;
    }
    // The message that ends the loop is still handled by its window.
    TranslateMessage(&msg);
    DispatchMessage(&msg);
    if (done) break;
  }
  if (GetCapture() == Window) ReleaseCapture();
  return result;
}

// ---- keys and text

TShiftState GetCurrentShiftState() { return GetShiftState(); }

WPARAM ShiftStateToMouseKeys(TShiftState Shift) {
  WPARAM keys = 0;
  if (Shift.Contains(ssShift)) keys |= MK_SHIFT;
  if (Shift.Contains(ssCtrl)) keys |= MK_CONTROL;
  if (Shift.Contains(ssLeft)) keys |= MK_LBUTTON;
  if (Shift.Contains(ssRight)) keys |= MK_RBUTTON;
  if (Shift.Contains(ssMiddle)) keys |= MK_MBUTTON;
  return keys;
}

bool IsCtrlPressed() { return GetAsyncKeyState(VK_CONTROL) < 0; }

char VirtualKeyToChar(WORD Key) {
  BYTE state[256] = {};
  GetKeyboardState(state);
  WORD chars = 0;
  if (ToAscii(Key, MapVirtualKey(Key, MAPVK_VK_TO_VSC), state, &chars, 0) != 1) return 0;
  return char(chars & 0xFF);
}

bool IsNonControlChar(int Code) { return Code > 31; }

std::string RemoveAccelChars(const std::string& Caption, bool ReplaceLastWithUnderscore) {
  std::string result;
  result.reserve(Caption.size());
  for (size_t i = 0; i < Caption.size(); ++i) {
    if (Caption[i] != '&') {
      result += Caption[i];
    } else if (i + 1 < Caption.size()) {
      result += Caption[++i];
    } else if (ReplaceLastWithUnderscore) {
      result += '_';
    }
  }
  return result;
}

std::string GetComponentPath(TComponent* Component) {
  std::string path;
  for (TComponent* c = Component; c; c = c->Owner())
    path = path.empty() ? c->Name() : c->Name() + "." + path;
  return path;
}

// ---- form designer

namespace {
bool IsChanging(TComponent* C) {
  const TComponentState& s = C->ComponentState();
  return s.Contains(csLoading) || s.Contains(csWriting) || s.Contains(csDestroying);
}
}  // namespace

void NotifyDesigner(TPersistent* Persistent) {
  auto* component = dynamic_cast<TComponent*>(Persistent);
  if (!component || !component->ComponentState().Contains(csDesigning) || IsChanging(component))
    return;
  TCustomForm* root = nullptr;
  if (auto* control = dynamic_cast<TControl*>(component)) {
    for (TWinControl* p = control->Parent(); p; p = p->Parent())
      if (IsChanging(p)) return;
    root = dynamic_cast<TCustomForm*>(GetParentForm(control));
  }
  if (!root) {
    TComponent* c = component;
    while (c->Owner()) c = c->Owner();
    root = dynamic_cast<TCustomForm*>(c);
  }
  if (root && root->Designer()) root->Designer()->Modified();
}

// ---- pop-up menus

bool IsPopupMenuShortCutKey(TComponent* Menu, TMessage& Message) {
  if (!Menu) return false;
  if (auto* suiteMenu = dynamic_cast<IcxPopupMenu*>(Menu)) return suiteMenu->IsShortCutKey(Message);
  if (auto* menu = dynamic_cast<TPopupMenu*>(Menu)) return menu->IsShortCut(Message);
  return false;
}

bool ShowPopupMenu(TControl* Control, TComponent* Menu, int X, int Y) {
  if (!Menu) return false;
  if (auto* suiteMenu = dynamic_cast<IcxPopupMenu*>(Menu)) {
    suiteMenu->Popup(X, Y);
    return true;
  }
  auto* menu = dynamic_cast<TPopupMenu*>(Menu);
  if (!menu || !menu->AutoPopup()) return false;
  menu->SetPopupComponent(Control);
  menu->Popup(X, Y);
  return true;
}

bool AreThemesEnabled() { return UxIsThemeActive(); }

// ---- mouse tracking

namespace {
std::vector<TMouseTrackingTimer*>* gMouseTrackingTimers = nullptr;

std::vector<TMouseTrackingTimer*>* MouseTrackingTimers() {
  if (!gMouseTrackingTimers && !cxControlsFinalizing())
    gMouseTrackingTimers = new std::vector<TMouseTrackingTimer*>;
  return gMouseTrackingTimers;
}

TMouseTrackingTimer* FindTimer(IcxMouseTrackingCaller* Caller) {
  if (!gMouseTrackingTimers) return nullptr;
  for (TMouseTrackingTimer* t : *gMouseTrackingTimers)
    if (t->Caller() == Caller) return t;
  return nullptr;
}
}  // namespace

TMouseTrackingTimer::TMouseTrackingTimer(TWinControl* AControl, const TRect& ABounds,
                                         IcxMouseTrackingCaller* ACaller)
    : TcxTimer(nullptr), FControl(AControl), FHasControl(AControl != nullptr), FBounds(ABounds),
      FCaller(ACaller) {
  SetInterval(10);
  // The timer runs only with a handler; the work is in Elapsed, which may free the timer.
  SetOnTimer([](TObject*) {});
}

void TMouseTrackingTimer::Elapsed() { Check(); }

void TMouseTrackingTimer::Check() {
  const TPoint cursor = GetMouseScreenPos();
  TWinControl* control = FControl.get();
  const bool hasHandle = control && control->HandleAllocated();
  bool inside;
  if (FHasControl && dynamic_cast<IcxMouseTrackingCaller2*>(FCaller))
    inside = hasHandle &&
             dynamic_cast<IcxMouseTrackingCaller2*>(FCaller)->PtInCaller(control->ScreenToClient(cursor));
  else
    inside = FBounds.Contains(cursor);
  // A control that went away, lost its window or was disabled counts as left.
  const bool unusable = FHasControl && (!hasHandle || !IsWindowEnabledDeep(control->Handle()));
  if (inside && !unusable) return;
  IcxMouseTrackingCaller* caller = FCaller;
  if (hasHandle && (!control->ClientRect().Contains(control->ScreenToClient(cursor)) || unusable))
    SendMessage(control->Handle(), CM_MOUSELEAVE, 0, reinterpret_cast<LPARAM>(control));
  // Both steps may end the tracking themselves (and free this timer).
  if (FindTimer(caller) == this) caller->MouseLeave();
  StopMouseTracking(caller);
}

void StartMouseTracking(TWinControl* Control, const TRect& Area, IcxMouseTrackingCaller* Caller) {
  if (!Caller || cxControlsFinalizing() || IsMouseTracking(Caller)) return;
  auto* timers = MouseTrackingTimers();
  if (!timers) return;
  TRect bounds = Area;
  if (Control) {
    TPoint origin = Control->ClientOrigin();
    bounds = Area.Offset(origin.X, origin.Y);
  }
  timers->push_back(new TMouseTrackingTimer(Control, bounds, Caller));
}

bool IsMouseTracking(IcxMouseTrackingCaller* Caller) { return FindTimer(Caller) != nullptr; }

void StopMouseTracking(IcxMouseTrackingCaller* Caller) {
  TMouseTrackingTimer* timer = FindTimer(Caller);
  if (!timer) return;
  gMouseTrackingTimers->erase(
      std::find(gMouseTrackingTimers->begin(), gMouseTrackingTimers->end(), timer));
  delete timer;
}

int MouseTrackingCount() { return gMouseTrackingTimers ? int(gMouseTrackingTimers->size()) : 0; }

void FreeMouseTrackingTimers() {
  if (!gMouseTrackingTimers) return;
  // Timers left behind are a caller's fault; raising here would end the program, so say it
  // and clean up.
  if (!gMouseTrackingTimers->empty()) std::fprintf(stderr, "MouseTrackingTimerList.Count <> 0\n");
  for (TMouseTrackingTimer* t : *gMouseTrackingTimers) delete t;
  delete gMouseTrackingTimers;
  gMouseTrackingTimers = nullptr;
}
