#pragma once
// Streaming conversion of interleaved float frames to another channel count and rate (rate by
// soxr). Channels are mapped first: to mono by averaging; to fewer channels by mixing every input
// channel in (into stereo by the channel's side in the usual WAV layout of its count, centre
// channels to both sides at -3 dB; otherwise channel c into output c mod the output count), each
// output scaled by the sum of its gains; to more channels, channel c takes input channel c mod
// the input count. The output holds exactly OutputFrames(total input) frames once Finish() has
// run.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "audio/SampleBuffer.h"
#include "audio/SampleSequence.h"

class FormatConverter {
 public:
  FormatConverter(int inRate, int inChannels, int outRate, int outChannels);
  ~FormatConverter();
  FormatConverter(const FormatConverter&) = delete;
  FormatConverter& operator=(const FormatConverter&) = delete;

  // Appends the converted frames of `frames` input frames to `out`.
  void Process(const float* values, int64_t frames, std::vector<float>& out);
  // Appends the rest, padded or cut so the output length is exact.
  void Finish(std::vector<float>& out);

  // round(frames × outRate / inRate), halves up, in 64 bits.
  static int64_t ScaleFrames(int64_t frames, int inRate, int outRate);
  static void MapChannels(const float* in, int64_t frames, int inChannels, int outChannels,
                          float* out);

 private:
  void Emit(const float* values, int64_t frames, std::vector<float>& out);

  int FInRate, FInChannels, FOutRate, FOutChannels;
  void* FSoxr = nullptr;
  int64_t FInFrames = 0, FOutFrames = 0;
  std::vector<float> FMapped, FResampled;
};

// Whole-buffer and whole-sequence forms. `progress` (0..1) may throw EAbort to cancel.
SampleBuffer ConvertBuffer(const SampleBuffer& in, int outRate, int outChannels);
SampleSequence ConvertSequence(const SampleSequence& in, int inRate, int outRate, int outChannels,
                               const std::shared_ptr<const std::string>& swapFolder,
                               const std::function<void(double)>& progress = {});
