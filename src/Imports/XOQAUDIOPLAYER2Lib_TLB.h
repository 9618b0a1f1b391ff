#pragma once
// TAudioPlayer2: plays sample arrays through the shared sound output (the effect preview).
// OpenDevice joins the output with the format of SetFormat; DeviceError is its result (0 on
// success). PlayArray copies the array and queues it behind what is still playing; OnEndPlay is
// posted when the queue has played out, never raised inside PlayArray. Stop silences the player
// and cancels the end event of what it stopped.

#include <memory>

#include "audio/GuiPost.h"
#include "audio/SampleBuffer.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Events.h"
#include "platform/sys/WaveDevices.h"

class TAudioPlayer2 : public TComponent {
 public:
  explicit TAudioPlayer2(TComponent* AOwner);
  ~TAudioPlayer2() override;

  void OpenDevice();
  void Stop();
  // Raises when the device is not open.
  void PlayArray(SampleBuffer& samples);
  void SetFormat(int sampleRate, int channels);
  int DeviceError() const { return FDeviceError; }

  // Playing or waiting for its end event.
  bool Playing() const { return FPlaying; }
  // The file the file backend writes for the current or last run of arrays.
  std::string OutputFile() const { return FOut.FileName(); }

  TNotifyEvent OnEndPlay;

 private:
  struct Queue;
  void Ended();

  TWaveOutStream FOut;
  TGuiPoster FPoster;
  std::shared_ptr<Queue> FQueue;
  int FRate = 44100, FChannels = 2;
  int FDeviceError = 0;
  bool FPlaying = false;
};

// Makes TAudioPlayer2 known to stored form descriptions, with OnEndPlay published.
void RegisterAudioPlayer2();
