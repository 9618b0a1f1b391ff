#pragma once
// The navigation bar's model: groups holding ordered links to items, the items (commands that
// may follow an action), the group options, and the panel that hosts a group's own controls.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gui/ActnList.h"
#include "platform/gui/ExtCtrls.h"
#include "suite/navbar/dxNavBarBase.h"
#include "suite/navbar/dxNavBarStyles.h"

class TdxCustomNavBar;
class TdxNavBarGroup;
class TdxNavBarItem;
class TdxNavBarGroupControl;
class TdxNavBarGroups;

enum class TcxTopBottom : uint8_t { vaTop, vaBottom };

class TdxNavBarCustomItem : public TdxNavBarComponentCollectionItem {
 public:
  explicit TdxNavBarCustomItem(TComponent* AOwner) : TdxNavBarComponentCollectionItem(AOwner) {}
  void Assign(TPersistent* Source) override;
  void SetName(const std::string& NewName) override;

  TdxCustomNavBar* NavBar() const;
  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  int32_t LargeImageIndex() const { return FLargeImageIndex; }
  void SetLargeImageIndex(int32_t Value);
  int32_t SmallImageIndex() const { return FSmallImageIndex; }
  void SetSmallImageIndex(int32_t Value);
  bool Visible() const { return FVisible; }
  // Nothing for the current value (the idle update sets it on every pass).
  void SetVisible(bool Value);
  TNotifyEvent OnClick;

  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDestroying() const { return ComponentState().Contains(csDestroying); }

  virtual void ApplyVisible(bool Value);

 protected:
  bool FVisible = true;

 private:
  std::string FCaption;
  std::string FHint;
  int32_t FLargeImageIndex = -1;
  int32_t FSmallImageIndex = -1;
};

class TdxNavBarItemLinks;

class TdxNavBarItemLink : public TCollectionItem {
 public:
  explicit TdxNavBarItemLink(TCollection* Collection);
  ~TdxNavBarItemLink() override;
  void Assign(TPersistent* Source) override;

  intptr_t LinkData() const { return FLinkData; }
  void SetLinkData(intptr_t Value) { FLinkData = Value; }
  TdxNavBarItem* Item() const { return FItem; }
  void SetItem(TdxNavBarItem* Value);
  TdxNavBarGroup* Group() const;

  bool IsSelected() const;
  void SetSelected(bool Value);
  bool IsEnabled() const;
  void UpdateAction();
  // The link's accessibility object, made on first request (dxNavBarAccessibility).
  TcxAccessibilityHelper*& AccessibilitySlot() { return FAccessibility; }

 private:
  intptr_t FLinkData = 0;
  TdxNavBarItem* FItem = nullptr;
  TcxAccessibilityHelper* FAccessibility = nullptr;
};

class TdxNavBarItemLinks : public TCollection {
 public:
  explicit TdxNavBarItemLinks(TdxNavBarGroup* AGroup);
  TdxNavBarGroup* Group() const { return FGroup; }
  TdxNavBarItemLink* Items(int Index) const { return Get<TdxNavBarItemLink>(Index); }

 protected:
  void Update(TCollectionItem* Item) override;
  TPersistent* GetOwner() const override;

 private:
  TdxNavBarGroup* FGroup;
};

class TdxNavBarGroupExpansionOptions : public TcxOwnedPersistent {
 public:
  explicit TdxNavBarGroupExpansionOptions(TdxNavBarGroup* AGroup);
  void Assign(TPersistent* Source) override;
  bool Expandable() const { return FExpandable; }
  void SetExpandable(bool Value) { FExpandable = Value; }
  bool Expanded() const { return FExpanded; }
  void SetExpanded(bool Value);
  bool ShowExpandButton() const { return FShowExpandButton; }
  void SetShowExpandButton(bool Value);

 private:
  TdxNavBarGroup* FGroup;
  bool FExpandable = true;
  bool FExpanded = true;
  bool FShowExpandButton = true;
};

class TdxNavBarGroupControlOptions : public TcxOwnedPersistent {
 public:
  explicit TdxNavBarGroupControlOptions(TdxNavBarGroup* AGroup);
  void Assign(TPersistent* Source) override;
  bool AllowControlResizing() const { return FAllowControlResizing; }
  void SetAllowControlResizing(bool Value);
  bool ShowControl() const { return FShowControl; }
  void SetShowControl(bool Value);
  bool UseControl() const { return FUseControl; }
  void SetUseControl(bool Value);

 private:
  friend class TdxNavBarGroup;
  friend class TdxNavBarGroupControl;
  TdxNavBarGroup* FGroup;
  bool FAllowControlResizing = false;
  bool FUseControl = false;
  bool FShowControl = false;
};

class TdxNavBarGroup : public TdxNavBarCustomItem {
 public:
  explicit TdxNavBarGroup(TComponent* AOwner);
  ~TdxNavBarGroup() override;
  // The group's accessibility objects (the group, its caption panel, its link container), made
  // on first request (dxNavBarAccessibility).
  TcxAccessibilityHelper*& AccessibilitySlot(int Index) { return FAccessibility[Index]; }
  void Loaded() override;
  void InitiateAction() override;
  void ApplyVisible(bool Value) override;

  TcxTopBottom Align() const { return FAlign; }
  void SetAlign(TcxTopBottom Value);
  bool LinksUseSmallImages() const { return FLinksUseSmallImages; }
  void SetLinksUseSmallImages(bool Value);
  bool ShowAsIconView() const { return FShowAsIconView; }
  void SetShowAsIconView(bool Value);
  bool ShowCaption() const { return FShowCaption; }
  void SetShowCaption(bool Value);
  bool UseSmallImages() const { return FUseSmallImages; }
  void SetUseSmallImages(bool Value);
  bool UseRestSpace() const { return FUseRestSpace; }
  void SetUseRestSpace(bool Value);
  int32_t TopVisibleLinkIndex() const { return FTopVisibleLinkIndex; }
  void SetTopVisibleLinkIndex(int32_t Value);
  int32_t SelectedLinkIndex() const;
  void SetSelectedLinkIndex(int32_t Value);
  bool VisibleForCustomization() const { return FVisibleForCustomization; }
  void SetVisibleForCustomization(bool Value) { FVisibleForCustomization = Value; }

  TdxNavBarGroupExpansionOptions* OptionsExpansion() const { return FOptionsExpansion.get(); }
  TdxNavBarGroupControlOptions* OptionsGroupControl() const { return FOptionsGroupControl.get(); }
  TdxNavBarGroupCustomStyles* CustomStyles() const { return FCustomStyles.get(); }
  bool Expandable() const { return FOptionsExpansion->Expandable(); }
  void SetExpandable(bool Value) { FOptionsExpansion->SetExpandable(Value); }
  bool Expanded() const { return FOptionsExpansion->Expanded(); }
  void SetExpanded(bool Value) { FOptionsExpansion->SetExpanded(Value); }
  bool ShowExpandButton() const { return FOptionsExpansion->ShowExpandButton(); }
  void SetShowExpandButton(bool Value) { FOptionsExpansion->SetShowExpandButton(Value); }
  bool UseControl() const { return FOptionsGroupControl->UseControl(); }
  void SetUseControl(bool Value) { FOptionsGroupControl->SetUseControl(Value); }
  bool ShowControl() const { return FOptionsGroupControl->ShowControl(); }
  void SetShowControl(bool Value) { FOptionsGroupControl->SetShowControl(Value); }
  TdxNavBarStyleItem* StyleBackground() const { return FCustomStyles->Background(); }
  TdxNavBarStyleItem* StyleControl() const { return FCustomStyles->Control(); }
  TdxNavBarStyleItem* StyleHeader() const { return FCustomStyles->Header(); }
  TdxNavBarStyleItem* StyleHeaderActive() const { return FCustomStyles->HeaderActive(); }
  TdxNavBarStyleItem* StyleHeaderActiveHotTracked() const { return FCustomStyles->HeaderActiveHotTracked(); }
  TdxNavBarStyleItem* StyleHeaderActivePressed() const { return FCustomStyles->HeaderActivePressed(); }
  TdxNavBarStyleItem* StyleHeaderHotTracked() const { return FCustomStyles->HeaderHotTracked(); }
  TdxNavBarStyleItem* StyleHeaderPressed() const { return FCustomStyles->HeaderPressed(); }
  void SetStyleBackground(TdxNavBarStyleItem* V) { FCustomStyles->SetStyleAt(0, V); }
  void SetStyleControl(TdxNavBarStyleItem* V) { FCustomStyles->SetStyleAt(1, V); }
  void SetStyleHeader(TdxNavBarStyleItem* V) { FCustomStyles->SetStyleAt(2, V); }
  void SetStyleHeaderActive(TdxNavBarStyleItem* V) { FCustomStyles->SetStyleAt(3, V); }
  void SetStyleHeaderActiveHotTracked(TdxNavBarStyleItem* V) { FCustomStyles->SetStyleAt(4, V); }
  void SetStyleHeaderActivePressed(TdxNavBarStyleItem* V) { FCustomStyles->SetStyleAt(5, V); }
  void SetStyleHeaderHotTracked(TdxNavBarStyleItem* V) { FCustomStyles->SetStyleAt(6, V); }
  void SetStyleHeaderPressed(TdxNavBarStyleItem* V) { FCustomStyles->SetStyleAt(7, V); }

  TdxNavBarItemLinks* Links() const { return FLinks.get(); }
  int LinkCount() const { return FLinks ? FLinks->Count() : 0; }
  TdxNavBarItemLink* LinkAt(int Index) const { return FLinks->Items(Index); }
  // Raises EdxException when Item belongs to another bar.
  TdxNavBarItemLink* CreateLink(TdxNavBarItem* Item);
  void RemoveLink(int Index);
  void RemoveLinks(TdxNavBarItem* Item);
  void LinksChanged(TdxNavBarItemLink* Link);
  TdxNavBarGroupControl* Control() const { return FControl; }

  TNotifyEvent OnCollapsed;
  TNotifyEvent OnExpanded;
  TNotifyEvent OnSelectedLinkChanged;
  TNotifyEvent OnTopVisibleLinkChanged;

  virtual void CreateControl();
  virtual void DestroyControl();
  virtual void AttachControl(TdxNavBarGroupControl* AControl);
  virtual void DetachControl();

  void DoCollapsed() { InvokeNotifyEvent(this, OnCollapsed); }
  void DoExpanded() { InvokeNotifyEvent(this, OnExpanded); }
  void DoSelectedLinkChanged() { InvokeNotifyEvent(this, OnSelectedLinkChanged); }
  void DoTopVisibleLinkChanged() { InvokeNotifyEvent(this, OnTopVisibleLinkChanged); }

 protected:
  TcxComponentCollection* CollectionFromParent(TComponent* AParent) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TdxNavBarItemLink;
  friend class TdxNavBarGroupExpansionOptions;
  friend class TdxNavBarGroupControl;

  TcxAccessibilityHelper* FAccessibility[3] = {};
  TcxTopBottom FAlign = TcxTopBottom::vaTop;
  bool FLinksUseSmallImages = true;
  bool FShowAsIconView = false;
  bool FShowCaption = true;
  bool FUseSmallImages = true;
  bool FUseRestSpace = false;
  int32_t FTopVisibleLinkIndex = 0;
  int32_t FLoadedSelectedLinkIndex = -1;
  TdxNavBarItemLink* FSelectedLink = nullptr;
  bool FVisibleForCustomization = true;
  std::unique_ptr<TdxNavBarGroupExpansionOptions> FOptionsExpansion;
  std::unique_ptr<TdxNavBarGroupControlOptions> FOptionsGroupControl;
  std::unique_ptr<TdxNavBarGroupCustomStyles> FCustomStyles;
  std::unique_ptr<TdxNavBarItemLinks> FLinks;
  TdxNavBarGroupControl* FControl = nullptr;
};

class TdxNavBarItemActionLink : public TActionLink {
 public:
  explicit TdxNavBarItemActionLink(TdxNavBarItem* AItem);
  TdxNavBarItem* Item() const;
  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsImageIndexLinked() const override;
  bool IsVisibleLinked() const override;
  void SetCaption(const std::string& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const std::string& Value) override;
  void SetImageIndex(int Value) override;
  void SetVisible(bool Value) override;
};

class TdxNavBarItem : public TdxNavBarCustomItem {
 public:
  explicit TdxNavBarItem(TComponent* AOwner);
  ~TdxNavBarItem() override;
  void Assign(TPersistent* Source) override;
  void Loaded() override;

  TBasicAction* Action() const { return FActionLink ? FActionLink->Action() : nullptr; }
  void SetAction(TBasicAction* Value);
  TdxNavBarItemActionLink* ActionLink() const { return FActionLink.get(); }
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  TdxNavBarItemCustomStyles* CustomStyles() const { return FCustomStyles.get(); }
  TdxNavBarStyleItem* Style() const { return FCustomStyles->Item(); }
  TdxNavBarStyleItem* StyleDisabled() const { return FCustomStyles->ItemDisabled(); }
  TdxNavBarStyleItem* StyleHotTracked() const { return FCustomStyles->ItemHotTracked(); }
  TdxNavBarStyleItem* StylePressed() const { return FCustomStyles->ItemPressed(); }
  void SetStyle(TdxNavBarStyleItem* V) { FCustomStyles->SetStyleAt(0, V); }
  void SetStyleDisabled(TdxNavBarStyleItem* V) { FCustomStyles->SetStyleAt(1, V); }
  void SetStyleHotTracked(TdxNavBarStyleItem* V) { FCustomStyles->SetStyleAt(2, V); }
  void SetStylePressed(TdxNavBarStyleItem* V) { FCustomStyles->SetStyleAt(3, V); }

  virtual bool IsEnabled() const { return FEnabled; }
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);

 protected:
  TcxComponentCollection* CollectionFromParent(TComponent* AParent) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void DoActionChange(TObject* Sender);

  bool FEnabled = true;
  std::unique_ptr<TdxNavBarItemCustomStyles> FCustomStyles;
  std::unique_ptr<TdxNavBarItemActionLink> FActionLink;
};

class TdxNavBarCustomItems : public TdxNavBarComponentCollection {
 public:
  using TdxNavBarComponentCollection::TdxNavBarComponentCollection;
  TdxNavBarCustomItem* ItemByCaption(const std::string& Caption) const;
};

using TdxNavBarLinkEvent = Event<void(TObject* Sender, TdxNavBarItemLink* Link)>;

class TdxNavBarGroups : public TdxNavBarCustomItems {
 public:
  explicit TdxNavBarGroups(TdxCustomNavBar* ANavBar);
  TdxNavBarGroup* Add() { return static_cast<TdxNavBarGroup*>(AddNew()); }
  TdxNavBarGroup* Items(int Index) const { return static_cast<TdxNavBarGroup*>(ItemAt(Index)); }
  TdxNavBarGroup* LastExpandedGroup() const { return FLastExpandedGroup; }
  void SetLastExpandedGroup(TdxNavBarGroup* Value) { FLastExpandedGroup = Value; }
  void DoLinkListChanged(TdxNavBarItemLink* Link);
  TdxNavBarLinkEvent OnLinkListChanged;

 protected:
  void ItemNotification(TcxComponentCollectionItem* Item, TcxComponentCollectionNotification Action) override;

 private:
  TdxNavBarGroup* FLastExpandedGroup = nullptr;
};

class TdxNavBarItems : public TdxNavBarCustomItems {
 public:
  explicit TdxNavBarItems(TdxCustomNavBar* ANavBar);
  TdxNavBarItem* Add() { return static_cast<TdxNavBarItem*>(AddNew()); }
  TdxNavBarItem* Items(int Index) const { return static_cast<TdxNavBarItem*>(ItemAt(Index)); }
  void Assign(TPersistent* Source) override;
};

// The panel that hosts a group's own controls.
class TdxNavBarGroupControl : public TCustomPanel {
 public:
  explicit TdxNavBarGroupControl(TComponent* AOwner);
  ~TdxNavBarGroupControl() override;

  TdxNavBarGroup* Group() const { return FGroup; }
  int32_t GroupIndex() const { return FGroupIndex; }
  int32_t OriginalHeight() const { return FOriginalHeight; }
  void SetOriginalHeight(int32_t Value);
  int32_t MinHeight() const { return FMinHeight; }
  bool UseStyle() const { return FUseStyle; }
  void SetUseStyle(bool Value);

  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
  // Raises EdxException unless the parent is the bar of the control's group.
  void SetParent(TWinControl* AParent) override;
  virtual void SetBoundsAndVisible(const TRect& R, bool AVisible);

 private:
  friend class TdxNavBarGroup;
  TdxNavBarGroup* FGroup = nullptr;
  int32_t FGroupIndex = -1;
  int32_t FOriginalHeight = 0;
  int32_t FMinHeight = 0;
  int FBoundsUpdateCount = 0;
  bool FUseStyle = false;
};
