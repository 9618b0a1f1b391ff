#include <gtest/gtest.h>

#include <cmath>

#include "audio/DspEffectTestUtil.h"
#include "audio/DspNoiseReduction.h"

using namespace dsptest;

namespace {

// Uniform noise whose level (its RMS read as a sine's peak) is `db`.
std::vector<float> NoiseAt(double db, size_t frames, uint32_t seed) {
  const double rms = std::pow(10.0, db / 20) / std::sqrt(2.0);
  return Noise(frames, seed, rms * std::sqrt(3.0));
}

}  // namespace

// Two seconds of noise alone, then two of a tone over the same noise: the noise sinks as the
// setting says while the tone keeps its level.
TEST(DspNoiseReduction, TheFloorSinksAndTheToneStays) {
  struct Case {
    const char* name;
    double threshold, rate, rmsTime, noiseDb, floorDropDb, tolerance;
  } cases[] = {
      {"Expand -30dB", -30, 100, 100, -45, 100, 0},  // a gate: at least 100 dB down
      {"Expand -40dB", -40, 100, 100, -50, 100, 0},
      {"Expand -50dB: noise above it", -50, 100, 100, -45, 0, 0.3},
      {"Expand for Music", -12, 40, 100, -50, 25.3, 1.5},
      {"Soft Expand for Music", -15, 20, 100, -50, 8.75, 1},
      {"Voice Breath Reduce", -30, 25, 30, -40, 3.33, 1},
      {"Cassette Noise Reduce", -54, 75, 100, -60, 18, 1.5},
      {"no averaging", -30, 100, 0, -45, 60, 0},
  };
  const double rate = 44100;
  const size_t frames = size_t(4 * rate), half = frames / 2;
  for (const auto& c : cases) {
    std::vector<float> v = NoiseAt(c.noiseDb, frames, 3);
    const std::vector<float> tone = Sine(1000, rate, frames, 1, 0.5);  // -6 dB
    for (size_t i = half; i < frames; ++i) v[i] += tone[i];
    const std::vector<float> before = v;
    DspNoiseReduction(Wrap(v, 1, rate), c.threshold, c.rate, c.rmsTime);
    const size_t settle = size_t(0.3 * rate);
    const double drop = RmsDb(before, 1, 0, settle, half) - RmsDb(v, 1, 0, settle, half);
    if (c.tolerance == 0)
      EXPECT_GE(drop, c.floorDropDb) << c.name;
    else
      EXPECT_NEAR(drop, c.floorDropDb, c.tolerance) << c.name;
    EXPECT_NEAR(RmsDb(v, 1, 0, half + settle, frames), RmsDb(before, 1, 0, half + settle, frames), 0.2)
        << c.name;
    // The tone's start comes through at once, with no click.
    EXPECT_LT(LargestStep(v, 1, 0, half, half + size_t(0.01 * rate)), 0.1) << c.name;
    // Far above the threshold it is heard in full within 2 ms.
    if (c.threshold <= -26)
      EXPECT_NEAR(RmsDb(v, 1, 0, half + size_t(0.002 * rate), half + size_t(0.012 * rate)),
                  RmsDb(before, 1, 0, half + size_t(0.002 * rate), half + size_t(0.012 * rate)), 1)
          << c.name;
  }
}

TEST(DspNoiseReduction, EveryEndOfTheRangesWorks) {
  const double rate = 8000;
  std::vector<float> base = Sine(200, rate, size_t(rate), 2, 0.9);
  for (double th : {-96.0, 10.0})
    for (double r : {1.0, 100.0})
      for (double t : {0.0, 1000.0}) {
        std::vector<float> v = base;
        DspNoiseReduction(Wrap(v, 2, rate), th, r, t);
        for (float x : v) ASSERT_TRUE(std::isfinite(x) && std::fabs(x) <= 0.9f);
      }
}
