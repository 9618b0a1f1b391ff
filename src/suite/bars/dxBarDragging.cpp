// Dragging bars with the mouse: a modal loop holds the mouse on a hidden window of the bars
// collection and moves the bar window on every step, inside its dock site, into another site or
// out into a floating window. A floating bar reaching a dock zone docks only once the mouse
// rested there for the manager's docking wait.
#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBar.h"

namespace {

// Only one bar is dragged at a time in the whole program: one wait timer and the manager whose
// bar waits for it.
UINT_PTR gDockingWaitTimer = 0;
TdxBarManager* gPendingManager = nullptr;

void StopDockingWait() {
  if (gDockingWaitTimer) KillTimer(nullptr, gDockingWaitTimer);
  gDockingWaitTimer = 0;
  gPendingManager = nullptr;
}

TPoint CursorPoint() {
  POINT p{};
  GetCursorPos(&p);
  return TPoint(p.x, p.y);
}

TPoint WindowOrigin(HWND Wnd) {
  RECT r{};
  GetWindowRect(Wnd, &r);
  return TPoint(r.left, r.top);
}

// Whether another child window of the site's grandparent covers the point (a dock zone hidden
// behind a sibling of the site's parent does not take bars).
bool ParentCoveredAt(TdxDockControl* Site, const TPoint& P) {
  if (!Site->HandleAllocated()) return false;
  HWND parent = GetParent(Site->WindowHandle());
  if (!parent || !(GetWindowLong(parent, GWL_STYLE) & WS_CHILD)) return false;
  HWND grand = GetParent(parent);
  if (!grand) return false;
  POINT p{P.X, P.Y};
  ScreenToClient(grand, &p);
  return ChildWindowFromPoint(grand, p) != parent;
}

}  // namespace

HWND TdxBars::CaptureWindow() {
  if (!FCaptureWindow)
    FCaptureWindow = AllocateHWnd([this](TMessage& M) {
      M.Result = DefWindowProc(FCaptureWindow, M.Msg, M.WParam, M.LParam);
    });
  return FCaptureWindow;
}

TdxBarDockingStyle TdxBars::FindDockSiteAt(TdxBar* Bar, const TPoint& ScreenPoint, TdxDockControl*& Site) const {
  Site = nullptr;
  // Ctrl held keeps the dragged bar floating.
  if (FMoveLoopRunning && GetAsyncKeyState(VK_CONTROL) < 0) return dsNone;
  auto find = [&](const TPoint& P) -> TdxBarDockingStyle {
    for (TdxBarDockingStyle style : {dsLeft, dsRight, dsTop, dsBottom})
      for (int i = 0; i < FManager->CountDockControls(); ++i) {
        TdxDockControl* s = FManager->DockControlByIndex(i);
        if (s->DockingStyle() != style) continue;
        if (!s->CanFocus() && !FManager->IsDesigning()) continue;
        if (!FManager->CanDock(Bar, style, s)) continue;
        if (!s->ScreenDockingZone().Contains(P) || ParentCoveredAt(s, P)) continue;
        Site = s;
        return style;
      }
    return dsNone;
  };
  TdxBarDockingStyle style = find(ScreenPoint);
  if (style == dsNone && FMoveLoopRunning)
    style = find(TPoint(ScreenPoint.X - FDragOffset.X, ScreenPoint.Y - FDragOffset.Y));
  return style;
}

void TdxBars::MoveBarControlTo(TCustomdxBarControl* BarControl, const TPoint& ScreenPoint) {
  auto* c = dynamic_cast<TdxBarControl*>(BarControl);
  TdxBar* bar = c ? c->Bar() : nullptr;
  if (!bar) return;
  TdxDockControl* site = nullptr;
  TdxBarDockingStyle style = FindDockSiteAt(bar, ScreenPoint, site);
  if (!FManager->CanDock(bar, style, site)) return;
  TPoint p = ScreenPoint;
  if (!FDelayedDocking && c->DockingStyle() == dsNone && style != dsNone) {
    // A floating bar docks only once the mouse rests: each move over a dock zone starts the
    // wait again, and meanwhile the bar keeps floating.
    if (gDockingWaitTimer) KillTimer(nullptr, gDockingWaitTimer);
    gDockingWaitTimer = SetTimer(nullptr, 0, UINT(std::max(0, FManager->WaitForDockingTime())), DockingWaitTimerProc);
    gPendingManager = FManager;
    style = dsNone;
    site = nullptr;
  }
  if (style == dsNone) p = TPoint(p.X - FDragOffset.X, p.Y - FDragOffset.Y);
  if (style == c->DockingStyle() && (style == dsNone || site == c->DockControl())) {
    if (style != dsNone) {
      site->MoveBarControl(c, p);
    } else if (c->HandleAllocated()) {
      TPoint grab;
      c->GrabOffsetForDockingStyle(dsNone, grab);
      SetWindowPos(c->WindowHandle(), nullptr, p.X - grab.X, p.Y - grab.Y, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    return;
  }
  TWeakLink<TCustomdxBarControl> alive(c);
  c->CloseAndFree();
  if (c->DockingStyle() != dsNone) {
    UndockBarControl(c->DockingStyle(), c->DockControl(), c);
    bar->ItemLinks()->SetRecentItemCount(-1);
  }
  if (!alive) return;
  c->LockLayout();
  try {
    c->MoveToDockSite(style, site);
  } catch (...) {
    c->UnlockLayout();
    throw;
  }
  c->UnlockLayout();
  if (!alive) return;
  if (style != dsNone) {
    site->InsertBarControl(c, bar, p, true);
  } else {
    TSize size{0, 0};
    c->CalcSizeForDockingStyle(dsNone, size);
    TPoint grab;
    c->GrabOffsetForDockingStyle(dsNone, grab);
    SetWindowPos(c->Handle(), nullptr, p.X - grab.X, p.Y - grab.Y, size.cx, size.cy,
                 SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (!alive || !c->HandleAllocated()) return;
  if (!c->Visible()) c->SetVisible(true);
  ShowWindow(c->WindowHandle(), SW_SHOWNA);
}

void TdxBars::DockingWaitTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  if (gDockingWaitTimer) KillTimer(nullptr, gDockingWaitTimer);
  gDockingWaitTimer = 0;
  TdxBarManager* m = gPendingManager;
  if (!m) return;
  TdxBars* bars = m->Bars();
  if (TCustomdxBarControl* c = bars->MovingBarControl()) {
    const TPoint cursor = CursorPoint();
    bars->FDelayedDocking = true;
    try {
      bars->MoveBarControlTo(c, TPoint(cursor.X + bars->FDragOffset.X, cursor.Y + bars->FDragOffset.Y));
    } catch (...) {
      bars->FDelayedDocking = false;
      gPendingManager = nullptr;
      throw;
    }
    bars->FDelayedDocking = false;
  }
  gPendingManager = nullptr;
}

void TdxBars::RunBarMoveLoop(TCustomdxBarControl* BarControl) {
  auto* c = dynamic_cast<TdxBarControl*>(BarControl);
  TdxBar* bar = c ? c->Bar() : nullptr;
  if (!bar || !c->CanDragBar() || FMoveLoopRunning) return;
  TWeakLink<TCustomdxBarControl> alive(c);
  if (c->DockingStyle() != dsNone)
    if (TdxDockCol* col = c->DockColumn()) col->StorePosition();

  FMoveLoopRunning = true;
  const HWND capture = CaptureWindow();
  // Every way out of the loop, an exception's too, ends the drag the same way.
  struct TEnd {
    TdxBars* Bars;
    TdxBarControl* Control;
    TWeakLink<TCustomdxBarControl>& Alive;
    HWND Capture;
    ~TEnd() {
      StopDockingWait();
      if (GetCapture() == Capture) ReleaseCapture();
      if (Alive) {
        Control->SetDragMoving(false);
        if (Control->DockingStyle() != dsNone)
          if (TdxDockControl* site = Control->DockControl()) site->StoreColumnPositions();
        // The bar takes the place its window reached.
        if (TdxBar* bar = Control->Bar()) bar->SetDockPlacement(Control->DockingStyle(), Control->DockControl());
      }
      Bars->FMoveLoopRunning = false;
      Bars->FDelayedDocking = false;
    }
  } end{this, c, alive, capture};

  c->SetDragMoving(true);
  const TPoint cursor = CursorPoint();
  FMovingStartStyle = c->DockingStyle();
  FDragOffset = TPoint();
  FDragGrabPoint = TPoint();
  if (TdxDockControl* site = c->DockControl(); site && c->DockingStyle() != dsNone && c->HandleAllocated()) {
    TdxDockCol* col = c->DockColumn();
    const TPoint at = col ? site->ClientToScreen(col->Pos) : WindowOrigin(c->WindowHandle());
    // Picked up from its row: the cursor's coordinate across the rows moves onto the middle of
    // the gap the bar leaves, so that holding still keeps the bar in its row.
    const int row = bar->Row();
    const bool oneOnRow = bar->OneOnRow();
    site->RemoveBarControl(c, nullptr, false);
    TPoint snapped = cursor;
    site->SnapPointToRowGap(row, oneOnRow, snapped);
    FDragOffset = c->IsDockedVertically() ? TPoint(snapped.X - cursor.X, 0) : TPoint(0, snapped.Y - cursor.Y);
    c->LockLayout();
    try {
      site->InsertBarControl(c, bar, at, false, site->UsesStoredRows() ? row : 0, oneOnRow);
    } catch (...) {
      c->UnlockLayout();
      throw;
    }
    c->UnlockLayout();
    const TPoint origin = WindowOrigin(c->WindowHandle());
    FDragGrabPoint = TPoint(cursor.X - origin.X, cursor.Y - origin.Y);
  }
  if (c->HandleAllocated()) UpdateWindow(c->WindowHandle());
  SetCapture(capture);

  TPoint last = cursor;
  MSG msg;
  while (alive && GetCapture() == capture) {
    const BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    switch (msg.message) {
      case WM_KEYDOWN:
      case WM_KEYUP:
      case WM_SYSKEYDOWN:
      case WM_SYSKEYUP:
        if (msg.wParam == VK_CONTROL) {
          // Ctrl pressed or released: the drop is decided again where the mouse is.
          const TPoint p = CursorPoint();
          msg.message = WM_MOUSEMOVE;
          msg.pt = POINT{p.X, p.Y};
          last = TPoint(-1, -1);
          break;
        }
        // Escape ends the drag where the bar is; other keys do nothing meanwhile.
        if (msg.wParam == VK_ESCAPE && (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)) return;
        continue;
      default:
        break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      // Where the mouse is now: moves posted by the bars themselves carry no position.
      const TPoint p = CursorPoint();
      if (p == last) continue;
      MoveBarControlTo(c, TPoint(p.X + FDragOffset.X, p.Y + FDragOffset.Y));
      last = p;
      continue;
    }
    if (msg.message == WM_LBUTTONUP) break;
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
}

void TdxDockControl::MoveBarControl(TCustomdxBarControl* BarControl, const TPoint& ScreenPoint) {
  auto* c = dynamic_cast<TdxBarControl*>(BarControl);
  if (!c || !BarManager()) return;
  if (TdxDockCol* col = c->DockColumn()) RemoveBarControl(c, col, false);
  InsertBarControl(c, c->Bar(), ScreenPoint, true);
  if (BackgroundCache()) {
    ClearBackgroundCache();
    for (int r = 0; r < RowCount(); ++r)
      for (int i = 0; i < Rows(r)->ColCount(); ++i) Rows(r)->Cols(i)->BarControl()->Invalidate();
  }
}

void TdxBarControl::RunSizingLoop(int HitCode) {
  const HWND wnd = WindowHandle();
  if (!wnd || DockingStyle() != dsNone) return;
  int edge;
  switch (HitCode) {
    case HTLEFT: edge = WMSZ_LEFT; break;
    case HTRIGHT: edge = WMSZ_RIGHT; break;
    case HTTOP: edge = WMSZ_TOP; break;
    case HTBOTTOM: edge = WMSZ_BOTTOM; break;
    default: return;
  }
  TWeakLink<TCustomdxBarControl> alive(this);
  RECT start{};
  GetWindowRect(wnd, &start);
  const TPoint from = CursorPoint();
  SetCapture(wnd);
  struct TEnd {
    HWND Wnd;
    ~TEnd() {
      if (GetCapture() == Wnd) ReleaseCapture();
    }
  } end{wnd};
  auto sizeTo = [&](const TPoint& P) {
    RECT r = start;
    const int dx = P.X - from.X, dy = P.Y - from.Y;
    switch (edge) {
      case WMSZ_LEFT: r.left = std::min(r.left + dx, r.right); break;
      case WMSZ_RIGHT: r.right = std::max(r.right + dx, r.left); break;
      case WMSZ_TOP: r.top = std::min(r.top + dy, r.bottom); break;
      default: r.bottom = std::max(r.bottom + dy, r.top); break;
    }
    SendMessage(wnd, WM_SIZING, WPARAM(edge), reinterpret_cast<LPARAM>(&r));
    if (IsWindow(wnd))
      SetWindowPos(wnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
  };
  MSG msg;
  while (alive && GetCapture() == wnd) {
    const BOOL got = GetMessage(&msg, nullptr, 0, 0);
    if (got == -1) break;
    if (got == 0) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    if (msg.message == WM_MOUSEMOVE) {
      sizeTo(CursorPoint());
    } else if (msg.message == WM_LBUTTONUP) {
      sizeTo(CursorPoint());
      break;
    } else if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) {
      // Escape puts the bar back as it was.
      SetWindowPos(wnd, nullptr, start.left, start.top, start.right - start.left, start.bottom - start.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
      break;
    } else if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
      continue;
    } else {
      TranslateMessage(&msg);
      DispatchMessage(&msg);
    }
  }
}
