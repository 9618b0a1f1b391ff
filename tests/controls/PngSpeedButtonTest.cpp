// PNG speed buttons on a shown form, read back: the glyph's place enabled and pressed, the
// disabled variants, keyed palette pictures, gamma dropped, and pictures taken from actions.
#include <gtest/gtest.h>

#include <QImage>

#include "ControlsScene.h"
#include "PngSamples.h"
#include "controls/PngButtonFunctions.h"
#include "controls/PngSpeedButton.h"
#include "platform/gui/ActnList.h"
#include "platform/rtl/Streaming.h"

using namespace controlstest;

namespace {



struct TLayoutCase {
  TButtonLayout Layout;
  int W, H, GW, GH;
  std::string Caption;
  int Spacing, Margin, Offset;
  TPoint Glyph;
};

TEST(PngButtonLayout, GlyphAndTextPositionsTable) {
  TBitmap sheet;
  sheet.SetSize(10, 10);
  const TLayoutCase cases[] = {
      // The transport buttons: centred across, spread along, one pixel on while pressed.
      {blGlyphTop, 35, 35, 24, 24, "", 0, -1, 0, {6, 5}},
      {blGlyphTop, 35, 35, 24, 24, "", 0, -1, 1, {7, 6}},
      {blGlyphTop, 35, 35, 23, 21, "", 0, -1, 0, {6, 7}},
      {blGlyphBottom, 35, 35, 23, 21, "", 0, -1, 0, {6, 7}},
      {blGlyphLeft, 40, 20, 16, 16, "", 4, -1, 0, {12, 2}},
      {blGlyphRight, 40, 20, 16, 16, "", 4, 3, 0, {21, 2}},
      // Without a caption there is no spacing.
      {blGlyphLeft, 40, 20, 16, 15, "", -1, -1, 0, {12, 3}},
  };
  for (const TLayoutCase& c : cases) {
    auto png = SolidPng(c.GW, c.GH, qRgb(1, 2, 3));
    TPoint text, glyph;
    LayOutGlyphAndText(sheet.Canvas(), png.get(), Rect(0, 0, c.W, c.H), 0, text, glyph, c.Spacing, c.Margin,
                       c.Layout, c.Caption, c.Offset);
    EXPECT_EQ(glyph, c.Glyph) << int(c.Layout) << " " << c.W << "x" << c.H;
  }
  // With a caption the text follows the glyph after the spacing; right-to-left swaps the sides.
  auto png = SolidPng(16, 16, qRgb(1, 2, 3));
  TPoint text, glyph;
  LayOutGlyphAndText(sheet.Canvas(), png.get(), Rect(0, 0, 100, 24), 0, text, glyph, 4, 2, blGlyphLeft, "Play", 0);
  EXPECT_EQ(glyph, Point(2, 4));
  EXPECT_EQ(text.X, 2 + 16 + 4);
  LayOutGlyphAndText(sheet.Canvas(), png.get(), Rect(0, 0, 100, 24), DT_RIGHT, text, glyph, 4, 2, blGlyphLeft, "Play", 0);
  EXPECT_EQ(glyph.X, 100 - 2 - 16);
  EXPECT_LT(text.X, glyph.X);
}

struct TButtonScene {
  std::unique_ptr<TForm> Form = MakeForm(200, 100);
  TPngSpeedButton* Button;
  TButtonScene() {
    Button = new TPngSpeedButton(Form.get());
    Button->SetParent(Form.get());
    Button->SetBounds(20, 10, 35, 35);
    Button->SetFlat(true);
    Button->SetLayout(blGlyphTop);
    Button->SetSpacing(0);
    Form->Show();
  }
  QImage Shot() { return Painted(Form.get()); }
};

// The glyph of a transport button where the layout puts it, enabled, pressed and disabled: half
// transparent by default, grey as well when asked, unchanged with no options.
TEST(PngSpeedButton, TransportButtonGlyphInEveryState) {
  TButtonScene s;
  auto red = SolidPng(24, 24, qRgb(255, 0, 0));
  s.Button->SetPngImage(red.get());
  EXPECT_EQ(s.Button->Glyph()->Width(), 24);
  const QRgb face = Rgb(clBtnFace);
  QImage img = s.Shot();
  EXPECT_EQ(img.pixel(20 + 6, 10 + 5), qRgb(255, 0, 0));
  EXPECT_EQ(img.pixel(20 + 29, 10 + 28), qRgb(255, 0, 0));
  EXPECT_NE(img.pixel(20 + 30, 10 + 29), qRgb(255, 0, 0));
  EXPECT_NE(img.pixel(20 + 5, 10 + 5), qRgb(255, 0, 0));

  SendMouse(s.Form.get(), QEvent::MouseButtonPress, QPoint(37, 27));
  img = s.Shot();
  EXPECT_EQ(s.Button->GlyphPos(), Point(7, 6));
  EXPECT_EQ(img.pixel(20 + 7, 10 + 6), qRgb(255, 0, 0));
  EXPECT_NE(img.pixel(20 + 6, 10 + 5), qRgb(255, 0, 0));
  SendMouse(s.Form.get(), QEvent::MouseButtonRelease, QPoint(37, 27));

  s.Button->SetEnabled(false);
  // Alpha 128 over the face.
  auto blend = [&](int c, int f) { return (c * 128 + f * 127 + 255) >> 8; };
  struct TCase {
    TPngOptions Options;
    QRgb Colour;
  } cases[] = {
      {{pngBlendOnDisabled}, qRgb(blend(255, qRed(face)), blend(0, qGreen(face)), blend(0, qBlue(face)))},
      {{pngBlendOnDisabled, pngGrayscaleOnDisabled},
       qRgb(blend(76, qRed(face)), blend(76, qGreen(face)), blend(76, qBlue(face)))},
      {{}, qRgb(255, 0, 0)},
  };
  for (const TCase& c : cases) {
    s.Button->SetPngOptions(c.Options);
    const QColor at = s.Shot().pixelColor(20 + 15, 10 + 15);
    EXPECT_NEAR(at.red(), qRed(c.Colour), 1);
    EXPECT_NEAR(at.green(), qGreen(c.Colour), 1);
    EXPECT_NEAR(at.blue(), qBlue(c.Colour), 1);
  }
  // The picture itself stays as it was.
  EXPECT_EQ(s.Button->PngImage()->ToImage().pixel(3, 3), qRgba(255, 0, 0, 255));
}

TEST(PngSpeedButton, GammaIsDroppedAndNullLeavesAnEmptyPicture) {
  TButtonScene s;
  pngfiles::TPngShape shape;
  shape.ColorType = 2, shape.Gamma = 0.8;
  auto png = LoadPng(pngfiles::WritePng(shape, pngfiles::RandomRows(shape)));
  ASSERT_TRUE(png->Chunks().FindChunk<TChunkgAMA>());
  s.Button->SetPngImage(png.get());
  EXPECT_FALSE(s.Button->PngImage()->Chunks().FindChunk<TChunkgAMA>());
  EXPECT_TRUE(png->Chunks().FindChunk<TChunkgAMA>());
  s.Button->SetPngImage(nullptr);
  EXPECT_TRUE(s.Button->PngImage()->Empty());
  EXPECT_EQ(s.Button->Glyph()->Width(), 0);
  EXPECT_EQ(s.Button->Glyph()->Height(), 0);
}

// A button bound to an action of a list with images shows that image (alpha from its mask); an
// index past the images is ignored; a picture of its own wins.
TEST(PngSpeedButton, PicturesFromTheActionsImageList) {
  TButtonScene s;
  auto* images = new TCustomImageList(s.Form.get());
  images->SetSize(8, 8);
  AddMaskedSquare(*images, clBlue);
  auto* list = new TActionList(s.Form.get());
  list->SetImages(images);
  auto* action = new TAction(s.Form.get());
  action->SetActionList(list);

  action->SetImageIndex(1);  // the image count
  s.Button->SetAction(action);
  EXPECT_TRUE(s.Button->PngImage()->Empty());
  EXPECT_FALSE(s.Button->ImageFromAction());

  action->SetImageIndex(0);
  s.Button->SetAction(nullptr);
  s.Button->SetAction(action);
  ASSERT_TRUE(s.Button->ImageFromAction());
  const QImage img = s.Button->PngImage()->ToImage();
  EXPECT_EQ(img.size(), QSize(8, 8));
  EXPECT_EQ(img.pixel(5, 5), qRgba(0, 0, 255, 255));
  EXPECT_EQ(qAlpha(img.pixel(0, 5)), 0);
  EXPECT_EQ(s.Button->Glyph()->Width(), 8);

  auto own = SolidPng(4, 4, qRgb(0, 255, 0));
  s.Button->SetPngImage(own.get());
  s.Button->SetAction(nullptr);
  s.Button->SetAction(action);
  EXPECT_FALSE(s.Button->ImageFromAction());
  EXPECT_EQ(s.Button->PngImage()->Width(), 4);
}

// A window description keeps the button's own picture as a PNG file, not one from its action.
TEST(PngSpeedButton, DescriptionsKeepTheButtonsOwnPicture) {
  RegisterGuiClasses();
  RegisterPngSpeedButtonClasses();
  TForm form(nullptr);
  auto* button = new TPngSpeedButton(&form);
  button->SetName("ButtonPlay");
  button->SetParent(&form);
  auto png = SolidPng(24, 20, qRgb(10, 200, 30), 200);
  button->SetPngImage(png.get());
  button->SetPngOptions({});
  const std::string text = WriteComponentToText(&form);
  TForm copy(nullptr);
  ReadComponentFromText(&copy, text);
  auto* read = dynamic_cast<TPngSpeedButton*>(copy.FindComponent("ButtonPlay"));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->PngImage()->ToImage(), png->ToImage());
  EXPECT_EQ(read->Glyph()->Width(), 24);
  EXPECT_TRUE(read->PngOptions().Empty());
  // Without a picture nothing is stored.
  button->SetPngImage(nullptr);
  EXPECT_EQ(WriteComponentToText(&form).find("PngImage"), std::string::npos);
}

}  // namespace
