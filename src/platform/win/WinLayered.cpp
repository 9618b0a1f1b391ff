// UpdateLayeredWindow: a layered window shows a picture with per-pixel alpha over whatever lies
// behind it. Qt shows it as a translucent top-level widget, which needs a compositor: without one
// (an X server with no compositing manager) or on Wayland (where the suite cannot place popups)
// the entry is taken out of the module table when the application starts, and callers fall back
// as they do on systems without the function.
#include <QGuiApplication>
#include <QtGui/qguiapplication_platform.h>
#include <xcb/xcb.h>

#include <cstring>

#include "platform/sys/Modules.h"
#include "platform/win/DeviceContext.h"
#include "platform/win/GdiExtras.h"
#include "platform/win/WinInternal.h"

namespace {

bool X11CompositorRuns() {
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  xcb_connection_t* c = x11 ? x11->connection() : nullptr;
  if (!c) return false;
  const char* name = "_NET_WM_CM_S0";
  xcb_intern_atom_reply_t* atom = xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, uint16_t(std::strlen(name)), name), nullptr);
  if (!atom) return false;
  xcb_get_selection_owner_reply_t* owner =
      xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atom->atom), nullptr);
  bool runs = owner && owner->owner != XCB_NONE;
  free(owner);
  free(atom);
  return runs;
}

void DropEntryWithoutCompositor() {
  const QString platform = QGuiApplication::platformName();
  bool translucent = platform == "offscreen" || (platform == "xcb" && X11CompositorRuns());
  if (!translucent) SetModuleEntry("user32.dll", "UpdateLayeredWindow", nullptr);
}

}  // namespace

BOOL UpdateLayeredWindow(HWND hWnd, HDC, POINT* pptDst, SIZE* psize, HDC hdcSrc, POINT* pptSrc, COLORREF,
                         BLENDFUNCTION* pblend, DWORD dwFlags) {
  TWindowObject* w = FindWindowObject(hWnd);
  if (!w || !(w->ExStyle & WS_EX_LAYERED) || (w->Style & WS_CHILD)) return FALSE;
  if (pptDst || psize) {
    RECT r = w->Rect;
    int x = pptDst ? pptDst->x : r.left, y = pptDst ? pptDst->y : r.top;
    int cx = psize ? psize->cx : r.right - r.left, cy = psize ? psize->cy : r.bottom - r.top;
    SetWindowPos(hWnd, nullptr, x, y, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
    if (!(w = FindWindowObject(hWnd))) return FALSE;
  }
  if (!hdcSrc) return TRUE;
  TDeviceContext* dc = FindDeviceContext(hdcSrc);
  QImage* source = dc ? dc->Surface() : nullptr;
  if (!source) return FALSE;
  const int width = int(w->Rect.right - w->Rect.left), height = int(w->Rect.bottom - w->Rect.top);
  const QPoint from = pptSrc ? QPoint(pptSrc->x, pptSrc->y) : QPoint();
  const bool perPixel = (dwFlags & ULW_ALPHA) && pblend && pblend->AlphaFormat == AC_SRC_ALPHA;
  const unsigned constant = (dwFlags & ULW_ALPHA) && pblend ? pblend->SourceConstantAlpha : 255;
  QImage out(std::max(width, 1), std::max(height, 1), QImage::Format_ARGB32_Premultiplied);
  out.fill(Qt::transparent);
  for (int y = 0; y < height; ++y) {
    const int sy = from.y() + y;
    if (sy < 0 || sy >= source->height()) continue;
    auto* row = reinterpret_cast<QRgb*>(out.scanLine(y));
    const auto* src = reinterpret_cast<const QRgb*>(source->constScanLine(sy));
    for (int x = 0; x < width; ++x) {
      const int sx = from.x() + x;
      if (sx < 0 || sx >= source->width()) continue;
      const QRgb p = src[sx];
      // The source is premultiplied; the constant alpha scales every channel.
      const unsigned a = perPixel ? qAlpha(p) : 255;
      auto scale = [&](unsigned c) { return (c * constant + 127) / 255; };
      row[x] = qRgba(int(scale(std::min(qRed(p), int(a)))), int(scale(std::min(qGreen(p), int(a)))),
                     int(scale(std::min(qBlue(p), int(a)))), int(scale(a)));
    }
  }
  w->Layered = out;
  if (QWidget* widget = w->Widget) {
    widget->setAttribute(Qt::WA_TranslucentBackground);
    widget->update();
  }
  return TRUE;
}

// The entry joins the table with the window entries; the running application decides whether
// it stays.
Q_COREAPP_STARTUP_FUNCTION(DropEntryWithoutCompositor)
