#include "Imports/XOQAUDIORECORD2Lib_TLB.h"

#include <mutex>

#include "platform/rtl/TypInfo.h"
#include "platform/sys/WaveDevices.h"

TAudioRecord2::TAudioRecord2(TComponent* AOwner) : TComponent(AOwner) {
  FRecorder.OnBlock = [this](const SampleBuffer& block) {
    FBlock = block;
    ++FBlocks;
    if (OnEndArrayRecord) OnEndArrayRecord(this, FBlocks);
  };
}

TAudioRecord2::~TAudioRecord2() {
  FRecorder.OnBlock = nullptr;
  FRecorder.Stop();
}

void TAudioRecord2::Start() {
  if (FRecorder.Recording()) {
    FRecordError = 0;
    return;
  }
  if (FDeviceIndex < 1 || FDeviceIndex > DeviceCount()) {
    FRecordError = wrNoDevice;
    return;
  }
  FRecorder.SetDevice(FDeviceIndex - 1);
  FRecorder.SetVoiceActivation(FVoice);
  FRecordError = FRecorder.Start();
}

void TAudioRecord2::Stop() { FRecorder.Stop(); }

void TAudioRecord2::SetFormat(int sampleRate, int channels) {
  FRecorder.SetFormat(sampleRate, channels);
}

int TAudioRecord2::MsToSamples(int ms) const {
  return int(int64_t(ms) * FRecorder.SampleRate() / 1000);
}

void TAudioRecord2::SetBlockSize(int frames) { FRecorder.SetBlockSize(frames); }

int TAudioRecord2::DeviceCount() const { return int(WaveInDevices().size()); }

std::string TAudioRecord2::DeviceName() const {
  const auto list = WaveInDevices();
  return FDeviceIndex >= 1 && FDeviceIndex <= int(list.size()) ? list[size_t(FDeviceIndex - 1)].Name
                                                               : std::string();
}

bool TAudioRecord2::DeviceUsable() const {
  const auto list = WaveInDevices();
  return FDeviceIndex >= 1 && FDeviceIndex <= int(list.size()) &&
         list[size_t(FDeviceIndex - 1)].Usable;
}

int TAudioRecord2::LineCount() const {
  if (FDeviceIndex < 1 || FDeviceIndex > DeviceCount()) return 0;
  return int(MixerLines(FDeviceIndex - 1).size());
}

bool TAudioRecord2::LineValid() const { return FLineIndex >= 1 && FLineIndex <= LineCount(); }

std::string TAudioRecord2::LineName() const {
  return LineValid() ? MixerLines(FDeviceIndex - 1)[size_t(FLineIndex - 1)].Name : std::string();
}

bool TAudioRecord2::LineHasVolume() const {
  return LineValid() && MixerLines(FDeviceIndex - 1)[size_t(FLineIndex - 1)].HasVolume;
}

int TAudioRecord2::LineVolume() const {
  return LineValid() ? MixerLineVolume(FDeviceIndex - 1, FLineIndex - 1) : 0;
}

void TAudioRecord2::SetLineVolume(int value) {
  if (LineValid()) SetMixerLineVolume(FDeviceIndex - 1, FLineIndex - 1, value);
}

bool TAudioRecord2::LineIsSource() const {
  return LineValid() && MixerLines(FDeviceIndex - 1)[size_t(FLineIndex - 1)].IsSource;
}

void TAudioRecord2::SetLineSelected(bool value) {
  if (value && LineValid()) SelectMixerLine(FDeviceIndex - 1, FLineIndex - 1);
}

void RegisterAudioRecord2() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterClass<TAudioRecord2, TComponent>("TAudioRecord2");
    Published<TAudioRecord2>().Property("OnEndArrayRecord", &TAudioRecord2::OnEndArrayRecord);
  });
}
