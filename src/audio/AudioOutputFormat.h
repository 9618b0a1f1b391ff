#pragma once
// What a save or a file writer produces: the kind of file and each kind's settings, as set through
// the format setters of the editor and of the file writer.

#include <cstdint>
#include <string>

#include "audio/AudioDecoder.h"

// The file-kind codes of SaveFile.
enum class TAudioFileKind { Wav = 1, Mp3 = 2, Ogg = 6, Wma = 11 };

// The MP3 encoder settings object's values. Which of Preset and VbrMethod was put last decides
// whether a preset row or the variable/average settings apply.
struct TLameEncSettings {
  int Preset = 9;  // 1..11
  int VbrMaxBitRate = 320;
  int VbrQuality = 7;  // LAME's -V is 9 - VbrQuality
  int VbrMethod = 0;   // 0 by quality, 4 average bit rate
  int AbrBitRate = 192;
  int StereoMode = 2;  // 1 stereo, 2 joint stereo, 4 dual channels
  bool WriteXing = true;
  bool WriteCrc = false;
  int ChannelCount = 2;
  int VbrMinBitRate = 32;
  bool PresetRules = true;  // true after a put of Preset, false after one of VbrMethod
};

struct TMp3Format {
  bool Cbr = false;  // SetMp3CbrFormat was the last MP3 setter
  int CbrSampleRate = 44100, CbrKbps = 192, CbrChannels = 2;
  TLameEncSettings Encoder;
};

struct TOggFormat {
  int SampleRate = 44100, Channels = 2;
  int Kbps = 192;      // average bit rate; 0 selects Quality
  int Quality = -1;    // 0..1000 (a tenth of a percent), used when Kbps is 0
};

struct TWavFormat {
  int SampleRate = 44100, Channels = 2, Bits = 16;
};

struct TAudioOutputFormat {
  TWavFormat Wav;
  TMp3Format Mp3;
  TOggFormat Ogg;
  int WmaCode = 10;
};

// LAME's parameters after the rules above, for a source of the given rate.
enum class TMp3Mode { Stereo, JointStereo, DualChannel, Mono };
enum class TMp3RateControl { Cbr, Vbr, Abr };
struct TMp3Params {
  int SampleRate = 44100;
  int Channels = 2;
  TMp3Mode Mode = TMp3Mode::JointStereo;
  TMp3RateControl Control = TMp3RateControl::Cbr;
  int Kbps = 192;       // CBR rate, or the ABR mean
  int VbrLevel = 2;     // LAME -V, 0 best .. 9
  int MinKbps = 0, MaxKbps = 0;  // VBR/ABR limits, 0 = LAME's own
  bool Xing = true;
  bool Crc = false;
};
TMp3Params ResolveMp3(const TMp3Format& format, int sourceRate);
// The MPEG audio sample rates and bit rates LAME writes.
bool IsMp3SampleRate(int rate);
bool CanWriteMp3Format(int rate, int kbps, int channels);
bool CanWriteOggFormat(int rate, int channels, int kbps);

// A WMA profile code's bit rate, sample rate and channels (codes 36, 23, 16, 13, 11, 10, 8).
struct TWmaProfile {
  int Code, Kbps, SampleRate, Channels;
};
// Raises EAudioFileError for a code we do not know.
TWmaProfile WmaProfile(int code);
// The lowest bit rate FFmpeg's WMA encoder accepts; lower profiles are written at this rate.
constexpr int kWmaMinKbps = 24;

// Target rate and channels of a file of this kind written from a source of the given format.
struct TPcmShape {
  int SampleRate, Channels;
};
TPcmShape OutputShape(TAudioFileKind kind, const TAudioOutputFormat& format, int sourceRate);
