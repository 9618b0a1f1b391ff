#pragma once
// Audio format conversion with the classic compression-manager calls: streams between two wave
// formats, format suggestion, and the list of drivers with their formats.
//
// One driver is built in: "PCM converter" converts integer PCM (8, 16, 24, 32 bits; one or two
// channels; any rate the device layer takes) with soxr for the rate, rounding and saturating.
// Every convert call stands alone: n frames give round(n x out / in) frames (the count sox gives
// for a file of n frames) made from those n frames only, the block's edges extended by
// reflection rather than by silence, so that a block cut anywhere does not ring at its edges.
// Conversion always takes whole source blocks and leaves the rest for the next call. The driver lists the usual
// rates 8000..48000 at 8 and 16 bits, mono and stereo.
//
// Format suggestion ignores drivers: it gives PCM (16 bits unless asked otherwise) at the
// source's rate and channels.
//
// Tests may register scripted drivers (AcmRegisterScriptedDriver) that can do only the format
// pairs they list and fail where told.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/sys/WaveIn.h"

constexpr MMRESULT ACMERR_NOTPOSSIBLE = 512;
constexpr MMRESULT ACMERR_BUSY = 513;
constexpr MMRESULT ACMERR_UNPREPARED = 514;

struct HACMDRIVERID__;
using HACMDRIVERID = HACMDRIVERID__*;
struct HACMDRIVER__;
using HACMDRIVER = HACMDRIVER__*;
struct HACMSTREAM__;
using HACMSTREAM = HACMSTREAM__*;
// Either a driver id or an open driver (acmMetrics).
struct HACMOBJ__;
using HACMOBJ = HACMOBJ__*;

// ---- streams

constexpr uint32_t ACM_STREAMOPENF_QUERY = 0x00000001;
constexpr uint32_t ACM_STREAMOPENF_ASYNC = 0x00000002;
constexpr uint32_t ACM_STREAMOPENF_NONREALTIME = 0x00000004;

constexpr uint32_t ACM_STREAMSIZEF_SOURCE = 0x00000000;
constexpr uint32_t ACM_STREAMSIZEF_DESTINATION = 0x00000001;

constexpr uint32_t ACM_STREAMCONVERTF_BLOCKALIGN = 0x00000004;
constexpr uint32_t ACM_STREAMCONVERTF_START = 0x00000010;
constexpr uint32_t ACM_STREAMCONVERTF_END = 0x00000020;

constexpr uint32_t ACMSTREAMHEADER_STATUSF_DONE = 0x00010000;
constexpr uint32_t ACMSTREAMHEADER_STATUSF_PREPARED = 0x00020000;

struct ACMSTREAMHEADER {
  uint32_t cbStruct;
  uint32_t fdwStatus;
  uintptr_t dwUser;
  uint8_t* pbSrc;
  uint32_t cbSrcLength;
  uint32_t cbSrcLengthUsed;
  uintptr_t dwSrcUser;
  uint8_t* pbDst;
  uint32_t cbDstLength;
  uint32_t cbDstLengthUsed;
  uintptr_t dwDstUser;
  uint32_t dwReservedDriver[10];  // the prepared lengths, kept by the stream
};

// had null: the first driver that can do the pair. The filter must be null.
MMRESULT acmStreamOpen(HACMSTREAM* phas, HACMDRIVER had, const WAVEFORMATEX* pwfxSrc,
                       const WAVEFORMATEX* pwfxDst, const void* pwfltr, uintptr_t dwCallback,
                       uintptr_t dwInstance, uint32_t fdwOpen);
// The destination bytes that cbInput source bytes give (ACM_STREAMSIZEF_SOURCE), or the source
// bytes that fill cbInput destination bytes (ACM_STREAMSIZEF_DESTINATION).
MMRESULT acmStreamSize(HACMSTREAM has, uint32_t cbInput, uint32_t* pdwOutputBytes,
                       uint32_t fdwSize);
MMRESULT acmStreamPrepareHeader(HACMSTREAM has, ACMSTREAMHEADER* pash, uint32_t fdwPrepare);
MMRESULT acmStreamConvert(HACMSTREAM has, ACMSTREAMHEADER* pash, uint32_t fdwConvert);
MMRESULT acmStreamUnprepareHeader(HACMSTREAM has, ACMSTREAMHEADER* pash, uint32_t fdwUnprepare);
MMRESULT acmStreamReset(HACMSTREAM has, uint32_t fdwReset);
MMRESULT acmStreamClose(HACMSTREAM has, uint32_t fdwClose);

// ---- formats

constexpr uint32_t ACM_FORMATSUGGESTF_WFORMATTAG = 0x00010000;
constexpr uint32_t ACM_FORMATSUGGESTF_NCHANNELS = 0x00020000;
constexpr uint32_t ACM_FORMATSUGGESTF_NSAMPLESPERSEC = 0x00040000;
constexpr uint32_t ACM_FORMATSUGGESTF_WBITSPERSAMPLE = 0x00080000;

// The fields named by the flags are taken from pwfxDst, the others suggested.
MMRESULT acmFormatSuggest(HACMDRIVER had, const WAVEFORMATEX* pwfxSrc, WAVEFORMATEX* pwfxDst,
                          uint32_t cbwfxDst, uint32_t fdwSuggest);

struct ACMFORMATDETAILS {
  uint32_t cbStruct;
  uint32_t dwFormatIndex;
  uint32_t dwFormatTag;
  uint32_t fdwSupport;
  WAVEFORMATEX* pwfx;  // the caller's buffer
  uint32_t cbwfx;      // its size
  char szFormat[128];
};
using ACMFORMATENUMCB = bool (*)(HACMDRIVERID hadid, ACMFORMATDETAILS* pafd, uintptr_t dwInstance,
                                 uint32_t fdwSupport);
// Every format of the driver, each copied into pafd->pwfx before the callback, which answers
// false to stop.
MMRESULT acmFormatEnum(HACMDRIVER had, ACMFORMATDETAILS* pafd, ACMFORMATENUMCB fnCallback,
                       uintptr_t dwInstance, uint32_t fdwEnum);

// ---- drivers

constexpr uint32_t ACMDRIVERDETAILS_SUPPORTF_CODEC = 0x00000001;
constexpr uint32_t ACMDRIVERDETAILS_SUPPORTF_CONVERTER = 0x00000002;
constexpr uint32_t ACMDRIVERDETAILS_SUPPORTF_FILTER = 0x00000004;
constexpr uint32_t ACMDRIVERDETAILS_SUPPORTF_HARDWARE = 0x00000008;
constexpr uint32_t ACMDRIVERDETAILS_SUPPORTF_ASYNC = 0x00000010;
constexpr uint32_t ACMDRIVERDETAILS_SUPPORTF_LOCAL = 0x40000000;
constexpr uint32_t ACMDRIVERDETAILS_SUPPORTF_DISABLED = 0x80000000;

struct ACMDRIVERDETAILS {
  uint32_t cbStruct;
  uint32_t fccType;
  uint32_t fccComp;
  uint16_t wMid;
  uint16_t wPid;
  uint32_t vdwACM;
  uint32_t vdwDriver;
  uint32_t fdwSupport;
  uint32_t cFormatTags;
  uint32_t cFilterTags;
  void* hicon;
  char szShortName[32];
  char szLongName[128];
  char szCopyright[80];
  char szLicensing[128];
  char szFeatures[512];
};

using ACMDRIVERENUMCB = bool (*)(HACMDRIVERID hadid, uintptr_t dwInstance, uint32_t fdwSupport);
// The callback answers false to stop.
MMRESULT acmDriverEnum(ACMDRIVERENUMCB fnCallback, uintptr_t dwInstance, uint32_t fdwEnum);
// padd->cbStruct must be set.
MMRESULT acmDriverDetails(HACMDRIVERID hadid, ACMDRIVERDETAILS* padd, uint32_t fdwDetails);
MMRESULT acmDriverOpen(HACMDRIVER* phad, HACMDRIVERID hadid, uint32_t fdwOpen);
MMRESULT acmDriverClose(HACMDRIVER had, uint32_t fdwClose);

constexpr unsigned ACM_METRIC_MAX_SIZE_FORMAT = 50;
constexpr unsigned ACM_METRIC_DRIVER_PRIORITY = 101;
// pMetric points to a uint32_t.
MMRESULT acmMetrics(HACMOBJ hao, unsigned uMetric, void* pMetric);

// ---- test seam

// A driver that can convert exactly the listed pairs (formats compared with their extra bytes).
// Its conversion turns each whole source block into one destination block filled with the
// source block's first byte.
struct TAcmScriptedDriver {
  std::string ShortName = "Scripted";
  std::vector<std::pair<std::vector<uint8_t>, std::vector<uint8_t>>> Pairs;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> Formats;  // description, format
  MMRESULT DetailsResult = MMSYSERR_NOERROR;     // acmDriverDetails
  MMRESULT StreamOpenResult = MMSYSERR_NOERROR;  // a real open after a possible query
};
std::vector<uint8_t> AcmFormatBytes(const WAVEFORMATEX& format);
// Scripted drivers come after the built-in one, in registration order.
void AcmRegisterScriptedDriver(const TAcmScriptedDriver& driver);
void AcmRemoveScriptedDrivers();
