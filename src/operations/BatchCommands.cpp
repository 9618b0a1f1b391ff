#include "operations/BatchCommands.h"

#include "appbase/Globals.h"
#include "appbase/HtmlHelp.h"
#include "operations/ConvertSampleRate.h"
#include "operations/DialogSupport.h"
#include "operations/EffectDialogs.h"
#include "operations/Equalizer.h"
#include "operations/FormatSetup.h"
#include "operations/SmallEditDialogs.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

const char* const BatchCommandNames[BatchCommandCount] = {
    "Insert Silence At The Start",
    "Insert Silence At The End",
    "Amplify",
    "Normalize",
    "High-Pass Filter",
    "Equalizer",
    "Echo",
    "Reverb",
    "Noise Reduction",
    "Speed Change",
    "Pitch Change",
    "Dynamic Range Compressor",
    "Convert Sample Rate And Channel",
    "Mix Stereo Channels",
    "Phaser",
    "Flanger",
    "Chorus",
};

namespace {

struct TCommandInfo {
  // The settings fields that fill a new record, in field order.
  std::vector<const char*> Settings;
  // The settings text's format; null for the fixed equalizer text.
  const char* Text;
  // The editor's dialog of the effect.
  const char* DialogClass;
};

const char* const kEchoText = "Delay Time (ms) = %d, Mix Depth (%%) = %d, Feedback Gain (%%) = %d";
const char* const kFlangerText =
    "Delay Rate (%%) = %d, Mix Depth (%%) = %d, Feedback Gain (%%) = %d, Sweep Depth (%%) = %d, "
    "Sweep Rate (%%) = %d, Sweep Phase (Deg) = %d";

const TCommandInfo& Info(int Command) {
  static const TCommandInfo infos[BatchCommandCount] = {
      {{"InsertSilenceTime"}, "Silence Time (ms) = %d", "TInsertSilenceForm"},
      {{"InsertSilenceTime"}, "Silence Time (ms) = %d", "TInsertSilenceForm"},
      {{"DefAmplify"}, "Amplify Gain (%%) = %d", "TAmplifyForm"},
      {{"DefNormalize"}, "Normalize Peak Level (%%) = %d", "TNormalizeForm"},
      {{"DefHighPass"}, "Frequency (Hz) = %d", "THighPassForm"},
      {{"EqualizerBuf1", "EqualizerBuf2", "EqualizerBuf3", "EqualizerBuf4", "EqualizerBuf5",
        "EqualizerBuf6", "EqualizerBuf7", "EqualizerBuf8", "EqualizerBuf9", "EqualizerBuf10",
        "EqualizerBuf11", "EqualizerBuf12"},
       nullptr,
       "TEqualizerForm"},
      {{"DefEchoDelayTime", "DefEchoMixDepth", "DefEchoFeedbackGain"}, kEchoText, "TEchoForm"},
      {{"DefReverbDelayTime", "DefReverbMixDepth", "DefReverbFeedbackGain", "DefReverbGain",
        "DefReverbFrequency", "DefReverbTaps"},
       "Delay Time (ms) = %d, Mix Depth (%%) = %d, Feedback Gain (%%) = %dReverb Gain (%%) = %d, "
       "Reverb Frequency: (Hz) = %d, Taps Before delay Feedback = %d",
       "TReverbForm"},
      {{"DefNoiseReductionThreshold", "DefNoiseReductionRate", "DefNoiseReductionRMSTime"},
       "Threshold (dB) = %d, Rate (%%) = %d, Root-Mean-Square Time (ms) = %d",
       "TNoiseReductionForm"},
      {{"DefSpeedChange"}, "Speed Adjust (%%) = %d", "TSpeedChangeForm"},
      {{"DefPitchChange"}, "Pitch Adjust (%%) = %d", "TPitchChangeForm"},
      {{"DefCompressorThreshold", "DefCompressorRate"}, "Threshold (dB) = %d, Rate (%%) = %d",
       "TDynamicRangeCompressorForm"},
      {{}, "", "TConvertSampleRateForm"},
      {{"DefMixChanLL", "DefMixChanLR", "DefMixChanRL", "DefMixChanRR"},
       "New Left Channel, Left (%%) = %d, New Left Channel, Right (%%) = %d, New Right Channel, "
       "Left (%%) = %d, New Right Channel, Right (%%) = %d",
       "TMixStereoForm"},
      {{"DefPhaserDelayTime", "DefPhaserMixDepth", "DefPhaserFeedbackGain"}, kEchoText,
       "TPhaserForm"},
      {{"DefFlangerDelayRate", "DefFlangerMixDepth", "DefFlangerFeedbackGain",
        "DefFlangerSweepDepth", "DefFlangerSweepRate", "DefFlangerSweepPhase"},
       kFlangerText,
       "TFlangerForm"},
      {{"DefChorusDelayRate", "DefChorusMixDepth", "DefChorusFeedbackGain", "DefChorusSweepDepth",
        "DefChorusSweepRate", "DefChorusSweepPhase"},
       kFlangerText,
       "TChorusForm"},
  };
  return infos[Command];
}

// The integer fields of a record in their order (every record but Convert's).
std::vector<int*> IntFields(TObject& R) {
  if (auto* r = dynamic_cast<TBatchInsertSilenceAtTheStart*>(&R)) return {&r->SilenceTime};
  if (auto* r = dynamic_cast<TBatchInsertSilenceAtTheEnd*>(&R)) return {&r->SilenceTime};
  if (auto* r = dynamic_cast<TBatchAmplify*>(&R)) return {&r->Gain};
  if (auto* r = dynamic_cast<TBatchNormalize*>(&R)) return {&r->PeakLevel};
  if (auto* r = dynamic_cast<TBatchHighPass*>(&R)) return {&r->Frequency};
  if (auto* r = dynamic_cast<TBatchEqualizer*>(&R)) {
    std::vector<int*> bands;
    for (int& b : r->Bands) bands.push_back(&b);
    return bands;
  }
  if (auto* r = dynamic_cast<TBatchEcho*>(&R)) return {&r->DelayTime, &r->MixDepth, &r->FeedbackGain};
  if (auto* r = dynamic_cast<TBatchReverb*>(&R))
    return {&r->DelayTime, &r->MixDepth, &r->FeedbackGain, &r->Gain, &r->Frequency, &r->Taps};
  if (auto* r = dynamic_cast<TBatchNoiseReduction*>(&R)) return {&r->Threshold, &r->Rate, &r->RMSTime};
  if (auto* r = dynamic_cast<TBatchSpeedChange*>(&R)) return {&r->SpeedAdjust};
  if (auto* r = dynamic_cast<TBatchPitchChange*>(&R)) return {&r->PitchAdjust};
  if (auto* r = dynamic_cast<TBatchCompressor*>(&R)) return {&r->Threshold, &r->Rate};
  if (auto* r = dynamic_cast<TBatchMixStereoChannels*>(&R)) return {&r->LL, &r->LR, &r->RL, &r->RR};
  if (auto* r = dynamic_cast<TBatchPhaser*>(&R)) return {&r->DelayTime, &r->MixDepth, &r->FeedbackGain};
  if (auto* r = dynamic_cast<TBatchFlanger*>(&R))
    return {&r->DelayRate, &r->MixDepth, &r->FeedbackGain, &r->SweepDepth, &r->SweepRate, &r->SweepPhase};
  if (auto* r = dynamic_cast<TBatchChorus*>(&R))
    return {&r->DelayRate, &r->MixDepth, &r->FeedbackGain, &r->SweepDepth, &r->SweepRate, &r->SweepPhase};
  return {};
}

std::unique_ptr<TObject> EmptyRecord(int Command) {
  switch (Command) {
    case bcInsertSilenceAtTheStart: return std::make_unique<TBatchInsertSilenceAtTheStart>();
    case bcInsertSilenceAtTheEnd: return std::make_unique<TBatchInsertSilenceAtTheEnd>();
    case bcAmplify: return std::make_unique<TBatchAmplify>();
    case bcNormalize: return std::make_unique<TBatchNormalize>();
    case bcHighPass: return std::make_unique<TBatchHighPass>();
    case bcEqualizer: return std::make_unique<TBatchEqualizer>();
    case bcEcho: return std::make_unique<TBatchEcho>();
    case bcReverb: return std::make_unique<TBatchReverb>();
    case bcNoiseReduction: return std::make_unique<TBatchNoiseReduction>();
    case bcSpeedChange: return std::make_unique<TBatchSpeedChange>();
    case bcPitchChange: return std::make_unique<TBatchPitchChange>();
    case bcCompressor: return std::make_unique<TBatchCompressor>();
    case bcConvertSampleType: return std::make_unique<TBatchConvertSampleType>();
    case bcMixStereoChannels: return std::make_unique<TBatchMixStereoChannels>();
    case bcPhaser: return std::make_unique<TBatchPhaser>();
    case bcFlanger: return std::make_unique<TBatchFlanger>();
    case bcChorus: return std::make_unique<TBatchChorus>();
  }
  throw EArgumentOutOfRangeException("No batch command " + std::to_string(Command) + ".");
}

int SettingsValue(const TGlobalVars& Settings, const char* Name) {
  const TGlobalVarInfo* info = FindGlobalVarInfo(Name);
  return Settings.*std::get<int32_t TGlobalVars::*>(info->Field);
}

const char* const kRateTexts[10] = {"96000", "88200", "48000", "44100", "32000",
                                    "22050", "16000", "11025", "8000",  "6000"};

}  // namespace

int FindBatchCommand(const std::string& Caption) {
  for (int i = 0; i < BatchCommandCount; ++i)
    if (Caption == BatchCommandNames[i]) return i;
  return -1;
}

std::unique_ptr<TObject> NewBatchCommand(int Command, const TGlobalVars& Settings) {
  if (Command == bcConvertSampleType) return MakeBatchCommand(Command, {3, 0});
  std::vector<int> values;
  for (const char* name : Info(Command).Settings) values.push_back(SettingsValue(Settings, name));
  return MakeBatchCommand(Command, values);
}

std::vector<int> BatchCommandValues(int Command, const TObject& Record) {
  auto& r = const_cast<TObject&>(Record);
  if (auto* c = dynamic_cast<TBatchConvertSampleType*>(&r)) return {c->RateIndex, c->ChannelMode};
  std::vector<int> values;
  for (int* f : IntFields(r)) values.push_back(*f);
  return values;
}

std::unique_ptr<TObject> MakeBatchCommand(int Command, const std::vector<int>& Values) {
  std::unique_ptr<TObject> r = EmptyRecord(Command);
  if (auto* c = dynamic_cast<TBatchConvertSampleType*>(r.get())) {
    c->RateIndex = uint8_t(Values.at(0));
    c->ChannelMode = uint8_t(Values.at(1));
    return r;
  }
  std::vector<int*> fields = IntFields(*r);
  for (size_t i = 0; i < fields.size() && i < Values.size(); ++i) *fields[i] = Values[i];
  return r;
}

std::string BatchCommandSettingsText(int Command, const TObject& Record) {
  const std::vector<int> v = BatchCommandValues(Command, Record);
  if (Command == bcEqualizer) return "Click on Settings to view or change.";
  if (Command == bcConvertSampleType) {
    const char* rate = v[0] < 10 ? kRateTexts[v[0]] : "";
    return std::string("Convert Sample Rate = ") + rate +
           (v[1] == 1 ? ", Convert Channel = Mono" : ", Convert Channel = Stereo");
  }
  const char* f = Info(Command).Text;
  switch (v.size()) {
    case 1: return Format(f, {v[0]});
    case 2: return Format(f, {v[0], v[1]});
    case 3: return Format(f, {v[0], v[1], v[2]});
    case 4: return Format(f, {v[0], v[1], v[2], v[3]});
    default: return Format(f, {v[0], v[1], v[2], v[3], v[4], v[5]});
  }
}

std::unique_ptr<TObject> EditBatchCommand(int Command, const TObject& Record, TCustomForm* Owner) {
  const std::vector<int> values = BatchCommandValues(Command, Record);
  auto centre = [Owner](TCustomForm* Dialog) {
    Dialog->SetTop(Owner->Top() + (Owner->Height() - Dialog->Height()) / 2);
    Dialog->SetLeft(Owner->Left() + (Owner->Width() - Dialog->Width()) / 2);
  };
  if (Command == bcInsertSilenceAtTheStart || Command == bcInsertSilenceAtTheEnd) {
    TInsertSilenceForm dialog(Owner);
    centre(&dialog);
    dialog.EditSilenceTime->SetText(IntToStr(values[0]));
    if (dialog.ShowModal() != mrOk) return nullptr;
    return MakeBatchCommand(Command, {StrToInt(dialog.EditSilenceTime->Text())});
  }
  if (Command == bcConvertSampleType) {
    TConvertSampleRateForm dialog(Owner);
    centre(&dialog);
    dialog.ComboBoxRate->SetItemIndex(values[0]);
    dialog.GroupBoxSChannels->SetItemIndex(values[1] == 0 ? 1 : 0);
    if (dialog.ShowModal() != mrOk) return nullptr;
    return MakeBatchCommand(Command, {dialog.ComboBoxRate->ItemIndex(),
                                      dialog.GroupBoxSChannels->ItemIndex() == 0 ? 1 : 0});
  }
  std::unique_ptr<TEffectForm> dialog(CreateEffectForm(Info(Command).DialogClass, Owner));
  centre(dialog.get());
  dialog->SetValues(values);
  if (dialog->ShowModal() != mrOk) return nullptr;
  return MakeBatchCommand(Command, dialog->Values());
}

TAddCommandForm::TAddCommandForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  RegisterBatchCommandClasses();
  InitForm("TAddCommandForm");
  LabelSelect = DialogComponent<TLabel>(this, "LabelSelect");
  ListBoxCommand = DialogComponent<TListBox>(this, "ListBoxCommand");
  ButtonAdd = DialogComponent<TButton>(this, "ButtonAdd");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
  ButtonHelp = DialogComponent<TButton>(this, "ButtonHelp");
  ActionList = DialogComponent<TActionList>(this, "ActionList");
  ActionAdd = DialogComponent<TAction>(this, "ActionAdd");
  ActionCancel = DialogComponent<TAction>(this, "ActionCancel");
  ActionHelp = DialogComponent<TAction>(this, "ActionHelp");
}

void TAddCommandForm::FormShow(TObject*) { SubstituteDialogFont(this); }

void TAddCommandForm::ActionListUpdate(TBasicAction*, bool&) {
  ActionAdd->SetEnabled(ListBoxCommand->ItemIndex() >= 0);
}

void TAddCommandForm::ListBoxCommandDblClick(TObject*) {
  if (ListBoxCommand->ItemIndex() >= 0) ActionAddExecute(this);
}

void TAddCommandForm::ActionAddExecute(TObject*) { SetModalResult(mrOk); }

void TAddCommandForm::ActionCancelExecute(TObject*) { SetModalResult(mrCancel); }

void TAddCommandForm::ActionHelpExecute(TObject*) { ShowHelpTopic(Handle(), "Effects"); }

void RegisterBatchCommandClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterConvertSampleRateClasses();
  RegisterEffectDialogClasses();
  RegisterOutputFormatClasses();
  RegisterClass<TAddCommandForm, TForm>();
  Published<TAddCommandForm>()
      .Method("FormShow", &TAddCommandForm::FormShow)
      .Method("ActionListUpdate", &TAddCommandForm::ActionListUpdate)
      .Method("ListBoxCommandDblClick", &TAddCommandForm::ListBoxCommandDblClick)
      .Method("ActionAddExecute", &TAddCommandForm::ActionAddExecute)
      .Method("ActionCancelExecute", &TAddCommandForm::ActionCancelExecute)
      .Method("ActionHelpExecute", &TAddCommandForm::ActionHelpExecute);
}
