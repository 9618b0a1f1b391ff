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

TcxTextFlags cxPainterHelpers::AlignFlags(TcxHorzAlign H, TcxVertAlign V, bool MultiLine, bool EndEllipsis) {
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

void cxPainterHelpers::PaintMonthArrows(TcxCanvas* Canvas, const TRect& R, int BorderSize, int Arrows, int ArrowOffset) {
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
