// Disabled variants of PNG pictures: opacity scaled, colours mixed to grey, colour keys kept
// transparent, drawing with options, and image-list entries taken as pictures.
#include <gtest/gtest.h>

#include <QImage>

#include "ControlsScene.h"
#include "PngSamples.h"
#include "controls/PngFunctions.h"

using namespace controlstest;

namespace {


TEST(PngFunctions, BlendHalvesOpacityAndGreyMixesToTheGreyLevel) {
  auto png = SolidPng(4, 3, qRgb(200, 100, 50));
  BlendPngAlpha(png.get(), 127);
  EXPECT_EQ(qAlpha(png->ToImage().pixel(1, 1)), 128);
  GreyPngColours(png.get(), 255);
  const int grey = int(Round(0.3 * 200 + 0.59 * 100 + 0.11 * 50));
  EXPECT_EQ(png->ToImage().pixel(1, 1) & 0xFFFFFF, uint32_t(qRgb(grey, grey, grey) & 0xFFFFFF));

  // An RGB picture gets an alpha channel first.
  pngfiles::TPngShape rgb;
  rgb.Width = 5, rgb.Height = 4, rgb.ColorType = 2;
  auto plain = LoadPng(pngfiles::WritePng(rgb, pngfiles::RandomRows(rgb)));
  BlendPngAlpha(plain.get(), 127);
  EXPECT_EQ(plain->HeaderChunk()->ColorType, 6);
  EXPECT_EQ(qAlpha(plain->ToImage().pixel(2, 2)), 128);
}

// A palette picture keyed on one entry: disabled, the key stays fully transparent and every other
// pixel gets alpha 127, the colours kept.
TEST(PngFunctions, AKeyedPalettePictureKeepsItsKeyTransparent) {
  pngfiles::TPngShape shape;
  shape.Width = 16, shape.Height = 9, shape.ColorType = 3, shape.BitDepth = 4;
  shape.Trns = true, shape.PaletteTrnsBelow255 = 1;
  const auto rows = pngfiles::RandomRows(shape);
  auto png = LoadPng(pngfiles::WritePng(shape, rows));
  ASSERT_EQ(png->TransparencyKind(), ptkColorKey);
  const QImage before = png->ToImage();
  BlendPngAlpha(png.get(), 127);
  const QImage after = png->ToImage();
  int keyed = 0;
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 16; ++x) {
      const bool key = qAlpha(before.pixel(x, y)) == 0;
      keyed += key;
      EXPECT_EQ(qAlpha(after.pixel(x, y)), key ? 0 : 127) << x << "," << y;
      if (!key) EXPECT_EQ(after.pixel(x, y) & 0xFFFFFF, before.pixel(x, y) & 0xFFFFFF);
    }
  EXPECT_GT(keyed, 0);
}

// An image-list entry: its colours, opaque where its mask is black and clear where it is white;
// an index the list does not have leaves the picture alone.
TEST(PngFunctions, AnImageListEntryBecomesAPictureWithItsMaskAsAlpha) {
  TCustomImageList images(nullptr);
  images.SetSize(8, 8);
  for (TColor colour : {clRed, clBlue}) AddMaskedSquare(images, colour);
  TPNGObject png;
  PngFromImageListEntry(&png, &images, 1);
  const QImage img = png.ToImage();
  ASSERT_EQ(img.size(), QSize(8, 8));
  EXPECT_EQ(img.pixel(5, 5), qRgba(0, 0, 255, 255));
  EXPECT_EQ(qAlpha(img.pixel(1, 5)), 0);
  PngFromImageListEntry(&png, &images, 2);
  EXPECT_EQ(png.ToImage().pixel(5, 5), qRgba(0, 0, 255, 255));
}

}  // namespace
