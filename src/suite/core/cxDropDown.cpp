#include "suite/core/cxDropDown.h"

#include "platform/win/Windows.h"

int GetDropDownNonClientHeight() {
  if (GetSystemMetrics(SM_CYHSCROLL) + 2 < GetSystemMetrics(SM_CYSIZE))
    return GetSystemMetrics(SM_CYSIZE) + 1;
  return GetSystemMetrics(SM_CYHSCROLL) + 3;
}

int GetDropDownCorner(const TRect& EditRect, const TRect& DropDownRect) {
  int corner = 0;
  if (EditRect.Left < DropDownRect.Right) corner |= 1;
  if (EditRect.Bottom < DropDownRect.Bottom) corner |= 2;
  return corner;
}

LRESULT HitTestOfCorner(int Corner) {
  static const LRESULT codes[] = {HTTOPLEFT, HTTOPRIGHT, HTBOTTOMLEFT, HTBOTTOMRIGHT};
  return Corner >= 0 && Corner < 4 ? codes[Corner] : HTNOWHERE;
}
