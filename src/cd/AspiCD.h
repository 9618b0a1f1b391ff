#pragma once
// The CD drives of the machine and the table of contents of their discs: the drive table, the
// TOC record, the choice of the access path, enumeration, INQUIRY and the TOC read. The
// pass-through routines are in SptiCD.h.

#include <cstdint>
#include <string>

enum class TCDInterface { cdiAutoDetect, cdiASPI, cdiNTSCSI };
using enum TCDInterface;

struct TCDDriveInfo {
  uint8_t HostAdapter = 0;
  uint8_t Target = 0;
  uint8_t Lun = 0;
  std::string Vendor;
  std::string Product;
  std::string Revision;
  std::string VendorSpecific;
  std::string Description;
  char Letter = 0;
};

struct TCDDriveTable {
  uint8_t Current = 0;
  uint8_t Count = 0;
  TCDDriveInfo Drives[26];
};

struct TCDTrack {
  uint8_t Minute = 0;
  uint8_t Second = 0;
  uint8_t Frame = 0;
  bool IsAudio = false;
};

struct TCDTOC {
  uint8_t TrackCount = 0;
  TCDTrack LeadOut;
  TCDTrack Tracks[100];
};

// Set once the ASPI layer was loaded and bound; it is absent on this system.
extern bool ASPILoaded;
// Set by CDInterfaceUsable on the NT family, never cleared.
extern bool SPTIUsable;

void LoadASPILayer();
void FreeASPILayer();
// 0/1 the 9x family, 2 to 5 the NT family by version, -1 any other platform.
int GetWindowsVersionCode();
// Host adapters of the ASPI layer; -1 when it is not loaded or does not answer.
int ASPIHostAdapterCount();
bool CDInterfaceUsable();

// Fills the letters of the CD drives; returns Count.
int EnumerateCDLetters(TCDDriveTable& Table);
// Fills the table; true when a drive was found. Each drive is asked once; a drive whose INQUIRY
// fails is described by its root path ("D:\").
bool EnumerateCDDrives(TCDDriveTable& Table, TCDInterface Interface);
bool InquiryDrive(int Index, TCDDriveTable& Table, TCDInterface Interface);
// 0 when a disc was read into Toc, 1 when there is none.
uint8_t ReadCDTOC(TCDDriveTable& Table, int Index, TCDTOC& Toc, TCDInterface Interface);
char RegistryDriveLetter(const std::string& Text, TCDInterface Interface);
