#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "appbase/Globals.h"
#include "appbase/Utils.h"
#include "common/TestEnv.h"
#include "platform/sys/Registry.h"

namespace {

// Every test gets a store of its own as the user's store, and a record of defaults.
class Settings : public testing::Test {
 protected:
  void SetUp() override {
    FFile = (sonalix::test::MakeTempDir("settings") / "registry").string();
    TRegistryStore::SetDefault(std::make_shared<TRegistryStore>(FFile));
    GlobalVars = TGlobalVars();
    GlobalVars.DataFolder = "/data/Sonalix Sound Editor5/";
    GlobalVars.TempFolder = "/tmp/sonalix/";
    SetDefaultGlobalVars();
    FDefaults = GlobalVars;
  }
  void TearDown() override { TRegistryStore::SetDefault(nullptr); }

  // A registry on a store object of its own: it sees only what reached the file.
  std::unique_ptr<TRegistry> OpenStored() {
    auto reg = std::make_unique<TRegistry>(std::make_shared<TRegistryStore>(FFile));
    EXPECT_TRUE(reg->OpenKey(SettingsKey, false));
    return reg;
  }

  std::string FileText() {
    std::ifstream in(FFile);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::string FFile;
  TGlobalVars FDefaults;
};

}  // namespace

TEST_F(Settings, DefaultsOfTheTable) {
  EXPECT_EQ(GlobalVars.DataFolder, "/data/Sonalix Sound Editor5/");  // left to the start-up
  EXPECT_EQ(GlobalVars.OP_WorkingFolder, "/data/Sonalix Sound Editor5/");
  EXPECT_EQ(GlobalVars.LastOpenDir, GetShellFolder("My Music"));
  EXPECT_EQ(GlobalVars.ExportFolder, GetShellFolder("My Music"));
  EXPECT_EQ(GlobalVars.BatchFileSaveFolderpath, GetShellFolder("My Music"));
  EXPECT_DOUBLE_EQ(GlobalVars.RecordingStopAfter, 30.0 / 86400);
  // The stop-after time does not depend on, nor change, the process-wide separator.
  FormatSettings.TimeSeparator = '.';
  GlobalVars.RecordingStopAfter = 0;
  SetDefaultGlobalVars();
  EXPECT_DOUBLE_EQ(GlobalVars.RecordingStopAfter, 30.0 / 86400);
  EXPECT_EQ(FormatSettings.TimeSeparator, '.');
  FormatSettings.TimeSeparator = ':';
  EXPECT_EQ(GlobalVars.RecordingFile, "");
  EXPECT_TRUE(GlobalVars.ShowCommandBar);
  EXPECT_FALSE(GlobalVars.AccuEnabled);
  EXPECT_EQ(GlobalVars.AccuAttackLevel, -45);
  EXPECT_EQ(GlobalVars.DeviceOutputVolume, 32767);
  EXPECT_EQ(GlobalVars.PreviewOperationTypes, -1);
  EXPECT_EQ(GlobalVars.DefNewFileSampleRate, 3);
  EXPECT_EQ(NewFileSampleRates[GlobalVars.DefNewFileSampleRate], 44100);
  EXPECT_EQ(SampleRateFromIndex(GlobalVars.OutputWAVSampleType), 44100);
  EXPECT_EQ(BitsFromIndex(GlobalVars.OutputWAVBitesPerSample), 16);
  EXPECT_EQ(Mp3CbrBitRateFromIndex(GlobalVars.OutputMP3CBRBitRate), 192);
  EXPECT_EQ(Mp3VbrMinBitRateFromIndex(GlobalVars.OutputMP3VBRBitRateMin), 128);
  EXPECT_EQ(Mp3VbrMaxBitRateFromIndex(GlobalVars.OutputMP3VBRBitRateMax), 320);
  EXPECT_EQ(OggAbrBitRateFromIndex(GlobalVars.OutputOGGABRBitRate), 192);
  EXPECT_EQ(GlobalVars.DefNoiseReductionThreshold, -54);
  EXPECT_EQ(GlobalVars.DefChorusSweepPhase, 90);
  EXPECT_EQ(GlobalVars.OutputWMAPresets, 5);
}

TEST_F(Settings, FirstLoadStoresEveryDefaultUnderItsNameAndType) {
  EXPECT_FALSE(LoadSettings());
  EXPECT_EQ(GlobalVars, FDefaults);

  auto reg = OpenStored();
  std::vector<std::string> names;
  reg->GetValueNames(names);
  std::vector<std::string> expected;
  for (int i = 0; i < GlobalVarCount(); ++i)
    if (GlobalVarInfos()[i].Stored) expected.push_back(GlobalVarInfos()[i].Name);
  EXPECT_EQ(names, expected);  // in field order, exactly the stored fields
  EXPECT_EQ(names.size(), 121u);
  for (const char* name : {"OutputWAVPersets", "OutputWAVBitesPerSample", "SelectePartPercent",
                           "BatchFileSaveFolderpath", "FreAnalysisFormLeft"})
    EXPECT_TRUE(reg->ValueExists(name)) << name;
  for (const char* name : {"DataFolder", "TempFolder", "RecordingFile", "RecordingStopAfter"})
    EXPECT_FALSE(reg->ValueExists(name)) << name;

  for (int i = 0; i < GlobalVarCount(); ++i) {
    const TGlobalVarInfo& info = GlobalVarInfos()[i];
    if (!info.Stored) continue;
    SCOPED_TRACE(info.Name);
    switch (info.Type) {
      case gvString:
        ASSERT_EQ(reg->GetDataType(info.Name), rdString);
        EXPECT_EQ(reg->ReadString(info.Name),
                  FDefaults.*std::get<std::string TGlobalVars::*>(info.Field));
        break;
      case gvBoolean:
        ASSERT_EQ(reg->GetDataType(info.Name), rdInteger);
        EXPECT_EQ(reg->ReadInteger(info.Name),
                  FDefaults.*std::get<bool TGlobalVars::*>(info.Field) ? 1 : 0);
        break;
      case gvByte:
        ASSERT_EQ(reg->GetDataType(info.Name), rdInteger);
        EXPECT_EQ(reg->ReadInteger(info.Name),
                  FDefaults.*std::get<uint8_t TGlobalVars::*>(info.Field));
        break;
      case gvInteger:
        ASSERT_EQ(reg->GetDataType(info.Name), rdInteger);
        EXPECT_EQ(reg->ReadInteger(info.Name),
                  FDefaults.*std::get<int32_t TGlobalVars::*>(info.Field));
        break;
      case gvDouble:
        ADD_FAILURE() << "a Double is not stored";
        break;
    }
  }

  // The second start reads them back.
  GlobalVars = TGlobalVars();
  GlobalVars.DataFolder = FDefaults.DataFolder;
  GlobalVars.TempFolder = FDefaults.TempFolder;
  SetDefaultGlobalVars();
  EXPECT_TRUE(LoadSettings());
  EXPECT_EQ(GlobalVars, FDefaults);
}

TEST_F(Settings, ChangedValuesRoundTrip) {
  GlobalVars.LastOpenDir = "/music/with \"quotes\" and \\ é/";
  GlobalVars.ShowCommandBar = false;
  GlobalVars.AccuReleaseLevel = -60;
  GlobalVars.DefNewFileSampleRate = 255;
  GlobalVars.OutputMP3Checksum = true;
  GlobalVars.EqualizerBuf12 = -1500;
  SaveSettings();
  const TGlobalVars saved = GlobalVars;
  GlobalVars = FDefaults;
  EXPECT_TRUE(LoadSettings());
  EXPECT_EQ(GlobalVars, saved);
}

TEST_F(Settings, DamagedValuesFallBackAndTheRestLoads) {
  SaveSettings();
  {
    auto reg = OpenStored();
    reg->WriteString("DefAmplify", "30");     // Integer stored as text
    reg->WriteInteger("LastOpenDir", 5);      // String stored as integer
    reg->WriteString("ShowCommandBar", "0");  // Boolean stored as text
    reg->WriteBinaryData("OutputWAVType", "\x01", 1);
    reg->DeleteValue("OP_DefSample");
    reg->DeleteValue("ExportFolder");                // a missing text keeps its default too
    reg->WriteInteger("DefNewFileSampleRate", 259);  // Byte: the low eight bits
    reg->WriteInteger("OutputOGGPresets", -1);
    reg->WriteInteger("OutputMP3Checksum", 7);  // any integer but 0 is true
    reg->WriteInteger("OP_TileFormAfter", 0);
    reg->WriteInteger("OutputWMAPresets", 2);  // the last value still loads
  }
  // Fields that fall back get their default even when they held something else.
  GlobalVars.DefAmplify = 99;
  GlobalVars.LastOpenDir = "/elsewhere/";
  GlobalVars.ShowCommandBar = false;
  GlobalVars.OP_DefSample = 8000;
  GlobalVars.ExportFolder = "/elsewhere/";
  const std::string before = FileText();

  EXPECT_TRUE(LoadSettings());
  struct Case {
    const char* name;
    bool equal;
  } cases[] = {
      {"DefAmplify", GlobalVars.DefAmplify == 25},
      {"LastOpenDir", GlobalVars.LastOpenDir == FDefaults.LastOpenDir},
      {"ShowCommandBar", GlobalVars.ShowCommandBar},
      {"OutputWAVType", GlobalVars.OutputWAVType == 0},
      {"OP_DefSample", GlobalVars.OP_DefSample == 44100},
      {"ExportFolder", GlobalVars.ExportFolder == FDefaults.ExportFolder},
      {"DefNewFileSampleRate", GlobalVars.DefNewFileSampleRate == 3},
      {"OutputOGGPresets", GlobalVars.OutputOGGPresets == 255},
      {"OutputMP3Checksum", GlobalVars.OutputMP3Checksum},
      {"OP_TileFormAfter", !GlobalVars.OP_TileFormAfter},
      {"OutputWMAPresets", GlobalVars.OutputWMAPresets == 2},
  };
  for (const Case& c : cases) EXPECT_TRUE(c.equal) << c.name;
  EXPECT_EQ(FileText(), before);  // reading writes nothing
}

TEST_F(Settings, CorruptStoreStartsFromDefaults) {
  std::filesystem::create_directories(std::filesystem::path(FFile).parent_path());
  std::ofstream(FFile) << "this is not a store\n";
  testing::internal::CaptureStderr();
  EXPECT_FALSE(LoadSettings());
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("corrupt-"), std::string::npos) << err;
  EXPECT_EQ(GlobalVars, FDefaults);
  auto reg = OpenStored();
  EXPECT_EQ(reg->ReadInteger("DefAmplify"), 25);
}

// One damaged line in the store costs its own value only: every other setting and the window
// placement load as saved.
TEST_F(Settings, OneDamagedLineCostsOnlyItsValue) {
  GlobalVars.DefAmplify = 30;
  GlobalVars.DefNormalize = 90;
  GlobalVars.LastOpenDir = "/music/";
  GlobalVars.OutputWMAPresets = 2;
  SaveSettings();
  {
    TRegistry reg;
    ASSERT_TRUE(reg.OpenKey(std::string(SettingsKey) + "FormPos\\", true));
    reg.WriteInteger("x", 123);
  }
  const TGlobalVars saved = GlobalVars;
  std::string text = FileText();
  const std::string line = "\"DefAmplify\"=dword:30\n";
  ASSERT_NE(text.find(line), std::string::npos);
  text.replace(text.find(line), line.size(), "\"DefAmplify\"=dword:3O\n");
  std::ofstream(FFile, std::ios::trunc) << text;

  GlobalVars = FDefaults;
  testing::internal::CaptureStderr();
  TRegistryStore::SetDefault(std::make_shared<TRegistryStore>(FFile));  // a fresh start
  EXPECT_TRUE(LoadSettings());
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("DefAmplify"), std::string::npos) << err;
  TGlobalVars expected = saved;
  expected.DefAmplify = FDefaults.DefAmplify;
  EXPECT_EQ(GlobalVars, expected);
  TRegistry reg;
  ASSERT_TRUE(reg.OpenKeyReadOnly(std::string(SettingsKey) + "FormPos\\"));
  EXPECT_EQ(reg.ReadInteger("x"), 123);
}

// Settings that cannot be written are an error naming the store; nothing is lost silently.
TEST_F(Settings, UnwritableStoreFailsVisibly) {
  const auto dir = sonalix::test::MakeTempDir("settings-unwritable");
  std::ofstream(dir / "config") << "a file where the folder should be";
  const std::string file = (dir / "config" / "sonalix" / "registry").string();
  TRegistryStore::SetDefault(std::make_shared<TRegistryStore>(file));
  testing::internal::CaptureStderr();
  for (bool first : {true, false}) {
    try {
      if (first)
        LoadSettings();  // the first start stores the defaults
      else
        SaveSettings();
      ADD_FAILURE() << "nothing raised";
    } catch (const ERegistryException& e) {
      EXPECT_NE(e.Message().find(file), std::string::npos) << e.Message();
      EXPECT_NE(e.Message().find(std::strerror(ENOTDIR)), std::string::npos) << e.Message();
    }
  }
  testing::internal::GetCapturedStderr();
}
