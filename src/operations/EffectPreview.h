#pragma once
// The effect preview as the dialogs see it: the window that owns the document plays the
// selection through the effect on request (IEffectPreviewHost), and one function maps a preview
// code and its values to the transform's effect.

#include <vector>

#include "audio/SampleBuffer.h"

class TAudioTransform2;

class IEffectPreviewHost {
 public:
  virtual ~IEffectPreviewHost() = default;
  // Transforms the selection with the effect the settings' preview code names and plays it.
  // Reports its own failures; messages run while it works.
  virtual void StartPreview() = 0;
  virtual void StopPreview() = 0;
  // True from a successful start until the stop or the end of playback.
  virtual bool PreviewPlaying() const = 0;
  // True while the transform reports progress.
  virtual bool PreviewTransforming() const = 0;
  // A dialog that opens forgets a preview left playing by the one before.
  virtual void ClearPreviewPlaying() = 0;
};

// The equalizer's band centres in Hz, lowest first.
extern const float EqualizerFrequencies[12];

// Runs the effect of a preview code over Array with the values in the effect's parameter order
// (the twelve band values for the equalizer). -1 or an unknown code leaves the array as it is.
// Raises when there are fewer values than the effect takes.
void TransformPreviewArray(TAudioTransform2& Transform, int Code, const std::vector<int>& Values,
                           SampleBuffer& Array);
