#pragma once
// WAV files: reading 8/16/24/32-bit integer and 32/64-bit float PCM (plain or extensible
// header), writing 8/16/24-bit integer and 32-bit float. Samples are interleaved floats, full
// scale -1..1; integers map n bits to x / 2^(n-1), and writing rounds and clips.

#include <cstdint>
#include <cstdio>
#include <string>

#include "platform/rtl/SysUtils.h"

// A WAV file of more frames than an editor holds: no other reader will do better with it.
SONALIX_DECLARE_EXCEPTION(EWavTooLong, EReadError);

// The most bytes of sound a WAV file holds (its sizes are 32-bit, the header takes the rest).
constexpr uint64_t kMaxWavDataBytes = 0xFFFFFFFFull - 64;

struct WavInfo {
  int SampleRate = 0;
  int Channels = 0;
  int Bits = 0;
  bool Float = false;
  int64_t Frames = 0;
};

class WavReader {
 public:
  // Throws EFOpenError when the file cannot be opened, EReadError when it is no usable WAV file.
  explicit WavReader(const std::string& path);
  ~WavReader();
  WavReader(const WavReader&) = delete;
  WavReader& operator=(const WavReader&) = delete;

  // True when the file starts as a RIFF WAVE file (whether or not it is usable).
  static bool LooksLikeWav(const std::string& path);

  const WavInfo& Info() const { return FInfo; }
  // Reads up to maxFrames frames; returns the frames read, 0 at the end.
  int64_t Read(float* values, int64_t maxFrames);

  // For readers of their own (several threads reading parts with pread): where the frames
  // start, the bytes of one frame, and the conversion of raw frames to floats.
  int64_t DataOffset() const { return FDataOffset; }
  int BytesPerFrame() const { return FBytesPerFrame; }
  static void Convert(const unsigned char* raw, int64_t frames, const WavInfo& info,
                      int bytesPerFrame, float* values);

 private:
  std::FILE* FFile = nullptr;
  WavInfo FInfo;
  int64_t FDataOffset = 0;
  int64_t FPosition = 0;  // frames read
  int FBytesPerFrame = 0;
  std::string FPath;
};

class WavWriter {
 public:
  // bits: 8, 16, 24 (integer) or 32 (float). Throws EFCreateError when the file cannot be made.
  // Errors name shownName (the file the user asked for, when `path` is a temporary one).
  WavWriter(const std::string& path, int sampleRate, int channels, int bits,
            const std::string& shownName = {});
  ~WavWriter();
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  void Write(const float* values, int64_t frames);
  // Completes the header; throws EWriteError when the data could not be written.
  void Close();
  int64_t Frames() const { return FFrames; }

 private:
  void WriteHeader();
  void Failed();

  std::FILE* FFile = nullptr;
  std::string FPath;
  int FSampleRate, FChannels, FBits;
  int64_t FFrames = 0;
  int FError = 0;  // the first write error
};
