#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

#include "Imports/XOQAUDIOTRANSFORM2Lib_TLB.h"
#include "audio/DspTestSignals.h"
#include "platform/rtl/SysUtils.h"

using namespace dsptest;

namespace {

using Command = std::function<void(TAudioTransform2&, SampleBuffer&)>;

// The batch converter's block pipeline: one second at a time, split into channels, every command
// on the left then on the right, merged again.
SampleBuffer Batch(TAudioTransform2& t, const SampleBuffer& source, const std::vector<Command>& commands) {
  SampleBuffer out(2, source.SampleRate());
  for (int64_t at = 0; at < source.Frames(); at += source.SampleRate()) {
    const SampleBuffer b = source.Slice(at, source.SampleRate());
    t.SetBatchFlag(true);
    SampleBuffer left = t.LeftChannel(b), right = t.RightChannel(b);
    for (const auto& c : commands) {
      c(t, left);
      c(t, right);
    }
    out.Append(t.MergeChannels(left, right));
    t.SetBatchFlag(false);
  }
  return out;
}

SampleBuffer Whole(TAudioTransform2& t, const SampleBuffer& source, const std::vector<Command>& commands) {
  SampleBuffer left = t.LeftChannel(source), right = t.RightChannel(source);
  for (const auto& c : commands) {
    c(t, left);
    c(t, right);
  }
  return t.MergeChannels(left, right);
}

}  // namespace

// A chain of every effect with a memory, the speed change among them, fed block by block, gives
// what whole-channel calls give.
TEST(AudioTransformEffects, ABatchChainRunsWithoutSeams) {
  const int rate = 22050;
  const size_t frames = size_t(3.3 * rate);
  std::vector<float> v = Sine(220, rate, frames, 2, 0.4);
  const std::vector<float> noise = Noise(frames * 2, 4, 0.05);
  for (size_t i = 0; i < v.size(); ++i) v[i] += noise[i];
  const SampleBuffer source(v, 2, rate);
  const std::vector<Command> commands = {
      [](TAudioTransform2& t, SampleBuffer& a) { t.NoiseReduction(a, -40, 75, 100); },
      [](TAudioTransform2& t, SampleBuffer& a) { t.Echo(a, 200, 70, 40); },
      [](TAudioTransform2& t, SampleBuffer& a) { t.Flanger(a, 14, 50, 30, 99, 18, 40); },
      [](TAudioTransform2& t, SampleBuffer& a) { t.SpeedChange(a, 120); },
      [](TAudioTransform2& t, SampleBuffer& a) { t.Chorus(a, 31, 45, 60, 25, 12, 90); },
      [](TAudioTransform2& t, SampleBuffer& a) { t.Phaser(a, 300, 30, 45); },
      [](TAudioTransform2& t, SampleBuffer& a) { t.Reverb(a, 30, 60, 60, 30, 11025, 8); },
  };
  TAudioTransform2 t(nullptr);
  t.SetSampleRate(rate);
  const SampleBuffer whole = Whole(t, source, commands);
  const SampleBuffer batch = Batch(t, source, commands);
  ASSERT_EQ(batch.Frames(), std::llround(double(frames) / 1.2));
  ASSERT_EQ(whole.Frames(), batch.Frames());
  double m = 0;
  for (int64_t i = 0; i < whole.ValueCount(); ++i) m = std::max(m, double(std::fabs(whole[i] - batch[i])));
  EXPECT_LT(m, 1e-3);
}

TEST(AudioTransformEffects, BadValuesRaiseAndLeaveTheArray) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  TAudioTransform2 t(nullptr);
  const SampleBuffer original(Sine(440, 44100, 4410, 2, 0.5), 2, 44100);
  SampleBuffer a = original;
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"speed 0", [&] { t.SpeedChange(a, 0); }},
      {"speed 301", [&] { t.SpeedChange(a, 301); }},
      {"speed NaN", [&] { t.SpeedChange(a, nan); }},
      {"pitch 9", [&] { t.PitchChange(a, 9); }},
      {"echo delay NaN", [&] { t.Echo(a, nan, 50, 50); }},
      {"flanger sweep depth 101", [&] { t.Flanger(a, 10, 50, 50, 101, 10, 0); }},
      {"chorus mix -1", [&] { t.Chorus(a, 10, -1, 50, 10, 10, 0); }},
      {"phaser delay 5001", [&] { t.Phaser(a, 5001, 50, 50); }},
      {"reverb taps 11", [&] { t.Reverb(a, 30, 50, 50, 50, 11025, 11); }},
      {"noise reduction rate 0", [&] { t.NoiseReduction(a, -30, 0, 100); }},
  };
  for (const auto& [what, call] : cases) {
    EXPECT_THROW(call(), EArgumentOutOfRangeException) << what;
    EXPECT_EQ(a.Values(), original.Values()) << what;
  }
  // The ends of every range work.
  t.SpeedChange(a, 300);
  EXPECT_EQ(a.Frames(), 1470);
  EXPECT_EQ(a.Channels(), 2);
  t.SpeedChange(a, 1);
  EXPECT_EQ(a.Frames(), 147000);
  for (float p : {10.0f, 300.0f}) t.PitchChange(a, p);
  EXPECT_EQ(a.Frames(), 147000);
  t.Echo(a, 5000, 100, 100);
  t.Phaser(a, 0, 100, 100);
  t.Flanger(a, 100, 100, 100, 100, 100, 359);
  t.Chorus(a, 0, 0, 0, 0, 0, 0);
  t.Reverb(a, 1000, 100, 100, 100, 22500, 10);
  t.Reverb(a, 0, 100, 0, 0, 10, 0);
  t.NoiseReduction(a, -96, 1, 0);
  t.NoiseReduction(a, 10, 100, 1000);
  for (float x : a.Values()) ASSERT_TRUE(std::isfinite(x));
}
