#pragma once
// Dynamic range compressor: a feed-forward design with an RMS detector, a hard knee and
// attack/release ballistics on the gain.

#include <vector>

#include "audio/DspCommon.h"
#include "audio/DspStream.h"

// threshold: -40 to 0 dB, the level above which the gain is reduced. The level is the RMS of the
// input over about 10 ms, read as the peak of a sine of that RMS (a full-scale sine is 0 dB); with
// several channels the loudest counts, so the stereo image does not wander.
// rate: 0 to 100 %, the ratio is 100 / (100 - rate): 0 leaves the signal alone, 50 is 2:1, 100
// holds the level at the threshold.
// amount: 0 to 100 %, the share of the compressed signal in the output (100 fully compressed).
// The gain falls with an attack of 5 ms and recovers with a release of 100 ms.
void DspCheckCompressor(double threshold, double rate, double amount);
void DspCompressor(const DspSignal& s, double threshold, double rate, double amount,
                   DspStreams* streams = nullptr, const DspProgress& progress = {});

// What the compressor carries from one run to the next.
struct DspCompressorState : DspStreamState {
  std::vector<double> Level;    // smoothed mean square, per channel
  double GainDb = 0;    // smoothed gain
  float From = 1;       // gain at the start of the current control step
  float To = 1;         // gain at its end
  int Position = 0;     // frames of the current control step already done
  std::vector<double> Squares;  // per channel, of the current control step
};
