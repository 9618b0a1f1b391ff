#pragma once
// Echo: the sound repeated after a delay, each repeat fainter than the one before.

#include <vector>

#include "audio/DspCommon.h"
#include "audio/DspStream.h"

// delay: 0 to 5000 ms between repeats; below one frame there is nowhere for an echo to go and the
// sound is left as it is.
// mixDepth: 0 to 100 %, the level of the first repeat against the sound.
// feedbackGain: 0 to 100 %, the level of each further repeat against the one before; 0 gives a
// single repeat. A repeat never comes back louder than 99 % of the one before, so the echoes
// always die away.
// The output is sound + mixDepth * (echo line); nothing is added past the end of the run (tails
// are cut there), but with a stream the line carries on into the next block.
void DspCheckEcho(double delay, double mixDepth, double feedbackGain);
void DspEcho(const DspSignal& s, double delay, double mixDepth, double feedbackGain,
             DspStreams* streams = nullptr, const DspProgress& progress = {});

// The echo line: the last delay's worth of (sound + feedback * echo), interleaved, as a ring.
struct DspEchoState : DspStreamState {
  std::vector<float> Line;
  size_t Position = 0;
};

// Loop gain of a feedback percentage, kept below one.
double DspFeedback(double percent, double most = 0.99);
