#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "audio/AudioDocument.h"
#include "audio/DspDelay.h"
#include "audio/DspEffectTestUtil.h"
#include "audio/DspModulation.h"
#include "audio/DspNoiseReduction.h"
#include "audio/DspReverb.h"
#include "audio/EditorEffects.h"
#include "platform/rtl/SysUtils.h"

using namespace dsptest;

TEST(DspDelay, EchoRepeatsAnImpulseAtTheDelayWithFallingLevels) {
  struct Case {
    double rate, delay, mix, feedback;
    int channels;
    std::vector<std::pair<double, double>> taps;  // ms after the impulse, level
  } cases[] = {
      {44100, 100, 50, 40, 1, {{0, 1}, {100, 0.5}, {200, 0.2}, {300, 0.08}, {400, 0.032}}},
      {48000, 200, 70, 0, 2, {{0, 1}, {200, 0.7}, {400, 0}}},  // "Small Echo": one repeat
      {8000, 5000, 100, 100, 1, {{0, 1}, {5000, 1}, {10000, 0.99}, {15000, 0.99 * 0.99}}},
      {22050, 0, 100, 100, 2, {{0, 1}}},  // no room for an echo: the sound as it was
      {22050, 300, 0, 70, 1, {{0, 1}, {300, 0}, {600, 0}}},
  };
  for (const auto& c : cases) {
    const size_t frames = size_t(c.rate * 16);
    std::vector<float> v(frames * size_t(c.channels), 0.0f);
    for (int ch = 0; ch < c.channels; ++ch) v[size_t(ch)] = 1;
    DspEcho(Wrap(v, c.channels, c.rate), c.delay, c.mix, c.feedback);
    double expectedSum = 0, sum = 0;
    for (const auto& [ms, level] : c.taps) {
      const size_t at = size_t(std::llround(ms * c.rate / 1000));
      for (int ch = 0; ch < c.channels; ++ch)
        EXPECT_NEAR(v[at * size_t(c.channels) + size_t(ch)], level, 1e-5)
            << c.delay << " ms, " << c.feedback << " %, at " << ms << " ms";
      expectedSum += level * c.channels;
    }
    for (float x : v) sum += std::fabs(x);
    // Nothing but the repeats: what remains is whatever later repeats fit in the run.
    EXPECT_NEAR(sum, expectedSum, c.feedback == 40 ? 0.03 : 1e-4)
        << c.delay << " ms";
  }
}

TEST(DspDelay, BadValuesRaiseAndChangeNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<float> v = Sine(440, 8000, 800, 1, 0.5);
  const std::vector<float> original = v;
  const DspSignal s = Wrap(v, 1, 8000);
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"echo delay 5001", [&] { DspEcho(s, 5001, 50, 50); }},
      {"echo mix NaN", [&] { DspEcho(s, 100, nan, 50); }},
      {"echo feedback -1", [&] { DspEcho(s, 100, 50, -1); }},
      {"flanger delay rate 101", [&] { DspModulation(s, DspModulationKind::Flanger, 101, 50, 50, 50, 50, 0); }},
      {"chorus sweep phase 360", [&] { DspModulation(s, DspModulationKind::Chorus, 10, 50, 50, 50, 50, 360); }},
      {"chorus sweep rate NaN", [&] { DspModulation(s, DspModulationKind::Chorus, 10, 50, 50, 50, nan, 0); }},
      {"phaser delay -1", [&] { DspPhaser(s, -1, 50, 50); }},
      {"phaser feedback 100.5", [&] { DspPhaser(s, 300, 50, 100.5); }},
      {"reverb delay 1001", [&] { DspReverb(s, 1001, 50, 50, 50, 11025, 8); }},
      {"reverb frequency 9", [&] { DspReverb(s, 30, 50, 50, 50, 9, 8); }},
      {"reverb frequency 22501", [&] { DspReverb(s, 30, 50, 50, 50, 22501, 8); }},
      {"reverb taps 11", [&] { DspReverb(s, 30, 50, 50, 50, 11025, 11); }},
      {"reverb taps -1", [&] { DspReverb(s, 30, 50, 50, 50, 11025, -1); }},
      {"noise reduction threshold -97", [&] { DspNoiseReduction(s, -97, 50, 100); }},
      {"noise reduction rate 0", [&] { DspNoiseReduction(s, -30, 0, 100); }},
      {"noise reduction time 1001", [&] { DspNoiseReduction(s, -30, 50, 1001); }},
      {"noise reduction threshold NaN", [&] { DspNoiseReduction(s, nan, 50, 100); }},
  };
  for (const auto& [what, call] : cases) {
    try {
      call();
      ADD_FAILURE() << what << " did not raise";
    } catch (const EArgumentOutOfRangeException& e) {
      EXPECT_FALSE(e.Message().empty());
    }
    EXPECT_EQ(v, original) << what;
  }
}

// Every effect with a memory, fed as the batch converter feeds it, gives what one call on the
// whole channel gives: no seam where the blocks meet.
TEST(DspDelay, EffectsCarryTheirStateAcrossBatchBlocks) {
  struct Case {
    const char* name;
    std::function<void(const DspSignal&, DspStreams*)> effect;
    double tolerance;
  } cases[] = {
      {"echo 1300 ms", [](const DspSignal& s, DspStreams* st) { DspEcho(s, 1300, 50, 60, st); }, 1e-6},
      {"echo 200 ms", [](const DspSignal& s, DspStreams* st) { DspEcho(s, 200, 70, 40, st); }, 1e-6},
      {"flanger", [](const DspSignal& s, DspStreams* st) {
         DspModulation(s, DspModulationKind::Flanger, 14, 50, 30, 99, 18, 40, st); }, 1e-6},
      {"chorus", [](const DspSignal& s, DspStreams* st) {
         DspModulation(s, DspModulationKind::Chorus, 31, 45, 60, 25, 12, 90, st); }, 1e-6},
      {"phaser", [](const DspSignal& s, DspStreams* st) { DspPhaser(s, 300, 30, 45, st); }, 1e-6},
      {"reverb", [](const DspSignal& s, DspStreams* st) { DspReverb(s, 30, 60, 60, 30, 11025, 8, st); }, 1e-6},
      {"noise reduction", [](const DspSignal& s, DspStreams* st) { DspNoiseReduction(s, -30, 75, 100, st); }, 1e-6},
  };
  const double rate = 22050;
  const size_t frames = size_t(3.7 * rate);
  std::vector<float> stereo = Sine(330, rate, frames, 2, 0.3);
  const std::vector<float> noise = Noise(stereo.size(), 5, 0.2);
  // A loud second, a quiet one, a loud one: the noise reduction opens and closes over the seams.
  for (size_t i = 0; i < stereo.size(); ++i)
    stereo[i] = (i / 2 / size_t(rate) == 1 ? 0.01f : 1.0f) * (stereo[i] + noise[i]);
  for (const auto& c : cases) {
    std::vector<float> right;
    const std::vector<float> left = RunInBlocks(
        [&](std::vector<float>& v, double r, DspStreams* st) {
          c.effect(Wrap(v, 1, r), st);
          return v;
        },
        stereo, rate, &right);
    for (int ch = 0; ch < 2; ++ch) {
      std::vector<float> whole = Channel(stereo, 2, ch);
      c.effect(Wrap(whole, 1, rate), nullptr);
      EXPECT_LE(LargestDifference(ch == 0 ? left : right, whole), c.tolerance) << c.name;
    }
  }
}

// On the editor's selection the echo ends with the selection: what follows is untouched, and the
// effect is one undo step.
TEST(DspDelay, EditorEchoEndsAtTheSelection) {
  AudioDocument doc;
  doc.NewDocument(8000, 1);
  std::vector<float> v(16000, 0.0f);
  v[1000] = 1;
  v[12000] = 0.5f;
  doc.InsertPcm(SampleBuffer(v, 1, 8000));
  doc.Select(0, 4000);
  AudioEditorEffects effects(doc);
  effects.Echo(250, 50, 90);  // repeats every 2000 frames: at 3000, 5000, 7000...
  std::vector<float> after(16000);
  doc.Samples().Read(0, 16000, after.data());
  EXPECT_FLOAT_EQ(after[3000], 0.5f);
  for (size_t i = 4000; i < after.size(); ++i) ASSERT_EQ(after[i], v[i]) << i;
  doc.Undo();
  doc.Samples().Read(0, 16000, after.data());
  EXPECT_EQ(after, v);
}
