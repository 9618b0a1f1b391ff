#include "platform/gui/Forms.h"

#include <unistd.h>

#include <QApplication>
#include <QCursor>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QScreen>
#include <QToolTip>
#include <QWidget>
#include <climits>
#include <filesystem>

#include "platform/gui/ActnList.h"
#include "platform/win/QtWindows.h"

namespace {
TApplication* gApplication = nullptr;
TScreen* gScreen = nullptr;
TMouse* gMouse = nullptr;

std::string ReadExeName() {
  std::error_code ec;
  auto p = std::filesystem::read_symlink("/proc/self/exe", ec);
  return ec ? std::string() : p.string();
}
}  // namespace

TApplication* GetApplication() {
  if (!gApplication) gApplication = new TApplication(nullptr);
  return gApplication;
}

TScreen* GetScreen() {
  if (!gScreen) gScreen = new TScreen(nullptr);
  return gScreen;
}

TMouse* GetMouse() {
  if (!gMouse) gMouse = new TMouse;
  return gMouse;
}

bool ApplicationIsShortCut(TMessage& Message) {
  return gApplication && gApplication->IsShortCut(Message);
}

// ---------------------------------------------------------------------------------------------

TApplication::TApplication(TComponent* AOwner) : TComponent(AOwner) {
  FExeName = ReadExeName();
  FTitle = std::filesystem::path(FExeName).stem().string();
  SetApplicationMessageFilter([this](MSG& m) { return FilterMessage(m); });
  SetWindowExceptionHandler([this](std::exception_ptr e) { HandleException(this, e); });
}

TApplication::~TApplication() {
  FreeHints();
  SetApplicationMessageFilter(nullptr);
  SetWindowExceptionHandler(nullptr);
  if (FHandle) DeallocateHWnd(FHandle);
  if (gApplication == this) gApplication = nullptr;
}

HWND TApplication::Handle() {
  if (!FHandle) FHandle = AllocateHWnd([](TMessage& m) {
      m.Result = DefWindowProc(nullptr, m.Msg, m.WParam, m.LParam);
    });
  return FHandle;
}

bool TApplication::Active() const {
  return QApplication::instance() && QApplication::activeWindow() != nullptr;
}

bool TApplication::FilterMessage(MSG& Msg) {
  bool handled = false;
  if (OnMessage) OnMessage(Msg, handled);
  if (handled) return true;
  HintMouseMessage(Msg);
  return IsKeyMsg(Msg);
}

bool TApplication::IsKeyMsg(MSG& Msg) {
  if (Msg.message < WM_KEYFIRST || Msg.message > WM_KEYLAST) return false;
  HWND wnd = GetCapture();
  if (!wnd) wnd = Msg.hwnd;
  // The nearest window with a control takes the key first (shortcuts, dialog keys).
  TWinControl* control = nullptr;
  for (HWND h = wnd; h && !control; h = GetParent(h)) control = FindControl(h);
  // A capture window of no control (a running drag) hears the keys itself.
  if (!control && wnd == GetCapture() && wnd)
    return SendMessage(wnd, CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
  if (!control) return false;
  return control->Perform(CN_BASE + Msg.message, Msg.wParam, Msg.lParam) != 0;
}

bool TApplication::IsShortCut(TMessage& Message) {
  bool handled = false;
  if (OnShortCut) OnShortCut(Message, handled);
  if (handled) return true;
  TWinControl* main = MainForm();
  TWinControl* form = nullptr;
  if (HWND f = GetFocus()) form = GetParentForm(FindControl(f));
  // A disabled main form (under a modal dialog, during a long operation) takes no keys: the
  // dialog's Esc and Space stay the dialog's.
  return main && main != form && (!main->HandleAllocated() || IsWindowEnabled(main->Handle())) &&
         main->IsShortCut(Message);
}

bool TApplication::ProcessMessage(MSG& Msg) {
  if (!PeekMessage(&Msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (Msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  ProcessRetrievedMessage(Msg);
  return true;
}

void TApplication::ProcessMessages() {
  MSG msg;
  while (ProcessMessage(msg)) {
  }
}

void TApplication::Idle(const MSG&) {
  DoActionIdle();
  bool done = true;
  if (OnIdle) OnIdle(this, done);
  if (done) WaitMessage();
}

void TApplication::HandleMessage() {
  MSG msg;
  if (!ProcessMessage(msg)) Idle(msg);
}

void TApplication::Run() {
  FTerminated = false;
  do {
    try {
      HandleMessage();
    } catch (...) {
      HandleException(this);
    }
  } while (!FTerminated);
}

void TApplication::Terminate() { PostQuitMessage(0); }

void TApplication::HandleException(TObject* Sender) { HandleException(Sender, std::current_exception()); }

void TApplication::HandleException(TObject* Sender, std::exception_ptr E) {
  if (!E) return;
  if (HWND capture = GetCapture()) SendMessage(capture, WM_CANCELMODE, 0, 0);
  try {
    std::rethrow_exception(E);
  } catch (EAbort&) {
  } catch (Exception& e) {
    if (OnException) OnException(Sender, &e);
    else ShowException(&e);
  } catch (std::exception& e) {
    Exception wrapped(e.what());
    if (OnException) OnException(Sender, &wrapped);
    else ShowException(&wrapped);
  } catch (...) {
    Exception wrapped("Unknown exception");
    if (OnException) OnException(Sender, &wrapped);
    else ShowException(&wrapped);
  }
}

void TApplication::ShowException(Exception* E) {
  std::string msg = E->Message();
  // The message reads as a sentence.
  if (!msg.empty() && static_cast<unsigned char>(msg.back()) > '.') msg += '.';
  MessageBox(msg, FTitle, MB_OK | MB_ICONSTOP);
}

int TApplication::MessageBox(const std::string& Text, const std::string& Caption, UINT Flags) {
  HWND owner = GetActiveWindow();
  if (!owner && MainForm() && MainForm()->HandleAllocated()) owner = MainForm()->WindowHandle();
  return ::MessageBox(owner, Text, Caption.empty() ? FTitle : Caption, Flags);
}

void TApplication::SetHint(const std::string& Value) {
  if (FHint == Value) return;
  FHint = Value;
  if (OnHint) {
    OnHint(this);
    return;
  }
  THintAction action(nullptr);
  action.SetHint(Value);
  ExecuteAction(&action);
}

bool TApplication::ExecuteAction(TBasicAction* Action) {
  bool handled = false;
  if (OnActionExecute) OnActionExecute(Action, handled);
  if (handled) return true;
  TWinControl* form = Screen->ActiveForm();
  if (!form) form = MainForm();
  return form && form->ExecuteAction(Action);
}

void TApplication::BringToFront() {
  if (TWinControl* f = MainForm(); f && f->HandleAllocated()) SetForegroundWindow(f->WindowHandle());
}

void TApplication::Minimize() {
  if (TWinControl* f = MainForm(); f && f->HandleAllocated()) ShowWindow(f->WindowHandle(), SW_MINIMIZE);
}

void TApplication::Restore() {
  if (TWinControl* f = MainForm(); f && f->HandleAllocated()) ShowWindow(f->WindowHandle(), SW_RESTORE);
}

void ShowMessage(const std::string& Msg) { Application->MessageBox(Msg, {}, MB_OK); }

// ---------------------------------------------------------------------------------------------

TScreen::TScreen(TComponent* AOwner)
    : TComponent(AOwner), FHintFont(new TFont), FIconFont(new TFont), FMenuFont(new TFont) {
  FDefaultCursor = LoadCursor(nullptr, IDC_ARROW);
  struct {
    TCursor Id;
    intptr_t System;
  } table[] = {{crArrow, IDC_ARROW},     {crCross, IDC_CROSS},         {crIBeam, IDC_IBEAM},
               {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},     {crSizeNWSE, IDC_SIZENWSE},
               {crSizeWE, IDC_SIZEWE},   {crUpArrow, IDC_UPARROW},     {crHourGlass, IDC_WAIT},
               {crNo, IDC_NO},           {crAppStart, IDC_APPSTARTING}, {crHelp, IDC_HELP},
               {crHandPoint, IDC_HAND},  {crSizeAll, IDC_SIZEALL},     {crSQLWait, IDC_WAIT}};
  for (auto& e : table) FCursors[e.Id] = LoadCursor(nullptr, e.System);
  FCursors[crDrag] = CreateCursorHandle(QCursor(Qt::DragMoveCursor));
  FCursors[crNoDrop] = CreateCursorHandle(QCursor(Qt::ForbiddenCursor));
  FCursors[crMultiDrag] = CreateCursorHandle(QCursor(Qt::DragCopyCursor));
  FCursors[crHSplit] = CreateCursorHandle(QCursor(Qt::SplitHCursor));
  FCursors[crVSplit] = CreateCursorHandle(QCursor(Qt::SplitVCursor));
  FCursors[crNone] = nullptr;
  if (QGuiApplication::instance()) {
    QFont tip = QToolTip::font();
    FHintFont->SetName(tip.family().toStdString());
    if (tip.pixelSize() > 0) FHintFont->SetHeight(-tip.pixelSize());
    else if (tip.pointSize() > 0) FHintFont->SetSize(tip.pointSize());
  }
}

TScreen::~TScreen() {
  if (FCursor != crDefault && QGuiApplication::instance()) QGuiApplication::restoreOverrideCursor();
  delete FHintFont;
  delete FIconFont;
  delete FMenuFont;
  if (gScreen == this) gScreen = nullptr;
}

void TScreen::AddForm(TWinControl* Form) {
  if (std::find(FForms.begin(), FForms.end(), Form) == FForms.end()) FForms.push_back(Form);
}

void TScreen::RemoveForm(TWinControl* Form) {
  FForms.erase(std::remove(FForms.begin(), FForms.end(), Form), FForms.end());
}

TWinControl* TScreen::ActiveForm() const {
  HWND active = GetActiveWindow();
  if (active) {
    if (TWinControl* c = FindControl(active)) return GetParentForm(c);
  }
  if (HWND f = GetFocus())
    if (TWinControl* c = FindControl(GetAncestor(f, GA_ROOT))) return c;
  return nullptr;
}

TWinControl* TScreen::ActiveControl() const {
  HWND f = GetFocus();
  for (HWND h = f; h; h = GetParent(h))
    if (TWinControl* c = FindControl(h)) return c;
  return nullptr;
}

void TScreen::SetCursor(TCursor Value) {
  if (FCursor == Value) return;
  TCursor old = FCursor;
  FCursor = Value;
  if (!QGuiApplication::instance()) return;
  // Qt stacks override cursors: set one on leaving the default, change it, remove it on return.
  QCursor c;
  bool known = CursorFromHandle(Cursors(Value), &c);
  if (!known) c = QCursor(Value == crNone ? Qt::BlankCursor : Qt::ArrowCursor);
  if (Value == crDefault) QGuiApplication::restoreOverrideCursor();
  else if (old == crDefault) QGuiApplication::setOverrideCursor(c);
  else QGuiApplication::changeOverrideCursor(c);
}

HCURSOR TScreen::Cursors(int Index) const {
  if (Index == crDefault) return FDefaultCursor;
  auto it = FCursors.find(Index);
  return it == FCursors.end() ? FDefaultCursor : it->second;
}

void TScreen::SetCursors(int Index, HCURSOR Handle) {
  if (Index == crDefault) {
    FDefaultCursor = Handle ? Handle : LoadCursor(nullptr, IDC_ARROW);
    return;
  }
  FCursors[Index] = Handle;
}

const std::vector<std::string>& TScreen::Fonts() {
  if (FFonts.empty() && QGuiApplication::instance()) {
    for (const QString& f : QFontDatabase::families()) FFonts.push_back(f.toStdString());
    std::sort(FFonts.begin(), FFonts.end(), [](const std::string& a, const std::string& b) {
      return CompareText(a, b) < 0;
    });
  }
  return FFonts;
}

int TScreen::Width() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().width() : 1024;
}

int TScreen::Height() const {
  QScreen* s = QGuiApplication::primaryScreen();
  return s ? s->geometry().height() : 768;
}

TRect TScreen::WorkAreaRect() const {
  QScreen* s = QGuiApplication::primaryScreen();
  QRect r = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
  return Bounds(r.x(), r.y(), r.width(), r.height());
}

TRect TScreen::DesktopRect() const {
  QScreen* s = QGuiApplication::primaryScreen();
  QRect r = s ? s->virtualGeometry() : QRect(0, 0, 1024, 768);
  return Bounds(r.x(), r.y(), r.width(), r.height());
}

// The cursor a window shows: the screen's when set, else that of the control under the mouse.
bool ApplyControlCursor(TWinControl* Window, TMessage& Message) {
  if (reinterpret_cast<HWND>(Message.WParam) != Window->WindowHandle()) return false;
  TCursor cursor = Screen->Cursor();
  if (cursor == crDefault) {
    if (SHORT(LOWORD(uintptr_t(Message.LParam))) != HTCLIENT) return false;
    POINT p;
    GetCursorPos(&p);
    TControl* c = Window->ControlAtPos(Window->ScreenToClient(p), false);
    if (c) cursor = c->Cursor();
    if (cursor == crDefault) cursor = Window->Cursor();
    if (cursor == crDefault) return false;
  }
  SetCursor(Screen->Cursors(cursor));
  Message.Result = 1;
  return true;
}

// ---------------------------------------------------------------------------------------------

TPoint TMouse::CursorPos() const {
  POINT p;
  GetCursorPos(&p);
  return p;
}

void TMouse::SetCursorPos(TPoint Value) { ::SetCursorPos(Value.X, Value.Y); }

void TMouse::SetCapture(HWND Value) {
  if (Value) ::SetCapture(Value);
  else ReleaseCapture();
}
