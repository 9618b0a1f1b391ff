#pragma once
// Helpers of the small-control tests: a shown form on the offscreen platform, real mouse and key
// events through the control's widget, and what a window painted.

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <memory>

#include "platform/gui/Forms.h"
#include "platform/gui/Pictures.h"
#include "platform/win/QtWindows.h"

namespace controlstest {

inline std::unique_ptr<TForm> MakeForm(int W = 400, int H = 300) {
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, W, H);
  form->SetColor(clBtnFace);
  return form;
}

inline void SendMouse(TWinControl* c, QEvent::Type type, QPoint local, Qt::MouseButtons held = Qt::LeftButton) {
  QWidget* w = GetWindowWidget(c->Handle());
  const QPoint global = w->mapToGlobal(local);
  QCursor::setPos(global);
  const Qt::MouseButton button = type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
  const Qt::MouseButtons buttons = type == QEvent::MouseButtonRelease ? Qt::NoButton : held;
  QMouseEvent e(type, QPointF(local), QPointF(global), button, buttons, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
  Application->ProcessMessages();
}

inline void SendKey(TWinControl* c, int key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  QWidget* w = GetWindowWidget(c->Handle());
  QKeyEvent down(QEvent::KeyPress, key, mods);
  QCoreApplication::sendEvent(w, &down);
  QKeyEvent up(QEvent::KeyRelease, key, mods);
  QCoreApplication::sendEvent(w, &up);
  Application->ProcessMessages();
}

// What the window shows now (its whole back buffer), as RGB without alpha.
inline QImage Painted(TWinControl* c) {
  PaintWindowNow(c->Handle());
  QImage* buffer = GetWindowBackBuffer(c->Handle());
  return buffer ? buffer->convertToFormat(QImage::Format_RGB32) : QImage();
}

inline QRgb Rgb(TColor c) {
  c = ColorToRGB(c);
  return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Runs on the test clock for the life of the object.
struct TManualClock {
  TManualClock() { SetManualClock(true); }
  ~TManualClock() { SetManualClock(false); }
  void Advance(DWORD ms) {
    AdvanceClock(ms);
    Application->ProcessMessages();
  }
};

}  // namespace controlstest
