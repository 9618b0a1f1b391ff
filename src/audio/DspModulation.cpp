#include "audio/DspModulation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/DspDelay.h"
#include "audio/DspKernels.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kMostFeedback = 0.9;
constexpr size_t kReport = size_t(1) << 20;  // frames between progress reports

const char* Name(DspModulationKind kind) {
  return kind == DspModulationKind::Flanger ? "Flanger" : "Chorus";
}

size_t PowerOfTwoAbove(size_t n) {
  size_t p = 1;
  while (p < n) p <<= 1;
  return p;
}

}  // namespace

double DspModulationBaseDelay(DspModulationKind kind, double delayRate) {
  return delayRate / 100 * (kind == DspModulationKind::Flanger ? 10.0 : 50.0);
}

double DspModulationSweep(double sweepDepth) { return sweepDepth / 100 * 10.0; }

double DspModulationFrequency(double sweepRate) { return sweepRate / 100 * 10.0; }

void DspCheckModulation(DspModulationKind kind, double delayRate, double mixDepth,
                        double feedbackGain, double sweepDepth, double sweepRate, double sweepPhase) {
  const char* e = Name(kind);
  DspCheckRange(e, "the delay rate", delayRate, 0, 100, "%");
  DspCheckRange(e, "the mix depth", mixDepth, 0, 100, "%");
  DspCheckRange(e, "the feedback gain", feedbackGain, 0, 100, "%");
  DspCheckRange(e, "the sweep depth", sweepDepth, 0, 100, "%");
  DspCheckRange(e, "the sweep rate", sweepRate, 0, 100, "%");
  DspCheckRange(e, "the sweep phase", sweepPhase, 0, 359, "degrees");
}

void DspModulation(const DspSignal& s, DspModulationKind kind, double delayRate, double mixDepth,
                   double feedbackGain, double sweepDepth, double sweepRate, double sweepPhase,
                   DspStreams* streams, const DspProgress& progress) {
  DspCheckModulation(kind, delayRate, mixDepth, feedbackGain, sweepDepth, sweepRate, sweepPhase);
  char key[200];
  std::snprintf(key, sizeof key, "%s|%.17g|%.17g|%.17g|%.17g|%.17g|%.17g|%.17g|%d", Name(kind),
                delayRate, mixDepth, feedbackGain, sweepDepth, sweepRate, sweepPhase, s.SampleRate,
                s.Channels);
  DspModulationState local;
  bool continued = false;
  DspModulationState& st = streams && streams->InBlock()
                               ? streams->Acquire<DspModulationState>(key, continued)
                               : local;
  if (streams && !streams->InBlock()) streams->Pass(key);
  if (s.Frames == 0) return;

  const int channels = s.Channels;
  const double fs = s.SampleRate;
  const double base = std::max(1.0, DspModulationBaseDelay(kind, delayRate) * fs / 1000);
  const double sweep = DspModulationSweep(sweepDepth) * fs / 1000;
  const double step = DspModulationFrequency(sweepRate) / fs;  // cycles per frame
  const double offset = sweepPhase / 360;
  const float wet = float(mixDepth / 200), dry = 1 - wet;
  const float feedback = float(DspFeedback(feedbackGain, kMostFeedback));
  const size_t ring = PowerOfTwoAbove(size_t(std::ceil(base + sweep)) + 4);
  const size_t mask = ring - 1;
  if (st.Line.size() != ring * size_t(channels)) {
    st.Line.assign(ring * size_t(channels), 0.0f);
    st.Last.assign(size_t(channels), 0.0f);
    st.Position = 0;
    st.Phase = 0;
  }
  DspDenormalGuard guard;
  float* line = st.Line.data();
  for (size_t i = 0; i < s.Frames; ++i) {
    float* f = s.Frame(i);
    const size_t w = st.Position;
    for (int c = 0; c < channels; ++c) {
      const double phase = st.Phase + (c == 1 ? offset : 0.0);
      // Starts at the base delay and swings up by the sweep.
      const double delay = base + sweep * 0.5 * (1 - std::cos(kTwoPi * phase));
      const double at = double(w) - delay;
      const double whole = std::floor(at);
      const float frac = float(at - whole);
      const size_t r0 = size_t(int64_t(whole)) & mask;
      const size_t r1 = (r0 + 1) & mask;
      const float a = line[r0 * size_t(channels) + size_t(c)];
      const float b = line[r1 * size_t(channels) + size_t(c)];
      const float delayed = a + frac * (b - a);
      const float x = f[c];
      line[w * size_t(channels) + size_t(c)] = x + feedback * delayed;
      f[c] = dry * x + wet * delayed;
      st.Last[size_t(c)] = delayed;
    }
    st.Position = (w + 1) & mask;
    st.Phase += step;
    if (st.Phase >= 1) st.Phase -= 1;
    if (progress && i % kReport == kReport - 1) progress(int(100.0 * double(i) / double(s.Frames)));
  }
}

void DspCheckPhaser(double delay, double mixDepth, double feedbackGain) {
  DspCheckRange("Phaser", "the delay time", delay, 0, 5000, "ms");
  DspCheckRange("Phaser", "the mix depth", mixDepth, 0, 100, "%");
  DspCheckRange("Phaser", "the feedback gain", feedbackGain, 0, 100, "%");
}

void DspPhaser(const DspSignal& s, double delay, double mixDepth, double feedbackGain,
               DspStreams* streams, const DspProgress& progress) {
  DspCheckPhaser(delay, mixDepth, feedbackGain);
  char key[160];
  std::snprintf(key, sizeof key, "phaser|%.17g|%.17g|%.17g|%.17g|%d", delay, mixDepth, feedbackGain,
                s.SampleRate, s.Channels);
  DspPhaserState local;
  bool continued = false;
  DspPhaserState& st =
      streams && streams->InBlock() ? streams->Acquire<DspPhaserState>(key, continued) : local;
  if (streams && !streams->InBlock()) streams->Pass(key);
  if (s.Frames == 0) return;

  constexpr int kSections = 6;
  constexpr int kControl = 16;  // frames between updates of the all-pass coefficient
  const int channels = s.Channels;
  const double fs = s.SampleRate;
  const double step = delay > 0 ? 1000.0 / delay / fs : 0.0;
  const double wet = mixDepth / 200, dry = 1 - wet;
  const double feedback = DspFeedback(feedbackGain, kMostFeedback);
  if (st.Memory.size() != size_t(channels) * kSections * 2) {
    st.Memory.assign(size_t(channels) * kSections * 2, 0.0);
    st.Last.assign(size_t(channels), 0.0);
    st.Phase = 0;
  }
  DspDenormalGuard guard;
  double coefficient = st.Coefficient;
  for (size_t i = 0; i < s.Frames; ++i) {
    if (st.Control-- == 0) {
      st.Control = kControl - 1;
      const double sweep = 0.5 * (1 - std::cos(kTwoPi * st.Phase));
      const double turn = std::min(200.0 * std::pow(16.0, sweep), 0.45 * fs);
      const double t = std::tan(kTwoPi / 2 * turn / fs);
      coefficient = st.Coefficient = (t - 1) / (t + 1);
    }
    float* f = s.Frame(i);
    for (int c = 0; c < channels; ++c) {
      double* m = st.Memory.data() + size_t(c) * kSections * 2;
      double v = f[c] + feedback * st.Last[size_t(c)];
      for (int k = 0; k < kSections; ++k) {
        // y = a x + x1 - a y1
        const double y = coefficient * v + m[2 * k] - coefficient * m[2 * k + 1];
        m[2 * k] = v;
        m[2 * k + 1] = y;
        v = y;
      }
      st.Last[size_t(c)] = v;
      f[c] = float(dry * f[c] + wet * v);
    }
    st.Phase += step;
    if (st.Phase >= 1) st.Phase -= 1;
    if (progress && i % kReport == kReport - 1) progress(int(100.0 * double(i) / double(s.Frames)));
  }
}
