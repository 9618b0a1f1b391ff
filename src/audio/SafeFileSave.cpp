#include "audio/SafeFileSave.h"

#include <cerrno>
#include <cstring>

#include "audio/AudioFileError.h"
#include "platform/rtl/AtomicFile.h"

void RaiseWriteError(const std::string& shownName, const std::string& reason) {
  throw EAudioFileError("Cannot write the file \"" + shownName + "\": " + reason + ".");
}

TSafeFileSave::TSafeFileSave(const std::string& target) : FTarget(target) {
  try {
    FFile = std::make_unique<TAtomicFile>(target);
  } catch (const EAtomicFileError& e) {
    RaiseWriteError(target, e.Reason());
  }
}

TSafeFileSave::~TSafeFileSave() = default;

const std::string& TSafeFileSave::TempPath() const { return FFile->TempPath(); }

void TSafeFileSave::Discard() { FFile->Discard(); }

void TSafeFileSave::Commit() {
  try {
    FFile->Commit();
  } catch (const EAtomicFileError& e) {
    RaiseWriteError(FTarget, e.Reason());
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
