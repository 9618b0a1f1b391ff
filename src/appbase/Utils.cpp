#include "appbase/Utils.h"

#include "platform/rtl/Classes.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Drives.h"
#include "platform/sys/ShellFolders.h"

std::string MakeUniqueFileName(const std::string& Name, const std::string& Folder) {
  const std::string folder = AddTrailingBackslash(Folder);
  // A folder of that name blocks the file as much as a file does.
  auto taken = [](const std::string& path) { return FileExists(path) || DirectoryExists(path); };
  if (!taken(folder + Name)) return folder + Name;
  const std::string ext = ExtractFileExt(Name);
  const std::string stem = Name.substr(0, Name.size() - ext.size());
  for (int n = 1; n <= 32768; ++n) {
    std::string path = folder + Format("%s(%d)%s", {stem, n, ext});
    if (!taken(path)) return path;
  }
  throw EInOutError(Format("No free file name like %s is left in %s", {Name, folder}));
}

std::string ExtractFileNameNoExt(const std::string& Path) {
  return Path.substr(0, Path.size() - ExtractFileExt(Path).size());
}

std::string ReplaceInvalidFileChars(const std::string& Text, const std::string& Replacement) {
  static const std::string invalid = "\\/:*?\"<>|";
  std::string result;
  for (char c : Text) {
    if (invalid.find(c) != std::string::npos)
      result += Replacement;
    else
      result += c;
  }
  return result;
}

std::string AddTrailingBackslash(const std::string& Path) {
  if (Path.empty() || IsPathDelimiter(Path, int(Path.size()) - 1)) return Path;
  // Drive-letter paths (the CD drives' tracks) keep their own separator.
  return Path + (ExtractFileDrive(Path).empty() ? PathDelim : '\\');
}

bool IsSupportedAudioExt(const std::string& Extension) {
  for (const char* ext : SupportedAudioExts)
    if (SameText(Extension, ext)) return true;
  return false;
}

int FirstSpacePos(const std::string& Text) {
  size_t pos = Text.find(' ');
  return pos == std::string::npos ? int(Text.size()) : int(pos) + 1;
}

int TimeToMs(int H, int M, int S, int Ms) {
  return int(int64_t(H) * 3600000 + int64_t(M) * 60000 + int64_t(S) * 1000 + Ms);
}

void MsToTime(int Time, int& H, int& M, int& S, int& Ms) {
  H = Time / 3600000;
  M = Time / 1000 % 3600 / 60;
  S = Time / 1000 % 60;
  Ms = Time % 1000;
}

std::string FormatMsTime(int Ms) {
  int h, m, s, ms;
  MsToTime(Ms, h, m, s, ms);
  return Format("%.1d:%.2d:%.2d.%.3d", {h, m, s, ms});
}

namespace {

template <size_t N>
int FromTable(const int (&table)[N], int index, int fallback) {
  return index >= 0 && index < int(N) ? table[index] : fallback;
}

const int kSampleRates[] = {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 96000};
const int kBits[] = {8, 16, 24, 32};
const int kMp3BitRates[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
const int kMp3VbrMin[] = {32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256};
const int kMp3VbrMax[] = {40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320};
const int kOggBitRates[] = {64, 96, 128, 160, 192, 256, 350};

}  // namespace

int ChannelsFromMode(int Mode) { return Mode == 1 ? 1 : 2; }
int Mp3ChannelsFromMode(int Mode) { return Mode == 3 ? 1 : 2; }
int SampleRateFromIndex(int Index) { return FromTable(kSampleRates, Index, 44100); }
int BitsFromIndex(int Index) { return FromTable(kBits, Index, 16); }
int Mp3CbrBitRateFromIndex(int Index) { return FromTable(kMp3BitRates, Index, 192); }
int Mp3AbrBitRateFromIndex(int Index) { return FromTable(kMp3BitRates, Index, 192); }
int Mp3VbrMinBitRateFromIndex(int Index) { return FromTable(kMp3VbrMin, Index, 192); }
int Mp3VbrMaxBitRateFromIndex(int Index) { return FromTable(kMp3VbrMax, Index, 192); }
int OggAbrBitRateFromIndex(int Index) { return FromTable(kOggBitRates, Index, 192); }

std::string GetShellFolder(const std::string& ValueName) {
  std::string folder = ShellFolderByName(ValueName);
  // The home folder stands in for the system drive's root of a folder nobody named.
  return folder.empty() ? HomeFolder() : folder;
}

// Programs of the system live here ("control.exe" and the like are looked up beside them).
std::string GetSystemDir() { return "/usr/bin"; }

// The platform reports version 6.1.
bool IsVistaOrLater() { return 6 > 5; }

float DriveFreeSpaceGB(char Letter) {
  uint64_t available = 0;
  if (!GetDiskFreeSpaceEx(std::string(1, Letter) + ":/", &available, nullptr, nullptr)) return -1;
  return float(double(available) / double(1ull << 30));
}

char DriveWithMostFreeSpace() {
  // Without any fixed drive the system drive's letter still makes a usable folder name.
  char best = 'C';
  float bestSpace = -2;
  for (char letter = 'A'; letter <= 'Z'; ++letter) {
    if (GetDriveType(std::string(1, letter) + ":\\") != DRIVE_FIXED) continue;
    float space = DriveFreeSpaceGB(letter);
    if (space > bestSpace) {
      best = letter;
      bestSpace = space;
    }
  }
  return best;
}

int CountCDDrives() {
  int count = 0;
  for (char letter = 'C'; letter <= 'Z'; ++letter)
    if (GetDriveType(std::string(1, letter) + ":\\") == DRIVE_CDROM) ++count;
  return count;
}

std::unique_ptr<TStringList> SplitString(const std::string& Text, const std::string& Delimiter) {
  auto list = std::make_unique<TStringList>();
  if (Delimiter.empty()) {
    list->Add(Text);
    return list;
  }
  size_t start = 0;
  while (true) {
    size_t end = Text.find(Delimiter, start);
    if (end == std::string::npos) break;
    list->Add(Text.substr(start, end - start));
    start = end + Delimiter.size();
  }
  list->Add(Text.substr(start));
  return list;
}
