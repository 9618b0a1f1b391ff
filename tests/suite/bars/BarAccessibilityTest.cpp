// The accessibility helpers of bar windows on a real toolbar: what assistive tools read through
// Qt, the key tips a bar collects, and typing them through the navigation controller.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QWidget>

#include <memory>
#include <string>
#include <vector>

#include "BarTestSupport.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBarNavigation.h"
#include "suite/bars/dxBarSubMenu.h"

namespace {

struct TAccessibilityFixture : TBarFixture {
  TdxBar* Tools = Manager->Bars()->Add();
  std::vector<std::string> Clicked;
  std::unique_ptr<TTestBarControl> Bar;
  TdxBarNavigationController* Navigation = GetBarNavigationController();

  void SetUp() override {
    Manager->MenuAnimations = maNone;
    Tools->SetCaption("Tools");
    Form->SetBounds(100, 100, 500, 300);
    Form->Show();
  }
  void TearDown() override {
    Navigation->LeaveNavigationMode();
    Bar.reset();
  }
  TdxBarButton* Button(const std::string& Caption, TShortCut Key = 0, bool Enabled = true) {
    auto* b = NewItem<TdxBarButton>(Caption);
    b->SetShortCut(Key);
    b->SetEnabled(Enabled);
    b->OnClick = [this, Caption](TObject*) { Clicked.push_back(Caption); };
    Tools->ItemLinks()->AddLinkForItem(b);
    return b;
  }
  void Show(int Width = 400) {
    Bar = std::make_unique<TTestBarControl>(Manager, Tools->ItemLinks());
    Bar->ShowAt(100, 60, Width, 24);
  }
  TdxBarAccessibilityHelper* BarHelper() { return QueryAccessibilityHelper(Bar->AcquireAccessibilityHelper()); }
  std::vector<std::string> TipsShown() {
    std::vector<std::string> out;
    for (auto& d : Navigation->KeyTips()) out.push_back(d->Info.KeyTip);
    return out;
  }
  void Type(char C) { Navigation->DispatchKey(WORD(C), TShiftState()); }
};

}  // namespace

TEST_F(TAccessibilityFixture, AssistiveToolsReadTheToolbarAndItsCommands) {
  Button("&Open", ShortCut('O', {ssCtrl}));
  Button("&Save");
  Button("Save &As", 0, false);
  auto* recent = NewItem<TdxBarSubItem>("&Recent");
  Tools->ItemLinks()->AddLinkForItem(recent);
  Show();
  QAccessibleInterface* root = QAccessible::queryAccessibleInterface(GetWindowWidget(Bar->Handle()));
  ASSERT_NE(root, nullptr);
  EXPECT_EQ(root->text(QAccessible::Name), "Tools");
  EXPECT_EQ(root->role(), QAccessible::ToolBar);
  ASSERT_EQ(root->childCount(), 4);
  const char* names[] = {"Open", "Save", "Save As", "Recent"};
  const QAccessible::Role roles[] = {QAccessible::Button, QAccessible::Button, QAccessible::Button,
                                     QAccessible::ButtonMenu};
  for (int i = 0; i < 4; ++i) {
    QAccessibleInterface* c = root->child(i);
    ASSERT_NE(c, nullptr);
    EXPECT_EQ(c->text(QAccessible::Name).toStdString(), names[i]);
    EXPECT_EQ(c->role(), roles[i]) << names[i];
    EXPECT_EQ(c->parent(), root);
    TRect r = Bar->ItemControlScreenRect(Tools->ItemLinks()->LinkByIndex(i)->Control());
    EXPECT_EQ(c->rect(), QRect(r.Left, r.Top, r.Width(), r.Height())) << names[i];
    EXPECT_EQ(c->state().disabled, i == 2) << names[i];
  }
  EXPECT_EQ(root->child(0)->text(QAccessible::Accelerator), "O");
  // The main menu reads as a menu bar of menu items.
  Tools->SetIsMainMenu(true);
  EXPECT_EQ(root->role(), QAccessible::MenuBar);
  EXPECT_EQ(root->child(0)->role(), QAccessible::MenuItem);
}

TEST_F(TAccessibilityFixture, ABarCollectsTheTipsOfItsShownCommands) {
  Button("Open", ShortCut('O', {ssCtrl}));
  Button("&Save");
  Button("Save &As", 0, false);
  Button("Exit");
  Button("&Zoom")->SetKeyTip("ZOOM");
  Show();
  TdxBarKeyTipDataList tips;
  BarHelper()->CollectKeyTips(tips);
  std::vector<std::string> texts;
  std::vector<bool> enabled;
  for (auto& d : tips) {
    texts.push_back(d->Info.KeyTip);
    enabled.push_back(d->Info.Enabled);
    EXPECT_TRUE(d->Info.Visible);
  }
  EXPECT_EQ(texts, (std::vector<std::string>{"O", "S", "A", "Y", "ZOO"}));
  EXPECT_EQ(enabled, (std::vector<bool>{true, true, false, true, true}));
  // A tip stands centred on its command.
  TRect save = Bar->ItemControlScreenRect(Tools->ItemLinks()->LinkByIndex(1)->Control());
  EXPECT_EQ(tips[1]->Info.BasePoint, TPoint((save.Left + save.Right) / 2, (save.Top + save.Bottom) / 2));
  // A hidden bar gives none.
  ShowWindow(Bar->Handle(), SW_HIDE);
  TdxBarKeyTipDataList none;
  BarHelper()->CollectKeyTips(none);
  EXPECT_TRUE(none.empty());
}

TEST_F(TAccessibilityFixture, TypingTipsNarrowsThemAndRunsTheOneTypedInFull) {
  Button("&Find");
  Button("&Fill");
  Button("&Erase", 0, false);
  Show();
  Navigation->ShowKeyTipsFor(BarHelper(), "");
  ASSERT_EQ(TipsShown(), (std::vector<std::string>{"F1", "F2", "E"}));
  Type('F');
  EXPECT_EQ(Navigation->TypedKeyTip(), "F");
  EXPECT_TRUE(Clicked.empty());
  // A letter no tip starts with beeps and changes nothing.
  int beeps = BeepCount();
  Type('Q');
  EXPECT_EQ(BeepCount(), beeps + 1);
  EXPECT_EQ(Navigation->TypedKeyTip(), "F");
  Type('2');
  EXPECT_EQ(Clicked, std::vector<std::string>{"&Fill"});
  EXPECT_FALSE(Navigation->HasKeyTipsContainer());
  // A disabled command's tip can be typed in full but runs nothing.
  Navigation->ShowKeyTipsFor(BarHelper(), "");
  Type('E');
  EXPECT_EQ(Navigation->TypedKeyTip(), "E");
  EXPECT_EQ(Clicked.size(), 1u);
  // Destroying the bar while its tips are shown hides them.
  Bar.reset();
  EXPECT_FALSE(Navigation->HasKeyTipsContainer());
}

TEST_F(TAccessibilityFixture, TheTipOfAMenuCutOffTheToolbarDoesNothing) {
  Button("&Open");
  auto* recent = NewItem<TdxBarSubItem>("&Recent");
  recent->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>("One"));
  Tools->ItemLinks()->AddLinkForItem(recent);
  Show();
  Bar->ShowAt(100, 60, Tools->ItemLinks()->LinkByIndex(0)->Control()->Width() + 4, 24);
  Navigation->ShowKeyTipsFor(BarHelper(), "");
  ASSERT_EQ(TipsShown(), (std::vector<std::string>{"O", "R"}));
  EXPECT_FALSE(Navigation->KeyTips()[1]->Info.Visible);
  EXPECT_NO_THROW(Type('R'));
  EXPECT_EQ(dynamic_cast<TdxBarSubMenuControl*>(GetActiveBarControl()), nullptr);
  EXPECT_TRUE(Clicked.empty());
}
