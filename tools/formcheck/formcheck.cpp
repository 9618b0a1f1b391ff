// Loads every embedded form description (each root class created, its description read, then
// freed) and prints what fails; a failure fails the build step that runs it.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <cstdlib>

#include "app/Program.h"
#include "platform/rtl/Streaming.h"

int main(int argc, char** argv) {
  // Forms may touch settings and caches while they load: keep those away from the user's.
  QTemporaryDir home;
  if (!home.isValid()) {
    std::fprintf(stderr, "formcheck: no temporary folder\n");
    return 2;
  }
  const QByteArray root = home.path().toUtf8();
  for (const char* name :
       {"XDG_CONFIG_HOME", "XDG_DATA_HOME", "XDG_CACHE_HOME", "XDG_RUNTIME_DIR", "HOME"}) {
    const QByteArray dir = root + "/" + name;
    QDir().mkpath(QString::fromUtf8(dir));
    QFile::setPermissions(QString::fromUtf8(dir),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    setenv(name, dir.constData(), 1);
  }
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  if (!getenv("SONALIX_AUDIO")) setenv("SONALIX_AUDIO", "null", 1);
  RegisterAppClasses();
  QApplication app(argc, argv);

  std::vector<std::string> failures = CheckDescriptions(":/forms");
  for (const auto& f : failures) std::fprintf(stderr, "%s\n", f.c_str());
  return failures.empty() ? 0 : 1;
}
