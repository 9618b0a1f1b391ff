#include "suite/core/cxContainer.h"

#include <algorithm>

#include "platform/rtl/Streaming.h"
#include "platform/rtl/SysUtils.h"
#include "platform/rtl/TypInfo.h"

namespace {

int gUnitCount = 0;

const char* const kStyleValueNames[] = {"BorderColor", "BorderStyle", "Color",     "Edges",     "Font",
                                        "HotTrack",    "Shadow",      "TextColor", "TextStyle", "TransparentBorder"};

// Direct access keeps exactly these values.
const TcxContainerStyleValues kDirectAccessValues{csvColor, csvFont, csvTextColor, csvTextStyle};

TcxContainerBorderStyle HotTrackBorder(TcxContainerBorderStyle Style) {
  switch (Style) {
    case cbsNone: return cbsFlat;
    case cbsSingle: return cbsThick;
    case cbsFlat: return cbs3D;
    default: return Style;
  }
}

}  // namespace

// ---- container style

TcxContainerStyle::TcxContainerStyle(TPersistent* AOwner, TcxContainerStateItem AState,
                                     TcxContainerStyle* AParentStyle, bool ADirectAccess)
    : TcxInterfacedPersistent(AOwner), FState(AState), FParentStyle(AParentStyle), FDirectAccess(ADirectAccess) {
  if (ADirectAccess) FAssignedValues = kDirectAccessValues;
  if (!IsBaseStyle()) return;
  if (!ADirectAccess) {
    FFont = std::make_unique<TFont>();
    FFont->OnChange = [this](TObject*) { FontChanged(); };
  }
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel*, TcxLookAndFeelValues) { Changed(); };
}

TcxContainerStyle::~TcxContainerStyle() {
  FDestroying = true;
  if (IsBaseStyle() && FStyleController) FStyleController->RemoveListener(this);
}

const TcxContainerStyle* TcxContainerStyle::AssignedSource(TcxContainerStyleValue Value) const {
  const TcxContainerStyle* s = cxContainerSharedValues.Contains(Value) ? BaseStyle() : this;
  // Controllers cannot form a cycle (SetStyleController refuses one); the bound is a safety net.
  for (int depth = 0; s && depth < 64; ++depth) {
    if (s->FAssignedValues.Contains(Value)) return s;
    TcxStyleController* c = s->BaseStyle()->FStyleController;
    if (!c) return nullptr;
    s = c->Styles()->GetStyle(s->FState);
  }
  return nullptr;
}

TcxContainerStyleValues TcxContainerStyle::AssignedValues() const {
  if (FDirectAccess) {
    TcxContainerStyleValues all;
    for (int i = 0; i < 10; ++i) all.Include(TcxContainerStyleValue(i));
    return all;
  }
  return FAssignedValues;
}

TColor TcxContainerStyle::BorderColor() const {
  if (const TcxContainerStyle* s = AssignedSource(csvBorderColor)) return s->FBorderColor;
  if (FState == 2) return clBtnShadow;
  return IsBaseStyle() ? clWindowFrame : FParentStyle->BorderColor();
}

TcxContainerBorderStyle TcxContainerStyle::BorderStyle() const {
  if (const TcxContainerStyle* s = AssignedSource(csvBorderStyle)) return s->FBorderStyle;
  if (IsBaseStyle()) {
    switch (LookAndFeel()->Kind()) {
      case lfFlat: return cbsFlat;
      case lfStandard: return cbs3D;
      case lfUltraFlat: return cbsUltraFlat;
      case lfOffice11: return cbsOffice11;
    }
    return cbs3D;
  }
  TcxContainerBorderStyle parent = FParentStyle->BorderStyle();
  return (FState == 1 || FState == 3) && HotTrack() ? HotTrackBorder(parent) : parent;
}

TColor TcxContainerStyle::Color() const {
  if (const TcxContainerStyle* s = AssignedSource(csvColor)) return s->FColor;
  return IsBaseStyle() ? clBtnFace : FParentStyle->Color();
}

TcxBorders TcxContainerStyle::Edges() const {
  const TcxContainerStyle* s = AssignedSource(csvEdges);
  return s ? s->FEdges : cxBordersAll;
}

TFont* TcxContainerStyle::Font() const { return BaseStyle()->FFont.get(); }

bool TcxContainerStyle::HotTrack() const {
  const TcxContainerStyle* s = AssignedSource(csvHotTrack);
  return s ? s->FHotTrack : true;
}

bool TcxContainerStyle::Shadow() const {
  const TcxContainerStyle* s = AssignedSource(csvShadow);
  return s ? s->FShadow : false;
}

TColor TcxContainerStyle::TextColor() const {
  if (const TcxContainerStyle* s = AssignedSource(csvTextColor)) return s->FTextColor;
  if (FState == 2) return clBtnShadow;
  if (IsBaseStyle()) return Font() ? Font()->Color() : clWindowText;
  return FParentStyle->TextColor();
}

TFontStyles TcxContainerStyle::TextStyle() const {
  if (const TcxContainerStyle* s = AssignedSource(csvTextStyle)) return s->FTextStyle;
  if (IsBaseStyle()) return Font() ? Font()->Style() : TFontStyles();
  return FParentStyle->TextStyle();
}

bool TcxContainerStyle::TransparentBorder() const {
  const TcxContainerStyle* s = AssignedSource(csvTransparentBorder);
  return s ? s->FTransparentBorder : true;
}

template <class T>
void TcxContainerStyle::Store(TcxContainerStyleValue Value, T TcxContainerStyle::*Field, T NewValue, T Current) {
  TcxContainerStyle* target = Target(Value);
  if (target->FAssignedValues.Contains(Value) && Current == NewValue) return;
  target->*Field = NewValue;
  target->FAssignedValues.Include(Value);
  target->Changed();
}

void TcxContainerStyle::SetBorderColor(TColor Value) {
  Store(csvBorderColor, &TcxContainerStyle::FBorderColor, Value, FBorderColor);
}
void TcxContainerStyle::SetBorderStyle(TcxContainerBorderStyle Value) {
  Store(csvBorderStyle, &TcxContainerStyle::FBorderStyle, Value, FBorderStyle);
}
void TcxContainerStyle::SetColor(TColor Value) { Store(csvColor, &TcxContainerStyle::FColor, Value, FColor); }
void TcxContainerStyle::SetEdges(TcxBorders Value) {
  Store(csvEdges, &TcxContainerStyle::FEdges, Value, BaseStyle()->FEdges);
}
void TcxContainerStyle::SetHotTrack(bool Value) {
  Store(csvHotTrack, &TcxContainerStyle::FHotTrack, Value, BaseStyle()->FHotTrack);
}
void TcxContainerStyle::SetShadow(bool Value) {
  Store(csvShadow, &TcxContainerStyle::FShadow, Value, BaseStyle()->FShadow);
}
void TcxContainerStyle::SetTransparentBorder(bool Value) {
  Store(csvTransparentBorder, &TcxContainerStyle::FTransparentBorder, Value, BaseStyle()->FTransparentBorder);
}
void TcxContainerStyle::SetTextColor(TColor Value) {
  Store(csvTextColor, &TcxContainerStyle::FTextColor, Value, TextColor());
}
void TcxContainerStyle::SetTextStyle(TFontStyles Value) {
  Store(csvTextStyle, &TcxContainerStyle::FTextStyle, Value, TextStyle());
}

void TcxContainerStyle::SetFont(TFont* Value) {
  if (TFont* f = Font()) f->Assign(Value);
}

void TcxContainerStyle::FontChanged() {
  if (FFontAssignedLock == 0) FAssignedValues.Include(csvFont);
  Changed();
}

void TcxContainerStyle::UpdateFont() {
  TcxContainerStyle* base = BaseStyle();
  if (!base->FFont || base->FAssignedValues.Contains(csvFont)) return;
  ++base->FFontAssignedLock;
  struct TUnlock {
    int& Lock;
    ~TUnlock() { --Lock; }
  } unlock{base->FFontAssignedLock};
  const TcxContainerStyle* source = base->FStyleController ? base->AssignedSource(csvFont) : nullptr;
  if (source && source->Font())
    base->FFont->Assign(source->Font());
  else {
    TFont fresh;
    base->FFont->Assign(&fresh);
  }
}

void TcxContainerStyle::SetAssignedValues(TcxContainerStyleValues Value) {
  if (FDirectAccess || FAssignedValues == Value) return;
  FAssignedValues = Value;
  BaseStyle()->UpdateFont();
  Changed();
}

void TcxContainerStyle::Changed() {
  FModified = true;
  if (FUpdateCount > 0) return;
  FModified = false;
  if (!FDestroying && !FDirectAccess && OnChanged) OnChanged(this);
}

void TcxContainerStyle::EndUpdate() {
  if (FUpdateCount > 0) --FUpdateCount;
  if (FUpdateCount == 0 && FModified) Changed();
}

void TcxContainerStyle::RestoreDefaults() {
  BeginUpdate();
  SetAssignedValues({});
  if (IsBaseStyle()) {
    FLookAndFeel->ResetToMaster();
    UpdateFont();
  }
  EndUpdate();
}

bool TcxContainerStyle::GetStyleValue(const std::string& PropertyName, TcxContainerStyleValue& Index) {
  for (int i = 0; i < 10; ++i)
    if (SameText(PropertyName, kStyleValueNames[i])) {
      Index = TcxContainerStyleValue(i);
      return true;
    }
  return false;
}

std::string TcxContainerStyle::GetStyleValueName(TcxContainerStyleValue Index) { return kStyleValueNames[Index]; }

bool TcxContainerStyle::HasBorder() const { return IsBaseStyle() ? true : FParentStyle->HasBorder(); }

bool TcxContainerStyle::IsExtendedStylePropertyPublished(const std::string& PropertyName) const {
  if (SameText(PropertyName, "LookAndFeel") || SameText(PropertyName, "StyleController")) return false;
  TcxContainerStyleValue v;
  if (!GetStyleValue(PropertyName, v)) return true;
  return IsBaseStyle() || !cxContainerSharedValues.Contains(v);
}

void TcxContainerStyle::SetStyleController(TcxStyleController* Value) {
  TcxContainerStyle* base = BaseStyle();
  // A controller whose own styles lead back here would resolve its values through itself.
  for (TcxStyleController* c = Value; c; c = c->Style()->FStyleController)
    if (c->Style() == base) return;
  if (base->FStyleController == Value) return;
  if (base->FStyleController) base->FStyleController->RemoveListener(base);
  base->FStyleController = Value;
  if (Value) Value->AddListener(base);
  base->ControllerChangedNotification(Value);
}

void TcxContainerStyle::ControllerChangedNotification(TcxStyleController*) {
  // Taking the controller's font is part of the one change.
  BeginUpdate();
  UpdateFont();
  Changed();
  EndUpdate();
}

void TcxContainerStyle::ControllerFreeNotification(TcxStyleController* AController) {
  if (AController && AController == ActiveStyleController()) BaseStyle()->FStyleController = nullptr;
}

void TcxContainerStyle::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TcxContainerStyle*>(Source);
  if (!src) return TcxInterfacedPersistent::Assign(Source);
  BeginUpdate();
  if (IsBaseStyle()) {
    SetStyleController(src->ActiveStyleController());
    if (src->LookAndFeel()) FLookAndFeel->Assign(src->LookAndFeel());
  }
  FBorderColor = src->FBorderColor;
  FBorderStyle = src->FBorderStyle;
  FEdges = src->FEdges;
  FHotTrack = src->FHotTrack;
  FShadow = src->FShadow;
  FTransparentBorder = src->FTransparentBorder;
  FColor = src->FColor;
  if (FFont && src->FFont) {
    ++FFontAssignedLock;
    FFont->Assign(src->FFont.get());
    --FFontAssignedLock;
  }
  FTextColor = src->FTextColor;
  FTextStyle = src->FTextStyle;
  if (!FDirectAccess) FAssignedValues = src->FAssignedValues;
  Changed();
  EndUpdate();
}

void TcxContainerStyle::DefineProperties(TFiler* Filer) {
  TcxInterfacedPersistent::DefineProperties(Filer);
  if (!IsBaseStyle() || !FFont) return;
  Filer->DefineProperty(
      "IsFontAssigned", [this](TReader* Reader) {
        if (Reader->ReadBoolean()) FAssignedValues.Include(csvFont);
      },
      [](TWriter* Writer) { Writer->WriteBoolean(true); }, IsFontStored());
}

// ---- the four styles

TcxContainerStyles::TcxContainerStyles(TPersistent* AOwner) {
  FStyles[0] = std::make_unique<TcxContainerStyle>(AOwner, 0, nullptr);
  for (int i = 1; i < 4; ++i) FStyles[i] = std::make_unique<TcxContainerStyle>(AOwner, i, FStyles[0].get());
}

TcxContainerStyles::~TcxContainerStyles() {
  for (int i = 3; i >= 0; --i) FStyles[i].reset();
}

void TcxContainerStyles::SetOnChanged(const TNotifyEvent& Handler) {
  for (auto& s : FStyles) s->OnChanged = Handler;
}

// ---- style controller

TcxStyleController::TcxStyleController(TComponent* AOwner) : TcxScalableComponent(AOwner) {
  FStyles = std::make_unique<TcxContainerStyles>(this);
  FStyles->SetOnChanged([this](TObject*) { Changed(); });
}

TcxStyleController::~TcxStyleController() {
  FDestroying = true;
  std::vector<TcxContainerStyle*> listeners = FListeners;
  for (auto it = listeners.rbegin(); it != listeners.rend(); ++it) (*it)->ControllerFreeNotification(this);
  FListeners.clear();
  FStyles.reset();
}

void TcxStyleController::Loaded() {
  TcxScalableComponent::Loaded();
  Changed();
}

void TcxStyleController::AddListener(TcxContainerStyle* Style) {
  if (!Style || std::find(FListeners.begin(), FListeners.end(), Style) != FListeners.end()) return;
  FListeners.push_back(Style);
  if (Style->LookAndFeel()) Style->LookAndFeel()->AttachMaster(this->Style()->LookAndFeel());
}

void TcxStyleController::RemoveListener(TcxContainerStyle* Style) {
  auto it = std::find(FListeners.begin(), FListeners.end(), Style);
  if (it == FListeners.end()) return;
  FListeners.erase(it);
  if (Style->LookAndFeel()) Style->LookAndFeel()->AttachMaster(nullptr);
}

void TcxStyleController::Changed() {
  if (OnStyleChanged) OnStyleChanged(this);
  if (FDestroying) return;
  std::vector<TcxContainerStyle*> listeners = FListeners;
  for (TcxContainerStyle* s : listeners) s->ControllerChangedNotification(this);
}

void TcxStyleController::ChangeScale(int M, int D) {
  for (int i = 0; i < 4; ++i) {
    TcxContainerStyle* s = FStyles->GetStyle(i);
    if (s->AssignedValues().Contains(csvFont)) s->Font()->SetHeight(MulDiv(s->Font()->Height(), M, D));
  }
}

// ---- view info

void TcxContainerViewInfo::DrawBorder(TcxCanvas* ACanvas, const TRect& R) {
  if (Painter) Painter->DrawContainerFrame(ACanvas, R, BorderStyle, BorderWidth, BorderColor, Edges);
}

void TcxContainerViewInfo::InternalPaint(TcxCanvas* ACanvas) {
  TRect r = BorderRect;
  r.Left -= BorderWidth;
  r.Top -= BorderWidth;
  if (Edges.Contains(bRight)) r.Right += BorderWidth;
  if (Edges.Contains(bBottom)) r.Bottom += BorderWidth;
  if (Shadow) {
    TRect right(r.Right, r.Top + 3, r.Right + 3, r.Bottom + 3);
    TRect bottom(r.Left + 3, r.Bottom, r.Right, r.Bottom + 3);
    ACanvas->FillRectWithColor(right, clBtnShadow);
    ACanvas->FillRectWithColor(bottom, clBtnShadow);
    ACanvas->ClipOutRect(right);
    ACanvas->ClipOutRect(bottom);
  }
  if (!Edges.Contains(bRight)) r.Right += BorderWidth;
  if (!Edges.Contains(bBottom)) r.Bottom += BorderWidth;
  DrawBorder(ACanvas, r);
  ACanvas->FillRectWithColor(BorderRect, BackgroundColor);
}

void TcxContainerViewInfo::Offset(int DX, int DY) {
  BorderRect = BorderRect.Offset(DX, DY);
  Bounds = Bounds.Offset(DX, DY);
  ClientRect = ClientRect.Offset(DX, DY);
}

void TcxContainerViewInfo::UpdateStyle(TcxContainerStyle* Style) {
  TcxLookAndFeel* lf = Style->LookAndFeel();
  Painter = lf ? lf->ActivePainter() : nullptr;
  UsesSkinPainter = lf && lf->SkinPainter() != nullptr;
}

void cxContainerInitialize() {
  if (gUnitCount++ > 0) return;
  RegisterClass<TcxStyleController, TcxScalableComponent>();
  InitializePopupClosing();
}

void cxContainerFinalize() {
  if (gUnitCount == 0 || --gUnitCount > 0) return;
  FinalizePopupClosing();
}
