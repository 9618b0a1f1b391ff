#pragma once
// The frequency analysis window: a tool window above the others showing the spectrum (or the
// waveform) of the samples at the selection start. It is made once, hidden, and hidden again by
// its close box, which keeps its bounds in the settings. It never reads a document: whenever it
// needs samples it asks FeedFrequencyAnalysis, which the main window connects.

#include <functional>

#include "Imports/XOQAUDIOVISUALIZATION2Lib_TLB.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TFreAnalysisForm : public TForm {
 public:
  explicit TFreAnalysisForm(TComponent* AOwner);

  TAudioVisualization2* AudioVisualization{};
  TBevel* Line{};
  TLabel *LabelFreqTitle{}, *LabelFreq{}, *LabelValueTitle{}, *LabelValue{};
  TLabel *LabelType{}, *LabelFFTSize{};
  TComboBox *ComboBoxViewType{}, *ComboBoxFFTSize{};

  // Called for a fresh block after every change of the view or the transform size: while the
  // window shows, the main window hands 2 × WindowArraySize frames to the display's FeedPcm.
  std::function<void()> FeedFrequencyAnalysis;

  // The two lists' choices go to the display, then a fresh block is asked for.
  void ApplySettings();

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void ComboBoxFFTSizeClick(TObject* Sender);
  void ComboBoxViewTypeClick(TObject* Sender);
  void AudioVisualizationMouseMove(TObject* Sender, int X, int Y, int XValue, int YValue);
};

void RegisterFreAnalysisClasses();
