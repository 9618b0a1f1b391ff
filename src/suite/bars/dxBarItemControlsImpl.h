#pragma once
// What the item-control sources share privately: the painter and fader answers they need.

#include <string>
#include <vector>

#include "suite/bars/dxBar.h"

namespace dxBarControlsImpl {

bool PainterBarWindowFlagA(TdxBarPainter* P);
bool PainterBarBackgroundFlag(TdxBarPainter* P);
bool PainterAllowsLargeIcons(TdxBarPainter* P);
int PainterItemTextSize(TdxBarPainter* P, TdxBarItemControl* Control);
TSize PainterGlyphAreaSize(TdxBarPainter* P, int GlyphWidth, int GlyphHeight);
TColor PainterDefaultCaptionColor(TdxBarPainter* P, TdxBarItemControl* Control, bool Selected, bool Flat);
void PainterDisabledCaptionColors(TdxBarPainter* P, TdxBarItemControl* Control, bool Selected,
                                  TColor& ShadowColor, TColor& TextColor, bool Flat);
int PainterDefaultTextSize(TdxBarPainter* P, TcxCanvas* Canvas);
int PainterMenuTextSize(TdxBarPainter* P, TcxCanvas* Canvas);
TRect PainterCaptionTextRect(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams);
TRect PainterControlMargins(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams, int Kind);
int PainterSeparatorTextIndent(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams);
TRect PainterCaptionGlyphGap(TdxBarPainter* P);
void PainterAdjustMenuExtent(TdxBarPainter* P, int& Value);
void PainterAdjustMenuItemWidth(TdxBarPainter* P, int& Width);
int PainterDropDownArrowWidth(TdxBarPainter* P, TdxBarManager* Manager);
int PainterLargeDropDownArrowWidth(TdxBarPainter* P, TdxBarManager* Manager);
bool PainterIsFlat(TdxBarPainter* P);
bool PainterDownButtonHighlight(TdxBarPainter* P);
bool PainterArrowUsesCaptionColor(TdxBarPainter* P);
int PainterArrowAreaExtraWidth(TdxBarPainter* P, TdxBarItemControl* Control);
bool PainterArrowPartFlatB(TdxBarPainter* P);
bool PainterSupportsFading(TdxBarPainter* P);
void PainterCalcButtonPartRects(TdxBarPainter* P, TdxBarButtonLikeControlDrawParams* DrawParams,
                                std::vector<TRect>& PartRects);
void PainterAddButtonExtraWidth(TdxBarPainter* P, TdxBarButtonLikeControlDrawParams* DrawParams, int& Width);
int PainterButtonBorderWidth(TdxBarPainter* P, TdxBarItemControl* Control);
void PainterDrawButtonLike(TdxBarPainter* P, TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R);
void PainterDrawStaticContent(TdxBarPainter* P, TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R);
void PainterDrawSeparatorItem(TdxBarPainter* P, TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R);
TRect PainterSeparatorItemMargins(TdxBarPainter* P);
int PainterSeparatorLineHeight(TdxBarPainter* P);
// Draws a control once into a bitmap for the fader (normal or hot look).
void PainterDrawFadingImage(TdxBarPainter* P, TdxBarItemControlDrawParams* DrawParams, const TRect& R);

void FadeIn(TdxFader* Fader, TdxBarItemControl* Control);
void FadeOut(TdxFader* Fader, TdxBarItemControl* Control);
void StopFading(TdxFader* Fader, TdxBarItemControl* Control);
// Plays the menu sound of the given index (1 "MenuCommand").
void PlayMenuSound(int Index);

}  // namespace dxBarControlsImpl
