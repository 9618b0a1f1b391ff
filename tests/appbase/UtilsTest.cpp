#include <gtest/gtest.h>

#include <fstream>
#include <functional>

#include "appbase/Utils.h"
#include "common/TestEnv.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Drives.h"
#include "platform/sys/ShellFolders.h"

TEST(Utils, IndexTables) {
  struct Case {
    const char* table;
    std::function<int(int)> lookup;
    std::vector<int> values;  // indexes 0, 1, ...
    int fallback;
  };
  const std::vector<int> mp3 = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
  const Case cases[] = {
      {"SampleRateFromIndex",
       SampleRateFromIndex,
       {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 96000},
       44100},
      {"BitsFromIndex", BitsFromIndex, {8, 16, 24, 32}, 16},
      {"Mp3CbrBitRateFromIndex", Mp3CbrBitRateFromIndex, mp3, 192},
      {"Mp3AbrBitRateFromIndex", Mp3AbrBitRateFromIndex, mp3, 192},
      {"Mp3VbrMinBitRateFromIndex",
       Mp3VbrMinBitRateFromIndex,
       {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256},
       192},
      {"Mp3VbrMaxBitRateFromIndex",
       Mp3VbrMaxBitRateFromIndex,
       {40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},
       192},
      {"OggAbrBitRateFromIndex", OggAbrBitRateFromIndex, {64, 96, 128, 160, 192, 256, 350}, 192},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.table);
    for (int i = 0; i < int(c.values.size()); ++i) EXPECT_EQ(c.lookup(i), c.values[i]) << i;
    EXPECT_EQ(c.lookup(-1), c.fallback);
    EXPECT_EQ(c.lookup(int(c.values.size())), c.fallback);
    EXPECT_EQ(c.lookup(255), c.fallback);
  }
  EXPECT_EQ(ChannelsFromMode(1), 1);
  for (int mode : {0, 2, 3, -1}) EXPECT_EQ(ChannelsFromMode(mode), 2) << mode;
  EXPECT_EQ(Mp3ChannelsFromMode(3), 1);
  for (int mode : {0, 1, 2, 4}) EXPECT_EQ(Mp3ChannelsFromMode(mode), 2) << mode;

  // The three rate lists disagree on purpose.
  EXPECT_EQ(NewFileSampleRates[5], 24000);
  EXPECT_EQ(ConvertSampleRates[5], 22050);
  EXPECT_EQ(SampleRateFromIndex(5), 24000);
  EXPECT_EQ(NewFileSampleRates[3], 44100);
  EXPECT_EQ(ConvertSampleRates[3], 44100);
  EXPECT_EQ(ConvertSampleRates[9], 6000);
  EXPECT_EQ(NewFileSampleRates[11], 6000);
}

TEST(Utils, TimeTexts) {
  struct Case {
    int ms;
    const char* text;
    int h, m, s, msec;
  } cases[] = {
      {0, "0:00:00.000", 0, 0, 0, 0},
      {5250, "0:00:05.250", 0, 0, 5, 250},
      {3725004, "1:02:05.004", 1, 2, 5, 4},
      {59999, "0:00:59.999", 0, 0, 59, 999},
      {360000000, "100:00:00.000", 100, 0, 0, 0},  // hours are not wrapped
      {86399999, "23:59:59.999", 23, 59, 59, 999},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(FormatMsTime(c.ms), c.text);
    int h, m, s, msec;
    MsToTime(c.ms, h, m, s, msec);
    EXPECT_EQ((std::vector<int>{h, m, s, msec}), (std::vector<int>{c.h, c.m, c.s, c.msec})) << c.ms;
    EXPECT_EQ(TimeToMs(c.h, c.m, c.s, c.msec), c.ms);
  }
  EXPECT_EQ(TimeToMs(0, 90, 0, 0), 5400000);  // parts may exceed their usual range
}

TEST(Utils, NamesAndExtensions) {
  EXPECT_EQ(AddTrailingBackslash(""), "");
  EXPECT_EQ(AddTrailingBackslash("/home/u"), "/home/u/");
  EXPECT_EQ(AddTrailingBackslash("/home/u/"), "/home/u/");
  EXPECT_EQ(AddTrailingBackslash("/"), "/");
  EXPECT_EQ(AddTrailingBackslash("D:"), "D:\\");
  EXPECT_EQ(AddTrailingBackslash("D:\\"), "D:\\");

  EXPECT_EQ(ReplaceInvalidFileChars("a\\b/c:d*e?f\"g<h>i|j.wav", "_"), "a_b_c_d_e_f_g_h_i_j.wav");
  EXPECT_EQ(ReplaceInvalidFileChars("Intro: part?", "--"), "Intro-- part--");
  EXPECT_EQ(ReplaceInvalidFileChars("plain", "_"), "plain");

  EXPECT_EQ(ExtractFileNameNoExt("/x.y/file.tar.gz"), "/x.y/file.tar");
  EXPECT_EQ(ExtractFileNameNoExt("/x.y/file"), "/x.y/file");
  EXPECT_EQ(ExtractFileNameNoExt("song.mp3"), "song");

  for (const char* ext : SupportedAudioExts) {
    EXPECT_TRUE(IsSupportedAudioExt(ext)) << ext;
    EXPECT_TRUE(IsSupportedAudioExt(UpperCase(ext))) << ext;
  }
  for (const char* ext : {"", "wav", ".flac", ".wav ", ".mp4", "."})
    EXPECT_FALSE(IsSupportedAudioExt(ext)) << ext;
  EXPECT_TRUE(IsSupportedAudioExt(".Aiff"));

  EXPECT_EQ(FirstSpacePos("abc"), 3);
  EXPECT_EQ(FirstSpacePos("ab cd"), 3);
  EXPECT_EQ(FirstSpacePos(" a"), 1);
  EXPECT_EQ(FirstSpacePos(""), 0);
}

namespace {
// Claims every name under one drive-letter folder as taken, except those the test frees.
class TFullFolder : public TVirtualFileProvider {
 public:
  std::string Folder = "Q:\\full\\";
  std::string Free;
  bool Handles(const std::string& Path) const override { return Path.starts_with("Q:"); }
  bool FileExists(const std::string& Path) const override {
    return Path.starts_with(Folder) && Path != Free;
  }
  bool ListFolder(const std::string&, std::vector<TSearchRec>&) const override { return false; }
};
}  // namespace

TEST(Utils, MakeUniqueFileName) {
  const std::string dir = sonalix::test::MakeTempDir("unique").string();
  EXPECT_EQ(MakeUniqueFileName("a.wav", dir), dir + "/a.wav");
  for (const char* name : {"a.wav", "a(1).wav", "noext", "two.dots.mp3"})
    std::ofstream(dir + "/" + name) << "x";
  std::filesystem::create_directory(dir + "/two.dots(1).mp3");  // a folder blocks the name too
  EXPECT_EQ(MakeUniqueFileName("a.wav", dir), dir + "/a(2).wav");
  EXPECT_EQ(MakeUniqueFileName("a.wav", dir + "/"), dir + "/a(2).wav");
  EXPECT_EQ(MakeUniqueFileName("noext", dir), dir + "/noext(1)");
  EXPECT_EQ(MakeUniqueFileName("two.dots.mp3", dir), dir + "/two.dots(2).mp3");
  EXPECT_EQ(MakeUniqueFileName("b.wav", dir), dir + "/b.wav");

  TFullFolder full;
  TVirtualFileProvider* previous = SetVirtualFileProvider(&full);
  full.Free = "Q:\\full\\a(32768).wav";  // the last candidate is tested like the others
  EXPECT_EQ(MakeUniqueFileName("a.wav", "Q:\\full"), "Q:\\full\\a(32768).wav");
  full.Free.clear();
  EXPECT_THROW(MakeUniqueFileName("a.wav", "Q:\\full"), EInOutError);
  SetVirtualFileProvider(previous);
}

TEST(Utils, SplitString) {
  struct Case {
    const char* text;
    const char* delimiter;
    std::vector<std::string> pieces;
  } cases[] = {
      {"a;;b;", ";", {"a", "", "b", ""}}, {"one", ";", {"one"}}, {"", ";", {""}},
      {"x, y, z", ", ", {"x", "y", "z"}}, {";", ";", {"", ""}},
  };
  for (const Case& c : cases) {
    std::unique_ptr<TStringList> list = SplitString(c.text, c.delimiter);
    std::vector<std::string> pieces;
    for (int i = 0; i < list->Count(); ++i) pieces.push_back(list->Strings(i));
    EXPECT_EQ(pieces, c.pieces) << c.text;
  }
}

TEST(Utils, DrivesAndFolders) {
  const int64_t GB = int64_t(1) << 30;
  auto fixed = [](char letter, int64_t free) {
    TDriveInfo d;
    d.Letter = letter;
    d.Type = DRIVE_FIXED;
    d.RootPath = "/";
    d.FreeBytes = free;
    d.TotalBytes = free * 2;
    return d;
  };
  auto cd = [](char letter) {
    TDriveInfo d;
    d.Letter = letter;
    d.Type = DRIVE_CDROM;
    d.Device = "/dev/sr0";
    return d;
  };
  SetDriveTable(
      {cd('B'), fixed('C', 10 * GB), cd('D'), fixed('E', 10 * GB), fixed('F', 5 * GB), cd('G')});
  EXPECT_FLOAT_EQ(DriveFreeSpaceGB('C'), 10);
  EXPECT_FLOAT_EQ(DriveFreeSpaceGB('F'), 5);
  EXPECT_FLOAT_EQ(DriveFreeSpaceGB('D'), -1);  // no folder to ask
  EXPECT_FLOAT_EQ(DriveFreeSpaceGB('Z'), -1);
  EXPECT_EQ(DriveWithMostFreeSpace(), 'C');  // a tie goes to the lower letter
  EXPECT_EQ(CountCDDrives(), 2);             // from C: on
  SetDriveTable({fixed('C', GB / 2), fixed('H', 3 * GB / 2), cd('D')});
  EXPECT_FLOAT_EQ(DriveFreeSpaceGB('C'), 0.5f);
  EXPECT_EQ(DriveWithMostFreeSpace(), 'H');
  EXPECT_EQ(CountCDDrives(), 1);
  SetDriveTable({cd('D')});
  EXPECT_EQ(DriveWithMostFreeSpace(), 'C');
  SetDriveTable({});
  EXPECT_EQ(CountCDDrives(), 0);
  ResetDriveTable();

  EXPECT_EQ(GetShellFolder("AppData"), std::getenv("XDG_DATA_HOME"));
  EXPECT_EQ(GetShellFolder("My Music"), MusicFolder());
  EXPECT_EQ(GetShellFolder("Nothing such"), HomeFolder());
  EXPECT_TRUE(IsVistaOrLater());
}
