// Draws the suite's small resource bitmaps into a folder as BMP files, pixel by pixel at their
// own size: the sub-menu expand chevrons, the plus and minus expand buttons, the six
// indicator images of grid rows, the three anchors of middle-button scrolling, the status bar's
// seven lamps, the font-name list's two font-type marks and the four window-menu glyphs of the
// bar manager.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <utility>
#include <string>

#include "platform/gui/Pictures.h"
#include "platform/rtl/Streams.h"

namespace {

void Save(const QImage& img, const std::string& path) {
  TFileStream out(path, fmCreate);
  WriteBmpImage(&out, img, 24);
}

QImage SubMenuArrow() {
  // 7 x 7 on magenta: a double chevron pointing down, its grey rising from left to right so
  // that recolouring by the red value gives a two-colour ramp.
  QImage img(7, 7, QImage::Format_RGB32);
  img.fill(0xFFFF00FFu);
  for (int k = 0; k < 2; ++k)
    for (int x = 0; x < 5; ++x) {
      const uint32_t v = uint32_t(0x60 + x * 0x20);
      const int y = 1 + 3 * k + (x <= 2 ? x : 4 - x);
      img.setPixel(1 + x, y, 0xFF000000u | v << 16 | v << 8 | v);
      if (y > 1 + 3 * k) img.setPixel(1 + x, y - 1, 0xFF000000u | v << 16 | v << 8 | v);
    }
  return img;
}

uint32_t Lerp(uint32_t a, uint32_t b, int num, int den) {
  uint32_t out = 0xFF000000u;
  for (int shift = 0; shift <= 16; shift += 8) {
    const int ca = int((a >> shift) & 0xFF), cb = int((b >> shift) & 0xFF);
    out |= uint32_t(ca + (cb - ca) * num / den) << shift;
  }
  return out;
}

// 11 x 11: a box whose frame runs from a light blue-grey at the top-left to a dark one at the
// bottom-right (the painters blend the four corner pixels into the background), a white to
// pale face and the sign in dark blue.
QImage ExpandButton(bool Plus) {
  const uint32_t light = 0xFF9EAEBFu, dark = 0xFF2E465Fu;
  QImage img(11, 11, QImage::Format_RGB32);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 11; ++x) {
      const bool edge = x == 0 || y == 0 || x == 10 || y == 10;
      img.setPixel(x, y, edge ? Lerp(light, dark, x + y, 20) : Lerp(0xFFFFFFFFu, 0xFFD6DEE8u, y - 1, 8));
    }
  for (int i = 3; i <= 7; ++i) {
    img.setPixel(i, 5, 0xFF1E3250u);
    if (Plus) img.setPixel(5, i, 0xFF1E3250u);
  }
  return img;
}

// The indicator images: 8 x 9, black on white, white being transparent.
QImage Indicator(const char* const (&Rows)[9]) {
  QImage img(8, 9, QImage::Format_RGB32);
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 8; ++x) img.setPixel(x, y, Rows[y][x] == '#' ? 0xFF000000u : 0xFFFFFFFFu);
  return img;
}

const char* const kArrow[9] = {"........", "..#.....", "..##....", "..###...", "..####..",
                               "..###...", "..##....", "..#.....", "........"};
const char* const kEdit[9] = {".##.##..", "...#....", "...#....", "...#....", "...#....",
                              "...#....", "...#....", "...#....", ".##.##.."};
const char* const kInsert[9] = {"........", "...#....", "#..#..#.", ".#.#.#..", "..###...",
                                ".#.#.#..", "#..#..#.", "...#....", "........"};
const char* const kMultiDot[9] = {"........", "........", "........", "...##...", "..####..",
                                  "..####..", "...##...", "........", "........"};
const char* const kMultiArrow[9] = {"#.......", "##......", "###.....", "####.##.", "###.####",
                                    "##..####", "#....##.", "........", "........"};
const char* const kFilter[9] = {"........", "#######.", ".#####..", "..###...", "...#....",
                                "...#....", "...#....", "...#....", "........"};

// The anchor of middle-button scrolling, 32 x 32: a light disc with a dark rim, a dot at the
// anchor and solid arrows towards the directions the content can scroll.
QImage AnchorBitmap(bool Horizontal, bool Vertical) {
  const int size = 32;
  QImage img(size, size, QImage::Format_RGB32);
  img.fill(0xFFFFFFFFu);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.0));
  p.setBrush(QColor(0xF4, 0xF4, 0xF4));
  p.drawEllipse(QRectF(1.5, 1.5, size - 3, size - 3));
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0x20, 0x20, 0x20));
  // A centre dot 4 x 4 and arrows of 7-pixel base, 4 pixels deep, 4 pixels from the rim.
  p.drawRect(14, 14, 4, 4);
  auto arrow = [&](int dx, int dy) {
    const int c = 16;
    QPolygon tri;
    if (dy != 0) {
      const int tip = dy < 0 ? 5 : size - 6, base = dy < 0 ? tip + 4 : tip - 4;
      tri << QPoint(c - 4, base) << QPoint(c + 3, base) << QPoint(c - 1, tip) << QPoint(c, tip);
    } else {
      const int tip = dx < 0 ? 5 : size - 6, base = dx < 0 ? tip + 4 : tip - 4;
      tri << QPoint(base, c - 4) << QPoint(base, c + 3) << QPoint(tip, c) << QPoint(tip, c - 1);
    }
    p.drawPolygon(tri);
  };
  if (Vertical) {
    arrow(0, -1);
    arrow(0, 1);
  }
  if (Horizontal) {
    arrow(-1, 0);
    arrow(1, 0);
  }
  p.end();
  return img;
}

// A status bar lamp, 17 x 8 on magenta (drawn transparently): a rounded capsule with a dark rim,
// its body shaded from a light top to the full colour, and a small glint at the upper left.
QImage Lamp(uint32_t Color) {
  QImage img(17, 8, QImage::Format_RGB32);
  img.fill(0xFFFF00FFu);
  const uint32_t rim = Lerp(Color, 0xFF000000u, 11, 20);
  for (int y = 0; y < 8; ++y)
    for (int x = 1; x < 16; ++x) {
      const bool corner = (y == 0 || y == 7) && (x == 1 || x == 15);
      if (corner) continue;
      const bool edge = y == 0 || y == 7 || x == 1 || x == 15;
      img.setPixel(x, y, edge ? rim : Lerp(0xFFFFFFFFu, Color, std::min(y + 2, 6), 6));
    }
  img.setPixel(3, 2, 0xFFFFFFFFu);
  img.setPixel(4, 2, 0xFFFFFFFFu);
  return img;
}

// The font-type marks of the font-name list, 12 x 12 on white (drawn transparently): two
// overlapping letters T for scalable outline fonts, a small grid of dots for the others.
QImage TrueTypeMark() {
  QImage img(12, 12, QImage::Format_RGB32);
  img.fill(0xFFFFFFFFu);
  auto tee = [&](int x0, int y0, uint32_t c) {
    for (int x = 0; x < 7; ++x) img.setPixel(x0 + x, y0, c);
    for (int x : {0, 6}) img.setPixel(x0 + x, y0 + 1, c);
    for (int y = 1; y < 7; ++y) img.setPixel(x0 + 3, y0 + y, c);
    for (int x = 2; x < 5; ++x) img.setPixel(x0 + x, y0 + 7, c);
  };
  tee(0, 1, 0xFF808080u);
  tee(4, 4, 0xFF000000u);
  return img;
}

QImage OtherFontMark() {
  QImage img(12, 12, QImage::Format_RGB32);
  img.fill(0xFFFFFFFFu);
  for (int y = 2; y < 11; y += 2)
    for (int x = 2; x < 11; x += 2) img.setPixel(x, y, (x == 2 || y == 2) ? 0xFF000000u : 0xFF808080u);
  return img;
}

// The window-menu glyphs of the bar manager's MDI system menu, 16 x 16 black on magenta (the
// lower-left pixel, transparent): a cross for close, one window for maximize, two overlapping
// windows for restore and a bar at the base line for minimize. Windows have a two-pixel top.
enum class TWindowGlyph { Close, Maximize, Restore, Minimize };

QImage WindowGlyph(TWindowGlyph Kind) {
  QImage img(16, 16, QImage::Format_RGB32);
  img.fill(0xFFFF00FFu);
  const uint32_t ink = 0xFF000000u;
  auto frame = [&](int l, int t, int r, int b) {
    for (int x = l; x <= r; ++x) img.setPixel(x, t, ink), img.setPixel(x, t + 1, ink), img.setPixel(x, b, ink);
    for (int y = t; y <= b; ++y) img.setPixel(l, y, ink), img.setPixel(r, y, ink);
  };
  switch (Kind) {
    case TWindowGlyph::Close:
      // Two strokes two pixels wide inside the square from (4, 4) to (11, 11).
      for (int i = 0; i < 8; ++i)
        for (int x : {4 + i, 5 + i, 11 - i, 10 - i})
          if (x >= 4 && x <= 11) img.setPixel(x, 4 + i, ink);
      break;
    case TWindowGlyph::Maximize: frame(3, 3, 12, 12); break;
    case TWindowGlyph::Restore:
      frame(6, 2, 13, 8);
      // The front window hides what it covers of the back one.
      for (int y = 5; y <= 12; ++y)
        for (int x = 3; x <= 10; ++x) img.setPixel(x, y, 0xFFFF00FFu);
      frame(3, 5, 10, 12);
      break;
    case TWindowGlyph::Minimize:
      for (int x = 4; x <= 10; ++x) img.setPixel(x, 11, ink), img.setPixel(x, 12, ink);
      break;
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
    Save(Indicator(kArrow), dir + "/CX_ARROWBITMAP.bmp");
    Save(Indicator(kEdit), dir + "/CX_EDITBITMAP.bmp");
    Save(Indicator(kInsert), dir + "/CX_INSERTBITMAP.bmp");
    Save(Indicator(kMultiDot), dir + "/CX_MULTIDOTBITMAP.bmp");
    Save(Indicator(kMultiArrow), dir + "/CX_MULTIARROWBITMAP.bmp");
    Save(Indicator(kFilter), dir + "/CX_FILTERBITMAP.bmp");
    Save(AnchorBitmap(true, true), dir + "/CX_FULLSCROLLBITMAP.bmp");
    Save(AnchorBitmap(true, false), dir + "/CX_HORSCROLLBITMAP.bmp");
    Save(AnchorBitmap(false, true), dir + "/CX_VERSCROLLBITMAP.bmp");
    static const std::pair<const char*, uint32_t> lamps[] = {
        {"GRAY", 0xFF9A9A9Au}, {"YELLOW", 0xFFF0D000u}, {"BLUE", 0xFF2060F0u}, {"GREEN", 0xFF20B020u},
        {"RED", 0xFFE02020u},  {"TEAL", 0xFF10A0A0u},   {"PURPLE", 0xFF9030C0u}};
    for (const auto& [name, color] : lamps) Save(Lamp(color), dir + "/DXSTATUSBAR_" + name + ".bmp");
    Save(TrueTypeMark(), dir + "/DXBARTRUETYPEFONT.bmp");
    Save(OtherFontMark(), dir + "/DXBARNONTRUETYPEFONT.bmp");
    Save(WindowGlyph(TWindowGlyph::Close), dir + "/DXBARCLOSE.bmp");
    Save(WindowGlyph(TWindowGlyph::Maximize), dir + "/DXBARMAXIMIZE.bmp");
    Save(WindowGlyph(TWindowGlyph::Restore), dir + "/DXBARRESTORE.bmp");
    Save(WindowGlyph(TWindowGlyph::Minimize), dir + "/DXBARMINIMIZE.bmp");
  } catch (const Exception& e) {
    std::fprintf(stderr, "suitebitmaps: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
