// Items: the command objects, their action binding, buttons, separators, sub-menus and lists.

#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streaming.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarStrs.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxScreenTip.h"

// ---- action link

TdxBarItemActionLink::TdxBarItemActionLink(TdxBarItem* AClient) : TActionLink(AClient) {}
TdxBarItem* TdxBarItemActionLink::Item() const { return static_cast<TdxBarItem*>(FClient); }

bool TdxBarItemActionLink::IsCaptionLinked() const {
  return TActionLink::IsCaptionLinked() && Item()->Caption() == CustomAction()->Caption();
}
bool TdxBarItemActionLink::IsCheckedLinked() const {
  auto* b = dynamic_cast<TdxBarButton*>(Item());
  return TActionLink::IsCheckedLinked() && b && b->Down() == CustomAction()->Checked();
}
bool TdxBarItemActionLink::IsEnabledLinked() const {
  return TActionLink::IsEnabledLinked() && Item()->Enabled() == CustomAction()->Enabled();
}
bool TdxBarItemActionLink::IsHelpContextLinked() const {
  return TActionLink::IsHelpContextLinked() &&
         Item()->HelpContext() == CustomAction()->HelpContext();
}
bool TdxBarItemActionLink::IsHintLinked() const {
  return TActionLink::IsHintLinked() &&
         (Item()->Hint() == CustomAction()->Hint() || Item()->HintIsFromCaption());
}
bool TdxBarItemActionLink::IsImageIndexLinked() const {
  return TActionLink::IsImageIndexLinked() &&
         Item()->CurrentImageIndex() == CustomAction()->ImageIndex();
}
bool TdxBarItemActionLink::IsShortCutLinked() const {
  return TActionLink::IsShortCutLinked() && Item()->ShortCut() == CustomAction()->ShortCut();
}
bool TdxBarItemActionLink::IsVisibleLinked() const {
  return TActionLink::IsVisibleLinked() &&
         (Item()->Visible() == ivAlways) == CustomAction()->Visible();
}
bool TdxBarItemActionLink::IsOnExecuteLinked() const {
  return TActionLink::IsOnExecuteLinked() &&
         Item()->OnClick == FAction->OnExecute;
}
void TdxBarItemActionLink::SetCaption(const std::string& Value) {
  if (IsCaptionLinked()) Item()->SetCaption(Value);
}
void TdxBarItemActionLink::SetChecked(bool Value) {
  if (IsCheckedLinked())
    if (auto* b = dynamic_cast<TdxBarButton*>(Item())) b->SetDown(Value);
}
void TdxBarItemActionLink::SetEnabled(bool Value) {
  if (IsEnabledLinked()) Item()->SetEnabled(Value);
}
void TdxBarItemActionLink::SetHelpContext(int Value) {
  if (IsHelpContextLinked()) Item()->SetHelpContext(Value);
}
void TdxBarItemActionLink::SetHint(const std::string& Value) {
  if (IsHintLinked()) Item()->SetHint(Value);
}
void TdxBarItemActionLink::SetImageIndex(int Value) {
  if (IsImageIndexLinked()) Item()->SetCurrentImageIndex(Value);
}
void TdxBarItemActionLink::SetShortCut(TShortCut Value) {
  if (IsShortCutLinked()) Item()->SetShortCut(Value);
}
void TdxBarItemActionLink::SetVisible(bool Value) {
  if (IsVisibleLinked()) Item()->SetVisible(Value ? ivAlways : ivNever);
}

// ---- style data

TdxBarItemStylesData::TdxBarItemStylesData(TPersistent* AOwner, int ACount)
    : TcxInterfacedPersistent(AOwner), FSlots(size_t(std::max(ACount, 0))) {}

TdxBarItemStylesData::~TdxBarItemStylesData() {
  FDestroying = true;
  for (int i = 0; i < Count(); ++i) SetStyleAt(i, nullptr);
}

TcxStyle* TdxBarItemStylesData::StyleAt(int Index) const {
  return Index >= 0 && Index < Count() ? FSlots[size_t(Index)].Style : nullptr;
}

int TdxBarItemStylesData::StyleRefCount(TcxStyle* Style) const {
  return int(std::count_if(FSlots.begin(), FSlots.end(), [Style](auto& s) { return s.Style == Style; }));
}

void TdxBarItemStylesData::SetStyleAt(int Index, TcxStyle* Value) {
  if (Index < 0 || Index >= Count() || FSlots[size_t(Index)].Style == Value) return;
  TcxStyle* old = FSlots[size_t(Index)].Style;
  FSlots[size_t(Index)].Style = Value;
  if (old && StyleRefCount(old) == 0) old->RemoveWatcher(this);
  if (Value && StyleRefCount(Value) == 1) Value->AddWatcher(this);
  Synchronize(Index);
}

TdxBarItemStylesData::TFontSnapshot TdxBarItemStylesData::SnapshotOf(TFont* Font) {
  TFontSnapshot f;
  f.Height = Font->Height();
  f.Pitch = Font->Pitch();
  f.Style = Font->Style();
  f.Charset = Font->Charset();
  // Cut as the snapshot keeps it, so that a long name compares equal to itself.
  f.Name = Font->Name().substr(0, FontNameLength);
  return f;
}

void TdxBarItemStylesData::Synchronize(int Index) {
  if (FDestroying) return;
  TSlot& slot = FSlots[size_t(Index)];
  TcxStyleValues a = slot.Assigned;
  TcxStyleValues b = slot.Style ? slot.Style->AssignedValues() : TcxStyleValues{};
  auto changed = [&](TcxStyleValue v, bool differs) {
    if (!a.Contains(v) && !b.Contains(v)) return false;
    return !(a.Contains(v) && b.Contains(v)) || differs;
  };
  bool colour = changed(svColor, slot.Style && ColorToRGB(slot.Color) != ColorToRGB(slot.Style->Color()));
  bool text = changed(svTextColor,
                      slot.Style && ColorToRGB(slot.TextColor) != ColorToRGB(slot.Style->TextColor()));
  bool font = changed(svFont, slot.Style && !(slot.Font == SnapshotOf(slot.Style->Font())));
  slot.Assigned = b;
  if (slot.Style) {
    if (b.Contains(svColor)) slot.Color = slot.Style->Color();
    if (b.Contains(svFont)) slot.Font = SnapshotOf(slot.Style->Font());
    if (b.Contains(svTextColor)) slot.TextColor = slot.Style->TextColor();
  }
  if (font)
    Report(1);
  else if (colour || text)
    Report(0);
}

void TdxBarItemStylesData::Report(int Kind) {
  if (FLockCount == 0) {
    if (OnChange) OnChange(Kind);
    return;
  }
  if (FPendingKind == 2)
    FPendingKind = Kind;
  else
    FPendingKind = 1;
}

void TdxBarItemStylesData::BeginChange() {
  if (FLockCount++ == 0) FPendingKind = 2;
}

void TdxBarItemStylesData::EndChange() {
  if (FLockCount == 0 || --FLockCount > 0) return;
  if (FPendingKind != 2 && OnChange) OnChange(FPendingKind);
}

void TdxBarItemStylesData::StyleModified(TcxCustomStyle* AStyle) {
  BeginChange();
  for (int i = 0; i < Count(); ++i)
    if (FSlots[size_t(i)].Style == AStyle) Synchronize(i);
  EndChange();
}

void TdxBarItemStylesData::StyleRemoving(TcxCustomStyle* AStyle) {
  BeginChange();
  for (int i = 0; i < Count(); ++i)
    if (FSlots[size_t(i)].Style == AStyle) SetStyleAt(i, nullptr);
  EndChange();
}

// ---- item

TdxBarItemStylesData* TdxBarItem::StylesData() const {
  if (!FStylesData) {
    FStylesData = std::make_unique<TdxBarItemStylesData>(const_cast<TdxBarItem*>(this), StyleCount());
    FStylesData->OnChange = [self = const_cast<TdxBarItem*>(this)](int Kind) {
      self->StyleChanged(Kind);
    };
  }
  return FStylesData.get();
}

void TdxBarItem::StyleChanged(int Kind) {
  if (IsDestroying()) return;
  if (Kind == 1) {
    for (TdxBarItemLink* l : std::vector<TdxBarItemLink*>(FLinks))
      if (l->Control()) l->RecreateControl();
    RebuildBars();
  } else {
    ForEachControl([](TdxBarItemLink*, TdxBarItemControl* c) { c->RecalcTextMetrics(); });
    RepaintControls();
  }
}

TdxBarItem::TdxBarItem(TComponent* AOwner) : TdxBarComponent(AOwner) {
  FGlyph = CreateNotifyingBitmap([this](TObject*) { ImageIndexChanged(); });
  FLargeGlyph = CreateNotifyingBitmap([this](TObject*) { LargeImageIndexChanged(); });
  TdxBarManager* m = FindBarManagerOf(AOwner);
  if (!m && BarManagerCount() > 0) m = BarManagerAt(0);
  if (m) AttachToManager(m);
}

TdxBarItem::~TdxBarItem() {
  if (FBarManager) FBarManager->OwnerClosing();
  Destroying();
  if (OnDestroy) OnDestroy(this);
  DeleteAllLinks();
  FStylesData.reset();
  FActionLink.reset();
  SetScreenTip(nullptr);
  FLargeGlyph.reset();
  FGlyph.reset();
  if (FBarManager) FBarManager->RemoveItem(this);
  ClearLinksToObject(this);
}

void TdxBarItem::AttachToManager(TdxBarManager* Manager) {
  if (FBarManager == Manager) return;
  if (FBarManager) FBarManager->RemoveItem(this);
  FBarManager = Manager;
  if (Manager) Manager->AddItem(this);
}

TComponent* TdxBarItem::GetParentComponent() const {
  return FCategory >= 0 ? FBarManager : nullptr;
}

void TdxBarItem::SetParentComponent(TComponent* Value) {
  if (IsLoading() && FBarManager) return;
  if (auto* m = dynamic_cast<TdxBarManager*>(Value)) {
    AttachToManager(m);
    BarManagerChanged();
  }
}

void TdxBarItem::ReadState(TReader* Reader) {
  if (auto* m = dynamic_cast<TdxBarManager*>(Reader->Parent())) {
    AttachToManager(m);
    BarManagerChanged();
  }
  TdxBarComponent::ReadState(Reader);
}

void TdxBarItem::SetName(const std::string& NewName) {
  TComponent::SetName(NewName);
  if (!IsDesigning() || !NewName.empty()) NotifyChanged();
}

void TdxBarItem::Loaded() {
  TdxBarComponent::Loaded();
  if (Action()) TakeActionProperties(Action(), true);
  if (OnCreate) OnCreate(this);
}

void TdxBarItem::Notification(TComponent* AComponent, TOperation Operation) {
  TdxBarComponent::Notification(AComponent, Operation);
  if (Operation != opRemove || IsDestroying()) return;
  if (AComponent == Action()) SetAction(nullptr);
  if (static_cast<TComponent*>(FScreenTip) == AComponent) FScreenTip = nullptr;
}

void TdxBarItem::SetGlyph(TBitmap* Value) { FGlyph->Assign(Value); }

TCustomImageList* TdxBarItem::ImageList() const {
  return FBarManager ? dynamic_cast<TCustomImageList*>(FBarManager->Images()) : nullptr;
}

bool TdxBarItem::ImageExists(TCustomImageList* List, int Index) { return IsValidImageIndex(List, Index); }

TdxBarItem::TViewParams TdxBarItem::ViewParamsFromStyle(TcxStyle* Style) {
  TViewParams p;
  if (!Style) return p;
  TcxStyleValues v = Style->AssignedValues();
  if (v.Contains(svBitmap)) p.Bitmap = Style->Bitmap();
  if (v.Contains(svColor)) p.Color = Style->Color();
  if (v.Contains(svFont)) p.Font = Style->Font();
  if (v.Contains(svTextColor)) p.TextColor = Style->TextColor();
  return p;
}

void TdxBarItem::SetLargeGlyph(TBitmap* Value) { FLargeGlyph->Assign(Value); }

void TdxBarItem::SetScreenTip(TdxScreenTip* Value) {
  if (FScreenTip == Value) return;
  if (FScreenTip) RemoveFreeNotification(FScreenTip);
  FScreenTip = Value;
  if (FScreenTip) FreeNotification(FScreenTip);
}

bool TdxBarItem::Enabled() const {
  if (FBarManager && !IsDesigning() && FBarManager->IsCustomizing() && FCategory >= 0) return true;
  return FEnabled;
}

void TdxBarItem::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  if (!IsLoading()) EnabledChanged();
}

void TdxBarItem::SetVisible(TdxBarItemVisible Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (IsDesigning()) return;
  if (!IsLoading() || (FBarManager && FBarManager->IsLoadingOrInLoaded() && !FBarManager->IsLoading()))
    RecreateLinkControls();
}

void TdxBarItem::SetWidth(int Value) {
  if (Value < 0 || Value == FWidth) return;
  FWidth = Value;
  WidthChanged();
}

bool TdxBarItem::CanPlaceOn(int, TdxBar*, std::string& ErrorText) const {
  ErrorText.clear();
  return true;
}

TdxBarItemControlClass TdxBarItem::ControlClass(bool) const {
  TdxBarItemList* list = GetBarItemList();
  const TClassInfo* mine = ClassInfoOf(this);
  if (!list || !mine) return {};
  for (int i = 0; i < list->Count(); ++i)
    if (list->EntryItemClass(i) == mine) return list->EntryAt(i).ItemControlClass;
  return {};
}

bool TdxBarItem::MatchesShortCut(TShortCut AShortCut) {
  if (!Enabled()) return false;
  if (CanClick() && AShortCut == FShortCut) {
    ShortCutClick();
    return true;
  }
  if (TdxBarItemLinks* own = ItemLinks()) return own->ExecuteShortCut(AShortCut);
  return false;
}

void TdxBarItem::RefreshControlStates() {
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* c) { c->RefreshState(); });
}

void TdxBarItem::RepaintControls() {
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* c) {
    if (!(c->IsDrawnSelected() && c->Parent() && c->Parent()->IsActive())) c->Repaint();
  });
}

void TdxBarItem::RebuildBars(int Kinds) {
  ForEachControl([Kinds](TdxBarItemLink*, TdxBarItemControl* c) {
    TCustomdxBarControl* bc = c->Parent();
    if (!bc || !(Kinds & (1 << bc->BarControlKind()))) return;
    if (c->IsDrawnSelected() && bc->IsActive()) return;
    bc->RecalculateBar();
  });
}

bool TdxBarItem::StoresCaption() const { return !(FActionLink && FActionLink->IsCaptionLinked()); }
bool TdxBarItem::StoresHint() const { return !(FActionLink && FActionLink->IsHintLinked()); }
bool TdxBarItem::StoresEnabled() const { return !(FActionLink && FActionLink->IsEnabledLinked()); }
bool TdxBarItem::StoresHelpContext() const {
  return !(FActionLink && FActionLink->IsHelpContextLinked());
}
bool TdxBarItem::StoresImageIndex() const {
  return !(FActionLink && FActionLink->IsImageIndexLinked());
}
bool TdxBarItem::StoresShortCut() const { return !(FActionLink && FActionLink->IsShortCutLinked()); }
bool TdxBarItem::StoresVisible() const { return !(FActionLink && FActionLink->IsVisibleLinked()); }
bool TdxBarItem::StoresOnClick() const { return !(FActionLink && FActionLink->IsOnExecuteLinked()); }

std::string TdxBarItem::ShortHintFromCaption() const {
  std::string s = Caption();
  if (size_t p = s.find('&'); p != std::string::npos) s.erase(p, 1);
  if (size_t p = s.find("..."); p != std::string::npos) s.erase(p, 3);
  return s;
}

bool TdxBarItem::HintIsFromCaption() const {
  std::string h = Hint();
  return h.substr(0, h.find('|')) == ShortHintFromCaption();
}

void TdxBarItem::SetCaption(const std::string& Value) {
  if (Value == FCaption) return;
  bool follows = false;
  if (!FCheckDefaults && !dynamic_cast<TCustomdxBarSubItem*>(this))
    follows = Hint().empty() || HintIsFromCaption();
  FCaption = Value;
  if (IsLoading()) return;
  if (follows) {
    std::string s = ShortHintFromCaption();
    std::string h = Hint();
    size_t bar = h.find('|');
    SetHint(bar == std::string::npos ? s : s + "|" + h.substr(bar + 1));
  }
  CaptionChanged();
}

void TdxBarItem::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  ImageIndexChanged();
}

void TdxBarItem::SetLargeImageIndex(int Value) {
  if (FLargeImageIndex == Value) return;
  FLargeImageIndex = Value;
  LargeImageIndexChanged();
}

void TdxBarItem::CaptionChanged() {
  ForEachControl([](TdxBarItemLink* l, TdxBarItemControl* c) {
    if (!l->UserDefine().Contains(udCaption)) c->CaptionChanged();
  });
  NotifyChanged();
}

void TdxBarItem::EnabledChanged() {
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* c) {
    c->ResetGlyphCache(false);
    c->EnabledChanged();
  });
  NotifyChanged();
}

void TdxBarItem::ImageIndexChanged() {
  ForEachControl([](TdxBarItemLink* l, TdxBarItemControl* c) {
    if (!l->UserDefine().Contains(udGlyph)) c->ResetGlyphCache(true);
  });
  ForEachControl([](TdxBarItemLink* l, TdxBarItemControl* c) {
    if (!l->UserDefine().Contains(udGlyph)) c->RecalcBarIfNeeded();
  });
  NotifyChanged();
}

void TdxBarItem::HotImageChanged() {
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* c) {
    c->ResetGlyphCache(false);
    c->HotImageChanged();
  });
}

void TdxBarItem::LargeImageIndexChanged() {
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* c) { c->ResetGlyphCache(true); });
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* c) { c->LargeImageChanged(); });
  NotifyChanged();
}

void TdxBarItem::ShortCutChanged() {
  RebuildBars(1 << 2);
  NotifyChanged();
}

void TdxBarItem::RecreateLinkControls() {
  if (!FBarManager) {
    for (TdxBarItemLink* l : std::vector<TdxBarItemLink*>(FLinks)) l->VisibilityChanged();
    return;
  }
  FBarManager->BeginBarsUpdate();
  try {
    for (TdxBarItemLink* l : std::vector<TdxBarItemLink*>(FLinks)) l->VisibilityChanged();
  } catch (...) {
    FBarManager->EndBarsUpdate();
    throw;
  }
  FBarManager->EndBarsUpdate();
  NotifyChanged();
}

void TdxBarItem::WidthChanged() {
  ForEachControl([](TdxBarItemLink* l, TdxBarItemControl* c) {
    if (!l->UserDefine().Contains(udWidth)) c->WidthChanged();
  });
}

std::string TdxBarItem::NewItemCaption() const {
  return LoadLocalizableResString(&dxSBAR_NEWITEMCAPTION);
}

void TdxBarItem::SetAlign(TdxBarItemAlign Value) {
  if (FAlign == Value) return;
  FAlign = Value;
  RebuildBars();
}

void TdxBarItem::SetCategory(int Value) {
  if (IsLoading()) {
    FCategory = Value;
    return;
  }
  if (!FBarManager || FBarManager->IndexOfItem(this) < 0 || Value < 0 ||
      Value >= FBarManager->Categories()->Count())
    return;
  std::vector<TdxBarItem*> items;
  if (FBarManager->CategoryItems(Value, items) > 0) {
    int L = FBarManager->IndexOfItem(items.back());
    int P = FBarManager->IndexOfItem(this);
    FBarManager->MoveItem(P, L < P ? L + 1 : L);
  }
  FCategory = Value;
  NotifyChanged(true);
}

void TdxBarItem::SetDescription(const std::string& Value) {
  if (FDescription == Value) return;
  FDescription = Value;
  NotifyChanged();
}

void TdxBarItem::SetPaintStyle(TdxBarPaintStyle Value) {
  if (FPaintStyle == Value) return;
  FPaintStyle = Value;
  if (!IsLoading()) PaintStyleChanged();
}

void TdxBarItem::SetShortCut(TShortCut Value) {
  if (FShortCut == Value) return;
  FShortCut = Value;
  if (!IsLoading()) ShortCutChanged();
}

void TdxBarItem::SetShowCaption(bool Value) {
  if (FShowCaption == Value) return;
  FShowCaption = Value;
  if (!IsLoading()) RebuildBars();
}

void TdxBarItem::SetGlyphLayout(TdxBarGlyphLayout Value) {
  if (FGlyphLayout == Value) return;
  FGlyphLayout = Value;
  RebuildBars();
}

TdxBarItemLink* TdxBarItem::LinkAt(int Index) const {
  return Index >= 0 && Index < LinkCount() ? FLinks[size_t(Index)] : nullptr;
}

TdxBarItemLink* TdxBarItem::SelectedLink() const {
  for (TdxBarItemLink* l : FLinks)
    if (l->Control() && l->Control()->IsSelected()) return l;
  return nullptr;
}

bool TdxBarItem::IsShowable(const TdxBarItem* Item) {
  TdxBarManager* m = Item->BarManager();
  bool customizing = m && m->IsCustomizingOrDesigning();
  return (Item->Visible() == ivAlways && (Item->CanShowContents() || customizing)) ||
         (Item->Visible() == ivInCustomizing && customizing);
}

int TdxBarItem::IndexInManager() const { return FBarManager ? FBarManager->IndexOfItem(this) : -1; }

void TdxBarItem::SetIndexInManager(int Index) {
  if (FBarManager) FBarManager->MoveItem(IndexInManager(), Index);
}

bool TdxBarItem::SameItemKind(TdxBarItem* A, TdxBarItem* B) {
  return A->IsSameKindAs(B) && B->IsSameKindAs(A);
}

void TdxBarItem::DeleteAllLinks() {
  TdxBarManager* m = FBarManager;
  bool bracket = false;
  if (m && !m->IsDestroying() && !m->IsBarsUpdating())
    for (TdxBarItemLink* l : FLinks)
      if (l->BarControl()) bracket = true;
  if (bracket) m->BeginBarsUpdate();
  try {
    while (!FLinks.empty()) delete FLinks.back();
  } catch (...) {
    if (bracket) m->EndBarsUpdate();
    throw;
  }
  if (bracket) m->EndBarsUpdate();
}

// Actions.

TBasicAction* TdxBarItem::Action() const { return FActionLink ? FActionLink->Action() : nullptr; }

void TdxBarItem::SetAction(TBasicAction* Value) {
  if (Value == Action()) return;
  if (!Value) {
    FActionLink.reset();
    return;
  }
  bool lock = Value->ComponentState().Contains(csLoading) && FBarManager;
  if (lock) FBarManager->LockChangeReports(true);
  try {
    if (!FActionLink) {
      FActionLink = std::make_unique<TdxBarItemActionLink>(this);
      FActionLink->OnChange = TNotifyEvent::Bind(this, &TdxBarItem::ActionLinkChanged);
    }
    FActionLink->SetAction(Value);
    TakeActionProperties(Value, Value->ComponentState().Contains(csLoading));
    FreeNotification(Value);
  } catch (...) {
    if (lock) FBarManager->LockChangeReports(false);
    throw;
  }
  if (lock) FBarManager->LockChangeReports(false);
}

void TdxBarItem::ActionLinkChanged(TObject* Sender) {
  if (Sender == Action()) TakeActionProperties(Action(), false);
}

void TdxBarItem::TakeActionProperties(TBasicAction* AAction, bool ACheckDefaults) {
  auto* a = dynamic_cast<TCustomAction*>(AAction);
  if (!a) return;
  bool saved = FCheckDefaults;
  FCheckDefaults = ACheckDefaults;
  try {
    bool all = !ACheckDefaults;
    if (all || Caption().empty()) SetCaption(a->Caption());
    if (auto* b = dynamic_cast<TdxBarButton*>(this); b && (all || !b->Down())) b->SetDown(a->Checked());
    if (all || FEnabled) SetEnabled(a->Enabled());
    if (all || FHelpContext == 0) SetHelpContext(a->HelpContext());
    if (all || Hint().empty()) SetHint(a->Hint());
    if (all || CurrentImageIndex() == -1) SetCurrentImageIndex(a->ImageIndex());
    if (all || FShortCut == 0) SetShortCut(a->ShortCut());
    if (all || FVisible == ivAlways) SetVisible(a->Visible() ? ivAlways : ivNever);
    if (all || !OnClick) OnClick = a->OnExecute;
  } catch (...) {
    FCheckDefaults = saved;
    throw;
  }
  FCheckDefaults = saved;
}

void TdxBarItem::ShortCutClick() {
  if (CanClick()) Click();
}

void TdxBarItem::Click() {
  if (!Enabled()) return;
  try {
    if (FBarManager) FBarManager->DoClickItem(this);
    DoClick();
  } catch (...) {
    if (TApplication* app = GetApplication())
      app->HandleException(this, std::current_exception());
  }
}

void TdxBarItem::DoClick() {
  TBasicAction* a = Action();
  if (OnClick && (!a || !(OnClick == a->OnExecute))) {
    OnClick(this);
    return;
  }
  if (!IsDesigning() && FActionLink) FActionLink->Execute(this);
}

void TdxBarItem::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TdxBarItem*>(Source);
  if (!s) return TdxBarComponent::Assign(Source);
  SetAction(s->Action());
  SetAlign(s->FAlign);
  SetCaption(s->Caption());
  SetCategory(s->FCategory);
  SetDescription(s->FDescription);
  SetEnabled(s->FEnabled);
  SetHelpContext(s->FHelpContext);
  SetHint(s->Hint());
  SetKeyTip(s->FKeyTip);
  SetMergeKind(s->FMergeKind);
  SetMergeOrder(s->FMergeOrder);
  SetStyle(s->Style());
  SetScreenTip(s->FScreenTip);
  SetVisible(s->FVisible);
  FData = s->FData;
  SetGlyph(s->Glyph());
  SetImageIndex(s->FImageIndex);
  SetLargeGlyph(s->LargeGlyph());
  SetLargeImageIndex(s->FLargeImageIndex);
  SetShortCut(s->FShortCut);
  OnClick = s->OnClick;
}

void TdxBarItem::AssignTo(TPersistent* Dest) {
  auto* a = dynamic_cast<TCustomAction*>(Dest);
  if (!a) return TdxBarComponent::AssignTo(Dest);
  a->SetCaption(Caption());
  if (auto* b = dynamic_cast<TdxBarButton*>(this)) a->SetChecked(b->Down());
  a->SetEnabled(FEnabled);
  a->SetHelpContext(FHelpContext);
  a->SetHint(Hint());
  a->SetImageIndex(FImageIndex);
  a->SetShortCut(FShortCut);
  if (FVisible != ivInCustomizing) a->SetVisible(FVisible == ivAlways);
  a->OnExecute = OnClick;
}

// ---- buttons

TdxBarButton::TdxBarButton(TComponent* AOwner) : TdxBarButtonLikeItem(AOwner) {
  SetUnclickAfterDoing(true);
}

TdxBarItemLinks* TdxBarButton::ItemLinks() const {
  return FDropDownMenu ? FDropDownMenu->ItemLinks() : nullptr;
}

bool TdxBarButton::IsEnabledFor(TdxBarItemLink* Link) const {
  if (!Enabled()) return false;
  TdxBarItemLinks* links = Link ? Link->OwningLinks() : nullptr;
  if (links && dynamic_cast<TdxBar*>(links->OwnerComponent())) {
    TdxBarPaintStyle ps = Link->EffectivePaintStyle();
    return ps == psCaption || ps == psCaptionGlyph;
  }
  return true;
}

void TdxBarButton::PaintStyleChanged() {
  ForEachControl([](TdxBarItemLink* l, TdxBarItemControl* c) {
    if (!l->UserDefine().Contains(udPaintStyle)) c->PaintStyleChanged();
  });
}

std::string TdxBarButton::NewItemCaption() const {
  return LoadLocalizableResString(&dxSBAR_NEWBUTTONCAPTION);
}

void TdxBarButton::ShortCutClick() {
  if (Enabled() && IsCheckedStyle()) SetDown(!FDown);
  TdxBarButtonLikeItem::ShortCutClick();
}

TdxBarButton* TdxBarButton::FindDownGroupMember() const {
  if (!FBarManager) return nullptr;
  for (int i = 0; i < FBarManager->ItemCount(); ++i) {
    auto* b = dynamic_cast<TdxBarButton*>(FBarManager->Items(i));
    if (b && b != this && b->IsCheckedStyle() && b->FGroupIndex == FGroupIndex && b->FDown)
      return b;
  }
  return nullptr;
}

void TdxBarButton::SetDown(bool Value) {
  if (Value == FDown || (Value && !IsCheckedStyle())) return;
  TdxBarButton* member = nullptr;
  if (!IsLoading() && IsCheckedStyle() && FGroupIndex != 0) {
    if (Value)
      member = FindDownGroupMember();
    else if (!FAllowAllUp && !FindDownGroupMember())
      return;
  }
  FDown = Value;
  if (IsLoading()) return;
  RepaintControls();
  if (member) member->SetDown(false);
}

void TdxBarButton::SetGroupIndex(int Value) {
  if (FGroupIndex == Value) return;
  FGroupIndex = IsCheckedStyle() ? Value : 0;
  SetDown(false);
}

void TdxBarButton::SetAllowAllUp(bool Value) {
  if (FAllowAllUp == Value) return;
  FAllowAllUp = Value;
  if (FGroupIndex == 0 || !FBarManager) return;
  for (int i = 0; i < FBarManager->ItemCount(); ++i)
    if (auto* b = dynamic_cast<TdxBarButton*>(FBarManager->Items(i)); b && b->FGroupIndex == FGroupIndex)
      b->FAllowAllUp = Value;
}

void TdxBarButton::SetButtonStyle(TdxBarButtonStyle Value) {
  if (FButtonStyle == Value) return;
  // Releasing Down first keeps the group rule from refusing the change.
  bool wasDown = FDown;
  FButtonStyle = Value;
  if (wasDown) {
    FDown = false;
    if (!IsLoading()) RepaintControls();
  }
  if (!IsLoading()) RebuildBars();
  NotifyChanged();
}

void TdxBarButton::SetDropDownEnabled(bool Value) {
  if (FDropDownEnabled == Value) return;
  FDropDownEnabled = Value;
  if (!IsLoading()) RepaintControls();
}

void TdxBarButton::SetLowered(bool Value) {
  if (FLowered == Value) return;
  FLowered = Value;
  if (!IsLoading()) RebuildBars();
}

void TdxBarButton::SetDropDownMenu(TdxBarPopupMenu* Value) {
  if (FDropDownMenu == Value) return;
  if (Value && Value->ItemLinks()->ContainsLinksOwner(this))
    throw EdxException(LoadLocalizableResString(&dxSBAR_RECURSIVEMENUS));
  FDropDownMenu = Value;
  if (Value) FreeNotification(Value);
}

bool TdxBarButton::StoresDown() const {
  return !(ActionLink() && ActionLink()->IsCheckedLinked());
}

bool TdxBarButton::CanContainItem(TdxBarItem* Item, std::string& ErrorText) {
  if (!FDropDownMenu) return false;
  return FDropDownMenu->CanContainItem(Item, ErrorText);
}

void TdxBarButton::Notification(TComponent* AComponent, TOperation Operation) {
  TdxBarButtonLikeItem::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FDropDownMenu) FDropDownMenu = nullptr;
}

// Large button: ImageIndex follows LargeImageIndex while SyncImageIndex is on.

TdxBarLargeButton::TdxBarLargeButton(TComponent* AOwner) : TdxBarButton(AOwner) {
  FShowCaption = true;
  FHotGlyph = CreateNotifyingBitmap([this](TObject*) { HotImageChanged(); });
}

TdxBarLargeButton::~TdxBarLargeButton() = default;

void TdxBarLargeButton::SetHotGlyph(TBitmap* Value) { FHotGlyph->Assign(Value); }

void TdxBarLargeButton::Loaded() {
  TdxBarButton::Loaded();
  FImageIndexRead = FLargeImageIndexRead = FSyncImageIndexRead = false;
}

bool TdxBarLargeButton::IsEnabledFor(TdxBarItemLink* Link) const {
  if (!TdxBarButton::IsEnabledFor(Link)) return false;
  TdxBarItemLinks* links = Link ? Link->OwningLinks() : nullptr;
  return !(links && dynamic_cast<TdxBar*>(links->OwnerComponent())) || ShowCaption();
}

void TdxBarLargeButton::SetImageIndex(int Value) {
  if (IsLoading() && !FSynchronizing) FImageIndexRead = true;
  TdxBarButton::SetImageIndex(Value);
  if (FSynchronizing) return;
  if (IsLoading()) {
    if (LargeImageIndex() == -1 && (FSyncImageIndex || !FSyncImageIndexRead)) {
      FSynchronizing = true;
      TdxBarButton::SetLargeImageIndex(Value);
      FSynchronizing = false;
    }
  } else if (!FSyncImageIndexRead) {
    FSyncImageIndex = false;
  }
}

void TdxBarLargeButton::SetLargeImageIndex(int Value) {
  if (IsLoading() && !FSynchronizing) FLargeImageIndexRead = true;
  TdxBarButton::SetLargeImageIndex(Value);
}

void TdxBarLargeButton::LargeImageIndexChanged() {
  if (!FSynchronizing && FSyncImageIndex) {
    if (IsLoading() && FImageIndexRead) {
      FSyncImageIndex = ImageIndex() == LargeImageIndex();
    } else {
      FSynchronizing = true;
      TdxBarButton::SetImageIndex(LargeImageIndex());
      FSynchronizing = false;
    }
  }
  TdxBarButton::LargeImageIndexChanged();
}

void TdxBarLargeButton::HotImageChanged() {
  ForEachControl([](TdxBarItemLink*, TdxBarItemControl* c) { c->HotImageChanged(); });
}

void TdxBarLargeButton::SetAutoGrayScale(bool Value) {
  if (FAutoGrayScale == Value) return;
  FAutoGrayScale = Value;
  RepaintControls();
}

void TdxBarLargeButton::SetHeight(int Value) {
  if (Value < 0 || Value == FHeight) return;
  FHeight = Value;
  RebuildBars();
}

void TdxBarLargeButton::SetHotImageIndex(int Value) {
  if (FHotImageIndex == Value) return;
  FHotImageIndex = Value;
  HotImageChanged();
}

void TdxBarLargeButton::SetSyncImageIndex(bool Value) {
  if (IsLoading() && !FSynchronizing) FSyncImageIndexRead = true;
  if (FSyncImageIndex == Value) return;
  FSyncImageIndex = Value;
  if (Value) LargeImageIndexChanged();
}

void TdxBarLargeButton::DefineProperties(TFiler* Filer) {
  TdxBarButton::DefineProperties(Filer);
  Filer->DefineProperty(
      "ImageIndex", [this](TReader* R) { SetImageIndex(R->ReadInteger()); },
      [this](TWriter* W) { W->WriteInteger(ImageIndex()); }, !FSyncImageIndex);
}

// ---- separators and labels

TdxBarSeparator::TdxBarSeparator(TComponent* AOwner) : TdxBarLabel(AOwner) {}

bool TdxBarSeparator::CanPlaceOn(int Kind, TdxBar*, std::string& ErrorText) const {
  if (Kind == 1) {
    ErrorText.clear();
    return true;
  }
  ErrorText = LoadLocalizableResString(&dxSBAR_CANTPLACESEPARATOR);
  return false;
}

std::string TdxBarSeparator::NewItemCaption() const {
  return LoadLocalizableResString(&dxSBAR_NEWSEPARATORCAPTION);
}

TdxBarLabel::TdxBarLabel(TComponent* AOwner) : TdxBarItem(AOwner) { FShowCaption = true; }

// ---- sub items

TCustomdxBarSubItem::TCustomdxBarSubItem(TComponent* AOwner) : TdxBarButtonLikeItem(AOwner) {
  FShowCaption = true;
  FItemLinks = std::make_unique<TdxBarSubMenuControlItemLinks>(BarManager(), this);
}

TCustomdxBarSubItem::~TCustomdxBarSubItem() {
  Destroying();
  FItemLinks.reset();
}

void TCustomdxBarSubItem::BarManagerChanged() { FItemLinks->SetBarManager(BarManager()); }

bool TCustomdxBarSubItem::CanContainItem(TdxBarItem* Item, std::string& ErrorText) {
  if (!Item->CanPlaceOn(1, nullptr, ErrorText)) return false;
  if (Item == this) {
    ErrorText = LoadLocalizableResString(&dxSBAR_RECURSIVEMENUS);
    return false;
  }
  if (TdxBarItemLinks* own = Item->ItemLinks(); own && own->ContainsLinksOwner(this)) {
    ErrorText = LoadLocalizableResString(&dxSBAR_RECURSIVEMENUS);
    return false;
  }
  return true;
}

std::string TdxBarSubItem::NewItemCaption() const {
  return LoadLocalizableResString(&dxSBAR_NEWSUBITEMCAPTION);
}

bool TdxBarSubItem::IsSameKindAs(TdxBarItem* Item) const {
  return dynamic_cast<TdxBarSubItem*>(Item) != nullptr;
}

// ---- container items

TdxBarItemLink* TCustomdxBarContainerItem::AddGeneratedLink(TdxBarItemLinks* Links,
                                                            TdxBarContainerLinkData* LinkData,
                                                            TdxBarItem* Item, int Index) {
  TdxBarItemLink* link = Links->InsertLink(Index);
  link->SetOriginLink(LinkData->ContainerLink);
  if (LinkData->ContainerLink) link->CopyRecentStateFrom(LinkData->ContainerLink);
  link->SetItem(Item);
  LinkData->GeneratedLinks.push_back(link);
  return link;
}

void TCustomdxBarContainerItem::EndItemsPopulation(TdxBarContainerLinkData* LinkData) {
  if (FPassCount > 0) --FPassCount;
  for (TdxBarItemLink* l : LinkData->GeneratedLinks) delete l;
  LinkData->GeneratedLinks.clear();
}

void TCustomdxBarContainerItem::ClearItemList() { FClearRequested = false; }

void TCustomdxBarContainerItem::BeginItemsPopulation() {
  if (FClearRequested) ClearItemList();
  if (FPassCount == 0 && OnGetData) OnGetData(this);
  ++FPassCount;
}

bool TCustomdxBarContainerItem::CanRecreateOnChange(TObject*) const { return FPassCount == 0; }

void TCustomdxBarContainerItem::FillLinks(TdxBarItemLinks* Links, TdxBarContainerLinkData* LinkData,
                                          int Index) {
  FPopulating = true;
  try {
    BeginItemsPopulation();
    AddLinksTo(Links, LinkData, Index);
  } catch (...) {
    FPopulating = false;
    throw;
  }
  FPopulating = false;
}

void TCustomdxBarContainerItem::ContentsChanged(TObject* Sender) {
  if (CanRecreateOnChange(Sender)) RecreateLinkControls();
}

TdxBarContainerItem::TdxBarContainerItem(TComponent* AOwner) : TCustomdxBarContainerItem(AOwner) {
  ItemLinks()->OnChange = TNotifyEvent::Bind(static_cast<TCustomdxBarContainerItem*>(this), &TCustomdxBarContainerItem::ContentsChanged);
}

bool TdxBarContainerItem::CanShowContents() const { return bool(OnGetData) || HasShowableLinks(); }

bool TdxBarContainerItem::IsSameKindAs(TdxBarItem* Item) const {
  return dynamic_cast<TdxBarContainerItem*>(Item) != nullptr;
}

bool TdxBarContainerItem::HasShowableLinks() const {
  for (int i = 0; i < ItemLinks()->Count(); ++i)
    if (TdxBarItem* item = ItemLinks()->LinkByIndex(i)->Item(); item && IsShowable(item))
      return true;
  return false;
}

bool TdxBarContainerItem::CanRecreateOnChange(TObject* Source) const {
  return TCustomdxBarContainerItem::CanRecreateOnChange(Source);
}

void TdxBarContainerItem::AddLinksTo(TdxBarItemLinks* Links, TdxBarContainerLinkData* LinkData,
                                     int Index) {
  if (Links == ItemLinks()) return;
  std::vector<TdxBarItemLink*> own = ItemLinks()->ShownLinks();
  Links->BeginUpdate();
  try {
    for (size_t i = 0; i < own.size(); ++i) {
      TdxBarItemLink* l = AddGeneratedLink(Links, LinkData, own[i]->Item(), Index + int(i));
      l->Assign(own[i]);
      l->SetBeginGroup(i == 0 && ReplacesOwnLink());
    }
  } catch (...) {
    Links->EndUpdate();
    throw;
  }
  Links->EndUpdate();
}

// ---- list items

TdxBarListItem::TdxBarListItem(TComponent* AOwner)
    : TCustomdxBarContainerItem(AOwner),
      FItems(std::make_unique<TStringList>()),
      FItemList(std::make_unique<TComponentList>(true)) {
  FItems->OnChange = TNotifyEvent::Bind(static_cast<TCustomdxBarContainerItem*>(this), &TCustomdxBarContainerItem::ContentsChanged);
}

TdxBarListItem::~TdxBarListItem() {
  FItems->OnChange = {};
  FItemList.reset();
}

bool TdxBarListItem::CanShowContents() const { return bool(OnGetData) || FItems->Count() > 0; }

void TdxBarListItem::ClearItemList() {
  bool firstHasLinks = FItemList->Count() > 0 &&
                       static_cast<TdxBarItem*>(FItemList->Items(0))->LinkCount() > 0;
  if (!firstHasLinks) FItemList->Clear();
  TCustomdxBarContainerItem::ClearItemList();
}

std::string TdxBarListItem::NumberPrefix(int Number) const {
  if (!FShowNumbers) return {};
  // 1..9, then A..Z; later entries get no accelerator.
  if (Number < 9) return "&" + std::string(1, char('1' + Number)) + " ";
  if (Number < 9 + 26) return "&" + std::string(1, char('A' + Number - 9)) + " ";
  return {};
}

std::string TdxBarListItem::DisplayTextAt(int Index) const {
  return ItemDisplayText(FItems->Strings(Index));
}

const TClassInfo* TdxBarListItem::ButtonClass() const {
  return FindClassInfo(typeid(TdxBarButton));
}

TdxBarButton* TdxBarListItem::CreateListButton(int StringIndex, int Number) {
  TComponent* owner = BarManager() ? BarManager()->Owner() : Owner();
  auto* button = static_cast<TdxBarButton*>(ButtonClass()->CreateComponent(owner));
  if (TdxBarDesignController* dc = BarDesignController())
    dc->TrackInternalItem(button, FItemList.get());
  else
    FItemList->Add(button);
  button->SetAction(Action());
  if (FShowCheck && StringIndex == FItemIndex) {
    button->SetButtonStyle(bsChecked);
    button->SetDown(true);
  }
  button->SetCaption(NumberPrefix(Number) + DisplayTextAt(StringIndex));
  button->SetHint(ItemHint(FItems->Strings(StringIndex)));
  button->SetTag(StringIndex);
  button->OnClick = TNotifyEvent::Bind(this, &TdxBarListItem::ListButtonClick);
  button->SetEnabled(Enabled());
  return button;
}

void TdxBarListItem::ListButtonClick(TObject* Sender) {
  auto* button = dynamic_cast<TComponent*>(Sender);
  if (!button) return;
  FItemIndex = int(button->Tag());
  // The item's own click, so list kinds can act after the application's handler.
  Click();
}

void TdxBarListItem::AddLinksTo(TdxBarItemLinks* Links, TdxBarContainerLinkData* LinkData,
                                int Index) {
  bool create = FItemList->Count() == 0;
  bool beginGroup = true;
  int k = 0;
  for (int i = 0; i < FItems->Count(); ++i) {
    if (FItems->Strings(i) == "-") {
      beginGroup = true;
      continue;
    }
    if (create) CreateListButton(i, k);
    if (k >= FItemList->Count()) break;
    auto* button = static_cast<TdxBarItem*>(FItemList->Items(k));
    TdxBarItemLink* l = AddGeneratedLink(Links, LinkData, button, Index + k);
    l->SetBeginGroup(beginGroup);
    beginGroup = false;
    ++k;
  }
}

void TdxBarListItem::Click() {
  if (!SelectedLink()) TCustomdxBarContainerItem::Click();
}

int TdxBarListItem::DataIndex() const {
  if (FItemIndex < 0 || FItemIndex >= FItems->Count()) return -1;
  int n = 0;
  for (int i = 0; i <= FItemIndex; ++i)
    if (FItems->Strings(i) != "-") ++n;
  return n - 1;
}

void TdxBarListItem::SetDataIndex(int Value) {
  if (FItems->Count() == 0) {
    FItemIndex = -1;
    return;
  }
  int n = -1;
  for (int i = 0; i < FItems->Count(); ++i) {
    if (FItems->Strings(i) != "-") ++n;
    if (n == Value) {
      FItemIndex = i;
      return;
    }
  }
  FItemIndex = FItems->Count();
}

// ---- window items

TdxBarItemControlClass dxBarButtonControlClass;

TdxBarItemControlClass TdxBarWindowItem::ControlClass(bool Vertical) const {
  return Vertical ? dxBarButtonControlClass : TdxBarItem::ControlClass(false);
}

void TdxBarWindowItem::SetText(const std::string& Value) {
  if (Value == FText) return;
  FText = Value;
  RepaintControls();
  DoChange();
  RepaintControls();
}

bool TdxBarWindowItem::FocusEditor(bool OnlyVisible) {
  for (int i = 0; i < LinkCount(); ++i) {
    TdxBarItemLink* l = LinkAt(i);
    TdxBarItemControl* c = l->Control();
    if (!c || !c->IsWindowControl()) continue;
    if (OnlyVisible && !(l->BarControl() && l->BarControl()->IsShowing())) continue;
    l->BarControl()->SetSelectedControl(c);
    return true;
  }
  return false;
}

void TdxBarWindowItem::DoChange() {
  if (!IsLoading() && OnChange) OnChange(this);
}
void TdxBarWindowItem::DoCurChange() {
  if (OnCurChange) OnCurChange(this);
}
void TdxBarWindowItem::DoEnter() {
  if (OnEnter) OnEnter(this);
}
void TdxBarWindowItem::DoExit() {
  if (OnExit) OnExit(this);
}
void TdxBarWindowItem::DoKeyDown(WORD& Key, TShiftState Shift) {
  if (OnKeyDown) OnKeyDown(this, Key, Shift);
}
void TdxBarWindowItem::DoKeyPress(char32_t& Key) {
  if (OnKeyPress) OnKeyPress(this, Key);
}
void TdxBarWindowItem::DoKeyUp(WORD& Key, TShiftState Shift) {
  if (OnKeyUp) OnKeyUp(this, Key, Shift);
}

std::string TdxBarWindowItem::CurrentText() const {
  TdxBarItemLink* l = SelectedLink();
  if (!l) return FText;
  TdxBarItemControl* c = l->Control();
  return c && c->IsWindowControl() ? c->WindowText() : std::string();
}

TdxBarItemLink* TdxBarWindowItem::EditingLink() const {
  TdxBarItemLink* l = SelectedLink();
  return l && l->Control() && l->Control()->IsWindowControl() && l->Control()->IsEditing() ? l
                                                                                           : nullptr;
}

void TdxBarWindowItem::PutCurrentText(const std::string& Value) {
  TdxBarItemLink* l = SelectedLink();
  if (!l) return SetText(Value);
  if (TdxBarItemControl* c = l->Control(); c && c->IsWindowControl()) c->SetWindowText(Value);
}
