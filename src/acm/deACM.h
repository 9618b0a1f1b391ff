#pragma once
// The audio input library's base: the subject and observer that chain its components (a producer
// publishes blocks to the observers attached to its subject; a consumer's observer names the
// producer as its AudioSource), the persistent wave format, the library's exceptions and result
// texts; and the conversion chain that turns blocks of one wave format into another through the
// compression manager, with the list of installed drivers.
//
// A producer answers as IdeAudioSubject by forwarding to the TdeAudioSubject it owns. Observers
// and sources find each other's end through free notification rather than reference counts.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/sys/AudioCompression.h"

SONALIX_DECLARE_EXCEPTION(EACMError, Exception);
SONALIX_DECLARE_EXCEPTION(EACMCodecError, EACMError);
SONALIX_DECLARE_EXCEPTION(EACMConversionError, EACMError);
SONALIX_DECLARE_EXCEPTION(EACMAudioIOError, EACMError);
SONALIX_DECLARE_EXCEPTION(EACMAudioInError, EACMAudioIOError);
SONALIX_DECLARE_EXCEPTION(EACMAudioOutError, EACMAudioIOError);

// The text of a multimedia or compression-manager result; a non-empty context comes first, on a
// line of its own.
std::string MMResultText(MMRESULT Code, const std::string& Context);
// Raises E with MMResultText for every non-zero code.
template <class E>
void CheckMMResult(MMRESULT Code, const std::string& Context = {}) {
  if (Code != MMSYSERR_NOERROR) throw E(MMResultText(Code, Context));
}

// A WAVEFORMATEX and its extra bytes in a buffer of 512 bytes, stored whole in descriptions as
// "FormatBuffer". The default is PCM, stereo, 11025 Hz, 8 bits.
class TdeWaveFormat : public TPersistent {
 public:
  static constexpr int kBufferSize = 512;
  static constexpr int kMaxExtraSize = kBufferSize - int(sizeof(WAVEFORMATEX));
  // Tag 42h carries ten configuration bytes of ours: version 1 (word), no flags (word), 240
  // frames a block (word) and two reserved words.
  static constexpr uint16_t kConfiguredTag = 0x42;

  TdeWaveFormat() { SetDefault(); }
  void Assign(TPersistent* Source) override;
  bool Equals(const TdeWaveFormat* Other) const;
  void SetDefault();

  uint16_t FormatTag() const { return Fields().wFormatTag; }
  void SetFormatTag(uint16_t Value);
  uint16_t Channels() const { return Fields().nChannels; }
  void SetChannels(uint16_t Value) { Fields().nChannels = Value; }
  uint32_t SamplesPerSec() const { return Fields().nSamplesPerSec; }
  void SetSamplesPerSec(uint32_t Value) { Fields().nSamplesPerSec = Value; }
  uint32_t AvgBytesPerSec() const { return Fields().nAvgBytesPerSec; }
  void SetAvgBytesPerSec(uint32_t Value) { Fields().nAvgBytesPerSec = Value; }
  uint16_t BlockAlign() const { return Fields().nBlockAlign; }
  void SetBlockAlign(uint16_t Value) { Fields().nBlockAlign = Value; }
  uint16_t BitsPerSample() const { return Fields().wBitsPerSample; }
  void SetBitsPerSample(uint16_t Value) { Fields().wBitsPerSample = Value; }
  uint16_t ExtraSize() const { return Fields().cbSize; }
  // Above kMaxExtraSize raises EACMError "The wave format buffer is too small.".
  void SetExtraSize(uint16_t Value);

  WAVEFORMATEX* Pointer() { return &Fields(); }
  const WAVEFORMATEX* Pointer() const { return &Fields(); }
  uint8_t* Bytes() { return FBuffer; }
  const uint8_t* Bytes() const { return FBuffer; }

 protected:
  void DefineProperties(TFiler* Filer) override;

 private:
  WAVEFORMATEX& Fields() { return *reinterpret_cast<WAVEFORMATEX*>(FBuffer); }
  const WAVEFORMATEX& Fields() const { return *reinterpret_cast<const WAVEFORMATEX*>(FBuffer); }
  alignas(8) uint8_t FBuffer[kBufferSize];
};

class IdeAudioObserver;

class IdeAudioSubject {
 public:
  virtual void Attach(IdeAudioObserver* Observer) = 0;
  virtual void Detach(IdeAudioObserver* Observer) = 0;
  virtual TdeWaveFormat* GetFormat() = 0;

 protected:
  ~IdeAudioSubject() = default;
};

class IdeAudioObserver {
 public:
  virtual void Update(IdeAudioSubject* Sender, const void* Buffer, int Size) = 0;

 protected:
  ~IdeAudioObserver() = default;
};

using TBufferEvent = Event<void(TObject* Sender, const void* AudioData, int AudioDataSize)>;
using TAbortableBufferEvent =
    Event<void(TObject* Sender, const void* AudioData, int AudioDataSize, bool& Abort)>;
using TObserverErrorEvent = Event<void(IdeAudioSubject* Sender, IdeAudioObserver* Observer,
                                       Exception& E, bool& RaiseException)>;

// The producer's side. Not owned by a component: its producer holds it.
class TdeAudioSubject : public TComponent {
 public:
  // Both must be given.
  TdeAudioSubject(TComponent* Outer, TdeWaveFormat* Format);
  void Attach(IdeAudioObserver* Observer);
  void Detach(IdeAudioObserver* Observer);
  // Update of every observer in attach order. An observer that raises goes to OnObserverError
  // with RaiseException preset to RaiseObserverErrors; when it stays true the exception goes on.
  void Notify(IdeAudioSubject* Sender, const void* Buffer, int Size);

  TComponent* Outer() const { return FOuter; }
  TdeWaveFormat* Format() const { return FFormat; }
  int ObserverCount() const { return int(FObservers.size()); }
  bool RaiseObserverErrors = true;
  TObserverErrorEvent OnObserverError;

 private:
  TComponent* FOuter;
  TdeWaveFormat* FFormat;
  std::vector<IdeAudioObserver*> FObservers;
};

// The consumer's side. Not owned by a component: its consumer holds it.
class TdeAudioObserver : public TComponent, public IdeAudioObserver {
 public:
  using TUpdateRoutine = std::function<void(IdeAudioSubject* Sender, const void* Buffer, int Size)>;
  TdeAudioObserver(TComponent* Outer, TUpdateRoutine Routine);
  ~TdeAudioObserver() override;

  TComponent* AudioSource() const { return FAudioSource; }
  // Raises EACMError "Component cannot observe itself." for the outer component and "The
  // selected component is not an audio subject." for one that is not; null is allowed.
  void SetAudioSource(TComponent* Value);
  void Update(IdeAudioSubject* Sender, const void* Buffer, int Size) override;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TComponent* FOuter;
  TUpdateRoutine FRoutine;
  TComponent* FAudioSource = nullptr;
  IdeAudioSubject* FSubject = nullptr;
};

// One compression-manager stream with its own buffers: what does not convert yet (part of a
// block) waits for the next call.
class TMiniConvertor {
 public:
  TMiniConvertor(const TdeWaveFormat* FormatIn, const TdeWaveFormat* FormatOut);
  ~TMiniConvertor();
  TMiniConvertor(const TMiniConvertor&) = delete;
  TMiniConvertor& operator=(const TMiniConvertor&) = delete;

  void Open(bool RealTime);
  void Close();
  bool IsOpen() const { return FOpen; }
  // The output's size; the output lies in Output().
  int Convert(const void* Data, int Size, bool SetFPU, uint32_t Flags);
  const uint8_t* Output() const { return FDst.data(); }

 private:
  TdeWaveFormat FFormatIn, FFormatOut;
  HACMSTREAM FStream = nullptr;
  ACMSTREAMHEADER FHeader{};
  bool FPrepared = false;
  std::vector<uint8_t> FSrc;
  uint32_t FHeld = 0;
  std::vector<uint8_t> FDst;
  bool FOpen = false;
};

class TdeAudioConvertor : public TComponent, public IdeAudioSubject {
 public:
  explicit TdeAudioConvertor(TComponent* AOwner);
  ~TdeAudioConvertor() override;

  TComponent* AudioSource() const { return FObserver->AudioSource(); }
  void SetAudioSource(TComponent* Value) { FObserver->SetAudioSource(Value); }
  TdeWaveFormat* FormatIn() const { return FFormatIn.get(); }
  void SetFormatIn(TdeWaveFormat* Value) { FFormatIn->Assign(Value); }
  TdeWaveFormat* FormatOut() const { return FFormatOut.get(); }
  void SetFormatOut(TdeWaveFormat* Value) { FFormatOut->Assign(Value); }
  bool RequestRealTime() const { return FRequestRealTime; }
  // Raises EACMConversionError "Cannot perform this action while active." while active.
  void SetRequestRealTime(bool Value);
  // Kept for stored descriptions; the conversion does not depend on it.
  bool Set8087FPUFlag() const { return FSet8087FPUFlag; }
  void SetSet8087FPUFlag(bool Value) { FSet8087FPUFlag = Value; }

  bool Active() const { return FActive; }
  void SetActive(bool Value);
  // Builds the chain: one stream when the compression manager can, else up to three through
  // suggested PCM formats. Raises "Conversion not possible." when none bridges the formats.
  void Open();
  void Close();
  // Converts one block through the chain; publishes the output when there is some.
  void Convert(const void* Buffer, int Size);
  // The observer's update: blocks from AudioSource.
  void Update(IdeAudioSubject* Sender, const void* Buffer, int Size);

  // The chain's formats (FormatIn first, FormatOut last) and the last output.
  int ChainCount() const { return int(FChain.size()); }
  const TdeWaveFormat* ChainFormat(int Index) const { return FChain.at(size_t(Index)).get(); }
  const void* Output() const { return FOutput; }
  int OutputSize() const { return FOutputSize; }

  void Attach(IdeAudioObserver* Observer) override { FSubject->Attach(Observer); }
  void Detach(IdeAudioObserver* Observer) override { FSubject->Detach(Observer); }
  TdeWaveFormat* GetFormat() override { return FFormatOut.get(); }

  TAbortableBufferEvent OnAudioConverted;
  TNotifyEvent OnAudioStreamConverted;
  TObserverErrorEvent OnObserverError;

 private:
  bool Possible(const TdeWaveFormat* From, const TdeWaveFormat* To) const;
  std::unique_ptr<TdeWaveFormat> Suggested(const TdeWaveFormat* Base,
                                           const TdeWaveFormat* Source) const;

  std::unique_ptr<TdeWaveFormat> FFormatIn, FFormatOut;
  std::unique_ptr<TdeAudioSubject> FSubject;
  std::unique_ptr<TdeAudioObserver> FObserver;
  bool FRequestRealTime = false, FSet8087FPUFlag = true, FActive = false;
  std::vector<std::unique_ptr<TdeWaveFormat>> FChain;
  std::vector<std::unique_ptr<TMiniConvertor>> FStages;
  const void* FOutput = nullptr;
  int FOutputSize = 0;
};

// One installed compression-manager driver and its formats.
enum class TdeCodecSupport { csCodec, csConverter, csFilter, csHardware, csAsync, csLocal, csDisabled };
using TdeCodecSupports = TSet<TdeCodecSupport>;

struct TdeCodecFormat {
  std::string Description;
  std::vector<uint8_t> Format;
};

class TdeCodec : public TObject {
 public:
  // Reads the driver's details, priority and formats; raises EACMCodecError.
  explicit TdeCodec(HACMDRIVERID DriverId);

  HACMDRIVERID DriverId() const { return FDriverId; }
  const ACMDRIVERDETAILS& Details() const { return FDetails; }
  uint32_t Priority() const { return FPriority; }
  TdeCodecSupports Support() const { return FSupport; }
  std::string ShortName() const { return FDetails.szShortName; }
  std::string LongName() const { return FDetails.szLongName; }
  std::string Copyright() const { return FDetails.szCopyright; }
  std::string Licensing() const { return FDetails.szLicensing; }
  std::string Features() const { return FDetails.szFeatures; }
  uint32_t MaxFormatSize() const { return FMaxFormatSize; }
  uint32_t ExtraSize() const { return FMaxFormatSize - uint32_t(sizeof(WAVEFORMATEX)); }
  const std::vector<TdeCodecFormat>& Formats() const { return FFormats; }

 private:
  static bool FormatFound(HACMDRIVERID, ACMFORMATDETAILS* Details, uintptr_t Instance, uint32_t);
  HACMDRIVERID FDriverId;
  ACMDRIVERDETAILS FDetails{};
  uint32_t FPriority = 0;
  TdeCodecSupports FSupport;
  uint32_t FMaxFormatSize = sizeof(WAVEFORMATEX);
  std::vector<TdeCodecFormat> FFormats;
};

// The drivers installed, listed on the first request; a driver whose details cannot be read is
// left out.
int CodecCount();
const TdeCodec* Codec(int Index);
// Forgets the list (the next request lists the drivers again).
void FreeCodecList();
