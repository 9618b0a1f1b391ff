#include "suite/core/cxLookAndFeelPainters.h"

#include <QString>
#include <algorithm>
#include <cmath>

#include "platform/rtl/SysUtils.h"
#include "platform/win/GdiExtras.h"
#include "suite/core/cxGraphicsImages.h"
#include "suite/core/cxLookAndFeels.h"
#include "suite/core/dxCore.h"
#include "suite/core/dxOffice11.h"
#include "suite/core/dxThemeManager.h"
#include "suite/core/dxUxTheme.h"
#include "suite/core/cxLookAndFeelPaintersHelpers.h"

using namespace cxPainterHelpers;

// ---- UltraFlat painter

void TcxUltraFlatLookAndFeelPainter::DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const {
  Frame(Canvas, R, clBtnShadow);
}

void TcxUltraFlatLookAndFeelPainter::DrawSeparator(TcxCanvas* Canvas, const TRect& R, bool Horizontal) const {
  Canvas->FillRectWithColor(SeparatorBounds(R, 1, Horizontal), clBtnShadow);
}

TColor TcxUltraFlatLookAndFeelPainter::ButtonFaceColor(TcxElementState State) const {
  if (State == esHot) return HighlightMixLight();
  if (State == esPressed) return HighlightMixStrong();
  return clBtnFace;
}

TRect TcxUltraFlatLookAndFeelPainter::ButtonFocusBounds(TcxCanvas*, const TRect& R) const {
  TRect d = Deflated(R, 3);
  return d.IsEmpty() ? R : d;
}

TRect TcxUltraFlatLookAndFeelPainter::ButtonGroupBorderWidths(int ButtonCount, int ButtonIndex) const {
  TRect w(1, 2, 1, 2);
  if (ButtonIndex == 0) w.Left = 2;
  else if (ButtonIndex == ButtonCount - 1) w.Right = 2;
  return w;
}

TColor TcxUltraFlatLookAndFeelPainter::ButtonGlyphColor(TcxElementState State, TColor DefaultColor) const {
  if (State == esPressed) return clHighlightText;
  return TcxCustomLookAndFeelPainter::ButtonGlyphColor(State, DefaultColor);
}

void TcxUltraFlatLookAndFeelPainter::PaintButtonFrame(TcxCanvas* Canvas, const TRect& R,
                                                      TcxElementState State) const {
  switch (State) {
    case esDefault:
      Frame(Canvas, R, clWindowFrame);
      Frame(Canvas, Deflated(R, 1), clWindowFrame);
      break;
    case esNormal: Frame(Canvas, R, clBtnText); break;
    case esDisabled: Frame(Canvas, R, clBtnShadow); break;
    default: Frame(Canvas, R, clHighlight); break;
  }
}

void TcxUltraFlatLookAndFeelPainter::PaintExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                                       TColor Color) const {
  Frame(Canvas, R, clBtnShadow);
  Canvas->FillRectWithColor(Deflated(R, 1), Color == clDefault ? clBtnFace : Color);
  DrawExpandCross(Canvas, R, Expanded, clBtnText);
  Canvas->ClipOutRect(R);
}

void TcxUltraFlatLookAndFeelPainter::PaintCheckFrame(TcxCanvas* Canvas, const TRect& R,
                                                     TcxElementState State) const {
  Frame(Canvas, R, clBtnText);
  Frame(Canvas, Deflated(R, 1), CheckFaceColor(State));
}

TColor TcxUltraFlatLookAndFeelPainter::RadioFaceColor(TcxElementState State) const {
  switch (State) {
    case esNormal: return clWindow;
    case esHot: return HighlightMixLight();
    case esPressed: return HighlightMixStrong();
    default: return clBtnFace;
  }
}

void TcxUltraFlatLookAndFeelPainter::PaintHeaderFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders,
                                                      TcxBorders Sides) const {
  TcxBorders b{bRight, bBottom};
  if (Sides.Contains(bLeft)) b.Include(bLeft);
  if (Sides.Contains(bTop)) b.Include(bTop);
  Canvas->DrawTwoToneFrame(R, clBtnText, clBtnText, b, 1);
}

void TcxUltraFlatLookAndFeelPainter::PaintSortMark(TcxCanvas* Canvas, const TRect& R, bool Ascending) const {
  DrawSortMarkWith(Canvas, R, clBtnShadow, clBtnShadow, Ascending);
}

TcxBorders TcxUltraFlatLookAndFeelPainter::HeaderFrameSides(TcxBorders Neighbors) const {
  TcxBorders b = cxBordersAll;
  if (Neighbors.Contains(bLeft)) b.Exclude(bLeft);
  if (Neighbors.Contains(bTop)) b.Exclude(bTop);
  return b;
}

void TcxUltraFlatLookAndFeelPainter::PaintFooterCellFrame(TcxCanvas* Canvas, const TRect& R) const {
  Frame(Canvas, R, FooterLineColor());
}

void TcxUltraFlatLookAndFeelPainter::DrawFooterPanel(TcxCanvas* Canvas, const TRect& R, TcxBorders Sides) const {
  Canvas->DrawTwoToneFrame(R, FooterLineColor(), FooterLineColor(), Sides, FooterLineHeight());
}

void TcxUltraFlatLookAndFeelPainter::PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R,
                                                        TcxScrollPart Part, TcxElementState State) const {
  if (R.IsEmpty() || Part == spNone) return;
  if (Part == spThumb && State == esDisabled) return;
  if (Part == spPageBack || Part == spPageForward) {
    PaintScrollPage(Canvas, R, State);
    return;
  }
  PaintButton(Canvas, R, {}, State);
  if (Part != spThumb) DrawScrollArrow(Canvas, R, State, ScrollArrowDirection(Horizontal, Part));
}

void TcxUltraFlatLookAndFeelPainter::DrawNavButtonFace(TcxCanvas* Canvas, const TRect& R, const TRect& ArrowRect,
                                                       bool IsNext, TcxElementState State) const {
  Canvas->FillRectWithColor(R, clBtnFace);
  TcxBorders sides = IsNext ? TcxBorders{bLeft, bTop, bBottom} : TcxBorders{bTop, bRight, bBottom};
  TColor c = State == esHot ? TabFaceColor() : TabActiveColor();
  Canvas->DrawTwoToneFrame(R, c, c, sides, 1);
  PaintNavButtonArrow(Canvas, ArrowRect, IsNext, ButtonGlyphColor(State, clDefault));
}

void TcxUltraFlatLookAndFeelPainter::PaintSplitterFrame(TcxCanvas* Canvas, const TRect& R,
                                                        const TcxViewParams& ViewParams, bool Horizontal) const {
  TcxBorders ends = Horizontal ? TcxBorders{bTop, bBottom} : TcxBorders{bLeft, bRight};
  Canvas->DrawTwoToneFrame(R, ViewColor42(), ViewColor42(), ends, 1);
  Canvas->FillRectWithViewParams(Horizontal ? R.Inflate(0, -1) : R.Inflate(-1, 0), ViewParams, TcxBorders{}, clNone,
                                 0, false);
}

void TcxUltraFlatLookAndFeelPainter::PaintNavigatorButton(TcxCanvas* Canvas, const TRect& R,
                                                          TcxElementState State) const {
  PaintButton(Canvas, R, {}, State, State == esHot || State == esPressed);
}

void TcxUltraFlatLookAndFeelPainter::PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool Enabled, int,
    TcxBorders Borders) const {
  TColor c = Enabled ? clHighlight : clBtnShadow;
  Canvas->DrawTwoToneFrame(R, c, c, Borders, 1);
}

void TcxUltraFlatLookAndFeelPainter::PaintTrackBarTrackFrame(TcxCanvas* Canvas, const TRect& R) const {
  Frame(Canvas, R, TrackFrameColor());
}

void TcxUltraFlatLookAndFeelPainter::PaintThumbRectFrame(TcxCanvas* Canvas, const TRect& R) const {
  Frame(Canvas, R, TrackFrameColor());
}

void TcxUltraFlatLookAndFeelPainter::PaintThumbShapeFrame(TcxCanvas* Canvas, const std::vector<TPoint>& Light,
                                                          const std::vector<TPoint>&,
                                                          const std::vector<TPoint>& Shadow) const {
  Polyline(Canvas, Light, TrackFrameColor());
  Polyline(Canvas, Shadow, TrackFrameColor());
}

void TcxUltraFlatLookAndFeelPainter::PaintPlainButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                                                      int ButtonCount, int ButtonIndex, TColor Color) const {
  TRect inside = R;
  if (State == esNormal || State == esDisabled) {
    Frame(Canvas, R, Color == clDefault ? clBtnShadow : Color);
    inside = Deflated(R, 1);
  } else {
    // A lit button of a row only marks the edges it shares with its neighbours.
    if (ButtonIndex > 0) {
      Canvas->FillRectWithColor(TRect(R.Left, R.Top, R.Left + 1, R.Bottom), FrameHighlightColor());
      ++inside.Left;
    }
    if (ButtonIndex < ButtonCount - 1) {
      Canvas->FillRectWithColor(TRect(R.Right - 1, R.Top, R.Right, R.Bottom), FrameHighlightColor());
      --inside.Right;
    }
  }
  Canvas->FillRectWithColor(inside, ButtonFaceColor(State));
}

void TcxUltraFlatLookAndFeelPainter::PaintButtonOutline(TcxCanvas* Canvas, const TRect& R, bool Pressed,
                                                        bool Hot) const {
  Frame(Canvas, R, Pressed ? clBtnText : Hot ? FrameHighlightColor() : clBtnShadow);
}

void TcxUltraFlatLookAndFeelPainter::PaintHeaderItem(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect,
                                                     TcxBorders Neighbors, TcxBorders Borders, TcxElementState State,
                                                     TcxHorzAlign AlignHorz, TcxVertAlign AlignVert, bool MultiLine,
                                                     bool ShowEndEllipsis, const std::string& Text, TFont* Font,
                                                     TColor TextColor, TColor Color,
                                                     const TcxCustomDrawBackground& OnCustomDraw) const {
  DrawCellContent(Canvas, HeaderInnerBounds(R, Borders), TextRect, State, AlignHorz, AlignVert, MultiLine,
                  ShowEndEllipsis, Text, Font, TextColor, Color, OnCustomDraw, false);
  PaintHeaderFrame(Canvas, R, Neighbors, Borders);
}

void TcxUltraFlatLookAndFeelPainter::PaintHeaderSectionFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders,
                                                             TcxElementState State) const {
  Frame(Canvas, R, State == esDisabled ? clBtnShadow : TColor(0), 1, Borders);
}

void TcxUltraFlatLookAndFeelPainter::PaintHeaderSectionContent(TcxCanvas* Canvas, const TRect& R,
                                                               const TRect& Bounds, TcxElementState State,
                                                               TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
                                                               bool MultiLine, bool ShowEndEllipsis,
                                                               const std::string& Text, TFont* Font,
                                                               TColor TextColor, TColor Color) const {
  if (State > esNormal) Color = ButtonFaceColor(State);
  TcxCustomLookAndFeelPainter::PaintHeaderSectionContent(Canvas, R, Bounds, State, AlignHorz, AlignVert, MultiLine,
                                                         ShowEndEllipsis, Text, Font, TextColor, Color);
}

void TcxUltraFlatLookAndFeelPainter::PaintFilterDropDownButton(TcxCanvas* Canvas, const TRect& R,
                                                               TcxElementState State, bool Active) const {
  Frame(Canvas, R, ButtonHotFrameColor(State));
  const TRect inside = Deflated(R, 1);
  Canvas->FillRectWithColor(inside, ButtonFaceColor(State));
  DrawDropDownArrow(Canvas, inside, Active ? TColor(0xFF0000) : ButtonGlyphColor(State));
}

// A tab is lit on the side away from its strip and on its flanks; the edge it stands on takes
// the strip's colour.
void TcxUltraFlatLookAndFeelPainter::PaintTabFrame(TcxCanvas* Canvas, const TRect& R, TcxBorder Side,
                                                   TcxBorders Borders, bool Vertical) const {
  const int w = TabFrameWidth(Vertical);
  for (TcxBorder b : {bLeft, bTop, bRight, bBottom})
    if (Borders.Contains(b)) Frame(Canvas, R, b == Side ? TabFaceColor() : TabActiveColor(), w, TcxBorders{b});
}

void TcxUltraFlatLookAndFeelPainter::PaintTabStrip(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders,
                                                   bool Vertical) const {
  Frame(Canvas, R, TabFaceColor(), TabFrameWidth(Vertical), Borders);
}

void TcxUltraFlatLookAndFeelPainter::PaintPreviewArea(TcxCanvas* Canvas, const TRect& R) const {
  const TColor c = ColorToRGB(clBtnShadow);
  auto lift = [](int v) { return v + (255 - v) / 3; };
  Canvas->FillRectWithColor(R, TColor(RGB(BYTE(lift(GetRValue(c))), BYTE(lift(GetGValue(c))),
                                          BYTE(lift(GetBValue(c))))));
}

// ---- Office11 painter

namespace {
TColor Office11BorderHighlight() { return Office11RoleColor(o11BorderHighlight); }
TColor Office11GlyphColor() { return Office11RoleColor(o11Glyph); }
TColor Office11DisabledGlyphColor() { return Office11RoleColor(o11DisabledGlyph); }
}  // namespace

TColor TcxOffice11LookAndFeelPainter::FrameHighlightColor() const { return Office11BorderHighlight(); }

void TcxOffice11LookAndFeelPainter::DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const {
  Frame(Canvas, R, Office11RoleColor(o11ControlBorder));
}

void TcxOffice11LookAndFeelPainter::DrawSeparator(TcxCanvas* Canvas, const TRect& R, bool Horizontal) const {
  TRect b = SeparatorBounds(R, 2, Horizontal);
  TRect first = Horizontal ? TRect(b.Left, b.Top, b.Right, b.Top + 1) : TRect(b.Left, b.Top, b.Left + 1, b.Bottom);
  Canvas->FillRectWithColor(first, HeaderDarkColor());
  Canvas->FillRectWithColor(Horizontal ? first.Offset(0, 1) : first.Offset(1, 0), HeaderHighlightColor());
}

TColor TcxOffice11LookAndFeelPainter::ButtonFaceColor(TcxElementState State) const {
  switch (State) {
    case esHot: return Office11RoleColor(o11HotButton);
    case esPressed: return Office11RoleColor(o11PressedButton);
    case esDisabled: return clBtnFace;
    default: return Office11RoleColor(o11ButtonFace);
  }
}

TColor TcxOffice11LookAndFeelPainter::ButtonGlyphColor(TcxElementState State, TColor) const {
  if (State == esPressed && !IsOffice11SchemeActive()) return clHighlightText;
  if (State == esDisabled) return Office11DisabledGlyphColor();
  return Office11GlyphColor();
}

void TcxOffice11LookAndFeelPainter::PaintButtonFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const {
  switch (State) {
    case esDefault: TcxUltraFlatLookAndFeelPainter::PaintButtonFrame(Canvas, R, State); break;
    case esNormal: Frame(Canvas, R, clBtnText); break;
    case esDisabled: Frame(Canvas, R, Office11DisabledGlyphColor()); break;
    default: Frame(Canvas, R, Office11BorderHighlight()); break;
  }
}

TColor TcxOffice11LookAndFeelPainter::CheckFaceColor(TcxElementState State) const {
  if (State == esHot || State == esPressed || State == esDisabled) return ButtonFaceColor(State);
  return TcxCustomLookAndFeelPainter::CheckFaceColor(State);
}

TColor TcxOffice11LookAndFeelPainter::RadioFaceColor(TcxElementState State) const {
  return State == esNormal ? clWindow : ButtonFaceColor(State);
}

void TcxOffice11LookAndFeelPainter::PaintSortMark(TcxCanvas* Canvas, const TRect& R, bool Ascending) const {
  DrawSortMarkWith(Canvas, R, HeaderDarkColor(), HeaderHighlightColor(), Ascending);
}

void TcxOffice11LookAndFeelPainter::PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R,
                                                       TcxScrollPart Part, TcxElementState State) const {
  if (TcxCustomLookAndFeelPainter* native = RegisteredNative())
    return native->PaintScrollBarPart(Canvas, Horizontal, R, Part, State);
  TcxUltraFlatLookAndFeelPainter::PaintScrollBarPart(Canvas, Horizontal, R, Part, State);
}

TColor TcxOffice11LookAndFeelPainter::SplitterOuterColor(bool Highlighted) const {
  return Highlighted ? Office11BorderHighlight() : HeaderDarkColor();
}

TColor TcxOffice11LookAndFeelPainter::ButtonHotFrameColor(TcxElementState State) const {
  return State == esNormal ? HeaderDarkColor() : Office11BorderHighlight();
}

void TcxOffice11LookAndFeelPainter::PaintHeaderFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Neighbors,
                                                     TcxBorders Sides) const {
  const TColor mid = HeaderMidColor(), light = HeaderLightColor(), dark = HeaderDarkColor(),
               high = HeaderHighlightColor();
  auto column = [&](int x, int y0, int y1, TColor c) { Canvas->FillRectWithColor(TRect(x, y0, x + 1, y1), c); };
  auto pixel = [&](int x, int y, TColor c) { column(x, y, y + 1, c); };
  if (Sides.Contains(bTop)) Canvas->FillRectWithColor(TRect(R.Left, R.Top, R.Right, R.Top + 1), mid);
  if (Sides.Contains(bBottom)) Canvas->FillRectWithColor(TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), dark);
  if (Sides.Contains(bLeft)) {
    pixel(R.Left, R.Top + 1, mid);
    if (Neighbors.Contains(bLeft)) {
      pixel(R.Left, R.Top + 2, mid);
      pixel(R.Left, R.Bottom - 3, MixColors(mid, light, 25));
      pixel(R.Left, R.Bottom - 2, light);
      column(R.Left, R.Top + 2, R.Bottom - 3, high);
    } else {
      pixel(R.Left, R.Bottom - 2, light);
      column(R.Left, R.Top + 1, R.Bottom - 2, high);
    }
  }
  if (Sides.Contains(bRight)) {
    const int x = R.Right - 1;
    if (Neighbors.Contains(bRight)) {
      pixel(x, R.Top + 1, mid);
      pixel(x, R.Top + 2, mid);
      pixel(x, R.Bottom - 3, MixColors(mid, light, 25));
      pixel(x, R.Bottom - 2, light);
      column(x, R.Top + 2, R.Bottom - 3, dark);
    } else {
      pixel(x, R.Top, MixColors(mid, dark, 50));
      pixel(x, R.Bottom - 2, MixColors(light, dark, 50));
      column(x, R.Top + 1, R.Bottom - 2, dark);
    }
  }
}


void TcxOffice11LookAndFeelPainter::DrawCellContent(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect,
                                                    TcxElementState State, TcxHorzAlign AlignHorz,
                                                    TcxVertAlign AlignVert, bool MultiLine, bool ShowEndEllipsis,
                                                    const std::string& Text, TFont* Font, TColor TextColor,
                                                    TColor Color, const TcxCustomDrawBackground& OnCustomDraw,
                                                    bool Flat) const {
  if (!(OnCustomDraw && OnCustomDraw(Canvas, R))) {
    const bool hot = State == esHot;
    const TColor first = hot ? Office11RoleColor(o11HeaderGradientFirst) : HeaderMidColor();
    const TColor second = hot ? first : HeaderLightColor();
    if (Flat) {
      Canvas->FillRectWithColor(R, first);
    } else {
      Canvas->FillRectWithColor(TRect(R.Left, R.Top, R.Right, R.Bottom - 3), first);
      GradientFillRect(Canvas->CurrentDC(), TRect(R.Left, R.Bottom - 4, R.Right, R.Bottom), first, second, false);
    }
  }
  // The background is done; the base only writes the text.
  TcxCustomLookAndFeelPainter::DrawCellContent(Canvas, R, TextRect, State, AlignHorz, AlignVert, MultiLine,
                                               ShowEndEllipsis, Text, Font, TextColor, Color,
                                               [](TcxCanvas*, const TRect&) { return true; }, Flat);
  if (State == esHot)
    GradientFillRect(Canvas->CurrentDC(), TRect(R.Left - 1, R.Bottom - 2, R.Right, R.Bottom + 1),
                     Office11RoleColor(o11HotButton), Office11RoleColor(o11HotAccent), false);
}

// The glyph's rounded corners are blended into whatever lies under them before it is drawn.
void TcxOffice11LookAndFeelPainter::PaintExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                                      TColor) const {
  Office11ColorsAddRef();
  TBitmap* glyph = Expanded ? Office11ExpandButtonMinusBitmap : Office11ExpandButtonPlusBitmap;
  if (glyph && !glyph->Empty()) {
    QImage img = glyph->ToImage().convertToFormat(QImage::Format_RGB32);
    const int w = img.width(), h = img.height();
    HDC dc = Canvas->CurrentDC();
    auto blend = [&](TOffice11Role Corner, COLORREF Under) {
      const TColor c = MixColors(Office11RoleColor(Corner), TColor(Under & 0xFFFFFF), 25);
      return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    };
    const QRgb topLeft = blend(o11ExpandCornerFirst, GetPixel(dc, R.Left, R.Top));
    const QRgb others = blend(o11ExpandCornerSecond, GetPixel(dc, R.Right - 1, R.Bottom - 1));
    img.setPixel(0, 0, topLeft);
    img.setPixel(w - 1, 0, others);
    img.setPixel(0, h - 1, others);
    img.setPixel(w - 1, h - 1, others);
    TBitmap b;
    b.SetImage(img);
    Canvas->DrawGraphic(R.Left, R.Top, &b);
  }
  Office11ColorsRelease();
}

void TcxOffice11LookAndFeelPainter::PaintSmallExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                                           TColor, TColor Color) const {
  PaintExpandButton(Canvas, R, Expanded, Color);
}

void TcxOffice11LookAndFeelPainter::PaintHeader(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect,
                                                TcxBorders Neighbors, TcxBorders Borders, TcxElementState State,
                                                TcxHorzAlign AlignHorz, TcxVertAlign AlignVert, bool MultiLine,
                                                bool ShowEndEllipsis, const std::string& Text, TFont* Font,
                                                TColor TextColor, TColor Color, const TcxCustomDrawBackground&,
                                                bool IsLast, bool) const {
  TcxUltraFlatLookAndFeelPainter::PaintHeader(Canvas, R, TextRect, Neighbors, Borders, State, AlignHorz, AlignVert,
                                              MultiLine, ShowEndEllipsis, Text, Font, TextColor, Color, {}, IsLast,
                                              false);
}

void TcxOffice11LookAndFeelPainter::PaintHeaderSection(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect,
                                                       TcxBorders Neighbors, TcxBorders Borders,
                                                       TcxElementState State, TcxHorzAlign AlignHorz,
                                                       TcxVertAlign AlignVert, bool MultiLine, bool ShowEndEllipsis,
                                                       const std::string& Text, TFont* Font, TColor TextColor,
                                                       TColor Color) const {
  PaintHeader(Canvas, R, TextRect, Neighbors, Borders, State, AlignHorz, AlignVert, MultiLine, ShowEndEllipsis, Text,
              Font, TextColor, Color);
  if (State == esPressed) PaintHeaderPressedMark(Canvas, R);
}

void TcxOffice11LookAndFeelPainter::PaintGroupRow(TcxCanvas* Canvas, const TRect& R, bool,
                                                  TcxElementState State) const {
  PaintGroupFrame(Canvas, R, State, cxBordersAll);
  DrawCellContent(Canvas, Deflated(R, 1), Deflated(R, 1), State, haLeft, vaCenter, false, false, {}, nullptr,
                  clDefault, ViewColor10(), {}, false);
}

void TcxOffice11LookAndFeelPainter::PaintSizeGripGlyph(TcxCanvas* Canvas, const TRect& R) const {
  Office11ColorsAddRef();
  Office11PaintSizeGrip(Canvas->CurrentDC(), R);
  Office11ColorsRelease();
}

void TcxOffice11LookAndFeelPainter::PaintMonthHeader(TcxCanvas* Canvas, const TRect& R, const std::string& Text,
                                                     TcxBorders, const TcxViewParams& ViewParams, int Arrows,
                                                     int ArrowOffset,
                                                     const TcxCustomDrawBackground& OnCustomDraw) const {
  const TRect inside = Deflated(R, 1);
  if (!(OnCustomDraw && OnCustomDraw(Canvas, inside)))
    Canvas->FillRectWithViewParams(inside, ViewParams, TcxBorders{}, clNone, 0, false);
  if (!Text.empty()) {
    if (ViewParams.Font) Canvas->AssignFont(ViewParams.Font);
    if (ViewParams.TextColor != clDefault) Canvas->CurrentFont()->SetColor(ViewParams.TextColor);
    Canvas->CurrentBrush()->SetStyle(bsClear);
    Canvas->DrawAlignedText(Text, inside, AlignFlags(haCenter, vaCenter, false, false));
    Canvas->CurrentBrush()->SetStyle(bsSolid);
  }
  PaintMonthArrows(Canvas, R, ControlBorderSize(), Arrows, ArrowOffset);
}

void TcxOffice11LookAndFeelPainter::DrawNavButtonFace(TcxCanvas* Canvas, const TRect& R, const TRect& ArrowRect,
                                                      bool IsNext, TcxElementState State) const {
  const TOffice11Role fill = State == esHot ? o11HotButton : State == esPressed ? o11PressedButton : o11ButtonFace;
  Canvas->FillRectWithColor(R, Office11RoleColor(fill));
  const TcxBorders open = IsNext ? TcxBorders{bLeft, bTop, bBottom} : TcxBorders{bTop, bRight, bBottom};
  Frame(Canvas, R, ViewColor42(), 1, open);
  PaintNavButtonArrow(Canvas, ArrowRect, IsNext, ButtonGlyphColor(State, clDefault));
}

void TcxOffice11LookAndFeelPainter::PaintNavigatorButton(TcxCanvas* Canvas, const TRect& R,
                                                         TcxElementState State) const {
  if (TcxCustomLookAndFeelPainter* native = RegisteredNative()) return native->PaintNavigatorButton(Canvas, R, State);
  TcxUltraFlatLookAndFeelPainter::PaintNavigatorButton(Canvas, R, State);
}

void TcxOffice11LookAndFeelPainter::PaintCalendarFrame(TcxCanvas* Canvas, const TRect& R) const {
  Frame(Canvas, R, ViewColor42());
}

namespace {
// The native painter when it is registered and the visual style can draw buttons.
TcxCustomLookAndFeelPainter* ThemedNativeForButtons() {
  TcxCustomLookAndFeelPainter* native = RegisteredNative();
  return native && IsThemingAvailable({totButton}) ? native : nullptr;
}
}  // namespace

void TcxOffice11LookAndFeelPainter::PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool Enabled,
                                                       int CaptionPosition, TcxBorders Borders) const {
  if (TcxCustomLookAndFeelPainter* native = ThemedNativeForButtons())
    return native->PaintGroupBoxFrame(Canvas, R, Enabled, CaptionPosition, Borders);
  TcxUltraFlatLookAndFeelPainter::PaintGroupBoxFrame(Canvas, R, Enabled, CaptionPosition, Borders);
}

TColor TcxOffice11LookAndFeelPainter::GroupBoxTextColor(bool Enabled) const {
  if (TcxCustomLookAndFeelPainter* native = ThemedNativeForButtons()) return native->GroupBoxTextColor(Enabled);
  return TcxUltraFlatLookAndFeelPainter::GroupBoxTextColor(Enabled);
}

void TcxOffice11LookAndFeelPainter::PaintGroupBoxBackground(TcxCanvas* Canvas, TControl* Control, const TRect& R,
                                                            TColor Color1, TColor Color2) const {
  if (Color1 == clDefault)
    DrawParentBackground(Control, Canvas, R, false);
  else if (Color2 == clDefault)
    Canvas->FillRectWithColor(R, Color1);
  else
    GradientFillRect(Canvas->CurrentDC(), R, Color1, Color2, false);
}

void TcxOffice11LookAndFeelPainter::PaintPreviewBackground(TcxCanvas* Canvas, const TRect& R) const {
  GradientFillRect(Canvas->CurrentDC(), R, Office11RoleColor(o11HeaderGradientFirst), HeaderLightColor(), false);
}
