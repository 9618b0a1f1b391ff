// Every editing dialog as the user meets it, checked for controls that leave their window or run
// into their neighbours, and saved as a picture: to the sheets folder, and with
// SONALIX_SCREENSHOT_DIR set (run under Xvfb with SONALIX_TEST_PLATFORM=xcb) there as well,
// for a person to look at.
#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <string>

#include "DialogTestUtil.h"
#include "audio/AudioDocument.h"
#include "common/FormPictures.h"
#include "common/TestEnv.h"
#include "operations/EnvelopeDialog.h"
#include "operations/FreAnalysis.h"
#include "operations/SelectSpecifiedTime.h"
#include "operations/SmallEditDialogs.h"
#include "operations/TextToSpeechDialog.h"

using namespace dialogtest;

using sonalix::test::SavePicture;

namespace {

// Every visible control lies inside its parent, and a label ends before the control it names
// when they share a row.
void ExpectNothingClipped(TWinControl* parent) {
  for (int i = 0; i < parent->ControlCount(); ++i) {
    TControl* c = parent->Controls(i);
    if (!c->Visible()) continue;
    SCOPED_TRACE(c->Name());
    EXPECT_GE(c->Left(), 0);
    EXPECT_GE(c->Top(), 0);
    EXPECT_LE(c->Left() + c->Width(), parent->ClientWidth());
    EXPECT_LE(c->Top() + c->Height(), parent->ClientHeight());
    if (auto* label = dynamic_cast<TLabel*>(c)) {
      TWinControl* named = label->FocusControl();
      if (named && named->Parent() == parent && named->Top() < label->Top() + label->Height() &&
          label->Top() < named->Top() + named->Height() && named->Left() > label->Left())
        EXPECT_LT(label->Left() + label->Width(), named->Left()) << "label runs into its control";
    }
    if (auto* inner = dynamic_cast<TWinControl*>(c)) ExpectNothingClipped(inner);
  }
}

QImage Shot(TCustomForm* form) {
  Application->ProcessMessages();
  ExpectNothingClipped(form);
  QImage shot = GetWindowWidget(form->Handle())->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(shot.size(), QSize(form->ClientWidth(), form->ClientHeight()));
  return shot;
}

template <class F>
std::unique_ptr<F> Dialog() {
  auto form = std::make_unique<F>(nullptr);
  form->SetPosition(poScreenCenter);
  return form;
}

TEST(EditingDialogsGallery, SmallDialogsAndSetSelection) {
  auto tags = Dialog<TEditID3Form>();
  for (int i = 0; i < 148; ++i) tags->ComboBoxGenre->Items()->Add(AudioDocument::GenreName(i));
  tags->ComboBoxGenre->SetItemIndex(17);
  tags->EditTitle->SetText("Morning Walk");
  tags->EditArtist->SetText("The Quiet Hours");
  tags->EditAlbum->SetText("Field Recordings");
  tags->EditYear->SetText("2026");
  tags->MemoComment->SetText("Recorded at dawn by the river.");
  tags->Show();
  SavePicture(Shot(tags.get()), "edit-tags");

  auto repeat = Dialog<TRepeatLoopForm>();
  repeat->EditRepeatTimes->SetText("3");
  repeat->Show();
  SavePicture(Shot(repeat.get()), "repeat-loop");

  auto silence = Dialog<TInsertSilenceForm>();
  silence->EditSilenceTime->SetText("250");
  silence->Show();
  SavePicture(Shot(silence.get()), "insert-silence");

  auto mix = Dialog<TPasteMixForm>();
  mix->EditAudioInBuffer->SetText("80");
  mix->Show();
  SavePicture(Shot(mix.get()), "paste-mix");

  auto selection = Dialog<TSelectSpecifiedTimeForm>();
  selection->InitialStartMs = 61250;
  selection->InitialEndMs = 3723004;
  selection->FileLengthMs = 4000000;
  selection->Show();
  SavePicture(Shot(selection.get()), "set-selection");
}

TEST(EditingDialogsGallery, EnvelopeWithADrawnCurve) {
  auto form = Dialog<TEnvelopeForm>();
  form->TD->SetScaleXMin(0);
  form->TD->SetScaleXMax(441000);
  form->Show();
  Application->ProcessMessages();
  TAudioTransformDisplay2* td = form->TD;
  auto at = [&](double t, double db) { return QPoint(td->Left() + td->XOfPosition(t), td->Top() + td->YOfDb(db)); };
  guitest::Click(form.get(), at(0.25, 0));
  guitest::Mouse(form.get(), QEvent::MouseButtonPress, at(0.25, 0));
  guitest::Mouse(form.get(), QEvent::MouseMove, at(0.25, 6));
  guitest::Mouse(form.get(), QEvent::MouseButtonRelease, at(0.25, 6));
  guitest::Click(form.get(), at(0.6, 0));
  guitest::Mouse(form.get(), QEvent::MouseButtonPress, at(0.6, 0));
  guitest::Mouse(form.get(), QEvent::MouseMove, at(0.6, -20));
  guitest::Mouse(form.get(), QEvent::MouseButtonRelease, at(0.6, -20));
  EXPECT_EQ(td->Points().size(), 4u);
  SavePicture(Shot(form.get()), "envelope");
}

TEST(EditingDialogsGallery, SpeechMidProgress) {
  const auto dir = sonalix::test::MakeTempDir("gallery");
  auto form = Dialog<TTextToSpeechForm>();
  form->SpeechFile = (dir / "speech.wav").string();
  std::string text;
  for (int i = 0; i < 40; ++i) text += "The quick brown fox jumps over the lazy dog. ";
  form->MemoInputString->SetText(text);
  TTextToSpeechForm* f = form.get();
  auto report = f->TextToAudio->OnConvertBlock;
  bool shot = false;
  f->TextToAudio->OnConvertBlock = [&, report](TObject* sender, int percent) {
    report(sender, percent);
    if (shot || percent < 30) return;
    shot = true;
    SavePicture(Shot(f), "speech");
    ClickOn(f->ButtonCancel);
  };
  RunModal(f, [&] { ClickOn(f->ButtonSynthesize); }, /*EndsByItself=*/true);
  EXPECT_TRUE(shot);
}

TEST(EditingDialogsGallery, AnalysisOfASineInThreeViews) {
  auto form = Dialog<TFreAnalysisForm>();
  TFreAnalysisForm* f = form.get();
  f->FeedFrequencyAnalysis = [f] {
    const int64_t n = 2 * f->AudioVisualization->WindowArraySize();
    SampleBuffer block(1, 44100, n);
    for (int64_t i = 0; i < n; ++i)
      block[i] = float(0.4 * std::sin(2 * M_PI * 1000 * double(i) / 44100) +
                       0.1 * std::sin(2 * M_PI * 5000 * double(i) / 44100));
    f->AudioVisualization->FeedPcm(block);
  };
  f->SetBounds(0, 0, 550, 300);  // the stored bounds' defaults
  f->ComboBoxFFTSize->SetItemIndex(2);
  f->Show();
  for (int view : {0, 1, 3}) {
    f->ComboBoxViewType->SetItemIndex(view);
    f->ApplySettings();
    guitest::Mouse(f, QEvent::MouseMove, QPoint(f->AudioVisualization->Width() / 3, 60));
    SavePicture(Shot(f), "analysis-" + f->ComboBoxViewType->Text());
  }
}

}  // namespace
