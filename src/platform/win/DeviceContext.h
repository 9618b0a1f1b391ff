#pragma once
// The device context object and the drawing objects behind the GDI handles, for the libraries
// that extend drawing (raster operations, text layout, themed parts). Uses Qt.

#include <QFont>
#include <QImage>
#include <QPainter>
#include <QRegion>
#include <memory>
#include <variant>
#include <vector>

#include "platform/win/Gdi.h"
#include "platform/win/GdiExtras.h"

struct TGdiPen {
  LOGPEN Log;
};
struct TGdiBrush {
  LOGBRUSH Log;
  QImage Pattern;  // BS_PATTERN
};
struct TGdiFont {
  LOGFONT Log;
  QFont Font;
};
// The memory of a DIB section. A 32-bit top-down section's surface is this memory itself;
// other layouts keep a 32-bit surface and exchange changes with the memory (TDibSync).
struct TDibSection {
  BITMAPINFO Info;  // the header with its colour table or masks, as created
  std::shared_ptr<uint8_t[]> Memory;
  size_t Size = 0;
  bool Direct = false;
  std::vector<uint8_t> Shadow;  // the memory as last exchanged with the surface
  QImage Snapshot;              // the surface as last exchanged (shares its pixels until drawn on)
};
struct TGdiBitmap {
  QImage Image;
  int BitsPerPixel = 32;
  HDC SelectedInto = nullptr;
  std::shared_ptr<TDibSection> Section;  // CreateDIBSection only
};
struct TGdiRegion {
  QRegion Region;
};
struct TGdiPalette {
  std::vector<PALETTEENTRY> Entries;
};

struct TGdiObject {
  std::variant<TGdiPen, TGdiBrush, TGdiFont, TGdiBitmap, TGdiRegion, TGdiPalette> Data;
  bool Stock = false;
};

// Drawing entry points hold one of these while they run. A DIB section's memory and its drawing
// surface are kept alike: what the caller wrote into the memory is taken in whenever the bitmap
// is looked up, and what was drawn is written back when the outermost drawing call returns.
// A 32-bit top-down section draws straight into its memory and needs neither.
class TDibSync {
 public:
  TDibSync();
  ~TDibSync();
  TDibSync(const TDibSync&) = delete;
  TDibSync& operator=(const TDibSync&) = delete;
};
// Brings the section's memory and surface together now (no-op for other bitmaps).
void SyncDibSection(TGdiBitmap& bitmap);

// The object behind a handle, or null. FindBitmap also takes in a section's memory.
TGdiObject* FindGdiObject(HGDIOBJ h);
TGdiPen* FindPen(HGDIOBJ h);
TGdiBrush* FindBrush(HGDIOBJ h);
TGdiFont* FindFont(HGDIOBJ h);
TGdiBitmap* FindBitmap(HGDIOBJ h);
TGdiRegion* FindRegion(HGDIOBJ h);
TGdiPalette* FindPalette(HGDIOBJ h);
HGDIOBJ AddGdiObject(TGdiObject object);
// How many drawing objects exist, stock objects left out: tests check that drawing code
// deletes what it makes.
int LiveGdiObjectCount();
// A bitmap object over an image (the image is copied, sharing pixels until written).
HBITMAP CreateBitmapFromImage(const QImage& image);

QColor ColorRefToQColor(COLORREF c);
COLORREF QColorToColorRef(const QColor& c);
QFont FontFromLogFont(const LOGFONT& lf);
// The advance of a text in a font, shaped once and then remembered (per thread, bounded): text
// is measured over and over while bars and menus lay out and paint their captions.
int CachedTextAdvance(const QFont& font, const QString& text);

class TDeviceContext {
 public:
  struct TState {
    QPoint WindowOrg;
    QPoint ViewportOrg;
    bool HasClip = false;
    QRegion Clip;  // device coordinates (before DeviceOrigin)
    COLORREF TextColor = 0x000000;
    COLORREF BkColor = 0xFFFFFF;
    int BkMode = OPAQUE;
    int Rop2 = R2_COPYPEN;
    HGDIOBJ Pen = nullptr;
    HGDIOBJ Brush = nullptr;
    HGDIOBJ Font = nullptr;
    HGDIOBJ Bitmap = nullptr;
    QPoint CurrentPos;
    int StretchMode = 3;  // COLORONCOLOR
    QPoint BrushOrg;
    HGDIOBJ Palette = nullptr;  // null: the default palette
  };

  HDC Handle = nullptr;
  HWND Window = nullptr;  // window DCs
  bool Memory = false;    // CreateCompatibleDC
  QImage* Target = nullptr;  // window back buffer when not a memory DC
  QPoint DeviceOrigin;       // the client area's place on the target
  bool HasBaseClip = false;
  QRegion BaseClip;  // target coordinates (the paint's update region, the client area)
  TState S;
  std::vector<TState> Saved;

  // The image drawn into: the selected bitmap of a memory DC, else the target.
  QImage* Surface();
  // Logical to target coordinates.
  QPoint ToSurface(QPoint logical) const {
    return logical - S.WindowOrg + S.ViewportOrg + DeviceOrigin;
  }
  QPoint Offset() const { return -S.WindowOrg + S.ViewportOrg + DeviceOrigin; }
  // The clip in target coordinates (always bounded by the surface).
  QRegion EffectiveClip();
  // Starts a painter on the surface with the clip and the logical-to-target translation set.
  bool BeginPainter(QPainter& p);
  QColor TextQColor() const { return ColorRefToQColor(S.TextColor); }
  QFont CurrentFont();
};

TDeviceContext* FindDeviceContext(HDC hdc);
// A device context drawing into an image that the caller keeps alive (off-screen drawing).
HDC CreateImageDC(QImage* image);
