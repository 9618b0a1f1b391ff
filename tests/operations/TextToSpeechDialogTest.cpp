#include <gtest/gtest.h>

#include <QComboBox>
#include <cmath>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "DialogTestUtil.h"
#include "appbase/Utils.h"
#include "audio/SampleBuffer.h"
#include "audio/SpeechSynth.h"
#include "audio/WavFile.h"
#include "common/TestEnv.h"
#include "operations/TextToSpeechDialog.h"

using namespace dialogtest;

namespace {

struct Speech {
  SampleBuffer Samples{1, 0};
  WavInfo Info;
};

Speech ReadSpeech(const std::string& path) {
  WavReader r(path);
  Speech s;
  s.Info = r.Info();
  s.Samples = SampleBuffer(r.Info().Channels, r.Info().SampleRate, r.Info().Frames);
  s.Samples.ResizeFrames(r.Read(s.Samples.Data(), r.Info().Frames));
  return s;
}

float Peak(const SampleBuffer& b) {
  float p = 0;
  for (float v : b.Values()) p = std::max(p, std::fabs(v));
  return p;
}

// What the dialog's speech component reported, and what the dialog showed at the time.
struct Events {
  std::vector<int> Percents, Positions;
  int Ends = 0;
  // At every report: text, voice and Synthesize refused input, Cancel took it.
  bool OnlyCancelDuringSpeech = true;
};

std::unique_ptr<TTextToSpeechForm> SpeechDialog(const std::string& file, Events& events) {
  auto form = std::make_unique<TTextToSpeechForm>(nullptr);
  form->SpeechSampleRate = 44100;
  form->SpeechChannels = 2;
  form->SpeechFile = file;
  TTextToSpeechForm* f = form.get();
  f->TextToAudio->OnConvertBlock = [f, &events](TObject* sender, int percent) {
    f->TextToAudioConvertBlock(sender, percent);
    events.Percents.push_back(percent);
    events.Positions.push_back(f->ProgressBar->Position());
    events.OnlyCancelDuringSpeech = events.OnlyCancelDuringSpeech && !f->MemoInputString->Enabled() &&
                                    !f->LabelVoice->Enabled() && !f->ComboBoxVoice->Enabled() &&
                                    !f->ButtonSynthesize->Enabled() && f->ButtonCancel->Enabled();
  };
  f->TextToAudio->OnEndConvert = [f, &events](TObject* sender) {
    ++events.Ends;
    f->TextToAudioEndConvert(sender);
  };
  return form;
}

TEST(TextToSpeechForm, ListsTheVoicesInTheComponentsOrderAndSelectsByTheDescriptionShown) {
  auto form = std::make_unique<TTextToSpeechForm>(nullptr);
  TTextToAudio2 voices(nullptr);
  ASSERT_GT(voices.VoiceCount(), 1);
  ASSERT_EQ(form->ComboBoxVoice->Items()->Count(), voices.VoiceCount());
  for (int i = 0; i < voices.VoiceCount(); ++i) {
    voices.SetVoiceIndex(i);
    EXPECT_EQ(form->ComboBoxVoice->Items()->Strings(i), voices.VoiceDescription());
  }
  EXPECT_EQ(form->ComboBoxVoice->ItemIndex(), 0);
  EXPECT_EQ(form->TextToAudio->VoiceIndex(), 0);
  form->Show();
  Application->ProcessMessages();
  ClickOn(form->ComboBoxVoice);
  form->ComboBoxVoice->SetDroppedDown(false);
  guitest::Key(form.get(), Qt::Key_Down);
  EXPECT_EQ(form->ComboBoxVoice->ItemIndex(), 1);
  EXPECT_EQ(form->TextToAudio->VoiceIndex(), 1);
}

TEST(TextToSpeechForm, TypedTextIsSpokenWithoutItsLessThanSignsAndTheDialogEndsWithOk) {
  const auto dir = sonalix::test::MakeTempDir("speech");
  const std::string file = (dir / "SynthesizeSpeech.wav").string();
  Events events;
  auto form = SpeechDialog(file, events);
  const int result = RunModal(
      form.get(),
      [&] {
        // (A click lands on the memo's inner viewport, which Qt focuses by itself.)
        form->MemoInputString->SetFocus();
        guitest::Type(form.get(), "Hello <world>");
        ASSERT_EQ(form->MemoInputString->Text(), "Hello <world>");
        ClickOn(form->ButtonSynthesize);
      },
      /*EndsByItself=*/true);
  EXPECT_EQ(result, mrOk);
  EXPECT_EQ(events.Ends, 1);
  EXPECT_EQ(BusyCount(), 0);
  EXPECT_TRUE(form->ButtonSynthesize->Enabled());
  ASSERT_FALSE(events.Percents.empty());
  EXPECT_EQ(events.Percents.back(), 100);
  EXPECT_EQ(events.Positions, events.Percents) << "the bar follows every report";
  EXPECT_TRUE(events.OnlyCancelDuringSpeech);

  const Speech spoken = ReadSpeech(file);
  EXPECT_EQ(spoken.Info.SampleRate, 44100);
  EXPECT_EQ(spoken.Info.Channels, 2);
  EXPECT_EQ(spoken.Info.Bits, 16);
  EXPECT_GT(spoken.Samples.Frames(), 44100 / 4);
  EXPECT_GT(Peak(spoken.Samples), 0.05f);

  // The same voice speaks "<" audibly; the dialog's sound is the one of the text without it.
  TTextToAudio2 reference(nullptr);
  reference.SetFormat(44100, 2);
  auto speak = [&](const std::string& text) {
    bool ended = false;
    reference.OnEndConvert = [&](TObject*) { ended = true; };
    const std::string path = (dir / "reference.wav").string();
    reference.ConvertToFile(text, path, 16);
    while (!ended) Application->HandleMessage();
    return ReadSpeech(path).Samples.Frames();
  };
  const int64_t without = speak("Hello world>"), with = speak("Hello <world>");
  const int64_t frames = spoken.Samples.Frames();
  EXPECT_LT(std::llabs(frames - without), std::llabs(frames - with))
      << frames << " frames, " << without << " without \"<\", " << with << " with it";
}

TEST(TextToSpeechForm, CancelAndTheCloseBoxStopALongSynthesis) {
  std::string text;
  for (int i = 0; i < 300; ++i) text += "This sentence is spoken again and again. ";
  for (bool closeBox : {false, true}) {
    SCOPED_TRACE(closeBox ? "close box" : "Cancel");
    const auto dir = sonalix::test::MakeTempDir("speechstop");
    Events events;
    auto form = SpeechDialog((dir / "long.wav").string(), events);
    form->MemoInputString->SetText(text);
    size_t reportsAtStop = 0;
    bool stopping = false;
    TTextToSpeechForm* f = form.get();
    Steps steps;
    auto report = f->TextToAudio->OnConvertBlock;
    f->TextToAudio->OnConvertBlock = [&, report](TObject* sender, int percent) {
      report(sender, percent);
      if (stopping) return;
      stopping = true;
      // The user stops once the first part is spoken.
      steps.Later([&] {
        reportsAtStop = events.Percents.size();
        if (closeBox)
          SendMessage(f->Handle(), WM_CLOSE, 0, 0);
        else
          ClickOn(f->ButtonCancel);
      });
    };
    const int result = RunModal(f, [&] { ClickOn(f->ButtonSynthesize); }, /*EndsByItself=*/true);
    EXPECT_EQ(result, mrCancel);
    Application->ProcessMessages();
    ASSERT_GT(reportsAtStop, 0u);
    EXPECT_EQ(events.Percents.size(), reportsAtStop) << "no report after the stop";
    EXPECT_EQ(events.Ends, 0);
    EXPECT_LT(events.Percents.back(), 100);
  }
}

TEST(TextToSpeechForm, NoTextAndAnUnwritableFileLeaveTheDialogReadyForAnotherTry) {
  const auto dir = sonalix::test::MakeTempDir("speechfail");
  Events events;
  auto form = SpeechDialog((dir / "no such folder" / "speech.wav").string(), events);
  MessageBoxes boxes;
  const int result = RunModal(form.get(), [&] {
    ClickOn(form->ButtonSynthesize);
    ASSERT_EQ(boxes.Texts, std::vector<std::string>{"No Text of Speech to Synthesize."});
    form->MemoInputString->SetText("Hello");
    ClickOn(form->ButtonSynthesize);
    ASSERT_EQ(boxes.Texts.size(), 2u) << "the failure is shown";
    EXPECT_TRUE(form->ButtonSynthesize->Enabled());
    EXPECT_TRUE(form->MemoInputString->Enabled());
    EXPECT_TRUE(form->ComboBoxVoice->Enabled());
    EXPECT_TRUE(form->LabelVoice->Enabled());
    EXPECT_EQ(BusyCount(), 0);
    ClickOn(form->ButtonCancel);
  });
  EXPECT_EQ(result, mrCancel);
  for (UINT type : boxes.Types) EXPECT_EQ(type & MB_ICONERROR, UINT(MB_ICONERROR));
  EXPECT_EQ(events.Ends, 0);
}

TEST(TextToSpeechForm, WithoutVoicesItSaysSoAndEndsWithCancelWhenShown) {
  struct NoVoices {
    NoVoices() { SpeechSynth::HideVoicesForTests(true); }
    ~NoVoices() { SpeechSynth::HideVoicesForTests(false); }
  } noVoices;
  MessageBoxes boxes;
  auto form = std::make_unique<TTextToSpeechForm>(nullptr);
  EXPECT_EQ(boxes.Texts, std::vector<std::string>{"No Speech Engine detected."});
  EXPECT_EQ(form->ComboBoxVoice->Items()->Count(), 0);
  EXPECT_EQ(form->ShowModal(), mrCancel);
}

}  // namespace
