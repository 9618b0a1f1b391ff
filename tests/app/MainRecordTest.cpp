// Record and Text To Speech from the main window: the work file the window or dialog leaves is
// inserted at the cursor or into a new document, and removed when the user gives up. The modal
// hook stands in for the recording and writes the work file as the window would.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <vector>

#include "Imports/AudioEditorControl.h"
#include "MainTestSupport.h"
#include "app/NewFile.h"
#include "audio/WavFile.h"
#include "appbase/Utils.h"
#include "operations/TextToSpeechDialog.h"
#include "platform/gui/ActnList.h"

using namespace maintest;
namespace fs = std::filesystem;

namespace {

void RunAction(const std::string& Action) {
  auto* a = dynamic_cast<TBasicAction*>(MainForm->FindComponent("Action" + Action));
  ASSERT_NE(a, nullptr) << Action;
  a->Execute();
  Application->ProcessMessages();
}

std::string RecordingFile() {
  return AddTrailingBackslash(GlobalVars.TempFolder) + "SonalixRecording.wav";
}

}  // namespace

TEST(MainRecord, RecordingIsInsertedAtTheCursorOrDiscarded) {
  TProgram program;
  // A work folder of this test's own ("work" is made by the command).
  GlobalVars.TempFolder = (sonalix::test::MakeTempDir("rec") / "work").string();
  const std::string recorded = WriteTone("rec.wav", 44100, 2, 4410);
  TChildForm* doc = program.Open(WriteTone("doc.wav", 44100, 2, 44100));
  ASSERT_NE(doc, nullptr);
  doc->AudioEditor->Position()->SetCursor(1000);
  bool keep = true, existedAtStart = true;
  TModalHook old = SetModalHook([&](const TModalRequest& r) -> int {
    if (r.DialogClass != "TRecordControlForm") return 0;
    existedAtStart = fs::exists(RecordingFile());
    fs::copy_file(recorded, RecordingFile(), fs::copy_options::overwrite_existing);
    return keep ? int(mrOk) : int(mrCancel);
  });
  RunAction("Record");
  EXPECT_FALSE(existedAtStart);
  EXPECT_EQ(doc->AudioEditor->Position()->Length(), 44100 + 4410);
  EXPECT_TRUE(doc->Modified);
  EXPECT_TRUE(fs::exists(RecordingFile())) << "left in place after an insertion";

  keep = false;
  RunAction("Record");
  EXPECT_EQ(doc->AudioEditor->Position()->Length(), 44100 + 4410);
  EXPECT_FALSE(fs::exists(RecordingFile()));
  SetModalHook(old);
}

TEST(MainRecord, WithoutADocumentTheNewFileChoiceMakesOne) {
  TProgram program;
  // A work folder of this test's own ("work" is made by the command).
  GlobalVars.TempFolder = (sonalix::test::MakeTempDir("rec") / "work").string();
  GlobalVars.OP_PromptNewFile = true;
  const std::string recorded = WriteTone("rec.wav", 44100, 1, 4410);
  bool cancelNewFile = true;
  TModalHook old = SetModalHook([&](const TModalRequest& r) -> int {
    if (r.DialogClass == "TNewFileForm") {
      if (cancelNewFile) return int(mrCancel);
      auto* d = static_cast<TNewFileForm*>(r.Dialog);
      d->cbSampleRate->SetItemIndex(3);
      d->rbMono->SetChecked(true);
      return int(mrOk);
    }
    if (r.DialogClass != "TRecordControlForm") return 0;
    fs::copy_file(recorded, RecordingFile(), fs::copy_options::overwrite_existing);
    return int(mrOk);
  });
  RunAction("Record");
  EXPECT_TRUE(program->Documents().empty());
  cancelNewFile = false;
  RunAction("Record");
  TChildForm* doc = program->ActiveDocument();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->FileName.rfind("Untitled", 0), 0u);
  EXPECT_EQ(doc->AudioEditor->FileInfo()->SampleRate(), 44100);
  EXPECT_EQ(doc->AudioEditor->FileInfo()->Channels(), 1);
  EXPECT_EQ(doc->AudioEditor->Position()->Length(), 4410);
  EXPECT_TRUE(doc->Modified);
  SetModalHook(old);
  GlobalVars.OP_PromptNewFile = false;
}

TEST(MainRecord, SpeechCancelledLeavesNoWorkFile) {
  TProgram program;
  // A work folder of this test's own ("work" is made by the command).
  GlobalVars.TempFolder = (sonalix::test::MakeTempDir("rec") / "work").string();
  const std::string speech = AddTrailingBackslash(GlobalVars.TempFolder) + "SynthesizeSpeech.wav";
  std::string given;
  TModalHook old = SetModalHook([&](const TModalRequest& r) -> int {
    if (r.DialogClass != "TTextToSpeechForm") return 0;
    fs::copy_file(WriteTone("s.wav", 44100, 2, 100), speech, fs::copy_options::overwrite_existing);
    return int(mrCancel);
  });
  RunAction("TextToSpeech");
  EXPECT_FALSE(fs::exists(speech));
  EXPECT_TRUE(program->Documents().empty());
  SetModalHook(old);
}

// The speech the dialog leaves goes in at the cursor of the active document, or into a new
// "Untitled" document of the default format; a stale work file is gone before the dialog opens.
TEST(MainRecord, SpeechIsInsertedAtTheCursorOrIntoANewDocument) {
  TProgram program;
  GlobalVars.TempFolder = (sonalix::test::MakeTempDir("rec") / "work").string();
  GlobalVars.OP_DefSample = 22050;
  GlobalVars.OP_DefChannel = 1;
  const std::string speech = AddTrailingBackslash(GlobalVars.TempFolder) + "SynthesizeSpeech.wav";
  struct TGiven {
    int Rate = 0, Channels = 0;
    std::string File;
    bool StaleGone = false;
  } given;
  std::string spoken;  // what the dialog "synthesises": silence, told apart from the tone
  TModalHook old = SetModalHook([&](const TModalRequest& r) -> int {
    if (r.DialogClass != "TTextToSpeechForm") return 0;
    auto* d = static_cast<TTextToSpeechForm*>(r.Dialog);
    given = {d->SpeechSampleRate, d->SpeechChannels, d->SpeechFile, !fs::exists(speech)};
    fs::copy_file(spoken, speech, fs::copy_options::overwrite_existing);
    return int(mrOk);
  });

  // No document: a new one in the default format holds the speech alone.
  fs::create_directories(GlobalVars.TempFolder);
  std::ofstream(speech) << "stale";
  spoken = WriteTone("s1.wav", 22050, 1, 2205);
  RunAction("TextToSpeech");
  EXPECT_TRUE(given.StaleGone);
  EXPECT_EQ(given.File, speech);
  EXPECT_EQ(given.Rate, 22050);
  EXPECT_EQ(given.Channels, 1);
  TChildForm* made = program->ActiveDocument();
  ASSERT_NE(made, nullptr);
  EXPECT_EQ(made->FileName.rfind("Untitled", 0), 0u) << made->FileName;
  EXPECT_EQ(made->AudioEditor->FileInfo()->SampleRate(), 22050);
  EXPECT_EQ(made->AudioEditor->FileInfo()->Channels(), 1);
  EXPECT_EQ(made->AudioEditor->Position()->Length(), 2205);
  EXPECT_TRUE(made->Modified);
  made->Modified = false;
  made->Close();
  Application->ProcessMessages();

  // A document open: its format goes to the dialog and the speech goes in at the cursor.
  TChildForm* doc = program.Open(WriteTone("doc.wav", 44100, 2, 44100));
  ASSERT_NE(doc, nullptr);
  doc->AudioEditor->Position()->SetCursor(1000);
  const std::string silence = (sonalix::test::MakeTempDir("speech") / "quiet.wav").string();
  {
    WavWriter w(silence, 44100, 2, 16);
    std::vector<float> zeros(2 * 4410, 0.f);
    w.Write(zeros.data(), 4410);
    w.Close();
  }
  spoken = silence;
  RunAction("TextToSpeech");
  EXPECT_EQ(given.Rate, 44100);
  EXPECT_EQ(given.Channels, 2);
  IAudioEditor2Position* pos = doc->AudioEditor->Position();
  ASSERT_EQ(pos->Length(), 44100 + 4410);
  EXPECT_TRUE(doc->Modified);
  pos->SetSelectionActive(true);
  pos->SetSelectionStart(0);
  pos->SetSelectionEnd(pos->Length());
  const SampleBuffer all = doc->AudioEditor->CopyPcm(pos->Length());
  auto peak = [&](int From, int To) {
    float p = 0;
    for (int f = From; f < To; ++f) p = std::max({p, std::fabs(all.At(f, 0)), std::fabs(all.At(f, 1))});
    return p;
  };
  EXPECT_GT(peak(0, 1000), 0.3f);
  EXPECT_EQ(peak(1000, 5410), 0.f);
  EXPECT_GT(peak(5410, 6410), 0.3f);
  SetModalHook(old);
}
