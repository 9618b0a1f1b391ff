#include "operations/OutputFormatApply.h"

#include "Imports/XOQAUDIOFILE2Lib_TLB.h"
#include "appbase/Globals.h"
#include "appbase/Utils.h"

namespace {

void ApplyWav(const TGlobalVars& s, IAudioEditor2FileFormat& target) {
  if (s.OutputWAVType != 0) {
    target.SetWavFormat(SampleRateFromIndex(s.OutputWAVSampleType),
                        ChannelsFromMode(s.OutputWAVMode), BitsFromIndex(s.OutputWAVBitesPerSample));
    return;
  }
  switch (s.OutputWAVPersets) {
    case 0:
      target.SetWavFormat(22050, 2, 16);
      break;
    case 2:
      target.SetWavFormat(96000, 2, 16);
      break;
    default:
      target.SetWavFormat(44100, 2, 16);
  }
}

bool ApplyMp3(const TGlobalVars& s, TLameEncSettingsBase& lame, IAudioEditor2FileFormat& target) {
  if (s.OutputMP3Type == 0) {
    if (s.OutputMP3Presets > 10) return false;
    lame.SetPreset(s.OutputMP3Presets + 1);
    target.SetMp3EncoderFormat(lame);
    return true;
  }
  if (s.OutputMP3CBR) {
    target.SetMp3CbrFormat(44100, Mp3CbrBitRateFromIndex(s.OutputMP3CBRBitRate),
                           Mp3ChannelsFromMode(s.OutputMP3Mode));
    return true;
  }
  switch (s.OutputMP3Mode) {
    case 0:
    case 1:
    case 2:
      lame.SetChannelCount(2);
      lame.SetStereoMode(s.OutputMP3Mode == 0 ? 1 : s.OutputMP3Mode == 1 ? 2 : 4);
      break;
    case 3:
      lame.SetChannelCount(1);  // the stereo mode of the last stereo choice stays
      break;
  }
  lame.SetVbrMaxBitRate(Mp3VbrMaxBitRateFromIndex(s.OutputMP3VBRBitRateMax));
  lame.SetVbrMinBitRate(Mp3VbrMinBitRateFromIndex(s.OutputMP3VBRBitRateMin));
  if (s.OutputMP3QualityLevel) {
    lame.SetVbrMethod(0);
    lame.SetVbrQuality(int16_t(9 - s.OutputMP3QualityLevelValue));
  } else {
    lame.SetVbrMethod(4);
    lame.SetAbrBitRate(Mp3AbrBitRateFromIndex(s.OutputMP3ABRBitRate));
  }
  lame.SetWriteXing(s.OutputMP3WriteXING);
  lame.SetWriteCrc(s.OutputMP3Checksum);
  target.SetMp3EncoderFormat(lame);
  return true;
}

bool ApplyOgg(const TGlobalVars& s, IAudioEditor2FileFormat& target) {
  static constexpr int presetKbps[] = {64, 96, 128, 160, 192, 256, 320};
  switch (s.OutputOGGType) {
    case 0:
      if (s.OutputOGGPresets > 6) return false;
      target.SetOggFormat(44100, s.OutputOGGPresets == 0 ? 1 : 2, presetKbps[s.OutputOGGPresets],
                          0, 0, -1);
      return true;
    case 1:
      if (s.OutputOGGABR)
        target.SetOggFormat(44100, ChannelsFromMode(s.OutputOGGMode),
                            OggAbrBitRateFromIndex(s.OutputOGGABRBitRate), 0, 0, -1);
      else
        target.SetOggFormat(44100, ChannelsFromMode(s.OutputOGGMode), 0, 0, 0,
                            int16_t(s.OutputOGGQualityValue * 10));
      return true;
  }
  return false;
}

bool ApplyWma(const TGlobalVars& s, IAudioEditor2FileFormat& target) {
  static constexpr int profiles[] = {36, 23, 16, 13, 11, 10, 8};
  if (s.OutputWMAPresets > 6) return false;
  target.SetWmaFormat(profiles[s.OutputWMAPresets]);
  return true;
}

}  // namespace

bool ApplyOutputFormat(const TGlobalVars& Settings, int Format, TLameEncSettingsBase& LameEnc,
                       IAudioEditor2FileFormat& Target) {
  switch (Format) {
    case afWav:
      ApplyWav(Settings, Target);
      return true;
    case afMp3:
      return ApplyMp3(Settings, LameEnc, Target);
    case afOgg:
      return ApplyOgg(Settings, Target);
    case afWma:
      return ApplyWma(Settings, Target);
  }
  return false;
}

void TAudioFile2FormatTarget::SetWavFormat(int SampleRate, int Channels, int Bits) {
  FFile.SetWavFormat(SampleRate, Channels, Bits);
}
void TAudioFile2FormatTarget::SetMp3CbrFormat(int SampleRate, int Kbps, int Channels) {
  FFile.SetMp3CbrFormat(SampleRate, Kbps, Channels);
}
void TAudioFile2FormatTarget::SetMp3EncoderFormat(const TLameEncSettingsBase& Settings) {
  FFile.SetMp3EncoderFormat(Settings);
}
void TAudioFile2FormatTarget::SetOggFormat(int SampleRate, int Channels, int Kbps, int Reserved1,
                                           int Reserved2, int16_t Quality) {
  FFile.SetOggFormat(SampleRate, Channels, Kbps, Reserved1, Reserved2, Quality);
}
void TAudioFile2FormatTarget::SetWmaFormat(int Profile) { FFile.SetWmaFormat(Profile); }
