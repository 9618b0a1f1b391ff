#include "platform/sys/WaveDevices.h"

#include <alsa/asoundlib.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <set>
#include <thread>

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kDeviceRate = kWaveDeviceRate;  // the ALSA devices run at this rate, stereo
constexpr int kTickMs = 10;         // one period of the device threads
constexpr int kAlsaLatencyUs = 40000;
constexpr int kTimedLatencyMs = 40;  // the device buffer the null and file backends stand for

struct TBackend {
  enum Kind { Alsa, Null, File } K = Alsa;
  std::string Param;  // PCM name or folder
  std::string Key() const { return std::to_string(int(K)) + ":" + Param; }
};

// ALSA reports every failed open on stderr; our callers get the result code instead.
void QuietAlsa(const char*, int, const char*, int, const char*, ...) {}

TBackend CurrentBackend() {
  static const bool quiet = [] {
    snd_lib_error_set_handler(QuietAlsa);
    return true;
  }();
  (void)quiet;
  TBackend b;
  const char* env = std::getenv("SONALIX_AUDIO");
  std::string s = env ? env : "";
  if (s == "null") {
    b.K = TBackend::Null;
  } else if (s.rfind("file:", 0) == 0) {
    b.K = TBackend::File;
    b.Param = s.substr(5);
  } else if (s.rfind("alsa:", 0) == 0) {
    b.Param = s.substr(5);
  } else {
    b.Param = "default";
  }
  return b;
}

bool FormatOk(int rate, int channels) {
  return rate >= kWaveMinRate && rate <= kWaveMaxRate && channels >= 1 &&
         channels <= kWaveMaxChannels;
}

int AlsaResult(int err) {
  if (err == -EBUSY || err == -EAGAIN) return wrBusy;
  if (err == -ENOENT || err == -ENODEV || err == -ENXIO) return wrNoDevice;
  if (err == -EINVAL) return wrBadFormat;
  return wrError;
}

// A blocking open of a device that another program holds waits until it is let go; opening
// without blocking makes that a busy error at once. Reads and writes block as usual afterwards.
int OpenPcm(snd_pcm_t** pcm, const std::string& name, snd_pcm_stream_t stream) {
  int err = snd_pcm_open(pcm, name.c_str(), stream, SND_PCM_NONBLOCK);
  if (err >= 0 && (err = snd_pcm_nonblock(*pcm, 0)) < 0) snd_pcm_close(*pcm);
  return err;
}

// Brings a PCM whose read or write failed with `err` back to moving frames; false when it cannot.
// A resume can report success and still leave the PCM stopped, so the state is checked too.
bool RecoverPcm(snd_pcm_t* pcm, int err) {
  if (snd_pcm_recover(pcm, err, 1) >= 0) {
    const snd_pcm_state_t state = snd_pcm_state(pcm);
    if (state == SND_PCM_STATE_PREPARED || state == SND_PCM_STATE_RUNNING) return true;
  }
  return snd_pcm_prepare(pcm) >= 0;
}

// Maps interleaved frames between channel counts (1 <-> 2) and appends them to `out`.
void MapChannels(const float* in, int64_t frames, int from, int to, std::vector<float>& out) {
  const size_t base = out.size();
  out.resize(base + size_t(frames * to));
  float* o = out.data() + base;
  if (from == to) {
    std::memcpy(o, in, size_t(frames * to) * sizeof(float));
  } else if (from == 1) {
    for (int64_t f = 0; f < frames; ++f) o[2 * f] = o[2 * f + 1] = in[f];
  } else {
    for (int64_t f = 0; f < frames; ++f) o[f] = 0.5f * (in[2 * f] + in[2 * f + 1]);
  }
}

// Streaming linear interpolation between two rates; equal rates pass frames unchanged.
class TResampler {
 public:
  void Setup(int from, int to, int channels) {
    FStep = double(from) / double(to);
    FSame = from == to;
    FChannels = channels;
    FCarry.clear();
    FFrac = 0;
  }
  void Push(const float* in, int64_t frames, std::vector<float>& out) {
    if (FSame) {
      out.insert(out.end(), in, in + frames * FChannels);
      return;
    }
    FCarry.insert(FCarry.end(), in, in + frames * FChannels);
    const int64_t have = int64_t(FCarry.size()) / FChannels;
    while (int64_t(FFrac) + 1 < have) {
      const int64_t i = int64_t(FFrac);
      const float t = float(FFrac - double(i));
      for (int c = 0; c < FChannels; ++c) {
        const float a = FCarry[size_t(i * FChannels + c)];
        const float b = FCarry[size_t((i + 1) * FChannels + c)];
        out.push_back(a + (b - a) * t);
      }
      FFrac += FStep;
    }
    const int64_t used = std::min<int64_t>(int64_t(FFrac), have - 1);
    FCarry.erase(FCarry.begin(), FCarry.begin() + used * FChannels);
    FFrac -= double(used);
  }
  double Step() const { return FStep; }
  int64_t CarryFrames() const { return FChannels ? int64_t(FCarry.size()) / FChannels : 0; }

 private:
  double FStep = 1, FFrac = 0;
  bool FSame = true;
  int FChannels = 1;
  std::vector<float> FCarry;
};

// A WAV file of 32-bit float frames, its header completed on Close.
class TFloatWavWriter {
 public:
  bool Open(const std::string& path, int rate, int channels) {
    FFile = std::fopen(path.c_str(), "wb");
    if (!FFile) return false;
    FRate = rate;
    FChannels = channels;
    FBytes = 0;
    WriteHeader();
    return true;
  }
  void Write(const float* v, int64_t frames) {
    if (!FFile || frames <= 0) return;
    const size_t n = size_t(frames * FChannels);
    std::fwrite(v, sizeof(float), n, FFile);
    FBytes += uint32_t(n * sizeof(float));
  }
  void Close() {
    if (!FFile) return;
    std::fseek(FFile, 0, SEEK_SET);
    WriteHeader();
    std::fclose(FFile);
    FFile = nullptr;
  }
  ~TFloatWavWriter() { Close(); }

 private:
  void Put32(uint32_t v) { std::fwrite(&v, 4, 1, FFile); }
  void Put16(uint16_t v) { std::fwrite(&v, 2, 1, FFile); }
  void WriteHeader() {
    std::fwrite("RIFF", 1, 4, FFile);
    Put32(4 + 26 + 8 + FBytes);
    std::fwrite("WAVEfmt ", 1, 8, FFile);
    Put32(18);
    Put16(3);  // IEEE float
    Put16(uint16_t(FChannels));
    Put32(uint32_t(FRate));
    Put32(uint32_t(FRate * FChannels * 4));
    Put16(uint16_t(FChannels * 4));
    Put16(32);
    Put16(0);
    std::fwrite("data", 1, 4, FFile);
    Put32(FBytes);
  }
  std::FILE* FFile = nullptr;
  int FRate = 0, FChannels = 0;
  uint32_t FBytes = 0;
};

// Reads integer (8..32 bits) and float (32/64 bits) WAV files as float frames.
class TWavInput {
 public:
  bool Open(const std::string& path) {
    FFile = std::fopen(path.c_str(), "rb");
    if (!FFile) return false;
    char id[4];
    uint32_t size = 0;
    if (std::fread(id, 1, 4, FFile) != 4 || std::memcmp(id, "RIFF", 4) != 0) return Fail();
    std::fread(&size, 4, 1, FFile);
    if (std::fread(id, 1, 4, FFile) != 4 || std::memcmp(id, "WAVE", 4) != 0) return Fail();
    bool fmt = false;
    while (std::fread(id, 1, 4, FFile) == 4 && std::fread(&size, 4, 1, FFile) == 1) {
      if (std::memcmp(id, "fmt ", 4) == 0) {
        std::vector<unsigned char> b(size);
        if (size < 16 || std::fread(b.data(), 1, size, FFile) != size) return Fail();
        int tag = b[0] | (b[1] << 8);
        FChannels = b[2] | (b[3] << 8);
        FRate = int(b[4] | (b[5] << 8) | (b[6] << 16) | (uint32_t(b[7]) << 24));
        FBits = b[14] | (b[15] << 8);
        if (tag == 0xFFFE && size >= 26) tag = b[24] | (b[25] << 8);
        FFloat = tag == 3;
        if (tag != 1 && tag != 3) return Fail();
        if (size & 1) std::fgetc(FFile);
        fmt = true;
      } else if (std::memcmp(id, "data", 4) == 0) {
        if (!fmt || FChannels < 1 || FChannels > 8 || FBits < 8 || FBits > 64) return Fail();
        FFrameBytes = FChannels * (FBits / 8);
        FLeft = size / uint32_t(FFrameBytes);
        return true;
      } else {
        std::fseek(FFile, long(size + (size & 1)), SEEK_CUR);
      }
    }
    return Fail();
  }
  ~TWavInput() {
    if (FFile) std::fclose(FFile);
  }
  int Rate() const { return FRate; }
  int Channels() const { return FChannels; }
  // Reads up to `frames` frames; returns the count read.
  int64_t Read(float* out, int64_t frames) {
    frames = std::min<int64_t>(frames, FLeft);
    FRaw.resize(size_t(frames * FFrameBytes));
    const int64_t got =
        int64_t(std::fread(FRaw.data(), size_t(FFrameBytes), size_t(frames), FFile));
    FLeft -= got;
    const int bytes = FBits / 8;
    for (int64_t i = 0; i < got * FChannels; ++i) {
      const unsigned char* p = FRaw.data() + i * bytes;
      float v = 0;
      if (FFloat && bytes == 4) {
        std::memcpy(&v, p, 4);
      } else if (FFloat && bytes == 8) {
        double d;
        std::memcpy(&d, p, 8);
        v = float(d);
      } else if (bytes == 1) {
        v = (float(p[0]) - 128.f) / 128.f;
      } else {
        int32_t x = 0;
        for (int k = 0; k < bytes; ++k) x |= int32_t(uint32_t(p[k]) << (8 * (4 - bytes + k)));
        v = float(double(x) / 2147483648.0);
      }
      out[i] = v;
    }
    return got;
  }

 private:
  bool Fail() {
    std::fclose(FFile);
    FFile = nullptr;
    return false;
  }
  std::FILE* FFile = nullptr;
  int FRate = 0, FChannels = 0, FBits = 0, FFrameBytes = 0;
  bool FFloat = false;
  int64_t FLeft = 0;
  std::vector<unsigned char> FRaw;
};

std::atomic<int> gNextFile{1};

// While the clock is manual the null and file backends move only inside AdvanceWaveClock, on the
// caller's thread; their own threads idle.
std::atomic<bool> gManualClock{false};

// Errors that the next ALSA write or read reports instead of moving frames.
std::atomic<int> gPlaybackFault{0}, gCaptureFault{0};

// A pending fault stops the PCM the way the driver does when it runs dry, over or is suspended.
int TakeFault(std::atomic<int>& fault, snd_pcm_t* pcm) {
  const int err = fault.exchange(0);
  if (err != 0) snd_pcm_drop(pcm);
  return err;
}

}  // namespace

std::string WaveResultText(int result) {
  switch (result) {
    case wrOk:
      return "The operation completed.";
    case wrNoDevice:
      return "No sound device is available.";
    case wrBusy:
      return "The sound device is in use by another program.";
    case wrBadFormat:
      return "The sound device does not support this format.";
    default:
      return "The sound device failed.";
  }
}

std::string WaveBackendKind() {
  switch (CurrentBackend().K) {
    case TBackend::Null:
      return "null";
    case TBackend::File:
      return "file";
    default:
      return "alsa";
  }
}

// ---------------------------------------------------------------------------------------------
// The manual clock

namespace {

std::mutex gTimedLock;
std::set<TWaveOutput*> gTimedOutputs;
std::set<TWaveCapture*> gTimedCaptures;

void JoinManualClock(TWaveOutput* o) {
  std::lock_guard l(gTimedLock);
  gTimedOutputs.insert(o);
}
void JoinManualClock(TWaveCapture* c) {
  std::lock_guard l(gTimedLock);
  gTimedCaptures.insert(c);
}
// Waits for a running AdvanceWaveClock, so the device cannot go while it is being driven.
void LeaveManualClock(TWaveOutput* o) {
  std::lock_guard l(gTimedLock);
  gTimedOutputs.erase(o);
}
void LeaveManualClock(TWaveCapture* c) {
  std::lock_guard l(gTimedLock);
  gTimedCaptures.erase(c);
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// The shared output

class TWaveOutput {
 public:
  struct Stream {
    int Rate = 0, Channels = 0;
    TWaveOutStream::TSource Source;
    TWaveOutStream::TEndHandler OnEnd;
    bool Active = false, Paused = false, Draining = false;
    float Gain = 1;
    std::atomic<int64_t> Pulled{0};
    int64_t Heard = 0;  // null and file backends: frames the listener has had
    double Credit = 0;
    int64_t EndAt = 0;  // device frames written when the source ended
    TResampler Resampler;
    std::vector<float> Fifo;  // device-format frames waiting to be mixed
    std::unique_ptr<TFloatWavWriter> File;
    std::string FileName;
  };

  explicit TWaveOutput(const TBackend& b) : FBackend(b) {}
  ~TWaveOutput() {
    LeaveManualClock(this);
    {
      std::lock_guard l(FLock);
      FQuit = true;
    }
    FWake.notify_all();
    if (FThread.joinable()) FThread.join();
    if (FPcm) snd_pcm_close(FPcm);
  }

  static std::shared_ptr<TWaveOutput> Get(const TBackend& b, int& result) {
    static std::mutex regLock;
    static std::map<std::string, std::weak_ptr<TWaveOutput>> reg;
    std::lock_guard l(regLock);
    auto& w = reg[b.Key()];
    auto out = w.lock();
    result = wrOk;
    if (!out) {
      out = std::make_shared<TWaveOutput>(b);
      result = out->Begin();
      if (result != wrOk) return nullptr;
      w = out;
    }
    return out;
  }

  int Begin() {
    if (FBackend.K == TBackend::Alsa) {
      int err = OpenPcm(&FPcm, FBackend.Param, SND_PCM_STREAM_PLAYBACK);
      if (err < 0) {
        FPcm = nullptr;
        return AlsaResult(err);
      }
      FFloat = true;
      err = snd_pcm_set_params(FPcm, SND_PCM_FORMAT_FLOAT_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 2,
                               kDeviceRate, 1, kAlsaLatencyUs);
      if (err < 0) {
        FFloat = false;
        err = snd_pcm_set_params(FPcm, SND_PCM_FORMAT_S16_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 2,
                                 kDeviceRate, 1, kAlsaLatencyUs);
      }
      if (err < 0) {
        snd_pcm_close(FPcm);
        FPcm = nullptr;
        return AlsaResult(err);
      }
    }
    if (FBackend.K != TBackend::Alsa) JoinManualClock(this);
    FThread = std::thread([this] { FBackend.K == TBackend::Alsa ? RunAlsa() : RunTimed(); });
    return wrOk;
  }

  int Add(int rate, int channels) {
    std::lock_guard l(FLock);
    const int id = ++FNextId;
    auto s = std::make_unique<Stream>();
    s->Rate = rate;
    s->Channels = channels;
    FStreams[id] = std::move(s);
    return id;
  }
  void Remove(int id) {
    std::lock_guard l(FLock);
    FStreams.erase(id);
  }
  template <class F>
  auto With(int id, F f) {
    std::lock_guard l(FLock);
    auto it = FStreams.find(id);
    return f(it == FStreams.end() ? nullptr : it->second.get());
  }
  void Start(int id, TWaveOutStream::TSource src, TWaveOutStream::TEndHandler onEnd) {
    std::lock_guard l(FLock);
    auto it = FStreams.find(id);
    if (it == FStreams.end()) return;
    Stream& s = *it->second;
    StopLocked(s);
    s.Source = std::move(src);
    s.OnEnd = std::move(onEnd);
    s.Active = true;
    s.Paused = false;
    s.Draining = false;
    s.Pulled = 0;
    s.Heard = 0;
    s.Credit = 0;
    s.Fifo.clear();
    s.Resampler.Setup(s.Rate, kDeviceRate, 2);
    if (FBackend.K == TBackend::File) {
      char name[32];
      std::snprintf(name, sizeof name, "/play-%03d.wav", gNextFile++);
      s.FileName = FBackend.Param + name;
      s.File = std::make_unique<TFloatWavWriter>();
      if (!s.File->Open(s.FileName, s.Rate, s.Channels)) s.File.reset();
    }
    FWake.notify_all();
  }
  void Stop(int id) {
    std::lock_guard l(FLock);
    auto it = FStreams.find(id);
    if (it != FStreams.end()) StopLocked(*it->second);
  }
  // Frames of the stream pulled but not yet heard; FLock held.
  int64_t Latency(const Stream& s) const {
    if (FBackend.K != TBackend::Alsa) return s.Pulled - s.Heard;
    const double step = s.Resampler.Step();
    return int64_t(double(FDelay.load() + int64_t(s.Fifo.size()) / 2) * step) +
           s.Resampler.CarryFrames();
  }
  // Manual clock: the work of `seconds` of device time.
  void Advance(double seconds) {
    std::lock_guard l(FLock);
    StepTimed(seconds);
  }

 private:
  static void StopLocked(Stream& s) {
    s.Active = false;
    s.Draining = false;
    s.Source = nullptr;
    s.OnEnd = nullptr;
    if (s.File) s.File->Close();
    s.File.reset();
  }
  void Ended(Stream& s) {
    auto onEnd = std::move(s.OnEnd);
    StopLocked(s);
    if (onEnd) onEnd();
  }

  // Null and file backends: each stream is consumed at its own rate on one clock, through a
  // device buffer of kTimedLatencyMs that is kept full ahead of the listener.
  void RunTimed() {
    auto last = Clock::now();
    std::unique_lock l(FLock);
    while (!FQuit) {
      FWake.wait_until(l, last + std::chrono::milliseconds(kTickMs));
      if (FQuit) break;
      const auto now = Clock::now();
      const double dt = std::chrono::duration<double>(now - last).count();
      last = now;
      if (!gManualClock) StepTimed(dt);
    }
  }

  void StepTimed(double seconds) {
    for (auto& [id, sp] : FStreams) {
      Stream& s = *sp;
      if (!s.Active || s.Paused) continue;
      s.Credit += seconds * s.Rate;
      const int64_t n = int64_t(s.Credit);
      s.Credit -= double(n);
      const int64_t want = s.Heard + n + int64_t(s.Rate) * kTimedLatencyMs / 1000 - s.Pulled;
      if (!s.Draining && want > 0) {
        FTimedBuf.assign(size_t(want * s.Channels), 0.f);
        const int64_t got =
            std::max<int64_t>(0, std::min(want, s.Source(FTimedBuf.data(), want)));
        if (s.Gain != 1)
          for (int64_t i = 0; i < got * s.Channels; ++i) FTimedBuf[size_t(i)] *= s.Gain;
        if (s.File) s.File->Write(FTimedBuf.data(), got);
        s.Pulled += got;
        if (got < want) s.Draining = true;
      }
      s.Heard = std::min(s.Heard + n, s.Pulled.load());
      if (s.Draining && s.Heard >= s.Pulled) Ended(s);
    }
  }

  // ALSA: one stereo stream at the device rate; every stream is converted and mixed into it.
  void RunAlsa() {
    constexpr int64_t period = kDeviceRate * kTickMs / 1000;
    std::vector<float> mix(size_t(period * 2)), pulled, mapped;
    std::vector<int16_t> s16(size_t(period * 2));
    for (;;) {
      {
        std::unique_lock l(FLock);
        if (FQuit) return;
        // Nothing to play: the device is left to run dry (recovered on the next write) rather
        // than fed silence.
        const bool idle = std::none_of(FStreams.begin(), FStreams.end(), [](auto& p) {
          return p.second->Active && !p.second->Paused;
        });
        if (idle) {
          FDelay = 0;
          FWake.wait_for(l, std::chrono::milliseconds(kTickMs));
          continue;
        }
        std::fill(mix.begin(), mix.end(), 0.f);
        for (auto& [id, sp] : FStreams) {
          Stream& s = *sp;
          if (!s.Active || s.Paused) continue;
          if (s.Draining && s.Fifo.empty()) {
            if (FWritten - FDelay.load() >= s.EndAt) Ended(s);
            continue;
          }
          while (int64_t(s.Fifo.size()) < period * 2 && !s.Draining) {
            const int64_t want = int64_t(std::ceil(double(period) * s.Resampler.Step())) + 2;
            pulled.assign(size_t(want * s.Channels), 0.f);
            int64_t got = std::max<int64_t>(0, std::min(want, s.Source(pulled.data(), want)));
            s.Pulled += got;
            if (got < want) {
              s.Draining = true;
              // Pushes the rest out of the interpolator.
              std::fill(pulled.begin() + got * s.Channels, pulled.end(), 0.f);
              got = want;
            }
            mapped.clear();
            MapChannels(pulled.data(), got, s.Channels, 2, mapped);
            s.Resampler.Push(mapped.data(), got, s.Fifo);
          }
          const int64_t take = std::min<int64_t>(period * 2, int64_t(s.Fifo.size()));
          for (int64_t i = 0; i < take; ++i) mix[size_t(i)] += s.Fifo[size_t(i)] * s.Gain;
          s.Fifo.erase(s.Fifo.begin(), s.Fifo.begin() + take);
          // An ended source still has what waits in the FIFO mixed, over as many periods as it
          // takes; it has been heard once the device has played past the last of them.
          if (s.Draining && s.Fifo.empty()) s.EndAt = FWritten + period;
        }
      }
      const void* data = mix.data();
      if (!FFloat) {
        for (size_t i = 0; i < mix.size(); ++i)
          s16[i] = int16_t(std::lrint(std::clamp(mix[i], -1.f, 1.f) * 32767.f));
        data = s16.data();
      }
      int64_t done = 0;
      while (done < period) {
        const char* p = static_cast<const char*>(data) + done * 2 * (FFloat ? 4 : 2);
        snd_pcm_sframes_t w = TakeFault(gPlaybackFault, FPcm);
        if (w == 0) w = snd_pcm_writei(FPcm, p, snd_pcm_uframes_t(period - done));
        if (w < 0) {
          if (!RecoverPcm(FPcm, int(w))) {
            std::this_thread::sleep_for(std::chrono::milliseconds(kTickMs));
            break;
          }
          continue;
        }
        done += w;
      }
      snd_pcm_sframes_t delay = 0;
      if (snd_pcm_delay(FPcm, &delay) < 0) delay = 0;
      std::lock_guard l(FLock);
      FWritten += period;
      FDelay = int64_t(delay);
    }
  }

  TBackend FBackend;
  std::mutex FLock;
  std::condition_variable FWake;
  std::thread FThread;
  bool FQuit = false;
  int FNextId = 0;
  std::map<int, std::unique_ptr<Stream>> FStreams;
  snd_pcm_t* FPcm = nullptr;
  bool FFloat = true;
  int64_t FWritten = 0;
  std::atomic<int64_t> FDelay{0};
  std::vector<float> FTimedBuf;
};

TWaveOutStream::TWaveOutStream() = default;
TWaveOutStream::~TWaveOutStream() { Close(); }

int TWaveOutStream::Open(int sampleRate, int channels) {
  Close();
  if (!FormatOk(sampleRate, channels)) return wrBadFormat;
  int result = wrOk;
  auto out = TWaveOutput::Get(CurrentBackend(), result);
  if (!out) return result;
  FOutput = out;
  FId = out->Add(sampleRate, channels);
  FRate = sampleRate;
  FChannels = channels;
  return wrOk;
}

void TWaveOutStream::Close() {
  if (!FOutput) return;
  FOutput->Remove(FId);
  FOutput.reset();
  FId = 0;
}

void TWaveOutStream::Start(TSource source, TEndHandler onEnd) {
  if (FOutput) FOutput->Start(FId, std::move(source), std::move(onEnd));
}

void TWaveOutStream::Stop() {
  if (FOutput) FOutput->Stop(FId);
}

void TWaveOutStream::SetPaused(bool paused) {
  if (FOutput)
    FOutput->With(FId, [&](TWaveOutput::Stream* s) {
      if (s) s->Paused = paused;
      return 0;
    });
}

bool TWaveOutStream::Paused() const {
  return FOutput && FOutput->With(FId, [](TWaveOutput::Stream* s) { return s && s->Paused; });
}

bool TWaveOutStream::Active() const {
  return FOutput && FOutput->With(FId, [](TWaveOutput::Stream* s) { return s && s->Active; });
}

void TWaveOutStream::SetGain(float gain) {
  if (FOutput)
    FOutput->With(FId, [&](TWaveOutput::Stream* s) {
      if (s) s->Gain = gain;
      return 0;
    });
}

int64_t TWaveOutStream::LatencyFrames() const {
  if (!FOutput) return 0;
  return FOutput->With(FId, [&](TWaveOutput::Stream* s) { return s ? FOutput->Latency(*s) : 0; });
}

int64_t TWaveOutStream::PlayedFrames() const {
  if (!FOutput) return 0;
  return FOutput->With(FId, [&](TWaveOutput::Stream* s) -> int64_t {
    return s ? std::max<int64_t>(0, s->Pulled - FOutput->Latency(*s)) : 0;
  });
}

std::string TWaveOutStream::FileName() const {
  if (!FOutput) return {};
  return FOutput->With(FId, [](TWaveOutput::Stream* s) { return s ? s->FileName : std::string(); });
}

// ---------------------------------------------------------------------------------------------
// The shared capture

class TWaveCapture {
 public:
  struct Sink {
    int Rate = 0, Channels = 0;
    TWaveInStream::TSink Deliver;
    TResampler Resampler;
  };

  TWaveCapture(const TBackend& b, int device) : FBackend(b), FDevice(device) {}
  ~TWaveCapture() {
    LeaveManualClock(this);
    FQuit = true;
    if (FThread.joinable()) FThread.join();
    if (FPcm) snd_pcm_close(FPcm);
  }

  static std::shared_ptr<TWaveCapture> Get(const TBackend& b, int device, int& result) {
    static std::mutex regLock;
    static std::map<std::string, std::weak_ptr<TWaveCapture>> reg;
    std::lock_guard l(regLock);
    auto& w = reg[b.Key() + "#" + std::to_string(device)];
    auto cap = w.lock();
    result = wrOk;
    if (!cap) {
      cap = std::make_shared<TWaveCapture>(b, device);
      result = cap->Begin();
      if (result != wrOk) return nullptr;
      w = cap;
    }
    return cap;
  }

  int Begin() {
    switch (FBackend.K) {
      case TBackend::Null:
        FRate = 44100;
        FChannels = 2;
        break;
      case TBackend::File:
        FFile = std::make_unique<TWavInput>();
        if (!FFile->Open(FBackend.Param + "/input.wav")) return wrNoDevice;
        FRate = FFile->Rate();
        FChannels = FFile->Channels();
        if (FChannels > 2) return wrBadFormat;
        break;
      case TBackend::Alsa: {
        std::string name = FBackend.Param;
        if (FDevice >= 0 && name == "default") {
          int card = -1, index = 0;
          while (snd_card_next(&card) == 0 && card >= 0 && index < FDevice) ++index;
          if (card >= 0) name = "plughw:" + std::to_string(card);
        }
        int err = OpenPcm(&FPcm, name, SND_PCM_STREAM_CAPTURE);
        if (err < 0) {
          FPcm = nullptr;
          return AlsaResult(err);
        }
        FRate = kDeviceRate;
        FChannels = 2;
        err = snd_pcm_set_params(FPcm, SND_PCM_FORMAT_FLOAT_LE, SND_PCM_ACCESS_RW_INTERLEAVED, 2,
                                 kDeviceRate, 1, kAlsaLatencyUs);
        if (err < 0) {
          snd_pcm_close(FPcm);
          FPcm = nullptr;
          return AlsaResult(err);
        }
        break;
      }
    }
    if (!FPcm) JoinManualClock(this);
    FThread = std::thread([this] { Run(); });
    return wrOk;
  }

  int Add(int rate, int channels, TWaveInStream::TSink sink) {
    std::lock_guard l(FLock);
    const int id = ++FNextId;
    auto s = std::make_unique<Sink>();
    s->Rate = rate;
    s->Channels = channels;
    s->Deliver = std::move(sink);
    s->Resampler.Setup(FRate, rate, channels);
    FSinks[id] = std::move(s);
    return id;
  }
  void Remove(int id) {
    std::lock_guard l(FLock);
    FSinks.erase(id);
  }

 // Manual clock: the input of `seconds` of device time.
  void Advance(double seconds) {
    std::lock_guard l(FLock);
    FCredit += seconds * FRate;
    const int64_t n = int64_t(FCredit);
    FCredit -= double(n);
    std::vector<float> in(size_t(n * FChannels), 0.f);
    if (FFile) FFile->Read(in.data(), n);
    DeliverLocked(in.data(), n);
  }

 private:
  void Run() {
    const int64_t period = int64_t(FRate) * kTickMs / 1000;
    std::vector<float> in(size_t(period * FChannels));
    auto next = Clock::now();
    while (!FQuit) {
      int64_t got = period;
      if (FPcm) {
        snd_pcm_sframes_t r = TakeFault(gCaptureFault, FPcm);
        if (r == 0) r = snd_pcm_readi(FPcm, in.data(), snd_pcm_uframes_t(period));
        if (r < 0) {
          if (!RecoverPcm(FPcm, int(r)))
            std::this_thread::sleep_for(std::chrono::milliseconds(kTickMs));
          continue;
        }
        got = r;
      } else {
        next += std::chrono::milliseconds(kTickMs);
        std::this_thread::sleep_until(next);
        if (gManualClock) {
          next = Clock::now();
          continue;
        }
        std::lock_guard l(FLock);
        std::fill(in.begin(), in.end(), 0.f);
        if (FFile) FFile->Read(in.data(), period);
        DeliverLocked(in.data(), got);
        continue;
      }
      std::lock_guard l(FLock);
      DeliverLocked(in.data(), got);
    }
  }

  void DeliverLocked(const float* in, int64_t frames) {
    for (auto& [id, sp] : FSinks) {
      Sink& s = *sp;
      FMapped.clear();
      MapChannels(in, frames, FChannels, s.Channels, FMapped);
      FOut.clear();
      s.Resampler.Push(FMapped.data(), frames, FOut);
      if (!FOut.empty()) s.Deliver(FOut.data(), int64_t(FOut.size()) / s.Channels);
    }
  }

  TBackend FBackend;
  int FDevice;
  std::mutex FLock;
  std::thread FThread;
  std::atomic<bool> FQuit{false};
  int FNextId = 0;
  std::map<int, std::unique_ptr<Sink>> FSinks;
  int FRate = 0, FChannels = 0;
  snd_pcm_t* FPcm = nullptr;
  std::unique_ptr<TWavInput> FFile;
  double FCredit = 0;
  std::vector<float> FMapped, FOut;
};

TWaveInStream::TWaveInStream() = default;
TWaveInStream::~TWaveInStream() { Close(); }

int TWaveInStream::Open(int sampleRate, int channels, TSink sink, int device) {
  Close();
  if (!FormatOk(sampleRate, channels)) return wrBadFormat;
  int result = wrOk;
  auto cap = TWaveCapture::Get(CurrentBackend(), device, result);
  if (!cap) return result;
  FCapture = cap;
  FId = cap->Add(sampleRate, channels, std::move(sink));
  return wrOk;
}

void TWaveInStream::Close() {
  if (!FCapture) return;
  FCapture->Remove(FId);
  FCapture.reset();
  FId = 0;
}

// ---------------------------------------------------------------------------------------------
// Devices and mixer lines

namespace {

std::mutex gLineLock;
std::map<std::pair<int, int>, int> gLineVolumes;  // lines without a hardware mixer
std::map<int, int> gSelectedLine;

std::vector<int> CaptureCards() {
  std::vector<int> cards;
  int card = -1;
  while (snd_card_next(&card) == 0 && card >= 0) cards.push_back(card);
  return cards;
}

// Whether one of the card's PCM devices records.
bool CardCanCapture(int card) {
  snd_ctl_t* ctl = nullptr;
  if (snd_ctl_open(&ctl, ("hw:" + std::to_string(card)).c_str(), 0) < 0) return false;
  bool found = false;
  snd_pcm_info_t* info = nullptr;
  snd_pcm_info_malloc(&info);
  int dev = -1;
  while (!found && snd_ctl_pcm_next_device(ctl, &dev) == 0 && dev >= 0) {
    snd_pcm_info_set_device(info, unsigned(dev));
    snd_pcm_info_set_subdevice(info, 0);
    snd_pcm_info_set_stream(info, SND_PCM_STREAM_CAPTURE);
    found = snd_ctl_pcm_info(ctl, info) >= 0;
  }
  snd_pcm_info_free(info);
  snd_ctl_close(ctl);
  return found;
}

// Runs `f` on each capture element of the card's mixer; false when there is no mixer.
template <class F>
bool ForEachCaptureElement(int device, F f) {
  auto cards = CaptureCards();
  if (device < 0 || device >= int(cards.size())) return false;
  snd_mixer_t* mixer = nullptr;
  if (snd_mixer_open(&mixer, 0) < 0) return false;
  const std::string hw = "hw:" + std::to_string(cards[size_t(device)]);
  bool ok = snd_mixer_attach(mixer, hw.c_str()) >= 0 &&
            snd_mixer_selem_register(mixer, nullptr, nullptr) >= 0 && snd_mixer_load(mixer) >= 0;
  if (ok) {
    int index = 0;
    for (snd_mixer_elem_t* e = snd_mixer_first_elem(mixer); e; e = snd_mixer_elem_next(e)) {
      if (!snd_mixer_selem_is_active(e)) continue;
      if (!snd_mixer_selem_has_capture_volume(e) && !snd_mixer_selem_has_capture_switch(e))
        continue;
      f(index++, e);
    }
  }
  snd_mixer_close(mixer);
  return ok;
}

bool HardwareLines() { return CurrentBackend().K == TBackend::Alsa; }

}  // namespace

namespace {
std::mutex gDeviceOverrideLock;
std::optional<std::vector<TWaveInDeviceInfo>> gDeviceOverride;
}  // namespace

std::vector<TWaveInDeviceInfo> WaveInDevices() {
  {
    std::lock_guard l(gDeviceOverrideLock);
    if (gDeviceOverride) return *gDeviceOverride;
  }
  const TBackend b = CurrentBackend();
  if (b.K == TBackend::Null) return {{"Null sound input", true}};
  if (b.K == TBackend::File) return {{"Sound file input", true}};
  std::vector<TWaveInDeviceInfo> list;
  for (int card : CaptureCards()) {
    char* name = nullptr;
    TWaveInDeviceInfo info;
    info.Usable = CardCanCapture(card);
    info.Name = snd_card_get_name(card, &name) == 0 && name ? name : "Card " + std::to_string(card);
    std::free(name);
    list.push_back(info);
  }
  if (list.empty()) list.push_back({"Default sound input", true});
  return list;
}

std::vector<TMixerLineInfo> MixerLines(int device) {
  std::vector<TMixerLineInfo> lines;
  if (HardwareLines()) {
    ForEachCaptureElement(device, [&](int, snd_mixer_elem_t* e) {
      TMixerLineInfo l;
      l.Name = snd_mixer_selem_get_name(e);
      l.HasVolume = snd_mixer_selem_has_capture_volume(e);
      int on = 0;
      if (snd_mixer_selem_has_capture_switch(e))
        snd_mixer_selem_get_capture_switch(e, SND_MIXER_SCHN_FRONT_LEFT, &on);
      l.IsSource = on != 0;
      lines.push_back(l);
    });
  }
  if (lines.empty()) {
    TMixerLineInfo l;
    l.Name = "Line In";
    l.HasVolume = !HardwareLines();
    l.IsSource = true;
    lines.push_back(l);
  }
  return lines;
}

int MixerLineVolume(int device, int line) {
  int volume = -1;
  if (HardwareLines()) {
    ForEachCaptureElement(device, [&](int i, snd_mixer_elem_t* e) {
      if (i != line || !snd_mixer_selem_has_capture_volume(e)) return;
      long lo = 0, hi = 0, v = 0;
      snd_mixer_selem_get_capture_volume_range(e, &lo, &hi);
      snd_mixer_selem_get_capture_volume(e, SND_MIXER_SCHN_FRONT_LEFT, &v);
      volume = hi > lo ? int((v - lo) * 65535 / (hi - lo)) : 0;
    });
  }
  if (volume >= 0) return volume;
  std::lock_guard l(gLineLock);
  auto it = gLineVolumes.find({device, line});
  return it == gLineVolumes.end() ? 65535 : it->second;
}

void SetMixerLineVolume(int device, int line, int volume) {
  volume = std::clamp(volume, 0, 65535);
  bool done = false;
  if (HardwareLines()) {
    ForEachCaptureElement(device, [&](int i, snd_mixer_elem_t* e) {
      if (i != line || !snd_mixer_selem_has_capture_volume(e)) return;
      long lo = 0, hi = 0;
      snd_mixer_selem_get_capture_volume_range(e, &lo, &hi);
      snd_mixer_selem_set_capture_volume_all(e, lo + (hi - lo) * volume / 65535);
      done = true;
    });
  }
  if (done) return;
  std::lock_guard l(gLineLock);
  gLineVolumes[{device, line}] = volume;
}

void SelectMixerLine(int device, int line) {
  if (HardwareLines()) {
    ForEachCaptureElement(device, [&](int i, snd_mixer_elem_t* e) {
      if (i == line && snd_mixer_selem_has_capture_switch(e))
        snd_mixer_selem_set_capture_switch_all(e, 1);
    });
  }
  std::lock_guard l(gLineLock);
  gSelectedLine[device] = line;
}

// ---------------------------------------------------------------------------------------------
// Test seams

void SetWaveClockManual(bool manual) { gManualClock = manual; }

void AdvanceWaveClock(int ms) {
  std::lock_guard l(gTimedLock);
  for (int done = 0; done < ms; done += kTickMs) {
    const double seconds = double(std::min(kTickMs, ms - done)) / 1000.0;
    for (TWaveOutput* o : gTimedOutputs) o->Advance(seconds);
    for (TWaveCapture* c : gTimedCaptures) c->Advance(seconds);
  }
}

void OverrideWaveInDevices(std::optional<std::vector<TWaveInDeviceInfo>> devices) {
  std::lock_guard l(gDeviceOverrideLock);
  gDeviceOverride = std::move(devices);
}

void InjectWaveFault(bool capture, int error) {
  (capture ? gCaptureFault : gPlaybackFault) = error;
}
