// The asynchronous socket against peers on 127.0.0.1: event order, transfers, listening, UDP,
// look-ups and the binding's texts.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QEventLoop>
#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "NetTestUtil.h"
#include "PeerUtil.h"
#include "common/TestEnv.h"
#include "net/WSocket.h"

using namespace nettest;

namespace {

const char* StateName(TSocketState s) {
  switch (s) {
    case wsInvalidState:
      return "Invalid";
    case wsOpened:
      return "Opened";
    case wsBound:
      return "Bound";
    case wsConnecting:
      return "Connecting";
    case wsSocksConnected:
      return "SocksConnected";
    case wsConnected:
      return "Connected";
    case wsAccepting:
      return "Accepting";
    case wsListening:
      return "Listening";
    case wsClosed:
      return "Closed";
  }
  return "?";
}

// Records every event of a socket as one text each; the data handler reads what is there.
// Declared before the sockets it records, which still report their closing when destroyed.
struct TRecorder {
  std::vector<std::string> Events;
  std::string Received;
  bool ReadData = true;

  void Attach(TCustomWSocket& s) {
    s.OnChangeState = [this](TObject*, TSocketState o, TSocketState n) {
      Events.push_back(std::string("state ") + StateName(o) + ">" + StateName(n));
    };
    s.OnSessionConnected = [this](TObject*, WORD e) {
      Events.push_back("connected " + std::to_string(e));
    };
    s.OnSessionClosed = [this](TObject*, WORD e) {
      Events.push_back("closed " + std::to_string(e));
    };
    s.OnDataSent = [this](TObject*, WORD e) { Events.push_back("sent " + std::to_string(e)); };
    s.OnDataAvailable = [this, &s](TObject*, WORD e) {
      Events.push_back("data " + std::to_string(e));
      if (!ReadData) return;
      char buf[65536];
      int n = s.Receive(buf, sizeof buf);
      if (n > 0) Received.append(buf, size_t(n));
    };
  }
  bool Has(const std::string& e) const {
    return std::find(Events.begin(), Events.end(), e) != Events.end();
  }
  // The events without repeated "data"/"sent" entries, which depend on how the bytes arrive.
  std::vector<std::string> Squeezed() const {
    std::vector<std::string> r;
    for (const auto& e : Events)
      if (r.empty() || r.back() != e) r.push_back(e);
    return r;
  }
};

std::string Join(const std::vector<std::string>& v) {
  std::string r;
  for (const auto& s : v) r += (r.empty() ? "" : ", ") + s;
  return r;
}

#define REQUIRE_PROGRAM(var, name)     \
  std::string var = FindProgram(name); \
  if (var.empty()) GTEST_SKIP() << name " is not installed (scripts/setup installs it)";

}  // namespace

TEST(WSocket, EchoPeerGivesConnectSendReceiveCloseInOrder) {
  REQUIRE_PROGRAM(socat, "socat");
  int port = FreePort();
  TPeerProcess echo;
  ASSERT_TRUE(echo.Start(
      socat, {QString("TCP-LISTEN:%1,bind=127.0.0.1,reuseaddr,fork").arg(port), "PIPE"}));
  ASSERT_TRUE(WaitListening(port)) << echo.Errors();
  TRecorder rec;
  TWSocket s(nullptr);
  rec.Attach(s);
  s.SetAddr("127.0.0.1");
  s.SetPort(std::to_string(port));
  s.Connect();
  bool connected = PumpUntil([&] { return rec.Has("connected 0"); });
  ASSERT_TRUE(connected);
  ASSERT_TRUE(PumpUntil([&] { return rec.Has("sent 0"); }));
  EXPECT_EQ(Join(rec.Events),
            "state Closed>Opened, state Opened>Connecting, state Connecting>Connected, "
            "connected 0, sent 0");
  EXPECT_EQ(s.PeerAddress(), "127.0.0.1");
  EXPECT_EQ(s.PeerPort(), std::to_string(port));

  rec.Events.clear();
  EXPECT_EQ(s.SendText("hello, peer"), 11);
  // All bytes went out at once, yet the sent event comes from the message loop.
  EXPECT_TRUE(rec.Events.empty());
  ASSERT_TRUE(PumpUntil([&] { return rec.Received == "hello, peer"; })) << rec.Received;
  EXPECT_EQ(rec.Events.front(), "sent 0");
  EXPECT_EQ(rec.Events.at(1), "data 0");

  rec.Events.clear();
  s.Close();
  EXPECT_EQ(Join(rec.Events), "state Connected>Closed, closed 0");
  EXPECT_EQ(s.State(), wsClosed);
  // After a close the port counts as not assigned although its text stays.
  EXPECT_EQ(s.Port(), std::to_string(port));
  s.OnError = [](TObject*) {};
  rec.Events.clear();
  s.Connect();
  EXPECT_TRUE(rec.Events.empty());
  s.OnError = nullptr;
  try {
    s.Connect();
    FAIL() << "no exception";
  } catch (ESocketException& e) {
    EXPECT_EQ(e.Message(), "Connect: No Port Specified");
  }
}

TEST(WSocket, PeerThatClosesOrResetsEndsTheSessionAfterItsData) {
  REQUIRE_PROGRAM(socat, "socat");
  struct TCase {
    const char* Name;
    bool Reset;
    const char* Closed;
  };
  for (TCase c : {TCase{"graceful", false, "closed 0"}, TCase{"reset", true, "closed 10054"}}) {
    SCOPED_TRACE(c.Name);
    // A scripted peer: sends a greeting, then closes (or resets) the connection.
    int lfd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ASSERT_EQ(::bind(lfd, reinterpret_cast<sockaddr*>(&a), sizeof a), 0);
    socklen_t len = sizeof a;
    ::getsockname(lfd, reinterpret_cast<sockaddr*>(&a), &len);
    ::listen(lfd, 1);
    std::thread peer([lfd, c] {
      int fd = ::accept(lfd, nullptr, nullptr);
      if (!c.Reset) {
        ::send(fd, "bye", 3, MSG_NOSIGNAL);
      } else {
        // Wait until the client's "go" arrives so the reset is not taken for a refusal.
        char b[2];
        ::recv(fd, b, 2, 0);
        linger l{1, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &l, sizeof l);
      }
      ::close(fd);
    });
    TRecorder rec;
    TWSocket s(nullptr);
    rec.Attach(s);
    s.SetAddr("127.0.0.1");
    s.SetPort(std::to_string(ntohs(a.sin_port)));
    s.Connect();
    ASSERT_TRUE(PumpUntil([&] { return rec.Has("connected 0"); }));
    if (c.Reset) s.SendText("go");
    ASSERT_TRUE(PumpUntil([&] { return s.State() == wsClosed; }));
    peer.join();
    ::close(lfd);
    auto ev = rec.Squeezed();
    std::vector<std::string> tail(ev.end() - 2, ev.end());
    EXPECT_EQ(Join(tail), std::string(c.Closed) + ", state Connected>Closed") << Join(ev);
    if (!c.Reset) {
      EXPECT_EQ(rec.Received, "bye");
      auto data = std::find(ev.begin(), ev.end(), "data 0");
      auto closed = std::find(ev.begin(), ev.end(), c.Closed);
      EXPECT_LT(data, closed);
    }
    EXPECT_EQ(std::count(ev.begin(), ev.end(), c.Closed), 1);
  }
}

TEST(WSocket, RefusedConnectionReportsOnlyTheConnectError) {
  int port = FreePort();
  TRecorder rec;
  TWSocket s(nullptr);
  rec.Attach(s);
  s.SetAddr("127.0.0.1");
  s.SetPort(std::to_string(port));
  s.Connect();
  ASSERT_TRUE(PumpUntil([&] { return s.State() == wsClosed; }));
  EXPECT_EQ(Join(rec.Events),
            "state Closed>Opened, state Opened>Connecting, state Connecting>Connected, "
            "connected 10061, state Connected>Closed, closed 0");
  // Nothing else arrives later for the closed socket.
  PumpUntil([] { return false; }, 50);
  EXPECT_EQ(rec.Events.size(), 6u);
}

TEST(WSocket, MultiMegabyteTransferArrivesCompleteThoughClosedAtOnce) {
  REQUIRE_PROGRAM(socat, "socat");
  std::string dir = sonalix::test::MakeTempDir().string();
  std::string file = dir + "/sink.bin";
  int port = FreePort();
  TPeerProcess sink;
  ASSERT_TRUE(sink.Start(socat, {"-u", QString("TCP-LISTEN:%1,bind=127.0.0.1,reuseaddr").arg(port),
                                 QString::fromStdString("CREATE:" + file)}));
  std::string payload = RandomBytes(8 * 1024 * 1024 + 123, 7);
  TRecorder rec;
  TWSocket s(nullptr);
  rec.Attach(s);
  bool connected = false;
  for (int attempt = 0; attempt < 200 && !connected; ++attempt) {
    s.SetAddr("127.0.0.1");
    s.SetPort(std::to_string(port));
    s.Connect();
    PumpUntil([&] {
      return s.State() == wsConnected && rec.Has("connected 0") || s.State() == wsClosed;
    });
    connected = rec.Has("connected 0");
    if (!connected) std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(connected);
  rec.Events.clear();
  s.SendText(payload);
  ASSERT_TRUE(PumpUntil([&] { return rec.Has("sent 0"); }, 30000));
  // The kernel may still hold bytes: the close must let them go out.
  s.Close();
  ASSERT_TRUE(sink.WaitExit(30000));
  std::ifstream in(file, std::ios::binary);
  std::string got((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(got.size(), payload.size());
  EXPECT_TRUE(got == payload);
}

TEST(WSocket, ListenerAcceptsAndBothSidesTalk) {
  TRecorder srec, crec;
  TWSocket server(nullptr), client(nullptr), served(nullptr);
  server.SetAddr("127.0.0.1");
  server.SetPort("0");
  server.Listen();
  ASSERT_EQ(server.State(), wsListening);
  std::string port = server.LocalPortText();
  ASSERT_NE(port, "0");
  EXPECT_EQ(server.LocalAddressText(), "127.0.0.1");
  server.OnSessionAvailable = [&](TObject*, WORD err) {
    EXPECT_EQ(err, 0);
    served.Dup(server.Accept());
  };
  srec.Attach(served);
  crec.Attach(client);
  client.SetAddr("127.0.0.1");
  client.SetPort(port);
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return served.State() == wsConnected && crec.Has("connected 0"); }));
  // An accepted socket may send at once.
  ASSERT_TRUE(PumpUntil([&] { return srec.Has("sent 0"); }));
  client.SendText("ping");
  ASSERT_TRUE(PumpUntil([&] { return srec.Received == "ping"; }));
  served.SendText("pong");
  ASSERT_TRUE(PumpUntil([&] { return crec.Received == "pong"; }));
  served.Close();
  ASSERT_TRUE(PumpUntil([&] { return client.State() == wsClosed; }));
  EXPECT_TRUE(crec.Has("closed 0"));
  // The listener keeps listening.
  EXPECT_EQ(server.State(), wsListening);
}

TEST(WSocket, UdpRoundTrip) {
  TWSocket server(nullptr), client(nullptr);
  server.SetProto("udp");
  server.SetAddr("127.0.0.1");
  server.SetPort("0");
  server.Listen();
  ASSERT_EQ(server.State(), wsConnected);
  std::string port = server.LocalPortText();
  server.OnDataAvailable = [&](TObject*, WORD) {
    char buf[512];
    sockaddr_in from{};
    int fromLen = sizeof from;
    int n = server.ReceiveFrom(buf, sizeof buf, from, fromLen);
    if (n > 0) {
      std::string reply = "echo:" + std::string(buf, size_t(n));
      server.SendTo(from, fromLen, reply.data(), int(reply.size()));
    }
  };
  std::string got;
  client.SetProto("udp");
  client.SetAddr("127.0.0.1");
  client.SetPort(port);
  client.OnDataAvailable = [&](TObject*, WORD) { got += client.ReceiveText(); };
  client.Connect();
  ASSERT_EQ(client.State(), wsConnected);
  client.SendText("datagram");
  ASSERT_TRUE(PumpUntil([&] { return !got.empty(); }));
  EXPECT_EQ(got, "echo:datagram");
}

TEST(WSocket, LookupsOfLocalNames) {
  TWSocket s(nullptr);
  std::vector<int> done;
  s.OnDnsLookupDone = [&](TObject*, WORD e) { done.push_back(e); };
  s.DnsLookup("10.1.2.3");
  ASSERT_EQ(done.size(), 1u) << "dotted addresses are answered before the call returns";
  EXPECT_EQ(done[0], 0);
  EXPECT_EQ(s.DnsResult(), "10.1.2.3");

  done.clear();
  s.DnsLookup("localhost");
  EXPECT_TRUE(done.empty());
  ASSERT_TRUE(PumpUntil([&] { return !done.empty(); }));
  EXPECT_EQ(done[0], 0);
  EXPECT_EQ(s.DnsResult(), "127.0.0.1");

  // A label of 64 characters is not a valid name: it fails here, without asking any server.
  done.clear();
  s.DnsLookup(std::string(64, 'a') + ".invalid");
  ASSERT_TRUE(PumpUntil([&] { return !done.empty(); }));
  EXPECT_NE(done[0], 0);
  EXPECT_EQ(s.DnsResult(), "");

  done.clear();
  s.ReverseLookup("127.0.0.1");
  ASSERT_TRUE(PumpUntil([&] { return !done.empty(); }));
  EXPECT_EQ(done[0], 0);
  EXPECT_EQ(s.DnsResult(), "localhost");

  done.clear();
  s.ReverseLookupBlocking("127.0.0.1");
  ASSERT_EQ(done.size(), 1u);
  EXPECT_EQ(done[0], 0);
  EXPECT_EQ(s.DnsResult(), "localhost");

  // A cancelled lookup reports 10004 at once and its answer never arrives.
  done.clear();
  s.DnsLookup("localhost");
  s.CancelLookup();
  EXPECT_EQ(done, std::vector<int>{10004});
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(done.size(), 1u);

  // A lookup cancelled by destruction never reports.
  {
    TWSocket gone(nullptr);
    bool reported = false;
    gone.OnDnsLookupDone = [&](TObject*, WORD) { reported = true; };
    gone.DnsLookup("localhost");
  }
  PumpUntil([] { return false; }, 100);

  // An empty name is reported through OnError, then ends the lookup with 10022.
  std::vector<std::string> order;
  s.OnError = [&](TObject*) { order.push_back("error"); };
  s.OnDnsLookupDone = [&](TObject*, WORD e) { order.push_back("done " + std::to_string(e)); };
  s.DnsLookup("");
  EXPECT_EQ(Join(order), "error, done 10022");
}

TEST(WSocket, SendWhenNotConnectedReportsNotConnected) {
  TWSocket s(nullptr);
  int errors = 0;
  s.OnError = [&](TObject*) { ++errors; };
  EXPECT_EQ(s.SendText("x"), -1);
  EXPECT_EQ(s.LastError(), 10057);
  EXPECT_EQ(errors, 1);
  s.OnError = nullptr;
  try {
    s.SendText("x");
    FAIL();
  } catch (ESocketException& e) {
    EXPECT_EQ(e.Message(), "Socket is not connected (#10057 in Send)");
  }
}

TEST(WSocket, NamesNumbersAndErrorTexts) {
  struct TDotted {
    const char* Text;
    bool Dotted;
  };
  for (TDotted c : {TDotted{"127.0.0.1", true},
                    {"  10.1.2.3", true},
                    {"10.1.2.3  ", true},
                    {"1.2.3.256", false},
                    {".1.2.3", false},
                    {"1.2.3.", false},
                    {"1.2.3.4.5", false},
                    {"1.2.3", false},
                    {"1..2.3", false},
                    {"10.1.2.3x", false},
                    {"localhost", false},
                    {"", false}})
    EXPECT_EQ(IsDottedIP(c.Text), c.Dotted) << c.Text;
  EXPECT_EQ(ResolveHost("255.255.255.255"), 0xFFFFFFFFu);
  EXPECT_EQ(ResolveHost("127.0.0.1"), htonl(0x7F000001));
  EXPECT_EQ(ResolveHost("localhost"), htonl(0x7F000001));
  try {
    ResolveHost("");
    FAIL();
  } catch (ESocketException& e) {
    EXPECT_EQ(e.Message(), "Winsock Resolve Host: '' Invalid Hostname.");
  }
  EXPECT_EQ(ResolvePort("8080abc", "tcp"), 8080);
  EXPECT_EQ(ResolvePort("http", "tcp"), 80);
  EXPECT_EQ(ResolveProto("udp"), 17);
  EXPECT_EQ(ResolveProto("17"), 17);
  EXPECT_EQ(ResolveProto(" TCP "), 6);
  struct TText {
    int Code;
    const char* Text;
  };
  for (TText c : {TText{0, "No Error (#0)"},
                  {10035, "Operation would block (#10035)"},
                  {10054, "Connection reset by peer (#10054)"},
                  {10061, "Connection refused (#10061)"},
                  {11004, "No Data (#11004)"},
                  {10069, "Disc quota exceeded (#10069)"},
                  {12345, "Not a WinSock error (#12345)"}})
    EXPECT_EQ(WinsockErrorMessage(c.Code), c.Text);
  EXPECT_FALSE(LocalHostName().empty());
}

TEST(WSocket, LastSocketUnloadsAndTheNextLoadsWithTheThenVersion) {
  {
    TWSocket s(nullptr);
    s.DnsLookup("127.0.0.1");
    EXPECT_TRUE(WSocketLoaded());
    s.OnError = [](TObject*) {};
    s.SetReqVerHigh(2);  // refused while loaded
    EXPECT_EQ(s.ReqVerHigh(), 1);
  }
  EXPECT_FALSE(WSocketLoaded());
  {
    TWSocket s(nullptr);
    s.SetReqVerHigh(2);
    EXPECT_EQ(s.ReqVerHigh(), 2);
    s.SetReqVerHigh(1);
  }
}

TEST(WSocket, ExceptionInHandlerReachesBgExceptionAndAbortsByDefault) {
  for (bool canClose : {true, false}) {
    TWSocket server(nullptr), client(nullptr);
    server.SetAddr("127.0.0.1");
    server.SetPort("0");
    server.Listen();
    client.SetAddr("127.0.0.1");
    client.SetPort(server.LocalPortText());
    std::string seen;
    client.OnBgException = [&](TObject*, Exception& E, bool& CanClose) {
      seen = E.Message();
      CanClose = canClose;
    };
    client.OnSessionConnected = [&](TObject*, WORD) { throw ESocketException("from handler"); };
    client.Connect();
    ASSERT_TRUE(PumpUntil([&] { return !seen.empty(); }));
    EXPECT_EQ(seen, "from handler");
    EXPECT_EQ(client.State(), canClose ? wsClosed : wsConnected);
    // The test message goes the same way.
    seen.clear();
    PostMessage(client.Handle(), client.MsgTriggerException(), 0, 0);
    ASSERT_TRUE(PumpUntil([&] { return !seen.empty(); }));
    EXPECT_EQ(seen, "Test exception in WSocket");
  }
}

TEST(WSocket, PausedSocketHearsNothingUntilResumed) {
  TRecorder crec;
  TWSocket server(nullptr), client(nullptr), served(nullptr);
  server.SetAddr("127.0.0.1");
  server.SetPort("0");
  server.Listen();
  server.OnSessionAvailable = [&](TObject*, WORD) { served.Dup(server.Accept()); };
  crec.Attach(client);
  client.SetAddr("127.0.0.1");
  client.SetPort(server.LocalPortText());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return served.State() == wsConnected && crec.Has("connected 0"); }));
  client.Pause();
  served.SendText("while paused");
  PumpUntil([] { return false; }, 100);
  EXPECT_EQ(crec.Received, "");
  client.Resume();
  ASSERT_TRUE(PumpUntil([&] { return crec.Received == "while paused"; }));
}

TEST(WSocket, LoggerHearsWhatItAsksFor) {
  TIcsLogger logger(nullptr);
  std::vector<std::string> lines;
  logger.SetLogOptions(TLogOptions{loDestEvent, loWsockInfo});
  logger.OnIcsLogEvent = [&](TObject*, TLogOption, const std::string& m) { lines.push_back(m); };
  TWSocket server(nullptr), client(nullptr);
  server.SetAddr("127.0.0.1");
  server.SetPort("0");
  server.Listen();
  client.SetIcsLogger(&logger);
  client.SetAddr("127.0.0.1");
  client.SetPort(server.LocalPortText());
  client.Connect();
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0], "TWSocket will connect to 127.0.0.1:" + server.LocalPortText());
  ASSERT_TRUE(PumpUntil([&] { return client.State() == wsConnected; }));
  client.CloseLater();
  EXPECT_EQ(client.State(), wsConnected);
  ASSERT_TRUE(PumpUntil([&] { return client.State() == wsClosed; }));
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_NE(lines[1].find(" TCustomWSocket.Shutdown 1 "), std::string::npos) << lines[1];
}

TEST(WSocket, MovesToAnotherThreadAndBack) {
  TWSocket server(nullptr), client(nullptr), served(nullptr);
  server.SetAddr("127.0.0.1");
  server.SetPort("0");
  server.Listen();
  server.OnSessionAvailable = [&](TObject*, WORD) { served.Dup(server.Accept()); };
  bool connected = false;
  client.OnSessionConnected = [&](TObject*, WORD e) { connected = e == 0; };
  client.SetAddr("127.0.0.1");
  client.SetPort(server.LocalPortText());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return connected && served.State() == wsConnected; }));

  std::string got;
  std::atomic<int> stage{0};
  client.OnDataAvailable = [&](TObject*, WORD) { got += client.ReceiveText(); };
  client.DetachFromThread();
  EXPECT_EQ(client.HandleValue(), nullptr);
  std::thread worker([&] {
    QEventLoop loop;  // gives this thread its event dispatcher
    client.AttachToThread();
    stage = 1;
    PumpUntil([&] { return got == "to the worker"; });
    client.DetachFromThread();
    stage = 2;
  });
  ASSERT_TRUE(PumpUntil([&] { return stage.load() >= 1; }));
  served.SendText("to the worker");
  ASSERT_TRUE(PumpUntil([&] { return stage.load() == 2; }));
  worker.join();
  EXPECT_EQ(got, "to the worker");
  client.AttachToThread();
  served.SendText(" and back");
  ASSERT_TRUE(PumpUntil([&] { return got == "to the worker and back"; }));
}

TEST(WSocket, NegativeLengthsAreRefusedWithoutTouchingTheBuffer) {
  TWSocket listener(nullptr), client(nullptr), served(nullptr);
  listener.SetAddr("127.0.0.1");
  listener.SetPort("0");
  listener.OnSessionAvailable = [&](TObject*, WORD) {
    served.Dup(listener.Accept());
    served.SendText("abc");
  };
  listener.Listen();
  std::vector<std::string> got;
  client.OnDataAvailable = [&](TObject*, WORD) {
    char buf[8] = "-------";
    int n = client.Receive(buf, -1);
    got.push_back(std::to_string(n) + " " + std::to_string(client.LastError()) + " " + buf);
    n = client.Receive(buf, sizeof buf - 1);
    if (n > 0) got.push_back(std::string(buf, size_t(n)));
  };
  client.SetAddr("127.0.0.1");
  client.SetPort(listener.LocalPortText());
  client.Connect();
  ASSERT_TRUE(PumpUntil([&] { return got.size() >= 2; }));
  EXPECT_EQ(got[0], "-1 10014 -------");
  EXPECT_EQ(got[1], "abc");
  EXPECT_EQ(client.Send("x", -5), 0);
}
