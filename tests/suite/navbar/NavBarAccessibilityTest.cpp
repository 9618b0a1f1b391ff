// Keyboard focus on the navigation bar's elements through their accessibility objects: the
// first object, arrow keys across groups and into links scrolled out of view, keys on a focused
// caption, what cannot be focused, and objects outliving nothing they refer to.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "suite/navbar/NavBarTestSupport.h"
#include "suite/navbar/dxNavBarAccessibility.h"
#include "suite/navbar/dxNavBarExplorerViews.h"

using namespace navbar_test;

namespace {

// An explorer bar that takes the keyboard focus, with three groups of three links.
struct TKeyboardScene : TNavBarScene {
  std::vector<TdxNavBarGroup*> Groups;
  explicit TKeyboardScene(int Height = 300, int View = dxNavBarExplorerBarView) : TNavBarScene(160, Height) {
    Bar->SetView(View);
    for (const char* g : {"Files", "Edit", "Tools"}) {
      std::string c = g;
      Groups.push_back(AddGroupWithLinks(c, {c + " 1", c + " 2", c + " 3"}));
    }
    Bar->Groups()->SetLastExpandedGroup(nullptr);
    Bar->SetTabStop(true);
    Bar->SetFocus();
    Application->ProcessMessages();
  }
  void Press(int QtKey) { suitetest::Key(Bar, QtKey); }
  TObject* FocusedOwner() {
    TdxNavBarCustomAccessibilityHelper* f = Bar->FocusedAccessibleObject();
    return f ? f->OwnerObject() : nullptr;
  }
  TdxNavBarAccessibleKind FocusedKind() { return Bar->FocusedAccessibleObject()->Kind(); }
};

}  // namespace

TEST(NavBarAccessibility, FocusStartsOnTheTopmostCaptionAndArrowsWalkTheTree) {
  TKeyboardScene s;
  ASSERT_TRUE(s.Bar->Focused());
  ASSERT_NE(s.Bar->FocusedAccessibleObject(), nullptr) << "the bar's first object takes the focus";
  EXPECT_EQ(s.FocusedOwner(), s.Groups[0]);
  EXPECT_EQ(s.FocusedKind(), TdxNavBarAccessibleKind::CaptionPanel);
  // Down walks the links of the first group, then the next caption; up comes back.
  struct Step {
    int Key;
    TObject* Owner;
  };
  const Step steps[] = {
      {Qt::Key_Down, s.Groups[0]->LinkAt(0)}, {Qt::Key_Down, s.Groups[0]->LinkAt(1)},
      {Qt::Key_Down, s.Groups[0]->LinkAt(2)}, {Qt::Key_Down, s.Groups[1]},
      {Qt::Key_Up, s.Groups[0]->LinkAt(2)},   {Qt::Key_Left, s.Groups[0]->LinkAt(2)},
  };
  for (const Step& step : steps) {
    s.Press(step.Key);
    EXPECT_EQ(s.FocusedOwner(), step.Owner) << step.Key;
  }
  // The focused link is drawn with its focus frame.
  TdxNavBarLinkViewInfo* l = s.Layout()->FindLinkViewInfo(s.Groups[0]->LinkAt(2));
  EXPECT_TRUE(l->GetState() & sFocused);
  EXPECT_FALSE(l->FocusRect.IsEmpty());
}

TEST(NavBarAccessibility, ArrowsReachALinkScrolledOutOfView) {
  // 150 pixels show the first group only; the rest is below the scroll bar's page.
  TKeyboardScene s(150);
  TdxNavBarViewInfo* vi = s.Layout();
  ASSERT_TRUE(s.Bar->ScrollBar()->Visible());
  TdxNavBarItemLink* last = s.Groups[2]->LinkAt(2);
  ASSERT_GT(vi->FindLinkViewInfo(last)->Rect.Top, vi->ClientHeight()) << "starts below the client area";
  for (int i = 0; i < 11 && s.FocusedOwner() != last; ++i) s.Press(Qt::Key_Down);
  ASSERT_EQ(s.FocusedOwner(), last);
  vi = s.Layout();
  TdxNavBarLinkViewInfo* l = vi->FindLinkViewInfo(last);
  EXPECT_GT(s.Bar->ScrollPosition(), 0);
  EXPECT_LE(l->Rect.Bottom, vi->ClientHeight()) << "scrolled into view";
  EXPECT_GE(l->Rect.Top, 0);
  // Back up to the first group: its links are scrolled out above now, yet up reaches each.
  TdxNavBarItemLink* first = s.Groups[0]->LinkAt(2);
  for (int i = 0; i < 8 && s.FocusedOwner() != first; ++i) s.Press(Qt::Key_Up);
  ASSERT_EQ(s.FocusedOwner(), first);
  vi = s.Layout();
  EXPECT_GE(vi->FindLinkViewInfo(first)->Rect.Top, 0);
}

TEST(NavBarAccessibility, KeysOnAFocusedCaptionExpandCollapseAndToggle) {
  TKeyboardScene s;
  TdxNavBarGroup* g = s.Groups[0];
  ASSERT_EQ(s.FocusedOwner(), g);
  struct Case {
    int Key;
    bool Expanded;
  };
  for (const Case& c : {Case{Qt::Key_Minus, false}, Case{Qt::Key_Minus, false}, Case{Qt::Key_Plus, true},
                        Case{Qt::Key_Space, false}, Case{Qt::Key_Space, true}}) {
    QWidget* w = GetWindowWidget(s.Bar->Handle());
    Qt::KeyboardModifiers pad = (c.Key == Qt::Key_Space) ? Qt::NoModifier : Qt::KeypadModifier;
    QKeyEvent down(QEvent::KeyPress, c.Key, pad), up(QEvent::KeyRelease, c.Key, pad);
    QCoreApplication::sendEvent(w, &down);
    QCoreApplication::sendEvent(w, &up);
    Application->ProcessMessages();
    EXPECT_EQ(g->Expanded(), c.Expanded) << c.Key;
  }
  // Enter on a link clicks it.
  int clicks = 0;
  s.Bar->OnLinkClick = [&](TObject*, TdxNavBarItemLink*) { ++clicks; };
  s.Press(Qt::Key_Down);
  ASSERT_EQ(s.FocusedOwner(), g->LinkAt(0));
  s.Press(Qt::Key_Return);
  EXPECT_EQ(clicks, 1);
  s.Press(Qt::Key_Space);
  EXPECT_EQ(clicks, 2);
}

TEST(NavBarAccessibility, DisabledLinksAndHiddenGroupsAreSkipped) {
  TKeyboardScene s;
  s.Groups[0]->LinkAt(1)->Item()->SetEnabled(false);
  s.Groups[1]->SetVisible(false);
  s.Press(Qt::Key_Down);
  s.Press(Qt::Key_Down);
  EXPECT_EQ(s.FocusedOwner(), s.Groups[0]->LinkAt(2)) << "over the disabled link";
  s.Press(Qt::Key_Down);
  EXPECT_EQ(s.FocusedOwner(), s.Groups[2]) << "over the hidden group";
  // Hiding the focused link's item passes the focus to its group's caption.
  s.Press(Qt::Key_Down);
  ASSERT_EQ(s.FocusedOwner(), s.Groups[2]->LinkAt(0));
  s.Groups[2]->LinkAt(0)->Item()->SetVisible(false);
  s.Layout();
  EXPECT_EQ(s.FocusedOwner(), s.Groups[2]);
  EXPECT_EQ(s.FocusedKind(), TdxNavBarAccessibleKind::CaptionPanel);
}

TEST(NavBarAccessibility, FreedOwnersLeaveNoFocusBehind) {
  TKeyboardScene s;
  s.Press(Qt::Key_Down);
  ASSERT_EQ(s.FocusedOwner(), s.Groups[0]->LinkAt(0));
  // A deleted item takes its links and their objects; the focus goes with them.
  delete s.Groups[0]->LinkAt(0)->Item();
  EXPECT_EQ(s.Bar->FocusedAccessibleObject(), nullptr);
  s.Press(Qt::Key_Down);
  EXPECT_EQ(s.FocusedOwner(), s.Groups[0]) << "down without a focused object starts at the top";
  // A click on a caption focuses that caption; freeing the group clears it.
  TdxNavBarGroupViewInfo* g = s.Layout()->FindGroupViewInfo(s.Groups[1]);
  suitetest::Click(s.Bar, TPoint(g->CaptionRect.Left + 5, g->CaptionRect.Top + 3));
  EXPECT_EQ(s.FocusedOwner(), s.Groups[1]);
  delete s.Groups[1];
  EXPECT_EQ(s.Bar->FocusedAccessibleObject(), nullptr);
  s.Shot();
}

TEST(NavBarAccessibility, UpFromTheFirstShownLinkOfAScrolledSideBarGroupReachesTheLinkAbove) {
  // View 0 scrolls a group's links by its top visible link: those above lie over the caption.
  TNavBarScene s(160, 200);
  std::vector<std::string> captions;
  for (int i = 0; i < 9; ++i) captions.push_back("Link " + std::to_string(i));
  TdxNavBarGroup* a = s.AddGroupWithLinks("A", captions);
  s.AddGroupWithLinks("B", {"b"});
  s.Bar->SetActiveGroup(a);
  s.Bar->SetTabStop(true);
  s.Bar->SetFocus();
  Application->ProcessMessages();
  a->SetTopVisibleLinkIndex(4);
  TdxNavBarViewInfo* vi = s.Layout();
  ASSERT_FALSE(vi->TopScrollButtonRect.IsEmpty());
  ASSERT_LT(vi->FindLinkViewInfo(a->LinkAt(3))->Rect.Top, vi->GroupAt(0)->ItemsRect.Top) << "scrolled out";
  s.Bar->SetFocusedAccessibleObject(dxNavBarLinkAccessibilityOf(a->LinkAt(4)));
  suitetest::Key(s.Bar, Qt::Key_Up);
  TdxNavBarCustomAccessibilityHelper* f = s.Bar->FocusedAccessibleObject();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->OwnerObject(), a->LinkAt(3)) << "the link above, not the caption";
  EXPECT_EQ(a->TopVisibleLinkIndex(), 3) << "and scrolled into view";
  // Down from the last link leaves the unrolled list for the next group's caption.
  s.Bar->SetFocusedAccessibleObject(dxNavBarLinkAccessibilityOf(a->LinkAt(8)));
  suitetest::Key(s.Bar, Qt::Key_Down);
  f = s.Bar->FocusedAccessibleObject();
  ASSERT_NE(f, nullptr);
  EXPECT_EQ(f->Kind(), TdxNavBarAccessibleKind::CaptionPanel);
  EXPECT_EQ(f->OwnerObject(), s.Bar->Groups()->Items(1));
}
