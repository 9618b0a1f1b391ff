#include "platform/sys/WinSock.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QObject>
#include <QSocketNotifier>
#include <QThread>
#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <thread>

namespace {

thread_local int tLastError = 0;

std::mutex gStartupLock;
int gStartupCount = 0;

// One open socket. Its notifiers belong to the thread that selected it, like its messages.
struct TSock {
  int Fd = -1;
  int Type = SOCK_STREAM;
  bool Listening = false;
  bool Connecting = false;
  bool Connected = false;
  bool Dead = false;  // failed connection or close reported: nothing more to say until selected
  bool ReadArmed = true;
  bool AcceptArmed = true;
  bool WriteWanted = false;
  long Mask = 0;
  ws::TSelectNotify Notify;
  QSocketNotifier* ReadNotifier = nullptr;
  QSocketNotifier* WriteNotifier = nullptr;
};

std::mutex gTableLock;
std::map<SOCKET, std::shared_ptr<TSock>> gTable;
std::atomic<SOCKET> gNextHandle{1000};

std::shared_ptr<TSock> Find(SOCKET s) {
  std::lock_guard<std::mutex> g(gTableLock);
  auto it = gTable.find(s);
  return it == gTable.end() ? nullptr : it->second;
}

std::shared_ptr<TSock> FindOrFail(SOCKET s) {
  auto p = Find(s);
  if (!p) tLastError = WSAENOTSOCK;
  return p;
}

int Fail(int err) {
  tLastError = WinsockErrorFromErrno(err);
  return SOCKET_ERROR;
}

// A negative length would reach the system as a huge size and let it write past the buffer.
bool BadBuffer(const void* buf, int len) {
  if (len >= 0 && (buf || len == 0)) return false;
  tLastError = WSAEFAULT;
  return true;
}

void MakeNonBlocking(int fd) {
  int fl = fcntl(fd, F_GETFL, 0);
  fcntl(fd, F_SETFL, fl | O_NONBLOCK);
  fcntl(fd, F_SETFD, FD_CLOEXEC);
}

SOCKET Register(std::shared_ptr<TSock> sock) {
  SOCKET h = gNextHandle++;
  std::lock_guard<std::mutex> g(gTableLock);
  gTable[h] = std::move(sock);
  return h;
}

int PendingBytes(int fd) {
  int n = 0;
  if (::ioctl(fd, FIONREAD, &n) < 0) return -1;
  return n;
}

bool PeerClosed(int fd) {
  pollfd p{fd, short(POLLIN | POLLRDHUP), 0};
  return ::poll(&p, 1, 0) > 0 && (p.revents & (POLLRDHUP | POLLHUP));
}

bool Writable(int fd) {
  pollfd p{fd, POLLOUT, 0};
  return ::poll(&p, 1, 0) > 0 && (p.revents & POLLOUT);
}

void OnReadable(SOCKET h);
void OnWritable(SOCKET h);

// Turns the notifiers on exactly while a report could be due.
void Update(SOCKET h, TSock& s) {
  bool selected = s.Mask != 0 && !s.Dead;
  bool wantRead = false, wantWrite = false;
  if (selected) {
    if (s.Listening)
      wantRead = (s.Mask & FD_ACCEPT) && s.AcceptArmed;
    else if (s.Connected || s.Type != SOCK_STREAM)
      wantRead =
          ((s.Mask & FD_READ) && s.ReadArmed) || (!(s.Mask & FD_READ) && (s.Mask & FD_CLOSE));
    wantWrite = s.Connecting || ((s.Mask & FD_WRITE) && s.WriteWanted);
  }
  if (wantRead && !s.ReadNotifier) {
    s.ReadNotifier = new QSocketNotifier(s.Fd, QSocketNotifier::Read);
    QObject::connect(s.ReadNotifier, &QSocketNotifier::activated, [h] { OnReadable(h); });
  }
  if (wantWrite && !s.WriteNotifier) {
    s.WriteNotifier = new QSocketNotifier(s.Fd, QSocketNotifier::Write);
    QObject::connect(s.WriteNotifier, &QSocketNotifier::activated, [h] { OnWritable(h); });
  }
  if (s.ReadNotifier) s.ReadNotifier->setEnabled(wantRead);
  if (s.WriteNotifier) s.WriteNotifier->setEnabled(wantWrite);
}

// Freed at once: a second notifier for the same descriptor would not be served while the first
// still exists. Never called from a notifier's own signal (reports are only handed on there).
void DropNotifiers(TSock& s) {
  for (QSocketNotifier** n : {&s.ReadNotifier, &s.WriteNotifier}) {
    if (*n) {
      (*n)->setEnabled(false);
      delete *n;
      *n = nullptr;
    }
  }
}

struct TReport {
  long Event;
  int Error;
};

void Deliver(SOCKET h, const ws::TSelectNotify& notify, long mask,
             const std::vector<TReport>& reports) {
  if (!notify) return;
  for (const TReport& r : reports)
    if (mask & r.Event) notify(h, r.Event, r.Error);
}

void OnReadable(SOCKET h) {
  auto s = Find(h);
  if (!s) return;
  std::vector<TReport> reports;
  if (s->Listening) {
    s->AcceptArmed = false;
    reports.push_back({FD_ACCEPT, 0});
  } else if (s->Type != SOCK_STREAM) {
    s->ReadArmed = false;
    reports.push_back({FD_READ, 0});
  } else {
    int pending = PendingBytes(s->Fd);
    if (pending > 0) {
      if (s->Mask & FD_READ) {
        s->ReadArmed = false;
        reports.push_back({FD_READ, 0});
      }
      if (PeerClosed(s->Fd)) {
        s->Dead = true;
        reports.push_back({FD_CLOSE, 0});
      }
    } else {
      char c;
      ssize_t r = ::recv(s->Fd, &c, 1, MSG_PEEK | MSG_DONTWAIT);
      if (r == 0) {
        s->Dead = true;
        reports.push_back({FD_CLOSE, 0});
      } else if (r < 0 && errno != EAGAIN && errno != EWOULDBLOCK && errno != EINTR) {
        s->Dead = true;
        reports.push_back({FD_CLOSE, WinsockErrorFromErrno(errno)});
      } else if (r > 0 && (s->Mask & FD_READ)) {
        s->ReadArmed = false;
        reports.push_back({FD_READ, 0});
      }
    }
  }
  Update(h, *s);
  Deliver(h, s->Notify, s->Mask, reports);
}

void OnWritable(SOCKET h) {
  auto s = Find(h);
  if (!s) return;
  std::vector<TReport> reports;
  if (s->Connecting) {
    s->Connecting = false;
    int err = 0;
    socklen_t len = sizeof err;
    ::getsockopt(s->Fd, SOL_SOCKET, SO_ERROR, &err, &len);
    if (err != 0) {
      s->Dead = true;
      reports.push_back({FD_CONNECT, WinsockErrorFromErrno(err)});
    } else {
      s->Connected = true;
      reports.push_back({FD_CONNECT, 0});
      reports.push_back({FD_WRITE, 0});
      s->WriteWanted = false;
    }
  } else if (s->WriteWanted) {
    s->WriteWanted = false;
    reports.push_back({FD_WRITE, 0});
  }
  Update(h, *s);
  Deliver(h, s->Notify, s->Mask, reports);
}

thread_local hostent tHostEntry;
thread_local std::vector<char> tHostBuffer;
thread_local std::string tNtoa;

ws::TLookupAnswer LookupName(const std::string& name) {
  ws::TLookupAnswer a;
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  hints.ai_flags = AI_CANONNAME;
  addrinfo* res = nullptr;
  int rc = ::getaddrinfo(name.c_str(), nullptr, &hints, &res);
  if (rc != 0) {
    a.Error = WinsockErrorFromLookup(rc, true);
    return a;
  }
  for (addrinfo* p = res; p; p = p->ai_next) {
    if (p->ai_canonname && a.Name.empty()) a.Name = p->ai_canonname;
    if (p->ai_family != AF_INET) continue;
    uint32_t addr = reinterpret_cast<sockaddr_in*>(p->ai_addr)->sin_addr.s_addr;
    bool seen = false;
    for (uint32_t x : a.Addresses) seen |= x == addr;
    if (!seen) a.Addresses.push_back(addr);
  }
  ::freeaddrinfo(res);
  if (a.Name.empty()) a.Name = name;
  if (a.Addresses.empty()) a.Error = WSANO_DATA;
  return a;
}

ws::TLookupAnswer LookupAddress(uint32_t addr) {
  ws::TLookupAnswer a;
  sockaddr_in sin{};
  sin.sin_family = AF_INET;
  sin.sin_addr.s_addr = addr;
  char host[NI_MAXHOST];
  int rc = ::getnameinfo(reinterpret_cast<sockaddr*>(&sin), sizeof sin, host, sizeof host, nullptr,
                         0, NI_NAMEREQD);
  if (rc != 0) {
    a.Error = WinsockErrorFromLookup(rc, true);
    return a;
  }
  a.Name = host;
  a.Addresses.push_back(addr);
  return a;
}

hostent* FillThreadHostEntry(const ws::TLookupAnswer& a) {
  tHostBuffer.assign(4096 + a.Name.size(), 0);
  if (!ws::PackHostEntry(a, tHostBuffer.data(), int(tHostBuffer.size()))) {
    tLastError = WSAENOBUFS;
    return nullptr;
  }
  return reinterpret_cast<hostent*>(tHostBuffer.data());
}

// The lookup requests not yet answered; the answer runs on the asking thread.
struct TLookupRequest {
  ws::TLookupDone Done;
  QObject* Context = nullptr;
};
std::mutex gLookupLock;
std::map<uintptr_t, TLookupRequest> gLookups;
std::atomic<uintptr_t> gNextLookup{1};

QObject* ThreadContext() {
  // Lives as long as the thread's event loop can deliver to it; never freed, as queued calls
  // may still name it.
  static thread_local QObject* context = new QObject;
  return context;
}

uintptr_t StartLookup(std::function<ws::TLookupAnswer()> work, ws::TLookupDone done) {
  uintptr_t id = gNextLookup++;
  {
    std::lock_guard<std::mutex> g(gLookupLock);
    gLookups[id] = {std::move(done), ThreadContext()};
  }
  std::thread([id, work = std::move(work)] {
    ws::TLookupAnswer answer = work();
    QObject* context = nullptr;
    {
      std::lock_guard<std::mutex> g(gLookupLock);
      auto it = gLookups.find(id);
      if (it == gLookups.end()) return;
      context = it->second.Context;
    }
    QMetaObject::invokeMethod(
        context,
        [id, answer] {
          ws::TLookupDone done;
          {
            std::lock_guard<std::mutex> g(gLookupLock);
            auto it = gLookups.find(id);
            if (it == gLookups.end()) return;
            done = std::move(it->second.Done);
            gLookups.erase(it);
          }
          if (done) done(answer);
        },
        Qt::QueuedConnection);
  }).detach();
  return id;
}

}  // namespace

int WSAStartup(uint16_t version, WSADATA* data) {
  int major = version & 0xFF, minor = version >> 8;
  if (major < 1 || (major == 1 && minor < 1)) return WSAVERNOTSUPPORTED;
  if (data) {
    data->wHighVersion = 0x0202;
    data->wVersion = (major > 2 || (major == 2 && minor > 2)) ? uint16_t(0x0202) : version;
    data->szDescription = "POSIX sockets";
    data->szSystemStatus = "Running";
  }
  std::lock_guard<std::mutex> g(gStartupLock);
  ++gStartupCount;
  return 0;
}

int WSACleanup() {
  std::lock_guard<std::mutex> g(gStartupLock);
  if (gStartupCount == 0) {
    tLastError = WSANOTINITIALISED;
    return SOCKET_ERROR;
  }
  --gStartupCount;
  return 0;
}

int WSAGetLastError() { return tLastError; }
void WSASetLastError(int e) { tLastError = e; }

int WinsockErrorFromErrno(int err) {
  switch (err) {
    case 0:
      return 0;
    case EINTR:
      return WSAEINTR;
    case EBADF:
      return WSAENOTSOCK;
    case EACCES:
    case EPERM:
      return WSAEACCES;
    case EFAULT:
      return WSAEFAULT;
    case EINVAL:
      return WSAEINVAL;
    case EMFILE:
    case ENFILE:
      return WSAEMFILE;
    case EAGAIN:
    case EINPROGRESS:
      return WSAEWOULDBLOCK;
    case EALREADY:
      return WSAEALREADY;
    case ENOTSOCK:
      return WSAENOTSOCK;
    case EDESTADDRREQ:
      return WSAEDESTADDRREQ;
    case EMSGSIZE:
      return WSAEMSGSIZE;
    case EPROTOTYPE:
      return WSAEPROTOTYPE;
    case ENOPROTOOPT:
      return WSAENOPROTOOPT;
    case EPROTONOSUPPORT:
      return WSAEPROTONOSUPPORT;
    case ESOCKTNOSUPPORT:
      return WSAESOCKTNOSUPPORT;
    case EOPNOTSUPP:
      return WSAEOPNOTSUPP;
    case EPFNOSUPPORT:
      return WSAEPFNOSUPPORT;
    case EAFNOSUPPORT:
      return WSAEAFNOSUPPORT;
    case EADDRINUSE:
      return WSAEADDRINUSE;
    case EADDRNOTAVAIL:
      return WSAEADDRNOTAVAIL;
    case ENETDOWN:
      return WSAENETDOWN;
    case ENETUNREACH:
      return WSAENETUNREACH;
    case ENETRESET:
      return WSAENETRESET;
    case ECONNABORTED:
      return WSAECONNABORTED;
    case ECONNRESET:
    case EPIPE:
      return WSAECONNRESET;
    case ENOBUFS:
    case ENOMEM:
      return WSAENOBUFS;
    case EISCONN:
      return WSAEISCONN;
    case ENOTCONN:
      return WSAENOTCONN;
    case ESHUTDOWN:
      return WSAESHUTDOWN;
    case ETOOMANYREFS:
      return WSAETOOMANYREFS;
    case ETIMEDOUT:
      return WSAETIMEDOUT;
    case ECONNREFUSED:
      return WSAECONNREFUSED;
    case ELOOP:
      return WSAELOOP;
    case ENAMETOOLONG:
      return WSAENAMETOOLONG;
    case EHOSTDOWN:
      return WSAEHOSTDOWN;
    case EHOSTUNREACH:
      return WSAEHOSTUNREACH;
    case ENOTEMPTY:
      return WSAENOTEMPTY;
    case EUSERS:
      return WSAEUSERS;
    case EDQUOT:
      return WSAEDQUOT;
    case ESTALE:
      return WSAESTALE;
    case EREMOTE:
      return WSAEREMOTE;
  }
  return WSAEINVAL;
}

int WinsockErrorFromLookup(int code, bool fromGetAddrInfo) {
  if (fromGetAddrInfo) {
    switch (code) {
      case 0:
        return 0;
      case EAI_NONAME:
        return WSAHOST_NOT_FOUND;
#ifdef EAI_NODATA
      case EAI_NODATA:
        return WSANO_DATA;
#endif
#ifdef EAI_ADDRFAMILY
      case EAI_ADDRFAMILY:
        return WSANO_DATA;
#endif
      case EAI_AGAIN:
        return WSATRY_AGAIN;
      case EAI_MEMORY:
        return WSAENOBUFS;
      case EAI_SYSTEM:
        return WinsockErrorFromErrno(errno);
      default:
        return WSANO_RECOVERY;
    }
  }
  switch (code) {
    case 0:
      return 0;
    case HOST_NOT_FOUND:
      return WSAHOST_NOT_FOUND;
    case TRY_AGAIN:
      return WSATRY_AGAIN;
    case NO_DATA:
      return WSANO_DATA;
    default:
      return WSANO_RECOVERY;
  }
}

namespace ws {

SOCKET socket(int af, int type, int protocol) {
  {
    std::lock_guard<std::mutex> g(gStartupLock);
    if (gStartupCount == 0) {
      tLastError = WSANOTINITIALISED;
      return INVALID_SOCKET;
    }
  }
  if (type == SOCK_STREAM && protocol == 255) protocol = 0;
  int fd = ::socket(af, type, protocol);
  if (fd < 0) {
    Fail(errno);
    return INVALID_SOCKET;
  }
  MakeNonBlocking(fd);
  auto s = std::make_shared<TSock>();
  s->Fd = fd;
  s->Type = type;
  return Register(std::move(s));
}

int bind(SOCKET h, const sockaddr* name, int namelen) {
  auto s = FindOrFail(h);
  if (!s) return SOCKET_ERROR;
  return ::bind(s->Fd, name, socklen_t(namelen)) < 0 ? Fail(errno) : 0;
}

int connect(SOCKET h, const sockaddr* name, int namelen) {
  auto s = FindOrFail(h);
  if (!s) return SOCKET_ERROR;
  if (s->Connecting) return tLastError = WSAEALREADY, SOCKET_ERROR;
  if (s->Connected && s->Type == SOCK_STREAM) return tLastError = WSAEISCONN, SOCKET_ERROR;
  int rc = ::connect(s->Fd, name, socklen_t(namelen));
  if (s->Type != SOCK_STREAM) {
    if (rc < 0) return Fail(errno);
    s->Connected = true;
    return 0;
  }
  if (rc < 0 && errno != EINPROGRESS) return Fail(errno);
  // Completion is reported by the write notifier, also for a connection made at once.
  s->Connecting = true;
  Update(h, *s);
  if (rc == 0) return 0;
  tLastError = WSAEWOULDBLOCK;
  return SOCKET_ERROR;
}

int listen(SOCKET h, int backlog) {
  auto s = FindOrFail(h);
  if (!s) return SOCKET_ERROR;
  if (::listen(s->Fd, backlog) < 0) return Fail(errno);
  s->Listening = true;
  Update(h, *s);
  return 0;
}

SOCKET accept(SOCKET h, sockaddr* addr, int* addrlen) {
  auto s = FindOrFail(h);
  if (!s) return INVALID_SOCKET;
  if (!s->Listening) {
    tLastError = WSAEINVAL;
    return INVALID_SOCKET;
  }
  socklen_t len = addrlen ? socklen_t(*addrlen) : 0;
  int fd = ::accept4(s->Fd, addr, addr ? &len : nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
  s->AcceptArmed = true;
  Update(h, *s);
  if (fd < 0) {
    Fail(errno);
    return INVALID_SOCKET;
  }
  if (addrlen) *addrlen = int(len);
  auto n = std::make_shared<TSock>();
  n->Fd = fd;
  n->Type = SOCK_STREAM;
  n->Connected = true;
  return Register(std::move(n));
}

int send(SOCKET h, const void* buf, int len, int flags) {
  auto s = FindOrFail(h);
  if (!s || BadBuffer(buf, len)) return SOCKET_ERROR;
  ssize_t n = ::send(s->Fd, buf, size_t(len), flags | MSG_NOSIGNAL | MSG_DONTWAIT);
  if (n < 0) {
    int e = errno;
    if (e == EAGAIN || e == EWOULDBLOCK) {
      s->WriteWanted = true;
      Update(h, *s);
    }
    return Fail(e);
  }
  return int(n);
}

int sendto(SOCKET h, const void* buf, int len, int flags, const sockaddr* to, int tolen) {
  auto s = FindOrFail(h);
  if (!s || BadBuffer(buf, len)) return SOCKET_ERROR;
  ssize_t n =
      ::sendto(s->Fd, buf, size_t(len), flags | MSG_NOSIGNAL | MSG_DONTWAIT, to, socklen_t(tolen));
  if (n < 0) {
    int e = errno;
    if (e == EAGAIN || e == EWOULDBLOCK) {
      s->WriteWanted = true;
      Update(h, *s);
    }
    return Fail(e);
  }
  return int(n);
}

int recv(SOCKET h, void* buf, int len, int flags) {
  auto s = FindOrFail(h);
  if (!s || BadBuffer(buf, len)) return SOCKET_ERROR;
  ssize_t n = ::recv(s->Fd, buf, size_t(len), flags | MSG_DONTWAIT);
  int e = errno;
  s->ReadArmed = true;
  Update(h, *s);
  return n < 0 ? Fail(e) : int(n);
}

int recvfrom(SOCKET h, void* buf, int len, int flags, sockaddr* from, int* fromlen) {
  auto s = FindOrFail(h);
  if (!s || BadBuffer(buf, len)) return SOCKET_ERROR;
  socklen_t fl = fromlen ? socklen_t(*fromlen) : 0;
  ssize_t n = ::recvfrom(s->Fd, buf, size_t(len), flags | MSG_DONTWAIT, from, from ? &fl : nullptr);
  int e = errno;
  s->ReadArmed = true;
  Update(h, *s);
  if (n < 0) return Fail(e);
  if (fromlen) *fromlen = int(fl);
  return int(n);
}

int shutdown(SOCKET h, int how) {
  auto s = FindOrFail(h);
  if (!s) return SOCKET_ERROR;
  return ::shutdown(s->Fd, how) < 0 ? Fail(errno) : 0;
}

int closesocket(SOCKET h) {
  std::shared_ptr<TSock> s;
  {
    std::lock_guard<std::mutex> g(gTableLock);
    auto it = gTable.find(h);
    if (it == gTable.end()) {
      tLastError = WSAENOTSOCK;
      return SOCKET_ERROR;
    }
    s = it->second;
    gTable.erase(it);
  }
  DropNotifiers(*s);
  s->Notify = nullptr;
  return ::close(s->Fd) < 0 ? Fail(errno) : 0;
}

int setsockopt(SOCKET h, int level, int optname, const void* optval, int optlen) {
  auto s = FindOrFail(h);
  if (!s) return SOCKET_ERROR;
  return ::setsockopt(s->Fd, level, optname, optval, socklen_t(optlen)) < 0 ? Fail(errno) : 0;
}

int getsockopt(SOCKET h, int level, int optname, void* optval, int* optlen) {
  auto s = FindOrFail(h);
  if (!s) return SOCKET_ERROR;
  socklen_t l = optlen ? socklen_t(*optlen) : 0;
  if (::getsockopt(s->Fd, level, optname, optval, &l) < 0) return Fail(errno);
  if (optlen) *optlen = int(l);
  return 0;
}

int getsockname(SOCKET h, sockaddr* name, int* namelen) {
  auto s = FindOrFail(h);
  if (!s) return SOCKET_ERROR;
  socklen_t l = namelen ? socklen_t(*namelen) : 0;
  if (::getsockname(s->Fd, name, &l) < 0) return Fail(errno);
  if (namelen) *namelen = int(l);
  return 0;
}

int getpeername(SOCKET h, sockaddr* name, int* namelen) {
  auto s = FindOrFail(h);
  if (!s) return SOCKET_ERROR;
  socklen_t l = namelen ? socklen_t(*namelen) : 0;
  if (::getpeername(s->Fd, name, &l) < 0) return Fail(errno);
  if (namelen) *namelen = int(l);
  return 0;
}

int ioctlsocket(SOCKET h, long cmd, unsigned long* argp) {
  auto s = FindOrFail(h);
  if (!s) return SOCKET_ERROR;
  if (cmd == long(FIONREAD)) {
    int n = PendingBytes(s->Fd);
    if (n < 0) return Fail(errno);
    if (argp) *argp = unsigned(n);
    return 0;
  }
  if (cmd == long(FIONBIO)) return 0;
  tLastError = WSAEINVAL;
  return SOCKET_ERROR;
}

int gethostname(char* name, int namelen) {
  if (!name || namelen <= 0) return tLastError = WSAEFAULT, SOCKET_ERROR;
  if (::gethostname(name, size_t(namelen)) < 0) return Fail(errno == ENAMETOOLONG ? EFAULT : errno);
  name[namelen - 1] = 0;
  return 0;
}

hostent* gethostbyname(const char* name) {
  TLookupAnswer a = LookupName(name ? name : "");
  if (a.Error) {
    tLastError = a.Error;
    return nullptr;
  }
  return FillThreadHostEntry(a);
}

hostent* gethostbyaddr(const void* addr, int len, int type) {
  if (type != AF_INET || len != 4 || !addr) {
    tLastError = WSAEAFNOSUPPORT;
    return nullptr;
  }
  uint32_t a4;
  std::memcpy(&a4, addr, 4);
  TLookupAnswer a = LookupAddress(a4);
  if (a.Error) {
    tLastError = a.Error;
    return nullptr;
  }
  return FillThreadHostEntry(a);
}

servent* getservbyname(const char* name, const char* proto) {
  servent* e = ::getservbyname(name, proto);
  if (!e) tLastError = WSANO_DATA;
  return e;
}

protoent* getprotobyname(const char* name) {
  protoent* e = ::getprotobyname(name);
  if (!e) tLastError = WSANO_DATA;
  return e;
}

uint32_t inet_addr(const char* cp) { return cp ? ::inet_addr(cp) : INADDR_NONE; }

const char* inet_ntoa(in_addr in) {
  char buf[INET_ADDRSTRLEN];
  ::inet_ntop(AF_INET, &in, buf, sizeof buf);
  tNtoa = buf;
  return tNtoa.c_str();
}

int DescriptorOf(SOCKET h) {
  auto s = Find(h);
  return s ? s->Fd : -1;
}

int AsyncSelect(SOCKET h, TSelectNotify notify, long mask) {
  auto s = FindOrFail(h);
  if (!s) return SOCKET_ERROR;
  s->Notify = std::move(notify);
  s->Mask = mask;
  // Notifiers belong to the thread that selects: a socket moved to another thread gets new ones.
  QSocketNotifier* any = s->ReadNotifier ? s->ReadNotifier : s->WriteNotifier;
  if (any && any->thread() != QThread::currentThread()) {
    for (QSocketNotifier* n : {s->ReadNotifier, s->WriteNotifier})
      if (n) n->deleteLater();  // safe from any thread; the owner's loop frees it
    s->ReadNotifier = s->WriteNotifier = nullptr;
  }
  if (mask == 0) {
    DropNotifiers(*s);
    return 0;
  }
  s->ReadArmed = true;
  s->AcceptArmed = true;
  // A close already reported is reported again: whoever stopped listening may have missed it.
  if (s->Connected) s->Dead = false;
  std::vector<TReport> reports;
  // A connected stream that can send says so at once, as after its connection.
  if (s->Type == SOCK_STREAM && s->Connected && !s->Dead && Writable(s->Fd)) {
    s->WriteWanted = false;
    reports.push_back({FD_WRITE, 0});
  } else if (s->Type != SOCK_STREAM && !s->Dead) {
    reports.push_back({FD_WRITE, 0});
  }
  Update(h, *s);
  if (!reports.empty()) {
    // Reported from the event loop, never from inside the call.
    std::weak_ptr<TSock> weak = s;
    QMetaObject::invokeMethod(
        ThreadContext(),
        [h, weak, reports] {
          auto p = weak.lock();
          if (p && !p->Dead) Deliver(h, p->Notify, p->Mask, reports);
        },
        Qt::QueuedConnection);
  }
  return 0;
}

uintptr_t StartNameLookup(const std::string& name, TLookupDone done) {
  return StartLookup([name] { return LookupName(name); }, std::move(done));
}

uintptr_t StartAddressLookup(uint32_t addr, TLookupDone done) {
  return StartLookup([addr] { return LookupAddress(addr); }, std::move(done));
}

bool CancelLookup(uintptr_t request) {
  std::lock_guard<std::mutex> g(gLookupLock);
  return gLookups.erase(request) > 0;
}

bool PackHostEntry(const TLookupAnswer& a, char* buffer, int bufferLength) {
  // hostent, then the alias and address pointer arrays, then the addresses, then the texts.
  size_t need = sizeof(hostent) + (a.Aliases.size() + 1) * sizeof(char*) +
                (a.Addresses.size() + 1) * sizeof(char*) + a.Addresses.size() * 4 + a.Name.size() +
                1;
  for (const auto& s : a.Aliases) need += s.size() + 1;
  if (!buffer || bufferLength < 0 || need > size_t(bufferLength)) return false;
  std::memset(buffer, 0, need);
  auto* he = reinterpret_cast<hostent*>(buffer);
  char* p = buffer + sizeof(hostent);
  auto** aliases = reinterpret_cast<char**>(p);
  p += (a.Aliases.size() + 1) * sizeof(char*);
  auto** addrs = reinterpret_cast<char**>(p);
  p += (a.Addresses.size() + 1) * sizeof(char*);
  for (size_t i = 0; i < a.Addresses.size(); ++i) {
    std::memcpy(p, &a.Addresses[i], 4);
    addrs[i] = p;
    p += 4;
  }
  std::memcpy(p, a.Name.c_str(), a.Name.size() + 1);
  he->h_name = p;
  p += a.Name.size() + 1;
  for (size_t i = 0; i < a.Aliases.size(); ++i) {
    std::memcpy(p, a.Aliases[i].c_str(), a.Aliases[i].size() + 1);
    aliases[i] = p;
    p += a.Aliases[i].size() + 1;
  }
  he->h_aliases = aliases;
  he->h_addrtype = AF_INET;
  he->h_length = 4;
  he->h_addr_list = addrs;
  return true;
}

}  // namespace ws
