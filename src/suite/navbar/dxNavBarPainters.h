#pragma once
// The painter behind a view: it makes the view's layout and controller, keeps the rebuild,
// recalculate and repaint flags, and draws the bar into the control's off-screen bitmap in a
// fixed order. The pixels of each element come from small element painters that a view picks.

#include <cstdint>
#include <memory>
#include <string>

#include "suite/core/cxGraphics.h"
#include "suite/navbar/dxNavBar.h"
#include "suite/navbar/dxNavBarViewInfo.h"

// ---- element painters (stateless; a view answers other classes to change the look)

class TdxNavBarCustomBackgroundPainter {
 public:
  virtual ~TdxNavBarCustomBackgroundPainter() = default;
  virtual void DrawBackground(TcxCanvas* ACanvas, const TRect& R, TPicture* AImage, bool AFill, TColor ADefaultColor,
                              TColor AColor1, TColor AColor2, uint8_t AAlpha1, uint8_t AAlpha2,
                              TdxBarStyleGradientMode AGradientMode) const;
};

class TdxNavBarCustomButtonPainter {
 public:
  virtual ~TdxNavBarCustomButtonPainter() = default;
  virtual void DrawButton(TcxCanvas* ACanvas, const TRect& R, TPicture* AImage, TColor AColor1, TColor AColor2,
                          uint8_t AAlpha1, uint8_t AAlpha2, TdxBarStyleGradientMode AGradientMode,
                          TColor ABorderColor, TdxNavBarObjectStates AState) const;
};

class TdxNavBarCustomSelectionPainter {
 public:
  virtual ~TdxNavBarCustomSelectionPainter() = default;
  // Left/top, right/bottom outer and inner frame colours and the fill (clNone: none).
  virtual void GetColors(TdxNavBarObjectStates AState, TColor ABackColor, TColor& AOuterLeftTop,
                         TColor& AOuterRightBottom, TColor& AInnerLeftTop, TColor& AInnerRightBottom,
                         TColor& AFillColor) const;
  virtual void DrawSelection(TcxCanvas* ACanvas, const TRect& R, TColor ABackColor, TdxNavBarObjectStates AState) const;
  virtual bool IsPressed(TdxNavBarObjectStates AState) const;
};

class TdxNavBarCustomImagePainter {
 public:
  virtual ~TdxNavBarCustomImagePainter() = default;
  virtual void DrawImage(TcxCanvas* ACanvas, TCustomImageList* AImageList, int AImageIndex, const TRect& R,
                         bool AEnabled) const;
};

class TdxNavBarCustomSignPainter {
 public:
  virtual ~TdxNavBarCustomSignPainter() = default;
  virtual void DrawSign(TcxCanvas* ACanvas, const TRect& R, TColor ASignColor, TColor AColor1, TColor AColor2,
                        TdxNavBarObjectStates AState) const {}
};

struct TdxNavBarButtonStyle {
  TPicture* Image = nullptr;
  TColor BackColor = clNone;
  TColor BackColor2 = clNone;
  uint8_t AlphaBlending = 255;
  uint8_t AlphaBlending2 = 255;
  TdxBarStyleGradientMode GradientMode = gmHorizontal;
};

class TdxNavBarCustomScrollButtonsPainter {
 public:
  virtual ~TdxNavBarCustomScrollButtonsPainter() = default;
  virtual void DrawBottomButton(TcxCanvas* ACanvas, const TRect& R, TdxNavBarObjectStates AState, TColor ABorderColor,
                                const TdxNavBarButtonStyle& AStyle,
                                const TdxNavBarCustomButtonPainter* AButtonPainter) const {}
  virtual void DrawTopButton(TcxCanvas* ACanvas, const TRect& R, TdxNavBarObjectStates AState, TColor ABorderColor,
                             const TdxNavBarButtonStyle& AStyle,
                             const TdxNavBarCustomButtonPainter* AButtonPainter) const {}
};

class TdxNavBarCustomGroupBackgroundPainter {
 public:
  virtual ~TdxNavBarCustomGroupBackgroundPainter() = default;
  virtual void DrawBackground(TcxCanvas* ACanvas, const TRect& R, TPicture* AImage, TColor AColor1, TColor AColor2,
                              uint8_t AAlpha1, uint8_t AAlpha2, TdxBarStyleGradientMode AGradientMode) const;
};

class TdxNavBarCustomGroupBorderPainter {
 public:
  virtual ~TdxNavBarCustomGroupBorderPainter() = default;
  virtual void DrawBorder(TcxCanvas* ACanvas, const TRect& R, TColor ABorderColor, bool ACaptionVisible) const {}
};

class TdxNavBarCustomHintPainter {
 public:
  virtual ~TdxNavBarCustomHintPainter() = default;
  virtual void DrawHint(TcxCanvas* ACanvas, const TRect& R, const std::string& AText,
                        const TdxNavBarButtonStyle& AStyle, TFont* AFont) const;
};

class TdxNavBarCustomDropTargetLinkPainter {
 public:
  virtual ~TdxNavBarCustomDropTargetLinkPainter() = default;
  virtual void DrawMark(TcxCanvas* ACanvas, const TPoint (&APoints)[6], TColor AColor) const;
};

class TdxNavBarCustomDropTargetGroupPainter {
 public:
  virtual ~TdxNavBarCustomDropTargetGroupPainter() = default;
  virtual void DrawTarget(TcxCanvas* ACanvas, const TRect& R, TColor AColor1, TColor AColor2, uint8_t AAlpha1,
                          uint8_t AAlpha2, TdxBarStyleGradientMode AGradientMode) const;
};

class TdxNavBarUltraFlatSelectionPainter : public TdxNavBarCustomSelectionPainter {
 public:
  void GetColors(TdxNavBarObjectStates AState, TColor ABackColor, TColor& AOuterLeftTop, TColor& AOuterRightBottom,
                 TColor& AInnerLeftTop, TColor& AInnerRightBottom, TColor& AFillColor) const override;
  bool IsPressed(TdxNavBarObjectStates AState) const override;
};

// The one instance of an element painter class.
template <class T>
const T* NavBarElementPainter() {
  static const T instance;
  return &instance;
}

// ---- the painter

class TdxNavBarPainter : public TdxNavBarPersistent {
 public:
  explicit TdxNavBarPainter(TdxCustomNavBar* ANavBar);
  ~TdxNavBarPainter() override;
  void Assign(TPersistent* Source) override;
  // Makes the view information and the controller (after construction, so the views' classes count).
  void Initialize();

  TdxNavBarViewInfo* ViewInfo() const { return FViewInfo.get(); }
  TdxNavBarController* Controller() const { return FController.get(); }
  TcxCanvas* Canvas();
  bool NeedRebuild() const { return FNeedRebuild; }
  bool NeedRecalculate() const { return FNeedRecalculate; }
  bool NeedRepaint() const { return FNeedRepaint; }
  // Level 0 rebuild, 1 recalculate, 2 repaint.
  void InvalidateViewInfo(int Level);
  // Brings the layout up to date (rebuild and recalculate as flagged).
  void CheckViewInfo();
  // Draws into the off-screen bitmap when flagged and copies it to the control's canvas.
  void Paint();
  // Number of rebuilds, layouts and draws done (what an idle pass must leave unchanged).
  int RebuildCount() const { return FRebuildCount; }
  int CalculateCount() const { return FCalculateCount; }
  int DrawCount() const { return FDrawCount; }

  virtual TdxNavBarViewInfo* CreateViewInfo();
  virtual TdxNavBarGroupViewInfo* CreateGroupViewInfo(TdxNavBarViewInfo* AViewInfo, TdxNavBarGroup* AGroup,
                                                      bool ACaptionVisible, bool ALinksVisible);
  virtual TdxNavBarLinkViewInfo* CreateLinkViewInfo(TdxNavBarGroupViewInfo* AGroupViewInfo, TdxNavBarItemLink* ALink,
                                                    bool ACaptionVisible, bool AImageVisible);
  virtual TdxNavBarController* CreateController();
  virtual TcxScrollBar* CreateScrollBar(TWinControl* AParent);
  virtual const std::type_info& GetScrollBarClass() const;
  virtual void DrawHintWindow(TcxCanvas* ACanvas, const TRect& R) {}
  virtual void DrawNavBar();
  virtual void DrawBackground() {}
  virtual void DrawGroup(TdxNavBarGroupViewInfo* AGroupViewInfo);
  virtual void DrawGroupBackground(TdxNavBarGroupViewInfo* AGroupViewInfo) {}
  virtual void DrawGroupBorder(TdxNavBarGroupViewInfo* AGroupViewInfo) {}
  virtual void DrawGroupCaption(TdxNavBarGroupViewInfo* AGroupViewInfo);
  virtual void DrawGroupCaptionButton(TdxNavBarGroupViewInfo* AGroupViewInfo) {}
  virtual void DrawGroupCaptionText(TdxNavBarGroupViewInfo* AGroupViewInfo);
  virtual void DrawGroupCaptionImage(TdxNavBarGroupViewInfo* AGroupViewInfo) {}
  virtual void DrawGroupCaptionSign(TdxNavBarGroupViewInfo* AGroupViewInfo) {}
  virtual void DrawGroupControlBackground(TcxCanvas* ACanvas, const TRect& R, TdxNavBarGroupViewInfo* AGroupViewInfo) {}
  virtual void DrawGroupDesignRect(TdxNavBarGroupViewInfo* AGroupViewInfo);
  virtual void DrawGroupLinks(TdxNavBarGroupViewInfo* AGroupViewInfo);
  virtual void DrawGroupFocusRect(TdxNavBarGroupViewInfo* AGroupViewInfo);
  virtual void DrawLink(TdxNavBarLinkViewInfo* ALinkViewInfo);
  virtual void DrawLinkCaption(TdxNavBarLinkViewInfo* ALinkViewInfo);
  virtual void DrawLinkDesignRect(TdxNavBarLinkViewInfo* ALinkViewInfo);
  virtual void DrawLinkFocusRect(TdxNavBarLinkViewInfo* ALinkViewInfo);
  virtual void DrawLinkImage(TdxNavBarLinkViewInfo* ALinkViewInfo) {}
  virtual void DrawLinkSelection(TdxNavBarLinkViewInfo* ALinkViewInfo) {}
  virtual void DrawGroupClient(TdxNavBarGroupViewInfo* AGroupViewInfo);
  virtual void DrawLinkCaptionLine(TdxNavBarLinkViewInfo* ALinkViewInfo);
  virtual void DrawScrollButtons();
  virtual void DrawBottomScrollButton() {}
  virtual void DrawTopScrollButton() {}
  virtual void DrawDropTargetGroupSelection() {}
  virtual void DrawDropTargetLinkSelection() {}
  virtual void DrawHint(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawGroupHint(TcxCanvas* ACanvas, const TRect& R);
  virtual void DrawLinkHint(TcxCanvas* ACanvas, const TRect& R);

  // Whether the theme change needs another painter (views that draw with the theme).
  virtual bool NeedsRecreateOnThemeChange() const { return false; }

 protected:
  void DrawDesignMark(const TRect& R);

 private:
  bool FNeedRebuild = true;
  bool FNeedRecalculate = true;
  bool FNeedRepaint = true;
  std::unique_ptr<TdxNavBarViewInfo> FViewInfo;
  std::unique_ptr<TdxNavBarController> FController;
  std::unique_ptr<TcxCanvas> FCanvas;
  TCanvas* FCanvasSource = nullptr;
  int FRebuildCount = 0;
  int FCalculateCount = 0;
  int FDrawCount = 0;
};

class TdxNavBarElementPainter : public TdxNavBarPainter {
 public:
  using TdxNavBarPainter::TdxNavBarPainter;

  virtual void DrawDropTargetLinkMark(TdxNavBarGroupViewInfo* AGroupViewInfo, TdxNavBarLinkViewInfo* ALinkBefore,
                                      TdxNavBarLinkViewInfo* ALinkAfter);
  virtual const TdxNavBarCustomBackgroundPainter* GetBackgroundPainterClass() const;
  virtual const TdxNavBarCustomButtonPainter* GetButtonPainterClass() const;
  virtual const TdxNavBarCustomDropTargetGroupPainter* GetDropTargetGroupPainterClass() const;
  virtual const TdxNavBarCustomDropTargetLinkPainter* GetDropTargetLinkPainterClass() const;
  virtual const TdxNavBarCustomGroupBackgroundPainter* GetGroupBackgroundPainterClass() const;
  virtual const TdxNavBarCustomGroupBorderPainter* GetGroupBorderPainterClass() const;
  virtual const TdxNavBarCustomImagePainter* GetImagePainterClass() const;
  virtual const TdxNavBarCustomScrollButtonsPainter* GetScrollButtonsPainterClass() const;
  virtual const TdxNavBarCustomSelectionPainter* GetSelectionPainterClass() const;
  virtual const TdxNavBarCustomSignPainter* GetSignPainterClass() const;

  void DrawHintWindow(TcxCanvas* ACanvas, const TRect& R) override;
  void DrawBackground() override;
  void DrawGroupBackground(TdxNavBarGroupViewInfo* AGroupViewInfo) override;
  void DrawGroupBorder(TdxNavBarGroupViewInfo* AGroupViewInfo) override;
  void DrawGroupCaptionButton(TdxNavBarGroupViewInfo* AGroupViewInfo) override;
  void DrawGroupCaptionImage(TdxNavBarGroupViewInfo* AGroupViewInfo) override;
  void DrawGroupCaptionSign(TdxNavBarGroupViewInfo* AGroupViewInfo) override;
  void DrawGroupControlBackground(TcxCanvas* ACanvas, const TRect& R, TdxNavBarGroupViewInfo* AGroupViewInfo) override;
  void DrawLinkImage(TdxNavBarLinkViewInfo* ALinkViewInfo) override;
  void DrawLinkSelection(TdxNavBarLinkViewInfo* ALinkViewInfo) override;
  void DrawBottomScrollButton() override;
  void DrawTopScrollButton() override;
  void DrawDropTargetGroupSelection() override;
  void DrawDropTargetLinkSelection() override;
};

// An outer frame on R and an inner one on R deflated by 1; a side pair whose colour is clNone
// (left and top, right and bottom) is left out.
void dxNavBarDrawDoubleFrame(TcxCanvas* ACanvas, const TRect& R, TColor OuterTopLeft, TColor InnerBottomRight,
                             TColor InnerTopLeft, TColor OuterBottomRight);

// A two-colour gradient fill in software; a rectangle one pixel wide or high takes Color1.
void dxNavBarFillGradientRect(HDC DC, const TRect& R, TColor Color1, TColor Color2, TdxBarStyleGradientMode Mode,
                              uint8_t Alpha1 = 255, uint8_t Alpha2 = 255);
// Whether GDI+ is bound (from the module table); the software paths run without it.
bool CheckGdiPlusAvailable(bool Required = false);
