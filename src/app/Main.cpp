#include "app/Main.h"

#include <QCoreApplication>
#include <filesystem>

#include "app/About.h"
#include "app/ExplorerVerb.h"
#include "app/Options.h"
#include "app/WebLinks.h"
#include "appbase/Globals.h"
#include "app/Splash.h"
#include "appbase/HtmlHelp.h"
#include "appbase/Utils.h"
#include "operations/FormatSummary.h"
#include "platform/rtl/TypInfo.h"
#include "platform/sys/ShellFolders.h"

TMainForm* MainForm = nullptr;

namespace {
const char* const kExplorerVerb = "Edit with Sonalix";
}

TMainForm::TMainForm(TComponent* AOwner) : TForm(AOwner) {
  MainForm = this;
  InitForm("TMainForm");
}

TMainForm::~TMainForm() {
  BeforeDestruction();
  Application->OnMessage = TMessageEvent();
  if (MainForm == this) MainForm = nullptr;
}

void TMainForm::FormCreate(TObject*) {
  TimerSplash = dynamic_cast<TTimer*>(FindComponent("TimerSplash"));
  // Whatever fails below, the deferred start still comes, so the splash goes and the window
  // shows.
  struct PostDeferredStart {
    HWND Window;
    ~PostDeferredStart() { PostMessage(Window, WM_DEFERRED_START, 0, 0); }
  } post{Handle()};

  Application->OnMessage = TMessageEvent::Bind(this, &TMainForm::AppMessage, "AppMessage");

  GlobalVars.DataFolder =
      AddTrailingBackslash(AddTrailingBackslash(GetShellFolder("AppData")) + "Sonalix Sound Editor5");
  std::error_code ec;
  std::filesystem::create_directories(GlobalVars.DataFolder, ec);
  GlobalVars.TempFolder = AddTrailingBackslash(TempFolder());

  SetDefaultGlobalVars();
  bool stored = false;
  try {
    stored = LoadSettings();
  } catch (...) {
    // The defaults could not be stored: the user hears of it, and the start goes on.
    Application->HandleException(this, std::current_exception());
  }
  if (!stored) {
    SetBounds((Screen->Width() - Width()) / 2, (Screen->Height() - Height()) / 2, Width(), Height());
  }
  // The verb follows the stored option, so it is applied once the settings are read.
  ApplyExplorerVerbs();

  Constraints()->SetMinWidth(740);
  Constraints()->SetMinHeight(450);
  ClipboardFilled = false;
  ClipboardLength = 0;

  SubstituteFontName(this, "Tahoma", Screen->HintFont()->Name());
  LoadFormPosition("FormPos", this);
}

void TMainForm::ApplyExplorerVerbs() {
  const std::vector<std::string> exts(std::begin(SupportedAudioExts), std::end(SupportedAudioExts));
  if (GlobalVars.OP_AddToExplorer)
    AddExplorerVerbs(Application->ExeName(), kExplorerVerb, exts);
  else
    RemoveExplorerVerbs(kExplorerVerb, exts);
}

void TMainForm::ApplyTempDirectory() {
  // Documents come with their own window; until one is open there is no editor to tell.
  if (!HasDocument()) return;
}

void TMainForm::ActionOptionsExecute(TObject*) {
  TOptionsForm dialog(this);
  CenterOverWindow(&dialog, this);
  dialog.LoadOptions();
  if (dialog.ShowModal() != mrOk) return;
  dialog.SaveOptions();
  ApplyTempDirectory();
  ApplyExplorerVerbs();
}

void TMainForm::ActionHelpExecute(TObject*) { ShowHelpTopic(Handle(), "WelcometoAPP"); }

void TMainForm::ActionAboutExecute(TObject*) {
  TAboutForm dialog(this);
  CenterOverWindow(&dialog, this);
  dialog.ShowModal();
}

void TMainForm::ActionHomePageExecute(TObject*) { OpenURL(ProductPageURL()); }
void TMainForm::ActionTechnicalSupportExecute(TObject*) { OpenURL(SupportPageURL()); }
void TMainForm::ActionRelatedSoftwareExecute(TObject*) { OpenURL(RelatedSoftwareURL()); }
void TMainForm::ActionKorvaneExecute(TObject*) { OpenURL(MakerHomeURL()); }

std::string RecentFilesPath() { return GlobalVars.DataFolder + "MRUList5.0"; }

void ClearRecentFiles() {
  // The list has no lines left to keep, so the file saved is empty.
  TStringList empty;
  empty.SaveToFile(RecentFilesPath());
}

void TMainForm::Dispatch(TMessage& Message) {
  if (Message.Msg == WM_DEFERRED_START) {
    DeferredStart();
    return;
  }
  TForm::Dispatch(Message);
}

void TMainForm::DeferredStart() {
  Show();
  if (TimerSplash) TimerSplash->SetEnabled(true);
  const QStringList args = QCoreApplication::arguments();
  if (args.size() < 2) return;
  const std::string file = args.at(1).toStdString();
  // A folder, a missing file or another kind of file is passed over without a word.
  if (OpensAtStart(file)) FStartFileName = file;
}

bool OpensAtStart(const std::string& Path) {
  return FileExists(Path) && !DirectoryExists(Path) && IsSupportedAudioExt(ExtractFileExt(Path));
}

void TMainForm::TimerSplashTimer(TObject*) {
  if (SplashForm) {
    SplashForm->Hide();
    delete SplashForm;
    SplashForm = nullptr;
  }
  if (TimerSplash) TimerSplash->SetEnabled(false);
}

void TMainForm::AppMessage(MSG&, bool&) {
  // Only messages for a document's editor are taken; without documents everything passes.
  if (!HasDocument()) return;
}

void TMainForm::FormClose(TObject*, TCloseAction&) {
  // Settings that cannot be saved are reported, but never keep the program from closing.
  try {
    SaveFormPosition("FormPos", this);
    SaveSettings();
  } catch (...) {
    Application->HandleException(this, std::current_exception());
  }
}

void TMainForm::FormDestroy(TObject*) {}

void RegisterMainClasses() {
  RegisterClass<TMainForm, TForm>();
  Published<TMainForm>()
      .Method("FormCreate", &TMainForm::FormCreate)
      .Method("FormClose", &TMainForm::FormClose)
      .Method("FormDestroy", &TMainForm::FormDestroy)
      .Method("TimerSplashTimer", &TMainForm::TimerSplashTimer)
      .Method("ActionOptionsExecute", &TMainForm::ActionOptionsExecute)
      .Method("ActionHelpExecute", &TMainForm::ActionHelpExecute)
      .Method("ActionAboutExecute", &TMainForm::ActionAboutExecute)
      .Method("ActionHomePageExecute", &TMainForm::ActionHomePageExecute)
      .Method("ActionTechnicalSupportExecute", &TMainForm::ActionTechnicalSupportExecute)
      .Method("ActionRelatedSoftwareExecute", &TMainForm::ActionRelatedSoftwareExecute)
      .Method("ActionKorvaneExecute", &TMainForm::ActionKorvaneExecute);
}
