#pragma once
// The named presets of every effect dialog, values in the dialog's parameter order. The names
// are shown as they are written here.

#include <span>

#include "operations/EffectParams.h"

std::span<const TEffectPreset> CompressorPresets();
std::span<const TEffectPreset> AmplifyPresets();
std::span<const TEffectPreset> HighPassPresets();
std::span<const TEffectPreset> EqualizerPresets();
std::span<const TEffectPreset> EchoPresets();
std::span<const TEffectPreset> ReverbPresets();
std::span<const TEffectPreset> CossFadePresets();
std::span<const TEffectPreset> MixStereoPresets();
std::span<const TEffectPreset> NoiseReductionPresets();
std::span<const TEffectPreset> SpeedChangePresets();
std::span<const TEffectPreset> PitchChangePresets();
std::span<const TEffectPreset> PhaserPresets();
std::span<const TEffectPreset> FlangerPresets();
std::span<const TEffectPreset> ChorusPresets();
std::span<const TEffectPreset> NormalizePresets();
