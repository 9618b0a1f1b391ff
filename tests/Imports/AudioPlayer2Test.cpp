#include <gtest/gtest.h>

#include <thread>

#include "../audio/AudioTestUtil.h"
#include "../audio/DeviceTestUtil.h"
#include "Imports/XOQAUDIOPLAYER2Lib_TLB.h"
#include "common/TestEnv.h"

using namespace audiotest;

TEST(AudioPlayer2, QueuedArraysPlayInOrderAndEndOnceAfterwards) {
  const auto dir = sonalix::test::MakeTempDir("player");
  ScopedBackend backend("file:" + dir.string());
  TAudioPlayer2 player(nullptr);
  int ends = 0;
  player.OnEndPlay = [&](TObject* sender) {
    EXPECT_EQ(sender, &player);
    ++ends;
  };
  player.SetFormat(8000, 2);
  player.OpenDevice();
  ASSERT_EQ(player.DeviceError(), 0);
  SampleBuffer a = Ramp(800, 2, 8000), b = Ramp(400, 2, 8000, 5000);
  player.PlayArray(a);
  a.Values().assign(a.Values().size(), -1.f);  // the player keeps its own copy
  player.PlayArray(b);
  EXPECT_EQ(ends, 0);
  ASSERT_TRUE(PumpUntil([&] { return ends > 0; }));
  PumpFor(30);
  EXPECT_EQ(ends, 1);
  SampleBuffer expected = Ramp(800, 2, 8000);
  expected.Append(b);
  EXPECT_EQ(ReadWav(player.OutputFile()).Values(), expected.Values());

  // An empty array ends too, but never inside the call.
  SampleBuffer empty;
  player.PlayArray(empty);
  EXPECT_EQ(ends, 1);
  ASSERT_TRUE(PumpUntil([&] { return ends == 2; }));

  // A mono array on a stereo player is heard on both channels.
  SampleBuffer mono = Ramp(200, 1, 8000);
  player.PlayArray(mono);
  ASSERT_TRUE(PumpUntil([&] { return ends == 3; }));
  const SampleBuffer got = ReadWav(player.OutputFile());
  ASSERT_EQ(got.Frames(), 200);
  EXPECT_EQ(got.At(150, 0), 150.f);
  EXPECT_EQ(got.At(150, 1), 150.f);
}

TEST(AudioPlayer2, StopCancelsTheEndOfWhatItStopped) {
  const auto dir = sonalix::test::MakeTempDir("stop");
  ScopedBackend backend("file:" + dir.string());
  TAudioPlayer2 player(nullptr);
  int ends = 0;
  player.OnEndPlay = [&](TObject*) { ++ends; };
  player.SetFormat(8000, 1);
  player.OpenDevice();
  for (int frames : {8000, 1}) {  // stopped while playing; stopped with the end already posted
    SampleBuffer a = Ramp(frames, 1, 8000);
    player.PlayArray(a);
    std::this_thread::sleep_for(std::chrono::milliseconds(40));
    player.Stop();
    EXPECT_FALSE(player.Playing());
    PumpFor(40);
    EXPECT_EQ(ends, 0) << frames;
  }
}

TEST(AudioPlayer2, DeviceErrorFollowsTheLastOpen) {
  TAudioPlayer2 player(nullptr);
  SampleBuffer a = Ramp(10, 2, 44100);
  EXPECT_THROW(player.PlayArray(a), Exception);
  {
    ScopedBackend backend("alsa:sonalix_no_such_device");
    player.OpenDevice();
    EXPECT_NE(player.DeviceError(), 0);
  }
  player.SetFormat(44100, 7);
  player.OpenDevice();
  EXPECT_NE(player.DeviceError(), 0) << "a refused format";
  player.SetFormat(44100, 2);
  player.OpenDevice();
  EXPECT_EQ(player.DeviceError(), 0);
}
