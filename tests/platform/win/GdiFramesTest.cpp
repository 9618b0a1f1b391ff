// Frame controls in the classic look: check boxes, radio images and masks, push buttons and
// scroll arrows, read back pixel by pixel, with a sheet of them.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <utility>

#include "common/TestEnv.h"
#include "platform/win/DeviceContext.h"
#include "platform/win/Windows.h"

namespace {

struct TCell {
  QImage Image;
  HDC DC;
  TCell(int w, int h, uint32_t fill) : Image(w, h, QImage::Format_RGB32) {
    Image.fill(fill);
    DC = CreateImageDC(&Image);
  }
  ~TCell() { DeleteDC(DC); }
  uint32_t At(int x, int y) const { return Image.pixel(x, y) & 0xFFFFFF; }
};

uint32_t Sys(int index) {
  COLORREF c = GetSysColor(index);
  return (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
}

}  // namespace

TEST(GdiFrames, RadioMaskImageAndCheckBox) {
  const uint32_t kRed = 0xFF0000;
  for (int size : {12, 13, 16}) {
    // The mask paints every pixel of its cell and nothing outside it.
    TCell mask(size + 4, size + 4, kRed);
    RECT cell{2, 2, 2 + size, 2 + size};
    ASSERT_TRUE(DrawFrameControl(mask.DC, &cell, DFC_BUTTON, DFCS_BUTTONRADIOMASK));
    int black = 0;
    for (int y = 0; y < size + 4; ++y)
      for (int x = 0; x < size + 4; ++x) {
        bool in = x >= 2 && y >= 2 && x < 2 + size && y < 2 + size;
        uint32_t p = mask.At(x, y);
        if (!in) EXPECT_EQ(p, kRed) << size << ": outside at " << x << "," << y;
        else EXPECT_TRUE(p == 0 || p == 0xFFFFFF) << size << ": " << x << "," << y;
        if (p == 0) ++black;
      }
    EXPECT_EQ(mask.At(2, 2), 0xFFFFFFu) << "corners are outside the button";
    EXPECT_EQ(mask.At(2 + size / 2, 2 + size / 2), 0u);
    EXPECT_GT(black, size * size / 2);

    // The image leaves the corners alone, and where the mask is black it paints.
    TCell image(size + 4, size + 4, kRed);
    DrawFrameControl(image.DC, &cell, DFC_BUTTON, DFCS_BUTTONRADIO | DFCS_CHECKED);
    EXPECT_EQ(image.At(2, 2), kRed);
    for (int y = 2; y < 2 + size; ++y)
      for (int x = 2; x < 2 + size; ++x)
        EXPECT_EQ(image.At(x, y) != kRed, mask.At(x, y) == 0) << size << ": image and mask agree at " << x << "," << y;
    EXPECT_EQ(image.At(2 + size / 2, 2 + size / 2), Sys(COLOR_WINDOWTEXT)) << "the dot";
    EXPECT_EQ(image.At(2 + size / 2, 2), Sys(COLOR_BTNSHADOW)) << "upper ring";
    EXPECT_EQ(image.At(2 + size / 2, 1 + size), Sys(COLOR_BTNHIGHLIGHT)) << "lower ring";
    TCell unchecked(size + 4, size + 4, kRed);
    DrawFrameControl(unchecked.DC, &cell, DFC_BUTTON, DFCS_BUTTONRADIO);
    EXPECT_EQ(unchecked.At(2 + size / 2, 2 + size / 2), Sys(COLOR_WINDOW));
  }

  TCell box(13, 13, 0xFF0000);
  RECT r{0, 0, 13, 13};
  DrawFrameControl(box.DC, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
  EXPECT_EQ(box.At(0, 6), Sys(COLOR_BTNSHADOW));
  EXPECT_EQ(box.At(1, 6), Sys(COLOR_3DDKSHADOW));
  EXPECT_EQ(box.At(12, 6), Sys(COLOR_BTNHIGHLIGHT));
  EXPECT_EQ(box.At(2, 2), Sys(COLOR_WINDOW));
  EXPECT_EQ(box.At(5, 7), Sys(COLOR_WINDOWTEXT)) << "the tick's lowest column";
  TCell grey(13, 13, 0xFF0000);
  DrawFrameControl(grey.DC, &r, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
  EXPECT_EQ(grey.At(2, 2), Sys(COLOR_BTNFACE));
  EXPECT_EQ(grey.At(5, 7), Sys(COLOR_BTNSHADOW));

  // The sheet.
  TCell sheet(160, 40, Sys(COLOR_BTNFACE));
  const UINT states[] = {DFCS_BUTTONCHECK, DFCS_BUTTONCHECK | DFCS_CHECKED, DFCS_BUTTONRADIO,
                         DFCS_BUTTONRADIO | DFCS_CHECKED, DFCS_BUTTONRADIOMASK, DFCS_BUTTONPUSH,
                         DFCS_BUTTONPUSH | DFCS_PUSHED};
  int x = 4;
  for (UINT s : states) {
    RECT c{x, 4, x + 13, 17};
    DrawFrameControl(sheet.DC, &c, DFC_BUTTON, s);
    x += 20;
  }
  x = 4;
  for (UINT s : {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT | DFCS_INACTIVE}) {
    RECT c{x, 20, x + 17, 37};
    DrawFrameControl(sheet.DC, &c, DFC_SCROLL, s);
    x += 20;
  }
  std::filesystem::path dir;
  if (const char* d = std::getenv("SONALIX_SHEETS_DIR")) dir = d;
  else dir = sonalix::test::MakeTempDir("sheets");
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(sheet.Image.scaled(640, 160).save(QString::fromStdString((dir / "gdi-frames.png").string())));
}

namespace {

// The pixels of one colour inside a rectangle, as points relative to its corner.
std::set<std::pair<int, int>> PixelsOf(const TCell& c, const RECT& r, uint32_t colour) {
  std::set<std::pair<int, int>> out;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (c.At(x, y) == colour) out.insert({x - r.left, y - r.top});
  return out;
}

std::set<std::pair<int, int>> Shifted(const std::set<std::pair<int, int>>& s, int dx, int dy) {
  std::set<std::pair<int, int>> out;
  for (auto [x, y] : s) out.insert({x + dx, y + dy});
  return out;
}

}  // namespace

TEST(GdiFrames, CaptionButtonsInEveryState) {
  const uint32_t kRed = 0xFF0000;
  const RECT r{2, 2, 18, 16};  // the classic 16 x 14 caption button
  struct TKind {
    UINT Kind;
    const char* Name;
  };
  const TKind kinds[] = {{DFCS_CAPTIONCLOSE, "close"}, {DFCS_CAPTIONMIN, "min"}, {DFCS_CAPTIONRESTORE, "restore"}};
  std::set<std::pair<int, int>> seen[3];
  for (int k = 0; k < 3; ++k) {
    SCOPED_TRACE(kinds[k].Name);
    auto draw = [&](UINT state) {
      auto c = std::make_unique<TCell>(20, 18, kRed);
      RECT rc = r;
      EXPECT_TRUE(DrawFrameControl(c->DC, &rc, DFC_CAPTION, kinds[k].Kind | state));
      for (int y = 0; y < 18; ++y)
        for (int x = 0; x < 20; ++x)
          if (x < r.left || y < r.top || x >= r.right || y >= r.bottom) EXPECT_EQ(c->At(x, y), kRed) << x << "," << y;
      return c;
    };
    auto normal = draw(0), pushed = draw(DFCS_PUSHED), inactive = draw(DFCS_INACTIVE), flat = draw(DFCS_FLAT);

    // Raised edge, face, and a glyph in the button-text colour.
    EXPECT_EQ(normal->At(r.left, r.top), Sys(COLOR_3DLIGHT));
    EXPECT_EQ(normal->At(r.right - 1, r.bottom - 1), Sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(normal->At(r.left + 1, r.top + 1), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(normal->At(r.left + 2, r.top + 2), Sys(COLOR_BTNFACE));
    auto glyph = PixelsOf(*normal, r, Sys(COLOR_BTNTEXT));
    ASSERT_GE(glyph.size(), 8u);
    for (auto [x, y] : glyph) {
      EXPECT_TRUE(x >= 2 && y >= 2 && x < 14 && y < 12) << "glyph inside the face at " << x << "," << y;
    }
    seen[k] = glyph;

    // Pushed: sunken, the same glyph one pixel right and down.
    EXPECT_EQ(pushed->At(r.left, r.top), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(pushed->At(r.right - 1, r.bottom - 1), Sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(PixelsOf(*pushed, r, Sys(COLOR_BTNTEXT)), Shifted(glyph, 1, 1));

    // Inactive: the glyph in shadow, lit one pixel right and down where the shadow is not.
    EXPECT_TRUE(PixelsOf(*inactive, RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2}, Sys(COLOR_BTNTEXT)).empty());
    auto shade = PixelsOf(*inactive, r, Sys(COLOR_BTNSHADOW));
    for (auto p : glyph) EXPECT_TRUE(shade.count(p)) << p.first << "," << p.second;
    auto lit = PixelsOf(*inactive, RECT{r.left + 2, r.top + 2, r.right - 2, r.bottom - 2}, Sys(COLOR_BTNHIGHLIGHT));
    std::set<std::pair<int, int>> expectLit;
    for (auto [x, y] : Shifted(glyph, 1, 1))
      if (!glyph.count({x, y})) expectLit.insert({x - 2, y - 2});
    EXPECT_EQ(lit, expectLit);

    // Flat: a one-pixel shadow frame around the face, the glyph where the normal one is.
    for (int x = r.left; x < r.right; ++x) {
      EXPECT_EQ(flat->At(x, r.top), Sys(COLOR_BTNSHADOW));
      EXPECT_EQ(flat->At(x, r.bottom - 1), Sys(COLOR_BTNSHADOW));
      if (x > r.left && x < r.right - 1) EXPECT_EQ(flat->At(x, r.top + 1), Sys(COLOR_BTNFACE)) << x;
    }
    EXPECT_EQ(flat->At(r.left + 1, r.top + 5), Sys(COLOR_BTNFACE));
    EXPECT_EQ(PixelsOf(*flat, r, Sys(COLOR_BTNTEXT)), glyph);
    auto flatPushed = draw(DFCS_FLAT | DFCS_PUSHED);
    EXPECT_EQ(flatPushed->At(r.left, r.top), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(flatPushed->At(r.right - 1, r.bottom - 1), Sys(COLOR_BTNSHADOW));
    EXPECT_EQ(PixelsOf(*flatPushed, r, Sys(COLOR_BTNTEXT)), Shifted(glyph, 1, 1));
  }
  // Shapes: the cross is mirror-symmetric, the bar lies on the glyph's lowest rows, and the three
  // glyphs differ.
  for (auto [x, y] : seen[0]) EXPECT_TRUE(seen[0].count({15 - x, y})) << x << "," << y;
  int lowest = 0;
  for (auto p : seen[1]) lowest = std::max(lowest, p.second);
  for (auto p : seen[1]) EXPECT_GE(p.second, lowest - 1);
  EXPECT_NE(seen[0], seen[2]);
  EXPECT_NE(seen[1], seen[2]);

  // Too small for a glyph still draws the face; an unknown caption kind draws nothing.
  TCell tiny(6, 6, kRed);
  RECT small{0, 0, 6, 6};
  EXPECT_TRUE(DrawFrameControl(tiny.DC, &small, DFC_CAPTION, DFCS_CAPTIONCLOSE));
  EXPECT_EQ(tiny.At(2, 2), Sys(COLOR_BTNFACE));
  TCell other(20, 18, kRed);
  RECT rc = r;
  EXPECT_FALSE(DrawFrameControl(other.DC, &rc, DFC_CAPTION, 7));
  EXPECT_EQ(other.At(5, 5), kRed);
}

TEST(GdiFrames, SizeGripRidges) {
  TCell grip(16, 12, 0xFF0000);
  RECT r{0, 0, 16, 12};
  ASSERT_TRUE(DrawFrameControl(grip.DC, &r, DFC_SCROLL, DFCS_SCROLLSIZEGRIP));
  // Everything is painted; the corner and every fourth diagonal are face, the ridges are a lit
  // line above two shadowed ones, and the upper-left triangle is face.
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 16; ++x) {
      int d = (15 - x) + (11 - y);
      uint32_t want = Sys(COLOR_BTNFACE);
      if (d > 0 && d < 11 && d % 4 != 0) want = Sys(d % 4 == 3 ? COLOR_BTNHIGHLIGHT : COLOR_BTNSHADOW);
      EXPECT_EQ(grip.At(x, y), want) << x << "," << y;
    }

  // The sheet of caption buttons and the grip.
  TCell sheet(150, 60, Sys(COLOR_BTNFACE));
  int x = 4;
  for (UINT state : {0u, DFCS_PUSHED, DFCS_INACTIVE, DFCS_FLAT, DFCS_FLAT | DFCS_PUSHED}) {
    int y = 4;
    for (UINT kind : {DFCS_CAPTIONCLOSE, DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE}) {
      RECT c{x, y, x + 16, y + 14};
      DrawFrameControl(sheet.DC, &c, DFC_CAPTION, kind | state);
      y += 18;
    }
    x += 22;
  }
  RECT g{x, 40, x + 16, 56};
  DrawFrameControl(sheet.DC, &g, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
  std::filesystem::path dir;
  if (const char* d = std::getenv("SONALIX_SHEETS_DIR")) dir = d;
  else dir = sonalix::test::MakeTempDir("sheets");
  std::filesystem::create_directories(dir);
  ASSERT_TRUE(sheet.Image.scaled(600, 240).save(QString::fromStdString((dir / "gdi-captions.png").string())));
}

TEST(GdiFrames, SystemCheckBoxSheet) {
  EXPECT_EQ(LoadBitmap(nullptr, 1), nullptr);
  HBITMAP sheet = LoadBitmap(nullptr, OBM_CHECKBOXES);
  ASSERT_NE(sheet, nullptr);
  BITMAP bm{};
  ASSERT_TRUE(GetObject(sheet, sizeof bm, &bm));
  EXPECT_EQ(bm.bmWidth, 4 * 13);
  EXPECT_EQ(bm.bmHeight, 3 * 13);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, sheet);
  // Every cell is the frame control of its row's kind and its column's state on the face colour.
  const UINT kinds[3] = {DFCS_BUTTONCHECK, DFCS_BUTTONRADIO, DFCS_BUTTON3STATE};
  const UINT states[4] = {0, DFCS_CHECKED, DFCS_PUSHED, DFCS_PUSHED | DFCS_CHECKED};
  for (int row = 0; row < 3; ++row)
    for (int col = 0; col < 4; ++col) {
      TCell cell(13, 13, Sys(COLOR_BTNFACE));
      RECT r{0, 0, 13, 13};
      DrawFrameControl(cell.DC, &r, DFC_BUTTON, kinds[row] | states[col]);
      int differ = 0;
      for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x) {
          COLORREF c = GetPixel(dc, col * 13 + x, row * 13 + y);
          uint32_t rgb = (uint32_t(GetRValue(c)) << 16) | (uint32_t(GetGValue(c)) << 8) | GetBValue(c);
          differ += rgb != cell.At(x, y);
        }
      EXPECT_EQ(differ, 0) << "row " << row << " column " << col;
    }
  // Checked and unchecked cells differ.
  EXPECT_NE(GetPixel(dc, 13 + 6, 6), GetPixel(dc, 6, 6));
  SelectObject(dc, old);
  DeleteDC(dc);
  DeleteObject(sheet);
}
