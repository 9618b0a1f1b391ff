#pragma once
// The navigation bar control: groups of links to command items, drawn by the painter of the
// chosen view, with its options, cursors, custom-draw events, controller, scroll bar and hints.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "suite/core/cxClasses.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/cxScrollBar.h"
#include "suite/core/dxThemeManager.h"
#include "suite/navbar/dxNavBarBase.h"
#include "suite/navbar/dxNavBarCollns.h"
#include "suite/navbar/dxNavBarStyles.h"
#include "suite/navbar/dxNavBarViewsFact.h"

class TdxCustomNavBar;
class TdxNavBarPainter;
class TdxNavBarViewInfo;
class TdxNavBarGroupViewInfo;
class TdxNavBarLinkViewInfo;
class TdxNavBarCustomization;
class TdxNavBarDragObject;
class TdxNavBarCustomAccessibilityHelper;
class TcxAccessibilityHelper;

// Views by id (the registry, dxNavBarViewsFact, maps them to painters).
constexpr int32_t dxNavBarBaseView = 0;
constexpr int32_t dxNavBarFlatView = 1;
constexpr int32_t dxNavBarExplorerBarView = 8;
constexpr int32_t dxNavBarUltraFlatExplorerView = 9;
constexpr int32_t dxNavBarAdvExplorerBarView = 10;

// Change levels of InvalidateAll and of the option setters.
constexpr int nbctRebuild = 0;
constexpr int nbctRecalculate = 1;
constexpr int nbctRepaint = 2;

// State bits of a group or link entry and of the scroll buttons.
constexpr uint8_t sActive = 0x01;
constexpr uint8_t sDisabled = 0x02;
constexpr uint8_t sExpanded = 0x04;
constexpr uint8_t sHotTracked = 0x08;
constexpr uint8_t sPressed = 0x10;
constexpr uint8_t sSelected = 0x20;
constexpr uint8_t sSpecial = 0x40;
constexpr uint8_t sFocused = 0x80;
using TdxNavBarObjectStates = uint8_t;

// Drag and drop permissions.
constexpr uint8_t fAllowDragLink = 1;
constexpr uint8_t fAllowDropLink = 2;
constexpr uint8_t fAllowDragGroup = 4;
constexpr uint8_t fAllowDropGroup = 8;
using TdxNavBarDragDropFlags = uint8_t;

// The screen cursors the bar installs at start-up.
constexpr TCursor dxNavBarDragCursor = -1120;
constexpr TCursor dxNavBarDragCopyCursor = -1119;
constexpr TCursor dxNavBarLinksCursor = -1118;

// ---- options

// An option object: every setter ignores an unchanged value, then asks the bar for a change of
// the given level.
class TdxNavBarOptionsPersistent : public TdxNavBarPersistent {
 public:
  using TdxNavBarPersistent::TdxNavBarPersistent;

 protected:
  void Changed(int Level);
};

class TdxNavBarCommonViewOptions : public TdxNavBarOptionsPersistent {
 public:
  using TdxNavBarOptionsPersistent::TdxNavBarOptionsPersistent;
  void Assign(TPersistent* Source) override;
  bool ShowGroupCaptions() const { return FShowGroupCaptions; }
  void SetShowGroupCaptions(bool Value);

 private:
  bool FShowGroupCaptions = true;
};

class TdxNavBarExplorerBarViewOptions : public TdxNavBarOptionsPersistent {
 public:
  using TdxNavBarOptionsPersistent::TdxNavBarOptionsPersistent;
  void Assign(TPersistent* Source) override;
  bool ShowSpecialGroup() const { return FShowSpecialGroup; }
  void SetShowSpecialGroup(bool Value);
  int32_t SpaceBetweenGroups() const { return FSpaceBetweenGroups; }
  void SetSpaceBetweenGroups(int32_t Value);

 private:
  bool FShowSpecialGroup = false;
  int32_t FSpaceBetweenGroups = 0;
};

class TdxNavBarNavigationPaneViewOptions : public TdxNavBarOptionsPersistent {
 public:
  using TdxNavBarOptionsPersistent::TdxNavBarOptionsPersistent;
  void Assign(TPersistent* Source) override;
  int32_t MaxVisibleGroups() const { return FMaxVisibleGroups; }
  void SetMaxVisibleGroups(int32_t Value);
  bool OverflowPanelUseSmallImages() const { return FOverflowPanelUseSmallImages; }
  void SetOverflowPanelUseSmallImages(bool Value);
  bool ShowActiveGroupCaptionWhenCollapsed() const { return FShowActiveGroupCaptionWhenCollapsed; }
  void SetShowActiveGroupCaptionWhenCollapsed(bool Value);
  bool ShowHeader() const { return FShowHeader; }
  void SetShowHeader(bool Value);
  bool ShowOverflowPanel() const { return FShowOverflowPanel; }
  void SetShowOverflowPanel(bool Value);

 private:
  int32_t FMaxVisibleGroups = -1;
  bool FOverflowPanelUseSmallImages = true;
  bool FShowActiveGroupCaptionWhenCollapsed = false;
  bool FShowHeader = true;
  bool FShowOverflowPanel = true;
};

class TdxNavBarViewOptions : public TdxNavBarPersistent {
 public:
  explicit TdxNavBarViewOptions(TdxCustomNavBar* ANavBar);
  ~TdxNavBarViewOptions() override;
  void Assign(TPersistent* Source) override;
  TdxNavBarCommonViewOptions* Common() const { return FCommon.get(); }
  void SetCommon(TdxNavBarCommonViewOptions* Value) { FCommon->Assign(Value); }
  TdxNavBarExplorerBarViewOptions* ExplorerBar() const { return FExplorerBar.get(); }
  void SetExplorerBar(TdxNavBarExplorerBarViewOptions* Value) { FExplorerBar->Assign(Value); }
  TdxNavBarNavigationPaneViewOptions* NavigationPane() const { return FNavigationPane.get(); }
  void SetNavigationPane(TdxNavBarNavigationPaneViewOptions* Value) { FNavigationPane->Assign(Value); }

 private:
  std::unique_ptr<TdxNavBarCommonViewOptions> FCommon;
  std::unique_ptr<TdxNavBarExplorerBarViewOptions> FExplorerBar;
  std::unique_ptr<TdxNavBarNavigationPaneViewOptions> FNavigationPane;
};

class TdxNavBarCommonBehaviorOptions : public TdxNavBarOptionsPersistent {
 public:
  using TdxNavBarOptionsPersistent::TdxNavBarOptionsPersistent;
  void Assign(TPersistent* Source) override;
  bool AllowSelectLinks() const { return FAllowSelectLinks; }
  void SetAllowSelectLinks(bool Value);
  bool EachGroupHasSelectedLink() const { return FEachGroupHasSelectedLink; }
  void SetEachGroupHasSelectedLink(bool Value);
  TdxNavBarDragDropFlags DragDropFlags() const { return FDragDropFlags; }
  void SetDragDropFlags(TdxNavBarDragDropFlags Value) { FDragDropFlags = Value; }
  bool ShowGroupsHint() const { return FShowGroupsHint; }
  void SetShowGroupsHint(bool Value) { FShowGroupsHint = Value; }
  bool ShowLinksHint() const { return FShowLinksHint; }
  void SetShowLinksHint(bool Value) { FShowLinksHint = Value; }

 private:
  bool FAllowSelectLinks = false;
  bool FEachGroupHasSelectedLink = false;
  TdxNavBarDragDropFlags FDragDropFlags = fAllowDragLink | fAllowDropLink | fAllowDragGroup | fAllowDropGroup;
  bool FShowGroupsHint = false;
  bool FShowLinksHint = false;
};

class TdxNavBarNavigationPaneBehaviorOptions : public TdxNavBarOptionsPersistent {
 public:
  using TdxNavBarOptionsPersistent::TdxNavBarOptionsPersistent;
  void Assign(TPersistent* Source) override;
  bool AdjustWidthByPopup() const { return FAdjustWidthByPopup; }
  void SetAdjustWidthByPopup(bool Value) { FAdjustWidthByPopup = Value; }
  bool AllowCustomizing() const { return FAllowCustomizing; }
  void SetAllowCustomizing(bool Value) { FAllowCustomizing = Value; }
  bool Collapsible() const { return FCollapsible; }
  void SetCollapsible(bool Value);
  bool Collapsed() const { return FCollapsed; }
  void SetCollapsed(bool Value);
  bool ShowOverflowPanelHints() const { return FShowOverflowPanelHints; }
  void SetShowOverflowPanelHints(bool Value) { FShowOverflowPanelHints = Value; }

 private:
  bool FAdjustWidthByPopup = false;
  bool FAllowCustomizing = true;
  bool FCollapsible = false;
  bool FCollapsed = false;
  bool FShowOverflowPanelHints = true;
};

class TdxNavBarSideBarBehaviorOptions : public TdxNavBarPersistent {
 public:
  using TdxNavBarPersistent::TdxNavBarPersistent;
  void Assign(TPersistent* Source) override;
  bool AllowSelectLinks() const;
  void SetAllowSelectLinks(bool Value);
  bool EachGroupHasSelectedLink() const;
  void SetEachGroupHasSelectedLink(bool Value);
};

class TdxNavBarBehaviorOptions : public TdxNavBarPersistent {
 public:
  explicit TdxNavBarBehaviorOptions(TdxCustomNavBar* ANavBar);
  ~TdxNavBarBehaviorOptions() override;
  void Assign(TPersistent* Source) override;
  TdxNavBarCommonBehaviorOptions* Common() const { return FCommon.get(); }
  void SetCommon(TdxNavBarCommonBehaviorOptions* Value) { FCommon->Assign(Value); }
  TdxNavBarNavigationPaneBehaviorOptions* NavigationPane() const { return FNavigationPane.get(); }
  void SetNavigationPane(TdxNavBarNavigationPaneBehaviorOptions* Value) { FNavigationPane->Assign(Value); }
  TdxNavBarSideBarBehaviorOptions* SideBar() const { return FSideBar.get(); }
  void SetSideBar(TdxNavBarSideBarBehaviorOptions* Value) { FSideBar->Assign(Value); }

 private:
  std::unique_ptr<TdxNavBarCommonBehaviorOptions> FCommon;
  std::unique_ptr<TdxNavBarNavigationPaneBehaviorOptions> FNavigationPane;
  std::unique_ptr<TdxNavBarSideBarBehaviorOptions> FSideBar;
};

class TdxNavBarImageOptions : public TdxNavBarNexusPersistent {
 public:
  explicit TdxNavBarImageOptions(TdxCustomNavBar* ANavBar);
  ~TdxNavBarImageOptions() override;
  void Assign(TPersistent* Source) override;

  TCustomImageList* DisabledLargeImages() const { return FDisabledLargeImages; }
  void SetDisabledLargeImages(TCustomImageList* Value) { SetList(Value, FDisabledLargeImages, 1); }
  TCustomImageList* DisabledSmallImages() const { return FDisabledSmallImages; }
  void SetDisabledSmallImages(TCustomImageList* Value) { SetList(Value, FDisabledSmallImages, 0); }
  TCustomImageList* HotLargeImages() const { return FHotLargeImages; }
  void SetHotLargeImages(TCustomImageList* Value) { SetList(Value, FHotLargeImages, 3); }
  TCustomImageList* HotSmallImages() const { return FHotSmallImages; }
  void SetHotSmallImages(TCustomImageList* Value) { SetList(Value, FHotSmallImages, 2); }
  TCustomImageList* LargeImages() const { return FLargeImages; }
  void SetLargeImages(TCustomImageList* Value) { SetList(Value, FLargeImages, 4); }
  TCustomImageList* SmallImages() const { return FSmallImages; }
  void SetSmallImages(TCustomImageList* Value) { SetList(Value, FSmallImages, 5); }

  TNotifyEvent OnChange;

 protected:
  void FreeNotification(TComponent* AComponent) override;

 private:
  void SetList(TCustomImageList* Value, TCustomImageList*& Field, int LinkIndex);

  TCustomImageList* FDisabledSmallImages = nullptr;
  TCustomImageList* FDisabledLargeImages = nullptr;
  TCustomImageList* FHotSmallImages = nullptr;
  TCustomImageList* FHotLargeImages = nullptr;
  TCustomImageList* FLargeImages = nullptr;
  TCustomImageList* FSmallImages = nullptr;
  std::unique_ptr<TChangeLink> FChangeLinks[6];
};

class TdxNavBarCursors : public TdxNavBarPersistent {
 public:
  using TdxNavBarPersistent::TdxNavBarPersistent;
  void Assign(TPersistent* Source) override;
  TCursor Cursor() const;
  void SetCursor(TCursor Value);
  TCursor DragCursor() const;
  void SetDragCursor(TCursor Value);
  TCursor DragCopyCursor() const { return FDragCopyCursor; }
  void SetDragCopyCursor(TCursor Value) { FDragCopyCursor = Value; }
  TCursor HotTrackedGroupCursor() const { return FHotTrackedGroupCursor; }
  void SetHotTrackedGroupCursor(TCursor Value) { FHotTrackedGroupCursor = Value; }
  TCursor HotTrackedLinkCursor() const { return FHotTrackedLinkCursor; }
  void SetHotTrackedLinkCursor(TCursor Value) { FHotTrackedLinkCursor = Value; }

 private:
  TCursor FDragCopyCursor = dxNavBarDragCopyCursor;
  TCursor FHotTrackedGroupCursor = crDefault;
  TCursor FHotTrackedLinkCursor = dxNavBarLinksCursor;
};

// ---- custom-draw events

using TdxNavBarCustomDrawEvent =
    Event<void(TObject* Sender, TcxCanvas* ACanvas, TdxNavBarViewInfo* AViewInfo, bool& AHandled)>;
using TdxNavBarCustomDrawGroupEvent =
    Event<void(TObject* Sender, TcxCanvas* ACanvas, TdxNavBarGroupViewInfo* AViewInfo, bool& AHandled)>;
using TdxNavBarCustomDrawLinkEvent =
    Event<void(TObject* Sender, TcxCanvas* ACanvas, TdxNavBarLinkViewInfo* AViewInfo, bool& AHandled)>;
using TdxNavBarCustomDrawGroupHintEvent = Event<void(TObject* Sender, TcxCanvas* ACanvas, TdxNavBarGroup* AGroup,
                                                     const std::string& AHint, const TRect& R, bool& AHandled)>;
using TdxNavBarCustomDrawLinkHintEvent = Event<void(TObject* Sender, TcxCanvas* ACanvas, TdxNavBarItemLink* ALink,
                                                    const std::string& AHint, const TRect& R, bool& AHandled)>;

class TdxNavBarCustomDrawEvents : public TdxNavBarPersistent {
 public:
  using TdxNavBarPersistent::TdxNavBarPersistent;
  void Assign(TPersistent* Source) override;
  TdxNavBarCustomDrawEvent Background;
  TdxNavBarCustomDrawEvent BottomScrollButton;
  TdxNavBarCustomDrawEvent TopScrollButton;
  TdxNavBarCustomDrawGroupEvent GroupCaption;
  TdxNavBarCustomDrawGroupEvent GroupClientBackground;
  TdxNavBarCustomDrawGroupEvent GroupClientForeground;
  TdxNavBarCustomDrawGroupHintEvent GroupHint;
  TdxNavBarCustomDrawLinkEvent Link;
  TdxNavBarCustomDrawLinkHintEvent LinkHint;
  TdxNavBarCustomDrawEvent NavigationPaneHeader;
  TdxNavBarCustomDrawEvent NavigationPaneSplitter;
  TdxNavBarCustomDrawEvent NavigationPaneOverflowPanel;
  TdxNavBarCustomDrawEvent NavigationPaneOverflowPanelHint;
};

// ---- controller

struct TdxNavBarPart {
  int32_t MajorIndex = -1;
  int32_t MinorIndex = -1;
  bool operator==(const TdxNavBarPart&) const = default;
};
constexpr TdxNavBarPart dxNavBarPartNone{-1, -1};

class TdxNavBarController : public TObject {
 public:
  explicit TdxNavBarController(TdxCustomNavBar* ANavBar) : FNavBar(ANavBar) {}
  TdxCustomNavBar* NavBar() const { return FNavBar; }
  TdxNavBarViewInfo* ViewInfo() const;
  TdxNavBarPart HotPart() const { return FHotPart; }
  TdxNavBarPart PressedPart() const { return FPressedPart; }
  void SetHotPart(const TdxNavBarPart& Part);
  void SetPressedPart(const TdxNavBarPart& Part);

  virtual bool CanFocusOnClick(TPoint P);
  virtual TCursor GetCursor() { return crDefault; }
  virtual TdxNavBarPart GetPartAtPos(TPoint P) { return dxNavBarPartNone; }
  virtual void DoPartClick(const TdxNavBarPart& Part) {}
  virtual void CheckBounds(int& ALeft, int& ATop, int& AHeight, int& AWidth) {}
  virtual void DoLinkClick(TdxCustomNavBar* ANavBar, TdxNavBarItemLink* ALink);
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, TPoint P);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, TPoint P);
  virtual void MouseMove(TShiftState Shift, TPoint P);
  virtual void MouseLeave() {}
  virtual bool MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual void HotPartChanged(const TdxNavBarPart& Part) {}
  virtual void PressedPartChanged(const TdxNavBarPart& Part) {}
  virtual void ShowHint(THintInfo& HintInfo);
  virtual void ShowGroupHint(THintInfo& HintInfo, TdxNavBarGroupViewInfo* AGroupViewInfo);
  virtual void ShowLinkHint(THintInfo& HintInfo, TdxNavBarLinkViewInfo* ALinkViewInfo);
  virtual TRect CalcGroupHintRect(TdxNavBarGroup* AGroup);
  virtual TRect CalcLinkHintRect(TdxNavBarItemLink* ALink);
  virtual std::string GetGroupHintText(TdxNavBarGroup* AGroup);
  virtual std::string GetLinkHintText(TdxNavBarItemLink* ALink);

  void UpdateHotTrack(TShiftState Shift, TPoint P);
  void UpdateHotTrack();
  bool ScrollLinksDown();
  bool ScrollLinksUp();
  void HintShow(THintInfo& HintInfo, bool& CanShow);

 protected:
  TRect CalcHintRect(const std::string& Text, bool WordBreak);

 private:
  TdxCustomNavBar* FNavBar;
  TdxNavBarPart FHotPart;
  TdxNavBarPart FPressedPart;
};

class TdxNavBarNavigationBarController : public TdxNavBarController {
 public:
  using TdxNavBarController::TdxNavBarController;
};

// ---- scroll bar

using TdxNavBarScrollEvent = Event<void(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos)>;

class TdxNavBarScrollBar : public TObject {
 public:
  TdxNavBarScrollBar(TdxCustomNavBar* ANavBar, TScrollBarKind AKind);
  ~TdxNavBarScrollBar() override;

  TcxScrollBar* Control() const { return FControl; }
  TScrollBarKind Kind() const { return FKind; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  int Min() const { return FMin; }
  int Max() const { return FMax; }
  int PageSize() const { return FPageSize; }
  int Position() const { return FPosition; }
  int LargeChange() const { return FLargeChange; }
  int SmallChange() const { return FSmallChange; }
  void SetSmallChange(int Value) { FSmallChange = Value; }
  // Raises EInvalidOperation "Scrollbar property out of range" for Max < Min or Max < Page.
  void SetScrollParams(int AMin, int AMax, bool ARedraw, int APageSize, int APosition);
  void RecreateScrollBar();
  void ResetData();
  void Scroll(TScrollCode ScrollCode, int& ScrollPos);

  TdxNavBarScrollEvent OnScroll;

 private:
  void ControlScroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos);
  void PlaceControl();

  TdxCustomNavBar* FNavBar;
  TScrollBarKind FKind;
  TcxScrollBar* FControl = nullptr;
  bool FVisible = false;
  int FMin = 0;
  int FMax = 100;
  int FPageSize = 0;
  int FPosition = 0;
  int FLargeChange = 0;
  int FSmallChange = 1;
};

// ---- hint window

class TdxNavBarHintWindow : public TcxBaseHintWindow {
 public:
  explicit TdxNavBarHintWindow(TComponent* AOwner) : TcxBaseHintWindow(AOwner) {}
  TRect CalcHintRect(int MaxWidth, const std::string& AHint, void* AData) override;
  TdxCustomNavBar* NavBar() const { return FNavBar; }

 protected:
  void Paint() override;

 private:
  TdxCustomNavBar* FNavBar = nullptr;
};

// ---- the bar

using TdxNavBarGroupEvent = Event<void(TObject* Sender, TdxNavBarGroup* AGroup)>;
using TdxNavBarGroupChangingEvent = Event<void(TObject* Sender, TdxNavBarGroup* ANewGroup, bool& AAllowChange)>;
using TdxNavBarCalcGroupClientHeightEvent =
    Event<void(TObject* Sender, TdxNavBarGroupViewInfo* AViewInfo, int& AHeight)>;
using TdxNavBarCalcGroupHintRectEvent =
    Event<void(TObject* Sender, TdxNavBarGroup* AGroup, TdxNavBarViewInfo* AViewInfo, TRect& R)>;
using TdxNavBarCalcLinkHintRectEvent =
    Event<void(TObject* Sender, TdxNavBarItemLink* ALink, TdxNavBarViewInfo* AViewInfo, TRect& R)>;
using TdxNavBarGetGroupHintEvent = Event<void(TObject* Sender, TdxNavBarGroup* AGroup, std::string& AHint)>;
using TdxNavBarGetLinkHintEvent = Event<void(TObject* Sender, TdxNavBarItemLink* ALink, std::string& AHint)>;
using TdxNavBarLinkNotifyEvent = Event<void(TObject* Sender, TdxNavBarItemLink* ALink)>;

class TdxCustomNavBar : public TcxControl, public IdxNavBarDefaultStyleSource {
 public:
  explicit TdxCustomNavBar(TComponent* AOwner);
  ~TdxCustomNavBar() override;
  void Loaded() override;

  // Model
  TdxNavBarGroups* Groups() const { return FGroups.get(); }
  TdxNavBarItems* Items() const { return FItems.get(); }
  TdxNavBarGroup* ActiveGroup();
  void SetActiveGroup(TdxNavBarGroup* Value);
  int ActiveGroupIndex();
  void SetActiveGroupIndex(int Value);
  void DeselectAllLinks();
  // The idle-time update: each link's item asks its action to update (the platform's forms
  // update their action lists themselves; this covers actions outside them).
  void InitiateAction() { FGroups->InitiateActions(); }
  int VisibleGroupCount() const;
  int HiddenGroupCount() const;
  bool CanShowMoreGroups() const;
  bool CanShowFewerGroups() const;
  void ShowMoreGroups();
  void ShowFewerGroups();

  // View
  int32_t View() const { return FView; }
  void SetView(int32_t Value);
  TdxNavBarPainter* ViewStyle() { return Painter(); }
  void SetViewStyle(TdxNavBarPainter* Value);
  TdxNavBarPainter* Painter();
  TdxNavBarViewInfo* ViewInfo();
  TdxNavBarController* Controller();
  bool HasPainter() const { return FPainter != nullptr; }
  TBitmap* OffScreenBitmap() const { return FBuffer.get(); }
  TdxNavBarScrollBar* ScrollBar() const { return FScrollBar.get(); }
  int ScrollPosition() const;
  void InvalidateAll(int Level);
  void Invalidate() override;
  void BeginUpdate();
  void EndUpdate();
  int UpdateLock() const { return FUpdateCount; }
  void InvalidateScrollButtons();
  // Less the scroll bar's width while it shows.
  TRect ClientRect() const override;

  // Options and styles
  TdxNavBarBehaviorOptions* OptionsBehavior() const { return FOptionsBehavior.get(); }
  TdxNavBarViewOptions* OptionsView() const { return FOptionsView.get(); }
  TdxNavBarImageOptions* OptionsImage() const { return FOptionsImage.get(); }
  TdxNavBarStyleOptions* OptionsStyle() const { return FOptionsStyle.get(); }
  TdxNavBarCursors* Cursors() const { return FCursors.get(); }
  TdxNavBarCustomDrawEvents* OnCustomDraw() const { return FCustomDraw.get(); }
  TdxNavBarCustomization* Customization() const { return FCustomization.get(); }
  TdxNavBarDefaultStyles* DefaultStyles() const { return FOptionsStyle->DefaultStyles(); }
  TBorderStyle NavBarBorderStyle() const { return FBorderStyle; }
  void SetNavBarBorderStyle(TBorderStyle Value);

  // Shortcuts into the options
  TdxNavBarDragDropFlags DragDropFlags() const { return FOptionsBehavior->Common()->DragDropFlags(); }
  void SetDragDropFlags(TdxNavBarDragDropFlags V) { FOptionsBehavior->Common()->SetDragDropFlags(V); }
  bool ShowGroupsHint() const { return FOptionsBehavior->Common()->ShowGroupsHint(); }
  void SetShowGroupsHint(bool V) { FOptionsBehavior->Common()->SetShowGroupsHint(V); }
  bool ShowLinksHint() const { return FOptionsBehavior->Common()->ShowLinksHint(); }
  void SetShowLinksHint(bool V) { FOptionsBehavior->Common()->SetShowLinksHint(V); }
  bool AllowSelectLinks() const { return FOptionsBehavior->Common()->AllowSelectLinks(); }
  void SetAllowSelectLinks(bool V) { FOptionsBehavior->Common()->SetAllowSelectLinks(V); }
  bool EachGroupHasSelectedLink() const { return FOptionsBehavior->Common()->EachGroupHasSelectedLink(); }
  void SetEachGroupHasSelectedLink(bool V) { FOptionsBehavior->Common()->SetEachGroupHasSelectedLink(V); }
  bool ShowGroupCaptions() const { return FOptionsView->Common()->ShowGroupCaptions(); }
  void SetShowGroupCaptions(bool V) { FOptionsView->Common()->SetShowGroupCaptions(V); }
  bool ShowSpecialGroup() const { return FOptionsView->ExplorerBar()->ShowSpecialGroup(); }
  void SetShowSpecialGroup(bool V) { FOptionsView->ExplorerBar()->SetShowSpecialGroup(V); }
  int32_t SpaceBetweenGroups() const { return FOptionsView->ExplorerBar()->SpaceBetweenGroups(); }
  void SetSpaceBetweenGroups(int32_t V) { FOptionsView->ExplorerBar()->SetSpaceBetweenGroups(V); }
  int32_t NavigationPaneMaxVisibleGroups() const { return FOptionsView->NavigationPane()->MaxVisibleGroups(); }
  void SetNavigationPaneMaxVisibleGroups(int32_t V) { FOptionsView->NavigationPane()->SetMaxVisibleGroups(V); }
  TCustomImageList* LargeImages() const { return FOptionsImage->LargeImages(); }
  void SetLargeImages(TCustomImageList* V) { FOptionsImage->SetLargeImages(V); }
  TCustomImageList* SmallImages() const { return FOptionsImage->SmallImages(); }
  void SetSmallImages(TCustomImageList* V) { FOptionsImage->SetSmallImages(V); }
  TCursor DragCopyCursor() const { return FCursors->DragCopyCursor(); }
  TCursor HotTrackedGroupCursor() const { return FCursors->HotTrackedGroupCursor(); }
  TCursor HotTrackedLinkCursor() const { return FCursors->HotTrackedLinkCursor(); }
  TdxNavBarStyleItem* StyleBackground() const { return FOptionsStyle->CustomStyles()->Background(); }
  TdxNavBarStyleItem* StyleHint() const { return FOptionsStyle->CustomStyles()->Hint(); }
  TdxNavBarStyleItem* StyleDropTargetGroup() const { return FOptionsStyle->CustomStyles()->DropTargetGroup(); }
  TdxNavBarStyleItem* StyleDropTargetLink() const { return FOptionsStyle->CustomStyles()->DropTargetLink(); }
  TdxNavBarStyleItem* StyleButton() const { return FOptionsStyle->CustomStyles()->Button(); }
  TdxNavBarStyleItem* StyleButtonHotTracked() const { return FOptionsStyle->CustomStyles()->ButtonHotTracked(); }
  TdxNavBarStyleItem* StyleButtonPressed() const { return FOptionsStyle->CustomStyles()->ButtonPressed(); }
  TdxNavBarStyleItem* StyleNavigationPaneHeader() const {
    return FOptionsStyle->CustomStyles()->NavigationPaneHeader();
  }

  // Input state (read by the view information and the controller)
  TdxNavBarGroup* HotTrackedGroup() const { return FHotTrackedGroup; }
  TdxNavBarItemLink* HotTrackedLink() const { return FHotTrackedLink; }
  TdxNavBarGroup* PressedGroup() const { return FPressedGroup; }
  TdxNavBarItemLink* PressedLink() const { return FPressedLink; }
  TdxNavBarGroup* SourceGroup() const { return FSourceGroup; }
  TdxNavBarItemLink* SourceLink() const { return FSourceLink; }
  TPoint SourcePoint() const { return FSourcePoint; }
  TShiftState SourceShift() const { return FSourceShift; }
  TPoint TargetPoint() const { return FTargetPoint; }
  bool ScrollButtonUpIsDown() const { return FScrollButtonUpIsDown; }
  bool ScrollButtonDownIsDown() const { return FScrollButtonDownIsDown; }
  void ClearScrollButtonFlags() { FScrollButtonUpIsDown = FScrollButtonDownIsDown = false; }
  int32_t OriginalWidth() const { return FOriginalWidth; }
  void SetOriginalWidth(int32_t Value) { FOriginalWidth = Value; }
  TcxTimer* ScrollTimer() const { return FScrollTimer.get(); }
  TcxTimer* ActivateGroupTimer() const { return FActivateGroupTimer.get(); }
  bool IsLoading() const { return ComponentState().Contains(csLoading); }
  bool IsDesigning() const override { return ComponentState().Contains(csDesigning); }
  bool IsNavigationPaneCollapsed() const { return (FState & 4) != 0; }
  // The drag running in the process (one at a time), or null.
  static TdxNavBarDragObject* DragObject();

  // The hooks of input and drag and drop.
  virtual void DoActiveGroupChanged();
  virtual void DoActiveGroupChanging(TdxNavBarGroup* AGroup, bool& AAllow);
  virtual void DoGroupDragDrop(TdxNavBarGroup* AGroup);
  virtual void DoGroupDragOver(TdxNavBarGroup* AGroup, bool& Accept);
  virtual void DoGroupHotTrack(TdxNavBarGroup* AGroup);
  virtual void DoGroupMouseDown(TdxNavBarGroup* AGroup);
  virtual void DoGroupMouseUp(TdxNavBarGroup* AGroup);
  virtual void DoLinkDragDrop(TdxNavBarItemLink* ALink);
  virtual void DoLinkDragOver(TdxNavBarItemLink* ALink, bool& Accept);
  virtual void DoLinkHotTrack(TdxNavBarItemLink* ALink);
  virtual void DoLinkMouseDown(TdxNavBarItemLink* ALink);
  virtual void DoLinkMouseUp(TdxNavBarItemLink* ALink);
  virtual void DoItemDragDrop(TdxNavBarItem* AItem);
  virtual void DoItemDragOver(TdxNavBarItem* AItem, bool& Accept);
  virtual void DoBottomScrollButtonDown();
  virtual void DoBottomScrollButtonUp();
  virtual void DoTopScrollButtonDown();
  virtual void DoTopScrollButtonUp();
  virtual void UpdateScrollBarLookAndFeel();
  virtual TdxNavBarPainter* CreatePainter();
  virtual bool IsPopupInnerControl() const { return false; }
  virtual TdxNavBarItemLink* DesignLinkAt(TPoint P);

  // IdxNavBarDefaultStyleSource
  void AssignDefaultStyle(int Index, TdxNavBarBaseStyle* Style) override;

  // Told by a group being freed.
  void GroupRemoved(TdxNavBarGroup* AGroup);

  // Keyboard focus on the bar's elements, through their accessibility objects.
  TcxAccessibilityHelper*& AccessibilitySlot() { return FAccessibility; }
  TdxNavBarCustomAccessibilityHelper* FocusedAccessibleObject() const { return FFocusedAccessible; }
  // The old and the new object both hear of the change.
  void SetFocusedAccessibleObject(TdxNavBarCustomAccessibilityHelper* Value);
  // An object whose owner goes: no longer focused (without events).
  void AccessibleObjectDestroyed(TcxAccessibilityHelper* AObject);
  // Whether the focused object is Owner's (a link's, or a group's caption panel for a group).
  bool IsFocusedElement(TObject* Owner) const;
  // After a layout pass: an object that can no longer take the focus gives it up.
  void CheckFocusedAccessibleObject();

  // Events
  TNotifyEvent OnActiveGroupChanged;
  TdxNavBarGroupChangingEvent OnActiveGroupChanging;
  TdxNavBarCalcGroupHintRectEvent OnCalcGroupHintRect;
  TdxNavBarCalcGroupClientHeightEvent OnCalcGroupClientHeight;
  TdxNavBarCalcLinkHintRectEvent OnCalcLinkHintRect;
  TdxNavBarGetGroupHintEvent OnGetGroupHint;
  TdxNavBarGetLinkHintEvent OnGetLinkHint;
  TdxNavBarGroupEvent OnGroupClick;
  TdxNavBarGroupEvent OnGroupHotTrack;
  TdxNavBarGroupEvent OnGroupPress;
  TdxNavBarLinkNotifyEvent OnLinkClick;
  TdxNavBarLinkNotifyEvent OnLinkHotTrack;
  TdxNavBarLinkNotifyEvent OnLinkPress;
  TNotifyEvent OnNavigationPaneCollapsed;
  TNotifyEvent OnNavigationPaneExpanded;
  TNotifyEvent CustomDrawEvents;

 protected:
  void RefreshView() override { InvalidateAll(nbctRebuild); }
  void Paint() override;
  void BoundsChanged() override;
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  void MouseEnter(TControl* AControl) override;
  void MouseLeave(TControl* AControl) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void KeyUp(WORD& Key, TShiftState Shift) override;
  void KeyPress(char32_t& Key) override;
  void FocusChanged() override;
  bool CanFocusOnClickAt(int X, int Y) override;
  bool HasScrollBars() const override { return false; }
  void DoStartDrag(TDragObject*& DragObject) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;

 private:
  friend class TdxNavBarController;
  friend class TdxNavBarGroup;
  void GroupsChanged(TObject* Sender, TComponent* AItem, TcxComponentCollectionNotification Action);
  void ItemsChanged(TObject* Sender, TComponent* AItem, TcxComponentCollectionNotification Action);
  void LinkListChanged(TObject* Sender, TdxNavBarItemLink* ALink);
  void ScrollBarScroll(TObject* Sender, TScrollCode ScrollCode, int& ScrollPos);
  void ScrollTimerHandler(TObject* Sender);
  void ActivateGroupTimerHandler(TObject* Sender);
  void ThemeChanged();
  void ResetStyles(bool OnlyUntouched);
  void DoUpdateScrollButtons();
  bool StartsDragAt(TPoint P);
  void UpdateDragTarget();
  void HintShowMessage(TMessage& Message);
  void SetCursorMessage(TMessage& Message);

  TdxNavBarGroup* FActiveGroup = nullptr;
  int32_t FActiveGroupIndex = -1;
  TBorderStyle FBorderStyle = bsNone;
  std::unique_ptr<TBitmap> FBuffer;
  std::unique_ptr<TdxNavBarCursors> FCursors;
  std::unique_ptr<TdxNavBarCustomization> FCustomization;
  std::unique_ptr<TdxNavBarGroups> FGroups;
  std::unique_ptr<TdxNavBarItems> FItems;
  uint8_t FState = 0;
  int FWidthChangeCount = 0;
  std::unique_ptr<TdxNavBarPainter> FPainter;
  std::unique_ptr<TdxNavBarScrollBar> FScrollBar;
  std::unique_ptr<TdxThemeChangedNotificator> FThemeNotificator;
  int FUpdateCount = 0;
  int32_t FView = 0;
  std::unique_ptr<TdxNavBarBehaviorOptions> FOptionsBehavior;
  std::unique_ptr<TdxNavBarImageOptions> FOptionsImage;
  std::unique_ptr<TdxNavBarStyleOptions> FOptionsStyle;
  std::unique_ptr<TdxNavBarViewOptions> FOptionsView;
  std::unique_ptr<TdxNavBarCustomDrawEvents> FCustomDraw;
  std::unique_ptr<TcxTimer> FActivateGroupTimer;
  std::unique_ptr<TcxTimer> FScrollTimer;
  TdxNavBarGroup* FActivatingGroup = nullptr;
  TPoint FSourcePoint;
  TShiftState FSourceShift;
  TdxNavBarGroup* FSourceGroup = nullptr;
  TdxNavBarItemLink* FSourceLink = nullptr;
  TPoint FTargetPoint{-1, -1};
  TdxNavBarGroup* FHotTrackedGroup = nullptr;
  TdxNavBarItemLink* FHotTrackedLink = nullptr;
  int32_t FOriginalWidth = 0;
  TdxNavBarGroup* FPressedGroup = nullptr;
  TdxNavBarItemLink* FPressedLink = nullptr;
  bool FScrollButtonDownIsDown = false;
  bool FScrollButtonUpIsDown = false;
  std::unique_ptr<TDragObject> FPlatformDragObject;
  TcxAccessibilityHelper* FAccessibility = nullptr;
  TdxNavBarCustomAccessibilityHelper* FFocusedAccessible = nullptr;
};

class TdxNavBar : public TdxCustomNavBar {
 public:
  explicit TdxNavBar(TComponent* AOwner) : TdxCustomNavBar(AOwner) {}
};

// ---- drag and drop

class TdxNavBarDragObject : public TObject {
 public:
  TdxNavBarDragObject(TdxCustomNavBar* ANavBar, TdxNavBarGroup* ASourceGroup, TdxNavBarItemLink* ASourceLink,
                      TdxNavBarItem* ASourceItem);
  TdxCustomNavBar* NavBar() const { return FNavBar; }
  TdxNavBarGroup* SourceGroup() const { return FSourceGroup; }
  TdxNavBarItemLink* SourceLink() const { return FSourceLink; }
  TdxNavBarItem* SourceItem() const { return FSourceItem; }
  TdxNavBarGroup* TargetGroup() const { return FTargetGroup; }
  TdxNavBarItemLink* TargetLink1() const { return FTargetLink1; }
  TdxNavBarItemLink* TargetLink2() const { return FTargetLink2; }
  int TargetPosition() const { return FTargetPosition; }
  // The dragged item: an item from outside, or the dragged link's item while Ctrl is held.
  TdxNavBarItem* DraggedItem() const;
  void UpdateTarget();

 private:
  TdxCustomNavBar* FNavBar;
  TdxNavBarGroup* FSourceGroup;
  TdxNavBarItemLink* FSourceLink;
  TdxNavBarItem* FSourceItem;
  TdxNavBarGroup* FTargetGroup = nullptr;
  TdxNavBarItemLink* FTargetLink1 = nullptr;  // before the drop position
  TdxNavBarItemLink* FTargetLink2 = nullptr;  // after it
  int FTargetPosition = -1;
};

// Starts the navigation bar's units once (strings, views, classes, cursors); also done by the
// first bar made.
void dxNavBarInitialize();
void dxNavBarFinalize();
