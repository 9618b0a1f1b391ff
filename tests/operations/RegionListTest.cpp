// The region and bookmark windows over real editors: renumbering across both lists, deleting,
// sorting, renaming, selecting, following moved markers and exporting regions to files that
// ffprobe reads back.
#include <gtest/gtest.h>

#include <QFileDialog>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "../platform/gui/GuiInput.h"
#include "MarkerListTestUtil.h"
#include "appbase/Globals.h"
#include "audio/CodecTestUtil.h"
#include "common/TestEnv.h"
#include "operations/ExportRegion.h"
#include "operations/MarkerDialogs.h"

namespace fs = std::filesystem;
using namespace markertest;

namespace {

class MarkerLists : public testing::Test {
 protected:
  void SetUp() override {
    SetDefaultGlobalVars(GlobalVars);
    GlobalVars.OP_PlayAfterRegion = false;
    GlobalVars.OP_PlayAfterBookmark = false;
    Regions = std::make_unique<TRegionForm>(nullptr);
    Bookmarks = std::make_unique<TBookmarkForm>(nullptr);
    RegionForm = Regions.get();
    BookmarkForm = Bookmarks.get();
    Regions->Host = &H;
    Bookmarks->Host = &H;
  }
  void TearDown() override {
    Regions.reset();
    Bookmarks.reset();
  }

  TListView* RegionRows() { return Regions->ListViewRegionList; }
  TListView* BookmarkRows() { return Bookmarks->ListViewBookmarkList; }

  static TListItem* Row(TListView* List, const std::string& Caption) {
    for (int i = 0; i < List->Items()->Count(); ++i)
      if (List->Items()->Item(i)->Caption() == Caption) return List->Items()->Item(i);
    ADD_FAILURE() << "no row " << Caption;
    return nullptr;
  }
  static std::vector<std::string> Captions(TListView* List) {
    std::vector<std::string> out;
    for (int i = 0; i < List->Items()->Count(); ++i) out.push_back(List->Items()->Item(i)->Caption());
    return out;
  }
  // Caption -> (document, marker index) of every row of both lists.
  std::map<std::string, std::pair<int, int>> Indexes() {
    std::map<std::string, std::pair<int, int>> out;
    for (TListItem* item : Items(RegionRows())) {
      auto* r = static_cast<TRegion*>(item->Data());
      out[item->Caption()] = {r->DocumentNumber, r->MarkerIndex};
    }
    for (TListItem* item : Items(BookmarkRows())) {
      auto* b = static_cast<TBookmark*>(item->Data());
      out[item->Caption()] = {b->DocumentNumber, b->MarkerIndex};
    }
    return out;
  }
  static std::vector<TListItem*> Items(TListView* List) {
    std::vector<TListItem*> out;
    for (int i = 0; i < List->Items()->Count(); ++i) out.push_back(List->Items()->Item(i));
    return out;
  }
  // Every row of an open document points at the marker of its name and kind.
  void ExpectRowsMatchMarkers() {
    for (auto [list, kind] : {std::pair{RegionRows(), AUDIO_MARKER_REGION},
                              std::pair{BookmarkRows(), AUDIO_MARKER_BOOKMARK}})
      for (TListItem* item : Items(list)) {
        const auto [doc, index] = Indexes()[item->Caption()];
        bool open = false;
        for (auto& d : H.Docs) open |= d.Number == doc;
        if (!open) continue;
        AudioDocument& document = H.Editor(doc).Document();
        EXPECT_EQ(document.MarkerNameAt(index), item->Caption()) << "index " << index;
        EXPECT_EQ(document.MarkerKindAt(index), kind) << item->Caption();
      }
  }
  void Click(TListView* List, int Column) {
    if (List == RegionRows())
      Regions->ListViewRegionListColumnClick(nullptr, List->Columns()->Items(Column));
    else
      Bookmarks->ListViewBookmarkListColumnClick(nullptr, List->Columns()->Items(Column));
  }

  Host H;
  std::unique_ptr<TRegionForm> Regions;
  std::unique_ptr<TBookmarkForm> Bookmarks;
};

TEST_F(MarkerLists, DeletingARegionRenumbersBothListsOfItsDocumentOnly) {
  H.Open(1);
  H.Open(2);
  AddBookmark(H, 1, 1000, "b1");
  AddRegion(H, 1, 2000, 4000, "r2");
  AddBookmark(H, 1, 5000, "b3");
  AddRegion(H, 1, 6000, 9000, "r4");
  AddBookmark(H, 2, 1000, "x1");
  AddRegion(H, 2, 2000, 3000, "x2");
  AddBookmark(H, 2, 4000, "x3");

  Regions->DeleteRegion(Row(RegionRows(), "r2"));

  const std::map<std::string, std::pair<int, int>> expected = {
      {"b1", {1, 1}}, {"b3", {1, 2}}, {"r4", {1, 3}}, {"x1", {2, 1}}, {"x2", {2, 2}}, {"x3", {2, 3}}};
  EXPECT_EQ(Indexes(), expected);
  EXPECT_EQ(H.Editor(1).Markers()->Count(), 3);
  EXPECT_EQ(H.Editor(2).Markers()->Count(), 3);
  ExpectRowsMatchMarkers();
}

TEST_F(MarkerLists, DeletingSeveralRowsKeepsEveryIndexWhateverTheOrder) {
  struct Case {
    const char* Name;
    int SortColumn;  // -1: as added
    int Clicks;
  } cases[] = {{"as added", -1, 0}, {"name descending", 0, 1}, {"time ascending", 1, 1},
               {"time descending", 1, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    TearDown();
    H.Docs.clear();
    H.Active = nullptr;
    SetUp();
    H.Open(1);
    H.Open(2);
    AddBookmark(H, 1, 1000, "alpha");
    AddRegion(H, 1, 2000, 3000, "delta");
    AddBookmark(H, 2, 500, "golf");
    AddBookmark(H, 1, 5000, "Charlie");
    AddRegion(H, 1, 6000, 9000, "bravo");
    AddRegion(H, 2, 700, 900, "hotel");
    AddBookmark(H, 1, 12000, "echo");
    AddRegion(H, 1, 13000, 14000, "foxtrot");
    AddRegion(H, 2, 1500, 2500, "india");
    for (int i = 0; i < c.Clicks; ++i) {
      Click(RegionRows(), c.SortColumn);
      Click(BookmarkRows(), c.SortColumn);
    }
    for (const char* n : {"delta", "bravo", "india"}) Row(RegionRows(), n)->SetSelected(true);
    for (const char* n : {"Charlie", "golf"}) Row(BookmarkRows(), n)->SetSelected(true);
    Modal answers(IDYES);
    Regions->ActionDeleteExecute(nullptr);
    Bookmarks->ActionDeleteExecute(nullptr);
    EXPECT_EQ(answers.Messages, (std::vector<std::string>{"Delete the selected region(s)?",
                                                          "Delete the selected bookmark(s)?"}));
    const std::map<std::string, std::pair<int, int>> expected = {
        {"alpha", {1, 1}}, {"echo", {1, 2}}, {"foxtrot", {1, 3}}, {"hotel", {2, 1}}};
    EXPECT_EQ(Indexes(), expected);
    ExpectRowsMatchMarkers();
  }
}

TEST_F(MarkerLists, NoAnswerYesOrNoDocumentDeletesNothing) {
  H.Open(1);
  AddRegion(H, 1, 2000, 3000, "r");
  AddBookmark(H, 1, 1000, "b");
  Regions->ActionSelectAllExecute(nullptr);
  Bookmarks->ActionSelectAllExecute(nullptr);
  {
    Modal answers(IDNO);
    Regions->ActionDeleteExecute(nullptr);
  }
  EXPECT_EQ(RegionRows()->Items()->Count(), 1);
  EXPECT_EQ(H.Editor(1).Markers()->Count(), 2);

  H.Close(1);
  Modal answers(IDYES);
  Regions->ActionDeleteExecute(nullptr);
  Bookmarks->ActionDeleteExecute(nullptr);
  EXPECT_EQ(RegionRows()->Items()->Count(), 1);
  EXPECT_EQ(BookmarkRows()->Items()->Count(), 1);
}

TEST_F(MarkerLists, RowsOfAClosedDocumentOnlyLeaveTheirList) {
  H.Open(1);
  H.Open(2);
  AddRegion(H, 1, 2000, 3000, "closed region");
  AddBookmark(H, 1, 1000, "closed bookmark");
  AddBookmark(H, 2, 100, "open bookmark");
  AddRegion(H, 2, 500, 800, "open region");
  H.Close(1);
  GlobalVars.OP_PlayAfterRegion = true;
  GlobalVars.OP_PlayAfterBookmark = true;
  TAudioEditor2& other = H.Editor(2);
  other.Position()->SetSelectionActive(true);
  other.Position()->SetSelectionStart(10);
  other.Position()->SetSelectionEnd(20);

  RegionRows()->SetItemFocused(Row(RegionRows(), "closed region"));
  BookmarkRows()->SetItemFocused(Row(BookmarkRows(), "closed bookmark"));
  Regions->ActionSelectExecute(nullptr);
  Regions->ActionSaveExecute(nullptr);
  Regions->ActionCopyToNewExecute(nullptr);
  Bookmarks->ActionGotoBookmarkExecute(nullptr);
  EXPECT_EQ(H.Plays, 0);
  EXPECT_TRUE(H.Saved.empty()) << "the selection of another document was saved";
  EXPECT_TRUE(H.Copied.empty());
  EXPECT_EQ(H.Selection(), std::make_pair(10, 20));

  Regions->DeleteRegion(Row(RegionRows(), "closed region"));
  Bookmarks->DeleteBookmark(Row(BookmarkRows(), "closed bookmark"));
  EXPECT_EQ(Captions(RegionRows()), std::vector<std::string>{"open region"});
  EXPECT_EQ(Captions(BookmarkRows()), std::vector<std::string>{"open bookmark"});
  EXPECT_EQ(other.Markers()->Count(), 2);
  ExpectRowsMatchMarkers();
}

TEST_F(MarkerLists, SelectAndGotoTakeTheMarkerWhereTheEditorHasIt) {
  H.Open(1);
  H.Open(2);
  AddRegion(H, 1, 2000, 3000, "verse");
  AddBookmark(H, 1, 1000, "start");
  // The markers moved in the editor; the rows were not told.
  H.Editor(1).Document().MoveMarker(1, 4000, 2500);
  H.Editor(1).Document().MoveMarker(2, 7000, 0);
  H.BringDocumentToFront(2);

  GlobalVars.OP_PlayAfterRegion = true;
  RegionRows()->SetItemFocused(Row(RegionRows(), "verse"));
  Regions->ActionSelectExecute(nullptr);
  EXPECT_EQ(H.Active, &H.Editor(1));
  EXPECT_EQ(H.Selection(), std::make_pair(4000, 6500));
  EXPECT_TRUE(H.Active->Position()->SelectionActive());
  EXPECT_EQ(H.Plays, 1);

  BookmarkRows()->SetItemFocused(Row(BookmarkRows(), "start"));
  Bookmarks->ActionGotoBookmarkExecute(nullptr);
  EXPECT_EQ(H.Active->Position()->Cursor(), 7000);
  EXPECT_FALSE(H.Active->Position()->SelectionActive());
  EXPECT_EQ(H.Plays, 1) << "plays after a bookmark only when asked";

  GlobalVars.OP_PlayAfterRegion = false;
  Regions->ActionSaveExecute(nullptr);
  Regions->ActionCopyToNewExecute(nullptr);
  EXPECT_EQ(H.Saved, (std::vector<std::pair<int, int>>{{4000, 6500}}));
  EXPECT_EQ(H.Copied, (std::vector<std::pair<int, int>>{{4000, 6500}}));
}

TEST_F(MarkerLists, RenameRefusesBlanksAndKeepsLeadingOnes) {
  H.Open(1);
  AddRegion(H, 1, 2000, 3000, "old region");
  AddBookmark(H, 1, 1000, "old bookmark");
  struct Case {
    TListView* List;
    const char* Old;
    const char* Prompt;
    std::function<void()> Rename;
  } cases[] = {
      {RegionRows(), "old region", "Enter Region Name", [&] { Regions->ActionRenameExecute(nullptr); }},
      {BookmarkRows(), "old bookmark", "Enter Bookmark Name",
       [&] { Bookmarks->ActionRenameExecute(nullptr); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Prompt);
    TListItem* item = Row(c.List, c.Old);
    c.List->SetItemFocused(item);
    TObject* before = item->Data();
    Modal answers;
    answers.On<TAddRegionOrBookmarkForm>("TAddRegionOrBookmarkForm", [&](TAddRegionOrBookmarkForm& d) {
      EXPECT_EQ(d.Caption(), c.Prompt);
      EXPECT_EQ(d.LabelEnterName->Caption(), c.Prompt);
      EXPECT_EQ(d.EditName->Text(), c.Old);
      d.EditName->SetText("   ");
      d.ButtonOKClick(nullptr);
      EXPECT_EQ(d.ModalResult(), mrNone) << "a blank name closed the dialog";
      EXPECT_EQ(d.EditName->Text(), "");
      d.EditName->SetText("  New name");
      d.ButtonOKClick(nullptr);
      return d.ModalResult();
    });
    c.Rename();
    EXPECT_EQ(answers.Messages, std::vector<std::string>{"You must enter a name. Please try again."});
    EXPECT_EQ(item->Caption(), "  New name");
    EXPECT_NE(item->Data(), before) << "the entry was changed in place";
    if (auto* r = dynamic_cast<TRegion*>(item->Data())) {
      EXPECT_EQ(r->Name, "  New name");
      EXPECT_EQ(std::tie(r->StartSample, r->EndSample, r->MarkerIndex, r->DocumentNumber),
                std::make_tuple(2000, 3000, 1, 1));
      EXPECT_EQ(r->FileName, "doc1.wav");
    } else {
      auto* b = dynamic_cast<TBookmark*>(item->Data());
      ASSERT_NE(b, nullptr);
      EXPECT_EQ(b->Name, "  New name");
      EXPECT_EQ(std::tie(b->Position, b->MarkerIndex), std::make_tuple(1000, 2));
    }
    c.List->Items()->Item(0)->SetCaption(c.Old);  // back for a clean second case
  }
  EXPECT_EQ(H.Editor(1).Document().MarkerNameAt(1), "old region") << "the marker keeps its name";
}

TEST_F(MarkerLists, ColumnClicksSortUpDownUpWithEmptyTextsLast) {
  auto add = [&](const char* name, const char* time) {
    TListItem* item = RegionRows()->Items()->Add();
    item->SetCaption(name);
    if (*time) item->SubItems()->Add(time);
    auto r = std::make_unique<TRegion>();
    r->Name = name;
    r->TimeText = time;
    item->SetData(std::move(r));
  };
  add("b", "0:00:02.000-0:00:03.000");
  add("A", "");
  add("c", "0:00:01.000-0:00:02.000");
  add("D", "0:00:10.000-0:00:11.000");
  using V = std::vector<std::string>;
  struct Step {
    int Column;
    V Order;
  } steps[] = {
      {1, {"c", "b", "D", "A"}},  // ascending; an empty time comes last
      {1, {"A", "D", "b", "c"}},  // descending
      {1, {"c", "b", "D", "A"}},  // ascending again
  };
  // SortColumn starts at the name column: the first click on Name sorts descending.
  Click(RegionRows(), 0);
  EXPECT_EQ(Captions(RegionRows()), (V{"D", "c", "b", "A"}));
  EXPECT_EQ(Regions->SortColumn, -1);
  for (int i = 0; i < 3; ++i) {
    Click(RegionRows(), steps[i].Column);
    EXPECT_EQ(Captions(RegionRows()), steps[i].Order) << "click " << i + 1 << " on Time";
  }
  Click(RegionRows(), 0);
  EXPECT_EQ(Captions(RegionRows()), (V{"A", "b", "c", "D"})) << "case is not considered";
}

TEST_F(MarkerLists, SelectToBookmarkOffersOnlyTheOtherBookmarksOfTheDocument) {
  H.Open(1);
  H.Open(2);
  AddBookmark(H, 1, 5000, "five");
  AddBookmark(H, 2, 3000, "elsewhere");
  AddBookmark(H, 1, 2000, "two");
  AddRegion(H, 1, 100, 200, "a region");
  H.BringDocumentToFront(2);

  BookmarkRows()->SetItemFocused(Row(BookmarkRows(), "five"));
  Modal answers;
  std::vector<std::string> offered;
  answers.On<TSelectToBookmarkForm>("TSelectToBookmarkForm", [&](TSelectToBookmarkForm& d) {
    EXPECT_EQ(d.Caption(), "Select to Boolmark");
    for (int i = 0; i < d.ComboBoxBookmark->Items()->Count(); ++i)
      offered.push_back(d.ComboBoxBookmark->Items()->Strings(i));
    EXPECT_EQ(d.ComboBoxBookmark->ItemIndex(), offered.empty() ? -1 : 0);
    // Centred over the main window, not the list.
    const TCustomForm* main = H.HostForm();
    EXPECT_EQ(d.Left(), main->Left() + (main->Width() - d.Width()) / 2);
    return int(mrOk);
  });
  Bookmarks->ActionSelectToBookmarkExecute(nullptr);
  EXPECT_EQ(offered, std::vector<std::string>{"two"});
  EXPECT_EQ(H.Active, &H.Editor(1));
  EXPECT_EQ(H.Selection(), std::make_pair(2000, 5000));
  EXPECT_TRUE(H.Active->Position()->SelectionActive());
  EXPECT_EQ(H.Active->Position()->Cursor(), 5000);

  // The only bookmark of its document: nothing to choose, OK changes nothing.
  offered.clear();
  H.BringDocumentToFront(1);
  BookmarkRows()->SetItemFocused(Row(BookmarkRows(), "elsewhere"));
  Bookmarks->ActionSelectToBookmarkExecute(nullptr);
  EXPECT_TRUE(offered.empty());
  EXPECT_EQ(H.Active, &H.Editor(1));
  EXPECT_EQ(H.Selection(), std::make_pair(2000, 5000));
}

TEST_F(MarkerLists, MovedMarkersUpdateTheRowsOfTheirDocumentAndKind) {
  TAudioEditor2& one = H.Open(1);
  TAudioEditor2& two = H.Open(2);
  AddRegion(H, 1, 44100, 88200, "one");
  AddRegion(H, 2, 44100, 88200, "two");
  // A region of length 0 (Add Region without a selection) stays a region when it moves.
  AddRegion(H, 1, 1000, 1000, "empty");
  AddBookmark(H, 2, 500, "mark");

  one.Document().MoveMarker(1, 22050, 44100);
  EditorMarkerChanged(one, 1, 1);
  one.Document().MoveMarker(2, 4410, 0);
  EditorMarkerChanged(one, 1, 2);
  two.Document().MoveMarker(2, 66150, 0);
  EditorMarkerChanged(two, 2, 2);

  struct Expect {
    const char* Row;
    int Start, End;
    const char* Time;
  } regions[] = {{"one", 22050, 66150, "0:00:00.500-0:00:01.500"},
                 {"two", 44100, 88200, "0:00:01.000-0:00:02.000"},
                 {"empty", 4410, 4410, "0:00:00.100-0:00:00.100"}};
  for (const Expect& e : regions) {
    SCOPED_TRACE(e.Row);
    TListItem* item = Row(RegionRows(), e.Row);
    auto* r = static_cast<TRegion*>(item->Data());
    EXPECT_EQ(std::tie(r->StartSample, r->EndSample), std::make_tuple(e.Start, e.End));
    EXPECT_EQ(r->TimeText, e.Time);
    EXPECT_EQ(item->SubItems()->Strings(0), e.Time);
  }
  auto* b = static_cast<TBookmark*>(Row(BookmarkRows(), "mark")->Data());
  EXPECT_EQ(b->Position, 66150);
  EXPECT_EQ(Row(BookmarkRows(), "mark")->SubItems()->Strings(0), "0:00:01.500");
}

TEST_F(MarkerLists, TheMouseAndTheKeysReachTheCommands) {
  H.Open(1);
  H.Open(2);
  AddRegion(H, 1, 2000, 3000, "first");
  AddRegion(H, 1, 5000, 9000, "second");
  H.BringDocumentToFront(2);
  Regions->OpenList();
  Application->ProcessMessages();
  TListView* list = RegionRows();
  int rowY = -1;
  for (int y = 0; y < list->Height() && rowY < 0; ++y)
    if (list->GetItemAt(20, y) == list->Items()->Item(1)) rowY = y;
  ASSERT_GE(rowY, 0) << "the second row is not shown";

  guitest::DoubleClick(Regions.get(), QPoint(20, rowY));
  EXPECT_EQ(list->ItemFocused(), list->Items()->Item(1));
  EXPECT_EQ(H.Active, &H.Editor(1));
  EXPECT_EQ(H.Selection(), std::make_pair(5000, 9000));

  Modal answers(IDNO);
  answers.On<TAddRegionOrBookmarkForm>("TAddRegionOrBookmarkForm",
                                       [](TAddRegionOrBookmarkForm&) { return int(mrCancel); });
  guitest::Key(Regions.get(), Qt::Key_F2);
  EXPECT_EQ(answers.Shown, 1) << "F2 renames";
  guitest::Key(Regions.get(), Qt::Key_Delete);
  EXPECT_EQ(answers.Messages, std::vector<std::string>{"Delete the selected region(s)?"});
  EXPECT_EQ(list->Items()->Count(), 2);
}

// ---------------------------------------------------------------------------------------------
// Export

class RegionExport : public MarkerLists {
 protected:
  fs::path Dir = sonalix::test::MakeTempDir("export");
  void Export(int Format) {
    GlobalVars.ExportFolder = Dir.string();
    GlobalVars.ExportFormat = Format;
    Modal answers;
    answers.On<TExportRegionForm>("TExportRegionForm", [](TExportRegionForm& d) {
      EXPECT_EQ(d.Caption(), "Export Region(s)");
      return int(mrOk);
    });
    Regions->ActionExportExecute(nullptr);
    EXPECT_EQ(answers.Shown, 1);
  }
};

TEST_F(RegionExport, BottomToTopUnderNamesNothingOverwrites) {
  H.Open(1, 3.0);
  H.Open(2, 3.0);
  AddRegion(H, 1, 0, 44100, "a/b:c");
  AddRegion(H, 1, 0, 22050, "take");      // 0.5 s
  AddRegion(H, 2, 0, 44100, "gone");
  AddRegion(H, 1, 44100, 110250, "take");  // 1.5 s, the bottom row
  H.Close(2);
  { std::ofstream(Dir / "take.wav") << "an older file"; }
  Regions->ActionSelectAllExecute(nullptr);

  Export(0);

  EXPECT_EQ(H.Applied, (std::vector<int>{afWav, afWav, afWav}));
  struct Expect {
    const char* File;
    double Seconds;
  } files[] = {{"a_b_c.wav", 1.0}, {"take(1).wav", 1.5}, {"take(2).wav", 0.5}};
  for (const Expect& e : files) {
    SCOPED_TRACE(e.File);
    const codectest::Probe p = codectest::ProbeFile(Dir / e.File);
    ASSERT_TRUE(p.Ok);
    EXPECT_EQ(p.Codec, "pcm_s16le");
    EXPECT_NEAR(p.Duration, e.Seconds, 0.01);
  }
  std::ifstream older(Dir / "take.wav");
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(older), {}), "an older file");
  EXPECT_FALSE(fs::exists(Dir / "gone.wav"));
  EXPECT_EQ(std::distance(fs::directory_iterator(Dir), fs::directory_iterator()), 4);
  // The top row went last and stays selected; the document is not renamed or changed.
  EXPECT_EQ(H.Selection(), std::make_pair(0, 44100));
  EXPECT_TRUE(RegionRows()->Enabled());
}

TEST_F(RegionExport, EachFormatThroughItsEncoder) {
  struct Case {
    int Index;
    const char* Extension;
    int Format;
    const char* Codec;
    int Rate, Channels;
  } cases[] = {{0, ".wav", afWav, "pcm_s16le", 44100, 2},
               {1, ".mp3", afMp3, "mp3", 44100, 2},
               {2, ".ogg", afOgg, "vorbis", 44100, 1},
               {3, ".wma", afWma, "wmav2", 8000, 1}};
  H.Open(1, 2.0);
  AddRegion(H, 1, 22050, 66150, "part");
  GlobalVars.OutputOGGPresets = 0;  // voice: mono
  GlobalVars.OutputWMAPresets = 0;  // phone: 8 kHz mono
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Extension);
    H.Applied.clear();
    Row(RegionRows(), "part")->SetSelected(true);
    Export(c.Index);
    EXPECT_EQ(H.Applied, std::vector<int>{c.Format});
    const codectest::Probe p = codectest::ProbeFile(Dir / (std::string("part") + c.Extension));
    ASSERT_TRUE(p.Ok);
    EXPECT_EQ(p.Codec, c.Codec);
    EXPECT_EQ(p.SampleRate, c.Rate);
    EXPECT_EQ(p.Channels, c.Channels);
    EXPECT_NEAR(p.Duration, 1.0, 0.15);
  }
}

TEST_F(RegionExport, AFailingSaveEndsTheExportAndFreesTheList) {
  H.Open(1);
  AddRegion(H, 1, 0, 1000, "first");
  AddRegion(H, 1, 1000, 2000, "second");
  Regions->ActionSelectAllExecute(nullptr);
  Dir /= "missing";
  EXPECT_ANY_THROW(Export(0));
  EXPECT_TRUE(RegionRows()->Enabled());
  EXPECT_FALSE(fs::exists(Dir));
}

TEST_F(RegionExport, TheFolderIsKeptAtOnceTheFormatOnlyOnOK) {
  const fs::path chosen = Dir / "chosen";
  fs::create_directories(chosen);
  GlobalVars.ExportFormat = 0;
  for (int result : {int(mrCancel), int(mrOk)}) {
    SCOPED_TRACE(result);
    GlobalVars.ExportFolder = Dir.string();
    Modal answers;
    answers.OnRequest("BrowseForFolder", [&](const TModalRequest& r) {
      static_cast<QFileDialog*>(r.Dialog)->selectFile("chosen");
      return int(IDOK);
    });
    answers.On<TExportRegionForm>("TExportRegionForm", [&](TExportRegionForm& d) {
      EXPECT_EQ(d.EditFolder->Text(), GlobalVars.ExportFolder);
      d.ButtonFolderClick(nullptr);
      EXPECT_EQ(d.EditFolder->Text(), fs::canonical(chosen).string());
      d.ComboBoxFormat->SetItemIndex(2);
      return result;
    });
    Regions->ActionExportExecute(nullptr);
    EXPECT_EQ(GlobalVars.ExportFolder, fs::canonical(chosen).string());
    EXPECT_EQ(GlobalVars.ExportFormat, result == mrOk ? 2 : 0);
  }
}

}  // namespace
