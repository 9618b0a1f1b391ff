// The recent-files list item: capacity, insertion and removal rules, shortened captions and the
// removal of a clicked entry.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "suite/core/cxGraphics.h"
#include "suite/extras/dxBarExtItems.h"

namespace {

struct TMRUFixture : ::testing::Test {
  std::unique_ptr<TForm> Form = std::make_unique<TForm>(nullptr);
  TdxBarManager* Manager = new TdxBarManager(Form.get());
  TdxBarMRUListItem* List = new TdxBarMRUListItem(Form.get());

  std::vector<std::string> Entries() const {
    std::vector<std::string> out;
    for (int i = 0; i < List->Items()->Count(); ++i) out.push_back(List->Items()->Strings(i));
    return out;
  }
};

using Strings = std::vector<std::string>;

int ScreenTextWidth(const std::string& Text) {
  TcxScreenCanvas* screen = SharedScreenCanvas();
  int w = MeasureTextSize(screen->CurrentDC(), Text).cx;
  screen->ReleaseScreenDC();
  return w;
}

}  // namespace

// Each row runs its steps on a fresh list: "+x" inserts x at the top, "-x" removes x, "max n"
// sets the capacity.
TEST_F(TMRUFixture, InsertRemoveAndCapacity) {
  struct Row {
    const char* Name;
    Strings Steps;
    Strings Expected;
    int Max;
  };
  const Row rows[] = {
      {"six inserts keep the newest five", {"+a", "+b", "+c", "+d", "+e", "+f"}, {"f", "e", "d", "c", "b"}, 5},
      {"a listed path in other case moves and keeps its text",
       {"+C:\\Music\\Song.wav", "+x", "+c:\\music\\SONG.WAV"}, {"C:\\Music\\Song.wav", "x"}, 5},
      {"lowering the capacity trims the oldest at once",
       {"+a", "+b", "+c", "+d", "+e", "max 2"}, {"e", "d"}, 2},
      {"a negative capacity stores 0 and never trims",
       {"+a", "+b", "+c", "+d", "+e", "max -3", "+f", "+g"}, {"g", "f", "e", "d", "c", "b", "a"}, 0},
      {"removing an unlisted path changes nothing", {"+a", "+b", "-zz"}, {"b", "a"}, 5},
      {"removing a listed path ignores letter case", {"+a", "+B", "-b"}, {"a"}, 5},
  };
  for (const Row& r : rows) {
    List->Items()->Clear();
    List->SetMaxItemCount(5);
    for (const std::string& s : r.Steps) {
      if (s.rfind("max ", 0) == 0)
        List->SetMaxItemCount(std::stoi(s.substr(4)));
      else if (s[0] == '+')
        List->InsertAtTop(s.substr(1), nullptr);
      else
        List->RemoveEntry(s.substr(1), nullptr);
    }
    EXPECT_EQ(Entries(), r.Expected) << r.Name;
    EXPECT_EQ(List->MaxItemCount(), r.Max) << r.Name;
  }
}

TEST_F(TMRUFixture, EntriesAreFoundByTheirObjectWhenTheTextDoesNotMatch) {
  TObject first, second;
  List->InsertAtTop("one", &first);
  List->InsertAtTop("two", &second);
  List->InsertAtTop("plain", nullptr);
  // An unknown text with a known object moves that object's entry, keeping its own text.
  List->InsertAtTop("renamed", &first);
  EXPECT_EQ(Entries(), (Strings{"one", "plain", "two"}));
  // An empty text with no object removes the first entry that carries none.
  List->RemoveEntry("", nullptr);
  EXPECT_EQ(Entries(), (Strings{"one", "two"}));
  List->RemoveEntry("", &second);
  EXPECT_EQ(Entries(), (Strings{"one"}));
  List->RemoveEntry("", nullptr);
  EXPECT_EQ(Entries(), (Strings{"one"}));
}

TEST_F(TMRUFixture, CaptionsAreShortenedPathsNumberedOneToNineThenLetters) {
  const std::string longBack =
      "C:\\Documents and Settings\\Someone\\My Documents\\Recordings of the year\\Concerts\\Evening "
      "session\\final take.wav";
  const std::string longSlash =
      "/home/someone/Music/Recordings of the year/Concerts/Evening session/another folder/final take.wav";
  struct Row {
    std::string Path;
    std::string Start;
    std::string Last;
  };
  for (const Row& r : {Row{longBack, "C:\\", "\\final take.wav"}, Row{longSlash, "/home", "/final take.wav"}}) {
    std::string shown = List->ItemDisplayText(r.Path);
    EXPECT_LT(shown.size(), r.Path.size()) << r.Path;
    EXPECT_EQ(shown.rfind(r.Start, 0), 0u) << shown;
    EXPECT_NE(shown.find("..."), std::string::npos) << shown;
    EXPECT_EQ(shown.substr(shown.size() - r.Last.size()), r.Last) << shown;
    EXPECT_LE(ScreenTextWidth(shown), TdxBarMRUListItem::DisplayWidth) << shown;
  }
  EXPECT_EQ(List->ItemDisplayText("C:\\a.wav"), "C:\\a.wav");
  EXPECT_EQ(List->ItemDisplayText(""), "");

  // The generated entries of a ten-path list.
  List->SetMaxItemCount(0);
  for (int i = 10; i >= 1; --i) List->InsertAtTop("p" + std::to_string(i), nullptr);
  List->InsertAtTop(longBack, nullptr);
  auto* menu = new TdxBarSubItem(Form.get());
  TdxBarContainerLinkData data;
  data.Item = List;
  List->FillLinks(menu->ItemLinks(), &data, 0);
  ASSERT_EQ(menu->ItemLinks()->Count(), 11);
  EXPECT_EQ(menu->ItemLinks()->LinkByIndex(0)->Item()->Caption(), "&1 " + List->ItemDisplayText(longBack));
  EXPECT_EQ(menu->ItemLinks()->LinkByIndex(9)->Item()->Caption(), "&A p9");
  EXPECT_EQ(menu->ItemLinks()->LinkByIndex(9)->Item()->Hint(), "");
  List->EndItemsPopulation(&data);
}

namespace {
// What the application's click handler saw, and what it may do to the list meanwhile.
struct TClickProbe : TObject {
  TdxBarMRUListItem* List = nullptr;
  std::string Seen;
  bool StillListed = false;
  std::vector<std::string> InsertOnClick;
  std::string RemoveOnClick;
  void Click(TObject*) {
    int i = List->ItemIndex();
    Seen = i >= 0 && i < List->Items()->Count() ? List->Items()->Strings(i) : "?";
    StillListed = List->Items()->IndexOf(Seen) >= 0;
    if (!RemoveOnClick.empty()) List->RemoveEntry(RemoveOnClick);
    for (const std::string& s : InsertOnClick) List->InsertAtTop(s);
  }
};
}  // namespace

TEST_F(TMRUFixture, AClickRunsTheHandlerFirstAndRemovesOnlyWhenAsked) {
  struct Row {
    const char* Name;
    bool RemoveOnClick;
    bool Customizing;
    Strings InsertOnClick;
    std::string RemoveInHandler;
    Strings Expected;
  };
  const Row rows[] = {
      {"the main window's list keeps the entry", false, false, {}, "", {"c", "b", "a"}},
      {"a removing list drops the clicked entry", true, false, {}, "", {"c", "a"}},
      {"customizing removes nothing", true, true, {}, "", {"c", "b", "a"}},
      // The handler shifted the entries: the clicked text goes, not the one now at its index.
      {"the handler inserted above it", true, false, {"new"}, "", {"new", "c", "a"}},
      // The handler removed it already: nothing else goes.
      {"the handler removed it", true, false, {}, "b", {"c", "a"}},
  };
  for (const Row& r : rows) {
    List->Items()->Clear();
    for (const char* s : {"a", "b", "c"}) List->InsertAtTop(s);
    List->SetRemoveItemOnClick(r.RemoveOnClick);
    Manager->SetCustomizing(r.Customizing);
    TClickProbe probe;
    probe.List = List;
    probe.InsertOnClick = r.InsertOnClick;
    probe.RemoveOnClick = r.RemoveInHandler;
    List->OnClick = TNotifyEvent::Bind(&probe, &TClickProbe::Click);

    auto* menu = new TdxBarSubItem(Form.get());
    TdxBarContainerLinkData data;
    data.Item = List;
    List->FillLinks(menu->ItemLinks(), &data, 0);
    ASSERT_EQ(menu->ItemLinks()->Count(), 3) << r.Name;
    menu->ItemLinks()->LinkByIndex(1)->Item()->Click();  // "&2 b"
    List->EndItemsPopulation(&data);
    delete menu;

    EXPECT_EQ(probe.Seen, "b") << r.Name;
    EXPECT_TRUE(probe.StillListed) << r.Name;
    EXPECT_EQ(Entries(), r.Expected) << r.Name;
    bool removed = r.RemoveOnClick && !r.Customizing;
    EXPECT_EQ(List->ItemIndex(), removed ? -1 : 1) << r.Name;
  }
  Manager->SetCustomizing(false);
}
