#include "audio/WmaEncoder.h"

#include <algorithm>
#include <cstring>

#include "audio/AudioFileError.h"
#include "audio/SafeFileSave.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/error.h>
}

namespace {

std::string AvError(int rc) {
  char text[AV_ERROR_MAX_STRING_SIZE] = {};
  av_strerror(rc, text, sizeof text);
  return text;
}

}  // namespace

struct TWmaEncoder::TState {
  AVFormatContext* Format = nullptr;
  AVStream* Stream = nullptr;
  AVCodecContext* Codec = nullptr;
  AVFrame* Frame = nullptr;
  AVPacket* Packet = nullptr;
  std::vector<float> Planes[2];  // samples waiting for a full codec frame, per channel
  size_t Head = 0;               // samples of Planes already sent
  int64_t Pts = 0;
  bool HeaderWritten = false;
  ~TState() {
    av_frame_free(&Frame);
    av_packet_free(&Packet);
    avcodec_free_context(&Codec);
    if (Format) {
      if (Format->pb) avio_closep(&Format->pb);
      avformat_free_context(Format);
    }
  }
};

TWmaEncoder::TWmaEncoder(const TWmaProfile& profile, const std::string& path,
                         const std::string& shownName, const AudioTags& tags)
    : S(std::make_unique<TState>()), FShown(shownName) {
  FSampleRate = profile.SampleRate;
  FChannels = profile.Channels;
  auto fail = [&](int rc) { RaiseWriteError(shownName, "the WMA encoder failed: " + AvError(rc)); };
  int rc = avformat_alloc_output_context2(&S->Format, nullptr, "asf", nullptr);
  if (rc < 0) fail(rc);
  const AVCodec* codec = avcodec_find_encoder(AV_CODEC_ID_WMAV2);
  if (!codec) RaiseWriteError(shownName, "no WMA encoder is available");
  S->Stream = avformat_new_stream(S->Format, nullptr);
  S->Codec = avcodec_alloc_context3(codec);
  S->Codec->sample_fmt = AV_SAMPLE_FMT_FLTP;
  S->Codec->sample_rate = profile.SampleRate;
  av_channel_layout_default(&S->Codec->ch_layout, profile.Channels);
  S->Codec->bit_rate = int64_t(std::max(profile.Kbps, kWmaMinKbps)) * 1000;
  S->Codec->time_base = AVRational{1, profile.SampleRate};
  if (S->Format->oformat->flags & AVFMT_GLOBALHEADER)
    S->Codec->flags |= AV_CODEC_FLAG_GLOBAL_HEADER;
  rc = avcodec_open2(S->Codec, codec, nullptr);
  if (rc < 0) fail(rc);
  rc = avcodec_parameters_from_context(S->Stream->codecpar, S->Codec);
  if (rc < 0) fail(rc);
  S->Stream->time_base = S->Codec->time_base;

  auto meta = [&](const char* key, const std::string& v) {
    if (!v.empty()) av_dict_set(&S->Format->metadata, key, v.c_str(), 0);
  };
  meta("title", tags.Title);
  meta("author", tags.Artist);
  meta("album", tags.Album);
  meta("comment", tags.Comment);
  if (tags.Year > 0) meta("year", std::to_string(tags.Year));
  meta("genre", AudioGenreName(tags.GenreIndex));

  const std::string url = "file:" + path;
  rc = avio_open(&S->Format->pb, url.c_str(), AVIO_FLAG_WRITE);
  if (rc < 0) RaiseWriteError(shownName, AvError(rc));
  rc = avformat_write_header(S->Format, nullptr);
  if (rc < 0) fail(rc);
  S->HeaderWritten = true;
  S->Frame = av_frame_alloc();
  S->Packet = av_packet_alloc();
  // Decoders give nothing for the first frame of a WMA stream: one frame of silence goes first
  // so that the sound starts where it should.
  for (int c = 0; c < FChannels; ++c) S->Planes[c].assign(size_t(S->Codec->frame_size), 0.0f);
}

TWmaEncoder::~TWmaEncoder() = default;

void TWmaEncoder::Drain() {
  for (;;) {
    int rc = avcodec_receive_packet(S->Codec, S->Packet);
    if (rc == AVERROR(EAGAIN) || rc == AVERROR_EOF) return;
    if (rc < 0) RaiseWriteError(FShown, "the WMA encoder failed: " + AvError(rc));
    av_packet_rescale_ts(S->Packet, S->Codec->time_base, S->Stream->time_base);
    S->Packet->stream_index = S->Stream->index;
    rc = av_interleaved_write_frame(S->Format, S->Packet);
    if (rc < 0) RaiseWriteError(FShown, AvError(rc));
    if (S->Format->pb->error < 0) RaiseWriteError(FShown, AvError(S->Format->pb->error));
  }
}

void TWmaEncoder::SendFrame(bool last) {
  const int size = S->Codec->frame_size;
  const int have = int(S->Planes[0].size() - S->Head);
  if (have == 0) return;
  // The encoder takes whole frames only: the last one is padded with silence.
  const int n = last ? size : std::min(have, size);
  av_frame_unref(S->Frame);
  S->Frame->nb_samples = n;
  S->Frame->format = S->Codec->sample_fmt;
  S->Frame->sample_rate = S->Codec->sample_rate;
  av_channel_layout_copy(&S->Frame->ch_layout, &S->Codec->ch_layout);
  if (av_frame_get_buffer(S->Frame, 0) < 0) RaiseWriteError(FShown, "out of memory");
  const int take = std::min(have, n);
  for (int c = 0; c < FChannels; ++c) {
    auto* dst = reinterpret_cast<float*>(S->Frame->extended_data[c]);
    std::memcpy(dst, S->Planes[c].data() + S->Head, size_t(take) * sizeof(float));
    std::fill(dst + take, dst + n, 0.0f);
  }
  S->Head += size_t(take);
  S->Frame->pts = S->Pts;
  S->Pts += n;
  const int rc = avcodec_send_frame(S->Codec, S->Frame);
  if (rc < 0) RaiseWriteError(FShown, "the WMA encoder failed: " + AvError(rc));
  Drain();
}

void TWmaEncoder::Encode(const float* frames, size_t count) {
  const int size = S->Codec->frame_size;
  for (int c = 0; c < FChannels; ++c) {
    auto& plane = S->Planes[c];
    const size_t old = plane.size();
    plane.resize(old + count);
    for (size_t i = 0; i < count; ++i) plane[old + i] = frames[i * FChannels + c];
  }
  while (S->Planes[0].size() - S->Head >= size_t(size)) SendFrame(false);
  for (int c = 0; c < FChannels; ++c)
    S->Planes[c].erase(S->Planes[c].begin(), S->Planes[c].begin() + std::ptrdiff_t(S->Head));
  S->Head = 0;
}

void TWmaEncoder::Finish() {
  if (FFinished) return;
  FFinished = true;
  SendFrame(true);
  int rc = avcodec_send_frame(S->Codec, nullptr);
  if (rc < 0 && rc != AVERROR_EOF) RaiseWriteError(FShown, AvError(rc));
  Drain();
  rc = av_write_trailer(S->Format);
  if (rc < 0) RaiseWriteError(FShown, AvError(rc));
  avio_flush(S->Format->pb);
  if (S->Format->pb->error < 0) RaiseWriteError(FShown, AvError(S->Format->pb->error));
  rc = avio_closep(&S->Format->pb);
  if (rc < 0) RaiseWriteError(FShown, AvError(rc));
}
