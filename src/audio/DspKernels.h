#pragma once
// The small vocabulary of float kernels every effect is built from. Speed lives here: the loops
// are written so the compiler vectorises them, and on x86-64 each kernel is compiled for AVX2 as
// well as the baseline, picked at load time.

#include <cstddef>

void DspClear(float* d, size_t n);
void DspCopy(float* d, const float* s, size_t n);
// d[i] += s[i]
void DspAdd(float* d, const float* s, size_t n);
// d[i] *= g
void DspMultiply(float* d, float g, size_t n);
// d[i] *= s[i]
void DspMultiplyBy(float* d, const float* s, size_t n);
// d[i] += s[i] * g
void DspMultiplyAdd(float* d, const float* s, float g, size_t n);
// Interleaved frames: frame i (all its channels) is multiplied by g0 + i * step. The ramp is
// evaluated per frame from its index, so long ramps do not drift.
void DspGainRamp(float* d, size_t frames, int channels, double g0, double step);
// Interleaved frames: frame i is multiplied by gains[i].
void DspMultiplyFrames(float* d, const float* gains, size_t frames, int channels);

// Samples from outside (files, devices, callers' arrays) enter the engine through this: NaN and
// infinite values become 0, so one damaged value cannot poison filters, meters or encoders.
void DspMakeFinite(float* d, size_t n);
// d[i] = s[i] limited to full scale (-1..1), non-finite values becoming 0; d may be s. Encoders
// take their input through this.
void DspClampFullScale(float* d, const float* s, size_t n);

void DspMinMax(const float* s, size_t n, float& lo, float& hi);
// Largest magnitude; 0 for n = 0.
float DspPeak(const float* s, size_t n);
// Sum of squares, accumulated in double so hour-long runs stay exact enough.
double DspSumOfSquares(const float* s, size_t n);
double DspRms(const float* s, size_t n);

// Deinterleaving helpers: channel c of interleaved frames into a plain run and back.
void DspExtractChannel(float* d, const float* s, size_t frames, int channels, int c);
void DspInsertChannel(float* d, const float* s, size_t frames, int channels, int c);

// Keeps denormal numbers out of the filters' recursions on this thread while alive.
class DspDenormalGuard {
 public:
  DspDenormalGuard();
  ~DspDenormalGuard();
  DspDenormalGuard(const DspDenormalGuard&) = delete;
  DspDenormalGuard& operator=(const DspDenormalGuard&) = delete;

 private:
  unsigned FSaved = 0;
};
