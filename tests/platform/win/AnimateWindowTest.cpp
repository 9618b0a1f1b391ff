// AnimateWindow on the test clock: the window shows at once and reveals itself through its
// opacity or a growing mask; hiding runs the other way. The menu and tool-tip effects are off
// until set.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QRegion>
#include <QWidget>

#include "platform/sys/Modules.h"
#include "platform/win/QtWindows.h"
#include "platform/win/Windows.h"

namespace {

struct TAnimateTest : ::testing::Test {
  HWND Window = nullptr;
  void SetUp() override {
    SetManualClock(true);
    Window = CreateWindowEx(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 30, 40, 100, 40, nullptr,
                            nullptr, nullptr, nullptr);
  }
  void TearDown() override {
    DestroyWindow(Window);
    SetManualClock(false);
  }
  void Advance(DWORD ms) {
    AdvanceClock(ms);
    QCoreApplication::processEvents();
  }
  QWidget* Widget() { return GetWindowWidget(Window); }
  // What the mask lets through (the whole window without a mask).
  QRect Shown() {
    QRegion mask = Widget()->mask();
    if (mask.isEmpty()) return QRect(0, 0, 100, 40);
    QRect r = mask.boundingRect().intersected(QRect(0, 0, 100, 40));
    return r.isEmpty() ? QRect() : r;
  }
};

TEST_F(TAnimateTest, BlendRaisesTheOpacityOverTheTime) {
  EXPECT_TRUE(AnimateWindow(Window, 100, AW_BLEND));
  EXPECT_TRUE(IsWindowVisible(Window)) << "returns at once, shown";
  EXPECT_DOUBLE_EQ(Widget()->windowOpacity(), 0.0);
  Advance(50);
  EXPECT_NEAR(Widget()->windowOpacity(), 0.5, 0.01);
  Advance(60);
  EXPECT_DOUBLE_EQ(Widget()->windowOpacity(), 1.0);
  EXPECT_FALSE(AnimateWindow(Window, 100, AW_BLEND)) << "already shown";
  // Hiding fades out, then hides, and leaves the window opaque for its next showing.
  EXPECT_TRUE(AnimateWindow(Window, 100, AW_BLEND | AW_HIDE));
  Advance(40);
  EXPECT_TRUE(IsWindowVisible(Window));
  EXPECT_NEAR(Widget()->windowOpacity(), 0.6, 0.01);
  Advance(60);
  EXPECT_FALSE(IsWindowVisible(Window));
  EXPECT_DOUBLE_EQ(Widget()->windowOpacity(), 1.0);
}

TEST_F(TAnimateTest, SlidesAndTheCentreRevealThroughAGrowingMask) {
  struct TCase {
    DWORD Flags;
    QRect AtHalf;
  } cases[] = {
      {AW_SLIDE | AW_HOR_POSITIVE, QRect(0, 0, 50, 40)},
      {AW_SLIDE | AW_HOR_NEGATIVE, QRect(50, 0, 50, 40)},
      {AW_SLIDE | AW_VER_POSITIVE, QRect(0, 0, 100, 20)},
      {AW_SLIDE | AW_VER_NEGATIVE, QRect(0, 20, 100, 20)},
      {AW_VER_POSITIVE, QRect(0, 0, 100, 20)},  // a roll reveals the same way
      {AW_SLIDE | AW_CENTER, QRect(25, 10, 50, 20)},
  };
  for (const TCase& c : cases) {
    ShowWindow(Window, SW_HIDE);
    EXPECT_TRUE(AnimateWindow(Window, 200, c.Flags));
    EXPECT_EQ(Shown(), QRect()) << "nothing yet, flags " << c.Flags;
    Advance(100);
    EXPECT_EQ(Shown(), c.AtHalf) << "flags " << c.Flags;
    Advance(100);
    EXPECT_TRUE(Widget()->mask().isEmpty()) << "no mask once revealed, flags " << c.Flags;
  }
}

TEST_F(TAnimateTest, TheWindowsOwnRegionLimitsTheRevealAndStays) {
  SetWindowRgn(Window, CreateRectRgn(10, 0, 90, 40), FALSE);
  EXPECT_TRUE(AnimateWindow(Window, 100, AW_SLIDE | AW_VER_POSITIVE));
  Advance(50);
  EXPECT_EQ(Widget()->mask().boundingRect(), QRect(10, 0, 80, 20));
  Advance(50);
  EXPECT_EQ(Widget()->mask().boundingRect(), QRect(10, 0, 80, 40));
}

TEST_F(TAnimateTest, ZeroTimeShowsAtOnceAndTheEntryIsInTheModuleTable) {
  EXPECT_TRUE(AnimateWindow(Window, 0, AW_SLIDE | AW_VER_POSITIVE));
  EXPECT_TRUE(IsWindowVisible(Window));
  EXPECT_TRUE(Widget()->mask().isEmpty());
  HMODULE user32 = GetModuleHandle("user32");
  EXPECT_EQ(reinterpret_cast<FARPROC>(&AnimateWindow), GetProcAddress(user32, "AnimateWindow"));
  EXPECT_NE(GetProcAddress(user32, "SetLayeredWindowAttributes"), nullptr);
  EXPECT_NE(GetProcAddress(user32, "MonitorFromPoint"), nullptr);
  EXPECT_NE(GetProcAddress(user32, "GetMonitorInfoA"), nullptr);
  EXPECT_FALSE(AnimateWindow(nullptr, 10, AW_BLEND));
}

TEST(SystemParameters, TheMenuAndToolTipEffectsAreOffUntilSet) {
  for (UINT get : {SPI_GETTOOLTIPANIMATION, SPI_GETTOOLTIPFADE, SPI_GETMENUANIMATION, SPI_GETMENUFADE}) {
    BOOL on = TRUE;
    EXPECT_TRUE(SystemParametersInfo(get, 0, &on, 0));
    EXPECT_FALSE(on) << get;
    SystemParametersInfo(get + 1, 0, reinterpret_cast<void*>(TRUE), 0);
    EXPECT_TRUE(SystemParametersInfo(get, 0, &on, 0) && on) << get;
    SystemParametersInfo(get + 1, 0, nullptr, 0);
    EXPECT_TRUE(SystemParametersInfo(get, 0, &on, 0) && !on) << get;
  }
}

}  // namespace
