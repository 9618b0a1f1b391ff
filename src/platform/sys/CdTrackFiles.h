#pragma once
// The audio tracks of a CD as files: "D:\Track01.cda"... named by track number (data tracks
// left out), sized sectors x 2352 bytes. FindFirst and FileExists see them once
// InstallCdTrackFiles has run; TCdTrackReader reads one with libcdio-paranoia as 44100 Hz
// 16-bit stereo.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/rtl/SysUtils.h"

// Installs the track-file provider unless another provider is installed (idempotent).
void InstallCdTrackFiles();
// The provider itself, for tests that install providers of their own around it.
TVirtualFileProvider& CdTrackFileProvider();

// Splits "D:\Track02.cda" (any case, '\' or '/') into the drive letter and the track number;
// false for any other name.
bool ParseCdTrackPath(const std::string& Path, char& Letter, int& Track);

class TCdTrackReader {
 public:
  // Opens a track file; raises EInOutError with a text saying what is missing (drive, disc,
  // track) or that the track holds no audio.
  explicit TCdTrackReader(const std::string& Path);
  ~TCdTrackReader();
  TCdTrackReader(const TCdTrackReader&) = delete;
  TCdTrackReader& operator=(const TCdTrackReader&) = delete;

  static constexpr int SampleRate = 44100;
  static constexpr int Channels = 2;
  static constexpr int FramesPerSector = 588;

  int64_t Frames() const;
  // Reads the next sector into Samples (FramesPerSector stereo frames); false at the end.
  // Raises EInOutError when the drive fails.
  bool ReadSector(const int16_t*& Samples);

 private:
  struct TImpl;
  std::unique_ptr<TImpl> F;
};
