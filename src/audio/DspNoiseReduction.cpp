#include "audio/DspNoiseReduction.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/DspKernels.h"

namespace {

// The gain is decided every kStep frames from the level at that moment and glides linearly
// between decisions.
constexpr int kStep = 16;
constexpr double kOpen = 0.001;
constexpr double kClose = 0.030;
constexpr double kFloorDb = -120;  // a gate's "silence"
constexpr size_t kReport = size_t(1) << 20;

}  // namespace

double DspNoiseReductionGainDb(double levelDb, double threshold, double rate) {
  if (levelDb >= threshold) return 0;
  if (rate >= 100) return kFloorDb;
  const double ratio = 1 / (1 - rate / 100);
  return std::max(kFloorDb, (levelDb - threshold) * (ratio - 1));
}

void DspCheckNoiseReduction(double threshold, double rate, double rmsTime) {
  DspCheckRange("Noise Reduction", "the threshold", threshold, -96, 10, "dB");
  DspCheckRange("Noise Reduction", "the rate", rate, 1, 100, "%");
  DspCheckRange("Noise Reduction", "the root-mean-square time", rmsTime, 0, 1000, "ms");
}

void DspNoiseReduction(const DspSignal& s, double threshold, double rate, double rmsTime,
                       DspStreams* streams, const DspProgress& progress) {
  DspCheckNoiseReduction(threshold, rate, rmsTime);
  char key[160];
  std::snprintf(key, sizeof key, "noisereduction|%.17g|%.17g|%.17g|%.17g|%d", threshold, rate,
                rmsTime, s.SampleRate, s.Channels);
  DspNoiseReductionState local;
  bool continued = false;
  DspNoiseReductionState& st = streams && streams->InBlock()
                                   ? streams->Acquire<DspNoiseReductionState>(key, continued)
                                   : local;
  if (streams && !streams->InBlock()) streams->Pass(key);
  if (s.Frames == 0) return;

  const double fs = s.SampleRate;
  const size_t window = std::max<size_t>(1, size_t(std::llround(rmsTime * fs / 1000)));
  if (st.Window.size() != window) {
    st.Window.assign(window, 0.0);
    st.Position = 0;
    st.Sum = 0;
  }
  const double open = 1 - std::exp(-kStep / (kOpen * fs));
  const double close = 1 - std::exp(-kStep / (kClose * fs));
  const int channels = s.Channels;
  for (size_t i = 0; i < s.Frames; ++i) {
    if (st.Step == 0) {
      const double meanSquare = std::max(0.0, st.Sum) / double(window);
      const double levelDb = 10 * std::log10(2 * meanSquare + 1e-30);
      const double target = DspNoiseReductionGainDb(levelDb, threshold, rate);
      if (target > st.GainDb) {
        // Opening glides in amplitude, so a gate that was shut is nearly open within 2 ms;
        // closing glides in decibels, an even fade down to the floor.
        const double now = std::pow(10.0, st.GainDb / 20);
        const double next = now + open * (std::pow(10.0, target / 20) - now);
        st.GainDb = std::max(kFloorDb, 20 * std::log10(next));
      } else {
        st.GainDb += close * (target - st.GainDb);
      }
      st.From = st.To;
      st.To = st.GainDb <= kFloorDb + 1 ? 0.0f : float(std::pow(10.0, st.GainDb / 20));
    }
    float* f = s.Frame(i);
    double square = 0;
    for (int c = 0; c < channels; ++c) square = std::max(square, double(f[c]) * f[c]);
    st.Sum += square - st.Window[st.Position];
    st.Window[st.Position] = square;
    if (++st.Position == window) {
      // The running sum drifts with rounding; it is recounted once per turn of the ring.
      st.Position = 0;
      double sum = 0;
      for (double v : st.Window) sum += v;
      st.Sum = sum;
    }
    const float g = st.From + (st.To - st.From) * float(st.Step + 1) / float(kStep);
    for (int c = 0; c < channels; ++c) f[c] *= g;
    if (++st.Step == kStep) st.Step = 0;
    if (progress && i % kReport == kReport - 1) progress(int(100.0 * double(i) / double(s.Frames)));
  }
}
