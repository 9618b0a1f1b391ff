#pragma once
// DocumentPlayer: plays an AudioDocument through the shared sound output. Play takes the
// selection (or the cursor to the end) as it is at the call, once or looped; the document's
// cursor reads the play position while playing and goes back to where play began on Stop or at
// the end. Play position and meter news (about 25 a second) and the end of play reach the GUI
// thread as posted calls; what a call causes (Stop, Pause) happens inside it. Both the position
// and the meter describe what is heard at the moment, not what the device has taken. A document
// whose format the output does not take (a rate above kWaveMaxRate, more than two channels) plays
// converted to one it takes, mixed down as FormatConverter mixes; positions stay in document
// frames.

#include <cstdint>
#include <memory>

#include "audio/AudioDocument.h"
#include "audio/GuiPost.h"
#include "platform/rtl/Events.h"
#include "platform/sys/WaveDevices.h"

SONALIX_DECLARE_EXCEPTION(EAudioDevice, Exception);

class DocumentPlayer {
 public:
  enum : int16_t { psIdle = 0, psPlaying = 1, psPaused = 5 };
  enum : int { pmOnce = 1, pmLoop = 3 };

  explicit DocumentPlayer(AudioDocument& doc);
  ~DocumentPlayer();
  DocumentPlayer(const DocumentPlayer&) = delete;
  DocumentPlayer& operator=(const DocumentPlayer&) = delete;

  // Raises EAudioDevice when no output can be opened.
  void Play(int mode);
  void Stop();
  void Pause();
  void Resume();
  int16_t PlayState() const { return FState; }

  // 0..65535, 65535 being unity; a software gain on this document's sound only.
  void SetVolume(int value);
  int Volume() const { return FVolume; }

  // Where the listener is now, in document frames (the stored cursor when idle).
  int64_t PlayPosition() const;
  // The file the file backend writes for the current or last play.
  std::string OutputFile() const { return FOut.FileName(); }

  // Level of a peak (0..1 of full scale): max(0, round(92 + 20 log10 peak)), 0 for silence.
  static int MeterLevel(float peak);

  Event<void()> OnChangePlayPosition;
  Event<void(int levelLeft, int levelRight)> OnMeter;
  Event<void()> OnEndPlay;

 private:
  struct Shared;
  void Finish();
  void Tick();

  AudioDocument& FDoc;
  TWaveOutStream FOut;
  TGuiPoster FPoster;
  std::shared_ptr<Shared> FShared;
  int16_t FState = psIdle;
  int FVolume = 65535;
};
