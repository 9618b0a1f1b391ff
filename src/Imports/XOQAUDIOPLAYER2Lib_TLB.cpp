#include "Imports/XOQAUDIOPLAYER2Lib_TLB.h"

#include <algorithm>
#include <cstring>
#include <deque>
#include <mutex>

#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

struct TAudioPlayer2::Queue {
  std::mutex Lock;
  std::deque<std::vector<float>> Arrays;
  size_t Offset = 0;  // values of the front array already played
  int Channels = 2;
  bool Finished = false;  // the source has told the output that the sound ended

  int64_t Pull(float* out, int64_t frames) {
    std::lock_guard l(Lock);
    int64_t done = 0;
    while (done < frames && !Arrays.empty()) {
      std::vector<float>& a = Arrays.front();
      const int64_t left = int64_t(a.size() - Offset) / Channels;
      const int64_t n = std::min(frames - done, left);
      std::memcpy(out + done * Channels, a.data() + Offset, size_t(n * Channels) * sizeof(float));
      Offset += size_t(n * Channels);
      done += n;
      if (Offset >= a.size()) {
        Arrays.pop_front();
        Offset = 0;
      }
    }
    if (done < frames) Finished = true;
    return done;
  }
};

TAudioPlayer2::TAudioPlayer2(TComponent* AOwner) : TComponent(AOwner) {}

TAudioPlayer2::~TAudioPlayer2() { FOut.Close(); }

void TAudioPlayer2::SetFormat(int sampleRate, int channels) {
  FRate = sampleRate;
  FChannels = channels;
}

void TAudioPlayer2::OpenDevice() {
  Stop();
  FDeviceError = FOut.Open(FRate, FChannels);
}

void TAudioPlayer2::Stop() {
  FOut.Stop();
  FPoster.Cancel();
  FQueue.reset();
  FPlaying = false;
}

void TAudioPlayer2::PlayArray(SampleBuffer& samples) {
  if (!FOut.IsOpen()) throw Exception("The sound device is not open.");
  // The array is taken as frames of the player's format; another channel count is mapped.
  std::vector<float> values;
  const int from = samples.Channels() > 0 ? samples.Channels() : FChannels;
  const int64_t frames = samples.ValueCount() / from;
  if (from == FChannels) {
    values.assign(samples.Values().begin(), samples.Values().begin() + frames * from);
  } else {
    values.resize(size_t(frames * FChannels));
    for (int64_t f = 0; f < frames; ++f) {
      float mono = 0;
      for (int c = 0; c < from; ++c) mono += samples[f * from + c];
      mono /= float(from);
      for (int c = 0; c < FChannels; ++c)
        values[size_t(f * FChannels + c)] =
            from == 1 || FChannels == 1 ? mono : samples[f * from + std::min(c, from - 1)];
    }
  }
  if (FQueue && FPlaying) {
    std::lock_guard l(FQueue->Lock);
    if (!FQueue->Finished) {
      if (!values.empty()) FQueue->Arrays.push_back(std::move(values));
      return;
    }
  }
  FPoster.Cancel();
  FQueue = std::make_shared<Queue>();
  FQueue->Channels = FChannels;
  if (!values.empty()) FQueue->Arrays.push_back(std::move(values));
  FPlaying = true;
  auto post = FPoster.Maker();
  if (FQueue->Arrays.empty()) {
    post([this] { Ended(); });
    return;
  }
  auto queue = FQueue;
  FOut.Start([queue](float* out, int64_t n) { return queue->Pull(out, n); },
             [post, this] { post([this] { Ended(); }); });
}

void TAudioPlayer2::Ended() {
  FPlaying = false;
  if (OnEndPlay) OnEndPlay(this);
}

void RegisterAudioPlayer2() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterClass<TAudioPlayer2, TComponent>("TAudioPlayer2");
    Published<TAudioPlayer2>().Property("OnEndPlay", &TAudioPlayer2::OnEndPlay);
  });
}
