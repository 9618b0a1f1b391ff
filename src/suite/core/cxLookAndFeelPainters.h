#pragma once
// The look-and-feel painters: the drawing vocabulary every suite control draws its elements
// through, the Standard and Flat painters, the registry that owns one painter of each kind and
// the resources the painters share (indicator images, scroll-bar patterns, check-box size).

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Graphics.h"
#include "platform/gui/ImgList.h"
#include "platform/rtl/Classes.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxOffice11.h"
#include "suite/core/dxUxTheme.h"

enum TcxElementState : uint8_t { esDefault, esNormal, esHot, esPressed, esDisabled };
enum TcxArrowDirection : uint8_t { adUp, adDown, adLeft, adRight };
enum TcxScrollPart : uint8_t { spNone, spLineBack, spLineForward, spThumb, spPageBack, spPageForward };
enum TcxPainterStyle : uint8_t { psFlat, psStandard, psUltraFlat, psNative, psOffice11, psSkin };
enum TcxCheckBoxState : uint8_t { cbsUnchecked, cbsChecked, cbsGrayed };
enum TcxContainerBorderStyle : uint8_t {
  cbsNone, cbsSingle, cbsThick, cbsFlat, cbs3D, cbsUltraFlat, cbsOffice11
};
enum TcxHorzAlign : uint8_t { haLeft, haRight, haCenter };
enum TcxVertAlign : uint8_t { vaTop, vaBottom, vaCenter };
// Corners of a popup window or size grip.
enum TcxCorner : uint8_t { coTopLeft, coTopRight, coBottomLeft, coBottomRight };

// Answers True when it painted the cell's background itself.
using TcxCustomDrawBackground = std::function<bool(TcxCanvas*, const TRect&)>;

class TcxCustomLookAndFeelPainter : public TPersistent {
 public:
  // Identity and general colours.
  virtual TColor AccentTextColor() const;
  virtual void FillBackground(TcxCanvas* Canvas, const TRect& R, bool Transparent, TColor Color,
                              TBitmap* Bitmap) const;
  virtual void DrawDropDownArrow(TcxCanvas* Canvas, const TRect& R, TColor Color) const;
  virtual void DrawCellContent(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect, TcxElementState State,
                               TcxHorzAlign AlignHorz, TcxVertAlign AlignVert, bool MultiLine,
                               bool ShowEndEllipsis, const std::string& Text, TFont* Font, TColor TextColor,
                               TColor Color, const TcxCustomDrawBackground& OnCustomDraw, bool Flat) const;
  virtual void DrawFooterPanel(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders) const;
  virtual void DrawNavButtonFace(TcxCanvas* Canvas, const TRect& R, const TRect& ArrowRect, bool IsNext,
                                 TcxElementState State) const;
  virtual TRect FooterCellContentBounds(const TRect& R) const;
  virtual TRect FooterCellTextBounds(const TRect& R) const;
  virtual TRect SeparatorBounds(const TRect& R, int Thickness, bool Horizontal) const;
  virtual int BlankMetric1() const { return 0; }
  virtual int BlankMetric2() const { return 0; }
  virtual int BlankMetric3() const { return 0; }
  virtual std::string KindName() const { return {}; }
  virtual TcxPainterStyle StyleKind() const { return psStandard; }
  virtual bool ThemedLookFlag() const { return false; }
  virtual TColor WindowColor() const { return clWindow; }
  virtual TColor AltWindowColor() const { return WindowColor(); }
  virtual TColor CellWindowColor() const { return WindowColor(); }
  virtual TColor WindowTextColor() const { return clWindowText; }
  virtual TColor ContentColorFor(bool Flag) const { return ContentColor(Flag ? esNormal : esDefault); }
  virtual TColor ContentColor(TcxElementState) const { return clDefault; }
  virtual TColor ContentTextColorFor(bool Flag) const { return ContentTextColor(Flag ? esNormal : esDefault); }
  // The bar customization form reads clDefault as clWindow and clWindowText.
  virtual TColor ContentTextColor(TcxElementState) const { return clDefault; }

  // The default colours of data views; only the size grip's fill (21) is read here.
  virtual TColor ViewColor1() const { return clBtnShadow; }
  virtual TColor ViewColor2() const { return clBtnHighlight; }
  virtual TColor ViewColor3() const { return clBtnText; }
  virtual TColor ViewColor4() const { return clBtnFace; }
  virtual TColor ViewColor5() const { return clBtnText; }
  virtual TColor ViewColor6() const { return clBtnFace; }
  virtual TColor ViewColor7() const { return clBtnShadow; }
  virtual TColor ViewColor8() const { return clBtnShadow; }
  virtual TColor ViewColor9() const { return clBtnFace; }
  virtual TColor ViewColor10() const { return clBtnFace; }
  virtual TColor ViewColor11() const { return clBtnText; }
  virtual TColor ViewColor12() const { return clBtnShadow; }
  virtual TColor ViewColor13() const { return clBtnFace; }
  virtual TColor ViewColor14() const { return clBtnFace; }
  virtual TColor ViewColor15() const { return clBtnText; }
  virtual TColor ViewColor16() const { return TColor(0xFF0000); }
  virtual TColor ViewColor17() const { return clBtnFace; }
  virtual TColor ViewColor18() const { return clBtnText; }
  virtual TColor ViewColor19() const { return TColor(0xFF0000); }
  virtual TColor ViewColor20() const { return ViewColor7(); }
  virtual TColor ViewColor21() const { return clBtnFace; }
  virtual TColor ViewColor22() const { return ViewColor27(); }
  virtual TColor ViewColor23() const { return ViewColor14(); }
  virtual TColor ViewColor24() const { return clDefault; }
  virtual TColor ViewColor25() const { return ViewColor14(); }
  virtual TColor ViewColor26() const { return ViewColor15(); }
  virtual TColor ViewColor27() const { return TColor(0); }
  virtual TColor ViewColor28() const;
  virtual TColor ViewColor29() const { return clBtnFace; }
  virtual TColor ViewColor30(bool Accent) const { return Accent ? AccentTextColor() : ViewColor15(); }
  virtual TColor ViewColor31() const { return TColor(0x0000FF); }
  virtual TColor ViewColor32() const { return clGrayText; }
  virtual TColor ViewColor33() const { return clHighlight; }
  virtual TColor ViewColor34() const { return clHighlightText; }
  virtual TColor ViewColor35() const { return clBtnShadow; }
  virtual TColor ViewColor36() const { return clWindow; }
  virtual TColor ViewColor37() const { return clWindowText; }
  virtual TColor ViewColor38() const { return TColor(0x000080); }
  virtual TColor ViewColor39() const { return TColor(0x800000); }
  virtual TColor ViewColor40() const { return clWindow; }
  virtual TColor ViewColor41() const { return clWindowText; }
  virtual TColor ViewColor42() const { return TColor(0x9D9DA1); }
  virtual TColor ViewColor43() const { return clBtnFace; }
  virtual TColor ViewColor44() const { return clBtnFace; }
  virtual TColor ViewColor45() const { return ViewColor14(); }
  virtual TColor ViewColor46() const { return ViewColor15(); }
  virtual TColor ViewColor47() const { return TColor(0xD5FFFF); }
  virtual TColor ViewColor48() const { return ViewColor51(); }
  virtual TColor ViewColor49() const { return clWindowText; }
  virtual TColor ViewColor50() const { return clHighlight; }
  virtual TColor ViewColor51() const { return clHighlightText; }
  virtual TColor ViewColor52() const { return clBtnFace; }
  virtual TColor ViewColor53() const { return clBtnFace; }
  virtual TColor ViewColor54() const { return clBtnText; }
  virtual TColor ViewColor55() const { return clWindow; }
  virtual TColor ViewColor56() const { return clBtnFace; }
  virtual TColor ViewColor57() const { return TColor(0xFFFFFF); }
  virtual TColor ViewColor58() const { return TColor(0); }
  virtual TColor ViewColor59() const { return clBtnFace; }
  virtual TColor ViewColor60() const { return clBtnText; }
  virtual TColor ViewColor61() const { return TColor(0xFFFFFF); }
  virtual TColor ViewColor62() const { return TColor(0); }
  virtual TColor ViewColor63() const { return TColor(0); }
  virtual TColor ViewColor64() const { return TColor(0); }
  virtual TColor ViewColor65() const { return TColor(0xCFCFCF); }
  virtual TColor ViewColor66() const { return TColor(0xFFFFFF); }
  virtual TColor ViewColor67() const { return clBtnShadow; }
  virtual TColor ViewColor68() const { return TColor(0xF0CAA6); }
  virtual TColor ViewColor69() const { return TColor(0x800000); }
  virtual TColor ViewColor70() const { return clBtnShadow; }
  virtual TColor ViewColor71() const { return clBtnShadow; }
  virtual TColor ViewColor72(bool Highlighted) const { return Highlighted ? clHighlight : clBtnShadow; }
  virtual TColor ViewColor73(bool Highlighted) const { return Highlighted ? clHighlightText : clBtnText; }

  // Arrows.
  virtual void PaintArrow(TcxCanvas* Canvas, const TRect& R, TcxArrowDirection Direction, TColor Color) const;
  virtual void DrawArrowButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                               TcxArrowDirection Direction, bool Framed) const;
  virtual void DrawArrowButtonFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const;
  virtual void DrawScrollArrow(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                               TcxArrowDirection Direction) const;

  // Control borders and separators.
  virtual int ControlBorderSize() const { return 0; }
  virtual int SeparatorThickness() const { return ControlBorderSize(); }
  virtual void DrawControlBorder(TcxCanvas*, const TRect&) const {}
  virtual void DrawContainerFrame(TcxCanvas* Canvas, const TRect& R, TcxContainerBorderStyle BorderStyle,
                                  int Width, TColor Color, TcxBorders Borders) const;
  virtual void DrawSeparator(TcxCanvas* Canvas, const TRect& R, bool Horizontal) const;
  virtual TRect GroupButtonBounds(const TRect& R, int /*ButtonCount*/, int /*ButtonIndex*/) const { return R; }

  // Buttons.
  virtual int ButtonBorderWidth(TcxElementState) const { return 0; }
  virtual TColor ButtonFaceColor(TcxElementState) const { return clBtnFace; }
  virtual TRect ButtonFocusBounds(TcxCanvas* Canvas, const TRect& R) const;
  // Left, top, right and bottom widths of a button in a row.
  virtual TRect ButtonGroupBorderWidths(int ButtonCount, int ButtonIndex) const;
  virtual int ButtonCaptionIndent() const { return 0; }
  virtual int PressedCaptionShift() const { return 0; }
  virtual TColor ButtonGlyphColor(TcxElementState State, TColor DefaultColor = clDefault) const;
  virtual TcxElementState ButtonGlyphState(TcxElementState State) const { return State; }
  virtual void PaintButton(TcxCanvas* Canvas, const TRect& R, const std::string& Caption, TcxElementState State,
                           bool DrawFrame = true, TColor Color = clDefault, TColor TextColor = clDefault,
                           bool WordWrap = false, bool ToolbarStyle = false) const;
  virtual void PaintPlainButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State, int ButtonCount,
                                int ButtonIndex, TColor Color = clDefault) const;
  virtual void PaintButtonFrame(TcxCanvas*, const TRect&, TcxElementState) const {}
  virtual void PaintButtonOutline(TcxCanvas*, const TRect&, bool /*Pressed*/, bool /*Hot*/) const {}

  // Expand buttons.
  virtual void PaintExpandButton(TcxCanvas*, const TRect&, bool /*Expanded*/, TColor /*Color*/) const {}
  virtual void PaintRotatedGroupButton(TcxCanvas* Canvas, const TRect& R, TcxRotationAngle Rotation,
                                       bool Expanded, TcxElementState State) const;
  virtual bool ExpandButtonBeforeContent() const { return true; }
  virtual void PaintGroupExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                      TcxElementState State) const;
  virtual void PaintSmallExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded, TColor BorderColor,
                                      TColor Color) const;
  virtual int ExpandButtonExtent() const { return 0; }
  virtual int GroupExpandButtonExtent() const { return 15; }
  virtual bool HotTracksButtons() const { return false; }
  virtual bool HitsGroupExpandButton(const TRect& R, const TPoint& P) const { return R.Contains(P); }
  virtual int SmallExpandButtonExtent() const { return 9; }

  // Check boxes and radio buttons.
  virtual int CheckFrameWidth() const { return 2; }
  virtual TColor CheckFaceColor(TcxElementState State) const;
  virtual TSize CheckBoxExtent() const;
  virtual void PaintCheckMark(TcxCanvas* Canvas, const TRect& R, TcxElementState State, bool Checked,
                              TColor Color) const;
  virtual void PaintCheckFrame(TcxCanvas*, const TRect&, TcxElementState) const {}
  virtual void PaintCheckBoxChecked(TcxCanvas* Canvas, const TRect& R, TcxElementState State, bool Checked) const {
    PaintCheckBox(Canvas, R, State, Checked ? cbsChecked : cbsUnchecked);
  }
  virtual void PaintCheckBox(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                             TcxCheckBoxState CheckState) const;
  virtual void PaintRadioButton(TcxCanvas* Canvas, int X, int Y, TcxElementState State, bool Checked,
                                bool Highlighted, TColor BackgroundColor = clDefault, bool Focused = false) const;
  virtual TColor RadioFaceColor(TcxElementState State) const;
  virtual TSize RadioButtonExtent() const;
  virtual void PaintEdgeLine(TcxCanvas* Canvas, const TRect& R, TColor DarkColor, TColor LightColor,
                             bool Vertical) const;
  virtual int EdgeLineWidth() const { return 2; }

  // Headers. Neighbors uses the border bits: a neighbour on that side.
  virtual void PaintHeader(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect, TcxBorders Neighbors,
                           TcxBorders Borders, TcxElementState State, TcxHorzAlign AlignHorz,
                           TcxVertAlign AlignVert, bool MultiLine, bool ShowEndEllipsis, const std::string& Text,
                           TFont* Font, TColor TextColor, TColor Color,
                           const TcxCustomDrawBackground& OnCustomDraw = {}, bool IsLast = false,
                           bool IsGroup = false) const;
  virtual void PaintHeaderItem(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect, TcxBorders Neighbors,
                               TcxBorders Borders, TcxElementState State, TcxHorzAlign AlignHorz,
                               TcxVertAlign AlignVert, bool MultiLine, bool ShowEndEllipsis,
                               const std::string& Text, TFont* Font, TColor TextColor, TColor Color,
                               const TcxCustomDrawBackground& OnCustomDraw = {}) const;
  virtual void PaintHeaderFrame(TcxCanvas*, const TRect&, TcxBorders /*Neighbors*/, TcxBorders /*Borders*/) const {}
  virtual void PaintHeaderPressedMark(TcxCanvas* Canvas, const TRect& R) const { Canvas->InvertRect(R); }
  virtual void PaintHeaderSection(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect, TcxBorders Neighbors,
                                  TcxBorders Borders, TcxElementState State, TcxHorzAlign AlignHorz,
                                  TcxVertAlign AlignVert, bool MultiLine, bool ShowEndEllipsis,
                                  const std::string& Text, TFont* Font, TColor TextColor, TColor Color) const;
  virtual void PaintHeaderSectionFrame(TcxCanvas*, const TRect&, TcxBorders /*Borders*/, TcxElementState) const {}
  virtual void PaintHeaderSectionContent(TcxCanvas* Canvas, const TRect& R, const TRect& Bounds,
                                         TcxElementState State, TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
                                         bool MultiLine, bool ShowEndEllipsis, const std::string& Text,
                                         TFont* Font, TColor TextColor, TColor Color) const;
  virtual void PaintHeaderSectionText(TcxCanvas* Canvas, const TRect& TextBounds, TcxElementState State,
                                      TcxHorzAlign AlignHorz, TcxVertAlign AlignVert, bool MultiLine,
                                      bool ShowEndEllipsis, const std::string& Text, TFont* Font,
                                      TColor TextColor) const;
  virtual void PaintHeaderDivider(TcxCanvas* Canvas, const TRect& Bounds, int IndentSize, TColor Color,
                                  const TcxViewParams& ViewParams) const;
  virtual void PaintSortMark(TcxCanvas*, const TRect&, bool /*Ascending*/) const {}
  virtual TcxBorders HeaderFrameSides(TcxBorders) const { return cxBordersAll; }
  virtual int HeaderFrameWidth() const { return 0; }
  virtual TRect HeaderOuterBounds(const TRect& R, TcxBorders Neighbors, TcxBorders Borders) const;
  virtual TRect HeaderInnerBounds(const TRect& R, TcxBorders Borders) const;
  virtual bool HeaderOptionFlag() const { return true; }
  virtual int HeaderHeightFor(int TextHeight) const { return 2 * HeaderFrameWidth() + TextHeight + 4; }
  virtual int HeaderSectionFrameWidth(TcxElementState) const { return 1; }
  virtual TRect HeaderSectionTextBounds(const TRect& Bounds, TcxElementState State) const;
  virtual TRect HeaderSectionContentBounds(const TRect& R, TcxElementState State) const;
  virtual int HeaderWidthFor(TcxCanvas* Canvas, TcxBorders Borders, const std::string& Text, TFont* Font) const;
  virtual bool HeaderGradientFlag() const { return false; }
  virtual TSize SortMarkAreaExtent() const { return {16, SortMarkExtent().cy}; }
  virtual TSize SortMarkExtent() const { return {0, 0}; }

  // Group rows.
  virtual void FillGroupBackground(TcxCanvas* Canvas, const TRect& R, bool Transparent, TColor Color,
                                   TBitmap* Bitmap) const {
    FillBackground(Canvas, R, Transparent, Color, Bitmap);
  }
  virtual TColor GroupPanelColor(bool Flag) const;
  virtual TColor GroupPanelColorB() const;
  virtual TColor GroupPanelColorC() const;
  virtual bool GroupOptionFlag() const { return HeaderOptionFlag(); }
  virtual TColor GroupColorA() const { return ViewColor12(); }
  virtual TColor GroupColorB() const { return ViewColor13(); }
  virtual void PaintGroupCaptionFill(TcxCanvas* Canvas, const TRect& R, TcxElementState State, bool Flag) const;
  virtual void PaintGroupRow(TcxCanvas* Canvas, const TRect& R, bool Selected, TcxElementState State) const;
  virtual void PaintGroupFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State, TcxBorders Borders) const;
  virtual void PaintGroupFrameFilled(TcxCanvas* Canvas, const TRect& R, bool Flag, TcxElementState State,
                                     TcxBorders Borders) const;
  virtual void PaintGroupExpandGlyph(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                     TcxElementState State) const {
    PaintGroupExpandButton(Canvas, R, Expanded, State);
  }
  virtual TRect GroupMarginsA(TcxElementState) const { return {}; }
  virtual TRect GroupMarginsB(TcxElementState) const { return {}; }
  virtual TcxBorders GroupFrameSides() const { return cxBordersAll; }

  // Footers.
  virtual int FooterFrameWidth() const { return 0; }
  virtual int FooterCellFrameWidth() const { return 0; }
  virtual int FooterCellSpacing() const { return 0; }
  virtual bool FooterCellsBeforeFrame() const { return true; }
  virtual TColor FooterLineColor() const { return clBtnShadow; }
  virtual int FooterLineHeight() const { return 1; }
  virtual void PaintFooterCell(TcxCanvas* Canvas, const TRect& R, TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
                               bool MultiLine, const std::string& Text, TFont* Font, TColor TextColor, TColor Color,
                               const TcxCustomDrawBackground& OnCustomDraw = {}) const;
  virtual void PaintFooterCellContent(TcxCanvas* Canvas, const TRect& R, TcxHorzAlign AlignHorz,
                                      TcxVertAlign AlignVert, bool MultiLine, const std::string& Text, TFont* Font,
                                      TColor TextColor, TColor Color,
                                      const TcxCustomDrawBackground& OnCustomDraw = {}) const;
  virtual void PaintFooterFrame(TcxCanvas*, const TRect&) const {}
  virtual void PaintFooterCellFrame(TcxCanvas*, const TRect&) const {}
  virtual void PaintFooterBackground(TcxCanvas* Canvas, const TRect& R, const TcxViewParams& ViewParams) const;
  virtual void PaintFooterLine(TcxCanvas* Canvas, const TRect& R) const {
    Canvas->FillRectWithColor(R, FooterLineColor());
  }

  // Filter buttons.
  virtual void PaintFilterCheck(TcxCanvas* Canvas, const TRect& R, TcxElementState State, bool Checked) const {
    PaintCheckBoxChecked(Canvas, R, State, Checked);
  }
  virtual void PaintFilterCloseButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const;
  virtual void PaintFilterDropDownButton(TcxCanvas*, const TRect&, TcxElementState, bool /*Active*/) const {}
  virtual void FillFilterBackground(TcxCanvas* Canvas, const TRect& R, bool Transparent, TColor Color,
                                    TBitmap* Bitmap) const {
    FillBackground(Canvas, R, Transparent, Color, Bitmap);
  }
  virtual TSize FilterCheckExtent() const { return {13, 13}; }
  virtual TSize FilterCloseButtonExtent() const { return {16, 14}; }
  virtual TSize FilterDropDownButtonExtent() const { return {15, 0}; }

  // Popups, hints and screen tips.
  // The border of a popup window by style; R comes back as the content rectangle.
  virtual void PaintPopupFrame(TcxCanvas* Canvas, TRect& R, int FrameStyle, bool Flag) const;
  virtual void FillWindowContent(TcxCanvas* Canvas, const TRect& R) const {
    Canvas->FillRectWithColor(R, clBtnFace);
  }
  virtual int PopupStyleCodeA(int Index) const;
  virtual int PopupStyleCodeB(int Index) const;
  virtual bool PopupStyleFlag() const { return true; }
  virtual TColor HintFrameColor() const { return clDefault; }
  virtual void PaintHintBackground(TcxCanvas* Canvas, const TRect& R, TColor Color) const {
    Canvas->FillRectWithColor(R, Color == clDefault ? clInfoBk : Color);
  }
  virtual TColor TipDescriptionColor() const { return clDefault; }
  virtual TColor TipTitleColor() const { return clDefault; }
  virtual int TipFooterLineSize() const { return 3; }
  virtual void DrawTipBackground(TcxCanvas* Canvas, const TRect& R) const;
  virtual void DrawTipFrame(TcxCanvas* Canvas, const TRect& R) const;

  // Tabs; Side is the side of the strip the tabs stand on.
  virtual void PaintTab(TcxCanvas*, const TRect&, TcxBorder /*Side*/, TcxElementState, bool /*Vertical*/) const {}
  virtual void PaintTabFrame(TcxCanvas*, const TRect&, TcxBorder /*Side*/, TcxBorders /*Borders*/,
                             bool /*Vertical*/) const {}
  virtual void PaintTabStrip(TcxCanvas*, const TRect&, TcxBorders /*Borders*/, bool /*Vertical*/) const {}
  virtual bool PaintsTabs(bool /*Vertical*/) const { return false; }
  virtual bool HotTracksTabs(bool /*Vertical*/) const { return false; }
  virtual int TabFrameWidth(bool /*Vertical*/) const { return 0; }

  // Indicator column.
  virtual void PaintListMark(TcxCanvas* Canvas, const TRect& R, TColor Color) const;
  // Kind 0 draws nothing; 1 to 6 the indicator images.
  virtual void PaintIndicatorGlyph(TcxCanvas* Canvas, const TRect& R, int Kind) const;
  virtual void PaintIndicatorCell(TcxCanvas* Canvas, const TRect& R, int Kind) const;
  virtual void PaintIndicatorItem(TcxCanvas* Canvas, const TRect& R, int Kind) const;
  virtual bool IndicatorFlag() const { return true; }

  // Scroll bars and size grip.
  virtual int MinThumbLength(bool /*Horizontal*/) const { return 8; }
  virtual void PaintScrollBarBackground(TcxCanvas* Canvas, const TRect& R, bool Horizontal) const {
    PaintScrollBarPart(Canvas, Horizontal, R, spPageBack, esNormal);
  }
  virtual void PaintScrollBarPart(TcxCanvas*, bool /*Horizontal*/, const TRect&, TcxScrollPart,
                                  TcxElementState) const {}
  virtual TSize SizeGripExtent() const;
  virtual void PaintSizeGripGlyph(TcxCanvas* Canvas, const TRect& R) const;
  virtual void PaintSizeGrip(TcxCanvas* Canvas, const TRect& R, TColor BackgroundColor, TcxCorner Corner) const;
  virtual TSize PopupCloseButtonExtent() const { return {14, 15}; }
  virtual void PaintPopupCloseButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const {
    PaintFilterCloseButton(Canvas, R, State);
  }

  // Calendar, navigation buttons and progress.
  // The arrow and text areas of a navigation button of bounds R.
  virtual void LayoutNavButtons(const TRect& R, bool IsNext, TRect& ArrowRect, TRect& TextRect) const;
  // Arrows: 1 left, 2 right, 3 both.
  virtual void PaintMonthHeader(TcxCanvas* Canvas, const TRect& R, const std::string& Text, TcxBorders Neighbors,
                                const TcxViewParams& ViewParams, int Arrows, int ArrowOffset,
                                const TcxCustomDrawBackground& OnCustomDraw = {}) const;
  virtual void PaintCalendarFrame(TcxCanvas* Canvas, const TRect& R) const { DrawControlBorder(Canvas, R); }
  virtual void PaintProgressBar(TcxCanvas* Canvas, const TRect& Bounds, const TRect& ProgressRect,
                                const TcxViewParams& ViewParams, bool Framed) const;
  virtual void PaintNavButton(TcxCanvas* Canvas, const TRect& R, bool IsNext, TcxElementState State,
                              const std::string& Text, const TRect& TextRect, const TRect& ArrowRect) const;
  virtual void PaintNavButtonArrow(TcxCanvas* Canvas, const TRect& R, bool IsNext, TColor Color) const;
  virtual void PaintNavigatorButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const {
    PaintButton(Canvas, R, {}, State);
  }
  virtual void PaintSplitterFrame(TcxCanvas*, const TRect&, const TcxViewParams&, bool /*Horizontal*/) const {}
  virtual TRect ProgressBarMargins() const { return {2, 2, 2, 2}; }
  virtual TColor NavButtonTextColor(bool /*IsNext*/, TcxElementState State, TColor DefaultColor) const {
    return ButtonGlyphColor(State, DefaultColor);
  }
  // Borders are left, top, right and bottom margins around the arrow and text areas.
  virtual void NavButtonMetrics(bool IsNext, TRect& Borders, TSize& ArrowSize, bool& HasTextArea) const;
  virtual int ThinFrameWidth() const { return 1; }

  // Clock. Time is a day fraction (the date part is ignored).
  virtual void PaintClock(TcxCanvas* Canvas, const TRect& R, double Time, TColor BackgroundColor) const;

  // Edit buttons, containers, images and captions.
  virtual void PaintEditButton(TcxCanvas*, const TRect&, TcxElementState, int /*Kind*/) const {}
  virtual int EditButtonCaptionIndent() const { return 0; }
  virtual TSize EditButtonExtent() const { return {0, 0}; }
  virtual TColor EditButtonCaptionColor() const { return clDefault; }
  virtual TColor ContainerFrameColor(bool /*Highlighted*/) const { return clBtnText; }
  virtual int ContainerStyleCode(int Index) const;
  virtual void PaintContainerBackground(TcxCanvas* Canvas, TRect& R) const;
  virtual void PaintImage(TcxCanvas* Canvas, TCustomImageList* Images, int ImageIndex, TGraphic* Glyph,
                          const TRect& R, TcxElementState State, bool Flag = false) const;
  virtual TSize GlyphExtent() const { return {0, 0}; }
  virtual void PaintEditGlyphA(TcxCanvas*, const TRect&, TcxElementState) const {}
  virtual void PaintEditGlyphB(TcxCanvas*, const TRect&, TcxElementState) const {}
  // Caption text that shows inverted (or in the highlight colour) where it crosses the highlight
  // given by ClipRect.
  virtual void PaintCaptionText(TcxCanvas* Canvas, bool Vertical, bool UseTextColor, const std::string& Text,
                                const TRect& TextRect, bool Enabled, const TRect& ClipRect,
                                TColor TextColor) const;
  virtual TRect CaptionMargins() const { return {}; }
  virtual TColor CaptionTextColor() const { return CaptionColorFor(false); }
  virtual TColor CaptionColorFor(bool Flag) const { return Flag ? clDefault : clWindowText; }
  virtual void PaintCaptionFrameA(TcxCanvas*, const TRect&) const {}
  virtual void PaintCaptionFrameB(TcxCanvas*, const TRect&) const {}
  virtual void PaintCaptionFrameC(TcxCanvas*, const TRect&) const {}
  virtual void PaintRotatedGroupButtonAlias(TcxCanvas* Canvas, const TRect& R, TcxRotationAngle Rotation,
                                            bool Expanded, TcxElementState State) const {
    PaintRotatedGroupButton(Canvas, R, Rotation, Expanded, State);
  }

  // Group boxes and panels; CaptionPosition 0 top, 1 bottom, 2 left, 3 right, 4 none.
  virtual void PaintGroupBoxFrame(TcxCanvas*, const TRect&, bool /*Enabled*/, int /*CaptionPosition*/,
                                  TcxBorders) const {}
  virtual TRect GroupBoxFrameWidths(bool /*HasCaption*/, int /*CaptionPosition*/) const { return {}; }
  virtual TColor GroupBoxTextColor(bool Enabled) const { return Enabled ? clWindowText : clBtnShadow; }
  virtual int GroupBoxCaptionTail(int /*CaptionPosition*/) const { return 0; }
  virtual void PaintGroupBoxBackground(TcxCanvas* Canvas, TControl* /*Control*/, const TRect& R,
                                       TColor /*Color1*/, TColor /*Color2*/) const {
    PaintCaptionFrameA(Canvas, R);
  }
  virtual void PaintGroupBoxCaption(TcxCanvas*, const TRect&, int /*CaptionPosition*/) const {}
  virtual void PaintGroupBoxCaptionAlias(TcxCanvas* Canvas, const TRect& R, int /*CaptionPosition*/) const {
    PaintCaptionFrameB(Canvas, R);
  }
  virtual void FillPanel(TcxCanvas* Canvas, const TRect& R) const { Canvas->FillRectWithColor(R, clBtnFace); }
  virtual TRect PanelMargins() const { return {}; }
  virtual TColor PanelTextColor() const { return GroupBoxTextColor(true); }

  // Track bars; Shape 0 points up (or left when vertical), 1 down (or right), 2 is a rectangle.
  virtual void TrackBarThumbBounds(TcxCanvas*, TRect& R, bool /*Vertical*/, int /*Shape*/) const {
    --R.Right;
    --R.Bottom;
  }
  virtual void PaintTrackBarTrack(TcxCanvas* Canvas, const TRect& R, bool Vertical, TColor Color) const;
  virtual void PaintTrackBarTrackFrame(TcxCanvas*, const TRect&) const {}
  virtual void PaintTrackBarThumb(TcxCanvas* Canvas, const TRect& R, TcxElementState State, bool Vertical,
                                  int Shape, TColor Color) const;
  virtual void PaintThumbShapeFrame(TcxCanvas*, const std::vector<TPoint>& /*Light*/,
                                    const std::vector<TPoint>& /*Dark*/,
                                    const std::vector<TPoint>& /*Shadow*/) const {}
  virtual void PaintThumbRectFrame(TcxCanvas*, const TRect&) const {}
  virtual TSize TrackBarTickExtent() const { return {0, 0}; }
  virtual TColor TrackBarTickColor() const { return clDefault; }
  virtual int TrackBarTickOffset() const { return 0; }

  // Splitters.
  virtual TColor SplitterLightColor(bool /*Highlighted*/) const { return TColor(0xFFFFFF); }
  virtual TColor SplitterOuterColor(bool /*Highlighted*/) const { return clBtnShadow; }
  virtual void PaintSplitter(TcxCanvas* Canvas, const TRect& R, bool Highlighted, bool Flag,
                             bool Horizontal) const;
  virtual TSize SplitterExtent(bool Horizontal) const { return Horizontal ? TSize{17, 2} : TSize{2, 17}; }

  // Preview pages.
  virtual TColor PreviewPageColor() const { return clBtnFace; }
  virtual void PaintPreviewBackground(TcxCanvas* Canvas, const TRect& R) const {
    Canvas->FillRectWithColor(R, PreviewPageColor());
  }
  virtual TRect PreviewMargins() const { return {2, 2, 4, 4}; }
  virtual void PaintPreviewArea(TcxCanvas* Canvas, const TRect& R) const {
    Canvas->FillRectWithColor(R, clBtnShadow);
  }
  // FrameIndex 0 draws a black page frame, 1 a highlighted one.
  virtual void PaintPreviewPage(TcxCanvas* Canvas, const TRect& R, const TRect& ContentRect, int FrameIndex,
                                bool Selected) const;
  virtual int PreviewShadowAlpha(int Index) const;
  virtual TColor PreviewSelectedColor() const { return clBtnFace; }
  virtual void PaintTextPanel(TcxCanvas* Canvas, const TRect& R, const std::string& Text, TFont* Font,
                              TColor Color) const;

  // Shared helpers the painters reuse.
  void DrawSortMarkWith(TcxCanvas* Canvas, const TRect& R, TColor DarkColor, TColor LightColor,
                        bool Ascending) const;
  static void DrawExpandCross(TcxCanvas* Canvas, const TRect& R, bool Expanded, TColor Color);
  static void FillTriangle(TcxCanvas* Canvas, const TPoint* Points, TColor Color);
};

// The arrow triangle, the tip always second; ArrowSize 0 sizes it from the rectangle.
void ComputeArrowTriangle(const TRect& R, TPoint (&Points)[3], TcxArrowDirection Direction, bool Proportional,
                          int ArrowSize = 0);

// The resize bar of sizable popup windows; R comes in as the window bounds and goes out as the
// content rectangle. BarHeight 0 picks the height from the painter's extents.
void CalcPopupResizeBarLayout(const TcxCustomLookAndFeelPainter* Painter, TRect& R, TRect& BarRect,
                              TRect& GripRect, TRect& CloseButtonRect, TcxCorner Corner, const TRect& BorderWidths,
                              const TRect& CloseButtonMargins, int BarHeight, bool HasCloseButton, bool HasGrip);
void DrawPopupResizeBar(const TcxCustomLookAndFeelPainter* Painter, HWND Window, bool CloseHot, bool ClosePressed,
                        TcxCorner Corner, const TRect& CloseButtonRect, const TRect& GripRect, TColor BorderColor);

class TcxStandardLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
 public:
  std::string KindName() const override { return "Standard"; }
  TcxPainterStyle StyleKind() const override { return psStandard; }
  int ControlBorderSize() const override { return 2; }
  void DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const override;
  int ButtonBorderWidth(TcxElementState State) const override { return State == esDefault ? 3 : 2; }
  int ButtonCaptionIndent() const override { return 1; }
  int PressedCaptionShift() const override { return 1; }
  void PaintButtonFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  void PaintExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded, TColor Color) const override;
  void PaintGroupExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                              TcxElementState State) const override;
  int ExpandButtonExtent() const override { return 12; }
  void PaintCheckFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  void PaintHeaderFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Neighbors, TcxBorders Borders) const override;
  void PaintSortMark(TcxCanvas* Canvas, const TRect& R, bool Ascending) const override;
  int HeaderFrameWidth() const override { return 1; }
  int HeaderSectionFrameWidth(TcxElementState State) const override { return State == esPressed ? 1 : 2; }
  void PaintHeaderSectionFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders,
                               TcxElementState State) const override;
  void PaintFilterDropDownButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                                 bool Active) const override;
  void PaintTabFrame(TcxCanvas* Canvas, const TRect& R, TcxBorder Side, TcxBorders Borders,
                     bool Vertical) const override;
  void PaintTabStrip(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders, bool Vertical) const override;
  int TabFrameWidth(bool) const override { return 1; }
  TSize SortMarkExtent() const override { return {8, 7}; }
  int FooterFrameWidth() const override { return 1; }
  int FooterCellFrameWidth() const override { return 1; }
  int FooterCellSpacing() const override { return 1; }
  void PaintFooterFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintFooterCellFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R, TcxScrollPart Part,
                          TcxElementState State) const override;
  void PaintMonthHeader(TcxCanvas* Canvas, const TRect& R, const std::string& Text, TcxBorders Neighbors,
                        const TcxViewParams& ViewParams, int Arrows, int ArrowOffset,
                        const TcxCustomDrawBackground& OnCustomDraw = {}) const override;
  TColor ViewColor47() const override { return clWindow; }
  void PaintSplitterFrame(TcxCanvas* Canvas, const TRect& R, const TcxViewParams& ViewParams,
                          bool Horizontal) const override;
  void PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool Enabled, int CaptionPosition,
                          TcxBorders Borders) const override;
  void PaintTrackBarTrackFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintThumbShapeFrame(TcxCanvas* Canvas, const std::vector<TPoint>& Light, const std::vector<TPoint>& Dark,
                            const std::vector<TPoint>& Shadow) const override;
  void PaintThumbRectFrame(TcxCanvas* Canvas, const TRect& R) const override;

 protected:
  void PaintScrollButtonFrame(TcxCanvas* Canvas, const TRect& R, bool PressedArrow) const;
};

class TcxFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
 public:
  std::string KindName() const override { return "Flat"; }
  TcxPainterStyle StyleKind() const override { return psFlat; }
  int ControlBorderSize() const override { return 1; }
  int SeparatorThickness() const override { return 2; }
  void DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const override;
  int ButtonBorderWidth(TcxElementState State) const override { return State == esDefault ? 2 : 1; }
  int ButtonCaptionIndent() const override { return 1; }
  int PressedCaptionShift() const override { return 1; }
  void PaintButtonFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  void PaintExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded, TColor Color) const override;
  int ExpandButtonExtent() const override { return 11; }
  void PaintCheckFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  void PaintHeaderFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Neighbors, TcxBorders Borders) const override;
  void PaintSortMark(TcxCanvas* Canvas, const TRect& R, bool Ascending) const override;
  int HeaderFrameWidth() const override { return 1; }
  void PaintHeaderSectionFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders,
                               TcxElementState State) const override;
  void PaintFilterDropDownButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                                 bool Active) const override;
  void PaintTabFrame(TcxCanvas* Canvas, const TRect& R, TcxBorder Side, TcxBorders Borders,
                     bool Vertical) const override;
  void PaintTabStrip(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders, bool Vertical) const override;
  int TabFrameWidth(bool) const override { return 1; }
  TSize SortMarkExtent() const override { return {8, 7}; }
  int FooterFrameWidth() const override { return 1; }
  int FooterCellFrameWidth() const override { return 1; }
  int FooterCellSpacing() const override { return 1; }
  void PaintFooterFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintFooterCellFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R, TcxScrollPart Part,
                          TcxElementState State) const override;
  void PaintSplitterFrame(TcxCanvas* Canvas, const TRect& R, const TcxViewParams& ViewParams,
                          bool Horizontal) const override;
  void PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool Enabled, int CaptionPosition,
                          TcxBorders Borders) const override;
  void PaintTrackBarTrackFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintThumbShapeFrame(TcxCanvas* Canvas, const std::vector<TPoint>& Light, const std::vector<TPoint>& Dark,
                            const std::vector<TPoint>& Shadow) const override;
  void PaintThumbRectFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintContainerBackground(TcxCanvas* Canvas, TRect& R) const override;
  TColor SplitterOuterColor(bool Highlighted) const override { return Highlighted ? cl3DDkShadow : clBtnShadow; }
};

class TcxUltraFlatLookAndFeelPainter : public TcxCustomLookAndFeelPainter {
 public:
  std::string KindName() const override { return "UltraFlat"; }
  TcxPainterStyle StyleKind() const override { return psUltraFlat; }
  TColor ViewColor42() const override { return clBtnShadow; }
  int ControlBorderSize() const override { return 1; }
  void DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const override;
  void DrawSeparator(TcxCanvas* Canvas, const TRect& R, bool Horizontal) const override;
  int ButtonBorderWidth(TcxElementState State) const override { return State == esDefault ? 2 : 1; }
  TColor ButtonFaceColor(TcxElementState State) const override;
  TRect ButtonFocusBounds(TcxCanvas* Canvas, const TRect& R) const override;
  TRect ButtonGroupBorderWidths(int ButtonCount, int ButtonIndex) const override;
  int ButtonCaptionIndent() const override { return 2; }
  int PressedCaptionShift() const override { return 0; }
  TColor ButtonGlyphColor(TcxElementState State, TColor DefaultColor = clDefault) const override;
  TcxElementState ButtonGlyphState(TcxElementState) const override { return esNormal; }
  void PaintPlainButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State, int ButtonCount,
                        int ButtonIndex, TColor Color = clDefault) const override;
  void PaintButtonFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  void PaintButtonOutline(TcxCanvas* Canvas, const TRect& R, bool Pressed, bool Hot) const override;
  void PaintExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded, TColor Color) const override;
  int ExpandButtonExtent() const override { return 11; }
  bool HotTracksButtons() const override { return true; }
  void PaintCheckFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  TColor RadioFaceColor(TcxElementState State) const override;
  void PaintHeaderItem(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect, TcxBorders Neighbors,
                       TcxBorders Borders, TcxElementState State, TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
                       bool MultiLine, bool ShowEndEllipsis, const std::string& Text, TFont* Font,
                       TColor TextColor, TColor Color, const TcxCustomDrawBackground& OnCustomDraw = {}) const override;
  void PaintHeaderFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Neighbors, TcxBorders Sides) const override;
  void PaintHeaderSectionFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders,
                               TcxElementState State) const override;
  void PaintHeaderSectionContent(TcxCanvas* Canvas, const TRect& R, const TRect& Bounds, TcxElementState State,
                                 TcxHorzAlign AlignHorz, TcxVertAlign AlignVert, bool MultiLine,
                                 bool ShowEndEllipsis, const std::string& Text, TFont* Font, TColor TextColor,
                                 TColor Color) const override;
  void PaintSortMark(TcxCanvas* Canvas, const TRect& R, bool Ascending) const override;
  TcxBorders HeaderFrameSides(TcxBorders Neighbors) const override;
  int HeaderFrameWidth() const override { return 1; }
  TSize SortMarkExtent() const override { return {7, 8}; }
  TcxBorders GroupFrameSides() const override { return TcxBorders{bRight, bBottom}; }
  int FooterFrameWidth() const override { return 1; }
  int FooterCellFrameWidth() const override { return 1; }
  int FooterCellSpacing() const override { return 2; }
  void PaintFooterFrame(TcxCanvas* Canvas, const TRect& R) const override {
    DrawFooterPanel(Canvas, R, TcxBorders{bRight, bBottom});
  }
  void PaintFooterCellFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void DrawFooterPanel(TcxCanvas* Canvas, const TRect& R, TcxBorders Sides) const override;
  void PaintFilterDropDownButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                                 bool Active) const override;
  TSize FilterCloseButtonExtent() const override { return {16, 15}; }
  void PaintTabFrame(TcxCanvas* Canvas, const TRect& R, TcxBorder Side, TcxBorders Borders,
                     bool Vertical) const override;
  void PaintTabStrip(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders, bool Vertical) const override;
  int TabFrameWidth(bool) const override { return 1; }
  void PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R, TcxScrollPart Part,
                          TcxElementState State) const override;
  void DrawNavButtonFace(TcxCanvas* Canvas, const TRect& R, const TRect& ArrowRect, bool IsNext,
                         TcxElementState State) const override;
  void PaintNavigatorButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  void PaintSplitterFrame(TcxCanvas* Canvas, const TRect& R, const TcxViewParams& ViewParams,
                          bool Horizontal) const override;
  void PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool Enabled, int CaptionPosition,
                          TcxBorders Borders) const override;
  void PaintTrackBarTrackFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintThumbShapeFrame(TcxCanvas* Canvas, const std::vector<TPoint>& Light, const std::vector<TPoint>& Dark,
                            const std::vector<TPoint>& Shadow) const override;
  void PaintThumbRectFrame(TcxCanvas* Canvas, const TRect& R) const override;
  TColor SplitterOuterColor(bool Highlighted) const override { return Highlighted ? clHighlight : clBtnShadow; }
  TSize SplitterExtent(bool Horizontal) const override { return Horizontal ? TSize{17, 1} : TSize{1, 17}; }
  void PaintPreviewArea(TcxCanvas* Canvas, const TRect& R) const override;

  virtual TColor ButtonHotFrameColor(TcxElementState State) const {
    return State == esNormal ? clBtnShadow : clHighlight;
  }
  virtual TColor TabFaceColor() const { return clBtnShadow; }
  virtual TColor TabActiveColor() const { return clBtnText; }
  virtual TColor FrameHighlightColor() const { return clHighlight; }

 protected:
  // The colour of track-bar and thumb frames.
  virtual TColor TrackFrameColor() const { return clWindowText; }
};

// The Office 2003 look over the UltraFlat one: colours of the Office 2003 set, gradient headers
// and cells, and the native painter's scroll bars, navigator buttons and themed group boxes.
class TcxOffice11LookAndFeelPainter : public TcxUltraFlatLookAndFeelPainter {
 public:
  TColor AccentTextColor() const override { return clHighlightText; }
  void DrawCellContent(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect, TcxElementState State,
                       TcxHorzAlign AlignHorz, TcxVertAlign AlignVert, bool MultiLine, bool ShowEndEllipsis,
                       const std::string& Text, TFont* Font, TColor TextColor, TColor Color,
                       const TcxCustomDrawBackground& OnCustomDraw, bool Flat) const override;
  std::string KindName() const override { return "Office11"; }
  TcxPainterStyle StyleKind() const override { return psOffice11; }
  bool ThemedLookFlag() const override { return true; }
  // The data-view colours: 1 and 2 the separator pair, 4/29/59 the button face, 8 the border
  // colour, 9 the header gradient's first colour, 10 the button face, 33 the border highlight,
  // 42 the calendar frame, 43 the header light colour, 53 the header gradient's first colour.
  TColor ViewColor1() const override { return HeaderDarkColor(); }
  TColor ViewColor2() const override { return HeaderHighlightColor(); }
  TColor ViewColor4() const override { return Office11RoleColor(o11ButtonFace); }
  TColor ViewColor5() const override { return ViewColor15(); }
  TColor ViewColor8() const override { return Office11RoleColor(o11ControlBorder); }
  TColor ViewColor9() const override { return Office11RoleColor(o11HeaderGradientFirst); }
  TColor ViewColor10() const override { return Office11RoleColor(o11ButtonFace); }
  TColor ViewColor12() const override { return ViewColor8(); }
  TColor ViewColor14() const override { return HeaderMidColor(); }
  TColor ViewColor29() const override { return Office11RoleColor(o11ButtonFace); }
  TColor ViewColor33() const override { return Office11RoleColor(o11BorderHighlight); }
  TColor ViewColor34() const override { return clWindowText; }
  TColor ViewColor42() const override { return Office11RoleColor(o11CalendarFrame); }
  TColor ViewColor43() const override { return HeaderLightColor(); }
  TColor ViewColor53() const override { return Office11RoleColor(o11HeaderGradientFirst); }
  TColor ViewColor55() const override { return ViewColor53(); }
  TColor ViewColor59() const override { return Office11RoleColor(o11ButtonFace); }
  TColor ViewColor61() const override { return ViewColor43(); }
  void DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const override;
  void DrawSeparator(TcxCanvas* Canvas, const TRect& R, bool Horizontal) const override;
  TColor ButtonFaceColor(TcxElementState State) const override;
  TColor ButtonGlyphColor(TcxElementState State, TColor DefaultColor = clDefault) const override;
  void PaintButtonFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  void PaintExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded, TColor Color) const override;
  bool ExpandButtonBeforeContent() const override { return false; }
  void PaintSmallExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded, TColor BorderColor,
                              TColor Color) const override;
  int SmallExpandButtonExtent() const override { return ExpandButtonExtent(); }
  TColor CheckFaceColor(TcxElementState State) const override;
  TColor RadioFaceColor(TcxElementState State) const override;
  void PaintHeader(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect, TcxBorders Neighbors,
                   TcxBorders Borders, TcxElementState State, TcxHorzAlign AlignHorz, TcxVertAlign AlignVert,
                   bool MultiLine, bool ShowEndEllipsis, const std::string& Text, TFont* Font, TColor TextColor,
                   TColor Color, const TcxCustomDrawBackground& OnCustomDraw = {}, bool IsLast = false,
                   bool IsGroup = false) const override;
  void PaintHeaderFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Neighbors, TcxBorders Sides) const override;
  void PaintHeaderSection(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect, TcxBorders Neighbors,
                          TcxBorders Borders, TcxElementState State, TcxHorzAlign AlignHorz,
                          TcxVertAlign AlignVert, bool MultiLine, bool ShowEndEllipsis, const std::string& Text,
                          TFont* Font, TColor TextColor, TColor Color) const override;
  void PaintSortMark(TcxCanvas* Canvas, const TRect& R, bool Ascending) const override;
  TcxBorders HeaderFrameSides(TcxBorders) const override { return cxBordersAll; }
  bool HeaderGradientFlag() const override { return true; }
  void PaintGroupRow(TcxCanvas* Canvas, const TRect& R, bool Selected, TcxElementState State) const override;
  TColor FooterLineColor() const override { return HeaderDarkColor(); }
  void PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R, TcxScrollPart Part,
                          TcxElementState State) const override;
  void PaintSizeGripGlyph(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintMonthHeader(TcxCanvas* Canvas, const TRect& R, const std::string& Text, TcxBorders Neighbors,
                        const TcxViewParams& ViewParams, int Arrows, int ArrowOffset,
                        const TcxCustomDrawBackground& OnCustomDraw = {}) const override;
  void DrawNavButtonFace(TcxCanvas* Canvas, const TRect& R, const TRect& ArrowRect, bool IsNext,
                         TcxElementState State) const override;
  void PaintNavigatorButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  void PaintCalendarFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool Enabled, int CaptionPosition,
                          TcxBorders Borders) const override;
  TColor GroupBoxTextColor(bool Enabled) const override;
  void PaintGroupBoxBackground(TcxCanvas* Canvas, TControl* Control, const TRect& R, TColor Color1,
                               TColor Color2) const override;
  void PaintPreviewBackground(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintContainerBackground(TcxCanvas* Canvas, TRect& R) const override {
    Canvas->FillRectWithColor(R, ViewColor29());
  }
  TColor SplitterLightColor(bool) const override { return HeaderHighlightColor(); }
  TColor SplitterOuterColor(bool Highlighted) const override;
  TColor ButtonHotFrameColor(TcxElementState State) const override;
  TColor TabFaceColor() const override { return HeaderDarkColor(); }
  TColor FrameHighlightColor() const override;

  virtual TColor HeaderLightColor() const { return Office11RoleColor(o11HeaderLight); }
  virtual TColor HeaderDarkColor() const { return Office11RoleColor(o11SeparatorDark); }
  virtual TColor HeaderHighlightColor() const { return Office11RoleColor(o11SeparatorLight); }
  virtual TColor HeaderMidColor() const {
    return MixColors(Office11RoleColor(o11HeaderGradientFirst), HeaderLightColor(), 50);
  }

 protected:
  TColor TrackFrameColor() const override { return clBtnText; }
};

// Draws with the system's visual style and falls back to the Standard painter for every part
// the style cannot give (always, while visual styles are unavailable).
class TcxWinXPLookAndFeelPainter : public TcxStandardLookAndFeelPainter {
 public:
  void DrawNavButtonFace(TcxCanvas* Canvas, const TRect& R, const TRect& ArrowRect, bool IsNext,
                         TcxElementState State) const override;
  std::string KindName() const override { return "Native"; }
  TcxPainterStyle StyleKind() const override { return psNative; }
  bool ThemedLookFlag() const override;
  TColor ViewColor42() const override;
  TColor ViewColor47() const override { return TColor(0xD5FFFF); }

  void PaintArrow(TcxCanvas* Canvas, const TRect& R, TcxArrowDirection Direction,
                  TColor Color) const override {
    TcxCustomLookAndFeelPainter::PaintArrow(Canvas, R, Direction, Color);
  }
  void DrawArrowButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                       TcxArrowDirection Direction, bool Framed) const override;
  void DrawArrowButtonFrame(TcxCanvas* Canvas, const TRect& R,
                            TcxElementState State) const override;

  int ControlBorderSize() const override;
  void DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const override;
  void DrawSeparator(TcxCanvas* Canvas, const TRect& R, bool Horizontal) const override;
  TRect GroupButtonBounds(const TRect& R, int ButtonCount, int ButtonIndex) const override;

  int ButtonBorderWidth(TcxElementState State) const override;
  TColor ButtonFaceColor(TcxElementState State) const override;
  TRect ButtonFocusBounds(TcxCanvas* Canvas, const TRect& R) const override;
  TRect ButtonGroupBorderWidths(int ButtonCount, int ButtonIndex) const override;
  int ButtonCaptionIndent() const override { return 2; }
  int PressedCaptionShift() const override { return 0; }
  TColor ButtonGlyphColor(TcxElementState State, TColor DefaultColor = clDefault) const override;
  void PaintButton(TcxCanvas* Canvas, const TRect& R, const std::string& Caption,
                   TcxElementState State, bool DrawFrame = true, TColor Color = clDefault,
                   TColor TextColor = clDefault, bool WordWrap = false,
                   bool ToolbarStyle = false) const override;

  void PaintExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                         TColor Color) const override;
  bool ExpandButtonBeforeContent() const override { return false; }
  void PaintGroupExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                              TcxElementState State) const override;
  void PaintSmallExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded, TColor BorderColor,
                              TColor Color) const override;
  int ExpandButtonExtent() const override;
  int GroupExpandButtonExtent() const override;
  bool HotTracksButtons() const override { return true; }
  bool HitsGroupExpandButton(const TRect& R, const TPoint& P) const override;
  int SmallExpandButtonExtent() const override;

  int CheckFrameWidth() const override;
  TSize CheckBoxExtent() const override;
  void PaintCheckMark(TcxCanvas* Canvas, const TRect& R, TcxElementState State, bool Checked,
                      TColor Color) const override;
  void PaintCheckFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  void PaintRadioButton(TcxCanvas* Canvas, int X, int Y, TcxElementState State, bool Checked,
                        bool Highlighted, TColor BackgroundColor = clDefault,
                        bool Focused = false) const override;
  TSize RadioButtonExtent() const override;

  void PaintHeader(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect, TcxBorders Neighbors,
                   TcxBorders Borders, TcxElementState State, TcxHorzAlign AlignHorz,
                   TcxVertAlign AlignVert, bool MultiLine, bool ShowEndEllipsis,
                   const std::string& Text, TFont* Font, TColor TextColor, TColor Color,
                   const TcxCustomDrawBackground& OnCustomDraw = {}, bool IsLast = false,
                   bool IsGroup = false) const override;
  void PaintHeaderPressedMark(TcxCanvas*, const TRect&) const override {}
  void PaintHeaderSection(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect,
                          TcxBorders Neighbors, TcxBorders Borders, TcxElementState State,
                          TcxHorzAlign AlignHorz, TcxVertAlign AlignVert, bool MultiLine,
                          bool ShowEndEllipsis, const std::string& Text, TFont* Font,
                          TColor TextColor, TColor Color) const override;
  void PaintSortMark(TcxCanvas* Canvas, const TRect& R, bool Ascending) const override;
  int HeaderFrameWidth() const override;
  int HeaderSectionFrameWidth(TcxElementState State) const override;
  TRect HeaderSectionContentBounds(const TRect& R, TcxElementState State) const override;
  bool HeaderGradientFlag() const override { return true; }
  TSize SortMarkExtent() const override { return {7, 8}; }

  void PaintGroupRow(TcxCanvas* Canvas, const TRect& R, bool Selected,
                     TcxElementState State) const override;

  int FooterFrameWidth() const override;
  int FooterCellFrameWidth() const override;
  int FooterCellSpacing() const override;
  bool FooterCellsBeforeFrame() const override { return false; }
  void PaintFooterCell(TcxCanvas* Canvas, const TRect& R, TcxHorzAlign AlignHorz,
                       TcxVertAlign AlignVert, bool MultiLine, const std::string& Text, TFont* Font,
                       TColor TextColor, TColor Color,
                       const TcxCustomDrawBackground& OnCustomDraw = {}) const override;
  void PaintFooterFrame(TcxCanvas* Canvas, const TRect& R) const override;

  void PaintFilterCloseButton(TcxCanvas* Canvas, const TRect& R,
                              TcxElementState State) const override;
  void PaintFilterDropDownButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                                 bool Active) const override;
  TSize FilterCheckExtent() const override;
  TSize FilterCloseButtonExtent() const override;

  void PaintPopupFrame(TcxCanvas* Canvas, TRect& R, int FrameStyle, bool Flag) const override;
  int PopupStyleCodeA(int) const override { return 1; }
  int PopupStyleCodeB(int) const override { return 2; }
  TColor HintFrameColor() const override;
  void PaintHintBackground(TcxCanvas* Canvas, const TRect& R, TColor Color) const override;
  TColor TipDescriptionColor() const override;
  TColor TipTitleColor() const override;

  void PaintTab(TcxCanvas* Canvas, const TRect& R, TcxBorder Side, TcxElementState State,
                bool Vertical) const override;
  void PaintTabFrame(TcxCanvas* Canvas, const TRect& R, TcxBorder Side, TcxBorders Borders,
                     bool Vertical) const override;
  void PaintTabStrip(TcxCanvas* Canvas, const TRect& R, TcxBorders Borders,
                     bool Vertical) const override;
  bool PaintsTabs(bool Vertical) const override;
  bool HotTracksTabs(bool Vertical) const override;
  int TabFrameWidth(bool Vertical) const override;

  void PaintIndicatorCell(TcxCanvas* Canvas, const TRect& R, int Kind) const override;

  int MinThumbLength(bool Horizontal) const override;
  void PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R, TcxScrollPart Part,
                          TcxElementState State) const override;
  TSize SizeGripExtent() const override;
  void PaintSizeGripGlyph(TcxCanvas* Canvas, const TRect& R) const override;
  TSize PopupCloseButtonExtent() const override;

  void PaintMonthHeader(TcxCanvas* Canvas, const TRect& R, const std::string& Text,
                        TcxBorders Neighbors, const TcxViewParams& ViewParams, int Arrows,
                        int ArrowOffset,
                        const TcxCustomDrawBackground& OnCustomDraw = {}) const override;
  void PaintProgressBar(TcxCanvas* Canvas, const TRect& Bounds, const TRect& ProgressRect,
                        const TcxViewParams& ViewParams, bool Framed) const override;
  TRect ProgressBarMargins() const override { return {3, 3, 3, 3}; }
  void PaintNavigatorButton(TcxCanvas* Canvas, const TRect& R,
                            TcxElementState State) const override;
  void PaintSplitterFrame(TcxCanvas* Canvas, const TRect& R, const TcxViewParams& ViewParams,
                          bool Horizontal) const override;

  void PaintContainerBackground(TcxCanvas* Canvas, TRect& R) const override;
  void PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool Enabled, int CaptionPosition,
                          TcxBorders Borders) const override;
  TColor GroupBoxTextColor(bool Enabled) const override;
  void PaintGroupBoxBackground(TcxCanvas* Canvas, TControl* Control, const TRect& R, TColor Color1,
                               TColor Color2) const override;

  void TrackBarThumbBounds(TcxCanvas* Canvas, TRect& R, bool Vertical, int Shape) const override;
  void PaintTrackBarTrack(TcxCanvas* Canvas, const TRect& R, bool Vertical,
                          TColor Color) const override;
  void PaintTrackBarThumb(TcxCanvas* Canvas, const TRect& R, TcxElementState State, bool Vertical,
                          int Shape, TColor Color) const override;
  void PaintSplitter(TcxCanvas*, const TRect&, bool, bool, bool) const override {}

  // Text in the style's font rendering for the part and state; R and Color are not used.
  virtual void PaintThemedText(TcxCanvas* Canvas, HTHEME Theme, int Part, int State, const TRect& R,
                               const TRect& TextRect, TcxHorzAlign AlignHorz,
                               TcxVertAlign AlignVert, bool MultiLine, bool ShowEndEllipsis,
                               bool ShowPrefix, const std::string& Text, TFont* Font,
                               TColor TextColor, TColor Color) const;
};

// Radio images for every kind, state, check state, focus and highlight, built once from the
// system's radio shape in the current system colours.
class TcxRadioButtonImageList : public TObject {
 public:
  TcxRadioButtonImageList();
  ~TcxRadioButtonImageList() override;
  TSize ImageExtent() const { return {FWidth, FHeight}; }
  int ImageCount() const { return int(FImages.size()); }
  // The image index recorded under a map index, or -1.
  int ImageIndexOf(int MapIndex) const;
  static int MapIndex(int Kind, TcxElementState State, bool Checked, bool Focused, bool Highlighted);
  // Kind is the look-and-feel kind's ordinal (0 to 3).
  void DrawRadio(TcxCanvas* Canvas, int X, int Y, TColor BackgroundColor, int Kind, TcxElementState State,
                 bool Checked, bool Highlighted, bool Focused);
  void ResetImages();
  // Cell codes: 0 outside, 1/2 outer ring, 3/4 inner ring, 5 body, 6 centre dot.
  int PatternAt(int X, int Y) const { return FPattern[Y * FWidth + X]; }
  bool MaskAt(int X, int Y) const { return FMask[Y * FWidth + X]; }
  uint32_t ImagePixel(int ImageIndex, int X, int Y) const { return FImages[ImageIndex][Y * FWidth + X]; }
  TRect CheckRect() const { return FCheckRect; }

 private:
  void PrepareImages();
  int FWidth = 0, FHeight = 0;
  TRect FRadioRect, FCheckRect;
  std::vector<uint8_t> FPattern;
  std::vector<bool> FMask;
  std::vector<std::vector<uint32_t>> FImages;  // plain RGB, one per image
  std::vector<int> FIndexMap;
};

// The process's radio images; the first call builds them.
TcxRadioButtonImageList* cxRadioImages();

// ---- the registry

class TcxLookAndFeelPaintersManager : public TObject {
 public:
  ~TcxLookAndFeelPaintersManager() override;
  // Takes ownership; a painter whose name is already registered (ignoring case) is freed.
  bool RegisterPainter(TcxCustomLookAndFeelPainter* Painter);
  TcxCustomLookAndFeelPainter* PainterForKind(TcxPainterStyle Style) const;
  TcxCustomLookAndFeelPainter* PainterForName(const std::string& Name) const;
  int PainterCount() const { return int(FPainters.size()); }
  TcxCustomLookAndFeelPainter* PainterAt(int Index) const { return FPainters.at(Index).get(); }

 private:
  std::vector<std::unique_ptr<TcxCustomLookAndFeelPainter>> FPainters;
};

// nil outside the unit's start-up and shut-down.
TcxLookAndFeelPaintersManager* cxLookAndFeelPaintersManager();
// The six 8 x 9 indicator images of grid rows (arrow, edit, insert, multi-dot, multi-arrow,
// filter), white transparent; nil outside the unit's life.
TCustomImageList* cxIndicatorImages();
// The page-area pattern bitmaps of scroll bars, repainted in the current system colours.
void UpdateScrollBarPatterns();
TBitmap* StdScrollBarBitmap(bool Pressed);

void cxLookAndFeelPaintersInitialize();
void cxLookAndFeelPaintersFinalize();
