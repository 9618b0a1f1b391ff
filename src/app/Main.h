#pragma once
// The main window: the frame every document window and command lives in. This holds its
// creation, deferred start, splash timer and closing; the commands come with their own units.

#include <string>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"

// The private message the main window posts itself at the end of its creation.
constexpr UINT WM_DEFERRED_START = WM_USER + 1;

class TMainForm : public TForm {
 public:
  explicit TMainForm(TComponent* AOwner);
  ~TMainForm() override;

  TTimer* TimerSplash = nullptr;

  bool ClipboardFilled = false;
  int ClipboardLength = 0;
  int DocumentCounter = 0;
  int SelectStartMs = 0;
  int SelectEndMs = 0;
  bool PositionUpdating = false;
  int PreviewLength = 0;
  bool PreviewPlaying = false;
  bool PreviewTransforming = false;

  void FormCreate(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void TimerSplashTimer(TObject* Sender);
  void AppMessage(MSG& Msg, bool& Handled);

  bool HasDocument() const { return false; }
  // With an active document, its editor keeps temporary files in the data folder or in the
  // working folder, as the options say.
  void ApplyTempDirectory();
  // Registers or withdraws the Explorer verb for the sixteen extensions per OP_AddToExplorer.
  void ApplyExplorerVerbs();
  // The file named on the command line that the deferred start accepted ("" when none).
  const std::string& StartFileName() const { return FStartFileName; }

  void ActionOptionsExecute(TObject* Sender);
  void ActionHelpExecute(TObject* Sender);
  void ActionAboutExecute(TObject* Sender);
  void ActionHomePageExecute(TObject* Sender);
  void ActionTechnicalSupportExecute(TObject* Sender);
  void ActionRelatedSoftwareExecute(TObject* Sender);
  void ActionKorvaneExecute(TObject* Sender);

 protected:
  void Dispatch(TMessage& Message) override;
  virtual void DeferredStart();

 private:
  std::string FStartFileName;
};

extern TMainForm* MainForm;

// Whether the deferred start opens the file named first on the command line: an existing file
// (not a folder) with an extension the editor opens.
bool OpensAtStart(const std::string& Path);

// The recent-files list file in the data folder.
std::string RecentFilesPath();
// Empties the recent-files list and saves it at once.
void ClearRecentFiles();

void RegisterMainClasses();
