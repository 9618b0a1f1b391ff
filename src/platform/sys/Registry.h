#pragma once
// The registry as the program's settings code sees it: one key at a time under a root key.

#include <string>
#include <vector>

#include "platform/sys/RegistryStore.h"

class TStrings;

// Access to one key at a time under a root key, as the program's settings code expects it.
// Changes are written to the store when the key is closed (or the object freed): CloseKey, and
// OpenKey closing the previous key, raise ERegistryException when they cannot be written; the
// destructor only reports that on stderr.
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
