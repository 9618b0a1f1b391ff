// Hints on the test clock with real mouse events (offscreen): the pause, the short hint below
// the cursor, the hide pause, CM_HINTSHOW changing what shows, and the hint action.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QMouseEvent>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"

namespace {

class TLoudHint : public THintWindow {
 public:
  using THintWindow::THintWindow;
};

// A control that rewrites its hint when asked to show it, as the suite's controls do.
class THinted : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  bool Rewrite = false;

 protected:
  void CMHintShow(TMessage& m) override {
    if (!Rewrite) return;
    auto* info = reinterpret_cast<THintInfo*>(m.LParam);
    info->HintWindowClass = &MakeHintWindow<TLoudHint>;
    info->HintStr = "At " + std::to_string(info->CursorPos.X) + "," + std::to_string(info->CursorPos.Y);
  }
};

// Takes the hint action, as a status bar's automatic panel does.
class TStatusLine : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  std::vector<std::string> Shown;
  bool ExecuteAction(TBasicAction* Action) override {
    auto* hint = dynamic_cast<THintAction*>(Action);
    if (!hint) return TCustomControl::ExecuteAction(Action);
    Shown.push_back(hint->Hint());
    return true;
  }
};

struct THintScene {
  std::unique_ptr<TForm> Form;
  THinted *Play, *Stop;
  TStatusLine* Status;

  THintScene() {
    SetManualClock(true);
    Application->SetHintPause(500);
    Application->SetHintShortPause(50);
    Application->SetHintHidePause(2500);
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    Form->SetShowHint(true);
    Play = new THinted(Form.get());
    Play->SetBounds(10, 10, 60, 30);
    Play->SetHint("Play|Plays the sound from the cursor");
    Play->SetParent(Form.get());
    Stop = new THinted(Form.get());
    Stop->SetBounds(80, 10, 60, 30);
    Stop->SetHint("Stop");
    Stop->SetParent(Form.get());
    Status = new TStatusLine(Form.get());
    Status->SetBounds(0, 170, 300, 30);
    Status->SetParent(Form.get());
    Form->Show();
    Move(QPoint(150, 100));
  }
  ~THintScene() {
    Application->CancelHint();
    SetManualClock(false);
  }

  QPoint Move(QPoint at) {
    QWidget* form = GetWindowWidget(Form->Handle());
    QPoint global = form->mapToGlobal(at);
    QWidget* w = form->childAt(at);
    if (!w) w = form;
    QCursor::setPos(global);
    QMouseEvent e(QEvent::MouseMove, QPointF(w->mapFromGlobal(global)), QPointF(global), Qt::NoButton,
                  Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
    Application->ProcessMessages();
    return global;
  }
  void Advance(DWORD ms) {
    AdvanceClock(ms);
    Application->ProcessMessages();
  }
  bool Showing() {
    THintWindow* w = Application->HintWindow();
    return w && IsWindowVisible(w->Handle());
  }
};

// The short hint shows after the pause, 20 pixels below the cursor, on the hint colour; it hides
// after the hide pause. Moving on to another control while one shows waits only the short pause.
TEST(Hints, TheShortHintShowsAfterThePauseAndHidesAfterTheHidePause) {
  THintScene s;
  QPoint cursor = s.Move(QPoint(30, 20));
  s.Advance(499);
  EXPECT_FALSE(s.Showing());
  s.Advance(1);
  ASSERT_TRUE(s.Showing());
  THintWindow* w = Application->HintWindow();
  EXPECT_EQ(w->Caption(), "Play");
  EXPECT_EQ(w->Left(), cursor.x());
  EXPECT_EQ(w->Top(), cursor.y() + 20);
  PaintWindowNow(w->Handle());
  QImage* pixels = GetWindowBackBuffer(w->Handle());
  ASSERT_NE(pixels, nullptr);
  auto rgb = [](TColor c) {
    c = ColorToRGB(c);
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  };
  // A frame round the hint colour.
  EXPECT_EQ(pixels->pixelColor(0, 0), rgb(clWindowFrame));
  EXPECT_EQ(pixels->pixelColor(w->Width() - 1, w->Height() - 1), rgb(clWindowFrame));
  EXPECT_EQ(pixels->pixelColor(w->Width() - 3, w->Height() / 2), rgb(clInfoBk));
  // Moving within the control keeps it.
  s.Move(QPoint(35, 22));
  s.Advance(2499);
  EXPECT_TRUE(s.Showing());
  s.Advance(1);
  EXPECT_FALSE(s.Showing());
  // Back to the hint: it shows again after the pause once the mouse comes to another control.
  s.Move(QPoint(90, 20));
  s.Advance(500);
  ASSERT_TRUE(s.Showing());
  EXPECT_EQ(Application->HintWindow()->Caption(), "Stop");
  s.Move(QPoint(30, 20));
  s.Advance(50);
  ASSERT_TRUE(s.Showing());
  EXPECT_EQ(Application->HintWindow()->Caption(), "Play");
  // A control without a hint shows none.
  s.Move(QPoint(200, 100));
  s.Advance(1000);
  EXPECT_FALSE(s.Showing());
}

// The control's CM_HINTSHOW handler may change the window class and the text.
TEST(Hints, CmHintShowChangesTheWindowClassAndTheText) {
  THintScene s;
  s.Play->Rewrite = true;
  s.Move(QPoint(30, 20));
  s.Advance(500);
  ASSERT_TRUE(s.Showing());
  EXPECT_NE(dynamic_cast<TLoudHint*>(Application->HintWindow()), nullptr);
  EXPECT_EQ(Application->HintWindow()->Caption(), "At 20,10");
  // The next hint without the handler goes back to the plain class.
  s.Move(QPoint(90, 20));
  s.Advance(50);
  ASSERT_TRUE(s.Showing());
  EXPECT_EQ(dynamic_cast<TLoudHint*>(Application->HintWindow()), nullptr);
  EXPECT_EQ(Application->HintWindow()->Caption(), "Stop");
}

// The long hint becomes the application's hint; without OnHint it travels as the hint action to
// the active form's controls, where the status line takes it.
TEST(Hints, TheHintActionReachesAControlThatTakesIt) {
  THintScene s;
  s.Move(QPoint(30, 20));
  EXPECT_EQ(Application->Hint(), "Plays the sound from the cursor");
  s.Move(QPoint(90, 20));
  s.Move(QPoint(150, 100));
  EXPECT_EQ(s.Status->Shown,
            (std::vector<std::string>{"Plays the sound from the cursor", "Stop", ""}));
  // With OnHint the application's handler has it instead.
  int heard = 0;
  Application->OnHint = [&](TObject*) { ++heard; };
  s.Move(QPoint(30, 20));
  Application->OnHint = nullptr;
  EXPECT_EQ(heard, 1);
  EXPECT_EQ(s.Status->Shown.size(), 3u);
}

}  // namespace
