#include "audio/AudioDecoder.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>

#include "audio/AudioFileError.h"
#include "audio/DspKernels.h"

extern "C" {
#include <lame/lame.h>
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/dict.h>
#include <libavutil/intreadwrite.h>
#include <libavutil/log.h>
#include <libavutil/opt.h>
#include <libswresample/swresample.h>
}

namespace {

namespace fs = std::filesystem;

// Demuxers for sound files; everything else (playlists, images, network front ends) is refused so
// that opening a file never reads other files or addresses it names.
constexpr const char* kDemuxerWhitelist =
    "wav,w64,mp3,mpc,mpc8,ogg,asf,aiff,flac,mov,matroska,au,caf,wv,ape,aac,ac3,eac3,voc,amr,"
    "mpegts,mpeg,dts,tta,truehd,mlp,shn,sox,sln,xwma";

// Chunk read from headerless files: a multiple of 3, 4 and 5 bytes so that no code of 3, 4 or
// 5 bits and no 16-bit stereo frame is split across two packets.
constexpr size_t kRawChunk = 61440;

// A damaged file is read past bad packets, but not without end.
constexpr int kMaxErrorsInRow = 200;

void QuietFfmpegLog() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_FATAL); });
}

std::string LowerExt(const std::string& path) {
  std::string ext = fs::path(path).extension().string();
  for (char& c : ext) c = char(std::tolower((unsigned char)c));
  return ext;
}

struct TRawKind {
  const char* Ext;
  AVCodecID Codec;
  int Rate;
  int BitsPerCode;  // bits of one coded sample
};

constexpr TRawKind kRawKinds[] = {
    {".raw", AV_CODEC_ID_PCM_S16LE, 8000, 16},    {".vox", AV_CODEC_ID_ADPCM_IMA_OKI, 8000, 4},
    {".g721", AV_CODEC_ID_ADPCM_G726LE, 8000, 4}, {".g723", AV_CODEC_ID_ADPCM_G726LE, 8000, 3},
    {".g726", AV_CODEC_ID_ADPCM_G726LE, 8000, 4},
};

const TRawKind* RawKindOf(const std::string& path) {
  const std::string ext = LowerExt(path);
  for (const TRawKind& k : kRawKinds)
    if (ext == k.Ext) return &k;
  return nullptr;
}

// Whether a file starts with the header of a container format: such a file named as a
// headerless kind (a WAV saved as .raw, say) is read by its header, not as raw codes.
bool HasContainerHeader(const std::string& path) {
  unsigned char h[12] = {};
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  const size_t n = std::fread(h, 1, sizeof h, f);
  std::fclose(f);
  auto at = [&](size_t offset, const char* magic) {
    const size_t len = std::strlen(magic);
    return n >= offset + len && std::memcmp(h + offset, magic, len) == 0;
  };
  static const unsigned char kAsf[] = {0x30, 0x26, 0xB2, 0x75, 0x8E, 0x66, 0xCF, 0x11};
  return (at(0, "RIFF") && at(8, "WAVE")) || (at(0, "FORM") && (at(8, "AIFF") || at(8, "AIFC"))) ||
         at(0, "OggS") || at(0, "ID3") || at(0, "MPCK") || at(0, "MP+") || at(0, "fLaC") ||
         (n >= sizeof kAsf && std::memcmp(h, kAsf, sizeof kAsf) == 0);
}

std::string Damaged(const std::string& path) {
  return "The file \"" + path + "\" is damaged or the format is not supported.";
}

int ParseYear(const std::string& text) {
  int year = 0, digits = 0;
  for (char c : text) {
    if (!std::isdigit((unsigned char)c)) break;
    year = year * 10 + (c - '0');
    if (++digits == 4) break;
  }
  return digits == 4 ? year : 0;
}

std::string DictValue(AVDictionary* const* dicts, size_t count, const char* key) {
  for (size_t i = 0; i < count; ++i) {
    if (!dicts[i]) continue;
    if (const AVDictionaryEntry* e = av_dict_get(dicts[i], key, nullptr, 0)) return e->value;
  }
  return {};
}

}  // namespace

struct TAudioDecoder::TImpl {
  std::string Path;
  TAudioStreamInfo Info;
  AudioTags Tags;

  AVFormatContext* Format = nullptr;
  int Stream = -1;
  AVCodecContext* Codec = nullptr;
  SwrContext* Swr = nullptr;
  AVPacket* Packet = nullptr;
  AVFrame* Frame = nullptr;
  // The source format the converter was set up for.
  int SwrRate = 0, SwrFormat = -1;
  AVChannelLayout SwrLayout{};

  std::FILE* Raw = nullptr;
  std::vector<uint8_t> RawBuffer;

  std::vector<float> Pending;  // converted frames not yet delivered
  size_t PendingPos = 0;       // in values
  bool InputDone = false;      // no more packets: the decoder has been told
  bool Ended = false;
  int64_t Delivered = 0;
  int64_t Produced = 0;
  int ErrorsInRow = 0;
  int Errors = 0;
  bool ManualTrim = false;  // the decoder leaves start and end trimming to us
  int64_t TrimTo = -1;      // frames the stream holds, when trimmed here

  ~TImpl() {
    swr_free(&Swr);
    av_channel_layout_uninit(&SwrLayout);
    avcodec_free_context(&Codec);
    avformat_close_input(&Format);
    av_packet_free(&Packet);
    av_frame_free(&Frame);
    if (Raw) std::fclose(Raw);
  }

  [[noreturn]] void Fail(const std::string& message) { throw EAudioFileError(message); }

  void Open(const std::string& path) {
    QuietFfmpegLog();
    Path = path;
    std::error_code ec;
    if (!fs::exists(path, ec)) Fail("The file \"" + path + "\" does not exist.");
    if (fs::is_directory(path, ec)) Fail("\"" + path + "\" is a folder, not a sound file.");
    // Devices and pipes could be read without end.
    if (!fs::is_regular_file(path, ec)) Fail("\"" + path + "\" is not a sound file.");
    if (fs::file_size(path, ec) == 0 || ec) Fail("The file \"" + path + "\" is empty.");
    Packet = av_packet_alloc();
    Frame = av_frame_alloc();
    if (!Packet || !Frame) Fail("Out of memory opening \"" + path + "\".");
    const TRawKind* raw = RawKindOf(path);
    if (raw && !HasContainerHeader(path))
      OpenRaw(*raw);
    else
      OpenContainer();
    // Decode ahead until the first frames, so a file that holds nothing decodable fails here.
    Fill();
    if (Pending.empty() && Errors > 0) Fail(Damaged(Path));
  }

  void OpenRaw(const TRawKind& kind) {
    Raw = std::fopen(Path.c_str(), "rb");
    if (!Raw) Fail("The file \"" + Path + "\" cannot be read: " + std::strerror(errno) + ".");
    const AVCodec* codec = avcodec_find_decoder(kind.Codec);
    if (!codec) Fail(Damaged(Path));
    Codec = avcodec_alloc_context3(codec);
    Codec->sample_rate = kind.Rate;
    av_channel_layout_default(&Codec->ch_layout, 1);
    Codec->bits_per_coded_sample = kind.BitsPerCode;
    if (avcodec_open2(Codec, codec, nullptr) < 0) Fail(Damaged(Path));
    RawBuffer.resize(kRawChunk);
    std::error_code ec;
    const auto size = int64_t(fs::file_size(Path, ec));
    Info.SampleRate = kind.Rate;
    Info.Channels = Info.SourceChannels = 1;
    Info.LengthFrames = size * 8 / kind.BitsPerCode;
    Info.BitRate = int64_t(kind.Rate) * kind.BitsPerCode;
    Info.CodecName = codec->name;
  }

  void OpenContainer() {
    AVDictionary* options = nullptr;
    av_dict_set(&options, "protocol_whitelist", "file", 0);
    av_dict_set(&options, "format_whitelist", kDemuxerWhitelist, 0);
    // "file:" keeps a name with a colon from being taken for another protocol.
    const std::string url = "file:" + Path;
    int rc = avformat_open_input(&Format, url.c_str(), nullptr, &options);
    av_dict_free(&options);
    if (rc < 0) {
      Format = nullptr;
      if (rc == AVERROR(EACCES))
        Fail("The file \"" + Path + "\" cannot be read: permission denied.");
      Fail(Damaged(Path));
    }
    if (avformat_find_stream_info(Format, nullptr) < 0) Fail(Damaged(Path));
    Stream = av_find_best_stream(Format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
    if (Stream < 0) Fail("The file \"" + Path + "\" holds no sound.");
    for (unsigned i = 0; i < Format->nb_streams; ++i)
      if (int(i) != Stream) Format->streams[i]->discard = AVDISCARD_ALL;
    AVStream* st = Format->streams[Stream];
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    if (!codec) Fail(Damaged(Path));
    Codec = avcodec_alloc_context3(codec);
    if (avcodec_parameters_to_context(Codec, st->codecpar) < 0) Fail(Damaged(Path));
    Codec->pkt_timebase = st->time_base;
    // FFmpeg's Ogg demuxer trims the last Vorbis packet by too much; the final granule position
    // (the stream's duration) gives the exact length, so the end is trimmed here instead.
    if (st->codecpar->codec_id == AV_CODEC_ID_VORBIS && st->duration > 0 &&
        st->duration != AV_NOPTS_VALUE && std::string(Format->iformat->name) == "ogg") {
      Codec->flags2 |= AV_CODEC_FLAG2_SKIP_MANUAL;
      ManualTrim = true;
    }
    if (avcodec_open2(Codec, codec, nullptr) < 0) Fail(Damaged(Path));
    Info.SampleRate = Codec->sample_rate;
    Info.SourceChannels = Codec->ch_layout.nb_channels;
    if (Info.SampleRate <= 0 || Info.SourceChannels <= 0) Fail(Damaged(Path));
    Info.Channels = std::min(Info.SourceChannels, 2);
    if (st->duration > 0 && st->duration != AV_NOPTS_VALUE)
      Info.LengthFrames = av_rescale_q(st->duration, st->time_base, AVRational{1, Info.SampleRate});
    else if (Format->duration > 0)
      Info.LengthFrames = av_rescale(Format->duration, Info.SampleRate, AV_TIME_BASE);
    // A Vorbis header without a nominal rate comes through as 2^32 - 2.
    const int64_t streamRate = st->codecpar->bit_rate;
    Info.BitRate = streamRate > 0 && streamRate < INT32_MAX ? streamRate : Format->bit_rate;
    // A damaged header (a frame count in an MP3's Xing header, say) can claim days of sound in a
    // small file: a length that would take far more bytes than the file has is doubtful.
    std::error_code ec;
    const auto fileBytes = int64_t(fs::file_size(Path, ec));
    Info.LengthDoubtful = !ec && Info.BitRate > 0 && Info.LengthFrames > 0 &&
                          double(Info.LengthFrames) / Info.SampleRate * double(Info.BitRate) / 8 >
                              64.0 * double(fileBytes) + 65536;
    if (ManualTrim) TrimTo = Info.LengthFrames;
    Info.CodecName = codec->name;
    ReadTags(st);
  }

  void ReadTags(AVStream* st) {
    AVDictionary* dicts[] = {Format->metadata, st->metadata};
    Tags.Title = DictValue(dicts, 2, "title");
    Tags.Artist = DictValue(dicts, 2, "artist");
    if (Tags.Artist.empty()) Tags.Artist = DictValue(dicts, 2, "author");
    Tags.Album = DictValue(dicts, 2, "album");
    Tags.Comment = DictValue(dicts, 2, "comment");
    if (Tags.Comment.empty()) Tags.Comment = DictValue(dicts, 2, "description");
    std::string year = DictValue(dicts, 2, "date");
    if (year.empty()) year = DictValue(dicts, 2, "year");
    Tags.Year = ParseYear(year);
    Tags.GenreIndex = AudioGenreIndex(DictValue(dicts, 2, "genre"));
  }

  // Sends the next packet, or the end of input; false when nothing more can be sent.
  bool Feed() {
    if (InputDone) return false;
    if (Raw) {
      const size_t n = std::fread(RawBuffer.data(), 1, RawBuffer.size(), Raw);
      if (n == 0) return SendEnd();
      av_packet_unref(Packet);
      if (av_new_packet(Packet, int(n)) < 0) Fail("Out of memory reading \"" + Path + "\".");
      std::memcpy(Packet->data, RawBuffer.data(), n);
    } else {
      for (;;) {
        av_packet_unref(Packet);
        const int rc = av_read_frame(Format, Packet);
        if (rc < 0) return SendEnd();  // end of file, or a truncated one
        if (Packet->stream_index == Stream) break;
      }
    }
    const int rc = avcodec_send_packet(Codec, Packet);
    av_packet_unref(Packet);
    if (rc < 0 && rc != AVERROR(EAGAIN)) NoteError();
    return true;
  }

  bool SendEnd() {
    avcodec_send_packet(Codec, nullptr);
    InputDone = true;
    return true;
  }

  void NoteError() {
    ++Errors;
    if (++ErrorsInRow > kMaxErrorsInRow) {
      // Too damaged to go on: what was decoded stands, the rest is dropped.
      InputDone = true;
      Ended = true;
    }
  }

  void SetupConverter(const AVFrame* f) {
    AVChannelLayout in{};
    if (f->ch_layout.order == AV_CHANNEL_ORDER_UNSPEC || f->ch_layout.nb_channels <= 0)
      av_channel_layout_default(
          &in, f->ch_layout.nb_channels > 0 ? f->ch_layout.nb_channels : Info.SourceChannels);
    else
      av_channel_layout_copy(&in, &f->ch_layout);
    AVChannelLayout out{};
    av_channel_layout_default(&out, Info.Channels);
    swr_free(&Swr);
    int rc = swr_alloc_set_opts2(&Swr, &out, AV_SAMPLE_FMT_FLT, Info.SampleRate, &in,
                                 AVSampleFormat(f->format), f->sample_rate, 0, nullptr);
    av_channel_layout_uninit(&out);
    // Mixing down to stereo adds the centre and surround channels into each side: the whole
    // matrix is scaled so that no sum can pass full scale (float output is not limited otherwise).
    if (rc >= 0) rc = av_opt_set_double(Swr, "rematrix_maxval", 1.0, 0);
    if (rc < 0 || swr_init(Swr) < 0) {
      av_channel_layout_uninit(&in);
      Fail(Damaged(Path));
    }
    av_channel_layout_uninit(&SwrLayout);
    SwrLayout = in;
    SwrRate = f->sample_rate;
    SwrFormat = f->format;
  }

  void Convert(const AVFrame* f) {
    if (f->nb_samples <= 0 || f->sample_rate <= 0) return;
    if (!Swr || f->sample_rate != SwrRate || f->format != SwrFormat ||
        (f->ch_layout.nb_channels != SwrLayout.nb_channels))
      SetupConverter(f);
    int skip = 0, count = f->nb_samples;
    const uint8_t* const* data = f->extended_data;
    const uint8_t* planes[AV_NUM_DATA_POINTERS * 8];
    if (ManualTrim) {
      if (const AVFrameSideData* sd = av_frame_get_side_data(f, AV_FRAME_DATA_SKIP_SAMPLES);
          sd && sd->size >= 4)
        skip = std::min<int>(count, int(AV_RL32(sd->data)));
      count -= skip;
      if (TrimTo >= 0) count = int(std::clamp<int64_t>(TrimTo - Produced, 0, count));
      if (count <= 0) return;
      if (skip > 0) {
        const int channels = f->ch_layout.nb_channels;
        const int bytes = av_get_bytes_per_sample(AVSampleFormat(f->format));
        const bool planar = av_sample_fmt_is_planar(AVSampleFormat(f->format));
        const int n = planar ? channels : 1;
        if (n > int(sizeof planes / sizeof planes[0])) return;
        for (int c = 0; c < n; ++c)
          planes[c] = f->extended_data[c] + size_t(skip) * bytes * (planar ? 1 : channels);
        data = planes;
      }
    }
    const int maxOut = swr_get_out_samples(Swr, count);
    if (maxOut <= 0) return;
    Append(maxOut, [&](uint8_t** out, int room) {
      return swr_convert(Swr, out, room, (const uint8_t**)data, count);
    });
  }

  template <class F>
  void Append(int room, F&& convert) {
    if (PendingPos > 0 && PendingPos == Pending.size()) {
      Pending.clear();
      PendingPos = 0;
    }
    const size_t old = Pending.size();
    Pending.resize(old + size_t(room) * Info.Channels);
    uint8_t* out[1] = {reinterpret_cast<uint8_t*>(Pending.data() + old)};
    const int got = convert(out, room);
    if (got < 0) {
      Pending.resize(old);
      Fail(Damaged(Path));
    }
    Pending.resize(old + size_t(got) * Info.Channels);
    DspMakeFinite(Pending.data() + old, size_t(got) * Info.Channels);
    Produced += got;
  }

  // Decodes until some frames are pending or the file has ended.
  void Fill() {
    while (PendingPos == Pending.size() && !Ended) {
      const int rc = avcodec_receive_frame(Codec, Frame);
      if (rc == 0) {
        ErrorsInRow = 0;
        Convert(Frame);
        av_frame_unref(Frame);
      } else if (rc == AVERROR(EAGAIN)) {
        if (!Feed()) Finish();
      } else if (rc == AVERROR_EOF) {
        Finish();
      } else {
        NoteError();
        if (InputDone && !Ended) Finish();
      }
    }
  }

  void Finish() {
    if (Swr && !Ended) {
      const int rest = swr_get_out_samples(Swr, 0);
      if (rest > 0)
        Append(rest,
               [&](uint8_t** out, int room) { return swr_convert(Swr, out, room, nullptr, 0); });
    }
    Ended = true;
  }

  size_t Read(std::vector<float>& out, size_t maxFrames) {
    size_t frames = 0;
    const int ch = Info.Channels;
    while (frames < maxFrames) {
      Fill();
      const size_t avail = (Pending.size() - PendingPos) / ch;
      if (avail == 0) break;
      const size_t take = std::min(avail, maxFrames - frames);
      out.insert(out.end(), Pending.begin() + PendingPos, Pending.begin() + PendingPos + take * ch);
      PendingPos += take * ch;
      frames += take;
    }
    Delivered += frames;
    return frames;
  }
};

TAudioDecoder::TAudioDecoder(const std::string& path) : F(std::make_unique<TImpl>()) {
  F->Open(path);
}

TAudioDecoder::~TAudioDecoder() = default;

const TAudioStreamInfo& TAudioDecoder::Info() const { return F->Info; }
const AudioTags& TAudioDecoder::Tags() const { return F->Tags; }
const std::string& TAudioDecoder::Path() const { return F->Path; }
int64_t TAudioDecoder::Position() const { return F->Delivered; }

bool TAudioDecoder::AtEnd() const {
  F->Fill();
  return F->Ended && F->PendingPos == F->Pending.size();
}

size_t TAudioDecoder::Read(std::vector<float>& out, size_t maxFrames) {
  return F->Read(out, maxFrames);
}

std::vector<float> TAudioDecoder::ReadAll() {
  std::vector<float> out;
  if (F->Info.LengthFrames > F->Delivered && !F->Info.LengthDoubtful)
    out.reserve(size_t(F->Info.LengthFrames - F->Delivered + 4096) * F->Info.Channels);
  while (Read(out, 1 << 20) > 0) {
  }
  return out;
}

TAudioStreamInfo DecodeAudioFile(const std::string& path, std::vector<float>& samples,
                                 AudioTags* tags) {
  TAudioDecoder decoder(path);
  if (tags) *tags = decoder.Tags();
  std::vector<float> all = decoder.ReadAll();
  if (samples.empty())
    samples = std::move(all);
  else
    samples.insert(samples.end(), all.begin(), all.end());
  return decoder.Info();
}

namespace {

const std::vector<std::string>& GenreTable() {
  static const std::vector<std::string> table = [] {
    std::vector<std::string> names;
    id3tag_genre_list(
        [](int index, const char* name, void* cookie) {
          auto& v = *static_cast<std::vector<std::string>*>(cookie);
          if (index >= 0) {
            if (size_t(index) >= v.size()) v.resize(size_t(index) + 1);
            v[size_t(index)] = name;
          }
        },
        &names);
    return names;
  }();
  return table;
}

}  // namespace

std::string AudioGenreName(int index) {
  const auto& table = GenreTable();
  if (index < 0 || index > 147 || size_t(index) >= table.size()) return {};
  return table[size_t(index)];
}

int AudioGenreIndex(const std::string& name) {
  std::string s = name;
  while (!s.empty() && std::isspace((unsigned char)s.back())) s.pop_back();
  size_t start = 0;
  while (start < s.size() && std::isspace((unsigned char)s[start])) ++start;
  s = s.substr(start);
  if (s.empty()) return -1;
  std::string digits = s;
  if (digits.size() > 2 && digits.front() == '(' && digits.back() == ')')
    digits = digits.substr(1, digits.size() - 2);
  if (!digits.empty() && digits.size() <= 3 &&
      std::all_of(digits.begin(), digits.end(),
                  [](char c) { return std::isdigit((unsigned char)c); })) {
    const int n = std::stoi(digits);
    return n <= 147 ? n : -1;
  }
  const auto& table = GenreTable();
  for (size_t i = 0; i < table.size() && i <= 147; ++i)
    if (SameText(table[i], s)) return int(i);
  return -1;
}
