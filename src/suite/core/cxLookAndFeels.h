#pragma once
// Look and feel: the small settings object (drawing kind, native style, skin name) that suite
// controls own, chained to a master or to the process's root, resolved into a painter, and
// the listener that tells everyone about system colour changes.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Events.h"
#include "platform/win/Windows.h"
#include "suite/core/cxClasses.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/dxThemeManager.h"

enum TcxLookAndFeelKind : uint8_t { lfFlat, lfStandard, lfUltraFlat, lfOffice11 };
enum class TcxLookAndFeelValue : uint8_t { lfvKind, lfvNativeStyle, lfvSkinName };
using enum TcxLookAndFeelValue;
using TcxLookAndFeelValues = TSet<TcxLookAndFeelValue, 3>;
inline const TcxLookAndFeelValues cxAllLookAndFeelValues{lfvKind, lfvNativeStyle, lfvSkinName};
using TdxSkinName = std::string;

struct TcxLookAndFeelData {
  TcxLookAndFeelKind Kind = lfUltraFlat;
  bool NativeStyle = false;
  TdxSkinName SkinName;
  bool SkinsEnabled = false;
};

TcxPainterStyle LookAndFeelKindToPainterStyle(TcxLookAndFeelKind Kind);

class TcxLookAndFeel;

// Followers of a look and feel: child look-and-feel objects and controllers.
class IcxLookAndFeelChangeListener {
 public:
  virtual ~IcxLookAndFeelChangeListener() = default;
  virtual TObject* ListenerObject() = 0;
  virtual void MasterChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues) = 0;
  virtual void MasterDestroying(TcxLookAndFeel* Sender) = 0;
};

// ---- system colour changes

class TcxSystemPaletteChangedNotifier : public TObject {
 public:
  explicit TcxSystemPaletteChangedNotifier(bool Primary = false);
  ~TcxSystemPaletteChangedNotifier() override;
  bool Primary() const { return FPrimary; }
  virtual void SignalChange() {
    if (OnSystemPaletteChanged) OnSystemPaletteChanged();
  }
  std::function<void()> OnSystemPaletteChanged;

 private:
  bool FPrimary;
};

class TcxSystemPaletteChangedListener : public TObject {
 public:
  TcxSystemPaletteChangedListener();
  ~TcxSystemPaletteChangedListener() override;
  void Subscribe(TcxSystemPaletteChangedNotifier* Notifier);
  void Unsubscribe(TcxSystemPaletteChangedNotifier* Notifier);
  HWND Handle() const { return FWindow; }
  // What the window does on WM_SYSCOLORCHANGE: Office colours first, then the primary
  // notifiers, then the ordinary ones, each list from its last entry to its first.
  void Broadcast();

 private:
  void WndProc(TMessage& Message);
  HWND FWindow = nullptr;
  std::vector<TcxSystemPaletteChangedNotifier*> FPrimaryNotifiers;
  std::vector<TcxSystemPaletteChangedNotifier*> FNotifiers;
};

TcxSystemPaletteChangedListener* AcquirePaletteListener();
void ReleasePaletteListener();
// The listener while anyone holds it, else nil.
TcxSystemPaletteChangedListener* CurrentPaletteListener();

// ---- look and feel

class TcxLookAndFeel : public TcxInterfacedPersistent, public IcxLookAndFeelChangeListener {
 public:
  explicit TcxLookAndFeel(TPersistent* AOwner);
  ~TcxLookAndFeel() override;

  void Assign(TPersistent* Source) override;

  TcxLookAndFeelValues AssignedValues() const { return FAssignedValues; }
  void SetAssignedValues(TcxLookAndFeelValues Value);
  TcxLookAndFeelKind Kind() const { return FCurrentState.Kind; }
  void SetKind(TcxLookAndFeelKind Value);
  bool NativeStyle() const { return FCurrentState.NativeStyle; }
  void SetNativeStyle(bool Value);
  const TdxSkinName& SkinName() const { return FCurrentState.SkinName; }
  void SetSkinName(const TdxSkinName& Value);
  // The extra streamed "SkinName" text: present exactly when an empty name was assigned.
  bool StoresEmptySkinName() const;
  const TcxLookAndFeelData& Data() const { return FData; }

  TcxLookAndFeel* Master() const { return FMaster; }
  TcxLookAndFeel* EffectiveMaster() const;
  bool IsRoot() const { return FIsRoot; }
  TcxCustomLookAndFeelPainter* ActivePainter() const { return FActivePainter; }
  TcxCustomLookAndFeelPainter* SkinPainter() const { return FSkinPainter; }
  TcxPainterStyle PainterStyle() const;
  TcxCustomLookAndFeelPainter* PainterFor(const TdxThemedObjectTypes& ThemedObjects) const;

  void ResetToMaster() { SetAssignedValues({}); }
  void ApplyStyleIndex(int Index);
  void AttachMaster(TcxLookAndFeel* NewMaster);
  void RefreshAll() { NotifyChanged(cxAllLookAndFeelValues); }
  void AttachListener(IcxLookAndFeelChangeListener* Listener);
  void DetachListener(IcxLookAndFeelChangeListener* Listener);
  int ListenerCount() const { return int(FChangeListeners.size()); }

  // IcxLookAndFeelChangeListener
  TObject* ListenerObject() override { return this; }
  void MasterChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues) override;
  void MasterDestroying(TcxLookAndFeel* Sender) override;

  Event<void(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues)> OnChanged;

  // The root object; used by the unit's start-up only.
  static TcxLookAndFeel* CreateRoot();

 protected:
  virtual TcxCustomLookAndFeelPainter* FindSkinPainter(const TdxSkinName& Name) const;
  virtual void RefreshCurrentState();
  virtual void RefreshPainter();
  virtual TcxLookAndFeelKind ResolvedKind() const;
  virtual bool ResolvedNativeStyle() const;
  virtual TdxSkinName ResolvedSkinName() const;
  virtual TcxCustomLookAndFeelPainter* ResolvedSkinPainter() const;
  virtual void SystemPaletteChanged() { NotifyChanged({lfvNativeStyle}); }

  TcxLookAndFeelKind MasterKind() const;
  bool MasterNativeStyle() const;
  TdxSkinName MasterSkinName() const;
  TcxCustomLookAndFeelPainter* MasterSkinPainter() const;
  void NotifyChanged(TcxLookAndFeelValues ChangedValues);
  void NotifyListeners(TcxLookAndFeelValues ChangedValues);
  void NotifyDestroying();
  void RememberState();
  void NotifyDifferences();
  // Streams the assigned empty skin name, which the published SkinName cannot carry.
  void DefineProperties(TFiler* Filer) override;

 private:
  struct TRootTag {};
  TcxLookAndFeel(TPersistent* AOwner, TRootTag);
  void Construct();

  TcxLookAndFeelValues FAssignedValues;
  std::vector<IcxLookAndFeelChangeListener*> FChangeListeners;
  TcxLookAndFeelData FCurrentState;
  TcxLookAndFeelData FData;
  bool FBeingDestroyed = false;
  bool FIsRoot = false;
  TcxLookAndFeel* FMaster = nullptr;
  TcxCustomLookAndFeelPainter* FActivePainter = nullptr;
  TcxCustomLookAndFeelPainter* FSkinPainter = nullptr;
  TcxLookAndFeelData FPreviousState;
  TcxSystemPaletteChangedNotifier* FPaletteNotifier = nullptr;
};

// Edits the root look and feel: one such component restyles every control that has not assigned
// its own values.
class TcxLookAndFeelController : public TComponent, public IcxLookAndFeelChangeListener {
 public:
  explicit TcxLookAndFeelController(TComponent* AOwner);
  ~TcxLookAndFeelController() override;

  TcxLookAndFeelKind Kind() const;
  void SetKind(TcxLookAndFeelKind Value);
  bool NativeStyle() const;
  void SetNativeStyle(bool Value);
  TdxSkinName SkinName() const;
  void SetSkinName(const TdxSkinName& Value);
  virtual void ResetToDefaults();

  TObject* ListenerObject() override { return this; }
  void MasterChanged(TcxLookAndFeel*, TcxLookAndFeelValues) override {}
  void MasterDestroying(TcxLookAndFeel*) override {}
};

TcxLookAndFeel* RootLookAndFeelInstance();
int LookAndFeelControllerCount();
// The process-wide skins-in-use switch (on in this program).
bool cxUseSkins();

// Publishes the look and feel's and the controller's properties and the names of their
// enumerations for form descriptions; called by the unit's start-up.
void RegisterLookAndFeelClasses();

void cxLookAndFeelsInitialize();
void cxLookAndFeelsFinalize();
