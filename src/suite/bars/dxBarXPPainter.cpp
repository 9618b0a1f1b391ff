#include "suite/bars/dxBarXPPainter.h"

#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/sys/Modules.h"
#include "platform/win/Gdi.h"
#include "suite/bars/dxBarFlatPainter.h"
#include "suite/bars/dxBarSubMenu.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/dxThemeManager.h"
#include "suite/bars/dxBarGdiScopes.h"

namespace {

using dxBarGdi::TClipKeeper;

// Part and state numbers of the theme classes, as the style library publishes them.
enum : int {
  TP_BUTTON = 1, TP_SPLITBUTTON = 3, TP_SPLITBUTTONDROPDOWN = 4, TP_SEPARATOR = 5, TP_SEPARATORVERT = 6,
  TS_NORMAL = 1, TS_HOT = 2, TS_PRESSED = 3, TS_DISABLED = 4, TS_CHECKED = 5,
  RP_GRIPPER = 1, RP_GRIPPERVERT = 2,
  WP_MDIMINBUTTON = 16, WP_SMALLCLOSEBUTTON = 19, WP_MDICLOSEBUTTON = 20, WP_MDIRESTOREBUTTON = 22,
  SP_GRIPPER = 3,
  CP_DROPDOWNBUTTON = 1,
  EP_EDITTEXT = 1,
  SPNP_UP = 1, SPNP_DOWN = 2,
  PP_BAR = 1, PP_BARVERT = 2, PP_CHUNK = 3, PP_CHUNKVERT = 4,
};
constexpr int kFillColorProperty = 3802;

TdxBarXPMetrics gMetrics;

HTHEME Theme(TdxThemedObjectType Kind) { return AcquireThemeHandle(Kind); }

void DrawPart(TdxThemedObjectType Kind, HDC DC, int Part, int State, const TRect& R) {
  RECT r = R;
  UxDrawThemeBackground(Theme(Kind), DC, Part, State, &r);
}

TSize PartSize(TdxThemedObjectType Kind, int Part, int State, THEMESIZE SizeKind) {
  SIZE s{0, 0};
  if (UxGetThemePartSizeDefault(Theme(Kind), nullptr, Part, State, SizeKind, s) != 0) return TSize{0, 0};
  return TSize{int(s.cx), int(s.cy)};
}

// The content rectangle a part leaves inside (0, 0, 100, 100), as margins.
TRect PartMargins(TdxThemedObjectType Kind, int Part, int State) {
  RECT bounds{0, 0, 100, 100}, content = bounds;
  if (UxGetThemeBackgroundContentRect(Theme(Kind), nullptr, Part, State, bounds, content) != 0) return TRect();
  return TRect(content.left, content.top, 100 - content.right, 100 - content.bottom);
}

void FillWithBrush(HDC DC, const TRect& R, HBRUSH Brush) {
  RECT r = R;
  FillRect(DC, &r, Brush);
}

void FrameWithBrush(HDC DC, const TRect& R, HBRUSH Brush) {
  RECT r = R;
  FrameRect(DC, &r, Brush);
}

HDC DCOf(TdxBarItemControlDrawParams* DrawParams) {
  if (!DrawParams || !DrawParams->DrawCanvas) return nullptr;
  DrawParams->DrawCanvas->MeasureTextWidth(std::string());
  return DrawParams->DrawCanvas->CurrentDC();
}

TCustomdxBarControl* BarOf(TdxBarItemControl* Control) { return Control ? Control->BarControl() : nullptr; }

TdxBarManager* ManagerOf(TCustomdxBarControl* Bar) {
  if (!Bar) return nullptr;
  if (TdxBarManager* m = Bar->BarManager()) return m;
  return Bar->ItemLinks() ? Bar->ItemLinks()->BarManager() : nullptr;
}

bool NonRecent(TdxBarItemControl* Control) { return Control && Control->LessUsed; }

bool InSubMenu(TdxBarItemControl* Control) {
  TCustomdxBarControl* bar = BarOf(Control);
  return bar && bar->BarControlKind() == 2;
}

bool ItemEnabled(TdxBarItemControl* Control) { return !Control || Control->IsEnabled(); }

// The bar's brush behind its items: the window's own, else the painter's.
HBRUSH BackgroundBrushOf(const TdxBarPainter& Painter, TCustomdxBarControl* Bar) {
  return Bar && Bar->BackgroundBrush() ? Bar->BackgroundBrush() : Painter.BarBrush(Bar);
}

// The bar's background through its window when there is one, else the brush.
void FillBarBackground(TCustomdxBarControl* Bar, HDC DC, const TRect& R, HBRUSH Brush) {
  if (Bar)
    Bar->DrawBackground(DC, R, true, clNone, Brush);
  else if (Brush)
    FillWithBrush(DC, R, Brush);
}

TdxBar* BarOfControl(TCustomdxBarControl* Bar) {
  return Bar && Bar->ItemLinks() ? dynamic_cast<TdxBar*>(Bar->ItemLinks()->LinksOwner()) : nullptr;
}

bool DockedAcross(TCustomdxBarControl* Bar) {
  if (!Bar) return false;
  TdxBarDockingStyle s = Bar->DockingStyle();
  return s == dsLeft || s == dsRight;
}

bool OwnerFormActive(TCustomdxBarControl* Bar) {
  TdxBarManager* m = ManagerOf(Bar);
  TCustomForm* form = m ? m->NearestParentForm() : nullptr;
  if (form && form->HandleAllocated()) return GetActiveWindow() == form->Handle();
  return Bar && Bar->IsActive();
}

void MeasureMetrics() {
  TdxBarXPMetrics m;
  m.SeparatorWidth = PartSize(totToolBar, TP_SEPARATOR, 1, TS_MIN).cx;
  m.CloseButtonSize = PartSize(totWindow, WP_SMALLCLOSEBUTTON, 1, TS_TRUE);
  TRect padding = PartMargins(totToolBar, TP_SPLITBUTTON, 1);
  m.ButtonPadding = padding.Top + padding.Bottom;
  const TOSVersion& os = OSVersion();
  if (os.Major == 6 && os.Minor == 1)
    m.ComboButtonWidth = GetSystemMetrics(SM_CYHSCROLL);
  else
    m.ComboButtonWidth = PartSize(totComboBox, CP_DROPDOWNBUTTON, 1, TS_TRUE).cx;
  m.EditMargins = PartMargins(totEdit, EP_EDITTEXT, 1);
  m.GripWidth = PartSize(totRebar, RP_GRIPPER, 1, TS_TRUE).cx;
  TRect bar = PartMargins(totProgress, PP_BAR, 0);
  m.ProgressBarHeight = PartSize(totProgress, PP_CHUNK, 0, TS_TRUE).cy + bar.Left + bar.Right;
  m.MenuSeparatorHeight = PartSize(totToolBar, TP_SEPARATORVERT, 1, TS_TRUE).cy;
  m.SizeGripSize = PartSize(totStatus, SP_GRIPPER, 0, TS_TRUE);
  gMetrics = m;
}

// The toolbar button states: disabled, pressed, checked, hot, normal, the first that applies.
int ButtonState(bool Enabled, bool Pressed, bool Checked, bool Hot) {
  if (!Enabled) return TS_DISABLED;
  if (Pressed) return TS_PRESSED;
  if (Checked) return TS_CHECKED;
  if (Hot) return TS_HOT;
  return TS_NORMAL;
}

}  // namespace

const TdxBarXPMetrics& dxBarXPMetrics() { return gMetrics; }

TdxBarXPPainter::TdxBarXPPainter() { MeasureMetrics(); }

// ---- class-level routines

void TdxBarXPPainter::XPDrawStatusBackground(TCustomdxBarControl* BarControl, HDC DC, const TRect& Origin,
                                             const TRect& R) {
  TBitmap* cache = BarControl ? BarControl->BackgroundCacheBitmap() : nullptr;
  if (!cache) {
    DrawPart(totStatus, DC, 0, 0, Origin);
    return;
  }
  if (cache->Empty()) {
    cache->SetSize(Origin.Width(), Origin.Height());
    DrawPart(totStatus, cache->Canvas()->Handle(), 0, 0, TRect(0, 0, Origin.Width(), Origin.Height()));
  }
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), cache->Canvas()->Handle(), R.Left - Origin.Left,
         R.Top - Origin.Top, SRCCOPY);
}

void TdxBarXPPainter::XPDrawSizeGrip(HDC DC, const TRect& R) { DrawPart(totStatus, DC, SP_GRIPPER, 0, R); }

TSize TdxBarXPPainter::XPSizeGripExtent() { return gMetrics.SizeGripSize; }

void TdxBarXPPainter::XPDrawSmallButton(const TdxBarPainter& Painter, HDC DC, const TRect& R, bool Pressed,
                                        const std::string& Text) {
  FillWithBrush(DC, R, GetSysColorBrush(COLOR_WINDOW));
  DrawPart(totToolBar, DC, TP_BUTTON, Pressed ? TS_PRESSED : TS_HOT, R);
  Painter.DrawCenteredButtonText(DC, R, false, Text, Pressed ? 1 : 0);
}

// ---- items

void TdxBarXPPainter::FrameGlyphArea(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected,
                                     bool Down, bool Pressed, bool DroppedDown, bool Split, bool WithBorder,
                                     HBRUSH Brush, const TRect& R) const {
  bool menu = PaintType == 1;
  if ((menu && (Selected || NonRecent(Control)) && NoIcon && !Down) || (Control && Control->HasOwnBackground())) {
    FillWithBrush(DC, R, Brush);
    return;
  }
  FillControlBackground(Control, DC, false, Brush, R);
  // Main-menu entries look like the system's menu bar, not like toolbar buttons.
  if (ShowsHotAsDown(Control) && !menu && (Pressed || Selected || Down || DroppedDown)) {
    FillWithBrush(DC, R, GetSysColorBrush(COLOR_HIGHLIGHT));
    return;
  }
  int state = ButtonState(ItemEnabled(Control), Pressed, Down || (DroppedDown && !Split), Selected);
  DrawPart(totToolBar, DC, Split ? TP_SPLITBUTTON : TP_BUTTON, state, R);
}

void TdxBarXPPainter::DrawCheckSign(TdxBarItemControl* Control, HDC DC, int SizeCode, int X, int Y) const {
  GetSharedFlatPainter()->DrawCheckSign(Control, DC, SizeCode, X, Y);
}

bool TdxBarXPPainter::ShowsHotAsDown(TdxBarItemControl* Control) const {
  return Control && Control->IsInMainMenu();
}

void TdxBarXPPainter::DrawTextWithParams(TdxBarItemControlDrawParams* DrawParams, const TRect& R, UINT Flags,
                                         int Alignment) const {
  TdxBarItemControl* control = DrawParams->Control();
  auto* b = dynamic_cast<TdxBarButtonLikeControlDrawParams*>(DrawParams);
  const bool lit = b && b->PaintKind != 1 && ShowsHotAsDown(control) &&
                   (b->Highlighted || b->PopupOpen || b->PressedState || b->DownLook);
  if (!lit) {
    TdxBarPainter::DrawTextWithParams(DrawParams, R, Flags, Alignment);
    return;
  }
  DrawItemText(control, DCOf(DrawParams), Flags, control ? control->PaintsFlat() : true, true,
               DrawParams->PaintKind == 2, true, DrawParams->DrawEnabled, Alignment, R, DrawParams->CaptionText);
}

void TdxBarXPPainter::DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                         const TRect& R) const {
  FillBarBackground(BarControl, DC, R, Brush);
  TRect r = R;
  TdxBar* bar = BarOfControl(BarControl);
  if (bar && bar->BorderStyle() == bbsNone) {
    if (DockedAcross(BarControl))
      r = r.Inflate(-2, 0);
    else
      r = r.Inflate(0, -2);
  }
  int mark = BarControl ? BarControl->MarkState() : 0;
  DrawPart(totToolBar, DC, TP_BUTTON, mark == 2 ? TS_PRESSED : mark == 1 ? TS_HOT : TS_NORMAL, r);
}

int TdxBarXPPainter::FloatingCaptionTextStart(TCustomdxBarControl* BarControl) const {
  return TdxBarPainter::FloatingCaptionTextStart(BarControl) + 2;
}

void TdxBarXPPainter::DrawEllipsisDot(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
  if (!DrawParams->DrawEnabled) {
    TdxBarPainter::DrawEllipsisDot(DrawParams, R);
    return;
  }
  FillWithBrush(DCOf(DrawParams), R, GetSysColorBrush(COLOR_BTNTEXT));
}

TcxCustomLookAndFeelPainter* TdxBarXPPainter::LookAndFeelPainter() const {
  TcxLookAndFeelPaintersManager* manager = cxLookAndFeelPaintersManager();
  return manager ? manager->PainterForKind(psNative) : nullptr;
}

void TdxBarXPPainter::BeforeDrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
  TdxBarItemControl* control = DrawParams->Control();
  TCustomdxBarControl* bar = BarOf(control);
  HDC dc = DCOf(DrawParams);
  TRect icon = MenuItemIconRect(R, bar ? bar->IconAreaWidth() : R.Height());
  bool selected = DrawParams->Highlighted;
  bool noGlyph = !control || !control->HasGlyphFor(control->ViewSizeForLevel()) || !(DrawParams->ShownParts & 1);
  bool solid = selected || NonRecent(control);
  HBRUSH back = BackgroundBrushOf(*this, bar);
  HBRUSH iconBrush = selected && !DrawParams->DownLook && noGlyph ? SelectionBrush(bar) : back;
  FillControlBackground(control, dc, solid, iconBrush, TRect(icon.Right, R.Top, icon.Right + 1, R.Bottom));
  FillControlBackground(control, dc, solid, iconBrush, icon);
  FillControlBackground(control, dc, solid, selected ? SelectionBrush(bar) : back,
                        TRect(icon.Right + 1, R.Top, R.Right, R.Bottom));
}

HBRUSH TdxBarXPPainter::ItemBackgroundBrush(TdxBarItemControl* Control, int PaintType, bool NoIcon, bool Selected,
                                            bool Down, bool Enabled) const {
  if (PaintType == 1 && Selected && NoIcon && !Down) return SelectionBrush(BarOf(Control));
  return TdxBarPainter::ItemBackgroundBrush(Control, PaintType, NoIcon, Selected, Down, Enabled);
}

// ---- bars

HBRUSH TdxBarXPPainter::BarBrush(TCustomdxBarControl* BarControl) const {
  TdxBarManager* m = ManagerOf(BarControl);
  if (m && m->ThemedToolbarBrush()) return m->ThemedToolbarBrush();
  return GetSysColorBrush(COLOR_BTNFACE);
}

void TdxBarXPPainter::FillDockBackground(TdxDockControl* DockControl, HDC DC, TColor Color, HBRUSH Brush,
                                         const TRect& R, const TRect& OriginRect) const {
  TBitmap* cache = DockControl ? DockControl->BackgroundCache() : nullptr;
  if (!cache) {
    DrawPart(totRebar, DC, 0, 1, R);
    return;
  }
  if (cache->Empty()) {
    const int w = OriginRect.Width(), h = OriginRect.Height();
    cache->SetSize(w, h);
    HDC c = cache->Canvas()->Handle();
    DrawPart(totRebar, c, 0, 1, TRect(0, 0, w, h));
    const TdxBarDockingStyle style = DockControl->DockingStyle();
    const bool horizontal = style == dsTop || style == dsBottom;
    const int rows = DockControl->RowCount();
    for (int i = 0; i < rows; ++i) {
      const std::vector<TdxBar*>& bars = DockControl->Rows(i)->Bars();
      TdxBar* shown = nullptr;
      for (TdxBar* b : bars)
        if (b->BorderStyle() == bbsSingle) {
          shown = b;
          break;
        }
      if (!shown && !bars.empty()) shown = bars.front();
      if (!shown || shown->BorderStyle() == bbsNone || shown->IsBottomWholeRowBar()) continue;
      TRect row = DockControl->RowRect(i);
      TRect light = horizontal ? TRect(row.Left, row.Top, row.Right, row.Top + 1)
                               : TRect(row.Left, row.Top, row.Left + 1, row.Bottom);
      TRect dark = horizontal ? TRect(row.Left, row.Bottom - 1, row.Right, row.Bottom)
                              : TRect(row.Right - 1, row.Top, row.Right, row.Bottom);
      bool first = i == 0, last = i == rows - 1;
      if (!(first && (style == dsTop || style == dsLeft))) FillWithBrush(c, light, GetSysColorBrush(COLOR_BTNHIGHLIGHT));
      if (!(last && (style == dsTop || style == dsBottom || style == dsRight)))
        FillWithBrush(c, dark, GetSysColorBrush(COLOR_BTNSHADOW));
    }
  }
  BitBlt(DC, R.Left, R.Top, R.Width(), R.Height(), cache->Canvas()->Handle(), R.Left - OriginRect.Left,
         R.Top - OriginRect.Top, SRCCOPY);
}

void TdxBarXPPainter::FillFloatingCaption(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                                          const TRect& R) const {
  FillWithBrush(DC, R, GetSysColorBrush(OwnerFormActive(BarControl) ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION));
}

void TdxBarXPPainter::DrawBarSeparator(TCustomdxBarControl* BarControl, HDC DC, bool Horizontal, HBRUSH Brush,
                                       const TRect& R) const {
  FillBarBackground(BarControl, DC, R, Brush);
  DrawPart(totToolBar, DC, Horizontal ? TP_SEPARATORVERT : TP_SEPARATOR, 1, R);
}

void TdxBarXPPainter::DrawCaptionCloseButton(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  int state = BarControl ? BarControl->CloseButtonState() : 0;
  DrawPart(totWindow, DC, WP_SMALLCLOSEBUTTON, std::clamp(state, 0, 2) + 1, R);
}

void TdxBarXPPainter::DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  if (!BarControl || !BarControl->ShowsGrip()) return;
  TRect inner = R.Inflate(-2, -2);
  const TdxBarDockingStyle s = BarControl->DockingStyle();
  const bool alongTop = s == dsTop || s == dsBottom;
  const int dots = GripDotCount(), gap = ToolbarBorderGap();
  TRect grip = alongTop ? TRect(inner.Left + gap, inner.Top, inner.Left + gap + dots, inner.Bottom)
                        : TRect(inner.Left, inner.Top + gap, inner.Right, inner.Top + gap + dots);
  DrawPart(totRebar, DC, DockedAcross(BarControl) ? RP_GRIPPERVERT : RP_GRIPPER, 1, grip);
}

void TdxBarXPPainter::DrawFloatingBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
  GetSharedFlatPainter()->DrawFloatingBorder(BarControl, DC, R);
}

void TdxBarXPPainter::DrawMDIButton(TCustomdxBarControl* BarControl, TdxBarMDIButton Button, const TRect& R,
                                    HDC DC, int State) const {
  FillBarBackground(BarControl, DC, R, BarControl ? BarControl->BackgroundBrush() : BarBrush(nullptr));
  static const int parts[] = {WP_MDIMINBUTTON, WP_MDIRESTOREBUTTON, WP_MDICLOSEBUTTON};
  int state = State == 1 ? 4 : State == 2 ? 2 : State == 4 ? 3 : 1;
  DrawPart(totWindow, DC, parts[std::min<int>(Button, 2)], state, R);
}

void TdxBarXPPainter::DrawDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
  // On a bar the themed split part carries its own arrow.
  if (DrawParams->PaintKind == 1) TdxBarPainter::DrawDropDownArrowPart(DrawParams, R);
}

void TdxBarXPPainter::FillDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R,
                                            HBRUSH Brush) const {
  TdxBarPainter::FillDropDownArrowPart(DrawParams, R, Brush);
  const bool menu = DrawParams->PaintKind == 1;
  int state;
  if (!DrawParams->DrawEnabled || !DrawParams->DropDownEnabled)
    state = TS_DISABLED;
  else if (DrawParams->PopupOpen || (DrawParams->PressedState && !menu))
    state = TS_PRESSED;
  else if (DrawParams->DownLook && !menu)
    state = TS_CHECKED;
  else if (DrawParams->Highlighted)
    state = TS_HOT;
  else
    state = TS_NORMAL;
  DrawPart(totToolBar, DCOf(DrawParams), menu ? TP_BUTTON : TP_SPLITBUTTONDROPDOWN, state, R);
}

void TdxBarXPPainter::DrawComboButton(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R,
                                      bool Pressed) const {
  int state = !DrawParams->DrawEnabled ? 4 : DrawParams->PopupOpen ? 3 : DrawParams->Highlighted ? 2 : 1;
  HDC dc = DCOf(DrawParams);
  if (UxIsThemeBackgroundPartiallyTransparent(Theme(totComboBox), CP_DROPDOWNBUTTON, state)) {
    HBRUSH brush = CreateSolidBrush(COLORREF(ColorToRGB(EditColor(DrawParams))));
    FillWithBrush(dc, R, brush);
    DeleteObject(brush);
  }
  DrawPart(totComboBox, dc, CP_DROPDOWNBUTTON, state, R);
}

// ---- sub-menus

TRect TdxBarXPPainter::MenuSeparatorRect(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control,
                                         const TRect& ItemRect) const {
  return TRect(ItemRect.Left, ItemRect.Top - MenuSeparatorSize(), ItemRect.Right, ItemRect.Top);
}

void TdxBarXPPainter::DrawMenuBorder(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
  FrameWithBrush(DC, R, GetSysColorBrush(COLOR_BTNSHADOW));
}

void TdxBarXPPainter::DrawMenuFrame(TdxBarSubMenuControl* SubMenu, HDC DC, HBRUSH Brush, const TRect& R) const {
  FrameWithBrush(DC, R, MenuOwnBrush(SubMenu));
}

void TdxBarXPPainter::DrawMenuSeparator(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control, const TRect& R,
                                        TcxCanvas* Canvas) const {
  HDC dc = Canvas->CurrentDC();
  TCustomdxBarControl* bar = BarOf(Control);
  HBRUSH brush = bar && bar->BackgroundBrush() ? bar->BackgroundBrush() : MenuBrush(bar);
  FillControlBackground(Control, dc, NonRecent(Control) && !Control->StartsLessUsedBand, brush, R);
  DrawSeparatorLine(Canvas, R);
  // In a menu window the strip stays out of the background fill that ends its painting.
  if (SubMenu) ExcludeClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
}

void TdxBarXPPainter::DrawSeparatorLine(TcxCanvas* Canvas, const TRect& R) const {
  DrawPart(totToolBar, Canvas->CurrentDC(), TP_SEPARATORVERT, 1, R);
}

void TdxBarXPPainter::DrawSeparatorItemLine(TcxCanvas* Canvas, const TRect& R) const {
  FillWithBrush(Canvas->CurrentDC(), R, BarBrush(nullptr));
  DrawSeparatorLine(Canvas, R);
}

HBRUSH TdxBarXPPainter::MenuOwnBrush(TdxBarSubMenuControl* SubMenu) const { return GetSysColorBrush(COLOR_MENU); }

// ---- edits, combos, spin edits, colour combos and progress bars

TColor TdxBarXPPainter::EditBackgroundColor(TdxBarItemControl*) const {
  return EditThemeFillColor(Theme(totEdit), 1);
}

TColor TdxBarXPPainter::EditDisabledBackgroundColor(TdxBarItemControl*) const {
  return EditThemeFillColor(Theme(totEdit), 4);
}

TColor TdxBarXPPainter::EditTextColorEnabled() const { return EditThemeTextColor(Theme(totEdit), 1); }
TColor TdxBarXPPainter::EditTextColorDisabled() const { return EditThemeTextColor(Theme(totEdit), 4); }

void TdxBarXPPainter::DrawComboListItemDefault(TdxBarItem* Item, TcxCanvas* Canvas, const TRect& R,
                                               int Index) const {
  GetSharedFlatPainter()->TdxBarFlatPainter::DrawComboListItemDefault(Item, Canvas, R, Index);
}

void TdxBarXPPainter::DrawEditBorder(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R) const {
  HDC dc = DCOf(DrawParams);
  TdxBarItemControl* control = DrawParams->Control();
  int state = control ? EditThemeState(control) : DrawParams->DrawEnabled ? 1 : 4;
  const TRect bounds = R;
  RECT content = bounds;
  UxGetThemeBackgroundContentRect(Theme(totEdit), dc, EP_EDITTEXT, state, RECT(bounds), content);
  R = TRect(content.left, content.top, content.right, content.bottom);
  TClipKeeper clip(dc);
  ExcludeClipRect(dc, R.Left, R.Top, R.Right, R.Bottom);
  bool idle = ((state == 1 && DrawParams->PaintKind != 1) || DrawParams->FramePartOnly) && !DrawParams->Highlighted;
  if (idle)
    FillControlBackground(control, dc, NonRecent(control), BackgroundBrushOf(*this, BarOf(control)), bounds);
  else
    DrawPart(totEdit, dc, EP_EDITTEXT, state, bounds);
}

bool TdxBarXPPainter::EditCaptionNonRecent(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return DrawParams->PaintKind == 1 && (DrawParams->Highlighted || NonRecent(DrawParams->Control()));
}

HBRUSH TdxBarXPPainter::EditBarBrush(TdxBarItemControl* Control) const {
  TCustomdxBarControl* bar = BarOf(Control);
  if (Control && Control->IsSelected() && InSubMenu(Control)) return SelectionBrush(bar);
  return BackgroundBrushOf(*this, bar);
}

void TdxBarXPPainter::DrawEllipsisButton(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
  TdxBarItemControl* control = DrawParams->Control();
  FrameGlyphArea(control, DCOf(DrawParams), 0, true, DrawParams->Highlighted, false, DrawParams->PressedLook,
                 false, false, true, BackgroundBrushOf(*this, BarOf(control)), R);
  DrawEllipsisDots(DrawParams, R);
}

void TdxBarXPPainter::DrawColorBoxFrame(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
  TdxBarItemControl* control = DrawParams->Control();
  FrameControlBackground(control, DCOf(DrawParams), false, BackgroundBrushOf(*this, BarOf(control)), R);
}

int TdxBarXPPainter::DropDownNonClientHeight() const {
  return std::max(ThemeSmallCloseButtonSize().cy + 4, ThemedGripExtent().cy + 1);
}

void TdxBarXPPainter::DrawPushButton(const std::string& Text, HDC DC, bool Pressed, int Offset,
                                     const TRect& R) const {
  XPDrawSmallButton(*this, DC, R, Pressed, Text);
}

void TdxBarXPPainter::DrawSpinButton(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, int Button) const {
  TdxBarItemControl* control = DrawParams->Control();
  HDC dc = DCOf(DrawParams);
  FillControlBackground(control, dc, false, BackgroundBrushOf(*this, BarOf(control)), R);
  int state = std::clamp(SpinButtonState(DrawParams, Button), 1, 4);
  DrawPart(totSpin, dc, Button == 1 ? SPNP_UP : SPNP_DOWN, state, R);
}

TColor TdxBarXPPainter::ProgressBarDefaultColor() const {
  COLORREF c = 0;
  if (UxGetThemeColor(Theme(totProgress), PP_CHUNK, 0, kFillColorProperty, c) == 0) return TColor(c);
  return TdxBarPainter::ProgressBarDefaultColor();
}

void TdxBarXPPainter::FillProgressBackground(TdxBarProgressControlDrawParams* DrawParams, const TRect& R) const {
  HDC dc = DCOf(DrawParams);
  int part = DrawParams->PaintKind == 2 ? PP_BARVERT : PP_BAR;
  if (UxIsThemeBackgroundPartiallyTransparent(Theme(totProgress), part, 0))
    FillWithBrush(dc, R, BackgroundBrushOf(*this, BarOf(DrawParams->Control())));
  DrawPart(totProgress, dc, part, 0, R);
}

TRect TdxBarXPPainter::ProgressBarContentRect(TdxBarProgressControlDrawParams* DrawParams, const TRect& R) const {
  int part = DrawParams->PaintKind == 2 ? PP_BARVERT : PP_BAR;
  RECT content = R;
  if (UxGetThemeBackgroundContentRect(Theme(totProgress), DCOf(DrawParams), part, 0, RECT(R), content) != 0)
    return R;
  return TRect(content.left, content.top, content.right, content.bottom);
}

void TdxBarXPPainter::DrawProgressChunks(TdxBarProgressControlDrawParams* DrawParams, const TRect& R,
                                         HBRUSH Brush) const {
  DrawPart(totProgress, DCOf(DrawParams), DrawParams->PaintKind == 2 ? PP_CHUNKVERT : PP_CHUNK, 0, R);
}

void RegisterXPBarPainter() {
  RegisterBarPainterClass(bmsXP, [] { return new TdxBarXPPainter(); });
}
