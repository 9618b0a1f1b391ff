#pragma once
// How decoders and encoders meet the editing engine (AudioDocument).
//
// Opening: a decoder gets an AudioSink. It calls Begin(rate, channels, expectedFrames) once, as
// soon as it knows the format (expectedFrames may be -1 when unknown), then Append() with
// interleaved float blocks of any size, in order, until the file ends. A decoder reports failure
// by throwing an Exception (the document then stays valid and empty). The sink may throw EAbort
// when the user cancels; let it pass.
//
// Saving: an encoder gets an AudioSource that already delivers the frames in the output rate and
// channel count asked by the chosen format. It calls Read() until it returns 0 and writes what it
// gets; the source reports progress itself.
//
// Registering: non-WAV formats plug into the engine with RegisterFileDecoder (tried for every
// path the WAV reader does not take) and RegisterFileEncoder (by SaveFile format code: 2 MP3,
// 6 OGG, 11 WMA). WAV (format 1) is built in.

#include <cstdint>
#include <functional>
#include <string>

#include "audio/OutputFormat.h"

class AudioSink {
 public:
  virtual ~AudioSink() = default;
  virtual void Begin(int sampleRate, int channels, int64_t expectedFrames) = 0;
  virtual void Append(const float* values, int64_t frames) = 0;
};

class AudioSource {
 public:
  virtual ~AudioSource() = default;
  virtual int SampleRate() const = 0;
  virtual int Channels() const = 0;
  // Frames the source will deliver in all (exact for the engine's own sources).
  virtual int64_t Frames() const = 0;
  // Fills up to maxFrames interleaved frames; 0 at the end.
  virtual int64_t Read(float* values, int64_t maxFrames) = 0;
};

// Tags a decoder may read and an encoder may write, as FileInfo shows them.
struct AudioTags {
  std::string Title, Artist, Album, Comment;
  int Year = 0;
  int GenreIndex = -1;
};

// Returns false when the file is not of its kind (so another decoder may try); throws when it
// is but cannot be read.
using FileDecoder = std::function<bool(const std::string& path, AudioSink& sink, AudioTags& tags)>;
using FileEncoder = std::function<void(const std::string& path, const TOutputFormat& format,
                                       const AudioTags& tags, AudioSource& source)>;

void RegisterFileDecoder(FileDecoder decoder);
void RegisterFileEncoder(int formatCode, FileEncoder encoder);
// The rate and channels the encoder of `formatCode` wants for `format`; an encoder registers it
// with itself. Without one, the output keeps the source's rate and channels.
using EncoderFormatQuery =
    std::function<void(const TOutputFormat& format, int& sampleRate, int& channels)>;
void RegisterEncoderFormat(int formatCode, EncoderFormatQuery query);
