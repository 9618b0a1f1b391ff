#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "suite/bars/dxBarGlyphCache.h"
#include "suite/bars/dxBarHints.h"
#include "suite/bars/dxBarPainters.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/bars/dxBarXPPainter.h"
#include "suite/core/cxDropDown.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/cxGraphicsImages.h"
#include "suite/core/dxFading.h"
#include "suite/core/dxOffice11.h"
#include "suite/bars/dxBarGdiScopes.h"

namespace {

using dxBarGdi::TTempObject;
using dxBarGdi::TSelection;
using dxBarGdi::TClipKeeper;

COLORREF SysColor(int Index) { return GetSysColor(Index); }
COLORREF RGBOf(TColor Color) { return COLORREF(ColorToRGB(Color)); }

void FillWithColor(HDC DC, const TRect& R, COLORREF Color) {
  TTempObject brush(CreateSolidBrush(Color));
  RECT r = R;
  FillRect(DC, &r, brush.Handle());
}

void FillWithBrush(HDC DC, const TRect& R, HBRUSH Brush) {
  RECT r = R;
  FillRect(DC, &r, Brush);
}

void FrameWithBrush(HDC DC, const TRect& R, HBRUSH Brush) {
  RECT r = R;
  FrameRect(DC, &r, Brush);
}

void Edge(HDC DC, const TRect& R, UINT EdgeKind, UINT Flags) {
  RECT r = R;
  DrawEdge(DC, &r, EdgeKind, Flags);
}

// A polyline in a one-pixel pen; the last point is left out, as LineTo leaves it.
void Lines(HDC DC, COLORREF Color, std::initializer_list<POINT> Points) {
  TTempObject pen(CreatePen(PS_SOLID, 1, Color));
  TSelection select(DC, pen.Handle());
  Polyline(DC, Points.begin(), int(Points.size()));
}

void FillPolygonWithColor(HDC DC, const POINT* Points, int Count, COLORREF Color) {
  TTempObject pen(CreatePen(PS_SOLID, 1, Color));
  TTempObject brush(CreateSolidBrush(Color));
  TSelection selectPen(DC, pen.Handle());
  TSelection selectBrush(DC, brush.Handle());
  Polygon(DC, Points, Count);
}

// The 1-based position of the marked character of a caption, with the markers taken out of
// Text; 0 when none. "&&" stands for one ampersand and a marker at the end marks nothing.
int AcceleratorPosition(std::string& Text) {
  int found = 0;
  for (size_t i = 0; i + 1 < Text.size(); ++i) {
    if (Text[i] != '&') continue;
    Text.erase(i, 1);
    if (Text[i] != '&') found = int(i) + 1;
  }
  return found;
}

void ExcludeRect(HDC DC, const TRect& R) { ExcludeClipRect(DC, R.Left, R.Top, R.Right, R.Bottom); }

HBRUSH SysBrush(int Index) { return GetSysColorBrush(Index); }

// An item control draws enabled unless its item is disabled; no control counts as enabled.
bool ItemEnabled(TdxBarItemControl* Control) {
  if (!Control || !Control->ItemLink()) return true;
  TdxBarItemLink* link = Control->ItemLink();
  return link->Item() == nullptr || link->Item()->Enabled();
}

}  // namespace

// ---- unit drawing routines

int ItemArrowSizeFromRect(const TRect& R, bool Down) {
  int f = Down ? R.Width() - 8 : R.Height() - 6;
  int size = (f - 1) / 2 + (f % 2 != 0 ? 1 : 0);
  return std::max(size, 3);
}

void DrawArrowTriangle(HDC DC, const TRect& R, bool Down, int Size, bool Selected, bool Enabled, bool Flat,
                       TColor Color) {
  if (Color == clDefault) {
    if (!Enabled)
      Color = clBtnShadow;
    else if (!Selected)
      Color = clBtnText;
    else
      Color = IsBtnFaceWhite() ? clBtnFace : clHighlightText;
  }
  int n = Size;
  int x, y;
  POINT p[3];
  if (Down) {
    x = (R.Left + R.Right - 2 * n + 1) / 2;
    y = (R.Top + R.Bottom - n) / 2;
    p[0] = {x, y};
    p[1] = {x + 2 * n - 2, y};
    p[2] = {x + n - 1, y + n - 1};
  } else {
    x = (R.Left + R.Right - n) / 2;
    y = (R.Top + R.Bottom - 2 * n + 1) / 2;
    p[0] = {x, y};
    p[1] = {x, y + 2 * n - 2};
    p[2] = {x + n - 1, y + n - 1};
  }
  FillPolygonWithColor(DC, p, 3, RGBOf(Color));
  if (!Enabled && !Flat) {
    COLORREF light = SysColor(COLOR_BTNHIGHLIGHT);
    if (Down) {
      Lines(DC, light, {{x + n, y + n - 1}, {x + 2 * n - 1, y}});
      Lines(DC, light, {{x + n, y + n}, {x + 2 * n, y}});
    } else {
      Lines(DC, light, {{x + n - 1, y + n}, {x, y + 2 * n - 1}});
      Lines(DC, light, {{x + n, y + n}, {x, y + 2 * n}});
    }
  }
}

void DrawItemArrowInRect(HDC DC, const TRect& R, bool Down, bool Enabled, bool Selected, bool Flat,
                         TColor Color) {
  DrawArrowTriangle(DC, R, Down, ItemArrowSizeFromRect(R, Down), Selected, Enabled, Flat, Color);
}

void DrawItemArrow(HDC DC, const TRect& R, TcxArrowDirection Direction, bool Enabled, bool Selected, bool Flat,
                   TColor Color) {
  DrawItemArrowInRect(DC, R, Direction == adDown, Enabled, Selected, Flat, Color);
}

void DrawItemArrowSized(HDC DC, const TRect& R, TcxArrowDirection Direction, int Size, bool Selected,
                        bool Enabled, bool Flat, TColor Color) {
  DrawArrowTriangle(DC, R, Direction == adDown, Size, Selected, Enabled, Flat, Color);
}

void TileBitmapInRect(HDC DC, const TRect& R, const TRect& Origin, TBitmap* Bitmap) {
  if (!Bitmap || Bitmap->Width() <= 0 || Bitmap->Height() <= 0 || Origin.Width() <= 0 ||
      Origin.Height() <= 0)
    return;
  int w = Bitmap->Width(), h = Bitmap->Height();
  TClipKeeper clip(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  HDC source = Bitmap->Canvas()->Handle();
  for (int row = Origin.Top / h; row <= (Origin.Bottom - 1) / h; ++row)
    for (int col = Origin.Left / w; col <= (Origin.Right - 1) / w; ++col)
      BitBlt(DC, col * w + R.Left - Origin.Left, row * h + R.Top - Origin.Top, w, h, source, 0, 0, SRCCOPY);
}

void FillRectWithBackground(HDC DC, const TRect& R, const TRect& Origin, TBitmap* Bitmap, TColor Color,
                            HBRUSH Brush) {
  if (Bitmap && !Bitmap->Empty()) {
    TileBitmapInRect(DC, R, Origin, Bitmap);
  } else if (Brush) {
    FillWithBrush(DC, R, Brush);
  } else if (Color != clNone && Color != clDefault) {
    FillWithColor(DC, R, RGBOf(Color));
  }
}

void DrawTransparentSizeGrip(HDC DC, const TRect& R) {
  int w = R.Width(), h = R.Height();
  if (w <= 0 || h <= 0) return;
  HDC work = CreateCompatibleDC(DC);
  HDC grip = CreateCompatibleDC(DC);
  HDC mask = CreateCompatibleDC(DC);
  TTempObject workBitmap(CreateCompatibleBitmap(DC, w, h));
  TTempObject gripBitmap(CreateCompatibleBitmap(DC, w, h));
  TTempObject maskBitmap(CreateBitmap(w, h, 1, 1, nullptr));
  {
    TSelection s1(work, workBitmap.Handle());
    TSelection s2(grip, gripBitmap.Handle());
    TSelection s3(mask, maskBitmap.Handle());
    BitBlt(work, 0, 0, w, h, DC, R.Left, R.Top, SRCCOPY);
    RECT g{0, 0, w, h};
    DrawFrameControl(grip, &g, DFC_SCROLL, DFCS_SCROLLSIZEGRIP);
    SetBkColor(grip, SysColor(COLOR_BTNFACE));
    BitBlt(mask, 0, 0, w, h, grip, 0, 0, SRCCOPY);
    constexpr DWORD MERGEPAINT = 0x00BB0226;
    BitBlt(work, 0, 0, w, h, mask, 0, 0, MERGEPAINT);
    BitBlt(grip, 0, 0, w, h, mask, 0, 0, SRCPAINT);
    BitBlt(work, 0, 0, w, h, grip, 0, 0, SRCAND);
    BitBlt(DC, R.Left, R.Top, w, h, work, 0, 0, SRCCOPY);
  }
  DeleteDC(mask);
  DeleteDC(grip);
  DeleteDC(work);
}

namespace {
HBRUSH gCheckerBrush = nullptr;
}

HBRUSH BarCheckerBrush() {
  if (!gCheckerBrush) RebuildBarCheckerBrush();
  return gCheckerBrush;
}

void RebuildBarCheckerBrush() {
  HDC screen = GetDC(nullptr);
  HDC dc = CreateCompatibleDC(screen);
  TTempObject bitmap(CreateCompatibleBitmap(screen, 8, 8));
  ReleaseDC(nullptr, screen);
  {
    TSelection select(dc, bitmap.Handle());
    FillWithColor(dc, TRect(0, 0, 8, 8), SysColor(COLOR_BTNHIGHLIGHT));
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x)
        if (x % 2 == y % 2) SetPixel(dc, x, y, SysColor(COLOR_BTNFACE));
  }
  DeleteDC(dc);
  if (gCheckerBrush) DeleteObject(gCheckerBrush);
  gCheckerBrush = CreatePatternBrush(bitmap.Handle());
}

// ---- the base painter

bool TdxBarPainter::SupportsFading() const {
  return dynamic_cast<const IdxFadingPainter*>(this) != nullptr;
}

void TdxBarPainter::DrawArrow(HDC DC, const TRect& R, TcxArrowDirection Direction, bool Enabled, bool Selected,
                              bool Flat, TColor Color) const {
  DrawItemArrow(DC, R, Direction, Enabled, Selected, Flat, Color);
}

void TdxBarPainter::DrawArrowSized(HDC DC, const TRect& R, TcxArrowDirection Direction, int Size, bool Selected,
                                   bool Enabled, bool Flat, TColor Color) const {
  DrawItemArrowSized(DC, R, Direction, Size, Selected, Enabled, Flat, Color);
}

TColor TdxBarPainter::StateTextColor(TdxBarItemControl*, bool Selected, bool Flat) const {
  return TColor(GetSysColor(Selected && !Flat ? COLOR_HIGHLIGHTTEXT : COLOR_BTNTEXT));
}

void TdxBarPainter::DisabledCaptionColors(TdxBarItemControl*, bool Selected, TColor& ShadowColor,
                                          TColor& TextColor, bool Flat) const {
  if (Selected || Flat) {
    ShadowColor = TextColor = TColor(GetSysColor(COLOR_GRAYTEXT));
  } else {
    TextColor = TColor(GetSysColor(COLOR_BTNSHADOW));
    ShadowColor = TColor(GetSysColor(COLOR_BTNHIGHLIGHT));
  }
}

TColor TdxBarPainter::FloatingCaptionColor(TCustomdxBarControl*, bool Active) const {
  return TColor(GetSysColor(Active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
}

TColor TdxBarPainter::FloatingCaptionTextColor(TCustomdxBarControl*) const {
  return TColor(GetSysColor(COLOR_CAPTIONTEXT));
}

TColor TdxBarPainter::CloseSignColor(TCustomdxBarControl*, int) const {
  return TColor(GetSysColor(COLOR_CAPTIONTEXT));
}

void TdxBarPainter::DrawCaptionMarkArrow(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  int x = (R.Left + R.Right - 7) / 2;
  int sum = R.Top + R.Bottom - 4;
  int y = sum / 2 + (sum % 2 != 0 && sum > 0 ? 1 : 0);
  POINT p[3] = {{x, y}, {x + 6, y}, {x + 3, y + 3}};
  FillPolygonWithColor(DC, p, 3, RGBOf(CloseSignColor(BarControl, 0)));
}

void TdxBarPainter::DrawMarkChevrons(TCustomdxBarControl* BarControl, HDC DC, int Position,
                                     const TRect& R) const {
  COLORREF color = SysColor(COLOR_BTNTEXT);
  if (!BarControl->IsVertical()) {
    int y = R.Top + (IsMarkAreaSmall(BarControl, R) ? 3 : 4);
    for (int x = Position; x <= Position + 1; ++x) Lines(DC, color, {{x, y}, {x + 2, y + 2}, {x - 1, y + 5}});
  } else {
    int w = BarControl->ClientBounds().Width();
    for (int y = Position; y <= Position + 1; ++y)
      Lines(DC, color, {{w - 8, y}, {w - 6, y + 2}, {w - 3, y - 1}});
  }
}

int TdxBarPainter::DefaultTextSize(TcxCanvas* Canvas) const {
  TEXTMETRIC tm;
  GetTextMetrics(Canvas->CurrentDC(), &tm);
  return tm.tmHeight + 6;
}

void TdxBarPainter::FillRectWithColor(TcxCanvas* Canvas, const TRect& R, TColor Color) const {
  Canvas->FillRectWithColor(R, Color);
}

void TdxBarPainter::DrawCenteredButtonText(HDC DC, const TRect& R, bool Opaque, const std::string& Text,
                                           int Offset) const {
  COLORREF oldText = SetTextColor(DC, SysColor(COLOR_BTNTEXT));
  COLORREF oldBack = SetBkColor(DC, SysColor(COLOR_BTNFACE));
  int oldMode = SetBkMode(DC, Opaque ? OPAQUE : TRANSPARENT);
  RECT r = R.Offset(Offset, Offset);
  DrawText(DC, Text, -1, &r, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
  SetBkMode(DC, oldMode);
  SetBkColor(DC, oldBack);
  SetTextColor(DC, oldText);
}

void TdxBarPainter::DrawSunkenFrame(HDC DC, TRect& R) const {
  Edge(DC, R, BDR_SUNKENOUTER, BF_RECT);
  R = R.Inflate(-1, -1);
}

void TdxBarPainter::PressedOffset(bool Down, bool Pressed, TRect& R) const {
  if (IsFlat()) return;
  if (Down || Pressed) R = R.Offset(1, 1);
  if (Down && Pressed && !ArrowPartFlatA()) R = R.Offset(1, 1);
}

void TdxBarPainter::OffsetWhenDown(bool Down, TRect& R) const {
  if (Down && !IsFlat()) R = R.Offset(1, 1);
}

bool TdxBarPainter::IsFlatAndNotWhiteFace() const { return IsFlat() && !IsBtnFaceWhite(); }

int TdxBarPainter::FloatingFrameWidth() const { return GetSystemMetrics(SM_CXFRAME); }
int TdxBarPainter::FloatingFrameHeight() const { return GetSystemMetrics(SM_CYFRAME); }

int TdxBarPainter::SmallCaptionHeight() const {
  NONCLIENTMETRICS metrics;
  metrics.cbSize = 340;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  return metrics.iSmCaptionHeight;
}

TSize TdxBarPainter::CloseButtonSize() const {
  int h = SmallCaptionHeight();
  return TSize{h, h};
}

int TdxBarPainter::DropDownArrowWidth(TdxBarManager* Manager) const {
  int w = Manager->ButtonArrowWidth();
  if (Manager->ImageOptions()->LargeIcons()) w *= 2;
  return w % 2 == 0 ? w + 1 : w;
}

int TdxBarPainter::LargeDropDownArrowWidth(TdxBarManager* Manager) const {
  return Manager->LargeButtonArrowWidth();
}

HBRUSH TdxBarPainter::BarBrush(TCustomdxBarControl*) const { return SysBrush(COLOR_BTNFACE); }
HBRUSH TdxBarPainter::CheckerBrush(TCustomdxBarControl*) const { return BarCheckerBrush(); }
HBRUSH TdxBarPainter::MenuBrush(TCustomdxBarControl*) const { return SysBrush(COLOR_BTNFACE); }
HBRUSH TdxBarPainter::SelectionBrush(TCustomdxBarControl*) const { return SysBrush(COLOR_HIGHLIGHT); }
HBRUSH TdxBarPainter::MenuOwnBrush(TdxBarSubMenuControl*) const {
  return reinterpret_cast<HBRUSH>(intptr_t(COLOR_BTNFACE + 1));
}
HBRUSH TdxBarPainter::InPlaceSubItemHotBrush() const { return SysBrush(COLOR_BTNSHADOW); }

int TdxBarPainter::EditTextHeight(TCustomdxBarControl* BarControl, int TextHeight) const {
  int paintType = BarControl && BarControl->BarControlKind() == 2 ? 1 : 0;
  TRect frame = EditFrameMargins(paintType);
  TRect caption = CaptionMargins();
  return TextHeight + frame.Top + frame.Bottom + caption.Top + caption.Bottom;
}

TRect TdxBarPainter::UniformBorderRect() const {
  int u = BorderUnit();
  return TRect(u, u, u, u);
}

void TdxBarPainter::DrawDropDownListBorder(HDC DC, TColor Color, const TRect& R) const {
  FrameWithBrush(DC, R, SysBrush(COLOR_BTNSHADOW));
  TTempObject brush(CreateSolidBrush(RGBOf(Color)));
  FrameWithBrush(DC, R.Inflate(-1, -1), brush.Handle());
}

void TdxBarPainter::MenuTextMetrics(TcxCanvas* Canvas, int TextSize, int& ArrowWidth, int& MarkSize) const {
  ArrowWidth = MenuArrowWidth(TextSize);
  MarkSize = Canvas->MeasureTextHeight("0") + 1;
  int arrow = MenuSubItemArrowSize(MarkSize);
  if (arrow % 2 != 0) MarkSize = 2 * arrow + 4;
}

void TdxBarPainter::DrawSeparatorLine(TcxCanvas* Canvas, const TRect& R) const {
  Edge(Canvas->CurrentDC(), R, EDGE_ETCHED, BF_TOP);
}

void TdxBarPainter::SelectAllEditText(TdxBarItemControl*, HWND EditWindow, bool Notify) const {
  if (Notify)
    SendMessage(GetParent(EditWindow), WM_COMMAND, MAKEWPARAM(WORD(GetWindowLongPtr(EditWindow, GWL_ID)), 768),
                reinterpret_cast<LPARAM>(EditWindow));
  SendMessage(EditWindow, EM_SETSEL, 0, -1);
}

TColor TdxBarPainter::EditBackgroundColor(TdxBarItemControl*) const { return TColor(GetSysColor(COLOR_WINDOW)); }
TColor TdxBarPainter::EditTextColorEnabled() const { return TColor(GetSysColor(COLOR_WINDOWTEXT)); }
TColor TdxBarPainter::EditTextColorDisabled() const { return TColor(GetSysColor(COLOR_GRAYTEXT)); }

int TdxBarPainter::DropDownNonClientHeight() const { return GetDropDownNonClientHeight(); }

void TdxBarPainter::DrawPushButton(const std::string& Text, HDC DC, bool Pressed, int Offset,
                                   const TRect& R) const {
  if (Pressed) {
    RECT r = R;
    DrawFrameControl(DC, &r, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_PUSHED);
  } else {
    int l = R.Left, t = R.Top, r = R.Right - 1, b = R.Bottom - 1;
    Lines(DC, SysColor(COLOR_BTNTEXT), {{l, b}, {r, b}, {r, t - 1}});
    Lines(DC, SysColor(COLOR_BTNFACE), {{l, b - 1}, {l, t}, {r, t}});
    Lines(DC, SysColor(COLOR_BTNSHADOW), {{l + 1, b - 1}, {r - 1, b - 1}, {r - 1, t}});
    Lines(DC, SysColor(COLOR_BTNHIGHLIGHT), {{l + 1, b - 2}, {l + 1, t + 1}, {r - 1, t + 1}});
    SetPixel(DC, r - 1, t + 1, SysColor(COLOR_BTNFACE));
  }
  DrawCenteredButtonText(DC, R.Inflate(-2, -2), true, Text, Offset);
}

TSize TdxBarPainter::SpinButtonSizes(int Height) const {
  int h = Height / 2;
  int a = (h - 2) / 2;
  return TSize{2 * a - 1, a};
}

int TdxBarPainter::SpinButtonsWidth(int PaintType, const TRect& R) const {
  TSize arrow = SpinButtonSizes(R.Height());
  TRect m = SpinButtonMargins(PaintType);
  return arrow.cx + 2 * arrow.cy - m.Left - m.Right + 4;
}

int TdxBarPainter::EllipsisButtonWidth(int PaintType, const TRect& R) const {
  TRect m = ColorBoxMargins(PaintType);
  return (R.Height() - 4) / 7 * 7 - m.Left - m.Right + 4;
}

TColor TdxBarPainter::ProgressBarDefaultColor() const { return TColor(GetSysColor(COLOR_HIGHLIGHT)); }

TRect TdxBarPainter::StaticBorderOffsets(TdxBarStaticBorderStyle Style) const {
  static constexpr int widths[] = {0, 1, 1, 2, 2};
  int w = widths[Style];
  return TRect(w, w, w, w);
}

TcxCustomLookAndFeelPainter* TdxBarPainter::LookAndFeelPainter() const {
  TcxLookAndFeelPaintersManager* manager = cxLookAndFeelPaintersManager();
  return manager ? manager->PainterForKind(TcxPainterStyle(lfStandard)) : nullptr;
}

TColor TdxBarPainter::ScreenTipDescriptionColor() const { return clDefault; }
TColor TdxBarPainter::ScreenTipTitleColor() const { return clDefault; }
int TdxBarPainter::ScreenTipFooterLineSize() const { return 3; }
void TdxBarPainter::DrawScreenTipBackground(TdxScreenTipViewInfo*, const TRect&) const {}
void TdxBarPainter::DrawScreenTipFrame(TcxCanvas*, const TRect&) const {}

void TdxBarPainter::CalcDropDownResizeBar(TRect& R, TRect& GripRect, bool Resizable, TcxCorner& Corner,
                                          TRect& CloseButtonRect) const {
  if (!Resizable) return;
  TRect bar;
  CalcPopupResizeBarLayout(LookAndFeelPainter(), R, bar, GripRect, CloseButtonRect, Corner, TRect(1, 1, 1, 1),
                           TRect(), 0, false, true);
}

void TdxBarPainter::DrawDropDownResizeBar(HWND Window, bool Resizable, TcxCorner Corner, const TRect& GripRect,
                                          const TRect& CloseButtonRect, bool Tracking, int CloseState) const {
  if (!Resizable) return;
  DrawPopupResizeBar(LookAndFeelPainter(), Window, CloseState == 1, CloseState == 2, Corner, CloseButtonRect,
                     GripRect, DropDownBorderColor());
}

// ---- operations that wait for the bar windows and item controls

void TdxBarPainter::DrawCheckSignCentered(TdxBarItemControl* Control, HDC DC, bool Down, int PaintType,
                                          const TRect& R) const {
  if (!Down || PaintType != 1) return;
  // The control's font is the one selected into the DC while it draws.
  LOGFONT font;
  GetObject(GetCurrentObject(DC, OBJ_FONT), sizeof(font), &font);
  int points = MulDiv(std::abs(int(font.lfHeight)), 72, 96);
  int code = points < 16 ? 1 : 2;
  int w = code == 1 ? 9 : 18, h = code == 1 ? 7 : 14;
  DrawCheckSign(Control, DC, code, (R.Left + R.Right - w) / 2, (R.Top + R.Bottom - h) / 2);
}

TdxBarHintViewInfo* TdxBarPainter::CreateHintViewInfo(TdxBarManager* Manager, const std::string& HintText, const std::string& ShortCutText) const {
  return new TdxBarHintViewInfo(Manager, HintText, ShortCutText, GetMouseScreenPos());
}

int TdxBarPainter::FloatingCaptionTextStart(TCustomdxBarControl* BarControl) const {
  return {};
}

void TdxBarPainter::DrawScrollButtonEdge(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const {
}

void TdxBarPainter::FrameControlBackground(TdxBarItemControl* Control, HDC DC, bool Solid, HBRUSH Brush,
                                           const TRect& R) const {
  if (Solid) {
    FrameWithBrush(DC, R, Brush);
    return;
  }
  TClipKeeper clip(DC);
  ExcludeRect(DC, R.Inflate(-1, -1));
  FillControlBackground(Control, DC, false, Brush, R);
}

void TdxBarPainter::FillDisabledShadow(TdxBarItemControl*, HDC DC, const TRect& R) const {
  FillWithBrush(DC, R, SysBrush(COLOR_BTNSHADOW));
}

void TdxBarPainter::DrawItemText(TdxBarItemControl* Control, HDC DC, UINT Flags, bool Flat, bool Clip,
                                 bool Vertical, bool Selected, bool Enabled, int Alignment, const TRect& R,
                                 const std::string& Text) const {
  bool flat = IsFlat() && Flat;
  TColor textColor, shadowColor;
  if (Enabled) {
    textColor = shadowColor = DefaultCaptionColor(Control, Selected, flat);
  } else {
    DisabledCaptionColors(Control, Selected, shadowColor, textColor, flat);
  }
  Flags |= DT_NOCLIP;
  std::string text = Text;
  TRect r = R;
  int prefix = 0, charWidth = 0, underlineX = 0;
  if (Vertical) {
    int marked = AcceleratorPosition(text);
    TSize size = MeasureTextSize(DC, text);
    r = r.Offset((r.Width() + size.cy) / 2, 0);
    int freeHeight = r.Height() - size.cx;
    if (Alignment == 1) r = r.Offset(0, freeHeight / 2);
    if (Alignment == 2) r = r.Offset(0, freeHeight);
    if (marked > 0) {
      Flags |= DT_NOPREFIX;
      prefix = MeasureTextSize(DC, text.substr(0, size_t(marked - 1))).cx;
      charWidth = MeasureTextSize(DC, text.substr(size_t(marked - 1), 1)).cx;
      TEXTMETRIC tm;
      GetTextMetrics(DC, &tm);
      underlineX = (R.Left + R.Right - size.cy) / 2 + tm.tmDescent - 2;
    }
  } else {
    if (Clip) Flags &= ~DT_NOCLIP;
    Flags |= UINT(Alignment) | DT_VCENTER;
  }
  auto pass = [&](TColor Color, int Shift) {
    TRect place = r.Offset(Shift, Shift);
    DrawTextColored(DC, text, place, Flags, -1, Color, TRANSPARENT);
    if (charWidth > 0)
      Lines(DC, RGBOf(Color), {{underlineX + Shift, R.Top + prefix + Shift},
                               {underlineX + Shift, R.Top + prefix + charWidth + Shift}});
  };
  if (shadowColor != textColor) pass(shadowColor, 1);
  pass(textColor, 0);
}

void TdxBarPainter::DrawBarOnDockBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush, const TRect& ItemRect, const TRect& OriginRect) const {
}

void TdxBarPainter::FillBarBorderArea(TCustomdxBarControl* BarControl, HDC DC) const {
}

int TdxBarPainter::DetachCaptionAreaSize(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

void TdxBarPainter::ApplyLookAndFeel(TdxBarManager* Manager, TcxLookAndFeel* LookAndFeel) const {
}


// ---- what the painters read of item controls and bar windows

namespace {

// The context of the draw parameters' canvas with the canvas's font, pen and brush selected, as
// the item control set them up for this paint.
HDC DCOf(TdxBarItemControlDrawParams* DrawParams) {
  if (!DrawParams || !DrawParams->DrawCanvas) return nullptr;
  DrawParams->DrawCanvas->MeasureTextWidth(std::string());
  return DrawParams->DrawCanvas->CurrentDC();
}

TCustomdxBarControl* BarOf(TdxBarItemControl* Control) { return Control ? Control->BarControl() : nullptr; }

TdxBarManager* ManagerOf(TCustomdxBarControl* Bar) {
  return Bar && Bar->ItemLinks() ? Bar->ItemLinks()->BarManager() : nullptr;
}

TdxBarManager* ManagerOf(TdxBarItemControl* Control) {
  if (!Control) return nullptr;
  if (TdxBarManager* m = Control->LinkBarManager()) return m;
  return ManagerOf(Control->BarControl());
}

bool NonRecent(TdxBarItemControl* Control) { return Control && Control->LessUsed; }

bool VerticalBar(TCustomdxBarControl* Bar) {
  if (!Bar) return false;
  TdxBarDockingStyle s = Bar->DockingStyle();
  return s == dsLeft || s == dsRight || Bar->IsVertical();
}

TdxBarButtonLikeControlDrawParams* AsButtonLike(TdxBarItemControlDrawParams* DrawParams) {
  return dynamic_cast<TdxBarButtonLikeControlDrawParams*>(DrawParams);
}

// The item draws in its down look: pressed into a drop-down that is open, or hot in a menu.
bool CaptionSelected(TdxBarItemControlDrawParams* DrawParams) {
  if (DrawParams->PaintKind == 1) return DrawParams->Highlighted;
  TdxBarButtonLikeControlDrawParams* b = AsButtonLike(DrawParams);
  return b && b->ArrowPressed;
}

bool HasSplitPart(TdxBarButtonLikeControlDrawParams* DrawParams) {
  return DrawParams->HasDropDownPart && DrawParams->SeparateArrowPart;
}

UINT AlignmentCode(TAlignment Alignment) {
  switch (Alignment) {
    case taRightJustify: return DT_RIGHT;
    case taCenter: return DT_CENTER;
    default: return DT_LEFT;
  }
}

TRect CenteredIn(const TRect& Area, TSize Size) {
  int x = Area.Left + (Area.Width() - Size.cx) / 2;
  int y = Area.Top + (Area.Height() - Size.cy) / 2;
  return TRect(x, y, x + Size.cx, y + Size.cy);
}

void FrameWithColor(HDC DC, const TRect& R, COLORREF Color) {
  TTempObject brush(CreateSolidBrush(Color));
  FrameWithBrush(DC, R, static_cast<HBRUSH>(brush.Handle()));
}

}  // namespace

// ---- item backgrounds and brushes

void TdxBarPainter::DrawBarClientBackground(TCustomdxBarControl* BarControl) const {
  TcxCanvas* canvas = BarControl ? BarControl->CurrentCanvas() : nullptr;
  if (!canvas) return;
  BarControl->DrawBackground(canvas->CurrentDC(), BarControl->ClientBounds(), true, clNone,
                             BarControl->BackgroundBrush());
}

void TdxBarPainter::FillControlBackground(TdxBarItemControl* Control, HDC DC, bool Solid, HBRUSH Brush,
                                          const TRect& R) const {
  TCustomdxBarControl* bar = BarOf(Control);
  if (Solid || !bar) {
    if (Brush) FillWithBrush(DC, R, Brush);
    return;
  }
  // The window paints its own background (wallpaper included) with the brush; in a sub-menu it
  // shades the part of an item hidden while the menu is collapsed.
  Control->BeginBackgroundFill();
  try {
    bar->DrawBackground(DC, R, true, clNone, Brush);
  } catch (...) {
    Control->EndBackgroundFill();
    throw;
  }
  Control->EndBackgroundFill();
}

void TdxBarPainter::FillBarBackgroundRect(TdxBarItemControl* Control, TcxCanvas* Canvas, HBRUSH Brush,
                                          const TRect& R) const {
  if (TCustomdxBarControl* bar = BarOf(Control))
    bar->DrawBackground(Canvas->CurrentDC(), R, true, clNone, Brush);
  else if (Brush)
    FillWithBrush(Canvas->CurrentDC(), R, Brush);
}

void TdxBarPainter::FillItemBackgroundWithBitmap(TdxBarItemControl* Control, TcxCanvas* Canvas, TColor Color,
                                                 HBRUSH Brush, const TRect& R) const {
  TCustomdxBarControl* bar = BarOf(Control);
  FillRectWithBackground(Canvas->CurrentDC(), R, R, bar ? bar->BackgroundBitmap() : nullptr, Color, Brush);
}

HBRUSH TdxBarPainter::ItemBackgroundBrush(TdxBarItemControl* Control, int PaintType, bool NoIcon, bool Selected,
                                          bool Down, bool Enabled) const {
  if (Control) {
    if (HBRUSH own = Control->BackgroundBrushOrBar()) return own;
  }
  return BarBrush(BarOf(Control));
}

bool TdxBarPainter::GlyphAreaSolid(TdxBarItemControl* Control, bool Down, bool NoGlyph, bool Selected,
                                   bool Pressed) const {
  if (NoGlyph) return NonRecent(Control) || Down || Selected || Pressed;
  return NonRecent(Control) || (Control && Control->HasOwnBackground());
}

bool TdxBarPainter::UsesNativeItemBackground(TdxBarItemControl* Control) const {
  if (UsesThemedBackground()) return true;
  if (NonRecent(Control)) return false;
  // A window with a picture behind its items lets it show around their glyphs.
  TCustomdxBarControl* bar = BarOf(Control);
  TBitmap* picture = bar ? bar->BackgroundBitmap() : nullptr;
  return picture && !picture->Empty();
}

int TdxBarPainter::ItemTextSize(TdxBarItemControl* Control) const {
  TCustomdxBarControl* bar = BarOf(Control);
  return bar && bar->BarControlKind() == 2 ? bar->TextSize() + 1 : 0;
}

int TdxBarPainter::HalfFontHeight(TdxBarItemControl* Control) const {
  TcxCanvas* canvas = Control ? Control->DrawingCanvas() : nullptr;
  if (!canvas) return 0;
  return std::abs(canvas->CurrentFont()->Height()) / 2;
}

int TdxBarPainter::SeparatorTextIndent(TdxBarItemControlDrawParams* DrawParams) const {
  TCustomdxBarControl* bar = BarOf(DrawParams->Control());
  return bar ? bar->SeparatorIndent() : 0;
}

HBRUSH TdxBarPainter::ArrowAreaBrush(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  return ItemBackgroundBrush(DrawParams->Control(), DrawParams->PaintKind, !(DrawParams->ShownParts & 1),
                             DrawParams->Highlighted, DrawParams->DownLook, DrawParams->DrawEnabled);
}

bool TdxBarPainter::DrawsArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  if (NonRecent(DrawParams->Control())) return true;
  return IsFlat() && (DrawParams->Highlighted || DrawParams->PopupOpen);
}

bool TdxBarPainter::ArrowPartSunken(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  if (!IsFlat()) return false;
  bool menu = DrawParams->PaintKind == 1;
  if (IsBtnFaceWhite() && DrawParams->Highlighted && (menu || !DrawParams->PopupOpen)) return true;
  return menu && DrawParams->PopupOpen;
}

TColor TdxBarPainter::ArrowColor(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  if (!ArrowUsesCaptionColor() || !DrawParams->Control()) return clDefault;
  TColor color = clDefault, second = clDefault;
  DrawParams->Control()->GetTextColors(DrawParams->DrawEnabled, DrawParams->Highlighted, IsFlat(), color, second);
  return color;
}

bool TdxBarPainter::DisabledGlyphsFaded(TCustomdxBarControl* BarControl) const {
  TdxBarManager* m = ManagerOf(BarControl);
  return m && m->ImageOptions()->MakeDisabledImagesFaded;
}

// The hint starts at the mouse; the bar window adjusts it (TCustomdxBarControl::CalcHintPosition).
TPoint TdxBarPainter::HintPosition(TCustomdxBarControl* BarControl, const TRect& ItemRect, TPoint Cursor) const {
  return Cursor;
}

// ---- glyphs

TRect TdxBarPainter::CalcLargeGlyphRect(TdxBarItemControl* Control, TSize GlyphSize, const TRect& R,
                                        TdxBarGlyphLayout Layout, int PaintType, bool HasText) const {
  TRect g = CenteredIn(R, GlyphSize);
  if (!HasText) return g;
  int w = GlyphSize.cx, h = GlyphSize.cy;
  auto placeX = [&](int Left) { g = TRect(Left, g.Top, Left + w, g.Bottom); };
  auto placeY = [&](int Top) { g = TRect(g.Left, Top, g.Right, Top + h); };
  if (PaintType != 2) {
    switch (Layout) {
      case glLeft: placeX(R.Left + 4); break;
      case glRight: placeX(R.Right - 4 - w); break;
      case glTop: placeY(R.Top + 2); break;
      case glBottom: placeY(R.Bottom - 2 - h); break;
    }
  } else {
    switch (Layout) {
      case glLeft: placeY(R.Top + 4); break;
      case glRight: placeY(R.Bottom - 4 - h); break;
      case glTop: placeX(R.Right - 2 - w); break;
      case glBottom: placeX(R.Left + 2); break;
    }
  }
  return g;
}

void TdxBarPainter::DrawGlyph(TdxBarItemControl* Control, HDC DC, int PaintType, int ViewStructure, int ViewSize,
                              bool NoIcon, bool Selected, bool Down, bool Pressed, bool DroppedDown, bool GrayGlyph,
                              bool Split, const TRect& GlyphArea, const TRect& TextArea) const {
  int index = -1;
  TCustomImageList* images = nullptr;
  TBitmap* glyph = nullptr;
  bool hasGlyph = Control && Control->GlyphAndImages(ViewSize, Selected, index, images, glyph);
  NoIcon = NoIcon || !hasGlyph || !(ViewStructure & 1);
  TSize size{16, 16};
  if (Control) size = Control->GlyphSize(ViewSize, Selected);
  else if (TdxBarManager* m = ManagerOf(Control)) size = TSize{m->ImageOptions()->GlyphSize(), m->ImageOptions()->GlyphSize()};
  TRect area = GlyphArea, glyphRect;
  if (ViewSize == 2 && PaintType != 1) {
    TdxBarItem* item = Control ? Control->LinkItem() : nullptr;
    glyphRect = CalcLargeGlyphRect(Control, size, area, item ? item->GlyphLayout() : glTop, PaintType,
                                   (ViewStructure & 2) != 0);
  } else {
    TdxBarItemControlDrawParams* dp = Control ? Control->DrawParams() : nullptr;
    if (PaintType == 0 && dp && dp->GlyphExtent.cx > 0) area.Right = std::min(area.Right, area.Left + dp->GlyphExtent.cx);
    if (PaintType == 2 && dp && dp->GlyphExtent.cy > 0) area.Bottom = std::min(area.Bottom, area.Top + dp->GlyphExtent.cy);
    glyphRect = CenteredIn(area, size);
    int shift = 0;
    if (Down) shift += DownGlyphOffset(Control);
    if (Pressed) shift += PressedGlyphOffset(Control, Down);
    glyphRect = glyphRect.Offset(shift, shift);
  }
  if (Control && Control->ViewInfo()) Control->ViewInfo()->GlyphBounds = glyphRect;
  // The glyph's background is the whole button on bars (a large button's caption included) and
  // the icon column in a menu.
  const TRect& background = ViewSize == 2 && PaintType != 1 ? TextArea : GlyphArea;
  DrawGlyphInRect(Control, DC, PaintType, NoIcon, Selected, Down, Pressed, DroppedDown, GrayGlyph, Split,
                  NoIcon ? nullptr : images, NoIcon ? nullptr : glyph, index, glyphRect, background);
}

namespace {

// The glyph-drawing mode for an item's state.
TcxImageDrawMode ItemGlyphDrawMode(const TdxBarPainter& Painter, TdxBarItemControl* Control, bool Enabled,
                                   bool Selected, bool Down, bool Pressed, bool GrayGlyph) {
  if (!Enabled) {
    TdxBarManager* m = ManagerOf(Control);
    return m && m->ImageOptions()->MakeDisabledImagesFaded ? ImageDrawFaded : ImageDrawDisabled;
  }
  if (GrayGlyph) return ImageDrawGrayed;
  if (!Painter.GlyphHotLook()) return ImageDrawNormal;
  if (!Selected && !Down && GetDeviceCaps(GetDC(nullptr), BITSPIXEL) > 8) return ImageDrawLightened;
  return Painter.GlyphShadowWhenHot() && Selected && !Pressed ? ImageDrawShadowed : ImageDrawNormal;
}

}  // namespace

void DrawItemControlGlyph(TdxBarItemControl* Control, HDC DC, HBRUSH Brush, uint8_t Mode,
                          TColor BackgroundColor, int ImageIndex, TCustomImageList* Images, TBitmap* Glyph,
                          const TRect& GlyphRect, const TRect& Area) {
  TdxBarManager* m = ManagerOf(Control);
  bool smooth = m && m->ImageOptions()->SmoothGlyphs;
  TColor transparent = Glyph ? clNone : BackgroundColor;
  TdxCachedImageOptions* cache = Control ? Control->CachedImageOptions() : nullptr;
  if (cache && m && m->ImageOptions()->CacheGlyphs && Mode != ImageDrawShadowed) {
    if (!cache->IsValidFor(Mode, Glyph, Images)) {
      TRect local(0, 0, GlyphRect.Width(), GlyphRect.Height());
      // Another control may have rendered the same glyph already (menus make their controls
      // afresh each time they open): the shared cache hands its pixels over.
      cache->Fill(local, Glyph, Mode, Images, [&](HDC, const TRect& R) {
        dxBarRenderGlyphCached(cache->CacheBitmap(), R, Glyph, Images, ImageIndex, Mode, smooth, transparent);
      });
    }
    // The rendered glyph stands in for its source, drawn as it is in the normal mode; nobody
    // else's drawing hook runs for it.
    cxDrawPreparedImage(DC, GlyphRect, Area, cache->PreparedBitmap(), smooth, Brush);
    return;
  }
  DrawImageInState(DC, GlyphRect, Area, Glyph, Images, ImageIndex, Mode, smooth, Brush, transparent);
}

void TdxBarPainter::DrawGlyphInRect(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected,
                                    bool Down, bool Pressed, bool DroppedDown, bool GrayGlyph, bool Split,
                                    TCustomImageList* Images, TBitmap* Glyph, int ImageIndex,
                                    const TRect& GlyphRect, const TRect& Area) const {
  TSize glyph{GlyphRect.Width(), GlyphRect.Height()};
  if (NoIcon) {
    TdxBarManager* m = ManagerOf(Control);
    int s = m ? m->ImageOptions()->GlyphSize() : 16;
    glyph = TSize{s, s};
  }
  bool withBorder = Area.Width() >= glyph.cx + 2 && Area.Height() >= glyph.cy + 2;
  TRect inner = withBorder ? Area.Inflate(-1, -1) : Area;
  bool enabled = Control ? Control->IsEnabled() : true;
  HBRUSH brush = ItemBackgroundBrush(Control, PaintType, NoIcon, Selected, Down, enabled);
  bool themed = UsesThemedBackground();
  if (themed)
    FrameGlyphArea(Control, DC, PaintType, NoIcon, Selected, Down, Pressed, DroppedDown, Split, withBorder, brush,
                   Area);
  bool native = UsesNativeItemBackground(Control);
  if (!themed && (NoIcon || native))
    FillControlBackground(Control, DC, GlyphAreaSolid(Control, Down, NoIcon, Selected, Pressed), brush, inner);
  if (NoIcon) {
    DrawCheckSignCentered(Control, DC, Down, PaintType, inner);
  } else {
    TdxBarManager* m = ManagerOf(Control);
    TcxImageDrawMode mode = ItemGlyphDrawMode(*this, Control, enabled, Selected, Down, Pressed, GrayGlyph);
    DrawItemControlGlyph(Control, DC, native ? nullptr : brush, mode,
                         m ? m->ImageOptions()->ImageListBkColor : clNone, ImageIndex, Images, Glyph, GlyphRect,
                         inner);
  }
  if (!themed)
    FrameGlyphArea(Control, DC, PaintType, NoIcon, Selected, Down, Pressed, DroppedDown, Split, withBorder, brush,
                   Area);
}

void TdxBarPainter::DrawItemGlyph(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected,
                                  bool Down, bool Pressed, bool DroppedDown, bool GrayGlyph, bool Split,
                                  const TRect& TextRect, const TRect& GlyphRect) const {
  int structure = Control ? Control->ShownParts() : 0;
  int size = Control ? Control->ViewSizeForLevel() : 0;
  DrawGlyph(Control, DC, PaintType, structure, size, NoIcon, Selected, Down, Pressed, DroppedDown, GrayGlyph,
            Split, GlyphRect, TextRect);
}

// ---- captions

void TdxBarPainter::CalcCaptionRect(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& ContentRect,
                                    TRect& CaptionRect, int& Alignment, const TRect& GlyphRect) const {
  CaptionRect = ContentRect;
  bool vertical = DrawParams->PaintKind == 2;
  bool glyphShown = (DrawParams->ShownParts & 1) != 0;
  TdxBarItemControl* control = DrawParams->Control();
  if (DrawParams->GlyphSizeKind() == 2) {
    Alignment = 1;
    if (!glyphShown) return;
    TdxBarItem* item = control ? control->LinkItem() : nullptr;
    switch (item ? item->GlyphLayout() : glTop) {
      case glLeft:
        Alignment = 0;
        if (vertical) CaptionRect.Top = GlyphRect.Bottom + 3;
        else CaptionRect.Left = GlyphRect.Right + 3;
        break;
      case glRight:
        Alignment = 2;
        if (vertical) CaptionRect.Bottom = GlyphRect.Top - 3;
        else CaptionRect.Right = GlyphRect.Left - 3;
        break;
      case glTop:
        if (vertical) CaptionRect.Right = GlyphRect.Left;
        else CaptionRect.Top = GlyphRect.Bottom;
        break;
      case glBottom:
        if (vertical) CaptionRect.Left = GlyphRect.Right;
        else CaptionRect.Bottom = GlyphRect.Top;
        break;
    }
    return;
  }
  Alignment = 0;
  int offset = glyphShown ? (vertical ? DrawParams->GlyphExtent.cy : DrawParams->GlyphExtent.cx)
                          : (control ? control->TextIndent() : 0);
  if (vertical) CaptionRect.Top += offset;
  else CaptionRect.Left += offset;
  if (!ShowsHotAsDown(control)) PressedOffset(DrawParams->DownLook, DrawParams->PressedState, CaptionRect);
}

void TdxBarPainter::DrawTextWithParams(TdxBarItemControlDrawParams* DrawParams, const TRect& R, UINT Flags,
                                       int Alignment) const {
  TdxBarItemControl* control = DrawParams->Control();
  DrawItemText(control, DCOf(DrawParams), Flags, control ? control->PaintsFlat() : true, true,
               DrawParams->PaintKind == 2, CaptionSelected(DrawParams), DrawParams->DrawEnabled, Alignment, R,
               DrawParams->CaptionText);
}

TRect TdxBarPainter::CalcCaptionTextRect(TdxBarItemControlDrawParams* DrawParams) const {
  HDC dc = DCOf(DrawParams);
  if (!dc) return TRect();
  RECT r{0, 0, 0, 0};
  DrawText(dc, DrawParams->CaptionText, -1, &r, DT_SINGLELINE | DT_CALCRECT);
  return TRect(r.left, r.top, r.right, r.bottom);
}

void TdxBarPainter::DrawButtonCaption(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
  if (!(DrawParams->ShownParts & 2)) return;
  TRect caption;
  int alignment = 0;
  TdxBarItemControl* control = DrawParams->Control();
  TRect glyph = control && control->ViewInfo() ? control->ViewInfo()->GlyphBounds : TRect();
  CalcCaptionRect(DrawParams, R, caption, alignment, glyph);
  // Turned text runs along the height, which the ellipsis would not know.
  UINT flags = DrawParams->PaintKind == 2 ? DT_SINGLELINE : DT_SINGLELINE | DT_END_ELLIPSIS;
  DrawTextWithParams(DrawParams, caption, flags, alignment);
}

void TdxBarPainter::AddButtonExtraWidth(TdxBarButtonLikeControlDrawParams* DrawParams, int& Width) const {
  if (!DrawParams->HasDropDownPart) return;
  if (HasSplitPart(DrawParams) && DrawParams->PaintKind != 1) {
    Width += CaptionGlyphGap().Right + DrawParams->ArrowAreaSize.cx;
  } else {
    TCustomdxBarControl* bar = BarOf(DrawParams->Control());
    Width += (bar ? bar->TextSize() : ReferenceTextSize()) / 2;
  }
}

void TdxBarPainter::CalcButtonPartRects(TdxBarButtonLikeControlDrawParams* DrawParams,
                                        std::vector<TRect>& PartRects) const {
  if (!HasSplitPart(DrawParams) || PartRects.size() < 2) return;
  int x = PartRects[0].Right - DrawParams->ArrowAreaSize.cx;
  PartRects[1] = TRect(x, PartRects[0].Top, PartRects[0].Right, PartRects[0].Bottom);
  PartRects[0].Right = x;
}

// ---- button-like items

void TdxBarPainter::DrawButtonLike(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
  HDC dc = DCOf(DrawParams);
  if (!dc) return;
  TRect r = R;
  if (DrawParams->LoweredLook) DrawSunkenFrame(dc, r);
  bool split = HasSplitPart(DrawParams);
  if (DrawParams->PaintKind == 1) {
    DrawMenuButton(DrawParams, r);
  } else {
    const TRect& m = DrawParams->ContentMargins;
    TRect content(r.Left + m.Left, r.Top + m.Top, r.Right - m.Right, r.Bottom - m.Bottom);
    if (split) content.Right -= DrawParams->ArrowAreaSize.cx;
    TRect glyphArea = content;
    if (DrawParams->GlyphSizeKind() == 2) {
      glyphArea = glyphArea.Inflate(-1, -1);
      PressedOffset(DrawParams->DownLook, DrawParams->PressedState, glyphArea);
    }
    int parts = DrawParams->ShownParts;
    DrawGlyph(DrawParams->Control(), dc, DrawParams->PaintKind, parts, DrawParams->GlyphSizeKind(), !(parts & 1),
              DrawParams->Highlighted, DrawParams->DownLook, DrawParams->PressedState, DrawParams->PopupOpen,
              DrawParams->GrayGlyph, split, glyphArea, content);
    DrawButtonCaption(DrawParams, content);
  }
  if (DrawParams->HasDropDownPart) {
    if (split)
      DrawSplitArrowPart(DrawParams, R);
    else
      DrawItemArrowPart(DrawParams, R);
  }
}

void TdxBarPainter::DrawSplitArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
  TRect part(R.Right - DrawParams->ArrowAreaSize.cx, R.Top, R.Right, R.Bottom);
  FillDropDownArrowPart(DrawParams, part, ArrowAreaBrush(DrawParams));
  DrawDropDownArrowPart(DrawParams, part);
}

void TdxBarPainter::FillDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R,
                                          HBRUSH Brush) const {
  TRect r = R;
  if (IsFlat() && DrawParams->PaintKind != 1) {
    r.Left -= 1;
    if (DrawParams->PopupOpen) return;
  }
  FillControlBackground(DrawParams->Control(), DCOf(DrawParams), DrawsArrowPart(DrawParams), Brush, r);
}

void TdxBarPainter::DrawDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
  bool menu = DrawParams->PaintKind == 1;
  TRect r = R;
  if (!ArrowPartFlatA() && DrawParams->PopupOpen && (R.Width() > 9 || menu)) r = r.Offset(1, 1);
  bool enabled = DrawParams->DrawEnabled && DrawParams->DropDownEnabled;
  HDC dc = DCOf(DrawParams);
  if (menu)
    DrawArrowSized(dc, r, adRight, DrawParams->ArrowAreaSize.cy, ArrowPartSunken(DrawParams), enabled,
                   ArrowPartFlatA(), ArrowColor(DrawParams));
  else
    DrawArrow(dc, r, adDown, enabled, ArrowPartSunken(DrawParams), ArrowPartFlatA(), ArrowColor(DrawParams));
}

void TdxBarPainter::DrawItemArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
  int paint = DrawParams->PaintKind;
  bool menu = paint == 1;
  TRect r = R;
  if (!menu) PressedOffset(false, DrawParams->PopupOpen, r);
  TCustomdxBarControl* bar = BarOf(DrawParams->Control());
  int textSize = bar ? bar->TextSize() : ReferenceTextSize();
  int size = DrawParams->ArrowAreaSize.cy - (menu ? 0 : 1);
  if (size <= 0) size = std::max(3, textSize / 4);
  TRect box = r;
  if (menu) {
    box.Left = r.Right + size - textSize;
  } else {
    // Whatever sign the font's height carries, the box lies at the item's far end.
    int font = DrawParams->DrawCanvas ? std::abs(DrawParams->DrawCanvas->CurrentFont()->Height()) : 0;
    int inset = font / 2 + textSize / 2;
    if (paint == 0) box.Left = r.Right - inset;
    else box.Top = r.Bottom - inset;
  }
  bool selected = menu ? DrawParams->Highlighted && !IsFlatAndNotWhiteFace() : DrawParams->ArrowPressed;
  DrawArrowSized(DCOf(DrawParams), box, paint == 0 ? adDown : adRight, size, selected, DrawParams->DrawEnabled,
                 IsFlat(), ArrowColor(DrawParams));
}

// ---- menu items

int TdxBarPainter::MenuCaptionOffset(TdxBarItemControlDrawParams* DrawParams) const {
  TCustomdxBarControl* bar = BarOf(DrawParams->Control());
  return (bar ? bar->IconAreaWidth() : 0) + 3;
}

TRect TdxBarPainter::MenuItemTextRect(TdxBarItemControlDrawParams* DrawParams, const TRect& R) const {
  TRect r = R;
  r.Left += MenuCaptionOffset(DrawParams);
  return r;
}

void TdxBarPainter::DrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
  BeforeDrawMenuButton(DrawParams, R);
  TdxBarItemControl* control = DrawParams->Control();
  TCustomdxBarControl* bar = BarOf(control);
  TRect icon = MenuItemIconRect(R, bar ? bar->IconAreaWidth() : R.Height());
  bool noIcon = !control || !control->HasGlyphFor(control->ViewSizeForLevel()) || !(DrawParams->ShownParts & 1);
  TRect text = MenuItemTextRect(DrawParams, R);
  DrawItemGlyph(control, DCOf(DrawParams), 1, noIcon, DrawParams->Highlighted, DrawParams->DownLook, false,
                DrawParams->PopupOpen, DrawParams->GrayGlyph, HasSplitPart(DrawParams), text, icon);
  DrawButtonCaptionText(DrawParams, text);
}

void TdxBarPainter::DrawButtonCaptionText(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
  HDC dc = DCOf(DrawParams);
  TdxBarItemControl* control = DrawParams->Control();
  int extra = CaptionExtraHeight(DrawParams);
  TRect r = R.Inflate(0, extra);
  bool flat = control ? control->PaintsFlat() : true;
  bool selected = DrawParams->Highlighted;
  TCustomdxBarControl* bar = BarOf(control);
  int textSize = bar ? bar->TextSize() : ReferenceTextSize();
  if (control && control->ShowsDescription() && !DrawParams->DescriptionText.empty()) {
    int fontHeight = DCFontHeight(dc);
    int top = r.Bottom - ((r.Height() - 3 * fontHeight) / 4) * 2 - 2 * fontHeight;
    DrawWrappedCaption(DrawParams, DrawParams->DescriptionText, 2, 0,
                       TRect(r.Left, top, R.Right - textSize, r.Bottom));
    r.Bottom = top;
  }
  DrawItemText(control, dc, DT_SINGLELINE, flat, false, false, selected, DrawParams->DrawEnabled, 0, r,
               DrawParams->CaptionText);
  if (control && control->ShowsShortCut() && !DrawParams->ShortCutText.empty()) {
    TRect s = r;
    s.Right -= textSize + 5;
    DrawItemText(control, dc, DT_SINGLELINE | DT_NOPREFIX, flat, false, false, selected, DrawParams->DrawEnabled,
                 DT_RIGHT, s, DrawParams->ShortCutText);
  }
}

void TdxBarPainter::DrawWrappedCaption(TdxBarButtonLikeControlDrawParams* DrawParams, const std::string& Text,
                                       int LineLimit, UINT Flags, const TRect& R) const {
  HDC dc = DCOf(DrawParams);
  if (!dc) return;
  std::vector<std::string> lines;
  {
    std::string line, word;
    auto width = [&](const std::string& s) { return MeasureTextSize(dc, s).cx; };
    std::vector<std::string> words;
    std::string w;
    for (char ch : Text) {
      if (ch == ' ') {
        if (!w.empty()) words.push_back(w);
        w.clear();
      } else {
        w += ch;
      }
    }
    if (!w.empty()) words.push_back(w);
    for (const std::string& each : words) {
      std::string next = line.empty() ? each : line + " " + each;
      if (!line.empty() && width(next) > R.Width()) {
        lines.push_back(line);
        line = each;
      } else {
        line = next;
      }
    }
    if (!line.empty()) lines.push_back(line);
  }
  if (LineLimit > 1 && int(lines.size()) > LineLimit) {
    std::string rest = Text.substr(std::min(Text.size(), Text.find(lines[0]) + lines[0].size()));
    size_t b = rest.find_first_not_of(' '), e = rest.find_last_not_of(' ');
    rest = b == std::string::npos ? std::string() : rest.substr(b, e - b + 1);
    lines = {lines[0], rest};
  }
  TdxBarItemControl* control = DrawParams->Control();
  int step = DCFontHeight(dc);
  TRect r = R;
  for (const std::string& line : lines) {
    DrawItemText(control, dc, Flags | DT_SINGLELINE | DT_END_ELLIPSIS, control ? control->PaintsFlat() : true,
                 false, false, DrawParams->Highlighted, DrawParams->DrawEnabled, 0,
                 TRect(r.Left, r.Top, r.Right, r.Top + step), line);
    r.Top += step;
  }
}

// ---- separators, statics and progress bars

void TdxBarPainter::DrawBarSeparator(TCustomdxBarControl* BarControl, HDC DC, bool Horizontal, HBRUSH Brush,
                                     const TRect& R) const {
  int m = BarSeparatorMargin();
  auto fill = [&](const TRect& Part) {
    if (BarControl)
      BarControl->DrawBackground(DC, Part, true, clNone, Brush);
    else if (Brush)
      FillWithBrush(DC, Part, Brush);
  };
  TRect line = R;
  if (Horizontal) {
    fill(TRect(R.Left, R.Top, R.Right, R.Top + m));
    fill(TRect(R.Left, R.Bottom - m, R.Right, R.Bottom));
    line.Top += m;
    line.Bottom -= m;
    Edge(DC, line, EDGE_ETCHED, BF_TOP);
  } else {
    fill(TRect(R.Left, R.Top, R.Left + m, R.Bottom));
    fill(TRect(R.Right - m, R.Top, R.Right, R.Bottom));
    line.Left += m;
    line.Right -= m;
    Edge(DC, line, EDGE_ETCHED, BF_LEFT);
  }
}

void TdxBarPainter::DrawSeparatorOnCanvas(TCustomdxBarControl* BarControl, TcxCanvas* Canvas, bool Horizontal,
                                          HBRUSH Brush, const TRect& R) const {
  DrawBarSeparator(BarControl, Canvas->CurrentDC(), Horizontal, Brush, R);
}

TRect TdxBarPainter::MenuSeparatorRect(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control,
                                       const TRect& ItemRect) const {
  int bottom = ItemRect.Top;
  if (Control && Control->LessUsed && Control->StartsLessUsedBand) --bottom;
  return TRect(ItemRect.Left, bottom - MenuSeparatorSize(), ItemRect.Right, bottom);
}

void TdxBarPainter::DrawMenuSeparator(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control, const TRect& R,
                                      TcxCanvas* Canvas) const {
  HDC dc = Canvas->CurrentDC();
  TCustomdxBarControl* bar = BarOf(Control);
  HBRUSH brush = bar && bar->BackgroundBrush() ? bar->BackgroundBrush() : MenuBrush(bar);
  if (NonRecent(Control) && !Control->StartsLessUsedBand) {
    TRect band = R;
    if (!MenuHasSideBand()) band.Left -= 1;
    band.Right += 2;
    FillControlBackground(Control, dc, true, brush, band);
  } else {
    FillControlBackground(Control, dc, false, brush, R);
  }
  TRect line = R.Inflate(-MenuBeginGroupIndent(), -4);
  Edge(dc, line, EDGE_ETCHED, BF_TOP);
  // In a menu window the band stays out of the background fill that ends its painting.
  if (SubMenu) ExcludeRect(dc, R);
}

void TdxBarPainter::DrawSeparatorCaption(TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R) const {
  DrawStaticContent(DrawParams, R);
}

void TdxBarPainter::DrawSeparatorItem(TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R) const {
  HDC dc = DCOf(DrawParams);
  if (!dc) return;
  TdxBarItemControl* control = DrawParams->Control();
  if (DrawParams->ShownParts & 2) {
    int h = SeparatorLineHeight();
    TRect r = R;
    if (!DrawParams->FirstShown) {
      DrawSeparatorItemLine(DrawParams->DrawCanvas, TRect(R.Left, R.Top, R.Right, R.Top + h));
      r.Top += h;
    }
    DrawSeparatorItemLine(DrawParams->DrawCanvas, TRect(R.Left, R.Bottom - h, R.Right, R.Bottom));
    r.Bottom -= h;
    DrawSeparatorCaption(DrawParams, r);
    return;
  }
  TCustomdxBarControl* bar = BarOf(control);
  if (DrawParams->PaintKind == 1)
    DrawMenuSeparator(nullptr, control, R, DrawParams->DrawCanvas);
  else
    DrawBarSeparator(bar, dc, VerticalBar(bar), bar ? bar->BackgroundBrush() : BarBrush(nullptr), R);
}

bool TdxBarPainter::StaticHasOwnColor(TdxBarStaticLikeControlDrawParams* DrawParams) const {
  return DrawParams->Control() && DrawParams->Control()->HasOwnBackground();
}

void TdxBarPainter::DrawStaticBackground(TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) const {
  TdxBarItemControl* control = DrawParams->Control();
  TCustomdxBarControl* bar = BarOf(control);
  HBRUSH brush = control && control->BackgroundBrush() ? control->BackgroundBrush()
                                                       : (bar ? bar->BackgroundBrush() : BarBrush(nullptr));
  FillControlBackground(control, DCOf(DrawParams), StaticHasOwnColor(DrawParams), brush, R);
}

void TdxBarPainter::DrawStaticBorder(TdxBarStaticLikeControlDrawParams* DrawParams, TRect& R) const {
  auto style = TdxBarStaticBorderStyle(std::clamp(DrawParams->BorderStyle, 0, 4));
  HDC dc = DCOf(DrawParams);
  switch (style) {
    case sbsNone: return;
    case sbsLowered: Edge(dc, R, BDR_SUNKENOUTER, BF_RECT); break;
    case sbsRaised: Edge(dc, R, BDR_RAISEDINNER, BF_RECT); break;
    case sbsEtched: Edge(dc, R, EDGE_ETCHED, BF_RECT); break;
    case sbsBump:
      Edge(dc, R, BDR_RAISEDINNER, BF_RECT);
      Edge(dc, R.Inflate(-1, -1), BDR_SUNKENOUTER, BF_RECT);
      break;
  }
  TRect o = StaticBorderOffsets(style);
  R = TRect(R.Left + o.Left, R.Top + o.Top, R.Right - o.Right, R.Bottom - o.Bottom);
}

void TdxBarPainter::DrawStaticContent(TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) const {
  HDC dc = DCOf(DrawParams);
  if (!dc) return;
  DrawStaticBackground(DrawParams, R);
  TdxBarItemControl* control = DrawParams->Control();
  TCustomdxBarControl* bar = BarOf(control);
  int paint = DrawParams->PaintKind;
  TRect text = R;
  bool glyph = (DrawParams->ShownParts & 1) != 0;
  if (glyph) {
    TRect icon = R;
    if (paint == 1) {
      icon = MenuItemIconRect(R, bar ? bar->IconAreaWidth() : R.Height());
      text.Left = icon.Right + 2;
    } else if (paint == 2) {
      icon.Bottom = icon.Top + DrawParams->GlyphExtent.cy;
      text.Top = icon.Bottom + 2;
    } else {
      icon.Right = icon.Left + DrawParams->GlyphExtent.cx;
      text.Left = icon.Right + 2;
    }
    DrawItemGlyph(control, dc, paint, false, false, false, false, false, false, false, text, icon);
  }
  if (!(DrawParams->ShownParts & 2)) return;
  UINT align = AlignmentCode(DrawParams->Alignment);
  if (!glyph && align != DT_CENTER) {
    int indent = (bar ? bar->TextSize() : ReferenceTextSize()) / 4;
    if (paint == 2) {
      text.Top += indent;
      if (align == DT_RIGHT) text.Bottom -= indent - 2;
    } else {
      text.Left += indent;
      if (align == DT_RIGHT) text.Right -= indent - 2;
    }
  }
  DrawItemText(control, dc, DT_SINGLELINE, control ? control->PaintsFlat() : true, true, paint == 2, false,
               DrawParams->DrawEnabled, int(align), text, DrawParams->CaptionText);
}

void TdxBarPainter::DrawStatic(TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) const {
  TRect r = R;
  DrawStaticBorder(DrawParams, r);
  DrawStaticContent(DrawParams, r);
}

void TdxBarPainter::FillProgressBackground(TdxBarProgressControlDrawParams* DrawParams, const TRect& R) const {
  TCustomdxBarControl* bar = BarOf(DrawParams->Control());
  FillControlBackground(DrawParams->Control(), DCOf(DrawParams), false,
                        bar ? bar->BackgroundBrush() : BarBrush(nullptr), R);
}

void TdxBarPainter::FillProgressRect(TdxBarProgressControlDrawParams* DrawParams, const TRect& R,
                                     HBRUSH Brush) const {
  FillWithBrush(DCOf(DrawParams), R, Brush);
}

void TdxBarPainter::DrawProgressChunks(TdxBarProgressControlDrawParams* DrawParams, const TRect& R,
                                       HBRUSH Brush) const {
  bool vertical = DrawParams->PaintKind == 2;
  int thickness = vertical ? R.Width() : R.Height();
  int chunk = MulDiv(thickness, 2, 3);
  if (chunk <= 0) return;
  const int gap = 2;
  if (vertical) {
    for (int y = R.Top; y < R.Bottom; y += chunk + gap)
      DrawProgressChunk(DrawParams, TRect(R.Left, y, R.Right, std::min(y + chunk, R.Bottom)), Brush);
  } else {
    for (int x = R.Left; x < R.Right; x += chunk + gap)
      DrawProgressChunk(DrawParams, TRect(x, R.Top, std::min(x + chunk, R.Right), R.Bottom), Brush);
  }
}

void TdxBarPainter::DrawProgressBar(TdxBarProgressControlDrawParams* DrawParams, const TRect& R,
                                    TColor Color) const {
  FillProgressBackground(DrawParams, R);
  int range = DrawParams->Max - DrawParams->Min;
  // An empty range shows the background alone; a position outside the range counts as its end.
  if (range <= 0) return;
  int position = std::clamp(DrawParams->Position, DrawParams->Min, DrawParams->Max) - DrawParams->Min;
  const TRect content = ProgressBarContentRect(DrawParams, R);
  TRect filled = content;
  if (DrawParams->PaintKind == 2)
    filled.Bottom = content.Top + MulDiv(content.Height(), position, range);
  else
    filled.Right = content.Left + MulDiv(content.Width(), position, range);
  if (filled.IsEmpty()) return;
  if (Color == clDefault) Color = ProgressBarDefaultColor();
  TTempObject brush(CreateSolidBrush(RGBOf(Color)));
  if (DrawParams->Smooth)
    FillProgressRect(DrawParams, filled, static_cast<HBRUSH>(brush.Handle()));
  else
    DrawProgressChunks(DrawParams, filled, static_cast<HBRUSH>(brush.Handle()));
}

// ---- edit colours

TColor TdxBarPainter::EditDisabledBackgroundColor(TdxBarItemControl* EditControl) const {
  TCustomdxBarControl* bar = BarOf(EditControl);
  HBRUSH brush = bar && bar->BackgroundBrush() ? bar->BackgroundBrush() : BarBrush(bar);
  LOGBRUSH lb{};
  if (brush && GetObject(brush, sizeof(lb), &lb) && lb.lbStyle == BS_SOLID) return TColor(lb.lbColor);
  return TColor(GetSysColor(COLOR_BTNFACE));
}

TColor TdxBarPainter::EditColor(TdxBarEditLikeControlDrawParams* DrawParams) const {
  if (!DrawParams->DrawEnabled) return EditDisabledBackgroundColor(DrawParams->Control());
  return EditBackgroundColor(DrawParams->Control());
}

TColor TdxBarPainter::EditTextColor(TdxBarItemControl* EditControl) const {
  if (EditControl && !EditControl->IsEnabled()) return EditTextColorDisabled();
  return EditTextColorEnabled();
}

void TdxBarPainter::EditColors(TdxBarItemControl* EditControl, TColor& TextColor, TColor& BackgroundColor) const {
  TextColor = EditTextColor(EditControl);
  bool enabled = !EditControl || EditControl->IsEnabled();
  BackgroundColor = enabled ? EditBackgroundColor(EditControl) : EditDisabledBackgroundColor(EditControl);
}

// ---- bars

TRect TdxBarPainter::FloatingCaptionRect(TCustomdxBarControl* BarControl, const TRect& NCRect) const {
  int top = NCRect.Top + FloatingFrameHeight();
  return TRect(NCRect.Left + FloatingFrameWidth(), top, NCRect.Right - FloatingFrameWidth(),
               top + SmallCaptionHeight());
}

TRect TdxBarPainter::BarBorderSizes(TdxBar* Bar, TdxBarDockingStyle Style, bool WithSizeGrip) const {
  if (Style == dsNone) {
    int w = FloatingFrameWidth(), h = FloatingFrameHeight();
    TRect r(w, h, w, h);
    TdxBarControl* c = Bar ? Bar->BarControl() : nullptr;
    if (c && c->HasFloatingCaption()) {
      r.Left += FloatingFrameExtraX();
      r.Right += FloatingFrameExtraX();
      r.Top += FloatingCaptionHeight(c) + FloatingFrameExtraTop();
      r.Bottom += FloatingFrameExtraBottom();
    }
    return r;
  }
  if (Bar && Bar->BorderStyle() == bbsNone) {
    TRect r;
    if (Bar->IsBottomWholeRowBar()) {
      const TRect m = BottomBarMargins();
      r = TRect(m.Left, StatusBarTopBorder(Bar) + m.Top, m.Right, m.Bottom);
      if (WithSizeGrip) r.Right += SizeGripSize(Bar->BarManager()).cx;
    }
    return r;
  }
  TRect r = DockedBorderRect(Bar, Style);
  // The grip lies in the border before the client area; the main menu has none. The style is
  // passed in (it may be one the bar is about to take), so the bar's own settings decide here.
  const int grip = Bar && !Bar->IsMainMenu() ? GripSizeWithBorder(Bar->BarControl()) : GripSize();
  if (Style == dsTop || Style == dsBottom)
    r.Left += grip;
  else
    r.Top += grip;
  return r;
}

void TdxBarPainter::DrawBarWallpaper(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                                     const TRect& R, const TRect& OriginRect) const {
  TdxBarManager* m = ManagerOf(BarControl);
  FillRectWithBackground(DC, R, OriginRect, m ? m->Backgrounds()->Bar() : nullptr, Color, Brush);
}

// The manager drew its painter while visual styles were usable and the painter draws themed.
static bool DrawsThemed(const TdxBarPainter& Painter, TdxBarManager* Manager) {
  return Painter.UsesThemedBackground() && Manager && Manager->ThemesAvailable();
}

void TdxBarPainter::FillBottomBarBackground(TCustomdxBarControl* BarControl, HDC DC, const TRect& R, TColor Color,
                                            HBRUSH Brush) const {
  if (DrawsThemed(*this, ManagerOf(BarControl)))
    TdxBarXPPainter::XPDrawStatusBackground(BarControl, DC, R, R);
  else
    FillRectWithBackground(DC, R, R, nullptr, Color, Brush);
}

void TdxBarPainter::DrawBarBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                                      const TRect& ItemRect, const TRect& OriginRect) const {
  TBitmap* own = BarControl ? BarControl->BackgroundBitmap() : nullptr;
  if (own && !own->Empty()) {
    FillRectWithBackground(DC, ItemRect, OriginRect, own, Color, Brush);
    return;
  }
  TdxBarManager* m = ManagerOf(BarControl);
  TBitmap* wallpaper = m ? m->Backgrounds()->Bar() : nullptr;
  if (BarControl && BarControl->IsStatusBarLike() && (!wallpaper || wallpaper->Empty())) {
    TRect client = BarControl->ClientBounds();
    FillBottomBarBackground(BarControl, DC, TRect(0, 0, client.Width(), client.Height()), Color, Brush);
    return;
  }
  DrawBarWallpaper(BarControl, DC, Color, Brush, ItemRect, OriginRect);
}

void TdxBarPainter::FillDockBackground(TdxDockControl* DockControl, HDC DC, TColor Color, HBRUSH Brush,
                                       const TRect& R, const TRect& OriginRect) const {
  FillRectWithBackground(DC, R, OriginRect, nullptr, Color, Brush);
}

bool TdxBarPainter::FlatBarFlag(TCustomdxBarControl* BarControl) const {
  return ArrowPartFlatA() && BarControl && BarControl->DockingStyle() == dsNone;
}

bool TdxBarPainter::FlatBarFlagDeep(TCustomdxBarControl* BarControl) const { return FlatBarFlag(BarControl); }

HBRUSH TdxBarPainter::ManagerBarBrush(TdxBarManager* Manager) const { return BarBrush(nullptr); }

void TdxBarPainter::FillFloatingCaption(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                        const TRect& R) const {
  FillWithBrush(DC, R, Brush);
}

void TdxBarPainter::DrawCloseButtonBackground(TCustomdxBarControl* BarControl, HDC DC, int State,
                                              const TRect& R) const {
  if (State == 0) {
    FillWithColor(DC, R, RGBOf(FloatingCaptionColor(BarControl, BarControl && BarControl->IsActive())));
    return;
  }
  FrameSelection(DC, R);
  FillWithBrush(DC, R.Inflate(-1, -1), State == 1 ? SelectionBrush(BarControl) : MenuBrush(BarControl));
}

void TdxBarPainter::DrawFloatingCaption(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                        const TRect& CaptionRect) const {
  FillWithBrush(DC, TRect(CaptionRect.Left, CaptionRect.Bottom, CaptionRect.Right, CaptionRect.Bottom + 1), Brush);
  bool filled = FloatingCaptionFilled();
  if (filled) FillFloatingCaption(BarControl, DC, Brush, CaptionRect);
  if (CaptionRect.IsEmpty()) return;
  TdxBar* bar = BarControl && BarControl->ItemLinks() ? dynamic_cast<TdxBar*>(BarControl->ItemLinks()->LinksOwner())
                                                     : nullptr;
  std::string text = bar ? bar->Caption() : std::string();
  // The bar's font face, at least 11 pixels high, unless the system caption font is asked for.
  NONCLIENTMETRICS metrics;
  metrics.cbSize = 340;
  SystemParametersInfo(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0);
  LOGFONT lf = metrics.lfSmCaptionFont;
  TdxBarManager* m = ManagerOf(BarControl);
  if (!(m && m->UseSystemFont())) {
    LOGFONT current{};
    GetObject(GetCurrentObject(DC, OBJ_FONT), sizeof(current), &current);
    if (current.lfFaceName[0]) std::memcpy(lf.lfFaceName, current.lfFaceName, sizeof(lf.lfFaceName));
    lf.lfHeight = -std::max(11, std::abs(int(current.lfHeight)));
  }
  TTempObject font(CreateFontIndirect(&lf));
  TSelection select(DC, font.Handle());
  COLORREF oldText = SetTextColor(DC, RGBOf(FloatingCaptionTextColor(BarControl)));
  COLORREF oldBack = SetBkColor(DC, RGBOf(FloatingCaptionColor(BarControl, BarControl && BarControl->IsActive())));
  int oldMode = SetBkMode(DC, filled ? TRANSPARENT : OPAQUE);
  TEXTMETRIC tm;
  GetTextMetrics(DC, &tm);
  RECT clip = CaptionRect;
  int y = CaptionRect.Top + (CaptionRect.Height() - tm.tmHeight) / 2;
  ExtTextOut(DC, CaptionRect.Left + 2, y, ETO_CLIPPED | (filled ? 0 : ETO_OPAQUE), &clip, text, nullptr);
  SetBkMode(DC, oldMode);
  SetBkColor(DC, oldBack);
  SetTextColor(DC, oldText);
}

TRect TdxBarPainter::MarkRect(TCustomdxBarControl* BarControl) const {
  TRect c = BarControl->ClientBounds();
  int size = MarkSize(BarControl);
  if (VerticalBar(BarControl)) return TRect(0, c.Height() - size, c.Width(), c.Height());
  return TRect(c.Width() - size, 0, c.Width(), c.Height());
}

void TdxBarPainter::InvalidateMark(TCustomdxBarControl* BarControl) const {
  if (!BarControl || !BarControl->HandleAllocated()) return;
  RECT r = MarkRect(BarControl);
  InvalidateRect(BarControl->Handle(), &r, FALSE);
}

void TdxBarPainter::DrawMark(TCustomdxBarControl* BarControl, TcxCanvas* Canvas, HBRUSH Brush,
                             const TRect& R) const {
  HDC dc = Canvas->CurrentDC();
  DrawMarkBackground(BarControl, dc, Brush, R);
  DrawMarkContents(BarControl, dc, R);
}

void TdxBarPainter::DrawMarkContents(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  bool vertical = VerticalBar(BarControl);
  if (AllowsQuickCustomizing()) {
    COLORREF color = SysColor(MarkSignColorIndex(BarControl));
    if (!vertical) {
      int x = R.Left + 3, y = R.Bottom - 7 + (IsMarkAreaSmall(BarControl, R) ? 1 : 0);
      POINT p[3] = {{x, y}, {x + 4, y}, {x + 2, y + 2}};
      FillPolygonWithColor(DC, p, 3, color);
    } else {
      int x = R.Left + 5, y = R.Top + 3;
      POINT p[3] = {{x, y}, {x, y + 4}, {x - 2, y + 2}};
      FillPolygonWithColor(DC, p, 3, color);
    }
  }
  if (BarControl && BarControl->HasHiddenItems()) {
    int start = vertical ? R.Top : R.Left;
    DrawMarkChevrons(BarControl, DC, start + 2, R);
    DrawMarkChevrons(BarControl, DC, start + 6, R);
  }
}

void TdxBarPainter::DrawSizeGrip(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
  if (DrawsThemed(*this, ManagerOf(BarControl)))
    TdxBarXPPainter::XPDrawSizeGrip(DC, R);
  else
    DrawTransparentSizeGrip(DC, R);
}

TSize TdxBarPainter::SizeGripSize(TdxBarManager* Manager) const {
  if (DrawsThemed(*this, Manager)) return TdxBarXPPainter::XPSizeGripExtent();
  return TSize{GetSystemMetrics(SM_CXHSCROLL), GetSystemMetrics(SM_CYHSCROLL)};
}

void TdxBarPainter::DrawBarSizeGrip(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
  TRect m = BottomBarMargins();
  TRect content(R.Left + m.Left, R.Top + m.Top, R.Right - m.Right, R.Bottom - m.Bottom);
  TSize size = SizeGripSize(ManagerOf(BarControl));
  TRect column(content.Right - size.cx, content.Top, content.Right, content.Bottom);
  if (BarControl)
    BarControl->DrawBackground(DC, column, true, clNone, Brush);
  else
    FillWithBrush(DC, column, Brush);
  DrawSizeGrip(BarControl, DC, Brush,
               TRect(content.Right - size.cx, content.Bottom - size.cy, content.Right, content.Bottom));
}

void TdxBarPainter::FillBarTopStrip(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
  TRect strip(R.Left, R.Top, R.Right, R.Top + StatusBarTopBorder(nullptr));
  if (BarControl)
    BarControl->DrawBackground(DC, strip, true, clNone, Brush);
  else
    FillWithBrush(DC, strip, Brush);
}

// ---- sub-menus

void TdxBarPainter::DrawMenuBorder(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
  HBRUSH face = SysBrush(COLOR_BTNFACE);
  FillWithBrush(DC, TRect(R.Left, R.Top, R.Left + 1, R.Bottom - 1), face);
  FillWithBrush(DC, TRect(R.Left + 1, R.Top, R.Right - 1, R.Top + 1), face);
  Edge(DC, R, BDR_RAISEDOUTER, BF_RIGHT | BF_BOTTOM);
}

void TdxBarPainter::DrawMenuFrame(TdxBarSubMenuControl* SubMenu, HDC DC, HBRUSH Brush, const TRect& R) const {
  Edge(DC, R, BDR_RAISEDINNER, BF_RECT);
  FrameWithBrush(DC, R.Inflate(-1, -1), Brush);
}

void TdxBarPainter::DrawDetachCaption(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
  FillWithBrush(DC, R, SysBrush(COLOR_INACTIVECAPTION));
}

// ---- edits, combos, spin edits and colour combos

namespace {

TCustomdxBarControl* BarOfParams(TdxBarItemControlDrawParams* DrawParams) { return BarOf(DrawParams->Control()); }

HBRUSH BarBackgroundBrush(const TdxBarPainter& Painter, TCustomdxBarControl* Bar) {
  return Bar && Bar->BackgroundBrush() ? Bar->BackgroundBrush() : Painter.BarBrush(Bar);
}

TRect PartOf(TdxBarItemControlDrawParams* DrawParams, size_t Index) {
  TdxBarItemControl* c = DrawParams->Control();
  if (!c || c->PartRects().size() <= Index) return TRect();
  return c->PartRects()[Index];
}

int ControlWidth(TdxBarItemControlDrawParams* DrawParams, const TRect& Fallback) {
  TdxBarItemControl* c = DrawParams->Control();
  return c && c->Link() ? c->ItemBoundsOf().Width() : Fallback.Width();
}

}  // namespace

int TdxBarPainter::EditGlyphIndent(TdxBarEditLikeControlDrawParams* DrawParams) const {
  if (!(DrawParams->ShownParts & 1)) return EditNoGlyphIndent();
  return DrawParams->PaintKind == 1 ? EditMenuGlyphIndent() : 0;
}

TRect TdxBarPainter::EditCaptionMargins(TdxBarEditLikeControlDrawParams* DrawParams, int Part) const {
  if (Part == 1) {
    if (DrawParams->PaintKind == 1) return EditMenuCaptionMargins();
    return TRect(EditGlyphIndent(DrawParams), 0, EditCaptionGap(), 0);
  }
  TdxBarManager* m = ManagerOf(DrawParams->Control());
  int glyph = m ? m->ImageOptions()->GlyphSize() : 16;
  return TRect((DrawParams->GlyphExtent.cx - glyph) / 2, 0, 4, 0);
}

void TdxBarPainter::CalcEditPartRects(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& ItemRect,
                                      std::vector<TRect>& PartRects) const {
  if (PartRects.size() < 3) PartRects.resize(3);
  TRect m = EditFrameMargins(DrawParams->PaintKind);
  TdxBarItemControl* control = DrawParams->Control();
  bool glyph = (DrawParams->ShownParts & 1) != 0;
  int x = ItemRect.Left;
  if (glyph && DrawParams->PaintKind != 1) x += m.Left;
  int glyphWidth = glyph && control ? control->GlyphPartWidth() : 0;
  int captionWidth = (DrawParams->ShownParts & 2) && control ? control->CaptionWidth() : 0;
  PartRects[1] = TRect(x, ItemRect.Top, x + glyphWidth, ItemRect.Bottom);
  PartRects[2] = TRect(PartRects[1].Right, ItemRect.Top, PartRects[1].Right + captionWidth, ItemRect.Bottom);
  // The frame of the value area follows the glyph and the caption.
  PartRects[0] = TRect(std::max(ItemRect.Left + m.Left, PartRects[2].Right), ItemRect.Top + m.Top,
                       ItemRect.Right - m.Right, ItemRect.Bottom - m.Bottom);
}

void TdxBarPainter::NarrowEditCaptionPart(TdxBarEditLikeControlDrawParams* DrawParams,
                                          std::vector<TRect>& PartRects) const {
  if (PartRects.size() < 2) return;
  int x = PartRects[1].Right - EditMinTextWidth();
  PartRects[0].Right = x;
  PartRects[1].Left = x;
}

void TdxBarPainter::CalcComboPartRects(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R,
                                       std::vector<TRect>& PartRects) const {
  if (PartRects.size() < 4) PartRects.resize(4);
  TRect m = EditMargins(DrawParams->PaintKind);
  TRect content(R.Left + m.Left, R.Top + m.Top, R.Right - m.Right, R.Bottom - m.Bottom);
  int zero = DrawParams->DrawCanvas ? DrawParams->DrawCanvas->MeasureTextWidth("0") : 7;
  int w = ComboArrowWidth(BarOfParams(DrawParams), zero);
  PartRects[3] = TRect(content.Right - w, content.Top, content.Right, content.Bottom);
  PartRects[0].Right = PartRects[3].Left - ComboButtonInset(DrawParams);
}

TRect TdxBarPainter::CalcEllipsisButtonRect(TdxBarColorComboControlDrawParams* DrawParams,
                                            const TRect& ItemRect) const {
  TRect empty(ItemRect.Right, ItemRect.Top, ItemRect.Right, ItemRect.Bottom);
  if (!DrawParams->ShowCustomColorButton) return empty;
  TRect m = ColorBoxMargins(DrawParams->PaintKind);
  int w = EllipsisButtonWidth(DrawParams->PaintKind, ItemRect) + m.Left + m.Right;
  if (2 * w >= ControlWidth(DrawParams, ItemRect)) return empty;
  return TRect(ItemRect.Right - w + m.Left, ItemRect.Top + m.Top, ItemRect.Right - m.Right, ItemRect.Bottom - m.Bottom);
}

bool TdxBarPainter::HasColorBox(TdxBarColorComboControlDrawParams* DrawParams) const {
  return PartOf(DrawParams, 4).Width() > 0;
}

void TdxBarPainter::AdjustColorComboRect(TdxBarColorComboControlDrawParams* DrawParams, TRect& R) const {
  if (ColorComboFlag() && HasColorBox(DrawParams))
    R.Right = PartOf(DrawParams, 4).Right + ColorBoxMargins(DrawParams->PaintKind).Right;
}

void TdxBarPainter::CalcColorComboPartRects(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R,
                                            std::vector<TRect>& PartRects) const {
  if (PartRects.size() < 5) PartRects.resize(5);
  PartRects[4] = CalcEllipsisButtonRect(DrawParams, R);
  bool box = PartRects[4].Width() > 0;
  int right = PartRects[4].Left;
  if (box) right -= ColorBoxMargins(DrawParams->PaintKind).Left;
  TRect m = EditMargins(DrawParams->PaintKind);
  if (!(ColorComboFlag() && box)) right -= m.Right;
  CalcComboPartRects(DrawParams, TRect(R.Left, R.Top, right + m.Right, R.Bottom), PartRects);
}

TRect TdxBarPainter::CalcSpinButtonRect(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, int Button) const {
  TRect m = SpinButtonMargins(DrawParams->PaintKind);
  int w = SpinButtonsWidth(DrawParams->PaintKind, R) + m.Left + m.Right;
  if (2 * w >= ControlWidth(DrawParams, R)) return TRect(R.Right, R.Top, R.Right, R.Top);
  TRect column(R.Right - w + m.Left, R.Top + m.Top, R.Right - m.Right, R.Bottom - m.Bottom);
  int half = column.Height() / 2;
  if (Button == 1) return TRect(column.Left, column.Top, column.Right, column.Top + half);
  return TRect(column.Left, column.Top + half, column.Right, column.Bottom);
}

void TdxBarPainter::CalcSpinEditPartRects(TdxBarSpinEditDrawParams* DrawParams, const TRect& R,
                                          std::vector<TRect>& PartRects) const {
  if (PartRects.size() < 5) PartRects.resize(5);
  PartRects[3] = CalcSpinButtonRect(DrawParams, R, 1);
  PartRects[4] = CalcSpinButtonRect(DrawParams, R, 2);
  PartRects[0].Right = PartRects[3].Left - EditFrameMargins(DrawParams->PaintKind).Right -
                       SpinButtonMargins(DrawParams->PaintKind).Left;
}

void TdxBarPainter::AdjustSpinEditRect(TdxBarSpinEditDrawParams* DrawParams, TRect& R) const {
  TRect first = PartOf(DrawParams, 3);
  if (!first.IsEmpty()) R.Right = first.Left - SpinButtonMargins(DrawParams->PaintKind).Left;
}

int TdxBarPainter::SpinButtonState(TdxBarSpinEditDrawParams* DrawParams, int Button) const {
  if (!DrawParams->DrawEnabled) return 4;
  if (DrawParams->PressedButton == Button) return 3;
  if (DrawParams->HotPart == Button + 2) return 2;
  return 1;
}

TPoint TdxBarPainter::SpinArrowPosition(TdxBarSpinEditDrawParams* DrawParams, const TRect& ButtonRect,
                                        TcxArrowDirection Direction) const {
  TSize arrow = SpinButtonSizes(2 * ButtonRect.Height());
  int x = ButtonRect.Left + (ButtonRect.Width() - arrow.cx) / 2;
  int y = (ButtonRect.Top + ButtonRect.Bottom - arrow.cy) / 2;
  if (Direction == adUp) y += arrow.cy - 1;
  int button = Direction == adUp ? 1 : 2;
  if (DrawParams->PressedButton == button) {
    ++x;
    ++y;
  }
  return TPoint(x, y);
}

void TdxBarPainter::DrawSpinArrow(TdxBarSpinEditDrawParams* DrawParams, TPoint Position,
                                  TcxArrowDirection Direction) const {
  HDC dc = DCOf(DrawParams);
  TRect button = PartOf(DrawParams, Direction == adUp ? 3 : 4);
  // The spin edit's arrow size, else the one its button's height gives.
  int a = DrawParams->ButtonSizes[0].cy > 0 ? DrawParams->ButtonSizes[0].cy
                                           : SpinButtonSizes(2 * std::max(button.Height(), 8)).cy;
  if (a <= 0) return;
  auto triangle = [&](int Shift, COLORREF Color) {
    int x = Position.X + Shift, y = Position.Y + Shift, apex = Direction == adUp ? -(a - 1) : a - 1;
    POINT p[3] = {{x, y}, {x + 2 * a - 2, y}, {x + a - 1, y + apex}};
    FillPolygonWithColor(dc, p, 3, Color);
  };
  if (DrawParams->DrawEnabled) {
    triangle(0, SysColor(COLOR_BTNTEXT));
  } else {
    triangle(1, SysColor(COLOR_BTNHIGHLIGHT));
    triangle(0, SysColor(COLOR_BTNSHADOW));
  }
}

void TdxBarPainter::DrawSpinButton(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, int Button) const {
  int state = SpinButtonState(DrawParams, Button);
  DrawButtonFace(DrawParams->Control(), DCOf(DrawParams), state == 3, state == 2 || state == 3,
                 DrawParams->DrawEnabled, R);
  TcxArrowDirection direction = Button == 1 ? adUp : adDown;
  DrawSpinArrow(DrawParams, SpinArrowPosition(DrawParams, R, direction), direction);
}

void TdxBarPainter::FillSpinEditBackground(TdxBarSpinEditDrawParams* DrawParams, const TRect& R) const {
  FillControlBackground(DrawParams->Control(), DCOf(DrawParams), false,
                        BarBackgroundBrush(*this, BarOfParams(DrawParams)), R);
}

HBRUSH TdxBarPainter::ComboButtonBrush(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return ItemBackgroundBrush(DrawParams->Control(), DrawParams->PaintKind, !(DrawParams->ShownParts & 1),
                             DrawParams->Highlighted, false, DrawParams->DrawEnabled);
}

void TdxBarPainter::DrawComboArrow(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R, TColor Color,
                                   int Size) const {
  if (!IsFlat() && !DrawParams->DrawEnabled) Color = clDefault;
  DrawArrowTriangle(DCOf(DrawParams), R, true, Size, false, DrawParams->DrawEnabled, IsFlat(), Color);
}

void TdxBarPainter::DrawComboButton(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R,
                                    bool Pressed) const {
  TRect r = R;
  DrawSimpleComboButton(DrawParams, r, ComboButtonBrush(DrawParams));
  int size = r.Width() / 4;
  if (size % 2 == 0) ++size;
  DrawComboArrow(DrawParams, r, ComboArrowColor(DrawParams), size);
}

void TdxBarPainter::DrawEllipsisDot(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
  HDC dc = DCOf(DrawParams);
  if (!DrawParams->DrawEnabled) {
    FillDisabledShadow(DrawParams->Control(), dc, R);
    return;
  }
  bool inverse = IsBtnFaceWhite() && DrawParams->Highlighted;
  FillWithBrush(dc, R, SysBrush(inverse ? COLOR_BTNFACE : COLOR_BTNTEXT));
}

void TdxBarPainter::DrawEllipsisDots(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
  int w = R.Width() / 7;
  if (w <= 0) return;
  TRect dot(R.Left, R.Bottom - w, R.Left + w, R.Bottom);
  dot = dot.Offset((R.Width() - 5 * w) / 2, -EllipsisDotLift(w));
  OffsetWhenDown(DrawParams->PressedLook, dot);
  for (int i = 0; i < 3; ++i) DrawEllipsisDot(DrawParams, dot.Offset(2 * w * i, 0));
}

void TdxBarPainter::DrawEllipsisButton(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
  DrawButtonFace(DrawParams->Control(), DCOf(DrawParams), DrawParams->PressedLook, DrawParams->Highlighted,
                 DrawParams->DrawEnabled, R);
  DrawEllipsisDots(DrawParams, R);
}

void TdxBarPainter::DrawColorBoxFrame(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
  HDC dc = DCOf(DrawParams);
  FrameWithBrush(dc, R, SysBrush(COLOR_BTNSHADOW));
  FrameWithBrush(dc, R.Inflate(0, -1), SysBrush(COLOR_BTNSHADOW));
}

bool TdxBarPainter::EditDrawsSelected(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return DrawParams->Highlighted;
}

bool TdxBarPainter::EditCaptionSelected(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return DrawParams->PaintKind == 1 && (DrawParams->Highlighted || NonRecent(DrawParams->Control()));
}

bool TdxBarPainter::EditCaptionNonRecent(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return DrawParams->PaintKind == 1 && NonRecent(DrawParams->Control());
}

HBRUSH TdxBarPainter::EditBarBrush(TdxBarItemControl* Control) const {
  return BarBackgroundBrush(*this, BarOf(Control));
}

void TdxBarPainter::FillEditBackground(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
  HDC dc = DCOf(DrawParams);
  TdxBarItemControl* control = DrawParams->Control();
  TCustomdxBarControl* bar = BarOf(control);
  bool menu = DrawParams->PaintKind == 1;
  HBRUSH back = menu && DrawParams->Highlighted ? SelectionBrush(bar) : BarBackgroundBrush(*this, bar);
  bool text = (DrawParams->ShownParts & 2) || (menu && MenuHasSideBand() && !(DrawParams->ShownParts & 1));
  if (text) {
    TRect caption = PartOf(DrawParams, 2);
    int margin = EditCaptionMargins(DrawParams, 1).Right;
    FillControlBackground(control, dc, EditCaptionSelected(DrawParams), back,
                          TRect(caption.Left, R.Top, caption.Right - margin, R.Bottom));
    FillControlBackground(control, dc, EditCaptionNonRecent(DrawParams), EditBarBrush(control),
                          TRect(caption.Right - margin, R.Top, caption.Right, R.Bottom));
  }
  if ((DrawParams->ShownParts & 1) && !menu)
    FillControlBackground(control, dc, EditCaptionSelected(DrawParams), back, PartOf(DrawParams, 1));
}

void TdxBarPainter::DrawEditBorder(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R) const {
  HDC dc = DCOf(DrawParams);
  TdxBarItemControl* control = DrawParams->Control();
  HBRUSH bar = BarBackgroundBrush(*this, BarOf(control));
  bool nonRecent = NonRecent(control);
  if (DrawParams->Highlighted)
    Edge(dc, R, BDR_SUNKENOUTER, BF_RECT);
  else
    FrameControlBackground(control, dc, nonRecent, bar, R);
  R = R.Inflate(-1, -1);
  bool relaxed = DrawParams->FramePartOnly;
  HBRUSH inner = DrawParams->DrawEnabled || relaxed ? bar : SysBrush(COLOR_BTNHIGHLIGHT);
  bool solid = nonRecent || ((DrawParams->Highlighted || !DrawParams->DrawEnabled) && !relaxed);
  FrameControlBackground(control, dc, solid, inner, R);
  R = R.Inflate(-1, -1);
}

void TdxBarPainter::DrawEditSelectedInMenu(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
  TRect r = R;
  DrawSunkenFrame(DCOf(DrawParams), r);
}

void TdxBarPainter::DrawEditGlyph(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
  TRect glyph = R;
  if (DrawParams->PaintKind != 1) {
    TRect m = EditCaptionMargins(DrawParams, 2);
    glyph = TRect(R.Left + m.Left, R.Top + m.Top, R.Right - m.Right, R.Bottom - m.Bottom);
  }
  TdxBarItemControl* control = DrawParams->Control();
  DrawItemGlyph(control, DCOf(DrawParams), DrawParams->PaintKind, false, EditGlyphHot(control), false, false,
                false, false, false, R, glyph);
}

void TdxBarPainter::DrawEditCaption(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
  TRect r = R;
  r.Right -= EditCaptionMargins(DrawParams, 1).Right;
  DrawItemText(DrawParams->Control(), DCOf(DrawParams), DT_SINGLELINE, IsFlatAndNotWhiteFace(), false, false,
               DrawParams->PaintKind == 1 && DrawParams->Highlighted, DrawParams->DrawEnabled, DT_RIGHT, r,
               DrawParams->CaptionText);
}

void TdxBarPainter::DrawEdit(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
  if (!DCOf(DrawParams)) return;
  FillEditBackground(DrawParams, R);
  if (DrawParams->PaintKind == 1 && DrawParams->Highlighted) DrawEditSelectedInMenu(DrawParams, R);
  TRect frame = PartOf(DrawParams, 0);
  if (!frame.IsEmpty()) DrawEditBorder(DrawParams, frame);
  if (DrawParams->ShownParts & 1) DrawEditGlyph(DrawParams, PartOf(DrawParams, 1));
  if (DrawParams->ShownParts & 2) DrawEditCaption(DrawParams, PartOf(DrawParams, 2));
}

void TdxBarPainter::DrawEditText(TdxBarItemControl* EditControl, TcxCanvas* Canvas, const TRect& R) const {
  TColor text, back;
  EditColors(EditControl, text, back);
  Canvas->CurrentFont()->SetColor(text);
  Canvas->SetBrushColor(back);
  HDC dc = Canvas->CurrentDC();
  TClipKeeper clip(dc);
  IntersectClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
  if (EditControl) DrawEditValue(EditControl->LinkItem(), EditControl->Link(), R, Canvas);
}

void TdxBarPainter::DrawEditValue(TdxBarItem* EditItem, TdxBarItemLink* Link, const TRect& R,
                                  TcxCanvas* Canvas) const {
  HDC dc = Canvas->CurrentDC();
  Canvas->MeasureTextWidth(std::string());
  FillWithBrush(dc, R, static_cast<HBRUSH>(Canvas->CurrentBrush()->Handle()));
  std::string text;
  if (Link && Link->Control() && Link->Control()->IsEditing())
    text = Link->Control()->WindowText();
  else if (auto* w = dynamic_cast<TdxBarWindowItem*>(EditItem))
    text = w->Text();
  RECT r = R.Inflate(-EditTextIndent(), 0);
  int mode = SetBkMode(dc, TRANSPARENT);
  DrawText(dc, text, -1, &r, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
  SetBkMode(dc, mode);
}

void TdxBarPainter::DrawComboListItemDefault(TdxBarItem* Item, TcxCanvas* Canvas, const TRect& R,
                                             int Index) const {
  HDC dc = Canvas->CurrentDC();
  Canvas->MeasureTextWidth(std::string());
  FillWithBrush(dc, R, static_cast<HBRUSH>(Canvas->CurrentBrush()->Handle()));
  std::string text;
  if (auto* w = dynamic_cast<TdxBarWindowItem*>(Item)) text = Index < 0 ? w->Text() : std::string();
  TextOut(dc, R.Left + 2, R.Top, text);
}

void TdxBarPainter::InPlaceEditRect(TdxBarItemControl* EditControl, TRect& R) const {
  TRect m = CaptionMargins();
  int top = 0, bottom = 0;
  EditBorderSize(top, bottom);
  R = TRect(R.Left + m.Left, R.Top + top, R.Right - m.Right, R.Bottom - bottom);
}

// ---- in-place sub items

int TdxBarPainter::InPlaceSubItemTextSize(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const {
  TCustomdxBarControl* bar = BarOfParams(DrawParams);
  return bar ? bar->TextSize() : ReferenceTextSize();
}

bool TdxBarPainter::InPlaceSubItemSelected(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const {
  return DrawParams->Highlighted;
}

void TdxBarPainter::DrawInPlaceSubItemBackground(TdxBarInPlaceSubItemControlDrawParams* DrawParams,
                                                 const TRect& R) const {
  HDC dc = DCOf(DrawParams);
  TCustomdxBarControl* bar = BarOfParams(DrawParams);
  FillWithBrush(dc, TRect(R.Left, R.Bottom - 1, R.Right, R.Bottom), BarBackgroundBrush(*this, bar));
  TRect rest(R.Left, R.Top, R.Right, R.Bottom - 1);
  bool selected = InPlaceSubItemSelected(DrawParams);
  FillWithBrush(dc, rest, selected ? SelectionBrush(bar) : InPlaceSubItemHotBrush());
  if (selected) FrameSelection(dc, rest);
}

void TdxBarPainter::DrawInPlaceSubItemArrow(TdxBarInPlaceSubItemControlDrawParams* DrawParams,
                                            TcxArrowDirection Direction, const TRect& R) const {
  DrawArrowSized(DCOf(DrawParams), R, Direction, DrawParams->ArrowAreaSize.cy, InPlaceSubItemSelected(DrawParams),
                 DrawParams->DrawEnabled, InPlaceSubItemArrowFlat(DrawParams), ArrowColor(DrawParams));
}

void TdxBarPainter::DrawInPlaceSubItem(TdxBarInPlaceSubItemControlDrawParams* DrawParams, const TRect& R) const {
  HDC dc = DCOf(DrawParams);
  if (!dc) return;
  DrawInPlaceSubItemBackground(DrawParams, R);
  TRect caption = R;
  caption.Left += InPlaceSubItemExtraHeight();
  TdxBarItemControl* control = DrawParams->Control();
  DrawItemText(control, dc, DT_SINGLELINE, control ? control->PaintsFlat() : true, true, false,
               InPlaceSubItemSelected(DrawParams), DrawParams->DrawEnabled, 0, caption, DrawParams->CaptionText);
  if (!DrawParams->DrawEnabled) return;
  TRect arrow(R.Right - DrawParams->ArrowAreaSize.cx, R.Top, R.Right, R.Bottom);
  if (!DrawParams->Expanded) arrow = arrow.Offset(DrawParams->ArrowAreaSize.cy, 0);
  DrawInPlaceSubItemArrow(DrawParams, DrawParams->Expanded ? adDown : adRight, arrow);
}

// ---- sub-menu parts that need no sub-menu state

TRect TdxBarPainter::MenuBorderRect(TdxBarSubMenuControl* SubMenu) const {
  int w = MenuClientIndent();
  return TRect(w, w, w, w);
}

void TdxBarPainter::DrawScrollArrow(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom, TColor Color,
                                    const TRect& R) const {
  HDC dc = Canvas->CurrentDC();
  TPoint p[3];
  ComputeArrowTriangle(R, p, Bottom ? adDown : adUp, true, ScrollArrowSize(R.Height()));
  // A polygon region leaves out its right and bottom edges: widen it by one pixel there.
  int right = std::max({p[0].X, p[1].X, p[2].X}), bottom = std::max({p[0].Y, p[1].Y, p[2].Y});
  POINT q[3];
  for (int i = 0; i < 3; ++i) q[i] = {p[i].X + (p[i].X == right ? 1 : 0), p[i].Y + (p[i].Y == bottom ? 1 : 0)};
  HRGN triangle = CreatePolygonRgn(q, 3, WINDING);
  {
    TClipKeeper clip(dc);
    ExtSelectClipRgn(dc, triangle, RGN_AND);
    RECT box;
    GetRgnBox(triangle, &box);
    FillWithColor(dc, TRect(box.left, box.top, box.right, box.bottom), RGBOf(Color));
  }
  // Kept out of the button's fill that follows.
  ExtSelectClipRgn(dc, triangle, RGN_DIFF);
  DeleteObject(triangle);
}

// ---- sub-menu windows

int TdxBarPainter::MenuIconAreaSize(TdxBarSubMenuControl* SubMenu) const {
  TdxBarItemLinks* links = SubMenu ? SubMenu->ItemLinks() : nullptr;
  int size = links && links->ItemSizeInEffect() == misLarge ? 40 : (SubMenu ? SubMenu->TextSize() : 0);
  AdjustMenuExtent(size);
  return size;
}

int TdxBarPainter::MenuLeftAreaWidth(TdxBarSubMenuControl* SubMenu) const {
  return SubMenu ? SubMenu->IconAreaWidth() : 0;
}

int TdxBarPainter::MenuGlyphColumnWidth(TdxBarSubMenuControl* SubMenu) const {
  int width = MenuIconAreaSize(SubMenu);
  AdjustMenuExtent(width);
  return width;
}

int TdxBarPainter::ScrollButtonHeight(TdxBarSubMenuControl* SubMenu) const { return SubMenu ? SubMenu->TextSize() : 0; }

TRect TdxBarPainter::ScrollButtonRect(TdxBarSubMenuControl* SubMenu, bool Bottom) const {
  TRect area = SubMenu->ItemsRect();
  int h = ScrollButtonHeight(SubMenu);
  return Bottom ? TRect(area.Left, area.Bottom - h, area.Right, area.Bottom)
                : TRect(area.Left, area.Top, area.Right, area.Top + h);
}

void TdxBarPainter::FillMenuBackground(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, TColor Color, HBRUSH Brush,
                                       const TRect& R) const {
  FillRectWithBackground(Canvas->CurrentDC(), R, R, SubMenu ? SubMenu->BackgroundBitmap() : nullptr, Color, Brush);
}

void TdxBarPainter::MenuBackgroundBrush(TdxBarSubMenuControl* SubMenu, HBRUSH& Brush) const {
  if (TracksHotElements()) Brush = MenuOwnBrush(SubMenu);
}

void TdxBarPainter::DrawMenuBackgroundPart(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, const TRect& Area,
                                           const TRect& Excluded) const {
  ExcludeRect(Canvas->CurrentDC(), Excluded);
  FillMenuBackground(SubMenu, Canvas, clNone, SubMenu ? SubMenu->BackgroundBrush() : MenuBrush(nullptr), Area);
}

void TdxBarPainter::FillScrollButton(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const {
  FillMenuBackground(SubMenu, Canvas, clNone, SysBrush(COLOR_BTNFACE), ScrollButtonRect(SubMenu, Bottom));
}

void TdxBarPainter::DrawScrollButton(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const {
  // The arrow and the edge keep themselves out of the fill that follows; the window gets its clip
  // region back afterwards.
  TClipKeeper clip(Canvas->CurrentDC());
  DrawScrollArrow(SubMenu, Canvas, Bottom, TColor(SysColor(COLOR_BTNTEXT)), ScrollButtonRect(SubMenu, Bottom));
  DrawScrollButtonFrame(SubMenu, Canvas, Bottom);
  DrawScrollButtonEdge(SubMenu, Canvas, Bottom);
  FillScrollButton(SubMenu, Canvas, Bottom);
}

void TdxBarPainter::DrawExpandButtonFrame(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
  Edge(DC, R, BDR_RAISEDINNER, BF_RECT);
  FillRectWithBackground(DC, R.Inflate(-1, -1), R, SubMenu ? SubMenu->BackgroundBitmap() : nullptr, clNone,
                         SubMenu ? SubMenu->BackgroundBrush() : MenuBrush(nullptr));
}

void TdxBarPainter::DrawExpandChevrons(TdxBarSubMenuControl* SubMenu, HDC DC, bool Hot, const TRect& R) const {
  int n = std::max(3, MenuSubItemArrowSize(SubMenu ? SubMenu->MarkSizeField() : R.Height()));
  bool inverse = IsBtnFaceWhite() && IsFlat() && Hot;
  COLORREF color = SysColor(inverse ? COLOR_BTNFACE : COLOR_BTNTEXT);
  int x = (R.Left + R.Right - n - 1) / 2;
  int y = R.Top + (R.Height() - 2 * n) / 2;
  for (int i = 0; i < n; ++i) {
    int row = y + i + (i >= n / 2 ? n / 2 : 0);
    Lines(DC, color, {{x, row}, {x + n / 2, row + n / 2}, {x + n + 1, row - 1}});
  }
}

void TdxBarPainter::DrawExpandButton(TdxBarSubMenuControl* SubMenu, const TRect& R, bool Hot) const {
  TcxCanvas* canvas = SubMenu ? SubMenu->CurrentCanvas() : nullptr;
  if (!canvas) return;
  HDC dc = canvas->CurrentDC();
  FillMenuBackground(SubMenu, canvas, clNone, SysBrush(COLOR_BTNFACE), R);
  if (Hot) DrawExpandButtonFrame(SubMenu, dc, R);
  DrawExpandChevrons(SubMenu, dc, Hot, R);
}

// ---- the Standard painter

TcxCustomLookAndFeelPainter* TdxBarStandardPainter::LookAndFeelPainter() const {
  TcxLookAndFeelPaintersManager* manager = cxLookAndFeelPaintersManager();
  return manager ? manager->PainterForKind(psFlat) : nullptr;
}

void TdxBarStandardPainter::DrawCheckSign(TdxBarItemControl* Control, HDC DC, int SizeCode, int X, int Y) const {
  const int s = SizeCode;
  auto stroke = [&](COLORREF Color, int k) {
    Lines(DC, Color, {{X + s, Y + 2 * s + k}, {X + 3 * s, Y + 4 * s + k}, {X + 8 * s, Y - s + k}});
  };
  bool enabled = ItemEnabled(Control);
  if (enabled) {
    COLORREF dark = 0x000000, light = 0xFFFFFF;
    if (SysColor(COLOR_BTNFACE) == 0x000000) std::swap(dark, light);
    int k = 0;
    for (int i = 0; i < s; ++i) stroke(RGB(192, 192, 192), k++);
    for (int i = 0; i < 2 * s; ++i) stroke(dark, k++);
    for (int i = 0; i < s; ++i) stroke(light, k++);
    Lines(DC, light, {{X + s - 1, Y + 2 * s + 1}, {X + s - 1, Y + 6 * s - 1}});
    Lines(DC, light, {{X + 8 * s, Y - s + 2}, {X + 8 * s, Y + 3 * s}});
  } else {
    for (int k = 1; k <= 2 * s; ++k) stroke(SysColor(COLOR_BTNSHADOW), k);
    COLORREF light = SysColor(COLOR_BTNHIGHLIGHT);
    for (int j = 0; j < s; ++j) {
      Lines(DC, light, {{X + 3 * s + 1, Y + 7 * s - 1 - j}, {X + 9 * s, Y + s - j}});
      Lines(DC, light, {{X + 4 * s, Y + 7 * s - j}, {X + 9 * s, Y + 2 * s - j}});
    }
  }
}

void TdxBarStandardPainter::DrawMarkChevrons(TCustomdxBarControl* BarControl, HDC DC, int Position,
                                             const TRect& R) const {
  int a = Position;
  COLORREF light = SysColor(COLOR_BTNHIGHLIGHT), shadow = SysColor(COLOR_BTNSHADOW);
  if (!BarControl->IsVertical()) {
    Lines(DC, light, {{a - 1, 1}, {a + 2, 4}});
    Lines(DC, light, {{a + 3, 4}, {a - 1, 8}});
    Lines(DC, shadow, {{a, 1}, {a + 2, 3}, {a + 2, 4}, {a - 1, 7}});
  } else {
    int w = BarControl->ClientBounds().Width();
    Lines(DC, shadow, {{w - 8, a}, {w - 4, a + 4}});
    Lines(DC, shadow, {{w - 4, a + 1}, {w - 2, a - 1}});
    Lines(DC, light, {{w - 7, a}, {w - 5, a + 2}, {w - 4, a + 2}, {w - 1, a - 1}});
  }
}

void TdxBarStandardPainter::FillDisabledShadow(TdxBarItemControl* Control, HDC DC, const TRect& R) const {
  FillWithBrush(DC, R.Offset(1, 1), SysBrush(COLOR_BTNHIGHLIGHT));
  TdxBarPainter::FillDisabledShadow(Control, DC, R);
}

void TdxBarStandardPainter::DrawFloatingBorder(TCustomdxBarControl*, HDC DC, const TRect& R) const {
  Edge(DC, R, EDGE_RAISED, BF_RECT);
  TRect inner = R.Inflate(-2, -2);
  FrameWithBrush(DC, inner, SysBrush(COLOR_BTNFACE));
  FrameWithBrush(DC, inner.Inflate(-1, -1), SysBrush(COLOR_BTNFACE));
}

void TdxBarStandardPainter::DrawDropDownListBorder(HDC DC, TColor, const TRect& R) const {
  Edge(DC, R, EDGE_RAISED, BF_RECT);
}

void TdxBarStandardPainter::DrawGripStrip(HDC DC, const TRect& R, bool Horizontal, bool CornerPixel) const {
  Edge(DC, R, BDR_RAISEDINNER, BF_RECT);
  if (CornerPixel) {
    if (Horizontal)
      SetPixel(DC, R.Left, R.Bottom - 1, SysColor(COLOR_BTNHIGHLIGHT));
    else
      SetPixel(DC, R.Right - 1, R.Top, SysColor(COLOR_BTNHIGHLIGHT));
  }
  FillWithBrush(DC, R.Inflate(-1, -1), SysBrush(COLOR_BTNFACE));
  ExcludeRect(DC, R);
}

void TdxBarStandardPainter::FrameGlyphArea(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon,
                                           bool Selected, bool Down, bool Pressed, bool DroppedDown, bool Split,
                                           bool WithBorder, HBRUSH Brush, const TRect& R) const {
  if (Down || (Selected && (PaintType != 1 || !NoIcon))) {
    bool sunken = Down || Pressed || (DroppedDown && !Split);
    Edge(DC, R, sunken ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  } else if (WithBorder) {
    bool solid = Down || Selected || Pressed || NonRecent(Control) || (Control && Control->HasOwnBackground());
    FrameControlBackground(Control, DC, solid, Brush, R);
  }
}

HBRUSH TdxBarStandardPainter::ItemBackgroundBrush(TdxBarItemControl* Control, int PaintType, bool NoIcon,
                                                  bool Selected, bool Down, bool Enabled) const {
  TCustomdxBarControl* bar = BarOf(Control);
  if (Down && Enabled) return Selected ? MenuBrush(bar) : CheckerBrush(bar);
  if (PaintType == 1 && Selected && NoIcon) return SelectionBrush(bar);
  return TdxBarPainter::ItemBackgroundBrush(Control, PaintType, NoIcon, Selected, Down, Enabled);
}

void TdxBarStandardPainter::BeforeDrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams,
                                                 const TRect& R) const {
  TdxBarItemControl* control = DrawParams->Control();
  TCustomdxBarControl* bar = BarOf(control);
  HDC dc = DCOf(DrawParams);
  TRect icon = MenuItemIconRect(R, bar ? bar->IconAreaWidth() : R.Height());
  bool selected = DrawParams->Highlighted;
  bool noGlyph = !control || !control->HasGlyphFor(control->ViewSizeForLevel()) || !(DrawParams->ShownParts & 1);
  bool solid = selected || NonRecent(control);
  HBRUSH own = control ? control->BackgroundBrushOrBar() : nullptr;
  if (!own) own = BarBrush(bar);
  HBRUSH iconBrush = selected && !DrawParams->DownLook && noGlyph ? SelectionBrush(bar) : own;
  FillControlBackground(control, dc, solid, iconBrush, TRect(icon.Left, icon.Top, icon.Right + 1, icon.Bottom));
  FillControlBackground(control, dc, solid, selected ? SelectionBrush(bar) : own,
                        TRect(icon.Right + 1, R.Top, R.Right, R.Bottom));
}

void TdxBarStandardPainter::DrawButtonFace(TdxBarItemControl* Control, HDC DC, bool Pressed, bool Selected,
                                           bool Enabled, const TRect& R) const {
  TCustomdxBarControl* bar = BarOf(Control);
  HBRUSH brush = bar && bar->BackgroundBrush() ? bar->BackgroundBrush() : BarBrush(bar);
  if (Selected)
    Edge(DC, R, Pressed ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  else
    FrameWithBrush(DC, R, brush);
  FillWithBrush(DC, R.Inflate(-1, -1), brush);
}

void TdxBarStandardPainter::FillDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R,
                                                  HBRUSH Brush) const {
  TdxBarPainter::FillDropDownArrowPart(DrawParams, R, Brush);
  HDC dc = DCOf(DrawParams);
  if (DrawParams->Highlighted)
    Edge(dc, R, DrawParams->PopupOpen ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  else if (DrawParams->PaintKind == 1)
    Edge(dc, TRect(R.Left - 1, R.Top, R.Left + 1, R.Bottom), EDGE_ETCHED, BF_LEFT | BF_RIGHT);
}

void TdxBarStandardPainter::DrawSimpleComboButton(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R,
                                                  HBRUSH Brush) const {
  HDC dc = DCOf(DrawParams);
  TCustomdxBarControl* bar = BarOf(DrawParams->Control());
  HBRUSH frame = DrawParams->DrawEnabled ? SysBrush(COLOR_WINDOW) : BarBackgroundBrush(*this, bar);
  if (DrawParams->Highlighted && DrawParams->DrawEnabled)
    Edge(dc, R, DrawParams->PopupOpen ? BDR_SUNKENOUTER : BDR_RAISEDINNER, BF_RECT);
  else
    FrameWithBrush(dc, R, frame);
  FillWithBrush(dc, TRect(R.Left - 1, R.Top, R.Left, R.Bottom), frame);
  FillWithBrush(dc, R.Inflate(-1, -1), Brush);
  if (DrawParams->PopupOpen) R = R.Offset(1, 1);
}

TRect TdxBarStandardPainter::MenuBorderRect(TdxBarSubMenuControl* SubMenu) const {
  return TdxBarPainter::MenuBorderRect(SubMenu);
}

void TdxBarStandardPainter::DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                               const TRect& R) const {
  if (BarControl)
    BarControl->DrawBackground(DC, R, true, clNone, Brush);
  else
    FillWithBrush(DC, R, Brush);
}

TRect TdxBarStandardPainter::MarkRect(TCustomdxBarControl* BarControl) const {
  return TdxBarPainter::MarkRect(BarControl);
}

void TdxBarStandardPainter::DrawCaptionCloseButton(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  FrameWithColor(DC, R, RGBOf(FloatingCaptionColor(BarControl, BarControl && BarControl->IsActive())));
  RECT inner = R.Inflate(-1, -1);
  DrawFrameControl(DC, &inner, DFC_CAPTION, DFCS_CAPTIONCLOSE);
}

void TdxBarStandardPainter::DrawMDIButton(TCustomdxBarControl* BarControl, TdxBarMDIButton Button, const TRect& R,
                                          HDC DC, int State) const {
  static const UINT kinds[] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
  UINT flags = kinds[Button];
  if (State == 1) flags |= DFCS_INACTIVE;
  if (State == 4) flags |= DFCS_PUSHED;
  RECT r = R;
  DrawFrameControl(DC, &r, DFC_CAPTION, flags);
}

void TdxBarStandardPainter::DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  Edge(DC, R, BDR_RAISEDINNER, BF_RECT);
  if (!BarControl || !BarControl->ShowsGrip()) return;
  TRect inner = R.Inflate(-2, -2);
  bool horizontal = !VerticalBar(BarControl);
  int dots = GripDotCount(), gap = ToolbarBorderGap();
  TRect strip = horizontal ? TRect(inner.Left + gap, inner.Top, inner.Left + gap + dots, inner.Bottom)
                           : TRect(inner.Left, inner.Top + gap, inner.Right, inner.Top + gap + dots);
  for (int i = 0; i < 2; ++i) {
    DrawGripStrip(DC, strip, horizontal, true);
    strip = horizontal ? strip.Offset(dots, 0) : strip.Offset(0, dots);
  }
}

void TdxBarEnhancedPainter::DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                               const TRect& R) const {
  int state = BarControl ? BarControl->MarkState() : 0;
  if (state == 1)
    Edge(DC, R, BDR_RAISEDINNER, BF_RECT);
  else if (state == 2)
    Edge(DC, R, BDR_SUNKENOUTER, BF_RECT);
  else
    FrameWithBrush(DC, R, Brush);
  TRect inner = R.Inflate(-1, -1);
  if (BarControl)
    BarControl->DrawBackground(DC, inner, true, clNone, Brush);
  else
    FillWithBrush(DC, inner, Brush);
}

void TdxBarEnhancedPainter::DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  Edge(DC, R, BDR_RAISEDINNER, BF_RECT);
  if (!BarControl || !BarControl->ShowsGrip()) return;
  TRect inner = R.Inflate(-2, -2);
  bool horizontal = !VerticalBar(BarControl);
  int dots = GripDotCount(), gap = ToolbarBorderGap();
  TRect strip = horizontal ? TRect(inner.Left + gap, inner.Top + 1, inner.Left + gap + dots, inner.Bottom - 1)
                           : TRect(inner.Left + 1, inner.Top + gap, inner.Right - 1, inner.Top + gap + dots);
  DrawGripStrip(DC, strip, horizontal, false);
}

void TdxBarStandardPainter::DrawMenuItemFrame(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control,
                                              int ItemIndex, const TRect& R, HDC DC) const {
  TCustomdxBarControl* menu = BarOf(Control);
  TCustomdxBarControlViewInfo* info = menu ? menu->ViewInfo() : nullptr;
  if (!info) return;
  const int n = MenuHasSideBand() ? 0 : 1;
  bool nonRecent = NonRecent(Control);
  TdxBarItemControl* above = ItemIndex > 0 && ItemIndex - 1 < info->ControlCount()
                                 ? info->ControlViewInfo(ItemIndex - 1)->Control()
                                 : nullptr;
  // A run of recent or of hidden items starts here: a line above it, light over recent items.
  if (above && NonRecent(above) != nonRecent) {
    int y = R.Top - 1;
    int separator;
    if (!nonRecent && info->FindSeparatorOf(Control, separator)) {
      TRect s;
      uint8_t kind = 0;
      info->GetSeparator(separator, s, kind);
      y = s.Top - 1;
    }
    FillWithBrush(DC, TRect(R.Left - n, y, R.Right + 1, y + 1), SysBrush(nonRecent ? COLOR_BTNSHADOW : COLOR_BTNHIGHLIGHT));
  }
  if (!nonRecent) return;
  HBRUSH back = BarBackgroundBrush(*this, menu);
  if (ItemIndex == 0) {
    FillWithBrush(DC, TRect(R.Left - n, R.Top - 1, R.Right + 2, R.Top), back);
    SetPixel(DC, R.Right + 1, R.Top - 2, SysColor(COLOR_BTNHIGHLIGHT));
  }
  FillWithBrush(DC, TRect(R.Left - n, R.Top, R.Left, R.Bottom), back);
  FillWithBrush(DC, TRect(R.Right, R.Top, R.Right + 2, R.Bottom), back);
  if (ItemIndex == info->ControlCount() - 1) {
    int clientHeight = menu->ClientBounds().Height();
    FillWithBrush(DC, TRect(R.Left - n, R.Bottom, R.Right + 2, clientHeight), back);
    if (n == 1) SetPixel(DC, R.Left - 2, clientHeight - 1, SysColor(COLOR_BTNHIGHLIGHT));
  }
}

// ---- the Enhanced painter

void RegisterStandardBarPainters() {
  RegisterBarPainterClass(bmsStandard, [] { return new TdxBarStandardPainter(); });
  RegisterBarPainterClass(bmsEnhanced, [] { return new TdxBarEnhancedPainter(); });
}
