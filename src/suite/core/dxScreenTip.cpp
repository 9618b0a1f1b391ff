#include "suite/core/dxScreenTip.h"

#include "platform/gui/Menus.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

namespace {
int gUnitCount = 0;

TcxCustomHintStyleController* ControllerOf(const TdxScreenTipStyle* Style) {
  return Style ? Style->Controller() : nullptr;
}
}  // namespace

// ---- bands

TdxCustomScreenTipBand::TdxCustomScreenTipBand(TdxScreenTipBandType ABandType)
    : FBandType(ABandType), FGlyph(std::make_unique<TBitmap>()) {
  FGlyph->SetTransparent(true);
}

TdxCustomScreenTipBand::~TdxCustomScreenTipBand() = default;

void TdxCustomScreenTipBand::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxCustomScreenTipBand*>(Source);
  if (!src) return TPersistent::Assign(Source);
  FText = src->FText;
  FTextAlign = src->FTextAlign;
  FGlyph->Assign(src->FGlyph.get());
  Changed();
}

void TdxCustomScreenTipBand::SetGlyph(TBitmap* Value) {
  FGlyph->Assign(Value);
  Changed();
}

void TdxCustomScreenTipBand::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  Changed();
}

void TdxCustomScreenTipBand::SetTextAlign(TdxScreenTipBandTextAlign Value) {
  if (FTextAlign == Value) return;
  FTextAlign = Value;
  Changed();
}

void TdxCustomScreenTipBand::Changed() {
  if (OnChange) OnChange(this);
}

TFont* TdxCustomScreenTipBand::Font() const {
  TdxScreenTipRepository* r = Repository();
  return r ? r->BandFont(FBandType) : Screen->HintFont();
}

bool TdxCustomScreenTipBand::IsFontColorDefault() const { return Font()->Color() == dxScreenTipDefaultFontColor; }

TdxScreenTipRepository* TdxScreenTipBand::Repository() const { return FScreenTip->Repository(); }
TPersistent* TdxScreenTipBand::GetOwner() const { return FScreenTip; }
TPersistent* TdxScreenTipFooterBand::GetOwner() const { return FRepository; }

// ---- screen tip

TdxScreenTip::TdxScreenTip(TComponent* AOwner) : TcxComponentCollectionItem(AOwner) {
  for (int i = 0; i < 3; ++i) FBands[i] = std::make_unique<TdxScreenTipBand>(this, TdxScreenTipBandType(i));
}

TdxScreenTip::~TdxScreenTip() = default;

void TdxScreenTip::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxScreenTip*>(Source);
  if (!src) return TcxComponentCollectionItem::Assign(Source);
  for (int i = 0; i < 3; ++i) FBands[i]->Assign(src->FBands[i].get());
  FUseHintAsHeader = src->FUseHintAsHeader;
  FUseStandardFooter = src->FUseStandardFooter;
  FWidth = src->FWidth;
}

void TdxScreenTip::SetName(const std::string& NewName) {
  std::string old = Name();
  TcxComponentCollectionItem::SetName(NewName);
  auto ownerLoading = [&] {
    auto* c = dynamic_cast<TControl*>(Owner());
    return c && c->ComponentState().Contains(csLoading);
  };
  if (!ComponentState().Contains(csLoading) && Header()->Text() == old && !ownerLoading())
    Header()->SetText(NewName);
}

void TdxScreenTip::DisplayText(std::string& Text) const {
  Text = Format("%s - '%s'", {Name(), Header()->Text()});
}

TdxCustomScreenTipBand* TdxScreenTip::BandOf(TdxScreenTipBandType BandType) const {
  if (BandType == stbFooter && FUseStandardFooter)
    if (TdxScreenTipRepository* r = Repository()) return r->StandardFooter();
  return FBands[BandType].get();
}

TdxScreenTipCollection* TdxScreenTip::OwningCollection() const {
  return dynamic_cast<TdxScreenTipCollection*>(Collection());
}

TdxScreenTipRepository* TdxScreenTip::Repository() const {
  TdxScreenTipCollection* c = OwningCollection();
  return c ? dynamic_cast<TdxScreenTipRepository*>(c->ParentComponent()) : nullptr;
}

int TdxScreenTip::EffectiveWidth() const {
  if (FWidth != 0) return FWidth;
  return ScaleByCurrentDPI(Description()->HasGlyph() ? 318 : 210);
}

TcxComponentCollection* TdxScreenTip::CollectionFromParent(TComponent* AParent) {
  auto* r = dynamic_cast<TdxScreenTipRepository*>(AParent);
  return r ? r->Items() : nullptr;
}

TdxScreenTipCollection::TdxScreenTipCollection(TdxScreenTipRepository* ARepository)
    : TcxComponentCollection(ARepository, FindClassInfo(typeid(TdxScreenTip))) {}

void TdxScreenTipCollection::AssignItemName(TcxComponentCollectionItem* Item) {
  TComponent* repository = ParentComponent();
  std::string name;
  CreateUniqueName(repository ? repository->Owner() : nullptr, repository, Item, "Tdx", "", name);
  Item->SetName(name);
}

// ---- repository

TdxScreenTipRepository::TdxScreenTipRepository(TComponent* AOwner) : TComponent(AOwner) {
  FDefaultFont = std::make_unique<TFont>();
  for (int i = 0; i < 3; ++i) {
    auto type = TdxScreenTipBandType(i);
    FFonts[i] = std::make_unique<TFont>();
    FFonts[i]->Assign(BandFont(type));
    FFonts[i]->OnChange = [this, type](TObject*) { FontChanged(type); };
  }
  FItems.reset(CreateItems());
  FStandardFooter = std::make_unique<TdxScreenTipFooterBand>(this);
}

TdxScreenTipRepository::~TdxScreenTipRepository() {
  FItems.reset();
}

TdxScreenTipCollection* TdxScreenTipRepository::CreateItems() { return new TdxScreenTipCollection(this); }

void TdxScreenTipRepository::FontChanged(TdxScreenTipBandType BandType) {
  if (!ComponentState().Contains(csLoading)) FAssignedFonts.Include(BandType);
}

TFont* TdxScreenTipRepository::BandFont(TdxScreenTipBandType BandType) const {
  if (FAssignedFonts.Contains(BandType) && FFonts[BandType]) return FFonts[BandType].get();
  FDefaultFont->Assign(Screen->HintFont());
  FDefaultFont->SetColor(dxScreenTipDefaultFontColor);
  TFontStyles style = FDefaultFont->Style();
  if (BandType != stbDescription) style.Include(fsBold);
  FDefaultFont->SetStyle(style);
  return FDefaultFont.get();
}

void TdxScreenTipRepository::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxScreenTipRepository*>(Source);
  if (!src) return TComponent::Assign(Source);
  FItems->Assign(src->Items());
  FStandardFooter->Assign(src->StandardFooter());
  SetDescriptionFont(src->DescriptionFont());
  SetFooterFont(src->FooterFont());
  SetHeaderFont(src->HeaderFont());
  FAssignedFonts = src->FAssignedFonts;
  FShowDescription = src->FShowDescription;
}

void TdxScreenTipRepository::GetChildren(TGetChildProc Proc, TComponent* Root) {
  for (int i = 0; i < FItems->Count(); ++i)
    if (FItems->Items(i)->Owner() == Root) Proc(FItems->Items(i));
}

// ---- links

TdxCustomScreenTipLink::~TdxCustomScreenTipLink() {
  SetComponent(nullptr);
  SetScreenTip(nullptr);
}

void TdxCustomScreenTipLink::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxCustomScreenTipLink*>(Source);
  if (!src) return TCollectionItem::Assign(Source);
  SetComponent(src->Component());
  SetScreenTip(src->ScreenTip());
}

TComponent* TdxCustomScreenTipLink::Notifier() const {
  auto* links = dynamic_cast<TdxCustomScreenTipLinks*>(Collection());
  return links ? ControllerOf(links->Style()) : nullptr;
}

void TdxCustomScreenTipLink::Move(TComponent* Old, TComponent* New) {
  TComponent* n = Notifier();
  if (!n) return;
  if (Old) Old->RemoveFreeNotification(n);
  if (New) New->FreeNotification(n);
}

void TdxCustomScreenTipLink::SetComponent(TComponent* Value) {
  if (FComponent == Value) return;
  Move(FComponent, Value);
  FComponent = Value;
}

void TdxCustomScreenTipLink::SetScreenTip(TdxScreenTip* Value) {
  if (FScreenTip == Value) return;
  Move(FScreenTip, Value);
  FScreenTip = Value;
}

TdxCustomScreenTipLinks::TdxCustomScreenTipLinks(TdxScreenTipStyle* AStyle, TCollectionItemClass AItemClass)
    : TCollection(std::move(AItemClass)), FStyle(AStyle) {}

TPersistent* TdxCustomScreenTipLinks::GetOwner() const { return FStyle; }

TdxCustomScreenTipLink* TdxCustomScreenTipLinks::FindByComponent(TComponent* AComponent) const {
  if (!AComponent) return nullptr;
  for (int i = 0; i < Count(); ++i) {
    TdxCustomScreenTipLink* l = Items(i);
    if (l->Component() == AComponent || l->ScreenTip() == AComponent) return l;
  }
  return nullptr;
}

// ---- style

const TcxHintStyleClassRec TdxScreenTipStyleClass = {"TdxScreenTipStyle", &TdxScreenTipStyle::CreateStyle};

TdxScreenTipStyle::TdxScreenTipStyle(TPersistent* AOwner)
    : TcxCustomHintStyle(AOwner),
      FScreenTipLinks(std::make_unique<TdxScreenTipLinks>(this)),
      FScreenTipActionLinks(std::make_unique<TdxScreenTipActionLinks>(this)) {}

TdxScreenTipStyle::~TdxScreenTipStyle() {
  FScreenTipLinks.reset();
  FScreenTipActionLinks.reset();
}

void TdxScreenTipStyle::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxScreenTipStyle*>(Source);
  if (!src) return TcxCustomHintStyle::Assign(Source);
  FScreenTipLinks->Assign(src->ScreenTipLinks());
  FScreenTipActionLinks->Assign(src->ScreenTipActionLinks());
}

THintWindowClass TdxScreenTipStyle::HintWindowClass() const { return &MakeHintWindow<TdxScreenTipWindow>; }

void TdxScreenTipStyle::ComponentRemoved(TComponent* AComponent) {
  // Told while the component is being freed, when its class can no longer be asked: links
  // are matched by identity.
  for (TdxCustomScreenTipLinks* links : {static_cast<TdxCustomScreenTipLinks*>(FScreenTipLinks.get()),
                                         static_cast<TdxCustomScreenTipLinks*>(FScreenTipActionLinks.get())})
    for (int i = 0; i < links->Count(); ++i) {
      TdxCustomScreenTipLink* l = links->Items(i);
      if (static_cast<TComponent*>(l->ScreenTip()) == AComponent) l->SetScreenTip(nullptr);
      if (l->Component() == AComponent) l->SetComponent(nullptr);
    }
}

void TdxScreenTipStyle::ShowHint(std::string& HintStr, bool& CanShow, THintInfo& HintInfo) {
  if (!HintStr.empty()) return;
  TdxScreenTip* tip = nullptr;
  std::string shortCut;
  if (FindScreenTip(HintInfo.HintControl, tip, shortCut) && !tip->UseHintAsHeader())
    HintStr = tip->Header()->Text().empty() ? std::string(" ") : tip->Header()->Text();
}

bool TdxScreenTipStyle::FindScreenTip(TControl* AControl, TdxScreenTip*& AScreenTip,
                                      std::string& AShortCutText) const {
  AScreenTip = nullptr;
  AShortCutText.clear();
  if (!AControl) return false;
  TBasicAction* action = AControl->Action();
  if (TdxCustomScreenTipLink* l = FScreenTipLinks->FindByComponent(AControl)) AScreenTip = l->ScreenTip();
  if (!AScreenTip && action)
    if (TdxCustomScreenTipLink* l = FScreenTipActionLinks->FindByComponent(action)) AScreenTip = l->ScreenTip();
  if (AScreenTip) {
    if (auto* custom = dynamic_cast<TCustomAction*>(action); custom && custom->ShortCut() != 0)
      AShortCutText = Format(" (%s)", {ShortCutToText(custom->ShortCut())});
    return true;
  }
  auto* provider = dynamic_cast<IdxScreenTipProvider*>(AControl);
  if (!provider)
    if (auto* inner = dynamic_cast<IcxContainerInnerControl*>(AControl))
      provider = dynamic_cast<IdxScreenTipProvider*>(inner->ControlContainer());
  if (!provider) return false;
  AScreenTip = provider->GetScreenTip();
  if (!AScreenTip)
    if (TBasicAction* named = provider->GetAction())
      if (TdxCustomScreenTipLink* l = FScreenTipActionLinks->FindByComponent(named)) AScreenTip = l->ScreenTip();
  if (AScreenTip) AShortCutText = provider->GetShortCut();
  return AScreenTip != nullptr;
}

namespace {
// Screen tips, their repository and the screen-tip style are stored in form descriptions.
void RegisterScreenTipClasses() {
  if (FindClassInfo(typeid(TdxScreenTipRepository))) return;
  RegisterEnumNames<TdxScreenTipBandType>({"stbHeader", "stbDescription", "stbFooter"});
  RegisterEnumNames<TdxScreenTipBandTextAlign>({"stbtaLeft", "stbtaRight"});
  RegisterClass<TdxCustomScreenTipBand, TPersistent>();
  RegisterClass<TdxScreenTipBand, TdxCustomScreenTipBand>();
  RegisterClass<TdxScreenTipFooterBand, TdxCustomScreenTipBand>();
  Published<TdxCustomScreenTipBand>()
      .Property("Text", &TdxCustomScreenTipBand::Text, &TdxCustomScreenTipBand::SetText)
      .Stored([](TdxCustomScreenTipBand* b) { return !b->Text().empty(); })
      .Property("TextAlign", &TdxCustomScreenTipBand::TextAlign, &TdxCustomScreenTipBand::SetTextAlign)
      .Default(stbtaRight);
  RegisterClass<TdxScreenTip, TcxComponentCollectionItem>();
  Published<TdxScreenTip>()
      .Property("Header", &TdxScreenTip::Header)
      .Property("Description", &TdxScreenTip::Description)
      .Property("Footer", &TdxScreenTip::Footer)
      .Property("UseHintAsHeader", &TdxScreenTip::UseHintAsHeader, &TdxScreenTip::SetUseHintAsHeader)
      .Default(0)
      .Property("UseStandardFooter", &TdxScreenTip::UseStandardFooter, &TdxScreenTip::SetUseStandardFooter)
      .Default(0)
      .Property("Width", &TdxScreenTip::Width, &TdxScreenTip::SetWidth)
      .Default(0);
  RegisterClass<TdxScreenTipRepository, TComponent>();
  Published<TdxScreenTipRepository>()
      .Property("AssignedFonts", &TdxScreenTipRepository::AssignedFonts, &TdxScreenTipRepository::SetAssignedFonts)
      .Default(TdxScreenTipRepositoryFonts{})
      .Property("HeaderFont", &TdxScreenTipRepository::HeaderFont)
      .Stored([](TdxScreenTipRepository* r) { return r->AssignedFonts().Contains(stbHeader); })
      .Property("DescriptionFont", &TdxScreenTipRepository::DescriptionFont)
      .Stored([](TdxScreenTipRepository* r) { return r->AssignedFonts().Contains(stbDescription); })
      .Property("FooterFont", &TdxScreenTipRepository::FooterFont)
      .Stored([](TdxScreenTipRepository* r) { return r->AssignedFonts().Contains(stbFooter); })
      .Property("StandardFooter", &TdxScreenTipRepository::StandardFooter)
      .Property("ShowDescription", &TdxScreenTipRepository::ShowDescription,
                &TdxScreenTipRepository::SetShowDescription)
      .Default(1);
}
}  // namespace

void dxScreenTipInitialize() {
  if (gUnitCount++ > 0) return;
  RegisterScreenTipClasses();
  cxRegisterHintStyle(&TdxScreenTipStyleClass, "ScreenTip");
}

void dxScreenTipFinalize() {
  if (gUnitCount == 0 || --gUnitCount > 0) return;
  cxUnregisterHintStyle(&TdxScreenTipStyleClass);
}
