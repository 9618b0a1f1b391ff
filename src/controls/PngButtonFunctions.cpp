#include "controls/PngButtonFunctions.h"

#include "controls/PngImage.h"

void LayOutGlyphAndText(TCanvas* Canvas, TPNGObject* Png, const TRect& Client, UINT BiDiFlags,
                        TPoint& TextPos, TPoint& GlyphPos, int Spacing, int Margin,
                        TButtonLayout Layout, const std::string& Caption, int Offset) {
  if (BiDiFlags & DT_RIGHT) {
    if (Layout == blGlyphLeft) Layout = blGlyphRight;
    else if (Layout == blGlyphRight) Layout = blGlyphLeft;
  }
  const int w = Client.Width(), h = Client.Height();
  const int gw = Png && !Png->Empty() ? Png->Width() : 0, gh = Png && !Png->Empty() ? Png->Height() : 0;
  int tw = 0, th = 0;
  if (!Caption.empty()) {
    RECT r{0, 0, w, 0};
    HDC dc = Canvas->Handle();
    HGDIOBJ old = SelectObject(dc, Canvas->Font()->Handle());
    DrawText(dc, Caption, -1, &r, DT_CALCRECT | BiDiFlags);
    SelectObject(dc, old);
    tw = r.right - r.left;
    th = r.bottom - r.top;
  }
  const bool across = Layout == blGlyphLeft || Layout == blGlyphRight;
  if (across) GlyphPos.Y = (h - gh + 1) / 2;
  else GlyphPos.X = (w - gw + 1) / 2;
  if (tw == 0 || gw == 0) Spacing = 0;
  const int extent = across ? w : h, glyph = across ? gw : gh, text = across ? tw : th;
  if (Margin == -1) {
    if (Spacing == -1) Margin = (extent - (glyph + text)) / 3;
    else Margin = (extent - (glyph + Spacing + text)) / 2;
  }
  switch (Layout) {
    case blGlyphLeft: GlyphPos.X = Margin; break;
    case blGlyphRight: GlyphPos.X = w - Margin - gw; break;
    case blGlyphTop: GlyphPos.Y = Margin; break;
    case blGlyphBottom: GlyphPos.Y = h - Margin - gh; break;
  }
  if (across) TextPos.Y = (h - th) / 2;
  else TextPos.X = (w - tw) / 2;
  switch (Layout) {
    case blGlyphLeft: TextPos.X = GlyphPos.X + gw + Spacing; break;
    case blGlyphRight: TextPos.X = GlyphPos.X - Spacing - tw; break;
    case blGlyphTop: TextPos.Y = GlyphPos.Y + gh + Spacing; break;
    case blGlyphBottom: TextPos.Y = GlyphPos.Y - Spacing - th; break;
  }
  const TPoint move = Point(Offset + Client.Left, Offset + Client.Top);
  GlyphPos = GlyphPos + move;
  TextPos = TextPos + move;
}
