#include <gtest/gtest.h>

#include "../audio/AudioTestUtil.h"
#include "../audio/DeviceTestUtil.h"
#include "Imports/AudioEditor2Playback.h"
#include "common/TestEnv.h"

using namespace audiotest;

TEST(AudioEditor2Playback, VolumeAndEventsReachTheControlWithItAsSender) {
  const auto dir = sonalix::test::MakeTempDir("edplay");
  ScopedBackend backend("file:" + dir.string());
  AudioDocument doc;
  doc.NewDocument(8000, 1);
  SampleBuffer sig = Constant(1200, {0.8f}, 8000);
  doc.InsertPcm(sig);
  doc.SetCursor(0);
  DocumentPlayer player(doc);
  TComponent control(nullptr);
  TAudioEditor2NotifyEvent onPos, onEnd;
  TAudioEditor2MeterEvent onMeter;
  ForwardPlayerEvents(player, &control, onPos, onMeter, onEnd);
  int positions = 0, ends = 0, maxLevel = 0;
  onPos = [&](TObject* s) {
    EXPECT_EQ(s, &control);
    ++positions;
  };
  onMeter = [&](TObject* s, int l, int r) {
    EXPECT_EQ(s, &control);
    maxLevel = std::max(maxLevel, l);
  };
  onEnd = [&](TObject* s) {
    EXPECT_EQ(s, &control);
    ++ends;
  };
  TAudioEditor2OutputPart output(player);
  IAudioEditor2Output& out = output;
  out.SetVolume(0);
  player.Play(AUDIO_PLAY_ONCE);
  EXPECT_EQ(player.PlayState(), AUDIO_PLAYSTATE_PLAYING);
  ASSERT_TRUE(PumpUntil([&] { return ends > 0; }));
  EXPECT_GT(positions, 0);
  EXPECT_EQ(maxLevel, DocumentPlayer::MeterLevel(0.8f)) << "levels are taken before the volume";
  const SampleBuffer got = ReadWav(player.OutputFile());
  ASSERT_EQ(got.Frames(), 1200);
  for (float v : got.Values()) ASSERT_EQ(v, 0.f);
}
