// Device-independent bitmaps: rows of 1 to 32 bits per pixel moved to and from the 32-bit
// surfaces, with colour tables and bit-field masks.
#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/win/DeviceContext.h"

namespace {

const RGBQUAD kVga[16] = {{0, 0, 0, 0},     {0, 0, 128, 0},   {0, 128, 0, 0},   {0, 128, 128, 0},
                          {128, 0, 0, 0},   {128, 0, 128, 0}, {128, 128, 0, 0}, {192, 192, 192, 0},
                          {128, 128, 128, 0}, {0, 0, 255, 0}, {0, 255, 0, 0},   {0, 255, 255, 0},
                          {255, 0, 0, 0},   {255, 0, 255, 0}, {255, 255, 0, 0}, {255, 255, 255, 0}};

// The table written for bitmaps read at 1, 4 or 8 bits: black and white; the 16 classic colours;
// those followed by a 6x6x6 cube and greys.
void DefaultTable(int bits, RGBQUAD* t) {
  if (bits == 1) {
    t[0] = {0, 0, 0, 0};
    t[1] = {255, 255, 255, 0};
    return;
  }
  for (int i = 0; i < 16; ++i) t[i] = kVga[i];
  if (bits == 4) return;
  int n = 16;
  for (int r = 0; r < 6; ++r)
    for (int g = 0; g < 6; ++g)
      for (int b = 0; b < 6; ++b) t[n++] = {BYTE(b * 51), BYTE(g * 51), BYTE(r * 51), 0};
  for (int i = 0; n < 256; ++i, ++n) {
    BYTE v = BYTE(8 + i * 10);
    t[n] = {v, v, v, 0};
  }
}

int Nearest(const RGBQUAD* t, int count, uint32_t c) {
  int best = 0;
  long bestD = -1;
  int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
  for (int i = 0; i < count; ++i) {
    long d = long(r - t[i].rgbRed) * (r - t[i].rgbRed) + long(g - t[i].rgbGreen) * (g - t[i].rgbGreen) +
             long(b - t[i].rgbBlue) * (b - t[i].rgbBlue);
    if (bestD < 0 || d < bestD) {
      bestD = d;
      best = i;
      if (!d) break;
    }
  }
  return best;
}

struct TMasks {
  uint32_t R, G, B;
};
TMasks MasksOf(const BITMAPINFO* info) {
  int bits = info->bmiHeader.biBitCount;
  if (info->bmiHeader.biCompression == BI_BITFIELDS) {
    uint32_t m[3];
    std::memcpy(m, info->bmiColors, sizeof m);
    return {m[0], m[1], m[2]};
  }
  if (bits == 16) return {0x7C00, 0x03E0, 0x001F};
  return {0xFF0000, 0x00FF00, 0x0000FF};
}

int Shift(uint32_t mask) {
  int s = 0;
  while (mask && !(mask & 1)) {
    mask >>= 1;
    ++s;
  }
  return s;
}
// A masked field widened to 8 bits.
uint32_t Field(uint32_t v, uint32_t mask) {
  if (!mask) return 0;
  int s = Shift(mask);
  uint32_t m = mask >> s, x = (v & mask) >> s;
  return m == 0xFF ? x : (x * 255 + m / 2) / m;
}
uint32_t Pack(uint32_t c8, uint32_t mask) {
  if (!mask) return 0;
  int s = Shift(mask);
  uint32_t m = mask >> s;
  return ((c8 * m + 127) / 255) << s;
}

// One DIB row to 0xAARRGGBB pixels (alpha only for 32 bits, else 0xFF).
void DecodeRow(const BITMAPINFO* info, const uint8_t* row, uint32_t* out, int width) {
  int bits = info->bmiHeader.biBitCount;
  if (bits <= 8) {
    int per = 8 / bits, mask = (1 << bits) - 1, count = DibColorCount(info->bmiHeader);
    for (int x = 0; x < width; ++x) {
      int idx = (row[x / per] >> (8 - bits * (x % per + 1))) & mask;
      RGBQUAD q = idx < count ? info->bmiColors[idx] : RGBQUAD{};
      out[x] = 0xFF000000u | (uint32_t(q.rgbRed) << 16) | (uint32_t(q.rgbGreen) << 8) | q.rgbBlue;
    }
  } else if (bits == 16) {
    TMasks m = MasksOf(info);
    for (int x = 0; x < width; ++x) {
      uint32_t v = row[2 * x] | (uint32_t(row[2 * x + 1]) << 8);
      out[x] = 0xFF000000u | (Field(v, m.R) << 16) | (Field(v, m.G) << 8) | Field(v, m.B);
    }
  } else if (bits == 24) {
    for (int x = 0; x < width; ++x)
      out[x] = 0xFF000000u | (uint32_t(row[3 * x + 2]) << 16) | (uint32_t(row[3 * x + 1]) << 8) | row[3 * x];
  } else {
    TMasks m = MasksOf(info);
    for (int x = 0; x < width; ++x) {
      uint32_t v;
      std::memcpy(&v, row + 4 * x, 4);
      if (info->bmiHeader.biCompression == BI_BITFIELDS)
        out[x] = 0xFF000000u | (Field(v, m.R) << 16) | (Field(v, m.G) << 8) | Field(v, m.B);
      else
        out[x] = v;
    }
  }
}

void EncodeRow(const BITMAPINFO* info, const uint32_t* in, uint8_t* row, int width) {
  int bits = info->bmiHeader.biBitCount;
  std::memset(row, 0, size_t(DibStride(width, bits)));
  if (bits <= 8) {
    int per = 8 / bits, count = DibColorCount(info->bmiHeader);
    for (int x = 0; x < width; ++x) {
      int idx = Nearest(info->bmiColors, count, in[x]);
      row[x / per] |= uint8_t(idx << (8 - bits * (x % per + 1)));
    }
  } else if (bits == 16) {
    TMasks m = MasksOf(info);
    for (int x = 0; x < width; ++x) {
      uint32_t c = in[x];
      uint32_t v = Pack((c >> 16) & 0xFF, m.R) | Pack((c >> 8) & 0xFF, m.G) | Pack(c & 0xFF, m.B);
      row[2 * x] = uint8_t(v);
      row[2 * x + 1] = uint8_t(v >> 8);
    }
  } else if (bits == 24) {
    for (int x = 0; x < width; ++x) {
      row[3 * x] = uint8_t(in[x]);
      row[3 * x + 1] = uint8_t(in[x] >> 8);
      row[3 * x + 2] = uint8_t(in[x] >> 16);
    }
  } else {
    std::memcpy(row, in, size_t(width) * 4);
  }
}

bool ValidDepth(int bits) { return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32; }

// The DIB as a 32-bit image, top row first.
QImage DecodeDib(const void* bits, const BITMAPINFO* info) {
  const BITMAPINFOHEADER& h = info->bmiHeader;
  int w = h.biWidth, ht = std::abs(h.biHeight);
  if (w <= 0 || ht <= 0 || !ValidDepth(h.biBitCount) || !bits) return QImage();
  QImage img(w, ht, QImage::Format_ARGB32);
  int stride = DibStride(w, h.biBitCount);
  for (int r = 0; r < ht; ++r) {
    int y = h.biHeight > 0 ? ht - 1 - r : r;
    DecodeRow(info, static_cast<const uint8_t*>(bits) + size_t(r) * stride,
              reinterpret_cast<uint32_t*>(img.scanLine(y)), w);
  }
  if (h.biBitCount != 32 || h.biCompression == BI_BITFIELDS) return img.convertToFormat(QImage::Format_RGB32);
  return img;
}

bool IsRaw32(const QImage& img) {
  return img.format() == QImage::Format_RGB32 || img.format() == QImage::Format_ARGB32;
}

void WrapDirect(TGdiBitmap& b) {
  TDibSection& s = *b.Section;
  const BITMAPINFOHEADER& h = s.Info.bmiHeader;
  // The surface keeps the memory alive as long as any copy of it exists.
  auto* keep = new std::shared_ptr<uint8_t[]>(s.Memory);
  b.Image = QImage(
      s.Memory.get(), h.biWidth, -h.biHeight, DibStride(h.biWidth, 32), QImage::Format_ARGB32,
      [](void* p) { delete static_cast<std::shared_ptr<uint8_t[]>*>(p); }, keep);
}

// A surface shared with another image moves to memory of its own when drawn on; its pixels
// are brought back and it is pointed at the section again.
void SyncDirect(TGdiBitmap& b) {
  TDibSection& s = *b.Section;
  if (b.Image.constBits() == s.Memory.get()) return;
  const BITMAPINFOHEADER& h = s.Info.bmiHeader;
  if (b.Image.size() == QSize(h.biWidth, -h.biHeight)) {
    QImage img = b.Image.format() == QImage::Format_ARGB32 ? b.Image : b.Image.convertToFormat(QImage::Format_ARGB32);
    int stride = DibStride(h.biWidth, 32);
    for (int y = 0; y < img.height(); ++y)
      std::memcpy(s.Memory.get() + size_t(y) * size_t(stride), img.constScanLine(y), size_t(h.biWidth) * 4);
  }
  WrapDirect(b);
}

// The bits of pixel x of an encoded row (most significant bits first below 8 bits).
void CopyPixelBits(const uint8_t* from, uint8_t* to, int x, int bits) {
  if (bits >= 8) {
    std::memcpy(to + size_t(x) * size_t(bits / 8), from + size_t(x) * size_t(bits / 8), size_t(bits / 8));
    return;
  }
  int bit = x * bits, shift = 8 - bits - bit % 8;
  uint8_t mask = uint8_t(((1 << bits) - 1) << shift);
  to[bit / 8] = uint8_t((to[bit / 8] & ~mask) | (from[bit / 8] & mask));
}

// Pixels drawn since the last exchange are encoded into the memory (drawing wins over a write
// to the same pixel); every other pixel keeps what the memory holds, so indexes and padding the
// caller wrote survive. The surface is then decoded afresh, which also shows what a colour
// table or a 16-bit layout made of the drawn colours.
void SyncIndirect(TGdiBitmap& b) {
  TDibSection& s = *b.Section;
  const BITMAPINFOHEADER& h = s.Info.bmiHeader;
  uint8_t* mem = s.Memory.get();
  const bool drawn = b.Image.constBits() != s.Snapshot.constBits();
  const bool written = std::memcmp(mem, s.Shadow.data(), s.Size) != 0;
  if (!drawn && !written) return;
  const int w = h.biWidth, ht = std::abs(h.biHeight), stride = DibStride(w, h.biBitCount);
  if (drawn && b.Image.size() == s.Snapshot.size()) {
    QImage now = IsRaw32(b.Image) ? b.Image : b.Image.convertToFormat(QImage::Format_ARGB32);
    std::vector<uint8_t> row(static_cast<size_t>(stride));
    for (int r = 0; r < ht; ++r) {
      int y = h.biHeight > 0 ? ht - 1 - r : r;
      auto* a = reinterpret_cast<const uint32_t*>(now.constScanLine(y));
      auto* o = reinterpret_cast<const uint32_t*>(s.Snapshot.constScanLine(y));
      if (std::memcmp(a, o, size_t(w) * 4) == 0) continue;
      EncodeRow(&s.Info, a, row.data(), w);
      for (int x = 0; x < w; ++x)
        if (a[x] != o[x]) CopyPixelBits(row.data(), mem + size_t(r) * size_t(stride), x, h.biBitCount);
    }
  }
  b.Image = DecodeDib(mem, &s.Info);
  s.Snapshot = b.Image;
  std::memcpy(s.Shadow.data(), mem, s.Size);
}

bool SameLayout(const BITMAPINFO& a, const BITMAPINFO* b) {
  const BITMAPINFOHEADER& h = b->bmiHeader;
  if (a.bmiHeader.biBitCount != h.biBitCount || a.bmiHeader.biCompression != h.biCompression) return false;
  return h.biCompression != BI_BITFIELDS || std::memcmp(a.bmiColors, b->bmiColors, 12) == 0;
}

}  // namespace

void SyncDibSection(TGdiBitmap& bitmap) {
  if (!bitmap.Section) return;
  if (bitmap.Section->Direct) SyncDirect(bitmap);
  else SyncIndirect(bitmap);
}

int DibStride(int width, int bitCount) { return ((width * bitCount + 31) / 32) * 4; }

int DibColorCount(const BITMAPINFOHEADER& h) {
  if (h.biBitCount > 8) return 0;
  int full = 1 << h.biBitCount;
  return h.biClrUsed && int(h.biClrUsed) < full ? int(h.biClrUsed) : full;
}

int BitmapBitsPerPixel(HBITMAP bitmap) {
  TGdiBitmap* b = FindBitmap(bitmap);
  return b ? b->BitsPerPixel : 0;
}

int GetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, void* bits, BITMAPINFO* info, UINT) {
  TGdiBitmap* b = FindBitmap(bitmap);
  if (!b || !info) return 0;
  BITMAPINFOHEADER& h = info->bmiHeader;
  int w = b->Image.width(), ht = b->Image.height();
  if (!bits) {
    if (h.biBitCount == 0) {
      h.biWidth = w;
      h.biHeight = ht;
      h.biPlanes = 1;
      h.biBitCount = WORD(b->BitsPerPixel == 1 ? 1 : 32);
      h.biCompression = BI_RGB;
      h.biSizeImage = DWORD(DibStride(w, h.biBitCount) * ht);
      if (b->Section) {
        // A section describes its own layout (row order included).
        h = b->Section->Info.bmiHeader;
        h.biClrUsed = 0;
      }
    }
    return ht;
  }
  if (!ValidDepth(h.biBitCount) || h.biWidth != w) return 0;
  int rows = int(std::min<int64_t>(lines, std::max(0, ht - int(start))));
  int stride = DibStride(w, h.biBitCount);
  if (b->Section && SameLayout(b->Section->Info, info)) {
    // A section asked for in its own layout gives its memory and table as they are.
    const TDibSection& sec = *b->Section;
    const bool secUp = sec.Info.bmiHeader.biHeight > 0;
    if (h.biBitCount <= 8) {
      h.biClrUsed = sec.Info.bmiHeader.biClrUsed;
      std::memcpy(info->bmiColors, sec.Info.bmiColors, sizeof(RGBQUAD) * size_t(DibColorCount(sec.Info.bmiHeader)));
    } else if (h.biCompression == BI_BITFIELDS) {
      std::memcpy(info->bmiColors, sec.Info.bmiColors, 12);
    }
    for (int i = 0; i < rows; ++i) {
      int r = int(start) + i;
      int y = h.biHeight > 0 ? ht - 1 - r : r;  // image row, top first
      int from = secUp ? ht - 1 - y : y;
      std::memcpy(static_cast<uint8_t*>(bits) + size_t(i) * size_t(stride),
                  sec.Memory.get() + size_t(from) * size_t(stride), size_t(stride));
    }
    return rows;
  }
  if (h.biBitCount <= 8) {
    h.biClrUsed = 0;
    DefaultTable(h.biBitCount, info->bmiColors);
  }
  QImage img = b->Image.format() == QImage::Format_ARGB32 || b->Image.format() == QImage::Format_RGB32
                   ? b->Image
                   : b->Image.convertToFormat(QImage::Format_ARGB32);
  for (int i = 0; i < rows; ++i) {
    int r = int(start) + i;  // DIB row counted in the header's order
    int y = h.biHeight > 0 ? ht - 1 - r : r;
    EncodeRow(info, reinterpret_cast<const uint32_t*>(img.constScanLine(y)),
              static_cast<uint8_t*>(bits) + size_t(i) * stride, w);
  }
  return rows;
}

int SetDIBits(HDC, HBITMAP bitmap, UINT start, UINT lines, const void* bits, const BITMAPINFO* info, UINT) {
  TDibSync sync;
  TGdiBitmap* b = FindBitmap(bitmap);
  if (!b || !info || !bits) return 0;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  int w = b->Image.width(), ht = b->Image.height();
  if (!ValidDepth(h.biBitCount) || h.biWidth != w || std::abs(h.biHeight) != ht) return 0;
  bool alpha = b->Image.format() == QImage::Format_ARGB32;
  if (!alpha && b->Image.format() != QImage::Format_RGB32) b->Image = b->Image.convertToFormat(QImage::Format_RGB32);
  int rows = int(std::min<int64_t>(lines, std::max(0, ht - int(start))));
  int stride = DibStride(w, h.biBitCount);
  std::vector<uint32_t> line(static_cast<size_t>(w));
  for (int i = 0; i < rows; ++i) {
    int r = int(start) + i;
    int y = h.biHeight > 0 ? ht - 1 - r : r;
    DecodeRow(info, static_cast<const uint8_t*>(bits) + size_t(i) * stride, line.data(), w);
    uint32_t* dst = reinterpret_cast<uint32_t*>(b->Image.scanLine(y));
    for (int x = 0; x < w; ++x) dst[x] = alpha ? line[size_t(x)] : (line[size_t(x)] | 0xFF000000u);
  }
  return rows;
}

int StretchDIBits(HDC hdc, int x, int y, int cx, int cy, int x1, int y1, int cx1, int cy1, const void* bits,
                  const BITMAPINFO* info, UINT, DWORD rop) {
  if (!info) return 0;
  QImage img = DecodeDib(bits, info);
  if (img.isNull()) return 0;
  // Source coordinates count from the bottom row for bottom-up bitmaps.
  if (info->bmiHeader.biHeight > 0) y1 = img.height() - y1 - cy1;
  HDC mem = CreateImageDC(&img);
  BOOL ok = StretchBlt(hdc, x, y, cx, cy, mem, x1, y1, cx1, cy1, rop);
  DeleteDC(mem);
  return ok ? std::abs(cy1) : 0;
}

int SetDIBitsToDevice(HDC hdc, int x, int y, DWORD cx, DWORD cy, int x1, int y1, UINT start, UINT lines,
                      const void* bits, const BITMAPINFO* info, UINT usage) {
  if (!info || !bits || !lines) return 0;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  const int ht = std::abs(h.biHeight);
  if (int64_t(start) >= ht) return 0;
  const int band = int(std::min<int64_t>(lines, ht - int64_t(start)));
  // The bits hold rows start .. start + band - 1 in memory order; source rows are counted from
  // the bottom for bottom-up bitmaps and from the top otherwise, so the band is drawn as a
  // bitmap of its own with the source rectangle moved and cut to it.
  BITMAPINFO part = *info;
  part.bmiHeader.biHeight = h.biHeight > 0 ? band : -band;
  int top = y1 - int(start), bottom = top + int(cy);
  int from = std::max(top, 0), to = std::min(bottom, band);
  if (from >= to || cx == 0) return band;
  int dy = h.biHeight > 0 ? bottom - to : from - top;  // rows of the destination skipped
  TDibSync sync;
  if (!StretchDIBits(hdc, x, y + dy, int(cx), to - from, x1, from, int(cx), to - from, bits, &part, usage, SRCCOPY))
    return 0;
  return band;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, void* section, DWORD) {
  if (bits) *bits = nullptr;
  if (!info || usage != DIB_RGB_COLORS || section) return nullptr;
  const BITMAPINFOHEADER& h = info->bmiHeader;
  const int bpp = h.biBitCount;
  const bool fields = h.biCompression == BI_BITFIELDS;
  if (!ValidDepth(bpp) || h.biWidth <= 0 || h.biHeight == 0 || h.biHeight == INT32_MIN ||
      (h.biCompression != BI_RGB && !(fields && (bpp == 16 || bpp == 32))))
    return nullptr;
  const int64_t size = int64_t(DibStride(h.biWidth, bpp)) * std::abs(int64_t(h.biHeight));
  if (DibStride(h.biWidth, bpp) <= 0 || size > (int64_t(1) << 31)) return nullptr;
  auto s = std::make_shared<TDibSection>();
  s->Info.bmiHeader = h;
  s->Info.bmiHeader.biSizeImage = DWORD(size);
  if (bpp <= 8) {
    s->Info.bmiHeader.biClrUsed = DWORD(DibColorCount(h));
    std::memcpy(s->Info.bmiColors, info->bmiColors, sizeof(RGBQUAD) * size_t(DibColorCount(h)));
  } else if (fields) {
    std::memcpy(s->Info.bmiColors, info->bmiColors, 12);
  }
  s->Size = size_t(size);
  s->Memory = std::shared_ptr<uint8_t[]>(new (std::nothrow) uint8_t[s->Size]());
  if (!s->Memory) return nullptr;
  s->Direct = bpp == 32 && h.biHeight < 0 && !fields;
  HBITMAP bm = CreateBitmapFromImage(QImage());
  TGdiBitmap* b = std::get_if<TGdiBitmap>(&FindGdiObject(bm)->Data);
  b->BitsPerPixel = bpp;
  b->Section = s;
  if (s->Direct) {
    WrapDirect(*b);
  } else {
    s->Shadow.assign(s->Size, 0);
    b->Image = DecodeDib(s->Memory.get(), &s->Info);
    s->Snapshot = b->Image;
  }
  if (bits) *bits = s->Memory.get();
  return bm;
}

HBITMAP CreateDIBitmap(HDC, const BITMAPINFOHEADER* header, DWORD init, const void* bits, const BITMAPINFO* info,
                       UINT usage) {
  if (!header) return nullptr;
  QImage img(std::max<LONG>(header->biWidth, 0), std::abs(header->biHeight), QImage::Format_RGB32);
  img.fill(Qt::black);
  HBITMAP bm = CreateBitmapFromImage(img);
  if ((init & CBM_INIT) && info) SetDIBits(nullptr, bm, 0, UINT(img.height()), bits, info, usage);
  return bm;
}
