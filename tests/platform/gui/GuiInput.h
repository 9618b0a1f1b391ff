#pragma once
// Real input for the offscreen control tests: Qt mouse and key events sent to the widgets of
// our windows, then the messages they caused handled; and colours as the back buffers hold them.

#include <QCoreApplication>
#include <QCursor>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>
#include <memory>
#include <string>

#include "platform/gui/Forms.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/QtWindows.h"

namespace guitest {

// A form of the registered class F, read from a description of its children on a white client
// area of 260 x 160 in DejaVu Sans, and shown.
template <class F = TForm>
std::unique_ptr<F> ShowForm(const std::string& Children, const std::string& ClassName = "TForm") {
  RegisterGuiClasses();
  auto form = std::make_unique<F>(nullptr);
  ReadComponentFromText(form.get(), "object Form1: " + ClassName +
                                        " {\n  Left = 0\n  Top = 0\n  ClientWidth = 260\n"
                                        "  ClientHeight = 160\n  Color = clWhite\n"
                                        "  Font {\n    Name = \"DejaVu Sans\"\n    Height = -11\n  }\n" +
                                        Children + "}\n");
  form->Show();
  Application->ProcessMessages();
  return form;
}

// A mouse event at a client point of Root, sent to the deepest widget there.
inline void Mouse(TWinControl* Root, QEvent::Type Type, QPoint At, Qt::MouseButton Button = Qt::LeftButton,
                  Qt::KeyboardModifiers Mods = Qt::NoModifier) {
  QWidget* root = GetWindowWidget(Root->Handle());
  QPoint global = root->mapToGlobal(At);
  QWidget* w = root->childAt(At);
  if (!w) w = root;
  QCursor::setPos(global);
  Qt::MouseButtons held = Type == QEvent::MouseButtonRelease || Type == QEvent::MouseMove
                              ? Qt::NoButton : Qt::MouseButtons(Button);
  Qt::MouseButton which = Type == QEvent::MouseMove ? Qt::NoButton : Button;
  QMouseEvent e(Type, QPointF(w->mapFromGlobal(global)), QPointF(global), which, held, Mods);
  QCoreApplication::sendEvent(w, &e);
  Application->ProcessMessages();
}

// Moves there, presses and releases the left button (with the keys of Mods held).
inline void Click(TWinControl* Root, QPoint At, Qt::KeyboardModifiers Mods = Qt::NoModifier) {
  Mouse(Root, QEvent::MouseMove, At, Qt::LeftButton, Mods);
  Mouse(Root, QEvent::MouseButtonPress, At, Qt::LeftButton, Mods);
  Mouse(Root, QEvent::MouseButtonRelease, At, Qt::LeftButton, Mods);
}

inline void DoubleClick(TWinControl* Root, QPoint At) {
  Click(Root, At);
  Mouse(Root, QEvent::MouseButtonDblClick, At);
  Mouse(Root, QEvent::MouseButtonRelease, At);
}

// A key pressed and released in Root's window (keys reach the window with the focus).
inline void Key(TWinControl* Root, int QtKey, Qt::KeyboardModifiers Mods = Qt::NoModifier,
                const QString& Text = {}) {
  QWidget* w = GetWindowWidget(Root->Handle());
  QKeyEvent down(QEvent::KeyPress, QtKey, Mods, Text);
  QCoreApplication::sendEvent(w, &down);
  QKeyEvent up(QEvent::KeyRelease, QtKey, Mods, Text);
  QCoreApplication::sendEvent(w, &up);
  Application->ProcessMessages();
}

// Typing text character by character, as a keyboard would.
inline void Type(TWinControl* Root, const QString& Text) {
  for (QChar c : Text) {
    int key = c.isLetter() ? Qt::Key_A + (c.toUpper().unicode() - 'A') : c.unicode();
    Key(Root, key, c.isUpper() ? Qt::ShiftModifier : Qt::NoModifier, QString(c));
  }
}

// What the window shows now, after painting what was invalid.
inline QImage Shot(TWinControl* Control) {
  PaintWindowNow(Control->Handle());
  QImage* buffer = GetWindowBackBuffer(Control->Handle());
  return buffer ? buffer->convertToFormat(QImage::Format_RGB32) : QImage();
}

inline QRgb Rgb(TColor Color) {
  TColor c = ColorToRGB(Color);
  return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

inline QRgb Px(const QImage& Image, int X, int Y) { return Image.pixel(X, Y) | 0xFF000000; }

}  // namespace guitest
