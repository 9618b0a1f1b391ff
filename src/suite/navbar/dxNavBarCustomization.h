#pragma once
// What the bar owns for run-time customization: the holder of the customization form, the form's
// base class, and the registry through which the form unit makes its form class known.

#include <functional>
#include <memory>
#include <vector>

#include "platform/gui/CustomForms.h"
#include "suite/navbar/dxNavBarBase.h"

class TdxNavBarCustomCustomizationForm;
class TdxNavBarGroup;
class TdxNavBarItem;
class TdxNavBarItemLink;
using TdxNavBarCustomizationFormClass = std::function<TdxNavBarCustomCustomizationForm*()>;

class TdxNavBarCustomizeFormManager : public TObject {
 public:
  void RegisterFormClass(const TdxNavBarCustomizationFormClass* AFormClass);
  void UnregisterFormClass(const TdxNavBarCustomizationFormClass* AFormClass);
  // The last class registered, or null.
  const TdxNavBarCustomizationFormClass* GetFormClass() const;

 private:
  std::vector<const TdxNavBarCustomizationFormClass*> FClasses;
};

TdxNavBarCustomizeFormManager* dxNavBarCustomizeFormManager();
void dxNavBarRegisterCustomizationFormClass(const TdxNavBarCustomizationFormClass* AFormClass);
void dxNavBarUnregisterCustomizationFormClass(const TdxNavBarCustomizationFormClass* AFormClass);

class TdxNavBarCustomCustomizationForm : public TForm {
 public:
  explicit TdxNavBarCustomCustomizationForm(TComponent* AOwner);
  ~TdxNavBarCustomCustomizationForm() override;

  TdxCustomNavBar* NavBar() const { return FNavBar; }
  void SetNavBar(TdxCustomNavBar* Value);
  void BeginUpdate() { ++FLockCount; }
  void EndUpdate();
  void Refresh();

  virtual void CreateControls() {}
  virtual void InitializeForm();
  virtual void RefreshCaptions() {}
  virtual void RefreshLists() {}
  virtual bool CanDrop(TObject* Source, int X, int Y) { return false; }
  virtual void Drop(TObject* Source, int X, int Y) {}

  // Editing operations of the concrete form.
  void AddItemToGroup(TdxNavBarItem* AItem, TdxNavBarGroup* AGroup, int AIndex);
  void MoveLink(TdxNavBarItemLink* ALink, TdxNavBarGroup* AGroup, int AIndex);
  void RemoveLink(TdxNavBarItemLink* ALink);

 private:
  TdxCustomNavBar* FNavBar = nullptr;
  int FLockCount = 0;
};

class TdxNavBarCustomization : public TdxNavBarPersistent {
 public:
  explicit TdxNavBarCustomization(TdxCustomNavBar* ANavBar);
  ~TdxNavBarCustomization() override;

  TdxNavBarCustomCustomizationForm* Form() const { return FForm; }
  TRect FormBounds() const { return FFormBounds; }
  void SetFormBounds(const TRect& Value) { FFormBounds = Value; }
  bool Visible() const { return FForm != nullptr; }
  void SetVisible(bool Value);
  void Refresh();

  virtual TRect CalcFormBounds();
  virtual void ShowForm();
  virtual void DragDrop(TObject* Source, int X, int Y);
  virtual const TdxNavBarCustomizationFormClass* GetFormClass();

 private:
  friend class TdxNavBarCustomCustomizationForm;
  TdxNavBarCustomCustomizationForm* FForm = nullptr;
  TRect FFormBounds;
};
