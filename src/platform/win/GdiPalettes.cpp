// Logical palettes: colour tables with nearest-colour lookup, selectable into device contexts.

#include <algorithm>
#include <limits>

#include "platform/win/DeviceContext.h"

TGdiPalette* FindPalette(HGDIOBJ h) {
  TGdiObject* o = FindGdiObject(h);
  return o ? std::get_if<TGdiPalette>(&o->Data) : nullptr;
}

namespace {

// The palette a context has before any is selected: the twenty colours every display keeps.
HPALETTE DefaultPalette() {
  static HPALETTE palette = [] {
    static const COLORREF colors[20] = {
        RGB(0, 0, 0),       RGB(128, 0, 0),     RGB(0, 128, 0),     RGB(128, 128, 0),
        RGB(0, 0, 128),     RGB(128, 0, 128),   RGB(0, 128, 128),   RGB(192, 192, 192),
        RGB(192, 220, 192), RGB(166, 202, 240), RGB(255, 251, 240), RGB(160, 160, 164),
        RGB(128, 128, 128), RGB(255, 0, 0),     RGB(0, 255, 0),     RGB(255, 255, 0),
        RGB(0, 0, 255),     RGB(255, 0, 255),   RGB(0, 255, 255),   RGB(255, 255, 255)};
    TGdiPalette p;
    for (COLORREF c : colors) p.Entries.push_back({GetRValue(c), GetGValue(c), GetBValue(c), 0});
    TGdiObject o;
    o.Data = std::move(p);
    o.Stock = true;
    return AddGdiObject(std::move(o));
  }();
  return palette;
}

// The part of [start, start + count) that lies inside the palette, as a count from start.
UINT Span(const TGdiPalette& p, UINT start, UINT count) {
  size_t size = p.Entries.size();
  if (start >= size) return 0;
  return UINT(std::min<size_t>(count, size - start));
}

}  // namespace

HPALETTE CreatePalette(const LOGPALETTE* log) {
  if (!log || log->palNumEntries == 0) return nullptr;
  TGdiPalette p;
  p.Entries.assign(log->palPalEntry, log->palPalEntry + log->palNumEntries);
  TGdiObject o;
  o.Data = std::move(p);
  return AddGdiObject(std::move(o));
}

UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries) {
  TGdiPalette* p = FindPalette(palette);
  if (!p) return 0;
  if (!entries) return UINT(p->Entries.size());
  UINT n = Span(*p, start, count);
  std::copy_n(p->Entries.begin() + start, n, entries);
  return n;
}

UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries) {
  TGdiObject* o = FindGdiObject(palette);
  TGdiPalette* p = FindPalette(palette);
  if (!p || !entries || o->Stock) return 0;  // the default palette stays as it is
  UINT n = Span(*p, start, count);
  std::copy_n(entries, n, p->Entries.begin() + start);
  return n;
}

UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color) {
  TGdiPalette* p = FindPalette(palette);
  if (!p || p->Entries.empty()) return CLR_INVALID;
  int r = GetRValue(color), g = GetGValue(color), b = GetBValue(color);
  UINT best = 0;
  int bestDistance = std::numeric_limits<int>::max();
  for (size_t i = 0; i < p->Entries.size(); ++i) {
    const PALETTEENTRY& e = p->Entries[i];
    int dr = e.peRed - r, dg = e.peGreen - g, db = e.peBlue - b;
    int d = dr * dr + dg * dg + db * db;
    if (d < bestDistance) {
      bestDistance = d;
      best = UINT(i);
    }
  }
  return best;
}

HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc || !FindPalette(palette)) return nullptr;
  HPALETTE old = dc->S.Palette ? dc->S.Palette : DefaultPalette();
  dc->S.Palette = palette;
  return old;
}

UINT RealizePalette(HDC hdc) { return FindDeviceContext(hdc) ? 0 : GDI_ERROR; }
