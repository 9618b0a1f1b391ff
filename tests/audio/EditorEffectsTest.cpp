#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "audio/AudioDocument.h"
#include "audio/DspKernels.h"
#include "audio/DspTestSignals.h"
#include "audio/EditorEffects.h"

using namespace dsptest;

namespace {

constexpr int kRate = 44100;
constexpr int64_t kFrames = 30000, kStart = 10000, kEnd = 20000;

// A stereo document of a sine (left) and noise (right) with [kStart, kEnd) selected.
struct Doc {
  AudioDocument doc;
  SampleBuffer original;
  explicit Doc(int channels = 2) {
    doc.NewDocument(kRate, channels);
    std::vector<float> v = Sine(440, kRate, kFrames, channels, 0.5);
    const std::vector<float> n = Noise(v.size(), 3, 0.2);
    for (size_t i = 1; i < v.size(); i += size_t(channels)) v[i] = n[i];
    original = SampleBuffer(v, channels, kRate);
    doc.InsertPcm(original);
    doc.Select(kStart, kEnd);
  }
  SampleBuffer All() const {
    SampleBuffer b(doc.Channels(), kRate, doc.Length());
    doc.Samples().Read(0, doc.Length(), b.Data());
    return b;
  }
};

}  // namespace

TEST(EditorEffects, ActOnTheSelectionAsOneUndoStep) {
  struct Case {
    const char* name;
    std::function<void(AudioEditorEffects&)> apply;
    // Expected value of frame f, channel c, from the original value x.
    std::function<float(int64_t f, int c, float x, const SampleBuffer& o)> want;
  } cases[] = {
      {"amplify", [](AudioEditorEffects& e) { e.Amplify(200); },
       [](int64_t, int, float x, const SampleBuffer&) { return 2 * x; }},
      {"silence", [](AudioEditorEffects& e) { e.Silence(); },
       [](int64_t, int, float, const SampleBuffer&) { return 0.0f; }},
      {"reverse", [](AudioEditorEffects& e) { e.Reverse(); },
       [](int64_t f, int c, float, const SampleBuffer& o) { return o.At(kStart + kEnd - 1 - f, c); }},
      {"fade in", [](AudioEditorEffects& e) { e.Fade(0, 100); },
       [](int64_t f, int, float x, const SampleBuffer&) {
         return float(x * double(f - kStart) / double(kEnd - kStart - 1));
       }},
      {"swap channels", [](AudioEditorEffects& e) { e.MixStereo(0, 100, 100, 0); },
       [](int64_t f, int c, float, const SampleBuffer& o) { return o.At(f, 1 - c); }},
      {"envelope", [](AudioEditorEffects& e) { e.Envelope(SampleBuffer({1.0f, 0.0f}, 1, 0)); },
       [](int64_t f, int, float x, const SampleBuffer&) {
         return float(x * (1 - double(f - kStart) / double(kEnd - kStart - 1)));
       }},
  };
  for (const auto& c : cases) {
    Doc d;
    AudioEditorEffects e(d.doc);
    c.apply(e);
    const SampleBuffer after = d.All();
    ASSERT_EQ(after.Frames(), kFrames) << c.name;
    for (int64_t f = 0; f < kFrames; ++f)
      for (int ch = 0; ch < 2; ++ch) {
        const float x = d.original.At(f, ch);
        const float want = f >= kStart && f < kEnd ? c.want(f, ch, x, d.original) : x;
        ASSERT_NEAR(after.At(f, ch), want, 1e-6) << c.name << " frame " << f << " channel " << ch;
      }
    EXPECT_EQ(d.doc.SelectionStart(), kStart) << c.name;
    EXPECT_EQ(d.doc.SelectionEnd(), kEnd) << c.name;
    d.doc.Undo();
    EXPECT_EQ(d.All().Values(), d.original.Values()) << c.name;
  }
}

TEST(EditorEffects, LevelFilterAndDynamicsChangeOnlyTheSelection) {
  struct Case {
    const char* name;
    std::function<void(AudioEditorEffects&)> apply;
  } cases[] = {
      {"normalize", [](AudioEditorEffects& e) { e.Normalize(20, -1); }},
      {"compressor", [](AudioEditorEffects& e) { e.Compressor(-20, 100, 100); }},
      {"high-pass", [](AudioEditorEffects& e) { e.HighPass(4000, 100); }},
      {"equalizer",
       [](AudioEditorEffects& e) {
         e.Equalizer(SampleBuffer(std::vector<float>(12, -1.8f), 1, 0),
                     SampleBuffer({31.25f, 62.5f, 125, 250, 500, 1000, 2000, 4000, 6000, 9000, 12000, 16000}, 1, 0));
       }},
  };
  for (const auto& c : cases) {
    Doc d;
    AudioEditorEffects e(d.doc);
    c.apply(e);
    const SampleBuffer after = d.All();
    for (int64_t f = 0; f < kFrames; ++f) {
      if (f >= kStart && f < kEnd) continue;
      for (int ch = 0; ch < 2; ++ch) ASSERT_EQ(after.At(f, ch), d.original.At(f, ch)) << c.name;
    }
    // Every one of these turns this selection down.
    const double before = RmsDb(d.original.Values(), 2, 0, kStart, kEnd);
    EXPECT_LT(RmsDb(after.Values(), 2, 0, kStart, kEnd), before - 3) << c.name;
    d.doc.Undo();
    EXPECT_EQ(d.All().Values(), d.original.Values()) << c.name;
  }
  Doc d;
  AudioEditorEffects(d.doc).Normalize(40, -1);
  const SampleBuffer sel = d.All().Slice(kStart, kEnd - kStart);
  EXPECT_NEAR(DspPeak(sel.Data(), size_t(sel.ValueCount())), 0.4, 1e-6);
}

TEST(EditorEffects, InsertSilenceMonoMixAndRefusals) {
  {
    Doc d;
    d.doc.SetSelectionActive(false);
    d.doc.SetCursor(kStart);
    AudioEditorEffects(d.doc).InsertSilence(100);
    const SampleBuffer after = d.All();
    ASSERT_EQ(after.Frames(), kFrames + 4410);
    for (int64_t f = kStart; f < kStart + 4410; ++f) ASSERT_EQ(after.At(f, 0), 0.0f);
    EXPECT_EQ(after.At(kStart + 4410, 1), d.original.At(kStart, 1));
  }
  {
    Doc d(1);
    AudioEditorEffects(d.doc).MixStereo(0, 100, 100, 0);
    EXPECT_EQ(d.All().Values(), d.original.Values());
    d.doc.Undo();  // the document's insertion was the only step
    EXPECT_EQ(d.doc.Length(), 0);
  }
  const float nan = std::numeric_limits<float>::quiet_NaN();
  Doc d;
  AudioEditorEffects e(d.doc);
  const std::vector<std::pair<const char*, std::function<void()>>> refused = {
      {"amplify 1000", [&] { e.Amplify(1000); }},
      {"fade NaN", [&] { e.Fade(nan, 0); }},
      {"normalize 101", [&] { e.Normalize(101, -1); }},
      {"envelope -1", [&] { e.Envelope(SampleBuffer({1.0f, -1.0f}, 1, 0)); }},
      {"compressor rate 101", [&] { e.Compressor(-10, 101, 100); }},
      {"high-pass NaN", [&] { e.HighPass(nan, 100); }},
      {"insert silence -1", [&] { e.InsertSilence(-1); }},
      {"mix 101", [&] { e.MixStereo(101, 0, 0, 0); }},
  };
  for (const auto& [what, call] : refused) {
    EXPECT_ANY_THROW(call()) << what;
    EXPECT_EQ(d.All().Values(), d.original.Values()) << what;
  }
  // With nothing selected nothing changes.
  d.doc.SetSelectionActive(false);
  e.Amplify(500);
  EXPECT_EQ(d.All().Values(), d.original.Values());
  // No refused call left an undo step: one undo takes back the document's insertion.
  d.doc.Undo();
  EXPECT_EQ(d.doc.Length(), 0);
}

TEST(EditorEffects, ReportProgressAsLongOperations) {
  AudioDocument doc;
  doc.NewDocument(kRate, 2);
  const SampleBuffer original(Sine(440, kRate, 1 << 20, 2, 0.5), 2, kRate);
  doc.InsertPcm(original);
  doc.Select(0, doc.Length());
  doc.SetProgressDelay(0);
  std::vector<int> percents;
  int ends = 0;
  bool busyRefused = false;
  doc.OnBlockOperation = [&](int16_t percent) {
    percents.push_back(percent);
    try {
      doc.DeleteSelection();  // no edit may slip in while the selection is being worked on
    } catch (const EAudioBusy&) {
      busyRefused = true;
    }
  };
  doc.OnEndOperation = [&] { ++ends; };
  AudioEditorEffects e(doc);
  e.HighPass(1000, 100);
  ASSERT_FALSE(percents.empty());
  EXPECT_TRUE(std::is_sorted(percents.begin(), percents.end()));
  EXPECT_EQ(percents.back(), 100);
  EXPECT_EQ(ends, 1);
  EXPECT_TRUE(busyRefused);
  EXPECT_EQ(doc.Length(), original.Frames());

  // A handler that gives up ends the operation and leaves the document as it was.
  doc.Undo();
  doc.OnBlockOperation = [&](int16_t) { Abort(); };
  EXPECT_THROW(e.Amplify(50), EAbort);
  EXPECT_EQ(ends, 2);
  SampleBuffer now(2, kRate, doc.Length());
  doc.Samples().Read(0, doc.Length(), now.Data());
  EXPECT_EQ(now.Values(), original.Values());
}
