#include "operations/ExportRegion.h"

#include "appbase/Globals.h"
#include "appbase/Utils.h"
#include "operations/DialogSupport.h"
#include "operations/FormatSetup.h"
#include "operations/Mp3Format.h"
#include "operations/OggFormat.h"
#include "operations/WaveFormat.h"
#include "operations/WmaFormat.h"
#include "platform/rtl/TypInfo.h"

TExportRegionForm::TExportRegionForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TExportRegionForm");
  LabelExportFolder = DialogComponent<TLabel>(this, "LabelExportFolder");
  EditFolder = DialogComponent<TEdit>(this, "EditFolder");
  ButtonFolder = DialogComponent<TButton>(this, "ButtonFolder");
  LabelExportFormat = DialogComponent<TLabel>(this, "LabelExportFormat");
  ComboBoxFormat = DialogComponent<TComboBox>(this, "ComboBoxFormat");
  ButtonFormatSettings = DialogComponent<TButton>(this, "ButtonFormatSettings");
  ButtonOK = DialogComponent<TButton>(this, "ButtonOK");
  ButtonCancel = DialogComponent<TButton>(this, "ButtonCancel");
}

void TExportRegionForm::LoadSettings() {
  EditFolder->SetText(GlobalVars.ExportFolder);
  ComboBoxFormat->SetItemIndex(GlobalVars.ExportFormat);
}

void TExportRegionForm::SaveSettings() {
  GlobalVars.ExportFolder = EditFolder->Text();
  GlobalVars.ExportFormat = ComboBoxFormat->ItemIndex();
}

void TExportRegionForm::FormShow(TObject*) { SubstituteDialogFont(this); }

void TExportRegionForm::ButtonFolderClick(TObject*) {
  std::string folder = GlobalVars.ExportFolder;
  if (!BrowseForFolder(this, folder, "Please select a folder", "", 65)) return;
  GlobalVars.ExportFolder = folder;
  EditFolder->SetText(folder);
}

void TExportRegionForm::ButtonFormatSettingsClick(TObject*) {
  RunSaveFormatSetup(ComboBoxFormat->ItemIndex(), this);
}

const char* ExportFormatExtension(int FormatIndex) {
  static const char* const extensions[] = {".wav", ".mp3", ".ogg", ".wma"};
  return FormatIndex >= 0 && FormatIndex < 4 ? extensions[FormatIndex] : "";
}

void RegisterExportRegionClasses() {
  using F = TExportRegionForm;
  RegisterClass<F, TForm>();
  Published<F>()
      .Method("FormShow", &F::FormShow)
      .Method("ButtonFolderClick", &F::ButtonFolderClick)
      .Method("ButtonFormatSettingsClick", &F::ButtonFormatSettingsClick);
}
