#include <gtest/gtest.h>
#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>

#include "AudioTestUtil.h"
#include "audio/AudioDocument.h"
#include "audio/AudioEncoder.h"
#include "common/TestEnv.h"

using namespace audiotest;
namespace fs = std::filesystem;

namespace {
// A small file system of its own, where the disk really fills up; unmounted at the end.
struct SmallDisk {
  fs::path Dir;
  bool Mounted = false;
  explicit SmallDisk(const fs::path& dir) : Dir(dir) {
    Mounted = ::mount("tmpfs", dir.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, "size=256k") == 0;
  }
  ~SmallDisk() {
    if (Mounted) ::umount2(Dir.c_str(), MNT_DETACH);
  }
};

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

// Saving in every format onto a disk too full for the new file: a clear error naming the file
// and the reason, the old file as it was, no temporary file left behind.
TEST(FullDisk, SavingKeepsTheOldFile) {
  RegisterAudioCodecs();
  const fs::path dir = sonalix::test::MakeTempDir("fulldisk");
  SmallDisk disk(dir);
  if (!disk.Mounted)
    GTEST_SKIP() << "cannot mount a small file system here: " << std::strerror(errno);
  AudioDocument doc;
  doc.NewDocument(44100, 2);
  // 30 s of noise, which no encoder packs into the room the disk has left.
  SampleBuffer noise(2, 44100, 30 * 44100);
  uint32_t seed = 1;
  for (float& v : noise.Values()) {
    seed = seed * 1664525u + 1013904223u;
    v = float(int32_t(seed)) / 4294967296.0f;
  }
  doc.InsertPcm(noise);
  const std::string old(120 * 1024, 'x');
  struct Case {
    const char* name;
    int code;
    std::function<void()> format;
  };
  const Case cases[] = {
      {"song.wav", afWav, [&] { doc.SetWavFormat(44100, 2, 16); }},
      {"song.mp3", afMp3, [&] { doc.SetMp3CbrFormat(44100, 320, 2); }},
      {"song.ogg", afOgg, [&] { doc.SetOggFormat(44100, 2, 320, 0, 0, -1); }},
      {"song.wma", afWma, [&] { doc.SetWmaFormat(11); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path file = dir / c.name;
    std::ofstream(file, std::ios::binary) << old;
    c.format();
    std::string message;
    try {
      doc.SaveFile(file.string(), false, c.code);
    } catch (const Exception& e) {
      message = e.Message();
    }
    EXPECT_NE(message.find(file.string()), std::string::npos) << message;
    EXPECT_NE(message.find(std::strerror(ENOSPC)), std::string::npos) << message;
    EXPECT_TRUE(ReadAll(file) == old) << fs::file_size(file) << " bytes instead";
    EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
    fs::remove(file);
  }
  EXPECT_EQ(doc.Length(), 30 * 44100);
}
