// Echo, reverb, modulation, noise reduction, speed and pitch change on one hour of 44.1 kHz stereo, side by side with sox
// running the nearest effect on the same WAV file in the same run. Each "Effects/..." row carries
// vs_sox: sox's time divided by ours (above 1: we are faster). Ours works on the samples in
// memory, as the editor and the transformer do; sox reads the file and discards its output.
// SONALIX_BENCH_SECONDS shortens the input (default 3600); SONALIX_DSP_THREADS limits the pool.
#include <cmath>
#include <random>
#include <vector>

#include "audio/DspDelay.h"
#include "audio/DspModulation.h"
#include "audio/DspNoiseReduction.h"
#include "audio/DspReverb.h"
#include "audio/DspTimePitch.h"
#include "audio/WavFile.h"
#include "BenchCommon.h"

namespace {

// Music-like input: a few tones with a slow swell and some noise.
std::string InputFile() {
  static std::mt19937 gen(1);
  std::uniform_real_distribution<float> noise(-0.03f, 0.03f);
  return BenchInputWav("effects-input", [&](double t, float& left, float& right) {
    const double swell = 0.5 + 0.45 * std::sin(2 * M_PI * 0.3 * t);
    const double tone = 0.3 * std::sin(2 * M_PI * 220 * t) + 0.15 * std::sin(2 * M_PI * 660 * t);
    left = float(swell * tone) + noise(gen);
    right = float(swell * 0.4 * std::sin(2 * M_PI * 330 * t)) + noise(gen);
  });
}

const bool kRegistered = [] {
  RegisterSoxComparisons("Effects", InputFile, {
      {"echo", "echo 1 1 200 0.7", [](const DspSignal& s) { DspEcho(s, 200, 70, 40); }},
      {"reverb", "reverb 50 50 100",
       [](const DspSignal& s) { DspReverb(s, 30, 60, 60, 30, 11025, 8); }},
      {"flanger", "flanger",
       [](const DspSignal& s) { DspModulation(s, DspModulationKind::Flanger, 14, 50, 30, 99, 18, 40); }},
      {"chorus", "chorus 0.7 0.9 55 0.4 0.25 2 -t",
       [](const DspSignal& s) { DspModulation(s, DspModulationKind::Chorus, 31, 45, 60, 25, 12, 90); }},
      {"phaser", "phaser 0.8 0.74 3 0.4 0.5 -t", [](const DspSignal& s) { DspPhaser(s, 300, 30, 45); }},
      {"noisereduction", "compand 0.001,0.03 -90,-90,-40,-40,0,0",
       [](const DspSignal& s) { DspNoiseReduction(s, -40, 100, 100); }},
      {"speed", "tempo 1.5", [](const DspSignal& s) { DspSpeedChange(s, 150); }},
      {"pitch", "pitch 700", [](const DspSignal& s) { DspPitchChange(s, 100 / std::pow(2.0, 7.0 / 12)); }},
  }, 2);
  return true;
}();

}  // namespace
