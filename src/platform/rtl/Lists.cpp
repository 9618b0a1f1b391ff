// TList, TObjectList and TComponentList.
#include <algorithm>

#include "platform/rtl/Classes.h"

TList::~TList() {
  // Derived lists clear themselves first: their Notify no longer runs here.
  FList.clear();
}

void TList::IndexError(int Index) {
  throw EListError(Format("List index out of bounds (%d)", {Index}));
}

int TList::Add(void* Item) {
  FList.push_back(Item);
  if (Item) Notify(Item, lnAdded);
  return Count() - 1;
}

void TList::Insert(int Index, void* Item) {
  if (Index < 0 || Index > Count()) IndexError(Index);
  FList.insert(FList.begin() + Index, Item);
  if (Item) Notify(Item, lnAdded);
}

void TList::Delete(int Index) {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  void* item = FList[std::size_t(Index)];
  FList.erase(FList.begin() + Index);
  if (item) Notify(item, lnDeleted);
}

int TList::Remove(void* Item) {
  int i = IndexOf(Item);
  if (i >= 0) Delete(i);
  return i;
}

void* TList::Extract(void* Item) {
  int i = IndexOf(Item);
  if (i < 0) return nullptr;
  FList.erase(FList.begin() + i);
  Notify(Item, lnExtracted);
  return Item;
}

void TList::Clear() {
  SetCount(0);
  FList.shrink_to_fit();
}

int TList::IndexOf(void* Item) const {
  auto it = std::find(FList.begin(), FList.end(), Item);
  return it == FList.end() ? -1 : int(it - FList.begin());
}

void* TList::Items(int Index) const {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  return FList[std::size_t(Index)];
}

void TList::SetItems(int Index, void* Item) {
  if (Index < 0 || Index >= Count()) IndexError(Index);
  void* old = FList[std::size_t(Index)];
  if (old == Item) return;
  FList[std::size_t(Index)] = Item;
  if (old) Notify(old, lnDeleted);
  if (Item) Notify(Item, lnAdded);
}

void TList::SetCount(int NewCount) {
  if (NewCount < 0) IndexError(NewCount);
  if (NewCount > Count()) {
    FList.resize(std::size_t(NewCount), nullptr);
    return;
  }
  for (int i = Count() - 1; i >= NewCount; --i) Delete(i);
}

void TList::Exchange(int Index1, int Index2) {
  if (Index1 < 0 || Index1 >= Count()) IndexError(Index1);
  if (Index2 < 0 || Index2 >= Count()) IndexError(Index2);
  std::swap(FList[std::size_t(Index1)], FList[std::size_t(Index2)]);
}

void TList::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  if (NewIndex < 0 || NewIndex >= Count()) IndexError(NewIndex);
  void* item = Items(CurIndex);
  FList.erase(FList.begin() + CurIndex);
  FList.insert(FList.begin() + NewIndex, item);
}

void TList::Pack() { FList.erase(std::remove(FList.begin(), FList.end(), nullptr), FList.end()); }

void TList::Sort(const TListSortCompare& Compare) {
  std::stable_sort(FList.begin(), FList.end(), [&](void* a, void* b) { return Compare(a, b) < 0; });
}

void TList::Assign(const TList* Source) {
  Clear();
  for (void* p : Source->FList) Add(p);
}

// ---------------------------------------------------------------------------------------------

TObjectList::~TObjectList() { Clear(); }

void TObjectList::Notify(void* Ptr, TListNotification Action) {
  if (FOwnsObjects && Action == lnDeleted) delete static_cast<TObject*>(Ptr);
  TList::Notify(Ptr, Action);
}

// ---------------------------------------------------------------------------------------------

// Hears of the list's components being freed.
class TComponentList::TNexus : public TComponent {
 public:
  explicit TNexus(TComponentList* list) : TComponent(nullptr), FList(list) {}

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override {
    TComponent::Notification(AComponent, Operation);
    if (Operation == opRemove) FList->HandleFreeNotify(AComponent);
  }

 private:
  TComponentList* FList;
};

TComponentList::TComponentList(bool AOwnsObjects) : TObjectList(AOwnsObjects) {}

TComponentList::~TComponentList() {
  Clear();
  delete FNexus;
}

void TComponentList::HandleFreeNotify(TComponent* AComponent) {
  // The component is already being freed: take it out without freeing it again.
  while (IndexOf(AComponent) >= 0) TList::Extract(AComponent);
}

void TComponentList::Notify(void* Ptr, TListNotification Action) {
  auto* c = static_cast<TComponent*>(Ptr);
  if (Action == lnAdded) {
    if (!FNexus) FNexus = new TNexus(this);
    FNexus->FreeNotification(c);
  } else if (FNexus && IndexOf(c) < 0) {
    FNexus->RemoveFreeNotification(c);
  }
  TObjectList::Notify(Ptr, Action);
}
