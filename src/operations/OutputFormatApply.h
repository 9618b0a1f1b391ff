#pragma once
// Turns the stored output-format choices of the settings record into the output format of a
// file writer: the editor's FileFormat before a save, or the batch converter's file writer.

#include "Imports/XOQAUDIOEDITOR2Lib_TLB.h"

struct TGlobalVars;
class TLameEncSettingsBase;
class TAudioFile2;

// Format is afWav, afMp3, afOgg or afWma. LameEnc is the caller's own encoder settings object:
// what one call leaves in it (the stereo mode of a mono choice) carries over to the next. A
// choice outside its range, or another format, sets nothing and answers false.
bool ApplyOutputFormat(const TGlobalVars& Settings, int Format, TLameEncSettingsBase& LameEnc,
                       IAudioEditor2FileFormat& Target);

// The file writer seen as an output format target.
class TAudioFile2FormatTarget : public IAudioEditor2FileFormat {
 public:
  explicit TAudioFile2FormatTarget(TAudioFile2& File) : FFile(File) {}
  void SetWavFormat(int SampleRate, int Channels, int Bits) override;
  void SetMp3CbrFormat(int SampleRate, int Kbps, int Channels) override;
  void SetMp3EncoderFormat(const TLameEncSettingsBase& Settings) override;
  void SetOggFormat(int SampleRate, int Channels, int Kbps, int Reserved1, int Reserved2,
                    int16_t Quality) override;
  void SetWmaFormat(int Profile) override;

 private:
  TAudioFile2& FFile;
};
