#include "suite/bars/dxBarNavigation.h"

#include "platform/rtl/SysUtils.h"
#include "suite/bars/dxBar.h"
#include "suite/core/cxClasses.h"
#include "suite/core/cxControls.h"
#include "suite/core/dxCore.h"

namespace {

TdxBarNavigationController* gController = nullptr;

bool StartsWith(const std::string& S, const std::string& Prefix) {
  return S.size() >= Prefix.size() && S.compare(0, Prefix.size(), Prefix) == 0;
}

std::string KeyText(WORD Key) {
  char c = VirtualKeyToChar(Key);
  return c ? std::string(1, c) : std::string();
}

TdxBarAccessibilityHelper* HelperOf(TCustomdxBarControl* Control) {
  return Control ? QueryAccessibilityHelper(Control->AcquireAccessibilityHelper()) : nullptr;
}

TdxBarAccessibilityHelper* HelperOf(TdxBarItemControl* Control) {
  return Control ? QueryAccessibilityHelper(Control->AcquireAccessibilityHelper()) : nullptr;
}

// Whether a helper is the bar window's own or one of its item controls'.
bool BelongsTo(TdxBarAccessibilityHelper* Helper, TCustomdxBarControl* BarControl) {
  if (!Helper || !Helper->IsOwnerObjectLive()) return false;
  if (Helper->OwnerObject() == BarControl) return true;
  auto* item = dynamic_cast<TdxBarItemControlAccessibilityHelper*>(Helper);
  return item && item->ItemControl() && item->ItemControl()->BarControl() == BarControl;
}

}  // namespace

TdxBarNavigationController* GetBarNavigationController() {
  if (!gController) gController = new TdxBarNavigationController();
  return gController;
}

void FreeBarNavigationController() {
  delete gController;
  gController = nullptr;
}

TdxBarNavigationController::TdxBarNavigationController() = default;

TdxBarNavigationController::~TdxBarNavigationController() {
  FKeyTips.clear();
  FWaitingRoot = {};
  FTimer.reset();
}

void TdxBarNavigationController::RequestKeyTips(TdxBarAccessibilityHelper* Root) {
  if (!Root || (FWaitingRoot && FWaitingRoot.get() != Root)) throw EdxException("");
  if (FKeyTipsContainer || FWaitingRoot) return;
  FWaitingRoot = TdxBarAccessibilityHelperRef::Share(Root);
  if (!FTimer) FTimer = std::make_unique<TcxTimer>(nullptr);
  FTimer->SetInterval(dxBarKeyTipsWaitTime);
  FTimer->SetOnTimer(TNotifyEvent::Bind(this, &TdxBarNavigationController::TimerFired));
  FTimer->SetEnabled(true);
}

void TdxBarNavigationController::TimerFired(TObject*) {
  FInTimer = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } reset{FInTimer};
  if (BarMenuKeyPending())
    StopWaitingForKeyTips(true);
  else
    FreeKeyTipsTimer();
}

void TdxBarNavigationController::FreeKeyTipsTimer() {
  if (!FTimer) return;
  // A timer firing now is only stopped; the next wait replaces it.
  FTimer->SetEnabled(false);
  if (!FInTimer) FTimer.reset();
}

void TdxBarNavigationController::StopWaitingForKeyTips(bool ShowTips) {
  SetBarMenuKeyPending(false);
  if (!FWaitingRoot) return;
  FreeKeyTipsTimer();
  TdxBarAccessibilityHelperRef root = std::move(FWaitingRoot);
  FWaitingRoot = {};
  if (ShowTips) ShowKeyTipsFor(root.get(), "");
}

void TdxBarNavigationController::SelectFirstObject(TdxBarAccessibilityHelper* Root) {
  if (!Root) return;
  TdxBarAccessibilityHelperRef keep = TdxBarAccessibilityHelperRef::Share(Root);
  TdxBarAccessibilityHelperRef first = TdxBarAccessibilityHelperRef::Share(Root->DefaultSelectable(dxBarNavRight));
  if (!first) return;
  FNavigationMode = true;
  first->TakeSelection(false);
  // Activating the bar may have closed other bars on the way; the selection made here stands.
  if (first->IsOwnerObjectLive() && CurrentSelectedObject() == first.get()) FNavigationMode = true;
}

bool TdxBarNavigationController::IsArrowOrTabKey(WORD Key, TShiftState Shift) {
  return (Key >= VK_LEFT && Key <= VK_DOWN) || (Key == VK_TAB && !Shift.Contains(ssCtrl));
}

bool TdxBarNavigationController::MatchKeyTip(WORD Key, TShiftState Shift, TNotifyEvent& Handler, bool& Matched) {
  Handler = TNotifyEvent();
  Matched = false;
  if (FKeyTipsContainer && Key == VK_ESCAPE) return true;
  if (!IsCharacterKey(Key)) return false;
  bool result = !Shift.Contains(ssAlt);
  TdxBarKeyTipDataList temporary;
  const TdxBarKeyTipDataList* list = &FKeyTips;
  std::string typed = FTyped;
  if (!FKeyTipsContainer) {
    if (!FWaitingRoot) return false;
    FWaitingRoot->CollectKeyTips(temporary);
    list = &temporary;
    typed.clear();
  }
  std::string candidate = AnsiUpperCase(typed + KeyText(Key));
  for (const auto& d : *list) {
    std::string tip = d->UpperKeyTip();
    if (!StartsWith(tip, candidate)) continue;
    Matched = true;
    if (tip == candidate && d->Info.Enabled) Handler = d->Info.OnExecute;
    result = true;
    break;
  }
  if (!Matched && FHandlingKey) MessageBeep(0);
  return result;
}

void TdxBarNavigationController::TypeKeyTipChar(WORD Key, const TNotifyEvent& Handler) {
  if (Handler) {
    FWaitingRoot = {};
    FreeKeyTipsTimer();
    TNotifyEvent run = Handler;
    run(nullptr);
    return;
  }
  TdxBarAccessibilityHelperRef container = FKeyTipsContainer;
  std::string typed = FTyped;
  if (!container) {
    container = std::move(FWaitingRoot);
    FWaitingRoot = {};
    FreeKeyTipsTimer();
    typed.clear();
  }
  if (container) ShowKeyTipsFor(container.get(), typed + KeyText(Key));
}

void TdxBarNavigationController::DispatchKey(WORD Key, TShiftState Shift, TdxBarAccessibilityHelper* Selected,
                                             TdxBarAccessibilityHelper* Parent) {
  FHandlingKey = true;
  struct TReset {
    bool& Flag;
    ~TReset() { Flag = false; }
  } reset{FHandlingKey};
  TNotifyEvent handler;
  bool matched = false;
  if (FWaitingRoot) {
    SetBarMenuKeyPending(false);
    if (MatchKeyTip(Key, Shift, handler, matched)) {
      if (matched) TypeKeyTipChar(Key, handler);
      StopWaitingForKeyTips(false);
      return;
    }
  }
  if (FKeyTipsContainer && Key != VK_ESCAPE) {
    if (MatchKeyTip(Key, Shift, handler, matched)) {
      if (matched) TypeKeyTipChar(Key, handler);
      return;
    }
    CancelKeyTips();
  }
  TdxBarAccessibilityHelperRef parent = TdxBarAccessibilityHelperRef::Share(Parent ? Parent : CurrentSelectedObjectParent());
  TdxBarAccessibilityHelperRef selected = TdxBarAccessibilityHelperRef::Share(Selected ? Selected : CurrentSelectedObject());
  TdxBarAccessibilityHelper* target = selected ? selected.get() : parent.get();
  if (Key == VK_ESCAPE && FKeyTipsContainer) {
    TdxBarAccessibilityHelperRef container = FKeyTipsContainer;
    container->KeyTipsEscaped();
    return;
  }
  if (!target) return;
  if (Key == VK_MENU || Key == VK_ESCAPE || Key == VK_F10) {
    WORD k = Key;
    if (Key == VK_ESCAPE && target->ProcessNavigationKey(k)) return;
    target->ReleaseSelection(nullptr);
    return;
  }
  WORD k = Key;
  if (target->ProcessNavigationKey(k)) return;
  TdxBarAccessibilityHelper* next = nullptr;
  if (!selected) {
    next = parent ? parent->DefaultSelectable(dxBarNavRight) : nullptr;
  } else if (Key == VK_TAB) {
    next = selected->NavigateToSibling(Shift);
  } else {
    int direction = Shift.Contains(ssShift) ? dxBarNavLeft : dxBarNavRight;
    switch (Key) {
      case VK_LEFT: direction = dxBarNavLeft; break;
      case VK_UP: direction = dxBarNavUp; break;
      case VK_RIGHT: direction = dxBarNavRight; break;
      case VK_DOWN: direction = dxBarNavDown; break;
      default: break;
    }
    next = selected->NavigateSpatially(direction);
  }
  MoveSelection(Key == VK_TAB, next, selected.get());
}

bool TdxBarNavigationController::WantsKey(WORD Key, TShiftState Shift) {
  bool qualifies = false;
  if (IsArrowOrTabKey(Key, Shift)) {
    qualifies = true;
  } else if (!GetActiveBarControl()) {
    if (Key == VK_MENU) {
      qualifies = true;
    } else if (Key == VK_F10) {
      TdxBarAccessibilityHelper* parent = CurrentSelectedObjectParent();
      TdxBarManager* m = parent ? parent->ManagerOfOwner() : nullptr;
      qualifies = m && m->UseF10ForMenu;
    }
  }
  TdxBarAccessibilityHelper* selected = CurrentSelectedObject();
  TdxBarAccessibilityHelper* parent = CurrentSelectedObjectParent();
  bool menu = qualifies;
  if (selected)
    menu = qualifies || selected->AcceptsNavigationKey(Key);
  else if (parent)
    menu = qualifies || parent->AcceptsNavigationKey(Key);
  if (menu && parent && parent->AllowsChildNavigation(Key)) return true;
  if (FWaitingRoot || FKeyTipsContainer) {
    TNotifyEvent handler;
    bool matched = false;
    return MatchKeyTip(Key, Shift, handler, matched);
  }
  return false;
}

void TdxBarNavigationController::MoveSelection(bool ByTab, TdxBarAccessibilityHelper* NewObject,
                                               TdxBarAccessibilityHelper* OldObject) {
  if (!OldObject) OldObject = CurrentSelectedObject();
  if (!NewObject || NewObject == OldObject) return;
  TdxBarAccessibilityHelperRef next = TdxBarAccessibilityHelperRef::Share(NewObject);
  TdxBarAccessibilityHelperRef old = TdxBarAccessibilityHelperRef::Share(OldObject);
  TdxBarManager* m = nullptr;
  if (old && old->IsOwnerObjectLive() && next->IsOwnerObjectLive() && old->ManagerOfOwner() == next->ManagerOfOwner())
    m = next->ManagerOfOwner();
  TWeakLink<TdxBarManager> manager(m);
  if (m) m->BeginSelectionChange();
  struct TEnd {
    TWeakLink<TdxBarManager>& Manager;
    ~TEnd() {
      if (Manager) Manager->EndSelectionChange();
    }
  } end{manager};
  if (old && old->IsOwnerObjectLive()) old->ReleaseSelection(next.get());
  if (next->IsOwnerObjectLive()) next->TakeSelection(ByTab);
}

void TdxBarNavigationController::HideKeyTipWindows() {
  if (!FKeyTipsContainer) return;
  IdxBarKeyTipWindowsManager* wm = nullptr;
  FKeyTipsContainer->KeyTipsAvailable(wm);
  for (auto& d : FKeyTips) d->HideTipWindow(wm);
}

void TdxBarNavigationController::RefreshKeyTipWindows() {
  IdxBarKeyTipWindowsManager* wm = nullptr;
  if (!FKeyTipsContainer || !FKeyTipsContainer->KeyTipsAvailable(wm) || !wm) return;
  for (auto& d : FKeyTips) {
    if (!d->Info.Visible) continue;
    if (!FTyped.empty() && !StartsWith(d->UpperKeyTip(), FTyped))
      d->HideTipWindow(wm);
    else
      d->ShowKeyTipWindow(wm);
  }
  wm->UpdateWindows();
}

void TdxBarNavigationController::ShowKeyTipsFor(TdxBarAccessibilityHelper* Container, const std::string& Typed) {
  if (Container != FKeyTipsContainer.get()) {
    HideKeyTipWindows();
    FKeyTips.clear();
    FKeyTipsContainer = TdxBarAccessibilityHelperRef::Share(Container);
    FTyped.clear();
    if (!Container) return;
    FTyped = AnsiUpperCase(Typed);
    Container->CollectKeyTips(FKeyTips);
    RefreshKeyTipWindows();
  } else if (Container && AnsiUpperCase(Typed) != FTyped) {
    FTyped = AnsiUpperCase(Typed);
    RefreshKeyTipWindows();
  }
}

void TdxBarNavigationController::LeaveNavigationMode() {
  SetBarMenuKeyPending(false);
  TdxBarAccessibilityHelperRef stored = FSelected;
  TdxBarAccessibilityHelperRef current = TdxBarAccessibilityHelperRef::Share(CurrentSelectedObject());
  if (stored && stored->IsOwnerObjectLive())
    if (TdxBarManager* m = stored->ManagerOfOwner()) m->HideItemHint();
  if (stored && stored->IsOwnerObjectLive()) stored->ReleaseSelection(nullptr);
  if (current && current.get() != stored.get() && current->IsOwnerObjectLive() && CurrentSelectedObject() == current.get())
    current->ReleaseSelection(nullptr);
  FSelected = {};
  FSelectedParent = {};
  FNavigationMode = false;
  CancelKeyTips();
}

void TdxBarNavigationController::CancelKeyTips() {
  StopWaitingForKeyTips(false);
  ShowKeyTipsFor(nullptr, "");
}

void TdxBarNavigationController::ForgetObject(TdxBarAccessibilityHelper* Object) {
  if (!Object) return;
  if (FSelected.get() == Object) FSelected = {};
  if (FSelectedParent.get() == Object) {
    FSelected = {};
    FSelectedParent = {};
  }
  if (FWaitingRoot.get() == Object) StopWaitingForKeyTips(false);
  if (FKeyTipsContainer.get() == Object) ShowKeyTipsFor(nullptr, "");
}

void TdxBarNavigationController::StoreSelection(TdxBarAccessibilityHelper* Object, TdxBarAccessibilityHelper* Parent) {
  FSelected = TdxBarAccessibilityHelperRef::Share(Object);
  FSelectedParent = TdxBarAccessibilityHelperRef::Share(Parent);
}

TCustomdxBarControl* TdxBarNavigationController::NavigatedBarControl() {
  TCustomdxBarControl* active = GetActiveBarControl();
  if (!active) return nullptr;
  HWND w = active->HandleAllocated() ? active->WindowHandle() : nullptr;
  if (!w || !IsWindowEnabled(w) || active->IsCustomizing()) return nullptr;
  return active;
}

bool TdxBarNavigationController::IsBarControlUnderNavigation(TCustomdxBarControl* BarControl) {
  return FNavigationMode && BarControl && BarControl == NavigatedBarControl();
}

TdxBarAccessibilityHelper* TdxBarNavigationController::CurrentSelectedObject() {
  if (FNavigationMode)
    if (TCustomdxBarControl* bc = NavigatedBarControl()) return HelperOf(bc->SelectedControl());
  return FSelected.get();
}

TdxBarAccessibilityHelper* TdxBarNavigationController::CurrentSelectedObjectParent() {
  if (FNavigationMode)
    if (TCustomdxBarControl* bc = NavigatedBarControl()) return HelperOf(bc);
  return FSelectedParent.get();
}

void TdxBarNavigationController::BarControlDeactivated(TCustomdxBarControl* BarControl) {
  if (BelongsTo(FSelected.get(), BarControl) || BelongsTo(FSelectedParent.get(), BarControl)) {
    FSelected = {};
    FSelectedParent = {};
  }
  if (!GetActiveBarControl()) {
    FSelected = {};
    FSelectedParent = {};
    FNavigationMode = false;
  }
}
