#include "operations/RecordControl.h"

#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <memory>
#include <mutex>

#include "appbase/Globals.h"
#include "appbase/HtmlHelp.h"
#include "appbase/Utils.h"
#include "operations/DialogSupport.h"
#include "operations/FormatSummary.h"
#include "operations/RecordingDialogs.h"
#include "platform/rtl/TypInfo.h"

namespace {

constexpr TColor kTimeRecording = TColor(0x4080FF);
constexpr TColor kTimeIdle = TColor(0xFFFFFF);
constexpr int kHighLevel = 32512;
// A gauge falls this much per millisecond between the level source's blocks.
constexpr int kDecayPerMs = 100;

uint32_t Tick() { return GetTickCount(); }
// Milliseconds from a tick until now; the tick counter may wrap.
int64_t Since(int64_t Start) { return int64_t(uint32_t(Tick() - uint32_t(Start))); }

int64_t SpanMs(TDateTime Span) { return std::llround(Span * MSecsPerDay); }

std::string HoursMinutesSeconds(int64_t Seconds) {
  return Format("%.2d:%.2d:%.2d", {int(Seconds / 3600), int(Seconds / 60 % 60), int(Seconds % 60)});
}

void ShowInformation(const std::string& Text) {
  Application->MessageBox(Text, Application->Title(), MB_OK | MB_ICONINFORMATION);
}

}  // namespace

TRecordControlForm::TRecordControlForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterRecordControlClasses();
  InitForm("TRecordControlForm");
}

TRecordControlForm::~TRecordControlForm() {
  BeforeDestruction();
  // The recorder hands out its last blocks when it stops: the file must still be there.
  if (AudioRecord) {
    AudioRecord->OnEndArrayRecord = nullptr;
    AudioRecord->Stop();
  }
  if (AudioFile) AudioFile->CloseFile();
}

void TRecordControlForm::FormCreate(TObject*) {
  auto find = [this]<class T>(T*& Field, const char* Name) { Field = DialogComponent<T>(this, Name); };
  find(PanelMain, "PanelMain");
  find(PanelTime, "PanelTime");
  find(LabelRecordingConsole, "LabelRecordingConsole");
  find(LabelTransport, "LabelTransport");
  find(LabelTime, "LabelTime");
  find(LabelStatusCaptain, "LabelStatusCaptain");
  find(LabelLabelStatus, "LabelLabelStatus");
  find(LabelRecordingStops, "LabelRecordingStops");
  find(LabelRecordingTimer, "LabelRecordingTimer");
  find(LabelDevice, "LabelDevice");
  find(LabelLineIn, "LabelLineIn");
  find(LabelCurrent, "LabelCurrent");
  find(LabelAdjustInVista, "LabelAdjustInVista");
  find(LabelInputLevel, "LabelInputLevel");
  find(Label0, "Label0");
  find(Label100, "Label100");
  find(LabelHigh, "LabelHigh");
  find(ComboBoxDevice, "ComboBoxDevice");
  find(ComboBoxMixer, "ComboBoxMixer");
  find(ImageSliderVolume, "ImageSliderVolume");
  find(spSkinGaugeLeft, "spSkinGaugeLeft");
  find(spSkinGaugeRight, "spSkinGaugeRight");
  find(ButtonRecord, "ButtonRecord");
  find(ButtonPause, "ButtonPause");
  find(ButtonDelete, "ButtonDelete");
  find(ButtonTimerRecord, "ButtonTimerRecord");
  find(ButtonMixer, "ButtonMixer");
  find(ButtonRWSSettings, "ButtonRWSSettings");
  find(CheckRecordingWithoutSilence, "CheckRecordingWithoutSilence");
  find(ButtonKeep, "ButtonKeep");
  find(ButtonDiscard, "ButtonDiscard");
  find(ButtonHelp, "ButtonHelp");
  find(ActionList, "ActionList");
  find(ActionRecord, "ActionRecord");
  find(ActionPause, "ActionPause");
  find(ActionDelete, "ActionDelete");
  find(ActionKeep, "ActionKeep");
  find(ActionDiscard, "ActionDiscard");
  find(ActionHelp, "ActionHelp");
  find(ActionTimerRecord, "ActionTimerRecord");
  find(ActionMixer, "ActionMixer");
  find(ActionRWSSettings, "ActionRWSSettings");
  find(TimerTimeDisplay, "TimerTimeDisplay");
  find(TimerAutoStop, "TimerAutoStop");
  find(TimerAutoStart, "TimerAutoStart");
  find(TimerDeLevel, "TimerDeLevel");
  find(spCompressedStoredSkin, "spCompressedStoredSkin");
  find(spSkinData, "spSkinData");
  find(spPngImageList, "spPngImageList");
  find(deAudioIn, "deAudioIn");
  find(deAudioControlSource, "deAudioControlSource");

  AudioRecord = new TAudioRecord2(this);
  AudioRecord->OnEndArrayRecord = TAudioRecord2EndArrayRecordEvent::Bind(
      this, &TRecordControlForm::AudioRecordEndArrayRecord, "AudioRecordEndArrayRecord");
  AudioFile = new TAudioFile2(this);

  // The level gauges' own input: 44.1 kHz, 16 bits, stereo, opened with the window.
  TdeWaveFormat format;
  format.SetFormatTag(WAVE_FORMAT_PCM);
  format.SetChannels(2);
  format.SetSamplesPerSec(44100);
  format.SetBitsPerSample(16);
  format.SetBlockAlign(4);
  format.SetAvgBytesPerSec(44100 * 4);
  deAudioIn->SetFormat(&format);
  FollowDevice(AudioRecord->DeviceIndex());
  FLastDeLevel = Tick();
}

void TRecordControlForm::FollowDevice(int Device) {
  // Without an input the gauges stay at 0; recording does not need them.
  try {
    deAudioIn->SetActive(false);
    deAudioIn->SetDeviceId(Device >= 1 ? unsigned(Device - 1) : WAVE_MAPPER);
    deAudioIn->SetActive(true);
  } catch (const Exception&) {
  }
}

void TRecordControlForm::FormShow(TObject*) {
  LabelAdjustInVista->SetVisible(IsVistaOrLater());
  AudioRecord->SetFormat(44100, 2);
  AudioFile->SetWavFormat(44100, 2, 16);

  int current = AudioRecord->DeviceIndex();
  ComboBoxDevice->Items()->Clear();
  const int count = AudioRecord->DeviceCount();
  for (int i = 1; i <= count; ++i) {
    AudioRecord->SetDeviceIndex(i);
    if (AudioRecord->DeviceUsable())
      ComboBoxDevice->Items()->AddObject(AudioRecord->DeviceName(), reinterpret_cast<TObject*>(intptr_t(i)));
    else if (i == current)
      ++current;
  }
  if (count < current) current = 0;
  AudioRecord->SetDeviceIndex(current);
  // The item that carries the device's number (the list skips unusable devices).
  int item = -1;
  for (int i = 0; i < ComboBoxDevice->Items()->Count(); ++i)
    if (intptr_t(ComboBoxDevice->Items()->Objects(i)) == current) item = i;
  ComboBoxDevice->SetItemIndex(item);
  FollowDevice(current);

  FillLines();
  SelectLine();

  Recording = false;
  Paused = false;
  StartTime = PauseTime = ContinueTime = PausedTotal = 0;
  AutoStartArmed = false;
  StopAfterEnabled = false;
  TimerAutoStart->SetEnabled(false);
  TimerAutoStop->SetEnabled(false);
  NothingRecorded = true;
  CheckRecordingWithoutSilence->SetChecked(GlobalVars.AccuEnabled);
  bool handled = false;
  ActionListUpdate(nullptr, handled);
}

void TRecordControlForm::FormClose(TObject*, TCloseAction&) {
  // Discard and the close box: the main window deletes the file, so nothing may write on.
  if (Recording || Paused) {
    StopRecording();
    Recording = false;
    Paused = false;
  }
}

void TRecordControlForm::ComboBoxDeviceChange(TObject*) {
  const int item = ComboBoxDevice->ItemIndex();
  if (item < 0) return;
  const int device = int(intptr_t(ComboBoxDevice->Items()->Objects(item)));
  AudioRecord->SetDeviceIndex(device);
  FollowDevice(device);
  FillLines();
  SelectLine();
}

void TRecordControlForm::ComboBoxMixerChange(TObject*) { SelectLine(); }

void TRecordControlForm::SelectLine() {
  AudioRecord->SetLineIndex(ComboBoxMixer->ItemIndex() + 1);
  AudioRecord->SetLineSelected(true);
  ImageSliderVolume->SetEnabled(AudioRecord->LineHasVolume());
  ImageSliderVolume->SetValue(AudioRecord->LineVolume());
}

void TRecordControlForm::ImageSliderVolumeChange(TObject*) {
  AudioRecord->SetLineIndex(ComboBoxMixer->ItemIndex() + 1);
  AudioRecord->SetLineVolume(ImageSliderVolume->Value());
  LabelCurrent->SetCaption(IntToStr(ImageSliderVolume->Value() * 100 / 65535) + " %");
}

void TRecordControlForm::FillLines() {
  ComboBoxMixer->Items()->Clear();
  const int n = AudioRecord->LineCount();
  if (n <= 0) {
    ShowErrorMessage("No Line In detected. Please check the audio device.");
    return;
  }
  int source = 0;
  for (int i = 1; i <= n; ++i) {
    AudioRecord->SetLineIndex(i);
    ComboBoxMixer->Items()->Add(AudioRecord->LineName());
    if (AudioRecord->LineIsSource()) source = i - 1;
  }
  ComboBoxMixer->SetItemIndex(source);
}

void TRecordControlForm::SetRecordFormat() {
  AudioRecord->SetFormat(RecordSampleRate, RecordChannels);
  AudioFile->SetWavFormat(RecordSampleRate, RecordChannels, 16);
  // The blocks handed to the file come in the recording's format.
  AudioFile->SetPcmFormat(RecordSampleRate, RecordChannels);
}

void TRecordControlForm::ApplySilenceSettings() {
  AudioRecord->SetAccuEnabled(GlobalVars.AccuEnabled);
  AudioRecord->SetAccuAttackLevel(GlobalVars.AccuAttackLevel);
  AudioRecord->SetAccuAttackTime(GlobalVars.AccuAttackTime);
  AudioRecord->SetAccuReleaseLevel(GlobalVars.AccuReleaseLevel);
  AudioRecord->SetAccuReleaseTime(GlobalVars.AccuReleaseTime);
}

bool TRecordControlForm::StartRecording(const std::string& FileName) {
  bool started = false;
  // A format the file or the device refuses is a failed start like any other.
  try {
    SetRecordFormat();
    AudioFile->CreateFile(FileName, 1);
    AudioRecord->SetFormat(AudioFile->PcmSampleRate(), AudioFile->PcmChannels());
    ApplySilenceSettings();
    BlockSamples = AudioRecord->MsToSamples(200);
    AudioRecord->SetBlockSize(BlockSamples);
    AudioRecord->Start();
    started = AudioRecord->RecordError() == 0;
  } catch (const Exception&) {
    started = false;
  }
  if (!started) {
    ShowErrorMessage("Error when start recording.");
    StopRecording();
    return false;
  }
  NothingRecorded = false;
  StartTime = Tick();
  PausedTotal = 0;
  TimerTimeDisplay->SetEnabled(true);
  LabelTime->Font()->SetColor(kTimeRecording);
  if (StopAfterEnabled) {
    StopAfterStart = Tick();
    TimerAutoStop->SetEnabled(true);
  }
  return true;
}

void TRecordControlForm::PauseRecording() {
  AudioRecord->Stop();
  PauseTime = Tick();
  // The display shows the moment of the pause, where a continue picks up.
  TimerTimeDisplayTimer(nullptr);
  TimerTimeDisplay->SetEnabled(false);
  LabelTime->Font()->SetColor(kTimeRecording);
  StopAfterEnabled = false;
  TimerAutoStop->SetEnabled(false);
}

bool TRecordControlForm::ContinueRecording() {
  AudioRecord->Start();
  if (AudioRecord->RecordError() != 0) {
    ShowErrorMessage("Error when continue recording.");
    StopRecording();
    return false;
  }
  ContinueTime = Tick();
  PausedTotal += int64_t(uint32_t(uint32_t(ContinueTime) - uint32_t(PauseTime)));
  TimerTimeDisplay->SetEnabled(true);
  LabelTime->Font()->SetColor(kTimeIdle);
  if (StopAfterEnabled) {
    StopAfterStart = Tick();
    TimerAutoStop->SetEnabled(true);
  }
  return true;
}

void TRecordControlForm::StopRecording() {
  AudioRecord->Stop();
  AudioFile->CloseFile();
  StartTime = PauseTime = ContinueTime = PausedTotal = 0;
  TimerTimeDisplay->SetEnabled(false);
  LabelTime->SetCaption("00:00:00:000");
  LabelTime->Font()->SetColor(kTimeIdle);
  StopAfterEnabled = false;
  TimerAutoStop->SetEnabled(false);
}

void TRecordControlForm::ActionRecordExecute(TObject*) {
  bool ok;
  if (!Recording && !Paused)
    ok = StartRecording(GlobalVars.RecordingFile);
  else if (Paused)
    ok = ContinueRecording();
  else
    return;
  Recording = ok;
  Paused = false;
}

void TRecordControlForm::ActionPauseExecute(TObject*) {
  if (!Recording) return;
  PauseRecording();
  Recording = false;
  Paused = true;
}

void TRecordControlForm::ActionDeleteExecute(TObject*) {
  StopRecording();
  Recording = false;
  Paused = false;
  DeleteFile(GlobalVars.RecordingFile);
  NothingRecorded = true;
}

void TRecordControlForm::ActionKeepExecute(TObject*) {
  StopRecording();
  Recording = false;
  Paused = false;
  NothingRecorded = true;
  SetModalResult(mrOk);
}

void TRecordControlForm::ActionDiscardExecute(TObject*) { SetModalResult(mrCancel); }

void TRecordControlForm::ActionHelpExecute(TObject*) { ShowHelpTopic(Handle(), "RecordControl"); }

void TRecordControlForm::ActionListUpdate(TBasicAction*, bool&) {
  ActionRecord->SetEnabled(!Recording);
  ActionPause->SetEnabled(Recording);
  LabelLabelStatus->SetCaption(Recording ? "[ Recording ]" : Paused ? "[ Paused ]" : "[ Ready ]");
  LabelRecordingStops->SetVisible(StopAfterEnabled);
  LabelRecordingTimer->SetVisible(AutoStartArmed);
  ActionRecord->SetVisible(!AutoStartArmed);
  ActionPause->SetVisible(!AutoStartArmed);
  ActionDelete->SetVisible(!AutoStartArmed);
  ActionKeep->SetEnabled(!NothingRecorded);
}

std::string TRecordControlForm::ElapsedText() const {
  const int64_t elapsed = std::max<int64_t>(0, Since(StartTime) - PausedTotal);
  return Format("%.2d:%.2d:%.2d:%.3d", {int(elapsed / 3600000), int(elapsed / 60000 % 60),
                                        int(elapsed / 1000 % 60), int(elapsed % 1000)});
}

void TRecordControlForm::TimerTimeDisplayTimer(TObject*) { LabelTime->SetCaption(ElapsedText()); }

void TRecordControlForm::ActionTimerRecordExecute(TObject*) {
  auto dialog = std::make_unique<TRecordingTimerForm>(this);
  CenterOverWindow(dialog.get(), this);
  const TDateTime now = Now();
  if (Recording) {
    dialog->RadioButtonManually->SetChecked(true);
    dialog->RadioButtonAutomatically->SetChecked(false);
    dialog->DateTimePickerAutomaticallyData->SetDateTime(now);
    dialog->DateTimePickerAutomaticallyTime->SetDateTime(now);
    dialog->RadioButtonManually->SetEnabled(false);
    dialog->RadioButtonAutomatically->SetEnabled(false);
    dialog->DateTimePickerAutomaticallyData->SetEnabled(false);
    dialog->DateTimePickerAutomaticallyTime->SetEnabled(false);
  } else if (AutoStartArmed) {
    dialog->RadioButtonAutomatically->SetChecked(true);
    dialog->DateTimePickerAutomaticallyData->SetDateTime(AutoStartAt);
    dialog->DateTimePickerAutomaticallyTime->SetDateTime(AutoStartAt);
  } else {
    dialog->RadioButtonManually->SetChecked(true);
    dialog->DateTimePickerAutomaticallyData->SetDateTime(now);
    dialog->DateTimePickerAutomaticallyTime->SetDateTime(now);
  }
  dialog->CheckBoxStopAfter->SetChecked(StopAfterEnabled);
  dialog->DateTimePickerWhenRecordingTime->SetTime(GlobalVars.RecordingStopAfter);

  if (dialog->ShowModal() == mrOk) {
    AutoStartArmed = dialog->RadioButtonAutomatically->Checked();
    AutoStartAt = dialog->StartAt();
    StopAfterEnabled = dialog->CheckBoxStopAfter->Checked();
    const TDateTime time = dialog->DateTimePickerWhenRecordingTime->Time();
    StopAfterDuration = time - std::floor(time);
    GlobalVars.RecordingStopAfter = StopAfterDuration;
  }
  dialog.reset();

  if (StopAfterEnabled) {
    if (Recording) {
      StopAfterStart = Tick();
      TimerAutoStop->SetEnabled(true);
    } else {
      LabelRecordingStops->SetCaption("Recording stops after: " +
                                      HoursMinutesSeconds(SpanMs(StopAfterDuration) / 1000));
    }
  }
  if (AutoStartArmed && !Recording) {
    LabelRecordingTimer->SetCaption(
        Format("Recording Timer...  [ %s %s ]", {DateToStr(AutoStartAt), TimeToStr(AutoStartAt)}));
    TimerAutoStart->SetEnabled(true);
  }
  bool handled = false;
  ActionListUpdate(nullptr, handled);
}

void TRecordControlForm::TimerAutoStartTimer(TObject*) {
  if (!AutoStartArmed) {
    TimerAutoStart->SetEnabled(false);
    return;
  }
  // The first tick less than a second before the start; a start already passed (the clock
  // jumped, the machine slept) fires at once.
  if ((AutoStartAt - Now()) * SecsPerDay >= 1) return;
  TimerAutoStart->SetEnabled(false);
  AutoStartArmed = false;
  ActionRecordExecute(nullptr);
  bool handled = false;
  ActionListUpdate(nullptr, handled);
}

void TRecordControlForm::TimerAutoStopTimer(TObject*) {
  const int64_t remaining = SpanMs(StopAfterDuration) - Since(StopAfterStart);
  if (remaining > 0) {
    // Whole seconds still to go, rounded up: the label reads 00:00:00 only once it has stopped.
    LabelRecordingStops->SetCaption("Recording stops after: " + HoursMinutesSeconds((remaining + 999) / 1000));
    return;
  }
  PauseRecording();
  Recording = false;
  Paused = true;
  TimerAutoStop->SetEnabled(false);
  StopAfterEnabled = false;
  LabelRecordingStops->SetCaption("Recording stops after: 00:00:00");
  bool handled = false;
  ActionListUpdate(nullptr, handled);
  ShowInformation(
      "The timed recording is completed.\n\rClick on the Keep button to open the recording in the sound editor.");
}

void TRecordControlForm::TimerDeLevelTimer(TObject*) {
  LabelHigh->SetVisible(deAudioControlSource->LeftLevel() > kHighLevel ||
                        deAudioControlSource->RightLevel() > kHighLevel);
  const uint32_t now = Tick();
  const int64_t fall = int64_t(uint32_t(now - FLastDeLevel)) * kDecayPerMs;
  FLastDeLevel = now;
  if (fall <= 0) return;
  for (TspSkinGauge* gauge : {spSkinGaugeLeft, spSkinGaugeRight})
    gauge->SetValue(int(std::max<int64_t>(0, gauge->Value() - fall)));
}

void TRecordControlForm::deAudioControlSourceDataChanged(TObject*) {
  spSkinGaugeLeft->SetValue(deAudioControlSource->LeftLevel());
  spSkinGaugeRight->SetValue(deAudioControlSource->RightLevel());
}

void TRecordControlForm::AudioRecordEndArrayRecord(TObject*, int) {
  SampleBuffer block = AudioRecord->RecordedBlock();
  if (!block.Empty()) AudioFile->WritePcm(block);
}

void TRecordControlForm::CheckRecordingWithoutSilenceClick(TObject*) {
  GlobalVars.AccuEnabled = CheckRecordingWithoutSilence->Checked();
}

void TRecordControlForm::ActionRWSSettingsExecute(TObject*) {
  auto dialog = std::make_unique<TRecordingWithoutSilenceForm>(this);
  CenterOverWindow(dialog.get(), this);
  dialog->LoadSettings();
  if (dialog->ShowModal() == mrOk) dialog->SaveSettings();
}

void TRecordControlForm::ActionMixerExecute(TObject*) {
  BeginBusy();
  struct EndBusyOnExit {
    ~EndBusyOnExit() { EndBusy(); }
  } end;
  StartMixerProgram();
}

void TRecordControlForm::LabelAdjustInVistaClick(TObject*) {
  const std::string page = HelpPageFile(HelpTopicTarget("recordingsource"));
  if (!page.empty()) OpenURL(page);
}

bool StartMixerProgram() {
  const auto found = [](const char* Name) { return QStandardPaths::findExecutable(QString::fromLatin1(Name)); };
  // The input devices page of the desktop's volume control...
  const auto desktop = [&] {
    const QString program = found("pavucontrol");
    return !program.isEmpty() && QProcess::startDetached(program, {QStringLiteral("--tab=4")});
  };
  // ... or the capture view of the sound card's mixer in a terminal.
  const auto terminal = [&] {
    if (found("alsamixer").isEmpty()) return false;
    QString program = found("x-terminal-emulator");
    if (program.isEmpty()) program = found("xterm");
    return !program.isEmpty() &&
           QProcess::startDetached(program, {QStringLiteral("-e"), QStringLiteral("alsamixer"), QStringLiteral("-V"),
                                             QStringLiteral("capture")});
  };
  if (IsVistaOrLater() ? desktop() || terminal() : terminal() || desktop()) return true;
  ShowInformation("No mixer program was found. Install pavucontrol or alsa-utils.");
  return false;
}

bool RecordToFile(TCustomForm* Owner, int& SampleRate, int& Channels, const std::string& FileName) {
  auto form = std::make_unique<TRecordControlForm>(Owner);
  if (Owner) CenterOverWindow(form.get(), Owner);
  form->RecordSampleRate = std::min(SampleRate, 48000);
  form->RecordChannels = Channels;
  GlobalVars.RecordingFile = FileName;
  DeleteFile(FileName);
  const bool kept = form->ShowModal() == mrOk;
  SampleRate = form->RecordSampleRate;
  Channels = form->RecordChannels;
  return kept;
}

void RegisterRecordControlClasses() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterGuiClasses();
    RegisterSkinDataClasses();
    RegisterSkinControlClasses();
    RegisterSpPngImageListClasses();
    RegisterAudioInputClasses();
    RegisterAudioRecord2();
    RegisterRecordingDialogClasses();
    RegisterClass<TRecordControlForm, TForm>();
    Published<TRecordControlForm>()
        .Method("FormCreate", &TRecordControlForm::FormCreate)
        .Method("FormShow", &TRecordControlForm::FormShow)
        .Method("FormClose", &TRecordControlForm::FormClose)
        .Method("ComboBoxDeviceChange", &TRecordControlForm::ComboBoxDeviceChange)
        .Method("ComboBoxMixerChange", &TRecordControlForm::ComboBoxMixerChange)
        .Method("ImageSliderVolumeChange", &TRecordControlForm::ImageSliderVolumeChange)
        .Method("ActionRecordExecute", &TRecordControlForm::ActionRecordExecute)
        .Method("ActionPauseExecute", &TRecordControlForm::ActionPauseExecute)
        .Method("ActionDeleteExecute", &TRecordControlForm::ActionDeleteExecute)
        .Method("ActionKeepExecute", &TRecordControlForm::ActionKeepExecute)
        .Method("ActionDiscardExecute", &TRecordControlForm::ActionDiscardExecute)
        .Method("ActionTimerRecordExecute", &TRecordControlForm::ActionTimerRecordExecute)
        .Method("ActionMixerExecute", &TRecordControlForm::ActionMixerExecute)
        .Method("ActionRWSSettingsExecute", &TRecordControlForm::ActionRWSSettingsExecute)
        .Method("ActionHelpExecute", &TRecordControlForm::ActionHelpExecute)
        .Method("ActionListUpdate", &TRecordControlForm::ActionListUpdate)
        .Method("TimerTimeDisplayTimer", &TRecordControlForm::TimerTimeDisplayTimer)
        .Method("TimerAutoStopTimer", &TRecordControlForm::TimerAutoStopTimer)
        .Method("TimerAutoStartTimer", &TRecordControlForm::TimerAutoStartTimer)
        .Method("TimerDeLevelTimer", &TRecordControlForm::TimerDeLevelTimer)
        .Method("deAudioControlSourceDataChanged", &TRecordControlForm::deAudioControlSourceDataChanged)
        .Method("CheckRecordingWithoutSilenceClick", &TRecordControlForm::CheckRecordingWithoutSilenceClick)
        .Method("LabelAdjustInVistaClick", &TRecordControlForm::LabelAdjustInVistaClick);
  });
}
