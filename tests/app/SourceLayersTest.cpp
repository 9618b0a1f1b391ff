// Each folder of src/ belongs to one layer and may include headers of its own layer or the layers
// below it, never above: the platform at the bottom, then the audio components, then the system
// libraries, then the program itself, whose shared settings and helpers sit below its windows.
#include <gtest/gtest.h>

#include <algorithm>
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
    {"acm/", 2},      {"suite/", 2},        {"controls/", 2},   {"appbase/", 3},
    {"app/", 4},      {"operations/", 4},
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
  // The shared settings are below the windows: they may not reach up into either library.
  fs::create_directories(dir / "appbase");
  std::ofstream(dir / "appbase/Base.h") << "#include \"controls/C.h\"\n#include \"operations/Dialog.h\"\n";
  std::ofstream(dir / "appbase/Base.cpp") << "#include \"appbase/Base.h\"\n#include \"app/Main.h\"\n";
  auto found = UpwardIncludes(dir);
  std::sort(found.begin(), found.end());
  ASSERT_EQ(found.size(), 3u);
  EXPECT_EQ(found[0], "appbase/Base.cpp:2 includes app/Main.h");
  EXPECT_EQ(found[1], "appbase/Base.h:2 includes operations/Dialog.h");
  EXPECT_EQ(found[2], "platform/rtl/Low.cpp:2 includes suite/core/High.h");
  fs::remove_all(dir);
}
