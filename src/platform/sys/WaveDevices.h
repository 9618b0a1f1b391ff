#pragma once
// Sound devices. Every playback stream of the process plays through one shared output, which
// mixes them, and every recorder reads one shared capture stream, so several editors, the
// preview player, the recorder and the level monitor use the devices at once.
//
// The backend comes from SONALIX_AUDIO, read when a stream opens:
//   unset or "alsa"   ALSA's "default" device; "alsa:NAME" another ALSA PCM;
//   "null"            no device, real timing: playback is consumed, capture is silence;
//   "file:DIR"        playback of each started stream goes to DIR/play-NNN.wav (32-bit float, the
//                     stream's own format), capture reads DIR/input.wav in real time and gives
//                     silence after its end.
// Like a sound card, the null and file backends take playback 40 ms ahead of what is heard, so
// that positions and levels are corrected for latency there too.
// Device threads only move samples: a playback stream pulls frames from its source and a capture
// stream pushes frames to its sink, both on the device thread; everything else is the caller's.
// Samples are interleaved floats, full scale -1..1.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Results of opening a stream.
enum TWaveResult : int {
  wrOk = 0,
  wrError = 1,       // the device failed
  wrNoDevice = 2,    // no such device
  wrBusy = 4,        // the device is used elsewhere
  wrBadFormat = 32,  // the format is refused
};
std::string WaveResultText(int result);

// The formats a stream takes. The sound card itself runs at kWaveDeviceRate, stereo: the ALSA
// output converts every stream to that.
constexpr int kWaveMinRate = 1000, kWaveMaxRate = 384000, kWaveMaxChannels = 2;
constexpr int kWaveDeviceRate = 48000;

class TWaveOutput;
class TWaveCapture;

class TWaveOutStream {
 public:
  // Fills `out` with up to `frames` frames and returns how many it gave; fewer means the sound has
  // ended. Runs on the device thread.
  using TSource = std::function<int64_t(float* out, int64_t frames)>;
  // Runs on the device thread once the last frame of an ended source has been played.
  using TEndHandler = std::function<void()>;

  TWaveOutStream();
  ~TWaveOutStream();
  TWaveOutStream(const TWaveOutStream&) = delete;
  TWaveOutStream& operator=(const TWaveOutStream&) = delete;

  // Joins the shared output with this format (see kWaveMaxRate and kWaveMaxChannels).
  // Returns a TWaveResult; an open stream is closed first.
  int Open(int sampleRate, int channels);
  void Close();
  bool IsOpen() const { return FOutput != nullptr; }
  int SampleRate() const { return FRate; }
  int Channels() const { return FChannels; }

  // Starts pulling from `source` (from the beginning: PlayedFrames restarts at 0).
  void Start(TSource source, TEndHandler onEnd);
  // When this returns, the source and the end handler are no longer called.
  void Stop();
  void SetPaused(bool paused);
  bool Paused() const;
  bool Active() const;  // started and not ended or stopped

  // Linear gain applied by the output (1 is unity).
  void SetGain(float gain);

  // Frames of the source that have reached the listener since Start: what was pulled less what
  // still waits in the device.
  int64_t PlayedFrames() const;
  // The output's delay in this stream's frames.
  int64_t LatencyFrames() const;
  // The file the file backend writes for the current or last start; empty elsewhere.
  std::string FileName() const;

 private:
  friend class TWaveOutput;
  std::shared_ptr<TWaveOutput> FOutput;
  int FId = 0;
  int FRate = 0, FChannels = 0;
};

class TWaveInStream {
 public:
  // Receives captured frames in the stream's format. Runs on the device thread.
  using TSink = std::function<void(const float* values, int64_t frames)>;

  TWaveInStream();
  ~TWaveInStream();
  TWaveInStream(const TWaveInStream&) = delete;
  TWaveInStream& operator=(const TWaveInStream&) = delete;

  // Joins the shared capture stream of device `device` (0-based index into WaveInDevices(); -1 the
  // default) and starts delivering. Returns a TWaveResult.
  int Open(int sampleRate, int channels, TSink sink, int device = -1);
  // When this returns, the sink is no longer called.
  void Close();
  bool IsOpen() const { return FCapture != nullptr; }

 private:
  std::shared_ptr<TWaveCapture> FCapture;
  int FId = 0;
};

// Capture devices and their mixer lines.
struct TWaveInDeviceInfo {
  std::string Name;
  bool Usable = true;
};
std::vector<TWaveInDeviceInfo> WaveInDevices();

struct TMixerLineInfo {
  std::string Name;
  bool HasVolume = false;
  bool IsSource = false;  // the line recording currently takes its sound from
};
// Every device reports at least one line. Volumes are 0..65535.
std::vector<TMixerLineInfo> MixerLines(int device);
int MixerLineVolume(int device, int line);
void SetMixerLineVolume(int device, int line, int volume);
// Makes the line the recording source.
void SelectMixerLine(int device, int line);

// The backend's description: "alsa", "null" or "file".
std::string WaveBackendKind();

// Test seams.
// A manual clock stops the null and file backends; AdvanceWaveClock then does the device work of
// `ms` milliseconds (pulling, writing, capturing) on the calling thread before it returns.
void SetWaveClockManual(bool manual);
void AdvanceWaveClock(int ms);
// The next write of ALSA playback (or read of ALSA capture) fails with `error` (-EPIPE for an
// under- or over-run, -ESTRPIPE for a suspended device), the PCM stopped as the driver stops it.
void InjectWaveFault(bool capture, int error);
// The capture devices WaveInDevices reports instead of the backend's (names and usability only;
// every one captures from the backend); nullopt gives the backend's list back.
void OverrideWaveInDevices(std::optional<std::vector<TWaveInDeviceInfo>> devices);
