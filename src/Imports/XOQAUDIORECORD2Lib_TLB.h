#pragma once
// TAudioRecord2: the recorder of the recording window. Devices are 1-based; every device has at
// least one mixer line, chosen by LineIndex (1-based) before the line's properties are read or
// put. Start records from the shared capture stream in blocks of BlockSize frames; after each
// block OnEndArrayRecord (posted, the oldest block first) lets the owner take it with
// RecordedBlock. Stop hands out the remaining blocks before it returns; Start after Stop goes on
// numbering the blocks. RecordError is the result of the last Start (0 on success).

#include <cstdint>
#include <string>

#include "audio/AudioRecorder.h"
#include "audio/SampleBuffer.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Events.h"

using TAudioRecord2EndArrayRecordEvent = Event<void(TObject* Sender, int nBlock)>;

class TAudioRecord2 : public TComponent {
 public:
  explicit TAudioRecord2(TComponent* AOwner);
  ~TAudioRecord2() override;

  void Start();
  void Stop();
  void SetFormat(int sampleRate, int channels);
  // The block of the event being handled (or the last one handed out).
  SampleBuffer RecordedBlock() const { return FBlock; }
  int MsToSamples(int ms) const;
  void SetBlockSize(int frames);
  int BlockSize() const { return FRecorder.BlockSize(); }
  int RecordError() const { return FRecordError; }
  bool Recording() const { return FRecorder.Recording(); }

  int DeviceCount() const;
  std::string DeviceName() const;
  int DeviceIndex() const { return FDeviceIndex; }
  void SetDeviceIndex(int value) { FDeviceIndex = value; }
  bool DeviceUsable() const;

  int LineCount() const;
  std::string LineName() const;
  void SetLineIndex(int value) { FLineIndex = value; }
  int LineIndex() const { return FLineIndex; }
  bool LineHasVolume() const;
  int LineVolume() const;
  void SetLineVolume(int value);
  bool LineIsSource() const;
  void SetLineSelected(bool value);

  void SetAccuAttackTime(int ms) { FVoice.AttackTime = ms; }
  void SetAccuAttackLevel(int db) { FVoice.AttackLevel = db; }
  void SetAccuReleaseTime(int ms) { FVoice.ReleaseTime = ms; }
  void SetAccuReleaseLevel(int db) { FVoice.ReleaseLevel = db; }
  void SetAccuEnabled(bool value) { FVoice.Enabled = value; }

  TAudioRecord2EndArrayRecordEvent OnEndArrayRecord;

 private:
  bool LineValid() const;

  AudioRecorder FRecorder;
  TVoiceActivation FVoice;
  SampleBuffer FBlock;
  int FBlocks = 0;
  int FRecordError = 0;
  int FDeviceIndex = 1, FLineIndex = 1;
};

// Makes TAudioRecord2 known to stored form descriptions, with OnEndArrayRecord published.
void RegisterAudioRecord2();
