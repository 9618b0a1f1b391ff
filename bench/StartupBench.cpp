// Start-up of the editor under Xvfb, from starting the process to its first complete paint,
// beside a bare Qt Widgets program with a menu bar, two toolbars, an MDI area and a status bar;
// and with the one-hour WAV of the engine benchmarks on the command line, to its first painted
// waveform, beside that bare program plus `ffmpeg -i file -f null -` reading the file.
// Counters: ours_ms, theirs_ms and vs_theirs (ours divided by theirs; the goals are 3 and 1).
#include <benchmark/benchmark.h>

#include <QProcess>
#include <QStandardPaths>
#include <QStringList>
#include <cmath>
#include <csignal>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "BenchCommon.h"
#include "audio/WavFile.h"

namespace fs = std::filesystem;

namespace {

int64_t MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// One X server for the whole run, on a display of its own.
std::string Display() {
  static std::string display = [] {
    const int number = 170 + int(getpid() % 200);
    const std::string name = ":" + std::to_string(number);
    auto* server = new QProcess;
    server->start("Xvfb", {QString::fromStdString(name), "-screen", "0", "1280x900x24", "-nolisten", "tcp"});
    const fs::path socket = "/tmp/.X11-unix/X" + std::to_string(number);
    for (int i = 0; i < 100 && !fs::exists(socket); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
    BenchAtEnd([server] {
      server->terminate();
      server->waitForFinished(3000);
      delete server;
    });
    return name;
  }();
  return display;
}

// Milliseconds from starting Program to the paint it reports through the probe file.
double StartToPaintMs(const std::string& Program, const QStringList& Args) {
  const fs::path probe = BenchFolder() / "startup-probe.txt";
  fs::remove(probe);
  const fs::path home = BenchFolder() / "startup-home";
  fs::create_directories(home);
  QProcess p;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("DISPLAY", QString::fromStdString(Display()));
  env.insert("QT_QPA_PLATFORM", "xcb");
  env.insert("SONALIX_AUDIO", "null");
  env.insert("SONALIX_STARTUP_PROBE", QString::fromStdString(probe.string()));
  for (const char* v : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME"})
    env.insert(v, QString::fromStdString((home / v).string()));
  p.setProcessEnvironment(env);
  const int64_t start = MonotonicNs();
  p.start(QString::fromStdString(Program), Args);
  if (!p.waitForFinished(300000)) {
    p.kill();
    p.waitForFinished();
    return NAN;
  }
  std::ifstream in(probe);
  int64_t painted = 0;
  if (!(in >> painted)) return NAN;
  return double(painted - start) / 1e6;
}

double FfmpegReadsMs(const std::string& File) {
  QProcess p;
  const int64_t start = MonotonicNs();
  p.start("ffmpeg", {"-v", "quiet", "-i", QString::fromStdString(File), "-f", "null", "-"});
  p.waitForFinished(300000);
  return double(MonotonicNs() - start) / 1e6;
}

void Report(benchmark::State& state, double ours, double theirs) {
  state.counters["ours_ms"] = ours / double(state.iterations());
  state.counters["theirs_ms"] = theirs / double(state.iterations());
  state.counters["vs_theirs"] = ours / theirs;
}

void BM_StartupToFirstPaint(benchmark::State& state) {
  double ours = 0, theirs = 0;
  for (auto _ : state) {
    ours += StartToPaintMs(SONALIX_PROGRAM, {});
    theirs += StartToPaintMs(SONALIX_BARE_PROGRAM, {});
  }
  Report(state, ours, theirs);
}

void BM_StartupWithOneHourWav(benchmark::State& state) {
  const std::string file = BenchTwoToneWav(3600);
  double ours = 0, theirs = 0;
  for (auto _ : state) {
    ours += StartToPaintMs(SONALIX_PROGRAM, {QString::fromStdString(file)});
    theirs += StartToPaintMs(SONALIX_BARE_PROGRAM, {}) + FfmpegReadsMs(file);
  }
  Report(state, ours, theirs);
}

}  // namespace

BENCHMARK(BM_StartupToFirstPaint)->Iterations(5)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(BM_StartupWithOneHourWav)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
