#pragma once
// Helpers of the delay, modulation, reverb, noise-reduction and speed/pitch tests.

#include <cmath>
#include <functional>
#include <vector>

#include "audio/DspCommon.h"
#include "audio/DspStream.h"
#include "audio/DspTestSignals.h"

namespace dsptest {

inline DspSignal Wrap(std::vector<float>& v, int channels, double rate) {
  DspSignal s;
  s.Data = v.data();
  s.Channels = channels;
  s.Frames = v.size() / size_t(channels);
  s.SampleRate = rate;
  return s;
}

// An effect on a mono run that gives its result (the same run for in-place effects).
using MonoEffect = std::function<std::vector<float>(std::vector<float>&, double rate, DspStreams*)>;

// The batch converter's pattern: one-second blocks, each split into its two channels and the
// effect run on the left and then on the right, both marked as one block.
inline std::vector<float> RunInBlocks(const MonoEffect& effect, const std::vector<float>& stereo,
                                      double rate, std::vector<float>* rightOut = nullptr) {
  DspStreams streams;
  std::vector<float> left, right;
  const size_t frames = stereo.size() / 2, block = size_t(rate);
  for (size_t at = 0; at < frames; at += block) {
    const size_t n = std::min(block, frames - at);
    std::vector<float> l(n), r(n);
    for (size_t i = 0; i < n; ++i) {
      l[i] = stereo[2 * (at + i)];
      r[i] = stereo[2 * (at + i) + 1];
    }
    streams.BeginBlock();
    const std::vector<float> lo = effect(l, rate, &streams);
    const std::vector<float> ro = effect(r, rate, &streams);
    streams.EndBlock();
    left.insert(left.end(), lo.begin(), lo.end());
    right.insert(right.end(), ro.begin(), ro.end());
  }
  if (rightOut) *rightOut = right;
  return left;
}

inline std::vector<float> Channel(const std::vector<float>& v, int channels, int c) {
  std::vector<float> out(v.size() / size_t(channels));
  for (size_t i = 0; i < out.size(); ++i) out[i] = v[i * size_t(channels) + size_t(c)];
  return out;
}

inline double LargestDifference(const std::vector<float>& a, const std::vector<float>& b) {
  double m = a.size() == b.size() ? 0.0 : 1e9;
  for (size_t i = 0; i < std::min(a.size(), b.size()); ++i)
    m = std::max(m, double(std::fabs(a[i] - b[i])));
  return m;
}

// Frequency of the strongest tone of a mono run, from its rising zero crossings over [from, to).
inline double ToneFrequency(const std::vector<float>& v, double rate, size_t from, size_t to) {
  size_t first = 0, last = 0, count = 0;
  for (size_t i = from + 1; i < to; ++i)
    if (v[i - 1] < 0 && v[i] >= 0) {
      if (count == 0) first = i;
      last = i;
      ++count;
    }
  if (count < 2) return 0;
  return double(count - 1) * rate / double(last - first);
}

}  // namespace dsptest
