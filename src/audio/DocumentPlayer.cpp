#include "audio/DocumentPlayer.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <deque>
#include <mutex>
#include <vector>

#include "audio/FormatConverter.h"

struct DocumentPlayer::Shared {
  SampleSequence Samples;
  int Rate = 0, Channels = 0;                  // the document's
  int OutRate = 0, OutChannels = 0;            // what the output plays
  std::unique_ptr<FormatConverter> Converter;  // when these differ
  std::vector<float> Raw, Ready;               // device thread only
  bool Drained = false;
  int64_t Start = 0, End = 0;
  bool Loop = false;
  int64_t Next = 0;  // next frame to pull (device thread only)
  int64_t TickFrames = 0, SinceTick = 0;
  float PeakLeft = 0, PeakRight = 0;
  int64_t Measured = 0;  // frames pulled since the start, loops included
  std::function<void(std::function<void()>)> Post;
  DocumentPlayer* Owner = nullptr;

  // The peaks of the pulled frames block by block, kept until the listener is past them: the
  // device takes frames well before they are heard, and the meter shows what is heard.
  struct Peak {
    int64_t End;  // the block is the TickFrames frames before this count
    float Left, Right;
  };
  std::mutex PeakLock;
  std::deque<Peak> Peaks;

  // The peaks of the block holding frame `heard` of the play; silence past the last block.
  std::pair<float, float> PeakAt(int64_t heard) {
    std::lock_guard l(PeakLock);
    while (!Peaks.empty() && Peaks.front().End <= heard) Peaks.pop_front();
    if (Peaks.empty()) return {0.f, 0.f};
    return {Peaks.front().Left, Peaks.front().Right};
  }

  // The device thread's source: frames from the range, around again when looping.
  int64_t Pull(float* out, int64_t frames) {
    const int64_t done = Converter ? PullConverted(out, frames) : Read(out, frames);
    Measure(out, done);
    if (done < frames) EndBlock();  // the sound has ended: its last, shorter block
    return done;
  }

  int64_t Read(float* out, int64_t frames) {
    int64_t done = 0;
    while (done < frames) {
      if (Next >= End) {
        if (!Loop) break;
        Next = Start;
      }
      const int64_t n =
          Samples.Read(Next, std::min(frames - done, End - Next), out + done * Channels);
      if (n <= 0) break;
      Next += n;
      done += n;
    }
    return done;
  }

  // A loop feeds the converter without a break, so its seam is filtered like any other frame.
  int64_t PullConverted(float* out, int64_t frames) {
    auto ready = [this] { return int64_t(Ready.size()) / OutChannels; };
    while (ready() < frames && !Drained) {
      const int64_t want = FormatConverter::ScaleFrames(frames - ready(), OutRate, Rate) + 1;
      Raw.resize(size_t(want * Channels));
      const int64_t n = Read(Raw.data(), want);
      Converter->Process(Raw.data(), n, Ready);
      if (n < want) {
        Converter->Finish(Ready);
        Drained = true;
      }
    }
    const int64_t n = std::min(frames, ready());
    std::copy_n(Ready.begin(), n * OutChannels, out);
    Ready.erase(Ready.begin(), Ready.begin() + n * OutChannels);
    return n;
  }

  void EndBlock() {
    if (SinceTick == 0) return;
    {
      std::lock_guard l(PeakLock);
      Peaks.push_back({Measured, PeakLeft, PeakRight});
    }
    SinceTick = 0;
    PeakLeft = PeakRight = 0;
    DocumentPlayer* owner = Owner;
    Post([owner] { owner->Tick(); });
  }

  void Measure(const float* v, int64_t frames) {
    for (int64_t f = 0; f < frames; ++f) {
      const float l = std::fabs(v[f * OutChannels]);
      const float r = std::fabs(v[f * OutChannels + OutChannels - 1]);
      PeakLeft = std::max(PeakLeft, l);
      PeakRight = std::max(PeakRight, r);
      ++Measured;
      if (++SinceTick >= TickFrames) EndBlock();
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
  auto shared = std::make_shared<Shared>();
  shared->Samples = FDoc.Samples();
  shared->Rate = FDoc.SampleRate();
  shared->Channels = FDoc.Channels();
  shared->OutRate = shared->Rate;
  shared->OutChannels = std::min(shared->Channels, int(kWaveMaxChannels));
  if (shared->Rate < kWaveMinRate || shared->Rate > kWaveMaxRate) shared->OutRate = kWaveDeviceRate;
  if (shared->OutRate != shared->Rate || shared->OutChannels != shared->Channels)
    shared->Converter = std::make_unique<FormatConverter>(shared->Rate, shared->Channels,
                                                          shared->OutRate, shared->OutChannels);
  if (!FOut.IsOpen() || FOut.SampleRate() != shared->OutRate ||
      FOut.Channels() != shared->OutChannels) {
    const int result = FOut.Open(shared->OutRate, shared->OutChannels);
    if (result != wrOk) throw EAudioDevice("Cannot play the sound: " + WaveResultText(result));
  }
  if (FDoc.SelectionActive() && FDoc.SelectionEnd() > FDoc.SelectionStart()) {
    shared->Start = FDoc.SelectionStart();
    shared->End = FDoc.SelectionEnd();
  } else {
    shared->Start = FDoc.Cursor();
    shared->End = FDoc.Length();
  }
  shared->Loop = mode == pmLoop;
  shared->Next = shared->Start;
  shared->TickFrames = std::max(1, shared->OutRate / 25);
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
  const int64_t played = FormatConverter::ScaleFrames(FOut.PlayedFrames(), s.OutRate, s.Rate);
  if (s.Loop) return s.Start + played % span;
  return s.Start + std::min(played, span);
}

void DocumentPlayer::Tick() {
  if (FState != psPlaying || !FShared) return;
  const auto [left, right] = FShared->PeakAt(FOut.PlayedFrames());
  if (OnMeter) OnMeter(MeterLevel(left), MeterLevel(right));
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
