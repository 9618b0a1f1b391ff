#pragma once
// Generated test signals and level measurements for the effect tests.

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace dsptest {

constexpr double kPi = 3.14159265358979323846;

// Interleaved sine of `frames` frames on every channel (channel c phase-shifted by c radians).
inline std::vector<float> Sine(double freq, double rate, size_t frames, int channels = 1,
                               double amplitude = 1.0) {
  std::vector<float> v(frames * size_t(channels));
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      v[i * size_t(channels) + size_t(c)] =
          float(amplitude * std::sin(2 * kPi * freq * double(i) / rate + c));
  return v;
}

inline std::vector<float> Noise(size_t values, uint32_t seed = 7, double amplitude = 0.5) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> d(float(-amplitude), float(amplitude));
  std::vector<float> v(values);
  for (float& x : v) x = d(gen);
  return v;
}

// RMS in dB of channel c over frames [from, to).
inline double RmsDb(const std::vector<float>& v, int channels, int c, size_t from, size_t to) {
  double sum = 0;
  for (size_t i = from; i < to; ++i) {
    const double x = v[i * size_t(channels) + size_t(c)];
    sum += x * x;
  }
  return 10 * std::log10(sum / double(to - from) + 1e-300);
}

// Largest step between neighbouring samples of one channel, over frames [from, to).
inline double LargestStep(const std::vector<float>& v, int channels, int c, size_t from, size_t to) {
  double m = 0;
  for (size_t i = from + 1; i < to; ++i)
    m = std::max(m, double(std::fabs(v[i * size_t(channels) + size_t(c)] -
                                     v[(i - 1) * size_t(channels) + size_t(c)])));
  return m;
}

}  // namespace dsptest
