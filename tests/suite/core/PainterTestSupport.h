#pragma once
// Drawing surfaces for the painter tests: a bitmap with its canvas and ways to read its pixels
// back.
#include <QImage>
#include <algorithm>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "suite/core/cxLookAndFeelPainters.h"

namespace painter_test {

// A colour as the image's 0xRRGGBB pixel value.
inline uint32_t Rgb(TColor c) {
  uint32_t v = uint32_t(ColorToRGB(c)) & 0xFFFFFF;
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

inline TcxCustomLookAndFeelPainter* Painter(const char* Name) {
  return cxLookAndFeelPaintersManager()->PainterForName(Name);
}

struct TSurface {
  TBitmap Bitmap;
  std::unique_ptr<TcxCanvas> Canvas;
  explicit TSurface(int w, int h, TColor back = TColor(0xFFFFFF)) {
    Bitmap.SetSize(w, h);
    Canvas = std::make_unique<TcxCanvas>(Bitmap.Canvas());
    Canvas->FillRectWithColor(TRect(0, 0, w, h), back);
  }
  TcxCanvas* C() { return Canvas.get(); }
  QImage Image() { return Bitmap.ToImage().convertToFormat(QImage::Format_RGB32); }
  uint32_t At(int x, int y) { return Image().pixel(x, y) & 0xFFFFFF; }
  // 'X' where the pixel has the colour Ink, '.' elsewhere.
  std::vector<std::string> Picture(const TRect& R, TColor Ink) {
    QImage img = Image();
    std::vector<std::string> rows;
    for (int y = R.Top; y < R.Bottom; ++y) {
      std::string row;
      for (int x = R.Left; x < R.Right; ++x) row += (img.pixel(x, y) & 0xFFFFFF) == Rgb(Ink) ? 'X' : '.';
      rows.push_back(row);
    }
    return rows;
  }
  // The bounding box of the pixels that are (or, with Not, are not) of colour Ink; empty when none.
  TRect Bounds(TColor Ink, bool Not = false) {
    QImage img = Image();
    TRect r(img.width(), img.height(), -1, -1);
    for (int y = 0; y < img.height(); ++y)
      for (int x = 0; x < img.width(); ++x)
        if (((img.pixel(x, y) & 0xFFFFFF) == Rgb(Ink)) != Not) {
          r.Left = std::min(r.Left, x);
          r.Top = std::min(r.Top, y);
          r.Right = std::max(r.Right, x + 1);
          r.Bottom = std::max(r.Bottom, y + 1);
        }
    return r.IsEmpty() ? TRect() : r;
  }
  int Count(const TRect& R, TColor Ink) {
    QImage img = Image();
    int n = 0;
    for (int y = R.Top; y < R.Bottom; ++y)
      for (int x = R.Left; x < R.Right; ++x) n += (img.pixel(x, y) & 0xFFFFFF) == Rgb(Ink);
    return n;
  }
};

}  // namespace painter_test
