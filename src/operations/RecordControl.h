#pragma once
// "Recording": records the sound card's input into the work file RecordingFile. The user picks
// the device and its line, watches the input levels, records, pauses, continues or deletes, may
// let a timer start and stop the recording, and may leave out the silences. Keep ends the window
// with OK (the caller inserts the file), Discard and the close box with Cancel.
//
// Times are taken from the platform's monotonic clock (GetTickCount), so the time display and a
// timed stop never jump with the time of day; only the automatic start, which names a date and
// a time, compares with Now.

#include <cstdint>
#include <string>

#include "Imports/XOQAUDIOFILE2Lib_TLB.h"
#include "Imports/XOQAUDIORECORD2Lib_TLB.h"
#include "acm/deAudioControls.h"
#include "acm/deAudioIO.h"
#include "controls/SkinCtrls.h"
#include "controls/SkinData.h"
#include "controls/spPngImageList.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TRecordControlForm : public TForm {
 public:
  explicit TRecordControlForm(TComponent* AOwner);
  ~TRecordControlForm() override;

  TPanel* PanelMain{};
  TPanel* PanelTime{};
  TLabel *LabelRecordingConsole{}, *LabelTransport{}, *LabelTime{}, *LabelStatusCaptain{}, *LabelLabelStatus{},
      *LabelRecordingStops{}, *LabelRecordingTimer{}, *LabelDevice{}, *LabelLineIn{}, *LabelCurrent{},
      *LabelAdjustInVista{}, *LabelInputLevel{}, *Label0{}, *Label100{}, *LabelHigh{};
  TComboBox *ComboBoxDevice{}, *ComboBoxMixer{};
  TspSkinTrackBar* ImageSliderVolume{};
  TspSkinGauge *spSkinGaugeLeft{}, *spSkinGaugeRight{};
  TspSkinButton *ButtonRecord{}, *ButtonPause{}, *ButtonDelete{}, *ButtonTimerRecord{}, *ButtonMixer{},
      *ButtonRWSSettings{};
  TspSkinCheckRadioBox* CheckRecordingWithoutSilence{};
  TButton *ButtonKeep{}, *ButtonDiscard{}, *ButtonHelp{};
  TActionList* ActionList{};
  TAction *ActionRecord{}, *ActionPause{}, *ActionDelete{}, *ActionKeep{}, *ActionDiscard{}, *ActionHelp{},
      *ActionTimerRecord{}, *ActionMixer{}, *ActionRWSSettings{};
  TTimer *TimerTimeDisplay{}, *TimerAutoStop{}, *TimerAutoStart{}, *TimerDeLevel{};
  TspCompressedStoredSkin* spCompressedStoredSkin{};
  TspSkinData* spSkinData{};
  TspPngImageList* spPngImageList{};
  TdeAudioIn* deAudioIn{};
  TdeAudioControlSource* deAudioControlSource{};
  TAudioRecord2* AudioRecord{};
  TAudioFile2* AudioFile{};

  // The state (see the status texts). Times are GetTickCount milliseconds.
  bool NothingRecorded = true;
  bool Recording = false;
  bool Paused = false;
  int BlockSamples = 0;
  int64_t StartTime = 0, PauseTime = 0, ContinueTime = 0, PausedTotal = 0;
  bool AutoStartArmed = false;
  TDateTime AutoStartAt = 0;
  bool StopAfterEnabled = false;
  int64_t StopAfterStart = 0;
  TDateTime StopAfterDuration = 0;
  int RecordSampleRate = 44100;
  int RecordChannels = 2;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void ComboBoxDeviceChange(TObject* Sender);
  void ComboBoxMixerChange(TObject* Sender);
  void ImageSliderVolumeChange(TObject* Sender);
  void ActionRecordExecute(TObject* Sender);
  void ActionPauseExecute(TObject* Sender);
  void ActionDeleteExecute(TObject* Sender);
  void ActionKeepExecute(TObject* Sender);
  void ActionDiscardExecute(TObject* Sender);
  void ActionTimerRecordExecute(TObject* Sender);
  void ActionMixerExecute(TObject* Sender);
  void ActionRWSSettingsExecute(TObject* Sender);
  void ActionHelpExecute(TObject* Sender);
  void ActionListUpdate(TBasicAction* Action, bool& Handled);
  void TimerTimeDisplayTimer(TObject* Sender);
  void TimerAutoStopTimer(TObject* Sender);
  void TimerAutoStartTimer(TObject* Sender);
  void TimerDeLevelTimer(TObject* Sender);
  void deAudioControlSourceDataChanged(TObject* Sender);
  void AudioRecordEndArrayRecord(TObject* Sender, int nBlock);
  void CheckRecordingWithoutSilenceClick(TObject* Sender);
  void LabelAdjustInVistaClick(TObject* Sender);

  void SelectLine();
  void FillLines();
  void SetRecordFormat();
  void ApplySilenceSettings();
  // False when the recorder did not start (the message was shown and the window is ready).
  bool StartRecording(const std::string& FileName);
  void PauseRecording();
  bool ContinueRecording();
  void StopRecording();

 private:
  // The wave input of the level gauges listens to the chosen device.
  void FollowDevice(int Device);
  std::string ElapsedText() const;
  uint32_t FLastDeLevel = 0;
};

// The mixer program that stands in for the system's recording mixer: the first of these found
// on PATH is started. False (after the information box) when there is none.
bool StartMixerProgram();

// Shows the recording window over Owner for a recording of SampleRate (at most 48000 is used)
// and Channels into FileName, which is deleted first. True when the user kept the recording;
// after Discard the file may hold what was recorded and is the caller's to delete. SampleRate
// and Channels come back as the format the window recorded in.
bool RecordToFile(TCustomForm* Owner, int& SampleRate, int& Channels, const std::string& FileName);

void RegisterRecordControlClasses();
