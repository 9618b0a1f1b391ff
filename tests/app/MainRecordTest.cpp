// Record and Text To Speech from the main window: the work file the window or dialog leaves is
// inserted at the cursor or into a new document, and removed when the user gives up.
//
// Record runs the real recording window on the file backend: input.wav, made by sox at test
// time, is what the sound card hears, and each of its frames tells its own number (left = n mod
// 30000, right = n div 30000). The user's steps run inside the window's modal loop while the
// wave clock and the platform's clock move together in 10 ms steps.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <vector>

#include "Imports/AudioEditorControl.h"
#include "MainTestSupport.h"
#include "acm/AcmTestUtil.h"
#include "app/NewFile.h"
#include "appbase/Utils.h"
#include "audio/DeviceTestUtil.h"
#include "audio/WavFile.h"
#include "operations/RecordControl.h"
#include "operations/TextToSpeechDialog.h"
#include "platform/gui/ActnList.h"

using namespace maintest;
namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;

void RunAction(const std::string& Action) {
  auto* a = dynamic_cast<TBasicAction*>(MainForm->FindComponent("Action" + Action));
  ASSERT_NE(a, nullptr) << Action;
  a->Execute();
  Application->ProcessMessages();
}

std::string RecordingFile() {
  return AddTrailingBackslash(GlobalVars.TempFolder) + "SonalixRecording.wav";
}

std::vector<int16_t> NumberedFrames(int Frames) {
  std::vector<int16_t> v(size_t(Frames) * 2);
  for (int n = 0; n < Frames; ++n) {
    v[size_t(2 * n)] = int16_t(n % 30000);
    v[size_t(2 * n + 1)] = int16_t(n / 30000);
  }
  return v;
}

// Samples as the 16-bit integers they were recorded or written as.
std::vector<int> Integers(const SampleBuffer& B) {
  std::vector<int> v;
  v.reserve(B.Values().size());
  for (float f : B.Values()) v.push_back(int(std::lround(f * 32768.0f)));
  return v;
}

// The whole document, leaving its selection and cursor as they were.
SampleBuffer Contents(TChildForm* Doc) {
  IAudioEditor2Position* pos = Doc->AudioEditor->Position();
  const int start = pos->SelectionStart(), end = pos->SelectionEnd(), cursor = pos->Cursor();
  const bool active = pos->SelectionActive();
  pos->SetSelectionActive(true);
  pos->SetSelectionStart(0);
  pos->SetSelectionEnd(pos->Length());
  SampleBuffer all = Doc->AudioEditor->CopyPcm(pos->Length());
  pos->SetSelectionActive(active);
  pos->SetSelectionStart(start);
  pos->SetSelectionEnd(end);
  if (!active) pos->SetCursor(cursor);
  return all;
}

// Both clocks move by Ms; the devices' news and the window's timers run in between.
void Pass(int Ms) {
  for (int t = 0; t < Ms; t += 10) {
    AdvanceWaveClock(10);
    AdvanceClock(10);
    QCoreApplication::processEvents();
    Application->ProcessMessages();
  }
}

class MainRecordWindow : public ::testing::Test {
 protected:
  void SetUp() override {
    acmtest::MakeInputFromSamples(Dir, NumberedFrames(20 * kRate));
    Backend.emplace("file:" + Dir.string());
    SetManualClock(true);
    Program.emplace();
    // A work folder of this test's own ("work" is made by the command).
    GlobalVars.TempFolder = (Dir / "work").string();
    FOld = SetModalHook([this](const TModalRequest& r) -> int {
      if (r.Kind == TModalRequest::mrMessageBox) {
        Boxes.push_back(r.Text);
        return IDOK;
      }
      if (r.Kind != TModalRequest::mrDialog) return 0;
      if (r.DialogClass == "TNewFileForm") return NewFile(static_cast<TNewFileForm*>(r.Dialog));
      if (r.DialogClass != "TRecordControlForm") return 0;
      // The window runs its own modal loop; the user acts once it is on screen.
      ++WindowsShown;
      WorkFileBefore = fs::exists(RecordingFile());
      auto* window = static_cast<TRecordControlForm*>(r.Dialog);
      bool acted = false;
      Application->OnIdle = [this, window, acted](TObject*, bool& Done) mutable {
        Done = false;
        if (acted || !window->Visible()) return;
        acted = true;
        AskedRate = window->RecordSampleRate;
        AskedChannels = window->RecordChannels;
        User(window);
      };
      return 0;
    });
  }
  void TearDown() override {
    Application->OnIdle = nullptr;
    SetModalHook(std::move(FOld));
    Program.reset();
    SetManualClock(false);
  }

  void Record() {
    RunAction("Record");
    Application->OnIdle = nullptr;
  }

  // Frames heard before Record, then Ms of recording, then Keep or Discard.
  static std::function<void(TRecordControlForm*)> Recording(int Ms, bool Keep) {
    return [Ms, Keep](TRecordControlForm* w) {
      Pass(100);
      w->ActionRecordExecute(nullptr);
      Pass(Ms);
      if (Keep)
        w->ActionKeepExecute(nullptr);
      else
        w->ActionDiscardExecute(nullptr);
    };
  }

  fs::path Dir = sonalix::test::MakeTempDir("mainrec");
  audiotest::ManualClock Wave;
  std::optional<audiotest::ScopedBackend> Backend;
  std::optional<TProgram> Program;
  std::function<void(TRecordControlForm*)> User;
  std::function<int(TNewFileForm*)> NewFile = [](TNewFileForm*) { return int(mrCancel); };
  std::vector<std::string> Boxes;
  int WindowsShown = 0;
  bool WorkFileBefore = true;
  int AskedRate = 0, AskedChannels = 0;

 private:
  TModalHook FOld;
};

}  // namespace

TEST_F(MainRecordWindow, IntoAnOpenDocumentTheRecordingGoesInAtTheCursorSampleForSample) {
  TChildForm* doc = Program->Open(WriteTone("doc.wav", kRate, 2, kRate));
  ASSERT_NE(doc, nullptr);
  doc->AudioEditor->Position()->SetCursor(1000);
  const std::vector<int> before = Integers(Contents(doc));
  User = Recording(500, true);
  Record();
  ASSERT_EQ(WindowsShown, 1);
  EXPECT_FALSE(WorkFileBefore) << "the work file is made afresh";
  EXPECT_EQ(AskedRate, kRate);
  EXPECT_EQ(AskedChannels, 2);
  EXPECT_TRUE(Boxes.empty());
  ASSERT_TRUE(fs::exists(RecordingFile())) << "left in place after an insertion";

  // The work file holds consecutive input frames, half a second of them.
  const SampleBuffer recorded = audiotest::ReadWav(RecordingFile());
  const std::vector<int> heard = Integers(recorded);
  ASSERT_EQ(recorded.Frames(), kRate / 2);
  const int first = heard[0] + 30000 * heard[1];
  int gaps = 0;
  for (int f = 0; f < recorded.Frames(); ++f) gaps += heard[size_t(2 * f)] + 30000 * heard[size_t(2 * f + 1)] != first + f;
  EXPECT_EQ(gaps, 0);

  // The document: its first 1000 frames, the recording, then the rest of it.
  std::vector<int> expected(before.begin(), before.begin() + 2000);
  expected.insert(expected.end(), heard.begin(), heard.end());
  expected.insert(expected.end(), before.begin() + 2000, before.end());
  const std::vector<int> after = Integers(Contents(doc));
  ASSERT_EQ(after.size(), expected.size());
  EXPECT_TRUE(after == expected);
  EXPECT_EQ(doc->AudioEditor->FileInfo()->SampleRate(), kRate);
  EXPECT_TRUE(doc->Modified);
}

TEST_F(MainRecordWindow, A96000HzDocumentAsksFor48000AndTakesTheRecordingAtItsOwnRate) {
  TChildForm* doc = Program->Open(WriteTone("doc96.wav", 96000, 2, 9600));
  ASSERT_NE(doc, nullptr);
  doc->AudioEditor->Position()->SetCursor(0);
  User = Recording(500, true);
  Record();
  EXPECT_EQ(AskedRate, 48000);
  EXPECT_EQ(AskedChannels, 2);
  const SampleBuffer recorded = audiotest::ReadWav(RecordingFile());
  EXPECT_EQ(recorded.SampleRate(), 48000);
  // Half a second, give or take the input converter's last frame.
  ASSERT_NEAR(double(recorded.Frames()), 24000, 2);
  EXPECT_EQ(doc->AudioEditor->FileInfo()->SampleRate(), 96000);
  EXPECT_NEAR(double(doc->AudioEditor->Position()->Length()), 9600 + 2 * recorded.Frames(), 2);
  // Each recorded frame stands twice as long in the document: away from the edges, document
  // frame 2k carries the number of recorded frame k (the left channel's slow ramp).
  const std::vector<int> heard = Integers(recorded), now = Integers(Contents(doc));
  int far = 0;
  for (int k = 1000; k < 23000; k += 500) far += std::abs(now[size_t(4 * k)] - heard[size_t(2 * k)]) > 30;
  EXPECT_EQ(far, 0);
  EXPECT_TRUE(doc->Modified);
}

TEST_F(MainRecordWindow, DiscardLeavesTheDocumentAsItWasAndNoWorkFile) {
  TChildForm* doc = Program->Open(WriteTone("doc.wav", kRate, 2, kRate));
  ASSERT_NE(doc, nullptr);
  doc->AudioEditor->Position()->SetCursor(1000);
  const std::vector<int> before = Integers(Contents(doc));
  User = Recording(500, false);  // discarded while still recording
  Record();
  ASSERT_EQ(WindowsShown, 1);
  EXPECT_TRUE(Integers(Contents(doc)) == before);
  EXPECT_FALSE(doc->Modified);
  EXPECT_FALSE(fs::exists(RecordingFile()));
  Pass(300);
  EXPECT_FALSE(fs::exists(RecordingFile())) << "nothing writes on after the window closed";
}

TEST_F(MainRecordWindow, WithoutADocumentTheChosenFormatMakesAnUntitledDocumentOfTheRecording) {
  struct Case {
    bool Prompt;
    int RateIndex;
    bool Mono;
    int Rate, Channels;
  } cases[] = {
      {true, 3, true, 44100, 1},     // "44,100", "&Mono (Single)"
      {true, 0, false, 48000, 2},    // "96,000" is recorded, and made, at 48000
      {false, -1, false, 22050, 1},  // no question: the default format
  };
  GlobalVars.OP_DefSample = 22050;
  GlobalVars.OP_DefChannel = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(IntToStr(c.Rate) + " Hz, " + IntToStr(c.Channels));
    for (TChildForm* d : MainForm->Documents()) {
      d->Modified = false;
      d->Close();
    }
    Application->ProcessMessages();
    ASSERT_TRUE(MainForm->Documents().empty());
    GlobalVars.OP_PromptNewFile = c.Prompt;
    int asked = 0;
    NewFile = [&](TNewFileForm* d) {
      ++asked;
      d->cbSampleRate->SetItemIndex(c.RateIndex);
      d->rbMono->SetChecked(c.Mono);
      d->rbStereo->SetChecked(!c.Mono);
      return int(mrOk);
    };
    User = Recording(500, true);
    Record();
    EXPECT_EQ(asked, c.Prompt ? 1 : 0);
    EXPECT_EQ(AskedRate, c.Rate);
    EXPECT_EQ(AskedChannels, c.Channels);
    TChildForm* doc = MainForm->ActiveDocument();
    ASSERT_NE(doc, nullptr);
    EXPECT_EQ(doc->FileName.rfind("Untitled", 0), 0u) << doc->FileName;
    EXPECT_EQ(doc->AudioEditor->FileInfo()->SampleRate(), c.Rate);
    EXPECT_EQ(doc->AudioEditor->FileInfo()->Channels(), c.Channels);
    const SampleBuffer recorded = audiotest::ReadWav(RecordingFile());
    EXPECT_NEAR(double(recorded.Frames()), c.Rate / 2, 2);
    EXPECT_TRUE(Integers(Contents(doc)) == Integers(recorded)) << "the recording, sample for sample";
    EXPECT_TRUE(doc->Modified);
  }
  GlobalVars.OP_PromptNewFile = false;
}

TEST_F(MainRecordWindow, CancellingTheNewFileQuestionOpensNoWindow) {
  GlobalVars.OP_PromptNewFile = true;
  NewFile = [](TNewFileForm*) { return int(mrCancel); };
  User = Recording(500, true);
  Record();
  EXPECT_EQ(WindowsShown, 0);
  EXPECT_TRUE(MainForm->Documents().empty());
  EXPECT_FALSE(fs::exists(RecordingFile()));
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
