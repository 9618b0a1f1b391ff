// The SMTP client against aiosmtpd (authentication, a mail with attachments parsed back by
// Python's email package) and scripted servers (refusals, multi-line and overlong replies).

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include "NetTestUtil.h"
#include "PeerUtil.h"
#include "common/TestEnv.h"
#include "net/IcsMimeUtils.h"
#include "net/IcsNtlmMsgs.h"
#include "net/SmtpMessage.h"

using namespace nettest;

namespace {

std::string ReadFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& data) {
  std::ofstream f(path, std::ios::binary);
  f << data;
}

std::string Python() {
  // The system's interpreter, which has the Debian packages.
  if (::access("/usr/bin/python3", X_OK) == 0) return "/usr/bin/python3";
  return FindProgram("python3");
}

bool HaveAiosmtpd() {
  std::string py = Python();
  if (py.empty()) return false;
  QProcess p;
  p.start(QString::fromStdString(py), {"-c", "import aiosmtpd"});
  return p.waitForFinished(20000) && p.exitCode() == 0;
}

const char* const ServerScript = R"PY(
import asyncio, hmac, hashlib, os, sys
from aiosmtpd.controller import Controller
from aiosmtpd.smtp import AuthResult, LoginPassword

USER, PASS = b"alice", b"s3cret"
port, maildir = int(sys.argv[1]), sys.argv[2]

def check(server, session, envelope, mechanism, data):
    ok = isinstance(data, LoginPassword) and data.login == USER and data.password == PASS
    return AuthResult(success=ok, handled=False)

class Handler:
    count = 0
    async def handle_DATA(self, server, session, envelope):
        Handler.count += 1
        with open(os.path.join(maildir, "mail%d.eml" % Handler.count), "wb") as f:
            f.write(envelope.original_content)
        with open(os.path.join(maildir, "mail%d.env" % Handler.count), "w") as f:
            f.write("%s\n%s\n" % (envelope.mail_from, ",".join(envelope.rcpt_tos)))
        return "250 Message accepted"
    async def auth_CRAM__MD5(self, server, args):
        challenge = b"<1896.697170952@postoffice.example>"
        answer = await server.challenge_auth(challenge)
        if not isinstance(answer, bytes):
            return AuthResult(success=False)
        user, _, digest = answer.partition(b" ")
        good = hmac.new(PASS, challenge, hashlib.md5).hexdigest().encode()
        return AuthResult(success=(user == USER and digest == good), handled=False)

controller = Controller(Handler(), hostname="127.0.0.1", port=port, authenticator=check,
                        auth_require_tls=False, decode_data=False)
controller.start()
print("ready", flush=True)
sys.stdin.read()
controller.stop()
)PY";

// The parts of a saved mail as Python's email package sees them, one line per item.
const char* const ParseScript = R"PY(
import email, email.policy, hashlib, sys
msg = email.message_from_bytes(open(sys.argv[1], "rb").read(), policy=email.policy.compat32)
print("keys", ",".join(msg.keys()))
print("type", msg.get_content_type(), msg.get_param("boundary") or "")
for part in msg.walk():
    if part.is_multipart():
        continue
    payload = part.get_payload(decode=True) or b""
    print("part", part.get_content_type(), part.get("Content-Transfer-Encoding", ""),
          part.get_filename() or "-", len(payload), hashlib.sha256(payload).hexdigest())
)PY";

struct TAiosmtpd {
  std::string Dir;
  int Port = 0;
  TPeerProcess Process;
  bool Start() {
    Dir = sonalix::test::MakeTempDir("smtp").string();
    WriteFile(Dir + "/server.py", ServerScript);
    Port = FreePort();
    if (!Process.Start(Python(), {QString::fromStdString(Dir + "/server.py"), QString::number(Port),
                                  QString::fromStdString(Dir)}))
      return false;
    return WaitListening(Port, 20000);
  }
};

// Runs one request; returns the error code of OnRequestDone (-1: no end in time).
int RunRequest(TCustomSmtpClient& c, const std::function<void()>& start) {
  int err = -1;
  c.OnRequestDone = [&](TObject*, TSmtpRequest, WORD e) { err = e; };
  start();
  PumpUntil([&] { return err >= 0; }, 20000);
  return err;
}

std::string Sha256(const std::string& data) {
  return Openssl({"dgst", "-sha256", "-r"}, data).substr(0, 64);
}

// An SMTP server played by a thread: answers each command line by the script (Reply is sent as
// given; "" closes the connection, "-" sends nothing). DATA content is collected until the final
// "."; DataReply, when set, is sent once DataReplyAfter lines of it have come.
struct TScriptedSmtp {
  using TScript = std::function<std::string(const std::string& Line)>;
  int ListenFd = -1;
  int Port = 0;
  std::thread Thread;
  std::vector<std::string> Commands;
  std::string DataReceived;
  std::string DataRaw;  // the DATA content as cut at CR LF, each line followed by CR LF
  std::string DataReply;
  int DataReplyAfter = 0;
  std::atomic<bool> Done{false};

  TScriptedSmtp(std::string Banner, TScript Script) {
    ListenFd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(ListenFd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(ListenFd, reinterpret_cast<sockaddr*>(&a), &len);
    Port = ntohs(a.sin_port);
    ::listen(ListenFd, 1);
    Thread = std::thread([this, Banner, Script] {
      int fd = ::accept(ListenFd, nullptr, nullptr);
      if (fd < 0) return;
      timeval tv{10, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
      ::send(fd, Banner.data(), Banner.size(), MSG_NOSIGNAL);
      std::string pending;
      bool inData = false;
      int dataLines = 0;
      for (;;) {
        size_t nl;
        while ((nl = pending.find("\r\n")) == std::string::npos) {
          char b[4096];
          ssize_t n = ::recv(fd, b, sizeof b, 0);
          if (n <= 0) {
            ::close(fd);
            Done = true;
            return;
          }
          pending.append(b, size_t(n));
        }
        std::string line = pending.substr(0, nl);
        pending.erase(0, nl + 2);
        if (inData) {
          if (line == ".") {
            inData = false;
            Commands.push_back(".");
          } else {
            DataReceived += line + "\n";
            DataRaw += line + "\r\n";
            if (++dataLines == DataReplyAfter)
              ::send(fd, DataReply.data(), DataReply.size(), MSG_NOSIGNAL);
            continue;
          }
        } else {
          Commands.push_back(line);
        }
        std::string reply = Script(line);
        if (reply.empty()) break;
        if (reply == "-") continue;  // no answer
        if (reply.compare(0, 3, "354") == 0) inData = true;
        ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
        if (line == "QUIT") break;
      }
      ::close(fd);
      Done = true;
    });
  }
  ~TScriptedSmtp() {
    ::shutdown(ListenFd, SHUT_RDWR);
    if (Thread.joinable()) Thread.join();
    ::close(ListenFd);
  }
};

}  // namespace

TEST(SmtpCli, AuthenticationMechanismsAgainstAiosmtpd) {
  if (!HaveAiosmtpd())
    GTEST_SKIP() << "python3-aiosmtpd is not installed (scripts/setup installs it)";
  TAiosmtpd server;
  ASSERT_TRUE(server.Start()) << server.Process.Errors();
  struct TCase {
    const char* Name;
    TSmtpAuthType Type;
    const char* Password;
    int Error;
    const char* Command;
  };
  for (TCase c : {TCase{"plain", smtpAuthPlain, "s3cret", 0, "AUTH PLAIN AGFsaWNlAHMzY3JldA=="},
                  {"login", smtpAuthLogin, "s3cret", 0, "AUTH LOGIN"},
                  {"cram-md5", smtpAuthCramMD5, "s3cret", 0, "AUTH CRAM-MD5"},
                  {"auto", smtpAuthAutoSelect, "s3cret", 0, "AUTH CRAM-MD5"},
                  {"wrong password", smtpAuthLogin, "nope", 535, "AUTH LOGIN"}}) {
    SCOPED_TRACE(c.Name);
    TSmtpCli smtp(nullptr);
    smtp.Host = "127.0.0.1";
    smtp.Port = std::to_string(server.Port);
    smtp.Username = "alice";
    smtp.Password = c.Password;
    smtp.AuthType = c.Type;
    std::vector<std::string> commands;
    smtp.OnCommand = [&](TObject*, const std::string& s) { commands.push_back(s); };
    EXPECT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), c.Error) << smtp.ErrorMessage();
    EXPECT_TRUE(smtp.ESmtp());
    EXPECT_GE(smtp.AuthTypesSupported()->IndexOf("LOGIN"), 0);
    EXPECT_GE(smtp.AuthTypesSupported()->IndexOf("CRAM-MD5"), 0);
    EXPECT_NE(std::find(commands.begin(), commands.end(), c.Command), commands.end());
    if (c.Error == 0) {
      EXPECT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);
      EXPECT_FALSE(smtp.Connected());
    }
  }
}

TEST(SmtpCli, MailWithAttachmentsParsesBack) {
  if (!HaveAiosmtpd())
    GTEST_SKIP() << "python3-aiosmtpd is not installed (scripts/setup installs it)";
  TAiosmtpd server;
  ASSERT_TRUE(server.Start()) << server.Process.Errors();
  std::string dir = sonalix::test::MakeTempDir("attach").string();
  std::string binary = RandomBytes(100003, 5);
  std::string notes = "first line\r\nsecond line\r\n";
  WriteFile(dir + "/sound.wav", binary);
  WriteFile(dir + "/notes.txt", notes);

  TSmtpCli smtp(nullptr);
  smtp.Host = "127.0.0.1";
  smtp.Port = std::to_string(server.Port);
  smtp.FromName = "Sender Name <sender@example.org>";
  smtp.HdrFrom = "Sender Name <sender@example.org>";
  smtp.HdrTo = "rcpt@example.org";
  smtp.HdrSubject = "Test mail";
  smtp.RcptName()->Add("rcpt@example.org");
  smtp.MailMessage()->Add("Hello,");
  smtp.MailMessage()->Add(".a line starting with a dot");
  smtp.MailMessage()->Add("  indented and trailing blanks  ");
  smtp.MailMessage()->Add(".");
  TStringList files;
  files.Add(dir + "/sound.wav");
  files.Add(" " + dir + "/notes.txt ");
  smtp.SetEmailFiles(&files);
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 0) << smtp.ErrorMessage();
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Mail(); }), 0) << smtp.ErrorMessage();
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);

  std::string eml = server.Dir + "/mail1.eml";
  ASSERT_TRUE(PumpUntil([&] { return FileExists(eml); }));
  EXPECT_EQ(ReadFile(server.Dir + "/mail1.env"), "sender@example.org\nrcpt@example.org\n");
  WriteFile(dir + "/parse.py", ParseScript);
  QProcess parse;
  parse.start(QString::fromStdString(Python()),
              {QString::fromStdString(dir + "/parse.py"), QString::fromStdString(eml)});
  ASSERT_TRUE(parse.waitForFinished(20000));
  std::string out = parse.readAllStandardOutput().toStdString();
  std::istringstream lines(out);
  std::vector<std::string> got;
  for (std::string l; std::getline(lines, l);) got.push_back(l);
  ASSERT_EQ(got.size(), 5u) << out << parse.readAllStandardError().toStdString();
  EXPECT_EQ(got[0],
            "keys From,To,Subject,Sender,Mime-Version,Content-Type,Date,Message-ID,X-Mailer");
  EXPECT_EQ(got[1], "type multipart/mixed " + smtp.Boundary());
  std::string text =
      "Hello,\r\n.a line starting with a dot\r\n  indented and trailing blanks  \r\n.";
  EXPECT_EQ(got[2], "part text/plain 7bit - " + std::to_string(text.size()) + " " + Sha256(text));
  EXPECT_EQ(got[3], "part " + ContentTypeOfFile("sound.wav") + " base64 sound.wav " +
                        std::to_string(binary.size()) + " " + Sha256(binary));
  EXPECT_EQ(got[4], "part text/plain base64 notes.txt " + std::to_string(notes.size()) + " " +
                        Sha256(notes));
  // Dot-stuffing on the wire: the saved content holds the lines unstuffed.
  std::string raw = ReadFile(eml);
  EXPECT_NE(raw.find("\r\n.a line starting with a dot\r\n"), std::string::npos);
  EXPECT_NE(raw.find("--" + smtp.Boundary() + "--"), std::string::npos);
}

TEST(SmtpCli, ScriptedServerRefusalsAndReplies) {
  auto standard = [](const std::string& line) -> std::string {
    if (line.rfind("EHLO", 0) == 0) return "250-mail.example\r\n250-AUTH LOGIN\r\n250 OK\r\n";
    if (line.rfind("HELO", 0) == 0) return "250 hello\r\n";
    if (line.rfind("MAIL", 0) == 0) return "250 ok\r\n";
    if (line.rfind("RCPT", 0) == 0)
      return line.find("bad@") != std::string::npos ? "550 no such user\r\n" : "250 ok\r\n";
    if (line == "DATA") return "354 go ahead\r\n";
    if (line == ".") return "250 queued\r\n";
    if (line == "QUIT") return "221 bye\r\n";
    return "500 what\r\n";
  };
  {
    SCOPED_TRACE("EHLO refused: HELO instead, no authentication");
    TScriptedSmtp peer("220-first\r\n220 ready\r\n", [&](const std::string& l) -> std::string {
      if (l.rfind("EHLO", 0) == 0) return "502 not here\r\n";
      return standard(l);
    });
    TSmtpCli smtp(nullptr);
    smtp.Host = "127.0.0.1";
    smtp.Port = std::to_string(peer.Port);
    smtp.AuthType = smtpAuthLogin;
    smtp.Username = "u";
    smtp.Password = "p";
    EXPECT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 0);
    EXPECT_FALSE(smtp.ESmtp());
    EXPECT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);
    ASSERT_TRUE(PumpUntil([&] { return peer.Done.load(); }));
    ASSERT_GE(peer.Commands.size(), 3u);
    EXPECT_EQ(peer.Commands[0].substr(0, 4), "EHLO");
    EXPECT_EQ(peer.Commands[1].substr(0, 4), "HELO");
    EXPECT_EQ(peer.Commands[2], "QUIT");
  }
  for (TSmtpRcptToErrorAction action : {srteIgnore, srteAbort}) {
    SCOPED_TRACE(action == srteIgnore ? "refused recipient ignored" : "refused recipient aborts");
    TScriptedSmtp peer("220 ready\r\n", standard);
    TSmtpCli smtp(nullptr);
    smtp.Host = "127.0.0.1";
    smtp.Port = std::to_string(peer.Port);
    smtp.FromName = "me@example.org";
    smtp.RcptName()->Add("bad@example.org");
    smtp.RcptName()->Add("good@example.org");
    smtp.MailMessage()->Add(".");
    smtp.MailMessage()->Add("..two");
    std::vector<int> asked;
    smtp.OnRcptToError = [&](TObject*, int code, int idx, TSmtpRcptToErrorAction& a) {
      asked.push_back(code * 10 + idx);
      a = action;
    };
    ASSERT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 0);
    int err = RunRequest(smtp, [&] { smtp.Mail(); });
    EXPECT_EQ(asked, std::vector<int>{5500});
    if (action == srteIgnore) {
      EXPECT_EQ(err, 0) << smtp.ErrorMessage();
      EXPECT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);
      ASSERT_TRUE(PumpUntil([&] { return peer.Done.load(); }));
      // Dot-stuffing: each line starting with "." gets one more.
      EXPECT_NE(peer.DataReceived.find("\n..\n...two\n"), std::string::npos) << peer.DataReceived;
    } else {
      EXPECT_EQ(err, 550);
      EXPECT_EQ(smtp.ErrorMessage(), "550 no such user");
      EXPECT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);
      ASSERT_TRUE(PumpUntil([&] { return peer.Done.load(); }));
      EXPECT_EQ(std::count(peer.Commands.begin(), peer.Commands.end(), "DATA"), 0);
    }
  }
  {
    SCOPED_TRACE("a reply line longer than the buffer ends the request");
    TScriptedSmtp peer("220 ready\r\n", [&](const std::string& l) -> std::string {
      if (l.rfind("HELO", 0) == 0) return "250 " + std::string(5000, 'x') + "\r\n";
      return standard(l);
    });
    TSmtpCli smtp(nullptr);
    smtp.Host = "127.0.0.1";
    smtp.Port = std::to_string(peer.Port);
    EXPECT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 500);
    EXPECT_EQ(smtp.ErrorMessage(), "500 Reply line too long");
    EXPECT_FALSE(smtp.Connected());
  }
  {
    SCOPED_TRACE("not ready while a request runs; QUIT ends with the server's close");
    TScriptedSmtp peer("220 ready\r\n", standard);
    TSmtpCli smtp(nullptr);
    smtp.Host = "127.0.0.1";
    smtp.Port = std::to_string(peer.Port);
    int err = -1;
    smtp.OnRequestDone = [&](TObject*, TSmtpRequest, WORD e) { err = e; };
    smtp.Connect();
    try {
      smtp.Helo();
      FAIL();
    } catch (SmtpException& e) {
      EXPECT_EQ(e.Message(), "SMTP component not ready");
    }
    ASSERT_TRUE(PumpUntil([&] { return err >= 0; }));
    EXPECT_EQ(err, 0);
    EXPECT_EQ(smtp.State(), smtpReady);
    EXPECT_EQ(RunRequest(smtp, [&] { smtp.Helo(); }), 0);
    std::vector<std::string> order;
    smtp.OnSessionClosed = [&](TObject*, WORD) { order.push_back("closed"); };
    smtp.OnRequestDone = [&](TObject*, TSmtpRequest rq, WORD e) {
      order.push_back(rq == smtpQuit ? "quit done " + std::to_string(e) : "other");
    };
    smtp.Quit();
    ASSERT_TRUE(PumpUntil([&] { return order.size() == 2; }));
    EXPECT_EQ(order, (std::vector<std::string>{"closed", "quit done 0"}));
  }
}

TEST(SmtpCli, FailingAttachmentAbortsWithoutTheFinalDot) {
  struct TCase {
    const char* Name;
    bool Missing;
    TSmtpBeforeOpenFileAction Before;
  };
  for (TCase c : {TCase{"refused before opening", false, smtpBeforeOpenFileAbort},
                  TCase{"file gone", true, smtpBeforeOpenFileNone}}) {
    SCOPED_TRACE(c.Name);
    TScriptedSmtp peer("220 ready\r\n", [](const std::string& l) -> std::string {
      if (l.rfind("HELO", 0) == 0 || l.rfind("MAIL", 0) == 0 || l.rfind("RCPT", 0) == 0)
        return "250 ok\r\n";
      if (l == "DATA") return "354 go\r\n";
      if (l == ".") return "250 queued\r\n";
      return "221 bye\r\n";
    });
    std::string dir = sonalix::test::MakeTempDir("att").string();
    WriteFile(dir + "/a.bin", "data");
    TSmtpCli smtp(nullptr);
    smtp.Host = "127.0.0.1";
    smtp.Port = std::to_string(peer.Port);
    smtp.FromName = "me@example.org";
    smtp.RcptName()->Add("you@example.org");
    smtp.MailMessage()->Add("text");
    TStringList files;
    files.Add(dir + "/a.bin");
    smtp.SetEmailFiles(&files);
    if (c.Missing) ::unlink((dir + "/a.bin").c_str());
    smtp.OnBeforeFileOpen = [&](TObject*, int, const std::string&, TSmtpBeforeOpenFileAction& a) {
      a = c.Before;
    };
    ASSERT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 0);
    EXPECT_EQ(RunRequest(smtp, [&] { smtp.Mail(); }), 500);
    EXPECT_EQ(smtp.ErrorMessage().substr(0, 4), "500 ");
    ASSERT_TRUE(PumpUntil([&] { return peer.Done.load(); }));
    EXPECT_EQ(std::count(peer.Commands.begin(), peer.Commands.end(), "."), 0);
  }
}

TEST(SmtpCli, HeaderAddressesAndHelpers) {
  TStringList lines;
  FormatAddressHeader(&lines, "To:", "\"Doe, John\" <john@example.org>; jane@example.org", 'Q',
                      "utf-8", true, true);
  ASSERT_EQ(lines.Count(), 1);
  EXPECT_EQ(lines.Strings(0), "To: \"Doe, John\" <john@example.org>,jane@example.org");
  struct TAddr {
    const char* Text;
    const char* Name;
    const char* Address;
  };
  for (TAddr a : {TAddr{"John <j@x.org>", "John", "j@x.org"},
                  {"'Q, N' <q@x.org>", "Q, N", "q@x.org"},
                  {"  plain@x.org", "", "plain@x.org"},
                  {"j@x.org John", "j@x.org", "John"}}) {
    std::string n, ad;
    ParseAddress(a.Text, n, ad);
    EXPECT_EQ(n, a.Name) << a.Text;
    EXPECT_EQ(ad, a.Address) << a.Text;
  }
  // RFC 2202 test case 2, and a key longer than a block, which is hashed first (case 6).
  EXPECT_EQ(Hex(HmacMd5("Jefe", "what do ya want for nothing?")),
            "750c783e6ab0b503eaa86e310a5db738");
  EXPECT_EQ(Hex(HmacMd5(std::string(80, '\xaa'),
                        "Test Using Larger Than Block-Size Key - Hash Key First")),
            "6b1ab7fe4bd7bf8f0b62e6ce61b9d0cd");
  EXPECT_EQ(Rfc822Date().size() >= 30, true);
  EXPECT_NE(NewMessageId().find('@'), std::string::npos);
}

TEST(SmtpCli, TextThatNeedsQuotedPrintable) {
  struct TCase {
    const char* Name;
    bool Allow8bit;
    std::string Line;
    std::string Expected;  // the encoded lines as received, each followed by "\n"
  };
  std::string longLine(1000, 'a');
  std::string longExpected;
  for (size_t i = 0; i < 1000; i += 75)
    longExpected += longLine.substr(i, 75) + (i + 75 < 1000 ? "=\n" : "\n");
  for (const TCase& c :
       {TCase{"non-ASCII without 8-bit", false, "caf\xc3\xa9 au lait  ", "caf=C3=A9 au lait =20\n"},
        TCase{"line over 998 characters", true, longLine, longExpected}}) {
    SCOPED_TRACE(c.Name);
    TScriptedSmtp peer("220 ready\r\n", [](const std::string& l) -> std::string {
      if (l == "DATA") return "354 go\r\n";
      if (l == "QUIT") return "221 bye\r\n";
      return "250 ok\r\n";
    });
    TSmtpCli smtp(nullptr);
    smtp.Host = "127.0.0.1";
    smtp.Port = std::to_string(peer.Port);
    smtp.FromName = "me@example.org";
    smtp.RcptName()->Add("you@example.org");
    smtp.Allow8bitChars = c.Allow8bit;
    smtp.MailMessage()->Add(c.Line);
    ASSERT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 0);
    ASSERT_EQ(RunRequest(smtp, [&] { smtp.Mail(); }), 0) << smtp.ErrorMessage();
    ASSERT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);
    ASSERT_TRUE(PumpUntil([&] { return peer.Done.load(); }));
    const std::string& d = peer.DataReceived;
    EXPECT_NE(d.find("Content-Type: text/plain; charset=\"utf-8\"\nContent-Transfer-Encoding: "
                     "quoted-printable\n"),
              std::string::npos)
        << d;
    EXPECT_EQ(d.substr(d.find("\n\n") + 2), c.Expected);
  }
}

TEST(SmtpCli, ChallengeMechanismsAndAutomaticFallback) {
  const std::string challenge = "<31415.926@example>";
  const std::string expectedSha1 =
      Openssl({"dgst", "-sha1", "-hmac", "pw"}, challenge);  // "SHA1(stdin)= <hex>" or similar
  std::string sha1Hex = expectedSha1.substr(expectedSha1.rfind(' ') + 1, 40);
  std::string msg2 = std::string("NTLMSSP\0", 8) + Unhex("02000000") + Unhex("0000000030000000") +
                     Unhex("01820000") + Unhex("0123456789abcdef") + Unhex("0000000000000000") +
                     Unhex("0000000030000000");
  struct TCase {
    const char* Name;
    TSmtpAuthType Type;
    std::vector<std::string> Auth;  // the AUTH dialogue the client must produce, in order
  };
  std::vector<TCase> cases = {
      {"cram-sha1", smtpAuthCramSha1, {"AUTH CRAM-SHA1", EncodeBase64("bob " + sha1Hex)}},
      {"ntlm", smtpAuthNtlm, {"AUTH NTLM " + NtlmMessage1("", ""), "type3"}},
      {"auto falls back on 504",
       smtpAuthAutoSelect,
       {"AUTH NTLM " + NtlmMessage1("", ""), "AUTH CRAM-MD5", "AUTH CRAM-SHA1", "AUTH LOGIN",
        EncodeBase64("bob"), EncodeBase64("pw")}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::string> auth;
    TScriptedSmtp peer("220 ready\r\n", [&](const std::string& l) -> std::string {
      if (l.rfind("EHLO", 0) == 0)
        return "250-mail.example\r\n250-AUTH NTLM CRAM-MD5 CRAM-SHA1 LOGIN\r\n250 OK\r\n";
      if (l == "QUIT") return "221 bye\r\n";
      auth.push_back(l.rfind("TlRMTVNTUAAD", 0) == 0 ? "type3" : l);
      bool automatic = c.Type == smtpAuthAutoSelect;
      if (automatic && (l.rfind("AUTH NTLM", 0) == 0 || l.rfind("AUTH CRAM", 0) == 0))
        return "504 not this one\r\n";
      if (l.rfind("AUTH CRAM-SHA1", 0) == 0) return "334 " + EncodeBase64(challenge) + "\r\n";
      if (l.rfind("AUTH NTLM", 0) == 0) return "334 " + EncodeBase64(msg2) + "\r\n";
      if (l == "AUTH LOGIN" || l == EncodeBase64("bob")) return "334 next\r\n";
      return "235 welcome\r\n";
    });
    TSmtpCli smtp(nullptr);
    smtp.Host = "127.0.0.1";
    smtp.Port = std::to_string(peer.Port);
    smtp.Username = "bob";
    smtp.Password = "pw";
    smtp.AuthType = c.Type;
    EXPECT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 0) << smtp.ErrorMessage();
    EXPECT_EQ(auth, c.Auth);
    EXPECT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);
  }
}

TEST(SmtpCli, EverySkippedFileStillClosesTheMultipartBody) {
  TScriptedSmtp peer("220 ready\r\n", [](const std::string& l) -> std::string {
    if (l == "DATA") return "354 go\r\n";
    if (l == "QUIT") return "221 bye\r\n";
    return "250 ok\r\n";
  });
  std::string dir = sonalix::test::MakeTempDir("skip").string();
  WriteFile(dir + "/one.bin", "1");
  WriteFile(dir + "/two.bin", "2");
  TSmtpCli smtp(nullptr);
  smtp.Host = "127.0.0.1";
  smtp.Port = std::to_string(peer.Port);
  smtp.FromName = "me@example.org";
  smtp.RcptName()->Add("you@example.org");
  smtp.MailMessage()->Add("only text");
  TStringList files;
  files.Add(dir + "/one.bin");
  files.Add(dir + "/two.bin");
  smtp.SetEmailFiles(&files);
  int asked = 0;
  smtp.OnBeforeFileOpen = [&](TObject*, int, const std::string&, TSmtpBeforeOpenFileAction& a) {
    ++asked;
    a = smtpBeforeOpenFileNext;
  };
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 0);
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Mail(); }), 0) << smtp.ErrorMessage();
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);
  ASSERT_TRUE(PumpUntil([&] { return peer.Done.load(); }));
  EXPECT_EQ(asked, 2);
  const std::string& d = peer.DataReceived;
  std::string b = smtp.Boundary();
  std::string tail = "only text\n\n--" + b + "--\n";
  ASSERT_GE(d.size(), tail.size());
  EXPECT_EQ(d.substr(d.size() - tail.size()), tail) << d;
  EXPECT_EQ(d.find("Content-Disposition"), std::string::npos);
}

TEST(SmtpCli, AbortDuringACombinedOperation) {
  TScriptedSmtp peer("220 ready\r\n", [](const std::string& l) -> std::string {
    if (l.rfind("MAIL", 0) == 0) return "-";  // never answered
    return "250 ok\r\n";
  });
  TSmtpCli smtp(nullptr);
  smtp.Host = "127.0.0.1";
  smtp.Port = std::to_string(peer.Port);
  smtp.FromName = "me@example.org";
  smtp.RcptName()->Add("you@example.org");
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 0);
  int err = -1;
  TSmtpRequest rq = smtpConnect;
  smtp.OnRequestDone = [&](TObject*, TSmtpRequest r, WORD e) {
    rq = r;
    err = e;
  };
  smtp.Mail();
  ASSERT_TRUE(PumpUntil([&] { return peer.Commands.size() >= 2; }));
  smtp.Abort();
  EXPECT_EQ(smtp.State(), smtpReady);
  ASSERT_TRUE(PumpUntil([&] { return err >= 0; }));
  EXPECT_EQ(err, 426);
  EXPECT_EQ(rq, smtpMail);
  EXPECT_EQ(smtp.ErrorMessage(), "426 Operation aborted.");
  EXPECT_FALSE(smtp.Connected());
}

TEST(SmtpCli, RefusedConnectionEndsTheRequestWithItsCode) {
  TSmtpCli smtp(nullptr);
  smtp.Host = "127.0.0.1";
  smtp.Port = std::to_string(FreePort());
  EXPECT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 10061);
  EXPECT_EQ(smtp.ErrorMessage(), "500 Connection refused (Winsock error #10061)");
  EXPECT_EQ(smtp.State(), smtpReady);
  EXPECT_FALSE(smtp.Connected());
  // Quit without a connection ends at once, from the message loop.
  EXPECT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);
  EXPECT_EQ(smtp.RequestType(), smtpQuit);
}

TEST(SmtpCli, DamagedRepliesEndTheRequestWithTheirError) {
  const std::string ehlo = "250-mail.example\r\n250-AUTH CRAM-MD5 CRAM-SHA1 NTLM\r\n250 OK\r\n";
  struct TCase {
    const char* Name;
    TSmtpAuthType Type;
    std::string EhloReply;
    std::string AuthReply;  // the answer to the first AUTH command
    int Error;
    std::string Message;
  };
  std::vector<TCase> cases = {
      {"EHLO line of blanks", smtpAuthPlain,
       "250-mail.example\r\n   -      \r\n250-AUTH PLAIN\r\n250 OK\r\n", "235 fine\r\n", 0, ""},
      {"reply without a code", smtpAuthPlain, ehlo, "fine\r\n", 20600, "fine"},
      {"CRAM-MD5 without a challenge", smtpAuthCramMD5, ehlo, "334\r\n", 500,
       "500 Malformed MD5 Challege: 334"},
      {"CRAM-SHA1 challenge that is not base64", smtpAuthCramSha1, ehlo, "334 ***\r\n", 500,
       "500 Malformed SHA1 Challege: 334 ***"},
      {"NTLM answer that is no challenge", smtpAuthNtlm, ehlo,
       "334 " + EncodeBase64("NTLMSSP") + "\r\n", 500,
       "500 Malformed NtlmMsg2: 334 " + EncodeBase64("NTLMSSP")},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScriptedSmtp peer("220 ready\r\n", [&c](const std::string& l) -> std::string {
      if (l.rfind("EHLO", 0) == 0) return c.EhloReply;
      if (l.rfind("AUTH", 0) == 0) return c.AuthReply;
      if (l == "QUIT") return "221 bye\r\n";
      return "500 what\r\n";
    });
    TSmtpCli smtp(nullptr);
    smtp.Host = "127.0.0.1";
    smtp.Port = std::to_string(peer.Port);
    smtp.Username = "bob";
    smtp.Password = "pw";
    smtp.AuthType = c.Type;
    EXPECT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), c.Error);
    EXPECT_EQ(smtp.ErrorMessage(), c.Message);
    EXPECT_TRUE(smtp.ESmtp());
  }
}

TEST(SmtpCli, DamagedConversationsEachEndTheRequestOnce) {
  // The whole server side of a conversation is sent at once, damaged, and the server then stops
  // sending; the client must end its request exactly once, whatever it made of the bytes.
  const std::string ntlm2 =
      EncodeBase64(std::string("NTLMSSP\0", 8) + Unhex("02000000") + Unhex("0000000030000000") +
                   Unhex("01820000") + Unhex("0123456789abcdef") + Unhex("0000000000000000") +
                   Unhex("0000000030000000"));
  const std::vector<std::pair<TSmtpAuthType, std::string>> bases = {
      {smtpAuthCramMD5,
       "220-first\r\n220 ready\r\n250-mail.example\r\n250-AUTH PLAIN LOGIN CRAM-MD5\r\n"
       "250 OK\r\n334 " +
           EncodeBase64("<1.2@x>") + "\r\n235 ok\r\n"},
      {smtpAuthNtlm,
       "220 ready\r\n250-x\r\n250-AUTH=NTLM\r\n250 OK\r\n334 " + ntlm2 + "\r\n235 ok\r\n"},
      {smtpAuthAutoSelect,
       "220 ready\r\n250-x\r\n250 AUTH LOGIN PLAIN\r\n334 VXNlcm5hbWU6\r\n334 UGFzc3dvcmQ6\r\n"
       "504 no\r\n235 ok\r\n"},
      {smtpAuthNone, "220 ready\r\n250 hello\r\n"},
  };
  const std::string junk = "\r\n- 0123456789=+/AUTH\x00\xff";
  uint32_t seed = 777;
  auto next = [&seed](uint32_t n) {
    seed = seed * 1103515245u + 12345u;
    return (seed >> 8) % n;
  };
  for (int round = 0; round < 300; ++round) {
    const auto& [type, base] = bases[size_t(round) % bases.size()];
    std::string script = base;
    for (int edits = 1 + int(next(4)); edits > 0 && !script.empty(); --edits) {
      const size_t at = next(uint32_t(script.size()));
      switch (next(5)) {
        case 0:
          script[at] = junk[next(uint32_t(junk.size()))];
          break;
        case 1:
          script.insert(at, 1 + next(8), junk[next(uint32_t(junk.size()))]);
          break;
        case 2:
          script.erase(at, 1 + next(12));
          break;
        case 3:
          script.insert(at, script.substr(at, 1 + next(40)));
          break;
        default:
          script.resize(at);
      }
    }
    SCOPED_TRACE(Hex(script));
    int listenFd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    ::bind(listenFd, reinterpret_cast<sockaddr*>(&a), sizeof a);
    socklen_t len = sizeof a;
    ::getsockname(listenFd, reinterpret_cast<sockaddr*>(&a), &len);
    ::listen(listenFd, 1);
    std::thread server([listenFd, script] {
      int fd = ::accept(listenFd, nullptr, nullptr);
      if (fd < 0) return;
      ::send(fd, script.data(), script.size(), MSG_NOSIGNAL);
      ::shutdown(fd, SHUT_WR);
      timeval tv{10, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
      char b[512];
      while (::recv(fd, b, sizeof b, 0) > 0) {
      }
      ::close(fd);
    });
    {
      TSmtpCli smtp(nullptr);
      smtp.Host = "127.0.0.1";
      smtp.Port = std::to_string(ntohs(a.sin_port));
      smtp.Username = "bob";
      smtp.Password = "pw";
      smtp.AuthType = type;
      int done = 0;
      smtp.OnRequestDone = [&done](TObject*, TSmtpRequest, WORD) { ++done; };
      smtp.Open();
      EXPECT_TRUE(PumpUntil([&] { return done > 0; }));
      for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
      EXPECT_EQ(done, 1);
      EXPECT_EQ(smtp.State(), smtpReady);
      smtp.Abort();
    }
    ::shutdown(listenFd, SHUT_RDWR);  // a connection that never came must not hold the server
    server.join();
    ::close(listenFd);
  }
}

namespace {

// A server that accepts every command; DATA goes ahead.
std::string AcceptAll(const std::string& l) {
  if (l == "DATA") return "354 go\r\n";
  if (l == "QUIT") return "221 bye\r\n";
  return "250 ok\r\n";
}

void Address(TSmtpCli& smtp, int port) {
  smtp.Host = "127.0.0.1";
  smtp.Port = std::to_string(port);
  smtp.FromName = "me@example.org";
  smtp.RcptName()->Add("you@example.org");
}

}  // namespace

TEST(SmtpCli, FinalReplyDuringTheDataStopsTheSenderAndTheConnection) {
  TScriptedSmtp peer("220 ready\r\n", AcceptAll);
  TSmtpCli smtp(nullptr);
  Address(smtp, peer.Port);
  const int bodyLines = 200000;
  int asked = 0;
  smtp.OnGetData = [&](TObject*, int n, std::string& line, bool& more) {
    asked = n;
    line = "body line " + std::to_string(n) + " QUIT";
    more = n <= bodyLines;
  };
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 0);
  peer.DataReply = "554 5.7.1 refused\r\n";
  peer.DataReplyAfter = 50;
  EXPECT_EQ(RunRequest(smtp, [&] { smtp.Mail(); }), 554);
  EXPECT_EQ(smtp.ErrorMessage(), "554 5.7.1 refused");
  EXPECT_FALSE(smtp.Connected());
  EXPECT_LT(asked, bodyLines) << "the body went on after the refusal";
  EXPECT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);
  ASSERT_TRUE(PumpUntil([&] { return peer.Done.load(); }));
  // Nothing after the refusal became part of the mail: no end of data, no command inside it.
  EXPECT_EQ(std::count(peer.Commands.begin(), peer.Commands.end(), "."), 0);
  EXPECT_EQ(peer.DataRaw.find("\r\nQUIT\r\n"), std::string::npos);
  EXPECT_EQ(peer.Commands.back(), "DATA");
}

TEST(SmtpCli, LineBreaksInsideBodyLinesCannotEndTheData) {
  TScriptedSmtp peer("220 ready\r\n", AcceptAll);
  TSmtpCli smtp(nullptr);
  Address(smtp, peer.Port);
  smtp.MailMessage()->Add("one\ntwo");
  smtp.MailMessage()->Add("three\rfour");
  const std::vector<std::string> extra = {"five\r\n.\r\nRSET", ".\n.", "six\n\rseven"};
  smtp.OnGetData = [&](TObject*, int n, std::string& line, bool& more) {
    more = n <= int(extra.size());
    if (more) line = extra[size_t(n - 1)];
  };
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 0);
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Mail(); }), 0) << smtp.ErrorMessage();
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);
  ASSERT_TRUE(PumpUntil([&] { return peer.Done.load(); }));
  const std::string body =
      "one\r\ntwo\r\nthree\r\nfour\r\nfive\r\n..\r\nRSET\r\n..\r\n..\r\n"
      "six\r\n\r\nseven\r\n";
  const std::string& d = peer.DataRaw;
  ASSERT_GE(d.size(), body.size());
  EXPECT_EQ(d.substr(d.size() - body.size()), body) << d;
  EXPECT_EQ(std::count(peer.Commands.begin(), peer.Commands.end(), "RSET"), 0);
  EXPECT_EQ(std::count(peer.Commands.begin(), peer.Commands.end(), "."), 1);
}

TEST(SmtpCli, AddressesAndHeaderValuesWithLineBreaksAreRefused) {
  struct TCase {
    const char* Name;
    std::function<void(TSmtpCli&)> Set;
    const char* Error;
  };
  const std::vector<TCase> cases = {
      {"sender", [](TSmtpCli& s) { s.FromName = "me@example.org>\r\nRCPT TO:<evil@x.org"; },
       "500 Line break in FromName"},
      {"second recipient",
       [](TSmtpCli& s) { s.RcptName()->Add("two@example.org>\r\nRSET\r\nRCPT TO:<evil@x.org"); },
       "500 Line break in RcptName"},
      {"subject", [](TSmtpCli& s) { s.HdrSubject = "hello\r\nBcc: evil@x.org"; },
       "500 Line break in HdrSubject"},
      {"to header", [](TSmtpCli& s) { s.HdrTo = "you@example.org\nBcc: evil@x.org"; },
       "500 Line break in HdrTo"},
      {"sender header", [](TSmtpCli& s) { s.HdrSender = "x\r.\r"; }, "500 Line break in HdrSender"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    TScriptedSmtp peer("220 ready\r\n", AcceptAll);
    TSmtpCli smtp(nullptr);
    Address(smtp, peer.Port);
    smtp.MailMessage()->Add("text");
    c.Set(smtp);
    ASSERT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 0);
    EXPECT_EQ(RunRequest(smtp, [&] { smtp.Mail(); }), 500);
    EXPECT_EQ(smtp.ErrorMessage(), c.Error);
    EXPECT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);
    ASSERT_TRUE(PumpUntil([&] { return peer.Done.load(); }));
    for (const std::string& cmd : peer.Commands) {
      EXPECT_EQ(cmd.find("evil"), std::string::npos) << cmd;
      EXPECT_NE(cmd, "RSET");
      EXPECT_NE(cmd, ".");
    }
    EXPECT_EQ(peer.Commands.back(), "QUIT");
  }
  // A single request is refused before anything is sent.
  TScriptedSmtp peer("220 ready\r\n", AcceptAll);
  TSmtpCli smtp(nullptr);
  Address(smtp, peer.Port);
  smtp.SignOn = "host\r\nMAIL FROM:<evil@x.org>";
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Connect(); }), 0);
  EXPECT_THROW(smtp.Helo(), SmtpException);
  EXPECT_EQ(smtp.State(), smtpReady);
  EXPECT_EQ(RunRequest(smtp, [&] { smtp.Quit(); }), 0);
  ASSERT_TRUE(PumpUntil([&] { return peer.Done.load(); }));
  EXPECT_EQ(peer.Commands, std::vector<std::string>{"QUIT"});
}

TEST(SmtpCli, AttachmentThatCannotBeReadIsNotSentAsComplete) {
  TScriptedSmtp peer("220 ready\r\n", AcceptAll);
  TSmtpCli smtp(nullptr);
  Address(smtp, peer.Port);
  smtp.MailMessage()->Add("text");
  // The process's own memory from address 0, which is never mapped: it opens, and every read
  // fails with an input/output error.
  TStringList files;
  files.Add("/proc/self/mem");
  smtp.SetEmailFiles(&files);
  ASSERT_EQ(RunRequest(smtp, [&] { smtp.Open(); }), 0);
  EXPECT_EQ(RunRequest(smtp, [&] { smtp.Mail(); }), 500);
  EXPECT_NE(smtp.ErrorMessage().find("Input/output error"), std::string::npos)
      << smtp.ErrorMessage();
  EXPECT_FALSE(smtp.Connected());
  ASSERT_TRUE(PumpUntil([&] { return peer.Done.load(); }));
  EXPECT_EQ(std::count(peer.Commands.begin(), peer.Commands.end(), "."), 0);
}
