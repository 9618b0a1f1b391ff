#pragma once
// The progress window of long editor and preview operations: one window for the whole run,
// brought up by the first progress event of an operation and folded away at its end.

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/gui/StdCtrls.h"

class TFormProgress : public TForm {
 public:
  explicit TFormProgress(TComponent* AOwner);
  TImage* Image{};
  TLabel *LabelProcess{}, *LabelWait{};
  TProgressBar* ProgressBar{};
  void FormShow(TObject* Sender);

  // Unless it already shows: 300 x 115 with a single border, centred over Over, shown. Then the
  // bar goes to Percent and pending messages run.
  void ShowProgress(TControl* Over, int Percent);
  // When it shows: hidden, 0 x 0 and without a border.
  void EndProgress();
};

extern TFormProgress* FormProgress;

void RegisterProgressClasses();
