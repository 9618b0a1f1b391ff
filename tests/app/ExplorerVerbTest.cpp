#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "app/ExplorerVerb.h"
#include "appbase/Utils.h"
#include "common/TestEnv.h"

namespace fs = std::filesystem;

namespace {

const char kVerb[] = "Edit with Sonalix";
const char kProgram[] = "/opt/Sonalix Sound/bin/sonalix";
// Extensions the MIME database has no sound type for: they get ours.
const char* const kUntyped[] = {".cda", ".vox", ".raw", ".g721", ".g723", ".g726"};

// Each test gets a data folder of its own.
class ExplorerVerb : public testing::Test {
 protected:
  void SetUp() override {
    FDataHome = sonalix::test::MakeTempDir("data").string();
    const char* old = std::getenv("XDG_DATA_HOME");
    FOld = old ? old : "";
    setenv("XDG_DATA_HOME", FDataHome.c_str(), 1);
  }
  void TearDown() override { setenv("XDG_DATA_HOME", FOld.c_str(), 1); }

  static std::string Read(const std::string& file) {
    std::ifstream in(file);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  static std::vector<std::string> MimeTypes() {
    std::istringstream in(Read(ExplorerVerbDesktopFile()));
    std::string line;
    std::vector<std::string> types;
    while (std::getline(in, line))
      if (line.starts_with("MimeType=")) {
        std::istringstream list(line.substr(9));
        std::string type;
        while (std::getline(list, type, ';')) types.push_back(type);
      }
    return types;
  }
  static bool Has(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
  }

  std::string FDataHome, FOld;
};

}  // namespace

TEST_F(ExplorerVerb, EntryAndOwnTypesComeAndGo) {
  EXPECT_EQ(ExplorerVerbDesktopFile(), FDataHome + "/applications/sonalix-edit.desktop");
  EXPECT_EQ(ExplorerVerbMimePackage(), FDataHome + "/mime/packages/sonalix.xml");
  for (const char* ext : SupportedAudioExts)
    EXPECT_TRUE(AddExplorerVerb(kProgram, kVerb, ext)) << ext;

  const std::string entry = Read(ExplorerVerbDesktopFile());
  EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n")) << entry;
  EXPECT_NE(entry.find("\nName=Edit with Sonalix\n"), std::string::npos) << entry;
  EXPECT_NE(entry.find("\nExec=\"/opt/Sonalix Sound/bin/sonalix\" %f\n"), std::string::npos)
      << entry;
  EXPECT_NE(entry.find("\nNoDisplay=true\n"), std::string::npos) << entry;
  const auto types = MimeTypes();
  for (const char* type : {"audio/x-wav", "audio/mpeg", "audio/x-ms-wma", "audio/ogg",
                           "audio/x-aiff", "audio/x-musepack"})
    EXPECT_TRUE(Has(types, type)) << type;
  for (const char* ext : kUntyped)
    EXPECT_TRUE(Has(types, std::string("audio/x-sonalix-") + (ext + 1))) << ext;
  EXPECT_EQ(std::set<std::string>(types.begin(), types.end()).size(), types.size());  // no repeats
  for (const std::string& type : types) EXPECT_TRUE(type.starts_with("audio/")) << type;

  const std::string package = Read(ExplorerVerbMimePackage());
  for (const char* ext : kUntyped)
    EXPECT_NE(package.find(std::string("<glob pattern=\"*") + ext + "\""), std::string::npos)
        << ext;
  for (const char* ext : {".wav", ".mp3", ".ogg"})  // known types are never replaced
    EXPECT_EQ(package.find(std::string("\"*") + ext + "\""), std::string::npos) << ext;

  // Registering again changes nothing, not even the files' identity.
  struct stat before, after;
  ASSERT_EQ(::stat(ExplorerVerbDesktopFile().c_str(), &before), 0);
  for (const char* ext : SupportedAudioExts) EXPECT_TRUE(AddExplorerVerb(kProgram, kVerb, ext));
  ASSERT_EQ(::stat(ExplorerVerbDesktopFile().c_str(), &after), 0);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(Read(ExplorerVerbMimePackage()), package);

  // Removing one withdraws its types only.
  EXPECT_TRUE(RemoveExplorerVerb(kVerb, ".vox"));
  EXPECT_FALSE(Has(MimeTypes(), "audio/x-sonalix-vox"));
  EXPECT_TRUE(Has(MimeTypes(), "audio/x-sonalix-cda"));
  EXPECT_EQ(Read(ExplorerVerbMimePackage()).find("*.vox"), std::string::npos);
  EXPECT_NE(Read(ExplorerVerbDesktopFile()).find("\nExec=\"/opt/Sonalix Sound/bin/sonalix\" %f\n"),
            std::string::npos);

  for (const char* ext : SupportedAudioExts) EXPECT_TRUE(RemoveExplorerVerb(kVerb, ext)) << ext;
  EXPECT_FALSE(fs::exists(ExplorerVerbDesktopFile()));
  EXPECT_FALSE(fs::exists(ExplorerVerbMimePackage()));
}

TEST_F(ExplorerVerb, ExtensionSpellingsAndProgramPaths) {
  // Removing what was never added leaves nothing behind.
  EXPECT_TRUE(RemoveExplorerVerb(kVerb, ".wav"));
  EXPECT_TRUE(RemoveExplorerVerb(kVerb, ".vox"));
  EXPECT_TRUE(fs::is_empty(FDataHome));

  // Without its dot, with blanks or capitals: the same extension.
  EXPECT_TRUE(AddExplorerVerb("/usr/bin/sonalix", kVerb, " VOX "));
  EXPECT_EQ(MimeTypes(), std::vector<std::string>{"audio/x-sonalix-vox"});
  EXPECT_TRUE(AddExplorerVerb("/usr/bin/sonalix", kVerb, ".vox"));
  EXPECT_EQ(MimeTypes(), std::vector<std::string>{"audio/x-sonalix-vox"});
  EXPECT_TRUE(RemoveExplorerVerb(kVerb, "vox"));
  EXPECT_FALSE(fs::exists(ExplorerVerbDesktopFile()));

  // An empty extension does nothing.
  EXPECT_FALSE(AddExplorerVerb("/usr/bin/sonalix", kVerb, "  "));
  EXPECT_FALSE(RemoveExplorerVerb(kVerb, ""));
  EXPECT_FALSE(fs::exists(ExplorerVerbDesktopFile()));

  // Characters that the Exec line reserves are quoted; the program path may move.
  struct Case {
    const char* path;
    const char* exec;
  } cases[] = {
      {"/usr/bin/sonalix", "Exec=\"/usr/bin/sonalix\" %f"},
      {"/a b/so$n`x\"y", "Exec=\"/a b/so\\\\$n\\\\`x\\\\\"y\" %f"},
      {"/back\\slash/100%/s", "Exec=\"/back\\\\\\\\slash/100%%/s\" %f"},
  };
  for (const Case& c : cases) {
    EXPECT_TRUE(AddExplorerVerb(c.path, kVerb, ".wav"));
    EXPECT_NE(Read(ExplorerVerbDesktopFile()).find(std::string("\n") + c.exec + "\n"),
              std::string::npos)
        << Read(ExplorerVerbDesktopFile());
  }
}

TEST_F(ExplorerVerb, FailuresGiveFalse) {
  // A file where the folders should be: nothing can be written, and nothing raises.
  std::ofstream(FDataHome + "/applications") << "in the way";
  std::ofstream(FDataHome + "/mime") << "in the way";
  EXPECT_FALSE(AddExplorerVerb(kProgram, kVerb, ".wav"));
  EXPECT_FALSE(AddExplorerVerb(kProgram, kVerb, ".vox"));
  EXPECT_TRUE(RemoveExplorerVerb(kVerb, ".wav"));  // nothing was registered
}
