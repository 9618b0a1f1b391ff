// The lock keys' toggles as the X server's keyboard indicators show them. The application sees
// only the key events sent to its own windows, so a lock switched while another program had the
// focus (or before this one started) is known only to the server.
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>

#include "platform/win/QtWindows.h"
#include "platform/win/WinInternal.h"

// Xlib's macros (None, Bool, Status...) stay behind this line.
#include <X11/XKBlib.h>

namespace {

Display* XDisplay() {
  if (QGuiApplication::platformName() != QLatin1String("xcb")) return nullptr;
  auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
  return x11 ? x11->display() : nullptr;
}

int ReadServerIndicator(int VirtualKey) {
  const char* name = VirtualKey == VK_CAPITAL ? "Caps Lock"
                     : VirtualKey == VK_NUMLOCK ? "Num Lock"
                     : VirtualKey == VK_SCROLL  ? "Scroll Lock"
                                                : nullptr;
  Display* d = name ? XDisplay() : nullptr;
  if (!d) return -1;
  Atom atom = XInternAtom(d, name, True);
  int on = 0;
  if (atom == 0 || !XkbGetNamedIndicator(d, atom, nullptr, &on, nullptr, nullptr)) return -1;
  return on ? 1 : 0;
}

TLockKeySource& Source() {
  static TLockKeySource source;
  return source;
}

}  // namespace

TLockKeySource SetLockKeySource(TLockKeySource NewSource) {
  TLockKeySource old = std::move(Source());
  Source() = std::move(NewSource);
  return old;
}

int LockKeyToggle(int VirtualKey) {
  if (Source()) return Source()(VirtualKey);
  return ReadServerIndicator(VirtualKey);
}
