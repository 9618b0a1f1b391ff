// Draws the image slider's default bitmaps into a folder as BMP files: the horizontal and
// vertical thumbs (two frames side by side, normal and highlighted) and the two rulers (a
// sunken groove with two-pixel end caps and a six-pixel middle that repeats seamlessly).
// Magenta is the transparent colour; every image keeps it in its bottom-left pixel.

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <string>

#include "platform/gui/Pictures.h"
#include "platform/rtl/Streams.h"

namespace {

constexpr uint32_t kKey = 0xFFFF00FFu;
constexpr uint32_t kWhite = 0xFFFFFFFFu, kLight = 0xFFE3E3E3u, kShadow = 0xFF808080u,
                   kDark = 0xFF404040u;

void Save(const QImage& img, const std::string& path) {
  TFileStream out(path, fmCreate);
  WriteBmpImage(&out, img, 24);
}

// The groove across the ruler, from its top (left) side: shadow, dark, light, highlight.
constexpr uint32_t kGroove[4] = {kShadow, kDark, kLight, kWhite};

// 10 x 8: the groove in rows 2..5. The caps close it: the left one in shadow with a highlight
// at its foot, the right one in highlight.
QImage HorizontalRuler() {
  QImage img(10, 8, QImage::Format_RGB32);
  img.fill(kKey);
  for (int x = 0; x < 10; ++x)
    for (int i = 0; i < 4; ++i) {
      uint32_t c = kGroove[i];
      if (x == 0) c = i == 3 ? kWhite : kShadow;
      if (x == 9) c = kWhite;
      if ((x == 1 || x == 8) && i == 1) c = x == 1 ? kDark : kLight;
      img.setPixel(x, 2 + i, c);
    }
  return img;
}

// The same groove turned upright: 8 x 10, columns 2..5.
QImage VerticalRuler() {
  QImage h = HorizontalRuler();
  QImage img(8, 10, QImage::Format_RGB32);
  img.fill(kKey);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 8; ++x) img.setPixel(x, y, h.pixel(y, x));
  return img;
}

// One thumb frame W x H: a raised face with rounded corners and a grip of three ridges across
// the slider's axis; the highlighted frame has a blue face.
void ThumbFrame(QImage& img, int X0, int W, int H, bool Vertical, bool Hot) {
  const uint32_t face = Hot ? 0xFF9CC3EBu : 0xFFD8D4CCu;
  const uint32_t grip = Hot ? 0xFF2F5F9Fu : kShadow;
  for (int y = 0; y < H; ++y)
    for (int x = 0; x < W; ++x) {
      const bool cornerX = x == 0 || x == W - 1, cornerY = y == 0 || y == H - 1;
      uint32_t c = face;
      if (cornerX && cornerY) c = kKey;
      else if (x == W - 1 || y == H - 1) c = kDark;
      else if (x == 0 || y == 0) c = kWhite;
      else if (x == W - 2 || y == H - 2) c = kShadow;
      img.setPixel(X0 + x, y, c);
    }
  // Three ridges in the middle, each a dark line with a light one beside it.
  for (int k = -1; k <= 1; ++k) {
    if (!Vertical) {
      const int x = W / 2 - 1 + 3 * k;
      for (int y = 3; y < H - 3; ++y) {
        img.setPixel(X0 + x, y, grip);
        img.setPixel(X0 + x + 1, y, kWhite);
      }
    } else {
      const int y = H / 2 - 1 + 3 * k;
      for (int x = 3; x < W - 3; ++x) {
        img.setPixel(X0 + x, y, grip);
        img.setPixel(X0 + x, y + 1, kWhite);
      }
    }
  }
}

QImage Thumb(int FrameW, int H, bool Vertical) {
  QImage img(FrameW * 2, H, QImage::Format_RGB32);
  img.fill(kKey);
  ThumbFrame(img, 0, FrameW, H, Vertical, false);
  ThumbFrame(img, FrameW, FrameW, H, Vertical, true);
  return img;
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: sliderbitmaps OUTPUT_FOLDER\n");
    return 2;
  }
  const std::string dir = argv[1];
  Save(Thumb(20, 13, false), dir + "/W95_HTB.bmp");
  Save(HorizontalRuler(), dir + "/W95_HRL.bmp");
  Save(Thumb(13, 20, true), dir + "/W95_VTB.bmp");
  Save(VerticalRuler(), dir + "/W95_VRL.bmp");
  return 0;
}
