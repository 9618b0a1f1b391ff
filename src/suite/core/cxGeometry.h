#pragma once
// Stored rectangle and size properties, and the plain rectangle, point and size routines of the
// suite's layout code.

#include "platform/rtl/Classes.h"
#include "platform/rtl/Events.h"
#include "platform/win/Types.h"

class TcxRect : public TPersistent {
 public:
  explicit TcxRect(TPersistent* AOwner = nullptr);

  void Assign(TPersistent* Source) override;
  const TRect& Rect() const { return FRect; }
  void SetRect(const TRect& Value);
  int GetSide(int Index) const;
  void SetSide(int Index, int Value);
  int Left() const { return GetSide(0); }
  int Top() const { return GetSide(1); }
  int Right() const { return GetSide(2); }
  int Bottom() const { return GetSide(3); }
  void SetLeft(int V) { SetSide(0, V); }
  void SetTop(int V) { SetSide(1, V); }
  void SetRight(int V) { SetSide(2, V); }
  void SetBottom(int V) { SetSide(3, V); }
  bool IsEqual(const TcxRect* Other) const { return Other && Other->FRect == FRect; }
  bool IsEqualToRect(const TRect& R) const { return R == FRect; }
  // Direct access to the stored rectangle (no change event), for readers of binary data.
  TRect* RectAddress() { return &FRect; }

  TNotifyEvent OnChange;

 protected:
  virtual void AdjustRect(TRect& R) {}
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
  TRect FRect;
};

class TcxSize : public TPersistent {
 public:
  explicit TcxSize(TPersistent* AOwner = nullptr);

  void Assign(TPersistent* Source) override;
  const TSize& Size() const { return FSize; }
  virtual void SetSize(const TSize& Value);
  virtual int GetValue(int Index) const;
  void SetValue(int Index, int Value);
  virtual bool IsValueStored(int Index) const { return GetValue(Index) != 0; }
  int Height() const { return GetValue(0); }
  int Width() const { return GetValue(1); }
  void SetHeight(int V) { SetValue(0, V); }
  void SetWidth(int V) { SetValue(1, V); }
  bool IsEqual(const TcxSize* Other) const { return Other && Other->FSize == FSize; }
  TSize* SizeAddress() { return &FSize; }

  TNotifyEvent OnChange;

 protected:
  virtual void DoChange();
  TPersistent* GetOwner() const override { return FOwner; }

 private:
  TPersistent* FOwner;
  TSize FSize;
};

// Margins are rectangles whose four values are the widths of the sides.
int GetRectWidth(const TRect& R);
int GetRectHeight(const TRect& R);
TSize GetRectSize(const TRect& R);
bool IsEmptyRect(const TRect& R);
bool IsZeroRect(const TRect& R);
bool RectsEqual(const TRect& A, const TRect& B);
bool IntersectRects(const TRect& A, const TRect& B, TRect& R);
TRect UnionRects(const TRect& A, const TRect& B);
TRect InflateRectXY(const TRect& R, int DX, int DY);
TRect InflateRectSides(const TRect& R, int DX1, int DY1, int DX2, int DY2);
TRect InflateRectByMargins(const TRect& R, const TRect& M);
TRect DeflateRectByMargins(const TRect& R, const TRect& M);
int MarginsHorzTotal(const TRect& M);
TRect NegateRect(const TRect& R);
TPoint NegatePoint(const TPoint& P);
TRect OffsetRectByPoint(const TRect& R, const TPoint& P, bool Positive = true);
TRect OffsetRectByXY(const TRect& R, int X, int Y, bool Positive = true);
TPoint OffsetPointBy(const TPoint& P, int X, int Y, bool Positive = true);
TPoint OffsetPointByRectOrigin(const TPoint& P, const TRect& R, bool Positive = true);
bool IsPointInRect(const TRect& R, const TPoint& P);
bool IsXYInRect(const TRect& R, int X, int Y);
bool RectContainsRect(const TRect& Outer, const TRect& Inner);
TRect RotateRect(const TRect& R);
TRect RectFromSize(const TSize& S);
TRect MakeRect(int L, int T, int R, int B);
TRect RectFromPoints(const TPoint& P1, const TPoint& P2);
TRect MakeBoundsRect(int L, int T, int W, int H);
TPoint RectBottomLeft(const TRect& R);
TPoint RectTopRight(const TRect& R);
TPoint RectCenterPoint(const TRect& R);
TRect RectWithTopAt(const TRect& R, int Y);
TRect RectWithTopAt(const TRect& R, int Y, int H);
TRect RectWithBottomAt(const TRect& R, int Y);
TRect RectWithBottomAt(const TRect& R, int Y, int H);
TRect RectWithLeftAt(const TRect& R, int X);
TRect RectWithLeftAt(const TRect& R, int X, int W);
TRect RectWithRightAt(const TRect& R, int X);
TRect RectWithRightAt(const TRect& R, int X, int W);
TRect RectWithWidth(const TRect& R, int W);
TRect RectWithHeight(const TRect& R, int H);
TRect CenterSizeInRect(const TRect& Bounds, const TSize& S);
TRect CenterSizeInRectWH(const TRect& Bounds, int W, int H);
TRect CenterRectVertically(const TRect& R, int H);
TPoint MakePoint(int X, int Y);
TPoint PointFromSize(const TSize& S);
bool SamePoint(const TPoint& A, const TPoint& B);
TSize MakeSize(int CX, int CY);
bool SizesEqual(const TSize& A, const TSize& B);

void cxGeometryInitialize();
void cxGeometryFinalize();
