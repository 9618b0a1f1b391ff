#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <fstream>
#include <limits>

#include "Imports/XOQAUDIOFILE2Lib_TLB.h"
#include "audio/AudioDecoder.h"
#include "audio/AudioFileError.h"
#include "audio/CodecTestUtil.h"
#include "common/TestEnv.h"

using namespace codectest;
namespace fs = std::filesystem;

namespace {

constexpr double kToneRms = 0.125 / 1.4142135623730951;

struct Output {
  const char* Ext;
  std::function<void(TAudioFile2&)> SetFormat;
  int Rate, Channels;  // what the file must hold
  const char* Codec;
};

}  // namespace

// The batch converter's loop: read one-second blocks, write them in another format.
TEST(AudioFile2, ConvertsBlockByBlock) {
  const fs::path dir = sonalix::test::MakeTempDir("file2");
  struct Source {
    const char* Name;
    int Rate, Channels;
    const char* Options;
  };
  const Source sources[] = {{"s.wav", 44100, 2, "-c:a pcm_s16le"},
                            {"s.mp3", 22050, 1, "-c:a libmp3lame -b:a 64k"},
                            {"s6.wav", 48000, 6, "-c:a pcm_s16le"}};
  const Output outputs[] = {
      {".wav", [](TAudioFile2& w) { w.SetWavFormat(32000, 2, 24); }, 32000, 2, "pcm_s24le"},
      {".mp3", [](TAudioFile2& w) { w.SetMp3CbrFormat(44100, 128, 2); }, 44100, 2, "mp3"},
      {".ogg", [](TAudioFile2& w) { w.SetOggFormat(44100, 1, 96, 0, 0, -1); }, 44100, 1, "vorbis"},
      {".wma", [](TAudioFile2& w) { w.SetWmaFormat(23); }, 22050, 2, "wmav2"},
  };
  for (const Source& s : sources) {
    const fs::path source = dir / s.Name;
    ASSERT_TRUE(MakeTone(source, s.Rate, s.Channels, 2.5, s.Options));
    for (const Output& o : outputs) {
      SCOPED_TRACE(std::string(s.Name) + " to " + o.Ext);
      TAudioFile2 reader(nullptr), writer(nullptr);
      reader.OpenRead(source.string(), 0, 1);
      const int channels = std::min(s.Channels, 2);
      EXPECT_EQ(reader.FileSampleRate(), s.Rate);
      EXPECT_EQ(reader.FileChannels(), channels);
      EXPECT_EQ(reader.PcmChannels(), channels);
      EXPECT_GT(reader.FileBitRate(), 0);
      o.SetFormat(writer);
      writer.SetPcmFormat(reader.PcmSampleRate(), reader.PcmChannels());
      const fs::path out = dir / (std::string("out") + o.Ext);
      fs::remove(out);
      writer.CreateFile(out.string(), 0);
      EXPECT_FALSE(fs::exists(out));  // appears complete at CloseFile
      int64_t position = 0;
      for (;;) {
        // Never 0 while sound follows, so progress can divide by it.
        EXPECT_GT(reader.LengthInSamples(), 0);
        EXPECT_GE(reader.LengthInSamples(), position);
        SampleBuffer block = reader.ReadPcm(reader.PcmChannels() * reader.PcmSampleRate());
        if (block.UpperBound() == -1) break;
        EXPECT_LE(block.ValueCount(), reader.PcmChannels() * reader.PcmSampleRate());
        position += (block.UpperBound() + 1) / reader.FileChannels();
        writer.WritePcm(block);
      }
      EXPECT_NEAR(double(position), 2.5 * s.Rate, s.Rate * 0.06);
      writer.CloseFile();
      reader.CloseFile();
      const Probe p = ProbeFile(out);
      EXPECT_EQ(p.Codec, o.Codec);
      EXPECT_EQ(p.SampleRate, o.Rate);
      EXPECT_EQ(p.Channels, o.Channels);
      EXPECT_NEAR(p.Duration, 2.5, 0.12);
      std::vector<float> v;
      DecodeAudioFile(out.string(), v);
      if (s.Channels == 1 || (s.Channels == 2 && o.Channels == 2)) {
        EXPECT_NEAR(Frequency(v, o.Channels, 0, o.Rate), 440.0, 4.0);
      }
      if (s.Channels <= 2) {
        // Mono to stereo copies; stereo to mono averages two tones of one level.
        const double expected =
            (s.Channels == 2 && o.Channels == 1) ? kToneRms * std::sqrt(0.5) : kToneRms;
        EXPECT_NEAR(Rms(v, o.Channels, 0, size_t(o.Rate / 4)), expected, expected * 0.25);
      }
    }
  }
}

// A mono file run through an effect chain comes back as stereo blocks although the writer was
// told mono: the block's own channel count wins.
TEST(AudioFile2, TakesBlocksOfAnotherShape) {
  const fs::path dir = sonalix::test::MakeTempDir("shape");
  TAudioFile2 writer(nullptr);
  writer.SetWavFormat(44100, 2, 16);
  writer.SetPcmFormat(22050, 1);
  const fs::path out = dir / "o.wav";
  writer.CreateFile(out.string(), 0);
  std::vector<float> mono(22050), stereo(2 * 22050);
  for (int i = 0; i < 22050; ++i) {
    mono[i] = float(0.5 * std::sin(2 * M_PI * 440 * i / 22050.0));
    stereo[2 * i] = mono[i];
    stereo[2 * i + 1] = 0.5f * mono[i];
  }
  SampleBuffer a(mono, 1, 22050);
  SampleBuffer b(stereo, 2, 22050);
  SampleBuffer c(mono, 0, 0);  // no stated shape: the PCM format applies
  c.SetFormat(0, 0);
  writer.WritePcm(a);
  writer.WritePcm(b);
  writer.WritePcm(c);
  writer.CloseFile();
  std::vector<float> v;
  const TAudioStreamInfo info = DecodeAudioFile(out.string(), v);
  EXPECT_EQ(info.SampleRate, 44100);
  EXPECT_EQ(info.Channels, 2);
  EXPECT_NEAR(double(v.size() / 2), 3 * 44100.0, 4.0);
  // The middle second has its right side at half the level of the left.
  const std::vector<float> middle(v.begin() + 2 * 44100 + 2000, v.begin() + 4 * 44100 - 2000);
  EXPECT_NEAR(Rms(middle, 2, 1) / Rms(middle, 2, 0), 0.5, 0.02);
  EXPECT_NEAR(Frequency(v, 2, 0, 44100), 440.0, 2.0);
}

// NaN and infinities in a block written at another rate are silence for their own sample, not
// a hole the rate converter would spread them into.
TEST(AudioFile2, NonFiniteValuesInBlocksBecomeSilence) {
  const fs::path dir = sonalix::test::MakeTempDir("nonfinite");
  TAudioFile2 writer(nullptr);
  writer.SetWavFormat(44100, 1, 32);
  writer.SetPcmFormat(22050, 1);
  const fs::path out = dir / "o.wav";
  writer.CreateFile(out.string(), 0);
  std::vector<float> mono(22050);
  for (int i = 0; i < 22050; ++i) mono[i] = float(0.5 * std::sin(2 * M_PI * 440 * i / 22050.0));
  mono[5000] = std::numeric_limits<float>::quiet_NaN();
  mono[15000] = -std::numeric_limits<float>::infinity();
  SampleBuffer block(mono, 1, 22050);
  writer.WritePcm(block);
  writer.CloseFile();
  std::vector<float> v;
  DecodeAudioFile(out.string(), v);
  ASSERT_EQ(v.size(), 44100u);
  int silent = 0;  // a resampled sine is almost never exactly 0
  for (float x : v) silent += x == 0.0f;
  EXPECT_LE(silent, 2);
  EXPECT_NEAR(Rms(v, 1, 0), 0.5 / std::sqrt(2.0), 0.01);
}

TEST(AudioFile2, RecordingWritesTheNamedFileAndCopiesWavFormats) {
  const fs::path dir = sonalix::test::MakeTempDir("rec");
  ASSERT_TRUE(MakeTone(dir / "f.wav", 48000, 1, 0.2, "-c:a pcm_s24le"));
  TAudioFile2 file(nullptr);
  file.CopyWavFormat((dir / "f.wav").string());
  EXPECT_EQ(file.OutputKind(), afWav);
  EXPECT_EQ(file.OutputFormat().WavSampleRate, 48000);
  EXPECT_EQ(file.OutputFormat().WavChannels, 1);
  EXPECT_EQ(file.OutputFormat().WavBits, 24);

  ASSERT_TRUE(MakeTone(dir / "adpcm.wav", 22050, 2, 0.2, "-c:a adpcm_ms"));
  file.CopyWavFormat((dir / "adpcm.wav").string());
  EXPECT_EQ(file.OutputFormat().WavSampleRate, 22050);
  EXPECT_EQ(file.OutputFormat().WavChannels, 2);
  EXPECT_EQ(file.OutputFormat().WavBits, 16);

  file.SetWavFormat(44100, 2, 16);
  file.SetPcmFormat(44100, 2);
  const fs::path rec = dir / "SonalixRecording.wav";
  file.CreateFile(rec.string(), 1);
  EXPECT_TRUE(fs::exists(rec));
  SampleBuffer block(2, 44100, 8820);
  file.WritePcm(block);
  file.CloseFile();
  const Probe p = ProbeFile(rec);
  EXPECT_EQ(p.SampleRate, 44100);
  EXPECT_NEAR(p.Duration, 0.2, 0.001);
}

TEST(AudioFile2, EncoderSettingsObjectLaterPutDecides) {
  TAudioFile2LameEnc enc(nullptr);
  enc.SetPreset(5);
  enc.SetVbrMethod(4);
  enc.SetAbrBitRate(96);
  EXPECT_EQ(enc.Settings().Preset, 0);
  EXPECT_EQ(enc.Settings().VbrMethod, 4);
  enc.SetPreset(3);
  EXPECT_EQ(enc.Settings().Preset, 3);
  TAudioFile2 file(nullptr);
  file.SetMp3EncoderFormat(enc);
  EXPECT_EQ(file.OutputKind(), afMp3);
  EXPECT_EQ(file.OutputFormat().Mp3Mode, TMp3Mode::Encoder);
  EXPECT_EQ(file.OutputFormat().Mp3Encoder.Preset, 3);
  EXPECT_TRUE(file.CanWriteMp3(44100, 128, 2));
  EXPECT_FALSE(file.CanWriteMp3(44100, 127, 2));
  EXPECT_TRUE(file.CanWriteOgg(44100, 2, 128, 0, 0));
  EXPECT_FALSE(file.CanWriteOgg(44100, 2, 5000, 0, 0));
}

TEST(AudioFile2, ErrorsAreClearAndHarmless) {
  const fs::path dir = sonalix::test::MakeTempDir("err");
  TAudioFile2 file(nullptr);
  EXPECT_THROW(file.OpenRead((dir / "missing.mp3").string(), 0, 1), EAudioFileError);
  EXPECT_THROW(file.ReadPcm(100), EAudioFileError);
  EXPECT_EQ(file.LengthInSamples(), 0);
  SampleBuffer block(2, 44100, 10);
  EXPECT_THROW(file.WritePcm(block), EAudioFileError);
  file.SetOggFormat(44100, 2, 192, 0, 0, -1);
  EXPECT_THROW(file.CreateFile((dir / "nowhere" / "x.ogg").string(), 0), EAudioFileError);

  // An encoder refusing the format leaves an existing file of that name alone, in both modes.
  const fs::path existing = dir / "take.ogg";
  std::ofstream(existing) << "old";
  for (int mode : {0, 1}) {
    for (const auto& [rate, channels] : {std::pair{44100, 3}, std::pair{500000, 2}}) {
      SCOPED_TRACE(std::to_string(mode) + "/" + std::to_string(rate));
      file.SetOggFormat(rate, channels, 0, 0, 0, 50);
      EXPECT_THROW(file.CreateFile(existing.string(), mode), EAudioFileError);
      std::ifstream in(existing);
      EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
    }
  }
  fs::remove(existing);

  // A batch output refused by its encoder, or failing midway, leaves no file.
  const fs::path out = dir / "x.ogg";
  file.SetOggFormat(44100, 2, 99999, 0, 0, -1);
  EXPECT_THROW(file.CreateFile(out.string(), 0), EAudioFileError);
  EXPECT_TRUE(fs::is_empty(dir));
  for (int kind : {afWav, afMp3}) {
    SCOPED_TRACE(kind);
    if (kind == afWav)
      file.SetWavFormat(44100, 2, 16);
    else
      file.SetMp3CbrFormat(44100, 320, 2);
    file.SetPcmFormat(44100, 2);
    file.CreateFile(out.string(), 0);
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 100000;  // the disk fills up
    setrlimit(RLIMIT_FSIZE, &small);
    bool failed = false;
    try {
      for (int i = 0; i < 20; ++i) {
        SampleBuffer second(2, 44100, 44100);
        file.WritePcm(second);
      }
      file.CloseFile();
    } catch (const Exception& e) {
      failed = true;
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_TRUE(failed);
    EXPECT_TRUE(fs::is_empty(dir));
    file.CloseFile();  // nothing left to close
  }
}
