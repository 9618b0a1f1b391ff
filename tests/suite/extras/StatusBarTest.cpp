// The status bar on a real form: panel layout, width rules, the size grip, clicks, hints and
// the container panel, read back from what the bar drew.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/StdCtrls.h"
#include "suite/core/ControlTestSupport.h"
#include "suite/core/PainterTestSupport.h"
#include "suite/extras/StatusBarTestSupport.h"
#include "suite/extras/dxStatusBar.h"

namespace {

using painter_test::Rgb;
using statusbar_test::TBarScene;

}  // namespace

TEST(StatusBar, PanelsShareTheBarsWidth) {
  struct TCase {
    const char* Name;
    std::vector<std::pair<int, bool>> Panels;  // width, fixed
    std::vector<int> Expected;
  };
  // The last panel reserves the grip's 16 pixels; every panel with its own bevel 2 more.
  const TCase cases[] = {
      {"two fixed: the last takes the rest", {{130, true}, {400, true}}, {132, 2, 705}},
      {"flexible middle stretches alone", {{100, true}, {100, false}, {100, true}}, {102, 2, 615, 2, 118}},
      {"one panel fills the bar", {{60, true}}, {839}},
      {"too wide: fixed widths kept", {{500, true}, {500, true}}, {502, 2, 335}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TBarScene s;
    for (auto [w, fixed] : c.Panels) s.Add(w, fixed);
    EXPECT_EQ(s.Widths(), c.Expected);
  }
}

TEST(StatusBar, HiddenPanelsLeaveNoGap) {
  TBarScene s;
  s.Add(130);
  s.Add(200)->SetVisible(false);
  s.Add(400);
  EXPECT_EQ(s.Widths(), (std::vector<int>{132, 2, 705}));
  EXPECT_EQ(s.Bar->ViewInfo()->Panels(1)->Bounds.Left, 134);
}

TEST(StatusBar, WidthAndMinWidthRules) {
  TBarScene s;
  TdxStatusBarPanel* p = s.Add(50);
  p->SetMinWidth(100);
  EXPECT_EQ(p->Width(), 100);
  p->SetWidth(10);
  EXPECT_EQ(p->Width(), 100);
  p->SetMinWidth(-5);
  EXPECT_EQ(p->MinWidth(), 0);
  p->SetMinWidth(20);
  p->SetWidth(10);
  EXPECT_EQ(p->Width(), 20);
  // A style that sizes itself ignores the widths and is always fixed.
  p->SetFixed(false);
  p->SetPanelStyleClassName("TdxStatusBarStateIndicatorPanelStyle");
  EXPECT_TRUE(p->Fixed());
  EXPECT_EQ(p->Width(), p->PanelStyle()->StyleMinWidth());
  p->SetPanelStyleClassName("TdxStatusBarTextPanelStyle");
  EXPECT_FALSE(p->Fixed());
  EXPECT_EQ(p->Width(), 20);
  // An unknown style name leaves the panel without a style.
  p->SetPanelStyleClassName("TNoSuchStyle");
  EXPECT_EQ(p->PanelStyle(), nullptr);
  EXPECT_EQ(p->PanelStyleClassName(), "");
  EXPECT_EQ(p->Width(), 20);
}

TEST(StatusBar, NoVisiblePanelPaintsOneLoweredPanel) {
  TBarScene s(200);
  s.Add(50)->SetVisible(false);
  s.Bar->SetSizeGrip(false);
  QImage img = s.Shot();
  // Below the 2-pixel top strip, one sunken edge round the whole content area.
  const int h = s.Bar->Height();
  EXPECT_EQ(img.pixel(0, 2) & 0xFFFFFF, Rgb(clBtnShadow));
  EXPECT_EQ(img.pixel(199, 2) & 0xFFFFFF, Rgb(clBtnHighlight));
  EXPECT_EQ(img.pixel(0, h - 1) & 0xFFFFFF, Rgb(clBtnHighlight));
  EXPECT_EQ(img.pixel(100, 2) & 0xFFFFFF, Rgb(clBtnShadow));
  EXPECT_EQ(img.pixel(100, h - 1) & 0xFFFFFF, Rgb(clBtnHighlight));
  EXPECT_EQ(img.pixel(100, 10) & 0xFFFFFF, Rgb(clBtnFace));
}

TEST(StatusBar, GripAnswersTheSizingHitOnlyWhereTheFormCanBeSized) {
  TBarScene s(300);
  s.Add(100);
  auto hit = [&](TPoint client) {
    TPoint p = s.Bar->ClientToScreen(client);
    return SendMessage(s.Bar->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.X, p.Y));
  };
  const int w = s.Bar->Width(), h = s.Bar->Height();
  EXPECT_EQ(hit(TPoint(w - 1, h - 1)), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(TPoint(w - 18, h - 18)), HTBOTTOMRIGHT);
  EXPECT_EQ(hit(TPoint(w - 19, h - 1)), HTCLIENT);
  EXPECT_EQ(hit(TPoint(10, 10)), HTCLIENT);
  s.Form->SetBorderStyle(bsSingle);
  EXPECT_FALSE(s.Bar->ShowsSizeGrip());
  EXPECT_EQ(hit(TPoint(w - 1, h - 1)), HTCLIENT);
  s.Form->SetBorderStyle(bsSizeable);
  EXPECT_TRUE(s.Bar->ShowsSizeGrip());
  s.Bar->SetSizeGrip(false);
  EXPECT_EQ(hit(TPoint(w - 1, h - 1)), HTCLIENT);
}

TEST(StatusBar, MaximizedFormShowsNoGrip) {
  TBarScene s(300);
  s.Add(100);
  ASSERT_TRUE(s.Bar->ShowsSizeGrip());
  s.Form->SetWindowState(wsMaximized);
  Application->ProcessMessages();
  EXPECT_FALSE(s.Bar->ShowsSizeGrip());
  TPoint p = s.Bar->ClientToScreen(TPoint(s.Bar->Width() - 1, s.Bar->Height() - 1));
  EXPECT_EQ(SendMessage(s.Bar->Handle(), WM_NCHITTEST, 0, MAKELPARAM(p.X, p.Y)), HTCLIENT);
}

// A bar that is not in a form, or not in its form's corner, has no grip: asking never fails.
TEST(StatusBar, GripNeedsTheFormsCorner) {
  TdxStatusBar loose(nullptr);
  loose.SetBounds(0, 0, 200, 20);
  loose.Panels()->Add();
  EXPECT_FALSE(loose.ShowsSizeGrip());
  EXPECT_NO_THROW(loose.RecalculateAndInvalidate());

  TForm form(nullptr);
  form.SetClientWidth(300);
  form.SetClientHeight(100);
  auto* holder = new TPanel(&form);
  holder->SetParent(&form);
  holder->SetBevelOuter(bvNone);
  holder->SetBounds(0, 0, 300, 100);
  auto* bar = new TdxStatusBar(&form);
  bar->SetParent(holder);
  form.Show();
  Application->ProcessMessages();
  EXPECT_TRUE(bar->ShowsSizeGrip());
  holder->SetBounds(0, 0, 250, 100);
  EXPECT_FALSE(bar->ShowsSizeGrip());
  // Taken out of the form that owns it, it answers "no grip" while it lays out and paints.
  bar->SetParent(nullptr);
  EXPECT_FALSE(bar->ShowsSizeGrip());
  TdxStatusBarPanel* p = nullptr;
  EXPECT_NO_THROW(p = bar->Panels()->Add());
  ASSERT_NE(p, nullptr);
  EXPECT_EQ(p->LayoutWidth(), 52);
  bar->SetBounds(0, 0, 200, 20);
  EXPECT_NO_THROW(suitetest::Snapshot(bar));
}

TEST(StatusBar, DoubleClickFiresOnThePressAndClickOnTheRelease) {
  TBarScene s(300);
  TdxStatusBarPanel* first = s.Add(100);
  s.Add(100);
  std::vector<std::string> events;
  first->OnClick = [&](TObject* Sender) { events.push_back(Sender == first ? "click" : "?"); };
  first->OnDblClick = [&](TObject* Sender) { events.push_back(Sender == first ? "dblclick" : "?"); };
  const TPoint at(20, 10);
  suitetest::MouseEvent(s.Bar, QEvent::MouseButtonPress, at);
  EXPECT_TRUE(events.empty());
  suitetest::MouseEvent(s.Bar, QEvent::MouseButtonRelease, at);
  suitetest::MouseEvent(s.Bar, QEvent::MouseButtonDblClick, at);
  EXPECT_EQ(events, (std::vector<std::string>{"click", "dblclick"}));
  suitetest::MouseEvent(s.Bar, QEvent::MouseButtonRelease, at);
  EXPECT_EQ(events, (std::vector<std::string>{"click", "dblclick", "click"}));
  // The separator and the other panel are not this panel.
  suitetest::Click(s.Bar, TPoint(103, 10));
  suitetest::Click(s.Bar, TPoint(150, 10));
  EXPECT_EQ(events.size(), 3u);
}

TEST(StatusBar, AutoHintOnOneTextPanelTakesTheHints) {
  TBarScene s(400);
  TdxStatusBarPanel* a = s.Add(100);
  TdxStatusBarPanel* b = s.Add(100);
  auto* styleA = static_cast<TdxStatusBarTextPanelStyle*>(a->PanelStyle());
  auto* styleB = static_cast<TdxStatusBarTextPanelStyle*>(b->PanelStyle());
  styleA->SetAutoHint(true);
  styleB->SetAutoHint(true);
  EXPECT_FALSE(styleA->AutoHint());
  EXPECT_TRUE(styleB->AutoHint());

  THintAction hint(nullptr);
  hint.SetHint("Opens a sound file");
  EXPECT_TRUE(s.Form->ExecuteAction(&hint));
  EXPECT_EQ(b->Text(), "Opens a sound file");
  EXPECT_EQ(a->Text(), "");

  // With a hint handler the handler runs instead.
  int heard = 0;
  s.Bar->OnHint = [&](TObject*) { ++heard; };
  hint.SetHint("Saves");
  s.Bar->ExecuteAction(&hint);
  EXPECT_EQ(heard, 1);
  EXPECT_EQ(b->Text(), "Opens a sound file");
}

TEST(StatusBar, ContainerPanelSizesItsChild) {
  TBarScene s(400);
  s.Add(100);
  TdxStatusBarPanel* p = s.Add(150);
  p->SetPanelStyleClassName("TdxStatusBarContainerPanelStyle");
  auto* style = dynamic_cast<TdxStatusBarContainerPanelStyle*>(p->PanelStyle());
  ASSERT_NE(style, nullptr);
  TdxStatusBarContainerControl* container = style->Container();
  ASSERT_NE(container, nullptr);
  EXPECT_EQ(container->Parent(), s.Bar);
  auto* edit = new TEdit(s.Form.get());
  edit->SetParent(container);
  edit->SetAlign(alClient);
  s.Bar->RecalculateAndInvalidate();
  // The panel's content less its 2-pixel bevel and the grip at the end of the last panel.
  const TRect bounds = s.Bar->ViewInfo()->Panels(1)->Bounds;
  EXPECT_EQ(container->BoundsRect(), TRect(bounds.Left + 2, bounds.Top + 2, bounds.Right - 2 - 16, bounds.Bottom - 2));
  EXPECT_EQ(edit->Align(), alNone);
  EXPECT_EQ(edit->BoundsRect(), TRect(0, 0, container->Width(), container->Height()));
  // Hiding the panel hides its container; freeing the container leaves the panel without style.
  p->SetVisible(false);
  EXPECT_FALSE(container->Visible());
  delete container;
  EXPECT_EQ(p->PanelStyle(), nullptr);
}

TEST(StatusBar, IndicatorLampsShowTheirColour) {
  TBarScene s(300);
  s.Bar->SetSizeGrip(false);
  TdxStatusBarPanel* p = s.Add(10);
  p->SetPanelStyleClassName("TdxStatusBarStateIndicatorPanelStyle");
  auto* style = static_cast<TdxStatusBarStateIndicatorPanelStyle*>(p->PanelStyle());
  style->Indicators()->Add();
  style->Indicators()->Add()->SetIndicatorType(sitRed);
  // Spacing, then each 17-pixel lamp and a spacing, inside the bevel's one pixel each side.
  EXPECT_EQ(style->StyleMinWidth(), 4 + 2 * (17 + 4) + 2);
  s.Add(50);
  QImage img = s.Shot();
  const TRect panel = s.Bar->ViewInfo()->Panels(0)->Bounds;
  auto redness = [&](const TRect& r) {
    int n = 0;
    for (int y = r.Top; y < r.Bottom; ++y)
      for (int x = r.Left; x < r.Right; ++x) {
        QRgb c = img.pixel(x, y);
        n += qRed(c) > 180 && qGreen(c) < 90 && qBlue(c) < 90;
      }
    return n;
  };
  const int x0 = panel.Left + 1 + 4;
  const TRect grey(x0, panel.Top, x0 + 17, panel.Bottom), red(x0 + 21, panel.Top, x0 + 38, panel.Bottom);
  EXPECT_EQ(redness(grey), 0);
  EXPECT_GT(redness(red), 40);
  // The lamp's surroundings show the panel, not the bitmap's own ground.
  EXPECT_EQ(img.pixel(red.Left, (panel.Top + panel.Bottom) / 2 - 4) & 0xFFFFFF, Rgb(clBtnFace));
}
