// Record and Text To Speech from the main window: the work file the window or dialog leaves is
// inserted at the cursor or into a new document, and removed when the user gives up. The modal
// hook stands in for the recording and writes the work file as the window would.
#include <gtest/gtest.h>

#include <filesystem>

#include "Imports/AudioEditorControl.h"
#include "MainTestSupport.h"
#include "app/NewFile.h"
#include "appbase/Utils.h"
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
