#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "common/TestEnv.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/ShellFolders.h"

namespace {
// Sets an environment variable for one scope.
class TEnvGuard {
 public:
  TEnvGuard(const char* name, const char* value) : FName(name) {
    const char* old = std::getenv(name);
    FHad = old != nullptr;
    if (old) FOld = old;
    if (value)
      setenv(name, value, 1);
    else
      unsetenv(name);
  }
  ~TEnvGuard() {
    if (FHad)
      setenv(FName.c_str(), FOld.c_str(), 1);
    else
      unsetenv(FName.c_str());
  }

 private:
  std::string FName, FOld;
  bool FHad;
};
}  // namespace

TEST(ShellFolders, XdgFoldersWithFallbacks) {
  std::string root = sonalix::test::MakeTempDir("xdg").string();
  TEnvGuard home("HOME", root.c_str());
  std::string config = root + "/config";
  ForceDirectories(config);
  TEnvGuard cfg("XDG_CONFIG_HOME", config.c_str());
  TEnvGuard data("XDG_DATA_HOME", (root + "/data/").c_str());
  TEnvGuard cache("XDG_CACHE_HOME", (root + "/cache").c_str());

  EXPECT_EQ(AppDataFolder(), root + "/data");
  EXPECT_EQ(ShellFolderByName("appdata"), root + "/data");
  EXPECT_EQ(TempFolder(), root + "/cache/sonalix/temp");
  EXPECT_TRUE(DirectoryExists(root + "/cache/sonalix/temp"));
  EXPECT_EQ(ShellFolderByName("Personal"), root);
  EXPECT_EQ(ShellFolderByName("Favorites"), "");

  // Music: no user-dirs file and no ~/Music gives the home folder, then ~/Music once it exists.
  EXPECT_EQ(MusicFolder(), root);
  ForceDirectories(root + "/Music");
  EXPECT_EQ(MusicFolder(), root + "/Music");

  struct Case {
    const char* line;
    std::string expected;
  } cases[] = {
      {"XDG_MUSIC_DIR=\"$HOME/Musik\"", root + "/Musik"},
      {"XDG_MUSIC_DIR=\"/srv/my \\\"songs\\\"/\"", "/srv/my \"songs\""},
      {"XDG_MUSIC_DIR=\"$HOME/\"", root + "/Music"},  // disabled: the fallback
      {"XDG_MUSIC_DIR=\"relative\"", root + "/Music"},
      {"XDG_MUSIC_DIRX=\"/elsewhere\"", root + "/Music"},
  };
  for (const auto& c : cases) {
    std::ofstream(config + "/user-dirs.dirs")
        << "# written by a test\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
        << c.line << "\n";
    EXPECT_EQ(MusicFolder(), c.expected) << c.line;
    EXPECT_EQ(ShellFolderByName("My Music"), c.expected);
  }

  // Relative XDG values are ignored.
  TEnvGuard relData("XDG_DATA_HOME", "data");
  TEnvGuard relCache("XDG_CACHE_HOME", nullptr);
  EXPECT_EQ(AppDataFolder(), root + "/.local/share");
  EXPECT_EQ(TempFolder(), root + "/.cache/sonalix/temp");
}
