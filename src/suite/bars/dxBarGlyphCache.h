#pragma once
// Glyphs rendered in a drawing state (normal, disabled, faded, greyed, lightened), shared by
// every item control of the process. A menu makes its item controls afresh each time it opens,
// so each control's own cache starts empty; rendering a glyph in a state costs many times more
// than copying the finished pixels, which is what this cache lets a new control do.
//
// A bitmap glyph is found by its pixels and drawing settings, so any change of the bitmap shows
// at once. An image-list image is found by list, index and size; the cache listens to each list
// it holds images of and forgets them when the list reports a change or is freed.

#include "platform/gui/ImgList.h"
#include "suite/core/cxGraphicsImages.h"

class TBitmap;
class TcxAlphaBitmap;

// Draws Glyph (or image ImageIndex of Images) in Mode into R = (0, 0, width, height) of Target,
// a cleared bitmap of R's size, as DrawImageInState would with no background brush, taking the
// pixels from the cache when the same rendering was made before. With a glyph-drawing hook set
// nothing is cached.
void dxBarRenderGlyphCached(TcxAlphaBitmap* Target, const TRect& R, TBitmap* Glyph, TCustomImageList* Images,
                            int ImageIndex, TcxImageDrawMode Mode, bool Smooth, TColor TransparentColor);
// cxPrepareImageForDrawing of a rendered glyph (a cache bitmap of an item control), taken from
// the cache when a rendering with the same pixels was prepared before.
void dxBarPrepareGlyphCached(TcxAlphaBitmap* Rendered, TcxAlphaBitmap* Prepared);
// Renderings the cache has made itself (misses), for whoever wants to see it at work.
int dxBarGlyphRenderCount();
// Frees every entry and stops listening to image lists (when the bar unit shuts down).
void dxBarClearGlyphRenderCache();
