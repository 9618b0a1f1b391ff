#pragma once
// Peers of the disc database tests: lighttpd with a CGI at "/~cddb/cddb.cgi" (and a submission
// script beside it) answering by command and disc id, a scripted one-shot TCP peer, and a
// component on a scripted drive holding the two-track example disc.

#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "PeerUtil.h"
#include "cd/Cddb.h"
#include "common/TestEnv.h"
#include "platform/sys/CdDevice.h"
#include "platform/sys/Drives.h"

namespace cdtest {

inline void WriteText(const std::filesystem::path& path, const std::string& data, bool exec = false) {
  std::ofstream(path, std::ios::binary | std::ios::trunc) << data;
  if (exec) ::chmod(path.c_str(), 0755);
}

inline std::string ReadText(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// lighttpd on 127.0.0.1. The query script logs each query string to queries.log and answers
// with replies/<verb>-<discid> (the verb "query" or "read"), preceded by the CGI header in
// replies/<verb>-<discid>.head when that exists. The submission script logs the request
// headers and body it got to submit.log and answers replies/submit.
struct TCddbServer {
  std::filesystem::path Dir;
  int Port = 0;
  nettest::TPeerProcess Process;

  bool Start() {
    const std::string exe = nettest::FindProgram("lighttpd");
    if (exe.empty()) return false;
    Dir = sonalix::test::MakeTempDir("cddbhttp");
    std::filesystem::create_directories(Dir / "www" / "~cddb");
    std::filesystem::create_directories(Dir / "replies");
    const std::string d = Dir.string();
    WriteText(Dir / "www" / "~cddb" / "cddb.cgi",
              "#!/bin/sh\n"
              "printf '%s\\n' \"$QUERY_STRING\" >> '" + d + "/queries.log'\n"
              "cmd=${QUERY_STRING#cmd=}; cmd=${cmd%%&*}\n"
              "set -- $(printf '%s' \"$cmd\" | tr '+' ' ')\n"
              "case \"$2\" in query) f='" + d + "/replies/query-'$3;; read) f='" + d +
                  "/replies/read-'$4;; *) f=none;; esac\n"
              "if [ -f \"$f.head\" ]; then cat \"$f.head\"; else printf 'Content-Type: text/plain\\r\\n\\r\\n'; fi\n"
              "[ -f \"$f\" ] && cat \"$f\"\n"
              "exit 0\n",
              true);
    WriteText(Dir / "www" / "~cddb" / "submit.cgi",
              "#!/bin/sh\n"
              "{ env | grep '^HTTP_' | sort; printf 'BODY\\n'; head -c \"$CONTENT_LENGTH\"; } > '" + d + "/submit.log'\n"
              "printf 'Content-Type: text/plain\\r\\n\\r\\n'\n"
              "cat '" + d + "/replies/submit'\n",
              true);
    Port = nettest::FreePort();
    WriteText(Dir / "lighttpd.conf",
              "server.document-root = \"" + d + "/www\"\n"
              "server.bind = \"127.0.0.1\"\n"
              "server.port = " + std::to_string(Port) + "\n"
              "server.modules = (\"mod_cgi\")\n"
              "server.errorlog = \"" + d + "/error.log\"\n"
              "cgi.assign = (\".cgi\" => \"\")\n");
    if (!Process.Start(exe, {"-D", "-f", QString::fromStdString(d + "/lighttpd.conf")})) return false;
    return nettest::WaitListening(Port);
  }
  void Reply(const std::string& name, const std::string& body, const std::string& head = "") {
    WriteText(Dir / "replies" / name, body);
    if (head.empty())
      std::filesystem::remove(Dir / "replies" / (name + ".head"));
    else
      WriteText(Dir / "replies" / (name + ".head"), head);
  }
};

// A peer that answers one connection with fixed bytes once it has read a request header, then
// closes.
struct TOneShotPeer {
  int ListenFd = -1;
  int Port = 0;
  std::thread Thread;
  std::string Request;

  explicit TOneShotPeer(std::string reply) {
    ListenFd = nettest::ListenOnLoopback(Port);
    Thread = std::thread([this, reply] {
      const int fd = ::accept(ListenFd, nullptr, nullptr);
      if (fd < 0) return;
      timeval tv{10, 0};
      ::setsockopt(fd, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
      char b[4096];
      while (Request.find("\r\n\r\n") == std::string::npos) {
        const ssize_t n = ::recv(fd, b, sizeof b, 0);
        if (n <= 0) break;
        Request.append(b, size_t(n));
      }
      ::send(fd, reply.data(), reply.size(), MSG_NOSIGNAL);
      ::close(fd);
    });
  }
  ~TOneShotPeer() {
    ::shutdown(ListenFd, SHUT_RDWR);
    if (Thread.joinable()) Thread.join();
    ::close(ListenFd);
  }
};

// The example disc: tracks at 00:02:00 and 03:00:00, lead-out at 06:00:00 ("0b016602").
inline std::vector<uint8_t> ExampleToc() {
  std::vector<TCdTocEntry> e = {{1, 0x10, 0}, {2, 0x10, 13350}, {0xAA, 0x10, 26850}};
  std::vector<uint8_t> raw(CdRawTocSize);
  BuildRawToc(1, 2, e, raw.data(), int(raw.size()));
  return raw;
}

// A disc database component on drive D:, a scripted drive with the example disc, that keeps
// every status text and match list it is given.
struct TCddbRig {
  TScriptedCd Drive;
  std::unique_ptr<TCddb> Cddb;
  std::vector<std::string> Statuses;
  std::vector<std::string> Exchanges;
  std::vector<std::vector<std::string>> MatchCalls;
  int Choice = 0;

  TCddbRig() {
    Drive.Toc = ExampleToc();
    std::vector<TDriveInfo> drives(2);
    drives[0].RootPath = "/";
    drives[1].Letter = 'D';
    drives[1].Type = DRIVE_CDROM;
    drives[1].Device = "scripted";
    SetDriveTable(drives);
    SetScriptedCd('D', &Drive);
    Cddb = std::make_unique<TCddb>(nullptr);
    Cddb->ServerType = HTTP;
    Cddb->ServerAddr = "127.0.0.1";
    Cddb->EmailUser = "daruzeva@example.org";
    Cddb->ClientName = "daruzeva";
    Cddb->ClientVersion = "2.0";
    Cddb->OnStatusMessage = [this](TObject*, const std::string& s) { Statuses.push_back(s); };
    Cddb->OnDataExchange = [this](TObject*, const std::string& s) { Exchanges.push_back(s); };
    Cddb->OnMatch = [this](TObject*, const TMatchArray& m, int& right) {
      std::vector<std::string> lines;
      for (const auto& l : m)
        if (!l.empty()) lines.push_back(l);
      MatchCalls.push_back(lines);
      right = Choice;
    };
  }
  ~TCddbRig() {
    Cddb.reset();
    SetScriptedCd('D', nullptr);
    ResetDriveTable();
  }
  // Runs one request until the state leaves Waiting; false when it did not in time.
  bool Run(const std::function<int()>& start, int waiting) {
    if (start() != 0) return Cddb->State() != waiting;
    return nettest::PumpUntil([&] { return Cddb->State() != waiting; }, 20000);
  }
  bool Said(const std::string& s) const {
    return std::find(Statuses.begin(), Statuses.end(), s) != Statuses.end();
  }
};

}  // namespace cdtest
