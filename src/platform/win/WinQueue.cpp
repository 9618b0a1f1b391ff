// The thread queues and their Qt wakers, posting, sending and retrieving messages, the clock
// and timers, registered messages, the exception handler, message filter and modal hook.
#include <sys/syscall.h>
#include <unistd.h>

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QThread>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>

#include "platform/win/WinInternal.h"

namespace {

std::mutex gQueuesLock;
std::map<DWORD, std::weak_ptr<TThreadQueue>> gQueues;
thread_local std::shared_ptr<TThreadQueue> tQueue;

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
  // A queued input message carries its own Qt event: it is the context of this dispatch even
  // inside the handling of another one (a modal loop run from a click handler reads the
  // dialog's clicks there), and the outer context comes back afterwards.
  bool useCtx = s && s->Event && s->Widget;
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
