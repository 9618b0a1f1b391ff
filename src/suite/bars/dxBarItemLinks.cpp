// Item links and their collections: the lists bars and menus show, recent use, merging and
// keyboard access.

#include <algorithm>
#include <climits>

#include "platform/gui/Pictures.h"
#include "platform/rtl/Streaming.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarStrs.h"

extern TdxBar* dxBarMergingFrom;

namespace {

template <class T>
int IndexIn(const std::vector<T*>& List, const T* Value) {
  auto it = std::find(List.begin(), List.end(), Value);
  return it == List.end() ? -1 : int(it - List.begin());
}

bool IsSeparatorLink(TdxBarItemLink* Link) {
  return Link->Item() && dynamic_cast<TdxBarSeparator*>(Link->Item());
}

// The character after the first lone "&" of a caption, or 0.
char AccelChar(const std::string& Caption) {
  for (size_t i = 0; i + 1 < Caption.size(); ++i)
    if (Caption[i] == '&') {
      if (Caption[i + 1] != '&') return Caption[i + 1];
      ++i;
    }
  return 0;
}

}  // namespace

// ---- link

TdxBarItemLink::TdxBarItemLink(TCollection* Collection) : TcxInterfacedCollectionItem(nullptr) {
  if (auto* links = dynamic_cast<TdxBarItemLinks*>(Collection)) {
    if (links->BarManager()) FUseCount = links->BarManager()->InitialUseCount();
    SetCollection(Collection);
    links->FRecentList.push_back(this);
    if (TdxBarManager* m = links->BarManager(); m && !m->IsLoading() && m->OnItemLinkAdd)
      m->OnItemLinkAdd(m, this);
  } else if (Collection) {
    SetCollection(Collection);
  }
}

TdxBarItemLink::~TdxBarItemLink() {
  TdxBarItemLinks* links = OwningLinks();
  TdxBarManager* m = Manager();
  if (m && !m->IsDestroying() && m->OnItemLinkDelete) m->OnItemLinkDelete(m, this);
  FreeControl();
  if (FItem) {
    auto& l = FItem->FLinks;
    l.erase(std::remove(l.begin(), l.end(), this), l.end());
    if (FItem->FClickedLink == this) FItem->FClickedLink = nullptr;
  }
  if (links) {
    for (auto* list : {&links->FRecentList, &links->FPresentLinks, &links->FShowableLinks,
                       &links->FShownLinks, &links->FDistributionList})
      list->erase(std::remove(list->begin(), list->end(), this), list->end());
  }
  SetCollection(nullptr);
  if (links) links->RebuildLinkLists();
}

TdxBarItemLinks* TdxBarItemLink::OwningLinks() const {
  return dynamic_cast<TdxBarItemLinks*>(Collection());
}

TdxBarManager* TdxBarItemLink::Manager() const {
  TdxBarItemLinks* l = OwningLinks();
  return l ? l->BarManager() : nullptr;
}

TCustomdxBarControl* TdxBarItemLink::BarControl() const {
  TdxBarItemLinks* l = OwningLinks();
  return l ? l->BarControl() : nullptr;
}

bool TdxBarItemLink::BeginGroup() const {
  TdxBarItemLinks* links = OwningLinks();
  int s = links ? IndexIn(links->FShownLinks, this) : -1;
  if (FBeginGroup && s != 0) {
    if (s == -1) return true;
    return !IsSeparatorLink(links->FShownLinks[size_t(s - 1)]);
  }
  if (s > 0) {
    int from = links->FShownLinks[size_t(s - 1)]->Index() + 1;
    for (int i = from; i < Index(); ++i)
      if (links->LinkByIndex(i)->BeginGroup()) {
        if (FControl && BarControl() && (BarControl()->NavigationFlags() & 16) &&
            (FControl->EffectiveAlign() == iaCenter || FControl->EffectiveAlign() == iaRight))
          return false;
        return true;
      }
  }
  return false;
}

void TdxBarItemLink::SetBeginGroup(bool Value) {
  if (FBeginGroup == Value) return;
  FBeginGroup = Value;
  if (FControl) FControl->RecalcBar();
  Changed(false);
}

void TdxBarItemLink::SetButtonGroup(TdxBarButtonGroupPosition Value) {
  if (FButtonGroup == Value) return;
  FButtonGroup = Value;
  Changed(true);
}

void TdxBarItemLink::SetDistributed(bool Value) {
  if (FDistributed == Value) return;
  FDistributed = Value;
  if (TdxBarItemLinks* l = OwningLinks()) l->FDistributionList.push_back(this);
  Changed(true);
}

void TdxBarItemLink::SetPosition(TdxBarItemPosition Value) {
  if (FPosition == Value) return;
  FPosition = Value;
  Changed(true);
}

void TdxBarItemLink::SetViewLevels(TdxBarItemViewLevels Value) {
  if (FViewLevels == Value) return;
  FViewLevels = Value;
  Changed(true);
}

void TdxBarItemLink::SetMostRecentlyUsed(bool Value) {
  if (FMostRecentlyUsed == Value) return;
  FMostRecentlyUsed = Value;
  ResetUseCount();
  if (BarControl()) BarControl()->RecalculateBar();
  Changed(false);
}

void TdxBarItemLink::MarkUserDefined(TdxBarUserDefine Element) {
  TdxBarUserDefines old = FUserDefine;
  FUserDefine.Exclude(Element);
  TdxBarUserDefines next = old;
  next.Include(Element);
  SetUserDefine(next);
}

void TdxBarItemLink::SetUserCaption(const std::string& Value) {
  if (FUserCaption == Value) return;
  FUserCaption = Value;
  MarkUserDefined(udCaption);
}

void TdxBarItemLink::SetUserPaintStyle(TdxBarPaintStyle Value) {
  if (Value == EffectivePaintStyle()) return;
  FUserPaintStyle = Value;
  MarkUserDefined(udPaintStyle);
}

void TdxBarItemLink::SetUserWidth(int Value) {
  if (Value == EffectiveWidth()) return;
  FUserWidth = Value;
  MarkUserDefined(udWidth);
}

TBitmap* TdxBarItemLink::UserGlyph() const {
  if (!FUserGlyph)
    FUserGlyph = CreateNotifyingBitmap(
        TNotifyEvent::Bind(const_cast<TdxBarItemLink*>(this), &TdxBarItemLink::UserGlyphChanged));
  return FUserGlyph.get();
}

void TdxBarItemLink::SetUserGlyph(TBitmap* Value) {
  if (Value == FUserGlyph.get()) return;
  UserGlyph()->Assign(Value);
  MarkUserDefined(udGlyph);
}

void TdxBarItemLink::UserGlyphChanged(TObject*) {
  if (FControl) FControl->RecalcBarIfNeeded();
}

TBitmap* TdxBarItemLink::EffectiveGlyph() const {
  if (!FItem || FUserDefine.Contains(udGlyph)) return UserGlyph();
  return FItem->Glyph();
}

void TdxBarItemLink::SetUserDefine(TdxBarUserDefines Value) {
  TdxBarUserDefines old = FUserDefine;
  for (TdxBarUserDefine e : {udCaption, udGlyph, udPaintStyle, udWidth}) {
    bool was = old.Contains(e), is = Value.Contains(e);
    if (was == is) continue;
    if (was) {
      FUserDefine.Exclude(e);
      if (e == udCaption) FUserCaption.clear();
      if (e == udGlyph && FUserGlyph) FUserGlyph->Assign(nullptr);
      if (e == udPaintStyle) FUserPaintStyle = TdxBarPaintStyle::psStandard;
      if (e == udWidth) FUserWidth = 0;
    } else {
      FUserDefine.Include(e);
    }
    if (FControl) {
      if (e == udCaption) FControl->CaptionChanged();
      if (e == udGlyph) FControl->RecalcBarIfNeeded();
      if (e == udPaintStyle) FControl->PaintStyleChanged();
      if (e == udWidth) FControl->WidthChanged();
    }
  }
  if (!(old == FUserDefine)) Changed(false);
}

std::string TdxBarItemLink::EffectiveCaption() const {
  if (!FItem || FUserDefine.Contains(udCaption)) return FUserCaption;
  return FItem->Caption();
}

TdxBarPaintStyle TdxBarItemLink::EffectivePaintStyle() const {
  if (!FItem || FUserDefine.Contains(udPaintStyle)) return FUserPaintStyle;
  return FItem->PaintStyle();
}

int TdxBarItemLink::EffectiveWidth() const {
  if (FUserDefine.Contains(udWidth)) return FUserWidth;
  return 0;
}

void TdxBarItemLink::SetItem(TdxBarItem* Value) {
  if (Value == FItem) return;
  TdxBarItemLinks* links = OwningLinks();
  if (links) links->BeginUpdate();
  try {
    FreeControl();
    if (FItem) {
      auto& l = FItem->FLinks;
      l.erase(std::remove(l.begin(), l.end(), this), l.end());
      FItem = nullptr;
    }
    if (!Value) {
      if (links) links->EndUpdate();
      delete this;
      return;
    }
    std::string error;
    if (links && !links->CanContainItem(Value, error)) {
      delete this;
      throw EdxException(error);
    }
    FItem = Value;
    Value->FLinks.push_back(this);
    if (links) {
      links->RebuildLinkLists();
      TComponent* owner = links->OwnerComponent();
      if (owner && !owner->ComponentState().Contains(csLoading)) ResetUseCount();
      TdxBarManager* m = links->BarManager();
      if (links->UpdateCount() == 1 && m && !m->IsLoading() && m->OnItemLinkChange)
        m->OnItemLinkChange(m, this);
    }
  } catch (...) {
    if (links) links->EndUpdate();
    throw;
  }
  if (links) links->EndUpdate();
}

void TdxBarItemLink::SetVisible(bool Value) {
  TdxBarItemLinks* links = OwningLinks();
  TdxBarManager* m = Manager();
  if ((m && m->IsLoading()) || (links && links->IsAssigning())) {
    LoadedVisible = Value;
    return;
  }
  if (FVisible == Value) return;
  FVisible = Value;
  if (!m || !m->IsDesigning()) VisibilityChanged();
  Changed(false);
}

bool TdxBarItemLink::IsVisibleNow() const {
  return FItem && TdxBarItem::IsShowable(FItem) && FVisible;
}

int TdxBarItemLink::ShowableIndex() const {
  TdxBarItemLinks* l = OwningLinks();
  return l ? IndexIn(l->FShowableLinks, this) : -1;
}

int TdxBarItemLink::ShownIndex() const {
  TdxBarItemLinks* l = OwningLinks();
  return l ? IndexIn(l->FShownLinks, this) : -1;
}

void TdxBarItemLink::SetItemBounds(const TRect& Value) {
  FItemRect = Value;
  if (FControl) FControl->BoundsChanged();
}

void TdxBarItemLink::CreateControl() {
  TCustomdxBarControl* bc = BarControl();
  if (!FItem || !bc || bc->IsDestroying() || FControl) return;
  if (TdxBarItemControlClass make = FItem->ControlClass(bc->IsVertical())) FControl = make(this);
}

void TdxBarItemLink::FreeControl() {
  TdxBarItemControl* c = FControl;
  FControl = nullptr;
  delete c;
}

void TdxBarItemLink::RecreateControl() {
  if (Manager() && Manager()->IsBarsUpdating()) return;
  FreeControl();
  CreateControl();
}

void TdxBarItemLink::VisibilityChanged() {
  TdxBarItemLinks* links = OwningLinks();
  if (links) links->RebuildLinkLists();
  if (IsVisibleNow()) {
    PromoteInRecentList(false);
    if (links && links->BarControl()) {
      CreateControl();
      if (FControl) FControl->RecalcBarOnChange();
    }
  } else {
    DemoteInRecentList();
    if (FControl) {
      FControl->RecalcBarOnChange();
      FreeControl();
    }
  }
}

// Recent use.

int TdxBarItemLink::RecentIndex() const {
  TdxBarItemLinks* l = OwningLinks();
  return l ? IndexIn(l->FRecentList, this) : -1;
}

void TdxBarItemLink::MoveInRecentList(int Position) {
  TdxBarItemLinks* l = OwningLinks();
  if (!l) {
    FSavedRecentIndex = Position;
    return;
  }
  auto& r = l->FRecentList;
  Position = std::clamp(Position, 0, int(r.size()) - 1);
  int cur = IndexIn(r, this);
  if (cur == Position || cur < 0) return;
  r.erase(r.begin() + cur);
  r.insert(r.begin() + Position, this);
  l->RebuildLinkLists();
}

void TdxBarItemLink::PromoteInRecentList(bool CountUse) {
  if (!IsVisibleNow()) return;
  TdxBarItemLinks* l = OwningLinks();
  int shown = ShownIndex();
  if (!l || l->UsesRecentItems()) {
    MoveInRecentList(0);
    if (CountUse) ++FUseCount;
  }
  if (!l || ShowableIndex() < 0) return;
  if (shown < 0 && l->BarControl()) l->BarControl()->LinksAppeared();
  if (TCustomdxBarControl* bc = l->BarControl(); bc && bc->BarControlKind() == 2)
    if (TdxBarItemControl* parent = bc->ParentItemControl())
      if (TdxBarItemLink* pl = parent->ItemLink(); pl && pl->Item())
        if (TdxBarItemLink* sel = pl->Item()->SelectedLink()) {
          TdxBarItemLink* origin = sel->OriginLink() ? sel->OriginLink() : sel;
          origin->PromoteInRecentList(CountUse);
        }
}

void TdxBarItemLink::DemoteInRecentList() {
  TdxBarItemLinks* l = OwningLinks();
  int shown = ShownIndex();
  MoveInRecentList(INT_MAX);
  if (l && shown >= 0 && l->BarControl()) l->BarControl()->LinksAppeared();
}

void TdxBarItemLink::ResetUseCount() {
  if (FMostRecentlyUsed) {
    FUseCount = Manager() ? Manager()->InitialUseCount() : 0;
    PromoteInRecentList(false);
  } else {
    FUseCount = 0;
    DemoteInRecentList();
  }
}

void TdxBarItemLink::CopyRecentStateFrom(TdxBarItemLink* Link) {
  FUseCount = Link->FUseCount;
  MoveInRecentList(Link->RecentIndex());
}

void TdxBarItemLink::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TdxBarItemLink*>(Source);
  if (!s) return TCollectionItem::Assign(Source);
  FData = s->FData;
  FUserCaption = s->FUserCaption;
  if (s->FUserGlyph && !s->FUserGlyph->Empty())
    UserGlyph()->Assign(s->FUserGlyph.get());
  else if (FUserGlyph)
    FUserGlyph->Assign(nullptr);
  FUserPaintStyle = s->FUserPaintStyle;
  FUserWidth = s->FUserWidth;
  TdxBarItem* item = s->FItem;
  TdxBarItemLinks* links = OwningLinks();
  TdxBarManager* m = links ? links->BarManager() : nullptr;
  if (item && m && m->ComponentState().Contains(csUpdating)) item = m->ItemByName(item->Name());
  SetItem(item);
  if (!item) return;  // the link freed itself
  FUserDefine = s->FUserDefine;
  SetBeginGroup(s->BeginGroup());
  FButtonGroup = s->FButtonGroup;
  FDistributed = s->FDistributed;
  FPosition = s->FPosition;
  FViewLevels = s->FViewLevels;
  SetVisible(s->FVisible);
  FCreatedFromBar = dxBarMergingFrom;
}

void TdxBarItemLink::DefineProperties(TFiler* Filer) {
  Filer->DefineProperty(
      "ItemName", [this](TReader* R) { FPendingItemName = R->ReadString(); },
      [this](TWriter* W) { W->WriteString(FItem ? FItem->Name() : std::string()); },
      FItem != nullptr);
}

// ---- options

TdxBarItemOptions::TdxBarItemOptions(TdxBarItemLinks* ALinks) : FLinks(ALinks) {
  FShowDescriptions = ALinks->DefaultOptionValue(ioShowDescriptions) != 0;
  FShowShortCuts = ALinks->DefaultOptionValue(ioShowShortCuts) != 0;
  FSize = TdxBarMenuItemSize(ALinks->DefaultOptionValue(ioSize));
}

int TdxBarItemOptions::RawValue(TdxBarItemOptionValue Option) const {
  switch (Option) {
    case ioShowDescriptions: return FShowDescriptions;
    case ioShowShortCuts: return FShowShortCuts;
    default: return FSize;
  }
}

bool TdxBarItemOptions::ShowDescriptions() const {
  return FAssignedValues.Contains(ioShowDescriptions) ? FShowDescriptions
                                                      : FLinks->DefaultOptionValue(ioShowDescriptions);
}
void TdxBarItemOptions::SetShowDescriptions(bool Value) {
  FShowDescriptions = Value;
  FAssignedValues.Include(ioShowDescriptions);
}
bool TdxBarItemOptions::ShowShortCuts() const {
  return FAssignedValues.Contains(ioShowShortCuts) ? FShowShortCuts
                                                   : FLinks->DefaultOptionValue(ioShowShortCuts);
}
void TdxBarItemOptions::SetShowShortCuts(bool Value) {
  FShowShortCuts = Value;
  FAssignedValues.Include(ioShowShortCuts);
}
TdxBarMenuItemSize TdxBarItemOptions::Size() const {
  return FAssignedValues.Contains(ioSize) ? FSize
                                          : TdxBarMenuItemSize(FLinks->DefaultOptionValue(ioSize));
}
void TdxBarItemOptions::SetSize(TdxBarMenuItemSize Value) {
  FSize = Value;
  FAssignedValues.Include(ioSize);
}

void TdxBarItemOptions::Assign(TPersistent* Source) {
  auto* s = dynamic_cast<TdxBarItemOptions*>(Source);
  if (!s) return TPersistent::Assign(Source);
  FAssignedValues = s->FAssignedValues;
  FShowDescriptions = s->FShowDescriptions;
  FShowShortCuts = s->FShowShortCuts;
  FSize = s->FSize;
}

// ---- collection

TdxBarItemLinks::TdxBarItemLinks(TdxBarManager* AManager, IdxBarLinksOwner* ALinksOwner)
    : TCollection(TCollection::ItemClassOf<TdxBarItemLink>()),
      FManager(AManager),
      FLinksOwner(ALinksOwner) {
  FOptions = std::make_unique<TdxBarItemOptions>(this);
}

TdxBarItemLinks::~TdxBarItemLinks() {
  FreeBarControl();
  FPresentLinks.clear();
  FShowableLinks.clear();
  FShownLinks.clear();
  BeginUpdate();
  Clear();
  FRecentList.clear();
}

bool TdxBarItemLinks::ShownAsMenu() const {
  return !dynamic_cast<TdxBar*>(OwnerComponent());
}

int TdxBarItemLinks::DefaultOptionValue(TdxBarItemOptionValue Option) const {
  switch (Option) {
    case ioShowDescriptions: return 0;
    case ioShowShortCuts: return 1;
    default: return misNormal;
  }
}

int TdxBarItemLinks::OptionValue(TdxBarItemOptionValue Option, TdxBarItemLinks*) const {
  TdxBarItemLinks* parent = ParentLinks();
  if (FOptions->AssignedValues().Contains(Option) || !parent) {
    return FOptions->AssignedValues().Contains(Option) ? FOptions->RawValue(Option)
                                                       : DefaultOptionValue(Option);
  }
  return parent->OptionValue(Option, const_cast<TdxBarItemLinks*>(this));
}

bool TdxBarItemLinks::CanContainItem(TdxBarItem* Item, std::string& ErrorText) {
  ErrorText.clear();
  return !FLinksOwner || FLinksOwner->CanContainItem(Item, ErrorText);
}

TComponent* TdxBarItemLinks::OwnerComponent() const {
  return FLinksOwner ? FLinksOwner->LinksOwnerComponent() : nullptr;
}

TdxBarItemLinks* TdxBarItemLinks::ParentLinks() const {
  if (!FBarControl) return nullptr;
  TdxBarItemControl* parent = FBarControl->ParentItemControl();
  return parent && parent->ItemLink() ? parent->ItemLink()->OwningLinks() : nullptr;
}

int TdxBarItemLinks::IndexOfLink(TdxBarItemLink* Link) const {
  for (int i = 0; i < Count(); ++i)
    if (LinkByIndex(i) == Link) return i;
  return -1;
}

int TdxBarItemLinks::IndexOfItemName(const std::string& Name) const {
  for (int i = 0; i < Count(); ++i)
    if (LinkByIndex(i)->Item() && LinkByIndex(i)->Item()->Name() == Name) return i;
  return -1;
}

bool TdxBarItemLinks::HasLinkWithControl() const {
  for (int i = 0; i < Count(); ++i)
    if (LinkByIndex(i)->Control()) return true;
  return false;
}

TdxBarItemLink* TdxBarItemLinks::AddLink() { return static_cast<TdxBarItemLink*>(Add()); }
TdxBarItemLink* TdxBarItemLinks::InsertLink(int Index) {
  return static_cast<TdxBarItemLink*>(Insert(Index));
}

TdxBarItemLink* TdxBarItemLinks::AddLinkForItem(TdxBarItem* Item) {
  BeginUpdate();
  TdxBarItemLink* link = nullptr;
  try {
    link = AddLink();
    link->SetItem(Item);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  return link;
}

TdxBarItemLink* TdxBarItemLinks::AddNewItemLink(const TClassInfo* ItemClass, TComponent* Owner) {
  TComponent* owner = Owner ? Owner : FManager;
  auto* item = dynamic_cast<TdxBarItem*>(ItemClass->CreateComponent(owner));
  if (!item) throw EdxException("Not an item class: " + ItemClass->Name);
  try {
    return AddLinkForItem(item);
  } catch (...) {
    delete item;
    throw;
  }
}

void TdxBarItemLinks::MoveLink(int From, int To) {
  if (From >= 0 && To >= 0 && From < Count() && To < Count() && From != To) {
    BeginUpdate();
    LinkByIndex(From)->SetIndex(To);
    EndUpdate();
  }
  if (FBarControl) FBarControl->RecalculateBar();
}

void TdxBarItemLinks::RebuildLinkLists() {
  FPresentLinks.clear();
  FShowableLinks.clear();
  FShownLinks.clear();
  bool designing = FManager && FManager->IsDesigning();
  bool customizing = FManager && FManager->IsCustomizingOrDesigning();
  for (int i = 0; i < Count(); ++i) {
    TdxBarItemLink* l = LinkByIndex(i);
    if (!l->Item() || !(designing || TdxBarItem::IsShowable(l->Item()))) continue;
    FPresentLinks.push_back(l);
    if (!(designing || l->Visible())) continue;
    FShowableLinks.push_back(l);
    if (designing || FRecentItemCount == -1) FShownLinks.push_back(l);
  }
  if (!designing && FRecentItemCount > 0) {
    for (TdxBarItemLink* l : FRecentList) {
      if (int(FShownLinks.size()) >= FRecentItemCount) break;
      if (IndexIn(FShowableLinks, l) >= 0) FShownLinks.push_back(l);
    }
    std::sort(FShownLinks.begin(), FShownLinks.end(), [this](TdxBarItemLink* a, TdxBarItemLink* b) {
      return IndexIn(FShowableLinks, a) < IndexIn(FShowableLinks, b);
    });
  }
  if (customizing || UpdateCount() > 0) return;
  // Separators only where they separate something: no trailing one and none doubled.
  for (int i = int(FShownLinks.size()) - 1; i >= 0; --i) {
    TdxBarItemLink* l = FShownLinks[size_t(i)];
    if (!IsSeparatorLink(l)) continue;
    bool last = i == int(FShownLinks.size()) - 1;
    if (last || IsSeparatorLink(FShownLinks[size_t(i + 1)])) {
      FShownLinks.erase(FShownLinks.begin() + i);
      FShowableLinks.erase(std::remove(FShowableLinks.begin(), FShowableLinks.end(), l),
                           FShowableLinks.end());
    }
  }
}

void TdxBarItemLinks::Update(TCollectionItem* Item) {
  if (!Item) RebuildLinkLists();
  TComponent* owner = OwnerComponent();
  if (owner && owner->ComponentState().Contains(csDestroying)) return;
  TCollection::Update(Item);
  if (!FInternal && FManager) FManager->NotifyDesignerModified();
  if (Item) {
    if (FManager && !FManager->IsLoading() && FManager->OnItemLinkChange)
      FManager->OnItemLinkChange(FManager, static_cast<TdxBarItemLink*>(Item));
    return;
  }
  if (FBarControl) FBarControl->RecalculateBar();
  if (OnChange) OnChange(this);
}

void TdxBarItemLinks::Assign(TPersistent* Source) {
  FAssigning = true;
  try {
    TCollection::Assign(Source);
  } catch (...) {
    FAssigning = false;
    throw;
  }
  FAssigning = false;
  for (int i = Count() - 1; i >= 0; --i) LinkByIndex(i)->SetVisible(LinkByIndex(i)->LoadedVisible);
}

// Recent use.

void TdxBarItemLinks::SetUseRecentItems(bool Value) {
  if (FUseRecentItems == Value) return;
  FUseRecentItems = Value;
  RebuildLinkLists();
}

bool TdxBarItemLinks::UsesRecentItems() const {
  if (!FManager || !FManager->HasRecentItemsStyle() || !FUseRecentItems) return false;
  TdxBarItemLinks* parent = ParentLinks();
  return !parent || parent->UsesRecentItems();
}

int TdxBarItemLinks::CalcRecentItemCount() const {
  if (!UsesRecentItems()) return -1;
  int mn = INT_MAX, mx = 0;
  for (TdxBarItemLink* l : FShowableLinks) {
    mn = std::min(mn, l->UseCount());
    mx = std::max(mx, l->UseCount());
  }
  int c = MulDiv(mx - mn, 100 - FManager->MostRecentItemsPercents(), 100);
  // The recent list is packed first so that its leading positions are the showable links.
  std::vector<TdxBarItemLink*> packed;
  for (TdxBarItemLink* l : FRecentList)
    if (IndexIn(FShowableLinks, l) >= 0) packed.push_back(l);
  int result = 0;
  for (int p = int(FShowableLinks.size()) - 1; p >= 0; --p)
    if (p < int(packed.size()) && packed[size_t(p)]->UseCount() >= mn + c) {
      result = p + 1;
      break;
    }
  return result == ShowableLinkCount() ? -1 : result;
}

void TdxBarItemLinks::SetRecentItemCount(int Count) {
  if (!UsesRecentItems()) Count = -1;
  FPrevRecentItemCount = FRecentItemCount;
  if (Count == FRecentItemCount) return;
  FRecentItemCount = Count;
  RebuildLinkLists();
}

void TdxBarItemLinks::RestoreRecentItemCount() {
  FRecentItemCount = FPrevRecentItemCount;
  RebuildLinkLists();
}

void TdxBarItemLinks::PackRecentList() {
  std::stable_partition(FRecentList.begin(), FRecentList.end(),
                        [this](TdxBarItemLink* l) { return IndexIn(FShowableLinks, l) >= 0; });
}

// Keyboard access.

int TdxBarItemLinks::FittingLinkCount() const {
  if (ShownAsMenu() || !FBarControl) return ShownLinkCount();
  TRect client = FBarControl->ClientBounds();
  int n = 0;
  for (TdxBarItemLink* l : FShownLinks) {
    const TRect& r = l->ItemRect();
    if (r.IsEmpty() || r.Left < client.Left || r.Top < client.Top || r.Right > client.Right ||
        r.Bottom > client.Bottom)
      break;
    ++n;
  }
  return n;
}

TdxBarItemLink* TdxBarItemLinks::FirstSelectableLink() const {
  int n = FittingLinkCount();
  for (int i = 0; i < n; ++i)
    if (TdxBarItemControl* c = FShownLinks[size_t(i)]->Control(); c && c->IsKeyNavigable())
      return FShownLinks[size_t(i)];
  return nullptr;
}

TdxBarItemLink* TdxBarItemLinks::LastSelectableLink() const {
  for (int i = FittingLinkCount() - 1; i >= 0; --i)
    if (TdxBarItemControl* c = FShownLinks[size_t(i)]->Control(); c && c->IsKeyNavigable())
      return FShownLinks[size_t(i)];
  return nullptr;
}

TdxBarItemLink* TdxBarItemLinks::NextSelectableLink(TdxBarItemLink* Link, bool Any) const {
  if (!Link) return FirstSelectableLink();
  int n = FittingLinkCount(), start = Link->ShownIndex();
  if (n == 0 || start < 0) return nullptr;
  for (int k = 1; k <= n; ++k) {
    int i = (start + k) % n;
    if (i == start) break;
    TdxBarItemLink* l = FShownLinks[size_t(i)];
    if (Any || (l->Control() && l->Control()->IsKeyNavigable())) return l;
  }
  return nullptr;
}

TdxBarItemLink* TdxBarItemLinks::PrevSelectableLink(TdxBarItemLink* Link, bool Any) const {
  if (!Link) return LastSelectableLink();
  int n = FittingLinkCount(), start = Link->ShownIndex();
  if (n == 0 || start < 0) return nullptr;
  for (int k = 1; k <= n; ++k) {
    int i = ((start - k) % n + n) % n;
    if (i == start) break;
    TdxBarItemLink* l = FShownLinks[size_t(i)];
    if (Any || (l->Control() && l->Control()->IsKeyNavigable())) return l;
  }
  return nullptr;
}

bool TdxBarItemLinks::AccelMatches(TdxBarItemLink* Link, WORD Key, TShiftState Shift) {
  if (!Link->Item() || !Link->Item()->IsEnabledFor(Link)) return false;
  if (Shift.Contains(ssCtrl)) return false;
  char c = AccelChar(Link->EffectiveCaption());
  if (!c) return false;
  if (c >= '0' && c <= '9') return Key == WORD(c) && Shift.Empty();
  return Key == WORD(VkKeyScan(c) & 0xFF);
}

TdxBarItemLink* TdxBarItemLinks::FindAccelLink(WORD Key, TShiftState Shift,
                                               TdxBarItemLink* StartLink) {
  Shift.Exclude(ssAlt);
  return SearchAccelLink(Key, Shift, StartLink);
}

TdxBarItemLink* TdxBarControlItemLinks::SearchAccelLink(WORD Key, TShiftState Shift,
                                                        TdxBarItemLink* StartLink) {
  if (!BarControl() || !BarControl()->IsShowing()) return nullptr;
  TdxBarItemLink* first = StartLink ? NextSelectableLink(StartLink) : FirstSelectableLink();
  for (TdxBarItemLink* l = first; l;) {
    if (AccelMatches(l, Key, Shift)) return l;
    if (l == StartLink) break;
    l = NextSelectableLink(l);
    if (l == first) break;
  }
  if (StartLink && first != StartLink && AccelMatches(StartLink, Key, Shift)) return StartLink;
  return nullptr;
}

TdxBarItemLink* TdxBarSubMenuControlItemLinks::SearchAccelLink(WORD Key, TShiftState Shift,
                                                               TdxBarItemLink* StartLink) {
  const auto& showable = ShowableLinks();
  if (showable.empty()) return nullptr;
  TdxBarItemLink* start = StartLink ? StartLink : showable.front();
  int s = IndexIn(showable, start);
  if (s < 0) s = 0;
  int n = int(showable.size());
  // With no start link the first showable link is tried first; otherwise the start link last.
  for (int k = StartLink ? 1 : 0; k <= n - (StartLink ? 0 : 1); ++k) {
    TdxBarItemLink* l = showable[size_t((s + k) % n)];
    if (AccelMatches(l, Key, Shift)) return l;
  }
  return nullptr;
}

bool TdxBarItemLinks::ExecuteShortCut(TShortCut ShortCut) {
  if (ShortCut == 0) return false;
  UpdateActions();
  for (TdxBarItemLink* l : std::vector<TdxBarItemLink*>(FPresentLinks))
    if (l->Item() && l->Item()->MatchesShortCut(ShortCut)) return true;
  return false;
}

void TdxBarItemLinks::UpdateActions() {
  for (int i = 0; i < Count(); ++i)
    if (TdxBarItem* item = LinkByIndex(i)->Item())
      if (TdxBarItemActionLink* a = item->ActionLink()) a->Update();
}

// Windows.

void TdxBarItemLinks::SetBarControl(TCustomdxBarControl* Value) { FBarControl = Value; }

void TdxBarItemLinks::CreateBarControl() {
  if (FBarControl || !FLinksOwner) return;
  FBarControl = FLinksOwner->CreateLinksBarControl();
  if (FBarControl) FBarControl->SetItemLinks(this);
}

void TdxBarItemLinks::FreeBarControl() {
  TCustomdxBarControl* c = FBarControl;
  if (!c) return;
  for (int i = 0; i < Count(); ++i) LinkByIndex(i)->FreeControl();
  FBarControl = nullptr;
  if (!c->IsDestroying()) delete c;
}

void TdxBarItemLinks::ClearLinkBounds() {
  for (int i = 0; i < Count(); ++i) LinkByIndex(i)->FItemRect = TRect();
}

// Merging.

void TdxBarItemLinks::MergeLinks(TdxBarItemLinks* Source) {
  for (int si = 0; si < Source->Count(); ++si) {
    TdxBarItemLink* L = Source->LinkByIndex(si);
    TdxBarItem* item = L->Item();
    if (!item) continue;
    TdxBarItemMergeKind kind = item->MergeKind();
    int P = -1;
    bool merge = false;
    if (kind != mkNone) {
      if (kind == mkMergeByCaption)
        for (int d = Count() - 1; d >= 0; --d) {
          TdxBarItemLink* dl = LinkByIndex(d);
          if (dl->Item() && dl->Item()->MergeKind() == mkMergeByCaption &&
              dl->EffectiveCaption() == L->EffectiveCaption() &&
              TdxBarItem::SameItemKind(dl->Item(), item)) {
            P = d;
            merge = true;
            break;
          }
        }
      if (!merge) {
        int best = -1, bestOrder = -1;
        for (int d = 0; d < Count(); ++d) {
          TdxBarItem* di = LinkByIndex(d)->Item();
          if (di && di->MergeOrder() <= item->MergeOrder() && di->MergeOrder() >= bestOrder) {
            best = d;
            bestOrder = di->MergeOrder();
          }
        }
        P = best + 1;
      }
      kind = merge ? mkMergeByCaption : mkAdd;
    }
    if (FManager && FManager->OnMergeItemLink)
      FManager->OnMergeItemLink(FManager, this, Source, L, kind, P);
    if (P < 0 || kind == mkNone) continue;
    if (kind == mkMergeByCaption) {
      if (P >= Count()) continue;
      TdxBarItem* di = LinkByIndex(P)->Item();
      if (!di || !TdxBarItem::SameItemKind(di, item)) continue;
      if (di->ItemLinks() && item->ItemLinks()) di->ItemLinks()->MergeLinks(item->ItemLinks());
    } else {
      if (P > Count()) continue;
      InsertLink(P)->Assign(L);
    }
  }
}

void TdxBarItemLinks::UnmergeLinks(TdxBar* SourceBar) {
  for (int i = Count() - 1; i >= 0; --i) {
    TdxBarItemLink* l = LinkByIndex(i);
    if (l->CreatedFromBar() && (!SourceBar || l->CreatedFromBar() == SourceBar))
      delete l;
    else if (l->Item() && l->Item()->ItemLinks())
      l->Item()->ItemLinks()->UnmergeLinks(SourceBar);
  }
}

// Other.

bool TdxBarItemLinks::ContainsLinksOwner(IdxBarLinksOwner* Owner) const {
  if (Owner && Owner->LinksOwnerLinks() == this) return true;
  for (int i = 0; i < Count(); ++i) {
    TdxBarItem* item = LinkByIndex(i)->Item();
    if (!item) continue;
    if (dynamic_cast<IdxBarLinksOwner*>(item) == Owner) return true;
    if (TdxBarItemLinks* own = item->ItemLinks(); own && own != this && own->ContainsLinksOwner(Owner))
      return true;
  }
  return false;
}

void TdxBarItemLinks::ResolveLoadedItemNames() {
  for (int i = Count() - 1; i >= 0; --i) {
    TdxBarItemLink* l = LinkByIndex(i);
    if (l->FPendingItemName.empty()) continue;
    std::string name;
    std::swap(name, l->FPendingItemName);
    TdxBarItem* item = FManager ? FManager->ItemByName(name) : nullptr;
    if (!item) continue;
    BeginUpdate();
    try {
      l->FItem = item;
      item->FLinks.push_back(l);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  }
  ApplyLoadedValues(true);
}

void TdxBarItemLinks::ApplyLoadedValues(bool WithVisibility) {
  for (int i = Count() - 1; i >= 0; --i)
    if (LinkByIndex(i)->Item()) LinkByIndex(i)->ResetUseCount();
  if (WithVisibility)
    for (int i = Count() - 1; i >= 0; --i) {
      TdxBarItemLink* l = LinkByIndex(i);
      if (l->FVisible != l->LoadedVisible) {
        l->FVisible = l->LoadedVisible;
        if (!l->FVisible) l->DemoteInRecentList();
      }
    }
  for (int p = 0; p < Count(); ++p)
    for (int i = 0; i < Count(); ++i) {
      TdxBarItemLink* l = LinkByIndex(i);
      if (l->LoadedRecentIndex != p) continue;
      l->FUseCount = l->LoadedUseCount;
      l->MoveInRecentList(p);
      l->LoadedRecentIndex = -1;
    }
  RebuildLinkLists();
  if (FBarControl) FBarControl->BuildItemControls();
}
