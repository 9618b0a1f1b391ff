// Path, file and program-argument helpers of SysUtils.h.
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <vector>

#include "platform/rtl/SysUtils.h"

namespace {

bool HasDrive(const std::string& p) {
  return p.size() >= 2 && p[1] == ':' &&
         ((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z'));
}

// Index of the last folder delimiter, or npos.
std::size_t LastDelimiter(const std::string& p) {
  const bool drive = HasDrive(p);
  for (std::size_t i = p.size(); i-- > 0;)
    if (p[i] == '/' || (drive && p[i] == '\\')) return i;
  return std::string::npos;
}

// Index where the name part starts: after the last delimiter, or after "X:".
std::size_t NameStart(const std::string& p) {
  std::size_t d = LastDelimiter(p);
  if (d != std::string::npos) return d + 1;
  return HasDrive(p) ? 2 : 0;
}

char DelimiterFor(const std::string& p) {
  if (HasDrive(p) && p.find('/') == std::string::npos) return '\\';
  return '/';
}

TVirtualFileProvider* gProvider = nullptr;

TDateTime FromFileTime(const timespec& ts) {
  std::tm tm{};
  time_t secs = ts.tv_sec;
  localtime_r(&secs, &tm);
  return EncodeDate(tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday) +
         (tm.tm_hour * 3600000.0 + tm.tm_min * 60000.0 + tm.tm_sec * 1000.0 +
          double(ts.tv_nsec / 1000000)) /
             MSecsPerDay;
}

bool StatPath(const std::string& path, struct stat& st) {
  return !path.empty() && ::stat(path.c_str(), &st) == 0;
}

// Wildcard match, ASCII case-insensitive: '*' any run, '?' one character.
bool MatchesMask(const std::string& name, const std::string& mask) {
  if (mask == "*" || mask == "*.*") return true;
  std::size_t n = 0, m = 0, starM = std::string::npos, starN = 0;
  auto up = [](char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; };
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == '?' || up(mask[m]) == up(name[n]))) {
      ++n;
      ++m;
    } else if (m < mask.size() && mask[m] == '*') {
      starM = m++;
      starN = n;
    } else if (starM != std::string::npos) {
      m = starM + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == '*') ++m;
  // "name.*" also matches "name" without an extension.
  if (m + 2 == mask.size() && mask[m] == '.' && mask[m + 1] == '*') return true;
  return m == mask.size();
}

int AttributesOf(const std::string& name, const struct stat& st, bool isLink) {
  int attr = 0;
  if (S_ISDIR(st.st_mode))
    attr |= faDirectory;
  else if (!S_ISREG(st.st_mode))
    attr |= faSysFile;
  if (name.size() > 1 && name[0] == '.' && name != "..") attr |= faHidden;
  if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH))) attr |= faReadOnly;
  if (isLink) attr |= faSymLink;
  if (attr == 0) attr = faArchive;
  return attr;
}

std::vector<std::string> gArgs;
bool gArgsSet = false;

}  // namespace

struct TFindState {
  std::vector<TSearchRec> Entries;
  std::size_t Next = 0;
};

bool IsPathDelimiter(const std::string& Path, int Index) {
  if (Index < 0 || Index >= int(Path.size())) return false;
  char c = Path[std::size_t(Index)];
  return c == '/' || (c == '\\' && HasDrive(Path));
}

std::string ExtractFileDrive(const std::string& FileName) {
  return HasDrive(FileName) ? FileName.substr(0, 2) : std::string();
}

std::string ExtractFilePath(const std::string& FileName) {
  return FileName.substr(0, NameStart(FileName));
}

std::string ExtractFileDir(const std::string& FileName) {
  std::size_t d = LastDelimiter(FileName);
  if (d == std::string::npos) return FileName.substr(0, NameStart(FileName));
  // Keep the delimiter of a root ("/", "D:\").
  if (d == 0 || (HasDrive(FileName) && d == 2)) return FileName.substr(0, d + 1);
  return FileName.substr(0, d);
}

std::string ExtractFileName(const std::string& FileName) {
  return FileName.substr(NameStart(FileName));
}

std::string ExtractFileExt(const std::string& FileName) {
  std::size_t start = NameStart(FileName);
  std::size_t dot = FileName.rfind('.');
  if (dot == std::string::npos || dot < start) return {};
  return FileName.substr(dot);
}

std::string ChangeFileExt(const std::string& FileName, const std::string& Extension) {
  std::size_t start = NameStart(FileName);
  std::size_t dot = FileName.rfind('.');
  if (dot == std::string::npos || dot < start) dot = FileName.size();
  return FileName.substr(0, dot) + Extension;
}

std::string IncludeTrailingPathDelimiter(const std::string& S) {
  if (!S.empty() && IsPathDelimiter(S, int(S.size()) - 1)) return S;
  return S + DelimiterFor(S);
}

std::string ExcludeTrailingPathDelimiter(const std::string& S) {
  if (!S.empty() && IsPathDelimiter(S, int(S.size()) - 1)) return S.substr(0, S.size() - 1);
  return S;
}

std::string ExpandFileName(const std::string& FileName) {
  if (FileName.empty()) return {};
  if (HasDrive(FileName)) return FileName;
  std::string path =
      FileName[0] == '/' ? FileName : IncludeTrailingPathDelimiter(GetCurrentDir()) + FileName;
  std::vector<std::string> parts;
  std::size_t i = 0;
  while (i <= path.size()) {
    std::size_t j = path.find('/', i);
    if (j == std::string::npos) j = path.size();
    std::string part = path.substr(i, j - i);
    if (part == "..") {
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.push_back(part);
    }
    i = j + 1;
  }
  std::string r;
  for (const auto& p : parts) r += "/" + p;
  // A trailing delimiter stays: it names a folder.
  if (path.back() == '/' && !parts.empty()) r += '/';
  return r.empty() ? "/" : r;
}

TVirtualFileProvider* SetVirtualFileProvider(TVirtualFileProvider* Provider) {
  TVirtualFileProvider* old = gProvider;
  gProvider = Provider;
  return old;
}

int FindFirst(const std::string& Path, int Attr, TSearchRec& F) {
  FindClose(F);
  std::string folder = ExtractFilePath(Path);
  std::string mask = ExtractFileName(Path);
  if (mask.empty()) return ENOENT;
  auto state = std::make_shared<TFindState>();
  std::vector<TSearchRec> all;
  if (gProvider && gProvider->Handles(Path)) {
    if (!gProvider->ListFolder(folder, all)) return ENOENT;
  } else {
    std::string dir = folder.empty() ? "." : folder;
    DIR* d = opendir(dir.c_str());
    if (!d) return errno ? errno : ENOENT;
    while (dirent* e = readdir(d)) {
      TSearchRec r;
      r.Name = e->d_name;
      std::string full = IncludeTrailingPathDelimiter(dir) + r.Name;
      struct stat lst, st;
      if (::lstat(full.c_str(), &lst) != 0) continue;
      bool isLink = S_ISLNK(lst.st_mode);
      if (!isLink)
        st = lst;
      else if (::stat(full.c_str(), &st) != 0)
        st = lst;  // dangling link
      r.Attr = AttributesOf(r.Name, st, isLink);
      r.Size = S_ISDIR(st.st_mode) ? 0 : int64_t(st.st_size);
      r.TimeStamp = FromFileTime(st.st_mtim);
      all.push_back(std::move(r));
    }
    closedir(d);
  }
  // Entries with attributes outside Attr are skipped; read-only, archive, normal and link
  // attributes never exclude an entry.
  const int exclude = ~Attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  for (auto& r : all) {
    if (r.Attr & exclude) continue;
    if (!MatchesMask(r.Name, mask)) continue;
    r.ExcludeAttr = exclude;
    state->Entries.push_back(std::move(r));
  }
  if (state->Entries.empty()) return ENOENT;
  F.FindHandle = state;
  return FindNext(F);
}

int FindNext(TSearchRec& F) {
  if (!F.FindHandle || F.FindHandle->Next >= F.FindHandle->Entries.size()) return ENOENT;
  std::shared_ptr<TFindState> state = F.FindHandle;
  const TSearchRec& r = state->Entries[state->Next++];
  F.Attr = r.Attr;
  F.Size = r.Size;
  F.TimeStamp = r.TimeStamp;
  F.Name = r.Name;
  F.ExcludeAttr = r.ExcludeAttr;
  return 0;
}

void FindClose(TSearchRec& F) { F.FindHandle.reset(); }

bool FileExists(const std::string& FileName) {
  if (gProvider && gProvider->Handles(FileName)) return gProvider->FileExists(FileName);
  struct stat st;
  return StatPath(FileName, st) && !S_ISDIR(st.st_mode);
}

bool DirectoryExists(const std::string& Directory) {
  struct stat st;
  return StatPath(Directory, st) && S_ISDIR(st.st_mode);
}

bool CreateDir(const std::string& Dir) { return !Dir.empty() && ::mkdir(Dir.c_str(), 0777) == 0; }

bool RemoveDir(const std::string& Dir) { return !Dir.empty() && ::rmdir(Dir.c_str()) == 0; }

bool ForceDirectories(const std::string& Dir) {
  std::string d = ExcludeTrailingPathDelimiter(Dir);
  if (d.empty()) return Dir == "/";
  if (DirectoryExists(d)) return true;
  std::string parent = ExtractFileDir(d);
  if (!parent.empty() && parent != d && !ForceDirectories(parent)) return false;
  return CreateDir(d) || DirectoryExists(d);
}

bool DeleteFile(const std::string& FileName) {
  struct stat st;
  if (FileName.empty() || ::lstat(FileName.c_str(), &st) != 0 || S_ISDIR(st.st_mode)) return false;
  return ::unlink(FileName.c_str()) == 0;
}

bool RenameFile(const std::string& OldName, const std::string& NewName) {
  if (OldName.empty() || NewName.empty()) return false;
  if (::renameat2(AT_FDCWD, OldName.c_str(), AT_FDCWD, NewName.c_str(), RENAME_NOREPLACE) == 0)
    return true;
  if (errno != EINVAL && errno != ENOSYS) return false;
  // File systems without the no-replace flag.
  struct stat st;
  if (::lstat(NewName.c_str(), &st) == 0) return false;
  return ::rename(OldName.c_str(), NewName.c_str()) == 0;
}

bool FileAge(const std::string& FileName, TDateTime& FileDateTime) {
  struct stat st;
  if (!StatPath(FileName, st)) return false;
  FileDateTime = FromFileTime(st.st_mtim);
  return true;
}

int64_t FileSizeByName(const std::string& FileName) {
  struct stat st;
  if (!StatPath(FileName, st) || S_ISDIR(st.st_mode)) return -1;
  return int64_t(st.st_size);
}

bool FileIsReadOnly(const std::string& FileName) {
  return !FileName.empty() && ::access(FileName.c_str(), W_OK) != 0 && errno == EACCES;
}

std::string GetCurrentDir() {
  std::vector<char> buf(4096);
  while (!::getcwd(buf.data(), buf.size())) {
    if (errno != ERANGE) return {};
    buf.resize(buf.size() * 2);
  }
  return buf.data();
}

bool SetCurrentDir(const std::string& Dir) { return !Dir.empty() && ::chdir(Dir.c_str()) == 0; }

std::string GetEnvironmentVariable(const std::string& Name) {
  const char* v = std::getenv(Name.c_str());
  return v ? v : "";
}

std::string SysErrorMessage(int ErrorCode) {
  char buf[256];
  // GNU strerror_r returns the text, which may or may not be buf.
  return ::strerror_r(ErrorCode, buf, sizeof buf);
}

void SetCommandLine(int argc, char** argv) {
  gArgs.assign(argv, argv + argc);
  gArgsSet = true;
}

namespace {
std::string ProgramPath() {
  char buf[4096];
  ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  if (n > 0) return std::string(buf, std::size_t(n));
  return gArgs.empty() ? std::string() : ExpandFileName(gArgs[0]);
}

const std::vector<std::string>& Args() {
  if (!gArgsSet && QCoreApplication::instance()) {
    static std::vector<std::string> fromQt;
    fromQt.clear();
    for (const QString& a : QCoreApplication::arguments()) fromQt.push_back(a.toStdString());
    return fromQt;
  }
  return gArgs;
}
}  // namespace

int ParamCount() {
  const auto& a = Args();
  return a.empty() ? 0 : int(a.size()) - 1;
}

std::string ParamStr(int Index) {
  if (Index == 0) return ProgramPath();
  const auto& a = Args();
  if (Index < 0 || Index >= int(a.size())) return {};
  return a[std::size_t(Index)];
}
