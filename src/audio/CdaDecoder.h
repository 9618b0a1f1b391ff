#pragma once
// CD tracks ("D:\Track02.cda") opened as documents: 44100 Hz 16-bit stereo read from the drive.

#include <string>

#include "audio/AudioStream.h"

// False for any path that is no ".cda" file; raises EAudioFileError when the drive, its disc or
// the track is missing or the drive fails. The sink may raise EAbort (cancel).
bool DecodeCdTrack(const std::string& path, AudioSink& sink, AudioTags& tags);
