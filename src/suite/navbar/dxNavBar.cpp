#include "suite/navbar/dxNavBar.h"

#include <algorithm>

#include "platform/gui/StdCtrls.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/GdiExtras.h"
#include "suite/core/cxGeometry.h"
#include "suite/navbar/dxNavBarAccessibility.h"
#include "suite/navbar/dxNavBarBaseViews.h"
#include "suite/navbar/dxNavBarConsts.h"
#include "suite/navbar/dxNavBarCustomization.h"
#include "suite/navbar/dxNavBarExplorerViews.h"
#include "suite/navbar/dxNavBarPainters.h"
#include "suite/navbar/dxNavBarViewInfo.h"

namespace {

int gUnitCount = 0;
// One drag at a time across every bar of the process.
std::unique_ptr<TdxNavBarDragObject> gDragObject;

}  // namespace

// ---- options

void TdxNavBarOptionsPersistent::Changed(int Level) {
  if (NavBar()) NavBar()->InvalidateAll(Level);
}

void TdxNavBarCommonViewOptions::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxNavBarCommonViewOptions*>(Source))
    SetShowGroupCaptions(src->ShowGroupCaptions());
  else
    TdxNavBarOptionsPersistent::Assign(Source);
}

void TdxNavBarCommonViewOptions::SetShowGroupCaptions(bool Value) {
  if (FShowGroupCaptions == Value) return;
  FShowGroupCaptions = Value;
  Changed(nbctRebuild);
}

void TdxNavBarExplorerBarViewOptions::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxNavBarExplorerBarViewOptions*>(Source)) {
    SetShowSpecialGroup(src->ShowSpecialGroup());
    SetSpaceBetweenGroups(src->SpaceBetweenGroups());
  } else {
    TdxNavBarOptionsPersistent::Assign(Source);
  }
}

void TdxNavBarExplorerBarViewOptions::SetShowSpecialGroup(bool Value) {
  if (FShowSpecialGroup == Value) return;
  FShowSpecialGroup = Value;
  Changed(nbctRebuild);
}

void TdxNavBarExplorerBarViewOptions::SetSpaceBetweenGroups(int32_t Value) {
  Value = std::max(Value, 0);
  if (FSpaceBetweenGroups == Value) return;
  FSpaceBetweenGroups = Value;
  Changed(nbctRecalculate);
}

void TdxNavBarNavigationPaneViewOptions::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxNavBarNavigationPaneViewOptions*>(Source)) {
    SetMaxVisibleGroups(src->MaxVisibleGroups());
    SetOverflowPanelUseSmallImages(src->OverflowPanelUseSmallImages());
    SetShowActiveGroupCaptionWhenCollapsed(src->ShowActiveGroupCaptionWhenCollapsed());
    SetShowHeader(src->ShowHeader());
    SetShowOverflowPanel(src->ShowOverflowPanel());
  } else {
    TdxNavBarOptionsPersistent::Assign(Source);
  }
}

void TdxNavBarNavigationPaneViewOptions::SetMaxVisibleGroups(int32_t Value) {
  Value = std::max(Value, -1);
  if (FMaxVisibleGroups == Value) return;
  FMaxVisibleGroups = Value;
  Changed(nbctRebuild);
}

void TdxNavBarNavigationPaneViewOptions::SetOverflowPanelUseSmallImages(bool Value) {
  if (FOverflowPanelUseSmallImages == Value) return;
  FOverflowPanelUseSmallImages = Value;
  Changed(nbctRebuild);
}

void TdxNavBarNavigationPaneViewOptions::SetShowActiveGroupCaptionWhenCollapsed(bool Value) {
  if (FShowActiveGroupCaptionWhenCollapsed == Value) return;
  FShowActiveGroupCaptionWhenCollapsed = Value;
  Changed(nbctRecalculate);
}

void TdxNavBarNavigationPaneViewOptions::SetShowHeader(bool Value) {
  if (FShowHeader == Value) return;
  FShowHeader = Value;
  Changed(nbctRebuild);
}

void TdxNavBarNavigationPaneViewOptions::SetShowOverflowPanel(bool Value) {
  if (FShowOverflowPanel == Value) return;
  FShowOverflowPanel = Value;
  Changed(nbctRebuild);
}

TdxNavBarViewOptions::TdxNavBarViewOptions(TdxCustomNavBar* ANavBar)
    : TdxNavBarPersistent(ANavBar),
      FCommon(std::make_unique<TdxNavBarCommonViewOptions>(ANavBar)),
      FExplorerBar(std::make_unique<TdxNavBarExplorerBarViewOptions>(ANavBar)),
      FNavigationPane(std::make_unique<TdxNavBarNavigationPaneViewOptions>(ANavBar)) {}

TdxNavBarViewOptions::~TdxNavBarViewOptions() = default;

void TdxNavBarViewOptions::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxNavBarViewOptions*>(Source)) {
    SetCommon(src->Common());
    SetExplorerBar(src->ExplorerBar());
    SetNavigationPane(src->NavigationPane());
  } else {
    TdxNavBarPersistent::Assign(Source);
  }
}

void TdxNavBarCommonBehaviorOptions::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxNavBarCommonBehaviorOptions*>(Source)) {
    SetAllowSelectLinks(src->AllowSelectLinks());
    SetEachGroupHasSelectedLink(src->EachGroupHasSelectedLink());
    SetDragDropFlags(src->DragDropFlags());
    SetShowGroupsHint(src->ShowGroupsHint());
    SetShowLinksHint(src->ShowLinksHint());
  } else {
    TdxNavBarOptionsPersistent::Assign(Source);
  }
}

void TdxNavBarCommonBehaviorOptions::SetAllowSelectLinks(bool Value) {
  if (FAllowSelectLinks == Value) return;
  if (!Value && NavBar()) NavBar()->DeselectAllLinks();
  FAllowSelectLinks = Value;
  Changed(nbctRepaint);
}

void TdxNavBarCommonBehaviorOptions::SetEachGroupHasSelectedLink(bool Value) {
  if (FEachGroupHasSelectedLink == Value) return;
  if (!Value && NavBar()) NavBar()->DeselectAllLinks();
  FEachGroupHasSelectedLink = Value;
  Changed(nbctRepaint);
}

void TdxNavBarNavigationPaneBehaviorOptions::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxNavBarNavigationPaneBehaviorOptions*>(Source)) {
    SetAdjustWidthByPopup(src->AdjustWidthByPopup());
    SetAllowCustomizing(src->AllowCustomizing());
    SetCollapsed(src->Collapsed());
    SetCollapsible(src->Collapsible());
    SetShowOverflowPanelHints(src->ShowOverflowPanelHints());
  } else {
    TdxNavBarOptionsPersistent::Assign(Source);
  }
}

void TdxNavBarNavigationPaneBehaviorOptions::SetCollapsible(bool Value) {
  if (FCollapsible == Value) return;
  FCollapsible = Value;
  TdxCustomNavBar* bar = NavBar();
  int minWidth = bar && bar->ViewInfo() ? bar->ViewInfo()->GetMinExpandedWidth() : 0;
  SetCollapsed(Value && bar && bar->Width() < minWidth);
  Changed(nbctRecalculate);
}

void TdxNavBarNavigationPaneBehaviorOptions::SetCollapsed(bool Value) {
  if (FCollapsed == Value || (Value && !FCollapsible)) return;
  FCollapsed = Value;
  TdxCustomNavBar* bar = NavBar();
  if (Value && bar && !bar->IsLoading()) {
    int minWidth = bar->ViewInfo() ? bar->ViewInfo()->GetMinExpandedWidth() : 0;
    bar->SetOriginalWidth(std::max(bar->Width(), minWidth));
  }
  Changed(nbctRebuild);
}

void TdxNavBarSideBarBehaviorOptions::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxNavBarSideBarBehaviorOptions*>(Source)) {
    SetAllowSelectLinks(src->AllowSelectLinks());
    SetEachGroupHasSelectedLink(src->EachGroupHasSelectedLink());
  } else {
    TdxNavBarPersistent::Assign(Source);
  }
}

bool TdxNavBarSideBarBehaviorOptions::AllowSelectLinks() const { return NavBar()->AllowSelectLinks(); }
void TdxNavBarSideBarBehaviorOptions::SetAllowSelectLinks(bool Value) { NavBar()->SetAllowSelectLinks(Value); }
bool TdxNavBarSideBarBehaviorOptions::EachGroupHasSelectedLink() const { return NavBar()->EachGroupHasSelectedLink(); }
void TdxNavBarSideBarBehaviorOptions::SetEachGroupHasSelectedLink(bool Value) {
  NavBar()->SetEachGroupHasSelectedLink(Value);
}

TdxNavBarBehaviorOptions::TdxNavBarBehaviorOptions(TdxCustomNavBar* ANavBar)
    : TdxNavBarPersistent(ANavBar),
      FCommon(std::make_unique<TdxNavBarCommonBehaviorOptions>(ANavBar)),
      FNavigationPane(std::make_unique<TdxNavBarNavigationPaneBehaviorOptions>(ANavBar)),
      FSideBar(std::make_unique<TdxNavBarSideBarBehaviorOptions>(ANavBar)) {}

TdxNavBarBehaviorOptions::~TdxNavBarBehaviorOptions() = default;

void TdxNavBarBehaviorOptions::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxNavBarBehaviorOptions*>(Source)) {
    SetCommon(src->Common());
    SetNavigationPane(src->NavigationPane());
    SetSideBar(src->SideBar());
  } else {
    TdxNavBarPersistent::Assign(Source);
  }
}

TdxNavBarImageOptions::TdxNavBarImageOptions(TdxCustomNavBar* ANavBar) : TdxNavBarNexusPersistent(ANavBar) {
  for (auto& link : FChangeLinks) {
    link = std::make_unique<TChangeLink>();
    link->OnChange = [this](TObject*) { InvokeNotifyEvent(this, OnChange); };
  }
}

TdxNavBarImageOptions::~TdxNavBarImageOptions() {
  OnChange = nullptr;
  int i = 0;
  for (TCustomImageList* list : {FDisabledSmallImages, FDisabledLargeImages, FHotSmallImages, FHotLargeImages,
                                 FLargeImages, FSmallImages}) {
    if (list) list->UnRegisterChanges(FChangeLinks[i].get());
    ++i;
  }
}

void TdxNavBarImageOptions::SetList(TCustomImageList* Value, TCustomImageList*& Field, int LinkIndex) {
  if (Field == Value) return;
  if (Field) {
    Field->UnRegisterChanges(FChangeLinks[LinkIndex].get());
    FreeNotificator()->Unwatch(Field);
  }
  Field = Value;
  if (Field) {
    Field->RegisterChanges(FChangeLinks[LinkIndex].get());
    FreeNotificator()->Watch(Field);
  }
  InvokeNotifyEvent(this, OnChange);
}

void TdxNavBarImageOptions::FreeNotification(TComponent* AComponent) {
  bool changed = false;
  for (TCustomImageList** field : {&FDisabledSmallImages, &FDisabledLargeImages, &FHotSmallImages,
                                   &FHotLargeImages, &FLargeImages, &FSmallImages})
    if (*field == AComponent) {
      *field = nullptr;
      changed = true;
    }
  if (changed) InvokeNotifyEvent(this, OnChange);
}

void TdxNavBarImageOptions::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxNavBarImageOptions*>(Source)) {
    SetSmallImages(src->SmallImages());
    SetLargeImages(src->LargeImages());
    SetHotSmallImages(src->HotSmallImages());
    SetHotLargeImages(src->HotLargeImages());
    SetDisabledSmallImages(src->DisabledSmallImages());
    SetDisabledLargeImages(src->DisabledLargeImages());
  } else {
    TdxNavBarNexusPersistent::Assign(Source);
  }
}

TCursor TdxNavBarCursors::Cursor() const { return NavBar()->Cursor(); }
void TdxNavBarCursors::SetCursor(TCursor Value) { NavBar()->SetCursor(Value); }
TCursor TdxNavBarCursors::DragCursor() const { return NavBar()->DragCursor(); }
void TdxNavBarCursors::SetDragCursor(TCursor Value) { NavBar()->SetDragCursor(Value); }

void TdxNavBarCursors::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxNavBarCursors*>(Source)) {
    SetCursor(src->Cursor());
    SetDragCursor(src->DragCursor());
    SetDragCopyCursor(src->DragCopyCursor());
    SetHotTrackedGroupCursor(src->HotTrackedGroupCursor());
    SetHotTrackedLinkCursor(src->HotTrackedLinkCursor());
  } else {
    TdxNavBarPersistent::Assign(Source);
  }
}

void TdxNavBarCustomDrawEvents::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxNavBarCustomDrawEvents*>(Source);
  if (!src) {
    TdxNavBarPersistent::Assign(Source);
    return;
  }
  Background = src->Background;
  BottomScrollButton = src->BottomScrollButton;
  TopScrollButton = src->TopScrollButton;
  GroupCaption = src->GroupCaption;
  GroupClientBackground = src->GroupClientBackground;
  GroupClientForeground = src->GroupClientForeground;
  GroupHint = src->GroupHint;
  Link = src->Link;
  LinkHint = src->LinkHint;
  NavigationPaneHeader = src->NavigationPaneHeader;
  NavigationPaneSplitter = src->NavigationPaneSplitter;
  NavigationPaneOverflowPanel = src->NavigationPaneOverflowPanel;
  NavigationPaneOverflowPanelHint = src->NavigationPaneOverflowPanelHint;
}

// ---- controller

TdxNavBarViewInfo* TdxNavBarController::ViewInfo() const { return FNavBar->ViewInfo(); }

void TdxNavBarController::SetHotPart(const TdxNavBarPart& Part) {
  if (FHotPart == Part) return;
  FHotPart = Part;
  HotPartChanged(Part);
}

void TdxNavBarController::SetPressedPart(const TdxNavBarPart& Part) {
  if (FPressedPart == Part) return;
  FPressedPart = Part;
  PressedPartChanged(Part);
}

bool TdxNavBarController::CanFocusOnClick(TPoint P) {
  return !ViewInfo()->IsTopScrollButtonAt(P) && !ViewInfo()->IsBottomScrollButtonAt(P);
}

void TdxNavBarController::UpdateHotTrack(TShiftState, TPoint P) {
  TdxNavBarPainter* painter = FNavBar->Painter();
  painter->CheckViewInfo();
  TdxNavBarItemLink* link = ViewInfo()->GetLinkAtHotPos(P);
  if (link != FNavBar->HotTrackedLink()) FNavBar->DoLinkHotTrack(link);
  TdxNavBarGroup* group = ViewInfo()->GetGroupAtCaptionPos(P);
  if (group != FNavBar->HotTrackedGroup()) FNavBar->DoGroupHotTrack(group);
}

void TdxNavBarController::UpdateHotTrack() { UpdateHotTrack({}, FNavBar->TargetPoint()); }

void TdxNavBarController::MouseDown(TMouseButton, TShiftState Shift, TPoint P) {
  if (Shift.Contains(ssLeft)) {
    TdxNavBarViewInfo* vi = ViewInfo();
    if (vi->IsTopScrollButtonAt(P))
      FNavBar->DoTopScrollButtonDown();
    else if (vi->IsBottomScrollButtonAt(P))
      FNavBar->DoBottomScrollButtonDown();
    else if (TdxNavBarGroup* group = vi->GetGroupAtCaptionPos(P))
      FNavBar->DoGroupMouseDown(group);
    else if (TdxNavBarItemLink* link = FNavBar->IsDesigning() ? vi->FindLinkAtPos(P) : vi->GetLinkAtHotPos(P))
      FNavBar->DoLinkMouseDown(link);
  } else if (FNavBar->HotTrackedGroup() || FNavBar->HotTrackedLink()) {
    UpdateHotTrack(Shift, P);
  }
}

void TdxNavBarController::MouseUp(TMouseButton, TShiftState, TPoint P) {
  TdxNavBarPart part = GetPartAtPos(P);
  SetHotPart(part);
  if (part == FPressedPart) {
    SetPressedPart(dxNavBarPartNone);
    DoPartClick(part);
  } else {
    SetPressedPart(dxNavBarPartNone);
  }
  if (!(part == dxNavBarPartNone)) return;
  TdxNavBarViewInfo* vi = ViewInfo();
  TPoint down = FNavBar->SourcePoint();
  if (vi->IsTopScrollButtonAt(down) || FNavBar->ScrollButtonUpIsDown()) {
    FNavBar->DoTopScrollButtonUp();
  } else if (vi->IsBottomScrollButtonAt(down) || FNavBar->ScrollButtonDownIsDown()) {
    FNavBar->DoBottomScrollButtonUp();
  } else {
    FNavBar->ClearScrollButtonFlags();
    bool designing = FNavBar->IsDesigning();
    TWeakLink<TObject> alive(FNavBar);
    if (TdxNavBarGroup* g = FNavBar->PressedGroup(); g && (g == FNavBar->HotTrackedGroup() || designing))
      FNavBar->DoGroupMouseUp(g);
    if (!alive) return;
    if (TdxNavBarItemLink* l = FNavBar->PressedLink(); l && (l == FNavBar->HotTrackedLink() || designing))
      FNavBar->DoLinkMouseUp(l);
  }
}

void TdxNavBarController::MouseMove(TShiftState Shift, TPoint) { UpdateHotTrack(Shift, FNavBar->TargetPoint()); }

void TdxNavBarController::DoLinkClick(TdxCustomNavBar* ANavBar, TdxNavBarItemLink* ALink) {
  ALink->SetSelected(ANavBar->AllowSelectLinks());
  TdxNavBarItem* item = ALink->Item();
  if (item && item->OnClick)
    item->OnClick(item);
  else if (item && item->Action())
    item->ActionLink()->Execute(ANavBar);
  else if (ANavBar->OnLinkClick)
    ANavBar->OnLinkClick(ANavBar, ALink);
}

bool TdxNavBarController::MouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  TPoint screen = GetMouseScreenPos();
  TRect wr = GetWindowRectOrEmpty(FNavBar->Handle());
  if (!wr.Contains(screen)) return false;
  bool handled = false;
  TdxNavBarScrollBar* sb = FNavBar->ScrollBar();
  if (sb->Visible()) {
    int code = WheelDelta > 0 ? (Shift.Contains(ssCtrl) ? SB_PAGEUP : SB_LINEUP)
                              : (Shift.Contains(ssCtrl) ? SB_PAGEDOWN : SB_LINEDOWN);
    int pos = sb->Position();
    sb->Scroll(TScrollCode(code), pos);
    handled = true;
  } else if (WheelDelta <= 0) {
    if (!(ViewInfo()->GetBottomScrollButtonState() & sDisabled)) handled = ScrollLinksDown();
  } else {
    if (!(ViewInfo()->GetTopScrollButtonState() & sDisabled)) handled = ScrollLinksUp();
  }
  if (handled && !TdxCustomNavBar::DragObject()) UpdateHotTrack(Shift, FNavBar->ScreenToClient(screen));
  return handled;
}

bool TdxNavBarController::ScrollLinksDown() {
  TdxNavBarGroupViewInfo* g = ViewInfo()->ActiveGroupViewInfo();
  if (!g) return false;
  int n = g->LinkCount();
  if (n == 0) return true;
  int k = std::min(g->Group()->TopVisibleLinkIndex(), n - 1);
  for (int i = k + 1; i < n; ++i)
    if (g->LinkAt(i)->Rect.Top > g->LinkAt(k)->Rect.Top) {
      g->Group()->SetTopVisibleLinkIndex(i);
      break;
    }
  return true;
}

bool TdxNavBarController::ScrollLinksUp() {
  TdxNavBarGroupViewInfo* g = ViewInfo()->ActiveGroupViewInfo();
  if (!g) return false;
  int n = g->LinkCount();
  if (n == 0) return true;
  int k = std::min(g->Group()->TopVisibleLinkIndex(), n - 1);
  for (int i = k - 1; i >= 0; --i)
    if (g->LinkAt(i)->Rect.Top < g->LinkAt(k)->Rect.Top) {
      g->Group()->SetTopVisibleLinkIndex(i);
      break;
    }
  return true;
}

void TdxNavBarController::HintShow(THintInfo& HintInfo, bool& CanShow) {
  CanShow = false;
  if (TdxCustomNavBar::DragObject()) return;
  if (!HintInfo.HintWindowClass || HintInfo.HintWindowClass == HintWindowClass)
    HintInfo.HintWindowClass = [](TComponent* AOwner) -> THintWindow* { return new TdxNavBarHintWindow(AOwner); };
  HintInfo.HintData = &HintInfo;
  FNavBar->Painter()->CheckViewInfo();
  ViewInfo()->HintText.clear();
  ShowHint(HintInfo);
  HintInfo.HintStr = ViewInfo()->HintText;
  CanShow = !HintInfo.HintStr.empty();
}

void TdxNavBarController::ShowHint(THintInfo& HintInfo) {
  if (TdxNavBarGroupViewInfo* g = ViewInfo()->GetGroupViewInfoAtCaptionPos(HintInfo.CursorPos)) {
    if (FNavBar->ShowGroupsHint()) ShowGroupHint(HintInfo, g);
  } else if (TdxNavBarLinkViewInfo* l = ViewInfo()->GetLinkViewInfoAtHotPos(HintInfo.CursorPos)) {
    if (FNavBar->ShowLinksHint()) ShowLinkHint(HintInfo, l);
  }
}

void TdxNavBarController::ShowGroupHint(THintInfo& HintInfo, TdxNavBarGroupViewInfo* AGroupViewInfo) {
  ViewInfo()->HintText = GetGroupHintText(AGroupViewInfo->Group());
  ViewInfo()->HintRect = CalcGroupHintRect(AGroupViewInfo->Group());
  HintInfo.CursorRect = AGroupViewInfo->CaptionRect;
}

void TdxNavBarController::ShowLinkHint(THintInfo& HintInfo, TdxNavBarLinkViewInfo* ALinkViewInfo) {
  ViewInfo()->HintText = GetLinkHintText(ALinkViewInfo->Link());
  ViewInfo()->HintRect = CalcLinkHintRect(ALinkViewInfo->Link());
  HintInfo.CursorRect = ALinkViewInfo->Rect;
}

std::string TdxNavBarController::GetGroupHintText(TdxNavBarGroup* AGroup) {
  std::string text = AGroup->Hint();
  if (FNavBar->OnGetGroupHint) FNavBar->OnGetGroupHint(FNavBar, AGroup, text);
  return GetShortHint(text);
}

std::string TdxNavBarController::GetLinkHintText(TdxNavBarItemLink* ALink) {
  std::string text = ALink->Item() ? ALink->Item()->Hint() : std::string();
  if (FNavBar->OnGetLinkHint) FNavBar->OnGetLinkHint(FNavBar, ALink, text);
  return GetShortHint(text);
}

TRect TdxNavBarController::CalcHintRect(const std::string& Text, bool WordBreak) {
  TRect r(0, 0, std::max(FNavBar->ClientWidth(), int(FNavBar->OriginalWidth())), 0);
  TcxScreenCanvas* canvas = SharedScreenCanvas();
  canvas->Canvas()->Font()->Assign(ViewInfo()->GetHintFont());
  RECT rc = r;
  UINT flags = DT_CALCRECT | DT_NOPREFIX | (WordBreak ? DT_WORDBREAK : 0);
  DrawText(canvas->Canvas()->Handle(), Text, -1, &rc, flags);
  r = TRect(rc.left, rc.top, rc.right + 6, rc.bottom + 6);
  return r;
}

TRect TdxNavBarController::CalcGroupHintRect(TdxNavBarGroup* AGroup) {
  TRect r = CalcHintRect(ViewInfo()->HintText, AGroup != nullptr);
  if (FNavBar->OnCalcGroupHintRect) FNavBar->OnCalcGroupHintRect(FNavBar, AGroup, ViewInfo(), r);
  return r.Offset(20, 0);
}

TRect TdxNavBarController::CalcLinkHintRect(TdxNavBarItemLink* ALink) {
  TRect r = CalcHintRect(ViewInfo()->HintText, ALink != nullptr);
  if (FNavBar->OnCalcLinkHintRect) FNavBar->OnCalcLinkHintRect(FNavBar, ALink, ViewInfo(), r);
  return r.Offset(20, 0);
}

// ---- scroll bar

TdxNavBarScrollBar::TdxNavBarScrollBar(TdxCustomNavBar* ANavBar, TScrollBarKind AKind)
    : FNavBar(ANavBar), FKind(AKind) {}

TdxNavBarScrollBar::~TdxNavBarScrollBar() {
  if (FControl && !FControl->ComponentState().Contains(csDestroying)) delete FControl;
}

void TdxNavBarScrollBar::SetVisible(bool Value) {
  FVisible = Value;
  if (FControl) {
    if (Value) PlaceControl();
    FControl->SetVisible(Value);
  }
}

void TdxNavBarScrollBar::PlaceControl() {
  if (!FControl) return;
  TRect client = FNavBar->ClientRect();
  FControl->SetBounds(client.Right, 0, GetSystemMetrics(SM_CXVSCROLL), client.Bottom - client.Top);
}

void TdxNavBarScrollBar::SetScrollParams(int AMin, int AMax, bool ARedraw, int APageSize, int APosition) {
  if (AMax < AMin || AMax < APageSize) throw EInvalidOperation("Scrollbar property out of range");
  APosition = std::max(APosition, AMin);
  APosition = std::min(APosition, AMax - APageSize);
  PlaceControl();
  if (AMin == FMin && AMax == FMax && APageSize == FPageSize && APosition == FPosition) return;
  FMin = AMin;
  FMax = AMax;
  FPageSize = APageSize;
  FPosition = APosition;
  if (FControl) FControl->ConfigureRange(FMin, FMax, FPosition, FPageSize, ARedraw);
  FLargeChange = FPageSize;
}

void TdxNavBarScrollBar::Scroll(TScrollCode ScrollCode, int& ScrollPos) {
  int pos = FPosition;
  switch (ScrollCode) {
    case scLineUp: pos -= FSmallChange; break;
    case scLineDown: pos += FSmallChange; break;
    case scPageUp: pos -= FLargeChange; break;
    case scPageDown: pos += FLargeChange; break;
    case scTop: pos = FMin; break;
    case scBottom: pos = FMax; break;
    case scPosition:
    case scTrack: pos = ScrollPos; break;
    default: break;
  }
  SetScrollParams(FMin, FMax, true, FPageSize, pos);
  ScrollPos = pos;
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

void TdxNavBarScrollBar::ControlScroll(TObject*, TScrollCode ScrollCode, int& ScrollPos) { Scroll(ScrollCode, ScrollPos); }

void TdxNavBarScrollBar::RecreateScrollBar() {
  if (FControl && !FControl->ComponentState().Contains(csDestroying)) delete FControl;
  FControl = FNavBar->Painter()->CreateScrollBar(FNavBar);
  FControl->SetKind(FKind);
  FControl->OnScroll = TScrollEvent::Bind(this, &TdxNavBarScrollBar::ControlScroll);
  ResetData();
}

void TdxNavBarScrollBar::ResetData() {
  FMin = 0;
  FMax = 100;
  FPageSize = 0;
  FPosition = 0;
  if (FControl) FControl->ConfigureRange(0, 100, 0, 0, false);
  SetVisible(false);
}

// ---- hint window

TRect TdxNavBarHintWindow::CalcHintRect(int, const std::string&, void* AData) {
  auto* info = static_cast<THintInfo*>(AData);
  FNavBar = info ? dynamic_cast<TdxCustomNavBar*>(info->HintControl) : nullptr;
  if (FNavBar && FNavBar->ViewInfo()) return FNavBar->ViewInfo()->HintRect;
  return TRect(0, 0, 0, 0);
}

void TdxNavBarHintWindow::Paint() {
  if (FNavBar && FNavBar->HasPainter())
    FNavBar->Painter()->DrawHint(cxCanvas(), ClientRect());
  else
    TcxBaseHintWindow::Paint();
}

// ---- the bar

TdxCustomNavBar::TdxCustomNavBar(TComponent* AOwner) : TcxControl(AOwner) {
  dxNavBarInitialize();
  SetTabStop(false);
  FBuffer = std::make_unique<TBitmap>();
  FView = 0;
  FScrollBar = std::make_unique<TdxNavBarScrollBar>(this, sbVertical);
  FScrollBar->OnScroll = [this](TObject*, TScrollCode, int&) {
    InvalidateAll(nbctRecalculate);
    if (HandleAllocated()) Update();
  };
  SetWantedKeys(TcxKeys{kArrows});
  FActivateGroupTimer = std::make_unique<TcxTimer>(this);
  FActivateGroupTimer->SetEnabled(false);
  FActivateGroupTimer->SetInterval(300);
  FActivateGroupTimer->SetOnTimer(TNotifyEvent::Bind(this, &TdxCustomNavBar::ActivateGroupTimerHandler));
  FScrollTimer = std::make_unique<TcxTimer>(this);
  FScrollTimer->SetEnabled(false);
  FScrollTimer->SetInterval(300);
  FScrollTimer->SetOnTimer(TNotifyEvent::Bind(this, &TdxCustomNavBar::ScrollTimerHandler));
  FCursors = std::make_unique<TdxNavBarCursors>(this);
  SetDragCursor(dxNavBarDragCursor);
  FCustomDraw = std::make_unique<TdxNavBarCustomDrawEvents>(this);
  FCustomization = std::make_unique<TdxNavBarCustomization>(this);
  FOptionsStyle = std::make_unique<TdxNavBarStyleOptions>(this);
  FOptionsStyle->OnChange = [this](TObject*) { InvalidateAll(nbctRebuild); };
  FOptionsBehavior = std::make_unique<TdxNavBarBehaviorOptions>(this);
  FOptionsView = std::make_unique<TdxNavBarViewOptions>(this);
  FOptionsImage = std::make_unique<TdxNavBarImageOptions>(this);
  FOptionsImage->OnChange = [this](TObject*) { InvalidateAll(nbctRebuild); };
  FGroups = std::make_unique<TdxNavBarGroups>(this);
  FGroups->OnChange = TcxComponentCollectionChangeEvent::Bind(this, &TdxCustomNavBar::GroupsChanged);
  FGroups->OnLinkListChanged = TdxNavBarLinkEvent::Bind(this, &TdxCustomNavBar::LinkListChanged);
  FItems = std::make_unique<TdxNavBarItems>(this);
  FItems->OnChange = TcxComponentCollectionChangeEvent::Bind(this, &TdxCustomNavBar::ItemsChanged);
  FThemeNotificator = std::make_unique<TdxThemeChangedNotificator>();
  FThemeNotificator->OnThemeChanged = [this](TObject*) { ThemeChanged(); };
  TControlStyle style = ControlStyle();
  style.Exclude(csAcceptsControls).Exclude(csSetCaption).Include(csActionClient);
  SetControlStyle(style);
  SetBounds(Left(), Top(), 150, 300);
  SetShowHint(true);
  if (!IsLoading()) {
    ResetStyles(false);
    InvalidateAll(nbctRecalculate);
  }
}

TdxCustomNavBar::~TdxCustomNavBar() {
  Destroying();
  if (gDragObject && gDragObject->NavBar() == this) gDragObject.reset();
  if (FCustomization) FCustomization->SetVisible(false);
  FFocusedAccessible = nullptr;
  dxNavBarReleaseAccessibilityHelper(FAccessibility);
  FActivateGroupTimer.reset();
  FScrollTimer.reset();
  FScrollBar.reset();
  FThemeNotificator.reset();
  FItems.reset();
  FGroups.reset();
  FOptionsImage.reset();
  FOptionsView.reset();
  FOptionsBehavior.reset();
  FOptionsStyle.reset();
  FCustomization.reset();
  FCustomDraw.reset();
  FCursors.reset();
  FPainter.reset();
  FBuffer.reset();
  FPlatformDragObject.reset();
  ClearLinksToObject(this);
}

TdxNavBarDragObject* TdxCustomNavBar::DragObject() { return gDragObject.get(); }

void TdxCustomNavBar::Loaded() {
  TcxControl::Loaded();
  FState |= 8;
  if (FActiveGroupIndex >= 0 && FActiveGroupIndex < FGroups->Count()) FActiveGroup = FGroups->Items(FActiveGroupIndex);
  ResetStyles(true);
  FState &= ~8;
  InvalidateAll(nbctRebuild);
}

void TdxCustomNavBar::GetChildren(TGetChildProc Proc, TComponent* Root) {
  auto owned = [Root](TComponent* C) { return C->Owner() == Root; };
  for (int i = 0; i < FGroups->Count(); ++i)
    if (owned(FGroups->Items(i))) Proc(FGroups->Items(i));
  for (int i = 0; i < FItems->Count(); ++i)
    if (owned(FItems->Items(i))) Proc(FItems->Items(i));
  TdxNavBarStyleRepository* styles = FOptionsStyle->CustomStyleRepository();
  for (int i = 0; i < styles->Count(); ++i)
    if (owned(styles->Items(i))) Proc(styles->Items(i));
  for (int i = 0; i < FGroups->Count(); ++i)
    if (TdxNavBarGroupControl* c = FGroups->Items(i)->Control()) Proc(c);
}

// -- model

TdxNavBarGroup* TdxCustomNavBar::ActiveGroup() {
  if (!FGroups || FGroups->Count() == 0) return nullptr;
  if (FActiveGroup && FActiveGroup->Visible()) return FActiveGroup;
  for (int i = 0; i < FGroups->Count(); ++i)
    if (TdxNavBarGroup* g = FGroups->Items(i); g->Visible()) {
      if (!FActiveGroup) FActiveGroup = g;
      return g;
    }
  return nullptr;
}

void TdxCustomNavBar::SetActiveGroup(TdxNavBarGroup* Value) {
  if (Value == FActiveGroup) return;
  bool allow = true;
  DoActiveGroupChanging(Value, allow);
  if (!allow) return;
  FActiveGroup = Value;
  InvalidateAll(nbctRebuild);
  DoActiveGroupChanged();
}

int TdxCustomNavBar::ActiveGroupIndex() {
  if (IsLoading()) return FActiveGroupIndex;
  TdxNavBarGroup* g = ActiveGroup();
  return g ? g->Index() : -1;
}

void TdxCustomNavBar::SetActiveGroupIndex(int Value) {
  if (IsLoading()) {
    FActiveGroupIndex = Value;
    return;
  }
  if (Value < 0 || Value >= FGroups->Count()) return;
  SetActiveGroup(FGroups->Items(Value));
}

void TdxCustomNavBar::DeselectAllLinks() {
  for (int i = 0; i < FGroups->Count(); ++i) FGroups->Items(i)->SetSelectedLinkIndex(-1);
}

int TdxCustomNavBar::VisibleGroupCount() const {
  int n = 0;
  for (int i = 0; i < FGroups->Count(); ++i)
    if (FGroups->Items(i)->Visible()) ++n;
  return n;
}

int TdxCustomNavBar::HiddenGroupCount() const {
  int max = NavigationPaneMaxVisibleGroups();
  if (IsLoading() || max == -1) return 0;
  return std::max(0, VisibleGroupCount() - max);
}

bool TdxCustomNavBar::CanShowMoreGroups() const { return ShowGroupCaptions() && HiddenGroupCount() > 0; }

bool TdxCustomNavBar::CanShowFewerGroups() const {
  return ShowGroupCaptions() && HiddenGroupCount() < VisibleGroupCount();
}

void TdxCustomNavBar::ShowMoreGroups() {
  int max = NavigationPaneMaxVisibleGroups();
  SetNavigationPaneMaxVisibleGroups(VisibleGroupCount() == max + 1 ? -1 : max + 1);
}

void TdxCustomNavBar::ShowFewerGroups() {
  int max = NavigationPaneMaxVisibleGroups();
  int visible = VisibleGroupCount();
  if (max != -1 && visible >= max)
    SetNavigationPaneMaxVisibleGroups(max - 1);
  else
    SetNavigationPaneMaxVisibleGroups(visible - 1);
}

void TdxCustomNavBar::GroupRemoved(TdxNavBarGroup* AGroup) {
  if (FActiveGroup == AGroup) FActiveGroup = nullptr;
  if (FHotTrackedGroup == AGroup) FHotTrackedGroup = nullptr;
  if (FPressedGroup == AGroup) FPressedGroup = nullptr;
  if (FSourceGroup == AGroup) FSourceGroup = nullptr;
  if (FActivatingGroup == AGroup) FActivatingGroup = nullptr;
  if (gDragObject && gDragObject->NavBar() == this &&
      (gDragObject->SourceGroup() == AGroup || gDragObject->TargetGroup() == AGroup))
    gDragObject->UpdateTarget();
}

void TdxCustomNavBar::Notification(TComponent* AComponent, TOperation Operation) {
  TcxControl::Notification(AComponent, Operation);
  if (Operation != opRemove) return;
  if (auto* g = dynamic_cast<TdxNavBarGroup*>(AComponent)) GroupRemoved(g);
}

void TdxCustomNavBar::GroupsChanged(TObject*, TComponent* AItem, TcxComponentCollectionNotification Action) {
  if (FCustomization) FCustomization->Refresh();
  if (NavigationPaneMaxVisibleGroups() == -1 && AItem && Action == CollectionItemChanged)
    InvalidateAll(nbctRecalculate);
  else
    InvalidateAll(nbctRebuild);
}

void TdxCustomNavBar::ItemsChanged(TObject*, TComponent* AItem, TcxComponentCollectionNotification Action) {
  if (FCustomization) FCustomization->Refresh();
  InvalidateAll(AItem && Action == CollectionItemChanged ? nbctRecalculate : nbctRebuild);
}

void TdxCustomNavBar::LinkListChanged(TObject*, TdxNavBarItemLink* ALink) {
  if (FHotTrackedLink == ALink) FHotTrackedLink = nullptr;
  if (FPressedLink == ALink) FPressedLink = nullptr;
  if (FSourceLink == ALink) FSourceLink = nullptr;
}

// -- view

void TdxCustomNavBar::SetView(int32_t Value) {
  if (FView == Value) return;
  TdxNavBarViewsFactory* f = ViewsFactory();
  if (f && !f->HasView(Value) && f->Count() > 0) Value = f->IdAt(f->Count() - 1);
  FView = Value;
  SetViewStyle(CreatePainter());
}

TdxNavBarPainter* TdxCustomNavBar::CreatePainter() {
  TdxNavBarViewsFactory* f = ViewsFactory();
  TdxNavBarPainterClass cls = f ? f->PainterClassAt(f->IndexOfId(FView)) : nullptr;
  if (!cls && f && f->Count() > 0) cls = f->PainterClassAt(f->Count() - 1);
  TdxNavBarPainter* p = cls ? cls->Create(this) : new TdxNavBarPainter(this);
  p->Initialize();
  return p;
}

void TdxCustomNavBar::SetViewStyle(TdxNavBarPainter* Value) {
  if (!Value) return;
  if (Value != FPainter.get()) {
    FPainter.reset(Value);
  }
  FScrollBar->SetVisible(false);
  if (!IsLoading()) {
    ResetStyles(false);
    InvalidateAll(nbctRecalculate);
  }
  InvalidateAll(nbctRebuild);
  UpdateScrollBarLookAndFeel();
}

TdxNavBarPainter* TdxCustomNavBar::Painter() {
  if (!FPainter) FPainter.reset(CreatePainter());
  return FPainter.get();
}

TdxNavBarViewInfo* TdxCustomNavBar::ViewInfo() { return Painter() ? FPainter->ViewInfo() : nullptr; }

TdxNavBarController* TdxCustomNavBar::Controller() { return Painter()->Controller(); }

void TdxCustomNavBar::UpdateScrollBarLookAndFeel() {
  TcxScrollBar* control = FScrollBar->Control();
  if (!control || typeid(*control) != Painter()->GetScrollBarClass()) {
    FScrollBar->RecreateScrollBar();
    control = FScrollBar->Control();
  }
  TcxLookAndFeel* lf = control->LookAndFeel();
  switch (FView) {
    case 6: case 7: case 10: case 11: case 16: case 19:
      lf->SetNativeStyle(true);
      break;
    default:
      lf->SetNativeStyle(false);
      if (FView == 0)
        lf->SetKind(lfStandard);
      else if (FView >= 1 && FView <= 4)
        lf->SetKind(lfFlat);
      else if (FView == 8 || FView == 9)
        lf->SetKind(lfUltraFlat);
      else if (FView == 12 || FView == 13)
        lf->SetKind(lfOffice11);
      break;
  }
}

int TdxCustomNavBar::ScrollPosition() const { return FScrollBar->Visible() ? FScrollBar->Position() : 0; }

void TdxCustomNavBar::InvalidateAll(int Level) {
  if (IsLoading() || IsDestroying()) return;
  if (FPainter) FPainter->InvalidateViewInfo(Level);
  if (HandleAllocated()) {
    if (Level == nbctRebuild) RedrawWindow(Handle(), nullptr, nullptr, RDW_ALLCHILDREN | RDW_INVALIDATE);
    TcxControl::Invalidate();
  }
}

void TdxCustomNavBar::Invalidate() {
  if (FPainter) FPainter->InvalidateViewInfo(nbctRepaint);
  TcxControl::Invalidate();
}

void TdxCustomNavBar::BeginUpdate() { ++FUpdateCount; }

void TdxCustomNavBar::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0) InvalidateAll(nbctRebuild);
}

void TdxCustomNavBar::InvalidateScrollButtons() {
  if (!FPainter) return;
  FPainter->InvalidateViewInfo(nbctRepaint);
  if (!HandleAllocated()) return;
  TdxNavBarViewInfo* vi = FPainter->ViewInfo();
  for (const TRect& r : {vi->TopScrollButtonRect, vi->BottomScrollButtonRect})
    if (!r.IsEmpty()) {
      RECT rc = r;
      InvalidateRect(Handle(), &rc, FALSE);
    }
}

void TdxCustomNavBar::ResetStyles(bool OnlyUntouched) { DefaultStyles()->ResetStyles(OnlyUntouched); }

void TdxCustomNavBar::AssignDefaultStyle(int Index, TdxNavBarBaseStyle* Style) {
  if (TdxNavBarViewInfo* vi = ViewInfo()) vi->AssignDefaultStyle(Index, Style);
}

void TdxCustomNavBar::ThemeChanged() {
  if (FPainter && FPainter->NeedsRecreateOnThemeChange()) {
    SetViewStyle(CreatePainter());
  } else {
    if (FPainter) FPainter->ViewInfo()->RefreshLookResources();
    InvalidateAll(nbctRebuild);
  }
}

void TdxCustomNavBar::SetNavBarBorderStyle(TBorderStyle Value) {
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  SetBorderStyle(Value == bsSingle ? cxcbsDefault : cxcbsNone);
}

// -- painting and size

void TdxCustomNavBar::Paint() {
  if (FUpdateCount > 0) return;
  Painter()->Paint();
}

void TdxCustomNavBar::BoundsChanged() {
  TcxControl::BoundsChanged();
  if (!HandleAllocated()) return;
  int w = ClientWidth() + 10, h = ClientHeight() + 10;
  if (FBuffer->Width() < w || FBuffer->Height() < h)
    FBuffer->SetSize(std::max(FBuffer->Width(), w), std::max(FBuffer->Height(), h));
  if (FPainter) {
    InvalidateAll(FPainter->ViewInfo()->GetResizeUpdateKind());
  }
}

TRect TdxCustomNavBar::ClientRect() const {
  TRect r = TcxControl::ClientRect();
  // The scroll bar stands beside the client area, not over it.
  if (FScrollBar && FScrollBar->Visible()) r.Right = std::max(r.Left, r.Right - GetSystemMetrics(SM_CXVSCROLL));
  return r;
}

void TdxCustomNavBar::CreateParams(TCreateParams& Params) {
  TcxControl::CreateParams(Params);
  Params.Style |= WS_CLIPCHILDREN;
}

void TdxCustomNavBar::CreateWnd() {
  TcxControl::CreateWnd();
  if (FBuffer->Width() < ClientWidth() + 10 || FBuffer->Height() < ClientHeight() + 10)
    FBuffer->SetSize(ClientWidth() + 10, ClientHeight() + 10);
  FScrollBar->ResetData();
  InvalidateAll(nbctRebuild);
}

void TdxCustomNavBar::HintShowMessage(TMessage& Message) {
  auto* info = reinterpret_cast<THintInfo*>(Message.LParam);
  bool canShow = false;
  if (info) Controller()->HintShow(*info, canShow);
  Message.Result = canShow ? 0 : 1;
}

void TdxCustomNavBar::SetCursorMessage(TMessage& Message) {
  if (IsDesigning() || Screen->Cursor() != crDefault) {
    TcxControl::Dispatch(Message);
    return;
  }
  TCursor c = Controller()->GetCursor();
  if (c == crDefault) {
    POINT sp;
    GetCursorPos(&sp);
    TPoint p = ScreenToClient(TPoint(sp.x, sp.y));
    Controller()->UpdateHotTrack({}, p);
    if (FHotTrackedGroup)
      c = HotTrackedGroupCursor();
    else if (FHotTrackedLink)
      c = HotTrackedLinkCursor();
  }
  if (c != crDefault) {
    ::SetCursor(Screen->Cursors(c));
    Message.Result = 1;
    return;
  }
  TcxControl::Dispatch(Message);
}

void TdxCustomNavBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case CM_HINTSHOW: HintShowMessage(Message); return;
    case WM_SETCURSOR: SetCursorMessage(Message); return;
    case CM_DIALOGKEY:
      // Enter activates the focused element (a link click, a group toggle).
      if (Message.WParam == VK_RETURN && Focused() && FFocusedAccessible && GetKeyState(VK_SHIFT) >= 0 &&
          GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0) {
        FFocusedAccessible->HandleKeyUp(VK_RETURN);
        Message.Result = 1;
        return;
      }
      TcxControl::Dispatch(Message);
      return;
    case WM_GETDLGCODE:
      TcxControl::Dispatch(Message);
      Message.Result |= DLGC_WANTARROWS;
      return;
    case CM_DIALOGCHAR: {
      if (CanFocus() && FPainter) {
        Painter()->CheckViewInfo();
        char key = char(Message.WParam);
        if (TdxNavBarGroupViewInfo* g = ViewInfo()->FindGroupByAccel(key)) {
          DoGroupMouseUp(g->Group());
          Message.Result = 1;
          return;
        }
        if (TdxNavBarLinkViewInfo* l = ViewInfo()->FindLinkByAccel(key); l && l->Link()->IsEnabled()) {
          DoLinkMouseUp(l->Link());
          Message.Result = 1;
          return;
        }
      }
      break;
    }
    default: break;
  }
  TcxControl::Dispatch(Message);
}

// -- hooks

void TdxCustomNavBar::DoActiveGroupChanged() {
  if (!IsLoading() && !IsDestroying()) InvokeNotifyEvent(this, OnActiveGroupChanged);
}

void TdxCustomNavBar::DoActiveGroupChanging(TdxNavBarGroup* AGroup, bool& AAllow) {
  if (!IsLoading() && !IsDestroying() && OnActiveGroupChanging) OnActiveGroupChanging(this, AGroup, AAllow);
}

void TdxCustomNavBar::DoGroupHotTrack(TdxNavBarGroup* AGroup) {
  if (FHotTrackedGroup) InvalidateAll(nbctRecalculate);
  FHotTrackedGroup = AGroup;
  if (AGroup) InvalidateAll(nbctRecalculate);
  if (OnGroupHotTrack) OnGroupHotTrack(this, AGroup);
}

void TdxCustomNavBar::DoLinkHotTrack(TdxNavBarItemLink* ALink) {
  if (FHotTrackedLink) InvalidateAll(nbctRecalculate);
  FHotTrackedLink = ALink;
  if (ALink) InvalidateAll(nbctRecalculate);
  if (OnLinkHotTrack) OnLinkHotTrack(this, ALink);
}

void TdxCustomNavBar::DoGroupMouseDown(TdxNavBarGroup* AGroup) {
  FPressedGroup = AGroup;
  FSourceGroup = AGroup;
  if (OnGroupPress) OnGroupPress(this, AGroup);
  InvalidateAll(nbctRecalculate);
}

void TdxCustomNavBar::DoGroupMouseUp(TdxNavBarGroup* AGroup) {
  FSourceGroup = nullptr;
  TcxObjectLink* link = CreateObjectLink(this);
  if (AGroup->OnClick)
    AGroup->OnClick(AGroup);
  else if (OnGroupClick)
    OnGroupClick(this, AGroup);
  bool alive = link->Ref() != nullptr;
  DestroyObjectLink(link);
  if (!alive) return;
  Painter()->CheckViewInfo();
  ViewInfo()->ToggleGroup(AGroup);
  FPressedGroup = nullptr;
  InvalidateAll(nbctRecalculate);
}

void TdxCustomNavBar::DoLinkMouseDown(TdxNavBarItemLink* ALink) {
  FSourceLink = ALink;
  if (ALink->Group() && ALink->Group()->SelectedLinkIndex() != -1) InvalidateAll(nbctRecalculate);
  if (ALink->IsEnabled()) {
    FPressedLink = ALink;
    if (OnLinkPress) OnLinkPress(this, ALink);
    InvalidateAll(nbctRecalculate);
  }
}

void TdxCustomNavBar::DoLinkMouseUp(TdxNavBarItemLink* ALink) {
  FSourceLink = nullptr;
  if (!ALink->IsEnabled()) return;
  TcxObjectLink* link = CreateObjectLink(this);
  Controller()->DoLinkClick(this, ALink);
  bool alive = link->Ref() != nullptr;
  DestroyObjectLink(link);
  if (!alive) return;
  FPressedLink = nullptr;
  InvalidateAll(nbctRecalculate);
}

void TdxCustomNavBar::DoTopScrollButtonDown() {
  if (ViewInfo()->GetTopScrollButtonState() & sDisabled) return;
  FScrollButtonUpIsDown = true;
  FScrollButtonDownIsDown = false;
  FScrollTimer->SetEnabled(true);
  InvalidateScrollButtons();
}

void TdxCustomNavBar::DoBottomScrollButtonDown() {
  if (ViewInfo()->GetBottomScrollButtonState() & sDisabled) return;
  FScrollButtonDownIsDown = true;
  FScrollButtonUpIsDown = false;
  FScrollTimer->SetEnabled(true);
  InvalidateScrollButtons();
}

void TdxCustomNavBar::DoTopScrollButtonUp() {
  FScrollButtonUpIsDown = false;
  FScrollTimer->SetEnabled(false);
  InvalidateScrollButtons();
}

void TdxCustomNavBar::DoBottomScrollButtonUp() {
  FScrollButtonDownIsDown = false;
  FScrollTimer->SetEnabled(false);
  InvalidateScrollButtons();
}

void TdxCustomNavBar::ScrollTimerHandler(TObject*) {
  Painter()->CheckViewInfo();
  TdxNavBarViewInfo* vi = ViewInfo();
  FScrollButtonUpIsDown = vi->IsTopScrollButtonAt(FTargetPoint);
  FScrollButtonDownIsDown = vi->IsBottomScrollButtonAt(FTargetPoint);
  if (!FScrollButtonUpIsDown && !FScrollButtonDownIsDown) FScrollTimer->SetEnabled(false);
  TdxNavBarGroup* g = ActiveGroup();
  if (!g) return;
  if (FScrollButtonUpIsDown && !(vi->GetTopScrollButtonState() & sDisabled))
    g->SetTopVisibleLinkIndex(g->TopVisibleLinkIndex() - 1);
  if (FScrollButtonDownIsDown && !(vi->GetBottomScrollButtonState() & sDisabled))
    g->SetTopVisibleLinkIndex(g->TopVisibleLinkIndex() + 1);
}

void TdxCustomNavBar::ActivateGroupTimerHandler(TObject*) {
  FActivateGroupTimer->SetEnabled(false);
  Painter()->CheckViewInfo();
  TdxNavBarGroup* g = ViewInfo()->GetGroupAtCaptionPos(FTargetPoint);
  if (g && g == FActivatingGroup) ViewInfo()->ExpandGroup(g);
}

TdxNavBarItemLink* TdxCustomNavBar::DesignLinkAt(TPoint P) {
  Painter()->CheckViewInfo();
  return ViewInfo()->FindLinkAtPos(P);
}

// -- mouse

bool TdxCustomNavBar::CanFocusOnClickAt(int X, int Y) {
  return TcxControl::CanFocusOnClickAt(X, Y) && Controller()->CanFocusOnClick(TPoint(X, Y));
}

void TdxCustomNavBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  // The element under the press takes the keyboard focus once the press is handled; it is held
  // by a reference in case a handler frees its owner.
  TdxNavBarCustomAccessibilityHelper* target = nullptr;
  Painter()->CheckViewInfo();
  TdxNavBarViewInfo* vi = ViewInfo();
  TPoint p(X, Y);
  if (!vi->IsTopScrollButtonAt(p) && !vi->IsBottomScrollButtonAt(p))
    target = dxNavBarAccessibleObjectAtPos(dxNavBarAccessibilityOf(this), ClientToScreen(p));
  if (target) target->AddRef();
  TWeakLink<TObject> alive(this);
  TcxControl::MouseDown(Button, Shift, X, Y);
  if (alive) {
    FSourceShift = Shift;
    FSourcePoint = p;
    FTargetPoint = FSourcePoint;
    Painter()->CheckViewInfo();
    Controller()->MouseDown(Button, Shift, p);
  }
  if (alive && target && target->IsOwnerObjectLive() && target->CanTakeFocus(false))
    SetFocusedAccessibleObject(target);
  if (target) target->Release();
}

// -- keyboard focus on the elements

void TdxCustomNavBar::SetFocusedAccessibleObject(TdxNavBarCustomAccessibilityHelper* Value) {
  if (FFocusedAccessible == Value) return;
  TdxNavBarCustomAccessibilityHelper* old = FFocusedAccessible;
  FFocusedAccessible = Value;
  if (old) old->FocusStateChanged(true);
  if (Value) Value->FocusStateChanged(true);
}

void TdxCustomNavBar::AccessibleObjectDestroyed(TcxAccessibilityHelper* AObject) {
  if (FFocusedAccessible && static_cast<TcxAccessibilityHelper*>(FFocusedAccessible) == AObject)
    FFocusedAccessible = nullptr;
}

bool TdxCustomNavBar::IsFocusedElement(TObject* Owner) const {
  TdxNavBarCustomAccessibilityHelper* f = FFocusedAccessible;
  if (!f || f->OwnerObject() != Owner || !f->HasFocus()) return false;
  return f->Kind() == TdxNavBarAccessibleKind::Link || f->Kind() == TdxNavBarAccessibleKind::CaptionPanel;
}

void TdxCustomNavBar::CheckFocusedAccessibleObject() {
  if (FFocusedAccessible && !FFocusedAccessible->CanTakeFocus(false)) FFocusedAccessible->ReleaseFocus();
}

void TdxCustomNavBar::FocusChanged() {
  TcxControl::FocusChanged();
  if (IsDestroying()) return;
  if (Focused() && !FFocusedAccessible) {
    if (TdxNavBarCustomAccessibilityHelper* first = dxNavBarAccessibilityOf(this)->NextNavigationObject(dxNavBarNavFirst))
      SetFocusedAccessibleObject(first);
  } else if (FFocusedAccessible) {
    FFocusedAccessible->FocusStateChanged(false);
  }
}

void TdxCustomNavBar::KeyDown(WORD& Key, TShiftState Shift) {
  FState |= 1;
  TcxControl::KeyDown(Key, Shift);
  int direction = 0;
  switch (Key) {
    case VK_LEFT: direction = dxNavBarNavLeft; break;
    case VK_RIGHT: direction = dxNavBarNavRight; break;
    case VK_UP: direction = dxNavBarNavUp; break;
    case VK_DOWN: direction = dxNavBarNavDown; break;
    default: break;
  }
  if (direction) {
    TdxNavBarCustomAccessibilityHelper* next =
        FFocusedAccessible ? FFocusedAccessible->NextNavigationObject(direction)
                           : dxNavBarAccessibilityOf(this)->NextNavigationObject(dxNavBarNavDown);
    if (next) SetFocusedAccessibleObject(next);
  } else if (Key != 0 && FFocusedAccessible) {
    FFocusedAccessible->HandleKeyDown(Key);
  }
}

void TdxCustomNavBar::KeyPress(char32_t& Key) {
  TcxControl::KeyPress(Key);
  if (Key != 0 && FFocusedAccessible) FFocusedAccessible->HandleKeyPress(Key);
}

void TdxCustomNavBar::KeyUp(WORD& Key, TShiftState Shift) {
  TcxControl::KeyUp(Key, Shift);
  if (!(FState & 1) || Key == 0 || Key == VK_RETURN || !FFocusedAccessible) return;
  FState &= ~1;
  TWeakLink<TObject> alive(this);
  FFocusedAccessible->HandleKeyUp(Key);
  if (!alive) Key = 0;
}

bool TdxCustomNavBar::StartsDragAt(TPoint P) {
  TdxNavBarDragDropFlags flags = DragDropFlags();
  bool candidate = ((flags & fAllowDragGroup) && FSourceGroup) ||
                   ((flags & fAllowDragLink) && FSourceLink && FSourceLink->IsEnabled());
  return candidate && (std::abs(P.X - FSourcePoint.X) > 3 || std::abs(P.Y - FSourcePoint.Y) > 3);
}

void TdxCustomNavBar::MouseMove(TShiftState Shift, int X, int Y) {
  FTargetPoint = TPoint(X, Y);
  if (!FPainter || IsDesigning()) {
    TcxControl::MouseMove(Shift, X, Y);
    return;
  }
  TdxNavBarViewInfo* vi = ViewInfo();
  if (!vi->TopScrollButtonRect.IsEmpty() || !vi->BottomScrollButtonRect.IsEmpty()) InvalidateScrollButtons();
  if (!gDragObject && !(FState & 2) && StartsDragAt(FTargetPoint)) {
    FSourceShift = {};
    FState |= 2;
    SetDragMode(dmAutomatic);
    BeginDrag(true, 0);
    return;
  }
  TcxControl::MouseMove(Shift, X, Y);
  Controller()->MouseMove(Shift, FTargetPoint);
}

void TdxCustomNavBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (gDragObject || (FState & 2)) return;
  TWeakLink<TObject> alive(this);
  TcxControl::MouseUp(Button, Shift, X, Y);
  if (!alive) return;
  FTargetPoint = TPoint(X, Y);
  TcxObjectLink* link = CreateObjectLink(this);
  Controller()->MouseUp(Button, Shift, TPoint(X, Y));
  bool stillAlive = link->Ref() != nullptr;
  DestroyObjectLink(link);
  if (!stillAlive) return;
  FSourceShift = {};
  FPressedGroup = nullptr;
  FPressedLink = nullptr;
  FSourceGroup = nullptr;
  FSourceLink = nullptr;
}

bool TdxCustomNavBar::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  return Controller()->MouseWheel(Shift, WheelDelta, MousePos);
}

void TdxCustomNavBar::MouseEnter(TControl* AControl) {
  TcxControl::MouseEnter(AControl);
  InvalidateAll(nbctRepaint);
}

void TdxCustomNavBar::MouseLeave(TControl* AControl) {
  FTargetPoint = TPoint(-1, -1);
  FHotTrackedGroup = nullptr;
  FHotTrackedLink = nullptr;
  if (gDragObject && gDragObject->NavBar() == this) gDragObject->UpdateTarget();
  TcxControl::MouseLeave(AControl);
  if (FPainter) Controller()->MouseLeave();
  InvalidateAll(nbctRecalculate);
}

// -- drag and drop

TdxNavBarDragObject::TdxNavBarDragObject(TdxCustomNavBar* ANavBar, TdxNavBarGroup* ASourceGroup,
                                         TdxNavBarItemLink* ASourceLink, TdxNavBarItem* ASourceItem)
    : FNavBar(ANavBar), FSourceGroup(ASourceGroup), FSourceLink(ASourceLink), FSourceItem(ASourceItem) {}

TdxNavBarItem* TdxNavBarDragObject::DraggedItem() const {
  if (FSourceItem) return FSourceItem;
  if (FSourceLink && (GetKeyState(VK_CONTROL) < 0)) return FSourceLink->Item();
  return nullptr;
}

void TdxNavBarDragObject::UpdateTarget() {
  TdxNavBarViewInfo* vi = FNavBar->ViewInfo();
  FNavBar->Painter()->CheckViewInfo();
  TPoint p = FNavBar->TargetPoint();
  if (FSourceGroup && !DraggedItem() && !FSourceLink) {
    FTargetGroup = vi->GetGroupAtCaptionPos(p);
    if (!FTargetGroup) FTargetGroup = vi->GetGroupAtItemsPos(p);
    return;
  }
  if (!FSourceLink && !DraggedItem()) return;
  TdxNavBarGroupViewInfo* g = nullptr;
  TdxNavBarLinkViewInfo* before = nullptr;
  TdxNavBarLinkViewInfo* after = nullptr;
  FTargetPosition = vi->GetLinksAtDropPos(p, g, before, after);
  FTargetGroup = g && !g->Group()->IsDestroying() ? g->Group() : nullptr;
  auto model = [](TdxNavBarLinkViewInfo* l) -> TdxNavBarItemLink* {
    return l && l->Link()->Group() && l->Link()->Item() ? l->Link() : nullptr;
  };
  FTargetLink1 = model(before);
  FTargetLink2 = model(after);
}

void TdxCustomNavBar::DoStartDrag(TDragObject*& DragObject) {
  if (!gDragObject) gDragObject = std::make_unique<TdxNavBarDragObject>(this, FSourceGroup, FSourceLink, nullptr);
  FPlatformDragObject = std::make_unique<TDragControlObject>(this);
  DragObject = FPlatformDragObject.get();
  if (FHotTrackedLink) DoLinkHotTrack(nullptr);
  if (FHotTrackedGroup) DoGroupHotTrack(nullptr);
  TWeakLink<TObject> alive(this);
  TcxControl::DoStartDrag(DragObject);
}

void TdxCustomNavBar::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  Accept = false;
  FTargetPoint = TPoint(X, Y);
  FScrollButtonUpIsDown = FScrollButtonDownIsDown = false;
  if (FPressedGroup) {
    FPressedGroup = nullptr;
    InvalidateAll(nbctRepaint);
  }
  if (FPressedLink) {
    FPressedLink = nullptr;
    InvalidateAll(nbctRepaint);
  }
  if (FPainter && (!ViewInfo()->TopScrollButtonRect.IsEmpty() || !ViewInfo()->BottomScrollButtonRect.IsEmpty()))
    InvalidateScrollButtons();
  if (gDragObject) {
    gDragObject->UpdateTarget();
    TdxNavBarDragDropFlags flags = DragDropFlags();
    if (gDragObject->DraggedItem() && (flags & fAllowDropLink))
      DoItemDragOver(gDragObject->DraggedItem(), Accept);
    else if (gDragObject->SourceLink() && (flags & fAllowDropLink))
      DoLinkDragOver(gDragObject->SourceLink(), Accept);
    else if (gDragObject->SourceGroup() && (flags & fAllowDropGroup))
      DoGroupDragOver(gDragObject->SourceGroup(), Accept);
  }
  if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TdxCustomNavBar::DoGroupDragOver(TdxNavBarGroup* AGroup, bool& Accept) {
  Accept = gDragObject->TargetGroup() && gDragObject->TargetGroup() != AGroup;
  InvalidateAll(nbctRepaint);
}

void TdxCustomNavBar::DoItemDragOver(TdxNavBarItem*, bool& Accept) {
  Accept = true;
  TdxNavBarViewInfo* vi = ViewInfo();
  if (vi->IsTopScrollButtonAt(FTargetPoint) || vi->IsBottomScrollButtonAt(FTargetPoint)) {
    FScrollButtonUpIsDown = vi->IsTopScrollButtonAt(FTargetPoint);
    FScrollButtonDownIsDown = !FScrollButtonUpIsDown;
    FScrollTimer->SetEnabled(true);
    return;
  }
  if (TdxNavBarGroup* g = vi->GetGroupAtCaptionPos(FTargetPoint)) {
    FActivatingGroup = g;
    FActivateGroupTimer->SetEnabled(false);
    FActivateGroupTimer->SetEnabled(true);
  }
  Accept = gDragObject->TargetGroup() != nullptr;
  InvalidateAll(nbctRepaint);
}

void TdxCustomNavBar::DoLinkDragOver(TdxNavBarItemLink* ALink, bool& Accept) {
  DoItemDragOver(nullptr, Accept);
  if (!Accept) return;
  TdxNavBarViewInfo* vi = ViewInfo();
  if (vi->IsTopScrollButtonAt(FTargetPoint) || vi->IsBottomScrollButtonAt(FTargetPoint)) return;
  Accept = gDragObject->TargetLink1() != ALink && gDragObject->TargetLink2() != ALink;
}

void TdxCustomNavBar::DragDrop(TObject* Source, int X, int Y) {
  if (FPressedGroup) {
    FPressedGroup = nullptr;
    InvalidateAll(nbctRepaint);
  }
  if (FPressedLink) {
    FPressedLink = nullptr;
    InvalidateAll(nbctRepaint);
  }
  FTargetPoint = TPoint(X, Y);
  Painter()->CheckViewInfo();
  FHotTrackedLink = ViewInfo()->GetLinkAtHotPos(FTargetPoint);
  FHotTrackedGroup = ViewInfo()->GetGroupAtCaptionPos(FTargetPoint);
  TWeakLink<TObject> alive(this);
  if (gDragObject) {
    gDragObject->UpdateTarget();
    TdxNavBarDragDropFlags flags = DragDropFlags();
    if (gDragObject->DraggedItem() && (flags & fAllowDropLink))
      DoItemDragDrop(gDragObject->DraggedItem());
    else if (gDragObject->SourceLink() && (flags & fAllowDropLink))
      DoLinkDragDrop(gDragObject->SourceLink());
    else if (gDragObject->SourceGroup() && (flags & fAllowDropGroup))
      DoGroupDragDrop(gDragObject->SourceGroup());
  }
  if (!alive) return;
  if (OnDragDrop) OnDragDrop(this, Source, X, Y);
}

void TdxCustomNavBar::DoGroupDragDrop(TdxNavBarGroup* AGroup) {
  if (TdxNavBarGroup* target = gDragObject->TargetGroup()) AGroup->SetIndex(target->Index());
}

void TdxCustomNavBar::DoItemDragDrop(TdxNavBarItem* AItem) {
  TdxNavBarGroup* target = gDragObject->TargetGroup();
  if (!target) return;
  TdxNavBarItemLink* link = target->CreateLink(AItem);
  link->SetIndex(std::clamp(gDragObject->TargetPosition(), 0, target->LinkCount() - 1));
}

void TdxCustomNavBar::DoLinkDragDrop(TdxNavBarItemLink* ALink) {
  int index = gDragObject->TargetPosition();
  TdxNavBarGroup* target = gDragObject->TargetGroup();
  if (index < 0 || !target) return;
  TdxNavBarGroup* source = ALink->Group();
  TdxNavBarItemLink* link = ALink;
  if (target == source) {
    if (ALink->Index() < index) --index;
  } else {
    source->SetSelectedLinkIndex(-1);
    link = target->CreateLink(ALink->Item());
    source->RemoveLink(ALink->Index());
  }
  link->SetIndex(std::clamp(index, 0, target->LinkCount() - 1));
}

void TdxCustomNavBar::DoEndDrag(TObject* Target, int X, int Y) {
  TWeakLink<TObject> alive(this);
  TcxControl::DoEndDrag(Target, X, Y);
  if (!alive) return;
  if (FCustomization) FCustomization->DragDrop(Target, X, Y);
  // The platform object is still in use by the caller; it goes with the next drag or the bar.
  gDragObject.reset();
  FState &= ~2;
  SetDragMode(dmManual);
  FSourceGroup = nullptr;
  FSourceLink = nullptr;
  if (FPainter) Controller()->UpdateHotTrack();
}

// ---- units

namespace {

// What form descriptions store of the bar, its groups, items, links and styles.
void RegisterPublishedProperties() {
  RegisterEnumNames<TdxBarStyleGradientMode>({"gmHorizontal", "gmVertical", "gmForwardDiagonal", "gmBackwardDiagonal"});
  RegisterEnumNames<TdxBarStyleHAlignment>({"haLeft", "haCenter", "haRight"});
  RegisterEnumNames<TdxBarStyleVAlignment>({"vaTop", "vaCenter", "vaBottom"});
  RegisterEnumNames<TcxTopBottom>({"vaTop", "vaBottom"});
  RegisterEnumNames<TdxBarStyleAssignedValue>({"savAlphaBlending", "savAlphaBlending2", "savBackColor", "savBackColor2",
                                               "savFont", "savGradientMode", "savHAlignment", "savVAlignment",
                                               "savImage"});

  using S = TdxNavBarBaseStyle;
  Published<S>()
      .Property("AlphaBlending", &S::AlphaBlending, &S::SetAlphaBlending).Default(255)
      .Property("AlphaBlending2", &S::AlphaBlending2, &S::SetAlphaBlending2).Default(255)
      .Property("BackColor", &S::BackColor, &S::SetBackColor).Idents(ColorIdentMap())
      .Property("BackColor2", &S::BackColor2, &S::SetBackColor2).Idents(ColorIdentMap())
      .Property("GradientMode", &S::GradientMode, &S::SetGradientMode).Default(gmHorizontal)
      .Property("Font", &S::Font, &S::SetFont)
      .Property("Image", &S::Image, &S::SetImage)
      // Styles start at haLeft but store against haCenter, so haLeft is always written.
      .Property("HAlignment", &S::HAlignment, &S::SetHAlignment).Default(TdxBarStyleHAlignment::haCenter)
      .Property("VAlignment", &S::VAlignment, &S::SetVAlignment).Default(TdxBarStyleVAlignment::vaCenter);
  Published<TdxNavBarStyle>().Property("AssignedValues", &TdxNavBarStyle::AssignedValues,
                                       &TdxNavBarStyle::SetAssignedValues);
  Published<TdxNavBarStyleItem>().Property("Style", &TdxNavBarStyleItem::Style, &TdxNavBarStyleItem::SetStyle);

  using D = TdxNavBarDefaultStyles;
  static const char* const names[D::StyleCount] = {
      "Background", "Button", "ButtonPressed", "ButtonHotTracked", "GroupBackground", "GroupControl", "GroupHeader",
      "GroupHeaderActive", "GroupHeaderActiveHotTracked", "GroupHeaderActivePressed", "GroupHeaderHotTracked",
      "GroupHeaderPressed", "Hint", "Item", "ItemDisabled", "ItemHotTracked", "ItemPressed", "DropTargetGroup",
      "DropTargetLink", "NavigationPaneHeader"};
  TPublished<D> defaults = Published<D>();
  for (int i = 0; i < D::StyleCount; ++i)
    defaults.Property(names[i], [i](D* d) { return d->StyleAt(i); }, [i](D* d, TdxNavBarDefaultStyle* v) { d->SetStyleAt(i, v); })
        .Stored([i](D* d) { return d->IsStoredAt(i); });

  using CS = TdxNavBarBaseCustomStyles;
  auto publishSlots = [](auto published, std::initializer_list<const char*> slotNames) {
    int i = 0;
    for (const char* n : slotNames) {
      published.Property(n, [i](CS* c) { return c->StyleAt(i); }, [i](CS* c, TdxNavBarStyleItem* v) { c->SetStyleAt(i, v); });
      ++i;
    }
  };
  publishSlots(Published<TdxNavBarCustomStyles>(), {"Background", "Hint", "DropTargetGroup", "DropTargetLink", "Button",
                                             "ButtonHotTracked", "ButtonPressed", "NavigationPaneHeader"});
  publishSlots(Published<TdxNavBarGroupCustomStyles>(), {"Background", "Control", "Header", "HeaderActive",
                                                  "HeaderActiveHotTracked", "HeaderActivePressed", "HeaderHotTracked",
                                                  "HeaderPressed"});
  publishSlots(Published<TdxNavBarItemCustomStyles>(), {"Item", "ItemDisabled", "ItemHotTracked", "ItemPressed"});

  using SO = TdxNavBarStyleOptions;
  Published<SO>()
      .Property("DefaultStyles", &SO::DefaultStyles, &SO::SetDefaultStyles)
      .Property("CustomStyles", &SO::CustomStyles, &SO::SetCustomStyles);

  using CV = TdxNavBarCommonViewOptions;
  Published<CV>().Property("ShowGroupCaptions", &CV::ShowGroupCaptions, &CV::SetShowGroupCaptions).Default(1);
  using EV = TdxNavBarExplorerBarViewOptions;
  Published<EV>()
      .Property("ShowSpecialGroup", &EV::ShowSpecialGroup, &EV::SetShowSpecialGroup).Default(0)
      .Property("SpaceBetweenGroups", &EV::SpaceBetweenGroups, &EV::SetSpaceBetweenGroups).Default(0);
  using NV = TdxNavBarNavigationPaneViewOptions;
  Published<NV>()
      .Property("MaxVisibleGroups", &NV::MaxVisibleGroups, &NV::SetMaxVisibleGroups).Default(-1)
      .Property("OverflowPanelUseSmallImages", &NV::OverflowPanelUseSmallImages, &NV::SetOverflowPanelUseSmallImages)
      .Default(1)
      .Property("ShowActiveGroupCaptionWhenCollapsed", &NV::ShowActiveGroupCaptionWhenCollapsed,
                &NV::SetShowActiveGroupCaptionWhenCollapsed)
      .Default(0)
      .Property("ShowHeader", &NV::ShowHeader, &NV::SetShowHeader).Default(1)
      .Property("ShowOverflowPanel", &NV::ShowOverflowPanel, &NV::SetShowOverflowPanel).Default(1);
  using VO = TdxNavBarViewOptions;
  Published<VO>()
      .Property("Common", &VO::Common, &VO::SetCommon)
      .Property("ExplorerBar", &VO::ExplorerBar, &VO::SetExplorerBar)
      .Property("NavigationPane", &VO::NavigationPane, &VO::SetNavigationPane);
  using CB = TdxNavBarCommonBehaviorOptions;
  Published<CB>()
      .Property("AllowSelectLinks", &CB::AllowSelectLinks, &CB::SetAllowSelectLinks).Default(0)
      .Property("EachGroupHasSelectedLink", &CB::EachGroupHasSelectedLink, &CB::SetEachGroupHasSelectedLink).Default(0)
      .Property("DragDropFlags", &CB::DragDropFlags, &CB::SetDragDropFlags).Default(15)
      .Property("ShowGroupsHint", &CB::ShowGroupsHint, &CB::SetShowGroupsHint).Default(0)
      .Property("ShowLinksHint", &CB::ShowLinksHint, &CB::SetShowLinksHint).Default(0);
  using NB = TdxNavBarNavigationPaneBehaviorOptions;
  Published<NB>()
      .Property("AdjustWidthByPopup", &NB::AdjustWidthByPopup, &NB::SetAdjustWidthByPopup).Default(0)
      .Property("AllowCustomizing", &NB::AllowCustomizing, &NB::SetAllowCustomizing).Default(1)
      .Property("Collapsible", &NB::Collapsible, &NB::SetCollapsible).Default(0)
      .Property("Collapsed", &NB::Collapsed, &NB::SetCollapsed).Default(0)
      .Property("ShowOverflowPanelHints", &NB::ShowOverflowPanelHints, &NB::SetShowOverflowPanelHints).Default(1);
  using BO = TdxNavBarBehaviorOptions;
  Published<BO>()
      .Property("Common", &BO::Common, &BO::SetCommon)
      .Property("NavigationPane", &BO::NavigationPane, &BO::SetNavigationPane);
  using IO = TdxNavBarImageOptions;
  Published<IO>()
      .Property("DisabledLargeImages", &IO::DisabledLargeImages, &IO::SetDisabledLargeImages)
      .Property("DisabledSmallImages", &IO::DisabledSmallImages, &IO::SetDisabledSmallImages)
      .Property("HotLargeImages", &IO::HotLargeImages, &IO::SetHotLargeImages)
      .Property("HotSmallImages", &IO::HotSmallImages, &IO::SetHotSmallImages)
      .Property("LargeImages", &IO::LargeImages, &IO::SetLargeImages)
      .Property("SmallImages", &IO::SmallImages, &IO::SetSmallImages);
  using CU = TdxNavBarCursors;
  Published<CU>()
      .Property("DragCopyCursor", &CU::DragCopyCursor, &CU::SetDragCopyCursor).Default(dxNavBarDragCopyCursor)
      .Property("HotTrackedGroupCursor", &CU::HotTrackedGroupCursor, &CU::SetHotTrackedGroupCursor).Default(crDefault)
      .Property("HotTrackedLinkCursor", &CU::HotTrackedLinkCursor, &CU::SetHotTrackedLinkCursor)
      .Default(dxNavBarLinksCursor);

  using CI = TdxNavBarCustomItem;
  Published<CI>()
      .Property("Caption", &CI::Caption, &CI::SetCaption)
      .Property("Hint", &CI::Hint, &CI::SetHint)
      .Property("LargeImageIndex", &CI::LargeImageIndex, &CI::SetLargeImageIndex).Default(-1)
      .Property("SmallImageIndex", &CI::SmallImageIndex, &CI::SetSmallImageIndex).Default(-1)
      .Property("Visible", &CI::Visible, &CI::SetVisible).Default(1)
      .Property("OnClick", &CI::OnClick);
  using G = TdxNavBarGroup;
  Published<G>()
      .Property("Align", &G::Align, &G::SetAlign).Default(TcxTopBottom::vaTop)
      .Property("LinksUseSmallImages", &G::LinksUseSmallImages, &G::SetLinksUseSmallImages).Default(1)
      .Property("ShowAsIconView", &G::ShowAsIconView, &G::SetShowAsIconView).Default(0)
      .Property("ShowCaption", &G::ShowCaption, &G::SetShowCaption).Default(1)
      .Property("UseSmallImages", &G::UseSmallImages, &G::SetUseSmallImages).Default(1)
      .Property("UseRestSpace", &G::UseRestSpace, &G::SetUseRestSpace).Default(0)
      .Property("TopVisibleLinkIndex", &G::TopVisibleLinkIndex, &G::SetTopVisibleLinkIndex).Default(0)
      .Property("SelectedLinkIndex", &G::SelectedLinkIndex, &G::SetSelectedLinkIndex).Default(-1)
      .Property("VisibleForCustomization", &G::VisibleForCustomization, &G::SetVisibleForCustomization).Default(1)
      .Property("Expanded", &G::Expanded, &G::SetExpanded).Default(1)
      .Property("CustomStyles", &G::CustomStyles)
      .Property("Links", &G::Links)
      .Property("OnCollapsed", &G::OnCollapsed)
      .Property("OnExpanded", &G::OnExpanded)
      .Property("OnSelectedLinkChanged", &G::OnSelectedLinkChanged)
      .Property("OnTopVisibleLinkChanged", &G::OnTopVisibleLinkChanged);
  using L = TdxNavBarItemLink;
  Published<L>().Property("Item", &L::Item, &L::SetItem);
  // An item stores what its action does not give it.
  auto unlinked = [](bool (TActionLink::*Test)() const) {
    return [Test](CI* c) {
      auto* item = dynamic_cast<TdxNavBarItem*>(c);
      return !item || !item->ActionLink() || !(item->ActionLink()->*Test)();
    };
  };
  using I = TdxNavBarItem;
  Published<I>()
      .Property("Action", &I::Action, &I::SetAction)
      .Property("Caption", &CI::Caption, &CI::SetCaption).Stored(unlinked(&TActionLink::IsCaptionLinked))
      .Property("Hint", &CI::Hint, &CI::SetHint).Stored(unlinked(&TActionLink::IsHintLinked))
      .Property("Visible", &CI::Visible, &CI::SetVisible).Default(1).Stored(unlinked(&TActionLink::IsVisibleLinked))
      .Property("Enabled", &I::Enabled, &I::SetEnabled).Default(1)
      .Stored([](I* i) { return !i->ActionLink() || !i->ActionLink()->IsEnabledLinked(); })
      .Property("CustomStyles", &I::CustomStyles);

  using B = TdxCustomNavBar;
  Published<B>()
      .Property("ActiveGroupIndex", &B::ActiveGroupIndex, &B::SetActiveGroupIndex)
      .Property("BorderStyle", &B::NavBarBorderStyle, &B::SetNavBarBorderStyle).Default(bsNone)
      .Property("Cursors", &B::Cursors)
      .Property("View", &B::View, &B::SetView).Default(0)
      .Property("OptionsBehavior", &B::OptionsBehavior)
      .Property("OptionsImage", &B::OptionsImage)
      .Property("OptionsStyle", &B::OptionsStyle)
      .Property("OptionsView", &B::OptionsView)
      .Property("OnActiveGroupChanged", &B::OnActiveGroupChanged)
      .Property("OnActiveGroupChanging", &B::OnActiveGroupChanging)
      .Property("OnGroupClick", &B::OnGroupClick)
      .Property("OnGroupHotTrack", &B::OnGroupHotTrack)
      .Property("OnGroupPress", &B::OnGroupPress)
      .Property("OnLinkClick", &B::OnLinkClick)
      .Property("OnLinkHotTrack", &B::OnLinkHotTrack)
      .Property("OnLinkPress", &B::OnLinkPress)
      .Property("OnGetGroupHint", &B::OnGetGroupHint)
      .Property("OnGetLinkHint", &B::OnGetLinkHint)
      .Property("OnNavigationPaneCollapsed", &B::OnNavigationPaneCollapsed)
      .Property("OnNavigationPaneExpanded", &B::OnNavigationPaneExpanded);
  Published<TdxNavBar>().Property("CustomDrawEvents", &TdxNavBar::CustomDrawEvents);
}

}  // namespace

void dxNavBarRegisterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  if (!FindClassInfo(typeid(TcxComponentCollectionItem)))
    RegisterClass<TcxComponentCollectionItem, TComponent>();
  RegisterClass<TdxNavBarComponentCollectionItem, TcxComponentCollectionItem>();
  RegisterClass<TdxNavBarCustomItem, TdxNavBarComponentCollectionItem>();
  RegisterClass<TdxNavBarGroup, TdxNavBarCustomItem>();
  RegisterClass<TdxNavBarItem, TdxNavBarCustomItem>();
  RegisterClass<TdxNavBarStyleItem, TdxNavBarComponentCollectionItem>();
  RegisterClass<TdxNavBarItemLink, TCollectionItem>();
  RegisterClass<TdxNavBarItemLinks, TCollection>();
  RegisterClass<TdxNavBarGroupControl, TCustomPanel>();
  RegisterClass<TdxNavBarBaseStyle, TPersistent>();
  RegisterClass<TdxNavBarStyle, TdxNavBarBaseStyle>();
  RegisterClass<TdxNavBarDefaultStyle, TdxNavBarBaseStyle>();
  RegisterClass<TdxNavBarDefaultStyles, TPersistent>();
  RegisterClass<TdxNavBarBaseCustomStyles, TPersistent>();
  RegisterClass<TdxNavBarCustomStyles, TdxNavBarBaseCustomStyles>();
  RegisterClass<TdxNavBarGroupCustomStyles, TdxNavBarBaseCustomStyles>();
  RegisterClass<TdxNavBarItemCustomStyles, TdxNavBarBaseCustomStyles>();
  RegisterClass<TdxNavBarStyleOptions, TPersistent>();
  RegisterClass<TdxNavBarCommonViewOptions, TPersistent>();
  RegisterClass<TdxNavBarExplorerBarViewOptions, TPersistent>();
  RegisterClass<TdxNavBarNavigationPaneViewOptions, TPersistent>();
  RegisterClass<TdxNavBarViewOptions, TPersistent>();
  RegisterClass<TdxNavBarCommonBehaviorOptions, TPersistent>();
  RegisterClass<TdxNavBarNavigationPaneBehaviorOptions, TPersistent>();
  RegisterClass<TdxNavBarBehaviorOptions, TPersistent>();
  RegisterClass<TdxNavBarImageOptions, TPersistent>();
  RegisterClass<TdxNavBarCursors, TPersistent>();
  if (!FindClassInfo(typeid(TcxControl))) RegisterClass<TcxControl, TCustomControl>();
  RegisterClass<TdxCustomNavBar, TcxControl>();
  RegisterClass<TdxNavBar, TdxCustomNavBar>();
  RegisterPublishedProperties();
}

void dxNavBarInitialize() {
  if (gUnitCount++ > 0) return;
  dxNavBarRegisterClasses();
  dxNavBarConstsInitialize();
  dxNavBarBaseViewsInitialize();
  dxNavBarExplorerViewsInitialize();
  const char* const names[] = {"dxNavBarDragCursor", "dxNavBarDragCopyCursor", "dxNavBarLinksCursor"};
  const TCursor ids[] = {dxNavBarDragCursor, dxNavBarDragCopyCursor, dxNavBarLinksCursor};
  for (int i = 0; i < 3; ++i)
    if (Screen)
      if (HCURSOR c = LoadCursor(nullptr, names[i])) Screen->SetCursors(ids[i], c);
}

void dxNavBarFinalize() {
  if (gUnitCount == 0 || --gUnitCount > 0) return;
  gDragObject.reset();
  dxNavBarExplorerViewsFinalize();
  dxNavBarBaseViewsFinalize();
  dxNavBarConstsFinalize();
}
