#pragma once
// The Office 2003 look of the bars: gradient dock sites and toolbars with rounded ends, dotted
// grips, gradient hot and checked states and a coloured icon band in menus, all in the colours of
// the suite's Office 2003 set (the scheme's own, or derived from the system colours).

#include "suite/bars/dxBarFlatPainter.h"

// The roles of the Office 2003 colour set and brush set that the bars read.
namespace dxBarOffice11 {
TColor DockColor1();
TColor DockColor2();
TColor BarColor1();
TColor BarColor2();
// Mark states: 0 normal, 1 hot, 2 pressed.
TColor MarkStartColor(int State);
TColor MarkEndColor(int State);
TColor MarkCornerColor(int State);
TColor BarEdgeColor();
TColor BarBorderColor();
TColor MarkGlyphColor();
TColor MarkGlyphLightColor();
TColor FloatingBorderColor();
TColor FloatingInnerColor();
TColor FloatingCaptionBrushColor();
TColor CaptionColor();
TColor CaptionTextColor();
TColor CaptionTextHotColor();
TColor CaptionTextPressedColor();
TColor OpenButtonColor1();
TColor OpenButtonColor2();
TColor BandColor1();
TColor BandColor2();
TColor BandSelColor1();
TColor BandSelColor2();
TColor HotColor1();
TColor HotColor2();
TColor DownColor1();
TColor DownColor2();
TColor DownSolidColor();
TColor DownMenuColor();
TColor TextColor();
TColor SelectedTextColor();
TColor DisabledTextColor();
TColor DateNavigatorColor();
TColor ShadowColor();
HBRUSH BarBrush();
HBRUSH BandBrush();
HBRUSH SelectedBrush();
HBRUSH DownBrush();
HBRUSH DownSelectedBrush();
HBRUSH DownFrameBrush();
HBRUSH BorderBrush();
HBRUSH SeparatorDarkBrush();
HBRUSH SeparatorLightBrush();
HBRUSH DetachBrush();
HBRUSH DetachHotBrush();
HBRUSH ShadowBrush();
HBRUSH InPlaceHotBrush();
}  // namespace dxBarOffice11

class TdxBarOffice11Painter : public TdxBarFlatPainter {
 public:
  // Takes the colour set as the system colours and visual style are now: a new painter is made
  // whenever the manager re-applies its style after a theme or colour change.
  TdxBarOffice11Painter();

  void FrameGlyphArea(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected, bool Down,
                      bool Pressed, bool DroppedDown, bool Split, bool WithBorder, HBRUSH Brush,
                      const TRect& R) const override;
  void DrawArrow(HDC DC, const TRect& R, TcxArrowDirection Direction, bool Enabled, bool Selected, bool Flat,
                 TColor Color) const override;
  void DrawArrowSized(HDC DC, const TRect& R, TcxArrowDirection Direction, int Size, bool Selected, bool Enabled,
                      bool Flat, TColor Color) const override;
  void FrameSelection(HDC DC, const TRect& R) const override;
  TColor StateTextColor(TdxBarItemControl* Control, bool Selected, bool Flat) const override;
  void DisabledCaptionColors(TdxBarItemControl* Control, bool Selected, TColor& ShadowColor, TColor& TextColor,
                             bool Flat) const override;
  bool DisabledGlyphsFaded(TCustomdxBarControl* BarControl) const override { return true; }
  bool DrawsHiddenItemsItself() const override { return true; }
  TColor FloatingCaptionColor(TCustomdxBarControl* BarControl, bool Active) const override;
  TColor FloatingCaptionTextColor(TCustomdxBarControl* BarControl) const override;
  TColor CloseSignColor(TCustomdxBarControl* BarControl, int State) const override;
  void DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawMarkContents(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawExpandChevrons(TdxBarSubMenuControl* SubMenu, HDC DC, bool Hot, const TRect& R) const override;
  TcxCustomLookAndFeelPainter* LookAndFeelPainter() const override;
  void BeforeDrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const override;
  void DrawButtonFace(TdxBarItemControl* Control, HDC DC, bool Pressed, bool Selected, bool Enabled,
                      const TRect& R) const override;
  bool GlyphHotLook() const override { return false; }
  bool GlyphShadowWhenHot() const override { return false; }
  bool DownButtonHighlight() const override;
  int ToolbarBorderGap() const override { return TdxBarFlatPainter::ToolbarBorderGap() + GripDotSize(); }
  int FloatingFrameWidth() const override { return 3; }
  int FloatingFrameHeight() const override { return 3; }
  int GripSize() const override { return 2; }
  void FillDockBackground(TdxDockControl* DockControl, HDC DC, TColor Color, HBRUSH Brush, const TRect& R,
                          const TRect& OriginRect) const override;
  bool UsesThemedBackground() const override { return true; }
  HBRUSH ManagerBarBrush(TdxBarManager* Manager) const override;
  void DrawBarOnDockBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush,
                               const TRect& ItemRect, const TRect& OriginRect) const override;
  void DrawBarWallpaper(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush, const TRect& R,
                        const TRect& OriginRect) const override;
  void FillBarBorderArea(TCustomdxBarControl* BarControl, HDC DC) const override;
  HBRUSH BarBrush(TCustomdxBarControl* BarControl) const override;
  HBRUSH ToolbarBrush(TCustomdxBarControl* BarControl) const override;
  HBRUSH CheckerBrush(TCustomdxBarControl* BarControl) const override;
  HBRUSH MenuBrush(TCustomdxBarControl* BarControl) const override;
  HBRUSH SelectionBrush(TCustomdxBarControl* BarControl) const override;
  int ComboArrowWidth(TCustomdxBarControl* BarControl, int TextWidth) const override { return 13; }
  TRect DockedBorderRect(TdxBar* Bar, TdxBarDockingStyle Style) const override;
  void DrawBarSeparator(TCustomdxBarControl* BarControl, HDC DC, bool Horizontal, HBRUSH Brush,
                        const TRect& R) const override;
  void DrawCloseButtonBackground(TCustomdxBarControl* BarControl, HDC DC, int State, const TRect& R) const override;
  void DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawFloatingBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawFloatingCaption(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush,
                           const TRect& CaptionRect) const override;
  TRect MarkAreaRect(TCustomdxBarControl* BarControl) const override;
  void InvalidateMark(TCustomdxBarControl* BarControl) const override;
  HBRUSH ToolbarBrushEx(TCustomdxBarControl* BarControl) const override;
  HBRUSH ArrowAreaBrush(TdxBarButtonLikeControlDrawParams* DrawParams) const override;
  TColor ComboArrowColor(TdxBarEditLikeControlDrawParams* DrawParams) const override;
  HBRUSH ComboButtonBrush(TdxBarEditLikeControlDrawParams* DrawParams) const override;
  void DrawSimpleComboButton(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R, HBRUSH Brush) const override;
  void DrawDropDownListBorder(HDC DC, TColor Color, const TRect& R) const override;
  bool MenuHasSideBand() const override { return true; }
  void MenuTextMetrics(TcxCanvas* Canvas, int TextSize, int& ArrowWidth, int& MarkSize) const override;
  int DetachCaptionAreaSize(TdxBarSubMenuControl* SubMenu) const override;
  void DetachCaptionRect(TdxBarSubMenuControl* SubMenu, TRect& R) const override { R = R.Inflate(-2, -4); }
  void FillMenuBackground(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, TColor Color, HBRUSH Brush,
                          const TRect& R) const override;
  void DrawMenuBorder(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const override;
  void DrawMenuFrame(TdxBarSubMenuControl* SubMenu, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawDetachCaption(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const override;
  HBRUSH MenuOwnBrush(TdxBarSubMenuControl* SubMenu) const override;
  TColor EditDisabledBackgroundColor(TdxBarItemControl* EditControl) const override;
  TColor EditTextColorDisabled() const override;
  int EditFlagD(TdxBarEditLikeControlDrawParams* DrawParams) const override;
  void DrawEditHotFrame(TdxBarEditLikeControlDrawParams* DrawParams, HDC DC, const TRect& R) const override;
  TRect EditFrameMargins(int PaintType) const override { return TRect(1, 1, 1, 1); }
  void DrawEditBorder(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R) const override;
  bool EditCaptionSelected(TdxBarEditLikeControlDrawParams* DrawParams) const override;
  bool EditCaptionNonRecent(TdxBarEditLikeControlDrawParams* DrawParams) const override;
  bool EditDefaultShowsIcon(TdxBarEditLikeControlDrawParams* DrawParams) const override;
  TColor DateNavigatorColor() const override;
  int ProgressBarLeftIndent(TdxBarProgressControlDrawParams* DrawParams) const override;
  HBRUSH InPlaceSubItemHotBrush() const override;
  void DrawSeparatorCaption(TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R) const override;
  // ---- the flat look's own operations
  void FrameOrFillItem(TdxBarItemControl* Control, HDC DC, bool Down, bool Selected, int PaintType, HBRUSH Brush,
                       const TRect& R) const override;
  HBRUSH ManagerBrush(TdxBarItemControl* Control) const override;
  HBRUSH ShadowBrush() const override;
  void FrameWithManagerColor(TCustomdxBarControl* Control, HDC DC, const TRect& R) const override;
  void FillWithBarBrush(TCustomdxBarControl* Control, HDC DC, const TRect& R, const TRect& Strip,
                        TdxBarItemControl* ItemControl) const override;
  TColor ShadowColor() const override;

  // ---- introduced
  virtual void DrawGripDots(TCustomdxBarControl* Control, HDC DC, bool Horizontal, const TRect& R) const;
  virtual int GripDotSize() const { return 2; }

  // The item gradient of a state: the two ends, equal for a solid fill.
  static void ItemGradientColors(TCustomdxBarControl* Bar, bool Selected, bool Pressed, bool Down, TColor& Color1,
                                 TColor& Color2);
};

// Registers the Office11 painter for its style.
void RegisterOffice11BarPainters();
