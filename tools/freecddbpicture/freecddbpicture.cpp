// Draws the picture of the CD dialog's disc database button into a folder as freecddb.png: a
// silver disc with a blue globe in front of its lower right, 32 x 32 with soft edges on a
// transparent ground.

#include <QConicalGradient>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cstdio>
#include <string>

#include "controls/PngImage.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streams.h"

namespace {

constexpr int kSize = 32;

void DrawDisc(QPainter& p) {
  const QPointF c(14, 14);
  // The pressed surface catches the light in faint bands of colour.
  QConicalGradient sheen(c, 30);
  const QColor silver(214, 218, 226), blue(186, 208, 240), rose(236, 204, 222), gold(240, 230, 190),
      white(250, 250, 252);
  sheen.setColorAt(0.00, white);
  sheen.setColorAt(0.12, blue);
  sheen.setColorAt(0.25, silver);
  sheen.setColorAt(0.38, rose);
  sheen.setColorAt(0.50, white);
  sheen.setColorAt(0.62, gold);
  sheen.setColorAt(0.75, silver);
  sheen.setColorAt(0.88, blue);
  sheen.setColorAt(1.00, white);
  p.setPen(QPen(QColor(112, 118, 132), 1.0));
  p.setBrush(sheen);
  p.drawEllipse(c, 13, 13);
  // The clear hub and its ring.
  p.setPen(QPen(QColor(150, 156, 168), 1.0));
  p.setBrush(QColor(232, 234, 238));
  p.drawEllipse(c, 5, 5);
  p.setCompositionMode(QPainter::CompositionMode_Clear);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawEllipse(c, 2, 2);
  p.setCompositionMode(QPainter::CompositionMode_SourceOver);
  p.setPen(QPen(QColor(150, 156, 168), 0.8));
  p.setBrush(Qt::NoBrush);
  p.drawEllipse(c, 2.2, 2.2);
}

void DrawGlobe(QPainter& p) {
  const QPointF c(23, 23);
  const double r = 8;
  QRadialGradient sea(QPointF(20.5, 20), 10);
  sea.setColorAt(0, QColor(120, 186, 250));
  sea.setColorAt(1, QColor(24, 84, 170));
  p.setPen(QPen(QColor(18, 52, 112), 1.0));
  p.setBrush(sea);
  p.drawEllipse(c, r, r);
  // The grid of meridians and parallels, clipped to the sphere.
  QPainterPath sphere;
  sphere.addEllipse(c, r - 0.5, r - 0.5);
  p.save();
  p.setClipPath(sphere);
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(QColor(226, 240, 255, 210), 0.9));
  p.drawEllipse(c, 3.5, r);
  p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
  p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
  p.drawLine(QPointF(c.x() - r, c.y() - 4), QPointF(c.x() + r, c.y() - 4));
  p.drawLine(QPointF(c.x() - r, c.y() + 4), QPointF(c.x() + r, c.y() + 4));
  p.restore();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: freecddbpicture <folder>\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  QImage img(kSize, kSize, QImage::Format_ARGB32);
  img.fill(Qt::transparent);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    DrawDisc(p);
    DrawGlobe(p);
  }
  // Colours and coverage go into the PNG separately: straight colour, its own alpha channel.
  QImage colours(kSize, kSize, QImage::Format_RGB32);
  for (int y = 0; y < kSize; ++y)
    for (int x = 0; x < kSize; ++x) colours.setPixel(x, y, img.pixel(x, y) | 0xFF000000u);
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetImage(colours);
  TPNGObject png;
  png.Assign(&bmp);
  png.AddAlphaChannel();
  for (int y = 0; y < kSize; ++y) {
    uint8_t* alpha = png.AlphaRowPointer(y);
    for (int x = 0; x < kSize; ++x) alpha[x] = uint8_t(qAlpha(img.pixel(x, y)));
  }
  TFileStream out(std::string(argv[1]) + "/freecddb.png", fmCreate);
  png.SaveToStream(&out);
  return 0;
}
