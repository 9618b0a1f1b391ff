#pragma once
// Routines on PNG pictures for buttons: disabled variants (half-transparent, grey), drawing
// with those options, and an image-list entry taken as a PNG with alpha.

#include "controls/PngImage.h"
#include "platform/gui/ImgList.h"

enum class TPngOption { pngBlendOnDisabled, pngGrayscaleOnDisabled };
using enum TPngOption;
using TPngOptions = TSet<TPngOption, 2>;

// Scales every pixel's opacity by (Amount + 1) / 256; pixels of a colour key become fully
// transparent. Grey and palette images become RGB with alpha.
void BlendPngAlpha(TPNGObject* Png, uint8_t Amount);
// Mixes every colour toward its grey level; 255 gives the grey level itself.
void GreyPngColours(TPNGObject* Png, uint8_t Amount);
// Draws the picture into Rect, made half-transparent and/or grey on a copy as Options ask.
void DrawPngWithOptions(TPNGObject* Png, TCanvas* Canvas, const TRect& Rect, TPngOptions Options);
// The entry's colours with alpha 255 where its mask lets them show and 0 elsewhere. The picture
// is left alone when the list cannot give the entry.
void PngFromImageListEntry(TPNGObject* Png, TCustomImageList* ImageList, int Index);
