// The painter and fader answers the item controls use, in one place.

#include "suite/bars/dxBarItemControlsImpl.h"

#include "suite/core/cxGraphics.h"

namespace dxBarControlsImpl {

bool PainterBarWindowFlagA(TdxBarPainter* P) { return true; }
bool PainterBarBackgroundFlag(TdxBarPainter* P) { return false; }
bool PainterAllowsLargeIcons(TdxBarPainter* P) { return true; }
int PainterItemTextSize(TdxBarPainter* P, TdxBarItemControl* Control) { return 0; }
TSize PainterGlyphAreaSize(TdxBarPainter* P, int GlyphWidth, int GlyphHeight) {
  return TSize{GlyphWidth + 7, GlyphHeight + 6};
}
TColor PainterDefaultCaptionColor(TdxBarPainter* P, TdxBarItemControl* Control, bool Selected, bool Flat) {
  return clBtnText;
}
void PainterDisabledCaptionColors(TdxBarPainter* P, TdxBarItemControl* Control, bool Selected,
                                  TColor& ShadowColor, TColor& TextColor, bool Flat) {
  ShadowColor = TextColor = clGrayText;
}
int PainterDefaultTextSize(TdxBarPainter* P, TcxCanvas* Canvas) {
  return Canvas->MeasureTextHeight("Zq") + 6;
}
int PainterMenuTextSize(TdxBarPainter* P, TcxCanvas* Canvas) { return PainterDefaultTextSize(P, Canvas); }
TRect PainterCaptionTextRect(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams) {
  if (!DrawParams->DrawCanvas) return TRect();
  TSize s;
  DrawParams->DrawCanvas->MeasureText(DrawParams->CaptionText, s);
  return TRect(0, 0, s.cx, s.cy);
}
TRect PainterControlMargins(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams, int Kind) {
  return TRect(3, 0, 3, 0);
}
int PainterSeparatorTextIndent(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams) { return 0; }
TRect PainterCaptionGlyphGap(TdxBarPainter* P) { return TRect(4, 0, 0, 0); }
void PainterAdjustMenuExtent(TdxBarPainter* P, int& Value) {}
void PainterAdjustMenuItemWidth(TdxBarPainter* P, int& Width) {}
int PainterDropDownArrowWidth(TdxBarPainter* P, TdxBarManager* Manager) {
  int w = Manager ? Manager->ButtonArrowWidth() : 11;
  if (Manager && Manager->ImageOptions()->LargeIcons()) w *= 2;
  return w % 2 ? w : w + 1;
}
int PainterLargeDropDownArrowWidth(TdxBarPainter* P, TdxBarManager* Manager) {
  return Manager ? Manager->LargeButtonArrowWidth() : 13;
}
bool PainterIsFlat(TdxBarPainter* P) { return false; }
bool PainterDownButtonHighlight(TdxBarPainter* P) { return true; }
bool PainterArrowUsesCaptionColor(TdxBarPainter* P) { return false; }
int PainterArrowAreaExtraWidth(TdxBarPainter* P, TdxBarItemControl* Control) { return 0; }
bool PainterArrowPartFlatB(TdxBarPainter* P) { return false; }
bool PainterSupportsFading(TdxBarPainter* P) { return false; }
void PainterCalcButtonPartRects(TdxBarPainter* P, TdxBarButtonLikeControlDrawParams* DrawParams,
                                std::vector<TRect>& PartRects) {}
void PainterAddButtonExtraWidth(TdxBarPainter* P, TdxBarButtonLikeControlDrawParams* DrawParams, int& Width) {}
int PainterButtonBorderWidth(TdxBarPainter* P, TdxBarItemControl* Control) { return 0; }
void PainterDrawButtonLike(TdxBarPainter* P, TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) {}
void PainterDrawStaticContent(TdxBarPainter* P, TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) {}
void PainterDrawSeparatorItem(TdxBarPainter* P, TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R) {}
TRect PainterSeparatorItemMargins(TdxBarPainter* P) { return TRect(6, 0, 0, 0); }
int PainterSeparatorLineHeight(TdxBarPainter* P) { return 0; }
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
