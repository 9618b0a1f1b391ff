// Window objects, window procedures and subclassing, the thread queues, timers and the clock,
// hooks, capture and focus, registered messages.
#include <sys/syscall.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QEvent>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <thread>
#include <unordered_map>

#include "platform/win/Gdi.h"
#include "platform/win/WinInternal.h"

namespace {

struct CaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
  }
};

std::mutex gTableLock;
std::unordered_map<uintptr_t, std::unique_ptr<TWindowObject>> gWindows;
uintptr_t gNextHandle = 0x1000;
std::map<std::string, std::unique_ptr<TWindowClassEntry>, CaseLess> gClasses;
std::map<std::string, TWidgetFactory, CaseLess> gPendingFactories;

std::mutex gQueuesLock;
std::map<DWORD, std::weak_ptr<TThreadQueue>> gQueues;
thread_local std::shared_ptr<TThreadQueue> tQueue;

HWND gCapture = nullptr;
HWND gFocus = nullptr;
bool gSettingQtFocus = false;

TExceptionHandler gExceptionHandler;
TMessageFilter gMessageFilter;
TModalHook gModalHook;

std::mutex gRegisteredLock;
std::map<std::string, UINT, CaseLess> gRegistered;
UINT gNextRegistered = WM_REGISTERED_FIRST;

// ---- clock
std::atomic<bool> gManual{false};
std::atomic<uint64_t> gManualNow{0};

uint64_t RealMilliseconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return uint64_t(ts.tv_sec) * 1000 + uint64_t(ts.tv_nsec) / 1000000;
}

uint64_t Now() { return gManual ? gManualNow.load() : RealMilliseconds(); }

const QEvent::Type kWakeEvent = QEvent::Type(QEvent::registerEventType());

// ---- hooks
struct THookEntry {
  HHOOK Handle;
  int Kind;
  HOOKPROC Proc;
};
std::vector<THookEntry> gHooks;  // newest first
uintptr_t gNextHook = 0x10;

// ---- subclass frames
struct TSubclassFrame {
  HWND Window;
  SUBCLASSPROC Proc;
  UINT_PTR Id;
  size_t Index;
};
thread_local std::vector<TSubclassFrame> tSubclassFrames;

// ---- stashed Qt input events (for key text and Qt's default of queued input)
struct TStashedEvent {
  DWORD Serial = 0;
  std::unique_ptr<QEvent> Event;
  QPointer<QWidget> Widget;
  std::string Text;
};
constexpr size_t kStashSize = 64;
TStashedEvent gStash[kStashSize];
DWORD gNextSerial = 1;

TStashedEvent* FindStash(DWORD serial) {
  if (!serial) return nullptr;
  TStashedEvent& s = gStash[serial % kStashSize];
  return s.Serial == serial ? &s : nullptr;
}

bool InRange(UINT msg, UINT lo, UINT hi) {
  return (lo == 0 && hi == 0) || (msg >= lo && msg <= hi);
}

DWORD CurrentThreadId() {
  thread_local DWORD id = DWORD(::syscall(SYS_gettid));
  return id;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Waker: a QObject in the queue's thread through which Qt's loop drains our queue.

void BroadcastToTopLevels(UINT msg, WPARAM wp, LPARAM lp) {
  EnumThreadWindows(GetCurrentThreadId(), [&](HWND h, LPARAM) {
    SendMessage(h, msg, wp, lp);
    return TRUE;
  }, 0);
}

class TQueueWaker : public QObject {
 public:
  explicit TQueueWaker(TThreadQueue* q) : FQueue(q) {
    if (auto* app = qobject_cast<QGuiApplication*>(QCoreApplication::instance());
        app && app->thread() == QThread::currentThread()) {
      // The top-level windows hear when the application as a whole gains or loses activation.
      QObject::connect(app, &QGuiApplication::applicationStateChanged, this,
                       [](Qt::ApplicationState state) {
                         BroadcastToTopLevels(WM_ACTIVATEAPP, state == Qt::ApplicationActive, 0);
                       });
    }
    FTimer.setSingleShot(true);
    FTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&FTimer, &QTimer::timeout, this, [this] { Drain(); });
  }
  void ScheduleTimers();
  void Drain();

 protected:
  bool event(QEvent* e) override {
    if (e->type() == kWakeEvent) {
      {
        std::lock_guard<std::mutex> g(FQueue->Lock);
        FQueue->WakePending = false;
      }
      Drain();
      return true;
    }
    return QObject::event(e);
  }

 private:
  TThreadQueue* FQueue;
  QTimer FTimer;
};

void TThreadQueue::Push(const MSG& msg) {
  bool wake;
  {
    std::lock_guard<std::mutex> g(Lock);
    Posted.push_back(msg);
    wake = !WakePending;
    WakePending = true;
  }
  if (wake && Waker && QCoreApplication::instance())
    QCoreApplication::postEvent(Waker, new QEvent(kWakeEvent));
}

void TThreadQueue::Wake() {
  {
    std::lock_guard<std::mutex> g(Lock);
    if (WakePending) return;
    WakePending = true;
  }
  if (Waker && QCoreApplication::instance())
    QCoreApplication::postEvent(Waker, new QEvent(kWakeEvent));
}

std::shared_ptr<TThreadQueue> CurrentQueue() {
  if (!tQueue) {
    tQueue = std::make_shared<TThreadQueue>();
    tQueue->ThreadId = CurrentThreadId();
    tQueue->Waker = new TQueueWaker(tQueue.get());
    std::lock_guard<std::mutex> g(gQueuesLock);
    gQueues[tQueue->ThreadId] = tQueue;
  }
  return tQueue;
}

namespace {

// Removes or reads the first message that matches, in posting order; then a due timer; then
// the quit request.
constexpr int kPosted = 1, kTimers = 2, kQuit = 4, kAll = 7;

bool PeekQueue(TThreadQueue& q, MSG* out, HWND hWnd, UINT lo, UINT hi, bool remove,
               int kinds = kAll) {
  for (; kinds & kPosted;) {
    MSG found;
    bool have = false;
    {
      std::lock_guard<std::mutex> g(q.Lock);
      for (auto it = q.Posted.begin(); it != q.Posted.end(); ++it) {
        if (!InRange(it->message, lo, hi)) continue;
        if (hWnd == reinterpret_cast<HWND>(intptr_t(-1))) {
          if (it->hwnd) continue;
        } else if (hWnd && it->hwnd != hWnd && !IsChild(hWnd, it->hwnd)) {
          continue;
        }
        found = *it;
        have = true;
        if (remove || (found.hwnd && !FindWindowObject(found.hwnd))) q.Posted.erase(it);
        break;
      }
    }
    if (!have) break;
    // A message to a window destroyed since it was posted is dropped.
    if (found.hwnd && !FindWindowObject(found.hwnd)) continue;
    *out = found;
    return true;
  }
  if ((kinds & kTimers) && InRange(WM_TIMER, lo, hi) && !q.Timers.empty()) {
    uint64_t now = Now();
    TTimerEntry* best = nullptr;
    for (auto& t : q.Timers) {
      if (t.Due > now) continue;
      if (hWnd == reinterpret_cast<HWND>(intptr_t(-1))) {
        if (t.Window) continue;
      } else if (hWnd && t.Window != hWnd && !IsChild(hWnd, t.Window)) {
        continue;
      }
      if (!best || t.Due < best->Due) best = &t;
    }
    if (best) {
      MSG m;
      m.hwnd = best->Window;
      m.message = WM_TIMER;
      m.wParam = best->Id;
      m.lParam = reinterpret_cast<LPARAM>(best->Proc);
      m.time = DWORD(now);
      if (remove) best->Due = now + best->Interval;
      *out = m;
      return true;
    }
  }
  if ((kinds & kQuit) && q.QuitPosted && InRange(WM_QUIT, lo, hi) && !hWnd) {
    MSG m;
    m.message = WM_QUIT;
    m.wParam = WPARAM(q.QuitCode);
    if (remove) q.QuitPosted = false;
    *out = m;
    return true;
  }
  return false;
}

// While one of our loops runs Qt's events, input is queued for it instead of dispatched.
struct TOwnWait {
  std::shared_ptr<TThreadQueue> Q;
  explicit TOwnWait(std::shared_ptr<TThreadQueue> q) : Q(std::move(q)) { ++Q->OwnLoopWaiting; }
  ~TOwnWait() {
    if (--Q->OwnLoopWaiting == 0) {
      bool pending;
      {
        std::lock_guard<std::mutex> g(Q->Lock);
        pending = !Q->Posted.empty();
      }
      if (pending) Q->Wake();
    }
  }
};

void RunQtEvents(bool wait) {
  if (!QCoreApplication::instance()) return;
  QEventLoop::ProcessEventsFlags flags = QEventLoop::AllEvents;
  if (wait) flags |= QEventLoop::WaitForMoreEvents;
  QCoreApplication::processEvents(flags);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

void TQueueWaker::ScheduleTimers() {
  if (FQueue->Timers.empty() || gManual) {
    FTimer.stop();
    return;
  }
  uint64_t due = UINT64_MAX;
  for (auto& t : FQueue->Timers) due = std::min(due, t.Due);
  uint64_t now = Now();
  FTimer.start(int(due > now ? std::min<uint64_t>(due - now, 1u << 30) : 0));
}

void TQueueWaker::Drain() {
  TThreadQueue& q = *FQueue;
  if (q.OwnLoopWaiting) {
    // The loop that waits takes the messages; it still needs waking for the next timer.
    ScheduleTimers();
    return;
  }
  size_t count;
  {
    std::lock_guard<std::mutex> g(q.Lock);
    count = q.Posted.size();
  }
  // Only what was there when the wake came: handlers that post again do not starve Qt.
  for (size_t i = 0; i < count; ++i) {
    MSG m;
    if (!PeekQueue(q, &m, nullptr, 0, 0, true, kPosted)) break;
    CallGetMessageHooks(m, true);
    try {
      ProcessRetrievedMessage(m);
    } catch (...) {
      HandleWindowException(std::current_exception());
    }
  }
  size_t timers = q.Timers.size();
  for (size_t i = 0; i < timers; ++i) {
    MSG m;
    if (!PeekQueue(q, &m, nullptr, WM_TIMER, WM_TIMER, true, kTimers)) break;
    CallGetMessageHooks(m, true);
    try {
      ProcessRetrievedMessage(m);
    } catch (...) {
      HandleWindowException(std::current_exception());
    }
  }
  {
    std::lock_guard<std::mutex> g(q.Lock);
    if (!q.Posted.empty() && !q.WakePending) {
      q.WakePending = true;
      QCoreApplication::postEvent(this, new QEvent(kWakeEvent));
    }
  }
  ScheduleTimers();
}

// ---------------------------------------------------------------------------------------------
// Exceptions, filters, the modal hook

void SetWindowExceptionHandler(TExceptionHandler handler) { gExceptionHandler = std::move(handler); }

void HandleWindowException(std::exception_ptr e) {
  if (gExceptionHandler) {
    try {
      gExceptionHandler(e);
      return;
    } catch (...) {
    }
  }
  try {
    std::rethrow_exception(e);
  } catch (const std::exception& ex) {
    std::fprintf(stderr, "sonalix: unhandled exception: %s\n", ex.what());
  } catch (...) {
    std::fprintf(stderr, "sonalix: unhandled exception\n");
  }
}

void SetApplicationMessageFilter(TMessageFilter filter) { gMessageFilter = std::move(filter); }

TModalHook SetModalHook(TModalHook hook) {
  TModalHook old = std::move(gModalHook);
  gModalHook = std::move(hook);
  return old;
}

int AskModalHook(const TModalRequest& request) { return gModalHook ? gModalHook(request) : 0; }

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
  if (sized || (flags & SWP_FRAMECHANGED)) {
    RecalcClient(w);
    if (!(w = FindWindowObject(hWnd))) return FALSE;
  }
  ApplyWidgetGeometry(w);
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
  if (moved || sized || (flags & (SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED)))
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

// ---------------------------------------------------------------------------------------------
// Messages

LRESULT SendMessage(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return 0;
  if (w->Queue->ThreadId != CurrentThreadId()) {
    // Another thread's window: run it there and wait for the answer.
    LRESULT result = 0;
    TQueueWaker* waker = w->Queue->Waker;
    QMetaObject::invokeMethod(
        waker, [&] { result = SendMessage(hWnd, msg, wp, lp); }, Qt::BlockingQueuedConnection);
    return result;
  }
  CallWndProcHooks(hWnd, msg, wp, lp);
  if (!(w = FindWindowObject(hWnd))) return 0;
  return CallWindowChain(w, msg, wp, lp);
}

BOOL SendNotifyMessage(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w) return FALSE;
  if (w->Queue->ThreadId != CurrentThreadId()) return PostMessage(hWnd, msg, wp, lp);
  SendMessage(hWnd, msg, wp, lp);
  return TRUE;
}

BOOL PostMessage(HWND hWnd, UINT msg, WPARAM wp, LPARAM lp) {
  std::shared_ptr<TThreadQueue> q;
  if (hWnd) {
    std::lock_guard<std::mutex> g(gTableLock);
    auto it = gWindows.find(reinterpret_cast<uintptr_t>(hWnd));
    if (it == gWindows.end() || it->second->Destroying) return FALSE;
    q = it->second->Queue;
  } else {
    q = CurrentQueue();
  }
  MSG m;
  m.hwnd = hWnd;
  m.message = msg;
  m.wParam = wp;
  m.lParam = lp;
  m.time = DWORD(Now());
  q->Push(m);
  return TRUE;
}

BOOL PostThreadMessage(DWORD threadId, UINT msg, WPARAM wp, LPARAM lp) {
  std::shared_ptr<TThreadQueue> q;
  {
    std::lock_guard<std::mutex> g(gQueuesLock);
    auto it = gQueues.find(threadId);
    if (it != gQueues.end()) q = it->second.lock();
  }
  if (!q) return FALSE;
  MSG m;
  m.message = msg;
  m.wParam = wp;
  m.lParam = lp;
  m.time = DWORD(Now());
  q->Push(m);
  return TRUE;
}

void PostQuitMessage(int code) {
  auto q = CurrentQueue();
  q->QuitPosted = true;
  q->QuitCode = code;
  q->Wake();
}

BOOL PeekMessage(MSG* msg, HWND hWnd, UINT lo, UINT hi, UINT flags) {
  auto q = CurrentQueue();
  MSG m;
  bool remove = flags & PM_REMOVE;
  bool found = PeekQueue(*q, &m, hWnd, lo, hi, remove);
  if (!found && !(flags & PM_NOYIELD)) {
    // Let Qt deliver what input is waiting: it is queued for us meanwhile.
    TOwnWait wait(q);
    RunQtEvents(false);
    found = PeekQueue(*q, &m, hWnd, lo, hi, remove);
  }
  if (!found) return FALSE;
  CallGetMessageHooks(m, remove);
  if (msg) *msg = m;
  q->Current = m;
  return TRUE;
}

BOOL GetMessage(MSG* msg, HWND hWnd, UINT lo, UINT hi) {
  auto q = CurrentQueue();
  MSG m;
  for (;;) {
    if (PeekQueue(*q, &m, hWnd, lo, hi, true)) break;
    if (!QCoreApplication::instance()) return FALSE;
    q->Waker->ScheduleTimers();
    TOwnWait wait(q);
    RunQtEvents(true);
  }
  CallGetMessageHooks(m, true);
  if (msg) *msg = m;
  q->Current = m;
  return m.message == WM_QUIT ? FALSE : TRUE;
}

BOOL WaitMessage() {
  auto q = CurrentQueue();
  MSG m;
  if (PeekQueue(*q, &m, nullptr, 0, 0, false)) return TRUE;
  // Timers read since the last wake need their next wake-up before the wait.
  q->Waker->ScheduleTimers();
  TOwnWait wait(q);
  RunQtEvents(true);
  return TRUE;
}

namespace {
// The character a key makes when no Qt event tells us.
uint32_t CharFromVirtualKey(WPARAM vk) {
  bool shift = GetKeyState(VK_SHIFT) < 0;
  if (vk >= 'A' && vk <= 'Z') return shift ? uint32_t(vk) : uint32_t(vk - 'A' + 'a');
  if (vk >= '0' && vk <= '9' && !shift) return uint32_t(vk);
  switch (vk) {
    case VK_SPACE: return ' ';
    case VK_RETURN: return '\r';
    case VK_ESCAPE: return 0x1B;
    case VK_BACK: return 0x08;
    case VK_TAB: return '\t';
  }
  return 0;
}
}  // namespace

BOOL TranslateMessage(const MSG* m) {
  if (!m || (m->message != WM_KEYDOWN && m->message != WM_SYSKEYDOWN)) return FALSE;
  std::vector<uint32_t> chars;
  if (TStashedEvent* s = FindStash(m->lPrivate)) {
    QString text = QString::fromStdString(s->Text);
    for (uint c : text.toUcs4())
      if (c) chars.push_back(c);
  } else if (uint32_t c = CharFromVirtualKey(m->wParam)) {
    chars.push_back(c);
  }
  UINT charMsg = m->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
  for (uint32_t c : chars) PostMessage(m->hwnd, charMsg, c, m->lParam);
  return chars.empty() ? FALSE : TRUE;
}

LRESULT DispatchMessage(const MSG* m) {
  if (!m) return 0;
  if (m->message == WM_TIMER && m->lParam) {
    auto proc = reinterpret_cast<TIMERPROC>(m->lParam);
    if (m->hwnd && !IsWindow(m->hwnd)) return 0;
    proc(m->hwnd, WM_TIMER, m->wParam, GetTickCount());
    return 0;
  }
  TWindowObject* w = FindWindowObject(m->hwnd);
  if (!w) return 0;
  TStashedEvent* s = FindStash(m->lPrivate);
  TQtEventContext ctx;
  bool useCtx = s && s->Event && s->Widget && CurrentQtEvent() == nullptr;
  if (useCtx) {
    ctx.Window = m->hwnd;
    ctx.Message = m->message;
    ctx.Event = s->Event.get();
    ctx.Widget = s->Widget;
    ctx.Outer = CurrentQtEvent();
    CurrentQtEvent() = &ctx;
  }
  struct Restore {
    bool On;
    TQtEventContext* Outer;
    ~Restore() {
      if (On) CurrentQtEvent() = Outer;
    }
  } restore{useCtx, ctx.Outer};
  return CallWindowChain(w, m->message, m->wParam, m->lParam);
}

void ProcessRetrievedMessage(MSG& msg) {
  if (msg.message == WM_NULL && !msg.hwnd) return;
  if (gMessageFilter && gMessageFilter(msg)) return;
  TranslateMessage(&msg);
  DispatchMessage(&msg);
}

DWORD GetCurrentThreadId() { return CurrentThreadId(); }

DWORD GetWindowThreadProcessId(HWND hWnd, DWORD* pid) {
  if (pid) *pid = DWORD(getpid());
  TWindowObject* w = FindWindowObject(hWnd);
  return w ? w->Queue->ThreadId : 0;
}

DWORD GetMessageTime() { return CurrentQueue()->Current.time; }

DWORD GetMessagePos() {
  const MSG& m = CurrentQueue()->Current;
  return MAKELONG(WORD(SHORT(m.pt.x)), WORD(SHORT(m.pt.y)));
}

UINT RegisterWindowMessage(const std::string& name) {
  if (name.empty()) return 0;
  std::lock_guard<std::mutex> g(gRegisteredLock);
  auto it = gRegistered.find(name);
  if (it != gRegistered.end()) return it->second;
  if (gNextRegistered > 0xFFFF) return 0;
  return gRegistered[name] = gNextRegistered++;
}

// ---------------------------------------------------------------------------------------------
// Clock and timers

DWORD GetTickCount() { return DWORD(Now()); }
uint64_t GetTickCount64() { return Now(); }

void SetManualClock(bool manual) {
  if (manual == gManual) return;
  if (manual) gManualNow = RealMilliseconds();
  gManual = manual;
  if (auto q = tQueue) q->Waker->ScheduleTimers();
}

bool ManualClock() { return gManual; }

void AdvanceClock(DWORD ms) {
  if (!gManual) return;
  gManualNow += ms;
  auto q = CurrentQueue();
  uint64_t now = Now();
  for (auto& t : q->Timers)
    if (t.Due <= now) {
      q->Wake();
      break;
    }
}

void Sleep(DWORD ms) {
  if (gManual) AdvanceClock(ms);
  else std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

UINT_PTR SetTimer(HWND hWnd, UINT_PTR id, UINT elapse, TIMERPROC proc) {
  std::shared_ptr<TThreadQueue> q = CurrentQueue();
  if (hWnd) {
    TWindowObject* w = FindWindowObject(hWnd);
    if (!w || w->Queue != q) return 0;
  }
  elapse = std::max<UINT>(elapse, 10);
  TTimerEntry* entry = nullptr;
  for (auto& t : q->Timers)
    if (t.Window == hWnd && t.Id == id && (hWnd || id)) entry = &t;
  if (!entry) {
    if (!hWnd) {
      // Thread timers get their own ids, never equal to a live one.
      bool clash;
      do {
        id = q->NextThreadTimerId++;
        clash = false;
        for (auto& t : q->Timers)
          if (!t.Window && t.Id == id) clash = true;
      } while (clash || id == 0);
    }
    q->Timers.push_back({hWnd, id, elapse, proc, 0});
    entry = &q->Timers.back();
  }
  entry->Interval = elapse;
  entry->Proc = proc;
  entry->Due = Now() + elapse;
  q->Waker->ScheduleTimers();
  return hWnd ? (id ? id : 1) : id;
}

BOOL KillTimer(HWND hWnd, UINT_PTR id) {
  auto q = CurrentQueue();
  auto& list = q->Timers;
  auto it = std::find_if(list.begin(), list.end(),
                         [&](const TTimerEntry& t) { return t.Window == hWnd && t.Id == id; });
  if (it == list.end()) return FALSE;
  list.erase(it);
  // A WM_TIMER of this timer already posted by Windows would be removed; ours are made on demand.
  q->Waker->ScheduleTimers();
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Capture and focus

HWND SetCapture(HWND hWnd) {
  if (hWnd && !IsWindow(hWnd)) return gCapture;
  HWND old = gCapture;
  if (old == hWnd) return old;
  gCapture = hWnd;
  if (old && IsWindow(old)) SendMessage(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hWnd));
  return old;
}

BOOL ReleaseCapture() {
  HWND old = gCapture;
  gCapture = nullptr;
  if (old && IsWindow(old)) SendMessage(old, WM_CAPTURECHANGED, 0, 0);
  return TRUE;
}

HWND GetCapture() {
  if (gCapture && !IsWindow(gCapture)) gCapture = nullptr;
  return gCapture;
}

HWND SetFocus(HWND hWnd) {
  if (hWnd && !IsWindow(hWnd)) return nullptr;
  HWND old = gFocus && IsWindow(gFocus) ? gFocus : nullptr;
  if (old == hWnd) return old;
  gFocus = hWnd;
  if (old) SendMessage(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hWnd), 0);
  if (hWnd && gFocus == hWnd && IsWindow(hWnd)) {
    SendMessage(hWnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    TWindowObject* w = FindWindowObject(hWnd);
    if (w && w->Widget && gFocus == hWnd) {
      gSettingQtFocus = true;
      w->Widget->setFocus(Qt::OtherFocusReason);
      gSettingQtFocus = false;
    }
  }
  return old;
}

HWND GetFocus() {
  if (gFocus && !IsWindow(gFocus)) gFocus = nullptr;
  return gFocus;
}

bool SettingQtFocus() { return gSettingQtFocus; }

HWND GetActiveWindow() {
  QWidget* a = QApplication::activeWindow();
  return a ? WindowFromWidget(a) : nullptr;
}

HWND SetActiveWindow(HWND hWnd) {
  HWND old = GetActiveWindow();
  if (TWindowObject* w = FindWindowObject(GetAncestor(hWnd, GA_ROOT)))
    if (w->Widget) w->Widget->activateWindow();
  return old;
}

HWND GetForegroundWindow() { return GetActiveWindow(); }
BOOL SetForegroundWindow(HWND hWnd) {
  SetActiveWindow(hWnd);
  return IsWindow(hWnd);
}

// ---------------------------------------------------------------------------------------------
// Hooks

namespace {
// The hook running now on this thread: CallNextHookEx continues after it (its handle argument
// is not needed, as on the platform).
struct THookFrame {
  HHOOK Handle;
  int Kind;
};
thread_local std::vector<THookFrame> tHookFrames;

LRESULT CallHookFrom(size_t index, int kind, int code, WPARAM wp, LPARAM lp) {
  for (size_t i = index; i < gHooks.size(); ++i)
    if (gHooks[i].Kind == kind) {
      tHookFrames.push_back({gHooks[i].Handle, kind});
      struct Pop {
        ~Pop() { tHookFrames.pop_back(); }
      } pop;
      return gHooks[i].Proc(code, wp, lp);
    }
  return 0;
}

void UpdateHookFilter() {
  bool input = false;
  for (auto& e : gHooks) input |= e.Kind == WH_MOUSE || e.Kind == WH_KEYBOARD;
  SetForeignInputHooks(input);
}
}  // namespace

HHOOK SetWindowsHookEx(int kind, HOOKPROC proc, HINSTANCE, DWORD) {
  if (!proc) return nullptr;
  HHOOK h = reinterpret_cast<HHOOK>(gNextHook++);
  gHooks.insert(gHooks.begin(), {h, kind, proc});
  UpdateHookFilter();
  return h;
}

BOOL UnhookWindowsHookEx(HHOOK hhk) {
  auto it = std::find_if(gHooks.begin(), gHooks.end(), [&](auto& e) { return e.Handle == hhk; });
  if (it == gHooks.end()) return FALSE;
  gHooks.erase(it);
  UpdateHookFilter();
  return TRUE;
}

LRESULT CallNextHookEx(HHOOK hhk, int code, WPARAM wp, LPARAM lp) {
  HHOOK current = tHookFrames.empty() ? hhk : tHookFrames.back().Handle;
  auto it = std::find_if(gHooks.begin(), gHooks.end(), [&](auto& e) { return e.Handle == current; });
  if (it == gHooks.end()) return 0;
  return CallHookFrom(size_t(it - gHooks.begin()) + 1, it->Kind, code, wp, lp);
}

namespace {
LRESULT CallHookChain(int kind, int code, WPARAM wp, LPARAM lp) {
  try {
    return CallHookFrom(0, kind, code, wp, lp);
  } catch (...) {
    HandleWindowException(std::current_exception());
    return 0;
  }
}
}  // namespace

bool CallKeyboardHooks(WPARAM vk, LPARAM keyData) {
  return CallHookChain(WH_KEYBOARD, HC_ACTION, vk, keyData) != 0;
}

bool CallMouseHooks(UINT msg, const MOUSEHOOKSTRUCT& info) {
  MOUSEHOOKSTRUCT copy = info;
  return CallHookChain(WH_MOUSE, HC_ACTION, msg, reinterpret_cast<LPARAM>(&copy)) != 0;
}

void CallGetMessageHooks(MSG& msg, bool removing) {
  CallHookChain(WH_GETMESSAGE, HC_ACTION, removing ? PM_REMOVE : PM_NOREMOVE,
                reinterpret_cast<LPARAM>(&msg));
}

void CallWndProcHooks(HWND h, UINT& m, WPARAM& w, LPARAM& l) {
  bool any = false;
  for (auto& e : gHooks)
    if (e.Kind == WH_CALLWNDPROC) any = true;
  if (!any) return;
  CWPSTRUCT cwp{l, w, m, h};
  CallHookChain(WH_CALLWNDPROC, HC_ACTION, 0, reinterpret_cast<LPARAM>(&cwp));
  // A hook may turn the message into another one (WM_NULL to suppress it).
  m = cwp.message;
  w = cwp.wParam;
  l = cwp.lParam;
}

// ---------------------------------------------------------------------------------------------
// Input stash

DWORD StashInputEvent(QEvent* e, QWidget* widget, const std::string& text, bool keepEvent) {
  DWORD serial = gNextSerial++;
  if (serial == 0) serial = gNextSerial++;
  TStashedEvent& s = gStash[serial % kStashSize];
  s.Serial = serial;
  s.Event.reset(keepEvent && e ? e->clone() : nullptr);
  s.Widget = widget;
  s.Text = text;
  return serial;
}

bool DeliverInputMessage(MSG& msg, QEvent* source) {
  auto q = CurrentQueue();
  if (q->OwnLoopWaiting) {
    // One of our loops waits for messages: it retrieves this one itself.
    q->Push(msg);
    return true;
  }
  CallGetMessageHooks(msg, true);
  if (msg.message == WM_NULL) return true;
  q->Current = msg;
  try {
    ProcessRetrievedMessage(msg);
  } catch (...) {
    HandleWindowException(std::current_exception());
  }
  return true;
}
