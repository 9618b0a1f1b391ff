#pragma once
// The hidden windows that drive the network components: the components of one thread share
// windows, each serving 100 message numbers handed out by a process-wide pool; and a timer that
// ticks on the same windows.

#include <array>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/rtl/Classes.h"
#include "platform/rtl/Events.h"
#include "platform/rtl/SysUtils.h"
#include "platform/win/Messages.h"
#include "platform/win/Windows.h"

SONALIX_DECLARE_EXCEPTION(EIcsException, Exception);

class TIcsWndControl;
class TIcsWndHandlerList;
class TIcsTimer;

using TBgExceptionEvent = Event<void(TObject* Sender, Exception& E, bool& CanClose)>;
using TIcsExceptionHook = Event<void(TObject* Sender, Exception& E, bool& CanClose)>;
using TIcsMessageHook = Event<void(TObject* Sender, TMessage& Msg, bool& Handled)>;

constexpr int IcsWndControlMaxMessages = 100;

class TIcsWndHandler {
 public:
  TIcsWndHandler() { FMsgMap.fill(nullptr); }
  ~TIcsWndHandler();

  UINT AllocateMessage(TIcsWndControl* Obj);
  void FreeMessage(UINT& Msg);
  HWND Handle() const { return FHandle; }
  UINT MsgLow() const { return FMsgLow; }
  int UsedCount() const { return FMsgCnt; }

  TIcsExceptionHook OnBgException;
  TIcsMessageHook OnMessage;

 private:
  friend class TIcsWndHandlerPool;
  friend class TIcsWndControl;
  void AllocateHWnd();
  void DeallocateHWnd();
  void WndProc(TMessage& MsgRec);
  static LRESULT SharedWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam);

  HWND FHandle = nullptr;
  std::array<TIcsWndControl*, IcsWndControlMaxMessages> FMsgMap;
  UINT FMsgLow = 0;
  int FMsgCnt = 0;
  TIcsWndHandlerList* FOwnerList = nullptr;
};

class TIcsWndHandlerList {
 public:
  explicit TIcsWndHandlerList(DWORD ThreadId) : FThreadId(ThreadId) {}
  DWORD ThreadId() const { return FThreadId; }
  std::vector<TIcsWndHandler*> Items;

 private:
  DWORD FThreadId;
};

class TIcsWndHandlerPool {
 public:
  ~TIcsWndHandlerPool();
  TIcsWndHandler* GetHandler(int Needed, DWORD ThreadId);
  void FreeHandler(TIcsWndHandler*& Handler);
  void Lock() { FLock.lock(); }
  void UnLock() { FLock.unlock(); }
  void lock() { Lock(); }
  void unlock() { UnLock(); }
  // The process-wide pool.
  static TIcsWndHandlerPool& Instance();
  // Hidden windows alive now (tests look at it).
  static int WindowCount();

 private:
  std::vector<TIcsWndHandlerList*> FLists;
  std::recursive_mutex FLock;
};

class TIcsWndControl : public TComponent {
 public:
  explicit TIcsWndControl(TComponent* AOwner);
  ~TIcsWndControl() override;

  HWND Handle();
  HWND HandleValue() const { return FHandle; }
  DWORD ThreadId() const { return FThreadId; }
  bool Terminated() const { return FTerminated; }
  void SetTerminated(bool Value) { FTerminated = Value; }
  bool MultiThreaded() const { return FMultiThreaded; }
  virtual void SetMultiThreaded(bool Value) { FMultiThreaded = Value; }
  TIcsWndHandler* WndHandler() const { return FWndHandler; }

  TBgExceptionEvent OnBgException;

  // Virtual operations in slot order.
  virtual void ShutdownWindowOnce();
  virtual void HandleTimerMessage(TMessage& Msg);
  virtual void WindowProcedure(TMessage& MsgRec);
  virtual void HandleEventException(Exception& E);
  virtual void CallBgExceptionEvent(Exception& E, bool& CanClose);
  virtual void HandleReleaseMessage();
  virtual void AllocateWindow();
  virtual void DeallocateWindow();
  virtual int MessageCount();
  virtual void AllocateMessages();
  virtual void FreeMessages();
  virtual void AbortAfterException() {}
  virtual void ReleaseDeferred();
  virtual void AttachToThread();
  virtual void DetachFromThread();
  virtual void RunMessageLoop();
  virtual bool ProcessOneMessage();
  virtual void ProcessPendingMessages();
  virtual void PumpMessages();

 protected:
  UINT FMsgRelease = 0;

 private:
  bool FWndGivenBack = false;
  HWND FHandle = nullptr;
  DWORD FThreadId = 0;
  bool FTerminated = false;
  bool FMultiThreaded = false;
  TIcsWndHandler* FWndHandler = nullptr;
};

// The application's message processing as the network library pumps it: every waiting message
// of the thread (and Qt's events) once. A quit request is kept for the outer loop and noted.
void IcsProcessApplicationMessages();
// Set once a pump met the quit request.
bool IcsApplicationTerminated();

class TIcsTimer : public TComponent {
 public:
  explicit TIcsTimer(TComponent* AOwner);
  ~TIcsTimer() override;

  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  DWORD Interval() const { return FInterval; }
  void SetInterval(DWORD Value);
  // Assign OnTimer through SetOnTimer: the timer is armed only while a handler is assigned.
  const TNotifyEvent& OnTimer() const { return FOnTimer; }
  void SetOnTimer(TNotifyEvent Value);
  // True while an object of this class lives at Ptr.
  static bool IsTimer(const void* Ptr);

 private:
  void UpdateTimer();
  void CheckWindow() const;

  DWORD FInterval = 1000;
  bool FEnabled = true;
  TNotifyEvent FOnTimer;
  TIcsWndControl* FIcsWndControl = nullptr;
};
