#pragma once
// What the editing dialogs share: their components found by name once the description is read,
// the number-only edit style, and the error message box of the application.

#include <string>

#include "platform/gui/Controls.h"
#include "platform/rtl/SysUtils.h"

// The component of Root named Name, which must be of class T: a description that lacks it is a
// fault of the program, reported as EComponentError.
template <class T>
T* DialogComponent(TComponent* Root, const std::string& Name) {
  auto* found = dynamic_cast<T*>(Root->FindComponent(Name));
  if (!found) throw EComponentError("The window " + Root->Name() + " has no " + Name + ".");
  return found;
}

// Lets the edit take digits only (the window's number style).
void SetNumberStyle(TWinControl* Edit);

// An error message box captioned with the application's title.
void ShowErrorMessage(const std::string& Text);

// Replaces "Tahoma" by the screen's hint font in the window's controls.
void SubstituteDialogFont(TWinControl* Dialog);

// Makes every editing dialog class known to stored descriptions. Safe to call more than once.
void RegisterEditingDialogClasses();
