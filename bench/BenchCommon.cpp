#include "BenchCommon.h"

#include <QApplication>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <map>
#include <memory>

#include "audio/WavFile.h"

namespace fs = std::filesystem;

fs::path BenchFolder() {
  const char* d = std::getenv("SONALIX_BENCH_DIR");
  fs::path dir = d && *d ? d : "/tmp/sonalix-bench";
  fs::create_directories(dir);
  return dir;
}

int BenchSeconds() {
  const char* s = std::getenv("SONALIX_BENCH_SECONDS");
  return s && std::atoi(s) > 0 ? std::atoi(s) : 3600;
}

double BenchNow() {
  return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

std::string BenchInputWav(const std::string& name,
                          const std::function<void(double t, float& left, float& right)>& frame) {
  constexpr int kRate = 44100;
  const fs::path path = BenchFolder() / (name + "-" + std::to_string(BenchSeconds()) + "s.wav");
  const int64_t frames = int64_t(BenchSeconds()) * kRate;
  if (fs::exists(path) && WavReader(path.string()).Info().Frames == frames) return path.string();
  WavWriter w(path.string(), kRate, 2, 16);
  std::vector<float> chunk(2 * kRate);
  for (int64_t f0 = 0; f0 < frames; f0 += kRate) {
    for (int i = 0; i < kRate; ++i)
      frame(double(f0 + i) / kRate, chunk[size_t(2 * i)], chunk[size_t(2 * i + 1)]);
    w.Write(chunk.data(), std::min<int64_t>(kRate, frames - f0));
  }
  w.Close();
  return path.string();
}

std::string BenchTwoToneWav(int seconds) {
  const fs::path path = BenchFolder() / ("input-" + std::to_string(seconds) + "s.wav");
  const int64_t frames = int64_t(seconds) * 44100;
  if (fs::exists(path) && WavReader(path.string()).Info().Frames == frames) return path.string();
  WavWriter w(path.string(), 44100, 2, 16);
  std::vector<float> chunk(2 * 44100);
  for (int64_t f0 = 0; f0 < frames; f0 += 44100) {
    for (int i = 0; i < 44100; ++i) {
      const double t = double(f0 + i) / 44100;
      chunk[size_t(2 * i)] = float(0.4 * std::sin(2 * M_PI * 440 * t));
      chunk[size_t(2 * i + 1)] = float(0.3 * std::sin(2 * M_PI * 660 * t));
    }
    w.Write(chunk.data(), std::min<int64_t>(44100, frames - f0));
  }
  w.Close();
  return path.string();
}

namespace {
std::vector<std::function<void()>>& EndWork() {
  static std::vector<std::function<void()>> work;
  return work;
}
}  // namespace

void BenchAtEnd(std::function<void()> work) { EndWork().push_back(std::move(work)); }

void BenchTearDown() {
  while (!EndWork().empty()) {
    auto work = std::move(EndWork().back());
    EndWork().pop_back();
    work();
  }
}

namespace {

struct Comparison {
  std::string Prefix;
  std::function<std::string()> Input;
  SoxPair Pair;
  double SoxSeconds = 0;  // filled by the sox row, which runs first
  double NoopSeconds = 0;
};

struct Samples {
  std::vector<float> Values;
  int Rate = 0;
};

const Samples& SamplesOf(const std::string& path) {
  static std::map<std::string, Samples> cache;
  auto it = cache.find(path);
  if (it != cache.end()) return it->second;
  WavReader r(path);
  Samples s;
  s.Rate = r.Info().SampleRate;
  s.Values.resize(size_t(r.Info().Frames) * 2);
  r.Read(s.Values.data(), r.Info().Frames);
  return cache.emplace(path, std::move(s)).first->second;
}

void BM_Sox(benchmark::State& state, Comparison* c) {
  const std::string prefix = "sox -V1 -q '" + c->Input() + "' -n ";
  double total = 0, noop = 0;
  auto timed = [&](const std::string& effect) {
    const double t0 = BenchNow();
    if (std::system((prefix + effect).c_str()) != 0)
      state.SkipWithError("sox failed (is it installed?)");
    return BenchNow() - t0;
  };
  for (auto _ : state) {
    total += timed(c->Pair.SoxEffect);
    state.PauseTiming();
    noop += timed("gain 0");
    state.ResumeTiming();
  }
  c->SoxSeconds = total / double(state.iterations());
  c->NoopSeconds = noop / double(state.iterations());
  state.counters["noop_ms"] = c->NoopSeconds * 1e3;
  state.counters["effect_ms"] = (c->SoxSeconds - c->NoopSeconds) * 1e3;
}

void BM_Ours(benchmark::State& state, Comparison* c) {
  const Samples& input = SamplesOf(c->Input());
  std::vector<float> work;
  double total = 0;
  for (auto _ : state) {
    state.PauseTiming();
    work = input.Values;
    DspSignal s;
    s.Data = work.data();
    s.Channels = 2;
    s.Frames = work.size() / 2;
    s.SampleRate = input.Rate;
    state.ResumeTiming();
    const double t0 = BenchNow();
    c->Pair.Ours(s);
    total += BenchNow() - t0;
  }
  const double ours = total / double(state.iterations());
  state.counters["audio_x_realtime"] = double(input.Values.size() / 2) / input.Rate / ours;
  if (c->SoxSeconds > 0) {
    state.counters["vs_sox"] = c->SoxSeconds / ours;
    state.counters["vs_sox_effect"] = (c->SoxSeconds - c->NoopSeconds) / ours;
  }
}

}  // namespace

void RegisterSoxComparisons(const std::string& prefix, std::function<std::string()> input,
                            const std::vector<SoxPair>& pairs, int iterations) {
  for (const SoxPair& p : pairs) {
    auto* c = new Comparison{prefix, input, p};  // lives as long as the registration
    benchmark::RegisterBenchmark(("Sox/" + std::string(p.Name)).c_str(), BM_Sox, c)
        ->Iterations(1)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark((prefix + "/" + p.Name).c_str(), BM_Ours, c)
        ->Iterations(iterations)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
}

void BenchEnsureApplication() {
  static QApplication* app = nullptr;
  if (QCoreApplication::instance()) return;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "sonalix_bench";
  static char* argv[] = {name, nullptr};
  app = new QApplication(argc, argv);
  BenchAtEnd([] {
    delete app;
    app = nullptr;
  });
}
