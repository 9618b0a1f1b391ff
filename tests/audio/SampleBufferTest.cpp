#include <gtest/gtest.h>

#include "audio/SampleBuffer.h"
#include "platform/rtl/SysUtils.h"

TEST(SampleBuffer, CountsFramesAndValues) {
  struct Case {
    int channels;
    std::vector<float> values;
    int64_t frames, upperBound;
  };
  const Case cases[] = {
      {2, {}, 0, -1},       {1, {0.5f}, 1, 0}, {2, {1, 2, 3, 4, 5, 6}, 3, 5},
      {2, {1, 2, 3}, 1, 2},  // a partial frame is a value but no frame
      {0, {1, 2}, 0, 1},
  };
  for (const Case& c : cases) {
    SampleBuffer b(c.values, c.channels, 44100);
    EXPECT_EQ(b.Frames(), c.frames) << c.channels << "/" << c.values.size();
    EXPECT_EQ(b.UpperBound(), c.upperBound);
  }
  SampleBuffer silent(2, 8000, 3);
  EXPECT_EQ(silent.ValueCount(), 6);
  EXPECT_EQ(silent.At(2, 1), 0.0f);
}

TEST(SampleBuffer, SlicesChannelsAndAppends) {
  SampleBuffer b({1, -1, 2, -2, 3, -3}, 2, 22050);
  EXPECT_EQ(b.Channel(1).Values(), (std::vector<float>{-1, -2, -3}));
  EXPECT_EQ(b.Channel(1).SampleRate(), 22050);
  EXPECT_EQ(b.Slice(1, 10).Values(), (std::vector<float>{2, -2, 3, -3}));
  EXPECT_EQ(b.Slice(5, 1).Frames(), 0);
  EXPECT_EQ(b.Slice(-3, 1).Values(), (std::vector<float>{1, -1}));

  SampleBuffer acc;
  acc.Append(b);
  acc.Append(b.Slice(0, 1));
  EXPECT_EQ(acc.Channels(), 2);
  EXPECT_EQ(acc.Frames(), 4);
  EXPECT_THROW(acc.Append(b.Channel(0)), EArgumentException);
  EXPECT_THROW(b.Channel(2), EArgumentException);

  acc.ResizeFrames(6);
  EXPECT_EQ(acc.Frames(), 6);
  EXPECT_EQ(acc.At(5, 0), 0.0f);
}
