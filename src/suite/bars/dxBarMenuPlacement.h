#pragma once
// Where a menu window goes: beside or below the item that opened it, or at a point, flipped to
// the other side of the opener when that side has more room, and kept inside the work area of
// its monitor (shortened, to scroll, when it fits on neither side).

#include "platform/win/Types.h"

struct TdxBarMenuPlacement {
  TRect Bounds;
  bool FlippedH = false;
  bool FlippedV = false;
};

// Left and Top are the corner next to the opener; HJump is the opener's width for a menu beside
// it, VJump its height for a drop-down below it (both 0 for a menu at a point).
TdxBarMenuPlacement PlaceMenuInWorkArea(int Left, int Top, int Width, int Height, const TRect& WorkArea,
                                        int HJump, int VJump, bool OpensRightwards, bool OpensDownwards);
