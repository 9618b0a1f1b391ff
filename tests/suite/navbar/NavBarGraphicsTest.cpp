// The navigation bar's look resources: the style-sheet reader on texts, the colour sets by
// desktop colour scheme, the shared sets' reference counting, and the signs and cursors drawn at
// build time.
#include <gtest/gtest.h>

#include <QCursor>
#include <QImage>
#include <QPixmap>
#include <set>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/Graphics.h"
#include "platform/win/QtWindows.h"
#include "platform/win/VisualStyles.h"
#include "platform/win/Windows.h"
#include "suite/core/VisualStyleState.h"
#include "suite/core/dxCore.h"
#include "suite/core/dxOffice11.h"
#include "suite/navbar/dxNavBarGraphics.h"

namespace {

struct TFontCase {
  const char* Sheet;
  const char* Selector;
  bool StartBold, StartUnderline;
  int Size;
  bool Bold, Underline;
  TColor Color;
};

}  // namespace

TEST(StyleSheetParser, AppliesFontRules) {
  const TColor start = 0x123456;
  const TFontCase cases[] = {
      // Black is never applied; only the size's digits count.
      {"body { font-size: 8pt; color: #000000 }", "BODY ", false, false, 8, false, false, start},
      {"a { text-decoration: none }", "A ", false, true, 10, false, false, start},
      {"A:HOVER { TEXT-DECORATION: UNDERLINE }", "a:hover ", false, false, 10, false, true, start},
      {"  \r\n.x { font-weight: bold; color: #1E90A0 }\r\n", ".X ", false, false, 10, true, false, 0xA0901E},
      {"p { font-weight: Normal; color: navy }", "P ", true, false, 10, false, false, clNavy},
      // The selector must be followed by its space; "BODY{" is another rule.
      {"BODY{font-size:20pt;font-weight:bold}", "BODY ", false, false, 10, false, false, start},
      // Without ";" the value ends at "}"; an unknown colour and a short hexadecimal one are none.
      {"h { font-size: 14px }\nh2 { color: mauvish }", "H ", false, false, 14, false, false, start},
      {"h2 { color: #12 }", "H2 ", false, false, 10, false, false, start},
      // The first matching line wins.
      {"b { font-size: 9pt }\nb { font-size: 11pt }", "B ", false, false, 9, false, false, start},
  };
  for (const TFontCase& c : cases) {
    SCOPED_TRACE(c.Sheet);
    TFont font;
    font.SetSize(10);
    font.SetColor(start);
    TFontStyles style;
    if (c.StartBold) style.Include(fsBold);
    if (c.StartUnderline) style.Include(fsUnderline);
    font.SetStyle(style);
    TdxStyleSheetParser(c.Sheet).ApplyFont(&font, c.Selector);
    EXPECT_EQ(font.Size(), c.Size);
    EXPECT_EQ(font.Style().Contains(fsBold), c.Bold);
    EXPECT_EQ(font.Style().Contains(fsUnderline), c.Underline);
    EXPECT_EQ(font.Color(), c.Color);
  }
}

TEST(StyleSheetParser, BorderColourAndValues) {
  const TdxStyleSheetParser parser(
      ".learnAboutBox { border: 1px solid '#C08040'; padding: 2px }\n.plain { margin: 0 }");
  TColor color = clRed;
  parser.GetBorderColor(color, ".LEARNABOUTBOX");
  EXPECT_EQ(color, TColor(RGB(0xC0, 0x80, 0x40))) << "quotes and the words before the # do not matter";
  color = clRed;
  parser.GetBorderColor(color, ".missing");
  EXPECT_EQ(color, clRed) << "no rule, no change";
  EXPECT_EQ(TdxStyleSheetParser::GetValue("a{Color:red;x:y}", "COLOR:"), "red");
  EXPECT_EQ(TdxStyleSheetParser::GetValue("a{color:red}", "COLOR:"), "red");
  EXPECT_EQ(TdxStyleSheetParser::GetValue("a{color:red", "COLOR:"), "red");
  EXPECT_EQ(TdxStyleSheetParser::GetValue("a{color:red}", "FONT:"), "");
  EXPECT_EQ(TdxStyleSheetParser("").Lines().size(), 0u);
}

TEST(NavBarLookResources, ShellStyleFontsOrderedBySelector) {
  TdxNavBarShellStyleResources& set = ShellStyleResources();
  set.Acquire();
  set.ApplyStyleSheet(
      "body { font-size: 9pt; color: #102030 }\n"
      "a { color: #0000FF }\n"
      ".learnaboutcaption { font-weight: bold }\n"
      "a:hover { text-decoration: underline; color: #FF0000 }\n"
      ".learnaboutbox { border: 1px solid #808080 }");
  EXPECT_EQ(set.CaptionFont()->Size(), 9);
  EXPECT_EQ(set.CaptionFont()->Color(), TColor(RGB(0x10, 0x20, 0x30)));
  EXPECT_TRUE(set.CaptionFont()->Style().Contains(fsBold));
  EXPECT_FALSE(set.CaptionFont()->Style().Contains(fsUnderline));
  EXPECT_TRUE(set.HotCaptionFont()->Style().Contains(fsBold));
  EXPECT_TRUE(set.HotCaptionFont()->Style().Contains(fsUnderline));
  EXPECT_EQ(set.HotCaptionFont()->Color(), clRed);
  EXPECT_EQ(set.LinkFont()->Color(), clBlue);
  EXPECT_FALSE(set.LinkFont()->Style().Contains(fsBold));
  EXPECT_TRUE(set.HotLinkFont()->Style().Contains(fsUnderline));
  EXPECT_EQ(set.HotLinkFont()->Color(), clRed);
  EXPECT_EQ(set.BorderColor(), TColor(0x808080));
  set.Release();
}

TEST(NavBarLookResources, ShellStyleWithoutTheShellModule) {
  TdxNavBarShellStyleResources& set = ShellStyleResources();
  set.Acquire();
  EXPECT_EQ(set.Module(), nullptr);
  for (int i = 0; i < TdxNavBarShellStyleResources::BitmapCount; ++i) EXPECT_TRUE(set.Bitmap(i)->Empty()) << i;
  NONCLIENTMETRICS metrics;
  ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0));
  TFont message;
  message.SetHandle(CreateFontIndirect(&metrics.lfMessageFont));
  for (TFont* f : {set.LinkFont(), set.HotLinkFont(), set.CaptionFont(), set.HotCaptionFont()}) {
    EXPECT_EQ(f->Name(), message.Name());
    EXPECT_EQ(f->Size(), message.Size());
    EXPECT_TRUE(f->Style().Empty());
  }
  EXPECT_EQ(set.BorderColor(), clNone);
  set.Release();
  EXPECT_EQ(set.LinkFont(), nullptr) << "the last user frees the set";
}

TEST(NavBarLookResources, AdvExplorerBarColoursFollowTheScheme) {
  const TColor highlight = ColorToRGB(clHighlight);
  auto expectSystemColumn = [&](const TdxNavBarAdvExplorerBarResources& s) {
    EXPECT_EQ(s.BackColor, ColorToRGB(clInactiveCaption));
    EXPECT_EQ(s.BackColor2, ColorToRGB(clInactiveCaption));
    EXPECT_EQ(s.LinkColor, HighlightTint(-50));
    EXPECT_EQ(s.HotLinkColor, Light80(HighlightTint(-50)));
    EXPECT_EQ(s.GroupBackColor, Light40(clInactiveCaption));
    EXPECT_EQ(s.CaptionBackColor, ColorToRGB(clWindow));
    EXPECT_EQ(s.CaptionBackColor2, Light40(clHighlight));
    EXPECT_EQ(s.SpecialCaptionBackColor, highlight);
    EXPECT_EQ(s.SignColor, s.LinkColor) << "normal groups sign in the link colour";
    EXPECT_EQ(s.HotSignColor, s.HotLinkColor);
    EXPECT_EQ(s.SpecialSignColor, highlight);
    EXPECT_EQ(s.SpecialHotSignColor, highlight);
    EXPECT_EQ(s.SpecialCaptionTextColor, ColorToRGB(clCaptionText));
    EXPECT_EQ(s.SpecialHotCaptionTextColor, ColorToRGB(clCaptionText));
  };
  TdxNavBarAdvExplorerBarResources& set = AdvExplorerBarResources();
  {
    TVisualStylesAbsent absent;
    set.Acquire();
    expectSystemColumn(set);
    set.Release();
  }
  {
    TVisualStylesOn on;
    SetVisualStyleColorName("Royale");
    set.Acquire();
    SCOPED_TRACE("an unknown scheme with visual styles active");
    expectSystemColumn(set);
    SetVisualStyleColorName("NormalColor");
    set.Refresh();
    EXPECT_EQ(set.BackColor, TColor(0xE7A27B));
    EXPECT_EQ(set.BackColor2, TColor(0xD67563));
    EXPECT_EQ(set.LinkColor, TColor(0xC65D21));
    EXPECT_EQ(set.HotLinkColor, TColor(0xFF8E42));
    EXPECT_EQ(set.GroupBackColor, TColor(0xF7DFD6));
    EXPECT_EQ(set.SpecialCaptionBackColor2, TColor(0xCE5D29));
    EXPECT_EQ(set.SignColor, TColor(0xA53C00));
    EXPECT_EQ(set.SpecialSignColor, TColor(0xA53C00));
    EXPECT_EQ(set.SpecialHotSignColor, TColor(0xFF8E42));
    EXPECT_EQ(set.SpecialCaptionTextColor, TColor(0xFFFFFF));
    EXPECT_EQ(set.SpecialHotCaptionTextColor, TColor(0xFF8E42));
    SetVisualStyleColorName("Metallic");
    set.Refresh();
    EXPECT_EQ(set.SpecialHotCaptionTextColor, TColor(0xE6E6E6));
    set.Release();
    SetVisualStyleColorName("NormalColor");
  }
}

TEST(NavBarLookResources, Office11ColoursNeedAnActiveStyle) {
  TdxNavBarOffice11Resources& set = Office11NavBarResources();
  {
    TVisualStylesAbsent absent;
    set.Acquire();
    EXPECT_EQ(set.BackColor2, MixColors(clBtnFace, clWindow, 100));
    EXPECT_EQ(set.GroupBorderColor, MixColors(clBtnFace, clWindow, 5));
    EXPECT_EQ(set.LinkTextColor, TColor(0xFF0000));
    set.Release();
  }
  TVisualStylesOn on;
  SetVisualStyleColorName("HomeStead");
  set.Acquire();
  EXPECT_EQ(set.BackColor, TColor(0xE7F2F3));
  EXPECT_EQ(set.CaptionTextColor, TColor(0x466B5A));
  set.Release();
  SetVisualStyleColorName("NormalColor");
}

TEST(NavBarLookResources, SharedByCounting) {
  TdxNavBarAdvExplorerBarResources& set = AdvExplorerBarResources();
  ASSERT_EQ(set.Users(), 0);
  set.Refresh();
  EXPECT_EQ(set.CollapseSignBitmap, nullptr) << "an unused set loads nothing on refresh";
  set.Acquire();
  TBitmap* first = set.CollapseSignBitmap.get();
  ASSERT_NE(first, nullptr);
  set.Acquire();
  EXPECT_EQ(set.CollapseSignBitmap.get(), first) << "a second user only counts";
  set.Refresh();
  ASSERT_NE(set.CollapseSignBitmap, nullptr);
  EXPECT_EQ(set.CollapseSignBitmap->Width(), 22) << "reloaded while in use";
  set.Release();
  EXPECT_NE(set.ExpandSignBitmap, nullptr);
  set.Release();
  EXPECT_EQ(set.ExpandSignBitmap, nullptr);
  set.Release();
  EXPECT_EQ(set.Users(), 0) << "a release too many is ignored";
}

// The signs: the key colour around, pure blue where the glyph goes, grey levels elsewhere; the
// chevrons point up on the collapse sign and down on the expand sign.
TEST(NavBarLookResources, CaptionSignBitmaps) {
  TdxNavBarAdvExplorerBarResources& set = AdvExplorerBarResources();
  set.Acquire();
  for (bool collapse : {true, false}) {
    SCOPED_TRACE(collapse ? "collapse" : "expand");
    TBitmap* bitmap = collapse ? set.CollapseSignBitmap.get() : set.ExpandSignBitmap.get();
    ASSERT_EQ(bitmap->Width(), 22);
    ASSERT_EQ(bitmap->Height(), 22);
    std::vector<uint32_t> pixels;
    ASSERT_TRUE(ReadBitmapColors(bitmap, pixels, true));
    const uint32_t key = pixels[0] & 0xFFFFFF;
    int keys = 0, greys = 0, firstBlueRow = -1, lastBlueRow = -1;
    std::set<int> firstRowColumns, lastRowColumns;
    for (int y = 0; y < 22; ++y)
      for (int x = 0; x < 22; ++x) {
        const uint32_t p = pixels[y * 22 + x] & 0xFFFFFF;
        const int r = p >> 16, g = (p >> 8) & 0xFF, b = p & 0xFF;
        if (p == key) ++keys;
        else if (p == 0x0000FF) {
          if (firstBlueRow < 0) firstBlueRow = y;
          if (y == firstBlueRow) firstRowColumns.insert(x);
          if (y != lastBlueRow) lastRowColumns.clear();
          lastBlueRow = y;
          lastRowColumns.insert(x);
        } else {
          EXPECT_TRUE(r == g && g == b) << x << "," << y;
          ++greys;
        }
      }
    EXPECT_FALSE(key == 0x0000FF || ((key >> 16) == (key & 0xFF) && ((key >> 8) & 0xFF) == (key & 0xFF)))
        << "the key is neither the glyph nor a grey";
    EXPECT_GT(keys, 40);
    EXPECT_GT(greys, 200);
    const std::set<int> tips{10, 11}, ends{7, 14};
    EXPECT_EQ(collapse ? firstRowColumns : lastRowColumns, tips) << "the chevrons' tips";
    EXPECT_EQ(collapse ? lastRowColumns : firstRowColumns, ends) << "the arms' ends";
  }
  set.Release();
}

TEST(NavBarLookResources, CursorsInstalled) {
  const struct {
    int Id;
    bool Hand;
  } cases[] = {{-1118, true}, {-1120, false}, {-1119, false}};
  std::set<HCURSOR> seen;
  QImage drag;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Id);
    HCURSOR handle = Screen->Cursors(c.Id);
    ASSERT_NE(handle, Screen->Cursors(crDefault));
    seen.insert(handle);
    QCursor cursor;
    ASSERT_TRUE(CursorFromHandle(handle, &cursor));
    const QImage image = cursor.pixmap().toImage();
    ASSERT_EQ(image.size(), QSize(32, 32));
    const QPoint hot = cursor.hotSpot();
    EXPECT_EQ(qAlpha(image.pixel(hot)), 255) << "the hot spot is on the picture";
    EXPECT_EQ(qAlpha(image.pixel(31, 0)), 0) << "transparent around it";
    if (c.Id == -1120) drag = image;
    if (c.Id == -1119) {
      int differing = 0;
      for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) differing += image.pixel(x, y) != drag.pixel(x, y);
      EXPECT_GT(differing, 20) << "the copy cursor adds its plus";
    }
  }
  EXPECT_EQ(seen.size(), 3u);
}
