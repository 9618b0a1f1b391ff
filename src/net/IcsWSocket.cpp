#include "net/IcsWSocket.h"

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "platform/win/WinSockMessages.h"

// ---------------------------------------------------------------------------------------------
// The binding: one usage count per process; the library is started with the requested version
// on first need and cleaned up when the last socket goes.

namespace {

std::recursive_mutex gBindLock;
int gUsage = 0;
bool gLoaded = false;
BYTE gReqVerLow = 1;
BYTE gReqVerHigh = 1;

void LoadWinsock() {
  std::lock_guard<std::recursive_mutex> g(gBindLock);
  if (gLoaded) return;
  WSADATA data;
  int r = WSAStartup(WORD(gReqVerLow | (gReqVerHigh << 8)), &data);
  if (r != 0)
    throw ESocketException("Winsock startup error wsock32.dll - " + WinsockErrorText(r) + " (#" +
                           IntToStr(r) + ")");
  gLoaded = true;
}

void UnloadWinsock() {
  std::lock_guard<std::recursive_mutex> g(gBindLock);
  if (!gLoaded) return;
  WSACleanup();
  gLoaded = false;
}

std::string Dotted(uint32_t netOrder) {
  in_addr a;
  a.s_addr = netOrder;
  return ws::inet_ntoa(a);
}

bool IsWinsockCloseError(int e) {
  return e == WSAECONNRESET || e == WSAENOTSOCK || e == WSAENOTCONN || e == WSAEINVAL ||
         e == WSAECONNABORTED;
}

std::string SelfHex(const void* p) { return IntToHex(int64_t(uintptr_t(p) & 0xFFFFFFFF), 8); }

}  // namespace

BYTE WSocketReqVerLow() { return gReqVerLow; }
BYTE WSocketReqVerHigh() { return gReqVerHigh; }
bool WSocketLoaded() { return gLoaded; }

bool IsDottedIP(const std::string& S) {
  size_t i = 0, n = S.size();
  while (i < n && S[i] == ' ') ++i;
  if (i < n && S[i] == '.') return false;
  int dots = 0;
  long part = 0;
  while (i < n) {
    char c = S[i];
    if (c >= '0' && c <= '9') {
      part = std::min(part * 10 + (c - '0'), 100000L);
      ++i;
    } else if (c == '.') {
      if (dots == 3 || part > 255 || i + 1 >= n || !std::isdigit(uint8_t(S[i + 1]))) return false;
      ++dots;
      part = 0;
      ++i;
    } else {
      for (size_t j = i; j < n; ++j)
        if (S[j] != ' ') return false;
      break;
    }
  }
  return dots == 3 && part <= 255;
}

uint32_t ResolveHost(const std::string& InAddr) {
  if (InAddr.empty())
    throw ESocketException("Winsock Resolve Host: '" + InAddr + "' Invalid Hostname.");
  LoadWinsock();
  if (IsDottedIP(InAddr)) {
    uint32_t a = ws::inet_addr(Trim(InAddr).c_str());
    if (a == INADDR_NONE && Trim(InAddr) != "255.255.255.255")
      throw ESocketException("Winsock Resolve Host: '" + InAddr + "' Invalid IP address.");
    return a;
  }
  hostent* he = ws::gethostbyname(InAddr.c_str());
  if (!he)
    throw ESocketException("Winsock Resolve Host: Cannot convert host address '" + InAddr + "' - " +
                           WinsockErrorMessage(WSAGetLastError()));
  uint32_t a;
  std::memcpy(&a, he->h_addr_list[0], 4);
  return a;
}

uint16_t ResolvePort(const std::string& Port, const std::string& Proto) {
  if (Port.empty()) throw ESocketException("Winsock Resolve Port: Invalid Port.");
  if (Proto.empty()) throw ESocketException("Winsock Resolve Port: Invalid Proto.");
  if (std::isdigit(uint8_t(Port[0]))) {
    uint32_t v = 0;
    for (char c : Port) {
      if (!std::isdigit(uint8_t(c))) break;
      v = v * 10 + uint32_t(c - '0');
      if (v > 0xFFFFFF) v = 0xFFFFFF;
    }
    return uint16_t(v);
  }
  LoadWinsock();
  servent* se = ws::getservbyname(Port.c_str(), Proto.c_str());
  if (!se)
    throw ESocketException("Winsock Resolve Port: Cannot convert port '" + Port + "' - " +
                           WinsockErrorMessage(WSAGetLastError()));
  return ntohs(uint16_t(se->s_port));
}

int ResolveProto(const std::string& Proto) {
  if (Proto.empty()) throw ESocketException("Winsock Resolve Proto: Invalid Protocol.");
  if (std::isdigit(uint8_t(Proto[0]))) {
    int v = 0;
    for (char c : Proto) {
      if (!std::isdigit(uint8_t(c))) break;
      v = std::min(v * 10 + (c - '0'), 1 << 20);
    }
    return v;
  }
  std::string p = LowerCase(Trim(Proto));
  if (p == "tcp") return IPPROTO_TCP;
  if (p == "udp") return IPPROTO_UDP;
  if (p == "raw") return IPPROTO_RAW;
  LoadWinsock();
  protoent* pe = ws::getprotobyname(p.c_str());
  if (!pe)
    throw ESocketException("Winsock Resolve Proto: Cannot convert protocol '" + Proto + "' - " +
                           WinsockErrorMessage(WSAGetLastError()));
  return pe->p_proto;
}

std::string LocalHostName() {
  char buf[256];
  if (ws::gethostname(buf, sizeof buf) != 0) throw ESocketException("Winsock Get Host Name failed");
  return std::string(buf, strnlen(buf, sizeof buf));
}

std::string WinsockErrorText(int ErrCode) {
  switch (ErrCode) {
    case 0:
      return "No Error";
    case WSAEINTR:
      return "Interrupted system call";
    case WSAEBADF:
      return "Bad file number";
    case WSAEACCES:
      return "Permission denied";
    case WSAEFAULT:
      return "Bad address";
    case WSAEINVAL:
      return "Invalid argument";
    case WSAEMFILE:
      return "Too many open files";
    case WSAEWOULDBLOCK:
      return "Operation would block";
    case WSAEINPROGRESS:
      return "Operation now in progress";
    case WSAEALREADY:
      return "Operation already in progress";
    case WSAENOTSOCK:
      return "Socket operation on non-socket";
    case WSAEDESTADDRREQ:
      return "Destination address required";
    case WSAEMSGSIZE:
      return "Message too long";
    case WSAEPROTOTYPE:
      return "Protocol wrong type for socket";
    case WSAENOPROTOOPT:
      return "Protocol not available";
    case WSAEPROTONOSUPPORT:
      return "Protocol not supported";
    case WSAESOCKTNOSUPPORT:
      return "Socket type not supported";
    case WSAEOPNOTSUPP:
      return "Operation not supported on socket";
    case WSAEPFNOSUPPORT:
      return "Protocol family not supported";
    case WSAEAFNOSUPPORT:
      return "Address family not supported by protocol family";
    case WSAEADDRINUSE:
      return "Address already in use";
    case WSAEADDRNOTAVAIL:
      return "Address not available";
    case WSAENETDOWN:
      return "Network is down";
    case WSAENETUNREACH:
      return "Network is unreachable";
    case WSAENETRESET:
      return "Network dropped connection on reset";
    case WSAECONNABORTED:
      return "Connection aborted";
    case WSAECONNRESET:
      return "Connection reset by peer";
    case WSAENOBUFS:
      return "No buffer space available";
    case WSAEISCONN:
      return "Socket is already connected";
    case WSAENOTCONN:
      return "Socket is not connected";
    case WSAESHUTDOWN:
      return "Can't send after socket shutdown";
    case WSAETOOMANYREFS:
      return "Too many references: can't splice";
    case WSAETIMEDOUT:
      return "Connection timed out";
    case WSAECONNREFUSED:
      return "Connection refused";
    case WSAELOOP:
      return "Too many levels of symbolic links";
    case WSAENAMETOOLONG:
      return "File name too long";
    case WSAEHOSTDOWN:
      return "Host is down";
    case WSAEHOSTUNREACH:
      return "No route to host";
    case WSAENOTEMPTY:
      return "Directory not empty";
    case WSAEPROCLIM:
      return "Too many processes";
    case WSAEUSERS:
      return "Too many users";
    case WSAEDQUOT:
      return "Disc quota exceeded";
    case WSAESTALE:
      return "Stale NFS file handle";
    case WSAEREMOTE:
      return "Too many levels of remote in path";
    case WSASYSNOTREADY:
      return "Network sub-system is unusable";
    case WSAVERNOTSUPPORTED:
      return "WinSock DLL cannot support this application";
    case WSANOTINITIALISED:
      return "WinSock not initialized";
    case WSAHOST_NOT_FOUND:
      return "Host not found";
    case WSATRY_AGAIN:
      return "Non-authoritative host not found";
    case WSANO_RECOVERY:
      return "Non-recoverable error";
    case WSANO_DATA:
      return "No Data";
  }
  return "Not a WinSock error";
}

std::string WinsockErrorMessage(int ErrCode) {
  return WinsockErrorText(ErrCode) + " (#" + IntToStr(ErrCode) + ")";
}

// ---------------------------------------------------------------------------------------------
// TCustomWSocket

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
  std::lock_guard<std::recursive_mutex> g(gBindLock);
  ++gUsage;
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
  {
    std::lock_guard<std::recursive_mutex> g(gBindLock);
    if (--gUsage < 1) {
      gUsage = 0;
      UnloadWinsock();
    }
  }
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

BYTE TCustomWSocket::ReqVerLow() const { return gReqVerLow; }
BYTE TCustomWSocket::ReqVerHigh() const { return gReqVerHigh; }

void TCustomWSocket::SetReqVerLow(BYTE Value) {
  if (Value == gReqVerLow) return;
  if (gLoaded) {
    WSASetLastError(WSAEINVAL);
    ReportWinsockFailure("SetReqVerLow: WinSock version can't be changed now");
    return;
  }
  gReqVerLow = Value;
}

void TCustomWSocket::SetReqVerHigh(BYTE Value) {
  if (Value == gReqVerHigh) return;
  if (gLoaded) {
    WSASetLastError(WSAEINVAL);
    ReportWinsockFailure("SetReqVerHigh: WinSock version can't be changed now");
    return;
  }
  gReqVerHigh = Value;
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
    WriteLog(loWsockInfo, "TWSocket will connect to " + Dotted(Fsin.sin_addr.s_addr) + ":" +
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
    FLookupResult = Dotted(a);
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
        FLookupResultList.push_back(Dotted(a));
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
  return Dotted(a.sin_addr.s_addr);
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
  return Dotted(a.sin_addr.s_addr);
}

// ---------------------------------------------------------------------------------------------
// TCustomSocksWSocket

void TCustomSocksWSocket::SetSocksServer(const std::string& Value) {
  if (FState != wsClosed) {
    RaiseOrReport("Can't change socks server if not closed");
    return;
  }
  FSocksServer = Trim(Value);
  FSocksServerAssigned = !FSocksServer.empty();
}

void TCustomSocksWSocket::SetSocksLevel(const std::string& Value) {
  if (FState != wsClosed) {
    RaiseOrReport("Can't change socks level if not closed");
    return;
  }
  std::string v = UpperCase(Value);
  if (v != "4" && v != "5" && v != "4A") {
    RaiseOrReport("Invalid socks level. Must be 4, 4A or 5.");
    return;
  }
  FSocksLevel = v;
}

void TCustomSocksWSocket::SetSocksPort(const std::string& Value) {
  if (FState != wsClosed) {
    RaiseOrReport("Can't change socks port if not closed");
    return;
  }
  FSocksPort = Trim(Value);
}

void TCustomSocksWSocket::ResetToDefaults() {
  TCustomWSocket::ResetToDefaults();
  FSocksServer.clear();
  FSocksPort.clear();
  FSocksServerAssigned = false;
  FSocksLevel = "5";
  FSocksState = 0;
  FSocksRcvdCnt = 0;
}

void TCustomSocksWSocket::Connect() {
  if (!FSocksServerAssigned) {
    TCustomWSocket::Connect();
    return;
  }
  if (LowerCase(FProtoStr) != "tcp" && Trim(FProtoStr) != "6") {
    RaiseOrReport("TCP is the only protocol supported thru socks server");
    return;
  }
  // Lengths travel in one byte: longer texts are refused before anything goes out.
  if (FAddrStr.size() > 255) {
    RaiseOrReport("Connect: socks target address too long");
    return;
  }
  if (FSocksUsercode.size() > 255 || FSocksPassword.size() > 255) {
    RaiseOrReport("Connect: socks user code or password too long");
    return;
  }
  try {
    if (!FPortResolved) {
      FPortNum = ResolvePort(FSocksPort, FProtoStr);
      Fsin.sin_port = htons(FPortNum);
      FPortResolved = true;
    }
    if (!FAddrResolved) {
      Fsin.sin_addr.s_addr = ResolveHost(FSocksServer);
      FAddrResolved = true;
    }
    FSocksTargetPort = ResolvePort(FPortStr, FProtoStr);
    FSocksState = 1;
    FRcvCnt = 0;
    FSocksRcvdCnt = 0;
  } catch (Exception& E) {
    RaiseOrReport("Connect: " + E.Message());
    return;
  }
  TCustomWSocket::Connect();
}

void TCustomSocksWSocket::Listen() {
  if (FSocksServerAssigned) {
    RaiseOrReport("Listening is not supported thru socks server");
    return;
  }
  TCustomWSocket::Listen();
}

void TCustomSocksWSocket::TriggerSocksConnected(WORD ErrCode) {
  if (OnSocksConnected) OnSocksConnected(this, ErrCode);
}

void TCustomSocksWSocket::TriggerSocksError(int Error, const std::string& Msg) {
  if (OnSocksError) OnSocksError(this, Error, Msg);
}

void TCustomSocksWSocket::TriggerConnectStage(WORD ErrCode) {
  if (FSocksState != 1) {
    TCustomWSocket::TriggerConnectStage(ErrCode);
    return;
  }
  TWeakLink<TCustomSocksWSocket> self(this);
  TriggerSocksConnected(ErrCode);
  if (!self) return;
  if (ErrCode != 0) {
    TriggerSessionConnected(ErrCode);
    return;
  }
  if (FSocksLevel[0] == '4') {
    SocksDoConnect();
    return;
  }
  FSocksAuthNumber = FSocksAuthentication == socksAuthenticateUsercode ? 2 : 0;
  uint8_t greeting[3] = {5, 1, FSocksAuthNumber};
  try {
    Send(greeting, 3);
  } catch (...) {
  }
}

void TCustomSocksWSocket::SocksDoConnect() {
  FSocksState = 3;
  FRcvCnt = 0;
  std::string req;
  if (FSocksLevel[0] == '4') {
    uint32_t addr;
    if (FSocksLevel == "4A") {
      addr = htonl(1);
    } else {
      try {
        addr = ResolveHost(FAddrStr);
      } catch (Exception& E) {
        TWeakLink<TCustomSocksWSocket> self(this);
        TriggerSocksError(20017, E.ClassName() + " " + E.Message());
        if (self) CloseConnection(true, 20017);
        return;
      }
    }
    req += char(4);
    req += char(1);
    req += char(FSocksTargetPort >> 8);
    req += char(FSocksTargetPort & 0xFF);
    req.append(reinterpret_cast<const char*>(&addr), 4);
    req += FSocksUsercode;
    req += char(0);
    if (FSocksLevel == "4A") {
      req += FAddrStr;
      req += char(0);
    }
  } else {
    req += char(5);
    req += char(1);
    req += char(0);
    req += char(3);
    req += char(FAddrStr.size());
    req += FAddrStr;
    req += char(FSocksTargetPort >> 8);
    req += char(FSocksTargetPort & 0xFF);
  }
  try {
    SendText(req);
  } catch (...) {
  }
}

void TCustomSocksWSocket::SocksDoAuthenticate() {
  FSocksState = 2;
  FRcvCnt = 0;
  TWeakLink<TCustomSocksWSocket> self(this);
  if (OnSocksAuthState) OnSocksAuthState(this, socksAuthStart);
  if (!self) return;
  std::string req;
  req += char(1);
  req += char(FSocksUsercode.size());
  req += FSocksUsercode;
  req += char(FSocksPassword.size());
  req += FSocksPassword;
  try {
    SendText(req);
  } catch (...) {
  }
}

void TCustomSocksWSocket::SocksFail(int Code, const std::string& Msg) {
  TWeakLink<TCustomSocksWSocket> self(this);
  TriggerSocksError(Code, Msg);
  if (!self) return;
  FSocksState = 0;
  TriggerConnectStage(WORD(Code));
  if (!self) return;
  CloseConnection(true, WORD(Code));
}

bool TCustomSocksWSocket::TriggerDataAvailable(WORD ErrCode) {
  if (FSocksState == 0) return TCustomWSocket::TriggerDataAvailable(ErrCode);
  if (ErrCode != 0) {
    SocksFail(ErrCode, "data receive error");
    return true;
  }
  bool v4 = FSocksLevel[0] == '4';
  int limit = (v4 && FSocksState == 3) ? 8 : int(FRcvBuf.size());
  if (FSocksState == 1) limit = 2;
  if (FRcvCnt >= limit) return true;
  int n = TCustomWSocket::RecvRaw(FRcvBuf.data() + FRcvCnt, limit - FRcvCnt);
  if (n <= 0) return true;
  FRcvCnt += n;
  TWeakLink<TCustomSocksWSocket> self(this);
  switch (FSocksState) {
    case 1: {
      if (v4) {
        SocksFail(20001, "TWSocket logic error");
        return true;
      }
      if (FRcvCnt < 2) return true;
      FRcvCnt = 0;
      if (FRcvBuf[0] != 5) {
        SocksFail(20002, "socks version error");
      } else if (FRcvBuf[1] == 0) {
        if (FSocksAuthNumber == 2 && OnSocksAuthState) OnSocksAuthState(this, socksAuthNotRequired);
        if (self) SocksDoConnect();
      } else if (FRcvBuf[1] == 2) {
        SocksDoAuthenticate();
      } else {
        SocksFail(20003, "authentification method not acceptable");
      }
      return true;
    }
    case 2: {
      if (FRcvBuf[0] != 1) {
        SocksFail(20002, "socks version error");
        return true;
      }
      if (FRcvCnt > 2) {
        SocksFail(20001, "too much data availaible");
        return true;
      }
      if (FRcvCnt < 2) return true;
      if (FRcvBuf[1] != 0) {
        SocksFail(20015, "socks authentication failed");
        return true;
      }
      FRcvCnt = 0;
      if (OnSocksAuthState) OnSocksAuthState(this, socksAuthSuccess);
      if (self) SocksDoConnect();
      return true;
    }
    case 3: {
      int replyLen;
      if (v4) {
        if (FRcvCnt < 8) return true;
        replyLen = 8;
        if (FRcvBuf[0] != 0) {
          SocksFail(20002, "socks version error");
          return true;
        }
        switch (FRcvBuf[1]) {
          case 90:
            break;
          case 91:
            SocksFail(20016, "request rejected or failed");
            return true;
          case 92:
            SocksFail(20008, "connection refused");
            return true;
          case 93:
            SocksFail(20015, "authentification failed");
            return true;
          default:
            SocksFail(20012, "unassigned error #" + IntToStr(FRcvBuf[1]));
            return true;
        }
      } else {
        if (FRcvBuf[0] != 5) {
          SocksFail(20002, "socks version error");
          return true;
        }
        if (FRcvCnt < 2) return true;
        if (FRcvBuf[1] != 0) {
          static const char* const texts[] = {
              "general SOCKS server failure", "connection not allowed by ruleset",
              "network unreachable",          "host unreachable",
              "connection refused",           "time to live expired",
              "command not supported",        "address type not supported"};
          int code = FRcvBuf[1];
          if (code >= 1 && code <= 8)
            SocksFail(20003 + code, texts[code - 1]);
          else
            SocksFail(20012, "unassigned error #" + IntToStr(code));
          return true;
        }
        if (FRcvCnt < 5) return true;
        replyLen = FRcvBuf[3] == 1 ? 10 : FRcvBuf[3] == 3 ? 7 + FRcvBuf[4] : 5;
        if (FRcvCnt < replyLen) return true;
        if (FRcvBuf[3] != 1 && FRcvBuf[3] != 3) {
          SocksFail(20011, "address type not supported");
          return true;
        }
      }
      FSocksRcvdCnt = FRcvCnt - replyLen;
      FSocksRcvdPtr = replyLen;
      FRcvCnt = 0;
      FSocksState = 0;
      TriggerConnectStage(0);
      if (!self || FHSocket == INVALID_SOCKET) return true;
      TriggerDataAvailable(0);
      return true;
    }
    default:
      SocksFail(20013, "internal error");
      return true;
  }
}

void TCustomSocksWSocket::TriggerSessionClosed(WORD ErrCode) {
  if (FSocksState == 2) {
    TWeakLink<TCustomSocksWSocket> self(this);
    if (OnSocksAuthState) OnSocksAuthState(this, socksAuthFailure);
    if (!self) return;
  }
  TCustomWSocket::TriggerSessionClosed(ErrCode);
}

int TCustomSocksWSocket::PendingByteCount() {
  if (FSocksRcvdCnt > 0) return FSocksRcvdCnt;
  return TCustomWSocket::PendingByteCount();
}

int TCustomSocksWSocket::RecvRaw(void* Buffer, int Len) {
  if (FSocksRcvdCnt <= 0) return TCustomWSocket::RecvRaw(Buffer, Len);
  ++FRecvCalls;
  int n = std::min(Len, FSocksRcvdCnt);
  if (n <= 0) return 0;
  std::memcpy(Buffer, FRcvBuf.data() + FSocksRcvdPtr, size_t(n));
  FSocksRcvdPtr += n;
  FSocksRcvdCnt -= n;
  return n;
}

// ---------------------------------------------------------------------------------------------
// TCustomLineWSocket

TCustomLineWSocket::TCustomLineWSocket(TComponent* AOwner) : TCustomSocksWSocket(AOwner) {}

TCustomLineWSocket::~TCustomLineWSocket() = default;

void TCustomLineWSocket::TriggerLineLimitExceeded(int Cnt, bool& ClearData) {
  if (OnLineLimitExceeded) OnLineLimitExceeded(this, Cnt, ClearData);
}

void TCustomLineWSocket::SetLineMode(bool Value) {
  if (Value == FLineMode) return;
  FLineMode = Value;
  FLineScanned = 0;
  if ((FRcvdCnt > 0 || FLineLength > 0) && HandleValue())
    PostMessage(HandleValue(), FMsg_WM_TRIGGER_DATA_AVAILABLE, 0, 0);
}

void TCustomLineWSocket::SetLineEnd(const std::string& Value) {
  FLineEnd = Value;
  FLineScanned = 0;
}

int TCustomLineWSocket::SendLine(const std::string& Str) {
  if (Str.empty()) return 0;
  QueueText(Str);
  SendText(FLineEnd);
  return int(Str.size() + FLineEnd.size());
}

void TCustomLineWSocket::EditReceivedBytes(int& Len) {
  // The new bytes follow the FRcvdCnt held ones; edited, they replace everything from the first
  // changed byte on.
  uint8_t* held = FRcvdPtr.data() + FRcvdPos;
  std::vector<uint8_t> out(held, held + FRcvdCnt);
  std::string echo;
  for (int i = 0; i < Len; ++i) {
    uint8_t c = held[FRcvdCnt + i];
    if (c == 8) {
      if (!out.empty()) {
        if (FLineEcho) echo += "\b \b";
        out.pop_back();
      }
    } else if (c == 9) {
      do {
        out.push_back(' ');
        if (FLineEcho) echo += ' ';
      } while (out.size() % 8 != 0);
    } else {
      out.push_back(c);
      if (FLineEcho) echo += char(c);
    }
  }
  if (out.size() < size_t(FRcvdCnt)) {
    FRcvdCnt = int(out.size());
    Len = 0;
  } else {
    Len = int(out.size()) - FRcvdCnt;
  }
  out.push_back(0);
  if (FRcvdPtr.size() < FRcvdPos + out.size()) FRcvdPtr.resize(FRcvdPos + out.size());
  std::copy(out.begin(), out.end(), FRcvdPtr.begin() + std::ptrdiff_t(FRcvdPos));
  if (!echo.empty()) {
    try {
      SendText(echo);
    } catch (...) {
    }
  }
}

void TCustomLineWSocket::Consume(int Count) {
  FRcvdPos += size_t(Count);
  FRcvdCnt -= Count;
  FLineScanned = std::max(0, FLineScanned - Count);
  if (FRcvdCnt == 0) FRcvdPos = 0;
}

void TCustomLineWSocket::ClearHeld() {
  FRcvdPos = 0;
  FRcvdCnt = 0;
  FLineScanned = 0;
  if (!FRcvdPtr.empty()) FRcvdPtr[0] = 0;
}

bool TCustomLineWSocket::TriggerDataAvailable(WORD ErrCode) {
  if (!FLineMode || FLineEnd.empty() || FSocksState != 0) {
    if (FRcvdCnt > 0 && FSocksState == 0) {
      DeliverHeld(false);
      return true;
    }
    return TCustomSocksWSocket::TriggerDataAvailable(ErrCode);
  }
  int n = TCustomSocksWSocket::PendingByteCount();
  if (n < 0) return true;
  if (n == 0) n = 255;
  // Lines taken since the last notification only moved the read position: the held rest moves
  // to the front once here.
  if (FRcvdPos > 0) {
    std::memmove(FRcvdPtr.data(), FRcvdPtr.data() + FRcvdPos, size_t(FRcvdCnt) + 1);
    FRcvdPos = 0;
  }
  if (FRcvdPtr.size() < size_t(FRcvdCnt + n + 1)) FRcvdPtr.resize(size_t(FRcvdCnt + n + 1));
  int got = TCustomSocksWSocket::RecvRaw(FRcvdPtr.data() + FRcvdCnt, n);
  // Nothing new: held bytes were offered when they came and wait for news.
  if (got < 1) return true;
  if (FLineEdit) {
    EditReceivedBytes(got);
  } else if (FLineEcho) {
    try {
      Send(FRcvdPtr.data() + FRcvdCnt, got);
    } catch (...) {
    }
  }
  FRcvdCnt += got;
  FRcvdPtr[size_t(FRcvdCnt)] = 0;
  FLineScanned = std::min(FLineScanned, FRcvdCnt);
  DeliverHeld(false);
  return true;
}

// Offers the held bytes: in line mode each complete line, otherwise all of them. A handler that
// takes nothing ends the pass with the bytes still held; they come again with new data, a mode
// change or the close. Returns false when the component went away.
bool TCustomLineWSocket::DeliverHeld(bool AtClose) {
  if (FInLineLoop) return true;
  FInLineLoop = true;
  FStalled = false;
  TWeakLink<TCustomLineWSocket> self(this);
  for (;;) {
    if (FRcvdCnt <= 0) break;
    if (!FLineMode || FLineEnd.empty()) {
      if (!OnDataAvailable) {
        ClearHeld();
        break;
      }
      int before = FRcvdCnt;
      OnDataAvailable(this, 0);
      if (!self) return false;
      if (FRcvdCnt == before) break;
      continue;
    }
    // The terminator is looked for only where it could not have been seen before, so a long
    // line arriving in many reads is scanned once.
    const int le = int(FLineEnd.size());
    const int from = std::max(0, FLineScanned - le + 1);
    const uint8_t* held = FRcvdPtr.data() + FRcvdPos;
    const void* hit = from < FRcvdCnt ? ::memmem(held + from, size_t(FRcvdCnt - from),
                                                 FLineEnd.data(), size_t(le))
                                      : nullptr;
    if (!hit) {
      FLineScanned = FRcvdCnt;
      if (!AtClose && FLineLimit > 0 && FRcvdCnt > FLineLimit) {
        bool clear = true;
        TriggerLineLimitExceeded(FRcvdCnt, clear);
        if (!self) return false;
        FLineClearData = clear;
        if (clear) ClearHeld();
      }
      break;
    }
    FLineScanned = 0;
    FLineLength = int(static_cast<const uint8_t*>(hit) - held) + le;
    FLineFound = true;
    bool stalled = false;
    while (FLineMode && FLineLength > 0) {
      if (!OnDataAvailable) {
        Consume(FLineLength);
        FLineLength = 0;
        break;
      }
      int before = FLineLength;
      OnDataAvailable(this, 0);
      if (!self) return false;
      if (FLineLength == before) {
        stalled = true;
        break;
      }
    }
    FLineLength = 0;
    if (stalled) {
      FStalled = true;
      break;
    }
  }
  FLineFound = false;
  FInLineLoop = false;
  return true;
}

void TCustomLineWSocket::ProcessBufferedLines() {
  if (FRcvdCnt > 0) DeliverHeld(false);
}

void TCustomLineWSocket::WindowProcedure(TMessage& MsgRec) {
  if (MsgRec.Msg == FMsg_WM_TRIGGER_DATA_AVAILABLE && FMsg_WM_TRIGGER_DATA_AVAILABLE != 0) {
    try {
      ProcessBufferedLines();
    } catch (Exception& E) {
      HandleEventException(E);
    }
    return;
  }
  TCustomSocksWSocket::WindowProcedure(MsgRec);
}

int TCustomLineWSocket::RecvRaw(void* Buffer, int Len) {
  const bool pendingLine = FLineMode && FLineLength > 0;
  if (pendingLine || (!FLineMode && FRcvdCnt > 0)) {
    ++FRecvCalls;
    int n = std::min(Len, pendingLine ? FLineLength : FRcvdCnt);
    if (n <= 0) return 0;
    std::memcpy(Buffer, FRcvdPtr.data() + FRcvdPos, size_t(n));
    Consume(n);
    if (pendingLine) FLineLength -= n;
    return n;
  }
  return TCustomSocksWSocket::RecvRaw(Buffer, Len);
}

int TCustomLineWSocket::PendingByteCount() {
  if (FLineMode && FLineLength > 0) return FLineLength;
  if (!FLineMode && FRcvdCnt > 0) return FRcvdCnt;
  return TCustomSocksWSocket::PendingByteCount();
}

void TCustomLineWSocket::TriggerSessionClosed(WORD ErrCode) {
  TWeakLink<TCustomLineWSocket> self(this);
  if (FRcvdCnt > 0 && !FLineClearData && !FInLineLoop) {
    // Complete lines first, then what is left as a last line without terminator, offered for
    // as long as the handler takes some of it.
    if (!DeliverHeld(true)) return;
    if (!FStalled) {
      FInLineLoop = true;
      while (FRcvdCnt > 0 && OnDataAvailable) {
        const int before = FRcvdCnt;
        FLineLength = FLineMode ? FRcvdCnt : 0;
        OnDataAvailable(this, 0);
        if (!self) return;
        if (FRcvdCnt == before) break;
      }
      FInLineLoop = false;
    }
  }
  FRcvdPtr.clear();
  FRcvdPtr.shrink_to_fit();
  FRcvdPos = 0;
  FRcvdCnt = 0;
  FLineScanned = 0;
  FLineLength = 0;
  FLineClearData = false;
  TCustomSocksWSocket::TriggerSessionClosed(ErrCode);
}

// ---------------------------------------------------------------------------------------------
// TCustomSyncWSocket

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
