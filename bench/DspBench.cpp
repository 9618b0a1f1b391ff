// The level, filter and dynamics effects on one hour of 44.1 kHz stereo, side by side with sox
// running the matching effect on the same WAV file in the same run. Each "Dsp/..." row carries
// vs_sox: sox's time divided by ours (above 1: we are faster). Ours works on the samples in
// memory, as the editor and the transformer do; sox reads the file and discards its output.
// SONALIX_BENCH_SECONDS shortens the input (default 3600); SONALIX_DSP_THREADS limits the pool.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "audio/DspDynamics.h"
#include "audio/DspFilter.h"
#include "audio/DspLevel.h"
#include "audio/WavFile.h"

namespace fs = std::filesystem;

namespace {

constexpr int kRate = 44100;

int Seconds() {
  const char* s = std::getenv("SONALIX_BENCH_SECONDS");
  return s && std::atoi(s) > 0 ? std::atoi(s) : 3600;
}

fs::path Folder() {
  const char* d = std::getenv("SONALIX_BENCH_DIR");
  fs::path dir = d && *d ? d : "/tmp/sonalix-bench";
  fs::create_directories(dir);
  return dir;
}

// Two tones, a slow swell and noise: enough movement for the compressor and every band.
std::string InputFile() {
  const fs::path path = Folder() / ("dsp-input-" + std::to_string(Seconds()) + "s.wav");
  const int64_t frames = int64_t(Seconds()) * kRate;
  if (fs::exists(path) && WavReader(path.string()).Info().Frames == frames) return path.string();
  WavWriter w(path.string(), kRate, 2, 16);
  std::mt19937 gen(1);
  std::uniform_real_distribution<float> noise(-0.05f, 0.05f);
  std::vector<float> chunk(2 * kRate);
  for (int64_t f0 = 0; f0 < frames; f0 += kRate) {
    for (int i = 0; i < kRate; ++i) {
      const double t = double(f0 + i) / kRate;
      const double swell = 0.5 + 0.45 * std::sin(2 * M_PI * 0.2 * t);
      chunk[size_t(2 * i)] = float(swell * 0.5 * std::sin(2 * M_PI * 220 * t)) + noise(gen);
      chunk[size_t(2 * i + 1)] = float(swell * 0.4 * std::sin(2 * M_PI * 3300 * t)) + noise(gen);
    }
    w.Write(chunk.data(), std::min<int64_t>(kRate, frames - f0));
  }
  w.Close();
  return path.string();
}

std::vector<float>& Samples() {
  static std::vector<float> samples = [] {
    WavReader r(InputFile());
    std::vector<float> v(size_t(r.Info().Frames) * 2);
    r.Read(v.data(), r.Info().Frames);
    return v;
  }();
  return samples;
}

DspSignal Signal() {
  DspSignal s;
  s.Data = Samples().data();
  s.Channels = 2;
  s.Frames = Samples().size() / 2;
  s.SampleRate = kRate;
  return s;
}

const std::vector<float> kBands = {31.25f, 62.5f, 125, 250, 500, 1000, 2000, 4000, 6000, 9000, 12000, 16000};
const std::vector<float> kGains = {0.3f, 0.55f, 0.3f, 0.15f, 0, -0.3f, 0, 0.75f, 0.45f, 0.3f, 0.15f, 0};

struct Pair {
  const char* Name;
  std::string SoxEffect;
  std::function<void(const DspSignal&)> Ours;
};

std::string SoxEqualizer() {
  std::string e;
  for (size_t i = 0; i < kBands.size(); ++i)
    e += " equalizer " + std::to_string(kBands[i]) + " 1o " + std::to_string(10 * kGains[i]);
  return e;
}

const std::vector<Pair>& Pairs() {
  static const std::vector<Pair> pairs = {
      {"amplify", "vol 0.5", [](const DspSignal& s) { DspAmplify(s, 50); }},
      {"normalize", "norm -1", [](const DspSignal& s) { DspNormalize(s, 89, -1); }},
      {"fade", "fade t 0 " + std::to_string(Seconds()) + " " + std::to_string(Seconds()),
       [](const DspSignal& s) { DspFade(s, 100, 0); }},
      {"highpass", "highpass 200", [](const DspSignal& s) { DspHighPass(s, 200, 100); }},
      {"equalizer", SoxEqualizer(), [](const DspSignal& s) { DspEqualizer(s, kGains, kBands); }},
      {"compressor", "compand 0.005,0.1 -20,-20,0,-10",
       [](const DspSignal& s) { DspCompressor(s, -20, 50, 100); }},
  };
  return pairs;
}

std::map<std::string, double>& SoxSeconds() {
  static std::map<std::string, double> m;
  return m;
}

double Now() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

void BM_Sox(benchmark::State& state, const Pair* p) {
  const std::string command = "sox -V1 -q '" + InputFile() + "' -n " + p->SoxEffect;
  double total = 0;
  for (auto _ : state) {
    const double t0 = Now();
    if (std::system(command.c_str()) != 0) state.SkipWithError("sox failed (is it installed?)");
    total += Now() - t0;
  }
  SoxSeconds()[p->Name] = total / double(state.iterations());
}

void BM_Dsp(benchmark::State& state, const Pair* p) {
  const DspSignal s = Signal();
  double total = 0;
  for (auto _ : state) {
    const double t0 = Now();
    p->Ours(s);
    total += Now() - t0;
  }
  const double ours = total / double(state.iterations());
  state.counters["audio_x_realtime"] = double(Seconds()) / ours;
  auto it = SoxSeconds().find(p->Name);
  if (it != SoxSeconds().end()) state.counters["vs_sox"] = it->second / ours;
}

const bool kRegistered = [] {
  for (const Pair& p : Pairs()) {
    benchmark::RegisterBenchmark((std::string("Sox/") + p.Name).c_str(), BM_Sox, &p)
        ->Iterations(1)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((std::string("Dsp/") + p.Name).c_str(), BM_Dsp, &p)
        ->Iterations(3)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
