#include "operations/SmallEditDialogs.h"

#include "appbase/HtmlHelp.h"
#include "operations/DialogSupport.h"
#include "platform/rtl/TypInfo.h"

TEditID3Form::TEditID3Form(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TEditID3Form");
  LabelTitle = DialogComponent<TLabel>(this, "LabelTitle");
  LabelArtist = DialogComponent<TLabel>(this, "LabelArtist");
  LabelAlbum = DialogComponent<TLabel>(this, "LabelAlbum");
  LabelGenre = DialogComponent<TLabel>(this, "LabelGenre");
  LabelYear = DialogComponent<TLabel>(this, "LabelYear");
  LabelComment = DialogComponent<TLabel>(this, "LabelComment");
  EditTitle = DialogComponent<TEdit>(this, "EditTitle");
  EditArtist = DialogComponent<TEdit>(this, "EditArtist");
  EditAlbum = DialogComponent<TEdit>(this, "EditAlbum");
  ComboBoxGenre = DialogComponent<TComboBox>(this, "ComboBoxGenre");
  EditYear = DialogComponent<TEdit>(this, "EditYear");
  MemoComment = DialogComponent<TMemo>(this, "MemoComment");
  Bevel = DialogComponent<TBevel>(this, "Bevel");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
}

void TEditID3Form::FormShow(TObject*) {
  SubstituteDialogFont(this);
  SetNumberStyle(EditYear);
}

TRepeatLoopForm::TRepeatLoopForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TRepeatLoopForm");
  LabelRepeat = DialogComponent<TLabel>(this, "LabelRepeat");
  EditRepeatTimes = DialogComponent<TEdit>(this, "EditRepeatTimes");
  Bevel1 = DialogComponent<TBevel>(this, "Bevel1");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
}

void TRepeatLoopForm::FormShow(TObject*) {
  SubstituteDialogFont(this);
  SetNumberStyle(EditRepeatTimes);
}

TInsertSilenceForm::TInsertSilenceForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TInsertSilenceForm");
  LabelSilence = DialogComponent<TLabel>(this, "LabelSilence");
  EditSilenceTime = DialogComponent<TEdit>(this, "EditSilenceTime");
  Bevel1 = DialogComponent<TBevel>(this, "Bevel1");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
}

void TInsertSilenceForm::FormShow(TObject*) {
  SubstituteDialogFont(this);
  SetNumberStyle(EditSilenceTime);
}

TPasteMixForm::TPasteMixForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TPasteMixForm");
  GroupBoxMixVolume = DialogComponent<TGroupBox>(this, "GroupBoxMixVolume");
  LabelSelectePart = DialogComponent<TLabel>(this, "LabelSelectePart");
  EditSelectPart = DialogComponent<TEdit>(this, "EditSelectPart");
  LabelAudioInBuffer = DialogComponent<TLabel>(this, "LabelAudioInBuffer");
  EditAudioInBuffer = DialogComponent<TEdit>(this, "EditAudioInBuffer");
  GroupBoxIfMix = DialogComponent<TGroupBox>(this, "GroupBoxIfMix");
  RadioButtonIncreaseSelection = DialogComponent<TRadioButton>(this, "RadioButtonIncreaseSelection");
  RadioButtonInsertSilence = DialogComponent<TRadioButton>(this, "RadioButtonInsertSilence");
  btnOK = DialogComponent<TButton>(this, "btnOK");
  btnCancel = DialogComponent<TButton>(this, "btnCancel");
  btnHelp = DialogComponent<TButton>(this, "btnHelp");
}

void TPasteMixForm::FormShow(TObject*) {
  SubstituteDialogFont(this);
  SetNumberStyle(EditSelectPart);
  SetNumberStyle(EditAudioInBuffer);
}

void TPasteMixForm::btnOKClick(TObject*) {
  // Each level is converted only when the one before it passed, so an empty edit behind an
  // over-range one is not reported.
  for (TEdit* edit : {EditSelectPart, EditAudioInBuffer}) {
    if (StrToInt(edit->Text()) > 100) {
      ShowErrorMessage("Mix Volume must be less than 100%. Please try again.");
      edit->SetFocus();
      return;
    }
  }
  SetModalResult(mrOk);
}

void TPasteMixForm::btnHelpClick(TObject*) { ShowHelpTopic(Handle(), "Editing"); }

void RegisterSmallEditDialogClasses() {
  RegisterClass<TEditID3Form, TForm>();
  Published<TEditID3Form>().Method("FormShow", &TEditID3Form::FormShow);
  RegisterClass<TRepeatLoopForm, TForm>();
  Published<TRepeatLoopForm>().Method("FormShow", &TRepeatLoopForm::FormShow);
  RegisterClass<TInsertSilenceForm, TForm>();
  Published<TInsertSilenceForm>().Method("FormShow", &TInsertSilenceForm::FormShow);
  RegisterClass<TPasteMixForm, TForm>();
  Published<TPasteMixForm>()
      .Method("FormShow", &TPasteMixForm::FormShow)
      .Method("btnOKClick", &TPasteMixForm::btnOKClick)
      .Method("btnHelpClick", &TPasteMixForm::btnHelpClick);
}
