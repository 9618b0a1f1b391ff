// Record and Text To Speech from the main window: the work file the window or dialog leaves is
// inserted at the cursor or into a new document, and removed when the user gives up.
//
// Record runs the real recording window on the file backend: input.wav, made by sox at test
// time, is what the sound card hears, and each of its frames tells its own number (left = n mod
// 30000, right = n div 30000). The user's steps run inside the window's modal loop while the
// wave clock and the platform's clock move together in 10 ms steps.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QScreen>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "Imports/AudioEditorControl.h"
#include "controls/PngSpeedButton.h"
#include "MainTestSupport.h"
#include "acm/AcmTestUtil.h"
#include "app/NewFile.h"
#include "appbase/Utils.h"
#include "audio/DeviceTestUtil.h"
#include "audio/WavFile.h"
#include "common/FormPictures.h"
#include "operations/DialogTestUtil.h"
#include "operations/RecordControl.h"
#include "operations/RecordingDialogs.h"
#include "operations/TextToSpeechDialog.h"
#include "platform/gui/ActnList.h"

using namespace maintest;
using sonalix::test::SavePicture;
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
  const std::vector<int> before = Integers(DocumentSamples(doc));
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
  const std::vector<int> after = Integers(DocumentSamples(doc));
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
  const std::vector<int> heard = Integers(recorded), now = Integers(DocumentSamples(doc));
  int far = 0;
  for (int k = 1000; k < 23000; k += 500) far += std::abs(now[size_t(4 * k)] - heard[size_t(2 * k)]) > 30;
  EXPECT_EQ(far, 0);
  EXPECT_TRUE(doc->Modified);
}

TEST_F(MainRecordWindow, DiscardOrTheCloseBoxLeaveTheDocumentAsItWasAndNoWorkFile) {
  TChildForm* doc = Program->Open(WriteTone("doc.wav", kRate, 2, kRate));
  ASSERT_NE(doc, nullptr);
  doc->AudioEditor->Position()->SetCursor(1000);
  const std::vector<int> before = Integers(DocumentSamples(doc));
  for (bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "close box" : "Discard");
    if (closeBox) {
      // Given up while still recording, by the window's close box.
      User = [](TRecordControlForm* w) {
        w->ActionRecordExecute(nullptr);
        Pass(500);
        SendMessage(w->Handle(), WM_CLOSE, 0, 0);
      };
    } else {
      User = Recording(500, false);  // discarded while still recording
    }
    WindowsShown = 0;
    Record();
    ASSERT_EQ(WindowsShown, 1);
    EXPECT_TRUE(Integers(DocumentSamples(doc)) == before);
    EXPECT_FALSE(doc->Modified);
    EXPECT_FALSE(fs::exists(RecordingFile()));
    Pass(300);
    EXPECT_FALSE(fs::exists(RecordingFile())) << "nothing writes on after the window closed";
  }
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
    EXPECT_TRUE(Integers(DocumentSamples(doc)) == Integers(recorded)) << "the recording, sample for sample";
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

namespace {

// What the X server shows of the main window's area: the main window and whatever lies on it.
QImage ServerPicture(TForm* Main, TForm* Top) {
  for (int i = 0; i < 20; ++i) {
    QCoreApplication::processEvents();
    Application->ProcessMessages();
  }
  if (Top) {
    QWindow* window = GetWindowWidget(Top->Handle())->windowHandle();
    for (int i = 0; i < 2000 && !window->isExposed(); ++i) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    for (int i = 0; i < 20; ++i) QCoreApplication::processEvents();
  }
  const QImage screen = QGuiApplication::primaryScreen()->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
  return screen.copy(Main->Left(), Main->Top(), Main->Width(), Main->Height());
}

// A control's place in that picture.
QRect PlaceIn(TForm* Main, TControl* Control) {
  const TPoint p = Control->ClientToScreen(TPoint{0, 0});
  return QRect(p.X - Main->Left(), p.Y - Main->Top(), Control->Width(), Control->Height());
}

double Light(QRgb C) { return 0.299 * qRed(C) + 0.587 * qGreen(C) + 0.114 * qBlue(C); }

// The brightest pixel of a rectangle of the picture.
double Brightest(const QImage& Picture, const QRect& R) {
  double best = 0;
  for (int y = std::max(0, R.top()); y <= std::min(Picture.height() - 1, R.bottom()); ++y)
    for (int x = std::max(0, R.left()); x <= std::min(Picture.width() - 1, R.right()); ++x)
      best = std::max(best, Light(Picture.pixel(x, y)));
  return best;
}

// Acts on the dialog of class C once its modal loop has nothing else to do (input sent before
// that would run the action too early), then closes it if the action left it open.
template <class C>
void WhenShown(std::function<void(C*)> Act) {
  auto act = std::make_shared<std::function<void(C*)>>(std::move(Act));
  Application->OnIdle = [act](TObject*, bool& Done) {
    Done = false;
    C* dialog = nullptr;
    for (int i = 0; i < Screen->FormCount(); ++i)
      if (auto* f = dynamic_cast<C*>(Screen->Forms(i)); f && f->Visible()) dialog = f;
    if (!dialog) return;
    const auto keep = act;  // this handler goes with the next line
    Application->OnIdle = nullptr;
    (*keep)(dialog);
    if (dialog->ModalResult() == mrNone) dialog->SetModalResult(mrCancel);
  };
}

}  // namespace

// Under a real X server (run by the test after it): a new user records into a document from the
// main window: the window over the document, record, pause, an automatic start a minute ahead
// (reached by a jump of the clock), the without-silence settings, Keep. Each step is kept as a
// picture of what the server shows and searched for what the user should see.
TEST(MainRecordOnX, ANewUserRecordsIntoADocument) {
  if (QGuiApplication::platformName() != "xcb") GTEST_SKIP() << "runs under Xvfb only";
  const fs::path dir = sonalix::test::MakeTempDir("recx");
  acmtest::MakeInput(dir, "synth 60 sine 440 sine 660 vol 0.6");
  audiotest::ScopedBackend backend("file:" + dir.string());
  audiotest::ManualClock wave;
  SetManualClock(true);
  TDateTime now = EncodeDate(2026, 12, 11) + EncodeTime(10, 0, 0, 0);
  SetNowFunction([&] { return now; });
  const auto pass = [&](int Ms) {
    for (int t = 0; t < Ms; t += 10) {
      AdvanceWaveClock(10);
      AdvanceClock(10);
      now += 10 / MSecsPerDay;
      QCoreApplication::processEvents();
      Application->ProcessMessages();
    }
  };
  {
    TProgram program;
    GlobalVars.TempFolder = (dir / "work").string();
    program->SetBounds(0, 0, 1000, 700);
    program->Show();
    TChildForm* doc = program.Open(WriteTone("doc.wav", kRate, 2, kRate));
    ASSERT_NE(doc, nullptr);
    program->ActionTileHorizontalExecute(nullptr);
    program.Idle();

    dialogtest::Steps steps;
    std::vector<std::string> boxes;
    TRecordControlForm* w = nullptr;
    int recordedFrames = -1;
    TModalHook old = SetModalHook([&](const TModalRequest& r) -> int {
      if (r.Kind == TModalRequest::mrMessageBox) {
        boxes.push_back(r.Text);
        return IDOK;
      }
      if (r.DialogClass != "TRecordControlForm") return 0;
      w = static_cast<TRecordControlForm*>(r.Dialog);
      steps.Later([&] {
        // A click, then the enabling the loop's idle time would bring.
        const auto click = [&](TControl* Control) {
          dialogtest::ClickOn(Control);
          bool handled = false;
          w->ActionListUpdate(nullptr, handled);
        };
        pass(300);
        QImage shot = ServerPicture(MainForm, w);
        SavePicture(shot, "record-main-1-window");
        EXPECT_EQ(w->Left(), MainForm->Left() + (MainForm->Width() - w->Width()) / 2) << "centred over the main window";
        EXPECT_GT(Brightest(shot, PlaceIn(MainForm, w->ButtonRecord).adjusted(40, 2, -4, -2)), 200) << "Record's caption";
        EXPECT_LT(Brightest(shot, PlaceIn(MainForm, w->ButtonPause).adjusted(40, 2, -4, -2)), 160) << "a dim Pause";

        click(w->ButtonRecord);
        pass(1500);
        shot = ServerPicture(MainForm, w);
        SavePicture(shot, "record-main-2-recording");
        EXPECT_EQ(w->LabelLabelStatus->Caption(), "[ Recording ]");
        const QRect gauge = PlaceIn(MainForm, w->spSkinGaugeLeft);
        const QRgb foot = shot.pixel(gauge.center().x(), gauge.bottom() - 30);
        EXPECT_GT(qGreen(foot), qRed(foot) + 60) << "the meter is lit";

        click(w->ButtonPause);
        pass(200);
        SavePicture(ServerPicture(MainForm, w), "record-main-3-paused");
        EXPECT_EQ(w->LabelLabelStatus->Caption(), "[ Paused ]");

        // The timer: start automatically a minute from now.
        WhenShown<TRecordingTimerForm>([&](TRecordingTimerForm* t) {
          dialogtest::ClickOn(t->RadioButtonAutomatically);
          const TDateTime at = now + 60 / SecsPerDay;
          t->DateTimePickerAutomaticallyData->SetDateTime(at);
          t->DateTimePickerAutomaticallyTime->SetDateTime(at);
          SavePicture(ServerPicture(MainForm, t), "record-main-4-timer-dialog");
          dialogtest::ClickOn(t->ButtonOK);
        });
        click(w->ButtonTimerRecord);
        pass(100);
        shot = ServerPicture(MainForm, w);
        SavePicture(shot, "record-main-5-timer-armed");
        EXPECT_TRUE(w->AutoStartArmed);
        EXPECT_FALSE(w->ButtonRecord->Visible());
        EXPECT_TRUE(w->LabelRecordingTimer->Visible());
        EXPECT_LT(Brightest(shot, PlaceIn(MainForm, w->ButtonRecord).adjusted(40, 2, -4, -2)), 120)
            << "no Record button where it was";
        EXPECT_GT(Brightest(shot, PlaceIn(MainForm, w->LabelRecordingTimer)), 120) << "the timer line shows";
        // The clock jumps past the start: the recording goes on.
        now += 61 / SecsPerDay;
        pass(1000);
        click(w->PanelMain);
        EXPECT_EQ(w->LabelLabelStatus->Caption(), "[ Recording ]");
        EXPECT_TRUE(w->ButtonRecord->Visible());

        // The without-silence settings, as the user would look at them.
        WhenShown<TRecordingWithoutSilenceForm>([&](TRecordingWithoutSilenceForm* s) {
          SavePicture(ServerPicture(MainForm, s), "record-main-6-settings");
          dialogtest::ClickOn(s->ButtonCancel);
        });
        click(w->ButtonRWSSettings);
        click(w->ButtonKeep);
        if (w->ModalResult() == mrNone) w->SetModalResult(mrAbort);
      });
      return 0;
    });
    RunAction("Record");
    program.Idle();
    SetModalHook(old);
    ASSERT_NE(w, nullptr);
    recordedFrames = int(audiotest::ReadWav(RecordingFile()).Frames());
    // 1.5 s, then a second from the automatic start's first tick (within one 50 ms period).
    EXPECT_NEAR(recordedFrames, kRate * 25 / 10, kRate / 20);
    EXPECT_EQ(doc->AudioEditor->Position()->Length(), kRate + recordedFrames);
    EXPECT_TRUE(doc->Modified);
    EXPECT_TRUE(boxes.empty());
    SavePicture(ServerPicture(MainForm, nullptr), "record-main-7-kept");
    doc->Modified = false;
  }
  SetNowFunction({});
  SetManualClock(false);
}

TEST(MainRecord, PicturesUnderXvfb) {
  const fs::path dir = sonalix::test::SheetDir() / "record-main-xvfb";
  fs::create_directories(dir);
  fs::remove(dir / "record-main-7-kept.png");
  const auto run = sonalix::test::RunUnderXvfb("MainRecordOnX.*", {{"SONALIX_SCREENSHOT_DIR", dir.string()}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  EXPECT_FALSE(QImage(QString::fromStdString((dir / "record-main-7-kept.png").string())).isNull());
}
