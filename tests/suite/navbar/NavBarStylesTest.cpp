// Styles of the navigation bar: change tracking, which style an element takes in each state,
// slots emptied when a style item goes, and the view's default styles.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "suite/navbar/NavBarTestSupport.h"

using namespace navbar_test;

TEST(NavBarStyles, UnchangedValueMarksNothing) {
  TdxNavBarStyle style(nullptr);
  int changes = 0;
  style.OnChange = [&](TObject*, int) { ++changes; };
  style.SetBackColor(style.BackColor());
  style.SetHAlignment(style.HAlignment());
  EXPECT_EQ(changes, 0);
  EXPECT_TRUE(style.AssignedValues() == TdxBarStyleAssignedValues());
  style.SetBackColor(0x123456);
  style.Font()->SetName("DejaVu Serif");
  EXPECT_EQ(changes, 2);
  EXPECT_TRUE(style.IsValueAssigned(savBackColor));
  EXPECT_TRUE(style.IsValueAssigned(savFont));
  EXPECT_FALSE(style.IsValueAssigned(savBackColor2));
  // ResetValues writes silently and forgets what was assigned.
  style.ResetValues();
  EXPECT_EQ(changes, 2);
  EXPECT_EQ(style.BackColor(), 0xFFFFFF);
  EXPECT_TRUE(style.AssignedValues() == TdxBarStyleAssignedValues());
}

namespace {
// Default styles told apart by their font colours.
void TagDefaultStyles(TdxCustomNavBar* Bar) {
  for (int i = 0; i < TdxNavBarDefaultStyles::StyleCount; ++i) Bar->DefaultStyles()->StyleAt(i)->Font()->SetColor(i);
}
}  // namespace

TEST(NavBarStyles, LinkStateChoosesTheStyle) {
  TNavBarScene s;
  TdxNavBarGroup* g = s.AddGroupWithLinks("G", {"a"});
  TdxNavBarItemLink* link = g->LinkAt(0);
  TdxNavBarItem* item = link->Item();
  s.Bar->SetAllowSelectLinks(true);
  TagDefaultStyles(s.Bar);
  // The item's own plain style assigns a font colour; its hot style assigns only a back colour.
  TdxNavBarStyleItem* own = s.Bar->OptionsStyle()->CustomStyleRepository()->Add();
  own->Style()->Font()->SetColor(0x0000AA);
  TdxNavBarStyleItem* hot = s.Bar->OptionsStyle()->CustomStyleRepository()->Add();
  hot->Style()->SetBackColor(0x00AA00);
  item->SetStyle(own);
  item->SetStyleHotTracked(hot);
  struct Case {
    const char* Name;
    bool Enabled, Hot, Pressed, Selected;
    TColor Font;
  };
  const Case cases[] = {
      {"plain: own font", true, false, false, false, 0x0000AA},
      {"hot: own hot style lacks a font, the default hot one gives it", true, true, false, false, nbsItemHotTracked},
      {"pressed and hot: default pressed", true, true, true, false, nbsItemPressed},
      {"pressed without hot is not pressed", true, false, true, false, 0x0000AA},
      {"selected: own plain style still wins the font", true, false, false, true, 0x0000AA},
      {"disabled beats hot", false, true, false, false, nbsItemDisabled},
  };
  for (const Case& c : cases) {
    item->SetEnabled(c.Enabled);
    g->SetSelectedLinkIndex(c.Selected ? 0 : -1);
    s.Bar->DoLinkHotTrack(c.Hot ? link : nullptr);
    if (c.Pressed) s.Bar->DoLinkMouseDown(link);
    TdxNavBarLinkViewInfo* l = s.Layout()->FindLinkViewInfo(link);
    ASSERT_NE(l, nullptr) << c.Name;
    EXPECT_EQ(l->GetFontColor(), c.Font) << c.Name;
    if (c.Pressed) s.Bar->DoLinkMouseUp(link);
  }
  // Selected and not hot: the default pressed style stands behind the item's own plain style.
  item->SetStyle(nullptr);
  item->SetEnabled(true);
  s.Bar->DoLinkHotTrack(nullptr);
  g->SetSelectedLinkIndex(0);
  EXPECT_EQ(s.Layout()->FindLinkViewInfo(link)->GetFontColor(), nbsItemPressed);
}

TEST(NavBarStyles, GroupCaptionStateChoosesTheStyle) {
  TNavBarScene s;
  TdxNavBarGroup* active = s.AddGroup("Active");
  TdxNavBarGroup* other = s.AddGroup("Other");
  s.Bar->SetActiveGroup(active);
  TagDefaultStyles(s.Bar);
  struct Case {
    TdxNavBarGroup* Group;
    bool Hot, Pressed;
    int Style;
  };
  for (const Case& c : {Case{active, false, false, nbsGroupHeaderActive},
                        Case{active, true, false, nbsGroupHeaderActiveHotTracked},
                        Case{active, true, true, nbsGroupHeaderActivePressed},
                        Case{other, false, false, nbsGroupHeader}, Case{other, true, false, nbsGroupHeaderHotTracked},
                        Case{other, true, true, nbsGroupHeaderPressed}}) {
    s.Bar->DoGroupHotTrack(c.Hot ? c.Group : nullptr);
    if (c.Pressed) s.Bar->DoGroupMouseDown(c.Group);
    TdxNavBarGroupViewInfo* g = s.Layout()->FindGroupViewInfo(c.Group);
    EXPECT_EQ(g->GetCaptionFontColor(), c.Style) << c.Group->Caption() << c.Hot << c.Pressed;
    EXPECT_EQ(g->GetCaptionDefaultStyle(), s.Bar->DefaultStyles()->StyleAt(c.Style));
  }
}

TEST(NavBarStyles, GroupControlAreaFallsBackToGroupBackground) {
  TNavBarScene s;
  TdxNavBarGroup* g = s.AddGroup("G");
  TdxNavBarDefaultStyles* d = s.Bar->DefaultStyles();
  d->GroupBackground()->SetBackColor(0x010203);
  d->GroupControl()->SetBackColor(0x0A0B0C);
  d->GroupControl()->SetBackColor2(clNone);
  TdxNavBarGroupViewInfo* e = s.Layout()->FindGroupViewInfo(g);
  EXPECT_EQ(e->GetControlBackColor(), 0x010203);
  d->GroupControl()->SetBackColor2(0x0A0B0C);
  e = s.Layout()->FindGroupViewInfo(g);
  EXPECT_EQ(e->GetControlBackColor(), 0x0A0B0C);
  EXPECT_EQ(e->GetBorderColor(), e->GetCaptionBackColor2());
}

TEST(NavBarStyles, FreedStyleItemEmptiesEverySlot) {
  TNavBarScene s;
  TdxNavBarGroup* g = s.AddGroupWithLinks("G", {"a"});
  TdxNavBarItem* item = g->LinkAt(0)->Item();
  TdxNavBarStyleItem* style = s.Bar->OptionsStyle()->CustomStyleRepository()->Add();
  s.Bar->OptionsStyle()->CustomStyles()->SetStyleAt(0, style);
  g->SetStyleHeader(style);
  item->SetStyleHotTracked(style);
  int barChanges = 0, groupChanges = 0, itemChanges = 0;
  s.Bar->OptionsStyle()->CustomStyles()->OnChange = [&](TObject*, int) { ++barChanges; };
  g->CustomStyles()->OnChange = [&](TObject*, int) { ++groupChanges; };
  item->CustomStyles()->OnChange = [&](TObject*, int) { ++itemChanges; };
  style->Style()->SetBackColor(0x112233);
  EXPECT_EQ(barChanges + groupChanges + itemChanges, 3) << "each set hears a change of its item";
  delete style;
  EXPECT_EQ(s.Bar->StyleBackground(), nullptr);
  EXPECT_EQ(g->StyleHeader(), nullptr);
  EXPECT_EQ(item->StyleHotTracked(), nullptr);
  EXPECT_EQ(barChanges, 2);
  EXPECT_EQ(groupChanges, 2);
  EXPECT_EQ(itemChanges, 2);
  s.Shot();
}

TEST(NavBarStyles, EightSlotSetTakesFourFromAFourSlotSet) {
  TNavBarScene s;
  TdxNavBarStyleRepository* repo = s.Bar->OptionsStyle()->CustomStyleRepository();
  TdxNavBarItemCustomStyles four(nullptr);
  TdxNavBarGroupCustomStyles eight(nullptr);
  for (int i = 0; i < 4; ++i) four.SetStyleAt(i, repo->Add());
  for (int i = 0; i < 8; ++i) eight.SetStyleAt(i, repo->Add());
  eight.Assign(&four);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(eight.StyleAt(i), four.StyleAt(i));
  for (int i = 4; i < 8; ++i) EXPECT_EQ(eight.StyleAt(i), nullptr);
}

TEST(NavBarStyles, DefaultStylesComeFromTheViewAndAViewChangeResetsThem) {
  TNavBarScene s;
  TdxNavBarDefaultStyles* d = s.Bar->DefaultStyles();
  EXPECT_EQ(d->Background()->BackColor(), clAppWorkSpace);
  EXPECT_EQ(d->GroupHeader()->HAlignment(), TdxBarStyleHAlignment::haCenter);
  EXPECT_EQ(d->ItemDisabled()->Font()->Color(), clBtnText);
  EXPECT_EQ(d->DropTargetGroup()->AlphaBlending(), 60);
  EXPECT_EQ(d->GroupHeaderActiveHotTracked()->BackColor(), clBtnFace) << "a copy of the header";
  for (int i = 0; i < d->Count(); ++i) EXPECT_FALSE(d->IsStoredAt(i)) << i;
  // A font change by the program makes the style stored; resetting only untouched styles (what
  // loading does) keeps it, a view change does not.
  d->Item()->Font()->SetName("DejaVu Serif");
  EXPECT_TRUE(d->IsStoredAt(nbsItem));
  d->ResetStyles(true);
  EXPECT_EQ(d->Item()->Font()->Name(), "DejaVu Serif");
  s.Bar->SetView(1);
  EXPECT_NE(d->Item()->Font()->Name(), "DejaVu Serif");
  EXPECT_FALSE(d->IsStoredAt(nbsItem));
}
