#pragma once
// Menus: the pop-up window that shows a sub item's links, a nested menu or a popup menu, the
// item controls of sub items and containers that open them, and the popup menu's calls.

#include <functional>
#include <memory>

#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarItemControls.h"

class TdxBarAnimationThread;
class TdxBarSubItemControl;

// Timers of a menu window.
constexpr UINT_PTR dxBarSubMenuScrollTimer = 1;
constexpr UINT_PTR dxBarSubMenuMarkSelectTimer = 2;
constexpr UINT_PTR dxBarSubMenuExpandTimer = 3;
// How long a collapsed menu waits before it expands by itself.
constexpr UINT dxBarSubMenuExpandDelay = 4000;
// How long the mark waits under the mouse before the menu expands (the hint delay).
constexpr UINT dxBarSubMenuHintDelay = 1000;
// How long a menu fades in.
constexpr DWORD dxBarSubMenuFadeTime = 150;

using TdxBarSubMenuCloseUpEvent = std::function<void(TObject* Sender, int Reason)>;

class TdxBarSubMenuControl : public TCustomdxBarControl {
 public:
  explicit TdxBarSubMenuControl(TComponent* AOwner);
  ~TdxBarSubMenuControl() override;

  // ---- introduced, in slot order
  virtual bool NeedsSecondPlacement(const TSize& Size) const { return false; }
  virtual bool RightButtonActsAsLeft() const;
  virtual TSize CalcNaturalSize();
  virtual bool ClipsWidthToWorkArea() const { return false; }
  virtual bool IsSubMenuWindow() const { return true; }
  virtual UINT ScrollInterval() const { return 80; }
  virtual TSize CalcSize();
  virtual void ShowWindowAnimated();
  virtual void DrawContent();
  virtual void FillItemsBackground(const TRect& R);
  virtual TRect NonClientBorders(bool WithDetachCaption) const;

  // ---- overrides of the bar window
  int BarControlKind() const override { return 2; }
  TcxAccessibilityHelperClass AccessibilityHelperClass() const override;
  bool IsPopup() const override { return true; }
  bool ClosesAfterClick() const override { return true; }
  bool IsVerticalLayout() const override { return true; }
  int NavigationFlags() const override;
  TdxBarItemControl* ParentItemControl() const override { return OwnerItemControl(); }
  void CalcLayout() override;
  void CalcItemsRect() override;
  void AdjustVisibleTop() override;
  void AdjustVisibleBottom() override;
  TCustomdxBarControlViewInfo* CreateViewInfo() override;
  void MakeItemVisible(TdxBarItemControl* Control) override;
  void KeySelectItemControl(TdxBarItemControl* Control) override;
  void CloseAndFree() override;
  void DoCloseUp(int Reason) override;
  void BuildItemControls() override;
  void FreeItemControls() override;
  bool ShadowVisible() const override;
  void DrawNonClient(HDC DC) override;
  int GroupIndent() const override;
  int DropDownShift() const override;
  int IconAreaWidth() const override;
  void UpdateMetrics() override;
  bool ShowsItemHints() const override { return (NavigationFlags() & 4) != 0; }
  bool HasMark() const override;
  void MarkRect(TRect& R) const override;
  void SetMarkState(int State) override;
  bool IsOwnerWindow(HWND Wnd) const override;
  bool IsInternalPopup() const override;
  void HandOverSelection() override;
  void SimulateMouseMove(int X, int Y, bool& Handled) override;
  TBitmap* BackgroundBitmap() const override;
  // The menu's own brush: the painter's menu brush, which looks that track hot elements replace.
  HBRUSH BackgroundBrush() const override;
  // Parts of the menu's background, on the menu's own canvas, come from the painter's menu fill
  // (a band or background bitmap included).
  void DrawBackground(HDC DC, const TRect& R, bool InClient, TColor Color, HBRUSH Brush) override;
  void ContentMargins(TRect& R) const override;

  // ---- operations
  void ShowWithAnimation();
  void PlaceInWorkArea(TSize Size, bool& FlippedH, bool& FlippedV);
  // The window size the menu asks for: its links, the mark, the frame and the minimum width.
  TSize CalcPlacementSize();
  TdxBarItemControl* OwnerItemControl() const;
  int TopIndex() const { return FTopIndex; }
  void SetTopIndex(int Value);
  bool CanScrollUp() const;
  bool CanScrollDown() const;
  bool IsAnimating() const;
  void StopAnimation(bool Finish);
  TdxBarAnimationThread* AnimationThread() const { return FAnimationThread; }
  TdxBarMenuAnimations ShownAnimation() const { return FAnimationKind; }
  // Every link of the menu shows (the collapsed recent-items view opens up).
  void Expand();
  bool Collapsed() const;
  bool Scrolling() const { return FScrollTimer; }
  TRect ScrollButtonRect(bool Bottom) const;
  TPoint StartingPosition() const { return FStartingPosition; }

  // Set by the opener before ShowWithAnimation.
  int HorizontalJump = 0;
  int VerticalJump = 0;
  int MinWidth = 0;
  bool ThreadAnimation = true;
  bool OpensRightwards = true;
  bool OpensDownwards = true;
  TdxBarButtonControl* OpeningButtonControl = nullptr;
  TdxBarSubItemControl* OpeningSubItemControl = nullptr;
  HWND OwnerWindow = nullptr;
  TdxBarSubMenuCloseUpEvent OnCloseUpNotify;
  std::function<void()> OnShowNotify;

 protected:
  void CreateParams(TCreateParams& Params) override;
  void CreateWnd() override;
  void DestroyWnd() override;
  void Dispatch(TMessage& Message) override;
  void Paint() override;
  void HandleKeyDown(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;

 private:
  friend class TdxBarSubMenuControlViewInfo;
  void CloseChain(bool ByKey);
  void EscapeChain();
  void MarkNonRecentRuns();
  int GapBeforeLink(int ShownIndex) const;
  void ScrollStep();
  void StartScrolling();
  void StopScrolling();
  void UpdateMarkState(const TPoint& P);
  void KillDelayTimer();
  TdxBarMenuAnimations ResolveAnimation() const;

  TdxBarAnimationThread* FAnimationThread = nullptr;
  TdxBarMenuAnimations FAnimationKind = maNone;
  bool FRecreating = false;
  bool FDestroyingWnd = false;
  UINT_PTR FDelayTimer = 0;
  bool FScrollTimer = false;
  int FTopIndex = -1;
  TPoint FStartingPosition;
  TPoint FScrollMousePos{-1, -1};
  int FCloseReason = 0;
};

// The layout of a menu: the links from the top index that fit, and the group separators.
class TdxBarSubMenuControlViewInfo : public TCustomdxBarControlViewInfo {
 public:
  using TCustomdxBarControlViewInfo::TCustomdxBarControlViewInfo;
  void Recalculate() override;
  int FirstVisibleIndex() const { return FFirst; }
  int LastVisibleIndex() const { return FLast; }

 private:
  int FFirst = 0;
  int FLast = -1;
};

// ---- item controls that open menus

class TdxBarSubItemControl : public TdxBarButtonLikeControl {
 public:
  using TdxBarButtonLikeControl::TdxBarButtonLikeControl;
  ~TdxBarSubItemControl() override;

  // Introduced, in slot order.
  virtual void PrepareSubItems();
  virtual void OpenSubMenu(bool ByMouse);
  virtual void SubMenuPosition(TPoint& P, int& OwnerWidth, int& OwnerHeight);
  virtual bool AllowsSubMenu() const { return true; }

  bool ClickFiresItem() const override { return false; }
  void DoClick(bool ByMouse, bool Flag) override;
  bool WantsKey(WORD Key) const override;
  TdxBarItemViewLevels GetPossibleViewLevels() const override;
  int DefaultShownParts() const override;
  void CalcDrawParams(bool WithTexts = true) override;
  TCustomdxBarControl* DropDownBarControl() const override { return SubMenu(); }
  TCustomdxBarControl* DropDownBar() const override { return SubMenu(); }
  int TextPartWidth() override;
  int TextIndent() override;
  bool ClosesMenusOnClick() const override { return false; }
  bool HasArrowPart() const override { return true; }
  bool HasDropDown() const override { return true; }
  bool IsInMainMenu() const override;
  bool IsDroppedDown() const override;
  bool AllowsActivation() const override;
  void MarkBarPressed(bool Flag) override;
  bool QueryPlainTextLook() const override;
  bool QueryHotLook() const override;
  bool WantsDoubleClick() const override;
  void CloseDropDown(bool Close) override;
  void OpenDropDown(bool ByMouse) override;
  TcxAccessibilityHelperClass AccessibilityHelperClass() const override;

  TCustomdxBarSubItem* SubItem() const;
  // The sub-menu window of the sub item's links, when one exists.
  TdxBarSubMenuControl* SubMenu() const;
  void ShowSubMenu(bool ByMouse);
};

class TdxBarContainerItemControl : public TdxBarSubItemControl {
 public:
  using TdxBarSubItemControl::TdxBarSubItemControl;
  bool IsActiveNow() const override;
  void CaptionText(std::string& Text) const override;
  void Draw(const TRect& R, int APaintKind) override;
  bool HasDropDown() const override;
  void PrepareSubItems() override;
  TCustomdxBarContainerItem* ContainerItem() const;
  bool ShownAsPlainSubItem() const;
};

// The menu a container item on a toolbar opens: its generated links, while it is shown.
class TContainerItemSubMenuControl : public TdxBarSubMenuControl {
 public:
  explicit TContainerItemSubMenuControl(TComponent* AOwner);
  ~TContainerItemSubMenuControl() override;
  bool IsCustomizing() const override { return false; }
  void DoCloseUp(int Reason) override;

  TCustomdxBarContainerItem* ContainerItem = nullptr;
  std::unique_ptr<TdxBarContainerLinkData> LinkData;
};

// The bar manager's whole menu chains close (a click elsewhere, a command).
void CloseActiveMenusOf(TdxBarManager* Manager);
