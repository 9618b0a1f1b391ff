#include "suite/bars/dxBar.h"

void TdxBarPainter::DrawBarClientBackground(TCustomdxBarControl* BarControl) const {
}

TRect TdxBarPainter::FloatingCaptionRect(TCustomdxBarControl* BarControl, const TRect& NCRect) const {
  return {};
}

void TdxBarPainter::CalcCaptionRect(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& ContentRect, TRect& CaptionRect, int& Alignment, const TRect& GlyphRect) const {
}

void TdxBarPainter::DrawCheckSignCentered(TdxBarItemControl* Control, HDC DC, bool Down, int PaintType, const TRect& R) const {
}

void TdxBarPainter::DrawArrow(HDC DC, const TRect& R, TcxArrowDirection Direction, bool Enabled, bool Selected, bool Flat, TColor Color) const {
}

void TdxBarPainter::DrawArrowSized(HDC DC, const TRect& R, TcxArrowDirection Direction, int Size, bool Selected, bool Enabled, bool Flat, TColor Color) const {
}

TColor TdxBarPainter::StateTextColor(TdxBarItemControl* Control, bool Selected, bool Flat) const {
  return {};
}

void TdxBarPainter::DisabledCaptionColors(TdxBarItemControl* Control, bool Selected, TColor& ShadowColor, TColor& TextColor, bool Flat) const {
}

TColor TdxBarPainter::ArrowColor(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  return {};
}

bool TdxBarPainter::DisabledGlyphsFaded(TCustomdxBarControl* BarControl) const {
  return {};
}

bool TdxBarPainter::SupportsFading() const {
  return {};
}

TPoint TdxBarPainter::HintPosition(TCustomdxBarControl* BarControl, const TRect& ItemRect, TPoint Cursor) const {
  return {};
}

TdxBarHintViewInfo* TdxBarPainter::CreateHintViewInfo(TdxBarManager* Manager, const std::string& HintText, const std::string& ShortCutText) const {
  return nullptr;
}

TColor TdxBarPainter::FloatingCaptionColor(TCustomdxBarControl* BarControl, bool Active) const {
  return {};
}

TColor TdxBarPainter::FloatingCaptionTextColor(TCustomdxBarControl* BarControl) const {
  return {};
}

TColor TdxBarPainter::CloseSignColor(TCustomdxBarControl* BarControl, int State) const {
  return {};
}

void TdxBarPainter::DrawSizeGrip(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawCaptionMarkArrow(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
}

void TdxBarPainter::DrawMarkChevrons(TCustomdxBarControl* BarControl, HDC DC, int Position, const TRect& R) const {
}

void TdxBarPainter::DrawMarkContents(TCustomdxBarControl* BarControl, HDC DC, const TRect& R) const {
}

int TdxBarPainter::FloatingCaptionTextStart(TCustomdxBarControl* BarControl) const {
  return {};
}

void TdxBarPainter::DrawTextWithParams(TdxBarItemControlDrawParams* DrawParams, const TRect& R, UINT Flags, int Alignment) const {
}

TRect TdxBarPainter::CalcCaptionTextRect(TdxBarItemControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::AddButtonExtraWidth(TdxBarButtonLikeControlDrawParams* DrawParams, int& Width) const {
}

TRect TdxBarPainter::CalcEllipsisButtonRect(TdxBarColorComboControlDrawParams* DrawParams, const TRect& ItemRect) const {
  return {};
}

int TdxBarPainter::EllipsisButtonWidth(int PaintType, const TRect& R) const {
  return {};
}

void TdxBarPainter::DrawEllipsisDot(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawEllipsisDots(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawComboArrow(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R, TColor Color, int Size) const {
}

void TdxBarPainter::FillRectWithColor(TcxCanvas* Canvas, const TRect& R, TColor Color) const {
}

void TdxBarPainter::DrawScrollArrow(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom, TColor Color, const TRect& R) const {
}

void TdxBarPainter::DrawScrollButton(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const {
}

void TdxBarPainter::FillScrollButton(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const {
}

void TdxBarPainter::DrawScrollButtonEdge(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, bool Bottom) const {
}

TRect TdxBarPainter::ScrollButtonRect(TdxBarSubMenuControl* SubMenu, bool Bottom) const {
  return {};
}

int TdxBarPainter::ScrollButtonHeight(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

void TdxBarPainter::DrawExpandChevrons(TdxBarSubMenuControl* SubMenu, HDC DC, bool Hot, const TRect& R) const {
}

void TdxBarPainter::DrawExpandButton(TdxBarSubMenuControl* SubMenu, const TRect& R, bool Hot) const {
}

void TdxBarPainter::DrawExpandButtonFrame(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
}

void TdxBarPainter::InPlaceEditRect(TdxBarItemControl* EditControl, TRect& R) const {
}

void TdxBarPainter::DrawSpinArrow(TdxBarSpinEditDrawParams* DrawParams, TPoint Position, TcxArrowDirection Direction) const {
}

TcxCustomLookAndFeelPainter* TdxBarPainter::LookAndFeelPainter() const {
  return nullptr;
}

void TdxBarPainter::DrawCenteredButtonText(HDC DC, const TRect& R, bool Opaque, const std::string& Text, int Offset) const {
}

void TdxBarPainter::NarrowEditCaptionPart(TdxBarEditLikeControlDrawParams* DrawParams, std::vector<TRect>& PartRects) const {
}

void TdxBarPainter::CalcButtonPartRects(TdxBarButtonLikeControlDrawParams* DrawParams, std::vector<TRect>& PartRects) const {
}

void TdxBarPainter::CalcColorComboPartRects(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R, std::vector<TRect>& PartRects) const {
}

void TdxBarPainter::CalcComboPartRects(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R, std::vector<TRect>& PartRects) const {
}

void TdxBarPainter::CalcEditPartRects(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& ItemRect, std::vector<TRect>& PartRects) const {
}

void TdxBarPainter::CalcSpinEditPartRects(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, std::vector<TRect>& PartRects) const {
}

TRect TdxBarPainter::BarBorderSizes(TdxBar* Bar, TdxBarDockingStyle Style, bool WithSizeGrip) const {
  return {};
}

int TdxBarPainter::MenuIconAreaSize(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

int TdxBarPainter::HalfFontHeight(TdxBarItemControl* Control) const {
  return {};
}

int TdxBarPainter::DefaultTextSize(TcxCanvas* Canvas) const {
  return {};
}

TRect TdxBarPainter::CalcLargeGlyphRect(TdxBarItemControl* Control, TSize GlyphSize, const TRect& R, TdxBarGlyphLayout Layout, int PaintType, bool HasText) const {
  return {};
}

void TdxBarPainter::FillControlBackground(TdxBarItemControl* Control, HDC DC, bool Solid, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::FrameControlBackground(TdxBarItemControl* Control, HDC DC, bool Solid, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::FillDisabledShadow(TdxBarItemControl* Control, HDC DC, const TRect& R) const {
}

void TdxBarPainter::FillBarBackgroundRect(TdxBarItemControl* Control, TcxCanvas* Canvas, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawGlyph(TdxBarItemControl* Control, HDC DC, int PaintType, int ViewStructure, int ViewSize, bool NoIcon, bool Selected, bool Down, bool Pressed, bool DroppedDown, bool GrayGlyph, bool Split, const TRect& GlyphArea, const TRect& TextArea) const {
}

void TdxBarPainter::DrawGlyphInRect(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected, bool Down, bool Pressed, bool DroppedDown, bool GrayGlyph, bool Split, TCustomImageList* Images, TBitmap* Glyph, int ImageIndex, const TRect& GlyphRect, const TRect& Area) const {
}

void TdxBarPainter::DrawItemText(TdxBarItemControl* Control, HDC DC, UINT Flags, bool Flat, bool Clip, bool Vertical, bool Selected, bool Enabled, int Alignment, const TRect& R, const std::string& Text) const {
}

void TdxBarPainter::DrawSunkenFrame(HDC DC, TRect& R) const {
}

HBRUSH TdxBarPainter::ItemBackgroundBrush(TdxBarItemControl* Control, int PaintType, bool NoIcon, bool Selected, bool Down, bool Enabled) const {
  return nullptr;
}

bool TdxBarPainter::IsFlatAndNotWhiteFace() const {
  return {};
}

bool TdxBarPainter::GlyphAreaSolid(TdxBarItemControl* Control, bool Down, bool NoGlyph, bool Selected, bool Pressed) const {
  return {};
}

bool TdxBarPainter::UsesNativeItemBackground(TdxBarItemControl* Control) const {
  return {};
}

int TdxBarPainter::ItemTextSize(TdxBarItemControl* Control) const {
  return {};
}

int TdxBarPainter::FloatingFrameWidth() const {
  return {};
}

int TdxBarPainter::FloatingFrameHeight() const {
  return {};
}

int TdxBarPainter::DropDownArrowWidth(TdxBarManager* Manager) const {
  return {};
}

int TdxBarPainter::LargeDropDownArrowWidth(TdxBarManager* Manager) const {
  return {};
}

void TdxBarPainter::FillDockBackground(TdxDockControl* DockControl, HDC DC, TColor Color, HBRUSH Brush, const TRect& R, const TRect& OriginRect) const {
}

bool TdxBarPainter::FlatBarFlag(TCustomdxBarControl* BarControl) const {
  return {};
}

bool TdxBarPainter::FlatBarFlagDeep(TCustomdxBarControl* BarControl) const {
  return {};
}

HBRUSH TdxBarPainter::ManagerBarBrush(TdxBarManager* Manager) const {
  return nullptr;
}

void TdxBarPainter::DrawBarOnDockBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush, const TRect& ItemRect, const TRect& OriginRect) const {
}

void TdxBarPainter::DrawBarWallpaper(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush, const TRect& R, const TRect& OriginRect) const {
}

void TdxBarPainter::FillBarBorderArea(TCustomdxBarControl* BarControl, HDC DC) const {
}

HBRUSH TdxBarPainter::BarBrush(TCustomdxBarControl* BarControl) const {
  return nullptr;
}

HBRUSH TdxBarPainter::CheckerBrush(TCustomdxBarControl* BarControl) const {
  return nullptr;
}

HBRUSH TdxBarPainter::MenuBrush(TCustomdxBarControl* BarControl) const {
  return nullptr;
}

HBRUSH TdxBarPainter::SelectionBrush(TCustomdxBarControl* BarControl) const {
  return nullptr;
}

int TdxBarPainter::EditTextHeight(TCustomdxBarControl* BarControl, int TextHeight) const {
  return {};
}

TRect TdxBarPainter::UniformBorderRect() const {
  return {};
}

void TdxBarPainter::FillFloatingCaption(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
}

int TdxBarPainter::SmallCaptionHeight() const {
  return {};
}

TSize TdxBarPainter::CloseButtonSize() const {
  return {};
}

void TdxBarPainter::DrawBarBackground(TCustomdxBarControl* BarControl, HDC DC, TColor Color, HBRUSH Brush, const TRect& ItemRect, const TRect& OriginRect) const {
}

void TdxBarPainter::DrawBarSeparator(TCustomdxBarControl* BarControl, HDC DC, bool Horizontal, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawCloseButtonBackground(TCustomdxBarControl* BarControl, HDC DC, int State, const TRect& R) const {
}

void TdxBarPainter::DrawFloatingCaption(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& CaptionRect) const {
}

void TdxBarPainter::DrawMark(TCustomdxBarControl* BarControl, TcxCanvas* Canvas, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawBarSizeGrip(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::FillBarTopStrip(TCustomdxBarControl* BarControl, HDC DC, HBRUSH Brush, const TRect& R) const {
}

TRect TdxBarPainter::MarkRect(TCustomdxBarControl* BarControl) const {
  return {};
}

void TdxBarPainter::InvalidateMark(TCustomdxBarControl* BarControl) const {
}

void TdxBarPainter::FillBottomBarBackground(TCustomdxBarControl* BarControl, HDC DC, const TRect& R, TColor Color, HBRUSH Brush) const {
}

TSize TdxBarPainter::SizeGripSize(TdxBarManager* Manager) const {
  return {};
}

int TdxBarPainter::SeparatorTextIndent(TdxBarItemControlDrawParams* DrawParams) const {
  return {};
}

HBRUSH TdxBarPainter::ArrowAreaBrush(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  return nullptr;
}

bool TdxBarPainter::DrawsArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  return {};
}

bool TdxBarPainter::ArrowPartSunken(TdxBarButtonLikeControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::PressedOffset(bool Down, bool Pressed, TRect& R) const {
}

void TdxBarPainter::OffsetWhenDown(bool Down, TRect& R) const {
}

void TdxBarPainter::DrawButtonLike(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawButtonCaption(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::FillDropDownArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R, HBRUSH Brush) const {
}

void TdxBarPainter::DrawSplitArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawItemArrowPart(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

HBRUSH TdxBarPainter::ComboButtonBrush(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return nullptr;
}

void TdxBarPainter::DrawComboButton(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R, bool Pressed) const {
}

void TdxBarPainter::DrawDropDownListBorder(HDC DC, TColor Color, const TRect& R) const {
}

void TdxBarPainter::MenuTextMetrics(TcxCanvas* Canvas, int TextSize, int& ArrowWidth, int& MarkSize) const {
}

TRect TdxBarPainter::MenuBorderRect(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

int TdxBarPainter::DetachCaptionAreaSize(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

int TdxBarPainter::MenuLeftAreaWidth(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

int TdxBarPainter::MenuGlyphColumnWidth(TdxBarSubMenuControl* SubMenu) const {
  return {};
}

TRect TdxBarPainter::MenuItemTextRect(TdxBarItemControlDrawParams* DrawParams, const TRect& R) const {
  return {};
}

int TdxBarPainter::MenuCaptionOffset(TdxBarItemControlDrawParams* DrawParams) const {
  return {};
}

TRect TdxBarPainter::MenuSeparatorRect(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control, const TRect& ItemRect) const {
  return {};
}

void TdxBarPainter::FillMenuBackground(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, TColor Color, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawMenuBorder(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
}

void TdxBarPainter::DrawMenuFrame(TdxBarSubMenuControl* SubMenu, HDC DC, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawDetachCaption(TdxBarSubMenuControl* SubMenu, HDC DC, const TRect& R) const {
}

void TdxBarPainter::DrawMenuSeparator(TdxBarSubMenuControl* SubMenu, TdxBarItemControl* Control, const TRect& R, TcxCanvas* Canvas) const {
}

void TdxBarPainter::DrawSeparatorLine(TcxCanvas* Canvas, const TRect& R) const {
}

void TdxBarPainter::MenuBackgroundBrush(TdxBarSubMenuControl* SubMenu, HBRUSH& Brush) const {
}

HBRUSH TdxBarPainter::MenuOwnBrush(TdxBarSubMenuControl* SubMenu) const {
  return nullptr;
}

void TdxBarPainter::DrawMenuBackgroundPart(TdxBarSubMenuControl* SubMenu, TcxCanvas* Canvas, const TRect& Area, const TRect& Excluded) const {
}

void TdxBarPainter::FillItemBackgroundWithBitmap(TdxBarItemControl* Control, TcxCanvas* Canvas, TColor Color, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawSeparatorOnCanvas(TCustomdxBarControl* BarControl, TcxCanvas* Canvas, bool Horizontal, HBRUSH Brush, const TRect& R) const {
}

void TdxBarPainter::DrawEditValue(TdxBarItem* EditItem, TdxBarItemLink* Link, const TRect& R, TcxCanvas* Canvas) const {
}

void TdxBarPainter::ApplyLookAndFeel(TdxBarManager* Manager, TcxLookAndFeel* LookAndFeel) const {
}

TColor TdxBarPainter::EditBackgroundColor(TdxBarItemControl* EditControl) const {
  return {};
}

TColor TdxBarPainter::EditDisabledBackgroundColor(TdxBarItemControl* EditControl) const {
  return {};
}

TColor TdxBarPainter::EditColor(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return {};
}

TColor TdxBarPainter::EditTextColorEnabled() const {
  return {};
}

TColor TdxBarPainter::EditTextColorDisabled() const {
  return {};
}

TColor TdxBarPainter::EditTextColor(TdxBarItemControl* EditControl) const {
  return {};
}

void TdxBarPainter::EditColors(TdxBarItemControl* EditControl, TColor& TextColor, TColor& BackgroundColor) const {
}

bool TdxBarPainter::EditDrawsSelected(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::DrawComboListItemDefault(TdxBarItem* Item, TcxCanvas* Canvas, const TRect& R, int Index) const {
}

void TdxBarPainter::DrawEdit(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::FillEditBackground(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawEditBorder(TdxBarEditLikeControlDrawParams* DrawParams, TRect& R) const {
}

void TdxBarPainter::DrawEditCaption(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawEditSelectedInMenu(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawEditGlyph(TdxBarEditLikeControlDrawParams* DrawParams, const TRect& R) const {
}

bool TdxBarPainter::EditCaptionSelected(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return {};
}

bool TdxBarPainter::EditCaptionNonRecent(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::DrawEditText(TdxBarItemControl* EditControl, TcxCanvas* Canvas, const TRect& R) const {
}

TRect TdxBarPainter::EditCaptionMargins(TdxBarEditLikeControlDrawParams* DrawParams, int Part) const {
  return {};
}

int TdxBarPainter::EditGlyphIndent(TdxBarEditLikeControlDrawParams* DrawParams) const {
  return {};
}

HBRUSH TdxBarPainter::EditBarBrush(TdxBarItemControl* Control) const {
  return nullptr;
}

void TdxBarPainter::SelectAllEditText(TdxBarItemControl* EditControl, HWND EditWindow, bool Notify) const {
}

bool TdxBarPainter::HasColorBox(TdxBarColorComboControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::AdjustColorComboRect(TdxBarColorComboControlDrawParams* DrawParams, TRect& R) const {
}

void TdxBarPainter::DrawEllipsisButton(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawColorBoxFrame(TdxBarColorComboControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::CalcDropDownResizeBar(TRect& R, TRect& GripRect, bool Resizable, TcxCorner& Corner, TRect& CloseButtonRect) const {
}

void TdxBarPainter::DrawDropDownResizeBar(HWND Window, bool Resizable, TcxCorner Corner, const TRect& GripRect, const TRect& CloseButtonRect, bool Tracking, int CloseState) const {
}

int TdxBarPainter::DropDownNonClientHeight() const {
  return {};
}

void TdxBarPainter::DrawPushButton(const std::string& Text, HDC DC, bool Pressed, int Offset, const TRect& R) const {
}

TPoint TdxBarPainter::SpinArrowPosition(TdxBarSpinEditDrawParams* DrawParams, const TRect& ButtonRect, TcxArrowDirection Direction) const {
  return {};
}

void TdxBarPainter::AdjustSpinEditRect(TdxBarSpinEditDrawParams* DrawParams, TRect& R) const {
}

TSize TdxBarPainter::SpinButtonSizes(int Height) const {
  return {};
}

TRect TdxBarPainter::CalcSpinButtonRect(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, int Button) const {
  return {};
}

int TdxBarPainter::SpinButtonsWidth(int PaintType, const TRect& R) const {
  return {};
}

int TdxBarPainter::SpinButtonState(TdxBarSpinEditDrawParams* DrawParams, int Button) const {
  return {};
}

void TdxBarPainter::DrawSpinButton(TdxBarSpinEditDrawParams* DrawParams, const TRect& R, int Button) const {
}

void TdxBarPainter::FillSpinEditBackground(TdxBarSpinEditDrawParams* DrawParams, const TRect& R) const {
}

TColor TdxBarPainter::ProgressBarDefaultColor() const {
  return {};
}

void TdxBarPainter::DrawProgressBar(TdxBarProgressControlDrawParams* DrawParams, const TRect& R, TColor Color) const {
}

void TdxBarPainter::FillProgressBackground(TdxBarProgressControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawProgressChunks(TdxBarProgressControlDrawParams* DrawParams, const TRect& R, HBRUSH Brush) const {
}

void TdxBarPainter::FillProgressRect(TdxBarProgressControlDrawParams* DrawParams, const TRect& R, HBRUSH Brush) const {
}

HBRUSH TdxBarPainter::InPlaceSubItemHotBrush() const {
  return nullptr;
}

int TdxBarPainter::InPlaceSubItemTextSize(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const {
  return {};
}

bool TdxBarPainter::InPlaceSubItemSelected(TdxBarInPlaceSubItemControlDrawParams* DrawParams) const {
  return {};
}

void TdxBarPainter::DrawInPlaceSubItemArrow(TdxBarInPlaceSubItemControlDrawParams* DrawParams, TcxArrowDirection Direction, const TRect& R) const {
}

void TdxBarPainter::DrawInPlaceSubItemBackground(TdxBarInPlaceSubItemControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawInPlaceSubItem(TdxBarInPlaceSubItemControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawStaticBackground(TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawStaticBorder(TdxBarStaticLikeControlDrawParams* DrawParams, TRect& R) const {
}

void TdxBarPainter::DrawStaticContent(TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawStatic(TdxBarStaticLikeControlDrawParams* DrawParams, const TRect& R) const {
}

bool TdxBarPainter::StaticHasOwnColor(TdxBarStaticLikeControlDrawParams* DrawParams) const {
  return {};
}

TRect TdxBarPainter::StaticBorderOffsets(TdxBarStaticBorderStyle Style) const {
  return {};
}

void TdxBarPainter::DrawSeparatorCaption(TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawSeparatorItem(TdxBarSeparatorControlDrawParams* DrawParams, const TRect& R) const {
}

TColor TdxBarPainter::ScreenTipDescriptionColor() const {
  return {};
}

TColor TdxBarPainter::ScreenTipTitleColor() const {
  return {};
}

int TdxBarPainter::ScreenTipFooterLineSize() const {
  return {};
}

void TdxBarPainter::DrawScreenTipBackground(TdxScreenTipViewInfo* ViewInfo, const TRect& R) const {
}

void TdxBarPainter::DrawScreenTipFrame(TcxCanvas* Canvas, const TRect& R) const {
}

void TdxBarPainter::DrawItemGlyph(TdxBarItemControl* Control, HDC DC, int PaintType, bool NoIcon, bool Selected, bool Down, bool Pressed, bool DroppedDown, bool GrayGlyph, bool Split, const TRect& TextRect, const TRect& GlyphRect) const {
}

void TdxBarPainter::DrawMenuButton(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawButtonCaptionText(TdxBarButtonLikeControlDrawParams* DrawParams, const TRect& R) const {
}

void TdxBarPainter::DrawWrappedCaption(TdxBarButtonLikeControlDrawParams* DrawParams, const std::string& Text, int LineLimit, UINT Flags, const TRect& R) const {
}

void RegisterStandardBarPainters() {
  RegisterBarPainterClass(bmsStandard, [] { return new TdxBarStandardPainter(); });
  RegisterBarPainterClass(bmsEnhanced, [] { return new TdxBarEnhancedPainter(); });
}
