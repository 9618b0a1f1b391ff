// The level, filter and dynamics effects on one hour of 44.1 kHz stereo, side by side with sox
// running the matching effect on the same WAV file in the same run. Each "Dsp/..." row carries
// vs_sox: sox's time divided by ours (above 1: we are faster). Ours works on the samples in
// memory, as the editor and the transformer do; sox reads the file and discards its output.
// SONALIX_BENCH_SECONDS shortens the input (default 3600); SONALIX_DSP_THREADS limits the pool.
#include <cmath>
#include <random>
#include <vector>

#include "audio/DspDynamics.h"
#include "audio/DspFilter.h"
#include "audio/DspLevel.h"
#include "audio/WavFile.h"
#include "BenchCommon.h"

namespace {

// Two tones, a slow swell and noise: enough movement for the compressor and every band.
std::string InputFile() {
  static std::mt19937 gen(1);
  std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
  return BenchInputWav("dsp-input", [&](double t, float& left, float& right) {
    const double swell = 0.5 + 0.45 * std::sin(2 * M_PI * 0.2 * t);
    left = float(swell * 0.5 * std::sin(2 * M_PI * 220 * t)) + noise(gen);
    right = float(swell * 0.4 * std::sin(2 * M_PI * 3300 * t)) + noise(gen);
  });
}

const std::vector<float> kBands = {31.25f, 62.5f, 125, 250, 500, 1000, 2000, 4000, 6000, 9000, 12000, 16000};
const std::vector<float> kGains = {0.3f, 0.55f, 0.3f, 0.15f, 0, -0.3f, 0, 0.75f, 0.45f, 0.3f, 0.15f, 0};

std::string SoxEqualizer() {
  std::string e;
  for (size_t i = 0; i < kBands.size(); ++i)
    e += " equalizer " + std::to_string(kBands[i]) + " 1o " + std::to_string(10 * kGains[i]);
  return e;
}

const bool kRegistered = [] {
  RegisterSoxComparisons("Dsp", InputFile, {
      {"amplify", "vol 0.5", [](const DspSignal& s) { DspAmplify(s, 50); }},
      {"normalize", "norm -1", [](const DspSignal& s) { DspNormalize(s, 89, -1); }},
      {"fade", "fade t 0 " + std::to_string(BenchSeconds()) + " " + std::to_string(BenchSeconds()),
       [](const DspSignal& s) { DspFade(s, 100, 0); }},
      {"highpass", "highpass 200", [](const DspSignal& s) { DspHighPass(s, 200, 100); }},
      {"equalizer", SoxEqualizer(), [](const DspSignal& s) { DspEqualizer(s, kGains, kBands); }},
      {"compressor", "compand 0.005,0.1 -20,-20,0,-10",
       [](const DspSignal& s) { DspCompressor(s, -20, 50, 100); }},
  }, 3);
  return true;
}();

}  // namespace
