#pragma once
#include <cmath>
#include <string>
#include <vector>

#include "audio/AudioDocument.h"
#include "audio/SampleBuffer.h"

namespace audiotest {

// Frame f, channel c holds f + c / 4: every frame is recognisable after an edit.
inline SampleBuffer Ramp(int64_t frames, int channels = 2, int rate = 44100, float base = 0) {
  SampleBuffer b(channels, rate, frames);
  for (int64_t f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) b.At(f, c) = base + float(f) + float(c) * 0.25f;
  return b;
}

inline SampleBuffer Constant(int64_t frames, std::vector<float> perChannel, int rate = 44100) {
  const int channels = int(perChannel.size());
  SampleBuffer b(channels, rate, frames);
  for (int64_t f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) b.At(f, c) = perChannel[size_t(c)];
  return b;
}

inline SampleBuffer Sine(int64_t frames, double hz, int rate, int channels, double amplitude) {
  SampleBuffer b(channels, rate, frames);
  for (int64_t f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c)
      b.At(f, c) = float(amplitude * std::sin(2 * M_PI * hz * double(f) / rate + c));
  return b;
}

inline SampleBuffer Contents(const AudioDocument& doc) {
  SampleBuffer b(doc.Channels(), doc.SampleRate(), doc.Length());
  doc.Samples().Read(0, doc.Length(), b.Data());
  return b;
}

// First value of each frame (channel 0) of a buffer.
inline std::vector<float> Left(const SampleBuffer& b) {
  std::vector<float> v;
  for (int64_t f = 0; f < b.Frames(); ++f) v.push_back(b.At(f, 0));
  return v;
}

// A document of `frames` frames of Ramp content, cursor at 0 (the insertion is one undo step).
inline void Fill(AudioDocument& doc, int64_t frames, int channels = 2, int rate = 44100) {
  doc.NewDocument(rate, channels);
  if (frames > 0) doc.InsertPcm(Ramp(frames, channels, rate));
}

}  // namespace audiotest
