#include "TestEnv.h"

#include <atomic>
#include <cstdlib>
#include <stdexcept>

namespace sonalix::test {

namespace {
std::filesystem::path MakeRoot() {
  std::filesystem::path base = std::filesystem::temp_directory_path();
  std::string templ = (base / "sonalix-test-XXXXXX").string();
  if (!mkdtemp(templ.data())) throw std::runtime_error("cannot create the test folder");
  return templ;
}
}  // namespace

const std::filesystem::path& TempRoot() {
  static const std::filesystem::path root = MakeRoot();
  return root;
}

std::filesystem::path MakeTempDir(const std::string& stem) {
  static std::atomic<int> counter{0};
  std::filesystem::path dir = TempRoot() / "work" / (stem + std::to_string(++counter));
  std::filesystem::create_directories(dir);
  return dir;
}

std::filesystem::path SheetDir() {
  if (const char* d = std::getenv("SONALIX_SHEETS_DIR")) {
    std::filesystem::create_directories(d);
    return d;
  }
  static const std::filesystem::path dir = MakeTempDir("sheets");
  return dir;
}

std::filesystem::path SourcePath(const std::string& relative) {
  return std::filesystem::path(SONALIX_SOURCE_DIR) / relative;
}

}  // namespace sonalix::test
