// Groups, items and links of the navigation bar: index clamping, deletion, visibility and the
// active group, items following their actions, views by id and the bar's texts.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gui/ActnList.h"
#include "suite/core/cxClasses.h"
#include "suite/navbar/NavBarTestSupport.h"
#include "suite/navbar/dxNavBarBaseViews.h"
#include "suite/navbar/dxNavBarConsts.h"
#include "suite/navbar/dxNavBarViewsFact.h"

using namespace navbar_test;

TEST(NavBarModel, LinkIndexesAreClampedNeverRefused) {
  TNavBarScene s;
  s.Bar->SetAllowSelectLinks(true);
  TdxNavBarGroup* g = s.AddGroupWithLinks("Files", {"Open", "Save", "Close"});
  TdxNavBarGroup* empty = s.AddGroup("Empty");
  struct Case {
    int Given, Selected, Top;
  };
  for (const Case& c : {Case{5, 2, 2}, Case{-7, -1, 0}, Case{1, 1, 1}, Case{-1, -1, 0}, Case{2, 2, 2}}) {
    g->SetSelectedLinkIndex(c.Given);
    EXPECT_EQ(g->SelectedLinkIndex(), c.Selected) << c.Given;
    g->SetTopVisibleLinkIndex(c.Given);
    EXPECT_EQ(g->TopVisibleLinkIndex(), c.Top) << c.Given;
    empty->SetTopVisibleLinkIndex(c.Given);
    EXPECT_EQ(empty->TopVisibleLinkIndex(), 0) << c.Given;
    empty->SetSelectedLinkIndex(c.Given);
    EXPECT_EQ(empty->SelectedLinkIndex(), -1) << c.Given;
  }
  // Without link selection every index becomes -1.
  s.Bar->SetAllowSelectLinks(false);
  EXPECT_EQ(g->SelectedLinkIndex(), -1);
  g->SetSelectedLinkIndex(1);
  EXPECT_EQ(g->SelectedLinkIndex(), -1);
}

TEST(NavBarModel, OneSelectionAcrossGroupsUnlessEachGroupHasOne) {
  TNavBarScene s;
  s.Bar->SetAllowSelectLinks(true);
  TdxNavBarGroup* a = s.AddGroupWithLinks("A", {"a1", "a2"});
  TdxNavBarGroup* b = s.AddGroupWithLinks("B", {"b1", "b2"});
  a->SetSelectedLinkIndex(1);
  b->SetSelectedLinkIndex(0);
  EXPECT_EQ(a->SelectedLinkIndex(), -1);
  EXPECT_EQ(b->SelectedLinkIndex(), 0);
  s.Bar->SetEachGroupHasSelectedLink(true);
  a->SetSelectedLinkIndex(1);
  EXPECT_EQ(a->SelectedLinkIndex(), 1);
  EXPECT_EQ(b->SelectedLinkIndex(), 0);
  b->SetSelectedLinkIndex(1);
  EXPECT_EQ(a->SelectedLinkIndex(), 1);
  s.Bar->SetEachGroupHasSelectedLink(false);
  EXPECT_EQ(a->SelectedLinkIndex(), -1);
  EXPECT_EQ(b->SelectedLinkIndex(), -1);
}

TEST(NavBarModel, DeletedItemLeavesEveryGroup) {
  TNavBarScene s;
  s.Bar->SetAllowSelectLinks(true);
  s.Bar->SetEachGroupHasSelectedLink(true);
  TdxNavBarItem* shared = s.AddItem("Shared");
  TdxNavBarItem* other = s.AddItem("Other");
  TdxNavBarGroup* a = s.AddGroup("A");
  TdxNavBarGroup* b = s.AddGroup("B");
  a->CreateLink(other);
  a->CreateLink(shared);
  a->CreateLink(shared);
  b->CreateLink(shared);
  a->SetSelectedLinkIndex(2);
  b->SetSelectedLinkIndex(0);
  s.Bar->Painter()->CheckViewInfo();
  delete shared;
  ASSERT_EQ(a->LinkCount(), 1);
  EXPECT_EQ(a->LinkAt(0)->Item(), other);
  EXPECT_EQ(b->LinkCount(), 0);
  EXPECT_EQ(a->SelectedLinkIndex(), -1);
  EXPECT_EQ(b->SelectedLinkIndex(), -1);
  EXPECT_EQ(s.Bar->Items()->Count(), 1);
  // The layout rebuilt from the model holds no entry of the freed item.
  TdxNavBarViewInfo* vi = s.Layout();
  for (int i = 0; i < vi->GroupCount(); ++i)
    for (int j = 0; j < vi->GroupAt(i)->LinkCount(); ++j) EXPECT_EQ(vi->GroupAt(i)->LinkAt(j)->Item(), other);
}

TEST(NavBarModel, ItemOfABarWithoutOwnerStillLeavesItsGroups) {
  // No form: items have no owner to relay the removal, the item itself tells the groups.
  auto bar = std::make_unique<TdxNavBar>(nullptr);
  TdxNavBarItem* item = bar->Items()->Add();
  TdxNavBarGroup* g = bar->Groups()->Add();
  g->CreateLink(item);
  delete item;
  EXPECT_EQ(g->LinkCount(), 0);
}

TEST(NavBarModel, LinkToAnotherBarsItemIsRefused) {
  TNavBarScene one, two;
  TdxNavBarGroup* g = one.AddGroup("G");
  g->SetName("GroupOne");
  TdxNavBarItem* foreign = two.AddItem("X");
  foreign->SetName("ItemTwo");
  try {
    g->CreateLink(foreign);
    FAIL() << "no error";
  } catch (const EdxException& e) {
    EXPECT_EQ(std::string(e.Message()),
              "You cannot create a link to the 'ItemTwo' item within the 'GroupOne' group because they belong to "
              "different NavBar controls");
  }
  EXPECT_EQ(g->LinkCount(), 0);
}

TEST(NavBarModel, ActiveGroupFollowsVisibility) {
  TNavBarScene s;
  TdxNavBarGroup* a = s.AddGroup("A");
  TdxNavBarGroup* b = s.AddGroup("B");
  TdxNavBarGroup* c = s.AddGroup("C");
  s.Bar->SetActiveGroup(b);
  b->SetVisible(false);
  EXPECT_EQ(s.Bar->ActiveGroup(), a) << "the first visible group takes over";
  a->SetVisible(false);
  c->SetVisible(false);
  EXPECT_EQ(s.Bar->ActiveGroup(), nullptr);
  EXPECT_EQ(s.Bar->ActiveGroupIndex(), -1);
  c->SetVisible(true);
  EXPECT_EQ(s.Bar->ActiveGroup(), c) << "a group shown while none is active becomes active";
  // A handler that refuses keeps the old group.
  a->SetVisible(true);
  s.Bar->OnActiveGroupChanging = [](TObject*, TdxNavBarGroup*, bool& Allow) { Allow = false; };
  s.Bar->SetActiveGroup(a);
  EXPECT_EQ(s.Bar->ActiveGroup(), c);
}

TEST(NavBarModel, FreeingTheActiveGroupLeavesNoDanglingGroup) {
  TNavBarScene s;
  s.AddGroup("A");
  TdxNavBarGroup* b = s.AddGroup("B");
  s.Bar->SetActiveGroup(b);
  // Even a handler that refuses every change cannot keep a freed group active.
  s.Bar->OnActiveGroupChanging = [](TObject*, TdxNavBarGroup*, bool& Allow) { Allow = false; };
  delete b;
  EXPECT_EQ(s.Bar->ActiveGroupIndex(), 0);
  s.Shot();
}

TEST(NavBarModel, SettingTheCurrentVisibilityChangesNothing) {
  TNavBarScene s;
  TdxNavBarGroup* g = s.AddGroupWithLinks("A", {"a1"});
  TdxNavBarItem* item = g->LinkAt(0)->Item();
  int changes = 0;
  auto previous = s.Bar->Items()->OnChange;
  s.Bar->Items()->OnChange = [&](TObject* S, TComponent* I, TcxComponentCollectionNotification N) {
    ++changes;
    previous(S, I, N);
  };
  item->SetVisible(true);
  g->SetVisible(true);
  EXPECT_EQ(changes, 0);
  item->SetVisible(false);
  EXPECT_EQ(changes, 1);
  s.Bar->Items()->OnChange = previous;
}

TEST(NavBarModel, ItemsFollowTheirActionUntilEditedAway) {
  TNavBarScene s;
  auto* list = new TActionList(s.Form.get());
  auto* action = new TAction(s.Form.get());
  action->SetActionList(list);
  action->SetCaption("Open...");
  action->SetHint("Open|Opens a sound file");
  action->SetImageIndex(3);
  int executed = 0;
  action->OnExecute = [&](TObject*) { ++executed; };
  TdxNavBarItem* follower = s.AddItem("");
  TdxNavBarItem* edited = s.AddItem("");
  follower->SetAction(action);
  edited->SetAction(action);
  EXPECT_EQ(follower->Caption(), "Open...");
  EXPECT_EQ(follower->SmallImageIndex(), 3);
  EXPECT_EQ(follower->LargeImageIndex(), 3);
  edited->SetCaption("My own caption");
  action->SetCaption("Open file...");
  action->SetEnabled(false);
  action->SetVisible(false);
  EXPECT_EQ(follower->Caption(), "Open file...");
  EXPECT_EQ(edited->Caption(), "My own caption");
  EXPECT_FALSE(follower->Enabled());
  EXPECT_FALSE(edited->Enabled()) << "only the caption was edited";
  EXPECT_FALSE(follower->Visible());
  // A click on a link of an item runs the action.
  action->SetEnabled(true);
  action->SetVisible(true);
  TdxNavBarGroup* g = s.AddGroup("G");
  TdxNavBarItemLink* link = g->CreateLink(follower);
  s.Bar->Controller()->DoLinkClick(s.Bar, link);
  EXPECT_EQ(executed, 1);
  // The action freed: the items keep their values and lose the link.
  delete action;
  EXPECT_EQ(follower->Action(), nullptr);
  EXPECT_EQ(follower->Caption(), "Open file...");
}

TEST(NavBarModel, UnknownViewFallsBackToTheHighestRegistered) {
  TNavBarScene s;
  TdxNavBarViewsFactory* f = ViewsFactory();
  ASSERT_NE(f, nullptr);
  ASSERT_GE(f->Count(), 2);
  int highest = f->IdAt(f->Count() - 1);
  for (int id : {14, 15, 1000}) {
    s.Bar->SetView(0);
    s.Bar->SetView(id);
    EXPECT_EQ(s.Bar->View(), highest) << id;
    EXPECT_EQ(typeid(*s.Bar->Painter()), f->PainterClassAt(f->Count() - 1)->Info->Type) << id;
  }
  s.Bar->SetView(1);
  EXPECT_EQ(s.Bar->View(), 1);
  EXPECT_EQ(typeid(*s.Bar->Painter()), typeid(TdxNavBarFlatPainter));
}

TEST(NavBarModel, RegistryKeepsIdsSortedAndRefusesDuplicates) {
  TdxNavBarViewsFactory f;
  TdxNavBarPainterClass cls = ViewsFactory()->PainterClassAt(0);
  f.RegisterView(5, "Five", cls);
  f.RegisterView(2, "Two", cls);
  f.RegisterView(9, "Nine", cls);
  EXPECT_EQ((std::vector<int>{f.IdAt(0), f.IdAt(1), f.IdAt(2)}), (std::vector<int>{2, 5, 9}));
  EXPECT_EQ(f.IdAt(3), -1);
  EXPECT_EQ(f.PainterClassAt(-1), nullptr);
  try {
    f.RegisterView(5, "Again", cls);
    FAIL() << "no error";
  } catch (const Exception& e) {
    EXPECT_EQ(std::string(e.Message()), "ID of view = 5 is already exists.");
  }
  EXPECT_EQ(f.Count(), 3);
  EXPECT_EQ(f.NameAt(f.IndexOfId(5)), "Five");
  f.UnregisterView(5);
  EXPECT_FALSE(f.HasView(5));
  EXPECT_EQ(f.Count(), 2);
}

TEST(NavBarModel, TextsAreRegisteredForALocalizer) {
  // Other tests of this program may have restarted the repository: register afresh.
  dxNavBarConstsFinalize();
  dxNavBarConstsInitialize();
  TdxResourceStringsRepository* r = GetResourceStringsRepository();
  int i = r->IndexOfProduct(dxNavBarProductName);
  ASSERT_GE(i, 0);
  TdxProductResourceStrings* p = r->Products(i);
  EXPECT_EQ(p->ResStringCount(), 20);
  EXPECT_GE(p->Names()->IndexOf("sdxInvalideGroupControl"), 0);
  EXPECT_EQ(LoadLocalizableResString(&sdxNavBarOffice11ShowMoreButtons), "Show &More Buttons");
  EXPECT_EQ(sdxNavBarCollapseAll.Identifier, 64953);
}
