// The HTTP client against lighttpd, tinyproxy and scripted servers on 127.0.0.1 (no name is
// looked up: every address is dotted).

#include <fcntl.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <atomic>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <future>
#include <thread>

#include "NetTestUtil.h"
#include "PeerUtil.h"
#include "common/TestEnv.h"
#include "net/HttpProt.h"
#include "net/IcsMimeUtils.h"
#include "platform/win/QtWindows.h"

using namespace nettest;

namespace {

std::string MemText(TMemoryStream& m) {
  return std::string(static_cast<const char*>(m.Memory()), size_t(m.Size()));
}

void WriteFile(const std::string& path, const std::string& data, bool exec = false) {
  std::ofstream f(path, std::ios::binary);
  f << data;
  f.close();
  if (exec) ::chmod(path.c_str(), 0755);
}

// lighttpd serving a folder of static files, CGI scripts and a Basic-protected folder.
struct TLighttpd {
  std::string Dir;
  std::string Www;
  int Port = 0;
  TPeerProcess Process;
  std::string Big;  // the download, also served by a CGI that streams it
  static constexpr std::time_t OldTime = 1577880000;  // 2020-01-01 12:00:00 UTC

  bool Start() {
    std::string exe = FindProgram("lighttpd");
    if (exe.empty()) return false;
    Dir = sonalix::test::MakeTempDir("lighttpd").string();
    Www = Dir + "/www";
    ::mkdir(Www.c_str(), 0755);
    ::mkdir((Www + "/cgi").c_str(), 0755);
    ::mkdir((Www + "/private").c_str(), 0755);
    Big = RandomBytes(300000, 11);
    WriteFile(Www + "/big.bin", Big);
    WriteFile(Www + "/a.txt", "hello\n");
    // Changed long ago: the server distrusts times of the current second.
    timespec times[2] = {{OldTime, 0}, {OldTime, 0}};
    ::utimensat(AT_FDCWD, (Www + "/a.txt").c_str(), times, 0);
    WriteFile(Www + "/private/s.txt", "secret\n");
    WriteFile(Dir + "/users", "alice:s3cret\n");
    WriteFile(Www + "/cgi/big.cgi",
              "#!/bin/sh\nprintf 'Content-Type: application/octet-stream\\r\\n\\r\\n'\nexec cat '" +
                  Www + "/big.bin'\n",
              true);
    WriteFile(Www + "/cgi/redirect.cgi",
              "#!/bin/sh\nn=${QUERY_STRING#n=}\nif [ \"$n\" -gt 0 ]; then\n"
              "  printf 'Status: 302 Found\\r\\nLocation: redirect.cgi?n=%d\\r\\n\\r\\n' $((n-1))\n"
              "else\n  printf 'Content-Type: text/plain\\r\\n\\r\\nlanded'\nfi\n",
              true);
    WriteFile(Www + "/cgi/post.cgi",
              "#!/bin/sh\nprintf 'Content-Type: text/plain\\r\\n\\r\\n%s:' \"$REQUEST_METHOD\"\n"
              "exec head -c \"$CONTENT_LENGTH\"\n",
              true);
    Port = FreePort();
    WriteFile(
        Dir + "/lighttpd.conf",
        "server.document-root = \"" + Www +
            "\"\n"
            "server.bind = \"127.0.0.1\"\n"
            "server.port = " +
            std::to_string(Port) +
            "\n"
            "server.modules = (\"mod_auth\", \"mod_authn_file\", \"mod_cgi\")\n"
            "server.stream-response-body = 2\n"
            "server.errorlog = \"" +
            Dir +
            "/error.log\"\n"
            "cgi.assign = (\".cgi\" => \"\")\n"
            // Dates (and so "not modified") come only with a known type.
            "mimetype.assign = (\".txt\" => \"text/plain\")\n"
            "auth.backend = \"plain\"\n"
            "auth.backend.plain.userfile = \"" +
            Dir +
            "/users\"\n"
            "auth.require = (\"/private/\" => (\"method\" => \"basic\", \"realm\" => \"test\", "
            "\"require\" => \"valid-user\"))\n");
    if (!Process.Start(exe, {"-D", "-f", QString::fromStdString(Dir + "/lighttpd.conf")}))
      return false;
    return WaitListening(Port);
  }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(Port) + path;
  }
};

// Runs one request to its end; returns the error code of OnRequestDone (-1: no end in time).
int RunRequest(THttpCli& h, const std::function<void()>& start, int Ms = 20000) {
  int err = -1;
  h.OnRequestDone = [&](TObject*, THttpRequest, WORD e) { err = e; };
  start();
  PumpUntil([&] { return err >= 0; }, Ms);
  return err;
}

// A server played by a thread: for each request read (header and announced body), the script
// returns the bytes to answer; Close makes it close the connection afterwards; "" with
// Close = false stalls until the client goes.
struct TScriptedHttp {
  using TScript = std::function<std::string(const std::string& Request, int Index, bool& Close)>;
  int ListenFd = -1;
  int Port = 0;
  std::thread Thread;
  std::vector<std::string> Requests;
  std::atomic<bool> Stop{false};

  explicit TScriptedHttp(TScript script, int connections = 1) {
    ListenFd = ListenOnLoopback(Port);
    Thread = std::thread([this, script, connections] {
      int index = 0;
      for (int c = 0; c < connections; ++c) {
        int fd = ::accept(ListenFd, nullptr, nullptr);
        if (fd < 0) return;
        timeval tv{10, 0};
        ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
        std::string pending;
        bool open = true;
        while (open && !Stop) {
          size_t end;
          while ((end = pending.find("\r\n\r\n")) == std::string::npos) {
            char b[4096];
            ssize_t n = ::recv(fd, b, sizeof b, 0);
            if (n <= 0) {
              open = false;
              break;
            }
            pending.append(b, size_t(n));
          }
          if (!open) break;
          std::string req = pending.substr(0, end + 4);
          pending.erase(0, end + 4);
          size_t cl = req.find("Content-Length: ");
          size_t body = cl == std::string::npos ? 0 : std::stoul(req.substr(cl + 16));
          while (pending.size() < body) {
            char b[4096];
            ssize_t n = ::recv(fd, b, sizeof b, 0);
            if (n <= 0) break;
            pending.append(b, size_t(n));
          }
          req += pending.substr(0, body);
          pending.erase(0, std::min(body, pending.size()));
          Requests.push_back(req);
          bool close = true;
          std::string reply = script(req, index++, close);
          if (reply.empty() && !close) {
            char b[256];
            while (::recv(fd, b, sizeof b, 0) > 0) {
            }
            break;
          }
          ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
          if (close) break;
        }
        ::close(fd);
      }
    });
  }
  ~TScriptedHttp() {
    Stop = true;
    ::shutdown(ListenFd, SHUT_RDWR);
    if (Thread.joinable()) Thread.join();
    ::close(ListenFd);
  }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(Port) + path;
  }
};

std::string HeaderValue(const std::string& req, const std::string& name) {
  size_t p = req.find("\r\n" + name + ": ");
  if (p == std::string::npos) return "";
  p += name.size() + 4;
  return req.substr(p, req.find("\r\n", p) - p);
}

}  // namespace

TEST(HttpCli, StaticFilesKeepAliveAndNotModified) {
  TLighttpd web;
  if (FindProgram("lighttpd").empty())
    GTEST_SKIP() << "lighttpd is not installed (scripts/setup installs it)";
  ASSERT_TRUE(web.Start()) << web.Process.Errors();
  THttpCli h(nullptr);
  TMemoryStream reply;
  h.SetReplyStream(&reply);
  h.SetRequestVer("1.1");
  h.URL = web.Url("/big.bin");
  std::vector<std::string> events;
  h.OnDocBegin = [&](TObject*) { events.push_back("doc begin"); };
  h.OnDocEnd = [&](TObject*) { events.push_back("doc end"); };
  h.OnHeaderEnd = [&](TObject*) { events.push_back("header end"); };
  int64_t docData = 0;
  h.OnDocData = [&](TObject*, const void*, int n) { docData += n; };
  ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0);
  EXPECT_EQ(h.ReplyCode(), 200);
  EXPECT_EQ(h.DocName(), "big.bin");
  EXPECT_EQ(h.ContentLength(), int64_t(web.Big.size()));
  EXPECT_TRUE(MemText(reply) == web.Big);
  EXPECT_EQ(docData, int64_t(web.Big.size()));
  EXPECT_EQ(events, (std::vector<std::string>{"header end", "doc begin", "doc end"}));
  EXPECT_EQ(h.State(), httpReady);

  // The next request to the same server goes over the same connection.
  SOCKET first = h.CtrlSocket()->SocketHandle();
  ASSERT_NE(first, INVALID_SOCKET);
  reply.Clear();
  h.URL = web.Url("/a.txt");
  ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0);
  EXPECT_EQ(MemText(reply), "hello\n");
  EXPECT_EQ(h.CtrlSocket()->SocketHandle(), first);

  // If-Modified-Since travels in GMT: with a local zone far from it, the file's own time (given
  // as local time) is "not modified".
  const char* oldTz = std::getenv("TZ");
  std::string saved = oldTz ? oldTz : "";
  setenv("TZ", "EST5EDT", 1);
  tzset();
  std::time_t t = TLighttpd::OldTime;
  std::tm lt{};
  localtime_r(&t, &lt);
  h.ModifiedSince = EncodeDate(lt.tm_year + 1900, lt.tm_mon + 1, lt.tm_mday) +
                    EncodeTime(lt.tm_hour, lt.tm_min, lt.tm_sec, 0);
  reply.Clear();
  int err = RunRequest(h, [&] { h.GetAsync(); });
  if (oldTz)
    setenv("TZ", saved.c_str(), 1);
  else
    unsetenv("TZ");
  tzset();
  ASSERT_EQ(err, 0);
  EXPECT_EQ(h.ReplyCode(), 304);
  EXPECT_EQ(reply.Size(), 0);
  h.ModifiedSince = 0;
}

TEST(HttpCli, StreamedBodiesChunkedAndClosedByTheServer) {
  TLighttpd web;
  if (FindProgram("lighttpd").empty())
    GTEST_SKIP() << "lighttpd is not installed (scripts/setup installs it)";
  ASSERT_TRUE(web.Start()) << web.Process.Errors();
  struct TCase {
    const char* Version;
    const char* Framing;
  };
  for (TCase c : {TCase{"1.1", "Transfer-Encoding: chunked"}, TCase{"1.0", "Connection: close"}}) {
    SCOPED_TRACE(c.Version);
    THttpCli h(nullptr);
    TMemoryStream reply;
    h.SetReplyStream(&reply);
    h.SetRequestVer(c.Version);
    h.URL = web.Url("/cgi/big.cgi");
    ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0) << h.ReplyText();
    EXPECT_EQ(h.ReplyCode(), 200);
    bool framed = false;
    for (const auto& l : h.RcvdHeader()) framed |= l == c.Framing;
    EXPECT_TRUE(framed);
    EXPECT_EQ(reply.Size(), int64_t(web.Big.size()));
    EXPECT_TRUE(MemText(reply) == web.Big);
  }
}

TEST(HttpCli, RelocationsAndTheirLimit) {
  TLighttpd web;
  if (FindProgram("lighttpd").empty())
    GTEST_SKIP() << "lighttpd is not installed (scripts/setup installs it)";
  ASSERT_TRUE(web.Start()) << web.Process.Errors();
  struct TCase {
    int Hops;
    bool Allow;
    int Code;
    int Count;
    int Asked;
    const char* Body;
  };
  for (TCase c : {TCase{3, false, 200, 3, 0, "landed"}, TCase{5, false, 200, 5, 0, "landed"},
                  TCase{6, false, 302, 6, 1, ""}, TCase{6, true, 200, 6, 1, "landed"}}) {
    for (const char* ver : {"1.0", "1.1"}) {
      SCOPED_TRACE(std::to_string(c.Hops) + (c.Allow ? " allowed " : " ") + ver);
      THttpCli h(nullptr);
      TMemoryStream reply;
      h.SetReplyStream(&reply);
      h.SetRequestVer(ver);
      int asked = 0, changes = 0;
      h.OnLocationChangeExceeded = [&](TObject*, int count, bool& allow) {
        ++asked;
        EXPECT_EQ(count, 6);
        allow = c.Allow;
      };
      h.OnLocationChange = [&](TObject*) { ++changes; };
      h.URL = web.Url("/cgi/redirect.cgi?n=" + std::to_string(c.Hops));
      ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0) << h.ReplyText();
      EXPECT_EQ(h.ReplyCode(), c.Code);
      EXPECT_EQ(h.LocationChangeCurCount(), c.Count);
      EXPECT_EQ(asked, c.Asked);
      EXPECT_EQ(changes, c.Code == 200 ? c.Hops : 5);
      EXPECT_EQ(MemText(reply), c.Body);
      if (c.Code == 200) EXPECT_EQ(h.Location(), web.Url("/cgi/redirect.cgi?n=0"));
    }
  }
}

TEST(HttpCli, BasicAuthenticationAndPost) {
  TLighttpd web;
  if (FindProgram("lighttpd").empty())
    GTEST_SKIP() << "lighttpd is not installed (scripts/setup installs it)";
  ASSERT_TRUE(web.Start()) << web.Process.Errors();
  struct TCase {
    const char* Password;
    THttpAuthType Preset;
    int Code;
    const char* Body;
  };
  for (TCase c : {TCase{"s3cret", httpAuthNone, 200, "secret\n"},
                  {"s3cret", httpAuthBasic, 200, "secret\n"},
                  {"wrong", httpAuthNone, 401, ""}}) {
    SCOPED_TRACE(c.Password);
    THttpCli h(nullptr);
    TMemoryStream reply;
    h.SetReplyStream(&reply);
    h.Username = "alice";
    h.Password = c.Password;
    h.ServerAuth = c.Preset;
    h.URL = web.Url("/private/s.txt");
    ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0);
    EXPECT_EQ(h.ReplyCode(), c.Code);
    if (c.Code == 200) EXPECT_EQ(MemText(reply), c.Body);
  }
  THttpCli h(nullptr);
  TMemoryStream reply, post;
  std::string payload = RandomBytes(50000, 3);
  post.WriteString(payload);
  post.SetPosition(0);
  h.SetReplyStream(&reply);
  h.SetPostStream(&post);
  h.URL = web.Url("/cgi/post.cgi");
  int sent = 0;
  h.OnSendData = [&](TObject*, const void*, int n) { sent += n; };
  ASSERT_EQ(RunRequest(h, [&] { h.PostAsync(); }), 0) << h.ReplyText();
  EXPECT_EQ(h.ReplyCode(), 200);
  EXPECT_EQ(sent, int(payload.size()));
  EXPECT_TRUE(MemText(reply) == "POST:" + payload);
}

TEST(HttpCli, ThroughTinyproxy) {
  std::string tinyproxy = FindProgram("tinyproxy");
  if (tinyproxy.empty() || FindProgram("lighttpd").empty())
    GTEST_SKIP() << "tinyproxy or lighttpd is not installed (scripts/setup installs them)";
  TLighttpd web;
  ASSERT_TRUE(web.Start());
  for (bool auth : {false, true}) {
    SCOPED_TRACE(auth ? "proxy asks for credentials" : "open proxy");
    int port = FreePort();
    std::string conf = web.Dir + "/tinyproxy" + (auth ? "1" : "0") + ".conf";
    WriteFile(conf, "Port " + std::to_string(port) +
                        "\nListen 127.0.0.1\nTimeout 30\nAllow 127.0.0.1\nMaxClients 10\n"
                        "DisableViaHeader Yes\nLogLevel Critical\n" +
                        (auth ? "BasicAuth alice s3cret\n" : ""));
    TPeerProcess proxy;
    ASSERT_TRUE(proxy.Start(tinyproxy, {"-d", "-c", QString::fromStdString(conf)}));
    ASSERT_TRUE(WaitListening(port)) << proxy.Errors();
    for (bool credentials : {false, true}) {
      if (!auth && credentials) continue;
      THttpCli h(nullptr);
      TMemoryStream reply;
      h.SetReplyStream(&reply);
      h.Proxy = "127.0.0.1";
      h.ProxyPort = std::to_string(port);
      if (credentials) {
        h.ProxyUsername = "alice";
        h.ProxyPassword = "s3cret";
      }
      h.URL = web.Url("/big.bin");
      ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0) << h.ReplyText();
      if (auth && !credentials) {
        EXPECT_EQ(h.ReplyCode(), 407);
      } else {
        EXPECT_EQ(h.ReplyCode(), 200);
        EXPECT_TRUE(MemText(reply) == web.Big);
      }
    }
  }
}

TEST(HttpCli, RequestHeaderAndLocalFailures) {
  TScriptedHttp peer([](const std::string&, int, bool& close) {
    close = true;
    return std::string("HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok");
  });
  THttpCli h(nullptr);
  TMemoryStream reply, post;
  post.WriteString("a=1");
  post.SetPosition(0);
  h.SetReplyStream(&reply);
  h.SetPostStream(&post);
  h.URL = peer.Url("/a/b.txt?x=1");
  h.OnCommand = [](TObject*, std::string& s) {
    if (s.rfind("Content-Length:", 0) == 0) s += "\r\nX-Added: yes";
  };
  ASSERT_EQ(RunRequest(h, [&] { h.PostAsync(); }), 0);
  ASSERT_EQ(peer.Requests.size(), 1u);
  const std::string& req = peer.Requests[0];
  EXPECT_EQ(req.substr(0, req.find("\r\n")), "POST /a/b.txt?x=1 HTTP/1.0");
  EXPECT_EQ(HeaderValue(req, "Host"), "127.0.0.1:" + std::to_string(peer.Port));
  EXPECT_EQ(HeaderValue(req, "User-Agent"), "Mozilla/4.0 (compatible; ICS)");
  EXPECT_EQ(HeaderValue(req, "Content-Length"), "3");
  EXPECT_EQ(HeaderValue(req, "X-Added"), "yes");
  EXPECT_EQ(req.substr(req.size() - 3), "a=1");
  EXPECT_EQ(h.DocName(), "b.txt");
  EXPECT_EQ(MemText(reply), "ok");

  // Local failures complete with a code and a text; nothing is raised. A proxy is not even
  // asked to tunnel what the client could not speak.
  TScriptedHttp proxy([](const std::string&, int, bool& close) {
    close = false;
    return std::string("HTTP/1.0 200 Connection established\r\n\r\n");
  });
  for (bool viaProxy : {false, true}) {
    SCOPED_TRACE(viaProxy ? "through a proxy" : "direct");
    h.Proxy = viaProxy ? "127.0.0.1" : "";
    h.ProxyPort = std::to_string(proxy.Port);
    h.URL = "https://127.0.0.1:1/x";
    EXPECT_EQ(RunRequest(h, [&] { h.GetAsync(); }), WSAEPROTONOSUPPORT);
    EXPECT_EQ(h.ReplyCode(), 501);
    EXPECT_EQ(h.ReplyText(), "Protocol \"https\" not implemented");
    EXPECT_EQ(h.State(), httpReady);
  }
  h.Proxy.clear();
  EXPECT_TRUE(proxy.Requests.empty());

  h.URL = "http://127.0.0.1:" + std::to_string(FreePort()) + "/";
  EXPECT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 10061);
  EXPECT_EQ(h.ReplyCode(), 404);

  // Aborted while looking the name up (a dotted name is answered at once, so abort from the
  // state change into the lookup).
  h.URL = "http://localhost:1/";
  h.OnStateChange = [&](TObject*) {
    if (h.State() == httpDnsLookup) h.AbortRequest();
  };
  THttpRequest rq = httpABORT;
  int err = -1;
  h.OnRequestDone = [&](TObject*, THttpRequest r, WORD e) {
    rq = r;
    err = e;
  };
  h.GetAsync();
  ASSERT_TRUE(PumpUntil([&] { return err >= 0; }));
  h.OnStateChange = nullptr;
  EXPECT_EQ(err, 3);
  EXPECT_EQ(rq, httpGET);
  EXPECT_EQ(h.ReplyCode(), 404);
  EXPECT_EQ(h.ReplyText(), "Connection aborted on request");

  try {
    h.SetRequestVer("2.0");
    FAIL();
  } catch (EHttpException& e) {
    EXPECT_EQ(e.Message(), "Insupported HTTP version");
    EXPECT_EQ(e.ErrorCode(), 5);
  }
  h.SetPostStream(nullptr);
  try {
    h.PostAsync();
    FAIL();
  } catch (EHttpException& e) {
    EXPECT_EQ(e.ErrorCode(), 2);
  }
}

TEST(HttpCli, BusyWhileRunningAndAbortOfAStalledRequest) {
  TScriptedHttp peer([](const std::string&, int, bool& close) {
    close = false;  // never answers
    return std::string();
  });
  THttpCli h(nullptr);
  h.SetName("Client");
  h.URL = peer.Url("/");
  int err = -1;
  h.OnRequestDone = [&](TObject*, THttpRequest, WORD e) { err = e; };
  h.GetAsync();
  try {
    h.GetAsync();
    FAIL();
  } catch (EHttpException& e) {
    EXPECT_EQ(e.Message(), "HTTP component Client is busy");
    EXPECT_EQ(e.ErrorCode(), 1);
  }
  ASSERT_TRUE(PumpUntil([&] { return peer.Requests.size() == 1; }));
  EXPECT_EQ(h.State(), httpWaitingHeader);
  h.AbortRequest();
  ASSERT_TRUE(PumpUntil([&] { return err >= 0; }));
  EXPECT_EQ(err, 3);
  EXPECT_EQ(h.ReplyText(), "Connection aborted on request");
  EXPECT_EQ(h.State(), httpReady);
}

TEST(HttpCli, DamagedAndUnusualReplies) {
  struct TCase {
    const char* Name;
    std::string Reply;
    int Error;
    int Code;
    std::string Body;
    std::string Text;
  };
  std::vector<TCase> cases = {
      {"chunked", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nwxyz\r\n0\r\n\r\n", 0,
       200, "wxyz", "OK"},
      {"chunk extension",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n3;x=y\r\nabc\r\n0\r\n\r\n", 0, 200,
       "abc", "OK"},
      {"until close", "HTTP/1.0 200 OK\r\n\r\nall of it", 0, 200, "all of it", "OK"},
      {"negative length", "HTTP/1.0 200 OK\r\nContent-Length: -5\r\n\r\nabc", 0, 200, "abc", "OK"},
      {"100 first", "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 200 Fine\r\nContent-Length: 2\r\n\r\nok",
       0, 200, "ok", "Fine"},
      {"no header", "<HTML><body>x</body></HTML>\r\n", 0, 0, "<HTML><body>x</body></HTML>\r\n", ""},
      {"not a status line", "XYZ 200 OK\r\nContent-Length: 2\r\n\r\nok", httperrReplyDamaged, 0, "",
       "The reply has no HTTP/1.x status line"},
      {"status line without a code", "HTTP/1.1 abc\r\nContent-Length: 2\r\n\r\nok",
       httperrReplyDamaged, 0, "", "The reply's status line has no status code"},
      {"version alone", "HTTP/1.1\r\nContent-Length: 2\r\n\r\nok", httperrReplyDamaged, 0, "",
       "The reply's status line has no status code"},
      {"closed after the last chunk, before its trailer ended",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nab\r\n0\r\nX-Sum: 1\r\n", 0, 200,
       "ab", "OK"},
      {"closed in header", "HTTP/1.1 200 OK\r\nContent-Le", httperrReplyDamaged, 200, "",
       "Connection closed before the reply header was complete"},
      {"closed before length", "HTTP/1.0 200 OK\r\nContent-Length: 100\r\n\r\nshort",
       httperrReplyDamaged, 200, "short", "Connection closed before the announced length"},
      {"truncated chunk", "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n10\r\nabc",
       httperrReplyDamaged, 200, "abc", "Connection closed before the last chunk"},
      {"oversized chunk size",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n1000000000000000000\r\nabc",
       httperrReplyDamaged, 200, "", "Bad chunk size"},
      {"oversized header", "HTTP/1.1 200 OK\r\nX-Big: " + std::string(70000, 'x') + "\r\n\r\n",
       httperrReplyDamaged, 200, "", "Reply header too long"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScriptedHttp peer([&c](const std::string&, int, bool& close) {
      close = true;
      return c.Reply;
    });
    THttpCli h(nullptr);
    TMemoryStream reply;
    h.SetReplyStream(&reply);
    h.SetRequestVer("1.1");
    h.URL = peer.Url("/doc");
    EXPECT_EQ(RunRequest(h, [&] { h.GetAsync(); }), c.Error);
    EXPECT_EQ(h.ReplyCode(), c.Code);
    EXPECT_EQ(MemText(reply), c.Body);
    EXPECT_EQ(h.ReplyText(), c.Text);
    // A 1.0 reply to a 1.1 request closes the connection. After a 1.1 reply the peer's close
    // may still be on its way when the request completes.
    if (c.Reply.rfind("HTTP/1.0", 0) == 0) EXPECT_EQ(h.CtrlSocket()->State(), wsClosed);
  }
}

TEST(HttpCli, NtlmExchangeWithAScriptedServer) {
  // A challenge message: signature, type 2, empty target name, flags, the server challenge,
  // reserved bytes and an empty target information list.
  std::string msg2 = std::string("NTLMSSP\0", 8) + Unhex("02000000") + Unhex("0000000030000000") +
                     Unhex("01820000") + Unhex("0123456789abcdef") + Unhex("0000000000000000") +
                     Unhex("0000000030000000");
  std::vector<std::string> auths;
  TScriptedHttp peer([&](const std::string& req, int index, bool& close) {
    close = false;
    std::string auth = HeaderValue(req, "Authorization");
    auths.push_back(auth);
    if (auth.empty())
      return std::string(
          "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: NTLM\r\nContent-Length: 0\r\n\r\n");
    std::string msg = DecodeBase64(auth.substr(5));
    if (msg.size() >= 12 && msg[8] == 1)
      return "HTTP/1.1 401 Unauthorized\r\nWWW-Authenticate: NTLM " + EncodeBase64(msg2) +
             "\r\nContent-Length: 0\r\n\r\n";
    close = true;
    bool type3 =
        msg.size() >= 64 && msg.compare(0, 8, std::string("NTLMSSP\0", 8)) == 0 && msg[8] == 3;
    std::string user = std::string("b\0o\0b\0", 6);
    bool hasUser = msg.find(user) != std::string::npos;
    return std::string("HTTP/1.1 200 OK\r\nContent-Length: 7\r\n\r\n") +
           (type3 && hasUser ? "welcome" : "refused");
  });
  THttpCli h(nullptr);
  TMemoryStream reply;
  h.SetReplyStream(&reply);
  h.SetRequestVer("1.1");
  h.Username = "bob";
  h.Password = "pw";
  h.URL = peer.Url("/ntlm");
  ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0);
  EXPECT_EQ(h.ReplyCode(), 200);
  EXPECT_EQ(MemText(reply), "welcome");
  ASSERT_EQ(auths.size(), 3u);
  EXPECT_EQ(auths[0], "");
  EXPECT_EQ(auths[1].substr(0, 5), "NTLM ");
  EXPECT_EQ(auths[2].substr(0, 5), "NTLM ");
}

TEST(HttpCli, SynchronousRequests) {
  TScriptedHttp peer(
      [](const std::string& req, int, bool& close) {
        close = true;
        if (req.find("/missing") != std::string::npos)
          return std::string("HTTP/1.0 404 Not Found\r\nContent-Length: 4\r\n\r\ngone");
        return std::string("HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello");
      },
      2);
  THttpCli h(nullptr);
  TMemoryStream reply;
  h.SetReplyStream(&reply);
  h.URL = peer.Url("/doc");
  h.Get();
  EXPECT_EQ(h.State(), httpReady);
  EXPECT_EQ(h.ReplyCode(), 200);
  EXPECT_EQ(MemText(reply), "hello");
  h.URL = peer.Url("/missing");
  try {
    h.Get();
    FAIL();
  } catch (EHttpException& e) {
    EXPECT_EQ(e.ErrorCode(), 404);
    EXPECT_EQ(e.Message(), "Not Found");
  }
}

TEST(HttpCli, BandwidthControlPacesTheBodyOnTheTestClock) {
  std::string body = RandomBytes(40000, 9);
  TScriptedHttp peer([&body](const std::string&, int, bool& close) {
    close = true;
    return "HTTP/1.0 200 OK\r\nContent-Length: 40000\r\n\r\n" + body;
  });
  SetManualClock(true);
  struct TRestore {
    ~TRestore() { SetManualClock(false); }
  } restore;
  THttpCli h(nullptr);
  TMemoryStream reply;
  h.SetReplyStream(&reply);
  h.Options.Include(httpoBandwidthControl);
  h.BandwidthLimit = 1000;  // bytes per second
  h.BandwidthSampling = 1000;
  h.URL = peer.Url("/slow");
  int err = -1;
  h.OnRequestDone = [&](TObject*, THttpRequest, WORD e) { err = e; };
  h.GetAsync();
  int ticks = 0;
  while (err < 0 && ticks < 100) {
    // Let whatever is allowed in this period arrive, then let the period end.
    PumpUntil([&] { return err >= 0 || h.CtrlSocket()->Paused(); }, 2000);
    if (err >= 0) break;
    AdvanceClock(1000);
    ++ticks;

    PumpUntil([&] { return !h.CtrlSocket()->Paused() || err >= 0; }, 2000);
  }
  ASSERT_EQ(err, 0);
  EXPECT_TRUE(MemText(reply) == body);
  // Reads of up to 8 KiB each overrun the allowance and wait for the next period.
  EXPECT_GE(ticks, 2);
}

TEST(HttpCli, HeadCookiesAndRanges) {
  TScriptedHttp peer(
      [](const std::string& req, int, bool& close) {
        close = false;
        if (req.rfind("HEAD", 0) == 0)
          return std::string(
              "HTTP/1.1 200 OK\r\nContent-Length: 100\r\nSet-Cookie: id=42; Path=/\r\n\r\n");
        return std::string(
            "HTTP/1.1 206 Partial\r\nContent-Range: bytes 0-3/1000\r\nAccept-Ranges: bytes\r\n"
            "Content-Length: 4\r\n\r\nabcd");
      },
      1);
  THttpCli h(nullptr);
  TMemoryStream reply;
  h.SetReplyStream(&reply);
  h.SetRequestVer("1.1");
  h.URL = peer.Url("/file");
  std::vector<std::string> cookies;
  h.OnCookie = [&](TObject*, const std::string& data, bool& accept) {
    EXPECT_TRUE(accept);
    cookies.push_back(data);
  };
  ASSERT_EQ(RunRequest(h, [&] { h.HeadAsync(); }), 0);
  EXPECT_EQ(h.ReplyCode(), 200);
  EXPECT_EQ(h.ContentLength(), 100);
  EXPECT_EQ(reply.Size(), 0);
  EXPECT_EQ(cookies, std::vector<std::string>{"id=42; Path=/"});

  h.ContentRangeBegin = "0";
  h.ContentRangeEnd = "3";
  h.Cookie = "id=42";
  ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0);
  EXPECT_EQ(h.ReplyCode(), 206);
  EXPECT_EQ(MemText(reply), "abcd");
  EXPECT_EQ(h.ContentRangeBegin, "0");
  EXPECT_EQ(h.ContentRangeEnd, "3");
  EXPECT_EQ(h.AcceptRanges(), "bytes");
  ASSERT_EQ(peer.Requests.size(), 2u);
  EXPECT_EQ(peer.Requests[0].substr(0, 16), "HEAD /file HTTP/");
  EXPECT_EQ(HeaderValue(peer.Requests[1], "Range"), "bytes=0-3");
  EXPECT_EQ(HeaderValue(peer.Requests[1], "Cookie"), "id=42");
}

TEST(HttpCli, ThroughASocksProxy) {
  std::string microsocks = FindProgram("microsocks");
  if (microsocks.empty() || FindProgram("lighttpd").empty())
    GTEST_SKIP() << "microsocks or lighttpd is not installed (scripts/setup installs them)";
  TLighttpd web;
  ASSERT_TRUE(web.Start());
  int port = FreePort();
  TPeerProcess proxy;
  ASSERT_TRUE(proxy.Start(microsocks, {"-i", "127.0.0.1", "-p", QString::number(port)}));
  ASSERT_TRUE(WaitListening(port));
  THttpCli h(nullptr);
  TMemoryStream reply;
  h.SetReplyStream(&reply);
  h.SocksServer = "127.0.0.1";
  h.SocksPort = std::to_string(port);
  int socksConnected = -1;
  h.OnSocksConnected = [&](TObject*, WORD e) { socksConnected = e; };
  h.URL = web.Url("/big.bin");
  ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0) << h.ReplyText();
  EXPECT_EQ(socksConnected, 0);
  EXPECT_EQ(h.ReplyCode(), 200);
  EXPECT_TRUE(MemText(reply) == web.Big);
}

TEST(HttpCli, BytesAfterABodilessReplyAreNotASecondReply) {
  struct TCase {
    const char* Name;
    bool Head;
    std::string Reply;
  };
  for (const TCase& c : {TCase{"a stray reply after 204", false,
                               "HTTP/1.1 204 No Content\r\n\r\nHTTP/1.1 204 No Content\r\n\r\n"},
                         TCase{"HEAD answered with a body", true,
                               "HTTP/1.1 200 OK\r\nContent-Length: 8\r\n\r\nbody\r\n\r\n"}}) {
    SCOPED_TRACE(c.Name);
    TScriptedHttp peer([&c](const std::string&, int index, bool& close) {
      close = false;
      return index == 0 ? c.Reply
                        : std::string("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nsecond");
    });
    THttpCli h(nullptr);
    TMemoryStream reply;
    h.SetReplyStream(&reply);
    h.SetRequestVer("1.1");
    h.URL = peer.Url("/doc");
    std::vector<std::string> done;
    h.OnRequestDone = [&](TObject*, THttpRequest, WORD e) {
      done.push_back(std::to_string(e) + " " + std::to_string(h.ReplyCode()) + " " +
                     MemText(reply));
    };
    if (c.Head)
      h.HeadAsync();
    else
      h.GetAsync();
    ASSERT_TRUE(PumpUntil([&] { return !done.empty(); }));
    // The same connection carries the next request; its completion is the only other one.
    if (h.State() == httpReady) h.GetAsync();
    ASSERT_TRUE(PumpUntil([&] { return done.size() >= 2; }));
    std::string first = c.Head ? "0 200 " : "0 204 ";
    EXPECT_EQ(done, (std::vector<std::string>{first, "0 200 second"}));
  }
}

TEST(HttpCli, SocksProxyThatClosesDuringItsHandshakeFailsTheRequest) {
  struct TCase {
    const char* Name;
    const char* Level;
    // What the proxy reads and answers before it closes the connection.
    std::vector<std::pair<size_t, std::string>> Steps;
  };
  const std::string v4req = std::string("\x04\x01\x00\x09\x7f\x00\x00\x01\x00", 9);
  for (const TCase& c : {
           TCase{"closed after the greeting", "5", {{3, ""}}},
           TCase{"short connect reply",
                 "5",
                 {{3, std::string("\x05\x00", 2)}, {5 + 9 + 2, std::string("\x05\x00\x00", 3)}}},
           TCase{"short SOCKS 4 reply", "4", {{v4req.size(), std::string("\x00\x5a", 2)}}},
       }) {
    SCOPED_TRACE(c.Name);
    int proxyPort = 0;
    int listenFd = ListenOnLoopback(proxyPort, 1);
    std::thread proxy([&] {
      int fd = ::accept(listenFd, nullptr, nullptr);
      if (fd < 0) return;
      timeval tv{10, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
      for (const auto& [need, answer] : c.Steps) {
        char b[512];
        for (size_t have = 0; have < need;) {
          ssize_t n = ::recv(fd, b, std::min(sizeof b, need - have), 0);
          if (n <= 0) break;
          have += size_t(n);
        }
        if (!answer.empty()) ::send(fd, answer.data(), answer.size(), MSG_NOSIGNAL);
      }
      ::close(fd);
    });
    {
      THttpCli h(nullptr);
      h.SocksServer = "127.0.0.1";
      h.SocksPort = std::to_string(proxyPort);
      h.SocksLevel = c.Level;
      h.URL = "http://127.0.0.1:9/x";
      EXPECT_NE(RunRequest(h, [&] { h.GetAsync(); }), 0);
      EXPECT_EQ(h.ReplyCode(), 404);
      EXPECT_EQ(h.ReplyText(), "Connection closed before the request was sent");
      EXPECT_EQ(h.State(), httpReady);
    }
    proxy.join();
    ::close(listenFd);
  }
}

TEST(HttpCli, KeepAliveRelocationThatTheServerClosesIsFollowedOnce) {
  TScriptedHttp peer(
      [](const std::string& req, int, bool& close) {
        close = true;  // the reply announces nothing, yet the server closes after it
        if (req.rfind("GET /a ", 0) == 0)
          return std::string("HTTP/1.1 302 Found\r\nLocation: /b\r\nContent-Length: 0\r\n\r\n");
        return std::string("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nlanded");
      },
      2);
  THttpCli h(nullptr);
  TMemoryStream reply;
  h.SetReplyStream(&reply);
  h.SetRequestVer("1.1");
  h.URL = peer.Url("/a");
  int changes = 0, done = 0;
  h.OnLocationChange = [&](TObject*) { ++changes; };
  h.OnRequestDone = [&](TObject*, THttpRequest, WORD) { ++done; };
  h.GetAsync();
  ASSERT_TRUE(PumpUntil([&] { return done > 0; }));
  EXPECT_EQ(done, 1);
  EXPECT_EQ(h.ReplyCode(), 200);
  EXPECT_EQ(MemText(reply), "landed");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(h.LocationChangeCurCount(), 1);
  EXPECT_EQ(peer.Requests.size(), 2u);
}

// The server keeps the first connection, then drops it without a word when the next request
// arrives on it: a GET goes again on a new connection, a POST (not safe to repeat) fails.
TEST(HttpCli, KeptConnectionDroppedUnderARequestIsRetriedOnlyWhenSafe) {
  for (bool post : {false, true}) {
    SCOPED_TRACE(post ? "POST" : "GET");
    TScriptedHttp peer(
        [](const std::string&, int index, bool& close) {
          close = index == 1;
          if (index == 1) return std::string();
          return "HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\n" + std::to_string(index);
        },
        2);
    THttpCli h(nullptr);
    TMemoryStream reply, body;
    body.WriteBuffer("x", 1);
    h.SetReplyStream(&reply);
    h.SetPostStream(&body);
    h.SetRequestVer("1.1");
    h.URL = peer.Url("/k");
    ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0) << h.ReplyText();
    EXPECT_EQ(MemText(reply), "0");
    reply.Clear();
    body.SetPosition(0);
    int done = 0;
    WORD err = 0;
    h.OnRequestDone = [&](TObject*, THttpRequest, WORD e) { ++done, err = e; };
    post ? h.PostAsync() : h.GetAsync();
    ASSERT_TRUE(PumpUntil([&] { return done > 0; }));
    PumpUntil([] { return false; }, 50);  // and no second completion
    EXPECT_EQ(done, 1);
    if (post) {
      EXPECT_NE(err, 0);
      EXPECT_EQ(peer.Requests.size(), 2u);
    } else {
      EXPECT_EQ(err, 0) << h.ReplyText();
      EXPECT_EQ(h.ReplyCode(), 200);
      EXPECT_EQ(MemText(reply), "2");
      EXPECT_EQ(peer.Requests.size(), 3u);
    }
  }
}

TEST(HttpCli, RelocationTargetsResolveAgainstTheRequestPath) {
  struct TCase {
    std::string Path, Location, Requested;
  };
  for (const TCase& c : {TCase{"/a/b/c", "d", "/a/b/d"}, TCase{"/a/b?q=/z", "d", "/a/d"},
                         TCase{"/a/b/c", "/x/y?k=v", "/x/y?k=v"},
                         TCase{"/a/b/c", "http://127.0.0.1:PORT/full#part", "/full"}}) {
    SCOPED_TRACE(c.Path + " + " + c.Location);
    TScriptedHttp peer(
        [&c](const std::string& req, int index, bool& close) {
          close = true;
          std::string location = c.Location, host = HeaderValue(req, "Host");
          if (size_t p = location.find("PORT"); p != std::string::npos)
            location.replace(p, 4, host.substr(host.find(':') + 1));
          return index == 0 ? "HTTP/1.0 302 Found\r\nLocation: " + location + "\r\n\r\n"
                            : std::string("HTTP/1.0 200 OK\r\n\r\nlanded");
        },
        2);
    THttpCli h(nullptr);
    TMemoryStream reply;
    h.SetReplyStream(&reply);
    h.URL = peer.Url(c.Path);
    ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0) << h.ReplyText();
    EXPECT_EQ(MemText(reply), "landed");
    ASSERT_EQ(peer.Requests.size(), 2u);
    EXPECT_EQ(peer.Requests[1].substr(0, peer.Requests[1].find("\r\n")),
              "GET " + c.Requested + " HTTP/1.0");
    EXPECT_EQ(h.Location(), peer.Url(c.Requested));
  }
}

TEST(HttpCli, CredentialsStayWithTheHostTheyWereGivenFor) {
  // The second server stands for another host: it asks for Basic credentials, which must not
  // be the ones given for the first.
  TScriptedHttp other(
      [](const std::string& req, int, bool& close) {
        close = true;
        return HeaderValue(req, "Authorization").empty()
                   ? std::string("HTTP/1.0 401 Who\r\nWWW-Authenticate: Basic realm=\"x\"\r\n\r\n")
                   : std::string("HTTP/1.0 200 OK\r\n\r\ngot them");
      },
      2);
  for (bool sameHost : {true, false}) {
    SCOPED_TRACE(sameHost ? "same host" : "other host");
    const std::string target = sameHost ? "/there" : other.Url("/there");
    TScriptedHttp first(
        [&target](const std::string& req, int, bool& close) {
          close = true;
          if (req.rfind("GET /there ", 0) == 0) return std::string("HTTP/1.0 200 OK\r\n\r\nhere");
          return "HTTP/1.0 302 Found\r\nLocation: " + target + "\r\n\r\n";
        },
        2);
    THttpCli h(nullptr);
    TMemoryStream reply;
    h.SetReplyStream(&reply);
    h.ServerAuth = httpAuthBasic;
    h.Username = "bob";
    h.Password = "secret";
    h.URL = first.Url("/start");
    ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0) << h.ReplyText();
    const std::string basic = "Basic " + EncodeBase64("bob:secret");
    ASSERT_GE(first.Requests.size(), 1u);
    EXPECT_EQ(HeaderValue(first.Requests[0], "Authorization"), basic);
    if (sameHost) {
      ASSERT_EQ(first.Requests.size(), 2u);
      EXPECT_EQ(HeaderValue(first.Requests[1], "Authorization"), basic);
      EXPECT_EQ(MemText(reply), "here");
    } else {
      EXPECT_EQ(h.ReplyCode(), 401);
      ASSERT_EQ(other.Requests.size(), 1u);
      EXPECT_EQ(HeaderValue(other.Requests[0], "Authorization"), "");
    }
  }
}

TEST(HttpCli, DamagedRepliesEachEndTheRequestOnce) {
  const std::string ntlm2 =
      EncodeBase64(std::string("NTLMSSP\0", 8) + Unhex("02000000") + Unhex("0000000030000000") +
                   Unhex("01820000") + Unhex("0123456789abcdef") + Unhex("0000000000000000") +
                   Unhex("0000000030000000"));
  const std::vector<std::string> bases = {
      "HTTP/1.1 200 OK\r\nContent-Length: 5\r\nContent-Type: text/html\r\n\r\nhello",
      "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n5;ext\r\nhello\r\n3\r\nabc\r\n0\r\n"
      "Trailer: x\r\n\r\n",
      "HTTP/1.1 100 Continue\r\n\r\nHTTP/1.1 206 Partial\r\nContent-Range: bytes 0-4/10\r\n"
      "Set-Cookie: a=b\r\nConnection: keep-alive\r\nContent-Length: 5\r\n\r\nhello",
      "HTTP/1.1 401 No\r\nWWW-Authenticate: NTLM " + ntlm2 +
          "\r\nWWW-Authenticate: Basic realm=x\r\nContent-Length: 0\r\n\r\n",
  };
  const std::string junk = "\r\n:;0123456789abcdefHTTP/1.1 -chunked\x00\xff";
  uint32_t seed = 12345;
  auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  for (int round = 0; round < 300; ++round) {
    std::string reply = bases[size_t(round) % bases.size()];
    for (int edits = 1 + int(next(4)); edits > 0 && !reply.empty(); --edits) {
      const size_t at = next(uint32_t(reply.size()));
      switch (next(5)) {
        case 0:
          reply[at] = junk[next(uint32_t(junk.size()))];
          break;
        case 1:
          reply.insert(at, 1 + next(8), junk[next(uint32_t(junk.size()))]);
          break;
        case 2:
          reply.erase(at, 1 + next(12));
          break;
        case 3:
          reply.insert(at, reply.substr(at, 1 + next(40)));
          break;
        default:
          reply.resize(at);
      }
    }
    SCOPED_TRACE(Hex(reply));
    TScriptedHttp peer(
        [reply](const std::string&, int, bool& close) {
          close = true;
          return reply;
        },
        4);
    THttpCli h(nullptr);
    TMemoryStream body;
    h.SetReplyStream(&body);
    h.SetRequestVer(round % 2 ? "1.1" : "1.0");
    h.FollowRelocation = false;
    h.Username = "bob";
    h.Password = "pw";
    h.URL = peer.Url("/doc");
    int done = 0;
    h.OnRequestDone = [&done](TObject*, THttpRequest, WORD) { ++done; };
    h.GetAsync();
    ASSERT_TRUE(PumpUntil([&] { return done > 0; }));
    // Whatever was posted before the completion has arrived by now.
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    EXPECT_EQ(done, 1);
    EXPECT_EQ(h.State(), httpReady);
    EXPECT_LE(body.Size(), int64_t(reply.size()) * 4);
  }
}

TEST(HttpCli, DocumentThatCannotBeStoredEndsTheRequestWithTheCause) {
  if (::access("/dev/full", W_OK) != 0) GTEST_SKIP() << "no /dev/full";
  const std::string body(3000, 'b');
  struct TFraming {
    const char* Name;
    std::string Reply;
  };
  const std::vector<TFraming> framings = {
      {"announced length", "HTTP/1.1 200 OK\r\nContent-Length: 3000\r\n\r\n" + body},
      {"chunked",
       "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\nbb8\r\n" + body + "\r\n0\r\n\r\n"},
      {"until the server closes", "HTTP/1.0 200 OK\r\n\r\n" + body},
  };
  for (const TFraming& f : framings) {
    for (bool fullDisk : {true, false}) {
      SCOPED_TRACE(std::string(f.Name) + (fullDisk ? ", full disk" : ", refusing handler"));
      TScriptedHttp peer([&f](const std::string&, int, bool& close) {
        close = true;
        return f.Reply;
      });
      THttpCli h(nullptr);
      TFileStream disk("/dev/full", fmOpenWrite);
      TMemoryStream memory;
      if (fullDisk) {
        h.SetReplyStream(&disk);
      } else {
        h.SetReplyStream(&memory);
        h.OnDocData = [](TObject*, const void*, int) {
          throw Exception("the handler refused the data");
        };
      }
      h.SetRequestVer("1.1");
      h.URL = peer.Url("/doc");
      int done = 0;
      WORD err = 0;
      h.OnRequestDone = [&](TObject*, THttpRequest, WORD e) { ++done, err = e; };
      h.GetAsync();
      ASSERT_TRUE(PumpUntil([&] { return done > 0; }));
      for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
      EXPECT_EQ(done, 1);
      EXPECT_EQ(err, httperrDocNotStored);
      EXPECT_EQ(h.ReplyText(), fullDisk ? "Stream write error (No space left on device)"
                                        : "the handler refused the data");
      EXPECT_EQ(h.State(), httpReady);
    }
  }
}

// The last chunk arrives without the empty line that ends its trailer; the server sends that
// line only when told. The document must not end before it, or the line would be read as the
// reply to the next request on the same connection.
TEST(HttpCli, ChunkedTrailerIsReadBeforeTheDocumentEnds) {
  int port = 0;
  int listenFd = ListenOnLoopback(port, 1);
  std::promise<void> sendRest;
  std::thread server([&listenFd, rest = sendRest.get_future()] {
    int fd = ::accept(listenFd, nullptr, nullptr);
    if (fd < 0) return;
    timeval tv{10, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
    auto readRequest = [fd] {
      std::string r;
      char b[1024];
      while (r.find("\r\n\r\n") == std::string::npos) {
        ssize_t n = ::recv(fd, b, sizeof b, 0);
        if (n <= 0) return false;
        r.append(b, size_t(n));
      }
      return true;
    };
    auto send = [fd](const std::string& s) { ::send(fd, s.data(), s.size(), MSG_NOSIGNAL); };
    if (readRequest()) {
      send("HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n4\r\nwxyz\r\n0\r\nX-Sum: 1\r\n");
      rest.wait_for(std::chrono::seconds(20));
      send("\r\n");
      if (readRequest()) send("HTTP/1.1 200 OK\r\nContent-Length: 6\r\n\r\nsecond");
      char b[256];
      while (::recv(fd, b, sizeof b, 0) > 0) {
      }
    }
    ::close(fd);
  });
  {
    THttpCli h(nullptr);
    TMemoryStream reply;
    h.SetReplyStream(&reply);
    h.SetRequestVer("1.1");
    h.URL = "http://127.0.0.1:" + std::to_string(port) + "/doc";
    std::vector<std::string> done;
    // The next request goes out as soon as one ends, as a caller chaining requests does.
    h.OnRequestDone = [&](TObject*, THttpRequest, WORD e) {
      done.push_back(std::to_string(e) + " " + std::to_string(h.ReplyCode()) + " " +
                     MemText(reply));
      reply.Clear();
      if (done.size() == 1) h.GetAsync();
    };
    h.GetAsync();
    ASSERT_TRUE(PumpUntil([&] { return reply.Size() == 4 || !done.empty(); }));
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    EXPECT_TRUE(done.empty());
    sendRest.set_value();
    ASSERT_TRUE(PumpUntil([&] { return done.size() >= 2; }));
    EXPECT_EQ(done, (std::vector<std::string>{"0 200 wxyz", "0 200 second"}));
  }
  server.join();
  ::close(listenFd);
}

// The first client's completion is still queued when it is freed; the second takes the same
// message numbers on the same hidden window.
TEST(HttpCli, CompletionOfAFreedClientDoesNotReachTheNextOnItsNumbers) {
  THttpCli keeper(nullptr);  // keeps the window alive
  auto* first = new THttpCli(nullptr);
  ASSERT_EQ(first->HandleValue(), keeper.HandleValue());
  first->URL = "http://127.0.0.1:" + std::to_string(FreePort()) + "/";
  first->GetAsync();
  first->AbortRequest();
  delete first;
  THttpCli second(nullptr);
  ASSERT_EQ(second.HandleValue(), keeper.HandleValue());
  int done = 0;
  second.OnRequestDone = [&](TObject*, THttpRequest, WORD) { ++done; };
  second.ProcessPendingMessages();
  EXPECT_EQ(done, 0);
  EXPECT_EQ(second.State(), httpReady);
}

TEST(HttpCli, TraceNamesEveryStateAndStep) {
  struct TCase {
    const char* Name;
    const char* Version;
    std::vector<std::string> Replies;
    std::vector<std::string> Trace;
  };
  const std::vector<std::string> connect = {"State = httpNotConnected", "State = httpDnsLookup",
                                            "State = httpDnsLookupDone", "State = httpConnected",
                                            "State = httpWaitingHeader"};
  auto join = [](std::vector<std::vector<std::string>> parts) {
    std::vector<std::string> all;
    for (auto& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
  };
  const std::vector<TCase> cases = {
      {"announced length",
       "1.0",
       {"HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok"},
       join({connect,
             {"State = httpWaitingBody", "State = httpBodyReceived", "State = httpReady"}})},
      {"chunked",
       "1.1",
       {"HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n2\r\nok\r\n0\r\n\r\n"},
       join({connect,
             {"State = httpWaitingBody", "httpChunkDone, end of document",
              "State = httpBodyReceived", "State = httpReady"}})},
      {"Basic authentication",
       "1.0",
       {"HTTP/1.0 401 Who\r\nWWW-Authenticate: Basic realm=\"x\"\r\nContent-Length: 0\r\n\r\n",
        "HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r\nok"},
       join({connect,
             {"State = httpReady", "Starting Basic authentication"},
             connect,
             {"State = httpWaitingBody", "State = httpBodyReceived", "State = httpReady"}})},
  };
  for (const TCase& c : cases) {
    for (bool logged : {false, true}) {
      SCOPED_TRACE(std::string(c.Name) + (logged ? ", logger asks for it" : ", logger does not"));
      TScriptedHttp peer(
          [&c](const std::string&, int index, bool& close) {
            close = true;
            return c.Replies[size_t(index)];
          },
          int(c.Replies.size()));
      THttpCli h(nullptr);
      TMemoryStream reply;
      h.SetReplyStream(&reply);
      h.SetRequestVer(c.Version);
      h.Username = "bob";
      h.Password = "pw";
      h.URL = peer.Url("/doc");
      TIcsLogger logger(nullptr);
      if (logged)
        logger.SetLogOptions({loDestEvent, loProtSpecInfo});
      else
        logger.SetLogOptions({loDestEvent});
      std::vector<std::string> logLines, trace;
      logger.OnIcsLogEvent = [&](TObject* sender, TLogOption option, const std::string& line) {
        EXPECT_EQ(sender, &h);
        EXPECT_EQ(option, loProtSpecInfo);
        logLines.push_back(line);
      };
      h.SetIcsLogger(&logger);
      h.OnTrace = [&](TObject* sender, const std::string& line) {
        EXPECT_EQ(sender, &h);
        trace.push_back(line);
      };
      ASSERT_EQ(RunRequest(h, [&] { h.GetAsync(); }), 0) << h.ReplyText();
      EXPECT_EQ(MemText(reply), "ok");
      EXPECT_EQ(trace, c.Trace);
      EXPECT_EQ(logLines, logged ? c.Trace : std::vector<std::string>{});
      h.SetIcsLogger(nullptr);
    }
  }
}
