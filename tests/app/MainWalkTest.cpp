// One road through the main window as a new user takes it, offscreen: real files opened, a
// selection made with the mouse, the edit commands, an effect heard through its preview and then
// applied, a region exported, and saves in two compressed formats chosen in their dialogs. The
// commands run through the action list; the modal hook plays the user in every dialog; ffprobe
// reads what was written.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "../audio/CodecTestUtil.h"
#include "../audio/DeviceTestUtil.h"
#include "../platform/gui/GuiInput.h"
#include "Imports/AudioEditorControl.h"
#include "MainTestSupport.h"
#include "operations/EffectDialogs.h"
#include "operations/ExportRegion.h"
#include "operations/MarkerDialogs.h"
#include "operations/Mp3Format.h"
#include "operations/OggFormat.h"
#include "operations/RegionList.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ComCtrls.h"

namespace fs = std::filesystem;
using namespace maintest;

namespace {

void RunAction(const std::string& Action) {
  auto* a = dynamic_cast<TBasicAction*>(MainForm->FindComponent("Action" + Action));
  ASSERT_NE(a, nullptr) << Action;
  a->Execute();
  Application->ProcessMessages();
}

// Every sample of the document, interleaved; the selection is put back afterwards.
std::vector<float> Contents(TChildForm* Doc) {
  IAudioEditor2Position* pos = Doc->AudioEditor->Position();
  const int start = pos->SelectionStart(), end = pos->SelectionEnd();
  const bool active = pos->SelectionActive();
  pos->SetSelectionActive(true);
  pos->SetSelectionStart(0);
  pos->SetSelectionEnd(pos->Length());
  std::vector<float> all = Doc->AudioEditor->CopyPcm(pos->Length()).Values();
  pos->SetSelectionStart(start);
  pos->SetSelectionEnd(end);
  pos->SetSelectionActive(active);
  return all;
}

std::vector<float> Frames(const std::vector<float>& V, int Channels, int From, int To) {
  return {V.begin() + int64_t(From) * Channels, V.begin() + int64_t(To) * Channels};
}

std::vector<float> Join(std::vector<float> A, const std::vector<float>& B) {
  A.insert(A.end(), B.begin(), B.end());
  return A;
}

// A left drag across the waveform from one fraction of its width to another.
void DragSelect(TChildForm* Doc, double From, double To) {
  TAudioEditor2* editor = Doc->AudioEditor;
  const TRect wave = editor->WaveRect();
  auto at = [&](double f) {
    const TPoint p = editor->ClientToParent(
        TPoint(wave.Left + int(f * (wave.Width() - 1)), (wave.Top + wave.Bottom) / 2), Doc);
    return QPoint(p.X, p.Y);
  };
  guitest::Mouse(Doc, QEvent::MouseMove, at(From));
  guitest::Mouse(Doc, QEvent::MouseButtonPress, at(From));
  guitest::Mouse(Doc, QEvent::MouseMove, at((From + To) / 2));
  guitest::Mouse(Doc, QEvent::MouseMove, at(To));
  guitest::Mouse(Doc, QEvent::MouseButtonRelease, at(To));
}

// The index of the item whose text is Text, or -1.
int ItemNamed(TComboBox* Box, const std::string& Text) {
  for (int i = 0; i < Box->Items()->Count(); ++i)
    if (Box->Items()->Strings(i) == Text) return i;
  return -1;
}

std::set<fs::path> FilesIn(const fs::path& Dir) {
  std::set<fs::path> files;
  for (const auto& e : fs::directory_iterator(Dir)) files.insert(e.path());
  return files;
}

float Peak(const std::vector<float>& V) {
  float p = 0;
  for (float v : V) p = std::max(p, std::fabs(v));
  return p;
}

// The user at every dialog: one answer per dialog class, Yes to questions, OK to messages.
struct TUser {
  std::map<std::string, std::function<int(const TModalRequest&)>> Answers;
  std::vector<std::string> Messages;
  TModalHook Old;
  TUser() {
    Old = SetModalHook([this](const TModalRequest& r) -> int {
      if (r.Kind == TModalRequest::mrMessageBox) {
        Messages.push_back(r.Text);
        return (r.Type & MB_YESNOCANCEL) == MB_YESNOCANCEL ? IDYES : IDOK;
      }
      auto it = Answers.find(r.DialogClass);
      return it == Answers.end() ? 0 : it->second(r);
    });
  }
  ~TUser() { SetModalHook(Old); }
  void SaveAs(const fs::path& Path) {
    Answers["TSaveDialog"] = [Path](const TModalRequest& r) {
      static_cast<QFileDialog*>(r.Dialog)->selectFile(QString::fromStdString(Path.string()));
      return int(IDOK);
    };
  }
};

}  // namespace

TEST(MainWalk, NewUserRoad) {
  const fs::path played = sonalix::test::MakeTempDir("walk-played");
  const fs::path out = sonalix::test::MakeTempDir("walk-out");
  audiotest::ScopedBackend backend("file:" + played.string());
  audiotest::ManualClock clock;
  TProgram program;
  GlobalVars.OP_PlayAfterEdit = false;
  TUser user;

  // An MP3 made by an outside encoder opens with its rate, channels and length.
  const fs::path mp3 = out / "song.mp3";
  ASSERT_TRUE(codectest::MakeTone(mp3, 44100, 2, 2.0, "-c:a libmp3lame -b:a 128k"));
  TChildForm* song = program.Open(mp3.string());
  ASSERT_NE(song, nullptr);
  IAudioEditor2Position* pos = song->AudioEditor->Position();
  EXPECT_EQ(song->AudioEditor->FileInfo()->SampleRate(), 44100);
  EXPECT_EQ(song->AudioEditor->FileInfo()->Channels(), 2);
  EXPECT_NEAR(pos->Length(), 88200, 1152 * 2);

  // Select with the mouse, cut, paste at the end, and undo both.
  const std::vector<float> original = Contents(song);
  const int length = pos->Length();
  DragSelect(song, 0.25, 0.5);
  ASSERT_TRUE(pos->SelectionActive());
  const int s = pos->SelectionStart(), e = pos->SelectionEnd();
  EXPECT_NEAR(s, length / 4, length / 50);
  EXPECT_NEAR(e, length / 2, length / 50);
  RunAction("Cut");
  EXPECT_EQ(pos->Length(), length - (e - s));
  const std::vector<float> cut = Contents(song);
  EXPECT_EQ(cut, Join(Frames(original, 2, 0, s), Frames(original, 2, e, length)));
  pos->SetSelectionActive(false);
  pos->SetCursor(pos->Length());
  RunAction("Paste");
  EXPECT_EQ(Contents(song), Join(cut, Frames(original, 2, s, e)));
  EXPECT_TRUE(song->Modified);
  RunAction("Undo");
  EXPECT_EQ(Contents(song), cut);
  RunAction("Undo");
  EXPECT_EQ(Contents(song), original);

  // A WAV: Echo heard through its preview, then applied; the preview played what OK makes.
  TChildForm* doc = program.Open(WriteTone("voice.wav", 44100, 2, 44100 * 3));
  ASSERT_NE(doc, nullptr);
  ASSERT_EQ(program->ActiveDocument(), doc);
  pos = doc->AudioEditor->Position();
  DragSelect(doc, 1.0 / 6, 0.5);
  const int a = pos->SelectionStart(), b = pos->SelectionEnd();
  ASSERT_GT(b - a, 44100 / 2);
  const std::vector<float> dry = Frames(Contents(doc), 2, a, b);
  const std::set<fs::path> before = FilesIn(played);
  bool previewed = false;
  user.Answers["TEchoForm"] = [&](const TModalRequest& r) {
    auto* d = static_cast<TEffectForm*>(r.Dialog);
    d->Show();
    Application->ProcessMessages();
    guitest::Click(d, [&] {
      const TPoint p = d->ButtonPreview()->ClientToParent(
          TPoint(d->ButtonPreview()->Width() / 2, d->ButtonPreview()->Height() / 2), d);
      return QPoint(p.X, p.Y);
    }());
    previewed = program->PreviewPlaying();
    // Heard to its end: the player's end stops the preview.
    EXPECT_TRUE(clock.RunUntil([&] { return !program->PreviewPlaying(); }));
    d->Hide();
    return int(mrOk);
  };
  RunAction("Echo");
  EXPECT_TRUE(previewed);
  EXPECT_TRUE(doc->Modified);
  const std::vector<float> wet = Frames(Contents(doc), 2, a, b);
  std::vector<fs::path> plays;
  for (const fs::path& p : FilesIn(played))
    if (!before.count(p)) plays.push_back(p);
  ASSERT_EQ(plays.size(), 1u);
  const SampleBuffer heard = audiotest::ReadWav(plays[0].string());
  EXPECT_EQ(heard.SampleRate(), 44100);
  EXPECT_EQ(heard.Channels(), 2);
  ASSERT_GE(heard.ValueCount(), int64_t(wet.size()));
  double echoDiff = 0, previewDiff = 0;
  for (size_t i = 0; i < wet.size(); ++i) {
    echoDiff = std::max(echoDiff, double(std::fabs(wet[i] - dry[i])));
    previewDiff = std::max(previewDiff, double(std::fabs(heard[int64_t(i)] - wet[i])));
  }
  EXPECT_GT(echoDiff, 0.05) << "the echo changes the selection";
  EXPECT_LT(previewDiff, 1e-3) << "the preview plays the echo the document gets";

  // Normalize brings the selection's peak to the chosen level.
  user.Answers["TNormalizeForm"] = [](const TModalRequest&) { return int(mrOk); };
  RunAction("Normalize");
  EXPECT_NEAR(Peak(Frames(Contents(doc), 2, a, b)), GlobalVars.DefNormalize / 100.0, 0.01);

  // The selection becomes a region, exported as MP3 into a folder typed in the export dialog.
  user.Answers["TAddRegionOrBookmarkForm"] = [](const TModalRequest& r) {
    static_cast<TAddRegionOrBookmarkForm*>(r.Dialog)->EditName->SetText("walk part");
    return int(mrOk);
  };
  RunAction("AddRegion");
  ASSERT_EQ(RegionForm->ListViewRegionList->Items()->Count(), 1);
  RegionForm->ListViewRegionList->Items()->Item(0)->SetSelected(true);
  const fs::path exported = sonalix::test::MakeTempDir("walk-export");
  user.Answers["TExportRegionForm"] = [&](const TModalRequest& r) {
    auto* d = static_cast<TExportRegionForm*>(r.Dialog);
    d->EditFolder->SetText(exported.string());
    d->ComboBoxFormat->SetItemIndex(1);
    return int(mrOk);
  };
  RegionForm->ActionExport->Execute();
  Application->ProcessMessages();
  codectest::Probe p = codectest::ProbeFile(exported / "walk part.mp3");
  ASSERT_TRUE(p.Ok) << "walk part.mp3";
  EXPECT_EQ(p.Codec, "mp3");
  EXPECT_EQ(p.SampleRate, 44100);
  EXPECT_EQ(p.Channels, 2);
  EXPECT_GT(p.BitRate, 0);
  EXPECT_NEAR(p.Duration, (b - a) / 44100.0, 0.06);
  EXPECT_EQ(doc->FileName.substr(doc->FileName.size() - 9), "voice.wav");

  // Save As MP3, constant 128 kbps mono, chosen in the setup dialog's Configure dialog.
  user.SaveAs(out / "voice.mp3");
  user.Answers["TMp3FormatForm"] = [](const TModalRequest& r) {
    auto* d = static_cast<TMp3FormatForm*>(r.Dialog);
    d->RadioButtonSpecifySettings->SetChecked(true);
    d->ButtonConfigureClick(d->ButtonConfigure);
    return int(mrOk);
  };
  user.Answers["TMp3SettingsSpecifyForm"] = [](const TModalRequest& r) {
    auto* d = static_cast<TMp3SettingsSpecifyForm*>(r.Dialog);
    d->ComboBoxMode->SetItemIndex(ItemNamed(d->ComboBoxMode, "Mono"));
    d->RadioButtonConstant->SetChecked(true);
    d->ComboBoxConstant->SetItemIndex(ItemNamed(d->ComboBoxConstant, "128 kbps"));
    return int(mrOk);
  };
  RunAction("SaveAs");
  p = codectest::ProbeFile(out / "voice.mp3");
  EXPECT_EQ(p.Codec, "mp3");
  EXPECT_EQ(p.SampleRate, 44100);
  EXPECT_EQ(p.Channels, 1);
  EXPECT_EQ(p.BitRate, 128000);
  EXPECT_EQ(doc->FileName, (out / "voice.mp3").string());
  EXPECT_FALSE(doc->Modified);

  // Save As OGG, average 128 kbps stereo.
  user.SaveAs(out / "voice.ogg");
  user.Answers["TOGGFormatForm"] = [](const TModalRequest& r) {
    auto* d = static_cast<TOGGFormatForm*>(r.Dialog);
    d->RadioButtonSpecifySettings->SetChecked(true);
    d->ButtonConfigureClick(d->ButtonConfigure);
    return int(mrOk);
  };
  user.Answers["TOGGSettingsSpecifyForm"] = [](const TModalRequest& r) {
    auto* d = static_cast<TOGGSettingsSpecifyForm*>(r.Dialog);
    d->RadioButtonAverage->SetChecked(true);
    d->ComboBoxSetAverage->SetItemIndex(ItemNamed(d->ComboBoxSetAverage, "128 kbps"));
    d->GroupBoxMode->SetItemIndex(0);
    return int(mrOk);
  };
  RunAction("SaveAs");
  p = codectest::ProbeFile(out / "voice.ogg");
  EXPECT_EQ(p.Codec, "vorbis");
  EXPECT_EQ(p.SampleRate, 44100);
  EXPECT_EQ(p.Channels, 2);
  EXPECT_NEAR(double(p.BitRate), 128000, 16000);
  EXPECT_EQ(doc->FileName, (out / "voice.ogg").string());

  // Changed once more and closed: the question's Yes saves it (the OGG dialog again) and closes.
  const auto written = fs::last_write_time(out / "voice.ogg");
  RunAction("FadeIn");
  EXPECT_TRUE(doc->Modified);
  user.Messages.clear();
  TWeakLink<TChildForm> link(doc);
  doc->Close();
  Application->ProcessMessages();
  EXPECT_EQ(user.Messages.size(), 1u);
  EXPECT_FALSE(link);
  EXPECT_NE(fs::last_write_time(out / "voice.ogg"), written);
  EXPECT_EQ(codectest::ProbeFile(out / "voice.ogg").Codec, "vorbis");
}
