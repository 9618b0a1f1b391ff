#include "audio/AudioRecorder.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/DspKernels.h"

struct AudioRecorder::Capture {
  int Channels = 2, Rate = 44100;
  int64_t BlockFrames = 1;
  TVoiceActivation Voice;
  std::function<void(std::function<void()>)> Post;
  std::function<void()> Notify;

  // Device thread only.
  std::vector<float> Finite;   // the frames just received, NaN and infinities made 0
  std::vector<float> Pending;  // frames of the block being filled
  std::vector<float> Window;   // part of a 10 ms window (voice activation)
  std::deque<float> PreRoll;   // frames heard while waiting for the attack
  bool Open = false;           // voice activation: passing frames
  int64_t AboveFrames = 0, BelowFrames = 0;

  std::mutex Lock;
  std::deque<SampleBuffer> Ready;

  void Receive(const float* in, int64_t frames) {
    Finite.assign(in, in + frames * Channels);
    DspMakeFinite(Finite.data(), Finite.size());
    const float* v = Finite.data();
    if (!Voice.Enabled) {
      Keep(v, frames);
      return;
    }
    const int64_t w = std::max(1, Rate / 100);
    for (int64_t f = 0; f < frames; ++f) {
      Window.insert(Window.end(), v + f * Channels, v + (f + 1) * Channels);
      if (int64_t(Window.size()) == w * Channels) {
        Gate(Window.data(), w);
        Window.clear();
      }
    }
  }

  void Gate(const float* v, int64_t frames) {
    float peak = 0;
    for (int64_t i = 0; i < frames * Channels; ++i) peak = std::max(peak, std::fabs(v[i]));
    const double db = peak > 0 ? 20 * std::log10(double(peak)) : -1000.0;
    const int64_t attack = int64_t(Voice.AttackTime) * Rate / 1000;
    const int64_t release = int64_t(Voice.ReleaseTime) * Rate / 1000;
    if (!Open) {
      AboveFrames = db >= Voice.AttackLevel ? AboveFrames + frames : 0;
      PreRoll.insert(PreRoll.end(), v, v + frames * Channels);
      while (int64_t(PreRoll.size()) > std::max(attack, frames) * Channels)
        PreRoll.erase(PreRoll.begin(), PreRoll.begin() + Channels);
      if (AboveFrames > 0 && AboveFrames >= attack) {
        Open = true;
        BelowFrames = 0;
        std::vector<float> pre(PreRoll.begin(), PreRoll.end());
        PreRoll.clear();
        Keep(pre.data(), int64_t(pre.size()) / Channels);
      }
      return;
    }
    Keep(v, frames);
    BelowFrames = db < Voice.ReleaseLevel ? BelowFrames + frames : 0;
    if (BelowFrames >= std::max<int64_t>(release, 1)) {
      Open = false;
      AboveFrames = 0;
    }
  }

  void Keep(const float* v, int64_t frames) {
    const float* end = v + frames * Channels;
    while (v < end) {
      const int64_t room = BlockFrames * Channels - int64_t(Pending.size());
      const int64_t n = std::min<int64_t>(room, end - v);
      Pending.insert(Pending.end(), v, v + n);
      v += n;
      if (int64_t(Pending.size()) == BlockFrames * Channels) Queue();
    }
  }

  void Queue() {
    if (Pending.empty()) return;
    {
      std::lock_guard l(Lock);
      Ready.emplace_back(std::move(Pending), Channels, Rate);
    }
    Pending.clear();
    Post(Notify);
  }
};

AudioRecorder::AudioRecorder() = default;

AudioRecorder::~AudioRecorder() { FIn.Close(); }

void AudioRecorder::SetFormat(int sampleRate, int channels) {
  FRate = sampleRate;
  FChannels = channels;
}

void AudioRecorder::SetBlockSize(int frames) { FBlockSize = std::max(1, frames); }

int AudioRecorder::Start() {
  if (FIn.IsOpen()) return wrOk;
  auto cap = std::make_shared<Capture>();
  cap->Channels = FChannels;
  cap->Rate = FRate;
  cap->BlockFrames = FBlockSize;
  cap->Voice = FVoice;
  cap->Post = FPoster.Maker();
  cap->Notify = [this] { Deliver(); };
  FCapture = cap;
  return FIn.Open(
      FRate, FChannels, [cap](const float* v, int64_t frames) { cap->Receive(v, frames); },
      FDevice);
}

void AudioRecorder::Stop() {
  if (!FIn.IsOpen()) return;
  FIn.Close();
  FCapture->Queue();  // the partial block, now that the device thread is gone
  Deliver();
}

void AudioRecorder::Deliver() {
  auto cap = FCapture;
  if (!cap) return;
  for (;;) {
    SampleBuffer block;
    {
      std::lock_guard l(cap->Lock);
      if (cap->Ready.empty()) return;
      block = std::move(cap->Ready.front());
      cap->Ready.pop_front();
    }
    if (OnBlock) OnBlock(block);
  }
}
