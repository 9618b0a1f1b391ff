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

// The bitmaps drawn at build time live in the suite library's own resources.
static void InitSuiteBitmaps() { Q_INIT_RESOURCE(sonalix_suite_images); }

namespace {
TcxLookAndFeelPaintersManager* gManager = nullptr;
TBitmap* gScrollBarBitmaps[2] = {nullptr, nullptr};
TSize gCheckBoxSize{13, 13};
TcxSystemPaletteChangedNotifier* gPaintersPaletteNotifier = nullptr;
TCustomImageList* gIndicatorImages = nullptr;

void LoadIndicatorImages() {
  static const char* const names[] = {"CX_ARROWBITMAP",    "CX_EDITBITMAP",       "CX_INSERTBITMAP",
                                      "CX_MULTIDOTBITMAP", "CX_MULTIARROWBITMAP", "CX_FILTERBITMAP"};
  InitSuiteBitmaps();
  gIndicatorImages = new TCustomImageList(nullptr);
  gIndicatorImages->SetSize(8, 9);
  for (const char* name : names) {
    TBitmap b;
    b.LoadFromResourceName(name);
    gIndicatorImages->AddMasked(&b, TColor(0xFFFFFF));
  }
}

TRect Deflated(TRect R, int D) {
  R = R.Inflate(-D, -D);
  return R;
}

void Ring(TcxCanvas* Canvas, const TRect& R, TColor LeftTop, TColor RightBottom) {
  Canvas->DrawTwoToneFrame(R, LeftTop, RightBottom, cxBordersAll, 1);
}

void Frame(TcxCanvas* Canvas, const TRect& R, TColor Color, int Width = 1, TcxBorders Borders = cxBordersAll) {
  Canvas->DrawTwoToneFrame(R, Color, Color, Borders, Width);
}

void SolidPenBrush(TcxCanvas* Canvas, TColor Color) {
  Canvas->CurrentPen()->SetColor(Color);
  Canvas->CurrentPen()->SetStyle(psSolid);
  Canvas->CurrentPen()->SetWidth(1);
  Canvas->SetBrushColor(Color);
}

void Line(TcxCanvas* Canvas, int X1, int Y1, int X2, int Y2, TColor Color) {
  Canvas->CurrentPen()->SetColor(Color);
  Canvas->CurrentPen()->SetStyle(psSolid);
  Canvas->CurrentPen()->SetWidth(1);
  Canvas->MovePenTo(X1, Y1);
  Canvas->DrawLineTo(X2, Y2);
}

void Polyline(TcxCanvas* Canvas, const std::vector<TPoint>& Points, TColor Color) {
  if (Points.size() < 2) return;
  Canvas->CurrentPen()->SetColor(Color);
  Canvas->CurrentPen()->SetStyle(psSolid);
  Canvas->DrawPolyline(Points.data(), int(Points.size()));
}

// Two chevrons of arm length 3, each two pixels thick, the second two pixels behind the first,
// centred in R and pointing in Direction.
void DrawDoubleChevron(TcxCanvas* Canvas, const TRect& R, TcxArrowDirection Direction, TColor Color) {
  const TColor c = ColorToRGB(Color);
  const int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
  // Along the pointing axis the figure spans 8 pixels: tip row of the first chevron at 0, its
  // arm ends at 3 (+1 for the thickness), the second chevron starts at 4.
  for (int k = 0; k < 2; ++k)
    for (int t = 0; t < 2; ++t) {
      int along = k * 4 + t;  // distance of this tip from the front of the figure
      for (int i = 0; i <= 3; ++i) {
        int d = along + i - 4;  // from the figure's centre, positive away from the tip
        switch (Direction) {
          case adUp:
            Canvas->SetPixelColor(cx - i, cy + d, c);
            Canvas->SetPixelColor(cx + i, cy + d, c);
            break;
          case adDown:
            Canvas->SetPixelColor(cx - i, cy - d, c);
            Canvas->SetPixelColor(cx + i, cy - d, c);
            break;
          case adLeft:
            Canvas->SetPixelColor(cx + d, cy - i, c);
            Canvas->SetPixelColor(cx + d, cy + i, c);
            break;
          case adRight:
            Canvas->SetPixelColor(cx - d, cy - i, c);
            Canvas->SetPixelColor(cx - d, cy + i, c);
            break;
        }
      }
    }
}

}  // namespace

// ---- arrows

void ComputeArrowTriangle(const TRect& Rect, TPoint (&P)[3], TcxArrowDirection Direction, bool Proportional,
                          int ArrowSize) {
  TRect r = Rect;
  if (Proportional) {
    int w = r.Width(), h = r.Height();
    if (w > h)
      r = r.Inflate(-(w - h) / 2, 0);
    else
      r = r.Inflate(0, -(h - w) / 2);
  }
  bool vertical = Direction == adUp || Direction == adDown;
  int s = ArrowSize != 0 ? ArrowSize : (vertical ? (r.Width() - 1) / 4 + 1 : (r.Height() - 1) / 4 + 1);
  int bw = vertical ? 2 * s - 1 : s, bh = vertical ? s : 2 * s - 1;
  int x0 = (r.Left + r.Right - bw) / 2;
  int y0 = MulDiv(r.Top + r.Bottom - bh, 1, 2);
  switch (Direction) {
    case adUp:
      P[0] = {x0, y0 + s - 1};
      P[1] = {(r.Left + r.Right - 1) / 2, y0};
      P[2] = {x0 + 2 * s - 2, y0 + s - 1};
      break;
    case adDown:
      P[0] = {x0 + 2 * s - 2, y0};
      P[1] = {(r.Left + r.Right - 1) / 2, y0 + s - 1};
      P[2] = {x0, y0};
      break;
    case adLeft:
      P[0] = {x0 + s - 1, y0 + 2 * s - 2};
      P[1] = {x0, (r.Top + r.Bottom) / 2};
      P[2] = {x0 + s - 1, y0};
      break;
    case adRight:
      P[0] = {x0, y0};
      P[1] = {x0 + s - 1, (r.Top + r.Bottom) / 2};
      P[2] = {x0, y0 + 2 * s - 2};
      break;
  }
}

void TcxCustomLookAndFeelPainter::FillTriangle(TcxCanvas* Canvas, const TPoint* Points, TColor Color) {
  SolidPenBrush(Canvas, Color);
  Canvas->DrawPolygon(Points, 3);
}

void TcxCustomLookAndFeelPainter::PaintArrow(TcxCanvas* Canvas, const TRect& R, TcxArrowDirection Direction,
                                             TColor Color) const {
  TPoint p[3];
  ComputeArrowTriangle(R, p, Direction, true);
  FillTriangle(Canvas, p, Color);
}

void TcxCustomLookAndFeelPainter::DrawArrowButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                                                  TcxArrowDirection Direction, bool Framed) const {
  if (Framed)
    DrawArrowButtonFrame(Canvas, R, State);
  else
    Canvas->FillRectWithColor(R, ButtonFaceColor(State));
  TPoint p[3];
  ComputeArrowTriangle(R, p, Direction, false);
  FillTriangle(Canvas, p, ButtonGlyphColor(State, clDefault));
}

void TcxCustomLookAndFeelPainter::DrawArrowButtonFrame(TcxCanvas* Canvas, const TRect& R,
                                                       TcxElementState State) const {
  Canvas->FillRectWithColor(R, ButtonFaceColor(State));
  PaintButtonFrame(Canvas, R, State);
}

void TcxCustomLookAndFeelPainter::DrawScrollArrow(TcxCanvas* Canvas, const TRect& Rect, TcxElementState State,
                                                  TcxArrowDirection Direction) const {
  TRect r = Rect;
  if (State == esPressed) r = r.Offset(PressedCaptionShift(), PressedCaptionShift());
  TPoint p[3];
  ComputeArrowTriangle(r, p, Direction, true);
  if (State == esDisabled) {
    TPoint q[3] = {{p[0].X + 1, p[0].Y + 1}, {p[1].X + 1, p[1].Y + 1}, {p[2].X + 1, p[2].Y + 1}};
    FillTriangle(Canvas, q, clBtnHighlight);
    FillTriangle(Canvas, p, clBtnShadow);
  } else {
    FillTriangle(Canvas, p, ButtonGlyphColor(State, clDefault));
  }
}

void TcxCustomLookAndFeelPainter::DrawDropDownArrow(TcxCanvas* Canvas, const TRect& R, TColor Color) const {
  int w = (R.Right - R.Left) / 2;
  if (w % 2 == 0) ++w;
  int h = w / 2 + 1;
  int x = (R.Left + R.Right - w) / 2, y = MulDiv(R.Top + R.Bottom - h, 1, 2);
  TPoint p[3] = {{x, y}, {x + w - 1, y}, {x + w / 2, y + h - 1}};
  FillTriangle(Canvas, p, Color);
}

// ---- general

TColor TcxCustomLookAndFeelPainter::AccentTextColor() const {
  return IsWindowsVistaOrLater ? TColor(0xCC6600) : clHighlightText;
}

void TcxCustomLookAndFeelPainter::FillBackground(TcxCanvas* Canvas, const TRect& R, bool Transparent, TColor Color,
                                                 TBitmap* Bitmap) const {
  if (!Transparent)
    Canvas->FillRectWithColor(R, Color);
  else if (Bitmap && !Bitmap->Empty())
    Canvas->FillRectTiled(R, Bitmap, false);
}

static TcxTextFlags AlignFlags(TcxHorzAlign H, TcxVertAlign V, bool MultiLine, bool EndEllipsis) {
  TcxTextFlags f = H == haLeft ? TextAlignLeft : H == haRight ? TextAlignRight : TextAlignHCenter;
  f |= V == vaTop ? TextAlignTop : V == vaBottom ? TextAlignBottom : TextAlignVCenter;
  f |= MultiLine ? TextWordBreak : TextSingleLine;
  if (EndEllipsis) f |= TextShowEndEllipsis;
  return f;
}

void TcxCustomLookAndFeelPainter::DrawCellContent(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect,
                                                  TcxElementState, TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
                                                  bool MultiLine, bool ShowEndEllipsis, const std::string& Text,
                                                  TFont* Font, TColor TextColor, TColor Color,
                                                  const TcxCustomDrawBackground& OnCustomDraw, bool) const {
  if (!(OnCustomDraw && OnCustomDraw(Canvas, R))) Canvas->FillRectWithColor(R, Color);
  if (Text.empty()) return;
  if (Font) Canvas->AssignFont(Font);
  if (TextColor != clDefault) Canvas->CurrentFont()->SetColor(TextColor);
  Canvas->CurrentBrush()->SetStyle(bsClear);
  Canvas->DrawAlignedText(Text, TextRect, AlignFlags(AlignHorz, AlignVert, MultiLine, ShowEndEllipsis));
  Canvas->CurrentBrush()->SetStyle(bsSolid);
}

void TcxCustomLookAndFeelPainter::DrawFooterPanel(TcxCanvas* Canvas, const TRect& R, TcxBorders) const {
  TRect line(R.Left, R.Top, R.Right, R.Top + FooterLineHeight());
  PaintFooterLine(Canvas, line);
  TRect rest = R;
  rest.Top = line.Bottom;
  PaintFooterFrame(Canvas, rest);
}

TRect TcxCustomLookAndFeelPainter::FooterCellContentBounds(const TRect& R) const {
  return Deflated(R, FooterCellFrameWidth());
}

TRect TcxCustomLookAndFeelPainter::FooterCellTextBounds(const TRect& R) const {
  return Deflated(FooterCellContentBounds(R), 2);
}

TRect TcxCustomLookAndFeelPainter::SeparatorBounds(const TRect& R, int Thickness, bool Horizontal) const {
  TRect b = R;
  if (Horizontal) {
    b.Top = (R.Top + R.Bottom) / 2 - Thickness / 2;
    b.Bottom = b.Top + Thickness;
  } else {
    b.Left = (R.Left + R.Right) / 2 - Thickness / 2;
    b.Right = b.Left + Thickness;
  }
  return b;
}

void TcxCustomLookAndFeelPainter::DrawSeparator(TcxCanvas* Canvas, const TRect& R, bool Horizontal) const {
  TRect b = SeparatorBounds(R, SeparatorThickness(), Horizontal);
  --b.Right;
  --b.Bottom;
  Canvas->FillRectWithColor(b, clBtnShadow);
  b = b.Offset(1, 1);
  Canvas->FillRectWithColor(b, clBtnHighlight);
}

void TcxCustomLookAndFeelPainter::DrawContainerFrame(TcxCanvas* Canvas, const TRect& R,
                                                     TcxContainerBorderStyle BorderStyle, int Width, TColor Color,
                                                     TcxBorders Borders) const {
  switch (BorderStyle) {
    case cbsSingle:
    case cbsThick: Frame(Canvas, R, Color, Width); break;
    case cbsFlat:
      Canvas->DrawEdgeFrame(R, true, true, Borders);
      Frame(Canvas, Deflated(R, 1), clBtnFace);
      break;
    case cbs3D:
      Canvas->DrawEdgeFrame(R, true, true, Borders);
      Canvas->DrawEdgeFrame(Deflated(R, 1), true, false, Borders);
      break;
    default: break;
  }
}

// ---- buttons

TRect TcxCustomLookAndFeelPainter::ButtonFocusBounds(TcxCanvas*, const TRect& R) const {
  TRect d = Deflated(R, 4);
  return d.IsEmpty() ? R : d;
}

TColor TcxCustomLookAndFeelPainter::ButtonGlyphColor(TcxElementState State, TColor DefaultColor) const {
  if (State == esDisabled) return clBtnShadow;
  return DefaultColor == clDefault ? clBtnText : DefaultColor;
}

void TcxCustomLookAndFeelPainter::PaintButton(TcxCanvas* Canvas, const TRect& Rect, const std::string& Caption,
                                              TcxElementState State, bool DrawFrame, TColor Color, TColor TextColor,
                                              bool WordWrap, bool) const {
  TRect r = Rect;
  if (DrawFrame) {
    PaintButtonFrame(Canvas, r, State);
    r = Deflated(r, ButtonBorderWidth(State));
  }
  Canvas->FillRectWithColor(r, Color == clDefault ? ButtonFaceColor(State) : Color);
  Canvas->CurrentFont()->SetColor(TextColor == clDefault ? ButtonGlyphColor(State, clDefault) : TextColor);
  Canvas->CurrentBrush()->SetStyle(bsClear);
  if (r.Height() % 2 != 0) --r.Bottom;
  if (r.Height() < 18) --r.Top;
  if (State == esPressed) r = r.Offset(PressedCaptionShift(), PressedCaptionShift());
  if (!Caption.empty())
    Canvas->DrawAlignedText(Caption, r,
                            TextAlignHCenter | TextAlignVCenter | TextShowPrefix |
                                (WordWrap ? TextWordBreak : TextSingleLine),
                            State != esDisabled);
  Canvas->CurrentBrush()->SetStyle(bsSolid);
}

void TcxCustomLookAndFeelPainter::DrawExpandCross(TcxCanvas* Canvas, const TRect& R, bool Expanded, TColor Color) {
  int cx = (R.Left + R.Right) / 2, cy = (R.Top + R.Bottom) / 2;
  int a = (R.Width() - 4) / 2;
  Canvas->FillRectWithColor(TRect(cx - a, cy, cx + a + 1, cy + 1), Color);
  if (!Expanded) Canvas->FillRectWithColor(TRect(cx, cy - a, cx + 1, cy + a + 1), Color);
}

void TcxCustomLookAndFeelPainter::PaintGroupExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                                         TcxElementState State) const {
  PaintButton(Canvas, R, {}, State);
  DrawDoubleChevron(Canvas, R, Expanded ? adUp : adDown, ButtonGlyphColor(State, clDefault));
}

void TcxCustomLookAndFeelPainter::PaintSmallExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                                         TColor BorderColor, TColor Color) const {
  Frame(Canvas, R, BorderColor);
  if (Color != clDefault) Canvas->FillRectWithColor(Deflated(R, 1), Color);
  DrawExpandCross(Canvas, R, Expanded, clBtnText);
}

// ---- check boxes and radio buttons

TColor TcxCustomLookAndFeelPainter::CheckFaceColor(TcxElementState State) const {
  static const TColor colors[] = {clWindow, clWindow, clWindow, clBtnFace, clBtnFace};
  return colors[State];
}

TSize TcxCustomLookAndFeelPainter::CheckBoxExtent() const { return gCheckBoxSize; }

void TcxCustomLookAndFeelPainter::PaintCheckMark(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                                                 bool Checked, TColor Color) const {
  if (Canvas->CurrentBrush()->Style() == bsSolid) Canvas->FillRectWithColor(R, CheckFaceColor(State));
  if (!Checked) return;
  int w = R.Width() - 2, h = R.Height() - 4;
  if (w < 3 || h < 1) return;
  for (int k = 0; k < 3; ++k) {
    int x0 = R.Left + 1, y0 = R.Top + 1 + k;
    std::vector<TPoint> p = {{x0, y0 + h / 2}, {x0 + w / 2 - 1, y0 + h - 1}, {x0 + w, y0 - 1}};
    Polyline(Canvas, p, Color);
  }
}

void TcxCustomLookAndFeelPainter::PaintCheckBox(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                                                TcxCheckBoxState CheckState) const {
  PaintCheckFrame(Canvas, R, State);
  TRect r = Deflated(R, CheckFrameWidth());
  PaintCheckMark(Canvas, r, State, CheckState == cbsChecked,
                 State == esDisabled || CheckState == cbsGrayed ? clGrayText : clBtnText);
}

TColor TcxCustomLookAndFeelPainter::RadioFaceColor(TcxElementState State) const {
  return State == esPressed || State == esDisabled ? clBtnFace : clWindow;
}

void TcxCustomLookAndFeelPainter::PaintEdgeLine(TcxCanvas* Canvas, const TRect& R, TColor DarkColor,
                                                TColor LightColor, bool Vertical) const {
  if (DarkColor == clDefault) DarkColor = clBtnShadow;
  if (LightColor == clDefault) LightColor = clBtnHighlight;
  Canvas->DrawTwoToneFrame(R, DarkColor, LightColor, Vertical ? TcxBorders{bLeft, bRight} : TcxBorders{bTop, bBottom},
                           1);
}

// ---- headers

void TcxCustomLookAndFeelPainter::PaintHeader(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect,
                                              TcxBorders Neighbors, TcxBorders Borders, TcxElementState State,
                                              TcxHorzAlign AlignHorz, TcxVertAlign AlignVert, bool MultiLine,
                                              bool ShowEndEllipsis, const std::string& Text, TFont* Font,
                                              TColor TextColor, TColor Color,
                                              const TcxCustomDrawBackground& OnCustomDraw, bool, bool) const {
  PaintHeaderFrame(Canvas, R, Neighbors, Borders);
  DrawCellContent(Canvas, HeaderInnerBounds(R, Borders), TextRect, State, AlignHorz, AlignVert, MultiLine,
                  ShowEndEllipsis, Text, Font, TextColor, Color, OnCustomDraw, false);
}

TRect TcxCustomLookAndFeelPainter::HeaderOuterBounds(const TRect& R, TcxBorders Neighbors, TcxBorders Borders) const {
  TcxBorders grow = Borders - HeaderFrameSides(Neighbors);
  int w = HeaderFrameWidth();
  TRect r = R;
  if (grow.Contains(bLeft)) r.Left -= w;
  if (grow.Contains(bTop)) r.Top -= w;
  if (grow.Contains(bRight)) r.Right += w;
  if (grow.Contains(bBottom)) r.Bottom += w;
  return r;
}

TRect TcxCustomLookAndFeelPainter::HeaderInnerBounds(const TRect& R, TcxBorders Borders) const {
  int w = HeaderFrameWidth();
  TRect r = R;
  if (Borders.Contains(bLeft)) r.Left += w;
  if (Borders.Contains(bTop)) r.Top += w;
  if (Borders.Contains(bRight)) r.Right -= w;
  if (Borders.Contains(bBottom)) r.Bottom -= w;
  return r;
}

void TcxCustomLookAndFeelPainter::DrawSortMarkWith(TcxCanvas* Canvas, const TRect& R, TColor DarkColor,
                                                   TColor LightColor, bool Ascending) const {
  TSize e = SortMarkExtent();
  if (e.cx <= 0 || e.cy <= 0) return;
  int l = (R.Left + R.Right - e.cx) / 2, t = (R.Top + R.Bottom - e.cy) / 2;
  int r = l + e.cx - 1, b = t + e.cy - 1, mid = l + (e.cx - 1) / 2;
  if (Ascending) {
    Line(Canvas, mid, t, r + 1, b + 1, LightColor);     // right side
    Line(Canvas, mid, t, l - 1, b + 1, DarkColor);      // left side
    Line(Canvas, l, b, r + 1, b, LightColor);           // base at the bottom
  } else {
    Line(Canvas, mid, b, r + 1, t - 1, LightColor);
    Line(Canvas, mid, b, l - 1, t - 1, DarkColor);
    Line(Canvas, l, t, r + 1, t, DarkColor);
  }
}

// ---- filter and popup close buttons

void TcxCustomLookAndFeelPainter::PaintFilterCloseButton(TcxCanvas* Canvas, const TRect& R,
                                                         TcxElementState State) const {
  PaintButtonFrame(Canvas, R, State);
  TRect r = Deflated(R, ButtonBorderWidth(esNormal));
  Canvas->FillRectWithColor(r, ButtonFaceColor(State));
  int size = FilterCloseButtonExtent().cx / 2;
  if (size % 2 == 0) --size;
  int x = (R.Left + R.Right - size) / 2, y = (R.Top + R.Bottom - size) / 2;
  if (ButtonGlyphState(State) == esPressed) {
    ++x;
    ++y;
  }
  TColor c = ButtonGlyphColor(State, clDefault);
  for (int d = 0; d < 2; ++d) {
    Line(Canvas, x + d, y, x + d + size, y + size, c);
    Line(Canvas, x + d, y + size - 1, x + d + size, y - 1, c);
  }
}

// ---- popups, hints and screen tips

void TcxCustomLookAndFeelPainter::PaintPopupFrame(TcxCanvas* Canvas, TRect& R, int FrameStyle, bool Flag) const {
  if (FrameStyle == 1) {
    Frame(Canvas, R, clBtnText);
  } else if (FrameStyle == 2 || FrameStyle == 3) {
    Canvas->DrawEdgeFrame(R, false, true, cxBordersAll);
    R = R.Inflate(-1, -1);
    Canvas->DrawEdgeFrame(R, false, false, cxBordersAll);
    if (FrameStyle == 2) {
      R = R.Inflate(-1, -1);
      Frame(Canvas, R, Flag ? clInactiveBorder : clBtnFace);
      R = R.Inflate(-1, -1);
      if (Flag)
        Frame(Canvas, R, clBtnFace);
      else
        Canvas->DrawEdgeFrame(R, true, true, cxBordersAll);
    }
  }
  R = R.Inflate(-1, -1);
}

void TcxCustomLookAndFeelPainter::DrawTipBackground(TcxCanvas* Canvas, const TRect& R) const {
  PaintHintBackground(Canvas, Deflated(R, 1), clDefault);
  Canvas->CurrentPen()->SetColor(clWindowFrame);
  Canvas->CurrentBrush()->SetStyle(bsClear);
  Canvas->Canvas()->RoundRect(R.Left, R.Top, R.Right, R.Bottom, 2, 2);
  Canvas->CurrentBrush()->SetStyle(bsSolid);
}

void TcxCustomLookAndFeelPainter::DrawTipFrame(TcxCanvas* Canvas, const TRect& R) const {
  Canvas->FillRectWithColor(TRect(R.Left, R.Top, R.Right, R.Top + 1), clWindowFrame);
  Canvas->FillRectWithColor(TRect(R.Left, R.Top + 1, R.Right, R.Top + 2), TColor(0xFFFFFF));
}

// ---- indicator column

void TcxCustomLookAndFeelPainter::PaintListMark(TcxCanvas* Canvas, const TRect& R, TColor Color) const {
  int y = (R.Top + R.Bottom - 9) / 2;
  for (int i = 0; i < 5; ++i, y += 2) {
    Canvas->FillRectWithColor(TRect(R.Left + 5, y, R.Right - 3, y + 1), Color);
    if (i % 2 == 0) Canvas->FillRectWithColor(TRect(R.Left + 3, y, R.Left + 4, y + 1), Color);
  }
}

void TcxCustomLookAndFeelPainter::PaintIndicatorGlyph(TcxCanvas* Canvas, const TRect& R, int Kind) const {
  TCustomImageList* images = cxIndicatorImages();
  if (!images || Kind < 1 || Kind > images->Count()) return;
  ImageList_Draw(images->Handle(), Kind - 1, Canvas->CurrentDC(), (R.Left + R.Right - images->Width()) / 2,
                 (R.Top + R.Bottom - images->Height()) / 2, ILD_TRANSPARENT);
}

// ---- scroll bars and size grip

TSize TcxCustomLookAndFeelPainter::SizeGripExtent() const {
  return {GetSystemMetrics(SM_CXVSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
}

void TcxCustomLookAndFeelPainter::PaintSizeGripGlyph(TcxCanvas* Canvas, const TRect& R) const {
  RECT rc = R;
  DrawFrameControl(Canvas->CurrentDC(), &rc, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
}

void TcxCustomLookAndFeelPainter::PaintSizeGrip(TcxCanvas* Canvas, const TRect& R, TColor BackgroundColor,
                                                TcxCorner Corner) const {
  if (R.IsEmpty()) return;
  std::unique_ptr<TcxBitmap> bmp(TcxBitmap::CreateForRect(R));
  TcxCanvas* bc = bmp->cxCanvas();
  bc->AssignBrush(Canvas->CurrentBrush());
  TRect full = bmp->FullRect();
  if (BackgroundColor == clNone)
    bc->CopyRectFrom(full, Canvas->Canvas(), R);
  else
    bc->FillRectWithColor(full, BackgroundColor);
  PaintSizeGripGlyph(bc, full);
  switch (Corner) {
    case coTopRight: bmp->RotateFlip(raNone, true); break;
    case coBottomLeft: bmp->RotateFlip(ra180, true); break;
    case coTopLeft: bmp->RotateFlip(ra180, false); break;
    default: break;
  }
  Canvas->CopyRectFrom(R, bmp->Canvas(), bmp->FullRect());
}

void CalcPopupResizeBarLayout(const TcxCustomLookAndFeelPainter* Painter, TRect& R, TRect& BarRect,
                              TRect& GripRect, TRect& CloseButtonRect, TcxCorner Corner, const TRect& BorderWidths,
                              const TRect& CloseButtonMargins, int BarHeight, bool HasCloseButton, bool HasGrip) {
  TSize grip = Painter->SizeGripExtent(), close = Painter->PopupCloseButtonExtent();
  if (BarHeight == 0)
    BarHeight = std::max({GetSystemMetrics(SM_CYHSCROLL) + 3, int(grip.cy) + 4, int(close.cy) + 6});
  R.Left += BorderWidths.Left;
  R.Top += BorderWidths.Top;
  R.Right -= BorderWidths.Right;
  R.Bottom -= BorderWidths.Bottom;
  bool top = Corner == coTopLeft || Corner == coTopRight;
  bool right = Corner == coTopRight || Corner == coBottomRight;
  BarRect = R;
  if (top) {
    BarRect.Bottom = BarRect.Top + BarHeight;
    R.Top = BarRect.Bottom;
  } else {
    BarRect.Top = BarRect.Bottom - BarHeight;
    R.Bottom = BarRect.Top;
  }
  GripRect = TRect();
  if (HasGrip) {
    int x = right ? BarRect.Right - 2 - grip.cx : BarRect.Left + 2;
    int y = top ? BarRect.Top + 2 : BarRect.Bottom - 2 - grip.cy;
    GripRect = TRect(x, y, x + grip.cx, y + grip.cy);
  }
  CloseButtonRect = TRect();
  if (HasCloseButton) {
    TRect b = BarRect;
    b.Left += CloseButtonMargins.Left;
    b.Top += CloseButtonMargins.Top;
    b.Right -= CloseButtonMargins.Right;
    b.Bottom -= CloseButtonMargins.Bottom;
    int side = b.Height();
    if (right)
      b.Right = b.Left + side;
    else
      b.Left = b.Right - side;
    int x = (b.Left + b.Right - close.cx) / 2, y = (b.Top + b.Bottom - close.cy) / 2;
    CloseButtonRect = TRect(x, y, x + close.cx, y + close.cy);
  }
}

// ---- calendar and progress

static void PaintMonthArrows(TcxCanvas* Canvas, const TRect& R, int BorderSize, int Arrows, int ArrowOffset) {
  TRect a = R;
  a.Top += BorderSize + 1;
  a.Bottom -= 1;
  int H = a.Height() / 2;
  if (H % 2 == 0) ++H;
  int y0 = (a.Top + a.Bottom - H) / 2 - 1;
  if (Arrows & 1) {
    int x0 = a.Left + ArrowOffset - 1;
    TPoint p[3] = {{x0, y0}, {x0, y0 + H + 1}, {x0 - (H / 2 + 1), y0 + H / 2 + 1}};
    TcxCustomLookAndFeelPainter::FillTriangle(Canvas, p, clWindowText);
  }
  if (Arrows & 2) {
    int x0 = a.Right - ArrowOffset + 1;
    TPoint p[3] = {{x0, y0}, {x0, y0 + H + 1}, {x0 + H / 2 + 1, y0 + H / 2 + 1}};
    TcxCustomLookAndFeelPainter::FillTriangle(Canvas, p, clWindowText);
  }
}


void TcxCustomLookAndFeelPainter::PaintMonthHeader(TcxCanvas* Canvas, const TRect& R, const std::string& Text,
                                                   TcxBorders Neighbors, const TcxViewParams& ViewParams, int Arrows,
                                                   int ArrowOffset,
                                                   const TcxCustomDrawBackground& OnCustomDraw) const {
  PaintHeader(Canvas, R, R, Neighbors, HeaderFrameSides(Neighbors), esNormal, haCenter, vaCenter, false, false,
              Text, ViewParams.Font, ViewParams.TextColor, ViewParams.Color, OnCustomDraw);
  PaintMonthArrows(Canvas, R, ControlBorderSize(), Arrows, ArrowOffset);
}

void TcxCustomLookAndFeelPainter::PaintProgressBar(TcxCanvas* Canvas, const TRect& Bounds, const TRect& ProgressRect,
                                                   const TcxViewParams& ViewParams, bool Framed) const {
  if (!Framed) Canvas->FillRectWithViewParams(Deflated(Bounds, 1), ViewParams, TcxBorders{}, clNone, 0, false);
  Frame(Canvas, Bounds, TColor(0x808080));
  Canvas->FillRectWithColor(ProgressRect, TColor(0x800000));
}

void TcxCustomLookAndFeelPainter::DrawNavButtonFace(TcxCanvas* Canvas, const TRect& Rect, const TRect& ArrowRect,
                                                    bool IsNext, TcxElementState State) const {
  TRect r = Rect;
  Canvas->FillRectWithColor(r, clBtnFace);
  TcxBorders sides = IsNext ? TcxBorders{bLeft, bTop, bBottom} : TcxBorders{bTop, bRight, bBottom};
  Canvas->DrawTwoToneFrame(r, clBtnShadow, clBtnShadow, sides, 1);
  ++r.Top;
  --r.Bottom;
  if (IsNext)
    ++r.Left;
  else
    --r.Right;
  if (State == esPressed)
    Ring(Canvas, r, clBtnShadow, clBtnHighlight);
  else
    Ring(Canvas, r, clBtnHighlight, clBtnShadow);
  PaintNavButtonArrow(Canvas, ArrowRect, IsNext, ButtonGlyphColor(State, clDefault));
}

void TcxCustomLookAndFeelPainter::PaintNavButtonArrow(TcxCanvas* Canvas, const TRect& R, bool IsNext,
                                                      TColor Color) const {
  int pairs = (R.Height() + 1) / 2;
  for (int i = 0; i < pairs; ++i) {
    int x = IsNext ? R.Left + i : R.Right - 2 - i;
    Canvas->FillRectWithColor(TRect(x, R.Top + i, x + 2, R.Top + i + 1), Color);
    Canvas->FillRectWithColor(TRect(x, R.Bottom - 1 - i, x + 2, R.Bottom - i), Color);
  }
  int tip = IsNext ? R.Left + pairs + 1 : R.Right - pairs - 2;
  Canvas->FillRectWithColor(TRect(tip, R.Top + pairs - 1, tip + 1, R.Bottom - pairs + 1), Color);
}

// ---- clock

void TcxCustomLookAndFeelPainter::PaintClock(TcxCanvas* Canvas, const TRect& R, double Time,
                                             TColor BackgroundColor) const {
  const double pi = 3.14159265358979323846;
  double cx = (R.Left + R.Right) / 2.0, cy = (R.Top + R.Bottom) / 2.0;
  double rx = R.Width() / 2.0 - 2, ry = R.Height() / 2.0 - 2;
  Canvas->PushClipRegion();
  for (int i = 0; i < 60; i += 5) {
    double a = i * 2 * pi / 60;
    int x = int(std::lround(cx + rx * std::cos(a))), y = int(std::lround(cy + ry * std::sin(a)));
    Canvas->SetPixelColor(x, y, TColor(0x808000));
    Polyline(Canvas, {{x - 1, y + 1}, {x - 1, y - 1}, {x, y - 1}}, TColor(0xFFFF00));
    Polyline(Canvas, {{x, y + 1}, {x + 1, y + 1}, {x + 1, y - 1}}, clBtnText);
    Canvas->ClipOutRect(TRect(x - 1, y - 1, x + 2, y + 2));
  }
  Canvas->FillRectWithColor(R, BackgroundColor);
  Canvas->PopClipRegion();

  double f = R.Width() / 2.0 - 2, e = R.Height() / 2.0 - 2;
  double day = Time - std::floor(Time);
  int total = int(std::lround(day * 86400)) % 86400;
  int hours = total / 3600, minutes = total / 60 % 60, seconds = total % 60;
  auto hand = [&](double angle, double tip, double tail, double halfWidth) {
    auto at = [&](double a, double kx, double ky) {
      return TPoint{int(std::lround(cx + kx * std::cos(a))), int(std::lround(cy + ky * std::sin(a)))};
    };
    TPoint p[4] = {at(angle, tip * f, tip * e), at(angle + pi / 2, halfWidth, halfWidth),
                   at(angle + pi, tail * f, tail * e), at(angle + 3 * pi / 2, halfWidth, halfWidth)};
    Canvas->SetPixelColor(p[0].X, p[0].Y, TColor(0x808000));
    SolidPenBrush(Canvas, TColor(0x808000));
    Canvas->DrawPolygon(p, 4);
  };
  hand(((hours % 12) * 3600 + minutes * 60 + seconds - 10800) * 2 * pi / 43200, 0.75, 0.15, 4.5);
  hand((minutes * 60 + seconds - 900) * 2 * pi / 3600, 0.85, 0.2, 3.5);
  double sa = (seconds - 15) * 2 * pi / 60;
  Line(Canvas, int(std::lround(cx)), int(std::lround(cy)), int(std::lround(cx + 0.9 * f * std::cos(sa))),
       int(std::lround(cy + 0.9 * e * std::sin(sa))), TColor(0x0000FF));
}

// ---- containers, track bars, splitters

void TcxCustomLookAndFeelPainter::PaintContainerBackground(TcxCanvas* Canvas, TRect& R) const {
  Canvas->FillRectWithColor(R, ViewColor29());
  Ring(Canvas, R, clBtnHighlight, clBtnShadow);
  R = R.Inflate(-1, -1);
}

void TcxCustomLookAndFeelPainter::PaintTrackBarTrack(TcxCanvas* Canvas, const TRect& R, bool, TColor Color) const {
  Canvas->FillRectWithColor(R, Color);
  PaintTrackBarTrackFrame(Canvas, R);
}

void TcxCustomLookAndFeelPainter::PaintTrackBarThumb(TcxCanvas* Canvas, const TRect& Rect, TcxElementState,
                                                     bool Vertical, int Shape, TColor Color) const {
  SolidPenBrush(Canvas, Color);
  TRect r = Rect;
  if (Shape == 2) {
    Canvas->FillRectWithColor(r, Color);
    PaintThumbRectFrame(Canvas, r);
    return;
  }
  // The pentagon is built pointing up in a local frame and mapped to the requested direction.
  int len = Vertical ? r.Width() : r.Height(), across = Vertical ? r.Height() : r.Width();
  int half = (across - 1) / 2;
  auto map = [&](int a, int l) {  // a across (0 left), l along (0 tip)
    if (!Vertical) return Shape == 0 ? TPoint{r.Left + a, r.Top + l} : TPoint{r.Left + a, r.Bottom - 1 - l};
    return Shape == 0 ? TPoint{r.Left + l, r.Top + a} : TPoint{r.Right - 1 - l, r.Top + a};
  };
  int w = across - 1, b = len - 1;
  TPoint poly[5] = {map(half, 0), map(w, half), map(w, b), map(0, b), map(0, half)};
  Canvas->DrawPolygon(poly, 5);
  // Light falls from the top left: a pointer turned down or right has its flat end on the lit
  // side, so that end joins the light line instead of the shadow.
  std::vector<TPoint> light, shadow, dark;
  if (Shape == 0) {
    light = {map(0, b), map(0, half), map(half, 0)};
    shadow = {map(half, 0), map(w, half), map(w, b), map(-1, b)};
    dark = {map(half, 1), map(w - 1, half), map(w - 1, b - 1), map(0, b - 1)};
  } else {
    light = {map(w, b), map(0, b), map(0, half), map(half, 0)};
    shadow = {map(half, 0), map(w, half), map(w, b + 1)};
    dark = {map(half, 1), map(w - 1, half), map(w - 1, b)};
  }
  PaintThumbShapeFrame(Canvas, light, dark, shadow);
}

void TcxCustomLookAndFeelPainter::PaintSplitter(TcxCanvas* Canvas, const TRect& R, bool Highlighted, bool,
                                                bool Horizontal) const {
  const TSize extent = SplitterExtent(Horizontal);
  const bool two = (Horizontal ? extent.cy : extent.cx) > 1;
  const int start = Horizontal ? R.Left : R.Top, end = Horizontal ? R.Right : R.Bottom;
  const int centre = (start + end) / 2;
  const int middle = Horizontal ? (R.Top + R.Bottom) / 2 : (R.Left + R.Right) / 2;
  // With two lines both are one pixel shorter: the light one sits one pixel further along and
  // across, so that the pair stays inside the rectangle.
  auto draw = [&](int shift, TColor Color) {
    const int pos = middle + shift;
    auto seg = [&](int a, int b) {
      a = std::max(a, start + shift);
      b = std::min(b, end - (two ? 1 : 0) + shift);
      if (b > a) Canvas->FillRectWithColor(Horizontal ? TRect(a, pos, b, pos + 1) : TRect(pos, a, pos + 1, b), Color);
    };
    const int d0 = centre - 5 + shift;
    seg(start + shift, d0);
    for (int i = 0; i < 3; ++i) seg(d0 + 1 + i * 3, d0 + 3 + i * 3);
    seg(d0 + 10, end + shift);
  };
  draw(0, SplitterOuterColor(Highlighted));
  if (two) draw(1, SplitterLightColor(Highlighted));
}

// ---- operations added to complete the vocabulary

TColor TcxCustomLookAndFeelPainter::ViewColor28() const {
  TColor c = ContentColorFor(false);
  return c == clDefault ? WindowColor() : c;
}

TRect TcxCustomLookAndFeelPainter::ButtonGroupBorderWidths(int, int) const {
  int w = ButtonBorderWidth(esNormal);
  return TRect(w, w, w, w);
}

void TcxCustomLookAndFeelPainter::PaintPlainButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State, int,
                                                   int, TColor) const {
  PaintButton(Canvas, R, {}, State, true, clDefault, clDefault);
}


void TcxCustomLookAndFeelPainter::PaintRotatedGroupButton(TcxCanvas* Canvas, const TRect& R,
                                                          TcxRotationAngle Rotation, bool Expanded,
                                                          TcxElementState State) const {
  PaintButton(Canvas, R, {}, State);
  // The upright mark points up when expanded; a quarter turn either way makes it point sideways.
  static const TcxArrowDirection turned[4][2] = {
      {adDown, adUp}, {adRight, adLeft}, {adLeft, adRight}, {adUp, adDown}};
  DrawDoubleChevron(Canvas, R, turned[Rotation][Expanded ? 1 : 0], ButtonGlyphColor(State, clDefault));
}

void TcxCustomLookAndFeelPainter::PaintHeaderItem(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect,
                                                  TcxBorders Neighbors, TcxBorders Borders, TcxElementState State,
                                                  TcxHorzAlign AlignHorz, TcxVertAlign AlignVert, bool MultiLine,
                                                  bool ShowEndEllipsis, const std::string& Text, TFont* Font,
                                                  TColor TextColor, TColor Color,
                                                  const TcxCustomDrawBackground& OnCustomDraw) const {
  PaintHeader(Canvas, R, TextRect, Neighbors, Borders, State, AlignHorz, AlignVert, MultiLine, ShowEndEllipsis,
              Text, Font, TextColor, Color, OnCustomDraw, false, false);
}

void TcxCustomLookAndFeelPainter::PaintHeaderSection(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect,
                                                     TcxBorders, TcxBorders Borders, TcxElementState State,
                                                     TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
                                                     bool MultiLine, bool ShowEndEllipsis, const std::string& Text,
                                                     TFont* Font, TColor TextColor, TColor Color) const {
  PaintHeaderSectionFrame(Canvas, R, Borders, State);
  PaintHeaderSectionContent(Canvas, HeaderSectionContentBounds(R, State), TextRect, State, AlignHorz, AlignVert,
                            MultiLine, ShowEndEllipsis, Text, Font, TextColor, Color);
}

void TcxCustomLookAndFeelPainter::PaintHeaderSectionContent(TcxCanvas* Canvas, const TRect& R, const TRect& Bounds,
                                                            TcxElementState State, TcxHorzAlign AlignHorz,
                                                            TcxVertAlign AlignVert, bool MultiLine,
                                                            bool ShowEndEllipsis, const std::string& Text,
                                                            TFont* Font, TColor TextColor, TColor Color) const {
  Canvas->FillRectWithColor(R, Color);
  PaintHeaderSectionText(Canvas, HeaderSectionTextBounds(Bounds, State), State, AlignHorz, AlignVert, MultiLine,
                         ShowEndEllipsis, Text, Font, TextColor);
}

void TcxCustomLookAndFeelPainter::PaintHeaderSectionText(TcxCanvas* Canvas, const TRect& TextBounds,
                                                         TcxElementState State, TcxHorzAlign AlignHorz,
                                                         TcxVertAlign AlignVert, bool MultiLine,
                                                         bool ShowEndEllipsis, const std::string& Text, TFont* Font,
                                                         TColor TextColor) const {
  if (Text.empty()) return;
  if (Font) Canvas->AssignFont(Font);
  TcxTextFlags flags = AlignFlags(AlignHorz, AlignVert, MultiLine, ShowEndEllipsis);
  Canvas->CurrentBrush()->SetStyle(bsClear);
  if (State == esDisabled) {
    Canvas->CurrentFont()->SetColor(clBtnHighlight);
    Canvas->DrawAlignedText(Text, TextBounds.Offset(1, 1), flags);
    Canvas->CurrentFont()->SetColor(clBtnShadow);
  } else if (TextColor != clDefault) {
    Canvas->CurrentFont()->SetColor(TextColor);
  }
  Canvas->DrawAlignedText(Text, TextBounds, flags);
  Canvas->CurrentBrush()->SetStyle(bsSolid);
}

void TcxCustomLookAndFeelPainter::PaintHeaderDivider(TcxCanvas* Canvas, const TRect& Bounds, int IndentSize,
                                                     TColor Color, const TcxViewParams& ViewParams) const {
  int indent = std::clamp(IndentSize, 0, std::max(0, Bounds.Width() / 2));
  TRect first(Bounds.Left, Bounds.Top, Bounds.Left + indent, Bounds.Bottom);
  TRect last(Bounds.Right - indent, Bounds.Top, Bounds.Right, Bounds.Bottom);
  for (const TRect& r : {first, last})
    if (!r.IsEmpty()) Canvas->FillRectWithViewParams(r, ViewParams, TcxBorders{}, clNone, 0, false);
  Canvas->FillRectWithColor(TRect(first.Right, Bounds.Top, last.Left, Bounds.Bottom), Color);
}

TRect TcxCustomLookAndFeelPainter::HeaderSectionTextBounds(const TRect& Bounds, TcxElementState State) const {
  return State == esPressed ? Bounds.Offset(1, 1) : Bounds;
}

TRect TcxCustomLookAndFeelPainter::HeaderSectionContentBounds(const TRect& R, TcxElementState State) const {
  return Deflated(R, HeaderSectionFrameWidth(State));
}

int TcxCustomLookAndFeelPainter::HeaderWidthFor(TcxCanvas* Canvas, TcxBorders Borders, const std::string& Text,
                                                TFont* Font) const {
  if (Font) Canvas->AssignFont(Font);
  int w = Canvas->MeasureTextWidth(Text) + 4;
  if (Borders.Contains(bLeft)) w += HeaderFrameWidth();
  if (Borders.Contains(bRight)) w -= HeaderFrameWidth();
  return w;
}

TColor TcxCustomLookAndFeelPainter::GroupPanelColor(bool Flag) const {
  return Flag ? clWindow : Office11RoleColor(o11GroupPanel);
}

TColor TcxCustomLookAndFeelPainter::GroupPanelColorB() const { return Office11RoleColor(o11GroupPanelB); }

TColor TcxCustomLookAndFeelPainter::GroupPanelColorC() const { return Office11RoleColor(o11GroupPanelC); }

void TcxCustomLookAndFeelPainter::PaintGroupCaptionFill(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                                                        bool) const {
  Canvas->FillRectWithColor(R, State == esPressed ? ViewColor50() : ViewColor10());
}

void TcxCustomLookAndFeelPainter::PaintGroupRow(TcxCanvas* Canvas, const TRect& R, bool, TcxElementState State) const {
  PaintGroupFrame(Canvas, R, State, cxBordersAll);
  Canvas->FillRectWithColor(Deflated(R, 1), State == esHot ? ViewColor50() : ViewColor10());
}

void TcxCustomLookAndFeelPainter::PaintGroupFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                                                  TcxBorders Borders) const {
  Frame(Canvas, R, State == esHot ? ViewColor50() : clBtnShadow, 1, Borders);
}

void TcxCustomLookAndFeelPainter::PaintGroupFrameFilled(TcxCanvas* Canvas, const TRect& R, bool,
                                                        TcxElementState State, TcxBorders Borders) const {
  PaintGroupFrame(Canvas, R, State, Borders);
  TRect in = R;
  if (Borders.Contains(bLeft)) ++in.Left;
  if (Borders.Contains(bTop)) ++in.Top;
  if (Borders.Contains(bRight)) --in.Right;
  if (Borders.Contains(bBottom)) --in.Bottom;
  Canvas->FillRectWithColor(in, ViewColor10());
}

void TcxCustomLookAndFeelPainter::PaintFooterCell(TcxCanvas* Canvas, const TRect& R, TcxHorzAlign AlignHorz,
                                                  TcxVertAlign AlignVert, bool MultiLine, const std::string& Text,
                                                  TFont* Font, TColor TextColor, TColor Color,
                                                  const TcxCustomDrawBackground& OnCustomDraw) const {
  PaintFooterCellFrame(Canvas, R);
  PaintFooterCellContent(Canvas, R, AlignHorz, AlignVert, MultiLine, Text, Font, TextColor, Color, OnCustomDraw);
}

void TcxCustomLookAndFeelPainter::PaintFooterCellContent(TcxCanvas* Canvas, const TRect& R, TcxHorzAlign AlignHorz,
                                                         TcxVertAlign AlignVert, bool MultiLine,
                                                         const std::string& Text, TFont* Font, TColor TextColor,
                                                         TColor Color,
                                                         const TcxCustomDrawBackground& OnCustomDraw) const {
  DrawCellContent(Canvas, FooterCellContentBounds(R), FooterCellTextBounds(R), esDefault, AlignHorz, AlignVert,
                  MultiLine, false, Text, Font, TextColor, Color, OnCustomDraw, true);
}

void TcxCustomLookAndFeelPainter::PaintFooterBackground(TcxCanvas* Canvas, const TRect& R,
                                                        const TcxViewParams& ViewParams) const {
  if (!R.IsEmpty()) Canvas->FillRectWithViewParams(R, ViewParams, TcxBorders{}, clNone, 0, false);
}

int TcxCustomLookAndFeelPainter::PopupStyleCodeA(int Index) const {
  static const int codes[] = {0, 1, 4, 2};
  return Index >= 0 && Index < 4 ? codes[Index] : 0;
}

int TcxCustomLookAndFeelPainter::PopupStyleCodeB(int Index) const {
  static const int codes[] = {0, 2, 2, 1};
  return Index >= 0 && Index < 4 ? codes[Index] : 0;
}

void TcxCustomLookAndFeelPainter::PaintIndicatorCell(TcxCanvas* Canvas, const TRect& R, int Kind) const {
  const TcxBorders aboveBelow{bTop, bBottom};
  PaintHeader(Canvas, R, R, aboveBelow, HeaderFrameSides(aboveBelow), esNormal, haLeft, vaTop, false, false, {},
              nullptr, clDefault, clNone);
  PaintIndicatorGlyph(Canvas, R, Kind);
}

void TcxCustomLookAndFeelPainter::PaintIndicatorItem(TcxCanvas* Canvas, const TRect& R, int Kind) const {
  PaintHeaderItem(Canvas, R, R, TcxBorders{}, cxBordersAll, esNormal, haLeft, vaTop, false, false, {}, nullptr,
                  clDefault, clNone);
  PaintIndicatorGlyph(Canvas, R, Kind);
}

void TcxCustomLookAndFeelPainter::NavButtonMetrics(bool IsNext, TRect& Borders, TSize& ArrowSize,
                                                   bool& HasTextArea) const {
  Borders = IsNext ? TRect(2, 6, 0, 6) : TRect(0, 6, 2, 6);
  ArrowSize = {7, 7};
  HasTextArea = true;
}

void TcxCustomLookAndFeelPainter::LayoutNavButtons(const TRect& R, bool IsNext, TRect& ArrowRect,
                                                   TRect& TextRect) const {
  TRect borders;
  TSize arrow{};
  bool hasText = false;
  NavButtonMetrics(IsNext, borders, arrow, hasText);
  TRect content(R.Left + borders.Left, R.Top + borders.Top, R.Right - borders.Right, R.Bottom - borders.Bottom);
  int x = (content.Left + content.Right - arrow.cx) / 2;
  // Without a text area the arrow sits in the middle; with one it leads and the text follows.
  int y = hasText ? content.Top : (content.Top + content.Bottom - arrow.cy) / 2;
  ArrowRect = TRect(x, y, x + arrow.cx, y + arrow.cy);
  TextRect = TRect();
  if (hasText) {
    TextRect = TRect(content.Left, ArrowRect.Bottom + borders.Top, content.Right, content.Bottom);
    if (TextRect.IsEmpty()) TextRect = TRect();
  }
}

void TcxCustomLookAndFeelPainter::PaintNavButton(TcxCanvas* Canvas, const TRect& R, bool IsNext,
                                                 TcxElementState State, const std::string& Text, const TRect& TextRect,
                                                 const TRect& ArrowRect) const {
  DrawNavButtonFace(Canvas, R, ArrowRect, IsNext, State);
  TColor color = NavButtonTextColor(IsNext, State, clDefault);
  if (TextRect.IsEmpty() || color == clNone) return;
  // The previous button stands on the left edge and reads upwards, the next one downwards.
  DrawRotatedText(Canvas->Canvas(), Text, TextRect, 0x25, color, IsNext ? raMinus90 : raPlus90);
}

int TcxCustomLookAndFeelPainter::ContainerStyleCode(int Index) const {
  static const int codes[] = {0, 1, 2, 2, 2, 1, 1};
  return Index >= 0 && Index < 7 ? codes[Index] : 0;
}

void TcxCustomLookAndFeelPainter::PaintImage(TcxCanvas* Canvas, TCustomImageList* Images, int ImageIndex,
                                             TGraphic*, const TRect& R, TcxElementState State, bool) const {
  static const TcxImageDrawMode modes[] = {ImageDrawNormal, ImageDrawNormal, ImageDrawNormal, ImageDrawNormal,
                                           ImageDrawDisabled};
  if (!Images || ImageIndex < 0) return;
  DrawImageInState(Canvas->CurrentDC(), R, R, nullptr, Images, ImageIndex, modes[State], false, nullptr, clNone);
}

int TcxCustomLookAndFeelPainter::PreviewShadowAlpha(int Index) const {
  static const int alphas[] = {128, 128, 128, 255};
  return Index >= 0 && Index < 4 ? alphas[Index] : 255;
}

void TcxCustomLookAndFeelPainter::PaintTextPanel(TcxCanvas* Canvas, const TRect& R, const std::string& Text,
                                                 TFont* Font, TColor Color) const {
  Frame(Canvas, R, ViewColor7());
  TRect in = Deflated(R, 1);
  Canvas->FillRectWithColor(in, Color == clNone ? ViewColor10() : Color);
  if (Text.empty()) return;
  if (Font) Canvas->AssignFont(Font);
  Canvas->CurrentBrush()->SetStyle(bsClear);
  Canvas->DrawAlignedText(Text, in, TextAlignHCenter | TextAlignVCenter | TextSingleLine);
  Canvas->CurrentBrush()->SetStyle(bsSolid);
}

void TcxCustomLookAndFeelPainter::PaintPreviewPage(TcxCanvas* Canvas, const TRect& R, const TRect& ContentRect,
                                                   int FrameIndex, bool Selected) const {
  TRect page(R.Left, R.Top, R.Right - 2, R.Bottom - 2);
  if (FrameIndex == 0) page = Deflated(page, 1);
  if (Selected) Canvas->FillRectWithColor(ContentRect, clWindow);
  Canvas->PushClipRegion();
  Canvas->ClipOutRect(ContentRect);
  Canvas->FillRectWithColor(page, FrameIndex == 0 ? clWindowText : clHighlight);
  Canvas->ClipOutRect(page);
  Canvas->FillRectWithColor(page.Offset(2, 2), clWindowText);
  Canvas->PopClipRegion();
}

namespace {
// The caption text, plain outside the highlight and inverting the background inside it.
void PaintInvertedCaption(TcxCanvas* Canvas, const std::string& Text, const TRect& TextRect, const TRect& Highlight,
                          TcxTextFlags Flags, TcxRotationAngle Rotation) {
  TRect hot;
  const bool crosses = IntersectRect(hot, TextRect, Highlight);
  Canvas->PushClipRegion();
  if (crosses) Canvas->ClipOutRect(hot);
  Canvas->DrawTextInRect(Text, TextRect, Flags, true, Rotation);
  Canvas->PopClipRegion();
  if (!crosses) return;
  std::unique_ptr<TcxBitmap> mask(TcxBitmap::CreateForRect(TextRect));
  TcxCanvas* mc = mask->cxCanvas();
  mc->FillRectWithColor(mask->FullRect(), TColor(0xFFFFFF));
  mc->AssignFont(Canvas->CurrentFont());
  mc->CurrentFont()->SetColor(TColor(0));
  mc->CurrentBrush()->SetStyle(bsClear);
  mc->DrawTextInRect(Text, mask->FullRect(), Flags, true, Rotation);
  TCanvas* dst = Canvas->Canvas();
  for (int y = hot.Top; y < hot.Bottom; ++y)
    for (int x = hot.Left; x < hot.Right; ++x)
      // Glyph edges are smoothed: the darker half of the mask counts as text.
      if ((ColorToRGB(mask->Canvas()->Pixel(x - TextRect.Left, y - TextRect.Top)) & 0xFF) < 0x80)
        dst->SetPixel(x, y, TColor(~ColorToRGB(dst->Pixel(x, y)) & 0xFFFFFF));
}
}  // namespace

void TcxCustomLookAndFeelPainter::PaintCaptionText(TcxCanvas* Canvas, bool Vertical, bool UseTextColor,
                                                   const std::string& Text, const TRect& TextRect, bool Enabled,
                                                   const TRect& ClipRect, TColor TextColor) const {
  if (Text.empty()) return;
  const TcxTextFlags flags = TextAlignHCenter | TextAlignVCenter | TextSingleLine;
  const TcxRotationAngle rotation = Vertical ? raMinus90 : raNone;
  Canvas->PushDrawingState();
  const bool ownColor = UseTextColor && TextColor != clDefault;
  Canvas->CurrentFont()->SetColor(ownColor ? TextColor : CaptionTextColor());
  Canvas->CurrentBrush()->SetStyle(bsClear);
  if (ownColor) {
    Canvas->DrawTextInRect(Text, TextRect, flags, Enabled, rotation);
  } else if (CaptionColorFor(true) == clDefault) {
    PaintInvertedCaption(Canvas, Text, TextRect, ClipRect, flags, rotation);
  } else {
    Canvas->CurrentFont()->SetColor(CaptionColorFor(false));
    Canvas->DrawTextInRect(Text, TextRect, flags, Enabled, rotation);
    TRect hot;
    if (IntersectRect(hot, TextRect, ClipRect)) {
      Canvas->PushClipRegion();
      Canvas->ClipToRect(hot);
      Canvas->CurrentFont()->SetColor(CaptionColorFor(true));
      Canvas->DrawTextInRect(Text, TextRect, flags, Enabled, rotation);
      Canvas->PopClipRegion();
    }
  }
  Canvas->PopDrawingState();
}

// ---- Standard painter

void TcxStandardLookAndFeelPainter::DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const {
  Ring(Canvas, R, clBtnShadow, clBtnHighlight);
  Ring(Canvas, Deflated(R, 1), cl3DDkShadow, cl3DLight);
}

void TcxStandardLookAndFeelPainter::PaintButtonFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const {
  if (State == esPressed) {
    Frame(Canvas, R, TColor(0));
    Ring(Canvas, Deflated(R, 1), clBtnShadow, clBtnShadow);
  } else if (State == esDefault) {
    Frame(Canvas, R, TColor(0));
    Ring(Canvas, Deflated(R, 1), clBtnHighlight, cl3DDkShadow);
    Ring(Canvas, Deflated(R, 2), cl3DLight, clBtnShadow);
  } else {
    Ring(Canvas, R, clBtnHighlight, cl3DDkShadow);
    Ring(Canvas, Deflated(R, 1), cl3DLight, clBtnShadow);
  }
}

void TcxStandardLookAndFeelPainter::PaintExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                                      TColor Color) const {
  Ring(Canvas, R, clBtnHighlight, cl3DDkShadow);
  TRect in = Deflated(R, 1);
  Canvas->DrawTwoToneFrame(in, clBtnShadow, clBtnShadow, TcxBorders{bRight, bBottom}, 1);
  TRect fill = in;
  --fill.Right;
  --fill.Bottom;
  Canvas->FillRectWithColor(fill, Color == clDefault ? clBtnFace : Color);
  DrawExpandCross(Canvas, R, Expanded, clBtnText);
  Canvas->ClipOutRect(R);
}

void TcxStandardLookAndFeelPainter::PaintGroupExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                                           TcxElementState State) const {
  TcxCustomLookAndFeelPainter* flat = gManager ? gManager->PainterForKind(psFlat) : nullptr;
  if (flat && flat != this)
    flat->PaintGroupExpandButton(Canvas, R, Expanded, State);
  else
    TcxCustomLookAndFeelPainter::PaintGroupExpandButton(Canvas, R, Expanded, State);
}

void TcxStandardLookAndFeelPainter::PaintCheckFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState) const {
  Ring(Canvas, R, clBtnShadow, clBtnHighlight);
  Ring(Canvas, Deflated(R, 1), cl3DDkShadow, cl3DLight);
}

static void PaintClassicHeaderFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Neighbors) {
  Ring(Canvas, R, clBtnHighlight, clBtnShadow);
  if (Neighbors.Contains(bLeft)) {
    Canvas->SetPixelColor(R.Left, R.Top + 1, clBtnFace);
    Canvas->SetPixelColor(R.Left, R.Bottom - 2, clBtnFace);
  }
  if (Neighbors.Contains(bRight)) {
    Canvas->SetPixelColor(R.Right - 1, R.Top, clBtnHighlight);
    Canvas->SetPixelColor(R.Right - 1, R.Top + 1, clBtnFace);
    Canvas->SetPixelColor(R.Right - 1, R.Bottom - 2, clBtnFace);
  }
}

void TcxStandardLookAndFeelPainter::PaintHeaderFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Neighbors,
                                                     TcxBorders) const {
  PaintClassicHeaderFrame(Canvas, R, Neighbors);
}

void TcxStandardLookAndFeelPainter::PaintSortMark(TcxCanvas* Canvas, const TRect& R, bool Ascending) const {
  DrawSortMarkWith(Canvas, R, clBtnShadow, clBtnHighlight, Ascending);
}

void TcxStandardLookAndFeelPainter::PaintFooterFrame(TcxCanvas* Canvas, const TRect& R) const {
  Ring(Canvas, R, clBtnHighlight, clBtnShadow);
}

void TcxStandardLookAndFeelPainter::PaintFooterCellFrame(TcxCanvas* Canvas, const TRect& R) const {
  Ring(Canvas, R, clBtnShadow, clBtnHighlight);
}

void TcxStandardLookAndFeelPainter::PaintScrollButtonFrame(TcxCanvas* Canvas, const TRect& R,
                                                           bool PressedArrow) const {
  if (PressedArrow) {
    Ring(Canvas, R, clBtnShadow, clBtnShadow);
    Ring(Canvas, Deflated(R, 1), clBtnFace, clBtnFace);
  } else {
    Ring(Canvas, R, clBtnFace, cl3DDkShadow);
    Ring(Canvas, Deflated(R, 1), clBtnHighlight, clBtnShadow);
  }
}

static TcxArrowDirection ScrollArrowDirection(bool Horizontal, TcxScrollPart Part) {
  if (Horizontal) return Part == spLineBack ? adLeft : adRight;
  return Part == spLineBack ? adUp : adDown;
}

static void PaintScrollPage(TcxCanvas* Canvas, const TRect& R, TcxElementState State) {
  TBitmap* pattern = StdScrollBarBitmap(State == esPressed);
  if (pattern)
    Canvas->FillRectTiled(R, pattern, false);
  else
    Canvas->FillRectWithColor(R, clBtnFace);
}

void TcxStandardLookAndFeelPainter::PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R,
                                                       TcxScrollPart Part, TcxElementState State) const {
  if (R.IsEmpty() || Part == spNone) return;
  if (Part == spThumb && State == esDisabled) return;
  if (State == esHot) State = esNormal;
  switch (Part) {
    case spPageBack:
    case spPageForward: PaintScrollPage(Canvas, R, State); break;
    case spThumb:
      PaintScrollButtonFrame(Canvas, R, false);
      Canvas->FillRectWithColor(Deflated(R, ButtonBorderWidth(esNormal)), clBtnFace);
      break;
    default: {
      static const UINT glyphs[] = {DFCS_SCROLLUP, DFCS_SCROLLDOWN, DFCS_SCROLLLEFT, DFCS_SCROLLRIGHT};
      UINT state = glyphs[ScrollArrowDirection(Horizontal, Part)];
      if (State == esDisabled) state |= DFCS_INACTIVE;
      if (State == esPressed) state |= DFCS_FLAT;
      RECT rc = R;
      if (State == esPressed) {
        Canvas->FillRectWithColor(R, clBtnFace);
        ++rc.left;
        ++rc.top;
        ++rc.right;
        ++rc.bottom;
        Canvas->PushClipRegion();
        Canvas->ClipToRect(R);
        DrawFrameControl(Canvas->CurrentDC(), &rc, DFC_SCROLL, state);
        Canvas->PopClipRegion();
      } else {
        DrawFrameControl(Canvas->CurrentDC(), &rc, DFC_SCROLL, state);
      }
      PaintScrollButtonFrame(Canvas, R, State == esPressed);
    }
  }
}

void TcxStandardLookAndFeelPainter::PaintMonthHeader(TcxCanvas* Canvas, const TRect& R, const std::string& Text,
                                                     TcxBorders Neighbors, const TcxViewParams& ViewParams,
                                                     int Arrows, int ArrowOffset,
                                                     const TcxCustomDrawBackground& OnCustomDraw) const {
  Canvas->DrawTwoToneFrame(R, TColor(0), TColor(0), Neighbors, 1);
  TRect in = R;
  if (Neighbors.Contains(bLeft)) ++in.Left;
  if (Neighbors.Contains(bTop)) ++in.Top;
  if (Neighbors.Contains(bRight)) --in.Right;
  if (Neighbors.Contains(bBottom)) --in.Bottom;
  DrawCellContent(Canvas, in, in, esNormal, haCenter, vaCenter, false, false, Text, ViewParams.Font,
                  ViewParams.TextColor, ViewParams.Color, OnCustomDraw, false);
  PaintMonthArrows(Canvas, R, ControlBorderSize(), Arrows, ArrowOffset);
}

void TcxStandardLookAndFeelPainter::PaintSplitterFrame(TcxCanvas* Canvas, const TRect& R,
                                                       const TcxViewParams& ViewParams, bool Horizontal) const {
  TRect r = R;
  if (Horizontal) {
    Canvas->DrawTwoToneFrame(r, clBtnFace, cl3DDkShadow, TcxBorders{bTop, bBottom}, 1);
    r = r.Inflate(0, -1);
    Canvas->DrawTwoToneFrame(r, clBtnHighlight, clBtnShadow, TcxBorders{bTop, bBottom}, 1);
    r = r.Inflate(0, -1);
  } else {
    Canvas->DrawTwoToneFrame(r, clBtnFace, cl3DDkShadow, TcxBorders{bLeft, bRight}, 1);
    r = r.Inflate(-1, 0);
    Canvas->DrawTwoToneFrame(r, clBtnHighlight, clBtnShadow, TcxBorders{bLeft, bRight}, 1);
    r = r.Inflate(-1, 0);
  }
  Canvas->FillRectWithViewParams(r, ViewParams, TcxBorders{}, clNone, 0, false);
}

void TcxStandardLookAndFeelPainter::PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool, int,
    TcxBorders Borders) const {
  TRect r = R;
  --r.Right;
  --r.Bottom;
  Canvas->DrawTwoToneFrame(r, clBtnShadow, clBtnShadow, Borders, 1);
  r = r.Offset(1, 1);
  Canvas->DrawTwoToneFrame(r, clBtnHighlight, clBtnHighlight, Borders, 1);
}

void TcxStandardLookAndFeelPainter::PaintTrackBarTrackFrame(TcxCanvas* Canvas, const TRect& R) const {
  Ring(Canvas, R, clBtnShadow, clBtnHighlight);
  Ring(Canvas, Deflated(R, 1), cl3DDkShadow, cl3DLight);
}

void TcxStandardLookAndFeelPainter::PaintThumbShapeFrame(TcxCanvas* Canvas, const std::vector<TPoint>& Light,
                                                         const std::vector<TPoint>& Dark,
                                                         const std::vector<TPoint>& Shadow) const {
  Polyline(Canvas, Light, clBtnHighlight);
  Polyline(Canvas, Shadow, cl3DDkShadow);
  Polyline(Canvas, Dark, clBtnShadow);
}

void TcxStandardLookAndFeelPainter::PaintThumbRectFrame(TcxCanvas* Canvas, const TRect& R) const {
  Ring(Canvas, R, clBtnHighlight, cl3DDkShadow);
  Ring(Canvas, Deflated(R, 1), cl3DLight, clBtnShadow);
}

namespace {
TRect InsideBorders(const TRect& R, TcxBorders Borders, int Width = 1) {
  TRect r = R;
  if (Borders.Contains(bLeft)) r.Left += Width;
  if (Borders.Contains(bTop)) r.Top += Width;
  if (Borders.Contains(bRight)) r.Right -= Width;
  if (Borders.Contains(bBottom)) r.Bottom -= Width;
  return r;
}

// A tab standing on Side of its strip: its edges on the other requested sides, light on the left
// and top and dark on the right and bottom, and the two far corners cut in CornerColor.
void PaintClassicTabFrame(TcxCanvas* Canvas, const TRect& R, TcxBorder Side, TcxBorders Borders, TColor CornerColor) {
  const TcxBorders edges = Borders - TcxBorders{Side};
  TRect r = R;
  const TcxBorders trimmed = cxBordersAll - Borders - TcxBorders{Side};
  r = InsideBorders(r, trimmed);
  if (r.IsEmpty()) return;
  Canvas->DrawTwoToneFrame(r, clBtnHighlight, clBtnShadow, edges, 1);
  const int l = r.Left, t = r.Top, rr = r.Right - 1, b = r.Bottom - 1;
  auto corner = [&](TcxBorder a, TcxBorder c, int x, int y) {
    if (edges.Contains(a) && edges.Contains(c)) Canvas->SetPixelColor(x, y, CornerColor);
  };
  switch (Side) {
    case bBottom: corner(bLeft, bTop, l, t), corner(bRight, bTop, rr, t); break;
    case bTop: corner(bLeft, bBottom, l, b), corner(bRight, bBottom, rr, b); break;
    case bRight: corner(bTop, bLeft, l, t), corner(bBottom, bLeft, l, b); break;
    case bLeft: corner(bTop, bRight, rr, t), corner(bBottom, bRight, rr, b); break;
  }
}

void PaintClassicFilterDropDownButton(const TcxCustomLookAndFeelPainter* Painter, TcxCanvas* Canvas, const TRect& R,
                                      TcxElementState State, bool Active) {
  if (State == esPressed)
    Ring(Canvas, R, clBtnShadow, clBtnHighlight);
  else
    Ring(Canvas, R, clBtnHighlight, clBtnShadow);
  const TRect in = Deflated(R, 1);
  Canvas->FillRectWithColor(in, clBtnFace);
  Painter->DrawDropDownArrow(Canvas, in, Active ? TColor(0xFF0000) : clBtnText);
}
}  // namespace

void TcxStandardLookAndFeelPainter::PaintHeaderSectionFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders,
                                                            TcxElementState State) const {
  if (State == esPressed) {
    Canvas->DrawTwoToneFrame(R, clBtnShadow, clBtnShadow, Borders, 1);
    return;
  }
  Canvas->DrawTwoToneFrame(R, clBtnHighlight, cl3DDkShadow, Borders, 1);
  Canvas->DrawTwoToneFrame(InsideBorders(R, Borders), cl3DLight, clBtnShadow, Borders, 1);
}

void TcxStandardLookAndFeelPainter::PaintFilterDropDownButton(TcxCanvas* Canvas, const TRect& R,
                                                              TcxElementState State, bool Active) const {
  PaintClassicFilterDropDownButton(this, Canvas, R, State, Active);
}

void TcxStandardLookAndFeelPainter::PaintTabFrame(TcxCanvas* Canvas, const TRect& R, TcxBorder Side,
                                                  TcxBorders Borders, bool) const {
  PaintClassicTabFrame(Canvas, R, Side, Borders, clBtnFace);
}

void TcxStandardLookAndFeelPainter::PaintTabStrip(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders,
                                                  bool) const {
  Canvas->DrawTwoToneFrame(R, clBtnHighlight, clBtnShadow, Borders, 1);
}

// ---- Flat painter

void TcxFlatLookAndFeelPainter::DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const {
  Ring(Canvas, R, clBtnShadow, clBtnHighlight);
}

void TcxFlatLookAndFeelPainter::PaintButtonFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const {
  if (State == esPressed) {
    Ring(Canvas, R, clBtnShadow, clBtnHighlight);
  } else if (State == esDefault) {
    Frame(Canvas, R, TColor(0));
    Ring(Canvas, Deflated(R, 1), clBtnHighlight, clBtnShadow);
  } else {
    Ring(Canvas, R, clBtnHighlight, clBtnShadow);
  }
}

void TcxFlatLookAndFeelPainter::PaintExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                                  TColor Color) const {
  PaintButton(Canvas, R, {}, esNormal, true, Color);
  DrawExpandCross(Canvas, Deflated(R, 1), Expanded, clBtnText);
  Canvas->ClipOutRect(R);
}

void TcxFlatLookAndFeelPainter::PaintCheckFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const {
  Ring(Canvas, R, clBtnShadow, clBtnHighlight);
  Frame(Canvas, Deflated(R, 1), CheckFaceColor(State));
}

void TcxFlatLookAndFeelPainter::PaintHeaderFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Neighbors,
                                                 TcxBorders) const {
  PaintClassicHeaderFrame(Canvas, R, Neighbors);
}

void TcxFlatLookAndFeelPainter::PaintSortMark(TcxCanvas* Canvas, const TRect& R, bool Ascending) const {
  DrawSortMarkWith(Canvas, R, clBtnShadow, clBtnHighlight, Ascending);
}

void TcxFlatLookAndFeelPainter::PaintFooterFrame(TcxCanvas* Canvas, const TRect& R) const {
  Ring(Canvas, R, clBtnHighlight, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::PaintFooterCellFrame(TcxCanvas* Canvas, const TRect& R) const {
  Ring(Canvas, R, clBtnShadow, clBtnHighlight);
}

void TcxFlatLookAndFeelPainter::PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R,
                                                   TcxScrollPart Part, TcxElementState State) const {
  if (R.IsEmpty() || Part == spNone) return;
  if (Part == spThumb && State == esDisabled) return;
  if (State == esHot) State = esNormal;
  if (Part == spPageBack || Part == spPageForward) {
    PaintScrollPage(Canvas, R, State);
    return;
  }
  PaintButton(Canvas, R, {}, State);
  if (Part != spThumb)
    DrawScrollArrow(Canvas, Deflated(R, ButtonBorderWidth(esNormal)), State, ScrollArrowDirection(Horizontal, Part));
}

void TcxFlatLookAndFeelPainter::PaintSplitterFrame(TcxCanvas* Canvas, const TRect& R, const TcxViewParams& ViewParams,
                                                   bool Horizontal) const {
  TRect r = R;
  if (Horizontal) {
    Canvas->DrawTwoToneFrame(r, clBtnHighlight, clBtnShadow, TcxBorders{bTop, bBottom}, 1);
    r = r.Inflate(0, -1);
  } else {
    Canvas->DrawTwoToneFrame(r, clBtnHighlight, clBtnShadow, TcxBorders{bLeft, bRight}, 1);
    r = r.Inflate(-1, 0);
  }
  Canvas->FillRectWithViewParams(r, ViewParams, TcxBorders{}, clNone, 0, false);
}

void TcxFlatLookAndFeelPainter::PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool, int,
    TcxBorders Borders) const {
  Canvas->DrawTwoToneFrame(R, clBtnShadow, clBtnShadow, Borders, 1);
  Canvas->DrawTwoToneFrame(Deflated(R, 1), clBtnHighlight, clBtnHighlight, Borders, 1);
}

void TcxFlatLookAndFeelPainter::PaintTrackBarTrackFrame(TcxCanvas* Canvas, const TRect& R) const {
  Ring(Canvas, R, clBtnShadow, clBtnHighlight);
  Ring(Canvas, Deflated(R, 1), clBtnFace, clBtnFace);
}

void TcxFlatLookAndFeelPainter::PaintThumbShapeFrame(TcxCanvas* Canvas, const std::vector<TPoint>& Light,
                                                     const std::vector<TPoint>&,
                                                     const std::vector<TPoint>& Shadow) const {
  Polyline(Canvas, Light, clBtnHighlight);
  Polyline(Canvas, Shadow, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::PaintThumbRectFrame(TcxCanvas* Canvas, const TRect& R) const {
  Ring(Canvas, R, clBtnHighlight, clBtnShadow);
}

void TcxFlatLookAndFeelPainter::PaintContainerBackground(TcxCanvas* Canvas, TRect& R) const {
  Canvas->FillRectWithColor(R, ViewColor29());
  Canvas->FillRectWithColor(TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), clBtnFace);
  --R.Bottom;
}

void TcxFlatLookAndFeelPainter::PaintHeaderSectionFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders,
                                                        TcxElementState State) const {
  if (State == esPressed)
    Canvas->DrawTwoToneFrame(R, clBtnShadow, clBtnHighlight, Borders, 1);
  else
    Canvas->DrawTwoToneFrame(R, clBtnHighlight, clBtnShadow, Borders, 1);
}

void TcxFlatLookAndFeelPainter::PaintFilterDropDownButton(TcxCanvas* Canvas, const TRect& R,
                                                          TcxElementState State, bool Active) const {
  PaintClassicFilterDropDownButton(this, Canvas, R, State, Active);
}

void TcxFlatLookAndFeelPainter::PaintTabFrame(TcxCanvas* Canvas, const TRect& R, TcxBorder Side, TcxBorders Borders,
                                              bool) const {
  PaintClassicTabFrame(Canvas, R, Side, Borders, clBtnFace);
}

void TcxFlatLookAndFeelPainter::PaintTabStrip(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders, bool) const {
  Canvas->DrawTwoToneFrame(R, clBtnHighlight, clBtnShadow, Borders, 1);
}

// ---- radio buttons

namespace {
TcxRadioButtonImageList* gRadioImages = nullptr;
bool gPaintersFinalizing = false;

TColor PixelOf(TBitmap& B, int X, int Y) { return ColorToRGB(B.Canvas()->Pixel(X, Y)) & 0xFFFFFF; }
}  // namespace

TcxRadioButtonImageList* cxRadioImages() {
  if (!gRadioImages && !gPaintersFinalizing) gRadioImages = new TcxRadioButtonImageList();
  return gRadioImages;
}

TcxRadioButtonImageList::TcxRadioButtonImageList() {
  const int cw = gCheckBoxSize.cx, ch = gCheckBoxSize.cy;
  TBitmap cell;
  cell.SetSize(cw, ch);
  TCanvas* c = cell.Canvas();
  RECT rc{0, 0, cw, ch};
  auto clear = [&] {
    c->Brush()->SetColor(TColor(0));
    c->Brush()->SetStyle(bsSolid);
    c->FillRect(TRect(0, 0, cw, ch));
  };
  clear();
  DrawFrameControl(c->Handle(), &rc, DFC_BUTTON, DFCS_BUTTONRADIOMASK | DFCS_FLAT);
  int firstCol = -1, firstRow = -1;
  for (int x = 0; x < cw; ++x)
    for (int y = 0; y < ch; ++y)
      if (PixelOf(cell, x, y) == 0) {
        if (firstCol < 0) firstCol = x;
        ++FWidth;
        break;
      }
  for (int y = 0; y < ch; ++y)
    for (int x = 0; x < cw; ++x)
      if (PixelOf(cell, x, y) == 0) {
        if (firstRow < 0) firstRow = y;
        ++FHeight;
        break;
      }
  if (FWidth <= 2 || FHeight <= 2) {
    FWidth = cw;
    FHeight = ch;
    firstCol = firstRow = 0;
  }
  FRadioRect = TRect(firstCol, firstRow, firstCol + FWidth, firstRow + FHeight);

  clear();
  DrawFrameControl(c->Handle(), &rc, DFC_BUTTON, DFCS_BUTTONRADIOIMAGE | DFCS_CHECKED | DFCS_FLAT);
  const TColor dot = ColorToRGB(clWindowText) & 0xFFFFFF;
  int cx = FRadioRect.Left + FWidth / 2, cy = FRadioRect.Top + FHeight / 2;
  auto is = [&](int x, int y) { return x >= 0 && y >= 0 && x < cw && y < ch && PixelOf(cell, x, y) == dot; };
  if (is(cx - 1, cy - 2) && is(cx - 2, cy - 1)) {
    int top = cy - 2, left = cx - 2;
    while (is(cx - 1, top - 1)) --top;
    int bottom = top;
    while (is(cx - 1, bottom)) ++bottom;
    while (is(left - 1, cy - 1)) --left;
    int right = left;
    while (is(right, cy - 1)) ++right;
    FCheckRect = TRect(left, top, right, bottom);
  }
  if (FCheckRect.IsEmpty() || FCheckRect.Width() >= FWidth - 2 || FCheckRect.Height() >= FHeight - 2)
    FCheckRect = TRect(cx - 2, cy - 2, cx + 2, cy + 2);  // the dot could not be measured

  // The mask and the cell codes, from round shapes drawn at the radio's size.
  const int w = FWidth, h = FHeight;
  TBitmap shape;
  shape.SetSize(w, h);
  TCanvas* sc = shape.Canvas();
  auto white = [&] {
    sc->Brush()->SetColor(TColor(0xFFFFFF));
    sc->Brush()->SetStyle(bsSolid);
    sc->FillRect(TRect(0, 0, w, h));
    sc->Pen()->SetColor(TColor(0));
    sc->Pen()->SetStyle(psSolid);
  };
  white();
  sc->Brush()->SetColor(TColor(0));
  sc->RoundRect(0, 0, w, h, w - 1, h - 1);
  FMask.assign(size_t(w * h), false);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) FMask[y * w + x] = PixelOf(shape, x, y) == 0;

  FPattern.assign(size_t(w * h), 0);
  white();
  sc->Brush()->SetStyle(bsClear);
  sc->RoundRect(0, 0, w, h, w - 1, h - 1);
  auto lowerRight = [&](int x, int y) { return (h - 1) * (w - 1 - x) < y * (w - 1); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (PixelOf(shape, x, y) == 0) FPattern[y * w + x] = lowerRight(x, y) ? 2 : 1;
  const int mid = w / 2;
  for (int y = 1; y < h - 1; ++y) {
    for (int x = mid; x >= 0 && FPattern[y * w + x] == 0; --x) FPattern[y * w + x] = 5;
    for (int x = mid + 1; x < w && FPattern[y * w + x] == 0; ++x) FPattern[y * w + x] = 5;
  }
  auto body = [&](int x, int y) { return x >= 0 && y >= 0 && x < w && y < h && FPattern[y * w + x] == 5; };
  std::vector<bool> edge(size_t(w * h), false);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (!body(x, y)) continue;
      bool outer = !body(x - 1, y) || !body(x + 1, y) || !body(x, y - 1) || !body(x, y + 1);
      bool second = x == 1 || y == 1 || x == w - 2 || y == h - 2;
      edge[y * w + x] = outer || second;
    }
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (edge[y * w + x]) {
        bool onDiagonal = (h - 1) * (w - 1 - x) == y * (w - 1);
        bool lr = onDiagonal ? x > mid : lowerRight(x, y);
        FPattern[y * w + x] = lr ? 4 : 3;
      }
  white();
  sc->Brush()->SetColor(TColor(0));
  TRect dotRect = FCheckRect.Offset(-FRadioRect.Left, -FRadioRect.Top);
  sc->RoundRect(dotRect.Left, dotRect.Top, dotRect.Right, dotRect.Bottom, dotRect.Width(), dotRect.Height());
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      if (PixelOf(shape, x, y) == 0 && FPattern[y * w + x] != 0) FPattern[y * w + x] = 6;
  PrepareImages();
}

TcxRadioButtonImageList::~TcxRadioButtonImageList() = default;

int TcxRadioButtonImageList::MapIndex(int Kind, TcxElementState State, bool Checked, bool Focused,
                                      bool Highlighted) {
  if (State == esDefault) State = esNormal;
  return int(State) + Kind * 8 + (Checked ? 4 : 0) + (Focused ? 32 : 0) + (Highlighted ? 64 : 0) - 1;
}

int TcxRadioButtonImageList::ImageIndexOf(int MapIndex) const {
  return MapIndex >= 0 && MapIndex < int(FIndexMap.size()) ? FIndexMap[MapIndex] : -1;
}

void TcxRadioButtonImageList::ResetImages() {
  FImages.clear();
  FIndexMap.clear();
  PrepareImages();
}

void TcxRadioButtonImageList::PrepareImages() {
  if (!FImages.empty()) return;
  FIndexMap.assign(128, -1);
  const TColor o11Disabled = Office11RoleColor(o11DisabledGlyph);
  const TColor o11Border = Office11RoleColor(o11BorderHighlight);
  for (int hl = 0; hl <= 1; ++hl)
    for (int focused = 0; focused <= 1; ++focused)
      for (int kind = 0; kind <= 3; ++kind)
        for (int checked = 0; checked <= 1; ++checked)
          for (int st = esNormal; st <= esDisabled; ++st) {
            TcxElementState state = TcxElementState(st);
            TColor map[7];
            TcxCustomLookAndFeelPainter* p =
                gManager ? gManager->PainterForKind(LookAndFeelKindToPainterStyle(TcxLookAndFeelKind(kind))) : nullptr;
            TColor bodyColor = p ? p->RadioFaceColor(state) : clWindow;
            map[0] = TColor(0);
            map[5] = bodyColor;
            bool lit = hl || state == esHot || state == esPressed;
            switch (kind) {
              case lfFlat: map[1] = clBtnShadow, map[2] = clBtnHighlight, map[3] = map[4] = cl3DLight; break;
              case lfStandard: map[1] = clBtnShadow, map[2] = clBtnHighlight, map[3] = cl3DDkShadow, map[4] = cl3DLight; break;
              case lfUltraFlat:
                map[1] = map[2] = lit || (focused && state != esDisabled) ? clHighlight : clBtnShadow;
                map[3] = map[4] = bodyColor;
                break;
              default:
                map[1] = map[2] = state == esDisabled ? o11Disabled : (lit || focused) ? o11Border : clBtnText;
                map[3] = map[4] = bodyColor;
                break;
            }
            map[6] = !checked ? bodyColor
                              : state == esDisabled ? (kind == lfOffice11 ? o11Disabled : clBtnShadow) : clWindowText;
            std::vector<uint32_t> img(size_t(FWidth * FHeight));
            for (size_t i = 0; i < img.size(); ++i) img[i] = uint32_t(ColorToRGB(map[FPattern[i]])) & 0xFFFFFF;
            FImages.push_back(std::move(img));
            FIndexMap[MapIndex(kind, state, checked, focused, hl)] = int(FImages.size()) - 1;
          }
}

void TcxRadioButtonImageList::DrawRadio(TcxCanvas* Canvas, int X, int Y, TColor BackgroundColor, int Kind,
                                        TcxElementState State, bool Checked, bool Highlighted, bool Focused) {
  int index = ImageIndexOf(MapIndex(Kind, State, Checked, Focused, Highlighted));
  if (index < 0) return;
  if (BackgroundColor != clDefault) Canvas->FillRectWithColor(TRect(X, Y, X + FWidth, Y + FHeight), BackgroundColor);
  const auto& img = FImages[index];
  for (int y = 0; y < FHeight; ++y)
    for (int x = 0; x < FWidth; ++x)
      if (FMask[y * FWidth + x]) Canvas->SetPixelColor(X + x, Y + y, TColor(img[y * FWidth + x]));
}

void TcxCustomLookAndFeelPainter::PaintRadioButton(TcxCanvas* Canvas, int X, int Y, TcxElementState State,
                                                   bool Checked, bool Highlighted, TColor BackgroundColor,
                                                   bool Focused) const {
  static const TcxLookAndFeelKind kinds[] = {lfFlat, lfStandard, lfUltraFlat, lfStandard, lfOffice11, lfStandard};
  if (TcxRadioButtonImageList* images = cxRadioImages())
    images->DrawRadio(Canvas, X, Y, BackgroundColor, kinds[StyleKind()], State, Checked, Highlighted, Focused);
}

TSize TcxCustomLookAndFeelPainter::RadioButtonExtent() const {
  TcxRadioButtonImageList* images = cxRadioImages();
  return images ? images->ImageExtent() : gCheckBoxSize;
}

// ---- the registry

TcxLookAndFeelPaintersManager::~TcxLookAndFeelPaintersManager() = default;

bool TcxLookAndFeelPaintersManager::RegisterPainter(TcxCustomLookAndFeelPainter* Painter) {
  std::unique_ptr<TcxCustomLookAndFeelPainter> owned(Painter);
  if (!Painter) return false;
  if (PainterForName(Painter->KindName())) return false;
  FPainters.push_back(std::move(owned));
  std::stable_sort(FPainters.begin(), FPainters.end(), [](const auto& a, const auto& b) {
    return QString::localeAwareCompare(QString::fromStdString(a->KindName()), QString::fromStdString(b->KindName())) <
           0;
  });
  if (TcxLookAndFeel* root = RootLookAndFeelInstance()) root->RefreshAll();
  return true;
}

TcxCustomLookAndFeelPainter* TcxLookAndFeelPaintersManager::PainterForKind(TcxPainterStyle Style) const {
  for (const auto& p : FPainters)
    if (p->StyleKind() == Style) return p.get();
  return nullptr;
}

TcxCustomLookAndFeelPainter* TcxLookAndFeelPaintersManager::PainterForName(const std::string& Name) const {
  for (const auto& p : FPainters)
    if (SameText(p->KindName(), Name)) return p.get();
  return nullptr;
}

TcxLookAndFeelPaintersManager* cxLookAndFeelPaintersManager() { return gManager; }

TCustomImageList* cxIndicatorImages() { return gIndicatorImages; }

TBitmap* StdScrollBarBitmap(bool Pressed) { return gScrollBarBitmaps[Pressed ? 1 : 0]; }

void UpdateScrollBarPatterns() {
  for (int k = 0; k < 2; ++k) {
    if (!gScrollBarBitmaps[k]) {
      gScrollBarBitmaps[k] = new TBitmap();
      gScrollBarBitmaps[k]->SetSize(8, 8);
    }
    TCanvas* c = gScrollBarBitmaps[k]->Canvas();
    TColor odd = ColorToRGB(k == 0 ? clBtnHighlight : cl3DDkShadow);
    TColor even = k == 0 ? ColorToRGB(clBtnFace) : TColor(0);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) c->SetPixel(x, y, (x + y) % 2 ? odd : even);
  }
}

void cxLookAndFeelPaintersInitialize() {
  if (gManager) return;
  gPaintersFinalizing = false;
  gManager = new TcxLookAndFeelPaintersManager();
  gPaintersPaletteNotifier = new TcxSystemPaletteChangedNotifier(true);
  gPaintersPaletteNotifier->OnSystemPaletteChanged = [] {
    if (gRadioImages) gRadioImages->ResetImages();
  };
  LoadIndicatorImages();
  UpdateScrollBarPatterns();
  if (HBITMAP boxes = LoadBitmap(nullptr, OBM_CHECKBOXES)) {
    BITMAP bm{};
    if (GetObject(boxes, sizeof bm, &bm)) gCheckBoxSize = TSize{bm.bmWidth / 4, bm.bmHeight / 3};
    DeleteObject(boxes);
  }
  gManager->RegisterPainter(new TcxFlatLookAndFeelPainter());
  gManager->RegisterPainter(new TcxOffice11LookAndFeelPainter());
  gManager->RegisterPainter(new TcxStandardLookAndFeelPainter());
  gManager->RegisterPainter(new TcxUltraFlatLookAndFeelPainter());
  gManager->RegisterPainter(new TcxWinXPLookAndFeelPainter());
}

void cxLookAndFeelPaintersFinalize() {
  delete gPaintersPaletteNotifier;
  gPaintersPaletteNotifier = nullptr;
  for (auto*& b : gScrollBarBitmaps) {
    delete b;
    b = nullptr;
  }
  delete gIndicatorImages;
  gIndicatorImages = nullptr;
  delete gManager;
  gManager = nullptr;
  gPaintersFinalizing = true;
  delete gRadioImages;
  gRadioImages = nullptr;
}

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

// ---- Native painter

namespace {
// A theme handle of the kind, or 0 while visual styles are unavailable.
HTHEME ThemeOf(TdxThemedObjectType Kind) { return AcquireThemeHandle(Kind); }

// Element states mapped to the style's state numbers of each kind of part.
const int PushButtonStates[] = {5, 1, 2, 3, 4};
const int HeaderItemStates[] = {1, 1, 2, 3, 1};
const int CommonStates[] = {1, 1, 2, 3, 4};  // small close button, drop-down button, tab item
const int TrackBarThumbStates[] = {2, 1, 2, 3, 5};
const int NavigatorStates[] = {2, 2, 5, 3, 4};
int ScrollBarState(TcxElementState S) {
  return S == esHot ? 2 : S == esPressed ? 3 : S == esDisabled ? 4 : 1;
}
int CheckState(TcxElementState S, bool Checked) { return CommonStates[S] + (Checked ? 4 : 0); }

// Part numbers of the kinds used below.
constexpr int BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3, BP_GROUPBOX = 4;
constexpr int SBP_ARROWBTN = 1, SBP_THUMBBTNHORZ = 2, SBP_THUMBBTNVERT = 3, SBP_LOWERTRACKHORZ = 4,
              SBP_UPPERTRACKHORZ = 5, SBP_LOWERTRACKVERT = 6, SBP_UPPERTRACKVERT = 7,
              SBP_GRIPPERHORZ = 8, SBP_GRIPPERVERT = 9, SBP_SIZEBOX = 10;
constexpr int WP_SMALLCLOSEBUTTON = 19;
constexpr int TVP_GLYPH = 2;
constexpr int EBP_NORMALGROUPCOLLAPSE = 6, EBP_NORMALGROUPEXPAND = 7;
constexpr int HP_HEADERITEM = 1, HP_HEADERITEMLEFT = 2, HP_HEADERITEMRIGHT = 3;
constexpr int TKP_TRACK = 1, TKP_TRACKVERT = 2;
constexpr int PP_BAR = 1, PP_CHUNK = 3;
constexpr int TP_BUTTON = 1, TP_SEPARATOR = 5, TP_SEPARATORVERT = 6;
constexpr int TABP_TABITEM = 1, TABP_PANE = 9;
constexpr int TTP_STANDARD = 1;
constexpr int CP_DROPDOWNBUTTON = 1;
constexpr int LVP_LISTDETAIL = 5;
constexpr int LBCP_BORDER_NOSCROLL = 3;

// Colour and margin properties.
constexpr int TMT_FILLCOLOR_BUTTON = 204, TMT_BORDERCOLOR = 3801, TMT_TEXTCOLOR = 3803;
constexpr int TMT_CONTENTMARGINS = 3602;

void DrawPart(HTHEME Theme, TcxCanvas* Canvas, int Part, int State, const TRect& R) {
  UxDrawThemeBackgroundByRef(Theme, Canvas->CurrentDC(), Part, State, R);
}

bool PartSize(HTHEME Theme, int Part, int State, TSize& Size) {
  SIZE s{};
  if (!Theme || UxGetThemePartSizeDefault(Theme, nullptr, Part, State, TS_TRUE, s) != 0)
    return false;
  Size = TSize{s.cx, s.cy};
  return true;
}

// The insets of the part's content rectangle inside (0, 0, 100, 100), as left, top, right, bottom.
bool ContentInsets(HTHEME Theme, int Part, int State, TRect& Insets) {
  RECT content{};
  if (!Theme || UxGetThemeBackgroundContentRect(Theme, nullptr, Part, State, RECT{0, 0, 100, 100},
                                                content) != 0)
    return false;
  Insets = TRect(content.left, content.top, 100 - content.right, 100 - content.bottom);
  return true;
}

bool PartColor(HTHEME Theme, int Part, int State, int Property, TColor& Color) {
  COLORREF c = 0;
  if (!Theme || UxGetThemeColor(Theme, Part, State, Property, c) != 0) return false;
  Color = TColor(c & 0xFFFFFF);
  return true;
}

int TrackBarThumbPart(bool Vertical, int Shape) {
  static const int parts[3][2] = {{5, 7}, {4, 8}, {3, 6}};
  return parts[std::clamp(Shape, 0, 2)][Vertical ? 1 : 0];
}

bool PartiallyTransparent(HTHEME Theme, int Part, int State) {
  return Theme && UxIsThemeBackgroundPartiallyTransparent(Theme, Part, State);
}
}  // namespace

bool TcxWinXPLookAndFeelPainter::ThemedLookFlag() const { return IsThemingAvailable({}); }

void TcxWinXPLookAndFeelPainter::DrawNavButtonFace(TcxCanvas* Canvas, const TRect& R,
                                                   const TRect& ArrowRect, bool IsNext,
                                                   TcxElementState State) const {
  HTHEME t = ThemeOf(totTab);
  if (!t || R.IsEmpty())
    return TcxStandardLookAndFeelPainter::DrawNavButtonFace(Canvas, R, ArrowRect, IsNext, State);
  // The tab item is drawn facing the button's side: the next button gets it flipped.
  std::unique_ptr<TcxBitmap32> bmp(new TcxBitmap32(R.Width(), R.Height()));
  bmp->cxCanvas()->CopyRectFrom(bmp->FullRect(), Canvas->Canvas(), R);
  if (IsNext) bmp->RotateFlip(raNone, true);
  DrawPart(t, bmp->cxCanvas(), TABP_TABITEM, CommonStates[State], bmp->FullRect());
  if (IsNext) bmp->RotateFlip(raNone, true);
  Canvas->CopyRectFrom(R, bmp->Canvas(), bmp->FullRect());
  PaintNavButtonArrow(Canvas, ArrowRect, IsNext, ButtonGlyphColor(State));
}

void TcxWinXPLookAndFeelPainter::DrawArrowButton(TcxCanvas* Canvas, const TRect& R,
                                                 TcxElementState State, TcxArrowDirection Direction,
                                                 bool Framed) const {
  HTHEME t = ThemeOf(totScrollBar);
  if (!t)
    return TcxStandardLookAndFeelPainter::DrawArrowButton(Canvas, R, State, Direction, Framed);
  static const int first[] = {1, 5, 9, 13};
  static const int add[] = {0, 0, 1, 2, 3};
  DrawPart(t, Canvas, SBP_ARROWBTN, first[Direction] + add[State], R);
}

void TcxWinXPLookAndFeelPainter::DrawArrowButtonFrame(TcxCanvas* Canvas, const TRect& R,
                                                      TcxElementState State) const {
  HTHEME t = ThemeOf(totButton);
  if (!t) return TcxStandardLookAndFeelPainter::DrawArrowButtonFrame(Canvas, R, State);
  DrawPart(t, Canvas, BP_PUSHBUTTON, PushButtonStates[State], R);
}

int TcxWinXPLookAndFeelPainter::ControlBorderSize() const {
  return ThemeOf(totListView) ? 1 : TcxStandardLookAndFeelPainter::ControlBorderSize();
}

void TcxWinXPLookAndFeelPainter::DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const {
  HTHEME t = ThemeOf(totListView);
  if (!t) return TcxStandardLookAndFeelPainter::DrawControlBorder(Canvas, R);
  // Only the part's outermost pixel row is wanted as the border.
  Canvas->PushClipRegion();
  Canvas->ClipOutRect(Deflated(R, 1));
  DrawPart(t, Canvas, LVP_LISTDETAIL, 0, R);
  Canvas->PopClipRegion();
}

void TcxWinXPLookAndFeelPainter::DrawSeparator(TcxCanvas* Canvas, const TRect& R,
                                               bool Horizontal) const {
  HTHEME t = ThemeOf(totToolBar);
  if (!t) return TcxStandardLookAndFeelPainter::DrawSeparator(Canvas, R, Horizontal);
  DrawPart(t, Canvas, Horizontal ? TP_SEPARATOR : TP_SEPARATORVERT, 1, R);
}

int TcxWinXPLookAndFeelPainter::ButtonBorderWidth(TcxElementState State) const {
  TRect insets;
  if (!ContentInsets(ThemeOf(totButton), BP_PUSHBUTTON, PushButtonStates[State], insets))
    return TcxStandardLookAndFeelPainter::ButtonBorderWidth(esNormal);
  return insets.Left;
}

TColor TcxWinXPLookAndFeelPainter::ButtonFaceColor(TcxElementState State) const {
  TColor c;
  if (PartColor(ThemeOf(totButton), BP_PUSHBUTTON, PushButtonStates[State], TMT_FILLCOLOR_BUTTON,
                c))
    return c;
  return TcxStandardLookAndFeelPainter::ButtonFaceColor(State);
}

TRect TcxWinXPLookAndFeelPainter::ButtonFocusBounds(TcxCanvas* Canvas, const TRect& R) const {
  HTHEME t = ThemeOf(totButton);
  RECT content{};
  if (t && UxGetThemeBackgroundContentRect(t, Canvas ? Canvas->CurrentDC() : nullptr, BP_PUSHBUTTON,
                                           1, R, content) == 0)
    return TRect(content);
  return TcxStandardLookAndFeelPainter::ButtonFocusBounds(Canvas, R);
}

TColor TcxWinXPLookAndFeelPainter::ButtonGlyphColor(TcxElementState State,
                                                    TColor DefaultColor) const {
  TColor c;
  if (PartColor(ThemeOf(totButton), BP_PUSHBUTTON, PushButtonStates[State], TMT_TEXTCOLOR, c))
    return c;
  return TcxStandardLookAndFeelPainter::ButtonGlyphColor(State, DefaultColor);
}

void TcxWinXPLookAndFeelPainter::PaintButton(TcxCanvas* Canvas, const TRect& R,
                                             const std::string& Caption, TcxElementState State,
                                             bool DrawFrame, TColor Color, TColor TextColor,
                                             bool WordWrap, bool ToolbarStyle) const {
  HTHEME t = ThemeOf(ToolbarStyle ? totToolBar : totButton);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintButton(Canvas, R, Caption, State, DrawFrame, Color,
                                                      TextColor, WordWrap, ToolbarStyle);
  DrawPart(t, Canvas, BP_PUSHBUTTON, PushButtonStates[State], R);
  if (!Caption.empty()) {
    RECT rc = R;
    UxDrawThemeTextAnsi(t, Canvas->CurrentDC(), BP_PUSHBUTTON, PushButtonStates[State], Caption, -1,
                        0x25, 0, &rc);
  }
}

void TcxWinXPLookAndFeelPainter::PaintExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                                   TColor Color) const {
  HTHEME t = ThemeOf(totTreeView);
  if (!t) return TcxStandardLookAndFeelPainter::PaintExpandButton(Canvas, R, Expanded, Color);
  DrawPart(t, Canvas, TVP_GLYPH, Expanded ? 2 : 1, R);
  Canvas->ClipOutRect(R);
}

void TcxWinXPLookAndFeelPainter::PaintGroupExpandButton(TcxCanvas* Canvas, const TRect& R,
                                                        bool Expanded,
                                                        TcxElementState State) const {
  HTHEME t = ThemeOf(totExplorerBar);
  if (!t) return TcxStandardLookAndFeelPainter::PaintGroupExpandButton(Canvas, R, Expanded, State);
  int st = State == esHot ? 2 : State == esPressed ? 3 : 1;
  DrawPart(t, Canvas, Expanded ? EBP_NORMALGROUPCOLLAPSE : EBP_NORMALGROUPEXPAND, st, R);
}

void TcxWinXPLookAndFeelPainter::PaintSmallExpandButton(TcxCanvas* Canvas, const TRect& R,
                                                        bool Expanded, TColor BorderColor,
                                                        TColor) const {
  if (ThemeOf(totTreeView))
    PaintExpandButton(Canvas, R, Expanded, clDefault);
  else
    TcxStandardLookAndFeelPainter::PaintSmallExpandButton(Canvas, R, Expanded, BorderColor,
                                                          clDefault);
}

int TcxWinXPLookAndFeelPainter::ExpandButtonExtent() const {
  TSize s;
  return PartSize(ThemeOf(totTreeView), TVP_GLYPH, 1, s)
             ? s.cx
             : TcxStandardLookAndFeelPainter::ExpandButtonExtent();
}

int TcxWinXPLookAndFeelPainter::GroupExpandButtonExtent() const {
  TSize s;
  return PartSize(ThemeOf(totExplorerBar), EBP_NORMALGROUPEXPAND, 1, s)
             ? s.cx
             : TcxStandardLookAndFeelPainter::GroupExpandButtonExtent();
}

int TcxWinXPLookAndFeelPainter::SmallExpandButtonExtent() const {
  return ThemeOf(totTreeView) ? ExpandButtonExtent()
                              : TcxStandardLookAndFeelPainter::SmallExpandButtonExtent();
}

int TcxWinXPLookAndFeelPainter::CheckFrameWidth() const {
  return ThemeOf(totButton) ? 0 : TcxStandardLookAndFeelPainter::CheckFrameWidth();
}

TSize TcxWinXPLookAndFeelPainter::CheckBoxExtent() const {
  TSize s;
  return PartSize(ThemeOf(totButton), BP_CHECKBOX, 1, s)
             ? s
             : TcxStandardLookAndFeelPainter::CheckBoxExtent();
}

void TcxWinXPLookAndFeelPainter::PaintCheckMark(TcxCanvas* Canvas, const TRect& R,
                                                TcxElementState State, bool Checked,
                                                TColor Color) const {
  HTHEME t = ThemeOf(totButton);
  if (!t) return TcxStandardLookAndFeelPainter::PaintCheckMark(Canvas, R, State, Checked, Color);
  DrawPart(t, Canvas, BP_CHECKBOX, CheckState(State, Checked), R);
}

void TcxWinXPLookAndFeelPainter::PaintCheckFrame(TcxCanvas* Canvas, const TRect& R,
                                                 TcxElementState State) const {
  if (!ThemeOf(totButton)) TcxStandardLookAndFeelPainter::PaintCheckFrame(Canvas, R, State);
}

void TcxWinXPLookAndFeelPainter::PaintRadioButton(TcxCanvas* Canvas, int X, int Y,
                                                  TcxElementState State, bool Checked,
                                                  bool Highlighted, TColor BackgroundColor,
                                                  bool Focused) const {
  HTHEME t = ThemeOf(totButton);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintRadioButton(Canvas, X, Y, State, Checked,
                                                           Highlighted, BackgroundColor, Focused);
  TSize e = RadioButtonExtent();
  DrawPart(t, Canvas, BP_RADIOBUTTON, CheckState(State, Checked), TRect(X, Y, X + e.cx, Y + e.cy));
}

TSize TcxWinXPLookAndFeelPainter::RadioButtonExtent() const {
  TSize s;
  return PartSize(ThemeOf(totButton), BP_RADIOBUTTON, 1, s)
             ? s
             : TcxStandardLookAndFeelPainter::RadioButtonExtent();
}

void TcxWinXPLookAndFeelPainter::PaintThemedText(TcxCanvas* Canvas, HTHEME Theme, int Part,
                                                 int State, const TRect&, const TRect& TextRect,
                                                 TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
                                                 bool MultiLine, bool ShowEndEllipsis,
                                                 bool ShowPrefix, const std::string& Text,
                                                 TFont* Font, TColor TextColor, TColor) const {
  if (Text.empty()) return;
  if (Font) Canvas->AssignFont(Font);
  if (TextColor != clDefault) Canvas->CurrentFont()->SetColor(TextColor);
  TRect r = TextRect;
  if (MultiLine)
    Canvas->AlignTextRectVertically(r, Text, ShowEndEllipsis, false, true, ShowPrefix, true,
                                    AlignVert == vaBottom   ? 1
                                    : AlignVert == vaCenter ? 2
                                                            : 0);
  static const DWORD horz[] = {0x0, 0x2, 0x1};  // left, right, centre
  static const DWORD vert[] = {0x0, 0x8, 0x4};  // top, bottom, centre
  DWORD flags = horz[AlignHorz] | vert[AlignVert] | (MultiLine ? 0x10 : 0x20) | 0x2000;
  if (ShowEndEllipsis) flags |= 0x8000;
  if (!ShowPrefix) flags |= 0x800;
  RECT rc = r;
  UxDrawThemeTextAnsi(Theme, Canvas->CurrentDC(), Part, State, Text, -1, flags, 0, &rc);
}

void TcxWinXPLookAndFeelPainter::PaintHeader(
    TcxCanvas* Canvas, const TRect& R, const TRect& TextRect, TcxBorders Neighbors,
    TcxBorders Borders, TcxElementState State, TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
    bool MultiLine, bool ShowEndEllipsis, const std::string& Text, TFont* Font, TColor TextColor,
    TColor Color, const TcxCustomDrawBackground& OnCustomDraw, bool IsLast, bool IsGroup) const {
  HTHEME t = ThemeOf(totHeader);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintHeader(
        Canvas, R, TextRect, Neighbors, Borders, State, AlignHorz, AlignVert, MultiLine,
        ShowEndEllipsis, Text, Font, TextColor, Color, OnCustomDraw, IsLast, IsGroup);
  const int st = HeaderItemStates[State];
  // A handler that paints the background itself replaces the style's item.
  if (!(OnCustomDraw && OnCustomDraw(Canvas, R))) {
    TOffice11Scheme scheme = CurrentOffice11Scheme();
    bool right = IsLast && st == 1 && (scheme == schNormalColor || scheme == schHomeStead);
    DrawPart(t, Canvas, right ? HP_HEADERITEMRIGHT : HP_HEADERITEM, st, R);
  }
  TRect tr = TextRect;
  if (State == esPressed) tr = tr.Offset(1, 1);
  PaintThemedText(Canvas, t, HP_HEADERITEM, st, R, tr, AlignHorz, AlignVert, MultiLine,
                  ShowEndEllipsis, false, Text, Font, TextColor, Color);
}

void TcxWinXPLookAndFeelPainter::PaintSortMark(TcxCanvas* Canvas, const TRect& R,
                                               bool Ascending) const {
  DrawSortMarkWith(Canvas, R, clBtnShadow, clBtnShadow, Ascending);
}

int TcxWinXPLookAndFeelPainter::HeaderFrameWidth() const {
  TRect insets;
  if (!ContentInsets(ThemeOf(totHeader), HP_HEADERITEM, 1, insets))
    return TcxStandardLookAndFeelPainter::HeaderFrameWidth();
  return std::max(1, (insets.Left + insets.Top) / 2);
}

int TcxWinXPLookAndFeelPainter::FooterFrameWidth() const {
  return ThemeOf(totEdit) ? 1 : TcxStandardLookAndFeelPainter::FooterFrameWidth();
}

int TcxWinXPLookAndFeelPainter::FooterCellFrameWidth() const {
  TRect insets;
  return ContentInsets(ThemeOf(totTrackBar), TKP_TRACK, 1, insets)
             ? insets.Left
             : TcxStandardLookAndFeelPainter::FooterCellFrameWidth();
}

int TcxWinXPLookAndFeelPainter::FooterCellSpacing() const {
  return ThemeOf(totTrackBar) ? 1 : TcxStandardLookAndFeelPainter::FooterCellSpacing();
}

void TcxWinXPLookAndFeelPainter::PaintFooterFrame(TcxCanvas* Canvas, const TRect& R) const {
  HTHEME t = ThemeOf(totEdit);
  if (!t) return TcxStandardLookAndFeelPainter::PaintFooterFrame(Canvas, R);
  constexpr UINT BDR_RAISEDINNER = 4, BF_RECT = 15;
  UxDrawThemeEdge(t, Canvas->CurrentDC(), 0, 0, R, BDR_RAISEDINNER, BF_RECT, nullptr);
}

void TcxWinXPLookAndFeelPainter::PaintFilterCloseButton(TcxCanvas* Canvas, const TRect& R,
                                                        TcxElementState State) const {
  HTHEME t = ThemeOf(totWindow);
  if (!t) return TcxStandardLookAndFeelPainter::PaintFilterCloseButton(Canvas, R, State);
  DrawPart(t, Canvas, WP_SMALLCLOSEBUTTON, CommonStates[State], R);
}

TSize TcxWinXPLookAndFeelPainter::FilterCloseButtonExtent() const {
  TSize s;
  if (!PartSize(ThemeOf(totWindow), WP_SMALLCLOSEBUTTON, 1, s))
    return TcxStandardLookAndFeelPainter::FilterCloseButtonExtent();
  return TSize{s.cx + 4, s.cy + 4};
}

void TcxWinXPLookAndFeelPainter::PaintPopupFrame(TcxCanvas* Canvas, TRect& R, int, bool) const {
  HTHEME t = IsWindowsVistaOrLater ? ThemeOf(totListBox) : 0;
  if (t)
    DrawPart(t, Canvas, LBCP_BORDER_NOSCROLL, 3, R);
  else
    Frame(Canvas, R, clBtnText);
  R = R.Inflate(-1, -1);
}

TColor TcxWinXPLookAndFeelPainter::HintFrameColor() const {
  return ThemeOf(totToolTip) ? clWindowFrame : TcxStandardLookAndFeelPainter::HintFrameColor();
}

void TcxWinXPLookAndFeelPainter::PaintHintBackground(TcxCanvas* Canvas, const TRect& R,
                                                     TColor Color) const {
  HTHEME t = ThemeOf(totToolTip);
  if (!t) return TcxStandardLookAndFeelPainter::PaintHintBackground(Canvas, R, Color);
  DrawPart(t, Canvas, TTP_STANDARD, 1, R.Inflate(4, 4));
}

TColor TcxWinXPLookAndFeelPainter::TipDescriptionColor() const {
  TColor c;
  return PartColor(ThemeOf(totToolTip), TTP_STANDARD, 1, TMT_TEXTCOLOR, c)
             ? c
             : TcxStandardLookAndFeelPainter::TipDescriptionColor();
}

TColor TcxWinXPLookAndFeelPainter::TipTitleColor() const {
  TColor c;
  return PartColor(ThemeOf(totToolTip), TTP_STANDARD, 1, TMT_TEXTCOLOR, c)
             ? c
             : TcxStandardLookAndFeelPainter::TipTitleColor();
}

int TcxWinXPLookAndFeelPainter::MinThumbLength(bool Horizontal) const {
  HTHEME t = ThemeOf(totScrollBar);
  const int part = Horizontal ? SBP_THUMBBTNHORZ : SBP_THUMBBTNVERT;
  TSize s;
  if (!PartSize(t, part, 1, s)) return TcxStandardLookAndFeelPainter::MinThumbLength(Horizontal);
  int length = Horizontal ? s.cx : s.cy;
  MARGINS m;
  if (IsWindowsVistaOrLater &&
      UxGetThemeMargins(t, nullptr, part, 1, TMT_CONTENTMARGINS, nullptr, m) == 0)
    length += Horizontal ? m.cxLeftWidth + m.cxRightWidth : m.cyTopHeight + m.cyBottomHeight;
  return length;
}

void TcxWinXPLookAndFeelPainter::PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal,
                                                    const TRect& R, TcxScrollPart Part,
                                                    TcxElementState State) const {
  HTHEME t = ThemeOf(totScrollBar);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintScrollBarPart(Canvas, Horizontal, R, Part, State);
  if (R.IsEmpty() || Part == spNone) return;
  const int st = ScrollBarState(State);
  switch (Part) {
    case spLineBack:
    case spLineForward:
      DrawArrowButton(Canvas, R, State, ScrollArrowDirection(Horizontal, Part), true);
      break;
    case spThumb: {
      DrawPart(t, Canvas, Horizontal ? SBP_THUMBBTNHORZ : SBP_THUMBBTNVERT, st, R);
      const int gripper = Horizontal ? SBP_GRIPPERHORZ : SBP_GRIPPERVERT;
      SIZE grip{};
      bool ok = UxGetThemePartSizeByRef(t, Canvas->CurrentDC(), gripper, st, R, TS_TRUE, grip) == 0;
      // The gripper only goes on a thumb long enough to hold it.
      if (!ok || (Horizontal ? grip.cy < R.Width() : grip.cx < R.Height()))
        DrawPart(t, Canvas, gripper, st, R);
      break;
    }
    case spPageBack:
      DrawPart(t, Canvas, Horizontal ? SBP_LOWERTRACKHORZ : SBP_LOWERTRACKVERT, st, R);
      break;
    case spPageForward:
      DrawPart(t, Canvas, Horizontal ? SBP_UPPERTRACKHORZ : SBP_UPPERTRACKVERT, st, R);
      break;
    default:
      break;
  }
}

TSize TcxWinXPLookAndFeelPainter::SizeGripExtent() const {
  TSize s;
  return PartSize(ThemeOf(totScrollBar), SBP_SIZEBOX, 1, s)
             ? s
             : TcxStandardLookAndFeelPainter::SizeGripExtent();
}

void TcxWinXPLookAndFeelPainter::PaintSizeGripGlyph(TcxCanvas* Canvas, const TRect& R) const {
  HTHEME t = ThemeOf(totScrollBar);
  if (!t) return TcxStandardLookAndFeelPainter::PaintSizeGripGlyph(Canvas, R);
  DrawPart(t, Canvas, SBP_SIZEBOX, 1, R);
}

TSize TcxWinXPLookAndFeelPainter::PopupCloseButtonExtent() const {
  TSize s;
  return PartSize(ThemeOf(totWindow), WP_SMALLCLOSEBUTTON, 1, s)
             ? s
             : TcxStandardLookAndFeelPainter::PopupCloseButtonExtent();
}

void TcxWinXPLookAndFeelPainter::PaintMonthHeader(
    TcxCanvas* Canvas, const TRect& R, const std::string& Text, TcxBorders Neighbors,
    const TcxViewParams& ViewParams, int Arrows, int ArrowOffset,
    const TcxCustomDrawBackground& OnCustomDraw) const {
  // With the style the base's composition runs through this painter's header.
  if (ThemeOf(totHeader))
    TcxCustomLookAndFeelPainter::PaintMonthHeader(Canvas, R, Text, Neighbors, ViewParams, Arrows,
                                                  ArrowOffset, OnCustomDraw);
  else
    TcxStandardLookAndFeelPainter::PaintMonthHeader(Canvas, R, Text, Neighbors, ViewParams, Arrows,
                                                    ArrowOffset, OnCustomDraw);
}

void TcxWinXPLookAndFeelPainter::PaintProgressBar(TcxCanvas* Canvas, const TRect& Bounds,
                                                  const TRect& ProgressRect,
                                                  const TcxViewParams& ViewParams,
                                                  bool Framed) const {
  HTHEME t = ThemeOf(totProgress);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintProgressBar(Canvas, Bounds, ProgressRect, ViewParams,
                                                           Framed);
  DrawPart(t, Canvas, PP_BAR, 0, Bounds);
  DrawPart(t, Canvas, PP_CHUNK, 0, ProgressRect);
}

void TcxWinXPLookAndFeelPainter::PaintSplitterFrame(TcxCanvas* Canvas, const TRect& R,
                                                    const TcxViewParams& ViewParams,
                                                    bool Horizontal) const {
  if (!ThemeOf(totListView))
    return TcxStandardLookAndFeelPainter::PaintSplitterFrame(Canvas, R, ViewParams, Horizontal);
  TRect r = R;
  Canvas->DrawTwoToneFrame(r, ViewColor42(), ViewColor42(),
                           Horizontal ? TcxBorders{bTop, bBottom} : TcxBorders{bLeft, bRight}, 1);
  r = Horizontal ? r.Inflate(0, -1) : r.Inflate(-1, 0);
  Canvas->FillRectWithViewParams(r, ViewParams, {}, clNone, 0, false);
}

void TcxWinXPLookAndFeelPainter::PaintContainerBackground(TcxCanvas* Canvas, TRect& R) const {
  HTHEME t = ThemeOf(totHeader);
  if (!t) return TcxStandardLookAndFeelPainter::PaintContainerBackground(Canvas, R);
  DrawPart(t, Canvas, HP_HEADERITEMLEFT, 1, R);
}

void TcxWinXPLookAndFeelPainter::PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool Enabled,
                                                    int CaptionPosition, TcxBorders Borders) const {
  HTHEME t = ThemeOf(totButton);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintGroupBoxFrame(Canvas, R, Enabled, CaptionPosition,
                                                             Borders);
  DrawPart(t, Canvas, BP_GROUPBOX, Enabled ? 1 : 2, R);
}

TColor TcxWinXPLookAndFeelPainter::GroupBoxTextColor(bool Enabled) const {
  TColor c;
  return PartColor(ThemeOf(totButton), BP_GROUPBOX, Enabled ? 1 : 2, TMT_TEXTCOLOR, c)
             ? c
             : TcxStandardLookAndFeelPainter::GroupBoxTextColor(Enabled);
}

void TcxWinXPLookAndFeelPainter::PaintTrackBarThumb(TcxCanvas* Canvas, const TRect& R,
                                                    TcxElementState State, bool Vertical, int Shape,
                                                    TColor Color) const {
  HTHEME t = ThemeOf(totTrackBar);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintTrackBarThumb(Canvas, R, State, Vertical, Shape,
                                                             Color);
  DrawPart(t, Canvas, TrackBarThumbPart(Vertical, Shape), TrackBarThumbStates[State], R);
}

TColor TcxWinXPLookAndFeelPainter::ViewColor42() const {
  TColor c;
  return PartColor(ThemeOf(totComboBox), CP_DROPDOWNBUTTON, 1, TMT_BORDERCOLOR, c)
             ? c
             : TcxStandardLookAndFeelPainter::ViewColor42();
}

TRect TcxWinXPLookAndFeelPainter::GroupButtonBounds(const TRect& R, int ButtonCount,
                                                    int ButtonIndex) const {
  TRect r = TcxStandardLookAndFeelPainter::GroupButtonBounds(R, ButtonCount, ButtonIndex);
  // A button with soft edges overlaps its neighbours by a pixel so the row reads as one.
  return PartiallyTransparent(ThemeOf(totButton), BP_PUSHBUTTON, 1) ? r.Inflate(1, 1) : r;
}

TRect TcxWinXPLookAndFeelPainter::ButtonGroupBorderWidths(int ButtonCount, int ButtonIndex) const {
  HTHEME t = ThemeOf(totButton);
  TRect insets;
  if (!ContentInsets(t, BP_PUSHBUTTON, 1, insets))
    return TcxStandardLookAndFeelPainter::ButtonGroupBorderWidths(ButtonCount, ButtonIndex);
  if (PartiallyTransparent(t, BP_PUSHBUTTON, 1))
    insets = TRect(insets.Left - 1, insets.Top - 1, insets.Right - 1, insets.Bottom - 1);
  return insets;
}

bool TcxWinXPLookAndFeelPainter::HitsGroupExpandButton(const TRect& R, const TPoint& P) const {
  HTHEME t = ThemeOf(totExplorerBar);
  HRGN region = nullptr;
  if (!t || UxGetThemeBackgroundRegion(t, nullptr, EBP_NORMALGROUPEXPAND, 2, R, region) != 0 ||
      !region)
    return TcxStandardLookAndFeelPainter::HitsGroupExpandButton(R, P);
  bool hit = PtInRegion(region, P.X, P.Y);
  DeleteObject(region);
  return hit;
}

void TcxWinXPLookAndFeelPainter::PaintHeaderSection(TcxCanvas* Canvas, const TRect& R,
                                                    const TRect& TextRect, TcxBorders Neighbors,
                                                    TcxBorders Borders, TcxElementState State,
                                                    TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
                                                    bool MultiLine, bool ShowEndEllipsis,
                                                    const std::string& Text, TFont* Font,
                                                    TColor TextColor, TColor Color) const {
  if (!ThemeOf(totHeader))
    return TcxStandardLookAndFeelPainter::PaintHeaderSection(
        Canvas, R, TextRect, Neighbors, Borders, State, AlignHorz, AlignVert, MultiLine,
        ShowEndEllipsis, Text, Font, TextColor, Color);
  Canvas->FillRectWithColor(R, clBtnFace);
  PaintHeader(Canvas, R, TextRect, Neighbors, Borders, State, AlignHorz, AlignVert, MultiLine,
              ShowEndEllipsis, Text, Font, TextColor, Color);
}

int TcxWinXPLookAndFeelPainter::HeaderSectionFrameWidth(TcxElementState State) const {
  return ThemeOf(totHeader) ? HeaderFrameWidth()
                            : TcxStandardLookAndFeelPainter::HeaderSectionFrameWidth(State);
}

TRect TcxWinXPLookAndFeelPainter::HeaderSectionContentBounds(const TRect& R,
                                                             TcxElementState State) const {
  if (!ThemeOf(totHeader))
    return TcxStandardLookAndFeelPainter::HeaderSectionContentBounds(R, State);
  const int w = HeaderFrameWidth();
  return R.Inflate(-w, -w);
}

void TcxWinXPLookAndFeelPainter::PaintGroupRow(TcxCanvas* Canvas, const TRect& R, bool Selected,
                                               TcxElementState State) const {
  if (!ThemeOf(totTab))
    return TcxStandardLookAndFeelPainter::PaintGroupRow(Canvas, R, Selected, State);
  PaintGroupFrame(Canvas, R, State, cxBordersAll);
  PaintTab(Canvas, R, bTop, Selected ? esPressed : esNormal, false);
}

void TcxWinXPLookAndFeelPainter::PaintFooterCell(
    TcxCanvas* Canvas, const TRect& R, TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
    bool MultiLine, const std::string& Text, TFont* Font, TColor TextColor, TColor Color,
    const TcxCustomDrawBackground& OnCustomDraw) const {
  HTHEME t = ThemeOf(totTrackBar);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintFooterCell(
        Canvas, R, AlignHorz, AlignVert, MultiLine, Text, Font, TextColor, Color, OnCustomDraw);
  if (!(OnCustomDraw && OnCustomDraw(Canvas, R))) DrawPart(t, Canvas, TKP_TRACK, 1, R);
  PaintThemedText(Canvas, t, TKP_TRACK, 1, R, FooterCellTextBounds(R), AlignHorz, AlignVert,
                  MultiLine, false, false, Text, Font, TextColor, Color);
}

void TcxWinXPLookAndFeelPainter::PaintFilterDropDownButton(TcxCanvas* Canvas, const TRect& R,
                                                           TcxElementState State,
                                                           bool Active) const {
  HTHEME t = ThemeOf(totComboBox);
  if (!t) return TcxStandardLookAndFeelPainter::PaintFilterDropDownButton(Canvas, R, State, Active);
  DrawPart(t, Canvas, CP_DROPDOWNBUTTON, CommonStates[State], R);
}

TSize TcxWinXPLookAndFeelPainter::FilterCheckExtent() const {
  TSize s;
  return PartSize(ThemeOf(totButton), BP_CHECKBOX, 1, s)
             ? s
             : TcxStandardLookAndFeelPainter::FilterCheckExtent();
}

void TcxWinXPLookAndFeelPainter::PaintTab(TcxCanvas* Canvas, const TRect& R, TcxBorder Side,
                                          TcxElementState State, bool Vertical) const {
  HTHEME t = ThemeOf(totTab);
  if (!t) return TcxStandardLookAndFeelPainter::PaintTab(Canvas, R, Side, State, Vertical);
  if (R.IsEmpty()) return;
  if (!Vertical) return DrawPart(t, Canvas, TABP_TABITEM, CommonStates[State], R);
  // The style only has upright tabs: draw one on the turned background and turn it back.
  std::unique_ptr<TcxBitmap32> bmp(new TcxBitmap32(R.Width(), R.Height()));
  bmp->cxCanvas()->CopyRectFrom(bmp->FullRect(), Canvas->Canvas(), R);
  bmp->RotateFlip(raPlus90);
  DrawPart(t, bmp->cxCanvas(), TABP_TABITEM, CommonStates[State], bmp->FullRect());
  bmp->RotateFlip(raMinus90);
  Canvas->CopyRectFrom(R, bmp->Canvas(), bmp->FullRect());
}

void TcxWinXPLookAndFeelPainter::PaintTabFrame(TcxCanvas* Canvas, const TRect& R, TcxBorder Side,
                                               TcxBorders Borders, bool Vertical) const {
  if (!ThemeOf(totTab))
    TcxStandardLookAndFeelPainter::PaintTabFrame(Canvas, R, Side, Borders, Vertical);
}

void TcxWinXPLookAndFeelPainter::PaintTabStrip(TcxCanvas* Canvas, const TRect& R,
                                               TcxBorders Borders, bool Vertical) const {
  HTHEME t = ThemeOf(totTab);
  if (!t) return TcxStandardLookAndFeelPainter::PaintTabStrip(Canvas, R, Borders, Vertical);
  // The pane reaches past the strip on the sides without an edge, so only the edges asked for
  // fall inside the strip.
  TRect insets;
  if (!ContentInsets(t, TABP_PANE, 1, insets)) insets = TRect();
  TRect pane = R;
  if (!Borders.Contains(bLeft)) pane.Left -= insets.Left + 10;
  if (!Borders.Contains(bTop)) pane.Top -= insets.Top + 10;
  if (!Borders.Contains(bRight)) pane.Right += insets.Right + 10;
  if (!Borders.Contains(bBottom)) pane.Bottom += insets.Bottom + 10;
  Canvas->PushClipRegion();
  Canvas->ClipToRect(R);
  DrawPart(t, Canvas, TABP_PANE, 1, pane);
  Canvas->PopClipRegion();
}

bool TcxWinXPLookAndFeelPainter::PaintsTabs(bool Vertical) const {
  return ThemeOf(totTab) ? true : TcxStandardLookAndFeelPainter::PaintsTabs(Vertical);
}

bool TcxWinXPLookAndFeelPainter::HotTracksTabs(bool Vertical) const {
  return ThemeOf(totTab) ? true : TcxStandardLookAndFeelPainter::HotTracksTabs(Vertical);
}

int TcxWinXPLookAndFeelPainter::TabFrameWidth(bool Vertical) const {
  return ThemeOf(totTab) ? 1 : TcxStandardLookAndFeelPainter::TabFrameWidth(Vertical);
}

void TcxWinXPLookAndFeelPainter::PaintIndicatorCell(TcxCanvas* Canvas, const TRect& R,
                                                    int Kind) const {
  const TcxCustomLookAndFeelPainter* flat =
      cxLookAndFeelPaintersManager() ? cxLookAndFeelPaintersManager()->PainterForKind(psFlat)
                                     : nullptr;
  if (flat)
    flat->PaintIndicatorCell(Canvas, R, Kind);
  else
    TcxStandardLookAndFeelPainter::PaintIndicatorCell(Canvas, R, Kind);
}

void TcxWinXPLookAndFeelPainter::PaintNavigatorButton(TcxCanvas* Canvas, const TRect& R,
                                                      TcxElementState State) const {
  HTHEME t = ThemeOf(totToolBar);
  if (!t) return TcxStandardLookAndFeelPainter::PaintNavigatorButton(Canvas, R, State);
  DrawPart(t, Canvas, TP_BUTTON, NavigatorStates[State], R);
}

void TcxWinXPLookAndFeelPainter::PaintGroupBoxBackground(TcxCanvas* Canvas, TControl* Control,
                                                         const TRect& R, TColor Color1,
                                                         TColor) const {
  if (Color1 == clDefault)
    DrawThemedParentBackground(Control, Canvas, R);
  else
    Canvas->FillRectWithColor(R, Color1);
}

void TcxWinXPLookAndFeelPainter::TrackBarThumbBounds(TcxCanvas* Canvas, TRect& R, bool Vertical,
                                                     int Shape) const {
  TSize s;
  if (!PartSize(ThemeOf(totTrackBar), TrackBarThumbPart(Vertical, Shape), 1, s))
    return TcxStandardLookAndFeelPainter::TrackBarThumbBounds(Canvas, R, Vertical, Shape);
  const int left = R.Left + (R.Width() - s.cx) / 2, top = R.Top + (R.Height() - s.cy) / 2;
  R = TRect(left, top, left + s.cx, top + s.cy);
}

void TcxWinXPLookAndFeelPainter::PaintTrackBarTrack(TcxCanvas* Canvas, const TRect& R,
                                                    bool Vertical, TColor Color) const {
  HTHEME t = ThemeOf(totTrackBar);
  if (!t) return TcxStandardLookAndFeelPainter::PaintTrackBarTrack(Canvas, R, Vertical, Color);
  DrawPart(t, Canvas, Vertical ? TKP_TRACKVERT : TKP_TRACK, 1, R);
}

void DrawPopupResizeBar(const TcxCustomLookAndFeelPainter* Painter, HWND Window, bool CloseHot, bool ClosePressed,
                        TcxCorner Corner, const TRect& CloseButtonRect, const TRect& GripRect, TColor BorderColor) {
  RECT wr{}, cr{};
  if (!GetWindowRect(Window, &wr) || !GetClientRect(Window, &cr)) return;
  POINT origin{0, 0};
  ClientToScreen(Window, &origin);
  const TRect windowRect(0, 0, wr.right - wr.left, wr.bottom - wr.top);
  const TRect client = TRect(cr).Offset(origin.x - wr.left, origin.y - wr.top);
  const int border = client.Left;
  const bool top = Corner == coTopLeft || Corner == coTopRight;
  TRect bar = windowRect.Inflate(-border, -border);
  if (top)
    bar.Bottom = client.Top;
  else
    bar.Top = client.Bottom;
  const TRect grip = GripRect.Offset(-wr.left, -wr.top);
  const TRect close = CloseButtonRect.Offset(-wr.left, -wr.top);

  HDC dc = GetWindowDC(Window);
  if (!dc) return;
  TcxPaintCanvas* canvas = SharedPaintCanvas();
  canvas->PushTargetDC(dc);
  try {
    canvas->DrawTwoToneFrame(windowRect, BorderColor, BorderColor, cxBordersAll, border);
    TRect line = top ? TRect(bar.Left, bar.Bottom - 1, bar.Right, bar.Bottom) : TRect(bar.Left, bar.Top, bar.Right, bar.Top + 1);
    canvas->FillRectWithColor(line, BorderColor);
    if (!grip.IsEmpty()) {
      std::unique_ptr<TcxBitmap> bmp(TcxBitmap::CreateForRect(grip));
      Painter->FillWindowContent(bmp->cxCanvas(), bmp->FullRect());
      Painter->PaintSizeGrip(bmp->cxCanvas(), bmp->FullRect(), clNone, Corner);
      canvas->CopyRectFrom(grip, bmp->Canvas(), bmp->FullRect());
      canvas->ClipOutRect(grip);
    }
    if (!close.IsEmpty()) {
      TcxElementState state = CloseHot && ClosePressed ? esPressed : (CloseHot || ClosePressed) ? esHot : esNormal;
      Painter->FillWindowContent(canvas, close);
      Painter->PaintPopupCloseButton(canvas, close, state);
      canvas->ClipOutRect(close);
    }
    Painter->FillWindowContent(canvas, top ? TRect(bar.Left, bar.Top, bar.Right, bar.Bottom - 1)
                                           : TRect(bar.Left, bar.Top + 1, bar.Right, bar.Bottom));
  } catch (...) {
    canvas->PopTarget();
    ReleaseDC(Window, dc);
    throw;
  }
  canvas->PopTarget();
  ReleaseDC(Window, dc);
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
  if (TcxCustomLookAndFeelPainter* native = gManager ? gManager->PainterForKind(psNative) : nullptr)
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

namespace {
TcxCustomLookAndFeelPainter* RegisteredNative() { return gManager ? gManager->PainterForKind(psNative) : nullptr; }
}  // namespace

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
