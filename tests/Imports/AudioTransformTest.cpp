#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <memory>

#include "Imports/XOQAUDIOTRANSFORM2Lib_TLB.h"
#include "audio/DspTestSignals.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

using namespace dsptest;

namespace {

const float kBands[12] = {31.25f, 62.5f, 125, 250, 500, 1000, 2000, 4000, 6000, 9000, 12000, 16000};

SampleBuffer EqualizerGains(std::initializer_list<int> bandValues) {
  std::vector<float> g;
  for (int v : bandValues) g.push_back(float(v) / 100.0f);
  return SampleBuffer(g, 1, 0);
}

SampleBuffer EqualizerFrequencies() { return SampleBuffer(std::vector<float>(kBands, kBands + 12), 1, 0); }

using Command = std::function<void(TAudioTransform2&, SampleBuffer&)>;

// The batch converter's block pipeline: one second at a time, split into channels, every command
// on the left then on the right, merged again.
SampleBuffer RunLikeBatch(TAudioTransform2& t, const SampleBuffer& source, const std::vector<Command>& commands,
                          bool flag = true) {
  const int64_t block = source.SampleRate();
  SampleBuffer out(2, source.SampleRate());
  for (int64_t at = 0; at < source.Frames(); at += block) {
    const SampleBuffer b = source.Slice(at, block);
    t.SetBatchFlag(flag);
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

// The same commands on each whole channel in one call each.
SampleBuffer RunWhole(TAudioTransform2& t, const SampleBuffer& source, const std::vector<Command>& commands) {
  SampleBuffer left = t.LeftChannel(source), right = t.RightChannel(source);
  for (const auto& c : commands) {
    c(t, left);
    c(t, right);
  }
  return t.MergeChannels(left, right);
}

double LargestDifference(const SampleBuffer& a, const SampleBuffer& b) {
  EXPECT_EQ(a.ValueCount(), b.ValueCount());
  double m = 0;
  for (int64_t i = 0; i < std::min(a.ValueCount(), b.ValueCount()); ++i)
    m = std::max(m, double(std::fabs(a[i] - b[i])));
  return m;
}

}  // namespace

TEST(AudioTransform, IsKnownToFormDescriptionsByName) {
  RegisterAudioTransform2();
  const TClassInfo* info = FindClassInfo("TAudioTransform2");
  ASSERT_NE(info, nullptr);
  std::unique_ptr<TComponent> c(info->CreateComponent(nullptr));
  ASSERT_NE(dynamic_cast<TAudioTransform2*>(c.get()), nullptr);
  EXPECT_TRUE(IsPublishedProp(c.get(), "OnTransformBlock"));
  EXPECT_TRUE(IsPublishedProp(c.get(), "OnEndTransform"));
}

TEST(AudioTransform, ChannelsSplitMergeAndWiden) {
  TAudioTransform2 t(nullptr);
  SampleBuffer stereo(std::vector<float>{1, -1, 2, -2, 3, -3}, 2, 22050);
  const SampleBuffer l = t.LeftChannel(stereo), r = t.RightChannel(stereo);
  EXPECT_EQ(l.Values(), (std::vector<float>{1, 2, 3}));
  EXPECT_EQ(r.Values(), (std::vector<float>{-1, -2, -3}));
  EXPECT_EQ(l.Channels(), 1);
  EXPECT_EQ(l.SampleRate(), 22050);

  // The shorter side is padded with silence.
  SampleBuffer shortRight(std::vector<float>{-1}, 1, 22050);
  const SampleBuffer merged = t.MergeChannels(l, shortRight);
  EXPECT_EQ(merged.Channels(), 2);
  EXPECT_EQ(merged.Values(), (std::vector<float>{1, -1, 2, 0, 3, 0}));
  EXPECT_EQ(t.MergeChannels(SampleBuffer(1, 8000), r).Values(), (std::vector<float>{0, -1, 0, -2, 0, -3}));

  const SampleBuffer wide = t.MonoToStereo(l);
  EXPECT_EQ(wide.Values(), (std::vector<float>{1, 1, 2, 2, 3, 3}));
  EXPECT_EQ(wide.SampleRate(), 22050);
  // A mono block asked for either channel gives itself.
  EXPECT_EQ(t.RightChannel(l).Values(), l.Values());
  EXPECT_TRUE(t.LeftChannel(SampleBuffer()).Empty());
}

TEST(AudioTransform, BatchBlocksContinueTheirStreamsWithoutSeams) {
  const int rate = 44100;
  const size_t frames = size_t(3.5 * rate);
  std::vector<float> v = Sine(150, rate, frames, 2, 0.4);
  const std::vector<float> noise = Noise(frames * 2, 9, 0.3);
  for (size_t i = 0; i < v.size(); ++i) v[i] += noise[i];
  const SampleBuffer source(v, 2, rate);
  const SampleBuffer gains = EqualizerGains({-50, -180, -50, 0, -30, 80, 0, 75, 45, 30, 15, 0});
  const SampleBuffer freqs = EqualizerFrequencies();
  const std::vector<Command> commands = {
      [](TAudioTransform2& t, SampleBuffer& a) { t.HighPass(a, 200, 100); },
      [&](TAudioTransform2& t, SampleBuffer& a) { t.Equalizer(a, gains, freqs); },
      [](TAudioTransform2& t, SampleBuffer& a) { t.Amplify(a, 150); },
      [](TAudioTransform2& t, SampleBuffer& a) { t.Compressor(a, -20, 50, 100); },
      [](TAudioTransform2& t, SampleBuffer& a) { t.MixStereo(a, 0, 100, 100, 0); },
  };
  TAudioTransform2 t(nullptr);
  t.SetSampleRate(rate);
  const SampleBuffer whole = RunWhole(t, source, commands);
  const SampleBuffer batch = RunLikeBatch(t, source, commands);
  EXPECT_LT(LargestDifference(whole, batch), 1e-5);

  // Without the flag every block starts from rest, and the seams show.
  t.SetSampleRate(rate);
  const SampleBuffer fresh = RunLikeBatch(t, source, commands, false);
  EXPECT_GT(LargestDifference(whole, fresh), 1e-2);

  // Putting the rate forgets the streams: the next block starts from rest like a first one.
  TAudioTransform2 u(nullptr);
  u.SetSampleRate(rate);
  RunLikeBatch(u, source.Slice(0, rate), commands);
  u.SetSampleRate(rate);
  const SampleBuffer restarted = RunLikeBatch(u, source.Slice(rate, rate), commands);
  TAudioTransform2 w(nullptr);
  w.SetSampleRate(rate);
  EXPECT_EQ(LargestDifference(restarted, RunLikeBatch(w, source.Slice(rate, rate), commands)), 0.0);
}

TEST(AudioTransform, AStreamContinuesOnlyIntoTheSameEffect) {
  const int rate = 48000;
  const SampleBuffer source(Noise(size_t(rate) * 2 * 2, 4), 2, rate);
  TAudioTransform2 t(nullptr);
  t.SetSampleRate(rate);
  // Block 1 filters at 300 Hz; block 2 at 301 Hz is another effect and must start from rest.
  RunLikeBatch(t, source.Slice(0, rate), {[](TAudioTransform2& x, SampleBuffer& a) { x.HighPass(a, 300, 100); }});
  const Command other = [](TAudioTransform2& x, SampleBuffer& a) { x.HighPass(a, 301, 100); };
  const SampleBuffer second = RunLikeBatch(t, source.Slice(rate, rate), {other});
  TAudioTransform2 u(nullptr);
  u.SetSampleRate(rate);
  EXPECT_EQ(LargestDifference(second, RunLikeBatch(u, source.Slice(rate, rate), {other})), 0.0);
}

TEST(AudioTransform, TheArraysOwnRateGoverns) {
  // A 1 kHz high-pass on a 1 kHz tone reads -3 dB only at the rate the filter was designed for.
  auto measure = [](int arrayRate, int componentRate, int toneRate) {
    TAudioTransform2 t(nullptr);
    t.SetSampleRate(componentRate);
    SampleBuffer a(Sine(1000, toneRate, size_t(toneRate), 1, 0.5), 1, arrayRate);
    t.HighPass(a, 1000, 100);
    return RmsDb(a.Values(), 1, 0, size_t(toneRate) / 2, size_t(toneRate)) - RmsDb(Sine(1000, toneRate, size_t(toneRate), 1, 0.5), 1, 0, size_t(toneRate) / 2, size_t(toneRate));
  };
  EXPECT_NEAR(measure(48000, 8000, 48000), -3.01, 0.05);
  EXPECT_NEAR(measure(0, 48000, 48000), -3.01, 0.05);
  EXPECT_GT(std::fabs(measure(0, 96000, 48000) + 3.01), 1.0);
}

TEST(AudioTransform, ProgressAndEndEvents) {
  TAudioTransform2 t(nullptr);
  std::vector<int> percents;
  int ends = 0;
  t.OnTransformBlock = [&](TObject* sender, int percent) {
    EXPECT_EQ(sender, &t);
    percents.push_back(percent);
  };
  t.OnEndTransform = [&](TObject*) { ++ends; };

  SampleBuffer big(Noise(1 << 22, 2), 2, 44100);
  t.Normalize(big, 100, -1);
  ASSERT_FALSE(percents.empty());
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(percents.back(), 100);
  EXPECT_EQ(ends, 1);

  // A batch-sized block is over too soon to report.
  percents.clear();
  SampleBuffer small(Noise(44100, 2), 1, 44100);
  t.HighPass(small, 200, 100);
  EXPECT_TRUE(percents.empty());
  EXPECT_EQ(ends, 1);

  // A failure inside the progress handler still ends the transform.
  t.OnTransformBlock = [&](TObject*, int) { Abort(); };
  EXPECT_THROW(t.Amplify(big, 50), EAbort);
  EXPECT_EQ(ends, 2);
}

TEST(AudioTransform, BadParametersRaiseAndLeaveTheArray) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  TAudioTransform2 t(nullptr);
  const SampleBuffer original(Sine(440, 44100, 4410, 2, 0.5), 2, 44100);
  SampleBuffer a = original;
  const SampleBuffer freqs = EqualizerFrequencies();
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"amplify 1000", [&] { t.Amplify(a, 1000); }},
      {"amplify NaN", [&] { t.Amplify(a, nan); }},
      {"fade -1", [&] { t.Fade(a, -1, 100); }},
      {"normalize 101", [&] { t.Normalize(a, 101, -1); }},
      {"normalize mode 0", [&] { t.Normalize(a, 100, 0); }},
      {"compressor threshold -41", [&] { t.Compressor(a, -41, 50, 100); }},
      {"compressor rate NaN", [&] { t.Compressor(a, -10, nan, 100); }},
      {"high-pass 10000 Hz", [&] { t.HighPass(a, 10000, 100); }},
      {"equalizer 19 dB", [&] { t.Equalizer(a, EqualizerGains({0, 0, 0, 0, 0, 190, 0, 0, 0, 0, 0, 0}), freqs); }},
      {"equalizer 11 gains", [&] { t.Equalizer(a, EqualizerGains({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}), freqs); }},
      {"mix stereo 200", [&] { t.MixStereo(a, 200, 0, 0, 100); }},
  };
  for (const auto& [what, call] : cases) {
    EXPECT_THROW(call(), EArgumentOutOfRangeException) << what;
    EXPECT_EQ(a.Values(), original.Values()) << what;
  }
  EXPECT_THROW(t.SetSampleRate(0), EArgumentOutOfRangeException);
  // Every value inside the ranges works, the ends included.
  for (float p : {0.0f, 999.0f}) t.Amplify(a, p);
  for (float th : {-40.0f, 0.0f})
    for (float r : {0.0f, 100.0f}) t.Compressor(a, th, r, 100);
  for (float c : {0.0f, 9999.0f}) t.HighPass(a, c, 100);
  t.Equalizer(a, EqualizerGains({180, -180, 180, -180, 180, -180, 180, -180, 180, -180, 180, -180}), freqs);
  for (float x : a.Values()) ASSERT_TRUE(std::isfinite(x));
}
