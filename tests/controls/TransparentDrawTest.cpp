// Drawing bitmaps with one colour left out, read back from a bitmap canvas; the inclusive point
// test; the two cursors registered at start-up.
#include <gtest/gtest.h>

#include <QImage>

#include "ControlsScene.h"
#include "controls/TransparentDraw.h"

using namespace controlstest;

namespace {

// 4 x 3: magenta with a red column at x = 1 and a blue pixel at (3, 0).
void MakeSprite(TBitmap& b) {
  b.SetSize(4, 3);
  b.Canvas()->Brush()->SetColor(clFuchsia);
  b.Canvas()->FillRect(Rect(0, 0, 4, 3));
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(Rect(1, 0, 2, 3));
  b.Canvas()->SetPixel(3, 0, clBlue);
}

QImage DrawOnGreen(TColor Key, int Scale) {
  TBitmap sprite, target;
  MakeSprite(sprite);
  target.SetSize(10, 8);
  target.Canvas()->Brush()->SetColor(clLime);
  target.Canvas()->FillRect(Rect(0, 0, 10, 8));
  StretchBitmapWithTransparency(target.Canvas(), 1, 1, 4 * Scale, 3 * Scale, &sprite, 0, 0, 0, 0, Key);
  return target.ToImage().convertToFormat(QImage::Format_RGB32);
}

TEST(TransparentDraw, TheKeyColourLeavesTheBackgroundAndClNoneCoversAll) {
  const QRgb green = qRgb(0, 255, 0), red = qRgb(255, 0, 0), blue = qRgb(0, 0, 255), magenta = qRgb(255, 0, 255);
  struct TCase {
    TColor Key;
    int Scale;
    QRgb Background;  // where the sprite is magenta
  } cases[] = {{clDefault, 1, green}, {clFuchsia, 2, green}, {clNone, 1, magenta}, {clNone, 2, magenta}};
  for (const TCase& c : cases) {
    const QImage img = DrawOnGreen(c.Key, c.Scale);
    for (int y = 0; y < 3 * c.Scale; ++y)
      for (int x = 0; x < 4 * c.Scale; ++x) {
        const int sx = x / c.Scale, sy = y / c.Scale;
        const QRgb want = sx == 1 ? red : (sx == 3 && sy == 0) ? blue : c.Background;
        EXPECT_EQ(img.pixel(1 + x, 1 + y), want) << x << "," << y << " key " << c.Key;
      }
    EXPECT_EQ(img.pixel(0, 0), green);
    EXPECT_EQ(img.pixel(1 + 4 * c.Scale, 1), green);
  }
}

// A source rectangle is drawn unstretched at the point given.
TEST(TransparentDraw, ARectangleOfTheBitmap) {
  TBitmap sprite, target;
  MakeSprite(sprite);
  target.SetSize(6, 6);
  target.Canvas()->Brush()->SetColor(clLime);
  target.Canvas()->FillRect(Rect(0, 0, 6, 6));
  BlitRectWithTransparency(target.Canvas(), 2, 2, clDefault, &sprite, Rect(1, 0, 4, 1));
  const QImage img = target.ToImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_EQ(img.pixel(2, 2), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(3, 2), qRgb(0, 255, 0));
  EXPECT_EQ(img.pixel(4, 2), qRgb(0, 0, 255));
  EXPECT_EQ(img.pixel(2, 3), qRgb(0, 255, 0));
}

TEST(TransparentDraw, PointInRectInclusiveCountsTheFarEdges) {
  const TRect r = Rect(2, 3, 8, 9);
  EXPECT_TRUE(PointInRectInclusive(Point(8, 9), r));
  EXPECT_TRUE(PointInRectInclusive(Point(2, 3), r));
  EXPECT_FALSE(PointInRectInclusive(Point(9, 9), r));
  EXPECT_FALSE(PointInRectInclusive(Point(8, 10), r));
  EXPECT_FALSE(PointInRectInclusive(Point(1, 5), r));
}

TEST(TransparentDraw, TheTwoCursorsAreThePlatformsHandAndDrag) {
  RegisterRxCursors();
  EXPECT_EQ(Screen->Cursors(crRxHand), LoadCursor(nullptr, IDC_HAND));
  EXPECT_EQ(Screen->Cursors(crRxDrag), Screen->Cursors(crDrag));
  EXPECT_NE(Screen->Cursors(crRxHand), Screen->Cursors(crDefault));
}

}  // namespace
