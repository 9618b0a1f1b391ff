// Decoding and encoding against the tools a user would run instead, on the same two-minute
// 44.1 kHz stereo input: MP3 and OGG decoding against the ffmpeg command line (to raw floats),
// MP3 saving against lame and OGG saving against oggenc at 192 kbps. Inputs go to
// $SONALIX_BENCH_DIR (default /tmp/sonalix-bench) and are made once.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "audio/AudioDecoder.h"
#include "audio/AudioEncoder.h"
#include "audio/WavFile.h"
#include "BenchCommon.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSeconds = 120;


class WavSource : public AudioSource {
 public:
  explicit WavSource(const std::string& path) : FReader(path) {}
  int SampleRate() const override { return FReader.Info().SampleRate; }
  int Channels() const override { return FReader.Info().Channels; }
  int64_t Frames() const override { return FReader.Info().Frames; }
  int64_t Read(float* values, int64_t maxFrames) override {
    return FReader.Read(values, maxFrames);
  }

 private:
  WavReader FReader;
};

// A tone with some noise, so the encoders have work of a realistic kind.
std::string Wav() {
  const fs::path path = BenchFolder() / "codec-input.wav";
  const int64_t frames = int64_t(kSeconds) * 44100;
  if (fs::exists(path) && WavReader(path.string()).Info().Frames == frames) return path.string();
  WavWriter w(path.string(), 44100, 2, 16);
  std::vector<float> chunk(2 * 44100);
  uint32_t seed = 1;
  for (int64_t f0 = 0; f0 < frames; f0 += 44100) {
    for (int i = 0; i < 44100; ++i) {
      const double t = double(f0 + i) / 44100;
      seed = seed * 1664525u + 1013904223u;
      const float noise = float(int32_t(seed) / 2147483648.0 * 0.05);
      chunk[size_t(2 * i)] =
          float(0.3 * std::sin(2 * M_PI * 440 * t) + 0.1 * std::sin(2 * M_PI * 3520 * t)) + noise;
      chunk[size_t(2 * i + 1)] = float(0.3 * std::sin(2 * M_PI * 660 * t)) - noise;
    }
    w.Write(chunk.data(), 44100);
  }
  w.Close();
  return path.string();
}

std::string Encoded(int code, const char* ext) {
  const fs::path path = BenchFolder() / (std::string("codec-input") + ext);
  if (fs::exists(path)) return path.string();
  TOutputFormat f;
  f.Mp3Mode = TMp3Mode::Cbr;
  f.Mp3Kbps = 192;
  f.OggKbps = 192;
  WavSource source(Wav());
  EncodeAudioFile(code, path.string(), f, AudioTags{}, source);
  return path.string();
}

void Shell(benchmark::State& state, const std::string& command) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
    state.SkipWithError(command.c_str());
}

void Decode(benchmark::State& state, const std::string& path) {
  for (auto _ : state) {
    TAudioDecoder decoder(path);
    std::vector<float> block;
    int64_t frames = 0;
    size_t n;
    while ((n = decoder.Read(block, 65536)) > 0) {
      frames += int64_t(n);
      block.clear();
    }
    benchmark::DoNotOptimize(frames);
  }
}

void BM_DecoderMp3(benchmark::State& state) { Decode(state, Encoded(afMp3, ".mp3")); }
void BM_FfmpegDecodesMp3(benchmark::State& state) {
  const std::string in = Encoded(afMp3, ".mp3");
  for (auto _ : state)
    Shell(state, "ffmpeg -nostdin -v quiet -i '" + in + "' -f f32le -y /dev/null");
}
void BM_DecoderOgg(benchmark::State& state) { Decode(state, Encoded(afOgg, ".ogg")); }
void BM_FfmpegDecodesOgg(benchmark::State& state) {
  const std::string in = Encoded(afOgg, ".ogg");
  for (auto _ : state)
    Shell(state, "ffmpeg -nostdin -v quiet -i '" + in + "' -f f32le -y /dev/null");
}

void Encode(benchmark::State& state, int code, const char* ext) {
  const std::string in = Wav();
  const std::string out = (BenchFolder() / (std::string("ours") + ext)).string();
  TOutputFormat f;
  f.Mp3Mode = TMp3Mode::Cbr;
  f.Mp3Kbps = 192;
  f.OggKbps = 192;
  for (auto _ : state) {
    WavSource source(in);
    EncodeAudioFile(code, out, f, AudioTags{}, source);
  }
}

void BM_Mp3EncoderSaves(benchmark::State& state) { Encode(state, afMp3, ".mp3"); }
void BM_LameSaves(benchmark::State& state) {
  const std::string in = Wav();
  for (auto _ : state)
    Shell(state, "lame --quiet -b 192 '" + in + "' '" + (BenchFolder() / "lame.mp3").string() + "'");
}
void BM_OggEncoderSaves(benchmark::State& state) { Encode(state, afOgg, ".ogg"); }
void BM_OggencSaves(benchmark::State& state) {
  const std::string in = Wav();
  for (auto _ : state)
    Shell(state,
          "oggenc -Q -b 192 --managed '" + in + "' -o '" + (BenchFolder() / "oggenc.ogg").string() + "'");
}

}  // namespace

BENCHMARK(BM_DecoderMp3)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_FfmpegDecodesMp3)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecoderOgg)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_FfmpegDecodesOgg)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_Mp3EncoderSaves)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LameSaves)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_OggEncoderSaves)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_OggencSaves)->Unit(benchmark::kMillisecond)->MinTime(2);
