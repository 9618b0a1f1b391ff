#include "platform/sys/Drives.h"

#include <dirent.h>
#include <sys/statvfs.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

#include "platform/rtl/SysUtils.h"
#include "platform/sys/CdDevice.h"

namespace {

std::unique_ptr<std::vector<TDriveInfo>>& Table() {
  static std::unique_ptr<std::vector<TDriveInfo>> table;
  return table;
}

TVolumeLabelQuery& LabelQuery() {
  static TVolumeLabelQuery query;
  return query;
}

char Upper(char c) { return (c >= 'a' && c <= 'z') ? char(c - 32) : c; }

bool IsLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// The drive a text starting with "X:" names, or nullptr.
const TDriveInfo* DriveOf(const std::string& path) {
  if (path.size() < 2 || path[1] != ':' || !IsLetter(path[0])) return nullptr;
  return FindDrive(path[0]);
}

}  // namespace

std::vector<TDriveInfo> SystemDriveTable(const std::string& DevFolder) {
  std::vector<TDriveInfo> drives;
  TDriveInfo root;
  root.Letter = 'C';
  root.Type = DRIVE_FIXED;
  root.RootPath = "/";
  drives.push_back(root);

  std::vector<int> numbers;
  if (DIR* d = opendir(DevFolder.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string name = e->d_name;
      if (name.size() < 3 || name.compare(0, 2, "sr") != 0) continue;
      int n;
      if (name.find_first_not_of("0123456789", 2) != std::string::npos ||
          !TryStrToInt(name.substr(2), n))
        continue;
      numbers.push_back(n);
    }
    closedir(d);
  }
  std::sort(numbers.begin(), numbers.end());
  char letter = 'D';
  for (int n : numbers) {
    if (letter > 'Z') break;
    TDriveInfo cd;
    cd.Letter = letter++;
    cd.Type = DRIVE_CDROM;
    cd.Device = IncludeTrailingPathDelimiter(DevFolder) + "sr" + std::to_string(n);
    drives.push_back(cd);
  }
  // Cue sheets stand in for drives on machines without one (and in tests).
  if (const char* images = std::getenv("SONALIX_CD_IMAGES")) {
    std::string list = images;
    for (std::size_t start = 0; start <= list.size() && letter <= 'Z';) {
      std::size_t end = std::min(list.find(':', start), list.size());
      if (end > start) {
        TDriveInfo cd;
        cd.Letter = letter++;
        cd.Type = DRIVE_CDROM;
        cd.Device = list.substr(start, end - start);
        drives.push_back(cd);
      }
      start = end + 1;
    }
  }
  return drives;
}

const std::vector<TDriveInfo>& DriveTable() {
  auto& table = Table();
  if (!table) table = std::make_unique<std::vector<TDriveInfo>>(SystemDriveTable());
  return *table;
}

void SetDriveTable(std::vector<TDriveInfo> Drives) {
  for (auto& d : Drives) d.Letter = Upper(d.Letter);
  std::stable_sort(Drives.begin(), Drives.end(),
                   [](const TDriveInfo& a, const TDriveInfo& b) { return a.Letter < b.Letter; });
  Table() = std::make_unique<std::vector<TDriveInfo>>(std::move(Drives));
}

void ResetDriveTable() { Table().reset(); }

const TDriveInfo* FindDrive(char Letter) {
  Letter = Upper(Letter);
  for (const auto& d : DriveTable())
    if (d.Letter == Letter) return &d;
  return nullptr;
}

uint32_t GetLogicalDrives() {
  uint32_t mask = 0;
  for (const auto& d : DriveTable())
    if (d.Letter >= 'A' && d.Letter <= 'Z') mask |= 1u << (d.Letter - 'A');
  return mask;
}

std::vector<std::string> LogicalDriveRoots() {
  std::vector<std::string> roots;
  for (const auto& d : DriveTable()) roots.push_back(std::string(1, d.Letter) + ":\\");
  return roots;
}

unsigned GetDriveType(const std::string& RootPathName) {
  const TDriveInfo* d = DriveOf(RootPathName);
  if (!d) return DRIVE_NO_ROOT_DIR;
  // Only the root itself names the drive.
  std::string rest = RootPathName.substr(2);
  if (!rest.empty() && rest != "\\" && rest != "/") return DRIVE_NO_ROOT_DIR;
  return d->Type;
}

bool GetDiskFreeSpaceEx(const std::string& DirectoryName, uint64_t* FreeBytesAvailable,
                        uint64_t* TotalNumberOfBytes, uint64_t* TotalNumberOfFreeBytes) {
  std::string folder = DirectoryName;
  if (DirectoryName.size() >= 2 && DirectoryName[1] == ':' && IsLetter(DirectoryName[0])) {
    const TDriveInfo* d = FindDrive(DirectoryName[0]);
    if (!d) return false;
    if (d->FreeBytes >= 0 && d->TotalBytes >= 0) {
      if (FreeBytesAvailable) *FreeBytesAvailable = uint64_t(d->FreeBytes);
      if (TotalNumberOfBytes) *TotalNumberOfBytes = uint64_t(d->TotalBytes);
      if (TotalNumberOfFreeBytes) *TotalNumberOfFreeBytes = uint64_t(d->FreeBytes);
      return true;
    }
    folder = DrivePathToNative(DirectoryName);
  }
  struct statvfs st;
  if (folder.empty() || ::statvfs(folder.c_str(), &st) != 0) return false;
  const uint64_t unit = st.f_frsize ? st.f_frsize : st.f_bsize;
  if (FreeBytesAvailable) *FreeBytesAvailable = uint64_t(st.f_bavail) * unit;
  if (TotalNumberOfBytes) *TotalNumberOfBytes = uint64_t(st.f_blocks) * unit;
  if (TotalNumberOfFreeBytes) *TotalNumberOfFreeBytes = uint64_t(st.f_bfree) * unit;
  return true;
}

bool GetVolumeInformation(const std::string& RootPathName, std::string& VolumeName) {
  const TDriveInfo* d = DriveOf(RootPathName);
  if (!d) return false;
  if (d->Type == DRIVE_CDROM && LabelQuery()) return LabelQuery()(*d, VolumeName);
  // A drive of the system's table has no fixed label: its disc tells.
  if (d->Type == DRIVE_CDROM && d->VolumeLabel.empty()) return CdVolumeLabel(*d, VolumeName);
  VolumeName = d->VolumeLabel;
  return true;
}

void SetVolumeLabelQuery(TVolumeLabelQuery Query) { LabelQuery() = std::move(Query); }

std::string DrivePathToNative(const std::string& Path) {
  if (Path.size() < 2 || Path[1] != ':' || !IsLetter(Path[0])) return Path;
  const TDriveInfo* d = FindDrive(Path[0]);
  if (!d || d->RootPath.empty()) return {};
  std::string rest = Path.substr(2);
  std::replace(rest.begin(), rest.end(), '\\', '/');
  std::size_t skip = rest.find_first_not_of('/');
  rest = skip == std::string::npos ? std::string() : rest.substr(skip);
  return IncludeTrailingPathDelimiter(d->RootPath) + rest;
}
