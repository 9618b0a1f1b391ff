#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "audio/DspEffectTestUtil.h"
#include "audio/DspModulation.h"

using namespace dsptest;

namespace {

// Delay of the swept copy over time, in ms, one reading per window: the effect runs on a low tone
// with an even mix and no feedback, the dry half is taken away, and the phase lag of what is left
// against the tone gives the delay (the tone is low enough for the lag to stay under half a
// period; readings are unwrapped from window to window).
struct Sweep {
  std::vector<double> Delay;  // ms
  double Window;              // seconds per reading
};

Sweep MeasureSweep(DspModulationKind kind, double delayRate, double sweepDepth, double sweepRate,
                   double sweepPhase, int channel, double seconds) {
  const double rate = 8000, tone = 25;
  const size_t frames = size_t(seconds * rate);
  std::vector<float> v = Sine(tone, rate, frames, 2, 0.5);
  for (size_t i = 0; i < frames; ++i) v[2 * i + 1] = v[2 * i];
  const std::vector<float> dry = v;
  DspModulation(Wrap(v, 2, rate), kind, delayRate, 100, 0, sweepDepth, sweepRate, sweepPhase);
  const size_t window = size_t(rate / tone);  // one period
  Sweep out{{}, double(window) / rate};
  double previous = 0;
  for (size_t at = 0; at + window <= frames; at += window) {
    double a = 0, b = 0;
    for (size_t i = at; i < at + window; ++i) {
      const double wet = (v[2 * i + size_t(channel)] - 0.5 * dry[2 * i]) / 0.5;
      const double w = 2 * kPi * tone * double(i) / rate;
      a += wet * std::sin(w);
      b += wet * std::cos(w);
    }
    double lag = std::atan2(-b, a);
    while (lag - previous > kPi) lag -= 2 * kPi;
    while (lag - previous < -kPi) lag += 2 * kPi;
    previous = lag;
    out.Delay.push_back(lag / (2 * kPi * tone) * 1000);
  }
  return out;
}

// Period of a sweep in seconds: twice the time between its highest and its lowest reading.
double Period(const Sweep& s) {
  const auto hi = std::max_element(s.Delay.begin(), s.Delay.end());
  const auto lo = std::min_element(hi, s.Delay.end());
  return 2 * double(lo - hi) * s.Window;
}

}  // namespace

TEST(DspModulation, TheDelaySweepsFromTheBaseByTheDepthAtTheRate) {
  struct Case {
    const char* name;
    DspModulationKind kind;
    double delayRate, sweepDepth, sweepRate;
    double base, top, period;  // ms, ms, s (0: no sweep)
  } cases[] = {
      {"flanger 50/50/10", DspModulationKind::Flanger, 50, 50, 10, 5, 10, 1},
      {"chorus 20/30/5", DspModulationKind::Chorus, 20, 30, 5, 10, 13, 2},
      {"Deep Slow Flanger", DspModulationKind::Flanger, 80, 10, 1, 8, 9, 10},
      {"Fast Sweeping Loop", DspModulationKind::Flanger, 100, 90, 30, 10, 19, 1 / 3.0},
      {"Simple Chorus: no sweep", DspModulationKind::Chorus, 7, 0, 1, 3.5, 3.5, 0},
      {"Light Chorus: rate 0", DspModulationKind::Flanger, 70, 99, 0, 7, 7, 0},
  };
  for (const auto& c : cases) {
    const double seconds = c.period > 0 ? std::max(2.2 * c.period, 1.0) : 1.0;
    const Sweep s = MeasureSweep(c.kind, c.delayRate, c.sweepDepth, c.sweepRate, 0, 0, seconds);
    const auto [lo, hi] = std::minmax_element(s.Delay.begin() + 1, s.Delay.end());
    // Readings average over a window, so the extremes are met within the sweep's travel over one.
    const double slack = 0.05 + (c.top - c.base) * (c.period > 0 ? 0.5 * std::pow(kPi * s.Window / c.period, 2) : 0);
    EXPECT_NEAR(*lo, c.base, slack) << c.name;
    EXPECT_NEAR(*hi, c.top, slack) << c.name;
    if (c.period > 0) EXPECT_NEAR(Period(s), c.period, 0.05 * c.period + 2 * s.Window) << c.name;
  }
}

TEST(DspModulation, SweepPhaseSetsTheRightChannelAhead) {
  for (double phase : {0.0, 90.0, 180.0, 270.0}) {
    // A 1 Hz sweep from 2 ms up to 12 ms, read in the middle of the sixth window.
    auto expected = [&](double degrees, double window) {
      return 2 + 5 * (1 - std::cos(2 * kPi * (degrees / 360 + 5.5 * window)));
    };
    const Sweep left = MeasureSweep(DspModulationKind::Flanger, 20, 100, 10, phase, 0, 1);
    const Sweep right = MeasureSweep(DspModulationKind::Flanger, 20, 100, 10, phase, 1, 1);
    EXPECT_NEAR(left.Delay[5], expected(0, left.Window), 0.3) << phase;
    EXPECT_NEAR(right.Delay[5], expected(phase, right.Window), 0.3) << phase;
  }
}

TEST(DspModulation, PhaserNotchSweepsOncePerDelayTime) {
  const double rate = 22050;
  for (double period : {250.0, 600.0}) {
    const size_t frames = size_t(3 * rate);
    std::vector<float> v = Noise(frames, 11, 0.5);
    const std::vector<float> dry = v;
    DspPhaser(Wrap(v, 1, rate), period, 100, 0);
    // The level of a 1 kHz band rises and falls as the notches pass: autocorrelation of the
    // output's short-time level at 1 kHz peaks at the period.
    const size_t hop = size_t(rate / 200);
    std::vector<double> level;
    for (size_t at = 0; at + hop <= frames; at += hop) {
      double a = 0, b = 0;
      for (size_t i = at; i < at + hop; ++i) {
        const double w = 2 * kPi * 1000 * double(i) / rate;
        a += v[i] * std::sin(w);
        b += v[i] * std::cos(w);
      }
      level.push_back(a * a + b * b);
    }
    double mean = 0;
    for (double x : level) mean += x;
    mean /= double(level.size());
    std::vector<double> corr(level.size() / 2, 0.0);
    for (size_t lag = 0; lag < corr.size(); ++lag) {
      for (size_t i = 0; i + lag < level.size(); ++i) corr[lag] += (level[i] - mean) * (level[i + lag] - mean);
      corr[lag] /= double(level.size() - lag);
    }
    // The first peak from 100 ms on that comes near the highest (later ones are its multiples).
    const double top = *std::max_element(corr.begin() + 20, corr.end());
    size_t best = 0;
    for (size_t lag = 20; lag + 1 < corr.size() && !best; ++lag)
      if (corr[lag] >= 0.8 * top && corr[lag] >= corr[lag - 1] && corr[lag] >= corr[lag + 1]) best = lag;
    EXPECT_NEAR(double(best) * 5, period, 25) << period;
  }
}

TEST(DspModulation, ExtremeSettingsStayFiniteAndBounded) {
  const double rate = 44100;
  std::vector<float> base = Sine(100, rate, size_t(rate), 2, 1.0);
  const std::vector<float> n = Noise(base.size(), 2, 1.0);
  for (size_t i = 0; i < base.size(); i += 2) base[i] = n[i];
  for (auto kind : {DspModulationKind::Flanger, DspModulationKind::Chorus})
    for (double delayRate : {0.0, 100.0})
      for (double fb : {0.0, 100.0})
        for (double depth : {0.0, 100.0})
          for (double sweepRate : {0.0, 100.0}) {
            std::vector<float> v = base;
            DspModulation(Wrap(v, 2, rate), kind, delayRate, 100, fb, depth, sweepRate, 359);
            for (float x : v) ASSERT_TRUE(std::isfinite(x) && std::fabs(x) < 20);
          }
  for (double delay : {0.0, 1.0, 5000.0})
    for (double fb : {0.0, 100.0}) {
      std::vector<float> v = base;
      DspPhaser(Wrap(v, 2, rate), delay, 100, fb);
      for (float x : v) ASSERT_TRUE(std::isfinite(x) && std::fabs(x) < 20);
    }
}
