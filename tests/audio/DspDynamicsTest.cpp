#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "audio/DspDynamics.h"
#include "audio/DspTestSignals.h"
#include "platform/rtl/SysUtils.h"

using namespace dsptest;

namespace {

DspSignal Wrap(std::vector<float>& v, int channels, double rate) {
  DspSignal s;
  s.Data = v.data();
  s.Channels = channels;
  s.Frames = v.size() / size_t(channels);
  s.SampleRate = rate;
  return s;
}

double SinePeakDb(double rmsDb) { return rmsDb + 3.0103; }

}  // namespace

TEST(DspDynamics, CompressorReducesTheLevelAboveThreshold) {
  // Steady 1 kHz sines; the level read on the last second, as the peak of the sine.
  struct Case {
    double inDb, threshold, rate, amount, outDb;
  } cases[] = {
      {0, -20, 50, 100, -10},    // 2:1: 20 dB over becomes 10
      {0, -10, 50, 100, -5},     // the default setting
      {-6, -10, 50, 100, -8},    // TV / Radio Advertisement below -6 dB
      {0, -20, 75, 100, -15},    // 4:1
      {0, -20, 100, 100, -20},   // held at the threshold
      {0, -20, 0, 100, 0},       // 1:1 does nothing
      {-30, -20, 50, 100, -30},  // below the threshold: untouched
      {0, -40, 50, 100, -20},
      {0, 0, 50, 100, 0},
      {0, -20, 50, 50, -3.63},   // half compressed: (1 + 10^(-10/20)) / 2
  };
  const double rate = 44100;
  for (const auto& c : cases) {
    const size_t n = size_t(2 * rate);
    std::vector<float> v = Sine(1000, rate, n, 2, std::pow(10.0, c.inDb / 20));
    DspCompressor(Wrap(v, 2, rate), c.threshold, c.rate, c.amount);
    EXPECT_NEAR(SinePeakDb(RmsDb(v, 2, 0, n / 2, n)), c.outDb, 0.15)
        << c.inDb << " dB in, threshold " << c.threshold << ", rate " << c.rate;
  }
}

TEST(DspDynamics, CompressorFollowsTheLevelWithAttackAndRelease) {
  // A loud burst between quiet stretches: the gain falls within milliseconds and recovers in a
  // few hundred.
  const double rate = 48000;
  const size_t n = size_t(3 * rate);
  std::vector<float> v = Sine(500, rate, n, 1, 0.05);
  for (size_t i = size_t(rate); i < size_t(2 * rate); ++i) v[i] *= 20;  // 1.0 for one second
  DspCompressor(Wrap(v, 1, rate), -20, 100, 100);
  // 30 ms after the onset the burst is held near the threshold.
  EXPECT_NEAR(SinePeakDb(RmsDb(v, 1, 0, size_t(1.03 * rate), size_t(1.2 * rate))), -20, 1.0);
  // Right after the burst the quiet part is still turned down, then recovers fully.
  EXPECT_LT(SinePeakDb(RmsDb(v, 1, 0, size_t(2.0 * rate), size_t(2.02 * rate))), -30);
  EXPECT_NEAR(SinePeakDb(RmsDb(v, 1, 0, size_t(2.8 * rate), n)), 20 * std::log10(0.05), 0.1);
}

TEST(DspDynamics, BadParametersRaiseAndChangeNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const std::vector<float> original = Sine(440, 44100, 1000, 2, 0.5);
  std::vector<float> v = original;
  DspSignal s = Wrap(v, 2, 44100);
  struct Case {
    double threshold, rate, amount;
  } cases[] = {{-41, 50, 100}, {1, 50, 100}, {nan, 50, 100}, {-10, -1, 100}, {-10, 101, 100},
               {-10, nan, 100}, {-10, 50, 101}, {-10, 50, nan}};
  for (const auto& c : cases) {
    EXPECT_THROW(DspCompressor(s, c.threshold, c.rate, c.amount), EArgumentOutOfRangeException);
    EXPECT_EQ(v, original);
  }
}

TEST(DspDynamics, CompressorInPiecesOnAllCoresMatchesOneRunThrough) {
  // Two minutes of noise whose level jumps every 1.3 s: long enough to be cut into pieces for
  // the workers, each of which must take up the detector's state where the piece before it ends.
  // The reference goes one second at a time, in order, carrying the state from call to call.
  const double rate = 8000;
  const size_t frames = size_t(120 * rate);
  std::vector<float> v = Noise(2 * frames, 11, 0.9);
  for (size_t f = 0; f < frames; ++f) {
    const float level = (f / size_t(1.3 * rate)) % 3 == 0 ? 1.0f : 0.05f;
    v[2 * f] *= level;
    v[2 * f + 1] *= level * 0.5f;
  }
  std::vector<float> whole = v;
  DspCompressor(Wrap(whole, 2, rate), -25, 80, 90);
  DspStreams streams;
  for (size_t f = 0; f < frames; f += size_t(rate)) {
    DspSignal s = Wrap(v, 2, rate);
    s.Data = v.data() + 2 * f;
    s.Frames = std::min(size_t(rate), frames - f);
    streams.BeginBlock();
    DspCompressor(s, -25, 80, 90, &streams);
    streams.EndBlock();
  }
  float worst = 0;
  for (size_t i = 0; i < v.size(); ++i) worst = std::max(worst, std::fabs(whole[i] - v[i]));
  EXPECT_LT(worst, 1e-5f);
}
