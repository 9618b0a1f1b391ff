// The painter and fader answers the item controls use, in one place.

#include "suite/bars/dxBarItemControlsImpl.h"

#include "suite/core/cxGraphics.h"

namespace dxBarControlsImpl {

bool PainterBarWindowFlagA(TdxBarPainter* P) { return P->BarWindowFlagA(); }
bool PainterBarBackgroundFlag(TdxBarPainter* P) { return P->BarBackgroundAtOnce(); }
bool PainterAllowsLargeIcons(TdxBarPainter* P) { return P->AllowsLargeIcons(); }
int PainterItemTextSize(TdxBarPainter* P, TdxBarItemControl* Control) { return P->ItemTextSize(Control); }
TSize PainterGlyphAreaSize(TdxBarPainter* P, int GlyphWidth, int GlyphHeight) {
  return P->GlyphAreaSize(GlyphWidth, GlyphHeight);
}
TColor PainterDefaultCaptionColor(TdxBarPainter* P, TdxBarItemControl* Control, bool Selected, bool Flat) {
  return P->DefaultCaptionColor(Control, Selected, Flat);
}
void PainterDisabledCaptionColors(TdxBarPainter* P, TdxBarItemControl* Control, bool Selected,
                                  TColor& ShadowColor, TColor& TextColor, bool Flat) {
  P->DisabledCaptionColors(Control, Selected, ShadowColor, TextColor, Flat);
}
int PainterDefaultTextSize(TdxBarPainter* P, TcxCanvas* Canvas) { return P->DefaultTextSize(Canvas); }
int PainterMenuTextSize(TdxBarPainter* P, TcxCanvas* Canvas) { return P->MenuTextSize(Canvas); }
TRect PainterCaptionTextRect(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams) {
  return P->CalcCaptionTextRect(DrawParams);
}
TRect PainterControlMargins(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams, int Kind) {
  return P->ControlMargins(DrawParams, Kind);
}
int PainterSeparatorTextIndent(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams) {
  return P->SeparatorTextIndent(DrawParams);
}
TRect PainterCaptionGlyphGap(TdxBarPainter* P) { return P->CaptionGlyphGap(); }
void PainterAdjustMenuExtent(TdxBarPainter* P, int& Value) { P->AdjustMenuExtent(Value); }
void PainterAdjustMenuItemWidth(TdxBarPainter* P, int& Width) { P->AdjustMenuItemWidth(Width); }
int PainterDropDownArrowWidth(TdxBarPainter* P, TdxBarManager* Manager) {
  return Manager ? P->DropDownArrowWidth(Manager) : 11;
}
int PainterLargeDropDownArrowWidth(TdxBarPainter* P, TdxBarManager* Manager) {
  return Manager ? P->LargeDropDownArrowWidth(Manager) : 13;
}
bool PainterIsFlat(TdxBarPainter* P) { return P->IsFlat(); }
bool PainterDownButtonHighlight(TdxBarPainter* P) { return P->DownButtonHighlight(); }
bool PainterArrowUsesCaptionColor(TdxBarPainter* P) { return P->ArrowUsesCaptionColor(); }
int PainterArrowAreaExtraWidth(TdxBarPainter* P, TdxBarItemControl* Control) {
  return P->ArrowAreaExtraWidth(Control);
}
bool PainterArrowPartFlatB(TdxBarPainter* P) { return P->ArrowPartFlatB(); }
bool PainterSupportsFading(TdxBarPainter* P) { return P->SupportsFading(); }
void PainterCalcButtonPartRects(TdxBarPainter* P, TdxBarButtonLikeControlDrawParams* DrawParams,
                                std::vector<TRect>& PartRects) {
  P->CalcButtonPartRects(DrawParams, PartRects);
}
void PainterAddButtonExtraWidth(TdxBarPainter* P, TdxBarButtonLikeControlDrawParams* DrawParams, int& Width) {
  P->AddButtonExtraWidth(DrawParams, Width);
}
int PainterButtonBorderWidth(TdxBarPainter* P, TdxBarItemControl* Control) { return P->ButtonBorderWidth(Control); }
void PainterDrawButtonLike(TdxBarPainter* P, TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) {
  P->DrawButtonLike(DrawParams, R);
}
void PainterDrawStaticContent(TdxBarPainter* P, TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) {
  P->DrawStatic(DrawParams, R);
}
void PainterDrawSeparatorItem(TdxBarPainter* P, TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R) {
  P->DrawSeparatorItem(DrawParams, R);
}
TRect PainterSeparatorItemMargins(TdxBarPainter* P) { return P->SeparatorItemMargins(); }
int PainterSeparatorLineHeight(TdxBarPainter* P) { return P->SeparatorLineHeight(); }
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
