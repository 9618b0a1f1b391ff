// The status bar's panel styles: text, state indicators, keyboard states and container.
#include <algorithm>

#include "platform/gui/Forms.h"
#include "suite/extras/dxStatusBar.h"

static void InitStatusBarBitmaps() { Q_INIT_RESOURCE(sonalix_extras_images); }

namespace {
bool IsLoadingOrUpdating(TComponent* C) {
  const TComponentState s = C->ComponentState();
  return s.Contains(csLoading) || s.Contains(csReading) || s.Contains(csUpdating);
}

int MarginsHorzTotal(const TRect& M) { return M.Left + M.Right; }
}  // namespace

// ---- base

TdxStatusBarPanelStyle::TdxStatusBarPanelStyle(TdxStatusBarPanel* APanel)
    : FOwner(APanel), FFont(std::make_unique<TFont>()) {
  ParentFontChanged();
  FFont->OnChange = [this](TObject* Sender) { FontChanged(Sender); };
}

TdxStatusBarPanelStyle::~TdxStatusBarPanelStyle() { FFont->OnChange = nullptr; }

TdxCustomStatusBar* TdxStatusBarPanelStyle::StatusBar() const { return FOwner ? FOwner->StatusBar() : nullptr; }

TdxStatusBarPainterClass TdxStatusBarPanelStyle::Painter() const {
  TdxCustomStatusBar* bar = StatusBar();
  return bar ? bar->Painter() : dxStatusBarStandardPainter();
}

void TdxStatusBarPanelStyle::FontChanged(TObject*) {
  if (FSettingParentFont) return;
  FParentFont = false;
  NotifyPanel();
}

void TdxStatusBarPanelStyle::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxStatusBarPanelStyle*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  TCollection* panels = FOwner ? FOwner->Collection() : nullptr;
  if (panels) panels->BeginUpdate();
  try {
    AssignStyle(src);
  } catch (...) {
    if (panels) panels->EndUpdate();
    throw;
  }
  if (panels) panels->EndUpdate();
}

void TdxStatusBarPanelStyle::AssignStyle(TdxStatusBarPanelStyle* Source) {
  RestoreDefaults();
  SetAlignment(Source->Alignment());
  if (Source->ColorAssigned()) SetColor(Source->Color());
  if (!Source->ParentFont()) FFont->Assign(Source->Font());
  else ParentFontChanged();
}

void TdxStatusBarPanelStyle::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  NotifyPanel();
}

void TdxStatusBarPanelStyle::SetColor(TColor Value) {
  if (FColorAssigned && FColor == Value) return;
  FColor = Value;
  FColorAssigned = true;
  NotifyPanel();
}

void TdxStatusBarPanelStyle::SetParentFont(bool Value) {
  if (FParentFont == Value) return;
  FParentFont = Value;
  ParentFontChanged();
  NotifyPanel();
}

void TdxStatusBarPanelStyle::ParentFontChanged() {
  TdxCustomStatusBar* bar = StatusBar();
  if (!FParentFont || !bar) return;
  FSettingParentFont = true;
  FFont->Assign(bar->Font());
  FSettingParentFont = false;
}

void TdxStatusBarPanelStyle::AdjustTextColor(TColor& AColor, bool Active) {
  if (AColor != clDefault) return;
  if (TdxCustomStatusBar* bar = StatusBar()) bar->AdjustPanelTextColor(AColor, Active);
}

void TdxStatusBarPanelStyle::NotifyPanel() {
  if (FOwner) FOwner->PanelChanged();
}

void TdxStatusBarPanelStyle::AdjustForSizeGrip(TRect& R) {
  TdxCustomStatusBar* bar = StatusBar();
  if (!bar || !bar->ShowsSizeGrip()) return;
  TdxStatusBarViewInfo* info = bar->ViewInfo();
  if (info->PanelCount() > 0 && info->Panels(info->PanelCount() - 1)->Panel == FOwner)
    R.Right -= bar->Painter()->SizeGripSize().cx;
}

TColor TdxStatusBarPanelStyle::DefaultColor() const {
  TdxCustomStatusBar* bar = StatusBar();
  return bar ? bar->Color() : clBtnFace;
}

void TdxStatusBarPanelStyle::DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) {
  APainter->FillPanelBackground(StatusBar(), FOwner, R, ACanvas);
}

void TdxStatusBarPanelStyle::RestoreDefaults() {
  FAlignment = taLeftJustify;
  FColorAssigned = false;
  FParentFont = true;
  ParentFontChanged();
  NotifyPanel();
}

// ---- text

TdxStatusBarTextPanelStyle::TdxStatusBarTextPanelStyle(TdxStatusBarPanel* APanel) : TdxStatusBarPanelStyle(APanel) {}

void TdxStatusBarTextPanelStyle::SetAutoHint(bool Value) {
  if (FAutoHint == Value) return;
  // At most one text panel of a bar takes the hints.
  if (TdxCustomStatusBar* bar = StatusBar())
    for (int i = 0; i < bar->Panels()->Count(); ++i)
      if (auto* text = dynamic_cast<TdxStatusBarTextPanelStyle*>(bar->Panels()->Items(i)->PanelStyle()))
        text->FAutoHint = false;
  FAutoHint = Value;
}

void TdxStatusBarTextPanelStyle::SetEllipsisType(TdxStatusBarEllipsisType Value) {
  if (FEllipsisType == Value) return;
  FEllipsisType = Value;
  NotifyPanel();
}

void TdxStatusBarTextPanelStyle::SetImageIndex(int Value) {
  if (FImageIndex == Value) return;
  FImageIndex = Value;
  NotifyPanel();
}

void TdxStatusBarTextPanelStyle::AssignStyle(TdxStatusBarPanelStyle* Source) {
  TdxStatusBarPanelStyle::AssignStyle(Source);
  if (auto* src = dynamic_cast<TdxStatusBarTextPanelStyle*>(Source)) {
    SetAutoHint(src->AutoHint());
    SetEllipsisType(src->EllipsisType());
    SetImageIndex(src->ImageIndex());
  }
}

void TdxStatusBarTextPanelStyle::RestoreDefaults() {
  FAutoHint = false;
  FImageIndex = -1;
  FEllipsisType = dxetNone;
  TdxStatusBarPanelStyle::RestoreDefaults();
}

void TdxStatusBarTextPanelStyle::DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) {
  TdxStatusBarPanelStyle::DrawContent(ACanvas, R, APainter);
  TdxCustomStatusBar* bar = StatusBar();
  TCustomImageList* images = bar->Images();
  if (images && FImageIndex >= 0 && FImageIndex < images->Count()) {
    images->Draw(ACanvas->Canvas(), R.Left + 1, (R.Top + R.Bottom) / 2 - images->Height() / 2, FImageIndex,
                 bar->Enabled());
    R.Left += images->Width() + 2;
  }
  ACanvas->CurrentBrush()->SetStyle(bsClear);
  TColor color = Font()->Color();
  APainter->AdjustTextColor(bar, color, true);
  AdjustTextColor(color, true);
  ACanvas->AssignFont(Font());
  ACanvas->CurrentFont()->SetColor(color);
  R = TRect(R.Left + 2, R.Top, R.Right - 2, R.Bottom);
  APainter->AdjustTextRect(bar, Owner(), R);
  std::string text = Owner()->Text();
  if (OnGetText) OnGetText(this, R, text);
  TcxTextFlags flags = TextAlignVCenter | TextSingleLine;
  flags |= Alignment() == taRightJustify ? TextAlignRight : Alignment() == taCenter ? TextAlignHCenter : TextAlignLeft;
  if (FEllipsisType == dxetTruncate) flags |= TextShowEndEllipsis;
  if (FEllipsisType == dxetSmartPath) flags |= TextShowPathEllipsis;
  ACanvas->DrawAlignedText(text, R, flags, bar->Enabled());
}

// ---- state indicators

TdxStatusBarStateIndicatorItem::TdxStatusBarStateIndicatorItem(TCollection* Collection)
    : TCollectionItem(Collection), FBitmap(std::make_unique<TBitmap>()) {
  LoadBitmap();
}

TdxStatusBarStateIndicatorItem::~TdxStatusBarStateIndicatorItem() = default;

void TdxStatusBarStateIndicatorItem::LoadBitmap() {
  static const char* const names[] = {"DXSTATUSBAR_GRAY",  "DXSTATUSBAR_YELLOW", "DXSTATUSBAR_BLUE",
                                      "DXSTATUSBAR_GREEN", "DXSTATUSBAR_RED",    "DXSTATUSBAR_TEAL",
                                      "DXSTATUSBAR_PURPLE"};
  InitStatusBarBitmaps();
  FBitmap->LoadFromResourceName(names[FIndicatorType]);
  FBitmap->SetTransparent(true);
}

void TdxStatusBarStateIndicatorItem::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TdxStatusBarStateIndicatorItem*>(Source)) {
    SetIndicatorType(src->FIndicatorType);
    SetVisible(src->FVisible);
    return;
  }
  TCollectionItem::Assign(Source);
}

void TdxStatusBarStateIndicatorItem::SetIndicatorType(TdxStatusBarStateIndicatorType Value) {
  if (FIndicatorType == Value) return;
  FIndicatorType = Value;
  LoadBitmap();
  Changed(false);
}

void TdxStatusBarStateIndicatorItem::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed(false);
}

void TdxStatusBarStateIndicators::Update(TCollectionItem*) {
  if (OnChange) OnChange(this);
}

TdxStatusBarStateIndicatorPanelStyle::TdxStatusBarStateIndicatorPanelStyle(TdxStatusBarPanel* APanel)
    : TdxStatusBarPanelStyle(APanel), FIndicators(std::make_unique<TdxStatusBarStateIndicators>()) {
  FIndicators->OnChange = [this](TObject*) { NotifyPanel(); };
}

TdxStatusBarStateIndicatorPanelStyle::~TdxStatusBarStateIndicatorPanelStyle() { FIndicators->OnChange = nullptr; }

void TdxStatusBarStateIndicatorPanelStyle::SetSpacing(int Value) {
  if (FSpacing == Value) return;
  FSpacing = Value;
  NotifyPanel();
}

void TdxStatusBarStateIndicatorPanelStyle::AssignStyle(TdxStatusBarPanelStyle* Source) {
  TdxStatusBarPanelStyle::AssignStyle(Source);
  if (auto* src = dynamic_cast<TdxStatusBarStateIndicatorPanelStyle*>(Source)) {
    FIndicators->Assign(src->Indicators());
    SetSpacing(src->Spacing());
  }
}

void TdxStatusBarStateIndicatorPanelStyle::RestoreDefaults() {
  FSpacing = 4;
  TdxStatusBarPanelStyle::RestoreDefaults();
}

void TdxStatusBarStateIndicatorPanelStyle::DrawContent(TcxCanvas* ACanvas, TRect R,
                                                       TdxStatusBarPainterClass APainter) {
  TdxStatusBarPanelStyle::DrawContent(ACanvas, R, APainter);
  int x = R.Left + FSpacing;
  for (int i = 0; i < FIndicators->Count(); ++i) {
    TdxStatusBarStateIndicatorItem* item = FIndicators->Items(i);
    TBitmap* b = item->Bitmap();
    if (!item->Visible() || b->Width() == 0 || b->Height() == 0) continue;
    ACanvas->DrawGraphic(x, (R.Top + R.Bottom) / 2 - b->Height() / 2, b);
    x += b->Width() + FSpacing;
  }
}

int TdxStatusBarStateIndicatorPanelStyle::StyleMinWidth() {
  if (FIndicators->Count() == 0) return 20;
  int width = FSpacing;
  for (int i = 0; i < FIndicators->Count(); ++i) {
    TdxStatusBarStateIndicatorItem* item = FIndicators->Items(i);
    TBitmap* b = item->Bitmap();
    if (item->Visible() && b->Width() > 0 && b->Height() > 0) width += b->Width() + FSpacing;
  }
  return width + MarginsHorzTotal(Painter()->PanelContentMargins(Owner(), Owner()->Bevel() != dxpbNone));
}

// ---- keyboard states

TdxStatusBarKeyStateAppearance::TdxStatusBarKeyStateAppearance(TdxStatusBarKeyboardState AKind, int ACode,
                                                               const std::string& AActiveCaption,
                                                               const std::string& AInactiveCaption,
                                                               TColor AActiveFontColor,
                                                               std::function<void()> AOnChange)
    : FKind(AKind),
      FCode(ACode),
      FActiveFontColor(AActiveFontColor),
      FActiveCaption(AActiveCaption),
      FInactiveCaption(AInactiveCaption),
      FOnChange(std::move(AOnChange)) {}

void TdxStatusBarKeyStateAppearance::Changed() {
  if (FOnChange) FOnChange();
}

void TdxStatusBarKeyStateAppearance::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxStatusBarKeyStateAppearance*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  FActiveFontColor = src->FActiveFontColor;
  FInactiveFontColor = src->FInactiveFontColor;
  FActiveCaption = src->FActiveCaption;
  FInactiveCaption = src->FInactiveCaption;
  Changed();
}

void TdxStatusBarKeyStateAppearance::SetActiveFontColor(TColor Value) {
  if (FActiveFontColor == Value) return;
  FActiveFontColor = Value;
  Changed();
}

void TdxStatusBarKeyStateAppearance::SetInactiveFontColor(TColor Value) {
  if (FInactiveFontColor == Value) return;
  FInactiveFontColor = Value;
  Changed();
}

void TdxStatusBarKeyStateAppearance::SetActiveCaption(const std::string& Value) {
  if (FActiveCaption == Value) return;
  FActiveCaption = Value;
  Changed();
}

void TdxStatusBarKeyStateAppearance::SetInactiveCaption(const std::string& Value) {
  if (FInactiveCaption == Value) return;
  FInactiveCaption = Value;
  Changed();
}

int TdxStatusBarKeyStateAppearance::CellWidth(TcxCanvas* Canvas) const {
  return std::max(Canvas->MeasureTextWidth(FActiveCaption), Canvas->MeasureTextWidth(FInactiveCaption)) + 4;
}

TdxStatusBarKeyboardStateNotifier::TdxStatusBarKeyboardStateNotifier(std::function<void()> AOnChange)
    : FTimer(std::make_unique<TTimer>(nullptr)), FOnChange(std::move(AOnChange)) {
  FTimer->SetInterval(100);
  FTimer->SetOnTimer([this](TObject*) { CheckKeys(); });
}

TdxStatusBarKeyboardStateNotifier::~TdxStatusBarKeyboardStateNotifier() { FTimer->SetEnabled(false); }

void TdxStatusBarKeyboardStateNotifier::SubscribeKey(int Code) {
  for (const TWatched& k : FKeys)
    if (k.Code == Code) return;
  FKeys.push_back({Code, BYTE(GetKeyState(Code) & 0xFF)});
}

void TdxStatusBarKeyboardStateNotifier::UnsubscribeKey(int Code) {
  FKeys.erase(std::remove_if(FKeys.begin(), FKeys.end(), [&](const TWatched& k) { return k.Code == Code; }),
              FKeys.end());
}

void TdxStatusBarKeyboardStateNotifier::CheckKeys() {
  bool changed = false;
  for (TWatched& k : FKeys) {
    const BYTE now = BYTE(GetKeyState(k.Code) & 0xFF);
    if (now != k.LowByte) {
      k.LowByte = now;
      changed = true;
    }
  }
  if (changed && FOnChange) FOnChange();
}

TdxStatusBarKeyboardStatePanelStyle::TdxStatusBarKeyboardStatePanelStyle(TdxStatusBarPanel* APanel)
    : TdxStatusBarPanelStyle(APanel) {
  const TColor text = Font()->Color();
  auto changed = [this] { NotifyPanel(); };
  FAppearances[0] = std::make_unique<TdxStatusBarKeyStateAppearance>(dxksCapsLock, VK_CAPITAL, "CAPS", "CAPS", text, changed);
  FAppearances[1] = std::make_unique<TdxStatusBarKeyStateAppearance>(dxksNumLock, VK_NUMLOCK, "NUM", "NUM", text, changed);
  FAppearances[2] = std::make_unique<TdxStatusBarKeyStateAppearance>(dxksScrollLock, VK_SCROLL, "SCRL", "SCRL", text, changed);
  FAppearances[3] = std::make_unique<TdxStatusBarKeyStateAppearance>(dxksInsert, VK_INSERT, "OVR", "INS", text, changed);
  FNotifier = std::make_unique<TdxStatusBarKeyboardStateNotifier>([this] { KeyStateChanged(); });
  for (const auto& a : FAppearances) FNotifier->SubscribeKey(a->Code());
}

TdxStatusBarKeyboardStatePanelStyle::~TdxStatusBarKeyboardStatePanelStyle() {
  for (const auto& a : FAppearances) FNotifier->UnsubscribeKey(a->Code());
}

void TdxStatusBarKeyboardStatePanelStyle::KeyStateChanged() {
  if (TdxCustomStatusBar* bar = StatusBar()) bar->RecalculateAndInvalidate();
}

void TdxStatusBarKeyboardStatePanelStyle::SetKeyboardStates(TdxStatusBarKeyboardStates Value) {
  if (FKeyboardStates == Value) return;
  FKeyboardStates = Value;
  NotifyPanel();
}

void TdxStatusBarKeyboardStatePanelStyle::SetFullRect(bool Value) {
  if (FFullRect == Value) return;
  FFullRect = Value;
  if (Owner()) Owner()->PanelChanged(true);
}

void TdxStatusBarKeyboardStatePanelStyle::AssignStyle(TdxStatusBarPanelStyle* Source) {
  TdxStatusBarPanelStyle::AssignStyle(Source);
  if (auto* src = dynamic_cast<TdxStatusBarKeyboardStatePanelStyle*>(Source)) {
    SetKeyboardStates(src->KeyboardStates());
    SetFullRect(src->FullRect());
    for (int i = 0; i < 4; ++i) FAppearances[i]->Assign(src->FAppearances[i].get());
  }
}

void TdxStatusBarKeyboardStatePanelStyle::RestoreDefaults() {
  FKeyboardStates = {dxksCapsLock, dxksNumLock, dxksScrollLock, dxksInsert};
  TdxStatusBarPanelStyle::RestoreDefaults();
}

void TdxStatusBarKeyboardStatePanelStyle::DrawContent(TcxCanvas* ACanvas, TRect R,
                                                      TdxStatusBarPainterClass APainter) {
  TdxStatusBarPanelStyle::DrawContent(ACanvas, R, APainter);
  TdxCustomStatusBar* bar = StatusBar();
  ACanvas->AssignFont(Font());
  const TRect margins = APainter->PanelContentMargins(Owner(), !FFullRect);
  std::vector<TdxStatusBarKeyStateAppearance*> keys;
  for (const auto& a : FAppearances)
    if (FKeyboardStates.Contains(a->Kind())) keys.push_back(a.get());
  int x = R.Left;
  for (size_t i = 0; i < keys.size(); ++i) {
    TdxStatusBarKeyStateAppearance* key = keys[i];
    // On only while toggled and not held, as the platform reports a lock key being pressed.
    const bool on = !bar->ComponentState().Contains(csDesigning) && (GetKeyState(key->Code()) & 0xFF) == 1;
    TColor color = on ? key->ActiveFontColor() : key->InactiveFontColor();
    APainter->AdjustTextColor(bar, color, on);
    AdjustTextColor(color, on);
    TRect cell(x, R.Top, x + MarginsHorzTotal(margins) + key->CellWidth(ACanvas), R.Bottom);
    const int next = cell.Right;
    if (!FFullRect) APainter->DrawPanelBevel(bar, Owner()->Bevel(), cell, ACanvas);
    ACanvas->CurrentBrush()->SetStyle(bsClear);
    ACanvas->CurrentFont()->SetColor(color);
    ACanvas->DrawAlignedText(on ? key->ActiveCaption() : key->InactiveCaption(), cell,
                             TextAlignHCenter | TextAlignVCenter | TextSingleLine);
    x = next + APainter->SeparatorSize(bar);
  }
}

int TdxStatusBarKeyboardStatePanelStyle::StyleMinWidth() {
  TdxCustomStatusBar* bar = StatusBar();
  if (!bar) return 50;
  TcxCanvas* canvas = bar->Canvas();
  canvas->AssignFont(Font());
  const int margins = MarginsHorzTotal(Painter()->PanelContentMargins(Owner(), !FFullRect));
  int width = 0, count = 0;
  for (const auto& a : FAppearances) {
    if (!FKeyboardStates.Contains(a->Kind())) continue;
    if (count++ > 0) width += Painter()->SeparatorSize(bar);
    width += a->CellWidth(canvas) + margins;
  }
  return count == 0 ? 50 : width;
}

// ---- container

TdxStatusBarContainerControl::TdxStatusBarContainerControl(TComponent* AOwner) : TcxControl(AOwner) {
  TControlStyle style = ControlStyle();
  style.Include(csAcceptsControls);
  SetControlStyle(style);
  RecreateScrollBars();
  SetTabStop(false);
}

TdxStatusBarContainerControl::~TdxStatusBarContainerControl() {
  Destroying();
  if (TdxStatusBarContainerPanelStyle* style = FPanelStyle) {
    FPanelStyle = nullptr;
    style->ContainerDestroyed();
  }
}

void TdxStatusBarContainerControl::Paint() {
  TcxControl::Paint();
  if (FPanelStyle && FPanelStyle->StatusBar()) {
    FPanelStyle->StatusBar()->Painter()->DrawContainerBackground(FPanelStyle, Canvas());
  } else {
    Canvas()->FillRectWithColor(ClientRect(), clBtnFace);
  }
  if (IsDesigning()) {
    TBrush* brush = Canvas()->CurrentBrush();
    brush->SetStyle(bsBDiagonal);
    brush->SetColor(clBtnShadow);
    Canvas()->Canvas()->FillRect(ClientRect());
  }
}

TdxStatusBarContainerPanelStyle::TdxStatusBarContainerPanelStyle(TdxStatusBarPanel* APanel)
    : TdxStatusBarPanelStyle(APanel) {
  TdxCustomStatusBar* bar = StatusBar();
  if (!bar || IsLoadingOrUpdating(bar) || APanel->Collection()->UpdateCount() > 0) return;
  auto* container = new TdxStatusBarContainerControl(bar->Owner());
  if (bar->ComponentState().Contains(csDesigning) && bar->Owner()) {
    for (int n = APanel->ID();; ++n) {
      const std::string name = bar->Name() + "Container" + std::to_string(n);
      if (!bar->Owner()->FindComponent(name)) {
        container->SetName(name);
        break;
      }
    }
  }
  container->SetParent(bar);
  SetContainer(container);
}

TdxStatusBarContainerPanelStyle::~TdxStatusBarContainerPanelStyle() {
  if (!FContainer) return;
  FContainer->FPanelStyle = nullptr;
  TdxCustomStatusBar* bar = StatusBar();
  if (!bar || !bar->ComponentState().Contains(csDestroying)) delete FContainer;
  FContainer = nullptr;
}

void TdxStatusBarContainerPanelStyle::SetAlignControl(bool Value) {
  if (FAlignControl == Value) return;
  FAlignControl = Value;
  NotifyPanel();
}

void TdxStatusBarContainerPanelStyle::SetContainer(TdxStatusBarContainerControl* Value) {
  if (FContainer == Value) return;
  if (FContainer) {
    TdxStatusBarContainerControl* old = FContainer;
    old->FPanelStyle = nullptr;
    FContainer = nullptr;
    TdxCustomStatusBar* bar = StatusBar();
    if (!Value && !(bar && (IsLoadingOrUpdating(bar) || bar->ComponentState().Contains(csDestroying)))) delete old;
  }
  FContainer = Value;
  if (FContainer) {
    if (FContainer->FPanelStyle && FContainer->FPanelStyle != this) FContainer->FPanelStyle->FContainer = nullptr;
    FContainer->FPanelStyle = this;
  }
  VisibilityChanged();
  NotifyPanel();
}

void TdxStatusBarContainerPanelStyle::ContainerDestroyed() {
  FContainer = nullptr;
  TdxCustomStatusBar* bar = StatusBar();
  if (!bar || bar->ComponentState().Contains(csDestroying)) return;
  // The style goes with its container; nothing of it may be touched afterwards.
  Owner()->SetPanelStyleClass(nullptr);
}

bool TdxStatusBarContainerPanelStyle::CanDelete() {
  return !FContainer || !FContainer->ComponentState().Contains(csAncestor);
}

void TdxStatusBarContainerPanelStyle::VisibilityChanged() {
  if (FContainer) FContainer->SetVisible(Owner()->Visible());
}

void TdxStatusBarContainerPanelStyle::BoundsChanged(const TRect& Bounds) {
  if (!FContainer) return;
  TRect r = Bounds;
  const TRect bevel = Painter()->PanelBevelExtents(Owner()->Bevel());
  r = TRect(r.Left + bevel.Left, r.Top + bevel.Top, r.Right - bevel.Right, r.Bottom - bevel.Bottom);
  AdjustForSizeGrip(r);
  FContainer->SetBoundsRect(r);
  if (!FAlignControl || FContainer->ComponentState().Contains(csDesigning)) return;
  for (int i = 0; i < FContainer->ControlCount(); ++i) {
    TControl* c = FContainer->Controls(i);
    c->SetAlign(alNone);
    c->SetBounds(0, 0, FContainer->Width(), FContainer->Height());
  }
}

void TdxStatusBarContainerPanelStyle::AssignStyle(TdxStatusBarPanelStyle* Source) {
  TdxStatusBarPanelStyle::AssignStyle(Source);
  auto* src = dynamic_cast<TdxStatusBarContainerPanelStyle*>(Source);
  if (!src) return;
  SetAlignControl(src->AlignControl());
  TdxCustomStatusBar* bar = StatusBar();
  if (!bar || !src->Container()) return;
  for (int i = 0; i < bar->ControlCount(); ++i) {
    auto* c = dynamic_cast<TdxStatusBarContainerControl*>(bar->Controls(i));
    if (c && CompareText(c->Name(), src->Container()->Name()) == 0) {
      SetContainer(c);
      return;
    }
  }
}
