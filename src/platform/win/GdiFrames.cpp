// Frame controls in the classic look, drawn by our own renderers: push buttons, check boxes,
// radio buttons with their mask, and scroll arrows.
#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "platform/win/DeviceContext.h"

namespace {

void Fill(HDC dc, int l, int t, int r, int b, int colorIndex) {
  RECT rc{l, t, r, b};
  FillRect(dc, &rc, GetSysColorBrush(colorIndex));
}

void Pixel(HDC dc, int x, int y, COLORREF c) { SetPixel(dc, x, y, c); }

// The tick: seven columns three pixels high, lowest in the third column.
void DrawCheckMark(HDC dc, int x, int y, COLORREF c) {
  static const int top[7] = {2, 3, 4, 3, 2, 1, 0};
  for (int i = 0; i < 7; ++i)
    for (int k = 0; k < 3; ++k) Pixel(dc, x + i, y + top[i] + k, c);
}

BOOL DrawCheckBox(HDC dc, const RECT& r, UINT state) {
  int size = std::min(r.right - r.left, r.bottom - r.top);
  if (size <= 0) return TRUE;
  int x = r.left + (r.right - r.left - size) / 2, y = r.top + (r.bottom - r.top - size) / 2;
  RECT box{x, y, x + size, y + size};
  bool flat = state & (DFCS_FLAT | DFCS_MONO);
  DrawEdge(dc, &box, EDGE_SUNKEN, BF_RECT | BF_ADJUST | (flat ? BF_MONO : 0));
  bool dim = state & (DFCS_INACTIVE | DFCS_PUSHED);
  FillRect(dc, &box, GetSysColorBrush(dim ? COLOR_BTNFACE : COLOR_WINDOW));
  if (state & DFCS_CHECKED)
    DrawCheckMark(dc, box.left + (box.right - box.left - 7) / 2, box.top + (box.bottom - box.top - 7) / 2,
                  GetSysColor((state & DFCS_INACTIVE) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT));
  return TRUE;
}

// Radio buttons are drawn on a grid of the cell's size: two rings split into a shadowed upper
// left and a lit lower right, the face, and the dot.
BOOL DrawRadio(HDC dc, const RECT& r, UINT state) {
  const int size = std::min(r.right - r.left, r.bottom - r.top);
  if (size <= 0) return TRUE;
  const int x0 = r.left + (r.right - r.left - size) / 2, y0 = r.top + (r.bottom - r.top - size) / 2;
  const double c = (size - 1) / 2.0, outer = size / 2.0;
  const bool mask = (state & 0xFF) == DFCS_BUTTONRADIOMASK;
  const bool flat = state & (DFCS_FLAT | DFCS_MONO);
  const bool dim = state & (DFCS_INACTIVE | DFCS_PUSHED);
  // Depth of each pixel inside the button: 0 next to the outside, 1 next to those, and so on.
  std::vector<int> depth(size_t(size) * size, -1);
  auto at = [&](int i, int j) -> int& { return depth[size_t(j) * size + size_t(i)]; };
  for (int j = 0; j < size; ++j)
    for (int i = 0; i < size; ++i)
      if (std::hypot(i - c, j - c) < outer - 0.25) at(i, j) = 1000;
  for (int level = 0; level < 2; ++level)
    for (int j = 0; j < size; ++j)
      for (int i = 0; i < size; ++i) {
        if (at(i, j) < 1000) continue;
        for (auto [di, dj] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
          int ni = i + di, nj = j + dj;
          int v = (ni < 0 || nj < 0 || ni >= size || nj >= size) ? -1 : at(ni, nj);
          if (v == level - 1 || (level == 0 && v == -1)) {
            at(i, j) = level;
            break;
          }
        }
      }
  for (int j = 0; j < size; ++j)
    for (int i = 0; i < size; ++i) {
      int d = at(i, j);
      if (mask) {
        // The mask covers its whole cell: black where the button is, white around it.
        Pixel(dc, x0 + i, y0 + j, d >= 0 ? RGB(0, 0, 0) : RGB(255, 255, 255));
        continue;
      }
      if (d < 0) continue;
      bool upperLeft = (i - c) + (j - c) < 0;
      int index;
      if (d == 0) index = flat ? COLOR_WINDOWFRAME : (upperLeft ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT);
      else if (d == 1) index = flat ? COLOR_WINDOW : (upperLeft ? COLOR_3DDKSHADOW : COLOR_3DLIGHT);
      else index = dim ? COLOR_BTNFACE : COLOR_WINDOW;
      Pixel(dc, x0 + i, y0 + j, GetSysColor(index));
    }
  if (!mask && (state & DFCS_CHECKED)) {
    const double dot = size / 6.0;
    COLORREF ink = GetSysColor((state & DFCS_INACTIVE) ? COLOR_BTNSHADOW : COLOR_WINDOWTEXT);
    for (int j = 0; j < size; ++j)
      for (int i = 0; i < size; ++i)
        if (std::hypot(i - c, j - c) < dot) Pixel(dc, x0 + i, y0 + j, ink);
  }
  return TRUE;
}

BOOL DrawPushButton(HDC dc, RECT r, UINT state) {
  if (state & (DFCS_PUSHED | DFCS_CHECKED)) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST | BF_MIDDLE);
  else DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE | ((state & DFCS_FLAT) ? BF_FLAT : 0));
  return TRUE;
}

BOOL DrawScrollArrow(HDC dc, RECT r, UINT state) {
  DrawPushButton(dc, r, state & DFCS_PUSHED);
  int w = r.right - r.left, h = r.bottom - r.top;
  int size = std::max(1, (std::min(w, h) - 4) / 3);  // half the triangle's base
  int shift = (state & DFCS_PUSHED) ? 1 : 0;
  int cx = r.left + w / 2 + shift, cy = r.top + h / 2 + shift;
  int kind = int(state & 0xF);
  int colour = (state & DFCS_INACTIVE) ? COLOR_GRAYTEXT : COLOR_BTNTEXT;
  for (int k = 0; k < size; ++k) {
    switch (kind) {
      case DFCS_SCROLLUP: Fill(dc, cx - k, cy - size / 2 + k, cx + k + 1, cy - size / 2 + k + 1, colour); break;
      case DFCS_SCROLLDOWN: Fill(dc, cx - k, cy + size / 2 - k, cx + k + 1, cy + size / 2 - k + 1, colour); break;
      case DFCS_SCROLLLEFT: Fill(dc, cx - size / 2 + k, cy - k, cx - size / 2 + k + 1, cy + k + 1, colour); break;
      default: Fill(dc, cx + size / 2 - k, cy - k, cx + size / 2 - k + 1, cy + k + 1, colour); break;
    }
  }
  return TRUE;
}

}  // namespace

BOOL DrawFrameControl(HDC hdc, RECT* rect, UINT type, UINT state) {
  if (!FindDeviceContext(hdc) || !rect) return FALSE;
  if (type == DFC_SCROLL) return DrawScrollArrow(hdc, *rect, state);
  if (type != DFC_BUTTON) return FALSE;
  switch (state & 0xFF) {
    case DFCS_BUTTONCHECK:
    case DFCS_BUTTON3STATE: return DrawCheckBox(hdc, *rect, state);
    case DFCS_BUTTONRADIO:
    case DFCS_BUTTONRADIOIMAGE:
    case DFCS_BUTTONRADIOMASK: return DrawRadio(hdc, *rect, state);
    default: return DrawPushButton(hdc, *rect, state);
  }
}
