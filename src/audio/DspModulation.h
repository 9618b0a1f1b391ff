#pragma once
// Modulation effects: flanger and chorus (a delay swept by a low-frequency oscillator, mixed back
// with the sound) and phaser (a chain of all-pass filters whose turning frequency is swept).

#include <cstdint>
#include <vector>

#include "audio/DspCommon.h"
#include "audio/DspStream.h"

// Flanger and chorus share their six values:
// delayRate: 0 to 100 %, the base delay: 100 % is 10 ms for the flanger, 50 ms for the chorus.
// mixDepth: 0 to 100 %, how much of the delayed sound is mixed in; 100 % is an even mix, which
//   gives the deepest notches.
// feedbackGain: 0 to 100 %, the share of the delayed sound fed back into the delay (at most 90 %).
// sweepDepth: 0 to 100 %, how far the delay swings above the base: 100 % is 10 ms for both.
// sweepRate: 0 to 100 %, the oscillator's frequency: 100 % is 10 Hz, 1 % 0.1 Hz; 0 holds the delay.
// sweepPhase: 0 to 359 degrees, how far the right channel's oscillator runs ahead of the left's.
// The delay never falls below one frame.
enum class DspModulationKind { Flanger, Chorus };
void DspCheckModulation(DspModulationKind kind, double delayRate, double mixDepth,
                        double feedbackGain, double sweepDepth, double sweepRate, double sweepPhase);
void DspModulation(const DspSignal& s, DspModulationKind kind, double delayRate, double mixDepth,
                   double feedbackGain, double sweepDepth, double sweepRate, double sweepPhase,
                   DspStreams* streams = nullptr, const DspProgress& progress = {});
// Delay in ms and oscillator frequency in Hz of a setting (for tests and the documentation above).
double DspModulationBaseDelay(DspModulationKind kind, double delayRate);
double DspModulationSweep(double sweepDepth);
double DspModulationFrequency(double sweepRate);

// Phaser: six first-order all-pass sections whose turning frequency sweeps from 200 Hz to 3200 Hz
// and back once per period; the sound and the chain's output cancel where the chain turns them
// half a period apart.
// delay: 0 to 5000 ms, the sweep period; 0 holds the turning frequency at its lowest.
// mixDepth: 0 to 100 %, as for the flanger.
// feedbackGain: 0 to 100 %, the chain's output fed back into its input (at most 90 %).
void DspCheckPhaser(double delay, double mixDepth, double feedbackGain);
void DspPhaser(const DspSignal& s, double delay, double mixDepth, double feedbackGain,
               DspStreams* streams = nullptr, const DspProgress& progress = {});

struct DspModulationState : DspStreamState {
  std::vector<float> Line;        // one ring per channel, one after the other
  uint64_t Frame = 0;             // frames done: the write position and the oscillator's time
};

struct DspPhaserState : DspStreamState {
  std::vector<double> Memory;     // per channel: six sections * (x1, y1)
  std::vector<double> Last;       // per channel, the chain's last output
  uint64_t Frame = 0;             // frames done: the oscillator's time
};
