// The sonalix executable: the program block lives in the application layer; until it does, the
// executable shows the empty main window.
#include <QApplication>
#include <QMainWindow>
#include <cstdlib>

int main(int argc, char** argv) {
  // The interface libraries place popups by screen position, which needs X11 (or XWayland).
  if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "xcb", 1);
  QApplication app(argc, argv);
  QMainWindow window;
  window.setWindowTitle("Sonalix Sound Editor");
  window.resize(1000, 700);
  window.show();
  if (std::getenv("SONALIX_QUIT_AFTER_START")) return 0;
  return app.exec();
}
