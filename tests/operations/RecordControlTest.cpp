// The recording window on the file backend: input.wav made at test time is what the sound card
// hears, the backend's clock and the platform's test clock move together in 10 ms steps, Now is
// the test's, and message boxes and the timer dialog are answered by the modal hook.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "DialogTestUtil.h"
#include "acm/AcmTestUtil.h"
#include "appbase/Globals.h"
#include "appbase/HtmlHelp.h"
#include "audio/DeviceTestUtil.h"
#include "common/TestEnv.h"
#include "operations/RecordControl.h"
#include "operations/RecordingDialogs.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;

// Input whose every frame tells its own number: left = n mod 30000, right = n div 30000.
std::vector<int16_t> NumberedFrames(int Frames) {
  std::vector<int16_t> v(size_t(Frames) * 2);
  for (int n = 0; n < Frames; ++n) {
    v[size_t(2 * n)] = int16_t(n % 30000);
    v[size_t(2 * n + 1)] = int16_t(n / 30000);
  }
  return v;
}

// Stereo 16-bit pieces one after another, each a 440 Hz sine of its amplitude (0..1) or, for
// Square, a full-scale 1 kHz square.
struct TPiece {
  double Seconds, Amplitude;
  bool Square = false;
};
std::vector<int16_t> Pieces(const std::vector<TPiece>& List) {
  std::vector<int16_t> v;
  for (const TPiece& p : List)
    for (int n = 0; n < int(p.Seconds * kRate); ++n) {
      const double x = p.Square ? (n * 1000 % kRate < kRate / 2 ? 1.0 : -1.0)
                                : p.Amplitude * std::sin(2 * M_PI * 440 * n / kRate);
      const auto s = int16_t(std::lround(std::clamp(x * 32767, -32767.0, 32767.0)));
      v.push_back(s);
      v.push_back(s);
    }
  return v;
}

int64_t FrameNumber(const SampleBuffer& b, int64_t Frame) {
  const float* f = b.FrameData(Frame);
  return std::lround(f[0] * 32768) + 30000 * std::lround(f[1] * 32768);
}

class RecordWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaultGlobalVars();
    GlobalVars.RecordingFile = (Dir / "SonalixRecording.wav").string();
    SetManualClock(true);
    SetNowFunction([this] { return FNow; });
    FPrevious = SetModalHook([this](const TModalRequest& r) -> int {
      if (r.Kind == TModalRequest::mrMessageBox) {
        Boxes.push_back(r.Text);
        return IDOK;
      }
      if (r.Kind == TModalRequest::mrDialog && r.DialogClass == "TRecordingTimerForm" && Timer) {
        auto* d = static_cast<TRecordingTimerForm*>(r.Dialog);
        Timer(d);
        d->ButtonOKClick(nullptr);
        return d->ModalResult() == mrNone ? int(mrCancel) : d->ModalResult();
      }
      return 0;
    });
  }
  void TearDown() override {
    Form.reset();
    OverrideWaveInDevices(std::nullopt);
    SetModalHook(std::move(FPrevious));
    SetNowFunction({});
    SetManualClock(false);
    SetDefaultGlobalVars();
  }

  void Open(const std::function<void(const fs::path&)>& MakeInput) {
    MakeInput(Dir);
    Backend.emplace("file:" + Dir.string());
    Form = std::make_unique<TRecordControlForm>(nullptr);
    Form->Show();
    Update();
  }
  void OpenNumbered(int Seconds) {
    Open([Seconds](const fs::path& d) { acmtest::MakeInputFromSamples(d, NumberedFrames(Seconds * kRate)); });
  }

  // Both clocks move by Ms; timers and the devices' news run in between.
  void Run(int Ms) {
    for (int t = 0; t < Ms; t += 10) {
      AdvanceWaveClock(10);
      AdvanceClock(10);
      FNow += 10 / MSecsPerDay;
      QCoreApplication::processEvents();
      Application->ProcessMessages();
    }
    Update();
  }
  void Update() {
    bool handled = false;
    Form->ActionListUpdate(nullptr, handled);
  }
  void Record() {
    Form->ActionRecordExecute(nullptr);
    Update();
  }
  void Pause() {
    Form->ActionPauseExecute(nullptr);
    Update();
  }
  std::string Status() const { return Form->LabelLabelStatus->Caption(); }
  SampleBuffer File() const { return audiotest::ReadWav(GlobalVars.RecordingFile); }

  // The timer dialog as the user fills it; OK is pressed on it afterwards.
  void ArmTimer(std::function<void(TRecordingTimerForm*)> Fill) {
    Timer = std::move(Fill);
    Form->ActionTimerRecordExecute(nullptr);
    Timer = nullptr;
    Update();
  }

  fs::path Dir = sonalix::test::MakeTempDir("record");
  audiotest::ManualClock Wave;
  std::optional<audiotest::ScopedBackend> Backend;
  std::unique_ptr<TRecordControlForm> Form;
  std::vector<std::string> Boxes;
  std::function<void(TRecordingTimerForm*)> Timer;
  TDateTime FNow = EncodeDate(2026, 12, 11) + EncodeTime(10, 0, 0, 0);

 private:
  TModalHook FPrevious;
};

TEST_F(RecordWindow, RecordPauseContinueKeepHoldsExactlyTheFramesHeardWhileRecording) {
  OpenNumbered(13);
  EXPECT_EQ(Status(), "[ Ready ]");
  EXPECT_TRUE(Form->ButtonRecord->Enabled());
  EXPECT_FALSE(Form->ButtonPause->Enabled());
  EXPECT_FALSE(Form->ButtonKeep->Enabled());
  EXPECT_EQ(Form->LabelTime->Caption(), "00:00:00:000");
  Run(100);

  Record();
  EXPECT_EQ(Status(), "[ Recording ]");
  EXPECT_FALSE(Form->ButtonRecord->Enabled());
  EXPECT_TRUE(Form->ButtonPause->Enabled());
  EXPECT_TRUE(Form->ButtonKeep->Enabled());
  EXPECT_EQ(Form->LabelTime->Font()->Color(), TColor(0x4080FF));
  Run(1000);

  Pause();
  EXPECT_EQ(Status(), "[ Paused ]");
  EXPECT_TRUE(Form->ButtonRecord->Enabled());
  EXPECT_FALSE(Form->ButtonPause->Enabled());
  EXPECT_TRUE(Form->ButtonKeep->Enabled());
  EXPECT_EQ(Form->LabelTime->Caption(), "00:00:01:000");
  Run(10000);
  EXPECT_EQ(Form->LabelTime->Caption(), "00:00:01:000") << "the display rests while paused";

  Record();
  EXPECT_EQ(Status(), "[ Recording ]");
  Run(520);
  const std::string shown = Form->LabelTime->Caption();
  EXPECT_EQ(shown.substr(0, 9), "00:00:01:") << "the display goes on from the pause";
  EXPECT_GE(std::stoi(shown.substr(9)), 480);

  Form->ActionKeepExecute(nullptr);
  Update();
  EXPECT_EQ(Form->ModalResult(), mrOk);
  EXPECT_EQ(Status(), "[ Ready ]");
  EXPECT_EQ(Form->LabelTime->Caption(), "00:00:00:000");

  // 100 ms heard before Record, one second recorded, ten seconds of pause left out, 520 ms more.
  const SampleBuffer file = File();
  ASSERT_EQ(file.Channels(), 2);
  EXPECT_EQ(file.SampleRate(), kRate);
  const int64_t first = kRate / 10, pauseAt = first + kRate, continueAt = pauseAt + 10 * kRate;
  ASSERT_EQ(file.Frames(), kRate + kRate * 52 / 100);
  int64_t wrong = 0;
  for (int64_t f = 0; f < file.Frames(); ++f) {
    const int64_t expected = f < kRate ? first + f : continueAt + (f - kRate);
    wrong += FrameNumber(file, f) != expected;
  }
  EXPECT_EQ(wrong, 0);
  EXPECT_EQ(FrameNumber(file, kRate - 1), pauseAt - 1);
  EXPECT_EQ(FrameNumber(file, kRate), continueAt);
}

TEST_F(RecordWindow, DeleteRemovesTheFileAndDisablesKeepAndTheNextRecordStartsAfresh) {
  OpenNumbered(3);
  Record();
  Run(500);
  Pause();
  Form->ActionDeleteExecute(nullptr);
  Update();
  EXPECT_FALSE(fs::exists(GlobalVars.RecordingFile));
  EXPECT_FALSE(Form->ButtonKeep->Enabled());
  EXPECT_EQ(Status(), "[ Ready ]");
  Record();
  Run(200);
  Form->ActionKeepExecute(nullptr);
  EXPECT_EQ(File().Frames(), kRate / 5);
}

TEST_F(RecordWindow, DiscardAndTheCloseBoxStopTheRecorderAndCloseTheFile) {
  for (bool paused : {false, true}) {
    SCOPED_TRACE(paused ? "paused" : "recording");
    OpenNumbered(3);
    Record();
    Run(300);
    if (paused) Pause();
    Form->ActionDiscardExecute(nullptr);
    EXPECT_EQ(Form->ModalResult(), mrCancel);
    Form->Close();
    EXPECT_FALSE(Form->AudioRecord->Recording());
    // A complete file that the caller can delete, and nothing written after that.
    EXPECT_EQ(File().Frames(), kRate * 3 / 10);
    ASSERT_TRUE(fs::remove(GlobalVars.RecordingFile));
    Run(300);
    EXPECT_FALSE(fs::exists(GlobalVars.RecordingFile));
    Form.reset();
  }
}

TEST_F(RecordWindow, AFailedStartShowsTheMessageAndLeavesTheWindowReady) {
  struct Case {
    int Rate, Channels;
  } cases[] = {{44100, 3}, {0, 2}};
  OpenNumbered(2);
  for (const Case& c : cases) {
    SCOPED_TRACE(IntToStr(c.Rate) + " Hz, " + IntToStr(c.Channels) + " channels");
    Boxes.clear();
    Form->RecordSampleRate = c.Rate;
    Form->RecordChannels = c.Channels;
    Record();
    EXPECT_EQ(Boxes, std::vector<std::string>{"Error when start recording."});
    EXPECT_EQ(Status(), "[ Ready ]");
    EXPECT_FALSE(Form->Recording || Form->Paused);
    EXPECT_FALSE(Form->AudioRecord->Recording());
    EXPECT_FALSE(Form->TimerTimeDisplay->Enabled());
  }
  // The window still records once the format is one the device takes.
  Boxes.clear();
  Form->RecordSampleRate = 22050;
  Form->RecordChannels = 1;
  Record();
  Run(200);
  Form->ActionKeepExecute(nullptr);
  EXPECT_TRUE(Boxes.empty());
  const SampleBuffer file = File();
  EXPECT_EQ(file.SampleRate(), 22050);
  EXPECT_EQ(file.Channels(), 1);
  EXPECT_NEAR(double(file.Frames()), 22050 / 5, 2);
}

TEST_F(RecordWindow, TimedStopCountsDownPausesAfterItsDurationAndIsCancelledByAPause) {
  OpenNumbered(20);
  ArmTimer([](TRecordingTimerForm* d) {
    d->CheckBoxStopAfter->SetChecked(true);
    d->DateTimePickerWhenRecordingTime->SetTime(EncodeTime(0, 0, 5, 0));
  });
  EXPECT_TRUE(Form->LabelRecordingStops->Visible());
  EXPECT_EQ(Form->LabelRecordingStops->Caption(), "Recording stops after: 00:00:05");
  EXPECT_NEAR(GlobalVars.RecordingStopAfter, EncodeTime(0, 0, 5, 0), 1e-9);
  Record();
  Run(100);
  EXPECT_EQ(Form->LabelRecordingStops->Caption(), "Recording stops after: 00:00:05");
  Run(2000);
  EXPECT_EQ(Form->LabelRecordingStops->Caption(), "Recording stops after: 00:00:03");
  Run(2850);
  EXPECT_EQ(Status(), "[ Recording ]") << "4.95 s recorded";
  EXPECT_TRUE(Boxes.empty());
  Run(60);
  EXPECT_EQ(Status(), "[ Paused ]");
  EXPECT_EQ(Boxes, std::vector<std::string>{"The timed recording is completed.\n\rClick on the Keep button to "
                                            "open the recording in the sound editor."});
  EXPECT_FALSE(Form->LabelRecordingStops->Visible());
  EXPECT_TRUE(Form->ButtonKeep->Enabled());
  // Continuing does not arm it again.
  Record();
  Run(6000);
  EXPECT_EQ(Status(), "[ Recording ]");
  Pause();
  Form->ActionDeleteExecute(nullptr);

  // Armed while recording, then paused: the pause cancels it and a continue leaves it off.
  Record();
  Run(1000);
  ArmTimer([](TRecordingTimerForm* d) {
    EXPECT_FALSE(d->RadioButtonAutomatically->Enabled());
    EXPECT_TRUE(d->CheckBoxStopAfter->Checked() == false);
    d->CheckBoxStopAfter->SetChecked(true);
  });
  Run(2000);
  EXPECT_EQ(Form->LabelRecordingStops->Caption(), "Recording stops after: 00:00:03");
  Pause();
  EXPECT_FALSE(Form->LabelRecordingStops->Visible());
  Record();
  Run(6000);
  EXPECT_EQ(Status(), "[ Recording ]");
  Form->ActionKeepExecute(nullptr);
  EXPECT_EQ(File().Frames(), 9 * kRate);
}

TEST_F(RecordWindow, TimedStopRecordsItsDurationWithinOneTimerPeriod) {
  OpenNumbered(8);
  ArmTimer([](TRecordingTimerForm* d) {
    d->CheckBoxStopAfter->SetChecked(true);
    d->DateTimePickerWhenRecordingTime->SetTime(EncodeTime(0, 0, 5, 0));
  });
  Record();
  Run(6000);
  EXPECT_EQ(Status(), "[ Paused ]");
  Form->ActionKeepExecute(nullptr);
  const int64_t frames = File().Frames();
  EXPECT_GE(frames, 5 * kRate);
  EXPECT_LE(frames, 5 * kRate + kRate * 50 / 1000);
}

TEST_F(RecordWindow, AutomaticStartHidesTheTransportAndRecordsAtItsTime) {
  for (bool jump : {false, true}) {
    SCOPED_TRACE(jump ? "the clock jumps past the start" : "the start comes");
    OpenNumbered(2);
    const TDateTime start = FNow + 1.0 / MinsPerDay;
    ArmTimer([start](TRecordingTimerForm* d) {
      d->RadioButtonAutomatically->SetChecked(true);
      d->DateTimePickerAutomaticallyData->SetDateTime(start);
      d->DateTimePickerAutomaticallyTime->SetDateTime(start);
    });
    EXPECT_TRUE(Form->AutoStartArmed);
    EXPECT_FALSE(Form->ButtonRecord->Visible());
    EXPECT_FALSE(Form->ButtonPause->Visible());
    EXPECT_FALSE(Form->ButtonDelete->Visible());
    EXPECT_TRUE(Form->LabelRecordingTimer->Visible());
    EXPECT_EQ(Form->LabelRecordingTimer->Caption(),
              "Recording Timer...  [ " + DateToStr(start) + " " + TimeToStr(start) + " ]");
    if (jump) {
      Run(1000);
      FNow += 2.0 / HoursPerDay;
      Run(60);
    } else {
      Run(58900);
      EXPECT_EQ(Status(), "[ Ready ]");
      Run(200);
    }
    EXPECT_EQ(Status(), "[ Recording ]");
    EXPECT_FALSE(Form->AutoStartArmed);
    EXPECT_TRUE(Form->ButtonRecord->Visible());
    EXPECT_TRUE(Form->ButtonPause->Visible());
    EXPECT_TRUE(Form->ButtonDelete->Visible());
    EXPECT_FALSE(Form->LabelRecordingTimer->Visible());
    Form->ActionDeleteExecute(nullptr);
    Form.reset();
  }
}

TEST_F(RecordWindow, WithoutSilenceKeepsBothTonesAndAtMostTheReleaseOfTheSilenceBetween) {
  Open([](const fs::path& d) {
    acmtest::MakeInputFromSamples(d, Pieces({{1, 0}, {1, 0.5}, {3, 0}, {1, 0.5}, {1, 0}}));
  });
  ASSERT_FALSE(Form->CheckRecordingWithoutSilence->Checked());
  Form->CheckRecordingWithoutSilence->SetChecked(true);
  EXPECT_TRUE(GlobalVars.AccuEnabled) << "the check box is stored at once";
  Record();
  Run(7000);
  Form->ActionKeepExecute(nullptr);
  const SampleBuffer file = File();
  int64_t loud = 0;
  for (int64_t f = 0; f < file.Frames(); ++f) loud += std::fabs(file.FrameData(f)[0]) > 0.05f;
  // Both tones whole (a sine is quiet near its zero crossings, so not every frame counts).
  EXPECT_GT(loud, 2 * kRate * 9 / 10);
  const int64_t release = int64_t(GlobalVars.AccuReleaseTime) * kRate / 1000;
  const int64_t attack = int64_t(GlobalVars.AccuAttackTime) * kRate / 1000;
  EXPECT_GE(file.Frames(), 2 * kRate);
  EXPECT_LE(file.Frames(), 2 * kRate + 2 * (release + attack) + kRate / 50);
}

TEST_F(RecordWindow, SilenceSettingsReachTheRecorderAtTheNextStartNotAtAContinue) {
  Open([](const fs::path& d) { acmtest::MakeInput(d, "synth 6 sine 440 vol 0"); });
  Record();
  Run(500);
  Pause();
  Form->CheckRecordingWithoutSilence->SetChecked(true);
  Record();
  Run(500);
  Form->ActionKeepExecute(nullptr);
  EXPECT_EQ(File().Frames(), kRate) << "the continue kept recording the silence";
  Record();
  Run(1000);
  Form->ActionKeepExecute(nullptr);
  EXPECT_EQ(File().Frames(), 0) << "the new start leaves the silence out";
}

TEST_F(RecordWindow, GaugesShowEachChannelsPeakAndFallBetweenBlocks) {
  Open([](const fs::path& d) { acmtest::MakeInput(d, "synth 2 sine 1000 vol 0.5 remix 1 0"); });
  std::vector<int> lefts;
  Form->deAudioControlSource->OnDataChanged = [this, &lefts](TObject* s) {
    Form->deAudioControlSourceDataChanged(s);
    lefts.push_back(Form->spSkinGaugeLeft->Value());
    EXPECT_EQ(Form->spSkinGaugeRight->Value(), 0);
  };
  // Only the sound card's clock: the gauges do not fall meanwhile.
  for (int t = 0; t < 1000 && lefts.size() < 3; t += 10) {
    AdvanceWaveClock(10);
    QCoreApplication::processEvents();
    Application->ProcessMessages();
  }
  ASSERT_GE(lefts.size(), 3u);
  for (int v : lefts) EXPECT_NEAR(v, 16384, 164);
  const int top = Form->spSkinGaugeLeft->Value();
  EXPECT_FALSE(Form->LabelHigh->Visible());
  // Without further blocks: 100 a millisecond.
  AdvanceClock(100);
  Application->ProcessMessages();
  EXPECT_EQ(Form->spSkinGaugeLeft->Value(), top - 100 * 100);
  AdvanceClock(100);
  Application->ProcessMessages();
  EXPECT_EQ(Form->spSkinGaugeLeft->Value(), 0);
  EXPECT_EQ(Form->spSkinGaugeRight->Value(), 0);
}

TEST_F(RecordWindow, AFullScaleInputWarnsUntilTheLevelIsBackInRange) {
  Open([](const fs::path& d) { acmtest::MakeInputFromSamples(d, Pieces({{1, 1, true}, {1, 0.9}})); });
  Run(600);
  EXPECT_GT(Form->deAudioControlSource->LeftLevel(), 32512);
  EXPECT_TRUE(Form->LabelHigh->Visible());
  Run(1200);
  EXPECT_LE(Form->deAudioControlSource->LeftLevel(), 32512);
  EXPECT_FALSE(Form->LabelHigh->Visible());
}

TEST_F(RecordWindow, DeviceListSelectsTheItemThatCarriesTheCurrentDevice) {
  struct Case {
    std::vector<TWaveInDeviceInfo> Devices;
    int Current;
    int Item, Device;
  } cases[] = {
      {{{"Card A", true}, {"Card B", false}, {"Card C", true}}, 3, 1, 3},  // unusable one before it
      {{{"Card A", true}, {"Card B", false}, {"Card C", true}}, 2, 1, 3},  // itself unusable: the next
      {{{"Card A", true}, {"Card B", true}}, 2, 1, 2},
      {{{"Card A", false}, {"Card B", false}}, 2, -1, 0},                 // none left
  };
  Open([](const fs::path& d) { acmtest::MakeInput(d, "synth 1 sine 440 vol 0.1"); });
  Form.reset();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Current);
    Boxes.clear();
    OverrideWaveInDevices(c.Devices);
    Form = std::make_unique<TRecordControlForm>(nullptr);
    Form->AudioRecord->SetDeviceIndex(c.Current);
    Form->Show();
    EXPECT_EQ(Form->ComboBoxDevice->ItemIndex(), c.Item);
    EXPECT_EQ(Form->AudioRecord->DeviceIndex(), c.Device);
    if (c.Device == 0) {
      EXPECT_EQ(Boxes, std::vector<std::string>{"No Line In detected. Please check the audio device."});
      EXPECT_EQ(Form->ComboBoxMixer->Items()->Count(), 0);
    } else {
      EXPECT_EQ(Form->ComboBoxDevice->Text(), c.Devices[size_t(c.Device - 1)].Name);
      EXPECT_EQ(Form->ComboBoxMixer->ItemIndex(), 0);
    }
    Form.reset();
  }
}

TEST_F(RecordWindow, TheVolumeSliderSetsTheLineAndShowsItsPercentage) {
  Open([](const fs::path& d) { acmtest::MakeInput(d, "synth 1 sine 440 vol 0.1"); });
  EXPECT_TRUE(Form->ImageSliderVolume->Enabled());
  struct Case {
    int Value;
    const char* Text;
  } cases[] = {{32768, "50 %"}, {65535, "100 %"}, {0, "0 %"}, {656, "1 %"}, {655, "0 %"}};
  for (const Case& c : cases) {
    Form->ImageSliderVolume->SetValue(c.Value);
    EXPECT_EQ(Form->LabelCurrent->Caption(), c.Text);
    EXPECT_EQ(MixerLineVolume(0, 0), c.Value);
  }
}

// Stub programs on a PATH of the test's own: each writes its name and arguments into a file.
class MixerPrograms : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* path = std::getenv("PATH");
    FPath = path ? path : "";
    FPrevious = SetModalHook([this](const TModalRequest& r) {
      if (r.Kind != TModalRequest::mrMessageBox) return 0;
      Boxes.push_back(r.Text);
      return int(IDOK);
    });
  }
  void TearDown() override {
    setenv("PATH", FPath.c_str(), 1);
    SetModalHook(std::move(FPrevious));
  }
  void Stub(const std::string& Name) {
    const fs::path file = Bin / Name;
    std::ofstream(file) << "#!/bin/sh\necho \"" << Name << " $*\" > '" << (Log / Name).string() << "'\n";
    fs::permissions(file, fs::perms::owner_all);
  }
  // What the started program wrote, waited for (it runs detached).
  std::string Started() {
    std::string text;
    audiotest::PumpUntil([&] {
      for (const auto& e : fs::directory_iterator(Log)) {
        std::ifstream in(e.path());
        std::getline(in, text);
        if (!text.empty()) return true;
      }
      return false;
    });
    return text;
  }
  fs::path Bin = sonalix::test::MakeTempDir("bin");
  fs::path Log = sonalix::test::MakeTempDir("log");
  std::vector<std::string> Boxes;

 private:
  std::string FPath;
  TModalHook FPrevious;
};

TEST_F(MixerPrograms, TheFirstMixerFoundOnThePathIsStarted) {
  struct Case {
    std::vector<std::string> Programs;
    const char* Started;
  } cases[] = {
      {{"pavucontrol", "alsamixer", "xterm"}, "pavucontrol --tab=4"},
      {{"alsamixer", "x-terminal-emulator", "xterm"}, "x-terminal-emulator -e alsamixer -V capture"},
      {{"alsamixer", "xterm"}, "xterm -e alsamixer -V capture"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Started);
    fs::remove_all(Bin);
    fs::remove_all(Log);
    fs::create_directories(Bin);
    fs::create_directories(Log);
    for (const std::string& p : c.Programs) Stub(p);
    setenv("PATH", Bin.c_str(), 1);
    EXPECT_TRUE(StartMixerProgram());
    EXPECT_EQ(Started(), c.Started);
    EXPECT_TRUE(Boxes.empty());
  }
}

TEST_F(MixerPrograms, WithoutOneTheUserIsToldWhatToInstall) {
  for (const char* path : {"", "/nonexistent"}) {
    Boxes.clear();
    // alsamixer alone is no use without a terminal to run it in.
    Stub("alsamixer");
    setenv("PATH", (std::string(path) + (*path ? ":" : "") + (*path ? Bin.string() : "")).c_str(), 1);
    EXPECT_FALSE(StartMixerProgram());
    EXPECT_EQ(Boxes, std::vector<std::string>{"No mixer program was found. Install pavucontrol or alsa-utils."});
  }
}

}  // namespace

namespace {

// The call the Record command makes: the window over its owner, answering Keep or Discard.
TEST_F(RecordWindow, RecordToFileAnswersKeepOrDiscardAtARateOfAtMost48000) {
  struct Case {
    int Rate, Channels;
    bool Keep;
    int FileRate;
  } cases[] = {{96000, 2, true, 48000}, {44100, 1, true, 44100}, {22050, 2, false, 22050}};
  acmtest::MakeInputFromSamples(Dir, NumberedFrames(3 * kRate));
  Backend.emplace("file:" + Dir.string());
  TForm owner(nullptr);
  owner.SetBounds(100, 100, 800, 600);
  owner.Show();
  for (const Case& c : cases) {
    SCOPED_TRACE(IntToStr(c.Rate) + (c.Keep ? " kept" : " discarded"));
    // A file of that name from before goes first.
    std::ofstream(GlobalVars.RecordingFile) << "old";
    bool ran = false;
    Application->OnIdle = [&](TObject*, bool& Done) {
      Done = false;
      TRecordControlForm* f = nullptr;
      for (int i = 0; i < Screen->FormCount(); ++i)
        if (auto* r = dynamic_cast<TRecordControlForm*>(Screen->Forms(i)); r && r->Visible()) f = r;
      if (!f) return;
      Application->OnIdle = nullptr;
      ran = true;
      EXPECT_FALSE(fs::exists(GlobalVars.RecordingFile));
      EXPECT_EQ(f->Left(), 100 + (800 - f->Width()) / 2);
      f->ActionRecordExecute(nullptr);
      for (int t = 0; t < 500; t += 10) {
        AdvanceWaveClock(10);
        AdvanceClock(10);
        QCoreApplication::processEvents();
        Application->ProcessMessages();
      }
      if (c.Keep)
        f->ActionKeepExecute(nullptr);
      else
        f->ActionDiscardExecute(nullptr);
    };
    int rate = c.Rate, channels = c.Channels;
    EXPECT_EQ(RecordToFile(&owner, rate, channels, GlobalVars.RecordingFile), c.Keep);
    EXPECT_EQ(rate, c.FileRate) << "the format recorded in comes back";
    EXPECT_EQ(channels, c.Channels);
    Application->OnIdle = nullptr;
    EXPECT_TRUE(ran);
    const SampleBuffer file = File();
    EXPECT_EQ(file.SampleRate(), c.FileRate);
    EXPECT_EQ(file.Channels(), c.Channels);
    EXPECT_NEAR(double(file.Frames()), c.FileRate / 2, 2);
    fs::remove(GlobalVars.RecordingFile);
  }
}

TEST(RecordingHelp, ThePagesTheWindowAndItsDialogOpenExist) {
  for (const char* topic : {"RecordControl", "AdvancedRecordingOptions", "recordingsource"}) {
    const std::string page = HelpPageFile(HelpTopicTarget(topic));
    ASSERT_FALSE(page.empty()) << topic;
    std::ifstream in(page);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(text.find("<h1>"), std::string::npos) << topic;
  }
}

}  // namespace
