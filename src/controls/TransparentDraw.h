#pragma once
// Drawing a bitmap, or a rectangle of it, so that the pixels of one colour leave the background
// showing; and the two screen cursors registered at start-up.

#include "platform/gui/Graphics.h"
#include "platform/gui/Pictures.h"

// TransparentColor: clNone draws every pixel, clDefault takes the colour of the bitmap's
// bottom-left pixel, any other colour is left out. Sizes below 1 stand for the whole bitmap.
void StretchBitmapWithTransparency(TCanvas* Canvas, int DestX, int DestY, int DestW, int DestH,
                                   TBitmap* Bitmap, int SrcX, int SrcY, int SrcW, int SrcH,
                                   TColor TransparentColor);
void BlitWithTransparency(TCanvas* Canvas, int X, int Y, TBitmap* Bitmap, TColor TransparentColor);
void BlitRectWithTransparency(TCanvas* Canvas, int X, int Y, TColor TransparentColor,
                              TBitmap* Bitmap, const TRect& SourceRect);
// Stretches a source rectangle onto the destination through a mask of the pixels that have
// Color, composed off screen so that the destination changes in one copy.
void MaskedStretchCopy(HDC DestDC, int DestX, int DestY, int DestW, int DestH, HDC SrcDC, int SrcX,
                       int SrcY, int SrcW, int SrcH, TColor Color, HPALETTE Palette);

// Right and bottom edges count as inside.
bool PointInRectInclusive(TPoint P, const TRect& R);

constexpr TCursor crRxHand = 14000;
constexpr TCursor crRxDrag = 14001;
// Puts the platform's hand and drag cursors into the screen's table under the two numbers.
void RegisterRxCursors();
