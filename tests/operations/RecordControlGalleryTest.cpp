// The recording window as a new user meets it on the file backend, driven by real clicks:
// ready, recording with the meters up, paused with a timed stop set, the two dialogs, kept; each
// step checked for controls that leave their window and saved as a picture (to the sheets
// folder, and with SONALIX_SCREENSHOT_DIR set also there; the last test runs it all again on a
// real X server). A damaged skin leaves plain faces that still work.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QWidget>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "DialogTestUtil.h"
#include "acm/AcmTestUtil.h"
#include "appbase/Globals.h"
#include "audio/DeviceTestUtil.h"
#include "common/FormPictures.h"
#include "common/TestEnv.h"
#include "operations/RecordControl.h"
#include "operations/RecordingDialogs.h"

namespace fs = std::filesystem;
using namespace dialogtest;

using sonalix::test::ExpectControlsInside;
using sonalix::test::SavePicture;

namespace {

QImage Shot(TCustomForm* Form) {
  Application->ProcessMessages();
  QCoreApplication::processEvents();
  ExpectControlsInside(Form);
  return GetWindowWidget(Form->Handle())->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

double Luminance(QRgb c) { return 0.299 * qRed(c) + 0.587 * qGreen(c) + 0.114 * qBlue(c); }

double MeanLuminance(const QImage& Image) {
  double sum = 0;
  for (int y = 0; y < Image.height(); ++y)
    for (int x = 0; x < Image.width(); ++x) sum += Luminance(Image.pixel(x, y));
  return sum / (Image.width() * Image.height());
}

QPoint At(TControl* Control, int X, int Y) {
  TPoint p = Control->ClientToScreen(TPoint{X, Y});
  TPoint q = GetParentCustomForm(Control)->ScreenToClient(p);
  return {q.X, q.Y};
}

// The brightest pixel of a control's caption, right of its icon or check image.
double CaptionLight(const QImage& Shot, TControl* Control, int From) {
  double best = 0;
  for (int y = 2; y < Control->Height() - 2; ++y)
    for (int x = From; x < Control->Width() - 4; ++x) best = std::max(best, Luminance(Shot.pixel(At(Control, x, y))));
  return best;
}

// Pixels of the accent blue on a control's outline (the hot and pressed faces' edge).
int AccentOnEdge(const QImage& Shot, TControl* Control) {
  int n = 0;
  for (int x = 0; x < Control->Width(); ++x)
    for (int y : {0, 1, Control->Height() - 2, Control->Height() - 1}) {
      const QRgb c = Shot.pixel(At(Control, x, y));
      n += qBlue(c) - qRed(c) > 100;
    }
  return n;
}

class RecordWindowGallery : public ::testing::Test {
 protected:
  void SetUp() override {
    SetDefaultGlobalVars();
    GlobalVars.RecordingFile = (Dir / "SonalixRecording.wav").string();
    SetManualClock(true);
    FPrevious = SetModalHook([this](const TModalRequest& r) -> int {
      if (r.Kind == TModalRequest::mrMessageBox) {
        Boxes.push_back(r.Text);
        return IDOK;
      }
      return 0;
    });
    acmtest::MakeInput(Dir, "synth 30 sine 440 sine 660 vol 0.6");
    Backend.emplace("file:" + Dir.string());
  }
  void TearDown() override {
    Application->OnIdle = nullptr;
    SetModalHook(std::move(FPrevious));
    SetManualClock(false);
    SetDefaultGlobalVars();
  }
  void Run(TRecordControlForm* Form, int Ms) {
    for (int t = 0; t < Ms; t += 10) {
      AdvanceWaveClock(10);
      AdvanceClock(10);
      QCoreApplication::processEvents();
      Application->ProcessMessages();
    }
    bool handled = false;
    Form->ActionListUpdate(nullptr, handled);
  }
  // Acts on a dialog the window is about to open, once its modal loop has nothing else to do,
  // and closes it.
  static void OnDialog(const char* Class, std::function<void(TCustomForm*)> Step) {
    Application->OnIdle = [Class, Step](TObject*, bool& Done) {
      Done = false;
      TCustomForm* dialog = nullptr;
      for (int i = 0; i < Screen->FormCount(); ++i)
        if (Screen->Forms(i)->ClassName() == Class && Screen->Forms(i)->Visible())
          dialog = dynamic_cast<TCustomForm*>(Screen->Forms(i));
      if (!dialog) return;
      Application->OnIdle = nullptr;
      Step(dialog);
      if (dialog->ModalResult() == mrNone) dialog->SetModalResult(mrCancel);
    };
  }
  void Click(TRecordControlForm* Form, TControl* Control) {
    ClickOn(Control);
    bool handled = false;
    Form->ActionListUpdate(nullptr, handled);
  }

  fs::path Dir = sonalix::test::MakeTempDir("gallery");
  audiotest::ManualClock Wave;
  std::optional<audiotest::ScopedBackend> Backend;
  std::vector<std::string> Boxes;

 private:
  TModalHook FPrevious;
};

TEST_F(RecordWindowGallery, ANewUsersRecording) {
  auto form = std::make_unique<TRecordControlForm>(nullptr);
  TRecordControlForm* f = form.get();
  f->Show();
  ASSERT_FALSE(f->spSkinData->Empty()) << f->spSkinData->LoadErrorText();
  ASSERT_EQ(f->spPngImageList->Count(), 6);
  Run(f, 300);
  QImage ready = Shot(f);
  EXPECT_LT(MeanLuminance(ready), 80) << "a dark window";
  // Captions in the skin's light text; a disabled button sunk and dim, not edged like a pressed
  // one; the check box's caption readable on the dark panel.
  EXPECT_GT(CaptionLight(ready, f->ButtonRecord, 40), 200);
  EXPECT_LT(CaptionLight(ready, f->ButtonPause, 40), 160);
  EXPECT_GT(CaptionLight(ready, f->ButtonPause, 40), 90);
  EXPECT_EQ(AccentOnEdge(ready, f->ButtonPause), 0);
  EXPECT_GT(CaptionLight(ready, f->CheckRecordingWithoutSilence, 20), 180);
  SavePicture(ready, "record-1-ready");

  Click(f, f->ButtonRecord);
  Run(f, 1500);
  EXPECT_EQ(f->LabelLabelStatus->Caption(), "[ Recording ]");
  QImage recording = Shot(f);
  // The left meter is lit (green) from its foot to about 60 % of its height.
  TspSkinGauge* g = f->spSkinGaugeLeft;
  const QPoint foot = At(g, g->Width() / 2, g->Height() - 30);
  EXPECT_GT(qGreen(recording.pixel(foot)), 150) << "lit meter";
  EXPECT_GT(qGreen(recording.pixel(foot)), qRed(recording.pixel(foot)) + 60);
  EXPECT_LT(CaptionLight(recording, f->ButtonRecord, 40), 160);
  EXPECT_EQ(AccentOnEdge(recording, f->ButtonRecord), 0);
  EXPECT_GT(CaptionLight(recording, f->ButtonPause, 40), 200);
  SavePicture(recording, "record-2-recording");

  Click(f, f->ButtonPause);
  EXPECT_EQ(f->LabelLabelStatus->Caption(), "[ Paused ]");
  OnDialog("TRecordingTimerForm", [this](TCustomForm* d) {
    auto* timer = static_cast<TRecordingTimerForm*>(d);
    ClickOn(timer->CheckBoxStopAfter);
    timer->DateTimePickerWhenRecordingTime->SetTime(EncodeTime(0, 1, 0, 0));
    SavePicture(Shot(timer), "record-3-timer-dialog");
    ClickOn(timer->ButtonOK);
  });
  Click(f, f->ButtonTimerRecord);
  Run(f, 100);
  EXPECT_TRUE(f->LabelRecordingStops->Visible());
  EXPECT_EQ(f->LabelRecordingStops->Caption(), "Recording stops after: 00:01:00");
  SavePicture(Shot(f), "record-4-paused-with-timer");

  Click(f, f->CheckRecordingWithoutSilence);
  EXPECT_TRUE(GlobalVars.AccuEnabled);
  OnDialog("TRecordingWithoutSilenceForm", [](TCustomForm* d) {
    auto* settings = static_cast<TRecordingWithoutSilenceForm*>(d);
    EXPECT_EQ(settings->EditAttackLevel->Text(), "-45");
    TypeInto(settings->EditAttackLevel, "-40");
    SavePicture(Shot(settings), "record-5-settings-dialog");
    ClickOn(settings->ButtonOK);
  });
  Click(f, f->ButtonRWSSettings);
  EXPECT_EQ(GlobalVars.AccuAttackLevel, -40);

  Click(f, f->ButtonRecord);
  Run(f, 500);
  EXPECT_EQ(f->LabelLabelStatus->Caption(), "[ Recording ]");
  EXPECT_EQ(f->LabelRecordingStops->Caption(), "Recording stops after: 00:01:00");
  Click(f, f->ButtonKeep);
  EXPECT_EQ(f->ModalResult(), mrOk);
  EXPECT_TRUE(Boxes.empty());
  EXPECT_EQ(audiotest::ReadWav(GlobalVars.RecordingFile).Frames(), 2 * 44100);
}

TEST_F(RecordWindowGallery, ADamagedSkinLeavesPlainControlsThatWork) {
  auto form = std::make_unique<TRecordControlForm>(nullptr);
  TRecordControlForm* f = form.get();
  // Bytes of the stored package overwritten: the skin does not load.
  auto* bytes = static_cast<uint8_t*>(f->spCompressedStoredSkin->CompressedStream()->Memory());
  for (int i = 40; i < 48; ++i) bytes[i] = 0;
  f->spSkinData->LoadCompressedStoredSkin(f->spCompressedStoredSkin);
  EXPECT_TRUE(f->spSkinData->Empty());
  f->Show();
  Run(f, 300);
  const QImage shot = Shot(f);
  TspSkinButton* b = f->ButtonRecord;
  EXPECT_EQ(shot.pixel(At(b, 0, 0)), qRgb(128, 128, 128)) << "the plain button face";
  EXPECT_GT(CaptionLight(shot, f->CheckRecordingWithoutSilence, 20), 180) << "a caption readable on the dark panel";
  SavePicture(shot, "record-damaged-skin");
  Click(f, f->ButtonRecord);
  Run(f, 400);
  EXPECT_EQ(f->LabelLabelStatus->Caption(), "[ Recording ]");
  EXPECT_GT(f->spSkinGaugeLeft->Value(), 10000);
  Click(f, f->ButtonKeep);
  EXPECT_EQ(audiotest::ReadWav(GlobalVars.RecordingFile).Frames(), 44100 * 4 / 10);
}

TEST(RecordWindowScreens, UnderXvfb) {
  const fs::path dir = sonalix::test::SheetDir() / "record-xvfb";
  fs::create_directories(dir);
  fs::remove(dir / "record-2-recording.png");
  const auto run = sonalix::test::RunUnderXvfb("RecordWindowGallery.*", {{"SONALIX_SCREENSHOT_DIR", dir.string()}});
  if (!run.Ran) GTEST_SKIP() << "xvfb-run is not installed";
  EXPECT_EQ(run.ExitCode, 0) << run.Output << run.Errors;
  EXPECT_FALSE(QImage(QString::fromStdString((dir / "record-2-recording.png").string())).isNull());
}

}  // namespace
