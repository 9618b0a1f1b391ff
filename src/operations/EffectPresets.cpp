#include "operations/EffectPresets.h"

namespace {

const TEffectPreset kCompressor[] = {
    {"General Voice Level", {-10, 50}},
    {"TV / Radio Advertisement", {-6, 50}},
};

const TEffectPreset kAmplify[] = {
    {"Quarter Volume", {25}},
    {"Half Volume", {50}},
    {"Double Volume", {200}},
    {"Triple Volume", {300}},
};

const TEffectPreset kHighPass[] = {
    {"General Audio Cleanup", {200}},
    {"Radio / Telephone Quality Audio", {4000}},
};

const TEffectPreset kEqualizer[] = {
    {"Basic Low Boost", {30, 55, 30, 15, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Basic High Boost", {0, 0, 0, 0, 0, 0, 10, 20, 30, 40, 50, 60}},
    {"1960s", {-50, -180, -50, 0, -30, 80, 0, 75, 45, 30, 15, 0}},
    {"Classic V", {0, 20, -30, -55, -90, -80, -60, -50, -20, 10, 10, 0}},
    {"Basic Mid Boost", {0, 0, 0, 0, 15, 30, 30, 15, 0, 0, 0, 0}},
    {"Basic High Cut", {0, 0, 0, 0, 0, 0, -15, -30, -45, -60, -75, -90}},
    {"Basic Low Cut", {-20, -50, -35, -20, -10, 0, 0, 0, 0, 0, 0, 0}},
    {"Basic Mid Cut", {0, 0, 0, 0, -20, -40, -40, -10, 0, 0, 0, 0}},
    {"Ghetto Fab (Attention: extreme  bass boost)", {120, 140, 120, 65, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Lo Fi", {-180, -180, -180, -90, 90, 90, 90, -90, -180, -180, -180, -180}},
    {"Raver Neighhor", {0, 10, 20, 0, -50, -90, -140, -180, -180, -180, -180, -180}},
    {"Telephonic", {-180, -180, 0, 0, 0, 0, -40, -100, -160, -180, -180, -180}},
    {"Just Bass", {0, 0, 0, 0, -50, -110, -180, -180, -180, -180, -180, -180}},
    {"Just Treble", {-180, -180, -180, -180, -130, -50, 0, 0, 0, 0, 0, 0}},
    {"1k Notch", {0, 0, 0, 0, 0, 90, 0, 0, 0, 0, 0, 0}},
    {"Vocal Presence Boost", {0, 0, 0, 0, 0, 10, 25, 10, 0, 0, 0, 0}},
    {"Vocal Presence Cut", {0, 0, 0, 0, 0, -10, -25, -10, 0, 0, 0, 0}},
    {"Remove Sub-Bass", {-180, -50, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
    {"Notch Every 2nd Octave", {-180, 90, -180, 90, -180, 90, -180, 90, -180, 90, -180, 90}},
    {"AM Radio", {-55, -180, 0, -115, 20, -10, -40, -70, -100, -130, -160, -180}},
};

const TEffectPreset kEcho[] = {
    {"Echo", {200, 70, 40}},
    {"Grumo Left Channel", {120, 50, 0}},
    {"Grumo Right Channel", {60, 50, 0}},
    {"Large Cavern", {300, 25, 30}},
    {"Large Tunnel", {80, 70, 60}},
    {"Many Echoes", {500, 50, 70}},
    {"Phylarmonic hall", {340, 10, 70}},
    {"Psychodelic reverb", {750, 30, 70}},
    {"Small Cavern", {200, 70, 10}},
    {"Small Echo", {200, 70, 0}},
    {"Small Tunnel", {26, 60, 10}},
    {"Very Large Cavern", {360, 35, 50}},
};

const TEffectPreset kReverb[] = {
    {"Allien Saying", {30, 60, 60, 30, 11025, 8}},
    {"Cellar", {30, 60, 25, 60, 11025, 10}},
    {"Metal", {25, 40, 8, 40, 11025, 10}},
    {"Metal Flanger", {4, 41, 28, 20, 11025, 10}},
    {"Metal Resonance (Second Metal Voice)", {4, 10, 97, 0, 11025, 10}},
    {"Room Left Channel", {15, 10, 28, 88, 11025, 10}},
    {"Room Right Channel", {15, 11, 35, 92, 11025, 10}},
    {"Small Room Left Channel", {2, 10, 31, 59, 11025, 10}},
    {"Small Room Right Channel", {2, 10, 29, 61, 11025, 10}},
};

const TEffectPreset kCossFade[] = {
    {"Full Fade In", {0, 100}},
    {"Soft Fade In 80%", {20, 100}},
    {"Soft Fade In 50%", {50, 100}},
    {"Full Fade Out", {100, 0}},
    {"Soft Fade Out 50%", {100, 50}},
    {"Soft Fade Out 80%", {100, 20}},
};

const TEffectPreset kMixStereo[] = {
    {"50/50 Mixing", {50, 50, 50, 50}},
    {"Both = Left", {100, 0, 100, 0}},
    {"Both = Right", {0, 100, 0, 100}},
    {"Full Mix", {100, 100, 100, 100}},
    {"Less Stereo -20%", {80, 20, 20, 80}},
    {"Less Stereo -30%", {70, 30, 30, 70}},
    {"Swap Channels", {0, 100, 100, 0}},
};

const TEffectPreset kNoiseReduction[] = {
    {"Cassette Noise Reduce", {-54, 75, 100}},
    {"Expand for Music", {-12, 40, 100}},
    {"Expand -30dB", {-30, 100, 100}},
    {"Expand -40dB", {-40, 100, 100}},
    {"Expand -50dB", {-50, 100, 100}},
    {"Soft Expand for Music", {-15, 20, 100}},
    {"Voice Breath Reduce", {-30, 25, 30}},
};

const TEffectPreset kSpeedChange[] = {
    {"Double Speed", {200}},
    {"Slow Down", {70}},
    {"Speed Up", {150}},
};

const TEffectPreset kPitchChange[] = {
    {"Alto", {140}},
    {"Bass", {170}},
    {"Helium", {60}},
    {"Soprano", {80}},
};

const TEffectPreset kPhaser[] = {
    {"Gymnastic Hall", {300, 30, 45}},
    {"Large Hall", {239, 80, 85}},
    {"Shower Room", {60, 30, 60}},
    {"Stadium", {400, 25, 50}},
};

const TEffectPreset kFlanger[] = {
    {"Blur", {14, 50, 30, 99, 18, 40}},
    {"Classic Flanger", {14, 50, 30, 99, 10, 70}},
    {"Crying Flanger", {14, 35, 70, 99, 7, 70}},
    {"Deep Slow Flanger", {80, 70, 50, 10, 1, 20}},
    {"Fast Sweeping Loop", {100, 50, 85, 90, 30, 90}},
    {"Flanger-Vibrato", {6, 49, 10, 54, 53, 40}},
    {"Light Chorus", {70, 50, 1, 99, 0, 50}},
    {"Light Reflective Room", {100, 10, 90, 10, 10, 90}},
    {"Little Steel Balls", {100, 50, 85, 99, 100, 90}},
    {"Metal Bunker", {70, 45, 88, 99, 0, 50}},
    {"Old TV-Set", {14, 50, 75, 99, 0, 120}},
    {"Receiver", {100, 50, 85, 80, 15, 90}},
    {"Reflective Room", {14, 8, 41, 1, 42, 40}},
    {"Slow & Easy Flanger", {10, 50, 1, 99, 1, 35}},
    {"Slow Flanger", {3, 35, 10, 40, 4, 40}},
    {"Soft Spread", {15, 72, 18, 22, 11, 12}},
    {"Up & Down", {80, 50, 70, 10, 19, 20}},
};

const TEffectPreset kChorus[] = {
    {"Bathroom", {10, 20, 60, 0, 0, 90}},
    {"Bathroom with Light Flanger", {31, 45, 60, 25, 12, 90}},
    {"Cassete Tape Hard Stretched", {31, 45, 60, 90, 25, 0}},
    {"Cassete Tape Light Stretched", {8, 50, 25, 1, 25, 90}},
    {"Electronic Voice", {7, 60, 0, 15, 90, 90}},
    {"Flying Hard Flanger", {90, 50, 90, 2, 12, 90}},
    {"Psychedelic", {31, 70, 50, 1, 1, 90}},
    {"Simple Chorus", {7, 45, 2, 0, 1, 90}},
    {"Slow Metallic Flanger", {31, 45, 60, 12, 9, 120}},
    {"Stereo Chorus Left", {5, 30, 60, 2, 12, 90}},
    {"Stereo Chorus Right", {7, 30, 60, 3, 10, 90}},
};

const TEffectPreset kNormalize[] = {
    {"Very Soft Audio Level", {20}},
    {"Soft Audio Level", {40}},
    {"Normal Audio Level", {75}},
    {"Maximun Audio Level", {100}},
};

}  // namespace

std::span<const TEffectPreset> CompressorPresets() { return kCompressor; }
std::span<const TEffectPreset> AmplifyPresets() { return kAmplify; }
std::span<const TEffectPreset> HighPassPresets() { return kHighPass; }
std::span<const TEffectPreset> EqualizerPresets() { return kEqualizer; }
std::span<const TEffectPreset> EchoPresets() { return kEcho; }
std::span<const TEffectPreset> ReverbPresets() { return kReverb; }
std::span<const TEffectPreset> CossFadePresets() { return kCossFade; }
std::span<const TEffectPreset> MixStereoPresets() { return kMixStereo; }
std::span<const TEffectPreset> NoiseReductionPresets() { return kNoiseReduction; }
std::span<const TEffectPreset> SpeedChangePresets() { return kSpeedChange; }
std::span<const TEffectPreset> PitchChangePresets() { return kPitchChange; }
std::span<const TEffectPreset> PhaserPresets() { return kPhaser; }
std::span<const TEffectPreset> FlangerPresets() { return kFlanger; }
std::span<const TEffectPreset> ChorusPresets() { return kChorus; }
std::span<const TEffectPreset> NormalizePresets() { return kNormalize; }
