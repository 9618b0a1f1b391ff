// Draws the suite's small resource bitmaps into a folder as BMP files, pixel by pixel at their
// own size: the sub-menu arrow (red rising from left to right, so that recolouring by the red
// value gives a two-colour ramp) and the plus and minus expand buttons.

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <string>

#include "platform/gui/Pictures.h"
#include "platform/rtl/Streams.h"

namespace {

void Save(const QImage& img, const std::string& path) {
  TFileStream out(path, fmCreate);
  WriteBmpImage(&out, img, 24);
}

QImage SubMenuArrow() {
  // 8 x 9 on black; a 4-wide triangle pointing right.
  QImage img(8, 9, QImage::Format_RGB32);
  img.fill(0xFF000000u);
  for (int x = 0; x < 4; ++x) {
    const uint32_t red = uint32_t(64 + x * 191 / 3);
    for (int y = 1 + x; y <= 7 - x; ++y) img.setPixel(2 + x, y, 0xFF000000u | red << 16);
  }
  return img;
}

QImage ExpandButton(bool Plus) {
  QImage img(9, 9, QImage::Format_RGB32);
  img.fill(0xFFFFFFFFu);
  for (int i = 0; i < 9; ++i) {
    img.setPixel(i, 0, 0xFF808080u);
    img.setPixel(i, 8, 0xFF808080u);
    img.setPixel(0, i, 0xFF808080u);
    img.setPixel(8, i, 0xFF808080u);
  }
  for (int i = 2; i <= 6; ++i) {
    img.setPixel(i, 4, 0xFF000000u);
    if (Plus) img.setPixel(4, i, 0xFF000000u);
  }
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: suitebitmaps FOLDER\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  const std::string dir = argv[1];
  try {
    Save(SubMenuArrow(), dir + "/DXSUBMENUEXPAND.bmp");
    Save(ExpandButton(false), dir + "/DXEXPANDBUTTON_MINUS.bmp");
    Save(ExpandButton(true), dir + "/DXEXPANDBUTTON_PLUS.bmp");
  } catch (const Exception& e) {
    std::fprintf(stderr, "suitebitmaps: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
