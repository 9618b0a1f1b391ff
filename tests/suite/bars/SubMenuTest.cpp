// Menu windows on a form: popup menus and the sub-menus their sub items open, the keyboard
// through the chain, clicks, the wait of a popup at the cursor, the fade and unfold openings,
// collapsed menus and scrolling.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QImage>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "BarTestSupport.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBarAnimation.h"
#include "suite/bars/dxBarShadow.h"
#include "suite/bars/dxBarSubMenu.h"

namespace {

struct TSubMenuFixture : TBarFixture {
  TdxBarPopupMenu* Popup = nullptr;
  TdxBarSubItem* Insert = nullptr;
  int Clicks = 0;
  std::string Clicked;

  void SetUp() override {
    Manager->MenuAnimations = maNone;
    Form->SetBounds(0, 0, 600, 400);
    Form->Show();
    Popup = new TdxBarPopupMenu(Form.get());
    Insert = NewItem<TdxBarSubItem>("Insert Silen&ce...");
    for (const char* caption : {"&Open File...", "&Save"}) Popup->ItemLinks()->AddLinkForItem(Button(caption));
    Popup->ItemLinks()->AddLinkForItem(Insert);
    for (const char* caption : {"At the &Start", "At the &End", "At the &Cursor"})
      Insert->ItemLinks()->AddLinkForItem(Button(caption));
  }
  void TearDown() override {
    CloseActiveMenusOf(Manager);
    SetManualClock(false);
  }

  TdxBarButton* Button(const char* Caption) {
    auto* b = NewItem<TdxBarButton>(Caption);
    b->OnClick = [this, b](TObject*) {
      ++Clicks;
      Clicked = b->Caption();
    };
    return b;
  }
  TdxBarSubMenuControl* Open(int X = 100, int Y = 80) {
    Popup->PopupFromControl(X, Y, nullptr, false);
    return dynamic_cast<TdxBarSubMenuControl*>(Popup->BarControl());
  }
  static TdxBarSubMenuControl* MenuOf(TdxBarItemLinks* Links) {
    return dynamic_cast<TdxBarSubMenuControl*>(Links->BarControl());
  }
  static void Key(TCustomdxBarControl* Bar, WORD K) {
    SendMessage(Bar->Handle(), WM_KEYDOWN, K, 0);
    Application->ProcessMessages();
  }
  static std::string SelectedCaption(TCustomdxBarControl* Bar) {
    TdxBarItemControl* c = Bar->SelectedControl();
    return c ? c->LinkItem()->Caption() : "";
  }
  static TPoint CentreOf(TdxBarItemLink* Link) {
    const TRect r = Link->ItemRect();
    return TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  }
  static void Click(TCustomdxBarControl* Bar, const TPoint& P, UINT Down = WM_LBUTTONDOWN, UINT Up = WM_LBUTTONUP) {
    SendMessage(Bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(P.X, P.Y));
    SendMessage(Bar->Handle(), Down, Down == WM_LBUTTONDOWN ? MK_LBUTTON : MK_RBUTTON, MAKELPARAM(P.X, P.Y));
    SendMessage(Bar->Handle(), Up, 0, MAKELPARAM(P.X, P.Y));
    Application->ProcessMessages();
  }
};

TEST_F(TSubMenuFixture, APopupMenuShowsItsLinksStackedAtThePoint) {
  TdxBarSubMenuControl* menu = Open(120, 90);
  ASSERT_TRUE(menu);
  EXPECT_TRUE(Popup->IsOpen());
  EXPECT_TRUE(IsWindowVisible(menu->Handle()));
  EXPECT_EQ(menu->Left(), 120);
  EXPECT_EQ(menu->Top(), 90);
  EXPECT_EQ(menu->BarControlKind(), 2);
  const auto& links = Popup->ItemLinks()->ShownLinks();
  ASSERT_EQ(links.size(), 3u);
  int top = links[0]->ItemRect().Top;
  for (TdxBarItemLink* l : links) {
    EXPECT_EQ(l->ItemRect().Top, top);
    EXPECT_GT(l->ItemRect().Height(), 0);
    top = l->ItemRect().Bottom;
  }
  // Calling it again while it is open shows no second window.
  Open();
  EXPECT_EQ(Popup->BarControl(), menu);
}

TEST_F(TSubMenuFixture, TheWidestEntrysShortcutKeepsClearOfItsCaption) {
  auto* all = NewItem<TdxBarButton>("Select &All and Everything Else");
  all->SetShortCut(TextToShortCut("Ctrl+Shift+A"));
  Popup->ItemLinks()->AddLinkForItem(all);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_TRUE(menu);
  const TRect r = Popup->ItemLinks()->ShownLinks().back()->ItemRect();
  const QImage image = GetWindowWidget(menu->Handle())->grab().toImage();
  // Columns of the entry's row holding any pixel unlike the background of its right end.
  const QRgb background = image.pixel(r.Right - 2, (r.Top + r.Bottom) / 2);
  std::vector<bool> inked(r.Right, false);
  for (int x = r.Left; x < r.Right; ++x)
    for (int y = r.Top + 2; y < r.Bottom - 2; ++y)
      if (image.pixel(x, y) != background) inked[x] = true;
  // Caption and shortcut are two runs of text with a clear gap of several columns between them.
  int widestGap = 0, gap = 0;
  bool seenText = false;
  for (int x = r.Left + menu->IconAreaWidth() + 4; x < r.Right; ++x) {
    if (inked[x]) {
      if (seenText) widestGap = std::max(widestGap, gap);
      seenText = true;
      gap = 0;
    } else {
      ++gap;
    }
  }
  EXPECT_GE(widestGap, 8);
}

TEST_F(TSubMenuFixture, KeysWalkTheChainAndEscapeClosesOneLevelAtATime) {
  TdxBarSubMenuControl* menu = Open();
  ASSERT_TRUE(menu);
  Key(menu, VK_DOWN);
  EXPECT_EQ(SelectedCaption(menu), "&Open File...");
  Key(menu, VK_UP);
  EXPECT_EQ(SelectedCaption(menu), "Insert Silen&ce...");
  Key(menu, VK_RIGHT);  // opens the sub-menu and selects its first entry
  TdxBarSubMenuControl* sub = MenuOf(Insert->ItemLinks());
  ASSERT_TRUE(sub);
  EXPECT_EQ(sub->ParentBar(), menu);
  EXPECT_EQ(SelectedCaption(sub), "At the &Start");
  // Beside its item, to the right.
  EXPECT_GE(sub->Left(), menu->Left() + menu->Width() - 4);
  Key(sub, VK_DOWN);
  EXPECT_EQ(SelectedCaption(sub), "At the &End");
  Key(sub, VK_LEFT);  // back to the parent menu
  EXPECT_EQ(MenuOf(Insert->ItemLinks()), nullptr);
  EXPECT_EQ(Popup->BarControl(), menu);
  Key(menu, VK_RETURN);  // Enter opens it again
  sub = MenuOf(Insert->ItemLinks());
  ASSERT_TRUE(sub);
  Key(sub, VK_ESCAPE);
  EXPECT_EQ(MenuOf(Insert->ItemLinks()), nullptr);
  EXPECT_TRUE(Popup->IsOpen());
  Key(menu, VK_ESCAPE);
  EXPECT_FALSE(Popup->IsOpen());
  EXPECT_EQ(Popup->BarControl(), nullptr);
  EXPECT_EQ(Clicks, 0);
}

TEST_F(TSubMenuFixture, EnterAndAcceleratorsRunTheCommandOnceAndCloseTheChain) {
  int closed = 0;
  Popup->OnCloseUp = [&](TObject*) { ++closed; };
  struct {
    const char* name;
    std::vector<WORD> keys;
    const char* command;
  } cases[] = {
      {"Enter on a selected entry", {VK_DOWN, VK_DOWN, VK_RETURN}, "&Save"},
      {"an accelerator", {'O'}, "&Open File..."},
      {"an accelerator in the sub-menu", {'C', 'E'}, "At the &End"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Clicks = 0;
    closed = 0;
    TdxBarSubMenuControl* menu = Open();
    ASSERT_TRUE(menu);
    TCustomdxBarControl* target = menu;
    for (WORD k : c.keys) {
      Key(target, k);
      if (TdxBarSubMenuControl* sub = MenuOf(Insert->ItemLinks())) target = sub;
    }
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Clicked, c.command);
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(Popup->BarControl(), nullptr);
    EXPECT_EQ(MenuOf(Insert->ItemLinks()), nullptr);
  }
}

TEST_F(TSubMenuFixture, AClickRunsTheCommandOnceAndTheRightButtonActsAsTheLeft) {
  for (bool right : {false, true}) {
    SCOPED_TRACE(right);
    Clicks = 0;
    TdxBarSubMenuControl* menu = Open();
    ASSERT_TRUE(menu);
    const TPoint p = CentreOf(Popup->ItemLinks()->LinkByIndex(1));
    if (right)
      Click(menu, p, WM_RBUTTONDOWN, WM_RBUTTONUP);
    else
      Click(menu, p);
    EXPECT_EQ(Clicks, 1);
    EXPECT_EQ(Clicked, "&Save");
    EXPECT_EQ(Popup->BarControl(), nullptr);
  }
}

TEST_F(TSubMenuFixture, PopupAtTheCursorReturnsOnlyAfterTheMenuClosedDroppingPostedCommands) {
  int commands = 0;
  auto* target = new TForm(Form.get());
  target->HandleNeeded();
  TWndMethod old = target->WindowProc();
  target->SetWindowProc([&, old](TMessage& m) {
    if (m.Msg == WM_COMMAND) ++commands;
    old(m);
  });
  bool sawOpen = false;
  Popup->OnPopup = [&](TObject*) {
    sawOpen = true;
    // While the call waits: a command posted now is dropped, then Esc closes the menu.
    PostMessage(target->Handle(), WM_COMMAND, 1, 0);
    PostMessage(Popup->BarControl()->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
  };
  SetCursorPos(150, 120);
  Popup->PopupAtCursor();
  EXPECT_TRUE(sawOpen);
  EXPECT_FALSE(Popup->IsOpen());
  EXPECT_EQ(Popup->BarControl(), nullptr);
  Application->ProcessMessages();
  EXPECT_EQ(commands, 0);
  PostMessage(target->Handle(), WM_COMMAND, 1, 0);
  Application->ProcessMessages();
  EXPECT_EQ(commands, 1);
  target->SetWindowProc(old);
}

TEST_F(TSubMenuFixture, FadeShowsThroughTheWindowAnimationAndUnfoldThroughTheStepTimer) {
  SetManualClock(true);
  Manager->MenuAnimations = maFade;
  TdxBarSubMenuControl* menu = Open();
  ASSERT_TRUE(menu);
  EXPECT_EQ(menu->ShownAnimation(), maFade);
  EXPECT_EQ(menu->AnimationThread(), nullptr);  // a fade never starts the step animation
  EXPECT_TRUE(IsWindowVisible(menu->Handle()));
  Key(menu, VK_ESCAPE);

  Manager->MenuAnimations = maUnfold;
  menu = Open();
  ASSERT_TRUE(menu);
  ASSERT_TRUE(menu->AnimationThread());
  EXPECT_TRUE(menu->IsAnimating());
  const TRect final = menu->BoundsRect();
  AdvanceClock(TdxBarAnimationThread::StepInterval);
  Application->ProcessMessages();
  EXPECT_LT(menu->Height(), final.Height());
  // A key stops the animation and puts the menu at its place at once.
  Key(menu, VK_DOWN);
  EXPECT_EQ(menu->AnimationThread(), nullptr);
  EXPECT_EQ(menu->BoundsRect(), final);
  EXPECT_EQ(SelectedCaption(menu), "&Open File...");
}

TEST_F(TSubMenuFixture, ATooLongMenuScrollsOneEntryPerIntervalUnderTheMouse) {
  SetManualClock(true);
  for (int i = 0; i < 60; ++i) Popup->ItemLinks()->AddLinkForItem(Button(("Entry " + std::to_string(i)).c_str()));
  // At the bottom of the screen, it is shortened to the work area below the point.
  TdxBarSubMenuControl* menu = Open(100, 10);
  ASSERT_TRUE(menu);
  ASSERT_TRUE(menu->CanScrollDown());
  EXPECT_FALSE(menu->CanScrollUp());
  const TRect bottom = menu->ScrollButtonRect(true);
  const TPoint at((bottom.Left + bottom.Right) / 2, (bottom.Top + bottom.Bottom) / 2);
  SetCursorPos(menu->ClientToScreen(at).X, menu->ClientToScreen(at).Y);
  SendMessage(menu->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.X, at.Y));
  EXPECT_TRUE(menu->Scrolling());
  for (int i = 1; i <= 3; ++i) {
    AdvanceClock(menu->ScrollInterval());
    Application->ProcessMessages();
    EXPECT_EQ(menu->TopIndex(), i);
  }
  EXPECT_TRUE(menu->CanScrollUp());
}

TEST_F(TSubMenuFixture, CollapsedMenusExpandByTheMarkAndCtrlDown) {
  Manager->SetMenusShowRecentItemsFirst(true);
  Popup->ItemLinks()->SetUseRecentItems(true);
  for (int i = 0; i < 5; ++i) {
    TdxBarItemLink* l = Popup->ItemLinks()->AddLinkForItem(Button(("Rare " + std::to_string(i)).c_str()));
    l->SetMostRecentlyUsed(false);
  }
  for (bool byMark : {false, true}) {
    SCOPED_TRACE(byMark);
    TdxBarSubMenuControl* menu = Open();
    ASSERT_TRUE(menu);
    ASSERT_TRUE(menu->HasMark());
    const int collapsed = Popup->ItemLinks()->ShownLinkCount();
    EXPECT_LT(collapsed, Popup->ItemLinks()->ShowableLinkCount());
    if (byMark) {
      TRect mark;
      menu->MarkRect(mark);
      const TPoint p((mark.Left + mark.Right) / 2, (mark.Top + mark.Bottom) / 2);
      SendMessage(menu->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(p.X, p.Y));
      SendMessage(menu->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.X, p.Y));
      SendMessage(menu->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(p.X, p.Y));
    } else {
      QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::ControlModifier);
      QCoreApplication::sendEvent(GetWindowWidget(menu->Handle()), &down);
      QKeyEvent up(QEvent::KeyRelease, Qt::Key_Down, Qt::ControlModifier);
      QCoreApplication::sendEvent(GetWindowWidget(menu->Handle()), &up);
    }
    Application->ProcessMessages();
    menu = dynamic_cast<TdxBarSubMenuControl*>(Popup->BarControl());
    ASSERT_TRUE(menu);
    EXPECT_EQ(Popup->ItemLinks()->ShownLinkCount(), Popup->ItemLinks()->ShowableLinkCount());
    EXPECT_FALSE(menu->HasMark());
    Key(menu, VK_ESCAPE);
  }
}

TEST_F(TSubMenuFixture, AListInAMenuShowsNumberedEntriesWithTheCurrentOneChecked) {
  auto* windows = NewItem<TdxBarListItem>("Windows");
  windows->SetShowCheck(true);
  windows->Items()->Add("Untitled1.wav");
  windows->Items()->Add("Loop.wav");
  windows->SetItemIndex(1);
  Popup->ItemLinks()->AddLinkForItem(windows)->SetBeginGroup(true);
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    TdxBarSubMenuControl* menu = Open();
    ASSERT_TRUE(menu);
    std::vector<std::string> captions;
    std::vector<bool> down;
    for (TdxBarItemLink* l : Popup->ItemLinks()->ShownLinks()) {
      captions.push_back(l->Item()->Caption());
      auto* b = dynamic_cast<TdxBarButton*>(l->Item());
      down.push_back(b && b->Down());
    }
    EXPECT_EQ(captions, (std::vector<std::string>{"&Open File...", "&Save", "Insert Silen&ce...", "&1 Untitled1.wav",
                                                  "&2 Loop.wav"}));
    EXPECT_EQ(down, (std::vector<bool>{false, false, false, false, true}));
    Key(menu, VK_ESCAPE);
    // Closed, the menu's links are the ones it was given again.
    EXPECT_EQ(Popup->ItemLinks()->Count(), 4);
    EXPECT_EQ(Popup->ItemLinks()->LinkByIndex(3)->Item(), windows);
  }
}

TEST_F(TSubMenuFixture, AButtonsDropDownMenuOpensBesideItInTheChain) {
  auto* recent = new TdxBarPopupMenu(Form.get());
  recent->ItemLinks()->AddLinkForItem(Button("&1 Loop.wav"));
  recent->ItemLinks()->AddLinkForItem(Button("&2 Take.wav"));
  TdxBarButton* open = Button("Open &Recent");
  open->SetButtonStyle(bsDropDown);
  open->SetDropDownMenu(recent);
  Popup->ItemLinks()->AddLinkForItem(open);
  TdxBarSubMenuControl* menu = Open();
  ASSERT_TRUE(menu);
  Key(menu, VK_END);
  ASSERT_EQ(SelectedCaption(menu), "Open &Recent");
  Key(menu, VK_RIGHT);
  auto* drop = dynamic_cast<TdxBarSubMenuControl*>(recent->BarControl());
  ASSERT_TRUE(drop);
  EXPECT_EQ(drop->ParentBar(), menu);
  EXPECT_EQ(SelectedCaption(drop), "&1 Loop.wav");
  EXPECT_GE(drop->Left(), menu->Left() + menu->Width() - 4);
  Key(drop, VK_ESCAPE);
  EXPECT_EQ(recent->BarControl(), nullptr);
  EXPECT_EQ(Popup->BarControl(), menu);
  Key(menu, VK_RIGHT);
  drop = dynamic_cast<TdxBarSubMenuControl*>(recent->BarControl());
  ASSERT_TRUE(drop);
  Key(drop, VK_DOWN);
  Key(drop, VK_RETURN);
  EXPECT_EQ(Clicks, 1);
  EXPECT_EQ(Clicked, "&2 Take.wav");
  EXPECT_EQ(recent->BarControl(), nullptr);
  EXPECT_EQ(Popup->BarControl(), nullptr);
}

}  // namespace
