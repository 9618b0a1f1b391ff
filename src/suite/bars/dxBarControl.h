#pragma once
// The window behind every bar: a docked or floating toolbar, a sub-menu or a popup. It owns the
// item controls of the links it shows, asks the painter for every metric and every drawing step,
// and turns window messages into the shared selection, hot-tracking and keyboard logic. Included
// by dxBar.h, which declares the model classes it refers to.

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"
#include "suite/core/cxAccessibility.h"
#include "suite/core/cxControls.h"

class TdxBarManager;
class TdxBarItemLink;
class TdxBarItemLinks;
class TdxBarItemControl;
class TdxBarItemControlViewInfo;
class TCustomdxBarControlViewInfo;
class TdxBarPainter;
class TdxDockControl;
class TdxFader;
class TdxCustomHintViewInfo;
class TdxScreenTip;
class TcxCanvas;
class TcxScreenCanvas;
class TCustomForm;
class TBitmap;
class TdxBarContainerLinkData;
class TdxBarShadow;
enum TdxBarDockingStyle : uint8_t;

// The private message that asks a bar window to recalculate and repaint itself later.
constexpr UINT WM_DXBAR_DEFERREDRECALC = WM_APP + 200;

// State bits of a bar control.
enum : uint16_t {
  dxbcsBuildingControls = 1 << 0,
  dxbcsFreeingControls = 1 << 1,
  dxbcsDestroyingWindow = 1 << 2,
  dxbcsDestroying = 1 << 3,
  dxbcsDestroyed = 1 << 4,
  dxbcsClosingUp = 1 << 5,
  dxbcsDrawingControl = 1 << 6,
  dxbcsRebuilding = 1 << 7,
  dxbcsUpdatingFont = 1 << 8,
};

// Close-up reasons.
constexpr int dxbcrClick = 1;
constexpr int dxbcrDesigner = 2;
constexpr int dxbcrKey = 3;

class TCustomdxBarControl : public TCustomControl, public IcxMouseTrackingCaller2 {
 public:
  // Owner is the manager; a bar control without one (a stand-in in tests) asks the manager of
  // its links.
  explicit TCustomdxBarControl(TComponent* AOwner = nullptr);
  ~TCustomdxBarControl() override;

  // ---- introduced, in slot order
  virtual void BoundsChanged(const WINDOWPOS* WindowPos);
  virtual void RecordMousePosition(TShiftState Shift, int X, int Y);
  virtual bool HookKeyMode() const { return false; }
  virtual void OwnerWindowPressed(HWND Wnd, UINT Message, const void* HookData) {}
  virtual bool PlaceChildMenu(TRect& R) { return false; }
  virtual void CalcLayout();
  virtual void DropPositionAt(const TPoint& P, TdxBarItemLink*& Link, bool& Vertical, bool& Before,
                              bool& OnSeparator);
  virtual void UpdateMetrics();
  virtual void CalcItemsRect();
  virtual void CalcStackedLinkRect(TdxBarItemLink* Link, const TPoint& Origin, TRect& R);
  virtual void StackLinks(int FirstIndex, int& Bottom);
  virtual void ArrangeLinks() {}
  virtual void PlaceItemControls(int Kind, int FirstIndex);
  virtual void CalculateViewInfo();
  virtual void AdjustHintRect(TRect& R, int Height);
  virtual void SelectOrClose(TdxBarItemControl* Control);
  virtual bool KeepsMouseTracking() const { return false; }
  virtual void BuildItemControls();
  virtual void FreeItemControls();
  virtual void RequestDeferredRecalc() {}
  virtual void HandleKey(WORD& Key, TShiftState Shift);
  virtual void HandleMouseUpMessage(TMessage& Message);
  virtual bool CanActivate() const;
  virtual bool StretchesControl(TdxBarItemControlViewInfo* ControlViewInfo) const { return false; }
  virtual bool NotFloatingFlat() const { return true; }
  virtual bool CanDrawItemControl(TdxBarItemControl* Control) const;
  virtual bool AllowsCustomizingHits() const;
  virtual bool IsCustomizingClick(TdxBarManager* Manager, HWND Wnd) const;
  virtual bool ShowsPartialLink(const TRect& R) const { return false; }
  virtual bool IsInActiveChain() const;
  virtual bool CanHotTrack(const TPoint& P, TdxBarItemControl* Control) const { return true; }
  virtual bool ShowsItemHints() const { return !IsActive(); }
  virtual bool ShowsContextPopupOn(bool MouseDown) const;
  virtual bool IsLayoutLocked() const;
  virtual int PainterIndent() const;
  virtual void AdjustVisibleTop() {}
  virtual void AdjustVisibleBottom() {}
  virtual void BeginItemDrag(const TPoint& P, bool OnSelectedControl);
  virtual void Activate(TdxBarItemControl* Control);
  virtual void Deactivate();
  virtual void MouseEnterBar(TShiftState Shift, const TPoint& P, TdxBarItemControl* Control);
  virtual void MouseDownOnBar(TMouseButton Button, TShiftState Shift, bool InClient,
                              TdxBarItemControl* Control, const TPoint& P);
  virtual void MouseLeftBar();
  virtual void MouseMoveOverBar(TShiftState Shift, const TPoint& P, TdxBarItemControl* Control);
  virtual void MouseUpOnBar(TMouseButton Button, TShiftState Shift, bool InClient,
                            TdxBarItemControl* Control, const TPoint& P);
  virtual void CreateLinkControls();
  virtual void NotifyClosed();
  virtual void FreeLinkControls();
  virtual void PassFocusBack();
  virtual void DoCloseUp(int Reason);
  virtual void DrawItemControl(TdxBarItemControl* Control, TcxCanvas* ACanvas, const TRect& R);
  virtual void Rebuild(bool Recreate);
  virtual void SetActiveState(bool Value);
  virtual void DrawItemControls();
  virtual void SimulateMouseMove(int X, int Y, bool& Handled) {}
  virtual TdxBarItemLink* FindAccelLink(WORD Key, TShiftState Shift, TdxBarItemLink* StartLink);
  virtual TdxBarItemLink* AccelLinkFor(WORD Key, TShiftState Shift, bool& Ambiguous,
                                       TdxBarItemLink* StartLink);
  virtual void ItemMouseDown(TdxBarItemControl* Control);
  // Every bar window answers with the generic bar helper unless its class has its own.
  virtual TcxAccessibilityHelperClass AccessibilityHelperClass() const;
  virtual TBitmap* BackgroundBitmap() const { return nullptr; }
  virtual int GroupIndent() const { return 0; }
  virtual int NavigationFlags() const;
  virtual int TextWidthFor(TdxBarItemControl* Control) const;
  virtual TBitmap* FallbackGlyph() const { return nullptr; }
  virtual TFont* EditFont() const;
  virtual TdxFader* Fader() const;
  virtual void ItemRect(TdxBarItemControl* Control, TRect& R) const;
  virtual void OwnHintText(std::string& Text) const { Text.clear(); }
  virtual bool IsCustomizing() const;
  virtual bool FadingEnabled() const { return false; }
  virtual bool IsMainMenu() const { return false; }
  virtual bool ShadowVisible() const;
  virtual bool IsStatusBarLike() const { return false; }
  // A docked bar shows a grip at its start, the main menu and a status-bar-like bar excepted.
  virtual bool ShowsGrip() const { return DockingStyle() != dsNone && !IsStatusBarLike() && !IsMainMenu(); }
  virtual TCustomForm* OwnerForm() const;
  virtual int ReservedMetric(TdxBarItemControl* Control) const;
  virtual int GroupIndentBefore(TdxBarItemLink* Link) const;
  virtual void ItemControlRect(TdxBarItemControl* Control, bool IncludeSeparator, TRect& R) const;
  virtual HRGN ItemControlRegion(TdxBarItemControl* Control) const;
  virtual void ContentMargins(TRect& R) const { R = TRect(); }
  virtual int MarkState() const { return FMarkState; }
  virtual int MarkSize() const;
  virtual TCustomdxBarControl* NextToolbar(bool Forward) const;
  virtual int BaseTextSize() const;
  virtual TWinControl* OwnerControl() const;
  virtual TdxBarPainter* Painter() const;
  virtual int ItemOrientation() const;
  virtual TObject* DesignOwner() const { return nullptr; }
  virtual HBRUSH BackgroundBrush() const;
  virtual HBRUSH PatternBrush() const;
  virtual HBRUSH FaceBrush() const;
  virtual HBRUSH HighlightBrush() const;
  virtual TCustomdxBarControlViewInfo* CreateViewInfo();
  virtual void MakeItemVisible(TdxBarItemControl* Control) {}
  virtual void SetItemLinks(TdxBarItemLinks* Value) { FItemLinks = Value; }
  virtual HDC BeginNCPaint(HRGN Region);
  virtual void EndNCPaint(HDC DC);
  virtual int DropDownShift() const;
  virtual int IconAreaWidth() const { return 0; }
  virtual int MeasureTextSize();
  virtual void MouseTrackingBounds(TRect& R) const;
  virtual bool ReservedSwitch() const { return true; }
  virtual bool HasShadow() const;
  virtual void CloseByKey() { CloseUp(dxbcrKey); }
  virtual bool ClosesAfterClick() const { return false; }
  virtual bool ClosesOnAnyKey() const { return false; }
  virtual bool IsAncestorOf(const TCustomdxBarControl* Control) const;
  virtual bool OwnsWindow(HWND Wnd) const;
  virtual bool HasItemControl(TdxBarItemControl* Control) const;
  virtual bool TouchesOwnerBounds() const;
  virtual bool IsOwnerWindow(HWND Wnd) const { return false; }
  virtual bool IsPopup() const { return false; }
  virtual bool IsVerticalLayout() const { return IsVerticalBar(); }
  virtual bool IsWindowEnabled() const;
  virtual void ItemControlSelected(TdxBarItemControl* Control) {}
  virtual bool HasMark() const { return false; }
  virtual void MarkRect(TRect& R) const { R = TRect(); }
  virtual void SetMarkState(int State) { FMarkState = uint8_t(State); }
  virtual bool IsQuickCustomizationPopup() const { return false; }
  virtual bool IgnoresMouse(bool SamePositionCounts) const;
  virtual void DrawItemControlWithBackground(TcxCanvas* ACanvas, TdxBarItemControl* Control);
  virtual void SetDockingStyle(TdxBarDockingStyle Style);
  virtual void InitFont() {}
  virtual void ApplyTransparency() {}
  virtual void CustomizingClick(TdxBarItemControl* Control, TMouseButton Button, TShiftState Shift);
  virtual void PressItemControl(TdxBarItemControl* Control, bool Ambiguous);
  virtual void KeySelectItemControl(TdxBarItemControl* Control);
  virtual void SelectItemControl(TdxBarItemControl* Control);
  virtual void SetHotItemControl(TdxBarItemControl* Control);
  virtual void InvalidateItemControl(TdxBarItemControl* Control);
  virtual void ViewStateChanged(int OldState) {}
  virtual void HandOverSelection() {}
  virtual void ContextPopupDone(bool Value) {}
  virtual void ShowContextPopup() {}
  virtual bool NeedsNCPaint() const { return true; }
  // Fills a part of the bar background (InClient: R in client coordinates); clNone takes the brush.
  virtual void DrawBackground(HDC DC, const TRect& R, bool InClient, TColor Color, HBRUSH Brush);
  virtual void DrawNCBackground(HDC DC, HRGN Region, bool InClient, HBRUSH Brush);
  virtual bool IsInternalPopup() const { return false; }
  virtual bool HasBackgroundImage() const { return false; }
  virtual bool IsDockedOnColored() const { return false; }
  virtual TPoint ClientOriginInWindow() const { return TPoint(); }
  virtual void DrawNonClient(HDC DC) {}
  virtual void ClearBackgroundCache();
  // The cached background the themed painters draw into (null before the window's resources).
  TBitmap* BackgroundCacheBitmap() const { return FBackgroundCache.get(); }
  // The floating caption's close button: 0 normal, 1 hot, 2 pressed.
  virtual int CloseButtonState() const { return 0; }
  virtual void DecideDoubleBuffered();
  virtual void CreateResources();
  virtual void FreeResources();
  virtual void CloseAndFree() {}
  virtual void CloseUp(int Reason);
  virtual bool WantsEditSelectAll() const { return false; }
  virtual bool IsVerticalBar() const { return false; }
  virtual bool IsRotated() const { return false; }
  virtual int BarControlKind() const { return 0; }  // toolbar 0, quick customizing 1, sub-menu 2
  virtual void RecalculateBar();
  virtual bool GetHintTexts(TObject* Sender, std::string& Hint, std::string& ShortCut);
  // Dynamic operations.
  void MouseLeave() override;
  bool PtInCaller(const TPoint& P) override;
  virtual void DblClickItemControl(TdxBarItemControl* Control);

  // ---- what the model and the item controls ask of any bar window
  virtual bool IsVertical() const { return IsVerticalLayout(); }
  virtual bool IsShowing() const;
  virtual bool IsDestroying() const { return (FState & (dxbcsDestroying | dxbcsDestroyed)) != 0; }
  virtual bool IsActive() const { return FActive; }
  virtual TRect ClientBounds() const { return ClientRect(); }
  virtual void RepaintBar() { RepaintWithFrame(); }
  virtual void LinksAppeared() { RecalculateBar(); }
  virtual void StyleChanged() { RecalculateBar(); }
  virtual void RecreateChangedItemControls() { RebuildKeepingSelection(true); }
  virtual TdxBarItemControl* SelectedControl() const;
  virtual void SetSelectedControl(TdxBarItemControl* Value) { SetHotItemControl(Value); }
  // The control of the item that opened this sub-menu, or null.
  virtual TdxBarItemControl* ParentItemControl() const { return nullptr; }
  virtual TcxCanvas* CurrentCanvas() const;
  virtual TdxBarItemControl* ItemControlAt(const TPoint& P) const;
  virtual TdxBarItemControl* ItemControlUnderCursor() const;
  virtual TdxCustomHintViewInfo* NewHintViewInfo(const std::string& Hint, const std::string& ShortCut,
                                                 TdxScreenTip* ScreenTip);
  virtual TPoint CalcHintPosition(const TPoint& Cursor, int Height, const TRect& ItemBounds);
  virtual bool IsDockedVertically() const;
  virtual bool AcceptsAlignedItems() const { return false; }
  virtual bool Downed() const { return FDowned; }
  virtual void SetDowned(bool Value) { FDowned = Value; }
  virtual void DeactivateIfFocused();
  virtual int TextSize() const { return FTextSize; }
  virtual int MenuArrowWidth() const { return FMenuArrowWidth; }
  virtual int MenuArrowHeight() const { return FMenuArrowHeight; }
  virtual int SeparatorIndent() const { return 0; }
  // Made on first request by CreateViewInfo.
  virtual TCustomdxBarControlViewInfo* ViewInfo() const;
  virtual void SetLessUsedFill(bool Value) {}

  // ---- plain operations
  TdxBarItemLinks* ItemLinks() const { return FItemLinks; }
  TdxBarManager* OwnerBarManager() const;
  // The owner manager, else the manager of the links.
  TdxBarManager* BarManager() const;
  void ChangeActive(bool Value);
  void ActivateItemControlInBar(TCustomdxBarControl* Bar, TdxBarItemControl* Control);
  void MoveToNextToolbar(bool Forward);
  void RebuildKeepingSelection(bool Recreate);
  void RecreateItemControls();
  void ExpandContainerLinks();
  void CollapseContainerLinks();
  void AttachChildBar(TCustomdxBarControl* Child);
  void SetParentBar(TCustomdxBarControl* Value);
  TCustomdxBarControl* ChildBar() const { return FChildBar; }
  TCustomdxBarControl* ParentBar() const { return FParentBar; }
  // The bar this one was opened from, for keyboard navigation (the parent bar in the base).
  virtual TCustomdxBarControl* NavigationParent() const { return FParentBar; }
  TCustomdxBarControl* PreviousActiveBar() const { return FPreviousActive; }
  void AssignDockControl(TdxDockControl* Site);
  TdxDockControl* DockControl() const { return FDockControl; }
  virtual TdxBarDockingStyle DockingStyle() const { return FDockingStyle; }
  // Links of the bar that its layout left out (the mark then offers them).
  virtual bool HasHiddenItems() const { return false; }
  TdxBarItemControl* SelectedItemControl() const { return SelectedControl(); }
  TdxBarItemLink* SelectedLink() const { return FSelectedLink; }
  TdxBarItemControl* DesignSelectedItemControl() const;
  TdxBarItemControl* ClickedControl() const;
  void SetClickedControl(TdxBarItemControl* Value);
  int CloseUpReason() const { return FCloseUpReason; }
  void LockCalculation() { ++FLockCount; }
  void UnlockCalculation() { --FLockCount; }
  int LockCount() const { return FLockCount; }
  void RepaintWithFrame();
  void RepaintFrameAndClient();
  TRect ItemControlScreenRect(TdxBarItemControl* Control) const;
  TRect LinkBoundsOf(TdxBarItemControl* Control) const;
  bool IsKeyboardBar() const;
  TPoint ClientOffset() const;
  void ClientRectInWindow(TRect& R) const;
  HFONT EditFontHandle() const;
  TPoint PointInParent(const TPoint& P) const;
  void OwnerJointRect(bool InScreen, TRect& R) const;
  void ReleasePlacedWindows();
  bool IsCursorOverMark() const;
  bool IsMouseOverWindow() const;
  void ShowNoActivate();
  void RequestHint(bool Show, const std::string* Text, TObject* Object);
  TPoint CalcHintPositionAtMark(const TPoint& Cursor, int Height);
  void UpdateFont();
  void UpdateDoubleClicks();
  bool IsCustomizingOrFlagged() const { return IsCustomizing(); }
  TdxBarItemLink* TrackedLink() const { return FTrackedLink; }
  const TPoint& LastMousePosition() const { return FLastMousePosition; }
  void SetLastMousePosition(const TPoint& P) { FLastMousePosition = P; }
  int ViewState() const { return FViewState; }
  uint16_t State() const { return FState; }
  bool IgnoreNextClick() const { return FIgnoreNextClick; }
  void SetIgnoreNextClick(bool Value) { FIgnoreNextClick = Value; }
  const TRect& ItemsRect() const { return FItemsRect; }
  const TRect& VisibleItemsRect() const { return FVisibleItemsRect; }
  void SetVisibleItemsRect(const TRect& R) { FVisibleItemsRect = R; }
  const TRect& OwnerBounds() const { return FOwnerBounds; }
  void SetOwnerBounds(const TRect& R) { FOwnerBounds = R; }
  TWinControl* OwnerWinControl() const { return FOwnerControl; }
  void SetOwnerWinControl(TWinControl* Value) { FOwnerControl = Value; }
  double Ratio() const { return FRatio; }
  int EditTextSize() const { return FEditTextSize; }
  int ComboArrowWidth() const { return FComboArrowWidth; }
  int IconAreaSize() const { return FIconAreaSize; }
  int MarkSizeField() const { return FMarkSize; }
  void SetMarkSizeField(int Value) { FMarkSize = Value; }
  void SetMenuArrowWidth(int Value) { FMenuArrowWidth = Value; }
  const TMessage& CurrentMessage() const { return FCurrentMessage; }
  bool SwitchingDragMode() const { return FSwitchingDragMode; }
  void SetSwitchingDragMode(bool Value) { FSwitchingDragMode = Value; }
  bool HasScreenCanvas() const { return FScreenCanvas != nullptr; }
  TdxBarShadow* Shadow() const { return FShadow.get(); }
  // The bar's accessibility helper, made on first request.
  TcxAccessibilityHelper* AcquireAccessibilityHelper();
  TNotifyEvent OnClose;

 protected:
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void CreateWindowHandle(const TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWindowHandle() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void Resize() override;
  void Paint() override {}
  // Each message of the table; a subclass calls the base for the default behaviour.
  virtual void HandleKeyDown(TMessage& Message);
  // The canvas wrapper once the window exists, for subclasses that paint.
  TcxCanvas* CanvasWrapper() const { return FCanvas.get(); }
  void SetState(uint16_t Bits, bool On) { FState = On ? uint16_t(FState | Bits) : uint16_t(FState & ~Bits); }
  void TrackLink(const TPoint& P, TShiftState Shift);
  bool IsPointInClient(const TPoint& P) const;
  // The selectable item controls in order, for keyboard moves.
  TdxBarItemControl* FirstSelectableControl() const;
  TdxBarItemControl* LastSelectableControl() const;
  TdxBarItemControl* NextSelectableControl(TdxBarItemControl* From, bool Forward) const;

  TRect FItemsRect;
  TRect FVisibleItemsRect;
  int FTextSize = 0;
  int FEditTextSize = 0;
  int FMarkSize = 0;
  int FMenuArrowHeight = 0;
  int FMenuArrowWidth = 0;
  int FComboArrowWidth = 0;
  int FIconAreaSize = 0;
  double FRatio = 1.0;
  TMessage FCurrentMessage;

 private:
  void DispatchMessageTable(TMessage& Message);
  void BeforeDestruction();

  mutable std::unique_ptr<TcxScreenCanvas> FScreenCanvas;
  TcxAccessibilityHelper* FAccessibilityHelper = nullptr;
  std::unique_ptr<TBitmap> FBackgroundCache;
  HBRUSH FBackgroundBrush = nullptr;
  std::unique_ptr<TcxCanvas> FCanvas;
  TCustomdxBarControl* FChildBar = nullptr;
  TWeakLink<TdxBarItemControl> FClickedControl;
  uint8_t FCloseUpReason = 0;
  TdxDockControl* FDockControl = nullptr;
  TdxBarDockingStyle FDockingStyle{};
  bool FDragPending = false;
  TPoint FDragPoint;
  std::vector<TdxBarContainerLinkData*>* FExpandedLinks = nullptr;
  bool FIgnoreNextClick = false;
  bool FActive = false;
  bool FDowned = false;
  TdxBarItemLinks* FItemLinks = nullptr;
  int FLockCount = 0;
  bool FSwitchingDragMode = false;
  TRect FOwnerBounds;
  TWinControl* FOwnerControl = nullptr;
  TCustomdxBarControl* FParentBar = nullptr;
  TCustomdxBarControl* FPreviousActive = nullptr;
  TdxBarItemLink* FTrackedLink = nullptr;
  TdxBarItemLink* FSelectedLink = nullptr;
  TPoint FLastMousePosition{-1, -1};
  uint8_t FMarkState = 0;
  uint16_t FState = 0;
  mutable std::unique_ptr<TCustomdxBarControlViewInfo> FViewInfo;
  std::unique_ptr<TdxBarShadow> FShadow;
  uint8_t FViewState = 0;
};

// ---- unit-wide state of the bar windows

// The head of the chain of active bar controls (each keeps the one active before it).
TCustomdxBarControl* GetActiveBarControl();
// Whether the first bar of the current chain became active while its manager was customizing.
bool ActiveChainEnteredWhileCustomizing();
// Menus set it when one of them expands: every menu of the chain then shows all its links.
void SetActiveChainEnteredWhileCustomizing(bool Value);
void AddLiveBarControl(TCustomdxBarControl* Control);
void RemoveLiveBarControl(TCustomdxBarControl* Control);
bool IsLiveBarControl(const TObject* Control);
int LiveBarControlCount();
TCustomdxBarControl* LiveBarControl(int Index);
// The root of a bar's parent chain.
TCustomdxBarControl* RootBarControlOf(TCustomdxBarControl* Control);
// The live bar control that owns a window, or null.
TCustomdxBarControl* BarControlOfWindow(HWND Wnd);
