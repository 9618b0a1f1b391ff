#include "platform/gui/QtApplication.h"

#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"

TQtApplication::TQtApplication(int& argc, char** argv) : QApplication(argc, argv) {
  // The application object installs its message filter and exception handler.
  GetApplication();
}

bool TQtApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (...) {
    HandleWindowException(std::current_exception());
    return true;
  }
}
