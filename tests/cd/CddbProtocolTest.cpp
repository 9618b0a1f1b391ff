// The CDDBP dialogue against a scripted line server on 127.0.0.1, the submission by HTTP POST
// seen by a CGI of lighttpd, and by mail stored by aiosmtpd.

#include <gtest/gtest.h>

#include <map>
#include <mutex>

#include "CddbTestUtil.h"
#include "net/HttpProt.h"
#include "net/IcsWSocket.h"

using namespace cdtest;

namespace {

// A CDDBP server played by a thread: the greeting, then for each command line the answer the
// table gives for its first word(s) ("" closes the connection).
struct TLineServer {
  int ListenFd = -1;
  int Port = 0;
  std::thread Thread;
  std::mutex Lock;
  std::vector<std::string> Commands;

  TLineServer(std::string greeting, std::map<std::string, std::string> answers, bool closeAfterGreeting = false) {
    ListenFd = nettest::ListenOnLoopback(Port);
    Thread = std::thread([this, greeting, answers, closeAfterGreeting] {
      const int fd = ::accept(ListenFd, nullptr, nullptr);
      if (fd < 0) return;
      timeval tv{10, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
      ::send(fd, greeting.data(), greeting.size(), MSG_NOSIGNAL);
      std::string pending;
      bool open = !closeAfterGreeting;
      while (open) {
        size_t end;
        while ((end = pending.find("\r\n")) == std::string::npos) {
          char b[1024];
          const ssize_t n = ::recv(fd, b, sizeof b, 0);
          if (n <= 0) {
            open = false;
            break;
          }
          pending.append(b, size_t(n));
        }
        if (!open) break;
        const std::string line = pending.substr(0, end);
        pending.erase(0, end + 2);
        {
          std::lock_guard<std::mutex> g(Lock);
          Commands.push_back(line);
        }
        std::string reply;
        for (const auto& [prefix, answer] : answers)
          if (line.rfind(prefix, 0) == 0) reply = answer;
        if (reply.empty()) break;
        ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
        if (reply.rfind("230", 0) == 0) break;  // goodbye
      }
      ::close(fd);
    });
  }
  ~TLineServer() {
    ::shutdown(ListenFd, SHUT_RDWR);
    if (Thread.joinable()) Thread.join();
    ::close(ListenFd);
  }
};

bool Connect(TCddbRig& rig, int port) {
  rig.Cddb->ServerPort = std::to_string(port);
  rig.Cddb->CddbpConnect();
  // Connected (0), then the greeting's status.
  return nettest::PumpUntil([&] { return !rig.Statuses.empty(); });
}

bool Await(TCddbRig& rig, int waiting) {
  return nettest::PumpUntil([&] { return rig.Cddb->State() != waiting; });
}

TEST(Cddbp, WholeDialogue) {
  const std::string entry =
      "210 rock 0b016602 CD database entry follows\r\n# xmcd\r\nDISCID=0b016602\r\n"
      "DTITLE=Artist / Album\r\nTTITLE0=One\r\n.\r\n";
  TLineServer server("201 localhost CDDBP server v1.5PL3 ready\r\n",
                     {{"cddb hello", "200 Hello and welcome daruzeva@example.org\r\n"},
                      {"proto", "201 OK, CDDB protocol level now: 5\r\n"},
                      {"sites",
                       "210 OK, site information follows (until terminating `.')\r\n"
                       "one.example http 80 /~cddb/cddb.cgi N037.21 W121.55 Somewhere, Some Land\r\n"
                       "two.example cddbp 8880 - S001.00 E002.00 Elsewhere\r\n.\r\n"},
                      {"cddb query", "200 rock 0b016602 Artist / Album\r\n"},
                      {"cddb read", entry},
                      {"quit", "230 localhost Closing connection.  Goodbye.\r\n"}});
  TCddbRig rig;
  ASSERT_TRUE(Connect(rig, server.Port));
  EXPECT_EQ(rig.Cddb->State(), 17);
  EXPECT_TRUE(rig.Said("OK, read only"));

  rig.Cddb->CddbpHello();
  ASSERT_TRUE(Await(rig, 1));
  EXPECT_EQ(rig.Cddb->State(), 2);
  EXPECT_TRUE(rig.Cddb->Handshaken());

  rig.Cddb->CddbpProtocolLevel();
  ASSERT_TRUE(Await(rig, 9));
  EXPECT_EQ(rig.Cddb->State(), 10);
  EXPECT_EQ(rig.Statuses.back(), "OK, protocol level now: 5");

  rig.Cddb->CddbpSites();
  ASSERT_TRUE(Await(rig, 7));
  EXPECT_EQ(rig.Cddb->State(), 8);
  const TServer& one = rig.Cddb->Sites()[0];
  EXPECT_EQ(one.Site, "one.example");
  EXPECT_EQ(one.Protocol, HTTP);
  EXPECT_EQ(one.Port, 80);
  EXPECT_EQ(one.Address, "/~cddb/cddb.cgi");
  EXPECT_EQ(one.Location.Latitude, "N037.21");
  EXPECT_EQ(one.Location.Longitude, "W121.55");
  EXPECT_EQ(one.Location.Description, "Somewhere, Some Land");
  EXPECT_EQ(rig.Cddb->Sites()[1].Protocol, CDDBP);
  EXPECT_EQ(rig.Cddb->Sites()[1].Port, 8880);
  EXPECT_EQ(rig.Cddb->Sites()[2].Site, "");

  rig.Cddb->CddbpQuery();
  ASSERT_TRUE(Await(rig, 6));
  EXPECT_EQ(rig.Cddb->State(), 3);
  EXPECT_EQ(rig.Cddb->CDInfo().Category, "rock");

  rig.Cddb->CddbpRead();
  ASSERT_TRUE(Await(rig, 11));
  EXPECT_EQ(rig.Cddb->State(), 12);
  EXPECT_EQ(rig.Cddb->EntryLines()[3], "TTITLE0=One");

  rig.Cddb->CddbpQuit();
  ASSERT_TRUE(Await(rig, 15));
  EXPECT_EQ(rig.Cddb->State(), -1);
  // The server's close after the goodbye says nothing more.
  const size_t said = rig.Statuses.size();
  nettest::PumpUntil([&] { return rig.Cddb->CddbpSocket().State() == wsClosed; }, 5000);
  EXPECT_EQ(rig.Statuses.size(), said);
  EXPECT_EQ(std::count(rig.Statuses.begin(), rig.Statuses.end(), "Connection closed"), 1);

  std::lock_guard<std::mutex> g(server.Lock);
  ASSERT_EQ(server.Commands.size(), 6u);
  EXPECT_EQ(server.Commands[0], "cddb hello daruzeva example.org daruzeva 2.0");
  EXPECT_EQ(server.Commands[1], "proto 5");
  EXPECT_EQ(server.Commands[3], "cddb query 0b016602 2 150 13500 360");
  EXPECT_EQ(server.Commands[4], "cddb read rock 0B016602");
  EXPECT_EQ(server.Commands[5], "quit");
}

TEST(Cddbp, ReplyTables) {
  struct TCase {
    const char* Greeting;
    const char* Command;  // sent after the greeting, "" for none
    const char* Reply;
    int State;
    bool Handshaken;
    std::string Status;
  } cases[] = {
      {"200 ok", "", "", 18, false, "OK, read/write allowed"},
      {"201 ok", "", "", 17, false, "OK, read only"},
      {"432 no", "", "", -1, false, "No connections allowed: permission denied"},
      {"433 no", "", "", -1, false, "No connections allowed: X users allowed, Y currently active"},
      {"434 no", "", "", -1, false, "No connections allowed: system load too high"},
      {"200 ok", "hello", "200 welcome", 2, true, "Handshake successful"},
      {"200 ok", "hello", "402 already", 2, true, "Already shook hands"},
      {"200 ok", "hello", "431 no", -1, false, "Handshake not successful, closing connection"},
      {"200 ok", "hello", "500 what", 1, false, "Command syntax error, command unknown, command unimplemented"},
      {"200 ok", "proto", "201 ok", 10, false, "OK, protocol level now: 5"},
      {"200 ok", "proto", "501 bad", 0, false, "Illegal protocol level"},
      {"200 ok", "proto", "502 same", 10, false, "Protocol level already 5"},
      {"200 ok", "sites", "401 none", 19, false, "No site information available"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.Greeting) + " / " + c.Command + " / " + c.Reply);
    const std::string command = c.Command;
    const std::string prefix = command == "hello" ? "cddb hello" : command;
    TLineServer server(std::string(c.Greeting) + "\r\n",
                       {{prefix.empty() ? "-" : prefix, std::string(c.Reply) + "\r\n"}},
                       std::string(c.Greeting).rfind("43", 0) == 0);
    TCddbRig rig;
    ASSERT_TRUE(Connect(rig, server.Port));
    if (command == "hello") rig.Cddb->CddbpHello();
    if (command == "proto") rig.Cddb->CddbpProtocolLevel();
    if (command == "sites") rig.Cddb->CddbpSites();
    const size_t before = rig.Statuses.size();
    if (!command.empty()) nettest::PumpUntil([&] { return rig.Statuses.size() > before; });
    EXPECT_EQ(rig.Cddb->State(), c.State);
    EXPECT_EQ(rig.Cddb->Handshaken(), c.Handshaken);
    EXPECT_EQ(rig.Statuses.back(), c.Status);
    if (c.State == -1) {
      // A refusal already left state -1: the close that follows stays silent.
      nettest::PumpUntil([&] { return rig.Cddb->CddbpSocket().State() == wsClosed; }, 5000);
      EXPECT_EQ(std::count(rig.Statuses.begin(), rig.Statuses.end(), "Connection closed"), 0);
    }
  }
}

struct Submission : ::testing::Test {
  TCddbServer Server;
  void SetUp() override {
    if (nettest::FindProgram("lighttpd").empty())
      GTEST_SKIP() << "lighttpd is not installed (scripts/setup installs it)";
    ASSERT_TRUE(Server.Start());
  }
};

TEST_F(Submission, PostHeadersAndReplies) {
  TEntryArray entry;
  entry[0] = "# xmcd";
  entry[1] = "DISCID=0b016602";
  entry[2] = "DTITLE=Artist / Album";
  struct {
    std::string Reply;
    int State;
    std::string Status;
  } cases[] = {
      {"200 OK, submission has been sent.\r\n", 22, "OK, submission has been sent."},
      {"500 Missing header\r\n", 23, "Missing required header information."},
      {"501 Invalid header\r\n", 23, "Invalid header information."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Reply);
    TCddbRig rig;
    rig.Cddb->ServerPort = std::to_string(Server.Port);
    rig.Cddb->CDInfo().Category = " rock ";
    rig.Cddb->CDInfo().DiscId = "0b016602";
    rig.Cddb->SetNoteToUser("first\r\nX-Injected: yes");
    Server.Reply("submit", c.Reply);
    ASSERT_EQ(rig.Cddb->SubmitByHttp(entry), 0);
    ASSERT_TRUE(nettest::PumpUntil([&] { return rig.Cddb->State() != 14; }, 20000));
    EXPECT_EQ(rig.Cddb->State(), c.State);
    EXPECT_EQ(rig.Statuses.back(), c.Status);
    const std::string seen = ReadText(Server.Dir / "submit.log");
    for (const char* line : {"HTTP_CATEGORY=rock\n", "HTTP_DISCID=0b016602\n",
                             "HTTP_USER_EMAIL=daruzeva@example.org\n", "HTTP_SUBMIT_MODE=test\n",
                             "HTTP_X_CDDBD_NOTE=first  X-Injected: yes\n",
                             "BODY\n# xmcd\r\nDISCID=0b016602\r\nDTITLE=Artist / Album\r\n"})
      EXPECT_NE(seen.find(line), std::string::npos) << line << "\n" << seen;
    EXPECT_EQ(seen.find("HTTP_X_INJECTED"), std::string::npos) << seen;
  }
  // A server nobody listens on: the POST fails in state 16.
  TCddbRig rig;
  rig.Cddb->ServerPort = std::to_string(nettest::FreePort());
  ASSERT_EQ(rig.Cddb->SubmitByHttp(entry), 0);
  ASSERT_TRUE(nettest::PumpUntil([&] { return rig.Cddb->State() != 14; }, 20000));
  EXPECT_EQ(rig.Cddb->State(), 16);
  EXPECT_EQ(rig.Statuses.back().rfind("CDDB Component Internal Error: THttpCli.PostAsync failed because of error \"", 0), 0u);
}

const char* const MailServer = R"PY(
import os, sys
from aiosmtpd.controller import Controller
port, maildir = int(sys.argv[1]), sys.argv[2]
class Handler:
    async def handle_DATA(self, server, session, envelope):
        with open(os.path.join(maildir, "mail.eml"), "wb") as f:
            f.write(envelope.original_content)
        with open(os.path.join(maildir, "mail.env"), "w") as f:
            f.write("%s\n%s\n" % (envelope.mail_from, ",".join(envelope.rcpt_tos)))
        return "250 Message accepted"
controller = Controller(Handler(), hostname="127.0.0.1", port=port, decode_data=False)
controller.start()
print("ready", flush=True)
sys.stdin.read()
controller.stop()
)PY";

TEST(SubmissionByMail, StoredByAiosmtpdAndRefused) {
  if (std::system("/usr/bin/python3 -c 'import aiosmtpd' 2>/dev/null") != 0)
    GTEST_SKIP() << "python3-aiosmtpd is not installed (scripts/setup installs it)";
  const auto dir = sonalix::test::MakeTempDir("cddbmail");
  WriteText(dir / "server.py", MailServer);
  const int port = nettest::FreePort();
  nettest::TPeerProcess process;
  ASSERT_TRUE(process.Start("/usr/bin/python3", {QString::fromStdString((dir / "server.py").string()),
                                                 QString::number(port), QString::fromStdString(dir.string())}));
  ASSERT_TRUE(nettest::WaitListening(port, 20000));

  TEntryArray entry;
  entry[0] = "# xmcd";
  entry[1] = "DISCID=0b016602";
  TCddbRig rig;
  rig.Cddb->MailServerAddress = "127.0.0.1";
  rig.Cddb->MailServerPort = std::to_string(port);
  rig.Cddb->EmailTestSubmit = "test-submit@example.org";
  rig.Cddb->CDInfo().Category = "rock";
  rig.Cddb->CDInfo().DiscId = "0b016602";
  rig.Cddb->SetNoteToUser("a note\nBcc: someone@example.org");
  rig.Cddb->SubmitByMail(entry);
  ASSERT_TRUE(nettest::PumpUntil([&] { return rig.Said("OK, submission has been sent."); }, 20000))
      << (rig.Statuses.empty() ? "" : rig.Statuses.back());
  const std::string mail = ReadText(dir / "mail.eml");
  const size_t from = mail.find("From: daruzeva@example.org\r\n");
  ASSERT_NE(from, std::string::npos) << mail;
  EXPECT_EQ(mail.find("X-Cddbd-Note: a note Bcc: someone@example.org\r\n"),
            from + std::string("From: daruzeva@example.org\r\n").size())
      << mail;
  EXPECT_EQ(mail.find("\r\nBcc:"), std::string::npos) << mail;
  EXPECT_NE(mail.find("Subject: cddb rock 0b016602"), std::string::npos) << mail;
  EXPECT_NE(mail.find("DISCID=0b016602"), std::string::npos) << mail;
  EXPECT_EQ(ReadText(dir / "mail.env"), "daruzeva@example.org\ntest-submit@example.org\n");
  EXPECT_FALSE(rig.Exchanges.empty());  // the client's display lines

  // Nobody listens: the connect request fails in state 21.
  TCddbRig refused;
  refused.Cddb->MailServerAddress = "127.0.0.1";
  refused.Cddb->MailServerPort = std::to_string(nettest::FreePort());
  refused.Cddb->SubmitByMail(entry);
  ASSERT_TRUE(nettest::PumpUntil([&] { return refused.Cddb->State() == 21; }, 20000));
  EXPECT_EQ(refused.Statuses.back().rfind("CDDB Component Internal Error: TSmtpCli.Connect failed because of error \"", 0), 0u)
      << refused.Statuses.back();
}

}  // namespace
