// Decoding and encoding against the tools a user would run instead, on the same two-minute
// 44.1 kHz stereo input: MP3 and OGG decoding against the ffmpeg command line (to raw floats),
// MP3 saving against lame and OGG saving against oggenc at 192 kbps. An ffmpeg row times, in turn
// with the input, a 0.1 s file of the same kind: startup_ms is that, decode_ms the rest, and the
// decoder row after it carries vs_ffmpeg_decode, ffmpeg's decoding alone divided by ours. Inputs
// go to $SONALIX_BENCH_DIR (default /tmp/sonalix-bench) and are made once.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
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

// A tone with some noise, so the encoders have work of a realistic kind: kSeconds of it, or
// 0.1 s when `brief`.
std::string Wav(bool brief = false) {
  const fs::path path = BenchFolder() / (brief ? "codec-brief.wav" : "codec-input.wav");
  const int64_t frames = brief ? 4410 : int64_t(kSeconds) * 44100;
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
    w.Write(chunk.data(), std::min<int64_t>(44100, frames - f0));
  }
  w.Close();
  return path.string();
}

std::string Encoded(int code, const char* ext, bool brief = false) {
  const fs::path path = BenchFolder() / ((brief ? "codec-brief" : "codec-input") + std::string(ext));
  if (fs::exists(path)) return path.string();
  TOutputFormat f;
  f.Mp3Mode = TMp3Mode::Cbr;
  f.Mp3Kbps = 192;
  f.OggKbps = 192;
  WavSource source(Wav(brief));
  EncodeAudioFile(code, path.string(), f, AudioTags{}, source);
  return path.string();
}

// ffmpeg's decoding time without its start-up, per input extension; set by the ffmpeg rows,
// which run before ours.
std::map<std::string, double>& FfmpegDecodeSeconds() {
  static std::map<std::string, double> seconds;
  return seconds;
}

void Shell(benchmark::State& state, const std::string& command) {
  if (std::system((command + " >/dev/null 2>&1").c_str()) != 0)
    state.SkipWithError(command.c_str());
}

void Decode(benchmark::State& state, const std::string& path, const std::string& ext) {
  double total = 0;
  for (auto _ : state) {
    const double t0 = BenchNow();
    TAudioDecoder decoder(path);
    std::vector<float> block;
    int64_t frames = 0;
    size_t n;
    while ((n = decoder.Read(block, 65536)) > 0) {
      frames += int64_t(n);
      block.clear();
    }
    benchmark::DoNotOptimize(frames);
    total += BenchNow() - t0;
  }
  const double ffmpeg = FfmpegDecodeSeconds()[ext];
  if (ffmpeg > 0) state.counters["vs_ffmpeg_decode"] = ffmpeg / (total / double(state.iterations()));
}

void FfmpegDecode(benchmark::State& state, int code, const char* ext) {
  auto command = [](const std::string& in) {
    return "ffmpeg -nostdin -v quiet -i '" + in + "' -f f32le -y /dev/null";
  };
  const std::string input = command(Encoded(code, ext)), brief = command(Encoded(code, ext, true));
  double whole = 0, startup = 0;
  for (auto _ : state) {
    double t0 = BenchNow();
    Shell(state, input);
    whole += BenchNow() - t0;
    state.PauseTiming();
    t0 = BenchNow();
    Shell(state, brief);
    startup += BenchNow() - t0;
    state.ResumeTiming();
  }
  const double n = double(state.iterations());
  state.counters["startup_ms"] = startup / n * 1e3;
  state.counters["decode_ms"] = (whole - startup) / n * 1e3;
  FfmpegDecodeSeconds()[ext] = (whole - startup) / n;
}

void BM_FfmpegDecodesMp3(benchmark::State& state) { FfmpegDecode(state, afMp3, ".mp3"); }
void BM_DecoderMp3(benchmark::State& state) { Decode(state, Encoded(afMp3, ".mp3"), ".mp3"); }
void BM_FfmpegDecodesOgg(benchmark::State& state) { FfmpegDecode(state, afOgg, ".ogg"); }
void BM_DecoderOgg(benchmark::State& state) { Decode(state, Encoded(afOgg, ".ogg"), ".ogg"); }

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

BENCHMARK(BM_FfmpegDecodesMp3)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecoderMp3)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_FfmpegDecodesOgg)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_DecoderOgg)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_Mp3EncoderSaves)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_LameSaves)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_OggEncoderSaves)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(BM_OggencSaves)->Unit(benchmark::kMillisecond)->MinTime(2);
