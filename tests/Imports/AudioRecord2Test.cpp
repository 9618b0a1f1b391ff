#include <gtest/gtest.h>

#include "../audio/AudioTestUtil.h"
#include "../audio/DeviceTestUtil.h"
#include "Imports/XOQAUDIORECORD2Lib_TLB.h"
#include "audio/WavFile.h"
#include "common/TestEnv.h"

using namespace audiotest;

TEST(AudioRecord2, DevicesAndLinesAreListedWithAVolumeEach) {
  TAudioRecord2 rec(nullptr);
  ASSERT_GE(rec.DeviceCount(), 1);
  for (int d = 1; d <= rec.DeviceCount(); ++d) {
    rec.SetDeviceIndex(d);
    EXPECT_FALSE(rec.DeviceName().empty());
    EXPECT_TRUE(rec.DeviceUsable());
    ASSERT_GE(rec.LineCount(), 1);
    rec.SetLineIndex(1);
    EXPECT_FALSE(rec.LineName().empty());
    EXPECT_TRUE(rec.LineIsSource());
    ASSERT_TRUE(rec.LineHasVolume());
    rec.SetLineVolume(30000);
    EXPECT_EQ(rec.LineVolume(), 30000);
    rec.SetLineVolume(70000);
    EXPECT_EQ(rec.LineVolume(), 65535);
    rec.SetLineSelected(true);
  }
  rec.SetDeviceIndex(rec.DeviceCount() + 1);
  EXPECT_FALSE(rec.DeviceUsable());
  EXPECT_EQ(rec.LineCount(), 0);
  rec.Start();
  EXPECT_NE(rec.RecordError(), 0);
  EXPECT_FALSE(rec.Recording());
  ScopedBackend backend("alsa:sonalix_no_such_device");
  rec.SetDeviceIndex(1);
  rec.Start();
  EXPECT_NE(rec.RecordError(), 0) << "a missing capture device";
  EXPECT_FALSE(rec.Recording());
}

TEST(AudioRecord2, BlocksAreNumberedAcrossStopAndStartAndTheErrorIsReset) {
  const auto dir = sonalix::test::MakeTempDir("rec2");
  TAudioRecord2 rec(nullptr);
  {
    ScopedBackend backend("file:" + dir.string());  // no input.wav yet
    rec.Start();
    EXPECT_NE(rec.RecordError(), 0);
    SampleBuffer in = Constant(16000, {0.25f}, 16000);
    WavWriter w((dir / "input.wav").string(), 16000, 1, 16);
    w.Write(in.Data(), in.Frames());
    w.Close();
    rec.SetFormat(16000, 1);
    EXPECT_EQ(rec.MsToSamples(200), 3200);
    rec.SetBlockSize(rec.MsToSamples(20));
    std::vector<int> numbers;
    int64_t frames = 0;
    rec.OnEndArrayRecord = [&](TObject* sender, int n) {
      EXPECT_EQ(sender, &rec);
      numbers.push_back(n);
      const SampleBuffer b = rec.RecordedBlock();
      frames += b.Frames();
      EXPECT_EQ(b.Channels(), 1);
      EXPECT_EQ(b[0], 0.25f);
    };
    rec.Start();
    ASSERT_EQ(rec.RecordError(), 0);
    ASSERT_TRUE(PumpUntil([&] { return numbers.size() >= 3; }));
    rec.Stop();
    const size_t afterStop = numbers.size();
    PumpFor(30);
    EXPECT_EQ(numbers.size(), afterStop) << "Stop handed out everything";
    rec.Start();
    ASSERT_EQ(rec.RecordError(), 0);
    ASSERT_TRUE(PumpUntil([&] { return numbers.size() >= afterStop + 2; }));
    rec.Stop();
    for (size_t i = 0; i < numbers.size(); ++i) EXPECT_EQ(numbers[i], int(i) + 1);
  }
}
