#pragma once
// Driving the format dialogs in tests: their descriptions and classes made ready with fresh
// settings, a dialog loaded and shown, keys pressed in one of its controls.

#include <memory>

#include "appbase/Globals.h"
#include "operations/FormatSetup.h"
#include "platform/gui/GuiInput.h"

// The descriptions are embedded in the test program; their initialiser lives outside any
// namespace.
inline void InitFormatDialogForms() { Q_INIT_RESOURCE(OutputFormatForms); }

namespace formatdialogs {

// Registers the dialogs once and puts the settings record back to its defaults.
inline void FreshSettings() {
  static const bool done = [] {
    InitFormatDialogForms();
    RegisterGuiClasses();
    RegisterOutputFormatClasses();
    return true;
  }();
  (void)done;
  SetDefaultGlobalVars(GlobalVars);
}

template <class F>
std::unique_ptr<F> ShowLoaded() {
  auto form = std::make_unique<F>(nullptr);
  form->LoadSettings();
  form->Show();
  Application->ProcessMessages();
  return form;
}

// Presses a key Times times in the control, which takes the focus first.
inline void Press(TWinControl* Control, int QtKey, int Times = 1) {
  Control->SetFocus();
  for (int i = 0; i < Times; ++i) guitest::Key(GetParentForm(Control), QtKey);
}

}  // namespace formatdialogs
