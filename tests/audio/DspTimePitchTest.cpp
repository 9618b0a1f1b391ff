#include <gtest/gtest.h>

#include <malloc.h>

#include <cmath>
#include <limits>

#include "audio/AudioDocument.h"
#include "audio/BlockStore.h"
#include "audio/DspEffectTestUtil.h"
#include "audio/DspTimePitch.h"
#include "audio/EditorEffects.h"
#include "platform/rtl/SysUtils.h"

using namespace dsptest;

TEST(DspTimePitch, SpeedChangesTheLengthAndKeepsThePitch) {
  struct Case {
    const char* name;
    double percent;
  } cases[] = {{"Double Speed", 200}, {"Slow Down", 70}, {"Speed Up", 150},
               {"most", 300},         {"slowest kept short", 5}, {"unchanged", 100},
               {"fraction", 33.3}};
  const double rate = 22050;
  const size_t frames = size_t(1.5 * rate);
  for (const auto& c : cases) {
    std::vector<float> v = Sine(440, rate, frames, 2, 0.5);
    const std::vector<float> out = DspSpeedChange(Wrap(v, 2, rate), c.percent);
    const int64_t expected = int64_t(std::llround(double(frames) * 100 / c.percent));
    ASSERT_EQ(int64_t(out.size()), 2 * expected) << c.name;
    const std::vector<float> left = Channel(out, 2, 0);
    const size_t n = left.size();
    EXPECT_NEAR(ToneFrequency(left, rate, n / 4, 3 * n / 4), 440, 4) << c.name;
  }
}

TEST(DspTimePitch, PitchMovesTheToneAndKeepsTheLength) {
  struct Case {
    const char* name;
    double percent;
  } cases[] = {{"Helium", 60}, {"Soprano", 80}, {"Alto", 140}, {"Bass", 170},
               {"lowest setting", 10}, {"highest setting", 300}, {"unchanged", 100}};
  const double rate = 44100, tone = 300;
  const size_t frames = size_t(1.2 * rate);
  for (const auto& c : cases) {
    std::vector<float> v = Sine(tone, rate, frames, 1, 0.5);
    const std::vector<float> out = DspPitchChange(Wrap(v, 1, rate), c.percent);
    ASSERT_EQ(out.size(), frames) << c.name;
    EXPECT_NEAR(ToneFrequency(out, rate, frames / 4, 3 * frames / 4) / tone, 100 / c.percent,
                0.01 * 100 / c.percent)
        << c.name;
  }
}

TEST(DspTimePitch, BadValuesRaiseAndChangeNothing) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::vector<float> v = Sine(440, 8000, 800, 1, 0.5);
  const std::vector<float> original = v;
  const DspSignal s = Wrap(v, 1, 8000);
  for (double p : {0.0, -10.0, 0.5, 300.5, nan}) {
    EXPECT_THROW(DspSpeedChange(s, p), EArgumentOutOfRangeException) << p;
    EXPECT_EQ(v, original);
  }
  for (double p : {9.9, 301.0, nan}) EXPECT_THROW(DspPitchChange(s, p), EArgumentOutOfRangeException) << p;
  try {
    DspSpeedChange(s, 0);
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("Speed Change"), std::string::npos) << e.Message();
  }
}

// Fed as the batch converter feeds it, the stream gives the promised length once its last,
// shorter block is through, and sounds like one call on the whole.
TEST(DspTimePitch, BatchBlocksGiveOneContinuousStream) {
  const double rate = 22050;
  const size_t frames = size_t(4.4 * rate);
  const std::vector<float> stereo = Sine(500, rate, frames, 2, 0.5);
  for (double speed : {50.0, 150.0}) {
    std::vector<float> right;
    const std::vector<float> left = RunInBlocks(
        [&](std::vector<float>& v, double r, DspStreams* st) { return DspSpeedChange(Wrap(v, 1, r), speed, st); },
        stereo, rate, &right);
    const int64_t expected = int64_t(std::llround(double(frames) * 100 / speed));
    EXPECT_EQ(int64_t(left.size()), expected);
    EXPECT_EQ(left.size(), right.size());
    std::vector<float> whole = Channel(stereo, 2, 0);
    const std::vector<float> once = DspSpeedChange(Wrap(whole, 1, rate), speed);
    EXPECT_LT(LargestDifference(left, once), 1e-4) << speed;
    // No seam: the tone flows on where the blocks meet.
    EXPECT_LT(LargestStep(left, 1, 0, 0, left.size()), 2 * kPi * 500 / rate * 0.5 * 1.05) << speed;
  }
  // A file shorter than a block is one short block.
  const std::vector<float> brief(stereo.begin(), stereo.begin() + 2 * size_t(0.6 * rate));
  const std::vector<float> briefOut = RunInBlocks(
      [&](std::vector<float>& v, double r, DspStreams* st) { return DspSpeedChange(Wrap(v, 1, r), 80, st); },
      brief, rate);
  EXPECT_EQ(int64_t(briefOut.size()), std::llround(0.6 * rate * 100 / 80));
  std::vector<float> right;
  const std::vector<float> pitched = RunInBlocks(
      [&](std::vector<float>& v, double r, DspStreams* st) { return DspPitchChange(Wrap(v, 1, r), 60, st); },
      stereo, rate, &right);
  EXPECT_EQ(pitched.size(), frames);
  EXPECT_NEAR(ToneFrequency(pitched, rate, frames / 4, 3 * frames / 4), 500 / 0.6, 8);
}

TEST(DspTimePitch, TheEditorKeepsTheSelectionOnTheResult) {
  AudioDocument doc;
  doc.NewDocument(22050, 2);
  doc.InsertPcm(SampleBuffer(Sine(440, 22050, 44100, 2, 0.5), 2, 22050));
  doc.AddMarker(30000, 0, "after", "Bookmark");
  doc.AddMarker(5000, 0, "before", "Bookmark");
  doc.Select(10000, 20000);
  AudioEditorEffects effects(doc);
  effects.SpeedChange(200);
  EXPECT_EQ(doc.Length(), 44100 - 5000);
  EXPECT_EQ(doc.SelectionStart(), 10000);
  EXPECT_EQ(doc.SelectionEnd(), 15000);
  doc.SetCurrentMarkerIndex(1);
  EXPECT_EQ(doc.MarkerPosition(), 25000);
  doc.SetCurrentMarkerIndex(2);
  EXPECT_EQ(doc.MarkerPosition(), 5000);
  effects.PitchChange(60);
  EXPECT_EQ(doc.Length(), 44100 - 5000);
  EXPECT_THROW(effects.SpeedChange(0), EArgumentOutOfRangeException);
  EXPECT_EQ(doc.Length(), 44100 - 5000);
  doc.Undo();
  doc.Undo();
  EXPECT_EQ(doc.Length(), 44100);
}

// Speed 1 % makes the selection a hundred times longer. The result is built in blocks that the
// block store moves to disk beyond its memory budget, never in one array (an hour at 1 % once
// asked for 127 GB at once); it is the whole stretched selection, and one undo brings the
// document back.
TEST(DspTimePitch, SlowSpeedOnALongSelectionStaysWithinTheMemoryBudget) {
  BlockStore& store = BlockStore::Instance();
  const int64_t budget = store.MemoryBudget();
  store.SetMemoryBudget(int64_t(4) << 20);
  const int rate = 11025;
  AudioDocument doc;
  doc.NewDocument(rate, 2);
  doc.InsertPcm(SampleBuffer(Sine(440, rate, 4 * rate, 2, 0.5), 2, rate));
  const SampleBuffer before = [&] {
    SampleBuffer b(2, rate, doc.Length());
    doc.Samples().Read(0, doc.Length(), b.Data());
    return b;
  }();
  // Heap in use (arenas and mapped blocks), sampled at every progress report.
  auto heap = [] {
    const struct mallinfo2 m = mallinfo2();
    return int64_t(m.uordblks + m.hblkhd);
  };
  const int64_t base = heap();
  int64_t peak = base;
  doc.SetProgressDelay(0);
  doc.OnBlockOperation = [&](int16_t) { peak = std::max(peak, heap()); };
  doc.Select(0, doc.Length());
  AudioEditorEffects(doc).SpeedChange(1);
  peak = std::max(peak, heap());
  const int64_t stretched = 100 * 4 * int64_t(rate);  // 35 MB of floats
  EXPECT_EQ(doc.Length(), stretched);
  EXPECT_EQ(doc.SelectionEnd(), stretched);
  EXPECT_LT(peak - base, int64_t(20) << 20);
  EXPECT_GT(store.SwapBytesInUse(), int64_t(16) << 20);
  std::vector<float> middle(2 * 4096), left(4096);
  doc.Samples().Read(stretched / 2, 4096, middle.data());
  for (size_t i = 0; i < left.size(); ++i) left[i] = middle[2 * i];
  EXPECT_NEAR(ToneFrequency(left, rate, 0, left.size()), 440, 10);
  doc.Undo();
  ASSERT_EQ(doc.Length(), before.Frames());
  std::vector<float> back(size_t(before.ValueCount()));
  doc.Samples().Read(0, doc.Length(), back.data());
  EXPECT_EQ(back, before.Values());
  store.SetMemoryBudget(budget);
}

// A result longer than a document can hold is refused at once, before any work, and the
// document stays as it was. (The long document shares one block, so it costs no memory.)
TEST(DspTimePitch, SpeedResultTooLongForADocumentIsRefusedFirst) {
  AudioDocument doc;
  doc.NewDocument(8000, 1);
  doc.InsertPcm(SampleBuffer(std::vector<float>(1 << 20, 0.25f), 1, 8000));
  for (int i = 0; i < 5; ++i) {  // 32 Mi frames
    doc.Select(0, doc.Length());
    doc.Copy();
    doc.SetSelectionActive(false);
    doc.SetCursor(doc.Length());
    doc.Paste();
  }
  ASSERT_EQ(doc.Length(), int64_t(32) << 20);
  doc.Select(0, int64_t(22) << 20);  // 100 times that is past 2^31 frames
  bool ended = false;
  doc.OnEndOperation = [&] { ended = true; };
  try {
    AudioEditorEffects(doc).SpeedChange(1);
    ADD_FAILURE() << "refused";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("at most 2147483647"), std::string::npos) << e.Message();
  }
  EXPECT_FALSE(ended) << "no work began";
  EXPECT_EQ(doc.Length(), int64_t(32) << 20);
  EXPECT_EQ(doc.SelectionEnd(), int64_t(22) << 20);
  doc.Undo();  // the last paste, not a speed change
  EXPECT_EQ(doc.Length(), int64_t(16) << 20);
}
