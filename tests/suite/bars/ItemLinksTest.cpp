#include <gtest/gtest.h>

#include "BarTestSupport.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBar.h"
#include "suite/core/VisualStyleState.h"

namespace {

struct TLinksFixture : TBarFixture {
  TdxBarSubItem* Menu = nullptr;

  void SetUp() override { Menu = NewItem<TdxBarSubItem>("&File"); }
  TdxBarItemLink* Add(TdxBarItemLinks* Links, TdxBarItem* Item) {
    return Links->AddLinkForItem(Item);
  }
  std::vector<std::string> Shown(TdxBarItemLinks* Links) {
    std::vector<std::string> r;
    for (TdxBarItemLink* l : Links->ShownLinks())
      r.push_back(dynamic_cast<TdxBarSeparator*>(l->Item()) ? "-" : l->Item()->Caption());
    return r;
  }
};

}  // namespace

// ---- list building and group starts

TEST_F(TLinksFixture, SeparatorsOnlyShowWhereTheySeparate) {
  TdxBarItemLinks* links = Menu->ItemLinks();
  Add(links, NewItem<TdxBarSeparator>());
  Add(links, NewItem<TdxBarButton>("a"));
  Add(links, NewItem<TdxBarSeparator>());
  Add(links, NewItem<TdxBarSeparator>());
  Add(links, NewItem<TdxBarSeparator>());
  Add(links, NewItem<TdxBarButton>("b"));
  Add(links, NewItem<TdxBarSeparator>());
  EXPECT_EQ(Shown(links), (std::vector<std::string>{"-", "a", "-", "b"}));
  Manager->SetCustomizing(true);
  links->RebuildLinkLists();
  EXPECT_EQ(links->ShownLinkCount(), 7);
  Manager->SetCustomizing(false);
  links->RebuildLinkLists();
  EXPECT_EQ(links->ShownLinkCount(), 4);
}

TEST_F(TLinksFixture, GroupStartsFollowShownSeparatorsAndPassOverHiddenLinks) {
  TdxBarItemLinks* links = Menu->ItemLinks();
  TdxBarItemLink* a = Add(links, NewItem<TdxBarButton>("a"));
  Add(links, NewItem<TdxBarSeparator>());
  TdxBarItemLink* b = Add(links, NewItem<TdxBarButton>("b"));
  TdxBarItemLink* hidden = Add(links, NewItem<TdxBarButton>("hidden"));
  TdxBarItemLink* c = Add(links, NewItem<TdxBarButton>("c"));
  a->SetBeginGroup(true);  // the first shown link never starts a group
  b->SetBeginGroup(true);  // follows a shown separator
  hidden->SetBeginGroup(true);
  hidden->SetVisible(false);
  EXPECT_FALSE(a->BeginGroup());
  EXPECT_FALSE(b->BeginGroup());
  EXPECT_TRUE(hidden->BeginGroup());
  EXPECT_TRUE(c->BeginGroup());  // inherits the hidden link's group start
  hidden->SetVisible(true);
  EXPECT_FALSE(c->BeginGroup());
}

TEST_F(TLinksFixture, UserValuesMarkOnlyRealChanges) {
  TdxBarItemLink* l = Add(Menu->ItemLinks(), NewItem<TdxBarButton>("a"));
  l->SetUserWidth(0);
  EXPECT_FALSE(l->UserDefine().Contains(udWidth));
  l->SetUserCaption("Other");
  EXPECT_TRUE(l->UserDefine().Contains(udCaption));
  EXPECT_EQ(l->EffectiveCaption(), "Other");
  l->SetUserDefine({});
  EXPECT_EQ(l->UserCaption(), "");
  EXPECT_EQ(l->EffectiveCaption(), "a");
}

TEST_F(TLinksFixture, RecursiveMenusAreRefusedWithTheirText) {
  auto* inner = NewItem<TdxBarSubItem>("inner");
  Add(Menu->ItemLinks(), inner);
  try {
    Add(inner->ItemLinks(), Menu);
    FAIL();
  } catch (const EdxException& e) {
    EXPECT_STREQ(e.what(), "You cannot create recursive menus");
  }
  EXPECT_EQ(inner->ItemLinks()->Count(), 0);
  EXPECT_THROW(Add(Menu->ItemLinks(), Menu), EdxException);

  auto* popup = new TdxBarPopupMenu(Form.get());
  auto* button = NewItem<TdxBarButton>("drop");
  button->SetDropDownMenu(popup);
  Add(Menu->ItemLinks(), button);
  auto* other = new TdxBarPopupMenu(Form.get());
  Add(other->ItemLinks(), Menu);
  EXPECT_THROW(button->SetDropDownMenu(other), EdxException);
  EXPECT_EQ(button->DropDownMenu(), popup);
}

TEST_F(TLinksFixture, ASeparatorGoesIntoMenusButNotOnToolbars) {
  TdxBar* bar = Manager->Bars()->Add();
  try {
    Add(bar->ItemLinks(), NewItem<TdxBarSeparator>());
    FAIL();
  } catch (const EdxException& e) {
    EXPECT_STREQ(e.what(), "A separator item cannot be placed on the specified toolbar");
  }
  EXPECT_EQ(bar->ItemLinks()->Count(), 0);
  EXPECT_NO_THROW(Add(Menu->ItemLinks(), NewItem<TdxBarSeparator>()));
}

// ---- recent use

TEST_F(TLinksFixture, RecentUseHidesNeverUsedLinksAndShowsAllWhenEqual) {
  TVisualStylesAbsent styles;
  Manager->SetStyle(bmsEnhanced);
  TdxBarItemLinks* links = Menu->ItemLinks();
  std::vector<TdxBarItemLink*> l;
  for (const char* c : {"a", "b", "c", "d"}) l.push_back(Add(links, NewItem<TdxBarButton>(c)));
  for (TdxBarItemLink* x : l) EXPECT_EQ(x->UseCount(), 20);
  EXPECT_EQ(links->CalcRecentItemCount(), -1);

  l[1]->SetMostRecentlyUsed(false);
  l[3]->SetMostRecentlyUsed(false);
  EXPECT_EQ(l[1]->UseCount(), 0);
  // max 20, min 0: c = MulDiv(20, 5, 100) = 1, so the two never-used links fall away.
  EXPECT_EQ(links->CalcRecentItemCount(), 2);
  links->SetRecentItemCount(links->CalcRecentItemCount());
  EXPECT_EQ(Shown(links), (std::vector<std::string>{"a", "c"}));
  links->SetRecentItemCount(-1);
  EXPECT_EQ(links->ShownLinkCount(), 4);

  // Using a link brings it to the front of the recent list.
  l[3]->PromoteInRecentList(true);
  EXPECT_EQ(l[3]->RecentIndex(), 0);
  EXPECT_EQ(l[3]->UseCount(), 1);

  // XP drawn by the Enhanced painter (visual styles absent) still collapses its menus.
  Manager->SetStyle(bmsXP);
  ASSERT_EQ(Manager->PainterStyle(), bmsEnhanced);
  EXPECT_EQ(links->CalcRecentItemCount(), 3);
  Manager->SetStyle(bmsStandard);
  EXPECT_EQ(links->CalcRecentItemCount(), -1);
}

TEST_F(TLinksFixture, RecentCountIsTakenOverThePackedList) {
  Manager->SetStyle(bmsEnhanced);
  TdxBarItemLinks* links = Menu->ItemLinks();
  TdxBarItemLink* a = Add(links, NewItem<TdxBarButton>("a"));
  TdxBarItemLink* b = Add(links, NewItem<TdxBarButton>("b"));
  TdxBarItemLink* c = Add(links, NewItem<TdxBarButton>("c"));
  c->SetMostRecentlyUsed(false);
  // A hidden link at the front of the recent list must not push the used ones out of reach.
  b->SetVisible(false);
  b->MoveInRecentList(0);
  EXPECT_EQ(links->CalcRecentItemCount(), 1);
  (void)a;
}

// ---- merging

TEST_F(TLinksFixture, MergeOrderPlacesAddedLinksAndUnmergeTakesExactlyThemAway) {
  TdxBar* dest = Manager->Bars()->Add();
  TdxBar* source = Manager->Bars()->Add();
  for (int order : {0, 10, 20}) {
    auto* b = NewItem<TdxBarSubItem>("m" + std::to_string(order));
    b->SetMergeOrder(order);
    Add(dest->ItemLinks(), b);
  }
  auto* fifteen = NewItem<TdxBarSubItem>("m15");
  fifteen->SetMergeOrder(15);
  auto* none = NewItem<TdxBarSubItem>("none");
  none->SetMergeKind(mkNone);
  auto* negative = NewItem<TdxBarSubItem>("neg");
  negative->SetMergeOrder(-1);
  EXPECT_EQ(negative->MergeOrder(), 0);
  Add(source->ItemLinks(), fifteen);
  Add(source->ItemLinks(), none);

  // A menu of the same caption merges its contents instead of adding a second menu.
  auto* destFile = NewItem<TdxBarSubItem>("&File");
  destFile->SetMergeKind(mkMergeByCaption);
  destFile->SetMergeOrder(30);
  Add(dest->ItemLinks(), destFile);
  Add(destFile->ItemLinks(), NewItem<TdxBarButton>("Open"));
  auto* srcFile = NewItem<TdxBarSubItem>("&File");
  srcFile->SetMergeKind(mkMergeByCaption);
  Add(source->ItemLinks(), srcFile);
  Add(srcFile->ItemLinks(), NewItem<TdxBarButton>("Close"));

  dest->Merge(source);
  EXPECT_EQ(Shown(dest->ItemLinks()),
            (std::vector<std::string>{"m0", "m10", "m15", "m20", "&File"}));
  EXPECT_EQ(Shown(destFile->ItemLinks()), (std::vector<std::string>{"Open", "Close"}));

  dest->Unmerge(source);
  EXPECT_EQ(Shown(dest->ItemLinks()), (std::vector<std::string>{"m0", "m10", "m20", "&File"}));
  EXPECT_EQ(Shown(destFile->ItemLinks()), (std::vector<std::string>{"Open"}));
  EXPECT_THROW(dest->Unmerge(source), EdxException);
}

TEST_F(TLinksFixture, MergeEventMayMoveOrDropALink) {
  TdxBar* dest = Manager->Bars()->Add();
  TdxBar* source = Manager->Bars()->Add();
  Add(dest->ItemLinks(), NewItem<TdxBarSubItem>("x"));
  Add(source->ItemLinks(), NewItem<TdxBarSubItem>("y"));
  Add(source->ItemLinks(), NewItem<TdxBarSubItem>("z"));
  struct TH : TObject {
    void Merge(TObject*, TdxBarItemLinks*, TdxBarItemLinks*, TdxBarItemLink* L,
               TdxBarItemMergeKind&, int& Index) {
      Index = L->Item()->Caption() == "y" ? 0 : -1;
    }
  } h;
  Manager->OnMergeItemLink = TdxBarMergeItemLinkEvent::Bind(&h, &TH::Merge);
  dest->Merge(source);
  EXPECT_EQ(Shown(dest->ItemLinks()), (std::vector<std::string>{"y", "x"}));
}

// ---- accelerators and shortcuts

TEST_F(TLinksFixture, AcceleratorsMatchLettersAndDigitsButNeverWithCtrl) {
  TdxBarItemLinks* links = Menu->ItemLinks();
  TdxBarItemLink* open = Add(links, NewItem<TdxBarButton>("&Open"));
  TdxBarItemLink* two = Add(links, NewItem<TdxBarButton>("&2 Second"));
  Add(links, NewItem<TdxBarButton>("No accelerator"));
  struct Row {
    WORD Key;
    TShiftState Shift;
    TdxBarItemLink* Expected;
  };
  const Row rows[] = {
      {'O', {}, open},
      {'O', {ssAlt}, open},
      {'O', {ssCtrl}, nullptr},
      {'O', {ssShift}, open},  // letters compare by key whatever the shift
      {'2', {}, two},
      {'2', {ssAlt}, two},     // Alt is ignored
      {'2', {ssShift}, nullptr},
      {'2', {ssCtrl}, nullptr},
      {'N', {}, nullptr},
  };
  for (const Row& r : rows)
    EXPECT_EQ(links->FindAccelLink(r.Key, r.Shift, nullptr), r.Expected) << char(r.Key);
  open->Item()->SetEnabled(false);
  EXPECT_EQ(links->FindAccelLink('O', {}, nullptr), nullptr);
}

TEST_F(TLinksFixture, AToolbarButtonShowingOnlyItsGlyphIgnoresItsAccelerator) {
  TdxBar* bar = Manager->Bars()->Add();
  auto* button = NewItem<TdxBarButton>("&Play");
  TdxBarItemLink* onBar = Add(bar->ItemLinks(), button);
  TdxBarItemLink* inMenu = Add(Menu->ItemLinks(), button);
  EXPECT_FALSE(button->IsEnabledFor(onBar));
  EXPECT_TRUE(button->IsEnabledFor(inMenu));
  button->SetPaintStyle(psCaptionGlyph);
  EXPECT_TRUE(button->IsEnabledFor(onBar));
}

TEST_F(TLinksFixture, ShortcutsReachItemsInsideMenus) {
  TdxBar* bar = Manager->Bars()->Add();
  Add(bar->ItemLinks(), Menu);
  auto* save = NewItem<TdxBarButton>("&Save");
  save->SetShortCut(ShortCut('S', {ssCtrl}));
  Add(Menu->ItemLinks(), save);
  int clicks = 0;
  struct TH : TObject {
    int* N;
    void Click(TObject*) { ++*N; }
  } h;
  h.N = &clicks;
  save->OnClick = TNotifyEvent::Bind(&h, &TH::Click);
  EXPECT_TRUE(bar->ItemLinks()->ExecuteShortCut(ShortCut('S', {ssCtrl})));
  EXPECT_EQ(clicks, 1);
  EXPECT_FALSE(bar->ItemLinks()->ExecuteShortCut(ShortCut('S', {})));
  EXPECT_FALSE(bar->ItemLinks()->ExecuteShortCut(0));
  save->SetEnabled(false);
  EXPECT_FALSE(bar->ItemLinks()->ExecuteShortCut(ShortCut('S', {ssCtrl})));
  EXPECT_EQ(clicks, 1);
}
