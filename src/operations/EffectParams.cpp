#include "operations/EffectParams.h"

#include "operations/EffectPresets.h"

namespace {

using G = TGlobalVars;

const TEffectParam kCompressor[] = {
    {"Threshold", ekTolerant, true, &G::DefCompressorThreshold},
    {"Rate", ekStrict, false, &G::DefCompressorRate},
};
const TEffectParam kAmplify[] = {{"Amplify", ekStrict, false, &G::DefAmplify}};
const TEffectParam kHighPass[] = {{"Frequency", ekStrict, false, &G::DefHighPass}};
const TEffectParam kEqualizer[] = {
    {"Band1", ekNone, false, &G::EqualizerBuf1},   {"Band2", ekNone, false, &G::EqualizerBuf2},
    {"Band3", ekNone, false, &G::EqualizerBuf3},   {"Band4", ekNone, false, &G::EqualizerBuf4},
    {"Band5", ekNone, false, &G::EqualizerBuf5},   {"Band6", ekNone, false, &G::EqualizerBuf6},
    {"Band7", ekNone, false, &G::EqualizerBuf7},   {"Band8", ekNone, false, &G::EqualizerBuf8},
    {"Band9", ekNone, false, &G::EqualizerBuf9},   {"Band10", ekNone, false, &G::EqualizerBuf10},
    {"Band11", ekNone, false, &G::EqualizerBuf11}, {"Band12", ekNone, false, &G::EqualizerBuf12},
};
const TEffectParam kEcho[] = {
    {"DelayTime", ekTolerant, false, &G::DefEchoDelayTime},
    {"MixDepth", ekStrict, false, &G::DefEchoMixDepth},
    {"FeedbackGain", ekStrict, false, &G::DefEchoFeedbackGain},
};
const TEffectParam kReverb[] = {
    {"DelayTime", ekTolerant, false, &G::DefReverbDelayTime},
    {"MixDepth", ekStrict, false, &G::DefReverbMixDepth},
    {"FeedbackGain", ekStrict, false, &G::DefReverbFeedbackGain},
    {"ReverbGain", ekStrict, false, &G::DefReverbGain},
    {"ReverbFrequency", ekStrict, false, &G::DefReverbFrequency},
    {"Taps", ekStrict, false, &G::DefReverbTaps},
};
const TEffectParam kCossFade[] = {
    {"Initial", ekStrict, false, &G::DefFadeInt},
    {"Final", ekStrict, false, &G::DefFadeFin},
};
const TEffectParam kMixStereo[] = {
    {"NewLeftChannelLeft", ekStrict, false, &G::DefMixChanLL},
    {"NewLeftChannelRight", ekStrict, false, &G::DefMixChanLR},
    {"NewRightChannelLeft", ekStrict, false, &G::DefMixChanRL},
    {"NewRightChannelRight", ekStrict, false, &G::DefMixChanRR},
};
const TEffectParam kNoiseReduction[] = {
    {"Threshold", ekTolerant, true, &G::DefNoiseReductionThreshold},
    {"Rate", ekStrict, false, &G::DefNoiseReductionRate},
    {"RMSTime", ekStrict, false, &G::DefNoiseReductionRMSTime},
};
const TEffectParam kSpeedChange[] = {{"SpeedAdjust", ekStrict, false, &G::DefSpeedChange}};
const TEffectParam kPitchChange[] = {{"PitchAdjust", ekStrict, false, &G::DefPitchChange}};
const TEffectParam kPhaser[] = {
    {"DelayTime", ekTolerant, false, &G::DefPhaserDelayTime},
    {"MixDepth", ekStrict, false, &G::DefPhaserMixDepth},
    {"FeedbackGain", ekStrict, false, &G::DefPhaserFeedbackGain},
};
const TEffectParam kFlanger[] = {
    {"DelayRate", ekTolerant, false, &G::DefFlangerDelayRate},
    {"MixDepth", ekStrict, false, &G::DefFlangerMixDepth},
    {"FeedbackGain", ekStrict, false, &G::DefFlangerFeedbackGain},
    {"SweepDepth", ekStrict, false, &G::DefFlangerSweepDepth},
    {"SweepRate", ekStrict, false, &G::DefFlangerSweepRate},
    {"SweepPhase", ekStrict, false, &G::DefFlangerSweepPhase},
};
const TEffectParam kChorus[] = {
    {"DelayRate", ekTolerant, false, &G::DefChorusDelayRate},
    {"MixDepth", ekStrict, false, &G::DefChorusMixDepth},
    {"FeedbackGain", ekStrict, false, &G::DefChorusFeedbackGain},
    {"SweepDepth", ekStrict, false, &G::DefChorusSweepDepth},
    {"SweepRate", ekStrict, false, &G::DefChorusSweepRate},
    {"SweepPhase", ekStrict, false, &G::DefChorusSweepPhase},
};
const TEffectParam kNormalize[] = {{"NormalizePeak", ekStrict, false, &G::DefNormalize}};

const TEffectDialogInfo kDialogs[] = {
    {"TDynamicRangeCompressorForm", 1, elSliders, kCompressor, CompressorPresets(), ecNone, true},
    {"TAmplifyForm", 2, elSingleEdit, kAmplify, AmplifyPresets()},
    {"THighPassForm", 3, elSingleEdit, kHighPass, HighPassPresets()},
    {"TEqualizerForm", 4, elEqualizer, kEqualizer, EqualizerPresets(), ecNone, false, false},
    {"TEchoForm", 5, elSliders, kEcho, EchoPresets()},
    {"TReverbForm", 6, elSliders, kReverb, ReverbPresets()},
    {"TCossFadeForm", 7, elSliders, kCossFade, CossFadePresets()},
    {"TMixStereoForm", 8, elSliders, kMixStereo, MixStereoPresets(), ecNone, false, false},
    {"TNoiseReductionForm", 9, elSliders, kNoiseReduction, NoiseReductionPresets()},
    {"TSpeedChangeForm", 10, elSingleEdit, kSpeedChange, SpeedChangePresets(), ecSpeed},
    {"TPitchChangeForm", 11, elSingleEdit, kPitchChange, PitchChangePresets(), ecPitch},
    {"TPhaserForm", 12, elSliders, kPhaser, PhaserPresets()},
    {"TFlangerForm", 13, elSliders, kFlanger, FlangerPresets()},
    {"TChorusForm", 14, elSliders, kChorus, ChorusPresets()},
    {"TNormalizeForm", -1, elSingleEdit, kNormalize, NormalizePresets(), ecNormalize},
};

}  // namespace

std::string TEffectDialogInfo::SliderName(size_t Index) const {
  // The equalizer's bands are named by themselves.
  return Layout == elEqualizer ? std::string(Params[Index].Name)
                               : std::string("ImageSlider") + Params[Index].Name;
}

std::string TEffectDialogInfo::EditName(size_t Index) const {
  return std::string("Edit") + Params[Index].Name;
}

std::span<const TEffectDialogInfo> EffectDialogs() { return kDialogs; }

const TEffectDialogInfo* FindEffectDialog(const std::string& ClassName) {
  for (const auto& d : kDialogs)
    if (ClassName == d.ClassName) return &d;
  return nullptr;
}

const TEffectDialogInfo* FindEffectDialogByCode(int Code) {
  if (Code < 0) return nullptr;
  for (const auto& d : kDialogs)
    if (d.Code == Code) return &d;
  return nullptr;
}

std::vector<int> EffectSettings(const TEffectDialogInfo& Info, const TGlobalVars& Vars) {
  std::vector<int> values;
  for (const auto& p : Info.Params) values.push_back(Vars.*p.Field);
  return values;
}
