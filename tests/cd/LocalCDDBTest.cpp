// The xmcd entry parser, its unescaping, the category index and the log.

#include <gtest/gtest.h>

#include <fstream>

#include "cd/LocalCDDB.h"
#include "common/TestEnv.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/QtWindows.h"

namespace {

TEntryArray Entry(const std::vector<std::string>& lines) {
  TEntryArray e;
  for (size_t i = 0; i < lines.size() && i < e.size(); ++i) e[i] = lines[i];
  return e;
}

std::vector<std::string> Complete() {
  return {"# xmcd",
          "#",
          "# Track frame offsets:",
          "#       150",
          "#       13500",
          "#",
          "# Disc length: 360 seconds",
          "#",
          "# Revision: 7",
          "# Submitted via: x 1.0",
          "#",
          "DISCID=0b016602",
          "DTITLE=The Artist / The Album",
          "DYEAR=1999",
          "DGENRE=Rock",
          "TTITLE0=First",
          "TTITLE1=Second",
          "EXTD=Notes\\non the disc",
          "EXTT0=",
          "EXTT1=about\\ttwo",
          "PLAYORDER="};
}

TEST(LocalCDDB, CompleteEntry) {
  TLocalCDDB parser;
  TCDInfo info;
  info.Category = "rock";
  info.TrackTitles[50] = "stale";
  ASSERT_EQ(parser.ParseEntry(info, Entry(Complete())), 0);
  EXPECT_EQ(info.Category, "rock");
  EXPECT_EQ(info.DiscId, "0b016602");
  EXPECT_EQ(info.Artist, "The Artist");
  EXPECT_EQ(info.Title, "The Album");
  EXPECT_EQ(info.Year, "1999");
  EXPECT_EQ(info.Genre, "Rock");
  EXPECT_EQ(info.Revision, 7);
  EXPECT_EQ(info.ExtendedData, "Notes\r\non the disc");
  EXPECT_EQ(info.TrackTitles[0], "First");
  EXPECT_EQ(info.TrackTitles[1], "Second");
  EXPECT_EQ(info.TrackTitles[50], "");
  EXPECT_EQ(info.TrackExtendedData[1], "about\ttwo");
  ASSERT_EQ(info.TOC.TrackCount, 2);
  EXPECT_EQ(info.TOC.Tracks[0].Second, 2);
  EXPECT_EQ(info.TOC.Tracks[1].Minute, 3);
  EXPECT_EQ(info.TOC.Tracks[1].Second, 0);
  EXPECT_TRUE(info.TOC.Tracks[1].IsAudio);
  EXPECT_EQ(info.TOC.LeadOut.Minute, 6);
  EXPECT_EQ(info.TOC.LeadOut.Second, 0);
}

TEST(LocalCDDB, EntryCases) {
  struct TCase {
    const char* Name;
    std::vector<std::string> Remove;  // lines of the complete entry left out (by prefix)
    std::vector<std::string> Add;     // lines added after the second track title
    int Result;
    std::function<void(const TCDInfo&)> Check;
  } cases[] = {
      {"no PLAYORDER", {"PLAYORDER="}, {}, -4,
       [](const TCDInfo& i) { EXPECT_EQ(i.TrackTitles[1], "Second"); }},
      {"no xmcd mark", {"# xmcd"}, {}, -4,
       [](const TCDInfo& i) { EXPECT_EQ(i.Title, "The Album"); }},
      {"no year or genre", {"DYEAR=", "DGENRE="}, {}, 0, nullptr},
      {"title over two lines", {}, {"DTITLE= Part Two"}, 0,
       [](const TCDInfo& i) {
         EXPECT_EQ(i.Artist, "The Artist");
         EXPECT_EQ(i.Title, "The Album Part Two");
       }},
      {"title without separator", {"DTITLE="}, {"DTITLE=Only Artist"}, 0,
       [](const TCDInfo& i) {
         EXPECT_EQ(i.Artist, "Only Artist");
         EXPECT_EQ(i.Title, "");
       }},
      {"tracks 9 and 10, three digits, not a number", {}, {"TTITLE9=Nine", "TTITLE10=Ten", "TTITLE100=Hundred", "TTITLEx=Bad", "TTITLE=Empty", "EXTTy=Bad"}, 0,
       [](const TCDInfo& i) {
         EXPECT_EQ(i.TrackTitles[9], "Nine");
         EXPECT_EQ(i.TrackTitles[10], "Ten");
         for (int t = 11; t < 100; ++t) EXPECT_EQ(i.TrackTitles[size_t(t)], "") << t;
       }},
      {"title continued on a second line", {}, {"TTITLE1= (live)"}, 0,
       [](const TCDInfo& i) { EXPECT_EQ(i.TrackTitles[1], "Second (live)"); }},
      {"revision not a number", {"# Revision:"}, {"# Revision: seven"}, -4,
       [](const TCDInfo& i) {
         EXPECT_EQ(i.TrackTitles[1], "Second");  // applied before the bad line
         EXPECT_EQ(i.ExtendedData, "");          // not after it
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::string> lines;
    for (const auto& l : Complete()) {
      bool drop = false;
      for (const auto& r : c.Remove) drop = drop || l.rfind(r, 0) == 0;
      if (!drop) lines.push_back(l);
      if (l == "TTITLE1=Second") lines.insert(lines.end(), c.Add.begin(), c.Add.end());
    }
    TLocalCDDB parser;
    TCDInfo info;
    EXPECT_EQ(parser.ParseEntry(info, Entry(lines)), c.Result);
    if (c.Check) c.Check(info);
  }
}

TEST(LocalCDDB, EmptyLineEndsTheEntry) {
  auto lines = Complete();
  lines.insert(lines.begin() + 15, "");  // before the track titles
  TLocalCDDB parser;
  TCDInfo info;
  EXPECT_EQ(parser.ParseEntry(info, Entry(lines)), -4);
  EXPECT_EQ(info.Artist, "The Artist");
  EXPECT_EQ(info.TrackTitles[0], "");
}

TEST(LocalCDDB, UnescapeInOnePass) {
  const std::pair<std::string, std::string> cases[] = {
      {"a\\nb", "a\r\nb"},
      {"a\\tb", "a\tb"},
      {"a\\\\b", "a\\b"},
      {"a\\\\nb", "a\\nb"},          // an escaped backslash before n stays a backslash
      {"\\\\\\\\", "\\\\"},          // two escaped backslashes stay two
      {"\\\\\\n", "\\\r\n"},
      {"\\x\\", "\\x\\"},            // unknown escapes and a trailing backslash are kept
      {"", ""},
  };
  for (const auto& [in, out] : cases) EXPECT_EQ(TLocalCDDB::UnescapeEntryText(in), out) << in;
}

TEST(LocalCDDB, CategoryIndexAndLog) {
  const auto dir = sonalix::test::MakeTempDir("localcddb");
  std::vector<std::string> boxes;
  TModalHook old = SetModalHook([&](const TModalRequest& r) {
    boxes.push_back(r.Text);
    return 1;
  });
  TLocalCDDB parser;
  EXPECT_EQ(parser.ClientString(), "Sonalix-CDDB 1.0");
  parser.SetPath(dir.string());
  EXPECT_FALSE(parser.IndexLoaded());
  const std::string log = (dir / "index.log").string();
  std::ifstream in(log);
  std::string text((std::istreambuf_iterator<char>(in)), {});
  EXPECT_EQ(text, "Error => Cannot find the file " + IncludeTrailingPathDelimiter(dir.string()) + "Cat.idx");

  std::ofstream(dir / "Cat.idx") << "blues\nclassical-with-a-very-long-name-past-forty-characters\r\ncountry\n";
  parser.SetPath(dir.string() + "/");
  EXPECT_TRUE(parser.IndexLoaded());
  EXPECT_EQ(parser.CategoryIndex('a'), "blues");
  EXPECT_EQ(parser.CategoryIndex('b'), "classical-with-a-very-long-name-past-for");
  EXPECT_EQ(parser.CategoryIndex('c'), "country");
  EXPECT_EQ(parser.CategoryIndex('d'), "");

  parser.AppendToLog(log, "+more");
  std::ifstream again(log);
  EXPECT_EQ(std::string((std::istreambuf_iterator<char>(again)), {}), text + "+more");
  EXPECT_TRUE(boxes.empty());
  parser.AppendToLog((dir / "missing" / "x.log").string(), "lost");
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0], "Couldn't create log file!\nError message was: 'lost'");
  SetModalHook(old);
}

}  // namespace
