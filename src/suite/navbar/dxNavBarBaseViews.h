#pragma once
// The base view (0) and the flat view (1): side-bar views where only the active group shows its
// links and takes all the room the other captions leave.

#include "suite/navbar/dxNavBarPainters.h"

class TdxNavBarBaseViewInfo : public TdxNavBarViewInfo {
 public:
  using TdxNavBarViewInfo::TdxNavBarViewInfo;
  void AlignGroups() override;
  bool IsGroupExpanded(TdxNavBarGroup* AGroup) override;
  void ExpandGroup(TdxNavBarGroup* AGroup) override;
  void MakeLinkVisible(TdxNavBarItemLink* ALink, bool AtTop = true) override;
  void MakeGroupVisible(TdxNavBarGroup* AGroup, bool Expand = true, bool AtTop = false) override;
  virtual int GetActiveGroupMinClientHeight();
};

class TdxNavBarBaseSelectionPainter : public TdxNavBarCustomSelectionPainter {
 public:
  void GetColors(TdxNavBarObjectStates AState, TColor ABackColor, TColor& AOuterLeftTop, TColor& AOuterRightBottom,
                 TColor& AInnerLeftTop, TColor& AInnerRightBottom, TColor& AFillColor) const override;
};

class TdxNavBarBaseButtonPainter : public TdxNavBarCustomButtonPainter {
 public:
  void DrawButton(TcxCanvas* ACanvas, const TRect& R, TPicture* AImage, TColor AColor1, TColor AColor2,
                  uint8_t AAlpha1, uint8_t AAlpha2, TdxBarStyleGradientMode AGradientMode, TColor ABorderColor,
                  TdxNavBarObjectStates AState) const override;

 protected:
  virtual void DrawFrame(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TdxNavBarObjectStates AState) const;
};

class TdxNavBarFlatButtonPainter : public TdxNavBarBaseButtonPainter {
 protected:
  void DrawFrame(TcxCanvas* ACanvas, const TRect& R, TColor AColor, TdxNavBarObjectStates AState) const override;
};

class TdxNavBarBaseScrollButtonsPainter : public TdxNavBarCustomScrollButtonsPainter {
 public:
  void DrawBottomButton(TcxCanvas* ACanvas, const TRect& R, TdxNavBarObjectStates AState, TColor ABorderColor,
                        const TdxNavBarButtonStyle& AStyle,
                        const TdxNavBarCustomButtonPainter* AButtonPainter) const override;
  void DrawTopButton(TcxCanvas* ACanvas, const TRect& R, TdxNavBarObjectStates AState, TColor ABorderColor,
                     const TdxNavBarButtonStyle& AStyle, const TdxNavBarCustomButtonPainter* AButtonPainter) const override;

 private:
  void DrawArrow(TcxCanvas* ACanvas, const TRect& R, TdxNavBarObjectStates AState, bool Down) const;
};

class TdxNavBarBasePainter : public TdxNavBarElementPainter {
 public:
  using TdxNavBarElementPainter::TdxNavBarElementPainter;
  TdxNavBarViewInfo* CreateViewInfo() override { return new TdxNavBarBaseViewInfo(this); }
  TdxNavBarController* CreateController() override { return new TdxNavBarNavigationBarController(NavBar()); }
  const TdxNavBarCustomButtonPainter* GetButtonPainterClass() const override;
  const TdxNavBarCustomScrollButtonsPainter* GetScrollButtonsPainterClass() const override;
  const TdxNavBarCustomSelectionPainter* GetSelectionPainterClass() const override;
};

class TdxNavBarFlatPainter : public TdxNavBarBasePainter {
 public:
  using TdxNavBarBasePainter::TdxNavBarBasePainter;
  const TdxNavBarCustomButtonPainter* GetButtonPainterClass() const override;
};

void dxNavBarBaseViewsInitialize();
void dxNavBarBaseViewsFinalize();
