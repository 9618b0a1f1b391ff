#pragma once
// TTextToAudio2: speech into a sound file. Voices are 0-based (VoiceIndex, VoiceDescription);
// VoiceName selects a voice by its description or its engine name. ConvertToFile returns at
// once and synthesises in the background: OnConvertBlock reports the percent done and
// OnEndConvert follows once the file is complete (the component may be freed inside it). Stop
// ends a synthesis at once with the file closed; no event of it follows. The third argument of
// ConvertToFile is the bits per sample (16 when it is not 8, 16, 24 or 32).

#include <string>

#include "audio/SpeechSynth.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Events.h"

using TTextToAudio2ConvertBlockEvent = Event<void(TObject* Sender, int Percent)>;

class TTextToAudio2 : public TComponent {
 public:
  explicit TTextToAudio2(TComponent* AOwner);
  ~TTextToAudio2() override;

  void SetFormat(int sampleRate, int channels);
  void ConvertToFile(const std::string& text, const std::string& fileName, int bits);
  void Stop();

  int SpeechRate() const { return FRate; }
  void SetSpeechRate(int value);
  int SpeechVolume() const { return FVolume; }
  void SetSpeechVolume(int value);
  bool SpeechOption() const { return FOption; }
  void SetSpeechOption(bool value) { FOption = value; }

  int VoiceCount() const;
  int VoiceIndex() const { return FSynth.Voice(); }
  void SetVoiceIndex(int value);
  std::string VoiceDescription() const;
  void SetVoiceName(const std::string& name);

  TTextToAudio2ConvertBlockEvent OnConvertBlock;
  TNotifyEvent OnEndConvert;

 private:
  SpeechSynth FSynth;
  int FRate = 0, FVolume = 100;
  bool FOption = false;
};

// Makes TTextToAudio2 known to stored form descriptions, with its events published.
void RegisterTextToAudio2();
