// Input levels: the level source fed ten minutes of 44.1 kHz 16-bit stereo in the wave input's
// 22048-byte blocks (a conversion chain built for every block, converted to 48 kHz), beside sox
// converting the same raw samples to 48 kHz. Each iteration times both; vs_sox is sox's time
// divided by ours (above 0.5 means within twice sox's time).
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "BenchCommon.h"
#include "acm/deAudioControls.h"

namespace {

constexpr int kRate = 44100, kMinutes = 10, kBlockBytes = 22048;

class RawProducer : public TComponent, public IdeAudioSubject {
 public:
  RawProducer() : TComponent(nullptr), FFormat(std::make_unique<TdeWaveFormat>()) {
    FFormat->SetSamplesPerSec(kRate);
    FFormat->SetBitsPerSample(16);
    FFormat->SetBlockAlign(4);
    FFormat->SetAvgBytesPerSec(kRate * 4);
    FSubject = std::make_unique<TdeAudioSubject>(this, FFormat.get());
  }
  void Attach(IdeAudioObserver* o) override { FSubject->Attach(o); }
  void Detach(IdeAudioObserver* o) override { FSubject->Detach(o); }
  TdeWaveFormat* GetFormat() override { return FFormat.get(); }
  void Publish(const void* data, int size) { FSubject->Notify(this, data, size); }

 private:
  std::unique_ptr<TdeWaveFormat> FFormat;
  std::unique_ptr<TdeAudioSubject> FSubject;
};

// Ten minutes of a sweep with noise, kept in BenchFolder() as raw samples.
const std::vector<int16_t>& Input(std::string& path) {
  static std::vector<int16_t> samples;
  path = (BenchFolder() / "levels-10min.raw").string();
  if (samples.empty()) {
    const int64_t frames = int64_t(kMinutes) * 60 * kRate;
    samples.resize(size_t(frames) * 2);
    uint32_t noise = 1;
    for (int64_t f = 0; f < frames; ++f) {
      const double t = double(f) / kRate;
      noise = noise * 1664525u + 1013904223u;
      const double n = (double(noise >> 8) / double(1 << 24) - 0.5) * 0.05;
      samples[size_t(2 * f)] = int16_t(std::lrint((0.5 * std::sin(2 * M_PI * (200 + 5 * t) * t) + n) * 32767));
      samples[size_t(2 * f + 1)] = int16_t(std::lrint(0.3 * std::sin(2 * M_PI * 1000 * t) * 32767));
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(samples.data()), std::streamsize(samples.size() * 2));
  }
  return samples;
}

void BM_LevelSourceVsSox(benchmark::State& state) {
  std::string path;
  const std::vector<int16_t>& samples = Input(path);
  const std::string command = "sox -V1 -q -t raw -r 44100 -e signed -b 16 -c 2 '" + path +
                              "' -t raw -r 48000 /dev/null";
  double soxTotal = 0, oursTotal = 0;
  int64_t frames = 0;
  for (auto _ : state) {
    double t0 = BenchNow();
    if (std::system(command.c_str()) != 0) return state.SkipWithError("sox failed");
    soxTotal += BenchNow() - t0;

    RawProducer source;
    TdeAudioControlSource levels(nullptr);
    levels.SetAudioSource(&source);
    frames = 0;
    levels.OnDataChanged = [&](TObject*) { frames += levels.Frames(); };
    const auto* bytes = reinterpret_cast<const uint8_t*>(samples.data());
    const size_t size = samples.size() * 2;
    t0 = BenchNow();
    for (size_t at = 0; at < size; at += kBlockBytes)
      source.Publish(bytes + at, int(std::min<size_t>(kBlockBytes, size - at)));
    const double ours = BenchNow() - t0;
    oursTotal += ours;
    state.SetIterationTime(ours);
  }
  const double n = double(state.iterations());
  state.counters["sox_s"] = soxTotal / n;
  state.counters["ours_s"] = oursTotal / n;
  state.counters["vs_sox"] = soxTotal / oursTotal;
  state.counters["audio_x_realtime"] = double(kMinutes * 60) / (oursTotal / n);
  state.counters["frames_out"] = double(frames);
}
BENCHMARK(BM_LevelSourceVsSox)->Iterations(3)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
