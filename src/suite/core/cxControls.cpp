#include "suite/core/cxControls.h"

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
