#include "audio/DspDelay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/DspKernels.h"
#include "audio/DspTarget.h"

namespace {

// One stretch of the ring against as many values of the signal: no value of the stretch depends
// on another, so this vectorises.
DSP_CLONES void EchoSpan(float* __restrict d, float* __restrict line, size_t n, float mix,
                         float feedback) {
  for (size_t i = 0; i < n; ++i) {
    const float e = line[i];
    const float x = d[i];
    d[i] = x + mix * e;
    line[i] = x + feedback * e;
  }
}

void Run(const DspSignal& s, DspEchoState& st, size_t lineValues, float mix, float feedback,
         const DspProgress& progress) {
  if (st.Line.size() != lineValues) {
    st.Line.assign(lineValues, 0.0f);
    st.Position = 0;
  }
  DspDenormalGuard guard;
  const size_t total = s.Samples();
  size_t done = 0;
  // Progress about every 8 M values: often enough for an hour of sound, cheap for a second.
  constexpr size_t kReport = size_t(1) << 23;
  size_t nextReport = kReport;
  while (done < total) {
    const size_t n = std::min(lineValues - st.Position, total - done);
    EchoSpan(s.Data + done, st.Line.data() + st.Position, n, mix, feedback);
    done += n;
    st.Position += n;
    if (st.Position == lineValues) st.Position = 0;
    if (progress && done >= nextReport) {
      progress(int(100.0 * double(done) / double(total)));
      nextReport = done + kReport;
    }
  }
}

}  // namespace

double DspFeedback(double percent, double most) { return std::min(percent / 100, most); }

void DspCheckEcho(double delay, double mixDepth, double feedbackGain) {
  DspCheckRange("Echo", "the delay time", delay, 0, 5000, "ms");
  DspCheckRange("Echo", "the mix depth", mixDepth, 0, 100, "%");
  DspCheckRange("Echo", "the feedback gain", feedbackGain, 0, 100, "%");
}

void DspEcho(const DspSignal& s, double delay, double mixDepth, double feedbackGain,
             DspStreams* streams, const DspProgress& progress) {
  DspCheckEcho(delay, mixDepth, feedbackGain);
  const size_t frames = size_t(std::llround(delay * s.SampleRate / 1000));
  char key[160];
  std::snprintf(key, sizeof key, "echo|%.17g|%.17g|%.17g|%.17g|%d", delay, mixDepth, feedbackGain,
                s.SampleRate, s.Channels);
  if (frames == 0 || mixDepth == 0) {
    if (streams) streams->Pass(key);
    return;
  }
  const float mix = float(mixDepth / 100);
  const float feedback = float(DspFeedback(feedbackGain));
  const size_t lineValues = frames * size_t(s.Channels);
  if (streams && streams->InBlock()) {
    bool continued = false;
    Run(s, streams->Acquire<DspEchoState>(key, continued), lineValues, mix, feedback, progress);
  } else {
    if (streams) streams->Pass(key);
    DspEchoState st;
    Run(s, st, lineValues, mix, feedback, progress);
  }
}
