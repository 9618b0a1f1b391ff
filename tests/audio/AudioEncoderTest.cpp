#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include "CodecTestUtil.h"
#include "audio/AudioDocument.h"
#include "audio/AudioEncoder.h"
#include "audio/AudioFileError.h"
#include "common/TestEnv.h"

using namespace codectest;
namespace fs = std::filesystem;

namespace {

// A tone source: left 440 Hz, right 660 Hz, at half full scale.
class ToneSource : public AudioSource {
 public:
  ToneSource(int rate, int channels, double seconds)
      : FRate(rate), FChannels(channels), FFrames(int64_t(rate * seconds)) {}
  int SampleRate() const override { return FRate; }
  int Channels() const override { return FChannels; }
  int64_t Frames() const override { return FFrames; }
  int64_t Read(float* values, int64_t maxFrames) override {
    const int64_t n = std::min(maxFrames, FFrames - FPos);
    for (int64_t i = 0; i < n; ++i, ++FPos)
      for (int c = 0; c < FChannels; ++c)
        values[i * FChannels + c] =
            float(0.5 * std::sin(2 * M_PI * (c ? 660 : 440) * double(FPos) / FRate));
    return n;
  }

 private:
  int FRate, FChannels;
  int64_t FFrames, FPos = 0;
};

constexpr double kSourceRms = 0.5 / 1.4142135623730951;

// Saves a tone of `seconds` in the shape the format asks for.
void Save(int code, const fs::path& file, const TOutputFormat& format, double seconds = 1.0,
          const AudioTags& tags = {}) {
  const TPcmShape shape = OutputShape(code, format, 44100);
  ToneSource source(shape.SampleRate, shape.Channels, seconds);
  EncodeAudioFile(code, file.string(), format, tags, source);
}

struct FrameHeader {
  int Version = -1;  // 1, 2, 25
  bool Crc = false;
  int Mode = -1;  // 0 stereo, 1 joint, 2 dual, 3 mono
};

// The first MPEG audio frame header after any ID3v2 tag.
FrameHeader FirstFrame(const std::vector<unsigned char>& b) {
  size_t i = 0;
  if (b.size() > 10 && b[0] == 'I' && b[1] == 'D' && b[2] == '3')
    i = 10 + ((b[6] & 0x7F) << 21 | (b[7] & 0x7F) << 14 | (b[8] & 0x7F) << 7 | (b[9] & 0x7F));
  for (; i + 4 < b.size(); ++i) {
    if (b[i] == 0xFF && (b[i + 1] & 0xE0) == 0xE0) {
      FrameHeader h;
      const int v = (b[i + 1] >> 3) & 3;
      h.Version = v == 3 ? 1 : v == 2 ? 2 : 25;
      h.Crc = (b[i + 1] & 1) == 0;
      h.Mode = b[i + 3] >> 6;
      return h;
    }
  }
  return {};
}

bool Contains(const std::vector<unsigned char>& b, const std::string& s) {
  return std::search(b.begin(), b.end(), s.begin(), s.end()) != b.end();
}

std::vector<float> Decode(const fs::path& file, TAudioStreamInfo* info = nullptr) {
  std::vector<float> v;
  const TAudioStreamInfo i = DecodeAudioFile(file.string(), v);
  if (info) *info = i;
  return v;
}

}  // namespace

// Preset n is row n - 1 of the MP3 preset table.
TEST(AudioEncoder, Mp3PresetsGiveTheirRows) {
  struct Row {
    int Preset, Rate, Channels, Kbps, Version, Mode;
  };
  const Row rows[] = {
      {1, 8000, 1, 16, 25, 3},   {2, 11025, 1, 24, 25, 3},  {3, 16000, 1, 32, 2, 3},
      {4, 22050, 2, 96, 2, 1},   {5, 44100, 1, 64, 1, 3},   {6, 44100, 2, 112, 1, 1},
      {7, 44100, 2, 128, 1, 1},  {8, 44100, 2, 160, 1, 1},  {9, 44100, 2, 192, 1, 0},
      {10, 44100, 2, 256, 1, 0}, {11, 44100, 2, 320, 1, 0},
  };
  const fs::path dir = sonalix::test::MakeTempDir("presets");
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Preset);
    TOutputFormat f;
    f.Mp3Mode = TMp3Mode::Encoder;
    f.Mp3Encoder.Preset = r.Preset;
    f.Mp3Encoder.WriteXing = false;
    const fs::path file = dir / ("p" + std::to_string(r.Preset) + ".mp3");
    Save(afMp3, file, f);
    const Probe p = ProbeFile(file);
    EXPECT_EQ(p.Codec, "mp3");
    EXPECT_EQ(p.SampleRate, r.Rate);
    EXPECT_EQ(p.Channels, r.Channels);
    EXPECT_EQ(p.BitRate, r.Kbps * 1000);
    EXPECT_NEAR(p.Duration, 1.0, 0.2);  // estimated from the size: no Xing header here
    const FrameHeader h = FirstFrame(ReadBytes(file));
    EXPECT_EQ(h.Version, r.Version);
    EXPECT_EQ(h.Mode, r.Mode);
    EXPECT_FALSE(h.Crc);
    const std::vector<float> v = Decode(file);
    EXPECT_NEAR(Frequency(v, r.Channels, 0, r.Rate), 440.0, 4.0);
    EXPECT_NEAR(Rms(v, r.Channels, 0, size_t(r.Rate / 10)), kSourceRms, kSourceRms * 0.15);
  }
}

TEST(AudioEncoder, Mp3ConstantAndVariableRates) {
  const fs::path dir = sonalix::test::MakeTempDir("mp3");
  struct Cbr {
    int Rate, Kbps, Channels;
  };
  for (const Cbr& c :
       {Cbr{44100, 128, 2}, Cbr{22050, 64, 1}, Cbr{48000, 320, 2}, Cbr{8000, 8, 1}}) {
    SCOPED_TRACE(c.Kbps);
    TOutputFormat f;
    f.Mp3Mode = TMp3Mode::Cbr;
    f.Mp3SampleRate = c.Rate;
    f.Mp3Kbps = c.Kbps;
    f.Mp3Channels = c.Channels;
    const fs::path file = dir / "cbr.mp3";
    Save(afMp3, file, f);
    const Probe p = ProbeFile(file);
    EXPECT_EQ(p.SampleRate, c.Rate);
    EXPECT_EQ(p.Channels, c.Channels);
    EXPECT_EQ(p.BitRate, c.Kbps * 1000);
    if (c.Kbps >= 32) {
      // The header of a constant-rate stream (LAME leaves it out of frames too small for it).
      EXPECT_TRUE(Contains(ReadBytes(file), "Info"));
    }
  }

  // Variable rate by quality: LAME's -V is 9 - VbrQuality, so 9 is the best and the largest.
  auto vbr = [&](int quality, int stereoMode, int channelCount, bool xing, bool crc) {
    TOutputFormat f;
    f.Mp3Mode = TMp3Mode::Encoder;
    f.Mp3Encoder.Preset = 0;
    f.Mp3Encoder.VbrMethod = 0;
    f.Mp3Encoder.VbrQuality = int16_t(quality);
    f.Mp3Encoder.VbrMinBitRate = 32;
    f.Mp3Encoder.VbrMaxBitRate = 320;
    f.Mp3Encoder.StereoMode = stereoMode;
    f.Mp3Encoder.ChannelCount = channelCount;
    f.Mp3Encoder.WriteXing = xing;
    f.Mp3Encoder.WriteCrc = crc;
    const fs::path file =
        dir / ("vbr" + std::to_string(quality) + std::to_string(stereoMode) +
               std::to_string(channelCount) + (xing ? "x" : "") + (crc ? "c" : "") + ".mp3");
    Save(afMp3, file, f, 2.0);
    return file;
  };
  const fs::path best = vbr(9, 2, 2, true, false), worst = vbr(0, 2, 2, true, false);
  EXPECT_GT(fs::file_size(best), fs::file_size(worst) * 3 / 2);
  EXPECT_TRUE(Contains(ReadBytes(best), "Xing"));
  EXPECT_NEAR(ProbeFile(best).Duration, 2.0, 0.05);  // the Xing header gives the exact length

  struct ModeCase {
    int StereoMode, ChannelCount, HeaderMode, Channels;
  };
  for (const ModeCase& m :
       {ModeCase{1, 2, 0, 2}, ModeCase{2, 2, 1, 2}, ModeCase{4, 2, 2, 2}, ModeCase{1, 1, 3, 1}}) {
    SCOPED_TRACE(m.StereoMode * 10 + m.ChannelCount);
    const fs::path file = vbr(7, m.StereoMode, m.ChannelCount, false, true);
    const auto bytes = ReadBytes(file);
    EXPECT_FALSE(Contains(bytes, "Xing"));
    const FrameHeader h = FirstFrame(bytes);
    EXPECT_EQ(h.Mode, m.HeaderMode);
    EXPECT_TRUE(h.Crc);
    EXPECT_EQ(ProbeFile(file).Channels, m.Channels);
  }

  // Average bit rate.
  TOutputFormat abr;
  abr.Mp3Mode = TMp3Mode::Encoder;
  abr.Mp3Encoder.Preset = 0;
  abr.Mp3Encoder.VbrMethod = 4;
  abr.Mp3Encoder.AbrBitRate = 96;
  Save(afMp3, dir / "abr.mp3", abr, 3.0);
  EXPECT_NEAR(double(fs::file_size(dir / "abr.mp3")) * 8 / 3.0, 96000, 96000 * 0.2);

  EXPECT_TRUE(CanWriteMp3Format(44100, 128, 2));
  EXPECT_TRUE(CanWriteMp3Format(22050, 160, 1));
  EXPECT_FALSE(CanWriteMp3Format(44100, 8, 2));    // below MPEG 1's rates
  EXPECT_FALSE(CanWriteMp3Format(22050, 192, 2));  // above MPEG 2's
  EXPECT_FALSE(CanWriteMp3Format(96000, 128, 2));
  EXPECT_FALSE(CanWriteMp3Format(44100, 187, 2));
  EXPECT_FALSE(CanWriteMp3Format(44100, 128, 3));
}

TEST(AudioEncoder, OggBitRatesAndQuality) {
  const fs::path dir = sonalix::test::MakeTempDir("ogg");
  struct Case {
    int Channels, Kbps, Quality;
  };
  for (const Case& c : {Case{1, 64, -1}, Case{2, 96, -1}, Case{2, 192, -1}, Case{2, 320, -1},
                        Case{2, 350, -1}, Case{2, 0, 600}, Case{1, 0, 10}}) {
    SCOPED_TRACE(c.Kbps * 1000 + c.Quality);
    TOutputFormat f;
    f.OggSampleRate = 44100;
    f.OggChannels = c.Channels;
    f.OggKbps = c.Kbps;
    f.OggQuality = int16_t(c.Quality);
    const fs::path file = dir / "t.ogg";
    Save(afOgg, file, f, 2.0);
    const Probe p = ProbeFile(file);
    EXPECT_EQ(p.Codec, "vorbis");
    EXPECT_EQ(p.SampleRate, 44100);
    EXPECT_EQ(p.Channels, c.Channels);
    EXPECT_NEAR(p.Duration, 2.0, 0.01);
    if (c.Kbps > 0) {
      EXPECT_EQ(p.BitRate, c.Kbps * 1000);
    }
    const std::vector<float> v = Decode(file);
    EXPECT_EQ(v.size(), size_t(2 * 44100 * c.Channels));  // to the frame
    EXPECT_NEAR(Rms(v, c.Channels, 0, 4410), kSourceRms, kSourceRms * 0.05);
  }
  // Quality steers the size: 0.6 is well above 0.01.
  TOutputFormat hi, lo;
  hi.OggKbps = lo.OggKbps = 0;
  hi.OggQuality = 600;
  lo.OggQuality = 10;
  Save(afOgg, dir / "hi.ogg", hi, 2.0);
  Save(afOgg, dir / "lo.ogg", lo, 2.0);
  EXPECT_GT(fs::file_size(dir / "hi.ogg"), fs::file_size(dir / "lo.ogg"));

  EXPECT_TRUE(CanWriteOggFormat(44100, 2, 192));
  EXPECT_TRUE(CanWriteOggFormat(22050, 1, 64));
  EXPECT_FALSE(CanWriteOggFormat(44100, 2, 2000));
  EXPECT_FALSE(CanWriteOggFormat(8000, 2, 350));
  EXPECT_FALSE(CanWriteOggFormat(44100, 3, 192));
  EXPECT_FALSE(CanWriteOggFormat(44100, 2, 0));
}

TEST(AudioEncoder, WmaProfileCodes) {
  struct Row {
    int Code, Kbps, Rate, Channels;
  };
  // Code 36 asks for 8 kbps, below what the encoder can do: it is written at 24 kbps.
  const Row rows[] = {{36, 24, 8000, 1},  {23, 32, 22050, 2}, {16, 48, 44100, 1},
                      {13, 64, 44100, 2}, {11, 96, 44100, 2}, {10, 128, 44100, 2},
                      {8, 192, 44100, 2}};
  const fs::path dir = sonalix::test::MakeTempDir("wma");
  for (const Row& r : rows) {
    SCOPED_TRACE(r.Code);
    TOutputFormat f;
    f.WmaProfile = r.Code;
    const fs::path file = dir / "t.wma";
    Save(afWma, file, f);
    const Probe p = ProbeFile(file);
    EXPECT_EQ(p.Codec, "wmav2");
    EXPECT_EQ(p.SampleRate, r.Rate);
    EXPECT_EQ(p.Channels, r.Channels);
    EXPECT_EQ(p.BitRate, r.Kbps * 1000);
    EXPECT_NEAR(p.Duration, 1.0, 0.15);
    const std::vector<float> v = Decode(file);
    // Nothing lost: the sound comes back whole, padded to the end of a codec frame.
    EXPECT_GE(v.size(), size_t(r.Rate * r.Channels));
    EXPECT_LT(v.size(), size_t((r.Rate + 2048) * r.Channels));
    EXPECT_NEAR(Frequency(v, r.Channels, 0, r.Rate), 440.0, 4.0);
    EXPECT_NEAR(Rms(v, r.Channels, 0, size_t(r.Rate / 5)), kSourceRms, kSourceRms * 0.2);
  }
  TOutputFormat bad;
  bad.WmaProfile = 99;
  EXPECT_THROW(Save(afWma, dir / "bad.wma", bad), EAudioFileError);
}

TEST(AudioEncoder, TagsRoundTrip) {
  const fs::path dir = sonalix::test::MakeTempDir("tags");
  const AudioTags ascii{"Title", "Artist", "Album", "A comment", 2004, 17};
  const AudioTags unicode{"Čaj für Ünïcode ♪", "Ñandú", "Ålbum", "Ökologie", 1987, 0};
  const AudioTags none{};
  for (int code : {afMp3, afOgg, afWma}) {
    for (const AudioTags* tags : {&ascii, &unicode, &none}) {
      SCOPED_TRACE(code * 100 + int(tags - &ascii));
      const fs::path file = dir / (std::to_string(code) + (code == afMp3   ? ".mp3"
                                                           : code == afOgg ? ".ogg"
                                                                           : ".wma"));
      TOutputFormat f;
      Save(code, file, f, 0.3, *tags);
      TAudioDecoder decoder(file.string());
      const AudioTags& got = decoder.Tags();
      EXPECT_EQ(got.Title, tags->Title);
      EXPECT_EQ(got.Artist, tags->Artist);
      EXPECT_EQ(got.Album, tags->Album);
      EXPECT_EQ(got.Comment, tags->Comment);
      EXPECT_EQ(got.Year, tags->Year);
      EXPECT_EQ(got.GenreIndex, tags->GenreIndex);
      if (!tags->Title.empty()) {
        EXPECT_EQ(ProbeFile(file).Tags["title"], tags->Title);
      }
    }
  }
}

TEST(AudioEncoder, EmptySoundMakesAValidFile) {
  const fs::path dir = sonalix::test::MakeTempDir("empty");
  for (int code : {afMp3, afOgg, afWma}) {
    SCOPED_TRACE(code);
    const fs::path file = dir / ("empty." + std::to_string(code));
    TOutputFormat f;
    Save(code, file, f, 0.0);
    EXPECT_TRUE(ProbeFile(file).Ok);
    TAudioStreamInfo info;
    const std::vector<float> v = Decode(file, &info);
    EXPECT_LE(v.size(), size_t(4096 * info.Channels));
  }
}

// A failed save leaves the old file as it was and no stray file behind.
TEST(AudioEncoder, FailedSaveKeepsTheOldFile) {
  const fs::path dir = sonalix::test::MakeTempDir("safe");
  const fs::path target = dir / "song.mp3";
  const std::vector<unsigned char> old = {'o', 'l', 'd', '!'};
  auto onlyTarget = [&] {
    int n = 0;
    for (const auto& e : fs::directory_iterator(dir)) n += e.path() != target;
    return n == 0;
  };

  WriteBytes(target, old);
  TOutputFormat badPreset;
  badPreset.Mp3Encoder.Preset = 12;
  try {
    Save(afMp3, target, badPreset);
    ADD_FAILURE() << "saved";
  } catch (const EAudioFileError& e) {
    EXPECT_NE(e.Message().find("preset"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(ReadBytes(target), old);
  EXPECT_TRUE(onlyTarget());

  // OGG files are written in mono or stereo only; more channels are refused, not scrambled.
  for (int channels : {3, 6}) {
    SCOPED_TRACE(channels);
    TOutputFormat f;
    f.OggChannels = channels;
    EXPECT_THROW(Save(afOgg, target, f), EAudioFileError);
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_TRUE(onlyTarget());
  }

  // The disk fills up midway (a file size limit stands in for a full disk).
  for (int code : {afMp3, afOgg, afWma}) {
    SCOPED_TRACE(code);
    WriteBytes(target, old);
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 20000;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string message;
    try {
      Save(code, target, TOutputFormat{}, 5.0);
    } catch (const EAudioFileError& e) {
      message = e.Message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_NE(message.find(target.string()), std::string::npos) << message;
    EXPECT_EQ(ReadBytes(target), old);
    EXPECT_TRUE(onlyTarget());
  }

  EXPECT_THROW(Save(afOgg, dir / "no such folder" / "x.ogg", TOutputFormat{}), EAudioFileError);
  EXPECT_TRUE(onlyTarget());

  // A successful save replaces the file whole, keeping its permissions.
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  Save(afOgg, target, TOutputFormat{});
  EXPECT_EQ(ProbeFile(target).Codec, "vorbis");
  EXPECT_TRUE(onlyTarget());
  EXPECT_EQ(fs::status(target).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

// The editing engine opens and saves the non-WAV formats through these codecs.
TEST(AudioEncoder, EngineOpensAndSavesThroughTheCodecs) {
  const fs::path dir = sonalix::test::MakeTempDir("engine");
  const fs::path source = dir / "in.ogg";
  ASSERT_TRUE(MakeTone(source, 48000, 2, 2.0,
                       "-c:a libvorbis -q:a 6 -metadata title=Song -metadata genre=Pop"));
  AudioDocument doc;
  doc.OpenFile(source.string());
  EXPECT_EQ(doc.SampleRate(), 48000);
  EXPECT_EQ(doc.Channels(), 2);
  EXPECT_EQ(doc.Length(), 96000);
  EXPECT_EQ(doc.Tags().Title, "Song");
  EXPECT_EQ(doc.Tags().GenreIndex, 13);

  AudioTags tags = doc.Tags();
  tags.Artist = "Band";
  doc.SetTags(tags);
  struct Case {
    int Code;
    const char* Name;
    std::function<void()> SetFormat;
    int Rate, Channels;
  };
  const Case cases[] = {
      {afMp3, "out.mp3", [&] { doc.SetMp3CbrFormat(44100, 160, 1); }, 44100, 1},
      {afMp3, "vbr.mp3",
       [&] {
         TLameEncoderSettings s;
         s.Preset = 0;
         s.VbrMethod = 0;
         s.VbrQuality = 7;
         doc.SetMp3EncoderFormat(s);
       },
       48000, 2},
      {afOgg, "out.ogg", [&] { doc.SetOggFormat(22050, 1, 0, 0, 0, 500); }, 22050, 1},
      {afWma, "out.wma", [&] { doc.SetWmaFormat(11); }, 44100, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    c.SetFormat();
    const fs::path out = dir / c.Name;
    doc.SaveFile(out.string(), false, c.Code);
    const Probe p = ProbeFile(out);
    EXPECT_EQ(p.SampleRate, c.Rate);
    EXPECT_EQ(p.Channels, c.Channels);
    EXPECT_NEAR(p.Duration, 2.0, 0.1);
    AudioDocument back;
    back.OpenFile(out.string());
    EXPECT_EQ(back.Tags().Title, "Song");
    EXPECT_EQ(back.Tags().Artist, "Band");
    EXPECT_EQ(back.Tags().GenreIndex, 13);
    std::vector<float> v(size_t(back.Length() * back.Channels()));
    back.Samples().Read(0, back.Length(), v.data());
    EXPECT_NEAR(Frequency(v, c.Channels, 0, c.Rate), 440.0, 4.0);

    // An empty selection still writes a file that opens.
    doc.Select(1000, 1000);
    const fs::path empty = dir / (std::string("empty-") + c.Name);
    doc.SaveFile(empty.string(), true, c.Code);
    AudioDocument none;
    none.OpenFile(empty.string());
    EXPECT_LE(none.Length(), 4096);
    doc.SetSelectionActive(false);
  }
}

// Saved as MP3 and opened again, three times over, a sound keeps its exact length at every MPEG
// sample rate, also where the frames are too small for the encoder's own header: the encoder
// delay and padding go into the file and come off as it opens.
TEST(AudioEncoder, Mp3KeepsItsExactLengthThroughSaveAndOpen) {
  struct Case {
    int Rate, Kbps, Channels;  // Kbps 0: variable bit rate
  };
  const Case cases[] = {{8000, 8, 1},  {11025, 16, 2}, {16000, 24, 1}, {22050, 32, 2},
                        {32000, 32, 1}, {44100, 40, 2}, {48000, 32, 2}, {8000, 0, 1},
                        {44100, 0, 2}};
  const fs::path dir = sonalix::test::MakeTempDir("mp3length");
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Rate) + " Hz " + std::to_string(c.Kbps) + " kbps");
    const int64_t frames = 5 * int64_t(c.Rate);
    AudioDocument doc;
    doc.NewDocument(c.Rate, c.Channels);
    SampleBuffer tone(c.Channels, c.Rate, frames);
    for (int64_t f = 0; f < frames; ++f)
      for (int ch = 0; ch < c.Channels; ++ch)
        tone.At(f, ch) = float(0.5 * std::sin(2 * M_PI * 440 * double(f) / c.Rate));
    doc.InsertPcm(tone);
    if (c.Kbps > 0) {
      doc.SetMp3CbrFormat(c.Rate, c.Kbps, c.Channels);
    } else {
      TLameEncoderSettings s;
      s.Preset = 0;
      s.ChannelCount = c.Channels;
      doc.SetMp3EncoderFormat(s);
    }
    for (int round = 1; round <= 3; ++round) {
      SCOPED_TRACE(round);
      const fs::path file = dir / ("r" + std::to_string(round) + ".mp3");
      doc.SaveFile(file.string(), false, afMp3);
      doc.OpenFile(file.string());
      ASSERT_EQ(doc.SampleRate(), c.Rate);
      ASSERT_EQ(doc.Length(), frames);
    }
    // Another reader honours the header too.
    const std::string decoded =
        Shell("ffmpeg -nostdin -v quiet -i " + Quote((dir / "r3.mp3").string()) + " -f s16le -");
    EXPECT_EQ(int64_t(decoded.size()), frames * c.Channels * 2);
    std::vector<float> v(size_t(frames) * size_t(c.Channels));
    doc.Samples().Read(0, frames, v.data());
    EXPECT_NEAR(Frequency(v, c.Channels, 0, c.Rate), 440.0, 4.0);
  }
}

// WAV files of compressed codecs open through FFmpeg when the engine's own WAV reader declines.
TEST(AudioEncoder, EngineOpensCompressedWavFiles) {
  const fs::path dir = sonalix::test::MakeTempDir("cwav");
  for (const char* codec : {"pcm_mulaw", "pcm_alaw", "adpcm_ms", "adpcm_ima_wav"}) {
    SCOPED_TRACE(codec);
    const fs::path file = dir / (std::string(codec) + ".wav");
    ASSERT_TRUE(MakeTone(file, 8000, 1, 1.0, std::string("-c:a ") + codec));
    AudioDocument doc;
    doc.OpenFile(file.string());
    EXPECT_EQ(doc.SampleRate(), 8000);
    EXPECT_EQ(doc.Channels(), 1);
    EXPECT_NEAR(double(doc.Length()), 8000.0, 600.0);
    std::vector<float> v(size_t(doc.Length()));
    doc.Samples().Read(0, doc.Length(), v.data());
    EXPECT_NEAR(Frequency(v, 1, 0, 8000), 440.0, 4.0);
  }
}

// A length in a header is believed only when the file is big enough to hold it: a damaged frame
// count in an MP3's Xing header does not get the file refused as too long, and an OGG file
// whose header gives no nominal bit rate still opens whole.
TEST(AudioEncoder, EngineBelievesOnlyPlausibleLengths) {
  const fs::path dir = sonalix::test::MakeTempDir("overstated");
  const fs::path mp3 = dir / "tone.mp3";
  ASSERT_TRUE(MakeTone(mp3, 44100, 2, 1.0, "-c:a libmp3lame -q:a 5"));
  std::vector<unsigned char> bytes = ReadBytes(mp3);
  const std::string xing = "Xing";
  auto at = std::search(bytes.begin(), bytes.end(), xing.begin(), xing.end());
  ASSERT_NE(at, bytes.end());
  ASSERT_TRUE(at[7] & 1);  // the frame count is there
  at[8] = 0;
  at[9] = at[10] = at[11] = 0xFF;  // 16.7 million frames: over 5 days of sound
  WriteBytes(mp3, bytes);
  EXPECT_TRUE(TAudioDecoder(mp3.string()).Info().LengthDoubtful);

  const fs::path ogg = dir / "tone.ogg";
  {
    AudioDocument doc;
    doc.NewDocument(7350, 2);
    std::vector<float> tone(7350 * 2);
    for (size_t i = 0; i < tone.size(); ++i)
      tone[i] = float(0.5 * std::sin(2 * M_PI * 440 * double(i / 2) / 7350));
    doc.InsertPcm(SampleBuffer(std::move(tone), 2, 7350));
    doc.SetOggFormat(7350, 2, 0, 0, 0, 50);
    doc.SaveFile(ogg.string(), false, afOgg);
  }
  EXPECT_FALSE(TAudioDecoder(ogg.string()).Info().LengthDoubtful);

  struct Case {
    fs::path file;
    int rate;
    int64_t frames, tolerance;
  };
  for (const Case& c : {Case{mp3, 44100, 44100, 2000}, Case{ogg, 7350, 7350, 0}}) {
    SCOPED_TRACE(c.file.filename().string());
    AudioDocument doc;
    doc.OpenFile(c.file.string());
    EXPECT_EQ(doc.Channels(), 2);
    EXPECT_NEAR(double(doc.Length()), double(c.frames), double(c.tolerance));
    std::vector<float> v(size_t(doc.Length() * 2));
    doc.Samples().Read(0, doc.Length(), v.data());
    EXPECT_NEAR(Frequency(v, 2, 0, c.rate), 440.0, 4.0);
  }
}

// Lossy formats keep the sound in place: a tone that starts after a silence starts at the same
// frame once decoded, and the file holds every frame (MP3 and OGG exactly, WMA to the end of
// a codec frame).
TEST(AudioEncoder, SoundStaysInPlace) {
  class Delayed : public AudioSource {
   public:
    int SampleRate() const override { return 44100; }
    int Channels() const override { return 2; }
    int64_t Frames() const override { return 30000; }
    int64_t Read(float* values, int64_t maxFrames) override {
      const int64_t n = std::min(maxFrames, 30000 - FPos);
      for (int64_t i = 0; i < n; ++i, ++FPos)
        values[2 * i] = values[2 * i + 1] =
            FPos < 10000 ? 0.0f
                         : float(0.5 * std::sin(2 * M_PI * 440 * double(FPos - 10000) / 44100));
      return n;
    }

   private:
    int64_t FPos = 0;
  };
  const fs::path dir = sonalix::test::MakeTempDir("place");
  for (int code : {afMp3, afOgg, afWma}) {
    SCOPED_TRACE(code);
    TOutputFormat f;
    f.Mp3Mode = TMp3Mode::Cbr;
    f.Mp3Kbps = 192;
    const fs::path file = dir / ("p" + std::to_string(code));
    Delayed source;
    EncodeAudioFile(code, file.string(), f, AudioTags{}, source);
    const std::vector<float> v = Decode(file);
    size_t onset = 0;
    while (onset < v.size() / 2 && std::fabs(v[2 * onset]) < 0.1f) ++onset;
    EXPECT_NEAR(double(onset), 10000 + 44100 / 440 / 12, 40.0);  // 0.1 is reached 1/12 period in
    if (code == afWma) {
      EXPECT_GE(v.size(), size_t(2 * 30000));
      EXPECT_LT(v.size(), size_t(2 * (30000 + 2048)));
    } else {
      EXPECT_EQ(v.size(), size_t(2 * 30000));
    }
  }
}
