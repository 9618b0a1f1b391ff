#include "net/IcsCustomWSocket.h"

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cstring>

#include "platform/win/WinSockMessages.h"

namespace {

bool IsWinsockCloseError(int e) {
  return e == WSAECONNRESET || e == WSAENOTSOCK || e == WSAENOTCONN || e == WSAEINVAL ||
         e == WSAECONNABORTED;
}

std::string SelfHex(const void* p) { return IntToHex(int64_t(uintptr_t(p) & 0xFFFFFFFF), 8); }

}  // namespace

TCustomWSocket::TCustomWSocket(TComponent* AOwner) : TIcsWndControl(AOwner) {
  FHSocket = INVALID_SOCKET;
  AcquireWindow();
  FBufHandler = std::make_unique<TIcsBufferHandler>(nullptr);
  FBufHandler->SetBufSize(1460);
  FMultiCastIpTTL = 1;
  FListenBacklog = 5;
  FMultiCastAddrStr.clear();
  FAddrStr.clear();
  FPortStr.clear();
  ResetToDefaults();
  AddWinsockUser();
}

TCustomWSocket::~TCustomWSocket() {
  TComponent::Destroying();
  try {
    CancelLookup();
  } catch (...) {
  }
  try {
    if (FState != wsClosed) Close();
  } catch (...) {
  }
  RemoveWinsockUser();
  if (FIcsLogger) FIcsLogger->RemoveFreeNotification(this);
  ShutdownWindowOnce();
}

int TCustomWSocket::MessageCount() { return TIcsWndControl::MessageCount() + 6; }

void TCustomWSocket::AllocateMessages() {
  TIcsWndControl::AllocateMessages();
  FMsg_WM_ASYNCSELECT = WndHandler()->AllocateMessage(this);
  FMsg_WM_ASYNCGETHOSTBYNAME = WndHandler()->AllocateMessage(this);
  FMsg_WM_ASYNCGETHOSTBYADDR = WndHandler()->AllocateMessage(this);
  FMsg_WM_CLOSE_DELAYED = WndHandler()->AllocateMessage(this);
  FMsg_WM_TRIGGER_EXCEPTION = WndHandler()->AllocateMessage(this);
  FMsg_WM_TRIGGER_DATA_AVAILABLE = WndHandler()->AllocateMessage(this);
}

void TCustomWSocket::FreeMessages() {
  if (TIcsWndHandler* h = WndHandler()) {
    h->FreeMessage(FMsg_WM_ASYNCSELECT);
    h->FreeMessage(FMsg_WM_ASYNCGETHOSTBYNAME);
    h->FreeMessage(FMsg_WM_ASYNCGETHOSTBYADDR);
    h->FreeMessage(FMsg_WM_CLOSE_DELAYED);
    h->FreeMessage(FMsg_WM_TRIGGER_EXCEPTION);
    h->FreeMessage(FMsg_WM_TRIGGER_DATA_AVAILABLE);
  }
  TIcsWndControl::FreeMessages();
}

void TCustomWSocket::AttachToThread() {
  TIcsWndControl::AttachToThread();
  if (FHSocket != INVALID_SOCKET)
    WSAAsyncSelect(FHSocket, HandleValue(), FMsg_WM_ASYNCSELECT, FSelectEvent);
}

void TCustomWSocket::DetachFromThread() {
  if (GetCurrentThreadId() == ThreadId() && FHSocket != INVALID_SOCKET)
    WSAAsyncSelect(FHSocket, HandleValue(), 0, 0);
  TIcsWndControl::DetachFromThread();
}

void TCustomWSocket::AbortAfterException() { Abort(); }

void TCustomWSocket::AcquireWindow() { AllocateWindow(); }
void TCustomWSocket::GiveBackWindow() { DeallocateWindow(); }

void TCustomWSocket::ResetToDefaults() {
  std::memset(&Fsin, 0, sizeof Fsin);
  Fsin.sin_family = AF_INET;
  FAddrFormat = AF_INET;
  FAddrResolved = FPortResolved = FProtoResolved = FLocalPortResolved = false;
  FAddrAssigned = FPortAssigned = false;
  FProtoAssigned = true;
  FProto = IPPROTO_TCP;
  FProtoStr = "tcp";
  FType = SOCK_STREAM;
  FLocalPortStr = "0";
  FLocalAddr = "0.0.0.0";
  FLingerOnOff = wsLingerOn;
  FLingerTimeout = 0;
  FHSocket = INVALID_SOCKET;
  FSelectEvent = 0;
  FState = wsClosed;
  FAllSent = true;
  FPaused = false;
  FCloseInvoked = false;
  FFlushTimeout = 60;
}

void TCustomWSocket::Notification(TComponent* AComponent, TOperation Operation) {
  TIcsWndControl::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FIcsLogger) FIcsLogger = nullptr;
}

void TCustomWSocket::SetIcsLogger(TIcsLogger* Value) {
  if (FIcsLogger) FIcsLogger->RemoveFreeNotification(this);
  FIcsLogger = Value;
  if (Value) Value->FreeNotification(this);
}

bool TCustomWSocket::LogOptionActive(TLogOption LogOption) {
  return FIcsLogger && FIcsLogger->LogOptions().Contains(LogOption);
}

void TCustomWSocket::WriteLog(TLogOption LogOption, const std::string& Msg) {
  if (FIcsLogger) FIcsLogger->WriteLine(this, LogOption, Msg);
}

void TCustomWSocket::RaiseOrReport(const std::string& Msg) {
  if (OnError)
    TriggerError();
  else
    throw ESocketException(Msg);
}

void TCustomWSocket::TriggerError() {
  if (OnError) OnError(this);
}

void TCustomWSocket::ReportWinsockFailure(const std::string& Operation) {
  int err = WSAGetLastError();
  std::string text = WinsockErrorText(err) + " (#" + IntToStr(err) + " in " + Operation + ")";
  if (err == WSAECONNRESET || err == WSAENOTCONN) {
    if (FHSocket != INVALID_SOCKET) ws::closesocket(FHSocket);
    FHSocket = INVALID_SOCKET;
    if (FState != wsClosed) TriggerSessionClosed(WORD(err));
    ChangeState(wsClosed);
  }
  FLastError = err;
  RaiseOrReport(text);
}

void TCustomWSocket::ChangeState(TSocketState NewState) {
  TSocketState old = FState;
  FState = NewState;
  if (old != NewState) TriggerChangeState(old, NewState);
}

// Addr, Port and Proto change only while closed; a new text must be resolved again.
bool TCustomWSocket::SetEndpointText(const std::string& Value, const char* Name, std::string& Text,
                                     bool& Assigned, bool& Resolved) {
  if (Value == Text && Assigned) return false;
  if (FState != wsClosed) {
    RaiseOrReport(std::string("Cannot change ") + Name + " if not closed");
    return false;
  }
  Text = Trim(Value);
  Resolved = false;
  Assigned = !Text.empty();
  return true;
}

void TCustomWSocket::SetAddr(const std::string& Value) {
  SetEndpointText(Value, "Addr", FAddrStr, FAddrAssigned, FAddrResolved);
}

void TCustomWSocket::SetPort(const std::string& Value) {
  SetEndpointText(Value, "Port", FPortStr, FPortAssigned, FPortResolved);
}

void TCustomWSocket::SetProto(const std::string& Value) {
  SetEndpointText(Value, "Proto", FProtoStr, FProtoAssigned, FProtoResolved);
}

void TCustomWSocket::SetLocalPort(const std::string& Value) {
  if (FState != wsClosed) {
    RaiseOrReport("Cannot change LocalPort if not closed");
    return;
  }
  FLocalPortStr = Value;
  FLocalPortResolved = false;
}

void TCustomWSocket::SetLocalAddr(const std::string& Value) {
  if (FState != wsClosed) {
    RaiseOrReport("Cannot change LocalAddr if not closed");
    return;
  }
  FLocalAddr = Value.empty() ? "0.0.0.0" : Value;
}

TSocketSendFlags TCustomWSocket::SendFlags() const {
  if (FSendFlags == 0) return wsSendNormal;
  if (FSendFlags == MSG_OOB) return wsSendUrgent;
  throw ESocketException("Invalid internal SendFlags");
}

void TCustomWSocket::SetSendFlags(TSocketSendFlags Value) {
  switch (Value) {
    case wsSendNormal:
      FSendFlags = 0;
      break;
    case wsSendUrgent:
      FSendFlags = MSG_OOB;
      break;
    default:
      RaiseOrReport("Invalid SendFlags");
  }
}

BYTE TCustomWSocket::ReqVerLow() const { return WSocketReqVerLow(); }
BYTE TCustomWSocket::ReqVerHigh() const { return WSocketReqVerHigh(); }

void TCustomWSocket::SetReqVerLow(BYTE Value) {
  if (Value == WSocketReqVerLow()) return;
  if (!SetWSocketReqVer(Value, WSocketReqVerHigh())) {
    WSASetLastError(WSAEINVAL);
    ReportWinsockFailure("SetReqVerLow: WinSock version can't be changed now");
  }
}

void TCustomWSocket::SetReqVerHigh(BYTE Value) {
  if (Value == WSocketReqVerHigh()) return;
  if (!SetWSocketReqVer(WSocketReqVerLow(), Value)) {
    WSASetLastError(WSAEINVAL);
    ReportWinsockFailure("SetReqVerHigh: WinSock version can't be changed now");
  }
}

int TCustomWSocket::ChunkSize() { return FBufHandler->BufSize(); }
void TCustomWSocket::SetChunkSize(int Size) { FBufHandler->SetBufSize(Size); }

void TCustomWSocket::SetReceiveBufferSize(int Size) {
  if (ws::setsockopt(FHSocket, SOL_SOCKET, SO_RCVBUF, &Size, sizeof Size) == SOCKET_ERROR)
    ReportWinsockFailure("setsockopt(SO_RCVBUF)");
}

void TCustomWSocket::SetSendBufferSize(int Size) {
  if (ws::setsockopt(FHSocket, SOL_SOCKET, SO_SNDBUF, &Size, sizeof Size) == SOCKET_ERROR)
    ReportWinsockFailure("setsockopt(SO_SNDBUF)");
}

void TCustomWSocket::ApplyLinger() {
  if (FLingerOnOff == wsLingerNoSet) return;
  if (FHSocket == INVALID_SOCKET) {
    RaiseOrReport("Cannot set linger option at this time");
    return;
  }
  linger l{};
  l.l_onoff = FLingerOnOff == wsLingerOn ? 1 : 0;
  l.l_linger = FLingerTimeout;
  // Lingering for no time would make every close a reset that throws away what is still
  // queued; a close stays graceful instead.
  if (l.l_onoff && l.l_linger <= 0) l.l_onoff = 0;
  if (ws::setsockopt(FHSocket, SOL_SOCKET, SO_LINGER, &l, sizeof l) == SOCKET_ERROR)
    ReportWinsockFailure("setsockopt(SO_LINGER)");
}

void TCustomWSocket::ApplyKeepAlive() {
  if (FKeepAliveOnOff == wsKeepAliveOff) return;
  int one = 1;
  if (FKeepAliveOnOff == wsKeepAliveOnSystem) {
    if (ws::setsockopt(FHSocket, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one) == SOCKET_ERROR)
      ReportWinsockFailure("setsockopt(SO_KEEPALIVE)");
    return;
  }
  int idle = std::max(1, FKeepAliveTime / 1000), intvl = std::max(1, FKeepAliveInterval / 1000);
  if (ws::setsockopt(FHSocket, SOL_SOCKET, SO_KEEPALIVE, &one, sizeof one) == SOCKET_ERROR ||
      ws::setsockopt(FHSocket, IPPROTO_TCP, TCP_KEEPIDLE, &idle, sizeof idle) == SOCKET_ERROR ||
      ws::setsockopt(FHSocket, IPPROTO_TCP, TCP_KEEPINTVL, &intvl, sizeof intvl) == SOCKET_ERROR)
    ReportWinsockFailure("WSocket_WSAIoctl(SIO_KEEPALIVE_VALS)");
}

void TCustomWSocket::BindLocal() {
  sockaddr_in la{};
  la.sin_family = AF_INET;
  la.sin_port = htons(FLocalPortNum);
  la.sin_addr.s_addr = ResolveHost(FLocalAddr);
  if (ws::bind(FHSocket, reinterpret_cast<sockaddr*>(&la), sizeof la) == SOCKET_ERROR) {
    RaiseOrReport("Bind socket failed - " + WinsockErrorMessage(WSAGetLastError()));
    return;
  }
  int len = sizeof la;
  if (ws::getsockname(FHSocket, reinterpret_cast<sockaddr*>(&la), &len) == SOCKET_ERROR) {
    RaiseOrReport("Winsock get socket name failed - " + WinsockErrorMessage(WSAGetLastError()));
    return;
  }
  FLocalPortNum = ntohs(la.sin_port);
  FLocalPortStr = IntToStr(FLocalPortNum);
}

void TCustomWSocket::DropSendData() {
  FBufHandler->Enter();
  FBufHandler->DiscardAll();
  FBufHandler->Leave();
}

void TCustomWSocket::Connect() {
  if (FHSocket != INVALID_SOCKET && FState != wsClosed) {
    RaiseOrReport("Connect: Socket already in use");
    return;
  }
  if (!FPortAssigned) {
    RaiseOrReport("Connect: No Port Specified");
    return;
  }
  if (!FAddrAssigned) {
    RaiseOrReport("Connect: No IP Address Specified");
    return;
  }
  if (!FProtoAssigned) {
    RaiseOrReport("Connect: No Protocol Specified");
    return;
  }
  try {
    LoadWinsock();
    if (!FProtoResolved) {
      FProto = ResolveProto(FProtoStr);
      FType = FProto == IPPROTO_TCP ? SOCK_STREAM : FProto == IPPROTO_UDP ? SOCK_DGRAM : SOCK_RAW;
      FProtoResolved = true;
    }
    if (!FPortResolved) {
      FPortNum = ResolvePort(FPortStr, FProtoStr);
      Fsin.sin_port = htons(FPortNum);
      FPortResolved = true;
    }
    if (!FLocalPortResolved) {
      FLocalPortNum = ResolvePort(FLocalPortStr, FProtoStr);
      FLocalPortResolved = true;
    }
    if (!FAddrResolved) {
      Fsin.sin_addr.s_addr = ResolveHost(FAddrStr);
      FAddrResolved = true;
    }
  } catch (Exception& E) {
    RaiseOrReport("connect: " + E.Message());
    return;
  }
  DropSendData();
  FHSocket = ws::socket(FAddrFormat, FType, FProto);
  if (FHSocket == INVALID_SOCKET) {
    ReportWinsockFailure("Connect (socket)");
    return;
  }
  int sz = 0, len = sizeof sz;
  if (ws::getsockopt(FHSocket, SOL_SOCKET, SO_SNDBUF, &sz, &len) == SOCKET_ERROR) {
    ReportWinsockFailure("getsockopt(SO_SNDBUF)");
    return;
  }
  len = sizeof sz;
  if (ws::getsockopt(FHSocket, SOL_SOCKET, SO_RCVBUF, &sz, &len) == SOCKET_ERROR) {
    ReportWinsockFailure("getsockopt(SO_RCVBUF)");
    return;
  }
  ChangeState(wsOpened);
  if (FState != wsOpened) {
    WSASetLastError(WSAEINVAL);
    ReportWinsockFailure("Connect (Invalid operation in OnChangeState)");
    return;
  }
  if (FType == SOCK_DGRAM) {
    BindLocal();
    if (FMultiCast) {
      if (FMultiCastIpTTL != 1) {
        unsigned char ttl = uint8_t(FMultiCastIpTTL);
        if (ws::setsockopt(FHSocket, IPPROTO_IP, IP_MULTICAST_TTL, &ttl, sizeof ttl) ==
            SOCKET_ERROR) {
          ReportWinsockFailure("setsockopt(IP_MULTICAST_TTL)");
          return;
        }
      }
      if (FLocalAddr != "0.0.0.0") {
        in_addr ia;
        ia.s_addr = ResolveHost(FLocalAddr);
        if (ws::setsockopt(FHSocket, IPPROTO_IP, IP_MULTICAST_IF, &ia, sizeof ia) == SOCKET_ERROR) {
          ReportWinsockFailure("setsockopt(IP_MULTICAST_IF)");
          return;
        }
      }
    }
    if (Fsin.sin_addr.s_addr == INADDR_BROADCAST) {
      int one = 1;
      if (ws::setsockopt(FHSocket, SOL_SOCKET, SO_BROADCAST, &one, sizeof one) == SOCKET_ERROR) {
        ReportWinsockFailure("setsockopt(SO_BROADCAST)");
        return;
      }
    }
  } else {
    int one = 1;
    if (ws::setsockopt(FHSocket, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) == SOCKET_ERROR) {
      ReportWinsockFailure("setsockopt(SO_REUSEADDR)");
      return;
    }
    if (FComponentOptions.Contains(wsoTcpNoDelay) &&
        ws::setsockopt(FHSocket, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one) == SOCKET_ERROR) {
      ReportWinsockFailure("setsockopt(IPPROTO_TCP, TCP_NODELAY)");
      return;
    }
    ApplyLinger();
    ApplyKeepAlive();
    if (FLocalPortNum != 0 || FLocalAddr != "0.0.0.0") BindLocal();
  }
  FSelectEvent = FD_READ | FD_WRITE | FD_CLOSE | FD_ACCEPT | FD_CONNECT;
  if (WSAAsyncSelect(FHSocket, Handle(), FMsg_WM_ASYNCSELECT, FSelectEvent) == SOCKET_ERROR) {
    ReportWinsockFailure("WSAAsyncSelect");
    return;
  }
  if (FType == SOCK_DGRAM) {
    ChangeState(wsConnected);
    TriggerConnectStage(0);
    return;
  }
  if (LogOptionActive(loWsockInfo))
    WriteLog(loWsockInfo, "TWSocket will connect to " + DottedAddress(Fsin.sin_addr.s_addr) + ":" +
                              IntToStr(ntohs(Fsin.sin_port)));
  if (ws::connect(FHSocket, reinterpret_cast<sockaddr*>(&Fsin), sizeof Fsin) == 0 ||
      WSAGetLastError() == WSAEWOULDBLOCK) {
    ChangeState(wsConnecting);
  } else {
    FLastError = WSAGetLastError();
    ReportWinsockFailure("Connect");
  }
}

void TCustomWSocket::Listen() {
  const char* missing = !FPortAssigned    ? "listen: port not assigned"
                        : !FProtoAssigned ? "listen: protocol not assigned"
                        : !FAddrAssigned  ? "listen: address not assigned"
                                          : nullptr;
  if (missing) {
    WSASetLastError(WSAEINVAL);
    ReportWinsockFailure(missing);
    return;
  }
  try {
    LoadWinsock();
    if (!FProtoResolved) {
      if (UpperCase(FProtoStr.substr(0, 4)) == "RAW_") {
        FType = SOCK_RAW;
        FProto = ResolveProto(FProtoStr.substr(4, 10));
      } else {
        FProto = ResolveProto(FProtoStr);
        FType = FProto == IPPROTO_UDP ? SOCK_DGRAM : SOCK_STREAM;
      }
      FProtoResolved = true;
    }
    if (!FPortResolved) {
      FPortNum = ResolvePort(FPortStr, FProtoStr);
      Fsin.sin_port = htons(FPortNum);
      FPortResolved = true;
    }
    if (!FAddrResolved) {
      Fsin.sin_addr.s_addr = ResolveHost(FAddrStr);
      FAddrResolved = true;
    }
  } catch (Exception& E) {
    RaiseOrReport("listen: " + E.Message());
    return;
  }
  DropSendData();
  FHSocket = ws::socket(FAddrFormat, FType, FProto);
  if (FHSocket == INVALID_SOCKET) {
    ReportWinsockFailure("socket");
    return;
  }
  if (FType == SOCK_DGRAM && FReuseAddr) {
    int one = 1;
    if (ws::setsockopt(FHSocket, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one) == SOCKET_ERROR) {
      ReportWinsockFailure("setsockopt(SO_REUSEADDR)");
      Close();
      return;
    }
  }
  if (FType == SOCK_STREAM) {
    // A listener restarted at once must be able to take its port again.
    int one = 1;
    ws::setsockopt(FHSocket, SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  }
  if (ws::bind(FHSocket, reinterpret_cast<sockaddr*>(&Fsin), sizeof Fsin) == SOCKET_ERROR) {
    int err = WSAGetLastError();
    ws::closesocket(FHSocket);
    FHSocket = INVALID_SOCKET;
    WSASetLastError(err);
    ReportWinsockFailure("Bind");
    return;
  }
  ChangeState(wsBound);
  if (FType == SOCK_STREAM) {
    if (ws::listen(FHSocket, FListenBacklog) == SOCKET_ERROR) {
      ReportWinsockFailure("Listen");
      return;
    }
    ChangeState(wsListening);
  } else if (FType == SOCK_DGRAM || FType == SOCK_RAW) {
    if (FType == SOCK_DGRAM && FMultiCast) {
      ip_mreq mreq{};
      mreq.imr_multiaddr.s_addr = ws::inet_addr(FMultiCastAddrStr.c_str());
      mreq.imr_interface.s_addr = ResolveHost(FAddrStr);
      if (ws::setsockopt(FHSocket, IPPROTO_IP, IP_ADD_MEMBERSHIP, &mreq, sizeof mreq) ==
          SOCKET_ERROR) {
        ReportWinsockFailure("setsockopt(IP_ADD_MEMBERSHIP)");
        return;
      }
    }
    ChangeState(wsListening);
    ChangeState(wsConnected);
    TriggerConnectStage(0);
  } else {
    RaiseOrReport("Listen: unexpected protocol.");
    return;
  }
  FSelectEvent =
      FType == SOCK_STREAM ? (FD_ACCEPT | FD_CLOSE) : (FD_READ | FD_WRITE | FD_ACCEPT | FD_CLOSE);
  if (FHSocket != INVALID_SOCKET &&
      WSAAsyncSelect(FHSocket, Handle(), FMsg_WM_ASYNCSELECT, FSelectEvent) == SOCKET_ERROR)
    ReportWinsockFailure("WSAASyncSelect");
}

SOCKET TCustomWSocket::Accept() {
  if (FState != wsListening) {
    WSASetLastError(WSAEINVAL);
    ReportWinsockFailure("not a listening socket");
    return INVALID_SOCKET;
  }
  int len = sizeof Fsin;
  SOCKET s = ws::accept(FHSocket, reinterpret_cast<sockaddr*>(&Fsin), &len);
  if (s == INVALID_SOCKET) ReportWinsockFailure("Accept");
  return s;
}

void TCustomWSocket::Dup(SOCKET NewHSocket) {
  if (NewHSocket == 0 || NewHSocket == INVALID_SOCKET) {
    WSASetLastError(WSAEINVAL);
    ReportWinsockFailure("Dup");
    return;
  }
  if (FState != wsClosed) {
    if (ws::closesocket(FHSocket) == SOCKET_ERROR) {
      ReportWinsockFailure("Dup (closesocket)");
      return;
    }
    ChangeState(wsClosed);
  }
  LoadWinsock();
  FHSocket = NewHSocket;
  int sz = 0, len = sizeof sz;
  if (ws::getsockopt(FHSocket, SOL_SOCKET, SO_SNDBUF, &sz, &len) == SOCKET_ERROR) {
    ReportWinsockFailure("getsockopt(SO_SNDBUF)");
    return;
  }
  len = sizeof sz;
  if (ws::getsockopt(FHSocket, SOL_SOCKET, SO_RCVBUF, &sz, &len) == SOCKET_ERROR) {
    ReportWinsockFailure("getsockopt(SO_RCVBUF)");
    return;
  }
  ApplyLinger();
  ApplyKeepAlive();
  FSelectEvent = FD_READ | FD_WRITE | FD_CLOSE;
  if (WSAAsyncSelect(FHSocket, Handle(), FMsg_WM_ASYNCSELECT, FSelectEvent) == SOCKET_ERROR) {
    ReportWinsockFailure("WSAAsyncSelect");
    return;
  }
  EnterConnected();
}

void TCustomWSocket::EnterConnected() { ChangeState(wsConnected); }

void TCustomWSocket::WindowProcedure(TMessage& MsgRec) {
  try {
    if (MsgRec.Msg == FMsg_WM_ASYNCSELECT)
      HandleSelectMessage(MsgRec.WParam, MsgRec.LParam);
    else if (MsgRec.Msg == FMsg_WM_ASYNCGETHOSTBYNAME)
      HandleLookupDone(MsgRec, false);
    else if (MsgRec.Msg == FMsg_WM_ASYNCGETHOSTBYADDR)
      HandleLookupDone(MsgRec, true);
    else if (MsgRec.Msg == FMsg_WM_CLOSE_DELAYED)
      Close();
    else if (MsgRec.Msg == FMsg_WM_TRIGGER_EXCEPTION)
      throw ESocketException("Test exception in WSocket");
    else
      TIcsWndControl::WindowProcedure(MsgRec);
  } catch (Exception& E) {
    HandleEventException(E);
  }
}

void TCustomWSocket::HandleEventException(Exception& E) { TIcsWndControl::HandleEventException(E); }

void TCustomWSocket::HandleSelectMessage(WPARAM WParam, LPARAM LParam) {
  if (SOCKET(WParam) != FHSocket || FPaused) return;
  WORD event = LOWORD(uintptr_t(LParam));
  WORD err = HIWORD(uintptr_t(LParam));
  TWeakLink<TCustomWSocket> self(this);
  if (event & FD_CONNECT) HandleConnectEvent(err);
  if (!self || SOCKET(WParam) != FHSocket) return;
  if (event & FD_READ) HandleReadEvent(err);
  if (!self || SOCKET(WParam) != FHSocket) return;
  if (event & FD_WRITE) HandleWriteEvent(err);
  if (!self || SOCKET(WParam) != FHSocket) return;
  if (event & FD_ACCEPT) HandleAcceptEvent(err);
  if (!self || SOCKET(WParam) != FHSocket) return;
  if (event & FD_CLOSE) HandleCloseEvent(err);
}

void TCustomWSocket::HandleConnectEvent(WORD ErrCode) {
  if (FState == wsConnected) return;
  TWeakLink<TCustomWSocket> self(this);
  ChangeState(wsConnected);
  TriggerConnectStage(ErrCode);
  if (self && ErrCode != 0 && FState != wsClosed) Close();
}

void TCustomWSocket::HandleReadEvent(WORD ErrCode) {
  TWeakLink<TCustomWSocket> self(this);
  if (FState != wsConnected) {
    ChangeState(wsConnected);
    TriggerConnectStage(ErrCode);
    if (!self) return;
  }
  ReceiveLoop(ErrCode, FComponentOptions);
}

void TCustomWSocket::HandleWriteEvent(WORD ErrCode) {
  TWeakLink<TCustomWSocket> self(this);
  TryToSend();
  if (self && FBufHandler->HasNoData()) TriggerDataSent(ErrCode);
}

void TCustomWSocket::HandleAcceptEvent(WORD ErrCode) { TriggerSessionAvailable(ErrCode); }

void TCustomWSocket::HandleCloseEvent(WORD ErrCode) {
  if (FState == wsConnecting || FHSocket == INVALID_SOCKET) return;
  TWeakLink<TCustomWSocket> self(this);
  TWSocketOptions opts = FComponentOptions;
  opts.Exclude(wsoNoReceiveLoop);
  ReceiveLoop(0, opts);
  if (!self) return;
  if (!FCloseInvoked) {
    FCloseInvoked = true;
    TriggerSessionClosed(ErrCode);
    if (!self) return;
  }
  if (FState != wsClosed) Close();
}

void TCustomWSocket::ReceiveLoop(WORD ErrCode, TWSocketOptions Options) {
  TWeakLink<TCustomWSocket> self(this);
  try {
    for (;;) {
      FLastError = 0;
      int callsBefore = FRecvCalls;
      if (!TriggerDataAvailable(ErrCode)) {
        if (!self || FHSocket == INVALID_SOCKET) return;
        char scratch[1024];
        int n = ws::recv(FHSocket, scratch, sizeof scratch, 0);
        ++FRecvCalls;
        if (n < 0) {
          int e = WSAGetLastError();
          if (e == WSAEWOULDBLOCK) {
            FLastError = 0;
            break;
          }
          FLastError = e;
        }
      }
      if (!self || FHSocket == INVALID_SOCKET) return;
      if (Options.Contains(wsoNoReceiveLoop) || FPaused) break;
      if (FLastError != 0) {
        if (FLastError == -1) FLastError = 0;
        break;
      }
      // A handler that read nothing would be offered the same bytes forever; the next read
      // notification offers them again.
      if (FRecvCalls == callsBefore) break;
      unsigned long cnt = 0;
      if (ws::ioctlsocket(FHSocket, long(FIONREAD), &cnt) == SOCKET_ERROR) {
        FLastError = WSAGetLastError();
        break;
      }
      if (cnt == 0) break;
    }
  } catch (...) {
  }
}

bool TCustomWSocket::TriggerDataAvailable(WORD ErrCode) {
  if (!OnDataAvailable) return false;
  OnDataAvailable(this, ErrCode);
  return true;
}

void TCustomWSocket::TriggerSessionAvailable(WORD ErrCode) {
  if (OnSessionAvailable) OnSessionAvailable(this, ErrCode);
}

void TCustomWSocket::TriggerConnectStage(WORD ErrCode) { TriggerSessionConnected(ErrCode); }

void TCustomWSocket::TriggerSessionConnected(WORD ErrCode) {
  if (OnSessionConnected) OnSessionConnected(this, ErrCode);
}

void TCustomWSocket::TriggerSessionClosed(WORD ErrCode) {
  if (OnSessionClosed) OnSessionClosed(this, ErrCode);
}

void TCustomWSocket::TriggerDataSent(WORD ErrCode) {
  if (LogOptionActive(loWsockDump))
    WriteLog(loWsockDump, SelfHex(this) + " TriggerDataSent " + IntToStr(int64_t(FHSocket)));
  if (OnDataSent) OnDataSent(this, ErrCode);
}

void TCustomWSocket::TriggerChangeState(TSocketState OldState, TSocketState NewState) {
  if (OnChangeState) OnChangeState(this, OldState, NewState);
}

void TCustomWSocket::TriggerDnsLookupDone(WORD ErrCode) {
  if (OnDnsLookupDone) OnDnsLookupDone(this, ErrCode);
}

int TCustomWSocket::RecvRaw(void* Buffer, int Len) {
  ++FRecvCalls;
  return ws::recv(FHSocket, Buffer, Len, 0);
}

int TCustomWSocket::RecvFromRaw(void* Buffer, int Len, sockaddr_in& From, int& FromLen) {
  ++FRecvCalls;
  return ws::recvfrom(FHSocket, Buffer, Len, 0, reinterpret_cast<sockaddr*>(&From), &FromLen);
}

int TCustomWSocket::Receive(void* Buffer, int Len) {
  int n = RecvRaw(Buffer, Len);
  if (n < 0) FLastError = WSAGetLastError();
  return n;
}

int TCustomWSocket::ReceiveFrom(void* Buffer, int Len, sockaddr_in& From, int& FromLen) {
  int n = RecvFromRaw(Buffer, Len, From, FromLen);
  if (n < 0) FLastError = WSAGetLastError();
  return n;
}

std::string TCustomWSocket::ReceiveText() {
  int n = PendingByteCount();
  if (n < 0) return {};
  if (n == 0) n = 255;
  std::string s(size_t(n), '\0');
  int got = Receive(s.data(), n);
  if (got < 1) return {};
  s.resize(size_t(got));
  return s;
}

int TCustomWSocket::PendingByteCount() {
  if (ComponentState().Contains(csDesigning)) return -1;
  unsigned long n = 0;
  if (ws::ioctlsocket(FHSocket, long(FIONREAD), &n) == SOCKET_ERROR) {
    ReportWinsockFailure("ioctlSocket");
    return -1;
  }
  return int(n);
}

void TCustomWSocket::QueueData(const void* Data, int Len) {
  if (Len <= 0 || !Data) return;
  FBufHandler->Enter();
  FBufHandler->Append(Data, Len);
  FAllSent = false;
  FBufHandler->Leave();
}

void TCustomWSocket::QueueText(const std::string& Str) { QueueData(Str.data(), int(Str.size())); }

int TCustomWSocket::Send(const void* Data, int Len) {
  if (FState != wsConnected && FState != wsSocksConnected) {
    WSASetLastError(WSAENOTCONN);
    ReportWinsockFailure("Send");
    return -1;
  }
  FAllSent = false;
  if (Len > 0)
    QueueData(Data, Len);
  else
    Len = 0;
  TWeakLink<TCustomWSocket> self(this);
  TryToSend();
  if (self && FHSocket != INVALID_SOCKET && FBufHandler->HasNoData())
    PostMessage(HandleValue(), FMsg_WM_ASYNCSELECT, WPARAM(FHSocket), MAKELPARAM(FD_WRITE, 0));
  return Len;
}

int TCustomWSocket::SendText(const std::string& Str) {
  if (Str.empty()) return 0;
  return Send(Str.data(), int(Str.size()));
}

int TCustomWSocket::SendByte(BYTE Value) { return Send(&Value, 1); }

int TCustomWSocket::SendTo(const sockaddr_in& Dest, int DestLen, const void* Data, int Len) {
  sockaddr_in d = Dest;
  int n = ws::sendto(FHSocket, Data, Len, FSendFlags, reinterpret_cast<sockaddr*>(&d), DestLen);
  if (n > 0) {
    if (OnSendData) OnSendData(this, n);
    if (FType == SOCK_DGRAM && FBufHandler->HasNoData())
      PostMessage(HandleValue(), FMsg_WM_ASYNCSELECT, WPARAM(FHSocket), MAKELPARAM(FD_WRITE, 0));
  }
  return n;
}

int TCustomWSocket::RawSend(const void* Data, int Len) {
  int n = FType == SOCK_DGRAM ? ws::sendto(FHSocket, Data, Len, FSendFlags,
                                           reinterpret_cast<sockaddr*>(&Fsin), sizeof Fsin)
                              : ws::send(FHSocket, Data, Len, FSendFlags);
  if (n > 0 && OnSendData) OnSendData(this, n);
  return n;
}

void TCustomWSocket::TryToSend() {
  FBufHandler->Enter();
  struct TLeave {
    TIcsBufferHandler* H;
    ~TLeave() { H->Leave(); }
  } leave{FBufHandler.get()};
  if (FHSocket == INVALID_SOCKET || FBufHandler->HasNoData()) {
    FAllSent = true;
    return;
  }
  for (;;) {
    const uint8_t* p = nullptr;
    int len = FBufHandler->FirstUnread(p);
    if (len <= 0) {
      FAllSent = true;
      return;
    }
    int count = RawSend(p, len);
    if (count > 0) {
      FBufHandler->Remove(count);
      // A partly accepted piece is followed at once by the next try, which either sends more
      // or would block and so asks to be told when there is room again.
      continue;
    }
    if (count == 0) return;
    int err = WSAGetLastError();
    if (err == WSAEWOULDBLOCK) return;
    if (IsWinsockCloseError(err)) {
      if (LogOptionActive(loWsockErr))
        WriteLog(loWsockErr, Name() + " Winsock Send failed - " + WinsockErrorMessage(err));
      FCloseInvoked = true;
      TWeakLink<TCustomWSocket> self(this);
      Close();
      if (self) TriggerSessionClosed(WORD(err));
      return;
    }
    ReportWinsockFailure("TryToSend failed");
    return;
  }
}

void TCustomWSocket::FlushSendBuffer() {
  TWeakLink<TCustomWSocket> self(this);
  while (self && FHSocket != INVALID_SOCKET && !FBufHandler->HasNoData()) {
    TryToSend();
    if (!self) return;
    PumpMessages();
  }
}

void TCustomWSocket::Shutdown(int How) {
  if (LogOptionActive(loWsockInfo))
    WriteLog(loWsockInfo, SelfHex(this) + " TCustomWSocket.Shutdown " + IntToStr(How) + " " +
                              IntToStr(int64_t(FHSocket)));
  if (FHSocket != INVALID_SOCKET) ws::shutdown(FHSocket, How);
}

void TCustomWSocket::CloseConnection(bool Shut, WORD ErrCode) {
  if (FHSocket == INVALID_SOCKET) {
    if (FState != wsClosed) {
      ChangeState(wsClosed);
      ResetToDefaults();
    }
    return;
  }
  if (FState == wsClosed) return;
  if (Shut) Shutdown(1);
  TWeakLink<TCustomWSocket> self(this);
  while (ws::closesocket(FHSocket) == SOCKET_ERROR) {
    int e = WSAGetLastError();
    if (e == WSAEWOULDBLOCK) {
      PumpMessages();
      if (!self) return;
      continue;
    }
    FLastError = e;
    FHSocket = INVALID_SOCKET;
    if (e != WSANOTINITIALISED) {
      ReportWinsockFailure("Disconnect (closesocket)");
      return;
    }
    break;
  }
  FHSocket = INVALID_SOCKET;
  ChangeState(wsClosed);
  if (!self) return;
  if (!IsDestroying() && !FCloseInvoked) {
    FCloseInvoked = true;
    TriggerSessionClosed(ErrCode);
    if (!self) return;
  }
  try {
    ResetToDefaults();
  } catch (...) {
  }
}

void TCustomWSocket::Close() { CloseConnection(true, 0); }

void TCustomWSocket::CloseLater() { PostMessage(Handle(), FMsg_WM_CLOSE_DELAYED, 0, 0); }

void TCustomWSocket::Abort() { AbortWithCode(0); }

void TCustomWSocket::AbortWithCode(WORD ErrCode) {
  try {
    CancelLookup();
  } catch (...) {
  }
  DropSendData();
  if (FState == wsConnected && FProto == IPPROTO_TCP && FHSocket != INVALID_SOCKET) {
    FLingerOnOff = wsLingerOff;
    try {
      ApplyLinger();
    } catch (...) {
    }
  }
  CloseConnection(false, ErrCode);
}

void TCustomWSocket::DrainUntilClosed() {
  TWeakLink<TCustomWSocket> self(this);
  while (self && FHSocket != INVALID_SOCKET && FState != wsClosed) {
    PumpMessages();
    if (!self || FHSocket == INVALID_SOCKET) return;
    unsigned long n = 0;
    if (ws::ioctlsocket(FHSocket, long(FIONREAD), &n) == SOCKET_ERROR) return;
    if (n > 0) {
      TriggerDataAvailable(0);
      if (!self || FHSocket == INVALID_SOCKET) return;
    }
    char c;
    if (ws::recv(FHSocket, &c, 1, 0) < 0) {
      int e = WSAGetLastError();
      if (e != WSAEWOULDBLOCK) {
        FLastError = e;
        return;
      }
    }
    PumpMessages();
  }
}

void TCustomWSocket::Pause() {
  FPaused = true;
  if (FHSocket != INVALID_SOCKET) WSAAsyncSelect(FHSocket, HandleValue(), 0, 0);
}

void TCustomWSocket::Resume() {
  FPaused = false;
  if (FHSocket != INVALID_SOCKET)
    WSAAsyncSelect(FHSocket, Handle(), FMsg_WM_ASYNCSELECT, FSelectEvent);
}

void TCustomWSocket::DnsLookup(const std::string& HostName) {
  if (HostName.empty()) {
    RaiseOrReport("DNS lookup: invalid host name.");
    TriggerDnsLookupDone(WSAEINVAL);
    return;
  }
  if (FDnsLookupHandle) {
    WSACancelAsyncRequest(FDnsLookupHandle);
    FDnsLookupHandle = 0;
  }
  FLookupResult.clear();
  FLookupResultList.clear();
  LoadWinsock();
  uint32_t a = ws::inet_addr(HostName.c_str());
  if (a != INADDR_NONE || HostName == "255.255.255.255") {
    FLookupResult = DottedAddress(a);
    FLookupResultList.push_back(FLookupResult);
    TriggerDnsLookupDone(0);
    return;
  }
  if (!HandleValue()) {
    RaiseOrReport("DnsLookup: Window not assigned");
    return;
  }
  FDnsLookupHandle =
      WSAAsyncGetHostByName(HandleValue(), FMsg_WM_ASYNCGETHOSTBYNAME, HostName.c_str(),
                            FDnsLookupBuffer.data(), int(FDnsLookupBuffer.size()));
  if (FDnsLookupHandle == 0)
    RaiseOrReport(HostName + ": can't start DNS lookup - " +
                  WinsockErrorMessage(WSAGetLastError()));
}

void TCustomWSocket::ReverseLookup(const std::string& IpText) {
  if (IpText.empty()) {
    RaiseOrReport("Reverse DNS Lookup: Invalid host name.");
    TriggerDnsLookupDone(WSAEINVAL);
    return;
  }
  if (FDnsLookupHandle) {
    WSACancelAsyncRequest(FDnsLookupHandle);
    FDnsLookupHandle = 0;
  }
  FLookupResult.clear();
  FLookupResultList.clear();
  if (!HandleValue()) {
    RaiseOrReport("Reverse DNS Lookup: Window not assigned");
    return;
  }
  LoadWinsock();
  uint32_t a = ws::inet_addr(IpText.c_str());
  FDnsLookupHandle = WSAAsyncGetHostByAddr(HandleValue(), FMsg_WM_ASYNCGETHOSTBYADDR,
                                           reinterpret_cast<const char*>(&a), 4, AF_INET,
                                           FDnsLookupBuffer.data(), int(FDnsLookupBuffer.size()));
  if (FDnsLookupHandle == 0)
    RaiseOrReport(IpText + ": can't start reverse DNS lookup - " +
                  WinsockErrorMessage(WSAGetLastError()));
}

void TCustomWSocket::ReverseLookupBlocking(const std::string& IpText) {
  if (IpText.empty() || IpText.size() > 256) {
    RaiseOrReport("Reverse DNS Lookup: Invalid host name.");
    TriggerDnsLookupDone(WSAEINVAL);
    return;
  }
  FLookupResult.clear();
  FLookupResultList.clear();
  LoadWinsock();
  uint32_t a = ws::inet_addr(IpText.c_str());
  hostent* he = ws::gethostbyaddr(&a, 4, AF_INET);
  if (!he) {
    TriggerDnsLookupDone(WORD(WSAGetLastError()));
    return;
  }
  FLookupResult = he->h_name;
  FLookupResultList.push_back(he->h_name);
  for (char** p = he->h_aliases; p && *p; ++p)
    if (**p) FLookupResultList.push_back(*p);
  TriggerDnsLookupDone(0);
}

void TCustomWSocket::HandleLookupDone(TMessage& Msg, bool Reverse) {
  if (FDnsLookupHandle == 0 || Msg.WParam != FDnsLookupHandle) return;
  FDnsLookupHandle = 0;
  WORD err = HIWORD(uintptr_t(Msg.LParam));
  if (err == 0) {
    auto* he = reinterpret_cast<hostent*>(FDnsLookupBuffer.data());
    if (Reverse) {
      FLookupResult = he->h_name;
      FLookupResultList.push_back(he->h_name);
      for (char** p = he->h_aliases; p && *p; ++p)
        if (**p) FLookupResultList.push_back(*p);
    } else {
      for (char** p = he->h_addr_list; p && *p; ++p) {
        uint32_t a;
        std::memcpy(&a, *p, 4);
        FLookupResultList.push_back(DottedAddress(a));
      }
      if (!FLookupResultList.empty()) FLookupResult = FLookupResultList[0];
    }
  }
  TriggerDnsLookupDone(err);
}

void TCustomWSocket::CancelLookup() {
  if (FDnsLookupHandle == 0) return;
  if (WSACancelAsyncRequest(FDnsLookupHandle) == SOCKET_ERROR) {
    FDnsLookupHandle = 0;
    ReportWinsockFailure("WSACancelAsyncRequest");
    return;
  }
  FDnsLookupHandle = 0;
  if (!IsDestroying()) TriggerDnsLookupDone(WSAEINTR);
}

std::string TCustomWSocket::PeerAddress() {
  if (FState != wsConnected) return "error";
  sockaddr_in a{};
  int len = sizeof a;
  if (ws::getpeername(FHSocket, reinterpret_cast<sockaddr*>(&a), &len) == SOCKET_ERROR) {
    ReportWinsockFailure("GetPeerName");
    return "error";
  }
  return DottedAddress(a.sin_addr.s_addr);
}

std::string TCustomWSocket::PeerPort() {
  if (FState != wsConnected) return "error";
  sockaddr_in a{};
  int len = sizeof a;
  if (ws::getpeername(FHSocket, reinterpret_cast<sockaddr*>(&a), &len) == SOCKET_ERROR) {
    ReportWinsockFailure("GetPeerPort");
    return "error";
  }
  return IntToStr(ntohs(a.sin_port));
}

int TCustomWSocket::PeerName(sockaddr_in& Name, int& NameLen) {
  if (FState != wsConnected) return -1;
  return ws::getpeername(FHSocket, reinterpret_cast<sockaddr*>(&Name), &NameLen);
}

int TCustomWSocket::SockName(sockaddr_in& Name, int& NameLen) {
  return ws::getsockname(FHSocket, reinterpret_cast<sockaddr*>(&Name), &NameLen);
}

std::string TCustomWSocket::LocalPortText() {
  if (FState != wsBound && FState != wsConnected && FState != wsListening) return "error";
  sockaddr_in a{};
  int len = sizeof a;
  if (SockName(a, len) == SOCKET_ERROR) return "error";
  return IntToStr(ntohs(a.sin_port));
}

std::string TCustomWSocket::LocalAddressText() {
  if (FState != wsBound && FState != wsConnected && FState != wsListening) return "error";
  sockaddr_in a{};
  int len = sizeof a;
  if (SockName(a, len) == SOCKET_ERROR) return "error";
  return DottedAddress(a.sin_addr.s_addr);
}
