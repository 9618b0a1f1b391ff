// Damaged values (NaN, infinities, levels past full scale) and multi-channel mix-downs: what
// enters the engine is finite, and what leaves it through an encoder stays within full scale.

#include <gtest/gtest.h>

#include <limits>

#include "AudioTestUtil.h"
#include "CodecTestUtil.h"
#include "audio/AudioDecoder.h"
#include "audio/AudioDocument.h"
#include "audio/AudioEncoder.h"
#include "audio/DspKernels.h"
#include "audio/WavFile.h"
#include "common/TestEnv.h"

using namespace audiotest;
namespace fs = std::filesystem;

namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

struct Damage {
  int64_t Frame;
  int Channel;
  float Value;
};

// A stereo sine at half scale, one second at 44.1 kHz, with the damage a single flipped exponent
// bit makes: NaN and infinities of both signs.
const Damage kDamage[] = {{1000, 0, kNaN}, {5000, 1, kInf}, {20000, 0, -kInf}, {20000, 1, -kNaN},
                          {44099, 1, kInf}};

SampleBuffer DamagedSine() {
  SampleBuffer b = Sine(44100, 440, 44100, 2, 0.5);
  for (const Damage& d : kDamage) b.At(d.Frame, d.Channel) = d.Value;
  return b;
}

float Peak(const std::vector<float>& v) { return DspPeak(v.data(), v.size()); }

}  // namespace

TEST(SampleSanity, KernelsMakeFiniteAndClip) {
  const float in[] = {0.25f, kNaN, -kNaN, kInf, -kInf, 3.0f, -1.5f, 1.0f, -0.0f,
                      std::numeric_limits<float>::max(), std::numeric_limits<float>::denorm_min()};
  const float finite[] = {0.25f, 0, 0, 0, 0, 3.0f, -1.5f, 1.0f, -0.0f,
                          std::numeric_limits<float>::max(),
                          std::numeric_limits<float>::denorm_min()};
  const float clipped[] = {0.25f, 0, 0, 0, 0, 1.0f, -1.0f, 1.0f, -0.0f, 1.0f,
                           std::numeric_limits<float>::denorm_min()};
  constexpr size_t n = std::size(in);
  // Long enough for the vector loops, with a tail the vector width does not divide.
  std::vector<float> a, expectFinite, expectClipped;
  for (int r = 0; r < 7; ++r) {
    a.insert(a.end(), in, in + n);
    expectFinite.insert(expectFinite.end(), finite, finite + n);
    expectClipped.insert(expectClipped.end(), clipped, clipped + n);
  }
  std::vector<float> b(a.size());
  DspClampFullScale(b.data(), a.data(), a.size());
  DspMakeFinite(a.data(), a.size());
  for (size_t i = 0; i < a.size(); ++i) {
    EXPECT_EQ(a[i], expectFinite[i]) << i;
    EXPECT_EQ(b[i], expectClipped[i]) << i;
  }
}

// Opened from a float WAV file, the damaged values are silence and nothing else changes; saved in
// every format, the file reads back finite and at the sine's level (OGG once carried a +42 dBFS
// spike, MP3 aborted the process).
TEST(SampleSanity, DamagedFloatWavOpensFiniteAndSavesInEveryFormat) {
  const fs::path dir = sonalix::test::MakeTempDir("nonfinite");
  const fs::path source = dir / "damaged.wav";
  const SampleBuffer original = DamagedSine();
  WriteRawFloatWav(source.string(), original);

  AudioDocument doc;
  doc.OpenFile(source.string());
  ASSERT_EQ(doc.Length(), 44100);
  const SampleBuffer opened = Contents(doc);
  ASSERT_TRUE(AllFinite(opened.Data(), size_t(opened.ValueCount())));
  for (const Damage& d : kDamage) EXPECT_EQ(opened.At(d.Frame, d.Channel), 0.0f) << d.Frame;
  EXPECT_EQ(opened.At(1001, 0), original.At(1001, 0));
  EXPECT_EQ(opened.At(1000, 1), original.At(1000, 1));

  // The other readers of the file: FFmpeg's, as the batch converter and information object use.
  std::vector<float> decoded;
  DecodeAudioFile(source.string(), decoded);
  ASSERT_EQ(decoded.size(), size_t(2 * 44100));
  EXPECT_TRUE(AllFinite(decoded.data(), decoded.size()));
  EXPECT_EQ(decoded[2 * 1000], 0.0f);

  struct Case {
    const char* Name;
    int Code;
    std::function<void()> SetFormat;
  };
  const Case cases[] = {
      {"f32.wav", afWav, [&] { doc.SetWavFormat(44100, 2, 32); }},
      {"s16.wav", afWav, [&] { doc.SetWavFormat(44100, 2, 16); }},
      {"out.mp3", afMp3, [&] { doc.SetMp3CbrFormat(44100, 128, 2); }},
      {"out.ogg", afOgg, [&] { doc.SetOggFormat(44100, 2, 128, 0, 0, -1); }},
      {"out.wma", afWma, [&] { doc.SetWmaFormat(10); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    c.SetFormat();
    const fs::path out = dir / c.Name;
    doc.SaveFile(out.string(), false, c.Code);
    std::vector<float> back;
    DecodeAudioFile(out.string(), back);
    ASSERT_GE(back.size(), size_t(2 * 44000));
    EXPECT_TRUE(AllFinite(back.data(), back.size()));
    EXPECT_LT(Peak(back), 0.7f);
    EXPECT_NEAR(codectest::Rms(back, 2, 0, 4410), 0.5 / std::sqrt(2.0), 0.03);
  }
}

// Whatever the engine is handed, the encoders get finite values within full scale.
TEST(SampleSanity, EncodersClipWhatTheyAreGiven) {
  const fs::path dir = sonalix::test::MakeTempDir("clip");
  SampleBuffer b = Sine(44100, 440, 44100, 2, 0.5);
  for (int64_t f = 10000; f < 10100; ++f) b.At(f, 0) = 1e30f;  // far past full scale
  for (const Damage& d : kDamage) b.At(d.Frame, d.Channel) = d.Value;
  TOutputFormat format;
  format.Mp3Mode = TMp3Mode::Cbr;
  format.OggKbps = 128;
  for (int code : {afMp3, afOgg, afWma}) {
    SCOPED_TRACE(code);
    const fs::path out = dir / ("e" + std::to_string(code));
    auto encoder = CreateAudioEncoder(code, format, 44100, out.string(), out.string(), {});
    ASSERT_EQ(encoder->SampleRate(), 44100);
    ASSERT_EQ(encoder->Channels(), 2);
    encoder->Write(b.Data(), size_t(b.Frames()));
    encoder->Finish();
    std::vector<float> back;
    DecodeAudioFile(out.string(), back);
    EXPECT_TRUE(AllFinite(back.data(), back.size()));
    EXPECT_LT(Peak(back), 1.5f);
  }

  // The WAV writer: floats keep their level but lose what is not a number; integers clip.
  for (int bits : {32, 16}) {
    SCOPED_TRACE(bits);
    const fs::path out = dir / ("w" + std::to_string(bits) + ".wav");
    WavWriter w(out.string(), 44100, 2, bits);
    w.Write(b.Data(), b.Frames());
    w.Close();
    const std::vector<unsigned char> bytes = codectest::ReadBytes(out);
    const size_t header = bits == 32 ? 58 : 44;
    ASSERT_EQ(bytes.size(), header + size_t(b.ValueCount()) * size_t(bits / 8));
    auto at = [&](int64_t frame, int channel) {
      const unsigned char* p = bytes.data() + header + size_t(frame * 2 + channel) * (bits / 8);
      if (bits == 16) return float(int16_t(p[0] | p[1] << 8)) / 32768.0f;
      float v;
      std::memcpy(&v, p, 4);
      return v;
    };
    for (const Damage& d : kDamage) EXPECT_EQ(at(d.Frame, d.Channel), 0.0f) << d.Frame;
    EXPECT_EQ(at(10000, 0), bits == 32 ? 1e30f : 32767 / 32768.0f);
  }
}

// Arrays handed in by callers are cleaned as they go into the document.
TEST(SampleSanity, InsertedArraysAreMadeFinite) {
  AudioDocument doc;
  doc.NewDocument(44100, 2);
  doc.InsertPcm(DamagedSine());
  const SampleBuffer in = Contents(doc);
  EXPECT_TRUE(AllFinite(in.Data(), size_t(in.ValueCount())));
  for (const Damage& d : kDamage) EXPECT_EQ(in.At(d.Frame, d.Channel), 0.0f) << d.Frame;

  // At another rate the array goes through the rate converter, which would spread a NaN over
  // everything near it.
  SampleBuffer other = Sine(22050, 440, 22050, 2, 0.5);
  other.At(11000, 0) = kNaN;
  doc.ReplaceRange(0, doc.Length(), other);
  const SampleBuffer replaced = Contents(doc);
  ASSERT_EQ(replaced.Frames(), 44100);
  EXPECT_TRUE(AllFinite(replaced.Data(), size_t(replaced.ValueCount())));
}

// Six channels of one sine at 0.9 of full scale, mixed down to stereo as they open, keep their
// level instead of adding up to 2.17; the channel balance is that of the usual mix-down (centre
// at -3 dB into both sides, each side's front and surround channels on that side only).
TEST(SampleSanity, SurroundMixDownStaysWithinFullScale) {
  const fs::path dir = sonalix::test::MakeTempDir("mixdown");
  struct Case {
    const char* Name;
    std::vector<int> Channels;  // of FL FR FC LFE BL BR that carry the sine
    double Left, Right;         // expected peaks
  };
  const double all = 1 + std::sqrt(0.5) * 2;  // the sum of one side's gains today
  const Case cases[] = {
      {"all", {0, 1, 2, 3, 4, 5}, 0.9, 0.9},
      {"front left", {0}, 0.9 / all, 0.0},
      {"centre", {2}, 0.9 * std::sqrt(0.5) / all, 0.9 * std::sqrt(0.5) / all},
      {"back right", {5}, 0.0, 0.9 * std::sqrt(0.5) / all},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    SampleBuffer b(6, 48000, 48000);
    for (int64_t f = 0; f < b.Frames(); ++f)
      for (int ch : c.Channels) b.At(f, ch) = float(0.9 * std::sin(2 * M_PI * 1000 * f / 48000.0));
    const fs::path file = dir / (std::string(c.Name) + ".wav");
    WriteRawFloatWav(file.string(), b);
    AudioDocument doc;
    doc.OpenFile(file.string());
    ASSERT_EQ(doc.Channels(), 2);
    const SampleBuffer in = Contents(doc);
    const SampleBuffer left = in.Channel(0), right = in.Channel(1);
    EXPECT_NEAR(DspPeak(left.Data(), size_t(left.ValueCount())), c.Left, 0.002);
    EXPECT_NEAR(DspPeak(right.Data(), size_t(right.ValueCount())), c.Right, 0.002);
  }
}
