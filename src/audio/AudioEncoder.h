#pragma once
// Encoders of the save formats behind one interface: interleaved float frames in, at the rate and
// channel count the encoder asks for, a finished file out.

#include <memory>
#include <string>
#include <vector>

#include "audio/AudioDecoder.h"
#include "audio/AudioOutputFormat.h"

class TAudioEncoder {
 public:
  virtual ~TAudioEncoder() = default;
  int SampleRate() const { return FSampleRate; }
  int Channels() const { return FChannels; }
  // Frames must be at SampleRate() with Channels() values each. They are clipped to full scale
  // (non-finite values made 0) first: the codecs' models misbehave on anything else.
  void Write(const float* frames, size_t count);
  // Completes the file (flush, trailers, headers); nothing may be written afterwards.
  virtual void Finish() = 0;

 protected:
  // Gets what Write was given, clipped.
  virtual void Encode(const float* frames, size_t count) = 0;
  int FSampleRate = 0, FChannels = 0;

 private:
  std::vector<float> FClipped;
};

// Opens an encoder of MP3 (2), OGG (6) or WMA (11) writing `path`; errors name `shownName`.
// sourceRate guides the formats whose rate follows the source (MP3 variable and average rates).
std::unique_ptr<TAudioEncoder> CreateAudioEncoder(int formatCode, const TOutputFormat& format,
                                                  int sourceRate, const std::string& path,
                                                  const std::string& shownName,
                                                  const AudioTags& tags);

// Saves what `source` delivers (already at OutputShape's rate and channels) as `path` through a
// temporary file; the old file is replaced only by a complete new one.
void EncodeAudioFile(int formatCode, const std::string& path, const TOutputFormat& format,
                     const AudioTags& tags, AudioSource& source);

// Hooks the FFmpeg decoder and the MP3, OGG and WMA encoders into the editing engine. Idempotent.
void RegisterAudioCodecs();
