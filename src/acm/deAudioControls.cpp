#include "acm/deAudioControls.h"

#include <algorithm>
#include <cstring>

#include "acm/deAudioIO.h"
#include "platform/rtl/TypInfo.h"

TdeAudioControlSource::TdeAudioControlSource(TComponent* AOwner)
    : TComponent(AOwner), FConvertor(std::make_unique<TdeAudioConvertor>(nullptr)) {
  FConvertor->SetRequestRealTime(false);
  TdeWaveFormat* out = FConvertor->FormatOut();
  out->SetBitsPerSample(16);
  out->SetChannels(2);
  out->SetSamplesPerSec(11025);
  out->SetAvgBytesPerSec(44100);
  FSubject = std::make_unique<TdeAudioSubject>(this, FConvertor->FormatOut());
  FSubject->OnObserverError = [this](IdeAudioSubject* s, IdeAudioObserver* o, Exception& e,
                                     bool& raise) {
    if (OnObserverError) OnObserverError(s, o, e, raise);
  };
  FObserver = std::make_unique<TdeAudioObserver>(
      this, [this](IdeAudioSubject* s, const void* b, int n) { UpdateLevels(s, b, n); });
}

TdeAudioControlSource::~TdeAudioControlSource() { FObserver.reset(); }

void TdeAudioControlSource::UpdateLevels(IdeAudioSubject* Sender, const void* Buffer, int Size) {
  TdeAudioConvertor& c = *FConvertor;
  if (c.Active()) c.Close();
  c.FormatIn()->Assign(Sender->GetFormat());
  TdeWaveFormat* out = c.FormatOut();
  out->SetDefault();
  out->SetBitsPerSample(16);
  out->SetChannels(2);
  out->SetSamplesPerSec(48000);
  out->SetAvgBytesPerSec(192000);
  out->SetBlockAlign(4);
  out->SetFormatTag(WAVE_FORMAT_PCM);
  c.Open();
  c.Convert(Buffer, Size);
  ComputeLevels(c.Output(), c.OutputSize());
  FSubject->Notify(this, c.Output(), c.OutputSize());
  if (OnDataChanged) OnDataChanged(this);
}

void TdeAudioControlSource::ComputeLevels(const void* Buffer, int Size) {
  const int frames = Buffer ? Size / 4 : 0;
  if (frames > FCapacity) {
    FCapacity = frames;
    FLeft.assign(size_t(frames), 0);
    FRight.assign(size_t(frames), 0);
  }
  FFrames = frames;
  const auto* p = static_cast<const uint8_t*>(Buffer);
  int left = 0, right = 0;
  for (int f = 0; f < frames; ++f) {
    int16_t l, r;
    std::memcpy(&l, p + 4 * f, 2);
    std::memcpy(&r, p + 4 * f + 2, 2);
    FLeft[size_t(f)] = l;
    FRight[size_t(f)] = r;
    // A channel pinned at -32768 is as loud as one at 32767.
    left = std::max(left, std::min(std::abs(int(l)), 32767));
    right = std::max(right, std::min(std::abs(int(r)), 32767));
  }
  FLeftLevel = int16_t(left);
  FRightLevel = int16_t(right);
}

void RegisterAudioInputClasses() {
  RegisterClass<TdeWaveFormat, TPersistent>();
  RegisterClass<TdeAudioIO, TComponent>();
  RegisterClass<TdeAbstractAudioIn, TdeAudioIO>();
  RegisterClass<TdeCustomAudioIn, TdeAbstractAudioIn>();
  RegisterClass<TdeAudioIn, TdeCustomAudioIn>();
  RegisterClass<TdeAudioConvertor, TComponent>();
  RegisterClass<TdeAudioControlSource, TComponent>();

  Published<TdeAudioIn>()
      .Property("AfterClose", &TdeAudioIn::AfterClose)
      .Property("AfterOpen", &TdeAudioIn::AfterOpen)
      .Property("AutoAdjustBufferSize", &TdeAudioIn::AutoAdjustBufferSize,
                &TdeAudioIn::SetAutoAdjustBufferSize)
      .Default(1)
      .Property("AutoOpen", &TdeAudioIn::AutoOpen, &TdeAudioIn::SetAutoOpen)
      .Default(1)
      .Property("BeforeClose", &TdeAudioIn::BeforeClose)
      .Property("BeforeOpen", &TdeAudioIn::BeforeOpen)
      .Property("BufferCount", &TdeAudioIn::BufferCount, &TdeAudioIn::SetBufferCount)
      .Default(4)
      .Property("BufferSize", &TdeAudioIn::BufferSize, &TdeAudioIn::SetBufferSize)
      .Default(22050)
      .Property("Format", &TdeAudioIn::Format, &TdeAudioIn::SetFormat)
      .Property("OnAudioRecorded", &TdeAudioIn::OnAudioRecorded)
      .Property("OnObserverError", &TdeAudioIn::OnObserverError);

  Published<TdeAudioConvertor>()
      .Property("AudioSource", &TdeAudioConvertor::AudioSource, &TdeAudioConvertor::SetAudioSource)
      .Property("FormatIn", &TdeAudioConvertor::FormatIn, &TdeAudioConvertor::SetFormatIn)
      .Property("FormatOut", &TdeAudioConvertor::FormatOut, &TdeAudioConvertor::SetFormatOut)
      .Property("OnAudioConverted", &TdeAudioConvertor::OnAudioConverted)
      .Property("OnAudioStreamConverted", &TdeAudioConvertor::OnAudioStreamConverted)
      .Property("RequestRealTime", &TdeAudioConvertor::RequestRealTime,
                &TdeAudioConvertor::SetRequestRealTime)
      .Default(0)
      .Property("Set8087FPUFlag", &TdeAudioConvertor::Set8087FPUFlag,
                &TdeAudioConvertor::SetSet8087FPUFlag)
      .Default(1);

  Published<TdeAudioControlSource>()
      .Property("AudioSource", &TdeAudioControlSource::AudioSource,
                &TdeAudioControlSource::SetAudioSource)
      .Property("OnDataChanged", &TdeAudioControlSource::OnDataChanged)
      .Property("OnObserverError", &TdeAudioControlSource::OnObserverError);
}
