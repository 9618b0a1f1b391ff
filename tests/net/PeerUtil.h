#pragma once
// Peers for the network tests: programs started on 127.0.0.1 and stopped by pid, free ports, and
// a bounded wait that keeps the thread's messages and Qt's events flowing.

#include <QProcess>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

namespace nettest {

// A port on 127.0.0.1 nobody listens on right now.
int FreePort();

// A socket listening on 127.0.0.1 at a port of the system's choice, which goes to Port.
int ListenOnLoopback(int& Port, int Backlog = 4);
// Runs messages and events until Done holds or Ms milliseconds passed; returns Done's last answer.
bool PumpUntil(const std::function<bool()>& Done, int Ms = 10000);
// The full path of a program (also from /usr/sbin), or "".
std::string FindProgram(const std::string& Name);
// True once something accepts connections on 127.0.0.1:Port (bounded by Ms).
bool WaitListening(int Port, int Ms = 10000);

// A peer program; killed (by its pid) and reaped when the object goes.
class TPeerProcess {
 public:
  TPeerProcess() = default;
  ~TPeerProcess();
  TPeerProcess(const TPeerProcess&) = delete;
  TPeerProcess& operator=(const TPeerProcess&) = delete;
  bool Start(const std::string& Program, const QStringList& Args);
  // Waits (bounded) for the peer to end by itself; false when it did not.
  bool WaitExit(int Ms = 10000);
  std::string Output();
  std::string Errors();
  qint64 Pid() const;

 private:
  std::unique_ptr<QProcess> FProcess;
};

}  // namespace nettest
