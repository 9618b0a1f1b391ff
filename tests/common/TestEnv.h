#pragma once
#include <filesystem>
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

}  // namespace sonalix::test
