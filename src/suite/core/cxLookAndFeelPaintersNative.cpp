#include "suite/core/cxLookAndFeelPainters.h"

#include <QString>
#include <algorithm>
#include <cmath>

#include "platform/rtl/SysUtils.h"
#include "platform/win/GdiExtras.h"
#include "suite/core/cxGraphicsImages.h"
#include "suite/core/cxLookAndFeels.h"
#include "suite/core/dxCore.h"
#include "suite/core/dxOffice11.h"
#include "suite/core/dxThemeManager.h"
#include "suite/core/dxUxTheme.h"
#include "suite/core/cxLookAndFeelPaintersHelpers.h"

using namespace cxPainterHelpers;

// ---- Native painter

namespace {
// A theme handle of the kind, or 0 while visual styles are unavailable.
HTHEME ThemeOf(TdxThemedObjectType Kind) { return AcquireThemeHandle(Kind); }

// Element states mapped to the style's state numbers of each kind of part.
const int PushButtonStates[] = {5, 1, 2, 3, 4};
const int HeaderItemStates[] = {1, 1, 2, 3, 1};
const int CommonStates[] = {1, 1, 2, 3, 4};  // small close button, drop-down button, tab item
const int TrackBarThumbStates[] = {2, 1, 2, 3, 5};
const int NavigatorStates[] = {2, 2, 5, 3, 4};
int ScrollBarState(TcxElementState S) {
  return S == esHot ? 2 : S == esPressed ? 3 : S == esDisabled ? 4 : 1;
}
int CheckState(TcxElementState S, bool Checked) { return CommonStates[S] + (Checked ? 4 : 0); }

// Part numbers of the kinds used below.
constexpr int BP_PUSHBUTTON = 1, BP_RADIOBUTTON = 2, BP_CHECKBOX = 3, BP_GROUPBOX = 4;
constexpr int SBP_ARROWBTN = 1, SBP_THUMBBTNHORZ = 2, SBP_THUMBBTNVERT = 3, SBP_LOWERTRACKHORZ = 4,
              SBP_UPPERTRACKHORZ = 5, SBP_LOWERTRACKVERT = 6, SBP_UPPERTRACKVERT = 7,
              SBP_GRIPPERHORZ = 8, SBP_GRIPPERVERT = 9, SBP_SIZEBOX = 10;
constexpr int WP_SMALLCLOSEBUTTON = 19;
constexpr int TVP_GLYPH = 2;
constexpr int EBP_NORMALGROUPCOLLAPSE = 6, EBP_NORMALGROUPEXPAND = 7;
constexpr int HP_HEADERITEM = 1, HP_HEADERITEMLEFT = 2, HP_HEADERITEMRIGHT = 3;
constexpr int TKP_TRACK = 1, TKP_TRACKVERT = 2;
constexpr int PP_BAR = 1, PP_CHUNK = 3;
constexpr int TP_BUTTON = 1, TP_SEPARATOR = 5, TP_SEPARATORVERT = 6;
constexpr int TABP_TABITEM = 1, TABP_PANE = 9;
constexpr int TTP_STANDARD = 1;
constexpr int CP_DROPDOWNBUTTON = 1;
constexpr int LVP_LISTDETAIL = 5;
constexpr int LBCP_BORDER_NOSCROLL = 3;

// Colour and margin properties.
constexpr int TMT_FILLCOLOR_BUTTON = 204, TMT_BORDERCOLOR = 3801, TMT_TEXTCOLOR = 3803;
constexpr int TMT_CONTENTMARGINS = 3602;

void DrawPart(HTHEME Theme, TcxCanvas* Canvas, int Part, int State, const TRect& R) {
  UxDrawThemeBackgroundByRef(Theme, Canvas->CurrentDC(), Part, State, R);
}

bool PartSize(HTHEME Theme, int Part, int State, TSize& Size) {
  SIZE s{};
  if (!Theme || UxGetThemePartSizeDefault(Theme, nullptr, Part, State, TS_TRUE, s) != 0)
    return false;
  Size = TSize{s.cx, s.cy};
  return true;
}

// The insets of the part's content rectangle inside (0, 0, 100, 100), as left, top, right, bottom.
bool ContentInsets(HTHEME Theme, int Part, int State, TRect& Insets) {
  RECT content{};
  if (!Theme || UxGetThemeBackgroundContentRect(Theme, nullptr, Part, State, RECT{0, 0, 100, 100},
                                                content) != 0)
    return false;
  Insets = TRect(content.left, content.top, 100 - content.right, 100 - content.bottom);
  return true;
}

bool PartColor(HTHEME Theme, int Part, int State, int Property, TColor& Color) {
  COLORREF c = 0;
  if (!Theme || UxGetThemeColor(Theme, Part, State, Property, c) != 0) return false;
  Color = TColor(c & 0xFFFFFF);
  return true;
}

int TrackBarThumbPart(bool Vertical, int Shape) {
  static const int parts[3][2] = {{5, 7}, {4, 8}, {3, 6}};
  return parts[std::clamp(Shape, 0, 2)][Vertical ? 1 : 0];
}

bool PartiallyTransparent(HTHEME Theme, int Part, int State) {
  return Theme && UxIsThemeBackgroundPartiallyTransparent(Theme, Part, State);
}
}  // namespace

bool TcxWinXPLookAndFeelPainter::ThemedLookFlag() const { return IsThemingAvailable({}); }

void TcxWinXPLookAndFeelPainter::DrawNavButtonFace(TcxCanvas* Canvas, const TRect& R,
                                                   const TRect& ArrowRect, bool IsNext,
                                                   TcxElementState State) const {
  HTHEME t = ThemeOf(totTab);
  if (!t || R.IsEmpty())
    return TcxStandardLookAndFeelPainter::DrawNavButtonFace(Canvas, R, ArrowRect, IsNext, State);
  // The tab item is drawn facing the button's side: the next button gets it flipped.
  std::unique_ptr<TcxBitmap32> bmp(new TcxBitmap32(R.Width(), R.Height()));
  bmp->cxCanvas()->CopyRectFrom(bmp->FullRect(), Canvas->Canvas(), R);
  if (IsNext) bmp->RotateFlip(raNone, true);
  DrawPart(t, bmp->cxCanvas(), TABP_TABITEM, CommonStates[State], bmp->FullRect());
  if (IsNext) bmp->RotateFlip(raNone, true);
  Canvas->CopyRectFrom(R, bmp->Canvas(), bmp->FullRect());
  PaintNavButtonArrow(Canvas, ArrowRect, IsNext, ButtonGlyphColor(State));
}

void TcxWinXPLookAndFeelPainter::DrawArrowButton(TcxCanvas* Canvas, const TRect& R,
                                                 TcxElementState State, TcxArrowDirection Direction,
                                                 bool Framed) const {
  HTHEME t = ThemeOf(totScrollBar);
  if (!t)
    return TcxStandardLookAndFeelPainter::DrawArrowButton(Canvas, R, State, Direction, Framed);
  static const int first[] = {1, 5, 9, 13};
  static const int add[] = {0, 0, 1, 2, 3};
  DrawPart(t, Canvas, SBP_ARROWBTN, first[Direction] + add[State], R);
}

void TcxWinXPLookAndFeelPainter::DrawArrowButtonFrame(TcxCanvas* Canvas, const TRect& R,
                                                      TcxElementState State) const {
  HTHEME t = ThemeOf(totButton);
  if (!t) return TcxStandardLookAndFeelPainter::DrawArrowButtonFrame(Canvas, R, State);
  DrawPart(t, Canvas, BP_PUSHBUTTON, PushButtonStates[State], R);
}

int TcxWinXPLookAndFeelPainter::ControlBorderSize() const {
  return ThemeOf(totListView) ? 1 : TcxStandardLookAndFeelPainter::ControlBorderSize();
}

void TcxWinXPLookAndFeelPainter::DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const {
  HTHEME t = ThemeOf(totListView);
  if (!t) return TcxStandardLookAndFeelPainter::DrawControlBorder(Canvas, R);
  // Only the part's outermost pixel row is wanted as the border.
  Canvas->PushClipRegion();
  Canvas->ClipOutRect(Deflated(R, 1));
  DrawPart(t, Canvas, LVP_LISTDETAIL, 0, R);
  Canvas->PopClipRegion();
}

void TcxWinXPLookAndFeelPainter::DrawSeparator(TcxCanvas* Canvas, const TRect& R,
                                               bool Horizontal) const {
  HTHEME t = ThemeOf(totToolBar);
  if (!t) return TcxStandardLookAndFeelPainter::DrawSeparator(Canvas, R, Horizontal);
  DrawPart(t, Canvas, Horizontal ? TP_SEPARATOR : TP_SEPARATORVERT, 1, R);
}

int TcxWinXPLookAndFeelPainter::ButtonBorderWidth(TcxElementState State) const {
  TRect insets;
  if (!ContentInsets(ThemeOf(totButton), BP_PUSHBUTTON, PushButtonStates[State], insets))
    return TcxStandardLookAndFeelPainter::ButtonBorderWidth(esNormal);
  return insets.Left;
}

TColor TcxWinXPLookAndFeelPainter::ButtonFaceColor(TcxElementState State) const {
  TColor c;
  if (PartColor(ThemeOf(totButton), BP_PUSHBUTTON, PushButtonStates[State], TMT_FILLCOLOR_BUTTON,
                c))
    return c;
  return TcxStandardLookAndFeelPainter::ButtonFaceColor(State);
}

TRect TcxWinXPLookAndFeelPainter::ButtonFocusBounds(TcxCanvas* Canvas, const TRect& R) const {
  HTHEME t = ThemeOf(totButton);
  RECT content{};
  if (t && UxGetThemeBackgroundContentRect(t, Canvas ? Canvas->CurrentDC() : nullptr, BP_PUSHBUTTON,
                                           1, R, content) == 0)
    return TRect(content);
  return TcxStandardLookAndFeelPainter::ButtonFocusBounds(Canvas, R);
}

TColor TcxWinXPLookAndFeelPainter::ButtonGlyphColor(TcxElementState State,
                                                    TColor DefaultColor) const {
  TColor c;
  if (PartColor(ThemeOf(totButton), BP_PUSHBUTTON, PushButtonStates[State], TMT_TEXTCOLOR, c))
    return c;
  return TcxStandardLookAndFeelPainter::ButtonGlyphColor(State, DefaultColor);
}

void TcxWinXPLookAndFeelPainter::PaintButton(TcxCanvas* Canvas, const TRect& R,
                                             const std::string& Caption, TcxElementState State,
                                             bool DrawFrame, TColor Color, TColor TextColor,
                                             bool WordWrap, bool ToolbarStyle) const {
  HTHEME t = ThemeOf(ToolbarStyle ? totToolBar : totButton);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintButton(Canvas, R, Caption, State, DrawFrame, Color,
                                                      TextColor, WordWrap, ToolbarStyle);
  DrawPart(t, Canvas, BP_PUSHBUTTON, PushButtonStates[State], R);
  if (!Caption.empty()) {
    RECT rc = R;
    UxDrawThemeTextAnsi(t, Canvas->CurrentDC(), BP_PUSHBUTTON, PushButtonStates[State], Caption, -1,
                        0x25, 0, &rc);
  }
}

void TcxWinXPLookAndFeelPainter::PaintExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                                   TColor Color) const {
  HTHEME t = ThemeOf(totTreeView);
  if (!t) return TcxStandardLookAndFeelPainter::PaintExpandButton(Canvas, R, Expanded, Color);
  DrawPart(t, Canvas, TVP_GLYPH, Expanded ? 2 : 1, R);
  Canvas->ClipOutRect(R);
}

void TcxWinXPLookAndFeelPainter::PaintGroupExpandButton(TcxCanvas* Canvas, const TRect& R,
                                                        bool Expanded,
                                                        TcxElementState State) const {
  HTHEME t = ThemeOf(totExplorerBar);
  if (!t) return TcxStandardLookAndFeelPainter::PaintGroupExpandButton(Canvas, R, Expanded, State);
  int st = State == esHot ? 2 : State == esPressed ? 3 : 1;
  DrawPart(t, Canvas, Expanded ? EBP_NORMALGROUPCOLLAPSE : EBP_NORMALGROUPEXPAND, st, R);
}

void TcxWinXPLookAndFeelPainter::PaintSmallExpandButton(TcxCanvas* Canvas, const TRect& R,
                                                        bool Expanded, TColor BorderColor,
                                                        TColor) const {
  if (ThemeOf(totTreeView))
    PaintExpandButton(Canvas, R, Expanded, clDefault);
  else
    TcxStandardLookAndFeelPainter::PaintSmallExpandButton(Canvas, R, Expanded, BorderColor,
                                                          clDefault);
}

int TcxWinXPLookAndFeelPainter::ExpandButtonExtent() const {
  TSize s;
  return PartSize(ThemeOf(totTreeView), TVP_GLYPH, 1, s)
             ? s.cx
             : TcxStandardLookAndFeelPainter::ExpandButtonExtent();
}

int TcxWinXPLookAndFeelPainter::GroupExpandButtonExtent() const {
  TSize s;
  return PartSize(ThemeOf(totExplorerBar), EBP_NORMALGROUPEXPAND, 1, s)
             ? s.cx
             : TcxStandardLookAndFeelPainter::GroupExpandButtonExtent();
}

int TcxWinXPLookAndFeelPainter::SmallExpandButtonExtent() const {
  return ThemeOf(totTreeView) ? ExpandButtonExtent()
                              : TcxStandardLookAndFeelPainter::SmallExpandButtonExtent();
}

int TcxWinXPLookAndFeelPainter::CheckFrameWidth() const {
  return ThemeOf(totButton) ? 0 : TcxStandardLookAndFeelPainter::CheckFrameWidth();
}

TSize TcxWinXPLookAndFeelPainter::CheckBoxExtent() const {
  TSize s;
  return PartSize(ThemeOf(totButton), BP_CHECKBOX, 1, s)
             ? s
             : TcxStandardLookAndFeelPainter::CheckBoxExtent();
}

void TcxWinXPLookAndFeelPainter::PaintCheckMark(TcxCanvas* Canvas, const TRect& R,
                                                TcxElementState State, bool Checked,
                                                TColor Color) const {
  HTHEME t = ThemeOf(totButton);
  if (!t) return TcxStandardLookAndFeelPainter::PaintCheckMark(Canvas, R, State, Checked, Color);
  DrawPart(t, Canvas, BP_CHECKBOX, CheckState(State, Checked), R);
}

void TcxWinXPLookAndFeelPainter::PaintCheckFrame(TcxCanvas* Canvas, const TRect& R,
                                                 TcxElementState State) const {
  if (!ThemeOf(totButton)) TcxStandardLookAndFeelPainter::PaintCheckFrame(Canvas, R, State);
}

void TcxWinXPLookAndFeelPainter::PaintRadioButton(TcxCanvas* Canvas, int X, int Y,
                                                  TcxElementState State, bool Checked,
                                                  bool Highlighted, TColor BackgroundColor,
                                                  bool Focused) const {
  HTHEME t = ThemeOf(totButton);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintRadioButton(Canvas, X, Y, State, Checked,
                                                           Highlighted, BackgroundColor, Focused);
  TSize e = RadioButtonExtent();
  DrawPart(t, Canvas, BP_RADIOBUTTON, CheckState(State, Checked), TRect(X, Y, X + e.cx, Y + e.cy));
}

TSize TcxWinXPLookAndFeelPainter::RadioButtonExtent() const {
  TSize s;
  return PartSize(ThemeOf(totButton), BP_RADIOBUTTON, 1, s)
             ? s
             : TcxStandardLookAndFeelPainter::RadioButtonExtent();
}

void TcxWinXPLookAndFeelPainter::PaintThemedText(TcxCanvas* Canvas, HTHEME Theme, int Part,
                                                 int State, const TRect&, const TRect& TextRect,
                                                 TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
                                                 bool MultiLine, bool ShowEndEllipsis,
                                                 bool ShowPrefix, const std::string& Text,
                                                 TFont* Font, TColor TextColor, TColor) const {
  if (Text.empty()) return;
  if (Font) Canvas->AssignFont(Font);
  if (TextColor != clDefault) Canvas->CurrentFont()->SetColor(TextColor);
  TRect r = TextRect;
  if (MultiLine)
    Canvas->AlignTextRectVertically(r, Text, ShowEndEllipsis, false, true, ShowPrefix, true,
                                    AlignVert == vaBottom   ? 1
                                    : AlignVert == vaCenter ? 2
                                                            : 0);
  static const DWORD horz[] = {0x0, 0x2, 0x1};  // left, right, centre
  static const DWORD vert[] = {0x0, 0x8, 0x4};  // top, bottom, centre
  DWORD flags = horz[AlignHorz] | vert[AlignVert] | (MultiLine ? 0x10 : 0x20) | 0x2000;
  if (ShowEndEllipsis) flags |= 0x8000;
  if (!ShowPrefix) flags |= 0x800;
  RECT rc = r;
  UxDrawThemeTextAnsi(Theme, Canvas->CurrentDC(), Part, State, Text, -1, flags, 0, &rc);
}

void TcxWinXPLookAndFeelPainter::PaintHeader(
    TcxCanvas* Canvas, const TRect& R, const TRect& TextRect, TcxBorders Neighbors,
    TcxBorders Borders, TcxElementState State, TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
    bool MultiLine, bool ShowEndEllipsis, const std::string& Text, TFont* Font, TColor TextColor,
    TColor Color, const TcxCustomDrawBackground& OnCustomDraw, bool IsLast, bool IsGroup) const {
  HTHEME t = ThemeOf(totHeader);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintHeader(
        Canvas, R, TextRect, Neighbors, Borders, State, AlignHorz, AlignVert, MultiLine,
        ShowEndEllipsis, Text, Font, TextColor, Color, OnCustomDraw, IsLast, IsGroup);
  const int st = HeaderItemStates[State];
  // A handler that paints the background itself replaces the style's item.
  if (!(OnCustomDraw && OnCustomDraw(Canvas, R))) {
    TOffice11Scheme scheme = CurrentOffice11Scheme();
    bool right = IsLast && st == 1 && (scheme == schNormalColor || scheme == schHomeStead);
    DrawPart(t, Canvas, right ? HP_HEADERITEMRIGHT : HP_HEADERITEM, st, R);
  }
  TRect tr = TextRect;
  if (State == esPressed) tr = tr.Offset(1, 1);
  PaintThemedText(Canvas, t, HP_HEADERITEM, st, R, tr, AlignHorz, AlignVert, MultiLine,
                  ShowEndEllipsis, false, Text, Font, TextColor, Color);
}

void TcxWinXPLookAndFeelPainter::PaintSortMark(TcxCanvas* Canvas, const TRect& R,
                                               bool Ascending) const {
  DrawSortMarkWith(Canvas, R, clBtnShadow, clBtnShadow, Ascending);
}

int TcxWinXPLookAndFeelPainter::HeaderFrameWidth() const {
  TRect insets;
  if (!ContentInsets(ThemeOf(totHeader), HP_HEADERITEM, 1, insets))
    return TcxStandardLookAndFeelPainter::HeaderFrameWidth();
  return std::max(1, (insets.Left + insets.Top) / 2);
}

int TcxWinXPLookAndFeelPainter::FooterFrameWidth() const {
  return ThemeOf(totEdit) ? 1 : TcxStandardLookAndFeelPainter::FooterFrameWidth();
}

int TcxWinXPLookAndFeelPainter::FooterCellFrameWidth() const {
  TRect insets;
  return ContentInsets(ThemeOf(totTrackBar), TKP_TRACK, 1, insets)
             ? insets.Left
             : TcxStandardLookAndFeelPainter::FooterCellFrameWidth();
}

int TcxWinXPLookAndFeelPainter::FooterCellSpacing() const {
  return ThemeOf(totTrackBar) ? 1 : TcxStandardLookAndFeelPainter::FooterCellSpacing();
}

void TcxWinXPLookAndFeelPainter::PaintFooterFrame(TcxCanvas* Canvas, const TRect& R) const {
  HTHEME t = ThemeOf(totEdit);
  if (!t) return TcxStandardLookAndFeelPainter::PaintFooterFrame(Canvas, R);
  constexpr UINT BDR_RAISEDINNER = 4, BF_RECT = 15;
  UxDrawThemeEdge(t, Canvas->CurrentDC(), 0, 0, R, BDR_RAISEDINNER, BF_RECT, nullptr);
}

void TcxWinXPLookAndFeelPainter::PaintFilterCloseButton(TcxCanvas* Canvas, const TRect& R,
                                                        TcxElementState State) const {
  HTHEME t = ThemeOf(totWindow);
  if (!t) return TcxStandardLookAndFeelPainter::PaintFilterCloseButton(Canvas, R, State);
  DrawPart(t, Canvas, WP_SMALLCLOSEBUTTON, CommonStates[State], R);
}

TSize TcxWinXPLookAndFeelPainter::FilterCloseButtonExtent() const {
  TSize s;
  if (!PartSize(ThemeOf(totWindow), WP_SMALLCLOSEBUTTON, 1, s))
    return TcxStandardLookAndFeelPainter::FilterCloseButtonExtent();
  return TSize{s.cx + 4, s.cy + 4};
}

void TcxWinXPLookAndFeelPainter::PaintPopupFrame(TcxCanvas* Canvas, TRect& R, int, bool) const {
  HTHEME t = IsWindowsVistaOrLater ? ThemeOf(totListBox) : 0;
  if (t)
    DrawPart(t, Canvas, LBCP_BORDER_NOSCROLL, 3, R);
  else
    Frame(Canvas, R, clBtnText);
  R = R.Inflate(-1, -1);
}

TColor TcxWinXPLookAndFeelPainter::HintFrameColor() const {
  return ThemeOf(totToolTip) ? clWindowFrame : TcxStandardLookAndFeelPainter::HintFrameColor();
}

void TcxWinXPLookAndFeelPainter::PaintHintBackground(TcxCanvas* Canvas, const TRect& R,
                                                     TColor Color) const {
  HTHEME t = ThemeOf(totToolTip);
  if (!t) return TcxStandardLookAndFeelPainter::PaintHintBackground(Canvas, R, Color);
  DrawPart(t, Canvas, TTP_STANDARD, 1, R.Inflate(4, 4));
}

TColor TcxWinXPLookAndFeelPainter::TipDescriptionColor() const {
  TColor c;
  return PartColor(ThemeOf(totToolTip), TTP_STANDARD, 1, TMT_TEXTCOLOR, c)
             ? c
             : TcxStandardLookAndFeelPainter::TipDescriptionColor();
}

TColor TcxWinXPLookAndFeelPainter::TipTitleColor() const {
  TColor c;
  return PartColor(ThemeOf(totToolTip), TTP_STANDARD, 1, TMT_TEXTCOLOR, c)
             ? c
             : TcxStandardLookAndFeelPainter::TipTitleColor();
}

int TcxWinXPLookAndFeelPainter::MinThumbLength(bool Horizontal) const {
  HTHEME t = ThemeOf(totScrollBar);
  const int part = Horizontal ? SBP_THUMBBTNHORZ : SBP_THUMBBTNVERT;
  TSize s;
  if (!PartSize(t, part, 1, s)) return TcxStandardLookAndFeelPainter::MinThumbLength(Horizontal);
  int length = Horizontal ? s.cx : s.cy;
  MARGINS m;
  if (IsWindowsVistaOrLater &&
      UxGetThemeMargins(t, nullptr, part, 1, TMT_CONTENTMARGINS, nullptr, m) == 0)
    length += Horizontal ? m.cxLeftWidth + m.cxRightWidth : m.cyTopHeight + m.cyBottomHeight;
  return length;
}

void TcxWinXPLookAndFeelPainter::PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal,
                                                    const TRect& R, TcxScrollPart Part,
                                                    TcxElementState State) const {
  HTHEME t = ThemeOf(totScrollBar);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintScrollBarPart(Canvas, Horizontal, R, Part, State);
  if (R.IsEmpty() || Part == spNone) return;
  const int st = ScrollBarState(State);
  switch (Part) {
    case spLineBack:
    case spLineForward:
      DrawArrowButton(Canvas, R, State, ScrollArrowDirection(Horizontal, Part), true);
      break;
    case spThumb: {
      DrawPart(t, Canvas, Horizontal ? SBP_THUMBBTNHORZ : SBP_THUMBBTNVERT, st, R);
      const int gripper = Horizontal ? SBP_GRIPPERHORZ : SBP_GRIPPERVERT;
      SIZE grip{};
      bool ok = UxGetThemePartSizeByRef(t, Canvas->CurrentDC(), gripper, st, R, TS_TRUE, grip) == 0;
      // The gripper only goes on a thumb long enough to hold it.
      if (!ok || (Horizontal ? grip.cy < R.Width() : grip.cx < R.Height()))
        DrawPart(t, Canvas, gripper, st, R);
      break;
    }
    case spPageBack:
      DrawPart(t, Canvas, Horizontal ? SBP_LOWERTRACKHORZ : SBP_LOWERTRACKVERT, st, R);
      break;
    case spPageForward:
      DrawPart(t, Canvas, Horizontal ? SBP_UPPERTRACKHORZ : SBP_UPPERTRACKVERT, st, R);
      break;
    default:
      break;
  }
}

TSize TcxWinXPLookAndFeelPainter::SizeGripExtent() const {
  TSize s;
  return PartSize(ThemeOf(totScrollBar), SBP_SIZEBOX, 1, s)
             ? s
             : TcxStandardLookAndFeelPainter::SizeGripExtent();
}

void TcxWinXPLookAndFeelPainter::PaintSizeGripGlyph(TcxCanvas* Canvas, const TRect& R) const {
  HTHEME t = ThemeOf(totScrollBar);
  if (!t) return TcxStandardLookAndFeelPainter::PaintSizeGripGlyph(Canvas, R);
  DrawPart(t, Canvas, SBP_SIZEBOX, 1, R);
}

TSize TcxWinXPLookAndFeelPainter::PopupCloseButtonExtent() const {
  TSize s;
  return PartSize(ThemeOf(totWindow), WP_SMALLCLOSEBUTTON, 1, s)
             ? s
             : TcxStandardLookAndFeelPainter::PopupCloseButtonExtent();
}

void TcxWinXPLookAndFeelPainter::PaintMonthHeader(
    TcxCanvas* Canvas, const TRect& R, const std::string& Text, TcxBorders Neighbors,
    const TcxViewParams& ViewParams, int Arrows, int ArrowOffset,
    const TcxCustomDrawBackground& OnCustomDraw) const {
  // With the style the base's composition runs through this painter's header.
  if (ThemeOf(totHeader))
    TcxCustomLookAndFeelPainter::PaintMonthHeader(Canvas, R, Text, Neighbors, ViewParams, Arrows,
                                                  ArrowOffset, OnCustomDraw);
  else
    TcxStandardLookAndFeelPainter::PaintMonthHeader(Canvas, R, Text, Neighbors, ViewParams, Arrows,
                                                    ArrowOffset, OnCustomDraw);
}

void TcxWinXPLookAndFeelPainter::PaintProgressBar(TcxCanvas* Canvas, const TRect& Bounds,
                                                  const TRect& ProgressRect,
                                                  const TcxViewParams& ViewParams,
                                                  bool Framed) const {
  HTHEME t = ThemeOf(totProgress);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintProgressBar(Canvas, Bounds, ProgressRect, ViewParams,
                                                           Framed);
  DrawPart(t, Canvas, PP_BAR, 0, Bounds);
  DrawPart(t, Canvas, PP_CHUNK, 0, ProgressRect);
}

void TcxWinXPLookAndFeelPainter::PaintSplitterFrame(TcxCanvas* Canvas, const TRect& R,
                                                    const TcxViewParams& ViewParams,
                                                    bool Horizontal) const {
  if (!ThemeOf(totListView))
    return TcxStandardLookAndFeelPainter::PaintSplitterFrame(Canvas, R, ViewParams, Horizontal);
  TRect r = R;
  Canvas->DrawTwoToneFrame(r, ViewColor42(), ViewColor42(),
                           Horizontal ? TcxBorders{bTop, bBottom} : TcxBorders{bLeft, bRight}, 1);
  r = Horizontal ? r.Inflate(0, -1) : r.Inflate(-1, 0);
  Canvas->FillRectWithViewParams(r, ViewParams, {}, clNone, 0, false);
}

void TcxWinXPLookAndFeelPainter::PaintContainerBackground(TcxCanvas* Canvas, TRect& R) const {
  HTHEME t = ThemeOf(totHeader);
  if (!t) return TcxStandardLookAndFeelPainter::PaintContainerBackground(Canvas, R);
  DrawPart(t, Canvas, HP_HEADERITEMLEFT, 1, R);
}

void TcxWinXPLookAndFeelPainter::PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool Enabled,
                                                    int CaptionPosition, TcxBorders Borders) const {
  HTHEME t = ThemeOf(totButton);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintGroupBoxFrame(Canvas, R, Enabled, CaptionPosition,
                                                             Borders);
  DrawPart(t, Canvas, BP_GROUPBOX, Enabled ? 1 : 2, R);
}

TColor TcxWinXPLookAndFeelPainter::GroupBoxTextColor(bool Enabled) const {
  TColor c;
  return PartColor(ThemeOf(totButton), BP_GROUPBOX, Enabled ? 1 : 2, TMT_TEXTCOLOR, c)
             ? c
             : TcxStandardLookAndFeelPainter::GroupBoxTextColor(Enabled);
}

void TcxWinXPLookAndFeelPainter::PaintTrackBarThumb(TcxCanvas* Canvas, const TRect& R,
                                                    TcxElementState State, bool Vertical, int Shape,
                                                    TColor Color) const {
  HTHEME t = ThemeOf(totTrackBar);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintTrackBarThumb(Canvas, R, State, Vertical, Shape,
                                                             Color);
  DrawPart(t, Canvas, TrackBarThumbPart(Vertical, Shape), TrackBarThumbStates[State], R);
}

TColor TcxWinXPLookAndFeelPainter::ViewColor42() const {
  TColor c;
  return PartColor(ThemeOf(totComboBox), CP_DROPDOWNBUTTON, 1, TMT_BORDERCOLOR, c)
             ? c
             : TcxStandardLookAndFeelPainter::ViewColor42();
}

TRect TcxWinXPLookAndFeelPainter::GroupButtonBounds(const TRect& R, int ButtonCount,
                                                    int ButtonIndex) const {
  TRect r = TcxStandardLookAndFeelPainter::GroupButtonBounds(R, ButtonCount, ButtonIndex);
  // A button with soft edges overlaps its neighbours by a pixel so the row reads as one.
  return PartiallyTransparent(ThemeOf(totButton), BP_PUSHBUTTON, 1) ? r.Inflate(1, 1) : r;
}

TRect TcxWinXPLookAndFeelPainter::ButtonGroupBorderWidths(int ButtonCount, int ButtonIndex) const {
  HTHEME t = ThemeOf(totButton);
  TRect insets;
  if (!ContentInsets(t, BP_PUSHBUTTON, 1, insets))
    return TcxStandardLookAndFeelPainter::ButtonGroupBorderWidths(ButtonCount, ButtonIndex);
  if (PartiallyTransparent(t, BP_PUSHBUTTON, 1))
    insets = TRect(insets.Left - 1, insets.Top - 1, insets.Right - 1, insets.Bottom - 1);
  return insets;
}

bool TcxWinXPLookAndFeelPainter::HitsGroupExpandButton(const TRect& R, const TPoint& P) const {
  HTHEME t = ThemeOf(totExplorerBar);
  HRGN region = nullptr;
  if (!t || UxGetThemeBackgroundRegion(t, nullptr, EBP_NORMALGROUPEXPAND, 2, R, region) != 0 ||
      !region)
    return TcxStandardLookAndFeelPainter::HitsGroupExpandButton(R, P);
  bool hit = PtInRegion(region, P.X, P.Y);
  DeleteObject(region);
  return hit;
}

void TcxWinXPLookAndFeelPainter::PaintHeaderSection(TcxCanvas* Canvas, const TRect& R,
                                                    const TRect& TextRect, TcxBorders Neighbors,
                                                    TcxBorders Borders, TcxElementState State,
                                                    TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
                                                    bool MultiLine, bool ShowEndEllipsis,
                                                    const std::string& Text, TFont* Font,
                                                    TColor TextColor, TColor Color) const {
  if (!ThemeOf(totHeader))
    return TcxStandardLookAndFeelPainter::PaintHeaderSection(
        Canvas, R, TextRect, Neighbors, Borders, State, AlignHorz, AlignVert, MultiLine,
        ShowEndEllipsis, Text, Font, TextColor, Color);
  Canvas->FillRectWithColor(R, clBtnFace);
  PaintHeader(Canvas, R, TextRect, Neighbors, Borders, State, AlignHorz, AlignVert, MultiLine,
              ShowEndEllipsis, Text, Font, TextColor, Color);
}

int TcxWinXPLookAndFeelPainter::HeaderSectionFrameWidth(TcxElementState State) const {
  return ThemeOf(totHeader) ? HeaderFrameWidth()
                            : TcxStandardLookAndFeelPainter::HeaderSectionFrameWidth(State);
}

TRect TcxWinXPLookAndFeelPainter::HeaderSectionContentBounds(const TRect& R,
                                                             TcxElementState State) const {
  if (!ThemeOf(totHeader))
    return TcxStandardLookAndFeelPainter::HeaderSectionContentBounds(R, State);
  const int w = HeaderFrameWidth();
  return R.Inflate(-w, -w);
}

void TcxWinXPLookAndFeelPainter::PaintGroupRow(TcxCanvas* Canvas, const TRect& R, bool Selected,
                                               TcxElementState State) const {
  if (!ThemeOf(totTab))
    return TcxStandardLookAndFeelPainter::PaintGroupRow(Canvas, R, Selected, State);
  PaintGroupFrame(Canvas, R, State, cxBordersAll);
  PaintTab(Canvas, R, bTop, Selected ? esPressed : esNormal, false);
}

void TcxWinXPLookAndFeelPainter::PaintFooterCell(
    TcxCanvas* Canvas, const TRect& R, TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
    bool MultiLine, const std::string& Text, TFont* Font, TColor TextColor, TColor Color,
    const TcxCustomDrawBackground& OnCustomDraw) const {
  HTHEME t = ThemeOf(totTrackBar);
  if (!t)
    return TcxStandardLookAndFeelPainter::PaintFooterCell(
        Canvas, R, AlignHorz, AlignVert, MultiLine, Text, Font, TextColor, Color, OnCustomDraw);
  if (!(OnCustomDraw && OnCustomDraw(Canvas, R))) DrawPart(t, Canvas, TKP_TRACK, 1, R);
  PaintThemedText(Canvas, t, TKP_TRACK, 1, R, FooterCellTextBounds(R), AlignHorz, AlignVert,
                  MultiLine, false, false, Text, Font, TextColor, Color);
}

void TcxWinXPLookAndFeelPainter::PaintFilterDropDownButton(TcxCanvas* Canvas, const TRect& R,
                                                           TcxElementState State,
                                                           bool Active) const {
  HTHEME t = ThemeOf(totComboBox);
  if (!t) return TcxStandardLookAndFeelPainter::PaintFilterDropDownButton(Canvas, R, State, Active);
  DrawPart(t, Canvas, CP_DROPDOWNBUTTON, CommonStates[State], R);
}

TSize TcxWinXPLookAndFeelPainter::FilterCheckExtent() const {
  TSize s;
  return PartSize(ThemeOf(totButton), BP_CHECKBOX, 1, s)
             ? s
             : TcxStandardLookAndFeelPainter::FilterCheckExtent();
}

void TcxWinXPLookAndFeelPainter::PaintTab(TcxCanvas* Canvas, const TRect& R, TcxBorder Side,
                                          TcxElementState State, bool Vertical) const {
  HTHEME t = ThemeOf(totTab);
  if (!t) return TcxStandardLookAndFeelPainter::PaintTab(Canvas, R, Side, State, Vertical);
  if (R.IsEmpty()) return;
  if (!Vertical) return DrawPart(t, Canvas, TABP_TABITEM, CommonStates[State], R);
  // The style only has upright tabs: draw one on the turned background and turn it back.
  std::unique_ptr<TcxBitmap32> bmp(new TcxBitmap32(R.Width(), R.Height()));
  bmp->cxCanvas()->CopyRectFrom(bmp->FullRect(), Canvas->Canvas(), R);
  bmp->RotateFlip(raPlus90);
  DrawPart(t, bmp->cxCanvas(), TABP_TABITEM, CommonStates[State], bmp->FullRect());
  bmp->RotateFlip(raMinus90);
  Canvas->CopyRectFrom(R, bmp->Canvas(), bmp->FullRect());
}

void TcxWinXPLookAndFeelPainter::PaintTabFrame(TcxCanvas* Canvas, const TRect& R, TcxBorder Side,
                                               TcxBorders Borders, bool Vertical) const {
  if (!ThemeOf(totTab))
    TcxStandardLookAndFeelPainter::PaintTabFrame(Canvas, R, Side, Borders, Vertical);
}

void TcxWinXPLookAndFeelPainter::PaintTabStrip(TcxCanvas* Canvas, const TRect& R,
                                               TcxBorders Borders, bool Vertical) const {
  HTHEME t = ThemeOf(totTab);
  if (!t) return TcxStandardLookAndFeelPainter::PaintTabStrip(Canvas, R, Borders, Vertical);
  // The pane reaches past the strip on the sides without an edge, so only the edges asked for
  // fall inside the strip.
  TRect insets;
  if (!ContentInsets(t, TABP_PANE, 1, insets)) insets = TRect();
  TRect pane = R;
  if (!Borders.Contains(bLeft)) pane.Left -= insets.Left + 10;
  if (!Borders.Contains(bTop)) pane.Top -= insets.Top + 10;
  if (!Borders.Contains(bRight)) pane.Right += insets.Right + 10;
  if (!Borders.Contains(bBottom)) pane.Bottom += insets.Bottom + 10;
  Canvas->PushClipRegion();
  Canvas->ClipToRect(R);
  DrawPart(t, Canvas, TABP_PANE, 1, pane);
  Canvas->PopClipRegion();
}

bool TcxWinXPLookAndFeelPainter::PaintsTabs(bool Vertical) const {
  return ThemeOf(totTab) ? true : TcxStandardLookAndFeelPainter::PaintsTabs(Vertical);
}

bool TcxWinXPLookAndFeelPainter::HotTracksTabs(bool Vertical) const {
  return ThemeOf(totTab) ? true : TcxStandardLookAndFeelPainter::HotTracksTabs(Vertical);
}

int TcxWinXPLookAndFeelPainter::TabFrameWidth(bool Vertical) const {
  return ThemeOf(totTab) ? 1 : TcxStandardLookAndFeelPainter::TabFrameWidth(Vertical);
}

void TcxWinXPLookAndFeelPainter::PaintIndicatorCell(TcxCanvas* Canvas, const TRect& R,
                                                    int Kind) const {
  const TcxCustomLookAndFeelPainter* flat =
      cxLookAndFeelPaintersManager() ? cxLookAndFeelPaintersManager()->PainterForKind(psFlat)
                                     : nullptr;
  if (flat)
    flat->PaintIndicatorCell(Canvas, R, Kind);
  else
    TcxStandardLookAndFeelPainter::PaintIndicatorCell(Canvas, R, Kind);
}

void TcxWinXPLookAndFeelPainter::PaintNavigatorButton(TcxCanvas* Canvas, const TRect& R,
                                                      TcxElementState State) const {
  HTHEME t = ThemeOf(totToolBar);
  if (!t) return TcxStandardLookAndFeelPainter::PaintNavigatorButton(Canvas, R, State);
  DrawPart(t, Canvas, TP_BUTTON, NavigatorStates[State], R);
}

void TcxWinXPLookAndFeelPainter::PaintGroupBoxBackground(TcxCanvas* Canvas, TControl* Control,
                                                         const TRect& R, TColor Color1,
                                                         TColor) const {
  if (Color1 == clDefault)
    DrawThemedParentBackground(Control, Canvas, R);
  else
    Canvas->FillRectWithColor(R, Color1);
}

void TcxWinXPLookAndFeelPainter::TrackBarThumbBounds(TcxCanvas* Canvas, TRect& R, bool Vertical,
                                                     int Shape) const {
  TSize s;
  if (!PartSize(ThemeOf(totTrackBar), TrackBarThumbPart(Vertical, Shape), 1, s))
    return TcxStandardLookAndFeelPainter::TrackBarThumbBounds(Canvas, R, Vertical, Shape);
  const int left = R.Left + (R.Width() - s.cx) / 2, top = R.Top + (R.Height() - s.cy) / 2;
  R = TRect(left, top, left + s.cx, top + s.cy);
}

void TcxWinXPLookAndFeelPainter::PaintTrackBarTrack(TcxCanvas* Canvas, const TRect& R,
                                                    bool Vertical, TColor Color) const {
  HTHEME t = ThemeOf(totTrackBar);
  if (!t) return TcxStandardLookAndFeelPainter::PaintTrackBarTrack(Canvas, R, Vertical, Color);
  DrawPart(t, Canvas, Vertical ? TKP_TRACKVERT : TKP_TRACK, 1, R);
}

void DrawPopupResizeBar(const TcxCustomLookAndFeelPainter* Painter, HWND Window, bool CloseHot, bool ClosePressed,
                        TcxCorner Corner, const TRect& CloseButtonRect, const TRect& GripRect, TColor BorderColor) {
  RECT wr{}, cr{};
  if (!GetWindowRect(Window, &wr) || !GetClientRect(Window, &cr)) return;
  POINT origin{0, 0};
  ClientToScreen(Window, &origin);
  const TRect windowRect(0, 0, wr.right - wr.left, wr.bottom - wr.top);
  const TRect client = TRect(cr).Offset(origin.x - wr.left, origin.y - wr.top);
  const int border = client.Left;
  const bool top = Corner == coTopLeft || Corner == coTopRight;
  TRect bar = windowRect.Inflate(-border, -border);
  if (top)
    bar.Bottom = client.Top;
  else
    bar.Top = client.Bottom;
  const TRect grip = GripRect.Offset(-wr.left, -wr.top);
  const TRect close = CloseButtonRect.Offset(-wr.left, -wr.top);

  HDC dc = GetWindowDC(Window);
  if (!dc) return;
  TcxPaintCanvas* canvas = SharedPaintCanvas();
  canvas->PushTargetDC(dc);
  try {
    canvas->DrawTwoToneFrame(windowRect, BorderColor, BorderColor, cxBordersAll, border);
    TRect line = top ? TRect(bar.Left, bar.Bottom - 1, bar.Right, bar.Bottom) : TRect(bar.Left, bar.Top, bar.Right, bar.Top + 1);
    canvas->FillRectWithColor(line, BorderColor);
    if (!grip.IsEmpty()) {
      std::unique_ptr<TcxBitmap> bmp(TcxBitmap::CreateForRect(grip));
      Painter->FillWindowContent(bmp->cxCanvas(), bmp->FullRect());
      Painter->PaintSizeGrip(bmp->cxCanvas(), bmp->FullRect(), clNone, Corner);
      canvas->CopyRectFrom(grip, bmp->Canvas(), bmp->FullRect());
      canvas->ClipOutRect(grip);
    }
    if (!close.IsEmpty()) {
      TcxElementState state = CloseHot && ClosePressed ? esPressed : (CloseHot || ClosePressed) ? esHot : esNormal;
      Painter->FillWindowContent(canvas, close);
      Painter->PaintPopupCloseButton(canvas, close, state);
      canvas->ClipOutRect(close);
    }
    Painter->FillWindowContent(canvas, top ? TRect(bar.Left, bar.Top, bar.Right, bar.Bottom - 1)
                                           : TRect(bar.Left, bar.Top + 1, bar.Right, bar.Bottom));
  } catch (...) {
    canvas->PopTarget();
    ReleaseDC(Window, dc);
    throw;
  }
  canvas->PopTarget();
  ReleaseDC(Window, dc);
}
