#include <gtest/gtest.h>
#include <sys/stat.h>

#include <random>

#include "CodecTestUtil.h"
#include "audio/AudioDecoder.h"
#include "audio/AudioDocument.h"
#include "audio/AudioEncoder.h"
#include "audio/AudioFileError.h"
#include "common/TestEnv.h"

using namespace codectest;
namespace fs = std::filesystem;

namespace {

// ffmpeg's test tone is a sine at an eighth of full scale.
constexpr double kToneRms = 0.125 / 1.4142135623730951;

// Dialogic ADPCM, written here because no tool we have encodes it.
std::vector<unsigned char> EncodeVox(const std::vector<short>& pcm) {
  static const int steps[49] = {16,  17,  19,  21,  23,  25,   28,   31,   34,   37,  41,  45,  50,
                                55,  60,  66,  73,  80,  88,   97,   107,  118,  130, 143, 157, 173,
                                190, 209, 230, 253, 279, 307,  337,  371,  408,  449, 494, 544, 598,
                                658, 724, 796, 876, 963, 1060, 1166, 1282, 1411, 1552};
  static const int adjust[8] = {-1, -1, -1, -1, 2, 4, 6, 8};
  int predicted = 0, index = 0;
  std::vector<unsigned char> out;
  unsigned char byte = 0;
  for (size_t i = 0; i < pcm.size(); ++i) {
    const int step = steps[index];
    int diff = (pcm[i] >> 4) - predicted;
    int code = 0;
    if (diff < 0) code = 8, diff = -diff;
    if (diff >= step) code |= 4, diff -= step;
    if (diff >= step / 2) code |= 2, diff -= step / 2;
    if (diff >= step / 4) code |= 1;
    int dq = step / 8;
    if (code & 4) dq += step;
    if (code & 2) dq += step / 2;
    if (code & 1) dq += step / 4;
    predicted += (code & 8) ? -dq : dq;
    predicted = std::clamp(predicted, -2048, 2047);
    index = std::clamp(index + adjust[code & 7], 0, 48);
    if (i % 2 == 0) {
      byte = static_cast<unsigned char>(code << 4);
    } else {
      out.push_back(byte | static_cast<unsigned char>(code));
    }
  }
  return out;
}

std::vector<short> Tone16(int rate, double seconds, double amplitude) {
  std::vector<short> v(size_t(rate * seconds));
  for (size_t i = 0; i < v.size(); ++i)
    v[i] = short(std::lround(amplitude * 32767 * std::sin(2 * M_PI * 440 * double(i) / rate)));
  return v;
}

struct Fixture {
  const char* Name;
  int Rate, Channels;
  const char* Options;    // ffmpeg output options; "" for the ones made in code
  double LevelTolerance;  // relative, lossy codecs get more
};

const Fixture kFixtures[] = {
    {"tone.wav", 44100, 2, "-c:a pcm_s16le", 0.01},
    {"tone24.wav", 48000, 1, "-c:a pcm_s24le", 0.01},
    {"tone.mp3", 44100, 2, "-c:a libmp3lame -b:a 192k", 0.05},
    {"tone.mp2", 48000, 2, "-c:a mp2 -b:a 192k -f mp2", 0.05},
    {"tone.mpga", 44100, 1, "-c:a libmp3lame -b:a 64k -f mp3", 0.08},
    {"tone.wma", 44100, 2, "-c:a wmav2 -b:a 128k", 0.1},
    {"tone.ogg", 44100, 2, "-c:a libvorbis -q:a 5", 0.05},
    {"tone.aif", 22050, 1, "-c:a pcm_s16be -f aiff", 0.01},
    {"tone.aiff", 44100, 2, "-c:a pcm_s16be -f aiff", 0.01},
    {"tone.aifc", 44100, 2, "-c:a pcm_s24be -f aiff", 0.01},
    {"adpcm.aifc", 44100, 1, "-c:a adpcm_ima_qt -f aiff", 0.1},
    {"tone.raw", 8000, 1, "-c:a pcm_s16le -f s16le", 0.01},
    {"tone.g721", 8000, 1, "-c:a g726le -b:a 32k -f g726le", 0.1},
    {"tone.g723", 8000, 1, "-c:a g726le -b:a 24k -f g726le", 0.15},
    {"tone.g726", 8000, 1, "-c:a g726le -b:a 32k -f g726le", 0.1},
    {"tone.vox", 8000, 1, "", 0.1},
    {"tone.mpc", 44100, 2, "", 0.05},
};

fs::path MakeFixture(const fs::path& dir, const Fixture& f, double seconds = 1.0) {
  const fs::path out = dir / f.Name;
  const std::string name = f.Name;
  if (name == "tone.vox") {
    WriteBytes(out, EncodeVox(Tone16(8000, seconds, 0.125)));
  } else if (name == "tone.mpc") {
    const fs::path wav = dir / "mpc-source.wav";
    if (!MakeTone(wav, f.Rate, f.Channels, seconds, "-c:a pcm_s16le")) return {};
    Shell("mpcenc --silent --overwrite " + Quote(wav.string()) + " " + Quote(out.string()));
  } else if (!MakeTone(out, f.Rate, f.Channels, seconds, f.Options)) {
    return {};
  }
  return fs::exists(out) ? out : fs::path();
}

}  // namespace

TEST(AudioDecoder, OpensEveryOpenableFormat) {
  const fs::path dir = sonalix::test::MakeTempDir("decode");
  for (const Fixture& f : kFixtures) {
    SCOPED_TRACE(f.Name);
    const fs::path file = MakeFixture(dir, f);
    ASSERT_FALSE(file.empty()) << "fixture not made";
    TAudioDecoder decoder(file.string());
    EXPECT_EQ(decoder.Info().SampleRate, f.Rate);
    EXPECT_EQ(decoder.Info().Channels, f.Channels);
    const std::vector<float> v = decoder.ReadAll();
    const size_t frames = v.size() / size_t(f.Channels);
    // Lossy codecs pad to whole codec frames; nothing loses more than a few milliseconds.
    EXPECT_NEAR(double(frames), double(f.Rate), f.Rate * 0.06);
    // Musepack streams state no length.
    if (std::string(f.Name) != "tone.mpc") {
      EXPECT_NEAR(double(decoder.Info().LengthFrames), double(frames), f.Rate * 0.06);
    }
    EXPECT_NEAR(Rms(v, f.Channels, 0, frames / 10), kToneRms, kToneRms * f.LevelTolerance);
    EXPECT_NEAR(Frequency(v, f.Channels, 0, f.Rate), 440.0, 3.0);
    if (f.Channels == 2) {
      EXPECT_NEAR(Frequency(v, 2, 1, f.Rate), 660.0, 3.0);
    }
    EXPECT_TRUE(decoder.AtEnd());
  }
}

// A file with a container's header is read by that header even when its name is that of a
// headerless kind; headerless files (the fixtures above) stay raw.
TEST(AudioDecoder, ReadsFilesByTheirHeaderWhateverTheirName) {
  const fs::path dir = sonalix::test::MakeTempDir("renamed");
  const std::pair<int, const char*> cases[] = {
      {0, "wav.raw"}, {2, "mp3.vox"}, {5, "wma.g721"}, {6, "ogg.g726"}, {8, "aiff.g723"}};
  for (const auto& [which, name] : cases) {
    const Fixture& f = kFixtures[which];
    SCOPED_TRACE(name);
    const fs::path made = MakeFixture(dir, f);
    ASSERT_FALSE(made.empty());
    const fs::path file = dir / name;
    fs::rename(made, file);
    TAudioDecoder decoder(file.string());
    EXPECT_EQ(decoder.Info().SampleRate, f.Rate);
    EXPECT_EQ(decoder.Info().Channels, f.Channels);
    const std::vector<float> v = decoder.ReadAll();
    EXPECT_NEAR(double(v.size() / size_t(f.Channels)), double(f.Rate), f.Rate * 0.06);
    EXPECT_NEAR(Frequency(v, f.Channels, 0, f.Rate), 440.0, 3.0);
  }
}

TEST(AudioDecoder, ReadsInBlocksWithoutLosingFrames) {
  const fs::path dir = sonalix::test::MakeTempDir("blocks");
  const fs::path file = MakeFixture(dir, kFixtures[2]);  // MP3
  std::vector<float> whole;
  DecodeAudioFile(file.string(), whole);
  TAudioDecoder decoder(file.string());
  std::vector<float> pieces;
  size_t n;
  for (size_t size : {1, 7, 1000, 30000, 3}) {
    n = decoder.Read(pieces, size);
    EXPECT_EQ(n, size);
  }
  while ((n = decoder.Read(pieces, 4096)) > 0) {
  }
  EXPECT_EQ(decoder.Position() * 2, int64_t(pieces.size()));
  EXPECT_EQ(pieces, whole);
}

TEST(AudioDecoder, MixesSurroundDownToStereo) {
  const fs::path dir = sonalix::test::MakeTempDir("surround");
  for (int channels : {3, 6}) {
    SCOPED_TRACE(channels);
    const fs::path file = dir / ("surround" + std::to_string(channels) + ".wav");
    ASSERT_TRUE(MakeTone(file, 48000, channels, 0.5, "-c:a pcm_s16le"));
    TAudioDecoder decoder(file.string());
    EXPECT_EQ(decoder.Info().SourceChannels, channels);
    EXPECT_EQ(decoder.Info().Channels, 2);
    const std::vector<float> v = decoder.ReadAll();
    EXPECT_EQ(v.size(), size_t(48000 / 2 * 2));
    // Both sides carry sound, none clips.
    EXPECT_GT(Rms(v, 2, 0), 0.02);
    EXPECT_GT(Rms(v, 2, 1), 0.02);
    EXPECT_LE(*std::max_element(v.begin(), v.end()), 1.0f);
    // The editor opens such a WAV file the same way, so that it can be played.
    AudioDocument doc;
    doc.OpenFile(file.string());
    EXPECT_EQ(doc.Channels(), 2);
    std::vector<float> opened(size_t(doc.Length() * doc.Channels()));
    doc.Samples().Read(0, doc.Length(), opened.data());
    EXPECT_EQ(opened, v);
  }
}

TEST(AudioDecoder, ReadsTags) {
  const fs::path dir = sonalix::test::MakeTempDir("tags");
  const std::string meta =
      "-metadata title='Über Tune' -metadata artist=Someone -metadata album=Disc "
      "-metadata comment=Note -metadata date=1999 -metadata genre=Jazz";
  for (const char* name : {"t.mp3", "t.ogg", "t.wma", "t.wav"}) {
    SCOPED_TRACE(name);
    const fs::path file = dir / name;
    ASSERT_TRUE(MakeTone(file, 44100, 2, 0.2, meta));
    TAudioDecoder decoder(file.string());
    EXPECT_EQ(decoder.Tags().Title, "Über Tune");
    EXPECT_EQ(decoder.Tags().Artist, "Someone");
    EXPECT_EQ(decoder.Tags().Album, "Disc");
    EXPECT_EQ(decoder.Tags().Year, 1999);
    EXPECT_EQ(decoder.Tags().GenreIndex, 8);  // Jazz
    EXPECT_EQ(AudioGenreName(8), "Jazz");
  }
  EXPECT_EQ(AudioGenreIndex("(17)"), 17);
  EXPECT_EQ(AudioGenreIndex("rock"), 17);
  EXPECT_EQ(AudioGenreIndex("no such genre"), -1);
  EXPECT_EQ(AudioGenreName(148), "");
  EXPECT_EQ(AudioGenreName(-1), "");
}

TEST(AudioDecoder, RefusesWhatIsNoSound) {
  const fs::path dir = sonalix::test::MakeTempDir("bad");
  WriteBytes(dir / "empty.wav", {});
  std::vector<unsigned char> text(4000);
  for (size_t i = 0; i < text.size(); ++i) text[i] = "Just some text, no sound here.\n"[i % 31];
  WriteBytes(dir / "text.mp3", text);
  WriteBytes(dir / "text.ogg", text);
  WriteBytes(dir / "text.wma", text);
  WriteBytes(dir / "text.wav", text);
  std::mt19937 rng(7);
  std::vector<unsigned char> noise(20000);
  for (auto& b : noise) b = static_cast<unsigned char>(rng());
  WriteBytes(dir / "noise.ogg", noise);
  WriteBytes(dir / "noise.aiff", noise);
  // A WAV header cut short.
  ASSERT_TRUE(MakeTone(dir / "full.wav", 44100, 2, 0.1, "-c:a pcm_s16le"));
  auto wav = ReadBytes(dir / "full.wav");
  wav.resize(30);
  WriteBytes(dir / "cut.wav", wav);
  fs::create_directories(dir / "folder.wav");
  mkfifo((dir / "pipe.mp3").c_str(), 0600);  // nobody writes to it: reading would never end
  // An image, no sound stream.
  Shell(
      "ffmpeg -nostdin -loglevel error -y -f lavfi -i color=c=red:s=16x16:d=0.1 -frames:v 1 -c:v "
      "png -f image2pipe " +
      Quote((dir / "picture.mp3").string()));

  for (const char* name :
       {"missing.mp3", "empty.wav", "text.mp3", "text.ogg", "text.wma", "text.wav", "noise.ogg",
        "noise.aiff", "cut.wav", "folder.wav", "picture.mp3", "pipe.mp3"}) {
    SCOPED_TRACE(name);
    try {
      TAudioDecoder decoder((dir / name).string());
      decoder.ReadAll();
      ADD_FAILURE() << "opened";
    } catch (const EAudioFileError& e) {
      EXPECT_NE(e.Message().find(name), std::string::npos) << e.Message();
    }
  }
}

// Damaged copies of valid files either decode (what can be decoded) or raise the clear error;
// nothing crashes, hangs or grows without bound.
TEST(AudioDecoder, SurvivesDamagedFiles) {
  const fs::path dir = sonalix::test::MakeTempDir("mutate");
  std::mt19937 rng(20261210);
  for (int which : {0, 2, 3, 5, 6, 9, 16}) {
    const Fixture& f = kFixtures[which];
    SCOPED_TRACE(f.Name);
    const fs::path source = MakeFixture(dir, f, 0.3);
    ASSERT_FALSE(source.empty());
    const auto original = ReadBytes(source);
    const fs::path damaged = dir / (std::string("damaged-") + f.Name);
    for (int round = 0; round < 40; ++round) {
      auto bytes = original;
      switch (round % 4) {
        case 0:  // truncated
          bytes.resize(rng() % bytes.size());
          break;
        case 1:  // bytes flipped here and there
          for (int k = 0; k < 20; ++k)
            bytes[rng() % bytes.size()] ^= static_cast<unsigned char>(1 + rng() % 255);
          break;
        case 2: {  // a run overwritten, the header included at times
          const size_t at = round % 8 == 2 ? 0 : rng() % bytes.size();
          for (size_t k = at; k < std::min(bytes.size(), at + 64); ++k)
            bytes[k] = static_cast<unsigned char>(rng());
          break;
        }
        case 3: {  // sizes and counts set to extremes
          for (int k = 0; k < 8; ++k) {
            const size_t at = rng() % (std::min<size_t>(bytes.size(), 256) - 4);
            bytes[at] = bytes[at + 1] = bytes[at + 2] = bytes[at + 3] = 0xFF;
          }
          break;
        }
      }
      WriteBytes(damaged, bytes);
      try {
        TAudioDecoder decoder(damaged.string());
        std::vector<float> v;
        size_t total = 0, n;
        while ((n = decoder.Read(v, 8192)) > 0) {
          total += n;
          v.clear();
          // Never more than a plausible amount from a 0.3 s file.
          ASSERT_LT(total, size_t(10 * 48000 * 60)) << "round " << round;
        }
      } catch (const EAudioFileError& e) {
        EXPECT_FALSE(e.Message().empty());
      }
    }
  }
}
