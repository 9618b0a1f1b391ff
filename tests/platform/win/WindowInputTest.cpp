// Real widgets on the offscreen platform: painting through the back buffer, mouse input with
// capture, keys and their characters.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRegion>
#include <QMimeData>
#include <QMouseEvent>
#include <QUrl>
#include <QWidget>
#include <string>
#include <vector>

#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"
#include "platform/win/Windows.h"

namespace {

struct TSeen {
  HWND Window;
  UINT Msg;
  WPARAM W;
  LPARAM L;
};
std::vector<TSeen> gSeen;
std::function<bool(HWND, UINT, WPARAM, LPARAM, LRESULT&)> gHandler;

LRESULT TestProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  gSeen.push_back({h, m, w, l});
  LRESULT r = 0;
  if (gHandler && gHandler(h, m, w, l, r)) return r;
  return DefWindowProc(h, m, w, l);
}

const char* TestClass() {
  static bool done = false;
  if (!done) {
    WNDCLASS wc;
    wc.style = CS_DBLCLKS;
    static WNDPROC proc = MakeWindowProc(TestProc);
    wc.lpfnWndProc = proc;
    wc.hbrBackground = reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOW + 1));
    wc.lpszClassName = "TestInput";
    RegisterClass(&wc);
    done = true;
  }
  return "TestInput";
}

std::vector<UINT> SeenIds(HWND h, std::initializer_list<UINT> only) {
  std::vector<UINT> r;
  for (auto& s : gSeen)
    if (s.Window == h && std::find(only.begin(), only.end(), s.Msg) != only.end()) r.push_back(s.Msg);
  return r;
}

void SendMouse(HWND h, QEvent::Type type, QPoint local, Qt::MouseButton button) {
  QWidget* w = GetWindowWidget(h);
  QPoint global = w->mapToGlobal(local);
  Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent e(type, QPointF(local), QPointF(global), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

TEST(WindowPaint, PaintAndEraseDrawIntoTheBackBuffer) {
  HWND top = CreateWindowEx(0, TestClass(), "Top", WS_POPUP | WS_VISIBLE, 10, 10, 60, 40,
                            nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(top);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  gHandler = [&](HWND h, UINT m, WPARAM, LPARAM, LRESULT&) {
    if (m != WM_PAINT) return false;
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(h, &ps);
    RECT r{5, 5, 15, 10};
    FillRect(dc, &r, red);
    EndPaint(h, &ps);
    return true;
  };
  gSeen.clear();
  UpdateWindow(top);
  QImage* img = GetWindowBackBuffer(top);
  ASSERT_TRUE(img);
  EXPECT_EQ(img->size(), QSize(60, 40));
  EXPECT_EQ(img->pixelColor(5, 5), QColor(255, 0, 0));
  EXPECT_EQ(img->pixelColor(14, 9), QColor(255, 0, 0));
  EXPECT_EQ(img->pixelColor(15, 10), QColor(255, 255, 255));  // erased with the class brush
  EXPECT_EQ(SeenIds(top, {WM_ERASEBKGND, WM_PAINT}), (std::vector<UINT>{WM_PAINT, WM_ERASEBKGND}));
  // Invalidation without erase paints without WM_ERASEBKGND; nothing invalid paints nothing.
  struct Case {
    BOOL Invalidate;
    BOOL Erase;
    std::vector<UINT> Expected;
  };
  for (Case c : std::vector<Case>{{TRUE, FALSE, {WM_PAINT}},
                                  {TRUE, TRUE, {WM_PAINT, WM_ERASEBKGND}},
                                  {FALSE, FALSE, {}}}) {
    gSeen.clear();
    if (c.Invalidate) InvalidateRect(top, nullptr, c.Erase);
    UpdateWindow(top);
    EXPECT_EQ(SeenIds(top, {WM_ERASEBKGND, WM_PAINT}), c.Expected);
  }
  gHandler = nullptr;
  DestroyWindow(top);
  DeleteObject(red);
}

LRESULT SwallowRightButton(int code, WPARAM w, LPARAM l) {
  if (w == WM_RBUTTONDOWN) return 1;
  return CallNextHookEx(nullptr, code, w, l);
}

TEST(WindowInput, MouseHookMaySwallowAPress) {
  HWND top = CreateWindowEx(0, TestClass(), "Top", WS_POPUP | WS_VISIBLE, 0, 0, 50, 50, nullptr,
                            nullptr, nullptr, nullptr);
  HHOOK hook = SetWindowsHookEx(WH_MOUSE, SwallowRightButton, nullptr, GetCurrentThreadId());
  gSeen.clear();
  SendMouse(top, QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton);
  SendMouse(top, QEvent::MouseButtonRelease, QPoint(5, 5), Qt::RightButton);
  SendMouse(top, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
  EXPECT_EQ(SeenIds(top, {WM_RBUTTONDOWN, WM_RBUTTONUP, WM_LBUTTONDOWN}),
            (std::vector<UINT>{WM_RBUTTONUP, WM_LBUTTONDOWN}));
  UnhookWindowsHookEx(hook);
  DestroyWindow(top);
}

int gHookedMoves = 0;
LRESULT CountMoves(int code, WPARAM w, LPARAM l) {
  if (w == WM_MOUSEMOVE || w == WM_LBUTTONDOWN) ++gHookedMoves;
  return CallNextHookEx(nullptr, code, w, l);
}

// A form disabled by a modal one: its windows get no mouse input, yet the hooks see it.
TEST(WindowInput, DisabledTopLevelTakesNoMouseInput) {
  HWND top = CreateWindowEx(0, TestClass(), "Top", WS_POPUP | WS_VISIBLE, 0, 0, 80, 60, nullptr,
                            nullptr, nullptr, nullptr);
  HWND child = CreateWindowEx(0, TestClass(), "", WS_CHILD | WS_VISIBLE, 10, 10, 40, 30, top, nullptr,
                              nullptr, nullptr);
  HHOOK hook = SetWindowsHookEx(WH_MOUSE, CountMoves, nullptr, GetCurrentThreadId());
  EnableWindow(top, FALSE);
  gSeen.clear();
  gHookedMoves = 0;
  SendMouse(child, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
  SendMouse(child, QEvent::MouseButtonPress, QPoint(5, 5), Qt::LeftButton);
  SendMouse(top, QEvent::MouseMove, QPoint(70, 50), Qt::NoButton);
  EXPECT_TRUE(SeenIds(child, {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_SETCURSOR}).empty());
  EXPECT_TRUE(SeenIds(top, {WM_MOUSEMOVE, WM_LBUTTONDOWN, WM_MOUSEACTIVATE}).empty());
  EXPECT_EQ(gHookedMoves, 3);
  EnableWindow(top, TRUE);
  SendMouse(child, QEvent::MouseMove, QPoint(5, 5), Qt::NoButton);
  EXPECT_EQ(SeenIds(child, {WM_MOUSEMOVE}), std::vector<UINT>{WM_MOUSEMOVE});
  UnhookWindowsHookEx(hook);
  DestroyWindow(top);
}

// Window styles become the matching Qt window kinds.
TEST(WindowInput, CreateParametersMapToQtWindows) {
  struct Case {
    DWORD Style, ExStyle;
    Qt::WindowType Type;
    bool OnTop, Frameless, NoActivate;
    LRESULT MouseActivate;
  };
  for (Case c : std::vector<Case>{
           {WS_POPUP, 0, Qt::Window, false, true, false, MA_ACTIVATE},
           {WS_OVERLAPPEDWINDOW, 0, Qt::Window, false, false, false, MA_ACTIVATE},
           {WS_POPUP, WS_EX_TOOLWINDOW | WS_EX_TOPMOST, Qt::Tool, true, true, false, MA_ACTIVATE},
           {WS_POPUP, WS_EX_NOACTIVATE | WS_EX_TOPMOST, Qt::Window, true, true, true, MA_NOACTIVATE}}) {
    HWND h = CreateWindowEx(c.ExStyle, TestClass(), "", c.Style, 0, 0, 20, 20, nullptr, nullptr,
                            nullptr, nullptr);
    QWidget* w = GetWindowWidget(h);
    EXPECT_EQ(w->windowType(), c.Type);
    EXPECT_EQ(bool(w->windowFlags() & Qt::WindowStaysOnTopHint), c.OnTop);
    EXPECT_EQ(bool(w->windowFlags() & Qt::FramelessWindowHint), c.Frameless);
    EXPECT_EQ(w->testAttribute(Qt::WA_ShowWithoutActivating), c.NoActivate);
    EXPECT_EQ(SendMessage(h, WM_MOUSEACTIVATE, 0, MAKELPARAM(HTCLIENT, WM_LBUTTONDOWN)), c.MouseActivate);
    DestroyWindow(h);
  }
}

TEST(WindowInput, CaptureRedirectsMouseAndReportsItsLoss) {
  HWND top = CreateWindowEx(0, TestClass(), "Top", WS_POPUP | WS_VISIBLE, 0, 0, 200, 100,
                            nullptr, nullptr, nullptr, nullptr);
  HWND a = CreateWindowEx(0, TestClass(), "A", WS_CHILD | WS_VISIBLE, 10, 10, 50, 50, top,
                          nullptr, nullptr, nullptr);
  HWND b = CreateWindowEx(0, TestClass(), "B", WS_CHILD | WS_VISIBLE, 100, 10, 50, 50, top,
                          nullptr, nullptr, nullptr);
  gSeen.clear();
  SendMouse(a, QEvent::MouseButtonPress, QPoint(5, 6), Qt::LeftButton);
  ASSERT_FALSE(gSeen.empty());
  auto down = std::find_if(gSeen.begin(), gSeen.end(), [](auto& s) { return s.Msg == WM_LBUTTONDOWN; });
  ASSERT_NE(down, gSeen.end());
  EXPECT_EQ(down->Window, a);
  EXPECT_EQ(GET_X_LPARAM(down->L), 5);
  EXPECT_EQ(GET_Y_LPARAM(down->L), 6);
  EXPECT_EQ(down->W & MK_LBUTTON, MK_LBUTTON);

  EXPECT_EQ(SetCapture(b), nullptr);
  gSeen.clear();
  // While b has the capture, a's mouse goes to b in b's client coordinates.
  SendMouse(a, QEvent::MouseMove, QPoint(5, 6), Qt::NoButton);
  auto move = std::find_if(gSeen.begin(), gSeen.end(), [](auto& s) { return s.Msg == WM_MOUSEMOVE; });
  ASSERT_NE(move, gSeen.end());
  EXPECT_EQ(move->Window, b);
  EXPECT_EQ(GET_X_LPARAM(move->L), 5 + 10 - 100);
  EXPECT_EQ(GET_Y_LPARAM(move->L), 6);

  gSeen.clear();
  SetCapture(a);
  ReleaseCapture();
  std::vector<std::pair<HWND, LPARAM>> changes;
  for (auto& s : gSeen)
    if (s.Msg == WM_CAPTURECHANGED) changes.push_back({s.Window, s.L});
  ASSERT_EQ(changes.size(), 2u);
  EXPECT_EQ(changes[0], std::make_pair(b, reinterpret_cast<LPARAM>(a)));
  EXPECT_EQ(changes[1], std::make_pair(a, LPARAM(0)));
  EXPECT_EQ(GetCapture(), nullptr);
  DestroyWindow(top);
}

TEST(WindowInput, CharacterFollowsKeyDownAndCanBeRemoved) {
  HWND top = CreateWindowEx(0, TestClass(), "Top", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100,
                            nullptr, nullptr, nullptr, nullptr);
  SetFocus(top);
  EXPECT_EQ(GetFocus(), top);
  auto press = [&](int key, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(GetWindowWidget(top), &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(GetWindowWidget(top), &up);
    QCoreApplication::processEvents();
  };
  bool eat = false;
  gHandler = [&](HWND h, UINT m, WPARAM w, LPARAM, LRESULT&) {
    if (m == WM_KEYDOWN && eat) {
      MSG removed;
      EXPECT_TRUE(PeekMessage(&removed, h, WM_CHAR, WM_CHAR, PM_REMOVE));
      EXPECT_EQ(removed.wParam, WPARAM('q'));
    }
    return false;
  };
  gSeen.clear();
  press(Qt::Key_Q, "q");
  EXPECT_EQ(SeenIds(top, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}),
            (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP, WM_CHAR}));
  for (auto& s : gSeen) {
    if (s.Msg == WM_KEYDOWN) EXPECT_EQ(s.W, WPARAM('Q'));
    if (s.Msg == WM_CHAR) EXPECT_EQ(s.W, WPARAM('q'));
  }
  eat = true;
  gSeen.clear();
  press(Qt::Key_Q, "q");
  EXPECT_EQ(SeenIds(top, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}), (std::vector<UINT>{WM_KEYDOWN, WM_KEYUP}));
  // The application's filter sees a key before the window and may keep it.
  SetApplicationMessageFilter([](MSG& m) { return m.message == WM_KEYDOWN && m.wParam == VK_ESCAPE; });
  eat = false;
  gSeen.clear();
  press(Qt::Key_Escape, QString(QChar(0x1B)));
  EXPECT_EQ(SeenIds(top, {WM_KEYDOWN, WM_CHAR, WM_KEYUP}), (std::vector<UINT>{WM_KEYUP}));
  SetApplicationMessageFilter(nullptr);
  gHandler = nullptr;
  DestroyWindow(top);
  EXPECT_EQ(GetFocus(), nullptr);
}

}  // namespace

namespace {

std::vector<TSeen> gFramed;

LRESULT FramedProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  gFramed.push_back({h, m, w, l});
  switch (m) {
    case WM_NCCALCSIZE: {
      auto* p = reinterpret_cast<NCCALCSIZE_PARAMS*>(l);
      p->rgrc[0].left += 3, p->rgrc[0].top += 3, p->rgrc[0].right -= 3, p->rgrc[0].bottom -= 3;
      return 0;
    }
    case WM_NCPAINT: {
      HDC dc = GetWindowDC(h);
      RECT r;
      GetWindowRect(h, &r);
      RECT whole{0, 0, r.right - r.left, r.bottom - r.top};
      HBRUSH blue = CreateSolidBrush(RGB(0, 0, 255));
      FillRect(dc, &whole, blue);
      DeleteObject(blue);
      ReleaseDC(h, dc);
      return 0;
    }
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(h, &ps);
      RECT r;
      GetClientRect(h, &r);
      HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
      FillRect(dc, &r, red);
      DeleteObject(red);
      EndPaint(h, &ps);
      return 0;
    }
  }
  return DefWindowProc(h, m, w, l);
}

TEST(WindowNonClient, FrameAroundTheClientArea) {
  WNDCLASS wc;
  static WNDPROC proc = MakeWindowProc(FramedProc);
  wc.lpfnWndProc = proc;
  wc.lpszClassName = "TestFramed";
  RegisterClass(&wc);
  HWND top = CreateWindowEx(0, "TestFramed", "", WS_POPUP | WS_VISIBLE, 50, 40, 40, 30, nullptr,
                            nullptr, nullptr, nullptr);
  HWND child = CreateWindowEx(0, TestClass(), "", WS_CHILD | WS_VISIBLE, 0, 0, 5, 5, top, nullptr,
                              nullptr, nullptr);
  RECT client;
  GetClientRect(top, &client);
  EXPECT_EQ(client, (RECT{0, 0, 34, 24}));
  POINT origin{0, 0};
  ClientToScreen(top, &origin);
  EXPECT_EQ(origin, (POINT{53, 43}));
  // Children sit in the client area.
  EXPECT_EQ(GetWindowWidget(child)->pos(), QPoint(3, 3));
  RECT childRect;
  GetWindowRect(child, &childRect);
  EXPECT_EQ(childRect.left, 53);

  UpdateWindow(top);
  QImage* img = GetWindowBackBuffer(top);
  EXPECT_EQ(img->pixelColor(1, 1), QColor(0, 0, 255));
  EXPECT_EQ(img->pixelColor(20, 20), QColor(255, 0, 0));
  EXPECT_EQ(img->pixelColor(38, 28), QColor(0, 0, 255));

  struct Case {
    QPoint At;
    UINT Msg;
    WPARAM W;
    POINT Pos;  // client coordinates for client messages, screen for the others
  };
  for (Case c : std::vector<Case>{{{1, 1}, WM_NCLBUTTONDOWN, WPARAM(HTBORDER), {51, 41}},
                                  {{20, 10}, WM_LBUTTONDOWN, MK_LBUTTON, {17, 7}}}) {
    gFramed.clear();
    SendMouse(top, QEvent::MouseButtonPress, c.At, Qt::LeftButton);
    auto it = std::find_if(gFramed.begin(), gFramed.end(), [](auto& s) {
      return s.Msg == WM_NCLBUTTONDOWN || s.Msg == WM_LBUTTONDOWN;
    });
    ASSERT_NE(it, gFramed.end());
    EXPECT_EQ(it->Msg, c.Msg);
    EXPECT_EQ(it->W, c.W);
    EXPECT_EQ(GET_X_LPARAM(it->L), c.Pos.x);
    EXPECT_EQ(GET_Y_LPARAM(it->L), c.Pos.y);
    SendMouse(top, QEvent::MouseButtonRelease, c.At, Qt::LeftButton);
  }
  // A window shape is the widget's mask.
  SetWindowRgn(top, CreateRectRgn(0, 0, 10, 10), FALSE);
  EXPECT_EQ(GetWindowWidget(top)->mask(), QRegion(0, 0, 10, 10));
  DestroyWindow(top);
}

// A hosted Qt control keeps its own behaviour, with key filtering as on the platform: the
// character is typed when WM_CHAR reaches the default procedure.
TEST(WindowInput, HostedQtControlsTypeOnCharacters) {
  SetClassWidgetFactory("TestLineEdit", [](QWidget* parent) { return new QLineEdit(parent); });
  WNDCLASS wc;
  static WNDPROC proc = MakeWindowProc([](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
    if (m == WM_CHAR && w == 'x') return 0;  // filtered out
    return DefWindowProc(h, m, w, l);
  });
  wc.lpfnWndProc = proc;
  wc.lpszClassName = "TestLineEdit";
  RegisterClass(&wc);
  HWND top = CreateWindowEx(0, TestClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 50, nullptr,
                            nullptr, nullptr, nullptr);
  HWND edit = CreateWindowEx(0, "TestLineEdit", "", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, top,
                             nullptr, nullptr, nullptr);
  auto* line = qobject_cast<QLineEdit*>(GetWindowWidget(edit));
  ASSERT_TRUE(line);
  SetFocus(edit);
  auto type = [&](int key, const QString& text) {
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(line, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QCoreApplication::sendEvent(line, &up);
    QCoreApplication::processEvents();
  };
  type(Qt::Key_A, "a");
  type(Qt::Key_X, "x");
  type(Qt::Key_B, "b");
  EXPECT_EQ(line->text(), "ab");
  type(Qt::Key_Backspace, "\b");
  EXPECT_EQ(line->text(), "a");
  DestroyWindow(top);
}

}  // namespace

namespace {

TEST(WindowShell, DroppedFilesArriveAsWmDropFiles) {
  HWND top = CreateWindowEx(0, TestClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                            nullptr, nullptr, nullptr);
  std::vector<std::string> names;
  POINT at{};
  gHandler = [&](HWND h, UINT m, WPARAM w, LPARAM, LRESULT&) {
    if (m != WM_DROPFILES) return false;
    auto drop = reinterpret_cast<HDROP>(w);
    UINT count = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
      char buf[8];
      UINT len = DragQueryFile(drop, i, nullptr, 0);
      DragQueryFile(drop, i, buf, sizeof buf);
      names.push_back(std::string(buf) + "|" + std::to_string(len));
    }
    DragQueryPoint(drop, &at);
    DragFinish(drop);
    return true;
  };
  auto drop = [&](QList<QUrl> urls) {
    QMimeData data;
    data.setUrls(urls);
    QDropEvent e(QPointF(12, 34), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    // Straight to the widget, as the window's drop handling of Qt delivers it.
    static_cast<QObject*>(GetWindowWidget(top))->event(&e);
    QCoreApplication::processEvents();
  };
  QList<QUrl> urls = {QUrl::fromLocalFile("/tmp/a.wav"), QUrl("http://example.invalid/x"),
                      QUrl::fromLocalFile("/tmp/long name.mp3")};
  drop(urls);  // not accepted yet
  EXPECT_TRUE(names.empty());
  DragAcceptFiles(top, TRUE);
  drop(urls);
  // Only local files come, cut to the buffer the caller gives.
  EXPECT_EQ(names, (std::vector<std::string>{"/tmp/a.|10", "/tmp/lo|18"}));
  EXPECT_EQ(at, (POINT{12, 34}));
  gHandler = nullptr;
  DestroyWindow(top);
}

TEST(WindowShell, MonitorsAndSystemColourChanges) {
  HMONITOR m = MonitorFromPoint(POINT{1, 1}, MONITOR_DEFAULTTONULL);
  ASSERT_TRUE(m);
  MONITORINFO info;
  ASSERT_TRUE(GetMonitorInfo(m, &info));
  EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
  EXPECT_GT(info.rcWork.right, info.rcWork.left);
  EXPECT_EQ(MonitorFromPoint(POINT{-100000, 5}, MONITOR_DEFAULTTONULL), nullptr);
  EXPECT_EQ(MonitorFromPoint(POINT{-100000, 5}, MONITOR_DEFAULTTONEAREST), m);

  HWND top = CreateWindowEx(0, TestClass(), "", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                            nullptr, nullptr);
  gSeen.clear();
  int index = COLOR_BTNFACE;
  COLORREF before = GetSysColor(index), value = RGB(1, 2, 3);
  SetSysColors(1, &index, &value);
  EXPECT_EQ(GetSysColor(COLOR_BTNFACE), value);
  EXPECT_EQ(SeenIds(top, {WM_SYSCOLORCHANGE}), (std::vector<UINT>{WM_SYSCOLORCHANGE}));
  SetSysColors(1, &index, &before);
  DestroyWindow(top);
}

}  // namespace

namespace {

TEST(EditClass, EditMessagesNotificationsAndNumberStyle) {
  HWND top = CreateWindowEx(0, TestClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, nullptr,
                            nullptr, nullptr, nullptr);
  HWND edit = CreateWindowEx(0, "Edit", "7", WS_CHILD | WS_VISIBLE | ES_NUMBER, 5, 5, 100, 20,
                             top, reinterpret_cast<HMENU>(intptr_t(42)), nullptr, nullptr);
  ASSERT_TRUE(edit);
  auto* line = qobject_cast<QLineEdit*>(GetWindowWidget(edit));
  ASSERT_TRUE(line);
  EXPECT_EQ(GetWindowText(edit), "7");
  SetFocus(edit);
  auto changes = [&] {
    int n = 0;
    for (auto& s : gSeen)
      if (s.Window == top && s.Msg == WM_COMMAND && HIWORD(s.W) == EN_CHANGE) {
        EXPECT_EQ(LOWORD(s.W), 42);
        EXPECT_EQ(reinterpret_cast<HWND>(s.L), edit);
        ++n;
      }
    return n;
  };
  auto type = [&](const std::string& text) {
    for (char ch : text) {
      int key = ch >= 'a' && ch <= 'z' ? Qt::Key_A + (ch - 'a') : Qt::Key_0 + (ch - '0');
      QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, QString(QChar(ch)));
      QCoreApplication::sendEvent(line, &down);
      QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier, QString(QChar(ch)));
      QCoreApplication::sendEvent(line, &up);
      QCoreApplication::processEvents();
    }
  };
  gSeen.clear();
  line->setCursorPosition(1);
  type("1a2");
  EXPECT_EQ(GetWindowText(edit), "712");  // the number style refuses the letter
  EXPECT_EQ(changes(), 2);
  // Taking the style away (as code does with SetWindowLong) lets letters in.
  SetWindowLongPtr(edit, GWL_STYLE, GetWindowLongPtr(edit, GWL_STYLE) & ~LONG_PTR(ES_NUMBER));
  type("b");
  EXPECT_EQ(GetWindowText(edit), "712b");
  gSeen.clear();
  SetWindowText(edit, "hello");
  EXPECT_EQ(changes(), 1);
  EXPECT_EQ(GetWindowTextLength(edit), 5);
  SendMessage(edit, EM_SETSEL, 1, 3);
  DWORD start = 0, end = 0;
  SendMessage(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 1u);
  EXPECT_EQ(end, 3u);
  SendMessage(edit, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("EY"));
  EXPECT_EQ(GetWindowText(edit), "hEYlo");
  SendMessage(edit, EM_LIMITTEXT, 5, 0);
  SendMessage(edit, EM_SETSEL, 5, 5);
  type("z");
  EXPECT_EQ(GetWindowText(edit), "hEYlo");
  SendMessage(edit, EM_SETREADONLY, TRUE, 0);
  SendMessage(edit, EM_LIMITTEXT, 0, 0);
  type("q");
  EXPECT_EQ(GetWindowText(edit), "hEYlo");
  EXPECT_TRUE(GetWindowLongPtr(edit, GWL_STYLE) & ES_READONLY);
  DestroyWindow(top);
}

}  // namespace

namespace {

std::vector<std::string> gHookLog;
LRESULT OlderMouseHook(int code, WPARAM w, LPARAM l) {
  auto* mh = reinterpret_cast<MOUSEHOOKSTRUCT*>(l);
  if (w == WM_LBUTTONDOWN) gHookLog.push_back(std::string("older ") + (mh->hwnd ? "ours" : "foreign"));
  return CallNextHookEx(nullptr, code, w, l);
}
LRESULT NewerMouseHook(int code, WPARAM w, LPARAM l) {
  if (w == WM_LBUTTONDOWN) gHookLog.push_back("newer");
  // Passing on needs no handle: the chain knows where it is.
  LRESULT r = CallNextHookEx(nullptr, code, w, l);
  return w == WM_LBUTTONDOWN ? 1 : r;
}

TEST(Hooks, MouseHooksSeeQtsOwnWidgetsTooAndChainWithoutHandles) {
  QPushButton button("Qt");
  button.resize(40, 20);
  button.show();
  int clicks = 0;
  QObject::connect(&button, &QPushButton::clicked, [&] { ++clicks; });
  HHOOK older = SetWindowsHookEx(WH_MOUSE, OlderMouseHook, nullptr, GetCurrentThreadId());
  HHOOK newer = SetWindowsHookEx(WH_MOUSE, NewerMouseHook, nullptr, GetCurrentThreadId());
  auto click = [&] {
    for (auto type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
      QMouseEvent e(type, QPointF(5, 5), QPointF(button.mapToGlobal(QPoint(5, 5))), Qt::LeftButton,
                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
      QCoreApplication::sendEvent(&button, &e);
    }
  };
  click();
  EXPECT_EQ(gHookLog, (std::vector<std::string>{"newer", "older foreign"}));
  EXPECT_EQ(clicks, 0);  // the press was swallowed
  UnhookWindowsHookEx(newer);
  UnhookWindowsHookEx(older);
  gHookLog.clear();
  click();
  EXPECT_TRUE(gHookLog.empty());
  EXPECT_EQ(clicks, 1);
}

}  // namespace

namespace {

TEST(WindowPaint, ScrollingMovesPixelsAndInvalidatesWhatComesIntoView) {
  HWND top = CreateWindowEx(0, TestClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, 20, 10, nullptr,
                            nullptr, nullptr, nullptr);
  HWND child = CreateWindowEx(0, TestClass(), "", WS_CHILD | WS_VISIBLE, 2, 2, 3, 3, top, nullptr,
                              nullptr, nullptr);
  UpdateWindow(top);
  HDC dc = GetDC(top);
  HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
  RECT r{0, 0, 4, 10};
  FillRect(dc, &r, red);
  ReleaseDC(top, dc);
  RECT exposed;
  EXPECT_EQ(ScrollWindowEx(top, 5, 0, nullptr, nullptr, nullptr, &exposed, SW_INVALIDATE | SW_SCROLLCHILDREN),
            SIMPLEREGION);
  EXPECT_EQ(exposed, (RECT{0, 0, 5, 10}));
  QImage* img = GetWindowBackBuffer(top);
  EXPECT_EQ(img->pixelColor(5, 3), QColor(255, 0, 0));
  EXPECT_EQ(img->pixelColor(8, 3), QColor(255, 0, 0));
  EXPECT_NE(img->pixelColor(9, 3), QColor(255, 0, 0));
  RECT invalid;
  EXPECT_TRUE(GetUpdateRect(top, &invalid, FALSE));
  EXPECT_EQ(invalid, (RECT{0, 0, 5, 10}));
  RECT childRect;
  GetWindowRect(child, &childRect);
  EXPECT_EQ(childRect.left, 7);
  DeleteObject(red);
  DestroyWindow(top);
}

}  // namespace

namespace {

TEST(EditClass, ParentChoosesTheColoursBeforePainting) {
  HWND top = CreateWindowEx(0, TestClass(), "", WS_POPUP | WS_VISIBLE, 0, 0, 200, 60, nullptr,
                            nullptr, nullptr, nullptr);
  HWND edit = CreateWindowEx(0, "EDIT", "x", WS_CHILD | WS_VISIBLE, 5, 5, 100, 20, top, nullptr,
                             nullptr, nullptr);
  HBRUSH yellow = CreateSolidBrush(RGB(255, 255, 0));
  gHandler = [&](HWND h, UINT m, WPARAM w, LPARAM l, LRESULT& r) {
    if (m != WM_CTLCOLOREDIT || reinterpret_cast<HWND>(l) != edit) return false;
    SetTextColor(reinterpret_cast<HDC>(w), RGB(255, 0, 0));
    r = reinterpret_cast<LRESULT>(yellow);
    return true;
  };
  QImage shot = GetWindowWidget(edit)->grab().toImage();
  auto* line = qobject_cast<QLineEdit*>(GetWindowWidget(edit));
  EXPECT_EQ(line->palette().color(QPalette::Text), QColor(255, 0, 0));
  EXPECT_EQ(line->palette().color(QPalette::Base), QColor(255, 255, 0));
  EXPECT_EQ(shot.pixelColor(shot.width() - 3, shot.height() / 2), QColor(255, 255, 0));
  gHandler = nullptr;
  DestroyWindow(top);
  DeleteObject(yellow);
}

}  // namespace
