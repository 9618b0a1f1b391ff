#include "TestEnv.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStandardPaths>
#include <atomic>
#include <cstdlib>
#include <stdexcept>

namespace sonalix::test {

namespace {
std::filesystem::path MakeRoot() {
  std::filesystem::path base = std::filesystem::temp_directory_path();
  std::string templ = (base / "sonalix-test-XXXXXX").string();
  if (!mkdtemp(templ.data())) throw std::runtime_error("cannot create the test folder");
  return templ;
}
}  // namespace

const std::filesystem::path& TempRoot() {
  static const std::filesystem::path root = MakeRoot();
  return root;
}

std::filesystem::path MakeTempDir(const std::string& stem) {
  static std::atomic<int> counter{0};
  std::filesystem::path dir = TempRoot() / "work" / (stem + std::to_string(++counter));
  std::filesystem::create_directories(dir);
  return dir;
}

std::filesystem::path SheetDir() {
  if (const char* d = std::getenv("SONALIX_SHEETS_DIR")) {
    std::filesystem::create_directories(d);
    return d;
  }
  static const std::filesystem::path dir = MakeTempDir("sheets");
  return dir;
}

std::filesystem::path SourcePath(const std::string& relative) {
  return std::filesystem::path(SONALIX_SOURCE_DIR) / relative;
}

TXvfbRun RunUnderXvfb(const std::string& Filter, const std::map<std::string, std::string>& Env) {
  TXvfbRun run;
  const QString xvfb = QStandardPaths::findExecutable("xvfb-run");
  if (xvfb.isEmpty()) return run;
  QProcess child;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("SONALIX_TEST_PLATFORM", "xcb");
  for (const auto& [name, value] : Env) env.insert(QString::fromStdString(name), QString::fromStdString(value));
  child.setProcessEnvironment(env);
  // Several of these runs start at once under a parallel ctest; xvfb-run -a alone starts every
  // one at display 99, and two of them can end up on one server, drawing over each other's
  // windows. Start the search for a free display where this process's number points.
  const QString firstDisplay = QString::number(100 + QCoreApplication::applicationPid() % 3000);
  child.start(xvfb, {"-a", "-n", firstDisplay, "-s", "-screen 0 1024x768x24", QCoreApplication::applicationFilePath(),
                     QString::fromStdString("--gtest_filter=" + Filter)});
  run.Ran = true;
  if (!child.waitForFinished(100000)) {
    child.kill();
    child.waitForFinished();
    run.Errors = "the child did not finish within 100 s";
    return run;
  }
  run.ExitCode = child.exitCode();
  run.Output = child.readAllStandardOutput().toStdString();
  run.Errors += child.readAllStandardError().toStdString();
  return run;
}

}  // namespace sonalix::test
