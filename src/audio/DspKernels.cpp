#include "audio/DspKernels.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
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
    // A 32-bit index converts to float in vector registers; a 64-bit one does not.
    const int m = int(n);
    if (channels == 1) {
      for (int i = 0; i < m; ++i) p[i] *= start + float(i) * fstep;
    } else if (channels == 2) {
      for (int i = 0; i < m; ++i) {
        const float g = start + float(i) * fstep;
        p[2 * i] *= g;
        p[2 * i + 1] *= g;
      }
    } else {
      for (int i = 0; i < m; ++i) {
        const float g = start + float(i) * fstep;
        for (int c = 0; c < channels; ++c) p[size_t(i) * size_t(channels) + size_t(c)] *= g;
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

namespace {

// Exponent all ones: an infinity or a NaN. Tested on the bits, which vectorises and holds also
// where the compiler may assume finite arithmetic.
inline bool NonFinite(float v) {
  uint32_t b;
  std::memcpy(&b, &v, sizeof b);
  return (b & 0x7f800000u) == 0x7f800000u;
}

}  // namespace

DSP_CLONES void DspMakeFinite(float* d, size_t n) {
  for (size_t i = 0; i < n; ++i) d[i] = NonFinite(d[i]) ? 0.0f : d[i];
}

DSP_CLONES void DspClampFullScale(float* d, const float* s, size_t n) {
  for (size_t i = 0; i < n; ++i) {
    const float v = NonFinite(s[i]) ? 0.0f : s[i];
    d[i] = std::min(std::max(v, -1.0f), 1.0f);
  }
}

// Peaks and extremes are taken on the bit patterns: for floats that are not NaN, the order of
// the patterns (mapped to a monotonic integer key) is the order of the values, and integer
// maximum reductions vectorise without licence to reorder floating-point arithmetic.
namespace {

inline int32_t OrderKey(float v) {
  int32_t b;
  std::memcpy(&b, &v, sizeof b);
  return b >= 0 ? b : b ^ 0x7fffffff;
}

inline float FromOrderKey(int32_t k) {
  const int32_t b = k >= 0 ? k : k ^ 0x7fffffff;
  float v;
  std::memcpy(&v, &b, sizeof v);
  return v;
}

}  // namespace

DSP_CLONES void DspMinMax(const float* s, size_t n, float& lo, float& hi) {
  if (n == 0) {
    lo = hi = 0;
    return;
  }
  int32_t mn = INT32_MAX, mx = INT32_MIN;
  for (size_t i = 0; i < n; ++i) {
    const int32_t k = OrderKey(s[i]);
    mn = k < mn ? k : mn;
    mx = k > mx ? k : mx;
  }
  lo = FromOrderKey(mn);
  hi = FromOrderKey(mx);
}

DSP_CLONES float DspPeak(const float* s, size_t n) {
  uint32_t mx = 0;
  for (size_t i = 0; i < n; ++i) {
    uint32_t b;
    std::memcpy(&b, &s[i], sizeof b);
    b &= 0x7fffffffu;
    mx = b > mx ? b : mx;
  }
  float v;
  std::memcpy(&v, &mx, sizeof v);
  return v;
}

// The sum keeps sixteen independent lanes, which the compiler turns into vector registers
// without being allowed to reorder floating-point sums on its own.
namespace {
constexpr size_t kLanes = 16;
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
