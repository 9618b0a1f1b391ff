#include <gtest/gtest.h>

#include <cerrno>
#include <cmath>

#include "AudioTestUtil.h"
#include "DeviceTestUtil.h"
#include "audio/DocumentPlayer.h"
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
