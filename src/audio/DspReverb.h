#pragma once
// Reverb: a tapped delay with feedback (the first reflections and, at short delays, the ring of a
// small hard room) followed by a diffuse tail from four feedback delay lines mixed through an
// orthogonal matrix, each line damped by a low-pass filter.

#include <cstdint>
#include <vector>

#include "audio/DspCommon.h"
#include "audio/DspStream.h"

// delay: 0 to 1000 ms, the length of the tapped delay; 0 leaves out the delay and its feedback.
// mixDepth: 0 to 100 %, the level of the reverberation added to the sound.
// feedbackGain: 0 to 100 %, the delay's output fed back into it (at most 98 %), and how long the
//   diffuse tail lasts: its reverberation time (60 dB of decay) is (0.2 s + 4 s * feedback^2)
//   times the room's size.
// The delay also sets the size of the room the tail comes from: 0.6 + delay / 75 ms, at most 2;
//   the lines of the tail are as much longer and its reverberation as much slower, as in a larger
//   room of the same walls.
// gain: 0 to 100 %, the level of the diffuse tail against the tapped delay.
// frequency: 10 to 22500 Hz, the turning frequency of the damping filters; the higher tones die
//   away faster than the lower ones. From 45 % of the sample rate up there is no damping.
// taps: 0 to 10 taps spread evenly along the delay, heard besides its end.
void DspCheckReverb(double delay, double mixDepth, double feedbackGain, double gain,
                    double frequency, int taps);
void DspReverb(const DspSignal& s, double delay, double mixDepth, double feedbackGain, double gain,
               double frequency, int taps, DspStreams* streams = nullptr,
               const DspProgress& progress = {});
// Size of the room of a delay, and reverberation time of the diffuse tail in seconds.
double DspReverbSize(double delay);
double DspReverbTime(double feedbackGain, double delay);

struct DspReverbChannel {
  std::vector<float> Delay;      // ring of the tapped delay
  float DelayDamp = 0;
  std::vector<float> Diffuser[2];
  std::vector<float> Lines[4];
  float Damp[4] = {0, 0, 0, 0};
};

struct DspReverbState : DspStreamState {
  std::vector<DspReverbChannel> Channels;
  uint64_t Frame = 0;  // frames processed, the write position of every ring
};
