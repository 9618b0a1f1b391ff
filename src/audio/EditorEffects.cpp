#include "audio/EditorEffects.h"

#include <algorithm>
#include <functional>
#include <string>

#include "audio/AudioDocument.h"
#include "audio/DspCommon.h"
#include "audio/DspDelay.h"
#include "audio/DspDynamics.h"
#include "audio/DspFilter.h"
#include "audio/DspLevel.h"
#include "audio/DspModulation.h"
#include "audio/DspNoiseReduction.h"
#include "audio/DspReverb.h"
#include "audio/DspTimePitch.h"
#include "platform/rtl/SysUtils.h"

template <class F>
void AudioEditorEffects::OnSelection(const F& effect) {
  const int64_t start = FDoc.SelectionStart(), end = FDoc.SelectionEnd();
  if (end <= start) return;
  SampleBuffer buffer;
  // The work runs as one of the document's long operations: progress after the usual delay, and
  // no edits slipping in from a progress handler while the selection is out of the document.
  FDoc.RunLongOperation([&](const std::function<void(double)>& report) {
    buffer = FDoc.CopyPcm(end - start);
    DspSignal s;
    s.Data = buffer.Data();
    s.Channels = std::max(1, buffer.Channels());
    s.Frames = size_t(buffer.Frames());
    s.SampleRate = FDoc.SampleRate();
    effect(s, [&](int percent) { report(percent / 100.0); });
  });
  FDoc.ReplaceRange(start, end, buffer);
}

void AudioEditorEffects::InsertSilence(int ms) {
  DspCheckRange("Insert Silence", "the length", ms, 0, 2147483647, "ms");
  const int64_t frames = FDoc.MsToSamples(ms);
  if (frames <= 0) return;
  FDoc.InsertPcm(SampleBuffer(FDoc.Channels(), FDoc.SampleRate(), frames));
}

void AudioEditorEffects::MixStereo(float LL, float LR, float RL, float RR) {
  DspCheckMixStereo(LL, LR, RL, RR);
  if (FDoc.Channels() != 2) return;
  OnSelection([&](const DspSignal& s, const DspProgress& p) { DspMixStereo(s, LL, LR, RL, RR, p); });
}

void AudioEditorEffects::Silence() {
  OnSelection([&](const DspSignal& s, const DspProgress&) { DspSilence(s); });
}

void AudioEditorEffects::Reverse() {
  OnSelection([&](const DspSignal& s, const DspProgress&) { DspReverse(s); });
}

void AudioEditorEffects::Amplify(float percent) {
  DspCheckAmplify(percent);
  OnSelection([&](const DspSignal& s, const DspProgress& p) { DspAmplify(s, percent, p); });
}

void AudioEditorEffects::Fade(float startPercent, float endPercent) {
  DspCheckFade(startPercent, endPercent);
  OnSelection([&](const DspSignal& s, const DspProgress& p) { DspFade(s, startPercent, endPercent, p); });
}

void AudioEditorEffects::Normalize(float percent, int channelMode) {
  DspCheckNormalize(percent, channelMode);
  OnSelection([&](const DspSignal& s, const DspProgress& p) { DspNormalize(s, percent, channelMode, p); });
}

void AudioEditorEffects::Envelope(const SampleBuffer& gains) {
  const std::vector<float>& g = gains.Values();
  DspCheckEnvelope(g);
  OnSelection([&](const DspSignal& s, const DspProgress& p) { DspEnvelope(s, g, p); });
}

void AudioEditorEffects::Compressor(float threshold, float rate, float amount) {
  DspCheckCompressor(threshold, rate, amount);
  OnSelection([&](const DspSignal& s, const DspProgress& p) {
    DspCompressor(s, threshold, rate, amount, nullptr, p);
  });
}

void AudioEditorEffects::HighPass(float cutoff, float amount) {
  DspCheckHighPass(cutoff, amount);
  OnSelection([&](const DspSignal& s, const DspProgress& p) { DspHighPass(s, cutoff, amount, nullptr, p); });
}

void AudioEditorEffects::Equalizer(const SampleBuffer& gains, const SampleBuffer& frequencies) {
  const std::vector<float>& g = gains.Values();
  const std::vector<float>& f = frequencies.Values();
  DspCheckEqualizer(g, f);
  OnSelection([&](const DspSignal& s, const DspProgress& p) { DspEqualizer(s, g, f, nullptr, p); });
}

void AudioEditorEffects::ReplaceSelection(
    const std::function<std::vector<float>(const DspSignal&, const DspProgress&)>& effect) {
  const int64_t start = FDoc.SelectionStart(), end = FDoc.SelectionEnd();
  if (end <= start) return;
  SampleBuffer result;
  FDoc.RunLongOperation([&](const std::function<void(double)>& report) {
    SampleBuffer buffer = FDoc.CopyPcm(end - start);
    DspSignal s;
    s.Data = buffer.Data();
    s.Channels = std::max(1, buffer.Channels());
    s.Frames = size_t(buffer.Frames());
    s.SampleRate = FDoc.SampleRate();
    result = SampleBuffer(effect(s, [&](int percent) { report(percent / 100.0); }), s.Channels,
                          FDoc.SampleRate());
  });
  FDoc.ReplaceRange(start, end, result);
}

void AudioEditorEffects::NoiseReduction(float threshold, float rate, float rmsTime) {
  DspCheckNoiseReduction(threshold, rate, rmsTime);
  OnSelection([&](const DspSignal& s, const DspProgress& p) {
    DspNoiseReduction(s, threshold, rate, rmsTime, nullptr, p);
  });
}

void AudioEditorEffects::Echo(float delay, float mixDepth, float feedbackGain) {
  DspCheckEcho(delay, mixDepth, feedbackGain);
  OnSelection([&](const DspSignal& s, const DspProgress& p) {
    DspEcho(s, delay, mixDepth, feedbackGain, nullptr, p);
  });
}

void AudioEditorEffects::Flanger(float delayRate, float mixDepth, float feedbackGain,
                                 float sweepDepth, float sweepRate, float sweepPhase) {
  DspCheckModulation(DspModulationKind::Flanger, delayRate, mixDepth, feedbackGain, sweepDepth,
                     sweepRate, sweepPhase);
  OnSelection([&](const DspSignal& s, const DspProgress& p) {
    DspModulation(s, DspModulationKind::Flanger, delayRate, mixDepth, feedbackGain, sweepDepth,
                  sweepRate, sweepPhase, nullptr, p);
  });
}

void AudioEditorEffects::Chorus(float delayRate, float mixDepth, float feedbackGain,
                                float sweepDepth, float sweepRate, float sweepPhase) {
  DspCheckModulation(DspModulationKind::Chorus, delayRate, mixDepth, feedbackGain, sweepDepth,
                     sweepRate, sweepPhase);
  OnSelection([&](const DspSignal& s, const DspProgress& p) {
    DspModulation(s, DspModulationKind::Chorus, delayRate, mixDepth, feedbackGain, sweepDepth,
                  sweepRate, sweepPhase, nullptr, p);
  });
}

void AudioEditorEffects::Phaser(float delay, float mixDepth, float feedbackGain) {
  DspCheckPhaser(delay, mixDepth, feedbackGain);
  OnSelection([&](const DspSignal& s, const DspProgress& p) {
    DspPhaser(s, delay, mixDepth, feedbackGain, nullptr, p);
  });
}

void AudioEditorEffects::Reverb(float delay, float mixDepth, float feedbackGain, float gain,
                                float frequency, int taps) {
  DspCheckReverb(delay, mixDepth, feedbackGain, gain, frequency, taps);
  OnSelection([&](const DspSignal& s, const DspProgress& p) {
    DspReverb(s, delay, mixDepth, feedbackGain, gain, frequency, taps, nullptr, p);
  });
}

void AudioEditorEffects::SpeedChange(float percent) {
  DspCheckSpeedChange(percent);
  const int64_t start = FDoc.SelectionStart(), end = FDoc.SelectionEnd();
  if (end <= start) return;
  // A result the document cannot hold is refused before the work is done.
  const int64_t length = FDoc.Length() - (end - start) + DspSpeedChangeFrames(end - start, percent);
  if (length > kMaxDocumentFrames)
    throw EComponentError(Format("The document would hold %d sample frames; at most %d are possible.",
                                 {length, kMaxDocumentFrames}));
  // Slow speeds make results many times the selection (an hour at 1 % would be 127 GB of
  // floats): the selection is read and the result built block by block, so the block store
  // keeps both within its memory budget.
  SampleSequence result;
  FDoc.RunLongOperation([&](const std::function<void(double)>& report) {
    SequenceBuilder builder(FDoc.Channels(), FDoc.SwapFolder());
    int64_t at = start;
    DspSpeedChangeStream(
        end - start, FDoc.Channels(), FDoc.SampleRate(), percent,
        [&](float* values, int64_t most) {
          const int64_t n = FDoc.Samples().Read(at, most, values);
          at += n;
          return n;
        },
        [&](const float* values, int64_t frames) { builder.Append(values, frames); },
        [&](int done) { report(done / 100.0); });
    result = builder.Finish();
  });
  FDoc.ReplaceRange(start, end, result);
}

void AudioEditorEffects::PitchChange(float percent) {
  DspCheckPitchChange(percent);
  ReplaceSelection([&](const DspSignal& s, const DspProgress& p) {
    return DspPitchChange(s, percent, nullptr, p);
  });
}
