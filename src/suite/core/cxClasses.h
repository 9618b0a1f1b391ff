#pragma once
// The suite's base classes: objects answering interface queries without reference counting,
// owned persistents, components with design-time links, the window timer, object lists, the
// multicast event list, weak object links, the free-notification relay, component collections,
// registered classes, the auto-width layout and the resource-string loader.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Events.h"
#include "platform/rtl/System.h"
#include "platform/win/Types.h"
#include "platform/win/Windows.h"
#include "suite/core/dxCore.h"

// ---- interface-implementing objects

// Answers interface queries (a dynamic_cast here) and counts no references: it is never freed
// through an interface.
class TcxIUnknownObject : public TObject {
 public:
  int _AddRef() { return -1; }
  int _Release() { return -1; }
  template <class I>
  I* QueryInterface() {
    return dynamic_cast<I*>(this);
  }
};

// The interface I of an object, or null.
template <class I>
I* Supports(TObject* Object) {
  return dynamic_cast<I*>(Object);
}

class TcxInterfacedPersistent : public TPersistent {
 public:
  explicit TcxInterfacedPersistent(TPersistent* AOwner) : FOwner(AOwner) {}
  int _AddRef() { return -1; }
  int _Release() { return -1; }
  TPersistent* Owner() const { return FOwner; }

 protected:
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};

class TcxOwnedPersistent : public TPersistent {
 public:
  explicit TcxOwnedPersistent(TPersistent* AOwner) : FOwner(AOwner) {}
  TPersistent* Owner() const { return FOwner; }

 protected:
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};

// ---- components

class TcxComponent : public TComponent {
 public:
  explicit TcxComponent(TComponent* AOwner);
  ~TcxComponent() override;

  void Loaded() override;
  TComponent* FakeComponentLink1() const { return FFakeComponentLinks[0]; }
  TComponent* FakeComponentLink2() const { return FFakeComponentLinks[1]; }
  TComponent* FakeComponentLink3() const { return FFakeComponentLinks[2]; }
  void SetFakeComponentLink1(TComponent* V) { FFakeComponentLinks[0] = V; }
  void SetFakeComponentLink2(TComponent* V) { FFakeComponentLinks[1] = V; }
  void SetFakeComponentLink3(TComponent* V) { FFakeComponentLinks[2] = V; }
  static constexpr int FakeLinkCount = 3;
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }

 protected:
  virtual void GetFakeComponentLinks(std::vector<TComponent*>& List) {}
  void UpdateFakeLinks();

 private:
  TComponent* FFakeComponentLinks[3] = {nullptr, nullptr, nullptr};
};

class TcxScalableComponent : public TcxComponent {
 public:
  explicit TcxScalableComponent(TComponent* AOwner);
  void Loaded() override;
  int PixelsPerInch() const { return FPixelsPerInch; }
  void SetPixelsPerInch(int Value) { FPixelsPerInch = Value; }
  bool Scalable() const { return FScalable; }
  void SetScalable(bool Value) { FScalable = Value; }

 protected:
  virtual void ChangeScale(int M, int D) {}
  void DefineProperties(TFiler* Filer) override;

 private:
  int32_t FPixelsPerInch;
  bool FScalable = true;
};

// ---- timer

// A timer on the suite's one hidden timer window. It runs while Enabled and OnTimer is assigned.
class TcxTimer : public TComponent {
 public:
  explicit TcxTimer(TComponent* AOwner);
  ~TcxTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  uint32_t Interval() const { return FInterval; }
  void SetInterval(uint32_t Value);
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(const TNotifyEvent& Value);
  TNotifyEvent& OnTimerRef() { return FOnTimer; }
  bool TimerOn() const { return FTimerOn; }
  // A handler bound by a stored description starts the timer here.
  void Loaded() override;

 protected:
  virtual void Elapsed();

 private:
  friend struct TcxTimerWindow;
  bool CanSetTimer() const;
  void KillTimer();
  void SetTimer();
  void Restart();
  void SetTimerOn(bool Value);

  bool FEnabled = true;
  UINT_PTR FEventID;
  uint32_t FInterval = 1000;
  bool FTimerOn = false;
  TNotifyEvent FOnTimer;
};

// The hidden window that serves every TcxTimer (null before the first timer started).
HWND cxTimerWindowHandle();

// ---- collections of interfaced items

class TcxInterfacedCollectionItem : public TCollectionItem {
 public:
  explicit TcxInterfacedCollectionItem(TCollection* Collection) : TCollectionItem(Collection) {}
  int _AddRef() { return -1; }
  int _Release() { return -1; }
};

class TcxOwnedInterfacedCollection;
using TcxCollectionCompareEvent =
    Event<int(TObject* Sender, TCollectionItem* Item1, TCollectionItem* Item2)>;
using TcxOwnedInterfacedCollectionChangeEvent = Event<void(TObject* Sender, TCollectionItem* Item)>;

class TcxOwnedInterfacedCollection : public TOwnedCollection {
 public:
  TcxOwnedInterfacedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
      : TOwnedCollection(AOwner, std::move(ItemClass)) {}
  ~TcxOwnedInterfacedCollection() override;

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  void Sort();

  TcxCollectionCompareEvent OnCompare;
  TcxOwnedInterfacedCollectionChangeEvent OnChange;

 protected:
  virtual int CompareItems(TCollectionItem* Item1, TCollectionItem* Item2);
  void Update(TCollectionItem* Item) override;

 private:
  enum : uint8_t { stDestroying = 1, stUpdating = 2, stSorting = 4 };
  uint8_t FState = 0;
  bool FSorted = false;
};

class TcxStringList : public TStringList {
 public:
  using TCompareMethod = Event<int(TStringList* List, int Index1, int Index2)>;
  TCompareMethod OnCompare;
  void Sort() override;
};

class TcxObjectList : public TObjectList {
 public:
  explicit TcxObjectList(bool AOwnsObjects = true) : TObjectList(AOwnsObjects) {}
  static TcxObjectList* CreateWithOwnership(bool AOwnsObjects) {
    return new TcxObjectList(AOwnsObjects);
  }
  void FreeAndDelete(int Index);
  // The object's former index, or -1; the object is freed either way when it was found.
  int RemoveAndFree(TObject* AObject);
  TObject* ItemAt(int Index) const { return Items(Index); }
};

// ---- multicast events

class TcxEventArgs : public TObject {};
using TcxEventHandler = Event<void(TObject* Sender, TcxEventArgs* Args)>;

class TcxEventHandlerCollection : public TObject {
 public:
  void Subscribe(const TcxEventHandler& Handler);
  void Unsubscribe(const TcxEventHandler& Handler);
  // Calls the handlers subscribed when the call began, in subscription order, skipping those
  // unsubscribed meanwhile.
  void CallAll(TObject* Sender, TcxEventArgs* Args);
  int Count() const { return int(FHandlers.size()); }

 private:
  struct TEntry {
    TcxEventHandler Handler;
    std::shared_ptr<bool> Alive;
  };
  std::vector<TEntry> FHandlers;
};

bool SameEventHandler(const TcxEventHandler& A, const TcxEventHandler& B);
void InvokeNotifyEvent(TObject* Sender, const TNotifyEvent& Event);

// ---- weak object links

class TcxObjectLink : public TObject {
 public:
  // The linked object, null once it was freed or its links were cleared.
  TObject* Ref() const { return FWeak.get() ? FRef : nullptr; }

 private:
  friend TcxObjectLink* CreateObjectLink(TObject*);
  friend void ClearLinksToObject(TObject*);
  friend void DestroyObjectLink(TcxObjectLink*);
  TObject* FRef = nullptr;
  TWeakLink<TObject> FWeak;
};

TcxObjectLink* CreateObjectLink(TObject* AObject);
void DestroyObjectLink(TcxObjectLink* ALink);
void ClearLinksToObject(TObject* AObject);

// ---- free notification relay

using TcxFreeNotificationEvent = Event<void(TComponent* Sender)>;

class TcxFreeNotificator : public TComponent {
 public:
  explicit TcxFreeNotificator(TComponent* AOwner = nullptr) : TComponent(AOwner) {}
  void Watch(TComponent* AComponent);
  void Unwatch(TComponent* AComponent);
  TcxFreeNotificationEvent OnFreeNotification;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;
};

// ---- component collections

enum TcxComponentCollectionNotification : int32_t {
  CollectionItemAdded = 0,
  CollectionItemChanged = 1,
  CollectionItemExtracting = 2,
  CollectionItemExtracted = 3,
  CollectionItemDeleted = 4
};

class TcxComponentCollection;
using TcxComponentCollectionChangeEvent =
    Event<void(TObject* Sender, TComponent* Item, TcxComponentCollectionNotification Action)>;

class TcxComponentCollectionItem : public TComponent {
 public:
  explicit TcxComponentCollectionItem(TComponent* AOwner) : TComponent(AOwner) {}
  ~TcxComponentCollectionItem() override;

  TcxComponentCollection* Collection() const { return FCollection; }
  void SetCollection(TcxComponentCollection* Value);
  int32_t ID() const { return FID; }
  int CollectionIndex() const;
  void SetCollectionIndex(int Value) { MoveToIndex(Value); }

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  virtual void DisplayText(std::string& Text) const { Text = Name(); }
  virtual void MoveToCollection(TcxComponentCollection* ACollection);
  virtual void MoveToIndex(int Index);
  void NotifyCollection(bool AllItems = false);

 protected:
  virtual TcxComponentCollection* CollectionFromParent(TComponent* AParent) = 0;

 private:
  friend class TcxComponentCollection;
  TcxComponentCollection* FCollection = nullptr;
  int32_t FID = 0;
};

// Creates an item of the collection's item class with its owner.
using TcxComponentCollectionItemClass = const TClassInfo*;

class TcxComponentCollection : public TPersistent {
 public:
  TcxComponentCollection(TComponent* AParentComponent, TcxComponentCollectionItemClass AItemClass);
  ~TcxComponentCollection() override;

  TcxComponentCollectionItem* AddNew();
  void Assign(TPersistent* Source) override;
  void FreeAllItems();
  // Reads items stored in the plain collection form: entry i fills item i, or a new item.
  void ReadLegacyCollection(TReader* Reader);
  int CountItems() const { return int(FItems.size()); }
  int Count() const { return CountItems(); }
  TcxComponentCollectionItem* ItemAt(int Index) const;
  int IndexOf(const TcxComponentCollectionItem* Item) const;
  TcxComponentCollectionItem* FindItemByID(int32_t ID) const;
  TComponent* ParentComponent() const { return FParentComponent; }
  TcxComponentCollectionItemClass ItemClass() const { return FItemClass; }
  int32_t NextID() const { return FNextID; }

  virtual void LockUpdates();
  virtual void UnlockUpdates(bool ForceChanged = true);
  int UpdateCount() const { return FUpdateCount; }

  TcxComponentCollectionChangeEvent OnChange;

 protected:
  virtual void ItemNotification(TcxComponentCollectionItem* Item,
                                TcxComponentCollectionNotification Action) {}
  virtual void AssignItemName(TcxComponentCollectionItem* Item) {}
  virtual void NotifyUpdate(TcxComponentCollectionItem* Item,
                            TcxComponentCollectionNotification Action);
  TPersistent* GetOwner() const override { return FParentComponent; }
  void Changed(TcxComponentCollectionItem* Item = nullptr,
               TcxComponentCollectionNotification Action = CollectionItemChanged);

 private:
  friend class TcxComponentCollectionItem;
  void InsertItem(TcxComponentCollectionItem* Item);
  void RemoveItem(TcxComponentCollectionItem* Item);
  void MoveItem(TcxComponentCollectionItem* Item, int NewIndex);

  TcxComponentCollectionItemClass FItemClass;
  std::vector<TcxComponentCollectionItem*> FItems;
  int32_t FNextID = 0;
  TComponent* FParentComponent;
  int FUpdateCount = 0;
};

using TcxComponentListNotifyEvent =
    Event<void(TObject* Sender, TComponent* Item, TListNotification Action)>;
using TcxComponentListChangeEvent =
    Event<void(TObject* Sender, TComponent* Component, TcxComponentCollectionNotification Action)>;

class TcxComponentList : public TComponentList {
 public:
  TcxComponentList() : TComponentList(false) {}
  ~TcxComponentList() override;
  static TcxComponentList* CreateNonOwning() { return new TcxComponentList(); }

  void Clear() override;
  void SuspendNotify() { ++FUpdateCount; }
  void ResumeNotify();
  void ResumeNotifySilently() { --FUpdateCount; }

  TcxComponentListNotifyEvent OnNotify;
  TcxComponentListChangeEvent OnComponentListChanged;

 protected:
  void Notify(void* Ptr, TListNotification Action) override;
  virtual void RelayNotification(TComponent* Item, TListNotification Action);
  virtual bool IsItemOfClass(TComponent* Item) const { return Item != nullptr; }
  void DoComponentListChanged(TComponent* Component, TcxComponentCollectionNotification Action);

 private:
  int FUpdateCount = 0;
};

// A name no component owned by Owner (recursively) has yet; see the .cpp for how it is built.
void CreateUniqueName(TComponent* AOwner, TComponent* ANamingComponent, TComponent* AComponent,
                      const std::string& APrefixName, const std::string& ASuffixName,
                      std::string& AName);

// ---- small routines

TSize BuildSize(int CX, int CY);
int RangeCenter(int Bound1, int Bound2);
std::string ShortHintPart(const std::string& Text);
// Bytes of the character at a 1-based position of UTF-8 text (1 past the end).
int CharByteLength(const std::string& Text, int Position);
std::string LoadLocalizableResString(const TResStringRec* ResString);

// ---- registered classes

class TcxRegisteredClassListItemData : public TObject {
 public:
  const TClassInfo* ItemClass = nullptr;
  const TClassInfo* RegisteredClass = nullptr;
};

class TcxRegisteredClassList : public TObject {
 public:
  TcxRegisteredClassList() = default;
  static TcxRegisteredClassList* CreateList() { return new TcxRegisteredClassList(); }
  void Clear();
  int Count() const { return FItems.Count(); }
  TcxRegisteredClassListItemData* Items(int Index) const {
    return FItems.Get<TcxRegisteredClassListItemData>(Index);
  }
  virtual bool FindItemClass(const TClassInfo* AClass, int& Index) const;
  virtual void AddClassPair(const TClassInfo* AItemClass, const TClassInfo* ARegisteredClass);
  virtual void RemoveClassPair(const TClassInfo* AItemClass, const TClassInfo* ARegisteredClass);
  const TClassInfo* LookupClass(const TClassInfo* AItemClass) const;

 private:
  TObjectList FItems{true};
};

class TcxRegisteredClasses : public TObject {
 public:
  explicit TcxRegisteredClasses(bool ARegisterClasses = false);
  ~TcxRegisteredClasses() override;
  static TcxRegisteredClasses* CreateRegistry(bool ARegisterClasses = false) {
    return new TcxRegisteredClasses(ARegisterClasses);
  }

  void AddEntry(const TClassInfo* AClass, const std::string& ADescription);
  void RemoveEntry(const TClassInfo* AClass);
  int IndexOfClass(const TClassInfo* AClass) const;
  int Count() const { return FItems.Count(); }
  std::string DescriptionAt(int Index) const;
  const TClassInfo* ClassAt(int Index) const;
  const TClassInfo* FindByClassName(const std::string& AClassName) const;
  void Clear() { FItems.Clear(); }
  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);

 protected:
  virtual int CompareDescriptions(int Index1, int Index2) const;
  virtual void SortByDescription();

 private:
  TStringList FItems;
  bool FRegisterClasses;
  bool FSorted = false;
};

// ---- auto width

class TcxAutoWidthItem : public TObject {
 public:
  int32_t MinWidth = 0;
  int32_t Width = 0;
  bool Fixed = false;
  int32_t AutoWidth = -1;
};

class TcxAutoWidthObject : public TObject {
 public:
  explicit TcxAutoWidthObject(int ACapacity = 0) { FItems.SetCapacity(ACapacity); }
  ~TcxAutoWidthObject() override;
  static TcxAutoWidthObject* CreateWithCapacity(int ACapacity) {
    return new TcxAutoWidthObject(ACapacity);
  }
  TcxAutoWidthItem* NewItem();
  int CountItems() const { return FItems.Count(); }
  TcxAutoWidthItem* ItemAt(int Index) const {
    return static_cast<TcxAutoWidthItem*>(FItems.Items(Index));
  }
  int TotalItemWidth() const;
  void DistributeWidth();

  int32_t AvailableWidth = 0;

 private:
  TList FItems;
};

void cxClassesInitialize();
void cxClassesFinalize();
