#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audio/DspEffectTestUtil.h"
#include "audio/DspReverb.h"

using namespace dsptest;

namespace {

// Reverberation time (60 dB of decay) of an impulse response, from the slope of its backward
// integrated energy between -5 and -25 dB.
double DecayTime(const std::vector<float>& v, double rate, size_t from) {
  std::vector<double> energy(v.size() - from + 1, 0.0);
  for (size_t i = v.size(); i-- > from;) energy[i - from] = energy[i - from + 1] + double(v[i]) * v[i];
  double t5 = -1, t25 = -1;
  for (size_t i = 0; i < energy.size(); ++i) {
    const double db = 10 * std::log10(energy[i] / energy[0] + 1e-300);
    if (t5 < 0 && db <= -5) t5 = double(i) / rate;
    if (t25 < 0 && db <= -25) {
      t25 = double(i) / rate;
      break;
    }
  }
  return (t25 - t5) * 3;
}

}  // namespace

TEST(DspReverb, TheTailDecaysInTheTimeTheFeedbackSets) {
  const double rate = 16000;
  struct Case {
    const char* name;
    double delay, feedback;
  } cases[] = {
      {"no feedback", 0, 0},
      {"Small Room Left Channel", 2, 31},
      {"Room Left Channel", 15, 28},
      {"Cellar", 30, 25},
      {"Allien Saying", 30, 60},
      {"the longest", 1000, 100},
  };
  double previous = 0;
  for (const auto& c : cases) {
    const double t60 = DspReverbTime(c.feedback, c.delay);
    std::vector<float> v(size_t(rate * (1.5 * t60 + 0.5 + c.delay / 1000)), 0.0f);
    v[0] = 1;
    // No taps; the decay is read from the end of the first pass through the delay on.
    DspReverb(Wrap(v, 1, rate), c.delay, 100, c.feedback, 100, 22500, 0);
    const double measured = DecayTime(v, rate, size_t((c.delay / 1000 + 0.01) * rate));
    // (The build-up of the tail blurs the shortest a little.)
    if (c.delay < 1000) EXPECT_NEAR(measured, t60, std::max(0.12 * t60, 0.025)) << c.name;
    // Each room of the list rings longer than the one before: a small room dies away first.
    EXPECT_GT(measured, previous) << c.name;
    previous = measured;
  }
  // The tapped delay rings at its length: "Metal Resonance" at 4 ms with 97 % feedback and no
  // diffuse tail repeats every 4 ms, each repeat 97 % of the one before.
  std::vector<float> v(size_t(rate), 0.0f);
  v[0] = 1;
  DspReverb(Wrap(v, 1, rate), 4, 10, 97, 0, 22500, 10);
  const size_t period = size_t(0.004 * rate);
  EXPECT_NEAR(v[11 * period] / v[10 * period], 0.97, 0.01);
  // The ten taps share the line: the impulse is heard at every eleventh of it, each tap at
  // 1 / sqrt(11) of the mix.
  for (int t = 1; t <= 10; ++t)
    EXPECT_NEAR(v[size_t(std::llround(double(period) * t / 11))], 0.1 / std::sqrt(11.0), 1e-6) << t;
}

TEST(DspReverb, DampingShortensTheHighTones) {
  const double rate = 32000;
  // Brightness of the tail of an impulse response: the energy of its first difference against
  // its own (2 for white noise, near 0 for a dull sound).
  auto brightness = [&](double frequency) {
    std::vector<float> v(size_t(rate), 0.0f);
    v[0] = 1;
    DspReverb(Wrap(v, 1, rate), 0, 100, 60, 100, frequency, 0);
    double e = 0, d = 0;
    for (size_t i = size_t(0.2 * rate); i < size_t(0.6 * rate); ++i) {
      e += double(v[i]) * v[i];
      d += double(v[i] - v[i - 1]) * (v[i] - v[i - 1]);
    }
    return d / e;
  };
  EXPECT_GT(brightness(22500), 1.5);
  EXPECT_LT(brightness(1000), 0.1 * brightness(22500));
}

TEST(DspReverb, EverySettingAndPresetStaysFinite) {
  const double rate = 44100;
  std::vector<float> base = Noise(size_t(rate) * 2, 4, 1.0);
  struct Setting {
    double delay, mix, feedback, gain, frequency;
    int taps;
  };
  std::vector<Setting> settings = {
      {30, 60, 60, 30, 11025, 8},  {30, 60, 25, 60, 11025, 10}, {25, 40, 8, 40, 11025, 10},
      {4, 41, 28, 20, 11025, 10},  {4, 10, 97, 0, 11025, 10},   {15, 10, 28, 88, 11025, 10},
      {15, 11, 35, 92, 11025, 10}, {2, 10, 31, 59, 11025, 10},  {2, 10, 29, 61, 11025, 10},
  };
  for (double d : {0.0, 1000.0})
    for (double f : {0.0, 100.0})
      for (double fr : {10.0, 22500.0})
        for (int taps : {0, 10}) settings.push_back({d, 100, f, 100, fr, taps});
  for (const auto& s : settings) {
    std::vector<float> v = base;
    DspReverb(Wrap(v, 2, rate), s.delay, s.mix, s.feedback, s.gain, s.frequency, s.taps);
    for (float x : v) ASSERT_TRUE(std::isfinite(x) && std::fabs(x) < 60) << s.delay << " " << s.feedback;
  }
}
