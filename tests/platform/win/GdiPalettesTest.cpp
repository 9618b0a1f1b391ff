// Logical palettes: entries written and read back, nearest-colour lookup, selection into a
// context, and the life of the handle.
#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/win/Windows.h"

namespace {

HPALETTE MakePalette(const std::vector<PALETTEENTRY>& entries) {
  auto log = std::make_unique<LOGPALETTE>();
  log->palNumEntries = WORD(entries.size());
  for (size_t i = 0; i < entries.size(); ++i) log->palPalEntry[i] = entries[i];
  return CreatePalette(log.get());
}

bool Same(const PALETTEENTRY& a, const PALETTEENTRY& b) {
  return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue &&
         a.peFlags == b.peFlags;
}

}  // namespace

TEST(GdiPalettes, EntriesRoundTripWithinBounds) {
  std::vector<PALETTEENTRY> src;
  for (int i = 0; i < 256; ++i)
    src.push_back({BYTE(i), BYTE(255 - i), BYTE(i * 7), BYTE(i % 3 == 0 ? PC_NOCOLLAPSE : 0)});
  HPALETTE pal = MakePalette(src);
  ASSERT_NE(pal, nullptr);
  EXPECT_EQ(GetObjectType(pal), OBJ_PAL);
  WORD count = 0;
  EXPECT_EQ(GetObject(pal, sizeof(count), &count), int(sizeof(WORD)));
  EXPECT_EQ(count, 256);
  EXPECT_EQ(GetPaletteEntries(pal, 0, 0, nullptr), 256u);

  std::vector<PALETTEENTRY> back(256);
  ASSERT_EQ(GetPaletteEntries(pal, 0, 256, back.data()), 256u);
  for (int i = 0; i < 256; ++i) EXPECT_TRUE(Same(back[i], src[i])) << i;

  // Writes and reads that run past the end are cut at the last entry.
  PALETTEENTRY repl[4] = {{1, 2, 3, 0}, {4, 5, 6, 0}, {7, 8, 9, 0}, {10, 11, 12, 0}};
  EXPECT_EQ(SetPaletteEntries(pal, 254, 4, repl), 2u);
  EXPECT_EQ(SetPaletteEntries(pal, 256, 1, repl), 0u);
  PALETTEENTRY tail[4]{};
  EXPECT_EQ(GetPaletteEntries(pal, 253, 4, tail), 3u);
  EXPECT_TRUE(Same(tail[0], src[253]));
  EXPECT_TRUE(Same(tail[1], repl[0]));
  EXPECT_TRUE(Same(tail[2], repl[1]));
  EXPECT_EQ(GetPaletteEntries(pal, 300, 4, tail), 0u);

  LOGPALETTE empty;
  EXPECT_EQ(CreatePalette(&empty), nullptr);
  EXPECT_TRUE(DeleteObject(pal));
}

TEST(GdiPalettes, NearestIndexIsLeastSquaredDistanceFirstWins) {
  HPALETTE pal = MakePalette({{0, 0, 0, 0},
                              {255, 0, 0, 0},
                              {0, 255, 0, 0},
                              {0, 0, 255, 0},
                              {255, 0, 0, 0},  // duplicate of 1
                              {100, 100, 100, 0},
                              {110, 100, 100, 0}});
  struct Case {
    COLORREF Color;
    UINT Index;
  } cases[] = {
      {RGB(0, 0, 0), 0},       {RGB(250, 10, 10), 1},   {RGB(255, 0, 0), 1},
      {RGB(10, 200, 30), 2},   {RGB(0, 0, 128), 3},     {RGB(0, 0, 127), 0},
      {RGB(104, 100, 100), 5}, {RGB(105, 100, 100), 5}, {RGB(106, 100, 100), 6},
      {RGB(255, 255, 255), 6},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GetNearestPaletteIndex(pal, c.Color), c.Index) << std::hex << c.Color;
  // The result follows edits of the entries.
  PALETTEENTRY white{255, 255, 255, 0};
  SetPaletteEntries(pal, 0, 1, &white);
  EXPECT_EQ(GetNearestPaletteIndex(pal, RGB(250, 250, 250)), 0u);
  EXPECT_EQ(GetNearestPaletteIndex(nullptr, RGB(0, 0, 0)), CLR_INVALID);
  DeleteObject(pal);
}

TEST(GdiPalettes, SelectReturnsPreviousAndDeleteEndsHandle) {
  HDC dc = CreateCompatibleDC(nullptr);
  HPALETTE a = MakePalette({{1, 2, 3, 0}});
  HPALETTE b = MakePalette({{4, 5, 6, 0}, {7, 8, 9, 0}});

  // A new context starts with the default palette: black first, white last.
  HPALETTE def = SelectPalette(dc, a, FALSE);
  ASSERT_NE(def, nullptr);
  UINT n = GetPaletteEntries(def, 0, 0, nullptr);
  ASSERT_GE(n, 2u);
  PALETTEENTRY first{}, last{};
  GetPaletteEntries(def, 0, 1, &first);
  GetPaletteEntries(def, n - 1, 1, &last);
  EXPECT_TRUE(Same(first, PALETTEENTRY{0, 0, 0, 0}));
  EXPECT_TRUE(Same(last, PALETTEENTRY{255, 255, 255, 0}));

  EXPECT_EQ(SelectPalette(dc, b, FALSE), a);
  EXPECT_EQ(RealizePalette(dc), 0u);
  EXPECT_EQ(SelectPalette(dc, def, TRUE), b);
  // Not a palette, or not a context: refused, and the selection stays.
  EXPECT_EQ(SelectPalette(dc, GetStockObject(WHITE_BRUSH), FALSE), nullptr);
  EXPECT_EQ(SelectPalette(nullptr, a, FALSE), nullptr);
  EXPECT_EQ(RealizePalette(nullptr), GDI_ERROR);
  EXPECT_EQ(SelectPalette(dc, a, FALSE), def);

  // The default palette outlives a delete; a deleted palette is gone.
  EXPECT_EQ(SelectPalette(dc, def, FALSE), a);
  EXPECT_TRUE(DeleteObject(def));
  EXPECT_EQ(GetPaletteEntries(def, 0, 0, nullptr), n);
  EXPECT_TRUE(DeleteObject(b));
  EXPECT_EQ(GetObjectType(b), 0u);
  EXPECT_EQ(GetPaletteEntries(b, 0, 0, nullptr), 0u);
  EXPECT_EQ(GetNearestPaletteIndex(b, RGB(4, 5, 6)), CLR_INVALID);
  EXPECT_EQ(SelectPalette(dc, b, FALSE), nullptr);
  EXPECT_FALSE(DeleteObject(b));
  DeleteObject(a);
  DeleteDC(dc);
}
