// The suite over our own visual-style library (not a stand-in): what its callers see of a switch.
#include <gtest/gtest.h>

#include "suite/core/VisualStyleState.h"
#include "suite/core/cxControls.h"
#include "suite/core/dxThemeManager.h"

// The theme manager hears the switch through its hidden window and reopens its classes.
TEST(ThemeSwitch, SwitchingStylesOffAndOnReachesTheThemeManager) {
  TVisualStylesOn styles;
  ASSERT_NE(AcquireThemeHandle(totButton), 0u);
  SetVisualStylesActive(false);
  EXPECT_FALSE(IsThemingAvailable());
  EXPECT_EQ(AcquireThemeHandle(totButton), 0u);
  EXPECT_FALSE(AreThemesEnabled()) << "the controls' theme flag follows the same switch";
  SetVisualStylesActive(true);
  EXPECT_TRUE(AreThemesEnabled());
  EXPECT_TRUE(IsThemingAvailable());
  const TdxThemedObjectTypes xp = {totComboBox, totEdit, totProgress, totRebar, totScrollBar,
                                        totSpin, totStatus, totToolBar, totWindow};
  EXPECT_TRUE(IsThemingAvailable(xp)) << "the nine classes of the themed bar look all open";
  EXPECT_FALSE(IsThemingAvailable(TdxThemedObjectTypes{totExplorerBar}));
  EXPECT_FALSE(IsThemingAvailable(TdxThemedObjectTypes{totMenu}));
}
