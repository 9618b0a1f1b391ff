#pragma once
// TAudioFile2: the block-wise sound-file reader and writer of the batch converter and the
// recording window, and the MP3 encoder settings objects handed to SetMp3EncoderFormat.
//
// Reading: OpenRead decodes any file the editor opens; ReadPcm(count) returns up to count
// interleaved values (whole frames) and an empty array at the end. Files with more than two
// channels are read as stereo, so FileChannels and PcmChannels are at most 2.
// Writing: the last format setter called picks the kind of file (WAV, MP3, OGG or WMA);
// CreateFile mode 0 (batch) writes through a temporary file that takes the name at CloseFile
// (AbandonFile removes it),
// mode 1 (recording) writes the named file directly. WritePcm takes blocks in the rate and
// channels of SetPcmFormat, or of the block itself when it states them, and converts them to
// the output's.

#include <memory>
#include <string>

#include "audio/OutputFormat.h"
#include "audio/SampleBuffer.h"
#include "platform/rtl/Classes.h"

// The settings object's puts; what it hands over names the preset only when Preset was put after
// VbrMethod, so that the later of the two decides.
class TLameEncSettingsBase : public TComponent {
 public:
  explicit TLameEncSettingsBase(TComponent* AOwner) : TComponent(AOwner) {}
  void SetPreset(int value);
  void SetVbrMaxBitRate(int value) { F.VbrMaxBitRate = value; }
  void SetVbrQuality(int16_t value) { F.VbrQuality = value; }
  void SetVbrMethod(int value);
  void SetAbrBitRate(int value) { F.AbrBitRate = value; }
  void SetStereoMode(int value) { F.StereoMode = value; }
  void SetWriteXing(bool value) { F.WriteXing = value; }
  void SetWriteCrc(bool value) { F.WriteCrc = value; }
  void SetChannelCount(int value) { F.ChannelCount = value; }
  void SetVbrMinBitRate(int value) { F.VbrMinBitRate = value; }
  TLameEncoderSettings Settings() const;

 private:
  TLameEncoderSettings F;
  bool FPresetLast = false;
};

class TAudioFile2LameEnc : public TLameEncSettingsBase {
 public:
  using TLameEncSettingsBase::TLameEncSettingsBase;
};

class TAudioEditor2LameEnc : public TLameEncSettingsBase {
 public:
  using TLameEncSettingsBase::TLameEncSettingsBase;
};

class TAudioFile2 : public TComponent {
 public:
  explicit TAudioFile2(TComponent* AOwner);
  ~TAudioFile2() override;

  void OpenRead(const std::string& path, int reserved1 = 0, int reserved2 = 1);
  // Ends reading and writing; a file being written is completed (and, in batch mode, renamed).
  void CloseFile();
  // Ends reading and drops the file being written: nothing of it remains (a stopped or failed
  // batch output).
  void AbandonFile();
  void CreateFile(const std::string& path, int mode);
  void WritePcm(SampleBuffer& block);
  SampleBuffer ReadPcm(int count);
  bool CanWriteMp3(int rate, int kbps, int channels);
  bool CanWriteOgg(int rate, int channels, int kbps, int reserved1 = 0, int reserved2 = 0);
  void SetPcmFormat(int rate, int channels);
  void CopyWavFormat(const std::string& path);
  void SetWavFormat(int rate, int channels, int bits);
  void SetMp3CbrFormat(int rate, int kbps, int channels);
  void SetMp3EncoderFormat(const TLameEncSettingsBase& settings);
  void SetOggFormat(int rate, int channels, int kbps, int reserved1, int reserved2,
                    int16_t quality);
  void SetWmaFormat(int profileCode);

  // Frames of the file being read: its stated length, but never less than what was read, and
  // never 0 while frames remain.
  int64_t LengthInSamples() const;
  int FileSampleRate() const;
  int FileChannels() const;
  int FileBitRate() const;  // bits per second
  int PcmChannels() const { return FPcmChannels; }
  int PcmSampleRate() const { return FPcmSampleRate; }

  // The output settings and the kind of file CreateFile makes (afWav, afMp3, afOgg, afWma).
  const TOutputFormat& OutputFormat() const { return FFormat; }
  int OutputKind() const { return FKind; }

 private:
  struct TReader;
  struct TWriter;
  void CloseReader();
  void CloseWriter();
  std::unique_ptr<TReader> FReader;
  std::unique_ptr<TWriter> FWriter;
  TOutputFormat FFormat;
  int FKind = afWav;
  int FPcmChannels = 2, FPcmSampleRate = 44100;
};

// Makes the two encoder-settings classes known by name to form descriptions.
void RegisterLameEncSettings();
