// DIB sections of every layout: what the caller writes into the memory is drawn, what is drawn
// shows in the memory, and GetDIBits, SetDIBitsToDevice and StretchDIBits agree with them.
#include <gtest/gtest.h>

#include <QImage>
#include <cstring>
#include <string>
#include <vector>

#include "platform/win/DeviceContext.h"
#include "platform/win/Windows.h"

namespace {

struct TLayout {
  const char* Name;
  int Bits;
  bool BottomUp;
  bool Fields565 = false;
};

const TLayout kLayouts[] = {
    {"1-bit bottom-up", 1, true},       {"4-bit bottom-up", 4, true},   {"8-bit bottom-up", 8, true},
    {"24-bit bottom-up", 24, true},     {"24-bit top-down", 24, false}, {"32-bit top-down", 32, false},
    {"32-bit bottom-up", 32, true},     {"8-bit top-down", 8, false},   {"16-bit 565 top-down", 16, false, true},
};

constexpr int kW = 5, kH = 3;  // odd width: every row has padding

uint32_t TableColour(int i) {
  if (i == 0) return 0x000080;
  if (i == 1) return 0xFFFF00;
  if (i == 5) return TableColour(2);  // a duplicate entry: indexes must survive as written
  return (uint32_t((i * 37) & 0xFF) << 16) | (uint32_t((i * 91 + 7) & 0xFF) << 8) | uint32_t((255 - i * 13) & 0xFF);
}

BITMAPINFO InfoOf(const TLayout& l) {
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = kW;
  bi.bmiHeader.biHeight = l.BottomUp ? kH : -kH;
  bi.bmiHeader.biBitCount = WORD(l.Bits);
  if (l.Bits <= 8)
    for (int i = 0; i < (1 << l.Bits); ++i) {
      uint32_t c = TableColour(i);
      bi.bmiColors[i] = {BYTE(c), BYTE(c >> 8), BYTE(c >> 16), 0};
    }
  if (l.Fields565) {
    bi.bmiHeader.biCompression = BI_BITFIELDS;
    const uint32_t masks[3] = {0xF800, 0x07E0, 0x001F};
    std::memcpy(bi.bmiColors, masks, sizeof masks);
  }
  return bi;
}

// A raw pixel value: the index below 16 bits, the 16-bit word, else 0x00RRGGBB.
struct TMemory {
  const TLayout& L;
  uint8_t* Bits;
  int Stride() const { return DibStride(kW, L.Bits); }
  uint8_t* Row(int y) const { return Bits + size_t(L.BottomUp ? kH - 1 - y : y) * size_t(Stride()); }
  uint32_t Get(int x, int y) const {
    uint8_t* r = Row(y);
    if (L.Bits < 8) {
      int bit = x * L.Bits, shift = 8 - L.Bits - bit % 8;
      return (r[bit / 8] >> shift) & ((1u << L.Bits) - 1);
    }
    if (L.Bits == 8) return r[x];
    if (L.Bits == 16) return r[2 * x] | (uint32_t(r[2 * x + 1]) << 8);
    int n = L.Bits / 8;
    return r[n * x] | (uint32_t(r[n * x + 1]) << 8) | (uint32_t(r[n * x + 2]) << 16);
  }
  void Put(int x, int y, uint32_t v) const {
    uint8_t* r = Row(y);
    if (L.Bits < 8) {
      int bit = x * L.Bits, shift = 8 - L.Bits - bit % 8;
      uint8_t mask = uint8_t(((1 << L.Bits) - 1) << shift);
      r[bit / 8] = uint8_t((r[bit / 8] & ~mask) | ((v << shift) & mask));
    } else if (L.Bits == 8) {
      r[x] = uint8_t(v);
    } else if (L.Bits == 16) {
      r[2 * x] = uint8_t(v);
      r[2 * x + 1] = uint8_t(v >> 8);
    } else {
      int n = L.Bits / 8;
      r[n * x] = uint8_t(v);
      r[n * x + 1] = uint8_t(v >> 8);
      r[n * x + 2] = uint8_t(v >> 16);
      if (n == 4) r[n * x + 3] = 0xFF;
    }
  }
  // Two values the layout holds exactly, and the colour each stands for.
  uint32_t ValueA() const { return L.Bits <= 8 ? 1 : L.Bits == 16 ? 0xF81F : 0xFF00FF; }
  uint32_t ValueB() const { return L.Bits <= 8 ? 0 : L.Bits == 16 ? 0x07E0 : 0x00FF00; }
  uint32_t ColourOf(uint32_t v) const {
    if (L.Bits <= 8) return TableColour(int(v));
    if (L.Bits == 16) {
      uint32_t r = (v >> 11) & 31, g = (v >> 5) & 63, b = v & 31;
      return (((r * 255 + 15) / 31) << 16) | (((g * 255 + 31) / 63) << 8) | ((b * 255 + 15) / 31);
    }
    return v & 0xFFFFFF;
  }
};

uint32_t Rgb(COLORREF c) { return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c); }
COLORREF Ref(uint32_t rgb) { return RGB(BYTE(rgb >> 16), BYTE(rgb >> 8), BYTE(rgb)); }

// A plain 32-bit surface to copy into and read back.
struct TPlain {
  QImage Image;
  HDC DC;
  explicit TPlain(uint32_t fill = 0xFF123456) : Image(kW, kH, QImage::Format_RGB32) {
    Image.fill(fill);
    DC = CreateImageDC(&Image);
  }
  ~TPlain() { DeleteDC(DC); }
  uint32_t At(int x, int y) const { return Image.pixel(x, y) & 0xFFFFFF; }
};

}  // namespace

TEST(GdiDibSection, MemoryAndDrawingAgreeInEveryLayout) {
  for (const TLayout& l : kLayouts) {
    SCOPED_TRACE(l.Name);
    BITMAPINFO bi = InfoOf(l);
    void* bits = nullptr;
    HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_TRUE(h && bits);
    TMemory m{l, static_cast<uint8_t*>(bits)};
    for (int i = 0; i < m.Stride() * kH; ++i) ASSERT_EQ(m.Bits[i], 0) << "a new section is zeroed";

    DIBSECTION ds;
    ASSERT_EQ(GetObject(h, sizeof ds, &ds), int(sizeof ds));
    EXPECT_EQ(ds.dsBm.bmBits, bits);
    EXPECT_EQ(ds.dsBm.bmWidthBytes, m.Stride());
    EXPECT_EQ(ds.dsBm.bmBitsPixel, l.Bits);
    EXPECT_EQ(ds.dsBmih.biHeight, bi.bmiHeader.biHeight);

    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, h);
    // Written into the memory, then drawn from: the first row is the top of the picture.
    m.Put(3, 0, m.ValueA());
    m.Row(1)[m.Stride() - 1] = 0xA5;  // padding the caller keeps for itself
    EXPECT_EQ(Rgb(GetPixel(dc, 3, 0)), m.ColourOf(m.ValueA()));
    TPlain copy;
    ASSERT_TRUE(BitBlt(copy.DC, 0, 0, kW, kH, dc, 0, 0, SRCCOPY));
    EXPECT_EQ(copy.At(3, 0), m.ColourOf(m.ValueA()));
    EXPECT_EQ(copy.At(3, 2), m.ColourOf(0));

    // Drawn, then read from the memory as soon as the call returns; the caller's pixel and
    // padding stay as written.
    SetPixel(dc, 1, 2, Ref(m.ColourOf(m.ValueB())));
    EXPECT_EQ(m.Get(1, 2), m.ValueB());
    EXPECT_EQ(m.Get(3, 0), m.ValueA());
    EXPECT_EQ(m.Row(1)[m.Stride() - 1], 0xA5);
    RECT r{0, 1, 2, 2};
    HBRUSH brush = CreateSolidBrush(Ref(m.ColourOf(m.ValueA())));
    FillRect(dc, &r, brush);
    DeleteObject(brush);
    EXPECT_EQ(m.Get(0, 1), m.ValueA());
    EXPECT_EQ(m.Get(1, 1), m.ValueA());
    EXPECT_EQ(m.Get(2, 1), 0u);

    // A colour the layout cannot hold: the memory gets the nearest it can, and that is what is
    // drawn from then on.
    if (l.Bits <= 8) {
      SetPixel(dc, 4, 2, Ref(TableColour(1) ^ 0x010101));
      EXPECT_EQ(m.Get(4, 2), 1u);
      EXPECT_EQ(Rgb(GetPixel(dc, 4, 2)), TableColour(1));
    }
    if (l.Bits >= 4 && l.Bits <= 8) {
      // Index 5 has the colour of 2; drawing elsewhere leaves the 5 alone.
      m.Put(0, 0, 5);
      SetPixel(dc, 2, 0, Ref(TableColour(2)));
      EXPECT_EQ(m.Get(0, 0), 5u);
      EXPECT_EQ(m.Get(2, 0), 2u);
    }

    // GetDIBits in the section's own layout gives the memory and its table; in the other row
    // order the rows come reversed.
    BITMAPINFO q;
    ASSERT_EQ(GetDIBits(dc, h, 0, kH, nullptr, &q, DIB_RGB_COLORS), kH);
    EXPECT_EQ(q.bmiHeader.biBitCount, l.Bits) << "the header asked for describes the section";
    EXPECT_EQ(q.bmiHeader.biHeight, bi.bmiHeader.biHeight);
    EXPECT_EQ(q.bmiHeader.biCompression, bi.bmiHeader.biCompression);
    EXPECT_EQ(q.bmiHeader.biSizeImage, DWORD(m.Stride() * kH));
    if (l.Fields565) std::memcpy(q.bmiColors, InfoOf(l).bmiColors, 12);
    std::vector<uint8_t> got(size_t(m.Stride()) * kH);
    ASSERT_EQ(GetDIBits(dc, h, 0, kH, got.data(), &q, DIB_RGB_COLORS), kH);
    EXPECT_EQ(std::memcmp(got.data(), bits, got.size()), 0);
    if (l.Bits <= 8) EXPECT_EQ(std::memcmp(q.bmiColors, bi.bmiColors, sizeof(RGBQUAD) << l.Bits), 0);
    q.bmiHeader.biHeight = -q.bmiHeader.biHeight;
    ASSERT_EQ(GetDIBits(dc, h, 0, kH, got.data(), &q, DIB_RGB_COLORS), kH);
    for (int row = 0; row < kH; ++row)
      EXPECT_EQ(std::memcmp(got.data() + row * m.Stride(), m.Bits + (kH - 1 - row) * m.Stride(), size_t(m.Stride())), 0);

    // Drawing the memory with its header shows what the section's context holds.
    TPlain viaBlt, viaStretch, viaDevice;
    BitBlt(viaBlt.DC, 0, 0, kW, kH, dc, 0, 0, SRCCOPY);
    ASSERT_TRUE(StretchDIBits(viaStretch.DC, 0, 0, kW, kH, 0, 0, kW, kH, bits, &bi, DIB_RGB_COLORS, SRCCOPY));
    ASSERT_TRUE(SetDIBitsToDevice(viaDevice.DC, 0, 0, kW, kH, 0, 0, 0, kH, bits, &bi, DIB_RGB_COLORS));
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        EXPECT_EQ(viaStretch.At(x, y), viaBlt.At(x, y)) << x << "," << y;
        EXPECT_EQ(viaDevice.At(x, y), viaBlt.At(x, y)) << x << "," << y;
        EXPECT_EQ(viaBlt.At(x, y), m.ColourOf(m.Get(x, y))) << x << "," << y;
      }

    SelectObject(dc, old);
    DeleteDC(dc);
    EXPECT_TRUE(DeleteObject(h));
  }
}

TEST(GdiDibSection, RefusedLayoutsAndSharedSurfaces) {
  struct TCase {
    const char* Name;
    int Width, Height, Bits;
    DWORD Compression;
    UINT Usage;
  };
  const TCase refused[] = {
      {"zero width", 0, 4, 24, BI_RGB, DIB_RGB_COLORS},   {"zero height", 4, 0, 24, BI_RGB, DIB_RGB_COLORS},
      {"two bits", 4, 4, 2, BI_RGB, DIB_RGB_COLORS},      {"24-bit fields", 4, 4, 24, BI_BITFIELDS, DIB_RGB_COLORS},
      {"palette indexes", 4, 4, 8, BI_RGB, 1},            {"compressed", 4, 4, 8, 1, DIB_RGB_COLORS},
  };
  for (const TCase& c : refused) {
    BITMAPINFO bi;
    bi.bmiHeader.biWidth = c.Width;
    bi.bmiHeader.biHeight = c.Height;
    bi.bmiHeader.biBitCount = WORD(c.Bits);
    bi.bmiHeader.biCompression = c.Compression;
    void* bits = &bi;
    EXPECT_EQ(CreateDIBSection(nullptr, &bi, c.Usage, &bits, nullptr, 0), nullptr) << c.Name;
    EXPECT_EQ(bits, nullptr) << c.Name;
  }

  // A 32-bit top-down section's surface may be shared with another image while it is drawn on;
  // the memory still gets the drawing.
  BITMAPINFO bi;
  bi.bmiHeader.biWidth = 4;
  bi.bmiHeader.biHeight = -2;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HBITMAP h = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  ASSERT_TRUE(h);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, h);
  QImage held = FindBitmap(h)->Image;
  SetPixel(dc, 3, 1, RGB(10, 20, 30));
  EXPECT_EQ(static_cast<uint32_t*>(bits)[7] & 0xFFFFFF, 0x0A141Eu);
  static_cast<uint32_t*>(bits)[0] = 0xFF405060;
  EXPECT_EQ(Rgb(GetPixel(dc, 0, 0)), 0x405060u);
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(h);
  EXPECT_EQ(held.width(), 4) << "a copy taken earlier outlives the section";
}

TEST(GdiDibSection, SetDIBitsToDeviceInBands) {
  // Six rows drawn at once and in two bands of three give the same picture, in both row orders,
  // also when the source rectangle starts inside the bitmap.
  constexpr int W = 3, H = 6;
  for (bool bottomUp : {true, false}) {
    SCOPED_TRACE(bottomUp ? "bottom-up" : "top-down");
    BITMAPINFO bi;
    bi.bmiHeader.biWidth = W;
    bi.bmiHeader.biHeight = bottomUp ? H : -H;
    bi.bmiHeader.biBitCount = 24;
    const int stride = DibStride(W, 24);
    std::vector<uint8_t> bits(size_t(stride) * H);
    for (int r = 0; r < H; ++r)
      for (int x = 0; x < W; ++x) {
        bits[size_t(r * stride + 3 * x)] = uint8_t(10 * r);
        bits[size_t(r * stride + 3 * x + 1)] = uint8_t(50 * x);
        bits[size_t(r * stride + 3 * x + 2)] = 200;
      }
    for (int ySrc : {0, 1}) {
      const int rows = H - ySrc;
      QImage whole(W, H, QImage::Format_RGB32), banded(W, H, QImage::Format_RGB32);
      whole.fill(0xFF000000);
      banded.fill(0xFF000000);
      HDC a = CreateImageDC(&whole), b = CreateImageDC(&banded);
      EXPECT_EQ(SetDIBitsToDevice(a, 0, 0, W, rows, 0, ySrc, 0, H, bits.data(), &bi, DIB_RGB_COLORS), H);
      EXPECT_EQ(SetDIBitsToDevice(b, 0, 0, W, rows, 0, ySrc, 0, 3, bits.data(), &bi, DIB_RGB_COLORS), 3);
      EXPECT_EQ(SetDIBitsToDevice(b, 0, 0, W, rows, 0, ySrc, 3, 3, bits.data() + 3 * stride, &bi, DIB_RGB_COLORS), 3);
      for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) EXPECT_EQ(banded.pixel(x, y), whole.pixel(x, y)) << ySrc << ": " << x << "," << y;
      // The picture's top row is the memory's last row when bottom-up (counted from ySrc).
      int topRow = bottomUp ? H - 1 : ySrc;
      EXPECT_EQ(qBlue(whole.pixel(0, 0)), 10 * topRow) << ySrc;
      if (rows < H) EXPECT_EQ(whole.pixel(0, rows) & 0xFFFFFF, 0u) << "nothing below the rectangle";
      DeleteDC(a);
      DeleteDC(b);
    }
  }
}
