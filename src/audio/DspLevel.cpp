#include "audio/DspLevel.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <mutex>

#include "audio/DspKernels.h"
#include "audio/DspTarget.h"

namespace {

// Gain changes are bound by memory speed: pieces only need to be big enough to hide the
// hand-over to the pool.
constexpr size_t kMinPiece = 1 << 16;

}  // namespace

void DspCheckAmplify(double percent) { DspCheckRange("Amplify", "the gain", percent, 0, 999, "%"); }

void DspCheckFade(double startPercent, double endPercent) {
  DspCheckRange("Fade", "the initial level", startPercent, 0, 100, "%");
  DspCheckRange("Fade", "the final level", endPercent, 0, 100, "%");
}

void DspCheckNormalize(double percent, int channelMode) {
  DspCheckRange("Normalize", "the peak level", percent, 0, 100, "%");
  if (channelMode != -1)
    DspFail("Normalize: the channel mode must be -1 (one gain for all channels), not " +
            std::to_string(channelMode) + ".");
}

void DspCheckEnvelope(const std::vector<float>& gains) {
  if (gains.empty()) DspFail("Envelope: the gain curve is empty.");
  for (float g : gains)
    if (!(g >= 0) || std::isinf(g)) DspCheckRange("Envelope", "every gain", g, 0, 1e30, "");
}

void DspCheckMixStereo(double ll, double lr, double rl, double rr) {
  DspCheckRange("Mix Stereo", "left from left", ll, 0, 100, "%");
  DspCheckRange("Mix Stereo", "left from right", lr, 0, 100, "%");
  DspCheckRange("Mix Stereo", "right from left", rl, 0, 100, "%");
  DspCheckRange("Mix Stereo", "right from right", rr, 0, 100, "%");
}

void DspAmplify(const DspSignal& s, double percent, const DspProgress& progress) {
  DspCheckAmplify(percent);
  const float g = float(percent / 100.0);
  const size_t ch = size_t(s.Channels);
  DspForPieces(s.Frames, kMinPiece, progress, 0, 100, [&](size_t a, size_t b) {
    DspMultiply(s.Data + a * ch, g, (b - a) * ch);
  });
}

void DspFade(const DspSignal& s, double startPercent, double endPercent,
             const DspProgress& progress) {
  DspCheckFade(startPercent, endPercent);
  const double g0 = startPercent / 100.0;
  const double g1 = endPercent / 100.0;
  // The end points are exact: the first frame gets g0 and the last g1.
  const double step = s.Frames > 1 ? (g1 - g0) / double(s.Frames - 1) : 0.0;
  const size_t ch = size_t(s.Channels);
  DspForPieces(s.Frames, kMinPiece, progress, 0, 100, [&](size_t a, size_t b) {
    DspGainRamp(s.Data + a * ch, b - a, s.Channels, g0 + double(a) * step, step);
  });
}

void DspNormalize(const DspSignal& s, double percent, int channelMode,
                  const DspProgress& progress) {
  DspCheckNormalize(percent, channelMode);
  const size_t ch = size_t(s.Channels);
  std::mutex m;
  float peak = 0;
  DspForPieces(s.Frames, kMinPiece, progress, 0, 50, [&](size_t a, size_t b) {
    const float p = DspPeak(s.Data + a * ch, (b - a) * ch);
    std::lock_guard lock(m);
    peak = std::max(peak, p);
  });
  if (!(peak > 0) || !std::isfinite(peak)) {
    if (progress) progress(100);
    return;
  }
  const float g = float((percent / 100.0) / double(peak));
  DspForPieces(s.Frames, kMinPiece, progress, 50, 100, [&](size_t a, size_t b) {
    DspMultiply(s.Data + a * ch, g, (b - a) * ch);
  });
}

void DspEnvelope(const DspSignal& s, const std::vector<float>& gains, const DspProgress& progress) {
  DspCheckEnvelope(gains);
  const size_t n = s.Frames;
  if (n == 0) return;
  const size_t m = gains.size();
  const size_t ch = size_t(s.Channels);
  if (m == 1 || n == 1) {
    DspForPieces(n, kMinPiece, progress, 0, 100, [&](size_t a, size_t b) {
      DspMultiply(s.Data + a * ch, gains[0], (b - a) * ch);
    });
    return;
  }
  // Point k sits at frame k (n - 1) / (m - 1); between points the gain moves linearly.
  const double scale = double(m - 1) / double(n - 1);  // curve position per frame
  auto gainAt = [&](size_t i) {
    const double u = double(i) * scale;
    const size_t k = std::min(m - 2, size_t(u));
    return std::pair<size_t, double>(k, u - double(k));
  };
  DspForPieces(n, kMinPiece, progress, 0, 100, [&](size_t a, size_t b) {
    size_t i = a;
    while (i < b) {
      const auto [k, frac] = gainAt(i);
      // Last frame of segment k: the largest i with i * scale < k + 1 (or the end).
      size_t end = k + 2 >= m ? b : size_t(std::ceil(double(k + 1) / scale));
      while (end > i + 1 && double(end - 1) * scale >= double(k + 1)) --end;
      while (end < b && double(end) * scale < double(k + 1)) ++end;
      end = std::clamp(end, i + 1, b);
      const double d = double(gains[k + 1]) - double(gains[k]);
      DspGainRamp(s.Data + i * ch, end - i, s.Channels, double(gains[k]) + d * frac, d * scale);
      i = end;
    }
  });
}

void DspSilence(const DspSignal& s) { DspClear(s.Data, s.Samples()); }

void DspReverse(const DspSignal& s) {
  const size_t n = s.Frames;
  const size_t ch = size_t(s.Channels);
  const size_t half = n / 2;
  DspForPieces(half, kMinPiece, {}, 0, 100, [&](size_t a, size_t b) {
    for (size_t i = a; i < b; ++i) {
      float* x = s.Data + i * ch;
      float* y = s.Data + (n - 1 - i) * ch;
      for (size_t c = 0; c < ch; ++c) std::swap(x[c], y[c]);
    }
  });
}

namespace {

DSP_CLONES void MixStereoRun(float* __restrict d, size_t frames, float ll, float lr, float rl,
                             float rr) {
  for (size_t i = 0; i < frames; ++i) {
    const float l = d[2 * i], r = d[2 * i + 1];
    d[2 * i] = ll * l + lr * r;
    d[2 * i + 1] = rl * l + rr * r;
  }
}

}  // namespace

void DspMixStereo(const DspSignal& s, double ll, double lr, double rl, double rr,
                  const DspProgress& progress) {
  DspCheckMixStereo(ll, lr, rl, rr);
  if (s.Channels != 2) return;
  DspForPieces(s.Frames, kMinPiece, progress, 0, 100, [&](size_t a, size_t b) {
    MixStereoRun(s.Data + a * 2, b - a, float(ll / 100), float(lr / 100), float(rl / 100),
                 float(rr / 100));
  });
}
