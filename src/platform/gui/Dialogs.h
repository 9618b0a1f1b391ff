#pragma once
// Common dialogs on Qt's own file dialog (never the desktop's, so every desktop behaves alike):
// opening files, saving a file, and choosing a folder.
//
// Each first asks the modal hook (TModalRequest::mrDialog, DialogClass "TOpenDialog",
// "TSaveDialog" or "BrowseForFolder", Dialog = the QFileDialog about to show). The hook may act
// on that dialog (choose a filter, select or type names) and answer IDOK to take what it holds
// or IDCANCEL. Without an answer on the offscreen platform the dialog is cancelled.

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/win/Windows.h"

class TStringList;
class QFileDialog;

enum class TOpenOption {
  ofReadOnly, ofOverwritePrompt, ofHideReadOnly, ofNoChangeDir, ofShowHelp, ofNoValidate,
  ofAllowMultiSelect, ofExtensionDifferent, ofPathMustExist, ofFileMustExist, ofCreatePrompt,
  ofShareAware, ofNoReadOnlyReturn, ofNoTestFileCreate, ofNoNetworkButton, ofNoLongNames,
  ofOldStyleDialog, ofNoDereferenceLinks, ofEnableIncludeNotify, ofEnableSizing,
  ofDontAddToRecent, ofForceShowHidden
};
using enum TOpenOption;
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TComponent {
 public:
  explicit TOpenDialog(TComponent* AOwner);
  ~TOpenDialog() override;

  // "description|patterns|description|patterns...", patterns separated by ";" ("*.wav;*.mp3").
  const std::string& Filter() const { return FFilter; }
  void SetFilter(const std::string& Value) { FFilter = Value; }
  // 1-based; after Execute the filter the user left chosen.
  int FilterIndex() const { return FFilterIndex; }
  void SetFilterIndex(int Value) { FFilterIndex = Value; }
  const std::string& InitialDir() const { return FInitialDir; }
  void SetInitialDir(const std::string& Value) { FInitialDir = Value; }
  // The name offered at the start; after Execute the (first) chosen path.
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& Value) { FFileName = Value; }
  // Every chosen path, in the order the user gave them.
  TStrings* Files() const;
  // Added (without its dot) to a name typed without an extension.
  const std::string& DefaultExt() const { return FDefaultExt; }
  void SetDefaultExt(const std::string& Value) { FDefaultExt = Value; }
  TOpenOptions Options() const { return FOptions; }
  void SetOptions(TOpenOptions Value) { FOptions = Value; }
  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value) { FTitle = Value; }

  // True when the user chose; FileName, Files and FilterIndex then hold the choice.
  virtual bool Execute();
  bool Execute(HWND ParentWnd) { return Run(ParentWnd, false); }

 protected:
  bool Run(HWND ParentWnd, bool Save);
  // Which window the dialog belongs to when none is given.
  static HWND DefaultOwner();

 private:
  // The chosen paths are fine (they exist when they must, overwriting was accepted).
  bool Acceptable(HWND Owner, bool Save, std::vector<std::string>& Paths, const std::string& Filter);
  std::string FFilter;
  int FFilterIndex = 1;
  std::string FInitialDir;
  std::string FFileName;
  std::unique_ptr<TStringList> FFiles;
  std::string FDefaultExt;
  TOpenOptions FOptions{ofHideReadOnly, ofEnableSizing};
  std::string FTitle;
};

class TSaveDialog : public TOpenDialog {
 public:
  using TOpenDialog::TOpenDialog;
  bool Execute() override;
};

// Qt's name filters for a filter text: each description followed by its patterns in the form
// Qt reads ("Wave (*.wav) (*.wav)"); the dialog shows only the descriptions.
std::vector<std::string> FilterToNameFilters(const std::string& Filter);

// The folder picker: Title above the folders, starting on Folder, limited to RootFolder and
// below when one is given. On OK, Folder becomes the chosen folder and the result is true.
// Flags are the shell's (1: file-system folders only, which Qt's dialog always is).
bool ShellBrowseForFolder(HWND Owner, std::string& Folder, const std::string& Title,
                          const std::string& RootFolder, UINT Flags);

// Registers the dialogs for stored descriptions.
void RegisterDialogClasses();
