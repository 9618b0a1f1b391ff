#include "platform/gui/ExtCtrls.h"

#include <algorithm>

#include "platform/gui/StdCtrls.h"
#include "platform/rtl/TypInfo.h"
#include "platform/win/Messages.h"
#include "platform/win/QtWindows.h"

TTimer::TTimer(TComponent* AOwner) : TComponent(AOwner) {
  FWindowHandle = AllocateHWnd([this](TMessage& m) { WndProc(m); });
}

TTimer::~TTimer() {
  FEnabled = false;
  UpdateTimer();
  DeallocateHWnd(FWindowHandle);
}

void TTimer::WndProc(TMessage& m) {
  if (m.Msg != WM_TIMER) {
    m.Result = DefWindowProc(FWindowHandle, m.Msg, m.WParam, m.LParam);
    return;
  }
  try {
    Timer();
  } catch (...) {
    HandleWindowException(std::current_exception());
  }
}

void TTimer::UpdateTimer() {
  if (FRunning) KillTimer(FWindowHandle, 1);
  FRunning = false;
  if (FInterval != 0 && FEnabled && OnTimer) {
    if (!SetTimer(FWindowHandle, 1, FInterval, nullptr)) throw EOutOfMemory("Not enough timers available");
    FRunning = true;
  }
}

void TTimer::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  FEnabled = Value;
  UpdateTimer();
}

void TTimer::SetInterval(UINT Value) {
  if (Value == FInterval) return;
  FInterval = Value;
  UpdateTimer();
}

void TTimer::SetOnTimer(TNotifyEvent Value) {
  OnTimer = std::move(Value);
  UpdateTimer();
}

void TTimer::Timer() {
  if (FEnabled && OnTimer) OnTimer(this);
}

// ---------------------------------------------------------------------------------------------
// Bevels and panels

void Frame3D(TCanvas* Canvas, TRect& Rect, TColor TopColor, TColor BottomColor, int Width) {
  TBrush* brush = Canvas->Brush();
  TColor oldColor = brush->Color();
  TBrushStyle oldStyle = brush->Style();
  brush->SetStyle(bsSolid);
  for (int i = 0; i < Width && Rect.Width() > 0 && Rect.Height() > 0; ++i) {
    const TRect& r = Rect;
    // The bottom and right sides own the corners they share with the top and left.
    brush->SetColor(TopColor);
    Canvas->FillRect(TRect(r.Left, r.Top, r.Right - 1, r.Top + 1));
    Canvas->FillRect(TRect(r.Left, r.Top, r.Left + 1, r.Bottom - 1));
    brush->SetColor(BottomColor);
    Canvas->FillRect(TRect(r.Left, r.Bottom - 1, r.Right, r.Bottom));
    Canvas->FillRect(TRect(r.Right - 1, r.Top, r.Right, r.Bottom));
    Rect = Rect.Inflate(-1, -1);
  }
  brush->SetColor(oldColor);
  brush->SetStyle(oldStyle);
}

TBevel::TBevel(TComponent* AOwner) : TGraphicControl(AOwner) {
  FControlStyle.Include(csReplicatable);
  SetBounds(0, 0, 50, 50);
}

void TBevel::SetShape(TBevelShape Value) {
  if (FShape == Value) return;
  FShape = Value;
  Invalidate();
}

void TBevel::SetStyle(TBevelStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Invalidate();
}

void TBevel::Paint() {
  TColor first = clBtnShadow, second = clBtnHighlight;
  if (FStyle == bsRaised) std::swap(first, second);
  TCanvas* c = Canvas();
  int w = Width(), h = Height();
  auto fill = [c](TColor color, const TRect& r) {
    c->Brush()->SetStyle(bsSolid);
    c->Brush()->SetColor(color);
    c->FillRect(r);
  };
  TRect r;
  switch (FShape) {
    case bsBox:
      r = Rect(0, 0, w, h);
      Frame3D(c, r, first, second, 1);
      break;
    case bsFrame:
      // Two offset outlines make the etched groove (or ridge).
      r = Rect(1, 1, w, h);
      Frame3D(c, r, second, second, 1);
      r = Rect(0, 0, w - 1, h - 1);
      Frame3D(c, r, first, first, 1);
      break;
    case bsTopLine:
      fill(first, Rect(0, 0, w, 1));
      fill(second, Rect(0, 1, w, 2));
      break;
    case bsBottomLine:
      fill(first, Rect(0, h - 2, w, h - 1));
      fill(second, Rect(0, h - 1, w, h));
      break;
    case bsLeftLine:
      fill(first, Rect(0, 0, 1, h));
      fill(second, Rect(1, 0, 2, h));
      break;
    case bsRightLine:
      fill(first, Rect(w - 2, 0, w - 1, h));
      fill(second, Rect(w - 1, 0, w, h));
      break;
    case bsSpacer: break;
  }
}

TCustomPanel::TCustomPanel(TComponent* AOwner) : TCustomControl(AOwner) {
  FControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque,
                   csDoubleClicks, csReplicatable};
  SetBounds(0, 0, 185, 41);
  SetColor(clBtnFace);
}

void TCustomPanel::FrameChanged() {
  Realign();
  Invalidate();
}

void TCustomPanel::SetAlignment(TAlignment Value) {
  if (FAlignment == Value) return;
  FAlignment = Value;
  Invalidate();
}

void TCustomPanel::SetBevelInner(TPanelBevel Value) {
  if (FBevelInner == Value) return;
  FBevelInner = Value;
  FrameChanged();
}

void TCustomPanel::SetBevelOuter(TPanelBevel Value) {
  if (FBevelOuter == Value) return;
  FBevelOuter = Value;
  FrameChanged();
}

void TCustomPanel::SetBevelWidth(TBevelWidth Value) {
  Value = std::max(Value, 1);
  if (FBevelWidth == Value) return;
  FBevelWidth = Value;
  FrameChanged();
}

void TCustomPanel::SetBorderWidth(TBorderWidth Value) {
  Value = std::max(Value, 0);
  if (FBorderWidth == Value) return;
  FBorderWidth = Value;
  FrameChanged();
}

void TCustomPanel::SetBorderStyle(TBorderStyle Value) {
  if (Value != bsNone) Value = bsSingle;
  if (FBorderStyle == Value) return;
  FBorderStyle = Value;
  // The window asks for its client area again and repaints its frame.
  if (HandleAllocated())
    SetWindowPos(WindowHandle(), nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  FrameChanged();
}

TRect TCustomPanel::InnerRect() const {
  int inset = FBorderWidth;
  if (FBevelOuter != bvNone) inset += FBevelWidth;
  if (FBevelInner != bvNone) inset += FBevelWidth;
  TRect r = ClientRect().Inflate(-inset, -inset);
  if (r.Right < r.Left) r.Right = r.Left;
  if (r.Bottom < r.Top) r.Bottom = r.Top;
  return r;
}

void TCustomPanel::AlignControls(TControl* AControl, TRect& Rect) {
  Rect = InnerRect();
  TCustomControl::AlignControls(AControl, Rect);
}

void TCustomPanel::AdjustColors(TPanelBevel Bevel, TColor& TopColor, TColor& BottomColor) const {
  TopColor = clBtnHighlight;
  BottomColor = clBtnShadow;
  if (Bevel == bvLowered) std::swap(TopColor, BottomColor);
  if (Bevel == bvSpace) TopColor = BottomColor = Color();
}

void TCustomPanel::Paint() {
  TCanvas* c = Canvas();
  TRect r = ClientRect();
  TColor top, bottom;
  if (FBevelOuter != bvNone) {
    AdjustColors(FBevelOuter, top, bottom);
    Frame3D(c, r, top, bottom, FBevelWidth);
  }
  Frame3D(c, r, Color(), Color(), FBorderWidth);
  if (FBevelInner != bvNone) {
    AdjustColors(FBevelInner, top, bottom);
    Frame3D(c, r, top, bottom, FBevelWidth);
  }
  c->Brush()->SetStyle(bsSolid);
  c->Brush()->SetColor(Color());
  c->FillRect(r);
  std::string caption = Caption();
  if (caption.empty()) return;
  static const UINT kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
  c->Font()->Assign(Font());
  DrawControlText(c, caption, r, DT_SINGLELINE | DT_VCENTER | DT_EXPANDTABS | kAlign[int(FAlignment)]);
}

void TCustomPanel::Dispatch(TMessage& m) {
  if (FBorderStyle == bsSingle && SunkenEdgeMessage(this, m)) return;
  TCustomControl::Dispatch(m);
}

void RegisterExtControlClasses() {
  static const bool done = [] {
    RegisterStdControlClasses();
    RegisterEnumNames<TBevelShape>({"bsBox", "bsFrame", "bsTopLine", "bsBottomLine", "bsLeftLine",
                                    "bsRightLine", "bsSpacer"});
    RegisterEnumNames<TBevelStyle>({"bsLowered", "bsRaised"});
    RegisterEnumNames<TBevelCut>({"bvNone", "bvLowered", "bvRaised", "bvSpace"});
    RegisterClass<TBevel, TGraphicControl>();
    Published<TBevel>()
        .Property("Shape", &TBevel::Shape, &TBevel::SetShape).Default(bsBox)
        .Property("Style", &TBevel::Style, &TBevel::SetStyle).Default(bsLowered);
    RegisterClass<TCustomPanel, TCustomControl>();
    RegisterClass<TPanel, TCustomPanel>();
    Published<TCustomPanel>()
        .Property("Alignment", &TCustomPanel::Alignment, &TCustomPanel::SetAlignment).Default(taCenter)
        .Property("BevelInner", &TCustomPanel::BevelInner, &TCustomPanel::SetBevelInner).Default(bvNone)
        .Property("BevelOuter", &TCustomPanel::BevelOuter, &TCustomPanel::SetBevelOuter).Default(bvRaised)
        .Property("BevelWidth", &TCustomPanel::BevelWidth, &TCustomPanel::SetBevelWidth).Default(1)
        .Property("BorderWidth", &TCustomPanel::BorderWidth, &TCustomPanel::SetBorderWidth).Default(0)
        .Property("BorderStyle", &TCustomPanel::BorderStyle, &TCustomPanel::SetBorderStyle).Default(bsNone)
        .Property("Caption", &TCustomPanel::Caption, &TCustomPanel::SetCaption)
        .Property("FullRepaint", &TCustomPanel::FullRepaint, &TCustomPanel::SetFullRepaint).Default(true);
    return true;
  }();
  (void)done;
}
