// The painter and fader answers the item controls use, in one place.

#include "suite/bars/dxBarItemControlsImpl.h"

#include "suite/core/cxGraphics.h"

namespace dxBarControlsImpl {

bool PainterBarWindowFlagA(TdxBarPainter* P) { return P ? P->BarWindowFlagA() : true; }
// Menus join the element that opened them in the flat looks only.
bool PainterBarBackgroundFlag(TdxBarPainter* P) { return P ? P->IsFlat() : false; }
bool PainterAllowsLargeIcons(TdxBarPainter* P) { return P ? P->AllowsLargeIcons() : true; }
int PainterItemTextSize(TdxBarPainter* P, TdxBarItemControl* Control) { return P ? P->ItemTextSize(Control) : 0; }
TSize PainterGlyphAreaSize(TdxBarPainter* P, int GlyphWidth, int GlyphHeight) {
  return P ? P->GlyphAreaSize(GlyphWidth, GlyphHeight) : (TSize{GlyphWidth + 7, GlyphHeight + 6});
}
TColor PainterDefaultCaptionColor(TdxBarPainter* P, TdxBarItemControl* Control, bool Selected, bool Flat) {
  return P ? P->DefaultCaptionColor(Control, Selected, Flat) : clBtnText;
}
void PainterDisabledCaptionColors(TdxBarPainter* P, TdxBarItemControl* Control, bool Selected,
                                  TColor& ShadowColor, TColor& TextColor, bool Flat) {
  if (P)
    P->DisabledCaptionColors(Control, Selected, ShadowColor, TextColor, Flat);
  else
    ShadowColor = TextColor = clGrayText;
}
int PainterDefaultTextSize(TdxBarPainter* P, TcxCanvas* Canvas) { return P ? P->DefaultTextSize(Canvas) : Canvas->MeasureTextHeight("Zq") + 6; }
int PainterMenuTextSize(TdxBarPainter* P, TcxCanvas* Canvas) { return P ? P->MenuTextSize(Canvas) : Canvas->MeasureTextHeight("Zq") + 6; }
TRect PainterCaptionTextRect(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams) {
  if (P) return P->CalcCaptionTextRect(DrawParams);
  if (!DrawParams->DrawCanvas) return TRect();
  TSize s;
  DrawParams->DrawCanvas->MeasureText(DrawParams->CaptionText, s);
  return TRect(0, 0, s.cx, s.cy);
}
TRect PainterControlMargins(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams, int Kind) {
  return P ? P->ControlMargins(DrawParams, Kind) : TRect(3, 0, 3, 0);
}
int PainterSeparatorTextIndent(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams) {
  return P ? P->SeparatorTextIndent(DrawParams) : 0;
}
TRect PainterCaptionGlyphGap(TdxBarPainter* P) { return P ? P->CaptionGlyphGap() : TRect(4, 0, 0, 0); }
void PainterAdjustMenuExtent(TdxBarPainter* P, int& Value) { P->AdjustMenuExtent(Value); }
void PainterAdjustMenuItemWidth(TdxBarPainter* P, int& Width) { P->AdjustMenuItemWidth(Width); }
int PainterDropDownArrowWidth(TdxBarPainter* P, TdxBarManager* Manager) {
  return P && Manager ? P->DropDownArrowWidth(Manager) : 11;
}
int PainterLargeDropDownArrowWidth(TdxBarPainter* P, TdxBarManager* Manager) {
  return P && Manager ? P->LargeDropDownArrowWidth(Manager) : 13;
}
bool PainterIsFlat(TdxBarPainter* P) { return P ? P->IsFlat() : false; }
bool PainterDownButtonHighlight(TdxBarPainter* P) { return P ? P->DownButtonHighlight() : true; }
bool PainterArrowUsesCaptionColor(TdxBarPainter* P) { return P ? P->ArrowUsesCaptionColor() : false; }
int PainterArrowAreaExtraWidth(TdxBarPainter* P, TdxBarItemControl* Control) {
  return P ? P->ArrowAreaExtraWidth(Control) : 0;
}
bool PainterArrowPartFlatB(TdxBarPainter* P) { return P ? P->ArrowPartFlatB() : false; }
bool PainterSupportsFading(TdxBarPainter* P) { return P ? P->SupportsFading() : false; }
void PainterCalcButtonPartRects(TdxBarPainter* P, TdxBarButtonLikeControlDrawParams* DrawParams,
                                std::vector<TRect>& PartRects) {
  if (P) P->CalcButtonPartRects(DrawParams, PartRects);
}
void PainterAddButtonExtraWidth(TdxBarPainter* P, TdxBarButtonLikeControlDrawParams* DrawParams, int& Width) {
  if (P) P->AddButtonExtraWidth(DrawParams, Width);
}
int PainterButtonBorderWidth(TdxBarPainter* P, TdxBarItemControl* Control) { return P ? P->ButtonBorderWidth(Control) : 0; }
void PainterDrawButtonLike(TdxBarPainter* P, TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) {
  if (P) P->DrawButtonLike(DrawParams, R);
}
void PainterDrawStaticContent(TdxBarPainter* P, TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) {
  if (P) P->DrawStatic(DrawParams, R);
}
void PainterDrawSeparatorItem(TdxBarPainter* P, TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R) {
  if (P) P->DrawSeparatorItem(DrawParams, R);
}
TRect PainterSeparatorItemMargins(TdxBarPainter* P) { return P ? P->SeparatorItemMargins() : TRect(6, 0, 0, 0); }
int PainterSeparatorLineHeight(TdxBarPainter* P) { return P ? P->SeparatorLineHeight() : 2; }
// Fading is off in this program (no painter supports it), so no fading image is ever asked for.
void PainterDrawFadingImage(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams, const TRect& R) {}

// Fading is off in this program: no fader exists, so nothing starts or stops.
void FadeIn(TdxFader* Fader, TdxBarItemControl* Control) {}
void FadeOut(TdxFader* Fader, TdxBarItemControl* Control) {}
void StopFading(TdxFader* Fader, TdxBarItemControl* Control) {}

void PlayMenuSound(int Index) {
  static const char* const kSounds[] = {"MenuPopup", "MenuCommand"};
  if (Index >= 0 && Index < 2) dxBarPlaySound(kSounds[Index]);
}

}  // namespace dxBarControlsImpl
