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

bool BrowseForFolder(TWinControl* Owner, std::string& Folder, const std::string& Title,
                     const std::string& RootFolder, unsigned Flags) {
  return ShellBrowseForFolder(Owner ? Owner->Handle() : nullptr, Folder, Title, RootFolder, Flags);
}
