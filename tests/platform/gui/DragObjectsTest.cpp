// In-process drag and drop with real mouse and key events (offscreen): the answers of the
// controls under the mouse, the cursor they give, the drop and the end of the drag.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <algorithm>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"

namespace {

class TBox : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
};

struct TDragScene {
  std::unique_ptr<TForm> Form;
  TBox *Source, *Refuser, *Taker;
  std::vector<std::string> Log;
  std::map<std::string, std::string> LastAt;

  TDragScene() {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 400, 200);
    auto box = [&](const char* name, int left) {
      auto* b = new TBox(Form.get());
      b->SetName(name);
      b->SetBounds(left, 10, 80, 80);
      b->SetParent(Form.get());
      return b;
    };
    Source = box("Source", 10);
    Refuser = box("Refuser", 110);
    Taker = box("Taker", 210);
    auto over = [this](bool accept) {
      return [this, accept](TObject* sender, TObject* source, int x, int y, TDragState state, bool& a) {
        const char* states[] = {"enter", "leave", "move"};
        a = accept;
        std::string name = static_cast<TControl*>(sender)->Name();
        std::string at = std::to_string(x) + "," + std::to_string(y);
        // Moving the cursor makes a move of its own besides the event sent: a move to where the
        // control last heard of the drag says nothing new.
        if (state == dsDragMove && LastAt[name] == at) return;
        LastAt[name] = at;
        Log.push_back(name + " " + states[int(state)] + " " + at + (source == Source ? "" : " (other source)"));
      };
    };
    Refuser->OnDragOver = over(false);
    Taker->OnDragOver = over(true);
    Taker->OnDragDrop = [this](TObject*, TObject* source, int x, int y) {
      Log.push_back("drop " + std::to_string(x) + "," + std::to_string(y) +
                    (source == Source ? "" : " (other source)"));
    };
    Source->OnStartDrag = [this](TObject*, TDragObject*&) { Log.push_back("start"); };
    Source->OnEndDrag = [this](TObject*, TObject* target, int x, int y) {
      // Where a drag ended on nothing is of no use to anyone: only a target's point is kept.
      Log.push_back(target ? "end " + static_cast<TControl*>(target)->Name() + " " + std::to_string(x) +
                                 "," + std::to_string(y)
                           : "end none");
    };
    Source->SetDragMode(dmAutomatic);
    Form->Show();
    Application->ProcessMessages();  // the window settles where it shows
  }

  // A mouse event at a point of the form's client area, sent to the widget under it.
  void Mouse(QEvent::Type type, QPoint at, Qt::MouseButtons held = Qt::LeftButton) {
    QWidget* form = GetWindowWidget(Form->Handle());
    QPoint global = form->mapToGlobal(at);
    QWidget* w = form->childAt(at);
    if (!w) w = form;
    QCursor::setPos(global);
    Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
    QMouseEvent e(type, QPointF(w->mapFromGlobal(global)), QPointF(global), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &e);
    Application->ProcessMessages();
  }
  void Key(int key) {
    QWidget* w = GetWindowWidget(Source->Handle());
    QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(w, &up);
    Application->ProcessMessages();
  }
};

// Refused over one control, accepted over the next: the cursor says so, and the release drops
// on the accepting control and ends the drag with it as the target.
TEST(DragDrop, ADragIsRefusedThenAcceptedAndDropped) {
  TDragScene s;
  s.Mouse(QEvent::MouseButtonPress, QPoint(30, 30));
  EXPECT_TRUE(s.Source->Dragging());
  EXPECT_EQ(s.Log, (std::vector<std::string>{"start"}));
  s.Log.clear();
  s.Mouse(QEvent::MouseMove, QPoint(130, 40));
  EXPECT_EQ(Screen->Cursor(), crNoDrop);
  s.Mouse(QEvent::MouseMove, QPoint(140, 40));
  s.Mouse(QEvent::MouseMove, QPoint(230, 50));
  EXPECT_EQ(Screen->Cursor(), crDrag);
  s.Source->SetDragCursor(crHandPoint);
  s.Mouse(QEvent::MouseMove, QPoint(235, 50));
  EXPECT_EQ(Screen->Cursor(), crHandPoint);
  s.Mouse(QEvent::MouseButtonRelease, QPoint(240, 55), Qt::NoButton);
  EXPECT_EQ(s.Log, (std::vector<std::string>{
                       "Refuser enter 20,30", "Refuser move 30,30", "Refuser leave 120,40",
                       "Taker enter 20,40", "Taker move 25,40", "Taker move 30,45", "drop 30,45",
                       "end Taker 30,45"}));
  EXPECT_FALSE(s.Source->Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Screen->Cursor(), crDefault);
}

// Released over a refusing control, the drag ends with no target and nothing dropped.
TEST(DragDrop, ARefusedReleaseEndsWithoutATarget) {
  TDragScene s;
  s.Mouse(QEvent::MouseButtonPress, QPoint(30, 30));
  s.Mouse(QEvent::MouseMove, QPoint(130, 40));
  s.Mouse(QEvent::MouseButtonRelease, QPoint(130, 40), Qt::NoButton);
  EXPECT_EQ(s.Log.back(), "end none");
  EXPECT_EQ(std::count_if(s.Log.begin(), s.Log.end(), [](auto& l) { return l.starts_with("drop"); }), 0);
}

// A drag that waits for its threshold starts nothing while the mouse stays within it: no start,
// no messages, no end; the release gives the capture back.
TEST(DragDrop, ADragBelowItsThresholdNeverStarts) {
  TDragScene s;
  s.Source->SetDragMode(dmManual);
  s.Source->OnMouseDown = [&](TObject*, TMouseButton, TShiftState, int, int) { s.Source->BeginDrag(false, 8); };
  s.Mouse(QEvent::MouseButtonPress, QPoint(30, 30));
  s.Mouse(QEvent::MouseMove, QPoint(38, 22));
  s.Mouse(QEvent::MouseButtonRelease, QPoint(38, 22), Qt::NoButton);
  EXPECT_TRUE(s.Log.empty());
  EXPECT_FALSE(s.Source->Dragging());
  EXPECT_EQ(GetCapture(), nullptr);
  EXPECT_EQ(Screen->Cursor(), crDefault);
  // One pixel further it starts, over the control under the mouse.
  s.Mouse(QEvent::MouseButtonPress, QPoint(30, 30));
  s.Mouse(QEvent::MouseMove, QPoint(39, 30));
  EXPECT_EQ(s.Log, (std::vector<std::string>{"start"}));
  EXPECT_TRUE(s.Source->Dragging());
  s.Mouse(QEvent::MouseButtonRelease, QPoint(39, 30), Qt::NoButton);
  EXPECT_EQ(s.Log.back(), "end none");
}

// Esc and a lost capture cancel: the target hears nothing more, the source ends with no target.
TEST(DragDrop, EscOrALostCaptureCancelsTheDrag) {
  for (bool esc : {true, false}) {
    SCOPED_TRACE(esc ? "Esc" : "capture lost");
    TDragScene s;
    s.Source->SetTabStop(true);
    s.Source->SetFocus();
    std::vector<WORD> keys;
    s.Source->OnKeyDown = [&](TObject*, WORD& key, TShiftState) { keys.push_back(key); };
    s.Mouse(QEvent::MouseButtonPress, QPoint(30, 30));
    s.Mouse(QEvent::MouseMove, QPoint(230, 50));
    s.Log.clear();
    if (esc) s.Key(Qt::Key_Escape);
    else SetCapture(s.Refuser->Handle());
    EXPECT_EQ(s.Log, (std::vector<std::string>{"end none"}));
    EXPECT_FALSE(s.Source->Dragging());
    EXPECT_EQ(Screen->Cursor(), crDefault);
    EXPECT_TRUE(keys.empty());  // the drag took the key
    ReleaseCapture();
    s.Key(Qt::Key_A);  // with the drag over, keys reach the focused control again
    EXPECT_EQ(keys, (std::vector<WORD>{'A'}));
    // The release after it drops nothing.
    s.Mouse(QEvent::MouseButtonRelease, QPoint(230, 50), Qt::NoButton);
    EXPECT_EQ(s.Log.size(), 1u);
  }
}

}  // namespace

namespace {

// Either end of a drag may be freed while it runs: a freed target leaves the drag with none,
// a freed source ends the drag, gives the capture and the cursor back.
TEST(DragDrop, FreeingTheTargetOrTheSourceMidDragEndsCleanly) {
  {
    TDragScene s;
    s.Mouse(QEvent::MouseButtonPress, QPoint(30, 30));
    s.Mouse(QEvent::MouseMove, QPoint(230, 50));
    delete s.Taker;
    s.Mouse(QEvent::MouseButtonRelease, QPoint(230, 50), Qt::NoButton);
    EXPECT_EQ(s.Log.back(), "end none");
    EXPECT_EQ(GetCapture(), nullptr);
  }
  {
    TDragScene s;
    s.Mouse(QEvent::MouseButtonPress, QPoint(30, 30));
    s.Mouse(QEvent::MouseMove, QPoint(230, 50));
    s.Log.clear();
    delete s.Source;
    EXPECT_TRUE(s.Log.empty());  // the source is told nothing while it goes
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(Screen->Cursor(), crDefault);
    s.Mouse(QEvent::MouseMove, QPoint(240, 50));
    s.Mouse(QEvent::MouseButtonRelease, QPoint(240, 50), Qt::NoButton);
    EXPECT_TRUE(s.Log.empty());
  }
}

}  // namespace
