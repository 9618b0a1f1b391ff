#pragma once
// MP3 files through libmp3lame: constant, variable and average bit rates, the stereo modes, the
// Xing/Info header with the encoder delay and padding (written over its placeholder frame once
// the stream is complete), CRC, and ID3 version 1 and 2 tags.

#include <memory>

#include "audio/AudioEncoder.h"
#include "audio/SafeFileSave.h"

struct lame_global_struct;

class TMp3Encoder : public TAudioEncoder {
 public:
  TMp3Encoder(const TMp3Params& params, const std::string& path, const std::string& shownName,
              const AudioTags& tags);
  ~TMp3Encoder() override;
  void Finish() override;

 protected:
  void Encode(const float* frames, size_t count) override;

 private:
  void Drain(int bytes);
  void WriteInfoFrame(int64_t audioEnd);
  lame_global_struct* FLame = nullptr;
  TCheckedFile FFile;
  std::vector<unsigned char> FBuffer;
  std::vector<float> FLeft, FRight;
  int64_t FFramesStart = 0;  // where the audio frames begin, after the ID3v2 tag
  bool FXing = false;
  // Constant-rate streams carry an Info frame of our own: LAME leaves its header out of frames
  // too small for it, and without the encoder delay every open and save would add silence.
  bool FOwnInfo = false;
  TMp3Params FParams;
  int FInfoBitrateIndex = 0;
  size_t FInfoSize = 0;
  uint16_t FMusicCrc = 0;  // of the audio frames, for the Info frame
  bool FFinished = false;
  bool FWrote = false;
  std::string FShown;
};
