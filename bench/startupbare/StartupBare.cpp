// The plain Qt Widgets program the start-up benchmark compares the editor with: a main window
// with a menu bar, two toolbars, an MDI area and a status bar. With SONALIX_STARTUP_PROBE set it
// writes the monotonic clock once its window has painted, then quits (as the editor does).
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <cstdlib>
#include <ctime>
#include <fstream>

namespace {
class Probe : public QObject {
 public:
  explicit Probe(QWidget* Window) : FWindow(Window) {}

 protected:
  bool eventFilter(QObject* Watched, QEvent* Event) override {
    if (Watched == FWindow && Event->type() == QEvent::Paint && !FDone) {
      FDone = true;
      QTimer::singleShot(0, [] {
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        std::ofstream(std::getenv("SONALIX_STARTUP_PROBE")) << (int64_t(now.tv_sec) * 1000000000 + now.tv_nsec) << "\n";
        QCoreApplication::quit();
      });
    }
    return false;
  }

 private:
  QWidget* FWindow;
  bool FDone = false;
};
}  // namespace

int main(int argc, char** argv) {
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "xcb", 1);
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Bare");
  for (const char* menu : {"&File", "&Edit", "&Effects", "&Control", "&Tools", "&Bookmark", "&View", "&Window", "&Help"})
    window.menuBar()->addMenu(menu)->addAction("Item");
  for (const char* name : {"Toolbar", "Quick"}) {
    QToolBar* bar = window.addToolBar(name);
    for (int i = 0; i < 16; ++i) bar->addAction(QString("Button %1").arg(i));
  }
  window.setCentralWidget(new QMdiArea);
  window.statusBar()->showMessage(" ");
  window.resize(960, 640);
  Probe probe(&window);
  if (std::getenv("SONALIX_STARTUP_PROBE")) window.installEventFilter(&probe);
  window.show();
  return app.exec();
}
