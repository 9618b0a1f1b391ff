#include "suite/core/cxClasses.h"

#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Messages.h"
#include "suite/core/cxDialogMetrics.h"

namespace {
bool gClassesFinalizing = false;
int gClassesUnitCount = 0;
}  // namespace

// ---- components

TcxComponent::TcxComponent(TComponent* AOwner) : TComponent(AOwner) {}

TcxComponent::~TcxComponent() {
  if (!ComponentState().Contains(csDestroying)) Destroying();
  ClearLinksToObject(this);
}

void TcxComponent::Loaded() {
  TComponent::Loaded();
  UpdateFakeLinks();
}

void TcxComponent::UpdateFakeLinks() {
  if (!IsDesigning() || IsDestroying() || !Owner()) return;
  std::vector<TComponent*> list;
  GetFakeComponentLinks(list);
  for (int i = 0; i < FakeLinkCount; ++i)
    FFakeComponentLinks[i] = i < int(list.size()) ? list[std::size_t(i)] : nullptr;
}

TcxScalableComponent::TcxScalableComponent(TComponent* AOwner)
    : TcxComponent(AOwner), FPixelsPerInch(GetScreen()->PixelsPerInch()) {}

void TcxScalableComponent::Loaded() {
  TcxComponent::Loaded();
  int current = GetScreen()->PixelsPerInch();
  if (FScalable && FPixelsPerInch != current) {
    int stored = FPixelsPerInch;
    FPixelsPerInch = current;
    ChangeScale(current, stored);
  }
}

void TcxScalableComponent::DefineProperties(TFiler* Filer) {
  TcxComponent::DefineProperties(Filer);
  Filer->DefineProperty(
      "PixelsPerInch", [this](TReader* R) { FPixelsPerInch = R->ReadInteger(); },
      [this](TWriter* W) { W->WriteInteger(FPixelsPerInch); }, true);
}

// ---- timer

// One hidden window and one list of running ids serve every timer of the process.
struct TcxTimerWindow {
  HWND Handle = nullptr;
  std::vector<UINT_PTR> RunningIds;

  TcxTimerWindow() {
    Handle = AllocateHWnd([this](TMessage& M) { WndProc(M); });
  }
  ~TcxTimerWindow() { DeallocateHWnd(Handle); }

  void WndProc(TMessage& M) {
    if (M.Msg == WM_TIMER) {
      if (std::find(RunningIds.begin(), RunningIds.end(), M.WParam) != RunningIds.end())
        reinterpret_cast<TcxTimer*>(M.WParam)->Elapsed();
      return;
    }
    M.Result = DefWindowProc(Handle, M.Msg, M.WParam, M.LParam);
  }
};

namespace {
TcxTimerWindow* gTimerWindow = nullptr;

TcxTimerWindow* TimerWindow() {
  if (!gTimerWindow && !gClassesFinalizing) gTimerWindow = new TcxTimerWindow;
  return gTimerWindow;
}
}  // namespace

HWND cxTimerWindowHandle() { return gTimerWindow ? gTimerWindow->Handle : nullptr; }

TcxTimer::TcxTimer(TComponent* AOwner)
    : TComponent(AOwner), FEventID(reinterpret_cast<UINT_PTR>(this)) {}

TcxTimer::~TcxTimer() { KillTimer(); }

bool TcxTimer::CanSetTimer() const { return FEnabled && !FTimerOn && FOnTimer.Assigned(); }

void TcxTimer::SetTimer() {
  if (!CanSetTimer()) return;
  TcxTimerWindow* w = TimerWindow();
  SetTimerOn(w && ::SetTimer(w->Handle, FEventID, FInterval, nullptr) != 0);
}

void TcxTimer::KillTimer() {
  if (!FTimerOn) return;
  if (gTimerWindow) ::KillTimer(gTimerWindow->Handle, FEventID);
  SetTimerOn(false);
}

void TcxTimer::SetTimerOn(bool Value) {
  if (FTimerOn == Value) return;
  FTimerOn = Value;
  if (!gTimerWindow) return;
  auto& ids = gTimerWindow->RunningIds;
  if (Value)
    ids.push_back(FEventID);
  else
    ids.erase(std::remove(ids.begin(), ids.end(), FEventID), ids.end());
}

void TcxTimer::Restart() {
  KillTimer();
  SetTimer();
}

void TcxTimer::SetEnabled(bool Value) {
  if (FEnabled == Value) return;
  FEnabled = Value;
  Restart();
}

void TcxTimer::SetInterval(uint32_t Value) {
  if (Value == 0 || Value == FInterval) return;
  FInterval = Value;
  Restart();
}

void TcxTimer::SetOnTimer(const TNotifyEvent& Value) {
  FOnTimer = Value;
  Restart();
}

void TcxTimer::Loaded() {
  TComponent::Loaded();
  Restart();
}

void TcxTimer::Elapsed() {
  if (FOnTimer) FOnTimer(this);
}

// ---- owned interfaced collection

TcxOwnedInterfacedCollection::~TcxOwnedInterfacedCollection() { FState |= stDestroying; }

void TcxOwnedInterfacedCollection::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (FSorted) Sort();
}

int TcxOwnedInterfacedCollection::CompareItems(TCollectionItem* Item1, TCollectionItem* Item2) {
  int d = Item1->Index() - Item2->Index();
  return d < 0 ? -1 : d > 0 ? 1 : 0;
}

void TcxOwnedInterfacedCollection::Sort() {
  if (UpdateCount() > 0 || (FState & stSorting)) return;
  FState |= stSorting;
  try {
    std::vector<TCollectionItem*> items;
    for (int i = 0; i < Count(); ++i) items.push_back(Items(i));
    std::stable_sort(items.begin(), items.end(), [this](TCollectionItem* a, TCollectionItem* b) {
      int r = OnCompare ? OnCompare(this, a, b) : CompareItems(a, b);
      return r < 0;
    });
    BeginUpdate();
    try {
      for (int i = 0; i < int(items.size()); ++i) items[std::size_t(i)]->SetIndex(i);
    } catch (...) {
      EndUpdate();
      throw;
    }
    EndUpdate();
  } catch (...) {
    FState &= uint8_t(~stSorting);
    throw;
  }
  FState &= uint8_t(~stSorting);
}

void TcxOwnedInterfacedCollection::Update(TCollectionItem* Item) {
  if (FState & stUpdating) return;
  FState |= stUpdating;
  try {
    if (FSorted && !Item) Sort();
    TOwnedCollection::Update(Item);
    if (!(FState & stDestroying) && OnChange) OnChange(this, Item);
  } catch (...) {
    FState &= uint8_t(~stUpdating);
    throw;
  }
  FState &= uint8_t(~stUpdating);
}

void TcxStringList::Sort() {
  if (OnCompare)
    CustomSort([this](TStringList* L, int A, int B) { return OnCompare(L, A, B); });
  else
    TStringList::Sort();
}

// ---- object list

void TcxObjectList::FreeAndDelete(int Index) {
  TObject* o = Items(Index);
  TList::Delete(Index);
  if (!OwnsObjects()) delete o;
}

int TcxObjectList::RemoveAndFree(TObject* AObject) {
  int i = IndexOf(AObject);
  if (i >= 0) FreeAndDelete(i);
  return i;
}

// ---- multicast events

bool SameEventHandler(const TcxEventHandler& A, const TcxEventHandler& B) { return A == B; }

void InvokeNotifyEvent(TObject* Sender, const TNotifyEvent& Event) {
  if (Event) Event(Sender);
}

void TcxEventHandlerCollection::Subscribe(const TcxEventHandler& Handler) {
  if (!Handler) return;
  for (auto& e : FHandlers)
    if (SameEventHandler(e.Handler, Handler)) return;
  FHandlers.push_back({Handler, std::make_shared<bool>(true)});
}

void TcxEventHandlerCollection::Unsubscribe(const TcxEventHandler& Handler) {
  for (auto it = FHandlers.begin(); it != FHandlers.end(); ++it)
    if (SameEventHandler(it->Handler, Handler)) {
      *it->Alive = false;
      FHandlers.erase(it);
      return;
    }
}

void TcxEventHandlerCollection::CallAll(TObject* Sender, TcxEventArgs* Args) {
  std::vector<TEntry> snapshot = FHandlers;
  for (auto& e : snapshot)
    if (*e.Alive) e.Handler(Sender, Args);
}

// ---- weak object links

namespace {
struct TcxObjectLinkController {
  std::vector<TcxObjectLink*> Links;
  int RefCount = 0;
};
TcxObjectLinkController* gLinkController = nullptr;
}  // namespace

TcxObjectLink* CreateObjectLink(TObject* AObject) {
  if (!AObject) return nullptr;
  if (!gLinkController) gLinkController = new TcxObjectLinkController;
  ++gLinkController->RefCount;
  auto* link = new TcxObjectLink;
  link->FRef = AObject;
  link->FWeak = TWeakLink<TObject>(AObject);
  gLinkController->Links.push_back(link);
  return link;
}

void DestroyObjectLink(TcxObjectLink* ALink) {
  if (!ALink) return;
  if (gLinkController) {
    auto& v = gLinkController->Links;
    if (ALink->FRef) v.erase(std::remove(v.begin(), v.end(), ALink), v.end());
  }
  delete ALink;
  if (gLinkController && --gLinkController->RefCount <= 0) FreeAndClearObject(gLinkController);
}

void ClearLinksToObject(TObject* AObject) {
  if (!gLinkController || !AObject) return;
  auto& v = gLinkController->Links;
  for (int i = int(v.size()) - 1; i >= 0; --i)
    if (v[std::size_t(i)]->FRef == AObject) {
      v[std::size_t(i)]->FRef = nullptr;
      v.erase(v.begin() + i);
    }
}

// ---- free notification relay

void TcxFreeNotificator::Watch(TComponent* AComponent) {
  if (AComponent) AComponent->FreeNotification(this);
}

void TcxFreeNotificator::Unwatch(TComponent* AComponent) {
  if (AComponent) AComponent->RemoveFreeNotification(this);
}

void TcxFreeNotificator::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && OnFreeNotification) OnFreeNotification(AComponent);
}

// ---- component collections

TcxComponentCollectionItem::~TcxComponentCollectionItem() { SetCollection(nullptr); }

void TcxComponentCollectionItem::SetCollection(TcxComponentCollection* Value) {
  if (FCollection == Value) return;
  if (FCollection) FCollection->RemoveItem(this);
  if (Value) Value->InsertItem(this);
}

int TcxComponentCollectionItem::CollectionIndex() const {
  return FCollection ? FCollection->IndexOf(this) : -1;
}

TComponent* TcxComponentCollectionItem::GetParentComponent() const {
  return FCollection ? FCollection->ParentComponent() : TComponent::GetParentComponent();
}

void TcxComponentCollectionItem::SetParentComponent(TComponent* Value) {
  SetCollection(CollectionFromParent(Value));
}

void TcxComponentCollectionItem::MoveToCollection(TcxComponentCollection* ACollection) {
  SetCollection(ACollection);
}

void TcxComponentCollectionItem::MoveToIndex(int Index) {
  if (!FCollection || CollectionIndex() == Index) return;
  FCollection->MoveItem(this, Index);
}

void TcxComponentCollectionItem::NotifyCollection(bool AllItems) {
  if (ComponentState().Contains(csDestroying) || !FCollection) return;
  FCollection->Changed(AllItems ? nullptr : this, CollectionItemChanged);
}

TcxComponentCollection::TcxComponentCollection(TComponent* AParentComponent,
                                               TcxComponentCollectionItemClass AItemClass)
    : FItemClass(AItemClass), FParentComponent(AParentComponent) {}

TcxComponentCollection::~TcxComponentCollection() {
  FUpdateCount = 1;
  while (!FItems.empty()) delete FItems.back();
}

TcxComponentCollectionItem* TcxComponentCollection::AddNew() {
  if (!FItemClass || !FItemClass->CreateComponent)
    throw EdxException("The collection's item class cannot be created");
  TComponent* owner = FParentComponent ? FParentComponent->Owner() : nullptr;
  TComponent* c = FItemClass->CreateComponent(owner);
  auto* item = dynamic_cast<TcxComponentCollectionItem*>(c);
  if (!item) {
    delete c;
    throw EdxException("The collection's item class is not a collection item");
  }
  item->SetParentComponent(FParentComponent);
  AssignItemName(item);
  return item;
}

void TcxComponentCollection::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TcxComponentCollection*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  LockUpdates();
  try {
    while (!FItems.empty()) delete FItems.back();
    for (int i = 0; i < src->CountItems(); ++i) AddNew()->Assign(src->ItemAt(i));
  } catch (...) {
    UnlockUpdates(true);
    throw;
  }
  UnlockUpdates(true);
}

void TcxComponentCollection::FreeAllItems() {
  if (FItems.empty()) return;
  LockUpdates();
  try {
    while (!FItems.empty()) delete FItems.back();
  } catch (...) {
    UnlockUpdates(true);
    throw;
  }
  UnlockUpdates(true);
}

void TcxComponentCollection::ReadLegacyCollection(TReader* Reader) {
  Reader->ReadItemsInto([this](int Index) -> TPersistent* {
    return Index < CountItems() ? ItemAt(Index) : AddNew();
  });
}

TcxComponentCollectionItem* TcxComponentCollection::ItemAt(int Index) const {
  if (Index < 0 || Index >= CountItems())
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  return FItems[std::size_t(Index)];
}

int TcxComponentCollection::IndexOf(const TcxComponentCollectionItem* Item) const {
  auto it = std::find(FItems.begin(), FItems.end(), Item);
  return it == FItems.end() ? -1 : int(it - FItems.begin());
}

TcxComponentCollectionItem* TcxComponentCollection::FindItemByID(int32_t ID) const {
  for (auto* i : FItems)
    if (i->FID == ID) return i;
  return nullptr;
}

void TcxComponentCollection::LockUpdates() { ++FUpdateCount; }

void TcxComponentCollection::UnlockUpdates(bool ForceChanged) {
  if (FUpdateCount > 0) --FUpdateCount;
  if (ForceChanged) Changed(nullptr, CollectionItemChanged);
}

void TcxComponentCollection::NotifyUpdate(TcxComponentCollectionItem* Item,
                                          TcxComponentCollectionNotification Action) {
  if (OnChange) OnChange(this, Item, Action);
}

void TcxComponentCollection::Changed(TcxComponentCollectionItem* Item,
                                     TcxComponentCollectionNotification Action) {
  if (FUpdateCount == 0) NotifyUpdate(Item, Action);
}

void TcxComponentCollection::InsertItem(TcxComponentCollectionItem* Item) {
  const TClassInfo* cls = ClassInfoOf(Item);
  if (!FItemClass || !cls || !cls->InheritsFrom(FItemClass)) return;
  FItems.push_back(Item);
  Item->FCollection = this;
  Item->FID = FNextID++;
  ItemNotification(Item, CollectionItemAdded);
  Changed(Item, CollectionItemAdded);
}

void TcxComponentCollection::RemoveItem(TcxComponentCollectionItem* Item) {
  ItemNotification(Item, CollectionItemExtracting);
  FItems.erase(std::remove(FItems.begin(), FItems.end(), Item), FItems.end());
  Item->FCollection = nullptr;
  ItemNotification(Item, CollectionItemExtracted);
  Changed(Item, CollectionItemExtracted);
}

void TcxComponentCollection::MoveItem(TcxComponentCollectionItem* Item, int NewIndex) {
  int old = IndexOf(Item);
  if (old < 0) return;
  NewIndex = std::clamp(NewIndex, 0, CountItems() - 1);
  if (old == NewIndex) return;
  FItems.erase(FItems.begin() + old);
  FItems.insert(FItems.begin() + NewIndex, Item);
  Changed(nullptr, CollectionItemChanged);
}

// ---- component list

TcxComponentList::~TcxComponentList() {
  FUpdateCount = 1;
  Clear();
}

void TcxComponentList::Clear() {
  SuspendNotify();
  try {
    while (Count() > 0) Delete(0);
  } catch (...) {
    ResumeNotify();
    throw;
  }
  ResumeNotify();
}

void TcxComponentList::ResumeNotify() {
  --FUpdateCount;
  DoComponentListChanged(nullptr, CollectionItemChanged);
}

void TcxComponentList::Notify(void* Ptr, TListNotification Action) {
  auto* c = static_cast<TComponent*>(Ptr);
  if (IsItemOfClass(c)) {
    RelayNotification(c, Action);
  } else if (Action == lnAdded) {
    Extract(c);
  }
}

void TcxComponentList::RelayNotification(TComponent* Item, TListNotification Action) {
  TComponentList::Notify(Item, Action);
  if (OnNotify) OnNotify(this, Item, Action);
  static const TcxComponentCollectionNotification map[] = {
      CollectionItemAdded, CollectionItemExtracted, CollectionItemDeleted};
  DoComponentListChanged(Item, map[int(Action)]);
}

void TcxComponentList::DoComponentListChanged(TComponent* Component,
                                              TcxComponentCollectionNotification Action) {
  if (FUpdateCount == 0 && OnComponentListChanged) OnComponentListChanged(this, Component, Action);
}

// ---- unique names

namespace {
bool NameTaken(TComponent* Owner, const std::string& Name) {
  for (int i = 0; i < Owner->ComponentCount(); ++i) {
    TComponent* c = Owner->Components(i);
    if (SameText(c->Name(), Name) || NameTaken(c, Name)) return true;
  }
  return false;
}

bool IsIdentChar(unsigned char c) { return std::isalnum(c) || c == '_'; }
}  // namespace

void CreateUniqueName(TComponent* AOwner, TComponent* ANamingComponent, TComponent* AComponent,
                      const std::string& APrefixName, const std::string& ASuffixName,
                      std::string& AName) {
  std::string suffix;
  for (std::size_t i = 0; i < ASuffixName.size();) {
    auto c = static_cast<unsigned char>(ASuffixName[i]);
    if (c < 0x80) {
      if (IsIdentChar(c)) suffix += char(c);
      ++i;
    } else {
      // A character of several bytes is no identifier character: all its bytes go.
      ++i;
      while (i < ASuffixName.size() && (static_cast<unsigned char>(ASuffixName[i]) & 0xC0) == 0x80)
        ++i;
    }
  }
  std::string base = suffix;
  if (base.empty() || std::isdigit(static_cast<unsigned char>(base[0]))) {
    std::string cls = AComponent ? AComponent->ClassName() : std::string();
    if (!APrefixName.empty() && cls.size() >= APrefixName.size() &&
        SameText(cls.substr(0, APrefixName.size()), APrefixName))
      cls = cls.substr(APrefixName.size());
    else if (!cls.empty() && (cls[0] == 'T' || cls[0] == 't'))
      cls = cls.substr(1);
    base = cls + base;
  }
  if (ANamingComponent) base = ANamingComponent->Name() + base;
  int counter = ASuffixName.empty() ? 1 : 0;
  for (;;) {
    AName = counter > 0 ? base + IntToStr(counter) : base;
    if (!AOwner || !NameTaken(AOwner, AName)) return;
    ++counter;
  }
}

// ---- small routines

TSize BuildSize(int CX, int CY) { return {CX, CY}; }

int RangeCenter(int Bound1, int Bound2) {
  int sum = Bound1 + Bound2;
  return sum > 0 ? sum / 2 : (sum - 1) / 2;
}

std::string ShortHintPart(const std::string& Text) {
  std::size_t p = Text.find('|');
  return p == std::string::npos ? Text : Text.substr(0, p);
}

int CharByteLength(const std::string& Text, int Position) {
  if (Position < 1 || Position > int(Text.size())) return 1;
  auto c = static_cast<unsigned char>(Text[std::size_t(Position - 1)]);
  int n = c >= 0xF0 ? 4 : c >= 0xE0 ? 3 : c >= 0xC0 ? 2 : 1;
  return std::min(n, int(Text.size()) - Position + 1);
}

std::string LoadLocalizableResString(const TResStringRec* ResString) {
  return LoadResString(ResString);
}

// ---- registered classes

void TcxRegisteredClassList::Clear() { FItems.Clear(); }

bool TcxRegisteredClassList::FindItemClass(const TClassInfo* AClass, int& Index) const {
  if (!AClass) return false;
  for (int i = Count() - 1; i >= 0; --i) {
    const TClassInfo* item = Items(i)->ItemClass;
    if (AClass->InheritsFrom(item)) {
      Index = i;
      return true;
    }
    if (item->InheritsFrom(AClass)) Index = i;
  }
  return false;
}

void TcxRegisteredClassList::AddClassPair(const TClassInfo* AItemClass,
                                          const TClassInfo* ARegisteredClass) {
  auto* data = new TcxRegisteredClassListItemData;
  data->ItemClass = AItemClass;
  data->RegisteredClass = ARegisteredClass;
  int index = -1;
  if (FindItemClass(AItemClass, index))
    FItems.Insert(index + 1, data);
  else if (index >= 0)
    FItems.Insert(index, data);
  else
    FItems.Add(data);
}

void TcxRegisteredClassList::RemoveClassPair(const TClassInfo* AItemClass,
                                             const TClassInfo* ARegisteredClass) {
  for (int i = Count() - 1; i >= 0; --i)
    if (Items(i)->ItemClass == AItemClass && Items(i)->RegisteredClass == ARegisteredClass)
      FItems.Delete(i);
}

const TClassInfo* TcxRegisteredClassList::LookupClass(const TClassInfo* AItemClass) const {
  int index = -1;
  return FindItemClass(AItemClass, index) ? Items(index)->RegisteredClass : nullptr;
}

namespace {
TObject* ClassAsObject(const TClassInfo* c) {
  return reinterpret_cast<TObject*>(const_cast<TClassInfo*>(c));
}
const TClassInfo* ObjectAsClass(TObject* o) { return reinterpret_cast<const TClassInfo*>(o); }
}  // namespace

TcxRegisteredClasses::TcxRegisteredClasses(bool ARegisterClasses)
    : FRegisterClasses(ARegisterClasses) {}

TcxRegisteredClasses::~TcxRegisteredClasses() { Clear(); }

void TcxRegisteredClasses::AddEntry(const TClassInfo* AClass, const std::string& ADescription) {
  if (!AClass || IndexOfClass(AClass) >= 0) return;
  FItems.AddObject(ADescription, ClassAsObject(AClass));
  if (FSorted) SortByDescription();
  // Classes are known to the streaming system through their registration already; make sure
  // the name still finds this class.
  if (FRegisterClasses && FindClassInfo(AClass->Name) != AClass) RegisterClassInfo(*AClass);
}

void TcxRegisteredClasses::RemoveEntry(const TClassInfo* AClass) {
  int i = IndexOfClass(AClass);
  if (i >= 0) FItems.Delete(i);
}

int TcxRegisteredClasses::IndexOfClass(const TClassInfo* AClass) const {
  return FItems.IndexOfObject(ClassAsObject(AClass));
}

std::string TcxRegisteredClasses::DescriptionAt(int Index) const {
  return ShortHintPart(FItems.Strings(Index));
}

const TClassInfo* TcxRegisteredClasses::ClassAt(int Index) const {
  return ObjectAsClass(FItems.Objects(Index));
}

const TClassInfo* TcxRegisteredClasses::FindByClassName(const std::string& AClassName) const {
  for (int i = 0; i < Count(); ++i)
    if (ClassAt(i)->Name == AClassName) return ClassAt(i);
  return nullptr;
}

void TcxRegisteredClasses::SetSorted(bool Value) {
  if (FSorted == Value) return;
  FSorted = Value;
  if (FSorted) SortByDescription();
}

int TcxRegisteredClasses::CompareDescriptions(int Index1, int Index2) const {
  return AnsiCompareText(FItems.Strings(Index1), FItems.Strings(Index2));
}

void TcxRegisteredClasses::SortByDescription() {
  FItems.CustomSort([this](TStringList*, int A, int B) { return CompareDescriptions(A, B); });
}

// ---- auto width

TcxAutoWidthObject::~TcxAutoWidthObject() {
  for (int i = FItems.Count() - 1; i >= 0; --i) delete ItemAt(i);
}

TcxAutoWidthItem* TcxAutoWidthObject::NewItem() {
  auto* item = new TcxAutoWidthItem;
  FItems.Add(item);
  return item;
}

int TcxAutoWidthObject::TotalItemWidth() const {
  int total = 0;
  for (int i = 0; i < CountItems(); ++i) total += ItemAt(i)->Width;
  return total;
}

void TcxAutoWidthObject::DistributeWidth() {
  int remainingAvailable = AvailableWidth;
  int remainingWidth = TotalItemWidth();
  for (int i = 0; i < CountItems(); ++i) {
    TcxAutoWidthItem* item = ItemAt(i);
    if (item->Fixed) {
      item->AutoWidth = item->Width;
      remainingAvailable -= item->Width;
      remainingWidth -= item->Width;
    }
  }
  bool finalPass = false;
  bool clamped;
  do {
    const int a = remainingAvailable, w = remainingWidth;
    int s = 0;
    clamped = false;
    for (int i = 0; i < CountItems(); ++i) {
      TcxAutoWidthItem* item = ItemAt(i);
      if (item->AutoWidth != -1) continue;
      int share = MulDiv(s + item->Width, a, w) - MulDiv(s, a, w);
      if (finalPass) {
        item->AutoWidth = share;
      } else if (item->MinWidth >= share) {
        item->AutoWidth = item->MinWidth;
        remainingAvailable -= item->MinWidth;
        remainingWidth -= item->Width;
        clamped = true;
      }
      s += item->Width;
    }
    if (!clamped) finalPass = !finalPass;
  } while (remainingWidth != 0 && (clamped || finalPass));
}

// ---- unit start-up

void cxClassesInitialize() {
  if (gClassesUnitCount++ > 0) return;
  gClassesFinalizing = false;
  RegisterClass<TcxComponent, TComponent>();
  Published<TcxComponent>()
      .Property("FakeComponentLink1", &TcxComponent::FakeComponentLink1,
                &TcxComponent::SetFakeComponentLink1)
      .Stored([](TcxComponent* c) { return c->FakeComponentLink1() != nullptr; })
      .Property("FakeComponentLink2", &TcxComponent::FakeComponentLink2,
                &TcxComponent::SetFakeComponentLink2)
      .Stored([](TcxComponent* c) { return c->FakeComponentLink2() != nullptr; })
      .Property("FakeComponentLink3", &TcxComponent::FakeComponentLink3,
                &TcxComponent::SetFakeComponentLink3)
      .Stored([](TcxComponent* c) { return c->FakeComponentLink3() != nullptr; });
  RegisterClass<TcxScalableComponent, TcxComponent>();
  RegisterClass<TcxTimer, TComponent>();
  Published<TcxTimer>()
      .Property("Enabled", &TcxTimer::Enabled, &TcxTimer::SetEnabled).Default(1)
      .Property("Interval", &TcxTimer::Interval, &TcxTimer::SetInterval).Default(1000)
      .Property("OnTimer", &TcxTimer::OnTimerRef);
  RegisterClass<TcxFreeNotificator, TComponent>();
  RegisterClass<TcxComponentCollectionItem, TComponent>();
}

void cxClassesFinalize() {
  if (gClassesUnitCount == 0 || --gClassesUnitCount > 0) return;
  gClassesFinalizing = true;
  FreeSharedDialogsMetricsStore();
  FreeAndClearObject(gTimerWindow);
}
