#include "platform/sys/WaveIn.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <deque>
#include <map>
#include <memory>
#include <mutex>

#include "platform/sys/WaveDevices.h"

namespace {

TWaveWindowLink gLink;
std::mutex gLinkLock;

TWaveWindowLink Link() {
  std::lock_guard l(gLinkLock);
  return gLink;
}

struct TWaveInDevice {
  std::mutex Lock;
  uintptr_t Handle = 0;
  uintptr_t Window = 0;
  TWaveWindowLink Link;
  int Channels = 0, Bytes = 0;  // bytes per sample
  bool Started = false;
  // A frame was cut short by a missing header: drop samples until the next frame starts.
  bool Resync = false;
  int Channel = 0;  // channel of the next sample the device gives
  std::deque<WAVEHDR*> Queue;
  TWaveInStream Stream;

  void Put(int64_t v) {
    WAVEHDR* h = Queue.empty() ? nullptr : Queue.front();
    if (Resync && Channel != 0) h = nullptr;
    if (!h) {
      Resync = true;
      return;
    }
    Resync = false;
    unsigned char* p = reinterpret_cast<unsigned char*>(h->lpData) + h->dwBytesRecorded;
    for (int k = 0; k < Bytes; ++k) p[k] = static_cast<unsigned char>(uint64_t(v) >> (8 * k));
    h->dwBytesRecorded += uint32_t(Bytes);
    if (h->dwBytesRecorded + uint32_t(Bytes) > h->dwBufferLength) Finish();
  }

  void Finish() {
    WAVEHDR* h = Queue.front();
    Queue.pop_front();
    h->dwFlags = (h->dwFlags | WHDR_DONE) & ~WHDR_INQUEUE;
    if (Window && Link.Post)
      Link.Post(Window, MM_WIM_DATA, Handle, reinterpret_cast<intptr_t>(h));
  }

  // Device thread.
  void Deliver(const float* values, int64_t frames) {
    std::lock_guard l(Lock);
    if (!Started) return;
    const int64_t n = frames * Channels;
    const double scale = std::ldexp(1.0, 8 * Bytes - 1);
    const double top = scale - 1;
    for (int64_t i = 0; i < n; ++i) {
      const double v = std::clamp(std::nearbyint(double(values[i]) * scale), -scale, top);
      Put(Bytes == 1 ? int64_t(v) + 128 : int64_t(v));
      Channel = (Channel + 1) % Channels;
    }
  }
};

std::mutex gDevicesLock;
std::map<uintptr_t, std::shared_ptr<TWaveInDevice>> gDevices;
uintptr_t gNextHandle = 0;

std::shared_ptr<TWaveInDevice> Find(HWAVEIN hwi) {
  std::lock_guard l(gDevicesLock);
  auto it = gDevices.find(reinterpret_cast<uintptr_t>(hwi));
  return it == gDevices.end() ? nullptr : it->second;
}

bool FormatTaken(const WAVEFORMATEX& f) {
  const int bits = f.wBitsPerSample;
  return f.wFormatTag == WAVE_FORMAT_PCM && (bits == 8 || bits == 16 || bits == 24 || bits == 32) &&
         f.nChannels >= 1 && f.nChannels <= kWaveMaxChannels &&
         f.nBlockAlign == f.nChannels * bits / 8 && int64_t(f.nSamplesPerSec) >= kWaveMinRate &&
         int64_t(f.nSamplesPerSec) <= kWaveMaxRate;
}

MMRESULT FromWaveResult(int r) {
  switch (r) {
    case wrOk:
      return MMSYSERR_NOERROR;
    case wrNoDevice:
      return MMSYSERR_BADDEVICEID;
    case wrBusy:
      return MMSYSERR_ALLOCATED;
    case wrBadFormat:
      return WAVERR_BADFORMAT;
    default:
      return MMSYSERR_ERROR;
  }
}

MMRESULT CheckHeader(WAVEHDR* pwh, unsigned cbwh) {
  return !pwh || cbwh < sizeof(WAVEHDR) ? MMSYSERR_INVALPARAM : MMSYSERR_NOERROR;
}

}  // namespace

void SetWaveWindowLink(const TWaveWindowLink& link) {
  std::lock_guard l(gLinkLock);
  gLink = link;
}

MMRESULT waveInOpen(HWAVEIN* phwi, unsigned uDeviceID, const WAVEFORMATEX* pwfx,
                    uintptr_t dwCallback, uintptr_t, uint32_t fdwOpen) {
  if (!phwi || !pwfx) return MMSYSERR_INVALPARAM;
  *phwi = nullptr;
  const uint32_t kind = fdwOpen & CALLBACK_TYPEMASK;
  if (kind != CALLBACK_NULL && kind != CALLBACK_WINDOW) return MMSYSERR_INVALFLAG;
  auto dev = std::make_shared<TWaveInDevice>();
  if (kind == CALLBACK_WINDOW) {
    dev->Link = Link();
    if (!dev->Link.Post || !dev->Link.Withdraw) return MMSYSERR_NOTSUPPORTED;
    if (!dwCallback) return MMSYSERR_INVALPARAM;
    dev->Window = dwCallback;
  }
  if (!FormatTaken(*pwfx)) return WAVERR_BADFORMAT;
  int device = -1;
  if (uDeviceID != WAVE_MAPPER) {
    if (uDeviceID >= WaveInDevices().size()) return MMSYSERR_BADDEVICEID;
    device = int(uDeviceID);
  }
  dev->Channels = pwfx->nChannels;
  dev->Bytes = pwfx->wBitsPerSample / 8;
  {
    std::lock_guard l(gDevicesLock);
    dev->Handle = ++gNextHandle;
  }
  TWaveInDevice* raw = dev.get();
  const int r = dev->Stream.Open(
      int(pwfx->nSamplesPerSec), pwfx->nChannels,
      [raw](const float* v, int64_t frames) { raw->Deliver(v, frames); }, device);
  if (r != wrOk) return FromWaveResult(r);
  std::lock_guard l(gDevicesLock);
  gDevices[dev->Handle] = dev;
  *phwi = reinterpret_cast<HWAVEIN>(dev->Handle);
  return MMSYSERR_NOERROR;
}

MMRESULT waveInPrepareHeader(HWAVEIN hwi, WAVEHDR* pwh, unsigned cbwh) {
  auto dev = Find(hwi);
  if (!dev) return MMSYSERR_INVALHANDLE;
  if (MMRESULT r = CheckHeader(pwh, cbwh)) return r;
  std::lock_guard l(dev->Lock);
  pwh->dwFlags |= WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT waveInUnprepareHeader(HWAVEIN hwi, WAVEHDR* pwh, unsigned cbwh) {
  auto dev = Find(hwi);
  if (!dev) return MMSYSERR_INVALHANDLE;
  if (MMRESULT r = CheckHeader(pwh, cbwh)) return r;
  std::lock_guard l(dev->Lock);
  if (pwh->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  pwh->dwFlags &= ~WHDR_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT waveInAddBuffer(HWAVEIN hwi, WAVEHDR* pwh, unsigned cbwh) {
  auto dev = Find(hwi);
  if (!dev) return MMSYSERR_INVALHANDLE;
  if (MMRESULT r = CheckHeader(pwh, cbwh)) return r;
  std::lock_guard l(dev->Lock);
  if (!(pwh->dwFlags & WHDR_PREPARED)) return WAVERR_UNPREPARED;
  if (pwh->dwFlags & WHDR_INQUEUE) return WAVERR_STILLPLAYING;
  if (!pwh->lpData || pwh->dwBufferLength < uint32_t(dev->Bytes)) return MMSYSERR_INVALPARAM;
  pwh->dwFlags = (pwh->dwFlags | WHDR_INQUEUE) & ~WHDR_DONE;
  pwh->dwBytesRecorded = 0;
  dev->Queue.push_back(pwh);
  return MMSYSERR_NOERROR;
}

MMRESULT waveInStart(HWAVEIN hwi) {
  auto dev = Find(hwi);
  if (!dev) return MMSYSERR_INVALHANDLE;
  std::lock_guard l(dev->Lock);
  dev->Started = true;
  return MMSYSERR_NOERROR;
}

MMRESULT waveInReset(HWAVEIN hwi) {
  auto dev = Find(hwi);
  if (!dev) return MMSYSERR_INVALHANDLE;
  {
    std::lock_guard l(dev->Lock);
    dev->Started = false;
    for (WAVEHDR* h : dev->Queue) h->dwFlags = (h->dwFlags | WHDR_DONE) & ~WHDR_INQUEUE;
    dev->Queue.clear();
    dev->Resync = false;
    dev->Channel = 0;
  }
  // Nothing can be posted any more; what was posted before must not reach the window.
  if (dev->Window) dev->Link.Withdraw(dev->Window, MM_WIM_DATA, dev->Handle);
  return MMSYSERR_NOERROR;
}

MMRESULT waveInClose(HWAVEIN hwi) {
  auto dev = Find(hwi);
  if (!dev) return MMSYSERR_INVALHANDLE;
  {
    std::lock_guard l(dev->Lock);
    if (!dev->Queue.empty()) return WAVERR_STILLPLAYING;
    dev->Started = false;
  }
  // The device thread may be inside Deliver: closing the stream waits for it.
  dev->Stream.Close();
  std::lock_guard l(gDevicesLock);
  gDevices.erase(dev->Handle);
  return MMSYSERR_NOERROR;
}
