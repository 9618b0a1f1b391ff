// The status bar control, its panels and their layout.
#include "suite/extras/dxStatusBar.h"

#include <algorithm>
#include <map>

#include "platform/gui/CustomForms.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/TypInfo.h"
#include "suite/core/dxCore.h"
#include "suite/core/dxOffice11.h"

// ---- panels

TdxStatusBarPanel::TdxStatusBarPanel(TCollection* Collection) : TCollectionItem(Collection) {
  TdxCustomStatusBar* bar = StatusBar();
  if (bar && !bar->ComponentState().Contains(csLoading) && !bar->ComponentState().Contains(csReading)) {
    FPanelStyleClass = bar->DefaultPanelStyleClass();
    FPanelStyle.reset(CreateStatusBarPanelStyle(FPanelStyleClass, this));
  }
}

TdxStatusBarPanel::~TdxStatusBarPanel() {
  FPanelStyle.reset();
  SetCollection(nullptr);
}

TdxCustomStatusBar* TdxStatusBarPanel::StatusBar() const {
  auto* panels = dynamic_cast<TdxStatusBarPanels*>(Collection());
  return panels ? panels->StatusBar() : nullptr;
}

std::string TdxStatusBarPanel::DisplayName() const {
  return FText.empty() ? TCollectionItem::DisplayName() : FText;
}

void TdxStatusBarPanel::PanelChanged(bool AllItems) { Changed(AllItems); }

void TdxStatusBarPanel::SetBevel(TdxStatusBarPanelBevel Value) {
  if (FBevel == Value) return;
  FBevel = Value;
  PanelChanged();
}

bool TdxStatusBarPanel::Fixed() const {
  if (FPanelStyle && !FPanelStyle->IsResizable()) return true;
  return FFixed;
}

void TdxStatusBarPanel::SetFixed(bool Value) {
  if (FFixed == Value) return;
  FFixed = Value;
  PanelChanged();
}

int TdxStatusBarPanel::MinWidth() const {
  if (FMinWidthAssigned && (!FPanelStyle || FPanelStyle->IsResizable())) return FMinWidth;
  return DefaultMinWidth();
}

void TdxStatusBarPanel::SetMinWidth(int Value) {
  Value = std::max(Value, 0);
  FMinWidth = Value;
  FMinWidthAssigned = true;
  if (FWidth < Value) FWidth = Value;
  PanelChanged();
}

int TdxStatusBarPanel::Width() const {
  if (FWidthAssigned && (!FPanelStyle || FPanelStyle->IsResizable())) return FWidth;
  return DefaultWidth();
}

void TdxStatusBarPanel::SetWidth(int Value) {
  FWidth = std::max(Value, MinWidth());
  FWidthAssigned = true;
  PanelChanged();
}

void TdxStatusBarPanel::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  PanelChanged();
}

void TdxStatusBarPanel::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  if (FPanelStyle) FPanelStyle->VisibilityChanged();
  PanelChanged();
}

int TdxStatusBarPanel::DefaultMinWidth() const { return FPanelStyle ? FPanelStyle->StyleMinWidth() : 20; }

int TdxStatusBarPanel::DefaultWidth() const {
  return !FPanelStyle || FPanelStyle->IsResizable() ? 50 : DefaultMinWidth();
}

int TdxStatusBarPanel::AddLayoutExtra(int Value) const {
  if (!FPanelStyle) return Value;
  if (!FPanelStyle->DrawsOwnCells()) Value += 2;
  TdxCustomStatusBar* bar = StatusBar();
  if (bar && Collection() && Index() == Collection()->Count() - 1 && bar->ShowsSizeGrip())
    Value += bar->Painter()->SizeGripSize().cx;
  return Value;
}

int TdxStatusBarPanel::LayoutMinWidth() const { return AddLayoutExtra(MinWidth()); }
int TdxStatusBarPanel::LayoutWidth() const { return AddLayoutExtra(Width()); }

void TdxStatusBarPanel::Click() {
  if (OnClick) OnClick(this);
}

void TdxStatusBarPanel::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TdxStatusBarPanel::CreatePanelStyle() {
  FPanelStyle.reset(CreateStatusBarPanelStyle(FPanelStyleClass, this));
  if (TdxCustomStatusBar* bar = StatusBar()) bar->Invalidate();
}

void TdxStatusBarPanel::FreePanelStyle() {
  if (!FPanelStyle) return;
  TdxCustomStatusBar* bar = StatusBar();
  bool quiet = !bar || Collection()->UpdateCount() > 0;
  if (bar) {
    const TComponentState s = bar->ComponentState();
    quiet = quiet || s.Contains(csLoading) || s.Contains(csReading) || s.Contains(csDestroying);
  }
  if (!quiet && !FPanelStyle->CanDelete())
    throw EdxException("Selection contains a component introduced in an ancestor form which cannot be deleted");
  FPanelStyle.reset();
}

void TdxStatusBarPanel::SetPanelStyleClass(TdxStatusBarPanelStyleClass Value) {
  if (FPanelStyleClass == Value) return;
  TdxCustomStatusBar* bar = StatusBar();
  if (Value && bar && !bar->CanUsePanelStyle(Value)) return;
  FreePanelStyle();
  FPanelStyleClass = Value;
  if (Value) CreatePanelStyle();
  PanelChanged();
}

std::string TdxStatusBarPanel::PanelStyleClassName() const {
  return FPanelStyle && FPanelStyleClass ? FPanelStyleClass->Name : std::string();
}

void TdxStatusBarPanel::SetPanelStyleClassName(const std::string& Value) {
  SetPanelStyleClass(GetRegisteredStatusBarPanelStyles()->FindByClassName(Value));
}

void TdxStatusBarPanel::SetPanelStyle(TdxStatusBarPanelStyle* Value) {
  if (FPanelStyle && Value) FPanelStyle->Assign(Value);
}

void TdxStatusBarPanel::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TdxStatusBarPanel*>(Source);
  if (!src) {
    TCollectionItem::Assign(Source);
    return;
  }
  TCollection* c = Collection();
  if (c) c->BeginUpdate();
  try {
    RestoreDefaults();
    SetPanelStyleClassName(src->PanelStyleClassName());
    if (FPanelStyle && src->PanelStyle()) FPanelStyle->Assign(src->PanelStyle());
    SetVisible(src->FVisible);
    SetBevel(src->FBevel);
    SetFixed(src->FFixed);
    if (src->FMinWidthAssigned) SetMinWidth(src->FMinWidth);
    SetText(src->FText);
    if (src->FWidthAssigned) SetWidth(src->FWidth);
    OnClick = src->OnClick;
    OnDblClick = src->OnDblClick;
    OnDrawPanel = src->OnDrawPanel;
  } catch (...) {
    if (c) c->EndUpdate();
    throw;
  }
  if (c) c->EndUpdate();
}

void TdxStatusBarPanel::RestoreDefaults() {
  FVisible = true;
  FMinWidth = 20;
  FWidth = 50;
  FFixed = true;
  FBevel = dxpbLowered;
  FMinWidthAssigned = false;
  FWidthAssigned = false;
  PanelChanged(true);
}

TdxStatusBarPanels::TdxStatusBarPanels(TdxCustomStatusBar* AOwner)
    : TCollection(AOwner->PanelClass()), FStatusBar(AOwner) {
  SetPropName("Panels");
}

TPersistent* TdxStatusBarPanels::GetOwner() const { return FStatusBar; }

void TdxStatusBarPanels::Update(TCollectionItem* Item) {
  if (FStatusBar->FPanels.get() == this) FStatusBar->RecalculateAndInvalidate();
}

// ---- layout

void TdxStatusBarViewInfo::CalculateLayout(const TRect& Bounds) {
  FPanels.clear();
  FSizeGripOverlapped = false;
  TdxStatusBarPanels* panels = FStatusBar->Panels();
  for (int i = 0; i < panels->Count(); ++i)
    if (panels->Items(i)->Visible()) FPanels.push_back(std::make_unique<TdxStatusBarPanelViewInfo>(panels->Items(i)));
  const int n = PanelCount();
  if (n == 0) return;
  TdxStatusBarPainterClass painter = FStatusBar->Painter();
  TcxAutoWidthObject widths(2 * n - 1);
  bool flexibleSeen = false;
  for (int i = 0; i < n; ++i) {
    TdxStatusBarPanel* panel = FPanels[size_t(i)]->Panel;
    TcxAutoWidthItem* item = widths.NewItem();
    item->MinWidth = panel->LayoutMinWidth();
    item->Width = panel->LayoutWidth();
    // When every panel is fixed the last one still takes what is left.
    if (!panel->Fixed()) {
      item->Fixed = false;
      flexibleSeen = true;
    } else {
      item->Fixed = !(i == n - 1 && !flexibleSeen);
    }
    if (i < n - 1) {
      TcxAutoWidthItem* separator = widths.NewItem();
      separator->MinWidth = separator->Width = painter->SeparatorSize(FStatusBar);
      separator->Fixed = true;
    }
  }
  const TRect extents = painter->BorderExtents(FStatusBar);
  widths.AvailableWidth = Bounds.Width() + extents.Left + extents.Right;
  widths.DistributeWidth();
  FSizeGripOverlapped = widths.TotalItemWidth() >= widths.AvailableWidth;
  int x = Bounds.Left;
  for (int i = 0; i < n; ++i) {
    TdxStatusBarPanelViewInfo* info = FPanels[size_t(i)].get();
    info->Bounds = TRect(x, Bounds.Top, x + widths.ItemAt(2 * i)->AutoWidth, Bounds.Bottom);
    if (TdxStatusBarPanelStyle* style = info->Panel->PanelStyle()) style->BoundsChanged(info->Bounds);
    x = info->Bounds.Right;
    if (i < n - 1) {
      info->SeparatorBounds = TRect(x, Bounds.Top, x + widths.ItemAt(2 * i + 1)->AutoWidth, Bounds.Bottom);
      x = info->SeparatorBounds.Right;
    }
  }
}

// ---- the bar

TdxCustomStatusBar::TdxCustomStatusBar(TComponent* AOwner) : TcxControl(AOwner) {
  dxStatusBarInitialize();
  FViewInfo = CreateViewInfo();
  TControlStyle style = ControlStyle();
  style.Exclude(csSetCaption);
  style.Include(csCaptureMouse).Include(csClickEvents).Include(csOpaque).Include(csDoubleClicks);
  SetControlStyle(style);
  RecreateScrollBars();
  SetTabStop(false);
  SetColor(clBtnFace);
  SetHeight(20);
  SetAlign(alBottom);
  SetParentFont(false);
  FPanels = CreatePanels();
  FImageChangeLink = std::make_unique<TChangeLink>();
  FImageChangeLink->OnChange = [this](TObject*) { RecalculateAndInvalidate(); };
  FThemeChangedNotificator = std::make_unique<TdxThemeChangedNotificator>();
  FThemeChangedNotificator->OnThemeChanged = [this](TObject*) { ThemeChanged(); };
  UpdatePainter();
  Office11ColorsAddRef();
}

TdxCustomStatusBar::~TdxCustomStatusBar() {
  Destroying();
  Office11ColorsRelease();
  FThemeChangedNotificator.reset();
  if (FImages) FImages->UnRegisterChanges(FImageChangeLink.get());
  FImageChangeLink.reset();
  FPanels.reset();
  FViewInfo.reset();
  dxStatusBarFinalize();
}

std::unique_ptr<TdxStatusBarViewInfo> TdxCustomStatusBar::CreateViewInfo() {
  return std::make_unique<TdxStatusBarViewInfo>(this);
}

TdxStatusBarPanel* TdxCustomStatusBar::CreatePanel() { return FPanels->Add(); }

std::unique_ptr<TdxStatusBarPanels> TdxCustomStatusBar::CreatePanels() {
  return std::make_unique<TdxStatusBarPanels>(this);
}

TCollectionItemClass TdxCustomStatusBar::PanelClass() const {
  return TCollection::ItemClassOf<TdxStatusBarPanel>();
}

TdxStatusBarPanelStyleClass TdxCustomStatusBar::DefaultPanelStyleClass() const {
  return FindClassInfo(typeid(TdxStatusBarTextPanelStyle));
}

void TdxCustomStatusBar::Loaded() {
  TcxControl::Loaded();
  for (int i = 0; i < FPanels->Count(); ++i)
    if (TdxStatusBarPanelStyle* s = FPanels->Items(i)->PanelStyle()) s->Loaded();
  CalculateLayout();
}

void TdxCustomStatusBar::SetBorderWidth(int Value) {
  Value = std::max(Value, 0);
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  RecalculateAndInvalidate();
}

void TdxCustomStatusBar::SetImages(TCustomImageList* Value) {
  if (FImages == Value) return;
  if (FImages) {
    FImages->UnRegisterChanges(FImageChangeLink.get());
    FImages->RemoveFreeNotification(this);
  }
  FImages = Value;
  if (FImages) {
    FImages->RegisterChanges(FImageChangeLink.get());
    FImages->FreeNotification(this);
  }
  RecalculateAndInvalidate();
}

void TdxCustomStatusBar::SetPaintStyle(TdxStatusBarPaintStyle Value) {
  if (FPaintStyle == Value) return;
  FPaintStyle = Value;
  UpdatePainter();
}

void TdxCustomStatusBar::SetSizeGrip(bool Value) {
  if (FSizeGrip == Value) return;
  FSizeGrip = Value;
  RecalculateAndInvalidate();
}

void TdxCustomStatusBar::Notification(TComponent* AComponent, TOperation Operation) {
  TcxControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FImages) {
    FImages = nullptr;
    RecalculateAndInvalidate();
  }
}

void TdxCustomStatusBar::CheckThemes() {
  FThemeAvailable = IsThemingAvailable({totStatus});
  FPainter = PainterClass();
}

void TdxCustomStatusBar::UpdatePainter() {
  CheckThemes();
  RecalculateAndInvalidate();
}

void TdxCustomStatusBar::ThemeChanged() { UpdatePainter(); }

void TdxCustomStatusBar::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) { UpdatePainter(); }

TdxStatusBarPaintStyle TdxCustomStatusBar::EffectivePaintStyle() const {
  if (FPaintStyle != stpsUseLookAndFeel) return FPaintStyle;
  if (LookAndFeel()->NativeStyle() && FThemeAvailable) return stpsXP;
  switch (LookAndFeel()->Kind()) {
    case lfUltraFlat: return stpsFlat;
    case lfOffice11: return stpsOffice11;
    default: return stpsStandard;
  }
}

TdxStatusBarPainterClass TdxCustomStatusBar::PainterClass() const {
  switch (EffectivePaintStyle()) {
    case stpsFlat: return dxStatusBarFlatPainter();
    case stpsXP: return FThemeAvailable ? dxStatusBarXPPainter() : dxStatusBarStandardPainter();
    case stpsOffice11: return dxStatusBarOffice11Painter();
    default: return dxStatusBarStandardPainter();
  }
}

void TdxCustomStatusBar::RecalculateAndInvalidate() {
  if (!IsDestroying() && FPanels) CalculateLayout();
  Invalidate();
}

void TdxCustomStatusBar::CalculateLayout() {
  if (!FPainter || !FViewInfo) return;
  TRect r = ClientBounds();
  const TRect e = FPainter->BorderExtents(this);
  r = TRect(r.Left + e.Left, r.Top + e.Top, r.Right - e.Right, r.Bottom - e.Bottom);
  FViewInfo->CalculateLayout(r);
}

void TdxCustomStatusBar::Resize() {
  TcxControl::Resize();
  CalculateLayout();
  Invalidate();
}

bool TdxCustomStatusBar::ShowsSizeGrip() {
  if (!FSizeGrip) return false;
  // The form the bar belongs to: the one it sits in, else the one that owns it.
  auto* form = dynamic_cast<TCustomForm*>(GetParentForm(this));
  if (!form) form = dynamic_cast<TCustomForm*>(Owner());
  if (!form) return false;
  if (form->BorderStyle() != bsSizeable && form->BorderStyle() != bsSizeToolWin) return false;
  if (form->WindowState() == wsMaximized || form->WindowState() == wsMinimized) return false;
  // The bar's bottom-right corner in the form's client coordinates; a bar that is not (or no
  // longer) inside the form has no grip rather than failing while it paints or is hit-tested.
  TPoint corner(Width(), Height());
  TControl* c = this;
  for (; c && c != form; c = c->Parent()) corner = TPoint(corner.X + c->Left(), corner.Y + c->Top());
  if (c != form) return false;
  return corner.X == form->ClientWidth() && corner.Y >= form->ClientHeight();
}

TdxStatusBarPanel* TdxCustomStatusBar::PanelAtPos(int X, int Y) const {
  for (int i = 0; i < FViewInfo->PanelCount(); ++i) {
    TdxStatusBarPanelViewInfo* info = FViewInfo->Panels(i);
    if (info->Bounds.Contains(TPoint(X, Y))) return info->Panel;
  }
  return nullptr;
}

void TdxCustomStatusBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TWeakLink<TControl> self(this);
  TcxControl::MouseDown(Button, Shift, X, Y);
  if (!self) return;
  if (Button == mbLeft && Shift.Contains(ssDouble))
    if (TdxStatusBarPanel* panel = PanelAtPos(X, Y)) panel->DblClick();
}

void TdxCustomStatusBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TWeakLink<TControl> self(this);
  TcxControl::MouseUp(Button, Shift, X, Y);
  if (!self) return;
  if (Button == mbLeft)
    if (TdxStatusBarPanel* panel = PanelAtPos(X, Y)) panel->Click();
}

void TdxCustomStatusBar::DoHint() {
  if (OnHint) OnHint(this);
}

bool TdxCustomStatusBar::ExecuteAction(TBasicAction* Action) {
  auto* hint = dynamic_cast<THintAction*>(Action);
  if (!hint || IsDesigning()) return TcxControl::ExecuteAction(Action);
  TdxStatusBarPanel* target = nullptr;
  for (int i = 0; i < FPanels->Count(); ++i) {
    auto* text = dynamic_cast<TdxStatusBarTextPanelStyle*>(FPanels->Items(i)->PanelStyle());
    if (text && text->AutoHint()) target = FPanels->Items(i);
  }
  if (!target || OnHint) {
    DoHint();
    return TcxControl::ExecuteAction(Action);
  }
  target->SetText(hint->Hint());
  return true;
}

void TdxCustomStatusBar::FontChanged() {
  TcxControl::FontChanged();
  for (int i = 0; i < FPanels->Count(); ++i)
    if (TdxStatusBarPanelStyle* s = FPanels->Items(i)->PanelStyle()) s->ParentFontChanged();
  RecalculateAndInvalidate();
}

void TdxCustomStatusBar::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_NCHITTEST:
      TcxControl::Dispatch(Message);
      if (!IsDesigning() && ShowsSizeGrip()) {
        TPoint p = ScreenToClient(TPoint(GET_X_LPARAM(Message.LParam), GET_Y_LPARAM(Message.LParam)));
        const TRect client = ClientRect();
        const TSize grip = FPainter->SizeGripSize();
        if (TRect(client.Right - grip.cx - 2, client.Bottom - grip.cy - 2, client.Right, client.Bottom).Contains(p))
          Message.Result = HTBOTTOMRIGHT;
      }
      return;
    case CM_COLORCHANGED:
    case CM_PARENTFONTCHANGED:
    case WM_SETTINGCHANGE:
      TcxControl::Dispatch(Message);
      RecalculateAndInvalidate();
      return;
    case CM_SYSCOLORCHANGE:
      TcxControl::Dispatch(Message);
      Office11ColorsRefresh();
      RecalculateAndInvalidate();
      return;
    case CM_ENABLEDCHANGED:
      TcxControl::Dispatch(Message);
      Invalidate();
      return;
  }
  TcxControl::Dispatch(Message);
}

void TdxCustomStatusBar::Paint() {
  TcxControl::Paint();
  TcxCanvas* canvas = Canvas();
  TRect r = ClientBounds();
  FPainter->DrawBorder(this, canvas, r);
  canvas->ClipToRect(r);
  const int n = FViewInfo->PanelCount();
  if (ShowsSizeGrip()) FPainter->DrawSizeGrip(this, canvas, n > 0 && FViewInfo->SizeGripOverlapped(), r);
  if (n == 0) {
    FPainter->DrawEmptyPanel(this, canvas, r);
    return;
  }
  for (int i = 0; i < n; ++i) {
    TdxStatusBarPanelViewInfo* info = FViewInfo->Panels(i);
    FPainter->DrawPanel(this, info->Panel, info->Bounds, canvas);
    if (!info->SeparatorBounds.IsEmpty()) FPainter->DrawSeparator(this, canvas, info->SeparatorBounds);
  }
}

// ---- registry of panel styles

namespace {
int gUnitCount = 0;
TcxRegisteredClasses* gPanelStyles = nullptr;
std::map<const TClassInfo*, std::function<TdxStatusBarPanelStyle*(TdxStatusBarPanel*)>> gStyleMakers;

template <class T>
void RegisterPanelStyle(const char* Description) {
  const TClassInfo& info = RegisterClass<T, TdxStatusBarPanelStyle>();
  gStyleMakers[&info] = [](TdxStatusBarPanel* p) -> TdxStatusBarPanelStyle* { return new T(p); };
  gPanelStyles->AddEntry(&info, Description);
}

// What form descriptions store of the bar, its panels and their styles.
void RegisterPublishedProperties() {
  if (!FindClassInfo(typeid(TcxControl))) RegisterClass<TcxControl, TCustomControl>();
  RegisterClass<TdxCustomStatusBar, TcxControl>();
  RegisterClass<TdxStatusBar, TdxCustomStatusBar>();
  RegisterClass<TdxStatusBarContainerControl, TcxControl>();
  RegisterClass<TdxStatusBarPanel, TCollectionItem>();
  RegisterClass<TdxStatusBarStateIndicatorItem, TCollectionItem>();
  RegisterClass<TdxStatusBarKeyStateAppearance, TPersistent>();
  RegisterEnumNames<TdxStatusBarPaintStyle>({"stpsStandard", "stpsFlat", "stpsXP", "stpsOffice11", "stpsUseLookAndFeel"});
  RegisterEnumNames<TdxStatusBarPanelBevel>({"dxpbNone", "dxpbLowered", "dxpbRaised"});
  RegisterEnumNames<TdxStatusBarEllipsisType>({"dxetNone", "dxetTruncate", "dxetSmartPath"});
  RegisterEnumNames<TdxStatusBarStateIndicatorType>(
      {"sitOff", "sitYellow", "sitBlue", "sitGreen", "sitRed", "sitTeal", "sitPurple"});
  RegisterEnumNames<TdxStatusBarKeyboardState>({"dxksCapsLock", "dxksNumLock", "dxksScrollLock", "dxksInsert"});
  if (!FindEnumInfo(typeid(TAlignment))) RegisterEnumNames<TAlignment>({"taLeftJustify", "taRightJustify", "taCenter"});

  using B = TdxCustomStatusBar;
  Published<B>()
      .Property("Images", &B::Images, &B::SetImages)
      .Property("Panels", &B::Panels, &B::SetPanels)
      .Property("PaintStyle", &B::PaintStyle, &B::SetPaintStyle).Default(stpsStandard)
      .Property("SizeGrip", &B::SizeGrip, &B::SetSizeGrip).Default(1)
      .Property("LookAndFeel", &B::LookAndFeel, &B::SetLookAndFeel)
      .Property("BorderWidth", &B::BorderWidth, &B::SetBorderWidth).Default(0)
      .Property("OnHint", &B::OnHint);
  using P = TdxStatusBarPanel;
  Published<P>()
      .Property("PanelStyleClassName", &P::PanelStyleClassName, &P::SetPanelStyleClassName)
      .Property("PanelStyle", &P::PanelStyle, &P::SetPanelStyle)
      .Property("PanelStyleEvents", &P::PanelStyleEvents)
      .Property("Bevel", &P::Bevel, &P::SetBevel).Default(dxpbLowered)
      .Property("Fixed", &P::Fixed, &P::SetFixed).Default(1)
      .Property("MinWidth", &P::MinWidth, &P::SetMinWidth).Stored(&P::MinWidthAssigned)
      .Property("Text", &P::Text, &P::SetText)
      .Property("Visible", &P::Visible, &P::SetVisible).Default(1)
      .Property("Width", &P::Width, &P::SetWidth).Stored(&P::WidthAssigned)
      .Property("OnClick", &P::OnClick)
      .Property("OnDblClick", &P::OnDblClick)
      .Property("OnDrawPanel", &P::OnDrawPanel);
  auto ownColor = [](TdxStatusBarPanelStyle* s) { return s->ColorAssigned(); };
  auto ownFont = [](TdxStatusBarPanelStyle* s) { return !s->ParentFont(); };
  using T = TdxStatusBarTextPanelStyle;
  Published<T>()
      .Property("Alignment", &T::Alignment, &T::SetAlignment).Default(taLeftJustify)
      .Property("AutoHint", &T::AutoHint, &T::SetAutoHint).Default(0)
      .Property("Color", &T::Color, &T::SetColor).Idents(ColorIdentMap()).Stored(ownColor)
      .Property("EllipsisType", &T::EllipsisType, &T::SetEllipsisType).Default(dxetNone)
      .Property("Font", &T::Font, &T::SetFont).Stored(ownFont)
      .Property("ImageIndex", &T::ImageIndex, &T::SetImageIndex).Default(-1)
      .Property("ParentFont", &T::ParentFont, &T::SetParentFont).Default(1)
      .Property("OnGetText", &T::OnGetText);
  using I = TdxStatusBarStateIndicatorPanelStyle;
  Published<I>()
      .Property("Color", &I::Color, &I::SetColor).Idents(ColorIdentMap()).Stored(ownColor)
      .Property("Indicators", &I::Indicators, &I::SetIndicators)
      .Property("Spacing", &I::Spacing, &I::SetSpacing).Default(4);
  using It = TdxStatusBarStateIndicatorItem;
  Published<It>()
      .Property("IndicatorType", &It::IndicatorType, &It::SetIndicatorType).Default(sitOff)
      .Property("Visible", &It::Visible, &It::SetVisible).Default(1);
  using K = TdxStatusBarKeyboardStatePanelStyle;
  Published<K>()
      .Property("Color", &K::Color, &K::SetColor).Idents(ColorIdentMap()).Stored(ownColor)
      .Property("Font", &K::Font, &K::SetFont).Stored(ownFont)
      .Property("KeyboardStates", &K::KeyboardStates, &K::SetKeyboardStates)
          .Default(TdxStatusBarKeyboardStates{dxksCapsLock, dxksNumLock, dxksScrollLock, dxksInsert})
      .Property("FullRect", &K::FullRect, &K::SetFullRect).Default(0)
      .Property("CapsLockKeyAppearance", &K::CapsLockKeyAppearance, &K::SetCapsLockKeyAppearance)
      .Property("NumLockKeyAppearance", &K::NumLockKeyAppearance, &K::SetNumLockKeyAppearance)
      .Property("ScrollLockKeyAppearance", &K::ScrollLockKeyAppearance, &K::SetScrollLockKeyAppearance)
      .Property("InsertKeyAppearance", &K::InsertKeyAppearance, &K::SetInsertKeyAppearance)
      .Property("ParentFont", &K::ParentFont, &K::SetParentFont).Default(1);
  using A = TdxStatusBarKeyStateAppearance;
  Published<A>()
      .Property("ActiveFontColor", &A::ActiveFontColor, &A::SetActiveFontColor).Idents(ColorIdentMap())
      .Property("InactiveFontColor", &A::InactiveFontColor, &A::SetInactiveFontColor).Idents(ColorIdentMap())
      .Property("ActiveCaption", &A::ActiveCaption, &A::SetActiveCaption)
      .Property("InactiveCaption", &A::InactiveCaption, &A::SetInactiveCaption);
  using C = TdxStatusBarContainerPanelStyle;
  Published<C>()
      .Property("AlignControl", &C::AlignControl, &C::SetAlignControl).Default(1)
      .Property("Container", &C::Container, &C::SetContainer);
}

}  // namespace

TcxRegisteredClasses* GetRegisteredStatusBarPanelStyles() {
  if (!gPanelStyles) gPanelStyles = TcxRegisteredClasses::CreateRegistry();
  return gPanelStyles;
}

TdxStatusBarPanelStyle* CreateStatusBarPanelStyle(TdxStatusBarPanelStyleClass AClass, TdxStatusBarPanel* APanel) {
  auto it = gStyleMakers.find(AClass);
  return it == gStyleMakers.end() ? nullptr : it->second(APanel);
}

void dxStatusBarInitialize() {
  if (gUnitCount++ > 0) return;
  GetRegisteredStatusBarPanelStyles();
  RegisterClass<TdxStatusBarPanelStyle, TPersistent>();
  RegisterPanelStyle<TdxStatusBarTextPanelStyle>("Text Panel");
  RegisterPanelStyle<TdxStatusBarContainerPanelStyle>("Container Panel");
  RegisterPanelStyle<TdxStatusBarKeyboardStatePanelStyle>("Keyboard State Panel");
  RegisterPanelStyle<TdxStatusBarStateIndicatorPanelStyle>("State Indicator Panel");
  RegisterPublishedProperties();
}

void dxStatusBarFinalize() {
  if (gUnitCount == 0 || --gUnitCount > 0) return;
  for (const auto& [info, maker] : gStyleMakers) gPanelStyles->RemoveEntry(info);
  gStyleMakers.clear();
  delete gPanelStyles;
  gPanelStyles = nullptr;
}
