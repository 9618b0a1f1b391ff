#pragma once
// Input level source: turns the blocks of its AudioSource into two live peak levels, one per
// channel, for level meters. Every block is converted to 16-bit stereo at 48000 Hz through a
// chain built for that block; the converted block goes on to its own observers, then
// OnDataChanged tells the meters to read LeftLevel and RightLevel.

#include <cstdint>
#include <memory>
#include <vector>

#include "acm/deACM.h"

class TdeAudioControlSource : public TComponent, public IdeAudioSubject {
 public:
  explicit TdeAudioControlSource(TComponent* AOwner);
  ~TdeAudioControlSource() override;

  TComponent* AudioSource() const { return FObserver->AudioSource(); }
  void SetAudioSource(TComponent* Value) { FObserver->SetAudioSource(Value); }
  // Peaks of the last block, 0..32767.
  int16_t LeftLevel() const { return FLeftLevel; }
  int16_t RightLevel() const { return FRightLevel; }
  // Frames of the last converted block.
  int Frames() const { return FFrames; }

  void UpdateLevels(IdeAudioSubject* Sender, const void* Buffer, int Size);

  void Attach(IdeAudioObserver* Observer) override { FSubject->Attach(Observer); }
  void Detach(IdeAudioObserver* Observer) override { FSubject->Detach(Observer); }
  TdeWaveFormat* GetFormat() override { return FConvertor->FormatOut(); }

  TNotifyEvent OnDataChanged;
  TObserverErrorEvent OnObserverError;

 private:
  void ComputeLevels(const void* Buffer, int Size);

  std::unique_ptr<TdeAudioConvertor> FConvertor;
  std::unique_ptr<TdeAudioSubject> FSubject;
  std::unique_ptr<TdeAudioObserver> FObserver;
  std::vector<int16_t> FLeft, FRight;
  int FCapacity = 0, FFrames = 0;
  int16_t FLeftLevel = 0, FRightLevel = 0;
};

// Registers the library's components and their stored properties for form descriptions.
void RegisterAudioInputClasses();
