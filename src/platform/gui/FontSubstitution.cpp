#include "platform/gui/FontSubstitution.h"

#include "platform/gui/Forms.h"

void SubstituteFontName(TWinControl* Control, const std::string& OldName, const std::string& NewName) {
  if (!Control || NewName == OldName) return;
  bool installed = false;
  for (const std::string& f : Screen->Fonts())
    if (SameText(f, NewName)) {
      installed = true;
      break;
    }
  if (!installed) return;
  for (int i = 0; i < Control->ControlCount(); ++i) {
    TControl* child = Control->Controls(i);
    if (child->Font()->Name() == OldName) child->Font()->SetName(NewName);
    if (auto* w = dynamic_cast<TWinControl*>(child)) SubstituteFontName(w, OldName, NewName);
  }
}
