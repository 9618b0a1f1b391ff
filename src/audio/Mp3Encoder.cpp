#include "audio/Mp3Encoder.h"

#include <lame/lame.h>

#include <algorithm>
#include <array>
#include <cstring>

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

// CRC-16 of the polynomial 0x8005, bits reversed, from 0: the one the Info frame's checksums use.
uint16_t Crc16(uint16_t crc, const unsigned char* p, size_t n) {
  static const auto table = [] {
    std::array<uint16_t, 256> t{};
    for (unsigned i = 0; i < 256; ++i) {
      unsigned c = i;
      for (int b = 0; b < 8; ++b) c = c & 1 ? (c >> 1) ^ 0xA001u : c >> 1;
      t[i] = uint16_t(c);
    }
    return t;
  }();
  for (size_t i = 0; i < n; ++i) crc = uint16_t((crc >> 8) ^ table[(crc ^ p[i]) & 0xFF]);
  return crc;
}

// Where a sample rate sits in the MPEG audio frame header.
struct TMpegRate {
  int VersionBits;  // 3 MPEG 1, 2 MPEG 2, 0 MPEG 2.5
  int RateIndex;
};

TMpegRate MpegRate(int rate) {
  switch (rate) {
    case 44100: return {3, 0};
    case 48000: return {3, 1};
    case 32000: return {3, 2};
    case 22050: return {2, 0};
    case 24000: return {2, 1};
    case 16000: return {2, 2};
    case 11025: return {0, 0};
    case 12000: return {0, 1};
    default: return {0, 2};  // 8000
  }
}

constexpr int kLayer3Kbps[2][15] = {
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320},  // MPEG 1
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160},      // MPEG 2 and 2.5
};

// Bytes of side information after the frame header (all zero in the Info frame: no sound).
int SideInfoBytes(bool lsf, bool mono) { return lsf ? (mono ? 9 : 17) : (mono ? 17 : 32); }

// "Info", flags, frame and byte counts, the seek table and a quality word; then the encoder's
// 36 bytes (version, delay and padding, lengths, checksums).
constexpr size_t kInfoBytes = 4 + 4 + 4 + 4 + 100 + 4 + 36;

void PutBe(unsigned char*& p, uint32_t v, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) *p++ = (unsigned char)(v >> (8 * i));
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
  FParams = p;
  if (p.Xing && p.Control == TMp3RateControl::Cbr) {
    // The frame that holds the Info header: the stream's own bit rate when it is big enough.
    const bool lsf = MpegRate(p.SampleRate).VersionBits != 3;
    const size_t need = 4 + size_t(SideInfoBytes(lsf, p.Channels == 1)) + kInfoBytes;
    for (int i = 1; i < 15 && !FInfoBitrateIndex; ++i) {
      const int kbps = kLayer3Kbps[lsf][i];
      const size_t bytes = size_t((lsf ? 72000 : 144000) * kbps / p.SampleRate);
      if ((kbps >= p.Kbps || i == 14) && bytes >= need) {
        FInfoBitrateIndex = i;
        FInfoSize = bytes;
      }
    }
    FOwnInfo = FInfoBitrateIndex > 0;
  }
  lame_set_bWriteVbrTag(FLame, p.Xing && !FOwnInfo ? 1 : 0);
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
  if (FOwnInfo) {
    const std::vector<unsigned char> placeholder(FInfoSize, 0);
    FFile.Write(placeholder.data(), placeholder.size());
  }
}

TMp3Encoder::~TMp3Encoder() {
  if (FLame) lame_close(FLame);
}

void TMp3Encoder::Drain(int bytes) {
  if (bytes < 0) RaiseWriteError(FShown, Format("the MP3 encoder failed (%d)", {bytes}));
  if (FOwnInfo) FMusicCrc = Crc16(FMusicCrc, FBuffer.data(), size_t(bytes));
  FFile.Write(FBuffer.data(), size_t(bytes));
}

void TMp3Encoder::Encode(const float* frames, size_t count) {
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
  const int64_t audioEnd = FFile.Tell();
  const size_t v1 = lame_get_id3v1_tag(FLame, FBuffer.data(), FBuffer.size());
  if (v1 > 0 && v1 <= FBuffer.size()) FFile.Write(FBuffer.data(), v1);
  if (FOwnInfo) {
    WriteInfoFrame(audioEnd);
  } else if (FXing) {
    const size_t n = lame_get_lametag_frame(FLame, FBuffer.data(), FBuffer.size());
    if (n > 0 && n <= FBuffer.size()) {
      FFile.Seek(FFramesStart);
      FFile.Write(FBuffer.data(), n);
    }
  }
  FFile.Close();
}

// A silent frame whose side information is followed by the Info header, in the layout decoders
// read for the encoder delay and padding: with them a decoder gives back exactly the frames that
// were encoded.
void TMp3Encoder::WriteInfoFrame(int64_t audioEnd) {
  const int64_t fileEnd = FFile.Tell();
  const TMpegRate r = MpegRate(FParams.SampleRate);
  const bool lsf = r.VersionBits != 3, mono = FParams.Channels == 1;
  int mode = 1;
  switch (FParams.Mode) {
    case TMp3ChannelMode::Stereo: mode = 0; break;
    case TMp3ChannelMode::JointStereo: mode = 1; break;
    case TMp3ChannelMode::DualChannel: mode = 2; break;
    case TMp3ChannelMode::Mono: mode = 3; break;
  }
  std::vector<unsigned char> f(FInfoSize, 0);
  f[0] = 0xFF;
  f[1] = (unsigned char)(0xE0 | r.VersionBits << 3 | 1 << 1 | 1);  // layer III, no CRC
  f[2] = (unsigned char)(FInfoBitrateIndex << 4 | r.RateIndex << 2);
  f[3] = (unsigned char)(mode << 6);
  unsigned char* p = f.data() + 4 + SideInfoBytes(lsf, mono);
  const uint32_t musicBytes = uint32_t(std::min<int64_t>(audioEnd - FFramesStart, UINT32_MAX));
  std::memcpy(p, "Info", 4), p += 4;
  PutBe(p, 0x0F, 4);  // frames, bytes, seek table, quality
  PutBe(p, uint32_t(lame_get_frameNum(FLame)), 4);
  PutBe(p, uint32_t(std::min<int64_t>(fileEnd - FFramesStart, UINT32_MAX)), 4);
  for (int i = 0; i < 100; ++i) *p++ = (unsigned char)(i * 256 / 100);  // constant rate: linear
  PutBe(p, 0, 4);
  const std::string version = std::string("LAME") + get_lame_short_version();
  for (size_t i = 0; i < 9; ++i) *p++ = i < version.size() ? (unsigned char)version[i] : ' ';
  *p++ = 0x01;  // revision 0, constant bit rate
  *p++ = (unsigned char)std::clamp(lame_get_lowpassfreq(FLame) / 100, 0, 255);
  p += 4 + 2 + 2 + 1;  // peak, two replay gains, flags: none
  *p++ = (unsigned char)std::min(FParams.Kbps, 255);
  const uint32_t delay = uint32_t(std::clamp(lame_get_encoder_delay(FLame), 0, 4095));
  const uint32_t padding = uint32_t(std::clamp(lame_get_encoder_padding(FLame), 0, 4095));
  PutBe(p, delay << 12 | padding, 3);
  p += 1 + 1 + 2;  // misc, gain, preset
  PutBe(p, musicBytes, 4);
  PutBe(p, FMusicCrc, 2);
  PutBe(p, Crc16(0, f.data(), size_t(p - f.data())), 2);
  FFile.Seek(FFramesStart);
  FFile.Write(f.data(), f.size());
}
