#include "audio/DspModulation.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/DspDelay.h"
#include "audio/DspKernels.h"
#include "audio/DspParallel.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
constexpr double kMostFeedback = 0.9;
constexpr size_t kReport = size_t(1) << 20;  // frames between progress reports
constexpr int kSegment = 32;                  // frames between exact readings of the sweep

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
    st.Frame = 0;
  }
  // The delay of frame m: the oscillator's phase comes from the frame's number, so a run cut
  // anywhere gives the same sweep.
  auto delayAt = [&](uint64_t m, double channelOffset) {
    double phase = double(m) * step;
    phase -= std::floor(phase);
    return base + sweep * 0.5 * (1 - std::cos(kTwoPi * (phase + channelOffset)));
  };
  const uint64_t frame0 = st.Frame;
  auto channel = [&](size_t c, const DspProgress& report) {
    DspDenormalGuard guard;
    const double channelOffset = c == 1 ? offset : 0.0;
    float* line = st.Line.data() + c * ring;
    float* d = s.Data + c;
    const size_t stride = size_t(channels);
    double d0 = 0, d1 = 0;
    for (size_t i = 0; i < s.Frames; ++i) {
      const uint64_t n = frame0 + i;
      const uint64_t segment = n & ~uint64_t(kSegment - 1);
      if (i == 0 || n == segment) {
        // The cosine is taken every few frames; the delay glides linearly between.
        d0 = delayAt(segment, channelOffset);
        d1 = delayAt(segment + kSegment, channelOffset);
      }
      const double delay = d0 + (d1 - d0) * double(n - segment) / kSegment;
      const size_t w = size_t(n) & mask;
      const double at = double(w + ring) - delay;
      const size_t whole = size_t(at);
      const float frac = float(at - double(whole));
      const float a = line[whole & mask];
      const float b = line[(whole + 1) & mask];
      const float delayed = a + frac * (b - a);
      const float x = d[i * stride];
      line[w] = x + feedback * delayed;
      d[i * stride] = dry * x + wet * delayed;
      if (report && i % kReport == kReport - 1) report(int(100.0 * double(i) / double(s.Frames)));
    }
  };
  if (channels == 1) {
    channel(0, progress);
  } else {
    DspParallelFor(size_t(channels), [&](size_t c) { channel(c, {}); },
                   progress ? [&](size_t done, size_t count) { progress(int(100 * done / count)); }
                            : std::function<void(size_t, size_t)>());
  }
  st.Frame += s.Frames;
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
  constexpr int kControl = 64;  // frames between exact readings of the all-pass coefficient
  const int channels = s.Channels;
  const double fs = s.SampleRate;
  const double step = delay > 0 ? 1000.0 / delay / fs : 0.0;
  const double wet = mixDepth / 200, dry = 1 - wet;
  const double feedback = DspFeedback(feedbackGain, kMostFeedback);
  if (st.Memory.size() != size_t(channels) * kSections * 2) {
    st.Memory.assign(size_t(channels) * kSections * 2, 0.0);
    st.Last.assign(size_t(channels), 0.0);
    st.Frame = 0;
  }
  // The all-pass coefficient of frame m, from the frame's number (so any cut gives the same run).
  auto coefficientAt = [&](uint64_t m) {
    double phase = double(m) * step;
    phase -= std::floor(phase);
    const double sweep = 0.5 * (1 - std::cos(kTwoPi * phase));
    const double turn = std::min(200.0 * std::pow(16.0, sweep), 0.45 * fs);
    const double t = std::tan(kTwoPi / 2 * turn / fs);
    return (t - 1) / (t + 1);
  };
  const uint64_t frame0 = st.Frame;
  auto channel = [&](size_t c, const DspProgress& report) {
    DspDenormalGuard guard;
    double m[2 * kSections];
    std::copy_n(st.Memory.data() + c * 2 * kSections, 2 * kSections, m);
    double last = st.Last[c];
    double c0 = 0, c1 = 0;
    float* d = s.Data + c;
    const size_t stride = size_t(channels);
    for (size_t i = 0; i < s.Frames; ++i) {
      const uint64_t n = frame0 + i;
      const uint64_t segment = n - n % kControl;
      if (i == 0 || n == segment) {
        // Between exact readings the coefficient glides linearly.
        c0 = coefficientAt(segment);
        c1 = coefficientAt(segment + kControl);
      }
      const double coefficient = c0 + (c1 - c0) * double(n - segment) / kControl;
      double v = d[i * stride] + feedback * last;
      for (int k = 0; k < kSections; ++k) {
        // y = a x + x1 - a y1
        const double y = coefficient * v + m[2 * k] - coefficient * m[2 * k + 1];
        m[2 * k] = v;
        m[2 * k + 1] = y;
        v = y;
      }
      last = v;
      d[i * stride] = float(dry * d[i * stride] + wet * v);
      if (report && i % kReport == kReport - 1) report(int(100.0 * double(i) / double(s.Frames)));
    }
    std::copy_n(m, 2 * kSections, st.Memory.data() + c * 2 * kSections);
    st.Last[c] = last;
  };
  if (channels == 1) {
    channel(0, progress);
  } else {
    DspParallelFor(size_t(channels), [&](size_t c) { channel(c, {}); },
                   progress ? [&](size_t done, size_t count) { progress(int(100 * done / count)); }
                            : std::function<void(size_t, size_t)>());
  }
  st.Frame += s.Frames;
}

