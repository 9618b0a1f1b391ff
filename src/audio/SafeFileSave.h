#pragma once
// Saving that never damages the file being replaced (platform/rtl/AtomicFile.h), with the
// errors of the audio components.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

class TAtomicFile;

class TSafeFileSave {
 public:
  // Creates the temporary file; raises EAudioFileError when the folder is missing or unwritable.
  explicit TSafeFileSave(const std::string& target);
  ~TSafeFileSave();  // removes the temporary file unless committed
  TSafeFileSave(const TSafeFileSave&) = delete;
  TSafeFileSave& operator=(const TSafeFileSave&) = delete;

  const std::string& Target() const { return FTarget; }
  const std::string& TempPath() const;
  // Flushes the temporary file to disk and renames it over the target.
  void Commit();
  void Discard();

 private:
  std::string FTarget;
  std::unique_ptr<TAtomicFile> FFile;
};

// A file written with every error checked; errors name the file the user asked for.
class TCheckedFile {
 public:
  TCheckedFile(const std::string& path, const std::string& shownName, bool truncate = true);
  ~TCheckedFile();
  TCheckedFile(const TCheckedFile&) = delete;
  TCheckedFile& operator=(const TCheckedFile&) = delete;

  void Write(const void* data, size_t size);
  void Seek(int64_t offset);
  int64_t Tell() const;
  void Flush();
  // Flushes and closes; raises on any error met.
  void Close();
  [[noreturn]] void Fail(int error) const;

 private:
  std::FILE* FFile = nullptr;
  std::string FShown;
};

// Raises the writer's error for a file: "Cannot write the file "x": reason."
[[noreturn]] void RaiseWriteError(const std::string& shownName, const std::string& reason);
