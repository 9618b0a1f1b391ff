#include "app/StartupProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <set>
#include <string>

#include "Imports/AudioEditorControl.h"
#include "app/Child.h"
#include "app/Main.h"
#include "platform/win/QtWindows.h"

namespace {

class TStartupProbe : public QObject {
 public:
  TStartupProbe(std::string File, bool WaitForWaveform)
      : FFile(std::move(File)), FWaitForWaveform(WaitForWaveform) {}

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    // A paint is done once its event has been handled: look right after it.
    if (Event->type() == QEvent::Paint && !FDone) {
      if (auto* w = qobject_cast<QWidget*>(Watched)) FPainted.insert(w);
      if (!FCheckQueued) {
        FCheckQueued = true;
        QTimer::singleShot(0, this, [this] { Check(); });
      }
    }
    return false;
  }

 private:
  bool Painted(HWND Window) const {
    QWidget* w = Window ? GetWindowWidget(Window) : nullptr;
    if (!w) return false;
    // The window or any part inside it (a frame covered by its parts paints only them).
    for (QWidget* p : FPainted)
      if (p == w || w->isAncestorOf(p)) return true;
    return false;
  }

  void Check() {
    FCheckQueued = false;
    if (FDone || !MainForm || !MainForm->Visible() || !Painted(MainForm->Handle())) return;
    if (FWaitForWaveform) {
      TChildForm* doc = MainForm->ActiveDocument();
      if (!doc || doc->AudioEditor->Position()->Length() == 0 || !Painted(doc->AudioEditor->Handle())) return;
    }
    FDone = true;
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    std::ofstream(FFile) << (int64_t(now.tv_sec) * 1000000000 + now.tv_nsec) << "\n";
    Application->Terminate();
  }

  std::string FFile;
  bool FWaitForWaveform;
  bool FDone = false;
  bool FCheckQueued = false;
  std::set<QWidget*> FPainted;
};

}  // namespace

void InstallStartupProbe() {
  const char* file = std::getenv("SONALIX_STARTUP_PROBE");
  if (!file || !*file) return;
  const QStringList args = QCoreApplication::arguments();
  const bool waveform = args.size() >= 2 && OpensAtStart(args.at(1).toStdString());
  auto* probe = new TStartupProbe(file, waveform);
  probe->setParent(QCoreApplication::instance());
  QCoreApplication::instance()->installEventFilter(probe);
}
