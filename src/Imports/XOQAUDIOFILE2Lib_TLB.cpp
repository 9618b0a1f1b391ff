#include "Imports/XOQAUDIOFILE2Lib_TLB.h"

#include <algorithm>
#include <mutex>

#include "audio/AudioDecoder.h"
#include "audio/AudioEncoder.h"
#include "audio/AudioFileError.h"
#include "audio/DspKernels.h"
#include "audio/FormatConverter.h"
#include "audio/SafeFileSave.h"
#include "audio/WavFile.h"
#include "platform/rtl/TypInfo.h"

void TLameEncSettingsBase::SetPreset(int value) {
  F.Preset = value;
  FPresetLast = true;
}

void TLameEncSettingsBase::SetVbrMethod(int value) {
  F.VbrMethod = value;
  FPresetLast = false;
}

TLameEncoderSettings TLameEncSettingsBase::Settings() const {
  TLameEncoderSettings s = F;
  if (!FPresetLast) s.Preset = 0;
  return s;
}

struct TAudioFile2::TReader {
  explicit TReader(const std::string& path) : Decoder(path) {}
  TAudioDecoder Decoder;
};

struct TAudioFile2::TWriter {
  std::string Path;
  std::unique_ptr<TSafeFileSave> Safe;
  std::unique_ptr<WavWriter> Wav;
  std::unique_ptr<TAudioEncoder> Encoder;
  int OutRate = 0, OutChannels = 0;
  std::unique_ptr<FormatConverter> Converter;
  int ConvRate = 0, ConvChannels = 0;
  std::vector<float> Scratch, Finite;

  void Put(const float* values, int64_t frames) {
    if (frames <= 0) return;
    if (Wav)
      Wav->Write(values, frames);
    else
      Encoder->Write(values, size_t(frames));
  }

  void Flush() {
    if (!Converter) return;
    Scratch.clear();
    Converter->Finish(Scratch);
    Put(Scratch.data(), int64_t(Scratch.size()) / OutChannels);
    Converter.reset();
  }

  void Write(const float* values, int64_t frames, int rate, int channels) {
    // Cleaned before the rate converter, which would spread a NaN over its neighbours.
    Finite.assign(values, values + frames * channels);
    DspMakeFinite(Finite.data(), Finite.size());
    values = Finite.data();
    if (rate == OutRate && channels == OutChannels) {
      Flush();
      Put(values, frames);
      return;
    }
    if (!Converter || ConvRate != rate || ConvChannels != channels) {
      Flush();
      Converter = std::make_unique<FormatConverter>(rate, channels, OutRate, OutChannels);
      ConvRate = rate;
      ConvChannels = channels;
    }
    Scratch.clear();
    Converter->Process(values, frames, Scratch);
    Put(Scratch.data(), int64_t(Scratch.size()) / OutChannels);
  }

  void Close() {
    Flush();
    if (Wav)
      Wav->Close();
    else
      Encoder->Finish();
    if (Safe) Safe->Commit();
  }
};

TAudioFile2::TAudioFile2(TComponent* AOwner) : TComponent(AOwner) {}

TAudioFile2::~TAudioFile2() = default;

void TAudioFile2::OpenRead(const std::string& path, int, int) {
  CloseReader();
  FReader = std::make_unique<TReader>(path);
  FPcmSampleRate = FReader->Decoder.Info().SampleRate;
  FPcmChannels = FReader->Decoder.Info().Channels;
}

void TAudioFile2::CloseReader() { FReader.reset(); }

void TAudioFile2::CloseWriter() {
  if (!FWriter) return;
  std::unique_ptr<TWriter> w = std::move(FWriter);
  w->Close();
}

void TAudioFile2::CloseFile() {
  CloseReader();
  CloseWriter();
}

void TAudioFile2::AbandonFile() {
  CloseReader();
  // The temporary file goes with the writer; a recording's file, written in place, stays.
  FWriter.reset();
}

void TAudioFile2::CreateFile(const std::string& path, int mode) {
  FWriter.reset();
  auto w = std::make_unique<TWriter>();
  w->Path = path;
  // Both modes start on a temporary file, so that an encoder refusing the format leaves an
  // existing file of that name alone. A recording then takes the name at once and grows in
  // place (what was recorded survives a crash); a batch output takes it only when complete.
  w->Safe = std::make_unique<TSafeFileSave>(path);
  const std::string target = w->Safe->TempPath();
  if (FKind == afWav) {
    if (FFormat.WavChannels < 1 || FFormat.WavSampleRate < 1)
      throw EAudioFileError(
          Format("Cannot create \"%s\": %d Hz with %d channel(s) is no WAV format.",
                 {path, FFormat.WavSampleRate, FFormat.WavChannels}));
    w->Wav = std::make_unique<WavWriter>(target, FFormat.WavSampleRate, FFormat.WavChannels,
                                         FFormat.WavBits, path);
    w->OutRate = FFormat.WavSampleRate;
    w->OutChannels = FFormat.WavChannels;
  } else {
    w->Encoder = CreateAudioEncoder(FKind, FFormat, FPcmSampleRate, target, path, AudioTags{});
    w->OutRate = w->Encoder->SampleRate();
    w->OutChannels = w->Encoder->Channels();
  }
  if (mode != 0) {
    w->Safe->Commit();
    w->Safe.reset();
  }
  FWriter = std::move(w);
}

void TAudioFile2::WritePcm(SampleBuffer& block) {
  if (!FWriter) throw EAudioFileError("No file was created to write the sound to.");
  if (block.Empty()) return;
  const int channels = block.Channels() > 0 ? block.Channels() : FPcmChannels;
  const int rate = block.SampleRate() > 0 ? block.SampleRate() : FPcmSampleRate;
  if (channels < 1 || rate < 1) throw EAudioFileError("The sound block has no valid format.");
  try {
    FWriter->Write(block.Data(), block.ValueCount() / channels, rate, channels);
  } catch (...) {
    // A failed output is given up at once; a batch output's temporary file goes with it.
    FWriter.reset();
    throw;
  }
}

SampleBuffer TAudioFile2::ReadPcm(int count) {
  if (!FReader) throw EAudioFileError("No file was opened to read from.");
  const int channels = FReader->Decoder.Info().Channels;
  const int rate = FReader->Decoder.Info().SampleRate;
  std::vector<float> values;
  if (count > 0) {
    const size_t frames = std::max<size_t>(1, size_t(count) / size_t(channels));
    values.reserve(frames * size_t(channels));
    FReader->Decoder.Read(values, frames);
  }
  return SampleBuffer(std::move(values), channels, rate);
}

bool TAudioFile2::CanWriteMp3(int rate, int kbps, int channels) {
  return CanWriteMp3Format(rate, kbps, channels);
}

bool TAudioFile2::CanWriteOgg(int rate, int channels, int kbps, int, int) {
  return CanWriteOggFormat(rate, channels, kbps);
}

void TAudioFile2::SetPcmFormat(int rate, int channels) {
  FPcmSampleRate = rate;
  FPcmChannels = channels;
}

void TAudioFile2::CopyWavFormat(const std::string& path) {
  try {
    WavReader reader(path);
    const WavInfo& info = reader.Info();
    SetWavFormat(info.SampleRate, info.Channels, info.Float ? 32 : info.Bits);
  } catch (const EReadError&) {
    // A WAV of a compressed codec: its rate and channels, written as 16-bit PCM.
    TAudioDecoder decoder(path);
    SetWavFormat(decoder.Info().SampleRate, decoder.Info().Channels, 16);
  }
}

void TAudioFile2::SetWavFormat(int rate, int channels, int bits) {
  FFormat.WavSampleRate = rate;
  FFormat.WavChannels = channels;
  FFormat.WavBits = bits;
  FKind = afWav;
}

void TAudioFile2::SetMp3CbrFormat(int rate, int kbps, int channels) {
  FFormat.Mp3Mode = TMp3Mode::Cbr;
  FFormat.Mp3SampleRate = rate;
  FFormat.Mp3Kbps = kbps;
  FFormat.Mp3Channels = channels;
  FKind = afMp3;
}

void TAudioFile2::SetMp3EncoderFormat(const TLameEncSettingsBase& settings) {
  FFormat.Mp3Mode = TMp3Mode::Encoder;
  FFormat.Mp3Encoder = settings.Settings();
  FKind = afMp3;
}

void TAudioFile2::SetOggFormat(int rate, int channels, int kbps, int, int, int16_t quality) {
  FFormat.OggSampleRate = rate;
  FFormat.OggChannels = channels;
  FFormat.OggKbps = kbps;
  FFormat.OggQuality = quality;
  FKind = afOgg;
}

void TAudioFile2::SetWmaFormat(int profileCode) {
  FFormat.WmaProfile = profileCode;
  FKind = afWma;
}

int64_t TAudioFile2::LengthInSamples() const {
  if (!FReader) return 0;
  TAudioDecoder& d = FReader->Decoder;
  const int64_t read = d.Position();
  const int64_t atLeast = d.AtEnd() ? read : read + 1;
  return std::max(d.Info().LengthDoubtful ? 0 : d.Info().LengthFrames, atLeast);
}

int TAudioFile2::FileSampleRate() const { return FReader ? FReader->Decoder.Info().SampleRate : 0; }
int TAudioFile2::FileChannels() const { return FReader ? FReader->Decoder.Info().Channels : 0; }
int TAudioFile2::FileBitRate() const {
  return FReader ? int(std::min<int64_t>(FReader->Decoder.Info().BitRate, INT32_MAX)) : 0;
}

void RegisterLameEncSettings() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterClass<TAudioEditor2LameEnc, TComponent>("TAudioEditor2LameEnc");
    RegisterClass<TAudioFile2LameEnc, TComponent>("TAudioFile2LameEnc");
  });
}
