#pragma once
// Wave input: captures the sound card's input into a ring of BufferCount buffers of BufferSize
// bytes and publishes each filled one to its observers and OnAudioRecorded. The device reports
// filled buffers as messages to a hidden window of the component, so delivery, observers and
// events all run on the GUI thread. Buffers and their headers come from a pool that reuses
// freed blocks of the same or a slightly larger size.

#include <cstdint>
#include <memory>
#include <vector>

#include "acm/deACM.h"
#include "platform/sys/WaveIn.h"
#include "platform/win/Windows.h"

class TdeAudioIO : public TComponent {
 public:
  explicit TdeAudioIO(TComponent* AOwner);
  ~TdeAudioIO() override;

  TdeWaveFormat* Format() const { return FFormat.get(); }
  void SetFormat(TdeWaveFormat* Value) { FFormat->Assign(Value); }
  uint8_t BufferCount() const { return FBufferCount; }
  // Below 2 raises EACMAudioIOError "Invalid input buffer size.".
  void SetBufferCount(uint8_t Value);
  bool AutoOpen() const { return FAutoOpen; }
  void SetAutoOpen(bool Value) { FAutoOpen = Value; }
  bool Active() const { return FActive; }
  void SetActive(bool Value);
  void Loaded() override;

  // The pool. A block holds at least the size asked for; ReleaseBuffer puts it back for reuse;
  // the memory goes back to the system only in FreeAllBuffers (every open and close).
  void* GetBuffer(uint32_t Size);
  void ReleaseBuffer(void* Address);
  void FreeAllBuffers();
  int AllocatedBufferCount() const { return int(FAllBlocks.size()); }

  TNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;

 protected:
  virtual void OpenDevice() = 0;
  virtual void CloseDevice() = 0;
  virtual void WndProc(TMessage& Message);

  std::unique_ptr<TdeWaveFormat> FFormat;
  std::vector<WAVEHDR*> FHeaders;  // in use
  HWND FWindow = nullptr;

 private:
  void Open();
  void Close();

  std::vector<void*> FFreeBlocks, FAllBlocks;
  uint8_t FBufferCount = 4;
  bool FAutoOpen = true, FActive = false;
};

class TdeAbstractAudioIn : public TdeAudioIO, public IdeAudioSubject {
 public:
  explicit TdeAbstractAudioIn(TComponent* AOwner);
  ~TdeAbstractAudioIn() override;

  bool AutoAdjustBufferSize() const { return FAutoAdjustBufferSize; }
  void SetAutoAdjustBufferSize(bool Value) { FAutoAdjustBufferSize = Value; }

  void Attach(IdeAudioObserver* Observer) override { FSubject->Attach(Observer); }
  void Detach(IdeAudioObserver* Observer) override { FSubject->Detach(Observer); }
  TdeWaveFormat* GetFormat() override { return Format(); }

  TObserverErrorEvent OnObserverError;

 protected:
  std::unique_ptr<TdeAudioSubject> FSubject;

 private:
  bool FAutoAdjustBufferSize = true;
};

class TdeCustomAudioIn : public TdeAbstractAudioIn {
 public:
  explicit TdeCustomAudioIn(TComponent* AOwner);
  ~TdeCustomAudioIn() override;

  uint32_t BufferSize() const { return FBufferSize; }
  // While active raises EACMAudioIOError "Cannot perform this action while active.".
  void SetBufferSize(uint32_t Value);
  unsigned DeviceId() const { return FDeviceId; }
  void SetDeviceId(unsigned Value) { FDeviceId = Value; }
  // The block delivered last.
  const void* LastBlock() const { return FLastBlock; }
  int LastBlockSize() const { return FLastBlockSize; }

  TBufferEvent OnAudioRecorded;

 protected:
  void OpenDevice() override;
  void CloseDevice() override;
  void WndProc(TMessage& Message) override;
  void BufferDone(WAVEHDR* Header);

 private:
  void Requeue(WAVEHDR* Header);
  // Back to the pool; the result of unpreparing it.
  MMRESULT ReleaseHeader(WAVEHDR* Header);

  uint32_t FBufferSize = 22050;
  unsigned FDeviceId = WAVE_MAPPER;
  HWAVEIN FHandle = nullptr;
  uint64_t FSession = 0;  // counts opens: a delivery may close and reopen the device
  const void* FLastBlock = nullptr;
  int FLastBlockSize = 0;
};

class TdeAudioIn : public TdeCustomAudioIn {
 public:
  using TdeCustomAudioIn::TdeCustomAudioIn;
};
