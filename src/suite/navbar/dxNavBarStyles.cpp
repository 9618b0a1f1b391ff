#include "suite/navbar/dxNavBarStyles.h"

#include "suite/core/cxGraphics.h"
#include "suite/navbar/dxNavBar.h"

// ---- base style

TdxNavBarBaseStyle::TdxNavBarBaseStyle(TPersistent* AOwner)
    : TcxOwnedPersistent(AOwner), FFont(std::make_unique<TFont>()), FImage(std::make_unique<TPicture>()) {
  FFont->OnChange = TNotifyEvent::Bind(this, &TdxNavBarBaseStyle::FontChanged);
  FImage->OnChange = TNotifyEvent::Bind(this, &TdxNavBarBaseStyle::ImageChanged);
}

TdxNavBarBaseStyle::~TdxNavBarBaseStyle() {
  FFont->OnChange = nullptr;
  FImage->OnChange = nullptr;
}

void TdxNavBarBaseStyle::ResetValues() {
  FAssigning = true;
  FAlphaBlending = 255;
  FAlphaBlending2 = 255;
  FBackColor = 0xFFFFFF;
  FBackColor2 = 0xFFFFFF;
  FGradientMode = gmHorizontal;
  ResetFontToDefault(FFont.get());
  FFont->SetColor(clWindowText);
  FImage->Assign(nullptr);
  FHAlignment = TdxBarStyleHAlignment::haLeft;
  FVAlignment = TdxBarStyleVAlignment::vaCenter;
  FAssignedValues = {};
  FAssigning = false;
}

void TdxNavBarBaseStyle::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxNavBarBaseStyle*>(Source);
  if (!src) {
    TcxOwnedPersistent::Assign(Source);
    return;
  }
  SetAlphaBlending(src->AlphaBlending());
  SetAlphaBlending2(src->AlphaBlending2());
  SetAssignedValues(src->AssignedValues());
  SetBackColor(src->BackColor());
  SetBackColor2(src->BackColor2());
  SetGradientMode(src->GradientMode());
  FFont->Assign(src->Font());
  FImage->Assign(src->Image());
  SetHAlignment(src->HAlignment());
  SetVAlignment(src->VAlignment());
  FAssignedValues = src->AssignedValues();
  Changed(1);
}

void TdxNavBarBaseStyle::MarkAssigned(TdxBarStyleAssignedValue Value) {
  if (TracksAssignedValues()) FAssignedValues.Include(Value);
}

void TdxNavBarBaseStyle::Changed(int ChangeType) {
  if (OnChange) OnChange(this, ChangeType);
}

void TdxNavBarBaseStyle::SetAlphaBlending(uint8_t Value) {
  if (FAlphaBlending == Value) return;
  FAlphaBlending = Value;
  MarkAssigned(savAlphaBlending);
  Changed(2);
}

void TdxNavBarBaseStyle::SetAlphaBlending2(uint8_t Value) {
  if (FAlphaBlending2 == Value) return;
  FAlphaBlending2 = Value;
  MarkAssigned(savAlphaBlending2);
  Changed(2);
}

void TdxNavBarBaseStyle::SetAssignedValues(TdxBarStyleAssignedValues Value) {
  if (FAssignedValues == Value) return;
  FAssignedValues = Value;
  Changed(1);
}

void TdxNavBarBaseStyle::SetBackColor(TColor Value) {
  if (FBackColor == Value) return;
  FBackColor = Value;
  MarkAssigned(savBackColor);
  Changed(2);
}

void TdxNavBarBaseStyle::SetBackColor2(TColor Value) {
  if (FBackColor2 == Value) return;
  FBackColor2 = Value;
  MarkAssigned(savBackColor2);
  Changed(2);
}

void TdxNavBarBaseStyle::SetGradientMode(TdxBarStyleGradientMode Value) {
  if (FGradientMode == Value) return;
  FGradientMode = Value;
  MarkAssigned(savGradientMode);
  Changed(2);
}

void TdxNavBarBaseStyle::SetFont(TFont* Value) {
  FFont->Assign(Value);
  MarkAssigned(savFont);
  Changed(1);
}

void TdxNavBarBaseStyle::SetImage(TPicture* Value) {
  FImage->Assign(Value);
  Changed(1);
}

void TdxNavBarBaseStyle::SetHAlignment(TdxBarStyleHAlignment Value) {
  if (FHAlignment == Value) return;
  FHAlignment = Value;
  MarkAssigned(savHAlignment);
  Changed(2);
}

void TdxNavBarBaseStyle::SetVAlignment(TdxBarStyleVAlignment Value) {
  if (FVAlignment == Value) return;
  FVAlignment = Value;
  MarkAssigned(savVAlignment);
  Changed(2);
}

void TdxNavBarBaseStyle::FontChanged(TObject*) {
  if (FAssigning) return;
  MarkAssigned(savFont);
  Changed(1);
}

void TdxNavBarBaseStyle::ImageChanged(TObject*) {
  if (FAssigning) return;
  MarkAssigned(savImage);
  Changed(1);
}

// ---- default styles

void TdxNavBarDefaultStyle::Changed(int ChangeType) {
  TdxNavBarBaseStyle::Changed(ChangeType);
  if (auto* owner = dynamic_cast<TdxNavBarDefaultStyles*>(Owner())) owner->StyleChanged(this, ChangeType);
  FHoldsViewDefaults = false;
}

TdxNavBarDefaultStyles::TdxNavBarDefaultStyles(TPersistent* AOwner) : TcxOwnedPersistent(AOwner) { CreateStyles(); }

TdxNavBarDefaultStyles::~TdxNavBarDefaultStyles() { DestroyStyles(); }

void TdxNavBarDefaultStyles::CreateStyles() {
  auto* source = dynamic_cast<IdxNavBarDefaultStyleSource*>(Owner());
  for (int i = 0; i < StyleCount; ++i) {
    auto style = std::make_unique<TdxNavBarDefaultStyle>(this);
    if (source) {
      TdxNavBarDefaultStyle* s = style.get();
      style->ResetProc = [source, i, s] { source->AssignDefaultStyle(i, s); };
    }
    FStyles.push_back(std::move(style));
  }
}

void TdxNavBarDefaultStyles::DestroyStyles() { FStyles.clear(); }

void TdxNavBarDefaultStyles::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxNavBarDefaultStyles*>(Source);
  if (!src) {
    TcxOwnedPersistent::Assign(Source);
    return;
  }
  for (int i = 0; i < Count() && i < src->Count(); ++i) StyleAt(i)->Assign(src->StyleAt(i));
}

void TdxNavBarDefaultStyles::ResetStyles(bool OnlyUntouched) {
  BeginUpdate();
  try {
    for (auto& style : FStyles) {
      if (style->ResetProc && (style->HoldsViewDefaults() || !OnlyUntouched)) {
        style->ResetProc();
        style->SetHoldsViewDefaults(true);
      }
    }
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TdxNavBarDefaultStyles::StyleChanged(TdxNavBarDefaultStyle*, int ChangeType) {
  if (FUpdateCount == 0 && OnChange) OnChange(this, ChangeType);
}

// ---- style items and the repository

TdxNavBarStyleItem::TdxNavBarStyleItem(TComponent* AOwner)
    : TdxNavBarComponentCollectionItem(AOwner),
      FStyle(std::make_unique<TdxNavBarStyle>(this)),
      FHandlers(std::make_unique<TcxEventHandlerCollection>()) {
  FStyle->OnChange = [this](TObject*, int) {
    if (FHandlers) FHandlers->CallAll(this, nullptr);
  };
}

TdxNavBarStyleItem::~TdxNavBarStyleItem() {
  // Slots that refer to this item hear of it through their free notification, which comes later.
  FHandlers.reset();
  FStyle->OnChange = nullptr;
}

void TdxNavBarStyleItem::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxNavBarStyleItem*>(Source))
    SetStyle(src->Style());
  else
    TdxNavBarComponentCollectionItem::Assign(Source);
}

void TdxNavBarStyleItem::AddChangeHandler(const TcxEventHandler& Handler) {
  if (FHandlers) FHandlers->Subscribe(Handler);
}

void TdxNavBarStyleItem::RemoveChangeHandler(const TcxEventHandler& Handler) {
  if (FHandlers) FHandlers->Unsubscribe(Handler);
}

TcxComponentCollection* TdxNavBarStyleItem::CollectionFromParent(TComponent* AParent) {
  auto* bar = dynamic_cast<TdxCustomNavBar*>(AParent);
  return bar ? bar->OptionsStyle()->CustomStyleRepository() : nullptr;
}

TdxNavBarStyleRepository::TdxNavBarStyleRepository(TComponent* AParentComponent)
    : TdxNavBarComponentCollection(AParentComponent, NavBarClassInfo<TdxNavBarStyleItem>()) {}

// ---- custom-style slots

TdxNavBarBaseCustomStyles::~TdxNavBarBaseCustomStyles() {
  OnChange = nullptr;
  for (int i = 0; i < int(FStyles.size()); ++i) SetStyleAt(i, nullptr);
}

void TdxNavBarBaseCustomStyles::EnsureSlots() const {
  // The slot count is virtual, so the array is sized on first use rather than in the constructor.
  if (FStyles.empty()) FStyles.assign(size_t(StyleCount()), nullptr);
}

TdxNavBarStyleItem* TdxNavBarBaseCustomStyles::StyleAt(int Index) const {
  EnsureSlots();
  return FStyles.at(size_t(Index));
}

TcxEventHandler TdxNavBarBaseCustomStyles::Handler() {
  return TcxEventHandler::Bind(this, &TdxNavBarBaseCustomStyles::StyleItemChanged);
}

void TdxNavBarBaseCustomStyles::SetStyleAt(int Index, TdxNavBarStyleItem* Value) {
  EnsureSlots();
  TdxNavBarStyleItem*& slot = FStyles.at(size_t(Index));
  if (slot == Value) return;
  Unsubscribe(Index);
  if (slot) FreeNotificator()->Unwatch(slot);
  slot = Value;
  if (slot) FreeNotificator()->Watch(slot);
  Subscribe(Index);
  if (OnChange) OnChange(this, 0);
}

void TdxNavBarBaseCustomStyles::Subscribe(int Index) {
  if (TdxNavBarStyleItem* item = FStyles[size_t(Index)]) item->AddChangeHandler(Handler());
}

void TdxNavBarBaseCustomStyles::Unsubscribe(int Index) {
  if (TdxNavBarStyleItem* item = FStyles[size_t(Index)]) item->RemoveChangeHandler(Handler());
}

void TdxNavBarBaseCustomStyles::StyleItemChanged(TObject*, TcxEventArgs*) {
  if (OnChange) OnChange(this, 0);
}

void TdxNavBarBaseCustomStyles::FreeNotification(TComponent* AComponent) {
  EnsureSlots();
  for (int i = 0; i < int(FStyles.size()); ++i)
    if (FStyles[size_t(i)] == AComponent) {
      // The item is gone: nothing to unsubscribe from or unwatch.
      FStyles[size_t(i)] = nullptr;
      if (OnChange) OnChange(this, 0);
    }
}

void TdxNavBarBaseCustomStyles::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxNavBarBaseCustomStyles*>(Source);
  if (!src) {
    TdxNavBarNexusPersistent::Assign(Source);
    return;
  }
  for (int i = 0; i < StyleCount(); ++i) SetStyleAt(i, i < src->StyleCount() ? src->StyleAt(i) : nullptr);
}

// ---- style options

TdxNavBarStyleOptions::TdxNavBarStyleOptions(TComponent* ANavBar)
    : TcxOwnedPersistent(ANavBar),
      FRepository(std::make_unique<TdxNavBarStyleRepository>(ANavBar)),
      FDefaultStyles(std::make_unique<TdxNavBarDefaultStyles>(ANavBar)),
      FCustomStyles(std::make_unique<TdxNavBarCustomStyles>(ANavBar)) {
  FRepository->OnChange = [this](TObject*, TComponent*, TcxComponentCollectionNotification) { Changed(); };
  FDefaultStyles->OnChange = [this](TObject*, int) { Changed(); };
  FCustomStyles->OnChange = [this](TObject*, int) { Changed(); };
}

TdxNavBarStyleOptions::~TdxNavBarStyleOptions() {
  OnChange = nullptr;
  FCustomStyles.reset();
  FDefaultStyles.reset();
  FRepository.reset();
}

void TdxNavBarStyleOptions::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxNavBarStyleOptions*>(Source);
  if (!src) {
    TcxOwnedPersistent::Assign(Source);
    return;
  }
  SetDefaultStyles(src->DefaultStyles());
  SetCustomStyles(src->CustomStyles());
  SetCustomStyleRepository(src->CustomStyleRepository());
}

void TdxNavBarStyleOptions::Changed() { InvokeNotifyEvent(this, OnChange); }
