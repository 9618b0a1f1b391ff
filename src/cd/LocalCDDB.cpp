#include "cd/LocalCDDB.h"

#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/win/Windows.h"

namespace {

const char* const DefaultClientString = "Sonalix-CDDB 1.0";

bool StartsWith(const std::string& s, const char* prefix) { return s.rfind(prefix, 0) == 0; }

std::string From(const std::string& s, size_t pos1) { return pos1 - 1 < s.size() ? s.substr(pos1 - 1) : ""; }

// The track number of "TTITLEnn=..." or "EXTTnn=...": -2 when it is no number (the line is
// skipped), -1 when it has more than two digits (the line counts but stores nothing).
int TrackNumber(const std::string& line, size_t prefix, std::string& value) {
  const size_t eq = line.find('=', prefix);
  if (eq == std::string::npos) return -2;
  const std::string digits = line.substr(prefix, eq - prefix);
  value = line.substr(eq + 1);
  if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) return -2;
  return digits.size() > 2 ? -1 : std::stoi(digits);
}

}  // namespace

TLocalCDDB::TLocalCDDB() {
  SetPath(GetCurrentDir());
  SetClientString(DefaultClientString);
}

void TLocalCDDB::SetPath(const std::string& Folder) {
  FPath = IncludeTrailingPathDelimiter(Folder);
  FIndexLoaded = LoadCategoryIndex();
  if (!FIndexLoaded && ExcludeTrailingPathDelimiter(Folder) != ExcludeTrailingPathDelimiter(GetCurrentDir()))
    AppendToLog(FPath + "index.log", "Error => Cannot find the file " + FPath + "Cat.idx");
}

const std::string& TLocalCDDB::CategoryIndex(char Letter) const {
  static const std::string none;
  return Letter >= 'a' && Letter <= 'z' ? FIndex[size_t(Letter - 'a')] : none;
}

bool TLocalCDDB::LoadCategoryIndex() {
  std::ifstream in(FPath + "Cat.idx");
  if (!in) return false;
  std::string line;
  for (size_t i = 0; i < FIndex.size() && std::getline(in, line); ++i) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    FIndex[i] = line.substr(0, 40);
  }
  return true;
}

void TLocalCDDB::AppendToLog(const std::string& FileName, const std::string& Text) {
  const int fd = ::open(FileName.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) {
    MessageBox(nullptr, "Couldn't create log file!\nError message was: '" + Text + "'", "Error",
               MB_OK);
    return;
  }
  ::lseek(fd, 0, SEEK_END);
  if (::write(fd, Text.data(), Text.size()) != ssize_t(Text.size()))
    MessageBox(nullptr, "Couldn't write into log file!\nError message was: '" + Text + "'",
               "Error", MB_OK);
  ::close(fd);
}

std::string TLocalCDDB::UnescapeEntryText(const std::string& Text) {
  std::string out;
  out.reserve(Text.size());
  for (size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == '\\' && i + 1 < Text.size()) {
      const char next = Text[i + 1];
      if (next == 'n' || next == 't' || next == '\\') {
        out += next == 'n' ? "\r\n" : next == 't' ? "\t" : "\\";
        ++i;
        continue;
      }
    }
    out += Text[i];
  }
  return out;
}

int TLocalCDDB::ParseEntry(TCDInfo& Info, const TEntryArray& Lines) {
  const std::string category = Info.Category;
  Info = TCDInfo();
  Info.Category = category;

  std::vector<TEntryParseRecord> records;
  records.reserve(64);
  int offsets = 0;
  bool inOffsets = false;
  for (const std::string& line : Lines) {
    if (line.empty()) break;
    if (records.size() >= 1024) break;
    const bool comment = line[0] == '#';
    if (inOffsets) {
      if (Trim(line) == "#") {
        inOffsets = false;
        continue;
      }
      if (line.compare(std::min<size_t>(2, line.size()), 12, "Disc length:") == 0)
        inOffsets = false;
      else {
        // More offsets than the record holds tracks are dropped.
        if (offsets < 100) records.push_back({1, offsets++, Trim(From(line, 3))});
        continue;
      }
    }
    std::string value;
    if (comment) {
      const std::string rest = From(line, 3);
      if (rest.compare(0, 20, "Track frame offsets:") == 0) {
        inOffsets = true;
      } else if (rest.compare(0, 12, "Disc length:") == 0) {
        value = From(line, 16);
        records.push_back({2, 0, value.substr(0, value.find(' '))});
      } else if (rest.compare(0, 9, "Revision:") == 0) {
        records.push_back({3, 0, From(line, 13)});
      }
    } else if (StartsWith(line, "DISCID=")) {
      records.push_back({4, 0, UnescapeEntryText(From(line, 8))});
    } else if (StartsWith(line, "DTITLE=")) {
      records.push_back({5, 0, UnescapeEntryText(From(line, 8))});
    } else if (StartsWith(line, "DYEAR=")) {
      records.push_back({6, 0, UnescapeEntryText(From(line, 7))});
    } else if (StartsWith(line, "DGENRE=")) {
      records.push_back({7, 0, UnescapeEntryText(From(line, 8))});
    } else if (StartsWith(line, "TTITLE")) {
      const int n = TrackNumber(line, 6, value);
      if (n != -2) records.push_back({8, n, UnescapeEntryText(value)});
    } else if (StartsWith(line, "EXTD=")) {
      records.push_back({9, 0, UnescapeEntryText(From(line, 6))});
    } else if (StartsWith(line, "EXTT")) {
      const int n = TrackNumber(line, 4, value);
      if (n != -2) records.push_back({10, n, UnescapeEntryText(value)});
    } else if (StartsWith(line, "PLAYORDER=")) {
      records.push_back({11, 0, UnescapeEntryText(From(line, 11))});
    }
  }
  Info.TOC.TrackCount = uint8_t(offsets);

  bool xmcd = false;
  for (const std::string& line : Lines)
    if (line.find("# xmcd") != std::string::npos) xmcd = true;

  bool seen[12] = {};
  bool split = false;
  for (const auto& r : records) {
    seen[r.Kind] = true;
    switch (r.Kind) {
      case 1: {
        if (r.Value.empty()) break;
        int v;
        if (!TryStrToInt(r.Value, v)) return -4;
        TCDTrack& t = Info.TOC.Tracks[size_t(r.Index)];
        t.Minute = uint8_t(v / 4500);
        t.Second = uint8_t(v / 75 - (v / 4500) * 60);
        t.Frame = uint8_t(v % 75);
        t.IsAudio = true;
        break;
      }
      case 2: {
        int s;
        if (!TryStrToInt(r.Value, s)) return -4;
        Info.TOC.LeadOut.Minute = uint8_t(s / 60);
        Info.TOC.LeadOut.Second = uint8_t(s - (s / 60) * 60);
        Info.TOC.LeadOut.Frame = 0;
        Info.TOC.LeadOut.IsAudio = false;
        break;
      }
      case 3:
        if (!TryStrToInt(Trim(r.Value), Info.Revision)) return -4;
        break;
      case 4: Info.DiscId += r.Value; break;
      case 5: {
        const size_t sep = r.Value.find(" / ");
        if (sep != std::string::npos) {
          Info.Artist += r.Value.substr(0, sep);
          Info.Title = r.Value.substr(sep + 3);
          split = true;
        } else if (split) {
          Info.Title += r.Value;
        } else {
          Info.Artist += r.Value;
        }
        break;
      }
      case 6: Info.Year += r.Value; break;
      case 7: Info.Genre += r.Value; break;
      case 8:
        if (r.Index >= 0 && r.Index < 100) Info.TrackTitles[size_t(r.Index)] += r.Value;
        break;
      case 9: Info.ExtendedData += r.Value; break;
      case 10:
        if (r.Index >= 0 && r.Index < 100) Info.TrackExtendedData[size_t(r.Index)] += r.Value;
        break;
      default: break;
    }
  }
  for (int kind : {1, 2, 3, 4, 5, 8, 9, 10, 11})
    if (!seen[kind]) return -4;
  return xmcd ? 0 : -4;
}
