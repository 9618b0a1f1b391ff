#include "suite/bars/dxBarAnimation.h"

#include <map>

#include "platform/win/Gdi.h"
#include "platform/win/Messages.h"
#include "suite/core/cxClasses.h"

namespace {

// Timer ids of the running animations; a thread timer calls a plain procedure.
std::map<UINT_PTR, TdxBarAnimationThread*>& RunningAnimations() {
  static std::map<UINT_PTR, TdxBarAnimationThread*> map;
  return map;
}

}  // namespace

TdxBarAnimationInfo MakeAnimationInfo(TWinControl* Menu, uint8_t AnimationType, int Left, int Top,
                                      int ClientWidth, int ClientHeight, int BorderWidth, int BorderHeight,
                                      bool LeftDirection, bool TopDirection) {
  TdxBarAnimationInfo info;
  info.Menu = Menu;
  info.AnimationType = AnimationType;
  info.LeftDirection = LeftDirection;
  info.TopDirection = TopDirection;
  info.RealLeft = Left;
  info.RealTop = Top;
  info.RealClientWidth = ClientWidth;
  info.RealClientHeight = ClientHeight;
  info.BorderWidth = BorderWidth;
  info.BorderHeight = BorderHeight;
  if (AnimationType == dxBarAnimationUnfold) {
    // The longer side leads by the difference, so both sides reach their size at the last step.
    const int d = ClientHeight - ClientWidth;
    if (d <= 0) {
      info.OldClientRect = TRect(0, 0, -d, 0);
      info.Delta = ClientHeight;
    } else {
      info.OldClientRect = TRect(0, 0, 0, d);
      info.Delta = ClientWidth;
    }
    info.FirstValue = d;
    info.Step = 8;
  } else {
    info.OldClientRect = TRect(0, 0, ClientWidth, 0);
    info.FirstValue = 0;
    info.Delta = ClientHeight;
    info.Step = 17;
  }
  return info;
}

int AnimationStepCount(const TdxBarAnimationInfo& Info) { return Info.Step > 0 ? Info.Delta / Info.Step : 0; }

TSize AnimationStepClientSize(const TdxBarAnimationInfo& Info, int I, int CurrentClientWidth) {
  const int a = I * Info.Step;
  if (Info.AnimationType != dxBarAnimationUnfold) return TSize(CurrentClientWidth, a);
  if (Info.FirstValue < 0) return TSize(a - Info.FirstValue, a);
  return TSize(a, a + Info.FirstValue);
}

TRect AnimationStepBounds(const TdxBarAnimationInfo& Info, int I, const TRect& CurrentWindow,
                          const TSize& CurrentClient) {
  const TSize size = AnimationStepClientSize(Info, I, CurrentClient.cx);
  const int left = Info.LeftDirection ? CurrentWindow.Left + CurrentClient.cx - size.cx : CurrentWindow.Left;
  const int top = Info.TopDirection ? CurrentWindow.Top + CurrentClient.cy - size.cy : CurrentWindow.Top;
  return TRect(left, top, left + Info.BorderWidth + size.cx, top + size.cy + Info.BorderHeight);
}

TRect AnimationSourceRect(const TdxBarAnimationInfo& Info, const TSize& Client) {
  const int w = Info.RealClientWidth, h = Info.RealClientHeight;
  if (Info.TopDirection) return TRect(0, 0, Client.cx, Client.cy);
  if (Info.LeftDirection) return TRect(w - Client.cx, h - Client.cy, w, h);
  return TRect(0, h - Client.cy, Client.cx, h);
}

TdxBarAnimationThread::TdxBarAnimationThread(const TdxBarAnimationInfo& AInfo) : FInfo(AInfo) {
  HDC screen = GetDC(nullptr);
  FDC = CreateCompatibleDC(screen);
  FBitmap = CreateCompatibleBitmap(screen, std::max(FInfo.RealClientWidth, 1), std::max(FInfo.RealClientHeight, 1));
  ReleaseDC(nullptr, screen);
  FOldBitmap = SelectObject(FDC, FBitmap);
  if (FInfo.Menu) {
    FInfo.Menu->Perform(WM_PRINTCLIENT, WPARAM(FDC), PRF_CLIENT);
    FMenuLink = CreateObjectLink(FInfo.Menu);
  }
}

TdxBarAnimationThread::~TdxBarAnimationThread() {
  KillStepTimer();
  if (FMenuLink) DestroyObjectLink(FMenuLink);
  if (FDC) {
    SelectObject(FDC, FOldBitmap);
    DeleteObject(FBitmap);
    DeleteDC(FDC);
  }
}

TWinControl* TdxBarAnimationThread::LiveMenu() const {
  return FMenuLink ? static_cast<TWinControl*>(FMenuLink->Ref()) : nullptr;
}

void TdxBarAnimationThread::KillStepTimer() {
  if (!FTimer) return;
  KillTimer(nullptr, FTimer);
  RunningAnimations().erase(FTimer);
  FTimer = 0;
}

void TdxBarAnimationThread::Resume() {
  if (!FSuspended) return;
  FSuspended = false;
  Execute();
}

void TdxBarAnimationThread::Execute() {
  if (AnimationStepCount(FInfo) <= 0) {
    FFinished = true;
    DoTerminate();
    if (FreeOnTerminate) delete this;
    return;
  }
  FTimer = SetTimer(nullptr, 0, StepInterval, &TdxBarAnimationThread::TimerProc);
  RunningAnimations()[FTimer] = this;
}

void TdxBarAnimationThread::TimerProc(HWND, UINT, UINT_PTR Id, DWORD) {
  auto it = RunningAnimations().find(Id);
  if (it != RunningAnimations().end()) it->second->Tick();
}

// One step per tick of the platform clock: the pace follows the clock, never a busy wait.
void TdxBarAnimationThread::Tick() {
  if (!FTerminated && !LiveMenu()) FTerminated = true;
  if (!FTerminated) AnimationStep(++FStepIndex);
  if (FTerminated || FStepIndex >= AnimationStepCount(FInfo)) {
    KillStepTimer();
    FFinished = true;
    DoTerminate();
    if (FreeOnTerminate) delete this;
  }
}

void TdxBarAnimationThread::AnimationStep(int I) {
  TWinControl* menu = LiveMenu();
  if (!menu) return;
  HWND wnd = menu->Handle();
  RECT window{}, client{};
  GetWindowRect(wnd, &window);
  GetClientRect(wnd, &client);
  const TSize current(client.right - client.left, client.bottom - client.top);
  const TRect bounds = AnimationStepBounds(FInfo, I, TRect(window.left, window.top, window.right, window.bottom), current);
  SetWindowPos(wnd, nullptr, bounds.Left, bounds.Top, bounds.Width(), bounds.Height(),
               SWP_SHOWWINDOW | SWP_NOACTIVATE | SWP_NOZORDER);
  if (!(menu = LiveMenu())) return;
  GetClientRect(wnd, &client);
  const TSize shown(client.right - client.left, client.bottom - client.top);
  const TRect source = AnimationSourceRect(FInfo, shown);
  // The whole shown part is copied at each step; what the previous step showed moves with it.
  HDC dc = GetDC(wnd);
  BitBlt(dc, 0, 0, shown.cx, shown.cy, FDC, source.Left, source.Top, SRCCOPY);
  ReleaseDC(wnd, dc);
  FInfo.OldClientRect = TRect(0, 0, shown.cx, shown.cy);
}

void TdxBarAnimationThread::DoTerminate() {
  if (OnTerminate) OnTerminate(this);
  if (FFinishWanted) FinishAnimation();
}

void TdxBarAnimationThread::FinishAnimation() {
  TWinControl* menu = LiveMenu();
  if (!menu || menu->ComponentState().Contains(csDestroying)) return;
  if (OnFinishAnimation) OnFinishAnimation();
  if (!(menu = LiveMenu()) || !menu->HandleAllocated()) return;
  SetWindowPos(menu->Handle(), nullptr, FInfo.RealLeft, FInfo.RealTop, FInfo.RealClientWidth + FInfo.BorderWidth,
               FInfo.RealClientHeight + FInfo.BorderHeight,
               SWP_SHOWWINDOW | SWP_FRAMECHANGED | SWP_NOACTIVATE | SWP_NOZORDER);
  RedrawWindow(menu->Handle(), nullptr, nullptr, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE | RDW_UPDATENOW);
}

void TdxBarAnimationThread::Stop(bool Finish) {
  FFinishWanted = Finish;
  if (FFinished) return;  // it frees itself
  FreeOnTerminate = false;
  FTerminated = true;
  KillStepTimer();
  try {
    FFinished = true;
    DoTerminate();
  } catch (...) {
    delete this;
    throw;
  }
  delete this;
}
