// The item-control base: creation and destruction, hot parts, clicks, hints, draw parameters,
// painting, view levels and their view infos.

#include <algorithm>

#include "platform/gui/ActnList.h"
#include "platform/gui/Menus.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarAccessibility.h"
#include "suite/bars/dxBarItemControls.h"
#include "suite/bars/dxBarItemControlsImpl.h"
#include "suite/core/cxClasses.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxCore.h"

// ---- draw parameters

void TdxBarItemControlDrawParams::SetGlyphSizeKind(int Value) {
  if (FGlyphSizeKind == Value) return;
  FGlyphSizeKind = Value;
  if (FControl) FControl->ResetGlyphCache(false);
}

// ---- creation and destruction

TdxBarItemControl::TdxBarItemControl(TdxBarItemLink* ALink)
    : FLink(ALink), FBarControl(ALink ? ALink->BarControl() : nullptr) {}

void TdxBarItemControl::Initialize() {
  FDrawParams.reset(DrawParamsClass()(this));
  FCachedImageOptions = std::make_unique<TdxCachedImageOptions>();
  FViewInfo.reset(ViewInfoClass()(this));
  RecalcTextMetrics();
  FHotPart = -1;
  CalcDrawParams(true);
  FViewInfo->ViewLevel = FBarControl ? TdxBarItemViewLevel(FBarControl->ReservedMetric(this)) : ivlDefault;
}

TdxBarItemControl::~TdxBarItemControl() {
  FDestroying = true;
  DetachAccessibilityHelper(FAccessibilityHelper);
  if (FLink && FLink->FControl == this) FLink->FControl = nullptr;
  TdxBarManager* manager = LinkBarManager();
  if (FBarControl && FBarControl->SelectedControl() == this && !(manager && manager->IsDestroying()) &&
      !(manager && manager->IsCustomizingOrDesigning()))
    FBarControl->SetSelectedControl(nullptr);
  if (FBackgroundBrush) DeleteObject(FBackgroundBrush);
  FBackgroundBrush = nullptr;
  ClearLinksToObject(this);
  FViewInfo.reset();
  FCachedImageOptions.reset();
  FDrawParams.reset();
  FBarControl = nullptr;
}

// ---- plain queries

TdxBarItem* TdxBarItemControl::LinkItem() const { return FLink ? FLink->Item() : nullptr; }

TdxBarManager* TdxBarItemControl::LinkBarManager() const { return FLink ? FLink->Manager() : nullptr; }

TdxBarManager* TdxBarItemControl::ItemBarManager() const {
  return LinkItem() ? LinkItem()->BarManager() : nullptr;
}

TRect TdxBarItemControl::ItemBoundsOf() const { return FLink ? FLink->ItemRect() : TRect(); }

TcxCanvas* TdxBarItemControl::DrawingCanvas() const {
  if (FDrawCanvas) return FDrawCanvas;
  return FBarControl ? FBarControl->CurrentCanvas() : nullptr;
}

TCustomdxBarControl* TdxBarItemControl::ParentSubMenu() const {
  if (!FBarControl || FBarControl->BarControlKind() != 2) throw EInvalidCast("Invalid class typecast");
  return FBarControl;
}

TdxBarItemAlign TdxBarItemControl::EffectiveAlign() const {
  TdxBarItemAlign a = LinkItem() ? LinkItem()->Align() : iaLeft;
  return a != iaLeft && !(FBarControl && FBarControl->AcceptsAlignedItems()) ? iaLeft : a;
}

bool TdxBarItemControl::IsSelected() const { return FBarControl && FBarControl->SelectedControl() == this; }

bool TdxBarItemControl::IsDrawnSelected() const {
  return IsSelected() && (IsEnabled() || !SelectedByMouse);
}

bool TdxBarItemControl::IsLockedInCustomizing() const {
  if (!FBarControl || !FBarControl->IsCustomizing()) return false;
  TdxBarManager* m = LinkBarManager();
  return m != ItemBarManager() && !(m && m->ComponentState().Contains(csAncestor));
}

bool TdxBarItemControl::IsPressedByMouse() const {
  if (!IsEnabled() || !FBarControl) return false;
  POINT p{};
  if (!GetCursorPos(&p)) return false;
  if (HWND w = FBarControl->WindowHandle()) ScreenToClient(w, &p);
  if (!ItemBoundsOf().Contains(TPoint(p.x, p.y))) return false;
  int button = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
  return GetKeyState(button) < 0;
}

bool TdxBarItemControl::BarStaysAfterClick() const { return !(FBarControl && FBarControl->ClosesAfterClick()); }

HBRUSH TdxBarItemControl::BackgroundBrushOrBar() const {
  if (FBackgroundBrush) return FBackgroundBrush;
  return FBarControl ? FBarControl->BackgroundBrush() : nullptr;
}

bool TdxBarItemControl::ShowsShortCut() const {
  return FLink && FLink->OwningLinks() && FLink->OwningLinks()->ShowShortCutsInEffect();
}

bool TdxBarItemControl::ShowsDescription() const {
  TdxBarItemLinks* links = FLink ? FLink->OwningLinks() : nullptr;
  return links && links->ItemSizeInEffect() == misLarge && links->ShowDescriptionsInEffect();
}

void TdxBarItemControl::BeginBackgroundFill() {
  if (FBarControl && FBarControl->BarControlKind() == 2) FBarControl->SetLessUsedFill(LessUsed);
}

void TdxBarItemControl::EndBackgroundFill() {
  if (FBarControl && FBarControl->BarControlKind() == 2) FBarControl->SetLessUsedFill(false);
}

TcxAccessibilityHelper* TdxBarItemControl::AcquireAccessibilityHelper() {
  if (!FAccessibilityHelper && !FDestroying)
    if (TcxAccessibilityHelperClass helperClass = AccessibilityHelperClass()) FAccessibilityHelper = helperClass(this);
  return FAccessibilityHelper;
}

// ---- fading and hints

bool TdxBarItemControl::CanFade() { return false; }

void TdxBarItemControl::FadingInvalidate() { Repaint(); }

void TdxBarItemControl::GetFadingImages(TcxBitmap32*& Normal, TcxBitmap32*& Hot) {}

bool TdxBarItemControl::GetHintTexts(bool& Refused, std::string& Hint, std::string& ShortCut) {
  Hint.clear();
  ShortCut.clear();
  Refused = false;
  if (!FBarControl || !FBarControl->ShowsItemHints() || FBarControl->ItemControlUnderCursor() != this)
    return false;
  HintAndShortCutText(Hint, ShortCut);
  if (auto* action = dynamic_cast<TCustomAction*>(LinkItem() ? LinkItem()->Action() : nullptr)) {
    TWeakLink<TdxBarItemControl> self(this);
    bool accepted = action->DoHint(Hint);
    if (!self) return false;
    if (!accepted) {
      Refused = true;
      return false;
    }
  }
  return true;
}

TdxCustomHintViewInfo* TdxBarItemControl::CreateHintViewInfo(const std::string& Hint, const std::string& ShortCut) {
  return FBarControl ? FBarControl->NewHintViewInfo(Hint, ShortCut, nullptr) : nullptr;
}

bool TdxBarItemControl::IsEnabled() const {
  TdxBarItem* item = LinkItem();
  return item && item->Enabled() && FBarControl;
}

TPoint TdxBarItemControl::CalcHintPosition(const TPoint& Cursor, int Height) {
  if (!FBarControl) return Cursor;
  return FBarControl->CalcHintPosition(Cursor, Height, FViewInfo ? FViewInfo->Bounds : ItemBoundsOf());
}

bool TdxBarItemControl::PainterHintFlag() const {
  TdxBarPainter* p = Painter();
  return !p || dxBarControlsImpl::PainterBarWindowFlagA(p);
}

TdxFader* TdxBarItemControl::Fader() const { return FBarControl ? FBarControl->Fader() : nullptr; }

std::string TdxBarItemControl::ItemHint() const { return LinkItem() ? LinkItem()->Hint() : std::string(); }

void TdxBarItemControl::HintAndShortCutText(std::string& Hint, std::string& ShortCut) const {
  Hint = ItemHint();
  if (size_t bar = Hint.find('|'); bar != std::string::npos) Hint.resize(bar);
  TShortCut sc = ShortCutOf();
  ShortCut = sc ? " (" + ShortCutToText(sc) + ")" : std::string();
}

bool TdxBarItemControl::HasToolbarHint() const {
  return !ItemHint().empty() && FBarControl && FBarControl->BarControlKind() == 0;
}

// ---- notifications

void TdxBarItemControl::RecalcBar() {
  if (FBarControl) FBarControl->RecalculateBar();
}

void TdxBarItemControl::CaptionChanged() {
  if (EffectiveAlign() == iaClient && FBarControl && (FBarControl->NavigationFlags() & 16))
    Repaint();
  else
    RecalcBar();
}

void TdxBarItemControl::EnabledChanged() {
  if (FBarControl && !IsEnabled() && FBarControl->SelectedControl() == this)
    FBarControl->SetSelectedControl(nullptr);
  Repaint();
}

void TdxBarItemControl::RecalcBarIfNeeded() {
  bool glyphShown = (ShownParts() & dxBarGlyphPart) != 0;
  bool glyphDrawn = FDrawParams && (FDrawParams->ShownParts & dxBarGlyphPart) != 0;
  if (FViewInfo && (AllowedViewLevels() != FViewInfo->AllowedLevels || glyphShown != glyphDrawn))
    RecalcBar();
  else
    Repaint();
}

void TdxBarItemControl::LargeImageChanged() {
  if (!FDrawParams || FDrawParams->GlyphSizeKind() == 0) return;
  if (PaintKind() == 1)
    Repaint();
  else
    RecalcBar();
}

void TdxBarItemControl::RefreshState() {
  BoundsChanged();
  Repaint();
}

void TdxBarItemControl::RepaintIfIdle() {
  if (!FRepaintSuspended) Repaint();
}

void TdxBarItemControl::RecalcBarOnChange() { RecalcBar(); }

void TdxBarItemControl::WidthChanged() {
  if (FBarControl && FBarControl->BarControlKind() == 0) RecalcBar();
}

void TdxBarItemControl::Repaint() {
  if (FBarControl) FBarControl->InvalidateItemControl(this);
}

void TdxBarItemControl::BoundsChanged() {
  CalcDrawParams(false);
  CalcPartRects();
}

void TdxBarItemControl::SetRepaintSuspended(bool Value) {
  if (FRepaintSuspended == Value) return;
  FRepaintSuspended = Value;
  if (!Value) RepaintIfIdle();
}

// ---- behaviour

bool TdxBarItemControl::BelongsToManager() const {
  TdxBarManager* m = LinkBarManager();
  return m == ItemBarManager() || (m && m->ComponentState().Contains(csAncestor));
}

bool TdxBarItemControl::IsKeyNavigable() const { return !IsLockedInCustomizing(); }

void TdxBarItemControl::HitTest(const TPoint& P) {
  int part = -1;
  if (IsEnabled() && ItemBoundsOf().Contains(P)) {
    part = dxBarNoPartHot;
    for (size_t i = 0; i < FPartRects.size(); ++i)
      if (FPartRects[i].Contains(P)) {
        part = int(i);
        break;
      }
  }
  SetHotPart(part);
}

void TdxBarItemControl::SetHotPart(int Index) {
  if (!IsEnabled()) Index = -1;
  if (FHotPart == Index) return;
  int previous = FHotPart;
  FHotPart = Index;
  if (CanFade())
    if (TdxFader* fader = Fader()) {
      if (previous == -1) dxBarControlsImpl::FadeIn(fader, this);
      else if (Index == -1) dxBarControlsImpl::FadeOut(fader, this);
    }
  Repaint();
}

void TdxBarItemControl::ClickAt(bool ByMouse, bool Flag) {
  if (!IsEnabled()) return;
  TWeakLink<TCustomdxBarControl> bar(FBarControl);
  TWeakLink<TdxBarItemControl> self(this);
  DoClick(ByMouse, Flag);
  if (self && bar && bar->HasItemControl(this)) Click(ByMouse);
}

void TdxBarItemControl::EnterActiveState(bool Flag, bool ByMouse) { FActive = true; }

void TdxBarItemControl::LeaveActiveState(bool Flag) { FActive = false; }

void TdxBarItemControl::Click(bool ByMouse) {
  if (dynamic_cast<TdxBarButtonControl*>(this) && FBarControl && FBarControl->BarControlKind() == 2)
    dxBarControlsImpl::PlayMenuSound(1);
  TdxBarItemLink* clickLink = FLink ? (FLink->OriginLink() ? FLink->OriginLink() : FLink) : nullptr;
  TdxBarItem* item = LinkItem();
  bool fires = ClickFiresItem();
  bool closes = ClosesMenusOnClick();
  if (closes && clickLink) {
    clickLink->PromoteInRecentList(true);
    if (FLink != clickLink) FLink->PromoteInRecentList(true);
  }
  TWeakLink<TdxBarItemControl> self(this);
  auto* button = dynamic_cast<TdxBarButton*>(item);
  bool unclicks = button ? button->UnclickAfterDoing() : true;
  bool armed = unclicks && (!closes || BarStaysAfterClick());
  if (armed) FRepaintSuspended = true;
  if (closes && FBarControl) FBarControl->CloseUp(2);
  if (fires && item) {
    TWeakLink<TdxBarItem> itemRef(item);
    item->SetClickedLink(clickLink);
    item->Click();
    if (itemRef) item->SetClickedLink(nullptr);
  }
  if (armed && self) SetRepaintSuspended(false);
}

void TdxBarItemControl::SelectByMouse(bool AlreadySelected, bool& Handled) {
  if (!FBarControl) return;
  FBarControl->SetDowned(false);
  FBarControl->KeySelectItemControl(this);
}

TcxAccessibilityHelperClass TdxBarItemControl::AccessibilityHelperClass() const {
  return &CreateForOwner<TdxBarItemControlAccessibilityHelper>;
}

bool TdxBarItemControl::WantsDoubleClick() const {
  TdxBarManager* m = LinkBarManager();
  return (m && m->IsDesigning()) || HasDropDown();
}

bool TdxBarItemControl::OwnsWindow(HWND Wnd) const {
  HWND bar = FBarControl ? FBarControl->WindowHandle() : nullptr;
  return bar && Wnd && (Wnd == bar || IsChild(bar, Wnd));
}

bool TdxBarItemControl::IsRotated() const { return FBarControl && FBarControl->IsRotated(); }

bool TdxBarItemControl::JoinsSubMenuToOwner() const {
  if (!FBarControl || FBarControl->BarControlKind() == 2) return false;
  TdxBarPainter* p = Painter();
  return p && dxBarControlsImpl::PainterBarBackgroundFlag(p);
}

// ---- view levels

TdxBarItemViewLevels TdxBarItemControl::GetPossibleViewLevels() const {
  TdxBarItemViewLevels levels{ivlSmallIconWithText};
  if (HasGlyphFor(0)) levels.Include(ivlSmallIcon);
  return levels;
}

TdxBarItemViewLevels TdxBarItemControl::CheckedPossibleViewLevels() const {
  TdxBarItemViewLevels levels = GetPossibleViewLevels();
  if (levels.Empty()) throw EdxException(ClassName() + ".GetPossibleViewLevels = []");
  return levels;
}

TdxBarItemViewLevels TdxBarItemControl::AllowedViewLevels() const {
  TdxBarItemViewLevels possible = CheckedPossibleViewLevels();
  TdxBarItemViewLevels both = FLink ? possible * FLink->ViewLevels() : possible;
  return both.Empty() ? possible : both;
}

int TdxBarItemControl::ShownParts() const {
  switch (FViewInfo ? FViewInfo->ViewLevel : ivlDefault) {
    case ivlSmallIcon:
      return HasGlyphFor(ViewSizeForLevel()) ? dxBarGlyphPart : 0;
    case ivlControlOnly:
      return 0;
    case ivlDefault:
      return DefaultShownParts();
    default:
      return dxBarCaptionPart | (HasGlyphFor(ViewSizeForLevel()) ? dxBarGlyphPart : 0);
  }
}

int TdxBarItemControl::PaintKind() const { return FBarControl ? FBarControl->ItemOrientation() : 0; }

TdxBarItemControl::TViewInfoFactory TdxBarItemControl::ViewInfoClass() const {
  return [](TdxBarItemControl* c) { return new TdxBarItemControlViewInfo(c); };
}

TdxBarItemControl::TDrawParamsFactory TdxBarItemControl::DrawParamsClass() const {
  return [](TdxBarItemControl* c) { return new TdxBarItemControlDrawParams(c); };
}

void TdxBarItemControl::CaptionText(std::string& Text) const {
  Text = FLink ? FLink->EffectiveCaption() : std::string();
}

int TdxBarItemControl::WidthAtViewLevel(TdxBarItemViewLevel Level) {
  TdxBarItemViewLevel previous = FViewInfo->ViewLevel;
  FViewInfo->ViewLevel = Level;
  try {
    int w = LayoutWidth();
    FViewInfo->ViewLevel = previous;
    return w;
  } catch (...) {
    FViewInfo->ViewLevel = previous;
    throw;
  }
}

// ---- draw parameters and painting

TdxBarMenuItemSize TdxBarItemControl::MenuItemSize() const {
  return FLink && FLink->OwningLinks() ? FLink->OwningLinks()->ItemSizeInEffect() : misNormal;
}

TdxBarPainter* TdxBarItemControl::Painter() const { return FBarControl ? FBarControl->Painter() : nullptr; }

TShortCut TdxBarItemControl::ShortCutOf() const { return LinkItem() ? LinkItem()->ShortCut() : 0; }

int TdxBarItemControl::TextSize() const {
  TdxBarPainter* p = Painter();
  return p ? dxBarControlsImpl::PainterItemTextSize(p, const_cast<TdxBarItemControl*>(this)) : 0;
}

void TdxBarItemControl::CalcDrawParams(bool WithTexts) {
  TdxBarItemControlDrawParams* dp = FDrawParams.get();
  if (!dp) return;
  if (WithTexts) {
    CaptionText(dp->CaptionText);
    dp->DescriptionText = LinkItem() ? LinkItem()->Description() : std::string();
    dp->ShortCutText.clear();
    dp->PaintKind = PaintKind();
    dp->DrawEnabled = IsEnabled();
    dp->KeyNavigable = IsKeyNavigable();
    dp->Highlighted = IsActiveNow();
    dp->HasDropDownPart = HasArrowPart();
    dp->HotPart = FHotPart;
    dp->Customizing = FBarControl && FBarControl->IsCustomizing();
    dp->KeyboardSelected = dp->Highlighted && !SelectedByMouse;
  }
  dp->DrawCanvas = DrawingCanvas();
  dp->SetGlyphSizeKind(ViewSizeForLevel());
  dp->ShownParts = ShownParts();
  TdxBarManager* m = LinkBarManager();
  int glyph = m ? m->ImageOptions()->GlyphSize() : 16;
  TdxBarPainter* p = Painter();
  dp->GlyphExtent = p ? dxBarControlsImpl::PainterGlyphAreaSize(p, glyph, glyph) : TSize{glyph + 7, glyph + 6};
}

void TdxBarItemControl::CalcPartRects() {
  FPartRects.assign(size_t(std::max(PartCount(), 0)), ItemBoundsOf());
}

void TdxBarItemControl::Paint(TcxCanvas* ACanvas, const TRect& R, int APaintKind) {
  if (R.IsEmpty() || !ACanvas) return;
  ACanvas->PushDrawingState();
  TdxBarItemFontState font;
  bool fontSelected = false;
  try {
    TcxCanvas* usual = DrawingCanvas();
    if (usual && usual != ACanvas) ACanvas->AssignFont(usual->CurrentFont());
    FDrawCanvas = ACanvas;
    SelectItemFont(nullptr, 0, font);
    fontSelected = true;
    CalcDrawParams(true);
    Draw(R, APaintKind);
    fontSelected = false;
    RestoreItemFont(font);
    FDrawCanvas = nullptr;
    CalcDrawParams(false);
  } catch (...) {
    if (fontSelected) RestoreItemFont(font);
    FDrawCanvas = nullptr;
    CalcDrawParams(false);
    ACanvas->PopDrawingState();
    throw;
  }
  ACanvas->PopDrawingState();
}

// ---- view info

TdxBarItemControlViewInfo::TdxBarItemControlViewInfo(TdxBarItemControl* AControl)
    : TcxInterfacedPersistent(nullptr), FControl(AControl) {
  AllowedLevels = AControl->AllowedViewLevels();
  TdxBarItemViewLevels possible = AControl->CheckedPossibleViewLevels();
  for (int l = ivlControlOnly; l >= ivlLargeIconWithText; --l)
    if (possible.Contains(TdxBarItemViewLevel(l))) {
      MostCompactPossibleLevel = TdxBarItemViewLevel(l);
      break;
    }
  GroupViewLevel = ivlLargeIconWithText;
  for (int l = ivlControlOnly; l >= ivlLargeIconWithText; --l)
    if (AllowedLevels.Contains(TdxBarItemViewLevel(l))) {
      GroupViewLevel = TdxBarItemViewLevel(l);
      break;
    }
  if (GroupViewLevel == ivlLargeIconWithText) GroupViewLevel = MostCompactPossibleLevel;
  ResetLevelWidths();
}

TdxBarItemControlViewInfo::~TdxBarItemControlViewInfo() {
  TCustomdxBarControl* bar = FControl ? FControl->BarControl() : nullptr;
  if (bar && !bar->IsDestroying())
    if (TCustomdxBarControlViewInfo* vi = bar->ViewInfo()) vi->RemoveControlViewInfo(this);
}

void TdxBarItemControlViewInfo::ResetLevelWidths() {
  for (TLevelWidth& w : LevelWidths) w.Computed = false;
}

TdxBarItemAlign TdxBarItemControlViewInfo::Align() const {
  TdxBarItem* item = FControl->LinkItem();
  return item ? item->Align() : iaLeft;
}

bool TdxBarItemControlViewInfo::IsDistributed() const {
  return FControl->Link() && FControl->Link()->Distributed();
}

TdxBarItemPosition TdxBarItemControlViewInfo::Position() const {
  return FControl->Link() ? FControl->Link()->Position() : ipBeginsNewRow;
}

TdxBarButtonGroupPosition TdxBarItemControlViewInfo::ButtonGroup() const {
  return FControl->SupportsButtonGroup() && FControl->Link() ? FControl->Link()->ButtonGroup() : bgpNone;
}

int TdxBarItemControlViewInfo::WidthAtLevel(TdxBarItemViewLevel Level) {
  if (Level > ivlControlOnly || !AllowedLevels.Contains(Level))
    throw EdxException("Testing! The level is not allowed");
  TLevelWidth& entry = LevelWidths[Level];
  if (!entry.Computed) {
    entry.Width = FControl->WidthAtViewLevel(Level);
    entry.Computed = true;
  }
  return entry.Width;
}

bool TdxBarItemControlViewInfo::BeginsGroup() const {
  return FControl->Link() && FControl->Link()->BeginGroup();
}

bool TdxBarItemControlViewInfo::IsListed() const {
  TdxBarItemLink* l = FControl->Link();
  if (!l || !l->OwningLinks()) return false;
  const auto& shown = l->OwningLinks()->PresentLinks();
  return std::find(shown.begin(), shown.end(), l) != shown.end() && !l->Distributed();
}

void TdxBarItemControlViewInfo::SetDistributed(bool Value) {
  if (FControl->Link()) FControl->Link()->SetDistributed(Value);
}

void TCustomdxBarControlViewInfo::Reset() {
  FControlViewInfos.clear();
  FSeparators.clear();
}

void TCustomdxBarControlViewInfo::AddControlViewInfo(TdxBarItemControlViewInfo* Value) {
  FControlViewInfos.push_back(Value);
}

void TCustomdxBarControlViewInfo::RemoveControlViewInfo(TdxBarItemControlViewInfo* Value) {
  FControlViewInfos.erase(std::remove(FControlViewInfos.begin(), FControlViewInfos.end(), Value),
                          FControlViewInfos.end());
}

int TCustomdxBarControlViewInfo::IndexOfControl(TdxBarItemControl* Control) const {
  for (size_t i = 0; i < FControlViewInfos.size(); ++i)
    if (FControlViewInfos[i]->Control() == Control) return int(i);
  return -1;
}

void TCustomdxBarControlViewInfo::AddSeparator(const TRect& R, uint8_t Kind, TdxBarItemControl* AssociatedControl) {
  FSeparators.push_back({AssociatedControl, R, Kind});
}

void TCustomdxBarControlViewInfo::GetSeparator(int Index, TRect& R, uint8_t& Kind) const {
  const TSeparator& s = FSeparators.at(size_t(Index));
  R = s.Bounds;
  Kind = s.Kind;
}

bool TCustomdxBarControlViewInfo::FindSeparatorOf(TdxBarItemControl* Control, int& Index) const {
  for (size_t i = 0; i < FSeparators.size(); ++i)
    if (FSeparators[i].Control == Control) {
      Index = int(i);
      return true;
    }
  Index = -1;
  return false;
}
