#pragma once
#include <filesystem>
#include <map>
#include <string>

namespace sonalix::test {

// The private folder of this test process: HOME and the XDG folders live beneath it.
const std::filesystem::path& TempRoot();

// A fresh empty folder under TempRoot() for one test's files.
std::filesystem::path MakeTempDir(const std::string& stem = "t");

// Where drawing tests write the sheets to look at: $SONALIX_SHEETS_DIR, else a private folder.
std::filesystem::path SheetDir();

// Path of a file in the source tree (fixtures).
std::filesystem::path SourcePath(const std::string& relative);

// Runs this test program again on a real X server (xvfb-run, the xcb platform) with only the tests
// Filter names and the extra environment Env; Ran is false when xvfb-run is not installed.
struct TXvfbRun {
  bool Ran = false;
  int ExitCode = -1;
  std::string Output;
  std::string Errors;
};
TXvfbRun RunUnderXvfb(const std::string& Filter, const std::map<std::string, std::string>& Env);

}  // namespace sonalix::test
