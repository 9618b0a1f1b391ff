// The frequency-analysis window and its feed of samples from the active document.
#include "Imports/AudioEditorControl.h"
#include "Imports/XOQAUDIOVISUALIZATION2Lib_TLB.h"
#include "app/Main.h"
#include "appbase/Globals.h"
#include "operations/FreAnalysis.h"

void TMainForm::ActionFrequencyAnalysisExecute(TObject*) {
  if (!FreAnalysisForm) {
    FreAnalysisForm = new TFreAnalysisForm(this);
    FreAnalysisForm->FeedFrequencyAnalysis = [this] { FeedFrequencyAnalysis(); };
  }
  FreAnalysisForm->SetBounds(GlobalVars.FreAnalysisFormLeft, GlobalVars.FreAnalysisFormTop,
                             GlobalVars.FreAnalysisFormWidth, GlobalVars.FreAnalysisFormHeight);
  FreAnalysisForm->Show();
}

void TMainForm::FeedFrequencyAnalysis() {
  // Samples are copied only while someone looks at them.
  if (!FreAnalysisForm || !FreAnalysisForm->Visible() || !FreAnalysisForm->AudioVisualization) return;
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  SampleBuffer a = e->CopyPcm(2 * FreAnalysisForm->AudioVisualization->WindowArraySize());
  FreAnalysisForm->AudioVisualization->FeedPcm(a);
}
