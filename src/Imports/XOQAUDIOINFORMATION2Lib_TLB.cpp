#include "Imports/XOQAUDIOINFORMATION2Lib_TLB.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "audio/AudioDecoder.h"
#include "audio/AudioFileError.h"
#include "audio/SafeFileSave.h"
#include "platform/rtl/TypInfo.h"

extern "C" {
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
}

namespace {

struct TRemux {
  AVFormatContext* In = nullptr;
  AVFormatContext* Out = nullptr;
  AVPacket* Packet = av_packet_alloc();
  ~TRemux() {
    av_packet_free(&Packet);
    avformat_close_input(&In);
    if (Out) {
      if (Out->pb) avio_closep(&Out->pb);
      avformat_free_context(Out);
    }
  }
};

void SetTag(AVDictionary** dict, const char* key, const std::string& value) {
  av_dict_set(dict, key, value.empty() ? nullptr : value.c_str(), 0);
}

void ApplyTags(AVDictionary** dict, const AudioTags& tags, bool asf) {
  SetTag(dict, "title", tags.Title);
  SetTag(dict, asf ? "author" : "artist", tags.Artist);
  SetTag(dict, "album", tags.Album);
  SetTag(dict, "comment", tags.Comment);
  SetTag(dict, "date", tags.Year > 0 ? std::to_string(tags.Year) : std::string());
  SetTag(dict, "genre", AudioGenreName(tags.GenreIndex));
}

// The last page of an Ogg file: where it starts and its bytes, or an empty vector.
std::vector<unsigned char> LastOggPage(std::FILE* f, int64_t& start) {
  if (fseeko(f, 0, SEEK_END) != 0) return {};
  const int64_t size = ftello(f);
  const int64_t from = std::max<int64_t>(0, size - 65307);  // the largest page there is
  std::vector<unsigned char> tail(size_t(size - from));
  if (fseeko(f, from, SEEK_SET) != 0 || std::fread(tail.data(), 1, tail.size(), f) != tail.size())
    return {};
  if (tail.size() < 27) return {};
  for (size_t i = tail.size() - 27;; --i) {
    if (std::memcmp(&tail[i], "OggS", 4) == 0 && tail[i + 4] == 0) {
      const size_t segments = tail[i + 26];
      size_t length = 27 + segments;
      if (i + length <= tail.size()) {
        for (size_t k = 0; k < segments; ++k) length += tail[i + 27 + k];
        if (i + length == tail.size()) {
          start = from + int64_t(i);
          return std::vector<unsigned char>(tail.begin() + std::ptrdiff_t(i), tail.end());
        }
      }
    }
    if (i == 0) return {};
  }
}

uint32_t OggCrc(const std::vector<unsigned char>& page) {
  uint32_t crc = 0;
  for (unsigned char b : page) {
    crc ^= uint32_t(b) << 24;
    for (int k = 0; k < 8; ++k) crc = crc & 0x80000000u ? (crc << 1) ^ 0x04C11DB7u : crc << 1;
  }
  return crc;
}

// Copying the packets of an Ogg stream loses the end position of its last page when that
// packet starts past the end of the sound (its length comes through negative): the copy gets
// the original's end position back.
void KeepOggEnd(const std::string& original, const std::string& copy, const std::string& shown) {
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> in(std::fopen(original.c_str(), "rb"),
                                                     std::fclose);
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> out(std::fopen(copy.c_str(), "r+b"), std::fclose);
  if (!in || !out) return;
  int64_t at = 0, unused = 0;
  const std::vector<unsigned char> was = LastOggPage(in.get(), unused);
  std::vector<unsigned char> page = LastOggPage(out.get(), at);
  if (was.empty() || page.empty() || std::memcmp(&was[6], &page[6], 8) == 0) return;
  std::memcpy(&page[6], &was[6], 8);
  std::memset(&page[22], 0, 4);
  const uint32_t crc = OggCrc(page);
  for (int k = 0; k < 4; ++k) page[22 + size_t(k)] = (unsigned char)(crc >> (8 * k));
  if (fseeko(out.get(), at, SEEK_SET) != 0 ||
      std::fwrite(page.data(), 1, page.size(), out.get()) != page.size() ||
      std::fflush(out.get()) != 0)
    RaiseWriteError(shown, std::strerror(errno));
}

}  // namespace

void WriteAudioTags(const std::string& path, const AudioTags& tags) {
  const std::string shown = path;
  auto damaged = [&] {
    throw EAudioFileError("The file \"" + path + "\" is damaged or the format is not supported.");
  };
  {
    // The file must be a sound file we read; this also gives the clear error for a bad one.
    TAudioDecoder check(path);
  }
  TRemux r;
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const std::string inUrl = "file:" + path;
  const int rc = avformat_open_input(&r.In, inUrl.c_str(), nullptr, &options);
  av_dict_free(&options);
  if (rc < 0) {
    r.In = nullptr;
    damaged();
  }
  if (avformat_find_stream_info(r.In, nullptr) < 0) damaged();
  const std::string ext = LowerCase(std::filesystem::path(path).extension().string());
  const char* muxer = ext == ".wav"   ? "wav"
                      : ext == ".mp3" ? "mp3"
                      : ext == ".ogg" ? "ogg"
                      : ext == ".wma" ? "asf"
                                      : nullptr;
  if (!muxer)
    throw EAudioFileError("Tags cannot be written into \"" + path + "\": unknown file type.");
  const bool asf = std::string(muxer) == "asf";

  TSafeFileSave save(path);
  if (avformat_alloc_output_context2(&r.Out, nullptr, muxer, nullptr) < 0) damaged();
  std::vector<int> map(r.In->nb_streams, -1);
  for (unsigned i = 0; i < r.In->nb_streams; ++i) {
    AVStream* in = r.In->streams[i];
    if (in->codecpar->codec_type != AVMEDIA_TYPE_AUDIO) continue;
    AVStream* out = avformat_new_stream(r.Out, nullptr);
    if (!out || avcodec_parameters_copy(out->codecpar, in->codecpar) < 0) damaged();
    out->codecpar->codec_tag = 0;
    out->time_base = in->time_base;
    av_dict_copy(&out->metadata, in->metadata, 0);
    ApplyTags(&out->metadata, tags, asf);
    map[i] = out->index;
  }
  av_dict_copy(&r.Out->metadata, r.In->metadata, 0);
  ApplyTags(&r.Out->metadata, tags, asf);
  const std::string outUrl = "file:" + save.TempPath();
  int err = avio_open(&r.Out->pb, outUrl.c_str(), AVIO_FLAG_WRITE);
  if (err < 0) RaiseWriteError(shown, "the file cannot be created");
  if (avformat_write_header(r.Out, nullptr) < 0)
    RaiseWriteError(shown, "the tags cannot be written");
  while (av_read_frame(r.In, r.Packet) >= 0) {
    const int to = r.Packet->stream_index < int(map.size()) ? map[r.Packet->stream_index] : -1;
    if (to < 0) {
      av_packet_unref(r.Packet);
      continue;
    }
    av_packet_rescale_ts(r.Packet, r.In->streams[r.Packet->stream_index]->time_base,
                         r.Out->streams[to]->time_base);
    r.Packet->stream_index = to;
    r.Packet->pos = -1;
    err = av_interleaved_write_frame(r.Out, r.Packet);
    if (err < 0 || r.Out->pb->error < 0) RaiseWriteError(shown, "writing failed");
  }
  if (av_write_trailer(r.Out) < 0) RaiseWriteError(shown, "writing failed");
  avio_flush(r.Out->pb);
  if (r.Out->pb->error < 0 || avio_closep(&r.Out->pb) < 0) RaiseWriteError(shown, "writing failed");
  if (std::string(muxer) == "ogg") KeepOggEnd(path, save.TempPath(), shown);
  save.Commit();
}

TAudioInformation2::TAudioInformation2(TComponent* AOwner) : TComponent(AOwner) {}

TAudioInformation2::~TAudioInformation2() = default;

void TAudioInformation2::OpenFile(const std::string& path) {
  TAudioDecoder decoder(path);
  FPath = path;
  FTags = decoder.Tags();
  FLength = -1;
}

void TAudioInformation2::WriteInfoTo(const std::string& path) {
  if (FPath.empty()) throw EAudioFileError("No file was opened to take the information from.");
  WriteAudioTags(path, FTags);
}

int64_t TAudioInformation2::LengthInSamples() {
  if (FPath.empty()) return 0;
  if (FLength < 0) {
    TAudioDecoder decoder(FPath);
    std::vector<float> scratch;
    int64_t frames = 0;
    size_t n;
    while ((n = decoder.Read(scratch, 1 << 16)) > 0) {
      frames += int64_t(n);
      scratch.clear();
    }
    FLength = frames;
  }
  return FLength;
}

void RegisterAudioInformation2() {
  static std::once_flag once;
  std::call_once(once, [] { RegisterClass<TAudioInformation2, TComponent>("TAudioInformation2"); });
}
