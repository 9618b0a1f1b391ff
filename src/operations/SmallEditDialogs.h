#pragma once
// The small dialogs of the edit commands: audio tags, repeat loop, insert silence and paste mix.
// The caller fills the controls before showing a dialog modally and reads them after OK.

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TEditID3Form : public TForm {
 public:
  explicit TEditID3Form(TComponent* AOwner);
  TLabel *LabelTitle{}, *LabelArtist{}, *LabelAlbum{}, *LabelGenre{}, *LabelYear{}, *LabelComment{};
  TEdit *EditTitle{}, *EditArtist{}, *EditAlbum{};
  // Empty in the description: the caller adds the editor's genre names and selects one.
  TComboBox* ComboBoxGenre{};
  TEdit* EditYear{};
  TMemo* MemoComment{};
  TBevel* Bevel{};
  TButton *ButtonOK{}, *ButtonCancel{};
  void FormShow(TObject* Sender);
};

class TRepeatLoopForm : public TForm {
 public:
  explicit TRepeatLoopForm(TComponent* AOwner);
  TLabel* LabelRepeat{};
  TEdit* EditRepeatTimes{};
  TBevel* Bevel1{};
  TButton *ButtonOK{}, *ButtonCancel{};
  void FormShow(TObject* Sender);
};

class TInsertSilenceForm : public TForm {
 public:
  explicit TInsertSilenceForm(TComponent* AOwner);
  TLabel* LabelSilence{};
  TEdit* EditSilenceTime{};
  TBevel* Bevel1{};
  TButton *ButtonOK{}, *ButtonCancel{};
  void FormShow(TObject* Sender);
};

class TPasteMixForm : public TForm {
 public:
  explicit TPasteMixForm(TComponent* AOwner);
  TGroupBox* GroupBoxMixVolume{};
  TLabel* LabelSelectePart{};
  TEdit* EditSelectPart{};
  TLabel* LabelAudioInBuffer{};
  TEdit* EditAudioInBuffer{};
  TGroupBox* GroupBoxIfMix{};
  TRadioButton *RadioButtonIncreaseSelection{}, *RadioButtonInsertSilence{};
  TButton *btnOK{}, *btnCancel{}, *btnHelp{};
  void FormShow(TObject* Sender);
  // Ends the dialog with OK only when both levels are at most 100 percent.
  void btnOKClick(TObject* Sender);
  void btnHelpClick(TObject* Sender);
};

void RegisterSmallEditDialogClasses();
