#include "app/Options.h"

#include "app/Main.h"
#include "appbase/Globals.h"
#include "appbase/HtmlHelp.h"
#include "appbase/Utils.h"
#include "operations/ConvertSampleRate.h"
#include "operations/DialogSupport.h"
#include "operations/FormatSummary.h"
#include "platform/rtl/TypInfo.h"

namespace {
constexpr int kDefaultRateIndex = 3;  // 44100
}

int ConvertRateIndex(int Rate) {
  for (int i = 0; i < int(std::size(ConvertSampleRates)); ++i)
    if (ConvertSampleRates[i] == Rate) return i;
  return kDefaultRateIndex;
}

int ConvertRateFromIndex(int Index) {
  if (Index < 0 || Index >= int(std::size(ConvertSampleRates))) return 44100;
  return ConvertSampleRates[Index];
}

TOptionsForm::TOptionsForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterOptionsClasses();
  InitForm("TOptionsForm");
  PageControl = DialogComponent<TPageControl>(this, "PageControl");
  RadioButtonPrompt = DialogComponent<TRadioButton>(this, "RadioButtonPrompt");
  RadioButtonUseDefault = DialogComponent<TRadioButton>(this, "RadioButtonUseDefault");
  ButtonSetDefault = DialogComponent<TButton>(this, "ButtonSetDefault");
  CheckBoxAutorearrange = DialogComponent<TCheckBox>(this, "CheckBoxAutorearrange");
  CheckBoxAddToExplore = DialogComponent<TCheckBox>(this, "CheckBoxAddToExplore");
  ButtonDeleteRecent = DialogComponent<TButton>(this, "ButtonDeleteRecent");
  RadioButtonUseDefaultFolder = DialogComponent<TRadioButton>(this, "RadioButtonUseDefaultFolder");
  RadioButtonUseSpecifiedFolder =
      DialogComponent<TRadioButton>(this, "RadioButtonUseSpecifiedFolder");
  EditFolder = DialogComponent<TEdit>(this, "EditFolder");
  ButtonFolder = DialogComponent<TButton>(this, "ButtonFolder");
  CheckBoxPlayAfterOpen = DialogComponent<TCheckBox>(this, "CheckBoxPlayAfterOpen");
  CheckBoxPlayAfterEdit = DialogComponent<TCheckBox>(this, "CheckBoxPlayAfterEdit");
  CheckBoxPlayAfterBookbark = DialogComponent<TCheckBox>(this, "CheckBoxPlayAfterBookbark");
  CheckBoxPlayAfterRegion = DialogComponent<TCheckBox>(this, "CheckBoxPlayAfterRegion");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
  ButtonHelp = DialogComponent<TButton>(this, "ButtonHelp");
}

void TOptionsForm::LoadOptions() {
  const TGlobalVars& g = GlobalVars;
  (g.OP_PromptNewFile ? RadioButtonPrompt : RadioButtonUseDefault)->SetChecked(true);
  CheckBoxAutorearrange->SetChecked(g.OP_TileFormAfter);
  CheckBoxAddToExplore->SetChecked(g.OP_AddToExplorer);
  (g.OP_UseDefFolder ? RadioButtonUseDefaultFolder : RadioButtonUseSpecifiedFolder)->SetChecked(true);
  EditFolder->SetText(g.OP_WorkingFolder);
  CheckBoxPlayAfterOpen->SetChecked(g.OP_PlayAfterOpened);
  CheckBoxPlayAfterEdit->SetChecked(g.OP_PlayAfterEdit);
  CheckBoxPlayAfterBookbark->SetChecked(g.OP_PlayAfterBookmark);
  CheckBoxPlayAfterRegion->SetChecked(g.OP_PlayAfterRegion);
  UpdateEnabling();
}

void TOptionsForm::SaveOptions() {
  TGlobalVars& g = GlobalVars;
  g.OP_PromptNewFile = RadioButtonPrompt->Checked();
  g.OP_TileFormAfter = CheckBoxAutorearrange->Checked();
  g.OP_AddToExplorer = CheckBoxAddToExplore->Checked();
  g.OP_UseDefFolder = RadioButtonUseDefaultFolder->Checked();
  g.OP_WorkingFolder = EditFolder->Text();
  g.OP_PlayAfterOpened = CheckBoxPlayAfterOpen->Checked();
  g.OP_PlayAfterEdit = CheckBoxPlayAfterEdit->Checked();
  g.OP_PlayAfterBookmark = CheckBoxPlayAfterBookbark->Checked();
  g.OP_PlayAfterRegion = CheckBoxPlayAfterRegion->Checked();
}

void TOptionsForm::UpdateEnabling() {
  ButtonSetDefault->SetEnabled(RadioButtonUseDefault->Checked());
  const bool specified = RadioButtonUseSpecifiedFolder->Checked();
  EditFolder->SetEnabled(specified);
  ButtonFolder->SetEnabled(specified);
}

void TOptionsForm::FormShow(TObject*) {
  SubstituteDialogFont(this);
  UpdateEnabling();
}

void TOptionsForm::RadioButtonClick(TObject*) { UpdateEnabling(); }

void TOptionsForm::ButtonFolderClick(TObject*) {
  std::string folder = GlobalVars.OP_WorkingFolder;
  if (!BrowseForFolder(this, folder, "Please select a folder", "", 65)) return;
  // Taken at once: a later Cancel of the dialog keeps the chosen folder.
  GlobalVars.OP_WorkingFolder = folder;
  EditFolder->SetText(folder);
}

void TOptionsForm::ButtonSetDefaultClick(TObject*) {
  TConvertSampleRateForm dialog(this);
  CenterOverWindow(&dialog, this);
  dialog.ComboBoxRate->SetItemIndex(ConvertRateIndex(GlobalVars.OP_DefSample));
  dialog.GroupBoxSChannels->SetItemIndex(GlobalVars.OP_DefChannel == 1 ? 0 : 1);
  if (dialog.ShowModal() != mrOk) return;
  // Stored at once, like the folder.
  GlobalVars.OP_DefSample = ConvertRateFromIndex(dialog.ComboBoxRate->ItemIndex());
  GlobalVars.OP_DefChannel = dialog.GroupBoxSChannels->ItemIndex() == 0 ? 1 : 2;
}

void TOptionsForm::ButtonDeleteRecentClick(TObject*) {
  if (Application->MessageBox("Are you sure you want to delete your recent files list?",
                              Application->Title(), MB_YESNOCANCEL | MB_ICONQUESTION) != IDYES)
    return;
  ClearRecentFiles();
}

void TOptionsForm::ButtonHelpClick(TObject*) { ShowHelpTopic(Handle(), "APPOptions"); }

void RegisterOptionsClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterEditingDialogClasses();
  RegisterClass<TOptionsForm, TForm>();
  Published<TOptionsForm>()
      .Method("FormShow", &TOptionsForm::FormShow)
      .Method("RadioButtonClick", &TOptionsForm::RadioButtonClick)
      .Method("ButtonFolderClick", &TOptionsForm::ButtonFolderClick)
      .Method("ButtonSetDefaultClick", &TOptionsForm::ButtonSetDefaultClick)
      .Method("ButtonDeleteRecentClick", &TOptionsForm::ButtonDeleteRecentClick)
      .Method("ButtonHelpClick", &TOptionsForm::ButtonHelpClick);
}
