#include "audio/DspReverb.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/DspDelay.h"
#include "audio/DspKernels.h"
#include "audio/DspParallel.h"

namespace {

constexpr double kTwoPi = 6.283185307179586;
// Lengths of the diffuse lines and of the two diffusing all-passes, in seconds: no two share a
// common period, so their echoes do not pile up.
constexpr double kLineSeconds[4] = {0.0297, 0.0371, 0.0411, 0.0437};
constexpr double kDiffuserSeconds[2] = {0.0032, 0.0086};
constexpr float kDiffuserGain = 0.6f;

size_t PowerOfTwoAbove(size_t n) {
  size_t p = 1;
  while (p < n) p <<= 1;
  return p;
}

struct Setup {
  size_t Delay = 0;             // frames
  std::vector<size_t> Taps;     // frames back from the write position, the end included
  float TapGain = 1;
  float Feedback = 0;
  float DampCoefficient = 1;    // one-pole: y += a (x - y); 1 passes everything
  size_t Diffuser[2] = {1, 1};
  size_t Line[4] = {1, 1, 1, 1};
  float LineGain[4] = {0, 0, 0, 0};
  float TailInput = 1;
  float Mix = 0, Tail = 0;
};

size_t RingFor(size_t frames) { return PowerOfTwoAbove(frames + 1); }

void Fit(const Setup& k, DspReverbState& st, int channels) {
  if (st.Channels.size() == size_t(channels)) return;
  st.Channels.assign(size_t(channels), DspReverbChannel());
  st.Frame = 0;
  for (DspReverbChannel& c : st.Channels) {
    c.Delay.assign(k.Delay ? RingFor(k.Delay) : 0, 0.0f);
    for (int j = 0; j < 2; ++j) c.Diffuser[j].assign(RingFor(k.Diffuser[j]), 0.0f);
    for (int j = 0; j < 4; ++j) c.Lines[j].assign(RingFor(k.Line[j]), 0.0f);
  }
}

void RunChannel(const Setup& k, DspReverbChannel& ch, uint64_t frame0, float* d, size_t frames,
                int stride) {
  const size_t dm = ch.Delay.size() - (ch.Delay.empty() ? 0 : 1);
  const size_t am0 = ch.Diffuser[0].size() - 1, am1 = ch.Diffuser[1].size() - 1;
  size_t lm[4];
  for (int j = 0; j < 4; ++j) lm[j] = ch.Lines[j].size() - 1;
  float* delayRing = ch.Delay.data();
  float* ap0 = ch.Diffuser[0].data();
  float* ap1 = ch.Diffuser[1].data();
  float* l0 = ch.Lines[0].data();
  float* l1 = ch.Lines[1].data();
  float* l2 = ch.Lines[2].data();
  float* l3 = ch.Lines[3].data();
  float damp = ch.DelayDamp;
  float z0 = ch.Damp[0], z1 = ch.Damp[1], z2 = ch.Damp[2], z3 = ch.Damp[3];
  const float a = k.DampCoefficient;
  for (size_t i = 0; i < frames; ++i) {
    const uint64_t n = frame0 + i;
    const float x = d[i * size_t(stride)];
    // The tapped delay with its damped feedback.
    float early = x;
    if (k.Delay) {
      const float end = delayRing[(n - k.Delay) & dm];
      damp += a * (end - damp);
      delayRing[n & dm] = x + k.Feedback * damp;
      float sum = 0;
      for (size_t t : k.Taps) sum += delayRing[(n - t) & dm];
      early = sum * k.TapGain;
    }
    // Two all-passes thicken the echoes before the lines.
    float v = early * k.TailInput;
    {
      const float b = ap0[(n - k.Diffuser[0]) & am0];
      const float w = v + kDiffuserGain * b;
      ap0[n & am0] = w;
      v = b - kDiffuserGain * w;
    }
    {
      const float b = ap1[(n - k.Diffuser[1]) & am1];
      const float w = v + kDiffuserGain * b;
      ap1[n & am1] = w;
      v = b - kDiffuserGain * w;
    }
    // Four lines through a Householder matrix: energy kept, every line feeding every other.
    const float o0 = l0[(n - k.Line[0]) & lm[0]];
    const float o1 = l1[(n - k.Line[1]) & lm[1]];
    const float o2 = l2[(n - k.Line[2]) & lm[2]];
    const float o3 = l3[(n - k.Line[3]) & lm[3]];
    z0 += a * (o0 - z0);
    z1 += a * (o1 - z1);
    z2 += a * (o2 - z2);
    z3 += a * (o3 - z3);
    const float u0 = z0 * k.LineGain[0], u1 = z1 * k.LineGain[1];
    const float u2 = z2 * k.LineGain[2], u3 = z3 * k.LineGain[3];
    const float half = 0.5f * (u0 + u1 + u2 + u3);
    l0[n & lm[0]] = u0 - half + v;
    l1[n & lm[1]] = u1 - half + v;
    l2[n & lm[2]] = u2 - half + v;
    l3[n & lm[3]] = u3 - half + v;
    const float tail = 0.5f * (o0 - o1 + o2 - o3);
    d[i * size_t(stride)] = x + k.Mix * (early + k.Tail * tail);
  }
  ch.DelayDamp = damp;
  ch.Damp[0] = z0;
  ch.Damp[1] = z1;
  ch.Damp[2] = z2;
  ch.Damp[3] = z3;
}

}  // namespace

double DspReverbSize(double delay) { return std::min(2.0, 0.6 + delay / 75); }

double DspReverbTime(double feedbackGain, double delay) {
  const double f = feedbackGain / 100;
  return (0.2 + 4.0 * f * f) * DspReverbSize(delay);
}

void DspCheckReverb(double delay, double mixDepth, double feedbackGain, double gain,
                    double frequency, int taps) {
  DspCheckRange("Reverb", "the delay time", delay, 0, 1000, "ms");
  DspCheckRange("Reverb", "the mix depth", mixDepth, 0, 100, "%");
  DspCheckRange("Reverb", "the feedback gain", feedbackGain, 0, 100, "%");
  DspCheckRange("Reverb", "the reverb gain", gain, 0, 100, "%");
  DspCheckRange("Reverb", "the reverb frequency", frequency, 10, 22500, "Hz");
  DspCheckRange("Reverb", "the number of taps", taps, 0, 10, "");
}

void DspReverb(const DspSignal& s, double delay, double mixDepth, double feedbackGain, double gain,
               double frequency, int taps, DspStreams* streams, const DspProgress& progress) {
  DspCheckReverb(delay, mixDepth, feedbackGain, gain, frequency, taps);
  char key[200];
  std::snprintf(key, sizeof key, "reverb|%.17g|%.17g|%.17g|%.17g|%.17g|%d|%.17g|%d", delay,
                mixDepth, feedbackGain, gain, frequency, taps, s.SampleRate, s.Channels);
  DspReverbState local;
  bool continued = false;
  DspReverbState& st =
      streams && streams->InBlock() ? streams->Acquire<DspReverbState>(key, continued) : local;
  if (streams && !streams->InBlock()) streams->Pass(key);
  if (s.Frames == 0 || mixDepth == 0) return;

  const double fs = s.SampleRate;
  Setup k;
  k.Delay = size_t(std::llround(delay * fs / 1000));
  if (k.Delay) {
    for (int t = 1; t <= taps; ++t)
      k.Taps.push_back(size_t(std::llround(double(k.Delay) * t / (taps + 1))));
    k.Taps.push_back(k.Delay);
    k.TapGain = float(1 / std::sqrt(double(taps + 1)));
    k.Feedback = float(DspFeedback(feedbackGain, 0.98));
  }
  k.DampCoefficient =
      frequency >= 0.45 * fs ? 1.0f : float(1 - std::exp(-kTwoPi * frequency / fs));
  for (int j = 0; j < 2; ++j) k.Diffuser[j] = std::max<size_t>(1, size_t(std::llround(kDiffuserSeconds[j] * fs)));
  const double t60 = DspReverbTime(feedbackGain, delay);
  const double size = DspReverbSize(delay);
  double meanSquare = 0;
  for (int j = 0; j < 4; ++j) {
    k.Line[j] = std::max<size_t>(1, size_t(std::llround(kLineSeconds[j] * size * fs)));
    const double g = std::pow(10.0, -3.0 * double(k.Line[j]) / (fs * t60));
    k.LineGain[j] = float(g);
    meanSquare += g * g / 4;
  }
  // Scaled so that a steady sound gives a tail of about its own level, whatever the decay.
  k.TailInput = float(std::sqrt(1 - meanSquare));
  k.Mix = float(mixDepth / 100);
  k.Tail = float(gain / 100);

  Fit(k, st, s.Channels);
  DspDenormalGuard guard;
  const uint64_t frame0 = st.Frame;
  DspParallelFor(size_t(s.Channels), [&](size_t c) {
    DspDenormalGuard workerGuard;
    RunChannel(k, st.Channels[c], frame0, s.Data + c, s.Frames, s.Channels);
  }, progress ? [&](size_t done, size_t count) { progress(int(100 * done / count)); }
              : std::function<void(size_t, size_t)>());
  st.Frame += s.Frames;
}
