#include "audio/SampleBuffer.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"

SampleBuffer::SampleBuffer(int channels, int sampleRate, int64_t frames)
    : FChannels(channels), FSampleRate(sampleRate) {
  if (channels < 0 || frames < 0) throw EArgumentException("Invalid sample buffer size");
  FValues.assign(std::size_t(frames * channels), 0.0f);
}

SampleBuffer::SampleBuffer(std::vector<float> values, int channels, int sampleRate)
    : FValues(std::move(values)), FChannels(channels), FSampleRate(sampleRate) {
  if (channels < 0) throw EArgumentException("Invalid channel count");
}

void SampleBuffer::SetFormat(int channels, int sampleRate) {
  if (channels < 0) throw EArgumentException("Invalid channel count");
  FChannels = channels;
  FSampleRate = sampleRate;
}

void SampleBuffer::ResizeFrames(int64_t frames) {
  if (frames < 0) frames = 0;
  FValues.resize(std::size_t(frames * FChannels), 0.0f);
}

void SampleBuffer::AppendFrames(const float* values, int64_t frames) {
  if (frames <= 0) return;
  FValues.insert(FValues.end(), values, values + frames * FChannels);
}

void SampleBuffer::Append(const SampleBuffer& other) {
  if (other.Empty()) return;
  if (FChannels == 0 && FValues.empty()) {
    FChannels = other.FChannels;
    FSampleRate = other.FSampleRate;
  }
  if (other.FChannels != FChannels)
    throw EArgumentException("Cannot append samples of a different channel count");
  FValues.insert(FValues.end(), other.FValues.begin(), other.FValues.end());
}

SampleBuffer SampleBuffer::Channel(int channel) const {
  if (channel < 0 || channel >= FChannels) throw EArgumentException("Channel out of range");
  const int64_t n = Frames();
  SampleBuffer out(1, FSampleRate, n);
  for (int64_t f = 0; f < n; ++f)
    out.FValues[std::size_t(f)] = FValues[std::size_t(f * FChannels + channel)];
  return out;
}

SampleBuffer SampleBuffer::Slice(int64_t first, int64_t count) const {
  const int64_t n = Frames();
  first = std::clamp<int64_t>(first, 0, n);
  count = std::clamp<int64_t>(count, 0, n - first);
  SampleBuffer out(FChannels, FSampleRate);
  out.AppendFrames(FrameData(first), count);
  return out;
}
