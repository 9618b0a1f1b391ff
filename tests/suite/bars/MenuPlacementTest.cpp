// Placement of menu windows inside a work area: flips to the side of the opener with more room,
// pushes inside, and shortens a drop-down that fits on neither side.

#include <gtest/gtest.h>

#include "suite/bars/dxBarMenuPlacement.h"

namespace {

TEST(MenuPlacement, FlipsOnlyWhereThereIsMoreRoom) {
  const TRect wa(0, 0, 1000, 800);
  struct {
    const char* name;
    int left, top, w, h, j, k;
    bool rightwards, downwards;
    TRect bounds;
    bool flippedH, flippedV;
  } cases[] = {
      {"fits", 100, 100, 200, 300, 150, 0, true, true, TRect(100, 100, 300, 400), false, false},
      {"sub-menu at the right edge opens left of its item", 900, 100, 300, 200, 200, 0, true, true,
       TRect(400, 100, 700, 300), true, false},
      {"sub-menu with less room left stays and is pushed in", 900, 100, 300, 200, 880, 0, true, true,
       TRect(700, 100, 1000, 300), false, false},
      {"sub-menu beside an item near the bottom is pushed up", 300, 700, 200, 300, 150, 0, true, true,
       TRect(300, 500, 500, 800), false, false},
      {"drop-down near the bottom opens above its button", 100, 700, 200, 300, 0, 20, true, true,
       TRect(100, 380, 300, 680), false, true},
      {"drop-down with less room above gets shorter", 100, 150, 200, 700, 0, 140, true, true,
       TRect(100, 150, 300, 800), false, false},
      {"drop-down at the right edge is pushed in", 900, 100, 300, 200, 0, 20, true, true,
       TRect(700, 100, 1000, 300), false, false},
      {"menu at a point near the corner opens up and left", 900, 700, 200, 200, 0, 0, true, true,
       TRect(700, 500, 900, 700), true, true},
      {"menu at a point that fits on neither side", 150, 100, 900, 200, 0, 0, true, true,
       TRect(100, 100, 1000, 300), false, false},
      {"menu at a point higher than the work area", 100, 400, 200, 900, 0, 0, true, true,
       TRect(100, 0, 300, 800), false, false},
      {"sub-menu opening leftwards past the left edge flips right", -150, 100, 200, 200, 100, 0, false, true,
       TRect(150, 100, 350, 300), true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const TdxBarMenuPlacement p =
        PlaceMenuInWorkArea(c.left, c.top, c.w, c.h, wa, c.j, c.k, c.rightwards, c.downwards);
    EXPECT_EQ(p.Bounds, c.bounds);
    EXPECT_EQ(p.FlippedH, c.flippedH);
    EXPECT_EQ(p.FlippedV, c.flippedV);
  }
}

}  // namespace
