#pragma once
// Filters: second-order sections designed by the bilinear transform and run in cascade, in
// double precision. Used for the high-pass filter and the twelve-band graphic equalizer.

#include <complex>
#include <cstddef>
#include <vector>

#include "audio/DspCommon.h"
#include "audio/DspStream.h"

// y = (b0 x + b1 x[-1] + b2 x[-2] - a1 y[-1] - a2 y[-2]), a0 normalised to 1.
struct DspBiquad {
  double B0 = 1, B1 = 0, B2 = 0, A1 = 0, A2 = 0;

  static DspBiquad HighPass(double frequency, double q, double rate);
  static DspBiquad Peaking(double frequency, double q, double gainDb, double rate);
  static DspBiquad LowShelf(double frequency, double q, double gainDb, double rate);
  static DspBiquad HighShelf(double frequency, double q, double gainDb, double rate);

  std::complex<double> Response(double frequency, double rate) const;
  // Radius of the larger pole; below 1 for a stable section.
  double PoleRadius() const;
};

// Memories of a cascade, per channel and section.
struct DspCascadeState : DspStreamState {
  std::vector<double> Memory;  // channels * sections * 2
  void Fit(size_t sections, int channels);
};

class DspCascade {
 public:
  DspCascade() = default;
  explicit DspCascade(std::vector<DspBiquad> sections) : FSections(std::move(sections)) {}

  const std::vector<DspBiquad>& Sections() const { return FSections; }
  bool Empty() const { return FSections.empty(); }
  double ResponseDb(double frequency, double rate) const;

  // Filters s in place. With a state, the run continues where the state left off and the state
  // is left at the end of the run; without one the filter starts from rest. Long runs are cut
  // into pieces filtered on all cores: each piece first runs the filter over the input just
  // before it until the memories have settled, so the pieces join without a seam.
  void Process(const DspSignal& s, DspCascadeState* state, const DspProgress& progress = {}) const;

 private:
  size_t SettleFrames() const;
  std::vector<DspBiquad> FSections;
};

// Cut-off 0 to 9999 Hz, amount 0 to 100 % of the filtered signal in the output (100 filters
// fully). A two-pole Butterworth high-pass (12 dB per octave). A cut-off of 0 leaves the signal
// as it is; one at or above 45 % of the sample rate is held there, so the filter stays well
// defined.
void DspCheckHighPass(double cutoff, double amount);
DspCascade DspHighPassDesign(double cutoff, double rate);
void DspHighPass(const DspSignal& s, double cutoff, double amount, DspStreams* streams = nullptr,
                 const DspProgress& progress = {});

// Graphic equalizer. gains[i] is a band value divided by 100 (-1.8 to 1.8) and means 10 * gains[i]
// dB at frequencies[i]; 0 is flat. The lowest band is a low shelf, the highest a high shelf, the
// others peaking sections whose widths follow the spacing of their neighbours. The section gains
// are solved so that the response passes through the band gains at the band centres (the
// sections' skirts overlap; without this, all bands at +18 dB would give far more). Bands at or
// above half the sample rate are left out.
void DspCheckEqualizer(const std::vector<float>& gains, const std::vector<float>& frequencies);
DspCascade DspEqualizerDesign(const std::vector<float>& gains, const std::vector<float>& frequencies,
                              double rate);
void DspEqualizer(const DspSignal& s, const std::vector<float>& gains,
                  const std::vector<float>& frequencies, DspStreams* streams = nullptr,
                  const DspProgress& progress = {});
