#pragma once
// Encoders of the four save formats behind one interface: interleaved float frames in, at the
// rate and channel count the encoder asks for, a finished file out.

#include <memory>
#include <string>

#include "audio/AudioDecoder.h"
#include "audio/AudioOutputFormat.h"

class TAudioEncoder {
 public:
  virtual ~TAudioEncoder() = default;
  int SampleRate() const { return FSampleRate; }
  int Channels() const { return FChannels; }
  // Frames must be at SampleRate() with Channels() values each.
  virtual void Write(const float* frames, size_t count) = 0;
  // Completes the file (flush, trailers, headers); nothing may be written afterwards.
  virtual void Finish() = 0;

 protected:
  int FSampleRate = 0, FChannels = 0;
};

// Opens an encoder writing `path`; errors name `shownName`. sourceRate guides the formats whose
// rate follows the source (MP3 variable and average bit rates).
std::unique_ptr<TAudioEncoder> CreateAudioEncoder(TAudioFileKind kind, const TAudioOutputFormat& format,
                                                  int sourceRate, const std::string& path,
                                                  const std::string& shownName,
                                                  const TAudioTags& tags);
