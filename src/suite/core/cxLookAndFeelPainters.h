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
#include "platform/rtl/Classes.h"
#include "suite/core/cxGraphics.h"
#include "suite/core/dxOffice11.h"

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
  virtual std::string KindName() const { return {}; }
  virtual TcxPainterStyle StyleKind() const { return psStandard; }
  virtual bool ThemedLookFlag() const { return false; }
  virtual TColor WindowColor() const { return clWindow; }
  virtual TColor WindowTextColor() const { return clWindowText; }
  virtual TColor ContentColor(TcxElementState) const { return clDefault; }
  virtual TColor ContentTextColor(TcxElementState) const { return clDefault; }
  TColor ContentColorFor(bool Flag) const { return ContentColor(Flag ? esNormal : esDefault); }
  TColor ContentTextColorFor(bool Flag) const { return ContentTextColor(Flag ? esNormal : esDefault); }
  // The data-view colours; only the size grip's fill is used here.
  virtual TColor ViewColor21() const { return clBtnFace; }
  virtual TColor ViewColor29() const { return clBtnFace; }
  virtual TColor ViewColor7() const { return clBtnShadow; }
  virtual TColor ViewColor10() const { return clBtnFace; }
  virtual TColor ViewColor47() const { return TColor(0xD5FFFF); }
  virtual TColor ViewColor50() const { return clHighlight; }

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

  // Buttons.
  virtual int ButtonBorderWidth(TcxElementState) const { return 0; }
  virtual TColor ButtonFaceColor(TcxElementState) const { return clBtnFace; }
  virtual TRect ButtonFocusBounds(TcxCanvas* Canvas, const TRect& R) const;
  virtual int ButtonCaptionIndent() const { return 0; }
  virtual int PressedCaptionShift() const { return 0; }
  virtual TColor ButtonGlyphColor(TcxElementState State, TColor DefaultColor = clDefault) const;
  virtual TcxElementState ButtonGlyphState(TcxElementState State) const { return State; }
  virtual void PaintButton(TcxCanvas* Canvas, const TRect& R, const std::string& Caption, TcxElementState State,
                           bool DrawFrame = true, TColor Color = clDefault, TColor TextColor = clDefault,
                           bool WordWrap = false, bool ToolbarStyle = false) const;
  virtual void PaintButtonFrame(TcxCanvas*, const TRect&, TcxElementState) const {}

  // Expand buttons.
  virtual void PaintExpandButton(TcxCanvas*, const TRect&, bool /*Expanded*/, TColor /*Color*/) const {}
  virtual void PaintGroupExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded,
                                      TcxElementState State) const;
  virtual void PaintSmallExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded, TColor BorderColor,
                                      TColor Color) const;
  virtual int ExpandButtonExtent() const { return 0; }
  virtual int GroupExpandButtonExtent() const { return 15; }
  virtual bool HotTracksButtons() const { return false; }
  virtual int SmallExpandButtonExtent() const { return 9; }

  // Check boxes and radio buttons.
  virtual int CheckFrameWidth() const { return 2; }
  virtual TColor CheckFaceColor(TcxElementState State) const;
  virtual TSize CheckBoxExtent() const;
  virtual void PaintCheckMark(TcxCanvas* Canvas, const TRect& R, TcxElementState State, bool Checked,
                              TColor Color) const;
  virtual void PaintCheckFrame(TcxCanvas*, const TRect&, TcxElementState) const {}
  virtual void PaintCheckBox(TcxCanvas* Canvas, const TRect& R, TcxElementState State,
                             TcxCheckBoxState CheckState) const;
  void PaintCheckBoxChecked(TcxCanvas* Canvas, const TRect& R, TcxElementState State, bool Checked) const {
    PaintCheckBox(Canvas, R, State, Checked ? cbsChecked : cbsUnchecked);
  }
  virtual void PaintRadioButton(TcxCanvas* Canvas, int X, int Y, TcxElementState State, bool Checked,
                                bool Highlighted, TColor BackgroundColor = clDefault, bool Focused = false) const;
  virtual TColor RadioFaceColor(TcxElementState State) const;
  virtual TSize RadioButtonExtent() const;
  virtual void PaintEdgeLine(TcxCanvas* Canvas, const TRect& R, TColor DarkColor, TColor LightColor,
                             bool Vertical) const;

  // Headers.
  virtual void PaintHeader(TcxCanvas* Canvas, const TRect& R, const TRect& TextRect, TcxBorders Neighbors,
                           TcxBorders Borders, TcxElementState State, TcxHorzAlign AlignHorz,
                           TcxVertAlign AlignVert, bool MultiLine, bool ShowEndEllipsis, const std::string& Text,
                           TFont* Font, TColor TextColor, TColor Color,
                           const TcxCustomDrawBackground& OnCustomDraw = {}) const;
  virtual void PaintHeaderFrame(TcxCanvas*, const TRect&, TcxBorders /*Neighbors*/, TcxBorders /*Borders*/) const {}
  virtual void PaintHeaderPressedMark(TcxCanvas* Canvas, const TRect& R) const { Canvas->InvertRect(R); }
  virtual void PaintSortMark(TcxCanvas*, const TRect&, bool /*Ascending*/) const {}
  virtual TcxBorders HeaderFrameSides(TcxBorders) const { return cxBordersAll; }
  virtual int HeaderFrameWidth() const { return 0; }
  TRect HeaderOuterBounds(const TRect& R, TcxBorders Neighbors, TcxBorders Borders) const;
  TRect HeaderInnerBounds(const TRect& R, TcxBorders Borders) const;
  virtual TSize SortMarkExtent() const { return {0, 0}; }

  // Footers.
  virtual int FooterFrameWidth() const { return 0; }
  virtual int FooterCellFrameWidth() const { return 0; }
  virtual int FooterCellSpacing() const { return 0; }
  virtual TColor FooterLineColor() const { return clBtnShadow; }
  virtual int FooterLineHeight() const { return 1; }
  virtual void PaintFooterFrame(TcxCanvas*, const TRect&) const {}
  virtual void PaintFooterCellFrame(TcxCanvas*, const TRect&) const {}
  virtual void PaintFooterLine(TcxCanvas* Canvas, const TRect& R) const {
    Canvas->FillRectWithColor(R, FooterLineColor());
  }

  // Filter and popup close buttons.
  virtual void PaintFilterCloseButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const;
  virtual TSize FilterCloseButtonExtent() const { return {16, 14}; }

  // Popups, hints and screen tips.
  // The border of a popup window by style; R comes back as the content rectangle.
  virtual void PaintPopupFrame(TcxCanvas* Canvas, TRect& R, int FrameStyle, bool Flag) const;
  virtual void FillWindowContent(TcxCanvas* Canvas, const TRect& R) const {
    Canvas->FillRectWithColor(R, clBtnFace);
  }
  virtual TColor HintFrameColor() const { return clDefault; }
  virtual void PaintHintBackground(TcxCanvas* Canvas, const TRect& R, TColor Color) const {
    Canvas->FillRectWithColor(R, Color == clDefault ? clInfoBk : Color);
  }
  virtual TColor TipDescriptionColor() const { return clDefault; }
  virtual TColor TipTitleColor() const { return clDefault; }
  virtual int TipFooterLineSize() const { return 3; }
  virtual void DrawTipBackground(TcxCanvas* Canvas, const TRect& R) const;
  virtual void DrawTipFrame(TcxCanvas* Canvas, const TRect& R) const;

  // Indicator column.
  virtual void PaintListMark(TcxCanvas* Canvas, const TRect& R, TColor Color) const;
  // Kind 0 draws nothing; 1 to 6 the indicator images.
  virtual void PaintIndicatorGlyph(TcxCanvas* Canvas, const TRect& R, int Kind) const;

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
  virtual void PaintMonthHeader(TcxCanvas* Canvas, const TRect& R, const std::string& Text, TcxBorders Neighbors,
                                const TcxViewParams& ViewParams, int Arrows, int ArrowOffset) const;
  virtual void PaintProgressBar(TcxCanvas* Canvas, const TRect& Bounds, const TRect& ProgressRect,
                                const TcxViewParams& ViewParams, bool Framed) const;
  virtual void PaintNavButtonArrow(TcxCanvas* Canvas, const TRect& R, bool IsNext, TColor Color) const;
  virtual int ThinFrameWidth() const { return 1; }

  // Clock.
  virtual void PaintClock(TcxCanvas* Canvas, const TRect& R, double Time, TColor BackgroundColor) const;

  // Containers, captions, group boxes.
  virtual TColor ContainerFrameColor(bool) const { return clBtnText; }
  virtual void PaintContainerBackground(TcxCanvas* Canvas, TRect& R) const;
  virtual void PaintGroupBoxFrame(TcxCanvas*, const TRect&, bool /*Enabled*/, TcxBorders) const {}
  virtual TColor GroupBoxTextColor(bool Enabled) const { return Enabled ? clWindowText : clBtnShadow; }
  virtual void FillPanel(TcxCanvas* Canvas, const TRect& R) const { Canvas->FillRectWithColor(R, clBtnFace); }

  // Track bars.
  virtual void PaintTrackBarTrack(TcxCanvas* Canvas, const TRect& R, TColor Color) const;
  virtual void PaintTrackBarTrackFrame(TcxCanvas*, const TRect&) const {}
  // Shape 0 points up (or left when vertical), 1 down (or right), 2 is a rectangle.
  virtual void PaintTrackBarThumb(TcxCanvas* Canvas, const TRect& R, TcxElementState State, bool Vertical,
                                  int Shape, TColor Color) const;
  virtual void PaintThumbShapeFrame(TcxCanvas*, const std::vector<TPoint>& /*Light*/,
                                    const std::vector<TPoint>& /*Dark*/,
                                    const std::vector<TPoint>& /*Shadow*/) const {}
  virtual void PaintThumbRectFrame(TcxCanvas*, const TRect&) const {}

  // Splitters.
  virtual TColor SplitterLightColor(bool) const { return TColor(0xFFFFFF); }
  virtual TColor SplitterOuterColor(bool) const { return clBtnShadow; }
  virtual void PaintSplitter(TcxCanvas* Canvas, const TRect& R, bool Highlighted, bool Flag,
                             bool Horizontal) const;
  virtual TSize SplitterExtent(bool Horizontal) const { return Horizontal ? TSize{17, 2} : TSize{2, 17}; }
  virtual void PaintSplitterFrame(TcxCanvas*, const TRect&, const TcxViewParams&, bool) const {}

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
  TSize SortMarkExtent() const override { return {8, 7}; }
  int FooterFrameWidth() const override { return 1; }
  int FooterCellFrameWidth() const override { return 1; }
  int FooterCellSpacing() const override { return 1; }
  void PaintFooterFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintFooterCellFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R, TcxScrollPart Part,
                          TcxElementState State) const override;
  void PaintMonthHeader(TcxCanvas* Canvas, const TRect& R, const std::string& Text, TcxBorders Neighbors,
                        const TcxViewParams& ViewParams, int Arrows, int ArrowOffset) const override;
  TColor ViewColor47() const override { return clWindow; }
  void PaintSplitterFrame(TcxCanvas* Canvas, const TRect& R, const TcxViewParams& ViewParams,
                          bool Horizontal) const override;
  void PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool Enabled, TcxBorders Borders) const override;
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
  void PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool Enabled, TcxBorders Borders) const override;
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
  int ControlBorderSize() const override { return 1; }
  void DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const override;
  void DrawSeparator(TcxCanvas* Canvas, const TRect& R, bool Horizontal) const override;
  int ButtonBorderWidth(TcxElementState State) const override { return State == esDefault ? 2 : 1; }
  TColor ButtonFaceColor(TcxElementState State) const override;
  TRect ButtonFocusBounds(TcxCanvas* Canvas, const TRect& R) const override;
  // Left, top, right and bottom widths of a button in a row.
  TRect ButtonGroupBorderWidths(int ButtonCount, int ButtonIndex) const;
  TColor ButtonGlyphColor(TcxElementState State, TColor DefaultColor = clDefault) const override;
  TcxElementState ButtonGlyphState(TcxElementState) const override { return esNormal; }
  int ButtonCaptionIndent() const override { return 2; }
  int PressedCaptionShift() const override { return 0; }
  void PaintButtonFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  void PaintExpandButton(TcxCanvas* Canvas, const TRect& R, bool Expanded, TColor Color) const override;
  int ExpandButtonExtent() const override { return 11; }
  bool HotTracksButtons() const override { return true; }
  void PaintCheckFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  TColor RadioFaceColor(TcxElementState State) const override;
  void PaintHeaderFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Neighbors, TcxBorders Sides) const override;
  void PaintSortMark(TcxCanvas* Canvas, const TRect& R, bool Ascending) const override;
  TcxBorders HeaderFrameSides(TcxBorders Neighbors) const override;
  int HeaderFrameWidth() const override { return 1; }
  TSize SortMarkExtent() const override { return {7, 8}; }
  int FooterFrameWidth() const override { return 1; }
  int FooterCellFrameWidth() const override { return 1; }
  int FooterCellSpacing() const override { return 2; }
  void PaintFooterCellFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void DrawFooterPanel(TcxCanvas* Canvas, const TRect& R, TcxBorders Sides) const override;
  void PaintFooterFrame(TcxCanvas* Canvas, const TRect& R) const override {
    DrawFooterPanel(Canvas, R, TcxBorders{bRight, bBottom});
  }
  TSize FilterCloseButtonExtent() const override { return {16, 15}; }
  void PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R, TcxScrollPart Part,
                          TcxElementState State) const override;
  void DrawNavButtonFace(TcxCanvas* Canvas, const TRect& R, const TRect& ArrowRect, bool IsNext,
                         TcxElementState State) const override;
  void PaintSplitterFrame(TcxCanvas* Canvas, const TRect& R, const TcxViewParams& ViewParams,
                          bool Horizontal) const override;
  void PaintGroupBoxFrame(TcxCanvas* Canvas, const TRect& R, bool Enabled, TcxBorders Borders) const override;
  void PaintTrackBarTrackFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintThumbRectFrame(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintThumbShapeFrame(TcxCanvas* Canvas, const std::vector<TPoint>& Light, const std::vector<TPoint>& Dark,
                            const std::vector<TPoint>& Shadow) const override;
  TColor SplitterOuterColor(bool Highlighted) const override { return Highlighted ? clHighlight : clBtnShadow; }
  TSize SplitterExtent(bool Horizontal) const override { return Horizontal ? TSize{17, 1} : TSize{1, 17}; }

  virtual TColor ButtonHotFrameColor(TcxElementState State) const {
    return State == esNormal ? clBtnShadow : clHighlight;
  }
  virtual TColor TabFaceColor() const { return clBtnShadow; }
  virtual TColor TabActiveColor() const { return clBtnText; }
  virtual TColor FrameHighlightColor() const { return clHighlight; }
  virtual TColor ViewColor42() const { return clBtnShadow; }
};

// The Office 2003 look over the UltraFlat one: Office 2003 glyph and border colours, all-round
// header frames, borrowing the native painter's scroll-bar parts.
class TcxOffice11LookAndFeelPainter : public TcxUltraFlatLookAndFeelPainter {
 public:
  std::string KindName() const override { return "Office11"; }
  TcxPainterStyle StyleKind() const override { return psOffice11; }
  TColor AccentTextColor() const override { return clHighlightText; }
  bool ThemedLookFlag() const override { return true; }
  TColor FrameHighlightColor() const override;
  void DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const override;
  void DrawSeparator(TcxCanvas* Canvas, const TRect& R, bool Horizontal) const override;
  TColor ButtonFaceColor(TcxElementState State) const override;
  TColor ButtonGlyphColor(TcxElementState State, TColor DefaultColor = clDefault) const override;
  void PaintButtonFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  TColor CheckFaceColor(TcxElementState State) const override;
  TColor RadioFaceColor(TcxElementState State) const override;
  void PaintSortMark(TcxCanvas* Canvas, const TRect& R, bool Ascending) const override;
  TcxBorders HeaderFrameSides(TcxBorders) const override { return cxBordersAll; }
  void PaintHeaderFrame(TcxCanvas* Canvas, const TRect& R, TcxBorders Neighbors, TcxBorders Sides) const override;
  TColor FooterLineColor() const override { return HeaderDarkColor(); }
  void PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R, TcxScrollPart Part,
                          TcxElementState State) const override;
  void PaintContainerBackground(TcxCanvas* Canvas, TRect& R) const override {
    Canvas->FillRectWithColor(R, ViewColor29());
  }
  TColor SplitterLightColor(bool) const override { return HeaderHighlightColor(); }
  TColor SplitterOuterColor(bool Highlighted) const override;
  TColor ButtonHotFrameColor(TcxElementState State) const override;
  TColor TabFaceColor() const override { return HeaderDarkColor(); }

  virtual TColor HeaderLightColor() const { return clBtnFace; }
  virtual TColor HeaderDarkColor() const { return clBtnShadow; }
  virtual TColor HeaderHighlightColor() const { return clBtnHighlight; }
  virtual TColor HeaderMidColor() const { return MixColors(clBtnFace, HeaderLightColor(), 50); }
};

// Draws with the system's visual style and falls back to the Standard painter for every part
// the style cannot give (always, while visual styles are unavailable).
class TcxWinXPLookAndFeelPainter : public TcxStandardLookAndFeelPainter {
 public:
  std::string KindName() const override { return "Native"; }
  TcxPainterStyle StyleKind() const override { return psNative; }
  bool ThemedLookFlag() const override;
  TColor ViewColor47() const override { return TColor(0xD5FFFF); }
  void PaintArrow(TcxCanvas* Canvas, const TRect& R, TcxArrowDirection Direction, TColor Color) const override {
    TcxCustomLookAndFeelPainter::PaintArrow(Canvas, R, Direction, Color);
  }
  void DrawArrowButton(TcxCanvas* Canvas, const TRect& R, TcxElementState State, TcxArrowDirection Direction,
                       bool Framed) const override;
  void DrawArrowButtonFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  int ControlBorderSize() const override;
  void DrawControlBorder(TcxCanvas* Canvas, const TRect& R) const override;
  int ButtonBorderWidth(TcxElementState State) const override;
  int ButtonCaptionIndent() const override { return 2; }
  int PressedCaptionShift() const override { return 0; }
  void PaintButton(TcxCanvas* Canvas, const TRect& R, const std::string& Caption, TcxElementState State,
                   bool DrawFrame = true, TColor Color = clDefault, TColor TextColor = clDefault,
                   bool WordWrap = false, bool ToolbarStyle = false) const override;
  bool HotTracksButtons() const override { return true; }
  int CheckFrameWidth() const override;
  void PaintCheckMark(TcxCanvas* Canvas, const TRect& R, TcxElementState State, bool Checked,
                      TColor Color) const override;
  void PaintCheckFrame(TcxCanvas* Canvas, const TRect& R, TcxElementState State) const override;
  void PaintHeaderPressedMark(TcxCanvas*, const TRect&) const override {}
  void PaintSortMark(TcxCanvas* Canvas, const TRect& R, bool Ascending) const override;
  TSize SortMarkExtent() const override { return {7, 8}; }
  void PaintPopupFrame(TcxCanvas* Canvas, TRect& R, int FrameStyle, bool Flag) const override;
  TColor HintFrameColor() const override;
  void PaintHintBackground(TcxCanvas* Canvas, const TRect& R, TColor Color) const override;
  void PaintScrollBarPart(TcxCanvas* Canvas, bool Horizontal, const TRect& R, TcxScrollPart Part,
                          TcxElementState State) const override;
  void PaintSizeGripGlyph(TcxCanvas* Canvas, const TRect& R) const override;
  void PaintSplitter(TcxCanvas*, const TRect&, bool, bool, bool) const override {}
  void PaintContainerBackground(TcxCanvas* Canvas, TRect& R) const override;
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
// The page-area pattern bitmaps of scroll bars, repainted in the current system colours.
void UpdateScrollBarPatterns();
TBitmap* StdScrollBarBitmap(bool Pressed);

void cxLookAndFeelPaintersInitialize();
void cxLookAndFeelPaintersFinalize();
