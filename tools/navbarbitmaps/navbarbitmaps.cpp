// Draws the navigation bar's resource pictures into a folder:
// - the advanced explorer bar's two 22 x 22 caption signs, a round button holding two chevrons
//   (up while the group is expanded, down while it is collapsed). The chevrons are pure blue,
//   which the painter replaces by the sign colour; the button is grey levels, which the painter
//   blends with the caption under it (the darker, the more caption shows through); around it is
//   the key colour, read from the first pixel.
// - the hot-link, link-drag and link-drag-copy cursors (32 x 32, magenta where transparent, with
//   a NAME.hotspot file), drawn pixel by pixel so that they stay crisp.

#include <QGuiApplication>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/gui/Pictures.h"
#include "platform/rtl/Streams.h"

namespace {

constexpr QRgb Key = 0xFFFF00FFu;
constexpr QRgb Glyph = 0xFF0000FFu;

void SaveBmp(const QImage& img, const std::string& path) {
  TFileStream out(path, fmCreate);
  WriteBmpImage(&out, img, 24);
}

QRgb Grey(int v) { return qRgb(v, v, v); }

// Fraction of the pixel (x, y) inside the circle, by 4 x 4 supersampling.
double Coverage(int x, int y, double cx, double cy, double r) {
  int in = 0;
  for (int sy = 0; sy < 4; ++sy)
    for (int sx = 0; sx < 4; ++sx) {
      const double dx = x + (sx + 0.5) / 4 - cx, dy = y + (sy + 0.5) / 4 - cy;
      in += dx * dx + dy * dy <= r * r;
    }
  return in / 16.0;
}

QImage Sign(bool Up) {
  constexpr int Size = 22;
  constexpr double C = 10.5, Outer = 9.6, Inner = 8.4;
  QImage img(Size, Size, QImage::Format_RGB32);
  for (int y = 0; y < Size; ++y)
    for (int x = 0; x < Size; ++x) {
      const double outer = Coverage(x, y, C, C, Outer);
      if (outer == 0) {
        img.setPixel(x, y, Key);
        continue;
      }
      // The face runs from white at the top to a light grey at the bottom; the rim is a mid
      // grey, lighter at the top-left. Partly covered edge pixels come out darker, so that more
      // of the caption shows through them.
      const double inner = Coverage(x, y, C, C, Inner);
      const int face = 255 - std::max(0, y - 9) * 3;
      const int rim = 150 + std::clamp(int((C - y) * 3 + (C - x) * 2), -30, 40);
      img.setPixel(x, y, Grey(int(std::lround(face * inner + rim * (outer - inner)))));
    }
  // Two chevrons 8 pixels wide and 2 thick, their apexes on the middle columns 10 and 11.
  for (int top : {6, 11})
    for (int k = 0; k < 4; ++k)
      for (int t = 0; t < 2; ++t) {
        const int row = top + k + t;
        const int y = Up ? row : Size - 1 - row;
        img.setPixel(10 - k, y, Glyph);
        img.setPixel(11 + k, y, Glyph);
      }
  return img;
}

// A cursor from rows of text: '#' black, '.' white, anything else transparent.
struct TArt {
  int X, Y;
  std::vector<const char*> Rows;
};

void Paint(QImage& img, const TArt& art) {
  for (int r = 0; r < int(art.Rows.size()); ++r)
    for (int c = 0; art.Rows[r][c]; ++c) {
      const char ch = art.Rows[r][c];
      if (ch == '#') img.setPixel(art.X + c, art.Y + r, 0xFF000000u);
      if (ch == '.') img.setPixel(art.X + c, art.Y + r, 0xFFFFFFFFu);
    }
}

const std::vector<const char*> Pointer = {
    "#",
    "##",
    "#.#",
    "#..#",
    "#...#",
    "#....#",
    "#.....#",
    "#......#",
    "#.......#",
    "#........#",
    "#.....#####",
    "#..#..#",
    "#.# #..#",
    "##  #..#",
    "#    #..#",
    "     #..#",
    "      ##",
};

// A link being carried: a small box with two lines of text.
const std::vector<const char*> LinkBox = {
    "############",
    "#..........#",
    "#.#######..#",
    "#..........#",
    "#.#####....#",
    "#..........#",
    "############",
};

const std::vector<const char*> PlusBox = {
    "#########",
    "#.......#",
    "#...#...#",
    "#...#...#",
    "#.#####.#",
    "#...#...#",
    "#...#...#",
    "#.......#",
    "#########",
};

// The pointing hand over a link, its fingertip the hot spot.
const std::vector<const char*> Hand = {
    "     ##",
    "    #..#",
    "    #..#",
    "    #..#",
    "    #..#",
    "    #..###",
    "    #..#..###",
    "    #..#..#..##",
    "    #..#..#..#.#",
    " ## #..#..#..#..#",
    "#..##..........#.#",
    "#...#............#",
    " #...............#",
    "  #..............#",
    "  #..............#",
    "   #.............#",
    "   #............#",
    "    #...........#",
    "    #..........#",
    "     #.........#",
    "     #.........#",
    "     ###########",
};

struct TCursorArt {
  const char* Name;
  int HotX, HotY;
  std::vector<TArt> Parts;
};

void SaveCursor(const std::string& folder, const TCursorArt& c) {
  QImage img(32, 32, QImage::Format_RGB32);
  img.fill(Key);
  for (const TArt& part : c.Parts) Paint(img, part);
  SaveBmp(img, folder + "/" + c.Name + ".bmp");
  if (FILE* f = std::fopen((folder + "/" + c.Name + ".hotspot").c_str(), "w")) {
    std::fprintf(f, "%d %d\n", c.HotX, c.HotY);
    std::fclose(f);
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: navbarbitmaps FOLDER\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  const std::string dir = argv[1];
  try {
    SaveBmp(Sign(true), dir + "/DXNAVBARADVEXPLORERBARGROUPCAPTIONCOLLAPSESIGN.bmp");
    SaveBmp(Sign(false), dir + "/DXNAVBARADVEXPLORERBARGROUPCAPTIONEXPANDSIGN.bmp");
    const TCursorArt cursors[] = {
        {"dxNavBarLinksCursor", 6, 1, {{1, 1, Hand}}},
        {"dxNavBarDragCursor", 1, 1, {{1, 1, Pointer}, {10, 19, LinkBox}}},
        {"dxNavBarDragCopyCursor", 1, 1, {{1, 1, Pointer}, {8, 19, LinkBox}, {20, 22, PlusBox}}},
    };
    for (const TCursorArt& c : cursors) SaveCursor(dir, c);
  } catch (const Exception& e) {
    std::fprintf(stderr, "navbarbitmaps: %s\n", e.Message().c_str());
    return 1;
  }
  return 0;
}
