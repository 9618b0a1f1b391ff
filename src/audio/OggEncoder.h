#pragma once
// Ogg Vorbis files through libvorbisenc: an average bit rate, or a quality level; tags as Vorbis
// comments.

#include <memory>

#include "audio/AudioEncoder.h"
#include "audio/SafeFileSave.h"

class TOggEncoder : public TAudioEncoder {
 public:
  TOggEncoder(const TOutputFormat& format, const std::string& path, const std::string& shownName,
              const AudioTags& tags);
  ~TOggEncoder() override;
  void Finish() override;

 protected:
  void Encode(const float* frames, size_t count) override;

 private:
  struct TState;
  void Pump(bool flushPages);
  std::unique_ptr<TState> S;
  TCheckedFile FFile;
  bool FFinished = false;
};
