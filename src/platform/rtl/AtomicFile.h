#pragma once
// Replacing a file so that it is never seen half written: the new content goes to a temporary
// file in the target's folder, reaches the disk, and only then takes the target's name. Until
// then, and whenever something fails, the old file stays exactly as it was.
//
// - A symbolic link stays a link: the file it leads to is replaced (a dangling link gets its
//   file made where it points).
// - A replaced file keeps its permissions and, where the system allows, its owner; a new file
//   gets NewFileMode less the umask.
// - What is not a regular file (a folder, a pipe, a device) is never replaced, nor is a file the
//   user may not write to (renaming over it would need only the folder's permission).
// - Temporary files are named ".<name>.sonalix-XXXXXX" and locked while in use. Those that a
//   killed save left behind (older than this process and locked by nobody) are removed when
//   the next save goes into their folder.

#include <sys/types.h>

#include <cstddef>
#include <string>

#include "platform/rtl/SysUtils.h"

// Reason() is the cause alone ("Permission denied", "No such file or directory"), so that each
// caller can put it into its own message.
class EAtomicFileError : public EInOutError {
 public:
  EAtomicFileError(const std::string& FileName, const std::string& Reason);
  const std::string& FileName() const { return FFileName; }
  const std::string& Reason() const { return FReason; }

 private:
  std::string FFileName, FReason;
};

class TAtomicFile {
 public:
  // Creates the temporary file; raises EAtomicFileError when the target may not be replaced.
  explicit TAtomicFile(const std::string& FileName, mode_t NewFileMode = 0666);
  ~TAtomicFile();  // removes the temporary file unless committed
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  const std::string& FileName() const { return FFileName; }
  // The file that gets replaced: FileName with symbolic links followed.
  const std::string& Target() const { return FTarget; }
  // Writers that open files by name write here.
  const std::string& TempPath() const { return FTemp; }

  void Write(const void* Data, std::size_t Size);
  // Puts the temporary file's content on disk and renames it over the target.
  void Commit();
  void Discard();

 private:
  [[noreturn]] void Fail(const std::string& Reason) const;
  std::string FFileName, FTarget, FTemp;
  int FFd = -1;
  bool FDone = false;
};

// The file a path leads to: symbolic links followed, also to where a dangling one points.
std::string FollowSymlinks(const std::string& FileName);

// The whole content at once; raises EAtomicFileError.
void WriteFileAtomically(const std::string& FileName, const std::string& Data,
                         mode_t NewFileMode = 0666);
