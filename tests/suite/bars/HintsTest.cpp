// Item hints of a toolbar on the test clock: the wait before a hint, how long it stays, a hint
// that follows another, disabled items, the shortcut, the window classes, and the hint window's
// pixels read back.

#include <gtest/gtest.h>

#include <QImage>
#include <QWidget>

#include <memory>
#include <string>

#include "BarTestSupport.h"
#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBarHints.h"

namespace {

struct THintsFixture : TBarFixture {
  TdxBarSubItem* Owner = NewItem<TdxBarSubItem>("owner");
  TdxBarButton* Open = Button("&Open...", "Opens an existing file.|Opens a sound file", "Ctrl+O");
  TdxBarButton* Save = Button("&Save", "Saves the file.", "Ctrl+S");
  std::unique_ptr<TTestBarControl> Bar;

  void SetUp() override {
    SetManualClock(true);
    Manager->ShowShortCutInHint = true;
    Form->SetBounds(0, 0, 600, 400);
    Form->Show();
    for (TdxBarItem* item : {static_cast<TdxBarItem*>(Open), static_cast<TdxBarItem*>(Save)})
      Owner->ItemLinks()->AddLinkForItem(item);
    Bar = std::make_unique<TTestBarControl>(Manager, Owner->ItemLinks());
    Bar->ShowAt(100, 100, 300, 30);
  }
  void TearDown() override {
    if (Form) Manager->HideItemHint();
    Bar.reset();
    Application->SetHintShortCuts(true);
    SetManualClock(false);
  }

  TdxBarButton* Button(const char* Caption, const char* Hint, const char* ShortCut) {
    auto* b = NewItem<TdxBarButton>(Caption);
    b->SetHint(Hint);
    b->SetShortCut(TextToShortCut(ShortCut));
    return b;
  }
  TdxBarItemLink* LinkOf(TdxBarItem* Item) const {
    for (TdxBarItemLink* l : Owner->ItemLinks()->ShownLinks())
      if (l->Item() == Item) return l;
    return nullptr;
  }
  // The mouse comes to rest at a client point of the bar.
  void MoveTo(TPoint P) {
    TPoint s = Bar->ClientToScreen(P);
    SetCursorPos(s.X, s.Y);
    SendMessage(Bar->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(P.X, P.Y));
    Application->ProcessMessages();
  }
  void MoveOnto(TdxBarItem* Item) {
    TRect r = LinkOf(Item)->ItemRect();
    MoveTo(TPoint((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2));
  }
  // Empty bar to the right of the buttons.
  void MoveAway() { MoveTo(TPoint(290, 15)); }
  static void Wait(DWORD Ms) {
    AdvanceClock(Ms);
    Application->ProcessMessages();
  }
  static THintWindow* Window() { return dxBarHintWindow(); }
  bool Showing() const { return Manager->IsHintWindowShowing(); }
  // The text the hint window draws: its layout's, or the platform window's caption.
  static std::string Shown() {
    if (auto* w = dynamic_cast<TdxBarHintWindow*>(Window()))
      if (w->ViewInfo())
        if (auto* h = dynamic_cast<TdxHintViewInfoHelper*>(w->ViewInfo()->Helper())) return h->Text();
    return Window() ? Window()->Caption() : std::string();
  }
};

}  // namespace

TEST_F(THintsFixture, AHintShowsAfterASecondAndGoesAfterTenWhileTheMouseStays) {
  MoveOnto(Open);
  EXPECT_EQ(Manager->HintShowDelay(), 1000);
  EXPECT_EQ(Manager->HintHideDelay(), 10000);
  Wait(999);
  EXPECT_FALSE(Showing());
  Wait(1);
  ASSERT_TRUE(Showing());
  EXPECT_EQ(Shown(), "Opens an existing file. (Ctrl+O)");
  ASSERT_TRUE(dynamic_cast<TdxBarHintWindow*>(Window()));
  // Below the cursor, where the bar put it.
  TPoint cursor = Bar->ClientToScreen(TPoint(0, 0));
  EXPECT_GT(Window()->Top(), cursor.Y);
  Wait(9999);
  EXPECT_TRUE(Showing());
  Wait(1);
  EXPECT_FALSE(Showing());
  // Hiding freed the layout; the mouse still resting brings no hint back by itself.
  EXPECT_EQ(static_cast<TdxBarHintWindow*>(Window())->ViewInfo(), nullptr);
  Wait(20000);
  EXPECT_FALSE(Showing());
}

TEST_F(THintsFixture, AHintThatFollowsAnotherShowsAtOnceWithinTheReshowPeriod) {
  MoveOnto(Open);
  Wait(1000);
  ASSERT_TRUE(Showing());
  // Straight on to the next button: no wait, and a layout made at the new mouse position.
  MoveOnto(Save);
  EXPECT_TRUE(Showing());
  EXPECT_EQ(Shown(), "Saves the file. (Ctrl+S)");
  auto* layout = dynamic_cast<TdxBarHintViewInfo*>(static_cast<TdxBarHintWindow*>(Window())->ViewInfo());
  ASSERT_TRUE(layout);
  POINT cursor;
  GetCursorPos(&cursor);
  EXPECT_EQ(layout->CursorPos(), TPoint(cursor.x, cursor.y));
  // Off the buttons and back within 400 ms: no wait either.
  MoveAway();
  EXPECT_FALSE(Showing());
  Wait(399);
  MoveOnto(Open);
  EXPECT_TRUE(Showing());
  EXPECT_EQ(Shown(), "Opens an existing file. (Ctrl+O)");
  // After 400 ms off the buttons the full wait applies again.
  MoveAway();
  Wait(400);
  MoveOnto(Save);
  EXPECT_FALSE(Showing());
  Wait(999);
  EXPECT_FALSE(Showing());
  Wait(1);
  EXPECT_TRUE(Showing());
  EXPECT_EQ(Shown(), "Saves the file. (Ctrl+S)");
}

TEST_F(THintsFixture, TheSettingsDecideWhetherAndWhatShows) {
  struct TCase {
    const char* Name;
    bool Enabled, ForDisabled, ShortCutInHint, AppShortCuts, ShowHint, Customizing;
    const char* Expected;  // empty: no hint
  };
  const TCase cases[] = {
      {"plain", true, true, true, true, true, false, "Opens an existing file. (Ctrl+O)"},
      {"disabled shown", false, true, true, true, true, false, "Opens an existing file. (Ctrl+O)"},
      {"disabled kept", false, false, true, true, true, false, ""},
      {"no shortcut", true, true, false, false, true, false, "Opens an existing file."},
      {"application shortcuts", true, true, false, true, true, false, "Opens an existing file. (Ctrl+O)"},
      {"hints off", true, true, true, true, false, false, ""},
      {"customizing", true, true, true, true, true, true, ""},
  };
  for (const TCase& c : cases) {
    Open->SetEnabled(c.Enabled);
    Manager->ShowHintForDisabledItems = c.ForDisabled;
    Manager->ShowShortCutInHint = c.ShortCutInHint;
    Application->SetHintShortCuts(c.AppShortCuts);
    Manager->ShowHint = c.ShowHint;
    Manager->SetCustomizing(c.Customizing);
    MoveOnto(Open);
    Wait(1000);
    EXPECT_EQ(Showing() ? Shown() : std::string(), c.Expected) << c.Name;
    Manager->SetCustomizing(false);
    Manager->ShowHint = true;
    Manager->HideItemHint();
    MoveAway();
    Wait(1000);
  }
}

TEST_F(THintsFixture, WithoutTheBarHintWindowThePlatformsOneShowsTheTextAndShortcut) {
  Manager->UseBarHintWindow = false;
  MoveOnto(Open);
  Wait(1000);
  ASSERT_TRUE(Showing());
  EXPECT_FALSE(dynamic_cast<TdxBarHintWindow*>(Window()));
  EXPECT_EQ(Window()->WindowClass(), HintWindowClass);
  EXPECT_EQ(Shown(), "Opens an existing file. (Ctrl+O)");
  Wait(10000);
  EXPECT_FALSE(Showing());
}

TEST_F(THintsFixture, TheHintWindowIsATipWithTheTextInside) {
  MoveOnto(Open);
  Wait(1000);
  ASSERT_TRUE(Showing());
  THintWindow* w = Window();
  const QImage image = GetWindowWidget(w->Handle())->grab().toImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(image.width(), w->Width());
  ASSERT_GT(image.width(), 100);
  ASSERT_GT(image.height(), 10);
  const COLORREF info = GetSysColor(COLOR_INFOBK);
  const QRgb back = qRgb(GetRValue(info), GetGValue(info), GetBValue(info));
  // The tip colour fills the inside, a raised edge frames it, and dark text stands on it.
  EXPECT_EQ(image.pixel(2, image.height() - 3), back);
  EXPECT_EQ(image.pixel(image.width() - 3, 2), back);
  EXPECT_NE(image.pixel(0, image.height() / 2), back);
  EXPECT_NE(image.pixel(image.width() / 2, image.height() - 1), back);
  int inked = 0, firstInk = image.width(), lastInk = -1;
  for (int x = 2; x < image.width() - 2; ++x)
    for (int y = 2; y < image.height() - 2; ++y)
      if (qGray(image.pixel(x, y)) < 100) {
        ++inked;
        firstInk = std::min(firstInk, x);
        lastInk = std::max(lastInk, x);
      }
  EXPECT_GT(inked, 100);
  // The text fills the tip from its left margin to its right one.
  EXPECT_LE(firstInk, 6);
  EXPECT_GE(lastInk, image.width() - 10);
}

TEST_F(THintsFixture, TheHintIsWrittenInTheManagersFontUnlessItFollowsTheSystem) {
  auto widthWith = [this](bool SystemFont) {
    Manager->SetUseSystemFont(SystemFont);
    if (!SystemFont) {
      Manager->SetScaled(false);
      Manager->Font()->SetSize(16);
    }
    MoveOnto(Open);
    Wait(1000);
    int width = Showing() ? Window()->Width() : 0;
    Manager->HideItemHint();
    MoveAway();
    Wait(1000);
    return width;
  };
  const int system = widthWith(true);
  const int large = widthWith(false);
  EXPECT_GT(system, 0);
  EXPECT_GT(large, system * 3 / 2);
}

TEST_F(THintsFixture, AManagerGoneBeforeItsHintTimerFiresLeavesNothingBehind) {
  MoveOnto(Open);
  Bar.reset();
  Form.reset();
  EXPECT_EQ(dxBarHintWindow(), nullptr);
  Wait(1000);
  Wait(10000);
  EXPECT_EQ(dxBarHintWindow(), nullptr);
}

TEST_F(TBarFixture, ADockedToolbarsButtonShowsItsActionsHintAndShortcut) {
  struct TClock {
    TClock() { SetManualClock(true); }
    ~TClock() { SetManualClock(false); }
  } clock;
  Manager->ShowShortCutInHint = true;
  Form->SetBounds(50, 50, 500, 300);
  Form->Show();
  auto* action = new TAction(Form.get());
  action->SetCaption("&Open");
  action->SetHint("Opens an existing file.");
  action->SetShortCut(TextToShortCut("Ctrl+O"));
  action->OnExecute = [](TObject*) {};
  auto* open = NewItem<TdxBarLargeButton>();
  open->SetAction(action);
  TdxBar* bar = Manager->Bars()->Add();
  bar->ItemLinks()->AddLinkForItem(NewItem<TdxBarLargeButton>("&New"));
  TdxBarItemLink* link = bar->ItemLinks()->AddLinkForItem(open);
  bar->SetDockingStyle(dsTop);
  bar->SetVisible(true);
  Application->ProcessMessages();
  TdxBarControl* window = bar->BarControl();
  ASSERT_TRUE(window);
  const TRect r = link->ItemRect();
  const TPoint at((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  const TPoint s = window->ClientToScreen(at);
  SetCursorPos(s.X, s.Y);
  SendMessage(window->Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.X, at.Y));
  Application->ProcessMessages();
  AdvanceClock(1000);
  Application->ProcessMessages();
  EXPECT_TRUE(Manager->IsHintWindowShowing());
  EXPECT_EQ(THintsFixture::Shown(), "Opens an existing file. (Ctrl+O)");
  Manager->HideItemHint();
}
