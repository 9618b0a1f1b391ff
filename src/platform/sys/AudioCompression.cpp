#include "platform/sys/AudioCompression.h"

#include <soxr.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <numeric>
#include <memory>
#include <mutex>

#include "platform/sys/WaveDevices.h"

namespace {

constexpr uint32_t kBuiltinId = 1;
constexpr uintptr_t kOpenDriverBase = 0x10000;

struct TDriver {
  uint32_t Id = 0;
  bool Builtin = false;
  TAcmScriptedDriver Script;
};

// round(frames x out / in), halves up.
int64_t ScaleFrames(int64_t frames, uint32_t in, uint32_t out) {
  if (in == out) return frames;
  return (frames * int64_t(out) + int64_t(in) / 2) / int64_t(in);
}

// Rate conversion in which every call stands alone: n frames give round(n x out / in) frames
// that depend on those n frames only. The block is fed between extensions by odd reflection
// (continuing value and slope), so that a block cut anywhere does not ring at its edges as it
// would against silence; the extensions' output is left out.
// Building a soxr filter costs ten times more than running a block through it, and the level
// meter opens a stream for every block, so a resampler is kept between calls and shared through
// a pool: a chunk fed is a whole number of Unit input frames, which puts the block's first output
// exactly on an output frame, and the extension keeps the history of earlier calls away from
// what is kept. Pairs of rates without a small common unit get a fresh resampler each call.
class TResampler {
 public:
  TResampler(uint32_t in, uint32_t out, int channels)
      : FIn(in), FOutRate(out), FChannels(channels) {
    const uint32_t g = std::gcd(in, out);
    FUnit = in / g;
    FOutUnit = out / g;
    const int64_t want = 512 * std::max<int64_t>(1, int64_t(in) / out);
    FKept = FUnit <= 4096;
    FPad = FKept ? (want + FUnit - 1) / FUnit * FUnit : want;
  }
  ~TResampler() { Drop(); }
  uint32_t InRate() const { return FIn; }
  uint32_t OutRate() const { return FOutRate; }
  int Channels() const { return FChannels; }

  // Writes `target` frames made from `frames` frames to `out`.
  bool Convert(const float* x, int64_t frames, int64_t target, float* out) {
    if (!FKept || !FSoxr) {
      Drop();
      soxr_error_t error = nullptr;
      soxr_io_spec_t io = soxr_io_spec(SOXR_FLOAT32_I, SOXR_FLOAT32_I);
      soxr_quality_spec_t quality = soxr_quality_spec(SOXR_HQ, 0);
      FSoxr = soxr_create(double(FIn), double(FOutRate), unsigned(FChannels), &error, &io,
                          &quality, nullptr);
      if (!FSoxr || error) return Drop(), false;
      FFed = FMade = 0;
    }
    const int ch = FChannels;
    const int64_t pad = FPad;
    int64_t chunk = pad + frames + pad;
    if (FKept) chunk = (chunk + FUnit - 1) / FUnit * FUnit;
    const int64_t tail = chunk - pad - frames;
    FPadded.resize(size_t(chunk * ch));
    float* p = FPadded.data();
    std::copy(x, x + frames * ch, p + pad * ch);
    for (int64_t k = 1; k <= std::max(pad, tail); ++k)
      for (int c = 0; c < ch; ++c) {
        if (k <= pad) p[(pad - k) * ch + c] = 2 * x[c] - x[std::min(k, frames - 1) * ch + c];
        if (k <= tail)
          p[(pad + frames - 1 + k) * ch + c] =
              2 * x[(frames - 1) * ch + c] - x[std::max<int64_t>(frames - 1 - k, 0) * ch + c];
      }
    FFirst = FKept ? (FFed + pad) / FUnit * FOutUnit : ScaleFrames(pad, FIn, FOutRate);
    FEnd = FFirst + target;
    FTarget = out;
    std::fill(out, out + target * ch, 0.f);
    if (!Feed(p, chunk)) return Drop(), false;
    if (FKept) {
      // Whatever the stream still holds back comes out behind silence fed after the chunk.
      FZeros.assign(size_t(FUnit * ch), 0.f);
      for (int guard = 0; FMade < FEnd && guard < 1000; ++guard)
        if (!Feed(FZeros.data(), FUnit)) return Drop(), false;
      if (FMade < FEnd) return Drop(), false;
    } else {
      while (FMade < FEnd) {
        size_t made = 0;
        if (soxr_process(FSoxr, nullptr, 0, nullptr, FScratch.data(), kScratch, &made) || !made)
          break;
        Collect(made);
      }
    }
    return true;
  }

 private:
  static constexpr size_t kScratch = 8192;

  bool Feed(const float* p, int64_t frames) {
    FScratch.resize(kScratch * size_t(FChannels));
    int64_t taken = 0;
    while (taken < frames) {
      size_t used = 0, made = 0;
      if (soxr_process(FSoxr, p + taken * FChannels, size_t(frames - taken), &used,
                       FScratch.data(), kScratch, &made))
        return false;
      taken += int64_t(used);
      Collect(made);
      if (!used && !made) return false;
    }
    FFed += frames;
    return true;
  }
  void Collect(size_t made) {
    for (size_t i = 0; i < made; ++i, ++FMade)
      if (FMade >= FFirst && FMade < FEnd)
        std::copy_n(FScratch.data() + i * size_t(FChannels), FChannels,
                    FTarget + (FMade - FFirst) * FChannels);
  }
  void Drop() {
    if (FSoxr) soxr_delete(FSoxr);
    FSoxr = nullptr;
  }

  uint32_t FIn, FOutRate;
  int FChannels;
  int64_t FUnit = 1, FOutUnit = 1, FPad = 0;
  bool FKept = true;
  soxr_t FSoxr = nullptr;
  int64_t FFed = 0, FMade = 0;  // frames into and out of the stream since it was made
  int64_t FFirst = 0, FEnd = 0;  // the output frames the current call keeps
  float* FTarget = nullptr;
  std::vector<float> FPadded, FZeros, FScratch;
};

std::mutex gPoolLock;
std::vector<std::unique_ptr<TResampler>> gIdleResamplers;

std::unique_ptr<TResampler> TakeResampler(uint32_t in, uint32_t out, int channels) {
  {
    std::lock_guard l(gPoolLock);
    for (auto it = gIdleResamplers.begin(); it != gIdleResamplers.end(); ++it)
      if ((*it)->InRate() == in && (*it)->OutRate() == out && (*it)->Channels() == channels) {
        auto r = std::move(*it);
        gIdleResamplers.erase(it);
        return r;
      }
  }
  return std::make_unique<TResampler>(in, out, channels);
}

void GiveBack(std::unique_ptr<TResampler> r) {
  std::lock_guard l(gPoolLock);
  // A few of each kind are plenty: streams are used one block at a time.
  if (gIdleResamplers.size() < 16) gIdleResamplers.push_back(std::move(r));
}

struct TStream {
  std::shared_ptr<const TDriver> Driver;
  std::vector<uint8_t> Src, Dst;
  const WAVEFORMATEX& SrcFormat() const { return *reinterpret_cast<const WAVEFORMATEX*>(Src.data()); }
  const WAVEFORMATEX& DstFormat() const { return *reinterpret_cast<const WAVEFORMATEX*>(Dst.data()); }
  std::vector<float> In, Mapped, Out;
  std::unique_ptr<TResampler> Resampler;
  ~TStream() {
    if (Resampler) GiveBack(std::move(Resampler));
  }
};

std::mutex gLock;
std::vector<std::shared_ptr<const TDriver>> gDrivers;
std::map<uintptr_t, uint32_t> gOpenDrivers;  // handle -> driver id
std::map<uintptr_t, std::shared_ptr<TStream>> gStreams;
uintptr_t gNextOpenDriver = kOpenDriverBase, gNextStream = 0;
uint32_t gNextDriverId = kBuiltinId;

// Callers hold gLock.
void EnsureBuiltinLocked() {
  if (!gDrivers.empty()) return;
  auto d = std::make_shared<TDriver>();
  d->Id = kBuiltinId;
  d->Builtin = true;
  d->Script.ShortName = "PCM converter";
  gDrivers.push_back(d);
}

std::shared_ptr<const TDriver> DriverById(uint32_t id) {
  std::lock_guard l(gLock);
  EnsureBuiltinLocked();
  for (auto& d : gDrivers)
    if (d->Id == id) return d;
  return nullptr;
}

std::shared_ptr<const TDriver> DriverByHandle(uintptr_t h) {
  uint32_t id = 0;
  {
    std::lock_guard l(gLock);
    auto it = gOpenDrivers.find(h);
    if (it == gOpenDrivers.end()) return nullptr;
    id = it->second;
  }
  return DriverById(id);
}

std::shared_ptr<TStream> StreamOf(HACMSTREAM has) {
  std::lock_guard l(gLock);
  auto it = gStreams.find(reinterpret_cast<uintptr_t>(has));
  return it == gStreams.end() ? nullptr : it->second;
}

size_t FormatSize(const WAVEFORMATEX& f) {
  return sizeof(WAVEFORMATEX) + (f.wFormatTag == WAVE_FORMAT_PCM ? 0 : f.cbSize);
}

bool IsIntegerPcm(const WAVEFORMATEX& f) {
  const int bits = f.wBitsPerSample;
  return f.wFormatTag == WAVE_FORMAT_PCM && (bits == 8 || bits == 16 || bits == 24 || bits == 32) &&
         f.nChannels >= 1 && f.nChannels <= 2 && f.nBlockAlign == f.nChannels * bits / 8 &&
         int64_t(f.nSamplesPerSec) >= kWaveMinRate && int64_t(f.nSamplesPerSec) <= kWaveMaxRate &&
         f.nAvgBytesPerSec == f.nSamplesPerSec * f.nBlockAlign;
}

bool SameFormat(const std::vector<uint8_t>& a, const WAVEFORMATEX& b) {
  const size_t n = FormatSize(b);
  return a.size() == n && std::memcmp(a.data(), &b, n) == 0;
}

bool CanConvert(const TDriver& d, const WAVEFORMATEX& src, const WAVEFORMATEX& dst) {
  if (d.Builtin) return IsIntegerPcm(src) && IsIntegerPcm(dst);
  for (auto& [from, to] : d.Script.Pairs)
    if (SameFormat(from, src) && SameFormat(to, dst)) return true;
  return false;
}


// The most source blocks whose output fits `room` destination blocks.
int64_t BlocksFitting(const TStream& s, int64_t blocks, int64_t room) {
  if (!s.Driver->Builtin) return std::min(blocks, room);
  const uint32_t in = s.SrcFormat().nSamplesPerSec, out = s.DstFormat().nSamplesPerSec;
  if (ScaleFrames(blocks, in, out) <= room) return blocks;
  int64_t f = room * int64_t(in) / int64_t(out);
  while (ScaleFrames(f + 1, in, out) <= room) ++f;
  while (f > 0 && ScaleFrames(f, in, out) > room) --f;
  return f;
}

void Decode(const uint8_t* p, int64_t samples, int bytes, float* out) {
  for (int64_t i = 0; i < samples; ++i, p += bytes) {
    if (bytes == 1) {
      out[i] = (float(p[0]) - 128.f) / 128.f;
      continue;
    }
    uint32_t x = 0;
    for (int k = 0; k < bytes; ++k) x |= uint32_t(p[k]) << (8 * (4 - bytes + k));
    out[i] = float(double(int32_t(x)) / 2147483648.0);
  }
}

void Encode(const float* v, int64_t samples, int bytes, uint8_t* p) {
  const double scale = std::ldexp(1.0, 8 * bytes - 1), top = scale - 1;
  for (int64_t i = 0; i < samples; ++i, p += bytes) {
    int64_t x = int64_t(std::clamp(std::nearbyint(double(v[i]) * scale), -scale, top));
    if (bytes == 1) x += 128;
    for (int k = 0; k < bytes; ++k) p[k] = uint8_t(uint64_t(x) >> (8 * k));
  }
}

MMRESULT ConvertPcm(TStream& s, const uint8_t* src, int64_t frames, uint8_t* dst) {
  const WAVEFORMATEX& a = s.SrcFormat();
  const WAVEFORMATEX& b = s.DstFormat();
  const int ca = a.nChannels, cb = b.nChannels;
  s.In.resize(size_t(frames * ca));
  Decode(src, frames * ca, a.wBitsPerSample / 8, s.In.data());
  const float* mapped = s.In.data();
  if (ca != cb) {
    s.Mapped.resize(size_t(frames * cb));
    for (int64_t f = 0; f < frames; ++f)
      if (cb == 1)
        s.Mapped[size_t(f)] = 0.5f * (s.In[size_t(2 * f)] + s.In[size_t(2 * f + 1)]);
      else
        s.Mapped[size_t(2 * f)] = s.Mapped[size_t(2 * f + 1)] = s.In[size_t(f)];
    mapped = s.Mapped.data();
  }
  const int64_t target = ScaleFrames(frames, a.nSamplesPerSec, b.nSamplesPerSec);
  if (a.nSamplesPerSec == b.nSamplesPerSec) {
    Encode(mapped, frames * cb, b.wBitsPerSample / 8, dst);
    return MMSYSERR_NOERROR;
  }
  std::unique_ptr<TResampler>& rs = s.Resampler;
  if (!rs) rs = TakeResampler(a.nSamplesPerSec, b.nSamplesPerSec, cb);
  if (!rs) return MMSYSERR_NOMEM;
  s.Out.resize(size_t(target * cb));
  if (!rs->Convert(mapped, frames, target, s.Out.data())) return MMSYSERR_ERROR;
  Encode(s.Out.data(), target * cb, b.wBitsPerSample / 8, dst);
  return MMSYSERR_NOERROR;
}

uint32_t SupportOf(const TDriver& d) {
  return d.Builtin ? ACMDRIVERDETAILS_SUPPORTF_CONVERTER : ACMDRIVERDETAILS_SUPPORTF_CODEC;
}

WAVEFORMATEX Pcm(uint32_t rate, int bits, int channels) {
  WAVEFORMATEX f{};
  f.wFormatTag = WAVE_FORMAT_PCM;
  f.nChannels = uint16_t(channels);
  f.nSamplesPerSec = rate;
  f.wBitsPerSample = uint16_t(bits);
  f.nBlockAlign = uint16_t(channels * bits / 8);
  f.nAvgBytesPerSec = rate * f.nBlockAlign;
  return f;
}

std::vector<std::pair<std::string, std::vector<uint8_t>>> FormatsOf(const TDriver& d) {
  if (!d.Builtin) return d.Script.Formats;
  std::vector<std::pair<std::string, std::vector<uint8_t>>> list;
  for (uint32_t rate : {8000u, 11025u, 16000u, 22050u, 32000u, 44100u, 48000u})
    for (int bits : {8, 16})
      for (int ch : {1, 2}) {
        char text[64];
        std::snprintf(text, sizeof text, "%u Hz, %d Bit, %s", rate, bits, ch == 1 ? "Mono" : "Stereo");
        list.emplace_back(text, AcmFormatBytes(Pcm(rate, bits, ch)));
      }
  return list;
}

void CopyText(char* dst, size_t size, const std::string& text) {
  std::snprintf(dst, size, "%s", text.c_str());
}

}  // namespace

std::vector<uint8_t> AcmFormatBytes(const WAVEFORMATEX& format) {
  const auto* p = reinterpret_cast<const uint8_t*>(&format);
  return std::vector<uint8_t>(p, p + FormatSize(format));
}

void AcmRegisterScriptedDriver(const TAcmScriptedDriver& driver) {
  std::lock_guard l(gLock);
  EnsureBuiltinLocked();
  auto d = std::make_shared<TDriver>();
  d->Id = ++gNextDriverId;
  d->Script = driver;
  gDrivers.push_back(d);
}

void AcmRemoveScriptedDrivers() {
  std::lock_guard l(gLock);
  std::erase_if(gDrivers, [](auto& d) { return !d->Builtin; });
}

// ---- streams

MMRESULT acmStreamOpen(HACMSTREAM* phas, HACMDRIVER had, const WAVEFORMATEX* pwfxSrc,
                       const WAVEFORMATEX* pwfxDst, const void* pwfltr, uintptr_t, uintptr_t,
                       uint32_t fdwOpen) {
  const bool query = fdwOpen & ACM_STREAMOPENF_QUERY;
  if (phas) *phas = nullptr;
  if (!pwfxSrc || !pwfxDst || pwfltr || (!query && !phas)) return MMSYSERR_INVALPARAM;
  if (fdwOpen & ACM_STREAMOPENF_ASYNC) return MMSYSERR_INVALFLAG;
  std::vector<std::shared_ptr<const TDriver>> candidates;
  if (had) {
    auto d = DriverByHandle(reinterpret_cast<uintptr_t>(had));
    if (!d) return MMSYSERR_INVALHANDLE;
    candidates.push_back(d);
  } else {
    std::lock_guard l(gLock);
    EnsureBuiltinLocked();
    candidates = gDrivers;
  }
  for (auto& d : candidates) {
    if (!CanConvert(*d, *pwfxSrc, *pwfxDst)) continue;
    if (query) return MMSYSERR_NOERROR;
    if (d->Script.StreamOpenResult) return d->Script.StreamOpenResult;
    auto s = std::make_shared<TStream>();
    s->Driver = d;
    s->Src = AcmFormatBytes(*pwfxSrc);
    s->Dst = AcmFormatBytes(*pwfxDst);
    std::lock_guard l(gLock);
    const uintptr_t h = ++gNextStream;
    gStreams[h] = s;
    *phas = reinterpret_cast<HACMSTREAM>(h);
    return MMSYSERR_NOERROR;
  }
  return ACMERR_NOTPOSSIBLE;
}

MMRESULT acmStreamSize(HACMSTREAM has, uint32_t cbInput, uint32_t* pdwOutputBytes,
                       uint32_t fdwSize) {
  auto s = StreamOf(has);
  if (!s) return MMSYSERR_INVALHANDLE;
  if (!pdwOutputBytes) return MMSYSERR_INVALPARAM;
  const uint32_t sa = s->SrcFormat().nBlockAlign, da = s->DstFormat().nBlockAlign;
  if (fdwSize == ACM_STREAMSIZEF_SOURCE) {
    const int64_t blocks = cbInput / sa;
    const int64_t out = s->Driver->Builtin ? ScaleFrames(blocks, s->SrcFormat().nSamplesPerSec,
                                                         s->DstFormat().nSamplesPerSec)
                                           : blocks;
    if (out * da > UINT32_MAX) return MMSYSERR_INVALPARAM;
    *pdwOutputBytes = uint32_t(out * da);
  } else if (fdwSize == ACM_STREAMSIZEF_DESTINATION) {
    const int64_t room = cbInput / da;
    *pdwOutputBytes = uint32_t(BlocksFitting(*s, room * 4 + 4, room) * sa);
  } else {
    return MMSYSERR_INVALFLAG;
  }
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamPrepareHeader(HACMSTREAM has, ACMSTREAMHEADER* pash, uint32_t) {
  if (!StreamOf(has)) return MMSYSERR_INVALHANDLE;
  if (!pash || pash->cbStruct < sizeof(ACMSTREAMHEADER) || !pash->pbSrc || !pash->pbDst)
    return MMSYSERR_INVALPARAM;
  pash->dwReservedDriver[0] = pash->cbSrcLength;
  pash->dwReservedDriver[1] = pash->cbDstLength;
  pash->fdwStatus = ACMSTREAMHEADER_STATUSF_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamConvert(HACMSTREAM has, ACMSTREAMHEADER* pash, uint32_t) {
  auto s = StreamOf(has);
  if (!s) return MMSYSERR_INVALHANDLE;
  if (!pash || pash->cbStruct < sizeof(ACMSTREAMHEADER)) return MMSYSERR_INVALPARAM;
  if (!(pash->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED)) return ACMERR_UNPREPARED;
  if (pash->cbSrcLength > pash->dwReservedDriver[0] || pash->cbDstLength > pash->dwReservedDriver[1])
    return MMSYSERR_INVALPARAM;
  pash->fdwStatus &= ~ACMSTREAMHEADER_STATUSF_DONE;
  const WAVEFORMATEX& a = s->SrcFormat();
  const WAVEFORMATEX& b = s->DstFormat();
  const int64_t blocks = BlocksFitting(*s, pash->cbSrcLength / a.nBlockAlign,
                                       pash->cbDstLength / b.nBlockAlign);
  int64_t out = blocks;
  if (s->Driver->Builtin) {
    out = ScaleFrames(blocks, a.nSamplesPerSec, b.nSamplesPerSec);
    if (blocks > 0)
      if (MMRESULT r = ConvertPcm(*s, pash->pbSrc, blocks, pash->pbDst)) return r;
  } else {
    for (int64_t i = 0; i < blocks; ++i)
      std::memset(pash->pbDst + i * b.nBlockAlign, pash->pbSrc[i * a.nBlockAlign], b.nBlockAlign);
  }
  pash->cbSrcLengthUsed = uint32_t(blocks * a.nBlockAlign);
  pash->cbDstLengthUsed = uint32_t(out * b.nBlockAlign);
  pash->fdwStatus |= ACMSTREAMHEADER_STATUSF_DONE;
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamUnprepareHeader(HACMSTREAM has, ACMSTREAMHEADER* pash, uint32_t) {
  if (!StreamOf(has)) return MMSYSERR_INVALHANDLE;
  if (!pash || pash->cbStruct < sizeof(ACMSTREAMHEADER)) return MMSYSERR_INVALPARAM;
  if (!(pash->fdwStatus & ACMSTREAMHEADER_STATUSF_PREPARED)) return ACMERR_UNPREPARED;
  pash->fdwStatus &= ~ACMSTREAMHEADER_STATUSF_PREPARED;
  return MMSYSERR_NOERROR;
}

MMRESULT acmStreamReset(HACMSTREAM has, uint32_t) {
  return StreamOf(has) ? MMSYSERR_NOERROR : MMSYSERR_INVALHANDLE;
}

MMRESULT acmStreamClose(HACMSTREAM has, uint32_t) {
  std::lock_guard l(gLock);
  return gStreams.erase(reinterpret_cast<uintptr_t>(has)) ? MMSYSERR_NOERROR
                                                          : MMSYSERR_INVALHANDLE;
}

// ---- formats

MMRESULT acmFormatSuggest(HACMDRIVER, const WAVEFORMATEX* pwfxSrc, WAVEFORMATEX* pwfxDst,
                          uint32_t cbwfxDst, uint32_t fdwSuggest) {
  if (!pwfxSrc || !pwfxDst || cbwfxDst < sizeof(WAVEFORMATEX)) return MMSYSERR_INVALPARAM;
  const WAVEFORMATEX given = *pwfxDst;
  const uint16_t tag =
      fdwSuggest & ACM_FORMATSUGGESTF_WFORMATTAG ? given.wFormatTag : WAVE_FORMAT_PCM;
  const int channels =
      fdwSuggest & ACM_FORMATSUGGESTF_NCHANNELS ? given.nChannels : pwfxSrc->nChannels;
  const uint32_t rate =
      fdwSuggest & ACM_FORMATSUGGESTF_NSAMPLESPERSEC ? given.nSamplesPerSec : pwfxSrc->nSamplesPerSec;
  const int bits = fdwSuggest & ACM_FORMATSUGGESTF_WBITSPERSAMPLE ? given.wBitsPerSample : 16;
  const WAVEFORMATEX f = Pcm(rate, bits, channels);
  if (tag != WAVE_FORMAT_PCM || !IsIntegerPcm(f)) return ACMERR_NOTPOSSIBLE;
  *pwfxDst = f;
  return MMSYSERR_NOERROR;
}

MMRESULT acmFormatEnum(HACMDRIVER had, ACMFORMATDETAILS* pafd, ACMFORMATENUMCB fnCallback,
                       uintptr_t dwInstance, uint32_t) {
  auto d = DriverByHandle(reinterpret_cast<uintptr_t>(had));
  if (!d) return MMSYSERR_INVALHANDLE;
  if (!pafd || pafd->cbStruct < sizeof(ACMFORMATDETAILS) || !pafd->pwfx || !fnCallback)
    return MMSYSERR_INVALPARAM;
  const auto formats = FormatsOf(*d);
  for (size_t i = 0; i < formats.size(); ++i) {
    const auto& [text, bytes] = formats[i];
    if (bytes.size() > pafd->cbwfx) return MMSYSERR_INVALPARAM;
    std::memcpy(pafd->pwfx, bytes.data(), bytes.size());
    pafd->dwFormatIndex = uint32_t(i);
    pafd->dwFormatTag = pafd->pwfx->wFormatTag;
    pafd->fdwSupport = SupportOf(*d);
    CopyText(pafd->szFormat, sizeof pafd->szFormat, text);
    if (!fnCallback(reinterpret_cast<HACMDRIVERID>(uintptr_t(d->Id)), pafd, dwInstance,
                    SupportOf(*d)))
      break;
  }
  return MMSYSERR_NOERROR;
}

// ---- drivers

MMRESULT acmDriverEnum(ACMDRIVERENUMCB fnCallback, uintptr_t dwInstance, uint32_t) {
  if (!fnCallback) return MMSYSERR_INVALPARAM;
  std::vector<std::shared_ptr<const TDriver>> drivers;
  {
    std::lock_guard l(gLock);
    EnsureBuiltinLocked();
    drivers = gDrivers;
  }
  for (auto& d : drivers)
    if (!fnCallback(reinterpret_cast<HACMDRIVERID>(uintptr_t(d->Id)), dwInstance, SupportOf(*d)))
      break;
  return MMSYSERR_NOERROR;
}

MMRESULT acmDriverDetails(HACMDRIVERID hadid, ACMDRIVERDETAILS* padd, uint32_t) {
  auto d = DriverById(uint32_t(reinterpret_cast<uintptr_t>(hadid)));
  if (!d) return MMSYSERR_INVALHANDLE;
  if (!padd || padd->cbStruct < sizeof(ACMDRIVERDETAILS)) return MMSYSERR_INVALPARAM;
  if (d->Script.DetailsResult) return d->Script.DetailsResult;
  const uint32_t size = padd->cbStruct;
  std::memset(padd, 0, sizeof *padd);
  padd->cbStruct = size;
  padd->fccType = 0x63647561;  // "audc"
  padd->fdwSupport = SupportOf(*d);
  padd->cFormatTags = 1;
  CopyText(padd->szShortName, sizeof padd->szShortName, d->Script.ShortName);
  CopyText(padd->szLongName, sizeof padd->szLongName,
           d->Builtin ? "Integer PCM converter" : d->Script.ShortName);
  CopyText(padd->szFeatures, sizeof padd->szFeatures,
           d->Builtin ? "Converts the sample size, channels and rate of integer PCM." : "");
  return MMSYSERR_NOERROR;
}

MMRESULT acmDriverOpen(HACMDRIVER* phad, HACMDRIVERID hadid, uint32_t) {
  if (!phad) return MMSYSERR_INVALPARAM;
  auto d = DriverById(uint32_t(reinterpret_cast<uintptr_t>(hadid)));
  if (!d) return MMSYSERR_INVALHANDLE;
  std::lock_guard l(gLock);
  const uintptr_t h = ++gNextOpenDriver;
  gOpenDrivers[h] = d->Id;
  *phad = reinterpret_cast<HACMDRIVER>(h);
  return MMSYSERR_NOERROR;
}

MMRESULT acmDriverClose(HACMDRIVER had, uint32_t) {
  std::lock_guard l(gLock);
  return gOpenDrivers.erase(reinterpret_cast<uintptr_t>(had)) ? MMSYSERR_NOERROR
                                                               : MMSYSERR_INVALHANDLE;
}

MMRESULT acmMetrics(HACMOBJ hao, unsigned uMetric, void* pMetric) {
  if (!pMetric) return MMSYSERR_INVALPARAM;
  const uintptr_t h = reinterpret_cast<uintptr_t>(hao);
  auto d = h > kOpenDriverBase ? DriverByHandle(h) : DriverById(uint32_t(h));
  if (!d) return MMSYSERR_INVALHANDLE;
  uint32_t value = 0;
  switch (uMetric) {
    case ACM_METRIC_MAX_SIZE_FORMAT:
      value = uint32_t(sizeof(WAVEFORMATEX));
      for (auto& f : FormatsOf(*d)) value = std::max(value, uint32_t(f.second.size()));
      break;
    case ACM_METRIC_DRIVER_PRIORITY: {
      std::lock_guard l(gLock);
      for (size_t i = 0; i < gDrivers.size(); ++i)
        if (gDrivers[i]->Id == d->Id) value = uint32_t(i + 1);
      break;
    }
    default:
      return MMSYSERR_NOTSUPPORTED;
  }
  *static_cast<uint32_t*>(pMetric) = value;
  return MMSYSERR_NOERROR;
}
