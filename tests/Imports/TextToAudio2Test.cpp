#include <gtest/gtest.h>

#include <filesystem>

#include "../audio/DeviceTestUtil.h"
#include "Imports/XOQTEXTTOAUDIO2Lib_TLB.h"
#include "common/TestEnv.h"

using namespace audiotest;

namespace {

float Peak(const SampleBuffer& b) {
  float p = 0;
  for (float v : b.Values()) p = std::max(p, std::fabs(v));
  return p;
}

}  // namespace

TEST(TextToAudio2, EveryVoiceSpeaksIntoAFileOfTheRequestedFormat) {
  const auto dir = sonalix::test::MakeTempDir("tts");
  TTextToAudio2 tts(nullptr);
  ASSERT_GT(tts.VoiceCount(), 0);
  struct Format {
    int rate, channels, bits;
  } formats[] = {{16000, 2, 16}, {44100, 1, 24}, {8000, 1, 8}};
  for (int i = 0; i < tts.VoiceCount(); ++i) {
    tts.SetVoiceIndex(i);
    const std::string description = tts.VoiceDescription();
    ASSERT_FALSE(description.empty());
    tts.SetVoiceIndex(0);
    tts.SetVoiceName(description);  // the description selects the voice
    EXPECT_EQ(tts.VoiceIndex(), i);
    const Format& f = formats[size_t(i) % 3];
    tts.SetFormat(f.rate, f.channels);
    tts.SetSpeechRate(0);
    tts.SetSpeechVolume(100);
    tts.SetSpeechOption(true);
    int ends = 0, last = -1;
    bool ordered = true;
    tts.OnConvertBlock = [&](TObject*, int p) {
      ordered = ordered && p >= last && p <= 100;
      last = p;
    };
    tts.OnEndConvert = [&](TObject* sender) {
      EXPECT_EQ(sender, &tts);
      ++ends;
    };
    const std::string file = (dir / ("voice" + std::to_string(i) + ".wav")).string();
    tts.ConvertToFile("one two", file, f.bits);
    EXPECT_EQ(ends, 0);
    ASSERT_TRUE(PumpUntil([&] { return ends > 0; }, 20000)) << description;
    EXPECT_TRUE(ordered);
    EXPECT_EQ(last, 100);
    WavReader r(file);
    EXPECT_EQ(r.Info().SampleRate, f.rate) << description;
    EXPECT_EQ(r.Info().Channels, f.channels);
    EXPECT_EQ(r.Info().Bits, f.bits);
    const SampleBuffer b = ReadWav(file);
    EXPECT_GT(b.Frames(), f.rate / 10) << description;
    EXPECT_GT(Peak(b), 0.05f) << description;
  }
  EXPECT_THROW(tts.SetVoiceName("No such voice at all"), Exception);
}

TEST(TextToAudio2, StopEndsTheSynthesisWithoutEvents) {
  const auto dir = sonalix::test::MakeTempDir("ttsstop");
  TTextToAudio2 tts(nullptr);
  ASSERT_GT(tts.VoiceCount(), 0);
  tts.SetFormat(22050, 1);
  int events = 0;
  tts.OnConvertBlock = [&](TObject*, int) { ++events; };
  tts.OnEndConvert = [&](TObject*) { ++events; };
  std::string text;
  for (int i = 0; i < 400; ++i) text += "This sentence is spoken again and again. ";
  const std::string file = (dir / "long.wav").string();
  tts.ConvertToFile(text, file, 16);
  EXPECT_THROW(tts.ConvertToFile("other", file, 16), Exception) << "one synthesis at a time";
  tts.Stop();
  PumpFor(50);
  EXPECT_EQ(events, 0);
  EXPECT_TRUE(std::filesystem::exists(file));
  EXPECT_NO_THROW(WavReader{file}) << "the file is closed whole";
  // The component goes on working after a stop.
  tts.ConvertToFile("again", file, 16);
  int ends = 0;
  tts.OnEndConvert = [&](TObject*) { ++ends; };
  ASSERT_TRUE(PumpUntil([&] { return ends > 0; }, 20000));
}

TEST(TextToAudio2, MayBeFreedInsideItsEndEvent) {
  const auto dir = sonalix::test::MakeTempDir("ttsfree");
  auto* tts = new TTextToAudio2(nullptr);
  bool ended = false;
  tts->OnEndConvert = [&](TObject* sender) {
    delete sender;
    ended = true;
  };
  tts->SetFormat(11025, 1);
  tts->ConvertToFile("free", (dir / "f.wav").string(), 16);
  ASSERT_TRUE(PumpUntil([&] { return ended; }, 20000));
  PumpFor(20);
}
