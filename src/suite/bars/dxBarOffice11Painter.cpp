#include "suite/bars/dxBarOffice11Painter.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "platform/win/Gdi.h"
#include "suite/bars/dxBarDock.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/cxGraphicsImages.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/dxOffice11.h"
#include "suite/bars/dxBarGdiScopes.h"

// ---- the roles of the colour set
//
// Numbers of the suite's Office 2003 set, read by the role each plays here; the brush numbers are
// those the set makes of them (its brushes 0 and 1 are the grip dots').

namespace dxBarOffice11 {
namespace {

using dxBarGdi::TTempObject;
using dxBarGdi::TClipKeeper;
TColor C(int Index) {
  if (Office11ColorsUsers() == 0) return Office11RoleColor(TOffice11Role(Index));
  return Office11Colors[Index];
}
HBRUSH B(int Index) {
  HBRUSH b = Office11Brushes[Index];
  // Without users the set keeps no brushes: the system colour of the same role stands in.
  return b ? b : GetSysColorBrush(COLOR_BTNFACE);
}
}  // namespace

TColor DockColor1() { return C(0); }
TColor DockColor2() { return C(1); }
TColor BarColor1() { return C(2); }
TColor BarColor2() { return C(3); }
TColor MarkStartColor(int State) { return C(4 + std::clamp(State, 0, 2)); }
TColor MarkEndColor(int State) { return C(7 + std::clamp(State, 0, 2)); }
TColor MarkCornerColor(int State) { return C(12 + std::clamp(State, 0, 2)); }
TColor BarEdgeColor() { return C(10); }
TColor BarBorderColor() { return C(11); }
TColor MarkGlyphColor() { return C(22); }
TColor MarkGlyphLightColor() { return C(23); }
TColor FloatingBorderColor() { return C(24); }
TColor FloatingInnerColor() { return C(25); }
TColor FloatingCaptionBrushColor() { return C(26); }
TColor CaptionColor() { return C(27); }
TColor CaptionTextColor() { return C(28); }
TColor CaptionTextHotColor() { return C(29); }
TColor CaptionTextPressedColor() { return C(30); }
TColor OpenButtonColor1() { return C(32); }
TColor OpenButtonColor2() { return C(33); }
TColor BandColor1() { return C(34); }
TColor BandColor2() { return C(35); }
TColor BandSelColor1() { return C(36); }
TColor BandSelColor2() { return C(37); }
TColor HotColor1() { return C(42); }
TColor HotColor2() { return C(43); }
TColor DownColor1() { return C(44); }
TColor DownColor2() { return C(45); }
TColor DownSolidColor() { return C(47); }
TColor DownMenuColor() { return C(47); }
TColor TextColor() { return C(51); }
TColor SelectedTextColor() { return C(51); }
TColor DisabledTextColor() { return C(52); }
TColor DateNavigatorColor() { return C(54); }
TColor ShadowColor() { return C(38); }
HBRUSH BarBrush() { return B(4); }
HBRUSH DownFrameBrush() { return B(5); }
HBRUSH SelectedBrush() { return B(6); }
HBRUSH BandBrush() { return B(7); }
HBRUSH DownBrush() { return B(8); }
HBRUSH DownSelectedBrush() { return B(9); }
HBRUSH BorderBrush() { return B(10); }
HBRUSH SeparatorDarkBrush() { return B(2); }
HBRUSH SeparatorLightBrush() { return B(3); }
HBRUSH DetachBrush() { return B(12); }
HBRUSH DetachHotBrush() { return B(13); }
HBRUSH ShadowBrush() { return B(14); }
HBRUSH InPlaceHotBrush() { return B(15); }
}  // namespace dxBarOffice11

using namespace dxBarOffice11;

namespace {

void FillWithBrush(HDC DC, const TRect& R, HBRUSH Brush) {
  if (R.IsEmpty()) return;
  RECT r = R;
  FillRect(DC, &r, Brush);
}

void FrameWithBrush(HDC DC, const TRect& R, HBRUSH Brush) {
  RECT r = R;
  FrameRect(DC, &r, Brush);
}

void Pixel(HDC DC, int X, int Y, TColor Color) { SetPixel(DC, X, Y, COLORREF(ColorToRGB(Color))); }

TColor Blend(TColor A, TColor B) { return MixColors(A, B, 50); }

TCustomdxBarControl* BarOf(TdxBarItemControl* Control) { return Control ? Control->BarControl() : nullptr; }


HDC DCOf(TdxBarItemControlDrawParams* DrawParams) {
  if (!DrawParams || !DrawParams->DrawCanvas) return nullptr;
  DrawParams->DrawCanvas->MeasureTextWidth(std::string());
  return DrawParams->DrawCanvas->CurrentDC();
}

bool NonRecent(TdxBarItemControl* Control) { return Control && Control->LessUsed; }

TdxBar* BarModel(TCustomdxBarControl* Bar) {
  if (!Bar || !Bar->ItemLinks()) return nullptr;
  return dynamic_cast<TdxBar*>(Bar->ItemLinks()->LinksOwner());
}

bool IsMainMenuBar(TCustomdxBarControl* Bar) {
  if (!Bar) return false;
  if (Bar->IsMainMenu()) return true;
  TdxBar* b = BarModel(Bar);
  return b && b->IsMainMenu();
}

bool Bordered(TCustomdxBarControl* Bar) {
  TdxBar* b = BarModel(Bar);
  return !b || b->BorderStyle() == bbsSingle;
}

// Docked along the top or bottom edge (also a floating bar): the bar's gradient runs down.
bool LyingBar(TCustomdxBarControl* Bar) {
  if (!Bar) return true;
  TdxBarDockingStyle s = Bar->DockingStyle();
  return s != dsLeft && s != dsRight;
}

HBRUSH BarBackground(const TdxBarPainter& Painter, TCustomdxBarControl* Bar) {
  return Bar && Bar->BackgroundBrush() ? Bar->BackgroundBrush() : Painter.BarBrush(Bar);
}

bool InMenuBar(TCustomdxBarControl* Bar) { return Bar && Bar->BarControlKind() == 2; }

// The colour of the two-phase band gradient at one pixel, as FillOffice11Gradient draws it.
TColor Office11GradientAt(const TRect& R, int Pos, TColor Color1, TColor Color2, bool Horizontal) {
  const COLORREF a = COLORREF(ColorToRGB(Color1)) & 0xFFFFFF, b = COLORREF(ColorToRGB(Color2)) & 0xFFFFFF;
  if (a == b) return TColor(a);
  const int L = Horizontal ? R.Width() : R.Height();
  if (L <= 0) return TColor(a);
  const int i = std::clamp(Pos - (Horizontal ? R.Left : R.Top), 0, L - 1);
  const int H = L / 2, P = Office11GradientPercent;
  std::array<int, 3> c1{int(a & 0xFF), int((a >> 8) & 0xFF), int((a >> 16) & 0xFF)},
      c2{int(b & 0xFF), int((b >> 8) & 0xFF), int((b >> 16) & 0xFF)}, v{};
  for (int k = 0; k < 3; ++k) {
    int m = c1[k] - MulDiv(c1[k] - c2[k], P, 200), s = 0, e = 0;
    if (H > 0) {
      s = c1[k] - MulDiv(c1[k] - m, L, H);
      e = c2[k] + MulDiv(m - c2[k], L, H);
    }
    if (i < H) v[k] = c1[k] + MulDiv(i, s - c1[k], L - 1);
    else if (i == H) v[k] = m;
    else v[k] = e + MulDiv(i, c2[k] - e, L - 1);
    v[k] = std::clamp(v[k], 0, 255);
  }
  return TColor(RGB(v[0], v[1], v[2]));
}

}  // namespace

// ---- construction

TdxBarOffice11Painter::TdxBarOffice11Painter() {
  if (Office11ColorsUsers() > 0) Office11ColorsRefresh();
}

void RegisterOffice11BarPainters() {
  RegisterBarPainterClass(bmsOffice11, [] { return new TdxBarOffice11Painter(); });
}

// ---- items

void TdxBarOffice11Painter::ItemGradientColors(TCustomdxBarControl* Bar, bool Selected, bool Pressed, bool Down,
                                               TColor& Color1, TColor& Color2) {
  const bool active = Pressed || Down;
  if (InMenuBar(Bar)) {
    Color1 = Color2 = active ? DownMenuColor() : HotColor1();
  } else if (!active) {
    Color1 = HotColor1();
    Color2 = HotColor2();
  } else if (Selected) {
    Color1 = DownColor2();
    Color2 = DownColor1();
  } else {
    Color1 = DownColor1();
    Color2 = DownColor2();
    if (Color1 == Color2) Color1 = Color2 = DownSolidColor();
  }
}

void TdxBarOffice11Painter::FrameGlyphArea(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon,
                                           bool Selected, bool Down, bool Pressed, bool DroppedDown, bool Split,
                                           bool WithBorder, HBRUSH Brush, const TRect& R) const {
  TCustomdxBarControl* bar = BarOf(Control);
  const bool inMenu = PaintType == 1;
  if ((inMenu && Selected && NoIcon && !Down) || (Control && Control->HasOwnBackground())) {
    FillWithBrush(DC, R, Brush);
    return;
  }
  const bool active = Down || Selected || Pressed;
  bool open = DroppedDown && !Down;
  if (open && Control) {
    auto* link = Control->ItemLink();
    bool quick = bar && bar->IsQuickCustomizationPopup();
    open = !quick && (Control->HasDropDown() || (link && dynamic_cast<TCustomdxBarSubItem*>(link->Item())));
  }
  const bool vertical = !LyingBar(bar);
  if (open) {
    FillOffice11Gradient(DC, R, OpenButtonColor1(), OpenButtonColor2(), vertical);
  } else if (active && !inMenu) {
    TColor c1, c2;
    ItemGradientColors(bar, Selected, Pressed, Down, c1, c2);
    FillOffice11Gradient(DC, R, c1, c2, vertical);
  } else {
    FillControlBackground(Control, DC, active, Brush, R);
  }
  if (Down || (Selected && !inMenu) || DroppedDown) {
    auto* button = Control && Control->ItemLink() ? dynamic_cast<TdxBarButton*>(Control->ItemLink()->Item()) : nullptr;
    if (DroppedDown)
      CallClipped(bar, DC, R, Control, Control ? Control->DropDownBarControl() : nullptr);
    else if (Selected || (button && button->Down()))
      FrameSelection(DC, R);
    else
      FrameWithBrush(DC, R, DownFrameBrush());
  } else if (WithBorder) {
    FrameControlBackground(Control, DC, active, Brush, R);
  }
}

void TdxBarOffice11Painter::DrawArrow(HDC DC, const TRect& R, TcxArrowDirection Direction, bool Enabled,
                                      bool Selected, bool Flat, TColor Color) const {
  Office11DrawArrowInRect(DC, R, Direction == adDown, Enabled, Selected);
}

void TdxBarOffice11Painter::DrawArrowSized(HDC DC, const TRect& R, TcxArrowDirection Direction, int Size,
                                           bool Selected, bool Enabled, bool Flat, TColor Color) const {
  Office11DrawArrowOfSize(DC, R, Direction == adDown, Size, Selected, Enabled);
}

void TdxBarOffice11Painter::FrameSelection(HDC DC, const TRect& R) const { Office11DrawSelectionFrame(DC, R); }

TColor TdxBarOffice11Painter::StateTextColor(TdxBarItemControl*, bool Selected, bool Flat) const {
  if (Selected && !Flat) return IsBtnFaceWhite() ? TColor(0xFFFFFF) : SelectedTextColor();
  return TextColor();
}

void TdxBarOffice11Painter::DisabledCaptionColors(TdxBarItemControl*, bool, TColor& ShadowColor, TColor& TextColor,
                                                  bool) const {
  ShadowColor = TextColor = DisabledTextColor();
}

TColor TdxBarOffice11Painter::FloatingCaptionColor(TCustomdxBarControl*, bool) const { return CaptionColor(); }

TColor TdxBarOffice11Painter::FloatingCaptionTextColor(TCustomdxBarControl*) const { return CaptionTextColor(); }

TColor TdxBarOffice11Painter::CloseSignColor(TCustomdxBarControl*, int State) const {
  if (State == 1) return CaptionTextHotColor();
  if (State == 2) return CaptionTextPressedColor();
  return CaptionTextColor();
}

void TdxBarOffice11Painter::DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                               const TRect& R) const {
  const int state = BarControl ? std::clamp(BarControl->MarkState(), 0, 2) : 0;
  const TColor start = MarkStartColor(state), end = MarkEndColor(state), corner = MarkCornerColor(state);
  const bool lying = LyingBar(BarControl);
  TRect g = R;
  if (BarControl && Bordered(BarControl) && !IsMainMenuBar(BarControl)) {
    // The mark is the bar's rounded end: it reaches over the border and keeps a strip of the
    // bar's own background before it.
    HBRUSH back = BarBackground(*this, BarControl);
    TRect client = BarControl->ClientBounds();
    if (lying) {
      BarControl->DrawBackground(DC, TRect(R.Left, R.Top, R.Left + 2, R.Bottom), true, clNone, back);
      g = TRect(R.Left + 2, R.Top - 2, R.Right, R.Bottom + 2);
      Pixel(DC, R.Left + 1, R.Top, Blend(corner, Office11GradientAt(client, R.Top + 2, BarColor1(), BarColor2(), false)));
    } else {
      BarControl->DrawBackground(DC, TRect(R.Left, R.Top, R.Right, R.Top + 2), true, clNone, back);
      g = TRect(R.Left - 2, R.Top + 2, R.Right + 2, R.Bottom);
      Pixel(DC, R.Left, R.Top + 1, Blend(corner, Office11GradientAt(client, R.Left + 2, BarColor1(), BarColor2(), true)));
    }
  }
  FillOffice11Gradient(DC, g, start, end, !lying);
}

void TdxBarOffice11Painter::DrawMarkContents(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  const bool plain = !BarControl || !Bordered(BarControl) || IsMainMenuBar(BarControl);
  const int f = plain ? 2 : 0, g = plain ? 1 : 0;
  const bool lying = LyingBar(BarControl);
  auto twice = [&](auto&& Draw) {
    Draw(1, MarkGlyphLightColor());
    Draw(0, MarkGlyphColor());
  };
  auto poly = [&](std::initializer_list<POINT> Points, int Shift, TColor Color) {
    std::vector<POINT> p(Points);
    for (POINT& q : p) {
      q.x += Shift;
      q.y += Shift;
    }
    TTempObject pen(CreatePen(PS_SOLID, 1, COLORREF(ColorToRGB(Color))));
    TTempObject brush(CreateSolidBrush(COLORREF(ColorToRGB(Color))));
    HGDIOBJ oldPen = SelectObject(DC, pen.Handle()), oldBrush = SelectObject(DC, brush.Handle());
    Polygon(DC, p.data(), int(p.size()));
    SelectObject(DC, oldPen);
    SelectObject(DC, oldBrush);
  };
  auto bar = [&](int L, int T, int Rr, int B, int Shift, TColor Color) {
    TTempObject brush(CreateSolidBrush(COLORREF(ColorToRGB(Color))));
    FillWithBrush(DC, TRect(L + Shift, T + Shift, Rr + Shift, B + Shift), brush.Brush());
  };
  if (AllowsQuickCustomizing()) {
    if (lying) {
      const int x = R.Right - f - 6, y = R.Bottom - g - 8;
      twice([&](int s, TColor c) {
        bar(x, y, x + 5, y + 1, s, c);
        poly({{x, y + 3}, {x + 4, y + 3}, {x + 2, y + 5}}, s, c);
      });
    } else {
      const int x = R.Right - g - 8, y = R.Bottom - f - 6;
      twice([&](int s, TColor c) {
        bar(x, y, x + 1, y + 5, s, c);
        poly({{x + 3, y}, {x + 3, y + 4}, {x + 5, y + 2}}, s, c);
      });
    }
  }
  if (BarControl && BarControl->HasHiddenItems()) {
    if (lying) {
      const int x = R.Right - f - 7, y = R.Top - g + 3;
      twice([&](int s, TColor c) {
        poly({{x, y}, {x + 1, y + 1}, {x, y + 2}}, s, c);
        poly({{x + 4, y}, {x + 5, y + 1}, {x + 4, y + 2}}, s, c);
      });
    } else {
      const int x = R.Left - f + 3, y = R.Bottom - g - 7;
      twice([&](int s, TColor c) {
        poly({{x, y}, {x + 1, y + 1}, {x + 2, y}}, s, c);
        poly({{x, y + 4}, {x + 1, y + 5}, {x + 2, y + 4}}, s, c);
      });
    }
  }
}

void TdxBarOffice11Painter::DrawExpandChevrons(TdxBarSubMenuControl* SubMenu, HDC DC, bool Hot,
                                               const TRect& R) const {
  if (!Office11SubMenuExpandBitmap) {
    TdxBarFlatPainter::DrawExpandChevrons(SubMenu, DC, Hot, R);
    return;
  }
  const int side = std::max(0, R.Height() - 2);
  const int x = R.Left + (R.Width() - side) / 2, y = R.Top + (R.Height() - side) / 2;
  DrawGlyphInState(DC, TRect(x, y, x + side, y + side), Office11SubMenuExpandBitmap, 1);
}

TcxCustomLookAndFeelPainter* TdxBarOffice11Painter::LookAndFeelPainter() const {
  TcxLookAndFeelPaintersManager* manager = cxLookAndFeelPaintersManager();
  return manager ? manager->PainterForKind(psOffice11) : nullptr;
}

void TdxBarOffice11Painter::BeforeDrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams,
                                                 const TRect& R) const {
  TdxBarItemControl* control = DrawParams->Control();
  TCustomdxBarControl* bar = BarOf(control);
  HDC dc = DCOf(DrawParams);
  const bool selected = DrawParams->Highlighted;
  const int iconWidth = bar ? bar->IconAreaWidth() : R.Height();
  HBRUSH brush = selected ? SelectionBrush(bar) : BarBackground(*this, bar);
  // Unselected pieces are the menu's own background (band gradient included).
  if (selected) {
    FrameSelection(dc, R);
  } else {
    const int split = R.Left + iconWidth + 1;
    for (const TRect& line : {TRect(R.Left, R.Top, split, R.Top + 1), TRect(R.Left, R.Bottom - 1, split, R.Bottom),
                              TRect(R.Left, R.Top, R.Left + 1, R.Bottom), TRect(split, R.Top, R.Right, R.Top + 1),
                              TRect(split, R.Bottom - 1, R.Right, R.Bottom), TRect(R.Right - 1, R.Top, R.Right, R.Bottom)})
      FillControlBackground(control, dc, false, brush, line);
  }
  const TRect r = R.Inflate(-1, -1);
  const TRect icon = MenuItemIconRect(R, iconWidth);
  FillControlBackground(control, dc, selected, brush,
                        TRect(icon.Right, r.Top, std::min(icon.Right + 2, r.Right), r.Bottom));
  FillControlBackground(control, dc, selected, brush, TRect(icon.Right + 2, r.Top, r.Right, r.Bottom));
}

void TdxBarOffice11Painter::DrawButtonFace(TdxBarItemControl* Control, HDC DC, bool Pressed, bool Selected,
                                           bool Enabled, const TRect& R) const {
  TCustomdxBarControl* bar = BarOf(Control);
  if (Selected) {
    FrameSelection(DC, R);
    FillWithBrush(DC, R.Inflate(-1, -1), Pressed ? MenuBrush(bar) : SelectionBrush(bar));
  } else if (Enabled) {
    FrameWithBrush(DC, R, BarBackground(*this, bar));
    FillWithBrush(DC, R.Inflate(-1, -1), BandBrush());
  } else {
    TTempObject frame(CreateSolidBrush(COLORREF(ColorToRGB(DisabledTextColor()))));
    FrameWithBrush(DC, R, frame.Brush());
    FillWithBrush(DC, R.Inflate(-1, -1), GetSysColorBrush(COLOR_BTNFACE));
  }
}

bool TdxBarOffice11Painter::DownButtonHighlight() const {
  return IsOffice11SchemeActive() ? false : TdxBarFlatPainter::DownButtonHighlight();
}

// ---- dock sites and bars

void TdxBarOffice11Painter::FillDockBackground(TdxDockControl* DockControl, HDC DC, TColor Color, HBRUSH Brush,
                                               const TRect& R, const TRect& OriginRect) const {
  TColor c1 = DockColor1(), c2 = DockColor2();
  TRect area = OriginRect.IsEmpty() ? R : OriginRect;
  if (DockControl) {
    area = DockControl->ClientRect();
    if (DockControl->DockingStyle() == dsLeft) c2 = c1;
    if (DockControl->DockingStyle() == dsRight) c1 = c2;
  }
  TClipKeeper keep(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  GradientFillRect(DC, area, c1, c2, true);
}

HBRUSH TdxBarOffice11Painter::ManagerBarBrush(TdxBarManager*) const { return BandBrush(); }

void TdxBarOffice11Painter::DrawBarOnDockBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color,
                                                    HBRUSH Brush, const TRect& ItemRect,
                                                    const TRect& OriginRect) const {
  if (!BarControl || !Bordered(BarControl) || IsMainMenuBar(BarControl) || BarControl->HasBackgroundImage()) {
    TdxBarFlatPainter::DrawBarOnDockBackground(BarControl, DC, Color, Brush, ItemRect, OriginRect);
    return;
  }
  const bool lying = LyingBar(BarControl);
  TRect g = BarControl->ClientBounds();
  if (lying)
    g = g.Inflate(0, -1);
  else
    g = g.Inflate(-1, 0);
  TClipKeeper keep(DC);
  IntersectClipRect(DC, ItemRect.Left, ItemRect.Top, ItemRect.Right, ItemRect.Bottom);
  FillOffice11Gradient(DC, g, BarColor1(), BarColor2(), !lying);
}

void TdxBarOffice11Painter::DrawBarWallpaper(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                                             const TRect& R, const TRect& OriginRect) const {
  if (!BarControl || BarControl->IsInternalPopup() || BarControl->HasBackgroundImage()) {
    TdxBarFlatPainter::DrawBarWallpaper(BarControl, DC, Color, Brush, R, OriginRect);
    return;
  }
  TClipKeeper keep(DC);
  IntersectClipRect(DC, R.Left, R.Top, R.Right, R.Bottom);
  GradientFillRect(DC, BarControl->ClientBounds(), BarColor1(), BarColor2(), false);
}

void TdxBarOffice11Painter::FillBarBorderArea(TCustomdxBarControl* BarControl, HDC DC) const {
  // Bars here have no caption buttons: nothing to fill.
}

HBRUSH TdxBarOffice11Painter::BarBrush(TCustomdxBarControl*) const { return dxBarOffice11::BarBrush(); }

HBRUSH TdxBarOffice11Painter::ToolbarBrush(TCustomdxBarControl* BarControl) const {
  if (BarControl && IsMainMenuBar(BarControl)) return GetSysColorBrush(COLOR_BTNFACE);
  return TdxBarFlatPainter::ToolbarBrush(BarControl);
}

HBRUSH TdxBarOffice11Painter::CheckerBrush(TCustomdxBarControl*) const { return DownBrush(); }
HBRUSH TdxBarOffice11Painter::MenuBrush(TCustomdxBarControl*) const { return DownSelectedBrush(); }
HBRUSH TdxBarOffice11Painter::SelectionBrush(TCustomdxBarControl*) const { return SelectedBrush(); }

TRect TdxBarOffice11Painter::DockedBorderRect(TdxBar* Bar, TdxBarDockingStyle Style) const {
  if (Bar && Bar->IsMainMenu()) return Style == dsTop || Style == dsBottom ? TRect(0, 2, 0, 2) : TRect(2, 0, 2, 0);
  return TdxBarFlatPainter::DockedBorderRect(Bar, Style);
}

void TdxBarOffice11Painter::DrawBarSeparator(TCustomdxBarControl* BarControl, HDC DC, bool Horizontal, HBRUSH Brush,
                                             const TRect& R) const {
  if (BarControl)
    BarControl->DrawBackground(DC, R, true, clNone, Brush);
  else if (Brush)
    FillWithBrush(DC, R, Brush);
  const int m = BarSeparatorMargin();
  if (Horizontal) {
    const int top = R.Top + m;
    FillWithBrush(DC, TRect(R.Left + 3, top, R.Right - 4, top + 1), SeparatorDarkBrush());
    FillWithBrush(DC, TRect(R.Left + 4, top + 1, R.Right - 3, top + 2), SeparatorLightBrush());
  } else {
    const int left = R.Left + m;
    FillWithBrush(DC, TRect(left, R.Top + 3, left + 1, R.Bottom - 4), SeparatorDarkBrush());
    FillWithBrush(DC, TRect(left + 1, R.Top + 4, left + 2, R.Bottom - 3), SeparatorLightBrush());
  }
}

void TdxBarOffice11Painter::DrawCloseButtonBackground(TCustomdxBarControl* BarControl, HDC DC, int State,
                                                      const TRect& R) const {
  if (State == 0) {
    FillRectSolid(DC, R, FloatingCaptionColor(BarControl, false));
    return;
  }
  Office11DrawSelectionFrame(DC, R);
  FillRectSolid(DC, R.Inflate(-1, -1), State == 1 ? HotColor1() : HotColor2());
}

void TdxBarOffice11Painter::DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  if (!BarControl) return;
  int L = R.Left, T = R.Top, Rr = R.Right, B = R.Bottom;
  HBRUSH own = BarBackground(*this, BarControl);
  const bool lying = LyingBar(BarControl);
  const bool markShown = BarControl->HasMark();
  const int M = BarControl->MarkSize();
  const int w = markShown ? M : 0;
  const int state = std::clamp(BarControl->MarkState(), 0, 2);
  const TColor C = MarkCornerColor(state), S = MarkStartColor(state), E = MarkEndColor(state), K = BarBorderColor();
  // The dock site under the bar, in the bar's own coordinates.
  TdxDockControl* dock = BarControl->DockControl();
  TRect dockArea = dock ? dock->ClientRect() : TRect();
  const TPoint at = dock ? TPoint(BarControl->Left(), BarControl->Top()) : TPoint();
  auto bg = [&](const TRect& Part) {
    if (Part.IsEmpty()) return;
    if (dock) {
      TClipKeeper keep(DC);
      IntersectClipRect(DC, Part.Left, Part.Top, Part.Right, Part.Bottom);
      POINT old;
      OffsetWindowOrgEx(DC, at.X, at.Y, &old);
      FillDockBackground(dock, DC, clNone, nullptr, Part.Offset(at.X, at.Y), TRect());
      SetWindowOrgEx(DC, old.x, old.y, nullptr);
    } else {
      FillRectSolid(DC, Part, DockColor1());
    }
  };
  auto dockAt = [&](int X, int Y) {
    if (!dock) return DockColor1();
    TColor c1 = DockColor1(), c2 = DockColor2();
    if (dock->DockingStyle() == dsLeft) c2 = c1;
    if (dock->DockingStyle() == dsRight) c1 = c2;
    return GradientColorAt(dockArea, X + at.X, c1, c2, true);
  };
  const TRect gradArea(R.Left, R.Top + 1, R.Right, R.Bottom - 1);
  const TRect gradAreaV(R.Left + 1, R.Top, R.Right - 1, R.Bottom);
  auto grad = [&](int N) {
    return lying ? Office11GradientAt(gradArea, N, BarColor1(), BarColor2(), false)
                 : Office11GradientAt(gradAreaV, N, BarColor1(), BarColor2(), true);
  };
  auto bar = [&](const TRect& Part) {
    if (!Part.IsEmpty()) DrawBarOnDockBackground(BarControl, DC, clNone, own, Part, R);
  };
  TTempObject edge(CreateSolidBrush(COLORREF(ColorToRGB(BarEdgeColor()))));
  auto markGradient = [&](const TRect& Whole, std::initializer_list<TRect> Pieces, bool Horizontal) {
    for (const TRect& piece : Pieces) {
      if (piece.IsEmpty()) continue;
      TClipKeeper keep(DC);
      IntersectClipRect(DC, piece.Left, piece.Top, piece.Right, piece.Bottom);
      FillOffice11Gradient(DC, Whole, S, E, Horizontal);
    }
  };

  if (IsMainMenuBar(BarControl)) {
    if (lying) {
      bg(TRect(L, T, Rr, T + 2));
      bg(TRect(L, B - 2, Rr, B));
    } else {
      bg(TRect(L, T, L + 2, B));
      bg(TRect(Rr - 2, T, Rr, B));
    }
  } else if (Bordered(BarControl) && BarControl->DockingStyle() != dsNone) {
    if (lying) {
      // Leading edge.
      bg(TRect(L, T, L + 2, B));
      L += 2;
      bg(TRect(L, T, Rr, T + 1));
      T += 1;
      bg(TRect(L, B - 2, L + 1, B - 1));
      bg(TRect(L + 1, B - 1, L + 2, B));
      bar(TRect(L, T + 2, L + 1, B - 3));
      Pixel(DC, L + 1, B - 3, K);
      Pixel(DC, L, B - 3, Blend(dockAt(L, T), K));
      Pixel(DC, L + 1, B - 2, Blend(dockAt(L, T), K));
      Pixel(DC, L, T + 1, Blend(dockAt(L, T), grad(T + 1)));
      Pixel(DC, L + 1, T, Blend(dockAt(L, T), grad(T + 1)));
      // Top edge.
      bar(TRect(L + 2, T, Rr - 2 - w, T + 1));
      TColor a, b;
      if (markShown) {
        Pixel(DC, Rr - M - 1, T, C);
        Pixel(DC, Rr - 2, T + 1, C);
        Pixel(DC, Rr - M - 2, T, Blend(C, grad(T + 1)));
        a = C;
        b = dockAt(Rr, T);
      } else {
        a = dockAt(Rr, T);
        b = grad(T + 1);
      }
      Pixel(DC, Rr - 2, T, Blend(a, b));
      Pixel(DC, Rr - 1, T + 1, Blend(a, b));
      // Trailing edge.
      if (!markShown) {
        bar(TRect(Rr - 2, T + 1, Rr - 1, B - 2));
        bar(TRect(Rr - 1, T + 2, Rr, B - 1));
      } else {
        markGradient(TRect(Rr - M - 1, T, Rr, B),
                     {TRect(Rr - M, T, Rr - 2, T + 1), TRect(Rr - 2, T + 2, Rr, B - 2),
                      TRect(Rr - M - 1, B - 1, Rr - 2, B), TRect(Rr - M, B - 2, Rr - 1, B - 1)},
                     false);
        Pixel(DC, Rr - 1, B - 2, Blend(E, dockAt(Rr, B)));
        Pixel(DC, Rr - 2, B - 1, Blend(E, dockAt(Rr, B)));
      }
      // Bottom edge.
      bar(TRect(L + 2, B - 2, Rr - 2 - w, B - 1));
      if (markShown) {
        Pixel(DC, Rr - M - 2, B - 1, Blend(E, K));
        Pixel(DC, Rr - M - 1, B - 2, Blend(E, K));
        Pixel(DC, Rr - M - 2, B - 2, K);
        FillWithBrush(DC, TRect(L + 2, B - 1, Rr - M - 2, B), edge.Brush());
      } else {
        Pixel(DC, Rr - 2, B - 1, Blend(K, dockAt(Rr, B)));
        Pixel(DC, Rr - 1, B - 2, Blend(K, dockAt(Rr, B)));
        Pixel(DC, Rr - 2, B - 2, K);
        FillWithBrush(DC, TRect(L + 2, B - 1, Rr - 2, B), edge.Brush());
      }
    } else {
      // Top edge.
      bg(TRect(L, T, Rr, T + 2));
      T += 2;
      bg(TRect(L, T, L + 1, B));
      L += 1;
      bar(TRect(L, T + 2, L + 1, B - 2 - w));
      bar(TRect(L + 2, T, Rr - 2, T + 1));
      Pixel(DC, Rr - 2, T + 1, K);
      Pixel(DC, Rr - 2, T, Blend(dockAt(L, T), K));
      Pixel(DC, Rr - 1, T + 1, Blend(dockAt(L, T), K));
      Pixel(DC, L, T + 1, Blend(dockAt(L, T), grad(L)));
      Pixel(DC, L + 1, T, Blend(dockAt(L, T), grad(L)));
      // Lower left corner.
      TColor a, b;
      if (markShown) {
        Pixel(DC, L, B - M - 2, Blend(C, grad(L + 1)));
        Pixel(DC, L, B - M - 1, C);
        Pixel(DC, L + 1, B - 2, C);
        a = C;
        b = dockAt(L, B);
      } else {
        a = dockAt(L, B);
        b = grad(L + 1);
      }
      Pixel(DC, L, B - 2, Blend(a, b));
      Pixel(DC, L + 1, B - 1, Blend(a, b));
      // Right and bottom edges.
      bar(TRect(Rr - 2, T + 2, Rr - 1, B - 2 - w));
      if (!markShown) {
        bar(TRect(L + 2, B - 1, Rr - 1, B));
        bar(TRect(L + 1, B - 2, Rr - 2, B - 1));
        Pixel(DC, Rr - 2, B - 1, Blend(K, dockAt(Rr, B)));
        Pixel(DC, Rr - 1, B - 2, Blend(K, dockAt(Rr, B)));
        Pixel(DC, Rr - 2, B - 2, K);
        FillWithBrush(DC, TRect(Rr - 1, T + 2, Rr, B - 2), edge.Brush());
      } else {
        markGradient(TRect(L, B - M - 1, Rr, B),
                     {TRect(L, B - M, L + 1, B - 2), TRect(L + 2, B - 2, Rr - 2, B),
                      TRect(Rr - 2, B - M, Rr - 1, B - 1), TRect(Rr - 1, B - M - 1, Rr, B - 2)},
                     true);
        Pixel(DC, Rr - 1, B - 2, Blend(E, dockAt(Rr, B)));
        Pixel(DC, Rr - 2, B - 1, Blend(E, dockAt(Rr, B)));
        Pixel(DC, Rr - 2, B - M - 1, Blend(E, K));
        Pixel(DC, Rr - 1, B - M - 2, Blend(E, K));
        Pixel(DC, Rr - 2, B - M - 2, K);
        FillWithBrush(DC, TRect(Rr - 1, T + 2, Rr, B - M - 2), edge.Brush());
      }
    }
    // The corners of the rounded rectangle show the dock site.
    bg(TRect(L, T, L + 1, T + 1));
    bg(TRect(Rr - 1, T, Rr, T + 1));
    bg(TRect(L, B - 1, L + 1, B));
    bg(TRect(Rr - 1, B - 1, Rr, B));
  }
  // The dotted grip.
  if (!BarControl->ShowsGrip()) return;
  const TRect r = R.Inflate(-2, -2);
  const int gap = ToolbarBorderGap(), dots = GripDotCount();
  const TRect grip = lying ? TRect(r.Left + gap, r.Top + 3, r.Left + gap + dots, r.Bottom - 3)
                           : TRect(r.Left + 3, r.Top + gap, r.Right - 3, r.Top + gap + dots);
  DrawGripDots(BarControl, DC, lying, grip);
}

void TdxBarOffice11Painter::DrawFloatingBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  if (BarControl && BarControl->IsInternalPopup()) {
    FrameWithBrush(DC, R, BorderBrush());
    HBRUSH brush = BarBackground(*this, BarControl);
    TRect r = R;
    for (int i = 1; i < FloatingFrameWidth(); ++i) {
      r = r.Inflate(-1, -1);
      FrameWithBrush(DC, r, brush);
    }
    return;
  }
  FrameRectSolid(DC, R, FloatingBorderColor());
  FrameRectSolid(DC, R.Inflate(-1, -1), FloatingBorderColor());
  const TRect inner = R.Inflate(-2, -2);
  FrameRectSolid(DC, inner, FloatingInnerColor());
  for (TPoint p : {TPoint(inner.Left, inner.Top), TPoint(inner.Right - 1, inner.Top),
                   TPoint(inner.Left, inner.Bottom - 1), TPoint(inner.Right - 1, inner.Bottom - 1)})
    Pixel(DC, p.X, p.Y, FloatingBorderColor());
}

void TdxBarOffice11Painter::DrawFloatingCaption(TCustomdxBarControl* BarControl, HDC DC, HBRUSH,
                                                const TRect& CaptionRect) const {
  TTempObject brush(CreateSolidBrush(COLORREF(ColorToRGB(FloatingCaptionBrushColor()))));
  TdxBarFlatPainter::DrawFloatingCaption(BarControl, DC, brush.Brush(), CaptionRect);
}

TRect TdxBarOffice11Painter::MarkAreaRect(TCustomdxBarControl* BarControl) const {
  TRect r = MarkRect(BarControl);
  if (!BarControl || !Bordered(BarControl) || IsMainMenuBar(BarControl) || BarControl->DockingStyle() == dsNone)
    return r;
  if (LyingBar(BarControl)) {
    r.Top -= 1;
    r.Right += 2;
    r.Bottom += 1;
  } else {
    r.Left -= 1;
    r.Right += 1;
    r.Bottom += 2;
  }
  return r;
}

void TdxBarOffice11Painter::InvalidateMark(TCustomdxBarControl* BarControl) const {
  TdxBarFlatPainter::InvalidateMark(BarControl);
  if (BarControl && BarControl->HandleAllocated() && BarControl->DockingStyle() != dsNone)
    SendMessage(BarControl->WindowHandle(), WM_NCPAINT, 1, 0);
}

HBRUSH TdxBarOffice11Painter::ToolbarBrushEx(TCustomdxBarControl*) const { return dxBarOffice11::BarBrush(); }

HBRUSH TdxBarOffice11Painter::ArrowAreaBrush(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  TCustomdxBarControl* bar = BarOf(DrawParams->Control());
  if (!DrawParams->DrawEnabled) return GetSysColorBrush(COLOR_BTNFACE);
  if (!DrawParams->Highlighted) return BarBackground(*this, bar);
  return DrawParams->PopupOpen ? MenuBrush(bar) : SelectionBrush(bar);
}

TColor TdxBarOffice11Painter::ComboArrowColor(TdxBarEditLikeControlDrawParams* DrawParams) const {
  if (!DrawParams->DrawEnabled) return DisabledTextColor();
  if (DrawParams->Highlighted) {
    if (IsBtnFaceWhite()) return TColor(0xFFFFFF);
    if (DrawParams->PopupOpen && !IsOffice11SchemeActive()) return clHighlightText;
  }
  return TextColor();
}

HBRUSH TdxBarOffice11Painter::ComboButtonBrush(TdxBarEditLikeControlDrawParams* DrawParams) const {
  TCustomdxBarControl* bar = BarOf(DrawParams->Control());
  if (DrawParams->Highlighted) return SelectionBrush(bar);
  if (DrawParams->PopupOpen) return MenuBrush(bar);
  return DrawParams->DrawEnabled ? BarBackground(*this, bar) : GetSysColorBrush(COLOR_BTNFACE);
}

void TdxBarOffice11Painter::DrawSimpleComboButton(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R,
                                                  HBRUSH Brush) const {
  HDC dc = DCOf(DrawParams);
  TCustomdxBarControl* bar = BarOf(DrawParams->Control());
  if (DrawParams->Highlighted) {
    R = R.Inflate(1, 1);
    Office11DrawSelectionFrame(dc, R);
    R = R.Inflate(-1, -1);
    TColor c1, c2;
    ItemGradientColors(bar, true, DrawParams->PopupOpen, false, c1, c2);
    FillOffice11Gradient(dc, R, c1, c2, false);
    R = R.Inflate(-1, -1);
  } else {
    HBRUSH frame = DrawParams->DrawEnabled ? GetSysColorBrush(COLOR_WINDOW) : Brush;
    FrameWithBrush(dc, R, frame);
    FillWithBrush(dc, TRect(R.Left - 1, R.Top, R.Left, R.Bottom), frame);
    R = R.Inflate(-1, -1);
    if (DrawParams->PaintKind == 1 && DrawParams->DrawEnabled)
      FillWithBrush(dc, R, BandBrush());
    else
      FillControlBackground(DrawParams->Control(), dc, !DrawParams->DrawEnabled, Brush, R);
  }
  if (DrawParams->PopupOpen) R = R.Offset(1, 1);
}

void TdxBarOffice11Painter::DrawDropDownListBorder(HDC DC, TColor, const TRect& R) const {
  FrameWithBrush(DC, R, BorderBrush());
  FrameWithBrush(DC, R.Inflate(-1, -1), dxBarOffice11::BarBrush());
}

// ---- menus

void TdxBarOffice11Painter::MenuTextMetrics(TcxCanvas* Canvas, int TextSize, int& ArrowWidth, int& MarkSize) const {
  TdxBarFlatPainter::MenuTextMetrics(Canvas, TextSize, ArrowWidth, MarkSize);
  if (Office11SubMenuExpandBitmap) MarkSize = Office11SubMenuExpandBitmap->Height() + 2;
}

int TdxBarOffice11Painter::DetachCaptionAreaSize(TdxBarSubMenuControl* SubMenu) const {
  return TdxBarPainter::DetachCaptionAreaSize(SubMenu) + 5;
}

void TdxBarOffice11Painter::FillMenuBackground(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, TColor Color,
                                               HBRUSH Brush, const TRect& R) const {
  auto* menu = static_cast<TCustomdxBarControl*>(SubMenu);
  // The manager always holds a sub-menu picture; only one with pixels replaces the band.
  if (TBitmap* picture = menu ? menu->BackgroundBitmap() : nullptr; picture && !picture->Empty()) {
    TdxBarFlatPainter::FillMenuBackground(SubMenu, Canvas, Color, Brush, R);
    return;
  }
  HDC dc = Canvas->CurrentDC();
  TClipKeeper keep(dc);
  IntersectClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
  const int band = menu ? menu->IconAreaWidth() + MenuClientIndent() : 0;
  const TRect rest(std::max(R.Left, band), R.Top, R.Right, R.Bottom);
  if (Brush)
    FillWithBrush(dc, rest, Brush);
  else
    FillRectSolid(dc, rest, Color);
  if (band > 0 && R.Left < band) {
    const int height = menu->ClientBounds().Height();
    FillOffice11Gradient(dc, TRect(0, R.Top, band, std::max(R.Bottom, height)), BandColor1(), BandColor2(), true);
  }
}

void TdxBarOffice11Painter::DrawMenuBorder(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
  FrameWithBrush(DC, R, BorderBrush());
}

void TdxBarOffice11Painter::DrawMenuFrame(TdxBarSubMenuControl* SubMenu, HDC DC, HBRUSH Brush, const TRect& R) const {
  FrameWithBrush(DC, R.Inflate(-1, -1), dxBarOffice11::BarBrush());
}

void TdxBarOffice11Painter::DrawDetachCaption(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
  FillWithBrush(DC, R, DetachBrush());
  TRect dots(R.Left + (R.Width() + 2) / 4, R.Top + 2, R.Right - (R.Width() + 2) / 4, R.Bottom - 2);
  DrawGripDots(static_cast<TCustomdxBarControl*>(SubMenu), DC, false, dots);
}

HBRUSH TdxBarOffice11Painter::MenuOwnBrush(TdxBarSubMenuControl*) const { return dxBarOffice11::BarBrush(); }

// ---- edit-like items

TColor TdxBarOffice11Painter::EditDisabledBackgroundColor(TdxBarItemControl*) const {
  return TColor(GetSysColor(COLOR_BTNFACE));
}

TColor TdxBarOffice11Painter::EditTextColorDisabled() const { return DisabledTextColor(); }

int TdxBarOffice11Painter::EditFlagD(TdxBarEditLikeControlDrawParams* DrawParams) const { return 0; }

void TdxBarOffice11Painter::DrawEditHotFrame(TdxBarEditLikeControlDrawParams* DrawParams, HDC DC,
                                             const TRect& R) const {
  if (DrawParams->PaintKind == 1)
    FillWithBrush(DC, R, BandBrush());
  else
    FillControlBackground(DrawParams->Control(), DC, NonRecent(DrawParams->Control()),
                          BarBackground(*this, BarOf(DrawParams->Control())), R);
}

void TdxBarOffice11Painter::DrawEditBorder(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R) const {
  HDC dc = DCOf(DrawParams);
  TdxBarItemControl* control = DrawParams->Control();
  const bool flatFrame = DrawParams->FramePartOnly, menu = DrawParams->PaintKind == 1;
  if (DrawParams->Highlighted) {
    Office11DrawSelectionFrame(dc, R);
  } else if (!DrawParams->DrawEnabled && !flatFrame) {
    FrameRectSolid(dc, R, DisabledTextColor());
  } else if (!menu || flatFrame) {
    FrameControlBackground(control, dc, false, BarBackground(*this, BarOf(control)), R);
  } else {
    FrameWithBrush(dc, R, BandBrush());
  }
  R = R.Inflate(-1, -1);
}

bool TdxBarOffice11Painter::EditCaptionSelected(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return DrawParams->PaintKind == 1 && DrawParams->Highlighted;
}

bool TdxBarOffice11Painter::EditCaptionNonRecent(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return DrawParams->PaintKind == 1 && DrawParams->Highlighted;
}

bool TdxBarOffice11Painter::EditDefaultShowsIcon(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return DrawParams->PaintKind == 1;
}

TColor TdxBarOffice11Painter::DateNavigatorColor() const { return dxBarOffice11::DateNavigatorColor(); }

int TdxBarOffice11Painter::ProgressBarLeftIndent(TdxBarProgressControlDrawParams* DrawParams) const {
  TdxBarItemControl* control = DrawParams->Control();
  TCustomdxBarControl* bar = BarOf(control);
  if (!InMenuBar(bar)) return 0;
  const bool icon = control->HasGlyphFor(control->ViewSizeForLevel()) && (DrawParams->ShownParts & dxBarGlyphPart);
  return icon ? 0 : bar->IconAreaWidth();
}

HBRUSH TdxBarOffice11Painter::InPlaceSubItemHotBrush() const { return InPlaceHotBrush(); }

void TdxBarOffice11Painter::DrawSeparatorCaption(TdxBarSeparatorControlDrawParams* DrawParams,
                                                 const TRect& R) const {
  // The caption sits on the band's end colour: a plain fill under the flat look's text.
  if (HDC dc = DCOf(DrawParams)) FillRectSolid(dc, R, BandColor2());
  TdxBarStaticLikeControlDrawParams plain(nullptr);
  plain.DrawCanvas = DrawParams->DrawCanvas;
  plain.CaptionText = DrawParams->CaptionText;
  plain.ShownParts = DrawParams->ShownParts;
  plain.DrawEnabled = DrawParams->DrawEnabled;
  plain.Alignment = DrawParams->Alignment;
  plain.AlignmentSet = DrawParams->AlignmentSet;
  DrawStaticContent(&plain, R);
}

// ---- the flat look's own operations

void TdxBarOffice11Painter::FrameOrFillItem(TdxBarItemControl* Control, HDC DC, bool Down, bool Selected,
                                            int PaintType, HBRUSH Brush, const TRect& R) const {
  const bool inMenu = PaintType == 1;
  if (!Down && !Selected && !inMenu)
    FrameControlBackground(Control, DC, false, BarBackground(*this, BarOf(Control)), R);
  else if (Selected || !inMenu)
    Office11DrawSelectionFrame(DC, R);
  else if (Down)
    FrameWithBrush(DC, R, SeparatorDarkBrush());
}

HBRUSH TdxBarOffice11Painter::ManagerBrush(TdxBarItemControl* Control) const { return ToolbarBrush(BarOf(Control)); }

HBRUSH TdxBarOffice11Painter::ShadowBrush() const { return dxBarOffice11::ShadowBrush(); }

void TdxBarOffice11Painter::FrameWithManagerColor(TCustomdxBarControl*, HDC DC, const TRect& R) const {
  FrameWithBrush(DC, R, BorderBrush());
}

void TdxBarOffice11Painter::FillWithBarBrush(TCustomdxBarControl* Control, HDC DC, const TRect& R, const TRect& Strip,
                                             TdxBarItemControl* ItemControl) const {
  bool opens = false;
  if (ItemControl && !(Control && Control->IsQuickCustomizationPopup())) {
    TdxBarItem* item = ItemControl->ItemLink() ? ItemControl->ItemLink()->Item() : nullptr;
    opens = dynamic_cast<TCustomdxBarSubItem*>(item) || (ItemControl->HasDropDown() && ItemControl->IsDroppedDown());
  }
  if (!opens) {
    TdxBarFlatPainter::FillWithBarBrush(Control, DC, R, Strip, ItemControl);
    return;
  }
  const bool beyond = Strip.Width() > Strip.Height() ? Strip.Top >= (R.Top + R.Bottom) / 2
                                                    : Strip.Left >= (R.Left + R.Right) / 2;
  FillRectSolid(DC, Strip, beyond ? OpenButtonColor2() : OpenButtonColor1());
}

TColor TdxBarOffice11Painter::ShadowColor() const { return dxBarOffice11::ShadowColor(); }

// ---- introduced

void TdxBarOffice11Painter::DrawGripDots(TCustomdxBarControl*, HDC DC, bool Horizontal, const TRect& R) const {
  Office11DrawGripDots(DC, R, Horizontal);
}
