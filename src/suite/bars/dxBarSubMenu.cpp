#include "suite/bars/dxBarSubMenu.h"

#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Modules.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "suite/bars/dxBarAnimation.h"
#include "suite/bars/dxBarMenuPlacement.h"
#include "suite/bars/dxBarShadow.h"
#include "suite/core/cxClasses.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxGraphics.h"

namespace {

using TAnimateWindowProc = BOOL (*)(HWND, DWORD, DWORD);

TAnimateWindowProc AnimateWindowEntry() {
  HMODULE user32 = GetModuleHandle("user32.dll");
  return user32 ? GetProcAddressAs<TAnimateWindowProc>(user32, "AnimateWindow") : nullptr;
}

void DispatchPendingPaintMessages() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_REMOVE)) DispatchMessage(&msg);
}

TCustomdxBarControl* RootToolbarOf(TCustomdxBarControl* Bar) {
  TCustomdxBarControl* root = RootBarControlOf(Bar);
  return root && root->BarControlKind() == 0 ? root : nullptr;
}

}  // namespace

void CloseActiveMenusOf(TdxBarManager* Manager) {
  for (TCustomdxBarControl* bar = GetActiveBarControl(); bar; bar = GetActiveBarControl()) {
    if (Manager && bar->BarManager() != Manager) break;
    TCustomdxBarControl* root = RootBarControlOf(bar);
    TWeakLink<TCustomdxBarControl> alive(root);
    root->CloseUp(dxbcrClick);
    if (alive && alive->IsActive()) alive->Deactivate();
    if (alive && alive->BarControlKind() == 2) alive->CloseAndFree();
    if (GetActiveBarControl() == bar) break;
  }
}

// ---- container links of a bar: a menu shows what its container items generate in their place

void TCustomdxBarControl::ExpandContainerLinks() {
  TdxBarItemLinks* links = ItemLinks();
  if (!links) return;
  // Filling changes the links; the bar must not rebuild itself in the middle of that.
  LockCalculation();
  struct TUnlock {
    TCustomdxBarControl* Bar;
    ~TUnlock() { Bar->UnlockCalculation(); }
  } unlock{this};
  std::vector<TCustomdxBarContainerItem*> cleared;
  for (int i = 0; i < links->Count();) {
    TdxBarItemLink* link = links->LinkByIndex(i);
    auto* container = dynamic_cast<TCustomdxBarContainerItem*>(link->Item());
    const auto& showable = links->ShowableLinks();
    if (!container || std::find(showable.begin(), showable.end(), link) == showable.end()) {
      ++i;
      continue;
    }
    if (!FExpandedLinks) FExpandedLinks = new std::vector<TdxBarContainerLinkData*>;
    auto* data = new TdxBarContainerLinkData;
    data->Item = container;
    data->ContainerLink = link;
    data->Index = i;
    FExpandedLinks->push_back(data);
    if (std::find(cleared.begin(), cleared.end(), container) == cleared.end()) {
      cleared.push_back(container);
      container->RequestItemListClear();
    }
    const bool hides = container->ReplacesOwnLink();
    if (hides) data->SavedRecentIndex = link->RecentIndex();
    container->FillLinks(links, data, i + 1);
    if (hides) {
      link->SetCollection(nullptr);  // the generated links take its place; it comes back on collapse
    } else {
      ++i;
    }
    if (!hides) i += int(data->GeneratedLinks.size());
  }
}

void TCustomdxBarControl::CollapseContainerLinks() {
  if (!FExpandedLinks) return;
  std::unique_ptr<std::vector<TdxBarContainerLinkData*>> list(FExpandedLinks);
  FExpandedLinks = nullptr;
  TdxBarItemLinks* links = ItemLinks();
  LockCalculation();
  struct TUnlock {
    TCustomdxBarControl* Bar;
    ~TUnlock() { Bar->UnlockCalculation(); }
  } unlock{this};
  for (auto it = list->rbegin(); it != list->rend(); ++it) {
    std::unique_ptr<TdxBarContainerLinkData> data(*it);
    data->Item->EndItemsPopulation(data.get());
    if (links && data->ContainerLink && !data->ContainerLink->Collection()) {
      data->ContainerLink->SetCollection(links);
      data->ContainerLink->SetIndex(std::min(data->Index, links->Count() - 1));
    }
  }
}

// ---- TdxBarSubMenuControl

TdxBarSubMenuControl::TdxBarSubMenuControl(TComponent* AOwner) : TCustomdxBarControl(AOwner) { SetWidth(0); }

TdxBarSubMenuControl::~TdxBarSubMenuControl() {
  StopAnimation(false);
  if (IsActive()) Deactivate();
  DestroyHandle();
}

void TdxBarSubMenuControl::BuildItemControls() {
  if (!(State() & (dxbcsBuildingControls | dxbcsFreeingControls)) && !IsCustomizing()) ExpandContainerLinks();
  TCustomdxBarControl::BuildItemControls();
}

void TdxBarSubMenuControl::FreeItemControls() {
  const bool busy = State() & (dxbcsBuildingControls | dxbcsFreeingControls);
  TCustomdxBarControl::FreeItemControls();
  if (!busy) CollapseContainerLinks();
}

int TdxBarSubMenuControl::NavigationFlags() const {
  return (TCustomdxBarControl::NavigationFlags() & 0xFDAD) | 0x12;
}

bool TdxBarSubMenuControl::RightButtonActsAsLeft() const {
  if (HorizontalJump == 0 && VerticalJump == 0) return true;
  auto* parent = dynamic_cast<TdxBarSubMenuControl*>(ParentBar());
  return parent && parent->RightButtonActsAsLeft();
}

TdxBarItemControl* TdxBarSubMenuControl::OwnerItemControl() const {
  if (OpeningButtonControl) return OpeningButtonControl;
  return OpeningSubItemControl;
}

bool TdxBarSubMenuControl::IsOwnerWindow(HWND Wnd) const {
  TWinControl* owner = OwnerWinControl();
  return owner && owner->HandleAllocated() && owner->WindowHandle() == Wnd;
}

bool TdxBarSubMenuControl::IsInternalPopup() const { return ParentBar() && ParentBar()->IsInternalPopup(); }

void TdxBarSubMenuControl::HandOverSelection() {
  if (TdxBarManager* m = BarManager())
    if (TdxBarItemControl* sel = m->SelectedItemControl(); sel && sel->BarControl() == this)
      m->StoreSelectedItemControl(nullptr);
}

TBitmap* TdxBarSubMenuControl::BackgroundBitmap() const {
  TdxBarManager* m = BarManager();
  return m ? m->Backgrounds()->SubMenu() : nullptr;
}

// The items keep the painter's indent from every side of the client area, and the side strip
// of a sub item's menu on the left. The icon column is part of each item, not a margin.
void TdxBarSubMenuControl::ContentMargins(TRect& R) const {
  TdxBarPainter* p = Painter();
  auto* self = const_cast<TdxBarSubMenuControl*>(this);
  R = p ? p->MenuBorderRect(self) : TRect();
  if (ItemLinks())
    if (auto* owner = dynamic_cast<TCustomdxBarSubItem*>(ItemLinks()->LinksOwner())) R.Left += owner->BarSize();
}

// A nested menu lines its first entry up with the entry that opened it.
int TdxBarSubMenuControl::DropDownShift() const {
  TdxBarPainter* p = Painter();
  return p ? p->MenuFrameTotal(const_cast<TdxBarSubMenuControl*>(this)) : 0;
}

int TdxBarSubMenuControl::GroupIndent() const {
  TdxBarPainter* p = Painter();
  return p ? p->MenuSeparatorSize() : 10;
}

int TdxBarSubMenuControl::IconAreaWidth() const {
  TdxBarPainter* p = Painter();
  return p ? p->MenuIconAreaSize(const_cast<TdxBarSubMenuControl*>(this)) : 0;
}

void TdxBarSubMenuControl::UpdateMetrics() {
  TCustomdxBarControl::UpdateMetrics();
  if (TdxBarPainter* p = Painter()) {
    int arrow = 0, mark = 0;
    p->MenuTextMetrics(CurrentCanvas(), FTextSize, arrow, mark);
    FMenuArrowWidth = arrow;
    FMarkSize = mark;
  }
}

TRect TdxBarSubMenuControl::NonClientBorders(bool WithDetachCaption) const {
  TdxBarPainter* p = Painter();
  const int w = p ? p->MenuFrameWidth() : 1;
  return TRect(w, w, w, w);
}

// ---- sizes and placement

int TdxBarSubMenuControl::GapBeforeLink(int ShownIndex) const {
  const auto& shown = ItemLinks()->ShownLinks();
  TdxBarItemLink* link = shown[size_t(ShownIndex)];
  int gap = 0;
  TdxBarPainter* p = Painter();
  if (p && p->OffsetsRecentGroup() && link->Control() && link->Control()->StartsLessUsedBand) gap += 1;
  if (link->BeginGroup() && ShownIndex != FTopIndex && !(CanScrollUp() && ShownIndex == FTopIndex + 1))
    gap += GroupIndent();
  return gap;
}

TSize TdxBarSubMenuControl::CalcNaturalSize() {
  TSize s(0, 0);
  if (!ItemLinks()) return s;
  const auto& shown = ItemLinks()->ShownLinks();
  for (int i = std::max(FTopIndex, 0); i < int(shown.size()); ++i) {
    TdxBarItemControl* c = shown[size_t(i)]->Control();
    if (!c) continue;
    s.cx = std::max(s.cx, c->Width());
    s.cy += c->Height() + GapBeforeLink(i);
  }
  return s;
}

TSize TdxBarSubMenuControl::CalcSize() {
  TSize s = CalcNaturalSize();
  if (s.cx == 0) s.cx = 100;
  return s;
}

TSize TdxBarSubMenuControl::CalcPlacementSize() {
  MarkNonRecentRuns();
  TSize s = CalcSize();
  if (s.cy <= 2) s.cy += TextSize();
  if (HasMark()) s.cy += MarkSize();
  const TRect b = NonClientBorders(true);
  s.cx += b.Left + b.Right;
  s.cy += b.Top + b.Bottom;
  TRect margins;
  ContentMargins(margins);
  s.cx += margins.Left + margins.Right;
  s.cy += margins.Top + margins.Bottom;
  s.cx = std::max(s.cx, MinWidth);
  return s;
}

void TdxBarSubMenuControl::PlaceInWorkArea(TSize Size, bool& FlippedH, bool& FlippedV) {
  TRect r;
  FlippedH = FlippedV = false;
  if (ParentBar() && ParentBar()->PlaceChildMenu(r)) {
    SetBoundsRect(r);
    return;
  }
  const TRect wa = DesktopWorkAreaAt(TPoint(Left(), Top()));
  TdxBarMenuPlacement p = PlaceMenuInWorkArea(Left(), Top(), Size.cx, Size.cy, wa, HorizontalJump, VerticalJump,
                                               OpensRightwards, OpensDownwards);
  if (ClipsWidthToWorkArea() && p.Bounds.Right > wa.Right) p.Bounds.Right = wa.Right;
  SetBoundsRect(p.Bounds);
  FlippedH = p.FlippedH;
  FlippedV = p.FlippedV;
  static bool secondPass = false;
  if (!secondPass && NeedsSecondPlacement(Size)) {
    secondPass = true;
    bool h = false, v = false;
    PlaceInWorkArea(Size, h, v);
    secondPass = false;
    FlippedH ^= h;
    FlippedV ^= v;
  }
}

// ---- recent items

bool TdxBarSubMenuControl::Collapsed() const {
  return ItemLinks() && ItemLinks()->ShownLinkCount() < ItemLinks()->ShowableLinkCount();
}

bool TdxBarSubMenuControl::HasMark() const {
  TdxBarManager* m = BarManager();
  return m && m->ShowsRecentItemsFirst() && Collapsed();
}

void TdxBarSubMenuControl::MarkRect(TRect& R) const {
  if (!HasMark()) {
    R = TRect();
    return;
  }
  TdxBarPainter* p = Painter();
  const int inset = p && p->OffsetsRecentGroup() ? 2 : 1;
  TRect c = ClientRect();
  TRect margins;
  ContentMargins(margins);
  R = TRect(c.Left + inset + margins.Left, c.Bottom - inset - FMarkSize, c.Right - inset, c.Bottom - inset);
}

void TdxBarSubMenuControl::MarkNonRecentRuns() {
  if (!ItemLinks()) return;
  TdxBarManager* m = BarManager();
  const auto& shown = ItemLinks()->ShownLinks();
  const bool active = m && m->ShowsRecentItemsFirst() && ItemLinks()->UsesRecentItems() && ActiveChainEnteredWhileCustomizing();
  int count = ItemLinks()->CalcRecentItemCount();
  if (count == -1) count = ItemLinks()->ShowableLinkCount();
  bool previous = false;
  for (int i = 0; i < int(shown.size()); ++i) {
    TdxBarItemControl* c = shown[size_t(i)]->Control();
    if (!c) continue;
    const bool lessUsed = active && i >= FTopIndex && shown[size_t(i)]->RecentIndex() >= count;
    c->LessUsed = lessUsed;
    c->StartsLessUsedBand = active && i >= FTopIndex && (i == FTopIndex ? false : lessUsed != previous);
    previous = lessUsed;
  }
}

void TdxBarSubMenuControl::SetMarkState(int State) {
  if (State == 1 && dynamic_cast<TdxBarWinControl*>(SelectedControl()) && SelectedControl()->IsEditing()) State = 0;
  if (State == MarkState()) return;
  TCustomdxBarControl::SetMarkState(State);
  if (State == 2) {
    Expand();
    return;
  }
  TRect r;
  MarkRect(r);
  if (WindowHandle() && !r.IsEmpty()) {
    RECT rr{r.Left, r.Top, r.Right, r.Bottom};
    InvalidateRect(WindowHandle(), &rr, FALSE);
  }
  TdxBarManager* m = BarManager();
  if (m && m->ShowFullMenusAfterDelay) {
    KillDelayTimer();
    if (State == 1 && IsCursorOverMark() && WindowHandle())
      FDelayTimer = SetTimer(WindowHandle(), dxBarSubMenuExpandTimer, dxBarSubMenuHintDelay, nullptr);
  }
}

void TdxBarSubMenuControl::Expand() {
  if (!WindowHandle()) return;
  SetActiveChainEnteredWhileCustomizing(true);
  ThreadAnimation = true;
  FRecreating = true;
  TWeakLink<TdxBarSubMenuControl> self(this);
  DestroyHandle();
  if (!self) return;
  FRecreating = false;
  TCustomdxBarControl::SetMarkState(0);
  SetBounds(FStartingPosition.X, FStartingPosition.Y, Width(), Height());
  ShowWithAnimation();
}

void TdxBarSubMenuControl::KillDelayTimer() {
  if (FDelayTimer && WindowHandle()) KillTimer(WindowHandle(), FDelayTimer);
  FDelayTimer = 0;
}

void TdxBarSubMenuControl::UpdateMarkState(const TPoint& P) {
  if (!HasMark() || MarkState() == 2) return;
  TRect r;
  MarkRect(r);
  SetMarkState(r.Contains(P) ? 1 : 0);
}

// ---- showing

TdxBarMenuAnimations TdxBarSubMenuControl::ResolveAnimation() const {
  TCustomdxBarControl* root = RootToolbarOf(const_cast<TdxBarSubMenuControl*>(this));
  TdxBarManager* m = root ? root->BarManager() : BarManager();
  TdxBarMenuAnimations kind = m ? m->MenuAnimations : maNone;
  if (kind == maRandom) {
    const int r = Random(100);
    kind = r < 33 ? maUnfold : r < 66 ? maSlide : maFade;
  }
  return kind;
}

bool TdxBarSubMenuControl::IsAnimating() const { return FAnimationThread && !FAnimationThread->Suspended(); }

void TdxBarSubMenuControl::StopAnimation(bool Finish) {
  TdxBarAnimationThread* t = FAnimationThread;
  if (!t) return;
  FAnimationThread = nullptr;
  t->OnTerminate = nullptr;
  if (!Finish) t->OnFinishAnimation = nullptr;
  t->Stop(Finish);
}

void TdxBarSubMenuControl::ShowWithAnimation() {
  // The menu may be closed and freed by what runs while it shows (its popup's handler, messages
  // dispatched meanwhile): nothing of it is touched once it is gone.
  TWeakLink<TCustomdxBarControl> self(this);
  if (OnShowNotify) OnShowNotify();
  if (!self) return;
  FAnimationKind = ResolveAnimation();
  TdxBarManager* m = BarManager();
  ThreadAnimation = ThreadAnimation && (FAnimationKind == maUnfold || FAnimationKind == maSlide) && ItemLinks() &&
                    ItemLinks()->ShowableLinkCount() > 0 && !(m && m->IsCustomizingOrDesigning());
  HandleNeeded();
  ShowWindowAnimated();
}

void TdxBarSubMenuControl::ShowWindowAnimated() {
  TWeakLink<TCustomdxBarControl> self(this);
  HWND wnd = Handle();
  if (FAnimationKind == maFade && AnimateWindowEntry() && !IsWin9x()) {
    DispatchPendingPaintMessages();
    if (!self) return;
    SetVisible(true);
    ShowWindow(wnd, SW_HIDE);
    AnimateWindowEntry()(wnd, dxBarSubMenuFadeTime, AW_BLEND);
  } else {
    UINT flags = SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE;
    if (!FAnimationThread) {
      flags |= SWP_SHOWWINDOW;
      SetVisible(true);
    }
    SetWindowPos(wnd, nullptr, 0, 0, 0, 0, flags);
    if (self) DispatchPendingPaintMessages();
  }
  if (!self) return;
  if (FAnimationThread) FAnimationThread->Resume();
  // The shadow follows the window once it is shown.
  BoundsChanged(nullptr);
}

void TdxBarSubMenuControl::CreateParams(TCreateParams& Params) {
  TCustomdxBarControl::CreateParams(Params);
  Params.Style = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
  Params.ExStyle = WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_OWNDC | CS_SAVEBITS;
  HWND parent = OwnerWindow;
  if (!parent)
    if (TdxBarManager* m = BarManager())
      if (TCustomForm* f = m->NearestParentForm(); f && f->HandleAllocated()) parent = f->WindowHandle();
  Params.WndParent = parent;
}

void TdxBarSubMenuControl::CreateWnd() {
  TWeakLink<TdxBarSubMenuControl> self(this);
  TCustomdxBarControl::CreateWnd();
  FStartingPosition = TPoint(Left(), Top());
  if (!IsActive()) SetActiveState(true);
  if (!self) return;
  if (ItemLinks()) {
    TdxBarManager* m = BarManager();
    const bool all = !(m && m->ShowsRecentItemsFirst()) || !ItemLinks()->UsesRecentItems() || ActiveChainEnteredWhileCustomizing();
    ItemLinks()->SetRecentItemCount(all ? -1 : ItemLinks()->CalcRecentItemCount());
  }
  FTopIndex = -1;
  SetTopIndex(0);
  bool flippedH = false, flippedV = false;
  PlaceInWorkArea(CalcPlacementSize(), flippedH, flippedV);
  CalculateViewInfo();
  if (ThreadAnimation) {
    RECT client{};
    GetClientRect(WindowHandle(), &client);
    const int cw = client.right, ch = client.bottom;
    const bool leftwards = (OpensRightwards && flippedH) || (!OpensRightwards && !flippedH);
    const bool upwards = (OpensDownwards && flippedV) || (!OpensDownwards && !flippedV);
    const uint8_t kind = FAnimationKind == maUnfold ? dxBarAnimationUnfold : dxBarAnimationSlide;
    FAnimationThread = new TdxBarAnimationThread(MakeAnimationInfo(
        this, kind, Left(), Top(), cw, ch, Width() - cw, Height() - ch, leftwards, upwards));
    FAnimationThread->OnTerminate = [this](TObject*) { FAnimationThread = nullptr; };
    FAnimationThread->OnFinishAnimation = [self] {
      if (self) self->BoundsChanged(nullptr);
    };
  }
  if (TdxBarManager* m = BarManager(); m && m->ShowsRecentItemsFirst() && !ActiveChainEnteredWhileCustomizing() && m->ShowFullMenusAfterDelay &&
                                        Collapsed())
    FDelayTimer = SetTimer(WindowHandle(), dxBarSubMenuExpandTimer, dxBarSubMenuExpandDelay, nullptr);
}

void TdxBarSubMenuControl::DestroyWnd() {
  if (FDestroyingWnd) return;
  FDestroyingWnd = true;
  StopAnimation(false);
  StopScrolling();
  KillDelayTimer();
  if (Shadow()) Shadow()->ChangeVisibility(false);
  if (auto* child = dynamic_cast<TdxBarSubMenuControl*>(ChildBar())) child->DestroyHandle();
  if (!FRecreating && IsActive()) SetActiveState(false);
  TCustomdxBarControl::DestroyWnd();
  FDestroyingWnd = false;
  if (!FRecreating && OnCloseUpNotify) OnCloseUpNotify(this, FCloseReason ? FCloseReason : CloseUpReason());
}

// While it unfolds, the menu casts no shadow.
bool TdxBarSubMenuControl::ShadowVisible() const { return TCustomdxBarControl::ShadowVisible() && !IsAnimating(); }

void TdxBarSubMenuControl::CloseAndFree() {
  if (IsDestroying()) return;
  SetState(dxbcsDestroyingWindow, true);
  TWeakLink<TdxBarSubMenuControl> self(this);
  DestroyHandle();
  if (!self) return;
  if (ItemLinks() && ItemLinks()->BarControl() == this) {
    ItemLinks()->FreeBarControl();
    return;
  }
  delete this;
}

// ---- layout

void TdxBarSubMenuControl::SetTopIndex(int Value) {
  Value = std::max(Value, 0);
  if (Value == FTopIndex) return;
  FTopIndex = Value;
  if (WindowHandle()) {
    CalculateViewInfo();
    RECT r{ItemsRect().Left, ItemsRect().Top, ItemsRect().Right, ItemsRect().Bottom};
    InvalidateRect(WindowHandle(), &r, FALSE);
  }
}

void TdxBarSubMenuControl::CalcItemsRect() {
  TCustomdxBarControl::CalcItemsRect();
  if (HasMark()) FItemsRect.Bottom -= MarkSizeField();
}

void TdxBarSubMenuControl::CalcLayout() {
  MarkNonRecentRuns();
  CalcItemsRect();
  PlaceItemControls(1, std::max(FTopIndex, 0));
}

TRect TdxBarSubMenuControl::ScrollButtonRect(bool Bottom) const {
  const TRect items = ItemsRect();
  if (!ItemLinks() || ItemLinks()->ShownLinks().empty()) return TRect();
  TdxBarItemControl* c = ItemLinks()->ShownLinks().front()->Control();
  const int h = c ? c->Height() : TextSize();
  return Bottom ? TRect(items.Left, items.Bottom - h, items.Right, items.Bottom)
                : TRect(items.Left, items.Top, items.Right, items.Top + h);
}

void TdxBarSubMenuControl::AdjustVisibleTop() {}
void TdxBarSubMenuControl::AdjustVisibleBottom() {}

bool TdxBarSubMenuControl::CanScrollUp() const { return FTopIndex > 0; }

bool TdxBarSubMenuControl::CanScrollDown() const {
  if (!ItemLinks()) return false;
  const auto& shown = ItemLinks()->ShownLinks();
  int placed = 0;
  TRect last;
  for (int i = std::max(FTopIndex, 0); i < int(shown.size()); ++i) {
    const TRect b = shown[size_t(i)]->ItemRect();
    if (b.Bottom == 0) break;
    ++placed;
    last = b;
  }
  return placed < int(shown.size()) - std::max(FTopIndex, 0) || last.Bottom > ItemsRect().Bottom;
}

TCustomdxBarControlViewInfo* TdxBarSubMenuControl::CreateViewInfo() { return new TdxBarSubMenuControlViewInfo(this); }

void TdxBarSubMenuControlViewInfo::Recalculate() {
  auto* menu = static_cast<TdxBarSubMenuControl*>(BarControl());
  Reset();
  ClearSeparators();
  menu->CalcLayout();
  TdxBarItemLinks* links = menu->ItemLinks();
  if (!links || links->ShownLinks().empty()) return;
  const auto& shown = links->ShownLinks();
  const int top = std::max(menu->TopIndex(), 0);
  int placed = 0;
  for (int i = top; i < int(shown.size()) && shown[size_t(i)]->ItemRect().Bottom != 0; ++i) ++placed;
  const bool up = menu->CanScrollUp(), down = menu->CanScrollDown();
  FFirst = top + (up ? 1 : 0);
  FLast = top + std::max(placed, 1) - 2 + (down ? 0 : 1);
  const TRect visible = menu->VisibleItemsRect();
  TdxBarPainter* painter = menu->Painter();
  for (int i = FFirst; i <= FLast && i < int(shown.size()); ++i) {
    TdxBarItemControl* c = shown[size_t(i)]->Control();
    if (!c || !c->ViewInfo()) continue;
    AddControlViewInfo(c->ViewInfo());
    TRect r = shown[size_t(i)]->ItemRect();
    r.Bottom = std::min(r.Bottom, visible.Bottom);
    c->ViewInfo()->SetBounds(r);
    if (shown[size_t(i)]->BeginGroup() && i != top && !(up && i == top + 1)) {
      TRect s = painter ? painter->MenuSeparatorRect(menu, c, r) : TRect();
      if (s.IsEmpty()) s = TRect(r.Left, r.Top - menu->GroupIndent(), r.Right, r.Top);
      AddSeparator(s, 0, c);
    }
  }
}

// An entry the keys move to in a menu that scrolls is brought into view, as otherwise the keys
// could select entries that cannot be seen.
void TdxBarSubMenuControl::KeySelectItemControl(TdxBarItemControl* Control) {
  TWeakLink<TCustomdxBarControl> self(this);
  TCustomdxBarControl::KeySelectItemControl(Control);
  if (self && Control && SelectedControl() == Control && (CanScrollUp() || CanScrollDown())) MakeItemVisible(Control);
}

void TdxBarSubMenuControl::MakeItemVisible(TdxBarItemControl* Control) {
  if (!Control || !ItemLinks() || !Control->Link()) return;
  const auto& shown = ItemLinks()->ShownLinks();
  const int index = int(std::find(shown.begin(), shown.end(), Control->Link()) - shown.begin());
  if (index >= int(shown.size())) return;
  auto* vi = static_cast<TdxBarSubMenuControlViewInfo*>(ViewInfo());
  for (int guard = 0; guard < int(shown.size()) + 1; ++guard) {
    CalculateViewInfo();
    if (index < vi->FirstVisibleIndex() && FTopIndex > 0) {
      SetTopIndex(FTopIndex - 1);
    } else if (index > vi->LastVisibleIndex() && CanScrollDown()) {
      SetTopIndex(FTopIndex + 1);
    } else {
      break;
    }
  }
}

// ---- scrolling

void TdxBarSubMenuControl::StartScrolling() {
  if (FScrollTimer || !WindowHandle()) return;
  FScrollTimer = true;
  if (TdxBarManager* m = BarManager())
    if (TdxBarItemControl* sel = m->SelectedItemControl(); sel && sel->BarControl() == this)
      m->StoreSelectedItemControl(nullptr);
  if (ChildBar()) ChildBar()->CloseAndFree();
  SetTimer(WindowHandle(), dxBarSubMenuScrollTimer, ScrollInterval(), nullptr);
}

void TdxBarSubMenuControl::StopScrolling() {
  if (!FScrollTimer) return;
  FScrollTimer = false;
  if (WindowHandle()) KillTimer(WindowHandle(), dxBarSubMenuScrollTimer);
}

void TdxBarSubMenuControl::ScrollStep() {
  POINT s{};
  GetCursorPos(&s);
  const TPoint p = ScreenToClient(TPoint(s.x, s.y));
  if (CanScrollUp() && ScrollButtonRect(false).Contains(p)) {
    SetTopIndex(FTopIndex - 1);
  } else if (CanScrollDown() && ScrollButtonRect(true).Contains(p)) {
    SetTopIndex(FTopIndex + 1);
  } else {
    StopScrolling();
    FScrollMousePos = TPoint(-1, -1);
    SendMessage(WindowHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(p.X, p.Y));
    return;
  }
  if (WindowHandle()) InvalidateRect(WindowHandle(), nullptr, FALSE);
}

void TdxBarSubMenuControl::SimulateMouseMove(int X, int Y, bool& Handled) {
  if (WindowHandle()) SendMessage(WindowHandle(), WM_MOUSEMOVE, 0, MAKELPARAM(X, Y));
  Handled = true;
}

// ---- painting

void TdxBarSubMenuControl::Paint() {
  if (IsAnimating() || IsDestroying()) return;
  TcxCanvas* canvas = CurrentCanvas();
  TdxBarPainter* p = Painter();
  if (!canvas) return;
  SelectClipRgn(canvas->CurrentDC(), nullptr);
  const TRect client = ClientRect();
  if (p) p->FillMenuBackground(this, canvas, clNone, BackgroundBrush(), client);
  DrawContent();
}

HBRUSH TdxBarSubMenuControl::BackgroundBrush() const {
  HBRUSH brush = FaceBrush();
  if (TdxBarPainter* p = Painter()) p->MenuBackgroundBrush(const_cast<TdxBarSubMenuControl*>(this), brush);
  return brush;
}

void TdxBarSubMenuControl::DrawBackground(HDC DC, const TRect& R, bool InClient, TColor Color, HBRUSH Brush) {
  TcxCanvas* canvas = CurrentCanvas();
  TdxBarPainter* p = Painter();
  if (p && canvas && InClient && canvas->CurrentDC() == DC) {
    p->FillMenuBackground(this, canvas, Color, Brush, R);
    return;
  }
  TCustomdxBarControl::DrawBackground(DC, R, InClient, Color, Brush);
}

void TdxBarSubMenuControl::FillItemsBackground(const TRect& R) {
  if (TdxBarPainter* p = Painter()) p->FillMenuBackground(this, CurrentCanvas(), clNone, BackgroundBrush(), R);
}

void TdxBarSubMenuControl::DrawContent() {
  CalculateViewInfo();
  TcxCanvas* canvas = CurrentCanvas();
  TdxBarPainter* p = Painter();
  if (!canvas) return;
  if (!ItemLinks() || ItemLinks()->ShownLinks().empty()) {
    FillItemsBackground(ItemsRect());
    return;
  }
  if (p) {
    if (CanScrollUp()) p->DrawScrollButton(this, canvas, false);
    if (CanScrollDown()) p->DrawScrollButton(this, canvas, true);
    if (HasMark()) {
      TRect r;
      MarkRect(r);
      p->DrawExpandButton(this, r, MarkState() == 1);
    }
    for (int i = 0; i < ViewInfo()->SeparatorCount(); ++i) {
      TRect r;
      uint8_t kind = 0;
      ViewInfo()->GetSeparator(i, r, kind);
      // Drawn for the item below it, whose background (the menu's own, band included) it shares.
      p->DrawMenuSeparator(this, ViewInfo()->SeparatorControl(i), r, canvas);
    }
  }
  DrawItemControls();
  // What the item controls left is the background.
  FillItemsBackground(ItemsRect());
}

void TdxBarSubMenuControl::DrawNonClient(HDC DC) {
  TdxBarPainter* p = Painter();
  if (!p || !DC) return;
  RECT w{};
  GetWindowRect(WindowHandle(), &w);
  const TRect r(0, 0, w.right - w.left, w.bottom - w.top);
  p->DrawMenuFrame(this, DC, BackgroundBrush(), r);
  p->DrawMenuBorder(this, DC, r);
}

// ---- keyboard

void TdxBarSubMenuControl::EscapeChain() {
  FCloseReason = dxbcrKey;
  TCustomdxBarControl* parent = ParentBar();
  if (parent && parent->SelectedControl()) {
    // Only this level closes: the parent's item lets its menu go and stays selected.
    TWeakLink<TCustomdxBarControl> keep(parent);
    parent->SelectedControl()->LeaveActiveState(true);
    if (keep) keep->SetDowned(false);
    return;
  }
  CloseUp(dxbcrKey);
}

void TdxBarSubMenuControl::DoCloseUp(int Reason) {
  if (!FCloseReason) FCloseReason = Reason;
  TWeakLink<TdxBarSubMenuControl> self(this);
  TCustomdxBarControl::DoCloseUp(Reason);
  if (self && !ParentBar()) CloseChain(Reason == dxbcrKey);
}

void TdxBarSubMenuControl::CloseChain(bool ByKey) {
  KeySelectItemControl(nullptr);
  CloseAndFree();
  DispatchPendingPaintMessages();
}

void TdxBarSubMenuControl::HandleKeyDown(TMessage& Message) {
  StopAnimation(true);
  WORD key = WORD(Message.WParam);
  const TShiftState shift = GetShiftState();
  TWeakLink<TdxBarSubMenuControl> self(this);
  if (HasMark()) {
    const bool ctrlDown = key == VK_DOWN && shift == TShiftState{ssCtrl};
    const bool pastLast = (key == VK_DOWN || key == VK_TAB) && shift.Empty() && SelectedControl() &&
                          SelectedControl()->Link() == ItemLinks()->ShownLinks().back();
    if (ctrlDown || pastLast) {
      SetMarkState(2);
      if (self && pastLast) PostMessage(WindowHandle(), WM_KEYDOWN, key, 0);
      return;
    }
  }
  switch (key) {
    case VK_ESCAPE:
      EscapeChain();
      return;
    case VK_LEFT:
    case VK_RIGHT: {
      if (TdxBarItemControl* sel = SelectedControl(); sel && sel->IsEnabled() && sel->WantsKey(key)) {
        sel->KeyDown(key, shift);
        return;
      }
      TCustomdxBarControl* parent = ParentBar();
      TCustomdxBarControl* root = RootToolbarOf(this);
      if (key == VK_LEFT) {
        if (!parent || !parent->SelectedControl()) return;
        if (parent->BarControlKind() == 2) {
          EscapeChain();
        } else if (root && root->IsVerticalBar()) {
          EscapeChain();
        } else {
          parent->Perform(WM_KEYDOWN, VK_LEFT, 0);
        }
      } else if (root && root->HandleAllocated()) {
        if (root->IsVerticalBar()) return;
        root->Perform(WM_KEYDOWN, VK_RIGHT, 0);
      }
      return;
    }
    default:
      TCustomdxBarControl::HandleKeyDown(Message);
  }
}

// ---- mouse and messages

void TdxBarSubMenuControl::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft && FScrollTimer) return;
  TWeakLink<TdxBarSubMenuControl> self(this);
  TCustomdxBarControl::MouseDown(Button, Shift, X, Y);
  if (!self || Button != mbLeft) return;
  StopAnimation(true);
  TRect mark;
  MarkRect(mark);
  if (HasMark() && mark.Contains(TPoint(X, Y))) {
    if (MarkState() == 1) {
      SetMarkState(2);
    } else {
      if (ChildBar()) ChildBar()->CloseAndFree();
      SetMarkState(1);
    }
  }
}

void TdxBarSubMenuControl::MouseMove(TShiftState Shift, int X, int Y) {
  TWeakLink<TdxBarSubMenuControl> self(this);
  const TPoint p(X, Y);
  const bool moved = p != FScrollMousePos;
  FScrollMousePos = p;
  if ((CanScrollUp() && ScrollButtonRect(false).Contains(p)) || (CanScrollDown() && ScrollButtonRect(true).Contains(p))) {
    if (moved) StartScrolling();
    return;
  }
  if (FScrollTimer) {
    StopScrolling();
    InvalidateRect(WindowHandle(), nullptr, FALSE);
  }
  TCustomdxBarControl::MouseMove(Shift, X, Y);
  if (!self) return;
  if (TdxBarItemControl* owner = OwnerItemControl(); owner && ParentBar() && ParentBar()->SelectedControl() != owner &&
                                                       ParentBar()->HasItemControl(owner))
    ParentBar()->SetHotItemControl(owner);
  UpdateMarkState(p);
}

void TdxBarSubMenuControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_GETDLGCODE:
      Message.Result = 7;
      return;
    case WM_NCCALCSIZE: {
      auto* r = reinterpret_cast<RECT*>(Message.LParam);
      const TRect b = NonClientBorders(true);
      r->left += b.Left;
      r->top += b.Top;
      r->right -= b.Right;
      r->bottom -= b.Bottom;
      Message.Result = 0;
      return;
    }
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
      TCustomdxBarControl::Dispatch(Message);
      if (RightButtonActsAsLeft() && WindowHandle())
        SendMessage(WindowHandle(), Message.Msg == WM_RBUTTONDOWN ? WM_LBUTTONDOWN : WM_LBUTTONUP, MK_LBUTTON,
                    Message.LParam);
      return;
    case WM_TIMER:
      if (Message.WParam == dxBarSubMenuScrollTimer) {
        ScrollStep();
      } else if (Message.WParam == dxBarSubMenuExpandTimer || Message.WParam == dxBarSubMenuMarkSelectTimer) {
        const bool expand = Message.WParam == dxBarSubMenuExpandTimer;
        KillTimer(WindowHandle(), Message.WParam);
        FDelayTimer = 0;
        if (expand) SetMarkState(2);
        else if (!ChildBar()) SetMarkState(1);
      }
      return;
    default:
      TCustomdxBarControl::Dispatch(Message);
  }
}
