// Capture, focus and activation, the hook chains, and the Qt input events kept behind the
// input messages made from them.
#include <QApplication>
#include <QCursor>
#include <QEvent>
#include <algorithm>

#include "platform/win/WinInternal.h"

HWND gCapture = nullptr;
HWND gFocus = nullptr;

namespace {

bool gSettingQtFocus = false;

// ---- hooks
struct THookEntry {
  HHOOK Handle;
  int Kind;
  HOOKPROC Proc;
};
std::vector<THookEntry> gHooks;  // newest first
uintptr_t gNextHook = 0x10;

constexpr size_t kStashSize = 64;
TStashedEvent gStash[kStashSize];
DWORD gNextSerial = 1;

}  // namespace

TStashedEvent* FindStash(DWORD serial) {
  if (!serial) return nullptr;
  TStashedEvent& s = gStash[serial % kStashSize];
  return s.Serial == serial ? &s : nullptr;
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
