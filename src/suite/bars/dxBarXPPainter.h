#pragma once
// The XP painter: bars, sub-menus and item controls drawn with the visual styles ("ToolBar",
// "Rebar", "Window", "Status", "ComboBox", "Edit", "Spin" and "Progress" parts). The manager picks
// it for bmsXP while the nine classes of its rule open, else the Enhanced painter draws.

#include "suite/bars/dxBar.h"

// Metrics read from the theme each time an XP painter is made; shared by every XP painter.
struct TdxBarXPMetrics {
  int SeparatorWidth = 0;
  TSize CloseButtonSize{};
  int ButtonPadding = 0;
  int ComboButtonWidth = 0;
  TRect EditMargins;
  int GripWidth = 0;
  int ProgressBarHeight = 0;
  int MenuSeparatorHeight = 0;
  TSize SizeGripSize{};
};
const TdxBarXPMetrics& dxBarXPMetrics();

class TdxBarXPPainter : public TdxBarPainter {
 public:
  TdxBarXPPainter();

  // Routines the base painter calls while the manager draws themed, and the small push button
  // that the Office11 painter borrows.
  static void XPDrawStatusBackground(TCustomdxBarControl* BarControl, HDC DC, const TRect& Origin,
                                     const TRect& R);
  static void XPDrawSizeGrip(HDC DC, const TRect& R);
  static TSize XPSizeGripExtent();
  static void XPDrawSmallButton(const TdxBarPainter& Painter, HDC DC, const TRect& R, bool Pressed,
                                const std::string& Text);

  void FrameGlyphArea(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected, bool Down,
                      bool Pressed, bool DroppedDown, bool Split, bool WithBorder, HBRUSH Brush,
                      const TRect& R) const override;
  void DrawCheckSign(TdxBarItemControl* Control, HDC DC, int SizeCode, int X, int Y) const override;
  bool DisabledGlyphsFaded(TCustomdxBarControl* BarControl) const override { return true; }
  bool ShowsHotAsDown(TdxBarItemControl* Control) const override;
  // A main-menu entry lit in the highlight colour writes its caption in the highlight text colour.
  void DrawTextWithParams(TdxBarItemControlDrawParams* DrawParams, const TRect& R, UINT Flags,
                          int Alignment) const override;
  void DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const override;
  int FloatingCaptionTextStart(TCustomdxBarControl* BarControl) const override;
  int EllipsisDotLift(int DotSize) const override { return 2 * DotSize; }
  void DrawEllipsisDot(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const override;
  TcxCustomLookAndFeelPainter* LookAndFeelPainter() const override;
  void BeforeDrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const override;
  HBRUSH ItemBackgroundBrush(TdxBarItemControl* Control, int PaintType, bool NoIcon, bool Selected, bool Down,
                             bool Enabled) const override;
  int DownGlyphOffset(TdxBarItemControl* Control) const override { return 1; }
  int PressedGlyphOffset(TdxBarItemControl* Control, bool Down) const override { return Down ? 0 : 1; }
  bool GlyphHotLook() const override { return true; }
  int ToolbarBorderGap() const override { return 0; }
  int GripSizeWithBorder(TCustomdxBarControl* BarControl) const override {
    return GripDotCount() + ToolbarBorderGap() + 2;
  }
  int GripDotCount() const override { return dxBarXPMetrics().GripWidth; }
  int DropDownArrowWidth(TdxBarManager* Manager) const override {
    return TdxBarPainter::DropDownArrowWidth(Manager) + 3;
  }
  int LargeDropDownArrowWidth(TdxBarManager* Manager) const override {
    return TdxBarPainter::LargeDropDownArrowWidth(Manager) + 3;
  }
  void FillDockBackground(TdxDockControl* DockControl, HDC DC, TColor Color, HBRUSH Brush, const TRect& R,
                          const TRect& OriginRect) const override;
  bool UsesThemedBackground() const override { return true; }
  HBRUSH BarBrush(TCustomdxBarControl* BarControl) const override;
  int ComboArrowWidth(TCustomdxBarControl* BarControl, int TextWidth) const override {
    return dxBarXPMetrics().ComboButtonWidth;
  }
  int BarSeparatorMargin() const override { return (BarSeparatorSize() - 1) / 2; }
  int BarSeparatorSize() const override { return dxBarXPMetrics().SeparatorWidth; }
  int BorderUnit() const override { return 0; }
  void FillFloatingCaption(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const override;
  bool FloatingCaptionFilled() const override { return true; }
  TSize CloseButtonSize() const override { return dxBarXPMetrics().CloseButtonSize; }
  void DrawBarSeparator(TCustomdxBarControl* BarControl, HDC DC, bool Horizontal, HBRUSH Brush,
                        const TRect& R) const override;
  void DrawCaptionCloseButton(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawFloatingBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawMDIButton(TCustomdxBarControl* BarControl, TdxBarMDIButton Button, const TRect& R, HDC DC,
                     int State) const override;
  bool QuickPopupFlag() const override { return true; }
  bool ArrowPartFlatA() const override { return true; }
  int GlyphAreaExtraHeight() const override { return dxBarXPMetrics().ButtonPadding; }
  int GlyphAreaExtraWidth() const override { return GlyphAreaExtraHeight(); }
  void AdjustMenuExtent(int& Value) const override { ++Value; }
  void DrawDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const override;
  void FillDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R,
                             HBRUSH Brush) const override;
  int ComboButtonInset(TdxBarEditLikeControlDrawParams* DrawParams) const override { return 0; }
  void DrawComboButton(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R, bool Pressed) const override;
  int MenuArrowsOffset() const override { return 1; }
  int MenuSeparatorSize() const override { return dxBarXPMetrics().MenuSeparatorHeight; }
  TRect MenuSeparatorRect(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control,
                          const TRect& ItemRect) const override;
  void DetachCaptionRect(TdxBarSubMenuControl* SubMenu, TRect& R) const override { R = R.Inflate(-2, -2); }
  void DrawMenuBorder(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const override;
  void DrawMenuFrame(TdxBarSubMenuControl* SubMenu, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawMenuSeparator(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control, const TRect& R,
                         TcxCanvas* Canvas) const override;
  void DrawSeparatorLine(TcxCanvas* Canvas, const TRect& R) const override;
  // The themed line leaves its strip around it: a separator item's strips get the bar's colour first.
  void DrawSeparatorItemLine(TcxCanvas* Canvas, const TRect& R) const override;
  HBRUSH MenuOwnBrush(TdxBarSubMenuControl* SubMenu) const override;
  TColor EditBackgroundColor(TdxBarItemControl* EditControl) const override;
  TColor EditDisabledBackgroundColor(TdxBarItemControl* EditControl) const override;
  TColor EditTextColorEnabled() const override;
  TColor EditTextColorDisabled() const override;
  void DrawComboListItemDefault(TdxBarItem* Item, TcxCanvas* Canvas, const TRect& R, int Index) const override;
  TRect EditFrameMargins(int PaintType) const override { return dxBarXPMetrics().EditMargins; }
  void DrawEditBorder(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R) const override;
  bool EditCaptionNonRecent(TdxBarEditLikeControlDrawParams* DrawParams) const override;
  int EditNoGlyphIndent() const override { return 6; }
  int EditCaptionGap() const override { return 5; }
  TRect EditMenuCaptionMargins() const override { return TRect(5, 0, 0, 0); }
  HBRUSH EditBarBrush(TdxBarItemControl* Control) const override;
  TRect ColorBoxMargins(int PaintType) const override { return TRect(1, 1, 1, 1); }
  void DrawEllipsisButton(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const override;
  void DrawColorBoxFrame(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const override;
  int DropDownNonClientHeight() const override;
  bool DateNavigatorFlag() const override { return true; }
  void DrawPushButton(const std::string& Text, HDC DC, bool Pressed, int Offset, const TRect& R) const override;
  TRect SpinButtonMargins(int PaintType) const override { return TRect(); }
  void DrawSpinButton(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, int Button) const override;
  TColor ProgressBarDefaultColor() const override;
  int ProgressBarMinHeight(TdxBarItemControl* Control) const override {
    return dxBarXPMetrics().ProgressBarHeight;
  }
  void FillProgressBackground(TdxBarProgressControlDrawParams* DrawParams, const TRect& R) const override;
  TRect ProgressBarContentRect(TdxBarProgressControlDrawParams* DrawParams, const TRect& R) const override;
  void DrawProgressChunks(TdxBarProgressControlDrawParams* DrawParams, const TRect& R,
                          HBRUSH Brush) const override;
  int SeparatorLineHeightBase() const override { return dxBarXPMetrics().MenuSeparatorHeight; }
};

void RegisterXPBarPainter();
