#pragma once
// The disc record and the parser of disc database entries in the xmcd text format, with the
// local category index and error log of a database folder.

#include <array>
#include <cstdint>
#include <string>

#include "cd/AspiCD.h"

using TStringArray = std::array<std::string, 100>;
using TEntryArray = std::array<std::string, 1024>;

struct TCDInfo {
  std::string DiscId;
  std::string Artist;
  std::string Title;
  std::string Year;
  std::string Genre;
  std::string ExtendedData;
  TStringArray TrackTitles;
  TStringArray TrackExtendedData;
  std::string Category;
  int Revision = 0;
  TCDTOC TOC;
};

struct TEntryParseRecord {
  uint8_t Kind = 0;
  int Index = 0;
  std::string Value;
};

class TLocalCDDB {
 public:
  TLocalCDDB();

  void SetPath(const std::string& Folder);
  const std::string& Path() const { return FPath; }
  bool IndexLoaded() const { return FIndexLoaded; }
  // The category index entry of a letter ('a' to 'z').
  const std::string& CategoryIndex(char Letter) const;
  bool LoadCategoryIndex();
  void SetClientString(const std::string& Value) { FClientString = Value; }
  const std::string& ClientString() const { return FClientString; }
  // Adds Text to the end of the file (no line break added); a message box tells of a failure.
  void AppendToLog(const std::string& FileName, const std::string& Text);

  // 0 for a complete entry, -4 for a corrupt one (the fields found are filled either way).
  int ParseEntry(TCDInfo& Info, const TEntryArray& Lines);
  // "\n" becomes CR LF, "\t" a tab and "\\" one backslash, read once from left to right.
  static std::string UnescapeEntryText(const std::string& Text);

 private:
  std::array<std::string, 26> FIndex;
  bool FIndexLoaded = false;
  std::string FPath;
  std::string FClientString;
};
