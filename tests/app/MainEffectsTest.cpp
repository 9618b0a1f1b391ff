// The Effect commands through the action list, against the editor's own effects called with the
// settings fields by name, and the preview the effect dialogs ask of the main window.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "../audio/DeviceTestUtil.h"
#include "../platform/gui/GuiInput.h"
#include "Imports/AudioEditorControl.h"
#include "MainTestSupport.h"
#include "audio/SampleBuffer.h"
#include "operations/EffectDialogs.h"
#include "operations/EnvelopeDialog.h"
#include "platform/gui/ActnList.h"

using namespace maintest;

namespace {

using G = TGlobalVars;

std::vector<float> Contents(TChildForm* Doc) {
  IAudioEditor2Position* pos = Doc->AudioEditor->Position();
  const int start = pos->SelectionStart(), end = pos->SelectionEnd();
  pos->SetSelectionActive(true);
  pos->SetSelectionStart(0);
  pos->SetSelectionEnd(pos->Length());
  SampleBuffer all = Doc->AudioEditor->CopyPcm(pos->Length());
  pos->SetSelectionStart(start);
  pos->SetSelectionEnd(end);
  return all.Values();
}

void Select(TChildForm* Doc, int A, int B) {
  IAudioEditor2Position* pos = Doc->AudioEditor->Position();
  pos->SetSelectionActive(true);
  pos->SetSelectionStart(A);
  pos->SetSelectionEnd(B);
}

void RunAction(const std::string& Action) {
  auto* a = dynamic_cast<TBasicAction*>(MainForm->FindComponent("Action" + Action));
  ASSERT_NE(a, nullptr) << Action;
  a->Execute();
  Application->ProcessMessages();
}

struct THook {
  std::function<int(const TModalRequest&)> Dialog;
  std::vector<std::string> Boxes;
  TModalHook Old;
  THook() {
    Old = SetModalHook([this](const TModalRequest& r) -> int {
      if (r.Kind == TModalRequest::mrMessageBox) {
        Boxes.push_back(r.Text);
        return IDOK;
      }
      return Dialog ? Dialog(r) : 0;
    });
  }
  ~THook() { SetModalHook(Old); }
};

SampleBuffer Singles(std::vector<float> V) {
  SampleBuffer b(1, 44100, int64_t(V.size()));
  for (size_t i = 0; i < V.size(); ++i) b[int64_t(i)] = V[i];
  return b;
}

}  // namespace

// Each effect command gives exactly what the editor's effect gives for the settings fields it
// names, over the selection.
TEST(MainEffects, EveryRowCallsTheEditorWithItsSettings) {
  TProgram program;
  const std::string tone = WriteTone("tone.wav", 44100, 2, 8820);
  GlobalVars.EqualizerBuf3 = 60;
  GlobalVars.EqualizerBuf9 = -40;
  const G& g = GlobalVars;
  using E = IAudioEditor2Effects;
  struct TRow {
    const char* Action;
    const char* Dialog;
    std::function<void(E&)> Direct;
  };
  const TRow rows[] = {
      {"Amplify", "TAmplifyForm", [&](E& e) { e.Amplify(g.DefAmplify); }},
      {"Normalize", "TNormalizeForm", [&](E& e) { e.Normalize(g.DefNormalize, -1); }},
      {"DynamicRangeCompressor", "TDynamicRangeCompressorForm",
       [&](E& e) { e.Compressor(g.DefCompressorThreshold, g.DefCompressorRate, 100); }},
      {"HighPass", "THighPassForm", [&](E& e) { e.HighPass(g.DefHighPass, 100); }},
      {"Equalizer", "TEqualizerForm",
       [&](E& e) {
         SampleBuffer gains = Singles({g.EqualizerBuf1 / 100.f, g.EqualizerBuf2 / 100.f,
                                       g.EqualizerBuf3 / 100.f, g.EqualizerBuf4 / 100.f,
                                       g.EqualizerBuf5 / 100.f, g.EqualizerBuf6 / 100.f,
                                       g.EqualizerBuf7 / 100.f, g.EqualizerBuf8 / 100.f,
                                       g.EqualizerBuf9 / 100.f, g.EqualizerBuf10 / 100.f,
                                       g.EqualizerBuf11 / 100.f, g.EqualizerBuf12 / 100.f});
         SampleBuffer freq = Singles(
             {31.25f, 62.5f, 125, 250, 500, 1000, 2000, 4000, 6000, 9000, 12000, 16000});
         e.Equalizer(gains, freq);
       }},
      {"Echo", "TEchoForm",
       [&](E& e) { e.Echo(g.DefEchoDelayTime, g.DefEchoMixDepth, g.DefEchoFeedbackGain); }},
      {"Reverb", "TReverbForm",
       [&](E& e) {
         e.Reverb(g.DefReverbDelayTime, g.DefReverbMixDepth, g.DefReverbFeedbackGain,
                  g.DefReverbGain, g.DefReverbFrequency, g.DefReverbTaps);
       }},
      {"CrossFade", "TCossFadeForm", [&](E& e) { e.Fade(g.DefFadeInt, g.DefFadeFin); }},
      {"MixStereo", "TMixStereoForm",
       [&](E& e) { e.MixStereo(g.DefMixChanLL, g.DefMixChanLR, g.DefMixChanRL, g.DefMixChanRR); }},
      {"NoiseReduction", "TNoiseReductionForm",
       [&](E& e) {
         e.NoiseReduction(g.DefNoiseReductionThreshold, g.DefNoiseReductionRate,
                          g.DefNoiseReductionRMSTime);
       }},
      {"SpeedChange", "TSpeedChangeForm", [&](E& e) { e.SpeedChange(g.DefSpeedChange); }},
      {"PitchChange", "TPitchChangeForm", [&](E& e) { e.PitchChange(g.DefPitchChange); }},
      {"Phaser", "TPhaserForm",
       [&](E& e) { e.Phaser(g.DefPhaserDelayTime, g.DefPhaserMixDepth, g.DefPhaserFeedbackGain); }},
      {"Flanger", "TFlangerForm",
       [&](E& e) {
         e.Flanger(g.DefFlangerDelayRate, g.DefFlangerMixDepth, g.DefFlangerFeedbackGain,
                   g.DefFlangerSweepDepth, g.DefFlangerSweepRate, g.DefFlangerSweepPhase);
       }},
      {"Chorus", "TChorusForm",
       [&](E& e) {
         e.Chorus(g.DefChorusDelayRate, g.DefChorusMixDepth, g.DefChorusFeedbackGain,
                  g.DefChorusSweepDepth, g.DefChorusSweepRate, g.DefChorusSweepPhase);
       }},
      {"Reverse", nullptr, [&](E& e) { e.Reverse(); }},
      {"FadeIn", nullptr, [&](E& e) { e.Fade(0, 100); }},
      {"FadeOut", nullptr, [&](E& e) { e.Fade(100, 0); }},
  };
  THook hook;
  std::string shown;
  hook.Dialog = [&](const TModalRequest& r) -> int {
    shown = r.DialogClass;
    return mrOk;
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Action);
    TChildForm* direct = program.Open(tone);
    Select(direct, 1000, 5000);
    row.Direct(*direct->AudioEditor->Effects());
    TChildForm* doc = program.Open(tone);
    Select(doc, 1000, 5000);
    shown.clear();
    RunAction(row.Action);
    EXPECT_EQ(shown, row.Dialog ? row.Dialog : "");
    EXPECT_EQ(Contents(doc), Contents(direct));
    EXPECT_TRUE(doc->Modified);
    for (TChildForm* d : {doc, direct}) {
      d->Modified = false;
      d->Close();
    }
    Application->ProcessMessages();
  }
  GlobalVars.EqualizerBuf3 = GlobalVars.EqualizerBuf9 = 0;
}

// Without a selection an effect takes the whole document and leaves it selected; Cancel leaves
// the document and its history as they were.
TEST(MainEffects, NoSelectionAndCancel) {
  TProgram program;
  TChildForm* doc = program.Open(WriteTone("tone.wav", 44100, 1, 4410));
  ASSERT_NE(doc, nullptr);
  const std::vector<float> before = Contents(doc);
  THook hook;
  hook.Dialog = [](const TModalRequest&) { return int(mrCancel); };
  RunAction("Echo");
  EXPECT_EQ(Contents(doc), before);
  EXPECT_FALSE(doc->AudioEditor->CanUndo());
  EXPECT_FALSE(doc->Modified);
  doc->AudioEditor->Position()->SetSelectionActive(false);
  hook.Dialog = [](const TModalRequest&) { return int(mrOk); };
  RunAction("Amplify");
  EXPECT_EQ(doc->AudioEditor->Position()->SelectionStart(), 0);
  EXPECT_EQ(doc->AudioEditor->Position()->SelectionEnd(), 4410);
  EXPECT_NE(Contents(doc), before);
}

// The preview plays the selection through the effect into the file backend; closing the dialog
// stops it, except Normalize's; the device and transform failures are told and leave nothing
// playing.
TEST(MainEffects, Preview) {
  const auto dir = sonalix::test::MakeTempDir("preview-out");
  audiotest::ScopedBackend backend("file:" + dir.string());
  audiotest::ManualClock clock;
  TProgram program;
  TChildForm* doc = program.Open(WriteTone("tone.wav", 44100, 2, 4410));
  ASSERT_NE(doc, nullptr);
  Select(doc, 0, 2205);
  THook hook;
  bool playingInDialog = false;
  hook.Dialog = [&](const TModalRequest& r) -> int {
    auto* d = static_cast<TEffectForm*>(r.Dialog);
    d->ButtonPreviewClick(d->ButtonPreview());
    playingInDialog = program->PreviewPlaying();
    return mrOk;
  };
  RunAction("Echo");
  EXPECT_TRUE(playingInDialog);
  EXPECT_FALSE(program->PreviewPlaying());
  EXPECT_EQ(GlobalVars.PreviewOperationTypes, 5);

  // A preview left playing goes on through Normalize.
  program->StartPreview();
  ASSERT_TRUE(program->PreviewPlaying());
  hook.Dialog = [](const TModalRequest&) { return int(mrOk); };
  RunAction("Normalize");
  EXPECT_TRUE(program->PreviewPlaying());
  // The player's end of playback ends the preview.
  EXPECT_TRUE(clock.RunUntil([&] { return !program->PreviewPlaying(); }));

  {
    audiotest::ScopedBackend broken("alsa:sonalix_no_such_device");
    program->StartPreview();
    ASSERT_FALSE(hook.Boxes.empty());
    EXPECT_EQ(hook.Boxes.back(), "Starting audio device error.");
    EXPECT_FALSE(program->PreviewPlaying());
  }

  // Nothing to transform: the message, then the preview is over and the dialog can start again.
  program->NewEmptyDocument(44100, 2);
  std::string caption;
  hook.Dialog = [&](const TModalRequest& r) -> int {
    auto* d = static_cast<TEffectForm*>(r.Dialog);
    d->ButtonPreviewClick(d->ButtonPreview());
    playingInDialog = program->PreviewPlaying();
    return mrCancel;
  };
  hook.Boxes.clear();
  RunAction("Echo");
  EXPECT_EQ(hook.Boxes, std::vector<std::string>{"Preview Transform Buffer error."});
  EXPECT_FALSE(playingInDialog);
}

// An untouched envelope (0 dB everywhere) is a gain of one: the samples stay as they were.
TEST(MainEffects, FlatEnvelopeKeepsTheSamples) {
  TProgram program;
  TChildForm* doc = program.Open(WriteTone("tone.wav", 44100, 1, 4410));
  ASSERT_NE(doc, nullptr);
  const std::vector<float> before = Contents(doc);
  THook hook;
  hook.Dialog = [](const TModalRequest& r) {
    return r.DialogClass == "TEnvelopeForm" ? int(mrOk) : 0;
  };
  RunAction("Envelope");
  const std::vector<float> after = Contents(doc);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); i += 7) ASSERT_NEAR(after[i], before[i], 1e-6) << i;
  EXPECT_TRUE(doc->Modified);
}

// Both ends of the curve dragged down to -6.0206 dB (the nearest row the editor has): every
// sample takes the gain 10^(dB / 20), about one half.
TEST(MainEffects, EnvelopeDecibelsBecomeGains) {
  TProgram program;
  TChildForm* doc = program.Open(WriteTone("tone.wav", 44100, 1, 4410));
  ASSERT_NE(doc, nullptr);
  const std::vector<float> before = Contents(doc);
  float db = 0;
  THook hook;
  hook.Dialog = [&](const TModalRequest& r) -> int {
    if (r.DialogClass != "TEnvelopeForm") return 0;
    auto* d = static_cast<TEnvelopeForm*>(r.Dialog);
    d->Show();
    Application->ProcessMessages();
    for (double t : {0.0, 1.0}) {
      const QPoint at(d->TD->Left() + d->TD->XOfPosition(t),
                      d->TD->Top() + d->TD->YOfDb(-6.0206));
      guitest::Mouse(d, QEvent::MouseButtonPress, at);
      guitest::Mouse(d, QEvent::MouseButtonRelease, at);
    }
    const SampleBuffer curve = d->TD->CurveValues();
    db = curve[0];
    EXPECT_EQ(curve[curve.Frames() - 1], db);
    d->Hide();
    return mrOk;
  };
  RunAction("Envelope");
  ASSERT_NEAR(db, -6.0206, 0.2) << "one row of the curve editor";
  const double gain = std::pow(10.0, db / 20.0);
  EXPECT_NEAR(gain, 0.5, 0.012);
  const std::vector<float> after = Contents(doc);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < after.size(); ++i) ASSERT_NEAR(after[i], before[i] * gain, 1e-4) << i;
  EXPECT_TRUE(doc->Modified);
}
