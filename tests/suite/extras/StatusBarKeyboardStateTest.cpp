// The keyboard-state panel: its cells' widths and captions following the lock keys as the key
// events sent to the bar set them, polled on the test clock.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <algorithm>
#include <string>

#include "platform/win/QtWindows.h"
#include "suite/core/PainterTestSupport.h"
#include "suite/extras/StatusBarTestSupport.h"
#include "suite/extras/dxStatusBar.h"

namespace {

using statusbar_test::TBarScene;

void SendKey(TWinControl* Control, int QtKey, bool Down) {
  QKeyEvent e(Down ? QEvent::KeyPress : QEvent::KeyRelease, QtKey, Qt::NoModifier);
  QCoreApplication::sendEvent(GetWindowWidget(Control->Handle()), &e);
}

// The key events the bar sees decide the lock keys, whatever the X server shows.
struct TSeenKeysOnly {
  TLockKeySource Old = SetLockKeySource([](int) { return -1; });
  ~TSeenKeysOnly() { SetLockKeySource(Old); }
};

struct TKeyPanel : TBarScene {
  TdxStatusBarKeyboardStatePanelStyle* Style;
  TKeyPanel() : TBarScene(300) {
    Bar->SetSizeGrip(false);
    TdxStatusBarPanel* p = Add(10);
    p->SetPanelStyleClassName("TdxStatusBarKeyboardStatePanelStyle");
    Style = static_cast<TdxStatusBarKeyboardStatePanelStyle*>(p->PanelStyle());
    Add(50);
  }
  int TextWidth(const std::string& Text) {
    TcxCanvas* c = Bar->Canvas();
    c->AssignFont(Style->Font());
    return c->MeasureTextWidth(Text);
  }
  // The darkest grey of the first cell's caption: black when the key shows on, the shadow grey
  // (or lighter, where the letters blend with the face) when it shows off.
  int Darkest() {
    QImage img = Shot();
    const TRect cell = Bar->ViewInfo()->Panels(0)->Bounds.Inflate(-1, -1);
    int darkest = 255;
    for (int y = cell.Top; y < cell.Bottom; ++y)
      for (int x = cell.Left; x < cell.Right; ++x) darkest = std::min(darkest, qGray(img.pixel(x, y)));
    return darkest;
  }
};

}  // namespace

TEST(StatusBarKeyboardState, CellsAreTheWidestCaptionPlusMargins) {
  TKeyPanel k;
  const int separator = 2, margins = 2;
  k.Style->SetKeyboardStates({dxksCapsLock});
  EXPECT_EQ(k.Widths()[0], k.TextWidth("CAPS") + 4 + margins);
  k.Style->SetKeyboardStates({dxksCapsLock, dxksInsert});
  const int insert = std::max(k.TextWidth("INS"), k.TextWidth("OVR")) + 4;
  EXPECT_EQ(k.Widths()[0], k.TextWidth("CAPS") + 4 + margins + separator + insert + margins);
  // One bevel round the whole panel: no margins per cell, and the panel's own 2.
  k.Style->SetFullRect(true);
  EXPECT_EQ(k.Widths()[0], k.TextWidth("CAPS") + 4 + separator + insert + 2);
  k.Style->SetKeyboardStates({});
  EXPECT_EQ(k.Widths()[0], 50 + 2);
}

TEST(StatusBarKeyboardState, ALockShowsOnOnlyOnceReleased) {
  TSeenKeysOnly seen;
  suitetest::TManualClock clock;
  struct TCase {
    TdxStatusBarKeyboardState Key;
    int QtKey, Vk;
  };
  const TCase cases[] = {{dxksCapsLock, Qt::Key_CapsLock, VK_CAPITAL},
                         {dxksNumLock, Qt::Key_NumLock, VK_NUMLOCK},
                         {dxksScrollLock, Qt::Key_ScrollLock, VK_SCROLL},
                         {dxksInsert, Qt::Key_Insert, VK_INSERT}};
  for (const TCase& c : cases) {
    SCOPED_TRACE(int(c.Key));
    TKeyPanel k;
    k.Style->SetKeyboardStates({c.Key});
    auto tap = [&] {
      SendKey(k.Bar, c.QtKey, true);
      SendKey(k.Bar, c.QtKey, false);
    };
    if (GetKeyState(c.Vk) & 1) tap();
    suitetest::Tick(100);
    const int shadow = qGray(painter_test::Rgb(clBtnShadow));
    EXPECT_GE(k.Darkest(), shadow);
    // Held down the lock is toggled but still shows off.
    SendKey(k.Bar, c.QtKey, true);
    suitetest::Tick(100);
    EXPECT_GE(k.Darkest(), shadow);
    SendKey(k.Bar, c.QtKey, false);
    suitetest::Tick(100);
    EXPECT_LT(k.Darkest(), 0x40);
    tap();
    suitetest::Tick(100);
    EXPECT_GE(k.Darkest(), shadow);
  }
}
