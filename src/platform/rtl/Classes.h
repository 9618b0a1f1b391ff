#pragma once
// TPersistent and TComponent: ownership, names, component state and free notification; lists,
// string lists and collections. Streams are in Streams.h, included here.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/rtl/Events.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/System.h"

class TFiler;
class TReader;
class TWriter;

class TPersistent : public TObject {
 public:
  // Copies the state of Source; the default asks Source to AssignTo this, then raises
  // EConvertError "Cannot assign a %s to a %s".
  virtual void Assign(TPersistent* Source);
  virtual std::string GetNamePath() const;

 protected:
  virtual void AssignTo(TPersistent* Dest);
  virtual TPersistent* GetOwner() const { return nullptr; }
  // Stored properties beyond the published ones (Streaming.h).
  virtual void DefineProperties(TFiler* Filer) {}
  friend class TReader;
  friend class TWriter;
};

enum class TComponentStateItem {
  csLoading, csReading, csWriting, csDestroying, csDesigning, csAncestor, csUpdating,
  csFixups, csFreeNotification, csInline, csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;
using enum TComponentStateItem;

enum class TOperation { opInsert, opRemove };
using enum TOperation;

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  ~TComponent() override;

  TComponent* Owner() const { return FOwner; }
  int ComponentCount() const { return int(FComponents.size()); }
  TComponent* Components(int Index) const;
  int ComponentIndex() const;
  void SetComponentIndex(int Value);

  const std::string& Name() const { return FName; }
  // Raises EComponentError for a name that is not an identifier ("'%s' is not a valid component
  // name") or that a sibling already has ("A component named %s already exists").
  virtual void SetName(const std::string& NewName);
  intptr_t Tag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }

  const TComponentState& ComponentState() const { return FComponentState; }
  // State changes used by the streaming system and by designers.
  void SetComponentState(TComponentStateItem Item, bool On);

  TComponent* FindComponent(const std::string& AName) const;
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Frees the owned components, newest first.
  void DestroyComponents();
  // Marks this component and its owned ones as being destroyed.
  void Destroying();

  // Asks to be told (Notification with opRemove) when AComponent is freed; mutual.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Called after a stored description has been read into this component.
  virtual void Loaded();
  std::string GetNamePath() const override { return FName; }

  // The component that holds this one in a stored description (a control's parent).
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent* Value) {}

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const std::string& CurName,
                              const std::string& NewName);
  virtual void ChangeName(const std::string& NewName) { FName = NewName; }
  TPersistent* GetOwner() const override { return FOwner; }

  // Stored descriptions (Streaming.h). GetChildren hands to Proc the components written inside
  // this one's block; by default the components of Root whose parent component is this one,
  // and for the root itself also those without a parent.
  using TGetChildProc = std::function<void(TComponent* Child)>;
  virtual void GetChildren(TGetChildProc Proc, TComponent* Root);
  virtual TComponent* GetChildOwner() { return nullptr; }
  virtual TComponent* GetChildParent() { return this; }
  virtual void SetChildOrder(TComponent* Child, int Order) {}
  virtual void ReadState(TReader* Reader);
  virtual void WriteState(TWriter* Writer);
  friend class TReader;
  friend class TWriter;

 private:
  void Insert(TComponent* AComponent);
  void Remove(TComponent* AComponent);
  void RemoveNotification(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::string FName;
  intptr_t FTag = 0;
  TComponentState FComponentState;
  std::vector<TComponent*> FComponents;
  std::vector<TComponent*> FFreeNotifies;
};

bool IsValidIdent(const std::string& Ident);

// ---------------------------------------------------------------------------------------------
// Pointer lists.

enum class TListNotification { lnAdded, lnExtracted, lnDeleted };
using enum TListNotification;
using TListSortCompare = std::function<int(void* Item1, void* Item2)>;

// A list of untyped pointers. Index errors raise EListError "List index out of bounds (%d)".
class TList : public TObject {
 public:
  ~TList() override;
  int Add(void* Item);
  void Insert(int Index, void* Item);
  void Delete(int Index);
  // Removes the first occurrence; returns its former index or -1.
  int Remove(void* Item);
  // Removes the first occurrence without the deletion notice (lnExtracted instead).
  void* Extract(void* Item);
  virtual void Clear();
  int IndexOf(void* Item) const;
  void* Items(int Index) const;
  void SetItems(int Index, void* Item);
  void* operator[](int Index) const { return Items(Index); }
  void* First() const { return Items(0); }
  void* Last() const { return Items(Count() - 1); }
  int Count() const { return int(FList.size()); }
  // Growing adds null entries; shrinking deletes from the end.
  void SetCount(int NewCount);
  int Capacity() const { return int(FList.capacity()); }
  void SetCapacity(int NewCapacity) { FList.reserve(std::size_t(std::max(NewCapacity, 0))); }
  void Exchange(int Index1, int Index2);
  void Move(int CurIndex, int NewIndex);
  // Removes the null entries.
  void Pack();
  // Stable: equal items keep their order.
  void Sort(const TListSortCompare& Compare);
  void Assign(const TList* Source);
  std::vector<void*>::const_iterator begin() const { return FList.begin(); }
  std::vector<void*>::const_iterator end() const { return FList.end(); }

 protected:
  virtual void Notify(void* Ptr, TListNotification Action) {}
  [[noreturn]] static void IndexError(int Index);

 private:
  std::vector<void*> FList;
};

// A list of objects, freeing them when they leave the list (Delete, Remove, Clear, SetItems,
// destruction) while OwnsObjects is true; Extract hands an object back without freeing it.
class TObjectList : public TList {
 public:
  explicit TObjectList(bool AOwnsObjects = true) : FOwnsObjects(AOwnsObjects) {}
  ~TObjectList() override;
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }
  int Add(TObject* Item) { return TList::Add(Item); }
  void Insert(int Index, TObject* Item) { TList::Insert(Index, Item); }
  int Remove(TObject* Item) { return TList::Remove(Item); }
  TObject* Extract(TObject* Item) { return static_cast<TObject*>(TList::Extract(Item)); }
  int IndexOf(TObject* Item) const { return TList::IndexOf(Item); }
  TObject* Items(int Index) const { return static_cast<TObject*>(TList::Items(Index)); }
  void SetItems(int Index, TObject* Item) { TList::SetItems(Index, Item); }
  TObject* operator[](int Index) const { return Items(Index); }
  template <class T>
  T* Get(int Index) const {
    return static_cast<T*>(Items(Index));
  }

 protected:
  void Notify(void* Ptr, TListNotification Action) override;

 private:
  bool FOwnsObjects;
};

// A list of components that drops a component when it is freed elsewhere.
class TComponentList : public TObjectList {
 public:
  explicit TComponentList(bool AOwnsObjects = true);
  ~TComponentList() override;
  int Add(TComponent* Item) { return TObjectList::Add(Item); }
  void Insert(int Index, TComponent* Item) { TObjectList::Insert(Index, Item); }
  int Remove(TComponent* Item) { return TObjectList::Remove(Item); }
  int IndexOf(TComponent* Item) const { return TObjectList::IndexOf(Item); }
  TComponent* Items(int Index) const { return static_cast<TComponent*>(TList::Items(Index)); }
  TComponent* operator[](int Index) const { return Items(Index); }

 protected:
  void Notify(void* Ptr, TListNotification Action) override;

 private:
  class TNexus;
  void HandleFreeNotify(TComponent* AComponent);
  TNexus* FNexus = nullptr;
};

// ---------------------------------------------------------------------------------------------
// String lists.

// Lines are separated by this in Text and in saved files; reading accepts "\n", "\r\n" and "\r".
inline constexpr const char* sLineBreak = "\n";

enum class TDuplicates { dupIgnore, dupAccept, dupError };
using enum TDuplicates;

// The abstract list of strings with associated objects.
class TStrings : public TPersistent {
 public:
  virtual int Count() const = 0;
  virtual std::string Strings(int Index) const = 0;
  virtual void SetStrings(int Index, const std::string& S);
  std::string operator[](int Index) const { return Strings(Index); }
  virtual TObject* Objects(int Index) const { return nullptr; }
  virtual void SetObjects(int Index, TObject* AObject) {}

  virtual int Add(const std::string& S);
  virtual int AddObject(const std::string& S, TObject* AObject);
  void Append(const std::string& S) { Add(S); }
  virtual void AddStrings(const TStrings* Strings);
  void AddStrings(std::initializer_list<std::string> Strings);
  virtual void Insert(int Index, const std::string& S) = 0;
  void InsertObject(int Index, const std::string& S, TObject* AObject);
  virtual void Delete(int Index) = 0;
  virtual void Clear() = 0;
  virtual void Exchange(int Index1, int Index2);
  virtual void Move(int CurIndex, int NewIndex);
  virtual int IndexOf(const std::string& S) const;
  int IndexOfName(const std::string& Name) const;
  int IndexOfObject(const TObject* AObject) const;
  bool Equals(const TStrings* Strings) const;
  void Assign(TPersistent* Source) override;

  // "Name=Value" entries. Names are compared without regard to case.
  char NameValueSeparator() const { return FNameValueSeparator; }
  void SetNameValueSeparator(char Value) { FNameValueSeparator = Value; }
  std::string Names(int Index) const;
  std::string Values(const std::string& Name) const;
  // An empty value deletes the entry.
  void SetValues(const std::string& Name, const std::string& Value);
  std::string ValueFromIndex(int Index) const;
  void SetValueFromIndex(int Index, const std::string& Value);

  // Each line followed by sLineBreak; setting replaces the lines.
  virtual std::string Text() const;
  virtual void SetText(const std::string& Value);
  // Strings separated by Delimiter; those holding blanks, control characters, the delimiter or
  // the quote character are quoted with QuoteChar (inner quotes doubled). Reading splits on the
  // delimiter and, unless StrictDelimiter, on blanks outside quotes.
  std::string DelimitedText() const;
  void SetDelimitedText(const std::string& Value);
  // DelimitedText with ',' and '"', whatever Delimiter, QuoteChar and StrictDelimiter say.
  std::string CommaText() const;
  void SetCommaText(const std::string& Value);
  char Delimiter() const { return FDelimiter; }
  void SetDelimiter(char Value) { FDelimiter = Value; }
  char QuoteChar() const { return FQuoteChar; }
  void SetQuoteChar(char Value) { FQuoteChar = Value; }
  bool StrictDelimiter() const { return FStrictDelimiter; }
  void SetStrictDelimiter(bool Value) { FStrictDelimiter = Value; }

  // Nested updates: only the outermost pair calls SetUpdateState.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }

  // UTF-8 text lines; a leading byte order mark is skipped. Errors of the file raise
  // EFOpenError/EFCreateError.
  virtual void LoadFromFile(const std::string& FileName);
  virtual void SaveToFile(const std::string& FileName) const;
  virtual void LoadFromStream(TStream* Stream);
  virtual void SaveToStream(TStream* Stream) const;

 protected:
  virtual void SetUpdateState(bool Updating) {}
  virtual int CompareStrings(const std::string& S1, const std::string& S2) const;
  [[noreturn]] void Error(const std::string& Msg, int Data) const;

 private:
  std::string QuotedItems(char delimiter, char quote, bool strict) const;
  void ParseItems(const std::string& value, char delimiter, char quote, bool strict);

  char FNameValueSeparator = '=';
  char FDelimiter = ',';
  char FQuoteChar = '"';
  bool FStrictDelimiter = false;
  int FUpdateCount = 0;
};

class TStringList;
using TStringListSortCompare = std::function<int(TStringList* List, int Index1, int Index2)>;

// Strings with objects, optionally kept sorted. Strings compare with AnsiCompareText, or with
// AnsiCompareStr when CaseSensitive (lower case before upper case). Errors raise EStringListError:
// "List index out of bounds (%d)", "String list does not allow duplicates", "Operation not allowed
// on sorted list".
class TStringList : public TStrings {
 public:
  TStringList() = default;
  explicit TStringList(bool AOwnsObjects) : FOwnsObjects(AOwnsObjects) {}
  ~TStringList() override;

  int Count() const override { return int(FList.size()); }
  std::string Strings(int Index) const override;
  void SetStrings(int Index, const std::string& S) override;
  TObject* Objects(int Index) const override;
  void SetObjects(int Index, TObject* AObject) override;
  int Add(const std::string& S) override;
  int AddObject(const std::string& S, TObject* AObject) override;
  void Insert(int Index, const std::string& S) override;
  void InsertObject(int Index, const std::string& S, TObject* AObject);
  void Delete(int Index) override;
  void Clear() override;
  void Exchange(int Index1, int Index2) override;
  void Move(int CurIndex, int NewIndex) override;
  int IndexOf(const std::string& S) const override;
  // Binary search of a sorted list (linear otherwise): true when found; Index is the match or
  // the place to insert.
  virtual bool Find(const std::string& S, int& Index) const;
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& Compare);

  bool Sorted() const { return FSorted; }
  void SetSorted(bool Value);
  TDuplicates Duplicates() const { return FDuplicates; }
  void SetDuplicates(TDuplicates Value) { FDuplicates = Value; }
  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool Value);
  // When true, objects are freed as their strings are deleted or replaced.
  bool OwnsObjects() const { return FOwnsObjects; }
  void SetOwnsObjects(bool Value) { FOwnsObjects = Value; }

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  virtual void Changed();
  virtual void Changing();
  void SetUpdateState(bool Updating) override;
  int CompareStrings(const std::string& S1, const std::string& S2) const override;
  virtual void InsertItem(int Index, const std::string& S, TObject* AObject);
  void CheckIndex(int Index) const;

 private:
  struct TStringItem {
    std::string FString;
    TObject* FObject = nullptr;
  };
  std::vector<TStringItem> FList;
  bool FSorted = false;
  bool FCaseSensitive = false;
  bool FOwnsObjects = false;
  TDuplicates FDuplicates = dupIgnore;
};

// ---------------------------------------------------------------------------------------------
// Collections: lists of owned items of one class, as stored properties.

class TCollection;

enum class TCollectionNotification { cnAdded, cnExtracting, cnDeleting };
using enum TCollectionNotification;

class TCollectionItem : public TPersistent {
 public:
  // Joins Collection (which then owns it) when given.
  explicit TCollectionItem(TCollection* Collection);
  ~TCollectionItem() override;

  TCollection* Collection() const { return FCollection; }
  // Moves the item to another collection (or none).
  void SetCollection(TCollection* Value);
  int ID() const { return FID; }
  int Index() const;
  // Moves the item within its collection.
  virtual void SetIndex(int Value);
  virtual std::string DisplayName() const;
  virtual void SetDisplayName(const std::string& Value) { Changed(false); }
  std::string GetNamePath() const override;

 protected:
  // Tells the collection: AllItems for changes that concern every item (a moved index).
  void Changed(bool AllItems);
  TPersistent* GetOwner() const override;

 private:
  friend class TCollection;
  TCollection* FCollection = nullptr;
  int FID = 0;
};

using TCollectionItemClass = std::function<TCollectionItem*(TCollection* Collection)>;

// Items are freed with the collection, by Delete and Clear.
class TCollection : public TPersistent {
 public:
  explicit TCollection(TCollectionItemClass ItemClass);
  // Convenience: a collection of T, constructed as T(Collection).
  template <class T>
  static TCollectionItemClass ItemClassOf() {
    return [](TCollection* c) -> TCollectionItem* { return new T(c); };
  }
  ~TCollection() override;

  TCollectionItem* Add();
  TCollectionItem* Insert(int Index);
  void Delete(int Index);
  void Clear();
  int Count() const { return int(FItems.size()); }
  TCollectionItem* Items(int Index) const;
  TCollectionItem* operator[](int Index) const { return Items(Index); }
  template <class T>
  T* Get(int Index) const {
    return static_cast<T*>(Items(Index));
  }
  TCollectionItem* FindItemID(int ID) const;
  int NextID() const { return FNextID; }
  // Replaces the items with copies of Source's (each item's Assign), in one update.
  void Assign(TPersistent* Source) override;

  // Nested updates; the outermost EndUpdate reports one change of every item.
  virtual void BeginUpdate();
  virtual void EndUpdate();
  int UpdateCount() const { return FUpdateCount; }
  const std::string& PropName() const { return FPropName; }
  void SetPropName(const std::string& Value) { FPropName = Value; }
  std::string GetNamePath() const override;
  TPersistent* Owner() const { return GetOwner(); }

 protected:
  // Item is null when every item may have changed.
  virtual void Update(TCollectionItem* Item) {}
  virtual void Notify(TCollectionItem* Item, TCollectionNotification Action) {}
  virtual void Added(TCollectionItem* Item) {}
  virtual void Deleting(TCollectionItem* Item) {}
  void Changed();
  const TCollectionItemClass& ItemClass() const { return FItemClass; }

 private:
  friend class TCollectionItem;
  void InsertItem(TCollectionItem* Item);
  void RemoveItem(TCollectionItem* Item);
  void MoveItem(TCollectionItem* Item, int NewIndex);

  TCollectionItemClass FItemClass;
  std::vector<TCollectionItem*> FItems;
  int FUpdateCount = 0;
  int FNextID = 0;
  std::string FPropName;
};

// A collection that knows the persistent it belongs to (for name paths and Owner).
class TOwnedCollection : public TCollection {
 public:
  TOwnedCollection(TPersistent* AOwner, TCollectionItemClass ItemClass)
      : TCollection(std::move(ItemClass)), FOwner(AOwner) {}

 protected:
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
};
