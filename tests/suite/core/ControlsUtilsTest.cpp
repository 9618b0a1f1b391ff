// Window utilities: captions without accelerators, rectangles kept on the desktop, the drag
// detection loop, and mouse tracking on the test clock (also over a disabled control and when
// the unit shuts down with tracking left).
#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <QGuiApplication>
#include <QScreen>
#include <memory>
#include <vector>

#include "platform/sys/Modules.h"
#include "platform/win/QtWindows.h"
#include "suite/core/cxControls.h"

namespace {

TEST(ControlsUtils, RemoveAccelChars) {
  struct TCase {
    const char* Caption;
    bool Underscore;
    const char* Expected;
  } cases[] = {
      {"&Open", true, "Open"},
      {"Save &As...", false, "Save As..."},
      {"Drag && Drop", true, "Drag & Drop"},
      {"&&&Edit", true, "&Edit"},
      {"Rock&", true, "Rock_"},
      {"Rock&", false, "Rock"},
      {"Rock&&", true, "Rock&"},
      {"", true, ""},
      {"&", true, "_"},
  };
  for (const TCase& c : cases)
    EXPECT_EQ(RemoveAccelChars(c.Caption, c.Underscore), c.Expected)
        << c.Caption << (c.Underscore ? " (underscore)" : "");
}

TEST(ControlsUtils, MakeVisibleOnDesktopKeepsTheRectangleInTheWorkArea) {
  const TRect work = DesktopWorkAreaAt(TPoint(10, 10));
  ASSERT_FALSE(work.IsEmpty());
  const TPoint inside(work.Left + 5, work.Top + 5);
  struct TCase {
    TRect Bounds;
    TRect Expected;
  } cases[] = {
      // Inside: unchanged.
      {Bounds(work.Left + 10, work.Top + 10, 50, 20), Bounds(work.Left + 10, work.Top + 10, 50, 20)},
      // Partly off the right edge: ends at the right edge.
      {Bounds(work.Right - 30, work.Top + 40, 100, 20), Bounds(work.Right - 100, work.Top + 40, 100, 20)},
      // Off the bottom-left: moved up and right.
      {Bounds(work.Left - 7, work.Bottom - 5, 40, 30), Bounds(work.Left, work.Bottom - 30, 40, 30)},
      // Larger than the work area: the top-left corners meet.
      {Bounds(work.Left + 50, work.Top + 60, work.Width() + 100, work.Height() + 80),
       Bounds(work.Left, work.Top, work.Width() + 100, work.Height() + 80)},
  };
  for (const TCase& c : cases) {
    TRect r = c.Bounds;
    MakeVisibleOnDesktop(r, inside);
    EXPECT_EQ(r, c.Expected) << c.Bounds.Left << "," << c.Bounds.Top;
  }
}

TEST(ControlsUtils, WorkAreaFallsBackToThePrimaryOneWithoutTheMonitorFunctions) {
  TModuleTableGuard guard;
  const TRect withMonitors = DesktopWorkAreaAt(TPoint(1, 1));
  SetModuleEntry("user32", "MonitorFromPoint", nullptr);
  RECT primary{};
  SystemParametersInfo(SPI_GETWORKAREA, 0, &primary, 0);
  EXPECT_EQ(DesktopWorkAreaAt(TPoint(1, 1)), TRect(primary));
  EXPECT_EQ(withMonitors, TRect(primary)) << "one screen offscreen";
}

// DetectDrag runs its own loop: the messages it meets are posted before it starts.
struct TDragDetectTest : ::testing::Test {
  std::unique_ptr<TCustomControl> Window;
  void SetUp() override {
    Window = std::make_unique<TCustomControl>(nullptr);
    Window->SetBounds(100, 100, 200, 100);
    Window->Show();
    Mouse->SetDragThreshold(5);
  }
  void PostMove(int x, int y) { PostMessage(Window->Handle(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x, y)); }
};

TEST_F(TDragDetectTest, ThreeAnswers) {
  HWND h = Window->Handle();
  const TPoint down = Window->ClientToScreen(TPoint(50, 50));
  // Moves inside the square, then the button comes up: no drag.
  PostMove(52, 53);
  PostMove(46, 54);
  PostMessage(h, WM_LBUTTONUP, 0, MAKELPARAM(46, 54));
  EXPECT_EQ(DetectDrag(h, down), ddNone);
  EXPECT_EQ(GetCapture(), nullptr) << "the capture is given back";
  // Leaving the square by the threshold on one axis: a drag.
  PostMove(52, 50);
  PostMove(55, 50);
  EXPECT_EQ(DetectDrag(h, down), ddDrag);
  // Escape, and losing the capture, cancel.
  PostMessage(h, WM_KEYDOWN, VK_ESCAPE, 0);
  EXPECT_EQ(DetectDrag(h, down), ddCancel);
  // Losing the capture cancels: a timer takes it away while the loop waits.
  SetManualClock(true);
  SetTimer(nullptr, 0, 10, [](HWND, UINT, UINT_PTR id, DWORD) {
    KillTimer(nullptr, id);
    ReleaseCapture();
  });
  AdvanceClock(20);
  EXPECT_EQ(DetectDrag(h, down), ddCancel);
  SetManualClock(false);
}

TEST(ControlsUtils, DragDetectAreaIsTheThresholdOnBothAxes) {
  Mouse->SetDragThreshold(4);
  const TPoint down(10, 10);
  EXPECT_TRUE(IsPointInDragDetectArea(down, 13, 7));
  EXPECT_FALSE(IsPointInDragDetectArea(down, 14, 10));
  EXPECT_FALSE(IsPointInDragDetectArea(down, 10, 6));
  Mouse->SetDragThreshold(5);
}

// Mouse tracking, polled every 10 ms of the test clock.
class TTracker : public IcxMouseTrackingCaller {
 public:
  int Left = 0;
  void MouseLeave() override { ++Left; }
};

class TRoundTracker : public IcxMouseTrackingCaller2 {
 public:
  int Left = 0;
  TPoint Centre;
  int Radius = 0;
  void MouseLeave() override { ++Left; }
  bool PtInCaller(const TPoint& P) override {
    const int dx = P.X - Centre.X, dy = P.Y - Centre.Y;
    return dx * dx + dy * dy <= Radius * Radius;
  }
};

class TLeaveCounter : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  int MouseLeaves = 0;

 protected:
  void Dispatch(TMessage& M) override {
    if (M.Msg == CM_MOUSELEAVE && M.LParam == reinterpret_cast<LPARAM>(this)) ++MouseLeaves;
    TCustomControl::Dispatch(M);
  }
};

struct TTrackingTest : ::testing::Test {
  std::unique_ptr<TForm> Form;
  TLeaveCounter* Panel = nullptr;
  void SetUp() override {
    SetManualClock(true);
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    Panel = new TLeaveCounter(Form.get());
    Panel->SetBounds(20, 20, 100, 60);
    Panel->SetParent(Form.get());
    Form->Show();
  }
  void TearDown() override { SetManualClock(false); }
  void MoveTo(TControl* Control, TPoint P) {
    TPoint s = Control->ClientToScreen(P);
    QCursor::setPos(s.X, s.Y);
  }
  void Tick() {
    AdvanceClock(10);
    Application->ProcessMessages();
  }
};

TEST_F(TTrackingTest, TheCallerHearsOnceWhenTheMouseLeavesTheArea) {
  TTracker tracker;
  MoveTo(Panel, TPoint(50, 30));
  StartMouseTracking(Panel, Panel->ClientRect(), &tracker);
  StartMouseTracking(Panel, Panel->ClientRect(), &tracker);
  EXPECT_EQ(MouseTrackingCount(), 1) << "a caller is tracked once";
  Tick();
  EXPECT_EQ(tracker.Left, 0);
  EXPECT_TRUE(IsMouseTracking(&tracker));
  MoveTo(Panel, TPoint(150, 30));
  Tick();
  EXPECT_EQ(tracker.Left, 1);
  EXPECT_EQ(Panel->MouseLeaves, 1) << "the control hears CM_MOUSELEAVE about itself";
  EXPECT_FALSE(IsMouseTracking(&tracker));
  Tick();
  EXPECT_EQ(tracker.Left, 1) << "tracking ended";
}

TEST_F(TTrackingTest, ADisabledControlIsLeftEvenWithTheMouseOverIt) {
  TTracker tracker;
  MoveTo(Panel, TPoint(50, 30));
  StartMouseTracking(Panel, Panel->ClientRect(), &tracker);
  Tick();
  ASSERT_EQ(tracker.Left, 0);
  Form->SetEnabled(false);  // the parent: the deep test sees it
  Tick();
  EXPECT_EQ(tracker.Left, 1);
  EXPECT_EQ(Panel->MouseLeaves, 1);
  Form->SetEnabled(true);
}

TEST_F(TTrackingTest, APointTestingCallerDecidesWhereItIs) {
  TRoundTracker round;
  round.Centre = TPoint(50, 30);
  round.Radius = 20;
  MoveTo(Panel, TPoint(60, 30));
  StartMouseTracking(Panel, Panel->ClientRect(), &round);
  Tick();
  EXPECT_EQ(round.Left, 0);
  // Still over the control's rectangle but outside the circle.
  MoveTo(Panel, TPoint(95, 55));
  Tick();
  EXPECT_EQ(round.Left, 1);
  EXPECT_EQ(Panel->MouseLeaves, 0) << "the mouse is still in the control's client area";
}

TEST_F(TTrackingTest, ShuttingDownWithTrackingLeftSaysSoAndFreesIt) {
  TTracker tracker;
  MoveTo(Panel, TPoint(50, 30));
  StartMouseTracking(nullptr, Panel->ClientRect().Offset(10000, 10000), &tracker);
  ASSERT_EQ(MouseTrackingCount(), 1);
  testing::internal::CaptureStderr();
  cxControlsFinalize();  // the test program started the unit once
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("MouseTrackingTimerList.Count <> 0"), std::string::npos) << err;
  EXPECT_EQ(MouseTrackingCount(), 0);
  StartMouseTracking(nullptr, Rect(0, 0, 1, 1), &tracker);
  EXPECT_EQ(MouseTrackingCount(), 0) << "nothing is tracked while shutting down";
  cxControlsInitialize();
  Tick();
  EXPECT_EQ(tracker.Left, 0) << "the freed timer never ticks";
}

}  // namespace

namespace {

// The unit's start-up put the suite's cursors, drawn at build time, into the screen's table.
TEST(SuiteCursors, EveryCursorIsInTheScreensTableWithItsHotSpot) {
  struct TCase {
    TCursor Id;
    int HotX, HotY;
  } cases[] = {
      {crcxDragCopy, 1, 1},     {crcxFullScroll, 15, 15}, {crcxHorScroll, 15, 15},
      {crcxVerScroll, 15, 15},  {crcxUpScroll, 15, 15},   {crcxRightScroll, 15, 15},
      {crcxDownScroll, 15, 15}, {crcxLeftScroll, 15, 15}, {crcxRemove, 1, 1},
      {crcxVertSize, 15, 15},   {crcxHorzSize, 15, 15},   {crcxMultiDrag, 1, 1},
      {crcxNoDrop, 15, 15},     {crcxDrag, 1, 1},         {crcxColorPicker, 1, 30},
      {crcxMultiDragCopy, 1, 1},
  };
  std::vector<QImage> seen;
  for (const TCase& c : cases) {
    QCursor cursor;
    ASSERT_TRUE(CursorFromHandle(Screen->Cursors(c.Id), &cursor)) << c.Id;
    EXPECT_EQ(cursor.hotSpot(), QPoint(c.HotX, c.HotY)) << c.Id;
    const QImage image = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(image.size(), QSize(32, 32)) << c.Id;
    int black = 0, white = 0, clear = 0;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const QRgb p = image.pixel(x, y);
        if (qAlpha(p) == 0) ++clear;
        else if ((p & 0xFFFFFF) == 0) ++black;
        else if ((p & 0xFFFFFF) == 0xFFFFFF) ++white;
      }
    EXPECT_GT(black, 20) << c.Id;
    EXPECT_GT(white, 20) << c.Id << ": a white ring keeps it readable on dark backgrounds";
    EXPECT_EQ(black + white + clear, 32 * 32) << c.Id << ": nothing but black, white and clear";
    EXPECT_GT(clear, 32 * 32 / 3) << c.Id;
    for (const QImage& other : seen) EXPECT_NE(image, other) << c.Id << " looks like another";
    seen.push_back(image);
  }
  QCursor hand;
  ASSERT_TRUE(CursorFromHandle(Screen->Cursors(crcxHandPoint), &hand));
  EXPECT_EQ(hand.shape(), Qt::PointingHandCursor);
  EXPECT_EQ(LoadCursor(nullptr, "NO_SUCH_CURSOR"), nullptr);
  EXPECT_EQ(LoadCursor(nullptr, "CX_DRAGCURSOR"), Screen->Cursors(crcxDrag));
}

TEST(SuiteMessages, TheUnitRegistersItsMessages) {
  EXPECT_EQ(cxPlaceHolderFormMessage(), RegisterWindowMessage("{b2ce3777-44d8-4998-9701-47bbbc10b656}"));
  EXPECT_NE(cxReservedSuiteMessage(), cxPlaceHolderFormMessage());
  EXPECT_GE(cxReservedSuiteMessage(), 0xC000u);
}

}  // namespace
