#include "suite/bars/dxBarFlatPainter.h"

#include <algorithm>
#include <string>

#include "platform/win/Gdi.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/cxGraphicsImages.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/dxOffice11.h"
#include "suite/bars/dxBarGdiScopes.h"

namespace {

using dxBarGdi::TTempObject;
using dxBarGdi::TSelection;
using dxBarGdi::TClipKeeper;

TdxBarFlatPainter* gSharedFlatPainter = nullptr;

void FillWithBrush(HDC DC, const TRect& R, HBRUSH Brush) {
  RECT r = R;
  FillRect(DC, &r, Brush);
}

void FrameWithBrush(HDC DC, const TRect& R, HBRUSH Brush) {
  RECT r = R;
  FrameRect(DC, &r, Brush);
}

void Lines(HDC DC, COLORREF Color, std::initializer_list<POINT> Points) {
  TTempObject pen(CreatePen(PS_SOLID, 1, Color));
  TSelection select(DC, pen.Handle());
  Polyline(DC, Points.begin(), int(Points.size()));
}

HBRUSH SysBrush(int Index) { return GetSysColorBrush(Index); }

TdxBarManager* ManagerOf(TCustomdxBarControl* Bar) {
  if (!Bar) return nullptr;
  if (TdxBarManager* m = Bar->BarManager()) return m;
  return Bar->ItemLinks() ? Bar->ItemLinks()->BarManager() : nullptr;
}

TCustomdxBarControl* BarOf(TdxBarItemControl* Control) { return Control ? Control->BarControl() : nullptr; }

TdxBarManager* ManagerOf(TdxBarItemControl* Control) {
  if (!Control) return nullptr;
  if (TdxBarManager* m = Control->LinkBarManager()) return m;
  return ManagerOf(Control->BarControl());
}

bool ItemEnabled(TdxBarItemControl* Control) {
  if (!Control || !Control->ItemLink()) return true;
  TdxBarItem* item = Control->ItemLink()->Item();
  return item == nullptr || item->Enabled();
}

// Brushes of the flat colours for drawing without a manager, remade when the colours move.
struct TFallbackBrush {
  HBRUSH Brush = nullptr;
  TColor Color = clNone;
};
TFallbackBrush gFallback[5];

void FreeFallbackBrushes() {
  for (TFallbackBrush& f : gFallback) {
    if (f.Brush) DeleteObject(f.Brush);
    f = TFallbackBrush();
  }
}

HBRUSH FallbackBrush(int Index) {
  TColor c = TdxBarFlatPainter::FlatColor(Index);
  TFallbackBrush& f = gFallback[Index];
  if (!f.Brush || f.Color != c) {
    if (f.Brush) DeleteObject(f.Brush);
    f.Brush = CreateSolidBrush(COLORREF(c));
    f.Color = c;
  }
  return f.Brush;
}

COLORREF ScaleChannels(COLORREF Color, int (*F)(int)) {
  auto ch = [&](int Shift) { return std::clamp(F(int((Color >> Shift) & 0xFF)), 0, 255) << Shift; };
  return COLORREF(ch(0) | ch(8) | ch(16));
}

}  // namespace

// ---- colours

TColor TdxBarFlatPainter::FlatColor(int Index) {
  COLORREF c = 0;
  switch (Index) {
    case 0: c = ScaleChannels(ColorToRGB(clBtnShadow), [](int v) { return v * 8 / 10; }); break;
    case 1: c = ScaleChannels(ColorToRGB(clBtnFace), [](int v) { return v + (255 - v) * 16 / 100; }); break;
    case 2: c = COLORREF(ColorToRGB(SystemLightColor(11, 9, 73))); break;
    case 3: c = COLORREF(ColorToRGB(SystemLightColor(14, 44, 40))); break;
    default: c = COLORREF(ColorToRGB(SystemLightColor(-2, 30, 72))); break;
  }
  return TColor(COLORREF(NearestScreenColor(TColor(c))) & 0xFFFFFF);
}

HBRUSH TdxBarFlatPainter::FlatFrameBrush(TdxBarManager* Manager) {
  return Manager && Manager->FlatFrameBrush() ? Manager->FlatFrameBrush() : FallbackBrush(0);
}
HBRUSH TdxBarFlatPainter::FlatFaceBrush(TdxBarManager* Manager) {
  return Manager && Manager->FlatFaceBrush() ? Manager->FlatFaceBrush() : FallbackBrush(1);
}
HBRUSH TdxBarFlatPainter::FlatDownBrush(TdxBarManager* Manager) {
  return Manager && Manager->FlatDownBrush() ? Manager->FlatDownBrush() : FallbackBrush(2);
}
HBRUSH TdxBarFlatPainter::FlatDownSelectedBrush(TdxBarManager* Manager) {
  return Manager && Manager->FlatDownSelectedBrush() ? Manager->FlatDownSelectedBrush() : FallbackBrush(3);
}
HBRUSH TdxBarFlatPainter::FlatSelectedBrush(TdxBarManager* Manager) {
  return Manager && Manager->FlatSelectedBrush() ? Manager->FlatSelectedBrush() : FallbackBrush(4);
}

// ---- the shared painter

TdxBarFlatPainter* GetSharedFlatPainter() {
  if (!gSharedFlatPainter) gSharedFlatPainter = new TdxBarFlatPainter();
  return gSharedFlatPainter;
}

void FreeSharedFlatPainter() {
  delete gSharedFlatPainter;
  gSharedFlatPainter = nullptr;
  FreeFallbackBrushes();
}

void RegisterFlatBarPainters() {
  RegisterBarPainterClass(bmsFlat, [] { return new TdxBarFlatPainter(); });
}

// ---- the operations other looks borrow

void TdxBarFlatPainter::DrawCheckSign(TdxBarItemControl* Control, HDC DC, int SizeCode, int X, int Y) const {
  const int s = SizeCode;
  auto stroke = [&](COLORREF Color, int k) {
    Lines(DC, Color, {{X + s, Y + 2 * s + k}, {X + 3 * s, Y + 4 * s + k}, {X + 8 * s, Y - s + k}});
  };
  if (ItemEnabled(Control)) {
    COLORREF ink = IsBtnFaceWhite() || IsBtnFaceBlackWithColoredText() ? 0xFFFFFF : 0x000000;
    for (int k = 0; k < 2 * s; ++k) stroke(ink, k);
  } else {
    for (int k = 1; k <= 2 * s; ++k) stroke(GetSysColor(COLOR_BTNSHADOW), k);
  }
}

void TdxBarFlatPainter::DrawFloatingBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  FrameWithBrush(DC, R, FlatFrameBrush(ManagerOf(BarControl)));
  TRect r = R.Inflate(-1, -1);
  FrameWithBrush(DC, r, SysBrush(COLOR_BTNHIGHLIGHT));
  HBRUSH brush = BarControl && BarControl->BackgroundBrush() ? BarControl->BackgroundBrush() : BarBrush(BarControl);
  const int width = std::min(FloatingFrameWidth(), FloatingFrameHeight());
  for (int i = 2; i < width && r.Width() > 2 && r.Height() > 2; ++i) {
    r = r.Inflate(-1, -1);
    FrameWithBrush(DC, r, brush);
  }
}

void TdxBarFlatPainter::DrawComboListItemDefault(TdxBarItem* Item, TcxCanvas* Canvas, const TRect& R,
                                                 int Index) const {
  HDC dc = Canvas->CurrentDC();
  Canvas->MeasureTextWidth(std::string());
  FillWithBrush(dc, R, static_cast<HBRUSH>(Canvas->CurrentBrush()->Handle()));
  std::string text;
  if (auto* w = dynamic_cast<TdxBarWindowItem*>(Item)) text = Index < 0 ? w->Text() : std::string();
  const int flag = Index < 0 ? 1 : 0;
  TextOut(dc, R.Left + 2, R.Top + 2 * flag, text);
}

// ---- the selection frame and the operations of the flat look

void TdxBarFlatPainter::FrameSelection(HDC DC, const TRect& R) const {
  if (IsBtnFaceBlack() || IsBtnFaceBlackWithColoredText()) {
    TTempObject brush(CreateSolidBrush(COLORREF(ColorToRGB(clHighlightText))));
    FrameWithBrush(DC, R, brush.Brush());
  } else {
    FrameWithBrush(DC, R, SysBrush(COLOR_HIGHLIGHT));
  }
}

void TdxBarFlatPainter::FrameOrFillItem(TdxBarItemControl* Control, HDC DC, bool Down, bool Selected,
                                        int PaintType, HBRUSH Brush, const TRect& R) const {
  const bool inMenu = PaintType == 1;
  if (!Down && !Selected && !inMenu) {
    TCustomdxBarControl* bar = BarOf(Control);
    FrameWithBrush(DC, R, bar && bar->BackgroundBrush() ? bar->BackgroundBrush() : BarBrush(bar));
  } else if (Selected || !inMenu) {
    FrameSelection(DC, R);
  } else if (Down) {
    FrameWithBrush(DC, R, SysBrush(COLOR_BTNSHADOW));
  }
}

HBRUSH TdxBarFlatPainter::ManagerBrush(TdxBarItemControl* Control) const { return FlatFaceBrush(ManagerOf(Control)); }

HBRUSH TdxBarFlatPainter::ShadowBrush() const { return SysBrush(COLOR_BTNSHADOW); }

void TdxBarFlatPainter::FillJoinArea(TCustomdxBarControl* Control, HDC DC, TCustomdxBarControl* Popup,
                                     const TRect& R) const {
  CallClipped(Control, DC, R, nullptr, Popup);
  FillWithBrush(DC, R.Inflate(-1, -1), ManagerBarBrush(ManagerOf(Control)));
}

void TdxBarFlatPainter::CallClipped(TCustomdxBarControl* Control, HDC DC, const TRect& R,
                                    TdxBarItemControl* ItemControl, TCustomdxBarControl* Popup) const {
  TRect strip;
  if (Popup) Popup->OwnerJointRect(true, strip);
  if (!strip.IsEmpty()) {
    // From the screen into the coordinates the element is drawn in.
    TPoint origin;
    TRect client;
    if (TWinControl* owner = Popup->OwnerControl()) {
      origin = owner->ClientOrigin();
      client = TRect(origin.X, origin.Y, origin.X + owner->ClientWidth(), origin.Y + owner->ClientHeight());
      TRect meet;
      if (!IntersectRect(meet, client, strip)) {
        RECT w{};
        if (owner->HandleAllocated()) GetWindowRect(owner->WindowHandle(), &w);
        origin = TPoint(w.left, w.top);
      }
    } else if (Control) {
      origin = Control->ClientOrigin();
    }
    strip = strip.Offset(-origin.X, -origin.Y);
  }
  TClipKeeper keep(DC);
  if (!strip.IsEmpty()) {
    FillWithBarBrush(Control, DC, R, strip, ItemControl);
    ExcludeClipRect(DC, strip.Left, strip.Top, strip.Right, strip.Bottom);
  }
  FrameWithManagerColor(Control, DC, R);
}

void TdxBarFlatPainter::FrameWithManagerColor(TCustomdxBarControl* Control, HDC DC, const TRect& R) const {
  FrameWithBrush(DC, R, FlatFrameBrush(ManagerOf(Control)));
}

void TdxBarFlatPainter::FillWithBarBrush(TCustomdxBarControl* Control, HDC DC, const TRect& R, const TRect& Strip,
                                         TdxBarItemControl* ItemControl) const {
  FillWithBrush(DC, Strip, ManagerBarBrush(ManagerOf(Control)));
}

TColor TdxBarFlatPainter::ShadowColor() const { return TColor(GetSysColor(COLOR_BTNSHADOW)); }

// ---- items and glyphs

namespace {

HDC DCOf(TdxBarItemControlDrawParams* DrawParams) {
  if (!DrawParams || !DrawParams->DrawCanvas) return nullptr;
  DrawParams->DrawCanvas->MeasureTextWidth(std::string());
  return DrawParams->DrawCanvas->CurrentDC();
}

bool NonRecent(TdxBarItemControl* Control) { return Control && Control->LessUsed; }

bool VerticalBar(TCustomdxBarControl* Bar) {
  if (!Bar) return false;
  TdxBarDockingStyle s = Bar->DockingStyle();
  return s == dsLeft || s == dsRight || Bar->IsVertical();
}

HBRUSH BarBackground(const TdxBarPainter& Painter, TCustomdxBarControl* Bar) {
  return Bar && Bar->BackgroundBrush() ? Bar->BackgroundBrush() : Painter.BarBrush(Bar);
}

// The background of a bar under R: the window paints it (wallpaper included), else the brush.
void FillBarPart(TCustomdxBarControl* Bar, HDC DC, const TRect& R, HBRUSH Brush) {
  if (Bar)
    Bar->DrawBackground(DC, R, true, clNone, Brush);
  else if (Brush)
    FillWithBrush(DC, R, Brush);
}


TRect PartOf(TdxBarItemControlDrawParams* DrawParams, size_t Index) {
  TdxBarItemControl* c = DrawParams->Control();
  if (!c || c->PartRects().size() <= Index) return TRect();
  return c->PartRects()[Index];
}

void FillPolygonWithColor(HDC DC, const POINT* Points, int Count, COLORREF Color) {
  TTempObject pen(CreatePen(PS_SOLID, 1, Color));
  TTempObject brush(CreateSolidBrush(Color));
  TSelection selectPen(DC, pen.Handle());
  TSelection selectBrush(DC, brush.Handle());
  Polygon(DC, Points, Count);
}

}  // namespace

void TdxBarFlatPainter::FrameGlyphArea(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon,
                                       bool Selected, bool Down, bool Pressed, bool DroppedDown, bool Split,
                                       bool WithBorder, HBRUSH Brush, const TRect& R) const {
  if (DroppedDown) {
    CallClipped(BarOf(Control), DC, R, Control, Control ? Control->DropDownBarControl() : nullptr);
  } else if (Down || (Selected && PaintType != 1)) {
    FrameSelection(DC, R);
  } else if (WithBorder) {
    bool frameOnly = Down || Selected || Pressed || NonRecent(Control) || (Control && Control->HasOwnBackground());
    FrameControlBackground(Control, DC, frameOnly, Brush, R);
  }
}

TColor TdxBarFlatPainter::FloatingCaptionColor(TCustomdxBarControl*, bool) const {
  return TColor(GetSysColor(COLOR_INACTIVECAPTION));
}

TColor TdxBarFlatPainter::CloseSignColor(TCustomdxBarControl* BarControl, int State) const {
  return State != 0 ? TColor(GetSysColor(COLOR_BTNTEXT)) : TdxBarPainter::CloseSignColor(BarControl, State);
}

void TdxBarFlatPainter::DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                           const TRect& R) const {
  int state = BarControl ? BarControl->MarkState() : 0;
  if (state == 2) {
    // The pressed mark and the popup it opened make one outline.
    FillJoinArea(BarControl, DC, BarControl ? BarControl->ChildBar() : nullptr, R);
  } else if (state == 1) {
    FrameSelection(DC, R);
    FillWithBrush(DC, R.Inflate(-1, -1), SelectionBrush(BarControl));
  } else {
    FrameWithBrush(DC, R, Brush);
    FillBarPart(BarControl, DC, R.Inflate(-1, -1), BarBackground(*this, BarControl));
  }
}

int TdxBarFlatPainter::FloatingCaptionTextStart(TCustomdxBarControl* BarControl) const {
  return TdxBarPainter::FloatingCaptionTextStart(BarControl) + 2;
}

int TdxBarFlatPainter::MarkSignColorIndex(TCustomdxBarControl* BarControl) const {
  return IsBtnFaceWhite() && BarControl && BarControl->MarkState() == 1 ? COLOR_BTNFACE : COLOR_BTNTEXT;
}

void TdxBarFlatPainter::DrawExpandButtonFrame(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
  FrameSelection(DC, R);
  FillWithBrush(DC, R.Inflate(-1, -1), SelectionBrush(static_cast<TCustomdxBarControl*>(SubMenu)));
}

void TdxBarFlatPainter::DrawSpinArrow(TdxBarSpinEditDrawParams* DrawParams, TPoint Position,
                                      TcxArrowDirection Direction) const {
  HDC dc = DCOf(DrawParams);
  TRect button = PartOf(DrawParams, Direction == adUp ? 3 : 4);
  int a = DrawParams->ButtonSizes[0].cy > 0 ? DrawParams->ButtonSizes[0].cy
                                           : SpinButtonSizes(2 * std::max(button.Height(), 8)).cy;
  if (a <= 0 || !dc) return;
  int color = COLOR_BTNTEXT;
  if (!DrawParams->DrawEnabled)
    color = COLOR_BTNSHADOW;
  else if (DrawParams->Highlighted && IsBtnFaceWhite())
    color = COLOR_BTNFACE;
  int x = Position.X, y = Position.Y, apex = Direction == adUp ? -(a - 1) : a - 1;
  POINT p[3] = {{x, y}, {x + 2 * a - 2, y}, {x + a - 1, y + apex}};
  FillPolygonWithColor(dc, p, 3, GetSysColor(color));
}

TcxCustomLookAndFeelPainter* TdxBarFlatPainter::LookAndFeelPainter() const {
  TcxLookAndFeelPaintersManager* manager = cxLookAndFeelPaintersManager();
  return manager ? manager->PainterForKind(psUltraFlat) : nullptr;
}

void TdxBarFlatPainter::CalcSpinEditPartRects(TdxBarSpinEditDrawParams* DrawParams, const TRect& R,
                                              std::vector<TRect>& PartRects) const {
  TdxBarPainter::CalcSpinEditPartRects(DrawParams, R, PartRects);
  if (PartRects.size() > 4) PartRects[4].Bottom += 1;
}

int TdxBarFlatPainter::HalfFontHeight(TdxBarItemControl* Control) const {
  if (dynamic_cast<TdxBarSubItemControl*>(Control) && Control->IsInMainMenu()) return 8;
  return TdxBarPainter::HalfFontHeight(Control);
}

void TdxBarFlatPainter::BeforeDrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
  TdxBarItemControl* control = DrawParams->Control();
  TCustomdxBarControl* bar = BarOf(control);
  HDC dc = DCOf(DrawParams);
  const bool selected = DrawParams->Highlighted;
  const int iconWidth = bar ? bar->IconAreaWidth() : R.Height();
  HBRUSH face = ManagerBrush(control);
  HBRUSH own = control && control->BackgroundBrushOrBar() ? control->BackgroundBrushOrBar() : BarBackground(*this, bar);
  if (selected) {
    FrameSelection(dc, R);
  } else {
    // The outer ring: the icon column's colour beside the icon, the menu's own beside the text.
    const bool solid = NonRecent(control);
    const int split = R.Left + iconWidth + 1;
    FillControlBackground(control, dc, solid, face, TRect(R.Left, R.Top, split, R.Top + 1));
    FillControlBackground(control, dc, solid, face, TRect(R.Left, R.Bottom - 1, split, R.Bottom));
    FillControlBackground(control, dc, solid, face, TRect(R.Left, R.Top, R.Left + 1, R.Bottom));
    HBRUSH back = BarBackground(*this, bar);
    FillControlBackground(control, dc, solid, back, TRect(split, R.Top, R.Right, R.Top + 1));
    FillControlBackground(control, dc, solid, back, TRect(split, R.Bottom - 1, R.Right, R.Bottom));
    FillControlBackground(control, dc, solid, back, TRect(R.Right - 1, R.Top, R.Right, R.Bottom));
  }
  const TRect r = R.Inflate(-1, -1);
  const TRect icon = MenuItemIconRect(R, iconWidth);
  HBRUSH iconBrush = selected ? SelectionBrush(bar) : face;
  FillWithBrush(dc, TRect(icon.Right, r.Top, std::min(icon.Right + 2, r.Right), r.Bottom), iconBrush);
  if (icon.Top > r.Top) FillWithBrush(dc, TRect(icon.Left, r.Top, icon.Right, icon.Top), iconBrush);
  if (icon.Bottom < r.Bottom) FillWithBrush(dc, TRect(icon.Left, icon.Bottom, icon.Right, r.Bottom), iconBrush);
  FillWithBrush(dc, TRect(icon.Right + 2, r.Top, r.Right, r.Bottom), selected ? SelectionBrush(bar) : own);
}

void TdxBarFlatPainter::DrawSunkenFrame(HDC DC, TRect& R) const {
  FrameWithBrush(DC, R, SysBrush(COLOR_BTNSHADOW));
  R = R.Inflate(-1, -1);
}

void TdxBarFlatPainter::DrawButtonFace(TdxBarItemControl* Control, HDC DC, bool Pressed, bool Selected,
                                       bool Enabled, const TRect& R) const {
  TCustomdxBarControl* bar = BarOf(Control);
  if (Selected) {
    FrameSelection(DC, R);
    FillWithBrush(DC, R.Inflate(-1, -1), Pressed ? MenuBrush(bar) : SelectionBrush(bar));
  } else {
    HBRUSH back = BarBackground(*this, bar);
    FrameWithBrush(DC, R, back);
    FillWithBrush(DC, R.Inflate(-1, -1), back);
  }
}

HBRUSH TdxBarFlatPainter::ItemBackgroundBrush(TdxBarItemControl* Control, int PaintType, bool NoIcon,
                                              bool Selected, bool Down, bool Enabled) const {
  TCustomdxBarControl* bar = BarOf(Control);
  if (Control && Control->IsDroppedDown()) return Down ? MenuBrush(bar) : ManagerBarBrush(ManagerOf(Control));
  if (Selected) return Down || (Control && Control->IsPressedByMouse()) ? MenuBrush(bar) : SelectionBrush(bar);
  if (Down) return CheckerBrush(bar);
  if (PaintType == 1) return ManagerBrush(Control);
  return TdxBarPainter::ItemBackgroundBrush(Control, PaintType, NoIcon, Selected, Down, Enabled);
}

bool TdxBarFlatPainter::GlyphAreaSolid(TdxBarItemControl* Control, bool Down, bool NoGlyph, bool Selected,
                                       bool Pressed) const {
  bool base = TdxBarPainter::GlyphAreaSolid(Control, Down, NoGlyph, Selected, Pressed);
  return NoGlyph ? base : Down || Selected || Pressed || base;
}

int TdxBarFlatPainter::ItemTextSize(TdxBarItemControl* Control) const {
  TCustomdxBarControl* bar = BarOf(Control);
  return bar && bar->BarControlKind() == 2 ? bar->TextSize() + 3 : 0;
}

// ---- bars

HBRUSH TdxBarFlatPainter::BarBrush(TCustomdxBarControl* BarControl) const {
  return FlatFaceBrush(ManagerOf(BarControl));
}

HBRUSH TdxBarFlatPainter::ToolbarBrush(TCustomdxBarControl* BarControl) const {
  if (BarControl && BarControl->IsMainMenu()) return SysBrush(COLOR_BTNFACE);
  return TdxBarPainter::ToolbarBrush(BarControl);
}

HBRUSH TdxBarFlatPainter::CheckerBrush(TCustomdxBarControl* BarControl) const {
  return FlatDownBrush(ManagerOf(BarControl));
}

HBRUSH TdxBarFlatPainter::MenuBrush(TCustomdxBarControl* BarControl) const {
  return FlatDownSelectedBrush(ManagerOf(BarControl));
}

HBRUSH TdxBarFlatPainter::SelectionBrush(TCustomdxBarControl* BarControl) const {
  return FlatSelectedBrush(ManagerOf(BarControl));
}

void TdxBarFlatPainter::DrawBarSeparator(TCustomdxBarControl* BarControl, HDC DC, bool Horizontal, HBRUSH Brush,
                                         const TRect& R) const {
  const int m = BarSeparatorMargin();
  HBRUSH shadow = SysBrush(COLOR_BTNSHADOW);
  if (Horizontal) {
    FillBarPart(BarControl, DC, TRect(R.Left, R.Top, R.Right, R.Top + m), Brush);
    FillBarPart(BarControl, DC, TRect(R.Left, R.Bottom - m, R.Right, R.Bottom), Brush);
    FillWithBrush(DC, TRect(R.Left, R.Top + m, R.Right, R.Bottom - m), shadow);
  } else {
    FillBarPart(BarControl, DC, TRect(R.Left, R.Top, R.Left + m, R.Bottom), Brush);
    FillBarPart(BarControl, DC, TRect(R.Right - m, R.Top, R.Right, R.Bottom), Brush);
    FillWithBrush(DC, TRect(R.Left + m, R.Top, R.Right - m, R.Bottom), shadow);
  }
}

void TdxBarFlatPainter::DrawCaptionCloseButton(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  int state = 0;
  if (BarControl) state = BarControl->MarkState() >= 3 ? BarControl->MarkState() - 2 : 0;
  DrawCloseButtonBackground(BarControl, DC, state, R);
  TRect r = R.Inflate(-3, -4);
  int w = r.Width() - (r.Width() % 2);
  if (w <= 1) return;
  r.Right = r.Left + w;
  r.Bottom = r.Top + w - 1;
  const COLORREF c = COLORREF(ColorToRGB(CloseSignColor(BarControl, state)));
  Lines(DC, c, {{r.Left, r.Top}, {r.Right - 1, r.Bottom}});
  Lines(DC, c, {{r.Left + 1, r.Top}, {r.Right, r.Bottom}});
  Lines(DC, c, {{r.Left, r.Bottom - 1}, {r.Right - 1, r.Top - 1}});
  Lines(DC, c, {{r.Left + 1, r.Bottom - 1}, {r.Right, r.Top - 1}});
}

void TdxBarFlatPainter::DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  const COLORREF face = GetSysColor(COLOR_BTNFACE);
  FrameWithBrush(DC, R, SysBrush(COLOR_BTNFACE));
  TRect r = R.Inflate(-1, -1);
  if (r.IsEmpty()) return;
  SetPixel(DC, r.Left, r.Top, face);
  SetPixel(DC, r.Right - 1, r.Top, face);
  SetPixel(DC, r.Left, r.Bottom - 1, face);
  SetPixel(DC, r.Right - 1, r.Bottom - 1, face);
  r = r.Inflate(-1, -1);
  if (!BarControl || !BarControl->ShowsGrip()) return;
  // The grip: alternate rows (columns on a vertical bar) of shadow and bar face, shadow first.
  const bool horizontal = !VerticalBar(BarControl);
  const int gap = ToolbarBorderGap(), length = GripDotCount();
  HBRUSH shadow = SysBrush(COLOR_BTNSHADOW), back = BarBackground(*this, BarControl);
  if (horizontal) {
    const int top = r.Top + 3, bottom = r.Bottom - 3;
    for (int i = 0; i < length; ++i)
      FillWithBrush(DC, TRect(r.Left + gap + i, top, r.Left + gap + i + 1, bottom), i % 2 == 0 ? shadow : back);
  } else {
    const int left = r.Left + 3, right = r.Right - 3;
    for (int i = 0; i < length; ++i)
      FillWithBrush(DC, TRect(left, r.Top + gap + i, right, r.Top + gap + i + 1), i % 2 == 0 ? shadow : back);
  }
}

void TdxBarFlatPainter::DrawFloatingMarkButton(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  int state = BarControl ? BarControl->MarkState() : 0;
  if (state == 2)
    FillJoinArea(BarControl, DC, BarControl ? BarControl->ChildBar() : nullptr, R);
  else
    DrawCloseButtonBackground(BarControl, DC, state, R);
  DrawCaptionMarkArrow(BarControl, DC, R);
}

void TdxBarFlatPainter::DrawMDIButton(TCustomdxBarControl* BarControl, TdxBarMDIButton Button, const TRect& R,
                                      HDC DC, int State) const {
  static const UINT kinds[] = {DFCS_CAPTIONMIN, DFCS_CAPTIONRESTORE, DFCS_CAPTIONCLOSE};
  const TRect inner = R.Inflate(-1, -1);
  if (State == 2 || State == 3 || State == 4) {
    HBRUSH fill = State == 2 ? SelectionBrush(BarControl) : State == 3 ? CheckerBrush(BarControl) : MenuBrush(BarControl);
    FillWithBrush(DC, inner, fill);
    FrameSelection(DC, R);
  } else {
    FillBarPart(BarControl, DC, R, BarBackground(*this, BarControl));
  }
  if (inner.IsEmpty()) return;
  // The caption glyph alone: the frame control drawn one pixel larger than the bitmap on every
  // side, then the bitmap laid on the button's own background.
  TBitmap glyph;
  glyph.SetSize(inner.Width(), inner.Height());
  RECT r{-1, -1, inner.Width() + 1, inner.Height() + 1};
  UINT flags = kinds[Button] | DFCS_FLAT;
  if (State == 1) flags |= DFCS_INACTIVE;
  DrawFrameControl(glyph.Canvas()->Handle(), &r, DFC_CAPTION, flags);
  // The frame control's face (its corner pixel) lets the state's fill through.
  glyph.SetTransparent(true);
  DrawGlyphInState(DC, inner, &glyph, 1);
}

HBRUSH TdxBarFlatPainter::ToolbarBrushEx(TCustomdxBarControl*) const { return SysBrush(COLOR_WINDOW); }

HBRUSH TdxBarFlatPainter::ArrowAreaBrush(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  if (DrawParams->Highlighted) {
    TCustomdxBarControl* bar = BarOf(DrawParams->Control());
    return DrawParams->PopupOpen || IsBtnFaceWhite() ? MenuBrush(bar) : SelectionBrush(bar);
  }
  return TdxBarPainter::ArrowAreaBrush(DrawParams);
}

// ---- menus and edit parts

void TdxBarFlatPainter::FillDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R,
                                              HBRUSH Brush) const {
  TdxBarPainter::FillDropDownArrowPart(DrawParams, R, Brush);
  if (DrawParams->PopupOpen && DrawParams->PaintKind != 1) return;
  FrameOrFillItem(DrawParams->Control(), DCOf(DrawParams), DrawParams->DownLook, DrawParams->Highlighted,
                  DrawParams->PaintKind, Brush, R);
}

TColor TdxBarFlatPainter::ComboArrowColor(TdxBarEditLikeControlDrawParams* DrawParams) const {
  if (DrawParams->Highlighted && (DrawParams->PopupOpen || IsBtnFaceWhite())) return clHighlightText;
  if (!DrawParams->DrawEnabled) return clBtnShadow;
  return TdxBarPainter::ComboArrowColor(DrawParams);
}

HBRUSH TdxBarFlatPainter::ComboButtonBrush(TdxBarEditLikeControlDrawParams* DrawParams) const {
  if (DrawParams->PaintKind == 1 && !DrawParams->Highlighted) return ToolbarBrush(BarOf(DrawParams->Control()));
  return TdxBarPainter::ComboButtonBrush(DrawParams);
}

void TdxBarFlatPainter::DrawSimpleComboButton(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R,
                                              HBRUSH Brush) const {
  HDC dc = DCOf(DrawParams);
  TCustomdxBarControl* bar = BarOf(DrawParams->Control());
  if (DrawParams->Highlighted) {
    R = R.Inflate(1, 1);
    FrameSelection(dc, R);
  } else {
    HBRUSH frame = DrawParams->DrawEnabled ? SysBrush(COLOR_WINDOW) : BarBackground(*this, bar);
    FrameWithBrush(dc, R, frame);
    FillWithBrush(dc, TRect(R.Left - 1, R.Top, R.Left, R.Bottom), frame);
  }
  FillWithBrush(dc, R.Inflate(-1, -1), Brush);
}

void TdxBarFlatPainter::MenuTextMetrics(TcxCanvas* Canvas, int TextSize, int& ArrowWidth, int& MarkSize) const {
  TdxBarPainter::MenuTextMetrics(Canvas, TextSize, ArrowWidth, MarkSize);
  int arrow = MenuSubItemArrowSize(MarkSize - 2);
  if (arrow % 2 != 0) MarkSize = 2 * arrow + 4;
}

int TdxBarFlatPainter::DetachCaptionAreaSize(TdxBarSubMenuControl* SubMenu) const {
  return TdxBarPainter::DetachCaptionAreaSize(SubMenu) + 1;
}

int TdxBarFlatPainter::MenuSubItemArrowSize(int ItemHeight) const {
  int size = (ItemHeight - 4) / 2;
  if (size >= 5 && size % 2 != 0) --size;
  return size;
}

TRect TdxBarFlatPainter::MenuItemIconRect(const TRect& ItemRect, int IconAreaSize) const {
  TRect r = ItemRect.Inflate(-1, -1);
  r.Right = r.Left + IconAreaSize - 2;
  return r;
}

TRect TdxBarFlatPainter::MenuItemTextRect(TdxBarItemControlDrawParams* DrawParams, const TRect& R) const {
  return TdxBarPainter::MenuItemTextRect(DrawParams, TRect(R.Left, R.Top + 1, R.Right - 1, R.Bottom - 1));
}

TRect TdxBarFlatPainter::MenuSeparatorRect(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control,
                                           const TRect& ItemRect) const {
  return TRect(ItemRect.Left, ItemRect.Top - MenuSeparatorSize(), ItemRect.Right, ItemRect.Top);
}

void TdxBarFlatPainter::DrawMenuBorder(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
  FrameWithBrush(DC, R, FlatFrameBrush(ManagerOf(static_cast<TCustomdxBarControl*>(SubMenu))));
  FillBarBorderArea(static_cast<TCustomdxBarControl*>(SubMenu), DC);
}

void TdxBarFlatPainter::DrawMenuFrame(TdxBarSubMenuControl* SubMenu, HDC DC, HBRUSH Brush, const TRect& R) const {
  FrameWithBrush(DC, R, MenuOwnBrush(SubMenu));
  const TRect inner = R.Inflate(-1, -1);
  FillWithBrush(DC, TRect(inner.Left, inner.Top + 1, inner.Left + 1, inner.Bottom - 1), Brush);
}

void TdxBarFlatPainter::DrawDetachCaption(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
  FillWithBrush(DC, R, FlatFaceBrush(ManagerOf(static_cast<TCustomdxBarControl*>(SubMenu))));
  const int width = std::min(33, R.Width());
  const int left = R.Left + (R.Width() - width) / 2;
  for (int y = R.Top + 1; y < R.Bottom - 1; y += 2)
    FillWithBrush(DC, TRect(left, y, left + width, y + 1), SysBrush(COLOR_BTNSHADOW));
}

void TdxBarFlatPainter::DrawMenuSeparator(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control,
                                          const TRect& R, TcxCanvas* Canvas) const {
  HDC dc = Canvas->CurrentDC();
  auto* menu = static_cast<TCustomdxBarControl*>(SubMenu);
  TCustomdxBarControl* bar = Control ? BarOf(Control) : menu;
  const int band = bar ? bar->IconAreaWidth() : 0;
  const bool solid = NonRecent(Control) && !Control->StartsLessUsedBand;
  HBRUSH back = NonRecent(Control) && Control->StartsLessUsedBand && SubMenu ? MenuOwnBrush(SubMenu)
                                                                              : BarBackground(*this, bar);
  FillControlBackground(Control, dc, solid, FlatFaceBrush(ManagerOf(bar)),
                        TRect(R.Left, R.Top, std::min(R.Left + band, R.Right), R.Bottom));
  FillControlBackground(Control, dc, solid, back, TRect(std::min(R.Left + band, R.Right), R.Top, R.Right, R.Bottom));
  const int y = R.Top + R.Height() / 2;
  FillWithBrush(dc, TRect(R.Left + band + MenuBeginGroupIndent(), y, R.Right, y + 1), SysBrush(COLOR_BTNSHADOW));
  if (SubMenu) ExcludeClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
}

void TdxBarFlatPainter::DrawSeparatorLine(TcxCanvas* Canvas, const TRect& R) const {
  TTempObject brush(CreateSolidBrush(COLORREF(ColorToRGB(ShadowColor()))));
  FillWithBrush(Canvas->CurrentDC(), TRect(R.Left, R.Top, R.Right, R.Top + 1), brush.Brush());
}

HBRUSH TdxBarFlatPainter::MenuOwnBrush(TdxBarSubMenuControl*) const { return SysBrush(COLOR_WINDOW); }

void TdxBarFlatPainter::DrawEditBorder(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R) const {
  HDC dc = DCOf(DrawParams);
  TdxBarItemControl* control = DrawParams->Control();
  TCustomdxBarControl* bar = BarOf(control);
  const bool flatFrame = DrawParams->FramePartOnly;
  if (DrawParams->Highlighted)
    FrameSelection(dc, R);
  else if (DrawParams->PaintKind == 1 && !flatFrame)
    FrameWithBrush(dc, R, ToolbarBrush(bar));
  else if (DrawParams->DrawEnabled || flatFrame)
    FrameControlBackground(control, dc, NonRecent(control) && flatFrame, BarBackground(*this, bar), R);
  else
    FrameWithBrush(dc, R, SysBrush(COLOR_BTNSHADOW));
  R = R.Inflate(-1, -1);
}

void TdxBarFlatPainter::DrawEditSelectedInMenu(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
  TdxBarPainter::DrawEditSelectedInMenu(DrawParams, R);
  HDC dc = DCOf(DrawParams);
  // The ring stays as drawn: later fills of the item leave it alone.
  TRect inner = R.Inflate(-1, -1);
  ExcludeClipRect(dc, R.Left, R.Top, R.Right, inner.Top);
  ExcludeClipRect(dc, R.Left, inner.Bottom, R.Right, R.Bottom);
  ExcludeClipRect(dc, R.Left, inner.Top, inner.Left, inner.Bottom);
  ExcludeClipRect(dc, inner.Right, inner.Top, R.Right, inner.Bottom);
}

bool TdxBarFlatPainter::EditCaptionNonRecent(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return DrawParams->PaintKind == 1 && (DrawParams->Highlighted || NonRecent(DrawParams->Control()));
}

HBRUSH TdxBarFlatPainter::EditBarBrush(TdxBarItemControl* Control) const {
  TCustomdxBarControl* bar = BarOf(Control);
  if (Control && Control->IsDrawnSelected() && bar && bar->BarControlKind() == 2) return SelectionBrush(bar);
  return BarBackground(*this, bar);
}

bool TdxBarFlatPainter::EditGlyphHot(TdxBarItemControl* Control) const {
  TCustomdxBarControl* bar = BarOf(Control);
  return Control && Control->IsActiveNow() && bar && bar->BarControlKind() == 2;
}

bool TdxBarFlatPainter::EditFlagF(TdxBarEditLikeControlDrawParams* DrawParams, int& Value) const {
  if (DrawParams->PaintKind != 1) return false;
  Value = 1;
  return true;
}

void TdxBarFlatPainter::DrawPushButton(const std::string& Text, HDC DC, bool Pressed, int Offset,
                                       const TRect& R) const {
  FrameWithBrush(DC, R, SysBrush(COLOR_BTNSHADOW));
  FrameWithBrush(DC, R.Inflate(-1, -1), SysBrush(COLOR_BTNFACE));
  DrawCenteredButtonText(DC, R.Inflate(-2, -2), true, Text, 0);
}

void TdxBarFlatPainter::DrawSpinButton(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, int Button) const {
  const int hot = SpinButtonState(DrawParams, Button) == 2 || SpinButtonState(DrawParams, Button) == 3;
  DrawButtonFace(DrawParams->Control(), DCOf(DrawParams), SpinButtonState(DrawParams, Button) == 3,
                 hot && DrawParams->DrawEnabled, DrawParams->DrawEnabled, R);
  TcxArrowDirection direction = Button == 1 ? adUp : adDown;
  DrawSpinArrow(DrawParams, SpinArrowPosition(DrawParams, R, direction), direction);
}

bool TdxBarFlatPainter::InPlaceSubItemSelected(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const {
  return TdxBarPainter::InPlaceSubItemSelected(DrawParams) ||
         (DrawParams->Control() && DrawParams->Control()->IsDroppedDown());
}

bool TdxBarFlatPainter::InPlaceSubItemArrowFlat(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const {
  return IsBtnFaceWhite() || !DrawParams->Highlighted;
}

void TdxBarFlatPainter::DrawStaticBorder(TdxBarStaticLikeControlDrawParams* DrawParams, TRect& R) const {
  auto style = TdxBarStaticBorderStyle(std::clamp(DrawParams->BorderStyle, 0, 4));
  TRect o = StaticBorderOffsets(style);
  TRect content(R.Left + o.Left, R.Top + o.Top, R.Right - o.Right, R.Bottom - o.Bottom);
  if (style != sbsNone) {
    HDC dc = DCOf(DrawParams);
    TClipKeeper keep(dc);
    ExcludeClipRect(dc, content.Left, content.Top, content.Right, content.Bottom);
    FillWithBrush(dc, R, ShadowBrush());
  }
  R = content;
}

void TdxBarFlatPainter::DrawGlyphInState(HDC DC, const TRect& R, TBitmap* Bitmap, int State) {
  if (!Bitmap || R.IsEmpty()) return;
  DrawImageInState(DC, R, R, Bitmap, nullptr, -1, State == 0 ? ImageDrawDisabled : ImageDrawNormal);
}
