// The image panel on a shown form, read back: a stretched picture following resizes, tiling, a
// blank caption, AutoSize by alignment, and transparency over the parent.
#include <gtest/gtest.h>

#include <QImage>

#include "ControlsScene.h"
#include "controls/SUIImagePanel.h"

using namespace controlstest;

namespace {

// 4 x 2: left half red, right half blue.
TBitmap* TwoColours(TBitmap& b) {
  b.SetSize(4, 2);
  b.Canvas()->Brush()->SetColor(clRed);
  b.Canvas()->FillRect(Rect(0, 0, 2, 2));
  b.Canvas()->Brush()->SetColor(clBlue);
  b.Canvas()->FillRect(Rect(2, 0, 4, 2));
  return &b;
}

struct TPanelScene {
  std::unique_ptr<TForm> Form = MakeForm(300, 200);
  TsuiImagePanel* Panel;
  TPanelScene() {
    RegisterSUIImagePanelClasses();
    Form->SetColor(clLime);
    Panel = new TsuiImagePanel(Form.get());
    Panel->SetParent(Form.get());
    Panel->SetBounds(10, 10, 100, 40);
    Panel->SetColor(clYellow);
    Form->Show();
  }
  QRgb At(int x, int y) { return Painted(Panel).pixel(x, y); }
};

TEST(ImagePanel, AStretchedPictureFollowsEveryResize) {
  TPanelScene s;
  TBitmap b;
  s.Panel->Picture()->SetGraphic(TwoColours(b));
  s.Panel->SetDrawStyle(suiStretch);
  for (int w : {100, 160, 37}) {
    s.Panel->SetWidth(w);
    const QImage img = Painted(s.Panel);
    ASSERT_EQ(img.width(), w);
    EXPECT_EQ(img.pixel(0, 20), qRgb(255, 0, 0)) << w;
    EXPECT_EQ(img.pixel(w / 2 - 2, 39), qRgb(255, 0, 0)) << w;
    EXPECT_EQ(img.pixel(w / 2 + 2, 0), qRgb(0, 0, 255)) << w;
    EXPECT_EQ(img.pixel(w - 1, 20), qRgb(0, 0, 255)) << w;
  }
}

TEST(ImagePanel, NormalTiledAndEmptyPictures) {
  TPanelScene s;
  TBitmap b;
  s.Panel->Picture()->SetGraphic(TwoColours(b));
  EXPECT_EQ(s.At(1, 1), qRgb(255, 0, 0));
  EXPECT_EQ(s.At(3, 1), qRgb(0, 0, 255));
  // Beyond the picture the panel shows what a fresh bitmap holds: its colour is not painted.
  EXPECT_EQ(s.At(50, 20), qRgb(255, 255, 255));
  s.Panel->SetDrawStyle(suiTile);
  for (int x = 0; x < 100; x += 7) EXPECT_EQ(s.At(x, 13), x % 4 < 2 ? qRgb(255, 0, 0) : qRgb(0, 0, 255)) << x;
  // A picture without area tiles nothing (and ends).
  TBitmap empty;
  empty.SetSize(0, 5);
  s.Panel->Picture()->SetGraphic(&empty);
  TPicture pic;
  pic.SetGraphic(&empty);
  TBitmap sheet;
  sheet.SetSize(10, 10);
  TilePicture(sheet.Canvas(), &pic, Rect(0, 0, 10, 10));
  Painted(s.Panel);
}

TEST(ImagePanel, ABlankCaptionDrawsNothingAndAFilledOneDraws) {
  TPanelScene s;
  const QImage plain = Painted(s.Panel);
  EXPECT_EQ(plain.pixel(50, 20), Rgb(clYellow));
  s.Panel->SetCaption("    ");
  EXPECT_EQ(Painted(s.Panel), plain);
  s.Panel->SetCaption("Sonalix");
  const QImage text = Painted(s.Panel);
  EXPECT_NE(text, plain);
  // Centred on one line: nothing at the far left.
  for (int y = 0; y < 40; ++y) EXPECT_EQ(text.pixel(2, y), Rgb(clYellow));
}

TEST(ImagePanel, AutoSizeTakesOnlyWhatTheAlignmentLeaves) {
  // A 30 x 12 picture.
  struct TCase {
    TAlign Align;
  } cases[] = {{alNone}, {alBottom}, {alLeft}};
  for (const TCase& c : cases) {
    TPanelScene s;
    s.Panel->SetAlign(c.Align);
    const int w = s.Panel->Width(), h = s.Panel->Height();
    TBitmap b;
    b.SetSize(30, 12);
    s.Panel->SetAutoSize(true);
    s.Panel->Picture()->SetGraphic(&b);
    EXPECT_EQ(s.Panel->Width(), c.Align == alBottom ? w : 30) << int(c.Align);
    EXPECT_EQ(s.Panel->Height(), c.Align == alLeft ? h : 12) << int(c.Align);
  }
}

// Without a picture a transparent panel shows its parent and fills nothing of its own.
TEST(ImagePanel, TransparentWithoutAPictureShowsTheParent) {
  TPanelScene s;
  EXPECT_EQ(s.At(30, 20), Rgb(clYellow));
  s.Panel->SetTransparent(true);
  const QImage img = Painted(s.Panel);
  for (int y = 0; y < 40; y += 5)
    for (int x = 0; x < 100; x += 9) EXPECT_EQ(img.pixel(x, y), qRgb(0, 255, 0)) << x << "," << y;
}

}  // namespace
