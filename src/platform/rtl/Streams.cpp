#include "platform/rtl/Streams.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDirIterator>
#include <QFile>
#include <algorithm>
#include <cerrno>
#include <map>

int64_t TStream::Size() {
  int64_t pos = Seek(0, soCurrent);
  int64_t size = Seek(0, soEnd);
  Seek(pos, soBeginning);
  return size;
}

void TStream::SetSize(int64_t) {}

void TStream::ReadBuffer(void* Buffer, int64_t Count) {
  if (Count != 0 && Read(Buffer, Count) != Count) throw EReadError("Stream read error");
}

void TStream::WriteBuffer(const void* Buffer, int64_t Count) {
  if (Count != 0 && Write(Buffer, Count) != Count) throw EWriteError("Stream write error");
}

int64_t TStream::CopyFrom(TStream* Source, int64_t Count) {
  if (Count == 0) {
    Source->SetPosition(0);
    Count = Source->Size();
  }
  const int64_t total = Count;
  std::vector<uint8_t> buf(std::size_t(std::min<int64_t>(Count, 1 << 16)));
  while (Count > 0) {
    int64_t n = std::min<int64_t>(Count, int64_t(buf.size()));
    Source->ReadBuffer(buf.data(), n);
    WriteBuffer(buf.data(), n);
    Count -= n;
  }
  return total;
}

// ---------------------------------------------------------------------------------------------

int64_t THandleStream::Read(void* Buffer, int64_t Count) {
  int64_t done = 0;
  while (Count > done) {
    ssize_t n = ::read(FHandle, static_cast<char*>(Buffer) + done, std::size_t(Count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t THandleStream::Write(const void* Buffer, int64_t Count) {
  int64_t done = 0;
  while (Count > done) {
    ssize_t n =
        ::write(FHandle, static_cast<const char*>(Buffer) + done, std::size_t(Count - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += n;
  }
  return done;
}

int64_t THandleStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  int whence = Origin == soBeginning ? SEEK_SET : Origin == soCurrent ? SEEK_CUR : SEEK_END;
  return int64_t(::lseek(FHandle, off_t(Offset), whence));
}

void THandleStream::SetSize(int64_t NewSize) {
  Seek(NewSize, soBeginning);
  if (::ftruncate(FHandle, off_t(NewSize)) != 0)
    throw EStreamError(Format("Stream write error. %s", {SysErrorMessage(errno)}));
}

TFileStream::TFileStream(const std::string& AFileName, uint16_t Mode)
    : THandleStream(-1), FFileName(AFileName) {
  if ((Mode & fmCreate) == fmCreate) {
    FHandle = ::open(AFileName.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (FHandle < 0)
      throw EFCreateError(
          Format("Cannot create file \"%s\". %s", {AFileName, SysErrorMessage(errno)}));
    return;
  }
  int flags = O_CLOEXEC;
  switch (Mode & 3) {
    case fmOpenWrite:
      flags |= O_WRONLY;
      break;
    case fmOpenReadWrite:
      flags |= O_RDWR;
      break;
    default:
      flags |= O_RDONLY;
      break;
  }
  FHandle = ::open(AFileName.c_str(), flags);
  int error = errno;
  if (FHandle >= 0) {
    // A folder opens read-only on POSIX; as a file stream it is an error.
    struct stat st;
    if (::fstat(FHandle, &st) == 0 && S_ISDIR(st.st_mode)) {
      ::close(FHandle);
      FHandle = -1;
      error = EISDIR;
    }
  }
  if (FHandle < 0)
    throw EFOpenError(Format("Cannot open file \"%s\". %s", {AFileName, SysErrorMessage(error)}));
}

TFileStream::~TFileStream() {
  if (FHandle >= 0) ::close(FHandle);
}

// ---------------------------------------------------------------------------------------------

int64_t TCustomMemoryStream::Read(void* Buffer, int64_t Count) {
  if (FPosition < 0 || Count <= 0 || FPosition >= FSize) return 0;
  int64_t n = std::min(Count, FSize - FPosition);
  std::memcpy(Buffer, static_cast<const uint8_t*>(FMemory) + FPosition, std::size_t(n));
  FPosition += n;
  return n;
}

int64_t TCustomMemoryStream::Seek(int64_t Offset, TSeekOrigin Origin) {
  switch (Origin) {
    case soBeginning:
      FPosition = Offset;
      break;
    case soCurrent:
      FPosition += Offset;
      break;
    case soEnd:
      FPosition = FSize + Offset;
      break;
  }
  return FPosition;
}

void TCustomMemoryStream::SaveToStream(TStream* Stream) { Stream->WriteBuffer(FMemory, FSize); }

void TCustomMemoryStream::SaveToFile(const std::string& FileName) {
  TFileStream f(FileName, fmCreate);
  SaveToStream(&f);
}

int64_t TMemoryStream::Write(const void* Buffer, int64_t Count) {
  if (FPosition < 0 || Count <= 0) return 0;
  int64_t end = FPosition + Count;
  if (end > FSize) SetSize(end);
  std::memcpy(FData.data() + FPosition, Buffer, std::size_t(Count));
  FPosition = end;
  return Count;
}

void TMemoryStream::SetSize(int64_t NewSize) {
  if (NewSize < 0) NewSize = 0;
  FData.resize(std::size_t(NewSize));
  SetPointer(FData.data(), NewSize);
  if (FPosition > NewSize) FPosition = NewSize;
}

void TMemoryStream::Clear() {
  FData.clear();
  SetPointer(nullptr, 0);
  FPosition = 0;
}

void TMemoryStream::LoadFromStream(TStream* Stream) {
  Stream->SetPosition(0);
  int64_t n = Stream->Size();
  SetSize(n);
  if (n) Stream->ReadBuffer(FData.data(), n);
  FPosition = 0;
}

void TMemoryStream::LoadFromFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead | fmShareDenyWrite);
  LoadFromStream(&f);
}

TStringStream::TStringStream(const std::string& AString) {
  if (!AString.empty()) {
    WriteBuffer(AString.data(), int64_t(AString.size()));
    FPosition = 0;
  }
}

std::string TStringStream::DataString() const {
  return std::string(reinterpret_cast<const char*>(FData.data()), FData.size());
}

std::string TStringStream::ReadString(int64_t Count) {
  if (FPosition < 0 || FPosition >= FSize || Count <= 0) return {};
  int64_t n = std::min(Count, FSize - FPosition);
  std::string s(reinterpret_cast<const char*>(FData.data()) + FPosition, std::size_t(n));
  FPosition += n;
  return s;
}

// ---------------------------------------------------------------------------------------------

namespace {
// Resources by upper-case "TYPE/NAME", rebuilt when a name is not found (resource files of
// static libraries may be registered after the first look-up).
std::map<std::string, std::string>& ResourceIndex() {
  static std::map<std::string, std::string> index;
  return index;
}

void RebuildResourceIndex() {
  auto& index = ResourceIndex();
  index.clear();
  QDirIterator it(":/res", QDir::Files, QDirIterator::Subdirectories);
  while (it.hasNext()) {
    QString path = it.next();
    QString key = path.mid(6).toUpper();  // after ":/res/"
    index[key.toStdString()] = path.toStdString();
  }
}
}  // namespace

std::string FindResourcePath(const std::string& ResName, const std::string& ResType) {
  std::string key = UpperCase(ResType) + "/" + UpperCase(ResName);
  auto& index = ResourceIndex();
  auto it = index.find(key);
  if (it == index.end()) {
    RebuildResourceIndex();
    it = index.find(key);
    if (it == index.end()) return {};
  }
  return it->second;
}

TResourceStream::TResourceStream(const std::string& ResName, const std::string& ResType) {
  std::string path = FindResourcePath(ResName, ResType);
  if (path.empty()) throw EResNotFound(Format("Resource %s not found", {ResName}));
  Load(path, ResName);
}

TResourceStream::TResourceStream(const std::string& ResourcePath) {
  Load(ResourcePath, ResourcePath);
}

void TResourceStream::Load(const std::string& path, const std::string& shownName) {
  QFile f(QString::fromStdString(path));
  if (!f.open(QIODevice::ReadOnly))
    throw EResNotFound(Format("Resource %s not found", {shownName}));
  QByteArray bytes = f.readAll();
  FData.assign(bytes.begin(), bytes.end());
  SetPointer(FData.data(), int64_t(FData.size()));
}

int64_t TResourceStream::Write(const void*, int64_t) {
  throw EStreamError("Can't write to a read-only resource stream");
}
