#pragma once
// The suite's status bar: a row of panels along the bottom of a form, each showing what its panel
// style draws (text, lamps, keyboard states or hosted controls), with separators and a size grip
// drawn by the painter of the bar's paint style.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/ExtCtrls.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Classes.h"
#include "suite/core/cxClasses.h"
#include "suite/core/cxControls.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxThemeManager.h"

class TdxCustomStatusBar;
class TdxStatusBarPanel;
class TdxStatusBarPanelStyle;
class TdxStatusBarContainerPanelStyle;

enum TdxStatusBarPaintStyle : uint8_t { stpsStandard, stpsFlat, stpsXP, stpsOffice11, stpsUseLookAndFeel };
enum TdxStatusBarPanelBevel : uint8_t { dxpbNone, dxpbLowered, dxpbRaised };
enum TdxStatusBarEllipsisType : uint8_t { dxetNone, dxetTruncate, dxetSmartPath };
enum TdxStatusBarStateIndicatorType : uint8_t { sitOff, sitYellow, sitBlue, sitGreen, sitRed, sitTeal, sitPurple };
enum class TdxStatusBarKeyboardState : uint8_t { dxksCapsLock, dxksNumLock, dxksScrollLock, dxksInsert };
using enum TdxStatusBarKeyboardState;
using TdxStatusBarKeyboardStates = TSet<TdxStatusBarKeyboardState, 4>;

using TdxStatusBarDrawPanelEvent =
    Event<void(TdxStatusBarPanel* Sender, TcxCanvas* ACanvas, const TRect& ARect, bool& ADone)>;
using TdxStatusBarTextEvent = Event<void(TObject* Sender, const TRect& R, std::string& AText)>;

// ---- painters: stateless; a paint style picks one shared instance.

class TdxStatusBarPainter {
 public:
  virtual ~TdxStatusBarPainter() = default;
  virtual void DrawContainerBackground(TdxStatusBarContainerPanelStyle* Style, TcxCanvas* Canvas) const;
  virtual bool KeepsPanelRect() const { return true; }
  virtual void AdjustTextColor(TdxCustomStatusBar* StatusBar, TColor& Color, bool Active) const {}
  virtual TRect BorderExtents(TdxCustomStatusBar* StatusBar) const;
  virtual bool GripBeforePanels() const { return true; }
  virtual TSize SizeGripSize() const { return TSize{16, 16}; }
  virtual TSize GripFillSize() const { return TSize{12, 12}; }
  virtual TRect PanelBevelExtents(TdxStatusBarPanelBevel Bevel) const { return TRect(); }
  virtual TRect PanelContentMargins(TdxStatusBarPanel* Panel, bool HasBevel) const;
  virtual int SeparatorBaseSize() const { return 2; }
  virtual int SeparatorSize(TdxCustomStatusBar* StatusBar) const { return SeparatorBaseSize(); }
  virtual int TopBorderHeight() const { return 2; }
  virtual void DrawBorder(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, TRect& R) const;
  virtual void DrawEmptyPanel(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, TRect R) const;
  virtual void DrawPanel(TdxCustomStatusBar* StatusBar, TdxStatusBarPanel* Panel, TRect R, TcxCanvas* Canvas) const;
  virtual void DrawPanelBevel(TdxCustomStatusBar* StatusBar, TdxStatusBarPanelBevel Bevel, TRect& R,
                              TcxCanvas* Canvas) const {}
  virtual void DrawSeparator(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, const TRect& R) const {}
  virtual void DrawSizeGrip(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, bool Overlapped, TRect R) const;
  virtual void FillBackground(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, const TRect& R) const;
  virtual void FillPanelBackground(TdxCustomStatusBar* StatusBar, TdxStatusBarPanel* Panel, const TRect& R,
                                   TcxCanvas* Canvas) const {}
  virtual TdxStatusBarPanelBevel PanelBevel(TdxStatusBarPanel* Panel) const;
  virtual TColor PanelColor(TdxCustomStatusBar* StatusBar, TdxStatusBarPanel* Panel) const;
  virtual void AdjustTextRect(TdxCustomStatusBar* StatusBar, TdxStatusBarPanel* Panel, TRect& R) const {}

  // The classic grip's dots merged over what R already shows.
  static void DrawClassicGrip(HDC DC, const TRect& R);
};

class TdxStatusBarStandardPainter : public TdxStatusBarPainter {
 public:
  TRect PanelBevelExtents(TdxStatusBarPanelBevel Bevel) const override;
  void DrawPanelBevel(TdxCustomStatusBar* StatusBar, TdxStatusBarPanelBevel Bevel, TRect& R,
                      TcxCanvas* Canvas) const override;
  void DrawSeparator(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, const TRect& R) const override;
  void FillPanelBackground(TdxCustomStatusBar* StatusBar, TdxStatusBarPanel* Panel, const TRect& R,
                           TcxCanvas* Canvas) const override;
};

class TdxStatusBarFlatPainter : public TdxStatusBarStandardPainter {
 public:
  TRect PanelBevelExtents(TdxStatusBarPanelBevel Bevel) const override;
  void DrawPanelBevel(TdxCustomStatusBar* StatusBar, TdxStatusBarPanelBevel Bevel, TRect& R,
                      TcxCanvas* Canvas) const override;
};

class TdxStatusBarOffice11Painter : public TdxStatusBarPainter {
 public:
  TRect BorderExtents(TdxCustomStatusBar* StatusBar) const override;
  TRect PanelBevelExtents(TdxStatusBarPanelBevel Bevel) const override;
  void DrawBorder(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, TRect& R) const override;
  void DrawPanelBevel(TdxCustomStatusBar* StatusBar, TdxStatusBarPanelBevel Bevel, TRect& R,
                      TcxCanvas* Canvas) const override;
  void DrawSeparator(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, const TRect& R) const override {}
  void DrawSizeGrip(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, bool Overlapped, TRect R) const override;
};

// Draws through the visual-style library's "Status" class.
class TdxStatusBarXPPainter : public TdxStatusBarPainter {
 public:
  TRect BorderExtents(TdxCustomStatusBar* StatusBar) const override;
  TSize SizeGripSize() const override;
  int SeparatorBaseSize() const override;
  void DrawBorder(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, TRect& R) const override;
  void DrawSeparator(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, const TRect& R) const override;
  void DrawSizeGrip(TdxCustomStatusBar* StatusBar, TcxCanvas* Canvas, bool Overlapped, TRect R) const override;
};

using TdxStatusBarPainterClass = const TdxStatusBarPainter*;
TdxStatusBarPainterClass dxStatusBarStandardPainter();
TdxStatusBarPainterClass dxStatusBarFlatPainter();
TdxStatusBarPainterClass dxStatusBarOffice11Painter();
TdxStatusBarPainterClass dxStatusBarXPPainter();

// ---- panel styles

using TdxStatusBarPanelStyleClass = const TClassInfo*;

class TdxStatusBarPanelStyle : public TPersistent {
 public:
  explicit TdxStatusBarPanelStyle(TdxStatusBarPanel* APanel);
  ~TdxStatusBarPanelStyle() override;
  void Assign(TPersistent* Source) override;

  TdxStatusBarPanel* Owner() const { return FOwner; }
  TdxCustomStatusBar* StatusBar() const;
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value);
  TColor Color() const { return FColorAssigned ? FColor : DefaultColor(); }
  void SetColor(TColor Value);
  bool ColorAssigned() const { return FColorAssigned; }
  TFont* Font() const { return FFont.get(); }
  void SetFont(TFont* Value) { FFont->Assign(Value); }
  bool ParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);

  // The overridable operations, in their fixed order.
  virtual void AdjustTextColor(TColor& AColor, bool Active);
  virtual void BoundsChanged(const TRect& Bounds) {}
  virtual bool CanDelete() { return true; }
  virtual bool IsResizable() const { return true; }
  virtual void NotifyPanel();
  virtual void AdjustForSizeGrip(TRect& R);
  virtual TColor DefaultColor() const;
  virtual void AssignStyle(TdxStatusBarPanelStyle* Source);
  virtual void DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter);
  virtual int StyleMinWidth() { return 20; }
  virtual bool DrawsOwnCells() const { return false; }
  virtual void Loaded() {}
  virtual void VisibilityChanged() {}
  virtual void ParentFontChanged();
  virtual void RestoreDefaults();

 protected:
  TdxStatusBarPainterClass Painter() const;

 private:
  void FontChanged(TObject* Sender);

  TdxStatusBarPanel* FOwner;
  TAlignment FAlignment = taLeftJustify;
  TColor FColor = clBtnFace;
  bool FColorAssigned = false;
  std::unique_ptr<TFont> FFont;
  bool FParentFont = true;
  bool FSettingParentFont = false;
};

class TdxStatusBarTextPanelStyle : public TdxStatusBarPanelStyle {
 public:
  explicit TdxStatusBarTextPanelStyle(TdxStatusBarPanel* APanel);
  bool AutoHint() const { return FAutoHint; }
  void SetAutoHint(bool Value);
  TdxStatusBarEllipsisType EllipsisType() const { return FEllipsisType; }
  void SetEllipsisType(TdxStatusBarEllipsisType Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TdxStatusBarTextEvent OnGetText;

  void AssignStyle(TdxStatusBarPanelStyle* Source) override;
  void DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) override;
  void RestoreDefaults() override;

 private:
  bool FAutoHint = false;
  TdxStatusBarEllipsisType FEllipsisType = dxetNone;
  int FImageIndex = -1;
};

class TdxStatusBarStateIndicatorItem : public TCollectionItem {
 public:
  explicit TdxStatusBarStateIndicatorItem(TCollection* Collection);
  ~TdxStatusBarStateIndicatorItem() override;
  void Assign(TPersistent* Source) override;
  TdxStatusBarStateIndicatorType IndicatorType() const { return FIndicatorType; }
  void SetIndicatorType(TdxStatusBarStateIndicatorType Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  TBitmap* Bitmap() const { return FBitmap.get(); }

 private:
  void LoadBitmap();
  TdxStatusBarStateIndicatorType FIndicatorType = sitOff;
  bool FVisible = true;
  std::unique_ptr<TBitmap> FBitmap;
};

class TdxStatusBarStateIndicators : public TCollection {
 public:
  TdxStatusBarStateIndicators() : TCollection(ItemClassOf<TdxStatusBarStateIndicatorItem>()) {}
  TdxStatusBarStateIndicatorItem* Add() { return static_cast<TdxStatusBarStateIndicatorItem*>(TCollection::Add()); }
  TdxStatusBarStateIndicatorItem* Items(int Index) const {
    return static_cast<TdxStatusBarStateIndicatorItem*>(TCollection::Items(Index));
  }
  TNotifyEvent OnChange;

 protected:
  void Update(TCollectionItem* Item) override;
};

class TdxStatusBarStateIndicatorPanelStyle : public TdxStatusBarPanelStyle {
 public:
  explicit TdxStatusBarStateIndicatorPanelStyle(TdxStatusBarPanel* APanel);
  ~TdxStatusBarStateIndicatorPanelStyle() override;
  TdxStatusBarStateIndicators* Indicators() const { return FIndicators.get(); }
  void SetIndicators(TdxStatusBarStateIndicators* Value) { FIndicators->Assign(Value); }
  int Spacing() const { return FSpacing; }
  void SetSpacing(int Value);

  bool IsResizable() const override { return false; }
  void AssignStyle(TdxStatusBarPanelStyle* Source) override;
  void DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) override;
  int StyleMinWidth() override;
  void RestoreDefaults() override;

 private:
  std::unique_ptr<TdxStatusBarStateIndicators> FIndicators;
  int FSpacing = 4;
};

class TdxStatusBarKeyStateAppearance : public TPersistent {
 public:
  TdxStatusBarKeyStateAppearance(TdxStatusBarKeyboardState AKind, int ACode, const std::string& AActiveCaption,
                                 const std::string& AInactiveCaption, TColor AActiveFontColor,
                                 std::function<void()> AOnChange);
  void Assign(TPersistent* Source) override;
  TdxStatusBarKeyboardState Kind() const { return FKind; }
  int Code() const { return FCode; }
  TColor ActiveFontColor() const { return FActiveFontColor; }
  void SetActiveFontColor(TColor Value);
  TColor InactiveFontColor() const { return FInactiveFontColor; }
  void SetInactiveFontColor(TColor Value);
  const std::string& ActiveCaption() const { return FActiveCaption; }
  void SetActiveCaption(const std::string& Value);
  const std::string& InactiveCaption() const { return FInactiveCaption; }
  void SetInactiveCaption(const std::string& Value);
  // The widest caption plus 4, measured on the canvas in its font.
  int CellWidth(TcxCanvas* Canvas) const;

 private:
  void Changed();
  TdxStatusBarKeyboardState FKind;
  int FCode;
  TColor FActiveFontColor;
  TColor FInactiveFontColor = clBtnShadow;
  std::string FActiveCaption, FInactiveCaption;
  std::function<void()> FOnChange;
};

// Polls the watched keys' states every 100 ms and reports when any toggle changed.
class TdxStatusBarKeyboardStateNotifier : public TObject {
 public:
  explicit TdxStatusBarKeyboardStateNotifier(std::function<void()> AOnChange);
  ~TdxStatusBarKeyboardStateNotifier() override;
  void SubscribeKey(int Code);
  void UnsubscribeKey(int Code);
  // One poll (what each tick runs).
  void CheckKeys();

 private:
  struct TWatched {
    int Code;
    BYTE LowByte;
  };
  std::unique_ptr<TTimer> FTimer;
  std::vector<TWatched> FKeys;
  std::function<void()> FOnChange;
};

class TdxStatusBarKeyboardStatePanelStyle : public TdxStatusBarPanelStyle {
 public:
  explicit TdxStatusBarKeyboardStatePanelStyle(TdxStatusBarPanel* APanel);
  ~TdxStatusBarKeyboardStatePanelStyle() override;
  TdxStatusBarKeyboardStates KeyboardStates() const { return FKeyboardStates; }
  void SetKeyboardStates(TdxStatusBarKeyboardStates Value);
  bool FullRect() const { return FFullRect; }
  void SetFullRect(bool Value);
  TdxStatusBarKeyStateAppearance* CapsLockKeyAppearance() const { return FAppearances[0].get(); }
  TdxStatusBarKeyStateAppearance* NumLockKeyAppearance() const { return FAppearances[1].get(); }
  TdxStatusBarKeyStateAppearance* ScrollLockKeyAppearance() const { return FAppearances[2].get(); }
  TdxStatusBarKeyStateAppearance* InsertKeyAppearance() const { return FAppearances[3].get(); }
  void SetCapsLockKeyAppearance(TdxStatusBarKeyStateAppearance* Value) { FAppearances[0]->Assign(Value); }
  void SetNumLockKeyAppearance(TdxStatusBarKeyStateAppearance* Value) { FAppearances[1]->Assign(Value); }
  void SetScrollLockKeyAppearance(TdxStatusBarKeyStateAppearance* Value) { FAppearances[2]->Assign(Value); }
  void SetInsertKeyAppearance(TdxStatusBarKeyStateAppearance* Value) { FAppearances[3]->Assign(Value); }
  TdxStatusBarKeyboardStateNotifier* Notifier() const { return FNotifier.get(); }

  bool IsResizable() const override { return false; }
  bool DrawsOwnCells() const override { return !FFullRect; }
  void AssignStyle(TdxStatusBarPanelStyle* Source) override;
  void DrawContent(TcxCanvas* ACanvas, TRect R, TdxStatusBarPainterClass APainter) override;
  int StyleMinWidth() override;
  void RestoreDefaults() override;

 private:
  TdxStatusBarKeyStateAppearance* Appearance(TdxStatusBarKeyboardState Key) const {
    return FAppearances[int(Key)].get();
  }
  void KeyStateChanged();

  TdxStatusBarKeyboardStates FKeyboardStates{dxksCapsLock, dxksNumLock, dxksScrollLock, dxksInsert};
  bool FFullRect = false;
  std::unique_ptr<TdxStatusBarKeyStateAppearance> FAppearances[4];
  std::unique_ptr<TdxStatusBarKeyboardStateNotifier> FNotifier;
};

// The window of a container panel: other controls are put on it.
class TdxStatusBarContainerControl : public TcxControl {
 public:
  explicit TdxStatusBarContainerControl(TComponent* AOwner);
  ~TdxStatusBarContainerControl() override;
  TdxStatusBarContainerPanelStyle* PanelStyle() const { return FPanelStyle; }

 protected:
  friend class TdxStatusBarContainerPanelStyle;
  void Paint() override;
  bool ErasesBackground() const override { return false; }
  bool HasScrollBars() const override { return false; }
  bool IsFocusable() const override { return false; }

 private:
  TdxStatusBarContainerPanelStyle* FPanelStyle = nullptr;
};

class TdxStatusBarContainerPanelStyle : public TdxStatusBarPanelStyle {
 public:
  explicit TdxStatusBarContainerPanelStyle(TdxStatusBarPanel* APanel);
  ~TdxStatusBarContainerPanelStyle() override;
  bool AlignControl() const { return FAlignControl; }
  void SetAlignControl(bool Value);
  TdxStatusBarContainerControl* Container() const { return FContainer; }
  void SetContainer(TdxStatusBarContainerControl* Value);

  void BoundsChanged(const TRect& Bounds) override;
  bool CanDelete() override;
  void AssignStyle(TdxStatusBarPanelStyle* Source) override;
  void VisibilityChanged() override;

 private:
  friend class TdxStatusBarContainerControl;
  void ContainerDestroyed();
  bool FAlignControl = true;
  TdxStatusBarContainerControl* FContainer = nullptr;
};

// The registry of panel styles by class name, filled when the unit starts.
TcxRegisteredClasses* GetRegisteredStatusBarPanelStyles();
// Makes a style of a registered class for a panel (null for an unknown class).
TdxStatusBarPanelStyle* CreateStatusBarPanelStyle(TdxStatusBarPanelStyleClass AClass, TdxStatusBarPanel* APanel);

// ---- panels

class TdxStatusBarPanel : public TCollectionItem {
 public:
  explicit TdxStatusBarPanel(TCollection* Collection);
  ~TdxStatusBarPanel() override;
  void Assign(TPersistent* Source) override;
  std::string DisplayName() const override;
  TdxCustomStatusBar* StatusBar() const;

  TdxStatusBarPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TdxStatusBarPanelBevel Value);
  bool Fixed() const;
  void SetFixed(bool Value);
  int MinWidth() const;
  void SetMinWidth(int Value);
  bool MinWidthAssigned() const { return FMinWidthAssigned; }
  int Width() const;
  void SetWidth(int Value);
  bool WidthAssigned() const { return FWidthAssigned; }
  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);

  TdxStatusBarPanelStyleClass PanelStyleClass() const { return FPanelStyleClass; }
  void SetPanelStyleClass(TdxStatusBarPanelStyleClass Value);
  std::string PanelStyleClassName() const;
  void SetPanelStyleClassName(const std::string& Value);
  TdxStatusBarPanelStyle* PanelStyle() const { return FPanelStyle.get(); }
  void SetPanelStyle(TdxStatusBarPanelStyle* Value);

  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TdxStatusBarDrawPanelEvent OnDrawPanel;
  TNotifyEvent PanelStyleEvents;

  // The overridable operations, in their fixed order.
  virtual void Click();
  virtual void CreatePanelStyle();
  virtual void DblClick();
  virtual int DefaultMinWidth() const;
  virtual int DefaultWidth() const;
  virtual void FreePanelStyle();
  virtual int LayoutMinWidth() const;
  virtual int LayoutWidth() const;
  virtual int AddLayoutExtra(int Value) const;
  virtual void PanelChanged(bool AllItems = false);
  virtual void RestoreDefaults();

 private:
  TdxStatusBarPanelBevel FBevel = dxpbLowered;
  TdxStatusBarPanelStyleClass FPanelStyleClass = nullptr;
  std::unique_ptr<TdxStatusBarPanelStyle> FPanelStyle;
  std::string FText;
  bool FVisible = true;
  bool FFixed = true;
  int FMinWidth = 20;
  bool FMinWidthAssigned = false;
  int FWidth = 50;
  bool FWidthAssigned = false;
};

class TdxStatusBarPanels : public TCollection {
 public:
  explicit TdxStatusBarPanels(TdxCustomStatusBar* AOwner);
  TdxStatusBarPanel* Add() { return static_cast<TdxStatusBarPanel*>(TCollection::Add()); }
  TdxStatusBarPanel* Items(int Index) const { return static_cast<TdxStatusBarPanel*>(TCollection::Items(Index)); }
  TdxCustomStatusBar* StatusBar() const { return FStatusBar; }

 protected:
  TPersistent* GetOwner() const override;
  void Update(TCollectionItem* Item) override;

 private:
  TdxCustomStatusBar* FStatusBar;
};

// ---- layout

class TdxStatusBarPanelViewInfo : public TObject {
 public:
  TdxStatusBarPanelViewInfo(TdxStatusBarPanel* APanel) : Panel(APanel) {}
  TdxStatusBarPanel* Panel;
  TRect Bounds;
  TRect SeparatorBounds;
};

class TdxStatusBarViewInfo : public TObject {
 public:
  explicit TdxStatusBarViewInfo(TdxCustomStatusBar* AOwner) : FStatusBar(AOwner) {}
  virtual void CalculateLayout(const TRect& Bounds);
  int PanelCount() const { return int(FPanels.size()); }
  TdxStatusBarPanelViewInfo* Panels(int Index) const { return FPanels.at(size_t(Index)).get(); }
  bool SizeGripOverlapped() const { return FSizeGripOverlapped; }

 private:
  TdxCustomStatusBar* FStatusBar;
  std::vector<std::unique_ptr<TdxStatusBarPanelViewInfo>> FPanels;
  bool FSizeGripOverlapped = false;
};

// ---- the bar

class TdxCustomStatusBar : public TcxControl {
 public:
  explicit TdxCustomStatusBar(TComponent* AOwner);
  ~TdxCustomStatusBar() override;

  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value);
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  TdxStatusBarPaintStyle PaintStyle() const { return FPaintStyle; }
  void SetPaintStyle(TdxStatusBarPaintStyle Value);
  TdxStatusBarPanels* Panels() const { return FPanels.get(); }
  void SetPanels(TdxStatusBarPanels* Value) { FPanels->Assign(Value); }
  bool SizeGrip() const { return FSizeGrip; }
  void SetSizeGrip(bool Value);
  TdxStatusBarPainterClass Painter() const { return FPainter; }
  TdxStatusBarViewInfo* ViewInfo() const { return FViewInfo.get(); }
  bool ThemesAvailable() const { return FThemeAvailable; }
  void SetLookAndFeel(TcxLookAndFeel* Value) { LookAndFeel()->Assign(Value); }
  using TcxControl::Canvas;

  bool ExecuteAction(TBasicAction* Action) override;
  void Loaded() override;

  TNotifyEvent OnHint;

  // The overridable operations, in their fixed order.
  virtual void AdjustPanelTextColor(TColor& AColor, bool Active) {}
  virtual std::unique_ptr<TdxStatusBarViewInfo> CreateViewInfo();
  virtual void CalculateLayout();
  virtual TdxStatusBarPanel* CreatePanel();
  virtual std::unique_ptr<TdxStatusBarPanels> CreatePanels();
  virtual void DoHint();
  virtual TdxStatusBarPanelStyleClass DefaultPanelStyleClass() const;
  virtual TdxStatusBarPainterClass PainterClass() const;
  virtual TdxStatusBarPaintStyle EffectivePaintStyle() const;
  virtual TCollectionItemClass PanelClass() const;
  virtual void CheckThemes();
  virtual void UpdatePainter();
  virtual bool ShowsSizeGrip();
  virtual void ThemeChanged();
  virtual void RecalculateAndInvalidate();
  virtual bool CanUsePanelStyle(TdxStatusBarPanelStyleClass AClass) const { return AClass != nullptr; }
  virtual TdxStatusBarPanel* PanelAtPos(int X, int Y) const;

 protected:
  void Paint() override;
  void Resize() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void FontChanged() override;
  void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues) override;
  bool ErasesBackground() const override { return false; }
  bool HasScrollBars() const override { return false; }
  bool IsFocusable() const override { return false; }

 private:
  friend class TdxStatusBarPanels;
  int FBorderWidth = 0;
  TCustomImageList* FImages = nullptr;
  std::unique_ptr<TChangeLink> FImageChangeLink;
  TdxStatusBarPainterClass FPainter = nullptr;
  TdxStatusBarPaintStyle FPaintStyle = stpsStandard;
  std::unique_ptr<TdxStatusBarPanels> FPanels;
  bool FSizeGrip = true;
  bool FThemeAvailable = false;
  std::unique_ptr<TdxThemeChangedNotificator> FThemeChangedNotificator;
  std::unique_ptr<TdxStatusBarViewInfo> FViewInfo;
};

class TdxStatusBar : public TdxCustomStatusBar {
 public:
  using TdxCustomStatusBar::TdxCustomStatusBar;
};

void dxStatusBarInitialize();
void dxStatusBarFinalize();
