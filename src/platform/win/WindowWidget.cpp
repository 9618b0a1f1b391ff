// The Qt side of window objects: the shell widget, Qt events turned into messages, painting
// through the back buffer, the default window procedure, key and mouse state, message boxes.
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QCursor>
#include <QFile>
#include <QIcon>
#include <QPixmap>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPushButton>
#include <QScreen>
#include <QStyleHints>
#include <QWheelEvent>
#include <QWindow>
#include <climits>
#include <cstdio>
#include <cstring>

#include "platform/win/DeviceContext.h"
#include "platform/win/WinInternal.h"

QPointer<QWidget>& MouseWidget();
void UpdateEditColors(HWND h);

namespace {
thread_local TQtEventContext* tQtEvent = nullptr;
BYTE gKeyDown[256] = {};
BYTE gKeyToggled[256] = {};
}  // namespace

TQtEventContext*& CurrentQtEvent() { return tQtEvent; }

QWidget* GetWindowWidget(HWND hWnd) {
  TWindowObject* w = FindWindowObject(hWnd);
  return w ? w->Widget.data() : nullptr;
}

HWND WindowFromWidget(const QWidget* widget) {
  for (; widget; widget = widget->parentWidget()) {
    if (auto* shell = dynamic_cast<const TWindowWidget*>(widget))
      if (shell->Handle()) return shell->Handle();
    QVariant v = widget->property("sonalix_hwnd");
    if (v.isValid()) return reinterpret_cast<HWND>(uintptr_t(v.toULongLong()));
  }
  return nullptr;
}

QImage* GetWindowBackBuffer(HWND hWnd) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return nullptr;
  EnsureBackBuffer(w);
  return &w->BackBuffer;
}

// ---------------------------------------------------------------------------------------------
// Keys

WORD VirtualKeyFromQt(int key, Qt::KeyboardModifiers mods, quint32 nativeVk) {
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return WORD('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) {
    if (mods & Qt::KeypadModifier) return WORD(VK_NUMPAD0 + (key - Qt::Key_0));
    return WORD('0' + (key - Qt::Key_0));
  }
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return WORD(VK_F1 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Clear: return VK_CLEAR;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Pause: return VK_PAUSE;
    case Qt::Key_CapsLock: return VK_CAPITAL;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Select: return VK_SELECT;
    case Qt::Key_Print: return VK_SNAPSHOT;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Help: return VK_HELP;
    case Qt::Key_Meta: return VK_LWIN;
    case Qt::Key_Menu: return VK_APPS;
    case Qt::Key_NumLock: return VK_NUMLOCK;
    case Qt::Key_ScrollLock: return VK_SCROLL;
    case Qt::Key_Asterisk: return (mods & Qt::KeypadModifier) ? VK_MULTIPLY : WORD('8');
    case Qt::Key_Plus: return (mods & Qt::KeypadModifier) ? VK_ADD : VK_OEM_PLUS;
    case Qt::Key_Minus: return (mods & Qt::KeypadModifier) ? VK_SUBTRACT : VK_OEM_MINUS;
    case Qt::Key_Slash: return (mods & Qt::KeypadModifier) ? VK_DIVIDE : VK_OEM_2;
    case Qt::Key_Period: return (mods & Qt::KeypadModifier) ? VK_DECIMAL : VK_OEM_PERIOD;
    case Qt::Key_Comma: return VK_OEM_COMMA;
    case Qt::Key_Equal: return VK_OEM_PLUS;
    case Qt::Key_Semicolon:
    case Qt::Key_Colon: return VK_OEM_1;
    case Qt::Key_QuoteLeft:
    case Qt::Key_AsciiTilde: return VK_OEM_3;
    case Qt::Key_BracketLeft:
    case Qt::Key_BraceLeft: return VK_OEM_4;
    case Qt::Key_Backslash:
    case Qt::Key_Bar: return VK_OEM_5;
    case Qt::Key_BracketRight:
    case Qt::Key_BraceRight: return VK_OEM_6;
    case Qt::Key_Apostrophe:
    case Qt::Key_QuoteDbl: return VK_OEM_7;
  }
  (void)nativeVk;
  return 0;
}

void NoteKeyState(WORD vk, bool down) {
  if (down && !gKeyDown[vk & 0xFF]) gKeyToggled[vk & 0xFF] ^= 1;
  gKeyDown[vk & 0xFF] = down;
}

void NoteButtonState(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
  gKeyDown[VK_LBUTTON] = bool(buttons & Qt::LeftButton);
  gKeyDown[VK_RBUTTON] = bool(buttons & Qt::RightButton);
  gKeyDown[VK_MBUTTON] = bool(buttons & Qt::MiddleButton);
  gKeyDown[VK_SHIFT] = bool(mods & Qt::ShiftModifier);
  gKeyDown[VK_CONTROL] = bool(mods & Qt::ControlModifier);
  gKeyDown[VK_MENU] = bool(mods & Qt::AltModifier);
}

WPARAM MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods) {
  WPARAM k = 0;
  if (buttons & Qt::LeftButton) k |= MK_LBUTTON;
  if (buttons & Qt::RightButton) k |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) k |= MK_MBUTTON;
  if (mods & Qt::ShiftModifier) k |= MK_SHIFT;
  if (mods & Qt::ControlModifier) k |= MK_CONTROL;
  return k;
}

SHORT GetKeyState(int vk) {
  vk &= 0xFF;
  bool down = gKeyDown[vk];
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) down = gKeyDown[VK_SHIFT];
  if (vk == VK_LCONTROL || vk == VK_RCONTROL) down = gKeyDown[VK_CONTROL];
  if (vk == VK_LMENU || vk == VK_RMENU) down = gKeyDown[VK_MENU];
  bool toggled = gKeyToggled[vk];
  if (vk == VK_CAPITAL || vk == VK_NUMLOCK || vk == VK_SCROLL)
    if (int lit = LockKeyToggle(vk); lit >= 0) toggled = lit == 1;
  return SHORT((down ? 0xFF80 : 0) | (toggled ? 1 : 0));
}

SHORT GetAsyncKeyState(int vk) { return SHORT(GetKeyState(vk) & 0x8000 ? 0x8000 : 0); }

BOOL GetCursorPos(POINT* p) {
  QPoint q = QCursor::pos();
  *p = {q.x(), q.y()};
  return TRUE;
}

BOOL SetCursorPos(int x, int y) {
  QCursor::setPos(x, y);
  return TRUE;
}

UINT GetDoubleClickTime() { return UINT(QGuiApplication::styleHints()->mouseDoubleClickInterval()); }

namespace {
int gBeeps = 0;
}

int BeepCount() { return gBeeps; }

BOOL MessageBeep(UINT) {
  ++gBeeps;
  QApplication::beep();
  return TRUE;
}

HWND WindowFromPoint(POINT pt) {
  QWidget* w = QApplication::widgetAt(pt.x, pt.y);
  HWND h = WindowFromWidget(w);
  // Deepest visible child at that point.
  for (;;) {
    if (!h) return nullptr;
    POINT c = pt;
    ScreenToClient(h, &c);
    HWND child = ChildWindowFromPoint(h, c);
    if (!child || child == h) return h;
    h = child;
  }
}

// ---------------------------------------------------------------------------------------------
// Painting

void EnsureBackBuffer(TWindowObject* w) {
  QSize size(std::max<LONG>(0, w->Rect.right - w->Rect.left), std::max<LONG>(0, w->Rect.bottom - w->Rect.top));
  if (w->BackBuffer.size() == size && !w->BackBuffer.isNull()) return;
  QImage old = w->BackBuffer;
  QImage fresh(size.isEmpty() ? QSize(1, 1) : size, QImage::Format_RGB32);
  fresh.fill(Qt::white);
  if (!old.isNull()) {
    QPainter p(&fresh);
    p.drawImage(0, 0, old);
  }
  w->BackBuffer = fresh;
  w->Update = QRegion(0, 0, size.width(), size.height());
  w->EraseNeeded = true;
}

void PaintInvalid(TWindowObject* w) {
  EnsureBackBuffer(w);
  if (w->Update.isEmpty() || w->Painting) return;
  HWND h = w->Handle;
  w->Painting = true;
  struct Done {
    HWND H;
    ~Done() {
      if (TWindowObject* x = FindWindowObject(H)) x->Painting = false;
    }
  } done{h};
  QRect client(w->Client.left, w->Client.top, w->Client.right - w->Client.left,
               w->Client.bottom - w->Client.top);
  if (!QRegion(w->Update).subtracted(client).isEmpty() || client.size() != w->BackBuffer.size())
    if (client != QRect(QPoint(0, 0), w->BackBuffer.size())) SendMessage(h, WM_NCPAINT, 1, 0);
  if (!(w = FindWindowObject(h))) return;
  if (w->Update.intersects(client)) SendMessage(h, WM_PAINT, 0, 0);
  if ((w = FindWindowObject(h))) {
    w->Update = QRegion();
    w->EraseNeeded = false;
  }
}

void PaintWindowNow(HWND hWnd) {
  if (TWindowObject* w = FindWindowObject(hWnd)) PaintInvalid(w);
}

HDC BeginPaint(HWND hWnd, PAINTSTRUCT* ps) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w || !ps) return nullptr;
  EnsureBackBuffer(w);
  QRect client(w->Client.left, w->Client.top, w->Client.right - w->Client.left,
               w->Client.bottom - w->Client.top);
  QRegion region = w->Update & client;
  bool erase = w->EraseNeeded;
  w->Update -= client;
  w->EraseNeeded = false;
  HDC dc = CreateWindowDC(w, true, &region);
  ps->hdc = dc;
  QRect b = region.boundingRect().translated(-client.topLeft());
  ps->rcPaint = b.isEmpty() ? RECT{} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
  ps->fErase = TRUE;
  if (erase) ps->fErase = SendMessage(hWnd, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0) ? FALSE : TRUE;
  return dc;
}

BOOL EndPaint(HWND, const PAINTSTRUCT* ps) {
  if (ps && ps->hdc) DeleteDC(ps->hdc);
  return TRUE;
}

BOOL InvalidateRect(HWND hWnd, const RECT* r, BOOL erase) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  QRect client(w->Client.left, w->Client.top, w->Client.right - w->Client.left,
               w->Client.bottom - w->Client.top);
  QRect area = r ? QRect(r->left, r->top, r->right - r->left, r->bottom - r->top)
                       .translated(client.topLeft()) & client
                 : client;
  if (area.isEmpty()) return TRUE;
  w->Update |= area;
  if (erase) w->EraseNeeded = true;
  if (w->Widget && !w->RedrawOff) w->Widget->update(area);
  return TRUE;
}

BOOL InvalidateRgn(HWND hWnd, HRGN rgn, BOOL erase) {
  TGdiRegion* r = FindRegion(rgn);
  if (!r) return InvalidateRect(hWnd, nullptr, erase);
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  QRegion area = r->Region.translated(w->Client.left, w->Client.top);
  w->Update |= area;
  if (erase) w->EraseNeeded = true;
  if (w->Widget && !w->RedrawOff) w->Widget->update(area);
  return TRUE;
}

BOOL ValidateRect(HWND hWnd, const RECT* r) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  if (!r) {
    w->Update = QRegion();
    w->EraseNeeded = false;
  } else {
    w->Update -= QRect(r->left, r->top, r->right - r->left, r->bottom - r->top)
                     .translated(w->Client.left, w->Client.top);
  }
  return TRUE;
}

BOOL GetUpdateRect(HWND hWnd, RECT* r, BOOL) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  QRect b = w->Update.boundingRect().translated(-w->Client.left, -w->Client.top);
  if (r) *r = b.isEmpty() ? RECT{} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
  return b.isEmpty() ? FALSE : TRUE;
}

BOOL UpdateWindow(HWND hWnd) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  if (w->Update.isEmpty() || w->RedrawOff) return TRUE;
  if (w->Widget && IsWindowVisible(hWnd) && w->Widget->isVisible()) {
    QRegion area = w->Update;
    w->Widget->repaint(area);
    // Qt may decline to paint (an unexposed window): paint into the buffer anyway.
    if ((w = FindWindowObject(hWnd)) && !w->Update.isEmpty()) PaintInvalid(w);
  } else {
    PaintInvalid(w);
  }
  return TRUE;
}

BOOL RedrawWindow(HWND hWnd, const RECT* r, HRGN rgn, UINT flags) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  if (flags & RDW_INVALIDATE) {
    if (rgn) InvalidateRgn(hWnd, rgn, flags & RDW_ERASE);
    else InvalidateRect(hWnd, r, flags & RDW_ERASE);
    if (flags & RDW_FRAME) {
      if ((w = FindWindowObject(hWnd))) {
        w->Update |= QRect(QPoint(0, 0), w->BackBuffer.size());
        if (w->Widget) w->Widget->update();
      }
    }
  }
  if (flags & RDW_VALIDATE) ValidateRect(hWnd, r);
  if (flags & RDW_ALLCHILDREN)
    if ((w = FindWindowObject(hWnd)))
      for (HWND c : std::vector<HWND>(w->Children)) RedrawWindow(c, nullptr, nullptr, flags);
  if (flags & (RDW_UPDATENOW | RDW_ERASENOW)) UpdateWindow(hWnd);
  return TRUE;
}

BOOL SetRedraw(HWND hWnd, BOOL redraw) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  w->RedrawOff = redraw ? 0 : 1;
  if (w->Widget) w->Widget->setUpdatesEnabled(redraw);
  return TRUE;
}

int SetWindowRgn(HWND hWnd, HRGN hRgn, BOOL redraw) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return 0;
  TGdiRegion* r = FindRegion(hRgn);
  w->HasRegion = r != nullptr;
  w->Shape = r ? r->Region : QRegion();
  if (w->Widget) {
    // Qt takes an empty mask for no mask at all; an empty region must hide the whole window,
    // so it becomes one pixel outside it.
    if (r) w->Widget->setMask(w->Shape.isEmpty() ? QRegion(-1, -1, 1, 1) : w->Shape);
    else w->Widget->clearMask();
  }
  // The window owns the region from now on.
  if (r) DeleteObject(hRgn);
  if (redraw) InvalidateRect(hWnd, nullptr, TRUE);
  return 1;
}

int GetWindowRgn(HWND hWnd, HRGN hRgn) {
  TWindowObject* w = FindWindowObject(hWnd);
  TGdiRegion* r = FindRegion(hRgn);
  if (!w || !r || !w->HasRegion) return ERROR;
  r->Region = w->Shape;
  return w->Shape.rectCount() > 1 ? COMPLEXREGION : (w->Shape.isEmpty() ? NULLREGION : SIMPLEREGION);
}

// ---------------------------------------------------------------------------------------------
// The default window procedure

namespace {
LRESULT DefaultWindowHandling(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp);
}  // namespace

namespace {
TSystemResizeRequest gLastResize;

// A press on a sizing code, also one a child window answers (a status bar's grip), resizes the
// top-level window by the window manager's own interactive resize.
void StartSystemResize(HWND hWnd, LRESULT code) {
  static const Qt::Edges edges[] = {
      Qt::LeftEdge, Qt::RightEdge, Qt::TopEdge, Qt::TopEdge | Qt::LeftEdge, Qt::TopEdge | Qt::RightEdge,
      Qt::BottomEdge, Qt::BottomEdge | Qt::LeftEdge, Qt::BottomEdge | Qt::RightEdge};
  HWND top = GetAncestor(hWnd, GA_ROOT);
  QWidget* widget = GetWindowWidget(top);
  if (!widget) return;
  gLastResize = {top, code};
  if (QWindow* window = widget->windowHandle()) window->startSystemResize(edges[code - HTLEFT]);
}
}  // namespace

TSystemResizeRequest LastSystemResizeRequest() { return gLastResize; }

LRESULT DefWindowProc(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp) {
  LRESULT result = DefaultWindowHandling(hWnd, msg, wp, lp);
  if (msg == WM_NCLBUTTONDOWN && LRESULT(wp) >= HTLEFT && LRESULT(wp) <= HTBOTTOMRIGHT && IsWindow(hWnd))
    StartSystemResize(hWnd, LRESULT(wp));
  // The context menu is asked for on the right button's release, the menu key and Shift+F10,
  // never on Qt's own context-menu events.
  if (msg == WM_RBUTTONUP && IsWindow(hWnd)) {
    POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
    ClientToScreen(hWnd, &p);
    SendMessage(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), PointToLParam(p.x, p.y));
  } else if (((msg == WM_KEYUP && wp == VK_APPS) ||
              ((msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN) && wp == VK_F10 && GetKeyState(VK_SHIFT) < 0)) &&
             IsWindow(hWnd)) {
    SendMessage(hWnd, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hWnd), PointToLParam(-1, -1));
  }
  return result;
}

namespace {
// Input events a hosted control is handling as its window's default. What it leaves unaccepted
// Qt hands on to the parent widgets; the platform's default handling passes nothing up that
// way (the wheel goes up through DefWindowProc itself), so those are dropped.
std::vector<QEvent*>& HostedEvents() {
  static thread_local std::vector<QEvent*> events;
  return events;
}

LRESULT DefaultWindowHandling(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return 0;
  TQtEventContext* ctx = CurrentQtEvent();
  if (ctx && ctx->Window == hWnd && ctx->Message == msg && !ctx->DefaultDone && ctx->Event) {
    ctx->DefaultDone = true;
    if (msg == WM_KEYDOWN && ctx->Widget && !dynamic_cast<TWindowWidget*>(ctx->Widget)) {
      // A hosted control types its characters when WM_CHAR reaches it, as the platform's
      // controls do, so that key filters can change or drop them first.
      QString text = static_cast<QKeyEvent*>(ctx->Event)->text();
      if (!text.isEmpty() && text.at(0).unicode() >= 0x20 && text.at(0).unicode() != 0x7F) return 0;
    }
    if (auto* shell = dynamic_cast<TWindowWidget*>(ctx->Widget)) {
      ctx->DefaultResult = shell->QtDefault(ctx->Event);
    } else if (ctx->Widget) {
      // A hosted Qt control: let it handle the event itself, bypassing our routing.
      ctx->Widget->setProperty("sonalix_bypass", true);
      HostedEvents().push_back(ctx->Event);
      ctx->DefaultResult = QCoreApplication::sendEvent(ctx->Widget, ctx->Event);
      HostedEvents().pop_back();
      if (ctx->Widget) ctx->Widget->setProperty("sonalix_bypass", QVariant());
    }
    return 0;
  }
  switch (msg) {
    case WM_NCCREATE: return TRUE;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hWnd, &ps);
      EndPaint(hWnd, &ps);
      return 0;
    }
    case WM_ERASEBKGND: {
      HBRUSH brush = w->Class ? w->Class->Class.hbrBackground : nullptr;
      if (!brush) return 0;
      RECT r;
      GetClientRect(hWnd, &r);
      FillRect(reinterpret_cast<HDC>(wp), &r, brush);
      return 1;
    }
    case WM_NCCALCSIZE: return 0;
    case WM_NCHITTEST: {
      POINT p{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
      RECT wr;
      GetWindowRect(hWnd, &wr);
      if (p.x < wr.left || p.y < wr.top || p.x >= wr.right || p.y >= wr.bottom) return HTNOWHERE;
      int x = p.x - wr.left, y = p.y - wr.top;
      if (x >= w->Client.left && x < w->Client.right && y >= w->Client.top && y < w->Client.bottom)
        return HTCLIENT;
      return HTBORDER;
    }
    case WM_SETTEXT: {
      w->Text = lp ? reinterpret_cast<const char*>(lp) : "";
      if (w->Widget && !(w->Style & WS_CHILD)) w->Widget->setWindowTitle(QString::fromStdString(w->Text));
      return TRUE;
    }
    case WM_GETTEXT: {
      if (!lp || wp == 0) return 0;
      size_t n = std::min<size_t>(w->Text.size(), wp - 1);
      std::memcpy(reinterpret_cast<char*>(lp), w->Text.data(), n);
      reinterpret_cast<char*>(lp)[n] = 0;
      return LRESULT(n);
    }
    case WM_GETTEXTLENGTH: return LRESULT(w->Text.size());
    case WM_SETICON: {
      HICON& slot = wp == ICON_BIG ? w->BigIcon : w->SmallIcon;
      HICON previous = slot;
      slot = reinterpret_cast<HICON>(lp);
      // The widget shows the small icon, the big one when there is no small one.
      QIcon icon;
      if (w->Widget && (IconFromHandle(w->SmallIcon, &icon) || IconFromHandle(w->BigIcon, &icon)))
        w->Widget->setWindowIcon(icon);
      return reinterpret_cast<LRESULT>(previous);
    }
    case WM_GETICON:
      if (wp == ICON_BIG) return reinterpret_cast<LRESULT>(w->BigIcon);
      if (wp == ICON_SMALL2 && !w->SmallIcon) return reinterpret_cast<LRESULT>(w->BigIcon);
      return reinterpret_cast<LRESULT>(w->SmallIcon);
    case WM_CLOSE: DestroyWindow(hWnd); return 0;
    case WM_SETREDRAW: SetRedraw(hWnd, wp ? TRUE : FALSE); return 0;
    case WM_SETCURSOR: {
      HWND parent = (w->Style & WS_CHILD) ? w->Parent : nullptr;
      if (parent && SendMessage(parent, WM_SETCURSOR, wp, lp)) return TRUE;
      if (SHORT(LOWORD(uintptr_t(lp))) == HTCLIENT) {
        HCURSOR c = w->Class ? w->Class->Class.hCursor : nullptr;
        SetCursor(c ? c : LoadCursor(nullptr, IDC_ARROW));
      }
      return FALSE;
    }
    case WM_MOUSEACTIVATE: {
      HWND parent = (w->Style & WS_CHILD) ? w->Parent : nullptr;
      if (parent)
        if (LRESULT r = SendMessage(parent, WM_MOUSEACTIVATE, wp, lp)) return r;
      return (w->ExStyle & WS_EX_NOACTIVATE) ? MA_NOACTIVATE : MA_ACTIVATE;
    }
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL:
    case WM_CONTEXTMENU:
      if ((w->Style & WS_CHILD) && w->Parent) return SendMessage(w->Parent, msg, wp, lp);
      return 0;
    case WM_WINDOWPOSCHANGED: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lp);
      if (!(pos->flags & SWP_NOMOVE)) {
        RECT r = w->Rect;
        SendMessage(hWnd, WM_MOVE, 0, PointToLParam(r.left + w->Client.left, r.top + w->Client.top));
      }
      if (!(pos->flags & SWP_NOSIZE) && (w = FindWindowObject(hWnd))) {
        WPARAM kind = SIZE_RESTORED;
        if (w->Widget && w->Widget->isMaximized()) kind = SIZE_MAXIMIZED;
        if (w->Widget && w->Widget->isMinimized()) kind = SIZE_MINIMIZED;
        SendMessage(hWnd, WM_SIZE, kind,
                    MAKELPARAM(WORD(w->Client.right - w->Client.left), WORD(w->Client.bottom - w->Client.top)));
      }
      return 0;
    }
    case WM_CHAR:
      if (w->Widget && !dynamic_cast<TWindowWidget*>(w->Widget.data()) && wp >= 0x20 && wp != 0x7F) {
        char32_t c = char32_t(wp);
        QKeyEvent key(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUcs4(&c, 1));
        QWidget* widget = w->Widget;
        widget->setProperty("sonalix_bypass", true);
        QCoreApplication::sendEvent(widget, &key);
        if (widget) widget->setProperty("sonalix_bypass", QVariant());
      }
      return 0;
    case WM_PRINTCLIENT: return 0;
  }
  return 0;
}
}  // namespace

// ---------------------------------------------------------------------------------------------
// Dropped files

namespace {
struct TDrop {
  std::vector<std::string> Files;
  POINT Point;
};
std::map<uintptr_t, TDrop> gDrops;
uintptr_t gNextDrop = 0x100;

HDROP NewDrop(std::vector<std::string> files, POINT point) {
  uintptr_t id = gNextDrop++;
  gDrops[id] = TDrop{std::move(files), point};
  return reinterpret_cast<HDROP>(id);
}
}  // namespace

void DragAcceptFiles(HWND hWnd, BOOL accept) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return;
  if (accept) w->ExStyle |= WS_EX_ACCEPTFILES;
  else w->ExStyle &= ~WS_EX_ACCEPTFILES;
  if (w->Widget) w->Widget->setAcceptDrops(accept);
}

UINT DragQueryFile(HDROP hDrop, UINT index, char* buffer, UINT cch) {
  auto it = gDrops.find(reinterpret_cast<uintptr_t>(hDrop));
  if (it == gDrops.end()) return 0;
  const auto& files = it->second.Files;
  if (index == 0xFFFFFFFF) return UINT(files.size());
  if (index >= files.size()) return 0;
  const std::string& name = files[index];
  if (!buffer) return UINT(name.size());
  if (cch == 0) return 0;
  size_t n = std::min<size_t>(name.size(), cch - 1);
  std::memcpy(buffer, name.data(), n);
  buffer[n] = 0;
  return UINT(n);
}

BOOL DragQueryPoint(HDROP hDrop, POINT* pt) {
  auto it = gDrops.find(reinterpret_cast<uintptr_t>(hDrop));
  if (it == gDrops.end()) return FALSE;
  if (pt) *pt = it->second.Point;
  return it->second.Point.x >= 0 && it->second.Point.y >= 0;
}

void DragFinish(HDROP hDrop) { gDrops.erase(reinterpret_cast<uintptr_t>(hDrop)); }

// ---------------------------------------------------------------------------------------------
// Monitors and layered windows

void RegisterWindowModuleEntries();
namespace {
// The optional entries of the window library are in the module table from the start.
const bool gWindowEntriesRegistered = (RegisterWindowModuleEntries(), true);
}  // namespace

HMONITOR MonitorFromPoint(POINT pt, DWORD flags) {
  const auto screens = QGuiApplication::screens();
  for (int i = 0; i < screens.size(); ++i)
    if (screens[i]->geometry().contains(pt.x, pt.y)) return reinterpret_cast<HMONITOR>(intptr_t(i + 1));
  if (flags == MONITOR_DEFAULTTONULL || screens.isEmpty()) return nullptr;
  if (flags == MONITOR_DEFAULTTONEAREST) {
    int best = 0;
    long bestDist = LONG_MAX;
    for (int i = 0; i < screens.size(); ++i) {
      QRect g = screens[i]->geometry();
      long dx = std::max({0, g.left() - int(pt.x), int(pt.x) - g.right()});
      long dy = std::max({0, g.top() - int(pt.y), int(pt.y) - g.bottom()});
      if (dx * dx + dy * dy < bestDist) bestDist = dx * dx + dy * dy, best = i;
    }
    return reinterpret_cast<HMONITOR>(intptr_t(best + 1));
  }
  int primary = int(screens.indexOf(QGuiApplication::primaryScreen()));
  return reinterpret_cast<HMONITOR>(intptr_t(std::max(primary, 0) + 1));
}

HMONITOR MonitorFromRect(const RECT* r, DWORD flags) {
  if (!r) return nullptr;
  return MonitorFromPoint(POINT{(r->left + r->right) / 2, (r->top + r->bottom) / 2}, flags);
}

HMONITOR MonitorFromWindow(HWND hwnd, DWORD flags) {
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return flags == MONITOR_DEFAULTTONULL ? nullptr : MonitorFromPoint({0, 0}, flags);
  return MonitorFromRect(&r, flags);
}

BOOL GetMonitorInfo(HMONITOR monitor, MONITORINFO* info) {
  const auto screens = QGuiApplication::screens();
  intptr_t i = reinterpret_cast<intptr_t>(monitor) - 1;
  if (!info || i < 0 || i >= screens.size()) return FALSE;
  QScreen* s = screens[int(i)];
  QRect g = s->geometry(), a = s->availableGeometry();
  info->rcMonitor = RECT{g.left(), g.top(), g.right() + 1, g.bottom() + 1};
  info->rcWork = RECT{a.left(), a.top(), a.right() + 1, a.bottom() + 1};
  info->dwFlags = s == QGuiApplication::primaryScreen() ? MONITORINFOF_PRIMARY : 0;
  return TRUE;
}

BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF, BYTE alpha, DWORD flags) {
  TWindowObject* w = FindWindowObject(hwnd);
  if (!w) return FALSE;
  if ((flags & LWA_ALPHA) && w->Widget) w->Widget->setWindowOpacity(alpha / 255.0);
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The shell widget and the routing of Qt events

TWindowWidget::TWindowWidget(HWND hWnd, QWidget* parent, Qt::WindowFlags flags)
    : QWidget(parent, flags), FHandle(hWnd) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_NoSystemBackground);
  setMouseTracking(true);
  setFocusPolicy(Qt::NoFocus);
}

bool TWindowWidget::event(QEvent* e) {
  if (FHandle && !property("sonalix_bypass").isValid()) {
    bool consumed = false;
    try {
      consumed = RouteQtEvent(FHandle, this, e);
    } catch (...) {
      HandleWindowException(std::current_exception());
      consumed = true;
    }
    if (consumed) return true;
  }
  return QWidget::event(e);
}

namespace {

struct TContextScope {
  TQtEventContext Ctx;
  TContextScope(HWND h, UINT msg, QEvent* e, QWidget* widget) {
    Ctx.Window = h;
    Ctx.Message = msg;
    Ctx.Event = e;
    Ctx.Widget = widget;
    Ctx.Outer = CurrentQtEvent();
    CurrentQtEvent() = &Ctx;
  }
  ~TContextScope() { CurrentQtEvent() = Ctx.Outer; }
};

LPARAM KeyData(QKeyEvent* k, bool up) {
  LPARAM data = 1 | (LPARAM(k->nativeScanCode() & 0xFF) << 16);
  if (k->modifiers() & Qt::AltModifier) data |= KF_ALTDOWN_BIT;
  if (up || k->isAutoRepeat()) data |= KF_REPEAT_BIT;
  if (up) data |= KF_UP_BIT;
  return data;
}

bool RouteMouse(HWND h, QWidget* widget, QMouseEvent* me) {
  NoteButtonState(me->buttons(), me->modifiers());
  MouseWidget() = widget;
  QPoint global = me->globalPosition().toPoint();
  HWND target = h;
  HWND capture = GetCapture();
  if (capture) target = capture;
  TWindowObject* w = FindWindowObject(target);
  if (!w) return true;
  UINT base = 0;  // 0: move; else the button-down message
  Qt::MouseButton button = me->button();
  if (button == Qt::LeftButton) base = WM_LBUTTONDOWN;
  else if (button == Qt::RightButton) base = WM_RBUTTONDOWN;
  else if (button == Qt::MiddleButton) base = WM_MBUTTONDOWN;
  else if (me->type() != QEvent::MouseMove) return true;
  if (me->type() == QEvent::MouseMove) base = 0;
  UINT offset = 0;
  if (me->type() == QEvent::MouseButtonRelease) offset = 1;
  if (me->type() == QEvent::MouseButtonDblClick)
    offset = (w->Class && (w->Class->Class.style & CS_DBLCLKS)) ? 2 : 0;

  // While a modal form has disabled the others, their windows take no mouse input (no hot
  // tracking, no hints, no clicks); the hooks still see it, so open menus can close.
  if (!capture) {
    HWND root = GetAncestor(target, GA_ROOT);
    if (root && !IsWindowEnabled(root)) {
      MOUSEHOOKSTRUCT mh;
      mh.pt = {global.x(), global.y()};
      mh.hwnd = target;
      mh.wHitTestCode = UINT(HTERROR);
      CallMouseHooks(base ? base + offset : WM_MOUSEMOVE, mh);
      me->accept();
      return true;
    }
  }
  LRESULT hit = HTCLIENT;
  if (!capture) {
    hit = SendMessage(target, WM_NCHITTEST, 0, PointToLParam(global.x(), global.y()));
    if (hit == HTTRANSPARENT) {
      me->ignore();
      return false;  // Qt hands it to the widget below
    }
    if (!(w = FindWindowObject(target))) return true;
  }
  bool press = me->type() == QEvent::MouseButtonPress || me->type() == QEvent::MouseButtonDblClick;
  UINT msg = base ? base + offset : WM_MOUSEMOVE;
  if (!capture) {
    SendMessage(target, WM_SETCURSOR, reinterpret_cast<WPARAM>(target), MAKELPARAM(WORD(SHORT(hit)), WORD(msg)));
    if (!(w = FindWindowObject(target))) return true;
  }
  if (press && !capture) {
    HWND top = GetAncestor(target, GA_ROOT);
    LRESULT act = SendMessage(target, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top),
                              MAKELPARAM(WORD(SHORT(hit)), WORD(msg)));
    if (act == MA_ACTIVATEANDEAT || act == MA_NOACTIVATEANDEAT) return true;
    if (!(w = FindWindowObject(target))) return true;
  }
  MSG m;
  m.hwnd = target;
  m.pt = {global.x(), global.y()};
  if (hit == HTCLIENT || capture) {
    POINT c{global.x(), global.y()};
    ScreenToClient(target, &c);
    m.message = msg;
    m.wParam = MouseKeyFlags(me->buttons() | (press ? button : Qt::NoButton), me->modifiers());
    if (me->type() == QEvent::MouseButtonRelease) m.wParam &= ~MouseKeyFlags(button, Qt::NoModifier);
    m.lParam = PointToLParam(c.x, c.y);
  } else {
    m.message = msg - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
    m.wParam = WPARAM(hit);
    m.lParam = PointToLParam(global.x(), global.y());
  }
  MOUSEHOOKSTRUCT mh;
  mh.pt = m.pt;
  mh.hwnd = target;
  mh.wHitTestCode = UINT(hit);
  if (CallMouseHooks(m.message, mh)) return true;
  m.lPrivate = StashInputEvent(me, widget, {}, CurrentQueue()->OwnLoopWaiting > 0);
  TContextScope scope(target, m.message, me, target == h ? widget : GetWindowWidget(target));
  DeliverInputMessage(m, me);
  me->accept();
  return true;
}

bool RouteKey(HWND h, QWidget* widget, QKeyEvent* k) {
  bool up = k->type() == QEvent::KeyRelease;
  WORD vk = VirtualKeyFromQt(k->key(), k->modifiers(), k->nativeVirtualKey());
  NoteButtonState(QGuiApplication::mouseButtons(), k->modifiers());
  if (vk) NoteKeyState(vk, !up);
  // Keys go to the focus window when it is ours, as the platform does.
  HWND target = GetFocus();
  if (!target || GetAncestor(target, GA_ROOT) != GetAncestor(h, GA_ROOT)) target = h;
  if (!vk) {
    // A key without a virtual key (a composed character): only its text matters.
    if (up || k->text().isEmpty()) return true;
    for (uint c : k->text().toUcs4()) PostMessage(target, WM_CHAR, c, 1);
    return true;
  }
  bool alt = (k->modifiers() & Qt::AltModifier) && !(k->modifiers() & Qt::ControlModifier);
  MSG m;
  m.hwnd = target;
  m.message = up ? (alt ? WM_SYSKEYUP : WM_KEYUP) : (alt ? WM_SYSKEYDOWN : WM_KEYDOWN);
  m.wParam = vk;
  m.lParam = KeyData(k, up);
  if (CallKeyboardHooks(m.wParam, m.lParam)) return true;
  std::string text = up ? std::string() : k->text().toStdString();
  if (k->modifiers() & Qt::ControlModifier) {
    // Ctrl+letter makes its control character, as the platform's translation does.
    if (vk >= 'A' && vk <= 'Z') text = std::string(1, char(vk - 'A' + 1));
  }
  m.lPrivate = StashInputEvent(k, widget, text, CurrentQueue()->OwnLoopWaiting > 0);
  TContextScope scope(target, m.message, k, target == h ? widget : GetWindowWidget(target));
  DeliverInputMessage(m, k);
  k->accept();
  return true;
}

}  // namespace

bool RouteQtEvent(HWND h, QWidget* widget, QEvent* e) {
  TWindowObject* w = FindWindowObject(h);
  if (!w) return false;
  const auto& hosted = HostedEvents();
  if (std::find(hosted.begin(), hosted.end(), e) != hosted.end()) return true;
  switch (e->type()) {
    case QEvent::Paint: {
      auto* pe = static_cast<QPaintEvent*>(e);
      if (!dynamic_cast<TWindowWidget*>(widget) && w->Class && w->Class->Name == "EDIT") {
        UpdateEditColors(h);
        if (!(w = FindWindowObject(h))) return true;
      }
      if (widget->size() != w->BackBuffer.size()) EnsureBackBuffer(w);
      PaintInvalid(w);
      if (!(w = FindWindowObject(h))) return true;
      if (dynamic_cast<TWindowWidget*>(widget)) {
        QPainter p(widget);
        p.setClipRegion(pe->region());
        if (!w->Layered.isNull()) {
          p.setCompositionMode(QPainter::CompositionMode_Source);
          p.drawImage(0, 0, w->Layered);
          return true;
        }
        p.drawImage(0, 0, w->BackBuffer);
        return true;
      }
      return false;
    }
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return RouteMouse(h, widget, static_cast<QMouseEvent*>(e));
    case QEvent::Wheel: {
      auto* we = static_cast<QWheelEvent*>(e);
      NoteButtonState(we->buttons(), we->modifiers());
      QPoint g = we->globalPosition().toPoint();
      int delta = we->angleDelta().y();
      bool horizontal = false;
      if (!delta) {
        delta = we->angleDelta().x();
        horizontal = true;
      }
      if (!delta) return true;
      MSG m;
      m.hwnd = h;
      m.message = horizontal ? WM_MOUSEHWHEEL : WM_MOUSEWHEEL;
      m.wParam = MAKEWPARAM(WORD(MouseKeyFlags(we->buttons(), we->modifiers())), WORD(SHORT(delta)));
      m.lParam = PointToLParam(g.x(), g.y());
      m.pt = {g.x(), g.y()};
      MOUSEHOOKSTRUCT mh;
      mh.pt = m.pt;
      mh.hwnd = h;
      mh.wHitTestCode = UINT(HTCLIENT);
      if (CallMouseHooks(m.message, mh)) return true;
      m.lPrivate = StashInputEvent(we, widget, {}, CurrentQueue()->OwnLoopWaiting > 0);
      TContextScope scope(h, m.message, we, widget);
      DeliverInputMessage(m, we);
      we->accept();
      return true;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return RouteKey(h, widget, static_cast<QKeyEvent*>(e));
    case QEvent::ShortcutOverride:
      return false;
    case QEvent::Leave:
      SendMessage(h, WM_MOUSELEAVE, 0, 0);
      return false;
    case QEvent::FocusIn: {
      auto reason = static_cast<QFocusEvent*>(e)->reason();
      if (!SettingQtFocus() && GetFocus() != h &&
          (reason == Qt::MouseFocusReason || reason == Qt::TabFocusReason ||
           reason == Qt::BacktabFocusReason || reason == Qt::ShortcutFocusReason))
        SetFocus(h);
      return false;
    }
    case QEvent::Resize:
    case QEvent::Move: {
      // Changes made by the window manager (top levels) reach the window object here.
      if (w->Style & WS_CHILD) return false;
      QRect g = widget->geometry();
      if (g.x() == w->Rect.left && g.y() == w->Rect.top && g.width() == w->Rect.right - w->Rect.left &&
          g.height() == w->Rect.bottom - w->Rect.top)
        return false;
      SetWindowPos(h, nullptr, g.x(), g.y(), g.width(), g.height(), SWP_NOZORDER | SWP_NOACTIVATE);
      return false;
    }
    case QEvent::Close: {
      e->ignore();
      SendMessage(h, WM_CLOSE, 0, 0);
      return true;
    }
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate: {
      bool active = e->type() == QEvent::WindowActivate;
      if (w->Style & WS_CHILD) return false;
      SendMessage(h, WM_NCACTIVATE, active, 0);
      if (IsWindow(h)) SendMessage(h, WM_ACTIVATE, active ? WA_ACTIVE : WA_INACTIVE, 0);
      return false;
    }
    case QEvent::DragEnter:
    case QEvent::DragMove: {
      auto* de = static_cast<QDropEvent*>(e);
      bool files = (w->ExStyle & WS_EX_ACCEPTFILES) && de->mimeData() && de->mimeData()->hasUrls();
      if (files) {
        files = false;
        for (const QUrl& u : de->mimeData()->urls()) files |= u.isLocalFile();
      }
      if (files) de->acceptProposedAction();
      else de->ignore();
      return true;
    }
    case QEvent::Drop: {
      auto* de = static_cast<QDropEvent*>(e);
      if (!(w->ExStyle & WS_EX_ACCEPTFILES) || !de->mimeData()) return false;
      std::vector<std::string> files;
      for (const QUrl& u : de->mimeData()->urls())
        if (u.isLocalFile()) files.push_back(u.toLocalFile().toStdString());
      if (files.empty()) return false;
      de->acceptProposedAction();
      QPoint p = de->position().toPoint() - ClientOrigin(w);
      HDROP drop = NewDrop(std::move(files), POINT{p.x(), p.y()});
      if (!PostMessage(h, WM_DROPFILES, reinterpret_cast<WPARAM>(drop), 0)) DragFinish(drop);
      return true;
    }
    case QEvent::ContextMenu: {
      auto* ce = static_cast<QContextMenuEvent*>(e);
      // The default handling of the button release and the keys asks for the menu instead.
      ce->accept();
      return true;
    }
    default:
      return false;
  }
}

// ---------------------------------------------------------------------------------------------
// Widgets of other classes (hosted Qt controls): their events pass through the same routing
// first; what reaches DefWindowProc is handed back to the widget itself.

namespace {
class TForeignWidgetFilter : public QObject {
 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    auto* widget = qobject_cast<QWidget*>(o);
    if (!widget || widget->property("sonalix_bypass").isValid()) return false;
    QVariant v = widget->property("sonalix_hwnd");
    if (!v.isValid()) return false;
    HWND h = reinterpret_cast<HWND>(uintptr_t(v.toULongLong()));
    try {
      return RouteQtEvent(h, widget, e);
    } catch (...) {
      HandleWindowException(std::current_exception());
      return true;
    }
  }
};
}  // namespace

void InstallForeignWidgetFilter(QWidget* widget) {
  static TForeignWidgetFilter* filter = new TForeignWidgetFilter;
  widget->setMouseTracking(true);
  widget->installEventFilter(filter);
}

void RouteWidgetInput(HWND hWnd, QWidget* part) {
  if (!part || !IsWindow(hWnd)) return;
  part->setProperty("sonalix_hwnd", QVariant::fromValue<qulonglong>(reinterpret_cast<uintptr_t>(hWnd)));
  InstallForeignWidgetFilter(part);
}

// ---------------------------------------------------------------------------------------------
// Input to Qt widgets that are not our windows (dialogs and menus of Qt) also reaches the mouse
// and keyboard hooks, through one filter on the application.

namespace {
class THookInputFilter : public QObject {
 protected:
  bool eventFilter(QObject* o, QEvent* e) override {
    auto* widget = qobject_cast<QWidget*>(o);
    if (!widget || dynamic_cast<TWindowWidget*>(widget) || widget->property("sonalix_hwnd").isValid())
      return false;
    switch (e->type()) {
      case QEvent::MouseButtonPress:
      case QEvent::MouseButtonRelease:
      case QEvent::MouseButtonDblClick:
      case QEvent::MouseMove: {
        auto* me = static_cast<QMouseEvent*>(e);
        UINT msg = WM_MOUSEMOVE;
        if (e->type() != QEvent::MouseMove) {
          UINT base = me->button() == Qt::RightButton ? WM_RBUTTONDOWN
                      : me->button() == Qt::MiddleButton ? WM_MBUTTONDOWN
                                                         : WM_LBUTTONDOWN;
          msg = base + (e->type() == QEvent::MouseButtonRelease ? 1 : e->type() == QEvent::MouseButtonDblClick ? 2 : 0);
        }
        QPoint g = me->globalPosition().toPoint();
        MOUSEHOOKSTRUCT mh;
        mh.pt = {g.x(), g.y()};
        mh.hwnd = WindowFromWidget(widget);
        mh.wHitTestCode = UINT(HTCLIENT);
        return CallMouseHooks(msg, mh);
      }
      case QEvent::KeyPress:
      case QEvent::KeyRelease: {
        auto* k = static_cast<QKeyEvent*>(e);
        WORD vk = VirtualKeyFromQt(k->key(), k->modifiers(), k->nativeVirtualKey());
        if (!vk) return false;
        return CallKeyboardHooks(vk, KeyData(k, e->type() == QEvent::KeyRelease));
      }
      default:
        return false;
    }
  }
};
}  // namespace

void SetForeignInputHooks(bool on) {
  static THookInputFilter* filter = nullptr;
  if (!QCoreApplication::instance()) return;
  if (on && !filter) {
    filter = new THookInputFilter;
    QCoreApplication::instance()->installEventFilter(filter);
  } else if (!on && filter) {
    QCoreApplication::instance()->removeEventFilter(filter);
    delete filter;
    filter = nullptr;
  }
}

// ---------------------------------------------------------------------------------------------
// Message boxes

int MessageBox(HWND hWnd, const std::string& text, const std::string& caption, UINT type) {
  TModalRequest req;
  req.Kind = TModalRequest::mrMessageBox;
  req.Owner = hWnd;
  req.Text = text;
  req.Caption = caption;
  req.Type = type;
  if (int answer = AskModalHook(req)) return answer;
  UINT kind = type & MB_TYPEMASK;
  int buttons[3] = {IDOK, 0, 0};
  switch (kind) {
    case MB_OKCANCEL: buttons[0] = IDOK, buttons[1] = IDCANCEL; break;
    case MB_ABORTRETRYIGNORE: buttons[0] = IDABORT, buttons[1] = IDRETRY, buttons[2] = IDIGNORE; break;
    case MB_YESNOCANCEL: buttons[0] = IDYES, buttons[1] = IDNO, buttons[2] = IDCANCEL; break;
    case MB_YESNO: buttons[0] = IDYES, buttons[1] = IDNO; break;
    case MB_RETRYCANCEL: buttons[0] = IDRETRY, buttons[1] = IDCANCEL; break;
  }
  int defIndex = int((type & MB_DEFMASK) >> 8);
  if (defIndex > 2 || !buttons[defIndex]) defIndex = 0;
  if (QGuiApplication::platformName() == "offscreen" || !QApplication::instance()) {
    // Nobody can answer on a screen nobody sees: take the default button, and say so.
    std::fprintf(stderr, "message box \"%s\": %s\n", caption.c_str(), text.c_str());
    return buttons[defIndex];
  }
  QMessageBox box(GetWindowWidget(GetAncestor(hWnd, GA_ROOT)));
  box.setWindowTitle(QString::fromStdString(caption));
  box.setText(QString::fromStdString(text));
  switch (type & MB_ICONMASK) {
    case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
    case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
    case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
    case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
  }
  static const std::pair<int, const char*> names[] = {
      {IDOK, "OK"}, {IDCANCEL, "Cancel"}, {IDABORT, "&Abort"}, {IDRETRY, "&Retry"},
      {IDIGNORE, "&Ignore"}, {IDYES, "&Yes"}, {IDNO, "&No"}};
  std::map<QAbstractButton*, int> ids;
  for (int i = 0; i < 3 && buttons[i]; ++i) {
    const char* label = "OK";
    for (auto& [id, name] : names)
      if (id == buttons[i]) label = name;
    auto role = buttons[i] == IDCANCEL || buttons[i] == IDNO ? QMessageBox::RejectRole : QMessageBox::AcceptRole;
    QPushButton* b = box.addButton(QString::fromUtf8(label), role);
    ids[b] = buttons[i];
    if (i == defIndex) box.setDefaultButton(b);
    if (buttons[i] == IDCANCEL) box.setEscapeButton(b);
  }
  box.exec();
  auto it = ids.find(box.clickedButton());
  if (it != ids.end()) return it->second;
  return (kind == MB_OK) ? IDOK : IDCANCEL;
}

// ---------------------------------------------------------------------------------------------
// Cursors

namespace {
std::map<uintptr_t, QCursor> gCursors;
uintptr_t gNextCursor = 0x10000;
HCURSOR gCurrentCursor = nullptr;
}  // namespace

QPointer<QWidget>& MouseWidget() {
  static QPointer<QWidget> w;
  return w;
}

HCURSOR CreateCursorHandle(const QCursor& cursor) {
  uintptr_t id = gNextCursor++;
  gCursors[id] = cursor;
  return reinterpret_cast<HCURSOR>(id);
}

bool CursorFromHandle(HCURSOR handle, QCursor* cursor) {
  auto it = gCursors.find(reinterpret_cast<uintptr_t>(handle));
  if (it == gCursors.end()) return false;
  if (cursor) *cursor = it->second;
  return true;
}

HCURSOR LoadCursor(HINSTANCE, intptr_t id) {
  static std::map<intptr_t, HCURSOR> system;
  auto it = system.find(id);
  if (it != system.end()) return it->second;
  Qt::CursorShape shape;
  switch (id) {
    case IDC_ARROW: shape = Qt::ArrowCursor; break;
    case IDC_IBEAM: shape = Qt::IBeamCursor; break;
    case IDC_WAIT: shape = Qt::WaitCursor; break;
    case IDC_CROSS: shape = Qt::CrossCursor; break;
    case IDC_UPARROW: shape = Qt::UpArrowCursor; break;
    case IDC_SIZENWSE: shape = Qt::SizeFDiagCursor; break;
    case IDC_SIZENESW: shape = Qt::SizeBDiagCursor; break;
    case IDC_SIZEWE: shape = Qt::SizeHorCursor; break;
    case IDC_SIZENS: shape = Qt::SizeVerCursor; break;
    case IDC_SIZEALL: shape = Qt::SizeAllCursor; break;
    case IDC_NO: shape = Qt::ForbiddenCursor; break;
    case IDC_HAND: shape = Qt::PointingHandCursor; break;
    case IDC_APPSTARTING: shape = Qt::BusyCursor; break;
    case IDC_HELP: shape = Qt::WhatsThisCursor; break;
    default: return nullptr;
  }
  return system[id] = CreateCursorHandle(QCursor(shape));
}

HCURSOR LoadCursor(HINSTANCE, const char* name) {
  static std::map<std::string, HCURSOR> named;
  if (!name) return nullptr;
  auto it = named.find(name);
  if (it != named.end()) return it->second;
  const QString base = QStringLiteral(":/cursors/") + QString::fromUtf8(name);
  QImage image(base + QStringLiteral(".bmp"));
  if (image.isNull()) return nullptr;
  image = image.convertToFormat(QImage::Format_ARGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < image.width(); ++x)
      if ((line[x] & 0xFFFFFFu) == 0xFF00FFu) line[x] = 0;
  }
  int hotX = 0, hotY = 0;
  QFile hotSpot(base + QStringLiteral(".hotspot"));
  if (hotSpot.open(QIODevice::ReadOnly)) {
    const QList<QByteArray> parts = hotSpot.readAll().simplified().split(' ');
    if (parts.size() == 2) hotX = parts[0].toInt(), hotY = parts[1].toInt();
  }
  return named[name] = CreateCursorHandle(QCursor(QPixmap::fromImage(image), hotX, hotY));
}

HCURSOR SetCursor(HCURSOR hCursor) {
  HCURSOR old = gCurrentCursor;
  gCurrentCursor = hCursor;
  QWidget* w = MouseWidget();
  if (HWND capture = GetCapture()) w = GetWindowWidget(capture);
  if (w) {
    QCursor c;
    if (!hCursor) w->setCursor(Qt::BlankCursor);
    else if (CursorFromHandle(hCursor, &c)) w->setCursor(c);
  }
  return old;
}

HCURSOR GetCursor() { return gCurrentCursor; }

BOOL DestroyCursor(HCURSOR hCursor) {
  return gCursors.erase(reinterpret_cast<uintptr_t>(hCursor)) ? TRUE : FALSE;
}

// ---------------------------------------------------------------------------------------------
// Keyboard translation and system metrics

UINT MapVirtualKey(UINT code, UINT mapType) {
  if (mapType == MAPVK_VK_TO_CHAR) {
    if (code >= 'A' && code <= 'Z') return code;
    if (code >= '0' && code <= '9') return code;
    switch (code) {
      case VK_SPACE: return ' ';
      case VK_RETURN: return '\r';
      case VK_TAB: return '\t';
      case VK_BACK: return 8;
      case VK_ESCAPE: return 27;
      case VK_OEM_PLUS: return '=';
      case VK_OEM_MINUS: return '-';
      case VK_OEM_COMMA: return ',';
      case VK_OEM_PERIOD: return '.';
      case VK_OEM_1: return ';';
      case VK_OEM_2: return '/';
      case VK_OEM_3: return '`';
      case VK_OEM_4: return '[';
      case VK_OEM_5: return '\\';
      case VK_OEM_6: return ']';
      case VK_OEM_7: return '\'';
      case VK_MULTIPLY: return '*';
      case VK_ADD: return '+';
      case VK_SUBTRACT: return '-';
      case VK_DIVIDE: return '/';
      case VK_DECIMAL: return '.';
    }
    if (code >= VK_NUMPAD0 && code <= VK_NUMPAD9) return '0' + (code - VK_NUMPAD0);
    return 0;
  }
  // Scan codes are not kept apart from virtual keys here.
  return mapType == MAPVK_VK_TO_VSC || mapType == MAPVK_VSC_TO_VK ? code : 0;
}

int ToAscii(UINT vk, UINT, const BYTE* keyState, WORD* out, UINT) {
  UINT c = MapVirtualKey(vk, MAPVK_VK_TO_CHAR);
  if (!c || !out) return 0;
  bool shift = keyState ? (keyState[VK_SHIFT] & 0x80) : GetKeyState(VK_SHIFT) < 0;
  bool caps = keyState ? (keyState[VK_CAPITAL] & 1) : (GetKeyState(VK_CAPITAL) & 1);
  bool ctrl = keyState ? (keyState[VK_CONTROL] & 0x80) : GetKeyState(VK_CONTROL) < 0;
  if (c >= 'A' && c <= 'Z') {
    if (ctrl) c = c - 'A' + 1;
    else if (shift == caps) c = c - 'A' + 'a';
  } else if (shift) {
    static const char* plain = "1234567890-=[]\\;',./`";
    static const char* shifted = "!@#$%^&*()_+{}|:\"<>?~";
    if (const char* p = std::strchr(plain, int(c))) c = UINT(uint8_t(shifted[p - plain]));
  }
  *out = WORD(c);
  return 1;
}

SHORT VkKeyScan(char ch) {
  unsigned char c = static_cast<unsigned char>(ch);
  if (c >= 'a' && c <= 'z') return SHORT(c - 'a' + 'A');
  if (c >= 'A' && c <= 'Z') return SHORT(0x100 | c);
  if (c >= '0' && c <= '9') return SHORT(c);
  static const char* shifted = "!@#$%^&*()_+{}|:\"<>?~";
  static const char* plain = "1234567890-=[]\\;',./`";
  for (UINT vk = 0; vk < 256; ++vk) {
    UINT m = MapVirtualKey(vk, MAPVK_VK_TO_CHAR);
    if (m == c && !(vk >= VK_NUMPAD0 && vk <= VK_DIVIDE)) return SHORT(vk);
  }
  if (const char* p = std::strchr(shifted, c))
    for (UINT vk = 0; vk < 256; ++vk)
      if (MapVirtualKey(vk, MAPVK_VK_TO_CHAR) == UINT(uint8_t(plain[p - shifted])) &&
          !(vk >= VK_NUMPAD0 && vk <= VK_DIVIDE))
        return SHORT(0x100 | vk);
  return -1;
}

BOOL GetKeyboardState(BYTE* state) {
  if (!state) return FALSE;
  for (int vk = 0; vk < 256; ++vk) {
    SHORT s = GetKeyState(vk);
    state[vk] = BYTE((s < 0 ? 0x80 : 0) | (s & 1));
  }
  return TRUE;
}

int GetSystemMetrics(int index) {
  // Classic metrics at 96 DPI, fixed so that layouts are the same everywhere.
  switch (index) {
    case SM_CXSCREEN:
    case SM_CYSCREEN: {
      QScreen* s = QGuiApplication::primaryScreen();
      QSize size = s ? s->size() : QSize(1024, 768);
      return index == SM_CXSCREEN ? size.width() : size.height();
    }
    case SM_CXVSCROLL:
    case SM_CYHSCROLL:
    case SM_CYVTHUMB:
    case SM_CXHTHUMB:
    case SM_CYVSCROLL:
    case SM_CXHSCROLL: return 17;
    case SM_CYCAPTION: return 19;
    case SM_CXBORDER:
    case SM_CYBORDER: return 1;
    case SM_CXDLGFRAME:
    case SM_CYDLGFRAME:
    case SM_CXEDGE:
    case SM_CYEDGE: return 2;
    case SM_CXFRAME:
    case SM_CYFRAME: return 4;
    case SM_CXICON:
    case SM_CYICON: return 32;
    case SM_CXCURSOR:
    case SM_CYCURSOR: return 32;
    case SM_CYMENU: return 19;
    case SM_CXSMICON:
    case SM_CYSMICON: return 16;
    case SM_CXSIZE:
    case SM_CYSIZE: return 18;
    case SM_CXMENUSIZE:
    case SM_CYMENUSIZE: return 18;
    case SM_CXSMSIZE:
    case SM_CYSMSIZE: return 15;
    case SM_CYSMCAPTION: return 15;
    case SM_CXMIN: return 112;
    case SM_CYMIN: return 27;
    case SM_CXDOUBLECLK:
    case SM_CYDOUBLECLK: return 4;
    case SM_CXDRAG:
    case SM_CYDRAG: return 4;
    case SM_SWAPBUTTON: return 0;
    case SM_MOUSEPRESENT: return 1;
    case SM_MOUSEWHEELPRESENT: return 1;
    case SM_CMONITORS: return int(QGuiApplication::screens().size());
  }
  return 0;
}

namespace {
// The menu and tool-tip effects, by their query action; off until a program sets them.
std::map<UINT, BOOL> gAnimationSettings;
}  // namespace

BOOL SystemParametersInfo(UINT action, UINT param, void* pv, UINT) {
  switch (action) {
    case SPI_GETWORKAREA: {
      if (!pv) return FALSE;
      QScreen* s = QGuiApplication::primaryScreen();
      QRect r = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
      *static_cast<RECT*>(pv) = RECT{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
      return TRUE;
    }
    case SPI_GETWHEELSCROLLLINES:
      if (pv) *static_cast<UINT*>(pv) = 3;
      return TRUE;
    case SPI_GETMENUANIMATION:
    case SPI_GETTOOLTIPANIMATION:
    case SPI_GETTOOLTIPFADE:
    case SPI_GETMENUFADE:
      if (pv) *static_cast<BOOL*>(pv) = gAnimationSettings[action];
      return TRUE;
    case SPI_SETMENUANIMATION:
    case SPI_SETTOOLTIPANIMATION:
    case SPI_SETTOOLTIPFADE:
    case SPI_SETMENUFADE:
      gAnimationSettings[action - 1] = pv != nullptr;
      return TRUE;
    case SPI_GETCOMBOBOXANIMATION:
    case SPI_GETDRAGFULLWINDOWS:
    case SPI_GETFLATMENU:
      // Effects are off: no compositor can be assumed.
      if (pv) *static_cast<BOOL*>(pv) = FALSE;
      return TRUE;
    case SPI_GETKEYBOARDCUES:
      if (pv) *static_cast<BOOL*>(pv) = TRUE;
      return TRUE;
    case SPI_GETNONCLIENTMETRICS:
      return pv && FillNonClientMetrics(*static_cast<NONCLIENTMETRICS*>(pv));
    case SPI_GETICONTITLELOGFONT:
      if (!pv) return FALSE;
      *static_cast<LOGFONT*>(pv) = SystemLogFont(TSystemFont::Icon);
      return TRUE;
  }
  (void)param;
  return FALSE;
}

// ---------------------------------------------------------------------------------------------
// Scrolling

int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update,
                   RECT* updateRect, UINT flags) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return ERROR;
  EnsureBackBuffer(w);
  QPoint origin = ClientOrigin(w);
  QRect client(origin, QSize(w->Client.right - w->Client.left, w->Client.bottom - w->Client.top));
  auto toWindow = [&](const RECT* r) {
    return r ? QRect(r->left, r->top, r->right - r->left, r->bottom - r->top).translated(origin) : client;
  };
  QRect area = toWindow(scroll) & client;
  QRect limit = toWindow(clip) & client;
  QRegion moved = QRegion(area.translated(dx, dy)) & area & limit;
  if (!moved.isEmpty()) {
    QImage copy = w->BackBuffer.copy(area);
    QPainter p(&w->BackBuffer);
    p.setClipRegion(moved);
    p.drawImage(area.topLeft() + QPoint(dx, dy), copy);
  }
  // What was invalid moves with the contents; what comes into view is invalid now.
  QRegion invalidInArea = w->Update & area;
  w->Update = (w->Update - area) | (invalidInArea.translated(dx, dy) & area & limit);
  QRegion exposed = (QRegion(area) & limit) - moved;
  if (flags & SW_SCROLLCHILDREN) {
    for (HWND c : std::vector<HWND>(w->Children)) {
      TWindowObject* co = FindWindowObject(c);
      if (!co) continue;
      QRect r(co->Rect.left, co->Rect.top, co->Rect.right - co->Rect.left, co->Rect.bottom - co->Rect.top);
      if (scroll && !r.translated(origin).intersects(area)) continue;
      SetWindowPos(c, nullptr, co->Rect.left + dx, co->Rect.top + dy, 0, 0,
                   SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (!(w = FindWindowObject(hWnd))) return ERROR;
  }
  QRegion exposedClient = exposed.translated(-origin);
  if (TGdiRegion* r = FindRegion(update)) r->Region = exposedClient;
  if (updateRect) {
    QRect b = exposedClient.boundingRect();
    *updateRect = b.isEmpty() ? RECT{} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
  }
  if (flags & SW_INVALIDATE) {
    w->Update |= exposed;
    if (flags & SW_ERASE) w->EraseNeeded = true;
  }
  if (w->Widget && !w->RedrawOff) w->Widget->update(area);
  if (exposed.isEmpty()) return NULLREGION;
  return exposed.rectCount() > 1 ? COMPLEXREGION : SIMPLEREGION;
}

BOOL ScrollWindow(HWND hWnd, int dx, int dy, const RECT* rect, const RECT* clip) {
  return ScrollWindowEx(hWnd, dx, dy, rect, clip, nullptr, nullptr,
                        SW_INVALIDATE | SW_ERASE | (rect ? 0 : SW_SCROLLCHILDREN)) != ERROR;
}
