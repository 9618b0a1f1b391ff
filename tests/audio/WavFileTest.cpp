#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "AudioTestUtil.h"
#include "audio/AudioDocument.h"
#include "audio/WavFile.h"
#include "common/TestEnv.h"

using namespace audiotest;
namespace fs = std::filesystem;

namespace {
std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = popen(command.c_str(), "r")) {
    char buf[512];
    while (size_t n = fread(buf, 1, sizeof buf, p)) out.append(buf, n);
    pclose(p);
  }
  return out;
}
}  // namespace

TEST(WavFile, RoundTripsAtEveryDepthThroughTheEditor) {
  const fs::path dir = sonalix::test::MakeTempDir("wav");
  struct Case {
    int bits;
    double step;        // one quantisation step
    const char* codec;  // as an independent reader names it
  };
  const Case cases[] = {{8, 1.0 / 128, "pcm_u8"},
                        {16, 1.0 / 32768, "pcm_s16le"},
                        {24, 1.0 / 8388608, "pcm_s24le"},
                        {32, 0, "pcm_f32le"}};
  const SampleBuffer tone = Sine(10007, 440, 48000, 2, 0.9);
  for (const Case& c : cases) {
    AudioDocument doc;
    doc.NewDocument(48000, 2);
    doc.InsertPcm(tone);
    doc.SetWavFormat(48000, 2, c.bits);
    const std::string path = (dir / ("t" + std::to_string(c.bits) + ".wav")).string();
    doc.SaveFile(path, false, afWav);

    WavReader reader(path);
    EXPECT_EQ(reader.Info().Bits, c.bits);
    EXPECT_EQ(reader.Info().Frames, 10007);
    SampleBuffer back(2, 48000, 10007);
    EXPECT_EQ(reader.Read(back.Data(), 20000), 10007);
    double worst = 0;
    for (int64_t i = 0; i < back.ValueCount(); ++i)
      worst = std::max(worst, std::abs(double(back[i]) - tone[i]));
    EXPECT_LE(worst, c.step / 2 + 1e-7) << c.bits;

    // Reopened by the editor: the same frames again.
    AudioDocument again;
    again.OpenFile(path);
    EXPECT_EQ(again.Length(), 10007);
    EXPECT_EQ(again.SampleRate(), 48000);
    EXPECT_EQ(Contents(again).Values(), back.Values());

    const std::string probe = Shell(
        "ffprobe -v error -show_entries stream=codec_name,sample_rate,"
        "channels,duration_ts -of csv=p=0 '" +
        path + "'");
    EXPECT_EQ(probe, std::string(c.codec) + ",48000,2,10007\n") << c.bits;
  }
}

TEST(WavFile, SavesSelectionAndConvertsToTheOutputFormat) {
  const fs::path dir = sonalix::test::MakeTempDir("wavsel");
  AudioDocument doc;
  doc.NewDocument(44100, 2);
  doc.InsertPcm(Constant(44100, {0.5f, -0.5f}));
  doc.Select(0, 22050);
  doc.SetWavFormat(22050, 1, 16);
  const std::string path = (dir / "half.wav").string();
  doc.SaveFile(path, true, afWav);
  WavReader reader(path);
  EXPECT_EQ(reader.Info().SampleRate, 22050);
  EXPECT_EQ(reader.Info().Channels, 1);
  EXPECT_EQ(reader.Info().Frames, 11025);
  EXPECT_EQ(doc.Length(), 44100);  // the document is unchanged
}

TEST(WavFile, ErrorPaths) {
  const fs::path dir = sonalix::test::MakeTempDir("wavbad");
  auto write = [&](const std::string& name, const std::string& bytes) {
    std::ofstream(dir / name, std::ios::binary) << bytes;
    return (dir / name).string();
  };
  const std::string garbage = write("garbage.wav", "this is no sound file at all");
  const std::string noData = write("nodata.wav", std::string("RIFF\x04\0\0\0WAVE", 12));
  std::string adpcm(
      "RIFF\x24\0\0\0WAVEfmt "
      "\x10\0\0\0\x02\0\x01\0\x44\xac\0\0\x88\x58\x01\0\x02\0\x04\0data\0\0\0\0",
      44);
  const std::string compressed = write("adpcm.wav", adpcm);
  EXPECT_THROW(WavReader{garbage}, EReadError);
  EXPECT_THROW(WavReader{noData}, EReadError);
  EXPECT_THROW(WavReader{(dir / "missing.wav").string()}, EFOpenError);
  EXPECT_THROW(WavReader{compressed}, EReadError);

  // A failed open leaves a valid empty document, whatever it held before.
  AudioDocument doc;
  Fill(doc, 500);
  doc.AddMarker(10, 0, "m", "Bookmark");
  for (const std::string& path : {garbage, noData, (dir / "missing.wav").string()}) {
    EXPECT_THROW(doc.OpenFile(path), Exception) << path;
    EXPECT_EQ(doc.Length(), 0);
    EXPECT_FALSE(doc.CanUndo());
    EXPECT_EQ(doc.MarkerCount(), 0);
    doc.InsertPcm(Ramp(3));  // and it still works
    EXPECT_EQ(doc.Length(), 3);
  }

  // Rates and channel counts the editor does not take are refused in words naming the file.
  for (const auto& [rate, channels] : {std::pair{500, 1}, std::pair{8000, 40}}) {
    const std::string odd = (dir / ("odd" + std::to_string(rate) + ".wav")).string();
    {
      WavWriter w(odd, rate, channels, 16);
      std::vector<float> silence(size_t(100 * channels));
      w.Write(silence.data(), 100);
      w.Close();
    }
    try {
      doc.OpenFile(odd);
      ADD_FAILURE() << "opened";
    } catch (const EReadError& e) {
      EXPECT_NE(e.Message().find(odd), std::string::npos) << e.Message();
      EXPECT_NE(e.Message().find(std::to_string(rate) + " Hz"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(doc.Length(), 0);
  }

  // Over 2^31-1 frames is refused with a clear message (a sparse file costs no disk).
  std::string header(
      "RIFF\xff\xff\xff\xffWAVEfmt "
      "\x10\0\0\0\x01\0\x01\0\x40\x1f\0\0\x40\x1f\0\0\x01\0\x08\0data\xff\xff\xff\xff",
      44);
  const std::string huge = write("huge.wav", header);
  ASSERT_EQ(truncate(huge.c_str(), 44 + (int64_t(1) << 31) + 100), 0);
  try {
    doc.OpenFile(huge);
    FAIL() << "opened";
  } catch (const Exception& e) {
    EXPECT_NE(e.Message().find("2147483647"), std::string::npos) << e.Message();
  }
  EXPECT_EQ(doc.Length(), 0);

  // A size that wrapped around past 4 GB: the file holds 4 GB more than its header says. Read
  // whole, 16-bit stereo is about a billion frames; 8-bit mono is too long to open.
  for (const auto& [channels, bits] : {std::pair{2, 16}, std::pair{1, 8}}) {
    const int align = channels * bits / 8;
    const std::string wrapped = (dir / ("wrapped" + std::to_string(bits) + ".wav")).string();
    {
      WavWriter w(wrapped, 8000, channels, bits);
      std::vector<float> some(size_t(1000 * channels), 0.25f);
      w.Write(some.data(), 1000);
      w.Close();
    }
    ASSERT_EQ(truncate(wrapped.c_str(), 44 + 1000 * align + (int64_t(1) << 32)), 0);
    if (bits == 16) {
      EXPECT_EQ(WavReader(wrapped).Info().Frames, 1000 + (int64_t(1) << 32) / align);
      continue;
    }
    try {
      doc.OpenFile(wrapped);
      FAIL() << "opened " << doc.Length() << " frames";
    } catch (const Exception& e) {
      EXPECT_NE(e.Message().find("2147483647"), std::string::npos) << e.Message();
    }
    EXPECT_EQ(doc.Length(), 0);
  }

  // Saving: a folder that does not exist, an unknown format, a format without its encoder.
  doc.InsertPcm(Ramp(10));
  EXPECT_THROW(doc.SaveFile((dir / "no" / "such.wav").string(), false, afWav), EFCreateError);
  EXPECT_THROW(doc.SaveFile((dir / "x.xyz").string(), false, 99), EArgumentException);
  EXPECT_FALSE(fs::exists(dir / "x.xyz"));
  // A sound too big for a WAV file is refused before anything is written (a file size limit
  // would stop any writing at once).
  {
    AudioDocument big;
    big.NewDocument(8000, 1);
    big.InsertPcm(Ramp(1000000, 1, 8000));
    big.SetWavFormat(768000, 32, 32);  // 96 million frames of 128 bytes
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    sigaction(SIGXFSZ, &ignore, &previous);
    rlimit saved{};
    getrlimit(RLIMIT_FSIZE, &saved);
    rlimit small = saved;
    small.rlim_cur = 1 << 20;
    setrlimit(RLIMIT_FSIZE, &small);
    std::string message;
    try {
      big.SaveFile((dir / "big.wav").string(), false, afWav);
    } catch (const EWriteError& e) {
      message = e.Message();
    }
    setrlimit(RLIMIT_FSIZE, &saved);
    sigaction(SIGXFSZ, &previous, nullptr);
    EXPECT_NE(message.find("4 GB"), std::string::npos) << message;
    EXPECT_FALSE(fs::exists(dir / "big.wav"));
  }

  // A failed save leaves the old file alone.
  const std::string keep = write("keep.wav", "old");
  fs::create_directory(dir / "blocker.wav");
  EXPECT_THROW(doc.SaveFile((dir / "blocker.wav").string(), false, afWav), EFCreateError);
  EXPECT_TRUE(fs::is_directory(dir / "blocker.wav"));
  doc.SaveFile(keep, false, afWav);
  EXPECT_EQ(WavReader(keep).Info().Frames, 10);
}

// The data chunk's declared size against what follows it: streams written without knowing their
// size (0 or 0xFFFFFFFF), a file cut short, and chunks of tags after the sound.
TEST(WavFile, ReadsWhatTheDataChunkHolds) {
  const fs::path dir = sonalix::test::MakeTempDir("wavdata");
  auto le32 = [](uint32_t v) {
    std::string b(4, '\0');
    for (int i = 0; i < 4; ++i) b[size_t(i)] = char(v >> (8 * i));
    return b;
  };
  // Stereo 16-bit at 8000 Hz; frame f holds f + 1 in both channels (never a printable name).
  auto frames = [](int n) {
    std::string b;
    for (int f = 0; f < n; ++f)
      for (int c = 0; c < 2; ++c) b += {char((f + 1) & 0xFF), char((f + 1) >> 8)};
    return b;
  };
  const std::string tags = "LIST" + std::string("\x0e\0\0\0INFOINAM\x02\0\0\0x\0", 18);
  const std::string fmt = "fmt " + le32(16) + std::string("\x01\0\x02\0", 4) + le32(8000) +
                          le32(32000) + std::string("\x04\0\x10\0", 4);
  struct Case {
    const char* name;
    uint32_t declared;
    std::string after;  // the data chunk's bytes and whatever follows them
    int64_t expected;
  };
  const Case cases[] = {
      {"empty", 0, "", 0},
      {"empty-then-tags", 0, tags, 0},
      {"unfinished-stream", 0, frames(1000), 1000},
      {"unknown-size", 0xFFFFFFFF, frames(1000), 1000},
      {"cut-short", 4 * 4000, frames(1000), 1000},
      {"sound-then-tags", 4 * 1000, frames(1000) + tags, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string body = "WAVE" + fmt + "data" + le32(c.declared) + c.after;
    const fs::path file = dir / (std::string(c.name) + ".wav");
    std::ofstream(file, std::ios::binary) << "RIFF" + le32(uint32_t(body.size())) + body;
    AudioDocument doc;
    doc.OpenFile(file.string());
    ASSERT_EQ(doc.Length(), c.expected);
    ASSERT_EQ(doc.Channels(), 2);
    const SampleBuffer got = Contents(doc);
    for (int64_t f = 0; f < c.expected; ++f) ASSERT_EQ(got.At(f, 1), float(f + 1) / 32768.0f) << f;
  }
}

// Saving a sound of many channels in fewer drops none of them: each channel's tone is heard in
// the file, front left only on the left, front right only on the right, the centre on both.
TEST(WavFile, SavingInFewerChannelsKeepsEveryChannel) {
  const fs::path dir = sonalix::test::MakeTempDir("wavmix");
  const int rate = 8000;
  auto hz = [](int channel) { return 300.0 + 200.0 * channel; };
  // Amplitude of a tone in one channel over whole cycles (one second).
  auto level = [&](const SampleBuffer& b, int channel, double f) {
    double re = 0, im = 0;
    for (int64_t i = 0; i < b.Frames(); ++i) {
      re += b.At(i, channel) * std::cos(2 * M_PI * f * double(i) / rate);
      im += b.At(i, channel) * std::sin(2 * M_PI * f * double(i) / rate);
    }
    return 2 * std::hypot(re, im) / double(b.Frames());
  };
  for (const auto& [from, to] :
       {std::pair{3, 2}, std::pair{6, 2}, std::pair{8, 2}, std::pair{6, 1}, std::pair{5, 3}}) {
    SCOPED_TRACE(std::to_string(from) + " to " + std::to_string(to));
    SampleBuffer tones(from, rate, rate);
    for (int64_t i = 0; i < rate; ++i)
      for (int c = 0; c < from; ++c)
        tones.At(i, c) = float(0.9 * std::sin(2 * M_PI * hz(c) * double(i) / rate));
    AudioDocument doc;
    doc.NewDocument(rate, from);
    doc.InsertPcm(tones);
    doc.SetWavFormat(rate, to, 32);
    const std::string path = (dir / "mix.wav").string();
    doc.SaveFile(path, false, afWav);
    WavReader reader(path);
    SampleBuffer back(to, rate, rate);
    ASSERT_EQ(reader.Read(back.Data(), rate), rate);
    for (int c = 0; c < from; ++c) {
      double loudest = 0;
      for (int o = 0; o < to; ++o) loudest = std::max(loudest, level(back, o, hz(c)));
      EXPECT_GT(loudest, 0.05) << "channel " << c << " is lost";
    }
    if (to == 2) {
      EXPECT_LT(level(back, 1, hz(0)), 1e-3);
      EXPECT_LT(level(back, 0, hz(1)), 1e-3);
      EXPECT_NEAR(level(back, 0, hz(2)), level(back, 1, hz(2)), 1e-3);
    }
    for (float v : back.Values()) ASSERT_LE(std::abs(v), 1.0f);
  }
}

// Saving replaces the file the user named and nothing else about it: the link that leads to it,
// its permissions, and, when the disk fills up, its old contents.
TEST(WavFile, SavingKeepsWhatSurroundsTheFile) {
  const fs::path dir = sonalix::test::MakeTempDir("wavsafe");
  const std::string old = "old contents";
  auto oldFile = [&](const fs::path& p) { std::ofstream(p, std::ios::binary) << old; };
  auto readAll = [](const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  auto entries = [&](const fs::path& d) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(d)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  };
  AudioDocument doc;
  doc.NewDocument(44100, 2);
  doc.InsertPcm(Sine(5 * 44100, 440, 44100, 2, 0.5));
  doc.SetWavFormat(44100, 2, 16);

  // Permissions of the replaced file stay.
  const fs::path privateFile = dir / "private.wav";
  oldFile(privateFile);
  const fs::perms mode = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read;
  fs::permissions(privateFile, mode);
  doc.SaveFile(privateFile.string(), false, afWav);
  EXPECT_EQ(fs::status(privateFile).permissions(), mode);
  EXPECT_EQ(WavReader(privateFile.string()).Info().Frames, 5 * 44100);

  // A link stays a link, in its own folder, and the file it leads to gets the sound.
  fs::create_directory(dir / "real");
  const fs::path real = dir / "real" / "song.wav", link = dir / "link.wav";
  oldFile(real);
  fs::create_symlink("real/song.wav", link);
  doc.SaveFile(link.string(), false, afWav);
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::read_symlink(link), fs::path("real/song.wav"));
  EXPECT_EQ(WavReader(real.string()).Info().Frames, 5 * 44100);
  EXPECT_EQ(entries(dir / "real"), std::vector<std::string>{"song.wav"});

  // The open file saved over itself after an edit holds the edit.
  doc.OpenFile(real.string());
  doc.Select(0, 44100);
  doc.DeleteSelection();
  doc.SaveFile(real.string(), false, afWav);
  AudioDocument again;
  again.OpenFile(real.string());
  EXPECT_EQ(again.Length(), 4 * 44100);
  EXPECT_EQ(Contents(again).Values(), Contents(doc).Values());

  // The disk fills up midway (a file size limit stands in for a full disk): the save fails
  // with a message naming the file and why, the old file stays and no temporary file is left.
  const fs::path full = dir / "full" / "song.wav";
  fs::create_directory(dir / "full");
  oldFile(full);
  struct sigaction ignore {
  }, previous{};
  ignore.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &ignore, &previous);
  rlimit saved{};
  getrlimit(RLIMIT_FSIZE, &saved);
  rlimit small = saved;
  small.rlim_cur = 100000;
  setrlimit(RLIMIT_FSIZE, &small);
  std::string message;
  try {
    doc.SaveFile(full.string(), false, afWav);
  } catch (const Exception& e) {
    message = e.Message();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &previous, nullptr);
  EXPECT_NE(message.find("\"" + full.string() + "\""), std::string::npos) << message;
  EXPECT_NE(message.find(std::strerror(EFBIG)), std::string::npos) << message;
  EXPECT_EQ(readAll(full), old);
  EXPECT_EQ(entries(dir / "full"), std::vector<std::string>{"song.wav"});
  EXPECT_EQ(doc.Length(), 4 * 44100);
}
