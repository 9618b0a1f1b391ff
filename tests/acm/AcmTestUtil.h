#pragma once
// Helpers of the audio input tests: input files made by sox at test time, their samples read
// back by sox as raw bytes, and a small producer that publishes blocks to its observers.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "acm/deACM.h"

namespace acmtest {

inline void Sox(const std::string& args) {
  const std::string command = "sox " + args + " 2>/dev/null";
  ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

inline std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
}

// The 16-bit samples of a WAV file as sox reads them.
inline std::vector<uint8_t> RawSamples(const std::filesystem::path& wav) {
  const auto raw = wav.parent_path() / (wav.stem().string() + ".raw");
  Sox("'" + wav.string() + "' -t raw -e signed -b 16 '" + raw.string() + "'");
  return ReadFile(raw);
}

// Makes DIR/input.wav (44.1 kHz, 16-bit stereo) from sox arguments that follow "-n".
inline void MakeInput(const std::filesystem::path& dir, const std::string& synth) {
  Sox("-D -r 44100 -c 2 -n -b 16 '" + (dir / "input.wav").string() + "' " + synth);
}

// Makes DIR/input.wav from interleaved 16-bit stereo samples.
inline void MakeInputFromSamples(const std::filesystem::path& dir,
                                 const std::vector<int16_t>& samples) {
  const auto raw = dir / "made.raw";
  std::ofstream(raw, std::ios::binary)
      .write(reinterpret_cast<const char*>(samples.data()), std::streamsize(samples.size() * 2));
  Sox("-t raw -r 44100 -e signed -b 16 -c 2 '" + raw.string() + "' '" +
      (dir / "input.wav").string() + "'");
}

inline std::unique_ptr<TdeWaveFormat> PcmFormat(uint32_t rate, int bits, int channels) {
  auto f = std::make_unique<TdeWaveFormat>();
  f->SetFormatTag(WAVE_FORMAT_PCM);
  f->SetSamplesPerSec(rate);
  f->SetBitsPerSample(uint16_t(bits));
  f->SetChannels(uint16_t(channels));
  f->SetBlockAlign(uint16_t(channels * bits / 8));
  f->SetAvgBytesPerSec(rate * uint32_t(channels * bits / 8));
  return f;
}

// A producer of blocks in a given format.
class TestProducer : public TComponent, public IdeAudioSubject {
 public:
  explicit TestProducer(TComponent* AOwner = nullptr)
      : TComponent(AOwner), Format(PcmFormat(44100, 16, 2)),
        Subject(std::make_unique<TdeAudioSubject>(this, Format.get())) {}
  void Attach(IdeAudioObserver* o) override { Subject->Attach(o); }
  void Detach(IdeAudioObserver* o) override { Subject->Detach(o); }
  TdeWaveFormat* GetFormat() override { return Format.get(); }
  void Publish(const void* data, int size) { Subject->Notify(this, data, size); }

  std::unique_ptr<TdeWaveFormat> Format;
  std::unique_ptr<TdeAudioSubject> Subject;
};

}  // namespace acmtest
