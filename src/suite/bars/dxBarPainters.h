#pragma once
// The painters of the classic looks: Standard (raised and sunken edges, frame controls, system
// colours) and Enhanced (the Standard look with one grip strip, a raised mark and wider group
// indents). The Enhanced painter is what the main window shows without visual styles.

#include "suite/bars/dxBar.h"

class TdxBarStandardPainter : public TdxBarPainter {
 public:
  void FrameGlyphArea(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected, bool Down,
                      bool Pressed, bool DroppedDown, bool Split, bool WithBorder, HBRUSH Brush,
                      const TRect& R) const override;
  void DrawCheckSign(TdxBarItemControl* Control, HDC DC, int SizeCode, int X, int Y) const override;
  bool ItemFlagStandard() const override { return true; }
  bool IsMarkAreaSmall(TCustomdxBarControl* BarControl, const TRect& R) const override { return false; }
  void DrawMarkChevrons(TCustomdxBarControl* BarControl, HDC DC, int Position, const TRect& R) const override;
  void DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const override;
  TcxCustomLookAndFeelPainter* LookAndFeelPainter() const override;
  int DropDownShift() const override { return 2; }
  void FillDisabledShadow(TdxBarItemControl* Control, HDC DC, const TRect& R) const override;
  void BeforeDrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const override;
  void DrawButtonFace(TdxBarItemControl* Control, HDC DC, bool Pressed, bool Selected, bool Enabled,
                      const TRect& R) const override;
  TRect CaptionMargins() const override { return TRect(2, 1, 2, 1); }
  HBRUSH ItemBackgroundBrush(TdxBarItemControl* Control, int PaintType, bool NoIcon, bool Selected, bool Down,
                             bool Enabled) const override;
  int DownGlyphOffset(TdxBarItemControl* Control) const override { return 1; }
  int PressedGlyphOffset(TdxBarItemControl* Control, bool Down) const override { return 1; }
  int ButtonBorderWidth(TdxBarItemControl* Control) const override { return 1; }
  int ToolbarBorderGap() const override { return 2; }
  int GripSizeWithBorder(TCustomdxBarControl* BarControl) const override {
    return 2 * GripDotCount() + ToolbarBorderGap() + 1;
  }
  int MenuBeginGroupIndent() const override { return 2; }
  void EditBorderSize(int& Top, int& Bottom) const override {
    Top = 0;
    Bottom = 2;
  }
  bool TracksHotElements() const override { return false; }
  bool AllowsQuickCustomizing() const override { return false; }
  void DrawCaptionCloseButton(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawFloatingBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawMDIButton(TCustomdxBarControl* BarControl, TdxBarMDIButton Button, const TRect& R, HDC DC,
                     int State) const override;
  int FloatingFrameExtraX() const override { return 4; }
  TRect MarkRect(TCustomdxBarControl* BarControl) const override;
  int FloatingFrameExtraTop() const override { return 2; }
  int FloatingFrameExtraBottom() const override { return 1; }
  bool CloseButtonHitTestDirect() const override { return true; }
  bool BarFlagStandard() const override { return true; }
  void FillDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R,
                             HBRUSH Brush) const override;
  void DrawSimpleComboButton(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R, HBRUSH Brush) const override;
  void DrawDropDownListBorder(HDC DC, TColor Color, const TRect& R) const override;
  bool OffsetsRecentGroup() const override { return true; }
  int MenuClientIndent() const override { return 2; }
  TRect MenuBorderRect(TdxBarSubMenuControl* SubMenu) const override;
  void DrawMenuItemFrame(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control, int ItemIndex, const TRect& R,
                         HDC DC) const override;
  int ProgressBarFrameSize() const override { return 1; }

 protected:
  // One raised grip strip, kept out of later background fills. The corner pixel belongs to the
  // Standard look only.
  void DrawGripStrip(HDC DC, const TRect& R, bool Horizontal, bool CornerPixel) const;
};

class TdxBarEnhancedPainter : public TdxBarStandardPainter {
 public:
  void DrawMarkChevrons(TCustomdxBarControl* BarControl, HDC DC, int Position, const TRect& R) const override {
    TdxBarPainter::DrawMarkChevrons(BarControl, DC, Position, R);
  }
  void DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const override;
  int ToolbarBorderGap() const override { return 1; }
  int GripSizeWithBorder(TCustomdxBarControl* BarControl) const override {
    return GripDotCount() + ToolbarBorderGap() + 2;
  }
  int MenuBeginGroupIndent() const override { return 12; }
  bool AllowsQuickCustomizing() const override { return true; }
  void DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
};
