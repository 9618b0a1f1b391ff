#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "audio/DspFilter.h"
#include "audio/DspTestSignals.h"
#include "platform/rtl/SysUtils.h"

using namespace dsptest;

namespace {

const std::vector<float> kBands = {31.25f, 62.5f, 125, 250, 500, 1000, 2000, 4000, 6000, 9000, 12000, 16000};

DspSignal Wrap(std::vector<float>& v, int channels, double rate) {
  DspSignal s;
  s.Data = v.data();
  s.Channels = channels;
  s.Frames = v.size() / size_t(channels);
  s.SampleRate = rate;
  return s;
}

// Gain in dB that an effect gives a sine of frequency f, measured on the last half second of a
// two-second run, both channels of a stereo signal.
template <class Effect>
double MeasureDb(double f, double rate, const Effect& effect) {
  const size_t n = size_t(2 * rate);
  std::vector<float> v = Sine(f, rate, n, 2, 0.25);
  effect(Wrap(v, 2, rate));
  // A whole number of periods of the last half second.
  const size_t period = size_t(std::llround(std::floor(rate / 2 * f / rate) * rate / f));
  const size_t from = n - std::max<size_t>(period, 1);
  const double l = RmsDb(v, 2, 0, from, n), r = RmsDb(v, 2, 1, from, n);
  EXPECT_NEAR(l, r, 0.01) << f;
  return l - 20 * std::log10(0.25 / std::sqrt(2.0));
}

std::vector<float> Gains(std::initializer_list<int> bandValues) {
  std::vector<float> g;
  for (int v : bandValues) g.push_back(float(v) / 100.0f);
  return g;
}

}  // namespace

TEST(DspFilter, HighPassResponse) {
  struct Case {
    double rate, cutoff, amount, freq, db, tolerance;
  } cases[] = {
      {44100, 200, 100, 200, -3.01, 0.05},    {44100, 200, 100, 100, -12.3, 0.2},
      {44100, 200, 100, 2000, 0, 0.05},       {44100, 200, 100, 20, -40, 0.5},
      {48000, 4000, 100, 4000, -3.01, 0.05},  {48000, 4000, 100, 1000, -24.1, 0.5},
      {48000, 4000, 100, 16000, 0, 0.1},      {22050, 9999, 100, 1000, -65.7, 0.3},  // held below Nyquist
      {8000, 9999, 100, 500, -60.1, 0.3},     {44100, 200, 50, 20, -6.11, 0.02},
      {44100, 200, 0, 20, 0, 1e-4},           {44100, 0, 100, 20, 0, 1e-4},
      {96000, 1, 100, 1000, 0, 0.01},
  };
  for (const auto& c : cases) {
    const double db = MeasureDb(c.freq, c.rate, [&](const DspSignal& s) {
      DspHighPass(s, c.cutoff, c.amount);
    });
    EXPECT_NEAR(db, c.db, c.tolerance) << c.rate << " Hz, cut-off " << c.cutoff << ", amount "
                                       << c.amount << ", at " << c.freq;
  }
}

TEST(DspFilter, EqualizerPassesThroughTheBandGains) {
  struct Case {
    const char* name;
    std::vector<float> gains;
    double rate;
    std::vector<std::pair<double, double>> points;  // frequency, dB
    double tolerance;
  } cases[] = {
      {"all +18", Gains({180, 180, 180, 180, 180, 180, 180, 180, 180, 180, 180, 180}), 44100,
       {{31.25, 18}, {100, 18}, {1000, 18}, {4000, 18}, {9000, 18}, {16000, 18}}, 0.5},
      {"all -18", Gains({-180, -180, -180, -180, -180, -180, -180, -180, -180, -180, -180, -180}),
       48000, {{31.25, -18}, {440, -18}, {6000, -18}, {16000, -18}}, 0.7},
      {"1k Notch", Gains({0, 0, 0, 0, 0, 90, 0, 0, 0, 0, 0, 0}), 44100,
       {{1000, 9}, {31.25, 0}, {125, 0}, {6000, 0}, {16000, 0}}, 0.3},
      {"Basic High Boost", Gains({0, 0, 0, 0, 0, 0, 10, 20, 30, 40, 50, 60}), 44100,
       {{500, 0}, {1000, 0}, {2000, 1}, {4000, 2}, {6000, 3}, {9000, 4}, {12000, 5}, {16000, 6}}, 0.5},
      {"Basic Low Boost", Gains({30, 55, 30, 15, 0, 0, 0, 0, 0, 0, 0, 0}), 44100,
       {{31.25, 3}, {62.5, 5.5}, {125, 3}, {250, 1.5}, {1000, 0}, {8000, 0}}, 0.5},
      // 8 kHz: the bands from 4 kHz up are left out; the rest still pass through their gains.
      {"all +18 at 8 kHz", Gains({180, 180, 180, 180, 180, 180, 180, 180, 180, 180, 180, 180}), 8000,
       {{31.25, 18}, {1000, 18}, {2000, 18}}, 0.5},
  };
  for (const auto& c : cases) {
    for (const auto& [f, db] : c.points) {
      const double got = MeasureDb(f, c.rate, [&](const DspSignal& s) { DspEqualizer(s, c.gains, kBands); });
      EXPECT_NEAR(got, db, c.tolerance) << c.name << " at " << f << " Hz";
    }
  }
}

TEST(DspFilter, EqualizerWithAllBandsEqualIsFlatBetweenTheBands) {
  for (double rate : {44100.0, 48000.0})
    for (int value : {180, -180, 60}) {
      const DspCascade eq = DspEqualizerDesign(std::vector<float>(12, value / 100.0f), kBands, rate);
      for (double f = 25; f <= 16000; f *= 1.05)
        EXPECT_NEAR(eq.ResponseDb(f, rate), value / 10.0, 1.0) << rate << " Hz, " << value << ", at " << f;
    }
}

TEST(DspFilter, EqualizerIsFlatAtZeroAndStableForEveryPresetAndRate) {
  std::vector<float> v = Noise(20000, 3);
  const std::vector<float> before = v;
  DspEqualizer(Wrap(v, 2, 44100), std::vector<float>(12, 0.0f), kBands);
  EXPECT_EQ(v, before);

  const std::vector<std::vector<float>> presets = {
      Gains({-50, -180, -50, 0, -30, 80, 0, 75, 45, 30, 15, 0}),
      Gains({-180, -180, -180, -90, 90, 90, 90, -90, -180, -180, -180, -180}),
      Gains({-180, 90, -180, 90, -180, 90, -180, 90, -180, 90, -180, 90}),
      Gains({120, 140, 120, 65, 0, 0, 0, 0, 0, 0, 0, 0}),
      Gains({-55, -180, 0, -115, 20, -10, -40, -70, -100, -130, -160, -180}),
  };
  for (double rate : {6000.0, 8000.0, 11025.0, 22050.0, 32000.0, 44100.0, 96000.0}) {
    for (const auto& g : presets) {
      const DspCascade eq = DspEqualizerDesign(g, kBands, rate);
      for (const auto& q : eq.Sections()) EXPECT_LT(q.PoleRadius(), 1.0) << rate;
      EXPECT_TRUE(std::isfinite(eq.ResponseDb(1000, rate)));
      std::vector<float> w = Noise(size_t(rate), 5);
      DspEqualizer(Wrap(w, 1, rate), g, kBands);
      for (float x : w) ASSERT_TRUE(std::isfinite(x) && std::fabs(x) < 100) << rate;
    }
  }
}

TEST(DspFilter, LongRunsCutIntoPiecesJoinWithoutSeams) {
  // Filtering in parallel pieces must equal filtering in one sweep.
  const double rate = 44100;
  const size_t n = 3'000'000;
  std::vector<float> v = Noise(n * 2, 11);
  std::vector<float> one = v;
  const DspCascade eq = DspEqualizerDesign(Gains({120, -90, 40, 0, -30, 80, 0, 75, -45, 30, 15, 60}), kBands, rate);
  eq.Process(Wrap(v, 2, rate), nullptr);
  // The same filter run in small consecutive calls with a carried state is the serial reference.
  DspCascadeState st;
  for (size_t a = 0; a < n; a += 65536) {
    std::vector<float> part(one.begin() + long(a * 2), one.begin() + long(std::min(n, a + 65536) * 2));
    eq.Process(Wrap(part, 2, rate), &st);
    std::copy(part.begin(), part.end(), one.begin() + long(a * 2));
  }
  double worst = 0;
  for (size_t i = 0; i < v.size(); ++i) worst = std::max(worst, double(std::fabs(v[i] - one[i])));
  EXPECT_LT(worst, 1e-5);
}

TEST(DspFilter, BadParametersRaiseAndChangeNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<float> original = Sine(440, 44100, 1000, 2, 0.5);
  std::vector<float> v = original;
  DspSignal s = Wrap(v, 2, 44100);
  auto expectRefused = [&](const std::function<void()>& f, const char* what) {
    EXPECT_THROW(f(), EArgumentOutOfRangeException) << what;
    EXPECT_EQ(v, original) << what;
  };
  expectRefused([&] { DspHighPass(s, 10000, 100); }, "cut-off 10000");
  expectRefused([&] { DspHighPass(s, -1, 100); }, "cut-off -1");
  expectRefused([&] { DspHighPass(s, nan, 100); }, "cut-off NaN");
  expectRefused([&] { DspHighPass(s, 200, 101); }, "amount 101");
  std::vector<float> g(12, 0.0f);
  g[3] = 1.81f;
  expectRefused([&] { DspEqualizer(s, g, kBands); }, "gain 18.1 dB");
  g[3] = float(nan);
  expectRefused([&] { DspEqualizer(s, g, kBands); }, "gain NaN");
  expectRefused([&] { DspEqualizer(s, std::vector<float>(11, 0.0f), kBands); }, "11 gains");
  std::vector<float> f = kBands;
  f[2] = 0;
  expectRefused([&] { DspEqualizer(s, std::vector<float>(12, 0.1f), f); }, "frequency 0");
}
