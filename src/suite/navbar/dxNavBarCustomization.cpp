#include "suite/navbar/dxNavBarCustomization.h"

#include <algorithm>

#include "suite/core/cxDialogMetrics.h"
#include "suite/navbar/dxNavBar.h"

// ---- form class registry

namespace {
std::unique_ptr<TdxNavBarCustomizeFormManager> gManager;
}

void TdxNavBarCustomizeFormManager::RegisterFormClass(const TdxNavBarCustomizationFormClass* AFormClass) {
  FClasses.push_back(AFormClass);
}

void TdxNavBarCustomizeFormManager::UnregisterFormClass(const TdxNavBarCustomizationFormClass* AFormClass) {
  FClasses.erase(std::remove(FClasses.begin(), FClasses.end(), AFormClass), FClasses.end());
}

const TdxNavBarCustomizationFormClass* TdxNavBarCustomizeFormManager::GetFormClass() const {
  return FClasses.empty() ? nullptr : FClasses.back();
}

TdxNavBarCustomizeFormManager* dxNavBarCustomizeFormManager() {
  if (!gManager) gManager = std::make_unique<TdxNavBarCustomizeFormManager>();
  return gManager.get();
}

void dxNavBarRegisterCustomizationFormClass(const TdxNavBarCustomizationFormClass* AFormClass) {
  dxNavBarCustomizeFormManager()->RegisterFormClass(AFormClass);
}

void dxNavBarUnregisterCustomizationFormClass(const TdxNavBarCustomizationFormClass* AFormClass) {
  dxNavBarCustomizeFormManager()->UnregisterFormClass(AFormClass);
}

// ---- form base

TdxNavBarCustomCustomizationForm::TdxNavBarCustomCustomizationForm(TComponent* AOwner) : TForm(AOwner) {}

TdxNavBarCustomCustomizationForm::~TdxNavBarCustomCustomizationForm() {
  if (FNavBar && FNavBar->Customization() && FNavBar->Customization()->FForm == this)
    FNavBar->Customization()->FForm = nullptr;
  SetNavBar(nullptr);
  SharedDialogsMetricsStore()->CaptureFromForm(this);
}

void TdxNavBarCustomCustomizationForm::EndUpdate() {
  if (FLockCount > 0) --FLockCount;
  Refresh();
}

void TdxNavBarCustomCustomizationForm::Refresh() {
  if (FLockCount == 0) RefreshLists();
}

void TdxNavBarCustomCustomizationForm::SetNavBar(TdxCustomNavBar* Value) {
  if (FNavBar == Value) return;
  FNavBar = Value;
  if (!FNavBar) return;
  TdxNavBarCustomization* c = FNavBar->Customization();
  TRect r = c->FormBounds().IsEmpty() ? c->CalcFormBounds() : c->FormBounds();
  SetBounds(r.Left, r.Top, r.Right - r.Left, r.Bottom - r.Top);
  SharedDialogsMetricsStore()->SetDefaultPosition(poDesigned);
  SharedDialogsMetricsStore()->ApplyToForm(this);
  InitializeForm();
}

void TdxNavBarCustomCustomizationForm::InitializeForm() {
  SetBorderStyle(Parent() ? bsNone : bsSizeToolWin);
  SetBorderIcons(TBorderIcons{biSystemMenu});
  if (FNavBar) Font()->Assign(FNavBar->Font());
  SetColor(clBtnFace);
}

void TdxNavBarCustomCustomizationForm::AddItemToGroup(TdxNavBarItem* AItem, TdxNavBarGroup* AGroup, int AIndex) {
  TdxNavBarItemLink* link = AGroup->CreateLink(AItem);
  link->SetIndex(std::clamp(AIndex, 0, AGroup->LinkCount() - 1));
}

void TdxNavBarCustomCustomizationForm::MoveLink(TdxNavBarItemLink* ALink, TdxNavBarGroup* AGroup, int AIndex) {
  if (ALink->Group() == AGroup) {
    ALink->SetIndex(std::clamp(AIndex, 0, AGroup->LinkCount() - 1));
    return;
  }
  TdxNavBarGroup* source = ALink->Group();
  AddItemToGroup(ALink->Item(), AGroup, AIndex);
  if (source) source->RemoveLink(ALink->Index());
}

void TdxNavBarCustomCustomizationForm::RemoveLink(TdxNavBarItemLink* ALink) {
  if (TdxNavBarGroup* g = ALink->Group()) g->RemoveLink(ALink->Index());
}

// ---- holder

TdxNavBarCustomization::TdxNavBarCustomization(TdxCustomNavBar* ANavBar) : TdxNavBarPersistent(ANavBar) {}

TdxNavBarCustomization::~TdxNavBarCustomization() { SetVisible(false); }

void TdxNavBarCustomization::SetVisible(bool Value) {
  if (Value) {
    ShowForm();
  } else if (FForm) {
    TdxNavBarCustomCustomizationForm* form = FForm;
    FForm = nullptr;
    delete form;
  }
}

void TdxNavBarCustomization::Refresh() {
  if (FForm) FForm->Refresh();
}

TRect TdxNavBarCustomization::CalcFormBounds() {
  int w = FForm ? FForm->Width() : 100;
  int h = FForm ? FForm->Height() : 150;
  TRect client = NavBar()->ClientRect();
  TPoint br = NavBar()->ClientToScreen(TPoint(client.Right, client.Bottom));
  return TRect(br.X - w, br.Y - h, br.X, br.Y);
}

const TdxNavBarCustomizationFormClass* TdxNavBarCustomization::GetFormClass() {
  return dxNavBarCustomizeFormManager()->GetFormClass();
}

void TdxNavBarCustomization::ShowForm() {
  if (!FForm) {
    const TdxNavBarCustomizationFormClass* cls = GetFormClass();
    if (!cls || !*cls) return;
    FForm = (*cls)();
    FForm->SetNavBar(NavBar());
    FForm->CreateControls();
    FForm->RefreshCaptions();
  }
  Refresh();
  FForm->Show();
}

void TdxNavBarCustomization::DragDrop(TObject* Source, int X, int Y) {
  if (FForm && FForm->CanDrop(Source, X, Y)) FForm->Drop(Source, X, Y);
}
