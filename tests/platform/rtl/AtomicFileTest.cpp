#include "platform/rtl/AtomicFile.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <set>

#include "common/TestEnv.h"

namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> Names(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& entry : fs::directory_iterator(dir)) names.insert(entry.path().filename());
  return names;
}

// Gives the file a modification time a day in the past: from before this process started.
void MakeOld(const fs::path& p) {
  struct timespec times[2];
  clock_gettime(CLOCK_REALTIME, &times[0]);
  times[0].tv_sec -= 86400;
  times[1] = times[0];
  ASSERT_EQ(utimensat(AT_FDCWD, p.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << p;
}

mode_t ModeOf(const fs::path& p) {
  struct stat st {};
  ::stat(p.c_str(), &st);
  return st.st_mode & 07777;
}

}  // namespace

// The replaced file keeps its permissions; a new one gets the mode asked less the umask; a link
// stays a link and its file gets the content.
TEST(AtomicFile, ReplacesKeepingModeAndLinks) {
  const fs::path dir = sonalix::test::MakeTempDir("atomic");
  std::ofstream(dir / "kept.txt") << "old";
  fs::permissions(dir / "kept.txt", fs::perms(0640));
  WriteFileAtomically((dir / "kept.txt").string(), "new");
  EXPECT_EQ(ReadAll(dir / "kept.txt"), "new");
  EXPECT_EQ(ModeOf(dir / "kept.txt"), 0640u);

  const mode_t mask = umask(027);
  WriteFileAtomically((dir / "private").string(), "x", 0600);
  WriteFileAtomically((dir / "shared").string(), "x");
  umask(mask);
  EXPECT_EQ(ModeOf(dir / "private"), 0600u);
  EXPECT_EQ(ModeOf(dir / "shared"), 0640u);

  fs::create_directory(dir / "real");
  std::ofstream(dir / "real" / "target") << "old";
  fs::create_symlink("real/target", dir / "link");
  fs::create_symlink("link", dir / "chain");
  WriteFileAtomically((dir / "chain").string(), "through");
  EXPECT_TRUE(fs::is_symlink(dir / "link"));
  EXPECT_TRUE(fs::is_symlink(dir / "chain"));
  EXPECT_EQ(ReadAll(dir / "real" / "target"), "through");
  EXPECT_EQ(FollowSymlinks((dir / "chain").string()), (dir / "real" / "target").string());
  EXPECT_EQ(Names(dir / "real"), std::set<std::string>{"target"});
}

// What may not be replaced stays as it is, with the cause in the error.
TEST(AtomicFile, RefusalsNameTheCause) {
  const fs::path dir = sonalix::test::MakeTempDir("atomic-refused");
  std::ofstream(dir / "plain") << "file";
  fs::create_directory(dir / "folder");
  ASSERT_EQ(mkfifo((dir / "pipe").c_str(), 0600), 0);
  struct Case {
    fs::path target;
    std::string reason;
  };
  const Case cases[] = {
      {dir / "missing" / "f", std::strerror(ENOENT)},
      {dir / "plain" / "f", std::strerror(ENOTDIR)},
      {dir / "folder", std::strerror(EISDIR)},
      {dir / "pipe", "it is not a regular file"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.target.string());
    try {
      WriteFileAtomically(c.target.string(), "data");
      ADD_FAILURE() << "nothing raised";
    } catch (const EAtomicFileError& e) {
      EXPECT_EQ(e.Reason(), c.reason);
      EXPECT_EQ(e.Message(), "Cannot write the file \"" + c.target.string() + "\": " + c.reason +
                                 ".");
    }
  }
  EXPECT_EQ(Names(dir), (std::set<std::string>{"plain", "folder", "pipe"}));
  EXPECT_EQ(fs::status(dir / "pipe").type(), fs::file_type::fifo);

  // A save given up leaves nothing behind.
  {
    TAtomicFile file((dir / "plain").string());
    file.Write("half", 4);
  }
  EXPECT_EQ(ReadAll(dir / "plain"), "file");
  EXPECT_EQ(Names(dir), (std::set<std::string>{"plain", "folder", "pipe"}));
}

// A save killed half way leaves its temporary file; the next save into that folder removes it,
// and nothing else: not a save still running elsewhere, not one begun after this process
// started, not a name of another pattern, not another folder's.
TEST(AtomicFile, LeftoversOfKilledSavesAreRemoved) {
  const fs::path dir = sonalix::test::MakeTempDir("atomic-leftover");
  const fs::path other = sonalix::test::MakeTempDir("atomic-other");
  const pid_t pid = fork();
  if (pid == 0) {
    TAtomicFile file((dir / "song.wav").string());
    file.Write("half", 4);
    _exit(0);  // as a killed process: no destructor runs
  }
  int status = 0;
  waitpid(pid, &status, 0);
  ASSERT_TRUE(WIFEXITED(status));
  std::set<std::string> killed = Names(dir);
  ASSERT_EQ(killed.size(), 1u);
  const std::string leftover = *killed.begin();
  EXPECT_TRUE(leftover.starts_with(".song.wav.sonalix-")) << leftover;
  MakeOld(dir / leftover);

  const char* const kept[] = {".notes.txt.sonalix-Young1", ".song.wav.sonalix-Held01",
                              ".song.wav.AbC123", "song.wav.sonalix-NoDot1",
                              ".song.wav.sonalix-toolong"};
  for (const char* name : kept) std::ofstream(dir / name) << "x";
  for (std::size_t i = 1; i < std::size(kept); ++i) MakeOld(dir / kept[i]);
  std::ofstream(other / ".song.wav.sonalix-Other1") << "x";
  MakeOld(other / ".song.wav.sonalix-Other1");
  // A save that still runs holds its file locked.
  const int held = ::open((dir / ".song.wav.sonalix-Held01").c_str(), O_RDONLY);
  ASSERT_GE(held, 0);
  ASSERT_EQ(::flock(held, LOCK_EX), 0);

  WriteFileAtomically((dir / "song.wav").string(), "whole");
  ::close(held);
  EXPECT_EQ(ReadAll(dir / "song.wav"), "whole");
  std::set<std::string> expected(std::begin(kept), std::end(kept));
  expected.insert("song.wav");
  EXPECT_EQ(Names(dir), expected);
  EXPECT_TRUE(fs::exists(other / ".song.wav.sonalix-Other1"));
}
