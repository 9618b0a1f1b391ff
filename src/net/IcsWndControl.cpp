#include "net/IcsWndControl.h"

#include <algorithm>
#include <set>

#include "platform/win/QtWindows.h"

namespace {

const char* const WndClassName = "IcsWndControlWindowClass";

// Guards class registration and the count of live hidden windows.
std::recursive_mutex& GlobalLock() {
  static std::recursive_mutex lock;
  return lock;
}
int gWndCount = 0;
UINT gNextMsgLow = 0;
WNDPROC gSharedProc = nullptr;

std::mutex gTimersLock;
std::set<const void*> gTimers;

bool gAppTerminated = false;

}  // namespace

// ---------------------------------------------------------------------------------------------
// TIcsWndHandler

TIcsWndHandler::~TIcsWndHandler() {
  if (FHandle) DeallocateHWnd();
}

LRESULT TIcsWndHandler::SharedWndProc(HWND Wnd, UINT Msg, WPARAM WParam, LPARAM LParam) {
  auto* handler = reinterpret_cast<TIcsWndHandler*>(GetWindowLongPtr(Wnd, GWLP_USERDATA));
  if (!handler) return DefWindowProc(Wnd, Msg, WParam, LParam);
  TMessage rec;
  rec.Msg = Msg;
  rec.WParam = WParam;
  rec.LParam = LParam;
  rec.Result = 0;
  handler->WndProc(rec);
  return rec.Result;
}

void TIcsWndHandler::AllocateHWnd() {
  std::lock_guard<std::recursive_mutex> g(GlobalLock());
  WNDCLASS wc;
  if (!GetClassInfo(nullptr, WndClassName, &wc)) {
    if (!gSharedProc) gSharedProc = MakeWindowProc(&TIcsWndHandler::SharedWndProc);
    WNDCLASS reg;
    reg.lpfnWndProc = gSharedProc;
    reg.cbWndExtra = 4;
    reg.lpszClassName = WndClassName;
    if (!RegisterClass(&reg))
      throw EIcsException("Unable to register TIcsWndControl hidden window class. Error #0.");
  }
  // A message-only window: it has no widget.
  FHandle = CreateWindowEx(WS_EX_TOOLWINDOW, WndClassName, "", WS_POPUP, 0, 0, 0, 0, HWND_MESSAGE,
                           nullptr, nullptr, nullptr);
  if (!FHandle) throw EIcsException("Unable to create TIcsWndControl hidden window.  Error #0.");
  SetWindowLongPtr(FHandle, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  ++gWndCount;
}

void TIcsWndHandler::DeallocateHWnd() {
  if (!FHandle) return;
  FMsgMap.fill(nullptr);
  SetWindowLongPtr(FHandle, GWLP_USERDATA, 0);
  DestroyWindow(FHandle);
  FHandle = nullptr;
  std::lock_guard<std::recursive_mutex> g(GlobalLock());
  if (--gWndCount <= 0) {
    gWndCount = 0;
    UnregisterClass(WndClassName, nullptr);
  }
}

UINT TIcsWndHandler::AllocateMessage(TIcsWndControl* Obj) {
  if (FMsgLow < WM_USER) throw EIcsException("MsgLow not defined");
  if (FMsgCnt >= IcsWndControlMaxMessages) throw EIcsException("No more free message");
  for (int i = 0; i < IcsWndControlMaxMessages; ++i) {
    if (FMsgMap[i] == nullptr) {
      FMsgMap[i] = Obj;
      ++FMsgCnt;
      if (!FHandle) AllocateHWnd();
      return FMsgLow + UINT(i);
    }
  }
  throw EIcsException("No more free message");
}

void TIcsWndHandler::FreeMessage(UINT& Msg) {
  if (Msg == 0) return;
  if (FMsgLow < WM_USER) throw EIcsException("MsgLow not defined");
  if (Msg < FMsgLow || Msg > FMsgLow + IcsWndControlMaxMessages - 1)
    throw EIcsException("Msg value out of bound");
  int i = int(Msg - FMsgLow);
  if (FMsgMap[i] == nullptr) throw EIcsException("Msg not registered");
  FMsgMap[i] = nullptr;
  --FMsgCnt;
  // What is still queued under the number was meant for the component giving it back; the next
  // component to take the number must not receive it.
  MSG queued;
  if (FHandle)
    while (PeekMessage(&queued, FHandle, Msg, Msg, PM_REMOVE | PM_NOYIELD)) {
    }
  Msg = 0;
  if (FMsgCnt == 0) DeallocateHWnd();
}

void TIcsWndHandler::WndProc(TMessage& MsgRec) {
  try {
    if (MsgRec.Msg >= FMsgLow && MsgRec.Msg < FMsgLow + IcsWndControlMaxMessages) {
      TIcsWndControl* obj = FMsgMap[MsgRec.Msg - FMsgLow];
      if (obj) {
        obj->WindowProcedure(MsgRec);
        return;
      }
    }
    if (MsgRec.Msg == WM_TIMER && TIcsTimer::IsTimer(reinterpret_cast<void*>(MsgRec.WParam))) {
      auto* timer = reinterpret_cast<TIcsTimer*>(MsgRec.WParam);
      if (auto* owner = dynamic_cast<TIcsWndControl*>(timer->Owner())) {
        owner->WindowProcedure(MsgRec);
        return;
      }
    }
    bool handled = false;
    if (OnMessage) OnMessage(nullptr, MsgRec, handled);
    if (!handled) MsgRec.Result = DefWindowProc(FHandle, MsgRec.Msg, MsgRec.WParam, MsgRec.LParam);
  } catch (Exception& E) {
    if (!OnBgException) throw;
    bool canClose = true;
    OnBgException(nullptr, E, canClose);
  }
}

// ---------------------------------------------------------------------------------------------
// TIcsWndHandlerPool

TIcsWndHandlerPool::~TIcsWndHandlerPool() {
  for (TIcsWndHandlerList* list : FLists) {
    for (TIcsWndHandler* h : list->Items) delete h;
    delete list;
  }
}

TIcsWndHandlerPool& TIcsWndHandlerPool::Instance() {
  static TIcsWndHandlerPool pool;
  return pool;
}

int TIcsWndHandlerPool::WindowCount() {
  std::lock_guard<std::recursive_mutex> g(GlobalLock());
  return gWndCount;
}

TIcsWndHandler* TIcsWndHandlerPool::GetHandler(int Needed, DWORD ThreadId) {
  std::lock_guard<std::recursive_mutex> g(FLock);
  TIcsWndHandlerList* list = nullptr;
  for (auto it = FLists.rbegin(); it != FLists.rend(); ++it)
    if ((*it)->ThreadId() == ThreadId) {
      list = *it;
      break;
    }
  if (!list) {
    list = new TIcsWndHandlerList(ThreadId);
    FLists.push_back(list);
  }
  for (TIcsWndHandler* h : list->Items)
    if (IcsWndControlMaxMessages - h->UsedCount() >= Needed) return h;
  auto* h = new TIcsWndHandler;
  h->FOwnerList = list;
  if (gNextMsgLow <= WM_USER || gNextMsgLow >= 65435) gNextMsgLow = WM_USER + 1;
  h->FMsgLow = gNextMsgLow;
  list->Items.push_back(h);
  return h;
}

void TIcsWndHandlerPool::FreeHandler(TIcsWndHandler*& Handler) {
  std::lock_guard<std::recursive_mutex> g(FLock);
  if (!Handler || !Handler->FOwnerList) return;
  TIcsWndHandlerList* list = Handler->FOwnerList;
  list->Items.erase(std::remove(list->Items.begin(), list->Items.end(), Handler),
                    list->Items.end());
  if (list->Items.empty()) {
    FLists.erase(std::remove(FLists.begin(), FLists.end(), list), FLists.end());
    delete list;
  }
  delete Handler;
  Handler = nullptr;
}

// ---------------------------------------------------------------------------------------------
// TIcsWndControl

TIcsWndControl::TIcsWndControl(TComponent* AOwner) : TComponent(AOwner) {}

TIcsWndControl::~TIcsWndControl() {
  // Owned timers go while this is still a window control, so they can take their timers back
  // from a window that still exists.
  DestroyComponents();
  ShutdownWindowOnce();
}

HWND TIcsWndControl::Handle() {
  if (!FHandle) AllocateWindow();
  return FHandle;
}

void TIcsWndControl::ShutdownWindowOnce() {
  if (FWndGivenBack) return;
  DeallocateWindow();
  FWndGivenBack = true;
}

void TIcsWndControl::HandleTimerMessage(TMessage& Msg) {
  auto* timer = reinterpret_cast<TIcsTimer*>(Msg.WParam);
  if (TIcsTimer::IsTimer(timer) && timer->OnTimer()) timer->OnTimer()(timer);
}

void TIcsWndControl::WindowProcedure(TMessage& MsgRec) {
  try {
    if (MsgRec.Msg == FMsgRelease && FMsgRelease != 0)
      HandleReleaseMessage();
    else if (MsgRec.Msg == WM_TIMER)
      HandleTimerMessage(MsgRec);
    else
      MsgRec.Result = DefWindowProc(FHandle, MsgRec.Msg, MsgRec.WParam, MsgRec.LParam);
  } catch (Exception& E) {
    HandleEventException(E);
  }
}

void TIcsWndControl::HandleEventException(Exception& E) {
  bool canClose = true;
  try {
    CallBgExceptionEvent(E, canClose);
  } catch (...) {
  }
  if (canClose) {
    try {
      AbortAfterException();
    } catch (...) {
    }
  }
}

void TIcsWndControl::CallBgExceptionEvent(Exception& E, bool& CanClose) {
  if (OnBgException) {
    try {
      OnBgException(this, E, CanClose);
    } catch (...) {
    }
  }
}

void TIcsWndControl::HandleReleaseMessage() { delete this; }

void TIcsWndControl::AllocateWindow() {
  if (FHandle) return;
  FThreadId = GetCurrentThreadId();
  auto& pool = TIcsWndHandlerPool::Instance();
  std::lock_guard<TIcsWndHandlerPool> g(pool);
  if (!FWndHandler) FWndHandler = pool.GetHandler(MessageCount(), FThreadId);
  if (!FWndHandler->Handle()) FWndHandler->AllocateHWnd();
  FHandle = FWndHandler->Handle();
  AllocateMessages();
}

void TIcsWndControl::DeallocateWindow() {
  if (!FHandle) return;
  auto& pool = TIcsWndHandlerPool::Instance();
  std::lock_guard<TIcsWndHandlerPool> g(pool);
  FreeMessages();
  if (FWndHandler && FWndHandler->UsedCount() == 0) pool.FreeHandler(FWndHandler);
  FHandle = nullptr;
  FWndHandler = nullptr;
  FThreadId = 0;
}

int TIcsWndControl::MessageCount() { return 1; }

void TIcsWndControl::AllocateMessages() { FMsgRelease = FWndHandler->AllocateMessage(this); }

void TIcsWndControl::FreeMessages() {
  if (FWndHandler) FWndHandler->FreeMessage(FMsgRelease);
}

void TIcsWndControl::ReleaseDeferred() { PostMessage(Handle(), FMsgRelease, 0, 0); }

void TIcsWndControl::AttachToThread() {
  if (FHandle) throw EIcsException("Cannot attach when not detached");
  AllocateWindow();
}

void TIcsWndControl::DetachFromThread() {
  if (GetCurrentThreadId() != FThreadId) throw EIcsException("Cannot detach from another thread");
  DeallocateWindow();
}

void TIcsWndControl::RunMessageLoop() {
  MSG msg;
  while (GetMessage(&msg, nullptr, 0, 0)) {
    TranslateMessage(&msg);
    DispatchMessage(&msg);
  }
  FTerminated = true;
}

bool TIcsWndControl::ProcessOneMessage() {
  MSG msg;
  if (!PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) return false;
  if (msg.message == WM_QUIT) {
    FTerminated = true;
    return true;
  }
  TranslateMessage(&msg);
  DispatchMessage(&msg);
  return true;
}

void TIcsWndControl::ProcessPendingMessages() {
  while (ProcessOneMessage()) {
  }
}

void TIcsWndControl::PumpMessages() {
  if (FMultiThreaded)
    ProcessPendingMessages();
  else
    IcsProcessApplicationMessages();
}

void IcsProcessApplicationMessages() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      gAppTerminated = true;
      PostQuitMessage(int(msg.wParam));
      break;
    }
    ProcessRetrievedMessage(msg);
  }
}

bool IcsApplicationTerminated() { return gAppTerminated; }

// ---------------------------------------------------------------------------------------------
// TIcsTimer

TIcsTimer::TIcsTimer(TComponent* AOwner) : TComponent(AOwner) {
  if (!AOwner) throw EIcsException("IcsTimer: Owner not assigned");
  FIcsWndControl = dynamic_cast<TIcsWndControl*>(AOwner);
  if (!FIcsWndControl) throw EIcsException("IcsTimer: Owner not assigned");
  std::lock_guard<std::mutex> g(gTimersLock);
  gTimers.insert(this);
}

TIcsTimer::~TIcsTimer() {
  {
    std::lock_guard<std::mutex> g(gTimersLock);
    gTimers.erase(this);
  }
  if (FIcsWndControl && FIcsWndControl->ThreadId() != 0) {
    FEnabled = false;
    UpdateTimer();
  }
}

bool TIcsTimer::IsTimer(const void* Ptr) {
  std::lock_guard<std::mutex> g(gTimersLock);
  return gTimers.count(Ptr) > 0;
}

void TIcsTimer::CheckWindow() const {
  if (FIcsWndControl->ThreadId() == 0) throw EIcsException("IcsTimer: No window available");
}

void TIcsTimer::SetEnabled(bool Value) {
  if (Value == FEnabled) return;
  CheckWindow();
  FEnabled = Value;
  UpdateTimer();
}

void TIcsTimer::SetInterval(DWORD Value) {
  if (Value == FInterval) return;
  CheckWindow();
  FInterval = Value;
  UpdateTimer();
}

void TIcsTimer::SetOnTimer(TNotifyEvent Value) {
  CheckWindow();
  FOnTimer = std::move(Value);
  UpdateTimer();
}

void TIcsTimer::UpdateTimer() {
  HWND wnd = FIcsWndControl->HandleValue();
  KillTimer(wnd, reinterpret_cast<UINT_PTR>(this));
  if (FInterval != 0 && FEnabled && FOnTimer) {
    if (!SetTimer(wnd, reinterpret_cast<UINT_PTR>(this), FInterval, nullptr)) {
      FEnabled = false;
      throw EIcsException("No more timers");
    }
  }
}
