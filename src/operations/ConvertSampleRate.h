#pragma once
// The dialog of the sample-rate and channel conversion: the editor's convert command and the
// batch converter's command both fill it before showing it and read it after OK.

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TConvertSampleRateForm : public TForm {
 public:
  explicit TConvertSampleRateForm(TComponent* AOwner);
  TGroupBox* GroupBoxSampleRate{};
  TLabel* LabelNewSampleRate{};
  // Items 0..9: ConvertSampleRates (appbase/Utils.h).
  TComboBox* ComboBoxRate{};
  // Item 0 "Mono" (one channel), item 1 "Stereo".
  TRadioGroup* GroupBoxSChannels{};
  TLabel* LabelSampleRate{};
  TButton *ButtonOK{}, *ButtonCancel{};
  void FormShow(TObject* Sender);
};

void RegisterConvertSampleRateClasses();
