// The canvas with its pen, brush and font on a memory device context, and graphics drawn on it.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/gui/Graphics.h"
#include "platform/win/DeviceContext.h"

namespace {

class TSquare : public TGraphic {
 public:
  int Width() const override { return 4; }
  int Height() const override { return 4; }

 protected:
  void Draw(TCanvas* Canvas, const TRect& R) override {
    QImage img(4, 4, QImage::Format_RGB32);
    img.fill(QColor(0, 128, 0));
    DrawImageOnCanvas(Canvas, R, img);
  }
};

TEST(Canvas, DrawsWithItsToolsOnTheDeviceContext) {
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateCompatibleBitmap(dc, 40, 30);
  HGDIOBJ old = SelectObject(dc, bmp);
  TCanvas canvas;
  canvas.SetHandle(dc);
  canvas.Brush()->SetColor(clWhite);
  canvas.FillRect(Rect(0, 0, 40, 30));
  canvas.Pen()->SetColor(clRed);
  canvas.Pen()->SetWidth(2);
  canvas.Brush()->SetColor(clBlue);
  canvas.Rectangle(0, 0, 10, 10);
  TSquare square;
  canvas.Draw(20, 20, &square);
  canvas.StretchDraw(Rect(30, 0, 38, 8), &square);
  struct Probe {
    int X, Y;
    TColor Expected;
  };
  for (Probe p : std::vector<Probe>{{0, 0, clRed},
                                    {1, 1, clRed},
                                    {2, 2, clBlue},
                                    {9, 9, clRed},
                                    {10, 10, clWhite},
                                    {21, 21, TColor(0x008000)},
                                    {24, 24, clWhite},
                                    {37, 7, TColor(0x008000)}})
    EXPECT_EQ(canvas.Pixel(p.X, p.Y), p.Expected) << p.X << "," << p.Y;
  EXPECT_GT(canvas.TextWidth("Sound"), canvas.TextWidth("S"));
  canvas.Font()->SetColor(clBlack);
  canvas.Brush()->SetStyle(bsClear);
  canvas.TextOut(12, 12, "W");
  EXPECT_EQ(canvas.PenPos().X, 12 + canvas.TextWidth("W"));
  int dark = 0;
  for (int y = 12; y < 30; ++y)
    for (int x = 12; x < 20; ++x)
      if (canvas.Pixel(x, y) != clWhite) ++dark;
  EXPECT_GT(dark, 3);
  canvas.SetHandle(nullptr);
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
}

TEST(Canvas, FontSizeAndHeightAgreeAt96Dpi) {
  TFont font;
  struct Case {
    int Size;
    int Height;
  };
  for (Case c : std::vector<Case>{{8, -11}, {9, -12}, {10, -13}, {12, -16}, {7, -9}}) {
    font.SetSize(c.Size);
    EXPECT_EQ(font.Height(), c.Height) << c.Size;
    EXPECT_EQ(font.Size(), c.Size);
  }
  int changes = 0;
  font.OnChange = [&](TObject*) { ++changes; };
  font.SetStyle({fsBold});
  font.SetStyle({fsBold});
  font.SetColor(clRed);
  EXPECT_EQ(changes, 2);
  LOGFONT lf;
  ASSERT_TRUE(GetObject(font.Handle(), sizeof lf, &lf));
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  EXPECT_EQ(lf.lfHeight, -9);
  EXPECT_EQ(ColorToRGB(clBtnFace), TColor(GetSysColor(COLOR_BTNFACE)));
  EXPECT_EQ(ColorToRGB(clRed), clRed);
}

}  // namespace
