// The bar window base: keyboard moves, clicks, the active chain, swallowed clicks and closing.
#include <gtest/gtest.h>

#include "BarTestSupport.h"

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarItemControls.h"
#include "suite/core/ControlTestSupport.h"

namespace {

struct TCounter : TObject {
  int Clicks = 0;
  std::vector<std::string> Log;
  void Click(TObject* Sender) {
    ++Clicks;
    Log.push_back(static_cast<TdxBarItem*>(Sender)->Caption());
  }
};

struct TBarControlFixture : TBarFixture {
  TCounter Counter;
  TdxBarSubItem* Owner = NewItem<TdxBarSubItem>("owner");
  std::unique_ptr<TTestBarControl> Bar;

  ~TBarControlFixture() override { Bar.reset(); }

  // A bar of buttons captioned as given, shown on the screen.
  TTestBarControl* MakeBar(const std::vector<std::string>& Captions, int Kind = 0, bool Vertical = false) {
    for (const std::string& c : Captions) {
      auto* b = NewItem<TdxBarButton>(c);
      b->OnClick = TNotifyEvent::Bind(&Counter, &TCounter::Click);
      Owner->ItemLinks()->AddLinkForItem(b);
    }
    Bar = std::make_unique<TTestBarControl>(Manager, Owner->ItemLinks(), Kind, Vertical);
    Bar->ShowAt(200, 200, Vertical ? 60 : 400, Vertical ? 300 : 30);
    return Bar.get();
  }
  TdxBarItemControl* ControlAt(int Index) const { return Owner->ItemLinks()->ShownLinks().at(size_t(Index))->Control(); }
  int SelectedIndex() const {
    TdxBarItemControl* s = Bar->SelectedControl();
    return s ? s->Link()->ShownIndex() : -1;
  }
  void Key(WORD VirtualKey) { SendMessage(Bar->WindowHandle(), WM_KEYDOWN, VirtualKey, 0); }
};

}  // namespace

// ---- keyboard

TEST_F(TBarControlFixture, ArrowsMoveAlongTheBarInItsOwnDirection) {
  struct TCase {
    int Kind;
    bool Vertical;
    WORD Key;
    int Start;
    int Expected;
  };
  const TCase cases[] = {
      {0, false, VK_RIGHT, 1, 2}, {0, false, VK_LEFT, 1, 0},  {0, false, VK_RIGHT, 3, 0},
      {0, false, VK_LEFT, 0, 3},  {0, false, VK_DOWN, 1, 1},  {0, true, VK_DOWN, 1, 2},
      {0, true, VK_UP, 1, 0},     {0, true, VK_RIGHT, 1, 1},  {0, true, VK_LEFT, 1, 1},
      {2, false, VK_DOWN, 1, 2},  {2, false, VK_UP, 1, 0},    {2, false, VK_RIGHT, 1, 1},
      {2, false, VK_LEFT, 1, 1},  {0, false, VK_HOME, 2, 0},  {0, false, VK_END, 1, 3},
      {0, false, VK_TAB, 1, 2},
  };
  MakeBar({"&One", "&Two", "T&hree", "&Four"});
  for (const TCase& c : cases) {
    Bar->Kind = c.Kind;
    Bar->Vertical = c.Vertical;
    Bar->Activate(ControlAt(c.Start));
    Key(c.Key);
    EXPECT_EQ(SelectedIndex(), c.Expected) << "kind " << c.Kind << " vertical " << c.Vertical << " key " << c.Key;
    Bar->Deactivate();
  }
  EXPECT_EQ(Counter.Clicks, 0);
  EXPECT_EQ(GetActiveBarControl(), nullptr);
}

TEST_F(TBarControlFixture, EnterAndAUniqueAcceleratorClickOnceASharedOneOnlySelects) {
  MakeBar({"&Open", "&Save", "&Send", "&Print"});
  Bar->Activate(ControlAt(0));
  Key(VK_RETURN);
  EXPECT_EQ(Counter.Log, std::vector<std::string>{"&Open"});

  // "S" is shared by Save and Send: each press selects the next of them.
  Bar->Activate(ControlAt(0));
  Key('S');
  EXPECT_EQ(SelectedIndex(), 1);
  Key('S');
  EXPECT_EQ(SelectedIndex(), 2);
  EXPECT_EQ(Counter.Clicks, 1);

  Bar->Activate(ControlAt(0));
  Key('P');
  EXPECT_EQ(Counter.Log, (std::vector<std::string>{"&Open", "&Print"}));
}

TEST_F(TBarControlFixture, F10ClosesTheBarOnlyWhenTheManagerUsesIt) {
  MakeBar({"&One", "&Two"});
  Manager->UseF10ForMenu = false;
  Bar->Activate(ControlAt(0));
  Key(VK_F10);
  EXPECT_TRUE(Bar->IsActive());
  Manager->UseF10ForMenu = true;
  Key(VK_F10);
  EXPECT_FALSE(Bar->IsActive());
  EXPECT_EQ(Bar->CloseUpReason(), dxbcrClick);
}

// ---- the active chain

TEST_F(TBarControlFixture, TheActiveChainStacksAndUnwindsAndKeepsMouseFromOtherBars) {
  MakeBar({"&One", "&Two"});
  TdxBarSubItem* other = NewItem<TdxBarSubItem>("other");
  other->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>("&Three"));
  TTestBarControl menu(Manager, other->ItemLinks(), 2);
  menu.ShowAt(200, 240, 100, 60);
  TTestBarControl outsider(Manager, NewItem<TdxBarSubItem>("x")->ItemLinks());

  Bar->Activate(ControlAt(0));
  menu.SetParentBar(Bar.get());
  menu.Activate(nullptr);
  EXPECT_EQ(GetActiveBarControl(), &menu);
  EXPECT_TRUE(Bar->IsInActiveChain());
  EXPECT_TRUE(menu.IsInActiveChain());
  EXPECT_FALSE(outsider.IsInActiveChain());

  // A mouse move on a bar outside the chain is dropped before it reaches the bar.
  TMessage m{WM_MOUSEMOVE, 0, MAKELPARAM(5, 5), 0};
  outsider.WindowProc()(m);
  EXPECT_EQ(outsider.LastMousePosition(), TPoint(-1, -1));

  // Closing the menu by a click closes its parent too, and the chain empties.
  menu.CloseUp(dxbcrKey);
  EXPECT_EQ(Bar->CloseUpReason(), dxbcrKey);
  EXPECT_FALSE(Bar->IsActive());
  EXPECT_EQ(GetActiveBarControl(), nullptr);
  menu.SetParentBar(nullptr);
}

TEST_F(TBarControlFixture, CloseUpAgainWhileClosingDoesNothing) {
  struct TReentrant : TTestBarControl {
    using TTestBarControl::TTestBarControl;
    int Runs = 0;
    void DoCloseUp(int Reason) override {
      ++Runs;
      CloseUp(Reason);
      TTestBarControl::DoCloseUp(Reason);
    }
  };
  TReentrant bar(Manager, Owner->ItemLinks());
  bar.CloseUp(dxbcrClick);
  bar.CloseUp(dxbcrKey);
  EXPECT_EQ(bar.Runs, 2);
  EXPECT_EQ(bar.CloseUpReason(), dxbcrKey);
}

// ---- mouse

TEST_F(TBarControlFixture, AnIgnoredClickSwallowsItsButtonUpWhichClearsTheFlag) {
  MakeBar({"&One"});
  Bar->Activate(ControlAt(0));
  Bar->SetIgnoreNextClick(true);
  suitetest::Click(Bar.get(), TPoint(5, 5));
  EXPECT_FALSE(Bar->IgnoreNextClick());
  EXPECT_EQ(Counter.Clicks, 0);
  EXPECT_TRUE(Bar->IsActive());
}

TEST_F(TBarControlFixture, AClickOnTheSelectedButtonOfAnActiveBarRunsItOnce) {
  MakeBar({"&One", "&Two"});
  TRect two = ControlAt(1)->ItemBoundsOf();
  TPoint at((two.Left + two.Right) / 2, two.Top + 5);
  Bar->Activate(ControlAt(0));
  suitetest::MouseEvent(Bar.get(), QEvent::MouseMove, at);
  suitetest::Click(Bar.get(), at);
  EXPECT_EQ(Counter.Log, std::vector<std::string>{"&Two"});
}

TEST_F(TBarControlFixture, WClosePassesToTheFormAndTheBarStays) {
  MakeBar({"&One"});
  int closes = 0;
  struct TC : TObject {
    int* N;
    void Close(TObject*, TCloseAction& Action) {
      ++*N;
      Action = caNone;
    }
  } c;
  c.N = &closes;
  Form->OnClose = TCloseEvent::Bind(&c, &TC::Close);
  Form->HandleNeeded();
  SendMessage(Bar->WindowHandle(), WM_CLOSE, 0, 0);
  EXPECT_EQ(closes, 1);
  EXPECT_TRUE(IsWindow(Bar->WindowHandle()));
}

// ---- canvas

TEST_F(TBarControlFixture, MeasuringBeforeTheWindowUsesAScreenCanvasFreedOnceTheWindowExists) {
  TTestBarControl bar(Manager, Owner->ItemLinks());
  ASSERT_NE(bar.CurrentCanvas(), nullptr);
  EXPECT_TRUE(bar.HasScreenCanvas());
  bar.HandleNeeded();
  EXPECT_FALSE(bar.HasScreenCanvas());
  EXPECT_GT(bar.TextSize(), 0);
}
