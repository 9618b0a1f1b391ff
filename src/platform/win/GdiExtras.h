#pragma once
// The rest of the drawing interface: raster operations of any code, stretching modes,
// alpha blending and gradients, device-independent bitmaps, formatted text and 3D edges.
// Included by Gdi.h.

#include <string>

#include "platform/win/Windows.h"

// Raster operations beyond the common ones. Any ternary code (0x00XX0000 + anything) is
// evaluated from its truth table byte.
constexpr DWORD MERGECOPY = 0x00C000CA;
constexpr DWORD MERGEPAINT = 0x00BB0226;
constexpr DWORD NOTSRCERASE = 0x001100A6;
constexpr DWORD SRCERASE = 0x00440328;
constexpr DWORD PATPAINT = 0x00FB0A09;
// The value of a raster operation at one pixel: bitwise over pattern, source and destination.
DWORD ApplyRop3(DWORD rop, DWORD pattern, DWORD source, DWORD dest);

// The remaining binary raster operations of pens.
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;

// Stretching.
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;
constexpr int HALFTONE = 4;
int SetStretchBltMode(HDC hdc, int mode);
int GetStretchBltMode(HDC hdc);
BOOL SetBrushOrgEx(HDC hdc, int x, int y, POINT* old);
BOOL GetBrushOrgEx(HDC hdc, POINT* p);

// Alpha blending: the source is taken as premultiplied when AlphaFormat is AC_SRC_ALPHA.
constexpr BYTE AC_SRC_OVER = 0;
constexpr BYTE AC_SRC_ALPHA = 1;
struct BLENDFUNCTION {
  BYTE BlendOp = AC_SRC_OVER;
  BYTE BlendFlags = 0;
  BYTE SourceConstantAlpha = 255;
  BYTE AlphaFormat = 0;
};
BOOL AlphaBlend(HDC dst, int x, int y, int cx, int cy, HDC src, int x1, int y1, int cx1, int cy1,
                BLENDFUNCTION blend);

// Gradients: colour channels are 16-bit (value << 8).
using COLOR16 = unsigned short;
struct TRIVERTEX {
  LONG x = 0;
  LONG y = 0;
  COLOR16 Red = 0;
  COLOR16 Green = 0;
  COLOR16 Blue = 0;
  COLOR16 Alpha = 0;
};
struct GRADIENT_RECT {
  ULONG UpperLeft = 0;
  ULONG LowerRight = 0;
};
struct GRADIENT_TRIANGLE {
  ULONG Vertex1 = 0;
  ULONG Vertex2 = 0;
  ULONG Vertex3 = 0;
};
constexpr ULONG GRADIENT_FILL_RECT_H = 0;
constexpr ULONG GRADIENT_FILL_RECT_V = 1;
constexpr ULONG GRADIENT_FILL_TRIANGLE = 2;
BOOL GradientFill(HDC hdc, const TRIVERTEX* vertices, ULONG nVertex, const void* mesh, ULONG nMesh,
                  ULONG mode);

// Device-independent bitmaps.
constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
struct RGBQUAD {
  BYTE rgbBlue = 0;
  BYTE rgbGreen = 0;
  BYTE rgbRed = 0;
  BYTE rgbReserved = 0;
};
struct BITMAPINFOHEADER {
  DWORD biSize = 40;
  LONG biWidth = 0;
  LONG biHeight = 0;  // positive: bottom-up rows
  WORD biPlanes = 1;
  WORD biBitCount = 0;
  DWORD biCompression = BI_RGB;
  DWORD biSizeImage = 0;
  LONG biXPelsPerMeter = 0;
  LONG biYPelsPerMeter = 0;
  DWORD biClrUsed = 0;
  DWORD biClrImportant = 0;
};
// The colour table follows the header; room for 256 entries (or three bit-field masks).
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[256];
};
// Bytes of one row of a DIB (rows are padded to 4 bytes).
int DibStride(int width, int bitCount);
// 1, 4 and 8 bits per pixel: the number of colour-table entries (biClrUsed or 2^bits).
int DibColorCount(const BITMAPINFOHEADER& h);
// Rows of the bitmap into Bits in the format the header asks (1/4/8/16/24/32 bits; 1 to 8 with
// a colour table written into info). Bits null: only the header is filled in (size, 32 bits when
// biBitCount is 0). Returns the number of rows copied.
int GetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info,
              UINT usage);
int SetDIBits(HDC hdc, HBITMAP bitmap, UINT start, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT usage);
int StretchDIBits(HDC hdc, int x, int y, int cx, int cy, int x1, int y1, int cx1, int cy1,
                  const void* bits, const BITMAPINFO* info, UINT usage, DWORD rop);
int SetDIBitsToDevice(HDC hdc, int x, int y, DWORD cx, DWORD cy, int x1, int y1, UINT start,
                      UINT lines, const void* bits, const BITMAPINFO* info, UINT usage);
// A bitmap of the header's size and layout (1, 4, 8, 16, 24 or 32 bits; rows bottom-up for a
// positive height, top-down for a negative one; the colour table or bit-field masks of the
// header). The pixels live in *bits (zeroed), which the caller may read and write at any time
// between drawing calls: drawing shows in the memory when the call returns, and the memory's
// contents are what the next call draws with. DIB_RGB_COLORS only; no file mappings.
HBITMAP CreateDIBSection(HDC hdc, const BITMAPINFO* info, UINT usage, void** bits, void* section,
                         DWORD offset);
HBITMAP CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                       const BITMAPINFO* info, UINT usage);
constexpr DWORD CBM_INIT = 4;
// GetObject of a DIB section fills this when the buffer is large enough.
struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3] = {};
  void* dshSection = nullptr;
  DWORD dsOffset = 0;
};
// The depth a bitmap was created with (1 to 32).
int BitmapBitsPerPixel(HBITMAP bitmap);

// Every colour is shown as it is (32-bit surfaces).
COLORREF GetNearestColor(HDC hdc, COLORREF color);

// Formatted text.
constexpr UINT DT_TOP = 0x0;
constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_RIGHT = 0x2;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_BOTTOM = 0x8;
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_EXPANDTABS = 0x40;
constexpr UINT DT_TABSTOP = 0x80;
constexpr UINT DT_NOCLIP = 0x100;
constexpr UINT DT_EXTERNALLEADING = 0x200;
constexpr UINT DT_CALCRECT = 0x400;
constexpr UINT DT_NOPREFIX = 0x800;
constexpr UINT DT_INTERNAL = 0x1000;
constexpr UINT DT_EDITCONTROL = 0x2000;
constexpr UINT DT_PATH_ELLIPSIS = 0x4000;
constexpr UINT DT_END_ELLIPSIS = 0x8000;
constexpr UINT DT_MODIFYSTRING = 0x10000;
constexpr UINT DT_RTLREADING = 0x20000;
constexpr UINT DT_WORD_ELLIPSIS = 0x40000;
constexpr UINT DT_NOFULLWIDTHCHARBREAK = 0x80000;
constexpr UINT DT_HIDEPREFIX = 0x100000;
constexpr UINT DT_PREFIXONLY = 0x200000;
// Returns the height of the text (0 on failure). count -1: the whole text. With DT_CALCRECT the
// rectangle is set to the text's extent and nothing is drawn. With DT_MODIFYSTRING and an
// ellipsis, *text receives the shortened text.
int DrawText(HDC hdc, std::string* text, int count, RECT* rect, UINT format);
int DrawText(HDC hdc, const std::string& text, int count, RECT* rect, UINT format);

constexpr UINT ETO_OPAQUE = 0x2;
constexpr UINT ETO_CLIPPED = 0x4;
// dx: optional advances per character.
BOOL ExtTextOut(HDC hdc, int x, int y, UINT options, const RECT* rect, const std::string& text,
                const int* dx = nullptr);
BOOL GetTextExtentExPoint(HDC hdc, const std::string& text, int maxExtent, int* fit, int* dx,
                          SIZE* size);
int GetTextFace(HDC hdc, int count, char* name);

// 3D edges.
constexpr UINT BDR_RAISEDOUTER = 0x1;
constexpr UINT BDR_SUNKENOUTER = 0x2;
constexpr UINT BDR_RAISEDINNER = 0x4;
constexpr UINT BDR_SUNKENINNER = 0x8;
constexpr UINT BDR_OUTER = 0x3;
constexpr UINT BDR_INNER = 0xC;
constexpr UINT EDGE_RAISED = BDR_RAISEDOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_SUNKEN = BDR_SUNKENOUTER | BDR_SUNKENINNER;
constexpr UINT EDGE_ETCHED = BDR_SUNKENOUTER | BDR_RAISEDINNER;
constexpr UINT EDGE_BUMP = BDR_RAISEDOUTER | BDR_SUNKENINNER;
constexpr UINT BF_LEFT = 0x1;
constexpr UINT BF_TOP = 0x2;
constexpr UINT BF_RIGHT = 0x4;
constexpr UINT BF_BOTTOM = 0x8;
constexpr UINT BF_TOPLEFT = BF_TOP | BF_LEFT;
constexpr UINT BF_BOTTOMRIGHT = BF_BOTTOM | BF_RIGHT;
constexpr UINT BF_RECT = BF_LEFT | BF_TOP | BF_RIGHT | BF_BOTTOM;
constexpr UINT BF_MIDDLE = 0x800;
constexpr UINT BF_SOFT = 0x1000;
constexpr UINT BF_ADJUST = 0x2000;
constexpr UINT BF_FLAT = 0x4000;
constexpr UINT BF_MONO = 0x8000;
BOOL DrawEdge(HDC hdc, RECT* rect, UINT edge, UINT flags);

// Frame controls in the classic look.
constexpr UINT DFC_CAPTION = 1;
constexpr UINT DFC_MENU = 2;
constexpr UINT DFC_SCROLL = 3;
constexpr UINT DFC_BUTTON = 4;
constexpr UINT DFCS_BUTTONCHECK = 0x0000;
constexpr UINT DFCS_BUTTONRADIOIMAGE = 0x0001;
constexpr UINT DFCS_BUTTONRADIOMASK = 0x0002;
constexpr UINT DFCS_BUTTONRADIO = 0x0004;
constexpr UINT DFCS_BUTTON3STATE = 0x0008;
constexpr UINT DFCS_BUTTONPUSH = 0x0010;
constexpr UINT DFCS_SCROLLUP = 0x0000;
constexpr UINT DFCS_SCROLLDOWN = 0x0001;
constexpr UINT DFCS_SCROLLLEFT = 0x0002;
constexpr UINT DFCS_SCROLLRIGHT = 0x0003;
constexpr UINT DFCS_SCROLLSIZEGRIP = 0x0008;
constexpr UINT DFCS_CAPTIONCLOSE = 0x0000;
constexpr UINT DFCS_CAPTIONMIN = 0x0001;
constexpr UINT DFCS_CAPTIONRESTORE = 0x0003;
constexpr UINT DFCS_INACTIVE = 0x0100;
constexpr UINT DFCS_PUSHED = 0x0200;
constexpr UINT DFCS_CHECKED = 0x0400;
constexpr UINT DFCS_FLAT = 0x4000;
constexpr UINT DFCS_MONO = 0x8000;
// Check boxes and radio buttons fill the largest square centred in the rectangle. The radio
// mask paints every pixel of that square (black for the button, white around it); the radio
// image leaves the pixels around the button alone. Caption buttons (close, minimize, restore)
// are a push-button face with a glyph; the size grip fills its rectangle with the face colour
// and draws its ridges in the lower-right square.
BOOL DrawFrameControl(HDC hdc, RECT* rect, UINT type, UINT state);

// System bitmaps. OBM_CHECKBOXES is a sheet of 4 × 3 cells of 13 × 13: the rows hold check
// boxes, radio buttons and three-state boxes; the columns are normal, checked, pushed and
// pushed checked. Each call makes a new bitmap the caller deletes; unknown ids give nullptr.
constexpr intptr_t OBM_CHECKBOXES = 32759;
HBITMAP LoadBitmap(HINSTANCE hInstance, intptr_t id);

// Logical palettes. Surfaces are true colour, so a palette only maps colours to indexes; it
// never changes what is drawn.
constexpr UINT OBJ_PAL = 5;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;
constexpr BYTE PC_RESERVED = 0x01;
constexpr BYTE PC_EXPLICIT = 0x02;
constexpr BYTE PC_NOCOLLAPSE = 0x04;
struct PALETTEENTRY {
  BYTE peRed = 0;
  BYTE peGreen = 0;
  BYTE peBlue = 0;
  BYTE peFlags = 0;
};
// The entries follow the header; room for 256 inline. A caller may allocate a larger block and
// set palNumEntries to the count that follows.
struct LOGPALETTE {
  WORD palVersion = 0x300;
  WORD palNumEntries = 0;
  PALETTEENTRY palPalEntry[256];
};
// Null when palNumEntries is 0.
HPALETTE CreatePalette(const LOGPALETTE* log);
// entries null: returns the palette's entry count. Otherwise copies the entries of
// [start, start + count) that exist and returns how many were copied.
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, PALETTEENTRY* entries);
// Replaces the entries of [start, start + count) that exist; returns how many were set.
UINT SetPaletteEntries(HPALETTE palette, UINT start, UINT count, const PALETTEENTRY* entries);
// The index of the entry nearest to the colour (least squared RGB distance, the first of equal
// ones); CLR_INVALID for an unknown or empty palette.
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
// Returns the palette selected before (the default palette on a new context), null on failure.
HPALETTE SelectPalette(HDC hdc, HPALETTE palette, BOOL forceBackground);
// The number of entries mapped into the system palette: always 0 on true-colour surfaces;
// GDI_ERROR for an unknown context.
UINT RealizePalette(HDC hdc);
