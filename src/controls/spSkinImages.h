#pragma once
// Images of any size from a skin picture made for one size: plain copy, nine pieces (corners
// copied, edges and client stretched or tiled) or three pieces along one axis; and window
// regions from mask pictures (black pixels are inside).

#include <cstdint>
#include <vector>

#include "platform/gui/Pictures.h"
#include "platform/win/Gdi.h"
#include "platform/win/Types.h"

// Fills Dest with Piece repeated from Dest's left (or top), the last copy cut, not scaled.
void TileHorizontally(TCanvas* Target, const TRect& Dest, TCanvas* Source, const TRect& Piece);
void TileVertically(TCanvas* Target, const TRect& Dest, TCanvas* Source, const TRect& Piece);

// Points and client rectangles are relative to R's (source) or the target's (new) top-left.
// StretchKind: 0 stretch the client, 1 stretch it to the height and repeat across, 2 stretch it
// to the width and repeat down.
void BuildNinePartImage(TBitmap* Source, const TRect& R, TPoint LT, TPoint RT, TPoint LB, TPoint RB,
                        const TRect& CL, TBitmap* Target, int W, int H, TPoint NLT, TPoint NRT,
                        TPoint NLB, TPoint NRB, const TRect& NCL, bool LeftStretch, bool TopStretch,
                        bool RightStretch, bool BottomStretch, bool DrawClient, bool StretchClient,
                        int StretchKind);
void BuildStretchedImage(TBitmap* Target, TBitmap* Source, const TRect& R, bool DrawClient, const TRect& CL);
void BuildHorizontalThreePartImage(int A, int C, TBitmap* Target, bool StretchMiddle, int W, const TRect& R,
                                   TBitmap* Source);
void BuildVerticalThreePartImage(int A, int C, TBitmap* Target, bool StretchMiddle, int H, const TRect& R,
                                 TBitmap* Source);

// One rectangle per run of black pixels, row by row, moved by (Dx, Dy), after a region-data
// header bounding the mask; empty for an empty mask.
std::vector<uint8_t> MaskToRegionData(TBitmap* Mask, int Dx, int Dy);
HRGN RegionFromMask(TBitmap* Mask);
// The client rectangle NCL united with the border strips of Mask stretched to W x H; null when
// the new points are inverted or NCL is empty.
HRGN BuildBorderRegion(TBitmap* Mask, TPoint LT, TPoint RT, TPoint LB, TPoint RB, const TRect& CL, int W,
                       int H, TPoint NLT, TPoint NRT, TPoint NLB, TPoint NRB, const TRect& NCL);
// Frame Number (1-based) of Count frames side by side in Strip, drawn with its key colour.
void DrawStripFrame(TCanvas* Canvas, int X, int Y, int Number, int Count, TBitmap* Strip);
