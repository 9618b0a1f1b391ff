// Standard controls built from descriptions and driven with real input: labels.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/gui/ExtCtrls.h"
#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Streaming.h"
#include "platform/gui/GuiInput.h"

namespace {

using guitest::Px;
using guitest::Rgb;

class TLabelForm : public TForm {
 public:
  using TForm::TForm;
  std::vector<std::string> Log;
  void LabelClick(TObject*) { Log.push_back("click"); }
  void LabelDblClick(TObject*) { Log.push_back("dblclick"); }
};

std::unique_ptr<TLabelForm> FormFrom(const std::string& Children) {
  static bool registered = [] {
    RegisterGuiClasses();
    RegisterClass<TLabelForm, TForm>();
    Published<TLabelForm>()
        .Method("LabelClick", &TLabelForm::LabelClick)
        .Method("LabelDblClick", &TLabelForm::LabelDblClick);
    return true;
  }();
  (void)registered;
  auto form = std::make_unique<TLabelForm>(nullptr);
  ReadComponentFromText(form.get(), "object Form1: TLabelForm {\n  Left = 0\n  Top = 0\n"
                                    "  ClientWidth = 240\n  ClientHeight = 160\n  Color = clWhite\n"
                                    "  Font {\n    Name = \"DejaVu Sans\"\n    Height = -11\n  }\n" +
                                        Children + "}\n");
  form->Show();
  Application->ProcessMessages();
  return form;
}

// The columns and rows of Image inside R that differ from Background.
TRect InkBounds(const QImage& Image, TRect R, QRgb Background) {
  TRect ink(R.Right, R.Bottom, R.Left - 1, R.Top - 1);
  for (int y = R.Top; y < R.Bottom; ++y)
    for (int x = R.Left; x < R.Right; ++x)
      if (Px(Image, x, y) != Background) {
        ink.Left = std::min(ink.Left, x), ink.Right = std::max(ink.Right, x + 1);
        ink.Top = std::min(ink.Top, y), ink.Bottom = std::max(ink.Bottom, y + 1);
      }
  return ink;
}

// The main window's time labels lie on a picture: a transparent label leaves every pixel
// around its letters as the picture drew it; an opaque one fills its rectangle.
TEST(Labels, TransparentLabelLiesOnAPicture) {
  auto form = FormFrom(
      "object Picture: TImage {\n  Left = 0\n  Top = 0\n  Width = 240\n  Height = 160\n  Stretch = true\n}\n"
      "object Time: TLabel {\n  Left = 20\n  Top = 20\n  Caption = \"00:00:00.000\"\n"
      "  Transparent = true\n  Font {\n    Name = \"DejaVu Sans\"\n    Height = -11\n    Color = clWhite\n  }\n}\n");
  auto* picture = dynamic_cast<TImage*>(form->FindComponent("Picture"));
  auto* time = dynamic_cast<TLabel*>(form->FindComponent("Time"));
  QImage stripes(240, 160, QImage::Format_RGB32);
  for (int y = 0; y < 160; ++y)
    for (int x = 0; x < 240; ++x) stripes.setPixel(x, y, (y / 2) % 2 ? qRgb(0, 0, 128) : qRgb(0, 96, 0));
  picture->Picture()->Bitmap()->SetImage(stripes);
  QImage shot = guitest::Shot(form.get());
  TRect r = time->BoundsRect();
  int ink = 0, picturePixels = 0;
  for (int y = r.Top; y < r.Bottom; ++y)
    for (int x = r.Left; x < r.Right; ++x) {
      QRgb p = Px(shot, x, y);
      if (p == (stripes.pixel(x, y) | 0xFF000000)) ++picturePixels;
      else if (qRed(p) > 0) ++ink;  // white letters, blended into the picture at their edges
    }
  EXPECT_GT(ink, 20);
  // Letters are thin: most of the rectangle is still the picture, and the rest is letters.
  EXPECT_GT(picturePixels, r.Width() * r.Height() / 2);
  EXPECT_EQ(picturePixels + ink, r.Width() * r.Height());
  time->SetTransparent(false);
  time->SetColor(clYellow);
  shot = guitest::Shot(form.get());
  EXPECT_EQ(Px(shot, r.Left, r.Top), Rgb(clYellow));
  EXPECT_EQ(Px(shot, r.Right - 1, r.Bottom - 1), Rgb(clYellow));
}

TEST(Labels, AutoSizeFollowsTheCaptionAndKeepsTheAlignedEdge) {
  auto form = FormFrom("object Left1: TLabel {\n  Left = 10\n  Top = 10\n  Caption = \"Hz\"\n}\n"
                       "object Right1: TLabel {\n  Left = 100\n  Top = 40\n  Width = 50\n  AutoSize = false\n"
                       "  Alignment = taRightJustify\n  Caption = \"Hz\"\n}\n");
  auto* left = dynamic_cast<TLabel*>(form->FindComponent("Left1"));
  auto* right = dynamic_cast<TLabel*>(form->FindComponent("Right1"));
  int narrow = left->Width();
  EXPECT_GT(narrow, 5);
  EXPECT_GT(left->Height(), 8);
  left->SetCaption("44,100 Hz");
  EXPECT_GT(left->Width(), narrow * 2);
  EXPECT_EQ(left->Left(), 10);
  // An empty caption keeps one line.
  left->SetCaption("");
  EXPECT_GT(left->Height(), 8);
  right->SetAutoSize(true);
  right->SetCaption("44,100 Hz");
  EXPECT_EQ(right->Left() + right->Width(), 150) << "the right edge stays";
  // A bigger font makes a taller label.
  int h = right->Height();
  right->Font()->SetHeight(-20);
  EXPECT_GT(right->Height(), h);
}

TEST(Labels, WordWrapBreaksLinesAndLayoutPlacesThemVertically) {
  auto form = FormFrom("object Detail: TLabel {\n  Left = 10\n  Top = 10\n  Width = 90\n  WordWrap = true\n"
                       "  Caption = \"Click on the Add File button to select files\"\n}\n");
  auto* detail = dynamic_cast<TLabel*>(form->FindComponent("Detail"));
  EXPECT_EQ(detail->Width(), 90);
  EXPECT_GT(detail->Height(), 3 * 12) << "several lines";
  QImage shot = guitest::Shot(form.get());
  TRect ink = InkBounds(shot, detail->BoundsRect(), Rgb(clWhite));
  EXPECT_LE(ink.Right, 100);
  // One line in a tall label: top, centre and bottom layouts.
  detail->SetWordWrap(false);
  detail->SetAutoSize(false);
  detail->SetCaption("0 dB");
  detail->SetBounds(10, 10, 90, 60);
  int previous = -1;
  for (TTextLayout layout : {tlTop, tlCenter, tlBottom}) {
    detail->SetLayout(layout);
    TRect at = InkBounds(guitest::Shot(form.get()), detail->BoundsRect(), Rgb(clWhite));
    int above = at.Top - 10, below = 70 - at.Bottom;
    if (layout == tlTop) EXPECT_LE(above, 4);
    if (layout == tlCenter) EXPECT_LE(std::abs(above - below), 3);
    if (layout == tlBottom) EXPECT_LE(below, 4);
    EXPECT_GT(at.Top, previous);
    previous = at.Top;
  }
}

TEST(Labels, ClicksAndTheAccessKeyOfTheCaption) {
  auto form = FormFrom("object Edit1: TPanel {\n  Left = 100\n  Top = 10\n  TabStop = true\n}\n"
                       "object Edit2: TPanel {\n  Left = 100\n  Top = 60\n  TabStop = true\n}\n"
                       "object Label1: TLabel {\n  Left = 10\n  Top = 10\n  Caption = \"&Silence\"\n"
                       "  FocusControl = Edit2\n  OnClick = LabelClick\n  OnDblClick = LabelDblClick\n}\n");
  auto* label = dynamic_cast<TLabel*>(form->FindComponent("Label1"));
  auto* edit1 = dynamic_cast<TWinControl*>(form->FindComponent("Edit1"));
  auto* edit2 = dynamic_cast<TWinControl*>(form->FindComponent("Edit2"));
  QPoint inside(label->Left() + 3, label->Top() + 3);
  guitest::DoubleClick(form.get(), inside);
  EXPECT_EQ(form->Log, (std::vector<std::string>{"click", "dblclick", "click"}));
  edit1->SetFocus();
  // The underlined letter, in either case, with Alt.
  guitest::Key(form.get(), Qt::Key_S, Qt::AltModifier, "s");
  EXPECT_TRUE(edit2->Focused());
  edit1->SetFocus();
  guitest::Key(form.get(), Qt::Key_I, Qt::AltModifier, "i");
  EXPECT_TRUE(edit1->Focused()) << "not the access key";
  // No focus control, or a disabled one: nothing moves.
  edit2->SetEnabled(false);
  guitest::Key(form.get(), Qt::Key_S, Qt::AltModifier, "s");
  EXPECT_TRUE(edit1->Focused());
  // A freed focus control is forgotten.
  delete edit2;
  EXPECT_EQ(label->FocusControl(), nullptr);
}

TEST(Labels, AccessKeysMatchTheLetterAfterASingleAmpersand) {
  struct Case {
    const char* Caption;
    char32_t Key;
    bool Match;
  } cases[] = {{"&Silence", U's', true}, {"&Silence", U'S', true}, {"Fre&q", U'q', true},
               {"Fre&q", U'f', false}, {"A&&B", U'b', false}, {"A&&B &C", U'c', true},
               {"No key", U'n', false}, {"End&", U'd', false}, {"&Ärger", U'ä', true}};
  for (const Case& c : cases) EXPECT_EQ(IsAccel(c.Key, c.Caption), c.Match) << c.Caption;
}

}  // namespace
