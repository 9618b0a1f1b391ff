#pragma once
// The options dialog: how new files are made, the file-window and Explorer options, the recent
// files, the editor's working folder and when to play.

#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TOptionsForm : public TForm {
 public:
  explicit TOptionsForm(TComponent* AOwner);

  TPageControl* PageControl{};
  TRadioButton *RadioButtonPrompt{}, *RadioButtonUseDefault{};
  TButton* ButtonSetDefault{};
  TCheckBox *CheckBoxAutorearrange{}, *CheckBoxAddToExplore{};
  TButton* ButtonDeleteRecent{};
  TRadioButton *RadioButtonUseDefaultFolder{}, *RadioButtonUseSpecifiedFolder{};
  TEdit* EditFolder{};
  TButton* ButtonFolder{};
  TCheckBox *CheckBoxPlayAfterOpen{}, *CheckBoxPlayAfterEdit{}, *CheckBoxPlayAfterBookbark{},
      *CheckBoxPlayAfterRegion{};
  TButton *ButtonOK{}, *ButtonCancel{}, *ButtonHelp{};

  // Settings to controls and back (GlobalVars' OP_ fields).
  void LoadOptions();
  void SaveOptions();

  void FormShow(TObject* Sender);
  void RadioButtonClick(TObject* Sender);
  void ButtonFolderClick(TObject* Sender);
  void ButtonSetDefaultClick(TObject* Sender);
  void ButtonDeleteRecentClick(TObject* Sender);
  void ButtonHelpClick(TObject* Sender);

 private:
  // The default-format button goes with the default choice, the folder edit and its button
  // with the specified folder.
  void UpdateEnabling();
};

// The index of a rate in the conversion dialog's list; a rate it lacks gives 44100's.
int ConvertRateIndex(int Rate);
// The rate of a conversion list index; an index off the list gives 44100.
int ConvertRateFromIndex(int Index);

void RegisterOptionsClasses();
