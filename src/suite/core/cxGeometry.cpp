#include "suite/core/cxGeometry.h"

#include <algorithm>

#include "platform/rtl/TypInfo.h"

TcxRect::TcxRect(TPersistent* AOwner) : FOwner(AOwner) {}

void TcxRect::Assign(TPersistent* Source) {
  if (auto* r = dynamic_cast<TcxRect*>(Source)) SetRect(r->FRect);
}

void TcxRect::SetRect(const TRect& Value) {
  TRect r = Value;
  AdjustRect(r);
  if (r == FRect) return;
  FRect = r;
  if (OnChange) OnChange(this);
}

int TcxRect::GetSide(int Index) const {
  switch (Index) {
    case 0: return FRect.Left;
    case 1: return FRect.Top;
    case 2: return FRect.Right;
    default: return FRect.Bottom;
  }
}

void TcxRect::SetSide(int Index, int Value) {
  TRect r = FRect;
  switch (Index) {
    case 0: r.Left = Value; break;
    case 1: r.Top = Value; break;
    case 2: r.Right = Value; break;
    default: r.Bottom = Value; break;
  }
  SetRect(r);
}

TcxSize::TcxSize(TPersistent* AOwner) : FOwner(AOwner) {}

void TcxSize::Assign(TPersistent* Source) {
  if (auto* s = dynamic_cast<TcxSize*>(Source))
    SetSize(s->FSize);
  else
    TPersistent::Assign(Source);
}

void TcxSize::SetSize(const TSize& Value) {
  TSize s{std::max(Value.cx, 0), std::max(Value.cy, 0)};
  if (s == FSize) return;
  FSize = s;
  DoChange();
}

int TcxSize::GetValue(int Index) const { return Index == 1 ? FSize.cx : FSize.cy; }

void TcxSize::SetValue(int Index, int Value) {
  TSize s = FSize;
  if (Index == 1)
    s.cx = Value;
  else
    s.cy = Value;
  SetSize(s);
}

void TcxSize::DoChange() {
  if (OnChange) OnChange(this);
}

int GetRectWidth(const TRect& R) { return R.Right - R.Left; }
int GetRectHeight(const TRect& R) { return R.Bottom - R.Top; }
TSize GetRectSize(const TRect& R) { return {GetRectWidth(R), GetRectHeight(R)}; }
bool IsEmptyRect(const TRect& R) { return R.Left >= R.Right || R.Top >= R.Bottom; }
bool IsZeroRect(const TRect& R) { return R.Left == 0 && R.Top == 0 && R.Right == 0 && R.Bottom == 0; }
bool RectsEqual(const TRect& A, const TRect& B) { return A == B; }

bool IntersectRects(const TRect& A, const TRect& B, TRect& R) {
  R = {std::max(A.Left, B.Left), std::max(A.Top, B.Top), std::min(A.Right, B.Right),
       std::min(A.Bottom, B.Bottom)};
  if (IsEmptyRect(R)) {
    R = TRect();
    return false;
  }
  return true;
}

TRect UnionRects(const TRect& A, const TRect& B) {
  if (B.Right - B.Left <= 0 || B.Bottom - B.Top <= 0) return A;
  return {std::min(A.Left, B.Left), std::min(A.Top, B.Top), std::max(A.Right, B.Right),
          std::max(A.Bottom, B.Bottom)};
}

TRect InflateRectXY(const TRect& R, int DX, int DY) { return InflateRectSides(R, DX, DY, DX, DY); }
TRect InflateRectSides(const TRect& R, int DX1, int DY1, int DX2, int DY2) {
  return {R.Left - DX1, R.Top - DY1, R.Right + DX2, R.Bottom + DY2};
}
TRect InflateRectByMargins(const TRect& R, const TRect& M) {
  return InflateRectSides(R, M.Left, M.Top, M.Right, M.Bottom);
}
TRect DeflateRectByMargins(const TRect& R, const TRect& M) {
  return {R.Left + M.Left, R.Top + M.Top, R.Right - M.Right, R.Bottom - M.Bottom};
}
int MarginsHorzTotal(const TRect& M) { return M.Left + M.Right; }
TRect NegateRect(const TRect& R) { return {-R.Left, -R.Top, -R.Right, -R.Bottom}; }
TPoint NegatePoint(const TPoint& P) { return {-P.X, -P.Y}; }

TRect OffsetRectByXY(const TRect& R, int X, int Y, bool Positive) {
  if (!Positive) X = -X, Y = -Y;
  return {R.Left + X, R.Top + Y, R.Right + X, R.Bottom + Y};
}
TRect OffsetRectByPoint(const TRect& R, const TPoint& P, bool Positive) {
  return OffsetRectByXY(R, P.X, P.Y, Positive);
}
TPoint OffsetPointBy(const TPoint& P, int X, int Y, bool Positive) {
  return Positive ? TPoint{P.X + X, P.Y + Y} : TPoint{P.X - X, P.Y - Y};
}
TPoint OffsetPointByRectOrigin(const TPoint& P, const TRect& R, bool Positive) {
  return OffsetPointBy(P, R.Left, R.Top, Positive);
}

bool IsXYInRect(const TRect& R, int X, int Y) {
  return R.Left <= X && X < R.Right && R.Top <= Y && Y < R.Bottom;
}
bool IsPointInRect(const TRect& R, const TPoint& P) { return IsXYInRect(R, P.X, P.Y); }
bool RectContainsRect(const TRect& Outer, const TRect& Inner) {
  return Outer.Left <= Inner.Left && Outer.Top <= Inner.Top && Inner.Right <= Outer.Right &&
         Inner.Bottom <= Outer.Bottom;
}
TRect RotateRect(const TRect& R) { return {R.Top, R.Left, R.Bottom, R.Right}; }
TRect RectFromSize(const TSize& S) { return {0, 0, S.cx, S.cy}; }
TRect MakeRect(int L, int T, int R, int B) { return {L, T, R, B}; }
TRect RectFromPoints(const TPoint& P1, const TPoint& P2) { return {P1.X, P1.Y, P2.X, P2.Y}; }
TRect MakeBoundsRect(int L, int T, int W, int H) { return {L, T, L + W, T + H}; }
TPoint RectBottomLeft(const TRect& R) { return {R.Left, R.Bottom}; }
TPoint RectTopRight(const TRect& R) { return {R.Right, R.Top}; }
TPoint RectCenterPoint(const TRect& R) { return {(R.Left + R.Right) / 2, (R.Top + R.Bottom) / 2}; }

TRect RectWithTopAt(const TRect& R, int Y) { return RectWithTopAt(R, Y, GetRectHeight(R)); }
TRect RectWithTopAt(const TRect& R, int Y, int H) { return {R.Left, Y, R.Right, Y + H}; }
TRect RectWithBottomAt(const TRect& R, int Y) { return RectWithBottomAt(R, Y, GetRectHeight(R)); }
TRect RectWithBottomAt(const TRect& R, int Y, int H) { return {R.Left, Y - H, R.Right, Y}; }
TRect RectWithLeftAt(const TRect& R, int X) { return RectWithLeftAt(R, X, GetRectWidth(R)); }
TRect RectWithLeftAt(const TRect& R, int X, int W) { return {X, R.Top, X + W, R.Bottom}; }
TRect RectWithRightAt(const TRect& R, int X) { return RectWithRightAt(R, X, GetRectWidth(R)); }
TRect RectWithRightAt(const TRect& R, int X, int W) { return {X - W, R.Top, X, R.Bottom}; }
TRect RectWithWidth(const TRect& R, int W) { return {R.Left, R.Top, R.Left + W, R.Bottom}; }
TRect RectWithHeight(const TRect& R, int H) { return {R.Left, R.Top, R.Right, R.Top + H}; }

TRect CenterSizeInRectWH(const TRect& Bounds, int W, int H) {
  int l = (Bounds.Left + Bounds.Right - W) / 2;
  int t = (Bounds.Top + Bounds.Bottom - H) / 2;
  return {l, t, l + W, t + H};
}
TRect CenterSizeInRect(const TRect& Bounds, const TSize& S) {
  return CenterSizeInRectWH(Bounds, S.cx, S.cy);
}
TRect CenterRectVertically(const TRect& R, int H) {
  int t = (R.Top + R.Bottom - H) / 2;
  return {R.Left, t, R.Right, t + H};
}

TPoint MakePoint(int X, int Y) { return {X, Y}; }
TPoint PointFromSize(const TSize& S) { return {S.cx, S.cy}; }
bool SamePoint(const TPoint& A, const TPoint& B) { return A == B; }
TSize MakeSize(int CX, int CY) { return {CX, CY}; }
bool SizesEqual(const TSize& A, const TSize& B) { return A == B; }

namespace {
int gGeometryUnitCount = 0;
}

void cxGeometryInitialize() {
  if (gGeometryUnitCount++ > 0) return;
  RegisterClass<TcxRect, TPersistent>();
  Published<TcxRect>()
      .Property("Left", &TcxRect::Left, &TcxRect::SetLeft)
      .Property("Top", &TcxRect::Top, &TcxRect::SetTop)
      .Property("Right", &TcxRect::Right, &TcxRect::SetRight)
      .Property("Bottom", &TcxRect::Bottom, &TcxRect::SetBottom)
      .Property("OnChange", &TcxRect::OnChange);
  RegisterClass<TcxSize, TPersistent>();
  Published<TcxSize>()
      .Property("Height", &TcxSize::Height, &TcxSize::SetHeight)
      .Stored([](TcxSize* s) { return s->IsValueStored(0); })
      .Property("Width", &TcxSize::Width, &TcxSize::SetWidth)
      .Stored([](TcxSize* s) { return s->IsValueStored(1); });
}

void cxGeometryFinalize() {
  if (gGeometryUnitCount == 0 || --gGeometryUnitCount > 0) return;
  // The class registry keeps its entries for the life of the process.
}
