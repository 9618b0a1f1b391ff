#pragma once
// The navigation bar's base classes: a persistent that hears when components it refers to are
// freed, the collection item and collection of groups, items and styles, and the persistent
// that belongs to one bar.

#include <memory>
#include <string>

#include "platform/rtl/Classes.h"
#include "suite/core/cxClasses.h"

class TdxCustomNavBar;
class TcxAccessibilityHelper;

// Tells an accessibility object that its owner goes, drops the owner's reference and empties
// the owner's slot (nothing for an empty slot).
void dxNavBarReleaseAccessibilityHelper(TcxAccessibilityHelper*& Helper);

// Registers the bar's classes with the class registry (once) and answers T's entry.
void dxNavBarRegisterClasses();
template <class T>
const TClassInfo* NavBarClassInfo() {
  dxNavBarRegisterClasses();
  return FindClassInfo(typeid(T));
}

class TdxNavBarNexusPersistent : public TcxOwnedPersistent {
 public:
  explicit TdxNavBarNexusPersistent(TPersistent* AOwner);
  ~TdxNavBarNexusPersistent() override;

 protected:
  virtual void FreeNotification(TComponent* AComponent) {}
  TcxFreeNotificator* FreeNotificator() const { return FFreeNotificator.get(); }

 private:
  std::unique_ptr<TcxFreeNotificator> FFreeNotificator;
};

class TdxNavBarComponentCollectionItem : public TcxComponentCollectionItem {
 public:
  explicit TdxNavBarComponentCollectionItem(TComponent* AOwner) : TcxComponentCollectionItem(AOwner) {}
  int Index() const { return CollectionIndex(); }
  // Clamped to the collection's range; nothing outside a collection.
  void SetIndex(int Value);
  virtual void InitiateAction() {}
};

class TdxNavBarComponentCollection : public TcxComponentCollection {
 public:
  using TcxComponentCollection::TcxComponentCollection;
  virtual void InitiateActions();
  TdxNavBarComponentCollectionItem* Items(int Index) const {
    return static_cast<TdxNavBarComponentCollectionItem*>(ItemAt(Index));
  }
  TdxNavBarComponentCollectionItem* ItemByName(const std::string& AName) const;
};

// A persistent owned by one navigation bar.
class TdxNavBarPersistent : public TPersistent {
 public:
  explicit TdxNavBarPersistent(TdxCustomNavBar* ANavBar) : FNavBar(ANavBar) {}
  TdxCustomNavBar* NavBar() const { return FNavBar; }

 protected:
  TPersistent* GetOwner() const override;

 private:
  TdxCustomNavBar* FNavBar;
};
