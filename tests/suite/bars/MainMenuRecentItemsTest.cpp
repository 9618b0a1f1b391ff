// Personalized menus on a form like the main window: with recent items first, a menu of the
// main menu opens showing its recently used entries, expands by its mark, by Ctrl+Down, by
// moving past its last entry or (with full menus after a delay) by itself, stays expanded for
// the rest of the chain, and opens collapsed again next time, now with the entry just used.
#include "MainMenuFixture.h"

#include <functional>

#include "suite/core/ControlTestSupport.h"

namespace {

struct TMainMenuRecentItems : TMainMenuFixture {
  TMainMenuRecentItems() {
    Manager->SetMenusShowRecentItemsFirst(true);
    Manager->ShowFullMenusAfterDelay = false;
    // Never used yet: the menus open without them.
    for (auto [sub, caption] : {std::pair<TdxBarSubItem*, const char*>{File, "&Load Audio CD Track(s)..."},
                                {File, "Save File &As..."},
                                {Edit, "Copy To &New"}})
      LinkOf(sub->ItemLinks(), caption)->SetMostRecentlyUsed(false);
  }
  static TdxBarItemLink* LinkOf(TdxBarItemLinks* Links, const std::string& Caption) {
    for (int i = 0; i < Links->Count(); ++i)
      if (Links->LinkByIndex(i)->Item()->Caption() == Caption) return Links->LinkByIndex(i);
    return nullptr;
  }
  static std::vector<std::string> Shown(TdxBarSubItem* Sub) {
    std::vector<std::string> r;
    for (TdxBarItemLink* l : Sub->ItemLinks()->ShownLinks()) r.push_back(l->Item()->Caption());
    return r;
  }
  static TPoint CentreOf(const TRect& R) { return TPoint((R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2); }
  void ClickTitle(TdxBarSubItem* Sub) {
    const TPoint p = CentreOf(LinkOf(Menu->ItemLinks(), Sub->Caption())->ItemRect());
    suitetest::MouseEvent(MenuBar(), QEvent::MouseMove, p);
    suitetest::Click(MenuBar(), p);
  }
  void ClickMark(TdxBarSubMenuControl* M) {
    TRect mark;
    M->MarkRect(mark);
    suitetest::MouseEvent(M, QEvent::MouseMove, CentreOf(mark));
    suitetest::Click(M, CentreOf(mark));
  }
  // The menu's window now (expanding makes it again).
  TdxBarSubMenuControl* MenuWindow(TdxBarSubItem* Sub) const { return MenuOf(Sub->ItemLinks()); }

  const std::vector<std::string> FileCollapsed{"&New File...", "&Open File...", "Close File", "&Save File", "E&xit"};
  const std::vector<std::string> FileAll{"&New File...", "&Open File...", "&Load Audio CD Track(s)...", "Close File",
                                         "&Save File", "Save File &As...", "E&xit"};
};

TEST_F(TMainMenuRecentItems, AMenuExpandsByItsMarkCtrlDownOrMovingPastItsLastEntry) {
  struct {
    const char* name;
    bool byKeys;  // opened by Alt+F, else by a click on the title
    std::function<void(TMainMenuRecentItems&)> expand;
    std::string selected;  // afterwards, by keys
  } cases[] = {
      {"a click on the mark", false, [](TMainMenuRecentItems& f) { f.ClickMark(f.MenuWindow(f.File)); }, ""},
      // The menu is made again whole; the next Down starts at its top.
      {"Ctrl+Down",
       true,
       [](TMainMenuRecentItems& f) {
         f.Type(Qt::Key_Down, Qt::ControlModifier);
         f.Type(Qt::Key_Down);
       },
       "&New File..."},
      {"Down past the last shown entry moves on to the next entry of all",
       true,
       [](TMainMenuRecentItems& f) {
         f.Type(Qt::Key_End);
         f.Type(Qt::Key_Down);
       },
       "&New File..."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    if (c.byKeys)
      AltWith(Qt::Key_F);
    else
      ClickTitle(File);
    TdxBarSubMenuControl* menu = MenuWindow(File);
    ASSERT_TRUE(menu);
    EXPECT_TRUE(menu->HasMark());
    EXPECT_EQ(Shown(File), FileCollapsed);
    c.expand(*this);
    menu = MenuWindow(File);
    ASSERT_TRUE(menu);
    EXPECT_FALSE(menu->HasMark());
    EXPECT_EQ(Shown(File), FileAll);
    if (c.byKeys) EXPECT_EQ(SelectedOn(menu), c.selected);
    // The rarely used entries show as such, each starting its own band.
    EXPECT_TRUE(LinkOf(File->ItemLinks(), "&Load Audio CD Track(s)...")->Control()->LessUsed);
    EXPECT_FALSE(LinkOf(File->ItemLinks(), "&Open File...")->Control()->LessUsed);
    // The rest of the chain shows whole menus: Right opens Edit expanded.
    Type(Qt::Key_Right);
    ASSERT_EQ(OpenMenus(), (std::vector<std::string>{"&Edit"}));
    EXPECT_FALSE(MenuWindow(Edit)->HasMark());
    EXPECT_EQ(Edit->ItemLinks()->ShownLinkCount(), Edit->ItemLinks()->ShowableLinkCount());
    CloseActiveMenusOf(Manager);
    GetBarNavigationController()->LeaveNavigationMode();
    // A new chain starts collapsed again.
    ClickTitle(Edit);
    ASSERT_TRUE(MenuWindow(Edit));
    EXPECT_TRUE(MenuWindow(Edit)->HasMark());
    EXPECT_LT(Edit->ItemLinks()->ShownLinkCount(), Edit->ItemLinks()->ShowableLinkCount());
    CloseActiveMenusOf(Manager);
  }
}

TEST_F(TMainMenuRecentItems, AfterUseTheMenuCollapsesAgainShowingTheEntryUsed) {
  ClickTitle(File);
  ClickMark(MenuWindow(File));
  ASSERT_EQ(Shown(File), FileAll);
  TdxBarSubMenuControl* menu = MenuWindow(File);
  const TPoint p = CentreOf(LinkOf(File->ItemLinks(), "Save File &As...")->ItemRect());
  suitetest::MouseEvent(menu, QEvent::MouseMove, p);
  suitetest::Click(menu, p);
  EXPECT_EQ(Runs["&File/Save File &As..."], 1);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  ClickTitle(File);
  ASSERT_TRUE(MenuWindow(File));
  EXPECT_TRUE(MenuWindow(File)->HasMark());
  EXPECT_EQ(Shown(File), (std::vector<std::string>{"&New File...", "&Open File...", "Close File", "&Save File",
                                                   "Save File &As...", "E&xit"}));
  CloseActiveMenusOf(Manager);
}

TEST_F(TMainMenuRecentItems, WithFullMenusAfterADelayTheMenuExpandsByItselfAfterFourSeconds) {
  for (bool afterDelay : {false, true}) {
    SCOPED_TRACE(afterDelay);
    suitetest::TManualClock clock;
    Manager->ShowFullMenusAfterDelay = afterDelay;
    ClickTitle(File);
    ASSERT_TRUE(MenuWindow(File));
    suitetest::Tick(3900);
    EXPECT_EQ(Shown(File), FileCollapsed);
    suitetest::Tick(200);
    EXPECT_EQ(Shown(File), afterDelay ? FileAll : FileCollapsed);
    ASSERT_TRUE(MenuWindow(File));
    EXPECT_EQ(MenuWindow(File)->HasMark(), !afterDelay);
    CloseActiveMenusOf(Manager);
  }
}

}  // namespace
