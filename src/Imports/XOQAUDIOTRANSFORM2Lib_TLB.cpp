#include "Imports/XOQAUDIOTRANSFORM2Lib_TLB.h"

#include <algorithm>
#include <mutex>

#include "audio/DspDelay.h"
#include "audio/DspDynamics.h"
#include "audio/DspFilter.h"
#include "audio/DspKernels.h"
#include "audio/DspLevel.h"
#include "audio/DspModulation.h"
#include "audio/DspNoiseReduction.h"
#include "audio/DspReverb.h"
#include "audio/DspTimePitch.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

namespace {

// Calls on fewer values than this finish in a blink and raise no progress (the batch converter
// makes a dozen such calls per second of sound).
constexpr int64_t kProgressValues = int64_t(1) << 20;

int ChannelsOf(const SampleBuffer& a) { return a.Channels() > 0 ? a.Channels() : 1; }

std::vector<float> Singles(const SampleBuffer& a) { return a.Values(); }

}  // namespace

TAudioTransform2::TAudioTransform2(TComponent* AOwner) : TComponent(AOwner) {}

TAudioTransform2::~TAudioTransform2() = default;

void TAudioTransform2::SetSampleRate(int value) {
  if (value <= 0)
    throw EArgumentOutOfRangeException("The sample rate must be positive, not " +
                                       std::to_string(value) + ".");
  FSampleRate = value;
  FStreams.Reset();
}

void TAudioTransform2::SetBatchFlag(bool value) {
  FBatchFlag = value;
  if (value)
    FStreams.BeginBlock();
  else
    FStreams.EndBlock();
}

DspSignal TAudioTransform2::Signal(SampleBuffer& a) const {
  DspSignal s;
  s.Channels = ChannelsOf(a);
  s.Data = a.Data();
  s.Frames = size_t(a.ValueCount() / s.Channels);
  s.SampleRate = a.SampleRate() > 0 ? a.SampleRate() : FSampleRate;
  return s;
}

void TAudioTransform2::Apply(
    SampleBuffer& a, const std::function<void(const DspSignal&, const DspProgress&)>& effect) {
  bool raised = false;
  DspProgress progress;
  if (a.ValueCount() >= kProgressValues)
    progress = [&](int percent) {
      raised = true;
      if (OnTransformBlock) OnTransformBlock(this, std::clamp(percent, 0, 100));
    };
  try {
    effect(Signal(a), progress);
  } catch (...) {
    if (raised && OnEndTransform) {
      try {
        OnEndTransform(this);
      } catch (...) {
      }
    }
    throw;
  }
  if (raised && OnEndTransform) OnEndTransform(this);
}

SampleBuffer TAudioTransform2::LeftChannel(const SampleBuffer& stereo) {
  if (stereo.Channels() <= 1) return SampleBuffer(stereo.Values(), 1, stereo.SampleRate());
  return stereo.Channel(0);
}

SampleBuffer TAudioTransform2::RightChannel(const SampleBuffer& stereo) {
  if (stereo.Channels() <= 1) return SampleBuffer(stereo.Values(), 1, stereo.SampleRate());
  return stereo.Channel(1);
}

SampleBuffer TAudioTransform2::MergeChannels(const SampleBuffer& left, const SampleBuffer& right) {
  // Each side is read as mono; a side with more channels gives its first.
  auto mono = [](const SampleBuffer& b) {
    return b.Channels() <= 1 ? SampleBuffer(b.Values(), 1, b.SampleRate()) : b.Channel(0);
  };
  const SampleBuffer l = mono(left), r = mono(right);
  const int rate = l.SampleRate() > 0 ? l.SampleRate() : r.SampleRate();
  const int64_t frames = std::max(l.ValueCount(), r.ValueCount());
  SampleBuffer out(2, rate, frames);
  if (frames == 0) return out;
  std::vector<float> pad(size_t(frames), 0.0f);
  auto put = [&](const SampleBuffer& side, int c) {
    const float* src = side.Data();
    if (side.ValueCount() < frames) {
      std::copy(side.Values().begin(), side.Values().end(), pad.begin());
      std::fill(pad.begin() + side.ValueCount(), pad.end(), 0.0f);
      src = pad.data();
    }
    DspInsertChannel(out.Data(), src, size_t(frames), 2, c);
  };
  put(l, 0);
  put(r, 1);
  return out;
}

SampleBuffer TAudioTransform2::MonoToStereo(const SampleBuffer& mono) {
  if (mono.Channels() >= 2) return mono;
  return MergeChannels(mono, mono);
}

void TAudioTransform2::MixStereo(SampleBuffer& a, float LL, float LR, float RL, float RR) {
  DspCheckMixStereo(LL, LR, RL, RR);
  FStreams.Pass("mixstereo");
  Apply(a, [&](const DspSignal& s, const DspProgress& p) { DspMixStereo(s, LL, LR, RL, RR, p); });
}

void TAudioTransform2::Amplify(SampleBuffer& a, float percent) {
  DspCheckAmplify(percent);
  FStreams.Pass("amplify");
  Apply(a, [&](const DspSignal& s, const DspProgress& p) { DspAmplify(s, percent, p); });
}

void TAudioTransform2::Fade(SampleBuffer& a, float startPercent, float endPercent) {
  DspCheckFade(startPercent, endPercent);
  FStreams.Pass("fade");
  Apply(a, [&](const DspSignal& s, const DspProgress& p) {
    DspFade(s, startPercent, endPercent, p);
  });
}

void TAudioTransform2::Normalize(SampleBuffer& a, float percent, int channelMode) {
  DspCheckNormalize(percent, channelMode);
  FStreams.Pass("normalize");
  Apply(a, [&](const DspSignal& s, const DspProgress& p) {
    DspNormalize(s, percent, channelMode, p);
  });
}

void TAudioTransform2::Compressor(SampleBuffer& a, float threshold, float rate, float amount) {
  Apply(a, [&](const DspSignal& s, const DspProgress& p) {
    DspCompressor(s, threshold, rate, amount, &FStreams, p);
  });
}

void TAudioTransform2::HighPass(SampleBuffer& a, float cutoff, float amount) {
  Apply(a, [&](const DspSignal& s, const DspProgress& p) {
    DspHighPass(s, cutoff, amount, &FStreams, p);
  });
}

void TAudioTransform2::Equalizer(SampleBuffer& a, const SampleBuffer& gains,
                                 const SampleBuffer& frequencies) {
  const std::vector<float> g = Singles(gains), f = Singles(frequencies);
  Apply(a, [&](const DspSignal& s, const DspProgress& p) { DspEqualizer(s, g, f, &FStreams, p); });
}

void TAudioTransform2::NoiseReduction(SampleBuffer& a, float threshold, float rate, float rmsTime) {
  Apply(a, [&](const DspSignal& s, const DspProgress& p) {
    DspNoiseReduction(s, threshold, rate, rmsTime, &FStreams, p);
  });
}

void TAudioTransform2::Echo(SampleBuffer& a, float delay, float mixDepth, float feedbackGain) {
  Apply(a, [&](const DspSignal& s, const DspProgress& p) {
    DspEcho(s, delay, mixDepth, feedbackGain, &FStreams, p);
  });
}

void TAudioTransform2::Flanger(SampleBuffer& a, float delayRate, float mixDepth,
                               float feedbackGain, float sweepDepth, float sweepRate,
                               float sweepPhase) {
  Apply(a, [&](const DspSignal& s, const DspProgress& p) {
    DspModulation(s, DspModulationKind::Flanger, delayRate, mixDepth, feedbackGain, sweepDepth,
                  sweepRate, sweepPhase, &FStreams, p);
  });
}

void TAudioTransform2::Chorus(SampleBuffer& a, float delayRate, float mixDepth, float feedbackGain,
                              float sweepDepth, float sweepRate, float sweepPhase) {
  Apply(a, [&](const DspSignal& s, const DspProgress& p) {
    DspModulation(s, DspModulationKind::Chorus, delayRate, mixDepth, feedbackGain, sweepDepth,
                  sweepRate, sweepPhase, &FStreams, p);
  });
}

void TAudioTransform2::Phaser(SampleBuffer& a, float delay, float mixDepth, float feedbackGain) {
  Apply(a, [&](const DspSignal& s, const DspProgress& p) {
    DspPhaser(s, delay, mixDepth, feedbackGain, &FStreams, p);
  });
}

void TAudioTransform2::Reverb(SampleBuffer& a, float delay, float mixDepth, float feedbackGain,
                              float gain, float frequency, int taps) {
  Apply(a, [&](const DspSignal& s, const DspProgress& p) {
    DspReverb(s, delay, mixDepth, feedbackGain, gain, frequency, taps, &FStreams, p);
  });
}

void TAudioTransform2::SpeedChange(SampleBuffer& a, float percent) {
  DspCheckSpeedChange(percent);
  std::vector<float> out;
  Apply(a, [&](const DspSignal& s, const DspProgress& p) {
    out = DspSpeedChange(s, percent, &FStreams, p);
  });
  a = SampleBuffer(std::move(out), ChannelsOf(a), a.SampleRate() > 0 ? a.SampleRate() : FSampleRate);
}

void TAudioTransform2::PitchChange(SampleBuffer& a, float percent) {
  DspCheckPitchChange(percent);
  std::vector<float> out;
  Apply(a, [&](const DspSignal& s, const DspProgress& p) {
    out = DspPitchChange(s, percent, &FStreams, p);
  });
  a = SampleBuffer(std::move(out), ChannelsOf(a), a.SampleRate() > 0 ? a.SampleRate() : FSampleRate);
}

void RegisterAudioTransform2() {
  static std::once_flag once;
  std::call_once(once, [] {
    RegisterClass<TAudioTransform2, TComponent>("TAudioTransform2");
    Published<TAudioTransform2>()
        .Property("OnTransformBlock", &TAudioTransform2::OnTransformBlock)
        .Property("OnEndTransform", &TAudioTransform2::OnEndTransform);
  });
}
