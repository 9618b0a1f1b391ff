#include "Imports/XOQAUDIOVISUALIZATION2Lib_TLB.h"

#include <algorithm>
#include <cmath>

TAudioVisualization2::TAudioVisualization2(TComponent* AOwner) : TComponent(AOwner) {}

void TAudioVisualization2::FeedPcm(SampleBuffer& samples) { FAnalysis.Feed(samples); }

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
