#include "audio/SafeFileSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "audio/AudioFileError.h"

namespace fs = std::filesystem;

void RaiseWriteError(const std::string& shownName, const std::string& reason) {
  throw EAudioFileError("Cannot write the file \"" + shownName + "\": " + reason + ".");
}

namespace {
// The file a save has to replace: a symbolic link stays a link and its file gets the new sound.
fs::path FollowLinks(fs::path p) {
  std::error_code ec;
  for (int hops = 0; hops < 40 && fs::is_symlink(fs::symlink_status(p, ec)); ++hops) {
    const fs::path link = fs::read_symlink(p, ec);
    if (ec) break;
    p = link.is_absolute() ? link : p.parent_path() / link;
  }
  return p;
}
}  // namespace

TSafeFileSave::TSafeFileSave(const std::string& target) : FTarget(target) {
  if (fs::path(target).filename().empty()) RaiseWriteError(target, "no file name was given");
  const fs::path t = FollowLinks(target);
  FReplaced = t.string();
  fs::path dir = t.parent_path();
  if (dir.empty()) dir = ".";
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) RaiseWriteError(target, "the folder does not exist");
  if (fs::is_directory(t, ec)) RaiseWriteError(target, "a folder of that name exists");
  // A device or pipe is not swapped for a file.
  if (fs::exists(fs::status(t, ec)) && !fs::is_regular_file(t, ec))
    RaiseWriteError(target, "it is not a regular file");
  // Renaming over a file needs only the folder's permission; a file the user may not change is
  // not replaced behind their back.
  if (::access(t.c_str(), F_OK) == 0 && ::access(t.c_str(), W_OK) != 0)
    RaiseWriteError(target, std::strerror(errno));
  // The temporary name is the target's, shortened so that a name near the system's limit of
  // 255 bytes still leaves room for the dot and the unique ending.
  std::string stem = t.filename().string();
  if (stem.size() > 200) stem.resize(200);
  std::string pattern = (dir / ("." + stem + ".XXXXXX")).string();
  const int fd = mkstemp(pattern.data());
  if (fd < 0) RaiseWriteError(target, std::strerror(errno));
  // mkstemp makes the file private: a replaced file keeps its permissions, a new one gets those
  // of any file the user creates.
  struct stat old {};
  if (::stat(FReplaced.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
    // Owner first: changing it may clear the set-id bits the mode then puts back.
    if (fchown(fd, old.st_uid, old.st_gid) != 0) {
      // Not allowed (another owner, a group the user is not in): the file becomes the user's.
    }
    fchmod(fd, old.st_mode & 07777);
  } else {
    const mode_t mask = umask(0);
    umask(mask);
    fchmod(fd, 0666 & ~mask);
  }
  ::close(fd);
  FTemp = pattern;
}

TSafeFileSave::~TSafeFileSave() { Discard(); }

void TSafeFileSave::Discard() {
  if (FDone) return;
  FDone = true;
  ::unlink(FTemp.c_str());
}

void TSafeFileSave::Commit() {
  if (FDone) return;
  const int fd = ::open(FTemp.c_str(), O_RDONLY);
  if (fd < 0 || ::fsync(fd) != 0) {
    const int err = errno;
    if (fd >= 0) ::close(fd);
    RaiseWriteError(FTarget, std::strerror(err));
  }
  ::close(fd);
  if (::rename(FTemp.c_str(), FReplaced.c_str()) != 0)
    RaiseWriteError(FTarget, std::strerror(errno));
  FDone = true;
  // The new name is on disk only once its folder is.
  fs::path dir = fs::path(FReplaced).parent_path();
  if (dir.empty()) dir = ".";
  const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY);
  if (dirFd >= 0) {
    ::fsync(dirFd);
    ::close(dirFd);
  }
}

TCheckedFile::TCheckedFile(const std::string& path, const std::string& shownName, bool truncate)
    : FShown(shownName) {
  FFile = std::fopen(path.c_str(), truncate ? "wb" : "r+b");
  if (!FFile) Fail(errno);
  std::setvbuf(FFile, nullptr, _IOFBF, 1 << 16);
}

TCheckedFile::~TCheckedFile() {
  if (FFile) std::fclose(FFile);
}

void TCheckedFile::Fail(int error) const {
  RaiseWriteError(FShown, std::strerror(error ? error : EIO));
}

void TCheckedFile::Write(const void* data, size_t size) {
  if (size && std::fwrite(data, 1, size, FFile) != size) Fail(errno);
}

void TCheckedFile::Seek(int64_t offset) {
  if (fseeko(FFile, off_t(offset), SEEK_SET) != 0) Fail(errno);
}

int64_t TCheckedFile::Tell() const { return int64_t(ftello(FFile)); }

void TCheckedFile::Flush() {
  if (std::fflush(FFile) != 0) Fail(errno);
}

void TCheckedFile::Close() {
  if (!FFile) return;
  std::FILE* f = FFile;
  FFile = nullptr;
  const bool flushed = std::fflush(f) == 0;
  const int err = errno;
  const bool closed = std::fclose(f) == 0;
  if (!flushed || !closed) Fail(flushed ? errno : err);
}
