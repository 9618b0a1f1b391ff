#pragma once
// Helpers for tests of the sound devices: a backend chosen for one test, the null and file
// backends' clock moved by the test, waiting for posted news of devices that run in real time
// (bounded), and WAV files read back.
#include <QCoreApplication>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>

#include "audio/SampleBuffer.h"
#include "audio/WavFile.h"
#include "platform/sys/WaveDevices.h"

namespace audiotest {

class ScopedBackend {
 public:
  explicit ScopedBackend(const std::string& value) {
    const char* old = std::getenv("SONALIX_AUDIO");
    FOld = old ? old : "";
    FHad = old != nullptr;
    setenv("SONALIX_AUDIO", value.c_str(), 1);
  }
  ~ScopedBackend() {
    if (FHad)
      setenv("SONALIX_AUDIO", FOld.c_str(), 1);
    else
      unsetenv("SONALIX_AUDIO");
  }

 private:
  std::string FOld;
  bool FHad;
};

// Runs posted calls until `done` holds or `ms` pass; returns `done()`.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (!done() && std::chrono::steady_clock::now() < end) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  QCoreApplication::processEvents();
  return done();
}

// The null and file backends' clock, moved by the test alone while this lives.
class ManualClock {
 public:
  ManualClock() { SetWaveClockManual(true); }
  ~ManualClock() { SetWaveClockManual(false); }
  ManualClock(const ManualClock&) = delete;
  ManualClock& operator=(const ManualClock&) = delete;
  // Device time passes; then the GUI thread runs what the devices posted meanwhile.
  void Advance(int ms) {
    AdvanceWaveClock(ms);
    QCoreApplication::processEvents();
  }
  // Advances in device periods until `done` holds or `maxMs` of device time have passed.
  bool RunUntil(const std::function<bool()>& done, int maxMs = 20000) {
    for (int t = 0; t < maxMs && !done(); t += 10) Advance(10);
    return done();
  }
};

inline void PumpFor(int ms) {
  PumpUntil([] { return false; }, ms);
}

inline SampleBuffer ReadWav(const std::string& path) {
  WavReader r(path);
  SampleBuffer b(r.Info().Channels, r.Info().SampleRate, r.Info().Frames);
  b.ResizeFrames(r.Read(b.Data(), r.Info().Frames));
  return b;
}

}  // namespace audiotest
