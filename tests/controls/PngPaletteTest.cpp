// The logical palette of a PNG image: made from the colour table, cached, and written back into
// the table so that pixels and the saved file follow it.
#include <gtest/gtest.h>

#include <memory>

#include "PngFiles.h"
#include "controls/PngImage.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/Windows.h"

using namespace pngfiles;

namespace {

std::unique_ptr<TPNGObject> LoadPng(const Bytes& data) {
  TMemoryStream s;
  s.WriteBuffer(data.data(), int64_t(data.size()));
  s.SetPosition(0);
  auto png = std::make_unique<TPNGObject>();
  png->LoadFromStream(&s);
  return png;
}

Bytes SavePng(TPNGObject& png) {
  TMemoryStream s;
  png.SaveToStream(&s);
  auto* p = static_cast<const uint8_t*>(s.Memory());
  return {p, p + s.Size()};
}

}  // namespace

TEST(PngPalette, PaletteFollowsTableAndDrivesPixels) {
  TPngShape shape;
  shape.ColorType = 3, shape.BitDepth = 8, shape.Width = 9, shape.Height = 7;
  auto png = LoadPng(WritePng(shape, RandomRows(shape)));
  TChunkIHDR* h = png->HeaderChunk();

  HPALETTE pal = png->GetPalette();
  ASSERT_NE(pal, nullptr);
  EXPECT_EQ(png->GetPalette(), pal);  // cached
  ASSERT_EQ(GetPaletteEntries(pal, 0, 0, nullptr), 256u);
  PALETTEENTRY entries[256];
  ASSERT_EQ(GetPaletteEntries(pal, 0, 256, entries), 256u);
  for (int i = 0; i < 256; ++i) {
    const TPngRgbQuad& q = h->ColorTable()[i];
    EXPECT_EQ(RGB(entries[i].peRed, entries[i].peGreen, entries[i].peBlue),
              RGB(q.Red, q.Green, q.Blue))
        << i;
  }

  // Every entry replaced by a colour derived from its index.
  LOGPALETTE log;
  log.palNumEntries = 256;
  for (int i = 0; i < 256; ++i) log.palPalEntry[i] = {BYTE(i), BYTE(255 - i), BYTE(i ^ 0x5A), 0};
  HPALETTE mine = CreatePalette(&log);
  png->SetPalette(mine);
  EXPECT_NE(GetObjectType(mine), 0u);  // the caller's palette stays the caller's
  EXPECT_EQ(GetObjectType(pal), 0u);   // the cached one was dropped

  HPALETTE fresh = png->GetPalette();
  ASSERT_NE(fresh, nullptr);
  PALETTEENTRY e{};
  GetPaletteEntries(fresh, 77, 1, &e);
  EXPECT_EQ(RGB(e.peRed, e.peGreen, e.peBlue), RGB(77, 178, 77 ^ 0x5A));

  TRgbaImage back = ReadPng(SavePng(*png));
  for (int y = 0; y < shape.Height; ++y)
    for (int x = 0; x < shape.Width; ++x) {
      uint32_t index = png->RowPointer(y)[x];
      COLORREF c = RGB(BYTE(index), BYTE(255 - index), BYTE(index ^ 0x5A));
      EXPECT_EQ(png->ReadPixel(x, y), c);
      EXPECT_EQ(back.At(x, y),
                0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c));
    }
  // A short palette changes only the entries it has.
  LOGPALETTE two;
  two.palNumEntries = 2;
  two.palPalEntry[0] = {9, 9, 9, 0};
  two.palPalEntry[1] = {8, 8, 8, 0};
  HPALETTE small = CreatePalette(&two);
  png->SetPalette(small);
  EXPECT_EQ(h->ColorTable()[1].Red, 8);
  EXPECT_EQ(h->ColorTable()[2].Red, 2);
  DeleteObject(small);
  DeleteObject(mine);
}

TEST(PngPalette, OnlyGreyAndPaletteImagesHaveOne) {
  TPngShape grey;
  grey.ColorType = 0, grey.BitDepth = 8;
  auto g = LoadPng(WritePng(grey, RandomRows(grey)));
  HPALETTE pal = g->GetPalette();
  ASSERT_NE(pal, nullptr);
  PALETTEENTRY e{};
  GetPaletteEntries(pal, 200, 1, &e);
  EXPECT_EQ(RGB(e.peRed, e.peGreen, e.peBlue), RGB(200, 200, 200));

  TPngShape rgb;
  auto c = LoadPng(WritePng(rgb, RandomRows(rgb)));
  EXPECT_EQ(c->GetPalette(), nullptr);
  c->SetPalette(pal);  // ignored
  EXPECT_EQ(c->GetPalette(), nullptr);

  TPNGObject empty;
  EXPECT_THROW(empty.GetPalette(), EPNGHeaderNotPresent);
  EXPECT_THROW(empty.SetPalette(pal), EPNGHeaderNotPresent);
}
