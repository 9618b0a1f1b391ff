#include "platform/sys/Registry.h"

#include <cstdio>
#include <cstring>

#include "platform/rtl/Classes.h"

// --- TRegistry ---------------------------------------------------------------------------------

TRegistry::TRegistry() : TRegistry(TRegistryStore::Default()) {}

TRegistry::TRegistry(std::shared_ptr<TRegistryStore> Store) : FStore(std::move(Store)) {}

TRegistry::~TRegistry() {
  try {
    CloseKey();
  } catch (const ERegistryException& e) {
    // No exception leaves a destructor; code that must know closes the key itself.
    std::fprintf(stderr, "sonalix: %s\n", e.Message().c_str());
  }
}

void TRegistry::SetRootKey(HKEY Value) {
  if (Value == FRootKey) return;
  CloseKey();
  FRootKey = Value;
}

bool TRegistry::Resolve(const std::string& Key, TRegistryStore::TPath& Path) const {
  const char* hive = TRegistryStore::HiveName(FRootKey);
  if (!hive) return false;
  Path = {hive};
  std::string full = Key;
  if (!Key.starts_with("\\") && FKeyOpen) full = FCurrentPath + "\\" + Key;
  size_t p = 0;
  while (p <= full.size()) {
    size_t q = full.find('\\', p);
    if (q == std::string::npos) q = full.size();
    if (q > p) Path.push_back(full.substr(p, q - p));
    p = q + 1;
  }
  return TRegistryStore::ValidPath(Path);
}

TRegistryStore::TPath TRegistry::CurrentKeyPath() const {
  TRegistryStore::TPath path;
  if (FKeyOpen) Resolve("\\" + FCurrentPath, path);
  return path;
}

bool TRegistry::OpenKey(const std::string& Key, bool CanCreate) {
  TRegistryStore::TPath path;
  if (!Resolve(Key, path)) return false;
  FStore->Refresh();
  bool exists = FStore->KeyExists(path);
  if (!exists && !CanCreate) return false;
  CloseKey();  // the changes made under the previous key are written now, the new key's later
  if (!exists) {
    if (!FStore->CreateKey(path)) return false;
    FModified = true;
  }
  FCurrentPath.clear();
  for (size_t i = 1; i < path.size(); ++i) FCurrentPath += (i > 1 ? "\\" : "") + path[i];
  FKeyOpen = true;
  FReadOnly = false;
  return true;
}

bool TRegistry::OpenKeyReadOnly(const std::string& Key) {
  if (!OpenKey(Key, false)) return false;
  FReadOnly = true;
  return true;
}

void TRegistry::CloseKey() {
  const bool modified = FModified;
  FModified = false;
  FKeyOpen = false;
  FReadOnly = false;
  FCurrentPath.clear();
  if (modified) FStore->Commit();
}

bool TRegistry::CreateKey(const std::string& Key) {
  TRegistryStore::TPath path;
  if (Resolve(Key, path)) {
    FStore->Refresh();
    if (FStore->KeyExists(path)) return true;
    if (FStore->CreateKey(path)) {
      FModified = true;
      return true;
    }
  }
  throw ERegistryException(Format("Failed to create key %s", {Key}));
}

bool TRegistry::DeleteKey(const std::string& Key) {
  TRegistryStore::TPath path;
  if (!Resolve(Key, path)) return false;
  FStore->Refresh();
  if (!FStore->DeleteKey(path)) return false;
  FModified = true;
  return true;
}

bool TRegistry::KeyExists(const std::string& Key) {
  TRegistryStore::TPath path;
  if (!Resolve(Key, path)) return false;
  FStore->Refresh();
  return FStore->KeyExists(path);
}

bool TRegistry::HasSubKeys() {
  std::vector<std::string> names;
  GetKeyNames(names);
  return !names.empty();
}

bool TRegistry::DeleteValue(const std::string& Name) {
  if (!FKeyOpen || FReadOnly || !FStore->DeleteValue(CurrentKeyPath(), Name)) return false;
  FModified = true;
  return true;
}

bool TRegistry::ReadValue(const std::string& Name, TRegValue& Value) {
  return FKeyOpen && FStore->FindValue(CurrentKeyPath(), Name, Value);
}

bool TRegistry::ValueExists(const std::string& Name) {
  TRegValue value;
  return ReadValue(Name, value);
}

TRegDataType TRegistry::GetDataType(const std::string& Name) {
  TRegValue value;
  return ReadValue(Name, value) ? value.Type : rdUnknown;
}

int TRegistry::GetDataSize(const std::string& Name) {
  TRegValue value;
  if (!ReadValue(Name, value)) return -1;
  switch (value.Type) {
    case rdString:
      return int(value.Text.size()) + 1;
    case rdInteger:
      return 4;
    default:
      return int(value.Bytes.size());
  }
}

void TRegistry::GetValueNames(std::vector<std::string>& Names) {
  Names.clear();
  if (FKeyOpen) FStore->ValueNames(CurrentKeyPath(), Names);
}

void TRegistry::GetKeyNames(std::vector<std::string>& Names) {
  Names.clear();
  if (FKeyOpen) FStore->KeyNames(CurrentKeyPath(), Names);
}

void TRegistry::GetValueNames(TStrings* Strings) {
  std::vector<std::string> names;
  GetValueNames(names);
  Strings->BeginUpdate();
  Strings->Clear();
  for (const std::string& name : names) Strings->Add(name);
  Strings->EndUpdate();
}

void TRegistry::GetKeyNames(TStrings* Strings) {
  std::vector<std::string> names;
  GetKeyNames(names);
  Strings->BeginUpdate();
  Strings->Clear();
  for (const std::string& name : names) Strings->Add(name);
  Strings->EndUpdate();
}

void TRegistry::PutValue(const std::string& Name, const TRegValue& Value) {
  if (!FKeyOpen || FReadOnly || !FStore->SetValue(CurrentKeyPath(), Name, Value))
    throw ERegistryException(Format("Failed to set data for '%s'", {Name}));
  FModified = true;
}

std::string TRegistry::ReadString(const std::string& Name) {
  TRegValue value;
  if (!ReadValue(Name, value)) return {};
  if (value.Type != rdString)
    throw ERegistryException(Format("Invalid data type for '%s'", {Name}));
  return value.Text;
}

void TRegistry::WriteString(const std::string& Name, const std::string& Value) {
  TRegValue value;
  value.Type = rdString;
  value.Text = Value;
  PutValue(Name, value);
}

int TRegistry::ReadInteger(const std::string& Name) {
  TRegValue value;
  if (!ReadValue(Name, value))
    throw ERegistryException(Format("Failed to get data for '%s'", {Name}));
  if (value.Type != rdInteger)
    throw ERegistryException(Format("Invalid data type for '%s'", {Name}));
  return value.Integer;
}

void TRegistry::WriteInteger(const std::string& Name, int Value) {
  TRegValue value;
  value.Type = rdInteger;
  value.Integer = Value;
  PutValue(Name, value);
}

bool TRegistry::ReadBool(const std::string& Name) { return ReadInteger(Name) != 0; }

void TRegistry::WriteBool(const std::string& Name, bool Value) {
  WriteInteger(Name, Value ? 1 : 0);
}

int TRegistry::ReadBinaryData(const std::string& Name, void* Buffer, int BufSize) {
  TRegValue value;
  if (!ReadValue(Name, value)) return 0;
  if (value.Type != rdBinary || int(value.Bytes.size()) > BufSize)
    throw ERegistryException(Format("Invalid data type for '%s'", {Name}));
  if (!value.Bytes.empty()) std::memcpy(Buffer, value.Bytes.data(), value.Bytes.size());
  return int(value.Bytes.size());
}

void TRegistry::WriteBinaryData(const std::string& Name, const void* Buffer, int BufSize) {
  TRegValue value;
  value.Type = rdBinary;
  if (BufSize > 0) value.Bytes.assign(static_cast<const char*>(Buffer), size_t(BufSize));
  PutValue(Name, value);
}
