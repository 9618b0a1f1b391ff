#pragma once
// TAudioTransform2: effects on sample arrays, for previews and the batch converter. Arrays are
// changed in place (or replaced); every parameter is checked first and a bad one raises without
// touching the array.
//
// Streams: while BatchFlag is true the caller feeds one block of a longer signal; the i-th effect
// call of a block continues where the i-th call of the previous block stopped when it is the same
// effect with the same settings, so filters and detectors run across blocks without a seam.
// Putting SampleRate forgets every stream. An array's own rate governs its effect; SampleRate
// serves arrays that carry none.

#include <functional>
#include <string>

#include "audio/DspCommon.h"
#include "audio/DspStream.h"
#include "audio/SampleBuffer.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Events.h"

using TAudioTransformBlockEvent = Event<void(TObject* Sender, int Percent)>;

class TAudioTransform2 : public TComponent {
 public:
  explicit TAudioTransform2(TComponent* AOwner);
  ~TAudioTransform2() override;

  // Channel arrangement. A mono array gives itself for either channel and two copies for
  // MonoToStereo; MergeChannels pads the shorter channel with silence.
  SampleBuffer LeftChannel(const SampleBuffer& stereo);
  SampleBuffer RightChannel(const SampleBuffer& stereo);
  SampleBuffer MergeChannels(const SampleBuffer& left, const SampleBuffer& right);
  SampleBuffer MonoToStereo(const SampleBuffer& mono);

  // Effects; see DspLevel.h, DspFilter.h and DspDynamics.h for the meaning of every value.
  void MixStereo(SampleBuffer& a, float LL, float LR, float RL, float RR);
  void Amplify(SampleBuffer& a, float percent);
  void Fade(SampleBuffer& a, float startPercent, float endPercent);
  void Normalize(SampleBuffer& a, float percent, int channelMode);
  void Compressor(SampleBuffer& a, float threshold, float rate, float amount);
  void HighPass(SampleBuffer& a, float cutoff, float amount);
  // Two arrays of as many singles (twelve from the callers): band gains (value / 100) and band
  // frequencies in Hz.
  void Equalizer(SampleBuffer& a, const SampleBuffer& gains, const SampleBuffer& frequencies);
  // See DspDelay.h, DspModulation.h, DspReverb.h, DspNoiseReduction.h and DspTimePitch.h. The
  // speed change replaces the array by a longer or shorter one.
  void NoiseReduction(SampleBuffer& a, float threshold, float rate, float rmsTime);
  void Echo(SampleBuffer& a, float delay, float mixDepth, float feedbackGain);
  void Flanger(SampleBuffer& a, float delayRate, float mixDepth, float feedbackGain,
               float sweepDepth, float sweepRate, float sweepPhase);
  void Chorus(SampleBuffer& a, float delayRate, float mixDepth, float feedbackGain,
              float sweepDepth, float sweepRate, float sweepPhase);
  void Phaser(SampleBuffer& a, float delay, float mixDepth, float feedbackGain);
  void Reverb(SampleBuffer& a, float delay, float mixDepth, float feedbackGain, float gain,
              float frequency, int taps);
  void SpeedChange(SampleBuffer& a, float percent);
  void PitchChange(SampleBuffer& a, float percent);

  int SampleRate() const { return FSampleRate; }
  void SetSampleRate(int value);
  bool BatchFlag() const { return FBatchFlag; }
  void SetBatchFlag(bool value);
  // A caller that marks each stream's last block (MarkLastBlock, after BatchFlag is put true)
  // may feed blocks of any length; speed and pitch then give back all they hold at the mark.
  void SetMarksEnd(bool value) { FStreams.SetMarksEnd(value); }
  void MarkLastBlock() { FStreams.MarkLastBlock(); }

  // Progress of a long call in percent, raised inside the call; OnEndTransform follows every call
  // that raised progress, also when it fails.
  TAudioTransformBlockEvent OnTransformBlock;
  TNotifyEvent OnEndTransform;

 protected:
  // Runs one effect on the array with progress and end events. Effects that carry state over
  // blocks find it in Streams().
  void Apply(SampleBuffer& a, const std::function<void(const DspSignal&, const DspProgress&)>& effect);
  DspStreams& Streams() { return FStreams; }
  DspSignal Signal(SampleBuffer& a) const;

 private:
  int FSampleRate = 44100;
  bool FBatchFlag = false;
  DspStreams FStreams;
};

// Makes TAudioTransform2 known to stored form descriptions by its class name, with its two events
// as published properties. Safe to call more than once.
void RegisterAudioTransform2();

// The envelope curve editor control.
#include "Imports/AudioTransformDisplay.h"
