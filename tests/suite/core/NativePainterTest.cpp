// The native painter: without visual styles it draws and measures as the Standard painter does
// (or the base where Standard keeps the base's behaviour), apart from its own values; with a
// stand-in visual-style library it asks for the parts and states of its table.
#include <gtest/gtest.h>

#include <QImage>
#include <functional>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "platform/sys/Modules.h"
#include "platform/win/Gdi.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/PainterTestSupport.h"
#include "suite/core/cxSuiteUnits.h"
#include "suite/core/dxThemeManager.h"
#include "suite/core/VisualStyleState.h"

namespace {

using TPainter = TcxCustomLookAndFeelPainter;

using painter_test::Painter;
using painter_test::Rgb;
TcxWinXPLookAndFeelPainter* Native() {
  return dynamic_cast<TcxWinXPLookAndFeelPainter*>(Painter("Native"));
}

// Drawn on a coloured ground, so that a pixel left untouched never passes for white.
struct TSurface : painter_test::TSurface {
  TSurface(int w = 48, int h = 40, TColor back = TColor(0x40C020)) : painter_test::TSurface(w, h, back) {}
};

// Where two drawings first differ, for the failure message.
std::string FirstDifference(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return "sizes differ";
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if ((a.pixel(x, y) & 0xFFFFFF) != (b.pixel(x, y) & 0xFFFFFF)) {
        std::ostringstream s;
        s << std::hex << "at (" << std::dec << x << "," << y << ") " << std::hex
          << (a.pixel(x, y) & 0xFFFFFF) << " vs " << (b.pixel(x, y) & 0xFFFFFF);
        return s.str();
      }
  return {};
}

using TDraw = std::function<void(const TPainter*, TcxCanvas*)>;
using TValues = std::vector<long long>;
using TMeasure = std::function<TValues(const TPainter*)>;

TValues V(TSize s) { return {s.cx, s.cy}; }
TValues V(const TRect& r) { return {r.Left, r.Top, r.Right, r.Bottom}; }
TValues V(long long v) { return {v}; }

const TcxElementState AllStates[] = {esDefault, esNormal, esHot, esPressed, esDisabled};

// ---- a stand-in visual-style library

// Each class the painter opens gets its own handle; every call is recorded, every drawn part is
// filled with a colour made of its class, part and state.
struct TFakeStyle {
  std::vector<std::u16string> Classes;
  struct TDrawn {
    std::string Class;
    int Part, State;
    TRect R;
  };
  std::vector<TDrawn> Drawn;
  struct TText {
    std::string Class, Text;
    int Part, State;
    DWORD Flags;
    TRect R;
  };
  std::vector<TText> Texts;
  std::vector<std::tuple<std::string, UINT, UINT, TRect>> Edges;
  std::map<std::pair<std::string, int>, TSize> Sizes;   // missing: the query fails
  std::map<std::pair<std::string, int>, TRect> Insets;  // missing: the query fails
  std::map<std::tuple<std::string, int, int, int>, COLORREF> Colors;
  std::map<std::pair<std::string, int>, MARGINS> Margins;
  std::vector<std::string> Refused;                      // classes that fail to open
  std::vector<std::pair<std::string, int>> Transparent;  // parts with soft edges
  TRect RegionInset;            // the part's region: its rectangle less these insets
  std::u16string ColourScheme;  // empty: the theme's name cannot be read

  std::string ClassOf(HTHEME t) const {
    std::u16string w = Classes.at(t - 1);
    return std::string(w.begin(), w.end());
  }
};
TFakeStyle* gStyle = nullptr;
constexpr HRESULT kFail = HRESULT(0x80004005u);

COLORREF PartColour(int kind, int part, int state) { return RGB(kind * 10, part * 12, state * 15); }

int KindIndex(const std::string& cls) {
  for (int k = 0; k < dxThemedObjectTypeCount; ++k)
    if (cls == dxThemedObjectClassName(TdxThemedObjectType(k))) return k;
  return 0;
}

HTHEME FakeOpen(HWND, const char16_t* list) {
  std::u16string w(list);
  for (const std::string& r : gStyle->Refused)
    if (w == std::u16string(r.begin(), r.end())) return 0;
  gStyle->Classes.push_back(w);
  return gStyle->Classes.size();
}
HRESULT FakeClose(HTHEME) { return 0; }
BOOL FakeActive() { return TRUE; }
HRESULT FakeDraw(HTHEME t, HDC dc, int part, int state, const RECT* r, const RECT*) {
  std::string cls = gStyle->ClassOf(t);
  gStyle->Drawn.push_back({cls, part, state, TRect(*r)});
  HBRUSH b = CreateSolidBrush(PartColour(KindIndex(cls), part, state));
  FillRect(dc, r, b);
  DeleteObject(b);
  return 0;
}
HRESULT FakeText(HTHEME t, HDC, int part, int state, const char16_t* text, int count, DWORD flags,
                 DWORD, const RECT* r) {
  std::u16string w = count < 0 ? std::u16string(text) : std::u16string(text, count);
  gStyle->Texts.push_back(
      {gStyle->ClassOf(t), std::string(w.begin(), w.end()), part, state, flags, TRect(*r)});
  return 0;
}
HRESULT FakeEdge(HTHEME t, HDC, int, int, const RECT* r, UINT edge, UINT flags, RECT*) {
  gStyle->Edges.emplace_back(gStyle->ClassOf(t), edge, flags, TRect(*r));
  return 0;
}
HRESULT FakePartSize(HTHEME t, HDC, int part, int, const RECT*, THEMESIZE, SIZE* s) {
  auto it = gStyle->Sizes.find({gStyle->ClassOf(t), part});
  if (it == gStyle->Sizes.end()) return kFail;
  *s = SIZE{it->second.cx, it->second.cy};
  return 0;
}
HRESULT FakeContentRect(HTHEME t, HDC, int part, int, const RECT* bounds, RECT* content) {
  auto it = gStyle->Insets.find({gStyle->ClassOf(t), part});
  if (it == gStyle->Insets.end()) return kFail;
  const TRect& i = it->second;
  *content = RECT{bounds->left + i.Left, bounds->top + i.Top, bounds->right - i.Right,
                  bounds->bottom - i.Bottom};
  return 0;
}
HRESULT FakeColor(HTHEME t, int part, int state, int prop, COLORREF* c) {
  auto it = gStyle->Colors.find({gStyle->ClassOf(t), part, state, prop});
  if (it == gStyle->Colors.end()) return kFail;
  *c = it->second;
  return 0;
}
HRESULT FakeMargins(HTHEME t, HDC, int part, int, int, const RECT*, MARGINS* m) {
  auto it = gStyle->Margins.find({gStyle->ClassOf(t), part});
  if (it == gStyle->Margins.end()) return kFail;
  *m = it->second;
  return 0;
}

BOOL FakeTransparent(HTHEME t, int part, int) {
  for (const auto& [cls, p] : gStyle->Transparent)
    if (cls == gStyle->ClassOf(t) && p == part) return TRUE;
  return FALSE;
}
HRESULT FakeRegion(HTHEME, HDC, int, int, const RECT* r, HRGN* region) {
  const TRect& i = gStyle->RegionInset;
  *region =
      CreateRectRgn(r->left + i.Left, r->top + i.Top, r->right - i.Right, r->bottom - i.Bottom);
  return 0;
}

HRESULT FakeThemeName(char16_t* file, int, char16_t* colour, int, char16_t*, int) {
  if (gStyle->ColourScheme.empty()) return kFail;
  std::u16string f = u"Luna.msstyles";
  std::copy(f.begin(), f.end(), file);
  file[f.size()] = 0;
  std::copy(gStyle->ColourScheme.begin(), gStyle->ColourScheme.end(), colour);
  colour[gStyle->ColourScheme.size()] = 0;
  return 0;
}

// Restarts the suite's units over a visual-style library the test provides, and afterwards
// over the module table as it was.
class NativeWithStyle : public ::testing::Test {
 protected:
  void SetUp() override {
    gStyle = &Style;
    FinalizeSuiteUnits();
    Guard = std::make_unique<TModuleTableGuard>();
    SetModulePresent("UxTheme.dll", true);
    SetModuleEntryAs("UxTheme.dll", "OpenThemeData", &FakeOpen);
    SetModuleEntryAs("UxTheme.dll", "CloseThemeData", &FakeClose);
    SetModuleEntryAs("UxTheme.dll", "IsThemeActive", &FakeActive);
    SetModuleEntryAs("UxTheme.dll", "DrawThemeBackground", &FakeDraw);
    SetModuleEntryAs("UxTheme.dll", "DrawThemeText", &FakeText);
    SetModuleEntryAs("UxTheme.dll", "DrawThemeEdge", &FakeEdge);
    SetModuleEntryAs("UxTheme.dll", "GetThemePartSize", &FakePartSize);
    SetModuleEntryAs("UxTheme.dll", "GetThemeBackgroundContentRect", &FakeContentRect);
    SetModuleEntryAs("UxTheme.dll", "GetThemeColor", &FakeColor);
    SetModuleEntryAs("UxTheme.dll", "GetThemeMargins", &FakeMargins);
    SetModuleEntryAs("UxTheme.dll", "IsThemeBackgroundPartiallyTransparent", &FakeTransparent);
    SetModuleEntryAs("UxTheme.dll", "GetThemeBackgroundRegion", &FakeRegion);
    SetModuleEntryAs("UxTheme.dll", "GetCurrentThemeName", &FakeThemeName);
    InitializeSuiteUnits();
    P = Native();
    ASSERT_NE(P, nullptr);
  }
  void TearDown() override {
    FinalizeSuiteUnits();
    Guard.reset();
    InitializeSuiteUnits();
    gStyle = nullptr;
  }
  // The parts drawn since the last call, as "Class part/state".
  std::vector<std::string> TakeDrawn() {
    std::vector<std::string> r;
    for (const auto& d : Style.Drawn)
      r.push_back(d.Class + " " + std::to_string(d.Part) + "/" + std::to_string(d.State));
    Style.Drawn.clear();
    return r;
  }

  TFakeStyle Style;
  std::unique_ptr<TModuleTableGuard> Guard;
  TcxWinXPLookAndFeelPainter* P = nullptr;
};

}  // namespace

// ---- without visual styles

TEST(NativePainter, WithoutStylesDrawsAsStandard) {
  TVisualStylesAbsent styles;
  ASSERT_FALSE(IsThemingAvailable());
  const TPainter* n = Painter("Native");
  const TPainter* s = Painter("Standard");
  ASSERT_TRUE(n && s);
  TFont font;
  TcxViewParams view{TColor(0xE0E0FF), nullptr, &font, TColor(0x200000)};
  const TRect r(3, 4, 41, 30);
  std::vector<std::pair<std::string, TDraw>> rows = {
      {"nav button face prev",
       [&](auto* p, auto* c) { p->DrawNavButtonFace(c, r, TRect(6, 10, 13, 17), false, esHot); }},
      {"nav button face next",
       [&](auto* p, auto* c) {
         p->DrawNavButtonFace(c, r, TRect(20, 10, 27, 17), true, esPressed);
       }},
      {"control border", [&](auto* p, auto* c) { p->DrawControlBorder(c, r); }},
      {"separator h", [&](auto* p, auto* c) { p->DrawSeparator(c, r, true); }},
      {"separator v", [&](auto* p, auto* c) { p->DrawSeparator(c, r, false); }},
      {"expand button",
       [&](auto* p, auto* c) { p->PaintExpandButton(c, TRect(2, 2, 14, 14), true, clDefault); }},
      {"expand button coloured",
       [&](auto* p, auto* c) {
         p->PaintExpandButton(c, TRect(2, 2, 14, 14), false, TColor(0x00FFFF));
         c->FillRectWithColor(TRect(0, 0, 48, 40),
                              TColor(0xFF0000));  // the button stays out of the clip
       }},
      {"group expand button",
       [&](auto* p, auto* c) { p->PaintGroupExpandButton(c, TRect(2, 2, 17, 17), false, esHot); }},
      {"header",
       [&](auto* p, auto* c) {
         p->PaintHeader(c, r, r.Inflate(-3, -3), {}, cxBordersAll, esPressed, haCenter, vaCenter,
                        false, false, "Ab", &font, clBtnText, clBtnFace);
       }},
      {"footer frame", [&](auto* p, auto* c) { p->PaintFooterFrame(c, r); }},
      {"filter close button",
       [&](auto* p, auto* c) { p->PaintFilterCloseButton(c, TRect(2, 2, 18, 16), esPressed); }},
      {"popup close button",
       [&](auto* p, auto* c) { p->PaintPopupCloseButton(c, TRect(2, 2, 16, 17), esHot); }},
      {"hint background", [&](auto* p, auto* c) { p->PaintHintBackground(c, r, clDefault); }},
      {"hint background coloured",
       [&](auto* p, auto* c) { p->PaintHintBackground(c, r, TColor(0x123456)); }},
      {"tip background", [&](auto* p, auto* c) { p->DrawTipBackground(c, r); }},
      {"size grip",
       [&](auto* p, auto* c) {
         p->PaintSizeGrip(c, TRect(0, 0, 17, 17), clBtnFace, coBottomLeft);
       }},
      {"month header",
       [&](auto* p, auto* c) {
         p->PaintMonthHeader(c, r, "May", TcxBorders{bLeft, bBottom}, view, 3, 2);
       }},
      {"progress framed",
       [&](auto* p, auto* c) { p->PaintProgressBar(c, r, TRect(5, 6, 20, 28), view, true); }},
      {"progress unframed",
       [&](auto* p, auto* c) { p->PaintProgressBar(c, r, TRect(5, 6, 20, 28), view, false); }},
      {"splitter frame h", [&](auto* p, auto* c) { p->PaintSplitterFrame(c, r, view, true); }},
      {"splitter frame v", [&](auto* p, auto* c) { p->PaintSplitterFrame(c, r, view, false); }},
      {"container background",
       [&](auto* p, auto* c) {
         TRect x = r;
         p->PaintContainerBackground(c, x);
         c->FillRectWithColor(x, TColor(0x0000FF));  // what is left for the content
       }},
      {"group box frame",
       [&](auto* p, auto* c) {
         p->PaintGroupBoxFrame(c, r, false, 0, TcxBorders{bLeft, bTop});
       }},
      {"track h", [&](auto* p, auto* c) { p->PaintTrackBarTrack(c, r, false, TColor(0xFFFFFF)); }},
      {"track v", [&](auto* p, auto* c) { p->PaintTrackBarTrack(c, r, true, TColor(0x00FFFF)); }},
      {"last header",
       [&](auto* p, auto* c) {
         p->PaintHeader(c, r, r, TcxBorders{bLeft}, cxBordersAll, esNormal, haLeft, vaTop, true,
                        true, "Wide text", &font, clBtnText, clBtnFace, {}, true, false);
       }},
      {"month header custom",
       [&](auto* p, auto* c) {
         p->PaintMonthHeader(c, r, "Jun", {}, view, 1, 0, [](TcxCanvas* cc, const TRect& b) {
           cc->FillRectWithColor(b, TColor(0x808000));
           return true;
         });
       }},
      {"footer cell",
       [&](auto* p, auto* c) {
         p->PaintFooterCell(c, r, haRight, vaBottom, false, "12", &font, clBtnText,
                            TColor(0xF0F0F0));
       }},
      {"filter drop-down active",
       [&](auto* p, auto* c) { p->PaintFilterDropDownButton(c, r, esPressed, true); }},
      {"tab strip", [&](auto* p, auto* c) { p->PaintTabStrip(c, r, TcxBorders{bTop}, false); }},
      {"tab frame", [&](auto* p, auto* c) { p->PaintTabFrame(c, r, bTop, cxBordersAll, false); }},
  };
  for (TcxElementState st : AllStates) {
    const std::string tag = " state " + std::to_string(int(st));
    // The default button's inset and the pressed caption follow its own values (below).
    if (st != esDefault && st != esPressed) {
      rows.push_back({"button" + tag, [=, &font](auto* p, auto* c) {
                        c->AssignFont(&font);
                        p->PaintButton(c, r, "OK", st);
                      }});
      rows.push_back(
          {"navigator" + tag, [=](auto* p, auto* c) { p->PaintNavigatorButton(c, r, st); }});
      rows.push_back({"toolbar button" + tag, [=](auto* p, auto* c) {
                        p->PaintButton(c, r, "", st, true, clDefault, clDefault, false, true);
                      }});
    }
    rows.push_back(
        {"arrow frame" + tag, [=](auto* p, auto* c) { p->DrawArrowButtonFrame(c, r, st); }});
    rows.push_back({"radio" + tag, [=](auto* p, auto* c) {
                      p->PaintRadioButton(c, 3, 3, st, st != esHot, st == esPressed);
                    }});
    rows.push_back({"filter drop-down" + tag,
                    [=](auto* p, auto* c) { p->PaintFilterDropDownButton(c, r, st, false); }});
    rows.push_back({"tab" + tag, [=](auto* p, auto* c) { p->PaintTab(c, r, bTop, st, false); }});
    rows.push_back(
        {"vertical tab" + tag, [=](auto* p, auto* c) { p->PaintTab(c, r, bLeft, st, true); }});
    rows.push_back(
        {"group row" + tag, [=](auto* p, auto* c) { p->PaintGroupRow(c, r, st == esHot, st); }});
    rows.push_back({"header section" + tag, [=, &font](auto* p, auto* c) {
                      p->PaintHeaderSection(c, r, r.Inflate(-2, -2), {}, cxBordersAll, st, haCenter,
                                            vaCenter, false, false, "Col", &font, clBtnText,
                                            clBtnFace);
                    }});
    rows.push_back({"group expand" + tag, [=](auto* p, auto* c) {
                      p->PaintGroupExpandButton(c, TRect(2, 2, 17, 17), true, st);
                    }});
    for (TcxCheckBoxState cs : {cbsUnchecked, cbsChecked, cbsGrayed})
      rows.push_back({"check box" + tag + " check " + std::to_string(int(cs)),
                      [=](auto* p, auto* c) { p->PaintCheckBox(c, TRect(2, 2, 15, 15), st, cs); }});
    for (TcxArrowDirection d : {adUp, adDown, adLeft, adRight})
      for (bool framed : {false, true})
        rows.push_back(
            {"arrow button" + tag + " dir " + std::to_string(int(d)) + (framed ? " framed" : ""),
             [=](auto* p, auto* c) { p->DrawArrowButton(c, TRect(2, 2, 19, 19), st, d, framed); }});
    for (bool horizontal : {true, false})
      for (TcxScrollPart part : {spLineBack, spLineForward, spThumb, spPageBack, spPageForward}) {
        const TRect pr = horizontal ? TRect(1, 2, 35, 19) : TRect(2, 1, 19, 35);
        rows.push_back(
            {"scroll part " + std::to_string(int(part)) + (horizontal ? " h" : " v") + tag,
             [=](auto* p, auto* c) { p->PaintScrollBarPart(c, horizontal, pr, part, st); }});
      }
    for (int shape = 0; shape < 3; ++shape)
      for (bool vertical : {false, true})
        rows.push_back({"thumb shape " + std::to_string(shape) + (vertical ? " v" : " h") + tag,
                        [=](auto* p, auto* c) {
                          p->PaintTrackBarThumb(c, TRect(4, 4, 16, 26), st, vertical, shape,
                                                clBtnFace);
                        }});
  }
  for (const auto& [what, draw] : rows) {
    TSurface a, b;
    draw(n, a.Canvas.get());
    draw(s, b.Canvas.get());
    EXPECT_EQ(a.Image(), b.Image()) << what << ": " << FirstDifference(a.Image(), b.Image());
  }
}

TEST(NativePainter, WithoutStylesMeasuresAsStandard) {
  TVisualStylesAbsent styles;
  const TPainter* n = Painter("Native");
  const TPainter* s = Painter("Standard");
  TSurface surface;
  std::vector<std::pair<std::string, TMeasure>> rows = {
      {"themed look", [](auto* p) { return V(p->ThemedLookFlag()); }},
      {"control border size", [](auto* p) { return V(p->ControlBorderSize()); }},
      {"separator thickness", [](auto* p) { return V(p->SeparatorThickness()); }},
      {"focus bounds",
       [&](auto* p) { return V(p->ButtonFocusBounds(surface.Canvas.get(), TRect(0, 0, 40, 20))); }},
      {"focus bounds small",
       [&](auto* p) { return V(p->ButtonFocusBounds(surface.Canvas.get(), TRect(0, 0, 6, 6))); }},
      {"expand extent", [](auto* p) { return V(p->ExpandButtonExtent()); }},
      {"group expand extent", [](auto* p) { return V(p->GroupExpandButtonExtent()); }},
      {"small expand extent", [](auto* p) { return V(p->SmallExpandButtonExtent()); }},
      {"check frame width", [](auto* p) { return V(p->CheckFrameWidth()); }},
      {"check box extent", [](auto* p) { return V(p->CheckBoxExtent()); }},
      {"radio extent", [](auto* p) { return V(p->RadioButtonExtent()); }},
      {"header frame width", [](auto* p) { return V(p->HeaderFrameWidth()); }},
      {"header inner bounds",
       [](auto* p) { return V(p->HeaderInnerBounds(TRect(0, 0, 30, 20), cxBordersAll)); }},
      {"footer frame width", [](auto* p) { return V(p->FooterFrameWidth()); }},
      {"footer cell frame width", [](auto* p) { return V(p->FooterCellFrameWidth()); }},
      {"footer cell spacing", [](auto* p) { return V(p->FooterCellSpacing()); }},
      {"footer cell bounds",
       [](auto* p) { return V(p->FooterCellTextBounds(TRect(0, 0, 30, 20))); }},
      {"filter close extent", [](auto* p) { return V(p->FilterCloseButtonExtent()); }},
      {"hint frame colour", [](auto* p) { return V(p->HintFrameColor()); }},
      {"tip description colour", [](auto* p) { return V(p->TipDescriptionColor()); }},
      {"tip title colour", [](auto* p) { return V(p->TipTitleColor()); }},
      {"min thumb h", [](auto* p) { return V(p->MinThumbLength(true)); }},
      {"min thumb v", [](auto* p) { return V(p->MinThumbLength(false)); }},
      {"size grip extent", [](auto* p) { return V(p->SizeGripExtent()); }},
      {"popup close extent", [](auto* p) { return V(p->PopupCloseButtonExtent()); }},
      {"group box text enabled", [](auto* p) { return V(p->GroupBoxTextColor(true)); }},
      {"group box text disabled", [](auto* p) { return V(p->GroupBoxTextColor(false)); }},
      {"combo border colour", [](auto* p) { return V(p->ViewColor42()); }},
      {"group button bounds",
       [](auto* p) { return V(p->GroupButtonBounds(TRect(5, 6, 30, 20), 3, 1)); }},
      {"group border widths", [](auto* p) { return V(p->ButtonGroupBorderWidths(3, 0)); }},
      {"hits group expand",
       [](auto* p) {
         return TValues{p->HitsGroupExpandButton(TRect(0, 0, 15, 15), TPoint(0, 0)),
                        p->HitsGroupExpandButton(TRect(0, 0, 15, 15), TPoint(15, 7))};
       }},
      {"filter check extent", [](auto* p) { return V(p->FilterCheckExtent()); }},
      {"paints tabs",
       [](auto* p) {
         return TValues{p->PaintsTabs(false), p->HotTracksTabs(true), p->TabFrameWidth(false)};
       }},
      {"thumb bounds",
       [&](auto* p) {
         TRect t(3, 3, 20, 30);
         p->TrackBarThumbBounds(surface.Canvas.get(), t, true, 1);
         return V(t);
       }},
      {"header height", [](auto* p) { return V(p->HeaderHeightFor(13)); }},
  };
  for (TcxElementState st : AllStates) {
    const std::string tag = " state " + std::to_string(int(st));
    rows.push_back({"face colour" + tag, [=](auto* p) { return V(p->ButtonFaceColor(st)); }});
    rows.push_back({"glyph colour" + tag, [=](auto* p) { return V(p->ButtonGlyphColor(st)); }});
    rows.push_back({"glyph colour given" + tag,
                    [=](auto* p) { return V(p->ButtonGlyphColor(st, TColor(0x123456))); }});
    rows.push_back(
        {"header section frame" + tag, [=](auto* p) { return V(p->HeaderSectionFrameWidth(st)); }});
    rows.push_back({"header section content" + tag, [=](auto* p) {
                      return V(p->HeaderSectionContentBounds(TRect(0, 0, 40, 20), st));
                    }});
    if (st != esDefault)  // its own value for the default button: see below
      rows.push_back({"border width" + tag, [=](auto* p) { return V(p->ButtonBorderWidth(st)); }});
  }
  for (const auto& [what, measure] : rows) EXPECT_EQ(measure(n), measure(s)) << what;
}

// Where its own table gives other values than Standard's, they hold without styles too.
TEST(NativePainter, OwnValuesWithoutStyles) {
  TVisualStylesAbsent styles;
  const TPainter* n = Painter("Native");
  const TPainter* s = Painter("Standard");
  EXPECT_EQ(n->KindName(), "Native");
  EXPECT_EQ(n->StyleKind(), psNative);
  EXPECT_EQ(n->ViewColor47(), TColor(0xD5FFFF));
  EXPECT_EQ(n->ButtonCaptionIndent(), 2);
  EXPECT_EQ(n->PressedCaptionShift(), 0);
  EXPECT_EQ(n->ButtonBorderWidth(esDefault), 2) << "Standard's esNormal width, for every state";
  EXPECT_TRUE(n->HotTracksButtons());
  EXPECT_EQ(n->SortMarkExtent(), (TSize{7, 8}));
  EXPECT_EQ(n->MinThumbLength(true), 8);
  EXPECT_FALSE(n->ExpandButtonBeforeContent());
  EXPECT_TRUE(n->HeaderGradientFlag());
  EXPECT_FALSE(n->FooterCellsBeforeFrame());
  EXPECT_EQ(n->ProgressBarMargins(), TRect(3, 3, 3, 3));
  for (int index : {0, 1, 2, 3, 7, -1}) {
    EXPECT_EQ(n->PopupStyleCodeA(index), 1) << index;
    EXPECT_EQ(n->PopupStyleCodeB(index), 2) << index;
  }
  EXPECT_EQ(s->PopupStyleCodeA(2), 4) << "the base's table differs";

  struct TRow {
    const char* What;
    TDraw Draw;
    TDraw Expected;  // drawn on a fresh surface
  };
  const TRow rows[] = {
      {"sort mark in one colour",
       [](auto* p, auto* c) { p->PaintSortMark(c, TRect(4, 4, 20, 20), true); },
       [](auto* p, auto* c) {
         p->DrawSortMarkWith(c, TRect(4, 4, 20, 20), clBtnShadow, clBtnShadow, true);
       }},
      {"no pressed mark",
       [](auto* p, auto* c) { p->PaintHeaderPressedMark(c, TRect(0, 0, 30, 30)); },
       [](auto*, auto*) {}},
      {"no splitter",
       [](auto* p, auto* c) { p->PaintSplitter(c, TRect(0, 0, 30, 30), true, false, true); },
       [](auto*, auto*) {}},
      {"small expand button ignores the fill",
       [](auto* p, auto* c) {
         p->PaintSmallExpandButton(c, TRect(2, 2, 11, 11), true, clBtnShadow, TColor(0xFF));
       },
       [s](auto*, auto* c) {
         s->PaintSmallExpandButton(c, TRect(2, 2, 11, 11), true, clBtnShadow, clDefault);
       }},
      {"indicator cell as Flat draws it",
       [](auto* p, auto* c) { p->PaintIndicatorCell(c, TRect(2, 2, 20, 20), 1); },
       [](auto*, auto* c) { Painter("Flat")->PaintIndicatorCell(c, TRect(2, 2, 20, 20), 1); }},
      {"group box background in the given colour",
       [](auto* p, auto* c) {
         p->PaintGroupBoxBackground(c, nullptr, TRect(2, 2, 20, 20), TColor(0x0000FF), clDefault);
       },
       [](auto*, auto* c) { c->FillRectWithColor(TRect(2, 2, 20, 20), TColor(0x0000FF)); }},
      {"group box background of a control without parent",
       [](auto* p, auto* c) {
         p->PaintGroupBoxBackground(c, nullptr, TRect(2, 2, 20, 20), clDefault, clDefault);
       },
       [](auto*, auto*) {}},
      {"popup frame of one pixel",
       [](auto* p, auto* c) {
         TRect r(2, 2, 30, 30);
         p->PaintPopupFrame(c, r, 1, true);
         c->FillRectWithColor(r, TColor(0xFF00FF));
       },
       [](auto*, auto* c) {
         c->DrawTwoToneFrame(TRect(2, 2, 30, 30), clBtnText, clBtnText, cxBordersAll, 1);
         c->FillRectWithColor(TRect(3, 3, 29, 29), TColor(0xFF00FF));
       }},
  };
  for (const TRow& row : rows) {
    TSurface a, b;
    row.Draw(n, a.Canvas.get());
    row.Expected(n, b.Canvas.get());
    EXPECT_EQ(a.Image(), b.Image()) << row.What << ": " << FirstDifference(a.Image(), b.Image());
  }

  // A pressed caption stays where Standard's moves from: one pixel up and left of it.
  TFont font;
  auto captionInk = [&](const TPainter* p) {
    TSurface with, without;
    with.Canvas->AssignFont(&font);
    p->PaintButton(with.Canvas.get(), TRect(2, 2, 46, 30), "OK", esPressed);
    p->PaintButton(without.Canvas.get(), TRect(2, 2, 46, 30), "", esPressed);
    QImage a = with.Image(), b = without.Image();
    TRect ink(a.width(), a.height(), -1, -1);
    for (int y = 0; y < a.height(); ++y)
      for (int x = 0; x < a.width(); ++x)
        if (a.pixel(x, y) != b.pixel(x, y))
          ink = TRect(std::min(ink.Left, x), std::min(ink.Top, y), std::max(ink.Right, x + 1),
                      std::max(ink.Bottom, y + 1));
    return ink;
  };
  TRect standardInk = captionInk(s);
  ASSERT_FALSE(standardInk.IsEmpty());
  EXPECT_EQ(captionInk(n), standardInk.Offset(-1, -1));
  // The default button is filled inside Standard's frame at the normal inset.
  TSurface a, b;
  n->PaintButton(a.Canvas.get(), TRect(2, 2, 40, 30), "", esDefault);
  s->PaintButtonFrame(b.Canvas.get(), TRect(2, 2, 40, 30), esDefault);
  b.Canvas->FillRectWithColor(TRect(4, 4, 38, 28), clBtnFace);
  EXPECT_EQ(a.Image(), b.Image()) << FirstDifference(a.Image(), b.Image());
}

// ---- with a visual style

TEST_F(NativeWithStyle, CheckBoxAndRadioStates) {
  EXPECT_TRUE(P->ThemedLookFlag());
  EXPECT_EQ(P->CheckFrameWidth(), 0);
  struct TCase {
    TcxElementState State;
    bool Checked;
    int Expected;
  };
  const TCase cases[] = {
      {esPressed, true, 7}, {esDisabled, false, 4}, {esDefault, false, 1}, {esNormal, false, 1},
      {esHot, false, 2},    {esDefault, true, 5},   {esHot, true, 6},      {esDisabled, true, 8},
  };
  Style.Sizes[{"Button", 2}] = TSize{13, 13};
  for (const TCase& c : cases) {
    TSurface s;
    P->PaintCheckBox(s.Canvas.get(), TRect(2, 2, 15, 15), c.State,
                     c.Checked ? cbsChecked : cbsUnchecked);
    P->PaintRadioButton(s.Canvas.get(), 20, 2, c.State, c.Checked, false);
    EXPECT_EQ(TakeDrawn(), (std::vector<std::string>{"Button 3/" + std::to_string(c.Expected),
                                                     "Button 2/" + std::to_string(c.Expected)}))
        << int(c.State) << " " << c.Checked;
    // The check box fills its whole rectangle: there is no frame left to draw.
    EXPECT_EQ(s.At(2, 2), Rgb(TColor(PartColour(0, 3, c.Expected))));
    EXPECT_EQ(s.At(14, 14), Rgb(TColor(PartColour(0, 3, c.Expected))));
    EXPECT_EQ(s.At(32, 14), Rgb(TColor(PartColour(0, 2, c.Expected))))
        << "radio of the part's size";
    EXPECT_EQ(s.At(33, 15), 0x20C040u);
  }
}

TEST_F(NativeWithStyle, ScrollBarParts) {
  struct TCase {
    bool Horizontal;
    TcxScrollPart Part;
    TcxElementState State;
    TRect R;
    std::vector<std::string> Drawn;
  };
  Style.Sizes[{"ScrollBar", 8}] = TSize{8, 8};
  Style.Sizes[{"ScrollBar", 9}] = TSize{8, 8};
  const TCase cases[] = {
      // Arrows: first state by direction (up 1, down 5, left 9, right 13), then +0/+1/+2/+3.
      {false, spLineBack, esNormal, TRect(0, 0, 17, 17), {"ScrollBar 1/1"}},
      {false, spLineForward, esHot, TRect(0, 0, 17, 17), {"ScrollBar 1/6"}},
      {true, spLineBack, esPressed, TRect(0, 0, 17, 17), {"ScrollBar 1/11"}},
      {true, spLineForward, esDisabled, TRect(0, 0, 17, 17), {"ScrollBar 1/16"}},
      {true, spLineForward, esDefault, TRect(0, 0, 17, 17), {"ScrollBar 1/13"}},
      // The thumb carries its gripper only when the gripper is the smaller.
      {true, spThumb, esHot, TRect(0, 0, 30, 17), {"ScrollBar 2/2", "ScrollBar 8/2"}},
      {true, spThumb, esNormal, TRect(0, 0, 8, 17), {"ScrollBar 2/1"}},
      {false, spThumb, esPressed, TRect(0, 0, 17, 30), {"ScrollBar 3/3", "ScrollBar 9/3"}},
      {false, spThumb, esDisabled, TRect(0, 0, 17, 6), {"ScrollBar 3/4"}},
      {true, spPageBack, esNormal, TRect(0, 0, 30, 17), {"ScrollBar 4/1"}},
      {true, spPageForward, esPressed, TRect(0, 0, 30, 17), {"ScrollBar 5/3"}},
      {false, spPageBack, esHot, TRect(0, 0, 17, 30), {"ScrollBar 6/2"}},
      {false, spPageForward, esDefault, TRect(0, 0, 17, 30), {"ScrollBar 7/1"}},
      {true, spThumb, esNormal, TRect(5, 5, 5, 17), {}},
      {true, spNone, esNormal, TRect(0, 0, 30, 17), {}},
  };
  for (const TCase& c : cases) {
    TSurface s;
    P->PaintScrollBarPart(s.Canvas.get(), c.Horizontal, c.R, c.Part, c.State);
    EXPECT_EQ(TakeDrawn(), c.Drawn) << c.Horizontal << " " << int(c.Part) << " " << int(c.State);
  }
  // Without a gripper size the gripper is drawn whatever the thumb's length.
  Style.Sizes.erase({"ScrollBar", 8});
  TSurface s;
  P->PaintScrollBarPart(s.Canvas.get(), true, TRect(0, 0, 4, 17), spThumb, esNormal);
  EXPECT_EQ(TakeDrawn(), (std::vector<std::string>{"ScrollBar 2/1", "ScrollBar 8/1"}));
}

TEST_F(NativeWithStyle, MinThumbLength) {
  EXPECT_EQ(P->MinThumbLength(true), 8) << "the size query fails";
  Style.Sizes[{"ScrollBar", 2}] = TSize{11, 17};
  Style.Sizes[{"ScrollBar", 3}] = TSize{17, 12};
  EXPECT_EQ(P->MinThumbLength(true), 11);
  EXPECT_EQ(P->MinThumbLength(false), 12);
  Style.Margins[{"ScrollBar", 2}] = MARGINS{3, 4, 1, 2};
  Style.Margins[{"ScrollBar", 3}] = MARGINS{3, 4, 1, 2};
  EXPECT_EQ(P->MinThumbLength(true), 11 + 3 + 4) << "left and right content margins";
  EXPECT_EQ(P->MinThumbLength(false), 12 + 1 + 2) << "top and bottom content margins";
}

TEST_F(NativeWithStyle, HintBackgroundReachesFourPixelsBeyond) {
  TSurface s(40, 40);
  P->PaintHintBackground(s.Canvas.get(), TRect(10, 10, 30, 25), clDefault);
  EXPECT_EQ(TakeDrawn(), (std::vector<std::string>{"ToolTip 1/1"}));
  const uint32_t tip = Rgb(TColor(PartColour(20, 1, 1)));
  EXPECT_EQ(s.At(6, 6), tip);
  EXPECT_EQ(s.At(33, 28), tip);
  EXPECT_EQ(s.At(5, 6), 0x20C040u);
  EXPECT_EQ(s.At(34, 28), 0x20C040u);
  EXPECT_EQ(s.At(33, 29), 0x20C040u);
  EXPECT_EQ(P->HintFrameColor(), clWindowFrame);
}

TEST_F(NativeWithStyle, HeaderFrameWidthNeverBelowOne) {
  struct TCase {
    TRect Insets;
    int Expected;
  };
  const TCase cases[] = {{TRect(0, 0, 0, 0), 1},
                         {TRect(1, 0, 5, 5), 1},
                         {TRect(2, 3, 0, 0), 2},
                         {TRect(4, 5, 9, 9), 4}};
  EXPECT_EQ(P->HeaderFrameWidth(), 1) << "the content query fails";
  for (const TCase& c : cases) {
    Style.Insets[{"Header", 1}] = c.Insets;
    EXPECT_EQ(P->HeaderFrameWidth(), c.Expected) << c.Insets.Left << "," << c.Insets.Top;
  }
}

TEST_F(NativeWithStyle, MetricsFromTheStyle) {
  Style.Insets[{"Button", 1}] = TRect(3, 4, 5, 6);
  Style.Insets[{"TrackBar", 1}] = TRect(2, 1, 1, 1);
  Style.Sizes[{"Button", 3}] = TSize{15, 14};
  Style.Sizes[{"Button", 2}] = TSize{12, 11};
  Style.Sizes[{"TreeView", 2}] = TSize{10, 9};
  Style.Sizes[{"ExplorerBar", 7}] = TSize{21, 20};
  Style.Sizes[{"Window", 19}] = TSize{13, 12};
  Style.Sizes[{"ScrollBar", 10}] = TSize{16, 15};
  Style.Colors[{"Button", 1, 3, 204}] = 0x112233;
  Style.Colors[{"Button", 1, 4, 3803}] = 0x445566;
  Style.Colors[{"Button", 4, 2, 3803}] = 0x778899;
  Style.Colors[{"ToolTip", 1, 1, 3803}] = 0x0A0B0C;
  TSurface s;
  EXPECT_EQ(P->ControlBorderSize(), 1);
  EXPECT_EQ(P->ButtonBorderWidth(esPressed), 3);
  EXPECT_EQ(P->ButtonFocusBounds(s.Canvas.get(), TRect(10, 10, 50, 30)), TRect(13, 14, 45, 24));
  EXPECT_EQ(P->ButtonFaceColor(esPressed), TColor(0x112233));
  EXPECT_EQ(P->ButtonFaceColor(esHot), clBtnFace) << "no colour for the state: the base's";
  EXPECT_EQ(P->ButtonGlyphColor(esDisabled), TColor(0x445566));
  EXPECT_EQ(P->ButtonGlyphColor(esNormal, TColor(0x010203)), TColor(0x010203));
  EXPECT_EQ(P->GroupBoxTextColor(false), TColor(0x778899));
  EXPECT_EQ(P->GroupBoxTextColor(true), clWindowText);
  EXPECT_EQ(P->TipTitleColor(), TColor(0x0A0B0C));
  EXPECT_EQ(P->TipDescriptionColor(), TColor(0x0A0B0C));
  EXPECT_EQ(P->CheckBoxExtent(), (TSize{15, 14}));
  EXPECT_EQ(P->RadioButtonExtent(), (TSize{12, 11}));
  EXPECT_EQ(P->ExpandButtonExtent(), 10);
  EXPECT_EQ(P->SmallExpandButtonExtent(), 10);
  EXPECT_EQ(P->GroupExpandButtonExtent(), 21);
  EXPECT_EQ(P->FilterCloseButtonExtent(), (TSize{17, 16}));
  EXPECT_EQ(P->PopupCloseButtonExtent(), (TSize{13, 12}));
  EXPECT_EQ(P->SizeGripExtent(), (TSize{16, 15}));
  EXPECT_EQ(P->FooterFrameWidth(), 1);
  EXPECT_EQ(P->FooterCellFrameWidth(), 2);
  EXPECT_EQ(P->FooterCellSpacing(), 1);
}

// A style that lacks a class: that class's elements fall back, the others stay themed.
TEST_F(NativeWithStyle, AMissingClassFallsBackAlone) {
  Style.Refused = {"ScrollBar", "TreeView"};
  EXPECT_EQ(P->MinThumbLength(true), 8);
  EXPECT_EQ(P->ExpandButtonExtent(), 12);
  EXPECT_EQ(P->SmallExpandButtonExtent(), 9);
  TSurface a, b;
  P->PaintScrollBarPart(a.Canvas.get(), true, TRect(0, 0, 30, 17), spThumb, esNormal);
  Painter("Standard")
      ->PaintScrollBarPart(b.Canvas.get(), true, TRect(0, 0, 30, 17), spThumb, esNormal);
  EXPECT_EQ(a.Image(), b.Image());
  TSurface c, d;
  P->PaintSmallExpandButton(c.Canvas.get(), TRect(2, 2, 11, 11), false, clBtnShadow, TColor(0xFF));
  Painter("Standard")
      ->PaintSmallExpandButton(d.Canvas.get(), TRect(2, 2, 11, 11), false, clBtnShadow, clDefault);
  EXPECT_EQ(c.Image(), d.Image());
  EXPECT_TRUE(TakeDrawn().empty());
  TSurface e;
  P->PaintCheckBox(e.Canvas.get(), TRect(0, 0, 13, 13), esNormal, cbsUnchecked);
  EXPECT_EQ(TakeDrawn(), (std::vector<std::string>{"Button 3/1"}));
}

TEST_F(NativeWithStyle, PartsAndStatesOfTheTable) {
  TFont font;
  TcxViewParams view{TColor(0xE0E0FF), nullptr, &font, TColor(0x200000)};
  const TRect r(2, 3, 40, 30);
  struct TRow {
    const char* What;
    TDraw Draw;
    std::vector<std::string> Drawn;
  };
  const TRow rows[] = {
      {"arrow frame",
       [&](auto* p, auto* c) { p->DrawArrowButtonFrame(c, r, esDefault); },
       {"Button 1/5"}},
      {"arrow button",
       [&](auto* p, auto* c) { p->DrawArrowButton(c, r, esHot, adLeft, false); },
       {"ScrollBar 1/10"}},
      {"separator h", [&](auto* p, auto* c) { p->DrawSeparator(c, r, true); }, {"ToolBar 5/1"}},
      {"separator v", [&](auto* p, auto* c) { p->DrawSeparator(c, r, false); }, {"ToolBar 6/1"}},
      {"button", [&](auto* p, auto* c) { p->PaintButton(c, r, "", esHot); }, {"Button 1/2"}},
      {"toolbar button",
       [&](auto* p, auto* c) {
         p->PaintButton(c, r, "", esPressed, true, clDefault, clDefault, false, true);
       },
       {"ToolBar 1/3"}},
      {"expand expanded",
       [&](auto* p, auto* c) { p->PaintExpandButton(c, r, true, clDefault); },
       {"TreeView 2/2"}},
      {"expand collapsed",
       [&](auto* p, auto* c) { p->PaintSmallExpandButton(c, r, false, clBtnShadow, clWindow); },
       {"TreeView 2/1"}},
      {"group expand collapsed hot",
       [&](auto* p, auto* c) { p->PaintGroupExpandButton(c, r, false, esHot); },
       {"ExplorerBar 7/2"}},
      {"group expand expanded pressed",
       [&](auto* p, auto* c) { p->PaintGroupExpandButton(c, r, true, esPressed); },
       {"ExplorerBar 6/3"}},
      {"group expand disabled",
       [&](auto* p, auto* c) { p->PaintGroupExpandButton(c, r, true, esDisabled); },
       {"ExplorerBar 6/1"}},
      {"header pressed",
       [&](auto* p, auto* c) {
         p->PaintHeader(c, r, r, {}, cxBordersAll, esPressed, haLeft, vaTop, false, false, "",
                        &font, clBtnText, clBtnFace);
       },
       {"Header 1/3"}},
      {"header disabled",
       [&](auto* p, auto* c) {
         p->PaintHeader(c, r, r, {}, cxBordersAll, esDisabled, haLeft, vaTop, false, false, "",
                        &font, clBtnText, clBtnFace);
       },
       {"Header 1/1"}},
      {"month header",
       [&](auto* p, auto* c) { p->PaintMonthHeader(c, r, "", {}, view, 0, 0); },
       {"Header 1/1"}},
      {"filter close",
       [&](auto* p, auto* c) { p->PaintFilterCloseButton(c, r, esDisabled); },
       {"Window 19/4"}},
      {"popup close",
       [&](auto* p, auto* c) { p->PaintPopupCloseButton(c, r, esHot); },
       {"Window 19/2"}},
      {"popup frame",
       [&](auto* p, auto* c) {
         TRect x = r;
         p->PaintPopupFrame(c, x, 0, false);
       },
       {"ListBox 3/3"}},
      {"size grip glyph",
       [&](auto* p, auto* c) { p->PaintSizeGripGlyph(c, r); },
       {"ScrollBar 10/1"}},
      {"progress",
       [&](auto* p, auto* c) { p->PaintProgressBar(c, r, TRect(3, 4, 20, 29), view, true); },
       {"Progress 1/0", "Progress 3/0"}},
      {"container",
       [&](auto* p, auto* c) {
         TRect x = r;
         p->PaintContainerBackground(c, x);
         EXPECT_EQ(x, r) << "the rectangle is left as it was";
       },
       {"Header 2/1"}},
      {"group box enabled",
       [&](auto* p, auto* c) { p->PaintGroupBoxFrame(c, r, true, 0, cxBordersAll); },
       {"Button 4/1"}},
      {"group box disabled",
       [&](auto* p, auto* c) { p->PaintGroupBoxFrame(c, r, false, 0, cxBordersAll); },
       {"Button 4/2"}},
      {"track h",
       [&](auto* p, auto* c) { p->PaintTrackBarTrack(c, r, false, clWindow); },
       {"TrackBar 1/1"}},
      {"track v",
       [&](auto* p, auto* c) { p->PaintTrackBarTrack(c, r, true, clWindow); },
       {"TrackBar 2/1"}},
      {"navigator default",
       [&](auto* p, auto* c) { p->PaintNavigatorButton(c, r, esDefault); },
       {"ToolBar 1/2"}},
      {"navigator hot",
       [&](auto* p, auto* c) { p->PaintNavigatorButton(c, r, esHot); },
       {"ToolBar 1/5"}},
      {"navigator disabled",
       [&](auto* p, auto* c) { p->PaintNavigatorButton(c, r, esDisabled); },
       {"ToolBar 1/4"}},
      {"filter drop-down",
       [&](auto* p, auto* c) { p->PaintFilterDropDownButton(c, r, esHot, true); },
       {"ComboBox 1/2"}},
      {"footer cell",
       [&](auto* p, auto* c) {
         p->PaintFooterCell(c, r, haLeft, vaTop, false, "", &font, clBtnText, clWindow);
       },
       {"TrackBar 1/1"}},
      {"tab pressed",
       [&](auto* p, auto* c) { p->PaintTab(c, r, bTop, esPressed, false); },
       {"Tab 1/3"}},
      {"vertical tab",
       [&](auto* p, auto* c) { p->PaintTab(c, r, bLeft, esDisabled, true); },
       {"Tab 1/4"}},
      {"tab frame",
       [&](auto* p, auto* c) { p->PaintTabFrame(c, r, bTop, cxBordersAll, false); },
       {}},
      {"group row selected",
       [&](auto* p, auto* c) { p->PaintGroupRow(c, r, true, esNormal); },
       {"Tab 1/3"}},
      {"group row", [&](auto* p, auto* c) { p->PaintGroupRow(c, r, false, esHot); }, {"Tab 1/1"}},
      {"header section",
       [&](auto* p, auto* c) {
         p->PaintHeaderSection(c, r, r, {}, cxBordersAll, esHot, haLeft, vaTop, false, false, "",
                               &font, clBtnText, clBtnFace);
       },
       {"Header 1/2"}},
      {"last header",
       [&](auto* p, auto* c) {
         p->PaintHeader(c, r, r, {}, cxBordersAll, esNormal, haLeft, vaTop, false, false, "", &font,
                        clBtnText, clBtnFace, {}, true);
       },
       {"Header 1/1"}},
      {"thumb 0 h",
       [&](auto* p, auto* c) { p->PaintTrackBarThumb(c, r, esDefault, false, 0, clBtnFace); },
       {"TrackBar 5/2"}},
      {"thumb 0 v",
       [&](auto* p, auto* c) { p->PaintTrackBarThumb(c, r, esNormal, true, 0, clBtnFace); },
       {"TrackBar 7/1"}},
      {"thumb 1 h",
       [&](auto* p, auto* c) { p->PaintTrackBarThumb(c, r, esHot, false, 1, clBtnFace); },
       {"TrackBar 4/2"}},
      {"thumb 1 v",
       [&](auto* p, auto* c) { p->PaintTrackBarThumb(c, r, esPressed, true, 1, clBtnFace); },
       {"TrackBar 8/3"}},
      {"thumb 2 h",
       [&](auto* p, auto* c) { p->PaintTrackBarThumb(c, r, esDisabled, false, 2, clBtnFace); },
       {"TrackBar 3/5"}},
      {"thumb 2 v",
       [&](auto* p, auto* c) { p->PaintTrackBarThumb(c, r, esNormal, true, 2, clBtnFace); },
       {"TrackBar 6/1"}},
      {"nav button",
       [&](auto* p, auto* c) { p->DrawNavButtonFace(c, r, TRect(5, 10, 12, 17), true, esPressed); },
       {"Tab 1/3"}},
  };
  for (const TRow& row : rows) {
    TSurface s;
    row.Draw(P, s.Canvas.get());
    EXPECT_EQ(TakeDrawn(), row.Drawn) << row.What;
  }
}

TEST_F(NativeWithStyle, ControlBorderKeepsOnlyTheOuterPixel) {
  TSurface s;
  P->DrawControlBorder(s.Canvas.get(), TRect(4, 4, 30, 20));
  EXPECT_EQ(TakeDrawn(), (std::vector<std::string>{"ListView 5/0"}));
  const uint32_t border = Rgb(TColor(PartColour(7, 5, 0)));
  EXPECT_EQ(s.At(4, 4), border);
  EXPECT_EQ(s.At(29, 19), border);
  EXPECT_EQ(s.At(5, 5), 0x20C040u);
  EXPECT_EQ(s.At(28, 18), 0x20C040u);
  EXPECT_EQ(s.At(3, 3), 0x20C040u);
  // The clip is restored: later drawing reaches the inside.
  s.Canvas->FillRectWithColor(TRect(5, 5, 6, 6), TColor(0xFF));
  EXPECT_EQ(s.At(5, 5), 0xFF0000u);
}

TEST_F(NativeWithStyle, ExpandButtonLeavesItsRectangleOutOfTheClip) {
  TSurface s;
  P->PaintExpandButton(s.Canvas.get(), TRect(2, 2, 11, 11), false, clDefault);
  s.Canvas->FillRectWithColor(TRect(0, 0, 48, 40), TColor(0xFF));
  EXPECT_EQ(s.At(5, 5), Rgb(TColor(PartColour(23, 2, 1))));
  EXPECT_EQ(s.At(12, 5), 0xFF0000u);
}

TEST_F(NativeWithStyle, NavButtonFacesTheirSide) {
  // Each side receives the tab item over its own rectangle, then the arrow in the glyph colour.
  for (bool next : {false, true}) {
    TSurface s;
    P->DrawNavButtonFace(s.Canvas.get(), TRect(4, 4, 28, 24), TRect(10, 10, 17, 17), next,
                         esNormal);
    EXPECT_EQ(TakeDrawn(), (std::vector<std::string>{"Tab 1/1"}));
    EXPECT_EQ(s.At(4, 4), Rgb(TColor(PartColour(16, 1, 1))));
    EXPECT_EQ(s.At(27, 23), Rgb(TColor(PartColour(16, 1, 1))));
    EXPECT_EQ(s.At(3, 3), 0x20C040u);
    EXPECT_EQ(s.At(next ? 10 : 15, 10), Rgb(clBtnText)) << "the arrow's first step";
  }
}

TEST_F(NativeWithStyle, ThemedTextFlags) {
  struct TCase {
    TcxHorzAlign H;
    TcxVertAlign Vt;
    bool MultiLine, Ellipsis, Prefix;
    DWORD Flags;
  };
  const TCase cases[] = {
      {haLeft, vaTop, false, false, false, 0x20 | 0x800 | 0x2000},
      {haRight, vaBottom, false, true, true, 0x2 | 0x8 | 0x20 | 0x8000 | 0x2000},
      {haCenter, vaCenter, true, false, false, 0x1 | 0x4 | 0x10 | 0x800 | 0x2000},
  };
  TFont font;
  HTHEME t = AcquireThemeHandle(totHeader);
  ASSERT_NE(t, 0u);
  for (const TCase& c : cases) {
    TSurface s;
    P->PaintThemedText(s.Canvas.get(), t, 1, 2, TRect(0, 0, 1, 1), TRect(0, 0, 40, 30), c.H, c.Vt,
                       c.MultiLine, c.Ellipsis, c.Prefix, "Ab", &font, clRed, clBlue);
    ASSERT_EQ(Style.Texts.size(), 1u);
    EXPECT_EQ(Style.Texts[0].Flags, c.Flags);
    EXPECT_EQ(Style.Texts[0].Text, "Ab");
    EXPECT_EQ(Style.Texts[0].Part, 1);
    EXPECT_EQ(Style.Texts[0].State, 2);
    EXPECT_EQ(Style.Texts[0].R.Left, 0);
    EXPECT_EQ(Style.Texts[0].R.Bottom, 30);
    // A single line keeps the rectangle; a centred block of text starts below the top.
    EXPECT_EQ(Style.Texts[0].R.Top > 0, c.MultiLine) << c.Flags;
    Style.Texts.clear();
  }
  TSurface s;
  P->PaintThemedText(s.Canvas.get(), t, 1, 1, TRect(), TRect(0, 0, 40, 30), haLeft, vaTop, false,
                     false, false, "", &font, clRed, clBlue);
  EXPECT_TRUE(Style.Texts.empty()) << "an empty text draws nothing";
}

TEST_F(NativeWithStyle, HeaderTextMovesWhenPressed) {
  TFont font;
  for (TcxElementState st : {esNormal, esPressed}) {
    TSurface s;
    P->PaintHeader(s.Canvas.get(), TRect(0, 0, 40, 20), TRect(3, 2, 37, 18), {}, cxBordersAll, st,
                   haCenter, vaCenter, false, true, "Name", &font, clBtnText, clBtnFace);
    ASSERT_EQ(Style.Texts.size(), 1u);
    int d = st == esPressed ? 1 : 0;
    EXPECT_EQ(Style.Texts[0].R, TRect(3 + d, 2 + d, 37 + d, 18 + d));
    EXPECT_EQ(Style.Texts[0].Flags, DWORD(0x1 | 0x4 | 0x20 | 0x8000 | 0x800 | 0x2000));
    Style.Texts.clear();
  }
  TakeDrawn();
  // A handler that paints the background itself replaces the style's item; the text still comes.
  TSurface s;
  P->PaintHeader(s.Canvas.get(), TRect(0, 0, 40, 20), TRect(0, 0, 40, 20), {}, cxBordersAll,
                 esNormal, haLeft, vaTop, false, false, "X", &font, clBtnText, clBtnFace,
                 [](TcxCanvas*, const TRect&) { return true; });
  EXPECT_TRUE(TakeDrawn().empty());
  EXPECT_EQ(Style.Texts.size(), 1u);
}

TEST_F(NativeWithStyle, FooterFrameIsARaisedInnerEdge) {
  TSurface s;
  P->PaintFooterFrame(s.Canvas.get(), TRect(1, 2, 30, 20));
  ASSERT_EQ(Style.Edges.size(), 1u);
  EXPECT_EQ(Style.Edges[0],
            std::make_tuple(std::string("Edit"), UINT(4), UINT(15), TRect(1, 2, 30, 20)));
}

TEST_F(NativeWithStyle, SplitterFrameInTheComboBorderColour) {
  Style.Colors[{"ComboBox", 1, 1, 3801}] = 0x0000FF;
  TFont font;
  TcxViewParams view{TColor(0x00FF00), nullptr, &font, clBlack};
  TSurface s;
  P->PaintSplitterFrame(s.Canvas.get(), TRect(2, 2, 30, 8), view, true);
  EXPECT_EQ(s.At(10, 2), 0xFF0000u);
  EXPECT_EQ(s.At(10, 7), 0xFF0000u);
  EXPECT_EQ(s.At(10, 3), 0x00FF00u);
  EXPECT_EQ(s.At(10, 6), 0x00FF00u);
  Style.Colors.clear();
  TSurface v;
  P->PaintSplitterFrame(v.Canvas.get(), TRect(2, 2, 8, 30), view, false);
  EXPECT_EQ(v.At(2, 10), 0xA19D9Du) << "the base's border colour";
  EXPECT_EQ(v.At(7, 10), 0xA19D9Du);
  EXPECT_EQ(v.At(3, 10), 0x00FF00u);
}

TEST_F(NativeWithStyle, ButtonRowsAndHitTests) {
  Style.Insets[{"Button", 1}] = TRect(3, 4, 5, 6);
  EXPECT_EQ(P->ButtonGroupBorderWidths(3, 1), TRect(3, 4, 5, 6));
  EXPECT_EQ(P->GroupButtonBounds(TRect(10, 10, 30, 20), 3, 1), TRect(10, 10, 30, 20));
  Style.Transparent = {{"Button", 1}};
  EXPECT_EQ(P->ButtonGroupBorderWidths(3, 1), TRect(2, 3, 4, 5))
      << "soft edges: one pixel less on every side";
  EXPECT_EQ(P->GroupButtonBounds(TRect(10, 10, 30, 20), 3, 1), TRect(9, 9, 31, 21));

  // The expand button is hit inside the part's own region only.
  Style.RegionInset = TRect(2, 2, 2, 2);
  const TRect b(10, 10, 25, 25);
  EXPECT_FALSE(P->HitsGroupExpandButton(b, TPoint(10, 10)));
  EXPECT_TRUE(P->HitsGroupExpandButton(b, TPoint(12, 12)));
  EXPECT_TRUE(P->HitsGroupExpandButton(b, TPoint(22, 22)));
  EXPECT_FALSE(P->HitsGroupExpandButton(b, TPoint(23, 22)));

  Style.Colors[{"ComboBox", 1, 1, 3801}] = 0x00A0B0;
  EXPECT_EQ(P->ViewColor42(), TColor(0x00A0B0));
  Style.Colors.clear();
  EXPECT_EQ(P->ViewColor42(), TColor(0x9D9DA1));
}

TEST_F(NativeWithStyle, TabsHeaderSectionsAndThumbs) {
  EXPECT_TRUE(P->PaintsTabs(false));
  EXPECT_TRUE(P->HotTracksTabs(true));
  EXPECT_EQ(P->TabFrameWidth(false), 1);
  Style.Insets[{"Header", 1}] = TRect(3, 5, 3, 3);
  for (TcxElementState st : AllStates) {
    EXPECT_EQ(P->HeaderSectionFrameWidth(st), 4);
    EXPECT_EQ(P->HeaderSectionContentBounds(TRect(0, 0, 40, 20), st), TRect(4, 4, 36, 16));
  }
  Style.Sizes[{"Button", 3}] = TSize{16, 15};
  EXPECT_EQ(P->FilterCheckExtent(), (TSize{16, 15}));

  // The thumb of the part's size, centred.
  Style.Sizes[{"TrackBar", 8}] = TSize{10, 20};
  TRect t(0, 0, 30, 30);
  TSurface s;
  P->TrackBarThumbBounds(s.Canvas.get(), t, true, 1);
  EXPECT_EQ(t, TRect(10, 5, 20, 25));
  TRect u(0, 0, 30, 30);
  P->TrackBarThumbBounds(s.Canvas.get(), u, false, 1);
  EXPECT_EQ(u, TRect(0, 0, 29, 29)) << "no size for the part: the base's bounds";

  // Only the strip's own edge shows: the pane reaches past the other sides, clipped to the strip.
  TSurface strip;
  P->PaintTabStrip(strip.Canvas.get(), TRect(4, 10, 40, 14), TcxBorders{bTop}, false);
  ASSERT_EQ(Style.Drawn.size(), 1u);
  EXPECT_EQ(Style.Drawn[0].Part, 9);
  EXPECT_EQ(Style.Drawn[0].R, TRect(4 - 10, 10, 40 + 10, 14 + 10));
  const uint32_t pane = Rgb(TColor(PartColour(16, 9, 1)));
  EXPECT_EQ(strip.At(4, 10), pane);
  EXPECT_EQ(strip.At(39, 13), pane);
  EXPECT_EQ(strip.At(3, 12), 0x20C040u);
  EXPECT_EQ(strip.At(20, 14), 0x20C040u);
  Style.Drawn.clear();

  // A vertical tab is drawn turned and put back over its own rectangle.
  TSurface tab;
  P->PaintTab(tab.Canvas.get(), TRect(5, 3, 15, 33), bLeft, esHot, true);
  ASSERT_EQ(Style.Drawn.size(), 1u);
  EXPECT_EQ(Style.Drawn[0].R, TRect(0, 0, 30, 10)) << "drawn in turned coordinates";
  const uint32_t item = Rgb(TColor(PartColour(16, 1, 2)));
  EXPECT_EQ(tab.At(5, 3), item);
  EXPECT_EQ(tab.At(14, 32), item);
  EXPECT_EQ(tab.At(15, 32), 0x20C040u);
  EXPECT_EQ(tab.At(5, 33), 0x20C040u);
}

// The last header item takes the right-hand part under the Office 2003 colour schemes that have
// one.
TEST_F(NativeWithStyle, LastHeaderItemUnderColourSchemes) {
  struct TCase {
    const char16_t* Scheme;
    TcxElementState State;
    bool IsLast;
    const char* Drawn;
  };
  const TCase cases[] = {
      {u"NormalColor", esNormal, true, "Header 3/1"},
      {u"HomeStead", esDisabled, true, "Header 3/1"},
      {u"HomeStead", esHot, true, "Header 1/2"},
      {u"NormalColor", esNormal, false, "Header 1/1"},
      {u"Metallic", esNormal, true, "Header 1/1"},
      {u"", esNormal, true, "Header 1/1"},
  };
  TFont font;
  for (const TCase& c : cases) {
    Style.ColourScheme = c.Scheme;
    FinalizeSuiteUnits();
    InitializeSuiteUnits();
    P = Native();
    TSurface s;
    P->PaintHeader(s.Canvas.get(), TRect(0, 0, 40, 20), TRect(0, 0, 40, 20), {}, cxBordersAll,
                   c.State, haLeft, vaTop, false, false, "", &font, clBtnText, clBtnFace, {},
                   c.IsLast);
    EXPECT_EQ(TakeDrawn(), (std::vector<std::string>{c.Drawn}))
        << std::string(c.Scheme, c.Scheme + std::char_traits<char16_t>::length(c.Scheme)) << " "
        << int(c.State);
  }
}

// Before Vista the popup frame is a plain line and the thumb's content margins do not count.
TEST_F(NativeWithStyle, OlderSystems) {
  Style.Sizes[{"ScrollBar", 2}] = TSize{11, 17};
  Style.Margins[{"ScrollBar", 2}] = MARGINS{3, 4, 1, 2};
  struct TRestoreVersion {
    TOSVersion Saved = OSVersion();
    ~TRestoreVersion() { SetOSVersion(Saved); }
  } restore;
  SetOSVersion({VER_PLATFORM_WIN32_NT, 5, 1, 2600});
  FinalizeSuiteUnits();
  InitializeSuiteUnits();
  P = Native();
  EXPECT_EQ(P->MinThumbLength(true), 11);
  TSurface s;
  TRect r(2, 2, 30, 30);
  P->PaintPopupFrame(s.Canvas.get(), r, 0, false);
  EXPECT_EQ(r, TRect(3, 3, 29, 29));
  EXPECT_TRUE(TakeDrawn().empty());
  EXPECT_EQ(s.At(2, 2), Rgb(clBtnText));
  EXPECT_EQ(s.At(29, 29), Rgb(clBtnText));
  EXPECT_EQ(s.At(3, 3), 0x20C040u);
}
