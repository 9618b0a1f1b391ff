// Device contexts over images: state stack, origins, clipping and the basic primitives,
// checked pixel by pixel.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <string>
#include <vector>

#include "platform/win/DeviceContext.h"
#include "platform/win/Windows.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);

struct TMemDC {
  HDC DC;
  HBITMAP Bitmap;
  HGDIOBJ Old;
  TMemDC(int w = 20, int h = 20) {
    DC = CreateCompatibleDC(nullptr);
    Bitmap = CreateCompatibleBitmap(DC, w, h);
    Old = SelectObject(DC, Bitmap);
    RECT all{0, 0, w, h};
    FillRect(DC, &all, GetStockObject(WHITE_BRUSH));
  }
  ~TMemDC() {
    SelectObject(DC, Old);
    DeleteObject(Bitmap);
    DeleteDC(DC);
  }
  // One character per pixel of a row: '.' white, 'r' red, 'b' blue, '?' other.
  std::string Row(int y, int from, int to) const {
    std::string s;
    const QImage& img = FindBitmap(Bitmap)->Image;
    for (int x = from; x < to; ++x) {
      COLORREF c = QColorToColorRef(img.pixelColor(x, y));
      s += c == kWhite ? '.' : c == kRed ? 'r' : c == kBlue ? 'b' : '?';
    }
    return s;
  }
};

TEST(Gdi, PrimitivesAndTheirEdges) {
  struct Case {
    std::string What;
    std::function<void(HDC)> Draw;
    int Y;
    std::string Expected;  // pixels 0..9 of row Y
  };
  HPEN redPen = CreatePen(PS_SOLID, 1, kRed);
  HBRUSH blueBrush = CreateSolidBrush(kBlue);
  std::vector<Case> cases = {
      {"line leaves its end out",
       [&](HDC dc) {
         SelectObject(dc, redPen);
         MoveToEx(dc, 1, 2, nullptr);
         LineTo(dc, 5, 2);
       },
       2, ".rrrr....."},
      {"rectangle outline inside, brush within",
       [&](HDC dc) {
         SelectObject(dc, redPen);
         SelectObject(dc, blueBrush);
         Rectangle(dc, 1, 1, 6, 6);
       },
       3, ".rbbbr...."},
      {"fill rect excludes right edge",
       [&](HDC dc) {
         RECT r{2, 0, 4, 10};
         FillRect(dc, &r, blueBrush);
       },
       5, "..bb......"},
      {"system colour brush",
       [&](HDC dc) {
         RECT r{0, 0, 3, 10};
         FillRect(dc, &r, reinterpret_cast<HBRUSH>(uintptr_t(COLOR_WINDOWTEXT + 1)));
       },
       0, "???......."},
      {"viewport origin moves drawing",
       [&](HDC dc) {
         SetViewportOrgEx(dc, 4, 0, nullptr);
         RECT r{0, 0, 2, 10};
         FillRect(dc, &r, blueBrush);
       },
       1, "....bb...."},
      {"window origin moves the other way",
       [&](HDC dc) {
         SetWindowOrgEx(dc, -6, 0, nullptr);
         RECT r{0, 0, 2, 10};
         FillRect(dc, &r, blueBrush);
       },
       1, "......bb.."},
      {"intersect and exclude clip",
       [&](HDC dc) {
         IntersectClipRect(dc, 2, 0, 8, 10);
         ExcludeClipRect(dc, 4, 0, 5, 10);
         RECT r{0, 0, 10, 10};
         FillRect(dc, &r, blueBrush);
       },
       4, "..bb.bbb.."},
      {"restore brings back the saved clip and origin",
       [&](HDC dc) {
         int saved = SaveDC(dc);
         SetViewportOrgEx(dc, 5, 0, nullptr);
         IntersectClipRect(dc, 0, 0, 1, 10);
         SaveDC(dc);
         RestoreDC(dc, saved);
         RECT r{0, 0, 3, 10};
         FillRect(dc, &r, blueBrush);
       },
       4, "bbb......."},
      {"clip region in device units; none removes it",
       [&](HDC dc) {
         SetViewportOrgEx(dc, 3, 0, nullptr);
         HRGN rgn = CreateRectRgn(0, 0, 2, 10);
         SelectClipRgn(dc, rgn);
         DeleteObject(rgn);
         RECT r{-3, 0, 7, 10};
         FillRect(dc, &r, blueBrush);
         SelectClipRgn(dc, nullptr);
         SetPixel(dc, 6, 0, kRed);
         SetPixel(dc, 6, 7, kRed);
       },
       7, "bb.......r"},
  };
  for (auto& c : cases) {
    TMemDC m;
    c.Draw(m.DC);
    EXPECT_EQ(m.Row(c.Y, 0, 10), c.Expected) << c.What;
  }
  DeleteObject(redPen);
  DeleteObject(blueBrush);
}

TEST(Gdi, ClipBoxIsInLogicalUnitsAndBlitsCopyBetweenDCs) {
  TMemDC a, b;
  SetWindowOrgEx(a.DC, 10, 10, nullptr);
  IntersectClipRect(a.DC, 12, 12, 15, 16);
  RECT box;
  EXPECT_EQ(GetClipBox(a.DC, &box), SIMPLEREGION);
  EXPECT_EQ(box, (RECT{12, 12, 15, 16}));
  RECT visible{14, 14, 20, 20}, hidden{16, 16, 20, 20};
  EXPECT_TRUE(RectVisible(a.DC, &visible));
  EXPECT_FALSE(RectVisible(a.DC, &hidden));

  HBRUSH blue = CreateSolidBrush(kBlue);
  RECT r{0, 0, 4, 4};
  FillRect(b.DC, &r, blue);
  SetPixel(b.DC, 1, 1, kRed);
  SetWindowOrgEx(a.DC, 0, 0, nullptr);
  SelectClipRgn(a.DC, nullptr);
  EXPECT_TRUE(BitBlt(a.DC, 5, 5, 3, 3, b.DC, 0, 0, SRCCOPY));
  EXPECT_EQ(a.Row(5, 4, 9), ".bbb.");
  EXPECT_EQ(a.Row(6, 4, 9), ".brb.");
  // SRCAND keeps what both have.
  EXPECT_TRUE(BitBlt(a.DC, 5, 5, 3, 1, b.DC, 0, 1, SRCAND));
  EXPECT_EQ(a.Row(5, 4, 9), ".b?b.");
  DeleteObject(blue);
}

TEST(Gdi, TextAndRegions) {
  TMemDC m(80, 30);
  SetTextColor(m.DC, kRed);
  SetBkMode(m.DC, TRANSPARENT);
  SIZE size;
  ASSERT_TRUE(GetTextExtentPoint32(m.DC, "Wave", &size));
  EXPECT_GT(size.cx, 10);
  EXPECT_GT(size.cy, 5);
  TextOut(m.DC, 2, 2, "Wave");
  int inked = 0, outside = 0;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) {
      COLORREF c = GetPixel(m.DC, x, y);
      bool inBox = x >= 2 && x < 2 + size.cx && y >= 2 && y < 2 + size.cy;
      if (c != kWhite) (inBox ? inked : outside)++;
    }
  EXPECT_GT(inked, 10);
  EXPECT_EQ(outside, 0);

  HRGN a = CreateRectRgn(0, 0, 10, 10), b = CreateRectRgn(5, 5, 15, 15), d = CreateRectRgn(0, 0, 0, 0);
  struct Case {
    int Mode;
    int Kind;
    RECT Box;
  };
  for (Case c : std::vector<Case>{{RGN_AND, SIMPLEREGION, {5, 5, 10, 10}},
                                  {RGN_OR, COMPLEXREGION, {0, 0, 15, 15}},
                                  {RGN_DIFF, COMPLEXREGION, {0, 0, 10, 10}},
                                  {RGN_COPY, SIMPLEREGION, {0, 0, 10, 10}}}) {
    EXPECT_EQ(CombineRgn(d, a, b, c.Mode), c.Kind);
    RECT box;
    GetRgnBox(d, &box);
    EXPECT_EQ(box, c.Box);
  }
  EXPECT_TRUE(PtInRegion(a, 9, 9));
  EXPECT_FALSE(PtInRegion(a, 10, 9));
  OffsetRgn(d, 100, 0);
  EXPECT_TRUE(PtInRegion(d, 100, 0));
  for (HRGN r : {a, b, d}) EXPECT_TRUE(DeleteObject(r));
  EXPECT_FALSE(DeleteObject(a));
}

}  // namespace
