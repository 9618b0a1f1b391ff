// The toolbar window: its frame, its placement in dock sites or floating, its layout of links
// and its painting.
#include "suite/bars/dxBarToolbar.h"

#include <algorithm>

#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "suite/bars/dxBarDock.h"
#include "suite/bars/dxBarItemControls.h"
#include "suite/bars/dxBarLayout.h"
#include "suite/bars/dxBarStrs.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxGraphics.h"

TdxBarHitTestResult ToolbarHitTest(const TdxBarHitTestInput& In) {
  TdxBarHitTestResult r;
  r.Result = In.PlatformResult;
  if (In.KeepsPlatformResult) {
    r.Code = int(In.PlatformResult);
    return r;
  }
  bool overControl = In.Customizing ? In.OverAnyControl : In.OverSelectableControl;
  if (!In.Floating) {
    if (In.PlatformResult == HTCLIENT && overControl) return {HTCLIENT, 1};
    if (In.PlatformResult != HTCLIENT && In.PlatformResult != HTNOWHERE) return {HTCLIENT, int(In.PlatformResult)};
    const TPoint& p = In.ClientPoint;
    // The border strip before the client area always drags the bar.
    bool inside = In.Vertical ? p.Y >= In.ClientRect.Top : p.X >= In.ClientRect.Left;
    if (inside) {
      if (In.OverButtons || In.OverMark) return {In.PlatformResult, 0};
      if (In.OverSizeGrip) return {HTBOTTOMRIGHT, int(HTBOTTOMRIGHT)};
    }
    return {HTCLIENT, 2};
  }
  if (In.PlatformResult == HTNOWHERE) {
    int frame = FloatingFrameHitCode(In.WindowRect, In.ScreenPoint, In.FrameWidth, In.FrameHeight);
    if (frame != HTNOWHERE) return {frame, frame};
    if (!In.Customizing && In.OverMark) return {HTCLIENT, 1};
    if (!In.Customizing && In.OverCloseButton)
      return In.CloseButtonHitTestDirect ? TdxBarHitTestResult{HTCLOSE, 1} : TdxBarHitTestResult{HTCLIENT, int(HTCLOSE)};
    return {HTCLIENT, 2};
  }
  if (In.PlatformResult == HTCLIENT) {
    if (overControl || In.OverButtons) return {HTCLIENT, 0};
    return {HTCLIENT, 2};
  }
  r.Code = int(In.PlatformResult);
  return r;
}

bool BarControlHasFloatingCaption(TdxBarControl* Control) {
  return Control && Control->DockingStyle() == dsNone && Control->HasFloatingCaption();
}

namespace {

bool IsSelectableControl(TdxBarItemControl* Control) {
  return Control && (Control->IsKeyNavigable() || Control->CanBeClicked());
}

TPoint CursorPos() {
  POINT p{};
  GetCursorPos(&p);
  return TPoint(p.x, p.y);
}

TRect WindowRectOf(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return TRect(r.left, r.top, r.right, r.bottom);
}

// Along and across of a size, for a vertical or a horizontal line of links.
int& AlongOf(TSize& S, bool Vertical) { return Vertical ? S.cy : S.cx; }
int& AcrossOf(TSize& S, bool Vertical) { return Vertical ? S.cx : S.cy; }

// Holds the links' recent-item count and puts it back, recalculating the view, when a
// computation changed it.
struct TRecentCountKeeper {
  TdxBarItemLinks* Links;
  TdxBarControl* Control;
  int Saved;
  TRecentCountKeeper(TdxBarItemLinks* L, TdxBarControl* C) : Links(L), Control(C), Saved(L ? L->RecentItemCount() : -1) {}
  ~TRecentCountKeeper() {
    if (Links && Links->RecentItemCount() != Saved) Links->SetRecentItemCount(Saved);
  }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// TdxBarDockedControl

TdxBarDockedControl::TdxBarDockedControl(TComponent* AOwner) : TCustomdxBarControl(AOwner) {}

TdxBarDockedControl::~TdxBarDockedControl() = default;

bool TdxBarDockedControl::IsOutsidePopupWindow() const { return true; }

int TdxBarDockedControl::CaptionButtonAt(const TPoint& P) const {
  return HasCaptionButtons() ? FBar->CaptionButtons()->ButtonAtPoint(P) : -1;
}

bool TdxBarDockedControl::HasCaptionButtons() const { return FBar && FBar->HasCaptionButtons(); }

void TdxBarDockedControl::ClickCaptionButton(int Index) {
  BeforeCaptionButtonClick();
  if (HasCaptionButtons() && Index >= 0 && Index < FBar->CaptionButtons()->Count())
    FBar->CaptionButtons()->ButtonByIndex(Index)->DoClick();
}

void TdxBarDockedControl::UpdateCaptionButtonStates(const TPoint& P, bool Pressed, int Index) {
  if (HasCaptionButtons()) FBar->CaptionButtons()->UpdateStatesAtPoint(P, Pressed);
}

void TdxBarDockedControl::MouseLeftBar() {
  TWeakLink<TCustomdxBarControl> self(this);
  TCustomdxBarControl::MouseLeftBar();
  if (self) UpdateCaptionButtonStates(TPoint(-1, -1), false, -1);
}

void TdxBarDockedControl::Resize() {
  TCustomdxBarControl::Resize();
  if (HasCaptionButtons()) CaptionButtonsResized();
}

void TdxBarDockedControl::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_NCLBUTTONDOWN) {
    TrackCaptionButton(Message);
    return;
  }
  TCustomdxBarControl::Dispatch(Message);
}

void TdxBarDockedControl::TrackCaptionButton(TMessage& Message) {
  TWeakLink<TCustomdxBarControl> self(this);
  if (IsOutsidePopupWindow()) CloseUp(dxbcrClick);
  if (!self || !WindowHandle()) return;
  auto pointInWindow = [this] {
    const TRect w = WindowRectOf(WindowHandle());
    const TPoint c = CursorPos();
    return TPoint(c.X - w.Left, c.Y - w.Top);
  };
  TPoint p = pointInWindow();
  const int index = CaptionButtonAt(p);
  if (index == -1) {
    TCustomdxBarControl::Dispatch(Message);
    return;
  }
  TdxBarManager* m = BarManager();
  if (m && !m->HideFloatingBarsWhenInactive)
    if (TCustomForm* f = m->NearestParentForm(); f && f->HandleAllocated()) SetActiveWindow(f->WindowHandle());
  if (!self) return;
  UpdateCaptionButtonStates(p, true, index);
  const HWND wnd = WindowHandle();
  SetCapture(wnd);
  bool released = false;
  try {
    MSG msg;
    while (self && GetCapture() == wnd) {
      BOOL got = GetMessage(&msg, nullptr, 0, 0);
      if (got == 0) {
        PostQuitMessage(int(msg.wParam));
        break;
      }
      if (got < 0) break;
      if (msg.message == WM_MOUSEMOVE) {
        p = pointInWindow();
        const TRect w = WindowRectOf(wnd);
        if (w.Contains(CursorPos())) {
          if (LastMousePosition() == TPoint(-1, -1)) MouseEnterBar({}, p, nullptr);
          SetLastMousePosition(CursorPos());
          UpdateCaptionButtonStates(p, true, index);
        }
      } else if (msg.message == WM_LBUTTONUP) {
        p = pointInWindow();
        released = CaptionButtonAt(p) == index;
        break;
      } else {
        TranslateMessage(&msg);
        DispatchMessage(&msg);
      }
    }
  } catch (...) {
    if (self) {
      if (GetCapture() == wnd) ReleaseCapture();
      UpdateCaptionButtonStates(p, false, index);
    }
    throw;
  }
  if (!self) return;
  if (GetCapture() == wnd) ReleaseCapture();
  UpdateCaptionButtonStates(p, false, index);
  if (self && released) ClickCaptionButton(index);
}

// ---------------------------------------------------------------------------------------------
// TdxBarControl: construction, window

TdxBarControl::TdxBarControl(TComponent* AOwner) : TdxBarDockedControl(AOwner) {}

TdxBarControl::~TdxBarControl() {
  SetState(dxbcsDestroying, true);
  if (TdxBar* bar = Bar())
    if (TdxBarManager* m = bar->BarManager(); m && DockingStyle() != dsNone)
      m->Bars()->UndockBarControl(DockingStyle(), DockControl(), this);
  if (DockControl()) DockControl()->RemoveBarControl(this, nullptr, false);
  DeactivateIfFocused();
}

void TdxBarControl::CreateParams(TCreateParams& Params) {
  TdxBarDockedControl::CreateParams(Params);
  const bool docked = DockingStyle() != dsNone;
  Params.Style = WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (docked ? WS_CHILD : WS_POPUP);
  // A floating bar is a small tool window of its form, kept out of the task list.
  Params.ExStyle = docked ? 0 : WS_EX_TOOLWINDOW;
  Params.WindowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  if (docked) {
    if (DockControl()) Params.WndParent = DockControl()->Handle();
  } else {
    HWND owner = nullptr;
    if (TdxBarManager* m = BarManager())
      if (TWinControl* c = m->ParentControl()) owner = c->Handle();
    Params.WndParent = owner;
  }
}

void TdxBarControl::CreateWnd() {
  TdxBarDockedControl::CreateWnd();
  std::string text;
  CaptionText(text);
  SetWindowText(WindowHandle(), text);
  SendMessage(WindowHandle(), WM_NCACTIVATE, 1, 0);
}

void TdxBarControl::WndProc(TMessage& Message) {
  if (Message.Msg == WM_SETFOCUS) return;
  if (Message.Msg == WM_CANCELMODE) CancelMDIButtons();
  if (Message.Msg == WM_LBUTTONDBLCLK && HitTestCode() == dxBarHitDragArea) {
    TdxBarManager* m = BarManager();
    if (!(m && m->IsDesigning())) {
      ToggleDocking();
      return;
    }
  }
  TdxBarDockedControl::WndProc(Message);
}

void TdxBarControl::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_DESTROY: {
      TdxDockControl* site = DockControl();
      TdxBarDockedControl::Dispatch(Message);
      (void)site;
      if (!IsLayoutLockedInternal() && !IsDestroying())
        if (TdxBar* bar = Bar(); bar && bar->Visible())
          if (TdxBarManager* m = bar->BarManager(); m && !m->IsDestroying() && bar->DockingStyle() == dsNone)
            bar->SetVisible(false);
      return;
    }
    case WM_SIZE:
      if (IsDestroying()) return;
      TdxBarDockedControl::Dispatch(Message);
      CalculateViewInfo();
      return;
    case WM_SETCURSOR:
      if (!FMoving && CanDragBar()) {
        TRect grip;
        GripRect(grip);
        const TPoint p = ScreenToClient(CursorPos());
        SetCursor(grip.Contains(p) ? crSizeAll : crDefault);
      }
      TdxBarDockedControl::Dispatch(Message);
      return;
    case WM_MOUSEACTIVATE:
      TdxBarDockedControl::Dispatch(Message);
      if (DockingStyle() == dsNone && !IsActive())
        SetWindowPos(WindowHandle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
      Message.Result = MA_NOACTIVATE;
      return;
    case WM_GETMINMAXINFO: {
      TdxBarDockedControl::Dispatch(Message);
      if (auto* mm = reinterpret_cast<MINMAXINFO*>(Message.LParam)) {
        mm->ptMinTrackSize = {10, 10};
        mm->ptMaxTrackSize = {30000, 30000};
        mm->ptMaxSize = {30000, 30000};
        mm->ptMaxPosition = {30000, 30000};
      }
      return;
    }
    case WM_WINDOWPOSCHANGING:
      if (DockingStyle() == dsNone)
        if (auto* pos = reinterpret_cast<WINDOWPOS*>(Message.LParam)) KeepOnScreen(pos);
      TdxBarDockedControl::Dispatch(Message);
      return;
    case WM_NCCALCSIZE: {
      TdxBarDockedControl::Dispatch(Message);
      if (!SwitchingDragMode()) FHasSizeGrip = Bar() && Bar()->ShowsSizeGrip();
      auto* r = reinterpret_cast<RECT*>(Message.LParam);
      const TRect b = BorderSizes(DockingStyle());
      r->left += b.Left;
      r->top += b.Top;
      r->right -= b.Right;
      r->bottom -= b.Bottom;
      Message.Result = 0;
      return;
    }
    case WM_NCHITTEST:
      HitTest(Message);
      return;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
      TWeakLink<TCustomdxBarControl> self(this);
      TdxBarDockedControl::Dispatch(Message);
      // The floating caption's buttons light up under the mouse.
      if (self && DockingStyle() == dsNone && GetCapture() != WindowHandle() && WindowHandle()) {
        const TRect w = WindowRectOf(WindowHandle());
        const TPoint c = CursorPos();
        UpdateCaptionButtonStates(TPoint(c.X - w.Left, c.Y - w.Top), false, -1);
      }
      return;
    }
    case WM_NCLBUTTONDOWN:
      if (DockingStyle() == dsNone && (Message.WParam == HTLEFT || Message.WParam == HTRIGHT ||
                                       Message.WParam == HTTOP || Message.WParam == HTBOTTOM)) {
        RunSizingLoop(int(Message.WParam));
        return;
      }
      TdxBarDockedControl::Dispatch(Message);
      return;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS | DLGC_WANTTAB | DLGC_WANTALLKEYS;
      return;
    case WM_SIZING: {
      if (DockingStyle() == dsNone)
        if (auto* r = reinterpret_cast<RECT*>(Message.LParam)) {
          TRect t(r->left, r->top, r->right, r->bottom);
          SizeFloating(int(Message.WParam), t);
          *r = RECT{t.Left, t.Top, t.Right, t.Bottom};
        }
      Message.Result = 1;
      return;
    }
    case CM_ENABLEDCHANGED:
      TdxBarDockedControl::Dispatch(Message);
      if (!IsLayoutLockedInternal()) RecalculateBar();
      return;
    case CM_FONTCHANGED:
      UpdateFont();
      if (WindowHandle()) {
        UpdateMetrics();
        if (!IsLayoutLockedInternal()) {
          SelectItemControl(nullptr);
          RecalculateBar();
        }
      }
      TdxBarDockedControl::Dispatch(Message);
      return;
    default:
      TdxBarDockedControl::Dispatch(Message);
  }
}

void TdxBarControl::HitTest(TMessage& Message) {
  TdxBarDockedControl::Dispatch(Message);
  TdxBarHitTestInput in;
  // Our window layer calls a frame without a role HTBORDER where the platform says HTNOWHERE.
  in.PlatformResult = Message.Result == HTBORDER ? HTNOWHERE : Message.Result;
  in.KeepsPlatformResult = (NavigationFlags() & 128) != 0;
  in.Floating = DockingStyle() == dsNone;
  in.Vertical = IsVerticalBar();
  in.Customizing = IsCustomizing();
  const TPoint screen(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam));
  const TPoint p = ScreenToClient(screen);
  in.ClientPoint = p;
  in.ClientRect = ClientRect();
  TdxBarItemControl* c = in.ClientRect.Contains(p) ? ItemControlAt(p) : nullptr;
  in.OverAnyControl = c != nullptr;
  in.OverSelectableControl = IsSelectableControl(c);
  TRect mark;
  MarkRect(mark);
  in.OverMark = HasMark() && mark.Contains(p);
  // The MDI buttons (and the main menu's lone close button) are never a drag area, greyed or not.
  if (ShowsCloseButton())
    for (int i = HasMDIButtons() ? 0 : 2; i <= 2 && !in.OverButtons; ++i) in.OverButtons = MDIButtonRect(i).Contains(p);
  in.ScreenPoint = screen;
  in.WindowRect = WindowRectOf(WindowHandle());
  if (TdxBarPainter* painter = Painter()) {
    in.FrameWidth = painter->FloatingFrameWidth();
    in.FrameHeight = painter->FloatingFrameHeight();
    in.CloseButtonHitTestDirect = painter->CloseButtonHitTestDirect();
  }
  const TPoint inWindow(screen.X - in.WindowRect.Left, screen.Y - in.WindowRect.Top);
  in.OverCloseButton = (HasCloseButton() && CloseButtonRect().Contains(inWindow)) ||
                       (DockingStyle() == dsNone && HasCaptionButtons() && CaptionButtonAt(inWindow) >= 0);
  if (FHasSizeGrip && Bar() && Bar()->IsBottomWholeRowBar()) {
    if (TdxBarPainter* painter = Painter()) {
      const TSize g = painter->SizeGripSize(BarManager());
      in.OverSizeGrip = p.X >= in.ClientRect.Right && p.Y >= in.WindowRect.Height() - g.cy - ClientOriginInWindow().Y;
    }
  }
  const TdxBarHitTestResult r = ToolbarHitTest(in);
  SetHitTestCode(r.Code);
  Message.Result = r.Result;
}

void TdxBarControl::KeepOnScreen(WINDOWPOS* Pos) {
  if ((Pos->flags & (SWP_NOMOVE | SWP_NOSIZE)) == (SWP_NOMOVE | SWP_NOSIZE)) return;
  const TRect cur = WindowHandle() ? WindowRectOf(WindowHandle()) : BoundsRect();
  TPoint at = Pos->flags & SWP_NOMOVE ? cur.TopLeft() : TPoint(Pos->x, Pos->y);
  TSize size = Pos->flags & SWP_NOSIZE ? TSize{cur.Width(), cur.Height()} : TSize{Pos->cx, Pos->cy};
  TRect r = Bounds(at.X, at.Y, size.cx, size.cy);
  RECT rr{r.Left, r.Top, r.Right, r.Bottom};
  if (MonitorFromRect(&rr, MONITOR_DEFAULTTONULL)) return;
  const TPoint c = CursorPos();
  MONITORINFO mi;
  if (!GetMonitorInfo(MonitorFromPoint(POINT{c.X, c.Y}, MONITOR_DEFAULTTONEAREST), &mi)) return;
  const TRect work(mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom);
  if (PlaceInWorkArea(r, {}, work)) {
    Pos->x = r.Left;
    Pos->y = r.Top;
    Pos->flags &= ~UINT(SWP_NOMOVE);
  }
}

void TdxBarControl::SizeFloating(int Edge, TRect& R) {
  TdxBar* bar = Bar();
  if (!bar) return;
  const int hb = bar->HorzBorderSize(dsNone), vb = bar->VertBorderSize(dsNone);
  TSize s{0, 0};
  switch (WPARAM(Edge)) {
    case WMSZ_LEFT:
    case WMSZ_RIGHT:
      CalcSizeForWidth(dsNone, R.Width() - hb, s);
      if (Edge == WMSZ_LEFT) R.Left = R.Right - (s.cx + hb);
      else R.Right = R.Left + s.cx + hb;
      R.Bottom = R.Top + s.cy + vb;
      break;
    case WMSZ_TOP:
    case WMSZ_BOTTOM:
      CalcSizeForHeight(dsNone, R.Height() - vb, s);
      R.Right = R.Left + s.cx + hb;
      if (Edge == WMSZ_TOP) R.Top = R.Bottom - (s.cy + vb);
      else R.Bottom = R.Top + s.cy + vb;
      break;
    default:
      R = WindowHandle() ? WindowRectOf(WindowHandle()) : BoundsRect();
      break;
  }
  // The caption stays reachable: at most 15 pixels above the work area of the bar's own monitor.
  RECT rr{R.Left, R.Top, R.Right, R.Bottom};
  MONITORINFO mi;
  if (GetMonitorInfo(MonitorFromRect(&rr, MONITOR_DEFAULTTONEAREST), &mi)) {
    const int top = LimitFloatingTop(R.Top, TRect(mi.rcWork.left, mi.rcWork.top, mi.rcWork.right, mi.rcWork.bottom));
    R = R.Offset(0, top - R.Top);
  }
}

// ---------------------------------------------------------------------------------------------
// plain answers

bool TdxBarControl::CanDragBar() const { return Bar() && Bar()->IsDockable(); }

bool TdxBarControl::IsShowing() const {
  return WindowHandle() && ::IsWindowEnabled(WindowHandle()) && IsWindowVisible(WindowHandle());
}

void TdxBarControl::MarkHintText(std::string& Text) const { Text = LoadLocalizableResString(&dxSBAR_MOREBUTTONS); }

bool TdxBarControl::IsMultiLineLayout() const {
  return DockingStyle() == dsNone || (Bar() && Bar()->MultiLine());
}

bool TdxBarControl::AllowsQuickCustomizing() const { return Bar() && Bar()->AllowQuickCustomizing(); }

bool TdxBarControl::HasCloseButton() const { return DockingStyle() == dsNone && Bar() && Bar()->CanBeClosed(); }

bool TdxBarControl::ShowsCloseButton() const {
  TdxBarManager* m = BarManager();
  return HasMDIButtons() || (Bar() && Bar()->IsMainMenu() && m && m->ShowCloseButton);
}

int TdxBarControl::MDIAlongSize() const {
  if (!ShowsCloseButton()) return 0;
  TSize s = MDIButtonsSize();
  return IsVerticalBar() ? s.cy : s.cx;
}

int TdxBarControl::MDIAcrossSize() const {
  if (!ShowsCloseButton()) return 0;
  TSize s = MDIButtonsSize();
  return IsVerticalBar() ? s.cx : s.cy;
}

void TdxBarControl::GripRect(TRect& R) const {
  R = TRect();
  if (DockingStyle() == dsNone || !Bar() || Bar()->BorderStyle() == bbsNone) return;
  R = IsHorizontal() ? TRect(-100, -100, 0, 100) : TRect(-100, -100, 100, 0);
}

void TdxBarControl::UpdateCaption() {
  if (!WindowHandle()) return;
  std::string text;
  CaptionText(text);
  SetWindowText(WindowHandle(), text);
  SendMessage(WindowHandle(), WM_NCPAINT, 1, 0);
}

void TdxBarControl::CaptionText(std::string& Text) const { Text = Bar() ? Bar()->Caption() : std::string(); }

TFont* TdxBarControl::BarFont() const {
  TdxBarManager* m = BarManager();
  return m ? m->Font() : nullptr;
}

bool TdxBarControl::AllowsCustomizingHits() const {
  return TdxBarDockedControl::AllowsCustomizingHits() || (Bar() && Bar()->AllowCustomizing());
}

bool TdxBarControl::CanHotTrack(const TPoint& P, TdxBarItemControl* Control) const {
  return !IsActive() || Control != nullptr;
}

bool TdxBarControl::IsLayoutLocked() const {
  bool locked = TdxBarDockedControl::IsLayoutLocked();
  if (locked && Bar()) Bar()->MarkChanged();
  return locked;
}

bool TdxBarControl::NotFloatingFlat() const {
  TdxBarManager* m = BarManager();
  return DockingStyle() != dsNone || !(m && m->Style() == bmsFlat);
}

void TdxBarControl::RequestDeferredRecalc() {
  TdxBarManager* m = BarManager();
  if (m && m->HasRecentItemsStyle() && DockingStyle() != dsNone && WindowHandle())
    PostMessage(WindowHandle(), WM_DXBAR_DEFERREDRECALC, 0, 0);
}

int TdxBarControl::GroupIndent() const {
  TdxBarPainter* p = Painter();
  return p ? p->BarSeparatorSize() : 6;
}

bool TdxBarControl::FadingEnabled() const {
  TdxBarPainter* p = Painter();
  return p && p->SupportsFading() && Fader();
}

bool TdxBarControl::IsMainMenu() const { return Bar() && Bar()->IsMainMenu(); }

bool TdxBarControl::IsStatusBarLike() const { return Bar() && Bar()->IsBottomWholeRowBar(); }

bool TdxBarControl::ShowsGrip() const {
  return TCustomdxBarControl::ShowsGrip() && Bar() && Bar()->BorderStyle() != bbsNone;
}

TCustomForm* TdxBarControl::OwnerForm() const {
  for (TControl* c = DockControl(); c; c = c->Parent())
    if (auto* f = dynamic_cast<TCustomForm*>(c)) return f;
  TdxBarManager* m = BarManager();
  return m ? m->NearestParentForm() : nullptr;
}

HBRUSH TdxBarControl::BackgroundBrush() const {
  TdxBarPainter* p = Painter();
  return p ? p->ToolbarBrush(const_cast<TdxBarControl*>(this)) : TdxBarDockedControl::BackgroundBrush();
}

TCustomdxBarControlViewInfo* TdxBarControl::CreateViewInfo() { return new TdxBarControlViewInfo(this); }

void TdxBarControl::MouseTrackingBounds(TRect& R) const {
  TdxBarDockedControl::MouseTrackingBounds(R);
  if (WindowHandle()) R = WindowRectOf(WindowHandle());
  if (TdxDockControl* site = DockControl(); site && DockingStyle() != dsNone && site->HandleAllocated()) {
    const TPoint o = site->ClientOrigin();
    TRect s = Bounds(o.X, o.Y, site->ClientWidth(), site->ClientHeight());
    TRect common;
    R = IntersectRect(common, R, s) ? common : TRect();
  }
}

bool TdxBarControl::HasMark() const {
  TdxBar* bar = Bar();
  if (!bar || !bar->ShowMark() || DockingStyle() == dsNone) return false;
  if (FTruncated) return true;
  TdxBarPainter* p = Painter();
  return p && p->AllowsQuickCustomizing() && bar->AllowQuickCustomizing();
}

void TdxBarControl::MarkRect(TRect& R) const {
  TdxBarPainter* p = Painter();
  R = p && HasMark() ? p->MarkRect(const_cast<TdxBarControl*>(this)) : TRect();
}

bool TdxBarControl::IgnoresMouse(bool SamePositionCounts) const {
  if (TdxBarDockedControl::IgnoresMouse(SamePositionCounts)) return true;
  if (DockingStyle() == dsNone) return false;
  TCustomForm* f = OwnerForm();
  if (!f || f->Active()) return false;
  // The form is not active: only a window below the manager's owner control keeps the bar live.
  HWND active = GetActiveWindow();
  TdxBarManager* m = BarManager();
  TWinControl* owner = m ? m->ParentControl() : nullptr;
  return !(active && owner && owner->HandleAllocated() &&
           (active == owner->WindowHandle() || IsChild(owner->WindowHandle(), active)));
}

void TdxBarControl::SetDockingStyle(TdxBarDockingStyle Style) {
  if (Style != DockingStyle()) FTruncated = false;
  TdxBarDockedControl::SetDockingStyle(Style);
}

void TdxBarControl::InitFont() {
  if (TFont* f = BarFont()) Font()->Assign(f);
}

void TdxBarControl::ApplyTransparency() {
  if (!WindowHandle()) return;
  BYTE alpha = 255;
  if (Bar() && (FMoving || (DockingStyle() == dsNone && !IsInternalPopup()))) alpha = Bar()->AlphaBlendValue();
  SetWindowAlphaBlend(WindowHandle(), alpha);
}

void TdxBarControl::InvalidateItemControl(TdxBarItemControl* Control) {
  if (!Control || !WindowHandle()) return;
  TRect r;
  ItemRect(Control, r);
  RECT rr{r.Left, r.Top, r.Right, r.Bottom};
  InvalidateRect(WindowHandle(), &rr, FALSE);
}

bool TdxBarControl::NeedsNCPaint() const {
  if (!WindowHandle() || IsDestroying()) return false;
  const TRect w = WindowRectOf(WindowHandle());
  const TRect c = ClientRect();
  return c.Width() != w.Width() || c.Height() != w.Height();
}

bool TdxBarControl::HasBackgroundImage() const {
  if (TdxBarDockedControl::HasBackgroundImage()) return true;
  TdxBarManager* m = BarManager();
  return m && m->Backgrounds()->Bar() && !m->Backgrounds()->Bar()->Empty();
}

bool TdxBarControl::IsDockedOnColored() const {
  if (Bar() && Bar()->Color() != clDefault) return true;
  if (HasBackgroundImage() || TdxBarDockedControl::IsDockedOnColored()) return true;
  TdxBarPainter* p = Painter();
  return p && p->BarBackgroundAtOnce();
}

TPoint TdxBarControl::ClientOriginInWindow() const {
  if (!WindowHandle()) return TPoint();
  const TRect w = WindowRectOf(WindowHandle());
  const TPoint o = ClientOrigin();
  return TPoint(o.X - w.Left, o.Y - w.Top);
}

void TdxBarControl::CloseAndFree() {
  if (WindowHandle())
    SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
  if (auto* w = dynamic_cast<TdxBarWinControl*>(SelectedControl())) w->HideInnerWindow(true);
}

bool TdxBarControl::IsRotated() const { return IsVerticalBar() && Bar() && Bar()->RotateWhenVertical(); }

void TdxBarControl::UpdateMetrics() {
  TdxBarDockedControl::UpdateMetrics();
  if (TdxBarPainter* p = Painter()) SetMarkSizeField(p->MarkSize(this));
}

TRect TdxBarControl::BorderSizes(TdxBarDockingStyle Style) const {
  TdxBarPainter* p = Painter();
  if (!p || !Bar()) return TRect();
  return p->BarBorderSizes(Bar(), Style, Bar()->ShowsSizeGrip());
}

// ---------------------------------------------------------------------------------------------
// input

void TdxBarControl::HandleKey(WORD& Key, TShiftState Shift) {
  if (Key == VK_ESCAPE) {
    Key = 0;
    CloseByKey();
    return;
  }
  TdxBarDockedControl::HandleKey(Key, Shift);
}

void TdxBarControl::MouseDownOnBar(TMouseButton Button, TShiftState Shift, bool InClient,
                                   TdxBarItemControl* Control, const TPoint& P) {
  TWeakLink<TCustomdxBarControl> self(this);
  TdxBarManager* m = BarManager();
  if (Button == mbLeft) {
    if (m && !m->HideFloatingBarsWhenInactive && DockingStyle() == dsNone && !IsInternalPopup())
      if (TWinControl* owner = m->ParentControl(); owner && owner->HandleAllocated())
        SetActiveWindow(GetAncestor(owner->WindowHandle(), GA_ROOT));
  } else if (Button == mbRight) {
    ReleaseCapture();
  }
  if (!self) return;
  TdxBarDockedControl::MouseDownOnBar(Button, Shift, InClient, Control, P);
  if (!self || Button != mbLeft) return;
  if (ShowsCloseButton() && !IsCustomizing() && MDIButtonPressedAt(P)) return;
  if (!self) return;
  if (HitTestCode() == dxBarHitDragArea) {
    if (WindowHandle()) {
      const TRect w = WindowRectOf(WindowHandle());
      const TPoint c = CursorPos();
      FGrabPoint = TPoint(c.X - w.Left, c.Y - w.Top);
      FGrabSize = TSize{w.Width(), w.Height()};
    }
    if (m && CanDragBar()) m->Bars()->RunBarMoveLoop(this);
    return;
  }
  if (!IsCustomizing() && !InClient && HitTestCode() != dxBarHitNone && HitTestCode() != dxBarHitItem && WindowHandle()) {
    const TPoint c = CursorPos();
    SendMessage(WindowHandle(), WM_NCLBUTTONDOWN, WPARAM(HitTestCode()), MAKELPARAM(c.X, c.Y));
  }
}

void TdxBarControl::ItemMouseDown(TdxBarItemControl* Control) {
  TWeakLink<TCustomdxBarControl> self(this);
  if (Control && Control->IsEnabled() && IsSelectableControl(Control) && !IsCustomizing() && WindowHandle()) {
    // A press on a toolbar puts it into its active state: a control with a menu drops it down
    // (menu mode), any other holds the mouse until the button comes up over it or elsewhere.
    if (!IsActive()) Activate(Control);
    if (!self) return;
    if (Control->HasDropDown()) {
      SetDowned(true);
    } else {
      SetClickedControl(Control);
      SetCapture(WindowHandle());
    }
  }
  TdxBarDockedControl::ItemMouseDown(Control);
}

void TdxBarControl::Activate(TdxBarItemControl* Control) {
  TWeakLink<TCustomdxBarControl> self(this);
  for (int i = 0; i < LiveBarControlCount(); ++i)
    if (TCustomdxBarControl* c = LiveBarControl(i); c != this && c->IsMouseOverWindow()) c->MouseLeave();
  FFocusBeforeActivation = GetFocus();
  TdxBarManager* m = BarManager();
  if (!IsCustomizing())
    if (TCustomForm* f = OwnerForm(); f && f->HandleAllocated() && !f->Active())
      SetActiveWindow(f->WindowHandle());
  if (!self) return;
  if (!Control && ItemLinks())
    for (TdxBarItemLink* l = ItemLinks()->FirstSelectableLink(); l; l = ItemLinks()->NextSelectableLink(l))
      if (l->Control()) {
        Control = l->Control();
        break;
      }
  TdxBarDockedControl::Activate(Control);
  if (!self || !m) return;
  if (m->KeyboardBarControl() != this) {
    FPreviousKeyboardBar = m->KeyboardBarControl();
    m->SetKeyboardBarControl(this);
  }
}

// A toolbar that is down (a menu of it open) opens the menu of the entry the keys move to; when it
// is only selected, the move just selects.
void TdxBarControl::KeySelectItemControl(TdxBarItemControl* Control) {
  TdxBarItemControl* old = SelectedControl();
  TWeakLink<TCustomdxBarControl> self(this);
  TdxBarDockedControl::KeySelectItemControl(Control);
  // While the bar is being activated the selection comes first; the menu opens once it is active.
  if (!self || !IsActive() || !Control || Control == old || SelectedControl() != Control || Control->Active() ||
      IsCustomizing())
    return;
  if (dynamic_cast<TdxBarSubItemControl*>(Control))
    Control->DoClick(false, false);
  else
    Control->EnterActiveState(false, false);
}

void TdxBarControl::Deactivate() {
  TWeakLink<TCustomdxBarControl> self(this);
  TdxBarManager* m = BarManager();
  if (m && m->KeyboardBarControl() == this) m->SetKeyboardBarControl(FPreviousKeyboardBar.get());
  FPreviousKeyboardBar = nullptr;
  SetDowned(false);
  TdxBarDockedControl::Deactivate();
  if (!self) return;
  if (m && RetracksAfterDeactivation()) m->PostHotTrackMouseMove(nullptr);
  HWND focus = FFocusBeforeActivation;
  FFocusBeforeActivation = nullptr;
  TCustomForm* f = OwnerForm();
  if (focus && IsWindow(focus) && IsWindowVisible(focus) && f && f->Active() && GetFocus() != focus) ::SetFocus(focus);
}

void TdxBarControl::DoCloseUp(int Reason) {
  TWeakLink<TCustomdxBarControl> self(this);
  DeactivateIfFocused();
  if (!self) return;
  SetDowned(false);
  TdxBarDockedControl::DoCloseUp(Reason);
}

void TdxBarControl::CustomizingClick(TdxBarItemControl* Control, TMouseButton Button, TShiftState Shift) {
  if (!Control) ChangeActive(false);
  TdxBarDockedControl::CustomizingClick(Control, Button, Shift);
}

TRect TdxBarControl::CloseButtonRect() const {
  TdxBarPainter* p = Painter();
  if (!p || !WindowHandle()) return TRect();
  const TRect w = WindowRectOf(WindowHandle());
  TRect caption = p->FloatingCaptionRect(const_cast<TdxBarControl*>(this), TRect(0, 0, w.Width(), w.Height()));
  caption.Left = caption.Right - p->SmallCaptionHeight();
  const TSize s = p->CloseButtonSize();
  const int x = caption.Left + (caption.Width() - s.cx) / 2, y = caption.Top + (caption.Height() - s.cy) / 2;
  return Bounds(x, y, s.cx, s.cy);
}

void TdxBarControl::LayoutCaptionButtons() {
  if (!Bar() || !Bar()->HasCaptionButtons()) return;
  TdxBarCaptionButtons* buttons = Bar()->CaptionButtons();
  TdxBarPainter* p = Painter();
  const bool placed = p && WindowHandle() && DockingStyle() == dsNone && HasFloatingCaption();
  TRect caption;
  if (placed) {
    const TRect w = WindowRectOf(WindowHandle());
    caption = p->FloatingCaptionRect(this, TRect(0, 0, w.Width(), w.Height()));
    if (HasCloseButton()) caption.Right -= p->SmallCaptionHeight();
  }
  const TSize s = p ? p->CloseButtonSize() : TSize{0, 0};
  const int cell = p ? p->SmallCaptionHeight() : 0;
  int right = caption.Right;
  for (int i = 0; i < buttons->Count(); ++i) {
    TdxBarCaptionButton* b = buttons->ButtonByIndex(i);
    if (!placed || right - cell < caption.Left) {
      b->Rect = TRect();
      continue;
    }
    const int x = right - cell + (cell - s.cx) / 2, y = caption.Top + (caption.Height() - s.cy) / 2;
    b->Rect = Bounds(x, y, s.cx, s.cy);
    right -= cell;
  }
}

int TdxBarControl::CaptionButtonAt(const TPoint& P) const {
  if (HasCloseButton() && CloseButtonRect().Contains(P)) return dxBarCloseButtonIndex;
  return TdxBarDockedControl::CaptionButtonAt(P);
}

void TdxBarControl::UpdateCaptionButtonStates(const TPoint& P, bool Pressed, int Index) {
  TdxBarDockedControl::UpdateCaptionButtonStates(P, Pressed, Index);
  if (!HasCloseButton()) return;
  const bool over = CloseButtonRect().Contains(P);
  int state = over ? (Pressed ? 2 : 1) : (Pressed ? 1 : 0);
  if (Index != dxBarCloseButtonIndex && Pressed) state = 0;
  if (state == FCloseButtonState) return;
  FCloseButtonState = state;
  if (WindowHandle()) {
    HDC dc = GetWindowDC(WindowHandle());
    DrawCloseButton(dc);
    ReleaseDC(WindowHandle(), dc);
  }
}

void TdxBarControl::ClickCaptionButton(int Index) {
  if (Index != dxBarCloseButtonIndex) {
    TdxBarDockedControl::ClickCaptionButton(Index);
    return;
  }
  TdxBar* bar = Bar();
  if (!bar) return;
  TdxBarManager* m = bar->BarManager();
  bar->SetVisible(false);
  if (m) {
    m->NotifyDesignerModified();
    if (m->OnBarClose) m->OnBarClose(m, bar);
  }
}

// ---------------------------------------------------------------------------------------------
// layout

void TdxBarControl::EnsureLinkControls() {
  if (!ItemLinks()) return;
  for (TdxBarItemLink* l : ItemLinks()->ShowableLinks())
    if (!l->Control()) l->CreateControl();
}

void TdxBarControl::MeasureLinks(std::vector<TdxBarItemLink*>& Links, std::vector<TdxBarLayoutLink>& Out) {
  Links.clear();
  Out.clear();
  if (!ItemLinks()) return;
  EnsureLinkControls();
  const bool vertical = IsVerticalBar();
  for (TdxBarItemLink* l : ItemLinks()->ShownLinks()) {
    TdxBarItemControl* c = l->Control();
    if (!c) continue;
    TdxBarLayoutLink x;
    const int w = c->LayoutWidth(), h = c->LayoutHeight();
    x.Along = vertical ? h : w;
    x.Across = vertical ? w : h;
    x.BeginsGroup = l->BeginGroup();
    x.Align = c->EffectiveAlign();
    x.MinAlong = std::max(1, vertical ? c->MinHeight() : c->MinWidth());
    auto it = FPlaces.find(l);
    x.StartsNewLine = it != FPlaces.end() && it->second.StartsNewLine;
    Links.push_back(l);
    Out.push_back(x);
  }
}

namespace {

// The size of a bar without links: room for one small glyph and one line of text.
TSize EmptyBarSize(TdxBarControl* Bar) {
  TdxBarPainter* p = Bar->Painter();
  const int w = p ? p->GlyphAreaWidth(16) : 23;
  const int h = std::max(p ? p->GlyphAreaHeight(16) : 22, Bar->TextSize());
  return TSize{w, h};
}

}  // namespace

int TdxBarControl::MinWidth(TdxBarDockingStyle Style) {
  TRecentCountKeeper keep(ItemLinks(), this);
  const bool vertical = IsVerticalStyle(Style), multi = IsMultiLineLayout();
  const TSize mdi = ShowsCloseButton() ? MDIButtonsSize() : TSize{0, 0};
  std::vector<TdxBarItemLink*> links;
  std::vector<TdxBarLayoutLink> sizes;
  if (ItemLinks()) ItemLinks()->SetRecentItemCount(-1);
  MeasureLinks(links, sizes);
  int w = 0;
  if (vertical || multi) {
    for (const TdxBarLayoutLink& s : sizes) w = std::max(w, vertical ? s.Across : s.Along);
    if (sizes.empty() && Style != dsNone) w = EmptyBarSize(this).cx;
    w = std::max(w, mdi.cx);
    if (Style == dsNone) {
      TdxBarPainter* p = Painter();
      const int close = HasCloseButton() && p ? p->CloseButtonSize().cx : 0;
      w = std::max({w, MarkSizeField() + close, 51});
    }
  } else {
    w = sizes.empty() ? EmptyBarSize(this).cx : sizes.front().Along;
    w += mdi.cx;
  }
  if (Style == dsTop || Style == dsBottom) w += MarkSize();
  return w;
}

int TdxBarControl::MinHeight(TdxBarDockingStyle Style) {
  TRecentCountKeeper keep(ItemLinks(), this);
  const bool vertical = IsVerticalStyle(Style), multi = IsMultiLineLayout();
  const TSize mdi = ShowsCloseButton() ? MDIButtonsSize() : TSize{0, 0};
  std::vector<TdxBarItemLink*> links;
  std::vector<TdxBarLayoutLink> sizes;
  if (ItemLinks()) ItemLinks()->SetRecentItemCount(-1);
  MeasureLinks(links, sizes);
  int h = 0;
  if (!vertical || multi) {
    for (const TdxBarLayoutLink& s : sizes) h = std::max(h, vertical ? s.Along : s.Across);
    if (sizes.empty() && Style != dsNone) h = EmptyBarSize(this).cy;
    h = std::max(h, mdi.cy);
  } else {
    h = sizes.empty() ? EmptyBarSize(this).cy : sizes.front().Along;
    h += mdi.cy;
  }
  if (Style == dsLeft || Style == dsRight) h += MarkSize();
  return h;
}

int TdxBarControl::MaxWidth(TdxBarDockingStyle Style) { return MaxExtent(Style, true); }

int TdxBarControl::MaxHeight(TdxBarDockingStyle Style) { return MaxExtent(Style, false); }

int TdxBarControl::MaxExtent(TdxBarDockingStyle Style, bool Width) {
  int extent = 0;
  {
    TRecentCountKeeper keep(ItemLinks(), this);
    const bool vertical = IsVerticalStyle(Style), multi = IsMultiLineLayout();
    const TSize mdi = ShowsCloseButton() ? MDIButtonsSize() : TSize{0, 0};
    std::vector<TdxBarItemLink*> links;
    std::vector<TdxBarLayoutLink> sizes;
    if (ItemLinks()) ItemLinks()->SetRecentItemCount(-1);
    MeasureLinks(links, sizes);
    // A link's extent in the asked direction: along the bar when the bar runs that way.
    auto linkExtent = [&](const TdxBarLayoutLink& s) { return Width != vertical ? s.Along : s.Across; };
    // The links follow one another in the asked direction when the bar runs that way or wraps.
    if (Width != vertical || multi) {
      for (size_t i = 0; i < sizes.size(); ++i)
        extent += (sizes[i].BeginsGroup && i > 0 ? GroupIndent() : 0) + linkExtent(sizes[i]);
      extent += Width ? mdi.cx : mdi.cy;
      const bool markAlong = Width ? Style == dsTop || Style == dsBottom : Style == dsLeft || Style == dsRight;
      if (markAlong) extent += MarkSize();
    } else {
      for (const TdxBarLayoutLink& s : sizes) extent = std::max(extent, linkExtent(s));
      extent = std::max(extent, Width ? mdi.cx : mdi.cy);
    }
  }
  return std::max(extent, Width ? MinWidth(Style) : MinHeight(Style));
}

void TdxBarControl::FitLength(int Length, TSize& Size, bool& Truncated) {
  std::vector<TdxBarItemLink*> links;
  std::vector<TdxBarLayoutLink> sizes;
  MeasureLinks(links, sizes);
  int along = 0, across = 0;
  Truncated = FitLinksInLength(sizes, GroupIndent(), Length, along, across);
  const bool vertical = IsVerticalBar();
  AlongOf(Size, vertical) = along;
  AcrossOf(Size, vertical) = across;
}

void TdxBarControl::WrapLength(bool SubtractMark, int Length, TSize& Size) {
  std::vector<TdxBarItemLink*> links;
  std::vector<TdxBarLayoutLink> sizes;
  MeasureLinks(links, sizes);
  const bool vertical = IsVerticalBar();
  TdxBarWrapExtras extras;
  extras.MarkSize = MarkSize();
  extras.MdiAlong = MDIAlongSize();
  extras.MdiAcross = MDIAcrossSize();
  int along = AlongOf(Size, vertical), across = AcrossOf(Size, vertical);
  WrapLinksToLength(sizes, GroupIndent(), SubtractMark, Length, extras, along, across);
  for (size_t i = 0; i < links.size(); ++i) FPlaces[links[i]].StartsNewLine = sizes[i].StartsNewLine;
  AlongOf(Size, vertical) = along;
  AcrossOf(Size, vertical) = across;
}

void TdxBarControl::CalcSizeAlong(TdxBarDockingStyle Style, int Length, bool AlongIsWidth, TSize& Size) {
  TdxBarItemLinks* links = ItemLinks();
  const bool vertical = IsVerticalStyle(Style);
  Size = TSize{MinWidth(Style), MinHeight(Style)};
  if (IsMultiLineLayout()) {
    const bool docked = Style != dsNone;
    if (AlongIsWidth != vertical) {
      WrapLength(docked, Length, Size);
      return;
    }
    // The length lies across the lines: from the longest layout, the lines are shortened one
    // pixel at a time until they are as thick as asked or cannot get shorter.
    int along = vertical ? MaxHeight(Style) : MaxWidth(Style);
    TSize last = Size;
    for (;;) {
      TSize s{MinWidth(Style), MinHeight(Style)};
      WrapLength(docked, along, s);
      const bool shrank = !(last.cx == s.cx && last.cy == s.cy) || along == (vertical ? MaxHeight(Style) : MaxWidth(Style));
      last = s;
      if (AcrossOf(s, vertical) >= Length || !shrank || along <= 1) break;
      const int before = AlongOf(s, vertical);
      along = std::min(along, before) - 1;
      if (along < AlongOf(Size, vertical)) break;
    }
    Size = last;
    return;
  }
  const int saved = links ? links->RecentItemCount() : -1;
  if (links) links->SetRecentItemCount(-1);
  if (links) links->SetRecentItemCount(saved);
  int length = std::max(Length, AlongOf(Size, vertical)) - MDIAlongSize();
  if (links) links->SetRecentItemCount(-1);
  if (!links || links->ShowableLinks().empty()) return;
  length -= MarkSize();
  TSize fit{0, 0};
  bool truncated = false;
  TdxBarManager* m = BarManager();
  if (!links->UsesRecentItems() || (m && m->IsDesigning())) {
    FitLength(length, fit, truncated);
  } else {
    const int n = int(links->ShowableLinks().size());
    TSize previous{0, 0};
    int count = -1;
    for (int k = 1; k <= n; ++k) {
      links->SetRecentItemCount(k);
      FitLength(length, fit, truncated);
      if (truncated) {
        count = std::max(1, k - 1);
        fit = k > 1 ? previous : fit;
        break;
      }
      previous = fit;
    }
    links->SetRecentItemCount(count);
  }
  int along = AlongOf(fit, vertical) + MarkSize();
  AlongOf(Size, vertical) = std::max(AlongOf(Size, vertical), along);
  AcrossOf(Size, vertical) = AcrossOf(fit, vertical);
  if (ShowsCloseButton()) {
    AlongOf(Size, vertical) += MDIAlongSize();
    AcrossOf(Size, vertical) = std::max(AcrossOf(Size, vertical), MDIAcrossSize());
  }
}

void TdxBarControl::CalcSizeForWidth(TdxBarDockingStyle Style, int Width, TSize& Size) {
  if (IsVerticalStyle(Style) && !IsMultiLineLayout()) {
    Size = TSize{MinWidth(Style), MaxHeight(Style)};
    return;
  }
  CalcSizeAlong(Style, Width, true, Size);
}

void TdxBarControl::CalcSizeForHeight(TdxBarDockingStyle Style, int Height, TSize& Size) {
  if (!IsVerticalStyle(Style) && !IsMultiLineLayout()) {
    Size = TSize{MaxWidth(Style), MinHeight(Style)};
    return;
  }
  CalcSizeAlong(Style, Height, false, Size);
}

void TdxBarControl::CalcSizeForDockingStyle(TdxBarDockingStyle Style, TSize& Size) {
  if (NavigationFlags() & 128) Style = dsNone;
  TdxBar* bar = Bar();
  Size = TSize{0, 0};
  if (!bar) return;
  const int hb = bar->HorzBorderSize(Style), vb = bar->VertBorderSize(Style);
  TdxDockControl* site = DockingStyle() == Style ? DockControl() : bar->CurrentDockSite();
  if (!site && bar->BarManager()) site = bar->BarManager()->Bars()->DockControls(Style);
  const bool whole = bar->WholeRow() && site;
  switch (Style) {
    case dsNone:
      CalcSizeForWidth(dsNone, bar->FloatClientWidth(), Size);
      Size.cx += hb;
      Size.cy += vb;
      break;
    case dsLeft:
    case dsRight: {
      const int h = whole ? site->ClientHeight() - vb : MaxHeight(Style);
      CalcSizeForHeight(Style, h, Size);
      Size.cx += hb;
      Size.cy = whole ? site->ClientHeight() : Size.cy + vb;
      break;
    }
    default: {
      const int w = whole ? site->ClientWidth() - hb : MaxWidth(Style);
      CalcSizeForWidth(Style, w, Size);
      Size.cx = whole ? site->ClientWidth() : Size.cx + hb;
      Size.cy += vb;
      break;
    }
  }
}

void TdxBarControl::CalcLayout() {
  TdxBarDockedControl::CalcLayout();
  PlaceItemControls(ItemOrientation(), 0);
}

void TdxBarControl::ArrangeLinks() {
  const bool multi = IsMultiLineLayout(), vertical = IsVerticalBar();
  const TRect client = ItemsRect();
  if (multi && ItemLinks()) {
    // The lines follow the window's current length.
    TSize s{0, 0};
    WrapLength(DockingStyle() != dsNone, vertical ? client.Height() : client.Width(), s);
  }
  std::vector<TdxBarItemLink*> links;
  std::vector<TdxBarLayoutLink> sizes;
  MeasureLinks(links, sizes);
  TdxBarArrangeParams p;
  p.MultiLine = multi;
  p.Vertical = vertical;
  p.Length = vertical ? client.Height() : client.Width();
  p.Thickness = vertical ? client.Width() : client.Height();
  p.MarkSize = DockingStyle() != dsNone ? MarkSize() : 0;
  p.MdiAlong = MDIAlongSize();
  p.GroupIndent = GroupIndent();
  p.BreaksBeforeFirst = BreaksBeforeFirst();
  std::vector<TdxBarArrangedLink> placed;
  if (::ArrangeLinks(sizes, p, placed)) FTruncated = true;
  for (size_t i = 0; i < links.size(); ++i) {
    TRect r = placed[i].Bounds;
    if (!r.IsEmpty()) r = r.Offset(client.Left, client.Top);
    links[i]->SetItemBounds(r);
    TLinkPlace& place = FPlaces[links[i]];
    place.RowHeight = placed[i].RowHeight;
    place.LastInRow = placed[i].LastInRow;
    if (r.IsEmpty() && !multi && DockingStyle() != dsNone) FTruncated = true;
  }
}

int TdxBarControl::LinkRowHeight(TdxBarItemLink* Link) const {
  auto it = FPlaces.find(Link);
  return it == FPlaces.end() ? 0 : it->second.RowHeight;
}

bool TdxBarControl::IsLastInRow(TdxBarItemControl* Control) const {
  if (!Control || !Control->Link()) return false;
  auto it = FPlaces.find(Control->Link());
  return it != FPlaces.end() && it->second.LastInRow;
}

bool TdxBarControl::StretchesControl(TdxBarItemControlViewInfo* ControlViewInfo) const {
  if (!Bar() || !Bar()->UseRestSpace() || !ControlViewInfo || !ItemLinks()) return false;
  const auto& showable = ItemLinks()->ShowableLinks();
  TdxBarItemControl* c = ControlViewInfo->Control();
  return c && !showable.empty() && showable.back() == c->Link();
}

void TdxBarControl::ItemRect(TdxBarItemControl* Control, TRect& R) const {
  R = LinkBoundsOf(Control);
  if (!Control || R.IsEmpty()) return;
  const int row = LinkRowHeight(Control->Link());
  if (row <= 0) return;
  if (IsVerticalBar()) {
    R.Left -= (row - R.Width()) / 2;
    R.Right = R.Left + row;
  } else {
    R.Top -= (row - R.Height()) / 2;
    R.Bottom = R.Top + row;
  }
}

HRGN TdxBarControl::ItemControlRegion(TdxBarItemControl* Control) const {
  TRect r;
  ItemRect(Control, r);
  HRGN rgn = CreateRectRgn(r.Left, r.Top, r.Right, r.Bottom);
  int index = -1;
  if (ViewInfo() && ViewInfo()->FindSeparatorOf(Control, index)) {
    TRect s;
    uint8_t kind = 0;
    ViewInfo()->GetSeparator(index, s, kind);
    HRGN sep = CreateRectRgn(s.Left, s.Top, s.Right, s.Bottom);
    CombineRgn(rgn, rgn, sep, RGN_OR);
    DeleteObject(sep);
  }
  return rgn;
}

void TdxBarControl::DropPositionAt(const TPoint& P, TdxBarItemLink*& Link, bool& Vertical, bool& Before,
                                   bool& OnSeparator) {
  TdxBarDockedControl::DropPositionAt(P, Link, Vertical, Before, OnSeparator);
  if (Link || !ClientRect().Contains(P) || !ItemLinks()) return;
  const bool vertical = IsVerticalBar();
  const auto& shown = ItemLinks()->ShownLinks();
  for (size_t i = 0; i < shown.size(); ++i) {
    TdxBarItemControl* c = shown[i]->Control();
    if (!c || !c->BelongsToManager() || !IsLastInRow(c)) continue;
    TRect r;
    ItemRect(c, r);
    const bool inRow = vertical ? P.X >= r.Left && P.X < r.Right : P.Y >= r.Top && P.Y < r.Bottom;
    if (!inRow) continue;
    size_t target = i;
    if (vertical ? P.Y < r.Top : P.X < r.Left) {
      Before = true;
      const TdxBarItemAlign a = c->EffectiveAlign();
      if (a == iaLeft || a == iaClient) {
        while (target > 0 && shown[target - 1]->Control() && !IsLastInRow(shown[target - 1]->Control())) --target;
      }
    }
    Link = shown[target];
    Vertical = vertical;
    return;
  }
}

void TdxBarControl::Rebuild(bool Recreate) {
  TdxBarDockedControl::Rebuild(Recreate);
  if (DockingStyle() != dsNone) {
    bool placed = false;
    if (TdxDockControl* site = DockControl()) {
      placed = DockColumn() != nullptr;
      site->RelayoutAndResize();
    }
    if (!placed) CalculateViewInfo();
  } else if (WindowHandle()) {
    TSize s{0, 0};
    CalcSizeForWidth(dsNone, ClientWidth(), s);
    // The client area takes the size; the frame keeps its own.
    SetBounds(Left(), Top(), s.cx + Width() - ClientWidth(), s.cy + Height() - ClientHeight());
    CalculateViewInfo();
  }
  if (WindowHandle() && IsWindowVisible(WindowHandle())) {
    Invalidate();
    TdxBarManager* m = BarManager();
    if (m && m->IsAnotherManagerCustomizing()) SendMessage(WindowHandle(), WM_NCPAINT, 1, 0);
    else if (IsDockedOnColored()) SendMessage(WindowHandle(), WM_NCPAINT, 0, 0);
  }
}

// ---------------------------------------------------------------------------------------------
// placement

void TdxBarControl::BoundsChanged(const WINDOWPOS* WindowPos) {
  TdxBarDockedControl::BoundsChanged(WindowPos);
  if (IsLayoutLockedInternal() || FMoving) return;
  if (TdxBar* bar = Bar()) {
    bar->SetDockPlacement(DockingStyle(), DockControl());
    StorePositionInBar();
  }
  const bool moved = WindowPos && !(WindowPos->flags & SWP_NOMOVE);
  const bool sized = WindowPos && !(WindowPos->flags & SWP_NOSIZE);
  if (moved && !sized && Bar() && Bar()->ShowsSizeGrip() != FHasSizeGrip) ApplyAppearanceChange();
}

void TdxBarControl::StorePositionInBar() {
  TdxBar* bar = Bar();
  TdxBarManager* m = bar ? bar->BarManager() : nullptr;
  if (!bar || !m || !bar->Visible() || FMoving || m->IsDestroying() || !WindowHandle()) return;
  m->LockChangeReports(true);
  FPositionSaving = true;
  try {
    if (DockingStyle() != dsNone) {
      if (TdxDockControl* site = DockControl(); site && !site->ComponentState().Contains(csDestroying)) {
        bar->SetDockedDockingStyle(DockingStyle());
        if (TdxDockCol* col = DockColumn()) bar->SetOneOnRow(col->Row()->ColCount() == 1);
        bar->SetDockedLeft(Left());
        bar->SetDockedTop(Top());
      }
    } else {
      bar->SetFloatLeft(Left());
      bar->SetFloatTop(Top());
      bar->SetFloatClientWidth(ClientWidth());
      bar->SetFloatClientHeight(ClientHeight());
    }
  } catch (...) {
    FPositionSaving = false;
    m->LockChangeReports(false);
    throw;
  }
  FPositionSaving = false;
  m->LockChangeReports(false);
}

void TdxBarControl::MoveToDockSite(TdxBarDockingStyle Style, TdxDockControl* Site) {
  TdxBar* bar = Bar();
  TdxBarManager* m = bar ? bar->BarManager() : BarManager();
  if (!m || IsDestroying()) return;
  LockLayout();
  try {
    if (HandleAllocated()) DestroyHandle();
    AssignDockControl(Style == dsNone ? nullptr : Site);
    SetDockingStyle(Style);
    SetParent(Style == dsNone ? nullptr : Site);
    if (Style == dsNone || (Site && Site->Parent())) HandleNeeded();
  } catch (...) {
    UnlockLayout();
    throw;
  }
  UnlockLayout();
  RefreshFrame();
}

void TdxBarControl::SetDragMoving(bool Moving) {
  if (FMoving == Moving) return;
  SetSwitchingDragMode(true);
  FMoving = Moving;
  if (TdxBarManager* m = BarManager()) m->Bars()->SetMovingBarControl(Moving ? this : nullptr);
  SetSwitchingDragMode(false);
  SetCursor(Moving ? crSizeAll : crDefault);
  if (!Moving) StorePositionInBar();
  RecalculateBar();
}

void TdxBarControl::GrabOffsetForDockingStyle(TdxBarDockingStyle Style, TPoint& P) {
  // Back in the style it was picked up in, the bar keeps the cursor where it took it.
  if (TdxBarManager* m = BarManager(); m && Style != dsNone && m->Bars()->MovingBarControl() == this &&
                                       Style == m->Bars()->MovingStartStyle()) {
    const TPoint& offset = m->Bars()->DragOffset();
    const TPoint& grab = m->Bars()->DragGrabPoint();
    P = Style == dsLeft || Style == dsRight ? TPoint(-offset.X, grab.Y) : TPoint(grab.X, -offset.Y);
    return;
  }
  TSize s{0, 0};
  CalcSizeForDockingStyle(Style, s);
  P = TPoint(FGrabSize.cx > 0 ? MulDiv(s.cx, FGrabPoint.X, FGrabSize.cx) : 0,
             FGrabSize.cy > 0 ? MulDiv(s.cy, FGrabPoint.Y, FGrabSize.cy) : 0);
}

void TdxBarControl::ApplyStyleChange() {
  UpdateDoubleClicks();
  UpdateMetrics();
  if (DockingStyle() != dsNone) {
    ApplyAppearanceChange();
  } else if (TdxBar* bar = Bar(); bar && bar->Visible()) {
    bar->SetVisible(false);
    bar->SetVisible(true);
  }
}

void TdxBarControl::ApplyAppearanceChange() {
  DecideDoubleBuffered();
  RefreshFrame();
  RecalculateBar();
}

void TdxBarControl::RefreshFrame() {
  if (WindowHandle())
    SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void TdxBarControl::ApplyBarFont() {
  if (TFont* f = BarFont()) Font()->Assign(f);
  if (WindowHandle()) SendMessage(WindowHandle(), CM_FONTCHANGED, 0, 0);
}

void TdxBarControl::ApplyPlannedBounds() {
  if (FPlannedBounds != BoundsRect() && WindowHandle())
    SetWindowPos(WindowHandle(), nullptr, FPlannedBounds.Left, FPlannedBounds.Top, FPlannedBounds.Width(),
                 FPlannedBounds.Height(), SWP_NOACTIVATE | SWP_NOZORDER);
}

TdxDockCol* TdxBarControl::DockColumn() const {
  TdxDockControl* site = DockControl();
  if (!site || DockingStyle() == dsNone) return nullptr;
  for (int r = 0; r < site->RowCount(); ++r)
    for (int c = 0; c < site->Rows(r)->ColCount(); ++c)
      if (site->Rows(r)->Cols(c)->BarControl() == this) return site->Rows(r)->Cols(c);
  return nullptr;
}

int TdxBarControl::DockRowIndex() const {
  TdxDockCol* col = DockColumn();
  return col ? DockControl()->IndexOfRow(col->Row()) : 0;
}

int TdxBarControl::DockColumnIndex() const {
  TdxDockCol* col = DockColumn();
  return col ? col->Row()->IndexOfColumn(col) : 0;
}

void TdxBarControl::ToggleDocking() {
  TdxBar* bar = Bar();
  TdxBarManager* m = bar ? bar->BarManager() : nullptr;
  if (!bar || !m) return;
  TdxBarDockingStyle style = dsNone;
  TdxDockControl* site = nullptr;
  bool neverDocked = false;
  if (DockingStyle() == dsNone) {
    style = bar->DockedDockingStyle();
    site = m->Bars()->DockControls(style);
    if (style == dsNone || !site) {
      style = dsTop;
      site = m->Bars()->DockControls(dsTop);
      neverDocked = true;
    }
    neverDocked = neverDocked || !bar->EverDocked();
  }
  if (!m->CanDock(bar, style, site)) return;
  bar->SetVisible(false);
  if (style == dsNone) {
    bar->SetDockingStyle(dsNone);
  } else {
    bar->SetDockPlacement(style, site);
    if (neverDocked) {
      bar->SetOneOnRow(true);
      bar->SetRow(site ? site->RowCount() : 0);
    }
  }
  bar->SetVisible(true);
}

// ---------------------------------------------------------------------------------------------
// painting

void TdxBarControl::Paint() {
  if (IsDestroying()) return;
  DrawBar();
}

void TdxBarControl::DrawBar() {
  TcxCanvas* canvas = CurrentCanvas();
  TdxBarPainter* p = Painter();
  if (!canvas || !p) return;
  CalculateViewInfo();
  HDC dc = canvas->CurrentDC();
  const int saved = SaveDC(dc);
  try {
    if (p->BarBackgroundAtOnce()) DrawClientBackground();
    DrawItemControls();
    if (TCustomdxBarControlViewInfo* vi = ViewInfo())
      for (int i = 0; i < vi->SeparatorCount(); ++i) {
        TRect r;
        uint8_t kind = 0;
        vi->GetSeparator(i, r, kind);
        DrawSeparator(r, kind == 0);
        ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
      }
    if (ShowsCloseButton()) {
      const TSize s = MDIButtonsSize();
      if (s.cx > 0 && s.cy > 0) {
        const TRect c = ClientRect();
        TRect r = IsVerticalBar() ? Bounds(c.Left, c.Bottom - MarkSize() - s.cy, c.Width(), s.cy)
                                  : Bounds(c.Right - MarkSize() - s.cx, c.Top, s.cx, c.Height());
        // Each button leaves the clip as it is drawn; the space round them is the bar's background.
        DrawMDIButtons(dc, r);
      }
    }
    if (DockingStyle() != dsNone && HasMark()) {
      const TRect r = p->MarkRect(this);
      p->DrawMark(this, canvas, BackgroundBrush(), r);
      ExcludeClipRect(dc, r.Left, r.Top, r.Right, r.Bottom);
    }
    if (!p->BarBackgroundAtOnce()) DrawClientBackground();
  } catch (...) {
    RestoreDC(dc, saved);
    throw;
  }
  RestoreDC(dc, saved);
}

void TdxBarControl::DrawClientBackground() {
  if (TdxBarPainter* p = Painter()) p->DrawBarClientBackground(this);
}

void TdxBarControl::DrawSeparator(const TRect& R, bool Horizontal) {
  TdxBarPainter* p = Painter();
  TcxCanvas* canvas = CurrentCanvas();
  if (p && canvas) p->DrawBarSeparator(this, canvas->CurrentDC(), Horizontal, BackgroundBrush(), R);
}

void TdxBarControl::DrawBackground(HDC DC, const TRect& R, bool InClient, TColor Color, HBRUSH Brush) {
  TdxBarPainter* p = Painter();
  if (!p) {
    TdxBarDockedControl::DrawBackground(DC, R, InClient, Color, Brush);
    return;
  }
  if (Color == clNone && Bar() && Bar()->Color() != clDefault) Color = Bar()->Color();
  if (InClient) {
    // The picture behind the bar starts at the window's corner, so that the frame and the
    // client area show one picture.
    const TPoint o = ClientOriginInWindow();
    p->DrawBarBackground(this, DC, Color, Brush, R, R.Offset(-o.X, -o.Y));
  } else {
    p->DrawBarBackground(this, DC, Color, Brush, R, R);
  }
}

HDC TdxBarControl::BeginNCPaint(HRGN Region) { return GetWindowDC(WindowHandle()); }

void TdxBarControl::EndNCPaint(HDC DC) { ReleaseDC(WindowHandle(), DC); }

void TdxBarControl::DrawNonClient(HDC DC) { DrawNonClientArea(DC); }

void TdxBarControl::DrawCaptionButtons(HDC DC) {
  TdxBarPainter* p = Painter();
  if (!p || !Bar() || !Bar()->HasCaptionButtons()) return;
  TdxBarCaptionButtons* buttons = Bar()->CaptionButtons();
  for (int i = 0; i < buttons->Count(); ++i) {
    TdxBarCaptionButton* b = buttons->ButtonByIndex(i);
    if (b->Rect.IsEmpty()) continue;
    // Drawn as the close button is: hot framed, pressed in the selection's look.
    const int state = b->State() == TdxBarCaptionButton::bcbsPressed ? 2 : b->State() == TdxBarCaptionButton::bcbsHot ? 1 : 0;
    p->DrawCloseButtonBackground(this, DC, state, b->Rect);
    TBitmap* g = b->Glyph();
    if (g && !g->Empty()) {
      const int x = b->Rect.Left + (b->Rect.Width() - g->Width()) / 2, y = b->Rect.Top + (b->Rect.Height() - g->Height()) / 2;
      BitBlt(DC, x, y, g->Width(), g->Height(), g->Canvas()->Handle(), 0, 0, SRCCOPY);
    }
  }
}

void TdxBarControl::DrawCloseButton(HDC DC) {
  TdxBarPainter* p = Painter();
  if (!p || !HasCloseButton()) return;
  const TRect r = CloseButtonRect();
  p->DrawCloseButtonBackground(this, DC, FCloseButtonState, r);
  p->DrawCaptionCloseButton(this, DC, r);
}

void TdxBarControl::DrawNonClientArea(HDC DC) {
  TdxBarPainter* p = Painter();
  if (!p || !WindowHandle()) return;
  const TRect w = WindowRectOf(WindowHandle());
  const TRect all(0, 0, w.Width(), w.Height());
  if (p->BarBackgroundAtOnce()) {
    p->DrawBarBackgroundAtOnce(this, DC, all);
    return;
  }
  const bool floating = DockingStyle() == dsNone;
  TRect client;
  ClientRectInWindow(client);
  if (floating || (Bar() && Bar()->BorderStyle() != bbsNone)) {
    const int saved = SaveDC(DC);
    ExcludeClipRect(DC, client.Left, client.Top, client.Right, client.Bottom);
    DrawBackground(DC, all, false, clNone, BackgroundBrush());
    if (floating) p->DrawFloatingBorder(this, DC, all);
    else p->DrawDockedBorder(this, DC, all);
    if (floating && HasFloatingCaption()) {
      TRect caption = p->FloatingCaptionRect(this, all);
      if (HasCloseButton()) caption.Right -= p->SmallCaptionHeight();
      LayoutCaptionButtons();
      if (Bar() && Bar()->HasCaptionButtons())
        if (const TRect b = Bar()->CaptionButtons()->ButtonsBounds(); !b.IsEmpty())
          caption.Right = std::min(caption.Right, b.Left - (p->SmallCaptionHeight() - b.Width() % p->SmallCaptionHeight()) / 2);
      p->DrawFloatingCaption(this, DC, BackgroundBrush(), caption);
      DrawCloseButton(DC);
      DrawCaptionButtons(DC);
    }
    RestoreDC(DC, saved);
  } else if (IsStatusBarLike()) {
    p->FillBarTopStrip(this, DC, BackgroundBrush(), TRect(0, 0, w.Width(), client.Top));
    if (FHasSizeGrip) {
      const TSize g = p->SizeGripSize(BarManager());
      p->DrawBarSizeGrip(this, DC, BackgroundBrush(), TRect(all.Right - g.cx, all.Bottom - g.cy, all.Right, all.Bottom));
    }
  }
}

// ---------------------------------------------------------------------------------------------
// view info

TdxBarControl* TdxBarControlViewInfo::Toolbar() const { return static_cast<TdxBarControl*>(BarControl()); }

void TdxBarControlViewInfo::Recalculate() {
  TdxBarControl* bar = Toolbar();
  bar->CalcLayout();
  TCustomdxBarControlViewInfo::Recalculate();
  if (!bar->ItemLinks()) return;
  for (TdxBarItemLink* l : bar->ItemLinks()->ShownLinks()) {
    TdxBarItemControl* c = l->Control();
    if (!c) continue;
    c->ViewInfo()->SetBounds(l->ItemRect());
    if (l->ItemRect().IsEmpty()) continue;
    AddControlViewInfo(c->ViewInfo());
    AddSeparatorFor(l);
    if (StopsAfter(c)) break;
  }
}

bool TdxBarControlViewInfo::AddSeparatorFor(TdxBarItemLink* Link) {
  if (!ShowsSeparators() || !Link->BeginGroup() || Link->ItemRect().IsEmpty()) return false;
  const auto& shown = Toolbar()->ItemLinks()->ShownLinks();
  if (!shown.empty() && shown.front() == Link) return false;
  AddLinkSeparator(Link, Link->ItemRect());
  return true;
}

void TdxBarControlViewInfo::AddLinkSeparator(TdxBarItemLink* Link, const TRect& R) {
  TdxBarControl* bar = Toolbar();
  const int m = bar->DockingStyle() != dsNone ? bar->MarkSize() : 0;
  const int h = bar->GroupIndent();
  const int row = bar->LinkRowHeight(Link);
  const bool vertical = bar->IsVerticalBar();
  const TRect client = bar->ClientRect();
  TRect s;
  uint8_t kind;
  if ((vertical && R.Top > 0) || (!vertical && R.Left == 0 && R.Top > 0)) {
    kind = 0;
    s = vertical ? Bounds(R.Left - (row - R.Width()) / 2, R.Top - h, row, h)
                 : Bounds(0, R.Top - (row - R.Height()) / 2 - h, client.Width() - m, h);
  } else {
    kind = 1;
    s = vertical ? Bounds(R.Right + (row - R.Width()) / 2, 0, h, client.Height() - m)
                 : Bounds(R.Left - h, R.Top - (row - R.Height()) / 2, h, row);
  }
  AddSeparator(s, kind, Link->Control());
}
