// The MDI buttons of the main menu bar: minimize, restore and close of the maximized document
// (or the main menu's lone close button), their places, states, drawing and mouse handling.

#include "suite/bars/dxBarMDI.h"
#include "suite/bars/dxBarToolbar.h"

namespace {

// One set for every toolbar: only one button can be held at a time.
struct TMDIButtonState {
  bool Held = false;
  int HeldIndex = -1;
  bool Hot = false;
  int HotIndex = -1;
  TWeakLink<TCustomdxBarControl> Bar;  // the toolbar the flags belong to
};
TMDIButtonState gMDI;

constexpr UINT kMDIButtonCommandIds[3] = {UINT(SC_MINIMIZE), UINT(SC_RESTORE), UINT(SC_CLOSE)};

}  // namespace

bool dxBarMDIButtonHeld() { return gMDI.Held; }

bool TdxBarControl::HasMDIButtons() const {
  TdxBarManager* m = BarManager();
  if (!Bar() || !Bar()->IsMainMenu() || !m || !m->ActiveMDIChildMaximized()) return false;
  HWND child = ActiveMDIChildWindow();
  return child && GetSystemMenu(child, FALSE);
}

TSize TdxBarControl::MDIButtonsSize() const {
  const int w = GetSystemMetrics(SM_CXMENUSIZE) - 2, h = GetSystemMetrics(SM_CYMENUSIZE) - 4;
  if (!HasMDIButtons()) return TSize{w, h};
  return IsVerticalBar() ? TSize{w, 3 * h + 2} : TSize{3 * w + 2, h};
}

TRect TdxBarControl::MDIButtonRect(int Index) const {
  const bool vertical = IsVerticalBar();
  const TRect c = ClientRect();
  const int clientAlong = vertical ? c.Height() : c.Width();
  const int clientAcross = vertical ? c.Width() : c.Height();
  const int L = clientAlong - (DockingStyle() != dsNone ? MarkSize() : 0);
  const int T = clientAcross;
  const TSize one{GetSystemMetrics(SM_CXMENUSIZE) - 2, GetSystemMetrics(SM_CYMENUSIZE) - 4};
  const int bw = vertical ? one.cy : one.cx, bh = vertical ? one.cx : one.cy;
  const TSize all = MDIButtonsSize();
  const int total = vertical ? all.cy : all.cx;
  // Across: centred; in a multi-line layout at the far edge when the last row leaves that strip
  // free, else centred on the last row.
  int top = (T - bh) / 2;
  if (IsMultiLineLayout() && ItemLinks()) {
    TdxBarItemLink* last = nullptr;
    for (TdxBarItemLink* l : ItemLinks()->ShownLinks()) last = l;
    if (last) {
      const int stripFrom = L - total;
      bool free = true;
      const int lastAcross = vertical ? last->ItemRect().Left : last->ItemRect().Top;
      for (TdxBarItemLink* l : ItemLinks()->ShownLinks()) {
        const TRect r = l->ItemRect();
        const int across = vertical ? r.Left : r.Top, alongEnd = vertical ? r.Bottom : r.Right;
        if (across == lastAcross && alongEnd > stripFrom) free = false;
      }
      top = free ? T - bh : T - (LinkRowHeight(last) - bh) / 2 - bh;
    }
  }
  int left;
  if (HasMDIButtons()) {
    left = L + Index * bw - total;
    if (Index == 2) left += 2;
  } else {
    left = L - bw;
  }
  TRect r(left, top, left + bw, top + bh);
  if (vertical) r = TRect(c.Width() - r.Bottom, r.Left, c.Width() - r.Top, r.Right);
  return r;
}

bool TdxBarControl::ButtonEnabled(int Index, UINT Mask) const {
  if (Index == 1) return true;
  if (Index == 2 && !HasMDIButtons()) return ShowsCloseButton();
  HWND child = ActiveMDIChildWindow();
  HMENU menu = child ? GetSystemMenu(child, FALSE) : nullptr;
  if (!menu) return false;
  return (GetMenuState(menu, kMDIButtonCommandIds[Index], MF_BYCOMMAND) & Mask) == 0;
}

void TdxBarControl::DrawMDIButtons(HDC DC, const TRect&) { DrawMDIButtonSet(DC, true); }

void TdxBarControl::DrawMDIButtonSet(HDC DC, bool ExcludeFromClip) {
  TdxBarPainter* painter = Painter();
  if (!painter || !DC) return;
  const bool mine = gMDI.Bar.get() == this;
  for (int i = HasMDIButtons() ? 0 : 2; i <= 2; ++i) {
    const TRect r = MDIButtonRect(i);
    int state = 0;
    if (!ButtonEnabled(i, MF_GRAYED)) state = 1;
    else if (mine && gMDI.Held && gMDI.HeldIndex == i) state = gMDI.Hot ? 4 : 3;
    else if (mine && gMDI.Hot && gMDI.HotIndex == i) state = 2;
    painter->DrawMDIButton(this, TdxBarMDIButton(i), r, DC, state);
    if (ExcludeFromClip) ExcludeClipRect(DC, r.Left, r.Top, r.Right, r.Bottom);
  }
}

void TdxBarControl::RedrawMDIButtons() {
  if (!HandleAllocated() || !ShowsCloseButton()) return;
  HDC dc = GetDC(WindowHandle());
  DrawMDIButtonSet(dc, false);
  ReleaseDC(WindowHandle(), dc);
}

int TdxBarControl::MDIButtonAt(const TPoint& P, UINT Mask) const {
  if (!ShowsCloseButton()) return -1;
  for (int i = HasMDIButtons() ? 0 : 2; i <= 2; ++i)
    if (ButtonEnabled(i, Mask) && MDIButtonRect(i).Contains(P)) return i;
  return -1;
}

bool TdxBarControl::MDIButtonPressedAt(const TPoint& P) {
  TdxBarManager* m = BarManager();
  if (m && m->IsCustomizingOrDesigning()) return false;
  const int i = MDIButtonAt(P, MF_GRAYED | MF_DISABLED);
  if (i < 0) return false;
  gMDI = TMDIButtonState{true, i, true, i, TWeakLink<TCustomdxBarControl>(this)};
  RedrawMDIButtons();
  SetCapture(WindowHandle());
  return true;
}

void TdxBarControl::MouseMoveOverBar(TShiftState Shift, const TPoint& P, TdxBarItemControl* Control) {
  const bool mine = gMDI.Bar.get() == this;
  if (mine && gMDI.Held) {
    const bool hot = MDIButtonRect(gMDI.HeldIndex).Contains(P);
    if (hot != gMDI.Hot) {
      gMDI.Hot = hot;
      RedrawMDIButtons();
    }
    return;
  }
  TWeakLink<TCustomdxBarControl> self(this);
  TdxBarDockedControl::MouseMoveOverBar(Shift, P, Control);
  if (!self || !ShowsCloseButton()) return;
  const int i = MDIButtonAt(P, MF_GRAYED);
  const bool hot = i >= 0;
  if (mine && hot == gMDI.Hot && (!hot || i == gMDI.HotIndex)) return;
  if (!hot && !(mine && gMDI.Hot)) return;
  gMDI.Bar = this;
  gMDI.Hot = hot;
  gMDI.HotIndex = i;
  RedrawMDIButtons();
}

void TdxBarControl::MouseUpOnBar(TMouseButton Button, TShiftState Shift, bool InClient, TdxBarItemControl* Control,
                                 const TPoint& P) {
  TWeakLink<TCustomdxBarControl> self(this);
  if (gMDI.Bar.get() == this && gMDI.Held) {
    const int index = gMDI.HeldIndex;
    const bool over = MDIButtonRect(index).Contains(P);
    const bool withButtons = HasMDIButtons();
    ReleaseCapture();
    gMDI = TMDIButtonState{};
    RedrawMDIButtons();
    if (over) {
      TdxBarManager* m = BarManager();
      if (withButtons) {
        if (m) m->SendMDIChildSysCommand(index);
      } else if (m) {
        InvokeNotifyEvent(m, m->OnCloseButtonClick);
      }
    }
    if (!self) return;
  }
  TdxBarDockedControl::MouseUpOnBar(Button, Shift, InClient, Control, P);
}

void TdxBarControl::MouseLeftBar() {
  TWeakLink<TCustomdxBarControl> self(this);
  TdxBarDockedControl::MouseLeftBar();
  if (!self || IsActive()) return;
  if (ShowsCloseButton() && gMDI.Bar.get() == this && gMDI.Hot && !gMDI.Held) {
    gMDI.Hot = false;
    gMDI.HotIndex = -1;
    RedrawMDIButtons();
  }
}

void TdxBarControl::CancelMDIButtons() {
  if (gMDI.Bar.get() != this || !(gMDI.Held || gMDI.Hot)) return;
  if (gMDI.Held && GetCapture() == WindowHandle()) ReleaseCapture();
  gMDI = TMDIButtonState{};
  RedrawMDIButtons();
}
