// The editing engine on a one-hour 44.1 kHz stereo WAV: opening (against `cat` reading the same
// file and ffmpeg decoding it), edits (the same edits on documents from one minute to ten hours:
// their cost must not grow with the length), and the memory that 100 undo steps add. The input goes to $SONALIX_BENCH_DIR
// (default /tmp/sonalix-bench) and is made once.
#include <benchmark/benchmark.h>
#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iomanip>
#include <memory>
#include <string>
#include <vector>

#include "audio/AudioDocument.h"
#include "audio/BlockStore.h"
#include "audio/WavFile.h"
#include "BenchCommon.h"

namespace fs = std::filesystem;

namespace {

std::string Input(int seconds) { return BenchTwoToneWav(seconds); }

long RssKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0, resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

void BM_CatReadsFile(benchmark::State& state) {
  const std::string path = Input(int(state.range(0)));
  const std::string command = "cat '" + path + "' > /dev/null";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("cat failed");
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(path)));
}

// Arg 1 = 1: memory freed by the previous open is given back to the system first.
void BM_OpenAndSummarise(benchmark::State& state) {
  const std::string path = Input(int(state.range(0)));
  const bool cold = state.range(1) != 0;
  double firstScreen = 0;  // ms until the first ten seconds could be drawn
  for (auto _ : state) {
    auto doc = std::make_unique<AudioDocument>();
    doc->SetTempDirectory((BenchFolder() / "swap").string());
    doc->SetProgressDelay(0);
    const auto start = std::chrono::steady_clock::now();
    bool drawn = false;
    doc->OnBlockOperation = [&](int16_t) {
      const AudioDocument::TLoadingView* view = doc->Loading();
      if (drawn || !view || view->Samples->Length() < 441000) return;
      benchmark::DoNotOptimize(view->Samples->Summary(0, 0, 441000));
      drawn = true;
      firstScreen +=
          std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
              .count();
    };
    doc->OpenFile(path);
    benchmark::DoNotOptimize(doc->Samples().Summary(0, 0, 44100 * 10));
    state.PauseTiming();  // closing is not part of opening
    doc.reset();
    if (cold) malloc_trim(0);
    state.ResumeTiming();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(fs::file_size(path)));
  state.counters["first_screen_ms"] = firstScreen / double(state.iterations());
}

// One round of the edits a user makes: select ten seconds in the middle, cut, paste elsewhere,
// delete a second, then undo all three; time_per_edit is one of those six. Argument: the
// document's length in seconds. Up to an hour the document is the input file; longer ones are
// the hour pasted after itself (as many pieces of blocks as a file of that length). The cost
// must not grow with the length.
void BM_CutPasteDeleteUndo(benchmark::State& state) {
  const int seconds = int(state.range(0));
  AudioDocument doc;
  doc.SetTempDirectory((BenchFolder() / "swap").string());
  doc.OpenFile(Input(std::min(seconds, 3600)));
  const int64_t wanted = int64_t(seconds) * 44100;
  const int64_t hour = doc.Length();
  while (doc.Length() < wanted) {
    doc.Select(0, std::min(hour, wanted - doc.Length()));
    doc.Copy();
    doc.SetSelectionActive(false);
    doc.SetCursor(doc.Length());
    doc.Paste();
  }
  const int64_t mid = doc.Length() / 2;
  for (auto _ : state) {
    doc.Select(mid, mid + 441000);
    doc.Cut();
    doc.SetSelectionActive(false);
    doc.SetCursor(mid / 2);
    doc.Paste();
    doc.Select(mid / 3, mid / 3 + 44100);
    doc.DeleteSelection();
    doc.Undo();
    doc.Undo();
    doc.Undo();
  }
  state.counters["time_per_edit"] = benchmark::Counter(
      double(state.iterations()) * 6, benchmark::Counter::kIsRate | benchmark::Counter::kInvert,
      benchmark::Counter::kIs1000);
  state.counters["pieces"] = double(doc.Samples().PieceCount());
}

// 100 small edits kept in the undo history: memory beyond the document itself. Arg 1 = 1 runs
// with a 256 MB memory budget, so most of the document lives in the swap file.
void BM_HundredUndoSteps(benchmark::State& state) {
  const int64_t savedBudget = BlockStore::Instance().MemoryBudget();
  if (state.range(1)) BlockStore::Instance().SetMemoryBudget(int64_t(256) << 20);
  AudioDocument doc;
  doc.SetTempDirectory((BenchFolder() / "swap").string());
  doc.OpenFile(Input(int(state.range(0))));
  const long before = RssKb();
  const int64_t resident = BlockStore::Instance().ResidentBytes();
  for (auto _ : state) {
    for (int i = 0; i < 100; ++i) {
      const int64_t at = doc.Length() / 101 * (i + 1);
      doc.Select(at, at + 4410);
      doc.DeleteSelection();
    }
    state.PauseTiming();
    state.counters["resident_MB"] = double(resident) / 1e6;
    state.counters["history_extra_MB"] = double(RssKb() - before) / 1e3;
    for (int i = 0; i < 100; ++i) doc.Undo();
    state.ResumeTiming();
  }
  state.counters["swap_MB"] = double(BlockStore::Instance().SwapFileBytes()) / 1e6;
  state.counters["decoded_MB"] = double(doc.Length()) * doc.Channels() * 4 / 1e6;
  BlockStore::Instance().SetMemoryBudget(savedBudget);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.empty() ? 0 : v[v.size() / 2];
}

// The first open of a run against `cat` reading the same file and ffmpeg decoding it to nothing
// (`ffmpeg -v quiet -i f.wav -f null -`): each a new process, run in turn so all see the same
// machine. open_ms runs until the opening process has exited, ready_ms until its document was
// open (its teardown of the memory aside); x_cat, ready_x_cat and x_ffmpeg are the medians of
// the ratios round by round, start_ms the time until the opening process's main().
void BM_OpenInNewProcessVsCat(benchmark::State& state) {
  const std::string path = Input(int(state.range(0)));
  const std::string self = fs::read_symlink("/proc/self/exe").string();
  const fs::path times = BenchFolder() / ("open-times-" + std::to_string(::getpid()));
  const std::string open = "SONALIX_BENCH_OPEN='" + path + "' SONALIX_BENCH_OPEN_TIMES='" +
                           times.string() + "' '" + self + "'";
  const std::string cat = "cat '" + path + "' > /dev/null";
  const std::string ffmpeg = "ffmpeg -nostdin -v quiet -i '" + path + "' -f null -";
  bool failed = false;
  auto timed = [&](const std::string& command) {
    const double start = BenchNow();
    failed = std::system(command.c_str()) != 0 || failed;
    return std::pair{start, BenchNow() - start};
  };
  timed(cat);  // the file is in the page cache for all
  timed(open);
  std::vector<double> opens, readies, starts, cats, ffmpegs, ratios, readyRatios, ffmpegRatios;
  for (auto _ : state) {
    cats.push_back(timed(cat).second);
    const auto [start, whole] = timed(open);
    ffmpegs.push_back(timed(ffmpeg).second);
    double entered = 0, ready = 0;
    std::ifstream(times) >> entered >> ready;
    opens.push_back(whole);
    readies.push_back(ready - start);
    starts.push_back(entered - start);
    ratios.push_back(opens.back() / cats.back());
    readyRatios.push_back(readies.back() / cats.back());
    ffmpegRatios.push_back(opens.back() / ffmpegs.back());
  }
  fs::remove(times);
  if (failed) state.SkipWithError("a command failed");
  state.counters["open_ms"] = Median(opens) * 1e3;
  state.counters["ready_ms"] = Median(readies) * 1e3;
  state.counters["start_ms"] = Median(starts) * 1e3;
  state.counters["cat_ms"] = Median(cats) * 1e3;
  state.counters["ffmpeg_ms"] = Median(ffmpegs) * 1e3;
  state.counters["x_cat"] = Median(ratios);
  state.counters["ready_x_cat"] = Median(readyRatios);
  state.counters["x_ffmpeg"] = Median(ffmpegRatios);
}

void BM_SoxConvertRate(benchmark::State& state) {
  const std::string path = Input(int(state.range(0)));
  const std::string out = (BenchFolder() / "sox-out.wav").string();
  const std::string command = "sox -q '" + path + "' -r 48000 '" + out + "'";
  for (auto _ : state)
    if (std::system(command.c_str()) != 0) state.SkipWithError("sox failed");
}

void BM_EngineConvertRate(benchmark::State& state) {
  const std::string path = Input(int(state.range(0)));
  for (auto _ : state) {
    state.PauseTiming();
    AudioDocument doc;
    doc.OpenFile(path);
    state.ResumeTiming();
    doc.ConvertFormat(48000, 2);
  }
}
}  // namespace

BENCHMARK(BM_CatReadsFile)->Arg(3600)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_OpenAndSummarise)
    ->Args({3600, 1})
    ->Args({3600, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_OpenInNewProcessVsCat)
    ->Arg(3600)
    ->Iterations(9)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK(BM_CutPasteDeleteUndo)
    ->Arg(60)
    ->Arg(600)
    ->Arg(3600)
    ->Arg(36000)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HundredUndoSteps)
    ->Args({3600, 0})
    ->Args({3600, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SoxConvertRate)->Arg(60)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_EngineConvertRate)->Arg(60)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv) {
  if (const char* path = std::getenv("SONALIX_BENCH_OPEN")) {
    const double entered = BenchNow();
    AudioDocument doc;
    doc.SetTempDirectory((BenchFolder() / "swap").string());
    doc.OpenFile(path);
    benchmark::DoNotOptimize(doc.Samples().Summary(0, 0, doc.Length()));
    if (const char* times = std::getenv("SONALIX_BENCH_OPEN_TIMES"))
      std::ofstream(times) << std::setprecision(17) << entered << ' ' << BenchNow() << '\n';
    std::_Exit(0);  // as a user closing the program would not wait for the memory to be freed
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  BenchTearDown();
  benchmark::Shutdown();
  return 0;
}
