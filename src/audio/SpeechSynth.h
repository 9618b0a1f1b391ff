#pragma once
// SpeechSynth: text to a WAV file with espeak-ng, in the background. Convert returns at once;
// a worker thread synthesises, converts to the requested rate and channels and writes the file;
// progress (percent of the text spoken) and the end reach the GUI thread as posted calls. Stop
// waits for the worker, closes the file and drops every later call. espeak-ng serves one
// synthesis at a time in a process, so concurrent syntheses take turns.

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "audio/GuiPost.h"
#include "platform/rtl/Events.h"
#include "platform/rtl/SysUtils.h"

SONALIX_DECLARE_EXCEPTION(ESpeechError, Exception);

struct TSpeechVoice {
  std::string Name;         // what espeak-ng selects it by
  std::string Description;  // shown to the user
};

class SpeechSynth {
 public:
  SpeechSynth();
  ~SpeechSynth();
  SpeechSynth(const SpeechSynth&) = delete;
  SpeechSynth& operator=(const SpeechSynth&) = delete;

  // The installed voices, in a fixed order; empty when espeak-ng cannot start.
  static const std::vector<TSpeechVoice>& Voices();
  // Tests: Voices() is empty while hidden, as on a machine without a speech engine.
  static void HideVoicesForTests(bool hidden);

  void SetFormat(int sampleRate, int channels);
  // Index into Voices().
  void SetVoice(int index);
  int Voice() const { return FVoice; }
  // -10..10, 0 the normal pace; each step is about 10 % faster or slower.
  void SetRate(int rate) { FRate = rate; }
  // 0..100 (100 is full volume).
  void SetVolume(int volume) { FVolume = volume; }

  // Starts the synthesis of `text` into `path` (bits 8, 16, 24 or 32 per sample). Raises when a
  // synthesis runs or the file cannot be made.
  void Convert(const std::string& text, const std::string& path, int bits);
  void Stop();
  bool Busy() const { return FWorker.joinable(); }

  Event<void(int percent)> OnProgress;
  // After the file is complete; `ok` is false when the synthesis failed.
  Event<void(bool ok)> OnEnd;

 private:
  void Finished(bool ok);

  int FSampleRate = 22050, FChannels = 1;
  int FVoice = 0, FRate = 0, FVolume = 100;
  std::thread FWorker;
  std::shared_ptr<std::atomic<bool>> FCancel;
  TGuiPoster FPoster;
};
