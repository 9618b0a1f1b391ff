#include <gtest/gtest.h>

#include <filesystem>

#include "AudioTestUtil.h"
#include "audio/AudioDocument.h"
#include "common/TestEnv.h"

using namespace audiotest;
namespace fs = std::filesystem;

namespace {
std::string SavedRamp(const fs::path& dir, int64_t frames) {
  AudioDocument doc;
  doc.NewDocument(44100, 2);
  doc.InsertPcm(Sine(frames, 440, 44100, 2, 0.5));
  doc.SetWavFormat(44100, 2, 16);
  const std::string path = (dir / ("f" + std::to_string(frames) + ".wav")).string();
  doc.SaveFile(path, false, afWav);
  return path;
}
}  // namespace

TEST(AudioDocument, LongOperationsReportProgressAndRefuseChangesMeanwhile) {
  const fs::path dir = sonalix::test::MakeTempDir("ops");
  const std::string path = SavedRamp(dir, 300000);
  AudioDocument doc;
  Fill(doc, 10);
  doc.SetProgressDelay(0);
  std::vector<std::string> log;
  doc.OnBlockOperation = [&](int16_t percent) {
    log.push_back("block " + std::to_string(percent));
    // A handler pumping messages: reads see the old document, changes are refused.
    if (doc.Length() != 10) log.push_back("saw a half-made document");
    try {
      doc.SetCursor(5);
      log.push_back("changed while busy");
    } catch (const EAudioBusy&) {
    }
  };
  doc.OnEndOperation = [&] { log.push_back("end"); };
  EXPECT_EQ(doc.Loading(), nullptr);
  int64_t previewed = 0;
  doc.OnChangePosition = [&] { EXPECT_EQ(doc.Loading(), nullptr); };
  auto blockHandler = doc.OnBlockOperation;
  doc.OnBlockOperation = [&](int16_t percent) {
    // The part loaded so far from the start, to draw the first screen with.
    const AudioDocument::TLoadingView* view = doc.Loading();
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(view->Length, 300000);
    EXPECT_EQ(view->SampleRate, 44100);
    EXPECT_GE(view->Samples->Length(), previewed);
    previewed = view->Samples->Length();
    if (previewed > 0) EXPECT_NEAR(view->Samples->Summary(0, 0, previewed).Max, 0.5, 1e-3);
    blockHandler(percent);
  };
  doc.OpenFile(path);
  EXPECT_GT(previewed, 0);
  EXPECT_EQ(doc.Loading(), nullptr);
  doc.OnBlockOperation = blockHandler;
  doc.OnChangePosition = nullptr;
  EXPECT_EQ(doc.Length(), 300000);
  ASSERT_GE(log.size(), 2u);  // how many steps show depends on the loading threads
  EXPECT_EQ(log.back(), "end");
  EXPECT_EQ(log[log.size() - 2], "block 100");
  EXPECT_EQ(std::count(log.begin(), log.end(), "changed while busy"), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "saw a half-made document"), 0);
  EXPECT_EQ(std::count(log.begin(), log.end(), "end"), 1);
  doc.SetCursor(5);  // free again afterwards

  // A cancel from the progress handler: the end event still comes, the document stays usable.
  struct Case {
    const char* what;
    std::function<void(AudioDocument&)> call;
    int64_t lengthAfter;
  };
  const Case cases[] = {
      {"open", [&](auto& d) { d.OpenFile(path); }, 0},
      {"insert file", [&](auto& d) { d.InsertFile(path); }, 300000},
      {"convert", [&](auto& d) { d.ConvertFormat(8000, 1); }, 300000},
      {"save", [&](auto& d) { d.SaveFile((dir / "cancelled.wav").string(), false, afWav); },
       300000},
  };
  for (const Case& c : cases) {
    doc.OpenFile(path);
    log.clear();
    doc.OnBlockOperation = [&](int16_t) {
      log.push_back("block");
      throw EAbort("cancelled");
    };
    EXPECT_THROW(c.call(doc), EAbort) << c.what;
    EXPECT_EQ(log, (std::vector<std::string>{"block", "end"})) << c.what;
    EXPECT_EQ(doc.Length(), c.lengthAfter) << c.what;
    EXPECT_EQ(doc.SampleRate(), 44100) << c.what;
    doc.OnBlockOperation = nullptr;
  }
  EXPECT_FALSE(fs::exists(dir / "cancelled.wav"));

  // An operation run for an effect computed outside follows the same rules.
  log.clear();
  doc.SetProgressDelay(0);
  doc.OnBlockOperation = [&](int16_t percent) {
    log.push_back("block " + std::to_string(percent));
    EXPECT_THROW(doc.DeleteSelection(), EAudioBusy);
  };
  doc.RunLongOperation([](const std::function<void(double)>& report) {
    report(0.5);
    report(1);
  });
  EXPECT_EQ(log, (std::vector<std::string>{"block 50", "block 100", "end"}));
  doc.OnBlockOperation = nullptr;

  // Short operations report nothing with the usual delay.
  doc.SetProgressDelay(200);
  log.clear();
  doc.InsertPcm(Ramp(100));
  doc.Undo();
  EXPECT_TRUE(log.empty());
}

TEST(AudioDocument, InsertAndMixFilesConvertToTheDocumentFormat) {
  const fs::path dir = sonalix::test::MakeTempDir("files");
  const std::string path = SavedRamp(dir, 44100);  // one second at 44.1 kHz stereo
  AudioDocument doc;
  doc.NewDocument(22050, 1);
  doc.InsertPcm(Constant(22050, {0.0f}, 22050));
  doc.SetCursor(11025);
  doc.InsertFile(path);
  EXPECT_EQ(doc.Length(), 44100);
  EXPECT_EQ(doc.Cursor(), 11025);
  doc.Undo();
  EXPECT_EQ(doc.Length(), 22050);

  // Mixing a file longer than the selection lengthens the document (the "increase" choice).
  doc.Select(0, 11025);
  doc.MixFile(100, path, 50);
  EXPECT_EQ(doc.Length(), 22050 + 11025);
  EXPECT_EQ(doc.SelectionEnd(), 22050);
  EXPECT_THROW(doc.MixFile(100, (dir / "missing.wav").string(), 50), EFOpenError);
  EXPECT_EQ(doc.Length(), 33075);
}
