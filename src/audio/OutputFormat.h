#pragma once
// The output format settings of the editor's FileFormat and of the file writer: one setting per
// format, the last one set of each kind being the one a save of that kind uses.

#include <cstdint>

// The MP3 encoder settings object (puts only); bit rates in kbps.
struct TLameEncoderSettings {
  int Preset = 0;  // 1..11, 0 = none
  int VbrMaxBitRate = 320;
  int16_t VbrQuality = 4;
  int VbrMethod = 0;  // 0 quality-based, 4 average bit rate
  int AbrBitRate = 128;
  int StereoMode = 1;  // 1, 2, 4
  bool WriteXing = true;
  bool WriteCrc = false;
  int ChannelCount = 2;
  int VbrMinBitRate = 32;
  bool operator==(const TLameEncoderSettings&) const = default;
};

enum class TMp3Mode { Cbr, Encoder };

struct TOutputFormat {
  // WAV
  int WavSampleRate = 44100, WavChannels = 2, WavBits = 16;
  // MP3: either constant bit rate or the encoder settings object, whichever was set last.
  TMp3Mode Mp3Mode = TMp3Mode::Encoder;
  int Mp3SampleRate = 44100, Mp3Kbps = 128, Mp3Channels = 2;
  TLameEncoderSettings Mp3Encoder{.Preset = 10};
  // OGG: kbps 0 means quality-based (OggQuality is quality x 10); otherwise OggQuality is -1.
  int OggSampleRate = 44100, OggChannels = 2, OggKbps = 192;
  int16_t OggQuality = -1;
  // WMA profile code.
  int WmaProfile = 10;
  bool operator==(const TOutputFormat&) const = default;
};

// SaveFile format codes.
constexpr int afWav = 1, afMp3 = 2, afOgg = 6, afWma = 11;
