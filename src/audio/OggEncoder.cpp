#include "audio/OggEncoder.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <random>

#include "audio/AudioFileError.h"

struct TOggEncoder::TState {
  ogg_stream_state Stream{};
  ogg_page Page{};
  ogg_packet Packet{};
  vorbis_info Info{};
  vorbis_comment Comment{};
  vorbis_dsp_state Dsp{};
  vorbis_block Block{};
  bool InfoReady = false, DspReady = false, StreamReady = false;
  ~TState() {
    if (StreamReady) ogg_stream_clear(&Stream);
    if (DspReady) {
      vorbis_block_clear(&Block);
      vorbis_dsp_clear(&Dsp);
    }
    vorbis_comment_clear(&Comment);
    if (InfoReady) vorbis_info_clear(&Info);
  }
};

TOggEncoder::TOggEncoder(const TOutputFormat& f, const std::string& path,
                         const std::string& shownName, const AudioTags& tags)
    : S(std::make_unique<TState>()), FFile(path, shownName) {
  FSampleRate = f.OggSampleRate;
  FChannels = f.OggChannels;
  vorbis_info_init(&S->Info);
  S->InfoReady = true;
  vorbis_comment_init(&S->Comment);
  // Only mono and stereo: more channels would need their order mapped to the Vorbis layouts.
  int rc = -1;
  if (f.OggChannels < 1 || f.OggChannels > 2) {
  } else if (f.OggKbps > 0) {
    rc = vorbis_encode_init(&S->Info, f.OggChannels, f.OggSampleRate, -1, long(f.OggKbps) * 1000,
                            -1);
  } else {
    const float q = std::clamp(f.OggQuality / 1000.0f, -0.1f, 1.0f);
    rc = vorbis_encode_init_vbr(&S->Info, f.OggChannels, f.OggSampleRate, q);
  }
  if (rc != 0) {
    throw EAudioFileError(
        f.OggKbps > 0
            ? Format("The OGG encoder refuses %d Hz, %d channel(s) at %d kbps for \"%s\".",
                     {f.OggSampleRate, f.OggChannels, f.OggKbps, shownName})
            : Format("The OGG encoder refuses %d Hz, %d channel(s) for \"%s\".",
                     {f.OggSampleRate, f.OggChannels, shownName}));
  }
  auto add = [&](const char* key, const std::string& v) {
    if (!v.empty()) vorbis_comment_add_tag(&S->Comment, key, v.c_str());
  };
  add("TITLE", tags.Title);
  add("ARTIST", tags.Artist);
  add("ALBUM", tags.Album);
  add("COMMENT", tags.Comment);
  if (tags.Year > 0) add("DATE", std::to_string(tags.Year));
  add("GENRE", AudioGenreName(tags.GenreIndex));

  vorbis_analysis_init(&S->Dsp, &S->Info);
  vorbis_block_init(&S->Dsp, &S->Block);
  S->DspReady = true;
  std::random_device rd;
  ogg_stream_init(&S->Stream, int(rd() & 0x7FFFFFFF));
  S->StreamReady = true;

  ogg_packet header, comm, code;
  vorbis_analysis_headerout(&S->Dsp, &S->Comment, &header, &comm, &code);
  ogg_stream_packetin(&S->Stream, &header);
  ogg_stream_packetin(&S->Stream, &comm);
  ogg_stream_packetin(&S->Stream, &code);
  // The audio starts on a fresh page, as decoders expect.
  while (ogg_stream_flush(&S->Stream, &S->Page) != 0) {
    FFile.Write(S->Page.header, size_t(S->Page.header_len));
    FFile.Write(S->Page.body, size_t(S->Page.body_len));
  }
}

TOggEncoder::~TOggEncoder() = default;

void TOggEncoder::Pump(bool flushPages) {
  while (vorbis_analysis_blockout(&S->Dsp, &S->Block) == 1) {
    vorbis_analysis(&S->Block, nullptr);
    vorbis_bitrate_addblock(&S->Block);
    while (vorbis_bitrate_flushpacket(&S->Dsp, &S->Packet)) {
      ogg_stream_packetin(&S->Stream, &S->Packet);
      while (ogg_stream_pageout(&S->Stream, &S->Page) != 0) {
        FFile.Write(S->Page.header, size_t(S->Page.header_len));
        FFile.Write(S->Page.body, size_t(S->Page.body_len));
      }
    }
  }
  if (flushPages) {
    while (ogg_stream_flush(&S->Stream, &S->Page) != 0) {
      FFile.Write(S->Page.header, size_t(S->Page.header_len));
      FFile.Write(S->Page.body, size_t(S->Page.body_len));
    }
  }
}

void TOggEncoder::Encode(const float* frames, size_t count) {
  constexpr size_t kChunk = 4096;
  while (count > 0) {
    const size_t n = std::min(count, kChunk);
    float** buf = vorbis_analysis_buffer(&S->Dsp, int(n));
    if (FChannels == 2) {
      float* l = buf[0];
      float* r = buf[1];
      for (size_t i = 0; i < n; ++i) {
        l[i] = frames[2 * i];
        r[i] = frames[2 * i + 1];
      }
    } else {
      std::copy(frames, frames + n, buf[0]);
    }
    vorbis_analysis_wrote(&S->Dsp, int(n));
    Pump(false);
    frames += n * FChannels;
    count -= n;
  }
}

void TOggEncoder::Finish() {
  if (FFinished) return;
  FFinished = true;
  vorbis_analysis_wrote(&S->Dsp, 0);
  Pump(true);
  FFile.Close();
}
