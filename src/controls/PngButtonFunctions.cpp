#include "controls/PngButtonFunctions.h"

#include "controls/PngImage.h"

void LayOutGlyphAndText(TCanvas* Canvas, TPNGObject* Png, const TRect& Client, UINT BiDiFlags,
                        TPoint& TextPos, TPoint& GlyphPos, int Spacing, int Margin,
                        TButtonLayout Layout, const std::string& Caption, int Offset) {
  if (BiDiFlags & DT_RIGHT) {
    if (Layout == blGlyphLeft) Layout = blGlyphRight;
    else if (Layout == blGlyphRight) Layout = blGlyphLeft;
  }
  TSize glyph{0, 0}, text{0, 0};
  if (Png && !Png->Empty()) glyph = TSize{Png->Width(), Png->Height()};
  if (!Caption.empty()) {
    RECT r{0, 0, Client.Width(), 0};
    HDC dc = Canvas->Handle();
    HGDIOBJ old = SelectObject(dc, Canvas->Font()->Handle());
    DrawText(dc, Caption, -1, &r, DT_CALCRECT | BiDiFlags);
    SelectObject(dc, old);
    text = TSize{r.right - r.left, r.bottom - r.top};
  }
  // The same placement as every speed button's glyph and caption.
  LayoutGlyphAndText(Client, glyph, text, Layout, Margin, Spacing, Offset, GlyphPos, TextPos);
}
