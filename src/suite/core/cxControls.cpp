#include "suite/core/cxControls.h"

#include <QtCore/QtGlobal>
#include <iterator>

#include "platform/gui/Forms.h"

HWND FindNonChildAncestor(HWND Window) {
  HWND w = Window;
  while (w && IsWindow(w) && (GetWindowLong(w, GWL_STYLE) & WS_CHILD)) w = GetParent(w);
  return w && IsWindow(w) ? w : nullptr;
}

bool IsFormActive(TWinControl* Form) {
  if (!Form || !Form->HandleAllocated()) return false;
  HWND active = GetActiveWindow();
  if (!active) return false;
  if (Form->Handle() == active) return true;
  auto* form = dynamic_cast<TCustomForm*>(Form);
  if (form && form->FormStyle() == fsMDIChild) {
    auto* main = dynamic_cast<TCustomForm*>(GetApplication()->MainForm());
    if (main && main->HandleAllocated() && main->Handle() == active &&
        main->ActiveMDIChild() == form)
      return true;
  }
  return FindNonChildAncestor(Form->Handle()) == active;
}

void DisableWindowAndRecord(std::vector<HWND>& List, HWND Window) {
  if (!Window || !IsWindowEnabled(Window)) return;
  List.push_back(Window);
  EnableWindow(Window, FALSE);
}

void EnableRecordedWindows(const std::vector<HWND>& List) {
  for (HWND w : List)
    if (IsWindow(w)) EnableWindow(w, TRUE);
}

bool RemovePendingMessages(HWND Window, UINT FirstMessage, UINT LastMessage, bool All) {
  if (LastMessage == 0) LastMessage = FirstMessage;
  bool removed = false;
  MSG msg;
  while (PeekMessage(&msg, Window, FirstMessage, LastMessage, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(int(msg.wParam));
      break;
    }
    removed = true;
    if (!All) break;
  }
  return removed;
}

// ---- shared objects and the unit's start-up and shut-down

void FreeMouseTrackingTimers();

static void InitSuiteCursors() { Q_INIT_RESOURCE(sonalix_suite_cursors); }

namespace {
int gControlsUnitCount = 0;
bool gControlsFinalizing = false;
TcxWindowProcController* gWindowProcController = nullptr;
TcxMessageWindow* gMessageWindow = nullptr;
TcxSystemController* gSystemController = nullptr;
UINT gPlaceHolderFormMessage = 0;
UINT gReservedSuiteMessage = 0;

void LoadSuiteCursors() {
  InitSuiteCursors();
  static const char* const names[] = {
      "CX_DRAGCOPYCURSOR",  "CX_FULLSCROLLCURSOR", "CX_HORSCROLLCURSOR",  "CX_VERSCROLLCURSOR",
      "CX_UPSCROLLCURSOR",  "CX_RIGHTSCROLLCURSOR", "CX_DOWNSCROLLCURSOR", "CX_LEFTSCROLLCURSOR",
      "CX_REMOVECURSOR",    "CX_VERTSIZECURSOR",   "CX_HORZSIZECURSOR",   "CX_MULTIDRAGCURSOR",
      "CX_NODROPCURSOR",    "CX_DRAGCURSOR"};
  for (int i = 0; i < int(std::size(names)); ++i)
    Screen->SetCursors(crcxDragCopy + i, LoadCursor(nullptr, names[i]));
  Screen->SetCursors(crcxHandPoint, LoadCursor(nullptr, IDC_HAND));
  Screen->SetCursors(crcxColorPicker, LoadCursor(nullptr, "CX_COLORPICKERCURSOR"));
  Screen->SetCursors(crcxMultiDragCopy, LoadCursor(nullptr, "CX_MULTIDRAGCOPYCURSOR"));
}
}  // namespace

UINT cxPlaceHolderFormMessage() { return gPlaceHolderFormMessage; }
UINT cxReservedSuiteMessage() { return gReservedSuiteMessage; }

bool cxControlsFinalizing() { return gControlsFinalizing; }

TcxWindowProcController* GetWindowProcController() {
  if (!gWindowProcController && !gControlsFinalizing)
    gWindowProcController = new TcxWindowProcController;
  return gWindowProcController;
}

TcxMessageWindow* GetMessageWindow() {
  if (!gMessageWindow && !gControlsFinalizing) gMessageWindow = new TcxMessageWindow;
  return gMessageWindow;
}

TcxSystemController* cxSystemController() { return gSystemController; }

TcxMessageWindow::TcxMessageWindow() {
  FHandle = AllocateHWnd([this](TMessage& M) { HandleWindowMessage(M); });
}

TcxMessageWindow::~TcxMessageWindow() { DeallocateHWnd(FHandle); }

void TcxMessageWindow::HandleWindowMessage(TMessage& Message) {
  Message.Result = DefWindowProc(FHandle, Message.Msg, Message.WParam, Message.LParam);
}

void cxControlsInitialize() {
  if (gControlsUnitCount++ > 0) return;
  gControlsFinalizing = false;
  LoadSuiteCursors();
  gPlaceHolderFormMessage = RegisterWindowMessage("{B2CE3777-44D8-4998-9701-47BBBC10B656}");
  gReservedSuiteMessage = RegisterWindowMessage("{B2CE3777-44D8-1321-4656-12C54AA613BB}");
  gSystemController = new TcxSystemController;
}

void cxControlsFinalize() {
  if (gControlsUnitCount == 0 || --gControlsUnitCount > 0) return;
  gControlsFinalizing = true;
  FreeAndClearObject(gSystemController);
  FreeMouseTrackingTimers();
  FreeAndClearObject(gMessageWindow);
  FreeAndClearObject(gWindowProcController);
}
