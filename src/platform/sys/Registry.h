#pragma once
// The registry: a hierarchical store of typed values (string, integer, binary) under the hives
// the program uses, kept in one text file per user and shared safely by running instances.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"

class TStrings;

using HKEY = uint32_t;
inline constexpr HKEY HKEY_CLASSES_ROOT = 0x80000000u;
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001u;
inline constexpr HKEY HKEY_LOCAL_MACHINE = 0x80000002u;

SONALIX_DECLARE_EXCEPTION(ERegistryException, Exception);

enum class TRegDataType { rdUnknown, rdString, rdInteger, rdBinary };
using enum TRegDataType;

struct TRegValue {
  TRegDataType Type = rdUnknown;
  std::string Text;     // rdString
  int32_t Integer = 0;  // rdInteger
  std::string Bytes;    // rdBinary
  bool operator==(const TRegValue&) const = default;
};

// One store file: the tree read from it plus the changes this process made since it last wrote.
// Writing merges those changes, under an advisory lock, into what the file holds by then, so two
// instances never erase each other's keys; the file is replaced atomically.
class TRegistryStore {
 public:
  explicit TRegistryStore(std::string FileName);
  ~TRegistryStore();
  TRegistryStore(const TRegistryStore&) = delete;
  TRegistryStore& operator=(const TRegistryStore&) = delete;

  const std::string& FileName() const { return FFileName; }

  // The user's store, $XDG_CONFIG_HOME/sonalix/registry, unless replaced by SetDefault.
  static std::shared_ptr<TRegistryStore> Default();
  static void SetDefault(std::shared_ptr<TRegistryStore> Store);

  // Rereads the file when another process has replaced it; changes not yet written are kept.
  void Refresh();
  // Writes the pending changes merged with the file's current content. False (reported on
  // stderr) when the file could not be written; the changes then stay pending.
  bool Commit();
  bool HasPendingChanges() const;

  // Paths are lists of key names, the hive's name first ("HKEY_CURRENT_USER"); names compare
  // without regard to ASCII case.
  using TPath = std::vector<std::string>;
  bool KeyExists(const TPath& Path);
  bool CreateKey(const TPath& Path);
  bool DeleteKey(const TPath& Path);  // with its subkeys
  bool FindValue(const TPath& Path, const std::string& Name, TRegValue& Value);
  bool SetValue(const TPath& Path, const std::string& Name, const TRegValue& Value);
  bool DeleteValue(const TPath& Path, const std::string& Name);
  bool ValueNames(const TPath& Path, std::vector<std::string>& Names);
  bool KeyNames(const TPath& Path, std::vector<std::string>& Names);

  struct TNode;
  struct TChange;

 private:
  void EnsureLoaded();
  void Apply(TNode& Root, const TChange& Change);
  void Record(TChange Change);

  std::string FFileName;
  mutable std::recursive_mutex FLock;
  std::unique_ptr<TNode> FRoot;
  std::vector<TChange> FPending;
  bool FLoaded = false;
  struct TFileId {
    uint64_t Device = 0, Inode = 0, Size = 0;
    int64_t MTimeNs = 0;
    bool Exists = false;
    bool operator==(const TFileId&) const = default;
  } FFileId;
};

// Access to one key at a time under a root key, as the program's settings code expects it.
// Changes are written to the store when the key is closed (or the object freed).
class TRegistry : public TObject {
 public:
  TRegistry();
  explicit TRegistry(std::shared_ptr<TRegistryStore> Store);
  ~TRegistry() override;

  HKEY RootKey() const { return FRootKey; }
  void SetRootKey(HKEY Value);
  // The open key's path below the root, without a leading backslash; empty when none is open.
  const std::string& CurrentPath() const { return FCurrentPath; }
  bool KeyIsOpen() const { return FKeyOpen; }

  // A key starting with "\" is taken from the root, otherwise from the open key (if any).
  bool OpenKey(const std::string& Key, bool CanCreate);
  bool OpenKeyReadOnly(const std::string& Key);
  void CloseKey();
  // Raises ERegistryException "Failed to create key %s" when the key cannot be made.
  bool CreateKey(const std::string& Key);
  bool DeleteKey(const std::string& Key);
  bool KeyExists(const std::string& Key);
  bool HasSubKeys();

  bool DeleteValue(const std::string& Name);
  bool ValueExists(const std::string& Name);
  TRegDataType GetDataType(const std::string& Name);
  // Stored size in bytes (a string counts its terminating zero), -1 when there is no such value.
  int GetDataSize(const std::string& Name);
  void GetValueNames(std::vector<std::string>& Names);
  void GetKeyNames(std::vector<std::string>& Names);
  // Clear Strings and fill it with the names.
  void GetValueNames(TStrings* Strings);
  void GetKeyNames(TStrings* Strings);

  // Reading a value of another type raises ERegistryException "Invalid data type for '%s'";
  // reading a missing integer raises "Failed to get data for '%s'"; a missing string reads as
  // empty text. A write that cannot happen raises "Failed to set data for '%s'".
  std::string ReadString(const std::string& Name);
  void WriteString(const std::string& Name, const std::string& Value);
  int ReadInteger(const std::string& Name);
  void WriteInteger(const std::string& Name, int Value);
  bool ReadBool(const std::string& Name);  // any integer but 0 is true
  void WriteBool(const std::string& Name, bool Value);
  // Copies the binary value into Buffer and returns its size; 0 when the value is missing.
  // Another type, or a value larger than BufSize, raises "Invalid data type for '%s'".
  int ReadBinaryData(const std::string& Name, void* Buffer, int BufSize);
  void WriteBinaryData(const std::string& Name, const void* Buffer, int BufSize);

 private:
  bool Resolve(const std::string& Key, TRegistryStore::TPath& Path) const;
  TRegistryStore::TPath CurrentKeyPath() const;
  bool ReadValue(const std::string& Name, TRegValue& Value);
  void PutValue(const std::string& Name, const TRegValue& Value);

  std::shared_ptr<TRegistryStore> FStore;
  HKEY FRootKey = HKEY_CURRENT_USER;
  std::string FCurrentPath;
  bool FKeyOpen = false;
  bool FReadOnly = false;
  bool FModified = false;
};
