#pragma once
// A scroll bar drawn by the look-and-feel painters: arrows, thumb and page areas laid out by its
// view info, mouse tracking with auto-repeat, and the usual range, position and events.

#include <memory>

#include "platform/gui/Controls.h"
#include "platform/gui/ScrollTypes.h"
#include "suite/core/cxClasses.h"
#include "suite/core/cxLookAndFeels.h"
#include "suite/core/dxThemeManager.h"

class TcxScrollBar;

// The rectangles of the bar's parts in client coordinates; an empty one is a part not shown.
class TcxScrollBarViewInfo : public TObject {
 public:
  explicit TcxScrollBarViewInfo(TcxScrollBar* AScrollBar) : FScrollBar(AScrollBar) {}

  // Arrows, thumb and page areas.
  virtual void Calculate();
  // The thumb and the page areas for the current range and position.
  virtual void CalculateThumb();
  void CalculateMinThumbSize();
  // Places the thumb (a drag moves it) and lets the page areas follow.
  void SetThumbRect(const TRect& R);

  TcxScrollBar* ScrollBar() const { return FScrollBar; }
  const TRect& TopLeftArrowRect() const { return FTopLeftArrowRect; }
  const TRect& BottomRightArrowRect() const { return FBottomRightArrowRect; }
  const TRect& ThumbRect() const { return FThumbRect; }
  const TRect& PageUpRect() const { return FPageUpRect; }
  const TRect& PageDownRect() const { return FPageDownRect; }
  int MinThumbSize() const { return FMinThumbSize; }
  // Where the track between the arrows starts and ends, along the bar.
  int TrackStart() const;
  int TrackEnd() const;

 protected:
  void CalculatePageRects();

  TRect FBottomRightArrowRect;
  TRect FPageDownRect;
  TRect FPageUpRect;
  TcxScrollBar* FScrollBar;
  TRect FThumbRect;
  int FMinThumbSize = 0;
  TRect FTopLeftArrowRect;
};

class TcxScrollBar : public TCustomControl {
 public:
  explicit TcxScrollBar(TComponent* AOwner);
  ~TcxScrollBar() override;

  // The one way range and position change; raises EInvalidOperation when Max < Min or the page
  // is larger than the range.
  void ConfigureRange(int AMin, int AMax, int APosition, int APageSize, bool Redraw = true);
  void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;

  TScrollBarKind Kind() const { return FKind; }
  void SetKind(TScrollBarKind Value);
  TScrollBarInc LargeChange() const { return FLargeChange; }
  void SetLargeChange(TScrollBarInc Value) { FLargeChange = Value; }
  TScrollBarInc SmallChange() const { return FSmallChange; }
  void SetSmallChange(TScrollBarInc Value) { FSmallChange = Value; }
  TcxLookAndFeel* LookAndFeel() const { return FLookAndFeel.get(); }
  void SetLookAndFeel(TcxLookAndFeel* Value) { FLookAndFeel->Assign(Value); }
  int Max() const { return FMax; }
  void SetMax(int Value) { ConfigureRange(FMin, Value, FPosition, FPageSize); }
  int Min() const { return FMin; }
  void SetMin(int Value) { ConfigureRange(Value, FMax, FPosition, FPageSize); }
  int PageSize() const { return FPageSize; }
  void SetPageSize(int Value) { ConfigureRange(FMin, FMax, FPosition, Value); }
  int Position() const { return FPosition; }
  void SetPosition(int Value) { ConfigureRange(FMin, FMax, Value, FPageSize); }
  bool UnlimitedTracking() const { return FUnlimitedTracking; }
  void SetUnlimitedTracking(bool Value) { FUnlimitedTracking = Value; }
  bool Ctl3D() const { return FCtl3D || FStoredCtl3D; }
  void SetCtl3D(bool Value);
  bool ParentCtl3D() const { return FParentCtl3D; }
  void SetParentCtl3D(bool Value) { FParentCtl3D = Value; }

  TcxScrollPart PartAt(TPoint P) const;
  TcxScrollPart HotPart() const { return FHotPart; }
  TcxScrollPart PressedPart() const { return FPressedPart; }
  // The position the thumb's place stands for, within Min..Max.
  int PositionFromThumb() const;
  TcxCustomLookAndFeelPainter* ScrollPainter() const;
  TcxScrollBarViewInfo* ViewInfo() const { return FViewInfo.get(); }
  TcxTimer* RepeatTimer() const { return FRepeatTimer.get(); }

  TNotifyEvent OnChange;
  TScrollEvent OnScroll;

 protected:
  friend class TcxScrollBarViewInfo;
  virtual void Change();
  virtual TcxScrollBarViewInfo* CreateViewInfo();
  virtual void DrawScrollBar(TcxCanvas* Canvas);
  virtual void DrawTrackBackground(TcxCanvas* Canvas, const TRect& R);
  virtual void PaintPart(TcxCanvas* Canvas, const TRect& R, TcxScrollPart Part, TcxElementState State);
  virtual void PaintPartInState(TcxCanvas* Canvas, const TRect& R, TcxScrollPart Part);
  virtual bool HotTracks() const;
  virtual void DoScroll(TScrollCode ScrollCode, int& ScrollPos);
  virtual int MinThumbSize() const;
  virtual void Scroll(TScrollCode ScrollCode);

  void Paint() override;
  void Dispatch(TMessage& Message) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  virtual void LookAndFeelChanged(TcxLookAndFeel* Sender, TcxLookAndFeelValues ChangedValues);

  // Ends a press: commits a thumb drag, stops the repeat and says scEndScroll.
  void CancelScrollTracking();
  TcxElementState PartState(TcxScrollPart Part) const;

 private:
  void DoPartScroll(TcxScrollPart Part);
  void RepeatTimerHandler(TObject* Sender);
  void ThemeChanged(TObject* Sender);
  void UpdateHotPart(TcxScrollPart Part);
  TcxScrollPart PartAtCursor() const;
  void RecalculateAndInvalidate();

  TPoint FTrackStart;
  TScrollBarKind FKind = sbHorizontal;
  TScrollBarInc FLargeChange = 1;
  TScrollBarInc FSmallChange = 1;
  std::unique_ptr<TcxLookAndFeel> FLookAndFeel;
  int FMax = 100;
  int FMin = 0;
  int FPageSize = 0;
  int FPosition = 0;
  bool FCtl3D = true;
  bool FStoredCtl3D = true;
  bool FParentCtl3D = true;
  int FDragStartPosition = 0;
  TPoint FDragThumbOrigin;
  std::unique_ptr<TdxThemeChangedNotificator> FThemeNotifier;
  std::unique_ptr<TcxTimer> FRepeatTimer;
  bool FUnlimitedTracking = false;
  TcxScrollPart FPressedPart = spNone;
  TcxScrollPart FHotPart = spNone;
  std::unique_ptr<TcxScrollBarViewInfo> FViewInfo;
};
