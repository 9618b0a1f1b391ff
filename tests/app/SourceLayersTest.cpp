// Each folder of src/ belongs to one layer and may include headers of its own layer or the layers
// below it, never above: the platform at the bottom, then the audio components, then the system
// libraries, then the program itself.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

struct Layer {
  const char* Folder;  // under src/, matched as a prefix of a header or source path
  int Rank;
};

const Layer Layers[] = {
    {"platform/", 0}, {"audio/", 1},        {"Imports/", 1},    {"net/", 2},  {"cd/", 2},
    {"acm/", 2},      {"suite/", 2},        {"controls/", 2},   {"app/", 3},  {"operations/", 3},
};

// The rank of a path relative to src/, or -1 for one outside every layer (src/main.cpp).
int RankOf(const std::string& Path) {
  for (const Layer& l : Layers)
    if (Path.rfind(l.Folder, 0) == 0) return l.Rank;
  return -1;
}

// Every `#include "x/..."` of a source that names a header of a higher layer than the source's.
std::vector<std::string> UpwardIncludes(const fs::path& Src) {
  static const std::regex include(R"re(^\s*#\s*include\s*"([^"]+)")re");
  std::vector<std::string> found;
  for (const auto& entry : fs::recursive_directory_iterator(Src)) {
    if (!entry.is_regular_file()) continue;
    const std::string ext = entry.path().extension().string();
    if (ext != ".cpp" && ext != ".h") continue;
    const std::string rel = fs::relative(entry.path(), Src).generic_string();
    const int own = RankOf(rel);
    if (own < 0) continue;
    std::ifstream in(entry.path());
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
      std::smatch m;
      if (!std::regex_search(line, m, include)) continue;
      const int target = RankOf(m[1].str());
      if (target > own) found.push_back(rel + ":" + std::to_string(n) + " includes " + m[1].str());
    }
  }
  return found;
}

}  // namespace

TEST(SourceLayers, NoSourceIncludesAHeaderOfAHigherLayer) {
  const fs::path src = fs::path(SONALIX_SOURCE_DIR) / "src";
  ASSERT_TRUE(fs::is_directory(src));
  std::string report;
  for (const std::string& s : UpwardIncludes(src)) report += s + "\n";
  EXPECT_TRUE(report.empty()) << report;
}

TEST(SourceLayers, TheCheckSeesAnUpwardInclude) {
  const fs::path dir = fs::path(testing::TempDir()) / "layers";
  fs::remove_all(dir);
  fs::create_directories(dir / "platform/rtl");
  fs::create_directories(dir / "suite/core");
  std::ofstream(dir / "platform/rtl/Low.cpp") << "#include \"platform/rtl/Other.h\"\n#include \"suite/core/High.h\"\n";
  std::ofstream(dir / "suite/core/High.h") << "#include \"platform/rtl/Low.h\"\n#include \"audio/X.h\"\n";
  const auto found = UpwardIncludes(dir);
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0], "platform/rtl/Low.cpp:2 includes suite/core/High.h");
  fs::remove_all(dir);
}
