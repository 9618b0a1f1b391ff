#pragma once
// WMA files through FFmpeg's WMA version 2 encoder in an ASF container. A profile whose bit rate
// is below what the encoder accepts (8 kbps, code 36) is written at kWmaMinKbps with the
// profile's sample rate and channels. WMA states no exact length: the sound comes back from a
// decoder in place, followed by silence up to the end of a codec frame.

#include <memory>

#include "audio/AudioEncoder.h"

class TWmaEncoder : public TAudioEncoder {
 public:
  TWmaEncoder(const TWmaProfile& profile, const std::string& path, const std::string& shownName,
              const AudioTags& tags);
  ~TWmaEncoder() override;
  void Finish() override;

 protected:
  void Encode(const float* frames, size_t count) override;

 private:
  struct TState;
  void SendFrame(bool last);
  void Drain();
  std::unique_ptr<TState> S;
  std::string FShown;
  bool FFinished = false;
};
