#pragma once
// AudioRecorder: records from the shared capture stream in blocks of BlockSize frames. The device
// thread cuts the blocks and queues them; each block reaches the GUI thread through a posted call
// that hands out every queued block, the oldest first, so a GUI that stalls loses nothing. Stop
// hands out what is left (the last block may be shorter) before it returns.
//
// Voice activation keeps only the sound parts: recording starts once the level (peak of 10 ms
// windows, in dB of full scale) stays at or above the attack level for the attack time, taking
// those frames too, and stops once it stays below the release level for the release time.

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>

#include "audio/GuiPost.h"
#include "audio/SampleBuffer.h"
#include "platform/rtl/Events.h"
#include "platform/sys/WaveDevices.h"

struct TVoiceActivation {
  bool Enabled = false;
  int AttackTime = 0;      // ms
  int AttackLevel = -40;   // dB
  int ReleaseTime = 0;     // ms
  int ReleaseLevel = -40;  // dB
};

class AudioRecorder {
 public:
  AudioRecorder();
  ~AudioRecorder();
  AudioRecorder(const AudioRecorder&) = delete;
  AudioRecorder& operator=(const AudioRecorder&) = delete;

  void SetFormat(int sampleRate, int channels);
  int SampleRate() const { return FRate; }
  int Channels() const { return FChannels; }
  void SetBlockSize(int frames);
  int BlockSize() const { return FBlockSize; }
  // 0-based capture device, -1 the default.
  void SetDevice(int device) { FDevice = device; }
  void SetVoiceActivation(const TVoiceActivation& settings) { FVoice = settings; }

  // Returns a TWaveResult; recording goes on until Stop.
  int Start();
  void Stop();
  bool Recording() const { return FIn.IsOpen(); }

  // One block, on the GUI thread.
  Event<void(const SampleBuffer& block)> OnBlock;

 private:
  struct Capture;
  void Deliver();

  TWaveInStream FIn;
  TGuiPoster FPoster;
  std::shared_ptr<Capture> FCapture;
  int FRate = 44100, FChannels = 2, FBlockSize = 8820, FDevice = -1;
  TVoiceActivation FVoice;
};
