// The disc id, the query command and the small text routines of the disc database client;
// the disc id checked against libdiscid (python3-libdiscid) on many random discs.

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <random>
#include <sstream>

#include "cd/Cddb.h"
#include "common/TestEnv.h"

namespace {

TCDTrack At(int frames) {
  TCDTrack t;
  t.Minute = uint8_t(frames / 4500);
  t.Second = uint8_t(frames / 75 % 60);
  t.Frame = uint8_t(frames % 75);
  t.IsAudio = true;
  return t;
}

TCDTOC Toc(const std::vector<int>& offsets, int leadOut) {
  TCDTOC toc;
  toc.TrackCount = uint8_t(offsets.size());
  for (size_t i = 0; i < offsets.size(); ++i) toc.Tracks[i] = At(offsets[i]);
  toc.LeadOut = At(leadOut);
  toc.LeadOut.IsAudio = false;
  return toc;
}

std::string Hex(uint32_t id) {
  char b[16];
  std::snprintf(b, sizeof b, "%08x", id);
  return b;
}

TEST(DiscId, ExampleDiscAndQuery) {
  const TCDTOC toc = Toc({150, 13500}, 27000);
  EXPECT_EQ(Hex(ComputeDiscId(toc)), "0b016602");
  EXPECT_EQ(BuildQueryCommand(toc), "cddb query 0b016602 2 150 13500 360");
  // One track: its own length counted from its start; frames of the addresses are ignored.
  EXPECT_EQ(Hex(ComputeDiscId(Toc({150 + 74}, 150 + 75 * 61 + 74))), "02003d01");
  // Digit sums adding up to 255 wrap to 0 in the top byte.
  std::vector<int> offsets;
  for (int secs : {3, 99, 189, 279, 369, 459, 549, 639, 729, 819, 909, 1899, 2799, 3069})
    offsets.push_back(secs * 75);
  EXPECT_EQ(ComputeDiscId(Toc(offsets, 3100 * 75)), uint32_t((3100 - 3) << 8 | 14));
  EXPECT_EQ(CDDBDigitSum(0), 0);
  EXPECT_EQ(CDDBDigitSum(-5), 0);
  EXPECT_EQ(CDDBDigitSum(4599), 27);
}

TEST(DiscId, AgreesWithLibdiscid) {
  if (std::system("/usr/bin/python3 -c 'import libdiscid' 2>/dev/null") != 0)
    GTEST_SKIP() << "python3-libdiscid is not installed (scripts/setup installs it)";
  std::mt19937 rng(43);
  std::vector<TCDTOC> tocs;
  std::ostringstream input;
  for (int d = 0; d < 300; ++d) {
    const int count = 1 + int(rng() % 99);
    std::vector<int> offsets;
    // Up to 79 minutes: the longest disc libdiscid takes.
    const int longest = 79 * 4500;
    int at = 150 + int(rng() % 3000);
    for (int t = 0; t < count; ++t) {
      offsets.push_back(at);
      at += 300 + int(rng() % uint32_t((longest - 300 * 99) / count));
    }
    tocs.push_back(Toc(offsets, at));
    input << "1 " << count << " " << at;
    for (int o : offsets) input << " " << o;
    input << "\n";
  }
  const auto dir = sonalix::test::MakeTempDir("discid");
  std::ofstream(dir / "tocs.txt") << input.str();
  std::ofstream(dir / "ids.py") << "import sys, libdiscid\n"
                                   "for line in open(sys.argv[1]):\n"
                                   "    v = [int(x) for x in line.split()]\n"
                                   "    print(libdiscid.put(v[0], v[1], v[2], v[3:]).freedb_id)\n";
  const std::string cmd = "/usr/bin/python3 " + (dir / "ids.py").string() + " " + (dir / "tocs.txt").string();
  FILE* p = ::popen(cmd.c_str(), "r");
  ASSERT_NE(p, nullptr);
  char line[64];
  size_t i = 0;
  while (std::fgets(line, sizeof line, p) && i < tocs.size()) {
    std::string id = line;
    while (!id.empty() && (id.back() == '\n' || id.back() == '\r')) id.pop_back();
    EXPECT_EQ(Hex(ComputeDiscId(tocs[i])), id) << BuildQueryCommand(tocs[i]);
    ++i;
  }
  ::pclose(p);
  EXPECT_EQ(i, tocs.size());
  EXPECT_GT(tocs.size(), 200u);
}

TEST(CddbText, UrlEncodeHelloUserAndSplit) {
  const std::pair<std::string, std::string> encoded[] = {
      {"a b/c", "a+b%2Fc"},
      {"AZaz09", "AZaz09"},
      {"x.y-z_~*", "x%2Ey%2Dz%5F%7E%2A"},
      {"\xC3\xA9\r\n", "%C3%A9%0D%0A"},
      {"", ""},
  };
  for (const auto& [in, out] : encoded) EXPECT_EQ(CDDBURLEncode(in), out) << in;

  const std::pair<std::string, std::string> hello[] = {
      {"user@host.org", "user host.org"},
      {"nohost", ""},
      {"a@b@c", "a@b c"},
  };
  for (const auto& [in, out] : hello) EXPECT_EQ(EmailToHelloUser(in), out) << in;

  struct {
    std::string Text;
    std::vector<std::string> Lines;
  } splits[] = {
      {"one\r\n", {"one"}},
      {"x\n\ny", {"x", "", "y"}},
      {"a\rb\r\n\r\nc", {"a", "b", "", "c"}},
      {"\n", {""}},
      {"", {}},
      {"tail", {"tail"}},
  };
  for (const auto& s : splits) {
    TMemoryStream m;
    m.Write(s.Text.data(), int64_t(s.Text.size()));
    TStringList list;
    list.Add("kept");
    SplitReplyLines(m, list);
    std::vector<std::string> got;
    for (int i = 1; i < list.Count(); ++i) got.push_back(list[i]);
    EXPECT_EQ(got, s.Lines) << s.Text;
  }
}

}  // namespace
