#include "suite/navbar/dxNavBarAccessibility.h"

#include <algorithm>
#include <cassert>
#include <climits>
#include <cstdlib>

#include "suite/navbar/dxNavBarPainters.h"
#include "suite/navbar/dxNavBarViewInfo.h"

void dxNavBarReleaseAccessibilityHelper(TcxAccessibilityHelper*& Helper) {
  if (!Helper) return;
  TcxAccessibilityHelper* h = Helper;
  Helper = nullptr;
  h->MarkOwnerDestroyed();
  h->Release();
}

namespace {

template <class T, class O>
TdxNavBarCustomAccessibilityHelper* Lazy(TcxAccessibilityHelper*& Slot, O* Owner, TdxCustomNavBar* NavBar) {
  if (!Slot) Slot = new T(Owner, NavBar);
  return static_cast<TdxNavBarCustomAccessibilityHelper*>(Slot);
}

TRect Intersect(const TRect& A, const TRect& B) {
  TRect r;
  if (!IntersectRect(r, A, B)) return TRect(0, 0, 0, 0);
  return r;
}

bool Contains(const TRect& Outer, const TRect& Inner) {
  return Inner.Left >= Outer.Left && Inner.Top >= Outer.Top && Inner.Right <= Outer.Right &&
         Inner.Bottom <= Outer.Bottom;
}

}  // namespace

TdxNavBarCustomAccessibilityHelper* dxNavBarAccessibilityOf(TdxCustomNavBar* ANavBar) {
  TcxAccessibilityHelper*& slot = ANavBar->AccessibilitySlot();
  if (!slot) {
    assert(!ANavBar->IsDestroying());
    slot = new TdxNavBarAccessibilityHelper(ANavBar);
  }
  return static_cast<TdxNavBarCustomAccessibilityHelper*>(slot);
}

TdxNavBarCustomAccessibilityHelper* dxNavBarGroupAccessibilityOf(TdxNavBarGroup* AGroup) {
  return Lazy<TdxNavBarGroupAccessibilityHelper>(AGroup->AccessibilitySlot(0), AGroup, AGroup->NavBar());
}

TdxNavBarCustomAccessibilityHelper* dxNavBarCaptionPanelAccessibilityOf(TdxNavBarGroup* AGroup) {
  return Lazy<TdxNavBarGroupCaptionPanelAccessibilityHelper>(AGroup->AccessibilitySlot(1), AGroup, AGroup->NavBar());
}

TdxNavBarCustomAccessibilityHelper* dxNavBarLinkContainerAccessibilityOf(TdxNavBarGroup* AGroup) {
  return Lazy<TdxNavBarItemLinkContainerAccessibilityHelper>(AGroup->AccessibilitySlot(2), AGroup,
                                                             AGroup->NavBar());
}

TdxNavBarCustomAccessibilityHelper* dxNavBarLinkAccessibilityOf(TdxNavBarItemLink* ALink) {
  TdxNavBarGroup* g = ALink->Group();
  return Lazy<TdxNavBarItemLinkAccessibilityHelper>(ALink->AccessibilitySlot(), ALink, g ? g->NavBar() : nullptr);
}

// ---- base

TdxNavBarCustomAccessibilityHelper::TdxNavBarCustomAccessibilityHelper(TObject* AOwnerObject,
                                                                       TdxCustomNavBar* ANavBar)
    : TcxAccessibilityHelper(AOwnerObject), FNavBar(ANavBar), FNavBarLink(ANavBar) {
  assert(ANavBar);
}

void TdxNavBarCustomAccessibilityHelper::MarkOwnerDestroyed() {
  TcxAccessibilityHelper::MarkOwnerDestroyed();
  if (TdxCustomNavBar* bar = FNavBarLink.get()) bar->AccessibleObjectDestroyed(this);
}

TcxAccessibilityHelper* TdxNavBarCustomAccessibilityHelper::ChildAt(int Index) {
  if (Index < 0) return nullptr;
  if (Index < int(FAttached.size())) return FAttached[size_t(Index)];
  return OwnChildAt(Index - int(FAttached.size()));
}

int TdxNavBarCustomAccessibilityHelper::ChildCount() { return int(FAttached.size()) + OwnChildCount(); }

HWND TdxNavBarCustomAccessibilityHelper::OwnerWindow() {
  return FNavBar && FNavBar->HandleAllocated() ? FNavBar->Handle() : nullptr;
}

int TdxNavBarCustomAccessibilityHelper::StateOf(int) {
  int state = 0;
  if (!FNavBar || !FNavBar->HandleAllocated() || !IsWindowVisible(FNavBar->Handle())) state |= STATE_SYSTEM_INVISIBLE;
  if (FNavBar && !FNavBar->Enabled()) state |= STATE_SYSTEM_UNAVAILABLE;
  return state;
}

TRect TdxNavBarCustomAccessibilityHelper::ScreenBoundsOf(int) {
  if (!IsOwnerObjectLive() || !IsShown()) return TRect(0, 0, 0, 0);
  TPoint origin = FNavBar->ClientToScreen(TPoint(0, 0));
  return GetBounds().Offset(origin.X, origin.Y);
}

void TdxNavBarCustomAccessibilityHelper::AddAttachedChild(TcxAccessibilityHelper* Child) {
  assert(IsContainer() && Child);
  if (!IsContainer() || !Child) return;
  FAttached.push_back(Child);
}

void TdxNavBarCustomAccessibilityHelper::RemoveAttachedChild(TcxAccessibilityHelper* Child) {
  assert(IsContainer() && Child);
  if (!IsContainer() || !Child) return;
  FAttached.erase(std::remove(FAttached.begin(), FAttached.end(), Child), FAttached.end());
}

TdxNavBarCustomAccessibilityHelper* TdxNavBarCustomAccessibilityHelper::Parent() {
  return dynamic_cast<TdxNavBarCustomAccessibilityHelper*>(QueryParent());
}

bool TdxNavBarCustomAccessibilityHelper::IsAncestorOf(TdxNavBarCustomAccessibilityHelper* Object) {
  for (TdxNavBarCustomAccessibilityHelper* p = Object ? Object->Parent() : nullptr; p; p = p->Parent())
    if (p == this) return true;
  return false;
}

TdxNavBarViewInfo* TdxNavBarCustomAccessibilityHelper::Layout() {
  if (!FNavBar || !FNavBar->HasPainter()) return nullptr;
  return FNavBar->ViewInfo();
}

bool TdxNavBarCustomAccessibilityHelper::CanTakeFocus(bool Deep) {
  if (!IsOwnerObjectLive() || !FNavBar || FNavBar->IsDestroying()) return false;
  if (StateOf(CHILDID_SELF) & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE)) return false;
  if (!IsContainer()) return !Deep || IsFocusable();
  for (int i = 0; i < ChildCount(); ++i)
    if (auto* c = dynamic_cast<TdxNavBarCustomAccessibilityHelper*>(ChildAt(i)); c && c->CanTakeFocus(Deep))
      return true;
  return false;
}

void TdxNavBarCustomAccessibilityHelper::FocusStateChanged(bool AMakeVisible) {
  FNavBar->InvalidateAll(nbctRecalculate);
  if (!HasFocus()) {
    SetPressed(false);
    return;
  }
  if (!AMakeVisible) return;
  TRect window = FNavBar->BoundsRect();
  TPoint origin = FNavBar->ClientToScreen(TPoint(0, 0));
  window = TRect(origin.X, origin.Y, origin.X + window.Width(), origin.Y + window.Height());
  TdxNavBarCustomAccessibilityHelper* parent = Parent();
  TRect area = parent ? Intersect(window, parent->ScreenBoundsOf(CHILDID_SELF)) : window;
  if (!Contains(area, ScreenBoundsOf(CHILDID_SELF))) MakeVisible();
}

void TdxNavBarCustomAccessibilityHelper::SetPressed(bool Value) {
  if (FPressed == Value) return;
  FPressed = Value;
  FNavBar->Invalidate();
}

void TdxNavBarCustomAccessibilityHelper::HandleKeyDown(WORD Key) { SetPressed(IsActivationKey(Key)); }

void TdxNavBarCustomAccessibilityHelper::HandleKeyUp(WORD Key) {
  SetPressed(false);
  if (IsActivationKey(Key)) Activate(Key);
}

void TdxNavBarCustomAccessibilityHelper::ReleaseFocus() { FNavBar->SetFocusedAccessibleObject(nullptr); }

bool TdxNavBarCustomAccessibilityHelper::HasFocus() {
  if (!FNavBar || !FNavBar->Focused()) return false;
  TdxNavBarCustomAccessibilityHelper* f = FNavBar->FocusedAccessibleObject();
  return f && (f->NavHelperObject() == this || f->AssociatedObject() == this);
}

TdxNavBarCustomAccessibilityHelper* TdxNavBarCustomAccessibilityHelper::NextNavigationObject(int Direction) {
  bool root = Parent() == nullptr && Kind() == TdxNavBarAccessibleKind::Bar;
  bool valid = root ? (Direction == dxNavBarNavFirst || Direction == dxNavBarNavDown)
                    : (!IsContainer() && Parent() && Direction >= dxNavBarNavLeft && Direction <= dxNavBarNavDown);
  assert(valid);
  if (!valid) return nullptr;
  FNavBar->Painter()->CheckViewInfo();
  return FindNextObject(Direction);
}

namespace {

// One candidate of a navigation search: an object and how far it is moved down to unroll the
// scrolled link lists above it.
struct TNavItem {
  TdxNavBarCustomAccessibilityHelper* Object;
  int Offset;
  TRect Bounds() const { return Object->ScreenBoundsOf(CHILDID_SELF).Offset(0, Offset); }
};

int Distance(int Direction, const TRect& R, const TRect& B) {
  long long d = 0;
  switch (Direction) {
    case dxNavBarNavLeft: d = (long long)R.Left - B.Right; break;
    case dxNavBarNavRight: d = (long long)B.Left - R.Right; break;
    case dxNavBarNavUp: d = (long long)R.Top - B.Bottom; break;
    default: d = (long long)B.Top - R.Bottom; break;
  }
  return d < 0 || d > INT_MAX ? INT_MAX : int(d);
}

class TNavigationSearch {
 public:
  TNavigationSearch(TdxNavBarCustomAccessibilityHelper* Current, TRect R) : FCurrent(Current), FR(R) {}

  // Replaces the container at Index by its children that may be reached.
  void Expand(size_t Index) {
    TNavItem c = FList[Index];
    FList.erase(FList.begin() + long(Index));
    TRect cb = c.Object->ScreenBoundsOf(CHILDID_SELF);
    int childrenOffset = c.Offset;
    int extra = 0, top = 0;
    bool ancestor = FCurrent && c.Object->IsAncestorOf(FCurrent);
    if (FCurrent && c.Object->GetScrollExtent(extra, top)) {
      int line = cb.Bottom + c.Offset;
      for (TNavItem& item : FList)
        if (item.Object->ScreenBoundsOf(CHILDID_SELF).Top + item.Offset >= line) item.Offset += extra;
      if (!ancestor && FR.Top >= line) FR = FR.Offset(0, extra);
      childrenOffset = cb.Top + c.Offset - top;
    }
    std::vector<TNavItem> children;
    for (int i = 0; i < c.Object->ChildCount(); ++i) {
      auto* child = dynamic_cast<TdxNavBarCustomAccessibilityHelper*>(c.Object->ChildAt(i));
      if (!child || !child->CanTakeFocus(FCurrent == nullptr)) continue;
      if (!FCurrent) {
        int t = child->ScreenBoundsOf(CHILDID_SELF).Top;
        if (t < cb.Top || t >= cb.Bottom) continue;
      }
      children.push_back({child, childrenOffset});
    }
    FList.insert(FList.begin() + long(Index), children.begin(), children.end());
    if (ancestor) FR = FR.Offset(0, childrenOffset - c.Offset);
  }

  TdxNavBarCustomAccessibilityHelper* Run(TdxNavBarCustomAccessibilityHelper* Root, int Direction) {
    FList = {{Root, 0}};
    if (FCurrent) {
      size_t i = 0;
      while (i < FList.size()) {
        TdxNavBarCustomAccessibilityHelper* o = FList[i].Object;
        if (o == FCurrent) {
          FList.erase(FList.begin() + long(i));
          break;
        }
        if (o->IsContainer() && o->IsAncestorOf(FCurrent))
          Expand(i);
        else
          ++i;
      }
    }
    for (;;) {
      int best = INT_MAX - 1;
      std::vector<TNavItem> nearest;
      for (const TNavItem& item : FList) {
        int d = Distance(Direction, FR, item.Bounds());
        if (d < best) {
          best = d;
          nearest.clear();
        }
        if (d == best) nearest.push_back(item);
      }
      if (nearest.empty()) return nullptr;
      TNavItem winner = nearest.front();
      if (nearest.size() > 1) {
        bool vertical = Direction == dxNavBarNavUp || Direction == dxNavBarNavDown;
        bool found = false;
        if (best == 0)
          for (const TNavItem& item : nearest) {
            TRect b = item.Bounds();
            if (vertical ? (b.Left == FR.Left && b.Right == FR.Right) : (b.Top == FR.Top && b.Bottom == FR.Bottom)) {
              winner = item;
              found = true;
              break;
            }
          }
        if (!found) {
          int least = INT_MAX;
          for (const TNavItem& item : nearest) {
            TRect b = item.Bounds();
            int diff = vertical ? std::abs(b.Left - FR.Left) : std::abs(b.Top - FR.Top);
            if (diff < least) {
              least = diff;
              winner = item;
            }
          }
        }
      }
      if (!winner.Object->IsContainer()) return winner.Object;
      FList = {winner};
      Expand(0);
    }
  }

 private:
  TdxNavBarCustomAccessibilityHelper* FCurrent;
  TRect FR;
  std::vector<TNavItem> FList;
};

}  // namespace

TdxNavBarCustomAccessibilityHelper* TdxNavBarCustomAccessibilityHelper::FindNextObject(int Direction) {
  TRect r = ScreenBoundsOf(CHILDID_SELF);
  TdxNavBarCustomAccessibilityHelper* root = this;
  while (TdxNavBarCustomAccessibilityHelper* p = root->Parent()) root = p;
  if (!Parent()) r = r.Offset(0, -r.Height());
  // The root searches from above itself, never from itself (it would only find itself gone).
  TdxNavBarCustomAccessibilityHelper* current =
      Parent() && Direction >= dxNavBarNavLeft && Direction <= dxNavBarNavDown ? this : nullptr;
  if (Direction == dxNavBarNavFirst) Direction = dxNavBarNavDown;
  return TNavigationSearch(current, r).Run(root, Direction);
}

TdxNavBarCustomAccessibilityHelper* dxNavBarAccessibleObjectAtPos(TdxNavBarCustomAccessibilityHelper* Root,
                                                                  TPoint ScreenPoint) {
  assert(Root && !Root->Parent());
  if (!Root || !Root->ScreenBoundsOf(CHILDID_SELF).Contains(ScreenPoint)) return nullptr;
  TdxNavBarCustomAccessibilityHelper* o = Root;
  for (;;) {
    if (!o->CanTakeFocus(false)) return nullptr;
    if (!o->IsContainer()) return o;
    TdxNavBarCustomAccessibilityHelper* next = nullptr;
    for (int i = 0; i < o->ChildCount() && !next; ++i) {
      auto* c = dynamic_cast<TdxNavBarCustomAccessibilityHelper*>(o->ChildAt(i));
      if (c && c->IsShown() && c->ScreenBoundsOf(CHILDID_SELF).Contains(ScreenPoint)) next = c;
    }
    if (!next) return nullptr;
    o = next;
  }
}

// ---- the bar

TRect TdxNavBarAccessibilityHelper::GetBounds() { return TRect(0, 0, NavBar()->Width(), NavBar()->Height()); }

int TdxNavBarAccessibilityHelper::OwnChildCount() { return NavBar()->Groups()->Count(); }

TcxAccessibilityHelper* TdxNavBarAccessibilityHelper::OwnChildAt(int Index) {
  if (Index < 0 || Index >= OwnChildCount()) return nullptr;
  return dxNavBarGroupAccessibilityOf(NavBar()->Groups()->Items(Index));
}

// ---- a group

TcxAccessibilityHelper* TdxNavBarGroupAccessibilityHelper::QueryParent() { return dxNavBarAccessibilityOf(NavBar()); }

int TdxNavBarGroupAccessibilityHelper::StateOf(int ChildID) {
  int state = Parent()->StateOf(ChildID);
  TdxNavBarViewInfo* vi = Layout();
  if (!FGroup->Visible() || !vi || !vi->FindGroupViewInfo(FGroup)) state |= STATE_SYSTEM_INVISIBLE;
  return state;
}

TRect TdxNavBarGroupAccessibilityHelper::GetBounds() {
  TdxNavBarViewInfo* vi = Layout();
  TdxNavBarGroupViewInfo* g = vi ? vi->FindGroupViewInfo(FGroup) : nullptr;
  return g ? g->Rect : TRect(0, 0, 0, 0);
}

TcxAccessibilityHelper* TdxNavBarGroupAccessibilityHelper::OwnChildAt(int Index) {
  if (Index == 0) return dxNavBarCaptionPanelAccessibilityOf(FGroup);
  if (Index == 1) return dxNavBarLinkContainerAccessibilityOf(FGroup);
  return nullptr;
}

// ---- a group's caption panel

TcxAccessibilityHelper* TdxNavBarGroupCaptionPanelAccessibilityHelper::QueryParent() {
  return dxNavBarGroupAccessibilityOf(FGroup);
}

int TdxNavBarGroupCaptionPanelAccessibilityHelper::StateOf(int ChildID) {
  int state = Parent()->StateOf(ChildID);
  if (state & STATE_SYSTEM_INVISIBLE) return state;
  TdxNavBarViewInfo* vi = Layout();
  TdxNavBarGroupViewInfo* g = vi ? vi->FindGroupViewInfo(FGroup) : nullptr;
  if (!g || !g->IsCaptionVisible()) state |= STATE_SYSTEM_INVISIBLE;
  return state;
}

TRect TdxNavBarGroupCaptionPanelAccessibilityHelper::GetBounds() {
  TdxNavBarViewInfo* vi = Layout();
  TdxNavBarGroupViewInfo* g = vi ? vi->FindGroupViewInfo(FGroup) : nullptr;
  return g ? g->CaptionRect : TRect(0, 0, 0, 0);
}

bool TdxNavBarGroupCaptionPanelAccessibilityHelper::IsActivationKey(WORD Key) {
  TdxNavBarViewInfo* vi = Layout();
  if (vi && vi->HasActiveGroup()) return Key == VK_RETURN || Key == VK_SPACE;
  return FGroup->Expandable() && (Key == VK_SPACE || Key == VK_ADD || Key == VK_SUBTRACT);
}

void TdxNavBarGroupCaptionPanelAccessibilityHelper::Activate(WORD Key) {
  TdxNavBarViewInfo* vi = Layout();
  if (vi && vi->HasActiveGroup()) {
    NavBar()->DoGroupMouseUp(FGroup);
    return;
  }
  if (Key == VK_ADD)
    FGroup->SetExpanded(true);
  else if (Key == VK_SUBTRACT)
    FGroup->SetExpanded(false);
  else
    FGroup->SetExpanded(!FGroup->Expanded());
}

void TdxNavBarGroupCaptionPanelAccessibilityHelper::MakeVisible() {
  if (TdxNavBarViewInfo* vi = Layout()) vi->MakeGroupVisible(FGroup, false, false);
}

// ---- a group's link container

TcxAccessibilityHelper* TdxNavBarItemLinkContainerAccessibilityHelper::QueryParent() {
  return dxNavBarGroupAccessibilityOf(FGroup);
}

int TdxNavBarItemLinkContainerAccessibilityHelper::StateOf(int ChildID) {
  int state = Parent()->StateOf(ChildID);
  TdxNavBarViewInfo* vi = Layout();
  TdxNavBarGroupViewInfo* g = vi ? vi->FindGroupViewInfo(FGroup) : nullptr;
  if (!g || !g->IsLinksVisible() || (FGroup->UseControl() && FGroup->ShowControl())) state |= STATE_SYSTEM_INVISIBLE;
  return state;
}

TRect TdxNavBarItemLinkContainerAccessibilityHelper::GetBounds() {
  TdxNavBarViewInfo* vi = Layout();
  TdxNavBarGroupViewInfo* g = vi ? vi->FindGroupViewInfo(FGroup) : nullptr;
  return g ? g->ItemsRect : TRect(0, 0, 0, 0);
}

bool TdxNavBarItemLinkContainerAccessibilityHelper::GetScrollExtent(int& Extra, int& Top) {
  TdxNavBarViewInfo* vi = Layout();
  TdxNavBarGroupViewInfo* g = vi ? vi->FindGroupViewInfo(FGroup) : nullptr;
  if (!g || g->LinkCount() == 0 || (vi->TopScrollButtonRect.IsEmpty() && vi->BottomScrollButtonRect.IsEmpty()) ||
      vi->ActiveGroupViewInfo() != g)
    return false;
  Extra = g->LinkAt(g->LinkCount() - 1)->Rect.Bottom - g->LinkAt(0)->Rect.Top - g->ItemsRect.Height();
  Top = NavBar()->ClientToScreen(TPoint(0, g->LinkAt(0)->Rect.Top)).Y;
  return true;
}

int TdxNavBarItemLinkContainerAccessibilityHelper::OwnChildCount() { return FGroup->LinkCount(); }

TcxAccessibilityHelper* TdxNavBarItemLinkContainerAccessibilityHelper::OwnChildAt(int Index) {
  if (Index < 0 || Index >= FGroup->LinkCount()) return nullptr;
  return dxNavBarLinkAccessibilityOf(FGroup->LinkAt(Index));
}

// ---- a link

TcxAccessibilityHelper* TdxNavBarItemLinkAccessibilityHelper::QueryParent() {
  TdxNavBarGroup* g = FLink->Group();
  return g ? dxNavBarLinkContainerAccessibilityOf(g) : nullptr;
}

int TdxNavBarItemLinkAccessibilityHelper::StateOf(int ChildID) {
  TdxNavBarCustomAccessibilityHelper* parent = Parent();
  int state = parent ? parent->StateOf(ChildID) : STATE_SYSTEM_INVISIBLE;
  TdxNavBarItem* item = FLink->Item();
  if (!item || !item->Enabled()) state |= STATE_SYSTEM_UNAVAILABLE;
  if (item && !item->Visible()) state |= STATE_SYSTEM_INVISIBLE;
  if (!(state & STATE_SYSTEM_INVISIBLE)) {
    TdxNavBarViewInfo* vi = Layout();
    if (!vi || !vi->FindLinkViewInfo(FLink)) state |= STATE_SYSTEM_INVISIBLE;
  }
  return state;
}

TRect TdxNavBarItemLinkAccessibilityHelper::GetBounds() {
  TdxNavBarViewInfo* vi = Layout();
  TdxNavBarLinkViewInfo* l = vi ? vi->FindLinkViewInfo(FLink) : nullptr;
  if (!l) return TRect(0, 0, 0, 0);
  TRect r = l->Rect;
  auto sticksOut = [&](const TRect& part) { return !part.IsEmpty() && !Contains(r, part); };
  if (sticksOut(l->ImageRect) || sticksOut(l->CaptionRect)) {
    const TRect &a = l->ImageRect, &b = l->CaptionRect;
    if (a.IsEmpty())
      r = b;
    else if (b.IsEmpty())
      r = a;
    else
      r = TRect(std::min(a.Left, b.Left), std::min(a.Top, b.Top), std::max(a.Right, b.Right),
                std::max(a.Bottom, b.Bottom));
  }
  return r;
}

void TdxNavBarItemLinkAccessibilityHelper::Activate(WORD) { NavBar()->DoLinkMouseUp(FLink); }

void TdxNavBarItemLinkAccessibilityHelper::ReleaseFocus() {
  TdxNavBarGroup* g = FLink->Group();
  TdxNavBarCustomAccessibilityHelper* caption = g ? dxNavBarCaptionPanelAccessibilityOf(g) : nullptr;
  NavBar()->SetFocusedAccessibleObject(caption && caption->CanTakeFocus(true) ? caption : nullptr);
}

void TdxNavBarItemLinkAccessibilityHelper::MakeVisible() {
  if (TdxNavBarViewInfo* vi = Layout()) vi->MakeLinkVisible(FLink, false);
}
