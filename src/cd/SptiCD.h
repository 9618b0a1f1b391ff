#pragma once
// Pass-through access to one CD drive: INQUIRY with the SCSI address, and the TOC read by a
// SCSI command with the control code as its fallback. Every TOC is a raw READ TOC buffer of
// CdRawTocSize bytes, which ConvertRawTOC turns into the record.

#include <cstdint>

#include "cd/AspiCD.h"
#include "platform/sys/CdDevice.h"

// INQUIRY and SCSI address of one slot; true only when both succeed.
bool SPTIInquiryDrive(int Index, TCDDriveTable& Table);
// Reads the TOC of the drive by pass-through into Raw; 0 on success, -1 on failure. A drive
// that refuses the command for lack of rights is read with IoctlReadTOC after a message box.
int SPTIReadTOC(char Letter, uint8_t* Raw);
int IoctlReadTOC(char Letter, uint8_t* Raw);
// True when the raw TOC holds no disc (no track numbers, or the last before the first).
bool RawTOCEmpty(const uint8_t* Raw);
void ConvertRawTOC(const uint8_t* Raw, TCDTOC& Toc);
