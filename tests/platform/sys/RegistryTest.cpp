#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <functional>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "common/TestEnv.h"
#include "platform/rtl/Classes.h"
#include "platform/sys/Registry.h"

namespace fs = std::filesystem;

namespace {

const std::string kKey = "\\SOFTWARE\\KRV\\Sonalix Sound Editor\\5.0\\";

std::string StoreFile() {
  return (sonalix::test::MakeTempDir("reg") / "sonalix" / "registry").string();
}

std::shared_ptr<TRegistryStore> Store(const std::string& file) {
  return std::make_shared<TRegistryStore>(file);
}

std::string ReadAll(const std::string& file) {
  std::ifstream in(file, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

void WriteAll(const std::string& file, const std::string& text) {
  fs::create_directories(fs::path(file).parent_path());
  std::ofstream(file, std::ios::binary) << text;
}

std::string RaisedMessage(const std::function<void()>& f) {
  try {
    f();
  } catch (const ERegistryException& e) {
    return e.Message();
  }
  return "(nothing raised)";
}

}  // namespace

TEST(Registry, TypedValuesSurviveTheFile) {
  const std::string file = StoreFile();
  const std::string awkward = "quote \" back \\ tab\t line\nend \x01 é ü 日本";
  const std::string binary("\x00\xff\x10\n\"", 5);
  {
    TRegistry reg(Store(file));
    ASSERT_TRUE(reg.OpenKey(kKey, true));
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\KRV\\Sonalix Sound Editor\\5.0");
    reg.WriteString("Text", awkward);
    reg.WriteString("Empty", "");
    reg.WriteString("", "unnamed");
    reg.WriteInteger("Min", INT_MIN);
    reg.WriteInteger("Max", INT_MAX);
    reg.WriteInteger("Negative", -45);
    reg.WriteBool("Yes", true);
    reg.WriteBinaryData("Blob", binary.data(), int(binary.size()));
    reg.WriteBinaryData("NoBytes", nullptr, 0);
    ASSERT_TRUE(reg.OpenKey("FormPos", true));  // relative to the open key; closes the first
    EXPECT_EQ(reg.CurrentPath(), "SOFTWARE\\KRV\\Sonalix Sound Editor\\5.0\\FormPos");
    reg.WriteInteger("x", 12);
  }
  EXPECT_FALSE(fs::exists(file + ".new"));

  TRegistry reg(Store(file));
  ASSERT_TRUE(reg.OpenKeyReadOnly("software\\krv\\SONALIX SOUND EDITOR\\5.0"));  // any case
  EXPECT_EQ(reg.ReadString("Text"), awkward);
  EXPECT_EQ(reg.ReadString("text"), awkward);
  EXPECT_EQ(reg.ReadString("Empty"), "");
  EXPECT_TRUE(reg.ValueExists("Empty"));
  EXPECT_EQ(reg.ReadString(""), "unnamed");
  EXPECT_EQ(reg.ReadInteger("Min"), INT_MIN);
  EXPECT_EQ(reg.ReadInteger("Max"), INT_MAX);
  EXPECT_EQ(reg.ReadInteger("Negative"), -45);
  EXPECT_TRUE(reg.ReadBool("Yes"));
  EXPECT_EQ(reg.GetDataType("Yes"), rdInteger);
  EXPECT_EQ(reg.GetDataType("Text"), rdString);
  EXPECT_EQ(reg.GetDataType("Blob"), rdBinary);
  EXPECT_EQ(reg.GetDataType("Missing"), rdUnknown);
  EXPECT_EQ(reg.GetDataSize("Empty"), 1);
  EXPECT_EQ(reg.GetDataSize("Blob"), 5);
  EXPECT_EQ(reg.GetDataSize("Missing"), -1);
  char buffer[8] = {};
  ASSERT_EQ(reg.ReadBinaryData("Blob", buffer, sizeof buffer), 5);
  EXPECT_EQ(std::string(buffer, 5), binary);
  EXPECT_EQ(reg.ReadBinaryData("NoBytes", buffer, sizeof buffer), 0);
  std::vector<std::string> names;
  reg.GetValueNames(names);
  EXPECT_EQ(names, (std::vector<std::string>{"Text", "Empty", "", "Min", "Max", "Negative", "Yes",
                                             "Blob", "NoBytes"}));
  reg.GetKeyNames(names);
  EXPECT_EQ(names, std::vector<std::string>{"FormPos"});
  EXPECT_TRUE(reg.HasSubKeys());
  ASSERT_TRUE(reg.OpenKeyReadOnly("FormPos"));
  EXPECT_EQ(reg.ReadInteger("X"), 12);
}

TEST(Registry, ReadAndWriteFailuresNameTheValue) {
  TRegistry reg(Store(StoreFile()));
  EXPECT_EQ(RaisedMessage([&] { reg.WriteString("Lost", "v"); }), "Failed to set data for 'Lost'");
  EXPECT_EQ(RaisedMessage([&] { reg.ReadInteger("Lost"); }), "Failed to get data for 'Lost'");
  ASSERT_TRUE(reg.OpenKey(kKey, true));
  reg.WriteString("Str", "12");
  reg.WriteInteger("Int", 7);
  reg.WriteBinaryData("Bin", "abcd", 4);
  struct Case {
    const char* what;
    std::function<void()> call;
    const char* message;
  };
  char small[3];
  const Case cases[] = {
      {"integer from a string", [&] { reg.ReadInteger("Str"); }, "Invalid data type for 'Str'"},
      {"boolean from a string", [&] { reg.ReadBool("Str"); }, "Invalid data type for 'Str'"},
      {"integer from binary", [&] { reg.ReadInteger("Bin"); }, "Invalid data type for 'Bin'"},
      {"string from an integer", [&] { reg.ReadString("Int"); }, "Invalid data type for 'Int'"},
      {"binary from an integer", [&] { reg.ReadBinaryData("Int", small, 3); },
       "Invalid data type for 'Int'"},
      {"binary too large", [&] { reg.ReadBinaryData("Bin", small, 3); },
       "Invalid data type for 'Bin'"},
      {"missing integer", [&] { reg.ReadInteger("None"); }, "Failed to get data for 'None'"},
      {"missing boolean", [&] { reg.ReadBool("None"); }, "Failed to get data for 'None'"},
  };
  for (const Case& c : cases) EXPECT_EQ(RaisedMessage(c.call), c.message) << c.what;
  EXPECT_EQ(reg.ReadString("None"), "");
  EXPECT_EQ(reg.ReadBinaryData("None", small, 3), 0);

  // A value may change its type by being written again.
  reg.WriteInteger("Str", 3);
  EXPECT_EQ(reg.ReadInteger("Str"), 3);

  ASSERT_TRUE(reg.OpenKeyReadOnly(kKey));
  EXPECT_EQ(RaisedMessage([&] { reg.WriteInteger("Int", 1); }), "Failed to set data for 'Int'");
  EXPECT_FALSE(reg.DeleteValue("Int"));
  EXPECT_EQ(reg.ReadInteger("Int"), 7);
  EXPECT_EQ(RaisedMessage([&] { reg.CreateKey("\\bad\x01name"); }),
            "Failed to create key \\bad\x01name");
}

TEST(Registry, KeysOpenCreateAndDelete) {
  const std::string file = StoreFile();
  TRegistry reg(Store(file));
  EXPECT_FALSE(reg.OpenKey("\\A\\B", false));
  EXPECT_FALSE(reg.KeyIsOpen());
  EXPECT_TRUE(reg.CreateKey("A\\B\\C"));  // no open key: taken from the root
  EXPECT_TRUE(reg.KeyExists("\\a\\b"));
  ASSERT_TRUE(reg.OpenKey("\\A", false));
  EXPECT_TRUE(reg.KeyExists("B\\C"));  // relative to the open key
  EXPECT_FALSE(reg.KeyExists("A\\B"));
  EXPECT_FALSE(reg.OpenKey("Missing", false));
  EXPECT_EQ(reg.CurrentPath(), "A");  // a failed open keeps the open key
  reg.WriteInteger("v", 1);
  ASSERT_TRUE(reg.OpenKey("B", false));
  reg.WriteInteger("w", 2);

  // The hives are separate trees.
  reg.SetRootKey(HKEY_CLASSES_ROOT);
  EXPECT_FALSE(reg.KeyIsOpen());
  EXPECT_FALSE(reg.KeyExists("\\A"));
  ASSERT_TRUE(reg.OpenKey("\\.wav", true));
  reg.WriteString("", "wavfile");
  reg.CloseKey();

  reg.SetRootKey(HKEY_CURRENT_USER);
  EXPECT_FALSE(reg.DeleteKey("\\A\\Nothing"));
  EXPECT_TRUE(reg.DeleteKey("\\A\\B"));  // with its subkeys and values
  EXPECT_FALSE(reg.KeyExists("\\A\\B\\C"));
  EXPECT_TRUE(reg.KeyExists("\\A"));
  reg.CloseKey();

  TRegistry again(Store(file));
  EXPECT_FALSE(again.KeyExists("\\A\\B"));
  ASSERT_TRUE(again.OpenKeyReadOnly("\\A"));
  EXPECT_EQ(again.ReadInteger("v"), 1);
  EXPECT_FALSE(again.HasSubKeys());
  again.SetRootKey(HKEY_CLASSES_ROOT);
  ASSERT_TRUE(again.OpenKeyReadOnly(".WAV"));
  EXPECT_EQ(again.ReadString(""), "wavfile");
}

TEST(Registry, WritesTheFileOnlyWhenTheKeyCloses) {
  const std::string file = StoreFile();
  auto store = Store(file);
  TRegistry reg(store);
  ASSERT_TRUE(reg.OpenKey(kKey, true));
  for (int i = 0; i < 100; ++i) reg.WriteInteger("V" + std::to_string(i), i);
  EXPECT_FALSE(fs::exists(file));
  reg.CloseKey();
  ASSERT_TRUE(fs::exists(file));
  EXPECT_FALSE(store->HasPendingChanges());

  // Closing without a change, or with changes that leave the content as it was, keeps the file.
  const std::string before = ReadAll(file);
  struct stat st1, st2;
  ::stat(file.c_str(), &st1);
  ASSERT_TRUE(reg.OpenKey(kKey, false));
  reg.WriteInteger("V5", 5);
  reg.CloseKey();
  ::stat(file.c_str(), &st2);
  EXPECT_EQ(st1.st_ino, st2.st_ino);
  EXPECT_EQ(ReadAll(file), before);
}

TEST(Registry, TwoInstancesMergeTheirChanges) {
  const std::string file = StoreFile();
  auto first = Store(file);
  auto second = Store(file);
  {
    TRegistry seed(first);
    ASSERT_TRUE(seed.OpenKey("\\Shared", true));
    seed.WriteString("Both", "seed");
    seed.WriteInteger("Doomed", 1);
  }
  TRegistry a(first), b(second);
  ASSERT_TRUE(b.OpenKey("\\Shared", false));  // b has read the seed
  ASSERT_TRUE(a.OpenKey("\\OnlyA", true));
  a.WriteInteger("a", 1);
  ASSERT_TRUE(a.OpenKey("\\Shared", false));
  a.WriteString("Both", "from a");
  a.DeleteValue("Doomed");
  a.CloseKey();

  // b still holds its own view until it writes; then it keeps a's keys and values.
  ASSERT_TRUE(b.OpenKey("\\OnlyB", true));
  b.WriteInteger("b", 2);
  ASSERT_TRUE(b.OpenKey("\\Shared", false));
  EXPECT_EQ(b.ReadString("Both"), "from a");  // opening a key rereads a replaced file
  b.WriteString("Later", "b");
  b.CloseKey();

  TRegistry check(Store(file));
  ASSERT_TRUE(check.OpenKeyReadOnly("\\OnlyA"));
  EXPECT_EQ(check.ReadInteger("a"), 1);
  ASSERT_TRUE(check.OpenKeyReadOnly("\\OnlyB"));
  EXPECT_EQ(check.ReadInteger("b"), 2);
  ASSERT_TRUE(check.OpenKeyReadOnly("\\Shared"));
  EXPECT_EQ(check.ReadString("Both"), "from a");
  EXPECT_EQ(check.ReadString("Later"), "b");
  EXPECT_FALSE(check.ValueExists("Doomed"));

  // The same value written by both: the later close wins; a key deleted by one goes for both.
  ASSERT_TRUE(a.OpenKey("\\Shared", false));
  ASSERT_TRUE(b.OpenKey("\\Shared", false));
  a.WriteString("Both", "a again");
  b.WriteString("Both", "b again");
  b.CloseKey();
  a.CloseKey();
  EXPECT_TRUE(b.DeleteKey("\\OnlyA"));
  b.CloseKey();
  TRegistry last(Store(file));
  ASSERT_TRUE(last.OpenKeyReadOnly("\\Shared"));
  EXPECT_EQ(last.ReadString("Both"), "a again");
  EXPECT_FALSE(last.KeyExists("\\OnlyA"));
  EXPECT_TRUE(last.KeyExists("\\OnlyB"));
}

TEST(Registry, StoreThatIsNoStoreIsKeptAsideAndTheDefaultsStart) {
  const std::string good = "Sonalix registry 1\n[HKEY_CURRENT_USER\\K]\n";
  const std::string broken[] = {
      "garbage\n",
      std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
      "[HKEY_CURRENT_USER\\K]\n\"v\"=dword:1\n",  // no header line
  };
  for (const std::string& text : broken) {
    const std::string file = StoreFile();
    WriteAll(file, text);
    testing::internal::CaptureStderr();
    TRegistry reg(Store(file));
    EXPECT_FALSE(reg.KeyExists("\\K")) << text;
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("cannot be read"), std::string::npos) << err;
    EXPECT_FALSE(fs::exists(file)) << text;
    std::vector<fs::path> aside;
    for (const auto& entry : fs::directory_iterator(fs::path(file).parent_path()))
      if (entry.path().filename().string().starts_with("registry.corrupt-"))
        aside.push_back(entry.path());
    ASSERT_EQ(aside.size(), 1u) << text;
    EXPECT_EQ(ReadAll(aside[0].string()), text);

    ASSERT_TRUE(reg.OpenKey("\\K", true));
    reg.WriteInteger("v", 1);
    reg.CloseKey();
    TRegistry again(Store(file));
    ASSERT_TRUE(again.OpenKeyReadOnly("\\K"));
    EXPECT_EQ(again.ReadInteger("v"), 1);
  }
  // A readable store, also an empty file, is not moved.
  for (const std::string& text : {good, std::string()}) {
    const std::string file = StoreFile();
    WriteAll(file, text);
    TRegistry reg(Store(file));
    EXPECT_EQ(reg.KeyExists("\\K"), !text.empty());
    EXPECT_TRUE(fs::exists(file));
  }
}

// A damaged line costs only itself (and, for a key header, the values under it): the rest of
// the store is read, the line is reported, and the next write keeps every good value.
TEST(Registry, DamagedLinesAreLeftOutAndTheRestKept) {
  const std::string before = "Sonalix registry 1\n[HKEY_CURRENT_USER\\K]\n\"a\"=dword:1\n";
  const std::string after = "\"z\"=sz:\"last\"\n[HKEY_CURRENT_USER\\L]\n\"b\"=dword:2\n";
  struct Case {
    std::string line;
    bool keyKept;  // the values after the line, up to the next header, are still read
  };
  const Case cases[] = {
      {"\"v\"=dword:99999999999", true},
      {"\"v\"=sz:\"bad \\q escape\"", true},
      {"\"v\"=hex:abc", true},
      {"\"v\"=float:1", true},
      {"\"v\"=sz:\"unterminated", true},
      {"\"v\"dword:1", true},
      {"[HKEY_SOMEWHERE\\K]", false},
      {"[HKEY_CURRENT_USER\\K", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    const std::string file = StoreFile();
    WriteAll(file, before + c.line + "\n" + after);
    testing::internal::CaptureStderr();
    TRegistry reg(Store(file));
    ASSERT_TRUE(reg.OpenKey("\\K", false));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("line 4"), std::string::npos) << err;
    EXPECT_EQ(err.find("line 3"), std::string::npos) << err;
    EXPECT_EQ(reg.ReadInteger("a"), 1);
    EXPECT_EQ(reg.ValueExists("z"), c.keyKept);
    EXPECT_FALSE(reg.ValueExists("v"));
    reg.WriteInteger("new", 3);
    reg.CloseKey();

    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(std::distance(fs::directory_iterator(fs::path(file).parent_path()),
                            fs::directory_iterator()),
              2);  // the store and its lock: nothing set aside
    TRegistry again(Store(file));
    ASSERT_TRUE(again.OpenKeyReadOnly("\\K"));
    EXPECT_EQ(again.ReadInteger("a"), 1);
    EXPECT_EQ(again.ReadInteger("new"), 3);
    EXPECT_EQ(again.ReadString("z"), c.keyKept ? "last" : "");
    ASSERT_TRUE(again.OpenKeyReadOnly("\\L"));
    EXPECT_EQ(again.ReadInteger("b"), 2);
  }
}

// A store reached through a symbolic link is written where the link leads; the link stays.
TEST(Registry, LinkedStoreIsWrittenThrough) {
  const fs::path dir = sonalix::test::MakeTempDir("reg-link");
  fs::create_directories(dir / "dotfiles");
  fs::create_directories(dir / "config" / "sonalix");
  WriteAll((dir / "dotfiles" / "registry").string(),
           "Sonalix registry 1\n[HKEY_CURRENT_USER\\K]\n\"old\"=dword:1\n");
  fs::permissions(dir / "dotfiles" / "registry", fs::perms(0640));
  const fs::path link = dir / "config" / "sonalix" / "registry";
  fs::create_symlink("../../dotfiles/registry", link);
  {
    TRegistry reg(Store(link.string()));
    ASSERT_TRUE(reg.OpenKey("\\K", false));
    reg.WriteInteger("new", 2);
  }
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(fs::status(dir / "dotfiles" / "registry").permissions(), fs::perms(0640));
  TRegistry reg(Store((dir / "dotfiles" / "registry").string()));
  ASSERT_TRUE(reg.OpenKeyReadOnly("\\K"));
  EXPECT_EQ(reg.ReadInteger("old"), 1);
  EXPECT_EQ(reg.ReadInteger("new"), 2);

  // One that is no store is set aside where it is, and the link then leads to the new store.
  WriteAll((dir / "dotfiles" / "registry").string(), "garbage\n");
  testing::internal::CaptureStderr();
  {
    TRegistry fresh(Store(link.string()));
    ASSERT_TRUE(fresh.OpenKey("\\K", true));
    fresh.WriteInteger("again", 3);
  }
  testing::internal::GetCapturedStderr();
  EXPECT_TRUE(fs::is_symlink(link));
  int aside = 0;
  for (const auto& entry : fs::directory_iterator(dir / "dotfiles"))
    aside += entry.path().filename().string().starts_with("registry.corrupt-");
  EXPECT_EQ(aside, 1);
  TRegistry back(Store((dir / "dotfiles" / "registry").string()));
  ASSERT_TRUE(back.OpenKeyReadOnly("\\K"));
  EXPECT_EQ(back.ReadInteger("again"), 3);
}

namespace {
constexpr uid_t kNobody = 65534;

// Runs check where permissions hold: in a child that drops root's rights when the tests run as
// root, else in a child as the user. The answer is the child's exit status.
bool AsOrdinaryUser(const std::function<bool()>& check) {
  const pid_t pid = fork();
  if (pid == 0) {
    const bool dropped = geteuid() != 0 || (setgid(kNobody) == 0 && setuid(kNobody) == 0);
    _exit(dropped && check() ? 0 : 1);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// Writes one value; true when closing the key raised naming the file and the reason, and the
// change stayed pending.
bool CommitFailsWith(const std::string& file, const std::string& reason) {
  auto store = Store(file);
  TRegistry reg(store);
  if (!reg.OpenKey(kKey, true)) return false;
  reg.WriteInteger("DefAmplify", 30);
  const std::string message = RaisedMessage([&] { reg.CloseKey(); });
  const bool ok = message.find("\"" + file + "\"") != std::string::npos &&
                  message.find(reason) != std::string::npos && store->HasPendingChanges();
  if (!ok) std::fprintf(stderr, "raised: %s\n", message.c_str());
  return ok;
}
}  // namespace

// A store that cannot be written is an error the caller sees, naming the file and the cause.
TEST(Registry, UnwritableStoreRaisesOnClose) {
  const fs::path dir = sonalix::test::MakeTempDir("reg-unwritable");
  std::ofstream(dir / "file") << "in the way";
  fs::create_directories(dir / "store-is-a-folder" / "registry");
  struct Case {
    std::string file;
    std::string reason;
  };
  const Case cases[] = {
      // The config folder cannot be made: its parent is a file.
      {(dir / "file" / "sonalix" / "registry").string(),
       "the folder " + (dir / "file" / "sonalix").string() + " cannot be made (" +
           std::strerror(ENOTDIR) + ")"},
      {(dir / "store-is-a-folder" / "registry").string(), std::strerror(EISDIR)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_TRUE(CommitFailsWith(c.file, c.reason));
  }

  // A read-only config folder, and one of another user (the root folder, seen by an ordinary
  // user).
  char pattern[] = "/tmp/sonalix-reg-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const fs::path readOnly = pattern;
  fs::permissions(readOnly, fs::perms(0555));
  if (geteuid() == 0) ASSERT_EQ(chown(readOnly.c_str(), kNobody, kNobody), 0);
  for (const fs::path& folder : {readOnly, fs::path("/")}) {
    SCOPED_TRACE(folder.string());
    const std::string file = (folder / "sonalix-test-registry").string();
    EXPECT_TRUE(AsOrdinaryUser([&] { return CommitFailsWith(file, std::strerror(EACCES)); }));
    EXPECT_FALSE(fs::exists(file));
  }
  fs::permissions(readOnly, fs::perms::all);
  fs::remove_all(readOnly);
}

TEST(Registry, TheUsersStoreLivesInTheConfigFolder) {
  TRegistryStore::SetDefault(nullptr);
  EXPECT_EQ(TRegistryStore::Default()->FileName(),
            std::string(std::getenv("XDG_CONFIG_HOME")) + "/sonalix/registry");
}

TEST(Registry, NamesIntoStringLists) {
  TRegistry reg(Store(StoreFile()));
  ASSERT_TRUE(reg.OpenKey("\\Names", true));
  reg.WriteInteger("b", 1);
  reg.WriteInteger("a", 2);
  reg.CreateKey("Zed");
  reg.CreateKey("alpha");
  TStringList list;
  list.Add("stale");
  reg.GetValueNames(&list);
  EXPECT_EQ(list.CommaText(), "b,a");
  reg.GetKeyNames(&list);
  EXPECT_EQ(list.CommaText(), "alpha,Zed");
}

TEST(Registry, ConcurrentWritersLoseNothing) {
  // Two stores on one file, writing at the same time from two threads: each write merges under
  // the file lock, so every key of both survives.
  const std::string file = StoreFile();
  const int rounds = 40;
  auto writer = [&](const std::string& name) {
    auto store = Store(file);
    for (int i = 0; i < rounds; ++i) {
      TRegistry reg(store);
      ASSERT_TRUE(reg.OpenKey("\\" + name + "\\K" + std::to_string(i), true));
      reg.WriteInteger("v", i);
    }
  };
  std::thread a(writer, "A"), b(writer, "B");
  a.join();
  b.join();
  TRegistry reg(Store(file));
  for (const char* name : {"A", "B"}) {
    ASSERT_TRUE(reg.OpenKeyReadOnly(std::string("\\") + name));
    std::vector<std::string> keys;
    reg.GetKeyNames(keys);
    EXPECT_EQ(keys.size(), size_t(rounds)) << name;
  }
}
