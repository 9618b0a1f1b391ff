#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "audio/DspKernels.h"
#include "audio/DspLevel.h"
#include "audio/DspTestSignals.h"
#include "platform/rtl/SysUtils.h"

using namespace dsptest;

namespace {

DspSignal Wrap(std::vector<float>& v, int channels, double rate = 44100) {
  DspSignal s;
  s.Data = v.data();
  s.Channels = channels;
  s.Frames = v.size() / size_t(channels);
  s.SampleRate = rate;
  return s;
}

}  // namespace

TEST(DspKernels, AgreeWithPlainLoopsOnOddLengths) {
  // Lengths around the vector widths and the kernels' internal stretches.
  for (size_t n : {0u, 1u, 7u, 15u, 16u, 17u, 33u, 4095u, 4096u, 4097u, 100003u}) {
    std::vector<float> a = Noise(n, 1), b = Noise(n, 2);
    float lo, hi;
    DspMinMax(a.data(), n, lo, hi);
    float elo = n ? a[0] : 0, ehi = n ? a[0] : 0, epeak = 0;
    double esq = 0;
    for (float x : a) {
      elo = std::min(elo, x);
      ehi = std::max(ehi, x);
      epeak = std::max(epeak, std::fabs(x));
      esq += double(x) * x;
    }
    EXPECT_EQ(lo, elo) << n;
    EXPECT_EQ(hi, ehi) << n;
    EXPECT_EQ(DspPeak(a.data(), n), epeak) << n;
    EXPECT_NEAR(DspSumOfSquares(a.data(), n), esq, 1e-6 * (esq + 1)) << n;

    std::vector<float> d = a;
    DspMultiplyAdd(d.data(), b.data(), 0.5f, n);
    for (size_t i = 0; i < n; ++i) ASSERT_FLOAT_EQ(d[i], a[i] + 0.5f * b[i]) << n;
    d = a;
    DspAdd(d.data(), b.data(), n);
    DspMultiplyBy(d.data(), b.data(), n);
    for (size_t i = 0; i < n; ++i) ASSERT_FLOAT_EQ(d[i], (a[i] + b[i]) * b[i]) << n;
  }
}

TEST(DspLevel, GainsInDecibels) {
  struct Case {
    double percent;
    double db;
  } cases[] = {{100, 0}, {200, 6.0206}, {50, -6.0206}, {25, -12.0412}, {999, 19.9913}, {1, -40}};
  for (const auto& c : cases) {
    std::vector<float> v = Sine(1000, 44100, 44100, 2, 0.01);
    const double before = RmsDb(v, 2, 1, 0, 44100);
    DspAmplify(Wrap(v, 2), c.percent);
    EXPECT_NEAR(RmsDb(v, 2, 0, 0, 44100) - before, c.db, 1e-3) << c.percent;
    EXPECT_NEAR(RmsDb(v, 2, 1, 0, 44100) - before, c.db, 1e-3) << c.percent;
  }
  std::vector<float> v = Sine(1000, 44100, 100);
  DspAmplify(Wrap(v, 1), 0);
  for (float x : v) ASSERT_EQ(x, 0.0f);
}

TEST(DspLevel, FadesAreSampleExact) {
  struct Case {
    double from, to;
    size_t frames;
    int channels;
  } cases[] = {{0, 100, 1001, 1}, {100, 0, 1001, 2}, {20, 100, 7, 2}, {100, 50, 300001, 2},
               {50, 50, 10, 3}, {30, 70, 1, 1}};
  for (const auto& c : cases) {
    std::vector<float> v(c.frames * size_t(c.channels), 1.0f);
    DspFade(Wrap(v, c.channels), c.from, c.to);
    for (size_t i = 0; i < c.frames; ++i) {
      const double t = c.frames > 1 ? double(i) / double(c.frames - 1) : 0.0;
      const double want = (c.from + (c.to - c.from) * t) / 100;
      for (int ch = 0; ch < c.channels; ++ch)
        ASSERT_NEAR(v[i * size_t(c.channels) + size_t(ch)], want, 2e-6)
            << c.from << "->" << c.to << " frame " << i;
    }
  }
}

TEST(DspLevel, NormalizeHitsThePeakWithOneGain) {
  struct Case {
    double percent;
    int channels;
  } cases[] = {{100, 1}, {75, 2}, {20, 2}, {40, 3}};
  for (const auto& c : cases) {
    // Channel 0 at half the amplitude of the others: one gain keeps the balance.
    std::vector<float> v = Sine(440, 44100, 20000, c.channels, 0.3);
    for (size_t i = 0; i < 20000; ++i) v[i * size_t(c.channels)] *= 0.5f;
    const std::vector<float> before = v;
    DspNormalize(Wrap(v, c.channels), c.percent, -1);
    EXPECT_NEAR(DspPeak(v.data(), v.size()), c.percent / 100, 1e-6);
    const double g = c.percent / 100 / DspPeak(before.data(), before.size());
    for (size_t i = 0; i < v.size(); ++i) ASSERT_NEAR(v[i], before[i] * g, 1e-6);
  }
  std::vector<float> silent(1000, 0.0f);
  DspNormalize(Wrap(silent, 2), 100, -1);
  for (float x : silent) ASSERT_EQ(x, 0.0f);
}

TEST(DspLevel, EnvelopeInterpolatesLinearlyBetweenPoints) {
  // Three points over 9 frames: 1 at frame 0, 0 at frame 4, 0.5 at frame 8.
  std::vector<float> v(9 * 2, 1.0f);
  DspEnvelope(Wrap(v, 2), {1.0f, 0.0f, 0.5f});
  const double want[9] = {1, 0.75, 0.5, 0.25, 0, 0.125, 0.25, 0.375, 0.5};
  for (size_t i = 0; i < 9; ++i) {
    EXPECT_NEAR(v[2 * i], want[i], 1e-6) << i;
    EXPECT_NEAR(v[2 * i + 1], want[i], 1e-6) << i;
  }
  // Many points over a long run against the formula.
  const size_t n = 200003;
  std::vector<float> gains = {0.5f, 2.0f, 0.0f, 1.0f, 0.25f, 1.5f, 1.0f};
  std::vector<float> w(n, 1.0f);
  DspEnvelope(Wrap(w, 1), gains);
  for (size_t i = 0; i < n; i += 997) {
    const double u = double(i) * double(gains.size() - 1) / double(n - 1);
    const size_t k = std::min(gains.size() - 2, size_t(u));
    const double want1 = gains[k] + (gains[k + 1] - gains[k]) * (u - double(k));
    ASSERT_NEAR(w[i], want1, 1e-5) << i;
  }
  EXPECT_NEAR(w[n - 1], 1.0, 1e-5);
}

TEST(DspLevel, ReverseSilenceAndMixStereo) {
  std::vector<float> v = {1, -1, 2, -2, 3, -3, 4, -4, 5, -5};
  DspReverse(Wrap(v, 2));
  EXPECT_EQ(v, (std::vector<float>{5, -5, 4, -4, 3, -3, 2, -2, 1, -1}));
  std::vector<float> odd = {1, 2, 3, 4, 5, 6, 7};
  DspReverse(Wrap(odd, 1));
  EXPECT_EQ(odd, (std::vector<float>{7, 6, 5, 4, 3, 2, 1}));

  struct Case {
    double ll, lr, rl, rr;
    float l, r;
  } cases[] = {{50, 50, 50, 50, 0.5f, 0.5f}, {100, 0, 100, 0, 0.8f, 0.8f},
               {0, 100, 0, 100, 0.2f, 0.2f}, {100, 100, 100, 100, 1.0f, 1.0f},
               {0, 100, 100, 0, 0.2f, 0.8f}, {80, 20, 20, 80, 0.68f, 0.32f}};
  for (const auto& c : cases) {
    std::vector<float> s = {0.8f, 0.2f, 0.8f, 0.2f};
    DspMixStereo(Wrap(s, 2), c.ll, c.lr, c.rl, c.rr);
    EXPECT_NEAR(s[0], c.l, 1e-6);
    EXPECT_NEAR(s[1], c.r, 1e-6);
    EXPECT_NEAR(s[2], c.l, 1e-6);
  }
  std::vector<float> mono = {0.8f, 0.2f};
  DspMixStereo(Wrap(mono, 1), 0, 100, 100, 0);
  EXPECT_EQ(mono, (std::vector<float>{0.8f, 0.2f}));

  DspSilence(Wrap(v, 2));
  for (float x : v) EXPECT_EQ(x, 0.0f);
}

TEST(DspLevel, BadParametersRaiseAndChangeNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<float> original = Sine(440, 44100, 1000, 2, 0.5);
  std::vector<float> v = original;
  DspSignal s = Wrap(v, 2);
  auto expectRefused = [&](const std::function<void()>& f, const char* what) {
    EXPECT_THROW(f(), EArgumentOutOfRangeException) << what;
    EXPECT_EQ(v, original) << what;
  };
  expectRefused([&] { DspAmplify(s, 1000); }, "amplify 1000");
  expectRefused([&] { DspAmplify(s, -1); }, "amplify -1");
  expectRefused([&] { DspAmplify(s, nan); }, "amplify NaN");
  expectRefused([&] { DspFade(s, 0, 101); }, "fade 101");
  expectRefused([&] { DspFade(s, nan, 0); }, "fade NaN");
  expectRefused([&] { DspNormalize(s, 101, -1); }, "normalize 101");
  expectRefused([&] { DspNormalize(s, 100, 3); }, "normalize mode 3");
  expectRefused([&] { DspEnvelope(s, {}); }, "empty envelope");
  expectRefused([&] { DspEnvelope(s, {1.0f, -0.5f}); }, "negative envelope");
  expectRefused([&] { DspEnvelope(s, {1.0f, float(nan)}); }, "NaN envelope");
  expectRefused([&] { DspMixStereo(s, 0, 0, 0, 100.5); }, "mix 100.5");
  try {
    DspAmplify(s, 1000);
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "Amplify: the gain must be from 0 to 999 %, not 1000 %.");
  }
}
