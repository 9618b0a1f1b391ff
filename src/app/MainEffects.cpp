// The Effect commands and the effect dialogs' preview: the selection run through the transform
// component and played by the player component, the document untouched.
#include <cmath>
#include <memory>
#include <string>
#include <vector>

#include "Imports/AudioEditorControl.h"
#include "Imports/XOQAUDIOPLAYER2Lib_TLB.h"
#include "Imports/XOQAUDIOTRANSFORM2Lib_TLB.h"
#include "app/Child.h"
#include "app/Main.h"
#include "app/Progress.h"
#include "appbase/Globals.h"
#include "operations/EffectDialogs.h"
#include "operations/EffectParams.h"
#include "operations/EnvelopeDialog.h"
#include "operations/FormatSummary.h"

namespace {

void ShowError(const std::string& Text) {
  Application->MessageBox(Text, Application->Title(), MB_OK | MB_ICONERROR);
}

SampleBuffer Singles(const std::vector<float>& Values) {
  SampleBuffer b(1, 44100, int64_t(Values.size()));
  for (size_t i = 0; i < Values.size(); ++i) b[int64_t(i)] = Values[i];
  return b;
}

// The editor call of an effect dialog with its settings in parameter order.
void ApplyEffect(IAudioEditor2Effects& E, const std::string& Name, const std::vector<int>& V) {
  auto f = [&](size_t i) { return float(V.at(i)); };
  if (Name == "TAmplifyForm") E.Amplify(f(0));
  else if (Name == "TNormalizeForm") E.Normalize(f(0), -1);
  else if (Name == "TDynamicRangeCompressorForm") E.Compressor(f(0), f(1), 100);
  else if (Name == "THighPassForm") E.HighPass(f(0), 100);
  else if (Name == "TEchoForm") E.Echo(f(0), f(1), f(2));
  else if (Name == "TReverbForm") E.Reverb(f(0), f(1), f(2), f(3), f(4), V.at(5));
  else if (Name == "TCossFadeForm") E.Fade(f(0), f(1));
  else if (Name == "TMixStereoForm") E.MixStereo(f(0), f(1), f(2), f(3));
  else if (Name == "TNoiseReductionForm") E.NoiseReduction(f(0), f(1), f(2));
  else if (Name == "TSpeedChangeForm") E.SpeedChange(f(0));
  else if (Name == "TPitchChangeForm") E.PitchChange(f(0));
  else if (Name == "TPhaserForm") E.Phaser(f(0), f(1), f(2));
  else if (Name == "TFlangerForm") E.Flanger(f(0), f(1), f(2), f(3), f(4), f(5));
  else if (Name == "TChorusForm") E.Chorus(f(0), f(1), f(2), f(3), f(4), f(5));
  else if (Name == "TEqualizerForm") {
    std::vector<float> gains;
    for (size_t i = 0; i < 12; ++i) gains.push_back(f(i) / 100);
    SampleBuffer g = Singles(gains);
    SampleBuffer freq = Singles(std::vector<float>(EqualizerFrequencies, EqualizerFrequencies + 12));
    E.Equalizer(g, freq);
  }
}

}  // namespace

TAudioPlayer2* TMainForm::Player() {
  auto* player = dynamic_cast<TAudioPlayer2*>(FindComponent("AudioPlayer"));
  if (!player) player = new TAudioPlayer2(this), player->SetName("AudioPlayer");
  if (!FPreviewWired) WirePreview(player, Transform());
  return player;
}

TAudioTransform2* TMainForm::Transform() {
  auto* transform = dynamic_cast<TAudioTransform2*>(FindComponent("AudioTransform"));
  if (!transform) transform = new TAudioTransform2(this), transform->SetName("AudioTransform");
  return transform;
}

void TMainForm::WirePreview(TAudioPlayer2* Player, TAudioTransform2* Transform) {
  FPreviewWired = true;
  Player->OnEndPlay = [this](TObject*) { StopPreview(); };
  Transform->OnTransformBlock = [this](TObject*, int Percent) {
    FPreviewTransforming = true;
    if (FormProgress) FormProgress->ShowProgress(this, Percent);
  };
  Transform->OnEndTransform = [this](TObject*) {
    FPreviewTransforming = false;
    if (FormProgress) FormProgress->EndProgress();
  };
}

void TMainForm::StartPreview() {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  TAudioPlayer2* player = Player();
  player->SetFormat(e->FileInfo()->SampleRate(), e->FileInfo()->Channels());
  player->OpenDevice();
  if (player->DeviceError() != 0) {
    ShowError("Starting audio device error.");
    return;
  }
  PreviewLength = e->Position()->SelectionEnd() - e->Position()->SelectionStart();
  // Playing from here on, so a failing transform's stop finds the preview to end.
  FPreviewPlaying = true;
  PlayPreviewBuffer();
}

void TMainForm::PlayPreviewBuffer() {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  SampleBuffer a = e->CopyPcm(PreviewLength);
  if (!TransformPreviewBuffer(a)) {
    ShowError("Preview Transform Buffer error.");
    StopPreview();
    return;
  }
  Player()->PlayArray(a);
}

bool TMainForm::TransformPreviewBuffer(SampleBuffer& A) {
  const TEffectDialogInfo* info = FindEffectDialogByCode(GlobalVars.PreviewOperationTypes);
  if (!info) return true;
  TAudioTransform2* transform = Transform();
  if (IAudioEditor2* e = ActiveEditor()) transform->SetSampleRate(e->FileInfo()->SampleRate());
  try {
    TransformPreviewArray(*transform, info->Code, EffectSettings(*info), A);
  } catch (const std::exception&) {
    return false;
  }
  return !A.Empty();
}

void TMainForm::StopPreview() {
  if (auto* player = dynamic_cast<TAudioPlayer2*>(FindComponent("AudioPlayer"))) player->Stop();
  FPreviewPlaying = false;
}

void TMainForm::RunEffectDialog(const std::string& ClassName) {
  IAudioEditor2* e = ActiveEditor();
  const TEffectDialogInfo* info = FindEffectDialog(ClassName);
  if (!e || !info) return;
  SelectAllIfEmpty();
  bool due = false;
  {
    std::unique_ptr<TEffectForm> dialog(CreateEffectForm(ClassName, this, this));
    if (!dialog) return;
    CenterOverWindow(dialog.get(), this);
    dialog->LoadParams();
    if (dialog->ShowModal() == mrOk) {
      dialog->SaveParams();
      due = true;
    }
    // Normalize has no preview of its own: one left playing by another dialog plays on.
    if (info->Previews() && FPreviewPlaying) StopPreview();
  }
  if (!due) return;
  ApplyEffect(*e->Effects(), ClassName, EffectSettings(*info));
  AfterEdit();
}

void TMainForm::ActionAmplifyExecute(TObject*) { RunEffectDialog("TAmplifyForm"); }
void TMainForm::ActionNormalizeExecute(TObject*) { RunEffectDialog("TNormalizeForm"); }
void TMainForm::ActionDynamicRangeCompressorExecute(TObject*) {
  RunEffectDialog("TDynamicRangeCompressorForm");
}
void TMainForm::ActionHighPassExecute(TObject*) { RunEffectDialog("THighPassForm"); }
void TMainForm::ActionEqualizerExecute(TObject*) { RunEffectDialog("TEqualizerForm"); }
void TMainForm::ActionEchoExecute(TObject*) { RunEffectDialog("TEchoForm"); }
void TMainForm::ActionReverbExecute(TObject*) { RunEffectDialog("TReverbForm"); }
void TMainForm::ActionCrossFadeExecute(TObject*) { RunEffectDialog("TCossFadeForm"); }
void TMainForm::ActionMixStereoExecute(TObject*) { RunEffectDialog("TMixStereoForm"); }
void TMainForm::ActionNoiseReductionExecute(TObject*) { RunEffectDialog("TNoiseReductionForm"); }
void TMainForm::ActionSpeedChangeExecute(TObject*) { RunEffectDialog("TSpeedChangeForm"); }
void TMainForm::ActionPitchChangeExecute(TObject*) { RunEffectDialog("TPitchChangeForm"); }
void TMainForm::ActionPhaserExecute(TObject*) { RunEffectDialog("TPhaserForm"); }
void TMainForm::ActionFlangerExecute(TObject*) { RunEffectDialog("TFlangerForm"); }
void TMainForm::ActionChorusExecute(TObject*) { RunEffectDialog("TChorusForm"); }

void TMainForm::ActionReverseExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  SelectAllIfEmpty();
  e->Effects()->Reverse();
  AfterEdit();
}

void TMainForm::ActionFadeInExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  SelectAllIfEmpty();
  e->Effects()->Fade(0, 100);
  AfterEdit();
}

void TMainForm::ActionFadeOutExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  SelectAllIfEmpty();
  e->Effects()->Fade(100, 0);
  AfterEdit();
}

void TMainForm::ActionFadeOutAndTrimExecute(TObject*) {
  if (!ActiveEditor()) return;
  SelectAllIfEmpty();
  ActionFadeOutExecute(this);
  ActionTrimEndExecute(this);
}

void TMainForm::ActionEnvelopeExecute(TObject*) {
  IAudioEditor2* e = ActiveEditor();
  if (!e) return;
  SelectAllIfEmpty();
  SampleBuffer curve;
  {
    TEnvelopeForm dialog(this);
    CenterOverWindow(&dialog, this);
    dialog.BoundToSelection(e->Position());
    if (dialog.ShowModal() != mrOk) return;
    curve = dialog.TD->CurveValues();
  }
  for (float& v : curve.Values()) v = float(std::pow(10.0, double(v) / 20.0));
  e->Effects()->Envelope(curve);
  AfterEdit();
}
