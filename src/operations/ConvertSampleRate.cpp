#include "operations/ConvertSampleRate.h"

#include "operations/DialogSupport.h"
#include "platform/rtl/TypInfo.h"

TConvertSampleRateForm::TConvertSampleRateForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  RegisterConvertSampleRateClasses();
  InitForm("TConvertSampleRateForm");
  GroupBoxSampleRate = DialogComponent<TGroupBox>(this, "GroupBoxSampleRate");
  LabelNewSampleRate = DialogComponent<TLabel>(this, "LabelNewSampleRate");
  ComboBoxRate = DialogComponent<TComboBox>(this, "ComboBoxRate");
  GroupBoxSChannels = DialogComponent<TRadioGroup>(this, "GroupBoxSChannels");
  LabelSampleRate = DialogComponent<TLabel>(this, "LabelSampleRate");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
}

void TConvertSampleRateForm::FormShow(TObject*) { SubstituteDialogFont(this); }

void RegisterConvertSampleRateClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterClass<TConvertSampleRateForm, TForm>();
  Published<TConvertSampleRateForm>().Method("FormShow", &TConvertSampleRateForm::FormShow);
}
