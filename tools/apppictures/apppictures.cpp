// Draws the main window's pictures into a folder: the command glyphs at 16 and 32 pixels (two
// strips, Glyphs16.png and Glyphs32.png, in the order of Glyphs.txt), the transport and zoom
// button pictures, the bottom panel's background, the two pictures before the time labels, the
// progress and about pictures and the application icon.
//
// One visual language throughout: glyphs are designed on a 32-unit grid, outlined in one slate
// ink, filled from a small palette (paper white, wave blue, go green, stop red, warm orange,
// effect violet), and scaled to their size; at 16 pixels the ink is one pixel wide.
// With --sheet FILE it also writes a contact sheet of everything on a light and a dark ground.

#include <QGuiApplication>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "controls/PngImage.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streams.h"

namespace {

// The palette.
const QColor kInk(52, 64, 84);
const QColor kPaper(255, 255, 255);
const QColor kPaperShade(226, 232, 240);
const QColor kBlue(38, 124, 214);
const QColor kBlueLight(120, 184, 240);
const QColor kGreen(42, 163, 90);
const QColor kRed(222, 66, 58);
const QColor kOrange(240, 150, 30);
const QColor kViolet(136, 88, 200);
const QColor kYellow(250, 206, 70);
const QColor kGrey(150, 160, 176);

// Drawing on the 32-unit grid of a glyph of Size pixels.
struct G {
  QPainter& p;
  int Size;
  double Ink() const { return Size <= 16 ? 2.0 : 1.6; }
  QPen Pen(const QColor& c, double scale = 1.0) const {
    QPen pen(c, Ink() * scale);
    pen.setJoinStyle(Qt::RoundJoin);
    pen.setCapStyle(Qt::RoundCap);
    return pen;
  }
  void Outline(const QColor& c = kInk, double scale = 1.0) { p.setPen(Pen(c, scale)); }
  void NoLine() { p.setPen(Qt::NoPen); }
  void Fill(const QColor& c) { p.setBrush(c); }
  void NoFill() { p.setBrush(Qt::NoBrush); }
  QBrush Shade(const QColor& c, double y0, double y1) const {
    QLinearGradient g(0, y0, 0, y1);
    g.setColorAt(0, c.lighter(125));
    g.setColorAt(1, c);
    return QBrush(g);
  }
};

using Glyph = std::function<void(G&)>;

// ----- Shared pieces ---------------------------------------------------------------------------

void Page(G& g, double x = 6, double y = 2, double w = 20, double h = 28) {
  const double fold = w * 0.32;
  QPainterPath path;
  path.moveTo(x, y);
  path.lineTo(x + w - fold, y);
  path.lineTo(x + w, y + fold);
  path.lineTo(x + w, y + h);
  path.lineTo(x, y + h);
  path.closeSubpath();
  QLinearGradient shade(x, y, x + w, y + h);
  shade.setColorAt(0, kPaper);
  shade.setColorAt(1, kPaperShade);
  g.Outline();
  g.p.setBrush(shade);
  g.p.drawPath(path);
  QPainterPath corner;
  corner.moveTo(x + w - fold, y);
  corner.lineTo(x + w - fold, y + fold);
  corner.lineTo(x + w, y + fold);
  g.NoFill();
  g.p.drawPath(corner);
}

// A waveform across the rectangle: bars of a beating tone under a soft envelope.
void Wave(G& g, QRectF r, const QColor& c = kBlue, double amount = 1.0, int seed = 0) {
  // Bars at least two pixels apart at either size, so they never run together.
  const double spacing = g.Size <= 16 ? 4.4 : 3.4;
  const int n = std::clamp(int(r.width() / spacing) + 1, 3, g.Size <= 16 ? 6 : 8);
  const double step = r.width() / (n - 1);
  const double mid = r.center().y();
  QPainterPath path;
  for (int i = 0; i < n; ++i) {
    double t = double(i) / (n - 1);
    double v = (0.35 + 0.65 * std::fabs(std::sin(2.3 * i + 1.1 + seed))) * std::sin(M_PI * (0.15 + 0.7 * t));
    double h = r.height() / 2 * v * amount;
    double x = r.left() + i * step;
    path.moveTo(x, mid - h);
    path.lineTo(x, mid + h);
  }
  QPen pen = g.Pen(c, g.Size <= 16 ? 1.0 : 1.3);
  g.p.setPen(pen);
  g.p.drawPath(path);
}

// A smooth oscillation along the rectangle's middle.
void Sine(G& g, QRectF r, const QColor& c, double cycles, double phase = 0, double scale = 1.2) {
  QPainterPath path;
  const int n = 48;
  for (int i = 0; i <= n; ++i) {
    double t = double(i) / n;
    double x = r.left() + t * r.width();
    double y = r.center().y() - std::sin(phase + t * cycles * 2 * M_PI) * r.height() / 2;
    if (i == 0)
      path.moveTo(x, y);
    else
      path.lineTo(x, y);
  }
  g.NoFill();
  g.p.setPen(g.Pen(c, scale));
  g.p.drawPath(path);
}

void Arrow(G& g, QPointF from, QPointF to, const QColor& c, double head = 5, double scale = 1.4) {
  g.p.setPen(g.Pen(c, scale));
  g.p.drawLine(from, to);
  const double a = std::atan2(to.y() - from.y(), to.x() - from.x());
  QPointF l(to.x() - head * std::cos(a - 0.6), to.y() - head * std::sin(a - 0.6));
  QPointF rr(to.x() - head * std::cos(a + 0.6), to.y() - head * std::sin(a + 0.6));
  g.p.drawLine(to, l);
  g.p.drawLine(to, rr);
}

// A round badge in the lower right with a sign: '+', '-', 'x', '>' (play), '!' or '?'.
void Badge(G& g, const QColor& c, char sign, double cx = 24, double cy = 24, double r = 7) {
  g.Outline(c.darker(140));
  g.p.setBrush(g.Shade(c, cy - r, cy + r));
  g.p.drawEllipse(QPointF(cx, cy), r, r);
  g.p.setPen(g.Pen(Qt::white, 1.2));
  const double s = r * 0.5;
  switch (sign) {
    case '+':
      g.p.drawLine(QPointF(cx - s, cy), QPointF(cx + s, cy));
      g.p.drawLine(QPointF(cx, cy - s), QPointF(cx, cy + s));
      break;
    case '-': g.p.drawLine(QPointF(cx - s, cy), QPointF(cx + s, cy)); break;
    case 'x':
      g.p.drawLine(QPointF(cx - s * 0.8, cy - s * 0.8), QPointF(cx + s * 0.8, cy + s * 0.8));
      g.p.drawLine(QPointF(cx - s * 0.8, cy + s * 0.8), QPointF(cx + s * 0.8, cy - s * 0.8));
      break;
    case '>': {
      g.NoLine();
      g.Fill(Qt::white);
      QPolygonF t{{cx - s * 0.6, cy - s}, {cx + s, cy}, {cx - s * 0.6, cy + s}};
      g.p.drawPolygon(t);
      break;
    }
    default: break;
  }
}

void Triangle(G& g, QPointF a, QPointF b, QPointF c, const QColor& fill) {
  g.Outline(fill.darker(150));
  g.p.setBrush(g.Shade(fill, std::min({a.y(), b.y(), c.y()}), std::max({a.y(), b.y(), c.y()})));
  g.p.drawPolygon(QPolygonF{a, b, c});
}

void Box(G& g, QRectF r, const QColor& fill, double radius = 1.5) {
  g.Outline(fill == kPaper ? kInk : fill.darker(150));
  g.p.setBrush(fill == kPaper ? QBrush(kPaper) : g.Shade(fill, r.top(), r.bottom()));
  g.p.drawRoundedRect(r, radius, radius);
}

void Folder(G& g, bool open) {
  QPainterPath back;
  back.moveTo(3, 8);
  back.lineTo(12, 8);
  back.lineTo(15, 11);
  back.lineTo(28, 11);
  back.lineTo(28, 27);
  back.lineTo(3, 27);
  back.closeSubpath();
  g.Outline(QColor(176, 120, 20));
  g.p.setBrush(g.Shade(kYellow.darker(110), 8, 27));
  g.p.drawPath(back);
  QPainterPath front;
  if (open) {
    front.moveTo(3, 27);
    front.lineTo(7, 15);
    front.lineTo(31, 15);
    front.lineTo(28, 27);
  } else {
    front.moveTo(3, 14);
    front.lineTo(28, 14);
    front.lineTo(28, 27);
    front.lineTo(3, 27);
  }
  front.closeSubpath();
  g.p.setBrush(g.Shade(kYellow, 14, 27));
  g.p.drawPath(front);
}

void Disc(G& g, QPointF c, double r) {
  QConicalGradient sheen(c, 30);
  sheen.setColorAt(0.0, QColor(250, 250, 252));
  sheen.setColorAt(0.25, QColor(190, 212, 240));
  sheen.setColorAt(0.5, QColor(250, 250, 252));
  sheen.setColorAt(0.75, QColor(236, 210, 226));
  sheen.setColorAt(1.0, QColor(250, 250, 252));
  g.Outline();
  g.p.setBrush(sheen);
  g.p.drawEllipse(c, r, r);
  g.p.setBrush(kPaperShade);
  g.p.drawEllipse(c, r * 0.28, r * 0.28);
}

void Floppy(G& g) {
  QPainterPath body;
  body.moveTo(4, 4);
  body.lineTo(24, 4);
  body.lineTo(28, 8);
  body.lineTo(28, 28);
  body.lineTo(4, 28);
  body.closeSubpath();
  g.Outline(kBlue.darker(160));
  g.p.setBrush(g.Shade(kBlue, 4, 28));
  g.p.drawPath(body);
  g.Outline(kBlue.darker(160), 0.8);
  g.Fill(kPaper);
  g.p.drawRect(QRectF(9, 4, 13, 8));
  g.Fill(kPaperShade);
  g.p.drawRect(QRectF(8, 17, 16, 11));
  g.p.setPen(g.Pen(kGrey, 0.7));
  g.p.drawLine(QPointF(11, 21), QPointF(21, 21));
  g.p.drawLine(QPointF(11, 24.5), QPointF(21, 24.5));
}

void Scissors(G& g, QPointF at, double s) {
  g.p.save();
  g.p.translate(at);
  g.p.scale(s, s);
  g.p.setPen(g.Pen(kInk, 1.0 / s));
  g.p.drawLine(QPointF(-6, -9), QPointF(3, 4));
  g.p.drawLine(QPointF(6, -9), QPointF(-3, 4));
  g.Outline(kRed.darker(130), 1.0 / s);
  g.Fill(kPaper);
  g.p.drawEllipse(QPointF(-4.5, 7), 3.2, 3.2);
  g.p.drawEllipse(QPointF(4.5, 7), 3.2, 3.2);
  g.p.restore();
}

void Clipboard(G& g) {
  Box(g, QRectF(5, 5, 20, 25), QColor(196, 146, 82), 2);
  g.Outline();
  g.Fill(kPaper);
  g.p.drawRect(QRectF(8, 9, 14, 18));
  Box(g, QRectF(10, 2.5, 10, 5), kGrey, 1.5);
}

void CurvedArrow(G& g, bool back, const QColor& c) {
  QPainterPath path;
  if (back) {
    path.moveTo(24, 25);
    path.cubicTo(30, 16, 22, 7, 9, 11);
  } else {
    path.moveTo(8, 25);
    path.cubicTo(2, 16, 10, 7, 23, 11);
  }
  g.NoFill();
  g.p.setPen(g.Pen(c, 2.0));
  g.p.drawPath(path);
  const double x = back ? 9 : 23;
  g.NoLine();
  g.Fill(c);
  QPolygonF head = back ? QPolygonF{{x - 4, 11}, {x + 3, 5}, {x + 3, 17}}
                        : QPolygonF{{x + 4, 11}, {x - 3, 5}, {x - 3, 17}};
  g.p.drawPolygon(head);
}

// A selection highlight over a wave, with its two edges.
void Selection(G& g, double x0, double x1, const QColor& c = kBlueLight) {
  QColor fill = c;
  fill.setAlpha(110);
  g.NoLine();
  g.Fill(fill);
  g.p.drawRect(QRectF(x0, 5, x1 - x0, 22));
  g.p.setPen(g.Pen(c.darker(130), 0.8));
  g.p.drawLine(QPointF(x0, 4), QPointF(x0, 28));
  g.p.drawLine(QPointF(x1, 4), QPointF(x1, 28));
}

void Magnifier(G& g, QPointF c, double r, char sign) {
  g.p.setPen(g.Pen(kInk, 2.4));
  g.p.drawLine(QPointF(c.x() + r * 0.72, c.y() + r * 0.72), QPointF(c.x() + r * 1.6, c.y() + r * 1.6));
  g.Outline();
  QRadialGradient lens(c - QPointF(r / 3, r / 3), r * 1.2);
  lens.setColorAt(0, QColor(236, 246, 255));
  lens.setColorAt(1, QColor(176, 214, 246));
  g.p.setBrush(lens);
  g.p.drawEllipse(c, r, r);
  const double s = r * 0.5;
  g.p.setPen(g.Pen(kBlue.darker(130), 1.3));
  g.NoFill();
  switch (sign) {
    case '+':
      g.p.drawLine(QPointF(c.x() - s, c.y()), QPointF(c.x() + s, c.y()));
      g.p.drawLine(QPointF(c.x(), c.y() - s), QPointF(c.x(), c.y() + s));
      break;
    case '-': g.p.drawLine(QPointF(c.x() - s, c.y()), QPointF(c.x() + s, c.y())); break;
    case '[':
      g.p.drawRect(QRectF(c.x() - s, c.y() - s * 0.7, 2 * s, 1.4 * s));
      break;
    case '*': {
      g.p.drawLine(QPointF(c.x() - s, c.y()), QPointF(c.x() + s, c.y()));
      g.p.drawLine(QPointF(c.x() - s, c.y() - s * 0.7), QPointF(c.x() - s, c.y() + s * 0.7));
      g.p.drawLine(QPointF(c.x() + s, c.y() - s * 0.7), QPointF(c.x() + s, c.y() + s * 0.7));
      break;
    }
    default: break;
  }
}

void WindowFrame(G& g, QRectF r, const QColor& title = kBlue) {
  g.Outline();
  g.Fill(kPaper);
  g.p.drawRect(r);
  g.NoLine();
  g.p.setBrush(g.Shade(title, r.top(), r.top() + 4));
  g.p.drawRect(QRectF(r.left() + 0.8, r.top() + 0.8, r.width() - 1.6, 4));
}

// The tile a waveform effect is drawn on: the wave in a rounded frame.
void EffectTile(G& g, double amount = 0.9) {
  Box(g, QRectF(2.5, 5.5, 27, 21), kPaper, 3);
  Wave(g, QRectF(6, 8, 20, 16), kBlue, amount);
}

// A fade: the wave's bars grow (or shrink) under a straight envelope line.
void Wedge(G& g, bool rising, const QColor& c, double x0 = 4, double x1 = 28) {
  const int n = g.Size <= 16 ? 6 : 9;
  QPainterPath bars;
  for (int i = 0; i < n; ++i) {
    double t = double(i) / (n - 1);
    double level = rising ? t : 1 - t;
    double h = 1 + 10 * level * (0.7 + 0.3 * std::fabs(std::sin(i * 2.1 + 0.4)));
    double x = x0 + t * (x1 - x0);
    bars.moveTo(x, 16 - h);
    bars.lineTo(x, 16 + h);
  }
  g.p.setPen(g.Pen(c, g.Size <= 16 ? 1.0 : 1.3));
  g.p.drawPath(bars);
  QPen line = g.Pen(kOrange, 1.1);
  g.p.setPen(line);
  const double top = 4.5, bottom = 27.5;
  if (rising) {
    g.p.drawLine(QPointF(x0, 16), QPointF(x1, top));
    g.p.drawLine(QPointF(x0, 16), QPointF(x1, bottom));
  } else {
    g.p.drawLine(QPointF(x0, top), QPointF(x1, 16));
    g.p.drawLine(QPointF(x0, bottom), QPointF(x1, 16));
  }
}

void Note(G& g, QPointF at, const QColor& c) {
  g.Outline(c.darker(140));
  g.p.setBrush(c);
  g.p.save();
  g.p.translate(at);
  g.p.rotate(-20);
  g.p.drawEllipse(QPointF(0, 0), 4.2, 3.2);
  g.p.restore();
  g.p.setPen(g.Pen(c.darker(140), 1.2));
  g.p.drawLine(QPointF(at.x() + 3.6, at.y() - 1), QPointF(at.x() + 3.6, at.y() - 16));
  g.p.drawLine(QPointF(at.x() + 3.6, at.y() - 16), QPointF(at.x() + 9, at.y() - 12));
}

void Flag(G& g, QPointF at, const QColor& c) {
  g.p.setPen(g.Pen(kInk, 1.2));
  g.p.drawLine(at, QPointF(at.x(), at.y() - 22));
  QPainterPath f;
  f.moveTo(at.x(), at.y() - 22);
  f.lineTo(at.x() + 14, at.y() - 17.5);
  f.lineTo(at.x(), at.y() - 13);
  f.closeSubpath();
  g.Outline(c.darker(140));
  g.p.setBrush(g.Shade(c, at.y() - 22, at.y() - 13));
  g.p.drawPath(f);
}

void Bookmark(G& g, double x, double y, const QColor& c) {
  QPainterPath r;
  r.moveTo(x, y);
  r.lineTo(x + 12, y);
  r.lineTo(x + 12, y + 20);
  r.lineTo(x + 6, y + 14.5);
  r.lineTo(x, y + 20);
  r.closeSubpath();
  g.Outline(c.darker(150));
  g.p.setBrush(g.Shade(c, y, y + 20));
  g.p.drawPath(r);
}

void List(G& g, double x = 5, double y = 4) {
  Box(g, QRectF(x, y, 22, 25), kPaper, 1.5);
  g.p.setPen(g.Pen(kGrey, 1.0));
  for (int i = 0; i < 4; ++i) g.p.drawLine(QPointF(x + 9, y + 6 + i * 5), QPointF(x + 18, y + 6 + i * 5));
  g.NoLine();
  g.Fill(kBlue);
  for (int i = 0; i < 4; ++i) g.p.drawEllipse(QPointF(x + 5, y + 6 + i * 5), 1.4, 1.4);
}

void Globe(G& g, QPointF c, double r) {
  QRadialGradient sea(c - QPointF(r / 3, r / 3), r * 1.3);
  sea.setColorAt(0, kBlueLight);
  sea.setColorAt(1, kBlue.darker(120));
  g.Outline(kBlue.darker(170));
  g.p.setBrush(sea);
  g.p.drawEllipse(c, r, r);
  g.p.setPen(g.Pen(QColor(230, 242, 255), 0.7));
  g.NoFill();
  g.p.drawEllipse(c, r * 0.45, r);
  g.p.drawLine(QPointF(c.x() - r, c.y()), QPointF(c.x() + r, c.y()));
  g.p.drawLine(QPointF(c.x(), c.y() - r), QPointF(c.x(), c.y() + r));
}

void Gear(G& g, QPointF c, double r, const QColor& col) {
  QPainterPath gear;
  const int teeth = 8;
  for (int i = 0; i < teeth * 2; ++i) {
    double a0 = i * M_PI / teeth, a1 = (i + 1) * M_PI / teeth;
    double rr = (i % 2 == 0) ? r : r * 0.74;
    QPointF p0(c.x() + rr * std::cos(a0), c.y() + rr * std::sin(a0));
    QPointF p1(c.x() + rr * std::cos(a1), c.y() + rr * std::sin(a1));
    if (i == 0)
      gear.moveTo(p0);
    else
      gear.lineTo(p0);
    gear.lineTo(p1);
  }
  gear.closeSubpath();
  gear.addEllipse(c, r * 0.3, r * 0.3);
  gear.setFillRule(Qt::OddEvenFill);
  g.Outline(col.darker(160));
  g.p.setBrush(g.Shade(col, c.y() - r, c.y() + r));
  g.p.drawPath(gear);
}

void Circle(G& g, QPointF c, double r, const QColor& col) {
  g.Outline(col.darker(150));
  g.p.setBrush(g.Shade(col, c.y() - r, c.y() + r));
  g.p.drawEllipse(c, r, r);
}

void TextIn(G& g, QRectF r, const QString& text, const QColor& c, double size, bool bold = true) {
  QFont f("DejaVu Sans");
  f.setPixelSize(int(std::lround(size)));
  f.setBold(bold);
  g.p.setFont(f);
  g.p.setPen(c);
  g.p.drawText(r, Qt::AlignCenter, text);
}

// Command-bar layout: a window with a side panel on one side.
void PanelLayout(G& g, int side) {
  WindowFrame(g, QRectF(3, 5, 26, 22));
  if (side == 0) return;
  QColor c = kOrange;
  c.setAlpha(200);
  g.NoLine();
  g.Fill(c);
  const double x = side < 0 ? 4 : 20;
  g.p.drawRect(QRectF(x, 10, 8, 16));
}

// ----- Transport shapes (also the glyphs of the Control menu) -----------------------------------

void PlayShape(G& g) { Triangle(g, {10, 6}, {26, 16}, {10, 26}, kGreen); }
void RecordShape(G& g) { Circle(g, {16, 16}, 9, kRed); }
void PauseShape(G& g) {
  Box(g, QRectF(8, 7, 6, 18), kBlue, 1);
  Box(g, QRectF(18, 7, 6, 18), kBlue, 1);
}
void StopShape(G& g) { Box(g, QRectF(8, 8, 16, 16), kInk.lighter(130), 1.5); }
void StartShape(G& g) {
  Box(g, QRectF(6, 7, 4, 18), kBlue, 0.8);
  Triangle(g, {26, 7}, {12, 16}, {26, 25}, kBlue);
}
void RewindShape(G& g) {
  Triangle(g, {16, 8}, {4, 16}, {16, 24}, kBlue);
  Triangle(g, {28, 8}, {16, 16}, {28, 24}, kBlue);
}
void ForwardShape(G& g) {
  Triangle(g, {4, 8}, {16, 16}, {4, 24}, kBlue);
  Triangle(g, {16, 8}, {28, 16}, {16, 24}, kBlue);
}
void EndShape(G& g) {
  Triangle(g, {6, 7}, {20, 16}, {6, 25}, kBlue);
  Box(g, QRectF(22, 7, 4, 18), kBlue, 0.8);
}

// ----- The glyph table --------------------------------------------------------------------------

struct Entry {
  const char* Name;
  Glyph Draw;
};

std::vector<Entry> Glyphs() {
  const QRectF fullWave(5, 6, 22, 20);
  return {
      // File
      {"ActionNewFile", [](G& g) { Page(g, 5, 2, 19, 27); Wave(g, QRectF(8, 12, 12, 12)); Badge(g, kGreen, '+'); }},
      {"ActionOpenFile", [](G& g) { Folder(g, true); }},
      {"ActionLoadCD", [](G& g) { Disc(g, {15, 15}, 12); Note(g, {22, 27}, kBlue); }},
      {"ActionSaveFile", [](G& g) { Floppy(g); }},
      {"ActionSaveAs", [](G& g) { g.p.save(); g.p.translate(-1, -1); g.p.scale(0.85, 0.85); Floppy(g); g.p.restore(); Badge(g, kOrange, '+'); }},
      {"ActionCloseFile", [](G& g) { Page(g, 5, 2, 19, 27); Wave(g, QRectF(8, 12, 12, 12)); Badge(g, kRed, 'x'); }},
      {"ActionConvertSampleRate", [](G& g) {
         Wave(g, QRectF(3, 4, 12, 12), kBlue);
         Sine(g, QRectF(17, 17, 12, 10), kViolet, 2);
         Arrow(g, {8, 20}, {8, 28}, kOrange, 3.5);
         Arrow(g, {21, 13}, {27, 7}, kOrange, 3.5);
       }},
      {"ActionEditID3", [](G& g) {
         QPainterPath tag;
         tag.moveTo(4, 10); tag.lineTo(12, 3); tag.lineTo(28, 3); tag.lineTo(28, 17); tag.lineTo(12, 17); tag.closeSubpath();
         g.Outline(QColor(176, 120, 20)); g.p.setBrush(g.Shade(kYellow, 3, 17)); g.p.drawPath(tag);
         g.Fill(kPaper); g.p.drawEllipse(QPointF(10, 10), 2, 2);
         Note(g, {14, 28}, kBlue);
       }},
      {"ActionOptions", [](G& g) { Gear(g, {16, 16}, 13, kGrey); }},
      {"ActionExit", [](G& g) {
         Box(g, QRectF(5, 3, 14, 26), QColor(170, 120, 80), 1);
         g.NoLine(); g.Fill(kYellow); g.p.drawEllipse(QPointF(15, 17), 1.4, 1.4);
         Arrow(g, {17, 16}, {29, 16}, kRed, 5, 1.6);
       }},
      // Edit
      {"ActionUndo", [](G& g) { CurvedArrow(g, true, kBlue); }},
      {"ActionRedo", [](G& g) { CurvedArrow(g, false, kBlue); }},
      {"ActionCut", [](G& g) { Scissors(g, {16, 13}, 1.25); }},
      {"ActionCopy", [](G& g) { Page(g, 3, 2, 16, 21); Page(g, 12, 9, 16, 21); }},
      {"ActionCopyToNew", [](G& g) { Page(g, 3, 2, 16, 21); Page(g, 12, 9, 16, 21); Badge(g, kGreen, '+', 24, 25, 6); }},
      {"ActionPaste", [](G& g) { Clipboard(g); Page(g, 14, 12, 14, 18); }},
      {"ActionDelete", [](G& g) {
         g.p.setPen(g.Pen(kRed, 2.6)); g.p.drawLine(QPointF(7, 7), QPointF(25, 25)); g.p.drawLine(QPointF(25, 7), QPointF(7, 25));
       }},
      {"ActionSelectAll", [fullWave](G& g) { Selection(g, 3, 29); Wave(g, fullWave); }},
      {"ActionSelectToStart", [fullWave](G& g) { Selection(g, 3, 17); Wave(g, fullWave); Arrow(g, {14, 16}, {5, 16}, kOrange, 4); }},
      {"ActionSelectToEnd", [fullWave](G& g) { Selection(g, 15, 29); Wave(g, fullWave); Arrow(g, {18, 16}, {27, 16}, kOrange, 4); }},
      {"ActionSelectSpecifiedTime", [](G& g) {
         Circle(g, {16, 16}, 12, kPaper);
         g.p.setPen(g.Pen(kInk, 1.3)); g.p.drawLine(QPointF(16, 16), QPointF(16, 8)); g.p.drawLine(QPointF(16, 16), QPointF(22, 19));
         QColor a = kBlueLight; a.setAlpha(150); g.NoLine(); g.Fill(a);
         g.p.drawPie(QRectF(6, 6, 20, 20), 90 * 16, -120 * 16);
       }},
      {"ActionMixFile", [](G& g) {
         Wave(g, QRectF(3, 4, 14, 11), kBlue); Wave(g, QRectF(3, 17, 14, 11), kViolet, 1, 3);
         Arrow(g, {18, 9}, {26, 16}, kInk, 0, 1.2); Arrow(g, {18, 23}, {26, 16}, kInk, 0, 1.2);
         Circle(g, {26, 16}, 3.5, kOrange);
       }},
      {"ActionRepeatLoop", [](G& g) {
         QPainterPath loop; loop.addRoundedRect(QRectF(5, 8, 22, 16), 8, 8);
         g.NoFill(); g.p.setPen(g.Pen(kGreen, 2.0)); g.p.drawPath(loop);
         g.NoLine(); g.Fill(kGreen); g.p.drawPolygon(QPolygonF{{19, 3.5}, {25, 8}, {19, 12.5}});
         Wave(g, QRectF(10, 12, 12, 8));
       }},
      {"ActionPasteMix", [](G& g) { Clipboard(g); Wave(g, QRectF(10, 12, 10, 12), kViolet); Badge(g, kOrange, '+', 25, 25, 6); }},
      {"ActionTrim", [fullWave](G& g) {
         Wave(g, fullWave, kGrey);
         Selection(g, 10, 22, kGreen); Wave(g, QRectF(11, 6, 10, 20));
       }},
      {"ActionTrimStart", [fullWave](G& g) { Wave(g, fullWave); Selection(g, 3, 14, kRed); Scissors(g, {14, 22}, 0.55); }},
      {"ActionTrimEnd", [fullWave](G& g) { Wave(g, fullWave); Selection(g, 18, 29, kRed); Scissors(g, {18, 22}, 0.55); }},
      {"ActionSplitIntoTwo", [](G& g) {
         Wave(g, QRectF(3, 6, 11, 20)); Wave(g, QRectF(18, 6, 11, 20), kBlue, 1, 2);
         g.p.setPen(QPen(kRed, g.Ink() * 1.1, Qt::DashLine)); g.p.drawLine(QPointF(16, 2), QPointF(16, 30));
       }},
      {"ActionSilenceSelect", [](G& g) {
         Wave(g, QRectF(3, 6, 26, 20)); Selection(g, 10, 22);
         g.NoLine(); g.Fill(QColor(255, 255, 255, 200)); g.p.drawRect(QRectF(10.8, 5, 10.4, 22));
         g.p.setPen(g.Pen(kBlue, 1.2)); g.p.drawLine(QPointF(11, 16), QPointF(21, 16));
       }},
      {"ActionSaveSelect", [fullWave](G& g) { Selection(g, 6, 20); Wave(g, fullWave); g.p.save(); g.p.translate(15, 15); g.p.scale(0.5, 0.5); Floppy(g); g.p.restore(); }},
      {"ActionInsertSilenceBegin", [](G& g) { Wave(g, QRectF(13, 6, 16, 20)); g.p.setPen(g.Pen(kOrange, 1.4)); g.p.drawLine(QPointF(3, 16), QPointF(11, 16)); }},
      {"ActionInsertSilenceCurrent", [](G& g) {
         Wave(g, QRectF(3, 6, 8, 20)); Wave(g, QRectF(21, 6, 8, 20), kBlue, 1, 2);
         g.p.setPen(g.Pen(kOrange, 1.4)); g.p.drawLine(QPointF(12, 16), QPointF(20, 16));
       }},
      {"ActionInsertSilenceEnd", [](G& g) { Wave(g, QRectF(3, 6, 16, 20)); g.p.setPen(g.Pen(kOrange, 1.4)); g.p.drawLine(QPointF(21, 16), QPointF(29, 16)); }},
      {"ActionInsertFileBegin", [](G& g) { Wave(g, QRectF(15, 6, 14, 20)); Page(g, 2, 6, 10, 14); Arrow(g, {7, 22}, {13, 28}, kGreen, 3.5); }},
      {"ActionInsertFileCurrent", [](G& g) {
         Wave(g, QRectF(3, 10, 9, 18)); Wave(g, QRectF(20, 10, 9, 18), kBlue, 1, 2);
         Page(g, 11, 1, 10, 13); Arrow(g, {16, 15}, {16, 25}, kGreen, 3.5);
       }},
      {"ActionInsertFileEnd", [](G& g) { Wave(g, QRectF(3, 6, 14, 20)); Page(g, 20, 6, 10, 14); Arrow(g, {25, 22}, {19, 28}, kGreen, 3.5); }},
      // Effects
      {"ActionAmplify", [](G& g) { EffectTile(g, 0.55); Arrow(g, {24, 25}, {24, 8}, kOrange, 4.5, 1.6); }},
      {"ActionNormalize", [](G& g) {
         EffectTile(g, 1.0);
         g.p.setPen(QPen(kOrange, g.Ink() * 0.9, Qt::DashLine)); g.p.drawLine(QPointF(4, 8.5), QPointF(28, 8.5)); g.p.drawLine(QPointF(4, 23.5), QPointF(28, 23.5));
       }},
      {"ActionDynamicRangeCompressor", [](G& g) {
         Box(g, QRectF(2.5, 5.5, 27, 21), kPaper, 3); Wave(g, QRectF(9, 11, 14, 10), kBlue, 1.0);
         Arrow(g, {16, 2}, {16, 9}, kOrange, 3.5); Arrow(g, {16, 30}, {16, 23}, kOrange, 3.5);
       }},
      {"ActionHighPass", [](G& g) {
         Box(g, QRectF(2.5, 4.5, 27, 23), kPaper, 3);
         QPainterPath c; c.moveTo(5, 25); c.cubicTo(12, 24, 13, 10, 19, 9); c.lineTo(27, 9);
         g.NoFill(); g.p.setPen(g.Pen(kViolet, 1.6)); g.p.drawPath(c);
       }},
      {"ActionEqualizer", [](G& g) {
         Box(g, QRectF(2.5, 3.5, 27, 25), kPaper, 3);
         const double knobs[] = {20, 11, 16, 9};
         for (int i = 0; i < 4; ++i) {
           double x = 8 + i * 5.4;
           g.p.setPen(g.Pen(kGrey, 0.9)); g.p.drawLine(QPointF(x, 7), QPointF(x, 25));
           Box(g, QRectF(x - 2.2, knobs[i] - 1.6, 4.4, 3.2), kViolet, 0.8);
         }
       }},
      {"ActionEcho", [](G& g) {
         Wave(g, QRectF(3, 6, 10, 20), kBlue);
         Wave(g, QRectF(13, 9, 8, 14), kBlueLight);
         Wave(g, QRectF(22, 12, 7, 8), kBlueLight.lighter(115));
       }},
      {"ActionReverb", [](G& g) {
         g.NoFill();
         for (int i = 0; i < 3; ++i) {
           QColor c = kViolet; c.setAlpha(255 - i * 70);
           g.p.setPen(g.Pen(c, 1.3)); double r = 7 + i * 6;
           g.p.drawArc(QRectF(4 - r, 16 - r, 2 * r, 2 * r), -50 * 16, 100 * 16);
         }
         Circle(g, {5, 16}, 3.5, kBlue);
       }},
      {"ActionReverse", [](G& g) { EffectTile(g, 0.75); Arrow(g, {26, 28}, {8, 28}, kOrange, 4, 1.4); }},
      {"ActionFadeIn", [](G& g) { Wedge(g, true, kBlue); }},
      {"ActionFadeOut", [](G& g) { Wedge(g, false, kBlue); }},
      {"ActionFadeOutAndTrim", [](G& g) {
         Wedge(g, false, kBlue, 4, 22);
         g.p.setPen(QPen(kRed, g.Ink() * 1.1, Qt::DashLine)); g.p.drawLine(QPointF(26, 3), QPointF(26, 29));
       }},
      {"ActionCrossFade", [](G& g) {
         g.p.setPen(g.Pen(kBlue, 1.6)); g.p.drawLine(QPointF(4, 7), QPointF(28, 25));
         g.p.setPen(g.Pen(kViolet, 1.6)); g.p.drawLine(QPointF(4, 25), QPointF(28, 7));
         Wave(g, QRectF(4, 18, 9, 12), kBlue); Wave(g, QRectF(19, 18, 9, 12), kViolet, 1, 2);
       }},
      {"ActionEnvelope", [](G& g) {
         EffectTile(g, 0.9);
         QPolygonF env{{5, 22}, {12, 9}, {20, 13}, {27, 7}};
         g.NoFill(); g.p.setPen(g.Pen(kOrange, 1.3)); g.p.drawPolyline(env);
         for (QPointF pt : env) { g.Outline(kOrange.darker(150), 0.7); g.Fill(kPaper); g.p.drawEllipse(pt, 2, 2); }
       }},
      {"ActionMixStereo", [](G& g) {
         TextIn(g, QRectF(1, 2, 10, 12), "L", kBlue, 10); TextIn(g, QRectF(1, 18, 10, 12), "R", kViolet, 10);
         Arrow(g, {12, 8}, {28, 24}, kBlue, 4, 1.2); Arrow(g, {12, 24}, {28, 8}, kViolet, 4, 1.2);
       }},
      {"ActionNoiseReduction", [](G& g) {
         QPainterPath n; n.moveTo(3, 16);
         const double ys[] = {10, 21, 12, 19, 8, 22, 13, 18, 11};
         for (int i = 0; i < 9; ++i) n.lineTo(5 + i * 2.6, ys[i]);
         g.NoFill(); g.p.setPen(g.Pen(kGrey, 1.1)); g.p.drawPath(n);
         Badge(g, kRed, '-');
       }},
      {"ActionSpeedPitchChange", [](G& g) { Note(g, {10, 26}, kBlue); Arrow(g, {18, 16}, {29, 16}, kGreen, 4); }},
      {"ActionSpeedChange", [](G& g) {
         EffectTile(g, 0.8);
         g.p.setPen(g.Pen(kGreen, 1.6));
         for (double x : {17.0, 23.0}) { g.p.drawLine(QPointF(x, 23), QPointF(x + 4, 27)); g.p.drawLine(QPointF(x + 4, 27), QPointF(x, 31)); }
       }},
      {"ActionPitchChange", [](G& g) { Note(g, {10, 26}, kBlue); Arrow(g, {24, 28}, {24, 5}, kOrange, 4, 1.4); }},
      {"ActionPhaser", [](G& g) { Sine(g, QRectF(3, 8, 26, 16), kBlue, 1.5); Sine(g, QRectF(3, 8, 26, 16), kViolet, 1.5, M_PI / 2); }},
      {"ActionFlanger", [](G& g) {
         QPainterPath s; for (int i = 0; i <= 48; ++i) { double t = i / 48.0; double x = 3 + 26 * t; double y = 16 - std::sin(t * t * 14) * 8; i ? s.lineTo(x, y) : s.moveTo(x, y); }
         g.NoFill(); g.p.setPen(g.Pen(kViolet, 1.2)); g.p.drawPath(s);
       }},
      {"ActionChorus", [](G& g) {
         Sine(g, QRectF(3, 4, 26, 8), kBlue, 2); Sine(g, QRectF(3, 12, 26, 8), kViolet, 2, 0.6); Sine(g, QRectF(3, 20, 26, 8), kGreen, 2, 1.2);
       }},
      // Control
      {"ActionRecord", RecordShape},
      {"ActionPlay", PlayShape},
      {"ActionLoopPlay", [](G& g) {
         QPainterPath loop; loop.addRoundedRect(QRectF(3, 6, 26, 20), 9, 9);
         g.NoFill(); g.p.setPen(g.Pen(kGreen, 1.6)); g.p.drawPath(loop);
         Triangle(g, {12, 10}, {22, 16}, {12, 22}, kGreen);
       }},
      {"ActionPause", PauseShape},
      {"ActionStop", StopShape},
      {"ActionStart", StartShape},
      {"ActionRewind", RewindShape},
      {"ActionForword", ForwardShape},
      {"ActionEnd", EndShape},
      // Bookmark
      {"ActionSetBookmark", [](G& g) { Bookmark(g, 6, 4, kRed); Badge(g, kGreen, '+', 24, 24, 6); }},
      {"ActionOpenBookmarkList", [](G& g) { List(g, 3, 4); Bookmark(g, 19, 2, kRed); }},
      {"ActionAddRegion", [](G& g) { Selection(g, 6, 24, kGreen); Wave(g, QRectF(3, 6, 26, 20)); Badge(g, kGreen, '+', 25, 25, 6); }},
      {"ActionOpenRegionList", [](G& g) {
         List(g, 3, 4);
         QColor c = kGreen; c.setAlpha(170); g.Outline(kGreen.darker(140)); g.Fill(c); g.p.drawRect(QRectF(18, 3, 11, 9));
       }},
      // Tools
      {"ActionBatch", [](G& g) { Page(g, 3, 2, 15, 20); Page(g, 7, 6, 15, 20); Page(g, 11, 10, 15, 20); Gear(g, {24, 24}, 7, kOrange); }},
      {"ActionFrequencyAnalysis", [](G& g) {
         Box(g, QRectF(2.5, 3.5, 27, 25), kPaper, 2);
         const double hs[] = {6, 14, 19, 11, 16, 8, 4};
         for (int i = 0; i < 7; ++i) {
           QColor c = QColor::fromHsv(200 - i * 25, 170, 220);
           g.NoLine(); g.p.setBrush(c); g.p.drawRect(QRectF(5.5 + i * 3.1, 26 - hs[i], 2.4, hs[i]));
         }
       }},
      {"ActionTextToSpeech", [](G& g) {
         QPainterPath b; b.addRoundedRect(QRectF(3, 3, 20, 15), 4, 4);
         b.moveTo(8, 17.5); b.lineTo(6, 24); b.lineTo(14, 17.5);
         g.Outline(); g.Fill(kPaper); g.p.drawPath(b.simplified());
         TextIn(g, QRectF(3, 3, 20, 15), "Aa", kInk, 9);
         Wave(g, QRectF(17, 19, 12, 11), kBlue);
       }},
      // View
      {"ActionShowCommandBar", [](G& g) { PanelLayout(g, -1); }},
      {"ActionBarOntheLeft", [](G& g) { PanelLayout(g, -1); Arrow(g, {18, 18}, {10, 18}, kInk, 3.5, 1.2); }},
      {"ActionBarOntheRight", [](G& g) { PanelLayout(g, 1); Arrow(g, {10, 18}, {18, 18}, kInk, 3.5, 1.2); }},
      {"ActionShowMainToolbar", [](G& g) {
         WindowFrame(g, QRectF(3, 5, 26, 22));
         g.NoLine(); g.Fill(kOrange); g.p.drawRect(QRectF(4, 10, 24, 4));
       }},
      {"ActionShowEffectsToolbar", [](G& g) {
         WindowFrame(g, QRectF(3, 5, 26, 22));
         g.NoLine(); g.Fill(kViolet); g.p.drawRect(QRectF(4, 10, 24, 4));
       }},
      // Window
      {"ActionCascade", [](G& g) { WindowFrame(g, QRectF(3, 3, 16, 13)); WindowFrame(g, QRectF(8, 9, 16, 13)); WindowFrame(g, QRectF(13, 15, 16, 13)); }},
      {"ActionTileHorizontal", [](G& g) { WindowFrame(g, QRectF(4, 3, 24, 12)); WindowFrame(g, QRectF(4, 17, 24, 12)); }},
      {"ActionTileVertical", [](G& g) { WindowFrame(g, QRectF(3, 4, 12, 24)); WindowFrame(g, QRectF(17, 4, 12, 24)); }},
      {"ActionArrangeIcons", [](G& g) {
         for (int i = 0; i < 3; ++i) WindowFrame(g, QRectF(3 + i * 9.5, 21, 7.5, 7));
         g.p.setPen(QPen(kGrey, g.Ink() * 0.6, Qt::DotLine)); g.NoFill(); g.p.drawRect(QRectF(3, 3, 26, 15));
       }},
      {"ActionZoomIn", [](G& g) { Magnifier(g, {13, 13}, 9, '+'); }},
      {"ActionZoomOut", [](G& g) { Magnifier(g, {13, 13}, 9, '-'); }},
      {"ActionZoomToSelection", [](G& g) { Magnifier(g, {13, 13}, 9, '['); }},
      {"ActionZoomFull", [](G& g) { Magnifier(g, {13, 13}, 9, '*'); }},
      {"ActionCloseAll", [](G& g) { WindowFrame(g, QRectF(3, 3, 18, 14)); WindowFrame(g, QRectF(7, 8, 18, 14)); Badge(g, kRed, 'x'); }},
      // Help
      {"ActionHelp", [](G& g) { Circle(g, {16, 16}, 13, kBlue); TextIn(g, QRectF(3, 3, 26, 26), "?", Qt::white, 19); }},
      {"ActionHomePage", [](G& g) {
         Globe(g, {16, 17}, 12);
         Circle(g, {25, 8}, 5.5, kOrange); Wave(g, QRectF(22, 5, 6, 6), Qt::white);
       }},
      {"ActionTechnicalSupport", [](G& g) {
         Circle(g, {16, 16}, 13, kRed);
         g.Outline(kRed.darker(150)); g.Fill(kPaper); g.p.drawEllipse(QPointF(16, 16), 7, 7);
         g.NoLine(); g.Fill(kPaper);
         for (int i = 0; i < 4; ++i) { g.p.save(); g.p.translate(16, 16); g.p.rotate(45 + i * 90); g.p.drawRect(QRectF(7, -3, 6, 6)); g.p.restore(); }
         g.Outline(); g.NoFill(); g.p.drawEllipse(QPointF(16, 16), 13, 13); g.p.drawEllipse(QPointF(16, 16), 7, 7);
       }},
      {"ActionRelatedSoftware", [](G& g) {
         const QColor cs[] = {kBlue, kGreen, kOrange, kViolet};
         for (int i = 0; i < 4; ++i) Box(g, QRectF(4 + (i % 2) * 13, 4 + (i / 2) * 13, 11, 11), cs[i], 2.5);
       }},
      {"ActionKorvane", [](G& g) {
         QPainterPath h; h.moveTo(16, 3); h.lineTo(29, 15); h.lineTo(3, 15); h.closeSubpath();
         g.Outline(kRed.darker(150)); g.p.setBrush(g.Shade(kRed, 3, 15)); g.p.drawPath(h);
         Box(g, QRectF(7, 15, 18, 14), kPaper, 0);
         Box(g, QRectF(13.5, 20, 5, 9), QColor(170, 120, 80), 0.5);
       }},
      {"ActionAbout", [](G& g) { Circle(g, {16, 16}, 13, kBlue); TextIn(g, QRectF(3, 3, 26, 26), "i", Qt::white, 19); }},
  };
}

// ----- Larger pictures ------------------------------------------------------------------------

QImage Render(int w, int h, const Glyph& draw, int designSize = 32) {
  QImage img(w, h, QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  p.setRenderHint(QPainter::TextAntialiasing);
  p.scale(double(w) / designSize, double(h) / designSize);
  G g{p, std::min(w, h)};
  draw(g);
  p.end();
  return img.convertToFormat(QImage::Format_ARGB32);
}

// The program's mark: a rounded blue tile with a bright waveform and a play wedge.
void AppIcon(G& g) {
  QLinearGradient tile(0, 1, 0, 31);
  tile.setColorAt(0, QColor(56, 150, 236));
  tile.setColorAt(1, QColor(22, 70, 150));
  g.p.setPen(QPen(QColor(16, 48, 110), g.Size <= 16 ? 1.0 * 32 / g.Size : 1.0));
  g.p.setBrush(tile);
  g.p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 7, 7);
  const int n = g.Size <= 16 ? 5 : 9;
  QPainterPath bars;
  for (int i = 0; i < n; ++i) {
    double t = double(i) / (n - 1);
    double x = 7 + t * 18;
    double v = std::sin(M_PI * (0.1 + 0.8 * t)) * (0.45 + 0.55 * std::fabs(std::sin(i * 1.9 + 0.7)));
    bars.moveTo(x, 16 - v * 10);
    bars.lineTo(x, 16 + v * 10);
  }
  QLinearGradient glow(7, 0, 25, 0);
  glow.setColorAt(0, QColor(160, 240, 255));
  glow.setColorAt(1, QColor(170, 250, 200));
  QPen pen(QBrush(glow), g.Size <= 16 ? 2.0 * 32 / g.Size / 2 : 2.0);
  pen.setCapStyle(Qt::RoundCap);
  g.p.setPen(pen);
  g.p.drawPath(bars);
}

QImage PanelBackground() {
  const int w = 16, h = 60;
  QImage img(w, h, QImage::Format_ARGB32);
  QPainter p(&img);
  QLinearGradient bg(0, 0, 0, h);
  bg.setColorAt(0, QColor(250, 251, 253));
  bg.setColorAt(0.45, QColor(234, 239, 246));
  bg.setColorAt(1, QColor(214, 222, 234));
  p.fillRect(img.rect(), bg);
  p.setPen(QColor(168, 180, 198));
  p.drawLine(0, 0, w, 0);
  p.setPen(Qt::white);
  p.drawLine(0, 1, w, 1);
  return img;
}

// Before the start and end labels: a bracket that opens right, with two ticks.
void ImageStart(G& g) {
  g.p.setPen(g.Pen(QColor(0x2E, 0x82, 0xDA), 1.6));
  g.NoFill();
  g.p.drawLine(QPointF(10, 4), QPointF(10, 28));
  g.p.drawLine(QPointF(10, 4), QPointF(20, 4));
  g.p.drawLine(QPointF(10, 28), QPointF(20, 28));
  g.NoLine();
  g.Fill(QColor(0x2E, 0x82, 0xDA));
  g.p.drawPolygon(QPolygonF{{14, 9}, {21, 12}, {14, 15}});
  g.p.drawPolygon(QPolygonF{{21, 17}, {14, 20}, {21, 23}});
}

// Before the two length labels: a span between two edges.
void ImageSel(G& g) {
  const QColor c(0x2E, 0x82, 0xDA);
  QColor fill = c;
  fill.setAlpha(70);
  g.NoLine();
  g.Fill(fill);
  g.p.drawRect(QRectF(7, 6, 18, 20));
  g.p.setPen(g.Pen(c, 1.4));
  g.p.drawLine(QPointF(7, 4), QPointF(7, 28));
  g.p.drawLine(QPointF(25, 4), QPointF(25, 28));
  Arrow(g, {16, 16}, {9, 16}, c, 3.5, 1.0);
  Arrow(g, {16, 16}, {23, 16}, c, 3.5, 1.0);
}

void ProgressPicture(G& g) {
  Box(g, QRectF(2, 6, 28, 20), kPaper, 3);
  QColor done = kBlueLight;
  done.setAlpha(120);
  g.NoLine();
  g.Fill(done);
  g.p.drawRect(QRectF(3, 7, 15, 18));
  Wave(g, QRectF(5, 9, 22, 14), kBlue);
  Gear(g, {25, 25}, 6, kOrange);
}

void AboutPicture(G& g) { AppIcon(g); }

// ----- Output ---------------------------------------------------------------------------------

void SavePng(const QImage& img, const std::string& path) {
  QImage colours(img.width(), img.height(), QImage::Format_RGB32);
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) colours.setPixel(x, y, img.pixel(x, y) | 0xFF000000u);
  TBitmap bmp;
  bmp.SetPixelFormat(pf32bit);
  bmp.SetImage(colours);
  TPNGObject png;
  png.Assign(&bmp);
  png.AddAlphaChannel();
  for (int y = 0; y < img.height(); ++y) {
    uint8_t* alpha = png.AlphaRowPointer(y);
    for (int x = 0; x < img.width(); ++x) alpha[x] = uint8_t(qAlpha(img.pixel(x, y)));
  }
  TFileStream out(path, fmCreate);
  png.SaveToStream(&out);
}

struct Picture {
  std::string Name;
  QImage Image;
};

void DrawSheet(const std::vector<Entry>& glyphs, const std::vector<Picture>& pictures,
               const std::string& path) {
  const int cols = 12, cell = 56;
  const int rows = int((glyphs.size() + cols - 1) / cols);
  const int glyphHeight = rows * cell;
  const int width = cols * cell * 2 + 24;
  const int height = glyphHeight + 200;
  QImage sheet(width, height, QImage::Format_ARGB32);
  sheet.fill(QColor(246, 247, 249));
  QPainter p(&sheet);
  p.fillRect(QRect(cols * cell + 24, 0, cols * cell, glyphHeight), QColor(60, 66, 78));
  for (size_t i = 0; i < glyphs.size(); ++i) {
    const int c = int(i) % cols, r = int(i) / cols;
    for (int side = 0; side < 2; ++side) {
      const int x0 = side * (cols * cell + 24) + c * cell, y0 = r * cell;
      p.drawImage(x0 + 4, y0 + 4, Render(32, 32, glyphs[i].Draw));
      p.drawImage(x0 + 38, y0 + 4, Render(16, 16, glyphs[i].Draw));
    }
  }
  int x = 8;
  for (const Picture& pic : pictures) {
    const QImage& img = pic.Image;
    const int y = glyphHeight + 16;
    if (pic.Name == "PanelBottom") {
      p.drawImage(QRect(x, y, 200, img.height()), img);
      x += 210;
    } else {
      p.drawImage(x, y, img);
      x += img.width() + 10;
    }
  }
  p.end();
  sheet.save(QString::fromStdString(path));
  // A magnified copy of the light half, to judge the 32-pixel glyphs pixel by pixel.
  sheet.copy(0, 0, cols * cell, glyphHeight)
      .scaled(cols * cell * 2, glyphHeight * 2)
      .save(QString::fromStdString(path + ".zoom.png"));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: apppictures <folder> [--sheet FILE]\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  const std::string dir = argv[1];
  const std::vector<Entry> glyphs = Glyphs();

  std::ofstream names(dir + "/Glyphs.txt");
  for (int size : {16, 32}) {
    QImage strip(size * int(glyphs.size()), size, QImage::Format_ARGB32);
    strip.fill(Qt::transparent);
    QPainter p(&strip);
    for (size_t i = 0; i < glyphs.size(); ++i) p.drawImage(int(i) * size, 0, Render(size, size, glyphs[i].Draw));
    p.end();
    SavePng(strip, dir + "/Glyphs" + std::to_string(size) + ".png");
  }
  for (const Entry& e : glyphs) names << e.Name << "\n";

  std::vector<Picture> pictures = {
      {"ButtonPlay", Render(24, 24, PlayShape)},       {"ButtonRecord", Render(24, 24, RecordShape)},
      {"ButtonPause", Render(24, 24, PauseShape)},     {"ButtonStop", Render(24, 24, StopShape)},
      {"ButtonStart", Render(24, 24, StartShape)},     {"ButtonRewind", Render(24, 24, RewindShape)},
      {"ButtonForword", Render(24, 24, ForwardShape)}, {"ButtonEnd", Render(24, 24, EndShape)},
      {"ButtonZoomIn", Render(16, 16, [](G& g) { Magnifier(g, {13, 13}, 9, '+'); })},
      {"ButtonZoomOut", Render(16, 16, [](G& g) { Magnifier(g, {13, 13}, 9, '-'); })},
      {"ButtonZoomSelection", Render(16, 16, [](G& g) { Magnifier(g, {13, 13}, 9, '['); })},
      {"ButtonZoomFull", Render(16, 16, [](G& g) { Magnifier(g, {13, 13}, 9, '*'); })},
      {"PanelBottom", PanelBackground()},
      {"ImageStart", Render(16, 28, ImageStart)},
      {"ImageSel", Render(16, 28, ImageSel)},
      {"Progress", Render(48, 48, ProgressPicture)},
      {"About", Render(64, 64, AboutPicture)},
      {"AppIcon16", Render(16, 16, AppIcon)},
      {"AppIcon32", Render(32, 32, AppIcon)},
      {"AppIcon48", Render(48, 48, AppIcon)},
      {"AppIcon128", Render(128, 128, AppIcon)},
  };
  for (const Picture& pic : pictures) SavePng(pic.Image, dir + "/" + pic.Name + ".png");

  for (int i = 2; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--sheet") DrawSheet(glyphs, pictures, argv[i + 1]);
  return 0;
}
