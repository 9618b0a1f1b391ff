// The network library beside the tools a user would pick instead, in the same run:
// - Smtp/...: a mail with a 5 MB attachment sent to aiosmtpd on 127.0.0.1 by our SMTP client and
//   by Python's smtplib (the message built with Python's email package from the same file). Each
//   run connects, sends and quits. "Smtp/Ours" carries vs_smtplib: smtplib's time divided by ours
//   (the goal is at least 0.5, ours at most twice smtplib's).
// - LineMode/...: 200,000 lines sent by socat from a file to 127.0.0.1, taken line by line by our
//   socket in line mode and written to a file, or written to a file by a second socat.
//   "LineMode/Ours" carries vs_socat: socat's time divided by ours (goal at least 1/3).
// Both need python3-aiosmtpd and socat (scripts/setup installs them).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <QApplication>
#include <QProcess>
#include <QTimer>
#include <cstdio>
#include <fstream>
#include <memory>
#include <random>
#include <sstream>

#include "BenchCommon.h"
#include "net/SmtpMessage.h"
#include "net/WSocket.h"

namespace {

// Runs the message loop until Done holds; false after Seconds without it.
bool PumpUntil(const std::function<bool()>& Done, double Seconds = 120) {
  const double end = BenchNow() + Seconds;
  while (!Done()) {
    if (BenchNow() > end) return false;
    QTimer::singleShot(5, [] {});
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  return true;
}

// True once a socket listens on 127.0.0.1:Port, seen in /proc/net/tcp without connecting (a
// listener that serves one connection must not be spent on a probe).
bool Listening(int Port) {
  char local[32];
  std::snprintf(local, sizeof local, "0100007F:%04X", Port);
  std::ifstream f("/proc/net/tcp");
  for (std::string line; std::getline(f, line);) {
    std::istringstream fields(line);
    std::string slot, addr, remote, state;
    fields >> slot >> addr >> remote >> state;
    if (addr == local && state == "0A") return true;
  }
  return false;
}

bool WaitListening(int Port) {
  const double end = BenchNow() + 30;
  while (!Listening(Port)) {
    if (BenchNow() > end) return false;
    usleep(2000);
  }
  return true;
}

int FreePort() {
  TWSocket probe(nullptr);
  probe.SetAddr("127.0.0.1");
  probe.SetPort("0");
  probe.Listen();
  const int port = std::stoi(probe.LocalPortText());
  probe.Close();
  return port;
}

std::string WriteText(const std::string& Name, const std::string& Text) {
  const std::string path = (BenchFolder() / Name).string();
  std::ofstream(path, std::ios::binary) << Text;
  return path;
}

// ---------------------------------------------------------------------------------------------
// SMTP

// The system's interpreter, which has the Debian packages.
QString Python() { return access("/usr/bin/python3", X_OK) == 0 ? "/usr/bin/python3" : "python3"; }

const char* const ServerScript = R"PY(
import sys
from aiosmtpd.controller import Controller
class Handler:
    async def handle_DATA(self, server, session, envelope):
        return "250 Message accepted"
controller = Controller(Handler(), hostname="127.0.0.1", port=int(sys.argv[1]),
                        data_size_limit=0)
controller.start()
print("ready", flush=True)
sys.stdin.read()
controller.stop()
)PY";

// Sends the mail once per line read, answering "done" (or the error) after each.
const char* const SmtplibScript = R"PY(
import os, smtplib, sys
from email.mime.application import MIMEApplication
from email.mime.multipart import MIMEMultipart
from email.mime.text import MIMEText
port, path = int(sys.argv[1]), sys.argv[2]
for _ in sys.stdin:
    try:
        msg = MIMEMultipart()
        msg["From"] = "me@example.org"
        msg["To"] = "you@example.org"
        msg["Subject"] = "Attachment"
        msg.attach(MIMEText("The recording is attached."))
        with open(path, "rb") as f:
            part = MIMEApplication(f.read(), Name=os.path.basename(path))
        part["Content-Disposition"] = 'attachment; filename="%s"' % os.path.basename(path)
        msg.attach(part)
        with smtplib.SMTP("127.0.0.1", port) as s:
            s.send_message(msg)
        print("done", flush=True)
    except Exception as e:
        print("error", e, flush=True)
)PY";

struct TSmtpSetup {
  std::unique_ptr<QProcess> Server;
  int Port = 0;
  std::string Attachment;
  std::string Error;

  TSmtpSetup() {
    BenchEnsureApplication();
    std::string data(5 * 1024 * 1024, '\0');
    std::mt19937 rng(11);
    for (auto& c : data) c = char(rng());
    Attachment = WriteText("smtp-attachment.bin", data);
    Port = FreePort();
    Server = std::make_unique<QProcess>();
    Server->start(Python(), {QString::fromStdString(WriteText("smtp-server.py", ServerScript)),
                             QString::number(Port)});
    if (!Server->waitForReadyRead(30000) || !Server->readLine().startsWith("ready"))
      Error = "aiosmtpd did not start (is python3-aiosmtpd installed?)";
  }
  ~TSmtpSetup() {
    Server->closeWriteChannel();
    if (!Server->waitForFinished(10000)) Server->kill();
  }
};

TSmtpSetup& Smtp() {
  static TSmtpSetup setup;
  return setup;
}

double& SmtplibSeconds() {
  static double s = 0;
  return s;
}

void BM_Smtplib(benchmark::State& state) {
  TSmtpSetup& setup = Smtp();
  if (!setup.Error.empty()) return state.SkipWithError(setup.Error.c_str());
  QProcess client;
  client.start(Python(), {QString::fromStdString(WriteText("smtp-client.py", SmtplibScript)),
                          QString::number(setup.Port), QString::fromStdString(setup.Attachment)});
  if (!client.waitForStarted(30000)) return state.SkipWithError("python3 did not start");
  double total = 0;
  for (auto _ : state) {
    const double t0 = BenchNow();
    client.write("send\n");
    while (!client.canReadLine())
      if (!client.waitForReadyRead(120000)) return state.SkipWithError("smtplib did not answer");
    const QByteArray answer = client.readLine();
    total += BenchNow() - t0;
    state.SetIterationTime(BenchNow() - t0);
    if (!answer.startsWith("done")) {
      static std::string error;  // the library keeps the pointer
      error = "smtplib: " + answer.trimmed().toStdString() +
              client.readAllStandardError().toStdString();
      return state.SkipWithError(error.c_str());
    }
  }
  client.closeWriteChannel();
  client.waitForFinished(10000);
  SmtplibSeconds() = total / double(state.iterations());
}

void BM_SmtpOurs(benchmark::State& state) {
  TSmtpSetup& setup = Smtp();
  if (!setup.Error.empty()) return state.SkipWithError(setup.Error.c_str());
  TSmtpCli smtp(nullptr);
  smtp.Host = "127.0.0.1";
  smtp.Port = std::to_string(setup.Port);
  smtp.FromName = "me@example.org";
  smtp.HdrFrom = "me@example.org";
  smtp.HdrTo = "you@example.org";
  smtp.HdrSubject = "Attachment";
  smtp.RcptName()->Add("you@example.org");
  smtp.MailMessage()->Add("The recording is attached.");
  TStringList files;
  files.Add(setup.Attachment);
  smtp.SetEmailFiles(&files);
  int error = -1;
  smtp.OnRequestDone = [&](TObject*, TSmtpRequest, WORD e) { error = e; };
  auto run = [&](void (TCustomSmtpClient::*request)()) {
    error = -1;
    (smtp.*request)();
    return PumpUntil([&] { return error >= 0; }) && error == 0;
  };
  double total = 0;
  for (auto _ : state) {
    const double t0 = BenchNow();
    if (!run(&TCustomSmtpClient::Open) || !run(&TCustomSmtpClient::Mail) ||
        !run(&TCustomSmtpClient::Quit)) {
      static std::string error;  // the library keeps the pointer
      error = "SMTP request failed: " + smtp.ErrorMessage();
      return state.SkipWithError(error.c_str());
    }
    total += BenchNow() - t0;
    state.SetIterationTime(BenchNow() - t0);
  }
  const double ours = total / double(state.iterations());
  if (SmtplibSeconds() > 0) state.counters["vs_smtplib"] = SmtplibSeconds() / ours;
}

// ---------------------------------------------------------------------------------------------
// Line mode

constexpr int kLines = 200000;

const std::string& LinesFile() {
  static std::string path;
  if (!path.empty()) return path;
  std::string text;
  std::mt19937 rng(3);
  for (int i = 0; i < kLines; ++i) {
    std::string line = "line " + std::to_string(i) + " ";
    line.append(size_t(rng() % 60), char('a' + i % 26));
    text += line + "\r\n";
  }
  path = WriteText("linemode-lines.txt", text);
  return path;
}

// The sending socat, connecting to the listener on Port.
std::unique_ptr<QProcess> StartSender(int Port) {
  auto p = std::make_unique<QProcess>();
  p->start("socat", {"-u", QString::fromStdString("FILE:" + LinesFile()),
                     QString("TCP:127.0.0.1:%1").arg(Port)});
  return p;
}

double& SocatSeconds() {
  static double s = 0;
  return s;
}

void BM_LineModeSocat(benchmark::State& state) {
  BenchEnsureApplication();
  const std::string out = (BenchFolder() / "linemode-socat-out.txt").string();
  double total = 0;
  for (auto _ : state) {
    const int port = FreePort();
    QProcess receiver;
    receiver.start("socat", {"-u", QString("TCP-LISTEN:%1,bind=127.0.0.1,reuseaddr").arg(port),
                             QString::fromStdString("CREATE:" + out)});
    if (!receiver.waitForStarted(30000) || !WaitListening(port))
      return state.SkipWithError("socat did not start (is it installed?)");
    const double t0 = BenchNow();
    std::unique_ptr<QProcess> sender = StartSender(port);
    if (!receiver.waitForFinished(120000) || !sender->waitForFinished(120000))
      return state.SkipWithError("socat did not finish");
    total += BenchNow() - t0;
    state.SetIterationTime(BenchNow() - t0);
  }
  SocatSeconds() = total / double(state.iterations());
}

void BM_LineModeOurs(benchmark::State& state) {
  BenchEnsureApplication();
  const std::string out = (BenchFolder() / "linemode-ours-out.txt").string();
  double total = 0;
  for (auto _ : state) {
    TWSocket listener(nullptr);
    TWSocket line(nullptr);
    listener.SetAddr("127.0.0.1");
    listener.SetPort("0");
    listener.OnSessionAvailable = [&](TObject*, WORD) { line.Dup(listener.Accept()); };
    listener.Listen();
    std::FILE* f = std::fopen(out.c_str(), "wb");
    int lines = 0;
    bool closed = false;
    line.SetLineMode(true);
    line.OnDataAvailable = [&](TObject*, WORD) {
      char buf[256];
      const int n = line.Receive(buf, sizeof buf);
      if (n <= 0) return;
      std::fwrite(buf, 1, size_t(n), f);
      if (buf[n - 1] == '\n') ++lines;  // every line fits the buffer
    };
    line.OnSessionClosed = [&](TObject*, WORD) { closed = true; };
    const double t0 = BenchNow();
    std::unique_ptr<QProcess> sender = StartSender(std::stoi(listener.LocalPortText()));
    const bool done = PumpUntil([&] { return closed; });
    std::fclose(f);
    sender->waitForFinished(10000);
    if (!done) return state.SkipWithError("the lines did not all come");
    total += BenchNow() - t0;
    state.SetIterationTime(BenchNow() - t0);
    if (lines < kLines) return state.SkipWithError("lines were lost");
  }
  const double ours = total / double(state.iterations());
  if (SocatSeconds() > 0) state.counters["vs_socat"] = SocatSeconds() / ours;
}

const bool kRegistered = [] {
  using TBench = void (*)(benchmark::State&);
  const std::pair<const char*, TBench> rows[] = {{"Smtp/Smtplib", BM_Smtplib},
                                                 {"Smtp/Ours", BM_SmtpOurs},
                                                 {"LineMode/Socat", BM_LineModeSocat},
                                                 {"LineMode/Ours", BM_LineModeOurs}};
  for (const auto& [name, fn] : rows)
    benchmark::RegisterBenchmark(name, fn)->UseManualTime()->Iterations(5)->Unit(
        benchmark::kMillisecond);
  return true;
}();

}  // namespace
