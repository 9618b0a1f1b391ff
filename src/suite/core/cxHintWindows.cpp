// The hint window base of the suite.
#include "suite/core/cxControls.h"

#include "platform/sys/Modules.h"
#include "suite/core/dxCore.h"

namespace {
using TAnimateWindow = BOOL (*)(HWND, DWORD, DWORD);

TAnimateWindow AnimateWindowEntry() {
  HMODULE user32 = GetModuleHandle("user32.dll");
  return user32 ? GetProcAddressAs<TAnimateWindow>(user32, "AnimateWindow") : nullptr;
}

bool SystemSetting(UINT Action) {
  BOOL value = FALSE;
  return SystemParametersInfo(Action, 0, &value, 0) && value;
}
}  // namespace

DWORD cxHintAnimationFlag(TcxHintAnimationStyle Style) {
  static constexpr DWORD flags[] = {AW_HOR_POSITIVE, AW_HOR_NEGATIVE, AW_VER_POSITIVE,
                                    AW_VER_NEGATIVE, AW_CENTER,       AW_HIDE,
                                    AW_ACTIVATE,     AW_BLEND};
  return Style >= 0 && Style < 8 ? flags[Style] : 0;
}

TcxBaseHintWindow::TcxBaseHintWindow(TComponent* AOwner) : THintWindow(AOwner) {
  FcxCanvas = std::make_unique<TcxCanvas>(Canvas());
}

TcxBaseHintWindow::~TcxBaseHintWindow() = default;

TcxHintAnimationStyle TcxBaseHintWindow::EffectiveAnimationStyle() const {
  if (!SystemSetting(SPI_GETTOOLTIPANIMATION)) return cxhaNone;
  if (FAnimationStyle == cxhaAuto) return SystemSetting(SPI_GETTOOLTIPFADE) ? 7 : 2;
  return FAnimationStyle;
}

void TcxBaseHintWindow::ActivateHint(TRect Rect, const std::string& AHint) {
  if (!MonitorFoundAt(Rect.TopLeft())) return;
  if (FStandardHint) return THintWindow::ActivateHint(Rect, AHint);
  FActivating = true;
  struct TDone {
    TcxBaseHintWindow* Window;
    ~TDone() {
      Window->FActivating = false;
      Window->FLastActive = GetTickCount();
    }
  } done{this};
  SetCaption(AHint);
  FitToDesktop(Rect);
  SetBounds(Rect.Left, Rect.Top, Rect.Width(), Rect.Height());
  SetWindowPos(Handle(), HWND_TOPMOST, Left(), Top(), Width(), Height(), SWP_NOACTIVATE);
  AnimationStep(AHint);
  ShowNoActivate();
  FHintAreaBounds = TRect();
}

void TcxBaseHintWindow::AnimationStep(const std::string& AHint) {
  const TcxHintAnimationStyle style = EffectiveAnimationStyle();
  TAnimateWindow animate = AnimateWindowEntry();
  // A hint that follows another closely, or a long one, shows at once.
  FHasAnimation = GetTickCount() - FLastActive > 250 && AHint.size() < 100 && animate &&
                  style != cxhaNone;
  if (!FHasAnimation) {
    if (IsWindowsXPOrLater && NeedsAnimation()) SetWindowRegion();
    return;
  }
  if (IsWindowsXPOrLater && NeedsAnimation())
    SetWindowRegion();
  else
    ClearWindowRegion();
  animate(Handle(), DWORD(FAnimationDelay), cxHintAnimationFlag(style) | AW_SLIDE);
  if (!IsWindowsXPOrLater && NeedsAnimation()) SetWindowRegion();
}

void TcxBaseHintWindow::ShowNoActivate() {
  ShowWindow(Handle(), SW_SHOWNOACTIVATE);
  if (NeedsAnimation() && FHasAnimation)
    RedrawWindow(Handle(), nullptr, nullptr, RDW_FRAME | RDW_UPDATENOW | RDW_ERASE | RDW_INVALIDATE);
  else
    Invalidate();
}

void TcxBaseHintWindow::FitToDesktop(TRect& Rect) { MakeVisibleOnDesktop(Rect, GetMouseScreenPos()); }

void TcxBaseHintWindow::ClearWindowRegion() {
  if (!HandleAllocated()) return;
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  const bool has = GetWindowRgn(Handle(), region) != ERROR;
  DeleteObject(region);
  if (has) SetWindowRgn(Handle(), nullptr, TRUE);
}

void TcxBaseHintWindow::SetHintArea(const TRect& Area, bool UseMousePos) {
  FHintAreaBounds = Area;
  FUseMousePos = UseMousePos;
}

void TcxBaseHintWindow::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
  const TRect work = DesktopWorkAreaAt(TPoint(ALeft, ATop));
  ALeft = std::max(std::min(ALeft, work.Right - AWidth), work.Left);
  ATop = std::max(std::min(ATop, work.Bottom - AHeight), work.Top);
  THintWindow::SetBounds(ALeft, ATop, AWidth, AHeight);
}

void TcxBaseHintWindow::CreateParams(TCreateParams& Params) {
  THintWindow::CreateParams(Params);
  if (FStandardHint) return;
  if (!FBorder) Params.Style &= ~WS_BORDER;
  Params.ExStyle |= WS_EX_TOPMOST;
}

void TcxBaseHintWindow::Dispatch(TMessage& Message) {
  if (Message.Msg == CM_TEXTCHANGED && FActivating) return;
  if (Message.Msg == WM_ERASEBKGND && !FNeedsEraseBackground && !FStandardHint) {
    Message.Result = 1;
    return;
  }
  THintWindow::Dispatch(Message);
}
