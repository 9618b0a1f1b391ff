#include "Imports/XOQAUDIOVISUALIZATION2Lib_TLB.h"

#include <algorithm>
#include <cmath>
#include <mutex>

#include "platform/rtl/TypInfo.h"

TAudioVisualization2::TAudioVisualization2(TComponent* AOwner) : TAudioVisualizationView(AOwner) {
  UpdateSource();
}

void TAudioVisualization2::UpdateSource() {
  TVisualizationSource source;
  source.View = FAnalysis.View();
  source.Floor = SpectrumAnalysis::Floor();
  source.LevelAt = [this](double f) { return FAnalysis.LevelAt(f); };
  source.XValueAt = [this](double f) { return FAnalysis.XValueAt(f); };
  SetSource(std::move(source));
}

void TAudioVisualization2::SetVisType(int value) {
  FAnalysis.SetView(value);
  UpdateSource();
}

void TAudioVisualization2::FeedPcm(SampleBuffer& samples) {
  FAnalysis.Feed(samples);
  Invalidate();
}

void TAudioVisualization2::MouseValues(int X, int Y, int width, int height, int& XValue,
                                       int& YValue) const {
  const double fx = width > 1 ? double(X) / (width - 1) : 0;
  const double fy = height > 1 ? double(Y) / (height - 1) : 0;
  XValue = int(std::lround(FAnalysis.XValueAt(fx)));
  YValue = int(std::lround(SpectrumAnalysis::ScaleLevelAt(fy)));
}

void TAudioVisualization2::MouseMove(int X, int Y, int width, int height) {
  int xv = 0, yv = 0;
  MouseValues(X, Y, width, height, xv, yv);
  if (OnMouseMove) OnMouseMove(this, X, Y, xv, yv);
}

void RegisterAudioVisualization2() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterControlClasses();
    RegisterClass<TAudioVisualization2, TCustomControl>("TAudioVisualization2");
    Published<TAudioVisualization2>().Property(
        "OnMouseMove", static_cast<TAudioVisualization2MouseMoveEvent TAudioVisualization2::*>(
                           &TAudioVisualizationView::OnMouseMove));
  });
}
