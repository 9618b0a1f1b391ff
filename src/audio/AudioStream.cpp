#include "audio/AudioStream.h"

#include <map>
#include <vector>

#include "audio/AudioEncoder.h"
#include "audio/AudioRegistry.h"

namespace {
struct Registry {
  std::vector<FileDecoder> decoders;
  std::map<int, FileEncoder> encoders;
  std::map<int, EncoderFormatQuery> queries;
};
Registry& TheRegistry() {
  static Registry r;
  return r;
}
}  // namespace

void RegisterFileDecoder(FileDecoder decoder) {
  TheRegistry().decoders.push_back(std::move(decoder));
}
void RegisterFileEncoder(int formatCode, FileEncoder encoder) {
  TheRegistry().encoders[formatCode] = std::move(encoder);
}
void RegisterEncoderFormat(int formatCode, EncoderFormatQuery query) {
  TheRegistry().queries[formatCode] = std::move(query);
}

// The FFmpeg, LAME, Vorbis and WMA codecs join on first use, so no static initialiser has to
// survive the linker.
const std::vector<FileDecoder>& RegisteredDecoders() {
  RegisterAudioCodecs();
  return TheRegistry().decoders;
}
const FileEncoder* RegisteredEncoder(int formatCode) {
  RegisterAudioCodecs();
  auto it = TheRegistry().encoders.find(formatCode);
  return it == TheRegistry().encoders.end() ? nullptr : &it->second;
}
const EncoderFormatQuery* RegisteredEncoderFormat(int formatCode) {
  RegisterAudioCodecs();
  auto it = TheRegistry().queries.find(formatCode);
  return it == TheRegistry().queries.end() ? nullptr : &it->second;
}
