#include "suite/bars/dxBarAccessibility.h"

#include <cmath>

#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarItemControls.h"
#include "suite/bars/dxBarNavigation.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/core/cxControls.h"
#include "suite/core/dxCore.h"

namespace {

TdxBarAccessibilityHelper* HelperOfItemControl(TdxBarItemControl* Control) {
  return Control ? QueryAccessibilityHelper(Control->AcquireAccessibilityHelper()) : nullptr;
}

TdxBarAccessibilityHelper* HelperOfBarControl(TCustomdxBarControl* Control) {
  return Control ? QueryAccessibilityHelper(Control->AcquireAccessibilityHelper()) : nullptr;
}

TdxBarAccessibilityHelper* HelperOfLink(TdxBarItemLink* Link) {
  return Link ? HelperOfItemControl(Link->Control()) : nullptr;
}

TRect WindowBounds(HWND Wnd) {
  RECT r{};
  if (!Wnd || !GetWindowRect(Wnd, &r)) return TRect();
  return TRect(r.left, r.top, r.right, r.bottom);
}

int WindowState(HWND Wnd) { return Wnd && IsWindowVisible(Wnd) ? 0 : STATE_SYSTEM_INVISIBLE; }

bool PassesDirectionFilter(const TRect& R, int Direction, const TRect& B) {
  switch (Direction) {
    case dxBarNavUp:
    case dxBarNavDown:
      if (!(B.Left < R.Right && R.Left < B.Right)) return false;
      return Direction == dxBarNavUp ? R.Bottom <= B.Top : R.Top >= B.Bottom;
    case dxBarNavLeft:
    case dxBarNavRight:
      return B.Top < R.Bottom && R.Top < B.Bottom && !(R.Left == B.Left && R.Right == B.Right);
    default:
      return false;
  }
}

// The bar window's links: a bar, a sub item or a popup menu.
TdxBar* BarOfLinks(TdxBarItemLinks* Links) { return Links ? dynamic_cast<TdxBar*>(Links->LinksOwner()) : nullptr; }

}  // namespace

// ---- free routines

TdxBarAccessibilityHelper* QueryAccessibilityHelper(TcxAccessibilityHelper* Helper) {
  return dynamic_cast<TdxBarAccessibilityHelper*>(Helper);
}

void DetachAccessibilityHelper(TcxAccessibilityHelper*& Helper) {
  if (!Helper) return;
  TcxAccessibilityHelper* h = Helper;
  Helper = nullptr;
  h->OwnerObjectDestroyed();
  h->Release();
}

TdxBarAccessibilityHelper* FindNearestObjectInDirection(const TRect& Bounds,
                                                        const std::vector<TdxBarAccessibilityHelper*>& List,
                                                        int Direction, bool Wrap) {
  if (Direction < dxBarNavLeft || Direction > dxBarNavDown) return nullptr;
  auto search = [&](const TRect& B) -> TdxBarAccessibilityHelper* {
    const double wanted[] = {180, 270, 0, 90};
    double cx = (double(B.Left) + B.Right) / 2, cy = (double(B.Top) + B.Bottom) / 2;
    TdxBarAccessibilityHelper* best = nullptr;
    long long bestDistance = 0;
    double bestDeviation = 0;
    for (TdxBarAccessibilityHelper* h : List) {
      TRect r = h->ScreenBounds();
      long long d = 0;
      switch (Direction) {
        case dxBarNavLeft: d = (long long)B.Left - r.Right; break;
        case dxBarNavUp: d = (long long)B.Top - r.Bottom; break;
        case dxBarNavRight: d = (long long)r.Left - B.Right; break;
        default: d = (long long)r.Top - B.Bottom; break;
      }
      if (d < 0) continue;
      double ox = (double(r.Left) + r.Right) / 2, oy = (double(r.Top) + r.Bottom) / 2;
      double angle = std::atan2(oy - cy, ox - cx) * 180 / M_PI;
      if (angle < 0) angle += 360;
      double dev = std::fabs(angle - wanted[Direction]);
      if (dev > 180) dev = 360 - dev;
      if (!best || d < bestDistance || (d == bestDistance && dev < bestDeviation)) {
        best = h;
        bestDistance = d;
        bestDeviation = dev;
      }
    }
    return best;
  };
  if (TdxBarAccessibilityHelper* found = search(Bounds)) return found;
  if (!Wrap || (Direction != dxBarNavLeft && Direction != dxBarNavRight)) return nullptr;
  // Continue from beyond the far end of the row: the bounds become a line out there.
  TRect far = Bounds;
  far.Left = far.Right = Direction == dxBarNavLeft ? 0x3FFFFFFF : -0x3FFFFFFF;
  return search(far);
}

TdxBarAccessibilityHelper* FindKeyTipContainerAncestor(TdxBarAccessibilityHelper* Helper) {
  if (!Helper) return nullptr;
  TdxBarAccessibilityHelper* h = Helper->KeyTipParent();
  while (h && !h->HoldsKeyTips()) {
    TdxBarAccessibilityHelper* p = h->KeyTipParent();
    if (!p) break;
    h = p;
  }
  return h;
}

TdxBarAccessibilityHelper* FindWindowAccessibilityRoot(HWND Window) {
  TdxBarManager* m = BarManagerOfWindow(Window);
  if (!m || !m->Bars()) return nullptr;
  TdxBar* main = m->Bars()->MainMenuBar();
  return main ? HelperOfBarControl(main->ItemLinks()->BarControl()) : nullptr;
}

// ---- the base

void TdxBarAccessibilityHelper::MarkOwnerDestroyed() {
  TcxAccessibilityHelper::MarkOwnerDestroyed();
  if (TdxBarNavigationController* nc = GetBarNavigationController()) nc->ForgetObject(this);
}

bool TdxBarAccessibilityHelper::KeyTipsAvailable(IdxBarKeyTipWindowsManager*& WindowsManager) {
  WindowsManager = nullptr;
  TdxBarAccessibilityHelper* parent = IsOwnerObjectLive() ? KeyTipParent() : nullptr;
  return parent && parent->KeyTipsAvailable(WindowsManager);
}

TdxBarManager* TdxBarAccessibilityHelper::ManagerOfOwner() { throw EdxException(""); }

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::AsSelectable() { throw EdxException(""); }

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::NavigateSpatially(int Direction) {
  TdxBarAccessibilityHelper* root = RootObject();
  if (!root) return nullptr;
  TRect b = ScreenBounds();
  std::vector<TdxBarAccessibilityHelper*> list;
  CollectKeyTipObjects(this, root, list, true, Direction, b);
  TdxBarNavigationController* nc = GetBarNavigationController();
  TdxBarAccessibilityHelper* from = nc ? nc->CurrentSelectedObject() : nullptr;
  return FindNearestObjectInDirection(from ? from->ScreenBounds() : b, list, Direction, true);
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::RootObject() {
  return QueryAccessibilityHelper(RootHelper());
}

bool TdxBarAccessibilityHelper::IsNavigationSelected() {
  TdxBarNavigationController* nc = GetBarNavigationController();
  return nc && nc->CurrentSelectedObject() == this;
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::NavigateToSibling(TShiftState Shift) {
  TdxBarAccessibilityHelper* parent = ParentHelper();
  if (!parent) return nullptr;
  return parent->ChildInDirection(parent->NavChildIndex(this), Shift.Contains(ssShift) ? dxBarNavBackward : 0);
}

void TdxBarAccessibilityHelper::TakeSelection(bool ByTab) {
  if (TdxBarNavigationController* nc = GetBarNavigationController()) nc->StoreSelection(this, ParentHelper());
}

void TdxBarAccessibilityHelper::ReleaseSelection(TdxBarAccessibilityHelper* NextObject) {
  if (TdxBarNavigationController* nc = GetBarNavigationController()) nc->StoreSelection(nullptr, nullptr);
}

std::string TdxBarAccessibilityHelper::KeyTipText() {
  std::string own = KeyTipFromItem();
  return CutKeyTip(own.empty() ? GeneratedKeyTip() : own);
}

std::unique_ptr<TdxBarKeyTipData> TdxBarAccessibilityHelper::NewKeyTipData() {
  TdxBarKeyTipInfo info;
  FillKeyTipInfo(info);
  return std::make_unique<TdxBarKeyTipData>(info);
}

void TdxBarAccessibilityHelper::FillKeyTipInfo(TdxBarKeyTipInfo& Info) {
  Info = TdxBarKeyTipInfo();
  Info.KeyTip = KeyTipText();
  Info.Visible = IsShown();
  // The tip keeps its helper alive; a helper whose owner went runs nothing.
  TdxBarAccessibilityHelperRef self = TdxBarAccessibilityHelperRef::Share(this);
  Info.OnExecute = [self](TObject* Sender) {
    if (self->IsOwnerObjectLive()) self->KeyTipChosen(Sender);
  };
}

void TdxBarAccessibilityHelper::CollectKeyTip(TdxBarKeyTipDataList& List) { List.push_back(NewKeyTipData()); }

void TdxBarAccessibilityHelper::CollectChildKeyTips(TdxBarKeyTipDataList& List) {
  if (!IsOwnerObjectLive() || !IsShown()) return;
  for (int i = 0; i < NavChildCount(); ++i) {
    TdxBarAccessibilityHelper* c = NavChild(i);
    if (!c) continue;
    if (c->IsSelectable())
      c->CollectKeyTip(List);
    else
      c->CollectChildKeyTips(List);
  }
}

void TdxBarAccessibilityHelper::KeyTipsEscaped() {
  TdxBarNavigationController* nc = GetBarNavigationController();
  if (!nc) return;
  if (TdxBarAccessibilityHelper* container = FindKeyTipContainerAncestor(this)) {
    TdxBarAccessibilityHelperRef keep = TdxBarAccessibilityHelperRef::Share(this);
    nc->ShowKeyTipsFor(container, "");
    nc->MoveSelection(true, this);
  } else {
    nc->LeaveNavigationMode();
  }
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::NavChild(int Index) {
  return IsOwnerObjectLive() ? QueryAccessibilityHelper(ChildAt(Index)) : nullptr;
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::ChildInDirection(int Index, int Flags) {
  return NextSelectableFrom(Index, (Flags & dxBarNavBackward) == 0);
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::FirstSelectable() {
  if (!IsOwnerObjectLive() || !IsShown()) return nullptr;
  if (IsSelectable()) return this;
  for (int i = 0; i < NavChildCount(); ++i)
    if (TdxBarAccessibilityHelper* c = NavChild(i))
      if (TdxBarAccessibilityHelper* s = c->FirstSelectable()) return s;
  return nullptr;
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::EdgeSelectable(bool Forward) {
  if (!IsOwnerObjectLive() || !IsShown()) return nullptr;
  if (IsSelectable()) return this;
  int n = NavChildCount();
  for (int k = 0; k < n; ++k)
    if (TdxBarAccessibilityHelper* c = NavChild(Forward ? k : n - 1 - k))
      if (TdxBarAccessibilityHelper* s = c->EdgeSelectable(Forward)) return s;
  return nullptr;
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::ParentHelper() {
  return IsOwnerObjectLive() ? QueryAccessibilityHelper(QueryParent()) : nullptr;
}

void TdxBarAccessibilityHelper::CollectKeyTips(TdxBarKeyTipDataList& List) {
  CollectChildKeyTips(List);
  MakeKeyTipsUnique(List);
}

void TdxBarAccessibilityHelper::CollectKeyTipObjects(TdxBarAccessibilityHelper* Origin,
                                                     TdxBarAccessibilityHelper* Node,
                                                     std::vector<TdxBarAccessibilityHelper*>& List, bool Restrict,
                                                     int Direction, const TRect& OriginBounds) {
  if (!Node || Node == Origin || !Node->IsOwnerObjectLive() || !Node->IsShown()) return;
  if (Node->IsSelectable() && (!Restrict || PassesDirectionFilter(Node->ScreenBounds(), Direction, OriginBounds)))
    List.push_back(Node);
  for (int i = 0; i < Node->NavChildCount(); ++i)
    CollectKeyTipObjects(Origin, Node->NavChild(i), List, Restrict, Direction, OriginBounds);
}

TdxBarAccessibilityHelper* TdxBarAccessibilityHelper::NextSelectableFrom(int Index, bool Forward) {
  if (!IsOwnerObjectLive()) return nullptr;
  int step = Forward ? 1 : -1;
  int n = NavChildCount();
  for (int i = Index + step; i >= 0 && i < n; i += step) {
    TdxBarAccessibilityHelper* c = NavChild(i);
    if (!c) continue;
    if (TdxBarAccessibilityHelper* s = c->EdgeSelectable(Forward)) return s;
  }
  if (TdxBarAccessibilityHelper* parent = ParentHelper())
    return parent->NextSelectableFrom(parent->NavChildIndex(this), Forward);
  return EdgeSelectable(Forward);
}

// ---- dock sites

TdxDockControl* TdxDockControlAccessibilityHelper::DockControl() const {
  return IsOwnerObjectLive() ? dynamic_cast<TdxDockControl*>(OwnerObject()) : nullptr;
}

TcxAccessibilityHelper* TdxDockControlAccessibilityHelper::ChildAt(int Index) {
  TdxDockControl* site = DockControl();
  if (!site) return nullptr;
  for (int r = 0; r < site->RowCount(); ++r) {
    TdxDockRow* row = site->Rows(r);
    if (Index < row->ColCount()) return row->Cols(Index)->BarControl()->AcquireAccessibilityHelper();
    Index -= row->ColCount();
  }
  return nullptr;
}

int TdxDockControlAccessibilityHelper::ChildCount() {
  TdxDockControl* site = DockControl();
  int n = 0;
  if (site)
    for (int r = 0; r < site->RowCount(); ++r) n += site->Rows(r)->ColCount();
  return n;
}

int TdxDockControlAccessibilityHelper::IndexOfChild(TcxAccessibilityHelper* Child) {
  for (int i = 0; i < ChildCount(); ++i)
    if (ChildAt(i) == Child) return i;
  return -1;
}

HWND TdxDockControlAccessibilityHelper::OwnerWindow() {
  TdxDockControl* site = DockControl();
  return site && site->HandleAllocated() ? site->WindowHandle() : nullptr;
}

int TdxDockControlAccessibilityHelper::StateOf(int ChildID) { return WindowState(OwnerWindow()); }

TRect TdxDockControlAccessibilityHelper::ScreenBoundsOf(int ChildID) {
  return IsShown() ? WindowBounds(OwnerWindow()) : TRect();
}

TdxBarManager* TdxDockControlAccessibilityHelper::ManagerOfOwner() {
  TdxDockControl* site = DockControl();
  return site ? site->BarManager() : nullptr;
}

// ---- bar windows

TCustomdxBarControl* TCustomdxBarControlAccessibilityHelper::BarControl() const {
  return IsOwnerObjectLive() ? dynamic_cast<TCustomdxBarControl*>(OwnerObject()) : nullptr;
}

TcxAccessibilityHelper* TCustomdxBarControlAccessibilityHelper::ChildAt(int Index) {
  TCustomdxBarControl* bc = BarControl();
  TCustomdxBarControlViewInfo* vi = bc ? bc->ViewInfo() : nullptr;
  if (!vi || Index < 0 || Index >= vi->ControlCount()) return nullptr;
  return vi->ControlViewInfo(Index)->Control()->AcquireAccessibilityHelper();
}

int TCustomdxBarControlAccessibilityHelper::ChildCount() {
  TCustomdxBarControl* bc = BarControl();
  TCustomdxBarControlViewInfo* vi = bc ? bc->ViewInfo() : nullptr;
  return vi ? vi->ControlCount() : 0;
}

int TCustomdxBarControlAccessibilityHelper::IndexOfChild(TcxAccessibilityHelper* Child) {
  TCustomdxBarControl* bc = BarControl();
  auto* item = dynamic_cast<TdxBarItemControlAccessibilityHelper*>(Child);
  if (!bc || !bc->ViewInfo() || !item || !item->ItemControl()) return -1;
  return bc->ViewInfo()->IndexOfControl(item->ItemControl());
}

std::string TCustomdxBarControlAccessibilityHelper::NameText(int ChildID) {
  TCustomdxBarControl* bc = BarControl();
  if (!bc) return {};
  if (TdxBar* bar = BarOfLinks(bc->ItemLinks())) return bar->Caption();
  std::string text;
  if (TdxBarItemControl* opener = bc->ParentItemControl()) opener->CaptionText(text);
  return RemoveAccelChars(text, false);
}

HWND TCustomdxBarControlAccessibilityHelper::OwnerWindow() {
  TCustomdxBarControl* bc = BarControl();
  return bc && bc->HandleAllocated() ? bc->WindowHandle() : nullptr;
}

TcxAccessibilityHelper* TCustomdxBarControlAccessibilityHelper::QueryParent() {
  TCustomdxBarControl* bc = BarControl();
  return bc && bc->DockControl() ? bc->DockControl()->AcquireAccessibilityHelper() : nullptr;
}

int TCustomdxBarControlAccessibilityHelper::RoleOf(int ChildID) {
  TCustomdxBarControl* bc = BarControl();
  if (!bc) return ROLE_SYSTEM_TOOLBAR;
  if (bc->BarControlKind() == 2) return ROLE_SYSTEM_MENUPOPUP;
  TdxBar* bar = BarOfLinks(bc->ItemLinks());
  return bc->IsMainMenu() || (bar && bar->IsMainMenu()) ? ROLE_SYSTEM_MENUBAR : ROLE_SYSTEM_TOOLBAR;
}

int TCustomdxBarControlAccessibilityHelper::StateOf(int ChildID) { return WindowState(OwnerWindow()); }

TRect TCustomdxBarControlAccessibilityHelper::ScreenBoundsOf(int ChildID) {
  return IsShown() ? WindowBounds(OwnerWindow()) : TRect();
}

TcxAccessibleHitTest TCustomdxBarControlAccessibilityHelper::HitTestChild(int X, int Y, int& Index) {
  for (int i = 0; i < ChildCount(); ++i)
    if (TdxBarAccessibilityHelper* c = NavChild(i); c && c->ScreenBounds().Contains(TPoint(X, Y))) {
      Index = i;
      return ahtChild;
    }
  return ahtSelf;
}

TdxBarManager* TCustomdxBarControlAccessibilityHelper::ManagerOfOwner() {
  TCustomdxBarControl* bc = BarControl();
  return bc ? bc->BarManager() : nullptr;
}

bool TCustomdxBarControlAccessibilityHelper::AllowsChildNavigation(WORD Key) {
  TCustomdxBarControl* bc = BarControl();
  TdxBarItemControl* sel = bc ? bc->SelectedControl() : nullptr;
  return !(sel && sel->IsWindowControl() && sel->IsEditing());
}

bool TCustomdxBarControlAccessibilityHelper::ProcessNavigationKey(WORD& Key) {
  TCustomdxBarControl* bc = BarControl();
  if (!bc || !bc->IsActive() || !bc->WindowHandle()) return false;
  WORD key = Key;
  if (bc->IsVerticalBar()) {
    switch (key) {
      case VK_LEFT: key = VK_UP; break;
      case VK_UP: key = VK_LEFT; break;
      case VK_RIGHT: key = VK_DOWN; break;
      case VK_DOWN: key = VK_RIGHT; break;
      default: break;
    }
  }
  // Across the bar the bar's own keys do nothing unless the selected control wants them (a
  // drop-down opens): the controller then moves spatially.
  if (key == VK_UP || key == VK_DOWN) {
    TdxBarItemControl* sel = bc->SelectedControl();
    if (!(sel && sel->IsEnabled() && sel->WantsKey(key))) return false;
  }
  SendMessage(bc->WindowHandle(), WM_KEYDOWN, Key, 0);
  return true;
}

void TCustomdxBarControlAccessibilityHelper::TakeSelection(bool ByTab) {
  TdxBarAccessibilityHelper::TakeSelection(ByTab);
  if (TCustomdxBarControl* bc = BarControl(); bc && !bc->IsActive()) bc->Activate(nullptr);
}

void TCustomdxBarControlAccessibilityHelper::ReleaseSelection(TdxBarAccessibilityHelper* NextObject) {
  TdxBarAccessibilityHelper::ReleaseSelection(NextObject);
  if (TCustomdxBarControl* bc = BarControl(); bc && bc->IsActive()) bc->CloseUp(dxbcrClick);
}

TdxBarAccessibilityHelper* TCustomdxBarControlAccessibilityHelper::ChildInDirection(int Index, int Flags) {
  TCustomdxBarControl* bc = BarControl();
  if (!bc) return nullptr;
  bool backward = (Flags & dxBarNavBackward) != 0;
  if (Flags & dxBarNavAcrossBars) return HelperOfBarControl(bc->NextToolbar(!backward));
  TdxBarAccessibilityHelper* child = NavChild(Index);
  if (!child) return nullptr;
  // Forward is along the bar: right on a horizontal bar, down on a vertical one (NavigateFromItem
  // turns the direction for vertical bars).
  int direction = bc->IsVerticalBar() ? (backward ? dxBarNavUp : dxBarNavDown) : (backward ? dxBarNavLeft : dxBarNavRight);
  return child->NavigateSpatially(direction);
}

void TCustomdxBarControlAccessibilityHelper::CollectChildKeyTips(TdxBarKeyTipDataList& List) {
  if (!IsOwnerObjectLive() || !IsShown()) return;
  for (int i = 0; i < NavChildCount(); ++i) {
    TdxBarAccessibilityHelper* c = NavChild(i);
    auto* item = dynamic_cast<TdxBarItemControlAccessibilityHelper*>(c);
    if (item && item->ItemControl() && item->ItemControl()->IsKeyNavigable())
      item->CollectKeyTip(List);
    else if (c && c->IsSelectable())
      c->CollectKeyTip(List);
    else if (c)
      c->CollectChildKeyTips(List);
  }
}

void TCustomdxBarControlAccessibilityHelper::KeyTipPosition(TdxBarItemControl* Control, TPoint& BasePoint,
                                                            uint8_t& VertAlign, uint8_t& HorzAlign) {
  TRect r = HelperOfItemControl(Control) ? HelperOfItemControl(Control)->ScreenBounds() : TRect();
  BasePoint = TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  VertAlign = 2;
  HorzAlign = 2;
}

TdxBarAccessibilityHelper* TCustomdxBarControlAccessibilityHelper::NavigateFromItem(TdxBarItemControl* Control,
                                                                                    int Direction) {
  TCustomdxBarControl* bc = BarControl();
  if (!bc || !Control || !bc->ItemLinks()) return nullptr;
  if (bc->IsVerticalBar()) {
    static const int mirrored[] = {dxBarNavUp, dxBarNavLeft, dxBarNavDown, dxBarNavRight};
    Direction = mirrored[Direction & 3];
  }
  switch (Direction) {
    case dxBarNavLeft: return HelperOfLink(bc->ItemLinks()->PrevSelectableLink(Control->Link()));
    case dxBarNavRight: return HelperOfLink(bc->ItemLinks()->NextSelectableLink(Control->Link()));
    default: {
      TdxBarAccessibilityHelper* from = HelperOfItemControl(Control);
      if (!from) return nullptr;
      TRect b = from->ScreenBounds();
      std::vector<TdxBarAccessibilityHelper*> list;
      CollectKeyTipObjects(from, this, list, true, Direction, b);
      return FindNearestObjectInDirection(b, list, Direction, false);
    }
  }
}

void TCustomdxBarControlAccessibilityHelper::ClearItemSelection() {
  TCustomdxBarControl* bc = BarControl();
  if (!bc) return;
  TdxBarManager* m = bc->BarManager();
  if (m && m->KeyboardBarControl() == bc)
    bc->Deactivate();
  else
    bc->KeySelectItemControl(nullptr);
}

// ---- menus

TdxBarAccessibilityHelper* TdxBarSubMenuControlAccessibilityHelper::KeyTipParent() {
  TCustomdxBarControl* bc = BarControl();
  return bc ? HelperOfItemControl(bc->ParentItemControl()) : nullptr;
}

void TdxBarSubMenuControlAccessibilityHelper::KeyTipsEscaped() {
  TdxBarNavigationController* nc = GetBarNavigationController();
  TCustomdxBarControl* bc = BarControl();
  if (!nc || !bc) return;
  TdxBarAccessibilityHelper* parent = KeyTipParent();
  TdxBarAccessibilityHelperRef container = TdxBarAccessibilityHelperRef::Share(
      parent && parent->HoldsKeyTips() ? parent : FindKeyTipContainerAncestor(parent));
  if (bc->WindowHandle()) SendMessage(bc->WindowHandle(), WM_KEYDOWN, VK_ESCAPE, 0);
  if (container)
    nc->ShowKeyTipsFor(container.get(), "");
  else
    nc->LeaveNavigationMode();
}

void TdxBarSubMenuControlAccessibilityHelper::ReleaseSelection(TdxBarAccessibilityHelper* NextObject) {
  TdxBarAccessibilityHelper::ReleaseSelection(NextObject);
}

void TdxBarSubMenuControlAccessibilityHelper::KeyTipPosition(TdxBarItemControl* Control, TPoint& BasePoint,
                                                             uint8_t& VertAlign, uint8_t& HorzAlign) {
  auto* menu = dynamic_cast<TdxBarSubMenuControl*>(BarControl());
  TdxBarAccessibilityHelper* item = HelperOfItemControl(Control);
  if (!menu || !item) {
    TCustomdxBarControlAccessibilityHelper::KeyTipPosition(Control, BasePoint, VertAlign, HorzAlign);
    return;
  }
  TRect r = item->ScreenBounds();
  int leftArea = menu->Painter() ? menu->Painter()->MenuLeftAreaWidth(menu) : 0;
  BasePoint = TPoint(menu->ClientOrigin().X + menu->ItemsRect().Left + leftArea / 2, (r.Top + r.Bottom) / 2);
  VertAlign = 1;
  HorzAlign = 1;
}

void TdxBarSubMenuControlAccessibilityHelper::ClearItemSelection() {
  if (TCustomdxBarControl* bc = BarControl()) bc->KeySelectItemControl(nullptr);
}

// ---- item controls

TdxBarItemControl* TdxBarItemControlAccessibilityHelper::ItemControl() const {
  if (!IsOwnerObjectLive()) return nullptr;
  auto* c = dynamic_cast<TdxBarItemControl*>(OwnerObject());
  return c && !c->Destroying() ? c : nullptr;
}

TCustomdxBarControlAccessibilityHelper* TdxBarItemControlAccessibilityHelper::BarHelperOfControl() {
  TdxBarItemControl* c = ItemControl();
  return c ? dynamic_cast<TCustomdxBarControlAccessibilityHelper*>(HelperOfBarControl(c->BarControl())) : nullptr;
}

std::string TdxBarItemControlAccessibilityHelper::NameText(int ChildID) {
  TdxBarItemControl* c = ItemControl();
  if (!c) return {};
  std::string text;
  c->CaptionText(text);
  return RemoveAccelChars(text, false);
}

HWND TdxBarItemControlAccessibilityHelper::OwnerWindow() {
  TdxBarItemControl* c = ItemControl();
  TCustomdxBarControl* bc = c ? c->BarControl() : nullptr;
  return bc && bc->HandleAllocated() ? bc->WindowHandle() : nullptr;
}

TcxAccessibilityHelper* TdxBarItemControlAccessibilityHelper::QueryParent() { return BarHelperOfControl(); }

int TdxBarItemControlAccessibilityHelper::RoleOf(int ChildID) {
  TdxBarItemControl* c = ItemControl();
  TCustomdxBarControl* bc = c ? c->BarControl() : nullptr;
  if (bc && (bc->BarControlKind() == 2 || ROLE_SYSTEM_MENUBAR == BarHelperOfControl()->RoleOf(CHILDID_SELF)))
    return ROLE_SYSTEM_MENUITEM;
  return ROLE_SYSTEM_PUSHBUTTON;
}

int TdxBarItemControlAccessibilityHelper::StateOf(int ChildID) {
  TdxBarItemControl* c = ItemControl();
  TCustomdxBarControlAccessibilityHelper* bar = BarHelperOfControl();
  TCustomdxBarControl* bc = c ? c->BarControl() : nullptr;
  if (!bar || !bar->IsShown() || bar->IsContentHidden() || !bc->ViewInfo() || !bc->ViewInfo()->ShowsControl(c))
    return STATE_SYSTEM_INVISIBLE;
  // A control the bar's client area cuts off is not shown either.
  TRect r = c->ViewInfo()->Bounds;
  if (r.IsEmpty() || r.Right > bc->ClientWidth() || r.Bottom > bc->ClientHeight() || r.Left < 0 || r.Top < 0)
    return STATE_SYSTEM_INVISIBLE;
  int state = c->IsEnabled() ? 0 : STATE_SYSTEM_UNAVAILABLE;
  if (bc->SelectedControl() == c) state |= STATE_SYSTEM_FOCUSED;
  return state;
}

bool TdxBarItemControlAccessibilityHelper::IsSelectable() {
  TdxBarItemControl* c = ItemControl();
  return c && IsShown() && c->IsKeyNavigable();
}

TRect TdxBarItemControlAccessibilityHelper::ScreenBoundsOf(int ChildID) {
  TdxBarItemControl* c = ItemControl();
  if (!c || !IsShown()) return TRect();
  TRect r = c->ViewInfo()->Bounds;
  TPoint o = c->BarControl()->ClientOrigin();
  return TRect(r.Left + o.X, r.Top + o.Y, r.Right + o.X, r.Bottom + o.Y);
}

void TdxBarItemControlAccessibilityHelper::KeyboardShortcutText(int ChildID, TShortCut& ShortCut, std::string& Text) {
  ShortCut = 0;
  Text.clear();
  if (TdxBarItemControl* c = ItemControl()) {
    ShortCut = c->ShortCutOf();
    c->CaptionText(Text);
  }
}

TdxBarManager* TdxBarItemControlAccessibilityHelper::ManagerOfOwner() {
  TdxBarItemControl* c = ItemControl();
  return c ? c->LinkBarManager() : nullptr;
}

bool TdxBarItemControlAccessibilityHelper::ProcessNavigationKey(WORD& Key) {
  if (TdxBarAccessibilityHelper::ProcessNavigationKey(Key)) return true;
  TCustomdxBarControlAccessibilityHelper* bar = BarHelperOfControl();
  return bar && bar->ProcessNavigationKey(Key);
}

TdxBarAccessibilityHelper* TdxBarItemControlAccessibilityHelper::NavigateSpatially(int Direction) {
  TCustomdxBarControlAccessibilityHelper* bar = BarHelperOfControl();
  return bar ? bar->NavigateFromItem(ItemControl(), Direction) : nullptr;
}

void TdxBarItemControlAccessibilityHelper::TakeSelection(bool ByTab) {
  TdxBarItemControl* c = ItemControl();
  if (!c) return;
  TdxBarAccessibilityHelper::TakeSelection(ByTab);
  TWeakLink<TdxBarItemControl> control(c);
  TCustomdxBarControl* bc = c->BarControl();
  if (bc->IsActive())
    bc->KeySelectItemControl(c);
  else
    bc->Activate(c);
  // An edit-like control starts editing when the keyboard reaches it by Tab, or whenever the bar
  // does not keep keyboard selections apart from activation.
  if (control && c->IsWindowControl() && (ByTab || (c->BarControl()->NavigationFlags() & 2) == 0))
    c->ClickAt(false, false);
}

void TdxBarItemControlAccessibilityHelper::ReleaseSelection(TdxBarAccessibilityHelper* NextObject) {
  TdxBarAccessibilityHelper::ReleaseSelection(NextObject);
  auto* next = dynamic_cast<TdxBarItemControlAccessibilityHelper*>(NextObject);
  TdxBarItemControl* c = ItemControl();
  TdxBarItemControl* nc = next ? next->ItemControl() : nullptr;
  if (c && nc && nc->BarControl() == c->BarControl()) return;
  if (TCustomdxBarControlAccessibilityHelper* bar = BarHelperOfControl()) bar->ClearItemSelection();
}

std::string TdxBarItemControlAccessibilityHelper::KeyTipFromItem() {
  TdxBarItemControl* c = ItemControl();
  return c && c->LinkItem() ? c->LinkItem()->KeyTip() : std::string();
}

std::string TdxBarItemControlAccessibilityHelper::GeneratedKeyTip() {
  TdxBarItemControl* c = ItemControl();
  if (!c) return "Y";
  std::string caption;
  c->CaptionText(caption);
  return GeneratedItemKeyTip(c->LinkItem() ? c->LinkItem()->ShortCut() : 0, caption);
}

void TdxBarItemControlAccessibilityHelper::FillKeyTipInfo(TdxBarKeyTipInfo& Info) {
  TdxBarAccessibilityHelper::FillKeyTipInfo(Info);
  TdxBarItemControl* c = ItemControl();
  if (!c) return;
  Info.Enabled = c->IsEnabled();
  if (IsShown()) {
    if (TCustomdxBarControlAccessibilityHelper* bar = BarHelperOfControl())
      bar->KeyTipPosition(c, Info.BasePoint, Info.VertAlign, Info.HorzAlign);
  } else {
    TdxBarAccessibilityHelperRef self = TdxBarAccessibilityHelperRef::Share(this);
    Info.OnExecute = [self](TObject* Sender) {
      if (self->IsOwnerObjectLive()) static_cast<TdxBarItemControlAccessibilityHelper*>(self.get())->ForwardKeyTip(Sender);
    };
  }
}

void TdxBarItemControlAccessibilityHelper::ForwardKeyTip(TObject* Sender) {
  if (!ForwardsKeyTip()) {
    KeyTipChosen(Sender);
    return;
  }
  // The control lies cut off its bar: its tip goes to the same control of the bar's overflow
  // list when the bar has one; without one typing the tip does nothing.
  TdxBarItemControl* c = ItemControl();
  TCustomdxBarControlAccessibilityHelper* bar = BarHelperOfControl();
  TdxBarAccessibilityHelper* overflow = bar ? bar->OverflowHelper() : nullptr;
  if (!c || !overflow || !c->BarControl()->ItemLinks()) return;
  int index = c->Link() ? c->Link()->Index() : -1;
  if (TdxBarAccessibilityHelper* target = overflow->NavChild(index)) target->KeyTipChosen(Sender);
}

void TdxBarItemControlAccessibilityHelper::KeyTipChosen(TObject* Sender) {}

void TdxBarButtonLikeControlAccessibilityHelper::KeyTipChosen(TObject* Sender) {
  TdxBarNavigationController* nc = GetBarNavigationController();
  if (!OpensSubMenu()) {
    PressForKeyboard();
    return;
  }
  TdxBarAccessibilityHelperRef keep = TdxBarAccessibilityHelperRef::Share(this);
  if (nc) nc->MoveSelection(true, this);
  if (OpenSubMenuForKeyboard() && nc)
    if (TCustomdxBarControl* active = GetActiveBarControl())
      if (TdxBarAccessibilityHelper* h = HelperOfBarControl(active)) nc->ShowKeyTipsFor(h, "");
}

void TdxBarButtonLikeControlAccessibilityHelper::PressForKeyboard() {
  TdxBarItemControl* c = ItemControl();
  if (!c) return;
  TWeakLink<TdxBarItemControl> control(c);
  if (TdxBarNavigationController* nc = GetBarNavigationController()) nc->LeaveNavigationMode();
  if (!control) return;
  TdxBarItem* item = c->LinkItem();
  bool unclick = item && item->UnclickAfterDoing();
  if (item) item->SetUnclickAfterDoing(false);
  TWeakLink<TdxBarItem> keptItem(item);
  struct TRestore {
    TWeakLink<TdxBarItem>& Item;
    bool Value;
    ~TRestore() {
      if (Item) Item->SetUnclickAfterDoing(Value);
    }
  } restore{keptItem, unclick};
  c->Click(false);
}

int TdxBarButtonControlAccessibilityHelper::RoleOf(int ChildID) {
  int role = TdxBarButtonLikeControlAccessibilityHelper::RoleOf(ChildID);
  return role == ROLE_SYSTEM_PUSHBUTTON && OpensSubMenu() ? ROLE_SYSTEM_BUTTONDROPDOWN : role;
}

bool TdxBarButtonControlAccessibilityHelper::OpensSubMenu() {
  auto* c = dynamic_cast<TdxBarButtonControl*>(ItemControl());
  TdxBarButton* b = c ? c->Button() : nullptr;
  return b && (b->ButtonStyle() == bsDropDown || b->ButtonStyle() == bsCheckedDropDown);
}

bool TdxBarButtonControlAccessibilityHelper::OpenSubMenuForKeyboard() {
  auto* c = dynamic_cast<TdxBarButtonControl*>(ItemControl());
  if (!c) return false;
  TWeakLink<TdxBarItemControl> control(c);
  c->OpenDropDown(false);
  return control && c->IsDroppedDown();
}

int TdxBarSubItemControlAccessibilityHelper::RoleOf(int ChildID) {
  int role = TdxBarButtonLikeControlAccessibilityHelper::RoleOf(ChildID);
  return role == ROLE_SYSTEM_PUSHBUTTON ? ROLE_SYSTEM_BUTTONMENU : role;
}

bool TdxBarSubItemControlAccessibilityHelper::DropDownByKeyboard() {
  auto* c = dynamic_cast<TdxBarButtonLikeControl*>(ItemControl());
  if (!c) return false;
  TWeakLink<TdxBarItemControl> control(c);
  c->OpenDropDown(false);
  return control && c->IsDroppedDown();
}

void TdxBarWinControlAccessibilityHelper::KeyTipChosen(TObject* Sender) {
  TdxBarNavigationController* nc = GetBarNavigationController();
  if (!nc) return;
  TdxBarAccessibilityHelperRef keep = TdxBarAccessibilityHelperRef::Share(this);
  nc->LeaveNavigationMode();
  if (IsOwnerObjectLive()) nc->MoveSelection(true, this);
}

// ---- the helper classes of the menu windows and sub items

TcxAccessibilityHelperClass TdxBarSubMenuControl::AccessibilityHelperClass() const {
  return &CreateForOwner<TdxBarSubMenuControlAccessibilityHelper>;
}

TcxAccessibilityHelperClass TdxBarSubItemControl::AccessibilityHelperClass() const {
  return &CreateForOwner<TdxBarSubItemControlAccessibilityHelper>;
}
