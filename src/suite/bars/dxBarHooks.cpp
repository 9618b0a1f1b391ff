// The thread hooks of the bar unit: keys reach the active bar window, shortcuts and accelerators
// reach items wherever the focus is (each key once: a key a manager runs is swallowed), a click
// outside the open menus closes them level by level, and the owner forms' activation reaches
// their managers.
#include "platform/gui/ActnList.h"
#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarItemControls.h"
#include "suite/core/cxControls.h"
#include "suite/core/dxOffice11.h"
#include "suite/bars/dxBarMDI.h"
#include "suite/bars/dxBarNavigation.h"

namespace {

bool gMenuKeyPending = false;
bool gKeyConsumed = false;
WORD gConsumedKey = 0;
bool gForeignActivation = false;
bool gApplicationActive = true;
bool gMouseHookBusy = false;

bool IsKeyDown(LPARAM LParam) { return (uintptr_t(LParam) & 0x80000000u) == 0; }
bool IsRepeated(LPARAM LParam) { return (uintptr_t(LParam) & 0x40000000u) != 0; }

bool IsEditing(TdxBarItemControl* Control) {
  auto* w = dynamic_cast<TdxBarWinControl*>(Control);
  return w && w->Editing();
}

TShiftState HookShiftState() {
  TShiftState s;
  if (GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  return s;
}

// The manager found for a window through its child-window parents.
TdxBarManager* ManagerFromWindowUp(HWND Wnd) {
  for (HWND w = Wnd; w; w = (GetWindowLong(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
    if (TdxBarManager* m = BarManagerOfWindow(w)) return m;
  return nullptr;
}

// Another manager of the same form has the keyboard in menu mode.
bool CycleHasKeyboardBar(TdxBarManager* Manager) {
  TWinControl* owner = Manager->ParentControl();
  for (int i = 0; i < BarManagerCount(); ++i)
    if (TdxBarManager* m = BarManagerAt(i); m && m->ParentControl() == owner && m->KeyboardBarControl())
      return true;
  return false;
}

bool BarKeyStep(int Code, WPARAM Key, LPARAM Flags, LRESULT& Result) {
  bool down = IsKeyDown(Flags);
  if (!down && gKeyConsumed && Key == gConsumedKey) {
    gKeyConsumed = false;
    Result = 1;
    return true;
  }
  // Keyboard navigation and key tips take their keys first.
  TdxBarNavigationController* nc = GetBarNavigationController();
  TShiftState shift = HookShiftState();
  if (nc->WantsKey(WORD(Key), shift)) {
    if (down) {
      gKeyConsumed = true;
      gConsumedKey = WORD(Key);
      nc->DispatchKey(WORD(Key), shift);
    }
    Result = 1;
    return true;
  }
  if (IsCharacterKey(WORD(Key)) && (nc->HasPendingKeyTips() || nc->HasKeyTipsContainer())) nc->LeaveNavigationMode();
  TCustomdxBarControl* active = GetActiveBarControl();
  if (active && active->WindowHandle() && IsWindowEnabled(active->WindowHandle()) && !active->IsCustomizing()) {
    if (IsEditing(active->SelectedControl())) return true;
    if (down) {
      gKeyConsumed = true;
      gConsumedKey = WORD(Key);
    }
    if (Key == VK_ESCAPE && GetCapture() == active->WindowHandle()) {
      ReleaseCapture();
      Result = 1;
      return true;
    }
    TWeakLink<TCustomdxBarControl> bar(active);
    SendMessage(active->WindowHandle(), down ? WM_KEYDOWN : WM_KEYUP, Key, Flags);
    if (GetActiveBarControl() || (!bar && GetKeyState(int(Key)) >= 0)) gKeyConsumed = false;
    Result = 1;
    return true;
  }
  return false;
}

bool ShortCutStep(TdxBarManager* Manager, WPARAM Key, LPARAM Flags, LRESULT& Result) {
  TShiftState shift = HookShiftState();
  bool alt = (uintptr_t(Flags) & 0x20000000u) != 0;
  TShortCut sc = TShortCut(Key & 0xFF);
  if (shift.Contains(ssShift)) sc |= scShift;
  if (shift.Contains(ssCtrl)) sc |= scCtrl;
  if (alt) sc |= scAlt;
  if (Manager->ExecuteShortCut(sc)) {
    Result = 1;
    return true;
  }
  if (!alt) return false;
  shift.Exclude(ssAlt);
  TdxBarItemLink* link = Manager->FindAcceleratorLink(WORD(Key), shift);
  if (!link || !link->Item() || !link->Item()->Enabled() || !link->Control()) return false;
  TdxBarItemLink* other = link->OwningLinks()->FindAccelLink(WORD(Key), shift, link);
  TCustomdxBarControl* bar = link->BarControl();
  TdxBarItemControl* control = link->Control();
  const bool shared = other && other != link;
  // A letter of one entry alone opens its menu at once (a menu title never closes menus when
  // clicked, so it is asked before that); a shared letter, or an entry that stays open when
  // clicked, only selects.
  const bool opensMenu = !shared && dynamic_cast<TCustomdxBarSubItem*>(link->Item());
  if (!opensMenu && (!control->ClosesMenusOnClick() || shared)) {
    if (bar) bar->ActivateItemControlInBar(bar, control);
  } else {
    // The bar takes the keys first, then goes down, so that the menu opens as the head of the
    // active chain.
    TWeakLink<TdxBarItemControl> alive(control);
    TWeakLink<TCustomdxBarControl> aliveBar(bar);
    if (bar) bar->Activate(control);
    if (opensMenu && aliveBar) bar->SetDowned(true);
    if (alive) control->ClickAt(false, false);
  }
  Result = 1;
  return true;
}

// The main-menu bar of a manager, as the root of keyboard navigation, while it shows.
TdxBarAccessibilityHelper* MenuRootOf(TdxBarManager* Manager) {
  TdxBar* main = Manager->Bars() ? Manager->Bars()->MainMenuBar() : nullptr;
  TCustomdxBarControl* c = main ? main->ItemLinks()->BarControl() : nullptr;
  return c && c->IsShowing() ? QueryAccessibilityHelper(c->AcquireAccessibilityHelper()) : nullptr;
}

bool MenuKeyStep(WPARAM Key, LPARAM Flags, LRESULT& Result) {
  bool menuKey = Key == VK_MENU || Key == VK_F10;
  TdxBarManager* m = FindKeyboardBarManager(menuKey);
  if (!m) return false;
  TdxBarNavigationController* nc = GetBarNavigationController();
  IdxBarKeyTipWindowsManager* tipWindows = nullptr;
  bool down = IsKeyDown(Flags);
  if (down && IsRepeated(Flags)) return false;
  TShiftState shift = HookShiftState();
  bool f10Menu = Key == VK_F10 && m->UseF10ForMenu && !shift.Contains(ssShift) && !shift.Contains(ssCtrl);
  if (down) {
    if (((Key == VK_MENU && !shift.Contains(ssCtrl)) || f10Menu) && !(gKeyConsumed && gConsumedKey == Key)) {
      m->HideItemHint();
      gMenuKeyPending = true;
      if (TdxBarAccessibilityHelper* root = MenuRootOf(m); root && root->KeyTipsAvailable(tipWindows))
        nc->RequestKeyTips(root);
      return false;
    }
    gMenuKeyPending = false;
    nc->StopWaitingForKeyTips(false);
    return ShortCutStep(m, Key, Flags, Result);
  }
  if ((Key == VK_MENU && gMenuKeyPending) || f10Menu) {
    gMenuKeyPending = false;
    // The first entry of the main menu is selected: keyboard navigation begins there.
    if (TdxBarAccessibilityHelper* root = MenuRootOf(m)) {
      TdxBarAccessibilityHelperRef keep = TdxBarAccessibilityHelperRef::Share(root);
      nc->SelectFirstObject(root);
      if (root->IsOwnerObjectLive() && root->KeyTipsAvailable(tipWindows)) nc->StopWaitingForKeyTips(true);
    }
    Result = 1;
    return true;
  }
  gMenuKeyPending = false;
  nc->StopWaitingForKeyTips(false);
  return false;
}

bool InsideActiveChain(HWND Wnd) {
  TCustomdxBarControl* active = GetActiveBarControl();
  if (!active) return false;
  if (active->WindowHandle() && !IsWindowEnabled(active->WindowHandle()) && !active->IsCustomizing()) return true;
  for (TCustomdxBarControl* c = active; c; c = c->NavigationParent())
    if (c->OwnsWindow(Wnd)) return true;
  return false;
}

bool IsButtonPress(WPARAM Msg) {
  switch (Msg) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK: case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
    case WM_NCLBUTTONDOWN: case WM_NCRBUTTONDOWN: case WM_NCMBUTTONDOWN:
    case WM_NCLBUTTONDBLCLK: case WM_NCRBUTTONDBLCLK: case WM_NCMBUTTONDBLCLK:
      return true;
    default:
      return false;
  }
}

// Every window handle the platform knows belongs to this application; another application's
// window is none of them (a null or unknown handle).
bool IsOurWindow(HWND Wnd) { return Wnd && IsWindow(Wnd); }

}  // namespace

TdxBarManager* BarManagerOfWindow(HWND Wnd) {
  if (!Wnd) return nullptr;
  for (int i = 0; i < BarManagerCount(); ++i)
    if (TdxBarManager* m = BarManagerAt(i))
      if (TWinControl* owner = m->ParentControl(); owner && owner->WindowHandle() == Wnd) return m;
  return nullptr;
}

TdxBarManager* FindKeyboardBarManager(bool MenuKey) {
  TdxBarManager* m = ManagerFromWindowUp(GetFocus());
  if (!m) {
    if (TWinControl* active = Screen->ActiveForm()) m = ManagerFromWindowUp(active->WindowHandle());
    if (!m && !Screen->ActiveForm())
      if (TWinControl* main = Application->MainForm(); main && main->HandleAllocated() &&
                                                      IsWindowEnabled(main->WindowHandle()))
        if (TdxBarManager* mm = ManagerFromWindowUp(main->WindowHandle()); mm && mm->AllowCallFromAnotherForm) m = mm;
    if (!m && Screen->ActiveForm() && Application->MainForm() && Screen->ActiveForm() != Application->MainForm())
      if (TdxBarManager* mm = ManagerFromWindowUp(Application->MainForm()->WindowHandle());
          mm && mm->AllowCallFromAnotherForm)
        m = mm;
  }
  if (!m) return nullptr;
  if (m->IsCustomizingOrDesigning() || CycleHasKeyboardBar(m)) return nullptr;
  return m;
}

bool BarMenuKeyPending() { return gMenuKeyPending; }
void SetBarMenuKeyPending(bool Value) { gMenuKeyPending = Value; }
bool BarForeignActivation() { return gForeignActivation; }

void BarKeyboardHookProc(int Code, WPARAM WParam, LPARAM LParam, LRESULT& Result) {
  if (Code == HC_NOREMOVE) return;
  // While an MDI button of the main menu is held, every key is swallowed.
  if (dxBarMDIButtonHeld()) {
    Result = 1;
    return;
  }
  if (Code < 0 || WParam == 229 /* VK_PROCESSKEY */) return;
  if (BarKeyStep(Code, WParam, LParam, Result)) return;
  if (!GetCapture()) MenuKeyStep(WParam, LParam, Result);
}

void BarMouseHookProc(int Code, WPARAM WParam, LPARAM LParam, LRESULT& Result) {
  auto* hook = reinterpret_cast<const MOUSEHOOKSTRUCT*>(LParam);
  if (!hook) return;
  if (Code == 0 && IsButtonPress(WParam)) {
    gMenuKeyPending = false;
    TdxBarNavigationController* nc = GetBarNavigationController();
    if (nc->NavigationMode() || nc->HasPendingKeyTips() || nc->HasKeyTipsContainer()) nc->LeaveNavigationMode();
  }
  TCustomdxBarControl* active = GetActiveBarControl();
  if (Code >= 0 && WParam == WM_MOUSEWHEEL && active && !IsEditing(active->SelectedControl())) {
    Result = 1;
    return;
  }
  if (hook->hwnd && GetCapture() == hook->hwnd && WParam != WM_RBUTTONUP) return;
  if (gMouseHookBusy || Code < 0 || !active) return;
  gMouseHookBusy = true;
  struct TReset {
    ~TReset() { gMouseHookBusy = false; }
  } reset;
  if (WParam == WM_RBUTTONUP || WParam == WM_NCRBUTTONUP || WParam == WM_MBUTTONUP || WParam == WM_NCMBUTTONUP) {
    TCustomdxBarControl* under = BarControlOfWindow(hook->hwnd);
    bool onSelected = under && under->SelectedControl() && under->ItemControlAt(under->ScreenToClient(
                                                                TPoint(hook->pt.x, hook->pt.y))) == under->SelectedControl();
    if (!onSelected && !InsideActiveChain(hook->hwnd)) Result = 1;
    return;
  }
  if (!IsButtonPress(WParam)) return;
  TdxBarManager* m = active->BarManager();
  if (m && m->IsDraggingItem()) return;
  while (TCustomdxBarControl* a = GetActiveBarControl()) {
    if (InsideActiveChain(hook->hwnd)) break;
    TWeakLink<TCustomdxBarControl> before(a);
    a->CloseUp(dxbcrClick);
    if (hook->hwnd && !IsWindowVisible(hook->hwnd)) Result = 1;
    // A level that stays active after closing up (a toolbar holding the keyboard) ends the walk.
    if (before && GetActiveBarControl() == a) break;
  }
}

void BarCallWndProcHookProc(int Code, WPARAM WParam, LPARAM LParam, LRESULT& Result) {
  auto* cwp = reinterpret_cast<const CWPSTRUCT*>(LParam);
  if (!cwp || Code < 0) return;
  if (cwp->message == WM_ACTIVATE && LOWORD(cwp->wParam) == WA_INACTIVE) {
    HWND other = HWND(cwp->lParam);
    if (!IsOurWindow(other)) gForeignActivation = true;
  } else if (cwp->message == WM_ACTIVATEAPP) {
    gForeignActivation = false;
    gApplicationActive = cwp->wParam != 0;
  }
  if (cwp->message == WM_ACTIVATE) {
    HWND other = HWND(cwp->lParam);
    if (other && IsOurWindow(other) && (GetParent(other) == cwp->hwnd || GetParent(cwp->hwnd) == other)) return;
  }
  TdxBarManager* m = BarManagerOfWindow(cwp->hwnd);
  if (!m && cwp->message == WM_ACTIVATE)
    if (HWND parent = GetParent(cwp->hwnd); parent && IsWindowVisible(parent)) m = BarManagerOfWindow(parent);
  if (m) m->HandleOwnerFormMessage(cwp->hwnd, cwp->message, cwp->wParam, cwp->lParam);
  // A document of the main form was activated, moved, sized or destroyed: its manager looks at
  // the active document again.
  if (cwp->message == WM_DESTROY || cwp->message == WM_CHILDACTIVATE || cwp->message == WM_MDIACTIVATE) {
    TWinControl* main = Application ? Application->MainForm() : nullptr;
    HWND parent = GetParent(cwp->hwnd);
    if (main && main->HandleAllocated() && parent && SameText(GetClassName(parent), "MDICLIENT"))
      if (TdxBarManager* mm = BarManagerOfWindow(main->Handle()); mm && !mm->IsDestroying())
        mm->ActiveMDIChildChanged();
  }
}

// ---- the manager's side

namespace {

std::vector<TdxBarControl*> FloatingBarControls(TdxBars* Bars) {
  std::vector<TdxBarControl*> r;
  for (int i = 0; i < Bars->Count(); ++i)
    if (TdxBarControl* c = Bars->Items(i)->BarControl(); c && c->DockingStyle() == dsNone) r.push_back(c);
  return r;
}

HWND TopLevelWindowOf(TWinControl* Control) {
  return Control && Control->HandleAllocated() ? FindNonChildAncestor(Control->WindowHandle()) : nullptr;
}

// Visible, with no minimized window among it and its child-window parents.
bool IsOwnerShowing(TWinControl* Control) {
  if (!Control || !Control->HandleAllocated() || !IsWindowVisible(Control->WindowHandle())) return false;
  for (HWND w = Control->WindowHandle(); w; w = (GetWindowLong(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
    if (IsIconic(w)) return false;
  return true;
}

bool LiesInMDIChild(TWinControl* Control) {
  for (TWinControl* c = Control; c; c = c->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(c); f && f->FormStyle() == fsMDIChild) return true;
  return false;
}

}  // namespace

void TdxBarManager::SetBarsActive(bool Active, bool Forced, HWND OtherWindow) {
  if ((!Forced && Active == FBarsActive) || FActivationChanging) return;
  FActivationChanging = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } reset{FActivationChanging};
  FBarsActive = Active;
  TWinControl* owner = ParentControl();
  if (!HideFloatingBarsWhenInactive && !Forced)
    for (TdxBarControl* c : FloatingBarControls(FBars.get())) c->RefreshFrame();
  if (Active) {
    if (IsOwnerShowing(owner) || LiesInMDIChild(owner))
      for (TdxBarControl* c : FloatingBarControls(FBars.get()))
        if (c->HandleAllocated() && c->Bar()->Visible()) ShowWindow(c->WindowHandle(), SW_SHOWNOACTIVATE);
    return;
  }
  HWND top = TopLevelWindowOf(owner);
  if (OtherWindow && top && GetParent(OtherWindow) == top && (GetWindowLong(OtherWindow, GWL_STYLE) & WS_CHILD)) return;
  // Towards none of our windows the menus close on WM_ACTIVATEAPP, outside the window system's
  // activation change.
  if (TCustomdxBarControl* a = GetActiveBarControl();
      OtherWindow && a && a->BarManager() == this && !a->OwnsWindow(OtherWindow))
    a->CloseUp(dxbcrClick);
  if (!HideFloatingBarsWhenInactive && !Forced) return;
  // Another window of this application that is no form (a hint, a bar, a control's popup) keeps
  // the bars; a deactivation towards none of our windows is another application's.
  if (OtherWindow && IsOurWindow(OtherWindow) && !dynamic_cast<TCustomForm*>(FindControl(OtherWindow)) &&
      OtherWindow != Application->Handle())
    return;
  for (TdxBarControl* c : FloatingBarControls(FBars.get()))
    if (c->HandleAllocated()) ShowWindow(c->WindowHandle(), SW_HIDE);
  if (!Forced)
    if (TCustomForm* form = NearestParentForm(); form && form->HandleAllocated())
      SendMessage(form->WindowHandle(), WM_NCACTIVATE, FALSE, 0);
}

void TdxBarManager::KeepFloatingBarsInWorkArea() {
  TWinControl* owner = ParentControl();
  if (!owner) return;
  TPoint centre = owner->ClientToScreen(TPoint(owner->ClientWidth() / 2, owner->ClientHeight() / 2));
  MONITORINFO info;
  if (!GetMonitorInfo(MonitorFromPoint(POINT{centre.X, centre.Y}, MONITOR_DEFAULTTONEAREST), &info)) return;
  const RECT& work = info.rcWork;
  for (int i = 0; i < FBars->Count(); ++i) {
    TdxBar* bar = FBars->Items(i);
    if (bar->DockingStyle() != dsNone) continue;
    TdxBarControl* c = bar->BarControl();
    RECT r;
    if (c && c->HandleAllocated()) {
      GetWindowRect(c->WindowHandle(), &r);
    } else {
      r = RECT{bar->FloatLeft(), bar->FloatTop(), bar->FloatLeft() + bar->FloatClientWidth() + bar->HorzBorderSize(dsNone),
               bar->FloatTop() + bar->FloatClientHeight() + bar->VertBorderSize(dsNone)};
    }
    int dx = 0, dy = 0;
    if (r.bottom > work.bottom) dy = work.bottom - r.bottom;
    if (r.top + dy < work.top) dy = work.top - r.top;
    if (r.right > work.right) dx = work.right - r.right;
    if (r.left + dx < work.left) dx = work.left - r.left;
    if (!dx && !dy) continue;
    if (c && c->HandleAllocated()) {
      SetWindowPos(c->WindowHandle(), nullptr, r.left + dx, r.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    } else {
      LockChangeReports(true);
      bar->SetFloatLeft(r.left + dx);
      bar->SetFloatTop(r.top + dy);
      LockChangeReports(false);
    }
  }
}

void TdxBarManager::HandleOwnerFormMessage(HWND Window, UINT Msg, WPARAM WParam, LPARAM LParam) {
  if (IsDestroying() || !Bars()) return;
  switch (Msg) {
    case WM_ACTIVATE: {
      HWND other = HWND(LParam);
      // Activation handed to a bar window of the same form changes nothing.
      if (other && BarControlOfWindow(other)) return;
      TCustomdxBarControl* active = GetActiveBarControl();
      if (TdxBarItemControl* sel = active ? active->SelectedControl() : nullptr; sel && other && sel->OwnsWindow(other))
        return;
      TCustomForm* form = NearestParentForm();
      HWND top = TopLevelWindowOf(ParentControl());
      bool disabled = top && !IsWindowEnabled(top);
      bool activate = (FBarsActive && disabled && !IsDesigning()) || LOWORD(WParam) != WA_INACTIVE || (other && other == top);
      if (!activate) {
        // Without a window of ours receiving it, the application itself loses activation: the
        // open menus close on WM_ACTIVATEAPP, outside the window system's activation change.
        if (other && active && active->BarManager() == this) active->CloseUp(dxbcrClick);
        if (other && form && other != form->WindowHandle())
          if (TCustomdxBarControl* tracked = MouseTrackedControl()) tracked->MouseLeave();
      }
      SetBarsActive(activate, false, other);
      return;
    }
    case WM_ACTIVATEAPP:
      if (FHandlingCancelMode) return;
      if (WParam == 0) {
        HWND top = TopLevelWindowOf(ParentControl());
        if (FBarsActive && top && !IsWindowEnabled(top)) FDeactivatedWhileDisabled = true;
        SetBarsActive(false, false, nullptr);
        if (TCustomdxBarControl* active = GetActiveBarControl(); active && active->BarManager() == this)
          active->CloseUp(dxbcrClick);
        if (TdxBarItemControl* sel = SelectedItemControl(); sel && sel->BarControl() && sel->BarControl()->WindowHandle())
          SendMessage(sel->BarControl()->WindowHandle(), WM_MOUSELEAVE, 0, 0);
      } else if (FDeactivatedWhileDisabled) {
        SetBarsActive(true, false, nullptr);
        FDeactivatedWhileDisabled = false;
      }
      return;
    case WM_SYSCOLORCHANGE:
      RebuildBarCheckerBrush();
      RefreshColors();
      Office11ColorsRefresh();
      for (TdxDockControl* d : FDockControls) d->RefreshColors();
      for (int i = 0; i < FBars->Count(); ++i)
        if (TCustomdxBarControl* c = FBars->Items(i)->ItemLinks()->BarControl()) c->RepaintBar();
      return;
    case WM_SETTINGCHANGE:
      if (WParam == 42 /* SPI_SETNONCLIENTMETRICS */) ApplySystemFont();
      else if (WParam == 47 /* SPI_SETWORKAREA */) KeepFloatingBarsInWorkArea();
      return;
    case 0x007E /* WM_DISPLAYCHANGE */:
      KeepFloatingBarsInWorkArea();
      return;
    case WM_CHILDACTIVATE:
      SetBarsActive(true, false, nullptr);
      return;
    case WM_WINDOWPOSCHANGING:
      if (auto* pos = reinterpret_cast<const WINDOWPOS*>(LParam); pos && (pos->flags & SWP_HIDEWINDOW))
        SetBarsActive(false, true, nullptr);
      return;
    case WM_WINDOWPOSCHANGED:
      if (auto* pos = reinterpret_cast<const WINDOWPOS*>(LParam);
          pos && (pos->flags & SWP_SHOWWINDOW) && !LiesInMDIChild(ParentControl()))
        SetBarsActive(true, true, nullptr);
      return;
    case WM_MDIACTIVATE:
      SetBarsActive(HWND(LParam) == Window, false, nullptr);
      return;
    case WM_CANCELMODE: {
      FHandlingCancelMode = true;
      struct TReset {
        bool& Flag;
        ~TReset() { Flag = false; }
      } reset{FHandlingCancelMode};
      if (TCustomdxBarControl* active = GetActiveBarControl(); active && active->BarManager() == this &&
                                                                active->ChildBar())
        active->CloseUp(dxbcrClick);
      return;
    }
    default:
      return;
  }
}

bool TdxBarManager::ExecuteShortCut(TShortCut ShortCut) {
  if (ShortCut == 0) return false;
  auto offer = [&](TdxBarManager* m) {
    TdxBar* main = m->Bars()->MainMenuBar();
    if (main && main->ItemLinks()->ExecuteShortCut(ShortCut)) return true;
    for (int i = 0; i < m->Bars()->Count(); ++i) {
      TdxBar* b = m->Bars()->Items(i);
      if (b == main || !b->Visible()) continue;
      TCustomdxBarControl* c = b->ItemLinks()->BarControl();
      if (!(c && c->IsShowing())) continue;
      if (b->ItemLinks()->ExecuteShortCut(ShortCut)) return true;
    }
    return false;
  };
  if (offer(this)) return true;
  for (int i = 0; i < BarManagerCount(); ++i)
    if (TdxBarManager* m = BarManagerAt(i); m && m != this && m->ParentControl() == ParentControl() && offer(m))
      return true;
  return false;
}

TdxBarItemLink* TdxBarManager::FindAcceleratorLink(WORD Key, TShiftState Shift) {
  auto search = [&](TdxBarManager* m) -> TdxBarItemLink* {
    TdxBar* main = m->Bars()->MainMenuBar();
    if (main && main->ItemLinks()->BarControl())
      if (TdxBarItemLink* l = main->ItemLinks()->FindAccelLink(Key, Shift, nullptr)) return l;
    for (int i = 0; i < m->Bars()->Count(); ++i) {
      TdxBar* b = m->Bars()->Items(i);
      if (b == main || !b->Visible()) continue;
      if (TdxBarItemLink* l = b->ItemLinks()->FindAccelLink(Key, Shift, nullptr)) return l;
    }
    return nullptr;
  };
  if (TdxBarItemLink* l = search(this)) return l;
  for (int i = 0; i < BarManagerCount(); ++i)
    if (TdxBarManager* m = BarManagerAt(i); m && m != this && m->ParentControl() == ParentControl())
      if (TdxBarItemLink* l = search(m)) return l;
  return nullptr;
}
