#pragma once
// The editor's effects: each acts on the selection of one document as one undoable step, with
// the same effect code the transformer uses on arrays. Every parameter is checked before the
// document is touched; a bad one raises and changes nothing. An empty selection is left alone
// (the callers select everything first).
//
// Long effects report progress through the document's OnBlockOperation and end with its
// OnEndOperation, also when they fail, as the document's own long operations do.

#include <cstdint>
#include <functional>
#include <vector>

#include "audio/DspCommon.h"

#include "audio/SampleBuffer.h"

class AudioDocument;

class AudioEditorEffects {
 public:
  explicit AudioEditorEffects(AudioDocument& doc) : FDoc(doc) {}

  // Silence of ms milliseconds (0 or more) inserted at the cursor.
  void InsertSilence(int ms);
  // A mono document is left as it is.
  void MixStereo(float LL, float LR, float RL, float RR);
  void Silence();
  void Reverse();
  void Amplify(float percent);
  void Fade(float startPercent, float endPercent);
  void Normalize(float percent, int channelMode);
  // Linear gains spread evenly over the selection.
  void Envelope(const SampleBuffer& gains);
  void Compressor(float threshold, float rate, float amount);
  void HighPass(float cutoff, float amount);
  void Equalizer(const SampleBuffer& gains, const SampleBuffer& frequencies);
  void NoiseReduction(float threshold, float rate, float rmsTime);
  // Echoes and reverberation end with the selection.
  void Echo(float delay, float mixDepth, float feedbackGain);
  void Flanger(float delayRate, float mixDepth, float feedbackGain, float sweepDepth,
               float sweepRate, float sweepPhase);
  void Chorus(float delayRate, float mixDepth, float feedbackGain, float sweepDepth,
              float sweepRate, float sweepPhase);
  void Phaser(float delay, float mixDepth, float feedbackGain);
  void Reverb(float delay, float mixDepth, float feedbackGain, float gain, float frequency,
              int taps);
  // The speed change makes the selection longer or shorter; the selection stays on the result
  // and what follows moves with its end.
  void SpeedChange(float percent);
  void PitchChange(float percent);

 private:
  template <class F>
  void OnSelection(const F& effect);
  // For effects that give back a new run of frames, perhaps of another length.
  void ReplaceSelection(
      const std::function<std::vector<float>(const DspSignal&, const DspProgress&)>& effect);

  AudioDocument& FDoc;
};
