#include <algorithm>
#include <string>
#include <vector>

#include "platform/rtl/SysUtils.h"
#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "suite/bars/dxBarPainters.h"
#include "suite/core/cxDropDown.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxFading.h"
#include "suite/core/dxOffice11.h"

namespace {

COLORREF SysColor(int Index) { return GetSysColor(Index); }
COLORREF RGBOf(TColor Color) { return COLORREF(ColorToRGB(Color)); }

// A drawing object made for one call, deleted when the call leaves, also by an exception.
class TTempObject {
 public:
  explicit TTempObject(HGDIOBJ Handle) : FHandle(Handle) {}
  ~TTempObject() {
    if (FHandle) DeleteObject(FHandle);
  }
  TTempObject(const TTempObject&) = delete;
  TTempObject& operator=(const TTempObject&) = delete;
  HGDIOBJ Handle() const { return FHandle; }

 private:
  HGDIOBJ FHandle;
};

// Selects an object into a DC for a scope and puts the previous one back.
class TSelection {
 public:
  TSelection(HDC DC, HGDIOBJ Object) : FDC(DC), FPrevious(SelectObject(DC, Object)) {}
  ~TSelection() { SelectObject(FDC, FPrevious); }
  TSelection(const TSelection&) = delete;
  TSelection& operator=(const TSelection&) = delete;

 private:
  HDC FDC;
  HGDIOBJ FPrevious;
};

// Keeps a DC's clip region as it was when the scope began.
class TClipKeeper {
 public:
  explicit TClipKeeper(HDC DC) : FDC(DC), FSaved(CreateRectRgn(0, 0, 0, 0)) {
    FHad = GetClipRgn(DC, FSaved) == 1;
  }
  ~TClipKeeper() {
    SelectClipRgn(FDC, FHad ? FSaved : nullptr);
    DeleteObject(FSaved);
  }
  TClipKeeper(const TClipKeeper&) = delete;
  TClipKeeper& operator=(const TClipKeeper&) = delete;

 private:
  HDC FDC;
  HRGN FSaved;
  bool FHad = false;
};

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
  } else {
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

void TdxBarPainter::DrawBarClientBackground(TCustomdxBarControl* BarControl) const {
}

TRect TdxBarPainter::FloatingCaptionRect(TCustomdxBarControl* BarControl, const TRect& NCRect) const {
  return {};
}

void TdxBarPainter::CalcCaptionRect(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& ContentRect, TRect& CaptionRect, int& Alignment, const TRect& GlyphRect) const {
}

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

TColor TdxBarPainter::ArrowColor(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  return {};
}

bool TdxBarPainter::DisabledGlyphsFaded(TCustomdxBarControl* BarControl) const {
  return {};
}

TPoint TdxBarPainter::HintPosition(TCustomdxBarControl* BarControl, const TRect& ItemRect, TPoint Cursor) const {
  return {};
}

TdxBarHintViewInfo* TdxBarPainter::CreateHintViewInfo(TdxBarManager* Manager, const std::string& HintText, const std::string& ShortCutText) const {
  return nullptr;
}

void TdxBarPainter::DrawSizeGrip(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawMarkContents(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
}

int TdxBarPainter::FloatingCaptionTextStart(TCustomdxBarControl* BarControl) const {
  return {};
}

void TdxBarPainter::DrawTextWithParams(TdxBarItemControlDrawParams* DrawParams, const TRect& R, UINT Flags, int Alignment) const {
}

TRect TdxBarPainter::CalcCaptionTextRect(TdxBarItemControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::AddButtonExtraWidth(TdxBarButtonLikeControlDrawParams* DrawParams, int& Width) const {
}

TRect TdxBarPainter::CalcEllipsisButtonRect(TdxBarColorComboControlDrawParams* DrawParams, const TRect& ItemRect) const {
  return {};
}

void TdxBarPainter::DrawEllipsisDot(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawEllipsisDots(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawComboArrow(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R, TColor Color, int Size) const {
}

void TdxBarPainter::DrawScrollArrow(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom, TColor Color, const TRect& R) const {
}

void TdxBarPainter::DrawScrollButton(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const {
}

void TdxBarPainter::FillScrollButton(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const {
}

void TdxBarPainter::DrawScrollButtonEdge(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const {
}

TRect TdxBarPainter::ScrollButtonRect(TdxBarSubMenuControl* SubMenu, bool Bottom) const {
  return {};
}

int TdxBarPainter::ScrollButtonHeight(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

void TdxBarPainter::DrawExpandChevrons(TdxBarSubMenuControl* SubMenu, HDC DC, bool Hot, const TRect& R) const {
}

void TdxBarPainter::DrawExpandButton(TdxBarSubMenuControl* SubMenu, const TRect& R, bool Hot) const {
}

void TdxBarPainter::DrawExpandButtonFrame(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
}

void TdxBarPainter::InPlaceEditRect(TdxBarItemControl* EditControl, TRect& R) const {
}

void TdxBarPainter::DrawSpinArrow(TdxBarSpinEditDrawParams* DrawParams, TPoint Position, TcxArrowDirection Direction) const {
}

void TdxBarPainter::NarrowEditCaptionPart(TdxBarEditLikeControlDrawParams* DrawParams, std::vector<TRect>& PartRects) const {
}

void TdxBarPainter::CalcButtonPartRects(TdxBarButtonLikeControlDrawParams* DrawParams, std::vector<TRect>& PartRects) const {
}

void TdxBarPainter::CalcColorComboPartRects(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R, std::vector<TRect>& PartRects) const {
}

void TdxBarPainter::CalcComboPartRects(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R, std::vector<TRect>& PartRects) const {
}

void TdxBarPainter::CalcEditPartRects(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& ItemRect, std::vector<TRect>& PartRects) const {
}

void TdxBarPainter::CalcSpinEditPartRects(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, std::vector<TRect>& PartRects) const {
}

TRect TdxBarPainter::BarBorderSizes(TdxBar* Bar, TdxBarDockingStyle Style, bool WithSizeGrip) const {
  return {};
}

int TdxBarPainter::MenuIconAreaSize(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

int TdxBarPainter::HalfFontHeight(TdxBarItemControl* Control) const {
  return {};
}

TRect TdxBarPainter::CalcLargeGlyphRect(TdxBarItemControl* Control, TSize GlyphSize, const TRect& R, TdxBarGlyphLayout Layout, int PaintType, bool HasText) const {
  return {};
}

void TdxBarPainter::FillControlBackground(TdxBarItemControl* Control, HDC DC, bool Solid, HBRUSH Brush,
                                          const TRect& R) const {
  // Until bar windows paint their own background into a part, the brush stands in for it.
  FillWithBrush(DC, R, Brush);
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

void TdxBarPainter::FillBarBackgroundRect(TdxBarItemControl* Control, TcxCanvas* Canvas, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawGlyph(TdxBarItemControl* Control, HDC DC, int PaintType, int ViewStructure, int ViewSize, bool NoIcon, bool Selected, bool Down, bool Pressed, bool DroppedDown, bool GrayGlyph, bool Split, const TRect& GlyphArea, const TRect& TextArea) const {
}

void TdxBarPainter::DrawGlyphInRect(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected, bool Down, bool Pressed, bool DroppedDown, bool GrayGlyph, bool Split, TCustomImageList* Images, TBitmap* Glyph, int ImageIndex, const TRect& GlyphRect, const TRect& Area) const {
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

HBRUSH TdxBarPainter::ItemBackgroundBrush(TdxBarItemControl* Control, int PaintType, bool NoIcon, bool Selected, bool Down, bool Enabled) const {
  return nullptr;
}

bool TdxBarPainter::GlyphAreaSolid(TdxBarItemControl* Control, bool Down, bool NoGlyph, bool Selected, bool Pressed) const {
  return {};
}

bool TdxBarPainter::UsesNativeItemBackground(TdxBarItemControl* Control) const {
  return {};
}

int TdxBarPainter::ItemTextSize(TdxBarItemControl* Control) const {
  return {};
}

void TdxBarPainter::FillDockBackground(TdxDockControl* DockControl, HDC DC, TColor Color, HBRUSH Brush, const TRect& R, const TRect& OriginRect) const {
}

bool TdxBarPainter::FlatBarFlag(TCustomdxBarControl* BarControl) const {
  return {};
}

bool TdxBarPainter::FlatBarFlagDeep(TCustomdxBarControl* BarControl) const {
  return {};
}

HBRUSH TdxBarPainter::ManagerBarBrush(TdxBarManager* Manager) const {
  return nullptr;
}

void TdxBarPainter::DrawBarOnDockBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush, const TRect& ItemRect, const TRect& OriginRect) const {
}

void TdxBarPainter::DrawBarWallpaper(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush, const TRect& R, const TRect& OriginRect) const {
}

void TdxBarPainter::FillBarBorderArea(TCustomdxBarControl* BarControl, HDC DC) const {
}

void TdxBarPainter::FillFloatingCaption(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawBarBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush, const TRect& ItemRect, const TRect& OriginRect) const {
}

void TdxBarPainter::DrawBarSeparator(TCustomdxBarControl* BarControl, HDC DC, bool Horizontal, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawCloseButtonBackground(TCustomdxBarControl* BarControl, HDC DC, int State, const TRect& R) const {
}

void TdxBarPainter::DrawFloatingCaption(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& CaptionRect) const {
}

void TdxBarPainter::DrawMark(TCustomdxBarControl* BarControl, TcxCanvas* Canvas, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawBarSizeGrip(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::FillBarTopStrip(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
}

TRect TdxBarPainter::MarkRect(TCustomdxBarControl* BarControl) const {
  return {};
}

void TdxBarPainter::InvalidateMark(TCustomdxBarControl* BarControl) const {
}

void TdxBarPainter::FillBottomBarBackground(TCustomdxBarControl* BarControl, HDC DC, const TRect& R, TColor Color, HBRUSH Brush) const {
}

TSize TdxBarPainter::SizeGripSize(TdxBarManager* Manager) const {
  return {};
}

int TdxBarPainter::SeparatorTextIndent(TdxBarItemControlDrawParams* DrawParams) const {
  return {};
}

HBRUSH TdxBarPainter::ArrowAreaBrush(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  return nullptr;
}

bool TdxBarPainter::DrawsArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  return {};
}

bool TdxBarPainter::ArrowPartSunken(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::DrawButtonLike(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawButtonCaption(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::FillDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R, HBRUSH Brush) const {
}

void TdxBarPainter::DrawSplitArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawItemArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

HBRUSH TdxBarPainter::ComboButtonBrush(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return nullptr;
}

void TdxBarPainter::DrawComboButton(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R, bool Pressed) const {
}

TRect TdxBarPainter::MenuBorderRect(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

int TdxBarPainter::DetachCaptionAreaSize(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

int TdxBarPainter::MenuLeftAreaWidth(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

int TdxBarPainter::MenuGlyphColumnWidth(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

TRect TdxBarPainter::MenuItemTextRect(TdxBarItemControlDrawParams* DrawParams, const TRect& R) const {
  return {};
}

int TdxBarPainter::MenuCaptionOffset(TdxBarItemControlDrawParams* DrawParams) const {
  return {};
}

TRect TdxBarPainter::MenuSeparatorRect(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control, const TRect& ItemRect) const {
  return {};
}

void TdxBarPainter::FillMenuBackground(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, TColor Color, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawMenuBorder(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
}

void TdxBarPainter::DrawMenuFrame(TdxBarSubMenuControl* SubMenu, HDC DC, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawDetachCaption(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
}

void TdxBarPainter::DrawMenuSeparator(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control, const TRect& R, TcxCanvas* Canvas) const {
}

void TdxBarPainter::MenuBackgroundBrush(TdxBarSubMenuControl* SubMenu, HBRUSH& Brush) const {
}

void TdxBarPainter::DrawMenuBackgroundPart(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, const TRect& Area, const TRect& Excluded) const {
}

void TdxBarPainter::FillItemBackgroundWithBitmap(TdxBarItemControl* Control, TcxCanvas* Canvas, TColor Color, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawSeparatorOnCanvas(TCustomdxBarControl* BarControl, TcxCanvas* Canvas, bool Horizontal, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawEditValue(TdxBarItem* EditItem, TdxBarItemLink* Link, const TRect& R, TcxCanvas* Canvas) const {
}

void TdxBarPainter::ApplyLookAndFeel(TdxBarManager* Manager, TcxLookAndFeel* LookAndFeel) const {
}

TColor TdxBarPainter::EditDisabledBackgroundColor(TdxBarItemControl* EditControl) const {
  return {};
}

TColor TdxBarPainter::EditColor(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return {};
}

TColor TdxBarPainter::EditTextColor(TdxBarItemControl* EditControl) const {
  return {};
}

void TdxBarPainter::EditColors(TdxBarItemControl* EditControl, TColor& TextColor, TColor& BackgroundColor) const {
}

bool TdxBarPainter::EditDrawsSelected(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::DrawComboListItemDefault(TdxBarItem* Item, TcxCanvas* Canvas, const TRect& R, int Index) const {
}

void TdxBarPainter::DrawEdit(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::FillEditBackground(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawEditBorder(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R) const {
}

void TdxBarPainter::DrawEditCaption(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawEditSelectedInMenu(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawEditGlyph(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
}

bool TdxBarPainter::EditCaptionSelected(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return {};
}

bool TdxBarPainter::EditCaptionNonRecent(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::DrawEditText(TdxBarItemControl* EditControl, TcxCanvas* Canvas, const TRect& R) const {
}

TRect TdxBarPainter::EditCaptionMargins(TdxBarEditLikeControlDrawParams* DrawParams, int Part) const {
  return {};
}

int TdxBarPainter::EditGlyphIndent(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return {};
}

HBRUSH TdxBarPainter::EditBarBrush(TdxBarItemControl* Control) const {
  return nullptr;
}

bool TdxBarPainter::HasColorBox(TdxBarColorComboControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::AdjustColorComboRect(TdxBarColorComboControlDrawParams* DrawParams, TRect& R) const {
}

void TdxBarPainter::DrawEllipsisButton(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawColorBoxFrame(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
}

TPoint TdxBarPainter::SpinArrowPosition(TdxBarSpinEditDrawParams* DrawParams, const TRect& ButtonRect, TcxArrowDirection Direction) const {
  return {};
}

void TdxBarPainter::AdjustSpinEditRect(TdxBarSpinEditDrawParams* DrawParams, TRect& R) const {
}

TRect TdxBarPainter::CalcSpinButtonRect(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, int Button) const {
  return {};
}

int TdxBarPainter::SpinButtonState(TdxBarSpinEditDrawParams* DrawParams, int Button) const {
  return {};
}

void TdxBarPainter::DrawSpinButton(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, int Button) const {
}

void TdxBarPainter::FillSpinEditBackground(TdxBarSpinEditDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawProgressBar(TdxBarProgressControlDrawParams* DrawParams, const TRect& R, TColor Color) const {
}

void TdxBarPainter::FillProgressBackground(TdxBarProgressControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawProgressChunks(TdxBarProgressControlDrawParams* DrawParams, const TRect& R, HBRUSH Brush) const {
}

void TdxBarPainter::FillProgressRect(TdxBarProgressControlDrawParams* DrawParams, const TRect& R, HBRUSH Brush) const {
}

int TdxBarPainter::InPlaceSubItemTextSize(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const {
  return {};
}

bool TdxBarPainter::InPlaceSubItemSelected(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::DrawInPlaceSubItemArrow(TdxBarInPlaceSubItemControlDrawParams* DrawParams, TcxArrowDirection Direction, const TRect& R) const {
}

void TdxBarPainter::DrawInPlaceSubItemBackground(TdxBarInPlaceSubItemControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawInPlaceSubItem(TdxBarInPlaceSubItemControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawStaticBackground(TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawStaticBorder(TdxBarStaticLikeControlDrawParams* DrawParams, TRect& R) const {
}

void TdxBarPainter::DrawStaticContent(TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawStatic(TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) const {
}

bool TdxBarPainter::StaticHasOwnColor(TdxBarStaticLikeControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::DrawSeparatorCaption(TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawSeparatorItem(TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawItemGlyph(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected, bool Down, bool Pressed, bool DroppedDown, bool GrayGlyph, bool Split, const TRect& TextRect, const TRect& GlyphRect) const {
}

void TdxBarPainter::DrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawButtonCaptionText(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawWrappedCaption(TdxBarButtonLikeControlDrawParams* DrawParams, const std::string& Text, int LineLimit, UINT Flags, const TRect& R) const {
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

void TdxBarStandardPainter::FrameGlyphArea(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected, bool Down, bool Pressed, bool DroppedDown, bool Split, bool WithBorder, HBRUSH Brush, const TRect& R) const {
}

void TdxBarStandardPainter::DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
}

void TdxBarStandardPainter::BeforeDrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarStandardPainter::DrawButtonFace(TdxBarItemControl* Control, HDC DC, bool Pressed, bool Selected, bool Enabled, const TRect& R) const {
}

HBRUSH TdxBarStandardPainter::ItemBackgroundBrush(TdxBarItemControl* Control, int PaintType, bool NoIcon, bool Selected, bool Down, bool Enabled) const {
  return nullptr;
}

void TdxBarStandardPainter::DrawCaptionCloseButton(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
}

void TdxBarStandardPainter::DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
}

void TdxBarStandardPainter::DrawMDIButton(TCustomdxBarControl* BarControl, TdxBarMDIButton Button, const TRect& R, HDC DC, int State) const {
}

TRect TdxBarStandardPainter::MarkRect(TCustomdxBarControl* BarControl) const {
  return {};
}

void TdxBarStandardPainter::FillDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R, HBRUSH Brush) const {
}

void TdxBarStandardPainter::DrawSimpleComboButton(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R, HBRUSH Brush) const {
}

TRect TdxBarStandardPainter::MenuBorderRect(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

void TdxBarStandardPainter::DrawMenuItemFrame(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control, int ItemIndex, const TRect& R, HDC DC) const {
}

// ---- the Enhanced painter

void TdxBarEnhancedPainter::DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
}

void TdxBarEnhancedPainter::DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
}

void RegisterStandardBarPainters() {
  RegisterBarPainterClass(bmsStandard, [] { return new TdxBarStandardPainter(); });
  RegisterBarPainterClass(bmsEnhanced, [] { return new TdxBarEnhancedPainter(); });
}
