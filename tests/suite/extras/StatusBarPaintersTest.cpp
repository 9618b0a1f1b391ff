// The status bar's painters, read back from what a bar on a form drew; the visual-style painter
// over a stand-in style library put into the module table.
#include <gtest/gtest.h>

#include <QImage>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/sys/Modules.h"
#include "suite/core/ControlTestSupport.h"
#include "suite/core/PainterTestSupport.h"
#include "suite/core/cxSuiteUnits.h"
#include "suite/core/dxOffice11.h"
#include "suite/extras/StatusBarTestSupport.h"
#include "suite/extras/dxStatusBar.h"
#include "suite/core/VisualStyleState.h"

namespace {

using painter_test::Rgb;
using statusbar_test::TBarScene;

uint32_t Px(const QImage& img, int x, int y) { return img.pixel(x, y) & 0xFFFFFF; }

}  // namespace

TEST(StatusBarPainters, PaintStyleChoosesThePainter) {
  TVisualStylesAbsent styles;
  ASSERT_FALSE(IsThemingAvailable());
  struct TCase {
    TdxStatusBarPaintStyle Style;
    TcxLookAndFeelKind Kind;
    bool Native;
    TdxStatusBarPainterClass Expected;
  };
  const TCase cases[] = {
      {stpsStandard, lfOffice11, false, dxStatusBarStandardPainter()},
      {stpsFlat, lfStandard, false, dxStatusBarFlatPainter()},
      {stpsOffice11, lfStandard, false, dxStatusBarOffice11Painter()},
      // Without visual styles the visual-style bar draws as Standard.
      {stpsXP, lfStandard, false, dxStatusBarStandardPainter()},
      {stpsUseLookAndFeel, lfFlat, false, dxStatusBarStandardPainter()},
      {stpsUseLookAndFeel, lfStandard, false, dxStatusBarStandardPainter()},
      {stpsUseLookAndFeel, lfUltraFlat, false, dxStatusBarFlatPainter()},
      {stpsUseLookAndFeel, lfOffice11, false, dxStatusBarOffice11Painter()},
      {stpsUseLookAndFeel, lfOffice11, true, dxStatusBarOffice11Painter()},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(int(c.Style) * 10 + int(c.Kind));
    TdxStatusBar bar(nullptr);
    bar.LookAndFeel()->SetKind(c.Kind);
    bar.LookAndFeel()->SetNativeStyle(c.Native);
    bar.SetPaintStyle(c.Style);
    EXPECT_EQ(bar.Painter(), c.Expected);
  }
}

// The frame of BorderWidth and the top strip take the bar's colour; the panels start inside.
TEST(StatusBarPainters, StandardBorderWidthFramesThePanels) {
  TBarScene s(300, stpsStandard);
  s.Bar->SetSizeGrip(false);
  s.Bar->SetColor(TColor(0x3366CC));
  s.Bar->SetHeight(30);
  s.Bar->SetBorderWidth(3);
  s.Add(100)->PanelStyle()->SetColor(TColor(0x00FF00));
  s.Add(100)->PanelStyle()->SetColor(TColor(0x00FF00));
  QImage img = s.Shot();
  const uint32_t bar = Rgb(TColor(0x3366CC));
  for (int y : {0, 1, 2, 3, 4, 27, 28, 29}) EXPECT_EQ(Px(img, 50, y), bar) << y;
  for (int x : {0, 1, 2, 297, 298, 299}) EXPECT_EQ(Px(img, x, 15), bar) << x;
  // The first panel's sunken edge, its fill, the separator in the bar's colour.
  EXPECT_EQ(Px(img, 3, 5), Rgb(clBtnShadow));
  EXPECT_EQ(Px(img, 104, 26), Rgb(clBtnHighlight));
  EXPECT_EQ(Px(img, 50, 15), Rgb(TColor(0x00FF00)));
  EXPECT_EQ(Px(img, 105, 15), bar);
  EXPECT_EQ(s.Bar->ViewInfo()->Panels(0)->Bounds, TRect(3, 5, 105, 27));
}

TEST(StatusBarPainters, FlatPanelWithoutBevelHasNoFrame) {
  TBarScene s(300, stpsFlat);
  s.Bar->SetSizeGrip(false);
  TdxStatusBarPanel* framed = s.Add(60);
  TdxStatusBarPanel* plain = s.Add(60);
  framed->PanelStyle()->SetColor(TColor(0x0000FF));
  plain->PanelStyle()->SetColor(TColor(0x0000FF));
  plain->SetBevel(dxpbNone);
  QImage img = s.Shot();
  const TRect a = s.Bar->ViewInfo()->Panels(0)->Bounds, b = s.Bar->ViewInfo()->Panels(1)->Bounds;
  EXPECT_EQ(Px(img, a.Left, a.Top), Rgb(clBtnShadow));
  EXPECT_EQ(Px(img, a.Right - 1, a.Bottom - 1), Rgb(clBtnShadow));
  EXPECT_EQ(Px(img, a.Left + 1, a.Top + 1), Rgb(TColor(0x0000FF)));
  EXPECT_EQ(Px(img, b.Left, b.Top), Rgb(TColor(0x0000FF)));
  EXPECT_EQ(Px(img, b.Right - 1, b.Bottom - 1), Rgb(TColor(0x0000FF)));
}

// The bar's gradient shows between the panels: the separators draw nothing.
TEST(StatusBarPainters, Office11DrawsNoSeparators) {
  TBarScene s(300, stpsOffice11);
  s.Add(80);
  s.Add(80);
  QImage img = s.Shot();
  const TRect sep = s.Bar->ViewInfo()->Panels(0)->SeparatorBounds;
  ASSERT_EQ(sep.Width(), 2);
  for (int y = sep.Top; y < sep.Bottom; ++y) {
    EXPECT_EQ(Px(img, sep.Left, y), Px(img, 0, y)) << y;
    EXPECT_EQ(Px(img, sep.Left + 1, y), Px(img, 0, y)) << y;
  }
  // The gradient runs from the light colour at the top to the dark one at the bottom.
  EXPECT_EQ(Px(img, 0, 0), Rgb(Office11Colors[2]));
  EXPECT_EQ(Px(img, 0, s.Bar->Height() - 1), Rgb(Office11Colors[3]));
  // Panel frames in the darkened dark colour.
  const TRect p = s.Bar->ViewInfo()->Panels(0)->Bounds;
  EXPECT_EQ(Px(img, p.Left, p.Top), Rgb(MixColors(Office11Colors[3], clBlack, 90)));
}

// The grip's dots lie over the bar, the panel under it does not paint there.
TEST(StatusBarPainters, StandardGripKeepsItsCorner) {
  TBarScene s(200, stpsStandard);
  TdxStatusBarPanel* p = s.Add(50);
  p->PanelStyle()->SetColor(TColor(0x0000FF));
  QImage img = s.Shot();
  const int w = s.Bar->Width(), h = s.Bar->Height();
  // The grip square: 16 x 16 at the bottom-right of the content less one pixel.
  const TRect grip(w - 1 - 16, h - 1 - 16, w - 1, h - 1);
  int blue = 0, shadow = 0;
  for (int y = grip.Top; y < grip.Bottom; ++y)
    for (int x = grip.Left; x < grip.Right; ++x) {
      blue += Px(img, x, y) == Rgb(TColor(0x0000FF));
      shadow += Px(img, x, y) == Rgb(clBtnShadow);
    }
  EXPECT_EQ(blue, 0);
  EXPECT_GT(shadow, 6);
  // Left of the grip the panel shows.
  EXPECT_EQ(Px(img, grip.Left - 5, h / 2 + 2), Rgb(TColor(0x0000FF)));
}

// ---- a stand-in visual-style library

namespace {

struct TFakeStyle {
  std::vector<std::u16string> Classes;
  struct TDrawn {
    std::string Class;
    int Part, State;
    TRect R;
  };
  std::vector<TDrawn> Drawn;
  std::map<int, TSize> StatusSizes;
  std::string ClassOf(HTHEME t) const {
    std::u16string w = Classes.at(t - 1);
    return std::string(w.begin(), w.end());
  }
};
TFakeStyle* gStyle = nullptr;

COLORREF PartColour(int part) { return RGB(40 + part * 50, 200 - part * 40, 90); }

HTHEME FakeOpen(HWND, const char16_t* list) {
  gStyle->Classes.push_back(list);
  return gStyle->Classes.size();
}
HRESULT FakeClose(HTHEME) { return 0; }
BOOL FakeActive() { return TRUE; }
HRESULT FakeDraw(HTHEME t, HDC dc, int part, int state, const RECT* r, const RECT*) {
  gStyle->Drawn.push_back({gStyle->ClassOf(t), part, state, TRect(*r)});
  HBRUSH b = CreateSolidBrush(PartColour(part));
  FillRect(dc, r, b);
  DeleteObject(b);
  return 0;
}
HRESULT FakePartSize(HTHEME t, HDC, int part, int, const RECT*, THEMESIZE kind, SIZE* s) {
  auto it = gStyle->StatusSizes.find(part);
  if (gStyle->ClassOf(t) != "Status" || kind != TS_TRUE || it == gStyle->StatusSizes.end()) return HRESULT(0x80004005u);
  *s = SIZE{it->second.cx, it->second.cy};
  return 0;
}

class StatusBarXP : public ::testing::Test {
 protected:
  void SetUp() override {
    gStyle = &Style;
    Style.StatusSizes = {{1, TSize{3, 20}}, {3, TSize{18, 18}}};
    FinalizeSuiteUnits();
    Guard = std::make_unique<TModuleTableGuard>();
    SetModulePresent("UxTheme.dll", true);
    SetModuleEntryAs("UxTheme.dll", "OpenThemeData", &FakeOpen);
    SetModuleEntryAs("UxTheme.dll", "CloseThemeData", &FakeClose);
    SetModuleEntryAs("UxTheme.dll", "IsThemeActive", &FakeActive);
    SetModuleEntryAs("UxTheme.dll", "DrawThemeBackground", &FakeDraw);
    SetModuleEntryAs("UxTheme.dll", "GetThemePartSize", &FakePartSize);
    InitializeSuiteUnits();
  }
  void TearDown() override {
    FinalizeSuiteUnits();
    Guard.reset();
    InitializeSuiteUnits();
    gStyle = nullptr;
  }
  TFakeStyle Style;
  std::unique_ptr<TModuleTableGuard> Guard;
};

}  // namespace

TEST_F(StatusBarXP, DrawsTheStatusPartsOfTheStyle) {
  TBarScene s(300, stpsXP);
  ASSERT_TRUE(s.Bar->ThemesAvailable());
  ASSERT_EQ(s.Bar->Painter(), dxStatusBarXPPainter());
  s.Add(100);
  s.Add(100);
  // The style's pane width separates the panels; its gripper's width is kept at the end.
  EXPECT_EQ(s.Bar->ViewInfo()->Panels(0)->SeparatorBounds.Width(), 3);
  EXPECT_EQ(s.Bar->Panels()->Items(1)->LayoutWidth(), 100 + 2 + 18);
  Style.Drawn.clear();
  QImage img = s.Shot();
  const int w = s.Bar->Width(), h = s.Bar->Height();
  std::vector<std::string> drawn;
  for (const auto& d : Style.Drawn)
    drawn.push_back(d.Class + " " + std::to_string(d.Part) + "/" + std::to_string(d.State));
  EXPECT_EQ(drawn, (std::vector<std::string>{"Status 0/0", "Status 3/0", "Status 1/0"}));
  ASSERT_EQ(Style.Drawn.size(), 3u);
  EXPECT_EQ(Style.Drawn[0].R, TRect(0, 0, w, h));
  EXPECT_EQ(Style.Drawn[1].R, TRect(w - 1 - 18, h - 18, w - 1, h));
  EXPECT_EQ(Style.Drawn[2].R, s.Bar->ViewInfo()->Panels(0)->SeparatorBounds);
  // No bevels and no panel fill: the background shows inside the panels, the gripper in its corner.
  const TRect p = s.Bar->ViewInfo()->Panels(0)->Bounds;
  EXPECT_EQ(Px(img, p.Left, p.Top), Rgb(TColor(PartColour(0))));
  EXPECT_EQ(Px(img, p.Left + 50, p.Top + 5), Rgb(TColor(PartColour(0))));
  EXPECT_EQ(Px(img, w - 5, h - 5), Rgb(TColor(PartColour(3))));
  EXPECT_EQ(Px(img, p.Right, p.Top + 5), Rgb(TColor(PartColour(1))));
}
