#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>

#include "AudioTestUtil.h"
#include "DeviceTestUtil.h"
#include "audio/DocumentPlayer.h"
#include "audio/FormatConverter.h"
#include "common/TestEnv.h"

using namespace audiotest;

namespace {

constexpr int kRate = 8000;

struct Recorder {
  int Ends = 0, Positions = 0;
  std::vector<std::pair<int, int>> Meters;
  void Bind(DocumentPlayer& p) {
    p.OnEndPlay = [this] { ++Ends; };
    p.OnChangePlayPosition = [this] { ++Positions; };
    p.OnMeter = [this](int l, int r) { Meters.push_back({l, r}); };
  }
};

SampleBuffer Range(const SampleBuffer& b, int64_t start, int64_t end) {
  return b.Slice(start, end - start);
}

}  // namespace

TEST(DocumentPlayer, PlaysTheSelectionOrTheCursorToTheEndOnceExactly) {
  struct Case {
    bool select;
    int64_t a, b;  // selection, or the cursor in a
  } cases[] = {{true, 300, 1900}, {false, 1200, 0}, {true, 0, 2400}};
  for (const Case& c : cases) {
    const auto dir = sonalix::test::MakeTempDir("play");
    ScopedBackend backend("file:" + dir.string());
    ManualClock clock;
    AudioDocument doc;
    Fill(doc, 2400, 2, kRate);
    if (c.select)
      doc.Select(c.a, c.b);
    else {
      doc.SetSelectionActive(false);
      doc.SetCursor(c.a);
    }
    const int64_t start = c.a, end = c.select ? c.b : 2400;
    DocumentPlayer player(doc);
    Recorder rec;
    rec.Bind(player);
    int positionEvents = 0;
    doc.OnChangePosition = [&] { ++positionEvents; };
    player.Play(DocumentPlayer::pmOnce);
    EXPECT_EQ(player.PlayState(), DocumentPlayer::psPlaying);
    bool sawInside = false;
    ASSERT_TRUE(clock.RunUntil([&] {
      const int64_t cur = doc.Cursor();
      if (player.PlayState() == DocumentPlayer::psPlaying && cur > start && cur < end)
        sawInside = true;
      return rec.Ends > 0;
    }));
    EXPECT_TRUE(sawInside) << "the cursor follows the play position";
    EXPECT_EQ(player.PlayState(), DocumentPlayer::psIdle);
    EXPECT_EQ(doc.Cursor(), start) << "the cursor returns to where play began";
    EXPECT_GE(positionEvents, 1);
    EXPECT_GT(rec.Positions, 1);
    ASSERT_FALSE(rec.Meters.empty());
    EXPECT_EQ(rec.Meters.back(), std::make_pair(0, 0));
    const SampleBuffer got = ReadWav(player.OutputFile());
    EXPECT_EQ(got.SampleRate(), kRate);
    EXPECT_EQ(got.Values(), Range(Contents(doc), start, end).Values());
  }
}

TEST(DocumentPlayer, LoopRepeatsTheSelectionUntilStop) {
  const auto dir = sonalix::test::MakeTempDir("loop");
  ScopedBackend backend("file:" + dir.string());
  ManualClock clock;
  AudioDocument doc;
  Fill(doc, 4000, 1, kRate);
  doc.Select(1000, 1400);  // 50 ms
  DocumentPlayer player(doc);
  Recorder rec;
  rec.Bind(player);
  player.Play(DocumentPlayer::pmLoop);
  ASSERT_TRUE(clock.RunUntil([&] { return player.PlayPosition() > 0 && rec.Positions >= 5; }));
  player.Stop();
  EXPECT_EQ(player.PlayState(), DocumentPlayer::psIdle);
  EXPECT_EQ(doc.Cursor(), 1000);
  EXPECT_EQ(rec.Ends, 0);
  EXPECT_EQ(rec.Meters.back(), std::make_pair(0, 0));
  const SampleBuffer got = ReadWav(player.OutputFile());
  ASSERT_GT(got.Frames(), 800);
  for (int64_t f = 0; f < got.Frames(); ++f) ASSERT_EQ(got.At(f, 0), float(1000 + f % 400)) << f;
  clock.Advance(50);
  EXPECT_EQ(rec.Ends, 0) << "no end event after Stop";
}

TEST(DocumentPlayer, PauseHoldsThePositionAndResumeLosesNothing) {
  const auto dir = sonalix::test::MakeTempDir("pause");
  ScopedBackend backend("file:" + dir.string());
  ManualClock clock;
  AudioDocument doc;
  Fill(doc, 3200, 2, kRate);  // 0.4 s
  DocumentPlayer player(doc);
  Recorder rec;
  rec.Bind(player);
  player.Play(DocumentPlayer::pmOnce);
  ASSERT_TRUE(clock.RunUntil([&] { return doc.Cursor() > 400; }));
  player.Pause();
  EXPECT_EQ(player.PlayState(), DocumentPlayer::psPaused);
  EXPECT_EQ(rec.Meters.back(), std::make_pair(0, 0));
  const int64_t held = doc.Cursor();
  const size_t meters = rec.Meters.size();
  clock.Advance(60);
  EXPECT_EQ(doc.Cursor(), held);
  EXPECT_EQ(rec.Meters.size(), meters) << "no level news while paused";
  player.Resume();
  ASSERT_TRUE(clock.RunUntil([&] { return rec.Ends > 0; }));
  EXPECT_EQ(ReadWav(player.OutputFile()).Values(), Contents(doc).Values());
}

TEST(DocumentPlayer, MetersFollowTheSignalBeforeTheVolume) {
  const auto dir = sonalix::test::MakeTempDir("meter");
  ScopedBackend backend("file:" + dir.string());
  ManualClock clock;
  EXPECT_EQ(DocumentPlayer::MeterLevel(0), 0);
  EXPECT_EQ(DocumentPlayer::MeterLevel(1), 92);
  EXPECT_EQ(DocumentPlayer::MeterLevel(0.5f), 86);
  EXPECT_EQ(DocumentPlayer::MeterLevel(1e-6f), 0);
  AudioDocument doc;
  doc.NewDocument(kRate, 2);
  SampleBuffer sig = Constant(2400, {0.5f, 0.1f}, kRate);
  doc.InsertPcm(sig);
  doc.SetCursor(0);
  DocumentPlayer player(doc);
  player.SetVolume(65535 / 4);
  Recorder rec;
  rec.Bind(player);
  player.Play(DocumentPlayer::pmOnce);
  ASSERT_TRUE(clock.RunUntil([&] { return rec.Ends > 0; }));
  ASSERT_GE(rec.Meters.size(), 3u);
  EXPECT_EQ(rec.Meters.front(), std::make_pair(86, 72));
  EXPECT_EQ(rec.Meters.back(), std::make_pair(0, 0));
  const SampleBuffer got = ReadWav(player.OutputFile());
  ASSERT_EQ(got.Frames(), 2400);
  EXPECT_NEAR(got.At(100, 0), 0.125, 1e-4) << "the volume is a gain on the sound only";
}

TEST(DocumentPlayer, MetersShowTheLevelBeingHeardNotTheOneTakenByTheDevice) {
  const auto dir = sonalix::test::MakeTempDir("heard");
  ScopedBackend backend("file:" + dir.string());
  ManualClock clock;
  // Parts of whole meter blocks (kRate / 25 frames): a level change at 1600, silence from 3200.
  struct Part {
    int64_t frames;
    float left, right;
    int levelLeft, levelRight;
  } parts[] = {{1600, 0.5f, 0.25f, 86, 80}, {1600, 0.1f, 1.f, 72, 92}, {960, 0.f, 0.f, 0, 0}};
  AudioDocument doc;
  doc.NewDocument(kRate, 2);
  SampleBuffer all(2, kRate);
  for (const Part& p : parts) all.Append(Constant(p.frames, {p.left, p.right}, kRate));
  doc.InsertPcm(all);
  doc.SetSelectionActive(false);
  doc.SetCursor(0);
  DocumentPlayer player(doc);
  player.SetVolume(65535 / 8);
  struct Seen {
    int64_t position;
    int left, right;
  };
  std::vector<Seen> seen;
  int ends = 0;
  player.OnMeter = [&](int l, int r) {
    if (player.PlayState() == DocumentPlayer::psPlaying)
      seen.push_back({player.PlayPosition(), l, r});
  };
  player.OnEndPlay = [&] { ++ends; };
  // The GUI thread answers every 50 ms, as when it is busy drawing, at each phase of the blocks.
  for (int phase : {10, 20, 30, 40, 50}) {
    SCOPED_TRACE(phase);
    seen.clear();
    ends = 0;
    player.Play(DocumentPlayer::pmOnce);
    clock.Advance(phase);
    for (int i = 0; i < 20 && ends == 0; ++i) clock.Advance(50);
    ASSERT_EQ(ends, 1);
    std::vector<int> perPart(std::size(parts));
    for (const Seen& s : seen) {
      size_t k = 0;
      for (int64_t end = parts[0].frames; s.position >= end && k + 1 < std::size(parts);)
        end += parts[++k].frames;
      ++perPart[k];
      EXPECT_EQ(s.left, parts[k].levelLeft) << "at frame " << s.position;
      EXPECT_EQ(s.right, parts[k].levelRight) << "at frame " << s.position;
    }
    for (size_t k = 0; k < perPart.size(); ++k) EXPECT_GE(perPart[k], 1) << "part " << k;
  }
}

TEST(DocumentPlayer, TwoDocumentsPlayAtOnce) {
  const auto dir = sonalix::test::MakeTempDir("two");
  ScopedBackend backend("file:" + dir.string());
  ManualClock clock;
  AudioDocument a, b;
  Fill(a, 2000, 2, kRate);
  Fill(b, 1500, 1, 11025);
  DocumentPlayer pa(a), pb(b);
  Recorder ra, rb;
  ra.Bind(pa);
  rb.Bind(pb);
  pa.Play(DocumentPlayer::pmOnce);
  pb.Play(DocumentPlayer::pmOnce);
  EXPECT_TRUE(pa.PlayState() == DocumentPlayer::psPlaying &&
              pb.PlayState() == DocumentPlayer::psPlaying);
  ASSERT_TRUE(clock.RunUntil([&] { return ra.Ends > 0 && rb.Ends > 0; }));
  EXPECT_NE(pa.OutputFile(), pb.OutputFile());
  EXPECT_EQ(ReadWav(pa.OutputFile()).Values(), Contents(a).Values());
  EXPECT_EQ(ReadWav(pb.OutputFile()).Values(), Contents(b).Values());
}

TEST(DocumentPlayer, FormatsTheOutputDoesNotTakePlayConvertedWithPositionsInDocumentFrames) {
  struct Case {
    int rate, channels;
    bool select;  // a selection up to seven eighths, else from the cursor to the end
    int outRate, outChannels;
  } cases[] = {{768000, 2, true, kWaveDeviceRate, 2},
               {705600, 1, false, kWaveDeviceRate, 1},
               {8000, 6, false, 8000, 2},
               {768000, 32, true, kWaveDeviceRate, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.rate) + " Hz, " + std::to_string(c.channels) + " channels");
    const auto dir = sonalix::test::MakeTempDir("convert");
    ScopedBackend backend("file:" + dir.string());
    ManualClock clock;
    const int64_t frames = c.rate / 5;
    const SampleBuffer sound = Sine(frames, 1000, c.rate, c.channels, 0.5);
    AudioDocument doc;
    doc.NewDocument(c.rate, c.channels);
    doc.InsertPcm(sound);
    const int64_t start = frames / 4, end = c.select ? frames * 7 / 8 : frames;
    if (c.select) {
      doc.Select(start, end);
    } else {
      doc.SetSelectionActive(false);
      doc.SetCursor(start);
    }
    DocumentPlayer player(doc);
    Recorder rec;
    rec.Bind(player);
    player.Play(DocumentPlayer::pmOnce);
    int64_t lowest = end, highest = start;
    ASSERT_TRUE(clock.RunUntil([&] {
      if (player.PlayState() == DocumentPlayer::psPlaying) {
        lowest = std::min(lowest, doc.Cursor());
        highest = std::max(highest, doc.Cursor());
      }
      return rec.Ends > 0;
    }));
    clock.Advance(100);
    EXPECT_EQ(rec.Ends, 1);
    EXPECT_GE(lowest, start);
    EXPECT_LE(highest, end);
    EXPECT_GT(highest, start + (end - start) * 3 / 4) << "the cursor counts document frames";
    EXPECT_EQ(doc.Cursor(), start);
    const SampleBuffer got = ReadWav(player.OutputFile());
    EXPECT_EQ(got.SampleRate(), c.outRate);
    ASSERT_EQ(got.Channels(), c.outChannels);
    ASSERT_EQ(got.Frames(), FormatConverter::ScaleFrames(end - start, c.rate, c.outRate));
    const SampleBuffer want = ConvertBuffer(Range(sound, start, end), c.outRate, c.outChannels);
    float worst = 0;
    for (size_t i = 0; i < got.Values().size(); ++i)
      worst = std::max(worst, std::fabs(got.Values()[i] - want.Values()[i]));
    EXPECT_LT(worst, 1e-4f) << "the sound is the editor's own conversion of the range";
  }
}

TEST(DocumentPlayer, AConvertedLoopRunsOnWithoutASeam) {
  const auto dir = sonalix::test::MakeTempDir("convertloop");
  ScopedBackend backend("file:" + dir.string());
  ManualClock clock;
  constexpr int kHigh = 768000;
  AudioDocument doc;
  doc.NewDocument(kHigh, 2);
  doc.InsertPcm(Sine(kHigh / 5, 1000, kHigh, 2, 0.5));
  const int64_t start = kHigh / 10, end = kHigh / 5;  // 100 whole periods
  doc.Select(start, end);
  DocumentPlayer player(doc);
  Recorder rec;
  rec.Bind(player);
  std::vector<int64_t> seen;
  player.OnChangePlayPosition = [&] { seen.push_back(doc.Cursor()); };
  int wraps = 0;
  player.Play(DocumentPlayer::pmLoop);
  // Two passes of 100 ms, with room for the output's delay: the position wraps per pass.
  ASSERT_TRUE(clock.RunUntil(
      [&] {
        wraps = 0;
        for (size_t i = 1; i < seen.size(); ++i) wraps += seen[i] < seen[i - 1];
        return wraps >= 2;
      },
      300));
  player.Stop();
  for (int64_t p : seen) {
    EXPECT_GE(p, start);
    EXPECT_LT(p, end);
  }
  EXPECT_EQ(doc.Cursor(), start);
  EXPECT_EQ(rec.Ends, 0);
  // Every pass is whole periods of the tone, so what is heard is one unbroken 1 kHz sine.
  const SampleBuffer got = ReadWav(player.OutputFile());
  EXPECT_EQ(got.SampleRate(), kWaveDeviceRate);
  ASSERT_GT(got.Frames(), 2 * kWaveDeviceRate / 10);
  float worst = 0;
  for (int64_t f = 200; f < got.Frames(); ++f)
    for (int ch = 0; ch < 2; ++ch)
      worst = std::max(
          worst, std::fabs(got.At(f, ch) - float(0.5 * std::sin(2 * M_PI * double(f) / 48 + ch))));
  EXPECT_LT(worst, 2e-3f);
}

TEST(DocumentPlayer, AlsaOutputPlaysToItsEndThroughAFaultAndAMissingDeviceRaises) {
  AudioDocument doc;
  Fill(doc, 1600, 1, 22050);
  {
    ScopedBackend backend("alsa:sonalix_no_such_device");
    DocumentPlayer player(doc);
    EXPECT_THROW(player.Play(DocumentPlayer::pmOnce), EAudioDevice);
    EXPECT_EQ(player.PlayState(), DocumentPlayer::psIdle);
  }
  ScopedBackend backend("alsa:null");
  DocumentPlayer player(doc);
  Recorder rec;
  rec.Bind(player);
  InjectWaveFault(false, -ESTRPIPE);  // the device was suspended under the first write
  player.Play(DocumentPlayer::pmOnce);
  ASSERT_TRUE(PumpUntil([&] { return rec.Ends > 0; }));
  EXPECT_EQ(doc.Cursor(), 0);
  EXPECT_EQ(rec.Meters.back(), std::make_pair(0, 0));
}
