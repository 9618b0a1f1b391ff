#pragma once
// The region list and the bookmark list: two tool windows above the others, made once at
// start-up, that mirror the region and bookmark markers of every open document as rows. Each row
// owns its entry (TRegion, TBookmark). Regions and bookmarks of one document share one marker
// numbering in its editor, so deleting a marker renumbers the rows of both lists.
// The windows reach the documents through the main window (IMarkerListHost).

#include <string>

#include "appbase/MarkerEntries.h"
#include "operations/MarkerListHost.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ComCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"

class IAudioEditor2;
class TAudioEditor2;

class TRegionForm : public TForm {
 public:
  explicit TRegionForm(TComponent* AOwner);
  ~TRegionForm() override;

  TListView* ListViewRegionList{};
  TActionList* ActionListRegion{};
  TPopupMenu* PopupMenuRegion{};
  TAction *ActionSelect{}, *ActionRename{}, *ActionSave{}, *ActionCopyToNew{}, *ActionDelete{},
      *ActionSelectAll{}, *ActionExport{}, *ActionHelp{};
  // The column of the last ascending sort, or -1.
  int SortColumn = 0;
  IMarkerListHost* Host = nullptr;

  // A row for the marker the editor's Markers.CurrentIndex selects (Add Region).
  void AddRegionItem(IAudioEditor2& Editor, int DocumentNumber, const std::string& FileName);
  // Shows the window at its stored bounds.
  void OpenList();
  // Removes the row's marker from its document (when that is open) and the row; renumbers the
  // rows of both lists that followed the marker.
  void DeleteRegion(TListItem* Item);
  // Writes the row's region into Folder in the format FormatIndex names, under a name no
  // file there has yet. Nothing when its document is closed or the index names no format.
  void ExportRegion(TListItem* Item, int FormatIndex, const std::string& Folder);

  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void ActionListRegionUpdate(TBasicAction* Action, bool& Handled);
  void ActionSelectExecute(TObject* Sender);
  void ActionRenameExecute(TObject* Sender);
  void ActionSaveExecute(TObject* Sender);
  void ActionCopyToNewExecute(TObject* Sender);
  void ActionDeleteExecute(TObject* Sender);
  void ActionSelectAllExecute(TObject* Sender);
  void ActionExportExecute(TObject* Sender);
  void ActionHelpExecute(TObject* Sender);
  void ListViewRegionListColumnClick(TObject* Sender, TListColumn* Column);
  void ListViewRegionListDblClick(TObject* Sender);

 private:
  // Shows the region in its document and selects it; false when the document is closed.
  bool SelectRegion(TListItem* Item);
};

class TBookmarkForm : public TForm {
 public:
  explicit TBookmarkForm(TComponent* AOwner);
  ~TBookmarkForm() override;

  TListView* ListViewBookmarkList{};
  TActionList* ActionListBookList{};
  TPopupMenu* PopupMenuBookmark{};
  TAction *ActionGotoBookmark{}, *ActionSelectToBookmark{}, *ActionRename{}, *ActionDelete{},
      *ActionSelectAll{}, *ActionHelp{};
  int SortColumn = 0;
  IMarkerListHost* Host = nullptr;

  // A row for the marker the editor's Markers.CurrentIndex selects (Set Bookmark).
  void AddBookmarkItem(IAudioEditor2& Editor, int DocumentNumber);
  void OpenList();
  void DeleteBookmark(TListItem* Item);

  void FormShow(TObject* Sender);
  void FormClose(TObject* Sender, TCloseAction& Action);
  void ActionListBookListUpdate(TBasicAction* Action, bool& Handled);
  void ActionGotoBookmarkExecute(TObject* Sender);
  void ActionSelectToBookmarkExecute(TObject* Sender);
  void ActionRenameExecute(TObject* Sender);
  void ActionDeleteExecute(TObject* Sender);
  void ActionSelectAllExecute(TObject* Sender);
  void ActionHelpExecute(TObject* Sender);
  void ListViewBookmarkListColumnClick(TObject* Sender, TListColumn* Column);
  void ListViewBookmarkListDblClick(TObject* Sender);
};

// The two windows of the program (made at start-up; each clears its own when freed).
extern TRegionForm* RegionForm;
extern TBookmarkForm* BookmarkForm;

// The main window's handler of the editor's marker news: the rows of marker Num of that
// document take the marker's new place. The marker's kind tells a region from a bookmark, so a
// region of length 0 stays a region.
void EditorMarkerChanged(TAudioEditor2& Editor, int DocumentNumber, int Num);

// Ascending order of two rows by a column (0 the caption, then the sub-items): the platform's
// case-insensitive comparison, except that an empty text comes after every other.
int CompareListItems(TListItem* Item1, TListItem* Item2, int Column);

void RegisterRegionListClasses();
