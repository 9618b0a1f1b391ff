#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <set>

#include "common/TestEnv.h"
#include "platform/rtl/SysUtils.h"

TEST(Paths, ExtractParts) {
  struct Case {
    const char* name;
    const char* path;
    const char* dir;
    const char* file;
    const char* ext;
  } cases[] = {
      {"/home/u/a.wav", "/home/u/", "/home/u", "a.wav", ".wav"},
      {"/a.b/c", "/a.b/", "/a.b", "c", ""},
      {"/x", "/", "/", "x", ""},
      {"song.tar.mp3", "", "", "song.tar.mp3", ".mp3"},
      {"/home/u/", "/home/u/", "/home/u", "", ""},
      {"/music/.hidden", "/music/", "/music", ".hidden", ".hidden"},
      {"back\\slash.wav", "", "", "back\\slash.wav", ".wav"},  // '\' is a name character
      {"D:\\Track01.cda", "D:\\", "D:\\", "Track01.cda", ".cda"},
      {"C:\\temp\\x.wav", "C:\\temp\\", "C:\\temp", "x.wav", ".wav"},
      {"D:Track02.cda", "D:", "D:", "Track02.cda", ".cda"},
      {"", "", "", "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExtractFilePath(c.name), c.path) << c.name;
    EXPECT_EQ(ExtractFileDir(c.name), c.dir) << c.name;
    EXPECT_EQ(ExtractFileName(c.name), c.file) << c.name;
    EXPECT_EQ(ExtractFileExt(c.name), c.ext) << c.name;
  }
  EXPECT_EQ(ExtractFileDrive("D:\\Track01.cda"), "D:");
  EXPECT_EQ(ExtractFileDrive("/d/x"), "");
}

TEST(Paths, ChangeExtensionAndDelimiters) {
  EXPECT_EQ(ChangeFileExt("/a/b.wav", ".mp3"), "/a/b.mp3");
  EXPECT_EQ(ChangeFileExt("/a.d/b", ".mp3"), "/a.d/b.mp3");
  EXPECT_EQ(ChangeFileExt("b.x.wav", ""), "b.x");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp"), "/tmp/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/tmp/"), "/tmp/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("D:"), "D:\\");
  EXPECT_EQ(IncludeTrailingPathDelimiter(""), "/");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/tmp/"), "/tmp");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("C:\\temp\\"), "C:\\temp");
  EXPECT_EQ(ExcludeTrailingPathDelimiter("/tmp"), "/tmp");
}

TEST(Paths, ExpandFileName) {
  std::string dir = sonalix::test::MakeTempDir("expand").string();
  std::string saved = GetCurrentDir();
  ASSERT_TRUE(SetCurrentDir(dir));
  EXPECT_EQ(GetCurrentDir(), dir);
  EXPECT_EQ(ExpandFileName("a.wav"), dir + "/a.wav");
  EXPECT_EQ(ExpandFileName("./x/../b.wav"), dir + "/b.wav");
  EXPECT_EQ(ExpandFileName("/a//b/./c/../d"), "/a/b/d");
  EXPECT_EQ(ExpandFileName("/.."), "/");
  EXPECT_EQ(ExpandFileName("sub/"), dir + "/sub/");
  SetCurrentDir(saved);
}

TEST(Files, CreateQueryRenameDelete) {
  std::string dir = sonalix::test::MakeTempDir("files").string();
  std::string deep = dir + "/a/b/c";
  EXPECT_FALSE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep + "/"));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(ForceDirectories(deep));
  EXPECT_FALSE(ForceDirectories(""));
  EXPECT_FALSE(FileExists(deep));  // a folder is no file

  std::string f = deep + "/x.wav";
  std::ofstream(f) << "12345";
  EXPECT_TRUE(FileExists(f));
  EXPECT_EQ(FileSizeByName(f), 5);
  EXPECT_EQ(FileSizeByName(f + ".none"), -1);
  TDateTime age;
  ASSERT_TRUE(FileAge(f, age));
  EXPECT_NEAR(age, Now(), 1.0 / 24);
  EXPECT_FALSE(FileAge(f + ".none", age));

  std::string g = deep + "/y.wav";
  std::ofstream(g) << "other";
  EXPECT_FALSE(RenameFile(f, g));  // never replaces an existing file
  EXPECT_EQ(FileSizeByName(g), 5);
  EXPECT_TRUE(DeleteFile(g));
  EXPECT_TRUE(RenameFile(f, g));
  EXPECT_FALSE(FileExists(f));
  EXPECT_FALSE(DeleteFile(f));
  EXPECT_FALSE(DeleteFile(deep));              // folders are not deleted as files
  EXPECT_FALSE(ForceDirectories(g + "/sub"));  // a file stands in the way
  EXPECT_EQ(SysErrorMessage(ENOENT), "No such file or directory");
}

namespace {
std::set<std::string> FindAll(const std::string& pattern, int attr) {
  std::set<std::string> names;
  TSearchRec sr;
  for (int rc = FindFirst(pattern, attr, sr); rc == 0; rc = FindNext(sr)) names.insert(sr.Name);
  FindClose(sr);
  return names;
}

class TTrackFiles : public TVirtualFileProvider {
 public:
  bool Handles(const std::string& Path) const override { return ExtractFileDrive(Path) == "Q:"; }
  bool FileExists(const std::string& Path) const override { return Path == "Q:\\Track01.cda"; }
  bool ListFolder(const std::string& Folder, std::vector<TSearchRec>& Entries) const override {
    if (Folder != "Q:\\") return false;
    TSearchRec r;
    r.Name = "Track01.cda";
    r.Attr = faReadOnly;
    r.Size = 44;
    Entries.push_back(r);
    return true;
  }
};
}  // namespace

TEST(Files, FindFirstMasksAndAttributes) {
  std::string dir = sonalix::test::MakeTempDir("find").string();
  for (const char* n : {"a.wav", "B.WAV", "c.mp3", "noext", ".hidden.wav"})
    std::ofstream(dir + "/" + n) << n;
  ForceDirectories(dir + "/sub.wav");

  using S = std::set<std::string>;
  EXPECT_EQ(FindAll(dir + "/*.wav", faAnyFile & ~faDirectory & ~faHidden), (S{"a.wav", "B.WAV"}));
  EXPECT_EQ(FindAll(dir + "/*.wav", faAnyFile), (S{"a.wav", "B.WAV", ".hidden.wav", "sub.wav"}));
  EXPECT_EQ(FindAll(dir + "/?.mp3", 0), (S{"c.mp3"}));
  EXPECT_EQ(FindAll(dir + "/*.*", 0), (S{"a.wav", "B.WAV", "c.mp3", "noext"}));
  EXPECT_EQ(FindAll(dir + "/noext.*", 0), (S{"noext"}));
  EXPECT_EQ(FindAll(dir + "/*", faDirectory),
            (S{".", "..", "a.wav", "B.WAV", "c.mp3", "noext", "sub.wav"}));
  EXPECT_TRUE(FindAll(dir + "/*.ogg", faAnyFile).empty());
  TSearchRec sr;
  EXPECT_NE(FindFirst(dir + "/missing/*", faAnyFile, sr), 0);
  ASSERT_EQ(FindFirst(dir + "/c.mp3", 0, sr), 0);
  EXPECT_EQ(sr.Size, 5);
  EXPECT_EQ(sr.Attr & faDirectory, 0);
  EXPECT_NE(FindNext(sr), 0);
  FindClose(sr);

  TTrackFiles tracks;
  TVirtualFileProvider* old = SetVirtualFileProvider(&tracks);
  EXPECT_EQ(FindAll("Q:\\*.cda", faAnyFile), (S{"Track01.cda"}));
  EXPECT_TRUE(FileExists("Q:\\Track01.cda"));
  EXPECT_FALSE(FileExists("Q:\\Track02.cda"));
  EXPECT_EQ(FindAll(dir + "/a.*", 0), (S{"a.wav"}));  // real paths still go to the disk
  SetVirtualFileProvider(old);
}

TEST(Program, ParamStr) {
  char arg0[] = "sonalix", arg1[] = "/music/a b.wav";
  char* argv[] = {arg0, arg1};
  SetCommandLine(2, argv);
  EXPECT_EQ(ParamCount(), 1);
  EXPECT_EQ(ParamStr(1), "/music/a b.wav");
  EXPECT_EQ(ParamStr(2), "");
  EXPECT_EQ(ParamStr(0).front(), '/');
  EXPECT_TRUE(FileExists(ParamStr(0)));
}
