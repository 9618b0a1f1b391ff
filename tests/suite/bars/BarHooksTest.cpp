// The bar unit's hooks with real key and mouse events: shortcuts run once, keys typed in another
// form reach no manager, keys go to the active bar, clicks outside close the open bars, and
// deactivation to another application is told apart from one to our own windows.
#include <gtest/gtest.h>

#include "BarTestSupport.h"

#include <memory>

#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "suite/bars/dxBar.h"
#include "suite/core/ControlTestSupport.h"

namespace {

struct TRuns : TObject {
  int Count = 0;
  void Execute(TObject*) { ++Count; }
};

struct THooksFixture : TBarFixture {
  TRuns Runs;
  TActionList* Actions = new TActionList(Form.get());
  TAction* Open = new TAction(Form.get());
  TdxBar* Menu = Manager->Bars()->Add();
  TdxBarSubItem* File = NewItem<TdxBarSubItem>("&File");
  std::unique_ptr<TTestBarControl> MenuBar;

  THooksFixture() {
    Open->SetActionList(Actions);
    Open->SetCaption("&Open File...");
    Open->SetShortCut(ShortCut('O', {ssCtrl}));
    Open->OnExecute = TNotifyEvent::Bind(&Runs, &TRuns::Execute);
    auto* button = NewItem<TdxBarButton>();
    button->SetAction(Open);
    File->ItemLinks()->AddLinkForItem(button);
    Menu->SetIsMainMenu(true);
    Menu->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>("&Help"));
    Menu->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>("&Window"));
    Menu->ItemLinks()->AddLinkForItem(File);
    Form->SetBounds(100, 100, 400, 300);
    Form->Show();
    SetFocus(Form->Handle());
  }
  ~THooksFixture() override { MenuBar.reset(); }
  void ShowMenuBar() {
    MenuBar = std::make_unique<TTestBarControl>(Manager, Menu->ItemLinks());
    MenuBar->ShowAt(100, 60, 300, 24);
  }
};

}  // namespace

TEST_F(THooksFixture, CtrlORunsItsActionOnceAndTheFormsShortcutNeverSeesIt) {
  suitetest::Key(Form.get(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(Runs.Count, 1);
  // A key no item has goes on to the form.
  suitetest::Key(Form.get(), Qt::Key_P, Qt::ControlModifier);
  EXPECT_EQ(Runs.Count, 1);
}

TEST_F(THooksFixture, AKeyTypedInAnotherFormReachesNoManager) {
  TForm dialog(nullptr);
  dialog.SetBounds(150, 150, 200, 100);
  dialog.Show();
  SetFocus(dialog.Handle());
  suitetest::Key(&dialog, Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(Runs.Count, 0);
  // Unless the manager allows calls from another form.
  Manager->AllowCallFromAnotherForm = true;
  Application->SetMainForm(Form.get());
  suitetest::Key(&dialog, Qt::Key_O, Qt::ControlModifier);
  Application->SetMainForm(nullptr);
  EXPECT_EQ(Runs.Count, 1);
}

TEST_F(THooksFixture, KeysGoToTheActiveBarAndAreNotTypedIntoTheForm) {
  ShowMenuBar();
  MenuBar->Activate(Menu->ItemLinks()->LinkByIndex(0)->Control());
  suitetest::Key(Form.get(), Qt::Key_Right);
  EXPECT_EQ(MenuBar->SelectedControl(), Menu->ItemLinks()->LinkByIndex(1)->Control());
  // Ctrl+O while the bar holds the keys is the bar's, not a shortcut.
  suitetest::Key(Form.get(), Qt::Key_O, Qt::ControlModifier);
  EXPECT_EQ(Runs.Count, 0);
  suitetest::Key(Form.get(), Qt::Key_Escape);
}

TEST_F(THooksFixture, AClickOutsideTheActiveBarsClosesThemOneLevelAtATime) {
  ShowMenuBar();
  TTestBarControl sub(Manager, File->ItemLinks(), 2);
  sub.ShowAt(100, 84, 150, 60);
  MenuBar->Activate(Menu->ItemLinks()->LinkByIndex(0)->Control());
  sub.SetParentBar(MenuBar.get());
  sub.Activate(nullptr);
  // A click inside the chain leaves it open.
  suitetest::MouseEvent(&sub, QEvent::MouseButtonPress, TPoint(140, 50));
  suitetest::MouseEvent(&sub, QEvent::MouseButtonRelease, TPoint(140, 50));
  EXPECT_EQ(GetActiveBarControl(), &sub);
  // A right-button release on the form is swallowed and closes nothing.
  suitetest::MouseEvent(Form.get(), QEvent::MouseButtonRelease, TPoint(200, 200), Qt::RightButton);
  EXPECT_EQ(GetActiveBarControl(), &sub);
  suitetest::Click(Form.get(), TPoint(200, 200));
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  EXPECT_FALSE(MenuBar->IsActive());
  sub.SetParentBar(nullptr);
}

TEST_F(THooksFixture, DeactivationToAWindowOfNoOneOfOursCountsAsAnotherApplications) {
  ShowMenuBar();
  TForm other(nullptr);
  other.HandleNeeded();
  SendMessage(Form->Handle(), WM_ACTIVATEAPP, 1, 0);
  MenuBar->Activate(Menu->ItemLinks()->LinkByIndex(0)->Control());
  SendMessage(Form->Handle(), WM_ACTIVATE, WA_INACTIVE, LPARAM(other.Handle()));
  EXPECT_FALSE(BarForeignActivation());
  EXPECT_FALSE(MenuBar->IsActive());
  SendMessage(Form->Handle(), WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_TRUE(BarForeignActivation());
  SendMessage(Form->Handle(), WM_ACTIVATEAPP, 1, 0);
  EXPECT_FALSE(BarForeignActivation());
}
