#pragma once
// Visual parameters of the suite's drop-down windows: a container style holds border, colour,
// font, hot-track and shadow settings per visual state and resolves each through the chain
// assigned here, else the style controller's, else a default; a style controller shares a set of
// styles among listeners; the container view info holds the computed rectangles and draws the
// border, shadow and background.

#include <memory>
#include <string>
#include <vector>

#include "suite/core/cxClasses.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/cxLookAndFeelPainters.h"
#include "suite/core/cxLookAndFeels.h"

class TcxStyleController;
class TcxContainerStyles;

enum TcxContainerStyleValue : uint8_t {
  csvBorderColor, csvBorderStyle, csvColor, csvEdges, csvFont, csvHotTrack, csvShadow, csvTextColor,
  csvTextStyle, csvTransparentBorder
};
using TcxContainerStyleValues = TSet<TcxContainerStyleValue>;
// Values kept once, on the base style, whatever state style sets or reads them.
inline const TcxContainerStyleValues cxContainerSharedValues{csvEdges, csvFont, csvHotTrack, csvShadow,
                                                             csvTransparentBorder};
// Visual states: 0 normal (the base style), 1 and 3 highlighted, 2 disabled.
using TcxContainerStateItem = int;

class TcxContainerStyle : public TcxInterfacedPersistent {
 public:
  TcxContainerStyle(TPersistent* AOwner, TcxContainerStateItem AState, TcxContainerStyle* AParentStyle,
                    bool ADirectAccess = false);
  ~TcxContainerStyle() override;

  void Assign(TPersistent* Source) override;
  void BeginUpdate() { ++FUpdateCount; }
  void EndUpdate();
  void Changed();
  void RestoreDefaults();
  static bool GetStyleValue(const std::string& PropertyName, TcxContainerStyleValue& Index);
  static int GetStyleValueCount() { return 10; }
  static std::string GetStyleValueName(TcxContainerStyleValue Index);
  virtual bool HasBorder() const;
  bool IsExtendedStylePropertyPublished(const std::string& PropertyName) const;
  bool IsBaseStyle() const { return FParentStyle == nullptr; }
  TcxContainerStyle* BaseStyle() { return FParentStyle ? FParentStyle : this; }
  const TcxContainerStyle* BaseStyle() const { return FParentStyle ? FParentStyle : this; }
  TcxStyleController* ActiveStyleController() const { return BaseStyle()->FStyleController; }
  TcxContainerStateItem State() const { return FState; }
  TcxContainerStyle* ParentStyle() const { return FParentStyle; }
  bool DirectAccess() const { return FDirectAccess; }

  TcxContainerStyleValues AssignedValues() const;
  void SetAssignedValues(TcxContainerStyleValues Value);
  TColor BorderColor() const;
  void SetBorderColor(TColor Value);
  TcxContainerBorderStyle BorderStyle() const;
  void SetBorderStyle(TcxContainerBorderStyle Value);
  TColor Color() const;
  void SetColor(TColor Value);
  TcxBorders Edges() const;
  void SetEdges(TcxBorders Value);
  TFont* Font() const;
  void SetFont(TFont* Value);
  bool HotTrack() const;
  void SetHotTrack(bool Value);
  bool Shadow() const;
  void SetShadow(bool Value);
  TColor TextColor() const;
  void SetTextColor(TColor Value);
  TFontStyles TextStyle() const;
  void SetTextStyle(TFontStyles Value);
  bool TransparentBorder() const;
  void SetTransparentBorder(bool Value);
  TcxLookAndFeel* LookAndFeel() const { return BaseStyle()->FLookAndFeel.get(); }
  TcxStyleController* StyleController() const { return ActiveStyleController(); }
  void SetStyleController(TcxStyleController* Value);

  bool IsBorderColorStored() const { return FAssignedValues.Contains(csvBorderColor); }
  bool IsBorderStyleStored() const { return FAssignedValues.Contains(csvBorderStyle); }
  bool IsColorStored() const { return FAssignedValues.Contains(csvColor); }
  bool IsEdgesStored() const { return FAssignedValues.Contains(csvEdges); }
  bool IsFontStored() const { return FAssignedValues.Contains(csvFont); }
  bool IsHotTrackStored() const { return FAssignedValues.Contains(csvHotTrack); }
  bool IsShadowStored() const { return FAssignedValues.Contains(csvShadow); }
  bool IsTextColorStored() const { return FAssignedValues.Contains(csvTextColor); }
  bool IsTextStyleStored() const { return FAssignedValues.Contains(csvTextStyle); }
  bool IsTransparentBorderStored() const { return FAssignedValues.Contains(csvTransparentBorder); }
  bool IsStyleControllerStored() const { return FState == 0 && FStyleController != nullptr; }

  // What the controller tells the styles that use it.
  void ControllerChangedNotification(TcxStyleController* AController);
  void ControllerFreeNotification(TcxStyleController* AController);

  TNotifyEvent OnChanged;

 protected:
  void DefineProperties(TFiler* Filer) override;
  // The style whose own setting (or default) gives the value: this one, the base one for a
  // shared value, or a controller's style of the same state; null when no style assigns it.
  const TcxContainerStyle* AssignedSource(TcxContainerStyleValue Value) const;
  void UpdateFont();

 private:
  TcxContainerStyle* Target(TcxContainerStyleValue Value) {
    return cxContainerSharedValues.Contains(Value) ? BaseStyle() : this;
  }
  template <class T>
  void Store(TcxContainerStyleValue Value, T TcxContainerStyle::*Field, T NewValue, T Current);
  void FontChanged();

  TcxContainerStateItem FState;
  TcxContainerStyle* FParentStyle;
  bool FDirectAccess;
  TcxContainerStyleValues FAssignedValues;
  TColor FBorderColor = clWindowFrame;
  TcxContainerBorderStyle FBorderStyle = cbsNone;
  TcxBorders FEdges = cxBordersAll;
  bool FHotTrack = true;
  bool FShadow = false;
  bool FTransparentBorder = true;
  TColor FColor = clBtnFace;
  std::unique_ptr<TFont> FFont;
  TColor FTextColor = clWindowText;
  TFontStyles FTextStyle;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  TcxStyleController* FStyleController = nullptr;
  int FUpdateCount = 0;
  bool FModified = false;
  bool FDestroying = false;
  int FFontAssignedLock = 0;
};

// The four state styles of one owner.
class TcxContainerStyles : public TObject {
 public:
  explicit TcxContainerStyles(TPersistent* AOwner);
  ~TcxContainerStyles() override;
  void SetOnChanged(const TNotifyEvent& Handler);
  TcxContainerStyle* GetStyle(TcxContainerStateItem State) const { return FStyles[State].get(); }
  TcxContainerStyle* StyleNormal() const { return GetStyle(0); }

 private:
  std::unique_ptr<TcxContainerStyle> FStyles[4];
};

class TcxStyleController : public TcxScalableComponent {
 public:
  explicit TcxStyleController(TComponent* AOwner);
  ~TcxStyleController() override;
  void Loaded() override;

  void AddListener(TcxContainerStyle* Style);
  void RemoveListener(TcxContainerStyle* Style);
  void Changed();
  TcxContainerStyles* Styles() const { return FStyles.get(); }
  TcxContainerStyle* Style() const { return FStyles->StyleNormal(); }
  int ListenerCount() const { return int(FListeners.size()); }
  TcxStyleController* FakeStyleController() const { return Style()->StyleController(); }
  void SetFakeStyleController(TcxStyleController*) {}

  TNotifyEvent OnStyleChanged;

 protected:
  void ChangeScale(int M, int D) override;

 private:
  std::vector<TcxContainerStyle*> FListeners;
  std::unique_ptr<TcxContainerStyles> FStyles;
  bool FDestroying = false;
};

class TcxContainerViewInfo : public TObject {
 public:
  TcxContainerViewInfo() = default;
  virtual void DrawBorder(TcxCanvas* ACanvas, const TRect& R);
  virtual TcxContainerBorderStyle GetBorderStyle() { return BorderStyle; }
  virtual void InternalPaint(TcxCanvas* ACanvas);
  virtual void SetBackgroundColor(TColor Value) { BackgroundColor = Value; }
  virtual void Assign(TcxContainerViewInfo* Source) { ClientRect = Source->ClientRect; }
  // A new empty region the caller owns.
  virtual TcxRegion* GetUpdateRegion(TcxContainerViewInfo*) { return TcxRegion::CreateEmpty(); }
  virtual void Offset(int DX, int DY);
  virtual void Paint(TcxCanvas* ACanvas) { InternalPaint(ACanvas); }
  virtual void UpdateStyle(TcxContainerStyle* Style);

  TRect Bounds, BorderRect, ClientRect;
  TColor BorderColor = clWindowFrame;
  int BorderWidth = 1;
  TcxContainerBorderStyle BorderStyle = cbsSingle;
  TcxBorders Edges = cxBordersAll;
  bool Shadow = false;
  bool NativeStyle = false;
  int NativeState = 0;
  TcxCustomLookAndFeelPainter* Painter = nullptr;
  TColor BackgroundColor = clWindow;
  int ContainerState = 1;
  bool UsesSkinPainter = false;
};

// ---- custom popup window

class TcxCustomPopupWindow;
using TcxCustomPopupWindowShowedEvent = Event<void(TObject* Sender, TObject* Arg)>;

// The drop-down a control opens: kept in the process-wide list of open popups, shown with or
// without the keyboard focus (a focus-taking one may run its own message loop), painted through
// a container style, and closed by the shared hooks on a click outside, on its owner's form
// closing, hiding or losing the activation, or on its owner's window going away.
class TcxCustomPopupWindow : public TcxPopupWindow {
 public:
  explicit TcxCustomPopupWindow(TWinControl* AOwnerControl);
  ~TcxCustomPopupWindow() override;

  virtual bool ClipsToWorkArea() { return false; }
  virtual void DoClosed();
  virtual void DoClosing();
  virtual void DoShowed();
  virtual void DoShowing();
  virtual bool ErasesBackground() { return false; }
  virtual bool IsPopupNavigationKey(WORD Key);
  virtual void CloseByOwner() { ClosePopup(); }
  // Whether the click that closes the popup is kept from its window.
  virtual bool SwallowsClosingClick(HWND Wnd, UINT Msg, TPoint Pos, TShiftState Shift) { return false; }
  virtual void StyleChanged() {}
  virtual void FitIntoWorkArea(TRect& R);
  virtual void ShowPopup(TWinControl* FocusedControl);

  void ClosePopup() override;
  TRect OwnerScreenBounds() override;
  void InitPopup() override {}
  bool CanFocus() const override { return Visible(); }
  // Open, taking the focus, and the focus is on the popup or inside it.
  bool Focused() const;
  bool IsShortCut(TMessage& Message) override;

  bool IsOpen() const;
  bool IsCapturingMouse() const;
  bool TakeClosedByOwnerClick();
  bool TakesFocus() const { return FTakesFocus; }
  void SetTakesFocus(bool Value);
  bool OwnLoop() const { return FOwnLoop; }
  void SetOwnLoop(bool Value) { FOwnLoop = Value; }
  TWinControl* OwnerControl() const { return FOwnerControl.get(); }
  TcxContainerStyle* Style() const { return FStyle.get(); }
  TcxContainerViewInfo* ViewInfo() const { return FViewInfo.get(); }
  TWinControl* ControlToFocus() const { return FControlToFocus.get(); }
  int LockCount() const { return FLockCount; }

  TNotifyEvent OnClosed;
  TNotifyEvent OnClosing;
  TNotifyEvent OnShowing;
  TcxCustomPopupWindowShowedEvent OnShowed;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void Deactivate() override;
  void Dispatch(TMessage& Message) override;
  void KeyDown(WORD& Key, TShiftState Shift) override;
  void Paint() override;

 private:
  friend struct TcxPopupClosingRules;
  // Closes with the lock raised: the popup then ignores its own deactivation meanwhile.
  void CloseLocked();

  bool FTakesFocus = true;
  int FLockCount = 0;
  TWeakLink<TWinControl> FControlToFocus;
  bool FClosedByOwnerClick = false;
  bool FOwnLoop = true;
  TWeakLink<TWinControl> FOwnerControl;
  std::unique_ptr<TcxContainerStyle> FStyle;
  std::unique_ptr<TcxContainerViewInfo> FViewInfo;
};

// The popups open now, oldest first.
const std::vector<TcxCustomPopupWindow*>& cxOpenPopups();
// Joining twice, or leaving a list one is not in, is an assertion failure.
void AddToOpenPopups(TcxCustomPopupWindow* Popup);
void RemoveFromOpenPopups(TcxCustomPopupWindow* Popup);
// Private messages: close with the lock raised and give the owner the focus; show again.
constexpr UINT CM_CLOSEPOPUPWINDOW = 0x807D;
constexpr UINT CM_SHOWPOPUPWINDOW = 0x807E;
// Whether "GetScrollBarInfo" is an entry of "user32" (tested once at the unit's start-up).
bool cxGetScrollBarInfoAvailable();
// The unit's start-up and shut-down of the closing rules (called by cxContainer's own).
void InitializePopupClosing();
void FinalizePopupClosing();

void cxContainerInitialize();
void cxContainerFinalize();
