#pragma once
// Level and channel effects: gains, fades, envelopes, normalising, silence, reversal and the
// stereo mixing matrix. Parameters are checked first; a bad one raises and changes nothing.

#include <cstddef>
#include <vector>

#include "audio/DspCommon.h"

// Gain in percent of the original level, 0 to 999 (100 leaves the signal as it is).
void DspAmplify(const DspSignal& s, double percent, const DspProgress& progress = {});

// Linear gain ramp over the whole run, from startPercent at the first frame to endPercent at the
// last (each 0 to 100). Fade in is (0, 100), fade out (100, 0).
void DspFade(const DspSignal& s, double startPercent, double endPercent,
             const DspProgress& progress = {});

// Scales so that the largest magnitude becomes percent of full scale (0 to 100). channelMode -1
// uses one gain for all channels, from the loudest, so their balance stays. A silent run is left
// as it is.
void DspNormalize(const DspSignal& s, double percent, int channelMode,
                  const DspProgress& progress = {});

// Linear gains (not negative) spread evenly over the run, first at the first frame and last at
// the last frame, linearly interpolated between. One value is a constant gain; none is refused.
void DspEnvelope(const DspSignal& s, const std::vector<float>& gains,
                 const DspProgress& progress = {});

void DspSilence(const DspSignal& s);
// Reverses the order of the frames; each frame keeps its channels in place.
void DspReverse(const DspSignal& s);

// New left = LL % of left + LR % of right, new right = RL % of left + RR % of right; each 0 to
// 100. A signal that is not stereo is left as it is.
void DspMixStereo(const DspSignal& s, double ll, double lr, double rl, double rr,
                  const DspProgress& progress = {});

// Checks of the parameters alone, for callers that must refuse before touching anything.
void DspCheckAmplify(double percent);
void DspCheckFade(double startPercent, double endPercent);
void DspCheckNormalize(double percent, int channelMode);
void DspCheckEnvelope(const std::vector<float>& gains);
void DspCheckMixStereo(double ll, double lr, double rl, double rr);
