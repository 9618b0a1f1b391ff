#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <sstream>

#include "common/TestEnv.h"
#include "net/IcsLogger.h"

namespace {

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteFile(const std::filesystem::path& path, const std::string& text) {
  std::ofstream(path, std::ios::binary) << text;
}

}  // namespace

TEST(Logger, LineReachesEveryDestinationUnchanged) {
  const auto dir = sonalix::test::MakeTempDir("log");
  TIcsLogger logger(nullptr);
  std::vector<std::tuple<TObject*, TLogOption, std::string>> events;
  logger.OnIcsLogEvent = [&](TObject* sender, TLogOption option, const std::string& msg) {
    events.emplace_back(sender, option, msg);
  };
  logger.WriteLine(&logger, loWsockErr, "nowhere");  // no destination chosen
  EXPECT_TRUE(events.empty());

  logger.SetLogOptions({loDestEvent, loDestFile, loDestOutDebug, loWsockErr});
  logger.SetLogFileName((dir / "net.log").string());
  testing::internal::CaptureStderr();
  logger.WriteLine(&logger, loWsockErr, "first line");
  logger.WriteLine(nullptr, loProtSpecInfo, "second");
  const std::string debug = testing::internal::GetCapturedStderr();
  ASSERT_EQ(events.size(), 2u);
  EXPECT_EQ(events[0],
            std::make_tuple(static_cast<TObject*>(&logger), loWsockErr, std::string("first line")));
  EXPECT_EQ(events[1],
            std::make_tuple(static_cast<TObject*>(nullptr), loProtSpecInfo, std::string("second")));
  EXPECT_EQ(debug, "first line\nsecond\n");
  logger.CloseLogFile();
  EXPECT_EQ(ReadFile(dir / "net.log"), "first line\r\nsecond\r\n");

  logger.SetLogOptions({loDestEvent, loAddStamp});
  logger.WriteLine(nullptr, loWsockInfo, "stamped");
  ASSERT_EQ(events.size(), 3u);
  EXPECT_TRUE(
      std::regex_match(std::get<2>(events[2]), std::regex(R"(\d\d:\d\d:\d\d:\d\d\d stamped)")))
      << std::get<2>(events[2]);
}

TEST(Logger, FileNameAndFileOption) {
  const auto dir = sonalix::test::MakeTempDir("log");
  const auto a = dir / "a.log", b = dir / "b.log";
  TIcsLogger logger(nullptr);
  logger.SetLogOptions({loDestFile});
  try {
    logger.WriteLine(nullptr, loWsockErr, "x");
    ADD_FAILURE();
  } catch (const ELoggerException& e) {
    EXPECT_EQ(e.Message(), "File name empty");
  }

  // Appending follows the existing content, also across name changes.
  WriteFile(a, "old\r\n");
  logger.SetLogFileName(a.string());
  logger.WriteLine(nullptr, loWsockErr, "one");
  logger.SetLogFileName(b.string());
  logger.WriteLine(nullptr, loWsockErr, "two");
  logger.SetLogFileName(a.string());
  logger.WriteLine(nullptr, loWsockErr, "three");
  logger.CloseLogFile();
  EXPECT_EQ(ReadFile(a), "old\r\none\r\nthree\r\n");
  EXPECT_EQ(ReadFile(b), "two\r\n");

  // Overwriting starts a fresh file at each opening; setting the same name keeps the file open.
  logger.SetLogFileOption(lfoOverwrite);
  logger.WriteLine(nullptr, loWsockErr, "four");
  logger.SetLogFileName(a.string());
  logger.WriteLine(nullptr, loWsockErr, "five");
  logger.SetLogFileName(b.string());
  logger.WriteLine(nullptr, loWsockErr, "six");
  logger.CloseLogFile();
  EXPECT_EQ(ReadFile(a), "four\r\nfive\r\n");
  EXPECT_EQ(ReadFile(b), "six\r\n");

  // A file that cannot be made reports the file system's error.
  logger.SetLogFileName((dir / "missing" / "c.log").string());
  EXPECT_THROW(logger.WriteLine(nullptr, loWsockErr, "seven"), EStreamError);
}
