#pragma once
// The envelope dialog: the user draws a gain curve over the selection in the curve editor TD.
// The caller labels TD's scale with BoundToSelection, shows the dialog modally and after OK
// reads TD->CurveValues() (LineArraySize values in dB).

#include "Imports/AudioTransformDisplay.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class IAudioEditor2Position;

class TEnvelopeForm : public TForm {
 public:
  explicit TEnvelopeForm(TComponent* AOwner);
  TAudioTransformDisplay2* TD{};
  TButton *ButtonOK{}, *ButtonCancel{}, *ButtonHelp{}, *ButtonSetFlat{};
  TBevel* Bevel{};

  // TD's horizontal scale runs from the selection's first sample to its last.
  void BoundToSelection(IAudioEditor2Position* Position);
  void FormShow(TObject* Sender);
  void ButtonHelpClick(TObject* Sender);
};

void RegisterEnvelopeDialogClasses();
