#include "platform/gui/ExtCtrls.h"

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
