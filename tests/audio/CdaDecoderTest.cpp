// CD tracks opened as documents from cue images: the exact samples of the BIN, progress and
// cancel, and clear errors for a missing drive, disc or track.

#include <gtest/gtest.h>

#include <cstring>

#include "../cd/CdImageFixture.h"
#include "audio/AudioDocument.h"
#include "audio/AudioEncoder.h"
#include "common/TestEnv.h"

namespace {

struct CdaDecoder : ::testing::Test {
  std::string Cue;
  void SetUp() override {
    RegisterAudioCodecs();
    const auto dir = sonalix::test::MakeTempDir("cda");
    Cue = cdtest::MakeCueImage(dir, {{false, 150}, {true, 180, "sine 440"}, {true, 75, "square 1000"}});
    ASSERT_FALSE(Cue.empty());
    cdtest::UseCdDrives({Cue, (dir / "gone.cue").string()});
  }
  void TearDown() override { ResetDriveTable(); }
};

TEST_F(CdaDecoder, TrackGivesTheSamplesOfTheBin) {
  const std::string bin = cdtest::BinBytes(Cue);
  struct {
    const char* Path;
    size_t FirstSector, Sectors;
  } tracks[] = {{"D:\\Track02.cda", 150, 180}, {"d:/track03.CDA", 330, 75}};
  for (const auto& t : tracks) {
    SCOPED_TRACE(t.Path);
    AudioDocument doc;
    doc.SetProgressDelay(0);
    std::vector<int> progress;
    doc.OnBlockOperation = [&](int16_t p) { progress.push_back(p); };
    doc.OpenFile(t.Path);
    ASSERT_EQ(doc.SampleRate(), 44100);
    ASSERT_EQ(doc.Channels(), 2);
    ASSERT_EQ(doc.Length(), int64_t(t.Sectors * 588));
    std::vector<float> got(size_t(doc.Length() * 2));
    doc.Samples().Read(0, doc.Length(), got.data());
    std::vector<int16_t> want(got.size());
    std::memcpy(want.data(), bin.data() + t.FirstSector * 2352, want.size() * 2);
    size_t differ = 0;
    for (size_t i = 0; i < got.size(); ++i)
      if (got[i] != float(want[i]) / 32768.0f) ++differ;
    EXPECT_EQ(differ, 0u);
    ASSERT_FALSE(progress.empty());
    EXPECT_EQ(progress.back(), 100);
  }
}

TEST_F(CdaDecoder, CancelAndClearErrors) {
  AudioDocument doc;
  doc.SetProgressDelay(0);
  doc.OnBlockOperation = [](int16_t) { throw EAbort("cancelled"); };
  EXPECT_THROW(doc.OpenFile("D:\\Track02.cda"), EAbort);
  EXPECT_EQ(doc.Length(), 0);
  doc.OnBlockOperation = nullptr;

  struct {
    const char* Path;
    const char* Message;
  } cases[] = {
      {"D:\\Track01.cda", "The disc in drive D: has no audio track 1."},  // the data track
      {"D:\\Track09.cda", "The disc in drive D: has no audio track 9."},
      {"E:\\Track01.cda", "There is no disc in drive E:."},
      {"Q:\\Track01.cda", "There is no CD drive Q:."},
  };
  for (const auto& c : cases) {
    try {
      doc.OpenFile(c.Path);
      ADD_FAILURE() << c.Path << " opened";
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), c.Message) << c.Path;
    }
    EXPECT_EQ(doc.Length(), 0);
  }
}

}  // namespace
