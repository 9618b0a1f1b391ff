// Toolbars dragged with the mouse on a form whose manager lets them dock anywhere: off a dock
// site into a floating window and back, held floating by Ctrl, docked after the docking wait,
// resized by an edge of the floating frame, kept on the screen, refused when they may not move.
#include <gtest/gtest.h>

#include <QTimer>
#include <deque>
#include <functional>

#include "BarTestSupport.h"
#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBar.h"
#include "suite/core/ControlTestSupport.h"

namespace {

TRect WindowRectOf(TWinControl* C) {
  RECT r{};
  GetWindowRect(C->Handle(), &r);
  return TRect(r.left, r.top, r.right, r.bottom);
}

// Real mouse and key events played while a modal loop of the manager runs (a drag holds the
// caller inside the press): each step waits until the loop has taken everything the previous
// step gave it.
class TInputScript {
 public:
  explicit TInputScript(TWinControl* Anchor) : FAnchor(Anchor) {
    QObject::connect(&FTimer, &QTimer::timeout, [this] { Step(); });
    FTimer.start(0);
  }
  ~TInputScript() { FTimer.stop(); }
  // The mouse moves to a screen point with the left button held.
  TInputScript& Move(TPoint At, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    FSteps.push_back([=, this] { Mouse(QEvent::MouseMove, At, Modifiers); });
    return *this;
  }
  TInputScript& Release(TPoint At, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
    FSteps.push_back([=, this] { Mouse(QEvent::MouseButtonRelease, At, Modifiers); });
    return *this;
  }
  TInputScript& Key(QEvent::Type Type, int QtKey, Qt::KeyboardModifiers Modifiers) {
    FSteps.push_back([=, this] {
      QKeyEvent e(Type, QtKey, Modifiers);
      QCoreApplication::sendEvent(GetWindowWidget(FAnchor->Handle()), &e);
    });
    return *this;
  }
  TInputScript& Then(std::function<void()> Step) {
    FSteps.push_back(std::move(Step));
    return *this;
  }
  bool Done() const { return FSteps.empty(); }

 private:
  void Mouse(QEvent::Type Type, TPoint At, Qt::KeyboardModifiers Modifiers) {
    QWidget* w = GetWindowWidget(FAnchor->Handle());
    const QPoint global(At.X, At.Y);
    // The offscreen platform answers a cursor move with a move event of its own (no button, no
    // key held): it is taken before the event that carries the state the step asks for.
    QCursor::setPos(global);
    QCoreApplication::processEvents();
    const Qt::MouseButton button = Type == QEvent::MouseButtonRelease ? Qt::LeftButton : Qt::NoButton;
    const Qt::MouseButtons held = Type == QEvent::MouseButtonRelease ? Qt::MouseButtons() : Qt::LeftButton;
    QMouseEvent e(Type, QPointF(w->mapFromGlobal(global)), QPointF(global), button, held, Modifiers);
    QCoreApplication::sendEvent(w, &e);
  }
  void Step() {
    if (FSteps.empty() || FBusy) return;
    MSG m;
    if (PeekMessage(&m, nullptr, 0, 0, PM_NOREMOVE | PM_NOYIELD)) return;
    FBusy = true;
    auto step = std::move(FSteps.front());
    FSteps.pop_front();
    step();
    FBusy = false;
  }
  TWinControl* FAnchor;
  QTimer FTimer;
  std::deque<std::function<void()>> FSteps;
  bool FBusy = false;
};

struct TDraggingFixture : TBarFixture {
  suitetest::TManualClock Clock;

  TDraggingFixture() {
    Form->SetBounds(60, 60, 560, 380);
    Form->Show();
    Manager->HideFloatingBarsWhenInactive = false;
    Application->ProcessMessages();
  }
  TdxDockControl* Site(TdxBarDockingStyle Style) const { return Manager->Bars()->DockControls(Style); }
  TdxBar* NewBar(const std::string& Caption, int Row, int Buttons, bool WholeRow = false) {
    TdxBar* bar = Manager->Bars()->Add();
    bar->SetCaption(Caption);
    for (int i = 0; i < Buttons; ++i)
      bar->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>(Caption + " " + std::to_string(i + 1)));
    bar->SetRow(Row);
    bar->SetOneOnRow(true);
    bar->SetWholeRow(WholeRow);
    bar->SetDockingStyle(dsTop);
    bar->SetVisible(true);
    Application->ProcessMessages();
    return bar;
  }
  TdxBar* FloatingBar(const std::string& Caption, int Left, int Top, int ClientWidth) {
    TdxBar* bar = Manager->Bars()->Add();
    bar->SetCaption(Caption);
    for (int i = 0; i < 5; ++i)
      bar->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>(Caption + " " + std::to_string(i + 1)));
    bar->SetFloatLeft(Left);
    bar->SetFloatTop(Top);
    bar->SetFloatClientWidth(ClientWidth);
    bar->SetDockingStyle(dsNone);
    bar->SetVisible(true);
    Application->ProcessMessages();
    return bar;
  }
  // Where a docked bar is picked up: the strip of its border before the buttons.
  static TPoint DockedGrip(TdxBarControl* C) {
    const TRect w = WindowRectOf(C);
    return TPoint(w.Left + 2, (w.Top + w.Bottom) / 2);
  }
  // A point of a floating bar's caption, left of its close button.
  static TPoint Caption(TdxBarControl* C) {
    const TRect w = WindowRectOf(C);
    const TPoint client = C->ClientOrigin();
    return TPoint(w.Left + 12, (w.Top + client.Y) / 2 + 1);
  }
  // Presses the left button at a screen point of the bar's window.
  void Press(TdxBarControl* C, TPoint At, QEvent::Type Type = QEvent::MouseButtonPress) {
    suitetest::MouseEvent(C, Type, C->ScreenToClient(At));
  }
};

}  // namespace

TEST_F(TDraggingFixture, AToolbarDraggedOffItsSiteFloatsAndADoubleClickOnItsCaptionDocksItInItsOldRow) {
  NewBar("Main", 0, 6, true);
  TdxBar* tools = NewBar("Tools", 1, 4);
  TdxBar* quick = NewBar("Quick", 2, 3);
  ASSERT_EQ(tools->BarControl()->DockRowIndex(), 1);
  const int siteHeight = Site(dsTop)->Height();
  TdxBarControl* c = tools->BarControl();
  const TPoint grip = DockedGrip(c);

  const TPoint drop(Form->Left() + 300, Form->Top() + 250);
  TInputScript script(Form.get());
  script.Move(TPoint(grip.X + 3, grip.Y + 2)).Move(TPoint(grip.X + 40, grip.Y + 120)).Move(drop).Release(drop);
  Press(c, grip);
  EXPECT_TRUE(script.Done());
  Application->ProcessMessages();

  c = tools->BarControl();
  ASSERT_TRUE(c);
  EXPECT_EQ(tools->DockingStyle(), dsNone);
  EXPECT_EQ(c->DockingStyle(), dsNone);
  EXPECT_FALSE(Manager->Bars()->IsMoving());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_TRUE(IsWindowVisible(c->Handle()));
  EXPECT_EQ(c->Parent(), nullptr);
  // The floating window lies under the cursor and its place is the bar's.
  const TRect w = WindowRectOf(c);
  EXPECT_TRUE(w.Contains(drop));
  EXPECT_EQ(tools->FloatLeft(), w.Left);
  EXPECT_EQ(tools->FloatTop(), w.Top);
  // Its row is empty now and the site is one row thinner.
  EXPECT_LT(Site(dsTop)->Height(), siteHeight);

  // A double click on the caption: the first click picks the bar up and puts it down again.
  const TPoint caption = Caption(c);
  {
    TInputScript click(Form.get());
    click.Release(caption);
    Press(c, caption);
    EXPECT_TRUE(click.Done());
  }
  EXPECT_EQ(tools->DockingStyle(), dsNone);
  Press(c, caption, QEvent::MouseButtonDblClick);
  suitetest::MouseEvent(c, QEvent::MouseButtonRelease, c->ScreenToClient(caption));
  Application->ProcessMessages();
  c = tools->BarControl();
  ASSERT_TRUE(c);
  EXPECT_EQ(tools->DockingStyle(), dsTop);
  EXPECT_EQ(c->DockingStyle(), dsTop);
  EXPECT_EQ(c->DockRowIndex(), 1);
  EXPECT_EQ(quick->BarControl()->DockRowIndex(), 2);
  EXPECT_EQ(Site(dsTop)->Height(), siteHeight);
}

TEST_F(TDraggingFixture, AFloatingBarDocksOnlyOnceTheMouseRestedAndNeverWhileCtrlIsHeld) {
  NewBar("Main", 0, 6, true);
  TdxBar* bar = FloatingBar("Tools", Form->Left() + 200, Form->Top() + 220, 200);
  TdxBarControl* c = bar->BarControl();
  ASSERT_TRUE(c);
  const TPoint caption = Caption(c);
  const TPoint site = Site(dsTop)->ClientToScreen(TPoint(0, 0));
  const TPoint over(site.X + 260, site.Y + 8);
  auto floating = [&](const char* When) {
    return [&, When] {
      EXPECT_EQ(bar->BarControl()->DockingStyle(), dsNone) << When;
      EXPECT_TRUE(Manager->Bars()->IsMoving()) << When;
    };
  };
  TInputScript script(Form.get());
  script.Move(TPoint(caption.X + 4, caption.Y + 4))
      .Key(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier)
      .Move(over, Qt::ControlModifier)
      .Then([] { AdvanceClock(100); })
      .Then(floating("over the site with Ctrl held"))
      // Ctrl let go without moving the mouse: the drop is decided again, and the wait starts.
      .Key(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier)
      .Then([] { AdvanceClock(12); })
      .Then(floating("before the wait is over"))
      .Move(TPoint(over.X + 2, over.Y))
      .Then([] { AdvanceClock(12); })
      .Then(floating("a move started the wait again"))
      .Then([] { AdvanceClock(12); })
      .Then([&] {
        EXPECT_EQ(bar->BarControl()->DockingStyle(), dsTop);
        EXPECT_TRUE(Manager->Bars()->IsMoving());
      })
      .Release(TPoint(over.X + 2, over.Y));
  Press(c, caption);
  EXPECT_TRUE(script.Done());
  EXPECT_EQ(bar->DockingStyle(), dsTop);
  ASSERT_TRUE(bar->BarControl());
  EXPECT_EQ(bar->BarControl()->Parent(), Site(dsTop));
  EXPECT_FALSE(Manager->Bars()->IsMoving());
}

TEST_F(TDraggingFixture, EscapeEndsADragWithTheBarWhereItWasDragged) {
  TdxBar* tools = NewBar("Tools", 0, 4);
  TdxBarControl* c = tools->BarControl();
  const TPoint grip = DockedGrip(c);
  const TPoint drop(Form->Left() + 250, Form->Top() + 240);
  TInputScript script(Form.get());
  script.Move(drop).Key(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
  Press(c, grip);
  EXPECT_TRUE(script.Done());
  EXPECT_FALSE(Manager->Bars()->IsMoving());
  EXPECT_EQ(GetCapture(), nullptr);
  ASSERT_TRUE(tools->BarControl());
  EXPECT_EQ(tools->DockingStyle(), dsNone);
  const TRect placed = WindowRectOf(tools->BarControl());
  EXPECT_TRUE(placed.Contains(drop));
  // Moves after the drag ended move nothing.
  suitetest::MouseEvent(Form.get(), QEvent::MouseMove, Form->ScreenToClient(TPoint(drop.X + 40, drop.Y + 30)));
  suitetest::MouseEvent(Form.get(), QEvent::MouseButtonRelease, Form->ScreenToClient(TPoint(drop.X + 40, drop.Y + 30)));
  EXPECT_EQ(WindowRectOf(tools->BarControl()), placed);
}

TEST_F(TDraggingFixture, NotDockingRefusesTheDragsItNames) {
  const TdxBarDockingStyles all{dsNone, dsLeft, dsTop, dsRight, dsBottom};
  struct TCase {
    const char* Name;
    TdxBarDockingStyles BarNot, ManagerNot;
    bool Drags;  // the drag loop runs at all
  };
  const TCase cases[] = {
      {"the bar's NotDocking holds all five", all, {}, false},
      {"the manager's NotDocking holds all five", {}, all, false},
      {"the bar may not float", {dsNone}, {}, true},
  };
  TdxBar* tools = NewBar("Tools", 0, 4);
  for (const TCase& k : cases) {
    tools->SetNotDocking(k.BarNot);
    Manager->SetNotDocking(k.ManagerNot);
    TdxBarControl* c = tools->BarControl();
    ASSERT_TRUE(c) << k.Name;
    const TRect before = WindowRectOf(c);
    const TPoint grip = DockedGrip(c);
    const TPoint drop(Form->Left() + 250, Form->Top() + 240);
    bool ran = false;
    {
      TInputScript script(Form.get());
      script.Then([&] { ran = Manager->Bars()->IsMoving(); }).Move(drop).Release(drop);
      Press(c, grip);
      if (!k.Drags) EXPECT_TRUE(Manager->Bars()->MovingBarControl() == nullptr) << k.Name;
      while (!script.Done()) Application->ProcessMessages();
    }
    EXPECT_EQ(ran, k.Drags) << k.Name;
    EXPECT_EQ(tools->DockingStyle(), dsTop) << k.Name;
    ASSERT_EQ(tools->BarControl(), c) << k.Name;
    EXPECT_EQ(WindowRectOf(c), before) << k.Name;
    EXPECT_EQ(GetCapture(), nullptr) << k.Name;
  }
}

TEST_F(TDraggingFixture, AFloatingBarDraggedOffTheScreenComesBackToTheWorkArea) {
  TdxBar* bar = FloatingBar("Tools", Form->Left() + 100, Form->Top() + 100, 200);
  TdxBarControl* c = bar->BarControl();
  MONITORINFO mi;
  ASSERT_TRUE(GetMonitorInfo(MonitorFromWindow(c->Handle(), MONITOR_DEFAULTTONEAREST), &mi));
  const TPoint caption = Caption(c);
  const int grabY = caption.Y - WindowRectOf(c).Top;
  const TSize size{WindowRectOf(c).Width(), WindowRectOf(c).Height()};
  // Far right of the screen: the window would show nowhere, so it comes back to the edge.
  const TPoint away(mi.rcWork.right + 400, caption.Y + 20);
  TInputScript script(Form.get());
  script.Move(away).Release(away);
  Press(c, caption);
  EXPECT_TRUE(script.Done());
  const TRect w = WindowRectOf(bar->BarControl());
  EXPECT_EQ(w.Right, mi.rcWork.right);
  EXPECT_EQ(w.Top, away.Y - grabY);
  // Dragging leaves its size alone.
  EXPECT_EQ(w.Width(), size.cx);
  EXPECT_EQ(w.Height(), size.cy);
  EXPECT_EQ(bar->FloatLeft(), w.Left);
}

TEST_F(TDraggingFixture, AFloatingBarSizedByAnEdgeTakesTheSizesOfItsLayout) {
  TdxBar* bar = FloatingBar("Tools", Form->Left() + 60, Form->Top() + 120, 400);
  TdxBarControl* c = bar->BarControl();
  const TRect start = WindowRectOf(c);
  const int mid = (start.Top + start.Bottom) / 2;
  // The left edge dragged right, halfway across the bar: the right edge stays, the links wrap
  // into more lines, and the width is one the layout gives, not the one the mouse asked.
  const int asked = start.Width() / 2;
  {
    TInputScript script(Form.get());
    script.Move(TPoint(start.Left + 20, mid)).Move(TPoint(start.Right - asked, mid)).Release(TPoint(start.Right - asked, mid));
    Press(c, TPoint(start.Left, mid));
    EXPECT_TRUE(script.Done());
  }
  TRect w = WindowRectOf(c);
  EXPECT_EQ(w.Right, start.Right);
  EXPECT_LE(w.Width(), asked);
  EXPECT_GT(w.Height(), start.Height());
  TSize fit{0, 0};
  c->CalcSizeForWidth(dsNone, c->ClientWidth(), fit);
  EXPECT_EQ(fit.cx, c->ClientWidth());
  EXPECT_EQ(fit.cy, c->ClientHeight());
  EXPECT_EQ(bar->FloatClientWidth(), c->ClientWidth());
  // The bottom edge dragged up to the height of one line: the bar gets wide again.
  const TRect wrapped = w;
  {
    TInputScript script(Form.get());
    script.Move(TPoint(wrapped.Left + 10, wrapped.Top + 20)).Release(TPoint(wrapped.Left + 10, wrapped.Top + 20));
    Press(c, TPoint(wrapped.Left + 10, wrapped.Bottom - 1));
    EXPECT_TRUE(script.Done());
  }
  w = WindowRectOf(c);
  EXPECT_EQ(w.Top, wrapped.Top);
  EXPECT_LT(w.Height(), wrapped.Height());
  EXPECT_GT(w.Width(), wrapped.Width());
}

TEST_F(TDraggingFixture, ACaptionButtonLightsUnderTheMouseAndRunsOnceWhenReleasedOverIt) {
  TdxBar* bar = FloatingBar("Tools", Form->Left() + 120, Form->Top() + 150, 200);
  int clicks[2] = {};
  for (int i = 0; i < 2; ++i)
    bar->CaptionButtons()->Add()->OnClick = [&clicks, i](TdxBarCaptionButton*) { ++clicks[i]; };
  Application->ProcessMessages();
  TdxBarControl* c = bar->BarControl();
  ASSERT_TRUE(c);
  TdxBarCaptionButton* first = bar->CaptionButtons()->ButtonByIndex(0);
  TdxBarCaptionButton* second = bar->CaptionButtons()->ButtonByIndex(1);
  // In the caption, right to left from the close button.
  ASSERT_FALSE(first->Rect.IsEmpty());
  EXPECT_LE(first->Rect.Right, c->CloseButtonRect().Left);
  EXPECT_LE(second->Rect.Right, first->Rect.Left);
  EXPECT_LT(first->Rect.Bottom, c->ClientOriginInWindow().Y);
  const TRect start = WindowRectOf(c);
  auto at = [&](TdxBarCaptionButton* b) {
    return TPoint(start.Left + (b->Rect.Left + b->Rect.Right) / 2, start.Top + (b->Rect.Top + b->Rect.Bottom) / 2);
  };
  auto look = [&](TdxBarCaptionButton* b) {
    PaintWindowNow(c->Handle());
    return GetWindowBackBuffer(c->Handle())->pixel(b->Rect.Left + b->Rect.Width() / 2, b->Rect.Top + 2);
  };
  const QRgb normal = look(first);
  const TPoint inside(start.Left + 10, start.Bottom - 6);

  suitetest::MouseEvent(c, QEvent::MouseMove, c->ScreenToClient(at(first)));
  EXPECT_EQ(first->State(), TdxBarCaptionButton::bcbsHot);
  EXPECT_EQ(second->State(), TdxBarCaptionButton::bcbsNormal);
  EXPECT_NE(look(first), normal);
  suitetest::MouseEvent(c, QEvent::MouseMove, c->ScreenToClient(inside));
  EXPECT_EQ(first->State(), TdxBarCaptionButton::bcbsNormal);
  EXPECT_EQ(look(first), normal);

  // Pressed, then released elsewhere in the window: nothing runs.
  {
    TInputScript script(Form.get());
    script.Then([&] { EXPECT_EQ(first->State(), TdxBarCaptionButton::bcbsPressed); })
        .Move(inside)
        .Then([&] { EXPECT_EQ(first->State(), TdxBarCaptionButton::bcbsNormal); })
        .Release(inside);
    Press(c, at(first));
    EXPECT_TRUE(script.Done());
  }
  EXPECT_EQ(clicks[0] + clicks[1], 0);
  // Pressed and released over it: it runs once, and the bar did not move.
  {
    TInputScript script(Form.get());
    script.Move(TPoint(at(first).X + 1, at(first).Y)).Release(TPoint(at(first).X + 1, at(first).Y));
    Press(c, at(first));
    EXPECT_TRUE(script.Done());
  }
  EXPECT_EQ(clicks[0], 1);
  EXPECT_EQ(clicks[1], 0);
  EXPECT_EQ(first->State(), TdxBarCaptionButton::bcbsHot);
  EXPECT_EQ(WindowRectOf(c), start);
  EXPECT_EQ(GetCapture(), nullptr);
  // Docked, the buttons have no place.
  bar->SetDockingStyle(dsTop);
  Application->ProcessMessages();
  EXPECT_TRUE(bar->CaptionButtons()->ButtonsBounds().IsEmpty());
}
