#include "audio/DspTimePitch.h"

#include <soundtouch/SoundTouch.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

static_assert(sizeof(soundtouch::SAMPLETYPE) == sizeof(float), "the stretcher works on floats");

class DspStretcher {
 public:
  soundtouch::SoundTouch Touch;
};

DspTimePitchState::DspTimePitchState() = default;
DspTimePitchState::~DspTimePitchState() = default;

namespace {

// Frames fed to the stretcher at a time: progress between pieces.
constexpr size_t kPiece = size_t(1) << 16;

enum class Change { Speed, Pitch };

void Setup(soundtouch::SoundTouch& t, Change change, double percent, const DspSignal& s) {
  t.setSampleRate(unsigned(std::lround(s.SampleRate)));
  t.setChannels(unsigned(s.Channels));
  if (change == Change::Speed)
    t.setTempo(percent / 100);
  else
    t.setPitch(100 / percent);
}

int64_t Target(Change change, double percent, int64_t frames) {
  return change == Change::Speed ? DspSpeedChangeFrames(frames, percent) : frames;
}

// Takes what the stretcher has ready, up to `most` frames, onto out.
int64_t Receive(soundtouch::SoundTouch& t, std::vector<float>& out, int channels, int64_t most) {
  int64_t got = 0;
  while (got < most) {
    const size_t before = out.size();
    const unsigned want = unsigned(std::min<int64_t>(most - got, 1 << 15));
    out.resize(before + size_t(want) * size_t(channels));
    const unsigned n = t.receiveSamples(out.data() + before, want);
    out.resize(before + size_t(n) * size_t(channels));
    got += n;
    if (n == 0) break;
  }
  return got;
}

// The stretcher keeps its output in one buffer that it moves down on every write: fed a long
// piece at a slow speed, it moves hundreds of megabytes per write (a second at 1 % took minutes).
// Pieces that shrink with the speed keep that output to about a piece.
size_t PieceFrames(Change change, double percent) {
  if (change == Change::Pitch) return kPiece;
  return size_t(std::clamp(double(kPiece) * percent / 100, 1024.0, double(kPiece)));
}

void Feed(soundtouch::SoundTouch& t, const DspSignal& s, std::vector<float>& out, int64_t& given,
          int64_t target, size_t piece, const DspProgress& progress) {
  for (size_t at = 0; at < s.Frames; at += piece) {
    const size_t n = std::min(piece, s.Frames - at);
    t.putSamples(s.Frame(at), unsigned(n));
    given += Receive(t, out, s.Channels, target - given);
    if (progress) progress(int(95.0 * double(at + n) / double(s.Frames)));
  }
}

void Finish(soundtouch::SoundTouch& t, std::vector<float>& out, int channels, int64_t& given,
            int64_t target) {
  // Flushing pushes silence through; whatever it gives past the promised length is dropped.
  t.flush();
  given += Receive(t, out, channels, target - given);
  if (given < target) {
    out.resize(out.size() + size_t(target - given) * size_t(channels), 0.0f);
    given = target;
  }
}

std::vector<float> Run(Change change, const DspSignal& s, double percent, DspStreams* streams,
                       const DspProgress& progress) {
  char key[160];
  std::snprintf(key, sizeof key, "%s|%.17g|%.17g|%d", change == Change::Speed ? "speed" : "pitch",
                percent, s.SampleRate, s.Channels);
  std::vector<float> out;
  if (!(streams && streams->InBlock())) {
    if (streams) streams->Pass(key);
    const int64_t target = Target(change, percent, int64_t(s.Frames));
    if (s.Frames == 0) return out;
    out.reserve(size_t(target) * size_t(s.Channels));
    soundtouch::SoundTouch t;
    Setup(t, change, percent, s);
    int64_t given = 0;
    Feed(t, s, out, given, target, PieceFrames(change, percent), progress);
    Finish(t, out, s.Channels, given, target);
    return out;
  }
  bool continued = false;
  DspTimePitchState& st = streams->Acquire<DspTimePitchState>(key, continued);
  if (!st.Stretcher || st.Ended) {
    // A stream that ended starts over.
    st.In = st.Out = 0;
    st.FirstBlock = -1;
    st.Ended = false;
    st.Stretcher = std::make_unique<DspStretcher>();
    Setup(st.Stretcher->Touch, change, percent, s);
  }
  if (st.FirstBlock < 0) st.FirstBlock = int64_t(s.Frames);
  st.In += int64_t(s.Frames);
  const int64_t target = Target(change, percent, st.In);
  Feed(st.Stretcher->Touch, s, out, st.Out, target, PieceFrames(change, percent), progress);
  // Unless the caller marks the end, blocks come one second at a time: a shorter one is the last.
  const bool last = streams->MarksEnd()
                        ? streams->LastBlock()
                        : int64_t(s.Frames) < st.FirstBlock || double(s.Frames) < s.SampleRate;
  if (last) {
    Finish(st.Stretcher->Touch, out, s.Channels, st.Out, target);
    st.Ended = true;
  }
  return out;
}

}  // namespace

void DspCheckSpeedChange(double percent) {
  if (!(percent > 0) && !std::isnan(percent)) {
    char text[120];
    std::snprintf(text, sizeof text, "Speed Change: the speed must be more than 0 %%, not %g %%.",
                  percent);
    DspFail(text);
  }
  // Below 1 % a second would become minutes of sound; the dialog gives whole percents anyway.
  DspCheckRange("Speed Change", "the speed", percent, 1, 300, "%");
}

void DspCheckPitchChange(double percent) {
  DspCheckRange("Pitch Change", "the pitch", percent, 10, 300, "%");
}

int64_t DspSpeedChangeFrames(int64_t frames, double percent) {
  return int64_t(std::llround(double(frames) * 100 / percent));
}

std::vector<float> DspSpeedChange(const DspSignal& s, double percent, DspStreams* streams,
                                  const DspProgress& progress) {
  DspCheckSpeedChange(percent);
  return Run(Change::Speed, s, percent, streams, progress);
}

std::vector<float> DspPitchChange(const DspSignal& s, double percent, DspStreams* streams,
                                  const DspProgress& progress) {
  DspCheckPitchChange(percent);
  return Run(Change::Pitch, s, percent, streams, progress);
}

void DspSpeedChangeStream(int64_t frames, int channels, double sampleRate, double percent,
                          const std::function<int64_t(float* values, int64_t most)>& read,
                          const std::function<void(const float* values, int64_t frames)>& write,
                          const DspProgress& progress) {
  DspCheckSpeedChange(percent);
  const int64_t target = DspSpeedChangeFrames(frames, percent);
  DspSignal s;
  s.Channels = channels;
  s.SampleRate = sampleRate;
  soundtouch::SoundTouch t;
  Setup(t, Change::Speed, percent, s);
  const int64_t piece = int64_t(PieceFrames(Change::Speed, percent));
  std::vector<float> in(size_t(piece) * size_t(channels)), out(kPiece * size_t(channels));
  int64_t given = 0;
  auto pass = [&] {
    while (given < target) {
      const unsigned want = unsigned(std::min<int64_t>(int64_t(kPiece), target - given));
      const unsigned n = t.receiveSamples(out.data(), want);
      if (n == 0) break;
      write(out.data(), n);
      given += n;
    }
  };
  for (int64_t fed = 0; fed < frames;) {
    const int64_t n = read(in.data(), std::min(piece, frames - fed));
    if (n <= 0) break;
    fed += n;
    t.putSamples(in.data(), unsigned(n));
    pass();
    if (progress) progress(int(95.0 * double(fed) / double(frames)));
  }
  t.flush();
  pass();
  std::fill(out.begin(), out.end(), 0.0f);
  while (given < target) {
    const int64_t n = std::min<int64_t>(int64_t(kPiece), target - given);
    write(out.data(), n);
    given += n;
  }
}
