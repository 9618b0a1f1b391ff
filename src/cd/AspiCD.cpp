#include "cd/AspiCD.h"

#include <mutex>

#include "cd/SptiCD.h"
#include "platform/rtl/SysUtils.h"
#include "platform/sys/Drives.h"
#include "platform/sys/Modules.h"

bool ASPILoaded = false;
bool SPTIUsable = false;

namespace {

using TGetASPI32SupportInfo = uint32_t (*)();

HMODULE gAspiModule = nullptr;
TGetASPI32SupportInfo gGetSupportInfo = nullptr;
FARPROC gSendCommand = nullptr;

const char* const NoInterface = "No usable interface available or selected interface not available";

enum class TPath { Aspi, PassThrough };

TPath ChoosePath(TCDInterface Interface, const char* Error) {
  if (ASPIHostAdapterCount() >= 1 &&
      (Interface == cdiASPI || (Interface == cdiAutoDetect && !SPTIUsable)))
    return TPath::Aspi;
  if (!CDInterfaceUsable() || !SPTIUsable || Interface == cdiASPI) throw Exception(Error);
  return TPath::PassThrough;
}

std::string RootPath(char Letter) { return std::string(1, Letter) + ":\\"; }

}  // namespace

void LoadASPILayer() {
  // No ASPI layer exists on this system: the module is declared absent, so the pass-through
  // path serves every drive.
  static std::once_flag declared;
  std::call_once(declared, [] {
    if (ModuleEntryNames("wnaspi32.dll").empty()) {
      RegisterModule("wnaspi32.dll");
      SetModulePresent("wnaspi32.dll", false);
    }
  });
  if (ASPILoaded) return;
  gAspiModule = LoadLibrary("wnaspi32.dll");
  if (!gAspiModule) return;
  gSendCommand = GetProcAddress(gAspiModule, "SendASPI32Command");
  gGetSupportInfo = GetProcAddressAs<TGetASPI32SupportInfo>(gAspiModule, "GetASPI32SupportInfo");
  ASPILoaded = gSendCommand && gGetSupportInfo;
}

void FreeASPILayer() {
  if (gAspiModule) FreeLibrary(gAspiModule);
  gAspiModule = nullptr;
  gSendCommand = nullptr;
  gGetSupportInfo = nullptr;
  ASPILoaded = false;
}

int GetWindowsVersionCode() {
  const TOSVersion& v = OSVersion();
  if (v.Platform == VER_PLATFORM_WIN32_WINDOWS) return v.Minor == 0 ? 0 : 1;
  if (v.Platform != VER_PLATFORM_WIN32_NT) return -1;
  if (v.Major == 3 && v.Minor >= 51) return 2;
  if (v.Major == 4) return 3;
  if (v.Major == 5 && v.Minor == 0) return 4;
  return 5;
}

int ASPIHostAdapterCount() {
  if (!ASPILoaded) return -1;
  const uint32_t info = gGetSupportInfo();
  return ((info >> 8) & 0xFF) == 1 ? int(info & 0xFF) : -1;
}

bool CDInterfaceUsable() {
  const int code = GetWindowsVersionCode();
  if (code == 0 || code == 1) return ASPIHostAdapterCount() != -1;
  if (code >= 2 && code <= 5) {
    SPTIUsable = true;
    return true;
  }
  return false;
}

int EnumerateCDLetters(TCDDriveTable& Table) {
  Table.Count = 0;
  for (const std::string& root : LogicalDriveRoots())
    if (GetDriveType(root) == DRIVE_CDROM && Table.Count < 26)
      Table.Drives[Table.Count++].Letter = root[0];
  return Table.Count;
}

bool EnumerateCDDrives(TCDDriveTable& Table, TCDInterface Interface) {
  if (ChoosePath(Interface, NoInterface) == TPath::Aspi) {
    // The ASPI layer's own enumeration is not built: no such layer exists here.
    Table.Count = 0;
    return false;
  }
  EnumerateCDLetters(Table);
  for (int i = 0; i < Table.Count; ++i)
    if (!SPTIInquiryDrive(i, Table)) Table.Drives[i].Description = RootPath(Table.Drives[i].Letter);
  return Table.Count > 0;
}

bool InquiryDrive(int Index, TCDDriveTable& Table, TCDInterface Interface) {
  if (ChoosePath(Interface, "No usable interface available") == TPath::Aspi) return false;
  if (EnumerateCDLetters(Table) == 0) return false;
  if (Index >= 0 && Index < Table.Count && !SPTIInquiryDrive(Index, Table))
    Table.Drives[Index].Description = RootPath(Table.Drives[Index].Letter);
  return true;
}

uint8_t ReadCDTOC(TCDDriveTable& Table, int Index, TCDTOC& Toc, TCDInterface Interface) {
  if (ChoosePath(Interface, NoInterface) == TPath::Aspi) return 1;
  const char letter = Index >= 0 && Index < 26 ? Table.Drives[Index].Letter : 0;
  uint8_t raw[CdRawTocSize] = {};
  if (SPTIReadTOC(letter, raw) == -1) IoctlReadTOC(letter, raw);
  ConvertRawTOC(raw, Toc);
  return RawTOCEmpty(raw) ? 1 : 0;
}

char RegistryDriveLetter(const std::string& Text, TCDInterface Interface) {
  if (ChoosePath(Interface, NoInterface) == TPath::Aspi) return 0;
  return Text.empty() ? char(0) : Text[0];
}
