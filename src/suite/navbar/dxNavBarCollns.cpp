#include "suite/navbar/dxNavBarCollns.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "suite/navbar/dxNavBar.h"
#include "suite/navbar/dxNavBarConsts.h"

// ---- custom item

TdxCustomNavBar* TdxNavBarCustomItem::NavBar() const {
  return Collection() ? dynamic_cast<TdxCustomNavBar*>(Collection()->ParentComponent()) : nullptr;
}

void TdxNavBarCustomItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxNavBarCustomItem*>(Source);
  if (!src) {
    TdxNavBarComponentCollectionItem::Assign(Source);
    return;
  }
  SetLargeImageIndex(src->LargeImageIndex());
  SetSmallImageIndex(src->SmallImageIndex());
  SetVisible(src->Visible());
}

void TdxNavBarCustomItem::SetName(const std::string& NewName) {
  std::string old = Name();
  bool follow = !IsLoading() && FCaption == old;
  TdxNavBarComponentCollectionItem::SetName(NewName);
  if (follow) SetCaption(NewName);
}

void TdxNavBarCustomItem::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = Value;
  NotifyCollection(false);
}

void TdxNavBarCustomItem::SetLargeImageIndex(int32_t Value) {
  if (FLargeImageIndex == Value) return;
  FLargeImageIndex = Value;
  NotifyCollection(false);
}

void TdxNavBarCustomItem::SetSmallImageIndex(int32_t Value) {
  if (FSmallImageIndex == Value) return;
  FSmallImageIndex = Value;
  NotifyCollection(false);
}

void TdxNavBarCustomItem::SetVisible(bool Value) {
  if (FVisible != Value) ApplyVisible(Value);
}

void TdxNavBarCustomItem::ApplyVisible(bool Value) {
  FVisible = Value;
  NotifyCollection(true);
}

// ---- links

TdxNavBarItemLink::TdxNavBarItemLink(TCollection* Collection) : TCollectionItem(Collection) {
  if (TdxNavBarGroup* g = Group()) g->LinksChanged(this);
}

TdxNavBarItemLink::~TdxNavBarItemLink() {
  dxNavBarReleaseAccessibilityHelper(FAccessibility);
  SetSelected(false);
  FItem = nullptr;
  TdxNavBarGroup* g = Group();
  if (g && !g->IsDestroying()) g->LinksChanged(this);
}

void TdxNavBarItemLink::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxNavBarItemLink*>(Source)) {
    FLinkData = src->LinkData();
    SetItem(src->Item());
  } else {
    TCollectionItem::Assign(Source);
  }
}

void TdxNavBarItemLink::SetItem(TdxNavBarItem* Value) {
  if (FItem == Value) return;
  FItem = Value;
  Changed(false);
}

TdxNavBarGroup* TdxNavBarItemLink::Group() const {
  auto* links = dynamic_cast<TdxNavBarItemLinks*>(Collection());
  return links ? links->Group() : nullptr;
}

bool TdxNavBarItemLink::IsSelected() const {
  TdxNavBarGroup* g = Group();
  return g && g->FSelectedLink == this;
}

void TdxNavBarItemLink::SetSelected(bool Value) {
  TdxNavBarGroup* g = Group();
  if (Value == IsSelected() || !g || g->IsDestroying()) return;
  g->SetSelectedLinkIndex(Value ? Index() : -1);
}

bool TdxNavBarItemLink::IsEnabled() const { return FItem && FItem->IsEnabled(); }

void TdxNavBarItemLink::UpdateAction() {
  if (FItem && FItem->ActionLink()) FItem->ActionLink()->Update();
}

TdxNavBarItemLinks::TdxNavBarItemLinks(TdxNavBarGroup* AGroup)
    : TCollection(TCollection::ItemClassOf<TdxNavBarItemLink>()), FGroup(AGroup) {}

void TdxNavBarItemLinks::Update(TCollectionItem* Item) {
  if (FGroup && !FGroup->IsDestroying()) FGroup->NotifyCollection(Item == nullptr);
}

TPersistent* TdxNavBarItemLinks::GetOwner() const { return FGroup; }

// ---- group options

TdxNavBarGroupExpansionOptions::TdxNavBarGroupExpansionOptions(TdxNavBarGroup* AGroup)
    : TcxOwnedPersistent(AGroup), FGroup(AGroup) {}

void TdxNavBarGroupExpansionOptions::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxNavBarGroupExpansionOptions*>(Source);
  if (!src) {
    TcxOwnedPersistent::Assign(Source);
    return;
  }
  FExpandable = src->Expandable();
  SetExpanded(src->Expanded());
  SetShowExpandButton(src->ShowExpandButton());
}

void TdxNavBarGroupExpansionOptions::SetExpanded(bool Value) {
  if (FExpanded == Value) return;
  FExpanded = Value;
  if (Value)
    if (auto* groups = dynamic_cast<TdxNavBarGroups*>(FGroup->Collection())) groups->SetLastExpandedGroup(FGroup);
  FGroup->NotifyCollection(true);
  if (FExpanded)
    FGroup->DoExpanded();
  else
    FGroup->DoCollapsed();
}

void TdxNavBarGroupExpansionOptions::SetShowExpandButton(bool Value) {
  if (FShowExpandButton == Value) return;
  FShowExpandButton = Value;
  FGroup->NotifyCollection(false);
}

TdxNavBarGroupControlOptions::TdxNavBarGroupControlOptions(TdxNavBarGroup* AGroup)
    : TcxOwnedPersistent(AGroup), FGroup(AGroup) {}

void TdxNavBarGroupControlOptions::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxNavBarGroupControlOptions*>(Source);
  if (!src) {
    TcxOwnedPersistent::Assign(Source);
    return;
  }
  SetAllowControlResizing(src->AllowControlResizing());
  SetUseControl(src->UseControl());
  SetShowControl(src->ShowControl());
}

void TdxNavBarGroupControlOptions::SetAllowControlResizing(bool Value) {
  if (FAllowControlResizing == Value) return;
  FAllowControlResizing = Value;
  FGroup->NotifyCollection(true);
}

void TdxNavBarGroupControlOptions::SetUseControl(bool Value) {
  if (FUseControl == Value) return;
  FUseControl = Value;
  if (!FGroup->IsLoading()) {
    if (Value) {
      SetShowControl(true);
      FGroup->CreateControl();
    } else {
      SetShowControl(false);
      FGroup->DestroyControl();
    }
  }
  FGroup->NotifyCollection(true);
}

void TdxNavBarGroupControlOptions::SetShowControl(bool Value) {
  if (FShowControl == Value) return;
  FShowControl = Value;
  if (Value && !FUseControl && !FGroup->IsLoading()) {
    FUseControl = true;
    FGroup->CreateControl();
  }
  if (FGroup->Control()) FGroup->Control()->SetVisible(FShowControl && FGroup->Visible());
  FGroup->NotifyCollection(true);
}

// ---- group

TdxNavBarGroup::TdxNavBarGroup(TComponent* AOwner)
    : TdxNavBarCustomItem(AOwner),
      FOptionsExpansion(std::make_unique<TdxNavBarGroupExpansionOptions>(this)),
      FOptionsGroupControl(std::make_unique<TdxNavBarGroupControlOptions>(this)),
      FCustomStyles(std::make_unique<TdxNavBarGroupCustomStyles>(this)),
      FLinks(std::make_unique<TdxNavBarItemLinks>(this)) {
  FCustomStyles->OnChange = [this](TObject*, int) { NotifyCollection(true); };
}

TdxNavBarGroup::~TdxNavBarGroup() {
  Destroying();
  TdxCustomNavBar* bar = NavBar();
  for (TcxAccessibilityHelper*& helper : FAccessibility) dxNavBarReleaseAccessibilityHelper(helper);
  FCustomStyles.reset();
  DestroyControl();
  FOptionsGroupControl.reset();
  FOptionsExpansion.reset();
  FSelectedLink = nullptr;
  FLinks.reset();
  SetCollection(nullptr);
  // A bar whose groups have no common owner with it hears of the removal only here.
  if (bar && !bar->IsDestroying()) bar->GroupRemoved(this);
}

TcxComponentCollection* TdxNavBarGroup::CollectionFromParent(TComponent* AParent) {
  auto* bar = dynamic_cast<TdxCustomNavBar*>(AParent);
  return bar ? bar->Groups() : nullptr;
}

void TdxNavBarGroup::Notification(TComponent* AComponent, TOperation Operation) {
  TdxNavBarCustomItem::Notification(AComponent, Operation);
  if (Operation != opRemove || IsDestroying()) return;
  if (auto* item = dynamic_cast<TdxNavBarItem*>(AComponent)) RemoveLinks(item);
  if (AComponent == FControl) {
    FControl = nullptr;
    SetUseControl(false);
  }
}

void TdxNavBarGroup::Loaded() {
  TdxNavBarCustomItem::Loaded();
  if (!FControl) {
    FOptionsGroupControl->FUseControl = false;
    FOptionsGroupControl->FShowControl = false;
  }
  FTopVisibleLinkIndex = std::max(std::min(FTopVisibleLinkIndex, LinkCount() - 1), 0);
  SetSelectedLinkIndex(FLoadedSelectedLinkIndex);
}

void TdxNavBarGroup::InitiateAction() {
  for (int i = 0; i < LinkCount(); ++i) LinkAt(i)->UpdateAction();
}

void TdxNavBarGroup::ApplyVisible(bool Value) {
  TdxCustomNavBar* bar = NavBar();
  TdxNavBarGroup* active = (!IsLoading() && bar) ? bar->ActiveGroup() : nullptr;
  FVisible = Value;
  if (FControl) FControl->SetVisible(Value && ShowControl());
  NotifyCollection(true);
  if (IsLoading() || !bar) return;
  if (Value && !active)
    bar->SetActiveGroup(this);
  else if (!Value && active == this)
    bar->SetActiveGroup(nullptr);
}

void TdxNavBarGroup::SetAlign(TcxTopBottom Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  NotifyCollection(true);
}

void TdxNavBarGroup::SetLinksUseSmallImages(bool Value) {
  if (FLinksUseSmallImages == Value) return;
  FLinksUseSmallImages = Value;
  NotifyCollection(false);
}

void TdxNavBarGroup::SetShowAsIconView(bool Value) {
  if (FShowAsIconView == Value) return;
  FShowAsIconView = Value;
  NotifyCollection(false);
}

void TdxNavBarGroup::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  NotifyCollection(false);
}

void TdxNavBarGroup::SetUseSmallImages(bool Value) {
  if (FUseSmallImages == Value) return;
  FUseSmallImages = Value;
  NotifyCollection(false);
}

void TdxNavBarGroup::SetUseRestSpace(bool Value) {
  if (FUseRestSpace == Value) return;
  FUseRestSpace = Value;
  if (Expanded()) NotifyCollection(true);
}

void TdxNavBarGroup::SetTopVisibleLinkIndex(int32_t Value) {
  if (IsLoading()) {
    FTopVisibleLinkIndex = Value;
    return;
  }
  Value = std::max(std::min(Value, LinkCount() - 1), 0);
  if (FTopVisibleLinkIndex == Value) return;
  FTopVisibleLinkIndex = Value;
  NotifyCollection(false);
  DoTopVisibleLinkChanged();
}

int32_t TdxNavBarGroup::SelectedLinkIndex() const {
  if (IsLoading()) return FLoadedSelectedLinkIndex;
  return FSelectedLink ? FSelectedLink->Index() : -1;
}

void TdxNavBarGroup::SetSelectedLinkIndex(int32_t Value) {
  if (IsLoading()) {
    FLoadedSelectedLinkIndex = Value;
    return;
  }
  TdxCustomNavBar* bar = NavBar();
  if (Value < -1 || (bar && !bar->OptionsBehavior()->Common()->AllowSelectLinks()))
    Value = -1;
  else if (Value > LinkCount() - 1)
    Value = LinkCount() - 1;
  int32_t current = SelectedLinkIndex();
  if (Value == current) return;
  if (bar && !bar->OptionsBehavior()->Common()->EachGroupHasSelectedLink() && current == -1 && Value != -1)
    bar->DeselectAllLinks();
  FSelectedLink = Value == -1 ? nullptr : LinkAt(Value);
  NotifyCollection(false);
  DoSelectedLinkChanged();
}

TdxNavBarItemLink* TdxNavBarGroup::CreateLink(TdxNavBarItem* Item) {
  if (Item && Item->NavBar() != NavBar())
    throw EdxException(Format(LoadLocalizableResString(&sdxInvalidLink), {Item->Name(), Name()}));
  FLinks->BeginUpdate();
  TdxNavBarItemLink* link = nullptr;
  try {
    link = static_cast<TdxNavBarItemLink*>(FLinks->Add());
    link->SetItem(Item);
  } catch (...) {
    FLinks->EndUpdate();
    throw;
  }
  FLinks->EndUpdate();
  return link;
}

void TdxNavBarGroup::RemoveLink(int Index) { FLinks->Delete(Index); }

void TdxNavBarGroup::RemoveLinks(TdxNavBarItem* Item) {
  for (int i = LinkCount() - 1; i >= 0; --i)
    if (i < LinkCount() && LinkAt(i)->Item() == Item) RemoveLink(i);
}

void TdxNavBarGroup::LinksChanged(TdxNavBarItemLink* Link) {
  if (auto* groups = dynamic_cast<TdxNavBarGroups*>(Collection())) groups->DoLinkListChanged(Link);
  SetTopVisibleLinkIndex(FTopVisibleLinkIndex);
}

void TdxNavBarGroup::CreateControl() {
  if (IsLoading() || FControl || !Collection()) return;
  auto* control = new TdxNavBarGroupControl(Owner());
  control->FGroup = this;
  FControl = control;
  control->FreeNotification(this);
  if (!Name().empty()) control->SetName(Name() + "Control");
  control->SetParent(NavBar());
}

void TdxNavBarGroup::DestroyControl() {
  TdxNavBarGroupControl* control = FControl;
  FControl = nullptr;
  if (control && !control->ComponentState().Contains(csDestroying)) delete control;
}

void TdxNavBarGroup::AttachControl(TdxNavBarGroupControl* AControl) {
  if (!Collection() || !AControl || AControl->Parent() != NavBar()) return;
  FControl = AControl;
  AControl->FGroup = this;
  AControl->FreeNotification(this);
}

void TdxNavBarGroup::DetachControl() {
  if (FControl) FControl->FGroup = nullptr;
  FControl = nullptr;
}

// ---- item action link

TdxNavBarItemActionLink::TdxNavBarItemActionLink(TdxNavBarItem* AItem) : TActionLink(AItem) {}

TdxNavBarItem* TdxNavBarItemActionLink::Item() const { return static_cast<TdxNavBarItem*>(FClient); }

bool TdxNavBarItemActionLink::IsCaptionLinked() const {
  return TActionLink::IsCaptionLinked() && Item()->Caption() == CustomAction()->Caption();
}

bool TdxNavBarItemActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && Item()->Enabled() == CustomAction()->Enabled();
}

bool TdxNavBarItemActionLink::IsHintLinked() const {
  return TActionLink::IsHintLinked() && Item()->Hint() == CustomAction()->Hint();
}

bool TdxNavBarItemActionLink::IsImageIndexLinked() const {
  return TActionLink::IsImageIndexLinked() && Item()->LargeImageIndex() == CustomAction()->ImageIndex() &&
         Item()->SmallImageIndex() == CustomAction()->ImageIndex();
}

bool TdxNavBarItemActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && Item()->Visible() == CustomAction()->Visible();
}

void TdxNavBarItemActionLink::SetCaption(const std::string& Value) {
  if (IsCaptionLinked()) Item()->SetCaption(Value);
}

void TdxNavBarItemActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) Item()->SetEnabled(Value);
}

void TdxNavBarItemActionLink::SetHint(const std::string& Value) {
  if (IsHintLinked()) Item()->SetHint(Value);
}

void TdxNavBarItemActionLink::SetImageIndex(int Value) {
  if (!IsImageIndexLinked()) return;
  Item()->SetLargeImageIndex(Value);
  Item()->SetSmallImageIndex(Value);
}

void TdxNavBarItemActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) Item()->SetVisible(Value);
}

// ---- item

TdxNavBarItem::TdxNavBarItem(TComponent* AOwner)
    : TdxNavBarCustomItem(AOwner), FCustomStyles(std::make_unique<TdxNavBarItemCustomStyles>(this)) {
  FCustomStyles->OnChange = [this](TObject*, int) { NotifyCollection(false); };
}

TdxNavBarItem::~TdxNavBarItem() {
  Destroying();
  FActionLink.reset();
  // Every group drops its links now, whether or not it shares an owner with the item.
  if (TdxCustomNavBar* bar = NavBar())
    for (int i = 0; i < bar->Groups()->Count(); ++i) bar->Groups()->Items(i)->RemoveLinks(this);
  FCustomStyles.reset();
}

TcxComponentCollection* TdxNavBarItem::CollectionFromParent(TComponent* AParent) {
  auto* bar = dynamic_cast<TdxCustomNavBar*>(AParent);
  return bar ? bar->Items() : nullptr;
}

void TdxNavBarItem::Notification(TComponent* AComponent, TOperation Operation) {
  TdxNavBarCustomItem::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent && AComponent == Action()) SetAction(nullptr);
}

void TdxNavBarItem::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxNavBarItem*>(Source);
  if (!src) {
    TdxNavBarCustomItem::Assign(Source);
    return;
  }
  SetAction(src->Action());
  TdxNavBarCustomItem::Assign(Source);
  SetCaption(src->Caption());
  SetEnabled(src->Enabled());
  SetHint(src->Hint());
  FCustomStyles->Assign(src->CustomStyles());
  OnClick = src->OnClick;
}

void TdxNavBarItem::Loaded() {
  TdxNavBarCustomItem::Loaded();
  if (Action()) ActionChange(Action(), true);
}

void TdxNavBarItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  NotifyCollection(false);
}

void TdxNavBarItem::SetAction(TBasicAction* Value) {
  if (!Value) {
    FActionLink.reset();
    return;
  }
  if (!FActionLink) FActionLink = std::make_unique<TdxNavBarItemActionLink>(this);
  FActionLink->SetAction(Value);
  FActionLink->OnChange = TNotifyEvent::Bind(this, &TdxNavBarItem::DoActionChange);
  ActionChange(Value, Value->ComponentState().Contains(csLoading));
  Value->FreeNotification(this);
}

void TdxNavBarItem::DoActionChange(TObject* Sender) {
  if (Sender == Action()) ActionChange(Sender, false);
}

void TdxNavBarItem::ActionChange(TObject* Sender, bool CheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(Sender);
  if (!a) return;
  if (!CheckDefaults || Caption().empty()) SetCaption(a->Caption());
  if (!CheckDefaults || Enabled()) SetEnabled(a->Enabled());
  if (!CheckDefaults || Hint().empty()) SetHint(a->Hint());
  if (!CheckDefaults || (LargeImageIndex() == -1 && SmallImageIndex() == -1)) {
    SetLargeImageIndex(a->ImageIndex());
    SetSmallImageIndex(a->ImageIndex());
  }
  if (!CheckDefaults || Visible()) SetVisible(a->Visible());
}

// ---- collections

TdxNavBarCustomItem* TdxNavBarCustomItems::ItemByCaption(const std::string& Caption) const {
  for (int i = 0; i < CountItems(); ++i)
    if (auto* item = static_cast<TdxNavBarCustomItem*>(ItemAt(i)); item->Caption() == Caption) return item;
  return nullptr;
}

TdxNavBarGroups::TdxNavBarGroups(TdxCustomNavBar* ANavBar)
    : TdxNavBarCustomItems(ANavBar, NavBarClassInfo<TdxNavBarGroup>()) {}

void TdxNavBarGroups::DoLinkListChanged(TdxNavBarItemLink* Link) {
  if (UpdateCount() == 0 && OnLinkListChanged) OnLinkListChanged(this, Link);
}

void TdxNavBarGroups::ItemNotification(TcxComponentCollectionItem* Item, TcxComponentCollectionNotification Action) {
  TdxNavBarCustomItems::ItemNotification(Item, Action);
  if (Action == CollectionItemExtracted && Item == FLastExpandedGroup) FLastExpandedGroup = nullptr;
}

TdxNavBarItems::TdxNavBarItems(TdxCustomNavBar* ANavBar)
    : TdxNavBarCustomItems(ANavBar, NavBarClassInfo<TdxNavBarItem>()) {}

void TdxNavBarItems::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxNavBarItems*>(Source);
  if (!src) {
    TdxNavBarCustomItems::Assign(Source);
    return;
  }
  LockUpdates();
  try {
    FreeAllItems();
    TComponent* owner = ParentComponent() ? ParentComponent()->Owner() : nullptr;
    for (int i = 0; i < src->Count(); ++i) {
      TdxNavBarItem* s = src->Items(i);
      const TClassInfo* cls = FindClassInfo(typeid(*s));
      auto* item = static_cast<TdxNavBarItem*>(cls && cls->CreateComponent ? cls->CreateComponent(owner)
                                                                           : new TdxNavBarItem(owner));
      item->SetParentComponent(ParentComponent());
      AssignItemName(item);
      item->Assign(s);
    }
  } catch (...) {
    UnlockUpdates(true);
    throw;
  }
  UnlockUpdates(true);
}

// ---- group control

TdxNavBarGroupControl::TdxNavBarGroupControl(TComponent* AOwner) : TCustomPanel(AOwner) {
  SetBevelInner(bvNone);
  SetBevelOuter(bvNone);
  SetColor(clBtnFace);
  SetParentColor(false);
  SetTabStop(false);
}

TdxNavBarGroupControl::~TdxNavBarGroupControl() {
  Destroying();
  if (FGroup && FGroup->FControl == this) {
    FGroup->FControl = nullptr;
    if (!FGroup->IsDestroying()) FGroup->SetUseControl(false);
  }
}

void TdxNavBarGroupControl::SetOriginalHeight(int32_t Value) {
  if (Value <= 0 || Value == FOriginalHeight) return;
  FOriginalHeight = Value;
  if (!ComponentState().Contains(csLoading)) SetHeight(Value);
}

void TdxNavBarGroupControl::SetUseStyle(bool Value) {
  if (FUseStyle == Value) return;
  FUseStyle = Value;
  Invalidate();
}

void TdxNavBarGroupControl::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  FOriginalHeight = AHeight;
  if (!(Visible() || FBoundsUpdateCount > 0)) return;
  if (ALeft == Left() && ATop == Top() && AWidth == Width() && AHeight == Height()) return;
  TCustomPanel::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (FBoundsUpdateCount == 0 && FGroup) FGroup->NotifyCollection(true);
}

void TdxNavBarGroupControl::SetParent(TWinControl* AParent) {
  if (AParent) {
    bool ok = (FGroup && FGroup->NavBar() == AParent) ||
              (dynamic_cast<TdxCustomNavBar*>(AParent) && ComponentState().Contains(csLoading));
    if (!ok) throw EdxException(LoadLocalizableResString(&sdxInvalideGroupControl));
  }
  TCustomPanel::SetParent(AParent);
}

void TdxNavBarGroupControl::SetBoundsAndVisible(const TRect& R, bool AVisible) {
  int32_t saved = FOriginalHeight;
  ++FBoundsUpdateCount;
  try {
    SetVisible(AVisible);
    SetBounds(R.Left, R.Top, R.Right - R.Left, R.Bottom - R.Top);
  } catch (...) {
    --FBoundsUpdateCount;
    FOriginalHeight = saved;
    throw;
  }
  --FBoundsUpdateCount;
  FOriginalHeight = saved;
}
