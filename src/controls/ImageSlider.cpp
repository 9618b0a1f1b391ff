#include "controls/ImageSlider.h"

#include <QString>
#include <algorithm>

#include "controls/TransparentDraw.h"
#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"
#include "platform/rtl/TypInfo.h"

namespace {
// The track starts this far inside the track area.
constexpr int kIndent = 6;
constexpr UINT_PTR kRepeatTimer = 1;
constexpr UINT kRepeatInterval = 400;
const char* const kDefaultImages[4] = {"W95_HTB", "W95_HRL", "W95_VTB", "W95_VRL"};

enum TStepKind { skNone = 0, skMin = 1, skMax = 2, skUp = 3, skDown = 4 };

int Nearest(double X) { return int(Round(X)); }

}  // namespace

// Resources of a static library are brought in by name.
static void InitSliderImages() { Q_INIT_RESOURCE(sonalix_slider_images); }

TImageCustomSlider::TImageCustomSlider(TComponent* AOwner) : TCustomControl(AOwner) {
  InitSliderImages();
  SetControlStyle({csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks});
  SetBounds(Left(), Top(), 150, 40);
  SetTabStop(true);
  FRulerBitmap = std::make_unique<TBitmap>();
  for (int i = 0; i < 4; ++i) SetImage(i, nullptr);
  FCreating = false;
  LayOutElements();
}

TImageCustomSlider::~TImageCustomSlider() {
  OnChange = nullptr;
  OnChanged = nullptr;
  OnDrawPoints = nullptr;
  for (auto& image : FImages)
    if (image) image->OnChange = nullptr;
}

void TImageCustomSlider::ImageChanged(TObject*) {
  if (!FCreating) LayOutElements();
}

void TImageCustomSlider::SetImage(int Index, TBitmap* Bitmap) {
  auto& image = FImages[size_t(Index)];
  if (!image) {
    image = std::make_unique<TBitmap>();
    image->OnChange = TNotifyEvent::Bind(this, &TImageCustomSlider::ImageChanged);
  }
  if (Bitmap) {
    image->Assign(Bitmap);
    FUserImages |= uint8_t(1u << Index);
    return;
  }
  image->LoadFromResourceName(kDefaultImages[Index]);
  FUserImages &= uint8_t(~(1u << Index));
  if (!Reading()) {
    TSliderOptions options = FOptions;
    options.Exclude(Index % 2 == 0 ? soThumbOpaque : soRulerOpaque);
    FOptions = options;
    Invalidate();
  }
}

void TImageCustomSlider::Loaded() {
  TCustomControl::Loaded();
  for (int i = 0; i < 4; ++i)
    if (FUserImages & (1u << i)) {
      TBitmap copy;
      copy.Assign(FImages[size_t(i)].get());
      SetImage(i, &copy);
    }
  // The bounds a description gives arrive while reading, when no layout runs.
  LayOutElements();
}

void TImageCustomSlider::DefineProperties(TFiler* Filer) {
  TCustomControl::DefineProperties(Filer);
  // Supplied images are kept as bitmap files; the defaults come from the program itself.
  static const char* const kNames[4] = {"ImageHThumb", "ImageHRuler", "ImageVThumb", "ImageVRuler"};
  for (int i = 0; i < 4; ++i) {
    TBitmap* image = FImages[size_t(i)].get();
    Filer->DefineBinaryProperty(
        kNames[i], [image](TStream* S) { image->LoadFromStream(S); },
        [image](TStream* S) { image->SaveToStream(S); }, (FUserImages & (1u << i)) != 0);
  }
  Filer->DefineBinaryProperty(
      "UserImages",
      [this](TStream* S) {
        uint8_t b = 0;
        if (S->Read(&b, 1) == 1) FUserImages = b;
      },
      [this](TStream* S) { S->WriteBuffer(&FUserImages, 1); }, FUserImages != 0);
}

int TImageCustomSlider::ThumbWidth() const {
  const TBitmap* thumb = FImages[FOrientation == soHorizontal ? 0 : 2].get();
  return thumb->Width() / FNumThumbStates;
}

int TImageCustomSlider::ThumbHeight() const {
  return FImages[FOrientation == soHorizontal ? 0 : 2]->Height();
}

TRect TImageCustomSlider::GetTrackArea() const {
  TRect r = Rect(0, 0, Width(), Height());
  if (FBevelStyle != bvNone) r = Rect(r.Left + FBevelWidth, r.Top + FBevelWidth, r.Right - FBevelWidth, r.Bottom - FBevelWidth);
  return r;
}

void TImageCustomSlider::AlignControls(TControl* AControl, TRect& R) {
  if (FBevelStyle != bvNone)
    R = Rect(R.Left + FBevelWidth, R.Top + FBevelWidth, R.Right - FBevelWidth, R.Bottom - FBevelWidth);
  TCustomControl::AlignControls(AControl, R);
}

int TImageCustomSlider::TrackLength() const {
  if (FOrientation == soHorizontal) return FRulerBitmap->Width() - FImages[0]->Width() / FNumThumbStates;
  return FRulerBitmap->Height() - FImages[2]->Height();
}

void TImageCustomSlider::BuildRuler(const TRect& R) {
  const bool horizontal = FOrientation == soHorizontal;
  TBitmap* source = FImages[horizontal ? 1 : 3].get();
  const int e = FEdgeSize;
  const int sourceLength = horizontal ? source->Width() : source->Height();
  const int tile = sourceLength - 2 * e;
  // A track area shorter than both indents leaves an empty ruler, in either orientation.
  const int length = std::max(0, horizontal ? R.Right - R.Left - 2 * kIndent : R.Bottom - R.Top - 2 * kIndent);
  TBitmap& ruler = *FRulerBitmap;
  if (horizontal) ruler.SetSize(length, source->Height());
  else ruler.SetSize(source->Width(), length);
  if (length == 0 || sourceLength == 0) return;
  HDC dest = ruler.Canvas()->Handle();
  HDC src = source->Canvas()->Handle();
  const int across = horizontal ? source->Height() : source->Width();
  auto copy = [&](int destFrom, int destTo, int srcFrom) {
    const int n = destTo - destFrom;
    if (n <= 0) return;
    if (horizontal) BitBlt(dest, destFrom, 0, n, across, src, srcFrom, 0, SRCCOPY);
    else BitBlt(dest, 0, destFrom, across, n, src, 0, srcFrom, SRCCOPY);
  };
  if (tile <= 0) {
    // Nothing left to repeat between the edges: the near part at the start, the far part at
    // the end, as much of each as fits.
    const int nearPart = std::min(sourceLength - sourceLength / 2, length);
    copy(0, nearPart, 0);
    const int farPart = std::min(sourceLength / 2, length - nearPart);
    copy(length - farPart, length, sourceLength - farPart);
    return;
  }
  const int middle = length - 2 * e;
  const int n = middle / tile, rem = middle % tile;
  if (n < 0) return;
  for (int i = 0; i <= n; ++i) {
    if (i == 0) copy(0, sourceLength - e, 0);
    else if (i < n) copy(e + i * tile, e + (i + 1) * tile, e);
    else copy(e + n * tile, e + n * tile + e + rem, e + tile - rem);
  }
}

void TImageCustomSlider::LayOutElements() {
  const int saved = FValue;
  const TRect r = GetTrackArea();
  BuildRuler(r);
  const int tw = ThumbWidth(), th = ThumbHeight();
  const int rw = FRulerBitmap->Width(), rh = FRulerBitmap->Height();
  if (FOrientation == soHorizontal) {
    if (rh < th) {
      FThumbRect = Bounds(r.Left + kIndent, r.Top + kIndent, tw, th);
      FRulerOrigin = Point(r.Left + kIndent, r.Top + kIndent + (th - rh) / 2);
      FTicksRect = Rect(FRulerOrigin.X, r.Top + kIndent + 1 + th, FRulerOrigin.X + rw, r.Bottom - r.Top - 1);
    } else {
      FThumbRect = Bounds(r.Left + kIndent, r.Top + kIndent + (rh - th) / 2, tw, th);
      FRulerOrigin = Point(r.Left + kIndent, r.Top + kIndent);
      FTicksRect = Rect(FRulerOrigin.X, r.Top + kIndent + 1 + rh, FRulerOrigin.X + rw, r.Bottom - r.Top - 1);
    }
  } else {
    if (rw < tw) {
      FThumbRect = Bounds(r.Left + kIndent, r.Top + kIndent, tw, th);
      FRulerOrigin = Point(r.Left + kIndent + (tw - rw) / 2, r.Top + kIndent);
      FTicksRect = Rect(r.Left + kIndent + 1 + tw, FRulerOrigin.Y, r.Right - r.Left - 1, FRulerOrigin.Y + rh);
    } else {
      FThumbRect = Bounds(r.Left + kIndent + (rw - tw) / 2, r.Top + kIndent, tw, th);
      FRulerOrigin = Point(r.Left + kIndent, r.Top + kIndent);
      FTicksRect = Rect(r.Left + kIndent + 1 + rw, FRulerOrigin.Y, r.Right - r.Left - 1, FRulerOrigin.Y + rh);
    }
  }
  SetValue(saved);
  Invalidate();
}

int TImageCustomSlider::OffsetFromValue(int V) const {
  const TRect r = GetTrackArea();
  const int start = (FOrientation == soHorizontal ? r.Left : r.Top) + kIndent;
  const int track = TrackLength();
  // A ruler no longer than the thumb leaves no room to move: the thumb stays at the start.
  if (track <= 0) return start;
  const double range = double(FMaxValue) - FMinValue;
  const int p = Nearest(track * ((double(V) - FMinValue) / range));
  int offset = start + p;
  if (FOrientation == soVertical) offset = r.Top + r.Bottom - (start + p) - FImages[2]->Height();
  return std::max(offset, start);
}

int TImageCustomSlider::ValueFromOffset(int Offset) const {
  const int track = TrackLength();
  if (track <= 0) return FValue;
  const TRect r = GetTrackArea();
  if (FOrientation == soVertical) Offset = ClientHeight() - Offset - FImages[2]->Height();
  const double range = double(FMaxValue) - FMinValue;
  int64_t v = Round((double(Offset) - r.Left - kIndent) * range / track);
  if (!FOptions.Contains(soSmooth)) v = Round(double(v) / FIncrement) * FIncrement;
  return int(std::min<int64_t>(FMinValue + std::max<int64_t>(v, 0), FMaxValue));
}

void TImageCustomSlider::SnapOffset(int& Offset) const {
  const TRect r = GetTrackArea();
  const int lo = (FOrientation == soHorizontal ? r.Left : r.Top) + kIndent;
  const int hi = lo + std::max(TrackLength(), 0);
  Offset = std::min(OffsetFromValue(ValueFromOffset(std::clamp(Offset, lo, hi))), hi);
}

void TImageCustomSlider::RepaintThumb() {
  if (!HandleAllocated()) return;
  RECT rc = FThumbRect;
  InvalidateRect(WindowHandle(), &rc, !ControlStyle().Contains(csOpaque));
}

void TImageCustomSlider::MoveThumbTo(int Offset) {
  const int old = FValue;
  SnapOffset(Offset);
  RepaintThumb();
  const TPoint corner = FOrientation == soHorizontal ? Point(Offset, FThumbRect.Top) : Point(FThumbRect.Left, Offset);
  FThumbRect = Bounds(corner.X, corner.Y, FThumbRect.Width(), FThumbRect.Height());
  RepaintThumb();
  if (FDragging) {
    FValue = ValueFromOffset(Offset);
    if (FValue != old) NotifyChange();
  }
}

void TImageCustomSlider::SetValue(int V) {
  V = std::clamp(V, FMinValue, std::max(FMinValue, FMaxValue));
  const int old = FValue;
  FValue = V;
  MoveThumbTo(OffsetFromValue(V));
  if (FValue != old) NotifyChange();
}

void TImageCustomSlider::NotifyChange() {
  if (OnChange) OnChange(this);
}

void TImageCustomSlider::NotifyChanged() {
  if (OnChanged) OnChanged(this);
}

void TImageCustomSlider::SetRange(int Lo, int Hi) {
  if (Lo >= Hi && !Reading()) return;
  FMinValue = Lo;
  FMaxValue = Hi;
  if (!Reading() && int64_t(Hi) < int64_t(Lo) + FIncrement) FIncrement = Hi - Lo;
  if (FOptions.Contains(soShowPoints)) Invalidate();
  SetValue(FValue);
  RangeChanged();
}

void TImageCustomSlider::SetMinValue(int V) {
  if (V != FMinValue) SetRange(V, FMaxValue);
}

void TImageCustomSlider::SetMaxValue(int V) {
  if (V != FMaxValue) SetRange(FMinValue, V);
}

void TImageCustomSlider::SetIncrement(int V) {
  const int64_t range = int64_t(FMaxValue) - FMinValue;
  if (!Reading() && (V <= 0 || V > range))
    throw Exception(Format("Value must be between %d and %d", {1, range}));
  if (V > 0 && V != FIncrement) {
    FIncrement = V;
    SetValue(FValue);
    Invalidate();
  }
}

void TImageCustomSlider::SetNumThumbStates(int V) {
  V = std::clamp(V, 1, 2);
  if (V == FNumThumbStates) return;
  FNumThumbStates = V;
  LayOutElements();
}

void TImageCustomSlider::SetOrientation(TSliderOrientation V) {
  if (V == FOrientation) return;
  FOrientation = V;
  LayOutElements();
  if (!ComponentState().Contains(csLoading) && !ComponentState().Contains(csUpdating))
    SetBounds(Left(), Top(), Height(), Width());
}

void TImageCustomSlider::SetEdgeSize(int V) {
  const int length = FOrientation == soHorizontal ? FImages[1]->Width() : FImages[3]->Height();
  if (2 * V < length && V != FEdgeSize) {
    FEdgeSize = V;
    LayOutElements();
  }
}

void TImageCustomSlider::SetOptions(TSliderOptions V) {
  if (V == FOptions) return;
  FOptions = V;
  Invalidate();
}

void TImageCustomSlider::SetBevelStyle(TBevelCut V) {
  if (V == FBevelStyle) return;
  FBevelStyle = V;
  LayOutElements();
  Repaint();
}

void TImageCustomSlider::StepValue(int Kind) {
  int64_t v;
  const double grid = Round(double(FValue) / FIncrement);
  switch (Kind) {
    case skMin: v = FMinValue; break;
    case skMax: v = FMaxValue; break;
    case skUp: v = int64_t(FIncrement * grid) + FIncrement; break;
    case skDown: v = int64_t(FIncrement * grid) - FIncrement; break;
    default: return;
  }
  v = std::clamp<int64_t>(v, FMinValue, FMaxValue);
  if (v != FValue) SetValue(int(v));
}

int TImageCustomSlider::SideOfThumb(int X, int Y) const {
  if (FOrientation == soHorizontal) {
    if (X < FThumbRect.Left) return skDown;
    if (X > FThumbRect.Right) return skUp;
  } else {
    if (Y < FThumbRect.Top) return skUp;
    if (Y > FThumbRect.Bottom) return skDown;
  }
  return skNone;
}

void TImageCustomSlider::KeyDown(WORD& Key, TShiftState Shift) {
  Shift.Exclude(ssDouble);
  if (Shift.Empty()) {
    int kind = skNone;
    switch (Key) {
      case VK_HOME: kind = skMin; break;
      case VK_END: kind = skMax; break;
      case VK_LEFT: if (FOrientation == soHorizontal) kind = skDown; break;
      case VK_RIGHT: if (FOrientation == soHorizontal) kind = skUp; break;
      case VK_UP: if (FOrientation == soVertical) kind = skUp; break;
      case VK_DOWN: if (FOrientation == soVertical) kind = skDown; break;
    }
    if (kind != skNone) {
      Key = 0;
      StepValue(kind);
      NotifyChanged();
    }
  }
  TCustomControl::KeyDown(Key, Shift);
}

void TImageCustomSlider::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  TCustomControl::MouseDown(Button, Shift, X, Y);
  if (Button != mbLeft || Shift.Contains(ssDouble)) return;
  if (CanFocus()) SetFocus();
  const TPoint p = Point(X, Y);
  if (PointInRectInclusive(p, FThumbRect)) {
    ThumbPressed(Button, X, Y);
    return;
  }
  TRect ruler = Bounds(FRulerOrigin.X, FRulerOrigin.Y, FRulerBitmap->Width(), FRulerBitmap->Height());
  if (FOrientation == soHorizontal) ruler = Rect(ruler.Left, ruler.Top - 3, ruler.Right, ruler.Bottom + 3);
  else ruler = Rect(ruler.Left - 3, ruler.Top, ruler.Right + 3, ruler.Bottom);
  if (!PointInRectInclusive(p, ruler)) return;
  SetMouseCapture(true);
  FRepeating = true;
  FPressPoint = p;
  FRepeatDirection = uint8_t(SideOfThumb(X, Y));
  RepeatStep();
}

void TImageCustomSlider::RepeatStep() {
  if (SideOfThumb(FPressPoint.X, FPressPoint.Y) != FRepeatDirection) return;
  StepValue(FRepeatDirection);
  if (!FRepeatTimerOn) {
    SetTimer(Handle(), kRepeatTimer, kRepeatInterval, nullptr);
    FRepeatTimerOn = true;
  }
}

void TImageCustomSlider::EndRepeat() {
  if (!FRepeating) return;
  if (FRepeatTimerOn) {
    KillTimer(Handle(), kRepeatTimer);
    FRepeatTimerOn = false;
  }
  FRepeating = false;
  SetMouseCapture(false);
  NotifyChanged();
}

void TImageCustomSlider::MouseMove(TShiftState Shift, int X, int Y) {
  if (Shift.Contains(ssLeft) && FDragging) ThumbDragged(X, Y);
  else if (FRepeating) FPressPoint = Point(X, Y);
  TCustomControl::MouseMove(Shift, X, Y);
}

void TImageCustomSlider::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  EndRepeat();
  if (FDragging) ThumbReleased(Button);
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TImageCustomSlider::ThumbPressed(TMouseButton Button, int X, int Y) {
  if (CanFocus()) SetFocus();
  if (Button != mbLeft) return;
  FDragging = true;
  FGrabOffset = FOrientation == soVertical ? Y - FThumbRect.Top : X - FThumbRect.Left;
  RepaintThumb();
  Update();
}

void TImageCustomSlider::ThumbDragged(int X, int Y) {
  MoveThumbTo((FOrientation == soVertical ? Y : X) - FGrabOffset);
}

void TImageCustomSlider::ThumbReleased(TMouseButton Button) {
  if (Button != mbLeft) return;
  FDragging = false;
  RepaintThumb();
  Update();
  NotifyChanged();
}

void TImageCustomSlider::Dispatch(TMessage& Message) {
  switch (Message.Msg) {
    case WM_TIMER:
      if (Message.WParam == kRepeatTimer && FRepeating) RepeatStep();
      return;
    case WM_GETDLGCODE:
      Message.Result = DLGC_WANTARROWS;
      return;
  }
  TCustomControl::Dispatch(Message);
}

void TImageCustomSlider::WMSetCursor(TMessage& Message) {
  if (!ComponentState().Contains(csDesigning)) {
    POINT p{};
    GetCursorPos(&p);
    const TPoint client = ScreenToClient(Point(p.x, p.y));
    if (FThumbRect.Contains(client)) {
      ::SetCursor(LoadCursor(nullptr, IDC_HAND));
      Message.Result = 1;
      return;
    }
  }
  TCustomControl::WMSetCursor(Message);
}

void TImageCustomSlider::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const bool sized = AWidth != Width() || AHeight != Height();
  TCustomControl::SetBounds(ALeft, ATop, AWidth, AHeight);
  // Without a window no WM_SIZE comes to lay the slider out again.
  if (sized && !HandleAllocated() && !FCreating && !Reading()) Resized();
}

void TImageCustomSlider::WMSize(TMessage& Message) {
  TCustomControl::WMSize(Message);
  if (!Reading()) Resized();
}

void TImageCustomSlider::CMEnabledChanged(TMessage& Message) {
  TCustomControl::CMEnabledChanged(Message);
  RepaintThumb();
}

void TImageCustomSlider::CMFocusChanged(TMessage& Message) {
  const bool has = reinterpret_cast<TControl*>(Message.LParam) == this;
  if (has == FHasFocus) return;
  FHasFocus = has;
  if (FOptions.Contains(soShowFocus)) Invalidate();
}

void TImageCustomSlider::Paint() {
  TCanvas* canvas = Canvas();
  TPoint p = FThumbRect.TopLeft();
  const bool copy = ControlState().Contains(csPaintCopy);
  if (copy) {
    int o = OffsetFromValue(GetValue());
    SnapOffset(o);
    p = FOrientation == soHorizontal ? Point(o, FThumbRect.Top) : Point(FThumbRect.Left, o);
  }
  TRect r = ClientRect();
  if (FBevelStyle != bvNone) {
    const TColor topLeft = FBevelStyle == bvLowered ? clBtnShadow : clBtnHighlight;
    const TColor bottomRight = FBevelStyle == bvLowered ? clBtnHighlight : clBtnShadow;
    for (int i = 0; i < FBevelWidth; ++i) {
      canvas->Pen()->SetColor(topLeft);
      canvas->MoveTo(r.Left, r.Bottom - 1);
      canvas->LineTo(r.Left, r.Top);
      canvas->LineTo(r.Right - 1, r.Top);
      canvas->Pen()->SetColor(bottomRight);
      canvas->LineTo(r.Right - 1, r.Bottom - 1);
      canvas->LineTo(r.Left - 1, r.Bottom - 1);
      r = Rect(r.Left + 1, r.Top + 1, r.Right - 1, r.Bottom - 1);
    }
  }
  if (ControlStyle().Contains(csOpaque)) {
    canvas->Brush()->SetColor(Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(r);
  }
  if (FRulerBitmap->Width() > 0 && FRulerBitmap->Height() > 0)
    BlitWithTransparency(canvas, FRulerOrigin.X, FRulerOrigin.Y, FRulerBitmap.get(),
                         FOptions.Contains(soRulerOpaque) ? clNone : FRulerBitmap->TransparentColor());
  if (FOptions.Contains(soShowFocus) && FHasFocus && !ComponentState().Contains(csDesigning)) {
    const TRect t = GetTrackArea();
    canvas->DrawFocusRect(Rect(t.Left + 2, t.Top + 2, t.Right - 2, t.Bottom - 2));
  }
  if (FOptions.Contains(soShowPoints)) {
    if (OnDrawPoints) OnDrawPoints(this);
    else PaintTicks(canvas, FIncrement, 3, 5);
  }
  DrawThumb(canvas, p, copy ? !Enabled() : FDragging || !Enabled());
}

void TImageCustomSlider::DrawThumb(TCanvas* ACanvas, TPoint P, bool Highlighted) {
  TBitmap* image = FImages[FOrientation == soHorizontal ? 0 : 2].get();
  TRect source = Rect(0, 0, image->Width(), image->Height());
  if (FNumThumbStates == 2) {
    const int half = image->Width() / 2;
    source = Highlighted ? Rect(half, 0, 2 * half, image->Height()) : Rect(0, 0, half, image->Height());
  }
  if (source.Width() <= 0 || source.Height() <= 0) return;
  BlitRectWithTransparency(ACanvas, P.X, P.Y,
                           FOptions.Contains(soThumbOpaque) ? clNone : image->TransparentColor(), image, source);
}

void TImageCustomSlider::PaintTicks(TCanvas* ACanvas, int Step, int TickLength, int EndTickLength) {
  ACanvas->Pen()->SetColor(clWindowText);
  const int len = TrackLength();
  const double range = double(FMaxValue) - FMinValue;
  int scale = 0, count = 0, interval = 0;
  do {
    ++scale;
    count = Nearest(range / (double(scale) * Step)) + 1;
    interval = count > 1 ? len / (count - 1) : len;
  } while (interval < 4 && interval < len);
  const int tw = ThumbWidth(), th = ThumbHeight();
  int64_t v = FMinValue;
  for (int i = 1; i <= count; ++i) {
    if (i == count) v = FMaxValue;
    const int length = v == FMinValue || v == FMaxValue ? EndTickLength : TickLength;
    const int x = OffsetFromValue(int(v));
    if (FOrientation == soHorizontal) {
      ACanvas->MoveTo(x + tw / 2, FTicksRect.Top);
      ACanvas->LineTo(x + tw / 2, FTicksRect.Top + length);
    } else {
      ACanvas->MoveTo(FTicksRect.Left, x + th / 2);
      ACanvas->LineTo(FTicksRect.Left + length, x + th / 2);
    }
    v += int64_t(Step) * scale;
  }
}

void TImageCustomSlider::DrawTicks(int Step, int TickLength, int EndTickLength) {
  PaintTicks(Canvas(), Step, TickLength, EndTickLength);
}

void RegisterImageSliderClasses() {
  static bool done = false;
  if (done) return;
  done = true;
  RegisterControlClasses();
  RegisterExtControlClasses();
  if (!FindClassInfo(typeid(TBitmap))) RegisterPictureClasses();
  RegisterClass<TImageCustomSlider, TCustomControl>();
  RegisterClass<TImageSlider, TImageCustomSlider>();
  RegisterEnumNames<TSliderOrientation>({"soHorizontal", "soVertical"});
  RegisterEnumNames<TSliderOption>({"soShowFocus", "soShowPoints", "soSmooth", "soRulerOpaque", "soThumbOpaque"});
  Published<TImageSlider>()
      .Property("NumThumbStates", &TImageSlider::NumThumbStates, &TImageSlider::SetNumThumbStates).Default(2)
      .Property("Orientation", &TImageSlider::Orientation, &TImageSlider::SetOrientation).Default(soHorizontal)
      .Property("EdgeSize", &TImageSlider::EdgeSize, &TImageSlider::SetEdgeSize).Default(2)
      .Property("Options", &TImageSlider::Options, &TImageSlider::SetOptions)
          .Default(TSliderOptions{soShowFocus, soShowPoints, soSmooth})
      .Property("BevelStyle", &TImageSlider::BevelStyle, &TImageSlider::SetBevelStyle).Default(bvNone)
      .Property("MinValue", &TImageSlider::MinValue, &TImageSlider::SetMinValue).Default(0)
      .Property("MaxValue", &TImageSlider::MaxValue, &TImageSlider::SetMaxValue).Default(100)
      .Property("Increment", &TImageSlider::Increment, &TImageSlider::SetIncrement).Default(10)
      .Property("Value", &TImageSlider::Value, &TImageSlider::SetValue).Default(0)
      .Property("OnChange", &TImageSlider::OnChange)
      .Property("OnChanged", &TImageSlider::OnChanged)
      .Property("OnDrawPoints", &TImageSlider::OnDrawPoints);
}
