#pragma once
// The flat look of the bars: one-pixel frames instead of raised and sunken edges, a highlight
// frame around the selected item, a light face colour for bars and the icon column of menus,
// white menus, and a menu that joins the button it dropped down from into one outline.

#include "suite/bars/dxBar.h"

class TdxBarFlatPainter : public TdxBarPainter {
 public:
  // ---- items and glyphs
  void FrameGlyphArea(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected, bool Down,
                      bool Pressed, bool DroppedDown, bool Split, bool WithBorder, HBRUSH Brush,
                      const TRect& R) const override;
  void DrawCheckSign(TdxBarItemControl* Control, HDC DC, int SizeCode, int X, int Y) const override;
  void FrameSelection(HDC DC, const TRect& R) const override;
  TColor FloatingCaptionColor(TCustomdxBarControl* BarControl, bool Active) const override;
  TColor CloseSignColor(TCustomdxBarControl* BarControl, int State) const override;
  void DrawMarkBackground(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const override;
  int FloatingCaptionTextStart(TCustomdxBarControl* BarControl) const override;
  int MarkSignColorIndex(TCustomdxBarControl* BarControl) const override;
  void DrawScrollButtonEdge(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const override {}
  void DrawExpandButtonFrame(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const override;
  void DrawSpinArrow(TdxBarSpinEditDrawParams* DrawParams, TPoint Position,
                     TcxArrowDirection Direction) const override;
  TColor DropDownBorderColor() const override { return clBtnShadow; }
  TcxCustomLookAndFeelPainter* LookAndFeelPainter() const override;
  void CalcSpinEditPartRects(TdxBarSpinEditDrawParams* DrawParams, const TRect& R,
                             std::vector<TRect>& PartRects) const override;
  int DropDownShift() const override { return 1; }
  int HalfFontHeight(TdxBarItemControl* Control) const override;
  void BeforeDrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const override;
  void DrawSunkenFrame(HDC DC, TRect& R) const override;
  void DrawButtonFace(TdxBarItemControl* Control, HDC DC, bool Pressed, bool Selected, bool Enabled,
                      const TRect& R) const override;
  HBRUSH ItemBackgroundBrush(TdxBarItemControl* Control, int PaintType, bool NoIcon, bool Selected, bool Down,
                             bool Enabled) const override;
  bool GlyphHotLook() const override { return true; }
  bool IsFlat() const override { return true; }
  bool GlyphAreaSolid(TdxBarItemControl* Control, bool Down, bool NoGlyph, bool Selected,
                      bool Pressed) const override;
  bool GlyphShadowWhenHot() const override { return true; }
  int ButtonBorderWidth(TdxBarItemControl* Control) const override { return 1; }
  int ItemTextSize(TdxBarItemControl* Control) const override;
  int ToolbarBorderGap() const override { return 1; }
  int GripSizeWithBorder(TCustomdxBarControl* BarControl) const override {
    return GripDotCount() + ToolbarBorderGap() + 2;
  }
  int DropDownArrowWidth(TdxBarManager* Manager) const override {
    return TdxBarPainter::DropDownArrowWidth(Manager) - 1;
  }
  int LargeDropDownArrowWidth(TdxBarManager* Manager) const override {
    return TdxBarPainter::LargeDropDownArrowWidth(Manager) - 1;
  }
  int MenuBeginGroupIndent() const override { return 8; }
  // ---- bars
  int BarIndent(TCustomdxBarControl* BarControl) const override { return 1; }
  HBRUSH BarBrush(TCustomdxBarControl* BarControl) const override;
  HBRUSH ToolbarBrush(TCustomdxBarControl* BarControl) const override;
  HBRUSH CheckerBrush(TCustomdxBarControl* BarControl) const override;
  HBRUSH MenuBrush(TCustomdxBarControl* BarControl) const override;
  HBRUSH SelectionBrush(TCustomdxBarControl* BarControl) const override;
  int BarSeparatorMargin() const override { return (BarSeparatorSize() - 1) / 2; }
  int BarSeparatorSize() const override { return 5; }
  void DrawBarSeparator(TCustomdxBarControl* BarControl, HDC DC, bool Horizontal, HBRUSH Brush,
                        const TRect& R) const override;
  void DrawCaptionCloseButton(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawDockedBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawFloatingBorder(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawFloatingMarkButton(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const override;
  void DrawMDIButton(TCustomdxBarControl* BarControl, TdxBarMDIButton Button, const TRect& R, HDC DC,
                     int State) const override;
  HBRUSH ToolbarBrushEx(TCustomdxBarControl* BarControl) const override;
  bool QuickPopupFlag() const override { return true; }
  HBRUSH ArrowAreaBrush(TdxBarButtonLikeControlDrawParams* DrawParams) const override;
  // ---- menus
  void AdjustMenuExtent(int& Value) const override { Value += 2; }
  void AdjustMenuItemWidth(int& Width) const override { Width += 9; }
  void FillDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R,
                             HBRUSH Brush) const override;
  TColor ComboArrowColor(TdxBarEditLikeControlDrawParams* DrawParams) const override;
  HBRUSH ComboButtonBrush(TdxBarEditLikeControlDrawParams* DrawParams) const override;
  void DrawSimpleComboButton(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R, HBRUSH Brush) const override;
  int MenuArrowsOffset() const override { return 1; }
  int MenuSeparatorSize() const override { return 5; }
  void MenuTextMetrics(TcxCanvas* Canvas, int TextSize, int& ArrowWidth, int& MarkSize) const override;
  int DetachCaptionAreaSize(TdxBarSubMenuControl* SubMenu) const override;
  int MenuSubItemArrowSize(int ItemHeight) const override;
  int ReferenceTextSize() const override { return 20; }
  TRect MenuItemIconRect(const TRect& ItemRect, int IconAreaSize) const override;
  TRect MenuItemTextRect(TdxBarItemControlDrawParams* DrawParams, const TRect& R) const override;
  int MenuCaptionOffset(TdxBarItemControlDrawParams* DrawParams) const override {
    return TdxBarPainter::MenuCaptionOffset(DrawParams) + 6;
  }
  TRect MenuSeparatorRect(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control,
                          const TRect& ItemRect) const override;
  void DetachCaptionRect(TdxBarSubMenuControl* SubMenu, TRect& R) const override { R = R.Inflate(-2, -2); }
  void DrawMenuBorder(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const override;
  void DrawMenuFrame(TdxBarSubMenuControl* SubMenu, HDC DC, HBRUSH Brush, const TRect& R) const override;
  void DrawDetachCaption(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const override;
  void DrawMenuSeparator(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control, const TRect& R,
                         TcxCanvas* Canvas) const override;
  void DrawSeparatorLine(TcxCanvas* Canvas, const TRect& R) const override;
  int MenuTextSize(TcxCanvas* Canvas) const override { return TdxBarPainter::MenuTextSize(Canvas) + 1; }
  HBRUSH MenuOwnBrush(TdxBarSubMenuControl* SubMenu) const override;
  // ---- edit-like items
  void DrawComboListItemDefault(TdxBarItem* Item, TcxCanvas* Canvas, const TRect& R, int Index) const override;
  TRect EditFrameMargins(int PaintType) const override { return TRect(1, 1, 1, 1); }
  void DrawEditBorder(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R) const override;
  void DrawEditSelectedInMenu(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const override;
  bool EditCaptionNonRecent(TdxBarEditLikeControlDrawParams* DrawParams) const override;
  int EditNoGlyphIndent() const override { return 6; }
  int EditCaptionGap() const override { return 5; }
  TRect EditMenuCaptionMargins() const override { return TRect(7, 0, 0, 0); }
  HBRUSH EditBarBrush(TdxBarItemControl* Control) const override;
  bool EditGlyphHot(TdxBarItemControl* Control) const override;
  bool EditFlagF(TdxBarEditLikeControlDrawParams* DrawParams, int& Value) const override;
  bool DateNavigatorFlag() const override { return true; }
  void DrawPushButton(const std::string& Text, HDC DC, bool Pressed, int Offset, const TRect& R) const override;
  void DrawSpinButton(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, int Button) const override;
  int ProgressBarFrameSize() const override { return 1; }
  int ContainerExtraWidth() const override { return 9; }
  bool InPlaceSubItemSelected(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const override;
  bool InPlaceSubItemArrowFlat(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const override;
  void DrawStaticBorder(TdxBarStaticLikeControlDrawParams* DrawParams, TRect& R) const override;

  // ---- introduced by the flat look, in slot order
  // Frames an item: in the bar's background when plain on a bar, the selection frame when
  // selected or on a bar, a shadow frame for a down item in a menu.
  virtual void FrameOrFillItem(TdxBarItemControl* Control, HDC DC, bool Down, bool Selected, int PaintType,
                               HBRUSH Brush, const TRect& R) const;
  virtual HBRUSH ManagerBrush(TdxBarItemControl* Control) const;
  virtual HBRUSH ShadowBrush() const;
  // The joined outline around R, then the inside filled with the manager's bar brush.
  virtual void FillJoinArea(TCustomdxBarControl* Control, HDC DC, TCustomdxBarControl* Popup, const TRect& R) const;
  // Frames R (an element with an open popup) so that element and popup make one outline: the
  // strip where the popup touches it is filled instead of framed.
  virtual void CallClipped(TCustomdxBarControl* Control, HDC DC, const TRect& R, TdxBarItemControl* ItemControl,
                           TCustomdxBarControl* Popup) const;
  virtual void FrameWithManagerColor(TCustomdxBarControl* Control, HDC DC, const TRect& R) const;
  virtual void FillWithBarBrush(TCustomdxBarControl* Control, HDC DC, const TRect& R, const TRect& Strip,
                                TdxBarItemControl* ItemControl) const;
  virtual TColor ShadowColor() const;

  // The flat brushes of a manager; without one, brushes made from the same formulas and kept
  // until the system colours change.
  static HBRUSH FlatFrameBrush(TdxBarManager* Manager);
  static HBRUSH FlatFaceBrush(TdxBarManager* Manager);
  static HBRUSH FlatDownBrush(TdxBarManager* Manager);
  static HBRUSH FlatDownSelectedBrush(TdxBarManager* Manager);
  static HBRUSH FlatSelectedBrush(TdxBarManager* Manager);
  // The five flat colours computed from the current system colours (frame, face, down, down
  // selected, selected), as the manager makes its brushes of them.
  static TColor FlatColor(int Index);

 protected:
  // A bitmap laid into R as a glyph: state 0 disabled, 1 normal.
  static void DrawGlyphInState(HDC DC, const TRect& R, TBitmap* Bitmap, int State);
};

// One flat painter for the whole bar unit, made on first use and freed when the unit stops. Other
// looks borrow its check mark and floating border.
TdxBarFlatPainter* GetSharedFlatPainter();
void FreeSharedFlatPainter();

// Registers the Flat painter for its style.
void RegisterFlatBarPainters();
