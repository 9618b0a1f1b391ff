#pragma once
// What the effect units share: the run of interleaved frames they work on, progress reporting
// and the checking of parameters against their documented ranges.

#include <cstddef>
#include <functional>
#include <string>

// Interleaved float frames, worked on in place.
struct DspSignal {
  float* Data = nullptr;
  size_t Frames = 0;
  int Channels = 1;
  double SampleRate = 44100;

  size_t Samples() const { return Frames * size_t(Channels); }
  float* Frame(size_t i) const { return Data + i * size_t(Channels); }
};

// Progress of one effect call in percent, 0 to 100, on the calling thread.
using DspProgress = std::function<void(int)>;

// Raises EArgumentOutOfRangeException naming the effect and the parameter when value is NaN or
// outside [lo, hi]; unit is shown after the numbers ("%", "dB", "Hz", "ms" or empty).
void DspCheckRange(const char* effect, const char* parameter, double value, double lo, double hi,
                   const char* unit);
// Raises the same error with a free text.
[[noreturn]] void DspFail(const std::string& message);

// Runs fn(begin, end) over pieces of [0, frames) on the pool, each at least minFrames long, and
// reports progress from `from` to `to` percent.
void DspForPieces(size_t frames, size_t minFrames, const DspProgress& progress, int from, int to,
                  const std::function<void(size_t, size_t)>& fn);
