#pragma once
// The chooser the CD dialog shows when the disc database answers: one row per match, "title -
// category"; OK takes the selected one.

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TMatchForm : public TForm {
 public:
  explicit TMatchForm(TComponent* AOwner);

  TLabel* LabelMultiple = nullptr;
  TListBox* LstMatches = nullptr;
  TButton* ButtonOK = nullptr;
  TButton* ButtonCancel = nullptr;

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void LstMatchesDblClick(TObject* Sender);
};

void RegisterMultiFoundCDDBClasses();
