#include "acm/deACM.h"

#include <algorithm>
#include <cstring>

#include "platform/rtl/Streaming.h"

// ---------------------------------------------------------------------------------------------
// Result texts

std::string MMResultText(MMRESULT Code, const std::string& Context) {
  const char* text = nullptr;
  switch (Code) {
    case 2: text = "%sBad device ID."; break;
    case 3: text = "%sDriver not enabled."; break;
    case 4: text = "%sDevice already allocated."; break;
    case 5: text = "%sThe specified handle is invalid."; break;
    case 6: text = "%sA suitable driver is not available to provide valid format selections."; break;
    case 7: text = "%sThe system is unable to allocate resources."; break;
    case 8: text = "%sFunction not supported."; break;
    case 10: text = "%sAt least one flag is invalid."; break;
    case 11: text = "%sAt least one parameter is invalid."; break;
    case 12: text = "%sDevice handle in use."; break;
    case 32: text = "%sThe selected audio format is not supported on this machine."; break;
    case 33: text = "%sAudio device is still playing."; break;
    case 34: text = "%sCannot perform this action on a header that has not been prepared."; break;
    case 35: text = "%sDevice is synchronous."; break;
    case 512: text = "%sThe requested operation cannot be performed."; break;
    case 513: text = "%sThe conversion stream is already in use."; break;
    case 514: text = "%sCannot perform this action on a header that has not been prepared."; break;
    default: break;
  }
  const std::string lead = Context.empty() ? Context : Context + "\r\n";
  if (!text)
    return Format("%sAn unexpected error has occurred (code #%d).", {lead, int64_t(Code)});
  return Format(text, {lead});
}

// ---------------------------------------------------------------------------------------------
// TdeWaveFormat

namespace {
constexpr uint8_t kTag42Config[10] = {1, 0, 0, 0, 240, 0, 0, 0, 0, 0};
}

void TdeWaveFormat::Assign(TPersistent* Source) {
  if (auto* other = dynamic_cast<TdeWaveFormat*>(Source)) {
    std::memcpy(FBuffer, other->FBuffer, kBufferSize);
    return;
  }
  TPersistent::Assign(Source);
}

bool TdeWaveFormat::Equals(const TdeWaveFormat* Other) const {
  return Other && std::memcmp(FBuffer, Other->FBuffer, kBufferSize) == 0;
}

void TdeWaveFormat::SetDefault() {
  std::memset(FBuffer, 0, kBufferSize);
  WAVEFORMATEX& f = Fields();
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = 2;
  f.nSamplesPerSec = 11025;
  f.nAvgBytesPerSec = 22050;
  f.nBlockAlign = 2;
  f.wBitsPerSample = 8;
}

void TdeWaveFormat::SetFormatTag(uint16_t Value) {
  Fields().wFormatTag = Value;
  if (Value == kConfiguredTag) {
    SetExtraSize(sizeof kTag42Config);
    std::memcpy(FBuffer + sizeof(WAVEFORMATEX), kTag42Config, sizeof kTag42Config);
  }
}

void TdeWaveFormat::SetExtraSize(uint16_t Value) {
  if (Value > kMaxExtraSize) throw EACMError("The wave format buffer is too small.");
  Fields().cbSize = Value;
}

void TdeWaveFormat::DefineProperties(TFiler* Filer) {
  Filer->DefineBinaryProperty(
      "FormatBuffer",
      [this](TStream* s) {
        if (s->Size() - s->Position() != kBufferSize)
          throw EReadError("FormatBuffer must hold 512 bytes");
        s->ReadBuffer(FBuffer, kBufferSize);
      },
      [this](TStream* s) { s->WriteBuffer(FBuffer, kBufferSize); }, true);
}

// ---------------------------------------------------------------------------------------------
// Subject and observer

TdeAudioSubject::TdeAudioSubject(TComponent* Outer, TdeWaveFormat* Format)
    : TComponent(nullptr), FOuter(Outer), FFormat(Format) {
  if (!Outer || !Format) throw EArgumentException("Assertion failed: subject without producer");
}

void TdeAudioSubject::Attach(IdeAudioObserver* Observer) { FObservers.push_back(Observer); }

void TdeAudioSubject::Detach(IdeAudioObserver* Observer) {
  auto it = std::find(FObservers.begin(), FObservers.end(), Observer);
  if (it != FObservers.end()) FObservers.erase(it);
}

void TdeAudioSubject::Notify(IdeAudioSubject* Sender, const void* Buffer, int Size) {
  // An observer may free the producer, and with it this subject.
  TWeakLink<TdeAudioSubject> self(this);
  size_t i = 0;
  while (i < FObservers.size()) {
    IdeAudioObserver* observer = FObservers[i];
    try {
      observer->Update(Sender, Buffer, Size);
    } catch (Exception& E) {
      if (!self) throw;
      bool raise = RaiseObserverErrors;
      if (OnObserverError) OnObserverError(Sender, observer, E, raise);
      if (raise) throw;
    }
    if (!self) return;
    // One that detached itself has let the next one move into its place.
    if (i < FObservers.size() && FObservers[i] == observer) ++i;
  }
}

TdeAudioObserver::TdeAudioObserver(TComponent* Outer, TUpdateRoutine Routine)
    : TComponent(nullptr), FOuter(Outer), FRoutine(std::move(Routine)) {}

TdeAudioObserver::~TdeAudioObserver() {
  if (FSubject) FSubject->Detach(this);
}

void TdeAudioObserver::SetAudioSource(TComponent* Value) {
  if (Value == FAudioSource) return;
  if (Value && Value == FOuter) throw EACMError("Component cannot observe itself.");
  IdeAudioSubject* subject = Value ? dynamic_cast<IdeAudioSubject*>(Value) : nullptr;
  if (Value && !subject) throw EACMError("The selected component is not an audio subject.");
  if (FAudioSource) {
    FSubject->Detach(this);
    RemoveFreeNotification(FAudioSource);
  }
  FAudioSource = Value;
  FSubject = subject;
  if (Value) {
    FreeNotification(Value);
    subject->Attach(this);
  }
}

void TdeAudioObserver::Update(IdeAudioSubject* Sender, const void* Buffer, int Size) {
  if (FRoutine) FRoutine(Sender, Buffer, Size);
}

void TdeAudioObserver::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  // The source is past its own destructor, its subject already gone: nothing to detach from.
  if (Operation == opRemove && AComponent == FAudioSource) {
    FAudioSource = nullptr;
    FSubject = nullptr;
  }
}

// ---------------------------------------------------------------------------------------------
// TMiniConvertor

TMiniConvertor::TMiniConvertor(const TdeWaveFormat* FormatIn, const TdeWaveFormat* FormatOut) {
  FFormatIn.Assign(const_cast<TdeWaveFormat*>(FormatIn));
  FFormatOut.Assign(const_cast<TdeWaveFormat*>(FormatOut));
}

TMiniConvertor::~TMiniConvertor() { Close(); }

void TMiniConvertor::Open(bool RealTime) {
  if (FOpen) throw EACMError("Cannot perform this action while active.");
  CheckMMResult<EACMConversionError>(acmStreamOpen(&FStream, nullptr, FFormatIn.Pointer(),
                                                   FFormatOut.Pointer(), nullptr, 0, 0,
                                                   RealTime ? 0 : ACM_STREAMOPENF_NONREALTIME));
  FOpen = true;
  FPrepared = false;
  FSrc.clear();
  FHeld = 0;
  FDst.clear();
}

void TMiniConvertor::Close() {
  if (!FOpen) return;
  if (FPrepared) acmStreamUnprepareHeader(FStream, &FHeader, 0);
  FPrepared = false;
  acmStreamReset(FStream, 0);
  FSrc = {};
  FDst = {};
  FHeld = 0;
  acmStreamClose(FStream, 0);
  FStream = nullptr;
  FOpen = false;
}

int TMiniConvertor::Convert(const void* Data, int Size, bool, uint32_t Flags) {
  // The floating-point control word the flag once asked for is the default here.
  if (!FOpen) throw EACMConversionError("Cannot perform this action while not active.");
  const uint32_t size = uint32_t(std::max(Size, 0));
  if (FHeld + size > FSrc.size()) {
    // The prepared header points into the buffer: it cannot move any more.
    if (FPrepared) throw EACMConversionError("Audio is too large to fit into conversion buffer");
    FSrc.resize(2 * (size_t(FHeld) + size));
  }
  if (size) std::memcpy(FSrc.data() + FHeld, Data, size);
  FHeld += size;
  uint32_t out = 0;
  if (!FPrepared) {
    if (acmStreamSize(FStream, FHeld, &out, ACM_STREAMSIZEF_SOURCE) || out == 0) return 0;
    FSrc.resize(3 * size_t(FHeld));
    CheckMMResult<EACMConversionError>(
        acmStreamSize(FStream, uint32_t(FSrc.size()), &out, ACM_STREAMSIZEF_SOURCE));
    FDst.resize(out);
    FHeader = {};
    FHeader.cbStruct = sizeof(ACMSTREAMHEADER);
    FHeader.pbSrc = FSrc.data();
    FHeader.cbSrcLength = uint32_t(FSrc.size());
    FHeader.pbDst = FDst.data();
    FHeader.cbDstLength = uint32_t(FDst.size());
    if (MMRESULT r = acmStreamPrepareHeader(FStream, &FHeader, 0)) {
      FDst = {};
      CheckMMResult<EACMConversionError>(r);
    }
    FPrepared = true;
  }
  if (acmStreamSize(FStream, FHeld, &out, ACM_STREAMSIZEF_SOURCE) || out == 0) return 0;
  FHeader.cbSrcLength = FHeld;
  FHeader.cbDstLengthUsed = 0;
  CheckMMResult<EACMConversionError>(acmStreamConvert(FStream, &FHeader, Flags));
  const uint32_t used = std::min(FHeader.cbSrcLengthUsed, FHeld);
  std::memmove(FSrc.data(), FSrc.data() + used, FHeld - used);
  FHeld -= used;
  return int(FHeader.cbDstLengthUsed);
}

// ---------------------------------------------------------------------------------------------
// TdeAudioConvertor

TdeAudioConvertor::TdeAudioConvertor(TComponent* AOwner)
    : TComponent(AOwner),
      FFormatIn(std::make_unique<TdeWaveFormat>()),
      FFormatOut(std::make_unique<TdeWaveFormat>()) {
  FSubject = std::make_unique<TdeAudioSubject>(this, FFormatOut.get());
  FSubject->OnObserverError = [this](IdeAudioSubject* s, IdeAudioObserver* o, Exception& e,
                                     bool& raise) {
    if (OnObserverError) OnObserverError(s, o, e, raise);
  };
  FObserver = std::make_unique<TdeAudioObserver>(
      this, [this](IdeAudioSubject* s, const void* b, int n) { Update(s, b, n); });
}

TdeAudioConvertor::~TdeAudioConvertor() {
  FObserver.reset();
  if (FActive) Close();
}

void TdeAudioConvertor::SetRequestRealTime(bool Value) {
  if (FActive) throw EACMConversionError("Cannot perform this action while active.");
  FRequestRealTime = Value;
}

void TdeAudioConvertor::SetActive(bool Value) {
  if (Value == FActive) return;
  if (Value)
    Open();
  else
    Close();
}

bool TdeAudioConvertor::Possible(const TdeWaveFormat* From, const TdeWaveFormat* To) const {
  const uint32_t flags =
      ACM_STREAMOPENF_QUERY | (FRequestRealTime ? 0 : ACM_STREAMOPENF_NONREALTIME);
  return acmStreamOpen(nullptr, nullptr, From->Pointer(), To->Pointer(), nullptr, 0, 0, flags) ==
         MMSYSERR_NOERROR;
}

std::unique_ptr<TdeWaveFormat> TdeAudioConvertor::Suggested(const TdeWaveFormat* Base,
                                                            const TdeWaveFormat* Source) const {
  auto f = std::make_unique<TdeWaveFormat>();
  f->Assign(const_cast<TdeWaveFormat*>(Base));
  f->SetFormatTag(WAVE_FORMAT_PCM);
  CheckMMResult<EACMConversionError>(acmFormatSuggest(nullptr, Source->Pointer(), f->Pointer(),
                                                      TdeWaveFormat::kBufferSize,
                                                      ACM_FORMATSUGGESTF_WFORMATTAG));
  return f;
}

void TdeAudioConvertor::Open() {
  if (FActive) throw EACMConversionError("Cannot perform this action while active.");
  FStages.clear();
  FChain.clear();
  auto copy = [](const TdeWaveFormat* f) {
    auto c = std::make_unique<TdeWaveFormat>();
    c->Assign(const_cast<TdeWaveFormat*>(f));
    return c;
  };
  auto f1 = copy(FFormatIn.get());
  auto f4 = copy(FFormatOut.get());
  std::vector<std::unique_ptr<TdeWaveFormat>> chain;
  if (!Possible(f1.get(), f4.get())) {
    auto f2 = Suggested(f1.get(), f1.get());
    if (!Possible(f1.get(), f2.get())) throw EACMConversionError("Conversion not possible.");
    std::unique_ptr<TdeWaveFormat> f3;
    if (!Possible(f2.get(), f4.get())) {
      f3 = Suggested(f2.get(), f4.get());
      if (!Possible(f2.get(), f3.get()) || !Possible(f3.get(), f4.get()))
        throw EACMConversionError("Conversion not possible.");
      if (f3->Equals(f2.get()) || f3->Equals(f4.get())) f3.reset();
    }
    if (!f2->Equals(f1.get()) && !f2->Equals(f4.get())) chain.push_back(std::move(f2));
    if (f3) chain.push_back(std::move(f3));
  }
  chain.insert(chain.begin(), std::move(f1));
  chain.push_back(std::move(f4));

  std::vector<std::unique_ptr<TMiniConvertor>> stages;
  for (size_t i = 0; i + 1 < chain.size(); ++i)
    stages.push_back(std::make_unique<TMiniConvertor>(chain[i].get(), chain[i + 1].get()));
  // A stage that fails to open takes the open ones with it (their destructors close them).
  for (auto& s : stages) s->Open(FRequestRealTime);
  FChain = std::move(chain);
  FStages = std::move(stages);
  FActive = true;
}

void TdeAudioConvertor::Close() {
  if (!FActive) throw EACMConversionError("Cannot perform this action while not active.");
  FActive = false;
  FOutput = nullptr;
  FOutputSize = 0;
  for (auto& s : FStages) s->Close();
  FStages.clear();
  FChain.clear();
}

void TdeAudioConvertor::Convert(const void* Buffer, int Size) {
  if (!FActive) throw EACMConversionError("Cannot perform this action while not active.");
  FOutput = nullptr;
  FOutputSize = 0;
  const void* data = Buffer;
  int size = Size;
  for (auto& stage : FStages) {
    size = stage->Convert(data, size, FSet8087FPUFlag, ACM_STREAMCONVERTF_BLOCKALIGN);
    if (size == 0) return;
    data = stage->Output();
  }
  FOutput = data;
  FOutputSize = size;
  FSubject->Notify(this, data, size);
  bool abort = false;
  if (OnAudioConverted) OnAudioConverted(this, data, size, abort);
}

void TdeAudioConvertor::Update(IdeAudioSubject* Sender, const void* Buffer, int Size) {
  TdeWaveFormat* format = Sender->GetFormat();
  if (!FActive || !format->Equals(FFormatIn.get())) {
    if (FActive) Close();
    FFormatIn->Assign(format);
    Open();
  }
  Convert(Buffer, Size);
}

// ---------------------------------------------------------------------------------------------
// Codec list

TdeCodec::TdeCodec(HACMDRIVERID DriverId) : FDriverId(DriverId) {
  FDetails.cbStruct = sizeof(ACMDRIVERDETAILS);
  CheckMMResult<EACMCodecError>(acmDriverDetails(DriverId, &FDetails, 0),
                                "Error retrieving driver details.");
  CheckMMResult<EACMCodecError>(
      acmMetrics(reinterpret_cast<HACMOBJ>(DriverId), ACM_METRIC_DRIVER_PRIORITY, &FPriority),
      "Error retrieving driver priority.");
  const std::pair<uint32_t, TdeCodecSupport> flags[] = {
      {ACMDRIVERDETAILS_SUPPORTF_CODEC, TdeCodecSupport::csCodec},
      {ACMDRIVERDETAILS_SUPPORTF_CONVERTER, TdeCodecSupport::csConverter},
      {ACMDRIVERDETAILS_SUPPORTF_FILTER, TdeCodecSupport::csFilter},
      {ACMDRIVERDETAILS_SUPPORTF_HARDWARE, TdeCodecSupport::csHardware},
      {ACMDRIVERDETAILS_SUPPORTF_ASYNC, TdeCodecSupport::csAsync},
      {ACMDRIVERDETAILS_SUPPORTF_LOCAL, TdeCodecSupport::csLocal},
      {ACMDRIVERDETAILS_SUPPORTF_DISABLED, TdeCodecSupport::csDisabled}};
  for (auto [bit, item] : flags)
    if (FDetails.fdwSupport & bit) FSupport.Include(item);

  HACMDRIVER driver = nullptr;
  CheckMMResult<EACMCodecError>(acmDriverOpen(&driver, DriverId, 0), "Error opening driver.");
  try {
    uint32_t size = 0;
    CheckMMResult<EACMCodecError>(
        acmMetrics(reinterpret_cast<HACMOBJ>(driver), ACM_METRIC_MAX_SIZE_FORMAT, &size),
        "Error while requesting size of Wave format.");
    FMaxFormatSize = std::max<uint32_t>(size, sizeof(WAVEFORMATEX));
    std::vector<uint8_t> buffer(FMaxFormatSize, 0);
    auto* wfx = reinterpret_cast<WAVEFORMATEX*>(buffer.data());
    wfx->cbSize = uint16_t(ExtraSize());
    ACMFORMATDETAILS details{};
    details.cbStruct = sizeof details;
    details.pwfx = wfx;
    details.cbwfx = FMaxFormatSize;
    CheckMMResult<EACMCodecError>(
        acmFormatEnum(driver, &details, &TdeCodec::FormatFound, reinterpret_cast<uintptr_t>(this), 0),
        "Error while enumerating formats.");
  } catch (...) {
    acmDriverClose(driver, 0);
    throw;
  }
  CheckMMResult<EACMCodecError>(acmDriverClose(driver, 0), "Error while closing driver.");
}

bool TdeCodec::FormatFound(HACMDRIVERID, ACMFORMATDETAILS* Details, uintptr_t Instance, uint32_t) {
  auto* self = reinterpret_cast<TdeCodec*>(Instance);
  const auto* p = reinterpret_cast<const uint8_t*>(Details->pwfx);
  const size_t size =
      std::min<size_t>(sizeof(WAVEFORMATEX) + Details->pwfx->cbSize, self->FMaxFormatSize);
  self->FFormats.push_back({Details->szFormat, std::vector<uint8_t>(p, p + size)});
  return true;
}

namespace {

std::unique_ptr<std::vector<std::unique_ptr<TdeCodec>>> gCodecs;

bool DriverFound(HACMDRIVERID Id, uintptr_t Instance, uint32_t) {
  auto* list = reinterpret_cast<std::vector<std::unique_ptr<TdeCodec>>*>(Instance);
  try {
    list->push_back(std::make_unique<TdeCodec>(Id));
  } catch (EACMError&) {
  }
  return true;
}

const std::vector<std::unique_ptr<TdeCodec>>& Codecs() {
  if (!gCodecs) {
    auto list = std::make_unique<std::vector<std::unique_ptr<TdeCodec>>>();
    acmDriverEnum(&DriverFound, reinterpret_cast<uintptr_t>(list.get()), 0);
    gCodecs = std::move(list);
  }
  return *gCodecs;
}

}  // namespace

int CodecCount() { return int(Codecs().size()); }

const TdeCodec* Codec(int Index) {
  const auto& list = Codecs();
  if (Index < 0 || Index >= int(list.size()))
    throw EListError(Format("List index out of bounds (%d)", {Index}));
  return list[size_t(Index)].get();
}

void FreeCodecList() { gCodecs.reset(); }
