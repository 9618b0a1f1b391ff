// Saving documents through the main window's commands: the name question, the format dialog,
// real files written by the real writers and read back by ffprobe, and failing saves.
#include <gtest/gtest.h>
#include <sys/mount.h>

#include <QFileDialog>
#include <filesystem>
#include <fstream>
#include <functional>

#include "Imports/AudioEditorControl.h"
#include "MainTestSupport.h"
#include "audio/CodecTestUtil.h"
#include "operations/ConvertSampleRate.h"
#include "operations/SmallEditDialogs.h"
#include "platform/gui/ActnList.h"
#include "suite/extras/dxBarExtItems.h"

namespace fs = std::filesystem;
using namespace maintest;

namespace {

// Answers the save dialog with a path (or Cancel when empty), the format dialogs with OK (or
// Cancel), message boxes with MessageAnswer, and other dialogs through Other.
struct TSaveAnswers {
  std::string SavePath;
  bool FormatOk = true;
  int MessageAnswer = IDOK;
  int NameQuestions = 0, FormatDialogs = 0, Boxes = 0;
  std::string LastBox;
  std::function<int(const TModalRequest&)> Other;
  TModalHook Old;
  TSaveAnswers() {
    Old = SetModalHook([this](const TModalRequest& r) -> int {
      if (r.Kind == TModalRequest::mrMessageBox) {
        ++Boxes;
        LastBox = r.Text;
        return MessageAnswer;
      }
      if (r.Kind != TModalRequest::mrDialog) return 0;
      if (r.DialogClass == "TSaveDialog") {
        ++NameQuestions;
        if (SavePath.empty()) return IDCANCEL;
        static_cast<QFileDialog*>(r.Dialog)->selectFile(QString::fromStdString(SavePath));
        return IDOK;
      }
      if (r.DialogClass.find("FormatForm") != std::string::npos) {
        ++FormatDialogs;
        return FormatOk ? int(mrOk) : int(mrCancel);
      }
      return Other ? Other(r) : 0;
    });
  }
  ~TSaveAnswers() { SetModalHook(Old); }
};

void RunAction(const char* Action) {
  auto* a = dynamic_cast<TBasicAction*>(MainForm->FindComponent(std::string("Action") + Action));
  ASSERT_NE(a, nullptr) << Action;
  a->Execute();
  Application->ProcessMessages();
}

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

int Frames(TChildForm* Doc) { return Doc->AudioEditor->Position()->Length(); }

// A small file system of its own, optionally made read-only after the old file is put there.
struct TSmallDisk {
  fs::path Dir;
  bool Mounted = false;
  explicit TSmallDisk(const fs::path& ADir, const char* Size) : Dir(ADir) {
    Mounted = ::mount("tmpfs", Dir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, Size) == 0;
  }
  bool MakeReadOnly() const {
    return ::mount("tmpfs", Dir.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY | MS_NOSUID | MS_NODEV,
                   nullptr) == 0;
  }
  ~TSmallDisk() {
    if (Mounted) ::umount2(Dir.c_str(), MNT_DETACH);
  }
};

}  // namespace

// Which names are saved as they are and which ask first; the name and the recent list change
// only once the file is written.
TEST(MainSave, NamesAndExtensions) {
  TProgram program;
  const fs::path dir = sonalix::test::MakeTempDir("save-names");
  struct TCase {
    std::string Name;  // the document's name before saving ("" keeps "Untitled" + number)
    bool Asks;
  };
  const TCase cases[] = {{(dir / "a.wav").string(), false}, {(dir / "B.WAV").string(), false},
                         {"", true},
                         {(dir / "c.mp2").string(), true},
                         {(dir / "d.aif").string(), true}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TChildForm* doc = program.Open(WriteTone("t.wav", 44100, 2, 4410));
    ASSERT_NE(doc, nullptr);
    if (!c.Name.empty())
      doc->SetFileName(c.Name);
    else
      doc->SetFileName("Untitled" + std::to_string(doc->Number()));
    doc->Modified = true;
    const std::string before = doc->FileName;
    const fs::path chosen = dir / ("chosen" + std::to_string(doc->Number()) + ".wav");
    TSaveAnswers answers;
    answers.SavePath = chosen.string();
    // Cancelling the name question writes nothing and keeps everything.
    answers.FormatOk = true;
    if (c.Asks) {
      answers.SavePath.clear();
      RunAction("SaveFile");
      EXPECT_EQ(answers.NameQuestions, 1);
      EXPECT_EQ(doc->FileName, before);
      EXPECT_TRUE(doc->Modified);
      answers.SavePath = chosen.string();
    }
    // The format dialog cancelled: nothing written, the name kept.
    answers.FormatOk = false;
    RunAction("SaveFile");
    EXPECT_EQ(doc->FileName, before);
    EXPECT_TRUE(doc->Modified);
    EXPECT_FALSE(fs::exists(chosen));
    EXPECT_FALSE(fs::exists(before));
    answers.FormatOk = true;
    RunAction("SaveFile");
    const std::string written = c.Asks ? chosen.string() : before;
    EXPECT_EQ(answers.NameQuestions, c.Asks ? 3 : 0);
    EXPECT_EQ(doc->FileName, written);
    EXPECT_FALSE(doc->Modified);
    const codectest::Probe p = codectest::ProbeFile(written);
    EXPECT_EQ(p.Codec, "pcm_s16le");
    EXPECT_EQ(p.SampleRate, 44100);
    EXPECT_EQ(p.Channels, 2);
    if (c.Asks) EXPECT_EQ(program->dxBarMRUFiles->Items()->Strings(0), written);
    doc->Close();
    Application->ProcessMessages();
  }
}

// Save As in MP3 (constant 128 kbps mono) and OGG (average 128 kbps), Save over the file the
// document came from, and Save Select Region As writing only the selection.
TEST(MainSave, FormatsSelectionAndOverwrite) {
  TProgram program;
  const fs::path dir = sonalix::test::MakeTempDir("save-formats");
  const std::string source = WriteTone("tone.wav", 44100, 2, 44100 * 2);
  TChildForm* doc = program.Open(source);
  ASSERT_NE(doc, nullptr);
  TSaveAnswers answers;

  GlobalVars.OutputMP3Type = 1;
  GlobalVars.OutputMP3CBR = true;
  GlobalVars.OutputMP3CBRBitRate = 8;  // 128 kbps
  GlobalVars.OutputMP3Mode = 3;        // mono
  GlobalVars.OutputOGGType = 1;
  GlobalVars.OutputOGGABR = true;
  GlobalVars.OutputOGGABRBitRate = 2;  // 128 kbps
  GlobalVars.OutputOGGMode = 0;

  answers.SavePath = (dir / "out.mp3").string();
  RunAction("SaveAs");
  codectest::Probe p = codectest::ProbeFile(dir / "out.mp3");
  EXPECT_EQ(p.Codec, "mp3");
  EXPECT_EQ(p.SampleRate, 44100);
  EXPECT_EQ(p.Channels, 1);
  EXPECT_EQ(p.BitRate, 128000);
  EXPECT_EQ(doc->FileName, answers.SavePath);

  answers.SavePath = (dir / "out.ogg").string();
  RunAction("SaveAs");
  p = codectest::ProbeFile(dir / "out.ogg");
  EXPECT_EQ(p.Codec, "vorbis");
  EXPECT_EQ(p.Channels, 2);
  EXPECT_NEAR(double(p.BitRate), 128000, 16000);

  // Back onto the WAV the document was opened from, shortened first.
  doc->SetFileName(source);
  doc->AudioEditor->Position()->SetSelectionActive(true);
  doc->AudioEditor->Position()->SetSelectionStart(0);
  doc->AudioEditor->Position()->SetSelectionEnd(44100);
  doc->AudioEditor->DeleteSelection();
  program->SetModified(true);
  const int names = answers.NameQuestions;
  RunAction("SaveFile");
  EXPECT_EQ(answers.NameQuestions, names);
  p = codectest::ProbeFile(source);
  EXPECT_NEAR(p.Duration, 1.0, 0.01);
  EXPECT_FALSE(doc->Modified);

  // The selection goes to its own file; the document keeps its name and its flag.
  program->SetModified(true);
  const int length = Frames(doc);
  doc->AudioEditor->Position()->SetSelectionActive(true);
  doc->AudioEditor->Position()->SetSelectionStart(0);
  doc->AudioEditor->Position()->SetSelectionEnd(11025);
  answers.SavePath = (dir / "part.wav").string();
  RunAction("SaveSelect");
  p = codectest::ProbeFile(dir / "part.wav");
  EXPECT_NEAR(p.Duration, 0.25, 0.001);
  EXPECT_EQ(doc->FileName, source);
  EXPECT_TRUE(doc->Modified);
  EXPECT_EQ(Frames(doc), length);
}

// A save that fails on a read-only folder or a full disk keeps the old file byte for byte, says
// which file and why, and leaves the document open and modified; the close question's Yes
// then keeps the window.
TEST(MainSave, FailingSaves) {
  TProgram program;
  struct TCase {
    const char* Name;
    const char* Size;
    bool ReadOnly;
  };
  const TCase cases[] = {{"read-only", "size=1m", true}, {"full", "size=128k", false}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const fs::path dir = sonalix::test::MakeTempDir(std::string("save-") + c.Name);
    TSmallDisk disk(dir, c.Size);
    if (!disk.Mounted) GTEST_SKIP() << "cannot mount a small file system here";
    const fs::path target = dir / "old.wav";
    const std::string old(100 * 1024, 'x');
    std::ofstream(target, std::ios::binary) << old;
    if (c.ReadOnly) ASSERT_TRUE(disk.MakeReadOnly());
    TChildForm* doc = program.Open(WriteTone("long.wav", 44100, 2, 44100 * 3));
    ASSERT_NE(doc, nullptr);
    doc->SetFileName(target.string());
    doc->Modified = true;
    TSaveAnswers answers;
    RunAction("SaveFile");
    EXPECT_EQ(ReadAll(target), old);
    EXPECT_EQ(answers.Boxes, 1);
    EXPECT_NE(answers.LastBox.find(target.string()), std::string::npos) << answers.LastBox;
    EXPECT_TRUE(doc->Modified);
    EXPECT_EQ(doc->FileName, target.string());

    TWeakLink<TChildForm> link(doc);
    answers.MessageAnswer = IDYES;
    doc->Close();
    Application->ProcessMessages();
    EXPECT_TRUE(link);
    EXPECT_EQ(ReadAll(target), old);
    ASSERT_TRUE(link);
    doc->Modified = false;
    doc->Close();
    Application->ProcessMessages();
  }
}

// Closing a modified document: Yes saves it and closes the window.
TEST(MainSave, CloseQuestionYesSaves) {
  TProgram program;
  const fs::path dir = sonalix::test::MakeTempDir("save-close");
  TChildForm* doc = program.Open(WriteTone("t.wav", 44100, 1, 4410));
  ASSERT_NE(doc, nullptr);
  doc->SetFileName((dir / "kept.wav").string());
  doc->Modified = true;
  TWeakLink<TChildForm> link(doc);
  TSaveAnswers answers;
  answers.MessageAnswer = IDYES;
  doc->Close();
  Application->ProcessMessages();
  EXPECT_FALSE(link);
  EXPECT_EQ(codectest::ProbeFile(dir / "kept.wav").Codec, "pcm_s16le");
}

// Convert puts the document at the chosen rate and channels; the tags dialog writes every tag,
// an empty year as 0, and a year that is no number changes nothing.
TEST(MainSave, ConvertAndTags) {
  TProgram program;
  TChildForm* doc = program.Open(WriteTone("t.wav", 24000, 2, 2400));
  ASSERT_NE(doc, nullptr);
  IAudioEditor2FileInfo* info = doc->AudioEditor->FileInfo();
  TSaveAnswers answers;
  int shownRate = -1, shownChannels = -1;
  answers.Other = [&](const TModalRequest& r) -> int {
    if (r.DialogClass != "TConvertSampleRateForm") return 0;
    auto* d = static_cast<TConvertSampleRateForm*>(r.Dialog);
    shownRate = d->ComboBoxRate->ItemIndex();
    shownChannels = d->GroupBoxSChannels->ItemIndex();
    d->ComboBoxRate->SetItemIndex(7);  // 11025
    d->GroupBoxSChannels->SetItemIndex(0);
    return mrOk;
  };
  RunAction("ConvertSampleRate");
  EXPECT_EQ(shownRate, 3);  // 24000 is not in the list: 44100 is shown
  EXPECT_EQ(shownChannels, 1);
  EXPECT_EQ(info->SampleRate(), 11025);
  EXPECT_EQ(info->Channels(), 1);
  EXPECT_TRUE(doc->Modified);

  info->SetYear(1999);
  info->SetTitle("old");
  for (const char* year : {"", "19x9"}) {
    SCOPED_TRACE(year);
    answers.Other = [&](const TModalRequest& r) -> int {
      if (r.DialogClass != "TEditID3Form") return 0;
      auto* d = static_cast<TEditID3Form*>(r.Dialog);
      EXPECT_EQ(d->ComboBoxGenre->Items()->Count(), 148);
      d->EditTitle->SetText("Title");
      d->EditArtist->SetText("Artist");
      d->EditAlbum->SetText("Album");
      d->ComboBoxGenre->SetItemIndex(17);
      d->EditYear->SetText(year);
      d->MemoComment->Lines()->SetText("Comment");
      return mrOk;
    };
    const int boxes = answers.Boxes;
    RunAction("EditID3");
    if (*year) {
      EXPECT_EQ(answers.Boxes, boxes + 1);
      EXPECT_EQ(info->Title(), "old");
      EXPECT_EQ(info->Year(), 1999);
      info->SetYear(1999);
    } else {
      EXPECT_EQ(info->Title(), "Title");
      EXPECT_EQ(info->Artist(), "Artist");
      EXPECT_EQ(info->Album(), "Album");
      EXPECT_EQ(info->GenreIndex(), 17);
      EXPECT_EQ(info->Year(), 0);
      EXPECT_EQ(info->Comment().rfind("Comment", 0), 0u);
      info->SetTitle("old");
      info->SetYear(1999);
    }
  }
}
