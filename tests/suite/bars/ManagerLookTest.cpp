// What the manager makes for its painters: the flat-style and themed toolbar brushes, the
// caption fonts, and the one hint window all managers share.

#include <gtest/gtest.h>

#include <memory>

#include "BarTestSupport.h"
#include "platform/gui/Forms.h"
#include "platform/win/Gdi.h"
#include "platform/win/Windows.h"
#include "suite/core/VisualStyleState.h"
#include "suite/core/cxControls.h"
#include "suite/core/dxOffice11.h"

namespace {

COLORREF BrushColor(HBRUSH Brush) {
  LOGBRUSH lb;
  EXPECT_NE(GetObject(Brush, sizeof lb, &lb), 0);
  return lb.lbColor;
}

COLORREF Rgb(TColor Color) { return COLORREF(ColorToRGB(Color)); }

COLORREF PerChannel(TColor Color, int (*F)(int)) {
  COLORREF c = Rgb(Color);
  return COLORREF(F(c & 0xFF) | F((c >> 8) & 0xFF) << 8 | F((c >> 16) & 0xFF) << 16);
}

void CheckFlatBrushes(TdxBarManager* M) {
  struct Row {
    const char* Name;
    HBRUSH Brush;
    COLORREF Expected;
  } rows[] = {
      {"frame", M->FlatFrameBrush(), PerChannel(clBtnShadow, [](int c) { return c * 8 / 10; })},
      {"face", M->FlatFaceBrush(),
       PerChannel(clBtnFace, [](int c) { return c + (255 - c) * 16 / 100; })},
      {"down", M->FlatDownBrush(), Rgb(SystemLightColor(11, 9, 73))},
      {"down selected", M->FlatDownSelectedBrush(), Rgb(SystemLightColor(14, 44, 40))},
      {"selected", M->FlatSelectedBrush(), Rgb(SystemLightColor(-2, 30, 72))},
  };
  for (const Row& r : rows) {
    ASSERT_NE(r.Brush, nullptr) << r.Name;
    EXPECT_EQ(BrushColor(r.Brush), r.Expected) << r.Name;
  }
  EXPECT_EQ(Rgb(M->FlatHighlightColor()), rows[4].Expected);
}

}  // namespace

TEST(BarManagerLook, BrushesWithoutVisualStyles) {
  TVisualStylesAbsent styles;
  TForm form(nullptr);
  auto* m = new TdxBarManager(&form);
  CheckFlatBrushes(m);
  EXPECT_EQ(m->ThemedToolbarBrush(), nullptr);
}

TEST(BarManagerLook, BrushesWithVisualStyles) {
  TVisualStylesOn styles;
  TForm form(nullptr);
  auto* m = new TdxBarManager(&form);
  CheckFlatBrushes(m);
  ASSERT_NE(m->ThemedToolbarBrush(), nullptr);
  EXPECT_EQ(BrushColor(m->ThemedToolbarBrush()), Rgb(ToolbarThemeColor()));
  // The brushes follow a change of the system colours.
  m->RefreshColors();
  CheckFlatBrushes(m);
}

TEST_F(TBarFixture, CaptionFontsFollowTheManagersFont) {
  NONCLIENTMETRICS ncm;
  ncm.cbSize = 340;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, ncm.cbSize, &ncm, 0));
  LOGFONT icon;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETICONTITLELOGFONT, sizeof icon, &icon, 0));
  const int iconHeight = icon.lfHeight >= -10 ? -11 : icon.lfHeight;

  // With the system font the floating-bar caption takes the small caption font as it is.
  ASSERT_TRUE(Manager->UseSystemFont());
  EXPECT_EQ(Manager->SmallCaptionFont()->Name(), std::string(ncm.lfSmCaptionFont.lfFaceName));
  EXPECT_EQ(Manager->SmallCaptionFont()->Height(), ncm.lfSmCaptionFont.lfHeight);
  EXPECT_EQ(Manager->CaptionFont()->Height(), iconHeight);

  // A font of the user's: its face, at least 11 pixels for the floating-bar caption.
  Manager->SetScaled(false);
  Manager->Font()->SetName("DejaVu Serif");
  Manager->Font()->SetHeight(-15);
  EXPECT_FALSE(Manager->UseSystemFont());
  EXPECT_EQ(Manager->SmallCaptionFont()->Name(), "DejaVu Serif");
  EXPECT_EQ(Manager->SmallCaptionFont()->Height(),
            std::min<int>(-11, ncm.lfSmCaptionFont.lfHeight));
  EXPECT_EQ(Manager->CaptionFont()->Name(), "DejaVu Serif");
  EXPECT_EQ(Manager->CaptionFont()->Height(), -15);
  Manager->SetScaled(true);
  EXPECT_EQ(Manager->CaptionFont()->Name(), Manager->Font()->Name());
  EXPECT_EQ(Manager->CaptionFont()->Height(), iconHeight);
}

TEST(BarManagerLook, OneHintWindowServesAllManagersWhileOneLives) {
  auto first = std::make_unique<TForm>(nullptr);
  auto* m = new TdxBarManager(first.get());
  THintWindow* w = dxBarHintWindow();
  ASSERT_NE(w, nullptr);
  EXPECT_NE(dynamic_cast<TcxBaseHintWindow*>(w), nullptr);
  EXPECT_FALSE(m->IsHintWindowShowing());

  auto second = std::make_unique<TForm>(nullptr);
  new TdxBarManager(second.get());
  EXPECT_EQ(dxBarHintWindow(), w);

  // A plain hint without the bar hint window takes the application's hint window class.
  m->UseBarHintWindow = false;
  m->SetPlainHint(true);
  ASSERT_TRUE(m->UsesStandardHintWindow());
  m->EnsureHintWindow();
  ASSERT_NE(dxBarHintWindow(), nullptr);
  EXPECT_EQ(dxBarHintWindow()->WindowClass(), HintWindowClass);

  first.reset();
  EXPECT_NE(dxBarHintWindow(), nullptr);
  second.reset();
  EXPECT_EQ(dxBarHintWindow(), nullptr);
}
