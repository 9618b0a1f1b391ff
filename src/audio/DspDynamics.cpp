#include "audio/DspDynamics.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/DspKernels.h"
#include "audio/DspParallel.h"
#include "audio/DspTarget.h"

namespace {

// The detector and the gain move once per control step of this many frames; between steps the
// gain is interpolated linearly, frame by frame. Each step's gain is decided from the input
// before it, so a run cut anywhere gives the same result as in one piece.
constexpr int kStep = 32;
constexpr double kRmsTime = 0.010;
constexpr double kAttack = 0.005;
constexpr double kRelease = 0.100;
// Warm-up of a piece run on its own: the release has long forgotten its start by then.
constexpr double kSettleTime = 3.0;

struct Setup {
  double Threshold, Slope, Mix;
  double ARms, AAttack, ARelease;
};

DSP_CLONES void RampAndMeasure(float* __restrict d, int frames, int channels, int position,
                               float from, float to, double* squares) {
  const float step = (to - from) / float(kStep);
  const float g0 = from + step * float(position + 1);
  if (channels == 1) {
    float acc = 0;
    for (int i = 0; i < frames; ++i) {
      acc += d[i] * d[i];
      d[i] *= g0 + step * float(i);
    }
    squares[0] += acc;
  } else if (channels == 2) {
    float l = 0, r = 0;
    for (int i = 0; i < frames; ++i) {
      l += d[2 * i] * d[2 * i];
      r += d[2 * i + 1] * d[2 * i + 1];
      const float g = g0 + step * float(i);
      d[2 * i] *= g;
      d[2 * i + 1] *= g;
    }
    squares[0] += l;
    squares[1] += r;
  } else {
    for (int i = 0; i < frames; ++i) {
      const float g = g0 + step * float(i);
      for (int c = 0; c < channels; ++c) {
        float& v = d[size_t(i) * size_t(channels) + size_t(c)];
        squares[c] += double(v) * v;
        v *= g;
      }
    }
  }
}

// The squares as RampAndMeasure sums them, in the same order, without touching the frames.
DSP_CLONES void Measure(const float* __restrict d, int frames, int channels, double* squares) {
  if (channels == 1) {
    float acc = 0;
    for (int i = 0; i < frames; ++i) acc += d[i] * d[i];
    squares[0] += acc;
  } else if (channels == 2) {
    float l = 0, r = 0;
    for (int i = 0; i < frames; ++i) {
      l += d[2 * i] * d[2 * i];
      r += d[2 * i + 1] * d[2 * i + 1];
    }
    squares[0] += l;
    squares[1] += r;
  } else {
    for (int i = 0; i < frames * channels; ++i) squares[i % channels] += double(d[i]) * d[i];
  }
}

// Runs the detector and the gain over `frames` frames; the frames are changed only when `apply`.
void Run(const Setup& k, DspCompressorState& st, float* d, size_t frames, int channels,
         bool apply = true) {
  if (st.Squares.size() != size_t(channels)) {
    st.Squares.assign(size_t(channels), 0.0);
    st.Level.assign(size_t(channels), 0.0);
  }
  size_t i = 0;
  while (i < frames) {
    if (st.Position == 0) {
      // Each channel's level is smoothed on its own; the loudest decides.
      const double level = *std::max_element(st.Level.begin(), st.Level.end());
      const double levelDb = 10 * std::log10(2 * level + 1e-30);
      const double over = levelDb - k.Threshold;
      const double target = over > 0 ? -over * k.Slope : 0.0;
      st.GainDb += (target < st.GainDb ? k.AAttack : k.ARelease) * (target - st.GainDb);
      st.From = st.To;
      st.To = float(k.Mix * std::pow(10.0, st.GainDb / 20) + (1 - k.Mix));
    }
    const size_t n = std::min(size_t(kStep - st.Position), frames - i);
    if (apply)
      RampAndMeasure(d + i * size_t(channels), int(n), channels, st.Position, st.From, st.To,
                     st.Squares.data());
    else
      Measure(d + i * size_t(channels), int(n), channels, st.Squares.data());
    st.Position += int(n);
    i += n;
    if (st.Position == kStep) {
      for (int c = 0; c < channels; ++c) {
        st.Level[size_t(c)] += k.ARms * (st.Squares[size_t(c)] / kStep - st.Level[size_t(c)]);
        st.Squares[size_t(c)] = 0;
      }
      st.Position = 0;
    }
  }
}

void Process(const Setup& k, const DspSignal& s, DspCompressorState& st,
             const DspProgress& progress) {
  const size_t settle = size_t(std::ceil(kSettleTime * s.SampleRate / kStep)) * kStep;
  // Pieces start on control steps of the whole run.
  const size_t offset = st.Position ? size_t(kStep - st.Position) : 0;
  size_t pieces = 1;
  if (s.Frames > offset && (s.Frames - offset) / 8 > settle)
    pieces = DspPieceCount(s.Frames - offset, std::max<size_t>(1 << 16, settle * 4));
  auto begin = [&](size_t i) {
    if (i == 0) return size_t(0);
    if (i == pieces) return s.Frames;
    const size_t b = offset + (s.Frames - offset) * i / pieces;
    return b - (b - offset) % kStep;
  };
  // Each later piece first warms its detector on the input before it, read while nobody has
  // written yet; only then are the pieces compressed in place. (Copying those inputs instead
  // cost more than the whole effect: fresh memory on every call, given back while the workers
  // ran.)
  struct alignas(64) Own {  // a cache line of its own for each worker's state
    DspCompressorState State;
  };
  std::vector<Own> states(pieces);
  if (pieces > 1)
    DspParallelFor(pieces - 1, [&](size_t i) {
      Run(k, states[i + 1].State, s.Frame(begin(i + 1) - settle), settle, s.Channels, false);
    });
  auto item = [&](size_t i) {
    Run(k, i == 0 ? st : states[i].State, s.Frame(begin(i)), begin(i + 1) - begin(i), s.Channels);
  };
  std::function<void(size_t, size_t)> report;
  if (progress) report = [&](size_t done, size_t count) { progress(int(100 * done / count)); };
  DspParallelFor(pieces, item, report);
  if (pieces > 1) {
    const DspCompressorState& last = states.back().State;
    st.Level = last.Level;
    st.GainDb = last.GainDb;
    st.From = last.From;
    st.To = last.To;
    st.Position = last.Position;
    st.Squares = last.Squares;
  }
}

}  // namespace

void DspCheckCompressor(double threshold, double rate, double amount) {
  DspCheckRange("Dynamic Range Compressor", "the threshold", threshold, -40, 0, "dB");
  DspCheckRange("Dynamic Range Compressor", "the rate", rate, 0, 100, "%");
  DspCheckRange("Dynamic Range Compressor", "the amount", amount, 0, 100, "%");
}

void DspCompressor(const DspSignal& s, double threshold, double rate, double amount,
                   DspStreams* streams, const DspProgress& progress) {
  DspCheckCompressor(threshold, rate, amount);
  Setup k;
  k.Threshold = threshold;
  k.Slope = rate / 100;  // 1 - 1 / ratio
  k.Mix = amount / 100;
  const double fs = s.SampleRate;
  k.ARms = 1 - std::exp(-kStep / (kRmsTime * fs));
  k.AAttack = 1 - std::exp(-kStep / (kAttack * fs));
  k.ARelease = 1 - std::exp(-kStep / (kRelease * fs));
  if (streams && streams->InBlock()) {
    char key[160];
    std::snprintf(key, sizeof key, "compressor|%.17g|%.17g|%.17g|%.17g|%d", threshold, rate, amount,
                  fs, s.Channels);
    bool continued = false;
    Process(k, s, streams->Acquire<DspCompressorState>(key, continued), progress);
  } else {
    DspCompressorState st;
    Process(k, s, st, progress);
  }
}
