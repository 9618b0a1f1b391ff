#include "suite/core/cxScrollBar.h"

#include <algorithm>

#include "platform/rtl/SysUtils.h"
#include "suite/core/cxGraphics.h"

namespace {
constexpr UINT kFirstRepeatDelay = 400;
constexpr UINT kRepeatInterval = 60;
// How far the pointer may stray from the bar while dragging the thumb before the position
// returns to where the drag began.
constexpr int kTrackingMarginAlong = 34;
constexpr int kTrackingMarginAcross = 136;

TScrollCode ScrollCodeOfPart(TcxScrollPart Part) {
  switch (Part) {
    case spLineBack: return scLineUp;
    case spLineForward: return scLineDown;
    case spPageBack: return scPageUp;
    case spPageForward: return scPageDown;
    default: return scTrack;
  }
}

bool IsRepeatingPart(TcxScrollPart Part) {
  return Part == spLineBack || Part == spLineForward || Part == spPageBack || Part == spPageForward;
}
}  // namespace

// ---- view info

int TcxScrollBarViewInfo::TrackStart() const {
  return FScrollBar->Kind() == sbVertical ? FTopLeftArrowRect.Bottom : FTopLeftArrowRect.Right;
}

int TcxScrollBarViewInfo::TrackEnd() const {
  return FScrollBar->Kind() == sbVertical ? FBottomRightArrowRect.Top : FBottomRightArrowRect.Left;
}

void TcxScrollBarViewInfo::CalculateMinThumbSize() { FMinThumbSize = FScrollBar->MinThumbSize(); }

void TcxScrollBarViewInfo::Calculate() {
  const TcxScrollBar* bar = FScrollBar;
  int w = bar->ClientWidth(), h = bar->ClientHeight();
  if (bar->Kind() == sbVertical) {
    int a = std::min(GetSystemMetrics(SM_CXVSCROLL), h / 2);
    FTopLeftArrowRect = TRect(0, 0, w, a);
    FBottomRightArrowRect = TRect(0, h - a, w, h);
  } else {
    int a = std::min(GetSystemMetrics(SM_CYHSCROLL), w / 2);
    FTopLeftArrowRect = TRect(0, 0, a, h);
    FBottomRightArrowRect = TRect(w - a, 0, w, h);
  }
  CalculateThumb();
}

void TcxScrollBarViewInfo::CalculateThumb() {
  const TcxScrollBar* bar = FScrollBar;
  FThumbRect = TRect();
  int first = TrackStart(), track = TrackEnd() - first;
  int range = bar->Max() - bar->Min();
  bool vertical = bar->Kind() == sbVertical;
  int start = 0, length = 0;
  bool shown = bar->Enabled();
  if (shown && bar->PageSize() != 0) {
    length = std::min(track, MulDiv(bar->PageSize(), track, range + 1));
    if (track < FMinThumbSize || range == 0) {
      shown = false;
    } else {
      length = std::max(length, FMinThumbSize);
      int d = range - bar->PageSize() + 1;
      start = first + MulDiv(track - length, std::min(bar->Position() - bar->Min(), d), d);
    }
  } else if (shown) {
    length = GetSystemMetrics(vertical ? SM_CYVTHUMB : SM_CXHTHUMB);
    if (track < length) {
      shown = false;
    } else {
      start = first;
      if (track > length && range != 0) start += MulDiv(track - length, bar->Position() - bar->Min(), range);
    }
  }
  if (shown) {
    FThumbRect = vertical ? TRect(0, start, bar->ClientWidth(), start + length)
                          : TRect(start, 0, start + length, bar->ClientHeight());
  }
  CalculatePageRects();
}

void TcxScrollBarViewInfo::SetThumbRect(const TRect& R) {
  FThumbRect = R;
  CalculatePageRects();
}

void TcxScrollBarViewInfo::CalculatePageRects() {
  if (FThumbRect.IsEmpty()) {
    FPageUpRect = FPageDownRect = TRect();
    return;
  }
  const TcxScrollBar* bar = FScrollBar;
  if (bar->Kind() == sbVertical) {
    FPageUpRect = TRect(0, TrackStart(), bar->ClientWidth(), FThumbRect.Top);
    FPageDownRect = TRect(0, FThumbRect.Bottom, bar->ClientWidth(), TrackEnd());
  } else {
    FPageUpRect = TRect(TrackStart(), 0, FThumbRect.Left, bar->ClientHeight());
    FPageDownRect = TRect(FThumbRect.Right, 0, TrackEnd(), bar->ClientHeight());
  }
}

// ---- scroll bar

TcxScrollBar::TcxScrollBar(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(TControlStyle{csCaptureMouse, csFramed, csOpaque});
  FLookAndFeel = std::make_unique<TcxLookAndFeel>(this);
  FLookAndFeel->OnChanged = [this](TcxLookAndFeel* Sender, TcxLookAndFeelValues Values) {
    LookAndFeelChanged(Sender, Values);
  };
  FThemeNotifier = std::make_unique<TdxThemeChangedNotificator>();
  FThemeNotifier->OnThemeChanged = TNotifyEvent::Bind(this, &TcxScrollBar::ThemeChanged);
  FRepeatTimer = std::make_unique<TcxTimer>(nullptr);
  FRepeatTimer->SetEnabled(false);
  FRepeatTimer->SetInterval(kFirstRepeatDelay);
  FRepeatTimer->SetOnTimer(TNotifyEvent::Bind(this, &TcxScrollBar::RepeatTimerHandler));
  // Descendants with view infos of their own replace it in their constructors.
  FViewInfo.reset(CreateViewInfo());
  FViewInfo->CalculateMinThumbSize();
  SetBounds(Left(), Top(), 121, GetSystemMetrics(SM_CYHSCROLL));
}

TcxScrollBar::~TcxScrollBar() = default;

TcxScrollBarViewInfo* TcxScrollBar::CreateViewInfo() { return new TcxScrollBarViewInfo(this); }

void TcxScrollBar::ConfigureRange(int AMin, int AMax, int APosition, int APageSize, bool Redraw) {
  if (AMax < AMin || AMax - AMin < APageSize) throw EInvalidOperation("Scrollbar property out of range");
  APosition = std::clamp(APosition, AMin, AMax);
  if (FMin == AMin && FMax == AMax && FPosition == APosition && FPageSize == APageSize) {
    FViewInfo->CalculateThumb();
    return;
  }
  FMin = AMin;
  FMax = AMax;
  FPageSize = APageSize;
  if (FPosition != APosition) {
    SetEnabled(true);
    FPosition = APosition;
    FViewInfo->CalculateThumb();
    if (Redraw && HandleAllocated()) Repaint();
    Change();
  } else {
    FViewInfo->CalculateThumb();
    if (HandleAllocated()) Repaint();
  }
}

void TcxScrollBar::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  TRect old = BoundsRect();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  if (BoundsRect() != old && Width() > 0 && Height() > 0) FViewInfo->Calculate();
}

void TcxScrollBar::SetKind(TScrollBarKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  if (ComponentState().Contains(csLoading)) FViewInfo->Calculate();
  else SetBounds(Left(), Top(), Height(), Width());
  Invalidate();
}

void TcxScrollBar::SetCtl3D(bool Value) {
  FStoredCtl3D = Value;
  if (FCtl3D != Value) {
    FCtl3D = Value;
    Perform(CM_CTL3DCHANGED, 0, 0);
  }
}

TcxCustomLookAndFeelPainter* TcxScrollBar::ScrollPainter() const {
  return FLookAndFeel->PainterFor(TdxThemedObjectTypes{totScrollBar});
}

bool TcxScrollBar::HotTracks() const { return ScrollPainter()->HotTracksButtons(); }

int TcxScrollBar::MinThumbSize() const { return ScrollPainter()->MinThumbLength(FKind == sbHorizontal); }

void TcxScrollBar::Change() {
  if (OnChange) OnChange(this);
}

TcxScrollPart TcxScrollBar::PartAt(TPoint P) const {
  if (!ClientRect().Contains(P)) return spNone;
  const TcxScrollBarViewInfo& v = *FViewInfo;
  if (v.TopLeftArrowRect().Contains(P)) return spLineBack;
  if (v.BottomRightArrowRect().Contains(P)) return spLineForward;
  if (v.ThumbRect().IsEmpty()) return spNone;
  if (v.ThumbRect().Contains(P)) return spThumb;
  if (v.PageUpRect().Contains(P)) return spPageBack;
  if (v.PageDownRect().Contains(P)) return spPageForward;
  return spNone;
}

int TcxScrollBar::PositionFromThumb() const {
  const TcxScrollBarViewInfo& v = *FViewInfo;
  const TRect& thumb = v.ThumbRect();
  bool vertical = FKind == sbVertical;
  int thumbStart = vertical ? thumb.Top : thumb.Left;
  int thumbLength = vertical ? thumb.Height() : thumb.Width();
  int divisor = v.TrackEnd() - v.TrackStart() - thumbLength;
  // A thumb that fills the track cannot move: it stands for the start of the range.
  if (divisor == 0) return FMin;
  int span = FMax - FMin + (FPageSize > 0 ? 1 - FPageSize : 0);
  return std::clamp(FMin + MulDiv(span, thumbStart - v.TrackStart(), divisor), FMin, FMax);
}

void TcxScrollBar::Scroll(TScrollCode ScrollCode) {
  int pos = FPosition;
  switch (ScrollCode) {
    case scLineUp: pos -= FSmallChange; break;
    case scLineDown: pos += FSmallChange; break;
    case scPageUp: pos -= FLargeChange; break;
    case scPageDown: pos += FLargeChange; break;
    case scTop: pos = FMin; break;
    case scBottom: pos = FMax; break;
    default: break;
  }
  pos = std::clamp(pos, FMin, FMax);
  DoScroll(ScrollCode, pos);
  pos = std::clamp(pos, FMin, FMax);
  if (pos == FPosition) return;
  if (ScrollCode == scTrack) {
    FPosition = pos;
    // A thumb being dragged stays under the pointer.
    if (FPressedPart != spThumb) FViewInfo->CalculateThumb();
    Repaint();
  } else {
    SetPosition(pos);
  }
}

void TcxScrollBar::DoScroll(TScrollCode ScrollCode, int& ScrollPos) {
  if (OnScroll) OnScroll(this, ScrollCode, ScrollPos);
}

// ---- painting

void TcxScrollBar::Paint() {
  std::unique_ptr<TcxBitmap> buffer(TcxBitmap::CreateSizedBitmap(ClientWidth(), ClientHeight()));
  DrawScrollBar(buffer->cxCanvas());
  Canvas()->Draw(0, 0, buffer.get());
}

void TcxScrollBar::DrawScrollBar(TcxCanvas* Canvas) {
  DrawTrackBackground(Canvas, ClientRect());
  const TcxScrollBarViewInfo& v = *FViewInfo;
  PaintPartInState(Canvas, v.TopLeftArrowRect(), spLineBack);
  PaintPartInState(Canvas, v.BottomRightArrowRect(), spLineForward);
  if (!v.ThumbRect().IsEmpty()) PaintPartInState(Canvas, v.ThumbRect(), spThumb);
  if (!v.PageUpRect().IsEmpty()) PaintPartInState(Canvas, v.PageUpRect(), spPageBack);
  if (!v.PageDownRect().IsEmpty()) PaintPartInState(Canvas, v.PageDownRect(), spPageForward);
}

void TcxScrollBar::DrawTrackBackground(TcxCanvas* Canvas, const TRect& R) {
  ScrollPainter()->PaintScrollBarBackground(Canvas, R, FKind == sbHorizontal);
}

void TcxScrollBar::PaintPart(TcxCanvas* Canvas, const TRect& R, TcxScrollPart Part, TcxElementState State) {
  ScrollPainter()->PaintScrollBarPart(Canvas, FKind == sbHorizontal, R, Part, State);
}

void TcxScrollBar::PaintPartInState(TcxCanvas* Canvas, const TRect& R, TcxScrollPart Part) {
  PaintPart(Canvas, R, Part, PartState(Part));
}

TcxElementState TcxScrollBar::PartState(TcxScrollPart Part) const {
  if (!Enabled()) return esDisabled;
  if (Part != FHotPart || (Part == spThumb && !HotTracks())) return esNormal;
  if (FPressedPart != spNone) return Part == FPressedPart ? esPressed : esNormal;
  return ComponentState().Contains(csDesigning) ? esNormal : esHot;
}

// ---- mouse

void TcxScrollBar::DoPartScroll(TcxScrollPart Part) { Scroll(ScrollCodeOfPart(Part)); }

TcxScrollPart TcxScrollBar::PartAtCursor() const {
  POINT p;
  if (!GetCursorPos(&p)) return spNone;
  return PartAt(ScreenToClient(TPoint(p.x, p.y)));
}

void TcxScrollBar::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft) return;
  TcxScrollPart part = PartAt(TPoint(X, Y));
  if (part == spNone) return;
  FPressedPart = part;
  FHotPart = part;
  if (part == spThumb) {
    FTrackStart = TPoint(X, Y);
    FDragStartPosition = FPosition;
    FDragThumbOrigin = FViewInfo->ThumbRect().TopLeft();
    Scroll(scTrack);
  } else {
    DoPartScroll(part);
    FRepeatTimer->SetEnabled(false);
    FRepeatTimer->SetInterval(kFirstRepeatDelay);
    FRepeatTimer->SetEnabled(true);
  }
  Repaint();
}

void TcxScrollBar::RepeatTimerHandler(TObject*) {
  if (!MouseCapture() || !IsRepeatingPart(FPressedPart)) {
    CancelScrollTracking();
    return;
  }
  if (FRepeatTimer->Interval() == kFirstRepeatDelay) FRepeatTimer->SetInterval(kRepeatInterval);
  DoPartScroll(FPressedPart);
  FRepeatTimer->SetEnabled(PartAtCursor() == FPressedPart);
}

void TcxScrollBar::UpdateHotPart(TcxScrollPart Part) {
  if (Part == FHotPart) return;
  FHotPart = Part;
  if (HotTracks() || FPressedPart != spNone) Repaint();
}

void TcxScrollBar::MouseMove(TShiftState Shift, int X, int Y) {
  TCustomControl::MouseMove(Shift, X, Y);
  TPoint p(X, Y);
  if (FPressedPart != spThumb) {
    TcxScrollPart part = PartAt(p);
    if (IsRepeatingPart(FPressedPart)) FRepeatTimer->SetEnabled(part == FPressedPart);
    UpdateHotPart(part);
    return;
  }
  bool vertical = FKind == sbVertical;
  TRect area = vertical ? ClientRect().Inflate(kTrackingMarginAcross, kTrackingMarginAlong)
                        : ClientRect().Inflate(kTrackingMarginAlong, kTrackingMarginAcross);
  if (!FUnlimitedTracking && !area.Contains(p)) {
    SetPosition(FDragStartPosition);
    Scroll(scTrack);
    return;
  }
  const TRect& thumb = FViewInfo->ThumbRect();
  int length = vertical ? thumb.Height() : thumb.Width();
  int origin = vertical ? FDragThumbOrigin.Y : FDragThumbOrigin.X;
  int offset = vertical ? Y - FTrackStart.Y : X - FTrackStart.X;
  int start = std::clamp(origin + offset, FViewInfo->TrackStart(), FViewInfo->TrackEnd() - length);
  FViewInfo->SetThumbRect(vertical ? TRect(thumb.Left, start, thumb.Right, start + length)
                                   : TRect(start, thumb.Top, start + length, thumb.Bottom));
  Repaint();
  int pos = PositionFromThumb();
  if (pos != FPosition) {
    FPosition = pos;
    Scroll(scTrack);
  }
}

void TcxScrollBar::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  CancelScrollTracking();
  UpdateHotPart(PartAt(TPoint(X, Y)));
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TcxScrollBar::CancelScrollTracking() {
  if (FPressedPart == spNone) return;
  if (FPressedPart == spThumb) {
    SetPosition(PositionFromThumb());
    Scroll(scPosition);
  }
  FRepeatTimer->SetEnabled(false);
  FPressedPart = spNone;
  FHotPart = spNone;
  Scroll(scEndScroll);
  FViewInfo->CalculateThumb();
  Invalidate();
}

// ---- messages and changes

void TcxScrollBar::RecalculateAndInvalidate() {
  FViewInfo->CalculateMinThumbSize();
  FViewInfo->Calculate();
  Invalidate();
}

void TcxScrollBar::LookAndFeelChanged(TcxLookAndFeel*, TcxLookAndFeelValues) {
  if (FLookAndFeel->SkinPainter() && FCtl3D) {
    FStoredCtl3D = true;
    FCtl3D = false;
  } else {
    FCtl3D = FStoredCtl3D;
  }
  RecalculateAndInvalidate();
}

void TcxScrollBar::ThemeChanged(TObject*) {
  RecalculateAndInvalidate();
  UpdateScrollBarPatterns();
  if (Parent()) Parent()->Realign();
}

void TcxScrollBar::Dispatch(TMessage& m) {
  switch (m.Msg) {
    case WM_ERASEBKGND: m.Result = 1; return;
    case CN_HSCROLL:
    case CN_VSCROLL: Scroll(TScrollCode(LOWORD(DWORD(m.WParam)))); return;
    case CM_MOUSEENTER:
      TCustomControl::Dispatch(m);
      if (HotTracks() || IsRepeatingPart(FPressedPart)) Repaint();
      return;
    case CM_MOUSELEAVE: {
      TCustomControl::Dispatch(m);
      if (FPressedPart != spThumb) FHotPart = spNone;
      if (HotTracks() || IsRepeatingPart(FPressedPart)) Invalidate();
      return;
    }
    case CM_ENABLEDCHANGED:
      TCustomControl::Dispatch(m);
      FViewInfo->Calculate();
      if (!Enabled()) CancelScrollTracking();
      Invalidate();
      return;
    case CM_VISIBLECHANGED:
      TCustomControl::Dispatch(m);
      if (!Visible()) CancelScrollTracking();
      return;
    case WM_CANCELMODE:
      TCustomControl::Dispatch(m);
      CancelScrollTracking();
      return;
    case CM_SYSCOLORCHANGE:
      UpdateScrollBarPatterns();
      TCustomControl::Dispatch(m);
      return;
    case CN_CTLCOLORSCROLLBAR:
      UpdateScrollBarPatterns();
      DefaultHandler(m);
      return;
    case CM_CTL3DCHANGED:
      FStoredCtl3D = FCtl3D;
      LookAndFeelChanged(FLookAndFeel.get(), {});
      return;
  }
  TCustomControl::Dispatch(m);
}
