// Window objects, the message queue, window procedures, timers and hooks.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"
#include "platform/win/Windows.h"

namespace {

std::vector<std::string> gLog;

void Log(const std::string& s) { gLog.push_back(s); }

// A hidden message window that records what reaches it.
struct TRecorder {
  HWND Handle = nullptr;
  std::vector<TMessage> Seen;
  std::function<void(TMessage&)> OnMessage;
  TRecorder() {
    Handle = AllocateHWnd([this](TMessage& m) {
      Seen.push_back(m);
      if (OnMessage) OnMessage(m);
    });
  }
  ~TRecorder() { DeallocateHWnd(Handle); }
  std::vector<UINT> Ids(UINT from = WM_USER) const {
    std::vector<UINT> r;
    for (auto& m : Seen)
      if (m.Msg >= from) r.push_back(m.Msg);
    return r;
  }
};

void DrainAll() {
  MSG m;
  while (PeekMessage(&m, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) {
    if (m.message == WM_QUIT) continue;
    TranslateMessage(&m);
    DispatchMessage(&m);
  }
}

TEST(Queue, PostedOrderWithPeekRangesAndRemoval) {
  TRecorder r;
  for (UINT id : {WM_USER + 1, WM_USER + 5, WM_USER + 2, WM_USER + 5, WM_USER + 3})
    ASSERT_TRUE(PostMessage(r.Handle, id, id - WM_USER, 0));
  MSG m;
  // A range takes the first match in posting order and leaves the others in place.
  ASSERT_TRUE(PeekMessage(&m, r.Handle, WM_USER + 5, WM_USER + 5, PM_REMOVE));
  EXPECT_EQ(m.message, WM_USER + 5u);
  // Without removal, the same message is seen twice.
  ASSERT_TRUE(PeekMessage(&m, nullptr, WM_USER + 2, WM_USER + 9, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 2u);
  ASSERT_TRUE(PeekMessage(&m, nullptr, WM_USER + 2, WM_USER + 9, PM_NOREMOVE));
  EXPECT_EQ(m.message, WM_USER + 2u);
  EXPECT_FALSE(PeekMessage(&m, nullptr, WM_USER + 6, WM_USER + 9, PM_REMOVE));
  DrainAll();
  EXPECT_EQ(r.Ids(), (std::vector<UINT>{WM_USER + 1, WM_USER + 2, WM_USER + 5, WM_USER + 3}));
}

TEST(Queue, StaleHandlesAreIgnored) {
  auto* r = new TRecorder;
  HWND h = r->Handle;
  PostMessage(h, WM_USER + 1, 0, 0);
  delete r;  // destroys the window with the message still queued
  EXPECT_FALSE(IsWindow(h));
  EXPECT_FALSE(PostMessage(h, WM_USER + 2, 0, 0));
  EXPECT_EQ(SendMessage(h, WM_USER + 3, 0, 0), 0);
  MSG m;
  EXPECT_FALSE(PeekMessage(&m, nullptr, WM_USER, WM_USER + 10, PM_REMOVE));
  // Handles are not reused: a new window never answers to the old handle.
  TRecorder other;
  EXPECT_NE(other.Handle, h);
  EXPECT_FALSE(IsWindow(h));
}

TEST(Queue, WorkerThreadPostsArriveInOrderThroughQtsLoop) {
  TRecorder r;
  constexpr int kCount = 2000;
  std::thread worker([&] {
    for (int i = 0; i < kCount; ++i) PostMessage(r.Handle, WM_USER + 7, WPARAM(i), 0);
  });
  for (int i = 0; i < 50; ++i) PostMessage(r.Handle, WM_USER + 8, WPARAM(i), 0);
  worker.join();
  // Qt's own loop drains our queue.
  while (int(r.Seen.size()) < kCount + 50) QCoreApplication::processEvents(QEventLoop::AllEvents);
  int nextWorker = 0, nextMain = 0;
  for (auto& m : r.Seen) {
    if (m.Msg == WM_USER + 7) EXPECT_EQ(int(m.WParam), nextWorker++);
    if (m.Msg == WM_USER + 8) EXPECT_EQ(int(m.WParam), nextMain++);
  }
  EXPECT_EQ(nextWorker, kCount);
  EXPECT_EQ(nextMain, 50);
}

TEST(Queue, NestedLoopsRepostQuit) {
  TRecorder r;
  std::vector<std::string> trace;
  r.OnMessage = [&](TMessage& msg) {
    if (msg.Msg == WM_USER + 1) {
      trace.push_back("inner loop");
      PostMessage(r.Handle, WM_USER + 2, 0, 0);
      MSG m;
      while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
      // The inner loop saw the quit: it hands it on to the loop outside.
      EXPECT_EQ(m.message, WM_QUIT);
      PostQuitMessage(int(m.wParam));
      trace.push_back("inner done");
    } else if (msg.Msg == WM_USER + 2) {
      trace.push_back("quit");
      PostQuitMessage(7);
      // Messages posted before the quit is taken still come first.
      PostMessage(r.Handle, WM_USER + 3, 0, 0);
    } else if (msg.Msg == WM_USER + 3) {
      trace.push_back("late");
    }
  };
  PostMessage(r.Handle, WM_USER + 1, 0, 0);
  MSG m;
  while (GetMessage(&m, nullptr, 0, 0)) DispatchMessage(&m);
  EXPECT_EQ(m.message, WM_QUIT);
  EXPECT_EQ(int(m.wParam), 7);
  EXPECT_EQ(trace, (std::vector<std::string>{"inner loop", "quit", "late", "inner done"}));
  EXPECT_FALSE(PeekMessage(&m, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// ---- window procedures and subclassing

LRESULT OwnProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_USER) Log("own");
  return DefWindowProc(h, m, w, l);
}

template <char Name>
LRESULT Sub(HWND h, UINT m, WPARAM w, LPARAM l, UINT_PTR id, DWORD_PTR ref) {
  if (m == WM_USER) Log(std::string(1, Name) + std::to_string(id));
  if (m == WM_USER && ref == 99) RemoveWindowSubclass(h, &Sub<Name>, id);  // leaves mid-call
  return DefSubclassProc(h, m, w, l);
}

HWND MakeRawWindow() {
  static bool registered = false;
  static WNDPROC proc = MakeWindowProc(OwnProc);
  if (!registered) {
    WNDCLASS wc;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = "TestOwnProc";
    RegisterClass(&wc);
    registered = true;
  }
  return CreateWindowEx(0, "TestOwnProc", "", WS_POPUP, 0, 0, 10, 10, HWND_MESSAGE, nullptr,
                        nullptr, nullptr);
}

TEST(WindowProc, SubclassChainsRunNewestFirstAndLeaveInAnyOrder) {
  HWND h = MakeRawWindow();
  ASSERT_TRUE(h);
  SetWindowSubclass(h, &Sub<'a'>, 1, 0);
  SetWindowSubclass(h, &Sub<'b'>, 2, 0);
  SetWindowSubclass(h, &Sub<'c'>, 3, 0);
  struct Case {
    std::function<void()> Change;
    std::vector<std::string> Expected;
  };
  std::vector<Case> cases = {
      {[] {}, {"c3", "b2", "a1", "own"}},
      {[h] { RemoveWindowSubclass(h, &Sub<'b'>, 2); }, {"c3", "a1", "own"}},
      {[h] { RemoveWindowSubclass(h, &Sub<'c'>, 3); }, {"a1", "own"}},
      // A second link of the same procedure with another id is a link of its own.
      {[h] { SetWindowSubclass(h, &Sub<'a'>, 4, 0); }, {"a4", "a1", "own"}},
      // A link that removes itself while it runs still passes the message on.
      {[h] { SetWindowSubclass(h, &Sub<'a'>, 4, 99); }, {"a4", "a1", "own"}},
      {[] {}, {"a1", "own"}},
      {[h] { RemoveWindowSubclass(h, &Sub<'a'>, 1); }, {"own"}},
  };
  for (size_t i = 0; i < cases.size(); ++i) {
    cases[i].Change();
    gLog.clear();
    SendMessage(h, WM_USER, 0, 0);
    EXPECT_EQ(gLog, cases[i].Expected) << "case " << i;
  }
  DestroyWindow(h);
}

TEST(WindowProc, ReplacedProceduresCallThePreviousOne) {
  HWND h = MakeRawWindow();
  WNDPROC previous = reinterpret_cast<WNDPROC>(GetWindowLongPtr(h, GWLP_WNDPROC));
  WNDPROC mine = MakeWindowProc([&](HWND hw, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_USER) Log("mine");
    return CallWindowProc(previous, hw, m, w, l);
  });
  EXPECT_EQ(SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(mine)),
            reinterpret_cast<LONG_PTR>(previous));
  gLog.clear();
  SendMessage(h, WM_USER, 0, 0);
  EXPECT_EQ(gLog, (std::vector<std::string>{"mine", "own"}));
  SetWindowLongPtr(h, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
  FreeWindowProc(mine);
  gLog.clear();
  SendMessage(h, WM_USER, 0, 0);
  EXPECT_EQ(gLog, (std::vector<std::string>{"own"}));
  DestroyWindow(h);
}

TEST(WindowProc, CreateAndDestroyMessagesAndTexts) {
  std::vector<UINT> seen;
  static std::vector<UINT>* sink;
  sink = &seen;
  WNDCLASS wc;
  static WNDPROC proc = MakeWindowProc([](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_NCCREATE || m == WM_CREATE || m == WM_DESTROY || m == WM_NCDESTROY)
      sink->push_back(m);
    if (m == WM_CREATE && std::string(reinterpret_cast<CREATESTRUCT*>(l)->lpszName) == "refuse")
      return -1;
    return DefWindowProc(h, m, w, l);
  });
  wc.lpfnWndProc = proc;
  wc.lpszClassName = "TestLifecycle";
  ASSERT_TRUE(RegisterClass(&wc));
  HWND parent = CreateWindowEx(0, "testlifecycle", "Parent", WS_POPUP, 0, 0, 50, 50, nullptr,
                               nullptr, nullptr, nullptr);
  ASSERT_TRUE(parent);
  HWND child = CreateWindowEx(0, "TestLifecycle", "Child", WS_CHILD, 1, 2, 10, 10, parent,
                              nullptr, nullptr, nullptr);
  ASSERT_TRUE(child);
  EXPECT_EQ(GetWindowText(child), "Child");
  SetWindowText(child, "Renamed");
  EXPECT_EQ(GetWindowText(child), "Renamed");
  EXPECT_EQ(GetParent(child), parent);
  EXPECT_TRUE(IsChild(parent, child));
  EXPECT_FALSE(CreateWindowEx(0, "TestLifecycle", "refuse", WS_POPUP, 0, 0, 5, 5, nullptr,
                              nullptr, nullptr, nullptr));
  seen.clear();
  DestroyWindow(parent);
  // The parent hears of its end first, the child in between, the parent's last word last.
  EXPECT_EQ(seen, (std::vector<UINT>{WM_DESTROY, WM_DESTROY, WM_NCDESTROY, WM_NCDESTROY}));
  EXPECT_FALSE(IsWindow(child));
  EXPECT_FALSE(IsWindow(parent));
}

TEST(WindowProc, ClassesRegisteredAgainAndAgainAlwaysGetAnAtom) {
  static WNDPROC proc = MakeWindowProc(
      [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT { return DefWindowProc(h, m, w, l); });
  WNDCLASS wc{};
  wc.lpfnWndProc = proc;
  wc.lpszClassName = "TestRegisteredAgain";
  // More rounds than there are class atoms.
  for (int i = 0; i < 20000; ++i) {
    ASSERT_NE(RegisterClass(&wc), 0) << i;
    ASSERT_TRUE(UnregisterClass("TestRegisteredAgain", nullptr)) << i;
  }
}

TEST(Messages, RegisteredMessagesByName) {
  UINT a = RegisterWindowMessage("Sonalix.Test.One");
  UINT b = RegisterWindowMessage("Sonalix.Test.Two");
  EXPECT_GE(a, 0xC000u);
  EXPECT_LE(a, 0xFFFFu);
  EXPECT_NE(a, b);
  EXPECT_EQ(RegisterWindowMessage("SONALIX.TEST.ONE"), a);
  EXPECT_EQ(RegisterWindowMessage(""), 0u);
}

TEST(Messages, WordPacking) {
  LPARAM p = PointToLParam(-5, 300);
  EXPECT_EQ(GET_X_LPARAM(p), -5);
  EXPECT_EQ(GET_Y_LPARAM(p), 300);
  EXPECT_EQ(LOWORD(MAKELONG(0x1234, 0xABCD)), 0x1234);
  EXPECT_EQ(HIWORD(MAKELONG(0x1234, 0xABCD)), 0xABCD);
  static_assert(sizeof(WPARAM) == sizeof(void*) && sizeof(LPARAM) == sizeof(void*));
  int object = 0;
  WPARAM w = reinterpret_cast<WPARAM>(&object);
  EXPECT_EQ(reinterpret_cast<int*>(w), &object);
}

// ---- timers on the test clock

std::vector<UINT_PTR> gThreadTimerTicks;
void ThreadTimerProc(HWND, UINT, UINT_PTR id, DWORD) { gThreadTimerTicks.push_back(id); }

TEST(Timers, FireFromTheTestClock) {
  SetManualClock(true);
  TRecorder r;
  int anchor = 0;
  UINT_PTR bigId = reinterpret_cast<UINT_PTR>(&anchor);
  DWORD start = GetTickCount();
  EXPECT_EQ(SetTimer(r.Handle, bigId, 50, nullptr), bigId);
  UINT_PTR threadTimer = SetTimer(nullptr, 0, 30, ThreadTimerProc);
  EXPECT_NE(threadTimer, 0u);
  gThreadTimerTicks.clear();
  auto ticks = [&] {
    int n = 0;
    for (auto& m : r.Seen)
      if (m.Msg == WM_TIMER) {
        EXPECT_EQ(m.WParam, bigId);
        ++n;
      }
    return n;
  };
  struct Step {
    DWORD Advance;
    int WindowTicks;
    int ThreadTicks;
  };
  // Ticks are made when the queue is read; a long gap gives one tick, not a burst.
  for (Step s : std::vector<Step>{{29, 0, 0}, {1, 0, 1}, {19, 0, 1}, {1, 1, 1}, {500, 2, 2}}) {
    AdvanceClock(s.Advance);
    QCoreApplication::processEvents();
    EXPECT_EQ(ticks(), s.WindowTicks) << "after " << GetTickCount() - start;
    EXPECT_EQ(int(gThreadTimerTicks.size()), s.ThreadTicks) << "after " << GetTickCount() - start;
  }
  EXPECT_EQ(GetTickCount() - start, 550u);
  EXPECT_TRUE(KillTimer(r.Handle, bigId));
  EXPECT_TRUE(KillTimer(nullptr, threadTimer));
  EXPECT_FALSE(KillTimer(nullptr, threadTimer));
  AdvanceClock(1000);
  QCoreApplication::processEvents();
  EXPECT_EQ(ticks(), 2);
  EXPECT_EQ(gThreadTimerTicks.size(), 2u);
  SetManualClock(false);
}

// ---- hooks

LRESULT NullifyUser5(int code, WPARAM w, LPARAM l) {
  auto* m = reinterpret_cast<MSG*>(l);
  if (m->message == WM_USER + 5) m->message = WM_NULL;
  return 0;
}

LRESULT SuppressUser7(int code, WPARAM w, LPARAM l) {
  auto* cwp = reinterpret_cast<CWPSTRUCT*>(l);
  if (cwp->message == WM_USER + 7) cwp->message = WM_NULL;
  return 0;
}

TEST(Hooks, CallWndProcHookSeesAndMaySuppressSentMessages) {
  TRecorder r;
  HHOOK hook = SetWindowsHookEx(WH_CALLWNDPROC, SuppressUser7, nullptr, GetCurrentThreadId());
  SendMessage(r.Handle, WM_USER + 7, 0, 0);
  SendMessage(r.Handle, WM_USER + 8, 0, 0);
  EXPECT_EQ(r.Ids(), (std::vector<UINT>{WM_USER + 8}));
  UnhookWindowsHookEx(hook);
}

TEST(Keyboard, TranslationOfVirtualKeys) {
  BYTE state[256] = {};
  struct Case {
    UINT Vk;
    bool Shift;
    WORD Expected;
  };
  for (Case c : std::vector<Case>{{'A', false, 'a'}, {'A', true, 'A'}, {'1', true, '!'},
                                  {VK_OEM_MINUS, false, '-'}, {VK_SPACE, false, ' '},
                                  {VK_NUMPAD0 + 5, false, '5'}}) {
    state[VK_SHIFT] = c.Shift ? 0x80 : 0;
    WORD ch = 0;
    EXPECT_EQ(ToAscii(c.Vk, 0, state, &ch, 0), 1) << c.Vk;
    EXPECT_EQ(ch, c.Expected) << c.Vk;
  }
  EXPECT_EQ(ToAscii(VK_F1, 0, state, nullptr, 0), 0);
  EXPECT_EQ(VkKeyScan('q'), SHORT('Q'));
  EXPECT_EQ(VkKeyScan('Q'), SHORT(0x100 | 'Q'));
  EXPECT_EQ(VkKeyScan('?'), SHORT(0x100 | VK_OEM_2));
  EXPECT_EQ(GetSystemMetrics(SM_CXVSCROLL), 17);
}

TEST(Hooks, GetMessageHookCanTurnAMessageIntoNothing) {
  TRecorder r;
  HHOOK hook = SetWindowsHookEx(WH_GETMESSAGE, NullifyUser5, nullptr, GetCurrentThreadId());
  PostMessage(r.Handle, WM_USER + 5, 0, 0);
  PostMessage(r.Handle, WM_USER + 6, 0, 0);
  DrainAll();
  EXPECT_EQ(r.Ids(), (std::vector<UINT>{WM_USER + 6}));
  EXPECT_TRUE(UnhookWindowsHookEx(hook));
  EXPECT_FALSE(UnhookWindowsHookEx(hook));
}

// ---- message boxes

TEST(MessageBoxes, AnsweredByTheHook) {
  std::vector<TModalRequest> asked;
  TModalHook old = SetModalHook([&](const TModalRequest& r) {
    asked.push_back(r);
    return r.Text == "Save?" ? IDNO : 0;
  });
  EXPECT_EQ(MessageBox(nullptr, "Save?", "Sonalix", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].Caption, "Sonalix");
  EXPECT_EQ(asked[0].Type, MB_YESNOCANCEL | MB_ICONQUESTION);
  // A declined question takes the default button rather than blocking the test.
  EXPECT_EQ(MessageBox(nullptr, "Other", "x", MB_YESNO | MB_DEFBUTTON2), IDNO);
  EXPECT_EQ(MessageBox(nullptr, "Other", "x", MB_OKCANCEL), IDOK);
  SetModalHook(old);
}

}  // namespace

namespace {

TEST(Queue, SendMessageFromAWorkerRunsOnTheWindowsThread) {
  TRecorder r;
  std::thread::id handlerThread;
  r.OnMessage = [&](TMessage& m) {
    handlerThread = std::this_thread::get_id();
    m.Result = LRESULT(m.WParam * 2);
  };
  std::atomic<LRESULT> result{-1};
  std::thread worker([&] {
    result = SendMessage(r.Handle, WM_USER + 1, 21, 0);
    PostMessage(r.Handle, WM_NULL, 0, 0);  // wakes the waiting loop once the answer is in
  });
  // The worker waits for this thread to run the window procedure.
  while (result == -1) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  worker.join();
  EXPECT_EQ(result, 42);
  EXPECT_EQ(handlerThread, std::this_thread::get_id());
}

}  // namespace
