// Echo, reverb, modulation, noise reduction, speed and pitch change on one hour of 44.1 kHz stereo, side by side with sox
// running the nearest effect on the same WAV file in the same run. Each "Effects/..." row carries
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

#include "audio/DspDelay.h"
#include "audio/DspModulation.h"
#include "audio/DspNoiseReduction.h"
#include "audio/DspReverb.h"
#include "audio/DspTimePitch.h"
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

// Music-like input: a few tones with a slow swell and some noise.
std::string InputFile() {
  const fs::path path = Folder() / ("effects-input-" + std::to_string(Seconds()) + "s.wav");
  const int64_t frames = int64_t(Seconds()) * kRate;
  if (fs::exists(path) && WavReader(path.string()).Info().Frames == frames) return path.string();
  WavWriter w(path.string(), kRate, 2, 16);
  std::mt19937 gen(1);
  std::uniform_real_distribution<float> noise(-0.03f, 0.03f);
  std::vector<float> chunk(2 * kRate);
  for (int64_t f0 = 0; f0 < frames; f0 += kRate) {
    for (int i = 0; i < kRate; ++i) {
      const double t = double(f0 + i) / kRate;
      const double swell = 0.5 + 0.45 * std::sin(2 * M_PI * 0.3 * t);
      const double tone = 0.3 * std::sin(2 * M_PI * 220 * t) + 0.15 * std::sin(2 * M_PI * 660 * t);
      chunk[size_t(2 * i)] = float(swell * tone) + noise(gen);
      chunk[size_t(2 * i + 1)] = float(swell * 0.4 * std::sin(2 * M_PI * 330 * t)) + noise(gen);
    }
    w.Write(chunk.data(), std::min<int64_t>(kRate, frames - f0));
  }
  w.Close();
  return path.string();
}

const std::vector<float>& Samples() {
  static const std::vector<float> samples = [] {
    WavReader r(InputFile());
    std::vector<float> v(size_t(r.Info().Frames) * 2);
    r.Read(v.data(), r.Info().Frames);
    return v;
  }();
  return samples;
}

struct Pair {
  const char* Name;
  std::string SoxEffect;
  std::function<void(const DspSignal&)> Ours;
};

const std::vector<Pair>& Pairs() {
  static const std::vector<Pair> pairs = {
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

void BM_Ours(benchmark::State& state, const Pair* p) {
  std::vector<float> work;
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    work = Samples();  // a fresh copy: the effects work in place
    DspSignal s;
    s.Data = work.data();
    s.Channels = 2;
    s.Frames = work.size() / 2;
    s.SampleRate = kRate;
    state.ResumeTiming();
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
    benchmark::RegisterBenchmark((std::string("Effects/") + p.Name).c_str(), BM_Ours, &p)
        ->Iterations(2)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
  return true;
}();

}  // namespace
