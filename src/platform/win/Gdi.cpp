// Device contexts over QImage with a saved-state stack, and the basic drawing objects.
#include <QFontMetrics>
#include <QPainterPath>
#include <QGuiApplication>
#include <QPolygon>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>
#include <unordered_map>

#include "platform/win/DeviceContext.h"
#include "platform/win/WinInternal.h"

namespace {

std::unordered_map<uintptr_t, std::unique_ptr<TGdiObject>> gObjects;
uintptr_t gNextObject = 0x100;  // below: system colour brushes, see FillRect
std::unordered_map<uintptr_t, std::unique_ptr<TDeviceContext>> gDCs;
uintptr_t gNextDC = 0x10;

// The classic colour scheme, fixed so that drawing is the same on every machine.
COLORREF gSysColors[31] = {
    RGB(212, 208, 200),  // scroll bar
    RGB(58, 110, 165),   // background
    RGB(10, 36, 106),    // active caption
    RGB(128, 128, 128),  // inactive caption
    RGB(212, 208, 200),  // menu
    RGB(255, 255, 255),  // window
    RGB(0, 0, 0),        // window frame
    RGB(0, 0, 0),        // menu text
    RGB(0, 0, 0),        // window text
    RGB(255, 255, 255),  // caption text
    RGB(212, 208, 200),  // active border
    RGB(212, 208, 200),  // inactive border
    RGB(128, 128, 128),  // application workspace
    RGB(10, 36, 106),    // highlight
    RGB(255, 255, 255),  // highlight text
    RGB(212, 208, 200),  // button face
    RGB(128, 128, 128),  // button shadow
    RGB(128, 128, 128),  // grey text
    RGB(0, 0, 0),        // button text
    RGB(212, 208, 200),  // inactive caption text
    RGB(255, 255, 255),  // button highlight
    RGB(64, 64, 64),     // 3D dark shadow
    RGB(212, 208, 200),  // 3D light
    RGB(0, 0, 0),        // info text
    RGB(255, 255, 225),  // info background
    RGB(181, 181, 181),  // (unused index 25)
    RGB(0, 0, 128),      // hot light
    RGB(166, 202, 240),  // gradient active caption
    RGB(192, 192, 192),  // gradient inactive caption
    RGB(49, 106, 197),   // menu highlight
    RGB(212, 208, 200),  // menu bar
};

HGDIOBJ gStock[20] = {};
HGDIOBJ gSysBrushes[31] = {};
QImage gScreenImage(1, 1, QImage::Format_RGB32);

HGDIOBJ MakeStock(TGdiObject o) {
  o.Stock = true;
  return AddGdiObject(std::move(o));
}

void EnsureStock() {
  if (gStock[WHITE_BRUSH]) return;
  auto brush = [](UINT style, COLORREF c) {
    TGdiObject o;
    TGdiBrush b;
    b.Log.lbStyle = style;
    b.Log.lbColor = c;
    o.Data = b;
    return MakeStock(std::move(o));
  };
  auto pen = [](UINT style, COLORREF c) {
    TGdiObject o;
    TGdiPen p;
    p.Log.lopnStyle = style;
    p.Log.lopnWidth = {1, 0};
    p.Log.lopnColor = c;
    o.Data = p;
    return MakeStock(std::move(o));
  };
  gStock[WHITE_BRUSH] = brush(BS_SOLID, RGB(255, 255, 255));
  gStock[LTGRAY_BRUSH] = brush(BS_SOLID, RGB(192, 192, 192));
  gStock[GRAY_BRUSH] = brush(BS_SOLID, RGB(128, 128, 128));
  gStock[DKGRAY_BRUSH] = brush(BS_SOLID, RGB(64, 64, 64));
  gStock[BLACK_BRUSH] = brush(BS_SOLID, RGB(0, 0, 0));
  gStock[NULL_BRUSH] = brush(BS_NULL, 0);
  gStock[WHITE_PEN] = pen(PS_SOLID, RGB(255, 255, 255));
  gStock[BLACK_PEN] = pen(PS_SOLID, RGB(0, 0, 0));
  gStock[NULL_PEN] = pen(PS_NULL, 0);
  LOGFONT lf;
  lf.lfHeight = -11;
  std::strcpy(lf.lfFaceName, "DejaVu Sans");
  TGdiObject f;
  f.Data = TGdiFont{lf, FontFromLogFont(lf)};
  gStock[SYSTEM_FONT] = MakeStock(f);
  gStock[DEFAULT_GUI_FONT] = MakeStock(f);
  TGdiObject bm;
  bm.Data = TGdiBitmap{QImage(1, 1, QImage::Format_RGB32), 1, nullptr};
  std::get<TGdiBitmap>(bm.Data).Image.fill(Qt::black);
  gStock[19] = MakeStock(std::move(bm));  // the 1x1 bitmap of a new memory DC
  gScreenImage.fill(Qt::white);
}

QImage* ScreenImage() { return &gScreenImage; }

template <class T>
T* FindAs(HGDIOBJ h) {
  TGdiObject* o = FindGdiObject(h);
  return o ? std::get_if<T>(&o->Data) : nullptr;
}

QBrush QtBrush(HBRUSH h, bool* isNull) {
  *isNull = false;
  uintptr_t v = reinterpret_cast<uintptr_t>(h);
  if (v > 0 && v <= 31) return QBrush(ColorRefToQColor(GetSysColor(int(v - 1))));
  TGdiBrush* b = FindAs<TGdiBrush>(h);
  if (!b || b->Log.lbStyle == BS_NULL) {
    *isNull = true;
    return QBrush();
  }
  QColor c = ColorRefToQColor(b->Log.lbColor);
  if (b->Log.lbStyle == BS_PATTERN && !b->Pattern.isNull()) return QBrush(b->Pattern);
  if (b->Log.lbStyle == BS_HATCHED) {
    static const Qt::BrushStyle styles[] = {Qt::HorPattern,   Qt::VerPattern,   Qt::FDiagPattern,
                                            Qt::BDiagPattern, Qt::CrossPattern, Qt::DiagCrossPattern};
    return QBrush(c, styles[std::clamp<ULONG_PTR>(b->Log.lbHatch, 0, 5)]);
  }
  return QBrush(c);
}

// Composition for the current ROP2 (the raster engine does the bit operations).
void ApplyRop2(QPainter& p, int rop2) {
  switch (rop2) {
    case R2_XORPEN: p.setCompositionMode(QPainter::RasterOp_SourceXorDestination); break;
    case R2_NOT: p.setCompositionMode(QPainter::RasterOp_NotDestination); break;
    case R2_NOTMERGEPEN: p.setCompositionMode(QPainter::RasterOp_NotSourceAndNotDestination); break;
    case R2_MASKNOTPEN: p.setCompositionMode(QPainter::RasterOp_NotSourceAndDestination); break;
    case R2_NOTCOPYPEN: p.setCompositionMode(QPainter::RasterOp_NotSource); break;
    case R2_MASKPENNOT: p.setCompositionMode(QPainter::RasterOp_SourceAndNotDestination); break;
    case R2_NOTMASKPEN: p.setCompositionMode(QPainter::RasterOp_NotSourceOrNotDestination); break;
    case R2_MASKPEN: p.setCompositionMode(QPainter::RasterOp_SourceAndDestination); break;
    case R2_NOTXORPEN: p.setCompositionMode(QPainter::RasterOp_NotSourceXorDestination); break;
    case R2_MERGENOTPEN: p.setCompositionMode(QPainter::RasterOp_NotSourceOrDestination); break;
    case R2_MERGEPENNOT: p.setCompositionMode(QPainter::RasterOp_SourceOrNotDestination); break;
    case R2_MERGEPEN: p.setCompositionMode(QPainter::RasterOp_SourceOrDestination); break;
    default: p.setCompositionMode(QPainter::CompositionMode_SourceOver); break;
  }
}

struct TPenInfo {
  bool Null = true;
  int Width = 1;
  QColor Color;
  UINT Style = PS_SOLID;
};

TPenInfo PenOf(TDeviceContext* dc) {
  TPenInfo info;
  if (TGdiPen* pen = FindAs<TGdiPen>(dc->S.Pen)) {
    info.Style = pen->Log.lopnStyle & 0xF;
    info.Null = info.Style == PS_NULL;
    info.Width = std::max<LONG>(1, pen->Log.lopnWidth.x);
    info.Color = ColorRefToQColor(pen->Log.lopnColor);
  }
  if (dc->S.Rop2 == R2_BLACK) info.Color = Qt::black;
  if (dc->S.Rop2 == R2_WHITE) info.Color = Qt::white;
  if (dc->S.Rop2 == R2_NOP) info.Null = true;
  return info;
}

// The pixels of a one-pixel line from a to b, the end point left out.
void LinePoints(QPoint a, QPoint b, QPolygon& out) {
  int dx = std::abs(b.x() - a.x()), sx = a.x() < b.x() ? 1 : -1;
  int dy = -std::abs(b.y() - a.y()), sy = a.y() < b.y() ? 1 : -1;
  int err = dx + dy, x = a.x(), y = a.y();
  while (!(x == b.x() && y == b.y())) {
    out << QPoint(x, y);
    int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

bool DashedStyle(UINT s) { return s == PS_DASH || s == PS_DOT || s == PS_DASHDOT || s == PS_DASHDOTDOT; }

void StrokeLine(TDeviceContext* dc, QPoint a, QPoint b) {
  TPenInfo pen = PenOf(dc);
  if (pen.Null) return;
  TDibSync sync;
  QPainter p;
  if (!dc->BeginPainter(p)) return;
  ApplyRop2(p, dc->S.Rop2);
  if (pen.Width <= 1 && !DashedStyle(pen.Style)) {
    QPolygon pts;
    LinePoints(a, b, pts);
    p.setPen(QPen(pen.Color, 1));
    p.drawPoints(pts);
  } else {
    QPen qp(pen.Color, pen.Width);
    qp.setCapStyle(Qt::FlatCap);
    if (pen.Style == PS_DASH) qp.setStyle(Qt::DashLine);
    if (pen.Style == PS_DOT) qp.setStyle(Qt::DotLine);
    if (pen.Style == PS_DASHDOT) qp.setStyle(Qt::DashDotLine);
    if (pen.Style == PS_DASHDOTDOT) qp.setStyle(Qt::DashDotDotLine);
    p.setPen(qp);
    p.drawLine(a, b);
  }
}

QRect Normalized(int l, int t, int r, int b) {
  if (r < l) std::swap(l, r);
  if (b < t) std::swap(t, b);
  return QRect(l, t, r - l, b - t);
}

}  // namespace

// ---------------------------------------------------------------------------------------------

QColor ColorRefToQColor(COLORREF c) { return QColor(GetRValue(c), GetGValue(c), GetBValue(c)); }
COLORREF QColorToColorRef(const QColor& c) { return RGB(BYTE(c.red()), BYTE(c.green()), BYTE(c.blue())); }

QFont FontFromLogFont(const LOGFONT& lf) {
  QFont f(QString::fromUtf8(lf.lfFaceName[0] ? lf.lfFaceName : "DejaVu Sans"));
  // Negative heights are character heights; positive ones cell heights, of which the
  // character is about four fifths.
  int px = lf.lfHeight < 0 ? -lf.lfHeight : (lf.lfHeight > 0 ? std::max(1, int(std::lround(lf.lfHeight * 0.8))) : 11);
  f.setPixelSize(std::max(1, px));
  if (lf.lfWeight > 0) f.setWeight(QFont::Weight(std::clamp<LONG>(lf.lfWeight, 1, 1000)));
  f.setItalic(lf.lfItalic);
  f.setUnderline(lf.lfUnderline);
  f.setStrikeOut(lf.lfStrikeOut);
  if (lf.lfQuality == 3 /* non-antialiased */) f.setStyleStrategy(QFont::NoAntialias);
  return f;
}

TGdiObject* FindGdiObject(HGDIOBJ h) {
  EnsureStock();
  auto it = gObjects.find(reinterpret_cast<uintptr_t>(h));
  return it == gObjects.end() ? nullptr : it->second.get();
}
TGdiPen* FindPen(HGDIOBJ h) { return FindAs<TGdiPen>(h); }
TGdiBrush* FindBrush(HGDIOBJ h) { return FindAs<TGdiBrush>(h); }
TGdiFont* FindFont(HGDIOBJ h) { return FindAs<TGdiFont>(h); }
namespace {
// Sections looked up inside the drawing call running now; their surfaces may be drawn on.
thread_local int gDibSyncDepth = 0;
thread_local std::vector<HGDIOBJ> gDibTouched;
}  // namespace

TDibSync::TDibSync() { ++gDibSyncDepth; }

TDibSync::~TDibSync() {
  if (--gDibSyncDepth > 0) return;
  std::vector<HGDIOBJ> touched;
  touched.swap(gDibTouched);
  for (HGDIOBJ h : touched)
    if (TGdiBitmap* b = FindAs<TGdiBitmap>(h)) SyncDibSection(*b);
}

TGdiBitmap* FindBitmap(HGDIOBJ h) {
  TGdiBitmap* b = FindAs<TGdiBitmap>(h);
  if (!b || !b->Section) return b;
  // Within a drawing call a section is brought up to date once, before anything paints on it.
  if (gDibSyncDepth == 0) {
    SyncDibSection(*b);
  } else if (std::find(gDibTouched.begin(), gDibTouched.end(), h) == gDibTouched.end()) {
    SyncDibSection(*b);
    gDibTouched.push_back(h);
  }
  return b;
}
TGdiRegion* FindRegion(HGDIOBJ h) { return FindAs<TGdiRegion>(h); }

HGDIOBJ AddGdiObject(TGdiObject object) {
  uintptr_t id = gNextObject++;
  gObjects[id] = std::make_unique<TGdiObject>(std::move(object));
  return reinterpret_cast<HGDIOBJ>(id);
}

int LiveGdiObjectCount() {
  int n = 0;
  for (const auto& [id, object] : gObjects) n += object->Stock ? 0 : 1;
  return n;
}

HBITMAP CreateBitmapFromImage(const QImage& image) {
  TGdiObject o;
  o.Data = TGdiBitmap{image, image.depth() == 1 ? 1 : 32, nullptr};
  return AddGdiObject(std::move(o));
}

COLORREF GetSysColor(int index) {
  return index >= 0 && index < 31 ? gSysColors[index] : 0;
}

HBRUSH GetSysColorBrush(int index) {
  if (index < 0 || index >= 31) return nullptr;
  if (!gSysBrushes[index]) {
    TGdiObject o;
    TGdiBrush b;
    b.Log.lbColor = gSysColors[index];
    o.Data = b;
    gSysBrushes[index] = MakeStock(std::move(o));
  }
  return gSysBrushes[index];
}

void SetSysColors(int count, const int* indices, const COLORREF* values) {
  for (int i = 0; i < count; ++i) {
    int k = indices[i];
    if (k < 0 || k >= 31) continue;
    gSysColors[k] = values[i];
    if (TGdiBrush* b = FindBrush(gSysBrushes[k])) b->Log.lbColor = values[i];
  }
  BroadcastToTopLevels(WM_SYSCOLORCHANGE, 0, 0);
}

// ---------------------------------------------------------------------------------------------
// Device contexts

QImage* TDeviceContext::Surface() {
  if (Memory) {
    TGdiBitmap* b = FindBitmap(S.Bitmap);
    return b ? &b->Image : nullptr;
  }
  return Target;
}

QRegion TDeviceContext::EffectiveClip() {
  QImage* img = Surface();
  QRegion r(img ? QRect(QPoint(0, 0), img->size()) : QRect());
  if (HasBaseClip) r &= BaseClip;
  if (S.HasClip) r &= S.Clip.translated(DeviceOrigin);
  return r;
}

bool TDeviceContext::BeginPainter(QPainter& p) {
  QImage* img = Surface();
  if (!img || img->isNull()) return false;
  if (!p.begin(img)) return false;
  p.setClipRegion(EffectiveClip());
  p.translate(Offset());
  return true;
}

QFont TDeviceContext::CurrentFont() {
  if (TGdiFont* f = FindFont(S.Font)) return f->Font;
  return FindFont(GetStockObject(SYSTEM_FONT))->Font;
}

TDeviceContext* FindDeviceContext(HDC hdc) {
  auto it = gDCs.find(reinterpret_cast<uintptr_t>(hdc));
  return it == gDCs.end() ? nullptr : it->second.get();
}

namespace {
TDeviceContext* NewDC() {
  EnsureStock();
  auto dc = std::make_unique<TDeviceContext>();
  uintptr_t id = gNextDC++;
  dc->Handle = reinterpret_cast<HDC>(id);
  dc->S.Pen = gStock[BLACK_PEN];
  dc->S.Brush = gStock[WHITE_BRUSH];
  dc->S.Font = gStock[SYSTEM_FONT];
  TDeviceContext* raw = dc.get();
  gDCs[id] = std::move(dc);
  return raw;
}
}  // namespace

HDC CreateImageDC(QImage* image) {
  TDeviceContext* dc = NewDC();
  dc->Target = image;
  return dc->Handle;
}

HDC CreateWindowDC(TWindowObject* w, bool clientArea, const QRegion* clip) {
  EnsureBackBuffer(w);
  TDeviceContext* dc = NewDC();
  dc->Window = w->Handle;
  dc->Target = &w->BackBuffer;
  QRect client(QPoint(w->Client.left, w->Client.top), QPoint(w->Client.right - 1, w->Client.bottom - 1));
  if (clientArea) {
    dc->DeviceOrigin = client.topLeft();
    dc->HasBaseClip = true;
    dc->BaseClip = QRegion(client);
  }
  if (clip) {
    dc->BaseClip = dc->HasBaseClip ? (dc->BaseClip & *clip) : *clip;
    dc->HasBaseClip = true;
  }
  return dc->Handle;
}

void ReleaseWindowDCs(TWindowObject* w) {
  for (auto it = gDCs.begin(); it != gDCs.end();)
    if (it->second->Window == w->Handle) it = gDCs.erase(it);
    else ++it;
}

HDC CreateCompatibleDC(HDC) {
  TDeviceContext* dc = NewDC();
  dc->Memory = true;
  dc->S.Bitmap = gStock[19];
  return dc->Handle;
}

BOOL DeleteDC(HDC hdc) {
  auto it = gDCs.find(reinterpret_cast<uintptr_t>(hdc));
  if (it == gDCs.end()) return FALSE;
  if (TGdiBitmap* b = FindBitmap(it->second->S.Bitmap))
    if (b->SelectedInto == hdc) b->SelectedInto = nullptr;
  gDCs.erase(it);
  return TRUE;
}

HDC GetDC(HWND hWnd) {
  if (!hWnd) return CreateImageDC(ScreenImage());
  TWindowObject* w = FindWindowObject(hWnd);
  return w ? CreateWindowDC(w, true, nullptr) : nullptr;
}

HDC GetWindowDC(HWND hWnd) {
  if (!hWnd) return CreateImageDC(ScreenImage());
  TWindowObject* w = FindWindowObject(hWnd);
  return w ? CreateWindowDC(w, false, nullptr) : nullptr;
}

HDC GetDCEx(HWND hWnd, HRGN rgn, DWORD flags) {
  HDC dc = (flags & DCX_WINDOW) ? GetWindowDC(hWnd) : GetDC(hWnd);
  TDeviceContext* d = FindDeviceContext(dc);
  TGdiRegion* r = FindRegion(rgn);
  if (d && r && (flags & (DCX_INTERSECTRGN | DCX_EXCLUDERGN))) {
    QRegion area = r->Region.translated(d->DeviceOrigin);
    QRegion base = d->HasBaseClip ? d->BaseClip : QRegion(QRect(QPoint(0, 0), d->Surface()->size()));
    d->BaseClip = (flags & DCX_INTERSECTRGN) ? base & area : base - area;
    d->HasBaseClip = true;
  }
  return dc;
}

BOOL LockWindowUpdate(HWND) { return TRUE; }

int ReleaseDC(HWND hWnd, HDC hdc) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc) return 0;
  HWND window = dc->Window;
  DeleteDC(hdc);
  // What was drawn outside a paint shows at the next repaint of the widget.
  if (TWindowObject* w = FindWindowObject(window))
    if (w->Widget && !w->Painting) w->Widget->update();
  return 1;
}

HWND WindowFromDC(HDC hdc) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  return dc ? dc->Window : nullptr;
}

int SaveDC(HDC hdc) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc) return 0;
  dc->Saved.push_back(dc->S);
  return int(dc->Saved.size());
}

BOOL RestoreDC(HDC hdc, int n) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc || dc->Saved.empty()) return FALSE;
  int count = int(dc->Saved.size());
  int target = n < 0 ? count + n + 1 : n;  // -1: the last saved state
  if (target < 1 || target > count) return FALSE;
  TDeviceContext::TState s = dc->Saved[size_t(target - 1)];
  dc->Saved.resize(size_t(target - 1));
  // The selected bitmap of a memory DC changes with the state.
  if (dc->Memory && s.Bitmap != dc->S.Bitmap) SelectObject(hdc, s.Bitmap);
  dc->S = s;
  return TRUE;
}

namespace {
int gScreenLogPixels = 96;
}  // namespace

void SetScreenLogPixels(int Value) { gScreenLogPixels = Value > 0 ? Value : 96; }
int ScreenLogPixels() { return gScreenLogPixels; }

int GetDeviceCaps(HDC, int index) {
  switch (index) {
    case TECHNOLOGY: return DT_RASDISPLAY;
    case BITSPIXEL: return 32;
    case PLANES: return 1;
    case NUMCOLORS: return -1;
    case LOGPIXELSX:
    case LOGPIXELSY: return gScreenLogPixels;
    case HORZRES:
    case VERTRES: {
      QScreen* s = QGuiApplication::primaryScreen();
      QSize size = s ? s->size() : QSize(1024, 768);
      return index == HORZRES ? size.width() : size.height();
    }
  }
  return 0;
}

HGDIOBJ GetStockObject(int i) {
  EnsureStock();
  return i >= 0 && i < 20 ? gStock[i] : nullptr;
}

DWORD GetObjectType(HGDIOBJ h) {
  TGdiObject* o = FindGdiObject(h);
  if (!o) return 0;
  switch (o->Data.index()) {
    case 0: return OBJ_PEN;
    case 1: return OBJ_BRUSH;
    case 2: return OBJ_FONT;
    case 3: return OBJ_BITMAP;
    case 4: return OBJ_REGION;
    case 5: return OBJ_PAL;
  }
  return 0;
}

HGDIOBJ SelectObject(HDC hdc, HGDIOBJ h) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  TGdiObject* o = FindGdiObject(h);
  if (!dc || !o) return nullptr;
  HGDIOBJ old = nullptr;
  switch (o->Data.index()) {
    case 0: old = dc->S.Pen; dc->S.Pen = h; break;
    case 1: old = dc->S.Brush; dc->S.Brush = h; break;
    case 2: old = dc->S.Font; dc->S.Font = h; break;
    case 3: {
      if (!dc->Memory) return nullptr;
      auto& bm = std::get<TGdiBitmap>(o->Data);
      if (bm.SelectedInto && bm.SelectedInto != hdc && FindDeviceContext(bm.SelectedInto) && !o->Stock)
        return nullptr;  // a bitmap is in one memory DC at a time
      old = dc->S.Bitmap;
      if (TGdiBitmap* ob = FindBitmap(old))
        if (ob->SelectedInto == hdc) ob->SelectedInto = nullptr;
      dc->S.Bitmap = h;
      if (!o->Stock) bm.SelectedInto = hdc;
      break;
    }
    case 4: {
      SelectClipRgn(hdc, h);
      return reinterpret_cast<HGDIOBJ>(intptr_t(SIMPLEREGION));
    }
  }
  return old;
}

BOOL DeleteObject(HGDIOBJ h) {
  auto it = gObjects.find(reinterpret_cast<uintptr_t>(h));
  if (it == gObjects.end()) return FALSE;
  if (it->second->Stock) return TRUE;
  if (auto* bm = std::get_if<TGdiBitmap>(&it->second->Data))
    if (bm->SelectedInto && FindDeviceContext(bm->SelectedInto)) return FALSE;
  gObjects.erase(it);
  return TRUE;
}

int GetObject(HGDIOBJ h, int size, void* buffer) {
  TGdiObject* o = FindGdiObject(h);
  if (!o) return 0;
  auto put = [&](const auto& v) {
    int n = int(sizeof(v));
    if (buffer) std::memcpy(buffer, &v, size_t(std::min(size, n)));
    return n;
  };
  switch (o->Data.index()) {
    case 0: return put(std::get<TGdiPen>(o->Data).Log);
    case 1: return put(std::get<TGdiBrush>(o->Data).Log);
    case 2: return put(std::get<TGdiFont>(o->Data).Log);
    case 3: {
      auto& b = std::get<TGdiBitmap>(o->Data);
      BITMAP bm;
      bm.bmWidth = b.Image.width();
      bm.bmHeight = b.Image.height();
      bm.bmBitsPixel = WORD(b.BitsPerPixel);
      bm.bmWidthBytes = LONG(((b.Image.width() * b.BitsPerPixel + 15) / 16) * 2);
      if (!b.Section) return put(bm);
      // Sections answer with their memory and 4-byte rows, and with the whole description when
      // there is room for it.
      bm.bmBits = b.Section->Memory.get();
      bm.bmWidthBytes = DibStride(bm.bmWidth, bm.bmBitsPixel);
      if (size < int(sizeof(DIBSECTION))) return put(bm);
      DIBSECTION ds;
      ds.dsBm = bm;
      ds.dsBmih = b.Section->Info.bmiHeader;
      ds.dsBmih.biSizeImage = DWORD(b.Section->Size);
      if (ds.dsBmih.biCompression == BI_BITFIELDS) std::memcpy(ds.dsBitfields, b.Section->Info.bmiColors, 12);
      return put(ds);
    }
    case 5: return put(WORD(std::get<TGdiPalette>(o->Data).Entries.size()));
  }
  return 0;
}

HGDIOBJ GetCurrentObject(HDC hdc, UINT type) {
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!dc) return nullptr;
  switch (type) {
    case OBJ_PEN: return dc->S.Pen;
    case OBJ_BRUSH: return dc->S.Brush;
    case OBJ_FONT: return dc->S.Font;
    case OBJ_BITMAP: return dc->S.Bitmap;
  }
  return nullptr;
}

HPEN CreatePen(int style, int width, COLORREF color) {
  LOGPEN lp;
  lp.lopnStyle = UINT(style);
  lp.lopnWidth = {width, 0};
  lp.lopnColor = color;
  return CreatePenIndirect(&lp);
}

HPEN CreatePenIndirect(const LOGPEN* lp) {
  TGdiObject o;
  o.Data = TGdiPen{*lp};
  return AddGdiObject(std::move(o));
}

HBRUSH CreateSolidBrush(COLORREF color) {
  LOGBRUSH lb;
  lb.lbColor = color;
  return CreateBrushIndirect(&lb);
}

HBRUSH CreateHatchBrush(int style, COLORREF color) {
  LOGBRUSH lb;
  lb.lbStyle = BS_HATCHED;
  lb.lbColor = color;
  lb.lbHatch = ULONG_PTR(style);
  return CreateBrushIndirect(&lb);
}

HBRUSH CreateBrushIndirect(const LOGBRUSH* lb) {
  TGdiObject o;
  o.Data = TGdiBrush{*lb, QImage()};
  return AddGdiObject(std::move(o));
}

HBRUSH CreatePatternBrush(HBITMAP bitmap) {
  TGdiBitmap* b = FindBitmap(bitmap);
  if (!b) return nullptr;
  TGdiObject o;
  TGdiBrush br;
  br.Log.lbStyle = BS_PATTERN;
  br.Pattern = b->Image.copy();
  o.Data = br;
  return AddGdiObject(std::move(o));
}

HFONT CreateFontIndirect(const LOGFONT* lf) {
  TGdiObject o;
  o.Data = TGdiFont{*lf, FontFromLogFont(*lf)};
  return AddGdiObject(std::move(o));
}

HBITMAP CreateCompatibleBitmap(HDC, int cx, int cy) {
  QImage img(std::max(cx, 0), std::max(cy, 0), QImage::Format_RGB32);
  img.fill(Qt::black);
  return CreateBitmapFromImage(img);
}

HBITMAP CreateBitmap(int width, int height, UINT, UINT bitCount, const void* bits) {
  QImage img(std::max(width, 0), std::max(height, 0), QImage::Format_RGB32);
  img.fill(Qt::black);
  if (bitCount == 32 && bits) {
    for (int y = 0; y < img.height(); ++y)
      std::memcpy(img.scanLine(y), static_cast<const uint8_t*>(bits) + size_t(y) * width * 4,
                  size_t(width) * 4);
  } else if (bitCount == 1 && bits) {
    int stride = ((width + 15) / 16) * 2;
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x) {
        bool set = static_cast<const uint8_t*>(bits)[y * stride + x / 8] & (0x80 >> (x % 8));
        img.setPixel(x, y, set ? 0xFFFFFFFF : 0xFF000000);
      }
  }
  TGdiObject o;
  o.Data = TGdiBitmap{img, int(bitCount == 1 ? 1 : 32), nullptr};
  return AddGdiObject(std::move(o));
}

// ---------------------------------------------------------------------------------------------
// Regions

namespace {
HRGN AddRegion(QRegion r) {
  TGdiObject o;
  o.Data = TGdiRegion{std::move(r)};
  return AddGdiObject(std::move(o));
}
int RegionKind(const QRegion& r) {
  if (r.isEmpty()) return NULLREGION;
  return r.rectCount() == 1 ? SIMPLEREGION : COMPLEXREGION;
}
}  // namespace

HRGN CreateRectRgn(int x1, int y1, int x2, int y2) { return AddRegion(QRegion(Normalized(x1, y1, x2, y2))); }
HRGN CreateRectRgnIndirect(const RECT* r) { return CreateRectRgn(r->left, r->top, r->right, r->bottom); }
HRGN CreateEllipticRgn(int x1, int y1, int x2, int y2) {
  return AddRegion(QRegion(Normalized(x1, y1, x2, y2), QRegion::Ellipse));
}
HRGN CreateRoundRectRgn(int x1, int y1, int x2, int y2, int w, int h) {
  QRect r = Normalized(x1, y1, x2, y2);
  QPainterPath path;
  path.addRoundedRect(QRectF(0, 0, r.width(), r.height()), w / 2.0, h / 2.0);
  QRegion region(path.toFillPolygon().toPolygon());
  return AddRegion(region.translated(r.topLeft()));
}
HRGN CreatePolygonRgn(const POINT* pts, int count, int fillMode) {
  QPolygon poly;
  for (int i = 0; i < count; ++i) poly << QPoint(pts[i].x, pts[i].y);
  return AddRegion(QRegion(poly, fillMode == 2 ? Qt::WindingFill : Qt::OddEvenFill));
}
HRGN ExtCreateRegion(const XFORM* xform, DWORD count, const RGNDATA* data) {
  if (xform || !data || count < sizeof(RGNDATAHEADER)) return nullptr;
  const RGNDATAHEADER& h = data->rdh;
  if (h.dwSize != sizeof(RGNDATAHEADER) || h.iType != RDH_RECTANGLES) return nullptr;
  if ((count - sizeof(RGNDATAHEADER)) / sizeof(RECT) < h.nCount) return nullptr;
  const auto* bytes = reinterpret_cast<const char*>(data) + sizeof(RGNDATAHEADER);
  QList<QRect> rects;
  rects.reserve(qsizetype(h.nCount));
  for (DWORD i = 0; i < h.nCount; ++i) {
    RECT r;
    std::memcpy(&r, bytes + i * sizeof(RECT), sizeof(RECT));
    QRect q = Normalized(r.left, r.top, r.right, r.bottom);
    if (!q.isEmpty()) rects.append(q);
  }
  // Banded data (sorted by rows, then left to right, not overlapping) is taken in one step, as a
  // mask's runs are; anything else is united rectangle by rectangle.
  bool banded = true;
  for (qsizetype i = 1; i < rects.size() && banded; ++i) {
    const QRect &a = rects[i - 1], &b = rects[i];
    bool sameBand = a.top() == b.top() && a.bottom() == b.bottom() && a.right() < b.left();
    banded = sameBand || a.bottom() < b.top();
  }
  QRegion region;
  if (banded) {
    region.setRects(rects.constData(), int(rects.size()));
  } else {
    for (const QRect& r : rects) region += r;
  }
  return AddRegion(region);
}

int CombineRgn(HRGN dst, HRGN a, HRGN b, int mode) {
  TGdiRegion* d = FindRegion(dst);
  TGdiRegion* r1 = FindRegion(a);
  TGdiRegion* r2 = FindRegion(b);
  if (!d || !r1 || (mode != RGN_COPY && !r2)) return ERROR;
  QRegion x = r1->Region, y = r2 ? r2->Region : QRegion();
  switch (mode) {
    case RGN_AND: d->Region = x & y; break;
    case RGN_OR: d->Region = x | y; break;
    case RGN_XOR: d->Region = x ^ y; break;
    case RGN_DIFF: d->Region = x - y; break;
    case RGN_COPY: d->Region = x; break;
    default: return ERROR;
  }
  return RegionKind(d->Region);
}

int OffsetRgn(HRGN rgn, int x, int y) {
  TGdiRegion* r = FindRegion(rgn);
  if (!r) return ERROR;
  r->Region.translate(x, y);
  return RegionKind(r->Region);
}

BOOL SetRectRgn(HRGN rgn, int l, int t, int r, int b) {
  TGdiRegion* g = FindRegion(rgn);
  if (!g) return FALSE;
  g->Region = QRegion(Normalized(l, t, r, b));
  return TRUE;
}

int GetRgnBox(HRGN rgn, RECT* out) {
  TGdiRegion* r = FindRegion(rgn);
  if (!r) return ERROR;
  QRect b = r->Region.boundingRect();
  *out = b.isEmpty() ? RECT{} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
  return RegionKind(r->Region);
}

BOOL PtInRegion(HRGN rgn, int x, int y) {
  TGdiRegion* r = FindRegion(rgn);
  return r && r->Region.contains(QPoint(x, y));
}

BOOL RectInRegion(HRGN rgn, const RECT* rc) {
  TGdiRegion* r = FindRegion(rgn);
  return r && r->Region.intersects(Normalized(rc->left, rc->top, rc->right, rc->bottom));
}

BOOL EqualRgn(HRGN a, HRGN b) {
  TGdiRegion* x = FindRegion(a);
  TGdiRegion* y = FindRegion(b);
  return x && y && x->Region == y->Region;
}

// ---------------------------------------------------------------------------------------------
// State

#define DC_OR(ret)                            \
  TDeviceContext* dc = FindDeviceContext(hdc); \
  if (!dc) return ret

COLORREF SetTextColor(HDC hdc, COLORREF c) {
  DC_OR(CLR_INVALID);
  return std::exchange(dc->S.TextColor, c);
}
COLORREF GetTextColor(HDC hdc) {
  DC_OR(CLR_INVALID);
  return dc->S.TextColor;
}
COLORREF SetBkColor(HDC hdc, COLORREF c) {
  DC_OR(CLR_INVALID);
  return std::exchange(dc->S.BkColor, c);
}
COLORREF GetBkColor(HDC hdc) {
  DC_OR(CLR_INVALID);
  return dc->S.BkColor;
}
int SetBkMode(HDC hdc, int mode) {
  DC_OR(0);
  return std::exchange(dc->S.BkMode, mode);
}
int GetBkMode(HDC hdc) {
  DC_OR(0);
  return dc->S.BkMode;
}
int SetROP2(HDC hdc, int rop2) {
  DC_OR(0);
  return std::exchange(dc->S.Rop2, rop2);
}
int GetROP2(HDC hdc) {
  DC_OR(0);
  return dc->S.Rop2;
}

BOOL SetWindowOrgEx(HDC hdc, int x, int y, POINT* old) {
  DC_OR(FALSE);
  if (old) *old = {dc->S.WindowOrg.x(), dc->S.WindowOrg.y()};
  dc->S.WindowOrg = QPoint(x, y);
  return TRUE;
}
BOOL GetWindowOrgEx(HDC hdc, POINT* p) {
  DC_OR(FALSE);
  *p = {dc->S.WindowOrg.x(), dc->S.WindowOrg.y()};
  return TRUE;
}
BOOL OffsetWindowOrgEx(HDC hdc, int x, int y, POINT* old) {
  DC_OR(FALSE);
  if (old) *old = {dc->S.WindowOrg.x(), dc->S.WindowOrg.y()};
  dc->S.WindowOrg += QPoint(x, y);
  return TRUE;
}
BOOL SetViewportOrgEx(HDC hdc, int x, int y, POINT* old) {
  DC_OR(FALSE);
  if (old) *old = {dc->S.ViewportOrg.x(), dc->S.ViewportOrg.y()};
  dc->S.ViewportOrg = QPoint(x, y);
  return TRUE;
}
BOOL GetViewportOrgEx(HDC hdc, POINT* p) {
  DC_OR(FALSE);
  *p = {dc->S.ViewportOrg.x(), dc->S.ViewportOrg.y()};
  return TRUE;
}
BOOL OffsetViewportOrgEx(HDC hdc, int x, int y, POINT* old) {
  DC_OR(FALSE);
  if (old) *old = {dc->S.ViewportOrg.x(), dc->S.ViewportOrg.y()};
  dc->S.ViewportOrg += QPoint(x, y);
  return TRUE;
}

// Clip regions are kept in device coordinates, as the platform keeps them.
int SelectClipRgn(HDC hdc, HRGN rgn) { return ExtSelectClipRgn(hdc, rgn, RGN_COPY); }

int ExtSelectClipRgn(HDC hdc, HRGN rgn, int mode) {
  DC_OR(ERROR);
  TGdiRegion* r = FindRegion(rgn);
  if (!r) {
    if (mode != RGN_COPY) return ERROR;
    dc->S.HasClip = false;
    dc->S.Clip = QRegion();
    return SIMPLEREGION;
  }
  QImage* img = dc->Surface();
  QRegion all(img ? QRect(-dc->DeviceOrigin, img->size()) : QRect());
  QRegion cur = dc->S.HasClip ? dc->S.Clip : all;
  switch (mode) {
    case RGN_AND: cur &= r->Region; break;
    case RGN_OR: cur |= r->Region; break;
    case RGN_XOR: cur ^= r->Region; break;
    case RGN_DIFF: cur -= r->Region; break;
    default: cur = r->Region; break;
  }
  dc->S.HasClip = true;
  dc->S.Clip = cur;
  return RegionKind(cur);
}

namespace {
QRect LogicalToDeviceRect(TDeviceContext* dc, int l, int t, int r, int b) {
  QPoint d = -dc->S.WindowOrg + dc->S.ViewportOrg;
  return Normalized(l, t, r, b).translated(d);
}
}  // namespace

int IntersectClipRect(HDC hdc, int l, int t, int r, int b) {
  DC_OR(ERROR);
  QRegion rect(LogicalToDeviceRect(dc, l, t, r, b));
  QImage* img = dc->Surface();
  QRegion all(img ? QRect(-dc->DeviceOrigin, img->size()) : QRect());
  dc->S.Clip = (dc->S.HasClip ? dc->S.Clip : all) & rect;
  dc->S.HasClip = true;
  return RegionKind(dc->S.Clip);
}

int ExcludeClipRect(HDC hdc, int l, int t, int r, int b) {
  DC_OR(ERROR);
  QRegion rect(LogicalToDeviceRect(dc, l, t, r, b));
  QImage* img = dc->Surface();
  QRegion all(img ? QRect(-dc->DeviceOrigin, img->size()) : QRect());
  dc->S.Clip = (dc->S.HasClip ? dc->S.Clip : all) - rect;
  dc->S.HasClip = true;
  return RegionKind(dc->S.Clip);
}

int GetClipBox(HDC hdc, RECT* r) {
  DC_OR(ERROR);
  QRegion clip = dc->EffectiveClip().translated(-dc->Offset());
  QRect b = clip.boundingRect();
  *r = b.isEmpty() ? RECT{} : RECT{b.left(), b.top(), b.right() + 1, b.bottom() + 1};
  return RegionKind(clip);
}

int GetClipRgn(HDC hdc, HRGN rgn) {
  DC_OR(-1);
  TGdiRegion* r = FindRegion(rgn);
  if (!r) return -1;
  if (!dc->S.HasClip) return 0;
  r->Region = dc->S.Clip;
  return 1;
}

BOOL RectVisible(HDC hdc, const RECT* r) {
  DC_OR(FALSE);
  QRect rect = Normalized(r->left, r->top, r->right, r->bottom).translated(dc->Offset());
  return dc->EffectiveClip().intersects(rect);
}

BOOL PtVisible(HDC hdc, int x, int y) {
  DC_OR(FALSE);
  return dc->EffectiveClip().contains(dc->ToSurface(QPoint(x, y)));
}

// ---------------------------------------------------------------------------------------------
// Drawing

BOOL MoveToEx(HDC hdc, int x, int y, POINT* old) {
  DC_OR(FALSE);
  if (old) *old = {dc->S.CurrentPos.x(), dc->S.CurrentPos.y()};
  dc->S.CurrentPos = QPoint(x, y);
  return TRUE;
}

BOOL LineTo(HDC hdc, int x, int y) {
  DC_OR(FALSE);
  StrokeLine(dc, dc->S.CurrentPos, QPoint(x, y));
  dc->S.CurrentPos = QPoint(x, y);
  return TRUE;
}

BOOL Polyline(HDC hdc, const POINT* pts, int count) {
  DC_OR(FALSE);
  for (int i = 1; i < count; ++i)
    StrokeLine(dc, QPoint(pts[i - 1].x, pts[i - 1].y), QPoint(pts[i].x, pts[i].y));
  return TRUE;
}

BOOL Polygon(HDC hdc, const POINT* pts, int count) {
  DC_OR(FALSE);
  if (count < 2) return FALSE;
  QPolygon poly;
  for (int i = 0; i < count; ++i) poly << QPoint(pts[i].x, pts[i].y);
  bool nullBrush;
  QBrush brush = QtBrush(dc->S.Brush, &nullBrush);
  if (!nullBrush) {
    TDibSync sync;
    QPainter p;
    if (dc->BeginPainter(p)) {
      p.setPen(Qt::NoPen);
      p.setBrush(brush);
      p.drawPolygon(poly);
    }
  }
  for (int i = 0; i < count; ++i) StrokeLine(dc, poly[i], poly[(i + 1) % count]);
  return TRUE;
}

BOOL Rectangle(HDC hdc, int l, int t, int r, int b) {
  DC_OR(FALSE);
  QRect rect = Normalized(l, t, r, b);
  if (rect.isEmpty()) return TRUE;
  TPenInfo pen = PenOf(dc);
  bool nullBrush;
  QBrush brush = QtBrush(dc->S.Brush, &nullBrush);
  TDibSync sync;
  QPainter p;
  if (!dc->BeginPainter(p)) return FALSE;
  ApplyRop2(p, dc->S.Rop2);
  if (!nullBrush) p.fillRect(pen.Null ? rect : rect.adjusted(1, 1, -1, -1), brush);
  if (!pen.Null) {
    // The outline lies inside the rectangle.
    int w = std::min({pen.Width, rect.width(), rect.height()});
    QColor c = pen.Color;
    p.fillRect(QRect(rect.left(), rect.top(), rect.width(), w), c);
    p.fillRect(QRect(rect.left(), rect.bottom() - w + 1, rect.width(), w), c);
    p.fillRect(QRect(rect.left(), rect.top() + w, w, rect.height() - 2 * w), c);
    p.fillRect(QRect(rect.right() - w + 1, rect.top() + w, w, rect.height() - 2 * w), c);
  }
  return TRUE;
}

BOOL RoundRect(HDC hdc, int l, int t, int r, int b, int w, int h) {
  DC_OR(FALSE);
  TPenInfo pen = PenOf(dc);
  bool nullBrush;
  QBrush brush = QtBrush(dc->S.Brush, &nullBrush);
  TDibSync sync;
  QPainter p;
  if (!dc->BeginPainter(p)) return FALSE;
  p.setPen(pen.Null ? QPen(Qt::NoPen) : QPen(pen.Color, pen.Width));
  p.setBrush(nullBrush ? QBrush() : brush);
  p.drawRoundedRect(Normalized(l, t, r - 1, b - 1), w / 2.0, h / 2.0);
  return TRUE;
}

BOOL Ellipse(HDC hdc, int l, int t, int r, int b) {
  DC_OR(FALSE);
  TPenInfo pen = PenOf(dc);
  bool nullBrush;
  QBrush brush = QtBrush(dc->S.Brush, &nullBrush);
  TDibSync sync;
  QPainter p;
  if (!dc->BeginPainter(p)) return FALSE;
  p.setPen(pen.Null ? QPen(Qt::NoPen) : QPen(pen.Color, pen.Width));
  p.setBrush(nullBrush ? QBrush() : brush);
  QRect rect = Normalized(l, t, r, b);
  p.drawEllipse(QRect(rect.left(), rect.top(), rect.width() - 1, rect.height() - 1));
  return TRUE;
}

int FillRect(HDC hdc, const RECT* r, HBRUSH h) {
  DC_OR(0);
  bool nullBrush;
  QBrush brush = QtBrush(h, &nullBrush);
  if (nullBrush) return 1;
  QRect rect(r->left, r->top, r->right - r->left, r->bottom - r->top);
  if (rect.width() <= 0 || rect.height() <= 0) return 1;
  TDibSync sync;
  // A solid colour on a 32-bit surface is written straight into the rows: the painter would put
  // the same opaque pixels there, at many times the cost for the small areas bars fill.
  QImage* img = dc->Surface();
  if (img && !img->isNull() && brush.style() == Qt::SolidPattern && brush.color().alpha() == 255 &&
      (img->format() == QImage::Format_RGB32 || img->format() == QImage::Format_ARGB32 ||
       img->format() == QImage::Format_ARGB32_Premultiplied)) {
    const uint32_t pixel = brush.color().rgba();
    for (const QRect& part : dc->EffectiveClip() & QRegion(rect.translated(dc->Offset()))) {
      for (int y = part.top(); y <= part.bottom(); ++y) {
        uint32_t* row = reinterpret_cast<uint32_t*>(img->scanLine(y));
        std::fill(row + part.left(), row + part.right() + 1, pixel);
      }
    }
    return 1;
  }
  QPainter p;
  if (!dc->BeginPainter(p)) return 0;
  p.fillRect(rect, brush);
  return 1;
}

int FrameRect(HDC hdc, const RECT* r, HBRUSH h) {
  DC_OR(0);
  bool nullBrush;
  QBrush brush = QtBrush(h, &nullBrush);
  QRect rect(r->left, r->top, r->right - r->left, r->bottom - r->top);
  if (nullBrush || rect.width() <= 0 || rect.height() <= 0) return 1;
  TDibSync sync;
  QPainter p;
  if (!dc->BeginPainter(p)) return 0;
  p.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), brush);
  p.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), brush);
  p.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), brush);
  p.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), brush);
  return 1;
}

BOOL FillRgn(HDC hdc, HRGN rgn, HBRUSH h) {
  DC_OR(FALSE);
  TGdiRegion* r = FindRegion(rgn);
  bool nullBrush;
  QBrush brush = QtBrush(h, &nullBrush);
  if (!r) return FALSE;
  if (nullBrush) return TRUE;
  TDibSync sync;
  QPainter p;
  if (!dc->BeginPainter(p)) return FALSE;
  // Region coordinates are device coordinates.
  p.resetTransform();
  p.translate(dc->DeviceOrigin);
  for (const QRect& rc : r->Region) p.fillRect(rc, brush);
  return TRUE;
}

COLORREF SetPixel(HDC hdc, int x, int y, COLORREF c) {
  TDibSync sync;
  DC_OR(CLR_INVALID);
  QPoint pt = dc->ToSurface(QPoint(x, y));
  QImage* img = dc->Surface();
  if (!img || !dc->EffectiveClip().contains(pt)) return CLR_INVALID;
  img->setPixelColor(pt, ColorRefToQColor(c));
  return c;
}

COLORREF GetPixel(HDC hdc, int x, int y) {
  DC_OR(CLR_INVALID);
  QPoint pt = dc->ToSurface(QPoint(x, y));
  QImage* img = dc->Surface();
  if (!img || !img->rect().contains(pt) || !dc->EffectiveClip().contains(pt)) return CLR_INVALID;
  return QColorToColorRef(img->pixelColor(pt));
}

BOOL TextOut(HDC hdc, int x, int y, const std::string& text) {
  DC_OR(FALSE);
  QFont font = dc->CurrentFont();
  QFontMetrics fm(font);
  QString s = QString::fromStdString(text);
  TDibSync sync;
  QPainter p;
  if (!dc->BeginPainter(p)) return FALSE;
  int escapement = 0;
  if (TGdiFont* f = FindFont(dc->S.Font)) escapement = f->Log.lfEscapement;
  p.translate(x, y);
  if (escapement) p.rotate(-escapement / 10.0);
  QRect box(0, 0, CachedTextAdvance(font, s), fm.height());
  if (dc->S.BkMode == OPAQUE) p.fillRect(box, ColorRefToQColor(dc->S.BkColor));
  p.setFont(font);
  p.setPen(dc->TextQColor());
  p.drawText(QPoint(0, fm.ascent()), s);
  return TRUE;
}

BOOL GetTextExtentPoint32(HDC hdc, const std::string& text, SIZE* size) {
  DC_OR(FALSE);
  const QFont font = dc->CurrentFont();
  QFontMetrics fm(font);
  size->cx = CachedTextAdvance(font, QString::fromStdString(text));
  size->cy = fm.height();
  return TRUE;
}

BOOL GetTextMetrics(HDC hdc, TEXTMETRIC* tm) {
  DC_OR(FALSE);
  QFont font = dc->CurrentFont();
  QFontMetrics fm(font);
  tm->tmHeight = fm.height();
  tm->tmAscent = fm.ascent();
  tm->tmDescent = fm.descent();
  tm->tmInternalLeading = std::max(0, fm.height() - font.pixelSize());
  tm->tmExternalLeading = fm.leading();
  tm->tmAveCharWidth = fm.averageCharWidth();
  tm->tmMaxCharWidth = fm.maxWidth();
  tm->tmWeight = font.weight();
  return TRUE;
}

// Block transfers are in GdiRaster.cpp.
