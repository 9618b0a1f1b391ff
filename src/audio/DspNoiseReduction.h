#pragma once
// Noise reduction as a downward expander: passages whose level falls below a threshold are made
// quieter still, so hiss and hum between the notes sink while the notes themselves pass.

#include <vector>

#include "audio/DspCommon.h"
#include "audio/DspStream.h"

// threshold: -96 to 10 dB; the level is the RMS over the last rmsTime milliseconds, read as the
// peak of a sine of that RMS (a full-scale sine is 0 dB); with several channels the loudest
// counts.
// rate: 1 to 100 %, how hard levels below the threshold are pushed down: every dB below it
// becomes 1 / (1 - rate / 100) dB, so 50 % doubles the distance and 100 % is a gate that
// silences everything below the threshold.
// rmsTime: 0 to 1000 ms; 0 follows the signal's own magnitude.
// The gain opens within 1 ms and closes over 30 ms, so the start of a note is not lost and the
// end of one does not click.
void DspCheckNoiseReduction(double threshold, double rate, double rmsTime);
void DspNoiseReduction(const DspSignal& s, double threshold, double rate, double rmsTime,
                       DspStreams* streams = nullptr, const DspProgress& progress = {});
// Gain in dB that a steady level (dB as above) receives.
double DspNoiseReductionGainDb(double levelDb, double threshold, double rate);

struct DspNoiseReductionState : DspStreamState {
  std::vector<double> Window;   // squares of the last frames (loudest channel per frame), a ring
  size_t Position = 0;
  double Sum = 0;               // of the ring
  double GainDb = 0;            // smoothed
  float From = 1, To = 1;       // gain at the start and end of the current control step
  int Step = 0;                 // frames of the control step done
};
