#pragma once
// Geometry of the suite's drop-down windows: the height of their non-client bar and the corner
// that carries the size grip.

#include "platform/win/Types.h"

int GetDropDownNonClientHeight();
// 0 top-left, 1 top-right, 2 bottom-left, 3 bottom-right.
int GetDropDownCorner(const TRect& EditRect, const TRect& DropDownRect);
// The hit-test code of a corner.
LRESULT HitTestOfCorner(int Corner);
