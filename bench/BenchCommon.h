#pragma once
// What the benchmarks share: where their inputs live, how long the long inputs are, and the
// harness that sets one of our effects beside sox running the matching effect on the same WAV.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "audio/DspCommon.h"

// $SONALIX_BENCH_DIR (default /tmp/sonalix-bench), created on first use. Inputs are made once
// and kept there between runs.
std::filesystem::path BenchFolder();
// $SONALIX_BENCH_SECONDS (default 3600): the length of the effect benchmarks' input.
int BenchSeconds();
double BenchNow();
// The WAV `name` in BenchFolder(): BenchSeconds() of 44.1 kHz 16-bit stereo, each frame from
// `frame` (time in seconds -> left, right), made only when missing or of another length.
std::string BenchInputWav(const std::string& name,
                          const std::function<void(double t, float& left, float& right)>& frame);

// The engine benchmarks' input: `seconds` of a two-tone signal (440 Hz left, 660 Hz right),
// 44.1 kHz 16-bit stereo, "input-<seconds>s.wav" in BenchFolder(), made only when missing.
std::string BenchTwoToneWav(int seconds);

// Work to do before the process exits, while every library is still up (an application object
// a benchmark made, for instance): run by BenchTearDown in reverse order of registration.
void BenchAtEnd(std::function<void()> work);
void BenchTearDown();

// An offscreen Qt application, made once unless one exists, and freed by BenchTearDown.
void BenchEnsureApplication();

struct SoxPair {
  const char* Name;
  std::string SoxEffect;  // the arguments after "sox in.wav -n"
  std::function<void(const DspSignal&)> Ours;
};

// Registers "Sox/<name>" and "<prefix>/<name>" for every pair. The sox row times the effect and,
// in turn with it, sox's no-op pass (gain 0) on the same file: noop_ms is what sox spends reading
// the file and starting, effect_ms the effect alone (the difference). Ours runs on a fresh copy
// of the input's samples each iteration (effects work in place); its row carries vs_sox, sox's
// whole time divided by ours, vs_sox_effect, sox's effect alone divided by ours, and
// audio_x_realtime. The input is read once from the file `input` makes.
void RegisterSoxComparisons(const std::string& prefix, std::function<std::string()> input,
                            const std::vector<SoxPair>& pairs, int iterations);
