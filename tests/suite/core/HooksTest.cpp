// The shared thread hooks: one platform hook per kind while it has subscribers, subscribers
// called newest first, results, exceptions kept inside, and subscribers leaving mid-dispatch.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "suite/core/dxHooks.h"

namespace {

std::vector<std::string> gCalls;
LRESULT gNextCalls = 0;

void First(int, WPARAM, LPARAM, LRESULT& Result) {
  gCalls.push_back("first");
  Result = 5;
}
void Second(int, WPARAM, LPARAM, LRESULT&) { gCalls.push_back("second"); }
void Third(int, WPARAM, LPARAM, LRESULT&) { gCalls.push_back("third"); }
void Raising(int, WPARAM, LPARAM, LRESULT&) {
  gCalls.push_back("raising");
  throw EInvalidOperation("subscriber failed");
}
// Leaves, takes an older subscriber with it, and brings a new one in.
void Reshuffling(int, WPARAM, LPARAM, LRESULT&) {
  gCalls.push_back("reshuffling");
  UnsubscribeSystemHook(&Reshuffling);
  UnsubscribeSystemHook(&Second);
  SubscribeSystemHook(shkGetMessage, &Third);
}

// A platform hook installed before the suite's: the suite's chain must pass on to it.
LRESULT NextInChain(int code, WPARAM w, LPARAM l) {
  ++gNextCalls;
  return CallNextHookEx(nullptr, code, w, l);
}

struct THookTest : ::testing::Test {
  std::vector<std::string> Errors;
  HHOOK Next = nullptr;
  void SetUp() override {
    gCalls.clear();
    gNextCalls = 0;
    Application->OnException = [this](TObject*, Exception* e) { Errors.push_back(e->Message()); };
    Next = SetWindowsHookEx(WH_GETMESSAGE, &NextInChain, nullptr, GetCurrentThreadId());
  }
  void TearDown() override {
    for (TdxHookProc p : {&First, &Second, &Third, &Raising, &Reshuffling}) UnsubscribeSystemHook(p);
    UnhookWindowsHookEx(Next);
    Application->OnException = nullptr;
  }
  // One message through the platform's retrieval, which runs the get-message hooks.
  void RetrieveOneMessage() {
    HWND w = Application->Handle();
    PostMessage(w, WM_USER + 7, 0, 0);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, w, WM_USER + 7, WM_USER + 7, PM_REMOVE));
  }
};

TEST_F(THookTest, OnePlatformHookPerKindWhileItHasSubscribers) {
  TdxSystemHook* mouse = dxHookController()->Hooks(shkMouse);
  EXPECT_EQ(mouse->Handle(), nullptr);
  EXPECT_EQ(SubscribeSystemHook(shkMouse, &First), 0);
  HHOOK installed = mouse->Handle();
  EXPECT_NE(installed, nullptr);
  EXPECT_EQ(SubscribeSystemHook(shkMouse, &Second), 1);
  EXPECT_EQ(mouse->Handle(), installed) << "the second subscriber shares the hook";
  EXPECT_THROW(SubscribeSystemHook(shkMouse, &Second), EAssertionFailed);
  UnsubscribeSystemHook(&Third);  // never subscribed: nothing changes
  EXPECT_EQ(mouse->Count(), 2);
  UnsubscribeSystemHook(&First);
  EXPECT_EQ(mouse->Handle(), installed);
  UnsubscribeSystemHook(&Second);
  EXPECT_EQ(mouse->Handle(), nullptr);
  EXPECT_FALSE(UnhookWindowsHookEx(installed)) << "the platform hook is gone";
}

TEST_F(THookTest, NewestFirstAndAnEarlierResultWins) {
  SubscribeSystemHook(shkMouse, &First);
  SubscribeSystemHook(shkMouse, &Second);
  EXPECT_EQ(dxHookController()->Hooks(shkMouse)->Dispatch(HC_ACTION, WM_MOUSEMOVE, 0), 5);
  EXPECT_EQ(gCalls, (std::vector<std::string>{"second", "first"}));
}

TEST_F(THookTest, ARaisingSubscriberStopsNeitherTheOthersNorTheChain) {
  SubscribeSystemHook(shkGetMessage, &Second);
  SubscribeSystemHook(shkGetMessage, &Raising);
  RetrieveOneMessage();
  EXPECT_EQ(gCalls, (std::vector<std::string>{"raising", "second"}));
  EXPECT_EQ(Errors, (std::vector<std::string>{"subscriber failed"}));
  EXPECT_EQ(gNextCalls, 1) << "the rest of the thread's chain still ran";
}

TEST_F(THookTest, SubscribersPresentAtTheStartAreCalledUnlessTheyLeftMeanwhile) {
  SubscribeSystemHook(shkGetMessage, &Second);
  SubscribeSystemHook(shkGetMessage, &First);
  SubscribeSystemHook(shkGetMessage, &Reshuffling);
  RetrieveOneMessage();
  EXPECT_EQ(gCalls, (std::vector<std::string>{"reshuffling", "first"}))
      << "Second left before its turn; Third came too late for this message";
  EXPECT_EQ(gNextCalls, 1);
  gCalls.clear();
  RetrieveOneMessage();
  EXPECT_EQ(gCalls, (std::vector<std::string>{"third", "first"}));
}

}  // namespace
