#pragma once
#include <cmath>
#include <cstdio>
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

// A 32-bit float WAV file written byte by byte, so that any value (NaN, infinities) reaches the
// file as it is; the engine's own writer would clean them.
inline void WriteRawFloatWav(const std::string& path, const SampleBuffer& b) {
  const uint32_t data = uint32_t(b.ValueCount() * 4);
  const uint16_t channels = uint16_t(b.Channels()), format = 3, bits = 32;
  const uint32_t rate = uint32_t(b.SampleRate()), byteRate = rate * channels * 4, fmtSize = 16;
  const uint16_t align = uint16_t(channels * 4);
  const uint32_t riff = 36 + data;
  std::FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return;
  auto put = [&](const void* p, size_t n) { std::fwrite(p, 1, n, f); };
  put("RIFF", 4), put(&riff, 4), put("WAVEfmt ", 8), put(&fmtSize, 4), put(&format, 2);
  put(&channels, 2), put(&rate, 4), put(&byteRate, 4), put(&align, 2), put(&bits, 2);
  put("data", 4), put(&data, 4), put(b.Data(), data);
  std::fclose(f);
}

inline bool AllFinite(const float* v, size_t n) {
  for (size_t i = 0; i < n; ++i)
    if (!std::isfinite(v[i])) return false;
  return true;
}

}  // namespace audiotest
