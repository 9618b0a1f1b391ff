#include "audio/FormatConverter.h"

#include <soxr.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace {
// The side ('L', 'R' or 'C' for centre) of channel k of a sound of `count` channels, in the
// WAV layouts: 3 FL FR FC, 4 FL FR BL BR, 5 FL FR FC BL BR, 6 FL FR FC LFE BL BR, 7 FL FR FC LFE
// BC SL SR, 8 FL FR FC LFE BL BR SL SR; channels past the eighth alternate left and right.
char StereoSide(int k, int count) {
  static const char* const kLayouts[] = {"LR",     "LRC",     "LRLR",    "LRCLR",
                                         "LRCCLR", "LRCCCLR", "LRCCLRLR"};
  if (count >= 2 && count <= 8 && k < count) return kLayouts[count - 2][k];
  if (k < 8) return kLayouts[6][k];
  return k % 2 == 0 ? 'L' : 'R';
}
}  // namespace

int64_t FormatConverter::ScaleFrames(int64_t frames, int inRate, int outRate) {
  if (inRate == outRate || inRate <= 0) return frames;
  // frames < 2^31 and rates < 2^31 keep the product inside 64 bits.
  return (frames * int64_t(outRate) + inRate / 2) / inRate;
}

void FormatConverter::MapChannels(const float* in, int64_t frames, int inChannels, int outChannels,
                                  float* out) {
  if (inChannels == outChannels) {
    std::memcpy(out, in, size_t(frames) * size_t(inChannels) * sizeof(float));
  } else if (outChannels == 1) {
    const float scale = 1.0f / float(inChannels);
    for (int64_t f = 0; f < frames; ++f, in += inChannels) {
      float sum = 0;
      for (int c = 0; c < inChannels; ++c) sum += in[c];
      out[f] = sum * scale;
    }
  } else if (inChannels > outChannels) {
    // No channel is dropped: a centre or surround channel may carry the voice.
    std::vector<float> gain(size_t(outChannels) * size_t(inChannels), 0.0f);
    for (int k = 0; k < inChannels; ++k) {
      if (outChannels == 2) {
        const char side = StereoSide(k, inChannels);
        if (side != 'R') gain[size_t(k)] = side == 'C' ? 0.70710678f : 1.0f;
        if (side != 'L') gain[size_t(inChannels + k)] = side == 'C' ? 0.70710678f : 1.0f;
      } else {
        gain[size_t(k % outChannels) * size_t(inChannels) + size_t(k)] = 1.0f;
      }
    }
    for (int c = 0; c < outChannels; ++c) {
      float* row = gain.data() + size_t(c) * size_t(inChannels);
      float sum = 0;
      for (int k = 0; k < inChannels; ++k) sum += row[k];
      for (int k = 0; k < inChannels; ++k) row[k] /= sum;
    }
    for (int64_t f = 0; f < frames; ++f, in += inChannels, out += outChannels)
      for (int c = 0; c < outChannels; ++c) {
        const float* row = gain.data() + size_t(c) * size_t(inChannels);
        float sum = 0;
        for (int k = 0; k < inChannels; ++k) sum += row[k] * in[k];
        out[c] = sum;
      }
  } else {
    for (int64_t f = 0; f < frames; ++f, in += inChannels, out += outChannels)
      for (int c = 0; c < outChannels; ++c) out[c] = in[c % inChannels];
  }
}

FormatConverter::FormatConverter(int inRate, int inChannels, int outRate, int outChannels)
    : FInRate(inRate), FInChannels(inChannels), FOutRate(outRate), FOutChannels(outChannels) {
  if (inRate <= 0 || outRate <= 0 || inChannels <= 0 || outChannels <= 0)
    throw EArgumentException("Invalid sample format for conversion");
  if (inRate != outRate) {
    soxr_error_t error = nullptr;
    soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
    soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
    FSoxr = soxr_create(double(inRate), double(outRate), unsigned(outChannels), &error, &io,
                        &quality, nullptr);
    if (!FSoxr || error)
      throw EComponentError(std::string("Cannot convert the sample rate: ") +
                            (error ? error : "no resampler"));
  }
}

FormatConverter::~FormatConverter() {
  if (FSoxr) soxr_delete(soxr_t(FSoxr));
}

void FormatConverter::Emit(const float* values, int64_t frames, std::vector<float>& out) {
  out.insert(out.end(), values, values + frames * FOutChannels);
  FOutFrames += frames;
}

void FormatConverter::Process(const float* values, int64_t frames, std::vector<float>& out) {
  if (frames <= 0) return;
  FInFrames += frames;
  const float* mapped = values;
  if (FInChannels != FOutChannels) {
    FMapped.resize(size_t(frames) * size_t(FOutChannels));
    MapChannels(values, frames, FInChannels, FOutChannels, FMapped.data());
    mapped = FMapped.data();
  }
  if (!FSoxr) {
    Emit(mapped, frames, out);
    return;
  }
  size_t done = 0;
  while (done < size_t(frames)) {
    const size_t room = size_t(double(frames - int64_t(done)) * FOutRate / FInRate) + 256;
    FResampled.resize(room * size_t(FOutChannels));
    size_t idone = 0, odone = 0;
    soxr_error_t error =
        soxr_process(soxr_t(FSoxr), mapped + done * size_t(FOutChannels), size_t(frames) - done,
                     &idone, FResampled.data(), room, &odone);
    if (error) throw EComponentError(std::string("Sample rate conversion failed: ") + error);
    Emit(FResampled.data(), int64_t(odone), out);
    done += idone;
    if (idone == 0 && odone == 0) break;
  }
}

void FormatConverter::Finish(std::vector<float>& out) {
  const int64_t target = ScaleFrames(FInFrames, FInRate, FOutRate);
  if (FSoxr) {
    for (;;) {
      const size_t room = 4096;
      FResampled.resize(room * size_t(FOutChannels));
      size_t odone = 0;
      soxr_error_t error =
          soxr_process(soxr_t(FSoxr), nullptr, 0, nullptr, FResampled.data(), room, &odone);
      if (error) throw EComponentError(std::string("Sample rate conversion failed: ") + error);
      if (odone == 0) break;
      Emit(FResampled.data(), int64_t(odone), out);
    }
  }
  if (FOutFrames > target) {
    out.resize(out.size() - size_t(FOutFrames - target) * size_t(FOutChannels));
    FOutFrames = target;
  } else if (FOutFrames < target) {
    out.resize(out.size() + size_t(target - FOutFrames) * size_t(FOutChannels), 0.0f);
    FOutFrames = target;
  }
}

SampleBuffer ConvertBuffer(const SampleBuffer& in, int outRate, int outChannels) {
  if (in.SampleRate() == outRate && in.Channels() == outChannels) return in;
  FormatConverter conv(in.SampleRate(), in.Channels(), outRate, outChannels);
  std::vector<float> out;
  out.reserve(size_t(FormatConverter::ScaleFrames(in.Frames(), in.SampleRate(), outRate)) *
              size_t(outChannels));
  conv.Process(in.Data(), in.Frames(), out);
  conv.Finish(out);
  return SampleBuffer(std::move(out), outChannels, outRate);
}

SampleSequence ConvertSequence(const SampleSequence& in, int inRate, int outRate, int outChannels,
                               const std::shared_ptr<const std::string>& swapFolder,
                               const std::function<void(double)>& progress) {
  if (inRate == outRate && in.Channels() == outChannels) return in;
  FormatConverter conv(inRate, in.Channels(), outRate, outChannels);
  SequenceBuilder builder(outChannels, swapFolder);
  std::vector<float> chunk(size_t(kBlockFrames) * size_t(in.Channels()));
  std::vector<float> out;
  const int64_t total = in.Length();
  for (int64_t pos = 0; pos < total;) {
    const int64_t n = in.Read(pos, kBlockFrames, chunk.data());
    pos += n;
    out.clear();
    conv.Process(chunk.data(), n, out);
    builder.Append(out.data(), int64_t(out.size()) / outChannels);
    if (progress) progress(double(pos) / double(total));
  }
  out.clear();
  conv.Finish(out);
  builder.Append(out.data(), int64_t(out.size()) / outChannels);
  return builder.Finish();
}
