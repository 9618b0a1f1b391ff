#include "platform/gui/ActnList.h"

#include <algorithm>

#include "platform/rtl/TypInfo.h"

TShortCut ShortCut(WORD Key, TShiftState Shift) {
  TShortCut s = TShortCut(Key & 0xFF);
  if (Shift.Contains(ssShift)) s |= scShift;
  if (Shift.Contains(ssCtrl)) s |= scCtrl;
  if (Shift.Contains(ssAlt)) s |= scAlt;
  return s;
}

// ---------------------------------------------------------------------------------------------

TBasicActionLink::~TBasicActionLink() {
  if (FAction) FAction->UnRegisterChanges(this);
}

void TBasicActionLink::SetAction(TBasicAction* Value) {
  if (Value == FAction) return;
  if (FAction) FAction->UnRegisterChanges(this);
  FAction = Value;
  if (FAction) FAction->RegisterChanges(this);
  ActionChanged();
}

bool TBasicActionLink::Execute(TComponent* AComponent) {
  if (!FAction) return false;
  FAction->SetActionComponent(AComponent);
  struct Reset {
    TWeakLink<TBasicAction> A;
    ~Reset() {
      if (A) A->SetActionComponent(nullptr);
    }
  } reset{FAction};
  return FAction->Execute();
}

bool TBasicActionLink::Update() { return FAction && FAction->Update(); }

// ---------------------------------------------------------------------------------------------

TBasicAction::~TBasicAction() {
  for (TBasicActionLink* l : std::vector<TBasicActionLink*>(FClients)) {
    l->FAction = nullptr;
    l->ActionChanged();
  }
  FClients.clear();
}

void TBasicAction::RegisterChanges(TBasicActionLink* Link) { FClients.push_back(Link); }

void TBasicAction::UnRegisterChanges(TBasicActionLink* Link) {
  FClients.erase(std::remove(FClients.begin(), FClients.end(), Link), FClients.end());
}

bool TBasicAction::Execute() {
  if (!OnExecute) return false;
  OnExecute(this);
  return true;
}

bool TBasicAction::Update() {
  if (!OnUpdate) return false;
  OnUpdate(this);
  return true;
}

// ---------------------------------------------------------------------------------------------

TContainedAction::~TContainedAction() {
  if (FActionList) FActionList->RemoveAction(this);
}

void TContainedAction::SetActionList(TCustomActionList* Value) {
  if (Value == FActionList) return;
  if (FActionList) FActionList->RemoveAction(this);
  if (Value) Value->AddAction(this);
}

int TContainedAction::Index() const { return FActionList ? FActionList->IndexOf(this) : -1; }

TComponent* TContainedAction::GetParentComponent() const { return FActionList; }

void TContainedAction::SetParentComponent(TComponent* Value) {
  if (auto* list = dynamic_cast<TCustomActionList*>(Value)) SetActionList(list);
}

bool TContainedAction::Execute() {
  TWeakLink<TContainedAction> self(this);
  if (FActionList && FActionList->ExecuteAction(this)) return true;
  return self && TBasicAction::Execute();
}

bool TContainedAction::Update() {
  if (FActionList && FActionList->UpdateAction(this)) return true;
  return TBasicAction::Update();
}

// ---------------------------------------------------------------------------------------------

void TCustomAction::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  ForEachClient([&](TBasicActionLink* l) { l->SetCaption(Value); });
  FCaption = Value;
}

void TCustomAction::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  ForEachClient([&](TBasicActionLink* l) { l->SetEnabled(Value); });
  FEnabled = Value;
}

void TCustomAction::SetChecked(bool Value) {
  if (Value == FChecked) return;
  ForEachClient([&](TBasicActionLink* l) { l->SetChecked(Value); });
  FChecked = Value;
  // Checking one action of a group unchecks the others of its list.
  if (Value && FGroupIndex > 0 && ActionList()) {
    for (int i = 0; i < ActionList()->ActionCount(); ++i)
      if (auto* a = dynamic_cast<TCustomAction*>(ActionList()->Actions(i));
          a && a != this && a->FGroupIndex == FGroupIndex)
        a->SetChecked(false);
  }
}

void TCustomAction::SetHint(const std::string& Value) {
  if (Value == FHint) return;
  ForEachClient([&](TBasicActionLink* l) { l->SetHint(Value); });
  FHint = Value;
}

void TCustomAction::SetImageIndex(int Value) {
  if (Value == FImageIndex) return;
  ForEachClient([&](TBasicActionLink* l) { l->SetImageIndex(Value); });
  FImageIndex = Value;
}

void TCustomAction::SetShortCut(TShortCut Value) {
  if (Value == FShortCut) return;
  ForEachClient([&](TBasicActionLink* l) { l->SetShortCut(Value); });
  FShortCut = Value;
}

void TCustomAction::SetVisible(bool Value) {
  if (Value == FVisible) return;
  ForEachClient([&](TBasicActionLink* l) { l->SetVisible(Value); });
  FVisible = Value;
}

void TCustomAction::SetHelpContext(int Value) {
  if (Value == FHelpContext) return;
  ForEachClient([&](TBasicActionLink* l) {
    if (auto* link = dynamic_cast<TActionLink*>(l)) link->SetHelpContext(Value);
  });
  FHelpContext = Value;
}

bool TCustomAction::Execute() {
  // A disabled action does nothing, whoever asks.
  if (!FEnabled) return false;
  if (FAutoCheck && !(FChecked && FGroupIndex > 0)) SetChecked(!FChecked);
  return TContainedAction::Execute();
}

// ---------------------------------------------------------------------------------------------

TCustomActionList::~TCustomActionList() {
  for (TContainedAction* a : FActions) a->FActionList = nullptr;
  FActions.clear();
}

int TCustomActionList::IndexOf(const TContainedAction* Action) const {
  auto it = std::find(FActions.begin(), FActions.end(), Action);
  return it == FActions.end() ? -1 : int(it - FActions.begin());
}

void TCustomActionList::AddAction(TContainedAction* Action) {
  FActions.push_back(Action);
  Action->FActionList = this;
  Action->FreeNotification(this);
  if (OnChange) OnChange(this);
}

void TCustomActionList::RemoveAction(TContainedAction* Action) {
  auto it = std::find(FActions.begin(), FActions.end(), Action);
  if (it == FActions.end()) return;
  FActions.erase(it);
  Action->FActionList = nullptr;
  if (OnChange && !ComponentState().Contains(csDestroying)) OnChange(this);
}

void TCustomActionList::SetImages(TComponent* Value) {
  if (FImages == Value) return;
  if (FImages) FImages->RemoveFreeNotification(this);
  FImages = Value;
  if (FImages) FImages->FreeNotification(this);
  if (OnChange) OnChange(this);
}

void TCustomActionList::SetState(TActionListState Value) {
  if (FState == Value) return;
  FState = Value;
  // A list suspended with its actions enabled enables them all.
  if (Value == asSuspendedEnabled)
    for (TContainedAction* a : FActions)
      if (auto* c = dynamic_cast<TCustomAction*>(a)) c->SetEnabled(true);
}

void TCustomActionList::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation != TOperation::opRemove) return;
  if (AComponent == FImages) FImages = nullptr;
  if (auto* a = dynamic_cast<TContainedAction*>(AComponent)) RemoveAction(a);
}

bool TCustomActionList::ExecuteAction(TBasicAction* Action) {
  if (FState != asNormal || !OnExecute) return false;
  bool handled = false;
  OnExecute(Action, handled);
  return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* Action) {
  if (FState != asNormal) return true;
  if (!OnUpdate) return false;
  bool handled = false;
  OnUpdate(Action, handled);
  return handled;
}

void TCustomActionList::UpdateActions() {
  if (FState != asNormal) return;
  TWeakLink<TCustomActionList> self(this);
  for (TContainedAction* a : std::vector<TContainedAction*>(FActions)) {
    if (!self) return;
    if (IndexOf(a) >= 0) a->Update();
  }
}

bool TCustomActionList::IsShortCut(TMessage& Message) {
  if (FState != asNormal) return false;
  TShortCut sc = ShortCut(WORD(Message.WParam), KeyDataToShiftState(Message.LParam));
  if (sc == 0) return false;
  for (TContainedAction* a : std::vector<TContainedAction*>(FActions)) {
    auto* c = dynamic_cast<TCustomAction*>(a);
    if (!c || c->ShortCut() != sc) continue;
    TWeakLink<TCustomAction> action(c);
    // The shortcut acts on the action's state of this moment.
    c->Update();
    if (!action) return true;
    // A disabled action leaves the key to the control.
    return c->Enabled() && c->Execute();
  }
  return false;
}

void TCustomActionList::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TContainedAction* a : FActions)
    if (a->Owner() == Root) Proc(a);
}

void TCustomActionList::SetChildOrder(TComponent* Child, int Order) {
  auto* a = dynamic_cast<TContainedAction*>(Child);
  int at = IndexOf(a);
  if (at < 0) return;
  FActions.erase(FActions.begin() + at);
  Order = std::clamp(Order, 0, int(FActions.size()));
  FActions.insert(FActions.begin() + Order, a);
}

// ---------------------------------------------------------------------------------------------

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(FAction); }

bool TControlActionLink::IsCaptionLinked() const {
  return TActionLink::IsCaptionLinked() && Control()->Caption() == CustomAction()->Caption();
}
bool TControlActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && Control()->Enabled() == CustomAction()->Enabled();
}
bool TControlActionLink::IsHintLinked() const {
  return TActionLink::IsHintLinked() && Control()->Hint() == CustomAction()->Hint();
}
bool TControlActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() && Control()->Visible() == CustomAction()->Visible();
}
bool TControlActionLink::IsOnExecuteLinked() const {
  return TActionLink::IsOnExecuteLinked() && Control()->OnClick == FAction->OnExecute;
}

void TControlActionLink::SetCaption(const std::string& Value) {
  if (IsCaptionLinked()) Control()->SetCaption(Value);
}
void TControlActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) Control()->SetEnabled(Value);
}
void TControlActionLink::SetHint(const std::string& Value) {
  if (IsHintLinked()) Control()->SetHint(Value);
}
void TControlActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) Control()->SetVisible(Value);
}

// ---------------------------------------------------------------------------------------------

void RegisterActionClasses() {
  RegisterClass<TBasicAction, TComponent>();
  RegisterClass<TContainedAction, TBasicAction>();
  RegisterClass<TCustomAction, TContainedAction>();
  RegisterClass<TAction, TCustomAction>();
  RegisterClass<TCustomActionList, TComponent>();
  RegisterClass<TActionList, TCustomActionList>();
  RegisterClass<THintAction, TCustomAction>();
  Published<TContainedAction>().Property("Category", &TContainedAction::Category,
                                         &TContainedAction::SetCategory);
  Published<TCustomAction>()
      .Property("AutoCheck", &TCustomAction::AutoCheck, &TCustomAction::SetAutoCheck).Default(false)
      .Property("Caption", &TCustomAction::Caption, &TCustomAction::SetCaption)
      .Property("Checked", &TCustomAction::Checked, &TCustomAction::SetChecked).Default(false)
      .Property("Enabled", &TCustomAction::Enabled, &TCustomAction::SetEnabled).Default(true)
      .Property("GroupIndex", &TCustomAction::GroupIndex, &TCustomAction::SetGroupIndex).Default(0)
      .Property("HelpContext", &TCustomAction::HelpContext, &TCustomAction::SetHelpContext).Default(0)
      .Property("Hint", &TCustomAction::Hint, &TCustomAction::SetHint)
      .Property("ImageIndex", &TCustomAction::ImageIndex, &TCustomAction::SetImageIndex).Default(-1)
      .Property("ShortCut", &TCustomAction::ShortCut, &TCustomAction::SetShortCut).Default(0)
      .Property("Visible", &TCustomAction::Visible, &TCustomAction::SetVisible).Default(true)
      .Property("OnExecute", &TCustomAction::OnExecute)
      .Property("OnHint", &TCustomAction::OnHint)
      .Property("OnUpdate", &TCustomAction::OnUpdate);
  Published<TCustomActionList>()
      .Property("Images", &TCustomActionList::Images, &TCustomActionList::SetImages)
      .Property("State", &TCustomActionList::State, &TCustomActionList::SetState).Default(int(asNormal))
      .Property("OnChange", &TCustomActionList::OnChange)
      .Property("OnExecute", &TCustomActionList::OnExecute)
      .Property("OnUpdate", &TCustomActionList::OnUpdate);
  RegisterEnumNames<TActionListState>({"asNormal", "asSuspended", "asSuspendedEnabled"});
}

bool TCustomAction::DoHint(std::string& HintStr) {
  bool canShow = true;
  if (OnHint) OnHint(HintStr, canShow);
  return canShow;
}
