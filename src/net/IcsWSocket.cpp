#include "net/IcsWSocket.h"

void TCustomSyncWSocket::RunAndWait(bool& Done, const TProc& Proc) {
  Done = false;
  if (Proc) Proc();
  WaitUntilDone(Done);
}

int TCustomSyncWSocket::WaitUntilDone(bool& Done) {
  FTimeStop = GetTickCount() + FTimeout;
  TWeakLink<TCustomSyncWSocket> self(this);
  for (;;) {
    if (Done) return 0;
    if (!self) return 12001;
    if ((FTimeout > 0 && int32_t(GetTickCount() - FTimeStop) > 0) || IcsApplicationTerminated() ||
        Terminated())
      return 12001;
    PumpMessages();
    Sleep(0);
  }
}
