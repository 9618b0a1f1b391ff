#include "audio/WavFile.h"

#include <emmintrin.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

#include "audio/DspKernels.h"
#include "platform/rtl/SysUtils.h"

namespace {
uint32_t Le32(const unsigned char* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Le16(const unsigned char* p) { return uint16_t(p[0] | p[1] << 8); }
void Put32(unsigned char* p, uint32_t v) {
  for (int i = 0; i < 4; ++i) p[i] = (unsigned char)(v >> (8 * i));
}
void Put16(unsigned char* p, uint16_t v) {
  p[0] = (unsigned char)v;
  p[1] = (unsigned char)(v >> 8);
}

constexpr uint16_t kPcm = 1, kFloat = 3, kExtensible = 0xFFFE;
constexpr int64_t kMaxFrames = 2147483647;
}  // namespace

// Whether the bytes from `pos` to the end of the file are a run of chunks, each with a printable
// name and a size that ends within the file, the last one at its end.
static bool OnlyChunksFollow(std::FILE* f, int64_t pos, int64_t fileSize) {
  if (pos >= fileSize) return true;
  while (pos + 8 <= fileSize) {
    unsigned char ch[8];
    if (std::fseek(f, long(pos), SEEK_SET) != 0 || std::fread(ch, 1, 8, f) != 8) return false;
    for (int i = 0; i < 4; ++i)
      if (ch[i] < 0x20 || ch[i] > 0x7E) return false;
    const int64_t size = Le32(ch + 4);
    pos += 8 + size;
    if (pos > fileSize) return false;
    if (pos == fileSize || (pos + 1 == fileSize && (size & 1))) return true;
    pos += size & 1;
  }
  return false;
}

bool WavReader::LooksLikeWav(const std::string& path) {
  std::FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return false;
  unsigned char h[12];
  bool ok = std::fread(h, 1, 12, f) == 12 && std::memcmp(h, "RIFF", 4) == 0 &&
            std::memcmp(h + 8, "WAVE", 4) == 0;
  std::fclose(f);
  return ok;
}

WavReader::WavReader(const std::string& path) : FPath(path) {
  FFile = std::fopen(path.c_str(), "rb");
  if (!FFile)
    throw EFOpenError(Format("Cannot open file \"%s\". %s", {path, std::strerror(errno)}));
  auto fail = [&](const std::string& why) {
    std::fclose(FFile);
    FFile = nullptr;
    throw EReadError(Format("\"%s\" is not a usable WAV file: %s", {path, why}));
  };
  std::fseek(FFile, 0, SEEK_END);
  const int64_t fileSize = std::ftell(FFile);
  std::fseek(FFile, 0, SEEK_SET);
  unsigned char h[12];
  if (std::fread(h, 1, 12, FFile) != 12 || std::memcmp(h, "RIFF", 4) != 0 ||
      std::memcmp(h + 8, "WAVE", 4) != 0)
    fail("no RIFF WAVE header");
  bool haveFormat = false;
  uint16_t tag = 0;
  int64_t dataSize = -1;
  int64_t pos = 12;
  while (pos + 8 <= fileSize) {
    unsigned char ch[8];
    std::fseek(FFile, long(pos), SEEK_SET);
    if (std::fread(ch, 1, 8, FFile) != 8) break;
    const int64_t size = Le32(ch + 4);
    if (std::memcmp(ch, "fmt ", 4) == 0) {
      if (size < 16) fail("format chunk too short");
      unsigned char f[40] = {};
      if (std::fread(f, 1, size_t(std::min<int64_t>(size, 40)), FFile) == 0) fail("truncated");
      tag = Le16(f);
      FInfo.Channels = Le16(f + 2);
      FInfo.SampleRate = int(Le32(f + 4));
      FInfo.Bits = Le16(f + 14);
      FBytesPerFrame = Le16(f + 12);
      if (tag == kExtensible && size >= 40) tag = Le16(f + 24);  // sub-format GUID's first bytes
      haveFormat = true;
    } else if (std::memcmp(ch, "data", 4) == 0) {
      FDataOffset = pos + 8;
      // Streams written without knowing their size leave 0 or 0xFFFFFFFF: take the rest. A 0
      // followed by nothing but well-formed chunks (tags written after the sound) is an empty
      // sound, though.
      dataSize = size;
      const int64_t rest = fileSize - FDataOffset;
      if ((size == 0 && !OnlyChunksFollow(FFile, FDataOffset, fileSize)) || size == 0xFFFFFFFF ||
          size > rest)
        dataSize = rest;
      // Writers that know no larger files let the size of a sound over 4 GB wrap around; a
      // file longer by whole multiples of 4 GB (and a pad byte) holds that much more sound.
      else if (rest - size >= (int64_t(1) << 32) && (rest - size) % (int64_t(1) << 32) <= 1)
        dataSize = rest - (rest - size) % (int64_t(1) << 32);
      break;
    }
    pos += 8 + size + (size & 1);
  }
  if (!haveFormat) fail("no format chunk");
  if (dataSize < 0) fail("no data chunk");
  if (FInfo.Channels <= 0 || FInfo.SampleRate <= 0) fail("invalid format");
  if (tag == kFloat && (FInfo.Bits == 32 || FInfo.Bits == 64))
    FInfo.Float = true;
  else if (tag != kPcm ||
           !(FInfo.Bits == 8 || FInfo.Bits == 16 || FInfo.Bits == 24 || FInfo.Bits == 32))
    fail(Format("unsupported encoding (format %d, %d bits)", {int(tag), FInfo.Bits}));
  const int expected = FInfo.Channels * (FInfo.Bits / 8);
  if (FBytesPerFrame < expected) FBytesPerFrame = expected;
  FInfo.Frames = dataSize / FBytesPerFrame;
  if (FInfo.Frames > kMaxFrames) {
    std::fclose(FFile);
    FFile = nullptr;
    throw EWavTooLong(
        Format("\"%s\" is too long: it holds %d sample frames, more than the %d an editor can hold",
               {path, FInfo.Frames, kMaxFrames}));
  }
  std::fseek(FFile, long(FDataOffset), SEEK_SET);
}

WavReader::~WavReader() {
  if (FFile) std::fclose(FFile);
}

int64_t WavReader::Read(float* values, int64_t maxFrames) {
  const int64_t n = std::min(maxFrames, FInfo.Frames - FPosition);
  if (n <= 0) return 0;
  std::vector<unsigned char> raw(size_t(n) * size_t(FBytesPerFrame));
  const int64_t got = int64_t(std::fread(raw.data(), 1, raw.size(), FFile)) / FBytesPerFrame;
  Convert(raw.data(), got, FInfo, FBytesPerFrame, values);
  FPosition += got;
  if (got < n) FInfo.Frames = FPosition;  // the file was shorter than its header said
  return got;
}

void WavReader::Convert(const unsigned char* raw, int64_t frames, const WavInfo& info,
                        int bytesPerFrame, float* values) {
  const int ch = info.Channels, bytes = info.Bits / 8;
  if (!info.Float && bytes == 2 && bytesPerFrame == 2 * ch) {
    // The common case, eight values at a time.
    const int64_t count = frames * ch;
    const __m128 scale = _mm_set1_ps(1.0f / 32768.0f);
    int64_t i = 0;
    for (; i + 8 <= count; i += 8) {
      const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(raw + 2 * i));
      const __m128i lo = _mm_srai_epi32(_mm_unpacklo_epi16(x, x), 16);
      const __m128i hi = _mm_srai_epi32(_mm_unpackhi_epi16(x, x), 16);
      _mm_storeu_ps(values + i, _mm_mul_ps(_mm_cvtepi32_ps(lo), scale));
      _mm_storeu_ps(values + i + 4, _mm_mul_ps(_mm_cvtepi32_ps(hi), scale));
    }
    for (; i < count; ++i) values[i] = float(int16_t(Le16(raw + 2 * i))) / 32768.0f;
    return;
  }
  for (int64_t f = 0; f < frames; ++f) {
    const unsigned char* p = raw + size_t(f) * size_t(bytesPerFrame);
    float* out = values + f * ch;
    for (int c = 0; c < ch; ++c, p += bytes) {
      float v;
      if (info.Float) {
        if (bytes == 4) {
          uint32_t u = Le32(p);
          std::memcpy(&v, &u, 4);
        } else {
          uint64_t u = uint64_t(Le32(p)) | uint64_t(Le32(p + 4)) << 32;
          double d;
          std::memcpy(&d, &u, 8);
          v = float(d);
        }
      } else {
        switch (bytes) {
          case 1:
            v = float(int(p[0]) - 128) / 128.0f;
            break;
          case 2:
            v = float(int16_t(Le16(p))) / 32768.0f;
            break;
          case 3:
            v = float(int32_t(uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24) >>
                      8) /
                8388608.0f;
            break;
          default:
            v = float(double(int32_t(Le32(p))) / 2147483648.0);
            break;
        }
      }
      out[c] = v;
    }
  }
  if (info.Float) DspMakeFinite(values, size_t(frames) * size_t(ch));
}

WavWriter::WavWriter(const std::string& path, int sampleRate, int channels, int bits,
                     const std::string& shownName)
    : FPath(shownName.empty() ? path : shownName),
      FSampleRate(sampleRate),
      FChannels(channels),
      FBits(bits) {
  if (!(bits == 8 || bits == 16 || bits == 24 || bits == 32))
    throw EArgumentException(Format("WAV files of %d bits are not supported", {bits}));
  if (channels <= 0 || channels > 65535 || sampleRate <= 0)
    throw EArgumentException("Invalid WAV format");
  FFile = std::fopen(path.c_str(), "wb");
  if (!FFile)
    throw EFCreateError(Format("Cannot create file \"%s\". %s", {FPath, std::strerror(errno)}));
  std::setvbuf(FFile, nullptr, _IOFBF, 1 << 20);
  WriteHeader();
}

WavWriter::~WavWriter() {
  if (FFile) {
    try {
      Close();
    } catch (...) {
    }
  }
}

void WavWriter::WriteHeader() {
  const bool isFloat = FBits == 32;
  const uint32_t blockAlign = uint32_t(FChannels * (FBits / 8));
  const uint64_t dataBytes = uint64_t(FFrames) * blockAlign;
  const uint32_t headerBytes = isFloat ? 58 : 44;
  unsigned char h[58] = {};
  std::memcpy(h, "RIFF", 4);
  Put32(h + 4,
        uint32_t(std::min<uint64_t>(headerBytes - 8 + dataBytes + (dataBytes & 1), 0xFFFFFFFFu)));
  std::memcpy(h + 8, "WAVEfmt ", 8);
  Put32(h + 16, isFloat ? 18 : 16);
  Put16(h + 20, isFloat ? kFloat : kPcm);
  Put16(h + 22, uint16_t(FChannels));
  Put32(h + 24, uint32_t(FSampleRate));
  Put32(h + 28, uint32_t(FSampleRate) * blockAlign);
  Put16(h + 32, uint16_t(blockAlign));
  Put16(h + 34, uint16_t(FBits));
  unsigned char* p = h + 36;
  if (isFloat) {  // cbSize, then the fact chunk other formats than integer PCM carry
    Put16(p, 0);
    std::memcpy(p + 2, "fact", 4);
    Put32(p + 6, 4);
    Put32(p + 10, uint32_t(FFrames));
    p += 14;
  }
  std::memcpy(p, "data", 4);
  Put32(p + 4, uint32_t(std::min<uint64_t>(dataBytes, 0xFFFFFFFFu)));
  std::fseek(FFile, 0, SEEK_SET);
  if (std::fwrite(h, 1, headerBytes, FFile) != headerBytes) Failed();
}

void WavWriter::Failed() {
  if (!FError) FError = errno ? errno : EIO;
}

void WavWriter::Write(const float* values, int64_t frames) {
  if (!FFile) throw EInvalidOperation("The WAV file is closed");
  const int bytes = FBits / 8;
  if (uint64_t(FFrames + frames) * uint64_t(FChannels * bytes) > kMaxWavDataBytes)
    throw EWriteError(Format("\"%s\" would exceed the 4 GB a WAV file can hold", {FPath}));
  std::vector<unsigned char> raw(size_t(frames) * size_t(FChannels) * size_t(bytes));
  unsigned char* p = raw.data();
  const int64_t count = frames * FChannels;
  // A NaN would reach lround (undefined) or the file: integers clip to full scale, floats keep
  // their headroom and lose only what is not a number.
  std::vector<float> clean(static_cast<size_t>(count));
  if (FBits == 32) {
    std::copy_n(values, count, clean.data());
    DspMakeFinite(clean.data(), clean.size());
  } else {
    DspClampFullScale(clean.data(), values, clean.size());
  }
  values = clean.data();
  for (int64_t i = 0; i < count; ++i, p += bytes) {
    const float v = values[i];
    switch (FBits) {
      case 8: {
        const long q = std::lround(std::clamp(v * 128.0f, -128.0f, 127.0f));
        p[0] = (unsigned char)(q + 128);
        break;
      }
      case 16:
        Put16(p, uint16_t(int16_t(std::lround(std::clamp(v * 32768.0f, -32768.0f, 32767.0f)))));
        break;
      case 24: {
        const int32_t q =
            int32_t(std::lround(std::clamp(double(v) * 8388608.0, -8388608.0, 8388607.0)));
        p[0] = (unsigned char)q;
        p[1] = (unsigned char)(q >> 8);
        p[2] = (unsigned char)(q >> 16);
        break;
      }
      default: {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        Put32(p, u);
      }
    }
  }
  if (std::fwrite(raw.data(), 1, raw.size(), FFile) != raw.size()) {
    Failed();  // no use writing on: the disk is full or the file is gone
    throw EWriteError(Format("Cannot write file \"%s\". %s", {FPath, std::strerror(FError)}));
  }
  FFrames += frames;
}

void WavWriter::Close() {
  if (!FFile) return;
  const uint64_t dataBytes = uint64_t(FFrames) * uint64_t(FChannels) * uint64_t(FBits / 8);
  if (dataBytes & 1) std::fputc(0, FFile);
  WriteHeader();
  if (std::fflush(FFile) != 0) Failed();
  if (std::fclose(FFile) != 0) Failed();
  FFile = nullptr;
  if (FError)
    throw EWriteError(Format("Cannot write file \"%s\". %s", {FPath, std::strerror(FError)}));
}
