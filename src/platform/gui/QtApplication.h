#pragma once
// The Qt application object of the program: no exception raised in an event handler crosses
// Qt's event loop; it goes to the application's default exception handler instead.

#include <QApplication>

class TQtApplication : public QApplication {
 public:
  TQtApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};
