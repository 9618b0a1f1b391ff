// The application object, the screen's cursor and TTimer on the test clock.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QCursor>
#include <QGuiApplication>
#include <string>
#include <vector>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"

namespace {

// Collects what the message boxes would have said.
struct TBoxes {
  std::vector<TModalRequest> Asked;
  TModalHook Old;
  int Answer;
  explicit TBoxes(int answer = IDOK) : Answer(answer) {
    Old = SetModalHook([this](const TModalRequest& r) {
      Asked.push_back(r);
      return Answer;
    });
  }
  ~TBoxes() { SetModalHook(Old); }
};

TEST(Application, RunEndsOnTerminateAndOnMessageSeesMessagesFirst) {
  HWND target = AllocateHWnd([](TMessage& m) {
    if (m.Msg == WM_USER + 2) Application->Terminate();
  });
  std::vector<UINT> filtered;
  Application->OnMessage = [&](MSG& msg, bool& handled) {
    if (msg.message >= WM_USER) filtered.push_back(msg.message);
    handled = msg.message == WM_USER + 1;  // kept from the window
  };
  PostMessage(target, WM_USER + 1, 0, 0);
  PostMessage(target, WM_USER + 2, 0, 0);
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  Application->ClearTerminated();
  EXPECT_EQ(filtered, (std::vector<UINT>{WM_USER + 1, WM_USER + 2}));
  Application->OnMessage = nullptr;
  DeallocateHWnd(target);
}

TEST(Application, DefaultExceptionHandlerShowsAMessageBoxExceptForAbort) {
  TBoxes boxes;
  Application->SetTitle("Sonalix Test");
  struct Case {
    std::function<void()> Raise;
    std::vector<std::string> Texts;
  };
  std::vector<Case> cases = {
      {[] { throw EConvertError("'x' is not a valid integer value"); },
       {"'x' is not a valid integer value."}},
      {[] { throw Exception("Already a sentence."); }, {"Already a sentence."}},
      {[] { Abort(); }, {}},
  };
  for (auto& c : cases) {
    boxes.Asked.clear();
    // Raised in a window procedure while Qt's loop runs: it never leaves the dispatch.
    HWND w = AllocateHWnd([&](TMessage& m) {
      if (m.Msg == WM_USER) c.Raise();
    });
    PostMessage(w, WM_USER, 0, 0);
    QCoreApplication::processEvents();
    DeallocateHWnd(w);
    std::vector<std::string> texts;
    for (auto& r : boxes.Asked) {
      texts.push_back(r.Text);
      EXPECT_EQ(r.Caption, "Sonalix Test");
      EXPECT_EQ(r.Type, MB_OK | MB_ICONSTOP);
    }
    EXPECT_EQ(texts, c.Texts);
  }
  // With OnException assigned, it decides instead of the message box.
  boxes.Asked.clear();
  std::string seen;
  Application->OnException = [&](TObject*, Exception* e) { seen = e->Message(); };
  HWND w = AllocateHWnd([](TMessage& m) {
    if (m.Msg == WM_USER) throw EInvalidOperation("no");
  });
  PostMessage(w, WM_USER, 0, 0);
  QCoreApplication::processEvents();
  DeallocateHWnd(w);
  Application->OnException = nullptr;
  EXPECT_EQ(seen, "no");
  EXPECT_TRUE(boxes.Asked.empty());
}

TEST(Application, MessageBoxesCarryTheTitle) {
  TBoxes boxes(IDYES);
  Application->SetTitle("Sonalix Sound Editor");
  EXPECT_EQ(Application->MessageBox("Save changes?", {}, MB_YESNOCANCEL | MB_ICONQUESTION), IDYES);
  ShowMessage("Done");
  ASSERT_EQ(boxes.Asked.size(), 2u);
  EXPECT_EQ(boxes.Asked[0].Caption, "Sonalix Sound Editor");
  EXPECT_EQ(boxes.Asked[1].Text, "Done");
  EXPECT_EQ(boxes.Asked[1].Caption, "Sonalix Sound Editor");
  EXPECT_EQ(boxes.Asked[1].Type & MB_TYPEMASK, MB_OK);
}

TEST(Timer, TicksOnTheTestClock) {
  SetManualClock(true);
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(100);
  timer.SetOnTimer([&](TObject*) { ++ticks; });
  struct Step {
    DWORD Advance;
    std::function<void()> Before;
    int Expected;
  };
  std::vector<Step> steps = {
      {99, nullptr, 0},
      {1, nullptr, 1},
      {100, nullptr, 2},
      {100, [&] { timer.SetEnabled(false); }, 2},
      // Enabling again starts a whole interval anew.
      {50, [&] { timer.SetEnabled(true); }, 2},
      {50, nullptr, 3},
      {250, [&] { timer.SetInterval(250); }, 4},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    if (steps[i].Before) steps[i].Before();
    AdvanceClock(steps[i].Advance);
    Application->ProcessMessages();
    EXPECT_EQ(ticks, steps[i].Expected) << "step " << i;
  }
  // A handler that raises reaches the default handler and the timer goes on.
  TBoxes boxes;
  timer.SetOnTimer([&](TObject*) {
    ++ticks;
    throw EInvalidOperation("Timer failed");
  });
  AdvanceClock(250);
  Application->ProcessMessages();
  AdvanceClock(250);
  Application->ProcessMessages();
  EXPECT_EQ(ticks, 6);
  ASSERT_EQ(boxes.Asked.size(), 2u);
  EXPECT_EQ(boxes.Asked[0].Text, "Timer failed.");
  SetManualClock(false);
}

TEST(Screen, CursorOverridesTheControlsAndComesBack) {
  EXPECT_EQ(Screen->Cursor(), crDefault);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  Screen->SetCursor(crHourGlass);
  ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
  Screen->SetCursor(crHandPoint);
  EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::PointingHandCursor);
  Screen->SetCursor(crDefault);
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
  QCursor c;
  EXPECT_TRUE(CursorFromHandle(Screen->Cursors(crSizeWE), &c));
  EXPECT_EQ(c.shape(), Qt::SizeHorCursor);
  Screen->SetCursors(1000, CreateCursorHandle(QCursor(Qt::CrossCursor)));
  EXPECT_TRUE(CursorFromHandle(Screen->Cursors(1000), &c));
  EXPECT_EQ(c.shape(), Qt::CrossCursor);
}

}  // namespace

namespace {

// The one test on the real clock: the application's own loop must wake for every tick.
TEST(Timer, RealClockTicksWakeTheApplicationsLoop) {
  ASSERT_FALSE(ManualClock());
  TTimer timer(nullptr);
  int ticks = 0;
  timer.SetInterval(10);
  timer.SetOnTimer([&](TObject*) {
    if (++ticks == 3) Application->Terminate();
  });
  DWORD start = GetTickCount();
  Application->Run();
  Application->ClearTerminated();
  EXPECT_EQ(ticks, 3);
  EXPECT_GE(GetTickCount() - start, 25u);
}

}  // namespace
