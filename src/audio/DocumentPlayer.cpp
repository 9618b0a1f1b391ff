#include "audio/DocumentPlayer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <vector>

struct DocumentPlayer::Shared {
  SampleSequence Samples;
  int Channels = 0;
  int64_t Start = 0, End = 0;
  bool Loop = false;
  int64_t Next = 0;  // next frame to pull (device thread only)
  int64_t TickFrames = 0, SinceTick = 0;
  float PeakLeft = 0, PeakRight = 0;
  std::function<void(std::function<void()>)> Post;
  DocumentPlayer* Owner = nullptr;

  // The device thread's source: frames from the range, around again when looping.
  int64_t Pull(float* out, int64_t frames) {
    int64_t done = 0;
    while (done < frames) {
      if (Next >= End) {
        if (!Loop) break;
        Next = Start;
      }
      const int64_t n =
          Samples.Read(Next, std::min(frames - done, End - Next), out + done * Channels);
      if (n <= 0) break;
      Measure(out + done * Channels, n);
      Next += n;
      done += n;
    }
    return done;
  }

  void Measure(const float* v, int64_t frames) {
    for (int64_t f = 0; f < frames; ++f) {
      const float l = std::fabs(v[f * Channels]);
      const float r = std::fabs(v[f * Channels + Channels - 1]);
      PeakLeft = std::max(PeakLeft, l);
      PeakRight = std::max(PeakRight, r);
      if (++SinceTick >= TickFrames) {
        const float pl = PeakLeft, pr = PeakRight;
        DocumentPlayer* owner = Owner;
        Post([owner, pl, pr] { owner->Tick(pl, pr); });
        SinceTick = 0;
        PeakLeft = PeakRight = 0;
      }
    }
  }
};

DocumentPlayer::DocumentPlayer(AudioDocument& doc) : FDoc(doc) {}

DocumentPlayer::~DocumentPlayer() {
  FOut.Close();
  if (FState != psIdle) FDoc.SetCursorHook(nullptr);
}

int DocumentPlayer::MeterLevel(float peak) {
  if (!(peak > 0)) return 0;
  return std::max(0, int(std::lround(92.0 + 20.0 * std::log10(double(peak)))));
}

void DocumentPlayer::Play(int mode) {
  if (FState != psIdle) Stop();
  if (!FOut.IsOpen() || FOut.SampleRate() != FDoc.SampleRate() ||
      FOut.Channels() != FDoc.Channels()) {
    const int result = FOut.Open(FDoc.SampleRate(), FDoc.Channels());
    if (result != wrOk) throw EAudioDevice("Cannot play the sound: " + WaveResultText(result));
  }
  auto shared = std::make_shared<Shared>();
  shared->Samples = FDoc.Samples();
  shared->Channels = FDoc.Channels();
  if (FDoc.SelectionActive() && FDoc.SelectionEnd() > FDoc.SelectionStart()) {
    shared->Start = FDoc.SelectionStart();
    shared->End = FDoc.SelectionEnd();
  } else {
    shared->Start = FDoc.Cursor();
    shared->End = FDoc.Length();
  }
  shared->Loop = mode == pmLoop;
  shared->Next = shared->Start;
  shared->TickFrames = std::max(1, FDoc.SampleRate() / 25);
  shared->Owner = this;
  FPoster.Cancel();
  shared->Post = FPoster.Maker();
  FShared = shared;
  FState = psPlaying;
  FDoc.SetCursorHook([this] { return PlayPosition(); });
  FOut.SetGain(float(FVolume) / 65535.f);
  auto post = shared->Post;
  FOut.Start([shared](float* out, int64_t frames) { return shared->Pull(out, frames); },
             [post, this] { post([this] { Finish(); }); });
}

void DocumentPlayer::Stop() {
  if (FState == psIdle) return;
  FOut.Stop();
  FPoster.Cancel();
  FState = psIdle;
  FDoc.SetCursorHook(nullptr);
  if (OnMeter) OnMeter(0, 0);
  if (FDoc.OnChangePosition) FDoc.OnChangePosition();
}

void DocumentPlayer::Pause() {
  if (FState != psPlaying) return;
  FOut.SetPaused(true);
  FState = psPaused;
  if (OnMeter) OnMeter(0, 0);
}

void DocumentPlayer::Resume() {
  if (FState != psPaused) return;
  FOut.SetPaused(false);
  FState = psPlaying;
}

void DocumentPlayer::SetVolume(int value) {
  FVolume = std::clamp(value, 0, 65535);
  FOut.SetGain(float(FVolume) / 65535.f);
}

int64_t DocumentPlayer::PlayPosition() const {
  if (FState == psIdle || !FShared) return FDoc.Cursor();
  const Shared& s = *FShared;
  const int64_t span = s.End - s.Start;
  if (span <= 0) return s.Start;
  const int64_t played = FOut.PlayedFrames();
  if (s.Loop) return s.Start + played % span;
  return s.Start + std::min(played, span);
}

void DocumentPlayer::Tick(float peakLeft, float peakRight) {
  if (FState != psPlaying) return;
  if (OnMeter) OnMeter(MeterLevel(peakLeft), MeterLevel(peakRight));
  if (OnChangePlayPosition) OnChangePlayPosition();
}

void DocumentPlayer::Finish() {
  if (FState == psIdle) return;
  FState = psIdle;
  FDoc.SetCursorHook(nullptr);
  if (OnMeter) OnMeter(0, 0);
  if (FDoc.OnChangePosition) FDoc.OnChangePosition();
  if (OnEndPlay) OnEndPlay();
}
