// The window side of bars: the toolbar window a visible bar owns, where it lies (a dock row of a
// site, or floating), the appearance properties that refresh it, and the four implicit dock
// sites of a manager's form.
#include <algorithm>

#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "suite/bars/dxBar.h"

// ---- bar properties that reach the window

void TdxBar::SetBorderStyle(TdxBarBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  if (TdxBarControl* c = BarControl()) c->ApplyAppearanceChange();
}

void TdxBar::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  if (TdxBarControl* c = BarControl()) c->ApplyAppearanceChange();
}

void TdxBar::SetShowMark(bool Value) {
  if (FShowMark == Value) return;
  FShowMark = Value;
  if (TdxBarControl* c = BarControl()) c->RecalculateBar();
  NotifyCollection();
}

void TdxBar::SetSizeGrip(bool Value) {
  if (FSizeGrip == Value) return;
  FSizeGrip = Value;
  if (TdxBarControl* c = BarControl()) c->ApplyAppearanceChange();
  NotifyCollection();
}

void TdxBar::SetRotateWhenVertical(bool Value) {
  if (FRotateWhenVertical == Value) return;
  FRotateWhenVertical = Value;
  if (TdxBarControl* c = BarControl(); c && c->IsVerticalBar()) {
    c->UpdateFont();
    c->RecalculateBar();
  }
  NotifyCollection();
}

void TdxBar::SetUseRestSpace(bool Value) {
  if (FUseRestSpace == Value) return;
  FUseRestSpace = Value;
  if (TdxBarControl* c = BarControl()) c->RecalculateBar();
  NotifyCollection();
}

void TdxBar::SetAlphaBlendValue(uint8_t Value) {
  if (FAlphaBlendValue == Value) return;
  FAlphaBlendValue = Value;
  if (TdxBarControl* c = BarControl(); c && c->DockingStyle() == dsNone) c->ApplyTransparency();
}

void TdxBar::SetDockControl(TdxDockControl* Value) {
  if (Value && Value->IsImplicit()) Value = nullptr;
  if (ComponentState().Contains(csLoading)) {
    FLoadedDockControl = Value;
    return;
  }
  TdxBarManager* m = BarManager();
  if (Value && m && Value->BarManager() != m) return;
  if (FDockControl == Value) return;
  const TdxBarDockingStyle remembered = DockingStyle();
  const bool show = BarControl() && !FChangingDockingStyle;
  if (show) SetVisible(false);
  FDockControl = Value;
  FItemLinks->SetRecentItemCount(-1);
  if (!FChangingDockingStyle) {
    FChangingDockingStyle = true;
    FDockingStyle = Value ? Value->DockingStyle() : remembered;
    FChangingDockingStyle = false;
  }
  if (show) SetVisible(true);
  NotifyCollection();
}

TdxBarDockingStyle TdxBar::DockingStyle() const { return FDockControl ? FDockControl->DockingStyle() : FDockingStyle; }

TdxBarControl* TdxBar::BarControl() const { return dynamic_cast<TdxBarControl*>(FItemLinks->BarControl()); }

TdxDockControl* TdxBar::CurrentDockSite() const {
  if (FDockControl) return FDockControl;
  TdxBarManager* m = BarManager();
  return m && DockingStyle() != dsNone ? m->Bars()->DockControls(DockingStyle()) : nullptr;
}

TdxBarPainter* TdxBar::Painter() const {
  if (TdxDockControl* site = DockingStyle() != dsNone ? CurrentDockSite() : nullptr)
    if (TdxBarPainter* p = site->Painter()) return p;
  TdxBarManager* m = BarManager();
  return m ? m->Painter() : nullptr;
}

int TdxBar::HorzBorderSize(TdxBarDockingStyle Style) const {
  TdxBarPainter* p = Painter();
  if (!p) return 0;
  const TRect r = p->BarBorderSizes(const_cast<TdxBar*>(this), Style, ShowsSizeGrip());
  return r.Left + r.Right;
}

int TdxBar::VertBorderSize(TdxBarDockingStyle Style) const {
  TdxBarPainter* p = Painter();
  if (!p) return 0;
  const TRect r = p->BarBorderSizes(const_cast<TdxBar*>(this), Style, ShowsSizeGrip());
  return r.Top + r.Bottom;
}

bool TdxBar::CanBeClosed() const { return FAllowClose && !FIsMainMenu; }

bool TdxBar::IsDockable() const {
  const TdxBarDockingStyles all{dsNone, dsLeft, dsTop, dsRight, dsBottom};
  TdxBarManager* m = BarManager();
  return !(FNotDocking == all || (m && m->NotDocking() == all));
}

bool TdxBar::IsBottomWholeRowBar() const {
  return FBorderStyle == bbsNone && DockingStyle() == dsBottom && FWholeRow;
}

bool TdxBar::ShowsSizeGrip() const {
  if (!IsBottomWholeRowBar() || !FSizeGrip) return false;
  TdxBarManager* m = BarManager();
  TWinControl* owner = m ? m->ParentControl() : nullptr;
  if (owner && owner->HandleAllocated() && IsZoomed(GetAncestor(owner->WindowHandle(), GA_ROOT))) return false;
  TdxBarControl* c = BarControl();
  if (!c || !c->HandleAllocated()) return true;
  // The bar's bottom edge lies on the bottom of every window around it, up to its form.
  RECT r{};
  GetWindowRect(c->WindowHandle(), &r);
  for (TWinControl* p = c->Parent(); p; p = p->Parent()) {
    if (!p->HandleAllocated()) break;
    const TPoint o = p->ClientOrigin();
    if (o.Y + p->ClientHeight() != r.bottom) return false;
    if (dynamic_cast<TCustomForm*>(p)) break;
  }
  return true;
}

// ---- caption buttons

TdxBarCaptionButtons* TdxBar::CaptionButtons() {
  if (!FCaptionButtons) {
    FCaptionButtons = std::make_unique<TdxBarCaptionButtons>(this);
    // A button added, changed or pressed: the floating frame shows it again.
    FCaptionButtons->OnChanged = [this](TdxBarCaptionButton*) {
      if (TdxBarControl* c = BarControl(); c && c->HandleAllocated() && c->DockingStyle() == dsNone) {
        c->LayoutCaptionButtons();
        RedrawWindow(c->WindowHandle(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
      }
    };
  }
  return FCaptionButtons.get();
}

bool TdxBar::HasCaptionButtons() const { return FCaptionButtons && FCaptionButtons->Count() > 0; }

// ---- the window

TCustomdxBarControl* TdxBar::CreateLinksBarControl() {
  TdxBarManager* m = BarManager();
  auto* c = new TdxBarControl(m);
  c->SetBar(this);
  c->ApplyBarFont();
  return c;
}

void TdxBar::ApplyPlacement() {
  TdxBarControl* c = BarControl();
  TdxBarManager* m = BarManager();
  if (!c || !m) return;
  if (DockingStyle() != dsNone) {
    TdxDockControl* site = CurrentDockSite();
    if (!site) return;
    FEverDocked = true;
    c->LockLayout();
    try {
      c->MoveToDockSite(DockingStyle(), site);
      const TPoint p = site->ClientToScreen(TPoint(FDockedLeft, FDockedTop));
      m->Bars()->InsertIntoDockSite(DockingStyle(), FDockControl, p, c);
    } catch (...) {
      c->UnlockLayout();
      throw;
    }
    c->UnlockLayout();
    c->SetVisible(true);
    if (c->HandleAllocated()) ShowWindow(c->WindowHandle(), SW_SHOWNA);
    site->RelayoutAndResize();
  } else {
    c->LockLayout();
    try {
      c->MoveToDockSite(dsNone, nullptr);
    } catch (...) {
      c->UnlockLayout();
      throw;
    }
    TSize s{0, 0};
    c->CalcSizeForDockingStyle(dsNone, s);
    c->SetBounds(FFloatLeft, FFloatTop, s.cx, s.cy);
    c->UnlockLayout();
    c->CalculateViewInfo();
    TWinControl* owner = m->ParentControl();
    bool showing = owner && owner->Showing();
    if (owner && owner->HandleAllocated())
      for (HWND w = owner->WindowHandle(); w; w = (GetWindowLong(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
        if (IsIconic(w)) showing = false;
    TCustomForm* form = m->NearestParentForm();
    if (showing && (!m->HideFloatingBarsWhenInactive || m->IsCustomizing() || (form && form->Active()))) {
      c->SetVisible(true);
      ShowWindow(c->Handle(), SW_SHOWNA);
    }
  }
}

void TdxBar::SetDockPlacement(TdxBarDockingStyle Style, TdxDockControl* Site) {
  if (Site && Site->IsImplicit()) Site = nullptr;
  if (Style == DockingStyle() || (Site && Site != FDockControl))
    SetDockControl(Site);
  else
    SetDockingStyle(Style);
}

int TdxBar::Row() const {
  if (FDockRow)
    if (int i = FDockRow->DockControl()->IndexOfRow(FDockRow); i >= 0) return i;
  return FRow;
}

void TdxBar::SetRow(int Value) {
  Value = std::max(Value, 0);
  if (Value == Row() && FDockRow) return;
  FRow = Value;
  TdxDockControl* site = DockingStyle() != dsNone ? CurrentDockSite() : nullptr;
  TdxBarManager* m = BarManager();
  if (!site || !m || ComponentState().Contains(csLoading)) return;
  TdxDockRow* row;
  if (Value >= site->RowCount()) {
    if (m->IsBarsUpdating() || m->IsRedockingLoadedBars()) {
      while (site->RowCount() <= Value) site->InsertRow(site->RowCount());
      row = site->Rows(Value);
    } else {
      row = site->InsertRow(site->RowCount());
    }
  } else {
    row = site->Rows(Value);
  }
  if (row != FDockRow && !m->IsDestroying()) {
    RemoveFromDockRow();
    row->AddBar(this);
  }
  NotifyCollection();
  site->RelayoutAndResize();
}

void TdxBar::RemoveFromDockRow() {
  if (TdxDockRow* row = FDockRow) row->RemoveBar(this, true);
  FDockRow = nullptr;
}

// ---- the collection's dock sites

TdxDockControl* TdxBars::DockControls(TdxBarDockingStyle Style) const {
  return Style == dsNone ? nullptr : FDockControls[Style];
}

void TdxBars::CreateDockControls() {
  TWinControl* owner = FManager->ParentControl();
  if (!owner) return;
  for (TdxBarDockingStyle s : {dsLeft, dsTop, dsRight, dsBottom}) {
    if (FDockControls[s]) continue;
    auto* site = new TdxDockControl(nullptr, s, FManager);
    site->SetBounds(0, 0, 0, 0);
    site->SetParent(owner);
    FDockControls[s] = site;
  }
}

void TdxBars::FreeDockControls() {
  for (TdxDockControl*& site : FDockControls) {
    TdxDockControl* s = site;
    site = nullptr;
    delete s;
  }
}

void TdxBars::ForgetDockControl(TdxDockControl* Site) {
  for (TdxDockControl*& s : FDockControls)
    if (s == Site) s = nullptr;
}

void TdxBars::InsertIntoDockSite(TdxBarDockingStyle Style, TdxDockControl* Site, const TPoint& ScreenPoint,
                                 TCustomdxBarControl* BarControl) {
  if (!Site) Site = DockControls(Style);
  if (!Site || Style == dsNone) return;
  auto* c = dynamic_cast<TdxBarControl*>(BarControl);
  TdxBar* bar = c ? c->Bar() : nullptr;
  if (c && c->IsLayoutLockedInternal() && bar)
    Site->InsertBarControl(BarControl, bar, ScreenPoint, true, Site->UsesStoredRows() ? bar->Row() : 0,
                           bar->OneOnRow());
  else
    Site->InsertBarControl(BarControl, bar, ScreenPoint, true);
}

void TdxBars::UndockBarControl(TdxBarDockingStyle Style, TdxDockControl* Site, TCustomdxBarControl* BarControl) {
  if (!Site) Site = DockControls(Style);
  if (!Site || Style == dsNone) return;
  Site->RemoveBarControl(BarControl, nullptr, true);
}
