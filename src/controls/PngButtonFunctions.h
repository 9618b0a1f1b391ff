#pragma once
// Where a PNG glyph and a caption go on a button.

#include <string>

#include "platform/gui/Buttons.h"
#include "platform/gui/Graphics.h"

class TPNGObject;

// Positions in Client's coordinates moved by Client's origin, both moved by Offset while the
// button is pressed. BiDiFlags with DT_RIGHT swap the left and right layouts.
void LayOutGlyphAndText(TCanvas* Canvas, TPNGObject* Png, const TRect& Client, UINT BiDiFlags,
                        TPoint& TextPos, TPoint& GlyphPos, int Spacing, int Margin,
                        TButtonLayout Layout, const std::string& Caption, int Offset);
