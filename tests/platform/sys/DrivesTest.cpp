#include <gtest/gtest.h>

#include <fstream>

#include "common/TestEnv.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Drives.h"

namespace {
// Restores the system's table whatever a test did.
struct TDriveTableGuard {
  ~TDriveTableGuard() { ResetDriveTable(); }
};
}  // namespace

TEST(Drives, SystemTableGivesCToRootAndLettersToCdDrives) {
  std::string dev = sonalix::test::MakeTempDir("dev").string();
  for (const char* n : {"sr10", "sr1", "sda", "sr0", "srx", "sg0"}) std::ofstream(dev + "/" + n);
  std::vector<TDriveInfo> t = SystemDriveTable(dev);
  ASSERT_EQ(t.size(), 4u);
  EXPECT_EQ(t[0].Letter, 'C');
  EXPECT_EQ(t[0].Type, unsigned(DRIVE_FIXED));
  EXPECT_EQ(t[0].RootPath, "/");
  struct Case {
    char letter;
    const char* device;
  } cds[] = {{'D', "/sr0"}, {'E', "/sr1"}, {'F', "/sr10"}};
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(t[i + 1].Letter, cds[i].letter);
    EXPECT_EQ(t[i + 1].Type, unsigned(DRIVE_CDROM));
    EXPECT_EQ(t[i + 1].Device, dev + cds[i].device);
  }
  // The real table always has the fixed drive.
  TDriveTableGuard guard;
  ResetDriveTable();
  EXPECT_EQ(GetDriveType("C:\\"), unsigned(DRIVE_FIXED));
  uint64_t avail = 0, total = 0, free = 0;
  ASSERT_TRUE(GetDiskFreeSpaceEx("C:\\", &avail, &total, &free));
  EXPECT_GT(total, 0u);
  EXPECT_LE(avail, free);
  EXPECT_LE(free, total);
}

TEST(Drives, ReplacedTableAnswersEveryQuery) {
  TDriveTableGuard guard;
  std::string folder = sonalix::test::MakeTempDir("drive").string();
  SetDriveTable({
      {'e', DRIVE_CDROM, "", "/dev/sr1", -1, -1, "Audio CD"},
      {'C', DRIVE_FIXED, "/", "", 10 << 20, 100 << 20, ""},
      {'G', DRIVE_FIXED, folder, "", -1, -1, "DATA"},
  });
  EXPECT_EQ(GetLogicalDrives(), (1u << 2) | (1u << 4) | (1u << 6));
  EXPECT_EQ(LogicalDriveRoots(), (std::vector<std::string>{"C:\\", "E:\\", "G:\\"}));

  struct Case {
    const char* root;
    unsigned type;
  } cases[] = {{"C:\\", DRIVE_FIXED},
               {"c:/", DRIVE_FIXED},
               {"E:", DRIVE_CDROM},
               {"D:\\", DRIVE_NO_ROOT_DIR},
               {"C:\\temp", DRIVE_NO_ROOT_DIR},
               {"/", DRIVE_NO_ROOT_DIR}};
  for (const auto& c : cases) EXPECT_EQ(GetDriveType(c.root), c.type) << c.root;

  uint64_t avail = 0, total = 0;
  ASSERT_TRUE(GetDiskFreeSpaceEx("C:\\", &avail, &total, nullptr));
  EXPECT_EQ(avail, 10u << 20);
  EXPECT_EQ(total, 100u << 20);
  EXPECT_TRUE(GetDiskFreeSpaceEx("G:\\", &avail, nullptr, nullptr));  // measured
  EXPECT_GT(avail, 0u);
  EXPECT_TRUE(GetDiskFreeSpaceEx(folder, &avail, nullptr, nullptr));  // a plain folder
  EXPECT_FALSE(GetDiskFreeSpaceEx("D:\\", &avail, nullptr, nullptr));
  EXPECT_FALSE(GetDiskFreeSpaceEx("E:\\", &avail, nullptr, nullptr));  // no folder to measure

  std::string label;
  EXPECT_TRUE(GetVolumeInformation("G:\\", label));
  EXPECT_EQ(label, "DATA");
  EXPECT_TRUE(GetVolumeInformation("E:\\", label));
  EXPECT_EQ(label, "Audio CD");
  SetVolumeLabelQuery([](const TDriveInfo& d, std::string& l) {
    l = "disc in " + d.Device;
    return true;
  });
  EXPECT_TRUE(GetVolumeInformation("E:\\", label));
  EXPECT_EQ(label, "disc in /dev/sr1");
  SetVolumeLabelQuery(nullptr);
  EXPECT_FALSE(GetVolumeInformation("Q:\\", label));

  EXPECT_EQ(DrivePathToNative("C:\\temp\\a.wav"), "/temp/a.wav");
  EXPECT_EQ(DrivePathToNative("g:\\x"), folder + "/x");
  EXPECT_EQ(DrivePathToNative("E:\\Track01.cda"), "");
  EXPECT_EQ(DrivePathToNative("/home/u/a.wav"), "/home/u/a.wav");
}
