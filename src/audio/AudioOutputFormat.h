#pragma once
// What each save format's settings (TOutputFormat) mean for its encoder.

#include <cstdint>
#include <string>

#include "audio/OutputFormat.h"

// LAME's parameters for a source of the given rate. The encoder settings object applies its preset
// row (Preset 1..11) or, with Preset 0, its variable or average bit-rate settings.
enum class TMp3ChannelMode { Stereo, JointStereo, DualChannel, Mono };
enum class TMp3RateControl { Cbr, Vbr, Abr };
struct TMp3Params {
  int SampleRate = 44100;
  int Channels = 2;
  TMp3ChannelMode Mode = TMp3ChannelMode::JointStereo;
  TMp3RateControl Control = TMp3RateControl::Cbr;
  int Kbps = 192;                // CBR rate, or the ABR mean
  int VbrLevel = 2;              // LAME -V, 0 best .. 9
  int MinKbps = 0, MaxKbps = 0;  // VBR/ABR limits, 0 = LAME's own
  bool Xing = true;
  bool Crc = false;
};
TMp3Params ResolveMp3(const TOutputFormat& format, int sourceRate);
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
TPcmShape OutputShape(int formatCode, const TOutputFormat& format, int sourceRate);
