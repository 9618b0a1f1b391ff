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
  TcxCustomLookAndFeelPainter* flat = RegisteredPainter(psFlat);
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

TcxArrowDirection cxPainterHelpers::ScrollArrowDirection(bool Horizontal, TcxScrollPart Part) {
  if (Horizontal) return Part == spLineBack ? adLeft : adRight;
  return Part == spLineBack ? adUp : adDown;
}

void cxPainterHelpers::PaintScrollPage(TcxCanvas* Canvas, const TRect& R, TcxElementState State) {
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
