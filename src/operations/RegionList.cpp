#include "operations/RegionList.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "Imports/XOQAUDIOEDITOR2Lib_TLB.h"
#include "appbase/Globals.h"
#include "appbase/HtmlHelp.h"
#include "appbase/Utils.h"
#include "operations/DialogSupport.h"
#include "operations/ExportRegion.h"
#include "operations/FormatSummary.h"
#include "operations/MarkerDialogs.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

TRegionForm* RegionForm = nullptr;
TBookmarkForm* BookmarkForm = nullptr;

namespace {

std::string SampleTimeText(IAudioEditor2& Editor, int Samples) {
  int ms = 0;
  Editor.Position()->SamplesToMs(Samples, ms);
  return FormatMsTime(ms);
}

std::unique_ptr<TRegion> CopyOf(const TRegion& R) {
  auto r = std::make_unique<TRegion>();
  r->Name = R.Name;
  r->TimeText = R.TimeText;
  r->FileName = R.FileName;
  r->MarkerIndex = R.MarkerIndex;
  r->DocumentNumber = R.DocumentNumber;
  r->StartSample = R.StartSample;
  r->EndSample = R.EndSample;
  return r;
}

std::unique_ptr<TBookmark> CopyOf(const TBookmark& B) {
  auto b = std::make_unique<TBookmark>();
  b->Name = B.Name;
  b->TimeText = B.TimeText;
  b->Position = B.Position;
  b->MarkerIndex = B.MarkerIndex;
  b->DocumentNumber = B.DocumentNumber;
  return b;
}

// A row's entry is never changed in place: the row gets a changed copy.
template <class T, class F>
void ReplaceEntry(TListItem* Item, F Change) {
  auto* old = dynamic_cast<T*>(Item->Data());
  if (!old) return;
  std::unique_ptr<T> entry = CopyOf(*old);
  Change(*entry);
  Item->SetData(std::move(entry));
}

template <class T>
T* EntryOf(TListItem* Item) {
  return Item ? dynamic_cast<T*>(Item->Data()) : nullptr;
}

int MarkerIndexOf(TListItem* Item) {
  if (auto* r = EntryOf<TRegion>(Item)) return r->MarkerIndex;
  if (auto* b = EntryOf<TBookmark>(Item)) return b->MarkerIndex;
  return 0;
}

int DocumentNumberOf(TListItem* Item) {
  if (auto* r = EntryOf<TRegion>(Item)) return r->DocumentNumber;
  if (auto* b = EntryOf<TBookmark>(Item)) return b->DocumentNumber;
  return 0;
}

// Every row of the list whose entry belongs to that document and follows the removed marker
// moves down one index; the row texts stay as they are.
void RenumberRows(TListView* List, int DocumentNumber, int Removed) {
  if (!List) return;
  TListItems* items = List->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TListItem* item = items->Item(i);
    if (DocumentNumberOf(item) != DocumentNumber || MarkerIndexOf(item) <= Removed) continue;
    if (EntryOf<TRegion>(item))
      ReplaceEntry<TRegion>(item, [](TRegion& r) { --r.MarkerIndex; });
    else
      ReplaceEntry<TBookmark>(item, [](TBookmark& b) { --b.MarkerIndex; });
  }
}

// Deletes the row with its marker: the marker goes only when its document is open (brought to
// the front for it); nothing at all happens while no document is open.
void DeleteMarkerRow(IMarkerListHost* Host, TListItem* Item, TListView* Regions,
                     TListView* Bookmarks) {
  if (!Host || !Host->HasDocument()) return;
  const int document = DocumentNumberOf(Item);
  const int index = MarkerIndexOf(Item);
  int removed = 0;
  if (Host->BringDocumentToFront(document)) {
    if (TAudioEditor2* editor = Host->ActiveEditor()) {
      IAudioEditor2Markers* markers = editor->Markers();
      // A marker that is no longer there is not replaced by whichever one is current.
      if (index >= 1 && index <= markers->Count()) {
        markers->SetCurrentIndex(index);
        markers->DeleteCurrent();
        removed = index;
      }
    }
  }
  Item->Delete();
  if (removed) {
    RenumberRows(Regions, document, removed);
    RenumberRows(Bookmarks, document, removed);
  }
}

// The document of the entry brought to the front, its marker made current and the cursor put
// on it without a selection. Null when the document or the marker is gone.
TAudioEditor2* ShowMarker(IMarkerListHost* Host, int DocumentNumber, int MarkerIndex) {
  if (!Host || !Host->BringDocumentToFront(DocumentNumber)) return nullptr;
  TAudioEditor2* editor = Host->ActiveEditor();
  if (!editor) return nullptr;
  IAudioEditor2Markers* markers = editor->Markers();
  if (MarkerIndex < 1 || MarkerIndex > markers->Count()) return nullptr;
  markers->SetCurrentIndex(MarkerIndex);
  IAudioEditor2Position* position = editor->Position();
  position->SetSelectionActive(false);
  position->SetCursor(markers->MarkerPosition());
  return editor;
}

void SortRows(TListView* List, int& SortColumn, int Column) {
  if (Column == SortColumn) {
    List->CustomSort(
        [Column](TListItem* a, TListItem* b, LPARAM) { return -CompareListItems(a, b, Column); },
        0);
    SortColumn = -1;
  } else {
    List->CustomSort(
        [Column](TListItem* a, TListItem* b, LPARAM) { return CompareListItems(a, b, Column); }, 0);
    SortColumn = Column;
  }
}

void SelectEveryRow(TListView* List) {
  List->Items()->BeginUpdate();
  List->SelectAll();
  List->Items()->EndUpdate();
}

bool AskToDelete(const char* Question) {
  return Application->MessageBox(Question, Application->Title(),
                                 MB_YESNOCANCEL | MB_ICONQUESTION) == IDYES;
}

void ShowAtBounds(TForm* Form, int Left, int Top, int Width, int Height) {
  Form->SetBounds(Left, Top, Width, Height);
  Form->Show();
}

}  // namespace

int CompareListItems(TListItem* Item1, TListItem* Item2, int Column) {
  auto text = [Column](TListItem* item) -> std::string {
    if (Column == 0) return item->Caption();
    TStrings* sub = item->SubItems();
    return Column - 1 < sub->Count() ? sub->Strings(Column - 1) : std::string();
  };
  const std::string a = text(Item1), b = text(Item2);
  if (a.empty() != b.empty()) return a.empty() ? 1 : -1;
  return AnsiCompareText(a, b);
}

void EditorMarkerChanged(TAudioEditor2& Editor, int DocumentNumber, int Num) {
  IAudioEditor2Markers* markers = Editor.Markers();
  markers->SetCurrentIndex(Num);
  const int position = markers->MarkerPosition();
  if (position < 0 || Editor.Position()->Length() < position) return;
  const int length = markers->MarkerLength();
  const bool region = Editor.Document().MarkerKindAt(Num) == AUDIO_MARKER_REGION;
  if (region && RegionForm) {
    const std::string time =
        SampleTimeText(Editor, position) + "-" + SampleTimeText(Editor, position + length);
    TListItems* items = RegionForm->ListViewRegionList->Items();
    for (int i = 0; i < items->Count(); ++i) {
      TListItem* item = items->Item(i);
      const TRegion* r = EntryOf<TRegion>(item);
      if (!r || r->DocumentNumber != DocumentNumber || r->MarkerIndex != Num) continue;
      ReplaceEntry<TRegion>(item, [&](TRegion& e) {
        e.StartSample = position;
        e.EndSample = position + length;
        e.TimeText = time;
      });
      item->SubItems()->SetStrings(0, time);
    }
  } else if (!region && BookmarkForm) {
    const std::string time = SampleTimeText(Editor, position);
    TListItems* items = BookmarkForm->ListViewBookmarkList->Items();
    for (int i = 0; i < items->Count(); ++i) {
      TListItem* item = items->Item(i);
      const TBookmark* b = EntryOf<TBookmark>(item);
      if (!b || b->DocumentNumber != DocumentNumber || b->MarkerIndex != Num) continue;
      ReplaceEntry<TBookmark>(item, [&](TBookmark& e) {
        e.Position = position;
        e.TimeText = time;
      });
      item->SubItems()->SetStrings(0, time);
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Region list

TRegionForm::TRegionForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TRegionForm");
  ListViewRegionList = DialogComponent<TListView>(this, "ListViewRegionList");
  ActionListRegion = DialogComponent<TActionList>(this, "ActionListRegion");
  PopupMenuRegion = DialogComponent<TPopupMenu>(this, "PopupMenuRegion");
  ActionSelect = DialogComponent<TAction>(this, "ActionSelect");
  ActionRename = DialogComponent<TAction>(this, "ActionRename");
  ActionSave = DialogComponent<TAction>(this, "ActionSave");
  ActionCopyToNew = DialogComponent<TAction>(this, "ActionCopyToNew");
  ActionDelete = DialogComponent<TAction>(this, "ActionDelete");
  ActionSelectAll = DialogComponent<TAction>(this, "ActionSelectAll");
  ActionExport = DialogComponent<TAction>(this, "ActionExport");
  ActionHelp = DialogComponent<TAction>(this, "ActionHelp");
}

TRegionForm::~TRegionForm() {
  if (RegionForm == this) RegionForm = nullptr;
}

void TRegionForm::AddRegionItem(IAudioEditor2& Editor, int DocumentNumber,
                                const std::string& FileName) {
  IAudioEditor2Markers* markers = Editor.Markers();
  auto region = std::make_unique<TRegion>();
  region->Name = markers->MarkerName();
  region->StartSample = markers->MarkerPosition();
  region->EndSample = region->StartSample + markers->MarkerLength();
  region->MarkerIndex = markers->CurrentIndex();
  region->FileName = FileName;
  region->DocumentNumber = DocumentNumber;
  region->TimeText = SampleTimeText(Editor, region->StartSample) + "-" +
                     SampleTimeText(Editor, region->EndSample);
  TListItem* item = ListViewRegionList->Items()->Add();
  item->SetCaption(region->Name);
  item->SubItems()->Add(region->TimeText);
  item->SubItems()->Add(region->FileName);
  item->SubItems()->Add(IntToStr(region->MarkerIndex));
  item->SetData(std::move(region));
}

void TRegionForm::OpenList() {
  ShowAtBounds(this, GlobalVars.RegionFormLeft, GlobalVars.RegionFormTop,
               GlobalVars.RegionFormWidth, GlobalVars.RegionFormHeight);
}

void TRegionForm::FormShow(TObject*) { SubstituteDialogFont(this); }

void TRegionForm::FormClose(TObject*, TCloseAction&) {
  GlobalVars.RegionFormLeft = Left();
  GlobalVars.RegionFormTop = Top();
  GlobalVars.RegionFormWidth = Width();
  GlobalVars.RegionFormHeight = Height();
}

void TRegionForm::ActionListRegionUpdate(TBasicAction*, bool&) {
  const bool selected = ListViewRegionList->SelCount() > 0;
  for (TAction* a : {ActionSelect, ActionRename, ActionSave, ActionCopyToNew, ActionDelete,
                     ActionExport})
    a->SetEnabled(selected);
  ActionSelectAll->SetEnabled(ListViewRegionList->Items()->Count() > 0);
}

bool TRegionForm::SelectRegion(TListItem* Item) {
  const TRegion* region = EntryOf<TRegion>(Item);
  if (!region) return false;
  TAudioEditor2* editor = ShowMarker(Host, region->DocumentNumber, region->MarkerIndex);
  if (!editor) return false;
  IAudioEditor2Markers* markers = editor->Markers();
  IAudioEditor2Position* position = editor->Position();
  position->SetSelectionActive(true);
  position->SetSelectionStart(markers->MarkerPosition());
  position->SetSelectionEnd(markers->MarkerPosition() + markers->MarkerLength());
  return true;
}

void TRegionForm::ActionSelectExecute(TObject*) {
  if (!SelectRegion(ListViewRegionList->ItemFocused())) return;
  if (GlobalVars.OP_PlayAfterRegion) Host->ActionPlayExecute(this);
}

void TRegionForm::ListViewRegionListDblClick(TObject* Sender) { ActionSelectExecute(Sender); }

void TRegionForm::ActionRenameExecute(TObject*) {
  TListItem* item = ListViewRegionList->ItemFocused();
  const TRegion* region = EntryOf<TRegion>(item);
  if (!region) return;
  std::string name = region->Name;
  if (!AskRegionOrBookmarkName(this, this, "Enter Region Name", name)) return;
  ReplaceEntry<TRegion>(item, [&](TRegion& r) { r.Name = name; });
  item->SetCaption(name);
}

// Saving or copying a region whose document is closed would take the selection of whatever
// document is in front: both act only once the region is selected.
void TRegionForm::ActionSaveExecute(TObject* Sender) {
  if (!SelectRegion(ListViewRegionList->ItemFocused())) return;
  if (GlobalVars.OP_PlayAfterRegion) Host->ActionPlayExecute(this);
  Host->ActionSaveSelectExecute(Sender);
}

void TRegionForm::ActionCopyToNewExecute(TObject* Sender) {
  if (!SelectRegion(ListViewRegionList->ItemFocused())) return;
  if (GlobalVars.OP_PlayAfterRegion) Host->ActionPlayExecute(this);
  Host->ActionCopyToNewExecute(Sender);
}

void TRegionForm::DeleteRegion(TListItem* Item) {
  DeleteMarkerRow(Host, Item, ListViewRegionList,
                  BookmarkForm ? BookmarkForm->ListViewBookmarkList : nullptr);
}

void TRegionForm::ActionDeleteExecute(TObject*) {
  if (!AskToDelete("Delete the selected region(s)?")) return;
  TListItems* items = ListViewRegionList->Items();
  items->BeginUpdate();
  try {
    for (int i = items->Count() - 1; i >= 0; --i)
      if (i < items->Count() && items->Item(i)->Selected()) DeleteRegion(items->Item(i));
  } catch (...) {
    items->EndUpdate();
    throw;
  }
  items->EndUpdate();
}

void TRegionForm::ActionSelectAllExecute(TObject*) { SelectEveryRow(ListViewRegionList); }

void TRegionForm::ActionHelpExecute(TObject*) { ShowHelpTopic(Handle(), "BookmarksandRegions"); }

void TRegionForm::ListViewRegionListColumnClick(TObject*, TListColumn* Column) {
  SortRows(ListViewRegionList, SortColumn, Column->Index());
}

void TRegionForm::ActionExportExecute(TObject*) {
  TExportRegionForm dialog(this);
  CenterOverWindow(&dialog, Host && Host->HostForm() ? static_cast<TControl*>(Host->HostForm())
                                                     : static_cast<TControl*>(this));
  dialog.LoadSettings();
  if (dialog.ShowModal() != mrOk) return;
  dialog.SaveSettings();
  ListViewRegionList->SetEnabled(false);
  try {
    TListItems* items = ListViewRegionList->Items();
    for (int i = items->Count() - 1; i >= 0; --i)
      if (i < items->Count() && items->Item(i)->Selected())
        ExportRegion(items->Item(i), GlobalVars.ExportFormat, GlobalVars.ExportFolder);
  } catch (...) {
    ListViewRegionList->SetEnabled(true);
    throw;
  }
  ListViewRegionList->SetEnabled(true);
}

void TRegionForm::ExportRegion(TListItem* Item, int FormatIndex, const std::string& Folder) {
  const TRegion* region = EntryOf<TRegion>(Item);
  if (!region || !SelectRegion(Item)) return;
  const std::string extension = ExportFormatExtension(FormatIndex);
  if (extension.empty()) return;
  // A name already there (an older file, or an earlier region of the same name) is kept:
  // this region takes the next free "name(n)".
  const std::string path =
      MakeUniqueFileName(ReplaceInvalidFileChars(region->Name, "_") + extension, Folder);
  TAudioEditor2* editor = Host->ActiveEditor();
  switch (FormatIndex) {
    case 0:
      Host->ApplyWavFormat();
      editor->SaveFile(path, true, afWav);
      break;
    case 1:
      Host->ApplyMp3Format();
      editor->SaveFile(path, true, afMp3);
      break;
    case 2:
      Host->ApplyOggFormat();
      editor->SaveFile(path, true, afOgg);
      break;
    case 3:
      Host->ApplyWmaFormat();
      editor->SaveFile(path, true, afWma);
      break;
  }
}

// ---------------------------------------------------------------------------------------------
// Bookmark list

TBookmarkForm::TBookmarkForm(TComponent* AOwner) : TForm(AOwner) {
  RegisterEditingDialogClasses();
  InitForm("TBookmarkForm");
  ListViewBookmarkList = DialogComponent<TListView>(this, "ListViewBookmarkList");
  ActionListBookList = DialogComponent<TActionList>(this, "ActionListBookList");
  PopupMenuBookmark = DialogComponent<TPopupMenu>(this, "PopupMenuBookmark");
  ActionGotoBookmark = DialogComponent<TAction>(this, "ActionGotoBookmark");
  ActionSelectToBookmark = DialogComponent<TAction>(this, "ActionSelectToBookmark");
  ActionRename = DialogComponent<TAction>(this, "ActionRename");
  ActionDelete = DialogComponent<TAction>(this, "ActionDelete");
  ActionSelectAll = DialogComponent<TAction>(this, "ActionSelectAll");
  ActionHelp = DialogComponent<TAction>(this, "ActionHelp");
}

TBookmarkForm::~TBookmarkForm() {
  if (BookmarkForm == this) BookmarkForm = nullptr;
}

void TBookmarkForm::AddBookmarkItem(IAudioEditor2& Editor, int DocumentNumber) {
  IAudioEditor2Markers* markers = Editor.Markers();
  auto bookmark = std::make_unique<TBookmark>();
  bookmark->Name = markers->MarkerName();
  bookmark->Position = markers->MarkerPosition();
  bookmark->TimeText = SampleTimeText(Editor, bookmark->Position);
  bookmark->MarkerIndex = markers->CurrentIndex();
  bookmark->DocumentNumber = DocumentNumber;
  TListItem* item = ListViewBookmarkList->Items()->Add();
  item->SetCaption(bookmark->Name);
  item->SubItems()->Add(bookmark->TimeText);
  item->SubItems()->Add(IntToStr(bookmark->MarkerIndex));
  item->SetData(std::move(bookmark));
}

void TBookmarkForm::OpenList() {
  ShowAtBounds(this, GlobalVars.BookmarkFormLeft, GlobalVars.BookmarkFormTop,
               GlobalVars.BookmarkFormWidth, GlobalVars.BookmarkFormHeight);
}

void TBookmarkForm::FormShow(TObject*) { SubstituteDialogFont(this); }

void TBookmarkForm::FormClose(TObject*, TCloseAction&) {
  GlobalVars.BookmarkFormLeft = Left();
  GlobalVars.BookmarkFormTop = Top();
  GlobalVars.BookmarkFormWidth = Width();
  GlobalVars.BookmarkFormHeight = Height();
}

void TBookmarkForm::ActionListBookListUpdate(TBasicAction*, bool&) {
  const bool selected = ListViewBookmarkList->SelCount() > 0;
  for (TAction* a : {ActionGotoBookmark, ActionSelectToBookmark, ActionRename, ActionDelete})
    a->SetEnabled(selected);
  ActionSelectAll->SetEnabled(ListViewBookmarkList->Items()->Count() > 0);
}

void TBookmarkForm::ActionGotoBookmarkExecute(TObject*) {
  const TBookmark* bookmark = EntryOf<TBookmark>(ListViewBookmarkList->ItemFocused());
  if (!bookmark || !ShowMarker(Host, bookmark->DocumentNumber, bookmark->MarkerIndex)) return;
  if (GlobalVars.OP_PlayAfterBookmark) Host->ActionPlayExecute(this);
}

void TBookmarkForm::ListViewBookmarkListDblClick(TObject* Sender) {
  ActionGotoBookmarkExecute(Sender);
}

void TBookmarkForm::ActionSelectToBookmarkExecute(TObject*) {
  TListItem* focused = ListViewBookmarkList->ItemFocused();
  const TBookmark* from = EntryOf<TBookmark>(focused);
  if (!from) return;
  TSelectToBookmarkForm dialog(this);
  CenterOverWindow(&dialog, Host && Host->HostForm() ? static_cast<TControl*>(Host->HostForm())
                                                     : static_cast<TControl*>(this));
  TListItems* items = ListViewBookmarkList->Items();
  for (int i = 0; i < items->Count(); ++i) {
    TListItem* item = items->Item(i);
    TBookmark* other = EntryOf<TBookmark>(item);
    if (item == focused || !other || other->DocumentNumber != from->DocumentNumber) continue;
    dialog.ComboBoxBookmark->Items()->AddObject(item->Caption(), other);
    dialog.ComboBoxBookmark->SetItemIndex(0);
  }
  if (dialog.ShowModal() != mrOk) return;
  const int chosenIndex = dialog.ComboBoxBookmark->ItemIndex();
  if (chosenIndex < 0) return;
  auto* to = dynamic_cast<TBookmark*>(dialog.ComboBoxBookmark->Items()->Objects(chosenIndex));
  if (!to || !Host || !Host->BringDocumentToFront(to->DocumentNumber)) return;
  TAudioEditor2* editor = Host->ActiveEditor();
  if (!editor) return;
  IAudioEditor2Markers* markers = editor->Markers();
  for (int index : {from->MarkerIndex, to->MarkerIndex})
    if (index < 1 || index > markers->Count()) return;
  markers->SetCurrentIndex(from->MarkerIndex);
  const int a = markers->MarkerPosition();
  markers->SetCurrentIndex(to->MarkerIndex);
  const int c = markers->MarkerPosition();
  IAudioEditor2Position* position = editor->Position();
  position->SetSelectionActive(false);
  position->SetCursor(a);
  position->SetSelectionActive(true);
  position->SetSelectionStart(std::min(a, c));
  position->SetSelectionEnd(std::max(a, c));
  // The editor puts its cursor on a new selection start; it belongs on the bookmark the
  // selection was made from.
  position->SetCursor(a);
}

void TBookmarkForm::ActionRenameExecute(TObject*) {
  TListItem* item = ListViewBookmarkList->ItemFocused();
  const TBookmark* bookmark = EntryOf<TBookmark>(item);
  if (!bookmark) return;
  std::string name = bookmark->Name;
  if (!AskRegionOrBookmarkName(this, this, "Enter Bookmark Name", name)) return;
  ReplaceEntry<TBookmark>(item, [&](TBookmark& b) { b.Name = name; });
  item->SetCaption(name);
}

void TBookmarkForm::DeleteBookmark(TListItem* Item) {
  DeleteMarkerRow(Host, Item, RegionForm ? RegionForm->ListViewRegionList : nullptr,
                  ListViewBookmarkList);
}

void TBookmarkForm::ActionDeleteExecute(TObject*) {
  if (!AskToDelete("Delete the selected bookmark(s)?")) return;
  TListItems* items = ListViewBookmarkList->Items();
  items->BeginUpdate();
  try {
    for (int i = items->Count() - 1; i >= 0; --i)
      if (i < items->Count() && items->Item(i)->Selected()) DeleteBookmark(items->Item(i));
  } catch (...) {
    items->EndUpdate();
    throw;
  }
  items->EndUpdate();
}

void TBookmarkForm::ActionSelectAllExecute(TObject*) { SelectEveryRow(ListViewBookmarkList); }

void TBookmarkForm::ActionHelpExecute(TObject*) { ShowHelpTopic(Handle(), "BookmarksandRegions"); }

void TBookmarkForm::ListViewBookmarkListColumnClick(TObject*, TListColumn* Column) {
  SortRows(ListViewBookmarkList, SortColumn, Column->Index());
}

void RegisterRegionListClasses() {
  RegisterMarkerDialogClasses();
  RegisterExportRegionClasses();
  {
    using F = TRegionForm;
    RegisterClass<F, TForm>();
    Published<F>()
        .Method("FormShow", &F::FormShow)
        .Method("FormClose", &F::FormClose)
        .Method("ActionListRegionUpdate", &F::ActionListRegionUpdate)
        .Method("ActionSelectExecute", &F::ActionSelectExecute)
        .Method("ActionRenameExecute", &F::ActionRenameExecute)
        .Method("ActionSaveExecute", &F::ActionSaveExecute)
        .Method("ActionCopyToNewExecute", &F::ActionCopyToNewExecute)
        .Method("ActionDeleteExecute", &F::ActionDeleteExecute)
        .Method("ActionSelectAllExecute", &F::ActionSelectAllExecute)
        .Method("ActionExportExecute", &F::ActionExportExecute)
        .Method("ActionHelpExecute", &F::ActionHelpExecute)
        .Method("ListViewRegionListColumnClick", &F::ListViewRegionListColumnClick)
        .Method("ListViewRegionListDblClick", &F::ListViewRegionListDblClick);
  }
  {
    using F = TBookmarkForm;
    RegisterClass<F, TForm>();
    Published<F>()
        .Method("FormShow", &F::FormShow)
        .Method("FormClose", &F::FormClose)
        .Method("ActionListBookListUpdate", &F::ActionListBookListUpdate)
        .Method("ActionGotoBookmarkExecute", &F::ActionGotoBookmarkExecute)
        .Method("ActionSelectToBookmarkExecute", &F::ActionSelectToBookmarkExecute)
        .Method("ActionRenameExecute", &F::ActionRenameExecute)
        .Method("ActionDeleteExecute", &F::ActionDeleteExecute)
        .Method("ActionSelectAllExecute", &F::ActionSelectAllExecute)
        .Method("ActionHelpExecute", &F::ActionHelpExecute)
        .Method("ListViewBookmarkListColumnClick", &F::ListViewBookmarkListColumnClick)
        .Method("ListViewBookmarkListDblClick", &F::ListViewBookmarkListDblClick);
  }
}
