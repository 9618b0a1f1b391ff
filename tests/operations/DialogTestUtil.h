#pragma once
// Driving the editing dialogs as a user would: real mouse and keys on Qt's offscreen platform,
// message boxes answered and recorded, modal runs steered from inside their loop.

#include <QCoreApplication>
#include <QPoint>
#include <functional>
#include <string>
#include <vector>

#include "../platform/gui/GuiInput.h"
#include "operations/DialogSupport.h"
#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"

namespace dialogtest {

// Answers every message box with OK and keeps its text; modal dialogs run normally.
class MessageBoxes {
 public:
  MessageBoxes() {
    FPrevious = SetModalHook([this](const TModalRequest& r) {
      if (r.Kind != TModalRequest::mrMessageBox) return 0;
      Texts.push_back(r.Text);
      Types.push_back(r.Type);
      return int(IDOK);
    });
  }
  ~MessageBoxes() { SetModalHook(std::move(FPrevious)); }
  MessageBoxes(const MessageBoxes&) = delete;
  MessageBoxes& operator=(const MessageBoxes&) = delete;
  std::vector<std::string> Texts;
  std::vector<UINT> Types;

 private:
  TModalHook FPrevious;
};

// The centre of a control, in the client coordinates of its form.
inline QPoint Centre(TControl* Control) {
  TPoint p = Control->ClientToScreen(TPoint{Control->Width() / 2, Control->Height() / 2});
  TCustomForm* form = GetParentCustomForm(Control);
  TPoint q = form->ScreenToClient(p);
  return {q.X, q.Y};
}

inline void ClickOn(TControl* Control) {
  guitest::Click(GetParentCustomForm(Control), Centre(Control));
}

// Clicks into an edit and replaces its text by typing, as the keyboard would.
inline void TypeInto(TWinControl* Edit, const QString& Text) {
  ClickOn(Edit);
  TCustomForm* form = GetParentCustomForm(Edit);
  guitest::Key(form, Qt::Key_End);
  for (int i = 0; i < 40; ++i) guitest::Key(form, Qt::Key_Backspace);
  guitest::Type(form, Text);
}

// Runs steps as messages the running loop dispatches, as a user's input arrives (input sent
// from a step is handled at once, not after the step).
class Steps {
 public:
  Steps() {
    FWindow = AllocateHWnd([this](TMessage& m) {
      if (m.Msg != kStep || FQueue.empty()) return;
      auto step = std::move(FQueue.front());
      FQueue.erase(FQueue.begin());
      step();
    });
  }
  ~Steps() { DeallocateHWnd(FWindow); }
  Steps(const Steps&) = delete;
  Steps& operator=(const Steps&) = delete;
  void Later(std::function<void()> Step) {
    FQueue.push_back(std::move(Step));
    PostMessage(FWindow, kStep, 0, 0);
  }

 private:
  static constexpr UINT kStep = WM_USER + 1;
  HWND FWindow;
  std::vector<std::function<void()>> FQueue;
};

// Shows the form modally; Step runs inside the modal loop once the dialog is up. Unless the
// dialog ends by itself later, a step that leaves it open ends it with mrAbort, so a failing
// test never hangs.
inline int RunModal(TCustomForm* Form, std::function<void()> Step, bool EndsByItself = false) {
  Steps steps;
  steps.Later([Form, Step, EndsByItself] {
    Application->ProcessMessages();  // the dialog's activation
    Step();
    if (!EndsByItself && Form->ModalResult() == mrNone && Form->Visible()) Form->SetModalResult(mrAbort);
  });
  return Form->ShowModal();
}

}  // namespace dialogtest
