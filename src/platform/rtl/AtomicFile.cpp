#include "platform/rtl/AtomicFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace fs = std::filesystem;

EAtomicFileError::EAtomicFileError(const std::string& FileName, const std::string& Reason)
    : EInOutError("Cannot write the file \"" + FileName + "\": " + Reason + "."),
      FFileName(FileName),
      FReason(Reason) {}

namespace {

const char kTempMark[] = ".sonalix-";
constexpr std::size_t kTempMarkSize = sizeof kTempMark - 1;
constexpr std::size_t kUniqueSize = 6;

fs::path FollowLinks(fs::path p) {
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
    const fs::path link = fs::read_symlink(p, ec);
    if (ec) break;
    p = link.is_absolute() ? link : p.parent_path() / link;
  }
  return p;
}

bool IsUniquePart(const std::string& s) {
  if (s.size() != kUniqueSize) return false;
  for (char c : s)
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')))
      return false;
  return true;
}

// ".<name>.sonalix-XXXXXX"
bool IsOurTempName(const std::string& name) {
  const std::size_t min = 1 + 1 + kTempMarkSize + kUniqueSize;
  if (name.size() < min || name[0] != '.') return false;
  const std::size_t mark = name.size() - kUniqueSize - kTempMarkSize;
  return name.compare(mark, kTempMarkSize, kTempMark) == 0 &&
         IsUniquePart(name.substr(name.size() - kUniqueSize));
}

// When this process started, in seconds since the epoch; 0 when the system does not say.
time_t ProcessStart() {
  static const time_t start = [] {
    std::ifstream statFile("/proc/self/stat");
    std::string stat((std::istreambuf_iterator<char>(statFile)), {});
    // The command name may hold blanks and parentheses: fields are counted after the last ')'.
    const std::size_t close = stat.rfind(')');
    if (close == std::string::npos) return time_t(0);
    std::istringstream fields(stat.substr(close + 2));
    std::string field;
    unsigned long long ticks = 0;
    for (int i = 3; i <= 22 && fields >> field; ++i)
      if (i == 22) ticks = std::strtoull(field.c_str(), nullptr, 10);
    std::ifstream kernel("/proc/stat");
    std::string line;
    long long boot = 0;
    while (std::getline(kernel, line))
      if (line.starts_with("btime ")) boot = std::strtoll(line.c_str() + 6, nullptr, 10);
    const long hz = ::sysconf(_SC_CLK_TCK);
    if (boot <= 0 || hz <= 0) return time_t(0);
    return time_t(boot + (long long)(ticks / (unsigned long long)hz));
  }();
  return start;
}

// Removes the temporary files of saves that never finished: older than this process, of our own
// pattern, and not locked by a save still running in another process.
void RemoveLeftovers(const fs::path& folder) {
  const time_t start = ProcessStart();
  if (start == 0) return;
  DIR* dir = ::opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = ::readdir(dir)) {
    const std::string name = entry->d_name;
    if (!IsOurTempName(name)) continue;
    const fs::path path = folder / name;
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) continue;
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_mtime < start &&
        ::flock(fd, LOCK_EX | LOCK_NB) == 0)
      ::unlink(path.c_str());
    ::close(fd);
  }
  ::closedir(dir);
}

std::string UniquePart() {
  static const char letters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  static thread_local std::mt19937_64 random(std::random_device{}() ^ uint64_t(::getpid()));
  std::string s(kUniqueSize, 'a');
  for (char& c : s) c = letters[random() % (sizeof letters - 1)];
  return s;
}

void SyncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

}  // namespace

TAtomicFile::TAtomicFile(const std::string& FileName, mode_t NewFileMode) : FFileName(FileName) {
  if (fs::path(FileName).filename().empty()) Fail("no file name was given");
  const fs::path target = FollowLinks(FileName);
  FTarget = target.string();
  fs::path folder = target.parent_path();
  if (folder.empty()) folder = ".";
  struct stat st {};
  if (::stat(folder.c_str(), &st) != 0) Fail(std::strerror(errno));
  if (!S_ISDIR(st.st_mode)) Fail(std::strerror(ENOTDIR));
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);
  if (fs::is_directory(status)) Fail(std::strerror(EISDIR));
  if (fs::exists(status) && !fs::is_regular_file(status)) Fail("it is not a regular file");
  if (::access(FTarget.c_str(), F_OK) == 0 && ::access(FTarget.c_str(), W_OK) != 0)
    Fail(std::strerror(errno));
  RemoveLeftovers(folder);

  // A name near the system's limit of 255 bytes still leaves room for the ending.
  std::string stem = target.filename().string();
  if (stem.size() > 200) stem.resize(200);
  for (int attempt = 0; FFd < 0; ++attempt) {
    FTemp = (folder / ("." + stem + kTempMark + UniquePart())).string();
    FFd = ::open(FTemp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, NewFileMode & 0777);
    if (FFd < 0 && (errno != EEXIST || attempt > 100)) {
      const int error = errno;
      FTemp.clear();
      Fail(std::strerror(error));
    }
  }
  // Locked for as long as the save runs, so that no other process takes it for a leftover.
  ::flock(FFd, LOCK_EX | LOCK_NB);
  struct stat old {};
  if (::stat(FTarget.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    // Owner first: changing it may clear the set-id bits that the mode then puts back. Another
    // owner than the user is kept only where the system allows it.
    if (::fchown(FFd, old.st_uid, old.st_gid) != 0) {
    }
    ::fchmod(FFd, old.st_mode & 07777);
  }
}

TAtomicFile::~TAtomicFile() { Discard(); }

void TAtomicFile::Fail(const std::string& Reason) const { throw EAtomicFileError(FFileName, Reason); }

void TAtomicFile::Discard() {
  if (FDone) return;
  FDone = true;
  if (!FTemp.empty()) ::unlink(FTemp.c_str());
  if (FFd >= 0) ::close(FFd);
  FFd = -1;
}

void TAtomicFile::Write(const void* Data, std::size_t Size) {
  const char* p = static_cast<const char*>(Data);
  while (Size > 0) {
    const ssize_t n = ::write(FFd, p, Size);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) Fail(std::strerror(n < 0 ? errno : EIO));
    p += n;
    Size -= std::size_t(n);
  }
}

void TAtomicFile::Commit() {
  if (FDone) return;
  // By name: writers that open the temporary file themselves may have written through another
  // descriptor.
  const int fd = ::open(FTemp.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0 || ::fsync(fd) != 0) {
    const int error = errno;
    if (fd >= 0) ::close(fd);
    Fail(std::strerror(error));
  }
  ::close(fd);
  if (::rename(FTemp.c_str(), FTarget.c_str()) != 0) Fail(std::strerror(errno));
  FDone = true;
  ::close(FFd);  // only now: the lock kept the file from being taken for a leftover
  FFd = -1;
  // The new name is on disk only once its folder is.
  fs::path folder = fs::path(FTarget).parent_path();
  SyncFolder(folder.empty() ? fs::path(".") : folder);
}

std::string FollowSymlinks(const std::string& FileName) { return FollowLinks(FileName).string(); }

void WriteFileAtomically(const std::string& FileName, const std::string& Data,
                         mode_t NewFileMode) {
  TAtomicFile file(FileName, NewFileMode);
  file.Write(Data.data(), Data.size());
  file.Commit();
}
