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
    QCursor::setPos(global);
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
