// The file commands of the frame and the other ways a file becomes a document: a drop, the
// recent-files list and the command line.
#include <algorithm>
#include <vector>

#include "Imports/AudioEditorControl.h"
#include "app/Child.h"
#include "app/Main.h"
#include "app/NewFile.h"
#include "appbase/Globals.h"
#include "appbase/Utils.h"
#include "suite/extras/dxBarExtItems.h"

TChildForm* TMainForm::NewDocumentWindow(const std::string& Name) {
  auto* child = new TChildForm(Application);
  TWeakLink<TChildForm> doc(child);
  Application->ProcessMessages();
  if (!doc) return nullptr;
  child->SetFileName(Name.empty() ? "Untitled" + std::to_string(child->Number()) : Name);
  return child;
}

TChildForm* TMainForm::NewEmptyDocument(int Rate, int Channels) {
  TChildForm* doc = NewDocumentWindow();
  if (!doc || !doc->AudioEditor) return nullptr;
  doc->AudioEditor->NewDocument(Rate, Channels);
  ApplyTempDirectory();
  return doc;
}

void TMainForm::OpenAsDocument(const std::string& Path) {
  TChildForm* doc = NewDocumentWindow(Path);
  if (!doc || !doc->AudioEditor) return;
  doc->AudioEditor->OpenFile(Path, 0);
  ApplyTempDirectory();
  GlobalVars.LastOpenDir = ExtractFilePath(Path);
  doc->Modified = false;
  if (dxBarMRUFiles) {
    dxBarMRUFiles->RemoveEntry(Path);
    dxBarMRUFiles->InsertAtTop(Path);
  }
  if (GlobalVars.OP_TileFormAfter) ActionTileHorizontalExecute(this);
  if (GlobalVars.OP_PlayAfterOpened) ActionPlayExecute(this);
}

void TMainForm::ActionNewFileExecute(TObject*) {
  int rate = GlobalVars.OP_DefSample, channels = GlobalVars.OP_DefChannel;
  if (GlobalVars.OP_PromptNewFile && !AskNewFileFormat(this, true, rate, channels)) return;
  TChildForm* doc = NewEmptyDocument(rate, channels);
  if (!doc) return;
  doc->Modified = false;
  if (GlobalVars.OP_TileFormAfter) ActionTileHorizontalExecute(this);
}

void TMainForm::ActionOpenFileExecute(TObject*) {
  if (!OpenDialog) return;
  OpenDialog->SetFileName("");
  OpenDialog->SetInitialDir(GlobalVars.LastOpenDir);
  if (!OpenDialog->Execute()) return;
  OpenAsDocument(OpenDialog->FileName());
}

void TMainForm::dxBarMRUFilesClick(TObject*) {
  if (!dxBarMRUFiles) return;
  const int index = dxBarMRUFiles->ItemIndex();
  if (index < 0 || index >= dxBarMRUFiles->Items()->Count()) return;
  const std::string path = dxBarMRUFiles->Items()->Strings(index);
  if (!FileExists(path)) {
    Application->MessageBox(path + " was not found.", Application->Title(), MB_OK | MB_ICONERROR);
    dxBarMRUFiles->RemoveEntry(path);
    return;
  }
  TChildForm* doc = NewDocumentWindow(path);
  if (!doc) return;
  doc->AudioEditor->OpenFile(path, 0);
  ApplyTempDirectory();
  GlobalVars.LastOpenDir = ExtractFilePath(path);
  doc->Modified = false;
  if (GlobalVars.OP_TileFormAfter) ActionTileHorizontalExecute(this);
}

void TMainForm::OpenDroppedFiles(HDROP Drop) {
  BeginBusy();
  struct TEnd {
    HDROP Drop;
    ~TEnd() {
      DragFinish(Drop);
      EndBusy();
    }
  } end{Drop};
  if (DragQueryFile(Drop, 0xFFFFFFFF, nullptr, 0) != 1) return;
  // The whole name, however long: a name cut short could point at another file.
  const UINT length = DragQueryFile(Drop, 0, nullptr, 0);
  std::vector<char> buffer(size_t(length) + 1);
  DragQueryFile(Drop, 0, buffer.data(), length + 1);
  const std::string path(buffer.data());
  if (DirectoryExists(path) || !FileExists(path) || !IsSupportedAudioExt(ExtractFileExt(path))) return;
  OpenAsDocument(path);
}

void TMainForm::ActionCloseFileExecute(TObject*) {
  if (TChildForm* d = ActiveDocument()) d->Close();
}

void TMainForm::ActionExitExecute(TObject*) { Close(); }
