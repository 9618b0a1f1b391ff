#pragma once
// The twelve-band equalizer: vertical band sliders without edits, and three level labels that
// set every band at once on a double click.

#include "operations/EffectDialogs.h"

class TEqualizerForm : public TEffectForm {
 public:
  explicit TEqualizerForm(TComponent* AOwner, IEffectPreviewHost* Host = nullptr);
  void Label18dBDblClick(TObject* Sender);
  void Label10dBDblClick(TObject* Sender);
  void Label18dB2DblClick(TObject* Sender);

 private:
  void SetAllBands(int Value);
};
