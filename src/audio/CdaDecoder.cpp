#include "audio/CdaDecoder.h"

#include <filesystem>
#include <vector>

#include "audio/AudioFileError.h"
#include "platform/sys/CdTrackFiles.h"

bool DecodeCdTrack(const std::string& path, AudioSink& sink, AudioTags&) {
  std::string ext = std::filesystem::path(path).extension().string();
  if (!SameText(ext, ".cda")) return false;
  try {
    TCdTrackReader reader(path);
    sink.Begin(TCdTrackReader::SampleRate, TCdTrackReader::Channels, reader.Frames());
    // Blocks of about a second, so progress and cancel come often enough.
    constexpr size_t sectorValues = TCdTrackReader::FramesPerSector * 2;
    std::vector<float> block(75 * sectorValues);
    for (;;) {
      size_t n = 0;
      const int16_t* samples;
      for (; n < block.size() && reader.ReadSector(samples); n += sectorValues)
        for (size_t i = 0; i < sectorValues; ++i)
          block[n + i] = float(samples[i]) * (1.0f / 32768.0f);
      if (n == 0) break;
      sink.Append(block.data(), int64_t(n / 2));
    }
  } catch (const EInOutError& e) {
    throw EAudioFileError(e.Message());
  }
  return true;
}
