// The unfold and slide reveal of a menu window: step arithmetic, the part of the finished
// picture each step shows, and stopping with and without the final placement.

#include <gtest/gtest.h>

#include <QImage>

#include "platform/gui/Controls.h"
#include "platform/gui/Forms.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"
#include "suite/bars/dxBarAnimation.h"

namespace {

// A pop-up whose finished picture has a distinct colour at every pixel: red grows with x and
// green with y, so a shown pixel tells which pixel of the picture it is.
struct TPictureWindow : TCustomControl {
  TPictureWindow() : TCustomControl(nullptr) { SetVisible(false); }
  void CreateParams(TCreateParams& Params) override {
    TCustomControl::CreateParams(Params);
    Params.Style = WS_POPUP;
    Params.ExStyle = WS_EX_NOACTIVATE;
  }
  void Dispatch(TMessage& Message) override {
    if (Message.Msg == WM_PRINTCLIENT) {
      HDC dc = HDC(Message.WParam);
      for (int y = 0; y < 256; ++y)
        for (int x = 0; x < 256; ++x) SetPixel(dc, x, y, RGB(x, y, 0));
      return;
    }
    if (Message.Msg == WM_ERASEBKGND) {
      Message.Result = 1;
      return;
    }
    if (Message.Msg == WM_PAINT && Animating) {
      // While it animates the menu paints nothing of its own.
      PAINTSTRUCT ps;
      BeginPaint(WindowHandle(), &ps);
      EndPaint(WindowHandle(), &ps);
      return;
    }
    TCustomControl::Dispatch(Message);
  }
  bool Animating = true;
};

struct TAnimationFixture : ::testing::Test {
  std::unique_ptr<TPictureWindow> Menu = std::make_unique<TPictureWindow>();
  void SetUp() override { SetManualClock(true); }
  void TearDown() override { SetManualClock(false); }
  static void Tick() {
    AdvanceClock(TdxBarAnimationThread::StepInterval);
    Application->ProcessMessages();
  }
  TRect WindowRect() {
    RECT r{};
    GetWindowRect(Menu->Handle(), &r);
    return TRect(r);
  }
  TdxBarAnimationThread* Start(uint8_t Kind, int W, int H, bool Left, bool Up) {
    Menu->SetBounds(100, 100, W, H);
    Menu->HandleNeeded();
    return new TdxBarAnimationThread(MakeAnimationInfo(Menu.get(), Kind, 100, 100, W, H, 0, 0, Left, Up));
  }
};

TEST(MenuAnimationArithmetic, StepCountsAndSizes) {
  struct {
    uint8_t kind;
    int w, h;
    int steps, firstValue;
    TSize first, last;
  } cases[] = {
      // The wider side leads the shorter by their difference and both arrive at the last step.
      {dxBarAnimationUnfold, 300, 120, 15, -180, TSize(188, 8), TSize(300, 120)},
      {dxBarAnimationUnfold, 100, 260, 12, 160, TSize(8, 168), TSize(96, 256)},
      {dxBarAnimationUnfold, 64, 64, 8, 0, TSize(8, 8), TSize(64, 64)},
      // A slide keeps the full width and grows 17 pixels a step.
      {dxBarAnimationSlide, 150, 170, 10, 0, TSize(150, 17), TSize(150, 170)},
      {dxBarAnimationSlide, 150, 16, 0, 0, TSize(150, 17), TSize(150, 0)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << int(c.kind) << " " << c.w << "x" << c.h);
    const TdxBarAnimationInfo info = MakeAnimationInfo(nullptr, c.kind, 0, 0, c.w, c.h, 2, 2, false, false);
    EXPECT_EQ(AnimationStepCount(info), c.steps);
    EXPECT_EQ(info.FirstValue, c.firstValue);
    const TSize first = AnimationStepClientSize(info, 1, c.w);
    EXPECT_EQ(first.cx, c.first.cx);
    EXPECT_EQ(first.cy, c.first.cy);
    const TSize last = AnimationStepClientSize(info, c.steps, c.w);
    if (c.steps) {
      EXPECT_EQ(last.cx, c.last.cx);
      EXPECT_EQ(last.cy, c.last.cy);
    }
  }
}

TEST(MenuAnimationArithmetic, AnchoredEdgesAndShownPart) {
  // A 300 x 120 client with a 2-pixel frame on each side, at step 1 (188 x 8).
  struct {
    bool left, up;
    TRect bounds, source;
  } cases[] = {
      {false, false, TRect(50, 60, 50 + 192, 60 + 12), TRect(0, 112, 188, 120)},    // bottom-left part
      {true, false, TRect(50 + 300 - 188, 60, 50 + 300 + 4, 60 + 12), TRect(112, 112, 300, 120)},  // bottom-right
      {false, true, TRect(50, 60 + 120 - 8, 50 + 192, 60 + 120 + 4), TRect(0, 0, 188, 8)},         // top-left
      {true, true, TRect(50 + 300 - 188, 60 + 120 - 8, 50 + 300 + 4, 60 + 120 + 4), TRect(0, 0, 188, 8)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.left << c.up);
    const TdxBarAnimationInfo info =
        MakeAnimationInfo(nullptr, dxBarAnimationUnfold, 50, 60, 300, 120, 4, 4, c.left, c.up);
    // The window before the step: the full client size, as if it had already been shown.
    const TRect current(50, 60, 50 + 304, 60 + 124);
    const TRect bounds = AnimationStepBounds(info, 1, current, TSize(300, 120));
    EXPECT_EQ(bounds, c.bounds);
    EXPECT_EQ(AnimationSourceRect(info, TSize(188, 8)), c.source);
  }
}

TEST_F(TAnimationFixture, UnfoldRunsFifteenStepsOnePerTickShowingThePicture) {
  bool forgotten = false, finished = false;
  TdxBarAnimationThread* thread = Start(dxBarAnimationUnfold, 300, 120, false, false);
  thread->OnTerminate = [&](TObject*) { forgotten = true; };
  thread->OnFinishAnimation = [&] { finished = true; Menu->Animating = false; };
  EXPECT_TRUE(thread->Suspended());
  thread->Resume();
  for (int i = 1; i <= 14; ++i) {
    Tick();
    ASSERT_EQ(thread->StepsDone(), i);
    EXPECT_EQ(WindowRect().Width(), 180 + 8 * i);
    EXPECT_EQ(WindowRect().Height(), 8 * i);
  }
  // Growing down and right, the window shows the bottom-left part of the picture.
  QImage* buffer = GetWindowBackBuffer(Menu->Handle());
  ASSERT_TRUE(buffer);
  const QRgb corner = buffer->pixel(0, 0);
  EXPECT_EQ(qRed(corner), 0);
  EXPECT_EQ(qGreen(corner), 120 - 8 * 14);
  EXPECT_FALSE(forgotten);
  Tick();  // the fifteenth step ends the animation; the object frees itself
  EXPECT_TRUE(forgotten);
  EXPECT_TRUE(finished);
  EXPECT_EQ(WindowRect(), TRect(100, 100, 400, 220));
  Tick();
}

TEST_F(TAnimationFixture, StoppingEarlyPlacesTheMenuOnlyWhenAskedTo) {
  for (bool finish : {false, true}) {
    SCOPED_TRACE(finish);
    bool finished = false;
    TdxBarAnimationThread* thread = Start(dxBarAnimationSlide, 150, 170, false, true);
    thread->OnFinishAnimation = [&] { finished = true; };
    thread->Resume();
    Tick();
    Tick();
    // Growing upwards: the bottom edge stays at 270.
    EXPECT_EQ(WindowRect(), TRect(100, 270 - 34, 250, 270));
    thread->Stop(finish);
    EXPECT_EQ(finished, finish);
    EXPECT_EQ(WindowRect(), finish ? TRect(100, 100, 250, 270) : TRect(100, 270 - 34, 250, 270));
    Tick();  // no step runs any more
    EXPECT_EQ(WindowRect().Height(), finish ? 170 : 34);
  }
}

TEST_F(TAnimationFixture, AMenuFreedDuringTheAnimationGetsNoFinalPlacement) {
  bool finished = false;
  TdxBarAnimationThread* thread = Start(dxBarAnimationUnfold, 80, 80, false, false);
  thread->OnFinishAnimation = [&] { finished = true; };
  thread->Resume();
  Tick();
  Menu.reset();
  Tick();  // the animation notices, ends and frees itself
  EXPECT_FALSE(finished);
  Tick();
}

}  // namespace
