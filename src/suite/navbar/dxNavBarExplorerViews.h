#pragma once
// The explorer-bar views (8, 9 and 10): every visible group is a panel of its own with a caption
// bar and an expand/collapse sign, the panels stacked with a gap in a client area that scrolls
// vertically. View 10 is the main window's command panel; it takes the colours its styles leave
// unset from the advanced explorer bar's colour set and draws its signs from two bitmaps.

#include "suite/navbar/dxNavBarPainters.h"

class TdxNavBarExplorerBarGroupViewInfo;

class TdxNavBarExplorerBarViewInfo : public TdxNavBarViewInfo {
 public:
  using TdxNavBarViewInfo::TdxNavBarViewInfo;

  TRect GetGroupEdges() override { return TRect(1, 1, 1, 1); }
  int GetGroupCaptionHeightAddition() override { return 12; }
  int GetGroupSpace() override { return ScaleValue(15); }
  TSize GetGroupCaptionSignSize() override { return TSize{18, 18}; }
  TPoint GetGroupsOrigin() override { return TPoint(ScaleValue(12), ScaleValue(12)); }
  TRect GetLinkImageEdges() override;
  bool HasActiveGroup() override { return false; }
  bool CanHaveSpecialGroup() override { return true; }
  bool CanShowGroupImages() override { return true; }
  bool CanShowGroupSigns() override { return true; }
  bool CanShowIconView() override { return false; }
  bool CanHideGroupCaptions() override { return true; }
  bool AreLinksVisible(TdxNavBarGroup* AGroup) override { return AGroup->Expanded(); }
  bool IsGroupExpanded(TdxNavBarGroup* AGroup) override { return AGroup->Expanded(); }

  void AlignGroups() override { UpdateScrollBar(); }
  void CreateGroupsInfo() override;
  void CalculateGroupsBounds(int X, int Y) override;
  void ExpandGroup(TdxNavBarGroup* AGroup) override;
  void CollapseGroup(TdxNavBarGroup* AGroup) override;
  void MakeLinkVisible(TdxNavBarItemLink* ALink, bool AtTop = true) override;
  void MakeGroupVisible(TdxNavBarGroup* AGroup, bool Expand = true, bool AtTop = false) override;

  void InitBackgroundStyle(TdxNavBarBaseStyle* Style) override;
  void InitGroupBackgroundStyle(TdxNavBarBaseStyle* Style) override;
  void InitGroupHeaderStyle(TdxNavBarBaseStyle* Style) override;
  void InitGroupHeaderActiveStyle(TdxNavBarBaseStyle* Style) override;
  void InitItemStyle(TdxNavBarBaseStyle* Style) override;
  void InitItemDisabledStyle(TdxNavBarBaseStyle* Style) override;
  void InitItemHotTrackedStyle(TdxNavBarBaseStyle* Style) override;
  void InitItemPressedStyle(TdxNavBarBaseStyle* Style) override;

  virtual void UpdateScrollBar();
  virtual TRect GetLinkImageEdgesUnscaled() { return TRect(13, 4, 7, 4); }
  virtual int GroupIndexAtSizingBand(TPoint P);
  virtual TdxNavBarExplorerBarGroupViewInfo* GroupAtSizingBand(TPoint P);

  TdxNavBarExplorerBarGroupViewInfo* ExplorerGroupAt(int Index) const;

 private:
  // Moves the scroll position so that the last expanded group shows, and forgets that group.
  int KeepLastExpandedGroupInView(int Position, int Page);
  void ScrollBy(int Delta);
  int FLayoutDepth = 0;
};

class TdxNavBarExplorerBarGroupViewInfo : public TdxNavBarGroupViewInfo {
 public:
  using TdxNavBarGroupViewInfo::TdxNavBarGroupViewInfo;

  void CalculateBounds(int X, int& Y) override;
  void Offset(int DX, int DY) override;
  virtual int SizingBandHeight() { return 3; }

  TRect SizingBand;
  bool FollowsFreeSpace = false;
  bool TakesRestSpace = false;
};

class TdxNavBarExplorerBarLinkViewInfo : public TdxNavBarLinkViewInfo {
 public:
  using TdxNavBarLinkViewInfo::TdxNavBarLinkViewInfo;
  TColor GetFocusFrameColor() override { return GroupViewInfo()->GetBorderColor(); }
};

// ---- view 10

class TdxNavBarAdvExplorerBarViewInfo : public TdxNavBarExplorerBarViewInfo {
 public:
  using TdxNavBarExplorerBarViewInfo::TdxNavBarExplorerBarViewInfo;

  TSize GetGroupCaptionSignSize() override { return TSize{22, 22}; }
  void AcquireLookResources() override;
  void RefreshLookResources() override;
  void ReleaseLookResources() override;

  TColor GetBackgroundBackColor() override;
  TColor GetBackgroundBackColor2() override;
  uint8_t GetBackgroundAlphaBlending() override;
  uint8_t GetBackgroundAlphaBlending2() override;
  TdxBarStyleGradientMode GetBackgroundGradientMode() override;

  void InitBackgroundStyle(TdxNavBarBaseStyle* Style) override;
  void InitGroupBackgroundStyle(TdxNavBarBaseStyle* Style) override;
  void InitGroupHeaderStyle(TdxNavBarBaseStyle* Style) override;
  void InitGroupHeaderActiveStyle(TdxNavBarBaseStyle* Style) override;
  void InitItemStyle(TdxNavBarBaseStyle* Style) override;
  void InitItemDisabledStyle(TdxNavBarBaseStyle* Style) override;

 private:
  bool BackgroundIsDefault();
  bool FAcquired = false;
};

class TdxNavBarAdvExplorerBarGroupViewInfo : public TdxNavBarExplorerBarGroupViewInfo {
 public:
  using TdxNavBarExplorerBarGroupViewInfo::TdxNavBarExplorerBarGroupViewInfo;

  TColor GetBackgroundBackColor() override;
  TColor GetBackgroundBackColor2() override;
  uint8_t GetBackgroundAlphaBlending() override;
  uint8_t GetBackgroundAlphaBlending2() override;
  TdxBarStyleGradientMode GetBackgroundGradientMode() override;
  TColor GetCaptionBackColor() override;
  TColor GetCaptionBackColor2() override;
  uint8_t GetCaptionAlphaBlending() override;
  uint8_t GetCaptionAlphaBlending2() override;
  TdxBarStyleGradientMode GetCaptionGradientMode() override;
  TColor GetCaptionFontColor() override;
  TColor GetSignColor() override;
  TColor GetBorderColor() override;

  bool BackgroundIsDefault();
  bool CaptionIsDefault();
};

class TdxNavBarAdvExplorerBarLinkViewInfo : public TdxNavBarExplorerBarLinkViewInfo {
 public:
  using TdxNavBarExplorerBarLinkViewInfo::TdxNavBarExplorerBarLinkViewInfo;
  TColor GetFontColor() override;
};

// Normal as the state shows it: lighter when disabled, Hot when hot-tracked, pressed or selected.
TColor dxNavBarResolveStateColor(TColor Normal, TColor Hot, TdxNavBarObjectStates State);

// ---- controller

class TdxNavBarExplorerBarController : public TdxNavBarController {
 public:
  using TdxNavBarController::TdxNavBarController;
  ~TdxNavBarExplorerBarController() override;

  TdxNavBarPart GetPartAtPos(TPoint P) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, TPoint P) override;
  void MouseMove(TShiftState Shift, TPoint P) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, TPoint P) override;
  TCursor GetCursor() override;

 private:
  static constexpr int SizingBandPart = 3;
  bool PressedOnSizingBand() const { return PressedPart().MajorIndex == SizingBandPart; }
  TdxNavBarExplorerBarGroupViewInfo* PressedGroupViewInfo();
  void StartResize(TPoint P);
  void DoResize(TPoint P);
  void EndResize();

  int FDragStartHeight = 0;
  TPoint FDragStartPoint;
};

// ---- element painters

class TdxNavBarExplorerBarBorderPainter : public TdxNavBarCustomGroupBorderPainter {
 public:
  void DrawBorder(TcxCanvas* ACanvas, const TRect& R, TColor ABorderColor, bool ACaptionVisible) const override;
};

class TdxNavBarExplorerBarSignPainter : public TdxNavBarCustomSignPainter {
 public:
  void DrawSign(TcxCanvas* ACanvas, const TRect& R, TColor ASignColor, TColor AColor1, TColor AColor2,
                TdxNavBarObjectStates AState) const override;
  virtual void DrawSignBackground(TcxCanvas* ACanvas, const TRect& R, TdxNavBarObjectStates AState) const;
};

class TdxNavBarAdvExplorerBarSignPainter : public TdxNavBarExplorerBarSignPainter {
 public:
  void DrawSign(TcxCanvas* ACanvas, const TRect& R, TColor ASignColor, TColor AColor1, TColor AColor2,
                TdxNavBarObjectStates AState) const override;
};

class TdxNavBarAdvExplorerButtonPainter : public TdxNavBarCustomButtonPainter {
 public:
  void DrawButton(TcxCanvas* ACanvas, const TRect& R, TPicture* AImage, TColor AColor1, TColor AColor2,
                  uint8_t AAlpha1, uint8_t AAlpha2, TdxBarStyleGradientMode AGradientMode, TColor ABorderColor,
                  TdxNavBarObjectStates AState) const override;
};

// ---- painters

class TdxNavBarExplorerBarPainter : public TdxNavBarElementPainter {
 public:
  using TdxNavBarElementPainter::TdxNavBarElementPainter;
  TdxNavBarViewInfo* CreateViewInfo() override { return new TdxNavBarExplorerBarViewInfo(this); }
  TdxNavBarGroupViewInfo* CreateGroupViewInfo(TdxNavBarViewInfo* AViewInfo, TdxNavBarGroup* AGroup,
                                              bool ACaptionVisible, bool ALinksVisible) override;
  TdxNavBarLinkViewInfo* CreateLinkViewInfo(TdxNavBarGroupViewInfo* AGroupViewInfo, TdxNavBarItemLink* ALink,
                                            bool ACaptionVisible, bool AImageVisible) override;
  TdxNavBarController* CreateController() override { return new TdxNavBarExplorerBarController(NavBar()); }
  const TdxNavBarCustomGroupBorderPainter* GetGroupBorderPainterClass() const override;
  const TdxNavBarCustomSignPainter* GetSignPainterClass() const override;

  void DrawGroup(TdxNavBarGroupViewInfo* AGroupViewInfo) override;
  virtual void DrawGroupSizingBand(TdxNavBarExplorerBarGroupViewInfo* AGroupViewInfo) {}
};

class TdxNavBarUltraFlatExplorerBarPainter : public TdxNavBarExplorerBarPainter {
 public:
  using TdxNavBarExplorerBarPainter::TdxNavBarExplorerBarPainter;
  const TdxNavBarCustomSelectionPainter* GetSelectionPainterClass() const override;
};

class TdxNavBarAdvExplorerBarPainter : public TdxNavBarExplorerBarPainter {
 public:
  using TdxNavBarExplorerBarPainter::TdxNavBarExplorerBarPainter;
  TdxNavBarViewInfo* CreateViewInfo() override { return new TdxNavBarAdvExplorerBarViewInfo(this); }
  TdxNavBarGroupViewInfo* CreateGroupViewInfo(TdxNavBarViewInfo* AViewInfo, TdxNavBarGroup* AGroup,
                                              bool ACaptionVisible, bool ALinksVisible) override;
  TdxNavBarLinkViewInfo* CreateLinkViewInfo(TdxNavBarGroupViewInfo* AGroupViewInfo, TdxNavBarItemLink* ALink,
                                            bool ACaptionVisible, bool AImageVisible) override;
  const TdxNavBarCustomButtonPainter* GetButtonPainterClass() const override;
  const TdxNavBarCustomSignPainter* GetSignPainterClass() const override;
};

void dxNavBarExplorerViewsInitialize();
void dxNavBarExplorerViewsFinalize();
