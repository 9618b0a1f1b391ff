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

struct SoxPair {
  const char* Name;
  std::string SoxEffect;  // the arguments after "sox in.wav -n"
  std::function<void(const DspSignal&)> Ours;
};

// Registers "Sox/<name>" and "<prefix>/<name>" for every pair. Ours runs on a fresh copy of the
// input's samples each iteration (effects work in place); its row carries vs_sox, sox's time
// divided by ours, and audio_x_realtime. The input is read once from the file `input` makes.
void RegisterSoxComparisons(const std::string& prefix, std::function<std::string()> input,
                            const std::vector<SoxPair>& pairs, int iterations);
