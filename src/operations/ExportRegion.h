#pragma once
// The export dialog of the region list: the folder and the save format the selected regions are
// written in, and that format's settings.

#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"

class TExportRegionForm : public TForm {
 public:
  explicit TExportRegionForm(TComponent* AOwner);
  TLabel* LabelExportFolder{};
  TEdit* EditFolder{};
  TButton* ButtonFolder{};
  TLabel* LabelExportFormat{};
  TComboBox* ComboBoxFormat{};
  TButton* ButtonFormatSettings{};
  TButton *ButtonOK{}, *ButtonCancel{};

  void LoadSettings();
  void SaveSettings();
  void FormShow(TObject* Sender);
  // The folder chosen here is stored at once: it stays even when the dialog is cancelled.
  void ButtonFolderClick(TObject* Sender);
  void ButtonFormatSettingsClick(TObject* Sender);
};

// The extension of an export format index (0 ".wav", 1 ".mp3", 2 ".ogg", 3 ".wma"); "" for
// any other.
const char* ExportFormatExtension(int FormatIndex);

void RegisterExportRegionClasses();
