#include "platform/sys/RegistryIniFile.h"

#include <cstdio>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"

TRegistryIniFile::TRegistryIniFile(const std::string& FileName, HKEY RootKey)
    : TRegistryIniFile(FileName, TRegistryStore::Default(), RootKey) {}

TRegistryIniFile::TRegistryIniFile(const std::string& FileName,
                                   std::shared_ptr<TRegistryStore> Store, HKEY RootKey)
    : TCustomIniFile(FileName), FStore(std::move(Store)), FRootKey(RootKey) {
  FStore->Refresh();
}

TRegistryIniFile::~TRegistryIniFile() {
  try {
    UpdateFile();
  } catch (const ERegistryException& e) {
    // No exception leaves a destructor; code that must know calls UpdateFile itself.
    std::fprintf(stderr, "sonalix: %s\n", e.Message().c_str());
  }
}

bool TRegistryIniFile::SectionPath(const std::string& Section, TRegistryStore::TPath& Path) const {
  const char* hive = TRegistryStore::HiveName(FRootKey);
  if (!hive) return false;
  Path = {hive};
  std::string full = Section.starts_with("\\") ? Section : FFileName + "\\" + Section;
  size_t p = 0;
  while (p <= full.size()) {
    size_t q = full.find('\\', p);
    if (q == std::string::npos) q = full.size();
    if (q > p) Path.push_back(full.substr(p, q - p));
    p = q + 1;
  }
  return TRegistryStore::ValidPath(Path);
}

bool TRegistryIniFile::Find(const std::string& Section, const std::string& Ident,
                            TRegValue& Value) {
  TRegistryStore::TPath path;
  return SectionPath(Section, path) && FStore->FindValue(path, Ident, Value);
}

void TRegistryIniFile::Put(const std::string& Section, const std::string& Ident,
                           const TRegValue& Value) {
  TRegistryStore::TPath path;
  if (!SectionPath(Section, path) || !(FStore->KeyExists(path) || FStore->CreateKey(path)) ||
      !FStore->SetValue(path, Ident, Value))
    throw ERegistryException(Format("Failed to set data for '%s'", {Ident}));
}

std::string TRegistryIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                         const std::string& Default) {
  TRegValue v;
  if (!Find(Section, Ident, v)) return Default;
  if (v.Type == rdString) return v.Text;
  if (v.Type == rdInteger) return IntToStr(v.Integer);
  return Default;
}

void TRegistryIniFile::WriteString(const std::string& Section, const std::string& Ident,
                                   const std::string& Value) {
  TRegValue v;
  v.Type = rdString;
  v.Text = Value;
  Put(Section, Ident, v);
}

int TRegistryIniFile::ReadInteger(const std::string& Section, const std::string& Ident,
                                  int Default) {
  TRegValue v;
  if (!Find(Section, Ident, v)) return Default;
  if (v.Type == rdInteger) return v.Integer;
  if (v.Type == rdString) return StrToIntDef(v.Text, Default);
  return Default;
}

void TRegistryIniFile::WriteInteger(const std::string& Section, const std::string& Ident,
                                    int Value) {
  TRegValue v;
  v.Type = rdInteger;
  v.Integer = Value;
  Put(Section, Ident, v);
}

void TRegistryIniFile::WriteBool(const std::string& Section, const std::string& Ident,
                                 bool Value) {
  WriteInteger(Section, Ident, Value ? 1 : 0);
}

int TRegistryIniFile::ReadBinaryStream(const std::string& Section, const std::string& Name,
                                       TStream* Value) {
  TRegValue v;
  if (!Find(Section, Name, v) || v.Type != rdBinary) return 0;
  if (!v.Bytes.empty()) Value->WriteBuffer(v.Bytes.data(), int64_t(v.Bytes.size()));
  return int(v.Bytes.size());
}

void TRegistryIniFile::WriteBinaryStream(const std::string& Section, const std::string& Name,
                                         TStream* Value) {
  TRegValue v;
  v.Type = rdBinary;
  int64_t n = Value->Size() - Value->Position();
  v.Bytes.resize(size_t(n > 0 ? n : 0));
  if (!v.Bytes.empty()) Value->ReadBuffer(v.Bytes.data(), int64_t(v.Bytes.size()));
  Put(Section, Name, v);
}

bool TRegistryIniFile::SectionExists(const std::string& Section) {
  TRegistryStore::TPath path;
  return SectionPath(Section, path) && FStore->KeyExists(path);
}

bool TRegistryIniFile::ValueExists(const std::string& Section, const std::string& Ident) {
  TRegValue v;
  return Find(Section, Ident, v);
}

namespace {
void Fill(TStrings* Strings, const std::vector<std::string>& Names) {
  Strings->BeginUpdate();
  Strings->Clear();
  for (const std::string& n : Names) Strings->Add(n);
  Strings->EndUpdate();
}
}  // namespace

void TRegistryIniFile::ReadSections(TStrings* Strings) {
  std::vector<std::string> names;
  TRegistryStore::TPath path;
  if (SectionPath("", path)) FStore->KeyNames(path, names);
  Fill(Strings, names);
}

void TRegistryIniFile::ReadSection(const std::string& Section, TStrings* Strings) {
  std::vector<std::string> names;
  TRegistryStore::TPath path;
  if (SectionPath(Section, path)) FStore->ValueNames(path, names);
  Fill(Strings, names);
}

void TRegistryIniFile::ReadSectionValues(const std::string& Section, TStrings* Strings) {
  std::vector<std::string> names;
  TRegistryStore::TPath path;
  if (SectionPath(Section, path)) FStore->ValueNames(path, names);
  std::vector<std::string> lines;
  for (const std::string& n : names) lines.push_back(n + "=" + ReadString(Section, n, ""));
  Fill(Strings, lines);
}

void TRegistryIniFile::EraseSection(const std::string& Section) {
  TRegistryStore::TPath path;
  if (SectionPath(Section, path) && path.size() > 1) FStore->DeleteKey(path);
}

void TRegistryIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  TRegistryStore::TPath path;
  if (SectionPath(Section, path)) FStore->DeleteValue(path, Ident);
}

void TRegistryIniFile::UpdateFile() {
  if (FStore->HasPendingChanges()) FStore->Commit();
}
