#include "audio/CdaDecoder.h"

#include <filesystem>
#include <vector>

#include "audio/AudioFileError.h"
#include "platform/sys/CdTrackFiles.h"

bool DecodeCdTrack(const std::string& path, AudioSink& sink, AudioTags&) {
  std::string ext = std::filesystem::path(path).extension().string();
  if (!SameText(ext, ".cda")) return false;
  std::unique_ptr<TCdTrackReader> reader;
  try {
    reader = std::make_unique<TCdTrackReader>(path);
  } catch (const EInOutError& e) {
    throw EAudioFileError(e.Message());
  }
  sink.Begin(TCdTrackReader::SampleRate, TCdTrackReader::Channels, reader->Frames());
  // Blocks of about a second, so progress and cancel come often enough.
  constexpr int sectorsPerBlock = 75;
  std::vector<float> block(size_t(sectorsPerBlock) * TCdTrackReader::FramesPerSector * 2);
  for (;;) {
    size_t n = 0;
    const int16_t* samples;
    try {
      while (n < block.size() && reader->ReadSector(samples)) {
        for (int i = 0; i < TCdTrackReader::FramesPerSector * 2; ++i)
          block[n + size_t(i)] = float(samples[i]) * (1.0f / 32768.0f);
        n += TCdTrackReader::FramesPerSector * 2;
      }
    } catch (const EInOutError& e) {
      throw EAudioFileError(e.Message());
    }
    if (n == 0) break;
    sink.Append(block.data(), int64_t(n / 2));
  }
  return true;
}
