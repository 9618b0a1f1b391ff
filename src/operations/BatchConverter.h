#pragma once
// The batch converter: a three-step wizard that collects sound files (Step 1), a chain of effect
// commands (Step 2) and the output format and folder (Step 3), then converts every file. Files
// convert in parallel, one worker per core; the window reports them in list order.

#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Menus.h"
#include "platform/gui/StdCtrls.h"

class TStrings;
struct TBatchRun;

class TBatchConverterForm : public TForm {
 public:
  explicit TBatchConverterForm(TComponent* AOwner);
  ~TBatchConverterForm() override;

  TPanel* PanelTop{};
  TLabel *LabelStep{}, *LabelStepDetail{};
  TPageControl* PageControl{};
  TTabSheet *TabSheetStep1{}, *TabSheetStep2{}, *TabSheetStep3{};
  TGroupBox* GroupBoxFileList{};
  TListView* ListViewFiles{};
  TButton *ButtonAddFiles{}, *ButtonAddFolder{}, *ButtonRemove{};
  TGroupBox* GroupBoxCommand{};
  TListView* ListViewCommand{};
  TButton *ButtonAddCommand{}, *ButtonRemoveCommand{}, *ButtonCommandSettings{};
  TGroupBox* GroupBoxOutputFormat{};
  TRadioButton *RadioButtonutputFormatUseTheSame{}, *RadioButtonutputFormatConvertTo{};
  TComboBox* ComboBoxFormat{};
  TButton* ButtonFormatSettings{};
  TGroupBox* GroupBoxOutputFolder{};
  TRadioButton *RadioButtonOutputFolderUseTheSame{}, *RadioButtonOutputFolderSaveTo{};
  TEdit* EditFolder{};
  TButton* ButtonFolder{};
  TGroupBox* GroupBoxProcessing{};
  TLabel *LabelProcessFileName{}, *LabelLabelStatus{}, *LabelBatch{};
  TProgressBar *ProgressBar{}, *ProgressBarBatch{};
  TButton* ButtonCancelConverting{};
  TButton *ButtonNext{}, *ButtonBack{}, *ButtonCancel{}, *ButtonHelp{};
  TOpenDialog* OpenDialog{};
  TCustomImageList* ImgListIcon{};
  TPopupMenu *PopupMenuListView{}, *PopupMenuCommand{};
  TActionList* ActionList{};
  TAction *ActionAddFile{}, *ActionAddFolder{}, *ActionRemoveFiles{}, *ActionSelectAllFiles{},
      *ActionBack{}, *ActionNext{}, *ActionAddCommand{}, *ActionRemoveCommand{},
      *ActionCommandSettings{}, *ActionFormatSettings{}, *ActionSaveToFolderSelection{};

  // True when no run is active or a stop was confirmed.
  bool StopFlag = true;
  int FileTotal = 0, DoneCount = 0, FailedCount = 0;
  std::string CurrentSource, CurrentOutput;

  void ShowStep(int Step);
  int Step() const;
  void SelectFileItem(int Index);
  void AddFile(const std::string& Path);
  void AddFiles(TStrings* Paths);
  void AddFolder(const std::string& Folder);
  // The names of a drop, in its order: folders are scanned, files added. Refused during a run.
  void DropFiles(const std::vector<std::string>& Names);

  void RunBatch();
  bool Running() const { return FRun != nullptr; }
  static std::string OutputFolder(const std::string& SourceFolder);
  void RemoveDoneFile(const std::string& Path);
  void MoveFailedFileToEnd(const std::string& Path);
  void EnableSettings(bool Enabled);

  void FormCreate(TObject* Sender);
  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void FormKeyDown(TObject* Sender, WORD& Key, TShiftState Shift);
  void ActionListUpdate(TBasicAction* Action, bool& Handled);
  void ActionAddFileExecute(TObject* Sender);
  void ActionAddFolderExecute(TObject* Sender);
  void ActionRemoveFilesExecute(TObject* Sender);
  void ActionSelectAllFilesExecute(TObject* Sender);
  void ActionBackExecute(TObject* Sender);
  void ActionNextExecute(TObject* Sender);
  void ActionAddCommandExecute(TObject* Sender);
  void ActionRemoveCommandExecute(TObject* Sender);
  void ActionCommandSettingsExecute(TObject* Sender);
  void ListViewCommandDblClick(TObject* Sender);
  void ActionFormatSettingsExecute(TObject* Sender);
  void ActionSaveToFolderSelectionExecute(TObject* Sender);
  void RadioButtonutputFormatUseTheSameClick(TObject* Sender);
  void ComboBoxFormatChange(TObject* Sender);
  void RadioButtonOutputFolderUseTheSameClick(TObject* Sender);
  void ListViewFilesDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                             bool& Accept);
  void ButtonCancelConvertingClick(TObject* Sender);
  void ButtonCancelClick(TObject* Sender);
  void ButtonHelpClick(TObject* Sender);

  // During a run the close box asks the stop question instead of closing.
  bool CloseQuery() override;

 protected:
  void Dispatch(TMessage& Message) override;

 private:
  void ApplyFormatRule();
  void ApplyFolderRule();
  // Removes the selected rows from last to first and selects the row at the lowest index.
  static void RemoveSelectedRows(TListView* List);
  TListItem* FindFileRow(const std::string& Name, const std::string& Folder) const;
  // The labels and bar of the file being reported: the earliest unfinished one of the run.
  void ShowFileProgress(int64_t Position, int64_t Length);
  void ResetFileProgress();
  TBatchRun* FRun = nullptr;
};

// Opens the batch converter over the main window: centred, modal, freed afterwards.
void ShowBatchConverter(TCustomForm* MainWindow);

void RegisterBatchConverterClasses();

// Called on a worker after each block of a file it converted, with that file's stop flag. Empty
// in the program; a test sets it to hold a file in the middle of its conversion.
extern std::function<void(const std::string& Source, const std::atomic<bool>& Stop)> BatchBlockHook;
