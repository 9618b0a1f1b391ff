// The customization holder: one form at a time from the last registered form class, and the editing operations the concrete form uses.
#include <gtest/gtest.h>

#include <memory>

#include "suite/navbar/NavBarTestSupport.h"
#include "suite/navbar/dxNavBarCustomization.h"

using namespace navbar_test;

namespace {
int gLists = 0;
class TTestForm : public TdxNavBarCustomCustomizationForm {
 public:
  TTestForm() : TdxNavBarCustomCustomizationForm(nullptr) {}
  void RefreshLists() override { ++gLists; }
};
const TdxNavBarCustomizationFormClass kTestFormClass = [] { return new TTestForm; };
}  // namespace

TEST(NavBarCustomization, OneFormAtATime) {
  TNavBarScene s;
  TdxNavBarCustomization* c = s.Bar->Customization();
  c->SetVisible(true);
  EXPECT_EQ(c->Form(), nullptr) << "no form class registered: nothing to show";
  dxNavBarRegisterCustomizationFormClass(&kTestFormClass);
  c->SetVisible(true);
  TdxNavBarCustomCustomizationForm* form = c->Form();
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(form->NavBar(), s.Bar);
  c->SetVisible(true);
  EXPECT_EQ(c->Form(), form) << "opening again keeps the one form";
  // Model changes refresh its lists unless it holds them.
  int lists = gLists;
  s.AddGroup("G");
  EXPECT_GT(gLists, lists);
  form->BeginUpdate();
  lists = gLists;
  s.AddGroup("H");
  EXPECT_EQ(gLists, lists);
  form->EndUpdate();
  EXPECT_EQ(gLists, lists + 1);
  c->SetVisible(false);
  EXPECT_EQ(c->Form(), nullptr);
  c->SetVisible(true);
  EXPECT_NE(c->Form(), nullptr) << "a new form after the old one was freed";
  c->SetVisible(false);
  dxNavBarUnregisterCustomizationFormClass(&kTestFormClass);
}

TEST(NavBarCustomization, MovingALinkToAnotherGroupLeavesOneLinkThere) {
  TNavBarScene s;
  TdxNavBarGroup* a = s.AddGroupWithLinks("A", {"a1", "a2"});
  TdxNavBarGroup* b = s.AddGroupWithLinks("B", {"b1"});
  TTestForm form;
  TdxNavBarItem* moved = a->LinkAt(0)->Item();
  form.MoveLink(a->LinkAt(0), b, 0);
  ASSERT_EQ(b->LinkCount(), 2);
  EXPECT_EQ(b->LinkAt(0)->Item(), moved);
  ASSERT_EQ(a->LinkCount(), 1);
  EXPECT_NE(a->LinkAt(0)->Item(), moved);
  form.MoveLink(b->LinkAt(0), b, 5);
  EXPECT_EQ(b->LinkAt(1)->Item(), moved) << "inside its group, clamped to the end";
  form.AddItemToGroup(moved, a, 0);
  EXPECT_EQ(a->LinkAt(0)->Item(), moved);
  form.RemoveLink(a->LinkAt(0));
  EXPECT_EQ(a->LinkCount(), 1);
}
