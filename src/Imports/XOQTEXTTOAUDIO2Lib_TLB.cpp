#include "Imports/XOQTEXTTOAUDIO2Lib_TLB.h"

#include <algorithm>
#include <mutex>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

TTextToAudio2::TTextToAudio2(TComponent* AOwner) : TComponent(AOwner) {
  FSynth.OnProgress = [this](int percent) {
    if (OnConvertBlock) OnConvertBlock(this, percent);
  };
  FSynth.OnEnd = [this](bool) {
    if (OnEndConvert) OnEndConvert(this);
  };
}

TTextToAudio2::~TTextToAudio2() { FSynth.Stop(); }

void TTextToAudio2::SetFormat(int sampleRate, int channels) {
  FSynth.SetFormat(sampleRate, channels);
}

void TTextToAudio2::ConvertToFile(const std::string& text, const std::string& fileName, int bits) {
  FSynth.SetRate(FRate);
  FSynth.SetVolume(FVolume);
  FSynth.Convert(text, fileName, bits);
}

void TTextToAudio2::Stop() { FSynth.Stop(); }

void TTextToAudio2::SetSpeechRate(int value) { FRate = std::clamp(value, -10, 10); }

void TTextToAudio2::SetSpeechVolume(int value) { FVolume = std::clamp(value, 0, 100); }

int TTextToAudio2::VoiceCount() const { return int(SpeechSynth::Voices().size()); }

void TTextToAudio2::SetVoiceIndex(int value) { FSynth.SetVoice(value); }

std::string TTextToAudio2::VoiceDescription() const {
  const auto& voices = SpeechSynth::Voices();
  const int i = FSynth.Voice();
  return i >= 0 && i < int(voices.size()) ? voices[size_t(i)].Description : std::string();
}

void TTextToAudio2::SetVoiceName(const std::string& name) {
  const auto& voices = SpeechSynth::Voices();
  for (size_t i = 0; i < voices.size(); ++i)
    if (voices[i].Description == name || SameText(voices[i].Name, name)) {
      FSynth.SetVoice(int(i));
      return;
    }
  throw ESpeechError("There is no voice named \"" + name + "\".");
}

void RegisterTextToAudio2() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterClass<TTextToAudio2, TComponent>("TTextToAudio2");
    Published<TTextToAudio2>()
        .Property("OnConvertBlock", &TTextToAudio2::OnConvertBlock)
        .Property("OnEndConvert", &TTextToAudio2::OnEndConvert);
  });
}
