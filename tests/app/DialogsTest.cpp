// The options, new-file, progress and about windows and the help pages, driven as a user would:
// real clicks on Qt's offscreen platform, modal runs answered from inside through the modal hook.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <sstream>

#include "app/About.h"
#include "app/Main.h"
#include "app/NewFile.h"
#include "app/Options.h"
#include "app/Program.h"
#include "app/Progress.h"
#include "app/WebLinks.h"
#include "appbase/Globals.h"
#include "appbase/HtmlHelp.h"
#include "appbase/Utils.h"
#include "common/TestEnv.h"
#include "operations/ConvertSampleRate.h"
#include "operations/DialogTestUtil.h"
#include "platform/sys/Modules.h"

using namespace dialogtest;
namespace fs = std::filesystem;

namespace {

// Answers the modal runs and message boxes of one test with a function of the request.
struct TAnswers {
  TModalHook Old;
  explicit TAnswers(std::function<int(const TModalRequest&)> Answer) {
    Old = SetModalHook(std::move(Answer));
  }
  ~TAnswers() { SetModalHook(Old); }
};

struct TMainWindow {
  TMainWindow() {
    RegisterAppClasses();
    CreateForm(MainForm);
  }
  ~TMainWindow() { delete MainForm; }
};

std::string ReadFile(const fs::path& Path) {
  std::ifstream in(Path);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

struct TOptionValues {
  bool Prompt, Tile, Explorer, DefFolder;
  const char* Folder;
  bool PlayOpened, PlayEdit, PlayBookmark, PlayRegion;
};

void Store(const TOptionValues& v) {
  GlobalVars.OP_PromptNewFile = v.Prompt;
  GlobalVars.OP_TileFormAfter = v.Tile;
  GlobalVars.OP_AddToExplorer = v.Explorer;
  GlobalVars.OP_UseDefFolder = v.DefFolder;
  GlobalVars.OP_WorkingFolder = v.Folder;
  GlobalVars.OP_PlayAfterOpened = v.PlayOpened;
  GlobalVars.OP_PlayAfterEdit = v.PlayEdit;
  GlobalVars.OP_PlayAfterBookmark = v.PlayBookmark;
  GlobalVars.OP_PlayAfterRegion = v.PlayRegion;
}

TEST(OptionsForm, ControlsShowEachOptionAndGiveItBack) {
  RegisterAppClasses();
  const TOptionValues cases[] = {
      {true, true, true, true, "/data/", false, false, false, false},
      {false, false, false, false, "/work/sounds", true, true, true, true},
      {true, false, true, false, "", false, true, false, true},
      {false, true, false, true, "/x", true, false, true, false},
  };
  for (const TOptionValues& c : cases) {
    SCOPED_TRACE(c.Folder);
    Store(c);
    TOptionsForm form(nullptr);
    form.LoadOptions();
    EXPECT_EQ(form.RadioButtonPrompt->Checked(), c.Prompt);
    EXPECT_EQ(form.RadioButtonUseDefault->Checked(), !c.Prompt);
    EXPECT_EQ(form.CheckBoxAutorearrange->Checked(), c.Tile);
    EXPECT_EQ(form.CheckBoxAddToExplore->Checked(), c.Explorer);
    EXPECT_EQ(form.RadioButtonUseDefaultFolder->Checked(), c.DefFolder);
    EXPECT_EQ(form.RadioButtonUseSpecifiedFolder->Checked(), !c.DefFolder);
    EXPECT_EQ(form.EditFolder->Text(), c.Folder);
    EXPECT_EQ(form.CheckBoxPlayAfterOpen->Checked(), c.PlayOpened);
    EXPECT_EQ(form.CheckBoxPlayAfterEdit->Checked(), c.PlayEdit);
    EXPECT_EQ(form.CheckBoxPlayAfterBookbark->Checked(), c.PlayBookmark);
    EXPECT_EQ(form.CheckBoxPlayAfterRegion->Checked(), c.PlayRegion);
    EXPECT_EQ(form.ButtonSetDefault->Enabled(), !c.Prompt);
    EXPECT_EQ(form.EditFolder->Enabled(), !c.DefFolder);
    EXPECT_EQ(form.ButtonFolder->Enabled(), !c.DefFolder);
    // Saving the untouched controls gives back the same options, from a cleared record.
    Store({!c.Prompt, !c.Tile, !c.Explorer, !c.DefFolder, "other", !c.PlayOpened, !c.PlayEdit,
           !c.PlayBookmark, !c.PlayRegion});
    form.SaveOptions();
    EXPECT_EQ(GlobalVars.OP_PromptNewFile, c.Prompt);
    EXPECT_EQ(GlobalVars.OP_TileFormAfter, c.Tile);
    EXPECT_EQ(GlobalVars.OP_AddToExplorer, c.Explorer);
    EXPECT_EQ(GlobalVars.OP_UseDefFolder, c.DefFolder);
    EXPECT_EQ(GlobalVars.OP_WorkingFolder, c.Folder);
    EXPECT_EQ(GlobalVars.OP_PlayAfterOpened, c.PlayOpened);
    EXPECT_EQ(GlobalVars.OP_PlayAfterEdit, c.PlayEdit);
    EXPECT_EQ(GlobalVars.OP_PlayAfterBookmark, c.PlayBookmark);
    EXPECT_EQ(GlobalVars.OP_PlayAfterRegion, c.PlayRegion);
  }
}

TEST(OptionsForm, ClickingTheRadioButtonsSwitchesWhatGoesWithThem) {
  RegisterAppClasses();
  Store({true, true, true, true, "/data/", false, false, false, false});
  TOptionsForm form(nullptr);
  form.LoadOptions();
  form.Show();
  Application->ProcessMessages();
  EXPECT_FALSE(form.ButtonSetDefault->Enabled());
  ClickOn(form.RadioButtonUseDefault);
  EXPECT_TRUE(form.RadioButtonUseDefault->Checked());
  EXPECT_TRUE(form.ButtonSetDefault->Enabled());
  ClickOn(form.RadioButtonPrompt);
  EXPECT_FALSE(form.ButtonSetDefault->Enabled());

  form.PageControl->SetActivePageIndex(1);
  Application->ProcessMessages();
  EXPECT_FALSE(form.EditFolder->Enabled());
  ClickOn(form.RadioButtonUseSpecifiedFolder);
  EXPECT_TRUE(form.EditFolder->Enabled());
  EXPECT_TRUE(form.ButtonFolder->Enabled());
  ClickOn(form.RadioButtonUseDefaultFolder);
  EXPECT_FALSE(form.EditFolder->Enabled());
  EXPECT_FALSE(form.ButtonFolder->Enabled());
}

// The folder and the default format are taken when their own dialogs end with OK, whatever
// becomes of the options dialog; its other choices wait for its OK.
TEST(OptionsForm, FolderAndDefaultFormatSurviveCancel) {
  TMainWindow main;
  const fs::path root = sonalix::test::MakeTempDir("options-folder");
  fs::create_directories(root / "chosen");
  GlobalVars.OP_WorkingFolder = (root / "old").string();
  GlobalVars.OP_DefSample = 44100;
  GlobalVars.OP_DefChannel = 2;
  GlobalVars.OP_PlayAfterEdit = false;
  struct Case {
    int OptionsAnswer;
    int ConvertIndex, ConvertChannel;  // what the user picks in the conversion dialog
    int Rate, Channels;                // what is stored afterwards
  } cases[] = {
      {mrCancel, 7, 0, 11025, 1},
      {mrCancel, 0, 1, 96000, 2},
      {mrCancel, -1, 0, 44100, 1},
      {mrOk, 9, 1, 6000, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.ConvertIndex);
    int shownRate = -1, shownChannel = -1;
    TAnswers answers([&](const TModalRequest& r) -> int {
      if (r.Kind != TModalRequest::mrDialog) return 0;
      if (r.DialogClass == "BrowseForFolder") {
        auto* d = static_cast<QFileDialog*>(r.Dialog);
        d->setDirectory(QString::fromStdString(root.string()));
        d->selectFile("chosen");
        return IDOK;
      }
      if (r.DialogClass == "TConvertSampleRateForm") {
        auto* d = static_cast<TConvertSampleRateForm*>(r.Dialog);
        shownRate = d->ComboBoxRate->ItemIndex();
        shownChannel = d->GroupBoxSChannels->ItemIndex();
        d->ComboBoxRate->SetItemIndex(c.ConvertIndex);
        d->GroupBoxSChannels->SetItemIndex(c.ConvertChannel);
        return mrOk;
      }
      auto* options = static_cast<TOptionsForm*>(r.Dialog);
      EXPECT_EQ(r.DialogClass, "TOptionsForm");
      options->CheckBoxPlayAfterEdit->SetChecked(true);
      options->ButtonFolderClick(options->ButtonFolder);
      EXPECT_EQ(options->EditFolder->Text(), (root / "chosen").string());
      options->ButtonSetDefaultClick(options->ButtonSetDefault);
      return c.OptionsAnswer;
    });
    const int oldRate = GlobalVars.OP_DefSample, oldChannels = GlobalVars.OP_DefChannel;
    MainForm->ActionOptionsExecute(nullptr);
    // The conversion dialog opened on the stored default.
    EXPECT_EQ(shownRate, ConvertRateIndex(oldRate));
    EXPECT_EQ(shownChannel, oldChannels == 1 ? 0 : 1);
    EXPECT_EQ(GlobalVars.OP_WorkingFolder, (root / "chosen").string());
    EXPECT_EQ(GlobalVars.OP_DefSample, c.Rate);
    EXPECT_EQ(GlobalVars.OP_DefChannel, c.Channels);
    EXPECT_EQ(GlobalVars.OP_PlayAfterEdit, c.OptionsAnswer == mrOk);
  }
}

TEST(OptionsForm, RatesMapToTheConversionList) {
  const std::pair<int, int> rates[] = {{96000, 0}, {44100, 3}, {22050, 5}, {6000, 9},
                                       {24000, 3}, {0, 3},     {-1, 3}};
  for (auto [rate, index] : rates) EXPECT_EQ(ConvertRateIndex(rate), index) << rate;
  const std::pair<int, int> indexes[] = {{0, 96000}, {3, 44100}, {9, 6000}, {10, 44100}, {-1, 44100}};
  for (auto [index, rate] : indexes) EXPECT_EQ(ConvertRateFromIndex(index), rate) << index;
}

TEST(OptionsForm, DeletingTheRecentListAsksFirst) {
  TMainWindow main;
  RegisterAppClasses();
  const std::pair<int, bool> answers[] = {{IDNO, false}, {IDCANCEL, false}, {IDYES, true}};
  for (auto [answer, cleared] : answers) {
    SCOPED_TRACE(answer);
    std::ofstream(RecentFilesPath()) << "/music/a.wav\n/music/b.mp3\n";
    std::vector<std::string> asked;
    std::vector<UINT> types;
    TAnswers hook([&, answer = answer](const TModalRequest& r) {
      if (r.Kind != TModalRequest::mrMessageBox) return 0;
      asked.push_back(r.Text);
      types.push_back(r.Type);
      return answer;
    });
    TOptionsForm form(nullptr);
    form.LoadOptions();
    form.ButtonDeleteRecentClick(form.ButtonDeleteRecent);
    ASSERT_EQ(asked, std::vector<std::string>{
                         "Are you sure you want to delete your recent files list?"});
    EXPECT_EQ(types[0] & 0xF0, UINT(MB_ICONQUESTION));
    EXPECT_EQ(types[0] & 0x0F, UINT(MB_YESNOCANCEL));
    EXPECT_EQ(ReadFile(RecentFilesPath()), cleared ? "" : "/music/a.wav\n/music/b.mp3\n");
  }
}

TEST(NewFileForm, ChoicesGiveTheFormatAndAreKeptOnlyWhenAskedTo) {
  RegisterAppClasses();
  struct Case {
    const char* Name;
    bool Stored;
    int StoredRate, StoredChannels;  // DefNewFileSampleRate, DefNewFileChannels before
    int ShownRate;                   // list entry the dialog opens on
    bool ShownMono;
    int PickRate;  // the user's choice, -1 to leave it
    bool PickMono;
    int Answer;
    bool Result;
    int Rate, Channels;                          // what the caller gets
    int AfterRate, AfterChannels;                // the stored choice afterwards
  } cases[] = {
      {"stored choice, changed", true, 7, 1, 7, true, 2, false, mrOk, true, 48000, 2, 2, 0},
      {"stored choice, kept", true, 0, 0, 0, false, -1, false, mrOk, true, 96000, 2, 0, 0},
      {"stored last entry, mono", true, 11, 1, 11, true, -1, true, mrOk, true, 6000, 1, 11, 1},
      {"damaged stored rate", true, 200, 0, 3, false, -1, false, mrOk, true, 44100, 2, 3, 0},
      {"stored choice, cancelled", true, 7, 1, 7, true, 0, false, mrCancel, false, 0, 0, 7, 1},
      {"preselection", false, 7, 1, 3, false, 10, true, mrOk, true, 8000, 1, 7, 1},
      {"preselection, cancelled", false, 7, 1, 3, false, 1, true, mrCancel, false, 0, 0, 7, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    GlobalVars.DefNewFileSampleRate = uint8_t(c.StoredRate);
    GlobalVars.DefNewFileChannels = uint8_t(c.StoredChannels);
    TAnswers hook([&](const TModalRequest& r) {
      if (r.Kind != TModalRequest::mrDialog) return 0;
      auto* d = static_cast<TNewFileForm*>(r.Dialog);
      EXPECT_EQ(d->cbSampleRate->ItemIndex(), c.ShownRate);
      EXPECT_EQ(d->rbMono->Checked(), c.ShownMono);
      EXPECT_EQ(d->rbStereo->Checked(), !c.ShownMono);
      if (c.PickRate >= 0) d->cbSampleRate->SetItemIndex(c.PickRate);
      (c.PickMono ? d->rbMono : d->rbStereo)->SetChecked(true);
      return c.Answer;
    });
    int rate = 0, channels = 0;
    EXPECT_EQ(AskNewFileFormat(nullptr, c.Stored, rate, channels), c.Result);
    EXPECT_EQ(rate, c.Rate);
    EXPECT_EQ(channels, c.Channels);
    EXPECT_EQ(GlobalVars.DefNewFileSampleRate, c.AfterRate);
    EXPECT_EQ(GlobalVars.DefNewFileChannels, c.AfterChannels);
  }
}

TEST(NewFileForm, ListsTheRatesAndChannelsAsTheUserReadsThem) {
  RegisterAppClasses();
  TNewFileForm form(nullptr);
  EXPECT_EQ(form.Caption(), "New Sample");
  ASSERT_EQ(form.cbSampleRate->Items()->Count(), 12);
  EXPECT_EQ(form.cbSampleRate->Items()->Strings(0), "96,000");
  EXPECT_EQ(form.cbSampleRate->Items()->Strings(3), "44,100");
  EXPECT_EQ(form.cbSampleRate->Items()->Strings(11), "6,000");
  form.Show();
  Application->ProcessMessages();
  ClickOn(form.rbMono);
  EXPECT_TRUE(form.rbMono->Checked());
  EXPECT_FALSE(form.rbStereo->Checked());
}

TEST(FormProgress, RepeatedBlockEventsKeepOneWindowAndMoveItsBar) {
  RegisterAppClasses();
  TForm over(nullptr);
  over.SetBounds(100, 50, 801, 600);
  CreateForm(FormProgress);
  EXPECT_FALSE(FormProgress->Visible());
  const int formsBefore = Screen->FormCount();
  for (int percent : {0, 10, 55, 100}) {
    FormProgress->ShowProgress(&over, percent);
    EXPECT_TRUE(FormProgress->Visible());
    EXPECT_EQ(FormProgress->ProgressBar->Position(), percent);
    EXPECT_EQ(Screen->FormCount(), formsBefore);
    EXPECT_EQ(FormProgress->Width(), 300);
    EXPECT_EQ(FormProgress->Height(), 115);
    EXPECT_EQ(FormProgress->Left(), 100 + (801 - 300) / 2);
    EXPECT_EQ(FormProgress->Top(), 50 + (600 - 115) / 2);
    EXPECT_EQ(FormProgress->BorderStyle(), bsSingle);
  }
  FormProgress->EndProgress();
  EXPECT_FALSE(FormProgress->Visible());
  EXPECT_EQ(FormProgress->Width(), 0);
  EXPECT_EQ(FormProgress->Height(), 0);
  EXPECT_EQ(FormProgress->BorderStyle(), bsNone);
  FormProgress->EndProgress();
  EXPECT_FALSE(FormProgress->Visible());
  // The next operation brings the same window back.
  FormProgress->ShowProgress(&over, 5);
  EXPECT_TRUE(FormProgress->Visible());
  EXPECT_EQ(FormProgress->Width(), 300);
  delete FormProgress;
  FormProgress = nullptr;
}

TEST(AboutForm, VersionComesFromTheFileBesideTheProgram) {
  const fs::path dir = sonalix::test::MakeTempDir("about");
  std::ofstream(dir / "with.ini") << "[SYSTEM]\nVersion=5.0.3\n";
  std::ofstream(dir / "other.ini") << "[OTHER]\nVersion=9\n";
  const std::pair<const char*, const char*> cases[] = {
      {"with.ini", "Sonalix Sound Editor v5.0.3"},
      {"other.ini", "Sonalix Sound Editor v"},
      {"missing.ini", "Sonalix Sound Editor v"},
  };
  for (auto [file, text] : cases)
    EXPECT_EQ(AboutVersionText("Sonalix Sound Editor", (dir / file).string()), text) << file;
  // The build writes the program's own version beside it.
  EXPECT_EQ(AboutVersionText("Sonalix Sound Editor", SONALIX_BINARY_DIR "/lame.dll"),
            "Sonalix Sound Editor v5.0");

  RegisterAppClasses();
  Application->SetTitle("Sonalix Sound Editor");
  TAboutForm about(nullptr);
  about.Show();
  EXPECT_EQ(about.Caption(), "Sonalix");
  EXPECT_EQ(about.LabelVersion->Caption(),
            AboutVersionText("Sonalix Sound Editor", VersionFilePath()));
  EXPECT_EQ(about.LabelWEB->Caption(), ProductPageURL());
  EXPECT_EQ(ProductPageURL(), std::string(kWebHost) + "/sonalix/");
}

TEST(HelpPages, EveryTopicOfTheseWindowsHasAPageAndAMissingOneIsNamed) {
  for (const char* topic : {"WelcometoAPP", "APPOptions", "CreateOpenandSaveaudiofiles"}) {
    SCOPED_TRACE(topic);
    const std::string file = HelpPageFile(HelpTopicTarget(topic));
    ASSERT_FALSE(file.empty());
    EXPECT_NE(ReadFile(file).find("</h1>"), std::string::npos);
  }
  // The program's own viewer (called directly: the help routine binds only once per run)
  // answers a topic without a page with a message naming it.
  using TViewer = HWND (*)(HWND, const char*, unsigned, uintptr_t);
  auto viewer = GetProcAddressAs<TViewer>(LoadLibrary(AddTrailingBackslash(GetSystemDir()) + "HHCTRL.OCX"), "HtmlHelpA");
  ASSERT_TRUE(viewer);
  std::vector<std::string> texts;
  TAnswers hook([&](const TModalRequest& r) {
    if (r.Kind == TModalRequest::mrMessageBox) texts.push_back(r.Text + "|" + r.Caption);
    return IDOK;
  });
  Application->SetTitle("Sonalix Sound Editor");
  viewer(nullptr, HelpTopicTarget("NoSuchTopic").c_str(), HH_DISPLAY_TOPIC, 0);
  EXPECT_EQ(texts, std::vector<std::string>{
                       "There is no help page for the topic \"nosuchtopic\".|Sonalix Sound Editor"});
}

TEST(HelpPages, HelpButtonsAskForTheirTopics) {
  RegisterAppClasses();
  TModuleTableGuard guard;
  static std::vector<std::string> targets;
  targets.clear();
  SetModuleEntryAs("HHCTRL.OCX", "HtmlHelpA", +[](HWND owner, const char* file, unsigned, uintptr_t) {
    if (file) targets.push_back(file);
    return owner;
  });
  TOptionsForm options(nullptr);
  options.ButtonHelpClick(options.ButtonHelp);
  TNewFileForm newFile(nullptr);
  newFile.ButtonHelpClick(newFile.ButtonHelp);
  EXPECT_EQ(targets, (std::vector<std::string>{HelpTopicTarget("appoptions"),
                                               HelpTopicTarget("createopenandsaveaudiofiles")}));
}

}  // namespace
