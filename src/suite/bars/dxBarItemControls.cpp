// Button-like, button, large-button, static, separator and in-place window controls.

#include "suite/bars/dxBarAccessibility.h"
#include "suite/bars/dxBarItemControls.h"
#include "suite/bars/dxBarSubMenu.h"

#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/gui/ImgList.h"
#include "platform/gui/Menus.h"
#include "platform/gui/Pictures.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBarItemControlsImpl.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxGraphics.h"

using namespace dxBarControlsImpl;

// ---- hover timers: one pending open and one pending close for the whole program

namespace {

struct THoverSlot {
  TdxBarButtonLikeControl* Control = nullptr;
  UINT_PTR Timer = 0;
  void Cancel() {
    if (Timer) KillTimer(nullptr, Timer);
    Timer = 0;
    Control = nullptr;
  }
};

THoverSlot gPendingOpen;
THoverSlot gPendingClose;

void OpenTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  TdxBarButtonLikeControl* c = gPendingOpen.Control;
  gPendingOpen.Cancel();
  if (c) c->EnterActiveState(true, true);
}

void CloseTimerProc(HWND, UINT, UINT_PTR, DWORD) {
  TdxBarButtonLikeControl* c = gPendingClose.Control;
  gPendingClose.Cancel();
  if (c) c->LeaveActiveState(true);
}

bool OnToolbar(const TdxBarItemControl* C) { return C->BarControl() && C->BarControl()->BarControlKind() == 0; }
bool InSubMenu(const TdxBarItemControl* C) { return C->BarControl() && C->BarControl()->BarControlKind() == 2; }

bool CustomizingOrDesigning(const TdxBarItemControl* C) {
  TdxBarManager* m = C->LinkBarManager();
  return m && m->IsCustomizingOrDesigning();
}

}  // namespace

void TdxBarButtonLikeControl::ScheduleOpen() {
  if (gPendingClose.Control == this) gPendingClose.Cancel();
  gPendingOpen.Cancel();
  gPendingOpen.Control = this;
  gPendingOpen.Timer = SetTimer(nullptr, 0, HoverDelay, &OpenTimerProc);
}

void TdxBarButtonLikeControl::ScheduleClose() {
  if (gPendingOpen.Control == this) gPendingOpen.Cancel();
  if (!IsDroppedDown()) return;
  gPendingClose.Cancel();
  gPendingClose.Control = this;
  gPendingClose.Timer = SetTimer(nullptr, 0, HoverDelay, &CloseTimerProc);
}

void TdxBarButtonLikeControl::FirePendingClose() {
  TdxBarButtonLikeControl* c = gPendingClose.Control;
  gPendingClose.Cancel();
  if (c) c->LeaveActiveState(true);
}

void TdxBarButtonLikeControl::StopTimers() {
  if (gPendingOpen.Control == this) gPendingOpen.Cancel();
  if (gPendingClose.Control == this) gPendingClose.Cancel();
}

TdxBarButtonLikeControl* TdxBarButtonLikeControl::PendingOpen() { return gPendingOpen.Control; }
TdxBarButtonLikeControl* TdxBarButtonLikeControl::PendingClose() { return gPendingClose.Control; }

// ---- button-like controls

TdxBarButtonLikeControl::~TdxBarButtonLikeControl() {
  StopTimers();
  if (TCustomdxBarControl* dropDown = DropDownBar()) CloseDropDown(true);
}

int TdxBarButtonLikeControl::DropDownArrowWidth() {
  if (InSubMenu(this)) return BarControl()->MenuArrowWidth();
  TdxBarPainter* p = Painter();
  return p ? PainterDropDownArrowWidth(p, LinkBarManager()) : 0;
}

bool TdxBarButtonLikeControl::AllowsActivation() const {
  TdxBarManager* m = LinkBarManager();
  return IsEnabled() || (m && m->IsDesigning());
}

void TdxBarButtonLikeControl::MarkBarPressed(bool Flag) {
  if (BarControl()) BarControl()->SetDowned(true);
}

bool TdxBarButtonLikeControl::QueryPlainTextLook() const {
  TdxBarPainter* p = Painter();
  return p && PainterArrowUsesCaptionColor(p);
}

bool TdxBarButtonLikeControl::QueryHotLook() const {
  TdxBarPainter* p = Painter();
  return p && PainterArrowAreaExtraWidth(p, const_cast<TdxBarButtonLikeControl*>(this)) != 0;
}

void TdxBarButtonLikeControl::CloseDropDown(bool Close) {
  StopTimers();
  // The drop-down bar's own close-and-free belongs to the sub-menu window.
  Repaint();
}

bool TdxBarButtonLikeControl::CanFade() {
  TCustomdxBarControl* bar = BarControl();
  TdxBarPainter* p = Painter();
  return bar && bar->FadingEnabled() && Fader() && p && PainterSupportsFading(p) && !IsDroppedDown() &&
         bar->ReservedSwitch() && IsActiveNow();
}

void TdxBarButtonLikeControl::GetFadingImages(TcxBitmap32*& Normal, TcxBitmap32*& Hot) {
  Normal = Hot = nullptr;
  TdxBarPainter* p = Painter();
  if (PaintKind() == 1 || !p || !PainterSupportsFading(p)) return;
  TRect r = ItemBoundsOf();
  auto normal = std::make_unique<TcxBitmap32>(r.Width(), r.Height(), true);
  auto hot = std::make_unique<TcxBitmap32>(r.Width(), r.Height(), true);
  CalcDrawParams(true);
  TdxBarItemControlDrawParams* dp = DrawParams();
  for (int i = 0; i < 2; ++i) {
    TcxBitmap32* b = i == 0 ? normal.get() : hot.get();
    TcxCanvas canvas(b->Canvas());
    canvas.ApplyViewportOrigin(TPoint(-r.Left, -r.Top));
    TcxCanvas* previous = dp->DrawCanvas;
    dp->DrawCanvas = &canvas;
    dp->Highlighted = i == 1;
    if (i == 0) dp->HotPart = -1;
    PainterDrawFadingImage(p, dp, r);
    dp->DrawCanvas = previous;
    canvas.ApplyViewportOrigin(TPoint(0, 0));
  }
  CalcDrawParams(false);
  Normal = normal.release();
  Hot = hot.release();
}

void TdxBarButtonLikeControl::EnterActiveState(bool Flag, bool ByMouse) {
  if (IsDroppedDown()) {
    StopTimers();
    return;
  }
  TdxBarItemControl::EnterActiveState(Flag, ByMouse);
  if (!HasArrowPart() || !AllowsActivation()) return;
  if (OnToolbar(this)) {
    if (!(BarControl()->IsCustomizing() || BarControl()->Downed())) return;
    Flag = true;
  }
  if (Flag || CustomizingOrDesigning(this)) {
    FirePendingClose();
    OpenDropDown(ByMouse);
  } else {
    ScheduleOpen();
  }
}

void TdxBarButtonLikeControl::LeaveActiveState(bool Flag) {
  TCustomdxBarControl* bar = BarControl();
  if (OnToolbar(this) || Flag || !bar || bar->IsDestroying() || CustomizingOrDesigning(this)) {
    TdxBarItemControl::LeaveActiveState(Flag);
    CloseDropDown(DropDownBar() != nullptr);
  } else {
    ScheduleClose();
  }
}

void TdxBarButtonLikeControl::SelectByMouse(bool AlreadySelected, bool& Handled) {
  if (!AlreadySelected) {
    TdxBarItemControl::SelectByMouse(AlreadySelected, Handled);
    return;
  }
  if (BarControl() && BarControl()->Downed() && IsDroppedDown()) BarControl()->DeactivateIfFocused();
}

bool TdxBarButtonLikeControl::WantsKey(WORD Key) const {
  if (TdxBarItemControl::WantsKey(Key)) return true;
  if (!HasArrowPart()) return false;
  return InSubMenu(this) ? Key == VK_RIGHT : Key == VK_UP || Key == VK_DOWN;
}

TcxAccessibilityHelperClass TdxBarButtonLikeControl::AccessibilityHelperClass() const {
  return &CreateForOwner<TdxBarButtonLikeControlAccessibilityHelper>;
}

TdxBarItemControl::TDrawParamsFactory TdxBarButtonLikeControl::DrawParamsClass() const {
  return [](TdxBarItemControl* c) -> TdxBarItemControlDrawParams* {
    return new TdxBarButtonLikeControlDrawParams(c);
  };
}

void TdxBarButtonLikeControl::CalcDrawParams(bool WithTexts) {
  TdxBarItemControl::CalcDrawParams(WithTexts);
  TdxBarButtonLikeControlDrawParams* dp = ButtonLikeDrawParams();
  if (!dp) return;
  if (WithTexts) {
    dp->RealButtonGroupPosition = ViewInfo() ? ViewInfo()->RealButtonGroupPosition : 0;
    dp->HotLook = QueryHotLook();
    dp->PlainTextLook = QueryPlainTextLook();
  }
  dp->ArrowAreaSize = TSize{DropDownArrowWidth(), BarControl() ? BarControl()->MenuArrowHeight() : 0};
}

void TdxBarButtonLikeControl::Draw(const TRect& R, int APaintKind) {
  if (TdxBarPainter* p = Painter()) PainterDrawButtonLike(p, ButtonLikeDrawParams(), R);
}

void TdxBarButtonLikeControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (WantsKey(Key)) MarkBarPressed(false);
}

// ---- button controls

TdxBarButton* TdxBarButtonControl::Button() const { return dynamic_cast<TdxBarButton*>(LinkItem()); }

TdxBarPaintStyle TdxBarButtonControl::EffectivePaintStyle() const {
  TdxBarPaintStyle style = Link() ? Link()->EffectivePaintStyle() : TdxBarPaintStyle::psStandard;
  if (OnToolbar(this) && style == TdxBarPaintStyle::psStandard) AdjustPaintStyle(style);
  return style;
}

void TdxBarButtonControl::AdjustPaintStyle(TdxBarPaintStyle& Style) const {
  if (dynamic_cast<TdxBarLargeButton*>(LinkItem()) || !HasGlyphFor(ViewSizeForLevel())) Style = psCaption;
}

void TdxBarButtonControl::PaintStyleChanged() { RecalcBar(); }

void TdxBarButtonControl::DoClick(bool ByMouse, bool Flag) {
  if (OnToolbar(this) && !BarControl()->Downed()) return;
  if (HasArrowPart() && HotPart() == 1 && IsPressedByMouse()) {
    MarkBarPressed(ByMouse);
  } else if (OnToolbar(this) || HasArrowPart()) {
    Repaint();
  }
}

void TdxBarButtonControl::Click(bool ByMouse) {
  if (ByMouse && HotPart() != 0) return;
  TWeakLink<TdxBarItemControl> self(this);
  if (TdxBarButton* b = Button(); b && b->IsCheckedStyle()) b->SetDown(!b->Down());
  if (!self) return;
  LeaveActiveState(true);
  if (self) TdxBarItemControl::Click(ByMouse);
}

void TdxBarButtonControl::SelectByMouse(bool AlreadySelected, bool& Handled) {
  TCustomdxBarControl* bar = BarControl();
  if (AlreadySelected && bar && bar->Downed() && IsDroppedDown() && HotPart() == 0) {
    if (bar->NavigationFlags() & 512) bar->DeactivateIfFocused();
    bar->Activate(this);
    return;
  }
  TdxBarButtonLikeControl::SelectByMouse(AlreadySelected, Handled);
}

bool TdxBarButtonControl::PressedState() const {
  TCustomdxBarControl* bar = BarControl();
  bool pressed = IsDrawnSelected() && bar && bar->IsActive() && IsPressedByMouse() && HotPart() == 0;
  TdxBarButton* b = Button();
  return pressed || (RepaintSuspended() && !(b && b->IsCheckedStyle()));
}

bool TdxBarButtonControl::IsActiveNow() const {
  return (IsDrawnSelected() && !(BarControl() && BarControl()->IsCustomizing())) || RepaintSuspended();
}

TcxAccessibilityHelperClass TdxBarButtonControl::AccessibilityHelperClass() const {
  return &CreateForOwner<TdxBarButtonControlAccessibilityHelper>;
}

int TdxBarButtonControl::ShownParts() const {
  TdxBarItemViewLevel level = ViewInfo() ? ViewInfo()->ViewLevel : ivlDefault;
  if (level == ivlSmallIcon) return dxBarGlyphPart;
  return TdxBarButtonLikeControl::ShownParts();
}

int TdxBarButtonControl::DefaultShownParts() const {
  bool menu = PaintKind() == 1;
  switch (EffectivePaintStyle()) {
    case TdxBarPaintStyle::psStandard:
      if (menu) return dxBarGlyphPart | dxBarCaptionPart;
      return HasGlyphFor(ViewSizeForLevel()) ? dxBarGlyphPart : dxBarCaptionPart;
    case TdxBarPaintStyle::psCaption:
      return dxBarCaptionPart;
    case TdxBarPaintStyle::psCaptionInMenu:
      return menu ? dxBarCaptionPart : dxBarGlyphPart;
    default:
      return dxBarGlyphPart | dxBarCaptionPart;
  }
}

void TdxBarButtonControl::CalcDrawParams(bool WithTexts) {
  TdxBarButtonLikeControl::CalcDrawParams(WithTexts);
  TdxBarButtonLikeControlDrawParams* dp = ButtonLikeDrawParams();
  if (!dp || !WithTexts) return;
  TdxBarButton* b = Button();
  TShortCut sc = ShortCutOf();
  dp->ShortCutText = sc ? ShortCutToText(sc) : std::string();
  dp->PressedLook = dp->PressedState = PressedState();
  dp->DownLook = b && b->Down();
  dp->PopupOpen = FDroppedDown;
  TdxBarPainter* p = Painter();
  dp->ArrowPressed = p && PainterIsFlat(p) && FDroppedDown;
  dp->SeparateArrowPart = true;
  dp->DropDownEnabled = b && b->DropDownEnabled();
  dp->GrayGlyph = DrawsGrayGlyph();
  dp->LoweredLook = b && b->Lowered();
}

void TdxBarButtonControl::CalcPartRects() {
  TdxBarButtonLikeControl::CalcPartRects();
  if (!HasArrowPart()) return;
  if (TdxBarPainter* p = Painter()) PainterCalcButtonPartRects(p, ButtonLikeDrawParams(), FPartRects);
}

int TdxBarButtonControl::Height() {
  int h = TdxBarButtonLikeControl::Height();
  TdxBarPainter* p = Painter();
  if (Button() && Button()->Lowered() && p) h += 2 * PainterButtonBorderWidth(p, this);
  const TRect& m = ButtonLikeDrawParams()->ContentMargins;
  return h + m.Top + m.Bottom;
}

int TdxBarButtonControl::Width() {
  int w = TdxBarButtonLikeControl::Width();
  TdxBarPainter* p = Painter();
  if (p) PainterAddButtonExtraWidth(p, ButtonLikeDrawParams(), w);
  if (Button() && Button()->Lowered() && p) w += 2 * PainterButtonBorderWidth(p, this);
  const TRect& m = ButtonLikeDrawParams()->ContentMargins;
  return w + m.Left + m.Right;
}

int TdxBarButtonControl::SmallHeight() {
  int h = TdxBarButtonLikeControl::SmallHeight();
  if (DrawParams()->ShownParts & dxBarCaptionPart) {
    TSize g = DrawParams()->GlyphExtent;
    h = std::max(h, SelectAcrossRotation(g.cx, g.cy));
  }
  return h;
}

bool TdxBarButtonControl::ClosesMenusOnClick() const {
  if (OnToolbar(this)) return true;
  TdxBarButton* b = Button();
  return !b || b->CloseSubMenuOnClick();
}

bool TdxBarButtonControl::HasArrowPart() const {
  TdxBarButton* b = Button();
  return b && (b->ButtonStyle() == bsDropDown || b->ButtonStyle() == bsCheckedDropDown);
}

bool TdxBarButtonControl::KeepsMouseAfterClick() const {
  return BarControl() && BarControl()->BarControlKind() == 1 && !IsDroppedDown();
}

TCustomdxBarControl* TdxBarButtonControl::DropDownBar() const {
  TdxBarButton* b = Button();
  return b && b->DropDownMenu() ? b->DropDownMenu()->ItemLinks()->BarControl() : nullptr;
}

bool TdxBarButtonControl::IsDroppedDown() const { return FDroppedDown && DropDownBar(); }

void TdxBarButtonControl::MarkBarPressed(bool Flag) {
  TdxBarButtonLikeControl::MarkBarPressed(Flag);
  EnterActiveState(true, Flag);
}

bool TdxBarButtonControl::QueryHotLook() const {
  TdxBarPainter* p = Painter();
  if (!p || !PainterIsFlat(p)) return false;
  TdxBarButton* b = Button();
  bool pressed = PressedState();
  bool down = b && b->Down();
  bool selected = IsDrawnSelected();
  if ((pressed || (down && selected)) && PainterDownButtonHighlight(p)) return true;
  if (pressed || down || selected) {
    bool whiteFace = ColorToRGB(clBtnFace) == 0xFFFFFF;
    return (whiteFace && !FDroppedDown) || TdxBarButtonLikeControl::QueryHotLook();
  }
  return false;
}

bool TdxBarButtonControl::QueryPlainTextLook() const {
  return !QueryHotLook() || TdxBarButtonLikeControl::QueryPlainTextLook();
}

void TdxBarButtonControl::CloseDropDown(bool Close) {
  FDroppedDown = false;
  if (TdxBarButton* b = Button(); b && b->DropDownMenu())
    if (auto* window = dynamic_cast<TdxBarSubMenuControl*>(b->DropDownMenu()->BarControl());
        window && window->OpeningButtonControl == this && !window->IsDestroying()) {
      window->OpeningButtonControl = nullptr;
      window->CloseAndFree();
    }
  TdxBarButtonLikeControl::CloseDropDown(Close);
}

void TdxBarButtonControl::OpenDropDown(bool ByMouse) {
  TdxBarButton* b = Button();
  if (FDroppedDown || !IsEnabled() || !b || !b->DropDownEnabled() || !b->DropDownMenu()) return;
  FDroppedDown = true;
  TCustomdxBarControl* bar = BarControl();
  if (bar) bar->ItemControlSelected(this);
  Repaint();
  TRect r = ItemBoundsOf();
  POINT p;
  if (InSubMenu(this) || (bar && bar->IsDockedVertically()))
    p = {r.Right, r.Top - (InSubMenu(this) ? bar->DropDownShift() : 0)};
  else
    p = {r.Left, r.Bottom};
  if (bar && bar->WindowHandle()) ClientToScreen(bar->WindowHandle(), &p);
  DropDownMenuAt(TPoint(p.x, p.y), ByMouse);
}

void TdxBarButtonControl::DropDownMenuAt(const TPoint& P, bool ByMouse) {
  TdxBarButton* b = Button();
  TdxBarPopupMenu* menu = b ? b->DropDownMenu() : nullptr;
  TCustomdxBarControl* bar = BarControl();
  if (!menu) return;
  const TRect r = ItemBoundsOf();
  const bool beside = InSubMenu(this) || (bar && bar->IsDockedVertically());
  const TRect owner = bar && bar->WindowHandle() ? bar->ItemControlScreenRect(this) : TRect();
  TWeakLink<TdxBarItemControl> self(this);
  menu->InternalCloseUp = [self](int) {
    if (auto* c = static_cast<TdxBarButtonControl*>(self.get()); c && c->FDroppedDown) c->CloseDropDown(false);
  };
  menu->PopupItemControl = this;
  menu->PopupFromControl(P.X, P.Y, bar, false, owner.IsEmpty() ? nullptr : &owner, true, beside ? 0 : r.Height(),
                         beside ? r.Width() : 0);
  menu->PopupItemControl = nullptr;
  if (!self) return;
  if (auto* window = dynamic_cast<TdxBarSubMenuControl*>(menu->BarControl())) {
    window->OpeningButtonControl = this;
    if (!ByMouse && menu->ItemLinks())
      if (TdxBarItemLink* first = menu->ItemLinks()->FirstSelectableLink(); first && first->Control())
        window->KeySelectItemControl(first->Control());
  }
  if (TdxBarPainter* painter = Painter(); self && painter && PainterArrowPartFlatB(painter)) Repaint();
}

// ---- large buttons

TdxBarLargeButton* TdxBarLargeButtonControl::LargeButton() const {
  return dynamic_cast<TdxBarLargeButton*>(LinkItem());
}

TdxBarItemViewLevels TdxBarLargeButtonControl::GetPossibleViewLevels() const {
  return TdxBarButtonControl::GetPossibleViewLevels() + TdxBarItemViewLevels{ivlLargeIconWithText};
}

int TdxBarLargeButtonControl::DefaultViewSize() const {
  return PaintKind() == 1 ? TdxBarButtonControl::DefaultViewSize() : 2;
}

int TdxBarLargeButtonControl::DefaultShownParts() const {
  if (PaintKind() == 1) return TdxBarButtonControl::DefaultShownParts();
  TdxBarLargeButton* b = LargeButton();
  return b && b->ShowCaption() ? dxBarGlyphPart | dxBarCaptionPart : dxBarGlyphPart;
}

bool TdxBarLargeButtonControl::GlyphAndImages(int SizeKind, bool Hot, int& Index, TCustomImageList*& Images,
                                              TBitmap*& Glyph) const {
  if (SizeKind != 2) return TdxBarButtonControl::GlyphAndImages(SizeKind, Hot, Index, Images, Glyph);
  TdxBarLargeButton* b = LargeButton();
  // A bitmap of the item's own comes before its image list's image.
  auto bitmap = [&](TBitmap* B) {
    if (!B || B->Empty()) return false;
    Glyph = B;
    Images = LargeImages();
    Index = LargeImageIndex();
    return true;
  };
  auto hotSource = [&]() {
    if (b && bitmap(b->HotGlyph())) return true;
    TCustomImageList* hot = HotImages();
    if (b && hot && b->HotImageIndex() >= 0 && b->HotImageIndex() < hot->Count()) {
      Images = hot;
      Index = b->HotImageIndex();
      Glyph = nullptr;
      return true;
    }
    return false;
  };
  auto largeSource = [&]() {
    if (bitmap(LargeGlyph())) return true;
    TCustomImageList* large = LargeImages();
    int index = LargeImageIndex();
    if (large && index >= 0 && index < large->Count()) {
      Images = large;
      Index = index;
      Glyph = nullptr;
      return true;
    }
    return false;
  };
  if (Hot ? hotSource() || largeSource() : largeSource() || hotSource()) return true;
  Glyph = nullptr;
  Index = -1;
  Images = LargeImages() ? LargeImages() : HotImages();
  return false;
}

int TdxBarLargeButtonControl::NaturalHeight() {
  TdxBarLargeButton* b = LargeButton();
  return b && b->Height() ? b->Height() : TdxBarButtonControl::NaturalHeight();
}

int TdxBarLargeButtonControl::NaturalWidth() {
  TdxBarLargeButton* b = LargeButton();
  return b && b->Width() ? b->Width() : TdxBarButtonControl::NaturalWidth();
}

bool TdxBarLargeButtonControl::IsRotated() const {
  TdxBarLargeButton* b = LargeButton();
  return TdxBarButtonControl::IsRotated() && b && b->ShowCaption();
}

bool TdxBarLargeButtonControl::DrawsGrayGlyph() const {
  TdxBarLargeButton* b = LargeButton();
  return !IsDrawnSelected() && IsEnabled() && b && b->AutoGrayScale();
}

int TdxBarLargeButtonControl::DropDownArrowWidth() {
  TdxBarPainter* p = Painter();
  if (OnToolbar(this) && p) return PainterLargeDropDownArrowWidth(p, LinkBarManager());
  return TdxBarButtonControl::DropDownArrowWidth();
}

void TdxBarLargeButtonControl::ImageChanged() {
  if (DrawParams()->GlyphSizeKind() != 2) return;
  TdxBarLargeButton* b = LargeButton();
  if ((b && b->Width() && b->Height()) || PaintKind() == 1)
    Repaint();
  else
    RecalcBar();
}

void TdxBarLargeButtonControl::HotImageChanged() { ImageChanged(); }

void TdxBarLargeButtonControl::LargeImageChanged() { ImageChanged(); }

// ---- static controls

bool TdxBarCustomStaticControl::IsKeyNavigable() const {
  return TdxBarItemControl::IsKeyNavigable() && CustomizingOrDesigning(this);
}

int TdxBarCustomStaticControl::DefaultShownParts() const {
  TdxBarItem* item = LinkItem();
  int parts = item && item->ShowCaption() ? dxBarCaptionPart : 0;
  if (HasGlyphFor(ViewSizeForLevel())) parts |= dxBarGlyphPart;
  return parts;
}

TdxBarItemControl::TDrawParamsFactory TdxBarCustomStaticControl::DrawParamsClass() const {
  return [](TdxBarItemControl* c) -> TdxBarItemControlDrawParams* {
    return new TdxBarStaticLikeControlDrawParams(c);
  };
}

void TdxBarCustomStaticControl::Draw(const TRect& R, int APaintKind) {
  if (TdxBarPainter* p = Painter()) PainterDrawStaticContent(p, StaticDrawParams(), R);
}

// ---- separator controls

int TdxBarSeparatorControl::DefaultShownParts() const {
  TdxBarItem* item = LinkItem();
  return PaintKind() == 1 && item && item->ShowCaption() ? dxBarCaptionPart : 0;
}

TdxBarItemControl::TDrawParamsFactory TdxBarSeparatorControl::DrawParamsClass() const {
  return [](TdxBarItemControl* c) -> TdxBarItemControlDrawParams* {
    return new TdxBarSeparatorControlDrawParams(c);
  };
}

void TdxBarSeparatorControl::CalcDrawParams(bool WithTexts) {
  TdxBarCustomStaticControl::CalcDrawParams(WithTexts);
  if (TdxBarSeparatorControlDrawParams* dp = SeparatorDrawParams())
    dp->FirstShown = Link() && Link()->ShownIndex() == 0;
}

void TdxBarSeparatorControl::Draw(const TRect& R, int APaintKind) {
  if (TdxBarPainter* p = Painter()) PainterDrawSeparatorItem(p, SeparatorDrawParams(), R);
}

void TdxBarSeparatorControl::SelectItemFont(TFont* FontSource, int StyleIndex, TdxBarItemFontState& Saved) {
  TdxBarItem* item = LinkItem();
  if (item && item->Style()) {
    TdxBarCustomStaticControl::SelectItemFont(FontSource, StyleIndex, Saved);
    return;
  }
  Saved.Changed = false;
  if (TcxCanvas* canvas = DrawingCanvas()) canvas->CurrentFont()->SetStyle(TFontStyles{TFontStyle::fsBold});
}

void TdxBarSeparatorControl::RestoreItemFont(TdxBarItemFontState& Saved) {
  TdxBarCustomStaticControl::RestoreItemFont(Saved);
  if (TcxCanvas* canvas = DrawingCanvas()) canvas->CurrentFont()->SetStyle(TFontStyles{});
}

void TdxBarSeparatorControl::GetControlMargins(int Kind, TRect& Margins) {
  TdxBarPainter* p = Painter();
  Margins = p ? PainterSeparatorItemMargins(p) : TRect(6, 0, 0, 0);
}

int TdxBarSeparatorControl::MenuItemHeight() {
  if (!(DrawParams()->ShownParts & dxBarCaptionPart)) return BarControl() ? BarControl()->GroupIndent() : 0;
  TdxBarPainter* p = Painter();
  int line = p ? PainterSeparatorLineHeight(p) : 0;
  return line * (SeparatorDrawParams()->FirstShown ? 1 : 2) + TdxBarCustomStaticControl::MenuItemHeight();
}

int TdxBarSeparatorControl::MenuItemWidth() { return TdxBarCustomStaticControl::MenuItemWidth(); }

int TdxBarSeparatorControl::MinWidth() {
  TdxBarPainter* p = Painter();
  return (p ? PainterSeparatorTextIndent(p, DrawParams()) : 0) + (BarControl() ? BarControl()->IconAreaWidth() : 0);
}

int TdxBarSeparatorControl::NaturalHeight() { return OwnTextSize(); }

int TdxBarSeparatorControl::NaturalWidth() { return BarControl() ? BarControl()->GroupIndent() : 0; }

// ---- in-place window controls

TdxBarWinControl::~TdxBarWinControl() {
  if (FWindowHook) GetWindowProcController()->Unhook(FWindowHook);
}

TdxBarWindowItem* TdxBarWinControl::WindowItem() const { return dynamic_cast<TdxBarWindowItem*>(LinkItem()); }

void TdxBarWinControl::HookInnerWindow() {
  HWND w = InnerWindow();
  if (!w || FWindowHook) return;
  FWindowHook = GetWindowProcController()->HookWindowHandle(w, [this](TMessage& M) { SafeInnerWindowProc(M); });
}

void TdxBarWinControl::UnhookInnerWindow() {
  if (!InnerWindow()) return;
  SetActive(false);
  if (FWindowHook) GetWindowProcController()->Unhook(FWindowHook);
  FWindowHook = nullptr;
}

void TdxBarWinControl::ActivateAtMouse(bool Flag) {
  if (!Flag || !BarControl() || !BarControl()->WindowHandle() || !InnerWindow()) return;
  POINT p{};
  GetCursorPos(&p);
  ScreenToClient(BarControl()->WindowHandle(), &p);
  if (FInnerRect.Contains(TPoint(p.x, p.y))) return;
  TPoint inner = MapToInnerWindow(TPoint(p.x, p.y));
  WPARAM keys = 0;
  if (GetKeyState(VK_SHIFT) < 0) keys |= MK_SHIFT;
  if (GetKeyState(VK_CONTROL) < 0) keys |= MK_CONTROL;
  SendMessage(InnerWindow(), WM_LBUTTONDOWN, keys, MAKELPARAM(inner.X, inner.Y));
}

void TdxBarWinControl::InnerWindowText(std::string& Text) const {
  Text.clear();
  HWND w = InnerWindow();
  if (!w) return;
  // The whole text, however long: a fixed buffer would cut what the user typed.
  Text = GetWindowText(w);
}

std::string TdxBarWinControl::WindowText() const {
  std::string text;
  InnerWindowText(text);
  return text;
}

bool TdxBarWinControl::IsMenuKey(WORD& Key, TShiftState Shift) const { return Key == VK_F10 || Key == VK_MENU; }

bool TdxBarWinControl::IsAltKey(WORD& Key, TShiftState Shift) const { return Key == VK_MENU; }

void TdxBarWinControl::LoadTextFromItem() {
  if (TdxBarWindowItem* item = WindowItem()) SetInnerText(item->Text());
}

void TdxBarWinControl::SetActive(bool Value) {
  if (FEditing == Value) return;
  FEditing = Value;
  TdxBarManager* m = LinkBarManager();
  if (Value) {
    if (!Active()) EnterActiveState(true, true);
    if (BarControl()) BarControl()->ItemControlSelected(this);
    StoreBarFocusState();
    return;
  }
  bool saveText = false;
  if (m && m->AlwaysSaveText)
    saveText = !(GetKeyState(VK_ESCAPE) < 0 && GetKeyState(VK_CONTROL) >= 0 && GetKeyState(VK_MENU) >= 0);
  TWeakLink<TdxBarItemControl> self(this);
  HideInnerWindow(saveText);
  if (!self || !m || m->IsDestroying()) return;
  if (TWinControl* owner = m->ParentControl(); owner && owner->HandleAllocated() && owner->Showing())
    owner->SetFocus();
}

void TdxBarWinControl::SetInnerText(const std::string& Text) {
  HWND w = InnerWindow();
  if (!w) return;
  bool loading = LoadingText;
  LoadingText = true;
  ::SetWindowText(w, Text.c_str());
  LoadingText = loading;
}

void TdxBarWinControl::StoreBarFocusState() {
  BufferedPaint = BarControl() && BarControl()->WantsEditSelectAll();
}

void TdxBarWinControl::SaveTextToItem() {
  std::string text;
  InnerWindowText(text);
  if (TdxBarWindowItem* item = WindowItem()) item->SetText(text);
}

void TdxBarWinControl::PreviewKeyDown(WORD& Key, TShiftState Shift) {
  ++MenuKeyCount;
  if (Key == VK_MENU) {
    Key = 0;
  } else if (Key == VK_F10) {
    MenuKeyCount = 0;
    if (BarControl()) BarControl()->CloseUp(1);
    if (!Shift.Contains(ssShift)) Key = 0;
  }
}

void TdxBarWinControl::PreviewKeyUp(WORD& Key, TShiftState Shift) {
  if (MenuKeyCount > 0) {
    MenuKeyCount = 0;
    if (Key != VK_MENU) return;
    if (BarControl()) BarControl()->CloseUp(1);
  }
  Key = 0;
}

void TdxBarWinControl::DiscardPendingChars() {
  MSG msg;
  if (HWND w = InnerWindow())
    while (PeekMessage(&msg, w, WM_CHAR, WM_CHAR, PM_REMOVE)) {
    }
}

void TdxBarWinControl::KeyDown(WORD& Key, TShiftState Shift) {
  if (IsMenuKey(Key, Shift)) {
    PreviewKeyDown(Key, Shift);
    return;
  }
  TWeakLink<TdxBarItemControl> self(this);
  if (TdxBarWindowItem* item = WindowItem()) item->DoKeyDown(Key, Shift);
  if (!self || !InnerWindow()) {
    Key = 0;
    return;
  }
  TCustomdxBarControl* bar = BarControl();
  switch (Key) {
    case VK_TAB:
      SaveTextToItem();
      if (self && IsWindowVisible(InnerWindow())) DiscardPendingChars();
      Key = 0;
      break;
    case VK_RETURN: {
      TdxBarItemLink* link = Link() && Link()->OriginLink() ? Link()->OriginLink() : Link();
      if (link) link->PromoteInRecentList(true);
      SaveTextToItem();
      if (self && InnerWindow() && IsWindowVisible(InnerWindow()) && bar) {
        bar->SetSelectedControl(nullptr);
        DiscardPendingChars();
        bar->CloseUp(2);
      }
      Key = 0;
      break;
    }
    case VK_ESCAPE:
      if (bar) {
        bar->SetSelectedControl(nullptr);
        DiscardPendingChars();
        bar->SelectOrClose(this);
      }
      Key = 0;
      break;
    default:
      break;
  }
}

void TdxBarWinControl::KeyUp(WORD& Key, TShiftState Shift) {
  if (IsAltKey(Key, Shift)) {
    PreviewKeyUp(Key, Shift);
    return;
  }
  if (Shift.Contains(ssAlt)) MenuKeyCount = 0;
  if (TdxBarWindowItem* item = WindowItem()) item->DoKeyUp(Key, Shift);
}

void TdxBarWinControl::KeyPress(char32_t& Key) {
  if (TdxBarWindowItem* item = WindowItem()) item->DoKeyPress(Key);
}

void TdxBarWinControl::SafeInnerWindowProc(TMessage& Message) {
  try {
    InnerWindowProc(Message);
  } catch (...) {
    if (Application) Application->HandleException(this);
  }
}

void TdxBarWinControl::InnerWindowProc(TMessage& Message) {
  if (FWindowHook) CallPreviousWindowProc(FWindowHook, Message);
}

bool TdxBarWinControl::ClickFiresItem() const { return BarControl() && BarControl()->IsRotated(); }

bool TdxBarWinControl::CanCloseFor(TdxBarManager* Manager) {
  return TdxBarItemControl::CanCloseFor(Manager) && Manager == LinkBarManager();
}

bool TdxBarWinControl::IsKeyNavigable() const {
  TdxBarItem* item = LinkItem();
  return TdxBarItemControl::IsKeyNavigable() && item && item->CanClick();
}

void TdxBarWinControl::LeaveActiveState(bool Flag) {
  TdxBarItemControl::LeaveActiveState(Flag);
  SetActive(false);
}

void TdxBarWinControl::DoClick(bool ByMouse, bool Flag) {
  SetActive(true);
  TdxBarItemControl::DoClick(ByMouse, Flag);
  ActivateAtMouse(ByMouse);
}

void TdxBarWinControl::SelectByMouse(bool AlreadySelected, bool& Handled) {
  if (AlreadySelected && FEditing) Handled = true;
  TdxBarItemControl::SelectByMouse(AlreadySelected, Handled);
}

void TdxBarWinControl::EnabledChanged() {
  SetActive(false);
  TdxBarItemControl::EnabledChanged();
}

TcxAccessibilityHelperClass TdxBarWinControl::AccessibilityHelperClass() const {
  return &CreateForOwner<TdxBarWinControlAccessibilityHelper>;
}

bool TdxBarWinControl::OwnsWindow(HWND Wnd) const {
  HWND inner = InnerWindow();
  return TdxBarItemControl::OwnsWindow(Wnd) || (inner && Wnd && (Wnd == inner || IsChild(inner, Wnd)));
}

TPoint TdxBarWinControl::MapToBarWindow(const TPoint& P) const {
  POINT p{P.X, P.Y};
  if (InnerWindow() && BarControl() && BarControl()->WindowHandle())
    MapWindowPoints(InnerWindow(), BarControl()->WindowHandle(), &p, 1);
  return TPoint(p.x, p.y);
}

TPoint TdxBarWinControl::MapToInnerWindow(const TPoint& P) const {
  POINT p{P.X, P.Y};
  if (InnerWindow() && BarControl() && BarControl()->WindowHandle())
    MapWindowPoints(BarControl()->WindowHandle(), InnerWindow(), &p, 1);
  return TPoint(p.x, p.y);
}

TRect TdxBarWinControl::GetInnerRect() const { return IsEnabled() ? FInnerRect : TRect(); }

void TdxBarWinControl::SetInnerRect(const TRect& R) {
  FInnerRect = R;
  HWND w = InnerWindow();
  if (!w || !IsWindowVisible(w)) return;
  TRect target = GetInnerRect();
  SetWindowPos(w, nullptr, target.Left, target.Top, target.Width(), target.Height(),
               SWP_NOACTIVATE | SWP_NOZORDER);
  InnerWindowNotify();
}
