#pragma once
// The bridge between window handles and Qt, for the libraries that host Qt widgets or read back
// what a window drew. Light: Qt classes are only forward-declared.

#include <exception>
#include <functional>

#include "platform/win/Windows.h"

class QWidget;
class QImage;
class QEvent;

// The widget of a window (null for message-only windows and stale handles).
QWidget* GetWindowWidget(HWND hWnd);
// The window a widget belongs to (its own or its nearest ancestor's), or null.
HWND WindowFromWidget(const QWidget* widget);
// The window's back buffer: what its painting produced, the whole window rectangle.
QImage* GetWindowBackBuffer(HWND hWnd);
// Paints whatever is invalid now, without waiting for Qt's repaint (also for hidden windows).
void PaintWindowNow(HWND hWnd);

// A window class may make its own widget (a hosted Qt control); the default is a plain widget
// that shows the back buffer.
using TWidgetFactory = std::function<QWidget*(QWidget* parent)>;
void SetClassWidgetFactory(const char* className, TWidgetFactory factory);
TWidgetFactory GetClassWidgetFactory(const char* className);
// A part of a window's hosted widget that takes input itself (a scroll area's viewport): its
// mouse and wheel input goes through the window's routing like the widget's own.
void RouteWidgetInput(HWND hWnd, QWidget* part);

// Where exceptions raised by handlers go instead of crossing Qt's event loop.
using TExceptionHandler = std::function<void(std::exception_ptr)>;
void SetWindowExceptionHandler(TExceptionHandler handler);
void HandleWindowException(std::exception_ptr e);

// The application's pre-dispatch step for every retrieved message (its OnMessage, key preview,
// shortcuts, dialog keys). Returns true when the message was handled and must not be
// translated or dispatched.
using TMessageFilter = std::function<bool(MSG&)>;
void SetApplicationMessageFilter(TMessageFilter filter);
// Runs one retrieved message the way the application's loop does: hooks were already called
// at retrieval; this applies the application filter, then translates and dispatches.
void ProcessRetrievedMessage(MSG& msg);

// The test clock: while manual, GetTickCount only moves when told, and due timers fire from it.
void SetManualClock(bool manual);
bool ManualClock();
void AdvanceClock(DWORD ms);

// How many beeps MessageBeep gave since the program started (tests read it).
int BeepCount();

// Where GetKeyState reads the toggles of Caps Lock, Num Lock and Scroll Lock: by default the X
// server's keyboard indicators when running on X11. The source answers 0 or 1, or -1 when it
// cannot tell, and then the key events the application saw decide. Returns the previous source;
// an empty one restores the default.
using TLockKeySource = std::function<int(int VirtualKey)>;
TLockKeySource SetLockKeySource(TLockKeySource Source);

// The last press on a sizing hit code (HTLEFT to HTBOTTOMRIGHT) that asked the window manager to
// resize a top-level window: that window and the code (tests read it).
struct TSystemResizeRequest {
  HWND Window = nullptr;
  LRESULT HitCode = 0;
};
TSystemResizeRequest LastSystemResizeRequest();

// Message boxes and modal dialogs ask this hook first; a non-zero answer ends them at once.
struct TModalRequest {
  // A pop-up menu (Dialog: the TPopupMenu) answers the command of the item to run, or < 0.
  enum TKind { mrMessageBox, mrDialog, mrPopupMenu } Kind = mrMessageBox;
  HWND Owner = nullptr;
  std::string Text;
  std::string Caption;
  UINT Type = 0;
  void* Dialog = nullptr;  // the dialog object for mrDialog
  std::string DialogClass;
};
using TModalHook = std::function<int(const TModalRequest&)>;
// Returns the previous hook.
TModalHook SetModalHook(TModalHook hook);
// Asks the hook; 0 when there is none or it declines.
int AskModalHook(const TModalRequest& request);

class QCursor;
// Cursor handles over Qt cursors (the screen's cursor table, resource cursors).
HCURSOR CreateCursorHandle(const QCursor& cursor);
bool CursorFromHandle(HCURSOR handle, QCursor* cursor);

class QIcon;
// Icon handles over Qt icons (one picture or several sizes).
HICON CreateIconHandle(const QIcon& icon);
bool IconFromHandle(HICON handle, QIcon* icon);
// The application's window icon as a handle (the same one while that icon stays), null when
// the application has none.
HICON ApplicationIconHandle();
