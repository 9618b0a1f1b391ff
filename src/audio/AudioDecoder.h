#pragma once
// Reads any sound file the editor opens into interleaved 32-bit float frames, block by block.
//
// Files are recognised by their content through FFmpeg, except the headerless kinds, which only
// their extension identifies (unless the file starts with a container's header after all) and
// whose layout is therefore assumed:
//   .raw          signed 16-bit little-endian PCM, mono, 8000 Hz
//   .vox          Dialogic (OKI) 4-bit ADPCM, mono, 8000 Hz
//   .g721         G.726 ADPCM at 32 kbit/s (4-bit codes), mono, 8000 Hz
//   .g723         G.726 ADPCM at 24 kbit/s (3-bit codes), mono, 8000 Hz
//   .g726         G.726 ADPCM at 32 kbit/s (4-bit codes), mono, 8000 Hz
// The G.726 kinds are read with their codes packed from the least significant bit of each byte,
// the packing of RTP payloads and of most telephony tools.
// Files with more than two channels are mixed down to stereo.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "audio/AudioStream.h"

struct TAudioStreamInfo {
  int SampleRate = 0;
  int Channels = 0;             // of the frames delivered: 1 or 2
  int SourceChannels = 0;       // as stored in the file
  int64_t LengthFrames = 0;     // estimate from the file's header or size; 0 when unknown
  bool LengthDoubtful = false;  // far more than the file's size and bit rate allow
  int64_t BitRate = 0;          // bits per second, 0 when unknown
  std::string CodecName;
};

inline bool AudioTagsEmpty(const AudioTags& t) {
  return t.Title.empty() && t.Artist.empty() && t.Album.empty() && t.Comment.empty() &&
         t.Year == 0 && t.GenreIndex < 0;
}

class TAudioDecoder {
 public:
  // Opens and identifies the file; raises EAudioFileError when it is missing, unreadable or holds
  // no decodable audio.
  explicit TAudioDecoder(const std::string& path);
  ~TAudioDecoder();
  TAudioDecoder(const TAudioDecoder&) = delete;
  TAudioDecoder& operator=(const TAudioDecoder&) = delete;

  const TAudioStreamInfo& Info() const;
  const AudioTags& Tags() const;
  const std::string& Path() const;

  // Appends up to maxFrames frames to out; returns the frames appended, 0 only at the end.
  // A file damaged midway ends early; one that yields nothing at all raises EAudioFileError.
  size_t Read(std::vector<float>& out, size_t maxFrames);
  // Frames delivered so far.
  int64_t Position() const;
  bool AtEnd() const;

  // Decodes the rest of the file.
  std::vector<float> ReadAll();

 private:
  struct TImpl;
  std::unique_ptr<TImpl> F;
};

// Whole file at once: frames appended to samples, the stream's description returned.
TAudioStreamInfo DecodeAudioFile(const std::string& path, std::vector<float>& samples,
                                 AudioTags* tags = nullptr);

// Genre names of the ID3 table by index (0..147); empty for any other index.
std::string AudioGenreName(int index);
// Index of a genre name or of a number in text ("17", "(17)"); -1 when unknown.
int AudioGenreIndex(const std::string& name);
