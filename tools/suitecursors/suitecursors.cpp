// Draws the suite's cursors into a folder: for each, NAME.bmp (32 x 32, 24 bits, magenta where
// the cursor is transparent) and NAME.hotspot ("x y"). Black shapes with a white outline, drawn
// without smoothing so they stay crisp at their size.

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <functional>
#include <string>

#include "platform/gui/Pictures.h"
#include "platform/rtl/Streams.h"

namespace {

constexpr QRgb Key = 0xFFFF00FFu;

// Every shape is filled black and ringed in white, as the platform's cursors are.
void Shape(QPainter& p, const QPainterPath& path) {
  p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::SquareCap, Qt::MiterJoin));
  p.setBrush(Qt::NoBrush);
  p.drawPath(path);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::black);
  p.drawPath(path);
}

QPainterPath Polygon(std::initializer_list<QPointF> points) {
  QPainterPath path;
  path.addPolygon(QPolygonF(QList<QPointF>(points)));
  path.closeSubpath();
  return path;
}

// The standard pointer with its tip at (0, 0).
QPainterPath Pointer() {
  return Polygon({{0, 0}, {0, 16}, {4, 12}, {7, 19}, {9, 18}, {6, 11}, {11, 11}});
}

void Box(QPainter& p, int x, int y, int w, int h) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawRect(x, y, w - 1, h - 1);
  p.setPen(QPen(Qt::black, 1, Qt::DotLine));
  p.setBrush(Qt::NoBrush);
  p.drawRect(x + 2, y + 2, w - 5, h - 5);
}

void Plus(QPainter& p, int x, int y) {
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(x - 1, y - 1, 11, 11);
  p.setBrush(Qt::black);
  p.drawRect(x, y + 4, 9, 1);
  p.drawRect(x + 4, y, 1, 9);
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::NoBrush);
  p.drawRect(x - 1, y - 1, 10, 10);
}

// A solid arrow head of size S pointing along (dx, dy) with its tip at (x, y).
QPainterPath Head(double x, double y, int dx, int dy, double s) {
  const double px = -dy, py = dx;
  return Polygon({{x, y}, {x - dx * s + px * s, y - dy * s + py * s}, {x - dx * s - px * s, y - dy * s - py * s}});
}

// The scroll anchor's marks: a dot in a ring at the centre and heads in the given directions.
void ScrollMarks(QPainter& p, bool up, bool right, bool down, bool left) {
  QPainterPath path;
  path.addEllipse(QPointF(15.5, 15.5), 3, 3);
  if (up) path.addPath(Head(15.5, 3, 0, -1, 5));
  if (down) path.addPath(Head(15.5, 28, 0, 1, 5));
  if (left) path.addPath(Head(3, 15.5, -1, 0, 5));
  if (right) path.addPath(Head(28, 15.5, 1, 0, 5));
  Shape(p, path);
}

// A sizing cursor: a bar across the middle and arrows away from it.
void Sizer(QPainter& p, bool vertical) {
  QPainterPath path;
  if (vertical) {
    path.addRect(6, 14, 20, 3);
    path.addRect(14.5, 8, 2, 5);
    path.addRect(14.5, 18, 2, 5);
    path.addPath(Head(15.5, 2, 0, -1, 6));
    path.addPath(Head(15.5, 29, 0, 1, 6));
  } else {
    path.addRect(14, 6, 3, 20);
    path.addRect(8, 14.5, 5, 2);
    path.addRect(18, 14.5, 5, 2);
    path.addPath(Head(2, 15.5, -1, 0, 6));
    path.addPath(Head(29, 15.5, 1, 0, 6));
  }
  Shape(p, path);
}

void NoDrop(QPainter& p) {
  p.setBrush(Qt::NoBrush);
  p.setPen(QPen(Qt::white, 6));
  p.drawEllipse(QPointF(15.5, 15.5), 10, 10);
  p.drawLine(QPointF(8.5, 8.5), QPointF(22.5, 22.5));
  p.setPen(QPen(Qt::black, 3));
  p.drawEllipse(QPointF(15.5, 15.5), 10, 10);
  p.drawLine(QPointF(8.5, 8.5), QPointF(22.5, 22.5));
}

void Cross(QPainter& p, int x, int y) {
  p.setPen(QPen(Qt::white, 4));
  p.drawLine(x, y, x + 8, y + 8);
  p.drawLine(x + 8, y, x, y + 8);
  p.setPen(QPen(Qt::black, 2));
  p.drawLine(x, y, x + 8, y + 8);
  p.drawLine(x + 8, y, x, y + 8);
}

// An eye-dropper lying from the bottom-left tip (its hot spot) to the upper right.
void Dropper(QPainter& p) {
  QPainterPath path = Polygon({{1, 30}, {3, 25}, {17, 11}, {20, 14}, {6, 28}});
  path.addPath(Polygon({{15, 9}, {22, 16}, {24, 14}, {17, 7}}));
  path.addEllipse(QPointF(24.5, 6.5), 5, 5);
  Shape(p, path);
  p.setPen(QPen(Qt::white, 1));
  p.drawLine(5, 25, 15, 15);
}

// The bar manager's drag of a command: the pointer with a small button under it.
void Button(QPainter& p, int x, int y) {
  p.setPen(QPen(Qt::black, 1));
  p.setBrush(Qt::white);
  p.drawRect(x, y, 12, 9);
  p.setPen(QPen(Qt::gray, 1));
  p.drawLine(x + 2, y + 7, x + 10, y + 7);
  p.drawLine(x + 10, y + 2, x + 10, y + 7);
}

// Sizing an edit item: a vertical bar with arrows left and right.
void EditSizer(QPainter& p) {
  QPainterPath path;
  path.addRect(14.5, 6, 2, 20);
  path.addRect(7, 14.5, 6, 2);
  path.addRect(18, 14.5, 6, 2);
  path.addPath(Head(2, 15.5, -1, 0, 5));
  path.addPath(Head(29, 15.5, 1, 0, 5));
  Shape(p, path);
}

struct TCursorImage {
  const char* Name;
  int X, Y;
  std::function<void(QPainter&)> Draw;
};

void Save(const std::string& folder, const TCursorImage& c) {
  QImage img(32, 32, QImage::Format_RGB32);
  img.fill(Key);
  {
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing, false);
    c.Draw(p);
  }
  TFileStream out(folder + "/" + c.Name + ".bmp", fmCreate);
  WriteBmpImage(&out, img, 24);
  if (FILE* f = std::fopen((folder + "/" + c.Name + ".hotspot").c_str(), "w")) {
    std::fprintf(f, "%d %d\n", c.X, c.Y);
    std::fclose(f);
  }
}

}  // namespace

int main(int argc, char** argv) {
  QGuiApplication app(argc, argv);
  if (argc < 2) {
    std::fprintf(stderr, "usage: suitecursors FOLDER\n");
    return 2;
  }
  const std::string folder = argv[1];
  auto pointer = [](QPainter& p) {
    // One pixel in, so that the white ring around the tip shows.
    p.save();
    p.translate(1, 1);
    Shape(p, Pointer());
    p.restore();
  };
  const TCursorImage cursors[] = {
      {"CX_DRAGCOPYCURSOR", 1, 1, [&](QPainter& p) { pointer(p); Box(p, 8, 19, 12, 10); Plus(p, 21, 21); }},
      {"CX_FULLSCROLLCURSOR", 15, 15, [](QPainter& p) { ScrollMarks(p, true, true, true, true); }},
      {"CX_HORSCROLLCURSOR", 15, 15, [](QPainter& p) { ScrollMarks(p, false, true, false, true); }},
      {"CX_VERSCROLLCURSOR", 15, 15, [](QPainter& p) { ScrollMarks(p, true, false, true, false); }},
      {"CX_UPSCROLLCURSOR", 15, 15, [](QPainter& p) { ScrollMarks(p, true, false, false, false); }},
      {"CX_RIGHTSCROLLCURSOR", 15, 15, [](QPainter& p) { ScrollMarks(p, false, true, false, false); }},
      {"CX_DOWNSCROLLCURSOR", 15, 15, [](QPainter& p) { ScrollMarks(p, false, false, true, false); }},
      {"CX_LEFTSCROLLCURSOR", 15, 15, [](QPainter& p) { ScrollMarks(p, false, false, false, true); }},
      {"CX_REMOVECURSOR", 1, 1, [&](QPainter& p) { pointer(p); Cross(p, 15, 18); }},
      {"CX_VERTSIZECURSOR", 15, 15, [](QPainter& p) { Sizer(p, true); }},
      {"CX_HORZSIZECURSOR", 15, 15, [](QPainter& p) { Sizer(p, false); }},
      {"CX_MULTIDRAGCURSOR", 1, 1, [&](QPainter& p) { pointer(p); Box(p, 12, 17, 12, 10); Box(p, 8, 21, 12, 10); }},
      {"CX_NODROPCURSOR", 15, 15, [](QPainter& p) { NoDrop(p); }},
      {"CX_DRAGCURSOR", 1, 1, [&](QPainter& p) { pointer(p); Box(p, 8, 19, 12, 10); }},
      {"CX_COLORPICKERCURSOR", 1, 30, [](QPainter& p) { Dropper(p); }},
      {"CX_MULTIDRAGCOPYCURSOR", 1, 1,
       [&](QPainter& p) { pointer(p); Box(p, 12, 15, 12, 10); Box(p, 8, 19, 12, 10); Plus(p, 21, 21); }},
      {"DXBARDRAGCURSOR", 1, 1, [&](QPainter& p) { pointer(p); Button(p, 9, 20); }},
      {"DXBARDRAGCOPYCURSOR", 1, 1, [&](QPainter& p) { pointer(p); Button(p, 7, 20); Plus(p, 21, 21); }},
      {"DXBARDRAGNODROPCURSOR", 1, 1, [&](QPainter& p) { pointer(p); Cross(p, 14, 20); }},
      {"DXBAREDITSIZINGCURSOR", 15, 15, [](QPainter& p) { EditSizer(p); }},
  };
  for (const TCursorImage& c : cursors) Save(folder, c);
  return 0;
}
