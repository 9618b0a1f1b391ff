#pragma once
// Drive letters over a POSIX system, from one table: "C:" is the fixed drive of the root file
// system and each CD drive (/dev/srN, in order, then the cue sheets listed in SONALIX_CD_IMAGES,
// ':'-separated) gets a letter from D: on. The table is built
// from the system on first use; tests replace it with SetDriveTable.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// Drive types as the platform numbers them.
enum : unsigned {
  DRIVE_UNKNOWN = 0,
  DRIVE_NO_ROOT_DIR = 1,
  DRIVE_REMOVABLE = 2,
  DRIVE_FIXED = 3,
  DRIVE_REMOTE = 4,
  DRIVE_CDROM = 5,
  DRIVE_RAMDISK = 6,
};

struct TDriveInfo {
  char Letter = 'C';  // upper case
  unsigned Type = DRIVE_FIXED;
  // The folder the drive's root stands for; "" for drives without a folder (a CD's tracks).
  std::string RootPath;
  // The device node ("/dev/sr0") of a CD drive, or the cue sheet of an image drive.
  std::string Device;
  // Fixed values for tests; -1 measures RootPath's file system at each query.
  int64_t FreeBytes = -1;
  int64_t TotalBytes = -1;
  std::string VolumeLabel;
};

// The current table, in letter order.
const std::vector<TDriveInfo>& DriveTable();
// Replaces the table (sorted by letter; letters upper-cased).
void SetDriveTable(std::vector<TDriveInfo> Drives);
// Builds the table again from the system.
void ResetDriveTable();
// The table the system gives: C: for "/" and the CD drives found under DevFolder.
std::vector<TDriveInfo> SystemDriveTable(const std::string& DevFolder = "/dev");

// The drive of a letter (either case), or nullptr.
const TDriveInfo* FindDrive(char Letter);
// Bit 0 for A:, bit 2 for C:...
uint32_t GetLogicalDrives();
// "C:\", "D:\"... in letter order.
std::vector<std::string> LogicalDriveRoots();
// The type of the drive a root names ("C:\", "c:/", "C:"); DRIVE_NO_ROOT_DIR when no drive has
// that letter or the text is no drive root.
unsigned GetDriveType(const std::string& RootPathName);
// Space of the drive of a drive path, or of the file system holding a POSIX folder: bytes
// available to this user, total bytes, free bytes. False when the drive is absent or the
// file system cannot be asked. Null pointers are skipped.
bool GetDiskFreeSpaceEx(const std::string& DirectoryName, uint64_t* FreeBytesAvailable,
                        uint64_t* TotalNumberOfBytes, uint64_t* TotalNumberOfFreeBytes);
// The volume label of a drive; false when the drive is absent. A CD drive asks the label
// query when one is installed, else its disc ("Audio CD"; false without a disc).
bool GetVolumeInformation(const std::string& RootPathName, std::string& VolumeName);
using TVolumeLabelQuery = std::function<bool(const TDriveInfo& Drive, std::string& Label)>;
void SetVolumeLabelQuery(TVolumeLabelQuery Query);
// The POSIX path of a drive path ("C:\temp\a.wav" -> "/temp/a.wav"); other paths come back
// unchanged; "" when the drive is absent or has no folder.
std::string DrivePathToNative(const std::string& Path);
