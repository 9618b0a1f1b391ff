// The lock keys' toggles and the held state GetKeyState reports, from the key events seen or
// from the lock-key source (the X server's indicators on X11); and a press on a child's sizing
// hit code resizing its top-level window.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

#include "platform/win/QtWindows.h"
#include "platform/win/Windows.h"

#include <QtGui/qguiapplication_platform.h>
// Xlib's macros stay behind the other headers; two of them name Qt's key events.
#include <X11/XKBlib.h>
#undef KeyPress
#undef KeyRelease

namespace {

LRESULT GripProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  // The whole child is a bottom-right sizing grip.
  if (m == WM_NCHITTEST) return HTBOTTOMRIGHT;
  return DefWindowProc(h, m, w, l);
}

const char* GripClass() {
  static bool done = false;
  if (!done) {
    WNDCLASS wc;
    static WNDPROC proc = MakeWindowProc(GripProc);
    wc.lpfnWndProc = proc;
    wc.lpszClassName = "TestGrip";
    RegisterClass(&wc);
    done = true;
  }
  return "TestGrip";
}

struct TWindows {
  HWND Top, Child;
  TWindows() {
    Top = CreateWindowEx(0, "STATIC", "Top", WS_POPUP | WS_VISIBLE, 10, 10, 200, 100, nullptr, nullptr, nullptr,
                         nullptr);
    Child = CreateWindowEx(0, GripClass(), "", WS_CHILD | WS_VISIBLE, 180, 80, 20, 20, Top, nullptr, nullptr,
                           nullptr);
  }
  ~TWindows() { DestroyWindow(Top); }
};

void SendKey(HWND h, int QtKey, bool Down) {
  QKeyEvent e(Down ? QEvent::KeyPress : QEvent::KeyRelease, QtKey, Qt::NoModifier);
  QCoreApplication::sendEvent(GetWindowWidget(h), &e);
}

// The key events seen decide (whatever the X server shows) while this lives.
struct TSeenEventsOnly {
  TLockKeySource Old;
  TSeenEventsOnly() { Old = SetLockKeySource([](int) { return -1; }); }
  ~TSeenEventsOnly() { SetLockKeySource(Old); }
};

}  // namespace

TEST(KeyState, LockTogglesFromTheKeyEventsSeen) {
  TSeenEventsOnly events;
  TWindows w;
  struct TCase {
    int QtKey, Vk;
  };
  for (TCase c : {TCase{Qt::Key_CapsLock, VK_CAPITAL}, TCase{Qt::Key_NumLock, VK_NUMLOCK},
                  TCase{Qt::Key_ScrollLock, VK_SCROLL}, TCase{Qt::Key_Insert, VK_INSERT}}) {
    SCOPED_TRACE(c.Vk);
    const int before = GetKeyState(c.Vk) & 1;
    SendKey(w.Top, c.QtKey, true);
    // Held: the high bit, and the low byte is not 1 even though the toggle flipped.
    EXPECT_LT(GetKeyState(c.Vk), 0);
    EXPECT_EQ(GetKeyState(c.Vk) & 1, 1 - before);
    EXPECT_NE(GetKeyState(c.Vk) & 0xFF, 1);
    SendKey(w.Top, c.QtKey, false);
    EXPECT_EQ(GetKeyState(c.Vk) & 0xFF, 1 - before);
    SendKey(w.Top, c.QtKey, true);
    SendKey(w.Top, c.QtKey, false);
    EXPECT_EQ(GetKeyState(c.Vk) & 0xFF, before);
  }
}

TEST(KeyState, TheLockSourceDecidesTheLockKeysOnly) {
  TWindows w;
  TLockKeySource old = SetLockKeySource([](int vk) { return vk == VK_CAPITAL ? 1 : vk == VK_NUMLOCK ? 0 : -1; });
  const int insert = GetKeyState(VK_INSERT) & 1;
  const int scroll = GetKeyState(VK_SCROLL) & 1;
  for (int i = 0; i < 3; ++i) {
    SendKey(w.Top, Qt::Key_CapsLock, true);
    SendKey(w.Top, Qt::Key_CapsLock, false);
  }
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 0xFF, 1);
  EXPECT_EQ(GetKeyState(VK_NUMLOCK) & 0xFF, 0);
  // Held still comes from the events.
  SendKey(w.Top, Qt::Key_CapsLock, true);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 0xFF, 0x81);
  SendKey(w.Top, Qt::Key_CapsLock, false);
  // Without an answer the events decide; Insert never asks the source.
  SendKey(w.Top, Qt::Key_ScrollLock, true);
  SendKey(w.Top, Qt::Key_ScrollLock, false);
  EXPECT_EQ(GetKeyState(VK_SCROLL) & 1, 1 - scroll);
  SendKey(w.Top, Qt::Key_Insert, true);
  SendKey(w.Top, Qt::Key_Insert, false);
  EXPECT_EQ(GetKeyState(VK_INSERT) & 1, 1 - insert);
  SetLockKeySource(old);
  SendKey(w.Top, Qt::Key_ScrollLock, true);
  SendKey(w.Top, Qt::Key_ScrollLock, false);
  SendKey(w.Top, Qt::Key_Insert, true);
  SendKey(w.Top, Qt::Key_Insert, false);
}

// Under Xvfb (SONALIX_TEST_PLATFORM=xcb) the server's Caps Lock shows without any key event.
TEST(KeyState, ServerIndicatorsOnX11) {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) GTEST_SKIP() << "needs an X server";
  Display* d = qGuiApp->nativeInterface<QNativeInterface::QX11Application>()->display();
  auto lock = [&](bool on) {
    XkbLockModifiers(d, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
    XSync(d, False);
  };
  lock(true);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 0xFF, 1);
  lock(false);
  EXPECT_EQ(GetKeyState(VK_CAPITAL) & 0xFF, 0);
}

TEST(KeyState, PressOnAChildsSizingCodeResizesTheTopLevelWindow) {
  TWindows w;
  const TSystemResizeRequest before = LastSystemResizeRequest();
  QWidget* top = GetWindowWidget(w.Top);
  auto press = [&](QWidget* widget, QPoint at) {
    QMouseEvent down(QEvent::MouseButtonPress, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton,
                     Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &down);
    QMouseEvent up(QEvent::MouseButtonRelease, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton,
                   Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &up);
  };
  press(top, QPoint(10, 10));
  EXPECT_EQ(LastSystemResizeRequest().Window, before.Window);
  press(GetWindowWidget(w.Child), QPoint(10, 10));
  EXPECT_EQ(LastSystemResizeRequest().Window, w.Top);
  EXPECT_EQ(LastSystemResizeRequest().HitCode, HTBOTTOMRIGHT);
}
