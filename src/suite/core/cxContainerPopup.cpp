// The custom popup window and the rules that close it, on the suite's shared hooks.
#include <algorithm>

#include "platform/sys/Modules.h"
#include "suite/core/cxContainer.h"
#include "suite/core/dxHooks.h"

namespace {

std::vector<TcxCustomPopupWindow*> gOpenPopups;
// Raised while a popup moves the focus or closes: activation notices are swallowed meanwhile.
int gFocusChangeCount = 0;
// Set while a popup is being shown or closed by a click.
bool gShowingOrClicking = false;
bool gGetScrollBarInfoAvailable = false;
int gUnitCount = 0;

bool IsOpenPopup(const TcxCustomPopupWindow* P) {
  return std::find(gOpenPopups.begin(), gOpenPopups.end(), P) != gOpenPopups.end();
}

bool gClosingRulesOn = false;   // the unit is started
bool gHooksSubscribed = false;
void UpdateHookSubscription();

// Raised while the focus moves or a popup closes.
struct TFocusChange {
  TFocusChange() { ++gFocusChangeCount; UpdateHookSubscription(); }
  ~TFocusChange() { --gFocusChangeCount; UpdateHookSubscription(); }
};

struct TFlagSet {
  bool& Flag;
  bool Saved;
  explicit TFlagSet(bool& F) : Flag(F), Saved(F) { Flag = true; }
  ~TFlagSet() { Flag = Saved; }
};

HWND PopupWindow(TcxCustomPopupWindow* P) { return P->HandleAllocated() ? P->WindowHandle() : nullptr; }

// The owner control unless it is gone or going: a popup never touches an owner being freed.
TWinControl* LiveOwner(TcxCustomPopupWindow* P) {
  TWinControl* c = P->OwnerControl();
  return c && !c->ComponentState().Contains(csDestroying) ? c : nullptr;
}

TCustomForm* OwnerForm(TcxCustomPopupWindow* P) { return GetParentCustomForm(LiveOwner(P)); }

HWND OwnerFormWindow(TcxCustomPopupWindow* P) {
  TCustomForm* f = OwnerForm(P);
  return f && f->HandleAllocated() ? f->WindowHandle() : nullptr;
}

HWND OwnerWindow(TcxCustomPopupWindow* P) {
  TWinControl* c = LiveOwner(P);
  return c && c->HandleAllocated() ? c->WindowHandle() : nullptr;
}

bool IsMouseDown(UINT Msg) {
  switch (Msg) {
    case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK:
    case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK: case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

}  // namespace

// The closing rules, with access to the popups' private parts.
struct TcxPopupClosingRules {
  // False when the click must not reach its window.
  static bool OutsideClick(HWND Wnd, UINT Msg, TPoint Pos) {
    bool pass = true;
    for (bool again = true; again;) {
      again = false;
      for (TcxCustomPopupWindow* p : std::vector<TcxCustomPopupWindow*>(gOpenPopups)) {
        if (!IsOpenPopup(p)) continue;
        HWND pw = PopupWindow(p);
        if (p->TakesFocus() && pw && GetActiveWindow() != pw && !IsWindowOrChild(pw, GetActiveWindow())) continue;
        if (pw && IsWindowOrChild(pw, Wnd)) continue;
        TCustomForm* form = OwnerForm(p);
        HWND formWnd = OwnerFormWindow(p);
        HWND top = formWnd ? FindNonChildAncestor(formWnd) : nullptr;
        auto* formAsPopup = dynamic_cast<TcxCustomPopupWindow*>(form);
        bool inOwnerForm = (formWnd && IsWindowOrChild(formWnd, Wnd)) ||
                           (form && !form->Parent() && top && IsWindowOrChild(top, Wnd)) ||
                           (formAsPopup && !formAsPopup->IsOpen());
        if (inOwnerForm) {
          HWND owner = OwnerWindow(p);
          bool onOwner = owner && IsWindowOrChild(owner, Wnd) &&
                         (Msg == WM_LBUTTONDOWN || Msg == WM_LBUTTONDBLCLK) && p->OwnerScreenBounds().Contains(Pos);
          if (onOwner) {
            if (p->SwallowsClosingClick(Wnd, Msg, Pos, GetCurrentShiftState())) p->FClosedByOwnerClick = true;
          } else {
            pass = pass && !p->SwallowsClosingClick(Wnd, Msg, Pos, GetCurrentShiftState());
          }
          TWeakLink<TWinControl> ownerControl = p->OwnerControl();
          {
            TFlagSet clicking(gShowingOrClicking);
            p->CloseLocked();
          }
          if (onOwner) {
            TWinControl* c = ownerControl.get();
            if (!c || c->ComponentState().Contains(csDestroying) || !c->Visible()) pass = false;
          }
          again = true;
          break;
        }
        if (form && IsMDIChildForm(form)) {
          TCustomForm* frame = dynamic_cast<TCustomForm*>(Application->MainForm());
          HWND client = frame ? frame->ClientHandle() : nullptr;
          HWND frameWnd = frame && frame->HandleAllocated() ? frame->WindowHandle() : nullptr;
          bool inFrame = Wnd && (Wnd == client || Wnd == frameWnd ||
                                 (client && IsWindowOrChild(client, Wnd) && !IsWindowOrChild(formWnd, Wnd)));
          if (inFrame) {
            pass = pass && !p->SwallowsClosingClick(Wnd, Msg, Pos, GetCurrentShiftState());
            p->ClosePopup();
            again = true;
            break;
          }
        }
      }
    }
    return pass;
  }

  static void CallWndProc(int Code, WPARAM, LPARAM lParam, LRESULT&) {
    auto* cwp = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (!cwp) return;
    if ((cwp->message == CM_ACTIVATE || cwp->message == CM_DEACTIVATE) && gFocusChangeCount > 0) {
      cwp->message = WM_NULL;
      return;
    }
    if (gOpenPopups.empty()) return;
    HWND wnd = cwp->hwnd;
    switch (cwp->message) {
      case WM_DESTROY:
        for (TcxCustomPopupWindow* p : std::vector<TcxCustomPopupWindow*>(gOpenPopups)) {
          if (!IsOpenPopup(p)) continue;
          if (PopupWindow(p) && IsWindowOrChild(PopupWindow(p), wnd)) {
            p->Close();
          } else if (TWinControl* owner = p->OwnerControl();
                     owner && owner->HandleAllocated() && IsWindowOrChild(wnd, owner->WindowHandle())) {
            // The owner's window goes (its control is being freed): close without asking it.
            p->FOwnerControl = nullptr;
            p->ClosePopup();
          }
        }
        break;
      case WM_CLOSE:
        for (TcxCustomPopupWindow* p : std::vector<TcxCustomPopupWindow*>(gOpenPopups)) {
          if (!IsOpenPopup(p)) continue;
          if (PopupWindow(p) && IsWindowOrChild(PopupWindow(p), wnd)) {
            if (!p->CloseQuery()) continue;
            p->ClosePopup();
            TWinControl* owner = p->OwnerControl();
            if (p->TakesFocus() && owner && !owner->ComponentState().Contains(csDestroying))
              if (HWND ow = OwnerWindow(p))
                if (HWND top = FindNonChildAncestor(ow)) PostMessage(top, WM_CLOSE, 0, 0);
          } else if (wnd && wnd == OwnerFormWindow(p) && !p->TakesFocus()) {
            p->ClosePopup();
          }
        }
        break;
      case WM_SHOWWINDOW:
        if (cwp->wParam == 0)
          for (size_t i = 0; i < gOpenPopups.size(); ++i) {
            TcxCustomPopupWindow* p = gOpenPopups[i];
            if (wnd && wnd == OwnerWindow(p)) {
              // It and every newer one, newest first.
              std::vector<TcxCustomPopupWindow*> newer(gOpenPopups.begin() + long(i), gOpenPopups.end());
              for (auto it = newer.rbegin(); it != newer.rend(); ++it)
                if (IsOpenPopup(*it)) (*it)->ClosePopup();
              break;
            }
          }
        break;
      case WM_ACTIVATEAPP:
        if (cwp->wParam == 0) {
          for (TcxCustomPopupWindow* p : gOpenPopups)
            if (HWND f = OwnerFormWindow(p)) PostMessage(f, WM_NCACTIVATE, FALSE, 0);
          for (bool again = true; again;) {
            again = false;
            for (TcxCustomPopupWindow* p : gOpenPopups) {
              HWND pw = PopupWindow(p);
              if (p->Enabled() && (!p->TakesFocus() || GetActiveWindow() != pw)) {
                p->ClosePopup();
                again = true;
                break;
              }
            }
          }
        }
        break;
      case WM_WINDOWPOSCHANGED:
        for (bool again = true; again;) {
          again = false;
          for (TcxCustomPopupWindow* p : gOpenPopups)
            if (wnd && wnd == OwnerWindow(p) && !IsControlShowing(p->OwnerControl())) {
              p->ClosePopup();
              again = true;
              break;
            }
        }
        break;
      case WM_NCACTIVATE:
        if (cwp->wParam == 0) {
          bool keep = gShowingOrClicking;
          for (TcxCustomPopupWindow* p : gOpenPopups)
            if (wnd && wnd == OwnerFormWindow(p)) keep = true;
          if (keep) cwp->message = WM_NULL;
        }
        break;
      default:
        break;
    }
    (void)Code;
  }

  static void GetMessage(int, WPARAM, LPARAM lParam, LRESULT&) {
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (!msg || gOpenPopups.empty() || msg->message != WM_SYSKEYDOWN) return;
    TcxCustomPopupWindow* newest = gOpenPopups.back();
    if ((newest->TakesFocus() && newest->OwnLoop()) || newest->IsPopupNavigationKey(WORD(msg->wParam))) return;
    msg->message = WM_NULL;
  }

  static void Mouse(int, WPARAM wParam, LPARAM lParam, LRESULT& Result) {
    if (gOpenPopups.empty() || !IsMouseDown(UINT(wParam))) return;
    auto* info = reinterpret_cast<MOUSEHOOKSTRUCT*>(lParam);
    if (!info) return;
    HWND under = WindowAtScreenPoint(info->pt);
    if (!under) under = info->hwnd;
    if (!OutsideClick(under, UINT(wParam), info->pt)) Result = 1;
  }
};

namespace {
// Every closing rule acts only while popups are open or the focus is being moved, so the hooks
// are subscribed just for that time.
void UpdateHookSubscription() {
  bool wanted = gClosingRulesOn && (!gOpenPopups.empty() || gFocusChangeCount > 0);
  if (wanted == gHooksSubscribed) return;
  gHooksSubscribed = wanted;
  if (wanted) {
    SubscribeSystemHook(shkCallWndProc, &TcxPopupClosingRules::CallWndProc);
    SubscribeSystemHook(shkGetMessage, &TcxPopupClosingRules::GetMessage);
    SubscribeSystemHook(shkMouse, &TcxPopupClosingRules::Mouse);
  } else {
    UnsubscribeSystemHook(&TcxPopupClosingRules::CallWndProc);
    UnsubscribeSystemHook(&TcxPopupClosingRules::GetMessage);
    UnsubscribeSystemHook(&TcxPopupClosingRules::Mouse);
  }
}
}  // namespace

const std::vector<TcxCustomPopupWindow*>& cxOpenPopups() { return gOpenPopups; }

void AddToOpenPopups(TcxCustomPopupWindow* Popup) {
  if (!Popup || IsOpenPopup(Popup)) throw EAssertionFailed("Assertion failure (cxContainer)");
  gOpenPopups.push_back(Popup);
  UpdateHookSubscription();
}

void RemoveFromOpenPopups(TcxCustomPopupWindow* Popup) {
  if (!Popup || !IsOpenPopup(Popup)) throw EAssertionFailed("Assertion failure (cxContainer)");
  std::erase(gOpenPopups, Popup);
  UpdateHookSubscription();
}

bool cxGetScrollBarInfoAvailable() { return gGetScrollBarInfoAvailable; }

// ---- the window

TcxCustomPopupWindow::TcxCustomPopupWindow(TWinControl* AOwnerControl) : FOwnerControl(AOwnerControl) {
  SetFormStyle(fsNormal);
  SetVisible(false);
  FStyle = std::make_unique<TcxContainerStyle>(this, 0, nullptr);
  FStyle->OnChanged = [this](TObject*) { StyleChanged(); };
  FViewInfo = std::make_unique<TcxContainerViewInfo>();
  FViewInfo->UpdateStyle(FStyle.get());
  SetKeyPreview(true);
}

TcxCustomPopupWindow::~TcxCustomPopupWindow() {
  if (IsOpenPopup(this)) RemoveFromOpenPopups(this);
  FViewInfo.reset();
  FStyle->OnChanged = nullptr;
  FStyle.reset();
}

bool TcxCustomPopupWindow::IsOpen() const { return IsOpenPopup(this); }

void TcxCustomPopupWindow::DoClosed() {
  if (OnClosed) OnClosed(this);
}
void TcxCustomPopupWindow::DoClosing() {
  if (OnClosing) OnClosing(this);
}
void TcxCustomPopupWindow::DoShowed() {
  if (OnShowed) OnShowed(this, nullptr);
}
void TcxCustomPopupWindow::DoShowing() {
  if (OnShowing) OnShowing(this);
}

bool TcxCustomPopupWindow::IsPopupNavigationKey(WORD Key) { return (Key >= 33 && Key <= 40) || Key == 115; }

TRect TcxCustomPopupWindow::OwnerScreenBounds() {
  TWinControl* owner = OwnerControl();
  TRect r = OwnerBounds();
  if (!owner || !owner->HandleAllocated() || !HasChildStyle(owner->WindowHandle())) return r;
  return MapRectBetweenWindows(owner->WindowHandle(), nullptr, r);
}

bool TcxCustomPopupWindow::Focused() const {
  if (!IsOpen() || !FTakesFocus || !HandleAllocated()) return false;
  HWND focus = GetFocus();
  return focus && IsWindowOrChild(WindowHandle(), focus);
}

bool TcxCustomPopupWindow::IsShortCut(TMessage& Message) {
  if (TcxPopupWindow::IsShortCut(Message)) return true;
  TCustomForm* form = OwnerForm(this);
  return form && form != this && form->IsShortCut(Message);
}

bool TcxCustomPopupWindow::IsCapturingMouse() const {
  return HandleAllocated() && GetCapture() == WindowHandle();
}

bool TcxCustomPopupWindow::TakeClosedByOwnerClick() { return std::exchange(FClosedByOwnerClick, false); }

void TcxCustomPopupWindow::SetTakesFocus(bool Value) {
  if (FTakesFocus == Value) return;
  FTakesFocus = Value;
  if (!HandleAllocated()) return;
  bool open = IsOpen();
  if (open) ClosePopup();
  RecreateWnd();
  if (open) ShowPopup(FControlToFocus.get());
}

void TcxCustomPopupWindow::FitIntoWorkArea(TRect& R) {
  if (!ClipsToWorkArea()) return;
  TRect w = DesktopWorkAreaAt(R.TopLeft());
  int width = R.Width(), height = R.Height();
  bool topMoved = false;
  if (R.Left < w.Left) {
    width -= w.Left - R.Left;
    R.Left = w.Left;
  }
  if (R.Top < w.Top) {
    height -= w.Top - R.Top;
    R.Top = w.Top;
    topMoved = true;
  }
  width = std::min(width, w.Right - R.Left);
  height = std::min(height, w.Bottom - R.Top);
  SetWidth(width);
  SetHeight(height);
  if (Height() != height && topMoved) R.Top += height - Height();
  R.Right = R.Left + Width();
  R.Bottom = R.Top + Height();
}

void TcxCustomPopupWindow::ShowPopup(TWinControl* FocusedControl) {
  TWinControl* owner = OwnerControl();
  if (IsOpen() || !owner || !owner->HandleAllocated() || !IsWindowVisible(owner->WindowHandle())) return;
  TWeakLink<TcxCustomPopupWindow> self(this);
  InitPopup();
  CalculateSize();
  TPoint p = CalculatePosition();
  TRect r = Bounds(p.X, p.Y, Width(), Height());
  FitIntoWorkArea(r);
  {
    TFlagSet showing(gShowingOrClicking);
    AddToOpenPopups(this);
    DoShowing();
    if (!self) return;
    SetBounds(r.Left, r.Top, Width(), Height());
    Show();
  }
  if (!self) return;
  TWinControl* focus = FocusedControl;
  if (FTakesFocus) {
    if (!(focus && focus->CanFocus() && focus->TabStop())) focus = FindNextControl(nullptr, true, true, false);
    if (!focus) focus = this;
  }
  FControlToFocus = focus;
  {
    TFocusChange moving;
    if (TWinControl* f = focus ? focus : this; f->CanFocus()) f->SetFocus();
  }
  if (!self) return;
  TCustomForm* form = OwnerForm(this);
  bool topmost = !FTakesFocus || !form ||
                 (form->HandleAllocated() && (GetWindowLong(form->WindowHandle(), GWL_EXSTYLE) & WS_EX_TOPMOST));
  SetWindowPos(WindowHandle(), topmost ? HWND_TOPMOST : HWND_TOP, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetModalResult(mrNone);
  DoShowed();
  if (!self || !FTakesFocus || !FOwnLoop) return;
  while (self && Visible() && !Application->Terminated()) {
    MSG msg;
    if (PeekMessage(&msg, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_NOREMOVE) &&
        (msg.wParam == VK_RETURN || msg.wParam == VK_MENU || msg.wParam == VK_SPACE))
      PeekMessage(&msg, nullptr, WM_SYSKEYDOWN, WM_SYSKEYDOWN, PM_REMOVE);
    if (ModalResult() != mrNone) {
      if (CloseQuery())
        CloseByOwner();
      else
        SetModalResult(mrNone);
      continue;
    }
    Application->HandleMessage();
  }
}

void TcxCustomPopupWindow::ClosePopup() {
  if (!IsOpen()) return;
  {
    TFocusChange closing;
    RemoveFromOpenPopups(this);
    DoClosing();
    if (HandleAllocated()) ShowWindow(WindowHandle(), SW_HIDE);
    Hide();
    DoClosed();
    if (HandleAllocated()) {
      HWND capture = GetCapture();
      if (capture && IsWindowOrChild(WindowHandle(), capture)) ReleaseCapture();
    }
  }
  if (!gOpenPopups.empty()) return;
  TCustomForm* form = OwnerForm(this);
  if (form && form->HandleAllocated() && !IsMDIParentForm(form) && !form->Active())
    SendMessage(form->WindowHandle(), WM_NCACTIVATE, FALSE, 0);
}

void TcxCustomPopupWindow::CloseLocked() {
  ++FLockCount;
  struct TUnlock {
    int& Count;
    ~TUnlock() { --Count; }
  } unlock{FLockCount};
  ClosePopup();
}

void TcxCustomPopupWindow::CreateParams(TCreateParams& Params) {
  TcxPopupWindow::CreateParams(Params);
  if (FTakesFocus) {
    if (HWND f = OwnerFormWindow(this)) Params.WndParent = f;
  } else {
    // Never activated: a tool window that refuses the activation (the window layer has no
    // detached child windows).
    Params.WndParent = nullptr;
    Params.ExStyle |= WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;
  }
  Params.Style = (Params.Style & ~WS_CHILD) | WS_POPUP | WS_CLIPCHILDREN;
}

void TcxCustomPopupWindow::CreateWnd() {
  bool counted = !IsOpen();
  if (counted) gOpenPopups.push_back(this);
  struct TUncount {
    TcxCustomPopupWindow* P;
    bool Counted;
    ~TUncount() {
      if (Counted) std::erase(gOpenPopups, P);
    }
  } uncount{this, counted};
  TcxPopupWindow::CreateWnd();
}

void TcxCustomPopupWindow::Deactivate() {
  // A popup without the focus is never meant to hold the activation: when the window system
  // gives it anyway, losing it again closes nothing (the hooks close such popups).
  if (FLockCount > 0 || !FTakesFocus) return;
  TForm::Deactivate();
  HWND active = GetActiveWindow();
  bool stopped = false;
  for (TcxCustomPopupWindow* p : std::vector<TcxCustomPopupWindow*>(gOpenPopups.rbegin(), gOpenPopups.rend())) {
    if (PopupWindow(p) == active) {
      stopped = true;
      break;
    }
    if (p != this && IsOpenPopup(p) && p->Enabled() && p->FLockCount == 0) p->ClosePopup();
  }
  if (!stopped && !gOpenPopups.empty()) ClosePopup();
}

void TcxCustomPopupWindow::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_ACTIVATEAPP: return;  // the hooks decide
    case WM_ERASEBKGND:
      if (!ErasesBackground()) {
        Message.Result = 1;
        return;
      }
      break;
    case CM_CLOSEPOPUPWINDOW: {
      CloseLocked();
      if (TWinControl* owner = OwnerControl(); owner && owner->HandleAllocated())
        SendMessage(owner->WindowHandle(), WM_SETFOCUS, 0, 0);
      return;
    }
    case CM_SHOWPOPUPWINDOW: ShowPopup(FControlToFocus.get()); return;
    case CM_VISIBLECHANGED: {
      TcxPopupWindow::Dispatch(Message);
      // A hidden focus-taking popup gives the focus back to its owner.
      if (!Visible() && FTakesFocus)
        if (TCustomForm* form = OwnerForm(this); form && form->HandleAllocated() && GetFocus() == form->WindowHandle())
          if (TWinControl* owner = OwnerControl();
              owner && owner->CanFocus() && !form->ComponentState().Contains(csDesigning))
            owner->SetFocus();
      return;
    }
    default: break;
  }
  TcxPopupWindow::Dispatch(Message);
}

void TcxCustomPopupWindow::KeyDown(WORD& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE && IsOpen() && IsCapturingMouse()) {
    ReleaseCapture();
    Key = 0;
    return;
  }
  TcxPopupWindow::KeyDown(Key, Shift);
}

void TcxCustomPopupWindow::Paint() {
  FViewInfo->Bounds = ClientRect();
  FViewInfo->BorderRect = ClientRect();
  FViewInfo->BackgroundColor = FStyle->Color();
  FViewInfo->Paint(cxCanvas());
}

void InitializePopupClosing() {
  if (gUnitCount++ > 0) return;
  HMODULE user32 = GetModuleHandle("user32.dll");
  gGetScrollBarInfoAvailable = user32 && GetProcAddress(user32, "GetScrollBarInfo") != nullptr;
  gClosingRulesOn = true;
  UpdateHookSubscription();
}

void FinalizePopupClosing() {
  if (gUnitCount == 0 || --gUnitCount > 0) return;
  gClosingRulesOn = false;
  UpdateHookSubscription();
}
