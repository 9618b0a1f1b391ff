#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <limits>

#include "AudioTestUtil.h"
#include "DeviceTestUtil.h"
#include "audio/AudioRecorder.h"
#include "common/TestEnv.h"

using namespace audiotest;

namespace {

void WriteInput(const std::filesystem::path& dir, const SampleBuffer& b) {
  WavWriter w((dir / "input.wav").string(), b.SampleRate(), b.Channels(), 32);
  w.Write(b.Data(), b.Frames());
  w.Close();
}

// Distinct small values: frame f of channel c is (f + 1) / 2^15 (negative on the right).
SampleBuffer Known(int64_t frames, int channels, int rate) {
  SampleBuffer b(channels, rate, frames);
  for (int64_t f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) b.At(f, c) = float(f + 1) / 32768.f * (c ? -1.f : 1.f);
  return b;
}

}  // namespace

TEST(AudioRecorder, RecordsTheInputInBlocksAndLosesNothingWhileTheGuiStalls) {
  const auto dir = sonalix::test::MakeTempDir("rec");
  const SampleBuffer input = Known(4000, 2, 8000);  // 0.5 s
  WriteInput(dir, input);
  ScopedBackend backend("file:" + dir.string());
  ManualClock clock;
  AudioRecorder rec;
  rec.SetFormat(8000, 2);
  rec.SetBlockSize(330);
  std::vector<SampleBuffer> blocks;
  rec.OnBlock = [&](const SampleBuffer& b) { blocks.push_back(b); };

  // A second reader of the same device at the same time.
  std::mutex lock;
  std::vector<float> monitor;
  TWaveInStream second;
  ASSERT_EQ(second.Open(8000, 1,
                        [&](const float* v, int64_t n) {
                          std::lock_guard l(lock);
                          monitor.insert(monitor.end(), v, v + n);
                        }),
            wrOk);

  ASSERT_EQ(rec.Start(), wrOk);
  EXPECT_TRUE(rec.Recording());
  AdvanceWaveClock(250);  // the GUI does not answer meanwhile
  EXPECT_TRUE(blocks.empty()) << "blocks arrive as posted calls";
  ASSERT_TRUE(clock.RunUntil([&] {
    int64_t n = 0;
    for (auto& b : blocks) n += b.Frames();
    return n >= 4300;
  }));
  rec.Stop();
  second.Close();
  EXPECT_FALSE(rec.Recording());
  SampleBuffer all(2, 8000);
  for (size_t i = 0; i < blocks.size(); ++i) {
    if (i + 1 < blocks.size()) ASSERT_EQ(blocks[i].Frames(), 330) << i;
    EXPECT_EQ(blocks[i].SampleRate(), 8000);
    all.Append(blocks[i]);
  }
  ASSERT_GE(all.Frames(), 4300);
  EXPECT_EQ(all.Slice(0, 4000).Values(), input.Values());
  for (int64_t f = 4000; f < all.Frames(); ++f)
    ASSERT_EQ(all.At(f, 0), 0.f) << "silence after the input";
  std::lock_guard l(lock);
  ASSERT_GE(monitor.size(), 2000u);
  EXPECT_FLOAT_EQ(monitor[1999], 0.f) << "the mono reader hears both channels mixed";
  EXPECT_EQ(blocks.size(), size_t((all.Frames() + 329) / 330));
  clock.Advance(30);
}

// A device that delivers NaN or infinities (a float capture with a damaged value) records
// silence in their place, so nothing downstream (meters, the recording file) sees them.
TEST(AudioRecorder, NonFiniteInputIsRecordedAsSilence) {
  const auto dir = sonalix::test::MakeTempDir("recnan");
  SampleBuffer input = Known(1000, 2, 8000);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  input.At(10, 0) = nan;
  input.At(500, 1) = inf;
  input.At(999, 0) = -inf;
  WriteRawFloatWav((dir / "input.wav").string(), input);
  ScopedBackend backend("file:" + dir.string());
  ManualClock clock;
  AudioRecorder rec;
  rec.SetFormat(8000, 2);
  rec.SetBlockSize(200);
  SampleBuffer all(2, 8000);
  rec.OnBlock = [&](const SampleBuffer& b) { all.Append(b); };
  ASSERT_EQ(rec.Start(), wrOk);
  ASSERT_TRUE(clock.RunUntil([&] { return all.Frames() >= 1000; }));
  rec.Stop();
  EXPECT_TRUE(AllFinite(all.Data(), size_t(all.ValueCount())));
  EXPECT_EQ(all.At(10, 0), 0.f);
  EXPECT_EQ(all.At(500, 1), 0.f);
  EXPECT_EQ(all.At(999, 0), 0.f);
  EXPECT_EQ(all.At(10, 1), input.At(10, 1));
}

TEST(AudioRecorder, VoiceActivationDropsTheSilentParts) {
  const auto dir = sonalix::test::MakeTempDir("vox");
  const int rate = 8000;
  // 0.1 s silence, 0.15 s tone, 0.2 s quiet noise (-60 dB), 0.1 s tone, 0.2 s silence.
  SampleBuffer input(1, rate);
  auto add = [&](int64_t frames, float amp) {
    for (int64_t f = 0; f < frames; ++f) {
      const float v = amp * (f % 2 ? 1.f : -1.f);
      input.AppendFrames(&v, 1);
    }
  };
  add(800, 0);
  add(1200, 0.5f);
  add(1600, 0.001f);
  add(800, 0.25f);
  add(1600, 0);
  WriteInput(dir, input);
  ScopedBackend backend("file:" + dir.string());
  ManualClock clock;
  AudioRecorder rec;
  rec.SetFormat(rate, 1);
  rec.SetBlockSize(400);
  TVoiceActivation v;
  v.Enabled = true;
  v.AttackLevel = -20;
  v.AttackTime = 20;
  v.ReleaseLevel = -30;
  v.ReleaseTime = 50;
  rec.SetVoiceActivation(v);
  SampleBuffer all(1, rate);
  rec.OnBlock = [&](const SampleBuffer& b) { all.Append(b); };
  // Counts what the device delivered, to know when the whole input has passed.
  std::atomic<int64_t> heard{0};
  TWaveInStream counter;
  ASSERT_EQ(counter.Open(rate, 1, [&](const float*, int64_t n) { heard += n; }), wrOk);
  ASSERT_EQ(rec.Start(), wrOk);
  ASSERT_TRUE(clock.RunUntil([&] { return heard > input.Frames() + 800; }));
  rec.Stop();
  counter.Close();
  // Both tones whole, each followed by the release time of what came after it.
  int64_t loud = 0, quiet = 0;
  for (int64_t f = 0; f < all.Frames(); ++f) (std::fabs(all.At(f, 0)) >= 0.2f ? loud : quiet)++;
  EXPECT_EQ(loud, 2000);
  EXPECT_GE(quiet, 2 * 400);  // release tails
  EXPECT_LE(quiet, 2 * 500);
  EXPECT_EQ(all.At(0, 0), -0.5f) << "the attack itself is kept";
  EXPECT_EQ(all.At(1200 + 400, 0), -0.25f);
}

TEST(AudioRecorder, AlsaCaptureDeliversBlocksThroughAFaultAndAMissingDeviceIsAnError) {
  {
    ScopedBackend backend("alsa:sonalix_no_such_device");
    AudioRecorder rec;
    EXPECT_EQ(rec.Start(), wrNoDevice);
    EXPECT_FALSE(rec.Recording());
  }
  ScopedBackend backend("alsa:null");
  AudioRecorder rec;
  rec.SetFormat(44100, 1);
  rec.SetBlockSize(4410);
  int blocks = 0;
  rec.OnBlock = [&](const SampleBuffer& b) {
    EXPECT_EQ(b.Channels(), 1);
    ++blocks;
  };
  ASSERT_EQ(rec.Start(), wrOk);
  ASSERT_TRUE(PumpUntil([&] { return blocks >= 2; }));
  InjectWaveFault(true, -ESTRPIPE);  // the device was suspended under the next read
  const int before = blocks;
  ASSERT_TRUE(PumpUntil([&] { return blocks >= before + 2; })) << "recording goes on";
  rec.Stop();
}

TEST(AudioRecorder, EachReaderGetsItsOwnRateAndChannels) {
  const auto dir = sonalix::test::MakeTempDir("rates");
  SampleBuffer input(2, 8000);
  for (int f = 0; f < 1600; ++f) {
    const float v[2] = {float(f) / 4096.f, -float(f) / 4096.f};
    input.AppendFrames(v, 1);
  }
  WriteInput(dir, input);
  ScopedBackend backend("file:" + dir.string());
  ManualClock clock;
  struct Case {
    int rate, channels;
  } cases[] = {{16000, 2}, {4000, 2}, {8000, 1}};
  std::vector<std::unique_ptr<AudioRecorder>> recs;
  std::vector<SampleBuffer> got(3);
  for (size_t i = 0; i < 3; ++i) {
    recs.push_back(std::make_unique<AudioRecorder>());
    recs[i]->SetFormat(cases[i].rate, cases[i].channels);
    recs[i]->SetBlockSize(100);
    got[i] = SampleBuffer(cases[i].channels, cases[i].rate);
    recs[i]->OnBlock = [&got, i](const SampleBuffer& b) { got[i].Append(b); };
  }
  for (auto& r : recs) ASSERT_EQ(r->Start(), wrOk);
  ASSERT_TRUE(clock.RunUntil([&] { return got[1].Frames() >= 700; }));
  for (auto& r : recs) r->Stop();
  // A ramp stays a ramp through linear interpolation; stereo mixed to mono cancels out here.
  for (int64_t f = 0; f < 1200 && f < got[0].Frames(); ++f)
    ASSERT_NEAR(got[0].At(f, 0), float(f) / 2 / 4096.f, 1e-6) << f;
  for (int64_t f = 0; f < 700; ++f) {
    ASSERT_NEAR(got[1].At(f, 0), float(2 * f) / 4096.f, 1e-6) << f;
    ASSERT_NEAR(got[1].At(f, 1), -float(2 * f) / 4096.f, 1e-6) << f;
  }
  ASSERT_GE(got[2].Frames(), 1000);
  for (int64_t f = 0; f < 1000; ++f) ASSERT_EQ(got[2].At(f, 0), 0.f) << f;
  EXPECT_GE(got[0].Frames(), 1200);
}
