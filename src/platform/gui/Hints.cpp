// Hints: the hint window and the application's hint timer. The mouse resting HintPause ms on a
// control with a hint shows its short hint below the cursor; moving on to another control while
// a hint shows waits only HintShortPause; the hint hides after HintHidePause, when the mouse
// leaves the control's cursor rectangle, or on a click or key.
#include <algorithm>

#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/win/Gdi.h"
#include "platform/win/GdiExtras.h"

THintWindowClass HintWindowClass = &MakeHintWindow<THintWindow>;

THintWindow* CreateHintWindow(THintWindowClass Class, TComponent* AOwner) {
  THintWindow* window = Class(AOwner);
  window->FWindowClass = Class;
  return window;
}

THintWindow::THintWindow(TComponent* AOwner) : TCustomControl(AOwner) {
  SetControlStyle(ControlStyle() + TControlStyle{csOpaque});
  SetParentColor(false);
  SetParentFont(false);
  SetColor(Application->HintColor());
  Font()->Assign(Screen->HintFont());
  SetVisible(false);
}

void THintWindow::CreateParams(TCreateParams& Params) {
  TCustomControl::CreateParams(Params);
  Params.Style = WS_POPUP;  // the frame is painted by Paint
  Params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
}

TRect THintWindow::CalcHintRect(int MaxWidth, const std::string& AHint, void*) {
  // Measured on a bitmap's canvas: the window may not exist yet.
  TBitmap measure;
  measure.SetSize(1, 1);
  measure.Canvas()->Font()->Assign(Font());
  RECT r{0, 0, std::max(MaxWidth, 1), 0};
  DrawText(measure.Canvas()->Handle(), AHint, -1, &r, DT_CALCRECT | DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
  // Room for the frame and the text's margins.
  return Rect(0, 0, r.right + 6, r.bottom + 4);
}

void THintWindow::ActivateHint(TRect R, const std::string& AHint) {
  SetCaption(AHint);
  TRect screen = Screen->DesktopRect();
  int w = R.Width(), h = R.Height();
  int left = std::max(std::min(R.Left, screen.Right - w), screen.Left);
  int top = std::max(std::min(R.Top, screen.Bottom - h), screen.Top);
  SetBounds(left, top, w, h);
  SetWindowPos(Handle(), HWND_TOPMOST, left, top, w, h, SWP_NOACTIVATE);
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  Invalidate();
}

void THintWindow::ActivateHintData(TRect R, const std::string& AHint, void*) { ActivateHint(R, AHint); }

void THintWindow::Paint() {
  TRect r = ClientRect();
  Canvas()->Brush()->SetColor(Color());
  Canvas()->FillRect(r);
  Canvas()->Brush()->SetColor(clWindowFrame);
  Canvas()->FrameRect(r);
  Canvas()->Font()->Assign(Font());
  Canvas()->Font()->SetColor(clInfoText);
  SetBkMode(Canvas()->Handle(), TRANSPARENT);
  RECT text{r.Left + 3, r.Top + 2, r.Right - 3, r.Bottom - 2};
  DrawText(Canvas()->Handle(), Caption(), -1, &text, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
}

void THintWindow::Dispatch(TMessage& m) {
  // The hint never stands between the mouse and the control below it.
  if (m.Msg == WM_NCHITTEST) {
    m.Result = HTTRANSPARENT;
    return;
  }
  TCustomControl::Dispatch(m);
}

// ---------------------------------------------------------------------------------------------

namespace {
constexpr UINT_PTR kShowTimer = 1, kHideTimer = 2, kReshowTimer = 3;
}  // namespace

struct THintState {
  HWND Timers = nullptr;  // a hidden window the hint timers tick on
  TWeakLink<TControl> Control;  // the control under the mouse
  THintWindow* Window = nullptr;
  THintWindowClass WindowClass = nullptr;
  bool Showing = false;
  bool Cancelled = false;  // a click or key hid the hint: none until another control
  TRect CursorRect;        // screen
};

void TApplication::FreeHints() {
  if (!FHintState) return;
  if (FHintState->Timers) DeallocateHWnd(FHintState->Timers);
  delete FHintState->Window;
  delete FHintState;
  FHintState = nullptr;
}

THintWindow* TApplication::HintWindow() const {
  return FHintState && FHintState->Showing ? FHintState->Window : nullptr;
}

void TApplication::CancelHint() {
  if (!FHintState) return;
  THintState& h = *FHintState;
  if (h.Timers) {
    KillTimer(h.Timers, kShowTimer);
    KillTimer(h.Timers, kHideTimer);
    KillTimer(h.Timers, kReshowTimer);
  }
  if (h.Window && h.Showing) h.Window->ReleaseHandle();
  h.Showing = false;
}

namespace {

// The hint a control shows: its own, else the nearest parent's.
std::string ControlHint(TControl* c) {
  for (; c; c = c->Parent())
    if (!c->Hint().empty()) return c->Hint();
  return {};
}

}  // namespace

void TApplication::HintMouseMessage(const MSG& Msg) {
  bool move = Msg.message == WM_MOUSEMOVE || Msg.message == WM_NCMOUSEMOVE;
  bool press = (Msg.message >= WM_LBUTTONDOWN && Msg.message <= WM_MOUSELAST &&
                Msg.message != WM_MOUSEWHEEL) ||
               Msg.message == WM_KEYDOWN || Msg.message == WM_SYSKEYDOWN;
  if (!move && !press) return;
  if (!FHintState) {
    FHintState = new THintState;
    FHintState->Timers = AllocateHWnd([this](TMessage& m) {
      if (m.Msg == WM_TIMER) HintTimer(m.WParam);
      else m.Result = DefWindowProc(nullptr, m.Msg, m.WParam, m.LParam);
    });
  }
  THintState& h = *FHintState;
  if (press) {
    CancelHint();
    h.Cancelled = true;
    return;
  }
  TPoint pos{Msg.pt.x, Msg.pt.y};
  TControl* control = FindDragTarget(pos, false);
  if (control != h.Control.get()) {
    bool wasShowing = h.Showing;
    CancelHint();
    h.Cancelled = false;
    h.Control = control;
    SetHint(control ? GetLongHint(ControlHint(control)) : std::string());
    if (!control || !FShowHint || !control->ShowHint() || GetShortHint(ControlHint(control)).empty())
      return;
    SetTimer(h.Timers, kShowTimer, UINT(wasShowing ? FHintShortPause : FHintPause), nullptr);
  } else if (h.Showing && !h.CursorRect.Contains(pos)) {
    CancelHint();
    if (control && !h.Cancelled) SetTimer(h.Timers, kShowTimer, UINT(FHintPause), nullptr);
  }
}

void TApplication::HintTimer(UINT_PTR Id) {
  THintState& h = *FHintState;
  KillTimer(h.Timers, Id);
  if (Id == kHideTimer) return CancelHint();
  POINT p{};
  GetCursorPos(&p);
  ActivateHint(TPoint{p.x, p.y});
}

void TApplication::ActivateHint(TPoint CursorPos) {
  THintState& h = *FHintState;
  TControl* control = h.Control.get();
  if (!control || h.Cancelled) return;
  THintInfo info;
  info.HintControl = control;
  info.HintWindowClass = HintWindowClass;
  // Below the cursor, clear of its arrow.
  info.HintPos = TPoint{CursorPos.X, CursorPos.Y + 20};
  info.HintMaxWidth = Screen->Width();
  info.HintColor = FHintColor;
  info.CursorRect = control->ClientRect();
  info.CursorPos = control->ScreenToClient(CursorPos);
  info.HintStr = GetShortHint(ControlHint(control));
  info.HideTimeout = FHintHidePause;
  TWeakLink<TControl> alive(control);
  bool canShow = control->Perform(CM_HINTSHOW, 0, reinterpret_cast<LPARAM>(&info)) == 0;
  if (canShow && OnShowHint) OnShowHint(info.HintStr, canShow, info);
  if (!alive || !canShow || info.HintStr.empty() || !info.HintWindowClass) return;
  if (!h.Window || h.WindowClass != info.HintWindowClass) {
    delete h.Window;
    h.Window = CreateHintWindow(info.HintWindowClass, this);
    h.WindowClass = info.HintWindowClass;
  }
  h.Window->SetColor(info.HintColor);
  TRect r = h.Window->CalcHintRect(info.HintMaxWidth, info.HintStr, info.HintData);
  r = Bounds(info.HintPos.X, info.HintPos.Y, r.Width(), r.Height());
  h.Window->ActivateHintData(r, info.HintStr, info.HintData);
  h.Showing = true;
  TPoint origin = control->ClientToScreen(TPoint{0, 0});
  h.CursorRect = Bounds(origin.X + info.CursorRect.Left, origin.Y + info.CursorRect.Top,
                        info.CursorRect.Width(), info.CursorRect.Height());
  if (info.HideTimeout > 0) SetTimer(h.Timers, kHideTimer, UINT(info.HideTimeout), nullptr);
  if (info.ReshowTimeout > 0) SetTimer(h.Timers, kReshowTimer, UINT(info.ReshowTimeout), nullptr);
}
