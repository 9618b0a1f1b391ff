// The effect dialogs driven by real input: edits that turn red and are put right on leaving, the
// threshold key filter, the range checks of the single edits, OK and Enter, the equalizer's level
// labels, the preview's states against a recording host, and Help.
#include <QString>

#include "EffectTestUtil.h"
#include "appbase/HtmlHelp.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Modules.h"

namespace {

using namespace effecttest;

using EffectDialogs = EffectDialogTest;

TEST_F(EffectDialogs, EchoDelayOutOfRangeTurnsRedAndLeavingPutsItRight) {
  auto form = Open("TEchoForm");
  TEdit* delay = form->Edit(0);
  TImageSlider* slider = form->ImageSlider(0);
  ASSERT_EQ(slider->Value(), 200);
  TypeInto(delay, "6000");
  EXPECT_EQ(delay->Text(), "6000");
  EXPECT_EQ(delay->Font()->Color(), clRed);
  EXPECT_EQ(slider->Value(), 600) << "the last number in range typed on the way";
  guitest::Key(form.get(), Qt::Key_Tab);
  EXPECT_EQ(delay->Text(), "5000");
  EXPECT_EQ(slider->Value(), 5000);
  EXPECT_EQ(delay->Font()->Color(), clWindowText);

  // Emptied: red, then "0" on leaving.
  delay->SetFocus();
  delay->SelectAll();
  guitest::Key(form.get(), Qt::Key_Delete);
  EXPECT_EQ(delay->Text(), "");
  EXPECT_EQ(delay->Font()->Color(), clRed);
  guitest::Key(form.get(), Qt::Key_Tab);
  EXPECT_EQ(delay->Text(), "0");
  EXPECT_EQ(slider->Value(), 0);
  EXPECT_TRUE(Messages.empty());

  // Moving the slider writes the edit.
  slider->SetValue(1234);
  EXPECT_EQ(delay->Text(), "1234");
  // The number-only style given when the dialog showed refuses letters with a beep.
  const int beeps = BeepCount();
  TypeInto(delay, "12a");
  EXPECT_EQ(delay->Text(), "12");
  EXPECT_EQ(BeepCount(), beeps + 1);
}

// Values the slider reaches show whole, and typing takes as many digits as they have.
TEST_F(EffectDialogs, LongValuesShowWholeAndCanBeTypedBack) {
  struct Case {
    const char* Class;
    size_t Param;
    int Max;
    const char* Typed;
  };
  const Case cases[] = {{"TReverbForm", 4, 22500, "11025"}, {"TNoiseReductionForm", 2, 1000, "1000"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Class);
    auto form = Open(c.Class);
    form->ImageSlider(c.Param)->SetValue(c.Max);
    EXPECT_EQ(form->Edit(c.Param)->Text(), IntToStr(c.Max));
    EXPECT_EQ(form->ImageSlider(c.Param)->Value(), c.Max);
    TypeInto(form->Edit(c.Param), QString(c.Typed) + "7");
    EXPECT_EQ(form->Edit(c.Param)->Text(), c.Typed);
    EXPECT_EQ(form->ImageSlider(c.Param)->Value(), StrToInt(c.Typed));
  }
}

TEST_F(EffectDialogs, EmptyingAStrictEditShowsTheConversionErrorAndKeepsTheSlider) {
  auto form = Open("TEchoForm");
  TEdit* mix = form->Edit(1);
  mix->SetFocus();
  mix->SelectAll();
  guitest::Key(form.get(), Qt::Key_Delete);
  EXPECT_EQ(Messages, (std::vector<std::string>{"'' is not a valid integer value."}));
  EXPECT_EQ(form->ImageSlider(1)->Value(), 70);
  EXPECT_EQ(mix->Font()->Color(), clWindowText);
  // Out of range it turns red like the tolerant edit and is clamped on leaving.
  guitest::Type(form.get(), "150");
  EXPECT_EQ(mix->Font()->Color(), clRed);
  EXPECT_EQ(form->ImageSlider(1)->Value(), 15);
  guitest::Key(form.get(), Qt::Key_Tab);
  EXPECT_EQ(mix->Text(), "100");
  EXPECT_EQ(form->ImageSlider(1)->Value(), 100);
}

TEST_F(EffectDialogs, EnterClampsTheFocusedEditThenClosesWithOK) {
  auto form = Open("TEchoForm");
  TypeInto(form->Edit(0), "9999");
  EXPECT_EQ(form->ModalResult(), mrNone);
  guitest::Key(form.get(), Qt::Key_Return);
  EXPECT_EQ(form->Edit(0)->Text(), "5000");
  EXPECT_EQ(form->ImageSlider(0)->Value(), 5000);
  EXPECT_TRUE(form->ButtonOK()->Focused());
  EXPECT_EQ(form->ModalResult(), mrOk);
}

TEST_F(EffectDialogs, MixStereoEnterClosesWithoutTheExitHandler) {
  auto form = Open("TMixStereoForm");
  TypeInto(form->Edit(0), "150");
  guitest::Key(form.get(), Qt::Key_Return);
  EXPECT_EQ(form->ModalResult(), mrOk);
  EXPECT_EQ(form->Edit(0)->Text(), "150");
  EXPECT_EQ(form->Edit(0)->Font()->Color(), clRed);
  EXPECT_EQ(form->ImageSlider(0)->Value(), 15);
}

TEST_F(EffectDialogs, ThresholdKeyFilter) {
  struct Case {
    const char* Text;
    int SelStart, SelLength;
    QString Key;
    const char* Result;
    bool Beeps;
  };
  const Case cases[] = {
      {"-10", 3, 0, "5", "-105", false},   // digits pass
      {"-10", 3, 0, ".", "-10.", false},   // so does the point
      {"-10", 0, 3, "-", "-", false},      // "-" over the whole text
      {"10", 0, 0, "-", "-10", false},     // "-" at the very start
      {"-10", 0, 0, "-", "-10", true},     // a second "-"
      {"10", 1, 0, "-", "10", true},       // the caret inside the text
      {"10", 2, 0, "-", "10", true},       // ... or at its end
      {"-10", 3, 0, "a", "-10", true},     // a letter
  };
  auto form = Open("TDynamicRangeCompressorForm");
  TEdit* threshold = form->Edit(0);
  threshold->SetFocus();
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Text) + " " + c.Key.toStdString());
    threshold->SetText(c.Text);
    threshold->SetSelStart(c.SelStart);
    threshold->SetSelLength(c.SelLength);
    const int beeps = BeepCount();
    guitest::Type(form.get(), c.Key);
    EXPECT_EQ(threshold->Text(), c.Result);
    EXPECT_EQ(BeepCount() - beeps, c.Beeps ? 1 : 0);
  }
  // Backspace passes; "." makes no number, so the edit is red.
  threshold->SetText("-10.");
  EXPECT_EQ(threshold->Font()->Color(), clRed);
  threshold->SetSelStart(4);
  guitest::Key(form.get(), Qt::Key_Backspace);
  EXPECT_EQ(threshold->Text(), "-10");
  EXPECT_EQ(threshold->Font()->Color(), clWindowText);
  EXPECT_EQ(form->ImageSlider(0)->Value(), -10);
  EXPECT_TRUE(Messages.empty());
}

TEST_F(EffectDialogs, SingleEditRangesOnLeavingAndOnOK) {
  const std::string pitch = "Pitch Change Percent must be less than 300 and more than 10. Please try again.";
  const std::string speed = "Speed Change Percent must be less than 300. Please try again.";
  const std::string normalize = "Normailze Peak Level must be less than 100%. Please try again.";
  struct Case {
    const char* Class;
    const char* Text;
    std::string Message;  // "" when taken
    bool ChecksOnExit;
  };
  const Case cases[] = {
      {"TPitchChangeForm", "9", pitch, true},     {"TPitchChangeForm", "301", pitch, true},
      {"TPitchChangeForm", "10", "", true},       {"TPitchChangeForm", "300", "", true},
      {"TSpeedChangeForm", "301", speed, true},   {"TSpeedChangeForm", "0", "", true},
      {"TSpeedChangeForm", "300", "", true},      {"TNormalizeForm", "101", normalize, false},
      {"TNormalizeForm", "100", "", false},       {"TAmplifyForm", "999", "", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.Class) + " " + c.Text);
    auto form = Open(c.Class);
    TEdit* edit = form->Edit(0);
    // Leaving the edit for the preset list.
    TypeInto(edit, c.Text);
    Messages.clear();
    form->ComboBoxPreset()->SetFocus();
    const bool refused = !c.Message.empty();
    EXPECT_EQ(Messages, refused && c.ChecksOnExit ? std::vector<std::string>{c.Message}
                                                  : std::vector<std::string>{});
    EXPECT_EQ(edit->Focused(), refused && c.ChecksOnExit);
    // Enter in the edit clicks OK: one message at most, and the dialog stays open when refused.
    edit->SetFocus();
    Messages.clear();
    guitest::Key(form.get(), Qt::Key_Return);
    EXPECT_EQ(Messages, refused ? std::vector<std::string>{c.Message} : std::vector<std::string>{});
    EXPECT_EQ(form->ModalResult(), refused ? mrNone : mrOk);
    // Amplify's OK only closes; the checked dialogs' OK takes the focus first.
    EXPECT_EQ(edit->Focused(), refused || std::string(c.Class) == "TAmplifyForm");
    EXPECT_EQ(edit->Text(), c.Text);
  }
}

TEST_F(EffectDialogs, EqualizerLevelLabelsAndTheOctaveNotchPreset) {
  auto form = Open<TEqualizerForm>("TEqualizerForm");
  auto bands = [&] { return form->Values(); };
  guitest::DoubleClick(form.get(), Centre(Find<TLabel>(form.get(), "Label18dB2")));
  EXPECT_EQ(bands(), std::vector<int>(12, -180));
  guitest::DoubleClick(form.get(), Centre(Find<TLabel>(form.get(), "Label18dB")));
  EXPECT_EQ(bands(), std::vector<int>(12, 180));
  guitest::DoubleClick(form.get(), Centre(Find<TLabel>(form.get(), "Label10dB")));
  EXPECT_EQ(bands(), std::vector<int>(12, 0));
  // The highest value stands at the top.
  EXPECT_LT(form->ImageSlider(0)->OffsetFromValue(180), form->ImageSlider(0)->OffsetFromValue(-180));

  TComboBox* list = form->ComboBoxPreset();
  list->SetItemIndex(list->Items()->IndexOf("Notch Every 2nd Octave"));
  form->ComboBoxPresetChange(list);
  EXPECT_EQ(bands(), (std::vector<int>{-180, 90, -180, 90, -180, 90, -180, 90, -180, 90, -180, 90}));
  form->SaveParams();
  EXPECT_EQ(GlobalVars.PreviewOperationTypes, 4);
  EXPECT_EQ(GlobalVars.EqualizerBuf1, -180);
  EXPECT_EQ(GlobalVars.EqualizerBuf12, 90);
}

TEST_F(EffectDialogs, PreviewRunsThroughItsStates) {
  TFakeHost host;
  host.Playing = true;  // left over from an earlier dialog
  auto form = Open("TEchoForm", &host);
  EXPECT_EQ(host.Log, (std::vector<std::string>{"clear"}));
  EXPECT_FALSE(host.Playing);
  TButton* preview = form->ButtonPreview();
  ASSERT_TRUE(preview->Visible());
  EXPECT_FALSE(form->TimerMonitor()->Enabled());

  bool disabledDuringStart = false, timerOffDuringStart = false;
  host.OnStart = [&] {
    disabledDuringStart = !form->ButtonOK()->Enabled() && !form->ImageSlider(0)->Enabled() &&
                          form->Edit(0)->ReadOnly() && form->Edit(0)->Enabled() && preview->Caption() == "&Stop";
    timerOffDuringStart = !form->TimerMonitor()->Enabled();
    host.Playing = true;
    host.Transforming = true;
  };
  form->ImageSlider(0)->SetValue(321);
  ClickOn(preview);
  EXPECT_EQ(host.Log.back(), "start 5");
  EXPECT_TRUE(disabledDuringStart);
  EXPECT_TRUE(timerOffDuringStart);
  EXPECT_TRUE(form->TimerMonitor()->Enabled());
  EXPECT_EQ(GlobalVars.DefEchoDelayTime, 321);
  EXPECT_EQ(GlobalVars.PreviewOperationTypes, 5);

  // Still transforming: nothing changes.
  Tick();
  EXPECT_FALSE(form->ButtonOK()->Enabled());
  EXPECT_TRUE(form->Edit(0)->ReadOnly());
  EXPECT_EQ(preview->Caption(), "&Stop");
  // Playing: the controls come back, the button still stops.
  host.Transforming = false;
  Tick();
  EXPECT_TRUE(form->ButtonOK()->Enabled());
  EXPECT_TRUE(preview->Enabled());
  EXPECT_FALSE(form->Edit(0)->ReadOnly());
  EXPECT_EQ(preview->Caption(), "&Stop");
  EXPECT_TRUE(form->TimerMonitor()->Enabled());
  // The end of playing: "&Preview" and the timer stops.
  host.Playing = false;
  Tick();
  EXPECT_EQ(preview->Caption(), "&Preview");
  EXPECT_FALSE(form->TimerMonitor()->Enabled());

  // "&Stop" stops the host.
  host.OnStart = [&] { host.Playing = true; };
  ClickOn(preview);
  Tick();
  ASSERT_TRUE(host.Playing);
  ASSERT_TRUE(preview->Enabled());
  ClickOn(preview);
  EXPECT_EQ(host.Log.back(), "stop");
  EXPECT_EQ(preview->Caption(), "&Preview");
  Tick();
  EXPECT_FALSE(form->TimerMonitor()->Enabled());

  // Preview then Cancel: what the preview stored stays.
  form->ImageSlider(1)->SetValue(12);
  ClickOn(preview);
  Tick();
  ClickOn(Find<TButton>(form.get(), "ButtonCancel"));
  EXPECT_EQ(form->ModalResult(), mrCancel);
  EXPECT_EQ(GlobalVars.DefEchoMixDepth, 12);
}

TEST_F(EffectDialogs, ADeviceErrorAtTheStartLeavesTheDialogIdle) {
  TFakeHost host;
  host.OnStart = [&] {
    Application->MessageBox("Starting audio device error.", Application->Title(), MB_OK | MB_ICONERROR);
  };
  auto form = Open("TReverbForm", &host);
  ClickOn(form->ButtonPreview());
  EXPECT_EQ(Messages, (std::vector<std::string>{"Starting audio device error."}));
  EXPECT_EQ(form->ButtonPreview()->Caption(), "&Stop");
  Tick();
  EXPECT_EQ(form->ButtonPreview()->Caption(), "&Preview");
  EXPECT_TRUE(form->ButtonOK()->Enabled());
  EXPECT_FALSE(form->TimerMonitor()->Enabled());
}

// A value that cannot be saved must not leave the dialog disabled for good.
TEST_F(EffectDialogs, APreviewThatCannotSaveComesBackToIdle) {
  TFakeHost host;
  auto form = Open("TAmplifyForm", &host);
  form->Edit(0)->SetFocus();
  form->Edit(0)->SelectAll();
  guitest::Key(form.get(), Qt::Key_Delete);
  ASSERT_TRUE(Messages.empty());
  ClickOn(form->ButtonPreview());
  EXPECT_EQ(Messages, (std::vector<std::string>{"'' is not a valid integer value."}));
  EXPECT_EQ(host.Log, (std::vector<std::string>{"clear"})) << "nothing started";
  Tick();
  EXPECT_EQ(form->ButtonPreview()->Caption(), "&Preview");
  EXPECT_TRUE(form->ButtonOK()->Enabled());
  EXPECT_FALSE(form->Edit(0)->ReadOnly());
  EXPECT_FALSE(form->TimerMonitor()->Enabled());
}

TEST_F(EffectDialogs, AClosingRequestDuringTheStartWaitsForIt) {
  TFakeHost host;
  auto form = Open("TEchoForm", &host);
  bool visibleAfterClose = false;
  host.OnStart = [&] {
    PostMessage(form->Handle(), WM_CLOSE, 0, 0);
    Application->ProcessMessages();
    visibleAfterClose = form->Visible();
    host.Playing = true;
  };
  ClickOn(form->ButtonPreview());
  EXPECT_TRUE(visibleAfterClose);
  EXPECT_FALSE(form->Visible()) << "closed once the start returned";

  // Shown modally, the request ends the loop after the start with Cancel.
  TFakeHost modalHost;
  std::unique_ptr<TEffectForm> modal(CreateEffectForm("TEchoForm", nullptr, &modalHost));
  modal->LoadParams();
  bool aliveInside = false;
  modalHost.OnStart = [&] {
    PostMessage(modal->Handle(), WM_CLOSE, 0, 0);
    Application->ProcessMessages();
    aliveInside = modal->Visible();
  };
  TTimer click(nullptr);
  click.SetInterval(10);
  click.SetOnTimer([&](TObject*) {
    click.SetEnabled(false);
    ClickOn(modal->ButtonPreview());
    if (modal->ModalResult() == mrNone) modal->SetModalResult(mrAbort);  // never hang
  });
  AdvanceClock(10);
  EXPECT_EQ(modal->ShowModal(), mrCancel);
  EXPECT_TRUE(aliveInside);
}

TEST_F(EffectDialogs, WithoutAHostPreviewIsHidden) {
  auto form = Open("TEchoForm");
  EXPECT_FALSE(form->ButtonPreview()->Visible());
  EXPECT_FALSE(form->TimerMonitor()->Enabled());
  // The batch converter sets the sliders and reads them back after OK.
  form->ImageSlider(0)->SetValue(450);
  EXPECT_EQ(form->Edit(0)->Text(), "450");
  form->SetValues({10, 20, 30});
  EXPECT_EQ(form->Values(), (std::vector<int>{10, 20, 30}));
}

HWND RecordHelp(HWND owner, const char* file, unsigned command, uintptr_t data);
std::vector<std::string> gHelp;
HWND RecordHelp(HWND owner, const char* file, unsigned command, uintptr_t data) {
  gHelp.push_back(Format("%s %d %d", {std::string(file ? file : ""), int(command), int(data)}));
  return owner;
}

TEST_F(EffectDialogs, HelpShowsTheEffectsPage) {
  TModuleTableGuard guard;
  SetModuleEntryAs("HHCTRL.OCX", "HtmlHelpA", &RecordHelp);
  auto form = Open("TEqualizerForm");
  ClickOn(Find<TButton>(form.get(), "ButtonHelp"));
  const std::string target = ChangeFileExt(ParamStr(0), ".chm") + "::/effects.htm";
  ASSERT_FALSE(gHelp.empty());
  EXPECT_EQ(gHelp.back(), target + " 0 0");
  EXPECT_FALSE(HelpPageFile(target).empty());
}

}  // namespace
