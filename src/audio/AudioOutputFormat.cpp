#include "audio/AudioOutputFormat.h"

#include <algorithm>
#include <cmath>

#include "audio/AudioFileError.h"

extern "C" {
#include <vorbis/vorbisenc.h>
}

namespace {

struct TMp3PresetRow {
  int SampleRate, Kbps;
  TMp3ChannelMode Mode;
};

// Presets 1..11: MPEG 2.5 rows at 8 and 11.025 kHz, MPEG 2 rows at 16 and 22.05 kHz, MPEG 1 at
// 44.1 kHz.
constexpr TMp3PresetRow kMp3Presets[] = {
    {8000, 16, TMp3ChannelMode::Mono},          {11025, 24, TMp3ChannelMode::Mono},
    {16000, 32, TMp3ChannelMode::Mono},         {22050, 96, TMp3ChannelMode::JointStereo},
    {44100, 64, TMp3ChannelMode::Mono},         {44100, 112, TMp3ChannelMode::JointStereo},
    {44100, 128, TMp3ChannelMode::JointStereo}, {44100, 160, TMp3ChannelMode::JointStereo},
    {44100, 192, TMp3ChannelMode::Stereo},      {44100, 256, TMp3ChannelMode::Stereo},
    {44100, 320, TMp3ChannelMode::Stereo},
};

constexpr int kMpeg1Rates[] = {32000, 44100, 48000};
constexpr int kMpeg2Rates[] = {16000, 22050, 24000, 8000, 11025, 12000};
constexpr int kMpeg1Kbps[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
constexpr int kMpeg2Kbps[] = {8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160};

template <class A>
bool Contains(const A& a, int v) {
  return std::find(std::begin(a), std::end(a), v) != std::end(a);
}

constexpr TWmaProfile kWmaProfiles[] = {
    {36, 8, 8000, 1},   {23, 32, 22050, 2},  {16, 48, 44100, 1}, {13, 64, 44100, 2},
    {11, 96, 44100, 2}, {10, 128, 44100, 2}, {8, 192, 44100, 2},
};

}  // namespace

bool IsMp3SampleRate(int rate) {
  return Contains(kMpeg1Rates, rate) || Contains(kMpeg2Rates, rate);
}

bool CanWriteMp3Format(int rate, int kbps, int channels) {
  if (channels != 1 && channels != 2) return false;
  if (Contains(kMpeg1Rates, rate)) return Contains(kMpeg1Kbps, kbps);
  if (Contains(kMpeg2Rates, rate)) return Contains(kMpeg2Kbps, kbps);
  return false;
}

bool CanWriteOggFormat(int rate, int channels, int kbps) {
  if (channels < 1 || channels > 2 || rate < 1 || kbps <= 0 || kbps > 100000) return false;
  vorbis_info vi;
  vorbis_info_init(&vi);
  const bool ok =
      vorbis_encode_setup_managed(&vi, channels, rate, -1, long(kbps) * 1000, -1) == 0 &&
      vorbis_encode_setup_init(&vi) == 0;
  vorbis_info_clear(&vi);
  return ok;
}

TMp3Params ResolveMp3(const TOutputFormat& format, int sourceRate) {
  TMp3Params p;
  const TLameEncoderSettings& e = format.Mp3Encoder;
  if (format.Mp3Mode == TMp3Mode::Cbr) {
    p.SampleRate = format.Mp3SampleRate;
    p.Channels = format.Mp3Channels == 1 ? 1 : 2;
    p.Mode = p.Channels == 1 ? TMp3ChannelMode::Mono : TMp3ChannelMode::JointStereo;
    p.Control = TMp3RateControl::Cbr;
    p.Kbps = format.Mp3Kbps;
    p.Xing = true;
    p.Crc = false;
    if (!IsMp3SampleRate(p.SampleRate))
      throw EAudioFileError(
          Format("MP3 files cannot have a sample rate of %d Hz.", {p.SampleRate}));
    if (p.Kbps <= 0)
      throw EAudioFileError(Format("An MP3 bit rate of %d kbps is not possible.", {p.Kbps}));
    return p;
  }
  p.Xing = e.WriteXing;
  p.Crc = e.WriteCrc;
  if (e.Preset != 0) {
    if (e.Preset < 1 || e.Preset > 11)
      throw EAudioFileError(Format("There is no MP3 preset %d.", {e.Preset}));
    const TMp3PresetRow& row = kMp3Presets[e.Preset - 1];
    p.SampleRate = row.SampleRate;
    p.Mode = row.Mode;
    p.Channels = row.Mode == TMp3ChannelMode::Mono ? 1 : 2;
    p.Control = TMp3RateControl::Cbr;
    p.Kbps = row.Kbps;
    return p;
  }
  p.SampleRate = IsMp3SampleRate(sourceRate) ? sourceRate : 44100;
  if (e.ChannelCount == 1) {
    p.Channels = 1;
    p.Mode = TMp3ChannelMode::Mono;
  } else {
    p.Channels = 2;
    p.Mode = e.StereoMode == 1   ? TMp3ChannelMode::Stereo
             : e.StereoMode == 4 ? TMp3ChannelMode::DualChannel
                                 : TMp3ChannelMode::JointStereo;
  }
  p.MinKbps = std::max(0, e.VbrMinBitRate);
  p.MaxKbps = std::max(0, e.VbrMaxBitRate);
  if (p.MinKbps && p.MaxKbps && p.MinKbps > p.MaxKbps) std::swap(p.MinKbps, p.MaxKbps);
  if (e.VbrMethod == 4) {
    p.Control = TMp3RateControl::Abr;
    p.Kbps = std::clamp(e.AbrBitRate, 8, 320);
  } else {
    p.Control = TMp3RateControl::Vbr;
    p.VbrLevel = 9 - std::clamp(int(e.VbrQuality), 0, 9);
  }
  return p;
}

TWmaProfile WmaProfile(int code) {
  for (const TWmaProfile& p : kWmaProfiles)
    if (p.Code == code) return p;
  throw EAudioFileError(Format("There is no WMA profile %d.", {code}));
}

TPcmShape OutputShape(int formatCode, const TOutputFormat& format, int sourceRate) {
  switch (formatCode) {
    case afWav:
      return {format.WavSampleRate, format.WavChannels};
    case afMp3: {
      const TMp3Params p = ResolveMp3(format, sourceRate);
      return {p.SampleRate, p.Channels};
    }
    case afOgg:
      return {format.OggSampleRate, format.OggChannels};
    case afWma: {
      const TWmaProfile p = WmaProfile(format.WmaProfile);
      return {p.SampleRate, p.Channels};
    }
  }
  throw EAudioFileError(Format("There is no file format %d.", {formatCode}));
}
