#pragma once
// The two small dialogs of the recording window: the recording timer (an automatic start at a
// date and time, a stop after a duration) and the settings of recording without silence. The
// recording window fills the timer dialog itself and reads it back after OK; the silence dialog
// moves its four values through LoadSettings and SaveSettings.

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TRecordingTimerForm : public TForm {
 public:
  explicit TRecordingTimerForm(TComponent* AOwner);
  ~TRecordingTimerForm() override;

  TLabel *LabelStartRecording{}, *LabelWhenRecording{}, *LabelHours{};
  TRadioButton *RadioButtonManually{}, *RadioButtonAutomatically{};
  TDateTimePicker *DateTimePickerAutomaticallyData{}, *DateTimePickerAutomaticallyTime{},
      *DateTimePickerWhenRecordingTime{};
  TCheckBox* CheckBoxStopAfter{};
  TButton *ButtonOK{}, *ButtonCancel{};

  // The start the two start pickers name: their date and their time of day.
  TDateTime StartAt() const;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void RadioButtonAutomaticallyClick(TObject* Sender);
  void CheckBoxStopAfterClick(TObject* Sender);
  void ButtonOKClick(TObject* Sender);
};

class TRecordingWithoutSilenceForm : public TForm {
 public:
  explicit TRecordingWithoutSilenceForm(TComponent* AOwner);
  ~TRecordingWithoutSilenceForm() override;

  TGroupBox *gbAttack{}, *gbRelease{};
  TEdit *EditAttackTime{}, *EditAttackLevel{}, *EditReleaseTime{}, *EditReleaseLevel{};
  TButton *ButtonOK{}, *ButtonCancel{}, *ButtonHelp{};

  void LoadSettings();
  // Raises EConvertError for an edit that holds no number; the values before it are stored.
  void SaveSettings();

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void EditAttackLevelKeyPress(TObject* Sender, char32_t& Key);
  void EditReleaseLevelKeyPress(TObject* Sender, char32_t& Key);
  void ButtonOKClick(TObject* Sender);
  void ButtonHelpClick(TObject* Sender);
};

void RegisterRecordingDialogClasses();
