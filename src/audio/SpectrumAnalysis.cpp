#include "audio/SpectrumAnalysis.h"

#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <mutex>

namespace {

// FFTW's planner is not reentrant.
std::mutex& PlannerLock() {
  static std::mutex lock;
  return lock;
}

float ToDb(double amplitude) {
  return amplitude > 0 ? std::max(SpectrumAnalysis::kFloor, float(20 * std::log10(amplitude)))
                       : SpectrumAnalysis::kFloor;
}

}  // namespace

SpectrumAnalysis::SpectrumAnalysis() { Plan(); }

SpectrumAnalysis::~SpectrumAnalysis() {
  std::lock_guard l(PlannerLock());
  if (FPlan) fftwf_destroy_plan(static_cast<fftwf_plan>(FPlan));
  fftwf_free(FBuffer);
}

void SpectrumAnalysis::SetSize(int frames) {
  frames = std::clamp(frames, 16, 65536);
  if (frames == FSize) return;
  FSize = frames;
  Plan();
}

void SpectrumAnalysis::SetWindowType(int type) {
  FWindowType = std::clamp(type, 0, kWindowTypes - 1);
  Plan();
}

void SpectrumAnalysis::SetView(int view) { FView = std::clamp(view, 0, 5); }

void SpectrumAnalysis::Plan() {
  {
    std::lock_guard l(PlannerLock());
    if (FPlan) fftwf_destroy_plan(static_cast<fftwf_plan>(FPlan));
    fftwf_free(FBuffer);
    FBuffer = static_cast<float*>(fftwf_malloc(sizeof(float) * size_t(2 * (FSize / 2 + 1))));
    FPlan = fftwf_plan_dft_r2c_1d(FSize, FBuffer, reinterpret_cast<fftwf_complex*>(FBuffer),
                                  FFTW_ESTIMATE);
  }
  FWindow.resize(size_t(FSize));
  const double n = FSize;
  FWindowSum = 0;
  for (int i = 0; i < FSize; ++i) {
    const double x = 2 * M_PI * i / n;
    double w = 1;
    switch (FWindowType) {
      case 0:
        w = 0.5 - 0.5 * std::cos(x);
        break;
      case 1:
        w = 0.54 - 0.46 * std::cos(x);
        break;
      case 2:
        w = 0.42 - 0.5 * std::cos(x) + 0.08 * std::cos(2 * x);
        break;
      case 3:
        w = 1;
        break;
      case 4:
        w = 0.21557895 - 0.41663158 * std::cos(x) + 0.277263158 * std::cos(2 * x) -
            0.083578947 * std::cos(3 * x) + 0.006947368 * std::cos(4 * x);
        break;
    }
    FWindow[size_t(i)] = float(w);
    FWindowSum += w;
  }
  FSpectrum.assign(size_t(FSize / 2 + 1), kFloor);
  FWave.assign(size_t(FSize), 0.f);
}

void SpectrumAnalysis::Feed(const SampleBuffer& pcm) {
  if (pcm.SampleRate() > 0) FRate = pcm.SampleRate();
  const int channels = std::max(1, pcm.Channels());
  const int64_t frames = pcm.ValueCount() / channels;
  FIn.assign(size_t(2 * FSize), 0.f);
  for (int64_t f = 0; f < std::min<int64_t>(frames, 2 * FSize); ++f) {
    float sum = 0;
    for (int c = 0; c < channels; ++c) sum += pcm[f * channels + c];
    FIn[size_t(f)] = sum / float(channels);
  }
  std::copy(FIn.begin(), FIn.begin() + FSize, FWave.begin());
  const int bins = FSize / 2 + 1;
  std::vector<double> power(size_t(bins), 0.0);
  const int starts[] = {0, FSize / 2, FSize};
  for (int s : starts) {
    for (int i = 0; i < FSize; ++i) FBuffer[i] = FIn[size_t(s + i)] * FWindow[size_t(i)];
    fftwf_execute(static_cast<fftwf_plan>(FPlan));
    const fftwf_complex* out = reinterpret_cast<const fftwf_complex*>(FBuffer);
    for (int k = 0; k < bins; ++k)
      power[size_t(k)] += double(out[k][0]) * out[k][0] + double(out[k][1]) * out[k][1];
  }
  for (int k = 0; k < bins; ++k) {
    // A sine of amplitude A centred on bin k gives |X| = A × sum(w) / 2.
    const double amplitude = std::sqrt(power[size_t(k)] / 3) * 2 / FWindowSum;
    FSpectrum[size_t(k)] = ToDb(k == 0 || k == FSize / 2 ? amplitude / 2 : amplitude);
  }
}

double SpectrumAnalysis::XValueAt(double fraction) const {
  fraction = std::clamp(fraction, 0.0, 1.0);
  if (FView == 0) return std::round(fraction * (FSize - 1));
  const double top = FRate / 2.0;
  if (FView == 1) return fraction * top;
  const double bottom = BinHz();
  return bottom * std::pow(top / bottom, fraction);
}

float SpectrumAnalysis::LevelAt(double fraction) const {
  const double x = XValueAt(fraction);
  if (FView == 0) return ToDb(std::fabs(FWave[size_t(x)]));
  const int k = std::clamp(int(std::lround(x / BinHz())), 0, FSize / 2);
  return FSpectrum[size_t(k)];
}

float SpectrumAnalysis::ScaleLevelAt(double fraction) {
  return float(std::clamp(fraction, 0.0, 1.0) * kFloor);
}
