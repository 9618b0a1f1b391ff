#pragma once
// SpectrumAnalysis: the numbers behind the frequency-analysis display. Feed takes 2 × Size frames
// (channels mixed to one), windows three half-overlapping stretches of Size frames and averages
// their power spectra, so 0 dB is a full-scale sine centred on a bin. Short or empty input is
// padded with silence. Levels are in dB, never below Floor().
//
// Window types: 0 Hann, 1 Hamming, 2 Blackman, 3 rectangular, 4 flat top.
// Views: 0 the waveform (x in samples, y the level of each sample in dB), 1 the spectrum on a
// linear frequency axis, 2..5 on a logarithmic axis (3..5 are colourings of 2).

#include <cstdint>
#include <vector>

#include "audio/SampleBuffer.h"

class SpectrumAnalysis {
 public:
  static constexpr float kFloor = -120.f;
  static constexpr int kWindowTypes = 5;

  SpectrumAnalysis();
  ~SpectrumAnalysis();
  SpectrumAnalysis(const SpectrumAnalysis&) = delete;
  SpectrumAnalysis& operator=(const SpectrumAnalysis&) = delete;

  // 16..65536 frames.
  void SetSize(int frames);
  int Size() const { return FSize; }
  void SetWindowType(int type);
  int WindowType() const { return FWindowType; }
  void SetView(int view);
  int View() const { return FView; }

  void Feed(const SampleBuffer& pcm);

  int SampleRate() const { return FRate; }
  // Level of bins 0..Size/2 in dB.
  const std::vector<float>& Spectrum() const { return FSpectrum; }
  // The first Size mixed frames (linear) of the last feed.
  const std::vector<float>& Waveform() const { return FWave; }
  double BinHz() const { return double(FRate) / FSize; }
  static float Floor() { return kFloor; }

  // What a display shows at a horizontal place (0 left .. 1 right) in the current view: the
  // sample number or the frequency in Hz, and the level there in dB.
  double XValueAt(double fraction) const;
  float LevelAt(double fraction) const;
  // The level of the vertical scale at a place (0 top = 0 dB .. 1 bottom = Floor()).
  static float ScaleLevelAt(double fraction);

 private:
  void Plan();

  int FSize = 1024, FWindowType = 0, FView = 0, FRate = 44100;
  std::vector<float> FWindow, FSpectrum, FWave, FIn;
  void* FPlan = nullptr;
  float* FBuffer = nullptr;  // FFTW's in-place real/complex buffer
  double FWindowSum = 0;
};
