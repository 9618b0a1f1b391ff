#include <gtest/gtest.h>

#include <QMimeData>
#include <QDropEvent>
#include <QUrl>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "DialogTestUtil.h"
#include "appbase/Globals.h"
#include "common/TestEnv.h"
#include "operations/BatchCommands.h"
#include "operations/BatchConverter.h"
#include "operations/ConvertSampleRate.h"
#include "operations/EffectDialogs.h"
#include "operations/Equalizer.h"

using namespace dialogtest;

namespace {

std::string Touch(const std::filesystem::path& Path) {
  std::filesystem::create_directories(Path.parent_path());
  std::ofstream(Path) << "x";
  return Path.string();
}

std::unique_ptr<TBatchConverterForm> ShownConverter() {
  SetDefaultGlobalVars();
  auto form = std::make_unique<TBatchConverterForm>(nullptr);
  form->Show();
  Application->ProcessMessages();
  return form;
}

void Update(TBatchConverterForm& Form) {
  bool handled = false;
  Form.ActionListUpdate(nullptr, handled);
}

std::vector<std::string> Rows(TListView* List) {
  std::vector<std::string> rows;
  for (int i = 0; i < List->Items()->Count(); ++i) {
    TListItem* item = List->Items()->Item(i);
    rows.push_back(item->Caption() + "|" + item->SubItems()->Strings(0));
  }
  return rows;
}

std::vector<int> SelectedRows(TListView* List) {
  std::vector<int> rows;
  for (int i = 0; i < List->Items()->Count(); ++i)
    if (List->Items()->Item(i)->Selected()) rows.push_back(i);
  return rows;
}

template <class D>
D* OwnedDialog(TComponent* Owner) {
  for (int i = 0; i < Owner->ComponentCount(); ++i)
    if (auto* d = dynamic_cast<D*>(Owner->Components(i))) return d;
  return nullptr;
}

// Adds a command through the Add Command dialog, choosing its row.
void AddCommand(TBatchConverterForm& Form, int Command) {
  Steps steps;
  steps.Later([&Form, Command] {
    Application->ProcessMessages();
    auto* dialog = OwnedDialog<TAddCommandForm>(&Form);
    ASSERT_NE(dialog, nullptr);
    dialog->ListBoxCommand->SetItemIndex(Command);
    dialog->ActionAdd->Execute();
  });
  Form.ActionAddCommandExecute(nullptr);
}

void Drop(TBatchConverterForm& Form, const std::vector<std::string>& Paths) {
  QList<QUrl> urls;
  for (const std::string& p : Paths) urls.push_back(QUrl::fromLocalFile(QString::fromStdString(p)));
  QMimeData data;
  data.setUrls(urls);
  QDropEvent e(QPointF(20, 20), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  static_cast<QObject*>(GetWindowWidget(Form.Handle()))->event(&e);
  Application->ProcessMessages();
}

TEST(BatchConverter, WizardStepsTheirTextsAndTheNextButton) {
  auto form = ShownConverter();
  EXPECT_EQ(form->Caption(), "Batch Converter");
  Update(*form);
  EXPECT_EQ(form->Step(), 0);
  EXPECT_EQ(form->LabelStep->Caption(), "Step 1:");
  EXPECT_FALSE(form->ActionNext->Enabled()) << "no files yet";
  EXPECT_FALSE(form->ActionBack->Enabled());
  form->AddFile(Touch(sonalix::test::MakeTempDir() / "a.wav"));
  Update(*form);
  EXPECT_TRUE(form->ActionNext->Enabled());
  ClickOn(form->ButtonNext);
  Update(*form);
  EXPECT_EQ(form->Step(), 1);
  EXPECT_EQ(form->LabelStepDetail->Caption(),
            "Click Add to select the commands you want to apply to files.");
  EXPECT_TRUE(form->ActionNext->Enabled()) << "an empty chain is fine";
  EXPECT_TRUE(form->ListViewCommand->Focused());
  ClickOn(form->ButtonNext);
  Update(*form);
  EXPECT_EQ(form->Step(), 2);
  EXPECT_EQ(form->ButtonNext->Caption(), "&Finish");
  EXPECT_EQ(form->LabelStepDetail->Caption(), "Select the output format and folder then click Finish.");
  EXPECT_FALSE(form->GroupBoxProcessing->Visible());
  ClickOn(form->ButtonBack);
  ClickOn(form->ButtonBack);
  Update(*form);
  EXPECT_EQ(form->Step(), 0);
  EXPECT_EQ(form->ButtonNext->Caption(), "&Next >");
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(form->PageControl->Pages(i)->TabVisible());
}

TEST(BatchConverter, FileRowsAreUniqueByExactNameAndFolder) {
  auto form = ShownConverter();
  auto dir = sonalix::test::MakeTempDir();
  const std::string a = Touch(dir / "a" / "x.wav"), upper = Touch(dir / "a" / "X.WAV"),
                    b = Touch(dir / "b" / "x.wav");
  Touch(dir / "a" / "notes.txt");
  form->AddFile(a);
  form->AddFile(a);
  form->AddFile(upper);  // another file on Linux
  form->AddFile(b);
  form->AddFile((dir / "a" / "missing.wav").string());
  form->AddFile((dir / "a" / "notes.txt").string());
  const std::string fa = (dir / "a").string() + "/", fb = (dir / "b").string() + "/";
  EXPECT_EQ(Rows(form->ListViewFiles),
            (std::vector<std::string>{"x.wav|" + fa, "X.WAV|" + fa, "x.wav|" + fb}));
  auto* record = dynamic_cast<TBatchFileItem*>(form->ListViewFiles->Items()->Item(2)->Data());
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->FileName, "x.wav");
  EXPECT_EQ(record->Folder, fb);
  EXPECT_EQ(form->ListViewFiles->Items()->Item(0)->ImageIndex(), 0);
}

TEST(BatchConverter, AFolderAddsItsSoundFilesOneLevelDeep) {
  auto form = ShownConverter();
  auto dir = sonalix::test::MakeTempDir();
  Touch(dir / "song.mp3");
  Touch(dir / "readme.txt");
  Touch(dir / "sub" / "deeper.wav");
  form->AddFolder(dir.string());  // without the trailing delimiter
  EXPECT_EQ(Rows(form->ListViewFiles), (std::vector<std::string>{"song.mp3|" + dir.string() + "/"}));
}

TEST(BatchConverter, RemovingRowsSelectsTheRowNowAtTheLowestRemovedIndex) {
  struct Case {
    std::vector<int> remove;
    int rowsLeft;
    std::vector<int> selected;
  } cases[] = {
      {{2, 5}, 4, {2}},
      {{4, 5}, 4, {3}},
      {{0, 1, 2, 3, 4, 5}, 0, {}},
  };
  auto dir = sonalix::test::MakeTempDir();
  for (const Case& c : cases) {
    auto form = ShownConverter();
    for (int i = 0; i < 6; ++i) form->AddFile(Touch(dir / ("f" + std::to_string(i) + ".wav")));
    for (int i : c.remove) form->ListViewFiles->Items()->Item(i)->SetSelected(true);
    form->ActionRemoveFilesExecute(nullptr);
    EXPECT_EQ(form->ListViewFiles->Items()->Count(), c.rowsLeft);
    EXPECT_EQ(SelectedRows(form->ListViewFiles), c.selected);
  }
}

TEST(BatchConverter, KeysActOnTheListOfTheShownStepOnly) {
  auto form = ShownConverter();
  auto dir = sonalix::test::MakeTempDir();
  for (int i = 0; i < 3; ++i) form->AddFile(Touch(dir / ("f" + std::to_string(i) + ".wav")));
  AddCommand(*form, bcAmplify);
  AddCommand(*form, bcEcho);
  form->ShowStep(1);
  form->ListViewCommand->SetFocus();
  guitest::Key(form.get(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_TRUE(SelectedRows(form->ListViewFiles).empty()) << "Ctrl+A selects files on Step 1 only";
  form->ListViewCommand->ClearSelection();
  form->ListViewCommand->Items()->Item(0)->SetSelected(true);
  guitest::Key(form.get(), Qt::Key_Delete);
  EXPECT_EQ(form->ListViewCommand->Items()->Count(), 1);
  form->ShowStep(2);
  form->ListViewCommand->Items()->Item(0)->SetSelected(true);
  form->ListViewFiles->SelectAll();
  guitest::Key(form.get(), Qt::Key_Delete);
  EXPECT_EQ(form->ListViewCommand->Items()->Count(), 1) << "Delete does nothing on Step 3";
  EXPECT_EQ(form->ListViewFiles->Items()->Count(), 3);
  form->ShowStep(0);
  form->ListViewFiles->ClearSelection();
  form->ListViewFiles->SetFocus();
  guitest::Key(form.get(), Qt::Key_A, Qt::ControlModifier);
  EXPECT_EQ(SelectedRows(form->ListViewFiles), (std::vector<int>{0, 1, 2}));
  guitest::Key(form.get(), Qt::Key_Delete);
  EXPECT_EQ(form->ListViewFiles->Items()->Count(), 0);
}

TEST(BatchConverter, TheModalWindowSeesKeysFirst) {
  SetDefaultGlobalVars();
  TBatchConverterForm form(nullptr);
  auto dir = sonalix::test::MakeTempDir();
  for (int i = 0; i < 3; ++i) form.AddFile(Touch(dir / ("f" + std::to_string(i) + ".wav")));
  int rowsLeft = -1;
  const int result = RunModal(&form, [&] {
    form.ButtonNext->SetFocus();
    guitest::Key(&form, Qt::Key_A, Qt::ControlModifier);
    guitest::Key(&form, Qt::Key_Delete);
    rowsLeft = form.ListViewFiles->Items()->Count();
    ClickOn(form.ButtonCancel);
  }, true);
  EXPECT_EQ(rowsLeft, 0) << "Ctrl+A and Delete reach the window while a button has the focus";
  EXPECT_EQ(result, mrCancel);
}

TEST(BatchConverter, OutputChoicesEnableTheirControlsAndReachTheSettingsAtOnce) {
  SetDefaultGlobalVars();
  GlobalVars.BatchFileFormatUseTheSame = false;
  GlobalVars.BatchFileFormatIndex = 2;
  GlobalVars.BatchFileSaveFolderUseTheSame = false;
  GlobalVars.BatchFileSaveFolderpath = "/music/out";
  auto form = std::make_unique<TBatchConverterForm>(nullptr);
  form->Show();
  form->ShowStep(2);
  Application->ProcessMessages();
  EXPECT_TRUE(form->RadioButtonutputFormatConvertTo->Checked());
  EXPECT_EQ(form->ComboBoxFormat->Text(), ".ogg");
  EXPECT_TRUE(form->ComboBoxFormat->Enabled());
  EXPECT_TRUE(form->EditFolder->Enabled());
  EXPECT_EQ(form->EditFolder->Text(), "/music/out");
  ClickOn(form->RadioButtonutputFormatUseTheSame);
  EXPECT_FALSE(form->ComboBoxFormat->Enabled());
  EXPECT_FALSE(form->ButtonFormatSettings->Enabled());
  EXPECT_TRUE(GlobalVars.BatchFileFormatUseTheSame) << "stored before the window closes";
  ClickOn(form->RadioButtonOutputFolderUseTheSame);
  EXPECT_FALSE(form->EditFolder->Enabled());
  EXPECT_FALSE(form->ButtonFolder->Enabled());
  EXPECT_TRUE(GlobalVars.BatchFileSaveFolderUseTheSame);
  GlobalVars.BatchFileSaveFolderpath = "changed elsewhere";
  form->Close();
  EXPECT_EQ(GlobalVars.BatchFileSaveFolderpath, "/music/out") << "the closing window stores its choices";
}

TEST(BatchConverter, DroppedFilesAndFoldersAreAddedAtAnyStepWithLongNamesWhole) {
  auto form = ShownConverter();
  form->ShowStep(1);
  auto dir = sonalix::test::MakeTempDir();
  const std::string longName = std::string(100, 'n') + ".wav";
  const std::string deep = (dir / std::string(120, 'd') / std::string(120, 'e')).string();
  const std::string longPath = Touch(std::filesystem::path(deep) / longName);
  ASSERT_GT(longPath.size(), 300u);
  const std::string one = Touch(dir / "one.ogg");
  Touch(dir / "folder" / "two.mp3");
  Touch(dir / "folder" / "three.wav");
  Drop(*form, {one, (dir / "folder").string(), longPath});
  std::vector<std::string> rows = Rows(form->ListViewFiles);
  ASSERT_EQ(rows.size(), 4u);
  EXPECT_EQ(rows[0], "one.ogg|" + dir.string() + "/");
  EXPECT_EQ(rows[3], longName + "|" + deep + "/");
  EXPECT_EQ(form->Step(), 1) << "the drop leaves the wizard where it was";
}

TEST(BatchCommandList, AddDialogNeedsARowAndAddsOneCommandWithItsSettingsText) {
  auto form = ShownConverter();
  TAddCommandForm dialog(nullptr);
  dialog.Show();
  Application->ProcessMessages();
  EXPECT_EQ(dialog.ListBoxCommand->Items()->Count(), 17);
  EXPECT_EQ(dialog.ListBoxCommand->Items()->Strings(0), "  Insert Silence At The Start");
  bool handled = false;
  dialog.ActionListUpdate(nullptr, handled);
  EXPECT_FALSE(dialog.ActionAdd->Enabled());
  dialog.ListBoxCommandDblClick(nullptr);
  EXPECT_EQ(dialog.ModalResult(), mrNone) << "a double click with no row adds nothing";
  dialog.Close();

  GlobalVars.DefAmplify = 150;
  const int commands[] = {bcEcho, bcReverb, bcConvertSampleType, bcAmplify, bcEqualizer, bcFlanger};
  GlobalVars.EqualizerBuf1 = 300;
  for (int c : commands) AddCommand(*form, c);
  EXPECT_EQ(Rows(form->ListViewCommand),
            (std::vector<std::string>{
                "Echo|Delay Time (ms) = 200, Mix Depth (%) = 70, Feedback Gain (%) = 40",
                "Reverb|Delay Time (ms) = 30, Mix Depth (%) = 60, Feedback Gain (%) = 60Reverb Gain "
                "(%) = 30, Reverb Frequency: (Hz) = 11025, Taps Before delay Feedback = 8",
                "Convert Sample Rate And Channel|Convert Sample Rate = 44100, Convert Channel = Stereo",
                "Amplify|Amplify Gain (%) = 150",
                "Equalizer|Click on Settings to view or change.",
                "Flanger|Delay Rate (%) = 14, Mix Depth (%) = 50, Feedback Gain (%) = 30, Sweep Depth "
                "(%) = 99, Sweep Rate (%) = 18, Sweep Phase (Deg) = 40"}));
  auto* eq = dynamic_cast<TBatchEqualizer*>(form->ListViewCommand->Items()->Item(4)->Data());
  ASSERT_NE(eq, nullptr);
  EXPECT_EQ(eq->Bands[0], 300);
}

TEST(BatchCommandList, SettingsEditsTheFocusedRowInTheEditorsDialog) {
  auto form = ShownConverter();
  AddCommand(*form, bcAmplify);
  AddCommand(*form, bcEcho);
  AddCommand(*form, bcConvertSampleType);
  AddCommand(*form, bcEqualizer);
  TListItems* rows = form->ListViewCommand->Items();
  // Two rows selected, the second focused: only it is edited.
  rows->Item(0)->SetSelected(true);
  rows->Item(1)->SetSelected(true);
  form->ListViewCommand->SetItemFocused(rows->Item(1));
  Steps steps;
  steps.Later([&] {
    Application->ProcessMessages();
    auto* dialog = OwnedDialog<TEchoForm>(form.get());
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(dialog->ButtonPreview()->Visible());
    EXPECT_EQ(dialog->Values(), (std::vector<int>{200, 70, 40}));
    dialog->SetValues({500, 20, 10});
    dialog->SetModalResult(mrOk);
  });
  form->ActionCommandSettingsExecute(nullptr);
  EXPECT_EQ(rows->Item(1)->SubItems()->Strings(0),
            "Delay Time (ms) = 500, Mix Depth (%) = 20, Feedback Gain (%) = 10");
  EXPECT_EQ(rows->Item(0)->SubItems()->Strings(0), "Amplify Gain (%) = 25");

  form->ListViewCommand->SetItemFocused(rows->Item(2));
  steps.Later([&] {
    Application->ProcessMessages();
    auto* dialog = OwnedDialog<TConvertSampleRateForm>(form.get());
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->ComboBoxRate->ItemIndex(), 3);
    EXPECT_EQ(dialog->GroupBoxSChannels->ItemIndex(), 1) << "stereo";
    dialog->ComboBoxRate->SetItemIndex(5);
    dialog->GroupBoxSChannels->SetItemIndex(0);
    dialog->SetModalResult(mrOk);
  });
  form->ActionCommandSettingsExecute(nullptr);
  EXPECT_EQ(rows->Item(2)->SubItems()->Strings(0),
            "Convert Sample Rate = 22050, Convert Channel = Mono");
  auto* convert = dynamic_cast<TBatchConvertSampleType*>(rows->Item(2)->Data());
  ASSERT_NE(convert, nullptr);
  EXPECT_EQ(convert->RateIndex, 5);
  EXPECT_EQ(convert->ChannelMode, 1);

  form->ListViewCommand->SetItemFocused(rows->Item(3));
  steps.Later([&] {
    Application->ProcessMessages();
    auto* dialog = OwnedDialog<TEqualizerForm>(form.get());
    ASSERT_NE(dialog, nullptr);
    std::vector<int> bands = dialog->Values();
    bands[11] = -150;
    dialog->SetValues(bands);
    dialog->SetModalResult(mrOk);
  });
  form->ActionCommandSettingsExecute(nullptr);
  EXPECT_EQ(rows->Item(3)->SubItems()->Strings(0), "Click on Settings to view or change.");
  EXPECT_EQ(dynamic_cast<TBatchEqualizer*>(rows->Item(3)->Data())->Bands[11], -150);

  // Cancel changes nothing.
  form->ListViewCommand->SetItemFocused(rows->Item(0));
  steps.Later([&] {
    Application->ProcessMessages();
    auto* dialog = OwnedDialog<TAmplifyForm>(form.get());
    ASSERT_NE(dialog, nullptr);
    dialog->SetValues({300});
    dialog->SetModalResult(mrCancel);
  });
  form->ActionCommandSettingsExecute(nullptr);
  EXPECT_EQ(rows->Item(0)->SubItems()->Strings(0), "Amplify Gain (%) = 25");
}

TEST(BatchCommandList, RemovingTheFirstTwoOfThreeLeavesTheLastSelected) {
  auto form = ShownConverter();
  for (int c : {bcAmplify, bcNormalize, bcChorus}) AddCommand(*form, c);
  form->ListViewCommand->Items()->Item(0)->SetSelected(true);
  form->ListViewCommand->Items()->Item(1)->SetSelected(true);
  form->ActionRemoveCommandExecute(nullptr);
  EXPECT_EQ(Rows(form->ListViewCommand).size(), 1u);
  EXPECT_EQ(form->ListViewCommand->Items()->Item(0)->Caption(), "Chorus");
  EXPECT_EQ(SelectedRows(form->ListViewCommand), (std::vector<int>{0}));
}

TEST(ConvertSampleRateForm, StartsAt44100StereoWithTheListedRates) {
  TConvertSampleRateForm form(nullptr);
  EXPECT_EQ(form.Caption(), "Convert Sample Rate");
  EXPECT_EQ(form.ClientWidth(), 360);
  EXPECT_EQ(form.ClientHeight(), 113);
  EXPECT_EQ(form.ComboBoxRate->Items()->Count(), 10);
  EXPECT_EQ(form.ComboBoxRate->Text(), "44100 Hz");
  EXPECT_EQ(form.ComboBoxRate->Items()->Strings(9), "6000 Hz");
  EXPECT_EQ(form.GroupBoxSChannels->Items()->Strings(form.GroupBoxSChannels->ItemIndex()), "Stereo");
  EXPECT_EQ(form.LabelSampleRate->Caption(), "");
}

}  // namespace
