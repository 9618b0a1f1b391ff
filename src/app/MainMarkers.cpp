// Bookmarks and regions: markers of a document's editor made from the cursor or the selection,
// mirrored as rows of the bookmark and region windows, which reach the frame through its marker
// host.
#include <string>

#include "Imports/AudioEditorControl.h"
#include "app/Child.h"
#include "app/Main.h"
#include "appbase/Globals.h"
#include "appbase/Utils.h"
#include "operations/MarkerDialogs.h"
#include "operations/MarkerListHost.h"
#include "operations/RegionList.h"

// What the two list windows see of the frame.
class TMainMarkerHost : public IMarkerListHost {
 public:
  explicit TMainMarkerHost(TMainForm& Main) : F(Main) {}
  bool HasDocument() const override { return F.HasDocument(); }
  bool BringDocumentToFront(int DocumentNumber) override {
    for (TChildForm* d : F.Documents()) {
      if (d->Number() != DocumentNumber) continue;
      d->BringToFront();
      if (F.HandleAllocated()) SetFocus(F.WindowHandle());
      return true;
    }
    return false;
  }
  TAudioEditor2* ActiveEditor() override {
    TChildForm* d = F.ActiveDocument();
    return d ? d->AudioEditor : nullptr;
  }
  TCustomForm* HostForm() override { return &F; }
  void ActionPlayExecute(TObject* Sender) override { F.ActionPlayExecute(Sender); }
  void ActionSaveSelectExecute(TObject* Sender) override { F.ActionSaveSelectExecute(Sender); }
  void ActionCopyToNewExecute(TObject* Sender) override { F.ActionCopyToNewExecute(Sender); }
  bool ApplyWavFormat() override { return F.ApplyWavFormat(); }
  bool ApplyMp3Format() override { return F.ApplyMp3Format(); }
  bool ApplyOggFormat() override { return F.ApplyOggFormat(); }
  bool ApplyWmaFormat() override { return F.ApplyWmaFormat(); }

 private:
  TMainForm& F;
};

IMarkerListHost* TMainForm::MarkerHost() {
  if (!FMarkerHost) FMarkerHost = std::make_shared<TMainMarkerHost>(*this);
  return FMarkerHost.get();
}

void TMainForm::CreateMarkerWindows() {
  if (!RegionForm) RegionForm = new TRegionForm(this);
  RegionForm->Host = MarkerHost();
  if (!BookmarkForm) BookmarkForm = new TBookmarkForm(this);
  BookmarkForm->Host = MarkerHost();
}

namespace {

std::string TimeOf(IAudioEditor2Position* Pos, int Samples) {
  int ms = 0;
  Pos->SamplesToMs(Samples, ms);
  return FormatMsTime(ms);
}

}  // namespace

void TMainForm::ActionSetBookmarkExecute(TObject*) {
  TChildForm* doc = ActiveDocument();
  if (!doc || !doc->AudioEditor) return;
  CreateMarkerWindows();
  TAudioEditor2* e = doc->AudioEditor;
  IAudioEditor2Position* pos = e->Position();
  std::string name = ExtractFileName(doc->FileName) + "@" + TimeOf(pos, pos->SelectionStart());
  if (AskRegionOrBookmarkName(this, this, "Enter Bookmark Name", name)) {
    e->Markers()->Add(pos->SelectionStart(), 0, name, "Bookmark", 0, 0, 0, 0, 0);
    e->Markers()->SetCurrentIndex(e->Markers()->Count());
    BookmarkForm->AddBookmarkItem(*e, doc->Number());
  }
  if (!BookmarkForm->Visible()) ActionOpenBookmarkListExecute(this);
}

void TMainForm::ActionAddRegionExecute(TObject*) {
  TChildForm* doc = ActiveDocument();
  if (!doc || !doc->AudioEditor) return;
  CreateMarkerWindows();
  TAudioEditor2* e = doc->AudioEditor;
  IAudioEditor2Position* pos = e->Position();
  const int start = pos->SelectionStart(), end = pos->SelectionEnd();
  std::string name =
      ExtractFileName(doc->FileName) + "@" + TimeOf(pos, start) + "-" + TimeOf(pos, end);
  if (AskRegionOrBookmarkName(this, this, "Enter Region Name", name)) {
    e->Markers()->Add(start, end - start, name, "Region", 0, 0, 0, 0, 0);
    e->Markers()->SetCurrentIndex(e->Markers()->Count());
    RegionForm->AddRegionItem(*e, doc->Number(), ExtractFileName(doc->FileName));
  }
  if (!RegionForm->Visible()) ActionOpenRegionListExecute(this);
}

void TMainForm::ActionOpenBookmarkListExecute(TObject*) {
  CreateMarkerWindows();
  BookmarkForm->OpenList();
}

void TMainForm::ActionOpenRegionListExecute(TObject*) {
  CreateMarkerWindows();
  RegionForm->OpenList();
}

void TMainForm::EditorMarkerChanged(TObject* Sender, int Num) {
  for (TChildForm* d : Documents()) {
    if (d->AudioEditor != Sender) continue;
    ::EditorMarkerChanged(*d->AudioEditor, d->Number(), Num);
    return;
  }
}
