#include "audio/DspKernels.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#if defined(__x86_64__)
#include <xmmintrin.h>
#endif

#include "audio/DspTarget.h"

DSP_CLONES void DspClear(float* d, size_t n) {
  if (n) std::memset(d, 0, n * sizeof(float));
}

DSP_CLONES void DspCopy(float* d, const float* s, size_t n) {
  if (n && d != s) std::memmove(d, s, n * sizeof(float));
}

DSP_CLONES void DspAdd(float* __restrict d, const float* __restrict s, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] += s[i];
}

DSP_CLONES void DspMultiply(float* __restrict d, float g, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] *= g;
}

DSP_CLONES void DspMultiplyBy(float* __restrict d, const float* __restrict s, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] *= s[i];
}

DSP_CLONES void DspMultiplyAdd(float* __restrict d, const float* __restrict s, float g, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] += s[i] * g;
}

namespace {

// Within a chunk the ramp is computed in float from a small index; each chunk starts from a
// value computed in double, so the error never grows with the length of the ramp.
constexpr size_t kRampChunk = 4096;

}  // namespace

DSP_CLONES void DspGainRamp(float* __restrict d, size_t frames, int channels, double g0,
                            double step) {
  for (size_t base = 0; base < frames; base += kRampChunk) {
    const size_t n = std::min(kRampChunk, frames - base);
    const float start = float(g0 + double(base) * step);
    const float fstep = float(step);
    float* p = d + base * size_t(channels);
    if (channels == 1) {
      for (size_t i = 0; i < n; ++i) p[i] *= start + float(i) * fstep;
    } else if (channels == 2) {
      for (size_t i = 0; i < n; ++i) {
        const float g = start + float(i) * fstep;
        p[2 * i] *= g;
        p[2 * i + 1] *= g;
      }
    } else {
      for (size_t i = 0; i < n; ++i) {
        const float g = start + float(i) * fstep;
        for (int c = 0; c < channels; ++c) p[i * size_t(channels) + size_t(c)] *= g;
      }
    }
  }
}

DSP_CLONES void DspMultiplyFrames(float* __restrict d, const float* __restrict gains, size_t frames,
                                  int channels) {
  if (channels == 1) {
    for (size_t i = 0; i < frames; ++i) d[i] *= gains[i];
  } else if (channels == 2) {
    for (size_t i = 0; i < frames; ++i) {
      d[2 * i] *= gains[i];
      d[2 * i + 1] *= gains[i];
    }
  } else {
    for (size_t i = 0; i < frames; ++i)
      for (int c = 0; c < channels; ++c) d[i * size_t(channels) + size_t(c)] *= gains[i];
  }
}

// The reductions keep sixteen independent lanes, which the compiler turns into vector registers
// without being allowed to reorder floating-point sums on its own.
namespace {
constexpr size_t kLanes = 16;
}

DSP_CLONES void DspMinMax(const float* s, size_t n, float& lo, float& hi) {
  if (n == 0) {
    lo = hi = 0;
    return;
  }
  float mn[kLanes], mx[kLanes];
  for (size_t j = 0; j < kLanes; ++j) mn[j] = mx[j] = s[0];
  size_t i = 0;
  for (; i + kLanes <= n; i += kLanes)
    for (size_t j = 0; j < kLanes; ++j) {
      const float v = s[i + j];
      mn[j] = v < mn[j] ? v : mn[j];
      mx[j] = v > mx[j] ? v : mx[j];
    }
  float a = mn[0], b = mx[0];
  for (size_t j = 1; j < kLanes; ++j) {
    a = std::min(a, mn[j]);
    b = std::max(b, mx[j]);
  }
  for (; i < n; ++i) {
    a = std::min(a, s[i]);
    b = std::max(b, s[i]);
  }
  lo = a;
  hi = b;
}

DSP_CLONES float DspPeak(const float* s, size_t n) {
  float mx[kLanes] = {};
  size_t i = 0;
  for (; i + kLanes <= n; i += kLanes)
    for (size_t j = 0; j < kLanes; ++j) {
      const float v = std::fabs(s[i + j]);
      mx[j] = v > mx[j] ? v : mx[j];
    }
  float b = 0;
  for (size_t j = 0; j < kLanes; ++j) b = std::max(b, mx[j]);
  for (; i < n; ++i) b = std::max(b, std::fabs(s[i]));
  return b;
}

DSP_CLONES double DspSumOfSquares(const float* s, size_t n) {
  // Float lanes over short stretches, each stretch added into a double.
  constexpr size_t kStretch = 4096;
  double total = 0;
  for (size_t base = 0; base < n; base += kStretch) {
    const size_t m = std::min(kStretch, n - base);
    const float* p = s + base;
    float acc[kLanes] = {};
    size_t i = 0;
    for (; i + kLanes <= m; i += kLanes)
      for (size_t j = 0; j < kLanes; ++j) acc[j] += p[i + j] * p[i + j];
    double part = 0;
    for (size_t j = 0; j < kLanes; ++j) part += acc[j];
    for (; i < m; ++i) part += double(p[i]) * p[i];
    total += part;
  }
  return total;
}

double DspRms(const float* s, size_t n) { return n ? std::sqrt(DspSumOfSquares(s, n) / double(n)) : 0.0; }

DSP_CLONES void DspExtractChannel(float* __restrict d, const float* __restrict s, size_t frames,
                                  int channels, int c) {
  if (channels == 2) {
    const float* p = s + c;
    for (size_t i = 0; i < frames; ++i) d[i] = p[2 * i];
    return;
  }
  for (size_t i = 0; i < frames; ++i) d[i] = s[i * size_t(channels) + size_t(c)];
}

DSP_CLONES void DspInsertChannel(float* __restrict d, const float* __restrict s, size_t frames,
                                 int channels, int c) {
  if (channels == 2) {
    float* p = d + c;
    for (size_t i = 0; i < frames; ++i) p[2 * i] = s[i];
    return;
  }
  for (size_t i = 0; i < frames; ++i) d[i * size_t(channels) + size_t(c)] = s[i];
}

DspDenormalGuard::DspDenormalGuard() {
#if defined(__x86_64__)
  FSaved = _mm_getcsr();
  _mm_setcsr(FSaved | 0x8040);  // flush-to-zero and denormals-are-zero
#endif
}

DspDenormalGuard::~DspDenormalGuard() {
#if defined(__x86_64__)
  _mm_setcsr(FSaved);
#endif
}
