// Opening a CD track as a document beside cd-paranoia ripping the same track of the same cue
// image to WAV: our time against its time, each reported as a ratio (vs_cd_paranoia, and
// vs_cd_paranoia_unchecked against its run without the overlap checks, which an image does not
// need and we skip).

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <vector>

#include "BenchCommon.h"
#include "audio/AudioDocument.h"
#include "audio/AudioEncoder.h"
#include "platform/sys/CdTrackFiles.h"
#include "platform/sys/Drives.h"

namespace fs = std::filesystem;

namespace {

constexpr int TrackSectors = 10 * 60 * 75;  // ten minutes

// A one-track disc image of ten minutes of a moving tone, made once.
std::string CueImage() {
  const fs::path cue = BenchFolder() / "cd-disc.cue";
  const fs::path bin = BenchFolder() / "cd-disc.bin";
  if (fs::exists(cue) && fs::exists(bin) && fs::file_size(bin) == uint64_t(TrackSectors) * 2352)
    return cue.string();
  std::ofstream out(bin, std::ios::binary | std::ios::trunc);
  std::vector<int16_t> sector(588 * 2);
  int64_t frame = 0;
  for (int s = 0; s < TrackSectors; ++s) {
    for (int i = 0; i < 588; ++i, ++frame) {
      const double t = double(frame) / 44100.0;
      sector[size_t(i) * 2] = int16_t(12000 * std::sin(2 * M_PI * (220 + 20 * std::sin(t)) * t));
      sector[size_t(i) * 2 + 1] = int16_t(9000 * std::sin(2 * M_PI * 330 * t));
    }
    out.write(reinterpret_cast<const char*>(sector.data()), std::streamsize(sector.size() * 2));
  }
  out.close();
  std::ofstream(cue) << "FILE \"cd-disc.bin\" BINARY\n  TRACK 01 AUDIO\n    INDEX 01 00:00:00\n";
  return cue.string();
}

double& ParanoiaSeconds(bool checks) {
  static double seconds[2] = {0, 0};
  return seconds[checks ? 1 : 0];
}

void BM_CdParanoiaRipsTrack(benchmark::State& state, bool checks) {
  const std::string cue = CueImage();
  const std::string wav = (BenchFolder() / "cd-paranoia-out.wav").string();
  const std::string command = "cd-paranoia -q " + std::string(checks ? "" : "-Z ") + "-d '" + cue +
                              "' 1 '" + wav + "' >/dev/null 2>&1";
  double total = 0;
  for (auto _ : state) {
    const double t0 = BenchNow();
    if (std::system(command.c_str()) != 0) state.SkipWithError("cd-paranoia failed");
    total += BenchNow() - t0;
  }
  ParanoiaSeconds(checks) = total / double(state.iterations());
  fs::remove(wav);
}

void UseImageDrive() {
  std::vector<TDriveInfo> drives(2);
  drives[0].RootPath = "/";
  drives[1].Letter = 'D';
  drives[1].Type = DRIVE_CDROM;
  drives[1].Device = CueImage();
  SetDriveTable(drives);
}

// The track's samples alone, without the document that stores them.
void BM_CdTrackReaderReadsTrack(benchmark::State& state) {
  UseImageDrive();
  for (auto _ : state) {
    TCdTrackReader reader("D:\\Track01.cda");
    const int16_t* samples;
    int64_t sum = 0;
    while (reader.ReadSector(samples)) sum += samples[0];
    benchmark::DoNotOptimize(sum);
  }
  ResetDriveTable();
}

void BM_DocumentOpensCdTrack(benchmark::State& state) {
  RegisterAudioCodecs();
  UseImageDrive();
  double total = 0;
  for (auto _ : state) {
    const double t0 = BenchNow();
    {
      AudioDocument doc;
      doc.OpenFile("D:\\Track01.cda");
      if (doc.Length() != int64_t(TrackSectors) * 588) state.SkipWithError("wrong length");
    }
    total += BenchNow() - t0;
  }
  const double ours = total / double(state.iterations());
  if (ParanoiaSeconds(true) > 0) state.counters["vs_cd_paranoia"] = ParanoiaSeconds(true) / ours;
  if (ParanoiaSeconds(false) > 0)
    state.counters["vs_cd_paranoia_unchecked"] = ParanoiaSeconds(false) / ours;
  ResetDriveTable();
}

}  // namespace

BENCHMARK_CAPTURE(BM_CdParanoiaRipsTrack, checked, true)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK_CAPTURE(BM_CdParanoiaRipsTrack, unchecked, false)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_CdTrackReaderReadsTrack)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_DocumentOpensCdTrack)->Unit(benchmark::kMillisecond)->Iterations(3);
