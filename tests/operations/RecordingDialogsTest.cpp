// The recording timer and recording-without-silence dialogs driven by real input: the start that
// has passed, the zero duration, the level range checks in their order, the key filter of the
// level edits, the digits-only time edits and a conversion error after earlier values are stored.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "DialogTestUtil.h"
#include "appbase/Globals.h"
#include "operations/RecordingDialogs.h"
#include "platform/rtl/SysUtils.h"

using namespace dialogtest;

namespace {

template <class F>
std::unique_ptr<F> Shown() {
  auto form = std::make_unique<F>(nullptr);
  form->Show();
  Application->ProcessMessages();
  return form;
}

// Now stands still at a fixed moment for the life of the object.
struct FixedNow {
  explicit FixedNow(TDateTime At) { SetNowFunction([At] { return At; }); }
  ~FixedNow() { SetNowFunction({}); }
};

TEST(RecordingTimerForm, AStartThatHasPassedIsRefusedAndAZeroDurationBecomesTenSeconds) {
  const TDateTime now = EncodeDate(2026, 12, 11) + EncodeTime(23, 59, 30, 0);
  FixedNow clock(now);
  const TDateTime minute = 1.0 / MinsPerDay;
  struct Case {
    bool Automatically;
    TDateTime Start;
    TDateTime StopAfter;
    bool Accepted;
    TDateTime StoredStopAfter;
  } cases[] = {
      {true, now - minute, EncodeTime(0, 0, 5, 0), false, EncodeTime(0, 0, 5, 0)},
      // A minute ahead crosses midnight: the day comes from the date picker.
      {true, now + minute, EncodeTime(0, 0, 5, 0), true, EncodeTime(0, 0, 5, 0)},
      {false, now - minute, EncodeTime(0, 0, 0, 0), true, EncodeTime(0, 0, 10, 0)},
      {true, now + minute, EncodeTime(1, 2, 3, 0), true, EncodeTime(1, 2, 3, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(DateTimeToStr(c.Start) + (c.Automatically ? " automatically" : " manually"));
    MessageBoxes boxes;
    auto form = Shown<TRecordingTimerForm>();
    form->RadioButtonAutomatically->SetChecked(c.Automatically);
    form->RadioButtonManually->SetChecked(!c.Automatically);
    EXPECT_EQ(form->DateTimePickerAutomaticallyData->Enabled(), c.Automatically);
    form->DateTimePickerAutomaticallyData->SetDateTime(c.Start);
    form->DateTimePickerAutomaticallyTime->SetDateTime(c.Start);
    form->CheckBoxStopAfter->SetChecked(true);
    form->DateTimePickerWhenRecordingTime->SetTime(c.StopAfter);
    ClickOn(form->ButtonOK);
    EXPECT_EQ(form->ModalResult(), c.Accepted ? mrOk : mrNone);
    if (c.Accepted) {
      EXPECT_TRUE(boxes.Texts.empty());
      EXPECT_NEAR(form->StartAt(), c.Start, 1.0 / SecsPerDay);
    } else {
      EXPECT_EQ(boxes.Texts, std::vector<std::string>{"The entered starting date and time has already passed."});
      EXPECT_TRUE(form->DateTimePickerAutomaticallyTime->Focused());
    }
    const TDateTime stored = form->DateTimePickerWhenRecordingTime->Time();
    EXPECT_NEAR(stored - std::floor(stored), c.StoredStopAfter, 0.5 / SecsPerDay);
  }
}

TEST(RecordingTimerForm, ThePickersFollowTheirSwitches) {
  auto form = Shown<TRecordingTimerForm>();
  EXPECT_EQ(form->Caption(), "Recording Timer ");
  EXPECT_TRUE(form->RadioButtonManually->Checked());
  EXPECT_FALSE(form->DateTimePickerAutomaticallyTime->Enabled());
  EXPECT_FALSE(form->DateTimePickerWhenRecordingTime->Enabled());
  EXPECT_FALSE(form->LabelHours->Enabled());
  ClickOn(form->RadioButtonAutomatically);
  EXPECT_TRUE(form->DateTimePickerAutomaticallyData->Enabled());
  EXPECT_TRUE(form->DateTimePickerAutomaticallyTime->Enabled());
  ClickOn(form->CheckBoxStopAfter);
  EXPECT_TRUE(form->DateTimePickerWhenRecordingTime->Enabled());
  EXPECT_TRUE(form->LabelHours->Enabled());
  ClickOn(form->RadioButtonManually);
  EXPECT_FALSE(form->DateTimePickerAutomaticallyData->Enabled());
}

const char* const kAttack = "Attack Level must be less than 0 and more than -90. Please try again.";
const char* const kRelease = "Release Level must be less than 0 and more than -90. Please try again.";

TEST(RecordingWithoutSilenceForm, OkChecksTheAttackLevelThenTheReleaseLevel) {
  struct Case {
    const char *Attack, *Release;
    std::vector<std::string> Messages;
    const char* Focused;
  } cases[] = {
      {"0", "-90", {}, ""},
      {"-45", "-45", {}, ""},
      {"-91", "-45", {kAttack}, "EditAttackLevel"},
      {"1", "-91", {kAttack}, "EditAttackLevel"},
      {"-45", "1", {kRelease}, "EditReleaseLevel"},
      {"-45", "-91", {kRelease}, "EditReleaseLevel"},
      {"-", "-45", {"'-' is not a valid integer value."}, ""},
      {"-45", "", {"'' is not a valid integer value."}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Attack) + " / " + c.Release);
    MessageBoxes boxes;
    auto form = Shown<TRecordingWithoutSilenceForm>();
    form->EditAttackLevel->SetText(c.Attack);
    form->EditReleaseLevel->SetText(c.Release);
    ClickOn(form->ButtonOK);
    EXPECT_EQ(boxes.Texts, c.Messages);
    for (UINT type : boxes.Types) EXPECT_EQ(type & MB_ICONERROR, UINT(MB_ICONERROR));
    EXPECT_EQ(form->ModalResult(), c.Messages.empty() ? mrOk : mrNone);
    if (*c.Focused) EXPECT_TRUE(DialogComponent<TEdit>(form.get(), c.Focused)->Focused());
  }
}

TEST(RecordingWithoutSilenceForm, LevelEditsLetAMinusSignOnlyBeginANumber) {
  struct Case {
    const char* Text;
    int SelStart, SelLength;
    QString Key;
    const char* Result;
    bool Beeps;
  } cases[] = {
      {"-4", 2, 0, "5", "-45", false},   // digits pass
      {"-45", 0, 3, "-", "-", false},    // the whole text selected: replaced
      {"45", 0, 0, "-", "-45", false},   // at the start of a text without one
      {"-45", 0, 0, "-", "-45", true},   // a second minus sign
      {"45", 1, 0, "-", "45", true},     // not at the start
      {"-4", 2, 0, "a", "-4", true},     // letters
  };
  auto form = Shown<TRecordingWithoutSilenceForm>();
  for (TEdit* edit : {form->EditAttackLevel, form->EditReleaseLevel}) {
    edit->SetFocus();
    for (const Case& c : cases) {
      SCOPED_TRACE(edit->Name() + " " + c.Text + " " + c.Key.toStdString());
      edit->SetText(c.Text);
      edit->SetSelStart(c.SelStart);
      edit->SetSelLength(c.SelLength);
      const int beeps = BeepCount();
      guitest::Type(form.get(), c.Key);
      EXPECT_EQ(edit->Text(), c.Result);
      EXPECT_EQ(BeepCount() - beeps, c.Beeps ? 1 : 0);
    }
  }
}

TEST(RecordingWithoutSilenceForm, TimeEditsTakeThreeDigitsOnly) {
  auto form = Shown<TRecordingWithoutSilenceForm>();
  for (TEdit* edit : {form->EditAttackTime, form->EditReleaseTime}) {
    SCOPED_TRACE(edit->Name());
    TypeInto(edit, "-1a2345");
    EXPECT_EQ(edit->Text(), "123");
  }
}

TEST(RecordingWithoutSilenceForm, LoadAndSaveMoveTheFourValuesAndStopAtTheFirstNonNumber) {
  SetDefaultGlobalVars();
  auto form = Shown<TRecordingWithoutSilenceForm>();
  form->LoadSettings();
  EXPECT_EQ(form->EditAttackLevel->Text(), "-45");
  EXPECT_EQ(form->EditAttackTime->Text(), "100");
  EXPECT_EQ(form->EditReleaseLevel->Text(), "-45");
  EXPECT_EQ(form->EditReleaseTime->Text(), "300");
  form->EditAttackLevel->SetText("-30");
  form->EditAttackTime->SetText("50");
  form->EditReleaseLevel->SetText("-60");
  form->EditReleaseTime->SetText("");
  // The empty time edit passes OK; storing raises at it, after the three before it are stored.
  ClickOn(form->ButtonOK);
  EXPECT_EQ(form->ModalResult(), mrOk);
  EXPECT_THROW(form->SaveSettings(), EConvertError);
  EXPECT_EQ(GlobalVars.AccuAttackLevel, -30);
  EXPECT_EQ(GlobalVars.AccuAttackTime, 50);
  EXPECT_EQ(GlobalVars.AccuReleaseLevel, -60);
  EXPECT_EQ(GlobalVars.AccuReleaseTime, 300);
  SetDefaultGlobalVars();
}

}  // namespace
