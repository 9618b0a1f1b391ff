#pragma once
// The registry seen through the ini-file interface: a section is a key (below the key the object
// was opened on, or from the root when it starts with a backslash) and an ident is a value.
// Integers and Booleans are integer values, text is a string value, binary streams are binary
// values. Reading never raises: a value of another type than asked for reads as the default
// (text holding a number reads as that number). Changes reach the store's file with UpdateFile,
// or when the object is freed.

#include <memory>
#include <string>

#include "platform/rtl/IniFiles.h"
#include "platform/sys/RegistryStore.h"

class TRegistryIniFile : public TCustomIniFile {
 public:
  // FileName is the key path below the root, e.g. "\Software\Sonalix\Bars\".
  explicit TRegistryIniFile(const std::string& FileName, HKEY RootKey = HKEY_CURRENT_USER);
  TRegistryIniFile(const std::string& FileName, std::shared_ptr<TRegistryStore> Store,
                   HKEY RootKey = HKEY_CURRENT_USER);
  ~TRegistryIniFile() override;

  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) override;
  void WriteString(const std::string& Section, const std::string& Ident,
                   const std::string& Value) override;
  int ReadInteger(const std::string& Section, const std::string& Ident, int Default) override;
  void WriteInteger(const std::string& Section, const std::string& Ident, int Value) override;
  void WriteBool(const std::string& Section, const std::string& Ident, bool Value) override;
  int ReadBinaryStream(const std::string& Section, const std::string& Name, TStream* Value) override;
  void WriteBinaryStream(const std::string& Section, const std::string& Name,
                         TStream* Value) override;

  bool SectionExists(const std::string& Section) override;
  bool ValueExists(const std::string& Section, const std::string& Ident) override;
  // The subkeys of the opened key.
  void ReadSections(TStrings* Strings) override;
  void ReadSection(const std::string& Section, TStrings* Strings) override;
  void ReadSectionValues(const std::string& Section, TStrings* Strings) override;
  // Removes the key with its subkeys.
  void EraseSection(const std::string& Section) override;
  void DeleteKey(const std::string& Section, const std::string& Ident) override;
  // Raises ERegistryException when the store cannot be written.
  void UpdateFile() override;

 private:
  // False for a path the registry cannot hold (control characters, no root).
  bool SectionPath(const std::string& Section, TRegistryStore::TPath& Path) const;
  bool Find(const std::string& Section, const std::string& Ident, TRegValue& Value);
  void Put(const std::string& Section, const std::string& Ident, const TRegValue& Value);

  std::shared_ptr<TRegistryStore> FStore;
  HKEY FRootKey;
};
