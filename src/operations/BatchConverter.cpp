#include "operations/BatchConverter.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <thread>

#include "appbase/Globals.h"
#include "appbase/HtmlHelp.h"
#include "appbase/Utils.h"
#include "operations/BatchCommands.h"
#include "operations/BatchPipeline.h"
#include "operations/DialogSupport.h"
#include "operations/FormatSetup.h"
#include "operations/Mp3Format.h"
#include "operations/OggFormat.h"
#include "operations/WaveFormat.h"
#include "operations/WmaFormat.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/TypInfo.h"

namespace {

constexpr UINT WM_BATCHWAKE = WM_USER + 1;

void ShowError(const std::string& Text) { Application->MessageBox(Text, {}, MB_OK | MB_ICONERROR); }

// The top-left that centres Dialog over Over.
void CentreOver(TControl* Dialog, TControl* Over) {
  Dialog->SetTop(Over->Top() + (Over->Height() - Dialog->Height()) / 2);
  Dialog->SetLeft(Over->Left() + (Over->Width() - Dialog->Width()) / 2);
}

// The hourglass for a scope, also when an exception passes.
struct TBusy {
  TBusy() { BeginBusy(); }
  ~TBusy() { EndBusy(); }
  TBusy(const TBusy&) = delete;
  TBusy& operator=(const TBusy&) = delete;
};

struct TBatchJob {
  std::string Source, OutputFolder;
  std::atomic<bool> Stop{false};
  std::atomic<bool> Done{false};
  std::atomic<int64_t> Position{0}, Length{0};
  TBatchOutcome Outcome;  // written by the worker before Done
};

}  // namespace

std::function<void(const std::string&, const std::atomic<bool>&)> BatchBlockHook;

// One run: the jobs in list order and the workers that take them in that order.
struct TBatchRun {
  TBatchChain Chain;
  TGlobalVars Settings;
  std::vector<std::unique_ptr<TBatchJob>> Jobs;
  std::atomic<size_t> Next{0};
  std::vector<std::thread> Workers;
  HWND Wake = nullptr;

  TBatchRun() {
    Wake = AllocateHWnd([](TMessage&) {});
  }
  ~TBatchRun() { Finish(); }

  void Start() {
    size_t n = std::max(1u, std::thread::hardware_concurrency());
    n = std::min(n, Jobs.size());
    for (size_t i = 0; i < n; ++i) Workers.emplace_back([this] { Work(); });
  }

  void Work() {
    TBatchFileConverter converter(Chain, Settings);
    for (;;) {
      const size_t i = Next++;
      if (i >= Jobs.size()) return;
      TBatchJob& job = *Jobs[i];
      if (!job.Stop) {
        job.Outcome = converter.Convert(job.Source, job.OutputFolder, job.Stop,
                                        [this, &job](int64_t position, int64_t length) {
                                          job.Position = position;
                                          job.Length = length;
                                          PostMessage(Wake, WM_BATCHWAKE, 0, 0);
                                          if (BatchBlockHook) BatchBlockHook(job.Source, job.Stop);
                                        });
      }
      job.Done = true;
      PostMessage(Wake, WM_BATCHWAKE, 0, 0);
    }
  }

  // Stops every worker and drops the work files no one named.
  void Finish() {
    for (auto& job : Jobs) job->Stop = true;
    Next = Jobs.size();
    for (std::thread& t : Workers) t.join();
    Workers.clear();
    for (auto& job : Jobs)
      if (!job->Outcome.WorkFile.empty()) {
        DeleteFile(job->Outcome.WorkFile);
        job->Outcome.WorkFile.clear();
      }
    if (Wake) DeallocateHWnd(Wake);
    Wake = nullptr;
  }
};

TBatchConverterForm::TBatchConverterForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  RegisterBatchConverterClasses();
  InitForm("TBatchConverterForm");
}

TBatchConverterForm::~TBatchConverterForm() { BeforeDestruction(); }

void TBatchConverterForm::FormCreate(TObject*) {
  auto find = [this](auto*& Field, const char* Name) {
    Field = DialogComponent<std::remove_pointer_t<std::remove_reference_t<decltype(Field)>>>(this,
                                                                                            Name);
  };
  find(PanelTop, "PanelTop");
  find(LabelStep, "LabelStep");
  find(LabelStepDetail, "LabelStepDetail");
  find(PageControl, "PageControl");
  find(TabSheetStep1, "TabSheetStep1");
  find(TabSheetStep2, "TabSheetStep2");
  find(TabSheetStep3, "TabSheetStep3");
  find(GroupBoxFileList, "GroupBoxFileList");
  find(ListViewFiles, "ListViewFiles");
  find(ButtonAddFiles, "ButtonAddFiles");
  find(ButtonAddFolder, "ButtonAddFolder");
  find(ButtonRemove, "ButtonRemove");
  find(GroupBoxCommand, "GroupBoxCommand");
  find(ListViewCommand, "ListViewCommand");
  find(ButtonAddCommand, "ButtonAddCommand");
  find(ButtonRemoveCommand, "ButtonRemoveCommand");
  find(ButtonCommandSettings, "ButtonCommandSettings");
  find(GroupBoxOutputFormat, "GroupBoxOutputFormat");
  find(RadioButtonutputFormatUseTheSame, "RadioButtonutputFormatUseTheSame");
  find(RadioButtonutputFormatConvertTo, "RadioButtonutputFormatConvertTo");
  find(ComboBoxFormat, "ComboBoxFormat");
  find(ButtonFormatSettings, "ButtonFormatSettings");
  find(GroupBoxOutputFolder, "GroupBoxOutputFolder");
  find(RadioButtonOutputFolderUseTheSame, "RadioButtonOutputFolderUseTheSame");
  find(RadioButtonOutputFolderSaveTo, "RadioButtonOutputFolderSaveTo");
  find(EditFolder, "EditFolder");
  find(ButtonFolder, "ButtonFolder");
  find(GroupBoxProcessing, "GroupBoxProcessing");
  find(LabelProcessFileName, "LabelProcessFileName");
  find(LabelLabelStatus, "LabelLabelStatus");
  find(LabelBatch, "LabelBatch");
  find(ProgressBar, "ProgressBar");
  find(ProgressBarBatch, "ProgressBarBatch");
  find(ButtonCancelConverting, "ButtonCancelConverting");
  find(ButtonNext, "ButtonNext");
  find(ButtonBack, "ButtonBack");
  find(ButtonCancel, "ButtonCancel");
  find(ButtonHelp, "ButtonHelp");
  find(OpenDialog, "OpenDialog");
  find(PopupMenuListView, "PopupMenuListView");
  find(PopupMenuCommand, "PopupMenuCommand");
  find(ActionList, "ActionList");
  find(ActionAddFile, "ActionAddFile");
  find(ActionAddFolder, "ActionAddFolder");
  find(ActionRemoveFiles, "ActionRemoveFiles");
  find(ActionSelectAllFiles, "ActionSelectAllFiles");
  find(ActionBack, "ActionBack");
  find(ActionNext, "ActionNext");
  find(ActionAddCommand, "ActionAddCommand");
  find(ActionRemoveCommand, "ActionRemoveCommand");
  find(ActionCommandSettings, "ActionCommandSettings");
  find(ActionFormatSettings, "ActionFormatSettings");
  find(ActionSaveToFolderSelection, "ActionSaveToFolderSelection");

  // The file rows' icon: a small sound wave.
  ImgListIcon = new TCustomImageList(this);
  ImgListIcon->SetName("ImgListIcon");
  TBitmap icon;
  icon.SetSize(16, 16);
  TCanvas* c = icon.Canvas();
  c->Brush()->SetColor(clFuchsia);
  c->FillRect(Rect(0, 0, 16, 16));
  c->Pen()->SetColor(TColor(0x00A05010));
  const int heights[] = {3, 6, 10, 5, 12, 7, 9, 4, 11, 6, 3};
  for (int i = 0; i < 11; ++i) {
    c->MoveTo(2 + i, 8 - heights[i] / 2);
    c->LineTo(2 + i, 8 + (heights[i] + 1) / 2);
  }
  ImgListIcon->AddMasked(&icon, clFuchsia);
  ListViewFiles->SetSmallImages(ImgListIcon);

  ShowStep(0);
  StopFlag = true;
  RadioButtonutputFormatUseTheSame->SetChecked(GlobalVars.BatchFileFormatUseTheSame);
  RadioButtonutputFormatConvertTo->SetChecked(!GlobalVars.BatchFileFormatUseTheSame);
  ComboBoxFormat->SetItemIndex(GlobalVars.BatchFileFormatIndex);
  RadioButtonOutputFolderUseTheSame->SetChecked(GlobalVars.BatchFileSaveFolderUseTheSame);
  RadioButtonOutputFolderSaveTo->SetChecked(!GlobalVars.BatchFileSaveFolderUseTheSame);
  EditFolder->SetText(GlobalVars.BatchFileSaveFolderpath);
  ApplyFormatRule();
  ApplyFolderRule();
  DragAcceptFiles(Handle(), TRUE);
}

void TBatchConverterForm::FormShow(TObject*) { SubstituteDialogFont(this); }

void TBatchConverterForm::FormClose(TObject*, TCloseAction&) {
  GlobalVars.BatchFileFormatUseTheSame = RadioButtonutputFormatUseTheSame->Checked();
  GlobalVars.BatchFileFormatIndex = ComboBoxFormat->ItemIndex();
  GlobalVars.BatchFileSaveFolderUseTheSame = RadioButtonOutputFolderUseTheSame->Checked();
  GlobalVars.BatchFileSaveFolderpath = EditFolder->Text();
}

void TBatchConverterForm::ShowStep(int Step) {
  for (int i = 0; i < PageControl->PageCount(); ++i) PageControl->Pages(i)->SetTabVisible(false);
  PageControl->SetActivePageIndex(Step);
}

int TBatchConverterForm::Step() const { return PageControl->ActivePageIndex(); }

void TBatchConverterForm::SelectFileItem(int Index) {
  const int count = ListViewFiles->Items()->Count();
  if (count == 0) return;
  TListItem* item = ListViewFiles->Items()->Item(std::min(Index, count - 1));
  item->MakeVisible(false);
  item->SetSelected(true);
}

TListItem* TBatchConverterForm::FindFileRow(const std::string& Name,
                                            const std::string& Folder) const {
  // Names compare exactly: a folder may hold both "x.wav" and "X.WAV".
  TListItems* items = ListViewFiles->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TListItem* item = items->Item(i);
    if (item->Caption() == Name && item->SubItems()->Count() > 0 &&
        item->SubItems()->Strings(0) == Folder)
      return item;
  }
  return nullptr;
}

void TBatchConverterForm::AddFile(const std::string& Path) {
  if (!FileExists(Path) || !IsSupportedAudioExt(ExtractFileExt(Path))) return;
  try {
    const std::string name = ExtractFileName(Path), folder = ExtractFilePath(Path);
    if (FindFileRow(name, folder)) return;
    auto record = std::make_unique<TBatchFileItem>();
    record->FileName = name;
    record->Folder = folder;
    TListItem* item = ListViewFiles->Items()->Add();
    item->SetCaption(name);
    item->SetImageIndex(0);
    item->SubItems()->Add(folder);
    item->SetData(std::move(record));
  } catch (const Exception&) {
    ShowError(Format("An error occurred while adding file:\r\n\r\nThe file \"%s\" is damaged or "
                     "the format is not supported.",
                     {Path}));
  }
}

void TBatchConverterForm::AddFiles(TStrings* Paths) {
  for (int i = 0; i < Paths->Count(); ++i) AddFile(Paths->Strings(i));
}

void TBatchConverterForm::AddFolder(const std::string& Folder) {
  TBusy busy;
  const std::string folder = AddTrailingBackslash(Folder);
  TSearchRec sr;
  if (FindFirst(folder + "*.*", faAnyFile, sr) == 0) {
    do AddFile(folder + sr.Name);
    while (FindNext(sr) == 0);
    FindClose(sr);
  }
}

void TBatchConverterForm::DropFiles(const std::vector<std::string>& Names) {
  // The run owns the list while it converts.
  if (Running()) return;
  TBusy busy;
  for (const std::string& name : Names) {
    if (DirectoryExists(name))
      AddFolder(name);
    else
      AddFile(name);
  }
}

void TBatchConverterForm::Dispatch(TMessage& Message) {
  if (Message.Msg != WM_DROPFILES) {
    TForm::Dispatch(Message);
    return;
  }
  auto drop = reinterpret_cast<HDROP>(Message.WParam);
  std::vector<std::string> names;
  const UINT count = DragQueryFile(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    // Each name at its full length: a fixed buffer would cut long paths.
    std::string name(DragQueryFile(drop, i, nullptr, 0), '\0');
    DragQueryFile(drop, i, name.data(), UINT(name.size() + 1));
    names.push_back(name);
  }
  DragFinish(drop);
  DropFiles(names);
}

void TBatchConverterForm::FormKeyDown(TObject*, WORD& Key, TShiftState Shift) {
  if (Shift.Contains(TShiftStateItem::ssCtrl) && (Key == 65 || Key == 97) && Step() == 0)
    ActionSelectAllFilesExecute(this);
  if (Key == VK_DELETE) {
    if (Step() == 0)
      ActionRemoveFilesExecute(this);
    else if (Step() == 1)
      ActionRemoveCommandExecute(this);
  }
}

void TBatchConverterForm::ActionListUpdate(TBasicAction*, bool&) {
  const int files = ListViewFiles->Items()->Count();
  ActionRemoveFiles->SetEnabled(ListViewFiles->SelCount() > 0);
  ActionSelectAllFiles->SetEnabled(files > 0);
  switch (Step()) {
    case 0:
      LabelStep->SetCaption("Step 1:");
      LabelStepDetail->SetCaption(
          "Click on the Add File or Add Folder button to select the files or folder you want to "
          "process.");
      ActionNext->SetEnabled(files > 0);
      ActionNext->SetCaption("&Next >");
      break;
    case 1:
      LabelStep->SetCaption("Step 2:");
      LabelStepDetail->SetCaption("Click Add to select the commands you want to apply to files.");
      ActionNext->SetCaption("&Next >");
      break;
    case 2:
      LabelStep->SetCaption("Step 3:");
      LabelStepDetail->SetCaption("Select the output format and folder then click Finish.");
      ActionNext->SetCaption("&Finish");
      break;
  }
  // During a run the wizard buttons stay as EnableSettings left them.
  if (Running()) {
    ActionBack->SetEnabled(false);
    ActionNext->SetEnabled(false);
  } else {
    ActionBack->SetEnabled(Step() == 1 || Step() == 2);
    if (Step() != 0) ActionNext->SetEnabled(true);
  }
  const bool commands = ListViewCommand->SelCount() > 0;
  ActionRemoveCommand->SetEnabled(commands);
  ActionCommandSettings->SetEnabled(commands);
}

void TBatchConverterForm::ActionAddFileExecute(TObject*) {
  OpenDialog->SetInitialDir(GlobalVars.LastOpenDir);
  if (!OpenDialog->Execute()) return;
  {
    TBusy busy;
    AddFiles(OpenDialog->Files());
  }
  if (OpenDialog->Files()->Count() > 0)
    GlobalVars.LastOpenDir = ExtractFilePath(OpenDialog->Files()->Strings(0));
}

void TBatchConverterForm::ActionAddFolderExecute(TObject*) {
  std::string folder = ExtractFilePath(GlobalVars.LastOpenDir);
  if (BrowseForFolder(this, folder, "Please select a folder", "", 65)) AddFolder(folder);
}

void TBatchConverterForm::RemoveSelectedRows(TListView* List) {
  TListItems* items = List->Items();
  int lowest = -1;
  items->BeginUpdate();
  for (int i = items->Count() - 1; i >= 0; --i)
    if (items->Item(i)->Selected()) {
      items->Delete(i);
      lowest = i;
    }
  items->EndUpdate();
  if (lowest < 0 || items->Count() == 0) return;
  TListItem* item = items->Item(std::min(lowest, items->Count() - 1));
  item->MakeVisible(false);
  item->SetSelected(true);
}

void TBatchConverterForm::ActionRemoveFilesExecute(TObject*) {
  if (ListViewFiles->SelCount() == 0 || Running()) return;
  RemoveSelectedRows(ListViewFiles);
}

void TBatchConverterForm::ActionSelectAllFilesExecute(TObject*) { ListViewFiles->SelectAll(); }

void TBatchConverterForm::ActionBackExecute(TObject*) {
  if (Step() == 1) {
    ShowStep(0);
    if (ListViewFiles->CanFocus()) ListViewFiles->SetFocus();
  } else if (Step() == 2) {
    ShowStep(1);
    if (ListViewCommand->CanFocus()) ListViewCommand->SetFocus();
  }
}

void TBatchConverterForm::ActionNextExecute(TObject*) {
  switch (Step()) {
    case 0:
      ShowStep(1);
      if (ListViewCommand->CanFocus()) ListViewCommand->SetFocus();
      break;
    case 1:
      ShowStep(2);
      if (RadioButtonutputFormatUseTheSame->CanFocus()) RadioButtonutputFormatUseTheSame->SetFocus();
      break;
    case 2:
      RunBatch();
      break;
  }
}

void TBatchConverterForm::ActionAddCommandExecute(TObject*) {
  TAddCommandForm dialog(this);
  auto* main = dynamic_cast<TControl*>(Application->MainForm());
  CentreOver(&dialog, main ? main : static_cast<TControl*>(this));
  if (dialog.ShowModal() != mrOk) return;
  const int command = dialog.ListBoxCommand->ItemIndex();
  if (command < 0 || command >= BatchCommandCount) return;
  std::unique_ptr<TObject> record = NewBatchCommand(command, GlobalVars);
  TListItem* item = ListViewCommand->Items()->Add();
  item->SetCaption(BatchCommandNames[command]);
  item->SubItems()->Add(BatchCommandSettingsText(command, *record));
  item->SetData(std::move(record));
}

void TBatchConverterForm::ActionRemoveCommandExecute(TObject*) {
  if (ListViewCommand->SelCount() == 0) return;
  RemoveSelectedRows(ListViewCommand);
}

void TBatchConverterForm::ActionCommandSettingsExecute(TObject*) {
  if (ListViewCommand->SelCount() == 0) return;
  TListItem* item = ListViewCommand->ItemFocused();
  if (!item || !item->Data()) return;
  const int command = FindBatchCommand(item->Caption());
  if (command < 0) return;
  std::unique_ptr<TObject> record = EditBatchCommand(command, *item->Data(), this);
  if (!record) return;
  const std::string text = BatchCommandSettingsText(command, *record);
  item->SetData(std::move(record));
  item->SubItems()->SetStrings(0, text);
}

void TBatchConverterForm::ListViewCommandDblClick(TObject* Sender) {
  ActionCommandSettingsExecute(Sender);
}

void TBatchConverterForm::ActionFormatSettingsExecute(TObject*) {
  RunSaveFormatSetup(ComboBoxFormat->ItemIndex(), this);
}

void TBatchConverterForm::ActionSaveToFolderSelectionExecute(TObject*) {
  std::string folder = GlobalVars.BatchFileSaveFolderpath;
  if (!BrowseForFolder(this, folder, "Please select a folder", "", 65)) return;
  GlobalVars.BatchFileSaveFolderpath = folder;
  EditFolder->SetText(folder);
}

void TBatchConverterForm::ApplyFormatRule() {
  const bool convert = RadioButtonutputFormatConvertTo->Checked();
  ComboBoxFormat->SetEnabled(convert);
  ButtonFormatSettings->SetEnabled(convert);
}

void TBatchConverterForm::ApplyFolderRule() {
  const bool saveTo = RadioButtonOutputFolderSaveTo->Checked();
  EditFolder->SetEnabled(saveTo);
  ButtonFolder->SetEnabled(saveTo);
}

void TBatchConverterForm::RadioButtonutputFormatUseTheSameClick(TObject*) {
  ApplyFormatRule();
  GlobalVars.BatchFileFormatUseTheSame = RadioButtonutputFormatUseTheSame->Checked();
}

void TBatchConverterForm::ComboBoxFormatChange(TObject*) {
  GlobalVars.BatchFileFormatIndex = ComboBoxFormat->ItemIndex();
}

void TBatchConverterForm::RadioButtonOutputFolderUseTheSameClick(TObject*) {
  ApplyFolderRule();
  GlobalVars.BatchFileSaveFolderUseTheSame = RadioButtonOutputFolderUseTheSame->Checked();
}

void TBatchConverterForm::ListViewFilesDragOver(TObject*, TObject* Source, int, int, TDragState,
                                                bool& Accept) {
  Accept = Source == ListViewFiles;
}

void TBatchConverterForm::ButtonCancelConvertingClick(TObject*) {
  if (Application->MessageBox("Really want to stop convertion?", {}, MB_YESNO | MB_ICONQUESTION) ==
      IDYES)
    StopFlag = true;
}

void TBatchConverterForm::ButtonCancelClick(TObject*) { Close(); }

void TBatchConverterForm::ButtonHelpClick(TObject*) { ShowHelpTopic(Handle(), "BatchConverter"); }

bool TBatchConverterForm::CloseQuery() {
  if (Running()) {
    if (!StopFlag) ButtonCancelConvertingClick(this);
    return false;
  }
  return TForm::CloseQuery();
}

std::string TBatchConverterForm::OutputFolder(const std::string& SourceFolder) {
  if (!GlobalVars.BatchFileSaveFolderUseTheSame && !Trim(GlobalVars.BatchFileSaveFolderpath).empty() &&
      DirectoryExists(GlobalVars.BatchFileSaveFolderpath))
    return GlobalVars.BatchFileSaveFolderpath;
  return SourceFolder;
}

void TBatchConverterForm::RemoveDoneFile(const std::string& Path) {
  if (TListItem* item = FindFileRow(ExtractFileName(Path), ExtractFilePath(Path)))
    ListViewFiles->Items()->Delete(item->Index());
}

void TBatchConverterForm::MoveFailedFileToEnd(const std::string& Path) {
  TListItem* item = FindFileRow(ExtractFileName(Path), ExtractFilePath(Path));
  if (!item) return;
  TListItems* items = ListViewFiles->Items();
  items->BeginUpdate();
  TListItem* copy = items->Add();
  copy->SetCaption(item->Caption());
  copy->SubItems()->Assign(item->SubItems());
  copy->SetImageIndex(item->ImageIndex());
  auto* old = dynamic_cast<TBatchFileItem*>(item->Data());
  if (old) {
    auto record = std::make_unique<TBatchFileItem>();
    record->FileName = old->FileName;
    record->Folder = old->Folder;
    copy->SetData(std::move(record));
  }
  items->Delete(item->Index());
  items->EndUpdate();
}

void TBatchConverterForm::EnableSettings(bool Enabled) {
  for (TControl* c : std::initializer_list<TControl*>{
           RadioButtonutputFormatUseTheSame, RadioButtonutputFormatConvertTo, ComboBoxFormat,
           ButtonFormatSettings, RadioButtonOutputFolderUseTheSame, RadioButtonOutputFolderSaveTo,
           EditFolder, ButtonFolder})
    c->SetEnabled(Enabled);
  if (Enabled) {
    ApplyFormatRule();
    ApplyFolderRule();
  }
  GroupBoxProcessing->SetVisible(!Enabled);
  ActionBack->SetEnabled(Enabled);
  ActionNext->SetEnabled(Enabled);
  ButtonCancel->SetEnabled(Enabled);
}

void TBatchConverterForm::ShowFileProgress(int64_t Position, int64_t Length) {
  // Position × 100 outgrows 32 bits after minutes of sound.
  const int percent = Length > 0 ? int(std::clamp<int64_t>(Position * 100 / Length, 0, 100)) : 0;
  ProgressBar->SetPosition(percent);
  LabelProcessFileName->SetCaption(Format("Working on file %d of %d: \"%s\"",
                                          {DoneCount + FailedCount + 1, FileTotal, CurrentSource}));
  LabelLabelStatus->SetCaption(Format("Status = %d%%", {ProgressBar->Position()}));
}

void TBatchConverterForm::ResetFileProgress() {
  ProgressBar->SetPosition(0);
  LabelProcessFileName->SetCaption("...");
  LabelLabelStatus->SetCaption("Status = 0%");
}

void TBatchConverterForm::RunBatch() {
  StopFlag = false;
  EnableSettings(false);
  auto run = std::make_unique<TBatchRun>();
  FRun = run.get();
  auto idle = [this] {
    FRun = nullptr;
    StopFlag = true;
    EnableSettings(true);
    ResetFileProgress();
    ProgressBarBatch->SetPosition(0);
    LabelBatch->SetCaption("Batch = 0%");
  };
  try {
    for (int i = 0; i < ListViewCommand->Items()->Count(); ++i) {
      TListItem* item = ListViewCommand->Items()->Item(i);
      const int command = FindBatchCommand(item->Caption());
      if (command >= 0 && item->Data())
        run->Chain.push_back({command, BatchCommandValues(command, *item->Data())});
    }
    run->Settings = GlobalVars;
    TListItems* files = ListViewFiles->Items();
    FileTotal = files->Count();
    DoneCount = 0;
    FailedCount = 0;
    for (int i = 0; i < files->Count(); ++i) {
      TListItem* item = files->Item(i);
      const std::string folder = item->SubItems()->Count() > 0 ? item->SubItems()->Strings(0) : "";
      auto job = std::make_unique<TBatchJob>();
      job->Source = AddTrailingBackslash(folder) + item->Caption();
      job->OutputFolder = AddTrailingBackslash(OutputFolder(folder));
      run->Jobs.push_back(std::move(job));
    }
    run->Start();
    for (auto& jobPtr : run->Jobs) {
      TBatchJob& job = *jobPtr;
      CurrentSource = job.Source;
      CurrentOutput.clear();
      while (!job.Done) {
        if (StopFlag) job.Stop = true;
        ShowFileProgress(job.Position, job.Length);
        Application->HandleMessage();
      }
      ShowFileProgress(job.Position, job.Length);
      TBatchOutcome& outcome = job.Outcome;
      if (outcome.Ok) {
        try {
          CurrentOutput = PublishBatchOutput(outcome.WorkFile, outcome.Output);
          outcome.WorkFile.clear();
        } catch (const Exception& e) {
          outcome.Ok = false;
          outcome.Messages.push_back(e.Message());
        }
      }
      ResetFileProgress();
      if (outcome.Ok) {
        RemoveDoneFile(job.Source);
        ++DoneCount;
      } else {
        for (const std::string& m : outcome.Messages) ShowError(m);
        ShowError(Format("Something wasn't as expected! At least one error occurred while "
                         "processing file: \"%s\"",
                         {job.Source}));
        MoveFailedFileToEnd(job.Source);
        ++FailedCount;
      }
      const int done = DoneCount + FailedCount;
      ProgressBarBatch->SetPosition(int(std::nearbyint(double(done) / FileTotal * 100)));
      LabelBatch->SetCaption(Format("Batch = %d%%", {ProgressBarBatch->Position()}));
      if (done == FileTotal) {
        if (FailedCount > 0) {
          Application->MessageBox(
              Format("Encoding finished. %d file(s) not been encoded.", {FailedCount}), {},
              MB_OK | MB_ICONINFORMATION);
          ShowStep(0);
          if (ListViewFiles->CanFocus()) ListViewFiles->SetFocus();
        } else {
          SetModalResult(mrOk);
        }
        break;
      }
      if (StopFlag) break;
    }
  } catch (...) {
    run.reset();
    idle();
    throw;
  }
  run.reset();
  idle();
}

void ShowBatchConverter(TCustomForm* MainWindow) {
  TBatchConverterForm form(MainWindow);
  if (MainWindow) CentreOver(&form, MainWindow);
  form.ShowModal();
}

void RegisterBatchConverterClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterBatchCommandClasses();
  using F = TBatchConverterForm;
  RegisterClass<F, TForm>();
  Published<F>()
      .Method("FormCreate", &F::FormCreate)
      .Method("FormShow", &F::FormShow)
      .Method("FormClose", &F::FormClose)
      .Method("FormKeyDown", &F::FormKeyDown)
      .Method("ActionListUpdate", &F::ActionListUpdate)
      .Method("ActionAddFileExecute", &F::ActionAddFileExecute)
      .Method("ActionAddFolderExecute", &F::ActionAddFolderExecute)
      .Method("ActionRemoveFilesExecute", &F::ActionRemoveFilesExecute)
      .Method("ActionSelectAllFilesExecute", &F::ActionSelectAllFilesExecute)
      .Method("ActionBackExecute", &F::ActionBackExecute)
      .Method("ActionNextExecute", &F::ActionNextExecute)
      .Method("ActionAddCommandExecute", &F::ActionAddCommandExecute)
      .Method("ActionRemoveCommandExecute", &F::ActionRemoveCommandExecute)
      .Method("ActionCommandSettingsExecute", &F::ActionCommandSettingsExecute)
      .Method("ListViewCommandDblClick", &F::ListViewCommandDblClick)
      .Method("ActionFormatSettingsExecute", &F::ActionFormatSettingsExecute)
      .Method("ActionSaveToFolderSelectionExecute", &F::ActionSaveToFolderSelectionExecute)
      .Method("RadioButtonutputFormatUseTheSameClick", &F::RadioButtonutputFormatUseTheSameClick)
      .Method("ComboBoxFormatChange", &F::ComboBoxFormatChange)
      .Method("RadioButtonOutputFolderUseTheSameClick", &F::RadioButtonOutputFolderUseTheSameClick)
      .Method("ListViewFilesDragOver", &F::ListViewFilesDragOver)
      .Method("ButtonCancelConvertingClick", &F::ButtonCancelConvertingClick)
      .Method("ButtonCancelClick", &F::ButtonCancelClick)
      .Method("ButtonHelpClick", &F::ButtonHelpClick);
}
