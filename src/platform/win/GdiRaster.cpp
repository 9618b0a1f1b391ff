// Block transfers with any raster operation, stretching, alpha blending and gradient fills,
// computed pixel by pixel on the surfaces so that results are exact.
#include <algorithm>
#include <cmath>
#include <cstring>

#include "platform/win/DeviceContext.h"

namespace {

bool IsRaw32(const QImage& img) {
  return img.format() == QImage::Format_RGB32 || img.format() == QImage::Format_ARGB32 ||
         img.format() == QImage::Format_ARGB32_Premultiplied;
}

// Surfaces are kept at 32 bits; anything else is brought there once.
QImage* Surface32(TDeviceContext* dc) {
  QImage* img = dc ? dc->Surface() : nullptr;
  if (!img || img->isNull()) return nullptr;
  if (!IsRaw32(*img)) *img = img->convertToFormat(QImage::Format_RGB32);
  return img;
}

bool KeepsAlpha(const QImage& img) { return img.format() != QImage::Format_RGB32; }

// 0x00RRGGBB of a colour reference.
uint32_t ToPixel(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }

bool IsMono(TDeviceContext* dc) {
  if (!dc || !dc->Memory) return false;
  TGdiBitmap* b = FindBitmap(dc->S.Bitmap);
  return b && b->BitsPerPixel == 1 && !b->Section;  // a one-bit section maps through its table
}

COLORREF ResolveColor(COLORREF c) { return (c & 0xFF000000u) == 0xFF000000u ? GetSysColor(int(c & 0xFF)) : c; }

// The brush of a context as a pattern source.
struct TPatternSource {
  bool Null = true;
  uint32_t Solid = 0;
  QImage Tile;  // RGB32, empty for solid brushes
  QPoint Org;
  uint32_t At(int x, int y) const {
    if (Tile.isNull()) return Solid;
    int w = Tile.width(), h = Tile.height();
    int tx = ((x - Org.x()) % w + w) % w, ty = ((y - Org.y()) % h + h) % h;
    return reinterpret_cast<const uint32_t*>(Tile.constScanLine(ty))[tx] & 0xFFFFFF;
  }
};

bool HatchBit(ULONG_PTR style, int x, int y) {
  switch (style) {
    case HS_HORIZONTAL: return y == 4;
    case HS_VERTICAL: return x == 4;
    case HS_FDIAGONAL: return x == y;
    case HS_BDIAGONAL: return x == 7 - y;
    case HS_CROSS: return x == 4 || y == 4;
    default: return x == y || x == 7 - y;
  }
}

TPatternSource PatternOf(TDeviceContext* dc) {
  TPatternSource p;
  p.Org = dc->S.BrushOrg + dc->DeviceOrigin;
  uintptr_t v = reinterpret_cast<uintptr_t>(dc->S.Brush);
  if (v > 0 && v <= 31) {
    p.Null = false;
    p.Solid = ToPixel(GetSysColor(int(v - 1)));
    return p;
  }
  TGdiBrush* b = FindBrush(dc->S.Brush);
  if (!b || b->Log.lbStyle == BS_NULL) return p;
  p.Null = false;
  p.Solid = ToPixel(ResolveColor(b->Log.lbColor));
  if (b->Log.lbStyle == BS_HATCHED) {
    p.Tile = QImage(8, 8, QImage::Format_RGB32);
    uint32_t bk = ToPixel(dc->S.BkColor);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        reinterpret_cast<uint32_t*>(p.Tile.scanLine(y))[x] = 0xFF000000u | (HatchBit(b->Log.lbHatch, x, y) ? p.Solid : bk);
  } else if (b->Log.lbStyle == BS_PATTERN && !b->Pattern.isNull()) {
    p.Tile = b->Pattern.convertToFormat(QImage::Format_RGB32);
    if (b->Pattern.depth() == 1 || b->Pattern.allGray()) {
      // A two-colour pattern takes the context's text and background colours.
      bool mono = true;
      for (int y = 0; y < p.Tile.height() && mono; ++y)
        for (int x = 0; x < p.Tile.width(); ++x) {
          uint32_t c = reinterpret_cast<uint32_t*>(p.Tile.scanLine(y))[x] & 0xFFFFFF;
          if (c != 0 && c != 0xFFFFFF) mono = false;
        }
      if (mono) {
        uint32_t fg = ToPixel(dc->S.TextColor), bk = ToPixel(dc->S.BkColor);
        for (int y = 0; y < p.Tile.height(); ++y)
          for (int x = 0; x < p.Tile.width(); ++x) {
            uint32_t& c = reinterpret_cast<uint32_t*>(p.Tile.scanLine(y))[x];
            c = 0xFF000000u | ((c & 0xFFFFFF) ? bk : fg);
          }
      }
    }
  }
  return p;
}

uint32_t ToMonoPixel(uint32_t c) {
  int lum = int((c >> 16) & 0xFF) * 30 + int((c >> 8) & 0xFF) * 59 + int(c & 0xFF) * 11;
  return lum >= 12750 ? 0xFFFFFF : 0;
}

bool RopUsesSource(DWORD rop) { return ((rop >> 2) & 0x330000) != (rop & 0x330000); }
bool RopUsesPattern(DWORD rop) { return ((rop >> 4) & 0x0F0000) != (rop & 0x0F0000); }

// Maps destination offset i (0..dn-1) to a source offset 0..sn-1.
int MapOffset(int i, int dn, int sn, bool mirror) {
  int j = int((int64_t(2 * i + 1) * sn) / (2 * int64_t(dn)));
  j = std::clamp(j, 0, sn - 1);
  return mirror ? sn - 1 - j : j;
}

struct TBltArea {
  QRect Dest;       // surface coordinates, normalised
  QRect Source;     // surface coordinates, normalised
  bool MirrorX = false, MirrorY = false;
};

TBltArea MakeArea(TDeviceContext* dst, int x, int y, int cx, int cy, TDeviceContext* src, int x1,
                  int y1, int cx1, int cy1) {
  TBltArea a;
  QPoint d = dst->ToSurface(QPoint(x, y));
  a.Dest = QRect(cx < 0 ? d.x() + cx : d.x(), cy < 0 ? d.y() + cy : d.y(), std::abs(cx), std::abs(cy));
  if (src) {
    QPoint s = src->ToSurface(QPoint(x1, y1));
    a.Source = QRect(cx1 < 0 ? s.x() + cx1 : s.x(), cy1 < 0 ? s.y() + cy1 : s.y(), std::abs(cx1), std::abs(cy1));
  }
  a.MirrorX = (cx < 0) != (cx1 < 0);
  a.MirrorY = (cy < 0) != (cy1 < 0);
  return a;
}

// The source pixel for a destination pixel, averaged over its footprint when halftoning.
bool SourcePixel(const QImage& img, const TBltArea& a, int dx, int dy, bool halftone, uint32_t& out) {
  int dn = a.Dest.width(), dm = a.Dest.height(), sn = a.Source.width(), sm = a.Source.height();
  int i = dx - a.Dest.left(), k = dy - a.Dest.top();
  if (!halftone || (sn <= dn && sm <= dm)) {
    int sx = a.Source.left() + MapOffset(i, dn, sn, a.MirrorX);
    int sy = a.Source.top() + MapOffset(k, dm, sm, a.MirrorY);
    if (sx < 0 || sy < 0 || sx >= img.width() || sy >= img.height()) return false;
    out = reinterpret_cast<const uint32_t*>(img.constScanLine(sy))[sx];
    return true;
  }
  auto span = [](int idx, int dn, int sn, bool mirror, int& from, int& to) {
    from = int(int64_t(idx) * sn / dn);
    to = std::max(from + 1, int(int64_t(idx + 1) * sn / dn));
    if (mirror) {
      int f = sn - to, t = sn - from;
      from = f;
      to = t;
    }
  };
  int x0, x1, y0, y1;
  span(i, dn, sn, a.MirrorX, x0, x1);
  span(k, dm, sm, a.MirrorY, y0, y1);
  uint64_t sum[4] = {0, 0, 0, 0};
  int n = 0;
  for (int sy = a.Source.top() + y0; sy < a.Source.top() + y1; ++sy) {
    if (sy < 0 || sy >= img.height()) continue;
    const uint32_t* row = reinterpret_cast<const uint32_t*>(img.constScanLine(sy));
    for (int sx = a.Source.left() + x0; sx < a.Source.left() + x1; ++sx) {
      if (sx < 0 || sx >= img.width()) continue;
      uint32_t c = row[sx];
      for (int ch = 0; ch < 4; ++ch) sum[ch] += (c >> (8 * ch)) & 0xFF;
      ++n;
    }
  }
  if (!n) return false;
  out = 0;
  for (int ch = 0; ch < 4; ++ch) out |= uint32_t((sum[ch] + uint64_t(n) / 2) / uint64_t(n)) << (8 * ch);
  return true;
}

// A blit that neither stretches nor mirrors reads source pixels at a fixed offset from the
// destination: SourcePixel's mapping is then the identity, so rows can be read directly.
struct TDirectRows {
  bool On = false;
  int OffsetX = 0, OffsetY = 0;
};

TDirectRows DirectRows(const TBltArea& a) {
  TDirectRows d;
  d.On = a.Source.size() == a.Dest.size() && !a.MirrorX && !a.MirrorY;
  d.OffsetX = a.Source.left() - a.Dest.left();
  d.OffsetY = a.Source.top() - a.Dest.top();
  return d;
}

// The source row for destination row py and the destination columns [x0, x1] it covers, or
// nullptr when the row lies outside the source.
const uint32_t* DirectRow(const QImage& img, const TDirectRows& d, int py, int& x0, int& x1) {
  const int sy = py + d.OffsetY;
  if (sy < 0 || sy >= img.height()) return nullptr;
  x0 = std::max(x0, -d.OffsetX);
  x1 = std::min(x1, img.width() - 1 - d.OffsetX);
  return reinterpret_cast<const uint32_t*>(img.constScanLine(sy)) + d.OffsetX;
}

}  // namespace

DWORD ApplyRop3(DWORD rop, DWORD p, DWORD s, DWORD d) {
  DWORD table = (rop >> 16) & 0xFF, r = 0;
  for (int i = 0; i < 8; ++i)
    if (table & (1u << i)) r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
  return r;
}

int SetStretchBltMode(HDC hdc, int mode) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc || mode < BLACKONWHITE || mode > HALFTONE) return 0;
  return std::exchange(dc->S.StretchMode, mode);
}

int GetStretchBltMode(HDC hdc) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  return dc ? dc->S.StretchMode : 0;
}

BOOL SetBrushOrgEx(HDC hdc, int x, int y, POINT* old) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc) return FALSE;
  if (old) *old = {dc->S.BrushOrg.x(), dc->S.BrushOrg.y()};
  dc->S.BrushOrg = QPoint(x, y);
  return TRUE;
}

BOOL GetBrushOrgEx(HDC hdc, POINT* p) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc) return FALSE;
  *p = {dc->S.BrushOrg.x(), dc->S.BrushOrg.y()};
  return TRUE;
}

BOOL StretchBlt(HDC hdst, int x, int y, int cx, int cy, HDC hsrc, int x1, int y1, int cx1, int cy1,
                DWORD rop) {
  TDibSync sync;
  TDeviceContext* dst = FindDeviceContext(hdst);
  QImage* dimg = Surface32(dst);
  if (!dimg) return FALSE;
  bool usesSource = RopUsesSource(rop);
  TDeviceContext* src = usesSource ? FindDeviceContext(hsrc) : nullptr;
  QImage* simg = usesSource ? Surface32(src) : nullptr;
  if (usesSource && !simg) return FALSE;
  if (!usesSource) {
    cx1 = cx;
    cy1 = cy;
  }
  if (cx == 0 || cy == 0 || (usesSource && (cx1 == 0 || cy1 == 0))) return TRUE;
  TBltArea a = MakeArea(dst, x, y, cx, cy, src, x1, y1, cx1, cy1);
  if (!usesSource) a.Source = a.Dest;
  // A source sharing the destination's pixels is read from a copy.
  QImage sourceCopy;
  if (simg && simg->constBits() == dimg->constBits()) {
    sourceCopy = simg->copy();
    simg = &sourceCopy;
  }
  TPatternSource pat = RopUsesPattern(rop) ? PatternOf(dst) : TPatternSource();
  bool srcMono = usesSource && IsMono(src), dstMono = IsMono(dst);
  uint32_t monoFg = ToPixel(dst->S.TextColor), monoBk = ToPixel(dst->S.BkColor);
  uint32_t srcBk = src ? ToPixel(src->S.BkColor) : 0;
  bool halftone = dst->S.StretchMode == HALFTONE;
  bool keepAlpha = KeepsAlpha(*dimg);
  bool plainCopy = rop == SRCCOPY && !srcMono && !dstMono;
  const TDirectRows direct = usesSource ? DirectRows(a) : TDirectRows();
  QRegion area = dst->EffectiveClip() & QRegion(a.Dest);
  for (const QRect& r : area) {
    for (int py = r.top(); py <= r.bottom(); ++py) {
      uint32_t* row = reinterpret_cast<uint32_t*>(dimg->scanLine(py));
      int x0 = r.left(), x1 = r.right();
      const uint32_t* srow = direct.On ? DirectRow(*simg, direct, py, x0, x1) : nullptr;
      if (direct.On && !srow) continue;
      if (srow && plainCopy) {
        if (x1 < x0) continue;
        if (keepAlpha) {
          std::memcpy(row + x0, srow + x0, size_t(x1 - x0 + 1) * 4);
        } else {
          for (int px = x0; px <= x1; ++px) row[px] = srow[px] | 0xFF000000u;
        }
        continue;
      }
      for (int px = x0; px <= x1; ++px) {
        uint32_t s = 0;
        if (srow) {
          s = srow[px];
        } else if (usesSource) {
          if (!SourcePixel(*simg, a, px, py, halftone, s)) continue;
        }
        if (usesSource) {
          if (srcMono && !dstMono) s = (s & 0xFFFFFF) ? monoBk : monoFg;
          else if (!srcMono && dstMono) s = (s & 0xFFFFFF) == srcBk ? 0xFFFFFF : 0;
        }
        uint32_t d = row[px];
        uint32_t out;
        if (plainCopy) {
          out = s;
        } else {
          uint32_t p = pat.Null ? 0 : pat.At(px, py);
          if (dstMono) p = ToMonoPixel(p);
          out = (ApplyRop3(rop, p, s & 0xFFFFFF, d & 0xFFFFFF) & 0xFFFFFF) | (d & 0xFF000000u);
          if (dstMono) out = (out & 0xFF000000u) | ToMonoPixel(out);
        }
        row[px] = keepAlpha ? out : (out | 0xFF000000u);
      }
    }
  }
  return TRUE;
}

BOOL BitBlt(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, DWORD rop) {
  return StretchBlt(dst, x, y, cx, cy, src, x1, y1, cx, cy, rop);
}

BOOL PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop) {
  return StretchBlt(hdc, x, y, w, h, nullptr, 0, 0, w, h, rop);
}

BOOL AlphaBlend(HDC hdst, int x, int y, int cx, int cy, HDC hsrc, int x1, int y1, int cx1, int cy1,
                BLENDFUNCTION blend) {
  TDibSync sync;
  TDeviceContext* dst = FindDeviceContext(hdst);
  TDeviceContext* src = FindDeviceContext(hsrc);
  QImage* dimg = Surface32(dst);
  QImage* simg = Surface32(src);
  if (!dimg || !simg || cx < 0 || cy < 0 || cx1 < 0 || cy1 < 0 || blend.BlendOp != AC_SRC_OVER)
    return FALSE;
  TBltArea a = MakeArea(dst, x, y, cx, cy, src, x1, y1, cx1, cy1);
  if (!QRect(QPoint(0, 0), simg->size()).contains(a.Source) && !a.Source.isEmpty()) return FALSE;
  if (a.Dest.isEmpty() || a.Source.isEmpty()) return TRUE;
  QImage sourceCopy;
  if (simg->constBits() == dimg->constBits()) {
    sourceCopy = simg->copy();
    simg = &sourceCopy;
  }
  const uint32_t k = blend.SourceConstantAlpha;
  const bool perPixel = blend.AlphaFormat & AC_SRC_ALPHA;
  // Alpha-less sources have no alpha byte of their own: they count as opaque.
  const bool srcHasAlpha = KeepsAlpha(*simg);
  const bool keepAlpha = KeepsAlpha(*dimg);
  auto scale = [](uint32_t v, uint32_t f) { return (v * f + 127) / 255; };
  const TDirectRows direct = DirectRows(a);
  const bool halftone = dst->S.StretchMode == HALFTONE;
  QRegion area = dst->EffectiveClip() & QRegion(a.Dest);
  for (const QRect& r : area)
    for (int py = r.top(); py <= r.bottom(); ++py) {
      uint32_t* row = reinterpret_cast<uint32_t*>(dimg->scanLine(py));
      int x0 = r.left(), x1 = r.right();
      const uint32_t* srow = direct.On ? DirectRow(*simg, direct, py, x0, x1) : nullptr;
      if (direct.On && !srow) continue;
      for (int px = x0; px <= x1; ++px) {
        uint32_t s;
        if (srow) s = srow[px];
        else if (!SourcePixel(*simg, a, px, py, halftone, s)) continue;
        if (!srcHasAlpha) s |= 0xFF000000u;
        uint32_t d = row[px], out = 0;
        if (perPixel && k == 255 && (s >> 24) == 255) {
          out = s;  // an opaque source pixel covers the destination
        } else if (perPixel && k == 255 && s == 0) {
          out = d;  // a fully transparent black pixel leaves it as it is
        } else if (perPixel) {
          uint32_t sa = scale(s >> 24, k);
          for (int ch = 0; ch < 4; ++ch) {
            uint32_t sc = scale((s >> (8 * ch)) & 0xFF, k), dc = (d >> (8 * ch)) & 0xFF;
            out |= std::min<uint32_t>(255, sc + scale(dc, 255 - sa)) << (8 * ch);
          }
        } else {
          for (int ch = 0; ch < 4; ++ch) {
            uint32_t sc = (s >> (8 * ch)) & 0xFF, dc = (d >> (8 * ch)) & 0xFF;
            out |= std::min<uint32_t>(255, scale(sc, k) + scale(dc, 255 - k)) << (8 * ch);
          }
        }
        row[px] = keepAlpha ? out : (out | 0xFF000000u);
      }
    }
  return TRUE;
}

namespace {
// Channel value at step i of n between two 16-bit values, to 8 bits.
uint32_t Lerp16(int a, int b, int64_t i, int64_t n) {
  int64_t v = n <= 0 ? a : a + (int64_t(b) - a) * i / n;
  return uint32_t(v >> 8) & 0xFF;
}
}  // namespace

BOOL GradientFill(HDC hdc, const TRIVERTEX* v, ULONG nVertex, const void* mesh, ULONG nMesh, ULONG mode) {
  TDibSync sync;
  TDeviceContext* dc = FindDeviceContext(hdc);
  QImage* img = Surface32(dc);
  if (!img || !v || !mesh) return FALSE;
  QRegion clip = dc->EffectiveClip();
  bool keepAlpha = KeepsAlpha(*img);
  auto put = [&](int px, int py, uint32_t c) {
    uint32_t* row = reinterpret_cast<uint32_t*>(img->scanLine(py));
    row[px] = keepAlpha ? c : (c | 0xFF000000u);
  };
  if (mode == GRADIENT_FILL_RECT_H || mode == GRADIENT_FILL_RECT_V) {
    auto* rects = static_cast<const GRADIENT_RECT*>(mesh);
    for (ULONG m = 0; m < nMesh; ++m) {
      if (rects[m].UpperLeft >= nVertex || rects[m].LowerRight >= nVertex) return FALSE;
      TRIVERTEX a = v[rects[m].UpperLeft], b = v[rects[m].LowerRight];
      if (a.x > b.x) std::swap(a.x, b.x);
      if (a.y > b.y) std::swap(a.y, b.y);
      QPoint tl = dc->ToSurface(QPoint(a.x, a.y)), br = dc->ToSurface(QPoint(b.x, b.y));
      QRect rect(tl, QSize(br.x() - tl.x(), br.y() - tl.y()));
      bool horz = mode == GRADIENT_FILL_RECT_H;
      // The first and last pixel rows (or columns) carry the two colours exactly.
      int64_t n = (horz ? rect.width() : rect.height()) - 1;
      for (const QRect& r : clip & QRegion(rect))
        for (int py = r.top(); py <= r.bottom(); ++py)
          for (int px = r.left(); px <= r.right(); ++px) {
            int64_t i = horz ? px - rect.left() : py - rect.top();
            uint32_t c = (Lerp16(a.Alpha, b.Alpha, i, n) << 24) | (Lerp16(a.Red, b.Red, i, n) << 16) |
                         (Lerp16(a.Green, b.Green, i, n) << 8) | Lerp16(a.Blue, b.Blue, i, n);
            put(px, py, c);
          }
    }
    return TRUE;
  }
  if (mode != GRADIENT_FILL_TRIANGLE) return FALSE;
  auto* tris = static_cast<const GRADIENT_TRIANGLE*>(mesh);
  for (ULONG m = 0; m < nMesh; ++m) {
    ULONG idx[3] = {tris[m].Vertex1, tris[m].Vertex2, tris[m].Vertex3};
    if (idx[0] >= nVertex || idx[1] >= nVertex || idx[2] >= nVertex) return FALSE;
    QPoint p[3];
    for (int i = 0; i < 3; ++i) p[i] = dc->ToSurface(QPoint(v[idx[i]].x, v[idx[i]].y));
    int64_t area = int64_t(p[1].x() - p[0].x()) * (p[2].y() - p[0].y()) -
                   int64_t(p[2].x() - p[0].x()) * (p[1].y() - p[0].y());
    if (area == 0) continue;
    QRect box = QRect(p[0], p[0]).united(QRect(p[1], p[1])).united(QRect(p[2], p[2]));
    for (const QRect& r : clip & QRegion(box))
      for (int py = r.top(); py <= r.bottom(); ++py)
        for (int px = r.left(); px <= r.right(); ++px) {
          // Barycentric weights at the pixel's centre, doubled to stay in integers.
          int64_t X = 2 * px + 1, Y = 2 * py + 1;
          int64_t w[3];
          for (int i = 0; i < 3; ++i) {
            QPoint a = p[(i + 1) % 3], b = p[(i + 2) % 3];
            w[i] = (int64_t(2 * b.x()) - 2 * a.x()) * (Y - 2 * a.y()) - (int64_t(2 * b.y()) - 2 * a.y()) * (X - 2 * a.x());
            if (area < 0) w[i] = -w[i];
          }
          if (w[0] < 0 || w[1] < 0 || w[2] < 0) continue;
          int64_t total = w[0] + w[1] + w[2];
          uint32_t c = 0;
          for (int ch = 0; ch < 4; ++ch) {
            int64_t sum = 0;
            for (int i = 0; i < 3; ++i) {
              const TRIVERTEX& t = v[idx[i]];
              COLOR16 comp = ch == 0 ? t.Blue : ch == 1 ? t.Green : ch == 2 ? t.Red : t.Alpha;
              sum += w[i] * comp;
            }
            c |= (uint32_t(sum / total >> 8) & 0xFF) << (8 * ch);
          }
          put(px, py, c);
        }
  }
  return TRUE;
}

COLORREF GetNearestColor(HDC, COLORREF color) { return ResolveColor(color) & 0xFFFFFF; }
