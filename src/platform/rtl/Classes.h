#pragma once
// TPersistent and TComponent: ownership, names, component state and free notification.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Events.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/System.h"

class TPersistent : public TObject {
 public:
  // Copies the state of Source; the default asks Source to AssignTo this, then raises
  // EConvertError "Cannot assign a %s to a %s".
  virtual void Assign(TPersistent* Source);
  virtual std::string GetNamePath() const;

 protected:
  virtual void AssignTo(TPersistent* Dest);
  virtual TPersistent* GetOwner() const { return nullptr; }
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

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  virtual void ValidateRename(TComponent* AComponent, const std::string& CurName,
                              const std::string& NewName);
  virtual void ChangeName(const std::string& NewName) { FName = NewName; }
  TPersistent* GetOwner() const override { return FOwner; }

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
