// Frames and colours drawn on bitmaps and read back; the lightness arithmetic; the frame
// controller pushing its settings by property name, and reading older descriptions.
#include <gtest/gtest.h>

#include <QImage>
#include <vector>

#include "ControlsScene.h"
#include "controls/RzCommon.h"
#include "platform/rtl/Streaming.h"

using namespace controlstest;

namespace {

// A white 12 x 10 bitmap (white is none of the frame colours of the classic table).
struct TSheet {
  TBitmap Bitmap;
  TSheet() {
    Bitmap.SetSize(12, 10);
    Bitmap.Canvas()->Brush()->SetColor(TColor(0x00FEFEFE));
    Bitmap.Canvas()->FillRect(Rect(0, 0, 12, 10));
  }
  QRgb At(int x, int y) { return Bitmap.ToImage().pixel(x, y) & 0xFFFFFF; }
  static QRgb Blank() { return 0xFEFEFE; }
  static QRgb C(TColor c) { return Rgb(c) & 0xFFFFFF; }
};

struct TStyleCase {
  TFrameStyleEx Style;
  TColor Left0, Left1, Right0, Right1;  // columns 0 and 1 and the two rightmost, mid-height
  TRect Inner;
};

TEST(RzFrames, EachStyleDrawsItsColoursAndAnswersTheRectangleInside) {
  const QRgb none = TSheet::Blank();
  const TColor blank = TColor(0x00FEFEFE);
  const TStyleCase cases[] = {
      {fsNone, blank, blank, blank, blank, Rect(0, 0, 12, 10)},
      {fsFlat, cl3DDkShadow, blank, blank, cl3DDkShadow, Rect(1, 1, 11, 9)},
      {fsStatus, clBtnShadow, blank, blank, clBtnHighlight, Rect(1, 1, 11, 9)},
      {fsPopup, clBtnHighlight, blank, blank, clBtnShadow, Rect(1, 1, 11, 9)},
      {fsFlatBold, clBtnShadow, clBtnShadow, clBtnShadow, clBtnShadow, Rect(2, 2, 10, 8)},
      {fsLowered, clBtnShadow, cl3DDkShadow, cl3DLight, clBtnHighlight, Rect(2, 2, 10, 8)},
      {fsRaised, cl3DLight, clBtnHighlight, clBtnShadow, cl3DDkShadow, Rect(2, 2, 10, 8)},
      {fsButtonUp, clBtnHighlight, cl3DLight, clBtnShadow, cl3DDkShadow, Rect(2, 2, 10, 8)},
      {fsButtonDown, clBtnText, clBtnShadow, clBtnShadow, clBtnText, Rect(2, 2, 10, 8)},
      {fsGroove, clBtnShadow, clBtnHighlight, clBtnShadow, clBtnHighlight, Rect(2, 2, 10, 8)},
      {fsBump, clBtnHighlight, clBtnShadow, clBtnHighlight, clBtnShadow, Rect(2, 2, 10, 8)},
  };
  for (const TStyleCase& c : cases) {
    TSheet s;
    TRect inner;
    DrawStyledFrame(s.Bitmap.Canvas(), Rect(0, 0, 12, 10), c.Style, inner, sdAllSides);
    EXPECT_EQ(inner, c.Inner) << int(c.Style);
    auto want = [&](TColor k) { return k == blank ? none : TSheet::C(k); };
    EXPECT_EQ(s.At(0, 5), want(c.Left0)) << int(c.Style);
    EXPECT_EQ(s.At(1, 5), want(c.Left1)) << int(c.Style);
    EXPECT_EQ(s.At(10, 5), want(c.Right0)) << int(c.Style);
    EXPECT_EQ(s.At(11, 5), want(c.Right1)) << int(c.Style);
    EXPECT_EQ(s.At(5, 5), none);
  }
}

// Only the sides asked for are drawn and shrink the rectangle.
TEST(RzFrames, SidesDrawnAreTheOnlyOnesTakenOff) {
  TSheet s;
  TRect inner;
  DrawFrameLines(s.Bitmap.Canvas(), Rect(0, 0, 12, 10), clBlack, inner, TSides{sdLeft, sdTop}, 2, clRed);
  EXPECT_EQ(inner, Rect(2, 2, 12, 10));
  EXPECT_EQ(s.At(0, 9), 0u);
  EXPECT_EQ(s.At(11, 0), 0u);
  EXPECT_EQ(s.At(11, 9), TSheet::Blank());

  TSheet r;
  DrawRoundedFrame(r.Bitmap.Canvas(), Rect(0, 0, 12, 10), clBlack, inner, TSides{sdLeft, sdTop, sdRight});
  EXPECT_EQ(inner, Rect(2, 2, 10, 10));
  EXPECT_EQ(r.At(0, 0), TSheet::Blank());  // corners left open
  EXPECT_EQ(r.At(1, 0), TSheet::Blank());
  EXPECT_EQ(r.At(1, 1), 0u);               // with a pixel set inside them
  EXPECT_EQ(r.At(2, 0), 0u);
  EXPECT_EQ(r.At(0, 9), 0u);               // a side meeting no drawn side runs to its end
}

TEST(RzFrames, BorderPairNestsOuterFrameBorderAndInnerFrame) {
  TSheet s;
  TRect r = DrawBorderPair(s.Bitmap.Canvas(), Rect(0, 0, 12, 10), fsNone, fsNone, true, false, clBtnFace,
                           clWhite, 30, clBtnShadow, clBtnShadow, clBtnHighlight, clRed, 1, sdAllSides, 0);
  EXPECT_EQ(r, Rect(0, 0, 12, 10));
  EXPECT_EQ(s.At(0, 0), TSheet::Blank());
  r = DrawBorderPair(s.Bitmap.Canvas(), Rect(0, 0, 12, 10), fsFlat, fsFlat, true, false, clBtnFace, clWhite,
                     0, clBlue, clBtnShadow, clBtnHighlight, clRed, 1, sdAllSides, 1);
  EXPECT_EQ(r, Rect(3, 3, 9, 7));
  EXPECT_EQ(s.At(0, 5), TSheet::C(clBlue));
  EXPECT_EQ(s.At(1, 5), TSheet::C(clRed));
  EXPECT_EQ(s.At(2, 5), TSheet::C(clBlue));
  EXPECT_EQ(s.At(2, 2), TSheet::Blank());  // the inner flat frame's corners are cut
}

TEST(RzColors, HslRoundTripsAndLightnessLimits) {
  struct TCase {
    TColor Color;
    uint8_t H, S, L;
  } exact[] = {{clBlack, 0, 0, 0}, {clWhite, 0, 0, 240}, {clRed, 0, 240, 120}, {clLime, 80, 240, 120},
               {clBlue, 160, 240, 120}, {clGray, 0, 0, 120}};
  for (const TCase& c : exact) {
    uint8_t h, s, l;
    ColorToHSL240(c.Color, h, s, l);
    EXPECT_EQ(int(h), c.H) << c.Color;
    EXPECT_EQ(int(s), c.S) << c.Color;
    EXPECT_EQ(int(l), c.L) << c.Color;
  }
  EXPECT_EQ(HSL240ToColor(0, 240, 120), clRed);
  // The hue goes back through 239 steps where it came from 240, so the changing component may be
  // off by a few steps of the scale.
  for (TColor c : {TColor(0x2E82DA), TColor(0x140DFF), TColor(0x147800), TColor(0xDBE1F2), TColor(0x808000)}) {
    uint8_t h, s, l;
    ColorToHSL240(c, h, s, l);
    const TColor back = HSL240ToColor(h, s, l);
    EXPECT_NEAR(GetRValue(back), GetRValue(c), 10) << c;
    EXPECT_NEAR(GetGValue(back), GetGValue(c), 10) << c;
    EXPECT_NEAR(GetBValue(back), GetBValue(c), 10) << c;
    uint8_t h2, s2, l2;
    ColorToHSL240(DarkenColor(c, 20), h2, s2, l2);
    EXPECT_NEAR(l2, std::max(l - 20, 0), 1);
  }
  // A light pink at lightness 230: lightened by 30 it goes past the scale's top to white.
  const TColor pink = TColor(RGB(255, 234, 234));
  uint8_t h, s, l;
  ColorToHSL240(pink, h, s, l);
  ASSERT_EQ(l, 230);
  EXPECT_EQ(LightenColor(pink, 30), clWhite);
  EXPECT_EQ(AdjustColorLightness(pink, 0), pink);
  EXPECT_EQ(AdjustColorLightness(clGray, -120), clBlack);
}

// A control with frame properties, counting what the controller writes into it.
class TFramedProbe : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  std::vector<std::string> Writes;
  TFrameStyleEx FrameStyle() const { return FStyle; }
  void SetFrameStyle(TFrameStyleEx V) { FStyle = V, Writes.push_back("FrameStyle"); }
  TSides FrameSides() const { return FSides; }
  void SetFrameSides(TSides V) { FSides = V, Writes.push_back("FrameSides"); }
  TColor FocusColor() const { return FFocus; }
  void SetFocusColor(TColor V) { FFocus = V, Writes.push_back("FocusColor"); }
  bool FrameVisible() const { return FVisibleFrame; }
  void SetFrameVisible(bool V) { FVisibleFrame = V, Writes.push_back("FrameVisible"); }
  TFrameStyleEx FStyle = fsNone;
  TSides FSides;
  TColor FFocus = clNone;
  bool FVisibleFrame = false;
};

void RegisterProbe() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterGuiClasses();
  RegisterRzCommonClasses();
  RegisterClass<TFramedProbe, TCustomControl>();
  Published<TFramedProbe>()
      .Property("FrameStyle", &TFramedProbe::FrameStyle, &TFramedProbe::SetFrameStyle)
      .Property("FrameSides", &TFramedProbe::FrameSides, &TFramedProbe::SetFrameSides)
      .Property("FocusColor", &TFramedProbe::FocusColor, &TFramedProbe::SetFocusColor)
      .Property("FrameVisible", &TFramedProbe::FrameVisible, &TFramedProbe::SetFrameVisible);
}

TEST(RzFrameController, PushesByNameNothingInsideAnUpdateAndEverythingOnceAfter) {
  RegisterProbe();
  TForm form(nullptr);
  TRzFrameController controller(nullptr);
  auto* probe = new TFramedProbe(&form);
  probe->SetParent(&form);
  controller.AddControl(probe);
  // Registration pushes everything the control has, once.
  EXPECT_EQ(probe->Writes, (std::vector<std::string>{"FocusColor", "FrameSides", "FrameStyle", "FrameVisible"}));
  EXPECT_EQ(probe->Color(), clWindow);
  EXPECT_EQ(probe->FSides, sdAllSides);

  probe->Writes.clear();
  controller.BeginUpdate();
  for (int i = 0; i < 5; ++i) {
    controller.SetFrameStyle(i % 2 ? fsGroove : fsLowered);
    controller.SetFrameColor(TColor(0x10 * i));
  }
  EXPECT_TRUE(probe->Writes.empty());
  controller.EndUpdate();
  EXPECT_EQ(probe->Writes, (std::vector<std::string>{"FocusColor", "FrameSides", "FrameStyle", "FrameVisible"}));
  EXPECT_EQ(probe->FStyle, fsLowered);

  // One setting goes alone; a colour equal to the focus colour takes the focus colour along.
  probe->Writes.clear();
  controller.SetFrameSides({sdTop});
  EXPECT_EQ(probe->Writes, (std::vector<std::string>{"FrameSides"}));
  EXPECT_EQ(probe->FSides, TSides{sdTop});
  controller.SetColor(clYellow);
  EXPECT_EQ(controller.FocusColor(), clYellow);
  EXPECT_EQ(probe->FFocus, clYellow);
  EXPECT_EQ(probe->Color(), clYellow);
  controller.SetColor(clAqua);
  EXPECT_EQ(controller.FocusColor(), clAqua);
  controller.SetFocusColor(clRed);
  controller.SetColor(clLime);
  EXPECT_EQ(controller.FocusColor(), clRed);

  // Switching hot tracking on shows the frame on every side.
  controller.SetFrameHotTrack(true);
  EXPECT_TRUE(probe->FVisibleFrame);
  EXPECT_EQ(probe->FSides, sdAllSides);

  // A freed control leaves the controller.
  delete probe;
  EXPECT_EQ(controller.ControlCount(), 0);
  controller.SetFrameStyle(fsFlat);
}

TEST(RzFrameController, OlderDescriptionsAreRead) {
  RegisterProbe();
  struct TCase {
    const char* Props;
    bool HotTrack;
    TFrameStyleEx Style, HotStyle;
  } cases[] = {
      {"FrameFlat = true", true, fsStatus, fsLowered},
      {"FrameFlat = false", false, fsFlat, fsFlatBold},
      {"FrameFocusStyle = fsGroove", false, fsFlat, fsGroove},
      {"FrameFlatStyle = fsButtonUp\n    FrameStyle = fsRaised", false, fsRaised, fsFlatBold},
  };
  for (const TCase& c : cases) {
    TForm form(nullptr);
    ReadComponentFromText(&form, std::string("object Form1: TForm {\n  object Frames: TRzFrameController {\n    ") +
                                     c.Props + "\n  }\n}\n");
    auto* fc = dynamic_cast<TRzFrameController*>(form.FindComponent("Frames"));
    ASSERT_TRUE(fc) << c.Props;
    EXPECT_EQ(fc->FrameHotTrack(), c.HotTrack) << c.Props;
    EXPECT_EQ(fc->FrameStyle(), c.Style) << c.Props;
    EXPECT_EQ(fc->FrameHotStyle(), c.HotStyle) << c.Props;
  }
}

}  // namespace
