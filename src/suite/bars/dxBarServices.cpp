// What the bar windows ask of their manager: the selected item control, mouse-leave tracking of
// one bar at a time, hot tracking after a layout change, bar lookups and the modal-loop window.
#include "platform/gui/Forms.h"
#include "suite/bars/dxBar.h"

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
