// Mouse input on the navigation bar with real events: clicks, handlers that free the bar, the
// drag threshold, dropping links, a dragged link opening a group after 300 ms, and link hints.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/rtl/System.h"
#include "suite/navbar/NavBarTestSupport.h"

using namespace navbar_test;
using suitetest::Drag;
using suitetest::MouseEvent;

namespace {

struct TFixture : TNavBarScene {
  TdxNavBarGroup *A, *B;
  TFixture() : TNavBarScene(160, 300) {
    A = AddGroupWithLinks("Files", {"Open", "Save", "Close"});
    B = AddGroupWithLinks("Edit", {"Cut"});
    Bar->SetActiveGroup(A);
    Layout();
  }
  TdxNavBarLinkViewInfo* Entry(TdxNavBarGroup* G, int Index) {
    return Layout()->FindGroupViewInfo(G)->LinkAt(Index);
  }
  TPoint ImageCentre(TdxNavBarGroup* G, int Index) {
    TRect r = Entry(G, Index)->ImageRect;
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  std::vector<std::string> Captions(TdxNavBarGroup* G) {
    std::vector<std::string> c;
    for (int i = 0; i < G->LinkCount(); ++i) c.push_back(G->LinkAt(i)->Item()->Caption());
    return c;
  }
};

}  // namespace

TEST(NavBarInput, ClickOnALinkRunsItsItem) {
  TFixture f;
  int clicks = 0;
  f.A->LinkAt(1)->Item()->OnClick = [&](TObject*) { ++clicks; };
  suitetest::Click(f.Bar, f.ImageCentre(f.A, 1));
  EXPECT_EQ(clicks, 1);
  // Press on one link, release on another: no click.
  MouseEvent(f.Bar, QEvent::MouseButtonPress, f.ImageCentre(f.A, 1));
  MouseEvent(f.Bar, QEvent::MouseMove, f.ImageCentre(f.A, 0));
  MouseEvent(f.Bar, QEvent::MouseButtonRelease, f.ImageCentre(f.A, 0));
  EXPECT_EQ(clicks, 1);
  // A disabled item is never pressed nor clicked.
  f.A->LinkAt(1)->Item()->SetEnabled(false);
  suitetest::Click(f.Bar, f.ImageCentre(f.A, 1));
  EXPECT_EQ(clicks, 1);
}

TEST(NavBarInput, HandlersThatFreeTheBarDoNotCrashTheRelease) {
  for (bool group : {false, true}) {
    TFixture f;
    TWeakLink<TObject> bar(f.Bar);
    TPoint at = f.ImageCentre(f.A, 0);
    if (group) {
      at = TPoint(80, f.Layout()->FindGroupViewInfo(f.B)->CaptionRect.Top + 4);
      f.Bar->OnGroupClick = [&](TObject*, TdxNavBarGroup*) { delete f.Bar; };
    } else {
      f.A->LinkAt(0)->Item()->OnClick = [&](TObject*) { delete f.Bar; };
    }
    suitetest::Click(f.Bar, at);
    EXPECT_FALSE(bar) << group;
    Application->ProcessMessages();
  }
}

TEST(NavBarInput, ADragStartsBeyondThreePixels) {
  TFixture f;
  TPoint p = f.ImageCentre(f.A, 1);
  MouseEvent(f.Bar, QEvent::MouseButtonPress, p);
  Drag(f.Bar, TPoint(p.X + 3, p.Y - 3));
  EXPECT_EQ(TdxCustomNavBar::DragObject(), nullptr);
  Drag(f.Bar, TPoint(p.X, p.Y + 4));
  ASSERT_NE(TdxCustomNavBar::DragObject(), nullptr);
  EXPECT_EQ(TdxCustomNavBar::DragObject()->SourceLink(), f.A->LinkAt(1));
  MouseEvent(f.Bar, QEvent::MouseButtonRelease, TPoint(p.X, p.Y + 4));
  EXPECT_EQ(TdxCustomNavBar::DragObject(), nullptr);
  // Without the permission to drag links nothing starts.
  f.Bar->SetDragDropFlags(fAllowDropLink | fAllowDragGroup | fAllowDropGroup);
  MouseEvent(f.Bar, QEvent::MouseButtonPress, p);
  Drag(f.Bar, TPoint(p.X, p.Y + 10));
  EXPECT_EQ(TdxCustomNavBar::DragObject(), nullptr);
  MouseEvent(f.Bar, QEvent::MouseButtonRelease, TPoint(p.X, p.Y + 10));
}

TEST(NavBarInput, DroppingALinkNextToItselfIsRefused) {
  TFixture f;
  auto dragOpenTo = [&](TPoint To) {
    TPoint p = f.ImageCentre(f.A, 0);
    MouseEvent(f.Bar, QEvent::MouseButtonPress, p);
    Drag(f.Bar, TPoint(p.X, p.Y + 5));
    Drag(f.Bar, To);
    Drag(f.Bar, TPoint(To.X, To.Y + 1));
    MouseEvent(f.Bar, QEvent::MouseButtonRelease, TPoint(To.X, To.Y + 1));
  };
  TdxNavBarLinkViewInfo* open = f.Entry(f.A, 0);
  TdxNavBarLinkViewInfo* save = f.Entry(f.A, 1);
  // One place below: just under Open's middle, or just over Save's: refused.
  dragOpenTo(TPoint(60, open->Rect.Bottom - 3));
  EXPECT_EQ(f.Captions(f.A), (std::vector<std::string>{"Open", "Save", "Close"}));
  dragOpenTo(TPoint(60, save->Rect.Top + 1));
  EXPECT_EQ(f.Captions(f.A), (std::vector<std::string>{"Open", "Save", "Close"}));
  // Two places below (between Save and Close): it moves by one.
  save = f.Entry(f.A, 1);
  dragOpenTo(TPoint(60, save->Rect.Bottom - 3));
  EXPECT_EQ(f.Captions(f.A), (std::vector<std::string>{"Save", "Open", "Close"}));
}

TEST(NavBarInput, DraggedLinkHoveringACaptionOpensThatGroupAfter300ms) {
  suitetest::TManualClock clock;
  TFixture f;
  TPoint p = f.ImageCentre(f.A, 0);
  TdxNavBarGroupViewInfo* b = f.Layout()->FindGroupViewInfo(f.B);
  TPoint caption(80, (b->CaptionRect.Top + b->CaptionRect.Bottom) / 2);
  MouseEvent(f.Bar, QEvent::MouseButtonPress, p);
  Drag(f.Bar, TPoint(p.X, p.Y + 5));
  // Leaving the caption before the time is up does nothing.
  Drag(f.Bar, caption);
  suitetest::Tick(200);
  Drag(f.Bar, p);
  suitetest::Tick(400);
  EXPECT_EQ(f.Bar->ActiveGroup(), f.A);
  Drag(f.Bar, caption);
  suitetest::Tick(299);
  EXPECT_EQ(f.Bar->ActiveGroup(), f.A);
  suitetest::Tick(1);
  EXPECT_EQ(f.Bar->ActiveGroup(), f.B);
  MouseEvent(f.Bar, QEvent::MouseButtonRelease, caption);
  EXPECT_EQ(TdxCustomNavBar::DragObject(), nullptr);
}

TEST(NavBarInput, LinkHintsShowTheShortPart) {
  TFixture f;
  f.A->LinkAt(1)->Item()->SetHint("Save|Saves the sound to its file");
  f.A->SetHint("All about files");
  auto hint = [&](TPoint At, std::string& Text) {
    THintInfo info;
    info.HintControl = f.Bar;
    info.CursorPos = At;
    LRESULT r = f.Bar->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info));
    Text = info.HintStr;
    return r == 0;
  };
  std::string text;
  EXPECT_FALSE(hint(f.ImageCentre(f.A, 1), text)) << "link hints are off by default";
  f.Bar->SetShowLinksHint(true);
  ASSERT_TRUE(hint(f.ImageCentre(f.A, 1), text));
  EXPECT_EQ(text, "Save");
  f.Bar->OnGetLinkHint = [](TObject*, TdxNavBarItemLink*, std::string& Hint) { Hint = "Store|it"; };
  ASSERT_TRUE(hint(f.ImageCentre(f.A, 1), text));
  EXPECT_EQ(text, "Store");
  // A group caption under the cursor with group hints off shows nothing.
  EXPECT_FALSE(hint(TPoint(80, 3), text));
  f.Bar->SetShowGroupsHint(true);
  ASSERT_TRUE(hint(TPoint(80, 3), text));
  EXPECT_EQ(text, "All about files");
  // The hint rectangle measured for the text sits 20 pixels right of the bar's left.
  EXPECT_EQ(f.Bar->ViewInfo()->HintRect.Left, 20);
}

TEST(NavBarInput, DraggedLinkHoveringACollapsedExplorerGroupExpandsIt) {
  suitetest::TManualClock clock;
  TFixture f;
  f.Bar->SetView(10);
  f.B->SetExpanded(false);
  TPoint p = f.ImageCentre(f.A, 0);
  TdxNavBarGroupViewInfo* b = f.Layout()->FindGroupViewInfo(f.B);
  ASSERT_EQ(b->LinkCount(), 0);
  TPoint caption(40, (b->CaptionRect.Top + b->CaptionRect.Bottom) / 2);
  MouseEvent(f.Bar, QEvent::MouseButtonPress, p);
  Drag(f.Bar, TPoint(p.X, p.Y + 5));
  Drag(f.Bar, caption);
  suitetest::Tick(299);
  EXPECT_FALSE(f.B->Expanded());
  suitetest::Tick(1);
  EXPECT_TRUE(f.B->Expanded());
  EXPECT_EQ(f.Layout()->FindGroupViewInfo(f.B)->LinkCount(), 1) << "its links are laid out for the drop";
  MouseEvent(f.Bar, QEvent::MouseButtonRelease, caption);
  EXPECT_EQ(TdxCustomNavBar::DragObject(), nullptr);
}
