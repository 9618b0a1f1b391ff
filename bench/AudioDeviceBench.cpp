// Sound devices: how soon a started stream is pulled (start latency, null backend), and what the
// shared output costs: N streams of 44.1 kHz stereo, converted to the device rate and mixed, pushed
// through ALSA's "null" device, which takes data as fast as it comes, so the run's speed is the
// mixer's CPU cost (reported as times real time), against sox playing the same sound to the same
// device.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/WavFile.h"
#include "platform/sys/WaveDevices.h"

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

void BM_StartLatencyNull(benchmark::State& state) {
  setenv("SONALIX_AUDIO", "null", 1);
  TWaveOutStream out;
  if (out.Open(44100, 2) != wrOk) return state.SkipWithError("no output");
  double worst = 0, total = 0;
  int runs = 0;
  for (auto _ : state) {
    std::atomic<bool> pulled{false};
    const auto t0 = Clock::now();
    out.Start(
        [&](float* v, int64_t n) {
          std::fill(v, v + n * 2, 0.f);
          pulled = true;
          return n;
        },
        nullptr);
    while (!pulled) std::this_thread::sleep_for(std::chrono::microseconds(50));
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
    out.Stop();
    worst = std::max(worst, ms);
    total += ms;
    ++runs;
  }
  state.counters["mean_ms"] = total / runs;
  state.counters["worst_ms"] = worst;
}
BENCHMARK(BM_StartLatencyNull)->Iterations(30)->UseRealTime();

constexpr int kSeconds = 20;

void BM_MixerThroughAlsaNull(benchmark::State& state) {
  setenv("SONALIX_AUDIO", "alsa:null", 1);
  const int streams = int(state.range(0));
  const int64_t frames = int64_t(kSeconds) * 44100;
  for (auto _ : state) {
    std::vector<std::unique_ptr<TWaveOutStream>> outs;
    std::atomic<int> ended{0};
    const double cpu0 = CpuSeconds();
    const auto t0 = Clock::now();
    for (int s = 0; s < streams; ++s) {
      auto out = std::make_unique<TWaveOutStream>();
      if (out->Open(44100, 2) != wrOk) return state.SkipWithError("no ALSA null device");
      auto pos = std::make_shared<int64_t>(0);
      out->Start(
          [pos, frames](float* v, int64_t n) {
            const int64_t k = std::min(n, frames - *pos);
            for (int64_t i = 0; i < k; ++i)
              v[2 * i] = v[2 * i + 1] = float(std::sin(0.05 * double(*pos + i)));
            *pos += k;
            return k;
          },
          [&] { ++ended; });
      outs.push_back(std::move(out));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    state.counters["reported_latency_ms"] = double(outs[0]->LatencyFrames()) * 1000 / 44100;
    while (ended < streams) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    state.counters["x_realtime"] = kSeconds / wall;
    state.counters["cpu_percent_of_realtime"] = 100 * (CpuSeconds() - cpu0) / kSeconds;
  }
}
BENCHMARK(BM_MixerThroughAlsaNull)
    ->Arg(1)
    ->Arg(4)
    ->Iterations(1)
    ->UseRealTime()
    ->Unit(benchmark::kMillisecond);

void BM_SoxThroughAlsaNull(benchmark::State& state) {
  const std::string dir = std::filesystem::temp_directory_path() / "sonalix-bench-devices";
  std::filesystem::create_directories(dir);
  const std::string wav = dir + "/tone.wav";
  {
    WavWriter w(wav, 44100, 2, 16);
    std::vector<float> v(2 * 44100);
    for (int s = 0; s < kSeconds; ++s) {
      for (int i = 0; i < 44100; ++i)
        v[size_t(2 * i)] = v[size_t(2 * i + 1)] = float(0.5 * std::sin(0.05 * (s * 44100.0 + i)));
      w.Write(v.data(), 44100);
    }
    w.Close();
  }
  for (auto _ : state) {
    const auto t0 = Clock::now();
    const std::string cmd = "sox -q " + wav + " -t alsa null rate 48000 2>/dev/null";
    if (std::system(cmd.c_str()) != 0) return state.SkipWithError("sox cannot play to ALSA null");
    const double wall = std::chrono::duration<double>(Clock::now() - t0).count();
    state.counters["x_realtime"] = kSeconds / wall;
  }
}
BENCHMARK(BM_SoxThroughAlsaNull)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);

}  // namespace
