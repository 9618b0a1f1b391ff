// The SOCKS client through real proxies and a byte-exact scripted proxy, line mode and the
// synchronous wait.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QTimer>
#include <fstream>
#include <thread>

#include "NetTestUtil.h"
#include "PeerUtil.h"
#include "common/TestEnv.h"
#include "net/WSocket.h"
#include "platform/win/QtWindows.h"

using namespace nettest;

namespace {

// An echo server of our own on 127.0.0.1: each accepted connection sends back what it gets.
struct TEchoServer {
  TWSocket Listener{nullptr};
  std::vector<std::unique_ptr<TWSocket>> Served;
  TEchoServer() {
    Listener.SetAddr("127.0.0.1");
    Listener.SetPort("0");
    Listener.OnSessionAvailable = [this](TObject*, WORD) {
      auto s = std::make_unique<TWSocket>(nullptr);
      TWSocket* p = s.get();
      p->OnDataAvailable = [p](TObject*, WORD) {
        std::string t = p->ReceiveText();
        if (!t.empty()) p->SendText(t);
      };
      p->Dup(Listener.Accept());
      Served.push_back(std::move(s));
    };
    Listener.Listen();
  }
  std::string Port() { return Listener.LocalPortText(); }
};

// A proxy played by a thread: reads the exact bytes it expects, answers with the given bytes.
struct TScriptedProxy {
  int ListenFd = -1;
  int Port = 0;
  std::thread Thread;
  std::string Got;  // every byte the client sent
  // Steps: read this many bytes, then send this reply.
  std::vector<std::pair<size_t, std::string>> Steps;
  bool HoldOpen = true;

  void Start() {
    ListenFd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(ListenFd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(ListenFd, reinterpret_cast<sockaddr*>(&a), &len);
    Port = ntohs(a.sin_port);
    ::listen(ListenFd, 1);
    Thread = std::thread([this] {
      int fd = ::accept(ListenFd, nullptr, nullptr);
      timeval tv{10, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
      for (auto& [need, reply] : Steps) {
        size_t have = 0;
        char buf[512];
        while (have < need) {
          ssize_t n = ::recv(fd, buf, std::min(sizeof buf, need - have), 0);
          if (n <= 0) break;
          Got.append(buf, size_t(n));
          have += size_t(n);
        }
        if (!reply.empty()) ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
      }
      // Wait for the client to close.
      char b[256];
      while (HoldOpen && ::recv(fd, b, sizeof b, 0) > 0) {
      }
      ::close(fd);
    });
  }
  ~TScriptedProxy() {
    if (Thread.joinable()) Thread.join();
    if (ListenFd >= 0) ::close(ListenFd);
  }
};

std::string Bytes(std::initializer_list<int> v) {
  std::string s;
  for (int b : v) s += char(b);
  return s;
}

struct TSocksRecord {
  std::vector<std::string> Events;
  std::string Data;
  void Attach(TWSocket& s) {
    s.OnSocksConnected = [this](TObject*, WORD e) {
      Events.push_back("socks connected " + std::to_string(e));
    };
    s.OnSocksError = [this](TObject*, int e, const std::string& m) {
      Events.push_back("socks error " + std::to_string(e) + " " + m);
    };
    s.OnSocksAuthState = [this](TObject*, TSocksAuthState st) {
      static const char* names[] = {"start", "success", "failure", "not required"};
      Events.push_back(std::string("auth ") + names[int(st)]);
    };
    s.OnSessionConnected = [this](TObject*, WORD e) {
      Events.push_back("connected " + std::to_string(e));
    };
    s.OnSessionClosed = [this](TObject*, WORD e) {
      Events.push_back("closed " + std::to_string(e));
    };
    s.OnDataAvailable = [this, &s](TObject*, WORD) {
      char b[1024];
      int n = s.Receive(b, sizeof b);
      if (n > 0) Data.append(b, size_t(n));
    };
  }
  bool Has(const std::string& e) const {
    return std::find(Events.begin(), Events.end(), e) != Events.end();
  }
  std::string Joined() const {
    std::string r;
    for (const auto& e : Events) r += (r.empty() ? "" : ", ") + e;
    return r;
  }
};

}  // namespace

TEST(Socks, Socks5ThroughMicrosocksWithAndWithoutAuthentication) {
  std::string microsocks = FindProgram("microsocks");
  if (microsocks.empty()) GTEST_SKIP() << "microsocks is not installed (scripts/setup installs it)";
  TEchoServer echo;
  struct TCase {
    const char* Name;
    bool ServerAuth;
    bool ClientAuth;
    const char* Password;
    const char* Expected;
  };
  for (TCase c : {TCase{"open", false, false, "", "socks connected 0, connected 0"},
                  {"user and password", true, true, "s3cret",
                   "socks connected 0, auth start, auth success, connected 0"},
                  {"wrong password", true, true, "wrong",
                   "socks connected 0, auth start, socks error 20015 socks authentication failed, "
                   "connected 20015, closed 20015"}}) {
    SCOPED_TRACE(c.Name);
    int port = FreePort();
    QStringList args{"-i", "127.0.0.1", "-p", QString::number(port)};
    if (c.ServerAuth)
      args << "-u"
           << "alice"
           << "-P"
           << "s3cret";
    TPeerProcess proxy;
    ASSERT_TRUE(proxy.Start(microsocks, args));
    ASSERT_TRUE(WaitListening(port));
    TWSocket s(nullptr);
    TSocksRecord rec;
    rec.Attach(s);
    s.SetSocksServer("127.0.0.1");
    s.SetSocksPort(std::to_string(port));
    s.SetSocksLevel("5");
    if (c.ClientAuth) {
      s.SetSocksAuthentication(socksAuthenticateUsercode);
      s.SetSocksUsercode("alice");
      s.SetSocksPassword(c.Password);
    }
    s.SetAddr("127.0.0.1");
    s.SetPort(echo.Port());
    s.Connect();
    ASSERT_TRUE(PumpUntil([&] { return rec.Has("connected 0") || s.State() == wsClosed; }));
    EXPECT_EQ(rec.Joined(), c.Expected);
    if (rec.Has("connected 0")) {
      s.SendText("through the proxy");
      ASSERT_TRUE(PumpUntil([&] { return rec.Data == "through the proxy"; })) << rec.Data;
      s.Close();
    }
    // Each close resets the proxy settings.
    EXPECT_EQ(s.SocksServer(), "");
    EXPECT_EQ(s.SocksLevel(), "5");
  }
}

TEST(Socks, Socks4ThroughDante) {
  std::string danted = FindProgram("danted");
  if (danted.empty()) GTEST_SKIP() << "danted is not installed (scripts/setup installs it)";
  TEchoServer echo;
  int port = FreePort();
  std::string dir = sonalix::test::MakeTempDir().string();
  std::string conf = dir + "/danted.conf";
  {
    std::ofstream f(conf);
    f << "logoutput: stderr\n"
         "internal: 127.0.0.1 port = "
      << port
      << "\n"
         "external: 127.0.0.1\n"
         "clientmethod: none\n"
         "socksmethod: none\n"
         "user.privileged: root\n"
         "user.unprivileged: nobody\n"
         "client pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }\n"
         "socks pass { from: 127.0.0.0/8 to: 127.0.0.0/8 protocol: tcp }\n";
  }
  TPeerProcess proxy;
  ASSERT_TRUE(proxy.Start(danted, {"-f", QString::fromStdString(conf), "-N", "1", "-p",
                                   QString::fromStdString(dir + "/danted.pid")}));
  ASSERT_TRUE(WaitListening(port)) << proxy.Errors();
  TWSocket s(nullptr);
  TSocksRecord rec;
  rec.Attach(s);
  s.SetSocksServer("127.0.0.1");
  s.SetSocksPort(std::to_string(port));
  s.SetSocksLevel("4");
  s.SetSocksUsercode("bob");
  s.SetAddr("127.0.0.1");
  s.SetPort(echo.Port());
  s.Connect();
  ASSERT_TRUE(PumpUntil([&] { return rec.Has("connected 0") || s.State() == wsClosed; }))
      << proxy.Errors();
  EXPECT_EQ(rec.Joined(), "socks connected 0, connected 0") << proxy.Errors();
  s.SendText("four");
  ASSERT_TRUE(PumpUntil([&] { return rec.Data == "four"; }));
  s.Close();
}

TEST(Socks, ScriptedProxyRequestsAndReplies) {
  struct TCase {
    const char* Name;
    const char* Level;
    bool Auth;
    std::vector<std::pair<size_t, std::string>> Steps;
    std::string ExpectedRequest;
    std::string Expected;
    std::string Data;
  };
  const std::string target = "127.0.0.1";
  // Port 4660 = 0x1234; the scripted proxy never connects anywhere.
  const std::string v4req = Bytes({4, 1, 0x12, 0x34, 127, 0, 0, 1}) + "bob" + Bytes({0});
  const std::string v4areq =
      Bytes({4, 1, 0x12, 0x34, 0, 0, 0, 1}) + "bob" + Bytes({0}) + "host.example" + Bytes({0});
  const std::string v5greet = Bytes({5, 1, 0});
  const std::string v5req = Bytes({5, 1, 0, 3, 9}) + target + Bytes({0x12, 0x34});
  const std::string v5ok = Bytes({5, 0, 0, 1, 127, 0, 0, 1, 0x12, 0x34});
  std::vector<TCase> cases = {
      {"4 granted",
       "4",
       false,
       {{v4req.size(), Bytes({0, 90, 0, 0, 0, 0, 0, 0})}},
       v4req,
       "socks connected 0, connected 0",
       ""},
      {"4 rejected 91",
       "4",
       false,
       {{v4req.size(), Bytes({0, 91, 0, 0, 0, 0, 0, 0})}},
       v4req,
       "socks connected 0, socks error 20016 request rejected or failed, connected 20016, closed "
       "20016",
       ""},
      {"4 refused 92",
       "4",
       false,
       {{v4req.size(), Bytes({0, 92, 0, 0, 0, 0, 0, 0})}},
       v4req,
       "socks connected 0, socks error 20008 connection refused, connected 20008, closed 20008",
       ""},
      {"4 auth 93",
       "4",
       false,
       {{v4req.size(), Bytes({0, 93, 0, 0, 0, 0, 0, 0})}},
       v4req,
       "socks connected 0, socks error 20015 authentification failed, connected 20015, closed "
       "20015",
       ""},
      {"4A granted",
       "4A",
       false,
       {{v4areq.size(), Bytes({0, 90, 0, 0, 0, 0, 0, 0})}},
       v4areq,
       "socks connected 0, connected 0",
       ""},
      {"5 data with the grant",
       "5",
       false,
       {{3, Bytes({5, 0})}, {v5req.size(), v5ok + "early bytes"}},
       v5greet + v5req,
       "socks connected 0, connected 0",
       "early bytes"},
      {"5 domain reply",
       "5",
       false,
       {{3, Bytes({5, 0})},
        {v5req.size(), Bytes({5, 0, 0, 3, 11}) + "example.org" + Bytes({0, 80}) + "x"}},
       v5greet + v5req,
       "socks connected 0, connected 0",
       "x"},
      {"5 auth asked, none needed",
       "5",
       true,
       {{3, Bytes({5, 0})}, {v5req.size(), v5ok}},
       Bytes({5, 1, 2}) + v5req,
       "socks connected 0, auth not required, connected 0",
       ""},
      {"5 method refused",
       "5",
       false,
       {{3, Bytes({5, 0xFF})}},
       v5greet,
       "socks connected 0, socks error 20003 authentification method not acceptable, connected "
       "20003, closed 20003",
       ""},
      {"5 bad version",
       "5",
       false,
       {{3, Bytes({4, 0})}},
       v5greet,
       "socks connected 0, socks error 20002 socks version error, connected 20002, closed 20002",
       ""},
      {"5 unknown address type",
       "5",
       false,
       {{3, Bytes({5, 0})}, {v5req.size(), Bytes({5, 0, 0, 4, 0})}},
       v5greet + v5req,
       "socks connected 0, socks error 20011 address type not supported, connected 20011, closed "
       "20011",
       ""},
  };
  const char* v5texts[] = {"general SOCKS server failure", "connection not allowed by ruleset",
                           "network unreachable",          "host unreachable",
                           "connection refused",           "time to live expired",
                           "command not supported",        "address type not supported"};
  for (int code = 1; code <= 9; ++code) {
    std::string text = code <= 8 ? v5texts[code - 1] : "unassigned error #9";
    std::string n = std::to_string(code <= 8 ? 20003 + code : 20012);
    cases.push_back(
        {"5 code",
         "5",
         false,
         {{3, Bytes({5, 0})}, {v5req.size(), Bytes({5, code, 0, 1, 0, 0, 0, 0, 0, 0})}},
         v5greet + v5req,
         "socks connected 0, socks error " + n + " " + text + ", connected " + n + ", closed " + n,
         ""});
  }
  for (auto& c : cases) {
    SCOPED_TRACE(std::string(c.Name) + " " + c.Expected);
    TScriptedProxy proxy;
    proxy.Steps = c.Steps;
    proxy.Start();
    TWSocket s(nullptr);
    TSocksRecord rec;
    rec.Attach(s);
    s.SetSocksServer("127.0.0.1");
    s.SetSocksPort(std::to_string(proxy.Port));
    s.SetSocksLevel(c.Level);
    s.SetSocksUsercode("bob");
    if (c.Auth) s.SetSocksAuthentication(socksAuthenticateUsercode);
    s.SetAddr(std::string(c.Level) == "4A" ? "host.example" : target);
    s.SetPort("4660");
    s.Connect();
    ASSERT_TRUE(PumpUntil([&] {
      return (rec.Has("connected 0") && rec.Data.size() >= c.Data.size()) || s.State() == wsClosed;
    }));
    EXPECT_EQ(rec.Joined(), c.Expected);
    EXPECT_EQ(rec.Data, c.Data);
    if (s.State() != wsClosed) s.Close();
    proxy.Thread.join();
    EXPECT_EQ(Hex(proxy.Got), Hex(c.ExpectedRequest));
  }
}

TEST(Socks, OverlongTextsAreRefusedBeforeAnythingIsSent) {
  struct TCase {
    std::string Addr, User, Password;
  };
  for (const TCase& c : {TCase{std::string(256, 'h'), "u", "p"},
                         {"h", std::string(256, 'u'), "p"},
                         {"h", "u", std::string(256, 'p')}}) {
    TScriptedProxy proxy;
    proxy.Start();
    TWSocket s(nullptr);
    int errors = 0;
    s.OnError = [&](TObject*) { ++errors; };
    s.SetSocksServer("127.0.0.1");
    s.SetSocksPort(std::to_string(proxy.Port));
    s.SetSocksAuthentication(socksAuthenticateUsercode);
    s.SetSocksUsercode(c.User);
    s.SetSocksPassword(c.Password);
    s.SetAddr(c.Addr);
    s.SetPort("80");
    s.Connect();
    EXPECT_EQ(errors, 1);
    EXPECT_EQ(s.State(), wsClosed);
    // Release the proxy thread, which waits for a connection.
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(proxy.Port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    ::close(fd);
    proxy.Thread.join();
    EXPECT_EQ(proxy.Got, "");
  }
}

namespace {

// A connected pair inside the process: Peer writes, Line reads in line mode.
struct TLinePair {
  TWSocket Listener{nullptr};
  TWSocket Peer{nullptr};
  TWSocket Line{nullptr};
  TLinePair() {
    Listener.SetAddr("127.0.0.1");
    Listener.SetPort("0");
    Listener.OnSessionAvailable = [this](TObject*, WORD) { Peer.Dup(Listener.Accept()); };
    Listener.Listen();
    Line.SetAddr("127.0.0.1");
    Line.SetPort(Listener.LocalPortText());
    bool connected = false;
    Line.OnSessionConnected = [&connected](TObject*, WORD e) { connected = e == 0; };
    Line.Connect();
    PumpUntil([&] { return connected && Peer.State() == wsConnected; });
    Line.OnSessionConnected = nullptr;
  }
};

}  // namespace

TEST(LineMode, LinesAcrossPacketsAndReadsOfAnySize) {
  struct TCase {
    const char* Name;
    std::vector<std::string> Packets;
    int ReadSize;
    std::vector<std::string> Lines;
  };
  for (const TCase& c :
       {TCase{"split terminator", {"abc\r", "\ndef\r\n"}, 1024, {"abc\r\n", "def\r\n"}},
        TCase{"two lines in one packet",
              {"one\r\ntwo\r\nthr", "ee\r\n"},
              1024,
              {"one\r\n", "two\r\n", "three\r\n"}},
        TCase{"read byte by byte", {"xy\r\nz\r\n"}, 1, {"x", "y", "\r", "\n", "z", "\r", "\n"}}}) {
    SCOPED_TRACE(c.Name);
    TLinePair p;
    p.Line.SetLineMode(true);
    std::vector<std::string> got;
    p.Line.OnDataAvailable = [&](TObject*, WORD) {
      char b[1024];
      int n = p.Line.Receive(b, c.ReadSize);
      if (n > 0) got.emplace_back(b, size_t(n));
    };
    for (const auto& packet : c.Packets) {
      p.Peer.SendText(packet);
      size_t before = got.size();
      PumpUntil([&] { return got.size() > before; }, 300);
    }
    ASSERT_TRUE(PumpUntil([&] { return got.size() >= c.Lines.size(); }));
    EXPECT_EQ(got, c.Lines);
  }
}

TEST(LineMode, LimitHandlerThatReadsNothingAndCloseWithHeldBytes) {
  {
    SCOPED_TRACE("limit");
    TLinePair p;
    p.Line.SetLineMode(true);
    std::vector<int> exceeded;
    p.Line.OnDataAvailable = [&](TObject*, WORD) {};
    p.Line.OnLineLimitExceeded = [&](TObject*, int n, bool& clear) {
      exceeded.push_back(n);
      EXPECT_TRUE(clear);
    };
    p.Peer.SendText(std::string(65536, 'a'));
    ASSERT_TRUE(PumpUntil([&] { return p.Line.RcvdCnt() == 65536; }));
    EXPECT_TRUE(exceeded.empty());
    p.Peer.SendText("a");
    ASSERT_TRUE(PumpUntil([&] { return !exceeded.empty(); }));
    EXPECT_EQ(exceeded, std::vector<int>{65537});
    EXPECT_EQ(p.Line.RcvdCnt(), 0);
  }
  {
    SCOPED_TRACE("handler that reads nothing");
    TLinePair p;
    p.Line.SetLineMode(true);
    int offers = 0;
    bool take = false;
    std::vector<std::string> got;
    p.Line.OnDataAvailable = [&](TObject*, WORD) {
      ++offers;
      if (!take) return;
      got.push_back(p.Line.ReceiveText());
    };
    p.Peer.SendText("held\r\n");
    ASSERT_TRUE(PumpUntil([&] { return offers >= 1; }));
    PumpUntil([] { return false; }, 50);
    EXPECT_EQ(offers, 1) << "a line nobody takes is not offered again without news";
    EXPECT_EQ(p.Line.RcvdCnt(), 6);
    take = true;
    p.Peer.SendText("next\r\n");
    ASSERT_TRUE(PumpUntil([&] { return got.size() == 2; }));
    EXPECT_EQ(got, (std::vector<std::string>{"held\r\n", "next\r\n"}));
  }
  {
    SCOPED_TRACE("close with three bytes held");
    TLinePair p;
    p.Line.SetLineMode(true);
    std::vector<std::string> got;
    std::vector<std::string> order;
    p.Line.OnDataAvailable = [&](TObject*, WORD) {
      std::string t = p.Line.ReceiveText();
      got.push_back(t);
      order.push_back("data");
    };
    p.Line.OnSessionClosed = [&](TObject*, WORD) { order.push_back("closed"); };
    p.Peer.SendText("line\r\nend");
    ASSERT_TRUE(PumpUntil([&] { return got.size() == 1; }));
    p.Peer.Close();
    ASSERT_TRUE(PumpUntil([&] { return p.Line.State() == wsClosed; }));
    EXPECT_EQ(got, (std::vector<std::string>{"line\r\n", "end"}));
    EXPECT_EQ(order.back(), "closed");
  }
  {
    SCOPED_TRACE("held bytes nobody takes are offered once at close");
    TLinePair p;
    p.Line.SetLineMode(true);
    int offers = 0;
    p.Line.OnDataAvailable = [&](TObject*, WORD) { ++offers; };
    p.Peer.SendText("never\r\ntaken");
    ASSERT_TRUE(PumpUntil([&] { return offers == 1; }));
    p.Peer.Close();
    ASSERT_TRUE(PumpUntil([&] { return p.Line.State() == wsClosed; }));
    EXPECT_EQ(offers, 2);
    EXPECT_EQ(p.Line.RcvdCnt(), 0);
  }
}

TEST(LineMode, UnterminatedTailAtCloseIsOfferedUntilTaken) {
  for (int readSize : {1, 5, 1024}) {
    SCOPED_TRACE(readSize);
    TLinePair p;
    p.Line.SetLineMode(true);
    std::vector<std::string> got;
    p.Line.OnDataAvailable = [&](TObject*, WORD) {
      char b[1024];
      int n = p.Line.Receive(b, readSize);
      if (n > 0) got.emplace_back(b, size_t(n));
    };
    p.Peer.SendText("first\r\n0123456789abcdef");
    ASSERT_TRUE(PumpUntil([&] { return p.Line.RcvdCnt() == 16; }));
    p.Peer.Close();
    ASSERT_TRUE(PumpUntil([&] { return p.Line.State() == wsClosed; }));
    std::string all;
    for (const auto& piece : got) {
      EXPECT_LE(piece.size(), size_t(readSize));
      all += piece;
    }
    EXPECT_EQ(all, "first\r\n0123456789abcdef");
  }
}

TEST(LineMode, ManyLinesAtOnceAndTerminatorsSplitAcrossReads) {
  struct TCase {
    const char* Name;
    std::string LineEnd;
    std::vector<std::string> Packets;
  };
  // 3000 lines of varied lengths in one send: most notifications hold many lines.
  std::string many;
  std::vector<std::string> manyLines;
  for (int i = 0; i < 3000; ++i) {
    manyLines.push_back(std::string(size_t(i % 37), char('a' + i % 26)) + std::to_string(i) +
                        "\r\n");
    many += manyLines.back();
  }
  for (const TCase& c :
       {TCase{"many lines", "\r\n", {many}},
        TCase{"three-byte terminator split", "END", {"alphaE", "N", "Dbeta", "EN", "DgammaEND"}},
        TCase{
            "long line in pieces", "\n", {std::string(5000, 'x'), std::string(7000, 'y'), "\n"}}}) {
    SCOPED_TRACE(c.Name);
    TLinePair p;
    p.Line.SetLineEnd(c.LineEnd);
    p.Line.SetLineMode(true);
    // Reads of 1 to 7 bytes, so lines are taken in pieces that end anywhere.
    int reads = 0;
    std::string current;
    std::vector<std::string> lines;
    p.Line.OnDataAvailable = [&](TObject*, WORD) {
      char b[8];
      int n = p.Line.Receive(b, 1 + reads++ % 7);
      if (n <= 0) return;
      current.append(b, size_t(n));
      if (current.ends_with(c.LineEnd)) {
        lines.push_back(current);
        current.clear();
      }
    };
    std::string all;
    for (const auto& packet : c.Packets) {
      all += packet;
      p.Peer.SendText(packet);
      ASSERT_TRUE(PumpUntil([&] {
        std::string seen;
        for (const auto& l : lines) seen += l;
        return seen.size() + current.size() + size_t(p.Line.RcvdCnt()) == all.size();
      }));
    }
    std::vector<std::string> expected;
    if (c.LineEnd == "\r\n") expected = manyLines;
    if (c.LineEnd == "END") expected = {"alphaEND", "betaEND", "gammaEND"};
    if (c.LineEnd == "\n") expected = {std::string(5000, 'x') + std::string(7000, 'y') + "\n"};
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(p.Line.RcvdCnt(), 0);
  }
}

TEST(LineMode, SwitchingModesAndSendLine) {
  TLinePair p;
  std::string peerGot;
  p.Peer.OnDataAvailable = [&](TObject*, WORD) { peerGot += p.Peer.ReceiveText(); };
  EXPECT_EQ(p.Line.SendLine(""), 0);
  EXPECT_EQ(p.Line.SendLine("hello"), 7);
  ASSERT_TRUE(PumpUntil([&] { return peerGot == "hello\r\n"; }));

  // The header line in line mode, then the rest raw: the handler switches modes.
  p.Line.SetLineMode(true);
  std::vector<std::string> got;
  p.Line.OnDataAvailable = [&](TObject*, WORD) {
    std::string t = p.Line.ReceiveText();
    if (t.empty()) return;
    got.push_back(t);
    if (t == "HEADER\r\n") p.Line.SetLineMode(false);
  };
  p.Peer.SendText("HEADER\r\nraw body\r\nmore");
  ASSERT_TRUE(PumpUntil([&] {
    std::string all;
    for (auto& s : got) all += s;
    return all == "HEADER\r\nraw body\r\nmore";
  }));
  EXPECT_EQ(got.front(), "HEADER\r\n");
}

TEST(LineMode, EditingAndEcho) {
  TLinePair p;
  p.Line.SetLineMode(true);
  p.Line.SetLineEdit(true);
  p.Line.SetLineEcho(true);
  std::vector<std::string> got;
  p.Line.OnDataAvailable = [&](TObject*, WORD) { got.push_back(p.Line.ReceiveText()); };
  std::string echoed;
  p.Peer.OnDataAvailable = [&](TObject*, WORD) { echoed += p.Peer.ReceiveText(); };
  // A typing user: a mistake erased with backspace, a tab to the next multiple of 8.
  p.Peer.SendText("abx\bc\td\r\n");
  ASSERT_TRUE(PumpUntil([&] { return !got.empty(); }));
  EXPECT_EQ(got[0], "abc     d\r\n");
  ASSERT_TRUE(PumpUntil([&] { return echoed.size() >= 14; }));
  EXPECT_EQ(echoed, "abx\b \bc     d\r\n");
}

TEST(Socks, ConnectionClosedDuringAuthentication) {
  TScriptedProxy proxy;
  // Accept user/password authentication, then close instead of answering the credentials.
  proxy.Steps = {{3, Bytes({5, 2})}, {1 + 1 + 3 + 1 + 2, ""}};
  proxy.HoldOpen = false;
  proxy.Start();
  TWSocket s(nullptr);
  TSocksRecord rec;
  rec.Attach(s);
  s.SetSocksServer("127.0.0.1");
  s.SetSocksPort(std::to_string(proxy.Port));
  s.SetSocksAuthentication(socksAuthenticateUsercode);
  s.SetSocksUsercode("bob");
  s.SetSocksPassword("pw");
  s.SetAddr("127.0.0.1");
  s.SetPort("80");
  s.Connect();
  ASSERT_TRUE(PumpUntil([&] { return s.State() == wsClosed; }));
  EXPECT_EQ(rec.Joined(), "socks connected 0, auth start, auth failure, closed 0");
  proxy.Thread.join();
  EXPECT_EQ(Hex(proxy.Got), Hex(Bytes({5, 1, 2, 1, 3}) + "bob" + Bytes({2}) + "pw"));
}

TEST(SyncWait, WaitsForEachStepWithABound) {
  TEchoServer echo;
  TWSocket s(nullptr);
  s.SetTimeout(10000);
  bool connected = false, data = false, closed = false, looked = false;
  s.OnSessionConnected = [&](TObject*, WORD e) { connected = e == 0; };
  s.OnDataAvailable = [&](TObject*, WORD) { data = !s.ReceiveText().empty(); };
  s.OnSessionClosed = [&](TObject*, WORD) { closed = true; };
  s.OnDnsLookupDone = [&](TObject*, WORD e) { looked = e == 0; };
  s.RunAndWait(looked, [&] { s.DnsLookup("localhost"); });
  EXPECT_TRUE(looked);
  EXPECT_EQ(s.DnsResult(), "127.0.0.1");
  s.SetAddr(s.DnsResult());
  s.SetPort(echo.Port());
  s.RunAndWait(connected, [&] { s.Connect(); });
  EXPECT_TRUE(connected);
  s.RunAndWait(data, [&] { s.SendText("ping"); });
  EXPECT_TRUE(data);
  s.RunAndWait(closed, [&] { s.Close(); });
  EXPECT_TRUE(closed);

  // A step that never ends times out on the test clock.
  SetManualClock(true);
  s.SetTimeout(1000);
  bool never = false;
  QTimer::singleShot(0, [] { AdvanceClock(1001); });
  EXPECT_EQ(s.WaitUntilDone(never), 12001);
  SetManualClock(false);
}

TEST(Socks, DamagedProxyRepliesEndInAConnectionOrAnError) {
  // The proxy sends all its answers at once, damaged, and then stops sending: the socket ends
  // either connected (error 0) or with one error, and is closed when the proxy is gone.
  const std::string v5ok = Bytes({5, 0, 0, 1, 127, 0, 0, 1, 0x12, 0x34});
  const std::vector<std::pair<std::string, std::string>> bases = {
      {"5", Bytes({5, 0}) + v5ok + "data"},
      {"5", Bytes({5, 2}) + Bytes({1, 0}) + Bytes({5, 0, 0, 3, 4}) + "host" + Bytes({0, 80})},
      {"4", Bytes({0, 90, 0, 0, 0, 0, 0, 0}) + "data"},
      {"4A", Bytes({0, 91, 0, 0, 0, 0, 0, 0})},
  };
  uint32_t seed = 4242;
  auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  for (int round = 0; round < 200; ++round) {
    const auto& [level, base] = bases[size_t(round) % bases.size()];
    std::string reply = base;
    for (int edits = 1 + int(next(3)); edits > 0 && !reply.empty(); --edits) {
      const size_t at = next(uint32_t(reply.size()));
      switch (next(4)) {
        case 0:
          reply[at] = char(next(256));
          break;
        case 1:
          reply.insert(at, 1 + next(300), char(next(256)));
          break;
        case 2:
          reply.erase(at, 1 + next(6));
          break;
        default:
          reply.resize(at);
      }
    }
    SCOPED_TRACE(level + " " + Hex(reply));
    int listenFd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listenFd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(listenFd, reinterpret_cast<sockaddr*>(&a), &len);
    ::listen(listenFd, 1);
    std::thread proxy([listenFd, reply] {
      int fd = ::accept(listenFd, nullptr, nullptr);
      if (fd < 0) return;
      timeval tv{10, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
      char b[512];
      if (::recv(fd, b, sizeof b, 0) > 0) ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
      ::shutdown(fd, SHUT_WR);
      while (::recv(fd, b, sizeof b, 0) > 0) {
      }
      ::close(fd);
    });
    std::vector<std::string> events;
    {
      TWSocket s(nullptr);
      TSocksRecord rec;
      rec.Attach(s);
      s.SetSocksServer("127.0.0.1");
      s.SetSocksPort(std::to_string(ntohs(a.sin_port)));
      s.SetSocksLevel(level);
      s.SetSocksAuthentication(socksAuthenticateUsercode);
      s.SetSocksUsercode("bob");
      s.SetSocksPassword("pw");
      s.SetAddr(level == "4A" ? "host.example" : "127.0.0.1");
      s.SetPort("4660");
      s.Connect();
      EXPECT_TRUE(PumpUntil([&] { return s.State() == wsClosed; }));
      events = rec.Events;
    }
    ::shutdown(listenFd, SHUT_RDWR);
    proxy.join();
    ::close(listenFd);
    int connected = 0;
    for (const auto& e : events) connected += e.rfind("connected ", 0) == 0;
    EXPECT_LE(connected, 1);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().rfind("closed ", 0), 0u);
  }
}
