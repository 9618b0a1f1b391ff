// The main menu of a form like the editor's main window, by keyboard: Alt with a letter opens a
// menu at once unless another entry shares the letter, the arrows, Enter and Esc walk the menu
// chain, and Left and Right move across the menu bar while a menu is open.
#include "MainMenuFixture.h"

namespace {

struct TMainMenuKeys : TMainMenuFixture {
  // The entry selected in the innermost open menu, or on the menu bar when none is open.
  std::string Selected() const {
    TCustomdxBarControl* a = GetActiveBarControl();
    return a ? SelectedOn(a) : std::string();
  }
};

// A key of a script: a Qt key, with Alt held for the letters written as "Alt+".
struct TKey {
  int Key;
  bool WithAlt = false;
};
TKey AltKey(int Key) { return {Key, true}; }

TEST_F(TMainMenuKeys, ScriptsOfKeysThroughTheMenuBarAndItsMenus) {
  struct {
    const char* name;
    std::vector<TKey> keys;
    std::vector<std::string> open;  // the open menus, outermost first
    std::string selected;           // in the innermost open menu, else on the menu bar
    std::string ran;                // the one command that ran, if any
  } cases[] = {
      {"Alt+F opens File at once on its first entry", {AltKey(Qt::Key_F)}, {"&File"}, "&New File..."},
      {"Alt+E shares its letter with Effects: it only selects", {AltKey(Qt::Key_E)}, {}, "&Edit"},
      {"E again with Alt held moves to Effects", {AltKey(Qt::Key_E), AltKey(Qt::Key_E)}, {}, "&Effects"},
      {"Alt+E, then Down opens Edit", {AltKey(Qt::Key_E), {Qt::Key_Down}}, {"&Edit"}, "&Undo"},
      {"Right opens the next title's menu", {AltKey(Qt::Key_F), {Qt::Key_Right}}, {"&Edit"}, "&Undo"},
      {"Left from the first title wraps to Help", {AltKey(Qt::Key_F), {Qt::Key_Left}}, {"&Help"}, "&Help Contents"},
      {"Right from Help wraps to File", {AltKey(Qt::Key_H), {Qt::Key_Right}}, {"&File"}, "&New File..."},
      {"Up in a menu wraps to its last entry", {AltKey(Qt::Key_F), {Qt::Key_Up}}, {"&File"}, "E&xit"},
      {"a letter two entries of a menu share only selects", {AltKey(Qt::Key_E), {Qt::Key_Down}, {Qt::Key_C}}, {"&Edit"}, "&Copy"},
      {"and the letter again moves on without opening",
       {AltKey(Qt::Key_E), {Qt::Key_Down}, {Qt::Key_C}, {Qt::Key_C}},
       {"&Edit"},
       "Insert Silen&ce..."},
      {"Right on an entry with a menu opens it beside",
       {AltKey(Qt::Key_E), {Qt::Key_Down}, {Qt::Key_End}, {Qt::Key_Up}, {Qt::Key_Right}},
       {"&Edit", "Insert Silen&ce..."},
       "&Begin"},
      {"Left in a nested menu closes only that one",
       {AltKey(Qt::Key_E), {Qt::Key_Down}, {Qt::Key_End}, {Qt::Key_Up}, {Qt::Key_Right}, {Qt::Key_Left}},
       {"&Edit"},
       "Insert Silen&ce..."},
      {"Right in a nested menu moves on to the next title",
       {AltKey(Qt::Key_E), {Qt::Key_Down}, {Qt::Key_End}, {Qt::Key_Up}, {Qt::Key_Right}, {Qt::Key_Right}},
       {"&Effects"},
       "&Amplify..."},
      {"Left in a menu moves to the previous title", {AltKey(Qt::Key_F), {Qt::Key_Right}, {Qt::Key_Left}}, {"&File"}, "&New File..."},
      {"Esc closes one level and keeps the title", {AltKey(Qt::Key_F), {Qt::Key_Escape}}, {}, "&File"},
      {"and the title's arrows then only select", {AltKey(Qt::Key_F), {Qt::Key_Escape}, {Qt::Key_Right}}, {}, "&Edit"},
      {"Esc twice ends it", {AltKey(Qt::Key_F), {Qt::Key_Escape}, {Qt::Key_Escape}}, {}, ""},
      {"Enter runs the selected entry once and closes all",
       {AltKey(Qt::Key_F), {Qt::Key_Down}, {Qt::Key_Return}},
       {},
       "",
       "&File/&Open File..."},
      {"a unique letter in a menu runs its entry", {AltKey(Qt::Key_E), {Qt::Key_Down}, {Qt::Key_T}}, {}, "", "&Edit/Cu&t"},
      {"a letter in a nested menu runs its entry",
       {AltKey(Qt::Key_E), {Qt::Key_Down}, {Qt::Key_End}, {Qt::Key_Up}, {Qt::Key_Right}, {Qt::Key_U}},
       {},
       "",
       "Insert Silen&ce.../C&urrent"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Runs.clear();
    // Alt stays held over letters typed one after another with it.
    bool altHeld = false;
    for (const TKey& k : c.keys) {
      if (k.WithAlt && !altHeld) Press(Qt::Key_Alt, Qt::AltModifier);
      if (!k.WithAlt && altHeld) Release(Qt::Key_Alt);
      altHeld = k.WithAlt;
      Type(k.Key, k.WithAlt ? Qt::AltModifier : Qt::NoModifier);
    }
    if (altHeld) Release(Qt::Key_Alt);
    EXPECT_EQ(OpenMenus(), c.open);
    EXPECT_EQ(Selected(), c.selected);
    int total = 0;
    for (auto& [name, n] : Runs) total += n;
    if (!c.ran.empty()) {
      EXPECT_EQ(Runs[c.ran], 1);
      EXPECT_EQ(total, 1);
      EXPECT_EQ(GetActiveBarControl(), nullptr);
    } else {
      EXPECT_EQ(total, 0);
    }
    CloseActiveMenusOf(Manager);
    GetBarNavigationController()->LeaveNavigationMode();
    ASSERT_EQ(GetActiveBarControl(), nullptr);
  }
}

TEST_F(TMainMenuKeys, CtrlORunsOpenFileOnceAndNeverReachesTheForm) {
  // The form's own handling of the key, had the manager let it through.
  int formSaw = 0;
  Form->SetKeyPreview(true);
  Form->OnKeyDown = [&](TObject*, WORD& Key, TShiftState) {
    if (Key == 'O') ++formSaw;
  };
  Runs.clear();
  Type(Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(Runs["&File/&Open File..."], 1);
  EXPECT_EQ(Runs.size(), 1u);
  // A key the manager ran is swallowed: the form never sees it.
  EXPECT_EQ(formSaw, 0);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  // A key no command has goes on to the form.
  Runs.clear();
  Type(Qt::Key_O);
  EXPECT_EQ(formSaw, 1);
  EXPECT_TRUE(Runs.empty());
}

}  // namespace
