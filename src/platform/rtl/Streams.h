#pragma once
// Streams: the abstract TStream with its checked buffer operations, streams over file
// descriptors and files, memory and string streams, and read-only streams over embedded
// resources.

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/System.h"

enum class TSeekOrigin { soBeginning, soCurrent, soEnd };
using enum TSeekOrigin;

class TStream : public TObject {
 public:
  // Read and Write move at most Count bytes and return how many they moved.
  virtual int64_t Read(void* Buffer, int64_t Count) = 0;
  virtual int64_t Write(const void* Buffer, int64_t Count) = 0;
  // Returns the new position.
  virtual int64_t Seek(int64_t Offset, TSeekOrigin Origin) = 0;

  int64_t Position() { return Seek(0, soCurrent); }
  void SetPosition(int64_t Value) { Seek(Value, soBeginning); }
  virtual int64_t Size();
  virtual void SetSize(int64_t NewSize);

  // Raise EReadError "Stream read error" / EWriteError "Stream write error" when fewer than
  // Count bytes move.
  void ReadBuffer(void* Buffer, int64_t Count);
  void WriteBuffer(const void* Buffer, int64_t Count);
  // Copies Count bytes from Source's position; Count 0 copies all of Source from its start.
  int64_t CopyFrom(TStream* Source, int64_t Count);

  // Values in the machine's (little-endian) byte order.
  template <class T>
  T ReadValue() {
    static_assert(std::is_trivially_copyable_v<T>);
    T v;
    ReadBuffer(&v, sizeof v);
    return v;
  }
  template <class T>
  void WriteValue(const T& v) {
    static_assert(std::is_trivially_copyable_v<T>);
    WriteBuffer(&v, sizeof v);
  }
  void WriteString(const std::string& s) { WriteBuffer(s.data(), int64_t(s.size())); }
};

// A stream over an open file descriptor, which it does not close.
class THandleStream : public TStream {
 public:
  explicit THandleStream(int AHandle) : FHandle(AHandle) {}
  int Handle() const { return FHandle; }
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Write(const void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  void SetSize(int64_t NewSize) override;

 protected:
  int FHandle = -1;
};

// Open modes of TFileStream. Share flags are accepted and have no effect: files are not locked
// against other openers.
constexpr uint16_t fmCreate = 0xFF00;
constexpr uint16_t fmOpenRead = 0x0000, fmOpenWrite = 0x0001, fmOpenReadWrite = 0x0002;
constexpr uint16_t fmShareCompat = 0x0000, fmShareExclusive = 0x0010, fmShareDenyWrite = 0x0020,
                   fmShareDenyRead = 0x0030, fmShareDenyNone = 0x0040;

class TFileStream : public THandleStream {
 public:
  // fmCreate creates the file or empties an existing one (read and write). Raises EFCreateError
  // "Cannot create file \"%s\". %s" or EFOpenError "Cannot open file \"%s\". %s" with the
  // system's reason.
  TFileStream(const std::string& AFileName, uint16_t Mode);
  ~TFileStream() override;
  const std::string& FileName() const { return FFileName; }

 private:
  std::string FFileName;
};

// A stream over a block of memory it does not grow.
class TCustomMemoryStream : public TStream {
 public:
  int64_t Read(void* Buffer, int64_t Count) override;
  int64_t Seek(int64_t Offset, TSeekOrigin Origin) override;
  int64_t Size() override { return FSize; }
  const void* Memory() const { return FMemory; }
  void SaveToStream(TStream* Stream);
  void SaveToFile(const std::string& FileName);

 protected:
  void SetPointer(const void* Ptr, int64_t Size) {
    FMemory = Ptr;
    FSize = Size;
  }
  const void* FMemory = nullptr;
  int64_t FSize = 0;
  int64_t FPosition = 0;
};

// A growable stream in memory; positions past the end may be written (the gap reads as zeros).
class TMemoryStream : public TCustomMemoryStream {
 public:
  int64_t Write(const void* Buffer, int64_t Count) override;
  void SetSize(int64_t NewSize) override;
  void* Memory() { return FData.data(); }
  const void* Memory() const { return FData.data(); }
  void Clear();
  void LoadFromStream(TStream* Stream);
  void LoadFromFile(const std::string& FileName);

 protected:
  std::vector<uint8_t> FData;
};

// A memory stream whose content is a string.
class TStringStream : public TMemoryStream {
 public:
  explicit TStringStream(const std::string& AString = {});
  std::string DataString() const;
  // Reads up to Count bytes from the position.
  std::string ReadString(int64_t Count);
};

// A read-only stream over an embedded resource. Resources are looked up by type and name in
// ":/res/<TYPE>/<NAME>" (case-insensitive, as the platform's are), or directly by a ":/" path.
// Raises EResNotFound "Resource %s not found" when absent.
class TResourceStream : public TCustomMemoryStream {
 public:
  TResourceStream(const std::string& ResName, const std::string& ResType);
  explicit TResourceStream(const std::string& ResourcePath);
  int64_t Write(const void* Buffer, int64_t Count) override;

 private:
  void Load(const std::string& path, const std::string& shownName);
  std::vector<uint8_t> FData;
};

// The ":/..." path of a resource, "" when absent (case-insensitive type and name).
std::string FindResourcePath(const std::string& ResName, const std::string& ResType);
