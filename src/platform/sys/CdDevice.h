#pragma once
// Raw access to the CD drives of the drive table: SCSI INQUIRY, the SCSI address, and the table
// of contents read by pass-through or by the CD-ROM control code. Three kinds of drive answer
// through one interface:
//   - a Linux drive (/dev/srN): SG_IO requests with their time-outs, the CD-ROM TOC ioctls;
//   - a cue sheet with its BIN (a drive listed in SONALIX_CD_IMAGES), read through libcdio;
//   - a scripted drive for tests: canned answers and chosen errno values.
// Every TOC comes back in the layout of READ TOC format 0 with MSF addresses (804 bytes: data
// length, first and last track, then 8-byte descriptors), whichever way it was read.
// Failures are errno values: EACCES/EPERM (not allowed), EIO (no disc, or the drive refused),
// ENOMEDIUM, ENOENT (no such drive)...

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/sys/Drives.h"

constexpr int CdRawTocSize = 804;
constexpr int CdInquirySize = 100;
constexpr int CdSectorBytes = 2352;

class TCdDevice {
 public:
  virtual ~TCdDevice() = default;
  // INQUIRY (allocation length Len) into Data; 0 or an errno value.
  virtual int Inquiry(uint8_t* Data, int Len, int TimeoutMs) = 0;
  virtual int ScsiAddress(uint8_t& HostAdapter, uint8_t& Target, uint8_t& Lun) = 0;
  // READ TOC format 0, MSF, by a SCSI command.
  virtual int ReadTocPassThrough(uint8_t* Buffer, int Len, int TimeoutMs) = 0;
  // The same layout built from the CD-ROM control code's answers.
  virtual int ReadTocControl(uint8_t* Buffer, int Len) = 0;
};

// True for a drive whose disc is a cue sheet with its BIN.
bool IsCdImage(const TDriveInfo& Drive);
// Opens the device of a CD drive letter; nullptr with the errno value in Error when it cannot
// be opened (ENOENT when the letter is no CD drive).
std::unique_ptr<TCdDevice> OpenCdDevice(char Letter, int& Error);

// One track of a raw TOC as built by the devices.
struct TCdTocEntry {
  uint8_t Number = 0;   // 0xAA for the lead-out
  uint8_t Control = 0;  // ADR/control byte: 0x10 audio, 0x14 data
  int32_t Lba = 0;      // logical block address (the 2-second lead-in not counted)
};
// Writes entries (tracks then lead-out) in the 804-byte layout; First/Last are the track numbers.
void BuildRawToc(uint8_t First, uint8_t Last, const std::vector<TCdTocEntry>& Entries,
                 uint8_t* Buffer, int Len);

// The tracks of the disc in a drive read from its TOC (lead-out last); false when no disc.
bool ReadCdTracks(char Letter, std::vector<TCdTocEntry>& Tracks);
// The label a CD drive shows: "Audio CD" when its disc has an audio track; false without a disc.
bool CdVolumeLabel(const TDriveInfo& Drive, std::string& Label);

// Scripted drives for tests, found by letter before any real device. A drive of the table
// whose letter has a script opens it; the counters show how often each request was made.
struct TScriptedCd {
  int OpenError = 0;
  std::vector<uint8_t> InquiryData;  // answered as is (padded with zeros)
  int InquiryError = 0;
  uint8_t HostAdapter = 0, Target = 0, Lun = 0;
  int AddressError = 0;
  std::vector<uint8_t> Toc;  // the raw TOC both reads answer
  int TocError = 0;
  int ControlTocError = 0;
  // Counters.
  int Inquiries = 0;
  int PassThroughTocReads = 0;
  int ControlTocReads = 0;
};
// Installs (or, with nullptr, removes) the script of a letter; the caller keeps it alive.
void SetScriptedCd(char Letter, TScriptedCd* Script);
