// What the bar windows, dock sites and customizing ask of their manager: the selected item
// control, mouse-leave tracking of one bar at a time, hot tracking after a layout change, lookups
// and unique names, dock sites, the customizing mode and the toolbar commands.
#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarControl.h"
#include "suite/bars/dxBarStrs.h"
#include "suite/core/cxControls.h"

bool (*dxBarNameDialog)(TdxBarManager* Manager, std::string& Name, bool Rename) = nullptr;

void TdxBarManager::SelectItemControl(TdxBarItemControl* Control) {
  TdxBarItemControl* previous = SelectedItemControl();
  if (previous == Control) return;
  if (previous && IsCustomizingOrDesigning()) {
    TCustomdxBarControl* bar = previous->BarControl();
    if (bar && bar->BarControlKind() == 0 && (!Control || Control->BarControl() != bar))
      bar->SetSelectedControl(nullptr);
  }
  FSelectedItemControl = Control;
}

void TdxBarManager::BeginControlMouseTracking(TCustomdxBarControl* BarControl) {
  if (!BarControl || FMouseTrackedControl.get() == BarControl) return;
  if (TCustomdxBarControl* old = FMouseTrackedControl.get()) {
    FMouseTrackedControl = nullptr;
    StopMouseTracking(old);
    old->MouseLeave();
    old->MouseLeftBar();
  }
  FMouseTrackedControl = BarControl;
  TRect r;
  BarControl->MouseTrackingBounds(r);
  StartMouseTracking(nullptr, r, BarControl);
}

void TdxBarManager::EndControlMouseTracking(TCustomdxBarControl* BarControl) {
  if (!BarControl || FMouseTrackedControl.get() != BarControl) return;
  FMouseTrackedControl = nullptr;
  StopMouseTracking(BarControl);
}

bool TdxBarManager::IsMouseTrackedControl(const TCustomdxBarControl* BarControl) const {
  return BarControl && FMouseTrackedControl.get() == BarControl;
}

void TdxBarManager::PostHotTrackMouseMove(TCustomdxBarControl* BarControl) {
  TPoint p = GetMouseScreenPos();
  TCustomdxBarControl* under = BarControlOfWindow(WindowAtScreenPoint(p));
  if (!under || (BarControl && under != BarControl)) return;
  under->SetLastMousePosition(TPoint(-1, -1));
  TPoint c = under->ScreenToClient(p);
  PostMessage(under->WindowHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(c.X, c.Y));
}

void TdxBarManager::DragItemOrLink(TdxBarItem* Item, TdxBarItemLink* Link) {
  // The customizing drag loop comes with the customization forms; the drag state always ends.
  FDraggedItem = nullptr;
  FDraggedItemLink = nullptr;
}

bool TdxBarManager::IsAnotherManagerCustomizing() const {
  for (int i = 0; i < BarManagerCount(); ++i)
    if (TdxBarManager* m = BarManagerAt(i); m && m != this && m->IsCustomizing()) return true;
  return false;
}

HWND TdxBarManager::ModalLoopWindow() const {
  TWinControl* owner = ParentControl();
  return owner && owner->HandleAllocated() ? owner->WindowHandle() : nullptr;
}

TdxBar* TdxBarManager::BarByName(const std::string& Name) const {
  for (int i = 0; i < FBars->Count(); ++i)
    if (FBars->Items(i)->Name() == Name) return FBars->Items(i);
  return nullptr;
}

TdxBar* TdxBarManager::BarByCaption(const std::string& Caption) const {
  for (int i = 0; i < FBars->Count(); ++i)
    if (FBars->Items(i)->Caption() == Caption) return FBars->Items(i);
  return nullptr;
}

std::string TdxBarManager::UniqueBarCaption(const std::string& Prefix) const {
  for (int n = 1;; ++n)
    if (!BarByCaption(Prefix + std::to_string(n))) return Prefix + std::to_string(n);
}

void CloseActiveMenus() {
  if (TCustomdxBarControl* c = GetActiveBarControl()) c->CloseUp(dxbcrClick);
}

// ---- names and lookups

std::string TdxBarManager::UniqueBarName(const std::string& Prefix) const {
  // No form designer runs in this program, so its naming service is never asked.
  for (int n = 1;; ++n) {
    std::string name = Prefix + std::to_string(n);
    if (!BarByName(name)) return name;
  }
}

std::string TdxBarManager::UniqueItemName(const TClassInfo* ItemClass) const {
  std::string base = ItemClass && !ItemClass->Name.empty() ? ItemClass->Name.substr(1) : std::string();
  for (int n = 1;; ++n) {
    std::string name = base + std::to_string(n);
    if (!ItemByName(name)) return name;
  }
}

TdxBarManager* TdxBarManager::ParentManager() const {
  TWinControl* owner = ParentControl();
  if (!owner || !owner->HandleAllocated()) return nullptr;
  for (HWND w = GetParent(owner->WindowHandle()); w; w = GetParent(w))
    if (TWinControl* c = FindControl(w)) return FindBarManagerOf(c);
  return nullptr;
}

bool TdxBarManager::CanCreateItems() const {
  TComponent* owner = Owner();
  return !(owner && owner->ComponentState().Contains(csDesigning) && owner->ComponentState().Contains(csInline));
}

// ---- dock sites

void TdxBarManager::RemoveDockControl(TdxDockControl* DockControl) {
  if (!DockControl) return;
  std::vector<TdxBar*> bars;
  for (int i = 0; i < FBars->Count(); ++i) bars.push_back(FBars->Items(i));
  for (TdxBar* b : bars) {
    bool docked = (b->DockRow() && b->DockRow()->DockControl() == DockControl) ||
                  (b->Visible() && b->CurrentDockSite() == DockControl);
    if (docked) {
      b->SetVisible(false);
      b->RemoveFromDockRow();
    }
    if (b->DockControl() == DockControl) b->SetDockControl(nullptr);
  }
  UnregisterDockControl(DockControl);
  if (DockControl->IsImplicit()) FBars->ForgetDockControl(DockControl);
  DockControl->SetParentColor(true);
}

// ---- customizing

void TdxBarManager::SetCustomizing(bool Value) {
  if (Value == FIsCustomizing) return;
  int count = FBars->Count();
  for (int i = count - 1; i >= 0; --i) {
    if (i >= FBars->Count()) continue;
    TCustomdxBarControl* c = FBars->Items(i)->ItemLinks()->BarControl();
    if (!c) continue;
    TWeakLink<TCustomdxBarControl> bar(c);
    if (TCustomdxBarControl* a = GetActiveBarControl(); a && a != c && c->IsAncestorOf(a)) a->CloseUp(dxbcrClick);
    if (bar && FBars->Count() == count && c->IsActive()) c->Deactivate();
  }
  FIsCustomizing = Value;
  for (int i = 0; i < FBars->Count(); ++i) {
    TdxBarItemLinks* links = FBars->Items(i)->ItemLinks();
    links->RebuildLinkLists();
    if (TCustomdxBarControl* c = links->BarControl()) c->RebuildKeepingSelection(true);
  }
  for (TdxBarItem* item : std::vector<TdxBarItem*>(FItems))
    if (auto* sub = dynamic_cast<TCustomdxBarSubItem*>(item)) sub->ItemLinks()->RebuildLinkLists();
  for (TdxBarPopupMenu* menu : FPopupMenus) menu->ItemLinks()->RebuildLinkLists();
  // The customization form is shown or closed here once the customizing forms exist.
  for (int i = 0; i < FBars->Count(); ++i)
    if (TCustomdxBarControl* c = FBars->Items(i)->ItemLinks()->BarControl()) c->RecalculateBar();
}

TdxBar* TdxBarManager::AddNewToolbar(bool AsMainMenu, bool AskName) {
  std::string caption = UniqueBarCaption(LoadLocalizableResString(&dxSBAR_TOOLBARNEWNAME));
  if (AskName && dxBarNameDialog && !dxBarNameDialog(this, caption, false)) return nullptr;
  TdxBar* bar = nullptr;
  BeginBarsUpdate();
  FBars->LockUpdates();
  try {
    bar = FBars->Add();
    bar->SetCaption(caption);
    if (auto* owner = dynamic_cast<TControl*>(Owner())) {
      POINT corner{owner->Left(), owner->Top()};
      MONITORINFO info;
      GetMonitorInfo(MonitorFromPoint(corner, MONITOR_DEFAULTTONEAREST), &info);
      const RECT& work = info.rcWork;
      int left = owner->Left() - 50;
      if (left < work.left) left = owner->Left() + owner->Width() + 10;
      bar->SetFloatLeft(left);
      bar->SetFloatTop(owner->Top() < work.top ? work.top + 10 : owner->Top());
    }
    bar->SetDockingStyle(dsTop);
    if (AsMainMenu) {
      bar->SetRow(0);
      bar->SetIsMainMenu(true);
      bar->SetVisible(true);
    } else {
      TdxDockControl* top = FBars->DockControls(dsTop);
      bar->SetRow(top ? top->RowCount() : 0);
      bar->SetOneOnRow(true);
      bar->SetVisible(true);
      bar->SetOneOnRow(false);
    }
  } catch (...) {
    FBars->UnlockUpdates();
    EndBarsUpdate();
    throw;
  }
  FBars->UnlockUpdates();
  EndBarsUpdate();
  return bar;
}

void TdxBarManager::RenameToolbar(TdxBar* Bar) {
  if (!Bar || !dxBarNameDialog) return;
  std::string caption = Bar->Caption();
  if (dxBarNameDialog(this, caption, true)) Bar->SetCaption(caption);
}

void TdxBarManager::ResetToolbar(TdxBar* Bar) {
  if (Bar) Bar->ResetWithConfirmation();
}

void TdxBarManager::ConfirmResetUsageData() {
  if (Application->MessageBox(LoadLocalizableResString(&dxSBAR_WANTTORESETUSAGEDATA), Application->Title(),
                              MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) == IDYES)
    ResetUsageData();
}

TdxBarGroup* TdxBarManager::AddGroup() {
  auto* group = new TdxBarGroup(Owner());
  if (group->BarManager() != this) group->SetParentComponent(this);
  return group;
}

// ---- floating bar windows around modal dialogs

void TdxBarManager::DisableFloatingBarWindows() {
  FDisabledFloatingBarWindows = std::make_unique<std::vector<HWND>>();
  for (int i = 0; i < FBars->Count(); ++i) {
    TdxBar* bar = FBars->Items(i);
    TCustomdxBarControl* c = bar->ItemLinks()->BarControl();
    if (bar->Visible() && c && c->DockingStyle() == dsNone && c->WindowHandle())
      DisableWindowAndRecord(*FDisabledFloatingBarWindows, c->WindowHandle());
  }
}

void TdxBarManager::ReenableFloatingBarWindows() {
  if (!FDisabledFloatingBarWindows) return;
  EnableRecordedWindows(*FDisabledFloatingBarWindows);
  FDisabledFloatingBarWindows.reset();
}
