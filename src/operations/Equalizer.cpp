#include "operations/Equalizer.h"

#include "controls/ImageSlider.h"

TEqualizerForm::TEqualizerForm(TComponent* AOwner, IEffectPreviewHost* Host)
    : TEffectForm(AOwner, Host, "TEqualizerForm") {
  Build();
}

void TEqualizerForm::SetAllBands(int Value) {
  for (size_t i = 0; i < Info().Params.size(); ++i) ImageSlider(i)->SetValue(Value);
}

void TEqualizerForm::Label18dBDblClick(TObject*) { SetAllBands(180); }
void TEqualizerForm::Label10dBDblClick(TObject*) { SetAllBands(0); }
void TEqualizerForm::Label18dB2DblClick(TObject*) { SetAllBands(-180); }
