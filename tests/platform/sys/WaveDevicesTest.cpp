#include "platform/sys/WaveDevices.h"

#include <alsa/asoundlib.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <algorithm>
#include <condition_variable>
#include <cstring>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <string>
#include <vector>

#include "common/TestEnv.h"

namespace {

class ScopedAudio {
 public:
  explicit ScopedAudio(const std::string& value) {
    const char* old = std::getenv("SONALIX_AUDIO");
    FOld = old ? old : "";
    setenv("SONALIX_AUDIO", value.c_str(), 1);
  }
  ~ScopedAudio() { setenv("SONALIX_AUDIO", FOld.c_str(), 1); }

 private:
  std::string FOld;
};

// Frame f of the test sound: f / 2^16 on the left, its negative on the right (exact in float).
float RampValue(int64_t f, int channel) { return float(f) / 65536.f * (channel ? -1.f : 1.f); }

std::vector<float> ReadFloats(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::vector<float> v(bytes.size() / sizeof(float));
  std::memcpy(v.data(), bytes.data(), v.size() * sizeof(float));
  return v;
}

struct Signal {
  std::mutex Lock;
  std::condition_variable Changed;
  bool Set = false;
  void Raise() {
    std::lock_guard l(Lock);
    Set = true;
    Changed.notify_all();
  }
  // Bounded only so that a stuck device thread fails the test instead of hanging it.
  bool Wait() {
    std::unique_lock l(Lock);
    return Changed.wait_for(l, std::chrono::seconds(20), [&] { return Set; });
  }
};

// Each fault the driver reports mid-stream: a run dry or over, and a suspended device.
const int kFaults[] = {-EPIPE, -ESTRPIPE};

}  // namespace

TEST(WaveDevices, AlsaPlaybackRecoversFromFaultsAndDeliversEveryFrameInOrder) {
  constexpr int64_t kFrames = 48199;  // ends late in a device period
  for (int fault : kFaults) {
    SCOPED_TRACE(fault);
    const auto dir = sonalix::test::MakeTempDir("xrun-play");
    const std::string raw = (dir / "device.raw").string();
    // ALSA's own file PCM: what reaches the device is written to `raw` as it is played.
    ScopedAudio audio("alsa:file:FILE=" + raw + ",FORMAT=raw");
    TWaveOutStream out;
    ASSERT_EQ(out.Open(48000, 2), wrOk);
    std::atomic<int64_t> given{0};
    std::atomic<int> injected{0};
    Signal ended;
    out.Start(
        [&](float* v, int64_t frames) -> int64_t {
          const int64_t from = given;
          const int64_t n = std::min(frames, kFrames - from);
          for (int64_t f = 0; f < n; ++f)
            for (int c = 0; c < 2; ++c) v[f * 2 + c] = RampValue(from + f, c);
          given += n;
          // Two faults, each hitting the write that carries frames already taken.
          if ((from < 12000 && given >= 12000) || (from < 30000 && given >= 30000)) {
            InjectWaveFault(false, fault);
            ++injected;
          }
          return n;
        },
        [&] { ended.Raise(); });
    ASSERT_TRUE(ended.Wait()) << "the stream ends after the faults";
    EXPECT_EQ(injected, 2);
    EXPECT_FALSE(out.Active());
    out.Close();  // joins the device thread
    const std::vector<float> got = ReadFloats(raw);
    ASSERT_GE(got.size(), size_t(kFrames * 2));
    for (int64_t f = 0; f < kFrames; ++f)
      for (int c = 0; c < 2; ++c)
        ASSERT_EQ(got[size_t(f * 2 + c)], RampValue(f, c)) << "frame " << f;
    for (size_t i = size_t(kFrames * 2); i < got.size(); ++i)
      ASSERT_EQ(got[i], 0.f) << "only silence after the end";
  }
}

TEST(WaveDevices, AlsaCaptureRecoversFromFaultsAndDeliversLaterFramesInOrder) {
  constexpr int64_t kFrames = 16 * 48000, kChecked = 24000;
  const auto dir = sonalix::test::MakeTempDir("xrun-capture");
  const std::string input = (dir / "input.raw").string();
  {
    std::vector<float> v(size_t(kFrames * 2));
    for (int64_t f = 0; f < kFrames; ++f)
      for (int c = 0; c < 2; ++c) v[size_t(f * 2 + c)] = RampValue(f + 1, c);
    std::ofstream(input, std::ios::binary)
        .write(reinterpret_cast<const char*>(v.data()), std::streamsize(v.size() * sizeof(float)));
  }
  // A capture PCM that reads `input` (ALSA's file PCM over its null PCM), defined in the test's
  // own home folder; the configuration is read again at the next open.
  std::ofstream(std::string(std::getenv("HOME")) + "/.asoundrc")
      << "pcm.sonalix_test_input { type file slave.pcm null file \"/dev/null\" infile \""
      << input << "\" format raw }\n";
  snd_config_update_free_global();
  ScopedAudio audio("alsa:sonalix_test_input");
  // ALSA's file plugin may skip ahead in its input file when the machine is loaded (at start as
  // well as across the over-run), and once the file is used up it repeats its last buffer. What
  // can be relied on is the order of the frames taken from the file, so the check stops at the
  // file's end; a run that reached the end before enough frames came is played again.
  for (int fault : kFaults) {
    SCOPED_TRACE(fault);
    int64_t checked = 0;
    for (int attempt = 0; attempt < 5 && checked < kChecked; ++attempt) {
      std::mutex lock;
      std::vector<float> heard;
      std::atomic<int> injected{0};
      Signal enough;
      TWaveInStream in;
      ASSERT_EQ(in.Open(48000, 2,
                        [&](const float* v, int64_t frames) {
                          std::lock_guard l(lock);
                          const size_t before = heard.size();
                          heard.insert(heard.end(), v, v + frames * 2);
                          if (before < 4000 * 2 && heard.size() >= 4000 * 2) {
                            InjectWaveFault(true, fault);
                            ++injected;
                          }
                          if (heard.size() >= size_t(kChecked * 2)) enough.Raise();
                        }),
                wrOk);
      ASSERT_TRUE(enough.Wait()) << "capture goes on after the fault";
      in.Close();
      EXPECT_EQ(injected, 1);
      std::lock_guard l(lock);
      // Frames come in the order captured: the ramp rises through the fault, none repeated.
      int64_t last = 0;
      checked = 0;
      for (size_t i = 0; i < size_t(kChecked * 2) && last < kFrames; i += 2, ++checked) {
        const float v = heard[i];
        const int64_t f = int64_t(v * 65536.f);
        ASSERT_GT(f, last) << "value " << i / 2;
        ASSERT_EQ(heard[i + 1], -v);
        last = f;
      }
    }
    EXPECT_GE(checked, kChecked) << "frames after the fault arrived";
  }
}
