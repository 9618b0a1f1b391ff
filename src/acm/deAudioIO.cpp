#include "acm/deAudioIO.h"

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>

#include "platform/win/Messages.h"

namespace {

// The device layer lies below the window layer: it posts through what is handed down here.
bool PostToWindow(uintptr_t wnd, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
  return PostMessage(reinterpret_cast<HWND>(wnd), msg, wParam, lParam);
}

void WithdrawFromWindow(uintptr_t wnd, uint32_t msg, uintptr_t wParam) {
  std::vector<MSG> others;
  MSG m;
  while (PeekMessage(&m, reinterpret_cast<HWND>(wnd), msg, msg, PM_REMOVE | PM_NOYIELD))
    if (m.wParam != wParam) others.push_back(m);
  for (const MSG& o : others) PostMessage(o.hwnd, o.message, o.wParam, o.lParam);
}

void LinkWaveDevicesToWindows() {
  static const bool done = [] {
    TWaveWindowLink link;
    link.Post = &PostToWindow;
    link.Withdraw = &WithdrawFromWindow;
    SetWaveWindowLink(link);
    return true;
  }();
  (void)done;
}

// The block's size sits in front of it, padded so that the block stays aligned for a header.
constexpr size_t kBlockPrefix = alignof(std::max_align_t);

uint32_t BlockSize(void* address) {
  uint32_t size;
  std::memcpy(&size, static_cast<char*>(address) - kBlockPrefix, sizeof size);
  return size;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// TdeAudioIO

TdeAudioIO::TdeAudioIO(TComponent* AOwner)
    : TComponent(AOwner), FFormat(std::make_unique<TdeWaveFormat>()) {
  LinkWaveDevicesToWindows();
  FWindow = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TdeAudioIO::~TdeAudioIO() {
  FreeAllBuffers();
  DeallocateHWnd(FWindow);
}

void TdeAudioIO::SetBufferCount(uint8_t Value) {
  if (Value < 2) throw EACMAudioIOError("Invalid input buffer size.");
  FBufferCount = Value;
}

void TdeAudioIO::SetActive(bool Value) {
  if (Value)
    Open();
  else
    Close();
}

void TdeAudioIO::Loaded() {
  TComponent::Loaded();
  if (FAutoOpen && !ComponentState().Contains(csDesigning)) SetActive(true);
}

void TdeAudioIO::Open() {
  if (FActive) return;
  FreeAllBuffers();
  if (BeforeOpen) BeforeOpen(this);
  OpenDevice();
  FActive = true;
  if (AfterOpen) AfterOpen(this);
}

void TdeAudioIO::Close() {
  if (!FActive) return;
  if (BeforeClose) BeforeClose(this);
  CloseDevice();
  FreeAllBuffers();
  FActive = false;
  if (AfterClose) AfterClose(this);
}

void TdeAudioIO::WndProc(TMessage& Message) { Message.Result = 1; }

void* TdeAudioIO::GetBuffer(uint32_t Size) {
  // An exact fit first; else the larger block that wastes least, as long as it wastes less than
  // the size asked for.
  int best = -1;
  uint32_t bestExcess = 0;
  for (size_t i = 0; i < FFreeBlocks.size(); ++i) {
    const uint32_t size = BlockSize(FFreeBlocks[i]);
    if (size == Size) {
      best = int(i);
      break;
    }
    if (size > Size && size - Size < Size && (best < 0 || size - Size < bestExcess)) {
      best = int(i);
      bestExcess = size - Size;
    }
  }
  if (best >= 0) {
    void* block = FFreeBlocks[size_t(best)];
    FFreeBlocks.erase(FFreeBlocks.begin() + best);
    return block;
  }
  char* raw = static_cast<char*>(std::malloc(kBlockPrefix + Size));
  if (!raw) throw EACMAudioOutError("Cannot allocate global memory.");
  std::memcpy(raw, &Size, sizeof Size);
  FAllBlocks.push_back(raw + kBlockPrefix);
  return raw + kBlockPrefix;
}

void TdeAudioIO::ReleaseBuffer(void* Address) {
  if (Address) FFreeBlocks.push_back(Address);
}

void TdeAudioIO::FreeAllBuffers() {
  for (void* block : FAllBlocks) std::free(static_cast<char*>(block) - kBlockPrefix);
  FAllBlocks.clear();
  FFreeBlocks.clear();
}

// ---------------------------------------------------------------------------------------------
// TdeAbstractAudioIn

TdeAbstractAudioIn::TdeAbstractAudioIn(TComponent* AOwner) : TdeAudioIO(AOwner) {
  FSubject = std::make_unique<TdeAudioSubject>(this, FFormat.get());
  FSubject->OnObserverError = [this](IdeAudioSubject* s, IdeAudioObserver* o, Exception& e,
                                     bool& raise) {
    if (OnObserverError) OnObserverError(s, o, e, raise);
  };
}

TdeAbstractAudioIn::~TdeAbstractAudioIn() = default;

// ---------------------------------------------------------------------------------------------
// TdeCustomAudioIn

TdeCustomAudioIn::TdeCustomAudioIn(TComponent* AOwner) : TdeAbstractAudioIn(AOwner) {}

TdeCustomAudioIn::~TdeCustomAudioIn() {
  try {
    SetActive(false);
  } catch (Exception&) {
  }
}

void TdeCustomAudioIn::SetBufferSize(uint32_t Value) {
  if (Active()) throw EACMAudioIOError("Cannot perform this action while active.");
  FBufferSize = Value;
}

void TdeCustomAudioIn::OpenDevice() {
  const TdeWaveFormat* format = FFormat.get();
  if (const int bits = format->BitsPerSample()) {
    if (AutoAdjustBufferSize()) {
      const uint32_t frame = uint32_t(bits / 8) * format->Channels();
      if (frame > 1) FBufferSize -= FBufferSize % frame;
    }
    if (FBufferSize == 0 || (uint64_t(FBufferSize) * 8) % uint32_t(bits) != 0)
      throw EACMAudioInError("Invalid input buffer size.");
  }
  const uintptr_t window = reinterpret_cast<uintptr_t>(FWindow);
  const MMRESULT r =
      format->FormatTag() == WAVE_FORMAT_PCM
          ? waveInOpen(&FHandle, FDeviceId, format->Pointer(), window, 0, CALLBACK_WINDOW)
          : waveInOpen(&FHandle, 0, format->Pointer(), window, 0, CALLBACK_WINDOW | WAVE_MAPPED);
  CheckMMResult<EACMAudioInError>(r, "Error opening audio device for input.");
  ++FSession;
  try {
    for (int i = 0; i < BufferCount(); ++i) {
      auto* header = static_cast<WAVEHDR*>(GetBuffer(sizeof(WAVEHDR)));
      std::memset(header, 0, sizeof *header);
      FHeaders.push_back(header);
      header->lpData = static_cast<char*>(GetBuffer(FBufferSize));
      header->dwBufferLength = FBufferSize;
      CheckMMResult<EACMAudioInError>(waveInPrepareHeader(FHandle, header, sizeof *header),
                                      "Error preparing input header.");
      CheckMMResult<EACMAudioInError>(waveInAddBuffer(FHandle, header, sizeof *header),
                                      "Error adding input buffer.");
    }
    CheckMMResult<EACMAudioInError>(waveInStart(FHandle), "Error opening audio device for input.");
  } catch (...) {
    try {
      CloseDevice();
    } catch (Exception&) {
    }
    FreeAllBuffers();
    throw;
  }
}

void TdeCustomAudioIn::CloseDevice() {
  if (!FHandle) return;
  const MMRESULT reset = waveInReset(FHandle);
  const std::vector<WAVEHDR*> headers = FHeaders;
  for (auto it = headers.rbegin(); it != headers.rend(); ++it) ReleaseHeader(*it);
  FHeaders.clear();
  const MMRESULT close = waveInClose(FHandle);
  FHandle = nullptr;
  FLastBlock = nullptr;
  FLastBlockSize = 0;
  CheckMMResult<EACMAudioInError>(reset ? reset : close, "Error closing input device.");
}

void TdeCustomAudioIn::WndProc(TMessage& Message) {
  Message.Result = 1;
  if (Message.Msg == MM_WIM_DATA) BufferDone(reinterpret_cast<WAVEHDR*>(Message.LParam));
}

void TdeCustomAudioIn::BufferDone(WAVEHDR* Header) {
  if (!Active()) {
    if (std::find(FHeaders.begin(), FHeaders.end(), Header) == FHeaders.end()) return;
    CheckMMResult<EACMAudioInError>(ReleaseHeader(Header), "Error unpreparing input header.");
    return;
  }
  // A delivery may close, reopen or free this component.
  TWeakLink<TdeCustomAudioIn> self(this);
  const uint64_t session = FSession;
  auto stillMine = [&] { return self && Active() && FSession == session; };
  FLastBlock = Header->lpData;
  FLastBlockSize = int(Header->dwBytesRecorded);
  try {
    FSubject->Notify(this, Header->lpData, int(Header->dwBytesRecorded));
    // Closed meanwhile: the block went back to the system with the pool.
    if (!stillMine()) return;
    if (OnAudioRecorded) OnAudioRecorded(this, Header->lpData, int(Header->dwBytesRecorded));
  } catch (...) {
    // The buffer goes round again even when a delivery fails, so capture goes on.
    if (stillMine()) Requeue(Header);
    throw;
  }
  if (stillMine()) Requeue(Header);
}

void TdeCustomAudioIn::Requeue(WAVEHDR* Header) {
  CheckMMResult<EACMAudioInError>(waveInUnprepareHeader(FHandle, Header, sizeof *Header),
                                  "Error unpreparing input header.");
  Header->dwBufferLength = FBufferSize;
  Header->dwBytesRecorded = 0;
  Header->dwUser = 0;
  Header->dwFlags = 0;
  Header->dwLoops = 0;
  CheckMMResult<EACMAudioInError>(waveInPrepareHeader(FHandle, Header, sizeof *Header),
                                  "Error preparing input header.");
  CheckMMResult<EACMAudioInError>(waveInAddBuffer(FHandle, Header, sizeof *Header),
                                  "Error adding input buffer.");
}

MMRESULT TdeCustomAudioIn::ReleaseHeader(WAVEHDR* Header) {
  const MMRESULT r = waveInUnprepareHeader(FHandle, Header, sizeof *Header);
  ReleaseBuffer(Header->lpData);
  ReleaseBuffer(Header);
  std::erase(FHeaders, Header);
  return r;
}
