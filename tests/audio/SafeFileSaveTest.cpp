#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>

#include "audio/AudioFileError.h"
#include "audio/SafeFileSave.h"

namespace fs = std::filesystem;

namespace {
constexpr uid_t kNobody = 65534;

// Runs `check` where permissions hold: in a child that drops root's rights when the tests run as
// root, else right here. Returns whether it passed.
bool AsOrdinaryUser(const std::function<bool()>& check) {
  if (geteuid() != 0) return check();
  const pid_t pid = fork();
  if (pid == 0) {
    const bool ok = setgid(kNobody) == 0 && setuid(kNobody) == 0 && check();
    _exit(ok ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string ReadAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}
}  // namespace

// A file the user may not change, or one in a folder they may not write to, is not replaced:
// the save is refused before anything is written.
TEST(SafeFileSave, RefusesFilesTheUserMayNotChange) {
  char pattern[] = "/tmp/sonalix-perm-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path dir = pattern;
  fs::permissions(dir, fs::perms::all & ~fs::perms::group_write & ~fs::perms::others_write);
  struct Case {
    const char* name;
    bool folderWritable;
    fs::perms fileMode;
  };
  const Case cases[] = {{"readonly-file", true, fs::perms::owner_read | fs::perms::group_read},
                        {"readonly-folder", false, fs::perms::owner_read | fs::perms::owner_write}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path folder = dir / c.name, file = folder / "song.wav";
    fs::create_directory(folder);
    std::ofstream(file) << "old";
    fs::permissions(file, c.fileMode);
    fs::permissions(folder, c.folderWritable ? fs::perms::all
                                             : fs::perms::owner_read | fs::perms::owner_exec |
                                                   fs::perms::others_read | fs::perms::others_exec);
    if (geteuid() == 0) {
      ASSERT_EQ(chown(folder.c_str(), kNobody, kNobody), 0);
      ASSERT_EQ(chown(file.c_str(), kNobody, kNobody), 0);
    }
    EXPECT_TRUE(AsOrdinaryUser([&] {
      try {
        TSafeFileSave save(file.string());
        return false;
      } catch (const EAudioFileError& e) {
        return e.Message().find(file.string()) != std::string::npos;
      }
    }));
    EXPECT_EQ(ReadAll(file), "old");
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    fs::permissions(folder, fs::perms::all);
  }
  fs::permissions(dir, fs::perms::all);
  fs::remove_all(dir);
}

// A link that leads nowhere yet gets the file made where it leads; a chain of links is followed
// to its end.
TEST(SafeFileSave, FollowsLinksToTheirFile) {
  char pattern[] = "/tmp/sonalix-link-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path dir = pattern;
  fs::create_directory(dir / "a");
  fs::create_symlink(dir / "a" / "new.wav", dir / "dangling.wav");
  fs::create_symlink("dangling.wav", dir / "chain.wav");
  for (const char* name : {"dangling.wav", "chain.wav"}) {
    SCOPED_TRACE(name);
    TSafeFileSave save((dir / name).string());
    std::ofstream(save.TempPath()) << name;
    save.Commit();
    EXPECT_TRUE(fs::is_symlink(dir / name));
    EXPECT_EQ(ReadAll(dir / "a" / "new.wav"), name);
  }
  fs::remove_all(dir);
}

// What is not a regular file (a pipe, a device) is never replaced by one.
TEST(SafeFileSave, LeavesPipesAndDevicesAlone) {
  char pattern[] = "/tmp/sonalix-special-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path dir = pattern;
  ASSERT_EQ(mkfifo((dir / "pipe.wav").c_str(), 0600), 0);
  fs::create_symlink("/dev/null", dir / "null.wav");
  for (const char* name : {"pipe.wav", "null.wav"}) {
    SCOPED_TRACE(name);
    EXPECT_THROW(TSafeFileSave((dir / name).string()), EAudioFileError);
  }
  EXPECT_EQ(fs::status(dir / "pipe.wav").type(), fs::file_type::fifo);
  EXPECT_EQ(fs::status("/dev/null").type(), fs::file_type::character);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 2);
  fs::remove_all(dir);
}

// A name as long as the system allows (255 bytes, here in two-byte letters) can be saved to.
TEST(SafeFileSave, TakesTheLongestNames) {
  char pattern[] = "/tmp/sonalix-long-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path dir = pattern;
  std::string name;
  while (name.size() + 2 <= 251) name += "\u00e9";
  name += ".wav";
  ASSERT_LE(name.size(), 255u);
  for (int round = 0; round < 2; ++round) {  // a new file, then replacing it
    TSafeFileSave save((dir / name).string());
    std::ofstream(save.TempPath()) << round;
    save.Commit();
    EXPECT_EQ(ReadAll(dir / name), std::to_string(round));
  }
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
  fs::remove_all(dir);
}
