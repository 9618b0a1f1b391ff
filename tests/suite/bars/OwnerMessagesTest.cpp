// What the owner form's window messages do to its manager's bars, on real windows.
#include <gtest/gtest.h>

#include "BarTestSupport.h"
#include "platform/gui/Forms.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBar.h"

namespace {

struct TOwnerMessages : TBarFixture {
  TdxBar* Floating = nullptr;
  TOwnerMessages() {
    Form->SetBounds(50, 50, 640, 420);
    Form->Show();
    Application->ProcessMessages();
    Floating = Manager->Bars()->Add();
    Floating->SetCaption("Floating");
    Floating->ItemLinks()->AddLinkForItem(NewItem<TdxBarButton>("One"));
    Floating->SetFloatLeft(200);
    Floating->SetFloatTop(150);
    Floating->SetDockingStyle(dsNone);
    Manager->HideFloatingBarsWhenInactive = false;
    Floating->SetVisible(true);
    Application->ProcessMessages();
    Manager->HideFloatingBarsWhenInactive = true;
  }
  HWND FloatingWindow() const { return Floating->BarControl() ? Floating->BarControl()->Handle() : nullptr; }
};

}  // namespace

TEST_F(TOwnerMessages, FloatingBarsHideWhenAnotherApplicationIsActivatedAndComeBack) {
  ASSERT_TRUE(FloatingWindow());
  HWND form = Form->Handle();
  SendMessage(form, WM_ACTIVATE, WA_ACTIVE, 0);
  ASSERT_TRUE(IsWindowVisible(FloatingWindow()));
  // A child window of the same form keeps them.
  HWND child = Manager->Bars()->DockControls(dsTop)->Handle();
  SendMessage(form, WM_ACTIVATE, WA_INACTIVE, LPARAM(child));
  EXPECT_TRUE(IsWindowVisible(FloatingWindow()));
  EXPECT_TRUE(Manager->BarsActive());
  // No window of ours: another application's.
  SendMessage(form, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_FALSE(Manager->BarsActive());
  EXPECT_FALSE(IsWindowVisible(FloatingWindow()));
  EXPECT_TRUE(Floating->Visible());
  SendMessage(form, WM_ACTIVATE, WA_ACTIVE, 0);
  EXPECT_TRUE(Manager->BarsActive());
  EXPECT_TRUE(IsWindowVisible(FloatingWindow()));
  // Without hiding, the bars stay while inactive.
  Manager->HideFloatingBarsWhenInactive = false;
  SendMessage(form, WM_ACTIVATE, WA_INACTIVE, 0);
  EXPECT_TRUE(IsWindowVisible(FloatingWindow()));
}

TEST_F(TOwnerMessages, DisplayAndWorkAreaChangesBringFloatingBarsBackInside) {
  MONITORINFO mi;
  ASSERT_TRUE(GetMonitorInfo(MonitorFromWindow(Form->Handle(), MONITOR_DEFAULTTONEAREST), &mi));
  TdxBar* hidden = Manager->Bars()->Add();
  hidden->SetDockingStyle(dsNone);
  hidden->SetFloatClientWidth(100);
  hidden->SetFloatClientHeight(30);
  hidden->SetFloatLeft(mi.rcWork.right + 500);
  hidden->SetFloatTop(mi.rcWork.top - 300);
  SendMessage(Form->Handle(), 0x007E /* WM_DISPLAYCHANGE */, 32, 0);
  EXPECT_EQ(hidden->FloatTop(), mi.rcWork.top);
  EXPECT_LE(hidden->FloatLeft() + 100, mi.rcWork.right);
  EXPECT_GT(hidden->FloatLeft(), mi.rcWork.left);

  hidden->SetFloatLeft(mi.rcWork.left - 80);
  hidden->SetFloatTop(mi.rcWork.bottom - 10);
  SendMessage(Form->Handle(), WM_SETTINGCHANGE, 47 /* SPI_SETWORKAREA */, 0);
  EXPECT_EQ(hidden->FloatLeft(), mi.rcWork.left);
  EXPECT_LE(hidden->FloatTop() + 30, mi.rcWork.bottom);
}
