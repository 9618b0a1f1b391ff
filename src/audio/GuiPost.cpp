#include "audio/GuiPost.h"

#include <QCoreApplication>
#include <QMetaObject>

void PostToGui(std::function<void()> call) {
  QCoreApplication* app = QCoreApplication::instance();
  if (!app) return;
  QMetaObject::invokeMethod(app, std::move(call), Qt::QueuedConnection);
}
