// Frame controls in the classic look, drawn by our own renderers: push buttons, check boxes,
// radio buttons with their mask, scroll arrows, the size grip and caption buttons.
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

// The button's edge and face; answers the face inside the edge.
RECT ButtonFace(HDC dc, RECT r, UINT state) {
  if (state & (DFCS_PUSHED | DFCS_CHECKED)) DrawEdge(dc, &r, EDGE_SUNKEN, BF_RECT | BF_ADJUST | BF_MIDDLE);
  else DrawEdge(dc, &r, EDGE_RAISED, BF_RECT | BF_ADJUST | BF_MIDDLE | ((state & DFCS_FLAT) ? BF_FLAT : 0));
  return r;
}

BOOL DrawPushButton(HDC dc, RECT r, UINT state) {
  ButtonFace(dc, r, state);
  return TRUE;
}

// Caption glyphs are built as a square mask first, so that the embossed (inactive) look can
// paint the same shape twice.
std::vector<bool> CaptionGlyph(UINT kind, int g) {
  std::vector<bool> m(size_t(g) * size_t(g), false);
  auto set = [&](int x, int y) {
    if (x >= 0 && y >= 0 && x < g && y < g) m[size_t(y) * size_t(g) + size_t(x)] = true;
  };
  const int t = g >= 7 ? 2 : 1;  // stroke width
  switch (kind) {
    case DFCS_CAPTIONCLOSE:
      for (int i = 0; i + t <= g; ++i)
        for (int k = 0; k < t; ++k) {
          set(i + k, i);
          set(g - 1 - i - k, i);
        }
      break;
    case DFCS_CAPTIONMIN:
      for (int y = g - t; y < g; ++y)
        for (int x = 0; x < g - g / 4; ++x) set(x, y);
      break;
    default: {  // restore: a window behind another, each with a thick title bar
      const int s = g - g / 4;
      auto window = [&](int x0, int y0, auto covered) {
        for (int y = y0; y < y0 + s; ++y)
          for (int x = x0; x < x0 + s; ++x) {
            bool edge = x == x0 || x == x0 + s - 1 || y == y0 + s - 1 || y < y0 + t;
            if (edge && !covered(x, y)) set(x, y);
          }
      };
      const int fx = 0, fy = g - s;
      auto inFront = [&](int x, int y) { return x >= fx && x < fx + s && y >= fy && y < fy + s; };
      window(g - s, 0, inFront);
      window(fx, fy, [](int, int) { return false; });
    }
  }
  return m;
}

void PaintMask(HDC dc, const std::vector<bool>& m, int g, int x, int y, COLORREF c) {
  for (int j = 0; j < g; ++j)
    for (int i = 0; i < g; ++i)
      if (m[size_t(j) * size_t(g) + size_t(i)]) Pixel(dc, x + i, y + j, c);
}

BOOL DrawCaptionButton(HDC dc, RECT r, UINT state) {
  const UINT kind = state & 0xFF;
  if (kind != DFCS_CAPTIONCLOSE && kind != DFCS_CAPTIONMIN && kind != DFCS_CAPTIONRESTORE) return FALSE;
  const bool pushed = state & DFCS_PUSHED;
  // A flat button keeps its one-pixel frame even when pushed; only the glyph moves.
  RECT face = ButtonFace(dc, r, (state & DFCS_FLAT) ? DFCS_FLAT : (pushed ? DFCS_PUSHED : 0));
  const int w = face.right - face.left, h = face.bottom - face.top;
  const int g = std::min(w, h) - 2;
  if (g < 3) return TRUE;
  std::vector<bool> m = CaptionGlyph(kind, g);
  int x = face.left + (w - g) / 2 + (pushed ? 1 : 0), y = face.top + (h - g) / 2 + (pushed ? 1 : 0);
  if (state & DFCS_INACTIVE) {
    PaintMask(dc, m, g, x + 1, y + 1, GetSysColor(COLOR_BTNHIGHLIGHT));
    PaintMask(dc, m, g, x, y, GetSysColor(COLOR_BTNSHADOW));
  } else {
    PaintMask(dc, m, g, x, y, GetSysColor(COLOR_BTNTEXT));
  }
  return TRUE;
}

// Ridges across the lower-right square, each a lit line above two shadowed ones, with a face
// line between ridges.
BOOL DrawSizeGrip(HDC dc, const RECT& r) {
  Fill(dc, r.left, r.top, r.right, r.bottom, COLOR_BTNFACE);
  const int s = std::min(r.right - r.left, r.bottom - r.top);
  for (int dy = 0; dy < s; ++dy)
    for (int dx = 0; dx + dy < s - 1; ++dx) {
      int d = dx + dy;
      if (d == 0 || d % 4 == 0) continue;
      COLORREF c = GetSysColor(d % 4 == 3 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
      Pixel(dc, r.right - 1 - dx, r.bottom - 1 - dy, c);
    }
  return TRUE;
}

BOOL DrawScrollArrow(HDC dc, RECT r, UINT state) {
  if ((state & 0xFF) == DFCS_SCROLLSIZEGRIP) return DrawSizeGrip(dc, r);
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
  if (type == DFC_CAPTION) return DrawCaptionButton(hdc, *rect, state);
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

HBITMAP LoadBitmap(HINSTANCE hInstance, intptr_t id) {
  if (hInstance || id != OBM_CHECKBOXES) return nullptr;
  const int cell = 13;
  HBITMAP sheet = CreateBitmap(4 * cell, 3 * cell, 1, 32, nullptr);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, sheet);
  static const UINT kinds[3] = {DFCS_BUTTONCHECK, DFCS_BUTTONRADIO, DFCS_BUTTON3STATE};
  static const UINT states[4] = {0, DFCS_CHECKED, DFCS_PUSHED, DFCS_PUSHED | DFCS_CHECKED};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 4; ++col) {
      RECT r{col * cell, row * cell, (col + 1) * cell, (row + 1) * cell};
      Fill(dc, r.left, r.top, r.right, r.bottom, COLOR_BTNFACE);
      DrawFrameControl(dc, &r, DFC_BUTTON, kinds[row] | states[col]);
    }
  SelectObject(dc, old);
  DeleteDC(dc);
  return sheet;
}
