// Open, save and folder dialogs over QFileDialog, with the checks the platform's dialogs make
// themselves (names that must exist, the default extension, the overwrite question) done here,
// so that they hold whether a person or the modal hook answers.

#include "platform/gui/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QGuiApplication>
#include <cstdio>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/QtWindows.h"

namespace {

std::vector<std::string> Split(const std::string& S, char Delimiter) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (;;) {
    size_t at = S.find(Delimiter, start);
    parts.push_back(S.substr(start, at == std::string::npos ? std::string::npos : at - start));
    if (at == std::string::npos) return parts;
    start = at + 1;
  }
}

QString Q(const std::string& S) { return QString::fromStdString(S); }

bool Offscreen() { return QGuiApplication::platformName() == QLatin1String("offscreen"); }

// Asks the hook, else shows the dialog; IDOK or IDCANCEL. Sets Hooked when the hook answered.
int Ask(QFileDialog& Dialog, HWND Owner, const char* DialogClass, bool& Hooked) {
  TModalRequest request;
  request.Kind = TModalRequest::mrDialog;
  request.Owner = Owner;
  request.Caption = Dialog.windowTitle().toStdString();
  request.Dialog = &Dialog;
  request.DialogClass = DialogClass;
  int answer = AskModalHook(request);
  Hooked = answer != 0;
  if (Hooked) return answer == IDOK ? IDOK : IDCANCEL;
  if (Offscreen()) {
    std::fprintf(stderr, "%s \"%s\" cancelled: no answer on the offscreen platform\n", DialogClass,
                 request.Caption.c_str());
    return IDCANCEL;
  }
  return Dialog.exec() == QDialog::Accepted ? IDOK : IDCANCEL;
}

QWidget* OwnerWidget(HWND Owner) {
  QWidget* w = Owner ? GetWindowWidget(Owner) : nullptr;
  return w ? w->window() : nullptr;
}

std::vector<std::string> Chosen(const QFileDialog& Dialog) {
  std::vector<std::string> paths;
  for (const QString& f : Dialog.selectedFiles()) paths.push_back(f.toStdString());
  return paths;
}

// The extension of a filter's first pattern when it names one ("*.mp3"), else "".
std::string FilterExtension(const std::string& NameFilter) {
  size_t open = NameFilter.rfind('(');
  if (open == std::string::npos) return {};
  std::string first = Split(NameFilter.substr(open + 1), ' ').front();
  if (!first.empty() && first.back() == ')') first.pop_back();
  if (first.size() < 3 || first.compare(0, 2, "*.") != 0) return {};
  std::string ext = first.substr(2);
  if (ext.find_first_of("*?[") != std::string::npos) return {};
  return ext;
}

// The index of the filter the dialog has chosen, or -1. The dialog names it by its description
// alone while the patterns are hidden.
int ChosenFilter(const QFileDialog& Dialog, const QStringList& NameFilters) {
  const QString chosen = Dialog.selectedNameFilter().simplified();
  for (int i = 0; i < NameFilters.size(); ++i) {
    const QString& f = NameFilters.at(i);
    if (f.simplified() == chosen || f.left(f.lastIndexOf(QLatin1String(" ("))).simplified() == chosen) return i;
  }
  return -1;
}

}  // namespace

std::vector<std::string> FilterToNameFilters(const std::string& Filter) {
  std::vector<std::string> result;
  if (Filter.empty()) return result;
  std::vector<std::string> parts = Split(Filter, '|');
  for (size_t i = 0; i < parts.size(); i += 2) {
    std::string patterns;
    if (i + 1 < parts.size())
      for (const std::string& p : Split(parts[i + 1], ';')) {
        std::string t = Trim(p);
        if (t.empty()) continue;
        if (!patterns.empty()) patterns += ' ';
        patterns += t;
      }
    if (patterns.empty()) patterns = "*";
    result.push_back(parts[i] + " (" + patterns + ")");
  }
  return result;
}

TOpenDialog::TOpenDialog(TComponent* AOwner) : TComponent(AOwner), FFiles(std::make_unique<TStringList>()) {}

TOpenDialog::~TOpenDialog() = default;

TStrings* TOpenDialog::Files() const { return FFiles.get(); }

bool TOpenDialog::Execute() { return Run(DefaultOwner(), false); }

bool TSaveDialog::Execute() { return Run(DefaultOwner(), true); }

HWND TOpenDialog::DefaultOwner() { return GetActiveWindow(); }

bool TOpenDialog::Run(HWND ParentWnd, bool Save) {
  QFileDialog dialog(OwnerWidget(ParentWnd));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::HideNameFilterDetails);
  dialog.setOption(QFileDialog::DontConfirmOverwrite);
  // Patterns match names in any letter case, as on the platform's file systems.
  dialog.setFilter(dialog.filter() & ~QDir::CaseSensitive);
  dialog.setWindowTitle(Q(!FTitle.empty() ? FTitle : Save ? "Save As" : "Open"));
  dialog.setAcceptMode(Save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  if (Save) dialog.setFileMode(QFileDialog::AnyFile);
  else if (FOptions.Contains(ofAllowMultiSelect)) dialog.setFileMode(QFileDialog::ExistingFiles);
  else if (FOptions.Contains(ofFileMustExist)) dialog.setFileMode(QFileDialog::ExistingFile);
  else dialog.setFileMode(QFileDialog::AnyFile);

  std::string dir = FInitialDir;
  if (dir.empty() && FFileName.find('/') != std::string::npos) dir = ExtractFileDir(FFileName);
  if (!dir.empty()) dialog.setDirectory(Q(dir));
  if (!FFileName.empty()) dialog.selectFile(Q(ExtractFileName(FFileName)));
  std::vector<std::string> filters = FilterToNameFilters(FFilter);
  QStringList nameFilters;
  for (const std::string& f : filters) nameFilters << Q(f);
  if (!nameFilters.isEmpty()) {
    dialog.setNameFilters(nameFilters);
    dialog.selectNameFilter(nameFilters.at(std::clamp(FFilterIndex - 1, 0, int(nameFilters.size()) - 1)));
  }

  std::vector<std::string> refused;
  std::vector<std::string> paths;
  int chosen = -1;
  for (;;) {
    bool hooked = false;
    if (Ask(dialog, ParentWnd, Save ? "TSaveDialog" : "TOpenDialog", hooked) != IDOK) return false;
    paths = Chosen(dialog);
    chosen = ChosenFilter(dialog, nameFilters);
    std::vector<std::string> raw = paths;
    if (!paths.empty() && Acceptable(ParentWnd, Save, paths, chosen >= 0 ? filters[size_t(chosen)] : std::string())) break;
    // A hook that gives the refused answer again would keep the dialog open for ever.
    if (hooked && raw == refused) return false;
    refused = raw;
  }
  FFiles->Clear();
  for (const std::string& p : paths) FFiles->Add(p);
  FFileName = paths.front();
  if (chosen >= 0) FFilterIndex = chosen + 1;
  return true;
}

bool TOpenDialog::Acceptable(HWND Owner, bool Save, std::vector<std::string>& Paths, const std::string& Filter) {
  const std::string caption = !FTitle.empty() ? FTitle : Save ? "Save As" : "Open";
  std::string defaultExt = FDefaultExt;
  if (!defaultExt.empty() && defaultExt.front() == '.') defaultExt.erase(0, 1);
  if (!defaultExt.empty()) {
    // The chosen filter's own extension wins over the default one.
    std::string ext = FilterExtension(Filter);
    if (ext.empty()) ext = defaultExt;
    for (std::string& p : Paths)
      if (ExtractFileExt(p).empty() && !DirectoryExists(p)) p += "." + ext;
  }
  for (const std::string& p : Paths) {
    std::string name = ExtractFileName(p);
    if ((FOptions.Contains(ofPathMustExist) || FOptions.Contains(ofFileMustExist)) &&
        !DirectoryExists(ExtractFileDir(p))) {
      MessageBox(Owner, name + "\nPath does not exist.\nCheck the path and try again.", caption, MB_OK | MB_ICONWARNING);
      return false;
    }
    if (FOptions.Contains(ofFileMustExist) && !FileExists(p)) {
      MessageBox(Owner, name + "\nFile not found.\nCheck the file name and try again.", caption, MB_OK | MB_ICONWARNING);
      return false;
    }
    if (Save && FOptions.Contains(ofOverwritePrompt) && FileExists(p) &&
        MessageBox(Owner, name + " already exists.\nDo you want to replace it?", caption,
                   MB_YESNO | MB_ICONWARNING) != IDYES)
      return false;
  }
  return true;
}

bool ShellBrowseForFolder(HWND Owner, std::string& Folder, const std::string& Title,
                          const std::string& RootFolder, UINT Flags) {
  QFileDialog dialog(OwnerWidget(Owner));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setOption(QFileDialog::ShowDirsOnly);
  dialog.setFileMode(QFileDialog::Directory);
  dialog.setWindowTitle(Q(Title));
  std::string start = Folder;
  while (!start.empty() && !DirectoryExists(start)) {
    std::string up = ExtractFileDir(ExcludeTrailingPathDelimiter(start));
    start = up == start ? std::string() : up;
  }
  if (start.empty()) start = !RootFolder.empty() ? RootFolder : QDir::homePath().toStdString();
  dialog.setDirectory(Q(start));
  bool hooked = false;
  if (Ask(dialog, Owner, "BrowseForFolder", hooked) != IDOK) return false;
  QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return false;
  std::string folder = QDir::cleanPath(chosen.first()).toStdString();
  if (!DirectoryExists(folder)) return false;
  Folder = folder;
  return true;
}

void RegisterDialogClasses() {
  static const bool done = [] {
    RegisterEnumNames<TOpenOption>(
        {"ofReadOnly", "ofOverwritePrompt", "ofHideReadOnly", "ofNoChangeDir", "ofShowHelp",
         "ofNoValidate", "ofAllowMultiSelect", "ofExtensionDifferent", "ofPathMustExist",
         "ofFileMustExist", "ofCreatePrompt", "ofShareAware", "ofNoReadOnlyReturn",
         "ofNoTestFileCreate", "ofNoNetworkButton", "ofNoLongNames", "ofOldStyleDialog",
         "ofNoDereferenceLinks", "ofEnableIncludeNotify", "ofEnableSizing", "ofDontAddToRecent",
         "ofForceShowHidden"});
    RegisterClass<TOpenDialog, TComponent>();
    RegisterClass<TSaveDialog, TOpenDialog>();
    Published<TOpenDialog>()
        .Property("DefaultExt", &TOpenDialog::DefaultExt, &TOpenDialog::SetDefaultExt)
        .Property("FileName", &TOpenDialog::FileName, &TOpenDialog::SetFileName)
        .Property("Filter", &TOpenDialog::Filter, &TOpenDialog::SetFilter)
        .Property("FilterIndex", &TOpenDialog::FilterIndex, &TOpenDialog::SetFilterIndex).Default(1)
        .Property("InitialDir", &TOpenDialog::InitialDir, &TOpenDialog::SetInitialDir)
        .Property("Options", &TOpenDialog::Options, &TOpenDialog::SetOptions)
            .Default(TOpenOptions{ofHideReadOnly, ofEnableSizing})
        .Property("Title", &TOpenDialog::Title, &TOpenDialog::SetTitle);
    return true;
  }();
  (void)done;
}
