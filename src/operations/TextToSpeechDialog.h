#pragma once
// "Synthesize Speech": typed text spoken by one of the installed voices into SpeechFile. The
// caller sets the rate, channels and file, shows the dialog modally and, after OK, inserts the
// file; the dialog ends with OK by itself once the synthesis has ended. Cancel and the close box
// stop a running synthesis.

#include <string>

#include "Imports/XOQTEXTTOAUDIO2Lib_TLB.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TTextToSpeechForm : public TForm {
 public:
  explicit TTextToSpeechForm(TComponent* AOwner);
  ~TTextToSpeechForm() override;

  TGroupBox* GroupBoxText{};
  TMemo* MemoInputString{};
  TLabel* LabelVoice{};
  TComboBox* ComboBoxVoice{};
  TLabel* LabelProgress{};
  TProgressBar* ProgressBar{};
  TButton *ButtonSynthesize{}, *ButtonCancel{};

  int SpeechSampleRate = 44100;
  int SpeechChannels = 2;
  std::string SpeechFile;
  TTextToAudio2* TextToAudio{};

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormDestroy(TObject* Sender);
  void ComboBoxVoiceChange(TObject* Sender);
  void ButtonSynthesizeClick(TObject* Sender);
  void ButtonCancelClick(TObject* Sender);
  void TextToAudioConvertBlock(TObject* Sender, int Percent);
  void TextToAudioEndConvert(TObject* Sender);

 private:
  // The text, the voice and the Synthesize button take input only while nothing is spoken.
  void SetEditing(bool Editing);
  bool FNoVoice = false;
};

void RegisterTextToSpeechDialogClasses();
