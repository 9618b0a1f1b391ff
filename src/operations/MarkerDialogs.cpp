#include "operations/MarkerDialogs.h"

#include "operations/DialogSupport.h"
#include "operations/FormatSummary.h"
#include "platform/rtl/TypInfo.h"

TAddRegionOrBookmarkForm::TAddRegionOrBookmarkForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TAddRegionOrBookmarkForm");
  LabelEnterName = DialogComponent<TLabel>(this, "LabelEnterName");
  EditName = DialogComponent<TEdit>(this, "EditName");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
}

void TAddRegionOrBookmarkForm::FormShow(TObject*) { SubstituteDialogFont(this); }

void TAddRegionOrBookmarkForm::ButtonOKClick(TObject*) {
  if (EditName->Text().find_first_not_of(' ') != std::string::npos) {
    SetModalResult(mrOk);
    return;
  }
  EditName->SetText("");
  if (EditName->CanFocus()) EditName->SetFocus();
  ShowErrorMessage("You must enter a name. Please try again.");
}

bool AskRegionOrBookmarkName(TComponent* Owner, TControl* CenterOver, const std::string& Prompt,
                             std::string& Name) {
  TAddRegionOrBookmarkForm dialog(Owner);
  if (CenterOver) CenterOverWindow(&dialog, CenterOver);
  dialog.SetCaption(Prompt);
  dialog.LabelEnterName->SetCaption(Prompt);
  dialog.EditName->SetText(Name);
  if (dialog.ShowModal() != mrOk) return false;
  Name = dialog.EditName->Text();
  return true;
}

TSelectToBookmarkForm::TSelectToBookmarkForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TSelectToBookmarkForm");
  LabelBookmark = DialogComponent<TLabel>(this, "LabelBookmark");
  ComboBoxBookmark = DialogComponent<TComboBox>(this, "ComboBoxBookmark");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
}

void TSelectToBookmarkForm::FormShow(TObject*) { SubstituteDialogFont(this); }

void RegisterMarkerDialogClasses() {
  RegisterClass<TAddRegionOrBookmarkForm, TForm>();
  Published<TAddRegionOrBookmarkForm>()
      .Method("FormShow", &TAddRegionOrBookmarkForm::FormShow)
      .Method("ButtonOKClick", &TAddRegionOrBookmarkForm::ButtonOKClick);
  RegisterClass<TSelectToBookmarkForm, TForm>();
  Published<TSelectToBookmarkForm>().Method("FormShow", &TSelectToBookmarkForm::FormShow);
}
