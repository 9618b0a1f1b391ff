#include "cd/MultiFoundCDDB.h"

#include "platform/gui/FontSubstitution.h"
#include "platform/rtl/TypInfo.h"

TMatchForm::TMatchForm(TComponent* AOwner) : TForm(AOwner) { InitForm("TMatchForm"); }

void TMatchForm::FormCreate(TObject*) {
  LabelMultiple = dynamic_cast<TLabel*>(FindComponent("LabelMultiple"));
  LstMatches = dynamic_cast<TListBox*>(FindComponent("LstMatches"));
  ButtonOK = dynamic_cast<TButton*>(FindComponent("ButtonOK"));
  ButtonCancel = dynamic_cast<TButton*>(FindComponent("ButtonCancel"));
}

void TMatchForm::FormShow(TObject*) {
  SubstituteFontName(this, "Tahoma", Screen->HintFont()->Name());
  LstMatches->SetItemIndex(0);
}

void TMatchForm::LstMatchesDblClick(TObject*) { SetModalResult(mrOk); }

void RegisterMultiFoundCDDBClasses() {
  RegisterClass<TMatchForm, TForm>();
  Published<TMatchForm>()
      .Method("FormCreate", &TMatchForm::FormCreate)
      .Method("FormShow", &TMatchForm::FormShow)
      .Method("LstMatchesDblClick", &TMatchForm::LstMatchesDblClick);
}
