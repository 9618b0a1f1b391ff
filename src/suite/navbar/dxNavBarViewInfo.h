#pragma once
// The layout of the navigation bar: a tree of view information built from the model before each
// paint (the bar, each shown group, each shown link), its rectangles, the states and styles of
// its elements, and the hit tests the controller and the painters ask.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/ImgList.h"
#include "suite/navbar/dxNavBar.h"

class TdxNavBarViewInfo;
class TdxNavBarGroupViewInfo;

class TdxNavBarCustomViewInfo : public TObject {
 public:
  TdxNavBarCustomViewInfo(TdxCustomNavBar* ANavBar, TdxNavBarPainter* APainter);
  TdxCustomNavBar* NavBar() const { return FNavBar; }
  TdxNavBarPainter* Painter() const { return FPainter; }
  double ScaleFactor() const { return FScaleFactor; }
  int ScaleValue(int Value) const;

 private:
  TdxCustomNavBar* FNavBar;
  TdxNavBarPainter* FPainter;
  double FScaleFactor;
};

class TdxNavBarCustomItemViewInfo : public TdxNavBarCustomViewInfo {
 public:
  TdxNavBarCustomItemViewInfo(TdxNavBarViewInfo* AViewInfo, bool ACaptionVisible, bool AImageVisible);
  ~TdxNavBarCustomItemViewInfo() override;

  TFont* CaptionFont() const { return FCaptionFont.get(); }
  TdxNavBarViewInfo* ViewInfo() const { return FViewInfo; }
  TRect CaptionRect;
  bool CaptionVisible;
  TRect DesignRect;
  TRect ImageRect;
  bool ImageVisible;
  TRect FocusRect;
  TRect Rect;

  virtual TdxNavBarCustomItem* GetItem() const = 0;
  virtual TCustomImageList* GetImageList();
  virtual TdxNavBarObjectStates GetState() = 0;
  virtual bool UseDisabledImages();
  virtual bool UseHotImages();
  virtual bool UseLargeImages() = 0;
  virtual void Offset(int DX, int DY);
  virtual int GetImageIndex();

  bool IsEnabled() { return (GetState() & sDisabled) == 0; }
  bool IsFocused() { return (GetState() & sFocused) != 0; }
  bool IsHotOrSelected() { return (GetState() & (sActive | sHotTracked | sPressed | sSelected)) != 0; }

 protected:
  std::unique_ptr<TFont> FCaptionFont;
  TdxNavBarViewInfo* FViewInfo;
};

class TdxNavBarLinkViewInfo : public TdxNavBarCustomItemViewInfo {
 public:
  TdxNavBarLinkViewInfo(TdxNavBarGroupViewInfo* AGroupViewInfo, TdxNavBarItemLink* ALink, bool ACaptionVisible,
                        bool AImageVisible);
  TdxNavBarGroupViewInfo* GroupViewInfo() const { return FGroupViewInfo; }
  TdxNavBarItemLink* Link() const { return FLink; }
  TdxNavBarItem* Item() const { return FItem; }

  TdxNavBarCustomItem* GetItem() const override;
  TdxNavBarObjectStates GetState() override;
  bool UseLargeImages() override;

  virtual void CalculateBounds(int X, int Y);
  virtual int GetCaptionHeight();
  virtual UINT GetDrawTextFlags();
  virtual int GetImageHeight();
  virtual int GetImageWidth();
  virtual TdxNavBarStyleItem* GetStyleItem();
  virtual TdxNavBarBaseStyle* GetDefaultStyle();
  virtual TFont* GetFont();
  virtual TColor GetFontColor();
  virtual TColor GetLineColor() { return GetFontColor(); }
  virtual TColor GetFocusFrameColor() { return GetFontColor(); }
  virtual TRect GetSelectionRect();
  virtual TRect GetCaptionLineRect();

 private:
  TdxNavBarGroupViewInfo* FGroupViewInfo;
  TdxNavBarItemLink* FLink;
  TdxNavBarItem* FItem;
};

// The calculator that places a link's image and caption (the only one in this program).
class TdxNavBarItemCalculator {
 public:
  static void CalculateBounds(int X, int Y, TdxNavBarLinkViewInfo* ALinkViewInfo);
};

class TdxNavBarGroupViewInfo : public TdxNavBarCustomItemViewInfo {
 public:
  TdxNavBarGroupViewInfo(TdxNavBarViewInfo* AViewInfo, TdxNavBarGroup* AGroup, bool ACaptionVisible,
                         bool ALinksVisible);
  ~TdxNavBarGroupViewInfo() override;
  // Builds the link entries (the painter calls it right after construction).
  void Initialize() { CreateInfo(); }

  TdxNavBarGroup* Group() const { return FGroup; }
  bool LinksVisible() const { return FLinksVisible; }
  int LinkCount() const { return int(FLinks.size()); }
  TdxNavBarLinkViewInfo* LinkAt(int Index) const { return FLinks.at(size_t(Index)).get(); }
  TdxNavBarLinkViewInfo* FindLinkViewInfo(TdxNavBarItemLink* ALink) const;
  int IndexOfLinkViewInfo(TdxNavBarLinkViewInfo* ALinkViewInfo) const;
  bool IsCaptionVisible() const;
  bool IsLinksVisible() const;
  bool IsIconView() const;
  TRect SignRect;
  TRect CaptionTextRect;
  TRect ItemsRect;

  TdxNavBarCustomItem* GetItem() const override { return FGroup; }
  TdxNavBarObjectStates GetState() override;
  bool UseLargeImages() override;
  void Offset(int DX, int DY) override;

  virtual void CreateLinks();
  virtual TRect GetControlRect();
  virtual void AdjustControlBounds();
  virtual void CreateInfo();
  virtual void CalculateBounds(int X, int& Y);
  virtual void Grow(int DX, int DY);
  virtual int GetCaptionHeight();
  virtual UINT GetCaptionDrawTextFlags();
  virtual int GetImageHeight();
  virtual int GetImageWidth();
  virtual TColor GetBorderColor();
  virtual TPicture* GetBackgroundImage();
  virtual TColor GetBackgroundBackColor();
  virtual TColor GetBackgroundBackColor2();
  virtual uint8_t GetBackgroundAlphaBlending();
  virtual uint8_t GetBackgroundAlphaBlending2();
  virtual TdxBarStyleGradientMode GetBackgroundGradientMode();
  virtual TdxNavBarStyleItem* GetCaptionStyleItem();
  virtual TdxNavBarBaseStyle* GetCaptionDefaultStyle();
  virtual TPicture* GetCaptionImage();
  virtual TColor GetCaptionBorderColor() { return clNone; }
  virtual TColor GetCaptionBackColor();
  virtual TColor GetCaptionBackColor2();
  virtual uint8_t GetCaptionAlphaBlending();
  virtual uint8_t GetCaptionAlphaBlending2();
  virtual TdxBarStyleGradientMode GetCaptionGradientMode();
  virtual TFont* GetCaptionFont();
  virtual TColor GetCaptionFontColor();
  virtual TColor GetSignColor() { return GetCaptionFontColor(); }
  virtual TdxBarStyleHAlignment GetCaptionHAlignment();
  virtual TdxBarStyleVAlignment GetCaptionVAlignment();
  virtual TPicture* GetControlBackgroundImage();
  virtual TColor GetControlBackColor();
  virtual TColor GetControlBackColor2();
  virtual uint8_t GetControlAlphaBlending();
  virtual uint8_t GetControlAlphaBlending2();
  virtual TdxBarStyleGradientMode GetControlGradientMode();

 protected:
  TRect GroupEdges(bool ForControl);
  // The style that gives Value: the own style when it assigns Value, else the default.
  TdxNavBarBaseStyle* Source(TdxNavBarStyleItem* Own, TdxNavBarBaseStyle* Default, TdxBarStyleAssignedValue Value);
  bool ControlTakesGroupBackground();

  std::vector<std::unique_ptr<TdxNavBarLinkViewInfo>> FLinks;

 private:
  TdxNavBarGroup* FGroup;
  bool FLinksVisible;
};

class TdxNavBarViewInfo : public TdxNavBarCustomViewInfo {
 public:
  explicit TdxNavBarViewInfo(TdxNavBarPainter* APainter);
  ~TdxNavBarViewInfo() override;
  // Takes the look resources (the constructor cannot call the views' overrides).
  void Initialize() { AcquireLookResources(); }

  int GroupCount() const { return int(FGroups.size()); }
  TdxNavBarGroupViewInfo* GroupAt(int Index) const { return FGroups.at(size_t(Index)).get(); }
  TdxNavBarGroupViewInfo* ActiveGroupViewInfo() const;
  TdxNavBarGroupViewInfo* FindGroupViewInfo(TdxNavBarGroup* AGroup) const;
  TdxNavBarLinkViewInfo* FindLinkViewInfo(TdxNavBarItemLink* ALink) const;
  int IndexOfGroupViewInfo(TdxNavBarGroupViewInfo* AGroupViewInfo) const;
  int ClientWidth() const;
  int ClientHeight() const;
  int GetGroupSpacing();
  int SmallImageHeight() const;
  int SmallImageWidth() const;
  int LargeImageHeight() const;
  int LargeImageWidth() const;
  void Calculate();
  TdxNavBarObjectStates GetTopScrollButtonState();
  TdxNavBarObjectStates GetBottomScrollButtonState();
  TFont* HeaderFont() const { return FHeaderFont.get(); }
  TRect TopScrollButtonRect;
  TRect BottomScrollButtonRect;
  TRect HintRect;
  std::string HintText;

  // Look resources and metrics
  virtual void AcquireLookResources() {}
  virtual void RefreshLookResources() {}
  virtual void ReleaseLookResources() {}
  virtual TRect GetGroupEdges() { return TRect(0, 0, 0, 0); }
  virtual int GetGroupCaptionHeightAddition() { return 6; }
  virtual int GetGroupCaptionImageIndent() { return 4; }
  virtual int GetGroupCaptionImageOffset() { return 0; }
  virtual TRect GetGroupCaptionImageOffsets();
  virtual int GetGroupSpace() { return 0; }
  virtual TSize GetGroupCaptionSignSize() { return TSize{16, 16}; }
  virtual TPoint GetGroupsOrigin() { return TPoint(0, 0); }
  virtual int GetLinksEdge() { return 8; }
  virtual int GetLargeLinkPadding() { return 6; }
  virtual int GetSmallLinkPadding() { return 6; }
  virtual int GetExtraIndent() { return 4; }
  virtual TRect GetLinkImageEdges() { return TRect(4, 4, 4, 4); }
  virtual int GetDropTargetArrowHeight() { return 8; }
  virtual int GetDropTargetArrowIndent() { return 6; }
  virtual int GetHeaderHeightAddition() { return 8; }
  virtual int GetCollapsedWidth() { return 0; }
  virtual int GetMinExpandedWidth() { return 0; }
  virtual int GetScrollButtonVerticalEdge() { return 6; }
  virtual int GetScrollButtonHorizontalEdge() { return 6; }
  virtual int GetScrollButtonHeight() { return 16; }
  virtual int GetScrollButtonWidth() { return 16; }
  virtual bool CanCollapse() { return false; }
  virtual bool HasActiveGroup() { return true; }
  virtual bool CanHaveSpecialGroup() { return false; }
  virtual bool ScrollButtonsInCaptions() { return false; }
  virtual bool CanShowGroupImages() { return false; }
  virtual bool CanShowGroupSigns() { return false; }
  virtual bool CanShowIconView() { return true; }
  virtual bool CanHideGroupCaptions() { return false; }
  virtual bool AreLinksVisible(TdxNavBarGroup* AGroup);
  virtual bool GroupImageInsideCaption() { return false; }
  virtual bool CanGroupsUseLargeImages() { return true; }
  virtual bool CanLinksUseLargeImages() { return true; }
  virtual bool IsWholeLinkHot() { return false; }
  virtual void AdjustControls();
  virtual void AlignGroups() {}
  virtual int GetResizeUpdateKind() { return nbctRecalculate; }
  virtual TRect GetTopScrollButtonRect();
  virtual TRect GetBottomScrollButtonRect();
  virtual void CreateGroupsInfo();
  virtual void CalculateGroupsBounds(int X, int Y);
  virtual bool IsGroupExpanded(TdxNavBarGroup* AGroup) { return false; }
  virtual void ToggleGroup(TdxNavBarGroup* AGroup);
  virtual void ExpandGroup(TdxNavBarGroup* AGroup) {}
  virtual void CollapseGroup(TdxNavBarGroup* AGroup) {}
  virtual void MakeLinkVisible(TdxNavBarItemLink* ALink, bool AtTop = true) {}
  virtual void MakeGroupVisible(TdxNavBarGroup* AGroup, bool Expand = true, bool AtTop = false) {}
  virtual void CreateInfo();
  virtual void CalculateScrollButtonsBounds();
  virtual void ClearRects();

  // Styles of the bar's own elements
  virtual TPicture* GetBackgroundImage();
  virtual TColor GetBackgroundBackColor();
  virtual TColor GetBackgroundBackColor2();
  virtual uint8_t GetBackgroundAlphaBlending();
  virtual uint8_t GetBackgroundAlphaBlending2();
  virtual TdxBarStyleGradientMode GetBackgroundGradientMode();
  virtual TColor GetButtonBorderColor() { return clNone; }
  virtual TdxNavBarStyleItem* GetBottomScrollButtonStyleItem();
  virtual TdxNavBarBaseStyle* GetBottomScrollButtonDefaultStyle();
  virtual TPicture* GetBottomScrollButtonImage();
  virtual TColor GetBottomScrollButtonBackColor();
  virtual TColor GetBottomScrollButtonBackColor2();
  virtual uint8_t GetBottomScrollButtonAlphaBlending();
  virtual uint8_t GetBottomScrollButtonAlphaBlending2();
  virtual TdxBarStyleGradientMode GetBottomScrollButtonGradientMode();
  virtual TdxNavBarStyleItem* GetTopScrollButtonStyleItem();
  virtual TdxNavBarBaseStyle* GetTopScrollButtonDefaultStyle();
  virtual TPicture* GetTopScrollButtonImage();
  virtual TColor GetTopScrollButtonBackColor();
  virtual TColor GetTopScrollButtonBackColor2();
  virtual uint8_t GetTopScrollButtonAlphaBlending();
  virtual uint8_t GetTopScrollButtonAlphaBlending2();
  virtual TdxBarStyleGradientMode GetTopScrollButtonGradientMode();
  virtual TPicture* GetHintImage();
  virtual TColor GetHintBackColor();
  virtual TColor GetHintBackColor2();
  virtual uint8_t GetHintAlphaBlending();
  virtual uint8_t GetHintAlphaBlending2();
  virtual TdxBarStyleGradientMode GetHintGradientMode();
  virtual TFont* GetHintFont();
  virtual TColor GetDropTargetLinkColor();
  virtual TColor GetDropTargetGroupBackColor();
  virtual TColor GetDropTargetGroupBackColor2();
  virtual uint8_t GetDropTargetGroupAlphaBlending();
  virtual uint8_t GetDropTargetGroupAlphaBlending2();
  virtual TdxBarStyleGradientMode GetDropTargetGroupGradientMode();
  virtual TPicture* GetHeaderImage();
  virtual TColor GetHeaderBackColor();
  virtual TColor GetHeaderBackColor2();
  virtual uint8_t GetHeaderAlphaBlending();
  virtual uint8_t GetHeaderAlphaBlending2();
  virtual TdxBarStyleGradientMode GetHeaderGradientMode();
  virtual TFont* GetHeaderFont();
  virtual TColor GetHeaderFontColor();
  virtual TdxBarStyleHAlignment GetHeaderHAlignment();
  virtual TdxBarStyleVAlignment GetHeaderVAlignment();
  virtual UINT GetHeaderDrawTextFlags();
  virtual TPicture* GetGroupHeaderImage();
  virtual TColor GetGroupHeaderBackColor();
  virtual TColor GetGroupHeaderBackColor2();
  virtual uint8_t GetGroupHeaderAlphaBlending();
  virtual uint8_t GetGroupHeaderAlphaBlending2();
  virtual TdxBarStyleGradientMode GetGroupHeaderGradientMode();
  virtual TFont* GetGroupHeaderFont();
  virtual TColor GetGroupHeaderFontColor();

  // The default styles of this view, one per default-style index.
  void AssignDefaultStyle(int Index, TdxNavBarBaseStyle* Style);
  virtual void InitBackgroundStyle(TdxNavBarBaseStyle* Style);
  virtual void InitButtonStyle(TdxNavBarBaseStyle* Style);
  virtual void InitButtonPressedStyle(TdxNavBarBaseStyle* Style);
  virtual void InitButtonHotTrackedStyle(TdxNavBarBaseStyle* Style);
  virtual void InitGroupBackgroundStyle(TdxNavBarBaseStyle* Style);
  virtual void InitGroupControlStyle(TdxNavBarBaseStyle* Style);
  virtual void InitGroupHeaderStyle(TdxNavBarBaseStyle* Style);
  virtual void InitGroupHeaderActiveStyle(TdxNavBarBaseStyle* Style);
  virtual void InitGroupHeaderActiveHotTrackedStyle(TdxNavBarBaseStyle* Style);
  virtual void InitGroupHeaderActivePressedStyle(TdxNavBarBaseStyle* Style);
  virtual void InitGroupHeaderHotTrackedStyle(TdxNavBarBaseStyle* Style);
  virtual void InitGroupHeaderPressedStyle(TdxNavBarBaseStyle* Style);
  virtual void InitHintStyle(TdxNavBarBaseStyle* Style);
  virtual void InitItemStyle(TdxNavBarBaseStyle* Style);
  virtual void InitItemDisabledStyle(TdxNavBarBaseStyle* Style);
  virtual void InitItemHotTrackedStyle(TdxNavBarBaseStyle* Style);
  virtual void InitItemPressedStyle(TdxNavBarBaseStyle* Style);
  virtual void InitDropTargetGroupStyle(TdxNavBarBaseStyle* Style);
  virtual void InitDropTargetLinkStyle(TdxNavBarBaseStyle* Style);
  virtual void InitNavigationPaneHeaderStyle(TdxNavBarBaseStyle* Style);

  // Hit tests
  virtual TdxNavBarGroupViewInfo* GetGroupViewInfoAtPos(TPoint P);
  virtual TdxNavBarGroupViewInfo* GetGroupViewInfoAtCaptionPos(TPoint P);
  virtual TdxNavBarGroupViewInfo* GetGroupViewInfoAtItemsPos(TPoint P);
  virtual TdxNavBarLinkViewInfo* GetLinkViewInfoAtPos(TPoint P);
  virtual TdxNavBarLinkViewInfo* GetLinkViewInfoAtHotPos(TPoint P);
  virtual TdxNavBarItemLink* FindLinkAtPos(TPoint P);
  virtual TdxNavBarGroup* GetGroupAtCaptionPos(TPoint P);
  virtual TdxNavBarGroup* GetGroupAtItemsPos(TPoint P);
  virtual TdxNavBarItemLink* GetLinkAtHotPos(TPoint P);
  virtual bool IsTopScrollButtonAt(TPoint P) { return TopScrollButtonRect.Contains(P); }
  virtual bool IsBottomScrollButtonAt(TPoint P) { return BottomScrollButtonRect.Contains(P); }
  virtual bool IsPtGroupDesignRect(TPoint P);
  virtual bool IsPtItemDesignRect(TPoint P);
  virtual TdxNavBarGroupViewInfo* FindGroupByAccel(char Key);
  virtual TdxNavBarLinkViewInfo* FindLinkByAccel(char Key);
  // The insertion index in the group's links for a drop at P, or -1; LinkBefore and LinkAfter are
  // the entries either side of the drop position.
  virtual int GetLinksAtDropPos(TPoint P, TdxNavBarGroupViewInfo*& AGroup, TdxNavBarLinkViewInfo*& LinkBefore,
                                TdxNavBarLinkViewInfo*& LinkAfter);
  virtual int GetLinksAtIconDropPos(TPoint P, TdxNavBarGroupViewInfo* AGroup, TdxNavBarLinkViewInfo*& LinkBefore,
                                    TdxNavBarLinkViewInfo*& LinkAfter);

 protected:
  TdxNavBarBaseStyle* Source(TdxNavBarStyleItem* Own, TdxNavBarBaseStyle* Default, TdxBarStyleAssignedValue Value);
  TdxNavBarBaseStyle* ScrollButtonSource(bool Top, TdxBarStyleAssignedValue Value);
  TdxNavBarDefaultStyles* Defaults() const;

  std::vector<std::unique_ptr<TdxNavBarGroupViewInfo>> FGroups;

 private:
  std::unique_ptr<TFont> FHeaderFont;
  std::unique_ptr<TFont> FHintFont;
  std::unique_ptr<TFont> FGroupHeaderFont;
};

// The text height of a font as the layout measures it (the screen's device context).
int dxNavBarTextHeight(TFont* AFont);
// Draw-text flags of a horizontal and a vertical alignment.
UINT dxNavBarAlignmentFlags(TdxBarStyleHAlignment H, TdxBarStyleVAlignment V);
