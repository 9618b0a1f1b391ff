#include <gtest/gtest.h>

#include "BarTestSupport.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarControl.h"

namespace {

using TServicesFixture = TBarFixture;

// Answers every message box with Answer and keeps its text.
struct TMessageBoxAnswer {
  explicit TMessageBoxAnswer(int Answer) {
    Previous = SetModalHook([this, Answer](const TModalRequest& r) {
      if (r.Kind != TModalRequest::mrMessageBox) return 0;
      Texts.push_back(r.Text);
      Types.push_back(r.Type);
      return Answer;
    });
  }
  ~TMessageBoxAnswer() { SetModalHook(Previous); }
  TModalHook Previous;
  std::vector<std::string> Texts;
  std::vector<UINT> Types;
};

// Replaces the bar editor's name dialog for one test.
struct TNameDialog {
  static inline std::string Answer;
  static inline bool Ok = true;
  static inline std::vector<std::pair<std::string, bool>> Asked;
  TNameDialog(const std::string& AAnswer, bool AOk) {
    Answer = AAnswer;
    Ok = AOk;
    Asked.clear();
    dxBarNameDialog = [](TdxBarManager*, std::string& Name, bool Rename) {
      Asked.emplace_back(Name, Rename);
      if (Ok) Name = Answer;
      return Ok;
    };
  }
  ~TNameDialog() { dxBarNameDialog = nullptr; }
};

}  // namespace

// ---- names

TEST_F(TServicesFixture, UniqueNamesTakeTheFirstFreeNumber) {
  const TClassInfo* button = FindClassInfo(typeid(TdxBarButton));
  EXPECT_EQ(Manager->UniqueItemName(button), "dxBarButton1");
  NewItem<TdxBarButton>()->SetName("DXBARBUTTON1");  // compared without regard to case
  EXPECT_EQ(Manager->UniqueItemName(button), "dxBarButton2");
  EXPECT_EQ(Manager->UniqueItemName(FindClassInfo(typeid(TdxBarSubItem))), "dxBarSubItem1");

  Manager->Bars()->Add()->SetName("Tools1");
  Manager->Bars()->Add()->SetName("Tools3");
  EXPECT_EQ(Manager->UniqueBarName("Tools"), "Tools2");
  EXPECT_EQ(Manager->UniqueBarName("tools"), "tools1");  // bar names are compared exactly
}

TEST_F(TServicesFixture, NewToolbarTakesTheFirstFreeCustomCaptionAndAFreshTopRow) {
  Manager->Bars()->Add()->SetCaption("Custom 1");
  TdxBar* shown = Manager->Bars()->Add();
  shown->SetCaption("Custom 3");
  shown->SetDockingStyle(dsTop);
  shown->SetVisible(true);
  TdxDockControl* top = Manager->Bars()->DockControls(dsTop);
  ASSERT_NE(top, nullptr);
  ASSERT_EQ(top->RowCount(), 1);
  int before = Manager->Bars()->Count();
  TdxBar* bar = Manager->AddNewToolbar(false, false);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(Manager->Bars()->Count(), before + 1);
  EXPECT_EQ(bar->Caption(), "Custom 2");
  EXPECT_EQ(bar->DockingStyle(), dsTop);
  EXPECT_EQ(bar->Row(), 1);
  EXPECT_EQ(top->RowCount(), 2);
  EXPECT_TRUE(bar->Visible());
  EXPECT_FALSE(bar->IsMainMenu());

  TdxBar* menu = Manager->AddNewToolbar(true, false);
  EXPECT_EQ(menu->Caption(), "Custom 4");
  EXPECT_EQ(menu->Row(), 0);
  EXPECT_TRUE(menu->IsMainMenu());
  EXPECT_EQ(Manager->Bars()->MainMenuBar(), menu);
}

TEST_F(TServicesFixture, NameDialogRenamesOrCancelsWithoutMakingABar) {
  TNameDialog dialog("Effects", true);
  TdxBar* bar = Manager->AddNewToolbar(false, true);
  ASSERT_NE(bar, nullptr);
  EXPECT_EQ(bar->Caption(), "Effects");
  ASSERT_EQ(dialog.Asked.size(), 1u);
  EXPECT_EQ(dialog.Asked[0], std::make_pair(std::string("Custom 1"), false));

  TNameDialog cancel("Never", false);
  int count = Manager->Bars()->Count();
  EXPECT_EQ(Manager->AddNewToolbar(false, true), nullptr);
  EXPECT_EQ(Manager->Bars()->Count(), count);
  Manager->RenameToolbar(bar);
  EXPECT_EQ(bar->Caption(), "Effects");
  EXPECT_EQ(cancel.Asked.back(), std::make_pair(std::string("Effects"), true));

  TNameDialog rename("Tools", true);
  Manager->RenameToolbar(bar);
  EXPECT_EQ(bar->Caption(), "Tools");
  Manager->RenameToolbar(nullptr);
  EXPECT_EQ(rename.Asked.size(), 1u);
}

TEST_F(TServicesFixture, NewToolbarFloatsBesideTheFormInsideTheWorkArea) {
  MONITORINFO info;
  GetMonitorInfo(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info);
  const RECT work = info.rcWork;
  struct TCase {
    int Left, Top;
    int FloatLeft, FloatTop;
  };
  const TCase cases[] = {
      {int(work.left) + 300, int(work.top) + 100, int(work.left) + 250, int(work.top) + 100},
      // At the left edge there is no room on the left: the bar goes to the right of the form.
      {int(work.left), int(work.top) + 100, int(work.left) + 400 + 10, int(work.top) + 100},
      {int(work.left) + 20, int(work.top) + 5, int(work.left) + 400 + 30, int(work.top) + 5},
      // Above the work area the bar comes down to 10 pixels below its top.
      {int(work.left) + 300, int(work.top) - 40, int(work.left) + 250, int(work.top) + 10},
  };
  for (const TCase& c : cases) {
    Form->SetBounds(c.Left, c.Top, 400, 300);
    TdxBar* bar = Manager->AddNewToolbar(false, false);
    EXPECT_EQ(bar->FloatLeft(), c.FloatLeft) << c.Left << "," << c.Top;
    EXPECT_EQ(bar->FloatTop(), c.FloatTop) << c.Left << "," << c.Top;
  }
}

TEST_F(TServicesFixture, RecentItemsThresholdFollowsThePercentage) {
  const std::pair<int, int> cases[] = {{100, 0}, {99, 100}, {95, 20}, {50, 2}, {0, 1}};
  for (auto [percents, threshold] : cases) {
    Manager->SetMostRecentItemsPercents(percents);
    EXPECT_EQ(Manager->RecentItemsThreshold(), threshold) << percents;
  }
}

// ---- managers, groups and dock sites

TEST_F(TServicesFixture, ParentManagerIsTheManagerOfTheControlAbove) {
  auto* panel = new TPanel(Form.get());
  panel->SetParent(Form.get());
  auto* inner = new TdxBarManager(panel);
  Form->HandleNeeded();
  panel->HandleNeeded();
  EXPECT_EQ(inner->ParentManager(), Manager);
  EXPECT_EQ(Manager->ParentManager(), nullptr);
  EXPECT_TRUE(Manager->CanCreateItems());
}

TEST_F(TServicesFixture, AddGroupMakesAGroupOfThisManager) {
  int count = Manager->GroupCount();
  TdxBarGroup* group = Manager->AddGroup();
  ASSERT_NE(group, nullptr);
  EXPECT_EQ(group->BarManager(), Manager);
  EXPECT_EQ(group->Owner(), Form.get());
  EXPECT_EQ(Manager->GroupCount(), count + 1);
  EXPECT_EQ(Manager->Groups(count), group);
}

TEST_F(TServicesFixture, RemovingADockSiteHidesItsBarsAndLeavesThemWithoutSite) {
  TdxDockControl* site = Manager->Bars()->DockControls(dsTop);
  ASSERT_NE(site, nullptr);
  TdxBar* docked = Manager->Bars()->Add();
  TdxBar* other = Manager->Bars()->Add();
  docked->SetDockingStyle(dsTop);
  other->SetDockingStyle(dsLeft);
  docked->SetVisible(true);
  other->SetVisible(true);
  ASSERT_NE(docked->DockRow(), nullptr);
  site->SetColor(clRed);
  const int sites = Manager->CountDockControls();

  Manager->RemoveDockControl(site);
  EXPECT_FALSE(docked->Visible());
  EXPECT_EQ(docked->DockRow(), nullptr);
  EXPECT_EQ(docked->CurrentDockSite(), nullptr);
  EXPECT_TRUE(other->Visible());
  EXPECT_NE(other->DockRow(), nullptr);
  EXPECT_EQ(site->RowCount(), 0);
  EXPECT_EQ(Manager->CountDockControls(), sites - 1);
  EXPECT_EQ(Manager->Bars()->DockControls(dsTop), nullptr);
  EXPECT_TRUE(site->ParentColor());
  Manager->AddDockControl(site);
  EXPECT_EQ(Manager->DockControlByIndex(sites - 1), site);
  delete site;  // no longer one of the collection's sites
}

TEST(ManagerServicesLifetime, ADockSiteOutlivingItsManagerForgetsIt) {
  auto form = std::make_unique<TForm>(nullptr);
  auto* manager = new TdxBarManager(form.get());
  auto site = std::make_unique<TdxDockControl>(nullptr, dsTop, manager);
  delete manager;
  EXPECT_EQ(site->BarManager(), nullptr);
  site.reset();  // must not call the freed manager
}

// ---- customizing

TEST_F(TServicesFixture, CustomizingShowsCustomizingOnlyLinksEverywhereAndIgnoresRepeats) {
  TdxBar* bar = Manager->Bars()->Add();
  auto* sub = NewItem<TdxBarSubItem>("&Edit");
  auto* popup = new TdxBarPopupMenu(Form.get());
  auto* shy = NewItem<TdxBarButton>("shy");
  shy->SetVisible(ivInCustomizing);
  auto* plain = NewItem<TdxBarButton>("plain");
  for (TdxBarItemLinks* links : {bar->ItemLinks(), sub->ItemLinks(), popup->ItemLinks()}) {
    links->AddLinkForItem(plain);
    links->AddLinkForItem(shy);
  }
  auto shown = [&] {
    return std::vector<int>{bar->ItemLinks()->ShownLinkCount(), sub->ItemLinks()->ShownLinkCount(),
                            popup->ItemLinks()->ShownLinkCount()};
  };
  EXPECT_EQ(shown(), (std::vector<int>{1, 1, 1}));
  Manager->SetCustomizing(true);
  EXPECT_TRUE(Manager->IsCustomizing());
  EXPECT_EQ(shown(), (std::vector<int>{2, 2, 2}));
  Manager->SetCustomizing(true);
  EXPECT_EQ(shown(), (std::vector<int>{2, 2, 2}));
  Manager->SetCustomizing(false);
  EXPECT_EQ(shown(), (std::vector<int>{1, 1, 1}));
}

TEST_F(TServicesFixture, ResetOfUsageDataAsksFirst) {
  auto* sub = NewItem<TdxBarSubItem>("&File");
  sub->SetName("SubItemFile");
  auto* button = NewItem<TdxBarButton>("a");
  button->SetName("ButtonA");
  TdxBarItemLink* link = sub->ItemLinks()->AddLinkForItem(button);
  Manager->WriteLayoutSnapshot();
  link->SetMostRecentlyUsed(false);
  {
    TMessageBoxAnswer no(IDNO);
    Manager->ConfirmResetUsageData();
    ASSERT_EQ(no.Texts.size(), 1u);
    EXPECT_EQ(no.Texts[0].rfind("This will delete the record of the commands you've used", 0), 0u);
    EXPECT_EQ(no.Types[0], UINT(308));
    EXPECT_FALSE(link->MostRecentlyUsed());
  }
  TMessageBoxAnswer yes(IDYES);
  Manager->ConfirmResetUsageData();
  EXPECT_TRUE(link->MostRecentlyUsed());
}

TEST_F(TServicesFixture, FloatingBarWindowsAreDisabledAroundADialogAndEnabledAgain) {
  TdxBar* floating = Manager->Bars()->Add();
  TdxBar* docked = Manager->Bars()->Add();
  floating->SetVisible(true);
  docked->SetVisible(true);
  auto* f = new TTestBarControl(Manager, floating->ItemLinks());
  auto* d = new TTestBarControl(Manager, docked->ItemLinks());
  f->SetDockingStyle(dsNone);
  d->SetDockingStyle(dsTop);
  f->ShowAt(10, 10, 80, 24);
  d->ShowAt(10, 60, 80, 24);
  Manager->DisableFloatingBarWindows();
  EXPECT_FALSE(IsWindowEnabled(f->WindowHandle()));
  EXPECT_TRUE(IsWindowEnabled(d->WindowHandle()));
  Manager->ReenableFloatingBarWindows();
  EXPECT_TRUE(IsWindowEnabled(f->WindowHandle()));
  Manager->ReenableFloatingBarWindows();  // nothing recorded any more
  EXPECT_TRUE(IsWindowEnabled(f->WindowHandle()));
}
