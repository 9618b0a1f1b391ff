#include <gtest/gtest.h>

#include <QComboBox>
#include <memory>
#include <string>
#include <vector>

#include "DialogTestUtil.h"
#include "Imports/AudioEditorControl.h"
#include "appbase/HtmlHelp.h"
#include "operations/SmallEditDialogs.h"
#include "platform/sys/Modules.h"

using namespace dialogtest;

namespace {

const char* const kMixMessage = "Mix Volume must be less than 100%. Please try again.";

template <class F>
std::unique_ptr<F> Shown() {
  auto form = std::make_unique<F>(nullptr);
  form->Show();
  Application->ProcessMessages();
  return form;
}

TEST(PasteMixForm, OkChecksTheLevelsInOrderAndKeepsTheDialogOnTheOffendingEdit) {
  struct Case {
    const char* select;
    const char* buffer;
    std::vector<std::string> messages;
    const char* focused;  // the edit with the focus afterwards, "" when the dialog ended
  } cases[] = {
      {"100", "100", {}, ""},
      {"0", "0", {}, ""},
      {"101", "100", {kMixMessage}, "EditSelectPart"},
      {"100", "101", {kMixMessage}, "EditAudioInBuffer"},
      {"999", "101", {kMixMessage}, "EditSelectPart"},
      {"101", "", {kMixMessage}, "EditSelectPart"},
      {"", "100", {"'' is not a valid integer value."}, ""},
      {"50", "", {"'' is not a valid integer value."}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.select) + " / " + c.buffer);
    MessageBoxes boxes;
    auto form = Shown<TPasteMixForm>();
    form->EditSelectPart->SetText(c.select);
    form->EditAudioInBuffer->SetText(c.buffer);
    ClickOn(form->btnOK);
    EXPECT_EQ(boxes.Texts, c.messages);
    for (UINT type : boxes.Types) EXPECT_EQ(type & MB_ICONERROR, UINT(MB_ICONERROR));
    const bool accepted = c.messages.empty();
    EXPECT_EQ(form->ModalResult(), accepted ? mrOk : mrNone);
    if (*c.focused) {
      EXPECT_TRUE(DialogComponent<TEdit>(form.get(), c.focused)->Focused());
    }
  }
}

TEST(PasteMixForm, LevelsTakeThreeDigitsOnlyAndTheRadioButtonsExcludeEachOther) {
  auto form = Shown<TPasteMixForm>();
  const int beeps = BeepCount();
  TypeInto(form->EditSelectPart, "7a5-12");
  EXPECT_EQ(form->EditSelectPart->Text(), "751");
  EXPECT_GT(BeepCount(), beeps);
  EXPECT_TRUE(form->RadioButtonIncreaseSelection->Checked());
  ClickOn(form->RadioButtonInsertSilence);
  EXPECT_TRUE(form->RadioButtonInsertSilence->Checked());
  EXPECT_FALSE(form->RadioButtonIncreaseSelection->Checked());
  // The caller disables the first choice for an empty document.
  form->RadioButtonIncreaseSelection->SetEnabled(false);
  ClickOn(form->RadioButtonIncreaseSelection);
  EXPECT_TRUE(form->RadioButtonInsertSilence->Checked());
}

TEST(PasteMixForm, HelpOpensTheEditingPage) {
  TModuleTableGuard guard;
  static std::vector<std::string> targets;
  targets.clear();
  SetModuleEntryAs("HHCTRL.OCX", "HtmlHelpA",
                   +[](HWND owner, const char* file, unsigned, uintptr_t) {
                     if (file) targets.push_back(file);
                     return owner;
                   });
  auto form = Shown<TPasteMixForm>();
  ClickOn(form->btnHelp);
  ASSERT_EQ(targets.size(), 1u);
  EXPECT_EQ(targets[0], HelpTopicTarget("editing"));
  EXPECT_EQ(form->ModalResult(), mrNone);
  EXPECT_FALSE(HelpPageFile(targets[0]).empty()) << "the page is among the program's help pages";
}

TEST(SmallEditDialogs, EditsTakeOnlyAsManyDigitsAsTheirValuesNeed) {
  auto repeat = Shown<TRepeatLoopForm>();
  EXPECT_EQ(repeat->EditRepeatTimes->Text(), "1");
  TypeInto(repeat->EditRepeatTimes, "x23");
  EXPECT_EQ(repeat->EditRepeatTimes->Text(), "2");

  auto silence = Shown<TInsertSilenceForm>();
  EXPECT_EQ(silence->EditSilenceTime->Text(), "0");
  TypeInto(silence->EditSilenceTime, "99.9999999");
  EXPECT_EQ(silence->EditSilenceTime->Text(), "999999");

  auto tags = Shown<TEditID3Form>();
  TypeInto(tags->EditYear, "19a99x1234");
  EXPECT_EQ(tags->EditYear->Text(), "199912");
  TypeInto(tags->EditTitle, "Intro 2");
  EXPECT_EQ(tags->EditTitle->Text(), "Intro 2") << "other edits take any text";
}

TEST(SmallEditDialogs, OkAndCancelEndTheDialogs) {
  auto repeat = Shown<TRepeatLoopForm>();
  ClickOn(repeat->ButtonOK);
  EXPECT_EQ(repeat->ModalResult(), mrOk);
  auto silence = Shown<TInsertSilenceForm>();
  ClickOn(silence->ButtonCancel);
  EXPECT_EQ(silence->ModalResult(), mrCancel);
  auto mix = Shown<TPasteMixForm>();
  ClickOn(mix->btnCancel);
  EXPECT_EQ(mix->ModalResult(), mrCancel);
}

TEST(EditID3Form, TheEditorsGenreNamesFillTheListAndTheFilesGenreIsSelected) {
  TAudioEditor2 editor(nullptr);
  editor.NewDocument(44100, 2);
  IAudioEditor2FileInfo* info = editor.FileInfo();
  info->SetGenreIndex(17);
  auto form = std::make_unique<TEditID3Form>(nullptr);
  EXPECT_EQ(form->ComboBoxGenre->Items()->Count(), 0);
  for (int i = 0; i < 148; ++i) {
    std::string name;
    info->GenreName(i, name);
    form->ComboBoxGenre->Items()->Add(name);
  }
  form->ComboBoxGenre->SetItemIndex(info->GenreIndex());
  form->Show();
  Application->ProcessMessages();
  EXPECT_EQ(form->ComboBoxGenre->Text(), "Rock");
  auto* widget = qobject_cast<QComboBox*>(form->ComboBoxGenre->Widget());
  ASSERT_TRUE(widget);
  EXPECT_EQ(widget->count(), 148);
  EXPECT_EQ(widget->currentText(), "Rock");
  EXPECT_EQ(widget->itemText(0), "Blues");
  EXPECT_FALSE(widget->itemText(147).isEmpty());
  // A genre picked by key comes back to the caller.
  ClickOn(form->ComboBoxGenre);
  form->ComboBoxGenre->SetDroppedDown(false);
  guitest::Key(form.get(), Qt::Key_Down);
  EXPECT_EQ(form->ComboBoxGenre->ItemIndex(), 18);
}

}  // namespace
