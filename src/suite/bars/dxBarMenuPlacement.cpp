#include "suite/bars/dxBarMenuPlacement.h"

TdxBarMenuPlacement PlaceMenuInWorkArea(int Left, int Top, int W, int H, const TRect& WA, int J, int K,
                                        bool OpensRightwards, bool OpensDownwards) {
  TdxBarMenuPlacement p;
  // Right edge.
  if (Left + W > WA.Right) {
    if (J == 0) {
      if (K != 0) {
        Left = WA.Right - W;
      } else if (Left - W >= WA.Left) {
        Left -= W;
        p.FlippedH = true;
      } else {
        Left = WA.Right - W;
      }
    } else if (WA.Right - Left < Left - J - WA.Left) {
      Left = Left - J - W;
      p.FlippedH = true;
    }
  }
  // Left edge.
  if (Left < WA.Left) {
    if (J == 0) {
      Left = WA.Left;
    } else if (!OpensRightwards && Left + W - WA.Left < WA.Right - (Left + W + J)) {
      Left = Left + W + J;
      p.FlippedH = true;
    }
  }
  if (Left + W > WA.Right) Left = WA.Right - W;
  if (Left < WA.Left) Left = WA.Left;
  // Bottom edge.
  if (Top + H > WA.Bottom) {
    if (K != 0) {
      if (WA.Bottom - Top < Top - K - WA.Top) {
        Top = Top - K - H;
        p.FlippedV = true;
      } else {
        H = WA.Bottom - Top;  // shortened: the menu scrolls
      }
    } else if (J != 0) {
      Top = WA.Bottom - H;
    } else if (Top - H >= WA.Top) {
      Top -= H;
      p.FlippedV = true;
    } else {
      Top = WA.Bottom - H;
    }
  }
  // Top edge.
  if (Top < WA.Top) {
    if (OpensDownwards) {
      if (p.FlippedV && K != 0) {
        H -= WA.Top - Top;
        Top = WA.Top;
      } else {
        Top = WA.Top;
        if (Top + H > WA.Bottom) H = WA.Bottom - Top;
      }
    } else if (K != 0 && Top + H - WA.Top < WA.Bottom - (Top + H + K)) {
      Top = Top + H + K;
      if (Top + H > WA.Bottom) H = WA.Bottom - Top;
      p.FlippedV = true;
    }
  }
  p.Bounds = TRect(Left, Top, Left + W, Top + H);
  return p;
}
