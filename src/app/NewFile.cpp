#include "app/NewFile.h"

#include "appbase/Globals.h"
#include "appbase/HtmlHelp.h"
#include "appbase/Utils.h"
#include "operations/DialogSupport.h"
#include "platform/rtl/TypInfo.h"

namespace {
constexpr int kRateCount = int(std::size(NewFileSampleRates));
constexpr int kDefaultRateIndex = 3;  // 44,100
}  // namespace

TNewFileForm::TNewFileForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterNewFileClasses();
  InitForm("TNewFileForm");
  LabelSampleRate = DialogComponent<TLabel>(this, "LabelSampleRate");
  LabelChannels = DialogComponent<TLabel>(this, "LabelChannels");
  cbSampleRate = DialogComponent<TComboBox>(this, "cbSampleRate");
  rbMono = DialogComponent<TRadioButton>(this, "rbMono");
  rbStereo = DialogComponent<TRadioButton>(this, "rbStereo");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
  ButtonHelp = DialogComponent<TButton>(this, "ButtonHelp");
}

void TNewFileForm::FormShow(TObject*) { SubstituteDialogFont(this); }

void TNewFileForm::ButtonHelpClick(TObject*) {
  ShowHelpTopic(Handle(), "CreateOpenandSaveaudiofiles");
}

bool AskNewFileFormat(TComponent* Owner, bool StoredChoice, int& SampleRate, int& Channels) {
  TNewFileForm dialog(Owner);
  if (StoredChoice) {
    // A stored index off the list (a damaged value) opens on 44,100 rather than on no rate.
    const int index = GlobalVars.DefNewFileSampleRate;
    dialog.cbSampleRate->SetItemIndex(index < kRateCount ? index : kDefaultRateIndex);
    (GlobalVars.DefNewFileChannels == 1 ? dialog.rbMono : dialog.rbStereo)->SetChecked(true);
  }
  if (dialog.ShowModal() != mrOk) return false;
  int index = dialog.cbSampleRate->ItemIndex();
  if (index < 0 || index >= kRateCount) index = kDefaultRateIndex;
  SampleRate = NewFileSampleRates[index];
  const bool mono = dialog.rbMono->Checked();
  Channels = mono ? 1 : 2;
  if (StoredChoice) {
    GlobalVars.DefNewFileSampleRate = uint8_t(index);
    GlobalVars.DefNewFileChannels = mono ? 1 : 0;
  }
  return true;
}

void RegisterNewFileClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterEditingDialogClasses();
  RegisterClass<TNewFileForm, TForm>();
  Published<TNewFileForm>()
      .Method("FormShow", &TNewFileForm::FormShow)
      .Method("ButtonHelpClick", &TNewFileForm::ButtonHelpClick);
}
