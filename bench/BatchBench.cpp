// The batch converter against lame: 20 one-minute 44.1 kHz stereo WAVs through Amplify and Echo
// to MP3 at 192 kbps CBR, one worker per core, beside `lame --quiet -b 192` on the same files
// with as many running at once as there are cores. The two take turns in every round; the row
// reports the minimum and median wall times of each over the rounds, their ratio (ours / lame,
// below 1 is faster) and the CPU time over wall time of each.
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <thread>
#include <vector>

#include "BenchCommon.h"
#include "appbase/Globals.h"
#include "appbase/Utils.h"
#include "audio/WavFile.h"
#include "operations/BatchCommands.h"
#include "operations/BatchPipeline.h"

namespace fs = std::filesystem;

namespace {

constexpr int kFiles = 20;
constexpr int kSeconds = 60;

std::vector<std::string> Inputs() {
  std::vector<std::string> files;
  const fs::path folder = BenchFolder() / "batch-inputs";
  fs::create_directories(folder);
  for (int i = 0; i < kFiles; ++i) {
    const fs::path path = folder / ("batch-" + std::to_string(i) + ".wav");
    if (!fs::exists(path) || fs::file_size(path) != 44 + uint64_t(kSeconds) * 44100 * 4) {
      // Each file a little different, so no two encodes are alike.
      const double f = 220.0 + 37.0 * i;
      std::vector<float> v(size_t(2) * 44100 * kSeconds);
      uint32_t seed = uint32_t(i + 1);
      for (size_t k = 0; k < v.size() / 2; ++k) {
        const double t = double(k) / 44100;
        seed = seed * 1664525u + 1013904223u;
        const float noise = float(int32_t(seed) / 2147483648.0 * 0.05);
        v[2 * k] = float(0.3 * std::sin(2 * M_PI * f * t)) + noise;
        v[2 * k + 1] = float(0.3 * std::sin(2 * M_PI * f * 1.5 * t)) - noise;
      }
      WavWriter w(path.string(), 44100, 2, 16);
      w.Write(v.data(), int64_t(v.size() / 2));
      w.Close();
    }
    files.push_back(path.string());
  }
  return files;
}

double CpuSeconds(int who) {
  rusage u{};
  getrusage(who, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) +
         double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// One batch run: the workers take the files in order, as the converter window's do.
void RunOurs(const std::vector<std::string>& files, const fs::path& out) {
  TGlobalVars settings;
  SetDefaultGlobalVars(settings);
  settings.BatchFileFormatUseTheSame = false;
  settings.BatchFileFormatIndex = 1;
  settings.OutputMP3Type = 1;
  settings.OutputMP3CBR = true;
  for (int i = 0; i < 32; ++i)
    if (Mp3CbrBitRateFromIndex(i) == 192) {
      settings.OutputMP3CBRBitRate = uint8_t(i);
      break;
    }
  settings.OutputMP3Mode = 0;
  const TBatchChain chain = {{bcAmplify, {120}}, {bcEcho, {200, 70, 40}}};
  std::atomic<size_t> next{0};
  std::atomic<bool> stop{false};
  std::vector<std::thread> workers;
  const unsigned n = std::max(1u, std::thread::hardware_concurrency());
  for (unsigned w = 0; w < n; ++w)
    workers.emplace_back([&] {
      TBatchFileConverter converter(chain, settings);
      for (size_t i; (i = next++) < files.size();) {
        TBatchOutcome o = converter.Convert(files[i], out.string() + "/", stop);
        if (!o.Ok) std::abort();
        fs::remove(o.WorkFile);
      }
    });
  for (std::thread& t : workers) t.join();
}

void RunLame(const std::vector<std::string>& files, const fs::path& out) {
  std::string list;
  for (const std::string& f : files) list += f + "\n";
  const fs::path listFile = out / "list.txt";
  FILE* l = std::fopen(listFile.c_str(), "w");
  std::fputs(list.c_str(), l);
  std::fclose(l);
  const std::string cmd = "cd '" + out.string() + "' && xargs -P " +
                          std::to_string(std::max(1u, std::thread::hardware_concurrency())) +
                          " -I{} sh -c 'lame --quiet -b 192 \"{}\" \"$(basename \"{}\" .wav).mp3\"' < list.txt";
  if (std::system(cmd.c_str()) != 0) std::abort();
}

void BM_BatchVsLame(benchmark::State& state) {
  const std::vector<std::string> files = Inputs();
  const fs::path out = BenchFolder() / "batch-out";
  std::vector<double> ours, lame, oursCpu, lameCpu;
  for (auto _ : state) {
    fs::remove_all(out);
    fs::create_directories(out);
    double c0 = CpuSeconds(RUSAGE_SELF), t0 = BenchNow();
    RunOurs(files, out);
    ours.push_back(BenchNow() - t0);
    oursCpu.push_back(CpuSeconds(RUSAGE_SELF) - c0);
    c0 = CpuSeconds(RUSAGE_CHILDREN);
    t0 = BenchNow();
    RunLame(files, out);
    lame.push_back(BenchNow() - t0);
    lameCpu.push_back(CpuSeconds(RUSAGE_CHILDREN) - c0);
  }
  state.counters["ours_min_s"] = *std::min_element(ours.begin(), ours.end());
  state.counters["ours_median_s"] = Median(ours);
  state.counters["lame_min_s"] = *std::min_element(lame.begin(), lame.end());
  state.counters["lame_median_s"] = Median(lame);
  state.counters["ratio_min"] = state.counters["ours_min_s"] / state.counters["lame_min_s"];
  state.counters["ratio_median"] = Median(ours) / Median(lame);
  double oc = 0, ow = 0, lc = 0, lw = 0;
  for (size_t i = 0; i < ours.size(); ++i) oc += oursCpu[i], ow += ours[i], lc += lameCpu[i], lw += lame[i];
  state.counters["ours_cpu_per_wall"] = oc / ow;
  state.counters["lame_cpu_per_wall"] = lc / lw;
  state.counters["cores"] = std::thread::hardware_concurrency();
}

BENCHMARK(BM_BatchVsLame)->Name("Batch/AmplifyEcho_Mp3Cbr192_20x60s")->Iterations(3)->Unit(benchmark::kSecond)->UseRealTime();

}  // namespace
