#include "PeerUtil.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <signal.h>
#include <sys/socket.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTimer>
#include <chrono>
#include <thread>

namespace nettest {

namespace {
// A socket bound to 127.0.0.1 at a port of the system's choice, which goes to Port.
int BindLoopback(int& Port) {
  int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  ::bind(fd, reinterpret_cast<sockaddr*>(&a), sizeof a);
  socklen_t len = sizeof a;
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
  Port = ntohs(a.sin_port);
  return fd;
}
}  // namespace

int FreePort() {
  int port = 0;
  ::close(BindLoopback(port));
  return port;
}

int ListenOnLoopback(int& Port, int Backlog) {
  int fd = BindLoopback(Port);
  ::listen(fd, Backlog);
  return fd;
}

bool PumpUntil(const std::function<bool()>& Done, int Ms) {
  QElapsedTimer t;
  t.start();
  while (!Done()) {
    if (t.elapsed() > Ms) return Done();
    // Wakes at least every few milliseconds; messages posted meanwhile are drained by Qt.
    QTimer::singleShot(5, [] {});
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
  }
  return true;
}

std::string FindProgram(const std::string& Name) {
  QString p = QStandardPaths::findExecutable(QString::fromStdString(Name));
  if (p.isEmpty())
    p = QStandardPaths::findExecutable(QString::fromStdString(Name),
                                       {"/usr/sbin", "/sbin", "/usr/local/sbin"});
  return p.toStdString();
}

bool WaitListening(int Port, int Ms) {
  auto start = std::chrono::steady_clock::now();
  for (;;) {
    int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(uint16_t(Port));
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bool ok = ::connect(fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
    ::close(fd);
    if (ok) return true;
    if (std::chrono::steady_clock::now() - start > std::chrono::milliseconds(Ms)) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

TPeerProcess::~TPeerProcess() {
  if (FProcess && FProcess->state() != QProcess::NotRunning) {
    ::kill(pid_t(FProcess->processId()), SIGKILL);
    FProcess->waitForFinished(5000);
  }
}

bool TPeerProcess::Start(const std::string& Program, const QStringList& Args) {
  FProcess = std::make_unique<QProcess>();
  FProcess->start(QString::fromStdString(Program), Args);
  return FProcess->waitForStarted(10000);
}

bool TPeerProcess::WaitExit(int Ms) {
  if (!FProcess) return true;
  if (FProcess->state() == QProcess::NotRunning) return true;
  return PumpUntil([this] { return FProcess->state() == QProcess::NotRunning; }, Ms);
}

std::string TPeerProcess::Output() {
  return FProcess ? FProcess->readAllStandardOutput().toStdString() : "";
}
std::string TPeerProcess::Errors() {
  return FProcess ? FProcess->readAllStandardError().toStdString() : "";
}
qint64 TPeerProcess::Pid() const { return FProcess ? FProcess->processId() : 0; }

}  // namespace nettest
