#pragma once
// The Office 2003 look: which of the three colour schemes of the XP style is active, the shared
// set of 81 colours (from the scheme's table or from the system colours), brushes and bitmaps
// for them, gradients, grip dots, arrows and the size grip.

#include <cstdint>

#include "platform/gui/Graphics.h"
#include "platform/gui/Pictures.h"
#include "platform/win/Windows.h"

enum TOffice11Scheme : uint8_t { schUnknown, schNormalColor, schHomeStead, schMetallic };

constexpr int Office11ColorCount = 81;
constexpr int Office11BrushCount = 16;
// The colour set and brushes, valid while there are users (Office11ColorsAddRef).
extern TColor Office11Colors[Office11ColorCount];
extern HBRUSH Office11Brushes[Office11BrushCount];
extern int Office11GradientPercent;
extern TBitmap* Office11SubMenuExpandBitmap;
extern TBitmap* Office11ExpandButtonMinusBitmap;
extern TBitmap* Office11ExpandButtonPlusBitmap;

void Office11ColorsAddRef();
void Office11ColorsRelease();
void Office11ColorsRefresh();
int Office11ColorsUsers();

TOffice11Scheme CurrentOffice11Scheme();
bool IsOffice11SchemeActive();
TOffice11Scheme GetOffice11Scheme();

bool IsBtnFaceBlack();
bool IsBtnFaceWhite();
bool IsBtnFaceBlackWithColoredText();

TColor MixColors(TColor Color1, TColor Color2, int Percent);
TColor SystemLightColor(int A, int B, int C);
TColor ScaleColorByPercent(TColor Color, int Percent);
TColor LightenColorByPercent(TColor Color, int Percent);
TColor NavPaneGroupCaptionTone(bool Lighter);

void FillRectSolid(HDC DC, const TRect& R, TColor Color);
void FrameRectSolid(HDC DC, const TRect& R, TColor Color);
void GradientFillRect(HDC DC, const TRect& R, TColor Color1, TColor Color2, bool Horizontal);
void FillOffice11Gradient(HDC DC, const TRect& R, TColor Color1, TColor Color2, bool Horizontal);
TColor GradientColorAt(const TRect& R, int Pos, TColor Color1, TColor Color2, bool Horizontal);

void Office11DrawSelectionFrame(HDC DC, const TRect& R);
// Null brushes take brushes 0 and 1.
void Office11DrawGripDots(HDC DC, const TRect& R, bool Horizontal, HBRUSH Brush1 = nullptr, HBRUSH Brush2 = nullptr);
void Office11PaintSizeGrip(HDC DC, const TRect& R, TColor Color1 = clDefault, TColor Color2 = clDefault);
void Office11DrawArrowInRect(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected);
void Office11DrawArrowOfSize(HDC DC, const TRect& R, bool Down, int Size, bool Selected, bool Enabled);

void dxOffice11Initialize();
void dxOffice11Finalize();
