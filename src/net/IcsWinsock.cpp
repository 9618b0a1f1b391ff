#include "net/IcsWinsock.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <mutex>

#include "platform/rtl/SysUtils.h"

// One usage count per process; the library is started with the requested version on first need
// and cleaned up when the last socket goes.

namespace {

std::recursive_mutex gBindLock;
int gUsage = 0;
bool gLoaded = false;
BYTE gReqVerLow = 1;
BYTE gReqVerHigh = 1;

void UnloadWinsock() {
  std::lock_guard<std::recursive_mutex> g(gBindLock);
  if (!gLoaded) return;
  WSACleanup();
  gLoaded = false;
}

}  // namespace

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

std::string DottedAddress(uint32_t NetOrder) {
  in_addr a;
  a.s_addr = NetOrder;
  return ws::inet_ntoa(a);
}

void AddWinsockUser() {
  std::lock_guard<std::recursive_mutex> g(gBindLock);
  ++gUsage;
}

void RemoveWinsockUser() {
  std::lock_guard<std::recursive_mutex> g(gBindLock);
  if (--gUsage < 1) {
    gUsage = 0;
    UnloadWinsock();
  }
}

bool SetWSocketReqVer(BYTE Low, BYTE High) {
  std::lock_guard<std::recursive_mutex> g(gBindLock);
  if (gLoaded) return false;
  gReqVerLow = Low;
  gReqVerHigh = High;
  return true;
}

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
