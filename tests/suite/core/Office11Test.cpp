// Office 2003 colours by scheme and without one, gradients read back band by band, arrows, and
// a sheet of the primitives.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "common/TestEnv.h"
#include "platform/sys/Modules.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/cxSuiteUnits.h"
#include "suite/core/dxOffice11.h"
#include "suite/core/dxThemeManager.h"
#include "suite/core/VisualStyleState.h"

namespace {

std::u16string gColorName;
int gGradientCalls = 0;

HTHEME FakeOpen(HWND, const char16_t*) { return 7; }
HRESULT FakeClose(HTHEME) { return 0; }
BOOL FakeActive() { return TRUE; }
HRESULT FakeThemeName(char16_t* file, int, char16_t* colour, int, char16_t* size, int) {
  std::u16string f = u"C:\\WINDOWS\\Resources\\Themes\\Royale\\Royale.msstyles";
  std::copy(f.begin(), f.end(), file);
  std::copy(gColorName.begin(), gColorName.end(), colour);
  size[0] = u'N';
  return 0;
}
BOOL CountingGradientFill(HDC dc, const TRIVERTEX* v, ULONG n, const void* mesh, ULONG m, ULONG mode) {
  ++gGradientCalls;
  return GradientFill(dc, v, n, mesh, m, mode);
}

// The suite's units restarted over a module table the test edits; put back afterwards.
struct TRestartedUnits {
  std::unique_ptr<TModuleTableGuard> Guard = std::make_unique<TModuleTableGuard>();
  TRestartedUnits() { FinalizeSuiteUnits(); }
  void Start() { InitializeSuiteUnits(); }
  ~TRestartedUnits() {
    FinalizeSuiteUnits();
    Guard.reset();
    InitializeSuiteUnits();
  }
};

uint32_t Rgb(TColor c) {
  uint32_t v = uint32_t(ColorToRGB(c)) & 0xFFFFFF;
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

struct TImageDC {
  TBitmap Bitmap;
  TImageDC(int w, int h) { Bitmap.SetSize(w, h); }
  HDC DC() { return Bitmap.Canvas()->Handle(); }
  uint32_t At(int x, int y) { return Bitmap.ToImage().pixel(x, y) & 0xFFFFFF; }
};

using sonalix::test::SheetDir;

}  // namespace

TEST(Office11, ColoursWithoutVisualStyles) {
  // With the units stopped nobody else holds the colours (the palette listener does otherwise).
  TRestartedUnits units;
  Office11ColorsAddRef();
  EXPECT_EQ(CurrentOffice11Scheme(), schUnknown);
  EXPECT_FALSE(IsOffice11SchemeActive());
  EXPECT_EQ(Office11GradientPercent, 75);
  EXPECT_EQ(Office11Colors[0], ColorToRGB(clBtnFace));
  EXPECT_EQ(Office11Colors[41], ColorToRGB(clHighlight));
  EXPECT_EQ(Office11Colors[22], ColorToRGB(clBtnText));
  EXPECT_EQ(Office11Colors[79], TColor(RGB(158, 174, 191)));
  // Mix(BtnFace, Window, 20) per channel.
  TColor face = ColorToRGB(clBtnFace);
  EXPECT_EQ(Office11Colors[1], TColor(RGB(BYTE(MulDiv(face & 0xFF, 20, 100) + MulDiv(255, 80, 100)),
                                          BYTE(MulDiv((face >> 8) & 0xFF, 20, 100) + MulDiv(255, 80, 100)),
                                          BYTE(MulDiv((face >> 16) & 0xFF, 20, 100) + MulDiv(255, 80, 100)))));
  EXPECT_EQ(Office11Colors[26], Office11Colors[2]);
  EXPECT_EQ(Office11Brushes[4], Office11Brushes[11]) << "shared brushes";
  EXPECT_EQ(Office11Brushes[10], Office11Brushes[14]);
  LOGBRUSH lb;
  ASSERT_TRUE(QueryLogBrush(Office11Brushes[5], lb));
  EXPECT_EQ(TColor(lb.lbColor), Office11Colors[41]);
  ASSERT_NE(Office11SubMenuExpandBitmap, nullptr);
  HBRUSH brush = Office11Brushes[0];
  Office11ColorsAddRef();
  Office11ColorsRelease();
  EXPECT_EQ(GetObjectType(brush), OBJ_BRUSH) << "still in use";
  Office11ColorsRelease();
  EXPECT_EQ(GetObjectType(brush), 0u) << "the last user frees them";
  EXPECT_EQ(Office11SubMenuExpandBitmap, nullptr);
}

TEST(Office11, SchemesFromTheColourName) {
  TRestartedUnits units;
  SetModulePresent("UxTheme.dll", true);
  SetModuleEntryAs("UxTheme.dll", "OpenThemeData", &FakeOpen);
  SetModuleEntryAs("UxTheme.dll", "CloseThemeData", &FakeClose);
  SetModuleEntryAs("UxTheme.dll", "IsThemeActive", &FakeActive);
  SetModuleEntryAs("UxTheme.dll", "GetCurrentThemeName", &FakeThemeName);
  units.Start();
  struct TCase {
    const char16_t* Name;
    TOffice11Scheme Scheme;
    int Percent;
    TColor Colour0, Colour2, Colour41;
  };
  const TCase cases[] = {
      {u"Metallic", schMetallic, 40, 0xE5D7D7, 0xFAF4F3, 0x6F4B4B},
      {u"normalcolor", schNormalColor, 41, 0xF5BE9E, 0xFEECDD, 0x800000},
      {u"HomeStead", schHomeStead, 125, 0xA7D9D9, 0xDEF7F4, 0x385D3F},
  };
  for (const TCase& c : cases) {
    gColorName = c.Name;
    Office11ColorsRefresh();
    EXPECT_EQ(CurrentOffice11Scheme(), c.Scheme) << "a style other than Luna still counts on NT 6";
    EXPECT_TRUE(IsOffice11SchemeActive());
    EXPECT_EQ(Office11GradientPercent, c.Percent);
    EXPECT_EQ(Office11Colors[0], c.Colour0);
    EXPECT_EQ(Office11Colors[2], c.Colour2);
    EXPECT_EQ(Office11Colors[41], c.Colour41);
    EXPECT_EQ(Office11Colors[22], 0);
    EXPECT_EQ(Office11Colors[62], TColor(0xC9EEFD));
  }
  gColorName = u"Aero";
  Office11ColorsRefresh();
  EXPECT_EQ(CurrentOffice11Scheme(), schUnknown);
  EXPECT_FALSE(IsOffice11SchemeActive());
}

TEST(Office11, GradientsBandByBand) {
  TVisualStylesAbsent styles;
  // The two-phase gradient: black to grey 200 over 4 pixels at 75 %: middle 75, and the
  // first and second halves' steps from the formulas (0, 50 | 75 | 200).
  ASSERT_EQ(Office11GradientPercent, 75);
  TImageDC img(4, 1);
  FillOffice11Gradient(img.DC(), TRect(0, 0, 4, 1), clBlack, TColor(RGB(200, 200, 200)), true);
  const uint32_t want[] = {0x000000, 0x323232, 0x4B4B4B, 0xC8C8C8};
  for (int x = 0; x < 4; ++x) EXPECT_EQ(img.At(x, 0), want[x]) << x;
  TImageDC one(1, 1);
  FillOffice11Gradient(one.DC(), TRect(0, 0, 1, 1), clBlack, TColor(RGB(200, 200, 200)), false);
  EXPECT_EQ(one.At(0, 0), 0x4B4B4Bu) << "one pixel: the middle colour";

  {
    TRestartedUnits units;
    SetModuleEntryAs("msimg32.dll", "GradientFill", &CountingGradientFill);
    units.Start();
    gGradientCalls = 0;
    TImageDC g(10, 2);
    GradientFillRect(g.DC(), TRect(0, 0, 10, 2), clRed, clRed, true);
    EXPECT_EQ(gGradientCalls, 0) << "equal colours fill solid";
    EXPECT_EQ(g.At(9, 1), 0xFF0000u);
    GradientFillRect(g.DC(), TRect(0, 0, 10, 2), clRed, clBlue, true);
    EXPECT_EQ(gGradientCalls, 1);
    EXPECT_EQ(g.At(0, 0), 0xFF0000u);
  }
  {
    // Without the library: bands in software, a one-pixel rectangle included.
    TRestartedUnits units;
    SetModulePresent("msimg32.dll", false);
    units.Start();
    TImageDC g(300, 3);
    GradientFillRect(g.DC(), TRect(0, 0, 300, 1), clBlack, clWhite, true);
    EXPECT_EQ(g.At(0, 0), 0x000000u);
    EXPECT_EQ(g.At(299, 0), 0xFFFFFFu);
    EXPECT_EQ(g.At(150, 0), Rgb(TColor(RGB(128, 128, 128))));  // band 128 of 256
    GradientFillRect(g.DC(), TRect(0, 2, 1, 3), clNavy, clWhite, false);
    EXPECT_EQ(g.At(0, 2), 0x000080u) << "one band keeps the first colour";
  }
  EXPECT_EQ(GradientColorAt(TRect(0, 0, 1, 1), 0, clNavy, clWhite, true), clNavy);
  EXPECT_EQ(GradientColorAt(TRect(0, 0, 100, 1), 99, clBlack, clWhite, true), clWhite);
  EXPECT_EQ(GradientColorAt(TRect(10, 0, 110, 1), 10, clBlack, clWhite, true), clBlack);
  EXPECT_EQ(ScaleColorByPercent(TColor(RGB(200, 100, 51)), 50), TColor(RGB(100, 50, 25)));
  EXPECT_EQ(LightenColorByPercent(TColor(RGB(0, 255, 55)), 50), TColor(RGB(128, 255, 155)));
}

TEST(Office11, ArrowsGripsAndASheet) {
  Office11ColorsAddRef();
  TImageDC a(10, 10);
  Office11DrawArrowOfSize(a.DC(), TRect(0, 0, 10, 10), true, 3, false, true);
  // Corners (2, 3), (6, 3), (4, 5).
  const uint32_t ink = Rgb(Office11Colors[51]);
  EXPECT_EQ(a.At(2, 3), ink);
  EXPECT_EQ(a.At(6, 3), ink);
  EXPECT_EQ(a.At(4, 5), ink);
  EXPECT_EQ(a.At(4, 4), ink);
  EXPECT_EQ(a.At(1, 3), 0xFFFFFFu);
  EXPECT_EQ(a.At(4, 6), 0xFFFFFFu);
  Office11DrawArrowOfSize(a.DC(), TRect(0, 0, 10, 10), true, 3, false, false);
  EXPECT_EQ(a.At(4, 4), Rgb(Office11Colors[52])) << "disabled";

  TImageDC sheet(200, 80);
  FillOffice11Gradient(sheet.DC(), TRect(0, 0, 200, 30), Office11Colors[2], Office11Colors[3], false);
  GradientFillRect(sheet.DC(), TRect(0, 30, 200, 40), Office11Colors[6], Office11Colors[9], true);
  Office11DrawGripDots(sheet.DC(), TRect(4, 44, 8, 76), true);
  Office11PaintSizeGrip(sheet.DC(), TRect(180, 60, 196, 76));
  Office11DrawArrowInRect(sheet.DC(), TRect(20, 44, 40, 64), true, true, false);
  Office11DrawArrowInRect(sheet.DC(), TRect(44, 44, 64, 64), false, true, false);
  Office11DrawSelectionFrame(sheet.DC(), TRect(70, 44, 120, 70));
  TCanvas* c = sheet.Bitmap.Canvas();
  c->Draw(130, 50, Office11SubMenuExpandBitmap);
  c->Draw(145, 50, Office11ExpandButtonMinusBitmap);
  c->Draw(160, 50, Office11ExpandButtonPlusBitmap);
  EXPECT_EQ(sheet.At(186, 75), Rgb(Office11Colors[19])) << "dot in brush 1";
  EXPECT_EQ(sheet.At(184, 73), Rgb(Office11Colors[18])) << "its light corner in brush 0";
  ASSERT_TRUE(sheet.Bitmap.ToImage().save(QString::fromStdString((SheetDir() / "office11.png").string())));
  Office11ColorsRelease();
}
