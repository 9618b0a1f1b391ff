// Window objects and their table, window procedures and subclassing, window classes, window
// geometry and relations, and the hidden message windows.
#include <QApplication>
#include <QGuiApplication>
#include <algorithm>

#include "platform/win/Gdi.h"
#include "platform/win/VisualStyles.h"
#include "platform/win/WinInternal.h"

std::mutex gTableLock;
std::unordered_map<uintptr_t, std::unique_ptr<TWindowObject>> gWindows;

// Every program with windows has the visual-style library in its module table.
static const bool gVisualStylesInstalled = (InstallVisualStyles(), true);

namespace {

uintptr_t gNextHandle = 0x1000;
std::map<std::string, std::unique_ptr<TWindowClassEntry>, CaseLess> gClasses;
std::map<std::string, TWidgetFactory, CaseLess> gPendingFactories;

// ---- subclass frames
struct TSubclassFrame {
  HWND Window;
  SUBCLASSPROC Proc;
  UINT_PTR Id;
  size_t Index;
};
thread_local std::vector<TSubclassFrame> tSubclassFrames;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Window procedures

WNDPROC MakeWindowProc(TWindowProcFunction function) {
  return new TWindowProcedure{std::move(function)};
}

void FreeWindowProc(WNDPROC proc) {
  if (proc != DefWindowProcInstance()) delete proc;
}

WNDPROC DefWindowProcInstance() {
  static TWindowProcedure def{[](HWND h, UINT m, WPARAM w, LPARAM l) {
    return DefWindowProc(h, m, w, l);
  }};
  return &def;
}

LRESULT CallWindowProc(WNDPROC proc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  if (!proc) return DefWindowProc(hWnd, Msg, wParam, lParam);
  return proc->Function(hWnd, Msg, wParam, lParam);
}

namespace {
LRESULT CallSubclassBelow(HWND h, size_t below, UINT msg, WPARAM wp, LPARAM lp) {
  TWindowObject* w = FindWindowObject(h);
  if (!w) return 0;
  below = std::min(below, w->Subclasses.size());
  if (below == 0) return CallWindowProc(w->Proc, h, msg, wp, lp);
  TSubclassLink link = w->Subclasses[below - 1];
  tSubclassFrames.push_back({h, link.Proc, link.Id, below - 1});
  struct Pop {
    ~Pop() { tSubclassFrames.pop_back(); }
  } pop;
  return link.Proc(h, msg, wp, lp, link.Id, link.RefData);
}
}  // namespace

LRESULT CallWindowChain(TWindowObject* w, UINT msg, WPARAM wp, LPARAM lp) {
  HWND h = w->Handle;
  if (w->Subclasses.empty()) return CallWindowProc(w->Proc, h, msg, wp, lp);
  return CallSubclassBelow(h, w->Subclasses.size(), msg, wp, lp);
}

BOOL SetWindowSubclass(HWND hWnd, SUBCLASSPROC proc, UINT_PTR id, DWORD_PTR refData) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w || !proc) return FALSE;
  for (auto& l : w->Subclasses)
    if (l.Proc == proc && l.Id == id) {
      l.RefData = refData;
      return TRUE;
    }
  w->Subclasses.push_back({proc, id, refData});
  return TRUE;
}

BOOL RemoveWindowSubclass(HWND hWnd, SUBCLASSPROC proc, UINT_PTR id) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  for (auto it = w->Subclasses.begin(); it != w->Subclasses.end(); ++it)
    if (it->Proc == proc && it->Id == id) {
      w->Subclasses.erase(it);
      return TRUE;
    }
  return FALSE;
}

LRESULT DefSubclassProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam) {
  for (auto it = tSubclassFrames.rbegin(); it != tSubclassFrames.rend(); ++it) {
    if (it->Window != hWnd) continue;
    TWindowObject* w = FindWindowObject(hWnd);
    if (!w) return 0;
    size_t index = it->Index;
    for (size_t i = 0; i < w->Subclasses.size(); ++i)
      if (w->Subclasses[i].Proc == it->Proc && w->Subclasses[i].Id == it->Id) index = i;
    return CallSubclassBelow(hWnd, index, Msg, wParam, lParam);
  }
  TWindowObject* w = FindWindowObject(hWnd);
  return w ? CallWindowProc(w->Proc, hWnd, Msg, wParam, lParam) : 0;
}

// ---------------------------------------------------------------------------------------------
// Classes and windows

TWindowObject* FindWindowObject(HWND hWnd) {
  if (!hWnd) return nullptr;
  std::lock_guard<std::mutex> g(gTableLock);
  auto it = gWindows.find(reinterpret_cast<uintptr_t>(hWnd));
    return it == gWindows.end() ? nullptr : it->second.get();
}

namespace {
void EnsureBuiltinClasses();
}

ATOM RegisterClass(const WNDCLASS* wc) {
  if (!wc || !wc->lpszClassName) return 0;
  std::string name = wc->lpszClassName;
  if (gClasses.count(name)) return 0;
  auto entry = std::make_unique<TWindowClassEntry>();
  entry->Name = name;
  entry->Class = *wc;
  entry->Class.lpszClassName = nullptr;
  auto pending = gPendingFactories.find(name);
  if (pending != gPendingFactories.end()) entry->WidgetFactory = pending->second;
  gClasses[name] = std::move(entry);
  // Class atoms lie in 0xC000-0xFFFF and come round again: a process that registers and drops
  // classes for long (a network component made after the last one went) must never get 0.
  static ATOM next = 0xC000;
  const ATOM atom = next;
  next = next == 0xFFFF ? ATOM(0xC000) : ATOM(next + 1);
  return atom;
}

BOOL UnregisterClass(const char* className, HINSTANCE) {
  return className && gClasses.erase(className) ? TRUE : FALSE;
}

BOOL GetClassInfo(HINSTANCE, const char* className, WNDCLASS* wc) {
  if (!className) return FALSE;
  EnsureBuiltinClasses();
  auto it = gClasses.find(className);
  if (it == gClasses.end()) return FALSE;
  if (wc) {
    *wc = it->second->Class;
    wc->lpszClassName = it->second->Name.c_str();
  }
  return TRUE;
}

void SetClassWidgetFactory(const char* className, TWidgetFactory factory) {
  auto it = gClasses.find(className);
  if (it != gClasses.end()) it->second->WidgetFactory = factory;
  gPendingFactories[className] = std::move(factory);
}

TWidgetFactory GetClassWidgetFactory(const char* className) {
  EnsureBuiltinClasses();
  auto it = gClasses.find(className);
  if (it != gClasses.end()) return it->second->WidgetFactory;
  auto pending = gPendingFactories.find(className);
  return pending == gPendingFactories.end() ? TWidgetFactory() : pending->second;
}

std::string GetClassName(HWND hWnd) {
  TWindowObject* w = FindWindowObject(hWnd);
  return w ? w->ClassName : std::string();
}

void RegisterEditClass();

namespace {

void EnsureBuiltinClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterEditClass();
  for (const char* name : {"STATIC", "#32770", "SonalixMessageWindow"}) {
    WNDCLASS wc;
    wc.lpfnWndProc = DefWindowProcInstance();
    wc.lpszClassName = name;
    RegisterClass(&wc);
  }
}

Qt::WindowFlags TopLevelFlags(DWORD style, DWORD ex) {
  Qt::WindowFlags f = Qt::Window;
  if (ex & WS_EX_TOOLWINDOW) f = Qt::Tool;
  if ((style & WS_POPUP) || !(style & WS_CAPTION)) f |= Qt::FramelessWindowHint;
  if (ex & WS_EX_TOPMOST) f |= Qt::WindowStaysOnTopHint;
  if (ex & WS_EX_NOACTIVATE) f |= Qt::WindowDoesNotAcceptFocus;
  return f;
}

void ApplyWidgetGeometry(TWindowObject* w) {
  if (!w->Widget) return;
  QRect r(w->Rect.left, w->Rect.top, w->Rect.right - w->Rect.left, w->Rect.bottom - w->Rect.top);
  if (w->Style & WS_CHILD) {
    if (TWindowObject* p = FindWindowObject(w->Parent)) r.translate(ClientOrigin(p));
  }
  if (w->Widget->geometry() != r) w->Widget->setGeometry(r);
}

}  // namespace

QPoint ClientOrigin(const TWindowObject* w) { return QPoint(w->Client.left, w->Client.top); }

void RecalcClient(TWindowObject* w) {
  NCCALCSIZE_PARAMS p;
  p.rgrc[0] = w->Rect;
  p.rgrc[1] = w->Rect;
  p.rgrc[2] = w->Rect;
  SendMessage(w->Handle, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&p));
  w = FindWindowObject(w->Handle);
  if (!w) return;
  RECT c = p.rgrc[0];
  c.left -= w->Rect.left;
  c.right -= w->Rect.left;
  c.top -= w->Rect.top;
  c.bottom -= w->Rect.top;
  LONG width = w->Rect.right - w->Rect.left, height = w->Rect.bottom - w->Rect.top;
  c.left = std::clamp<LONG>(c.left, 0, width);
  c.top = std::clamp<LONG>(c.top, 0, height);
  c.right = std::clamp<LONG>(c.right, c.left, width);
  c.bottom = std::clamp<LONG>(c.bottom, c.top, height);
  w->Client = c;
}

HWND CreateWindowEx(DWORD exStyle, const char* className, const char* windowName, DWORD style,
                    int x, int y, int width, int height, HWND parent, HMENU menu,
                    HINSTANCE instance, void* param) {
  EnsureBuiltinClasses();
  if (!className) return nullptr;
  auto cls = gClasses.find(className);
  if (cls == gClasses.end()) return nullptr;
  bool messageOnly = parent == HWND_MESSAGE;
  if (messageOnly) parent = nullptr;
  TWindowObject* parentObj = parent ? FindWindowObject(parent) : nullptr;
  if (parent && !parentObj) return nullptr;
  if ((style & WS_CHILD) && !parentObj) return nullptr;

  auto obj = std::make_unique<TWindowObject>();
  TWindowObject* w = obj.get();
  {
    std::lock_guard<std::mutex> g(gTableLock);
    w->Handle = reinterpret_cast<HWND>(gNextHandle);
    gNextHandle += 4;
  }
  w->ClassName = cls->second->Name;
  w->Class = cls->second.get();
  w->Proc = cls->second->Class.lpfnWndProc;
  w->Style = style & ~WS_VISIBLE;
  w->ExStyle = exStyle;
  w->MessageOnly = messageOnly;
  if (style & WS_CHILD) {
    w->Parent = parent;
    w->Id = reinterpret_cast<LONG_PTR>(menu);
  } else {
    w->Owner = parent;
  }
  w->Instance = instance;
  w->Text = windowName ? windowName : "";
  if (x == CW_USEDEFAULT) x = y = 0;
  if (width == CW_USEDEFAULT) width = 400, height = 300;
  w->Rect = {x, y, x + std::max(width, 0), y + std::max(height, 0)};
  w->Client = {0, 0, std::max(width, 0), std::max(height, 0)};
  w->Queue = CurrentQueue();
  HWND h = w->Handle;
  {
    std::lock_guard<std::mutex> g(gTableLock);
    gWindows[reinterpret_cast<uintptr_t>(h)] = std::move(obj);
  }
  if (parentObj && (style & WS_CHILD)) parentObj->Children.insert(parentObj->Children.begin(), h);

  if (!messageOnly) {
    QWidget* parentWidget = nullptr;
    if (style & WS_CHILD) parentWidget = parentObj->Widget;
    else if (parentObj) parentWidget = parentObj->Widget;
    QWidget* widget = nullptr;
    if (cls->second->WidgetFactory) {
      widget = cls->second->WidgetFactory((style & WS_CHILD) ? parentWidget : nullptr);
      if (widget && !(style & WS_CHILD)) {
        widget->setParent(parentWidget, TopLevelFlags(style, exStyle));
      }
      if (widget) {
        widget->setProperty("sonalix_hwnd", QVariant::fromValue<qulonglong>(reinterpret_cast<uintptr_t>(h)));
        InstallForeignWidgetFilter(widget);
      }
    } else {
      widget = new TWindowWidget(h, parentWidget,
                                 (style & WS_CHILD) ? Qt::Widget : TopLevelFlags(style, exStyle));
    }
    w->Widget = widget;
    if (widget) {
      if (exStyle & WS_EX_NOACTIVATE) widget->setAttribute(Qt::WA_ShowWithoutActivating);
      if (style & WS_DISABLED) widget->setEnabled(false);
      if (!w->Text.empty() && !(style & WS_CHILD)) widget->setWindowTitle(QString::fromStdString(w->Text));
    }
  }

  CREATESTRUCT cs;
  cs.lpCreateParams = param;
  cs.hInstance = instance;
  cs.hMenu = menu;
  cs.hwndParent = parent;
  cs.x = x;
  cs.y = y;
  cs.cx = width;
  cs.cy = height;
  cs.style = LONG(style);
  cs.lpszName = windowName;
  cs.lpszClass = className;
  cs.dwExStyle = exStyle;
  if (!SendMessage(h, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
    DestroyWindow(h);
    return nullptr;
  }
  if ((w = FindWindowObject(h)) == nullptr) return nullptr;
  RecalcClient(w);
  if ((w = FindWindowObject(h)) == nullptr) return nullptr;
  ApplyWidgetGeometry(w);
  if (SendMessage(h, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
    DestroyWindow(h);
    return nullptr;
  }
  if (!(w = FindWindowObject(h))) return nullptr;
  if (!messageOnly) EnsureBackBuffer(w);
  if (style & WS_VISIBLE) ShowWindow(h, SW_SHOW);
  return h;
}

BOOL DestroyWindow(HWND hWnd) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w || w->Destroying) return FALSE;
  {
    std::lock_guard<std::mutex> g(gTableLock);
    w->Destroying = true;
  }
  if (gCapture == hWnd) ReleaseCapture();
  // Owned top-level windows go first, as they would with their owner.
  std::vector<HWND> owned;
  {
    std::lock_guard<std::mutex> g(gTableLock);
    for (auto& [id, other] : gWindows)
      if (other->Owner == hWnd) owned.push_back(other->Handle);
  }
  for (HWND o : owned) DestroyWindow(o);
  if (w->Widget && (w->Style & WS_VISIBLE)) w->Widget->hide();
  SendMessage(hWnd, WM_DESTROY, 0, 0);
  if (!(w = FindWindowObject(hWnd))) return TRUE;
  std::vector<HWND> children = w->Children;
  for (HWND c : children) DestroyWindow(c);
  if (gFocus == hWnd) gFocus = nullptr;
  SendMessage(hWnd, WM_NCDESTROY, 0, 0);
  if (!(w = FindWindowObject(hWnd))) return TRUE;
  ReleaseWindowDCs(w);
  if (w->SystemMenu) DestroyMenu(w->SystemMenu);
  auto& timers = w->Queue->Timers;
  timers.erase(std::remove_if(timers.begin(), timers.end(),
                              [hWnd](const TTimerEntry& t) { return t.Window == hWnd; }),
               timers.end());
  if (TWindowObject* p = FindWindowObject(w->Parent)) {
    auto& list = p->Children;
    list.erase(std::remove(list.begin(), list.end(), hWnd), list.end());
  }
  if (w->Widget) {
    if (auto* shell = dynamic_cast<TWindowWidget*>(w->Widget.data())) shell->Detach();
    w->Widget->setProperty("sonalix_hwnd", QVariant());
    w->Widget->hide();
    // The widget may be inside its own event handler: let Qt free it afterwards.
    if (!w->Widget->parentWidget() || !FindWindowObject(w->Parent) ||
        !FindWindowObject(w->Parent)->Destroying)
      w->Widget->deleteLater();
  }
  std::unique_ptr<TWindowObject> doomed;
  {
    std::lock_guard<std::mutex> g(gTableLock);
    auto it = gWindows.find(reinterpret_cast<uintptr_t>(hWnd));
    if (it != gWindows.end()) {
      doomed = std::move(it->second);
      gWindows.erase(it);
    }
  }
  return TRUE;
}

BOOL IsWindow(HWND hWnd) { return FindWindowObject(hWnd) ? TRUE : FALSE; }

BOOL IsWindowVisible(HWND hWnd) {
  for (TWindowObject* w = FindWindowObject(hWnd); w;) {
    if (!(w->Style & WS_VISIBLE)) return FALSE;
    if (!(w->Style & WS_CHILD)) return TRUE;
    w = FindWindowObject(w->Parent);
  }
  return FALSE;
}

BOOL IsWindowEnabled(HWND hWnd) {
  TWindowObject* w = FindWindowObject(hWnd);
  return w && !(w->Style & WS_DISABLED) ? TRUE : FALSE;
}

BOOL EnableWindow(HWND hWnd, BOOL bEnable) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  BOOL wasDisabled = (w->Style & WS_DISABLED) ? TRUE : FALSE;
  if (bEnable == !wasDisabled) return wasDisabled;
  if (bEnable) w->Style &= ~WS_DISABLED;
  else w->Style |= WS_DISABLED;
  if (!bEnable && (gFocus == hWnd || IsChild(hWnd, gFocus))) SetFocus(nullptr);
  if (!bEnable && gCapture == hWnd) ReleaseCapture();
  if (w->Widget) w->Widget->setEnabled(bEnable);
  SendMessage(hWnd, WM_ENABLE, bEnable ? TRUE : FALSE, 0);
  return wasDisabled;
}

BOOL ShowWindow(HWND hWnd, int cmd) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  BOOL was = (w->Style & WS_VISIBLE) ? TRUE : FALSE;
  bool show = cmd != SW_HIDE;
  if (show != bool(was)) SendMessage(hWnd, WM_SHOWWINDOW, show, 0);
  if (!(w = FindWindowObject(hWnd))) return was;
  if (show) w->Style |= WS_VISIBLE;
  else w->Style &= ~WS_VISIBLE;
  if (show && !was && !w->MessageOnly) InvalidateRect(hWnd, nullptr, TRUE);
  if (!show && (gFocus == hWnd || IsChild(hWnd, gFocus))) {
    HWND p = GetParent(hWnd);
    SetFocus(p && IsWindowVisible(p) ? p : nullptr);
  }
  if (QWidget* widget = w->Widget) {
    if (!show) {
      widget->hide();
    } else {
      bool noActivate = cmd == SW_SHOWNA || cmd == SW_SHOWNOACTIVATE ||
                        cmd == SW_SHOWMINNOACTIVE || (w->ExStyle & WS_EX_NOACTIVATE);
      bool keep = widget->testAttribute(Qt::WA_ShowWithoutActivating);
      if (noActivate) widget->setAttribute(Qt::WA_ShowWithoutActivating, true);
      switch (cmd) {
        case SW_SHOWMAXIMIZED: widget->showMaximized(); break;
        case SW_MINIMIZE:
        case SW_SHOWMINIMIZED:
        case SW_SHOWMINNOACTIVE: widget->showMinimized(); break;
        case SW_RESTORE: widget->showNormal(); break;
        default: widget->show(); break;
      }
      widget->setAttribute(Qt::WA_ShowWithoutActivating, keep);
      if (!(w->Style & WS_CHILD) && !noActivate && QGuiApplication::platformName() != "offscreen")
        widget->raise();
    }
  }
  return was;
}

BOOL IsIconic(HWND hWnd) {
  TWindowObject* w = FindWindowObject(hWnd);
  return w && w->Widget && w->Widget->isMinimized();
}

BOOL IsZoomed(HWND hWnd) {
  TWindowObject* w = FindWindowObject(hWnd);
  return w && w->Widget && w->Widget->isMaximized();
}

BOOL IsChild(HWND hWndParent, HWND hWnd) {
  if (!hWndParent || !hWnd) return FALSE;
  TWindowObject* w = FindWindowObject(hWnd);
  while (w && (w->Style & WS_CHILD)) {
    if (w->Parent == hWndParent) return TRUE;
    w = FindWindowObject(w->Parent);
  }
  return FALSE;
}

HWND GetParent(HWND hWnd) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return nullptr;
  return (w->Style & WS_CHILD) ? w->Parent : w->Owner;
}

HWND SetParent(HWND child, HWND newParent) {
  TWindowObject* w = FindWindowObject(child);
  if (!w) return nullptr;
  TWindowObject* np = newParent ? FindWindowObject(newParent) : nullptr;
  if (newParent && !np) return nullptr;
  HWND old = (w->Style & WS_CHILD) ? w->Parent : w->Owner;
  if (TWindowObject* op = FindWindowObject(w->Parent)) {
    auto& list = op->Children;
    list.erase(std::remove(list.begin(), list.end(), child), list.end());
  }
  bool visible = w->Style & WS_VISIBLE;
  if (np && (w->Style & WS_CHILD)) {
    w->Parent = newParent;
    np->Children.insert(np->Children.begin(), child);
    if (w->Widget) w->Widget->setParent(np->Widget);
  } else {
    // Without a parent a child window becomes a top-level window.
    w->Parent = nullptr;
    w->Owner = newParent;
    if (w->Widget)
      w->Widget->setParent(np ? np->Widget.data() : nullptr, TopLevelFlags(w->Style, w->ExStyle));
  }
  ApplyWidgetGeometry(w);
  if (w->Widget && visible) w->Widget->show();
  return old;
}

HWND GetAncestor(HWND hWnd, UINT flags) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return nullptr;
  if (flags == GA_PARENT) return (w->Style & WS_CHILD) ? w->Parent : nullptr;
  while ((w->Style & WS_CHILD) && FindWindowObject(w->Parent)) w = FindWindowObject(w->Parent);
  if (flags == GA_ROOTOWNER)
    while (w->Owner && FindWindowObject(w->Owner)) w = FindWindowObject(w->Owner);
  return w->Handle;
}

HWND GetWindow(HWND hWnd, UINT cmd) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return nullptr;
  if (cmd == GW_CHILD) return w->Children.empty() ? nullptr : w->Children.front();
  if (cmd == GW_OWNER) return w->Owner;
  TWindowObject* p = FindWindowObject(w->Parent);
  if (!p || !(w->Style & WS_CHILD)) return nullptr;
  auto& list = p->Children;
  auto it = std::find(list.begin(), list.end(), hWnd);
  switch (cmd) {
    case GW_HWNDFIRST: return list.front();
    case GW_HWNDLAST: return list.back();
    case GW_HWNDNEXT: return (it != list.end() && it + 1 != list.end()) ? *(it + 1) : nullptr;
    case GW_HWNDPREV: return (it != list.end() && it != list.begin()) ? *(it - 1) : nullptr;
  }
  return nullptr;
}

HWND GetTopWindow(HWND hWnd) { return GetWindow(hWnd, GW_CHILD); }
HWND GetDesktopWindow() { return nullptr; }

LONG_PTR GetWindowLongPtr(HWND hWnd, int index) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return 0;
  switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->Proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->Instance);
    case GWLP_HWNDPARENT: return reinterpret_cast<LONG_PTR>(w->Owner);
    case GWLP_ID: return w->Id;
    case GWL_STYLE:
      return LONG_PTR(int32_t(w->Style | (w->Style & WS_VISIBLE)));
    case GWL_EXSTYLE: return LONG_PTR(int32_t(w->ExStyle));
    case GWLP_USERDATA: return w->UserData;
  }
  return 0;
}

LONG_PTR SetWindowLongPtr(HWND hWnd, int index, LONG_PTR value) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return 0;
  LONG_PTR old = GetWindowLongPtr(hWnd, index);
  switch (index) {
    case GWLP_WNDPROC: w->Proc = reinterpret_cast<WNDPROC>(value); break;
    case GWLP_HWNDPARENT: w->Owner = reinterpret_cast<HWND>(value); break;
    case GWLP_ID: w->Id = value; break;
    case GWL_STYLE: {
      DWORD keep = w->Style & (WS_VISIBLE | WS_DISABLED);
      w->Style = (DWORD(value) & ~(WS_VISIBLE | WS_DISABLED)) | keep;
      break;
    }
    case GWL_EXSTYLE:
      w->ExStyle = DWORD(value);
      if (w->Widget && !(w->Style & WS_CHILD)) {
        bool topmost = w->ExStyle & WS_EX_TOPMOST;
        if (topmost != bool(w->Widget->windowFlags() & Qt::WindowStaysOnTopHint)) {
          bool vis = w->Widget->isVisible();
          w->Widget->setWindowFlag(Qt::WindowStaysOnTopHint, topmost);
          if (vis) w->Widget->show();
        }
      }
      break;
    case GWLP_USERDATA: w->UserData = value; break;
  }
  return old;
}

BOOL SetWindowText(HWND hWnd, const std::string& text) {
  return SendMessage(hWnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str())) ? TRUE : FALSE;
}

std::string GetWindowText(HWND hWnd) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return {};
  LRESULT n = SendMessage(hWnd, WM_GETTEXTLENGTH, 0, 0);
  std::string buf(size_t(std::max<LRESULT>(n, 0)) + 1, '\0');
  LRESULT got = SendMessage(hWnd, WM_GETTEXT, buf.size(), reinterpret_cast<LPARAM>(buf.data()));
  buf.resize(size_t(std::clamp<LRESULT>(got, 0, LRESULT(buf.size()))));
  return buf;
}

int GetWindowTextLength(HWND hWnd) { return int(SendMessage(hWnd, WM_GETTEXTLENGTH, 0, 0)); }

BOOL SetProp(HWND hWnd, const std::string& name, intptr_t value) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  w->Props[name] = value;
  return TRUE;
}

intptr_t GetProp(HWND hWnd, const std::string& name) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return 0;
  auto it = w->Props.find(name);
  return it == w->Props.end() ? 0 : it->second;
}

intptr_t RemoveProp(HWND hWnd, const std::string& name) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return 0;
  auto it = w->Props.find(name);
  if (it == w->Props.end()) return 0;
  intptr_t v = it->second;
  w->Props.erase(it);
  return v;
}

BOOL SetWindowPos(HWND hWnd, HWND after, int x, int y, int cx, int cy, UINT flags) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  WINDOWPOS pos;
  pos.hwnd = hWnd;
  pos.hwndInsertAfter = after;
  pos.x = (flags & SWP_NOMOVE) ? w->Rect.left : x;
  pos.y = (flags & SWP_NOMOVE) ? w->Rect.top : y;
  pos.cx = (flags & SWP_NOSIZE) ? w->Rect.right - w->Rect.left : std::max(cx, 0);
  pos.cy = (flags & SWP_NOSIZE) ? w->Rect.bottom - w->Rect.top : std::max(cy, 0);
  pos.flags = flags;
  if (!(flags & SWP_NOSENDCHANGING)) {
    SendMessage(hWnd, WM_WINDOWPOSCHANGING, 0, reinterpret_cast<LPARAM>(&pos));
    if (!(w = FindWindowObject(hWnd))) return FALSE;
  }
  RECT old = w->Rect;
  RECT now = {pos.x, pos.y, pos.x + std::max(pos.cx, 0), pos.y + std::max(pos.cy, 0)};
  bool moved = now.left != old.left || now.top != old.top;
  bool sized = (now.right - now.left) != (old.right - old.left) ||
               (now.bottom - now.top) != (old.bottom - old.top);
  if (!moved) pos.flags |= SWP_NOMOVE;
  if (!sized) pos.flags |= SWP_NOSIZE;
  w->Rect = now;
  const RECT oldClient = w->Client;
  if (sized || (flags & SWP_FRAMECHANGED)) {
    RecalcClient(w);
    if (!(w = FindWindowObject(hWnd))) return FALSE;
  }
  // A new frame can size the client area of a window that keeps its rectangle (a maximized
  // document losing its title bar): the window hears WM_SIZE for it.
  const RECT& c = w->Client;
  const bool clientSized =
      (c.right - c.left) != (oldClient.right - oldClient.left) || (c.bottom - c.top) != (oldClient.bottom - oldClient.top);
  if (clientSized) pos.flags &= ~SWP_NOSIZE;
  ApplyWidgetGeometry(w);
  if (clientSized && !sized && !(flags & SWP_NOREDRAW)) InvalidateRect(hWnd, nullptr, TRUE);
  if (sized) {
    EnsureBackBuffer(w);
    // A resized window repaints whole (the classes of the control library redraw on resize).
    if (!(flags & SWP_NOREDRAW)) InvalidateRect(hWnd, nullptr, TRUE);
  }
  if (sized || (flags & SWP_FRAMECHANGED)) {
    // Children keep their client-relative place when the frame changes.
    for (HWND c : std::vector<HWND>(w->Children))
      if (TWindowObject* co = FindWindowObject(c)) ApplyWidgetGeometry(co);
  }
  if (!(flags & SWP_NOZORDER) && w->Widget) {
    TWindowObject* p = FindWindowObject(w->Parent);
    auto reorder = [&](size_t index) {
      if (!p) return;
      auto& list = p->Children;
      list.erase(std::remove(list.begin(), list.end(), hWnd), list.end());
      list.insert(list.begin() + std::min(index, list.size()), hWnd);
    };
    if (after == HWND_TOP || after == HWND_TOPMOST) {
      w->Widget->raise();
      reorder(0);
      if (after == HWND_TOPMOST) SetWindowLongPtr(hWnd, GWL_EXSTYLE, w->ExStyle | WS_EX_TOPMOST);
    } else if (after == HWND_BOTTOM) {
      w->Widget->lower();
      reorder(SIZE_MAX);
    } else if (after == HWND_NOTOPMOST) {
      SetWindowLongPtr(hWnd, GWL_EXSTYLE, w->ExStyle & ~WS_EX_TOPMOST);
    } else if (TWindowObject* a = FindWindowObject(after)) {
      if (a->Widget) w->Widget->stackUnder(a->Widget);
      if (p) {
        auto& list = p->Children;
        list.erase(std::remove(list.begin(), list.end(), hWnd), list.end());
        auto it = std::find(list.begin(), list.end(), after);
        list.insert(it == list.end() ? list.end() : it + 1, hWnd);
      }
    }
  }
  if (flags & SWP_SHOWWINDOW) ShowWindow(hWnd, (flags & SWP_NOACTIVATE) ? SW_SHOWNA : SW_SHOW);
  if (flags & SWP_HIDEWINDOW) ShowWindow(hWnd, SW_HIDE);
  if (moved || sized || clientSized || (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED)))
    SendMessage(hWnd, WM_WINDOWPOSCHANGED, 0, reinterpret_cast<LPARAM>(&pos));
  return TRUE;
}

BOOL MoveWindow(HWND hWnd, int x, int y, int width, int height, BOOL repaint) {
  return SetWindowPos(hWnd, nullptr, x, y, width, height,
                      SWP_NOZORDER | SWP_NOACTIVATE | (repaint ? 0 : SWP_NOREDRAW));
}

BOOL BringWindowToTop(HWND hWnd) {
  return SetWindowPos(hWnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

namespace {
// The screen position of a window's (0, 0).
QPoint WindowScreenOrigin(TWindowObject* w) {
  QPoint p(w->Rect.left, w->Rect.top);
  while (w && (w->Style & WS_CHILD)) {
    TWindowObject* parent = FindWindowObject(w->Parent);
    if (!parent) break;
    p += ClientOrigin(parent) + QPoint(parent->Rect.left, parent->Rect.top);
    w = parent;
  }
  return p;
}
}  // namespace

BOOL GetWindowRect(HWND hWnd, RECT* r) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w || !r) return FALSE;
  QPoint o = WindowScreenOrigin(w);
  *r = {o.x(), o.y(), o.x() + (w->Rect.right - w->Rect.left), o.y() + (w->Rect.bottom - w->Rect.top)};
  return TRUE;
}

BOOL GetClientRect(HWND hWnd, RECT* r) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w || !r) return FALSE;
  *r = {0, 0, w->Client.right - w->Client.left, w->Client.bottom - w->Client.top};
  return TRUE;
}

BOOL ClientToScreen(HWND hWnd, POINT* p) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w || !p) return FALSE;
  QPoint o = WindowScreenOrigin(w) + ClientOrigin(w);
  p->x += o.x();
  p->y += o.y();
  return TRUE;
}

BOOL ScreenToClient(HWND hWnd, POINT* p) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w || !p) return FALSE;
  QPoint o = WindowScreenOrigin(w) + ClientOrigin(w);
  p->x -= o.x();
  p->y -= o.y();
  return TRUE;
}

int MapWindowPoints(HWND from, HWND to, POINT* pts, UINT count) {
  QPoint a, b;
  if (TWindowObject* w = FindWindowObject(from)) a = WindowScreenOrigin(w) + ClientOrigin(w);
  if (TWindowObject* w = FindWindowObject(to)) b = WindowScreenOrigin(w) + ClientOrigin(w);
  QPoint d = a - b;
  for (UINT i = 0; i < count; ++i) {
    pts[i].x += d.x();
    pts[i].y += d.y();
  }
  return int(MAKELONG(WORD(SHORT(d.x())), WORD(SHORT(d.y()))));
}

HWND ChildWindowFromPoint(HWND parent, POINT pt) {
  TWindowObject* w = FindWindowObject(parent);
  if (!w) return nullptr;
  for (HWND c : w->Children) {
    TWindowObject* co = FindWindowObject(c);
    if (co && (co->Style & WS_VISIBLE) && pt.x >= co->Rect.left && pt.x < co->Rect.right &&
        pt.y >= co->Rect.top && pt.y < co->Rect.bottom)
      return c;
  }
  if (pt.x >= 0 && pt.y >= 0 && pt.x < w->Client.right - w->Client.left &&
      pt.y < w->Client.bottom - w->Client.top)
    return parent;
  return nullptr;
}

BOOL EnumChildWindows(HWND parent, const WNDENUMPROC& proc, LPARAM lParam) {
  TWindowObject* w = FindWindowObject(parent);
  if (!w) return FALSE;
  for (HWND c : std::vector<HWND>(w->Children)) {
    if (!IsWindow(c)) continue;
    if (!proc(c, lParam)) return FALSE;
    if (!EnumChildWindows(c, proc, lParam) && IsWindow(c)) return FALSE;
  }
  return TRUE;
}

BOOL EnumThreadWindows(DWORD threadId, const WNDENUMPROC& proc, LPARAM lParam) {
  std::vector<HWND> list;
  {
    std::lock_guard<std::mutex> g(gTableLock);
    for (auto& [id, w] : gWindows)
      if (!(w->Style & WS_CHILD) && !w->MessageOnly && w->Queue->ThreadId == threadId)
        list.push_back(w->Handle);
  }
  std::sort(list.begin(), list.end());
  for (HWND h : list)
    if (IsWindow(h) && !proc(h, lParam)) return FALSE;
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Hidden message windows

HWND AllocateHWnd(TWndMethod method) {
  EnsureBuiltinClasses();
  HWND h = CreateWindowEx(0, "SonalixMessageWindow", "", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE,
                          nullptr, nullptr, nullptr);
  if (!h) return nullptr;
  WNDPROC proc = MakeWindowProc([method = std::move(method)](HWND hw, UINT m, WPARAM w, LPARAM l) {
    TMessage msg{m, w, l, 0};
    if (method) method(msg);
    else msg.Result = DefWindowProc(hw, m, w, l);
    return msg.Result;
  });
  SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
  SetProp(h, "sonalix.allocated", reinterpret_cast<intptr_t>(proc));
  return h;
}

void DeallocateHWnd(HWND wnd) {
  TWindowObject* w = FindWindowObject(wnd);
  if (!w) return;
  auto proc = reinterpret_cast<WNDPROC>(GetProp(wnd, "sonalix.allocated"));
  SetWindowLongPtr(wnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(DefWindowProcInstance()));
  DestroyWindow(wnd);
  FreeWindowProc(proc);
}
