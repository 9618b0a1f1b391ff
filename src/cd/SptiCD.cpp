#include "cd/SptiCD.h"

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/rtl/SysUtils.h"
#include "platform/win/Windows.h"

namespace {

// INQUIRY and READ TOC time-outs.
constexpr int InquiryTimeoutMs = 2000;
constexpr int TocTimeoutMs = 5000;

std::string Copy(const std::string& s, size_t from1, size_t count) {
  return from1 - 1 < s.size() ? s.substr(from1 - 1, count) : std::string();
}

}  // namespace

bool SPTIInquiryDrive(int Index, TCDDriveTable& Table) {
  TCDDriveInfo& drive = Table.Drives[Index];
  int error;
  auto device = OpenCdDevice(drive.Letter, error);
  if (!device) return false;
  uint8_t data[CdInquirySize] = {};
  if (device->Inquiry(data, sizeof data, InquiryTimeoutMs) != 0) return false;
  std::string text;
  for (int i = 8; i < CdInquirySize && data[i] != 0; ++i) text += char(data[i]);
  drive.Vendor = Copy(text, 1, 8);
  drive.Product = Copy(text, 9, 16);
  drive.Revision = Copy(text, 25, 4);
  drive.VendorSpecific = Copy(text, 29, 20);
  drive.Description = drive.Vendor + drive.Product + drive.Revision;
  return device->ScsiAddress(drive.HostAdapter, drive.Target, drive.Lun) == 0;
}

int SPTIReadTOC(char Letter, uint8_t* Raw) {
  int error;
  auto device = OpenCdDevice(Letter, error);
  if (!device) return -1;
  std::memset(Raw, 0, CdRawTocSize);
  error = device->ReadTocPassThrough(Raw, CdRawTocSize, TocTimeoutMs);
  if (error == 0) return 0;
  switch (error) {
    case EACCES:
    case EPERM:
      MessageBox(nullptr,
                 "You must have Administor privileges to use SPTI under Win2000/XP; falling back "
                 "to IOCTL. This may cause erroneous results if a Mixed-Mode CD is in the drive.",
                 "Error", MB_OK);
      std::memset(Raw, 0, CdRawTocSize);
      return IoctlReadTOC(Letter, Raw);
    case EIO:
      std::memset(Raw, 0, CdRawTocSize);
      break;
    case ENOMEM:
    case EBUSY:
      break;
    default:
      MessageBox(nullptr, Format("IO Error: %d\n\r", {error}), "Error", MB_OK);
  }
  return -1;
}

int IoctlReadTOC(char Letter, uint8_t* Raw) {
  int error;
  auto device = OpenCdDevice(Letter, error);
  if (!device) return -1;
  std::memset(Raw, 0, CdRawTocSize);
  return device->ReadTocControl(Raw, CdRawTocSize) == 0 ? 0 : -1;
}

bool RawTOCEmpty(const uint8_t* Raw) { return (Raw[2] == 0 && Raw[3] == 0) || Raw[3] < Raw[2]; }

void ConvertRawTOC(const uint8_t* Raw, TCDTOC& Toc) {
  // A last track before the first (no disc in some drives' answer) would count past the
  // buffer; the buffer holds 99 tracks and the lead-out at most.
  const int first = Raw[2], last = Raw[3];
  const int count = last < first ? 1 : std::min(last - first + 1, 99);
  const uint8_t empty[8] = {};
  auto entry = [&](int i, bool leadOut) {
    const uint8_t* d = last < first ? empty : Raw + 4 + i * 8;
    TCDTrack t;
    t.Minute = d[5];
    t.Second = d[6];
    t.Frame = d[7];
    t.IsAudio = !leadOut && (d[1] & 0x04) == 0;
    return t;
  };
  Toc.TrackCount = uint8_t(count);
  for (int i = 0; i < count; ++i) Toc.Tracks[i] = entry(i, false);
  Toc.LeadOut = entry(count, true);
}
