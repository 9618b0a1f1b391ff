// The UltraFlat and Office11 painters: the Office 2003 colour roles per scheme, cell content and
// expand buttons read back as pixels, and the indicator images.
#include <gtest/gtest.h>

#include <QImage>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>

#include "common/TestEnv.h"
#include "platform/sys/Modules.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/PainterTestSupport.h"
#include "suite/core/cxSuiteUnits.h"
#include "suite/core/dxOffice11.h"
#include "suite/core/dxThemeManager.h"
#include "suite/core/VisualStyleState.h"

namespace {

using painter_test::Rgb;
using painter_test::TSurface;

using sonalix::test::SheetDir;

TcxOffice11LookAndFeelPainter* Office11() {
  return dynamic_cast<TcxOffice11LookAndFeelPainter*>(cxLookAndFeelPaintersManager()->PainterForName("Office11"));
}

std::u16string gColorName;
HTHEME FakeOpen(HWND, const char16_t*) { return 7; }
HRESULT FakeClose(HTHEME) { return 0; }
BOOL FakeActive() { return TRUE; }
HRESULT FakeThemeName(char16_t* file, int, char16_t* colour, int, char16_t* size, int) {
  std::u16string f = u"C:\\WINDOWS\\Resources\\Themes\\Luna\\Luna.msstyles";
  std::copy(f.begin(), f.end(), file);
  std::copy(gColorName.begin(), gColorName.end(), colour);
  size[0] = u'N';
  return 0;
}

// The suite's units restarted with a visual style whose colour name the test picks; the table
// of modules is put back afterwards.
struct TSchemeUnits {
  std::unique_ptr<TModuleTableGuard> Guard = std::make_unique<TModuleTableGuard>();
  explicit TSchemeUnits(const char16_t* ColorName) {
    FinalizeSuiteUnits();
    gColorName = ColorName;
    SetModulePresent("UxTheme.dll", true);
    SetModuleEntryAs("UxTheme.dll", "OpenThemeData", &FakeOpen);
    SetModuleEntryAs("UxTheme.dll", "CloseThemeData", &FakeClose);
    SetModuleEntryAs("UxTheme.dll", "IsThemeActive", &FakeActive);
    SetModuleEntryAs("UxTheme.dll", "GetCurrentThemeName", &FakeThemeName);
    InitializeSuiteUnits();
    Office11ColorsRefresh();
  }
  ~TSchemeUnits() {
    FinalizeSuiteUnits();
    Guard.reset();
    InitializeSuiteUnits();
    Office11ColorsRefresh();
  }
};

}  // namespace

TEST(Office11Painter, ColourRolesPerScheme) {
  struct TCase {
    const char16_t* Scheme;
    TColor Face, Hot, Pressed, HeaderFirst, HeaderLight, Dark, Highlight, Border, CalendarFrame;
  };
  const TCase cases[] = {
      {u"NormalColor", 0xF5BE9E, 0xC2EEFF, 0x3E80FE, 0xFBDABE, 0xFADAC4, 0xCB8C6A, 0xFFF9F1, 0x800000, 0x962D00},
      {u"HomeStead", 0xA7D9D9, 0xC2EEFF, 0x3E80FE, 0x91BAAF, 0xE4F1F2, 0x588060, 0xDEF7F4, 0x385D3F, 0x588060},
      {u"Metallic", 0xE5D7D7, 0xC2EEFF, 0x3E80FE, 0xEBE5E5, 0xF7F3F3, 0x8F6D6E, 0xFFFFFF, 0x6F4B4B, 0x947C7C},
  };
  for (const TCase& c : cases) {
    TSchemeUnits units(c.Scheme);
    ASSERT_TRUE(IsOffice11SchemeActive());
    TcxOffice11LookAndFeelPainter* o = Office11();
    ASSERT_NE(o, nullptr);
    SCOPED_TRACE(std::string(c.Scheme, c.Scheme + std::char_traits<char16_t>::length(c.Scheme)));
    EXPECT_EQ(o->ButtonFaceColor(esNormal), c.Face);
    EXPECT_EQ(o->ButtonFaceColor(esHot), c.Hot);
    EXPECT_EQ(o->ButtonFaceColor(esPressed), c.Pressed);
    EXPECT_EQ(o->ButtonFaceColor(esDisabled), clBtnFace);
    EXPECT_EQ(o->HeaderLightColor(), c.HeaderLight);
    EXPECT_EQ(o->HeaderDarkColor(), c.Dark);
    EXPECT_EQ(o->HeaderHighlightColor(), c.Highlight);
    EXPECT_EQ(o->HeaderMidColor(), MixColors(c.HeaderFirst, c.HeaderLight, 50));
    EXPECT_EQ(o->FrameHighlightColor(), c.Border);
    EXPECT_EQ(o->ButtonGlyphColor(esPressed), TColor(0)) << "a scheme keeps the glyph colour when pressed";
    EXPECT_EQ(o->ButtonGlyphColor(esDisabled), TColor(0x8D8D8D));
    (void)c.CalendarFrame;
  }
}

TEST(Office11Painter, ColourRolesWithoutAScheme) {
  TVisualStylesAbsent styles;
  TcxOffice11LookAndFeelPainter* o = Office11();
  ASSERT_NE(o, nullptr);
  ASSERT_FALSE(IsOffice11SchemeActive());
  EXPECT_EQ(o->ButtonFaceColor(esNormal), ColorToRGB(clBtnFace));
  EXPECT_EQ(o->ButtonFaceColor(esHot), HighlightMixLight());
  EXPECT_EQ(o->ButtonFaceColor(esPressed), HighlightMixStrong());
  EXPECT_EQ(o->HeaderHighlightColor(), TColor(0xFFFFFF));
  EXPECT_EQ(o->HeaderDarkColor(), MixColors(clBtnShadow, clWindow, 70));
  EXPECT_EQ(o->HeaderLightColor(), ColorToRGB(clBtnFace));
  EXPECT_EQ(o->FrameHighlightColor(), ColorToRGB(clHighlight));
  EXPECT_EQ(o->ButtonGlyphColor(esPressed), clHighlightText);
  EXPECT_EQ(o->ButtonGlyphColor(esNormal), ColorToRGB(clBtnText));
  EXPECT_EQ(o->ButtonGlyphColor(esDisabled), ColorToRGB(clGrayText));
}

TEST(Office11Painter, ExpandGlyphBitmaps) {
  Office11ColorsAddRef();
  ASSERT_NE(Office11ExpandButtonPlusBitmap, nullptr);
  ASSERT_NE(Office11ExpandButtonMinusBitmap, nullptr);
  const QImage plus = Office11ExpandButtonPlusBitmap->ToImage(), minus = Office11ExpandButtonMinusBitmap->ToImage();
  ASSERT_EQ(plus.size(), QSize(11, 11));
  ASSERT_EQ(minus.size(), QSize(11, 11));
  const uint32_t face = minus.pixel(3, 3) & 0xFFFFFF;
  for (int i = 3; i <= 7; ++i) {
    EXPECT_NE(minus.pixel(i, 5) & 0xFFFFFF, face) << "the bar of both signs";
    EXPECT_EQ(plus.pixel(i, 5), minus.pixel(i, 5));
  }
  EXPECT_EQ(minus.pixel(5, 3) & 0xFFFFFF, minus.pixel(4, 3) & 0xFFFFFF) << "minus has no upright";
  EXPECT_NE(plus.pixel(5, 3) & 0xFFFFFF, plus.pixel(4, 3) & 0xFFFFFF) << "plus has one";
  EXPECT_NE(plus.pixel(0, 5) & 0xFFFFFF, face) << "framed";
  Office11ColorsRelease();
}

TEST(Office11Painter, IndicatorGlyphs) {
  TCustomImageList* images = cxIndicatorImages();
  ASSERT_NE(images, nullptr);
  ASSERT_EQ(images->Count(), 6);
  EXPECT_EQ(images->Width(), 8);
  EXPECT_EQ(images->Height(), 9);
  const char* const names[] = {"CX_ARROWBITMAP",    "CX_EDITBITMAP",       "CX_INSERTBITMAP",
                               "CX_MULTIDOTBITMAP", "CX_MULTIARROWBITMAP", "CX_FILTERBITMAP"};
  TcxCustomLookAndFeelPainter* p = cxLookAndFeelPaintersManager()->PainterForName("UltraFlat");
  std::vector<QImage> drawn;
  for (int kind = 0; kind <= 7; ++kind) {
    // An odd-sized cell: the 8 x 9 image lands at ((21 - 8) div 2, (20 - 9) div 2) = (6, 5).
    TSurface s(21, 20, TColor(0x0000FF));
    p->PaintIndicatorGlyph(s.Canvas.get(), TRect(0, 0, 21, 20), kind);
    const QImage img = s.Image();
    if (kind == 0 || kind == 7) {
      TSurface blank(21, 20, TColor(0x0000FF));
      EXPECT_EQ(img, blank.Image()) << "kind " << kind << " draws nothing";
      continue;
    }
    TBitmap source;
    source.LoadFromResourceName(names[kind - 1]);
    const QImage src = source.ToImage();
    ASSERT_EQ(src.size(), QSize(8, 9));
    int ink = 0;
    for (int y = 0; y < 20; ++y)
      for (int x = 0; x < 21; ++x) {
        const bool inside = x >= 6 && x < 14 && y >= 5 && y < 14;
        const uint32_t want = inside && (src.pixel(x - 6, y - 5) & 0xFFFFFF) != 0xFFFFFF
                                  ? src.pixel(x - 6, y - 5) & 0xFFFFFF
                                  : 0xFF0000u;  // white is transparent: the red background stays
        ASSERT_EQ(img.pixel(x, y) & 0xFFFFFF, want) << "kind " << kind << " at " << x << "," << y;
        ink += want != 0xFF0000u;
      }
    EXPECT_GT(ink, 4) << "kind " << kind;
    for (const QImage& other : drawn) EXPECT_NE(img, other) << "kind " << kind << " is its own picture";
    drawn.push_back(img);
  }
}

TEST(Office11Painter, CellContentGradientAndHotLine) {
  TSchemeUnits units(u"HomeStead");
  TcxOffice11LookAndFeelPainter* o = Office11();
  const TColor first = 0x91BAAF, light = 0xE4F1F2, mid = MixColors(first, light, 50);
  const TRect cell(5, 5, 45, 25);
  struct TCase {
    TcxElementState State;
    bool Flat;
    int X, Y;
    TColor Want;  // clNone: untouched white
    const char* What;
  };
  const TCase cases[] = {
      {esNormal, false, 20, 5, mid, "the top in the middle colour"},
      {esNormal, false, 20, 21, mid, "down to the last four rows, where the gradient starts"},
      {esNormal, false, 44, 24, light, "its last row is the light colour"},
      {esNormal, true, 20, 24, mid, "flat: one colour to the bottom"},
      {esHot, true, 20, 10, first, "hot: the header gradient's first colour"},
      {esHot, false, 20, 21, first, "both ends the same"},
      {esHot, false, 4, 23, 0xC2EEFF, "the hot line starts one pixel left, in the hot-button colour"},
      {esHot, false, 44, 25, 0x94E6FB, "and ends below the cell in the hot accent"},
      {esHot, false, 3, 24, clNone, "nothing further left"},
      {esHot, false, 20, 26, clNone, "nor further down"},
      {esNormal, false, 4, 24, clNone, "a cell that is not hot has no line"},
  };
  for (const TCase& c : cases) {
    TSurface s(50, 30);
    o->DrawCellContent(s.Canvas.get(), cell, cell, c.State, haLeft, vaCenter, false, false, {}, nullptr, clDefault,
                       clRed, {}, c.Flat);
    EXPECT_EQ(s.At(c.X, c.Y), c.Want == clNone ? 0xFFFFFFu : Rgb(c.Want)) << c.What;
  }
  // A handler that paints the background leaves it to the handler; the hot line still comes.
  TSurface s(50, 30);
  o->DrawCellContent(s.Canvas.get(), cell, cell, esHot, haLeft, vaCenter, false, false, {}, nullptr, clDefault, clRed,
                     [](TcxCanvas*, const TRect&) { return true; }, false);
  EXPECT_EQ(s.At(20, 10), 0xFFFFFFu);
  EXPECT_EQ(s.At(20, 23), Rgb(0xC2EEFF));
}

TEST(Office11Painter, ExpandButtonBlendsItsCorners) {
  TcxOffice11LookAndFeelPainter* o = Office11();
  // Blue under the glyph, except a red pixel under its top-left corner.
  TSurface s(20, 20, TColor(0xFF0000));
  s.Canvas->SetPixelColor(3, 3, clRed);
  o->PaintExpandButton(s.Canvas.get(), TRect(3, 3, 14, 14), false, clDefault);
  const TColor firstCorner = TColor(RGB(158, 174, 191)), secondCorner = TColor(RGB(46, 70, 95));
  EXPECT_EQ(s.At(3, 3), Rgb(MixColors(firstCorner, clRed, 25)));
  for (auto [x, y] : {std::pair{13, 3}, {3, 13}, {13, 13}})
    EXPECT_EQ(s.At(x, y), Rgb(MixColors(secondCorner, TColor(0xFF0000), 25))) << x << "," << y;
  Office11ColorsAddRef();
  const QImage plus = Office11ExpandButtonPlusBitmap->ToImage();
  Office11ColorsRelease();
  for (auto [x, y] : {std::pair{5, 5}, {5, 3}, {1, 1}, {9, 9}, {0, 5}})
    EXPECT_EQ(s.At(3 + x, 3 + y), plus.pixel(x, y) & 0xFFFFFF) << "the plus glyph at " << x << "," << y;
  EXPECT_EQ(s.At(14, 14), Rgb(TColor(0xFF0000))) << "nothing outside the glyph";
  // The small expand button is the same glyph.
  TSurface t(20, 20, TColor(0xFF0000));
  t.Canvas->SetPixelColor(3, 3, clRed);
  o->PaintSmallExpandButton(t.Canvas.get(), TRect(3, 3, 14, 14), false, clBlack, clWhite);
  EXPECT_EQ(t.Image(), s.Image());
}

TEST(Office11Painter, UltraFlatRowsOutlinesAndSections) {
  auto* u = dynamic_cast<TcxUltraFlatLookAndFeelPainter*>(cxLookAndFeelPaintersManager()->PainterForName("UltraFlat"));
  ASSERT_NE(u, nullptr);
  struct TCase {
    TcxElementState State;
    int Index;
    TColor Color;
    int X, Y;
    TColor Want;
    const char* What;
  };
  // Buttons of a row of three, 20 x 10 at (5, 5).
  const TCase cases[] = {
      {esNormal, 1, clDefault, 5, 9, clBtnShadow, "a normal button is framed"},
      {esNormal, 1, clRed, 10, 5, clRed, "in the given colour"},
      {esDisabled, 1, clDefault, 24, 14, clBtnShadow, "so is a disabled one"},
      {esHot, 1, clDefault, 5, 9, clHighlight, "a lit middle button marks its left neighbour"},
      {esHot, 1, clDefault, 24, 9, clHighlight, "and its right one"},
      {esHot, 1, clDefault, 10, 5, HighlightMixLight(), "but not its top"},
      {esPressed, 0, clDefault, 5, 9, HighlightMixStrong(), "the first button has no left neighbour"},
      {esPressed, 0, clDefault, 24, 9, clHighlight, ""},
      {esDefault, 2, clDefault, 24, 9, clBtnFace, "the last has no right one"},
  };
  for (const TCase& c : cases) {
    TSurface s(30, 20);
    u->PaintPlainButton(s.Canvas.get(), TRect(5, 5, 25, 15), c.State, 3, c.Index, c.Color);
    EXPECT_EQ(s.At(c.X, c.Y), Rgb(c.Want)) << c.What;
  }
  struct TOutline {
    bool Pressed, Hot;
    TColor Want;
  };
  for (const TOutline& c : {TOutline{true, true, clBtnText}, {false, true, clHighlight}, {false, false, clBtnShadow}}) {
    TSurface s(20, 20);
    u->PaintButtonOutline(s.Canvas.get(), TRect(2, 2, 12, 12), c.Pressed, c.Hot);
    EXPECT_EQ(s.At(2, 7), Rgb(c.Want));
    EXPECT_EQ(s.At(6, 6), 0xFFFFFFu);
  }
  // Header sections: a black ring (grey when disabled) and a hot face in the hot colour.
  TSurface s(40, 20);
  u->PaintHeaderSection(s.Canvas.get(), TRect(0, 0, 40, 20), TRect(2, 2, 38, 18), {}, cxBordersAll, esHot, haLeft,
                        vaCenter, false, false, {}, nullptr, clDefault, clRed);
  EXPECT_EQ(s.At(0, 10), 0x000000u);
  EXPECT_EQ(s.At(20, 10), Rgb(HighlightMixLight()));
  u->PaintHeaderSection(s.Canvas.get(), TRect(0, 0, 40, 20), TRect(2, 2, 38, 18), {}, cxBordersAll, esNormal, haLeft,
                        vaCenter, false, false, {}, nullptr, clDefault, clRed);
  EXPECT_EQ(s.At(20, 10), Rgb(clRed)) << "a normal section keeps its colour";
  u->PaintHeaderSectionFrame(s.Canvas.get(), TRect(0, 0, 40, 20), cxBordersAll, esDisabled);
  EXPECT_EQ(s.At(39, 10), Rgb(clBtnShadow));
  // The filter button: its arrow is blue while the filter is active.
  TSurface f(20, 20);
  u->PaintFilterDropDownButton(f.Canvas.get(), TRect(0, 0, 15, 20), esNormal, true);
  EXPECT_EQ(f.At(0, 10), Rgb(clBtnShadow));
  EXPECT_EQ(f.At(7, 11), 0x0000FFu);
  // The preview area: the shadow colour lifted by a third towards white.
  TSurface p(10, 10);
  u->PaintPreviewArea(p.Canvas.get(), TRect(0, 0, 10, 10));
  const TColor shadow = ColorToRGB(clBtnShadow);
  const uint32_t r = GetRValue(shadow), g = GetGValue(shadow), b = GetBValue(shadow);
  EXPECT_EQ(p.At(5, 5), ((r + (255 - r) / 3) << 16) | ((g + (255 - g) / 3) << 8) | (b + (255 - b) / 3));
}

TEST(Office11Painter, MonthHeaderNavButtonsAndGroupBoxes) {
  TVisualStylesAbsent styles;
  TcxOffice11LookAndFeelPainter* o = Office11();
  TSurface m(120, 20);
  o->PaintMonthHeader(m.Canvas.get(), TRect(0, 0, 120, 20), {}, {}, TcxViewParams{clRed}, 0, 0);
  EXPECT_EQ(m.At(0, 0), 0xFFFFFFu) << "a one-pixel rim is left";
  EXPECT_EQ(m.At(119, 19), 0xFFFFFFu);
  EXPECT_EQ(m.At(1, 1), 0xFF0000u);
  EXPECT_EQ(m.At(118, 18), 0xFF0000u);
  bool customised = false;
  o->PaintMonthHeader(m.Canvas.get(), TRect(0, 0, 120, 20), {}, {}, TcxViewParams{clBlue}, 0, 0,
                      [&](TcxCanvas*, const TRect& R) { return customised = R == TRect(1, 1, 119, 19); });
  EXPECT_TRUE(customised);
  EXPECT_EQ(m.At(60, 10), 0xFF0000u) << "the handler painted it";

  for (TcxElementState st : {esNormal, esHot, esPressed}) {
    TSurface n(20, 20);
    o->DrawNavButtonFace(n.Canvas.get(), TRect(0, 0, 15, 20), TRect(4, 4, 10, 16), true, st);
    EXPECT_EQ(n.At(0, 10), Rgb(o->ViewColor42())) << "the open side is framed";
    EXPECT_EQ(n.At(14, 10), Rgb(o->ButtonFaceColor(st))) << "the side against the month is not";
  }
  TSurface c(20, 20);
  o->PaintCalendarFrame(c.Canvas.get(), TRect(0, 0, 20, 20));
  EXPECT_EQ(c.At(0, 7), Rgb(o->ViewColor42()));

  // Without visual styles the group box is UltraFlat's.
  TSurface g(30, 30);
  o->PaintGroupBoxFrame(g.Canvas.get(), TRect(0, 0, 30, 30), true, 0, cxBordersAll);
  EXPECT_EQ(g.At(0, 15), Rgb(clHighlight));
  o->PaintGroupBoxBackground(g.Canvas.get(), nullptr, TRect(0, 0, 30, 30), clRed, clDefault);
  EXPECT_EQ(g.At(15, 29), 0xFF0000u) << "one colour fills";
  o->PaintGroupBoxBackground(g.Canvas.get(), nullptr, TRect(0, 0, 30, 30), clBlack, clWhite);
  EXPECT_EQ(g.At(15, 0), 0x000000u) << "two run top to bottom";
  EXPECT_GT(g.At(15, 29) & 0xFF, 0xF0u);
}

// The Office11 painter in the blue scheme, for a person to look at: buttons, headers, cells,
// expand buttons, navigation buttons, a month header, separators and the indicator glyphs.
TEST(Office11Painter, BlueSchemeSheet) {
  TSchemeUnits units(u"NormalColor");
  TcxOffice11LookAndFeelPainter* o = Office11();
  TSurface s(420, 200, TColor(0xFFFFFF));
  TcxCanvas* c = s.Canvas.get();
  const TcxElementState states[] = {esDefault, esNormal, esHot, esPressed, esDisabled};
  for (int k = 0; k < 5; ++k) {
    const int x = 8 + k * 80;
    o->PaintButton(c, TRect(x, 8, x + 72, 31), "Button", states[k]);
    o->PaintHeader(c, TRect(x, 40, x + 72, 60), TRect(x + 4, 40, x + 68, 60), TcxBorders{bLeft, bRight}, cxBordersAll,
                   states[k], haLeft, vaCenter, false, true, "Header", nullptr, clBtnText, clBtnFace);
    o->DrawNavButtonFace(c, TRect(x, 68, x + 15, 86), TRect(x + 4, 72, x + 10, 82), false, states[k]);
    o->PaintPlainButton(c, TRect(x + 20, 68, x + 40, 86), states[k], 3, 1);
    o->PaintFilterDropDownButton(c, TRect(x + 44, 68, x + 59, 86), states[k], k == 3);
    o->PaintCheckBox(c, TRect(x, 92, x + 13, 105), states[k], cbsChecked);
  }
  o->PaintExpandButton(c, TRect(8, 114, 19, 125), false, clDefault);
  o->PaintExpandButton(c, TRect(24, 114, 35, 125), true, clDefault);
  for (int kind = 1; kind <= 6; ++kind) o->PaintIndicatorGlyph(c, TRect(40 + kind * 14, 112, 52 + kind * 14, 126), kind);
  o->DrawSeparator(c, TRect(140, 112, 240, 126), true);
  o->PaintSortMark(c, TRect(250, 112, 262, 124), true);
  o->PaintSortMark(c, TRect(266, 112, 278, 124), false);
  o->PaintMonthHeader(c, TRect(8, 134, 200, 154), "December 2026", {}, TcxViewParams{o->ViewColor9()}, 3, 12);
  o->PaintCalendarFrame(c, TRect(6, 132, 202, 156));
  o->DrawControlBorder(c, TRect(210, 134, 300, 160));
  o->PaintPreviewBackground(c, TRect(310, 112, 410, 190));
  o->PaintGroupRow(c, TRect(8, 164, 200, 184), false, esNormal);
  o->PaintSizeGripGlyph(c, TRect(210, 166, 230, 186));
  ASSERT_TRUE(s.Image().save(QString::fromStdString((SheetDir() / "painter-Office11-blue.png").string())));
}

// With visual styles the group box is the native painter's; the navigator buttons always are.
TEST(Office11Painter, BorrowsFromTheNativePainter) {
  TVisualStylesAbsent styles;
  auto same = [](const std::function<void(TcxCustomLookAndFeelPainter*, TcxCanvas*)>& Draw) {
    TSurface a(40, 40), b(40, 40);
    Draw(Office11(), a.Canvas.get());
    Draw(cxLookAndFeelPaintersManager()->PainterForKind(psNative), b.Canvas.get());
    return a.Image() == b.Image();
  };
  auto groupBox = [](TcxCustomLookAndFeelPainter* p, TcxCanvas* c) {
    p->PaintGroupBoxFrame(c, TRect(2, 2, 38, 38), true, 0, cxBordersAll);
  };
  for (TcxElementState st : {esNormal, esHot, esPressed})
    EXPECT_TRUE(same([st](TcxCustomLookAndFeelPainter* p, TcxCanvas* c) {
      p->PaintNavigatorButton(c, TRect(2, 2, 30, 20), st);
    })) << int(st);
  EXPECT_FALSE(same(groupBox)) << "without visual styles the group box is UltraFlat's";
  TSchemeUnits units(u"NormalColor");
  EXPECT_TRUE(same(groupBox));
  EXPECT_EQ(Office11()->GroupBoxTextColor(false),
            cxLookAndFeelPaintersManager()->PainterForKind(psNative)->GroupBoxTextColor(false));
}

// A header draws its frame, then the cell with its hot line over the frame's bottom row; a
// header item draws the cell first and the frame over it. Handlers of the header are dropped.
TEST(Office11Painter, HeaderCompositions) {
  TSchemeUnits units(u"HomeStead");
  TcxOffice11LookAndFeelPainter* o = Office11();
  const TRect r(0, 0, 60, 20);
  auto handler = [](TcxCanvas*, const TRect&) { return true; };
  TSurface header(60, 20), item(60, 20), normal(60, 20), pressed(60, 20);
  o->PaintHeader(header.Canvas.get(), r, r, {}, cxBordersAll, esHot, haLeft, vaCenter, false, false, {}, nullptr,
                 clDefault, clRed, handler);
  o->PaintHeaderItem(item.Canvas.get(), r, r, {}, cxBordersAll, esHot, haLeft, vaCenter, false, false, {}, nullptr,
                     clDefault, clRed, handler);
  EXPECT_EQ(header.At(30, 19), Rgb(0x94E6FB)) << "the hot line covers the frame's bottom row";
  EXPECT_EQ(item.At(30, 19), Rgb(o->HeaderDarkColor())) << "the item's frame comes last";
  EXPECT_EQ(header.At(30, 8), Rgb(0x91BAAF)) << "the handler was not asked: the hot fill is there";
  EXPECT_EQ(item.At(30, 8), 0xFFFFFFu) << "the item passes its handler on";
  o->PaintHeaderSection(normal.Canvas.get(), r, r, {}, cxBordersAll, esNormal, haLeft, vaCenter, false, false, {},
                        nullptr, clDefault, clRed);
  o->PaintHeaderSection(pressed.Canvas.get(), r, r, {}, cxBordersAll, esPressed, haLeft, vaCenter, false, false, {},
                        nullptr, clDefault, clRed);
  for (auto [x, y] : {std::pair{30, 8}, {0, 10}, {59, 10}})
    EXPECT_EQ(pressed.At(x, y), ~normal.At(x, y) & 0xFFFFFFu) << "a pressed section is inverted at " << x << "," << y;
  // The separator: a dark line and a light one beside it.
  TSurface sep(20, 20);
  o->DrawSeparator(sep.Canvas.get(), TRect(0, 0, 20, 20), true);
  EXPECT_EQ(sep.At(10, 9), Rgb(o->HeaderDarkColor()));
  EXPECT_EQ(sep.At(10, 10), Rgb(o->HeaderHighlightColor()));
  EXPECT_EQ(sep.At(10, 11), 0xFFFFFFu);
}
