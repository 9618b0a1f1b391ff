// The suite's hint window base on the test clock: when a showing is animated, how, and where the
// hint lands; and the hint preparation with the application's OnShowHint.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRegion>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/sys/Modules.h"
#include "platform/win/QtWindows.h"
#include "suite/core/cxControls.h"

namespace {

void SetToolTipEffects(bool Animation, bool Fade) {
  SystemParametersInfo(SPI_SETTOOLTIPANIMATION, 0, reinterpret_cast<void*>(intptr_t(Animation)), 0);
  SystemParametersInfo(SPI_SETTOOLTIPFADE, 0, reinterpret_cast<void*>(intptr_t(Fade)), 0);
}

struct THintWindowTest : ::testing::Test {
  void SetUp() override {
    SetManualClock(true);
    AdvanceClock(1000);
  }
  void TearDown() override {
    SetToolTipEffects(false, false);
    SetManualClock(false);
  }
  void Advance(DWORD ms) {
    AdvanceClock(ms);
    QCoreApplication::processEvents();
  }
};

enum TSeen { None, Blend, SlideDown };

TSeen SeenAnimation(TcxBaseHintWindow& Hint) {
  QWidget* w = GetWindowWidget(Hint.Handle());
  if (w->windowOpacity() < 0.01) return Blend;
  if (!w->mask().isEmpty() && w->mask().boundingRect().intersected(w->rect()).isEmpty()) return SlideDown;
  return None;
}

TEST_F(THintWindowTest, WhenAndHowAShowingIsAnimated) {
  struct TCase {
    const char* Name;
    bool Animation, Fade;
    TcxHintAnimationStyle Style;
    size_t Length;
    DWORD Gap;  // since the previous hint was shown
    bool Entry;
    TSeen Expected;
  } cases[] = {
      {"automatic without fade slides down", true, false, cxhaAuto, 10, 1000, true, SlideDown},
      {"automatic with fade blends", true, true, cxhaAuto, 10, 1000, true, Blend},
      {"a chosen style", true, false, 7, 10, 1000, true, Blend},
      {"tool-tip animation off", false, true, 7, 10, 1000, true, None},
      {"style none", true, true, cxhaNone, 10, 1000, true, None},
      {"99 characters", true, false, cxhaAuto, 99, 1000, true, SlideDown},
      {"100 characters", true, false, cxhaAuto, 100, 1000, true, None},
      {"within 250 ms of the last", true, true, cxhaAuto, 10, 250, true, None},
      {"just after 250 ms", true, true, cxhaAuto, 10, 251, true, Blend},
      {"without AnimateWindow", true, true, cxhaAuto, 10, 1000, false, None},
  };
  for (const TCase& c : cases) {
    TModuleTableGuard guard;
    if (!c.Entry) SetModuleEntry("user32", "AnimateWindow", nullptr);
    SetToolTipEffects(c.Animation, c.Fade);
    TcxBaseHintWindow hint(nullptr);
    hint.SetAnimationStyle(c.Style);
    hint.ActivateHint(Bounds(100, 100, 80, 20), "first");
    Advance(200);
    ShowWindow(hint.Handle(), SW_HIDE);
    Advance(c.Gap - 200);
    hint.ActivateHint(Bounds(100, 100, 80, 20), std::string(c.Length, 'h'));
    EXPECT_TRUE(IsWindowVisible(hint.Handle())) << c.Name;
    EXPECT_EQ(hint.HasAnimation(), c.Expected != None) << c.Name;
    EXPECT_EQ(SeenAnimation(hint), c.Expected) << c.Name;
    Advance(100);
    EXPECT_EQ(SeenAnimation(hint), None) << "done after the delay: " << c.Name;
  }
}

TEST_F(THintWindowTest, AHintPartlyOffTheDesktopIsMovedInside) {
  TcxBaseHintWindow hint(nullptr);
  const TRect work = DesktopWorkAreaAt(GetMouseScreenPos());
  hint.ActivateHint(Bounds(work.Right - 30, work.Top + 50, 120, 24), "Right edge");
  EXPECT_EQ(GetWindowRectOrEmpty(hint.Handle()), Bounds(work.Right - 120, work.Top + 50, 120, 24));
  hint.ActivateHint(Bounds(work.Left - 40, work.Bottom - 10, 120, 24), "Bottom left");
  EXPECT_EQ(GetWindowRectOrEmpty(hint.Handle()), Bounds(work.Left, work.Bottom - 24, 120, 24));
  // Moving it by its bounds keeps it inside too.
  hint.SetBounds(work.Right + 500, work.Top + 5, 120, 24);
  EXPECT_EQ(hint.BoundsRect(), Bounds(work.Right - 120, work.Top + 5, 120, 24));
}

class TWideHint : public TcxBaseHintWindow {
 public:
  using TcxBaseHintWindow::TcxBaseHintWindow;
};

TEST_F(THintWindowTest, PreparingAHintAsksTheApplicationAndMakesTheWindow) {
  TForm form(nullptr);
  form.SetBounds(0, 0, 200, 100);
  auto* button = new TCustomControl(&form);
  button->SetBounds(20, 30, 60, 20);
  button->SetParent(&form);
  form.Show();
  THintWindow* window = nullptr;
  std::string asked;
  int hideTimeout = 0;
  Application->OnShowHint = [&](std::string& Text, bool& CanShow, THintInfo& Info) {
    asked = Text;
    hideTimeout = Info.HideTimeout;
    EXPECT_EQ(Info.HintControl, button);
    EXPECT_EQ(Info.CursorRect, Bounds(0, 0, 60, 20)) << "the control's bounds at its client origin";
    Info.HintWindowClass = &MakeHintWindow<TWideHint>;
    CanShow = Text != "refused";
    Text += "!";
  };
  TRect r = Bounds(300, 200, 0, 0);
  THintInfo info;
  ASSERT_TRUE(PrepareHintInfo(info, window, button, "Play", r, nullptr, 1234));
  EXPECT_EQ(asked, "Play");
  EXPECT_EQ(hideTimeout, 1234);
  EXPECT_EQ(info.HintStr, "Play!");
  ASSERT_NE(dynamic_cast<TWideHint*>(window), nullptr) << "made of the class the handler chose";
  EXPECT_EQ(r.TopLeft(), TPoint(300, 200));
  EXPECT_GT(r.Width(), 0);
  THintWindow* same = window;
  TRect r2 = Bounds(300, 200, 0, 0);
  ASSERT_TRUE(PrepareHintInfo(info, window, button, "Play", r2));
  EXPECT_EQ(window, same) << "a window of the right class is kept";
  EXPECT_EQ(hideTimeout, Application->HintHidePause()) << "without a time-out of its own";
  EXPECT_FALSE(PrepareHintInfo(info, window, button, "refused", r2));
  Application->OnShowHint = nullptr;
  EXPECT_FALSE(PrepareHintInfo(info, window, button, "", r2)) << "an empty text shows nothing";
  delete window;
}

}  // namespace

namespace {

TEST_F(THintWindowTest, ActivatedOnTheScreenAlsoWhenItShowedBefore) {
  TcxBaseHintWindow hint(nullptr);
  hint.ActivateHint(Bounds(40, 50, 80, 20), "before");
  ActivateHintOnScreen(&hint, Bounds(60, 70, 90, 22), "on screen");
  EXPECT_TRUE(IsWindowVisible(hint.Handle()));
  EXPECT_EQ(GetWindowRectOrEmpty(hint.Handle()), Bounds(60, 70, 90, 22));
  EXPECT_EQ(hint.Caption(), "on screen");
  QWidget* widget = GetWindowWidget(hint.Handle());
  ASSERT_NE(widget, nullptr);
  EXPECT_TRUE(widget->isVisible() && widget->isWindow()) << "still a top-level window of its own";
}

}  // namespace
