#pragma once
// Private to the window layer: the window objects, the thread queues and the Qt shell widget.

#include <QImage>
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <algorithm>
#include <cctype>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"
#include "platform/win/Windows.h"

struct TWindowProcedure {
  TWindowProcFunction Function;
};

struct TSubclassLink {
  SUBCLASSPROC Proc = nullptr;
  UINT_PTR Id = 0;
  DWORD_PTR RefData = 0;
};

struct TTimerEntry {
  HWND Window = nullptr;
  UINT_PTR Id = 0;
  UINT Interval = 0;
  TIMERPROC Proc = nullptr;
  uint64_t Due = 0;
};

class TQueueWaker;

struct TThreadQueue {
  std::mutex Lock;
  std::deque<MSG> Posted;  // guarded by Lock
  bool WakePending = false;  // guarded by Lock
  DWORD ThreadId = 0;
  // Owning thread only:
  bool QuitPosted = false;
  int QuitCode = 0;
  int OwnLoopWaiting = 0;  // our GetMessage/PeekMessage is running Qt's events
  std::vector<TTimerEntry> Timers;
  UINT_PTR NextThreadTimerId = 1;
  TQueueWaker* Waker = nullptr;
  MSG Current;  // the message being processed (GetMessageTime/Pos)

  void Push(const MSG& msg);
  void Wake();
};

struct TWindowClassEntry {
  std::string Name;
  WNDCLASS Class;
  TWidgetFactory WidgetFactory;
};

struct TWindowObject {
  HWND Handle = nullptr;
  std::string ClassName;
  const TWindowClassEntry* Class = nullptr;
  WNDPROC Proc = nullptr;
  DWORD Style = 0;
  DWORD ExStyle = 0;
  HWND Parent = nullptr;
  HWND Owner = nullptr;
  LONG_PTR Id = 0;
  LONG_PTR UserData = 0;
  HINSTANCE Instance = nullptr;
  std::string Text;
  std::map<std::string, intptr_t> Props;
  std::vector<TSubclassLink> Subclasses;  // oldest first
  QPointer<QWidget> Widget;
  bool MessageOnly = false;
  // Window rectangle: in the parent's client coordinates for children, screen for top levels.
  RECT Rect;
  // The client rectangle inside the window rectangle (window coordinates).
  RECT Client;
  QImage BackBuffer;
  // What UpdateLayeredWindow last gave a layered window (premultiplied); shown instead of the
  // back buffer while it is set.
  QImage Layered;
  QRegion Update;  // window coordinates
  bool EraseNeeded = false;
  bool Painting = false;
  int RedrawOff = 0;
  bool Destroying = false;
  bool HasRegion = false;
  QRegion Shape;
  std::shared_ptr<TThreadQueue> Queue;
  std::vector<HWND> Children;  // z-order, top first
  HMENU SystemMenu = nullptr;  // made by GetSystemMenu, freed with the window
  HICON SmallIcon = nullptr;   // WM_SETICON (the program keeps the icons)
  HICON BigIcon = nullptr;
};

// Window class and registered message names compare without case.
struct CaseLess {
  bool operator()(const std::string& a, const std::string& b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
      return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
    });
  }
};

// The window table (windows), read by posting (queue); gTableLock guards the map itself.
extern std::mutex gTableLock;
extern std::unordered_map<uintptr_t, std::unique_ptr<TWindowObject>> gWindows;
// The capture and focus windows (input), dropped when their window goes (windows).
extern HWND gCapture;
extern HWND gFocus;

// A Qt input event kept behind the message made from it (input), for the character it types
// and for Qt's default handling when the message is dispatched later (queue).
struct TStashedEvent {
  DWORD Serial = 0;
  std::unique_ptr<QEvent> Event;
  QPointer<QWidget> Widget;
  std::string Text;
};
TStashedEvent* FindStash(DWORD serial);

// Sends a message to every top-level window of this thread.
void BroadcastToTopLevels(UINT msg, WPARAM wp, LPARAM lp);

// Lookups (GUI thread; the table is locked briefly).
TWindowObject* FindWindowObject(HWND hWnd);

// The fonts SystemParametersInfo reports, the same the screen object reports.
enum class TSystemFont { Caption, SmallCaption, Menu, Status, Message, Icon };
LOGFONT SystemLogFont(TSystemFont Kind);
bool FillNonClientMetrics(NONCLIENTMETRICS& Metrics);
std::shared_ptr<TThreadQueue> CurrentQueue();

// Calls the window's subclass chain and procedure.
LRESULT CallWindowChain(TWindowObject* w, UINT msg, WPARAM wp, LPARAM lp);
// Hook chains, in the order they must see a message.
bool CallKeyboardHooks(WPARAM vk, LPARAM keyData);  // true: swallowed
bool CallMouseHooks(UINT msg, const MOUSEHOOKSTRUCT& info);  // true: swallowed
void CallGetMessageHooks(MSG& msg, bool removing);
void CallWndProcHooks(HWND, UINT&, WPARAM&, LPARAM&);

// Input arriving from Qt: either handed to a waiting loop of ours, or run through the pipeline
// at once. Returns false when Qt's default should run (the caller does it).
bool DeliverInputMessage(MSG& msg, QEvent* source);
// Keeps the Qt event behind an input message (its text; a copy for queued default handling).
DWORD StashInputEvent(QEvent* e, QWidget* widget, const std::string& text, bool keepEvent);
bool SettingQtFocus();
// Watches the input of widgets that are not our windows for the mouse and keyboard hooks.
void SetForeignInputHooks(bool on);

// Non-client and client geometry.
void RecalcClient(TWindowObject* w);
QPoint ClientOrigin(const TWindowObject* w);

// Painting the back buffer and the update region.
void PaintInvalid(TWindowObject* w);
void EnsureBackBuffer(TWindowObject* w);

// The shell widget of our windows.
class TWindowWidget : public QWidget {
 public:
  TWindowWidget(HWND hWnd, QWidget* parent, Qt::WindowFlags flags);
  HWND Handle() const { return FHandle; }
  void Detach() { FHandle = nullptr; }
  // Qt's own handling of an event, for DefWindowProc.
  bool QtDefault(QEvent* e) { return QWidget::event(e); }

 protected:
  bool event(QEvent* e) override;

 private:
  HWND FHandle;
};

void InstallForeignWidgetFilter(QWidget* widget);
// Routes one Qt event of a window's widget into messages; true when consumed.
bool RouteQtEvent(HWND hWnd, QWidget* widget, QEvent* e);

// The Qt event behind the input message being dispatched (for DefWindowProc's default).
struct TQtEventContext {
  HWND Window = nullptr;
  UINT Message = 0;
  QEvent* Event = nullptr;
  QWidget* Widget = nullptr;
  bool DefaultDone = false;
  bool DefaultResult = false;
  TQtEventContext* Outer = nullptr;
};
TQtEventContext*& CurrentQtEvent();

// Key mapping between Qt and virtual keys.
WORD VirtualKeyFromQt(int qtKey, Qt::KeyboardModifiers mods, quint32 nativeVirtualKey);
void NoteKeyState(WORD vk, bool down);
// A lock key's toggle from the lock-key source: 0 or 1, -1 when it cannot tell.
int LockKeyToggle(int VirtualKey);
void NoteButtonState(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);
WPARAM MouseKeyFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers mods);

// Gdi side: a device context over a window's back buffer.
HDC CreateWindowDC(TWindowObject* w, bool clientArea, const QRegion* clip);
void ReleaseWindowDCs(TWindowObject* w);
