// Draws the splash picture (392 x 212): a rounded panel with a waveform and the program's name,
// on the key colour $FF00FF that the splash window cuts away. Shape edges are drawn without
// antialiasing so that no pixel mixes the panel with the key. Written as a BMP file through the
// bitmap graphic's own writer.

#include <QGuiApplication>
#include <QImage>
#include <cmath>
#include <cstdio>
#include <vector>

#include "platform/gui/Pictures.h"

namespace {

constexpr int kWidth = 392;
constexpr int kHeight = 212;
constexpr TColor kKey = TColor(0xFF00FF);

TColor Rgb(int r, int g, int b) { return TColor(r | g << 8 | b << 16); }

TColor Mix(TColor a, TColor b, double t) {
  auto ch = [&](int shift) {
    int x = (int(a) >> shift) & 0xFF, y = (int(b) >> shift) & 0xFF;
    return int(std::lround(x + (y - x) * t));
  };
  return Rgb(ch(0), ch(8), ch(16));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: splashgen OUTPUT.bmp\n");
    return 2;
  }
  QGuiApplication app(argc, argv);
  TBitmap bmp;
  bmp.SetSize(kWidth, kHeight);
  TCanvas* c = bmp.Canvas();
  c->Brush()->SetColor(kKey);
  c->FillRect(Rect(0, 0, kWidth, kHeight));

  // The panel: a rounded outline, its inside then shaded from top to bottom.
  const TColor top = Rgb(0x20, 0x3A, 0x68), bottom = Rgb(0x0E, 0x18, 0x30);
  c->Pen()->SetColor(Rgb(0x6F, 0x9F, 0xD8));
  c->Brush()->SetColor(top);
  c->RoundRect(0, 0, kWidth, kHeight, 28, 28);
  QImage img = bmp.ToImage().copy();
  const QRgb fill = qRgb(0x20, 0x3A, 0x68);
  for (int y = 0; y < kHeight; ++y) {
    TColor g = Mix(top, bottom, double(y) / kHeight);
    QRgb shade = qRgb(int(g) & 0xFF, (int(g) >> 8) & 0xFF, (int(g) >> 16) & 0xFF);
    auto* row = reinterpret_cast<QRgb*>(img.scanLine(y));
    for (int x = 0; x < kWidth; ++x)
      if ((row[x] & 0xFFFFFF) == (fill & 0xFFFFFF)) row[x] = shade;
  }
  bmp.SetImage(img);
  c = bmp.Canvas();

  // A waveform: bars whose height follows two beating tones under an envelope.
  const int mid = 128;
  for (int x = 24; x < kWidth - 24; x += 3) {
    double t = double(x - 24) / (kWidth - 48);
    double env = std::sin(M_PI * t) * (0.55 + 0.45 * std::sin(9.0 * t));
    double v = std::fabs(std::sin(31.0 * t) * 0.7 + std::sin(57.0 * t) * 0.3) * env;
    int h = 2 + int(v * 44);
    c->Brush()->SetColor(Mix(Rgb(0x4F, 0xC3, 0xF7), Rgb(0x9C, 0xF2, 0xC8), t));
    c->FillRect(Rect(x, mid - h, x + 2, mid + h));
  }
  c->Brush()->SetColor(Rgb(0x4F, 0xC3, 0xF7));
  c->FillRect(Rect(24, mid, kWidth - 24, mid + 1));

  c->Brush()->SetStyle(bsClear);
  c->Font()->SetName("DejaVu Sans");
  c->Font()->SetColor(clWhite);
  c->Font()->SetHeight(-30);
  c->Font()->SetStyle(TFontStyles{fsBold});
  c->TextOut(24, 18, "Sonalix");
  int w = c->TextWidth("Sonalix");
  c->Font()->SetStyle(TFontStyles{});
  c->Font()->SetColor(Rgb(0xB8, 0xD4, 0xF4));
  c->TextOut(24 + w + 10, 18, "Sound Editor");
  c->Font()->SetHeight(-12);
  c->Font()->SetColor(Rgb(0x9F, 0xB8, 0xD8));
  c->TextOut(26, 56, "Record, edit and convert sound files");
  c->TextOut(24, kHeight - 32, "Version 5.0");
  c->TextOut(kWidth - 24 - c->TextWidth("Starting..."), kHeight - 32, "Starting...");

  bmp.SaveToFile(argv[1]);
  return 0;
}
