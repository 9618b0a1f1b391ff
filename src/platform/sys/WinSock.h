#pragma once
// Sockets with the numbering and notification rules of Windows Sockets 1.1, served by POSIX
// non-blocking sockets. Socket handles are numbers of our own (never descriptors, which the
// system reuses); failures set a per-thread error number from the Winsock table; readiness is
// reported once per condition on the thread that asked for it (see AsyncSelect). Options,
// address families and records are the POSIX ones (the IPv4 record has the same layout).

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

using SOCKET = uintptr_t;
constexpr SOCKET INVALID_SOCKET = ~SOCKET(0);
constexpr int SOCKET_ERROR = -1;

// Notification events (low word of a select message).
constexpr long FD_READ = 0x01;
constexpr long FD_WRITE = 0x02;
constexpr long FD_OOB = 0x04;
constexpr long FD_ACCEPT = 0x08;
constexpr long FD_CONNECT = 0x10;
constexpr long FD_CLOSE = 0x20;

enum : int {
  WSAEINTR = 10004,
  WSAEBADF = 10009,
  WSAEACCES = 10013,
  WSAEFAULT = 10014,
  WSAEINVAL = 10022,
  WSAEMFILE = 10024,
  WSAEWOULDBLOCK = 10035,
  WSAEINPROGRESS = 10036,
  WSAEALREADY = 10037,
  WSAENOTSOCK = 10038,
  WSAEDESTADDRREQ = 10039,
  WSAEMSGSIZE = 10040,
  WSAEPROTOTYPE = 10041,
  WSAENOPROTOOPT = 10042,
  WSAEPROTONOSUPPORT = 10043,
  WSAESOCKTNOSUPPORT = 10044,
  WSAEOPNOTSUPP = 10045,
  WSAEPFNOSUPPORT = 10046,
  WSAEAFNOSUPPORT = 10047,
  WSAEADDRINUSE = 10048,
  WSAEADDRNOTAVAIL = 10049,
  WSAENETDOWN = 10050,
  WSAENETUNREACH = 10051,
  WSAENETRESET = 10052,
  WSAECONNABORTED = 10053,
  WSAECONNRESET = 10054,
  WSAENOBUFS = 10055,
  WSAEISCONN = 10056,
  WSAENOTCONN = 10057,
  WSAESHUTDOWN = 10058,
  WSAETOOMANYREFS = 10059,
  WSAETIMEDOUT = 10060,
  WSAECONNREFUSED = 10061,
  WSAELOOP = 10062,
  WSAENAMETOOLONG = 10063,
  WSAEHOSTDOWN = 10064,
  WSAEHOSTUNREACH = 10065,
  WSAENOTEMPTY = 10066,
  WSAEPROCLIM = 10067,
  WSAEUSERS = 10068,
  WSAEDQUOT = 10069,
  WSAESTALE = 10070,
  WSAEREMOTE = 10071,
  WSASYSNOTREADY = 10091,
  WSAVERNOTSUPPORTED = 10092,
  WSANOTINITIALISED = 10093,
  WSAHOST_NOT_FOUND = 11001,
  WSATRY_AGAIN = 11002,
  WSANO_RECOVERY = 11003,
  WSANO_DATA = 11004,
};

// Host entries handed back in a caller's buffer hold at most this many bytes.
constexpr int MAXGETHOSTSTRUCT = 1024;

struct WSADATA {
  uint16_t wVersion = 0;
  uint16_t wHighVersion = 0;
  std::string szDescription;
  std::string szSystemStatus;
};

int WSAStartup(uint16_t wVersionRequested, WSADATA* lpWSAData);
int WSACleanup();
int WSAGetLastError();
void WSASetLastError(int iError);
// The Winsock number of a POSIX errno value, and of a getaddrinfo/gethostbyname failure.
int WinsockErrorFromErrno(int err);
int WinsockErrorFromLookup(int eaiOrHerrno, bool fromGetAddrInfo);

namespace ws {

SOCKET socket(int af, int type, int protocol);
int bind(SOCKET s, const sockaddr* name, int namelen);
int connect(SOCKET s, const sockaddr* name, int namelen);
int listen(SOCKET s, int backlog);
SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen);
int send(SOCKET s, const void* buf, int len, int flags);
int sendto(SOCKET s, const void* buf, int len, int flags, const sockaddr* to, int tolen);
int recv(SOCKET s, void* buf, int len, int flags);
int recvfrom(SOCKET s, void* buf, int len, int flags, sockaddr* from, int* fromlen);
int shutdown(SOCKET s, int how);
int closesocket(SOCKET s);
int setsockopt(SOCKET s, int level, int optname, const void* optval, int optlen);
int getsockopt(SOCKET s, int level, int optname, void* optval, int* optlen);
int getsockname(SOCKET s, sockaddr* name, int* namelen);
int getpeername(SOCKET s, sockaddr* name, int* namelen);
// FIONREAD (bytes pending) and FIONBIO (sockets stay non-blocking whatever is asked).
int ioctlsocket(SOCKET s, long cmd, unsigned long* argp);
int gethostname(char* name, int namelen);
// Blocking look-ups; the entries live in per-thread storage until the next call.
hostent* gethostbyname(const char* name);
hostent* gethostbyaddr(const void* addr, int len, int type);
servent* getservbyname(const char* name, const char* proto);
protoent* getprotobyname(const char* name);
uint32_t inet_addr(const char* cp);
// Per-thread storage until the next call.
const char* inet_ntoa(in_addr in);

// The descriptor behind a handle, -1 when it names no open socket (tests use it to inspect).
int DescriptorOf(SOCKET s);

// Readiness in the manner of the platform's asynchronous select. Each event in Mask is reported
// once per occurrence through Notify on the thread that called AsyncSelect: FD_READ again only
// after a recv (and at once then while bytes remain), FD_ACCEPT again after an accept, FD_WRITE
// after a connect or accept completed and after each send that would block, FD_CONNECT once with
// the connection's result (a failed connection reports nothing else), FD_CLOSE once after the
// last bytes were announced. Mask 0 stops notifications; selecting again reports what holds now.
using TSelectNotify = std::function<void(SOCKET s, long event, int error)>;
int AsyncSelect(SOCKET s, TSelectNotify notify, long mask);

// Name look-ups on a worker thread. Done runs on the calling thread (from its Qt event loop)
// unless the request was cancelled first; it gets the Winsock error (0 on success), the
// canonical host name, the aliases and the IPv4 addresses in network order.
struct TLookupAnswer {
  int Error = 0;
  std::string Name;
  std::vector<std::string> Aliases;
  std::vector<uint32_t> Addresses;
};
using TLookupDone = std::function<void(const TLookupAnswer&)>;
// Each returns a request number from one counter (never 0).
uintptr_t StartNameLookup(const std::string& name, TLookupDone done);
uintptr_t StartAddressLookup(uint32_t addressNetOrder, TLookupDone done);
// False when the request is unknown or already answered.
bool CancelLookup(uintptr_t request);
// Lays an answer out as a host entry inside Buffer (pointers point into it); false when it
// does not fit (WSAENOBUFS).
bool PackHostEntry(const TLookupAnswer& answer, char* buffer, int bufferLength);

}  // namespace ws
