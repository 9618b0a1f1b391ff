#pragma once
// The registry's store: a hierarchical store of typed values (string, integer, binary) under the
// hives the program uses, kept in one text file per user and shared safely by running instances.

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"

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
  // Writes the pending changes merged with the file's current content. Raises
  // ERegistryException naming the file and the cause when it cannot be written; the changes
  // then stay pending.
  void Commit();
  bool HasPendingChanges() const;

  // Paths are lists of key names, the hive's name first ("HKEY_CURRENT_USER"); names compare
  // without regard to ASCII case.
  using TPath = std::vector<std::string>;
  // "HKEY_CURRENT_USER" for HKEY_CURRENT_USER...; null for a key that is not a hive.
  static const char* HiveName(HKEY Key);
  // A hive's name first, then key names without control characters or backslashes.
  static bool ValidPath(const TPath& Path);
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

