#include "audio/DspFilter.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numeric>

#include "audio/DspKernels.h"
#include "audio/DspParallel.h"
#include "audio/DspTarget.h"

namespace {

constexpr double kPi = 3.14159265358979323846;
// Design frequencies are held below this share of the sample rate: closer to half the rate the
// bilinear transform squeezes a section into a needle.
constexpr double kHighestShare = 0.45;

DspBiquad Normalised(double b0, double b1, double b2, double a0, double a1, double a2) {
  DspBiquad q;
  q.B0 = b0 / a0;
  q.B1 = b1 / a0;
  q.B2 = b2 / a0;
  q.A1 = a1 / a0;
  q.A2 = a2 / a0;
  return q;
}

double Omega(double frequency, double rate) {
  return 2 * kPi * std::min(frequency, kHighestShare * rate) / rate;
}

}  // namespace

DspBiquad DspBiquad::HighPass(double frequency, double q, double rate) {
  const double w = Omega(frequency, rate), c = std::cos(w), alpha = std::sin(w) / (2 * q);
  return Normalised((1 + c) / 2, -(1 + c), (1 + c) / 2, 1 + alpha, -2 * c, 1 - alpha);
}

DspBiquad DspBiquad::Peaking(double frequency, double q, double gainDb, double rate) {
  const double a = std::pow(10.0, gainDb / 40), w = Omega(frequency, rate), c = std::cos(w);
  const double alpha = std::sin(w) / (2 * q);
  return Normalised(1 + alpha * a, -2 * c, 1 - alpha * a, 1 + alpha / a, -2 * c, 1 - alpha / a);
}

DspBiquad DspBiquad::LowShelf(double frequency, double q, double gainDb, double rate) {
  const double a = std::pow(10.0, gainDb / 40), w = Omega(frequency, rate), c = std::cos(w);
  const double k = 2 * std::sqrt(a) * std::sin(w) / (2 * q);
  return Normalised(a * ((a + 1) - (a - 1) * c + k), 2 * a * ((a - 1) - (a + 1) * c),
                    a * ((a + 1) - (a - 1) * c - k), (a + 1) + (a - 1) * c + k,
                    -2 * ((a - 1) + (a + 1) * c), (a + 1) + (a - 1) * c - k);
}

DspBiquad DspBiquad::HighShelf(double frequency, double q, double gainDb, double rate) {
  const double a = std::pow(10.0, gainDb / 40), w = Omega(frequency, rate), c = std::cos(w);
  const double k = 2 * std::sqrt(a) * std::sin(w) / (2 * q);
  return Normalised(a * ((a + 1) + (a - 1) * c + k), -2 * a * ((a - 1) + (a + 1) * c),
                    a * ((a + 1) + (a - 1) * c - k), (a + 1) - (a - 1) * c + k,
                    2 * ((a - 1) - (a + 1) * c), (a + 1) - (a - 1) * c - k);
}

std::complex<double> DspBiquad::Response(double frequency, double rate) const {
  const std::complex<double> z1 = std::polar(1.0, -2 * kPi * frequency / rate);
  const std::complex<double> z2 = z1 * z1;
  return (B0 + B1 * z1 + B2 * z2) / (1.0 + A1 * z1 + A2 * z2);
}

double DspBiquad::PoleRadius() const {
  const double disc = A1 * A1 - 4 * A2;
  if (disc < 0) return std::sqrt(std::max(0.0, A2));  // complex pair: |p|^2 = a2
  const double r = std::sqrt(disc);
  return std::max(std::fabs((-A1 + r) / 2), std::fabs((-A1 - r) / 2));
}

void DspCascadeState::Fit(size_t sections, int channels) {
  const size_t n = sections * size_t(channels) * 2;
  if (Memory.size() != n) Memory.assign(n, 0.0);
}

double DspCascade::ResponseDb(double frequency, double rate) const {
  double db = 0;
  for (const auto& q : FSections) db += 20 * std::log10(std::abs(q.Response(frequency, rate)));
  return db;
}

namespace {

// Transposed direct form II; memory layout [channel][section][2].
// Stereo: both channels travel together in one vector register per memory.
typedef double Pair __attribute__((vector_size(16)));

template <int N>
__attribute__((always_inline)) inline void RunStereo(const DspBiquad* q, double* mem, float* d,
                                                     size_t frames) {
  Pair m1[N], m2[N], b0[N], b1[N], b2[N], a1[N], a2[N];
  for (int k = 0; k < N; ++k) {
    m1[k] = Pair{mem[k * 2], mem[(N + k) * 2]};
    m2[k] = Pair{mem[k * 2 + 1], mem[(N + k) * 2 + 1]};
    b0[k] = Pair{q[k].B0, q[k].B0};
    b1[k] = Pair{q[k].B1, q[k].B1};
    b2[k] = Pair{q[k].B2, q[k].B2};
    a1[k] = Pair{q[k].A1, q[k].A1};
    a2[k] = Pair{q[k].A2, q[k].A2};
  }
  for (size_t i = 0; i < frames; ++i) {
    Pair x = Pair{d[2 * i], d[2 * i + 1]};
    for (int k = 0; k < N; ++k) {
      const Pair y = b0[k] * x + m1[k];
      m1[k] = (b1[k] * x + m2[k]) - a1[k] * y;
      m2[k] = b2[k] * x - a2[k] * y;
      x = y;
    }
    d[2 * i] = float(x[0]);
    d[2 * i + 1] = float(x[1]);
  }
  for (int k = 0; k < N; ++k) {
    mem[k * 2] = m1[k][0];
    mem[(N + k) * 2] = m1[k][1];
    mem[k * 2 + 1] = m2[k][0];
    mem[(N + k) * 2 + 1] = m2[k][1];
  }
}

template <int C, int N>
__attribute__((always_inline)) inline void RunFixed(const DspBiquad* q, double* mem, float* d,
                                                    size_t frames) {
  if constexpr (C == 2) {
    RunStereo<N>(q, mem, d, frames);
    return;
  }
  double m1[C][N], m2[C][N];
  for (int c = 0; c < C; ++c)
    for (int k = 0; k < N; ++k) {
      m1[c][k] = mem[(c * N + k) * 2];
      m2[c][k] = mem[(c * N + k) * 2 + 1];
    }
  for (size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < C; ++c) {
      double x = d[i * C + c];
      for (int k = 0; k < N; ++k) {
        // Grouped so that only one multiply-add per memory waits for the output.
        const double y = q[k].B0 * x + m1[c][k];
        m1[c][k] = (q[k].B1 * x + m2[c][k]) - q[k].A1 * y;
        m2[c][k] = q[k].B2 * x - q[k].A2 * y;
        x = y;
      }
      d[i * C + c] = float(x);
    }
  }
  for (int c = 0; c < C; ++c)
    for (int k = 0; k < N; ++k) {
      mem[(c * N + k) * 2] = m1[c][k];
      mem[(c * N + k) * 2 + 1] = m2[c][k];
    }
}

void RunAny(const DspBiquad* q, size_t n, int channels, double* mem, float* d, size_t frames) {
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c) {
      double x = d[i * size_t(channels) + size_t(c)];
      double* m = mem + size_t(c) * n * 2;
      for (size_t k = 0; k < n; ++k) {
        const double y = q[k].B0 * x + m[2 * k];
        m[2 * k] = (q[k].B1 * x + m[2 * k + 1]) - q[k].A1 * y;
        m[2 * k + 1] = q[k].B2 * x - q[k].A2 * y;
        x = y;
      }
      d[i * size_t(channels) + size_t(c)] = float(x);
    }
}

template <int C>
__attribute__((always_inline)) inline bool RunChannels(const DspBiquad* q, size_t n, double* mem,
                                                       float* d, size_t frames) {
  switch (n) {
#define DSP_CASE(N)                    \
  case N:                              \
    RunFixed<C, N>(q, mem, d, frames); \
    return true;
    DSP_CASE(1) DSP_CASE(2) DSP_CASE(3) DSP_CASE(4) DSP_CASE(5) DSP_CASE(6)
    DSP_CASE(7) DSP_CASE(8) DSP_CASE(9) DSP_CASE(10) DSP_CASE(11) DSP_CASE(12)
#undef DSP_CASE
    default:
      return false;
  }
}

DSP_CLONES void Run(const DspBiquad* q, size_t n, int channels, double* mem, float* d,
                    size_t frames) {
  if (channels == 1 && RunChannels<1>(q, n, mem, d, frames)) return;
  if (channels == 2 && RunChannels<2>(q, n, mem, d, frames)) return;
  RunAny(q, n, channels, mem, d, frames);
}

// Smallest piece worth handing to the pool.
constexpr size_t kMinPiece = 1 << 15;

}  // namespace

size_t DspCascade::SettleFrames() const {
  // Frames until the slowest pole has decayed by 200 dB, with margin for repeated poles.
  double r = 0;
  for (const auto& q : FSections) r = std::max(r, q.PoleRadius());
  if (r <= 0) return 16;
  if (r >= 1) return size_t(-1);
  return size_t(std::ceil(1.5 * std::log(1e-10) / std::log(r))) + 16;
}

void DspCascade::Process(const DspSignal& s, DspCascadeState* state,
                         const DspProgress& progress) const {
  if (FSections.empty() || s.Frames == 0) {
    if (progress) progress(100);
    return;
  }
  const size_t n = FSections.size();
  const int ch = s.Channels;
  DspCascadeState local;
  DspCascadeState& st = state ? *state : local;
  st.Fit(n, ch);

  const size_t settle = SettleFrames();
  size_t pieces = 1;
  if (settle != size_t(-1) && s.Frames / 8 > settle)
    pieces = DspPieceCount(s.Frames, std::max(kMinPiece, settle * 4));

  // Each later piece needs the input that precedes it; it is copied before any piece is written.
  std::vector<std::vector<float>> lead(pieces);
  auto begin = [&](size_t i) { return s.Frames * i / pieces; };
  for (size_t i = 1; i < pieces; ++i) {
    const size_t b = begin(i), a = b - settle;
    lead[i].assign(s.Frame(a), s.Frame(b));
  }
  std::vector<double> endMemory;
  auto item = [&](size_t i) {
    const size_t a = begin(i), b = begin(i + 1);
    std::vector<double> mem;
    if (i == 0) {
      mem = st.Memory;
    } else {
      mem.assign(st.Memory.size(), 0.0);
      Run(FSections.data(), n, ch, mem.data(), lead[i].data(), settle);
    }
    Run(FSections.data(), n, ch, mem.data(), s.Frame(a), b - a);
    if (i + 1 == pieces) endMemory = std::move(mem);
  };
  std::function<void(size_t, size_t)> report;
  if (progress) report = [&](size_t done, size_t count) { progress(int(100 * done / count)); };
  DspParallelFor(pieces, item, report);
  st.Memory = std::move(endMemory);
}

void DspCheckHighPass(double cutoff, double amount) {
  DspCheckRange("High-Pass Filter", "the cut-off frequency", cutoff, 0, 9999, "Hz");
  DspCheckRange("High-Pass Filter", "the amount", amount, 0, 100, "%");
}

DspCascade DspHighPassDesign(double cutoff, double rate) {
  if (cutoff <= 0) return {};
  return DspCascade({DspBiquad::HighPass(cutoff, std::sqrt(0.5), rate)});
}

namespace {

std::string Key(const char* effect, std::initializer_list<double> values, const DspSignal& s) {
  std::string k = effect;
  char buf[40];
  for (double v : values) {
    std::snprintf(buf, sizeof buf, "|%.17g", v);
    k += buf;
  }
  std::snprintf(buf, sizeof buf, "|%.17g|%d", s.SampleRate, s.Channels);
  return k + buf;
}

void ProcessStream(const DspCascade& filter, const DspSignal& s, const std::string& key,
                   DspStreams* streams, const DspProgress& progress) {
  if (streams && streams->InBlock()) {
    bool continued = false;
    auto& st = streams->Acquire<DspCascadeState>(key, continued);
    filter.Process(s, &st, progress);
  } else {
    filter.Process(s, nullptr, progress);
  }
}

}  // namespace

void DspHighPass(const DspSignal& s, double cutoff, double amount, DspStreams* streams,
                 const DspProgress& progress) {
  DspCheckHighPass(cutoff, amount);
  DspCascade filter = DspHighPassDesign(cutoff, s.SampleRate);
  if (!filter.Empty() && amount < 100) {
    // Dry and filtered signal share the poles: the blend is one section with mixed zeros.
    const double m = amount / 100;
    DspBiquad q = filter.Sections()[0];
    q.B0 = (1 - m) + m * q.B0;
    q.B1 = (1 - m) * q.A1 + m * q.B1;
    q.B2 = (1 - m) * q.A2 + m * q.B2;
    filter = DspCascade({q});
  }
  ProcessStream(filter, s, Key("highpass", {cutoff, amount}, s), streams, progress);
}

// ---- equalizer -----------------------------------------------------------------------------

void DspCheckEqualizer(const std::vector<float>& gains, const std::vector<float>& frequencies) {
  if (gains.size() != frequencies.size())
    DspFail("Equalizer: there must be as many gains as frequencies (" +
            std::to_string(gains.size()) + " gains, " + std::to_string(frequencies.size()) +
            " frequencies).");
  if (gains.empty()) DspFail("Equalizer: there are no bands.");
  for (float g : gains) DspCheckRange("Equalizer", "every band gain", g, -1.8, 1.8, "");
  for (float f : frequencies) DspCheckRange("Equalizer", "every band frequency", f, 1, 1e6, "Hz");
}

namespace {

// Weight of the points between band centres against the centres themselves.
constexpr double kBetweenWeight = 0.2;
// Sections twice as wide as their spacing overlap enough to sum to a flat response when all
// bands are equal; narrower ones leave dips between the centres.
constexpr double kWidening = 2.0;
enum class BandKind { Low, Peak, High };

struct Band {
  double Frequency;  // centre
  double Target;     // dB
  BandKind Kind;
  double Corner;  // design frequency
  double Q;
};

DspBiquad Section(const Band& b, double gainDb, double rate) {
  switch (b.Kind) {
    case BandKind::Low:
      return DspBiquad::LowShelf(b.Corner, b.Q, gainDb, rate);
    case BandKind::High:
      return DspBiquad::HighShelf(b.Corner, b.Q, gainDb, rate);
    default:
      return DspBiquad::Peaking(b.Corner, b.Q, gainDb, rate);
  }
}

double SectionDb(const Band& b, double gainDb, double f, double rate) {
  return 20 * std::log10(std::abs(Section(b, gainDb, rate).Response(f, rate)));
}

// Solves (A^T W A + lambda I) x = A^T W t by Gaussian elimination with partial pivoting.
std::vector<double> LeastSquares(const std::vector<std::vector<double>>& a,
                                 const std::vector<double>& w, const std::vector<double>& t) {
  const size_t rows = a.size(), n = a[0].size();
  std::vector<std::vector<double>> m(n, std::vector<double>(n + 1, 0.0));
  for (size_t i = 0; i < n; ++i) {
    for (size_t j = 0; j < n; ++j)
      for (size_t r = 0; r < rows; ++r) m[i][j] += a[r][i] * w[r] * a[r][j];
    m[i][i] += 1e-9;
    for (size_t r = 0; r < rows; ++r) m[i][n] += a[r][i] * w[r] * t[r];
  }
  for (size_t c = 0; c < n; ++c) {
    size_t p = c;
    for (size_t r = c + 1; r < n; ++r)
      if (std::fabs(m[r][c]) > std::fabs(m[p][c])) p = r;
    std::swap(m[c], m[p]);
    const double piv = m[c][c];
    if (std::fabs(piv) < 1e-15) continue;
    for (size_t r = 0; r < n; ++r) {
      if (r == c) continue;
      const double f = m[r][c] / piv;
      if (f == 0) continue;
      for (size_t j = c; j <= n; ++j) m[r][j] -= f * m[c][j];
    }
  }
  std::vector<double> x(n);
  for (size_t i = 0; i < n; ++i) x[i] = std::fabs(m[i][i]) < 1e-15 ? 0.0 : m[i][n] / m[i][i];
  return x;
}

}  // namespace

DspCascade DspEqualizerDesign(const std::vector<float>& gains,
                              const std::vector<float>& frequencies, double rate) {
  std::vector<Band> bands;
  for (size_t i = 0; i < gains.size(); ++i)
    if (frequencies[i] < rate / 2) bands.push_back({frequencies[i], 10.0 * gains[i], BandKind::Peak, 0, 0});
  std::sort(bands.begin(), bands.end(),
            [](const Band& x, const Band& y) { return x.Frequency < y.Frequency; });
  // Bands at the same frequency act as one: their gains add.
  std::vector<Band> merged;
  for (const Band& b : bands) {
    if (!merged.empty() && merged.back().Frequency == b.Frequency)
      merged.back().Target += b.Target;
    else
      merged.push_back(b);
  }
  bands.swap(merged);
  bool any = false;
  for (const Band& b : bands) any = any || b.Target != 0;
  if (!any) return {};

  const size_t n = bands.size();
  const double top = kHighestShare * rate;
  for (size_t i = 0; i < n; ++i) {
    Band& b = bands[i];
    if (n == 1) {
      b.Kind = BandKind::Peak;
      b.Corner = b.Frequency;
      b.Q = std::sqrt(2.0);
      continue;
    }
    if (i == 0) {
      // The shelves turn at the neighbouring band, so they hold their gain over their own.
      b.Kind = BandKind::Low;
      b.Corner = bands[1].Frequency;
      b.Q = std::sqrt(0.5);
    } else if (i + 1 == n) {
      b.Kind = BandKind::High;
      b.Corner = bands[i - 1].Frequency;
      b.Q = std::sqrt(0.5);
    } else {
      // Bandwidth in octaves: the mean distance to the two neighbours, widened.
      const double bw =
          (std::log2(b.Frequency / bands[i - 1].Frequency) + std::log2(bands[i + 1].Frequency / b.Frequency)) / 2;
      const double p = std::pow(2.0, bw);
      b.Kind = BandKind::Peak;
      b.Corner = b.Frequency;
      b.Q = std::sqrt(p) / (p - 1) / kWidening;
    }
    b.Corner = std::min(b.Corner, top);
  }

  // Points where the response must match: every centre, and between neighbours the mean of their
  // gains (with less weight), which keeps the curve from bulging between the centres.
  std::vector<double> pf, pt, pw;
  if (n > 1) {
    // Beyond the outer bands the shelves must hold their gains, not overshoot.
    pf.push_back(bands[0].Frequency / std::sqrt(bands[1].Frequency / bands[0].Frequency));
    pt.push_back(bands[0].Target);
    pw.push_back(kBetweenWeight);
    const double above = bands[n - 1].Frequency * std::sqrt(bands[n - 1].Frequency / bands[n - 2].Frequency);
    if (above < top) {
      pf.push_back(above);
      pt.push_back(bands[n - 1].Target);
      pw.push_back(kBetweenWeight);
    }
  }
  for (size_t i = 0; i < n; ++i) {
    pf.push_back(bands[i].Frequency);
    pt.push_back(bands[i].Target);
    pw.push_back(1.0);
    if (i + 1 < n) {
      pf.push_back(std::sqrt(bands[i].Frequency * bands[i + 1].Frequency));
      pt.push_back((bands[i].Target + bands[i + 1].Target) / 2);
      pw.push_back(kBetweenWeight);
    }
  }
  // The interaction of the sections is nearly linear in their gains in dB; it is measured with
  // each section at its current gain and solved again, which settles in a few rounds.
  std::vector<double> g(n);
  for (size_t i = 0; i < n; ++i) g[i] = bands[i].Target;
  for (int round = 0; round < 4; ++round) {
    std::vector<std::vector<double>> a(pf.size(), std::vector<double>(n));
    for (size_t j = 0; j < n; ++j) {
      const double probe = std::fabs(g[j]) > 0.5 ? g[j] : (g[j] < 0 ? -0.5 : 0.5);
      for (size_t r = 0; r < pf.size(); ++r) a[r][j] = SectionDb(bands[j], probe, pf[r], rate) / probe;
    }
    g = LeastSquares(a, pw, pt);
    for (double& v : g) v = std::clamp(v, -40.0, 40.0);
  }
  std::vector<DspBiquad> sections;
  for (size_t i = 0; i < n; ++i)
    if (std::fabs(g[i]) > 1e-9) sections.push_back(Section(bands[i], g[i], rate));
  return DspCascade(std::move(sections));
}

void DspEqualizer(const DspSignal& s, const std::vector<float>& gains,
                  const std::vector<float>& frequencies, DspStreams* streams,
                  const DspProgress& progress) {
  DspCheckEqualizer(gains, frequencies);
  DspCascade filter = DspEqualizerDesign(gains, frequencies, s.SampleRate);
  std::string key = "equalizer";
  char buf[40];
  for (size_t i = 0; i < gains.size(); ++i) {
    std::snprintf(buf, sizeof buf, "|%.9g@%.9g", double(gains[i]), double(frequencies[i]));
    key += buf;
  }
  ProcessStream(filter, s, Key(key.c_str(), {}, s), streams, progress);
}
