// The base control through a demo descendant, a scrollable grid: its scroll bars decided by the
// fixed-point calculation, wheel and anchor scrolling, focus, dialog keys, context menus and the
// drag and drop inside the control, with real input on the offscreen platform and the test clock.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ControlTestSupport.h"
#include "common/TestEnv.h"
#include "platform/gui/Menus.h"
#include <QScreen>
#include "suite/core/cxControls.h"
#include "suite/core/VisualStyleState.h"

using namespace suitetest;

namespace {

// Cells of 20 x 21 pixels; the bars scroll by cells.
class TGridDemo : public TcxControl {
 public:
  using TcxControl::TcxControl;
  int Cols = 40, Rows = 101;
  int LeftCol = 0, TopRow = 0;
  static constexpr int CellWidth = 20, CellHeight = 21;
  std::vector<std::string> Scrolls;
  bool BothNeeded = false;
  // Pages from the bars really shown (not the ones being decided), as a grid that measures its
  // own client area does.
  bool PagesFromShownBars = false;

  int VisibleCols() {
    TRect r = ClientBounds();
    if (PagesFromShownBars) r.Right = ClientWidth() - (VScrollBar()->Visible() ? VScrollBar()->Width() : 0);
    return std::max(1, r.Width() / CellWidth);
  }
  int VisibleRows() {
    TRect r = ClientBounds();
    if (PagesFromShownBars) r.Bottom = ClientHeight() - (HScrollBar()->Visible() ? HScrollBar()->Height() : 0);
    return std::max(1, r.Height() / CellHeight);
  }

  void RefreshBars() { UpdateScrollBars(); }
  using TcxControl::AnchorScrollDirection;
  using TcxControl::ClientBounds;
  using TcxControl::DragAndDropObject;

 protected:
  void SetupScrollBarRanges() override {
    SetScrollBarInfo(sbHorizontal, 0, Cols - 1, 1, VisibleCols(), LeftCol, true, true);
    SetScrollBarInfo(sbVertical, 0, Rows - 1, 1, VisibleRows(), TopRow, true, true);
  }
  bool NeedsScrollBar(TScrollBarKind) override { return BothNeeded; }
  void Scroll(TScrollBarKind Kind, TScrollCode Code, int& Position) override {
    int& first = Kind == sbHorizontal ? LeftCol : TopRow;
    int page = Kind == sbHorizontal ? VisibleCols() : VisibleRows();
    int last = std::max(0, (Kind == sbHorizontal ? Cols : Rows) - page);
    switch (Code) {
      case scLineUp: --first; break;
      case scLineDown: ++first; break;
      case scPageUp: first -= page; break;
      case scPageDown: first += page; break;
      case scTrack:
      case scPosition: first = Position; break;
      default: break;
    }
    first = std::clamp(first, 0, last);
    Scrolls.push_back(std::string(Kind == sbHorizontal ? "h " : "v ") + std::to_string(first));
    UpdateScrollBars();
    Invalidate();
  }
  void Paint() override {
    TcxControl::Paint();
    TRect r = ClientBounds();
    TcxCanvas* c = Canvas();
    for (int row = TopRow; row < Rows && (row - TopRow) * CellHeight < r.Height(); ++row)
      for (int col = LeftCol; col < Cols && (col - LeftCol) * CellWidth < r.Width(); ++col) {
        TRect cell = Bounds(r.Left + (col - LeftCol) * CellWidth, r.Top + (row - TopRow) * CellHeight, CellWidth,
                            CellHeight);
        c->FillRectWithColor(cell, (row + col) % 2 ? TColor(0xF0E0D0) : TColor(0xFFFFFF));
        c->FillRectWithColor(TRect(cell.Left, cell.Bottom - 1, cell.Right, cell.Bottom), TColor(0xA08060));
        c->FillRectWithColor(TRect(cell.Right - 1, cell.Top, cell.Right, cell.Bottom), TColor(0xA08060));
        if (col == LeftCol)
          c->DrawAlignedText(std::to_string(row), cell.Inflate(-2, -2), TcxTextFlags{}, true);
      }
  }
};

struct TGridScene {
  std::unique_ptr<TForm> Form;
  TGridDemo* Grid;

  TGridScene() {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 420, 300);
    Grid = new TGridDemo(Form.get());
    Grid->SetBounds(10, 10, 300, 234);
    Grid->SetParent(Form.get());
    Form->Show();
    Application->ProcessMessages();
    Grid->RefreshBars();
  }
};

}  // namespace

// The demo shows a vertical bar 17 x 217 for rows 0..100 ten at a time: a 183-pixel track and an
// 18-pixel thumb; the horizontal bar below it and the grip in the corner between them.
TEST(BaseControl, DemoGridLaysOutItsBars) {
  TGridScene s;
  TcxControlScrollBar* v = s.Grid->VScrollBar();
  TcxControlScrollBar* h = s.Grid->HScrollBar();
  ASSERT_TRUE(v->Visible());
  ASSERT_TRUE(h->Visible());
  EXPECT_EQ(v->BoundsRect(), TRect(283, 0, 300, 217));
  EXPECT_EQ(h->BoundsRect(), TRect(0, 217, 283, 234));
  EXPECT_TRUE(s.Grid->SizeGrip()->Visible());
  EXPECT_EQ(s.Grid->SizeGrip()->BoundsRect(), TRect(283, 217, 300, 234));
  EXPECT_EQ(v->Min(), 0);
  EXPECT_EQ(v->Max(), 100);
  EXPECT_EQ(v->PageSize(), 10);
  EXPECT_EQ(v->LargeChange(), 10);
  EXPECT_EQ(v->ViewInfo()->TrackEnd() - v->ViewInfo()->TrackStart(), 183);
  EXPECT_EQ(v->ViewInfo()->ThumbRect().Height(), 18);
  EXPECT_EQ(h->PageSize(), 14) << "283 pixels hold 14 columns";

  QImage image = Snapshot(s.Grid);
  // The first cell, the second (shaded), and the corner grip in the painter's colour.
  EXPECT_EQ(image.pixel(15, 15) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(image.pixel(35, 5) & 0xFFFFFF, 0xD0E0F0u);
  TColor grip = ColorToRGB(s.Grid->LookAndFeel()->ActivePainter()->ViewColor21());
  QImage gripImage = Snapshot(s.Grid->SizeGrip());
  EXPECT_EQ(gripImage.pixel(8, 8) & 0xFFFFFF,
            uint32_t(GetRValue(grip) << 16 | GetGValue(grip) << 8 | GetBValue(grip)));
  QImage bar = Snapshot(v);
  EXPECT_EQ(bar.height(), 217);
  EXPECT_EQ(bar.width(), 17);
  // A sheet to look at: the form as drawn, and under a real X server the screen as shown.
  QWidget* form = GetWindowWidget(s.Form->Handle());
  form->grab().save(QString::fromStdString((sonalix::test::SheetDir() / "cx-demo-grid.png").string()));
  if (QGuiApplication::platformName() == "xcb") {
    QCoreApplication::processEvents();
    QGuiApplication::primaryScreen()->grabWindow(0).save(
        QString::fromStdString((sonalix::test::SheetDir() / "cx-demo-grid-screen.png").string()));
  }

  // Scrolling by the bar moves the grid.
  v->Perform(CN_VSCROLL, WPARAM(scPageDown), 0);
  EXPECT_EQ(s.Grid->TopRow, 10);
  EXPECT_EQ(v->Position(), 10);
}

// What SetScrollBarInfo decides for one bar: shown with the range, hidden, or kept as a disabled
// bar, by the range, the page, the position and the control's scroll-bars setting.
TEST(BaseControl, ScrollBarInfoDecidesEachBar) {
  struct Case {
    const char* Name;
    TScrollStyle Setting;
    int Min, Max, Page, Position;
    bool AllowShow, AllowHide;
    bool Visible, Enabled;
  };
  const Case cases[] = {
      {"fits", ssBoth, 0, 100, 10, 5, true, true, true, true},
      {"page as large as the range", ssBoth, 0, 100, 101, 0, true, true, false, true},
      {"page as large as the range, kept", ssBoth, 0, 100, 101, 0, true, false, true, false},
      {"position before the range", ssBoth, 10, 100, 10, 5, true, true, false, true},
      {"range upside down, kept", ssBoth, 100, 0, 10, 5, true, false, true, false},
      {"not allowed to show", ssBoth, 0, 100, 10, 5, false, true, false, true},
      {"the setting leaves out the kind", ssHorizontal, 0, 100, 10, 5, true, false, false, true},
      {"the setting names the kind", ssVertical, 0, 100, 10, 5, true, true, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.Name);
    struct TProbe : TcxControl {
      using TcxControl::TcxControl;
      std::function<void(TProbe*)> Setup;
      void SetupScrollBarRanges() override {
        if (Setup) Setup(this);
      }
      void Refresh() { UpdateScrollBars(); }
    };
    TForm form(nullptr);
    form.SetBounds(0, 0, 300, 300);
    auto* probe = new TProbe(&form);
    probe->SetBounds(0, 0, 200, 200);
    probe->SetParent(&form);
    probe->SetScrollBars(c.Setting);
    probe->Setup = [&](TProbe* p) {
      p->SetScrollBarInfo(sbVertical, c.Min, c.Max, 1, c.Page, c.Position, c.AllowShow, c.AllowHide);
    };
    form.Show();
    probe->Refresh();
    TcxControlScrollBar* bar = probe->VScrollBar();
    EXPECT_EQ(bar->Visible(), c.Visible);
    EXPECT_EQ(bar->Enabled(), c.Enabled);
    EXPECT_EQ(probe->IsVertScrollBarVisible(), c.Visible);
    EXPECT_FALSE(probe->IsHorzScrollBarVisible());
    if (c.Visible && c.Enabled) {
      EXPECT_EQ(bar->Min(), c.Min);
      EXPECT_EQ(bar->Max(), c.Max);
      EXPECT_EQ(bar->PageSize(), c.Page);
      EXPECT_EQ(bar->Position(), c.Position);
      EXPECT_EQ(bar->BoundsRect(), TRect(183, 0, 200, 200));
    }
  }
}

// Content just too large in both directions (each bar needed only because the other takes room)
// shows no bars when the control says both are needed only for what does not fit.
TEST(BaseControl, ContentJustTooLargeInBothDirections) {
  for (bool needed : {false, true}) {
    SCOPED_TRACE(needed ? "NeedsScrollBar" : "plain");
    TGridScene s;
    s.Grid->PagesFromShownBars = true;
    s.Grid->BothNeeded = needed;
    // 15 x 11 cells fit the 300 x 234 client area, not what the bars shown now leave of it.
    s.Grid->Cols = 15;
    s.Grid->Rows = 11;
    s.Grid->RefreshBars();
    EXPECT_EQ(s.Grid->HScrollBar()->Visible(), !needed);
    EXPECT_EQ(s.Grid->VScrollBar()->Visible(), !needed);
    EXPECT_EQ(s.Grid->SizeGrip()->Visible(), !needed);
    if (needed) EXPECT_EQ(s.Grid->ClientBounds(), TRect(0, 0, 300, 234));
  }
}

// A descendant whose ranges never settle (each answer flips its bar) still gets an answer.
TEST(BaseControl, ScrollBarCalculationEndsWhenRangesNeverSettle) {
  struct TFlipper : TcxControl {
    using TcxControl::TcxControl;
    int Calls = 0;
    void SetupScrollBarRanges() override {
      ++Calls;
      bool show = !IsHorzScrollBarVisible();
      SetScrollBarInfo(sbHorizontal, 0, 100, 1, show ? 10 : 200, 0, true, true);
    }
    void Refresh() { UpdateScrollBars(); }
  };
  TForm form(nullptr);
  form.SetBounds(0, 0, 300, 300);
  auto* flipper = new TFlipper(&form);
  flipper->SetBounds(0, 0, 200, 200);
  flipper->SetParent(&form);
  form.Show();
  flipper->Calls = 0;
  flipper->Refresh();
  EXPECT_GT(flipper->Calls, 1);
  EXPECT_LE(flipper->Calls, 40) << "a bounded number of rounds in each update";
}

// The wheel scrolls three lines a notch while the vertical bar shows, and nothing without it.
TEST(BaseControl, WheelScrollsWithTheVerticalBar) {
  TGridScene s;
  Wheel(s.Grid, TPoint(50, 50), -120);
  EXPECT_EQ(s.Grid->TopRow, 3);
  EXPECT_EQ(s.Grid->VScrollBar()->Position(), 3);
  Wheel(s.Grid, TPoint(50, 50), 120);
  EXPECT_EQ(s.Grid->TopRow, 0);
  s.Grid->Rows = 5;
  s.Grid->RefreshBars();
  ASSERT_FALSE(s.Grid->VScrollBar()->Visible());
  s.Grid->Scrolls.clear();
  Wheel(s.Grid, TPoint(50, 50), -120);
  EXPECT_TRUE(s.Grid->Scrolls.empty());
}

// Direction and speed of anchor scrolling by where the mouse is: none in the neutral zone, then
// faster with the distance, up to 12.
TEST(BaseControl, AnchorScrollingDirectionAndSpeed) {
  TGridScene s;
  struct Case {
    int Dx, Dy;
    TcxDirection Direction;
    int Speed;
  };
  const Case cases[] = {{62, 0, dirRight, 10}, {0, 62, dirDown, 10}, {-20, -30, dirUp, 3}, {-17, 3, dirLeft, 1},
                        {10, 10, dirNone, 0},  {15, -15, dirNone, 0}, {400, 0, dirRight, 12}};
  TPoint anchor(500, 400);
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.Dx) + "," + std::to_string(c.Dy));
    bool left = false;
    TcxDirection direction = dirNone;
    int speed = -1;
    s.Grid->AnchorScrollDirection(anchor, TPoint(anchor.X + c.Dx, anchor.Y + c.Dy), TSize{32, 32}, left, direction,
                                  speed);
    EXPECT_EQ(direction, c.Direction);
    EXPECT_EQ(speed, c.Speed);
    EXPECT_EQ(left, c.Direction != dirNone);
  }
  // Without a horizontal bar the zone spans the screen's width: sideways goes nowhere.
  s.Grid->Cols = 5;
  s.Grid->RefreshBars();
  ASSERT_FALSE(s.Grid->HScrollBar()->Visible());
  bool left = false;
  TcxDirection direction = dirUp;
  int speed = -1;
  s.Grid->AnchorScrollDirection(anchor, TPoint(anchor.X + 200, anchor.Y + 2), TSize{32, 32}, left, direction, speed);
  EXPECT_EQ(direction, dirNone);
  s.Grid->AnchorScrollDirection(anchor, TPoint(anchor.X + 200, anchor.Y + 40), TSize{32, 32}, left, direction, speed);
  EXPECT_EQ(direction, dirDown) << "and the vertical distance decides";
}

namespace {
// Steps run inside a modal loop of the control, one per posted message or per tick of a 20 ms
// timer of their own that falls due after the control's.
struct TScript {
  HWND Window;
  std::vector<std::function<void()>> Steps;
  size_t Next = 0;
  TScript() {
    Window = AllocateHWnd([this](TMessage& m) {
      if ((m.Msg == WM_USER || m.Msg == WM_TIMER) && Next < Steps.size()) Steps[Next++]();
      else m.Result = DefWindowProc(Window, m.Msg, m.WParam, m.LParam);
    });
  }
  ~TScript() {
    KillTimer(Window, 1);
    DeallocateHWnd(Window);
  }
  void Start() { PostMessage(Window, WM_USER, 0, 0); }
  void TickEvery20() { SetTimer(Window, 1, 20, nullptr); }
};

LPARAM ClientPoint(TPoint P) { return MAKELPARAM(WORD(SHORT(P.X)), WORD(SHORT(P.Y))); }
}  // namespace

// Middle press: the mouse 62 pixels right of the anchor scrolls one column every third 20 ms tick
// (speed 10) until Escape.
TEST(BaseControl, AnchorScrollingStepsEveryThirdTickUntilEscape) {
  TManualClock clock;
  TGridScene s;
  TScript script;
  TPoint anchor(150, 100);
  TPoint right(anchor.X + 62, anchor.Y);
  std::vector<bool> scrollingSeen;
  QImage anchorImage;
  script.Steps.push_back([&] {
    scrollingSeen.push_back(s.Grid->IsScrollingContent());
    // The anchor shows centred on where the middle button went down.
    TPoint a = s.Grid->ClientToScreen(anchor);
    HWND window = WindowFromPoint(POINT{a.X, a.Y});
    if (window && window != s.Grid->Handle()) {
      PaintWindowNow(window);
      if (QImage* b = GetWindowBackBuffer(window)) anchorImage = b->copy();
    }
    TPoint g = s.Grid->ClientToScreen(right);
    SetCursorPos(g.X, g.Y);
    PostMessage(s.Grid->Handle(), WM_MOUSEMOVE, MK_MBUTTON, ClientPoint(right));
    script.TickEvery20();
    AdvanceClock(20);
  });
  std::vector<size_t> scrollsAfterTick;
  for (int tick = 1; tick <= 6; ++tick)
    script.Steps.push_back([&, tick] {
      scrollsAfterTick.push_back(s.Grid->Scrolls.size());
      if (tick < 6) AdvanceClock(20);
      else PostMessage(s.Grid->Handle(), WM_KEYDOWN, VK_ESCAPE, 0);
    });
  script.Start();
  s.Grid->Scrolls.clear();
  MouseEvent(s.Grid, QEvent::MouseButtonPress, anchor, Qt::MiddleButton);
  // The press returns once the scrolling ended.
  EXPECT_EQ(scrollingSeen, std::vector<bool>{true});
  // Both bars show: the anchor has the dot and arrows four ways on a light disc.
  ASSERT_EQ(anchorImage.size(), QSize(32, 32));
  anchorImage.scaled(256, 256).save(QString::fromStdString((sonalix::test::SheetDir() / "cx-anchor-full.png").string()));
  auto dark = [&](int x, int y) { return qGray(anchorImage.pixel(x, y)) < 80; };
  EXPECT_TRUE(dark(16, 16));
  for (TPoint p : {TPoint(16, 7), TPoint(16, 24), TPoint(7, 16), TPoint(24, 16)}) EXPECT_TRUE(dark(p.X, p.Y)) << p.X << "," << p.Y;
  EXPECT_FALSE(dark(10, 10));
  EXPECT_FALSE(dark(22, 22));
  EXPECT_EQ(scrollsAfterTick, (std::vector<size_t>{0, 0, 1, 1, 1, 2}));
  EXPECT_EQ(s.Grid->Scrolls, (std::vector<std::string>{"h 1", "h 2"}));
  EXPECT_EQ(s.Grid->LeftCol, 2);
  EXPECT_FALSE(s.Grid->IsScrollingContent());
  EXPECT_FALSE(s.Grid->MouseCapture());
}

// A left click ends anchor scrolling and still reaches the control under the mouse.
TEST(BaseControl, AnchorScrollingEndsOnAClickThatStillArrives) {
  TManualClock clock;
  TGridScene s;
  auto* other = new TGridDemo(s.Form.get());
  other->SetBounds(320, 10, 80, 80);
  other->SetParent(s.Form.get());
  std::vector<std::string> downs;
  other->OnMouseDown = [&](TObject*, TMouseButton b, TShiftState, int x, int y) {
    downs.push_back(std::to_string(int(b)) + " " + std::to_string(x) + "," + std::to_string(y));
  };
  TScript script;
  script.Steps.push_back([&] {
    // A middle release inside the neutral zone keeps the scrolling on.
    PostMessage(s.Grid->Handle(), WM_MBUTTONUP, 0, ClientPoint(TPoint(150, 100)));
    PostMessage(other->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, ClientPoint(TPoint(7, 9)));
  });
  script.Start();
  MouseEvent(s.Grid, QEvent::MouseButtonPress, TPoint(150, 100), Qt::MiddleButton);
  EXPECT_EQ(downs, std::vector<std::string>{"0 7,9"});
  EXPECT_FALSE(s.Grid->IsScrollingContent());
  MouseEvent(other, QEvent::MouseButtonRelease, TPoint(7, 9));
}

namespace {
// Logs what the drag and drop inside the control does.
class TLoggingDragObject : public TcxDragAndDropObject {
 public:
  TLoggingDragObject(TcxControl* Control, std::vector<std::string>& Log) : TcxDragAndDropObject(Control), FLog(Log) {}
  void BeginDragAndDrop() override {
    FLog.push_back("begin " + std::to_string(CurMousePos().X) + "," + std::to_string(CurMousePos().Y));
    TcxDragAndDropObject::BeginDragAndDrop();
  }
  void DragAndDrop(TPoint P, bool& Accepted) override {
    Accepted = P.X < 100;
    // Placing the cursor makes a move of its own to where the event already was.
    std::string entry = "move " + std::to_string(P.X) + "," + std::to_string(P.Y);
    if (FLog.empty() || FLog.back() != entry) FLog.push_back(entry);
    TcxDragAndDropObject::DragAndDrop(P, Accepted);
  }
  void EndDragAndDrop(bool Accepted) override {
    FLog.push_back(Accepted ? "end accepted" : "end cancelled");
    TcxDragAndDropObject::EndDragAndDrop(Accepted);
  }

 private:
  std::vector<std::string>& FLog;
};

class TDragGrid : public TGridDemo {
 public:
  using TGridDemo::TGridDemo;
  std::vector<std::string> Log;

 protected:
  bool StartDragAndDrop(TPoint P) override { return true; }
};

struct TDragScene : TGridScene {
  TDragGrid* Drag;
  TDragScene() {
    Drag = new TDragGrid(Form.get());
    Drag->SetBounds(320, 10, 90, 200);
    Drag->SetParent(Form.get());
    Drag->SetDragAndDropObjectClass([this](TcxControl* c) { return new TLoggingDragObject(c, Drag->Log); });
    Application->ProcessMessages();
  }
};
}  // namespace

// The drag and drop inside a control: a press and release never begins it; moving past the drag
// threshold does, the cursor says whether the place accepts, and the release ends it accepted.
TEST(BaseControl, DragAndDropBeginsOnlyPastTheThreshold) {
  TDragScene s;
  Screen->SetCursor(crHourGlass);
  MouseEvent(s.Drag, QEvent::MouseButtonPress, TPoint(20, 20));
  EXPECT_EQ(s.Drag->DragAndDropState(), ddsStarting);
  Drag(s.Drag, TPoint(23, 22));
  EXPECT_EQ(s.Drag->DragAndDropState(), ddsStarting) << "inside the drag threshold";
  MouseEvent(s.Drag, QEvent::MouseButtonRelease, TPoint(23, 22));
  EXPECT_EQ(s.Drag->DragAndDropState(), ddsNone);
  EXPECT_TRUE(s.Drag->Log.empty());

  MouseEvent(s.Drag, QEvent::MouseButtonPress, TPoint(20, 20));
  Drag(s.Drag, TPoint(40, 20));
  EXPECT_EQ(s.Drag->DragAndDropState(), ddsInProcess);
  EXPECT_TRUE(s.Drag->MouseCapture());
  Drag(s.Drag, TPoint(60, 30));
  EXPECT_EQ(Screen->Cursor(), crDrag);
  Drag(s.Drag, TPoint(150, 30));
  EXPECT_EQ(Screen->Cursor(), crNoDrop);
  Drag(s.Drag, TPoint(70, 40));
  MouseEvent(s.Drag, QEvent::MouseButtonRelease, TPoint(70, 40));
  EXPECT_EQ(s.Drag->Log, (std::vector<std::string>{"begin 40,20", "move 40,20", "move 60,30", "move 150,30",
                                                   "move 70,40", "end accepted"}));
  EXPECT_EQ(s.Drag->DragAndDropState(), ddsNone);
  EXPECT_EQ(Screen->Cursor(), crHourGlass) << "the cursor from before the drag";
  EXPECT_FALSE(s.Drag->MouseCapture());
  Screen->SetCursor(crDefault);
}

// Escape while dragging ends it cancelled and gives the cursor back.
TEST(BaseControl, EscapeCancelsDragAndDrop) {
  TDragScene s;
  Screen->SetCursor(crHandPoint);
  MouseEvent(s.Drag, QEvent::MouseButtonPress, TPoint(20, 20));
  ASSERT_TRUE(s.Drag->Focused() || GetFocus() == s.Drag->Handle()) << "the press focused it";
  Drag(s.Drag, TPoint(40, 30));
  ASSERT_EQ(s.Drag->DragAndDropState(), ddsInProcess);
  EXPECT_EQ(Screen->Cursor(), crDrag);
  Key(s.Drag, Qt::Key_Escape);
  EXPECT_EQ(s.Drag->DragAndDropState(), ddsNone);
  EXPECT_EQ(s.Drag->Log.back(), "end cancelled");
  EXPECT_EQ(Screen->Cursor(), crHandPoint);
  EXPECT_FALSE(s.Drag->MouseCapture());
  MouseEvent(s.Drag, QEvent::MouseButtonRelease, TPoint(40, 30));
  EXPECT_EQ(s.Drag->Log.back(), "end cancelled") << "the release after it says nothing more";
  Screen->SetCursor(crDefault);
}

// A click focuses the control; a double click does not.
TEST(BaseControl, FocusOnClickButNotOnDoubleClick) {
  TDragScene s;
  QApplication::setActiveWindow(GetWindowWidget(s.Form->Handle()));
  Application->ProcessMessages();
  s.Grid->SetFocus();
  ASSERT_TRUE(s.Grid->Focused());
  MouseEvent(s.Drag, QEvent::MouseButtonDblClick, TPoint(20, 20));
  MouseEvent(s.Drag, QEvent::MouseButtonRelease, TPoint(20, 20));
  EXPECT_TRUE(s.Grid->Focused()) << "a double click leaves the focus";
  Click(s.Drag, TPoint(20, 20));
  EXPECT_TRUE(s.Drag->Focused());
  s.Drag->SetFocusOnClick(false);
  Click(s.Grid, TPoint(20, 20));
  EXPECT_TRUE(s.Grid->Focused());
  Click(s.Drag, TPoint(20, 20));
  EXPECT_TRUE(s.Grid->Focused()) << "focus on click turned off";
}

// The dialog keys the control wants; Tab only while Ctrl is up.
TEST(BaseControl, DialogCodeOfTheWantedKeys) {
  TGridScene s;
  struct Case {
    TcxKeys Keys;
    bool Ctrl;
    LRESULT Code;
  };
  const Case cases[] = {
      {{}, false, 0},
      {{kArrows}, false, DLGC_WANTARROWS},
      {{kChars}, false, DLGC_WANTCHARS},
      {{kAll}, false, DLGC_WANTALLKEYS},
      {{kTab}, false, DLGC_WANTTAB},
      {{kTab}, true, 0},
      {{kAll, kArrows, kChars, kTab}, false, 4 + 1 + 128 + 2},
      {{kAll, kArrows, kChars, kTab}, true, 4 + 1 + 128},
  };
  QWidget* w = GetWindowWidget(s.Grid->Handle());
  for (const Case& c : cases) {
    s.Grid->SetWantedKeys(c.Keys);
    if (c.Ctrl) {
      QKeyEvent down(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
      QCoreApplication::sendEvent(w, &down);
    }
    EXPECT_EQ(s.Grid->Perform(WM_GETDLGCODE, 0, 0), c.Code) << c.Ctrl;
    if (c.Ctrl) {
      QKeyEvent up(QEvent::KeyRelease, Qt::Key_Control, Qt::NoModifier);
      QCoreApplication::sendEvent(w, &up);
    }
  }
}

namespace {
// A pop-up menu of the suite's own kind.
class TSuiteMenu : public TComponent, public IcxPopupMenu {
 public:
  using TComponent::TComponent;
  std::vector<TPoint> Shown;
  bool IsShortCutKey(TMessage&) override { return false; }
  void Popup(int X, int Y) override { Shown.push_back(TPoint(X, Y)); }
};
}  // namespace

// A right click shows a TPopupMenu or a suite menu at the click; anything else stored as the menu
// is refused and nothing shows; Shift+F10 shows the menu at the client origin.
TEST(BaseControl, ContextMenusOfEitherKind) {
  TGridScene s;
  std::vector<TPoint> platformShown;
  TModalHook old = SetModalHook([&](const TModalRequest& r) {
    if (r.Kind == TModalRequest::mrPopupMenu) platformShown.push_back(static_cast<TPopupMenu*>(r.Dialog)->PopupPoint());
    return -1;
  });
  TPoint click(40, 50);
  TPoint screen = s.Grid->ClientToScreen(click);
  TPoint origin = s.Grid->ClientToScreen(TPoint(0, 0));

  auto* menu = new TPopupMenu(s.Form.get());
  s.Grid->SetPopupMenu(menu);
  EXPECT_EQ(s.Grid->GetPopupMenu(), menu);
  Click(s.Grid, click, Qt::RightButton);
  EXPECT_EQ(platformShown, std::vector<TPoint>{screen});
  EXPECT_EQ(menu->PopupComponent(), s.Grid);

  auto* suiteMenu = new TSuiteMenu(s.Form.get());
  s.Grid->SetPopupMenu(suiteMenu);
  EXPECT_EQ(s.Grid->GetPopupMenu(), nullptr) << "not a TPopupMenu";
  Click(s.Grid, click, Qt::RightButton);
  EXPECT_EQ(suiteMenu->Shown, std::vector<TPoint>{screen});
  s.Grid->SetFocus();
  Key(s.Grid, Qt::Key_F10, Qt::ShiftModifier);
  EXPECT_EQ(suiteMenu->Shown, (std::vector<TPoint>{screen, origin}));

  auto* neither = new TComponent(s.Form.get());
  s.Grid->SetPopupMenu(neither);
  EXPECT_EQ(s.Grid->PopupMenu(), nullptr);
  Click(s.Grid, click, Qt::RightButton);
  EXPECT_EQ(platformShown.size(), 1u);
  EXPECT_EQ(suiteMenu->Shown.size(), 2u);

  s.Grid->SetPopupMenu(suiteMenu);
  delete suiteMenu;
  EXPECT_EQ(s.Grid->PopupMenu(), nullptr) << "a freed menu is let go";
  SetModalHook(old);
}

// The control's own erase (WParam = LParam) fills its background; an erase from outside erases
// nothing and says so.
TEST(BaseControl, EraseFillsOnlyForTheControlsOwnPainting) {
  TVisualStylesAbsent styles;
  TGridScene s;
  s.Grid->SetColor(TColor(0x3366CC));
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateCompatibleBitmap(dc, 40, 40);
  HGDIOBJ old = SelectObject(dc, bitmap);
  RECT all{0, 0, 40, 40};
  FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  EXPECT_EQ(s.Grid->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0), 0);
  EXPECT_EQ(GetPixel(dc, 5, 5), COLORREF(0xFFFFFF));
  EXPECT_EQ(s.Grid->Perform(WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(dc)), 1);
  EXPECT_EQ(GetPixel(dc, 5, 5), COLORREF(0x3366CC));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

// A change of the system's non-client metrics brings every control's bars back to the system
// size.
TEST(BaseControl, SettingsChangeResizesTheBars) {
  TGridScene s;
  s.Grid->HScrollBar()->SetHeight(30);
  s.Grid->VScrollBar()->SetWidth(25);
  HWND watcher = GetSettingsController()->Window();
  ASSERT_NE(watcher, nullptr);
  EXPECT_EQ(SendMessage(watcher, WM_SETTINGCHANGE, 42, 0), 0);
  EXPECT_EQ(s.Grid->HScrollBar()->Height(), 17);
  EXPECT_EQ(s.Grid->VScrollBar()->Width(), 17);
  EXPECT_EQ(s.Grid->VScrollBar()->BoundsRect(), TRect(283, 0, 300, 217));
}

// Drag images come from DrawDragImage at DragImageSize; a size with a zero side gives none.
TEST(BaseControl, DragImagesOfAPlatformDrag) {
  struct TImageGrid : TGridDemo {
    using TGridDemo::TGridDemo;
    TSize ImageSize{0, 10};
    bool HasDragImages() const override { return true; }
    TSize DragImageSize() override { return ImageSize; }
    void DrawDragImage(TcxCanvas* Canvas, const TRect& R) override {
      Canvas->FillRectWithColor(R, TColor(0x00FF00));
      Canvas->FillRectWithColor(TRect(0, 0, 4, 4), TColor(0x0000FF));
    }
  };
  TForm form(nullptr);
  auto* grid = new TImageGrid(&form);
  grid->SetParent(&form);
  EXPECT_EQ(grid->GetDragImages(), nullptr);
  auto* other = new TImageGrid(&form);
  other->SetParent(&form);
  other->ImageSize = TSize{16, 12};
  TcxDragImageList* images = other->GetDragImages();
  ASSERT_NE(images, nullptr);
  ASSERT_EQ(images->Count(), 1);
  EXPECT_EQ(images->Width(), 16);
  EXPECT_EQ(images->Height(), 12);
  EXPECT_EQ(images->Images(0)->Canvas()->Pixel(10, 10), TColor(0x00FF00));
  EXPECT_EQ(images->Images(0)->Canvas()->Pixel(1, 1), TColor(0x0000FF));
}
