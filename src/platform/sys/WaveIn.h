#pragma once
// Wave input with the classic multimedia calls, over the shared capture stream (WaveDevices.h).
//
// The caller queues headers; the device thread fills them in order with integer PCM (rounded,
// saturated; 8 bits unsigned), marks each full one done and posts MM_WIM_DATA (WParam the handle,
// LParam the header) to the callback window. Frames that arrive while no header is queued are
// dropped, as a sound card drops them, and the next header starts on a whole frame.
// waveInReset hands every queued header back marked done without posting for it, and takes back
// the messages already posted for this handle that the window has not read yet: once it returns
// no message points at a header the caller may free. Call it on the window's thread.
//
// Handles are numbers that are never reused. Device 255 is the default capture device; 0, 1...
// index WaveInDevices().

#include <cstdint>

using MMRESULT = uint32_t;

constexpr MMRESULT MMSYSERR_NOERROR = 0;
constexpr MMRESULT MMSYSERR_ERROR = 1;
constexpr MMRESULT MMSYSERR_BADDEVICEID = 2;
constexpr MMRESULT MMSYSERR_ALLOCATED = 4;
constexpr MMRESULT MMSYSERR_INVALHANDLE = 5;
constexpr MMRESULT MMSYSERR_NODRIVER = 6;
constexpr MMRESULT MMSYSERR_NOMEM = 7;
constexpr MMRESULT MMSYSERR_NOTSUPPORTED = 8;
constexpr MMRESULT MMSYSERR_INVALFLAG = 10;
constexpr MMRESULT MMSYSERR_INVALPARAM = 11;
constexpr MMRESULT WAVERR_BADFORMAT = 32;
constexpr MMRESULT WAVERR_STILLPLAYING = 33;
constexpr MMRESULT WAVERR_UNPREPARED = 34;

constexpr uint16_t WAVE_FORMAT_PCM = 1;

#pragma pack(push, 1)
struct WAVEFORMATEX {
  uint16_t wFormatTag;
  uint16_t nChannels;
  uint32_t nSamplesPerSec;
  uint32_t nAvgBytesPerSec;
  uint16_t nBlockAlign;
  uint16_t wBitsPerSample;
  uint16_t cbSize;  // extra bytes that follow
};
#pragma pack(pop)
static_assert(sizeof(WAVEFORMATEX) == 18);

struct WAVEHDR {
  char* lpData;
  uint32_t dwBufferLength;
  uint32_t dwBytesRecorded;
  uintptr_t dwUser;
  uint32_t dwFlags;
  uint32_t dwLoops;
  WAVEHDR* lpNext;
  uintptr_t reserved;
};

constexpr uint32_t WHDR_DONE = 0x01;
constexpr uint32_t WHDR_PREPARED = 0x02;
constexpr uint32_t WHDR_INQUEUE = 0x10;

constexpr unsigned WAVE_MAPPER = 255;

constexpr uint32_t CALLBACK_TYPEMASK = 0x70000;
constexpr uint32_t CALLBACK_NULL = 0x00000;
constexpr uint32_t CALLBACK_WINDOW = 0x10000;
constexpr uint32_t WAVE_MAPPED = 0x0004;

constexpr uint32_t MM_WIM_DATA = 0x3C0;

struct HWAVEIN__;
using HWAVEIN = HWAVEIN__*;

// Integer PCM of 8, 16, 24 or 32 bits, one or two channels, a rate the device layer takes;
// anything else gives WAVERR_BADFORMAT. With CALLBACK_WINDOW, dwCallback is the window.
MMRESULT waveInOpen(HWAVEIN* phwi, unsigned uDeviceID, const WAVEFORMATEX* pwfx,
                    uintptr_t dwCallback, uintptr_t dwInstance, uint32_t fdwOpen);
MMRESULT waveInPrepareHeader(HWAVEIN hwi, WAVEHDR* pwh, unsigned cbwh);
MMRESULT waveInUnprepareHeader(HWAVEIN hwi, WAVEHDR* pwh, unsigned cbwh);
MMRESULT waveInAddBuffer(HWAVEIN hwi, WAVEHDR* pwh, unsigned cbwh);
MMRESULT waveInStart(HWAVEIN hwi);
MMRESULT waveInReset(HWAVEIN hwi);
// Refused with WAVERR_STILLPLAYING while headers are queued.
MMRESULT waveInClose(HWAVEIN hwi);

// The window layer sits above this one: it hands down how a message is posted to a window and
// how the messages a window has not read yet are taken back (those of `msg` whose WParam is
// `wParam`). Until both are given, CALLBACK_WINDOW is refused with MMSYSERR_NOTSUPPORTED.
struct TWaveWindowLink {
  bool (*Post)(uintptr_t wnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) = nullptr;
  void (*Withdraw)(uintptr_t wnd, uint32_t msg, uintptr_t wParam) = nullptr;
};
void SetWaveWindowLink(const TWaveWindowLink& link);
