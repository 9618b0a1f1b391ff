#include "audio/Mp3Encoder.h"

#include <lame/lame.h>

#include <algorithm>

#include "audio/AudioFileError.h"

namespace {

bool IsAscii(const std::string& s) {
  return std::all_of(s.begin(), s.end(), [](char c) { return (unsigned char)c < 0x80; });
}

// UTF-16 with a byte-order mark and a terminating zero, as LAME's Unicode tag setters take it.
std::vector<unsigned short> Utf16(const std::string& s) {
  std::vector<unsigned short> out{0xFEFF};
  for (size_t i = 0; i < s.size();) {
    unsigned c = (unsigned char)s[i];
    unsigned cp;
    int extra;
    if (c < 0x80)
      cp = c, extra = 0;
    else if ((c >> 5) == 6)
      cp = c & 0x1F, extra = 1;
    else if ((c >> 4) == 14)
      cp = c & 0x0F, extra = 2;
    else if ((c >> 3) == 30)
      cp = c & 0x07, extra = 3;
    else
      cp = 0xFFFD, extra = 0;
    ++i;
    for (int k = 0; k < extra && i < s.size(); ++k, ++i)
      cp = (cp << 6) | ((unsigned char)s[i] & 0x3F);
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<unsigned short>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<unsigned short>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<unsigned short>(cp));
    }
  }
  out.push_back(0);
  return out;
}

void SetText(lame_t gf, const char* frameId, const std::string& value,
             void (*latin1)(lame_t, const char*)) {
  if (value.empty()) return;
  if (IsAscii(value)) {
    latin1(gf, value.c_str());
  } else {
    const auto text = Utf16(value);
    id3tag_set_textinfo_utf16(gf, frameId, text.data());
  }
}

void SetTags(lame_t gf, const AudioTags& tags) {
  id3tag_init(gf);
  id3tag_add_v2(gf);
  SetText(gf, "TIT2", tags.Title, id3tag_set_title);
  SetText(gf, "TPE1", tags.Artist, id3tag_set_artist);
  SetText(gf, "TALB", tags.Album, id3tag_set_album);
  if (!tags.Comment.empty()) {
    if (IsAscii(tags.Comment)) {
      id3tag_set_comment(gf, tags.Comment.c_str());
    } else {
      const auto desc = Utf16("");
      const auto text = Utf16(tags.Comment);
      id3tag_set_comment_utf16(gf, "eng", desc.data(), text.data());
    }
  }
  if (tags.Year > 0) id3tag_set_year(gf, std::to_string(tags.Year).c_str());
  if (tags.GenreIndex >= 0 && tags.GenreIndex <= 147)
    id3tag_set_genre(gf, std::to_string(tags.GenreIndex).c_str());
}

MPEG_mode LameMode(TMp3ChannelMode m) {
  switch (m) {
    case TMp3ChannelMode::Stereo:
      return STEREO;
    case TMp3ChannelMode::JointStereo:
      return JOINT_STEREO;
    case TMp3ChannelMode::DualChannel:
      return DUAL_CHANNEL;
    case TMp3ChannelMode::Mono:
      return MONO;
  }
  return JOINT_STEREO;
}

}  // namespace

TMp3Encoder::TMp3Encoder(const TMp3Params& p, const std::string& path, const std::string& shownName,
                         const AudioTags& tags)
    : FFile(path, shownName), FShown(shownName) {
  FSampleRate = p.SampleRate;
  FChannels = p.Channels;
  FLame = lame_init();
  if (!FLame) RaiseWriteError(shownName, "the MP3 encoder could not start");
  lame_set_in_samplerate(FLame, p.SampleRate);
  lame_set_out_samplerate(FLame, p.SampleRate);
  lame_set_num_channels(FLame, p.Channels);
  lame_set_mode(FLame, LameMode(p.Mode));
  switch (p.Control) {
    case TMp3RateControl::Cbr:
      lame_set_VBR(FLame, vbr_off);
      lame_set_brate(FLame, p.Kbps);
      break;
    case TMp3RateControl::Vbr:
      lame_set_VBR(FLame, vbr_default);
      lame_set_VBR_q(FLame, p.VbrLevel);
      break;
    case TMp3RateControl::Abr:
      lame_set_VBR(FLame, vbr_abr);
      lame_set_VBR_mean_bitrate_kbps(FLame, p.Kbps);
      break;
  }
  if (p.Control != TMp3RateControl::Cbr) {
    if (p.MinKbps > 0) lame_set_VBR_min_bitrate_kbps(FLame, p.MinKbps);
    if (p.MaxKbps > 0) lame_set_VBR_max_bitrate_kbps(FLame, p.MaxKbps);
  }
  FXing = p.Xing;
  lame_set_bWriteVbrTag(FLame, p.Xing ? 1 : 0);
  lame_set_error_protection(FLame, p.Crc ? 1 : 0);
  lame_set_write_id3tag_automatic(FLame, 0);
  if (!AudioTagsEmpty(tags)) SetTags(FLame, tags);
  if (lame_init_params(FLame) < 0)
    throw EAudioFileError(
        Format("The MP3 encoder refuses %d Hz, %d channel(s) at %d kbps for \"%s\".",
               {p.SampleRate, p.Channels, p.Kbps, shownName}));
  FBuffer.resize(1 << 16);
  if (!AudioTagsEmpty(tags)) {
    const size_t n = lame_get_id3v2_tag(FLame, FBuffer.data(), FBuffer.size());
    if (n > FBuffer.size()) {
      FBuffer.resize(n);
      lame_get_id3v2_tag(FLame, FBuffer.data(), FBuffer.size());
    }
    FFile.Write(FBuffer.data(), n);
  }
  FFramesStart = FFile.Tell();
}

TMp3Encoder::~TMp3Encoder() {
  if (FLame) lame_close(FLame);
}

void TMp3Encoder::Drain(int bytes) {
  if (bytes < 0) RaiseWriteError(FShown, Format("the MP3 encoder failed (%d)", {bytes}));
  FFile.Write(FBuffer.data(), size_t(bytes));
}

void TMp3Encoder::Write(const float* frames, size_t count) {
  constexpr size_t kChunk = 8192;
  const size_t need = kChunk * 5 / 4 + 7200;
  if (FBuffer.size() < need) FBuffer.resize(need);
  while (count > 0) {
    const size_t n = std::min(count, kChunk);
    int bytes;
    if (FChannels == 2)
      bytes = lame_encode_buffer_interleaved_ieee_float(FLame, frames, int(n), FBuffer.data(),
                                                        int(FBuffer.size()));
    else
      bytes = lame_encode_buffer_ieee_float(FLame, frames, frames, int(n), FBuffer.data(),
                                            int(FBuffer.size()));
    Drain(bytes);
    FWrote = true;
    frames += n * FChannels;
    count -= n;
  }
}

void TMp3Encoder::Finish() {
  if (FFinished) return;
  FFinished = true;
  if (FBuffer.size() < 7200) FBuffer.resize(7200);
  if (!FWrote) {
    // A stream needs one frame to be a valid file: an empty sound is saved as one silent sample.
    const float silence[2] = {0, 0};
    Write(silence, 1);
  }
  Drain(lame_encode_flush(FLame, FBuffer.data(), int(FBuffer.size())));
  const size_t v1 = lame_get_id3v1_tag(FLame, FBuffer.data(), FBuffer.size());
  if (v1 > 0 && v1 <= FBuffer.size()) FFile.Write(FBuffer.data(), v1);
  if (FXing) {
    const size_t n = lame_get_lametag_frame(FLame, FBuffer.data(), FBuffer.size());
    if (n > 0 && n <= FBuffer.size()) {
      FFile.Seek(FFramesStart);
      FFile.Write(FBuffer.data(), n);
    }
  }
  FFile.Close();
}
