#include "audio/AudioEncoder.h"

#include <filesystem>
#include <mutex>

#include "audio/AudioFileError.h"
#include "audio/CdaDecoder.h"
#include "audio/DspKernels.h"
#include "audio/Mp3Encoder.h"
#include "audio/OggEncoder.h"
#include "audio/SafeFileSave.h"
#include "audio/WmaEncoder.h"
#include "platform/sys/CdTrackFiles.h"

void TAudioEncoder::Write(const float* frames, size_t count) {
  FClipped.resize(count * size_t(FChannels));
  DspClampFullScale(FClipped.data(), frames, FClipped.size());
  Encode(FClipped.data(), count);
}

std::unique_ptr<TAudioEncoder> CreateAudioEncoder(int formatCode, const TOutputFormat& format,
                                                  int sourceRate, const std::string& path,
                                                  const std::string& shownName,
                                                  const AudioTags& tags) {
  switch (formatCode) {
    case afMp3:
      return std::make_unique<TMp3Encoder>(ResolveMp3(format, sourceRate), path, shownName, tags);
    case afOgg:
      return std::make_unique<TOggEncoder>(format, path, shownName, tags);
    case afWma:
      return std::make_unique<TWmaEncoder>(WmaProfile(format.WmaProfile), path, shownName, tags);
  }
  throw EAudioFileError(Format("There is no file format %d.", {formatCode}));
}

void EncodeAudioFile(int formatCode, const std::string& path, const TOutputFormat& format,
                     const AudioTags& tags, AudioSource& source) {
  TSafeFileSave save(path);
  auto encoder =
      CreateAudioEncoder(formatCode, format, source.SampleRate(), save.TempPath(), path, tags);
  if (encoder->SampleRate() != source.SampleRate() || encoder->Channels() != source.Channels())
    throw EAudioFileError("The sound to save is not in the format of \"" + path + "\".");
  std::vector<float> block(size_t(65536) * size_t(encoder->Channels()));
  for (;;) {
    const int64_t n = source.Read(block.data(), 65536);
    if (n <= 0) break;
    encoder->Write(block.data(), size_t(n));
  }
  encoder->Finish();
  save.Commit();
}

namespace {

bool DecodeWithFfmpeg(const std::string& path, AudioSink& sink, AudioTags& tags) {
  // CD tracks are virtual files read by the CD layer.
  std::string ext = std::filesystem::path(path).extension().string();
  if (SameText(ext, ".cda")) return false;
  TAudioDecoder decoder(path);
  const TAudioStreamInfo& info = decoder.Info();
  tags = decoder.Tags();
  sink.Begin(info.SampleRate, info.Channels,
             info.LengthFrames > 0 && !info.LengthDoubtful ? info.LengthFrames : -1);
  std::vector<float> block;
  for (;;) {
    block.clear();
    const size_t n = decoder.Read(block, 65536);
    if (n == 0) break;
    sink.Append(block.data(), int64_t(n));
  }
  return true;
}

}  // namespace

void RegisterAudioCodecs() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterFileDecoder(DecodeCdTrack);
    InstallCdTrackFiles();
    RegisterFileDecoder(DecodeWithFfmpeg);
    for (int code : {afMp3, afOgg, afWma}) {
      RegisterFileEncoder(
          code, [code](const std::string& path, const TOutputFormat& format, const AudioTags& tags,
                       AudioSource& source) { EncodeAudioFile(code, path, format, tags, source); });
      RegisterEncoderFormat(code, [code](const TOutputFormat& format, int& rate, int& channels) {
        const TPcmShape shape = OutputShape(code, format, rate);
        rate = shape.SampleRate;
        channels = shape.Channels;
      });
    }
  });
}
