// The Edit commands on real documents, run through the action list with the dialogs answered
// by the modal hook.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "Imports/AudioEditorControl.h"
#include "Imports/XOQAUDIOINFORMATION2Lib_TLB.h"
#include "MainTestSupport.h"
#include "audio/SampleBuffer.h"
#include "operations/SelectSpecifiedTime.h"
#include "operations/SmallEditDialogs.h"
#include "platform/gui/ActnList.h"

using namespace maintest;

namespace {

// A mono 8 kHz WAV whose sample n holds the value Offset + n, so every frame tells where it
// came from.
std::string WriteRamp(const std::string& Name, int Frames, int Offset = 0) {
  const std::filesystem::path path = sonalix::test::MakeTempDir("ramp") / Name;
  std::ofstream f(path, std::ios::binary);
  auto u32 = [&](uint32_t v) { f.write(reinterpret_cast<const char*>(&v), 4); };
  auto u16 = [&](uint16_t v) { f.write(reinterpret_cast<const char*>(&v), 2); };
  f.write("RIFF", 4);
  u32(36 + Frames * 2);
  f.write("WAVEfmt ", 8);
  u32(16);
  u16(1);
  u16(1);
  u32(8000);
  u32(16000);
  u16(2);
  u16(16);
  f.write("data", 4);
  u32(uint32_t(Frames * 2));
  for (int i = 0; i < Frames; ++i) u16(uint16_t(int16_t(Offset + i)));
  return path.string();
}

std::vector<int> Range(int From, int To) {
  std::vector<int> v;
  for (int i = From; i < To; ++i) v.push_back(i);
  return v;
}

std::vector<int> operator+(std::vector<int> A, const std::vector<int>& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

// The document's samples as the integers they were written as.
std::vector<int> Contents(TChildForm* Doc) { return Integers(DocumentSamples(Doc)); }

void Select(TChildForm* Doc, int A, int B) {
  IAudioEditor2Position* pos = Doc->AudioEditor->Position();
  pos->SetSelectionActive(true);
  pos->SetSelectionStart(A);
  pos->SetSelectionEnd(B);
}

void RunAction(const char* Action) {
  auto* a = dynamic_cast<TBasicAction*>(MainForm->FindComponent(std::string("Action") + Action));
  ASSERT_NE(a, nullptr) << Action;
  a->Execute();
  Application->ProcessMessages();
}

// Answers dialogs of one class through a function; message boxes with OK, counted.
struct THook {
  std::function<int(const TModalRequest&)> Dialog;
  int Boxes = 0;
  std::string LastBox;
  TModalHook Old;
  THook() {
    Old = SetModalHook([this](const TModalRequest& r) -> int {
      if (r.Kind == TModalRequest::mrMessageBox) {
        ++Boxes;
        LastBox = r.Text;
        return IDOK;
      }
      return Dialog ? Dialog(r) : 0;
    });
  }
  ~THook() { SetModalHook(Old); }
};

}  // namespace

// Trim keeps only the selection and Repeat Loop 3 repeats it, each undone in one step; Trim
// without a selection only says so.
TEST(MainEdit, TrimAndRepeatLoopAreOneUndoStep) {
  TProgram program;
  TChildForm* doc = program.Open(WriteRamp("r.wav", 3000));
  ASSERT_NE(doc, nullptr);
  THook hook;
  RunAction("Trim");
  EXPECT_EQ(hook.LastBox, "You must select an audio part before this operstion.");
  EXPECT_FALSE(doc->AudioEditor->CanUndo());
  EXPECT_FALSE(doc->Modified);

  Select(doc, 1000, 2000);
  RunAction("Trim");
  EXPECT_EQ(Contents(doc), Range(1000, 2000));
  EXPECT_TRUE(doc->Modified);
  doc->AudioEditor->Undo();
  EXPECT_EQ(Contents(doc), Range(0, 3000));

  hook.Dialog = [](const TModalRequest& r) -> int {
    if (r.DialogClass != "TRepeatLoopForm") return 0;
    static_cast<TRepeatLoopForm*>(r.Dialog)->EditRepeatTimes->SetText("3");
    return mrOk;
  };
  Select(doc, 100, 200);
  RunAction("RepeatLoop");
  const std::vector<int> loop = Range(100, 200);
  EXPECT_EQ(Contents(doc), Range(0, 200) + loop + loop + loop + Range(200, 3000));
  doc->AudioEditor->Undo();
  EXPECT_EQ(Contents(doc), Range(0, 3000));
}

// Split and Copy To New make documents of their own and leave what the user copied for Paste.
TEST(MainEdit, SplitAndCopyToNewKeepTheClipboard) {
  TProgram program;
  TChildForm* doc = program.Open(WriteRamp("r.wav", 3000));
  ASSERT_NE(doc, nullptr);
  THook hook;
  Select(doc, 0, 10);
  RunAction("Copy");
  EXPECT_EQ(program->ClipboardLength, 10);

  doc->AudioEditor->Position()->SetSelectionActive(false);
  doc->AudioEditor->Position()->SetCursor(0);
  RunAction("SplitIntoTwo");
  EXPECT_EQ(hook.LastBox,
            "You can not select the start or the end of the audio file when using this function.");
  EXPECT_EQ(program->Documents().size(), 1u);

  doc->AudioEditor->Position()->SetCursor(2000);
  RunAction("SplitIntoTwo");
  TChildForm* tail = program->ActiveDocument();
  ASSERT_NE(tail, doc);
  EXPECT_EQ(Contents(tail), Range(2000, 3000));
  EXPECT_TRUE(tail->Modified);
  EXPECT_EQ(tail->AudioEditor->FileInfo()->SampleRate(), 8000);
  EXPECT_EQ(Contents(doc), Range(0, 2000));

  tail->Modified = false;
  tail->Close();
  Application->ProcessMessages();
  ASSERT_EQ(program->ActiveDocument(), doc);
  Select(doc, 100, 300);
  RunAction("CopyToNew");
  TChildForm* copy = program->ActiveDocument();
  ASSERT_NE(copy, doc);
  EXPECT_EQ(Contents(copy), Range(100, 300));
  EXPECT_EQ(program->ClipboardLength, 10);

  copy->AudioEditor->Position()->SetCursor(0);
  RunAction("Paste");
  EXPECT_EQ(Contents(copy), Range(0, 10) + Range(100, 300));
}

// Silence and files inserted at the start, the cursor and the end.
TEST(MainEdit, InsertAtBeginCurrentAndEnd) {
  TProgram program;
  const std::string other = WriteRamp("other.wav", 50, 5000);
  THook hook;
  hook.Dialog = [&](const TModalRequest& r) -> int {
    if (r.DialogClass == "TInsertSilenceForm") {
      static_cast<TInsertSilenceForm*>(r.Dialog)->EditSilenceTime->SetText("10");  // 80 frames
      return mrOk;
    }
    if (r.DialogClass == "TOpenDialog") {
      static_cast<QFileDialog*>(r.Dialog)->selectFile(QString::fromStdString(other));
      return IDOK;
    }
    return 0;
  };
  const std::vector<int> silence(80, 0), file = Range(5000, 5050);
  struct TCase {
    const char* Action;
    std::vector<int> Expected;
  };
  const TCase cases[] = {
      {"InsertSilenceBegin", silence + Range(0, 300)},
      {"InsertSilenceCurrent", Range(0, 100) + silence + Range(100, 300)},
      {"InsertSilenceEnd", Range(0, 300) + silence},
      {"InsertFileBegin", file + Range(0, 300)},
      {"InsertFileCurrent", Range(0, 100) + file + Range(100, 300)},
      {"InsertFileEnd", Range(0, 300) + file},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Action);
    TChildForm* doc = program.Open(WriteRamp("r.wav", 300));
    ASSERT_NE(doc, nullptr);
    Select(doc, 100, 150);
    doc->AudioEditor->Position()->SetSelectionActive(false);
    doc->AudioEditor->Position()->SetCursor(100);
    RunAction(c.Action);
    EXPECT_EQ(Contents(doc), c.Expected);
    EXPECT_TRUE(doc->Modified);
    doc->Modified = false;
    doc->Close();
    Application->ProcessMessages();
  }
  EXPECT_EQ(GlobalVars.InsertSilenceTime, 10);
}

// Select To Start and To End keep the selection's length moved to the cursor; the typed
// selection comes from the times the dialog leaves.
TEST(MainEdit, Selections) {
  TProgram program;
  TChildForm* doc = program.Open(WriteRamp("r.wav", 8000));
  ASSERT_NE(doc, nullptr);
  IAudioEditor2Position* pos = doc->AudioEditor->Position();
  struct TCase {
    const char* Action;
    int Start, End;  // -1 -1: no selection, the cursor at 3000
    int ExpectedStart, ExpectedEnd;
  };
  const TCase cases[] = {
      {"SelectToStart", 1000, 2000, 0, 2000},
      {"SelectToStart", -1, -1, 0, 3000},
      {"SelectToEnd", 1000, 2000, 2000, 8000},
      {"SelectToEnd", -1, -1, 3000, 8000},
      {"SelectAll", 1000, 2000, 0, 8000},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(std::string(c.Action) + " " + std::to_string(c.Start));
    if (c.Start < 0) {
      pos->SetSelectionActive(false);
      pos->SetCursor(3000);
    } else {
      Select(doc, c.Start, c.End);
    }
    RunAction(c.Action);
    EXPECT_EQ(pos->SelectionStart(), c.ExpectedStart);
    EXPECT_EQ(pos->SelectionEnd(), c.ExpectedEnd);
  }
  THook hook;
  int shownLength = 0;
  hook.Dialog = [&](const TModalRequest& r) -> int {
    if (r.DialogClass != "TSelectSpecifiedTimeForm") return 0;
    auto* d = static_cast<TSelectSpecifiedTimeForm*>(r.Dialog);
    shownLength = d->FileLengthMs;
    d->SelectStartMs = 250;
    d->SelectEndMs = 500;
    return mrOk;
  };
  RunAction("SelectSpecifiedTime");
  EXPECT_EQ(shownLength, 1000);
  EXPECT_EQ(pos->SelectionStart(), 2000);
  EXPECT_EQ(pos->SelectionEnd(), 4000);
  EXPECT_EQ(program->SelectEndMs, 500);
}

// Mix File with the insert-silence choice widens a selection shorter than the file by silence
// at its end before mixing over it (50 ms of silence: whole frames at 8 kHz).
TEST(MainEdit, MixFileWidensAShortSelection) {
  TProgram program;
  const std::string other = WriteRamp("other.wav", 400 + 100, 10000);
  TChildForm* doc = program.Open(WriteRamp("r.wav", 1000));
  ASSERT_NE(doc, nullptr);
  THook hook;
  hook.Dialog = [&](const TModalRequest& r) -> int {
    if (r.DialogClass == "TOpenDialog") {
      static_cast<QFileDialog*>(r.Dialog)->selectFile(QString::fromStdString(other));
      return IDOK;
    }
    if (r.DialogClass == "TPasteMixForm") {
      auto* d = static_cast<TPasteMixForm*>(r.Dialog);
      d->RadioButtonInsertSilence->SetChecked(true);
      return mrOk;
    }
    return 0;
  };
  Select(doc, 100, 200);
  RunAction("MixFile");
  // The window's information component measured the file.
  ASSERT_NE(program->AudioInfo, nullptr);
  EXPECT_EQ(program->AudioInfo->LengthInSamples(), 500);
  EXPECT_FALSE(GlobalVars.IncreaseSelection);
  IAudioEditor2Position* pos = doc->AudioEditor->Position();
  EXPECT_EQ(pos->Length(), 1400);
  EXPECT_EQ(pos->SelectionStart(), 100);
  EXPECT_EQ(pos->SelectionEnd(), 600);
  const std::vector<int> v = Contents(doc);
  // Before and after the widened selection the document is as it was.
  EXPECT_EQ(std::vector<int>(v.begin(), v.begin() + 100), Range(0, 100));
  EXPECT_EQ(std::vector<int>(v.begin() + 600, v.end()), Range(200, 1000));
  // Over the inserted silence only the file sounds.
  EXPECT_NE(v[400], 0);
  EXPECT_TRUE(doc->Modified);
  GlobalVars.IncreaseSelection = true;
}
