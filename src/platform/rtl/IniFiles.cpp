#include "platform/rtl/IniFiles.h"

#include <algorithm>
#include <cerrno>
#include <fstream>
#include <sstream>

#include "platform/rtl/AtomicFile.h"

int TCustomIniFile::ReadInteger(const std::string& Section, const std::string& Ident, int Default) {
  return StrToIntDef(ReadString(Section, Ident, ""), Default);
}

void TCustomIniFile::WriteInteger(const std::string& Section, const std::string& Ident, int Value) {
  WriteString(Section, Ident, IntToStr(Value));
}

bool TCustomIniFile::ReadBool(const std::string& Section, const std::string& Ident, bool Default) {
  return ReadInteger(Section, Ident, Default ? 1 : 0) != 0;
}

void TCustomIniFile::WriteBool(const std::string& Section, const std::string& Ident, bool Value) {
  WriteString(Section, Ident, Value ? "1" : "0");
}

double TCustomIniFile::ReadFloat(const std::string& Section, const std::string& Ident,
                                 double Default) {
  return StrToFloatDef(ReadString(Section, Ident, ""), Default);
}

void TCustomIniFile::WriteFloat(const std::string& Section, const std::string& Ident,
                                double Value) {
  WriteString(Section, Ident, FloatToStr(Value));
}

int TCustomIniFile::ReadBinaryStream(const std::string& Section, const std::string& Name,
                                     TStream* Value) {
  std::string text = ReadString(Section, Name, "");
  if (text.size() % 2) return 0;
  std::vector<uint8_t> bytes;
  bytes.reserve(text.size() / 2);
  auto hex = [](char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
  };
  for (std::size_t i = 0; i < text.size(); i += 2) {
    int hi = hex(text[i]), lo = hex(text[i + 1]);
    if (hi < 0 || lo < 0) return 0;
    bytes.push_back(uint8_t(hi * 16 + lo));
  }
  if (!bytes.empty()) Value->WriteBuffer(bytes.data(), int64_t(bytes.size()));
  return int(bytes.size());
}

void TCustomIniFile::WriteBinaryStream(const std::string& Section, const std::string& Name,
                                       TStream* Value) {
  static const char digits[] = "0123456789ABCDEF";
  int64_t n = Value->Size() - Value->Position();
  std::vector<uint8_t> bytes(std::size_t(std::max<int64_t>(n, 0)));
  if (!bytes.empty()) Value->ReadBuffer(bytes.data(), int64_t(bytes.size()));
  std::string text;
  text.reserve(bytes.size() * 2);
  for (uint8_t b : bytes) {
    text += digits[b >> 4];
    text += digits[b & 15];
  }
  WriteString(Section, Name, text);
}

bool TCustomIniFile::SectionExists(const std::string& Section) {
  TStringList names;
  ReadSection(Section, &names);
  return names.Count() > 0;
}

bool TCustomIniFile::ValueExists(const std::string& Section, const std::string& Ident) {
  TStringList names;
  ReadSection(Section, &names);
  return names.IndexOf(Ident) >= 0;
}

// ---------------------------------------------------------------------------------------------

TMemIniFile::TMemIniFile(const std::string& FileName) : TCustomIniFile(FileName) { LoadValues(); }

TMemIniFile::TSection* TMemIniFile::FindSection(const std::string& Name) {
  for (auto& s : FSections)
    if (SameText(s.Name, Name)) return &s;
  return nullptr;
}

TMemIniFile::TSection& TMemIniFile::AddSection(const std::string& Name) {
  if (TSection* s = FindSection(Name)) return *s;
  FSections.push_back(TSection{Name, {}});
  return FSections.back();
}

void TMemIniFile::LoadValues() {
  Clear();
  if (FFileName.empty() || !FileExists(FFileName)) return;
  TStringList lines;
  lines.LoadFromFile(FFileName);
  SetStrings(&lines);
}

void TMemIniFile::Clear() { FSections.clear(); }

void TMemIniFile::SetStrings(const TStrings* List) {
  Clear();
  TSection* current = nullptr;
  for (int i = 0; i < List->Count(); ++i) {
    std::string s = Trim(List->Strings(i));
    if (s.empty() || s[0] == ';') continue;
    if (s[0] == '[' && s.back() == ']') {
      std::string name = Trim(s.substr(1, s.size() - 2));
      current = &AddSection(name);
      continue;
    }
    if (!current) continue;
    std::size_t eq = s.find('=');
    if (eq == std::string::npos)
      current->Values.emplace_back(s, "");
    else
      current->Values.emplace_back(Trim(s.substr(0, eq)), Trim(s.substr(eq + 1)));
  }
}

void TMemIniFile::GetStrings(TStrings* List) const {
  List->BeginUpdate();
  try {
    List->Clear();
    for (const auto& s : FSections) {
      List->Add("[" + s.Name + "]");
      for (const auto& [name, value] : s.Values) List->Add(name + "=" + value);
      List->Add("");
    }
  } catch (...) {
    List->EndUpdate();
    throw;
  }
  List->EndUpdate();
}

std::string TMemIniFile::Text() const {
  TStringList l;
  GetStrings(&l);
  return l.Text();
}

void TMemIniFile::SetText(const std::string& Value) {
  TStringList l;
  l.SetText(Value);
  SetStrings(&l);
}

void TMemIniFile::Rename(const std::string& FileName, bool Reload) {
  FFileName = FileName;
  if (Reload) LoadValues();
}

std::string TMemIniFile::ReadString(const std::string& Section, const std::string& Ident,
                                    const std::string& Default) {
  if (TSection* s = FindSection(Section))
    for (const auto& [name, value] : s->Values)
      if (SameText(name, Ident)) return value;
  return Default;
}

void TMemIniFile::WriteString(const std::string& Section, const std::string& Ident,
                              const std::string& Value) {
  TSection& s = AddSection(Section);
  for (auto& [name, value] : s.Values)
    if (SameText(name, Ident)) {
      value = Value;
      return;
    }
  s.Values.emplace_back(Ident, Value);
}

void TMemIniFile::ReadSection(const std::string& Section, TStrings* Strings) {
  Strings->BeginUpdate();
  Strings->Clear();
  if (TSection* s = FindSection(Section))
    for (const auto& v : s->Values) Strings->Add(v.first);
  Strings->EndUpdate();
}

void TMemIniFile::ReadSections(TStrings* Strings) {
  Strings->BeginUpdate();
  Strings->Clear();
  for (const auto& s : FSections) Strings->Add(s.Name);
  Strings->EndUpdate();
}

void TMemIniFile::ReadSectionValues(const std::string& Section, TStrings* Strings) {
  Strings->BeginUpdate();
  Strings->Clear();
  if (TSection* s = FindSection(Section))
    for (const auto& [name, value] : s->Values) Strings->Add(name + "=" + value);
  Strings->EndUpdate();
}

void TMemIniFile::EraseSection(const std::string& Section) {
  FSections.erase(std::remove_if(FSections.begin(), FSections.end(),
                                 [&](const TSection& s) { return SameText(s.Name, Section); }),
                  FSections.end());
}

void TMemIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  if (TSection* s = FindSection(Section))
    s->Values.erase(std::remove_if(s->Values.begin(), s->Values.end(),
                                   [&](const auto& v) { return SameText(v.first, Ident); }),
                    s->Values.end());
}

bool TMemIniFile::SectionExists(const std::string& Section) {
  return FindSection(Section) != nullptr;
}

bool TMemIniFile::ValueExists(const std::string& Section, const std::string& Ident) {
  if (TSection* s = FindSection(Section))
    for (const auto& v : s->Values)
      if (SameText(v.first, Ident)) return true;
  return false;
}

void TMemIniFile::UpdateFile() {
  if (FFileName.empty()) return;
  try {
    WriteFileAtomically(FFileName, Text());
  } catch (const EAtomicFileError& e) {
    throw EFCreateError(Format("Cannot create file \"%s\". %s", {FFileName, e.Reason()}));
  }
}

// ---------------------------------------------------------------------------------------------

void TIniFile::WriteString(const std::string& Section, const std::string& Ident,
                           const std::string& Value) {
  TMemIniFile::WriteString(Section, Ident, Value);
  UpdateFile();
}

void TIniFile::EraseSection(const std::string& Section) {
  TMemIniFile::EraseSection(Section);
  UpdateFile();
}

void TIniFile::DeleteKey(const std::string& Section, const std::string& Ident) {
  TMemIniFile::DeleteKey(Section, Ident);
  UpdateFile();
}
