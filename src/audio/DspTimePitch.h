#pragma once
// Speed and pitch changes by time stretching (overlapping pieces of the sound laid at a new
// spacing, each where it fits its neighbour best) and resampling.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "audio/DspCommon.h"
#include "audio/DspStream.h"

// Speed: 1 to 300 %: the tempo is multiplied by percent / 100 and the pitch kept,
// so the sound lasts 100 / percent times as long. 0 and below raise an error that says so.
void DspCheckSpeedChange(double percent);
// Pitch: 10 to 300 %: every frequency is multiplied by 100 / percent and the length kept
// (60 % sounds higher, 170 % lower).
void DspCheckPitchChange(double percent);

// Frames a run of `frames` frames becomes.
int64_t DspSpeedChangeFrames(int64_t frames, double percent);

// Both return the changed frames, interleaved like the input. Without a stream the result has
// exactly the length promised above. With a stream inside a block, the processor carries on from
// the previous block: each block gives what is ready (the first a little less, as the stretching
// needs some sound ahead), and a block shorter than the stream's first one or than one second is
// taken as the last and brings the total to the promised length. (A stream that ends on a full
// block keeps back its last 20 to 200 ms, the slowest speeds the most, unless the caller marks its
// last block: DspStreams::SetMarksEnd and MarkLastBlock, with blocks of any length.)
std::vector<float> DspSpeedChange(const DspSignal& s, double percent, DspStreams* streams = nullptr,
                                  const DspProgress& progress = {});
std::vector<float> DspPitchChange(const DspSignal& s, double percent, DspStreams* streams = nullptr,
                                  const DspProgress& progress = {});

// The speed change of a run too long to hold whole: `read` fills up to `most` interleaved frames
// of the input in order and returns how many (0 at the end), `write` takes the result piece by
// piece, exactly DspSpeedChangeFrames(frames, percent) frames in all. Neither side is held in
// memory beyond a piece of each.
void DspSpeedChangeStream(int64_t frames, int channels, double sampleRate, double percent,
                          const std::function<int64_t(float* values, int64_t most)>& read,
                          const std::function<void(const float* values, int64_t frames)>& write,
                          const DspProgress& progress = {});

class DspStretcher;
struct DspTimePitchState : DspStreamState {
  DspTimePitchState();
  ~DspTimePitchState() override;
  std::unique_ptr<DspStretcher> Stretcher;
  int64_t In = 0, Out = 0;   // frames fed and given out so far
  int64_t FirstBlock = -1;   // frames of the stream's first block
  bool Ended = false;
};
