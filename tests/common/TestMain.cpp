// Shared main of every test executable: private HOME and XDG folders, the offscreen platform,
// and one QApplication for the widgets tests.
#include <gtest/gtest.h>

#include <QApplication>
#include <cstdlib>
#include <filesystem>

#include "TestEnv.h"

int main(int argc, char** argv) {
  namespace fs = std::filesystem;
  const fs::path root = sonalix::test::TempRoot();
  for (const char* name : {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR"}) {
    fs::path dir = root / name;
    fs::create_directories(dir);
    fs::permissions(dir, fs::perms::owner_all);
    setenv(name, dir.c_str(), 1);
  }
  fs::create_directories(root / "home");
  setenv("HOME", (root / "home").c_str(), 1);
  // SONALIX_TEST_PLATFORM=xcb runs the widgets on a real X server (Xvfb) for screenshots.
  const char* platform = getenv("SONALIX_TEST_PLATFORM");
  setenv("QT_QPA_PLATFORM", platform ? platform : "offscreen", 1);
  if (!getenv("SONALIX_AUDIO")) setenv("SONALIX_AUDIO", "null", 1);

  testing::InitGoogleTest(&argc, argv);
  QApplication app(argc, argv);
  int rc = RUN_ALL_TESTS();
  if (!getenv("SONALIX_KEEP_TEST_DIRS")) {
    std::error_code ec;
    fs::remove_all(root, ec);
  }
  return rc;
}
