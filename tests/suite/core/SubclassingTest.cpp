// Subclassing chains on a control's WindowProc and on a raw window procedure: the newest hook
// first, the window's own procedure last, hooks leaving in any order, and the designer
// notification guard.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "suite/core/cxControls.h"

namespace {

constexpr UINT WM_PROBE = WM_USER + 42;

std::vector<std::string>* gSeen = nullptr;

class TProbed : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;

 protected:
  void Dispatch(TMessage& M) override {
    if (M.Msg == WM_PROBE) {
      gSeen->push_back("own");
      M.Result = 1;
      return;
    }
    TCustomControl::Dispatch(M);
  }
};

LRESULT RawProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_PROBE) {
    gSeen->push_back("own");
    return 1;
  }
  return DefWindowProc(h, m, w, l);
}

struct TSubclassingTest : ::testing::Test {
  std::vector<std::string> Seen;
  TcxWindowProcController* Controller = nullptr;
  void SetUp() override {
    gSeen = &Seen;
    Controller = GetWindowProcController();
  }
  void TearDown() override { gSeen = nullptr; }

  // A hook that records itself and passes the message on.
  TWndMethod Recorder(const std::string& Name, TcxWindowProcLinkedObject** Link) {
    return [this, Name, Link](TMessage& M) {
      if (M.Msg == WM_PROBE) Seen.push_back(Name);
      CallPreviousWindowProc(*Link, M);
    };
  }
};

TEST_F(TSubclassingTest, ControlHooksLeaveInAnyOrder) {
  const std::vector<std::array<int, 3>> orders = {{0, 1, 2}, {2, 1, 0}, {1, 0, 2}, {1, 2, 0}};
  const std::string names[3] = {"a", "b", "c"};
  for (const auto& order : orders) {
    TProbed control(nullptr);
    control.HandleNeeded();
    TcxWindowProcLinkedObject* links[3] = {};
    for (int i = 0; i < 3; ++i)
      links[i] = Controller->HookControl(&control, Recorder(names[i], &links[i]));
    std::vector<std::string> expected = {"c", "b", "a", "own"};
    for (int k : order) {
      Controller->Unhook(links[k]);
      EXPECT_EQ(links[k], nullptr);
      expected.erase(std::find(expected.begin(), expected.end(), names[k]));
      Seen.clear();
      // Through the window and through Perform: both reach WindowProc.
      EXPECT_EQ(SendMessage(control.Handle(), WM_PROBE, 0, 0), 1);
      EXPECT_EQ(Seen, expected) << "after removing " << names[k];
      Seen.clear();
      control.Perform(WM_PROBE);
      EXPECT_EQ(Seen, expected);
    }
    EXPECT_EQ(Controller->ChainCount(), 0) << "the chain went with its last hook";
  }
}

TEST_F(TSubclassingTest, WindowHandleHooksShareOneSubclassingAndRestoreTheProcedure) {
  WNDCLASS wc;
  wc.lpfnWndProc = MakeWindowProc(&RawProc);
  wc.lpszClassName = "SubclassingProbe";
  RegisterClass(&wc);
  HWND h = CreateWindowEx(0, "SubclassingProbe", "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                          nullptr, nullptr);
  const LONG_PTR own = GetWindowLongPtr(h, GWLP_WNDPROC);
  TcxWindowProcLinkedObject* first = nullptr;
  TcxWindowProcLinkedObject* second = nullptr;
  first = Controller->HookWindowHandle(h, Recorder("first", &first));
  const LONG_PTR hooked = GetWindowLongPtr(h, GWLP_WNDPROC);
  EXPECT_NE(hooked, own);
  // A hook that answers by itself: the older ones never see the message.
  second = Controller->HookWindowHandle(h, [this](TMessage& M) {
    if (M.Msg == WM_PROBE) {
      Seen.push_back("second");
      M.Result = 7;
    }
  });
  EXPECT_EQ(GetWindowLongPtr(h, GWLP_WNDPROC), hooked) << "joined the chain, not subclassed again";
  EXPECT_EQ(SendMessage(h, WM_PROBE, 0, 0), 7);
  EXPECT_EQ(Seen, (std::vector<std::string>{"second"}));
  Controller->Unhook(second);
  Seen.clear();
  EXPECT_EQ(SendMessage(h, WM_PROBE, 0, 0), 1);
  EXPECT_EQ(Seen, (std::vector<std::string>{"first", "own"}));
  Controller->Unhook(first);
  EXPECT_EQ(GetWindowLongPtr(h, GWLP_WNDPROC), own);
  EXPECT_EQ(Controller->HookWindowHandle(nullptr, [](TMessage&) {}), nullptr);
  EXPECT_EQ(Controller->HookControl(nullptr, [](TMessage&) {}), nullptr);
  DestroyWindow(h);
}

TEST_F(TSubclassingTest, AHookMayLeaveWhileItHandlesAMessage) {
  TProbed control(nullptr);
  TcxWindowProcLinkedObject* link = nullptr;
  link = Controller->HookControl(&control, [this, &link](TMessage& M) {
    if (M.Msg != WM_PROBE) return CallPreviousWindowProc(link, M);
    Seen.push_back("leaving");
    TcxWindowProcLinkedObject* self = link;
    CallPreviousWindowProc(self, M);
    Controller->Unhook(link);
  });
  control.Perform(WM_PROBE);
  EXPECT_EQ(Seen, (std::vector<std::string>{"leaving", "own"}));
  EXPECT_EQ(link, nullptr);
  Seen.clear();
  control.Perform(WM_PROBE);
  EXPECT_EQ(Seen, (std::vector<std::string>{"own"})) << "the control's own procedure is back";
}

class TDesigner : public IDesignerNotify {
 public:
  TcxDesignController* Controller = nullptr;
  TCustomForm* Form = nullptr;
  int Calls = 0;
  void Modified() override {
    ++Calls;
    Controller->NotifyFormDesignerModified(Form);  // the designer reacting to its own change
  }
};

TEST(DesignController, NotificationsReachTheDesignerOnceAndNotWhileLocked) {
  TCustomForm form(nullptr);
  TDesigner designer;
  TcxDesignController controller;
  designer.Controller = &controller;
  designer.Form = &form;
  form.SetDesigner(&designer);
  controller.NotifyFormDesignerModified(&form);
  EXPECT_EQ(designer.Calls, 0) << "a running form is not being designed";
  form.SetComponentState(csDesigning, true);
  controller.NotifyFormDesignerModified(&form);
  EXPECT_EQ(designer.Calls, 1) << "no recursion from the designer's own handling";
  controller.LockModifiedNotifications();
  controller.NotifyFormDesignerModified(&form);
  controller.UnlockModifiedNotifications();
  controller.UnlockModifiedNotifications();  // never below zero
  EXPECT_EQ(designer.Calls, 1);
  controller.NotifyFormDesignerModified(&form);
  EXPECT_EQ(designer.Calls, 2);
  form.SetComponentState(csLoading, true);
  controller.NotifyFormDesignerModified(&form);
  EXPECT_EQ(designer.Calls, 2) << "not while loading";
  form.SetComponentState(csLoading, false);
  form.SetComponentState(csDesigning, false);
  form.SetDesigner(nullptr);
}

}  // namespace
