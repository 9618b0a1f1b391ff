#pragma once
// PNG pictures for the button tests, written by libpng and read by our codec.

#include <QColor>
#include <memory>

#include "PngFiles.h"
#include "controls/PngImage.h"
#include "platform/gui/ImgList.h"

namespace controlstest {

inline std::unique_ptr<TPNGObject> LoadPng(const pngfiles::Bytes& file) {
  TMemoryStream s;
  s.WriteBuffer(file.data(), int64_t(file.size()));
  s.SetPosition(0);
  auto png = std::make_unique<TPNGObject>();
  png->LoadFromStream(&s);
  return png;
}

// W x H of one colour with one alpha, as an RGBA picture.
inline std::unique_ptr<TPNGObject> SolidPng(int W, int H, QRgb C, uint8_t Alpha = 255) {
  pngfiles::TPngShape shape;
  shape.Width = W, shape.Height = H, shape.ColorType = 6;
  std::vector<pngfiles::Bytes> rows(size_t(H), pngfiles::Bytes(size_t(W) * 4));
  for (auto& row : rows)
    for (int x = 0; x < W; ++x) {
      row[size_t(x) * 4] = uint8_t(qRed(C));
      row[size_t(x) * 4 + 1] = uint8_t(qGreen(C));
      row[size_t(x) * 4 + 2] = uint8_t(qBlue(C));
      row[size_t(x) * 4 + 3] = Alpha;
    }
  return LoadPng(pngfiles::WritePng(shape, rows));
}

// Adds an 8 x 8 entry of one colour whose two left columns are masked out (white in the mask).
inline void AddMaskedSquare(TCustomImageList& List, TColor Colour) {
  TBitmap picture, mask;
  picture.SetSize(8, 8);
  picture.Canvas()->Brush()->SetColor(Colour);
  picture.Canvas()->FillRect(Rect(0, 0, 8, 8));
  mask.SetSize(8, 8);
  mask.SetMonochrome(true);
  mask.Canvas()->Brush()->SetColor(clBlack);
  mask.Canvas()->FillRect(Rect(0, 0, 8, 8));
  mask.Canvas()->Brush()->SetColor(clWhite);
  mask.Canvas()->FillRect(Rect(0, 0, 2, 8));
  List.Add(&picture, &mask);
}

}  // namespace controlstest
