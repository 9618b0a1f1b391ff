// Small drawing helpers shared by the painter families; private to the painters' sources.
#pragma once

#include <vector>

#include "suite/core/cxLookAndFeelPainters.h"

namespace cxPainterHelpers {


inline TRect Deflated(TRect R, int D) {
  R = R.Inflate(-D, -D);
  return R;
}

inline void Ring(TcxCanvas* Canvas, const TRect& R, TColor LeftTop, TColor RightBottom) {
  Canvas->DrawTwoToneFrame(R, LeftTop, RightBottom, cxBordersAll, 1);
}

inline void Frame(TcxCanvas* Canvas, const TRect& R, TColor Color, int Width = 1, TcxBorders Borders = cxBordersAll) {
  Canvas->DrawTwoToneFrame(R, Color, Color, Borders, Width);
}

inline void SolidPenBrush(TcxCanvas* Canvas, TColor Color) {
  Canvas->CurrentPen()->SetColor(Color);
  Canvas->CurrentPen()->SetStyle(psSolid);
  Canvas->CurrentPen()->SetWidth(1);
  Canvas->SetBrushColor(Color);
}

inline void Line(TcxCanvas* Canvas, int X1, int Y1, int X2, int Y2, TColor Color) {
  Canvas->CurrentPen()->SetColor(Color);
  Canvas->CurrentPen()->SetStyle(psSolid);
  Canvas->CurrentPen()->SetWidth(1);
  Canvas->MovePenTo(X1, Y1);
  Canvas->DrawLineTo(X2, Y2);
}

inline void Polyline(TcxCanvas* Canvas, const std::vector<TPoint>& Points, TColor Color) {
  if (Points.size() < 2) return;
  Canvas->CurrentPen()->SetColor(Color);
  Canvas->CurrentPen()->SetStyle(psSolid);
  Canvas->DrawPolyline(Points.data(), int(Points.size()));
}

// Two chevrons of arm length 3, each two pixels thick, the second two pixels behind the first,
// centred in R and pointing in Direction.
inline void DrawDoubleChevron(TcxCanvas* Canvas, const TRect& R, TcxArrowDirection Direction, TColor Color) {
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


TcxTextFlags AlignFlags(TcxHorzAlign H, TcxVertAlign V, bool MultiLine, bool EndEllipsis);
TcxArrowDirection ScrollArrowDirection(bool Horizontal, TcxScrollPart Part);
// The classic page area of a scroll bar: the dotted pattern, pressed or not.
void PaintScrollPage(TcxCanvas* Canvas, const TRect& R, TcxElementState State);
// The month header's arrows, as the base painter draws them.
void PaintMonthArrows(TcxCanvas* Canvas, const TRect& R, int BorderSize, int Arrows, int ArrowOffset);

// The registered painter of a style, or null (also before the painters are set up).
inline TcxCustomLookAndFeelPainter* RegisteredPainter(TcxPainterStyle Style) {
  TcxLookAndFeelPaintersManager* manager = cxLookAndFeelPaintersManager();
  return manager ? manager->PainterForKind(Style) : nullptr;
}
inline TcxCustomLookAndFeelPainter* RegisteredNative() { return RegisteredPainter(psNative); }

}  // namespace cxPainterHelpers
