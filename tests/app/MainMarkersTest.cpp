// Bookmarks and regions made by the main window's commands and mirrored in the two list windows.
#include <gtest/gtest.h>

#include "Imports/AudioEditorControl.h"
#include "MainTestSupport.h"
#include "operations/MarkerDialogs.h"
#include "operations/RegionList.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/ComCtrls.h"

using namespace maintest;

namespace {

void RunAction(const std::string& Action) {
  auto* a = dynamic_cast<TBasicAction*>(MainForm->FindComponent("Action" + Action));
  ASSERT_NE(a, nullptr) << Action;
  a->Execute();
  Application->ProcessMessages();
}

}  // namespace

TEST(MainMarkers, BookmarksAndRegionsOfTwoDocuments) {
  TProgram program;
  ASSERT_NE(BookmarkForm, nullptr) << "made at start-up";
  ASSERT_NE(RegionForm, nullptr);
  EXPECT_FALSE(BookmarkForm->Visible());
  GlobalVars.BookmarkFormLeft = 40;
  GlobalVars.BookmarkFormTop = 50;

  TChildForm* first = program.Open(WriteTone("first.wav", 8000, 1, 8000));
  ASSERT_NE(first, nullptr);
  std::string proposed;
  bool ok = false;
  TModalHook old = SetModalHook([&](const TModalRequest& r) -> int {
    if (r.DialogClass != "TAddRegionOrBookmarkForm") return 0;
    auto* d = static_cast<TAddRegionOrBookmarkForm*>(r.Dialog);
    proposed = d->EditName->Text();
    return ok ? int(mrOk) : int(mrCancel);
  });
  // Cancelled: no marker, but the list opens where it was left.
  first->AudioEditor->Position()->SetCursor(4000);
  RunAction("SetBookmark");
  EXPECT_EQ(first->AudioEditor->Markers()->Count(), 0);
  EXPECT_TRUE(BookmarkForm->Visible());
  EXPECT_EQ(BookmarkForm->Left(), 40);
  EXPECT_EQ(BookmarkForm->Top(), 50);
  EXPECT_EQ(BookmarkForm->ListViewBookmarkList->Items()->Count(), 0);

  ok = true;
  RunAction("SetBookmark");
  EXPECT_EQ(proposed.rfind("first.wav@", 0), 0u) << proposed;
  ASSERT_EQ(BookmarkForm->ListViewBookmarkList->Items()->Count(), 1);
  EXPECT_EQ(BookmarkForm->ListViewBookmarkList->Items()->Item(0)->Caption(), proposed);

  TChildForm* second = program.Open(WriteTone("second.wav", 8000, 1, 8000));
  ASSERT_NE(second, nullptr);
  IAudioEditor2Position* pos = second->AudioEditor->Position();
  pos->SetSelectionActive(true);
  pos->SetSelectionStart(800);
  pos->SetSelectionEnd(1600);
  RunAction("AddRegion");
  EXPECT_EQ(proposed.rfind("second.wav@", 0), 0u) << proposed;
  EXPECT_NE(proposed.find('-'), std::string::npos);
  EXPECT_TRUE(RegionForm->Visible());
  ASSERT_EQ(RegionForm->ListViewRegionList->Items()->Count(), 1);
  TListItem* row = RegionForm->ListViewRegionList->Items()->Item(0);
  EXPECT_EQ(row->SubItems()->Strings(1), "second.wav");
  EXPECT_EQ(row->SubItems()->Strings(2), "1");
  EXPECT_EQ(second->AudioEditor->Markers()->MarkerLength(), 800);
  SetModalHook(old);
}
