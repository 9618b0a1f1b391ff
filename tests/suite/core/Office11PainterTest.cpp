// The UltraFlat and Office11 painters: the Office 2003 colour roles per scheme, cell content and
// expand buttons read back as pixels, and the indicator images.
#include <gtest/gtest.h>

#include <QImage>
#include <memory>
#include <string>

#include "platform/sys/Modules.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/cxSuiteUnits.h"
#include "suite/core/dxOffice11.h"
#include "suite/core/dxThemeManager.h"

namespace {

uint32_t Rgb(TColor c) {
  uint32_t v = uint32_t(ColorToRGB(c)) & 0xFFFFFF;
  return ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF);
}

struct TSurface {
  TBitmap Bitmap;
  std::unique_ptr<TcxCanvas> Canvas;
  TSurface(int w, int h, TColor back = TColor(0xFFFFFF)) {
    Bitmap.SetSize(w, h);
    Canvas = std::make_unique<TcxCanvas>(Bitmap.Canvas());
    Canvas->FillRectWithColor(TRect(0, 0, w, h), back);
  }
  QImage Image() { return Bitmap.ToImage(); }
  uint32_t At(int x, int y) { return Image().pixel(x, y) & 0xFFFFFF; }
};

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
