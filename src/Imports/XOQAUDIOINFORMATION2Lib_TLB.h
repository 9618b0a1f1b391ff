#pragma once
// TAudioInformation2: a sound file's tags and length, and the carrying of those tags over to
// another file (a converted copy). The other file keeps its sound bit for bit: its streams are
// copied into a new container with the new tags, written aside and renamed over it.

#include <cstdint>
#include <memory>
#include <string>

#include "audio/AudioStream.h"
#include "platform/rtl/Classes.h"

class TAudioInformation2 : public TComponent {
 public:
  explicit TAudioInformation2(TComponent* AOwner);
  ~TAudioInformation2() override;

  // Raises EAudioFileError when the file is missing or no sound file.
  void OpenFile(const std::string& path);
  // Writes the opened file's tags into the file at path (WAV, MP3, OGG or WMA).
  void WriteInfoTo(const std::string& path);
  // Frames of the opened file, counted exactly (decoded on first request).
  int64_t LengthInSamples();
  const AudioTags& Tags() const { return FTags; }

 private:
  std::string FPath;
  AudioTags FTags;
  int64_t FLength = -1;
};

// Rewrites the tags of a WAV, MP3, OGG or WMA file, keeping its encoded sound as it is.
void WriteAudioTags(const std::string& path, const AudioTags& tags);

// Makes the class known by name to form descriptions.
void RegisterAudioInformation2();
