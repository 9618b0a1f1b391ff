#pragma once
// The socket the network library uses: the asynchronous socket with its SOCKS client and line
// mode, and the synchronous wait.

#include <functional>

#include "net/IcsLineWSocket.h"

class TCustomSyncWSocket : public TCustomLineWSocket {
 public:
  explicit TCustomSyncWSocket(TComponent* AOwner) : TCustomLineWSocket(AOwner) {}

  DWORD Timeout() const { return FTimeout; }
  void SetTimeout(DWORD Value) { FTimeout = Value; }

  using TProc = std::function<void()>;
  virtual void RunAndWait(bool& Done, const TProc& Proc);
  virtual int WaitUntilDone(bool& Done);

 protected:
  DWORD FTimeout = 0;
  DWORD FTimeStop = 0;
};

class TWSocket : public TCustomSyncWSocket {
 public:
  explicit TWSocket(TComponent* AOwner) : TCustomSyncWSocket(AOwner) {}
};
