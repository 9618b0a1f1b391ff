#include "suite/navbar/dxNavBarBase.h"

#include <algorithm>

#include "suite/navbar/dxNavBar.h"

TdxNavBarNexusPersistent::TdxNavBarNexusPersistent(TPersistent* AOwner)
    : TcxOwnedPersistent(AOwner), FFreeNotificator(std::make_unique<TcxFreeNotificator>()) {
  FFreeNotificator->OnFreeNotification = [this](TComponent* C) { FreeNotification(C); };
}

TdxNavBarNexusPersistent::~TdxNavBarNexusPersistent() = default;

void TdxNavBarComponentCollectionItem::SetIndex(int Value) {
  if (!Collection()) return;
  MoveToIndex(std::clamp(Value, 0, Collection()->CountItems() - 1));
}

void TdxNavBarComponentCollection::InitiateActions() {
  for (int i = 0; i < CountItems(); ++i) Items(i)->InitiateAction();
}

TdxNavBarComponentCollectionItem* TdxNavBarComponentCollection::ItemByName(const std::string& AName) const {
  for (int i = 0; i < CountItems(); ++i)
    if (Items(i)->Name() == AName) return Items(i);
  return nullptr;
}

TPersistent* TdxNavBarPersistent::GetOwner() const { return FNavBar; }
