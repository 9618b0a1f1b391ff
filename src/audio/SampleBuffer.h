#pragma once
// SampleBuffer: the sample array every audio component hands around. Interleaved 32-bit float
// frames (full scale is -1..1) with their channel count and rate. Frame counts (CopyPcm,
// BlockSize, LengthInSamples) count frames; ReadPcm and UpperBound count interleaved values, so
// an empty buffer has the upper bound -1.

#include <cstddef>
#include <cstdint>
#include <vector>

class SampleBuffer {
 public:
  SampleBuffer() = default;
  // `frames` frames of silence.
  SampleBuffer(int channels, int sampleRate, int64_t frames = 0);
  // Takes interleaved values; a trailing partial frame is kept as values but not counted as a
  // frame.
  SampleBuffer(std::vector<float> values, int channels, int sampleRate);

  int Channels() const { return FChannels; }
  int SampleRate() const { return FSampleRate; }
  // Changes the description only; the values stay as they are.
  void SetFormat(int channels, int sampleRate);

  int64_t Frames() const { return FChannels > 0 ? int64_t(FValues.size()) / FChannels : 0; }
  int64_t ValueCount() const { return int64_t(FValues.size()); }
  int64_t UpperBound() const { return ValueCount() - 1; }
  bool Empty() const { return FValues.empty(); }

  float* Data() { return FValues.data(); }
  const float* Data() const { return FValues.data(); }
  float* FrameData(int64_t frame) { return FValues.data() + frame * FChannels; }
  const float* FrameData(int64_t frame) const { return FValues.data() + frame * FChannels; }
  float& operator[](int64_t index) { return FValues[std::size_t(index)]; }
  float operator[](int64_t index) const { return FValues[std::size_t(index)]; }
  float& At(int64_t frame, int channel) {
    return FValues[std::size_t(frame * FChannels + channel)];
  }
  float At(int64_t frame, int channel) const {
    return FValues[std::size_t(frame * FChannels + channel)];
  }
  std::vector<float>& Values() { return FValues; }
  const std::vector<float>& Values() const { return FValues; }

  // New frames are silent.
  void ResizeFrames(int64_t frames);
  void AppendFrames(const float* values, int64_t frames);
  // The other buffer must have the same channel count (an empty, formatless one adopts it).
  void Append(const SampleBuffer& other);
  void Clear() { FValues.clear(); }

  // One channel as a mono buffer of the same rate.
  SampleBuffer Channel(int channel) const;
  // Frames [first, first + count) clipped to what exists.
  SampleBuffer Slice(int64_t first, int64_t count) const;

 private:
  std::vector<float> FValues;
  int FChannels = 0;
  int FSampleRate = 0;
};
