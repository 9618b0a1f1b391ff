// The suite's drawing over our own visual-style library (not a stand-in): what the callers get.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>

#include "platform/gui/Controls.h"
#include "platform/gui/Graphics.h"
#include "suite/core/VisualStyleState.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxThemeManager.h"

namespace {

class TPaintedControl : public TCustomControl {
 public:
  TPaintedControl(TColor Fill, TColor Marker) : TCustomControl(nullptr), FFill(Fill), FMarker(Marker) {}

 protected:
  void Paint() override {
    Canvas()->Brush()->SetColor(FFill);
    Canvas()->FillRect(TRect(0, 0, Width(), Height()));
    Canvas()->SetPixel(12, 12, FMarker);
  }

 private:
  TColor FFill, FMarker;
};

uint32_t PixelRgb(TBitmap* b, int x, int y) { return b->ToImage().pixel(x, y) & 0xFFFFFF; }

}  // namespace

TEST(ThemedDrawing, ParentBackgroundComesFromTheParentUnderTheChild) {
  TVisualStylesOn styles;
  ASSERT_TRUE(IsThemingAvailable());
  TPaintedControl parent(clYellow, clRed);
  parent.SetBounds(0, 0, 100, 100);
  auto* control = new TPaintedControl(clLime, clLime);
  control->SetBounds(10, 10, 30, 30);
  control->SetParent(&parent);
  control->HandleNeeded();
  auto bmp = std::make_unique<TBitmap>();
  bmp->SetSize(30, 30);
  TcxCanvas c(bmp->Canvas());
  DrawThemedParentBackground(control, &c, TRect(0, 0, 30, 30));
  EXPECT_EQ(PixelRgb(bmp.get(), 2, 2), 0xFF0000u) << "the parent's (12, 12)";
  EXPECT_EQ(PixelRgb(bmp.get(), 20, 20), 0xFFFF00u);
  EXPECT_EQ(c.WindowOrigin(), TPoint(0, 0)) << "the context's state comes back";
  EXPECT_EQ(c.DCStateDepth(), 0);
}

// The theme manager hears the switch through its hidden window and reopens its classes.
TEST(ThemedDrawing, SwitchingStylesOffAndOnReachesTheThemeManager) {
  TVisualStylesOn styles;
  ASSERT_NE(AcquireThemeHandle(totButton), 0u);
  SetVisualStylesActive(false);
  EXPECT_FALSE(IsThemingAvailable());
  EXPECT_EQ(AcquireThemeHandle(totButton), 0u);
  SetVisualStylesActive(true);
  EXPECT_TRUE(IsThemingAvailable());
  const TdxThemedObjectTypes xp = {totComboBox, totEdit, totProgress, totRebar, totScrollBar,
                                        totSpin, totStatus, totToolBar, totWindow};
  EXPECT_TRUE(IsThemingAvailable(xp)) << "the nine classes of the themed bar look all open";
  EXPECT_FALSE(IsThemingAvailable(TdxThemedObjectTypes{totExplorerBar}));
  EXPECT_FALSE(IsThemingAvailable(TdxThemedObjectTypes{totMenu}));
}
