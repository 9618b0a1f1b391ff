#pragma once
// TTimer: a component that calls OnTimer every Interval milliseconds while Enabled, from the
// one clock of the window layer (so tests drive it with the test clock).

#include "platform/rtl/Classes.h"
#include "platform/win/Windows.h"

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* AOwner);
  ~TTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  UINT Interval() const { return FInterval; }
  void SetInterval(UINT Value);
  TNotifyEvent OnTimer;
  // The timer runs only with a handler; assigning one later needs this call to start it.
  void SetOnTimer(TNotifyEvent Value);

 protected:
  virtual void Timer();

 private:
  void UpdateTimer();
  void WndProc(struct TMessage& Msg);

  bool FEnabled = true;
  UINT FInterval = 1000;
  HWND FWindowHandle = nullptr;
  bool FRunning = false;
};
