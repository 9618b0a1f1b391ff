// Hidden windows shared by the network components, their message numbers, deferred release,
// thread binding and the timer on the test clock.

#include <gtest/gtest.h>

#include <QTimer>
#include <memory>
#include <thread>

#include "PeerUtil.h"
#include "net/IcsWSocket.h"
#include "platform/win/QtWindows.h"

using namespace nettest;

TEST(IcsWndControl, ComponentsShareWindowsByFreeMessageNumbers) {
  int before = TIcsWndHandlerPool::WindowCount();
  std::vector<std::unique_ptr<TWSocket>> sockets;
  // Each socket takes 7 numbers: 14 fit in one window of 100, the 15th needs another.
  for (int i = 0; i < 15; ++i) sockets.push_back(std::make_unique<TWSocket>(nullptr));
  HWND first = sockets[0]->HandleValue();
  for (int i = 1; i < 14; ++i) EXPECT_EQ(sockets[i]->HandleValue(), first) << i;
  EXPECT_NE(sockets[14]->HandleValue(), first);
  EXPECT_EQ(TIcsWndHandlerPool::WindowCount(), before + 2);
  // Every window numbers its messages from 1025: the release number, then the socket's six.
  EXPECT_EQ(sockets[0]->MsgSelect(), 1026u);
  EXPECT_EQ(sockets[14]->MsgSelect(), 1026u);
  EXPECT_EQ(sockets[1]->MsgSelect(), 1033u);

  // A small component takes a free number of the first window.
  TIcsWndControl small(nullptr);
  EXPECT_EQ(small.Handle(), first);

  sockets[14].reset();
  EXPECT_EQ(TIcsWndHandlerPool::WindowCount(), before + 1);
  sockets.clear();
  small.DetachFromThread();
  EXPECT_EQ(TIcsWndHandlerPool::WindowCount(), before);
  WNDCLASS wc;
  if (before == 0) {
    EXPECT_FALSE(GetClassInfo(nullptr, "IcsWndControlWindowClass", &wc));
    TWSocket again(nullptr);
    EXPECT_TRUE(GetClassInfo(nullptr, "IcsWndControlWindowClass", &wc));
  }
}

TEST(IcsWndControl, ReleaseDeferredFreesAfterTheHandlerReturned) {
  auto* s = new TWSocket(nullptr);
  TWeakLink<TWSocket> link(s);
  bool aliveAfterCall = false;
  s->OnDnsLookupDone = [&](TObject*, WORD) {
    s->ReleaseDeferred();
    aliveAfterCall = link.Alive();
  };
  s->DnsLookup("127.0.0.1");
  EXPECT_TRUE(aliveAfterCall);
  EXPECT_TRUE(link.Alive());
  ASSERT_TRUE(PumpUntil([&] { return !link.Alive(); }));
}

TEST(IcsWndControl, ThreadBinding) {
  TIcsWndControl c(nullptr);
  // Without a window the owning thread is 0: detaching is refused.
  try {
    c.DetachFromThread();
    FAIL();
  } catch (EIcsException& e) {
    EXPECT_EQ(e.Message(), "Cannot detach from another thread");
  }
  c.Handle();
  std::string fromOther;
  std::thread([&] {
    try {
      c.DetachFromThread();
    } catch (EIcsException& e) {
      fromOther = e.Message();
    }
  }).join();
  EXPECT_EQ(fromOther, "Cannot detach from another thread");
  EXPECT_NE(c.HandleValue(), nullptr);
  try {
    c.AttachToThread();
    FAIL();
  } catch (EIcsException& e) {
    EXPECT_EQ(e.Message(), "Cannot attach when not detached");
  }
  c.DetachFromThread();
  EXPECT_EQ(c.HandleValue(), nullptr);
  c.AttachToThread();
  EXPECT_NE(c.HandleValue(), nullptr);
}

TEST(IcsWndControl, TimerTicksOnTheTestClock) {
  SetManualClock(true);
  struct TClock {
    ~TClock() { SetManualClock(false); }
  } restore;
  try {
    TIcsTimer orphan(nullptr);
    FAIL();
  } catch (EIcsException& e) {
    EXPECT_EQ(e.Message(), "IcsTimer: Owner not assigned");
  }
  {
    TIcsWndControl windowless(nullptr);
    auto* t = new TIcsTimer(&windowless);
    try {
      t->SetInterval(10);
      FAIL();
    } catch (EIcsException& e) {
      EXPECT_EQ(e.Message(), "IcsTimer: No window available");
    }
  }
  TIcsWndControl owner(nullptr);
  owner.Handle();
  struct TCase {
    const char* Name;
    DWORD Interval;
    bool Handler;
    int Ticks;
  };
  for (TCase c : {TCase{"ticking", 100, true, 3},
                  {"no handler", 100, false, 0},
                  {"interval 0", 0, true, 0}}) {
    SCOPED_TRACE(c.Name);
    auto* t = new TIcsTimer(&owner);
    int ticks = 0;
    t->SetInterval(c.Interval);
    if (c.Handler)
      t->SetOnTimer([&](TObject* Sender) {
        EXPECT_EQ(Sender, t);
        ++ticks;
      });
    EXPECT_TRUE(t->Enabled());
    for (int i = 0; i < 3; ++i) {
      AdvanceClock(100);
      PumpUntil([&] { return ticks > i; }, 200);
    }
    EXPECT_EQ(ticks, c.Ticks);
    t->SetEnabled(false);
    AdvanceClock(500);
    PumpUntil([] { return false; }, 20);
    EXPECT_EQ(ticks, c.Ticks);
    delete t;
  }
}

namespace {
struct TProbe : TIcsWndControl {
  using TIcsWndControl::TIcsWndControl;
  UINT ReleaseNumber() const { return FMsgRelease; }
};
}  // namespace

// The first component asks to be released and is freed before the request arrives; the second
// takes the same number on the same window and must not be released by it.
TEST(IcsWndControl, NumberGivenBackDropsWhatWasPostedUnderIt) {
  TIcsWndControl keeper(nullptr);  // keeps the window alive
  keeper.Handle();
  auto* first = new TProbe(nullptr);
  ASSERT_EQ(first->Handle(), keeper.HandleValue());
  first->ReleaseDeferred();
  UINT number = first->ReleaseNumber();
  delete first;
  auto* second = new TProbe(nullptr);
  ASSERT_EQ(second->Handle(), keeper.HandleValue());
  ASSERT_EQ(second->ReleaseNumber(), number);
  TWeakLink<TProbe> link(second);
  keeper.ProcessPendingMessages();
  ASSERT_TRUE(link.Alive());
  // Its own posts still arrive.
  second->ReleaseDeferred();
  keeper.ProcessPendingMessages();
  EXPECT_FALSE(link.Alive());
}
