#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "Imports/XOQAUDIOFILE2Lib_TLB.h"
#include "Imports/XOQAUDIOINFORMATION2Lib_TLB.h"
#include "audio/AudioDecoder.h"
#include "audio/AudioDocument.h"
#include "audio/AudioEncoder.h"
#include "audio/AudioFileError.h"
#include "audio/CodecTestUtil.h"
#include "common/TestEnv.h"

using namespace codectest;
namespace fs = std::filesystem;

// The batch converter's last step: the source's tags go into the converted file, whose sound is
// left as it was.
TEST(AudioInformation2, CarriesTagsOverAndCountsFrames) {
  const fs::path dir = sonalix::test::MakeTempDir("info");
  const fs::path source = dir / "src.mp3";
  ASSERT_TRUE(MakeTone(source, 44100, 2, 1.5,
                       "-c:a libmp3lame -b:a 128k -metadata title='Größe' -metadata artist=Band "
                       "-metadata album=LP -metadata comment=Hi -metadata date=2001 "
                       "-metadata genre=Blues"));
  TAudioInformation2 info(nullptr);
  info.OpenFile(source.string());
  EXPECT_EQ(info.Tags().Title, "Größe");
  EXPECT_EQ(info.Tags().GenreIndex, 0);
  EXPECT_NEAR(double(info.LengthInSamples()), 1.5 * 44100, 1.0);

  for (const char* name : {"t.wav", "t.mp3", "t.ogg", "t.wma"}) {
    SCOPED_TRACE(name);
    const fs::path target = dir / name;
    ASSERT_TRUE(MakeTone(target, 22050, 1, 1.0, ""));
    std::vector<float> before, after;
    DecodeAudioFile(target.string(), before);
    info.WriteInfoTo(target.string());
    AudioTags got;
    DecodeAudioFile(target.string(), after, &got);
    EXPECT_EQ(got.Title, "Größe");
    EXPECT_EQ(got.Artist, "Band");
    EXPECT_EQ(got.Album, "LP");
    EXPECT_EQ(got.Comment, "Hi");
    EXPECT_EQ(got.Year, 2001);
    EXPECT_EQ(got.GenreIndex, 0);
    EXPECT_EQ(after, before);
    Probe p = ProbeFile(target);
    EXPECT_EQ(p.Tags["title"], "Größe");
    EXPECT_NEAR(p.Duration, 1.0, 0.1);
  }
  int files = 0;
  for (const auto& e : fs::directory_iterator(dir)) files += e.is_regular_file();
  EXPECT_EQ(files, 5);  // no temporary file left

  TAudioInformation2 none(nullptr);
  EXPECT_THROW(none.OpenFile((dir / "missing.ogg").string()), EAudioFileError);
  EXPECT_THROW(none.WriteInfoTo((dir / "t.ogg").string()), EAudioFileError);
  EXPECT_THROW(info.WriteInfoTo((dir / "missing.ogg").string()), EAudioFileError);
}

// Files of our own encoders keep every frame, no more and no fewer, when tags are carried into
// them; among them an OGG file whose last packet starts past the end of its sound.
TEST(AudioInformation2, CarryingTagsKeepsTheExactLength) {
  RegisterAudioCodecs();
  const fs::path dir = sonalix::test::MakeTempDir("infolen");
  const fs::path source = dir / "src.mp3";
  ASSERT_TRUE(MakeTone(source, 44100, 2, 0.5, "-c:a libmp3lame -metadata title=Song"));
  TAudioInformation2 info(nullptr);
  info.OpenFile(source.string());

  AudioDocument doc;
  doc.NewDocument(44100, 2);
  std::vector<float> tone(size_t(2 * 44877));
  for (size_t i = 0; i < tone.size(); ++i) tone[i] = float(0.5 * std::sin(0.03 * double(i / 2)));
  doc.InsertPcm(SampleBuffer(std::move(tone), 2, 44100));
  struct Case {
    const char* name;
    int code;
    std::function<void()> format;
  };
  const Case cases[] = {
      {"mono64.ogg", afOgg, [&] { doc.SetOggFormat(22050, 1, 64, 0, 0, -1); }},
      {"quality.ogg", afOgg, [&] { doc.SetOggFormat(44100, 2, 0, 0, 0, 400); }},
      {"cbr.mp3", afMp3, [&] { doc.SetMp3CbrFormat(44100, 128, 2); }},
      {"float.wav", afWav, [&] { doc.SetWavFormat(44100, 1, 32); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = dir / c.name;
    c.format();
    doc.SaveFile(file.string(), false, c.code);
    std::vector<float> before, after;
    DecodeAudioFile(file.string(), before);
    const std::string lengthBefore = Shell(
        "ffprobe -v error -show_entries stream=duration_ts -of csv=p=0 " + Quote(file.string()));
    info.WriteInfoTo(file.string());
    AudioTags tags;
    DecodeAudioFile(file.string(), after, &tags);
    EXPECT_EQ(tags.Title, "Song");
    EXPECT_EQ(after.size(), before.size());
    EXPECT_EQ(after, before);
    EXPECT_EQ(Shell("ffprobe -v error -show_entries stream=duration_ts -of csv=p=0 " +
                    Quote(file.string())),
              lengthBefore);
  }
}
