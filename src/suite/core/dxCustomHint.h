#pragma once
// Hint styles: while a hint-style controller exists it takes over the application's hint
// handling, and each hint goes to the controller that belongs to the hinted control (or to the
// global one), whose style picks the hint window class and may rewrite the hint. Also the plain
// hint view info (text in the status font inside a raised edge) that richer hints build on.

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "suite/core/cxClasses.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxGraphics.h"

class TcxLookAndFeel;
class TcxCustomLookAndFeelPainter;
class TcxCustomHintStyleController;

// A hint window whose caption the controller fills before the hint shows.
class TcxCustomHintWindow : public TcxBaseHintWindow {
 public:
  explicit TcxCustomHintWindow(TComponent* AOwner);
  const std::string& HintCaption() const { return FHintCaption; }
  void SetHintCaption(const std::string& Value) { FHintCaption = Value; }
  virtual void ShowHintAt(int X, int Y, const std::string& ACaption, const std::string& AHint,
                          int AMaxWidth) {}

 private:
  std::string FHintCaption;
};

class TcxCustomHintStyle : public TcxInterfacedPersistent {
 public:
  explicit TcxCustomHintStyle(TPersistent* AOwner);
  // May rewrite the hint or refuse it before it shows.
  virtual void ShowHint(std::string& HintStr, bool& CanShow, THintInfo& HintInfo) {}
  virtual void ComponentRemoved(TComponent* AComponent) {}
  virtual THintWindowClass HintWindowClass() const = 0;
  // The controller that owns the style (null for a style made on its own).
  TcxCustomHintStyleController* Controller() const;
  // What the style calls when one of its settings changes.
  void SetChangeHandler(std::function<void()> Handler) { FChangeHandler = std::move(Handler); }

 protected:
  void Changed() {
    if (FChangeHandler) FChangeHandler();
  }

 private:
  std::function<void()> FChangeHandler;
};

// A hint style class: its name and its virtual constructor.
struct TcxHintStyleClassRec {
  const char* ClassName;
  TcxCustomHintStyle* (*Create)(TPersistent* AOwner);
};
using TcxHintStyleClass = const TcxHintStyleClassRec*;

// The registered hint styles, found by class name.
void cxRegisterHintStyle(TcxHintStyleClass AStyleClass, const std::string& ADescription);
void cxUnregisterHintStyle(TcxHintStyleClass AStyleClass);
TcxHintStyleClass cxFindHintStyleClass(const std::string& AClassName);
std::string cxHintStyleDescription(TcxHintStyleClass AStyleClass);

// Told when a controller's style changes (Removed false) or the controller goes (Removed true).
class IcxHintStyleListener {
 public:
  virtual ~IcxHintStyleListener() = default;
  virtual void HintStyleNotification(TcxCustomHintStyleController* Sender, bool Removed) = 0;
};

using TcxHintStyleChangedEvent = Event<void(TObject* Sender, TcxCustomHintStyle* Style)>;
using TcxShowHintEvent =
    Event<void(TObject* Sender, std::string& HintStr, bool& CanShow, THintInfo& HintInfo)>;
using TcxShowHintExEvent = Event<void(TObject* Sender, std::string& Caption, std::string& HintStr,
                                      bool& CanShow, THintInfo& HintInfo)>;

class TcxCustomHintStyleController : public TComponent {
 public:
  TcxCustomHintStyleController(TComponent* AOwner, TcxHintStyleClass AStyleClass = nullptr);
  ~TcxCustomHintStyleController() override;

  void Assign(TPersistent* Source) override;
  void Loaded() override;

  virtual TcxHintStyleClass HintStyleClass() const { return FHintStyleClass; }
  virtual THintWindowClass HintWindowClass() const;
  virtual void BeginUpdate() { ++FUpdateCount; }
  virtual void EndUpdate();
  virtual void NotifyListener(TObject* Listener);
  virtual void AddListener(TObject* Listener);
  virtual void RemoveListener(TObject* Listener);

  // Gives the hint to this controller: its window class, its style, then its events.
  void DoShowHint(std::string& HintStr, bool& CanShow, THintInfo& HintInfo);
  void Changed();

  bool Global() const { return FGlobal; }
  int HintShortPause() const { return FHintShortPause; }
  void SetHintShortPause(int Value) { SetPause(FHintShortPause, Value); }
  int HintPause() const { return FHintPause; }
  void SetHintPause(int Value) { SetPause(FHintPause, Value); }
  int HintHidePause() const { return FHintHidePause; }
  void SetHintHidePause(int Value) { SetPause(FHintHidePause, Value); }
  std::string HintStyleClassName() const;
  void SetHintStyleClassName(const std::string& Value);
  TcxCustomHintStyle* HintStyle() const { return FHintStyle.get(); }
  TcxCustomHintWindow* HintWindow() const { return FHintWindow; }
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  bool UseControlLookAndFeel() const { return FUseControlLookAndFeel; }
  void SetUseControlLookAndFeel(bool Value) { FUseControlLookAndFeel = Value; }
  int ListenerCount() const { return int(FListeners.size()); }

  TcxHintStyleChangedEvent OnHintStyleChanged;
  TcxShowHintEvent OnShowHint;
  TcxShowHintExEvent OnShowHintEx;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  friend class TcxHintController;
  void CreateHintStyle();
  void DestroyHintStyle();
  void SetPause(int& Field, int Value);
  void ApplyPauses();
  bool IsDesigning() const { return ComponentState().Contains(csDesigning); }

  bool FGlobal = false;
  int FHintShortPause = 50;
  int FHintPause = 500;
  int FHintHidePause = 2500;
  TcxHintStyleClass FHintStyleClass;
  TcxCustomHintWindow* FHintWindow = nullptr;
  std::vector<TObject*> FListeners;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  int FUpdateCount = 0;
  bool FUseControlLookAndFeel = false;
  bool FDestroying = false;
  std::unique_ptr<TcxCustomHintStyle> FHintStyle;
};

// A control inside a suite container names that container, whose controllers then serve it.
class IcxContainerInnerControl {
 public:
  virtual ~IcxContainerInnerControl() = default;
  virtual TComponent* ControlContainer() = 0;
};

// The one object that holds the application's hint handling while controllers exist.
class TcxHintController : public TComponent {
 public:
  TcxHintController();
  ~TcxHintController() override;

  void Register(TcxCustomHintStyleController* Controller);
  void Unregister(TcxCustomHintStyleController* Controller);
  int ControllerCount() const { return int(FControllers.size()); }
  // The control the last hint was given for; else the control under the capture window or the
  // mouse.
  TControl* HintedControl() const;
  void SetHintedControl(TControl* Value);
  TcxCustomHintStyleController* ActiveController() const;
  // The painter a suite hint window draws with.
  TcxCustomLookAndFeelPainter* HintPainter() const;

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  void ShowHintHandler(std::string& HintStr, bool& CanShow, THintInfo& HintInfo);

  std::vector<TcxCustomHintStyleController*> FControllers;
  TShowHintEvent FSavedOnShowHint;
  THintWindowClass FSavedHintWindowClass = nullptr;
  TControl* FHintedControl = nullptr;
};

// Null outside the unit's life.
TcxHintController* cxHintController();

// ---- hint view infos

class TdxCustomHintViewInfoHelper : public TObject {
 public:
  virtual void Calculate(TcxCanvas* ACanvas) {}
  virtual void Paint(TcxCanvas* ACanvas) {}
  const TRect& Bounds() const { return FBounds; }

 protected:
  TRect FBounds;
};

class TdxHintViewInfoHelper : public TdxCustomHintViewInfoHelper {
 public:
  // The text is the hint followed by the shortcut text; nothing without a hint.
  TdxHintViewInfoHelper(const std::string& AHint, const std::string& AShortCut, TPoint APosition);
  static TdxHintViewInfoHelper* CreateForHint(const std::string& AHint, const std::string& AShortCut,
                                              TPoint APosition) {
    return new TdxHintViewInfoHelper(AHint, AShortCut, APosition);
  }
  void Calculate(TcxCanvas* ACanvas) override;
  void Paint(TcxCanvas* ACanvas) override;
  const std::string& Text() const { return FText; }
  TPoint Position() const { return FPosition; }

  virtual void CorrectMinSize(TSize& Size);
  virtual TRect GetTextRect();
  virtual void DrawText(TcxCanvas* ACanvas);
  // The system's status-bar font (8 points when the system cannot tell it).
  virtual void ApplyHintFont(TcxCanvas* ACanvas);
  virtual void ApplyTextColor(TcxCanvas* ACanvas);

 protected:
  std::string FText;
  TPoint FPosition;
};

// Its helper is made through CreateHelper on first use.
class TdxCustomHintViewInfo : public TObject {
 public:
  ~TdxCustomHintViewInfo() override;
  virtual void Calculate(TcxCanvas* ACanvas) { Helper()->Calculate(ACanvas); }
  virtual void Paint(TcxCanvas* ACanvas) { Helper()->Paint(ACanvas); }
  TRect HintBounds() { return Helper()->Bounds(); }
  TdxCustomHintViewInfoHelper* Helper();

 protected:
  virtual TdxCustomHintViewInfoHelper* CreateHelper() = 0;
  virtual void DestroyHelper();

 private:
  TdxCustomHintViewInfoHelper* FHelper = nullptr;
};

// Puts the canvas's font, brush and pen into its device context before drawing on it directly.
void SelectCanvasObjects(TcxCanvas* ACanvas);

void dxCustomHintInitialize();
void dxCustomHintFinalize();
