#pragma once
// Real mouse and key events for suite controls on the offscreen platform, the test clock, and
// what a window drew.

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <QApplication>
#include <QWidget>

#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"

namespace suitetest {

// Time moves only when a test says so while this lives.
struct TManualClock {
  TManualClock() { SetManualClock(true); }
  ~TManualClock() { SetManualClock(false); }
  TManualClock(const TManualClock&) = delete;
  TManualClock& operator=(const TManualClock&) = delete;
};

// Lets the test clock run and the timers that fell due fire.
inline void Tick(DWORD Ms) {
  AdvanceClock(Ms);
  Application->ProcessMessages();
}

// A mouse event at a point of the control's client area, through its window (the platform
// sends it on to the window holding the capture).
inline void MouseEvent(TWinControl* Control, QEvent::Type Type, TPoint At, Qt::MouseButton Button = Qt::LeftButton,
                  Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
  QWidget* w = GetWindowWidget(Control->Handle());
  TPoint g = Control->ClientToScreen(At);
  QPoint global(g.X, g.Y);
  QCursor::setPos(global);
  Qt::MouseButton button = Type == QEvent::MouseMove ? Qt::NoButton : Button;
  Qt::MouseButtons held = Type == QEvent::MouseButtonRelease || Type == QEvent::MouseMove
                              ? Qt::MouseButtons()
                              : Qt::MouseButtons(Button);
  QMouseEvent e(Type, QPointF(w->mapFromGlobal(global)), QPointF(global), button, held, Modifiers);
  QCoreApplication::sendEvent(w, &e);
  Application->ProcessMessages();
}

// A move with the button held (a drag).
inline void Drag(TWinControl* Control, TPoint At, Qt::MouseButton Button = Qt::LeftButton) {
  QWidget* w = GetWindowWidget(Control->Handle());
  TPoint g = Control->ClientToScreen(At);
  QPoint global(g.X, g.Y);
  QCursor::setPos(global);
  QMouseEvent e(QEvent::MouseMove, QPointF(w->mapFromGlobal(global)), QPointF(global), Qt::NoButton, Button,
                Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
  Application->ProcessMessages();
}

inline void Click(TWinControl* Control, TPoint At, Qt::MouseButton Button = Qt::LeftButton) {
  MouseEvent(Control, QEvent::MouseButtonPress, At, Button);
  MouseEvent(Control, QEvent::MouseButtonRelease, At, Button);
}

inline void Key(TWinControl* Control, int QtKey, Qt::KeyboardModifiers Modifiers = Qt::NoModifier) {
  QWidget* w = GetWindowWidget(Control->Handle());
  QKeyEvent down(QEvent::KeyPress, QtKey, Modifiers);
  QCoreApplication::sendEvent(w, &down);
  QKeyEvent up(QEvent::KeyRelease, QtKey, Modifiers);
  QCoreApplication::sendEvent(w, &up);
  Application->ProcessMessages();
}

inline void Wheel(TWinControl* Control, TPoint At, int Delta) {
  QWidget* w = GetWindowWidget(Control->Handle());
  TPoint g = Control->ClientToScreen(At);
  QPoint global(g.X, g.Y);
  QCursor::setPos(global);
  QWheelEvent e(QPointF(w->mapFromGlobal(global)), QPointF(global), QPoint(), QPoint(0, Delta), Qt::NoButton,
                Qt::NoModifier, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(w, &e);
  Application->ProcessMessages();
}

// What the control's window shows after painting what is invalid, its client area only.
inline QImage Snapshot(TWinControl* Control) {
  HWND h = Control->Handle();
  PaintWindowNow(h);
  QImage* buffer = GetWindowBackBuffer(h);
  return buffer ? buffer->copy() : QImage();
}

}  // namespace suitetest
