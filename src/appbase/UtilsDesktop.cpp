// The routines of Utils that need the window system: busy cursor, links, fonts.
#include <QProcess>
#include <QStringList>

#include "appbase/Utils.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Forms.h"

namespace {
int gBusyCount = 0;
}

void BeginBusy() {
  ++gBusyCount;
  Screen->SetCursor(crHourGlass);
}

void EndBusy() {
  if (gBusyCount <= 0) return;
  if (--gBusyCount == 0) Screen->SetCursor(crDefault);
}

int BusyCount() { return gBusyCount; }

void OpenURL(const std::string& Target) {
  BeginBusy();
  struct End {
    ~End() { EndBusy(); }
  } end;
  QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(Target)});
}

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

bool BrowseForFolder(TWinControl* Owner, std::string& Folder, const std::string& Title,
                     const std::string& RootFolder, unsigned Flags) {
  return ShellBrowseForFolder(Owner ? Owner->Handle() : nullptr, Folder, Title, RootFolder, Flags);
}
