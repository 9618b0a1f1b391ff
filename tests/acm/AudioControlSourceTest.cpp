// Input levels through wave input and the level source, on the file and null backends.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "AcmTestUtil.h"
#include "acm/deAudioControls.h"
#include "acm/deAudioIO.h"
#include "audio/DeviceTestUtil.h"
#include "common/TestEnv.h"

using namespace acmtest;
using Clock = audiotest::ManualClock;
using audiotest::ScopedBackend;

namespace {

struct Reading {
  int Left, Right, Frames;
};

// The levels after each of the first `count` blocks of the input the backend gives.
std::vector<Reading> Levels(int count) {
  Clock clock;
  TdeAudioIn in(nullptr);
  in.SetFormat(PcmFormat(44100, 16, 2).get());
  in.SetBufferSize(22050);
  TdeAudioControlSource levels(nullptr);
  levels.SetAudioSource(&in);
  std::vector<Reading> readings;
  levels.OnDataChanged = [&](TObject*) {
    readings.push_back({levels.LeftLevel(), levels.RightLevel(), levels.Frames()});
  };
  in.SetActive(true);
  EXPECT_TRUE(clock.RunUntil([&] { return int(readings.size()) >= count; }));
  readings.resize(size_t(count));
  return readings;
}

// The frames sox makes of one 22048-byte block (5512 frames at 44.1 kHz) at 48 kHz.
size_t SoxFramesOfABlock() {
  const auto dir = sonalix::test::MakeTempDir("soxblock");
  Sox("-D -r 44100 -c 2 -n -b 16 '" + (dir / "b.wav").string() + "' synth 5512s sine 100");
  Sox("-D '" + (dir / "b.wav").string() + "' -r 48000 '" + (dir / "c.wav").string() + "'");
  return RawSamples(dir / "c.wav").size() / 4;
}

}  // namespace

TEST(AudioControlSource, LevelsFollowEachChannelsPeak) {
  struct Case {
    const char* Name;
    std::string Synth;  // sox arguments; empty: the left channel pinned at -32768
    int Left, Right, Tolerance;
  } cases[] = {
      {"silence", "trim 0 1", 0, 0, 0},
      {"half-scale sine on the left", "synth 1 sine 1000 vol 0.5 remix 1 0", 16384, 0, 164},
      {"full-scale square on the left", "synth 1 square 1000 remix 1 0", 32767, 0, 0},
      {"left pinned at -32768", "", 32767, 0, 0},
  };
  std::vector<int16_t> pinned(44100 * 2, 0);
  for (size_t i = 0; i < pinned.size(); i += 2) pinned[i] = -32768;
  const int frames = int(SoxFramesOfABlock());
  EXPECT_EQ(frames, 5999);
  for (const Case& c : cases) {
    const auto dir = sonalix::test::MakeTempDir("levels");
    if (c.Synth.empty())
      MakeInputFromSamples(dir, pinned);
    else
      MakeInput(dir, c.Synth);
    ScopedBackend backend("file:" + dir.string());
    // The first seven blocks lie inside the one second of input.
    for (const Reading& r : Levels(7)) {
      EXPECT_NEAR(r.Left, c.Left, c.Tolerance) << c.Name;
      EXPECT_EQ(r.Right, c.Right) << c.Name;
      EXPECT_EQ(r.Frames, frames) << c.Name;
    }
  }
}

TEST(AudioControlSource, SilenceOfTheNullBackendReadsZero) {
  ScopedBackend backend("null");
  for (const Reading& r : Levels(3)) {
    EXPECT_EQ(r.Left, 0);
    EXPECT_EQ(r.Right, 0);
    EXPECT_GT(r.Frames, 5900);
  }
}

TEST(AudioControlSource, ItsObserversHearTheConvertedBlockBeforeDataChanged) {
  TestProducer source;
  TdeAudioControlSource levels(nullptr);
  levels.SetAudioSource(&source);
  std::vector<std::string> order;
  TComponent consumer(nullptr);
  TdeAudioObserver watcher(&consumer, [&](IdeAudioSubject* s, const void*, int n) {
    order.push_back("observer " + std::to_string(n));
    EXPECT_EQ(s->GetFormat()->SamplesPerSec(), 48000u);
  });
  watcher.SetAudioSource(&levels);
  levels.OnDataChanged = [&](TObject*) { order.push_back("changed"); };
  std::vector<int16_t> block(441 * 2, 1000);
  source.Publish(block.data(), int(block.size() * 2));
  EXPECT_EQ(order, (std::vector<std::string>{"observer 1920", "changed"}));
  EXPECT_EQ(levels.Frames(), 480);
}
