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

// The colours the look-and-feel painters, group panels and grids read, each one number of the set.
// The bar painters read the first fifty-odd numbers by their own roles (dock, bar, mark gradients,
// grip dots 18/19, separators 20/21, glyphs 51/52); the entries from 58 on that the bars never
// read belong to the data views. Without users the set is not computed and each role answers the
// system colour the no-scheme column would give.
//   role                         number  scheme value             no scheme
//   button face                  54      = 0, the dock colour     BtnFace
//   hot button                   40      hot item colour          Light(-2, 30, 72)
//   pressed button               48      pressed item colour      Light(14, 44, 40)
//   hot accent                   59      row 33 (deep yellow)     the checked colour (47)
//   border highlight             41      selection frame          Highlight
//   glyph, disabled glyph        51, 52  text colours             BtnText, GrayText
//   control border               53      = 38, the border colour  BtnShadow
//   header gradient's first      58      row 32                   BtnFace
//   header light                 61      row 34                   BtnFace
//   separator dark, light        20, 21  bar separators           70% BtnShadow, white
//   calendar frame               60      row 35                   BtnShadow
//   expand-button corners        79, 80  fixed greys, as the glyph bitmaps are fixed
//   group panel, B, C            62, 63, 64
enum TOffice11Role : uint8_t {
  o11ButtonFace = 54,
  o11HotButton = 40,
  o11PressedButton = 48,
  o11HotAccent = 59,
  o11BorderHighlight = 41,
  o11Glyph = 51,
  o11DisabledGlyph = 52,
  o11ControlBorder = 53,
  o11HeaderGradientFirst = 58,
  o11HeaderLight = 61,
  o11SeparatorDark = 20,
  o11SeparatorLight = 21,
  o11CalendarFrame = 60,
  o11ExpandCornerFirst = 79,
  o11ExpandCornerSecond = 80,
  o11GroupPanel = 62,
  o11GroupPanelB = 63,
  o11GroupPanelC = 64,
};
// The role's colour; the system colour of the no-scheme column while nobody holds the set.
TColor Office11RoleColor(TOffice11Role Role);

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
