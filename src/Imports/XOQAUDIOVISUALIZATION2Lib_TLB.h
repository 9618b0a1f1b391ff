#pragma once
// TAudioVisualization2: the frequency-analysis display. FeedPcm analyses 2 × WindowArraySize
// frames (see audio/SpectrumAnalysis.h for the views, window types and levels) and redraws;
// the control maps its pixels to values with MouseValues, and OnMouseMove reports them.
// Properties by dispatch identifier: VisType 17, DisplayFont 22, WindowArraySize 24,
// WindowFFTType 28.

#include <string>

#include "Imports/AudioVisualizationDisplay.h"
#include "audio/SampleBuffer.h"
#include "audio/SpectrumAnalysis.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Events.h"

constexpr int DISPID_AudioVisualization2_VisType = 17;
constexpr int DISPID_AudioVisualization2_DisplayFont = 22;
constexpr int DISPID_AudioVisualization2_WindowArraySize = 24;
constexpr int DISPID_AudioVisualization2_WindowFFTType = 28;

using TAudioVisualization2MouseMoveEvent = TVisualizationMouseMoveEvent;
using TAudioVisualization2Font = TVisualizationFont;

class TAudioVisualization2 : public TAudioVisualizationView {
 public:
  explicit TAudioVisualization2(TComponent* AOwner);

  // Never raises for short or empty arrays.
  void FeedPcm(SampleBuffer& samples);

  int VisType() const { return FAnalysis.View(); }
  void SetVisType(int value);
  int WindowArraySize() const { return FAnalysis.Size(); }
  void SetWindowArraySize(int value) { FAnalysis.SetSize(value); }
  int WindowFFTType() const { return FAnalysis.WindowType(); }
  void SetWindowFFTType(int value) { FAnalysis.SetWindowType(value); }

  const SpectrumAnalysis& Analysis() const { return FAnalysis; }
  // The values at pixel (X, Y) of a display of width × height: the sample or frequency under X
  // and the level of the vertical scale under Y (0 dB at the top).
  void MouseValues(int X, int Y, int width, int height, int& XValue, int& YValue) const;
  // Reports the values of a mouse move over a display of that size.
  void MouseMove(int X, int Y, int width, int height);

 private:
  void UpdateSource();
  SpectrumAnalysis FAnalysis;
};

// Makes TAudioVisualization2 known to stored form descriptions, with its mouse-move event
// published. Safe to call more than once.
void RegisterAudioVisualization2();
