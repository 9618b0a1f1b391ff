#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>
#include <QtWidgets/QApplication>
#include <vector>

#include "platform/win/QtWindows.h"
#include "suite/core/cxControls.h"

namespace {
HWND MakeWindow(DWORD style, HWND parent) {
  return CreateWindowEx(0, "STATIC", "", style, 0, 0, 50, 50, parent, nullptr, nullptr, nullptr);
}
}  // namespace

TEST(WindowHelpers, NonChildAncestorAndActiveForm) {
  HWND top = MakeWindow(WS_POPUP, nullptr);
  HWND child = MakeWindow(WS_CHILD, top);
  HWND grandChild = MakeWindow(WS_CHILD, child);
  EXPECT_EQ(FindNonChildAncestor(grandChild), top);
  EXPECT_EQ(FindNonChildAncestor(top), top);
  EXPECT_EQ(FindNonChildAncestor(nullptr), nullptr);
  DestroyWindow(top);
  EXPECT_EQ(FindNonChildAncestor(grandChild), nullptr) << "stale handles have no ancestor";

  TWinControl form(nullptr);
  auto* inner = new TWinControl(&form);
  inner->SetParent(&form);
  EXPECT_FALSE(IsFormActive(&form)) << "no window yet";
  form.Show();
  // The offscreen platform activates nothing by itself: tell Qt which window is active.
  QApplication::setActiveWindow(GetWindowWidget(form.Handle()));
  QCoreApplication::processEvents();
  if (GetActiveWindow() != form.Handle()) GTEST_SKIP() << "no window activation on this platform";
  EXPECT_TRUE(IsFormActive(&form));
  EXPECT_TRUE(IsFormActive(inner)) << "through its first non-child ancestor";
  TWinControl other(nullptr);
  other.HandleNeeded();
  EXPECT_FALSE(IsFormActive(&other));
  EXPECT_FALSE(IsFormActive(nullptr));
}

TEST(WindowHelpers, DisabledWindowsAreRecordedAndEnabledAgainWhileTheyExist) {
  HWND a = MakeWindow(WS_POPUP, nullptr);
  HWND b = MakeWindow(WS_POPUP, nullptr);
  HWND c = MakeWindow(WS_POPUP, nullptr);
  EnableWindow(b, FALSE);
  std::vector<HWND> list;
  for (HWND w : {a, b, c}) DisableWindowAndRecord(list, w);
  EXPECT_EQ(list, (std::vector<HWND>{a, c})) << "b was disabled already";
  EXPECT_FALSE(IsWindowEnabled(a));
  DestroyWindow(c);
  EnableRecordedWindows(list);
  EXPECT_TRUE(IsWindowEnabled(a));
  EXPECT_FALSE(IsWindowEnabled(b)) << "not recorded, left alone";
  DestroyWindow(a);
  DestroyWindow(b);
}

TEST(WindowHelpers, PendingMessagesRemovedByWindowAndRange) {
  HWND a = MakeWindow(WS_POPUP, nullptr);
  HWND b = MakeWindow(WS_POPUP, nullptr);
  for (UINT m : {WM_USER + 1, WM_USER + 2, WM_USER + 1, WM_USER + 5}) {
    PostMessage(a, m, 0, 0);
    PostMessage(b, m, 0, 0);
  }
  auto pending = [](HWND w, UINT m) {
    int n = 0;
    MSG msg;
    std::vector<MSG> seen;
    while (PeekMessage(&msg, w, m, m, PM_REMOVE)) seen.push_back(msg), ++n;
    for (MSG& s : seen) PostMessage(s.hwnd, s.message, s.wParam, s.lParam);
    return n;
  };
  EXPECT_TRUE(RemovePendingMessages(a, WM_USER + 1, 0, false));
  EXPECT_EQ(pending(a, WM_USER + 1), 1) << "one removed";
  EXPECT_TRUE(RemovePendingMessages(a, WM_USER + 1, WM_USER + 2));
  EXPECT_EQ(pending(a, WM_USER + 1) + pending(a, WM_USER + 2), 0);
  EXPECT_EQ(pending(a, WM_USER + 5), 1) << "outside the range";
  EXPECT_EQ(pending(b, WM_USER + 1), 2) << "another window's messages stay";
  EXPECT_FALSE(RemovePendingMessages(a, WM_USER + 3));
  // A quit request met on the way is posted again and ends the removal.
  PostQuitMessage(7);
  EXPECT_TRUE(RemovePendingMessages(nullptr, WM_USER + 1, WM_USER + 5));
  MSG msg;
  ASSERT_TRUE(PeekMessage(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(msg.wParam, 7u);
  RemovePendingMessages(nullptr, 0, 0xFFFF);
  DestroyWindow(a);
  DestroyWindow(b);
}
