#include "suite/core/cxLookAndFeels.h"

#include <algorithm>

#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Messages.h"
#include "suite/core/dxOffice11.h"

namespace {
TcxLookAndFeel* gRootLookAndFeel = nullptr;
int gControllerCount = 0;
const bool gUseSkins = true;
TcxSystemPaletteChangedListener* gPaletteListener = nullptr;
int gPaletteListenerUsers = 0;

bool IsController(IcxLookAndFeelChangeListener* L) {
  return dynamic_cast<TcxLookAndFeelController*>(L->ListenerObject()) != nullptr;
}
}  // namespace

TcxPainterStyle LookAndFeelKindToPainterStyle(TcxLookAndFeelKind Kind) {
  static const TcxPainterStyle map[] = {psFlat, psStandard, psUltraFlat, psOffice11};
  return map[Kind];
}

TcxLookAndFeel* RootLookAndFeelInstance() { return gRootLookAndFeel; }
int LookAndFeelControllerCount() { return gControllerCount; }
bool cxUseSkins() { return gUseSkins; }

// ---- system colour changes

TcxSystemPaletteChangedListener::TcxSystemPaletteChangedListener() {
  Office11ColorsAddRef();
  FWindow = AllocateHWnd([this](TMessage& M) { WndProc(M); });
}

TcxSystemPaletteChangedListener::~TcxSystemPaletteChangedListener() {
  if (FWindow) DeallocateHWnd(FWindow);
  Office11ColorsRelease();
}

void TcxSystemPaletteChangedListener::Subscribe(TcxSystemPaletteChangedNotifier* Notifier) {
  (Notifier->Primary() ? FPrimaryNotifiers : FNotifiers).push_back(Notifier);
}

void TcxSystemPaletteChangedListener::Unsubscribe(TcxSystemPaletteChangedNotifier* Notifier) {
  auto& list = Notifier->Primary() ? FPrimaryNotifiers : FNotifiers;
  list.erase(std::remove(list.begin(), list.end(), Notifier), list.end());
}

void TcxSystemPaletteChangedListener::WndProc(TMessage& Message) {
  Message.Result = DefWindowProc(FWindow, Message.Msg, Message.WParam, Message.LParam);
  if (Message.Msg == WM_SYSCOLORCHANGE) Broadcast();
}

void TcxSystemPaletteChangedListener::Broadcast() {
  Office11ColorsRefresh();
  // A notifier may unsubscribe itself while it reacts; the index is checked each time.
  for (auto* list : {&FPrimaryNotifiers, &FNotifiers})
    for (int i = int(list->size()) - 1; i >= 0; --i) {
      if (i >= int(list->size())) continue;
      (*list)[i]->SignalChange();
    }
}

TcxSystemPaletteChangedListener* AcquirePaletteListener() {
  if (gPaletteListenerUsers++ == 0) gPaletteListener = new TcxSystemPaletteChangedListener();
  return gPaletteListener;
}

void ReleasePaletteListener() {
  if (gPaletteListenerUsers == 0) return;
  if (--gPaletteListenerUsers == 0) {
    delete gPaletteListener;
    gPaletteListener = nullptr;
  }
}

TcxSystemPaletteChangedListener* CurrentPaletteListener() { return gPaletteListener; }

TcxSystemPaletteChangedNotifier::TcxSystemPaletteChangedNotifier(bool Primary) : FPrimary(Primary) {
  AcquirePaletteListener()->Subscribe(this);
}

TcxSystemPaletteChangedNotifier::~TcxSystemPaletteChangedNotifier() {
  if (gPaletteListener) gPaletteListener->Unsubscribe(this);
  ReleasePaletteListener();
}

// ---- look and feel

TcxLookAndFeel::TcxLookAndFeel(TPersistent* AOwner) : TcxInterfacedPersistent(AOwner) {
  Construct();
}

TcxLookAndFeel::TcxLookAndFeel(TPersistent* AOwner, TRootTag) : TcxInterfacedPersistent(AOwner) {
  FIsRoot = true;
  Construct();
}

TcxLookAndFeel* TcxLookAndFeel::CreateRoot() { return new TcxLookAndFeel(nullptr, TRootTag{}); }

void TcxLookAndFeel::Construct() {
  FData = TcxLookAndFeelData{lfUltraFlat, false, {}, false};
  FCurrentState = FData;
  FPaletteNotifier = new TcxSystemPaletteChangedNotifier(false);
  FPaletteNotifier->OnSystemPaletteChanged = [this] { SystemPaletteChanged(); };
  if (gRootLookAndFeel && !FIsRoot) {
    gRootLookAndFeel->AttachListener(this);
    RefreshCurrentState();
  }
  RefreshPainter();
}

TcxLookAndFeel::~TcxLookAndFeel() {
  delete FPaletteNotifier;
  FPaletteNotifier = nullptr;
  // The root stops being reachable first, so that its followers recompute to the defaults
  // instead of keeping the values of an object that is going away.
  if (FIsRoot && gRootLookAndFeel == this) gRootLookAndFeel = nullptr;
  NotifyDestroying();
  FChangeListeners.clear();
  if (TcxLookAndFeel* m = EffectiveMaster()) m->DetachListener(this);
}

void TcxLookAndFeel::Assign(TPersistent* Source) {
  if (auto* src = dynamic_cast<TcxLookAndFeel*>(Source)) {
    RememberState();
    FData = src->FData;
    FAssignedValues = src->FAssignedValues;
    AttachMaster(src->EffectiveMaster());
    NotifyDifferences();
  } else {
    TcxInterfacedPersistent::Assign(Source);
  }
}

void TcxLookAndFeel::SetAssignedValues(TcxLookAndFeelValues Value) {
  if (Value == FAssignedValues) return;
  RememberState();
  FAssignedValues = Value;
  NotifyDifferences();
}

void TcxLookAndFeel::SetKind(TcxLookAndFeelKind Value) {
  TcxLookAndFeelKind prev = Kind();
  FAssignedValues.Include(lfvKind);
  FData.Kind = Value;
  if (ResolvedKind() != prev) NotifyChanged({lfvKind});
}

void TcxLookAndFeel::SetNativeStyle(bool Value) {
  bool prev = NativeStyle();
  FAssignedValues.Include(lfvNativeStyle);
  FData.NativeStyle = Value;
  if (ResolvedNativeStyle() != prev) NotifyChanged({lfvNativeStyle});
}

void TcxLookAndFeel::SetSkinName(const TdxSkinName& Value) {
  TdxSkinName prev = SkinName();
  FAssignedValues.Include(lfvSkinName);
  FData.SkinName = Value;
  if (ResolvedSkinName() != prev) NotifyChanged({lfvSkinName});
}

bool TcxLookAndFeel::StoresEmptySkinName() const {
  return FAssignedValues.Contains(lfvSkinName) && SkinName().empty();
}

TcxLookAndFeel* TcxLookAndFeel::EffectiveMaster() const {
  if (FIsRoot) return nullptr;
  return FMaster ? FMaster : gRootLookAndFeel;
}

void TcxLookAndFeel::ApplyStyleIndex(int Index) {
  static const TcxLookAndFeelKind kinds[] = {lfFlat,     lfStandard, lfUltraFlat,
                                             lfStandard, lfOffice11, lfUltraFlat};
  SetNativeStyle(Index == 3);
  if (!NativeStyle() && Index >= 0 && Index < 6) SetKind(kinds[Index]);
}

void TcxLookAndFeel::AttachMaster(TcxLookAndFeel* NewMaster) {
  if (FIsRoot || NewMaster == this || NewMaster == EffectiveMaster()) return;
  // A master that follows this object, directly or further down, would make a loop.
  for (TcxLookAndFeel* m = NewMaster; m; m = m->EffectiveMaster())
    if (m == this) return;
  RememberState();
  if (TcxLookAndFeel* m = EffectiveMaster()) m->DetachListener(this);
  FMaster = NewMaster;
  if (TcxLookAndFeel* m = EffectiveMaster()) m->AttachListener(this);
  NotifyDifferences();
}

TcxCustomLookAndFeelPainter* TcxLookAndFeel::FindSkinPainter(const TdxSkinName& Name) const {
  if (!gUseSkins || Name.empty() || !cxLookAndFeelPaintersManager()) return nullptr;
  return cxLookAndFeelPaintersManager()->PainterForName(Name);
}

void TcxLookAndFeel::RefreshCurrentState() {
  FCurrentState.Kind = ResolvedKind();
  FCurrentState.NativeStyle = ResolvedNativeStyle();
  FCurrentState.SkinName = ResolvedSkinName();
  FCurrentState.SkinsEnabled = gUseSkins;
  FSkinPainter = FCurrentState.NativeStyle ? nullptr : ResolvedSkinPainter();
}

void TcxLookAndFeel::RefreshPainter() { FActivePainter = PainterFor({}); }

TcxLookAndFeelKind TcxLookAndFeel::ResolvedKind() const {
  return FAssignedValues.Contains(lfvKind) ? FData.Kind : MasterKind();
}

bool TcxLookAndFeel::ResolvedNativeStyle() const {
  return FAssignedValues.Contains(lfvNativeStyle) ? FData.NativeStyle : MasterNativeStyle();
}

TdxSkinName TcxLookAndFeel::ResolvedSkinName() const {
  return FAssignedValues.Contains(lfvSkinName) ? FData.SkinName : MasterSkinName();
}

TcxCustomLookAndFeelPainter* TcxLookAndFeel::ResolvedSkinPainter() const {
  return FAssignedValues.Contains(lfvSkinName) ? FindSkinPainter(FData.SkinName)
                                               : MasterSkinPainter();
}

TcxLookAndFeelKind TcxLookAndFeel::MasterKind() const {
  TcxLookAndFeel* m = EffectiveMaster();
  return m ? m->Kind() : lfUltraFlat;
}

bool TcxLookAndFeel::MasterNativeStyle() const {
  TcxLookAndFeel* m = EffectiveMaster();
  return m ? m->NativeStyle() : false;
}

TdxSkinName TcxLookAndFeel::MasterSkinName() const {
  TcxLookAndFeel* m = EffectiveMaster();
  return m ? m->SkinName() : TdxSkinName();
}

TcxCustomLookAndFeelPainter* TcxLookAndFeel::MasterSkinPainter() const {
  TcxLookAndFeel* m = EffectiveMaster();
  return m ? m->FindSkinPainter(m->SkinName()) : nullptr;
}

TcxPainterStyle TcxLookAndFeel::PainterStyle() const {
  if (NativeStyle() && IsThemingAvailable({})) return psNative;
  if (FSkinPainter) return psSkin;
  return LookAndFeelKindToPainterStyle(Kind());
}

TcxCustomLookAndFeelPainter* TcxLookAndFeel::PainterFor(
    const TdxThemedObjectTypes& ThemedObjects) const {
  TcxLookAndFeelPaintersManager* manager = cxLookAndFeelPaintersManager();
  if (!manager) return nullptr;
  if (NativeStyle() && IsThemingAvailable(ThemedObjects)) return manager->PainterForKind(psNative);
  if (FSkinPainter) return FSkinPainter;
  return manager->PainterForKind(PainterStyle());
}

void TcxLookAndFeel::AttachListener(IcxLookAndFeelChangeListener* Listener) {
  if (!Listener) return;
  bool controller = IsController(Listener);
  if (controller && !FIsRoot) return;
  if (std::find(FChangeListeners.begin(), FChangeListeners.end(), Listener) !=
      FChangeListeners.end())
    return;
  if (controller) ++gControllerCount;
  FChangeListeners.push_back(Listener);
}

void TcxLookAndFeel::DetachListener(IcxLookAndFeelChangeListener* Listener) {
  if (!Listener) return;
  auto it = std::find(FChangeListeners.begin(), FChangeListeners.end(), Listener);
  if (it == FChangeListeners.end()) return;
  if (!FBeingDestroyed) FChangeListeners.erase(it);
  if (IsController(Listener) && FIsRoot) {
    if (gControllerCount > 0 && --gControllerCount == 0) ResetToMaster();
  }
}

void TcxLookAndFeel::MasterChanged(TcxLookAndFeel*, TcxLookAndFeelValues ChangedValues) {
  NotifyChanged(ChangedValues - FAssignedValues);
}

void TcxLookAndFeel::MasterDestroying(TcxLookAndFeel*) {
  if (EffectiveMaster()) {
    AttachMaster(nullptr);
  } else {
    // The root itself is going: nothing to attach to, the values become the defaults.
    RememberState();
    FMaster = nullptr;
    NotifyDifferences();
  }
}

void TcxLookAndFeel::RememberState() {
  FPreviousState.Kind = Kind();
  FPreviousState.NativeStyle = NativeStyle();
  FPreviousState.SkinName = SkinName();
}

void TcxLookAndFeel::NotifyDifferences() {
  TcxLookAndFeelValues changed;
  if (ResolvedKind() != FPreviousState.Kind) changed.Include(lfvKind);
  if (ResolvedNativeStyle() != FPreviousState.NativeStyle) changed.Include(lfvNativeStyle);
  if (ResolvedSkinName() != FPreviousState.SkinName) changed.Include(lfvSkinName);
  NotifyChanged(changed);
}

void TcxLookAndFeel::NotifyChanged(TcxLookAndFeelValues ChangedValues) {
  if (FBeingDestroyed) return;
  if (ChangedValues.Empty() && FCurrentState.SkinsEnabled == gUseSkins) return;
  RefreshCurrentState();
  RefreshPainter();
  NotifyListeners(ChangedValues);
  if (OnChanged) OnChanged(this, ChangedValues);
}

void TcxLookAndFeel::NotifyListeners(TcxLookAndFeelValues ChangedValues) {
  // A listener that leaves during its call must not make its successor be skipped, and one that
  // joins must not make the walk call the same listener again and again.
  size_t i = 0;
  while (i < FChangeListeners.size()) {
    size_t before = FChangeListeners.size();
    FChangeListeners[i]->MasterChanged(this, ChangedValues);
    if (FChangeListeners.size() >= before) ++i;
  }
}

void TcxLookAndFeel::NotifyDestroying() {
  FBeingDestroyed = true;
  size_t count = FChangeListeners.size();
  for (size_t i = 0; i < count && i < FChangeListeners.size(); ++i)
    FChangeListeners[i]->MasterDestroying(this);
  FBeingDestroyed = false;
}

void TcxLookAndFeel::DefineProperties(TFiler* Filer) {
  TcxInterfacedPersistent::DefineProperties(Filer);
  Filer->DefineProperty(
      "SkinName", [this](TReader* Reader) { SetSkinName(Reader->ReadString()); },
      [this](TWriter* Writer) { Writer->WriteString(SkinName()); }, StoresEmptySkinName());
}

// ---- controller

TcxLookAndFeelController::TcxLookAndFeelController(TComponent* AOwner) : TComponent(AOwner) {
  if (gRootLookAndFeel) gRootLookAndFeel->AttachListener(this);
}

TcxLookAndFeelController::~TcxLookAndFeelController() {
  if (gRootLookAndFeel) gRootLookAndFeel->DetachListener(this);
}

TcxLookAndFeelKind TcxLookAndFeelController::Kind() const {
  return gRootLookAndFeel ? gRootLookAndFeel->Kind() : lfUltraFlat;
}
void TcxLookAndFeelController::SetKind(TcxLookAndFeelKind Value) {
  if (gRootLookAndFeel) gRootLookAndFeel->SetKind(Value);
}
bool TcxLookAndFeelController::NativeStyle() const {
  return gRootLookAndFeel ? gRootLookAndFeel->NativeStyle() : false;
}
void TcxLookAndFeelController::SetNativeStyle(bool Value) {
  if (gRootLookAndFeel) gRootLookAndFeel->SetNativeStyle(Value);
}
TdxSkinName TcxLookAndFeelController::SkinName() const {
  return gRootLookAndFeel ? gRootLookAndFeel->SkinName() : TdxSkinName();
}
void TcxLookAndFeelController::SetSkinName(const TdxSkinName& Value) {
  if (gRootLookAndFeel) gRootLookAndFeel->SetSkinName(Value);
}
void TcxLookAndFeelController::ResetToDefaults() {
  SetKind(lfUltraFlat);
  SetNativeStyle(false);
  SetSkinName({});
}

// ---- the unit

void RegisterLookAndFeelClasses() {
  if (FindClassInfo(typeid(TcxLookAndFeelController))) return;
  RegisterEnumNames<TcxLookAndFeelKind>({"lfFlat", "lfStandard", "lfUltraFlat", "lfOffice11"});
  RegisterEnumNames<TcxLookAndFeelValue>({"lfvKind", "lfvNativeStyle", "lfvSkinName"});
  if (!FindClassInfo(typeid(TcxInterfacedPersistent)))
    RegisterClass<TcxInterfacedPersistent, TPersistent>();
  RegisterClass<TcxLookAndFeel, TcxInterfacedPersistent>();
  // Kind, NativeStyle and SkinName read the effective values, so only what was assigned is
  // stored; the published SkinName skips an empty text, which DefineProperties covers.
  Published<TcxLookAndFeel>()
      .Property("AssignedValues", &TcxLookAndFeel::AssignedValues,
                &TcxLookAndFeel::SetAssignedValues)
      .Property("Kind", &TcxLookAndFeel::Kind, &TcxLookAndFeel::SetKind)
      .Stored([](TcxLookAndFeel* L) { return L->AssignedValues().Contains(lfvKind); })
      .Property("NativeStyle", &TcxLookAndFeel::NativeStyle, &TcxLookAndFeel::SetNativeStyle)
      .Stored([](TcxLookAndFeel* L) { return L->AssignedValues().Contains(lfvNativeStyle); })
      .Property("SkinName", &TcxLookAndFeel::SkinName, &TcxLookAndFeel::SetSkinName)
      .Stored([](TcxLookAndFeel* L) { return L->AssignedValues().Contains(lfvSkinName); });
  RegisterClass<TcxLookAndFeelController, TComponent>();
  Published<TcxLookAndFeelController>()
      .Property("Kind", &TcxLookAndFeelController::Kind, &TcxLookAndFeelController::SetKind)
      .Property("NativeStyle", &TcxLookAndFeelController::NativeStyle,
                &TcxLookAndFeelController::SetNativeStyle)
      .Property("SkinName", &TcxLookAndFeelController::SkinName,
                &TcxLookAndFeelController::SetSkinName)
      .Stored([](TcxLookAndFeelController* C) { return !C->SkinName().empty(); });
}

void cxLookAndFeelsInitialize() {
  RegisterLookAndFeelClasses();
  if (!gRootLookAndFeel) gRootLookAndFeel = TcxLookAndFeel::CreateRoot();
}

void cxLookAndFeelsFinalize() {
  delete gRootLookAndFeel;
  gRootLookAndFeel = nullptr;
  gControllerCount = 0;
}
