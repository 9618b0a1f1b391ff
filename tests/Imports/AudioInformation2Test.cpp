#include <gtest/gtest.h>

#include "Imports/XOQAUDIOFILE2Lib_TLB.h"
#include "Imports/XOQAUDIOINFORMATION2Lib_TLB.h"
#include "audio/AudioDecoder.h"
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
