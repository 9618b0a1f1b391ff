// The image slider on a shown form: value and pixel arithmetic both ways, the keyboard, the
// press-and-hold repeat on the test clock, tick marks read back, range and increment rules,
// orientation and images.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ControlsScene.h"
#include "controls/ImageSlider.h"
#include "controls/TransparentDraw.h"
#include "platform/rtl/Streaming.h"

using namespace controlstest;

namespace {

struct TSliderScene {
  std::unique_ptr<TForm> Form = MakeForm();
  TImageSlider* Slider;
  int Changes = 0, Ends = 0;
  TSliderScene(int W = 150, int H = 40, TSliderOrientation O = soHorizontal) {
    Slider = new TImageSlider(Form.get());
    Slider->SetParent(Form.get());
    if (O == soVertical) Slider->SetOrientation(O);
    Slider->SetBounds(10, 10, W, H);
    Slider->OnChange = [this](TObject*) { ++Changes; };
    Slider->OnChanged = [this](TObject*) { ++Ends; };
    Form->Show();
  }
};

// Left x of the thumb's frame that is drawn on the screen: where the thumb rectangle is.
TEST(ImageSlider, SmoothValuesMapToEveryOffsetAndBackInBothOrientations) {
  for (TSliderOrientation o : {soHorizontal, soVertical}) {
    TSliderScene s(o == soHorizontal ? 150 : 40, o == soHorizontal ? 40 : 150, o);
    s.Slider->SetMaxValue(65535);
    s.Slider->SetIncrement(1);
    s.Slider->SetOptions({soSmooth});
    const int track = s.Slider->TrackLength();
    ASSERT_GT(track, 50);
    for (int p = 0; p <= track; ++p) {
      const int offset = o == soHorizontal ? 6 + p : 6 + track - p;
      const int v = s.Slider->ValueFromOffset(offset);
      EXPECT_EQ(s.Slider->OffsetFromValue(v), offset) << p;
    }
    // The maximum is at the top of a vertical slider, the minimum at its bottom.
    s.Slider->SetValue(65535);
    EXPECT_EQ(o == soHorizontal ? s.Slider->ThumbRect().Left : s.Slider->ThumbRect().Top,
              o == soHorizontal ? 6 + track : 6);
    s.Slider->SetValue(0);
    EXPECT_EQ(o == soHorizontal ? s.Slider->ThumbRect().Left : s.Slider->ThumbRect().Top,
              o == soHorizontal ? 6 : 6 + track);
  }
}

// Without soSmooth a drag lands only on multiples of the increment, and the far end gives the
// maximum even when the range is not a multiple of it.
TEST(ImageSlider, DraggingWithoutSmoothSnapsToTheIncrementAndReachesTheMaximum) {
  TSliderScene s;
  s.Slider->SetMaxValue(95);
  s.Slider->SetOptions({});
  const TRect thumb = s.Slider->ThumbRect();
  const QPoint grab(thumb.Left + 3, thumb.Top + 3);
  SendMouse(s.Slider, QEvent::MouseButtonPress, grab);
  std::vector<int> seen;
  for (int dx = 1; dx <= 140; ++dx) {
    SendMouse(s.Slider, QEvent::MouseMove, grab + QPoint(dx, 0));
    seen.push_back(s.Slider->Value());
  }
  SendMouse(s.Slider, QEvent::MouseButtonRelease, grab + QPoint(140, 0));
  for (int v : seen) EXPECT_TRUE(v % 10 == 0 || v == 95) << v;
  EXPECT_EQ(seen.back(), 95);
  EXPECT_EQ(s.Slider->ThumbRect().Left, 6 + s.Slider->TrackLength());
  EXPECT_EQ(s.Ends, 1);
  EXPECT_EQ(s.Changes, 10);  // 10, 20 ... 90, 95
}

struct TKeyCase {
  TSliderOrientation Orientation;
  int Key;
  Qt::KeyboardModifiers Mods;
  int Expected;  // from 13, increment 5, range 0..100
};

TEST(ImageSlider, KeysStepOnTheIncrementGridAlongTheSlidersOwnAxisOnly) {
  const TKeyCase cases[] = {
      {soHorizontal, Qt::Key_Right, Qt::NoModifier, 20}, {soHorizontal, Qt::Key_Left, Qt::NoModifier, 10},
      {soHorizontal, Qt::Key_Home, Qt::NoModifier, 0},   {soHorizontal, Qt::Key_End, Qt::NoModifier, 100},
      {soHorizontal, Qt::Key_Up, Qt::NoModifier, 13},    {soHorizontal, Qt::Key_Right, Qt::ShiftModifier, 13},
      {soHorizontal, Qt::Key_End, Qt::ControlModifier, 13},
      {soVertical, Qt::Key_Up, Qt::NoModifier, 20},      {soVertical, Qt::Key_Down, Qt::NoModifier, 10},
      {soVertical, Qt::Key_Left, Qt::NoModifier, 13},    {soVertical, Qt::Key_Right, Qt::NoModifier, 13},
  };
  for (const TKeyCase& c : cases) {
    TSliderScene s(150, 150, c.Orientation);
    s.Slider->SetIncrement(5);
    s.Slider->SetValue(13);
    s.Slider->SetFocus();
    s.Changes = s.Ends = 0;
    SendKey(s.Slider, c.Key, c.Mods);
    EXPECT_EQ(s.Slider->Value(), c.Expected) << c.Key << " " << int(c.Orientation);
    const bool handled = c.Expected != 13;
    EXPECT_EQ(s.Changes, handled ? 1 : 0);
    EXPECT_EQ(s.Ends, handled ? 1 : 0);
  }
  TSliderScene s;
  EXPECT_EQ(s.Slider->Perform(WM_GETDLGCODE), DLGC_WANTARROWS);
}

// Holding the button on the ruler beside the thumb steps at once, then every 400 ms until the
// thumb has passed the pointer; the release ends it with one OnChanged.
TEST(ImageSlider, PressAndHoldOnTheRulerRepeatsUntilTheThumbPassesThePointer) {
  TManualClock clock;
  TSliderScene s;
  const QPoint press(s.Slider->RulerOrigin().X + s.Slider->OffsetFromValue(35) - 6 + 10,
                     s.Slider->RulerOrigin().Y + 2);
  SendMouse(s.Slider, QEvent::MouseButtonPress, press);
  EXPECT_EQ(s.Slider->Value(), 10);
  clock.Advance(399);
  EXPECT_EQ(s.Slider->Value(), 10);
  clock.Advance(1);
  EXPECT_EQ(s.Slider->Value(), 20);
  clock.Advance(400);
  EXPECT_EQ(s.Slider->Value(), 30);
  for (int i = 0; i < 5; ++i) clock.Advance(400);
  const int stopped = s.Slider->Value();
  EXPECT_GE(s.Slider->ThumbRect().Right, press.x());
  EXPECT_LT(s.Slider->OffsetFromValue(stopped - 10), press.x());
  EXPECT_EQ(s.Ends, 0);
  SendMouse(s.Slider, QEvent::MouseButtonRelease, press);
  EXPECT_EQ(s.Ends, 1);
  clock.Advance(2000);
  EXPECT_EQ(s.Slider->Value(), stopped);
}

TEST(ImageSlider, AnIncrementOutsideTheRangeIsRefusedAndANarrowRangeShrinksIt) {
  TSliderScene s;
  for (int bad : {0, -1, 101}) {
    try {
      s.Slider->SetIncrement(bad);
      ADD_FAILURE() << bad;
    } catch (const Exception& e) {
      EXPECT_EQ(e.Message(), "Value must be between 1 and 100");
    }
    EXPECT_EQ(s.Slider->Increment(), 10);
  }
  s.Slider->SetValue(8);
  s.Slider->SetMinValue(2);
  s.Slider->SetMaxValue(6);
  EXPECT_EQ(s.Slider->Increment(), 4);
  EXPECT_EQ(s.Slider->Value(), 6);
  // A minimum not below the maximum changes nothing.
  s.Slider->SetMinValue(6);
  EXPECT_EQ(s.Slider->MinValue(), 2);
}

// Range 0..10 with increment 1 on a 40-pixel track: 11 marks one pixel below the ruler, the
// end ones 5 pixels long and the others 3, at the thumb's centre for each value.
TEST(ImageSlider, TickMarksForEveryIncrementWithLongerEndMarks) {
  TSliderScene s(72, 40);
  s.Slider->SetColor(clWhite);
  s.Slider->SetMaxValue(10);
  s.Slider->SetIncrement(1);
  s.Slider->SetOptions({soShowPoints});
  ASSERT_EQ(s.Slider->TrackLength(), 40);
  const QImage img = Painted(s.Slider);
  const int top = s.Slider->TicksRect().Top;
  std::vector<int> marks, lengths;
  for (int x = 0; x < img.width(); ++x) {
    int n = 0;
    while (img.pixel(x, top + n) == qRgb(0, 0, 0)) ++n;
    if (n) {
      marks.push_back(x);
      lengths.push_back(n);
    }
  }
  ASSERT_EQ(marks.size(), 11u);
  for (int v = 0; v <= 10; ++v) EXPECT_EQ(marks[size_t(v)], s.Slider->OffsetFromValue(v) + 10) << v;
  EXPECT_EQ(lengths, (std::vector<int>{5, 3, 3, 3, 3, 3, 3, 3, 3, 3, 5}));
  // A handler of its own replaces the standard marks, here with other steps and lengths.
  s.Slider->OnDrawPoints = [&](TObject*) { s.Slider->DrawTicks(2, 6, 8); };
  s.Slider->Invalidate();
  const QImage own = Painted(s.Slider);
  std::vector<int> ownLengths;
  for (int x = 0; x < own.width(); ++x) {
    int n = 0;
    while (own.pixel(x, top + n) == qRgb(0, 0, 0)) ++n;
    if (n) ownLengths.push_back(n);
  }
  EXPECT_EQ(ownLengths, (std::vector<int>{8, 6, 6, 6, 6, 8}));
  // Nothing of the transparent colour reaches the screen, and no focus frame is drawn.
  EXPECT_FALSE(img.pixelColor(0, 0) == QColor(255, 0, 255));
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) ASSERT_NE(img.pixel(x, y), qRgb(255, 0, 255)) << x << "," << y;
}

TEST(ImageSlider, AnOrientationChangeSwapsWidthAndHeight) {
  TSliderScene s;
  s.Slider->SetOrientation(soVertical);
  EXPECT_EQ(s.Slider->Width(), 40);
  EXPECT_EQ(s.Slider->Height(), 150);
  EXPECT_EQ(s.Slider->RulerBitmap()->Height(), 150 - 12);
  s.Slider->SetValue(100);
  EXPECT_EQ(s.Slider->ThumbRect().Top, 6);
}

// A supplied image replaces the default until null brings the default back, which also drops
// the matching opaque option.
TEST(ImageSlider, ANullImageBringsTheDefaultBack) {
  TSliderScene s;
  EXPECT_EQ(s.Slider->Image(0)->Width(), 40);
  TBitmap thumb;
  thumb.SetSize(16, 9);
  s.Slider->SetImage(0, &thumb);
  s.Slider->SetOptions({soThumbOpaque, soRulerOpaque});
  EXPECT_EQ(s.Slider->UserImages(), 1);
  EXPECT_EQ(s.Slider->ThumbRect().Width(), 8);
  s.Slider->SetImage(0, nullptr);
  EXPECT_EQ(s.Slider->UserImages(), 0);
  EXPECT_EQ(s.Slider->Image(0)->Width(), 40);
  EXPECT_EQ(s.Slider->ThumbRect().Width(), 20);
  EXPECT_EQ(s.Slider->Options(), TSliderOptions{soRulerOpaque});
}

// A ruler no longer than the thumb leaves no track: the thumb stays at the start whatever the
// value, and dragging leaves the value alone. A ruler image with nothing between its edges and a
// track area shorter than the indents are drawn with what fits.
TEST(ImageSlider, DegenerateTracksKeepTheThumbAtTheStart) {
  TSliderScene s(32, 40);
  ASSERT_EQ(s.Slider->TrackLength(), 0);
  s.Slider->SetValue(70);
  EXPECT_EQ(s.Slider->Value(), 70);
  EXPECT_EQ(s.Slider->ThumbRect().Left, 6);
  const TRect thumb = s.Slider->ThumbRect();
  SendMouse(s.Slider, QEvent::MouseButtonPress, QPoint(thumb.Left + 2, thumb.Top + 2));
  SendMouse(s.Slider, QEvent::MouseMove, QPoint(thumb.Left + 12, thumb.Top + 2));
  SendMouse(s.Slider, QEvent::MouseButtonRelease, QPoint(thumb.Left + 12, thumb.Top + 2));
  EXPECT_EQ(s.Slider->Value(), 70);

  TBitmap edgesOnly;
  edgesOnly.SetSize(4, 8);
  s.Slider->SetBounds(10, 10, 150, 40);
  s.Slider->SetImage(1, &edgesOnly);
  EXPECT_EQ(s.Slider->RulerBitmap()->Width(), 138);
  Painted(s.Slider);

  TSliderScene v(40, 8, soVertical);
  EXPECT_EQ(v.Slider->RulerBitmap()->Height(), 0);
  v.Slider->SetValue(50);
  Painted(v.Slider);
}

// The ruler image is stretched by repeating its middle: the near edge with one whole tile, the
// tiles, then the end of a tile with the far edge.
TEST(ImageSlider, TheRulerRepeatsItsMiddleBetweenItsEdges) {
  TSliderScene s;
  TBitmap source;
  source.SetSize(10, 8);
  for (int x = 0; x < 10; ++x) {
    source.Canvas()->Brush()->SetColor(TColor(0x101010 * (x + 1)));
    source.Canvas()->FillRect(Rect(x, 0, x + 1, 8));
  }
  s.Slider->SetImage(1, &source);
  const QImage ruler = s.Slider->RulerBitmap()->ToImage().convertToFormat(QImage::Format_RGB32);
  const QImage src = source.ToImage().convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(ruler.width(), 138);  // 134 between the edges: 22 tiles of 6 and 2 pixels
  for (int x = 0; x < 138; ++x) {
    const int from = x < 8 ? x : x < 134 ? 2 + (x - 2) % 6 : 6 + (x - 134);
    EXPECT_EQ(ruler.pixel(x, 4), src.pixel(from, 4)) << x;
  }
  // Edges of 3 leave a tile of 4; edges whose double is not below the image's length are refused.
  for (int e : {5, 3, 6}) s.Slider->SetEdgeSize(e);
  EXPECT_EQ(s.Slider->EdgeSize(), 3);
  const QImage wider = s.Slider->RulerBitmap()->ToImage().convertToFormat(QImage::Format_RGB32);
  for (int x = 0; x < 138; ++x) {
    const int from = x < 7 ? x : x < 135 ? 3 + (x - 3) % 4 : 7 + (x - 135);
    EXPECT_EQ(wider.pixel(x, 4), src.pixel(from, 4)) << x;
  }
}

// The default images: their sizes, the transparent colour in the bottom-left pixel, and rulers
// whose middle between two-pixel caps is the same all along, so that repeating it shows no seam.
TEST(ImageSlider, DefaultImagesKeepTheirKeyAndRepeatCleanly) {
  TSliderScene s;
  const QSize sizes[4] = {{40, 13}, {10, 8}, {26, 20}, {8, 10}};
  for (int i = 0; i < 4; ++i) {
    const QImage img = s.Slider->Image(i)->ToImage().convertToFormat(QImage::Format_RGB32);
    EXPECT_EQ(img.size(), sizes[i]) << i;
    EXPECT_EQ(img.pixel(0, img.height() - 1), qRgb(255, 0, 255)) << i;
  }
  const QImage h = s.Slider->Image(1)->ToImage().convertToFormat(QImage::Format_RGB32);
  const QImage v = s.Slider->Image(3)->ToImage().convertToFormat(QImage::Format_RGB32);
  for (int k = 2; k < 8; ++k)
    for (int j = 0; j < 8; ++j) {
      EXPECT_EQ(h.pixel(k, j), h.pixel(2, j));
      EXPECT_EQ(v.pixel(j, k), v.pixel(j, 2));
    }
  // The caps differ from the middle: the groove is closed at both ends.
  EXPECT_NE(h.pixel(0, 3), h.pixel(2, 3));
  EXPECT_NE(h.pixel(9, 3), h.pixel(2, 3));
}

// A description keeps the supplied images and which ones they are, and nothing of the defaults;
// reading it back gives the same slider.
TEST(ImageSlider, DescriptionsKeepSuppliedImagesOnly) {
  RegisterGuiClasses();
  RegisterImageSliderClasses();
  TForm form(nullptr);
  auto* slider = new TImageSlider(&form);
  slider->SetName("Volume");
  slider->SetParent(&form);
  TBitmap thumb;
  thumb.SetSize(16, 9);
  thumb.Canvas()->Brush()->SetColor(clTeal);
  thumb.Canvas()->FillRect(Rect(0, 0, 16, 9));
  thumb.Canvas()->SetPixel(3, 4, clYellow);
  slider->SetImage(0, &thumb);
  slider->SetMaxValue(65535);
  slider->SetValue(30000);
  slider->SetOptions({soSmooth});
  const std::string text = WriteComponentToText(&form);
  EXPECT_NE(text.find("ImageHThumb"), std::string::npos);
  EXPECT_EQ(text.find("ImageHRuler"), std::string::npos);
  TForm copy(nullptr);
  ReadComponentFromText(&copy, text);
  auto* read = dynamic_cast<TImageSlider*>(copy.FindComponent("Volume"));
  ASSERT_TRUE(read);
  EXPECT_EQ(read->UserImages(), 1);
  EXPECT_EQ(read->Image(0)->ToImage().convertToFormat(QImage::Format_RGB32),
            thumb.ToImage().convertToFormat(QImage::Format_RGB32));
  EXPECT_EQ(read->Image(1)->Width(), 10);
  EXPECT_EQ(read->ThumbRect().Width(), 8);
  EXPECT_EQ(read->Value(), 30000);
  EXPECT_EQ(read->Options(), TSliderOptions{soSmooth});
}

// A slider read from a description is laid out at the size it was given there, as one sized by
// the program is: same ruler, track, thumb place and ticks.
TEST(ImageSlider, ADescribedSliderIsLaidOutAtItsDescribedSize) {
  RegisterGuiClasses();
  RegisterImageSliderClasses();
  TSliderScene made(260, 40);
  made.Slider->SetMaxValue(10);
  made.Slider->SetIncrement(1);
  made.Slider->SetValue(8);
  TForm read(nullptr);
  ReadComponentFromText(&read, "object Form1: TForm {\n  object Preset: TImageSlider {\n    Left = 10\n"
                                "    Top = 10\n    Width = 260\n    Height = 40\n    MaxValue = 10\n"
                                "    Increment = 1\n    Value = 8\n  }\n}\n");
  read.Show();
  auto* slider = dynamic_cast<TImageSlider*>(read.FindComponent("Preset"));
  ASSERT_TRUE(slider);
  EXPECT_EQ(slider->TrackLength(), made.Slider->TrackLength());
  EXPECT_EQ(slider->RulerBitmap()->Width(), made.Slider->RulerBitmap()->Width());
  EXPECT_EQ(slider->ThumbRect(), made.Slider->ThumbRect());
  EXPECT_EQ(slider->TicksRect(), made.Slider->TicksRect());
}

}  // namespace
