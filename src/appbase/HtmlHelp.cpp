#include "appbase/HtmlHelp.h"

#include <QFile>

#include "appbase/Utils.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Modules.h"
#include "platform/sys/ShellFolders.h"

namespace {

using THtmlHelpProc = HWND (*)(HWND, const char*, unsigned, uintptr_t);

// The viewer: pages are opened in the desktop's browser, so there is no help window of ours.
HWND HtmlHelpEntry(HWND /*owner*/, const char* file, unsigned command, uintptr_t data) {
  if (command == HH_INITIALIZE) {
    if (data) *reinterpret_cast<uint32_t*>(data) = 1;
  } else if (command == HH_DISPLAY_TOPIC && file) {
    const std::string page = HelpPageFile(file);
    if (!page.empty())
      OpenURL(page);
    else
      Application->MessageBox(MissingHelpTopicText(file), Application->Title(),
                              MB_OK | MB_ICONINFORMATION);
  }
  return nullptr;
}

const bool gViewerRegistered = [] {
  SetModuleEntryAs("HHCTRL.OCX", "HtmlHelpA", &HtmlHelpEntry);
  return true;
}();

THtmlHelpProc gHtmlHelp = nullptr;
uint32_t gCookie = 0;

}  // namespace

HWND HtmlHelpCall(HWND Owner, const std::string& Target, unsigned Command, uintptr_t Data) {
  if (!gHtmlHelp) {
    HMODULE module = LoadLibrary(AddTrailingBackslash(GetSystemDir()) + "HHCTRL.OCX");
    if (!module) throw Exception("HHCtrl.OCX not installed!\r HTMLHELP cannot displayed!");
    auto proc = GetProcAddressAs<THtmlHelpProc>(module, "HtmlHelpA");
    if (!proc) throw Exception("Function HTMLHELP cannot loaded!");
    proc(nullptr, nullptr, HH_INITIALIZE, reinterpret_cast<uintptr_t>(&gCookie));
    gHtmlHelp = proc;
  }
  return gHtmlHelp(Owner, Target.c_str(), Command, Data);
}

std::string HelpTopicTarget(const std::string& Topic) {
  return Format("%s::/%s.htm", {ChangeFileExt(ParamStr(0), ".chm"), LowerCase(Topic)});
}

void ShowHelpTopic(HWND Owner, const std::string& Topic) {
  HtmlHelpCall(Owner, HelpTopicTarget(Topic), HH_DISPLAY_TOPIC, 0);
}

std::string MissingHelpTopicText(const std::string& Target) {
  std::string topic = Target;
  const size_t sep = topic.find("::/");
  if (sep != std::string::npos) topic = ChangeFileExt(topic.substr(sep + 3), "");
  return Format("There is no help page for the topic \"%s\".", {topic});
}

std::string HelpPageFile(const std::string& Target) {
  static const bool pagesRegistered = [] {
    Q_INIT_RESOURCE(Help);
    return true;
  }();
  (void)pagesRegistered;
  const size_t sep = Target.find("::/");
  if (sep == std::string::npos) return "";
  const std::string name = Target.substr(sep + 3);
  if (name.empty() || name.find('/') != std::string::npos || name.find('\\') != std::string::npos)
    return "";
  QFile in(QStringLiteral(":/help/") + QString::fromStdString(name));
  if (!in.open(QIODevice::ReadOnly)) return "";
  const std::string folder = TempFolder() + "/help";
  ForceDirectories(folder);
  const std::string path = folder + "/" + name;
  QFile out(QString::fromStdString(path));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate) || out.write(in.readAll()) < 0) return "";
  return path;
}
