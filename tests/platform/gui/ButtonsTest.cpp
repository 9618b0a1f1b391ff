// Speed buttons built from descriptions and driven with the mouse: groups, looks and glyphs.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gui/Buttons.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/rtl/Streaming.h"
#include "platform/gui/GuiInput.h"

namespace {

using guitest::Px;
using guitest::Rgb;

std::unique_ptr<TForm> FormFrom(const std::string& Children) { return guitest::ShowForm(Children); }

TSpeedButton* Button(TForm* Form, const char* Name) {
  return dynamic_cast<TSpeedButton*>(Form->FindComponent(Name));
}

QPoint Centre(TControl* C) { return QPoint(C->Left() + C->Width() / 2, C->Top() + C->Height() / 2); }

std::string Downs(TForm* Form) {
  std::string s;
  for (const char* n : {"B1", "B2", "B3"}) s += Button(Form, n)->Down() ? '1' : '0';
  return s;
}

const char* kGroup =
    "object B1: TSpeedButton {\n  Left = 10\n  Top = 10\n  GroupIndex = 1\n  Down = true\n}\n"
    "object B2: TSpeedButton {\n  Left = 40\n  Top = 10\n  GroupIndex = 1\n}\n"
    "object B3: TSpeedButton {\n  Left = 70\n  Top = 10\n  GroupIndex = 1\n}\n";

TEST(SpeedButtons, OneButtonOfAGroupIsDownAndAllUpIsAllowedOnlyWhenAsked) {
  auto form = FormFrom(kGroup);
  int clicks = 0;
  for (const char* n : {"B1", "B2", "B3"}) Button(form.get(), n)->OnClick = [&](TObject*) { ++clicks; };
  EXPECT_EQ(Downs(form.get()), "100");
  guitest::Click(form.get(), Centre(Button(form.get(), "B2")));
  EXPECT_EQ(Downs(form.get()), "010");
  EXPECT_EQ(clicks, 1);
  // A click on the button that is down keeps it down; it still clicks.
  guitest::Click(form.get(), Centre(Button(form.get(), "B2")));
  EXPECT_EQ(Downs(form.get()), "010");
  EXPECT_EQ(clicks, 2);
  Button(form.get(), "B2")->SetDown(false);
  EXPECT_EQ(Downs(form.get()), "010");
  // With all up allowed (set on one, the group follows) the second click raises it.
  Button(form.get(), "B3")->SetAllowAllUp(true);
  EXPECT_TRUE(Button(form.get(), "B1")->AllowAllUp());
  guitest::Click(form.get(), Centre(Button(form.get(), "B2")));
  EXPECT_EQ(Downs(form.get()), "000");
  Button(form.get(), "B3")->SetDown(true);
  EXPECT_EQ(Downs(form.get()), "001");
  // A button outside any group never stays down.
  Button(form.get(), "B1")->SetGroupIndex(0);
  Button(form.get(), "B1")->SetDown(true);
  EXPECT_FALSE(Button(form.get(), "B1")->Down());
}

TEST(SpeedButtons, ReleasingOutsideDoesNotClickAndTheFocusStaysWhereItWas) {
  auto form = FormFrom(std::string(kGroup) + "object Other: TPanel {\n  Left = 10\n  Top = 60\n  TabStop = true\n}\n");
  auto* other = dynamic_cast<TWinControl*>(form->FindComponent("Other"));
  auto* b2 = Button(form.get(), "B2");
  int clicks = 0;
  b2->OnClick = [&](TObject*) { ++clicks; };
  other->SetFocus();
  guitest::Mouse(form.get(), QEvent::MouseMove, Centre(b2));
  guitest::Mouse(form.get(), QEvent::MouseButtonPress, Centre(b2));
  EXPECT_EQ(b2->State(), bsDown);
  guitest::Mouse(form.get(), QEvent::MouseMove, QPoint(200, 100));
  EXPECT_EQ(b2->State(), bsUp);
  guitest::Mouse(form.get(), QEvent::MouseButtonRelease, QPoint(200, 100));
  EXPECT_EQ(clicks, 0);
  EXPECT_EQ(Downs(form.get()), "100");
  EXPECT_TRUE(other->Focused()) << "a speed button never takes the focus";
  guitest::Click(form.get(), Centre(b2));
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(other->Focused());
}

// The classic looks, read back: raised (light top-left, dark bottom-right), pressed while held,
// the checked face of a button that stays down, and flat buttons that show their parent until
// the mouse is over them.
TEST(SpeedButtons, RaisedPressedDownAndFlatLooks) {
  auto form = FormFrom("object Raised: TSpeedButton {\n  Left = 10\n  Top = 10\n  Width = 30\n  Height = 30\n"
                       "  GroupIndex = 2\n  AllowAllUp = true\n}\n"
                       "object Flat1: TSpeedButton {\n  Left = 60\n  Top = 10\n  Width = 30\n  Height = 30\n"
                       "  Flat = true\n}\n");
  auto* raised = Button(form.get(), "Raised");
  auto* flat = Button(form.get(), "Flat1");
  QImage up = guitest::Shot(form.get());
  EXPECT_EQ(Px(up, 11, 20), Rgb(clBtnHighlight));
  EXPECT_EQ(Px(up, 39, 20), Rgb(cl3DDkShadow));
  EXPECT_EQ(Px(up, 25, 25), Rgb(clBtnFace));
  guitest::Mouse(form.get(), QEvent::MouseMove, Centre(raised));
  guitest::Mouse(form.get(), QEvent::MouseButtonPress, Centre(raised));
  QImage pressed = guitest::Shot(form.get());
  EXPECT_NE(Px(pressed, 11, 20), Rgb(clBtnHighlight)) << "no light edge while pressed";
  guitest::Mouse(form.get(), QEvent::MouseButtonRelease, Centre(raised));
  ASSERT_TRUE(raised->Down());
  QImage down = guitest::Shot(form.get());
  // The checked face alternates face and highlight pixels.
  EXPECT_NE(Px(down, 24, 24), Px(down, 25, 24));
  EXPECT_EQ(Px(down, 24, 24), Px(down, 25, 25));
  // Flat and away from the mouse: nothing but the form's white.
  for (QPoint p : {QPoint(60, 10), QPoint(89, 39), QPoint(75, 25)}) EXPECT_EQ(Px(down, p.x(), p.y()), Rgb(clWhite));
  guitest::Mouse(form.get(), QEvent::MouseMove, Centre(flat));
  QImage hover = guitest::Shot(form.get());
  EXPECT_TRUE(flat->MouseInControl());
  EXPECT_EQ(Px(hover, 60, 25), Rgb(clBtnHighlight));
  EXPECT_EQ(Px(hover, 89, 25), Rgb(clBtnShadow));
  EXPECT_EQ(Px(hover, 75, 25), Rgb(clWhite)) << "still transparent inside";
  guitest::Mouse(form.get(), QEvent::MouseMove, QPoint(200, 100));
  EXPECT_EQ(Px(guitest::Shot(form.get()), 60, 25), Rgb(clWhite));
}

// A glyph strip of two images (normal, disabled) with a magenta transparent colour in its
// bottom-left pixel: the keyed pixels show the face, the others the image the state picks.
TEST(SpeedButtons, GlyphWithTransparentColourAndGlyphCount) {
  auto form = FormFrom("object G: TSpeedButton {\n  Left = 10\n  Top = 10\n  Width = 40\n  Height = 30\n"
                       "  NumGlyphs = 2\n}\n");
  auto* g = Button(form.get(), "G");
  QImage strip(20, 10, QImage::Format_RGB32);
  strip.fill(qRgb(255, 0, 255));
  for (int y = 2; y < 8; ++y)
    for (int x = 2; x < 8; ++x) {
      strip.setPixel(x, y, qRgb(200, 0, 0));
      strip.setPixel(10 + x, y, qRgb(0, 0, 200));
    }
  TBitmap glyph;
  glyph.SetImage(strip);
  g->SetGlyph(&glyph);
  // No caption: the glyph is centred ((40 - 10 + 1) / 2 = 15, (30 - 10) / 2 = 10).
  QImage shot = guitest::Shot(form.get());
  EXPECT_EQ(Px(shot, 10 + 15 + 4, 10 + 10 + 4), qRgb(200, 0, 0));
  EXPECT_EQ(Px(shot, 10 + 15, 10 + 10), Rgb(clBtnFace)) << "keyed pixel";
  g->SetEnabled(false);
  shot = guitest::Shot(form.get());
  EXPECT_EQ(Px(shot, 10 + 15 + 4, 10 + 10 + 4), qRgb(0, 0, 200));
  // With one image a disabled glyph is engraved in the face's shadow colour.
  g->SetNumGlyphs(1);
  TBitmap single;
  single.SetImage(strip.copy(0, 0, 10, 10));
  g->SetGlyph(&single);
  shot = guitest::Shot(form.get());
  EXPECT_EQ(Px(shot, 10 + 15 + 4, 10 + 10 + 4), Rgb(clBtnShadow));
  EXPECT_EQ(Px(shot, 10 + 15 + 1, 10 + 10 + 1), Rgb(clBtnFace));
}

TEST(SpeedButtons, GlyphAndCaptionLayout) {
  // No caption (the spacing then counts for nothing): the 24-pixel glyph of a 35 x 35 button.
  struct Case {
    TButtonLayout Layout;
    int Margin, Spacing, Offset;
    TPoint Glyph;
  } cases[] = {
      {blGlyphTop, -1, 0, 0, {6, 5}},  // the transport buttons
      {blGlyphTop, -1, 0, 1, {7, 6}},  // pressed: one pixel right and down
      {blGlyphLeft, -1, 4, 0, {5, 6}},
      {blGlyphLeft, 2, 4, 0, {2, 6}},
      {blGlyphRight, 2, 4, 0, {9, 6}},
      {blGlyphBottom, -1, -1, 0, {6, 6}},
  };
  for (const Case& c : cases) {
    TPoint glyph, text;
    LayoutGlyphAndText(Rect(0, 0, 35, 35), TSize{24, 24}, TSize{0, 0}, c.Layout, c.Margin, c.Spacing,
                       c.Offset, glyph, text);
    EXPECT_EQ(glyph, c.Glyph) << int(c.Layout) << " margin " << c.Margin << " offset " << c.Offset;
  }
  // With a caption: glyph and text side by side, centred as a pair.
  TPoint glyph, text;
  LayoutGlyphAndText(Rect(0, 0, 100, 30), TSize{16, 16}, TSize{40, 12}, blGlyphLeft, -1, 4, 0, glyph, text);
  EXPECT_EQ(glyph, TPoint(20, 7));
  EXPECT_EQ(text, TPoint(40, 9));
  LayoutGlyphAndText(Rect(0, 0, 100, 30), TSize{16, 16}, TSize{40, 12}, blGlyphRight, -1, -1, 0, glyph, text);
  EXPECT_EQ(glyph, TPoint(100 - 14 - 16, 7));
  EXPECT_EQ(text, TPoint(100 - 14 - 16 - 14 - 40, 9));
}

}  // namespace
