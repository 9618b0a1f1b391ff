#pragma once
// Points and rectangles as the control classes use them: the window system's POINT and RECT
// with member names of their own and the usual helpers.

#include <algorithm>

#include "platform/win/Windows.h"

using TSize = SIZE;

struct TPoint {
  int X = 0;
  int Y = 0;
  constexpr TPoint() = default;
  constexpr TPoint(int x, int y) : X(x), Y(y) {}
  constexpr TPoint(const POINT& p) : X(p.x), Y(p.y) {}  // NOLINT
  constexpr operator POINT() const { return POINT{X, Y}; }  // NOLINT
  constexpr bool operator==(const TPoint&) const = default;
  constexpr TPoint operator+(const TPoint& o) const { return {X + o.X, Y + o.Y}; }
  constexpr TPoint operator-(const TPoint& o) const { return {X - o.X, Y - o.Y}; }
};

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
  constexpr TRect() = default;
  constexpr TRect(int l, int t, int r, int b) : Left(l), Top(t), Right(r), Bottom(b) {}
  constexpr TRect(TPoint tl, TPoint br) : Left(tl.X), Top(tl.Y), Right(br.X), Bottom(br.Y) {}
  constexpr TRect(const RECT& r) : Left(r.left), Top(r.top), Right(r.right), Bottom(r.bottom) {}  // NOLINT
  constexpr operator RECT() const { return RECT{Left, Top, Right, Bottom}; }  // NOLINT
  constexpr bool operator==(const TRect&) const = default;
  constexpr int Width() const { return Right - Left; }
  constexpr int Height() const { return Bottom - Top; }
  constexpr TPoint TopLeft() const { return {Left, Top}; }
  constexpr TPoint BottomRight() const { return {Right, Bottom}; }
  constexpr bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  // Right and bottom edges are outside, as everywhere on the platform.
  constexpr bool Contains(TPoint p) const {
    return p.X >= Left && p.X < Right && p.Y >= Top && p.Y < Bottom;
  }
  constexpr TRect Offset(int dx, int dy) const { return {Left + dx, Top + dy, Right + dx, Bottom + dy}; }
  constexpr TRect Inflate(int dx, int dy) const { return {Left - dx, Top - dy, Right + dx, Bottom + dy}; }
};

constexpr TPoint Point(int x, int y) { return {x, y}; }
constexpr TRect Rect(int l, int t, int r, int b) { return {l, t, r, b}; }
constexpr TRect Bounds(int l, int t, int w, int h) { return {l, t, l + w, t + h}; }
constexpr bool PtInRect(const TRect& r, TPoint p) { return r.Contains(p); }
inline bool IntersectRect(TRect& dst, const TRect& a, const TRect& b) {
  dst = {std::max(a.Left, b.Left), std::max(a.Top, b.Top), std::min(a.Right, b.Right),
         std::min(a.Bottom, b.Bottom)};
  if (dst.IsEmpty()) dst = TRect();
  return !dst.IsEmpty();
}
