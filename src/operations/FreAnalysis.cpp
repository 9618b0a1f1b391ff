#include "operations/FreAnalysis.h"

#include "appbase/Globals.h"
#include "operations/DialogSupport.h"
#include "platform/rtl/TypInfo.h"

TFreAnalysisForm::TFreAnalysisForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TFreAnalysisForm");
}

void TFreAnalysisForm::FormCreate(TObject*) {
  AudioVisualization = DialogComponent<TAudioVisualization2>(this, "AudioVisualization");
  Line = DialogComponent<TBevel>(this, "Line");
  LabelFreqTitle = DialogComponent<TLabel>(this, "LabelFreqTitle");
  LabelFreq = DialogComponent<TLabel>(this, "LabelFreq");
  LabelValueTitle = DialogComponent<TLabel>(this, "LabelValueTitle");
  LabelValue = DialogComponent<TLabel>(this, "LabelValue");
  LabelType = DialogComponent<TLabel>(this, "LabelType");
  LabelFFTSize = DialogComponent<TLabel>(this, "LabelFFTSize");
  ComboBoxViewType = DialogComponent<TComboBox>(this, "ComboBoxViewType");
  ComboBoxFFTSize = DialogComponent<TComboBox>(this, "ComboBoxFFTSize");

  TAudioVisualization2Font font = AudioVisualization->DisplayFont();
  font.Name = "Tahoma";
  font.Size = 7;
  AudioVisualization->SetDisplayFont(font);
}

void TFreAnalysisForm::ApplySettings() {
  AudioVisualization->SetVisType(ComboBoxViewType->ItemIndex());
  AudioVisualization->SetWindowFFTType(0);
  AudioVisualization->SetWindowArraySize(StrToInt(ComboBoxFFTSize->Text()));
  if (FeedFrequencyAnalysis) FeedFrequencyAnalysis();
}

void TFreAnalysisForm::FormShow(TObject*) {
  SubstituteDialogFont(this);
  ApplySettings();
}

void TFreAnalysisForm::FormClose(TObject*, TCloseAction& Action) {
  LabelFreq->SetCaption(Format("%d hz", {0}));
  LabelValue->SetCaption(Format("%d dB", {0}));
  GlobalVars.FreAnalysisFormLeft = Left();
  GlobalVars.FreAnalysisFormTop = Top();
  GlobalVars.FreAnalysisFormWidth = Width();
  GlobalVars.FreAnalysisFormHeight = Height();
  Action = caHide;
}

void TFreAnalysisForm::ComboBoxFFTSizeClick(TObject*) { ApplySettings(); }

void TFreAnalysisForm::ComboBoxViewTypeClick(TObject*) { ApplySettings(); }

void TFreAnalysisForm::AudioVisualizationMouseMove(TObject*, int, int, int XValue, int YValue) {
  LabelValue->SetCaption(Format("%d dB", {YValue}));
  LabelFreq->SetCaption(Format(AudioVisualization->VisType() == 0 ? "%d smpl" : "%d hz", {XValue}));
}

void RegisterFreAnalysisClasses() {
  RegisterAudioVisualization2();
  RegisterClass<TFreAnalysisForm, TForm>();
  Published<TFreAnalysisForm>()
      .Method("FormCreate", &TFreAnalysisForm::FormCreate)
      .Method("FormShow", &TFreAnalysisForm::FormShow)
      .Method("FormClose", &TFreAnalysisForm::FormClose)
      .Method("ComboBoxFFTSizeClick", &TFreAnalysisForm::ComboBoxFFTSizeClick)
      .Method("ComboBoxViewTypeClick", &TFreAnalysisForm::ComboBoxViewTypeClick)
      .Method("AudioVisualizationMouseMove", &TFreAnalysisForm::AudioVisualizationMouseMove);
}
