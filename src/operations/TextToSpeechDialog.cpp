#include "operations/TextToSpeechDialog.h"

#include <algorithm>

#include "appbase/Utils.h"
#include "operations/DialogSupport.h"
#include "platform/rtl/TypInfo.h"

TTextToSpeechForm::TTextToSpeechForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TTextToSpeechForm");
}

TTextToSpeechForm::~TTextToSpeechForm() { BeforeDestruction(); }

void TTextToSpeechForm::FormCreate(TObject*) {
  GroupBoxText = DialogComponent<TGroupBox>(this, "GroupBoxText");
  MemoInputString = DialogComponent<TMemo>(this, "MemoInputString");
  LabelVoice = DialogComponent<TLabel>(this, "LabelVoice");
  ComboBoxVoice = DialogComponent<TComboBox>(this, "ComboBoxVoice");
  LabelProgress = DialogComponent<TLabel>(this, "LabelProgress");
  ProgressBar = DialogComponent<TProgressBar>(this, "ProgressBar");
  ButtonSynthesize = DialogComponent<TButton>(this, "ButtonSynthesize");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");

  TextToAudio = new TTextToAudio2(this);
  TextToAudio->OnConvertBlock = TTextToAudio2ConvertBlockEvent::Bind(
      this, &TTextToSpeechForm::TextToAudioConvertBlock, "TextToAudioConvertBlock");
  TextToAudio->OnEndConvert =
      TNotifyEvent::Bind(this, &TTextToSpeechForm::TextToAudioEndConvert, "TextToAudioEndConvert");
  if (TextToAudio->VoiceCount() <= 0) {
    ShowErrorMessage("No Speech Engine detected.");
    FNoVoice = true;
    return;
  }
  for (int i = 0; i < TextToAudio->VoiceCount(); ++i) {
    TextToAudio->SetVoiceIndex(i);
    ComboBoxVoice->Items()->Add(TextToAudio->VoiceDescription());
  }
  TextToAudio->SetVoiceIndex(0);
  ComboBoxVoice->SetItemIndex(0);
}

void TTextToSpeechForm::FormShow(TObject*) {
  SubstituteDialogFont(this);
  if (FNoVoice) SetModalResult(mrCancel);
}

void TTextToSpeechForm::FormClose(TObject*, TCloseAction&) {
  // Closing while speaking means Cancel: nothing more is written into the file.
  TextToAudio->Stop();
}

void TTextToSpeechForm::FormDestroy(TObject*) {
  delete TextToAudio;
  TextToAudio = nullptr;
}

void TTextToSpeechForm::ComboBoxVoiceChange(TObject*) {
  TextToAudio->SetVoiceName(ComboBoxVoice->Text());
}

void TTextToSpeechForm::SetEditing(bool Editing) {
  MemoInputString->SetEnabled(Editing);
  LabelVoice->SetEnabled(Editing);
  ComboBoxVoice->SetEnabled(Editing);
  ButtonSynthesize->SetEnabled(Editing);
}

void TTextToSpeechForm::ButtonSynthesizeClick(TObject*) {
  if (MemoInputString->Lines()->Count() == 0) {
    ShowErrorMessage("No Text of Speech to Synthesize.");
    return;
  }
  TextToAudio->SetFormat(SpeechSampleRate, SpeechChannels);
  TextToAudio->SetSpeechRate(0);
  TextToAudio->SetSpeechVolume(100);
  TextToAudio->SetSpeechOption(true);
  BeginBusy();
  struct EndBusyOnExit {
    ~EndBusyOnExit() { EndBusy(); }
  } endBusy;
  SetEditing(false);
  std::string text = MemoInputString->Text();
  std::erase(text, '<');
  try {
    TextToAudio->ConvertToFile(text, SpeechFile, 16);
  } catch (...) {
    // Nothing is being spoken: the user may correct and try again.
    SetEditing(true);
    throw;
  }
}

void TTextToSpeechForm::ButtonCancelClick(TObject*) {
  TextToAudio->Stop();
  SetModalResult(mrCancel);
}

void TTextToSpeechForm::TextToAudioConvertBlock(TObject*, int Percent) {
  ProgressBar->SetPosition(Percent);
}

void TTextToSpeechForm::TextToAudioEndConvert(TObject*) {
  SetEditing(true);
  SetModalResult(mrOk);
}

void RegisterTextToSpeechDialogClasses() {
  RegisterTextToAudio2();
  RegisterClass<TTextToSpeechForm, TForm>();
  Published<TTextToSpeechForm>()
      .Method("FormCreate", &TTextToSpeechForm::FormCreate)
      .Method("FormShow", &TTextToSpeechForm::FormShow)
      .Method("FormClose", &TTextToSpeechForm::FormClose)
      .Method("FormDestroy", &TTextToSpeechForm::FormDestroy)
      .Method("ComboBoxVoiceChange", &TTextToSpeechForm::ComboBoxVoiceChange)
      .Method("ButtonSynthesizeClick", &TTextToSpeechForm::ButtonSynthesizeClick)
      .Method("ButtonCancelClick", &TTextToSpeechForm::ButtonCancelClick);
}
