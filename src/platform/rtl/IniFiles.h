#pragma once
// Ini files: sections of named values in a text file ("[Section]" lines and "Name=Value"
// lines). TCustomIniFile is the interface the settings code reads and writes through; the
// memory ini file keeps the text in memory until UpdateFile, the ini file writes at once.

#include <string>
#include <vector>

#include "platform/rtl/Classes.h"

class TCustomIniFile : public TObject {
 public:
  explicit TCustomIniFile(std::string FileName) : FFileName(std::move(FileName)) {}
  const std::string& FileName() const { return FFileName; }

  virtual std::string ReadString(const std::string& Section, const std::string& Ident,
                                 const std::string& Default) = 0;
  virtual void WriteString(const std::string& Section, const std::string& Ident,
                           const std::string& Value) = 0;
  // Decimal or hexadecimal ("$1F", "0x1F"); anything else gives Default.
  virtual int ReadInteger(const std::string& Section, const std::string& Ident, int Default);
  virtual void WriteInteger(const std::string& Section, const std::string& Ident, int Value);
  // Stored as "1"/"0"; any non-zero integer reads as true.
  virtual bool ReadBool(const std::string& Section, const std::string& Ident, bool Default);
  virtual void WriteBool(const std::string& Section, const std::string& Ident, bool Value);
  virtual double ReadFloat(const std::string& Section, const std::string& Ident, double Default);
  virtual void WriteFloat(const std::string& Section, const std::string& Ident, double Value);
  // Bytes as upper-case hexadecimal pairs. ReadBinaryStream writes the value's bytes at the
  // stream's position and returns their count (0 when absent or not hexadecimal).
  virtual int ReadBinaryStream(const std::string& Section, const std::string& Name, TStream* Value);
  virtual void WriteBinaryStream(const std::string& Section, const std::string& Name,
                                 TStream* Value);

  virtual bool SectionExists(const std::string& Section);
  virtual bool ValueExists(const std::string& Section, const std::string& Ident);
  // The names of a section's values / the section names / "Name=Value" lines.
  virtual void ReadSection(const std::string& Section, TStrings* Strings) = 0;
  virtual void ReadSections(TStrings* Strings) = 0;
  virtual void ReadSectionValues(const std::string& Section, TStrings* Strings) = 0;
  virtual void EraseSection(const std::string& Section) = 0;
  virtual void DeleteKey(const std::string& Section, const std::string& Ident) = 0;
  // Writes pending changes to the store.
  virtual void UpdateFile() = 0;

 protected:
  std::string FFileName;
};

// Names of sections and values compare without regard to case; sections and values keep the
// order in which they were read or added. The file is read when the object is created (a
// missing file gives an empty ini) and written, atomically, by UpdateFile only.
class TMemIniFile : public TCustomIniFile {
 public:
  explicit TMemIniFile(const std::string& FileName);
  ~TMemIniFile() override = default;

  std::string ReadString(const std::string& Section, const std::string& Ident,
                         const std::string& Default) override;
  void WriteString(const std::string& Section, const std::string& Ident,
                   const std::string& Value) override;
  void ReadSection(const std::string& Section, TStrings* Strings) override;
  void ReadSections(TStrings* Strings) override;
  void ReadSectionValues(const std::string& Section, TStrings* Strings) override;
  void EraseSection(const std::string& Section) override;
  void DeleteKey(const std::string& Section, const std::string& Ident) override;
  bool SectionExists(const std::string& Section) override;
  bool ValueExists(const std::string& Section, const std::string& Ident) override;
  // Raises EFCreateError when the file cannot be written; an empty FileName writes nothing.
  void UpdateFile() override;

  void Clear();
  // The whole content as ini text lines, and back.
  void GetStrings(TStrings* List) const;
  void SetStrings(const TStrings* List);
  std::string Text() const;
  void SetText(const std::string& Value);
  // Points the object at another file, reading it when Reload.
  void Rename(const std::string& FileName, bool Reload);

 protected:
  struct TSection {
    std::string Name;
    std::vector<std::pair<std::string, std::string>> Values;
  };
  TSection* FindSection(const std::string& Name);
  TSection& AddSection(const std::string& Name);
  void LoadValues();
  std::vector<TSection> FSections;
};

// An ini file that writes every change to its file at once.
class TIniFile : public TMemIniFile {
 public:
  explicit TIniFile(const std::string& FileName) : TMemIniFile(FileName) {}
  void WriteString(const std::string& Section, const std::string& Ident,
                   const std::string& Value) override;
  void EraseSection(const std::string& Section) override;
  void DeleteKey(const std::string& Section, const std::string& Ident) override;
};
