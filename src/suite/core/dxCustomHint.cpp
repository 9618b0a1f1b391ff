#include "suite/core/dxCustomHint.h"

#include <algorithm>
#include <map>

#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/cxLookAndFeels.h"

namespace {

int gUnitCount = 0;
TcxHintController* gHintController = nullptr;

struct TRegisteredStyle {
  TcxHintStyleClass Class;
  std::string Description;
};
std::vector<TRegisteredStyle>& RegisteredStyles() {
  static std::vector<TRegisteredStyle> list;
  return list;
}

}  // namespace

// ---- hint window and style

TcxCustomHintWindow::TcxCustomHintWindow(TComponent* AOwner) : TcxBaseHintWindow(AOwner) {}

TcxCustomHintStyle::TcxCustomHintStyle(TPersistent* AOwner) : TcxInterfacedPersistent(AOwner) {}

TcxCustomHintStyleController* TcxCustomHintStyle::Controller() const {
  return dynamic_cast<TcxCustomHintStyleController*>(Owner());
}

void cxRegisterHintStyle(TcxHintStyleClass AStyleClass, const std::string& ADescription) {
  if (!AStyleClass || cxFindHintStyleClass(AStyleClass->ClassName)) return;
  RegisteredStyles().push_back({AStyleClass, ADescription});
}

void cxUnregisterHintStyle(TcxHintStyleClass AStyleClass) {
  auto& list = RegisteredStyles();
  std::erase_if(list, [&](const TRegisteredStyle& s) { return s.Class == AStyleClass; });
}

TcxHintStyleClass cxFindHintStyleClass(const std::string& AClassName) {
  for (const TRegisteredStyle& s : RegisteredStyles())
    if (SameText(s.Class->ClassName, AClassName)) return s.Class;
  return nullptr;
}

std::string cxHintStyleDescription(TcxHintStyleClass AStyleClass) {
  for (const TRegisteredStyle& s : RegisteredStyles())
    if (s.Class == AStyleClass) return s.Description;
  return {};
}

// ---- style controller

TcxCustomHintStyleController::TcxCustomHintStyleController(TComponent* AOwner,
                                                           TcxHintStyleClass AStyleClass)
    : TComponent(AOwner), FHintStyleClass(AStyleClass) {
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  CreateHintStyle();
  if (gHintController) gHintController->Register(this);
}

TcxCustomHintStyleController::~TcxCustomHintStyleController() {
  FDestroying = true;
  std::vector<TObject*> listeners = FListeners;
  for (TObject* l : listeners)
    if (auto* i = dynamic_cast<IcxHintStyleListener*>(l)) i->HintStyleNotification(this, true);
  if (gHintController) gHintController->Unregister(this);
  DestroyHintStyle();
  FLookAndFeel.reset();
}

void TcxCustomHintStyleController::CreateHintStyle() {
  if (TcxHintStyleClass c = HintStyleClass()) {
    FHintStyle.reset(c->Create(this));
    FHintStyle->SetChangeHandler([this] { Changed(); });
  }
  FHintWindow = static_cast<TcxCustomHintWindow*>(HintWindowClass()(this));
}

void TcxCustomHintStyleController::DestroyHintStyle() {
  delete FHintWindow;
  FHintWindow = nullptr;
  FHintStyle.reset();
}

THintWindowClass TcxCustomHintStyleController::HintWindowClass() const {
  return FHintStyle ? FHintStyle->HintWindowClass() : &MakeHintWindow<TcxCustomHintWindow>;
}

std::string TcxCustomHintStyleController::HintStyleClassName() const {
  return FHintStyleClass ? FHintStyleClass->ClassName : std::string();
}

void TcxCustomHintStyleController::SetHintStyleClassName(const std::string& Value) {
  TcxHintStyleClass c = cxFindHintStyleClass(Value);
  if (c == FHintStyleClass) return;
  DestroyHintStyle();
  FHintStyleClass = c;
  CreateHintStyle();
  // The application shows hints in the new window class from now on.
  if (gHintController) gHintController->Register(this);
  Changed();
}

void TcxCustomHintStyleController::SetPause(int& Field, int Value) {
  if (Field == Value) return;
  Field = Value;
  if (!IsDesigning() && FUpdateCount == 0) ApplyPauses();
}

void TcxCustomHintStyleController::ApplyPauses() {
  Application->SetHintShortPause(FHintShortPause);
  Application->SetHintPause(FHintPause);
  Application->SetHintHidePause(FHintHidePause);
}

void TcxCustomHintStyleController::EndUpdate() {
  if (FUpdateCount == 0) return;
  if (--FUpdateCount == 0 && !IsDesigning()) ApplyPauses();
}

void TcxCustomHintStyleController::Loaded() {
  TComponent::Loaded();
  if (!IsDesigning()) ApplyPauses();
  Changed();
}

void TcxCustomHintStyleController::Changed() {
  if (FDestroying) return;
  if (OnHintStyleChanged) OnHintStyleChanged(this, FHintStyle.get());
  std::vector<TObject*> listeners = FListeners;
  for (TObject* l : listeners) NotifyListener(l);
}

void TcxCustomHintStyleController::NotifyListener(TObject* Listener) {
  if (auto* i = dynamic_cast<IcxHintStyleListener*>(Listener)) i->HintStyleNotification(this, false);
  if (OnHintStyleChanged) OnHintStyleChanged(Listener, FHintStyle.get());
}

void TcxCustomHintStyleController::AddListener(TObject* Listener) {
  if (!Listener || std::find(FListeners.begin(), FListeners.end(), Listener) != FListeners.end()) return;
  FListeners.push_back(Listener);
}

void TcxCustomHintStyleController::RemoveListener(TObject* Listener) {
  if (FDestroying) return;
  std::erase(FListeners, Listener);
}

void TcxCustomHintStyleController::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && FHintStyle) FHintStyle->ComponentRemoved(AComponent);
}

void TcxCustomHintStyleController::Assign(TPersistent* Source) {
  auto* src = dynamic_cast<TcxCustomHintStyleController*>(Source);
  if (!src) return TComponent::Assign(Source);
  BeginUpdate();
  OnHintStyleChanged = src->OnHintStyleChanged;
  OnShowHint = src->OnShowHint;
  OnShowHintEx = src->OnShowHintEx;
  SetHintShortPause(src->HintShortPause());
  SetHintPause(src->HintPause());
  SetHintHidePause(src->HintHidePause());
  SetHintStyleClassName(src->HintStyleClassName());
  if (FHintStyle && src->HintStyle()) FHintStyle->Assign(src->HintStyle());
  FLookAndFeel->Assign(src->LookAndFeel());
  EndUpdate();
}

void TcxCustomHintStyleController::DoShowHint(std::string& HintStr, bool& CanShow, THintInfo& HintInfo) {
  HintInfo.HintWindowClass = HintWindowClass();
  if (FHintStyle) FHintStyle->ShowHint(HintStr, CanShow, HintInfo);
  if (OnShowHint) OnShowHint(this, HintStr, CanShow, HintInfo);
  std::string caption;
  if (OnShowHintEx) OnShowHintEx(this, caption, HintStr, CanShow, HintInfo);
  if (FHintWindow) FHintWindow->SetHintCaption(caption);
}

// ---- hint controller

TcxHintController::TcxHintController() : TComponent(nullptr) {}

TcxHintController::~TcxHintController() {
  SetHintedControl(nullptr);
  // Controllers still alive at shut-down give the application its own hint handling back.
  if (!FControllers.empty()) {
    Application->OnShowHint = FSavedOnShowHint;
    HintWindowClass = FSavedHintWindowClass;
  }
}

void TcxHintController::Register(TcxCustomHintStyleController* Controller) {
  if (!Controller || Controller->IsDesigning()) return;
  bool known = std::find(FControllers.begin(), FControllers.end(), Controller) != FControllers.end();
  if (FControllers.empty()) {
    Controller->FGlobal = true;
    FSavedOnShowHint = Application->OnShowHint;
    Application->OnShowHint = [this](std::string& HintStr, bool& CanShow, THintInfo& HintInfo) {
      ShowHintHandler(HintStr, CanShow, HintInfo);
    };
    FSavedHintWindowClass = HintWindowClass;
  }
  HintWindowClass = Controller->HintWindowClass();
  if (!known) FControllers.push_back(Controller);
}

void TcxHintController::Unregister(TcxCustomHintStyleController* Controller) {
  if (!Controller || Controller->IsDesigning()) return;
  auto it = std::find(FControllers.begin(), FControllers.end(), Controller);
  if (it == FControllers.end()) return;
  bool wasLast = it + 1 == FControllers.end();
  FControllers.erase(it);
  if (wasLast && HintWindowClass == Controller->HintWindowClass())
    HintWindowClass = FControllers.empty() ? FSavedHintWindowClass : FControllers.back()->HintWindowClass();
  if (FControllers.empty()) {
    Application->OnShowHint = FSavedOnShowHint;
    FSavedOnShowHint = nullptr;
  }
}

void TcxHintController::SetHintedControl(TControl* Value) {
  if (FHintedControl == Value) return;
  if (FHintedControl) FHintedControl->RemoveFreeNotification(this);
  FHintedControl = Value;
  if (FHintedControl) FHintedControl->FreeNotification(this);
}

void TcxHintController::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == TOperation::opRemove && AComponent == FHintedControl) FHintedControl = nullptr;
}

TControl* TcxHintController::HintedControl() const {
  if (FHintedControl) return FHintedControl;
  HWND capture = GetCapture();
  if (capture) return FindPlatformControl(capture);
  TPoint p = GetMouseScreenPos();
  if (HWND w = WindowAtScreenPoint(p)) {
    TWinControl* c = FindPlatformControl(w);
    if (c) {
      TPoint local = c->ScreenToClient(p);
      if (TControl* inner = c->ControlAtPos(local, false)) return inner;
    }
    return c;
  }
  return nullptr;
}

TcxCustomHintStyleController* TcxHintController::ActiveController() const {
  TControl* control = HintedControl();
  for (TControl* c = control; c; c = c->Parent())
    if (auto* found = FindComponentOfClass<TcxCustomHintStyleController>(c)) return found;
  if (auto* inner = dynamic_cast<IcxContainerInnerControl*>(control))
    if (auto* found = FindComponentOfClass<TcxCustomHintStyleController>(inner->ControlContainer()))
      return found;
  for (auto it = FControllers.rbegin(); it != FControllers.rend(); ++it)
    if ((*it)->Global()) return *it;
  return nullptr;
}

void TcxHintController::ShowHintHandler(std::string& HintStr, bool& CanShow, THintInfo& HintInfo) {
  SetHintedControl(HintInfo.HintControl);
  if (TcxCustomHintStyleController* c = ActiveController()) c->DoShowHint(HintStr, CanShow, HintInfo);
  if (FSavedOnShowHint) FSavedOnShowHint(HintStr, CanShow, HintInfo);
  if (!CanShow || HintStr.empty()) SetHintedControl(nullptr);
}

TcxCustomLookAndFeelPainter* TcxHintController::HintPainter() const {
  TcxCustomHintStyleController* c = ActiveController();
  if (c && c->UseControlLookAndFeel())
    if (auto* container = dynamic_cast<IcxLookAndFeelContainer*>(HintedControl()))
      if (TcxLookAndFeel* lf = container->GetLookAndFeel()) return lf->ActivePainter();
  if (c) return c->LookAndFeel()->ActivePainter();
  return RootLookAndFeelInstance() ? RootLookAndFeelInstance()->ActivePainter() : nullptr;
}

TcxHintController* cxHintController() { return gHintController; }

// ---- plain hint view info

TdxHintViewInfoHelper::TdxHintViewInfoHelper(const std::string& AHint, const std::string& AShortCut,
                                             TPoint APosition)
    : FText(AHint.empty() ? std::string() : AHint + AShortCut), FPosition(APosition) {}

void TdxHintViewInfoHelper::CorrectMinSize(TSize& Size) {
  Size.cx += 6;
  Size.cy += 6;
}

TRect TdxHintViewInfoHelper::GetTextRect() {
  return TRect(FBounds.Left + 3, FBounds.Top + 3, FBounds.Right - 1, FBounds.Bottom - 1);
}

void TdxHintViewInfoHelper::ApplyHintFont(TcxCanvas* ACanvas) {
  NONCLIENTMETRICS metrics;
  metrics.cbSize = 340;
  if (SystemParametersInfo(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0))
    ACanvas->CurrentFont()->SetHandle(CreateFontIndirect(&metrics.lfStatusFont));
  else
    ACanvas->CurrentFont()->SetSize(8);
}

void TdxHintViewInfoHelper::ApplyTextColor(TcxCanvas* ACanvas) {
  ACanvas->CurrentFont()->SetColor(Screen->HintFont()->Color());
}

void TdxHintViewInfoHelper::Calculate(TcxCanvas* ACanvas) {
  ApplyHintFont(ACanvas);
  ApplyTextColor(ACanvas);
  if (FText.empty()) {
    FBounds = TRect();
    return;
  }
  TRect r(0, 0, DesktopWorkAreaAt(GetMouseScreenPos()).Width(), 0);
  RECT rr = r;
  SelectCanvasObjects(ACanvas);
  ::DrawText(ACanvas->CurrentDC(), FText.c_str(), -1, &rr, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  TSize size{rr.right - rr.left, rr.bottom - rr.top};
  CorrectMinSize(size);
  FBounds = TRect(0, 0, size.cx, size.cy);
}

void TdxHintViewInfoHelper::DrawText(TcxCanvas* ACanvas) {
  RECT r = GetTextRect();
  SelectCanvasObjects(ACanvas);
  HDC dc = ACanvas->CurrentDC();
  int mode = SetBkMode(dc, TRANSPARENT);
  ::DrawText(dc, FText.c_str(), -1, &r, DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX);
  SetBkMode(dc, mode);
}

void TdxHintViewInfoHelper::Paint(TcxCanvas* ACanvas) {
  ApplyHintFont(ACanvas);
  RECT b = FBounds;
  DrawEdge(ACanvas->CurrentDC(), &b, BDR_RAISEDOUTER, BF_RECT);
  DrawText(ACanvas);
}

void SelectCanvasObjects(TcxCanvas* ACanvas) { ACanvas->Canvas()->TextExtent(std::string()); }

TdxCustomHintViewInfo::~TdxCustomHintViewInfo() { DestroyHelper(); }

TdxCustomHintViewInfoHelper* TdxCustomHintViewInfo::Helper() {
  if (!FHelper) FHelper = CreateHelper();
  return FHelper;
}

void TdxCustomHintViewInfo::DestroyHelper() {
  delete FHelper;
  FHelper = nullptr;
}

void dxCustomHintInitialize() {
  if (gUnitCount++ > 0) return;
  gHintController = new TcxHintController();
}

void dxCustomHintFinalize() {
  if (gUnitCount == 0 || --gUnitCount > 0) return;
  delete gHintController;
  gHintController = nullptr;
  RegisteredStyles().clear();
}
