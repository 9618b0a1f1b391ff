// Keyboard navigation of the bars with real key and mouse events on a form like the main window:
// Alt alone selects the main menu's first entry, Tab and the arrows move the selection, Esc and a
// mouse press end it, and the main menu's accelerators, arrows, Enter and Esc work through the
// menu chain.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

#include <memory>
#include <string>

#include "BarTestSupport.h"
#include "MainMenuFixture.h"
#include "platform/gui/ActnList.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBarNavigation.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/core/ControlTestSupport.h"

namespace {

// A toolbar that lays its links out in rows of Columns entries, closing on Esc as toolbars do.
class TGridBarControl : public TTestBarControl {
 public:
  TGridBarControl(TdxBarManager* M, TdxBarItemLinks* L, int AColumns) : TTestBarControl(M, L), Columns(AColumns) {}
  int Columns;
  void ArrangeLinks() override {
    int i = 0;
    for (TdxBarItemLink* l : ItemLinks()->ShownLinks()) {
      l->SetItemBounds(TRect((i % Columns) * 60, (i / Columns) * 24, (i % Columns) * 60 + 60, (i / Columns) * 24 + 24));
      ++i;
    }
  }
  void HandleKey(WORD& Key, TShiftState Shift) override {
    if (Key != VK_ESCAPE) return TTestBarControl::HandleKey(Key, Shift);
    Key = 0;
    CloseByKey();
  }
};

struct TNavigationFixture : TMainMenuFixture {
  TdxBarNavigationController* Navigation = GetBarNavigationController();

  TdxBarItemControl* Selected() const { return MenuBar()->SelectedControl(); }
  TdxBarSubMenuControl* OpenMenu() const { return dynamic_cast<TdxBarSubMenuControl*>(GetActiveBarControl()); }
  std::string OpenMenuOwner() const {
    TdxBarSubMenuControl* m = OpenMenu();
    return m && m->OwnerItemControl() ? m->OwnerItemControl()->LinkItem()->Caption() : std::string();
  }
};

}  // namespace

TEST_F(TNavigationFixture, AltAloneSelectsTheFirstMenuEntryAndAltAgainEndsIt) {
  Alt();
  EXPECT_EQ(GetActiveBarControl(), MenuBar());
  EXPECT_EQ(Selected(), ControlOf(File));
  EXPECT_TRUE(Navigation->NavigationMode());
  EXPECT_EQ(Navigation->CurrentSelectedObject(), ControlOf(File)->AcquireAccessibilityHelper());
  // No root of this program supplies tip windows: no tips and no waiting timer.
  EXPECT_FALSE(Navigation->HasKeyTipsContainer());
  EXPECT_FALSE(Navigation->HasPendingKeyTips());
  EXPECT_EQ(OpenMenu(), nullptr);
  Alt();
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  EXPECT_FALSE(Navigation->NavigationMode());
  EXPECT_EQ(Selected(), nullptr);
}

TEST_F(TNavigationFixture, AltWithALetterCtrlAltAndAutoRepeat) {
  // Alt with a letter no entry has: the later release of Alt selects nothing.
  AltWith(Qt::Key_Q);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  // Ctrl+Alt never starts it.
  Press(Qt::Key_Control, Qt::ControlModifier);
  Press(Qt::Key_Alt, Qt::ControlModifier | Qt::AltModifier);
  Release(Qt::Key_Alt, Qt::ControlModifier);
  Release(Qt::Key_Control);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  EXPECT_FALSE(Navigation->NavigationMode());
  // Auto-repeat of a held Alt changes nothing: its release still selects the first entry.
  Press(Qt::Key_Alt, Qt::AltModifier);
  Press(Qt::Key_Alt, Qt::AltModifier, true);
  Press(Qt::Key_Alt, Qt::AltModifier, true);
  Release(Qt::Key_Alt);
  EXPECT_EQ(Selected(), ControlOf(File));
  EXPECT_TRUE(Navigation->NavigationMode());
  // Navigation has begun: the arrows move along the menu bar.
  Press(Qt::Key_Right);
  EXPECT_EQ(Selected(), ControlOf(Edit));
}

TEST_F(TNavigationFixture, TabAndShiftTabWrapAndArrowsMoveAlongTheMenuBar) {
  Alt();
  suitetest::Key(Form.get(), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(Selected(), ControlOf(Help));
  suitetest::Key(Form.get(), Qt::Key_Tab);
  EXPECT_EQ(Selected(), ControlOf(File));
  suitetest::Key(Form.get(), Qt::Key_Tab);
  EXPECT_EQ(Selected(), ControlOf(Edit));
  suitetest::Key(Form.get(), Qt::Key_Left);
  suitetest::Key(Form.get(), Qt::Key_Left);
  EXPECT_EQ(Selected(), ControlOf(Help));
  EXPECT_EQ(OpenMenu(), nullptr);
  EXPECT_TRUE(Navigation->NavigationMode());
  // Up on a menu title opens its menu, as Down does.
  suitetest::Key(Form.get(), Qt::Key_Up);
  EXPECT_EQ(Selected(), ControlOf(Help));
  EXPECT_EQ(OpenMenuOwner(), "&Help");
}

TEST_F(TNavigationFixture, ArrowsMoveSpatiallyOnAToolbarOfTwoRows) {
  TdxBar* tools = Manager->Bars()->Add();
  TdxBarButton* b[6];
  for (int i = 0; i < 6; ++i) {
    b[i] = NewItem<TdxBarButton>("B" + std::to_string(i));
    tools->ItemLinks()->AddLinkForItem(b[i]);
  }
  TGridBarControl grid(Manager, tools->ItemLinks(), 3);
  grid.ShowAt(100, 200, 180, 48);
  auto control = [&](int i) { return tools->ItemLinks()->LinkByIndex(i)->Control(); };
  Navigation->SelectFirstObject(QueryAccessibilityHelper(grid.AcquireAccessibilityHelper()));
  ASSERT_EQ(grid.SelectedControl(), control(0));
  suitetest::Key(Form.get(), Qt::Key_Down);
  EXPECT_EQ(grid.SelectedControl(), control(3));
  suitetest::Key(Form.get(), Qt::Key_Right);
  EXPECT_EQ(grid.SelectedControl(), control(4));
  suitetest::Key(Form.get(), Qt::Key_Up);
  EXPECT_EQ(grid.SelectedControl(), control(1));
  // Nothing lies above the top row: the selection stays.
  suitetest::Key(Form.get(), Qt::Key_Up);
  EXPECT_EQ(grid.SelectedControl(), control(1));
  suitetest::Key(Form.get(), Qt::Key_Escape);
  EXPECT_FALSE(grid.IsActive());
  EXPECT_FALSE(Navigation->NavigationMode());
}

TEST_F(TNavigationFixture, EscAndAMousePressEndNavigation) {
  Alt();
  suitetest::Key(Form.get(), Qt::Key_Escape);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  EXPECT_FALSE(Navigation->NavigationMode());
  // An arrow now belongs to the form again, not to the menu bar.
  suitetest::Key(Form.get(), Qt::Key_Right);
  EXPECT_EQ(Selected(), nullptr);

  Alt();
  ASSERT_TRUE(Navigation->NavigationMode());
  suitetest::MouseEvent(Form.get(), QEvent::MouseButtonPress, TPoint(200, 200));
  suitetest::MouseEvent(Form.get(), QEvent::MouseButtonRelease, TPoint(200, 200));
  EXPECT_FALSE(Navigation->NavigationMode());
  EXPECT_EQ(GetActiveBarControl(), nullptr);
}

TEST_F(TNavigationFixture, AltWithASharedAcceleratorSelectsAndTheLetterAgainMovesOn) {
  // "&Edit" and "&Effects" share their letter: Alt+E only selects, E again moves on.
  Press(Qt::Key_Alt, Qt::AltModifier);
  Press(Qt::Key_E, Qt::AltModifier);
  Release(Qt::Key_E, Qt::AltModifier);
  EXPECT_EQ(Selected(), ControlOf(Edit));
  EXPECT_EQ(OpenMenu(), nullptr);
  Press(Qt::Key_E, Qt::AltModifier);
  Release(Qt::Key_E, Qt::AltModifier);
  Release(Qt::Key_Alt);
  EXPECT_EQ(Selected(), ControlOf(Effects));
  EXPECT_EQ(OpenMenu(), nullptr);
}

TEST_F(TNavigationFixture, ArrowsEnterAndEscWorkThroughTheMenuChain) {
  Alt();
  suitetest::Key(Form.get(), Qt::Key_Down);
  ASSERT_EQ(OpenMenuOwner(), "&File");
  // Esc closes one level: the menu bar keeps "&File" selected.
  suitetest::Key(Form.get(), Qt::Key_Escape);
  EXPECT_EQ(OpenMenu(), nullptr);
  EXPECT_EQ(GetActiveBarControl(), MenuBar());
  EXPECT_EQ(Selected(), ControlOf(File));
  // Down opens it again; Down and Up move in it, Enter runs the command once and closes all.
  suitetest::Key(Form.get(), Qt::Key_Down);
  ASSERT_NE(OpenMenu(), nullptr);
  TdxBarSubMenuControl* menu = OpenMenu();
  if (!menu->SelectedControl()) suitetest::Key(Form.get(), Qt::Key_Down);
  EXPECT_EQ(menu->SelectedControl(), File->ItemLinks()->LinkByIndex(0)->Control());
  suitetest::Key(Form.get(), Qt::Key_Down);
  EXPECT_EQ(menu->SelectedControl(), File->ItemLinks()->LinkByIndex(1)->Control());
  suitetest::Key(Form.get(), Qt::Key_Up);
  EXPECT_EQ(menu->SelectedControl(), File->ItemLinks()->LinkByIndex(0)->Control());
  suitetest::Key(Form.get(), Qt::Key_Return);
  EXPECT_EQ(Runs["&File/&New File..."], 1);
  EXPECT_EQ(Runs.size(), 1u);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  EXPECT_FALSE(Navigation->NavigationMode());
}
