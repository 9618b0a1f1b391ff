// Drive enumeration, INQUIRY and the TOC read on scripted drives, cue images and (when the
// machine has one) a real drive.

#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "CdImageFixture.h"
#include "cd/AspiCD.h"
#include "cd/SptiCD.h"
#include "common/TestEnv.h"
#include "platform/sys/CdDevice.h"
#include "platform/sys/CdTrackFiles.h"
#include "platform/sys/Modules.h"
#include "platform/win/QtWindows.h"

namespace {

struct TDesc {
  uint8_t Control, Number, M, S, F;
};

std::vector<uint8_t> RawToc(uint8_t first, uint8_t last, const std::vector<TDesc>& d) {
  std::vector<uint8_t> raw(CdRawTocSize);
  raw[2] = first;
  raw[3] = last;
  for (size_t i = 0; i < d.size() && 4 + i * 8 + 8 <= raw.size(); ++i) {
    uint8_t* p = raw.data() + 4 + i * 8;
    p[1] = d[i].Control;
    p[2] = d[i].Number;
    p[5] = d[i].M;
    p[6] = d[i].S;
    p[7] = d[i].F;
  }
  return raw;
}

std::vector<uint8_t> InquiryText(const std::string& text) {
  std::vector<uint8_t> data(CdInquirySize);
  data[0] = 5;
  std::memcpy(data.data() + 8, text.data(), std::min<size_t>(text.size(), 92));
  return data;
}

// Message boxes answered at once, their texts kept.
struct TBoxes {
  std::vector<std::string> Texts;
  TModalHook Old;
  TBoxes() {
    Old = SetModalHook([this](const TModalRequest& r) {
      Texts.push_back(r.Caption + "|" + r.Text);
      return 1;
    });
  }
  ~TBoxes() { SetModalHook(Old); }
};

struct DriveAccess : ::testing::Test {
  TScriptedCd D, E;
  void SetUp() override {
    cdtest::UseCdDrives({"scripted-d", "scripted-e"});
    SetScriptedCd('D', &D);
    SetScriptedCd('E', &E);
    LoadASPILayer();
  }
  void TearDown() override {
    SetScriptedCd('D', nullptr);
    SetScriptedCd('E', nullptr);
    ResetDriveTable();
  }
};

TEST_F(DriveAccess, InquiryFieldsAndAddress) {
  D.InquiryData = InquiryText("SONYBRND" "DVD RW DRU-810A " "1.0g" "2006/05/12 vendorspc" "XYZ");
  D.HostAdapter = 2;
  D.Target = 1;
  D.Lun = 3;
  // A zero byte ends the text: the product is cut there and nothing follows.
  E.InquiryData = InquiryText(std::string("ACME    CD") + '\0' + "ROM           9.99");
  TCDDriveTable table{};
  ASSERT_TRUE(EnumerateCDDrives(table, cdiAutoDetect));
  ASSERT_EQ(table.Count, 2);
  const TCDDriveInfo& d = table.Drives[0];
  EXPECT_EQ(d.Letter, 'D');
  EXPECT_EQ(d.Vendor, "SONYBRND");
  EXPECT_EQ(d.Product, "DVD RW DRU-810A ");
  EXPECT_EQ(d.Revision, "1.0g");
  EXPECT_EQ(d.VendorSpecific, "2006/05/12 vendorspc");
  EXPECT_EQ(d.Description, "SONYBRNDDVD RW DRU-810A 1.0g");
  EXPECT_EQ(d.HostAdapter, 2);
  EXPECT_EQ(d.Target, 1);
  EXPECT_EQ(d.Lun, 3);
  const TCDDriveInfo& e = table.Drives[1];
  EXPECT_EQ(e.Vendor, "ACME    ");
  EXPECT_EQ(e.Product, "CD");
  EXPECT_EQ(e.Revision, "");
  EXPECT_EQ(e.Description, "ACME    CD");
}

TEST_F(DriveAccess, EachDriveAskedOnceAndOnlyTheFailedOneByRootPath) {
  D.InquiryError = EIO;
  E.InquiryData = InquiryText("VENDOR  PRODUCT         REV1");
  TCDDriveTable table{};
  ASSERT_TRUE(EnumerateCDDrives(table, cdiAutoDetect));
  EXPECT_EQ(D.Inquiries, 1);
  EXPECT_EQ(E.Inquiries, 1);
  EXPECT_EQ(table.Drives[0].Description, "D:\\");
  EXPECT_EQ(table.Drives[1].Description, "VENDOR  PRODUCT         REV1");

  // A drive whose SCSI address cannot be read fails its INQUIRY too.
  E.AddressError = EINVAL;
  ASSERT_TRUE(InquiryDrive(1, table, cdiAutoDetect));
  EXPECT_EQ(table.Drives[1].Description, "E:\\");
  EXPECT_EQ(table.Drives[0].Description, "D:\\");
  EXPECT_EQ(D.Inquiries, 1);

  SetDriveTable({TDriveInfo{}});
  TCDDriveTable none{};
  EXPECT_FALSE(EnumerateCDDrives(none, cdiAutoDetect));
  EXPECT_FALSE(InquiryDrive(0, none, cdiAutoDetect));
}

TEST_F(DriveAccess, InterfaceChoice) {
  TCDDriveTable table{};
  TCDTOC toc;
  EXPECT_EQ(GetWindowsVersionCode(), 5);
  EXPECT_FALSE(ASPILoaded);
  EXPECT_EQ(ASPIHostAdapterCount(), -1);
  const std::string full = "No usable interface available or selected interface not available";
  try {
    EnumerateCDDrives(table, cdiASPI);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), full);
  }
  try {
    InquiryDrive(0, table, cdiASPI);
    ADD_FAILURE() << "no exception";
  } catch (const Exception& e) {
    EXPECT_EQ(e.Message(), "No usable interface available");
  }
  // The 9x family without an ASPI layer has no interface at all.
  const TOSVersion saved = OSVersion();
  SetOSVersion({VER_PLATFORM_WIN32_WINDOWS, 4, 10, 2222});
  EXPECT_EQ(GetWindowsVersionCode(), 1);
  EXPECT_FALSE(CDInterfaceUsable());
  SetOSVersion(saved);
  EXPECT_TRUE(CDInterfaceUsable());
  EXPECT_THROW(ReadCDTOC(table, 0, toc, cdiASPI), Exception);
  EXPECT_EQ(RegistryDriveLetter("D;x", cdiNTSCSI), 'D');
}

TEST(ConvertRawTOC, Table) {
  std::vector<TDesc> hundred;
  for (int i = 0; i < 101; ++i) hundred.push_back({0x10, uint8_t(i + 1), uint8_t(i), 2, 0});
  struct TCase {
    const char* Name;
    std::vector<uint8_t> Raw;
    int Count;
    bool Empty;
    std::vector<TCDTrack> Tracks;  // the first ones
    TCDTrack LeadOut;
  } cases[] = {
      {"no disc", RawToc(0, 0, {}), 1, true, {{0, 0, 0, true}}, {0, 0, 0, false}},
      {"first track 3",
       RawToc(3, 4, {{0x10, 3, 0, 2, 0}, {0x10, 4, 3, 0, 10}, {0x10, 0xAA, 6, 0, 0}}),
       2, false, {{0, 2, 0, true}, {3, 0, 10, true}}, {6, 0, 0, false}},
      {"control bytes",
       RawToc(1, 4, {{0x14, 1, 0, 2, 0}, {0x10, 2, 1, 0, 0}, {0x11, 3, 2, 0, 0},
                     {0x1C, 4, 3, 0, 0}, {0x14, 0xAA, 4, 0, 0}}),
       4, false, {{0, 2, 0, false}, {1, 0, 0, true}, {2, 0, 0, true}, {3, 0, 0, false}},
       {4, 0, 0, false}},
      {"99 tracks", RawToc(1, 99, hundred), 99, false, {{0, 2, 0, true}}, {99, 2, 0, false}},
      {"100 tracks cut to 99", RawToc(1, 100, hundred), 99, false, {{0, 2, 0, true}},
       {99, 2, 0, false}},
      {"last before first", RawToc(5, 2, {{0x10, 5, 1, 2, 3}}), 1, true, {{0, 0, 0, true}},
       {0, 0, 0, false}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    TCDTOC toc;
    ConvertRawTOC(c.Raw.data(), toc);
    EXPECT_EQ(toc.TrackCount, c.Count);
    EXPECT_EQ(RawTOCEmpty(c.Raw.data()), c.Empty);
    for (size_t i = 0; i < c.Tracks.size(); ++i) {
      EXPECT_EQ(toc.Tracks[i].Minute, c.Tracks[i].Minute) << i;
      EXPECT_EQ(toc.Tracks[i].Second, c.Tracks[i].Second) << i;
      EXPECT_EQ(toc.Tracks[i].Frame, c.Tracks[i].Frame) << i;
      EXPECT_EQ(toc.Tracks[i].IsAudio, c.Tracks[i].IsAudio) << i;
    }
    EXPECT_EQ(toc.LeadOut.Minute, c.LeadOut.Minute);
    EXPECT_EQ(toc.LeadOut.Second, c.LeadOut.Second);
    EXPECT_FALSE(toc.LeadOut.IsAudio);
  }
}

TEST_F(DriveAccess, TocErrnoTable) {
  const std::vector<uint8_t> disc =
      RawToc(1, 1, {{0x10, 1, 0, 2, 0}, {0x10, 0xAA, 3, 0, 0}});
  const std::string denied =
      "Error|You must have Administor privileges to use SPTI under Win2000/XP; falling back to "
      "IOCTL. This may cause erroneous results if a Mixed-Mode CD is in the drive.";
  struct TCase {
    int PassThroughError;
    int ControlError;
    std::vector<std::string> Boxes;
    int Result;
    int ControlReads;
  } cases[] = {
      {0, 0, {}, 0, 0},
      {EACCES, 0, {denied}, 0, 1},
      {EPERM, 0, {denied}, 0, 1},
      {EACCES, EIO, {denied}, 1, 2},  // the fallback fails as well: no disc
      {EIO, EIO, {}, 1, 1},           // no disc, silently
      {EIO, 0, {}, 0, 1},
      {ENOMEM, EIO, {}, 1, 1},
      {EBUSY, EIO, {}, 1, 1},
      {ENXIO, EIO, {"Error|IO Error: 6\n\r"}, 1, 1},
      {ETIMEDOUT, 0, {"Error|IO Error: 110\n\r"}, 0, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.PassThroughError);
    D = TScriptedCd{};
    D.Toc = disc;
    D.TocError = c.PassThroughError;
    D.ControlTocError = c.ControlError;
    TBoxes boxes;
    TCDDriveTable table{};
    EnumerateCDLetters(table);
    TCDTOC toc;
    EXPECT_EQ(ReadCDTOC(table, 0, toc, cdiAutoDetect), c.Result);
    EXPECT_EQ(boxes.Texts, c.Boxes);
    EXPECT_EQ(D.ControlTocReads, c.ControlReads);
    EXPECT_EQ(toc.TrackCount, 1);
    EXPECT_EQ(toc.LeadOut.Minute, c.Result == 0 ? 3 : 0);
  }
  // A drive that cannot be opened has no disc and says nothing.
  D = TScriptedCd{};
  D.OpenError = EACCES;
  TBoxes boxes;
  TCDDriveTable table{};
  EnumerateCDLetters(table);
  TCDTOC toc;
  EXPECT_EQ(ReadCDTOC(table, 0, toc, cdiAutoDetect), 1);
  EXPECT_TRUE(boxes.Texts.empty());
}

TEST(CdImages, DrivesTocLabelsAndTrackFiles) {
  const auto dir = sonalix::test::MakeTempDir("cdimg");
  const std::string audio = cdtest::MakeCueImage(dir, {{true, 300}, {true, 150, "square 220"}}, "audio");
  const std::string dataFirst =
      cdtest::MakeCueImage(dir, {{false, 225}, {true, 75}, {true, 150, "sine 1000"}}, "mixed");
  const std::string dataOnly = cdtest::MakeCueImage(dir, {{false, 300}}, "data");
  ASSERT_FALSE(dataOnly.empty());
  const std::string missing = (dir / "gone.cue").string();

  ::setenv("SONALIX_CD_IMAGES", (audio + ":" + dataFirst + "::" + dataOnly + ":" + missing).c_str(), 1);
  std::vector<TDriveInfo> system = SystemDriveTable(dir.string());  // no srN there
  ::unsetenv("SONALIX_CD_IMAGES");
  ASSERT_EQ(system.size(), 5u);
  EXPECT_EQ(system[1].Letter, 'D');
  EXPECT_EQ(system[1].Device, audio);
  EXPECT_EQ(system[4].Letter, 'G');
  EXPECT_EQ(system[4].Type, unsigned(DRIVE_CDROM));
  SetDriveTable(system);
  InstallCdTrackFiles();

  TCDDriveTable table{};
  ASSERT_TRUE(EnumerateCDDrives(table, cdiAutoDetect));
  ASSERT_EQ(table.Count, 4);
  EXPECT_EQ(table.Drives[0].Description, "SONALIX CUE SHEET IMAGE 1.0 ");
  EXPECT_EQ(table.Drives[3].Description, "G:\\");  // its sheet is gone

  TCDTOC toc;
  ASSERT_EQ(ReadCDTOC(table, 1, toc, cdiAutoDetect), 0);
  ASSERT_EQ(toc.TrackCount, 3);
  EXPECT_FALSE(toc.Tracks[0].IsAudio);
  EXPECT_TRUE(toc.Tracks[1].IsAudio);
  EXPECT_EQ(toc.Tracks[1].Second, 5);  // 2 s lead-in + 225 sectors
  EXPECT_EQ(toc.Tracks[2].Second, 6);
  EXPECT_EQ(toc.LeadOut.Second, 8);
  EXPECT_EQ(ReadCDTOC(table, 3, toc, cdiAutoDetect), 1);

  std::string label;
  EXPECT_TRUE(GetVolumeInformation("D:\\", label));
  EXPECT_EQ(label, "Audio CD");
  EXPECT_TRUE(GetVolumeInformation("F:\\", label));
  EXPECT_EQ(label, "");
  EXPECT_FALSE(GetVolumeInformation("G:\\", label));

  struct TListing {
    const char* Mask;
    std::vector<std::pair<std::string, int64_t>> Files;
  } listings[] = {
      {"D:\\*.cda", {{"Track01.cda", 300 * 2352}, {"Track02.cda", 150 * 2352}}},
      {"E:\\*.cda", {{"Track02.cda", 75 * 2352}, {"Track03.cda", 150 * 2352}}},
      {"e:\\track03.*", {{"Track03.cda", 150 * 2352}}},
      {"F:\\*.cda", {}},
      {"G:\\*.cda", {}},
  };
  for (const auto& l : listings) {
    SCOPED_TRACE(l.Mask);
    std::vector<std::pair<std::string, int64_t>> found;
    TSearchRec r;
    for (int rc = FindFirst(l.Mask, faAnyFile, r); rc == 0; rc = FindNext(r))
      found.push_back({r.Name, r.Size});
    FindClose(r);
    EXPECT_EQ(found, l.Files);
  }
  EXPECT_TRUE(FileExists("E:\\Track02.cda"));
  EXPECT_TRUE(FileExists("e:/track03.CDA"));
  EXPECT_FALSE(FileExists("E:\\Track01.cda"));  // the data track
  EXPECT_FALSE(FileExists("G:\\Track01.cda"));
  SetVirtualFileProvider(nullptr);
  ResetDriveTable();
}

// A real drive, when the machine has one, agrees with the independent tools.
TEST(RealDrive, InquiryAndTocAgreeWithTools) {
  if (::access("/dev/sr0", R_OK) != 0) GTEST_SKIP() << "no readable /dev/sr0";
  if (std::system("command -v sg_inq >/dev/null && command -v cd-info >/dev/null") != 0)
    GTEST_SKIP() << "sg_inq or cd-info is not installed";
  ResetDriveTable();
  TCDDriveTable table{};
  ASSERT_TRUE(EnumerateCDDrives(table, cdiAutoDetect));
  auto run = [](const std::string& cmd) {
    std::string out;
    if (FILE* p = ::popen(cmd.c_str(), "r")) {
      char b[4096];
      size_t n;
      while ((n = fread(b, 1, sizeof b, p)) > 0) out.append(b, n);
      ::pclose(p);
    }
    return out;
  };
  const std::string inq = run("sg_inq /dev/sr0");
  std::string vendor = table.Drives[0].Vendor;
  while (!vendor.empty() && vendor.back() == ' ') vendor.pop_back();
  EXPECT_NE(inq.find(vendor), std::string::npos) << inq;
  TCDTOC toc;
  if (ReadCDTOC(table, 0, toc, cdiAutoDetect) != 0) GTEST_SKIP() << "no disc in /dev/sr0";
  const std::string info = run("cd-info --no-header --no-cddb --no-analyze /dev/sr0");
  char msf[16];
  std::snprintf(msf, sizeof msf, "%02d:%02d:%02d", toc.LeadOut.Minute, toc.LeadOut.Second,
                toc.LeadOut.Frame);
  EXPECT_NE(info.find(msf), std::string::npos) << info;
  ResetDriveTable();
}

}  // namespace
