#pragma once
// The toolbar window: the window of one bar, docked in a row of a dock site or floating as a
// small captioned popup of the form. It sizes itself from its links (one line, or wrapped into
// rows), places their item controls, draws its frame through the painter and turns its frame's
// hit codes into dragging, sizing and the close button. The decisions that need no window (what
// WM_NCHITTEST answers) are kept apart in ToolbarHitTest.

#include <map>
#include <memory>

#include "platform/win/Types.h"
#include "platform/win/Windows.h"
#include "suite/bars/dxBar.h"

struct TdxBarHitTestInput {
  LRESULT PlatformResult = HTCLIENT;  // what the default handling answered
  bool KeepsPlatformResult = false;   // navigation flag 128
  bool Floating = false;
  bool Vertical = false;
  bool Customizing = false;
  // Docked: the point in client coordinates against the client rectangle.
  TPoint ClientPoint;
  TRect ClientRect;
  bool OverSelectableControl = false;
  bool OverAnyControl = false;
  bool OverButtons = false;  // the MDI buttons or the main menu's close button
  bool OverMark = false;
  bool OverSizeGrip = false;
  // Floating: the screen point against the window rectangle and the painter's frame sizes.
  TPoint ScreenPoint;
  TRect WindowRect;
  int FrameWidth = 0;
  int FrameHeight = 0;
  bool OverCloseButton = false;
  bool CloseButtonHitTestDirect = false;
};
struct TdxBarHitTestResult {
  LRESULT Result = HTCLIENT;
  int Code = 0;
};
TdxBarHitTestResult ToolbarHitTest(const TdxBarHitTestInput& In);

// The hit codes a toolbar records for its mouse-down handling.
constexpr int dxBarHitNone = 0;
constexpr int dxBarHitItem = 1;
constexpr int dxBarHitDragArea = 2;
// The caption-button index of a floating toolbar's close button.
constexpr int dxBarCloseButtonIndex = -2;

// ---- the docked-or-floating window of a bar

class TdxBarDockedControl : public TCustomdxBarControl {
 public:
  explicit TdxBarDockedControl(TComponent* AOwner);
  ~TdxBarDockedControl() override;

  // ---- introduced, in slot order
  virtual void SetBar(TdxBar* Value) { FBar = Value; }
  virtual bool IsOutsidePopupWindow() const;
  // The index of the caption button at a window point; -1 none, -2 a toolbar's close button.
  virtual int CaptionButtonAt(const TPoint& P) const;
  virtual bool HasCaptionButtons() const;
  virtual void BeforeCaptionButtonClick() {}
  virtual void ClickCaptionButton(int Index);
  virtual void UpdateCaptionButtonStates(const TPoint& P, bool Pressed, int Index);
  virtual void CaptionButtonsResized() {}
  virtual TdxBar* Bar() const { return FBar; }

  // ---- overrides
  void MouseLeftBar() override;

  // Held while the window is re-created or moved between sites by code; never below 0.
  void LockLayout() { ++FInternalLock; }
  void UnlockLayout() {
    if (FInternalLock > 0) --FInternalLock;
  }
  bool IsLayoutLockedInternal() const { return FInternalLock > 0; }
  int HitTestCode() const { return FHitTestCode; }
  void SetHitTestCode(int Value) { FHitTestCode = Value; }

 protected:
  void Dispatch(TMessage& Message) override;
  void Resize() override;
  // The caption buttons' press: tracks the mouse in a loop of its own while the window holds
  // the capture, and runs the button when it is released over it.
  void TrackCaptionButton(TMessage& Message);

 private:
  TdxBar* FBar = nullptr;
  int FHitTestCode = dxBarHitNone;
  int FInternalLock = 0;
};

class TdxBarControl : public TdxBarDockedControl {
 public:
  explicit TdxBarControl(TComponent* AOwner);
  ~TdxBarControl() override;

  // ---- introduced, in slot order
  virtual bool BreaksBeforeFirst() const { return false; }
  virtual bool CanDragBar() const;
  bool IsShowing() const override;
  virtual bool RetracksAfterDeactivation() const { return true; }
  virtual const TClassInfo* MarkAccessibilityHelperClass() const { return nullptr; }
  virtual void MarkHintText(std::string& Text) const;
  virtual bool IsMultiLineLayout() const;
  virtual const TClassInfo* QuickControlClass() const { return nullptr; }
  virtual bool AllowsQuickCustomizing() const;
  // The mark's popup and quick customizing come with the customization forms; these are the
  // places they fill in.
  virtual void FillMarkPopup(TObject* Popup) {}
  virtual void AddQuickCustomizeItem(TObject* Popup) {}
  virtual void FillQuickCustomizationMenu(TdxBarItemLinks* Links) {}
  virtual int MinWidth(TdxBarDockingStyle Style);
  virtual int MinHeight(TdxBarDockingStyle Style);
  virtual int MaxWidth(TdxBarDockingStyle Style);
  virtual int MaxHeight(TdxBarDockingStyle Style);
  virtual void GripRect(TRect& R) const;
  virtual void CalcSizeForWidth(TdxBarDockingStyle Style, int Width, TSize& Size);
  virtual bool HasFloatingCaption() const { return true; }
  virtual bool HasCloseButton() const;
  // The main menu's MDI buttons (minimize, restore, close of a maximized child), in
  // dxBarMDIButtons.cpp.
  virtual bool HasMDIButtons() const;
  virtual TSize MDIButtonsSize() const;
  virtual void DrawMDIButtons(HDC DC, const TRect& R);
  virtual bool MDIButtonPressedAt(const TPoint& P);
  virtual void UpdateCaption();
  virtual void DrawSeparator(const TRect& R, bool Horizontal);
  virtual void DrawNonClientArea(HDC DC);
  virtual void DrawBar();
  virtual void DrawClientBackground();
  virtual void CaptionText(std::string& Text) const;
  virtual TFont* BarFont() const;
  virtual void GlyphChanged() {}

  // ---- overrides of the bar window
  void ClickCaptionButton(int Index) override;
  void UpdateCaptionButtonStates(const TPoint& P, bool Pressed, int Index) override;
  int CaptionButtonAt(const TPoint& P) const override;
  void BoundsChanged(const WINDOWPOS* WindowPos) override;
  void HandleKey(WORD& Key, TShiftState Shift) override;
  void MouseDownOnBar(TMouseButton Button, TShiftState Shift, bool InClient, TdxBarItemControl* Control,
                      const TPoint& P) override;
  void CustomizingClick(TdxBarItemControl* Control, TMouseButton Button, TShiftState Shift) override;
  void ItemMouseDown(TdxBarItemControl* Control) override;
  void Activate(TdxBarItemControl* Control) override;
  void KeySelectItemControl(TdxBarItemControl* Control) override;
  void Deactivate() override;
  void DoCloseUp(int Reason) override;
  bool AllowsCustomizingHits() const override;
  bool CanHotTrack(const TPoint& P, TdxBarItemControl* Control) const override;
  bool IsLayoutLocked() const override;
  bool NotFloatingFlat() const override;
  void RequestDeferredRecalc() override;
  void Rebuild(bool Recreate) override;
  void CalcLayout() override;
  void ArrangeLinks() override;
  bool StretchesControl(TdxBarItemControlViewInfo* ControlViewInfo) const override;
  void DropPositionAt(const TPoint& P, TdxBarItemLink*& Link, bool& Vertical, bool& Before,
                      bool& OnSeparator) override;
  void UpdateMetrics() override;
  TBitmap* BackgroundBitmap() const override { return nullptr; }
  int GroupIndent() const override;
  void ItemRect(TdxBarItemControl* Control, TRect& R) const override;
  HRGN ItemControlRegion(TdxBarItemControl* Control) const override;
  void OwnHintText(std::string& Text) const override { MarkHintText(Text); }
  bool FadingEnabled() const override;
  bool IsMainMenu() const override;
  bool IsStatusBarLike() const override;
  bool ShowsGrip() const override;
  TCustomForm* OwnerForm() const override;
  TObject* DesignOwner() const override { return Bar(); }
  HBRUSH BackgroundBrush() const override;
  TCustomdxBarControlViewInfo* CreateViewInfo() override;
  HDC BeginNCPaint(HRGN Region) override;
  void EndNCPaint(HDC DC) override;
  void DrawNonClient(HDC DC) override;
  void DrawBackground(HDC DC, const TRect& R, bool InClient, TColor Color, HBRUSH Brush) override;
  void MouseTrackingBounds(TRect& R) const override;
  bool HasMark() const override;
  void MarkRect(TRect& R) const override;
  bool HasHiddenItems() const override { return FTruncated; }
  bool IgnoresMouse(bool SamePositionCounts) const override;
  void SetDockingStyle(TdxBarDockingStyle Style) override;
  void InitFont() override;
  void ApplyTransparency() override;
  void InvalidateItemControl(TdxBarItemControl* Control) override;
  bool NeedsNCPaint() const override;
  bool HasBackgroundImage() const override;
  bool IsDockedOnColored() const override;
  TPoint ClientOriginInWindow() const override;
  void CloseAndFree() override;
  bool IsVerticalBar() const override { return IsDockedVertically(); }
  bool IsRotated() const override;
  int BarControlKind() const override { return 0; }

  // ---- the MDI buttons (dxBarMDIButtons.cpp): index 0 minimize, 1 restore, 2 close
  TRect MDIButtonRect(int Index) const;
  // Whether the button is usable: the active document's window menu has none of Mask's bits on
  // its command (restore always is, a lone close button is).
  bool ButtonEnabled(int Index, UINT Mask) const;
  void DrawMDIButtonSet(HDC DC, bool ExcludeFromClip);
  void RedrawMDIButtons();
  // The enabled button under a client point, -1 for none.
  int MDIButtonAt(const TPoint& P, UINT Mask) const;
  // A button held or hot lets go (WM_CANCELMODE).
  void CancelMDIButtons();
  void MouseMoveOverBar(TShiftState Shift, const TPoint& P, TdxBarItemControl* Control) override;
  void MouseUpOnBar(TMouseButton Button, TShiftState Shift, bool InClient, TdxBarItemControl* Control,
                    const TPoint& P) override;
  void MouseLeftBar() override;

  // ---- layout (sizes of the client area unless said)
  void CalcSizeForHeight(TdxBarDockingStyle Style, int Height, TSize& Size);
  // The window size in a docking style.
  void CalcSizeForDockingStyle(TdxBarDockingStyle Style, TSize& Size);
  // The mark's and the MDI buttons' share of a line, 0 when the bar shows none.
  int MDIAlongSize() const;
  int MDIAcrossSize() const;
  bool ShowsCloseButton() const;
  bool IsHorizontal() const { return DockingStyle() == dsTop || DockingStyle() == dsBottom; }
  bool Truncated() const { return FTruncated; }
  void SetTruncated(bool Value) { FTruncated = Value; }
  // The row a link's control lies in: its thickness, and whether it ends its row.
  int LinkRowHeight(TdxBarItemLink* Link) const;
  bool IsLastInRow(TdxBarItemControl* Control) const;

  // ---- placement
  void StorePositionInBar();
  // Moves the window into a dock site (or floating for dsNone).
  void MoveToDockSite(TdxBarDockingStyle Style, TdxDockControl* Site);
  void SetDragMoving(bool Moving);
  bool Moving() const { return FMoving; }
  void GrabOffsetForDockingStyle(TdxBarDockingStyle Style, TPoint& P);
  void ApplyStyleChange();
  void StyleChanged() override { ApplyStyleChange(); }
  void ApplyAppearanceChange();
  void RefreshFrame();
  void ApplyBarFont();
  void ApplyPlannedBounds();
  void SetPlannedBounds(const TRect& R) { FPlannedBounds = R; }
  int DockRowIndex() const;
  int DockColumnIndex() const;
  TdxDockCol* DockColumn() const;
  // Floating or docked by a double click on the caption or the drag area.
  void ToggleDocking();
  // The sizes a floating bar takes while its frame is dragged (WM_SIZING).
  void SizeFloating(int Edge, TRect& R);
  // A floating bar's edge dragged with the mouse (HTLEFT, HTTOP, HTRIGHT or HTBOTTOM): a loop of
  // its own that asks WM_SIZING for every new rectangle (dxBarDragging.cpp).
  void RunSizingLoop(int HitCode);
  int CloseButtonState() const { return FCloseButtonState; }
  TRect CloseButtonRect() const;
  // Places the bar's caption buttons right to left before the close button of the floating
  // caption; docked they have no place.
  void LayoutCaptionButtons();
  void CaptionButtonsResized() override { LayoutCaptionButtons(); }
  bool HasSizeGrip() const { return FHasSizeGrip; }
  const TPoint& GrabPoint() const { return FGrabPoint; }
  const TSize& GrabSize() const { return FGrabSize; }

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;
  void Paint() override;


 private:
  friend class TdxBarControlViewInfo;
  struct TLinkPlace {
    int RowHeight = 0;
    bool LastInRow = false;
    bool StartsNewLine = false;
  };
  void MeasureLinks(std::vector<TdxBarItemLink*>& Links, std::vector<struct TdxBarLayoutLink>& Out);
  void EnsureLinkControls();
  void FitLength(int Length, TSize& Size, bool& Truncated);
  void WrapLength(bool SubtractMark, int Length, TSize& Size);
  void CalcSizeAlong(TdxBarDockingStyle Style, int Length, bool AlongIsWidth, TSize& Size);
  // MaxWidth (Width true) or MaxHeight: the bar's extent with every link in one line.
  int MaxExtent(TdxBarDockingStyle Style, bool Width);
  bool IsVerticalStyle(TdxBarDockingStyle Style) const { return Style == dsLeft || Style == dsRight; }
  TRect BorderSizes(TdxBarDockingStyle Style) const;
  void HitTest(TMessage& Message);
  void KeepOnScreen(WINDOWPOS* Pos);
  void DrawCloseButton(HDC DC);
  void DrawCaptionButtons(HDC DC);

  int FCloseButtonState = 0;
  bool FHasSizeGrip = false;
  bool FMoving = false;
  bool FTruncated = false;
  bool FPositionSaving = false;
  TRect FPlannedBounds;
  TPoint FGrabPoint;
  TSize FGrabSize{0, 0};
  std::map<TdxBarItemLink*, TLinkPlace> FPlaces;
  TWeakLink<TCustomdxBarControl> FPreviousKeyboardBar;
  HWND FFocusBeforeActivation = nullptr;
};

// The toolbar's view info: its item controls in their places and the group separators.
class TdxBarControlViewInfo : public TCustomdxBarControlViewInfo {
 public:
  using TCustomdxBarControlViewInfo::TCustomdxBarControlViewInfo;
  void Recalculate() override;
  // Introduced, in slot order.
  virtual bool AddSeparatorFor(TdxBarItemLink* Link);
  virtual bool ShowsSeparators() const { return true; }
  virtual void AddLinkSeparator(TdxBarItemLink* Link, const TRect& R);
  virtual bool StopsAfter(TdxBarItemControl* Control) const { return false; }

 private:
  TdxBarControl* Toolbar() const;
};
