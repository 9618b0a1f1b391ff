#include "suite/core/cxStyles.h"

#include <algorithm>

#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"

namespace {
template <class V, class X>
bool Contains(const V& v, const X& x) {
  return std::find(v.begin(), v.end(), x) != v.end();
}
template <class T>
void Erase(std::vector<T*>& v, const T* x) {
  v.erase(std::remove(v.begin(), v.end(), x), v.end());
}
}  // namespace

// ---- TcxCustomStyle

TcxCustomStyle::TcxCustomStyle(TComponent* AOwner) : TComponent(AOwner) {}

TcxCustomStyle::~TcxCustomStyle() {
  // Every user drops its links to the style; one that does not take itself off is taken off.
  while (!FWatchers.empty()) {
    IcxStyleWatcher* w = FWatchers.back();
    w->StyleRemoving(this);
    if (!FWatchers.empty() && FWatchers.back() == w) FWatchers.pop_back();
  }
  SetStyleRepository(nullptr);
}

void TcxCustomStyle::SetStyleRepository(TcxStyleRepository* Value) {
  if (FStyleRepository == Value) return;
  if (FStyleRepository) Erase(FStyleRepository->FItems, this);
  FStyleRepository = Value;
  if (Value) Value->FItems.push_back(this);
}

int TcxCustomStyle::Index() const {
  if (!FStyleRepository) return -1;
  auto& v = FStyleRepository->FItems;
  return int(std::find(v.begin(), v.end(), this) - v.begin());
}

TComponent* TcxCustomStyle::GetParentComponent() const { return FStyleRepository; }

void TcxCustomStyle::SetParentComponent(TComponent* Value) {
  if (ComponentState().Contains(csLoading)) return;
  SetStyleRepository(dynamic_cast<TcxStyleRepository*>(Value));
}

void TcxCustomStyle::ReadState(TReader* Reader) {
  if (auto* r = dynamic_cast<TcxStyleRepository*>(Reader->Parent())) SetStyleRepository(r);
  TComponent::ReadState(Reader);
}

void TcxCustomStyle::NotifyStyleModified() {
  std::vector<IcxStyleWatcher*> snapshot = FWatchers;
  for (auto it = snapshot.rbegin(); it != snapshot.rend(); ++it)
    if (Contains(FWatchers, *it)) (*it)->StyleModified(this);
}

void TcxCustomStyle::AddWatcher(IcxStyleWatcher* AWatcher) {
  if (AWatcher && !Contains(FWatchers, AWatcher)) FWatchers.push_back(AWatcher);
}

void TcxCustomStyle::RemoveWatcher(IcxStyleWatcher* AWatcher) { Erase(FWatchers, AWatcher); }

// ---- TcxStyle

TcxStyle::TcxStyle(TComponent* AOwner)
    : TcxCustomStyle(AOwner), FBitmap(std::make_unique<TBitmap>()),
      FFont(std::make_unique<TFont>()) {
  FBitmap->OnChange = TNotifyEvent::Bind(this, &TcxStyle::BitmapChanged);
  FFont->OnChange = TNotifyEvent::Bind(this, &TcxStyle::FontChanged);
}

TcxStyle::~TcxStyle() {
  FFont->OnChange = nullptr;
  FBitmap->OnChange = nullptr;
}

void TcxStyle::DefineProperties(TFiler* Filer) {
  TcxCustomStyle::DefineProperties(Filer);
  Filer->DefineBinaryProperty(
      "Bitmap", [this](TStream* S) { FBitmap->LoadFromStream(S); },
      [this](TStream* S) { FBitmap->SaveToStream(S); },
      FAssignedValues.Contains(svBitmap) && !FBitmap->Empty());
}

void TcxStyle::SetValueAssigned(TcxStyleValue V, bool On) {
  if (On)
    FAssignedValues.Include(V);
  else
    FAssignedValues.Exclude(V);
}

void TcxStyle::SetAssignedValues(TcxStyleValues Value) {
  if (FAssignedValues == Value) return;
  FAssignedValues = Value;
  NotifyStyleModified();
}

void TcxStyle::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  SetValueAssigned(svColor, Value != clDefault);
  NotifyStyleModified();
}

void TcxStyle::SetTextColor(TColor Value) {
  if (FTextColor == Value) return;
  FTextColor = Value;
  SetValueAssigned(svTextColor, Value != clDefault);
  NotifyStyleModified();
}

void TcxStyle::SetFont(TFont* Value) {
  if (Value) FFont->Assign(Value);
}

void TcxStyle::FontChanged(TObject*) {
  SetValueAssigned(svFont, true);
  NotifyStyleModified();
}

void TcxStyle::SetBitmap(TBitmap* Value) {
  if (Value == FBitmap.get()) return;
  // One report for the whole assignment, whatever the bitmap tells on the way.
  FBitmap->OnChange = nullptr;
  try {
    if (Value)
      FBitmap->Assign(Value);
    else
      FBitmap->SetSize(0, 0);
  } catch (...) {
    FBitmap->OnChange = TNotifyEvent::Bind(this, &TcxStyle::BitmapChanged);
    throw;
  }
  FBitmap->OnChange = TNotifyEvent::Bind(this, &TcxStyle::BitmapChanged);
  BitmapChanged(FBitmap.get());
}

void TcxStyle::BitmapChanged(TObject*) {
  SetValueAssigned(svBitmap, !FBitmap->Empty());
  NotifyStyleModified();
}

void TcxStyle::ApplyScale(int M, int D) { FFont->SetHeight(MulDiv(FFont->Height(), M, D)); }

void TcxStyle::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TcxStyle*>(Source);
  if (!s) {
    TcxCustomStyle::Assign(Source);
    return;
  }
  SetBitmap(s->Bitmap());
  SetColor(s->Color());
  SetFont(s->Font());
  SetTextColor(s->TextColor());
  SetAssignedValues(s->AssignedValues());
}

void TcxStyle::ResetValues() {
  FAssignedValues = {};
  FBitmap->OnChange = nullptr;
  FBitmap->SetSize(0, 0);
  FBitmap->OnChange = TNotifyEvent::Bind(this, &TcxStyle::BitmapChanged);
  FColor = clDefault;
  FTextColor = clDefault;
  NotifyStyleModified();
}

// ---- TcxCustomStyles

TcxCustomStyles::TcxCustomStyles(TPersistent* AOwner) : TcxInterfacedPersistent(AOwner) {}

TcxCustomStyles::~TcxCustomStyles() {
  FDestroying = true;
  while (!FItems.empty()) DeleteLink(FItems.size() - 1);
  SetStyleSheet(nullptr);
}

void TcxCustomStyles::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TcxCustomStyles*>(Source)) {
    SetStyleSheet(s->StyleSheet());
    return;
  }
  TcxInterfacedPersistent::Assign(Source);
}

TcxCustomStyle* TcxCustomStyles::Values(int Index) const {
  for (const TLink& l : FItems)
    if (l.Index == Index) return l.Style;
  return nullptr;
}

void TcxCustomStyles::SetValues(int Index, TcxCustomStyle* Value) {
  for (std::size_t i = 0; i < FItems.size(); ++i)
    if (FItems[i].Index == Index) {
      if (FItems[i].Style == Value) return;
      if (!Value) {
        DeleteLink(i);
        return;
      }
      TcxCustomStyle* old = FItems[i].Style;
      FItems[i].Style = Value;
      bool stillUsed = std::any_of(FItems.begin(), FItems.end(),
                                   [&](const TLink& l) { return l.Style == old; });
      if (!stillUsed) old->RemoveWatcher(this);
      Value->AddWatcher(this);
      NotifyIndexChanged(Index);
      return;
    }
  if (!Value) return;
  FItems.push_back({Index, Value});
  Value->AddWatcher(this);
  NotifyIndexChanged(Index);
}

TcxCustomStyle* TcxCustomStyles::EffectiveValues(int Index) const {
  std::vector<const TcxCustomStyles*> seen;
  for (const TcxCustomStyles* s = this; s && !Contains(seen, s);
       s = s->FStyleSheet ? s->FStyleSheet->GetStyles() : nullptr) {
    if (TcxCustomStyle* v = s->Values(Index)) return v;
    seen.push_back(s);
  }
  return nullptr;
}

void TcxCustomStyles::DeleteLink(std::size_t Position) {
  TLink link = FItems[Position];
  FItems.erase(FItems.begin() + std::ptrdiff_t(Position));
  bool stillUsed = std::any_of(FItems.begin(), FItems.end(),
                               [&](const TLink& l) { return l.Style == link.Style; });
  if (!stillUsed) link.Style->RemoveWatcher(this);
  NotifyIndexChanged(link.Index);
}

void TcxCustomStyles::StyleModified(TcxCustomStyle* AStyle) {
  std::vector<int> indexes;
  for (const TLink& l : FItems)
    if (l.Style == AStyle) indexes.push_back(l.Index);
  for (int i : indexes) NotifyIndexChanged(i);
}

void TcxCustomStyles::StyleRemoving(TcxCustomStyle* AStyle) {
  for (std::size_t i = FItems.size(); i-- > 0;)
    if (i < FItems.size() && FItems[i].Style == AStyle) DeleteLink(i);
  AStyle->RemoveWatcher(this);
}

void TcxCustomStyles::NotifyIndexChanged(int Index) {
  if (FDestroying) return;
  StyleValueChanged(Index);
  if (FOwnerStyleSheet) FOwnerStyleSheet->DoStyleChanged(Index);
}

void TcxCustomStyles::CollectIndexes(std::vector<int>& Indexes) const {
  std::vector<const TcxCustomStyles*> seen;
  for (const TcxCustomStyles* s = this; s && !Contains(seen, s);
       s = s->FStyleSheet ? s->FStyleSheet->GetStyles() : nullptr) {
    seen.push_back(s);
    for (const TLink& l : s->FItems)
      if (std::find(Indexes.begin(), Indexes.end(), l.Index) == Indexes.end())
        Indexes.push_back(l.Index);
  }
}

bool TcxCustomStyles::IsValidStyleSheet(TcxCustomStyleSheet* Value) const {
  if (!Value) return true;
  if (Value == FOwnerStyleSheet) return false;
  TcxCustomStyles* styles = Value->GetStyles();
  if (typeid(*styles) != typeid(*this)) return false;
  // Following the chain of sheets from Value must never come back to this object's sheet.
  std::vector<TcxCustomStyleSheet*> seen;
  for (TcxCustomStyleSheet* s = Value; s; s = s->GetStyles()->StyleSheet()) {
    if (FOwnerStyleSheet && s == FOwnerStyleSheet) return false;
    if (Contains(seen, s)) return false;
    seen.push_back(s);
  }
  return true;
}

void TcxCustomStyles::SetStyleSheet(TcxCustomStyleSheet* Value) {
  if (Value == FStyleSheet || !IsValidStyleSheet(Value)) return;
  std::vector<int> indexes;
  if (FStyleSheet) {
    FStyleSheet->RemoveUser(this);
    if (!FDestroying) FStyleSheet->GetStyles()->CollectIndexes(indexes);
  }
  FStyleSheet = Value;
  if (Value) {
    Value->AddUser(this);
    Value->GetStyles()->CollectIndexes(indexes);
  }
  for (int i : indexes) NotifyIndexChanged(i);
}

// ---- TcxCustomStyleSheet

TcxCustomStyleSheet::TcxCustomStyleSheet(TComponent* AOwner)
    : TcxComponent(AOwner),
      FBuiltIn(AOwner && AOwner->ComponentState().Contains(csDesigning) &&
               !AOwner->ComponentState().Contains(csLoading)) {}

TcxCustomStyleSheet::~TcxCustomStyleSheet() {
  while (!FUsers.empty()) FUsers.back()->SetStyleSheet(nullptr);
  SetStyleRepository(nullptr);
  FStyles.reset();
}

TcxCustomStyles* TcxCustomStyleSheet::GetStyles() {
  // Made on first use: the class of the styles object is the derived sheet's choice.
  if (!FStyles) {
    FStyles.reset(CreateStyles());
    FStyles->SetOwnerStyleSheet(this);
  }
  return FStyles.get();
}

void TcxCustomStyleSheet::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TcxCustomStyleSheet*>(Source)) {
    SetCaption(s->FCaption);
    TcxCustomStyles* mine = GetStyles();
    TcxCustomStyles* theirs = s->GetStyles();
    for (const auto& l : theirs->FItems) mine->SetValues(l.Index, l.Style);
    for (std::size_t i = mine->FItems.size(); i-- > 0;)
      if (i < mine->FItems.size() && !theirs->Values(mine->FItems[i].Index)) mine->DeleteLink(i);
    return;
  }
  TcxComponent::Assign(Source);
}

std::string TcxCustomStyleSheet::Caption() const { return FCaption.empty() ? Name() : FCaption; }

void TcxCustomStyleSheet::SetCaption(const std::string& Value) {
  if (FCaption == Value) return;
  FCaption = SameText(Value, Name()) ? std::string() : Value;
}

void TcxCustomStyleSheet::SetStyleRepository(TcxStyleRepository* Value) {
  if (FStyleRepository == Value) return;
  if (FStyleRepository) Erase(FStyleRepository->FStyleSheets, this);
  FStyleRepository = Value;
  if (Value) Value->FStyleSheets.push_back(this);
}

TComponent* TcxCustomStyleSheet::GetParentComponent() const { return FStyleRepository; }

void TcxCustomStyleSheet::SetParentComponent(TComponent* Value) {
  if (ComponentState().Contains(csLoading)) return;
  SetStyleRepository(dynamic_cast<TcxStyleRepository*>(Value));
}

void TcxCustomStyleSheet::ReadState(TReader* Reader) {
  if (auto* r = dynamic_cast<TcxStyleRepository*>(Reader->Parent())) SetStyleRepository(r);
  TcxComponent::ReadState(Reader);
}

void TcxCustomStyleSheet::DefineProperties(TFiler* Filer) {
  TcxComponent::DefineProperties(Filer);
  Filer->DefineProperty(
      "BuiltIn", [this](TReader* R) { FBuiltIn = R->ReadBoolean(); },
      [this](TWriter* W) { W->WriteBoolean(FBuiltIn); }, true);
}

void TcxCustomStyleSheet::CollectForeignOwners(std::vector<TComponent*>& List) {
  for (const auto& l : GetStyles()->FItems) {
    TComponent* o = l.Style->Owner();
    if (o && o != Owner() && !Contains(List, o)) List.push_back(o);
  }
}

void TcxCustomStyleSheet::AddUser(TcxCustomStyles* AUser) {
  if (!Contains(FUsers, AUser)) FUsers.push_back(AUser);
}

void TcxCustomStyleSheet::RemoveUser(TcxCustomStyles* AUser) { Erase(FUsers, AUser); }

void TcxCustomStyleSheet::DoStyleChanged(int Index) {
  std::vector<TcxCustomStyles*> snapshot = FUsers;
  for (TcxCustomStyles* u : snapshot)
    if (Contains(FUsers, u)) u->NotifyIndexChanged(Index);
  UpdateFakeLinks();
}

// ---- TcxStyleRepository

TcxStyleRepository::TcxStyleRepository(TComponent* AOwner) : TcxScalableComponent(AOwner) {
  SetScalable(false);
}

TcxStyleRepository::~TcxStyleRepository() {
  while (!FItems.empty()) delete FItems.back();
  while (!FStyleSheets.empty()) delete FStyleSheets.back();
}

void TcxStyleRepository::ApplyScale(int M, int D) {
  for (TcxCustomStyle* s : FItems) s->ApplyScale(M, D);
}

TcxCustomStyle* TcxStyleRepository::NewStyle(const TClassInfo* AStyleClass) {
  return NewStyleOwned(AStyleClass, this);
}

TcxCustomStyle* TcxStyleRepository::NewStyleOwned(const TClassInfo* AStyleClass,
                                                  TComponent* AOwner) {
  if (!AStyleClass || !AStyleClass->CreateComponent) return nullptr;
  TComponent* c = AStyleClass->CreateComponent(AOwner);
  auto* style = dynamic_cast<TcxCustomStyle*>(c);
  if (!style) {
    delete c;
    return nullptr;
  }
  style->SetStyleRepository(this);
  return style;
}

TcxCustomStyleSheet* TcxStyleRepository::NewStyleSheet(const TClassInfo* ASheetClass) {
  return NewStyleSheetOwned(ASheetClass, this);
}

TcxCustomStyleSheet* TcxStyleRepository::NewStyleSheetOwned(const TClassInfo* ASheetClass,
                                                            TComponent* AOwner) {
  if (!ASheetClass || !ASheetClass->CreateComponent) return nullptr;
  TComponent* c = ASheetClass->CreateComponent(AOwner);
  auto* sheet = dynamic_cast<TcxCustomStyleSheet*>(c);
  if (!sheet) {
    delete c;
    return nullptr;
  }
  sheet->SetStyleRepository(this);
  return sheet;
}

void TcxStyleRepository::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (TcxCustomStyle* s : std::vector<TcxCustomStyle*>(FItems))
    if (s->Owner() == Root) Proc(s);
  for (TcxCustomStyleSheet* s : std::vector<TcxCustomStyleSheet*>(FStyleSheets))
    if (s->Owner() == Root) Proc(s);
}

// ---- unit start-up

namespace {
int gStylesUnitCount = 0;
}

void cxStylesInitialize() {
  if (gStylesUnitCount++ > 0) return;
  RegisterEnumNames<TcxStyleValue>({"svBitmap", "svColor", "svFont", "svTextColor"});
  // A style's font is stored in descriptions; publish the font's own values unless the control
  // library did already.
  if (!FindClassInfo(typeid(TFont)) || !GetPropInfo(FindClassInfo(typeid(TFont)), "Name")) {
    if (!FindClassInfo(typeid(TFont))) RegisterClass<TFont, TPersistent>();
    if (!FindEnumInfo(typeid(TFontStyle)))
      RegisterEnumNames<TFontStyle>({"fsBold", "fsItalic", "fsUnderline", "fsStrikeOut"});
    Published<TFont>()
        .Property("Charset", &TFont::Charset, &TFont::SetCharset)
        .Property("Color", &TFont::Color, &TFont::SetColor)
        .Idents(ColorIdentMap())
        .Property("Height", &TFont::Height, &TFont::SetHeight)
        .Property("Name", &TFont::Name, &TFont::SetName)
        .Property("Style", &TFont::Style, &TFont::SetStyle)
        .Default(TFontStyles{});
  }
  RegisterClass<TcxCustomStyle, TComponent>();
  RegisterClass<TcxStyle, TcxCustomStyle>();
  Published<TcxStyle>()
      .Property("AssignedValues", &TcxStyle::AssignedValues, &TcxStyle::SetAssignedValues)
      .Default(TcxStyleValues{})
      .Property("Color", &TcxStyle::Color, &TcxStyle::SetColor)
      .Idents(ColorIdentMap())
      .Stored([](TcxStyle* s) { return s->AssignedValues().Contains(svColor); })
      .Property("Font", &TcxStyle::Font)
      .Stored([](TcxStyle* s) { return s->AssignedValues().Contains(svFont); })
      .Property("TextColor", &TcxStyle::TextColor, &TcxStyle::SetTextColor)
      .Idents(ColorIdentMap())
      .Stored([](TcxStyle* s) { return s->AssignedValues().Contains(svTextColor); });
  RegisterClass<TcxCustomStyleSheet, TcxComponent>();
  Published<TcxCustomStyleSheet>()
      .Property("Caption", &TcxCustomStyleSheet::Caption, &TcxCustomStyleSheet::SetCaption)
      .Stored(&TcxCustomStyleSheet::IsCaptionStored);
  RegisterClass<TcxStyleRepository, TcxScalableComponent>();
  Published<TcxStyleRepository>()
      .Property("Scalable", &TcxStyleRepository::Scalable, &TcxStyleRepository::SetScalable)
      .Default(0);
}

void cxStylesFinalize() {
  if (gStylesUnitCount == 0 || --gStylesUnitCount > 0) return;
}
