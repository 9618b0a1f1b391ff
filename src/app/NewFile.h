#pragma once
// The new-file dialog: the sample rate and channel count of a new document.

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TNewFileForm : public TForm {
 public:
  explicit TNewFileForm(TComponent* AOwner);
  TLabel *LabelSampleRate{}, *LabelChannels{};
  // Items 0..11: NewFileSampleRates (appbase/Utils.h).
  TComboBox* cbSampleRate{};
  TRadioButton *rbMono{}, *rbStereo{};
  TButton *ButtonOK{}, *ButtonCancel{}, *ButtonHelp{};
  void FormShow(TObject* Sender);
  void ButtonHelpClick(TObject* Sender);
};

// Asks for the format of a new document over Owner. With StoredChoice the dialog opens on
// DefNewFileSampleRate and DefNewFileChannels and OK stores the choice back; without, it opens on
// its own preselection (44,100, stereo) and stores nothing. False when cancelled.
bool AskNewFileFormat(TComponent* Owner, bool StoredChoice, int& SampleRate, int& Channels);

void RegisterNewFileClasses();
