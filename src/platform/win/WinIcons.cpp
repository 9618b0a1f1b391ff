// Icon handles over Qt icons: copying at a size and drawing onto a device context.

#include <QGuiApplication>
#include <QIcon>
#include <QPainter>
#include <map>

#include "platform/win/DeviceContext.h"
#include "platform/win/WinInternal.h"

namespace {
std::map<uintptr_t, QIcon> gIcons;
// Icons are counted apart from cursors so that a handle of one is never taken for the other.
uintptr_t gNextIcon = 0x40000000;

QIcon* FindIcon(HICON h) {
  auto it = gIcons.find(reinterpret_cast<uintptr_t>(h));
  return it == gIcons.end() ? nullptr : &it->second;
}

// The icon's own size: its largest picture.
QSize OwnSize(const QIcon& icon) {
  QSize best;
  for (const QSize& s : icon.availableSizes())
    if (s.width() * s.height() > best.width() * best.height()) best = s;
  return best.isValid() ? best : QSize(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON));
}

// The picture at exactly this size: the icon's own picture for that size when it has one (a
// larger one brought down otherwise), or, with FromOwn, the picture of its own size scaled.
QImage PictureAt(const QIcon& icon, QSize size, bool fromOwn) {
  QImage image = icon.pixmap(fromOwn ? OwnSize(icon) : size).toImage();
  if (image.isNull()) return image;
  image = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  if (image.size() != size) image = image.scaled(size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  image.setDevicePixelRatio(1);
  return image;
}
}  // namespace

HICON CreateIconHandle(const QIcon& icon) {
  uintptr_t id = gNextIcon++;
  gIcons[id] = icon;
  return reinterpret_cast<HICON>(id);
}

bool IconFromHandle(HICON handle, QIcon* icon) {
  QIcon* found = FindIcon(handle);
  if (!found) return false;
  if (icon) *icon = *found;
  return true;
}

HICON ApplicationIconHandle() {
  static qint64 key = 0;
  static HICON handle = nullptr;
  QIcon icon = QGuiApplication::windowIcon();
  if (icon.isNull()) return nullptr;
  if (!handle || key != icon.cacheKey() || !FindIcon(handle)) {
    handle = CreateIconHandle(icon);
    key = icon.cacheKey();
  }
  return handle;
}

BOOL DestroyIcon(HICON hIcon) { return gIcons.erase(reinterpret_cast<uintptr_t>(hIcon)) ? TRUE : FALSE; }

HANDLE CopyImage(HANDLE h, UINT type, int cx, int cy, UINT flags) {
  QIcon* source = type == IMAGE_ICON ? FindIcon(static_cast<HICON>(h)) : nullptr;
  if (!source) return nullptr;
  QSize size = OwnSize(*source);
  if (cx > 0) size.setWidth(cx);
  if (cy > 0) size.setHeight(cy);
  QImage picture = PictureAt(*source, size, !(flags & LR_COPYFROMRESOURCE));
  if (picture.isNull()) return nullptr;
  HICON copy = CreateIconHandle(QIcon(QPixmap::fromImage(picture)));
  if (flags & LR_COPYDELETEORG) DestroyIcon(static_cast<HICON>(h));
  return copy;
}

BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT istepIfAniCur,
                HBRUSH hbrFlickerFreeDraw, UINT diFlags) {
  TDibSync sync;
  QIcon* icon = FindIcon(hIcon);
  TDeviceContext* dc = FindDeviceContext(hdc);
  if (!icon || !dc) return FALSE;
  QSize size = (diFlags & DI_DEFAULTSIZE) ? QSize(GetSystemMetrics(SM_CXICON), GetSystemMetrics(SM_CYICON))
                                          : OwnSize(*icon);
  if (cxWidth > 0) size.setWidth(cxWidth);
  if (cyWidth > 0) size.setHeight(cyWidth);
  if (hbrFlickerFreeDraw && istepIfAniCur == 0) {
    RECT r{xLeft, yTop, xLeft + size.width(), yTop + size.height()};
    FillRect(hdc, &r, hbrFlickerFreeDraw);
  }
  if (!(diFlags & (DI_IMAGE | DI_MASK))) return TRUE;
  QImage picture = PictureAt(*icon, size, false);
  if (picture.isNull()) return TRUE;
  QPainter p;
  if (!dc->BeginPainter(p)) return FALSE;
  if ((diFlags & DI_MASK) && !(diFlags & DI_IMAGE)) {
    // The mask alone: black where the icon covers, white where it lets the background through.
    QImage mask(picture.size(), QImage::Format_RGB32);
    for (int y = 0; y < picture.height(); ++y)
      for (int x = 0; x < picture.width(); ++x)
        mask.setPixel(x, y, qAlpha(picture.pixel(x, y)) ? 0xFF000000u : 0xFFFFFFFFu);
    picture = mask;
  } else if (!(diFlags & DI_MASK)) {
    // The picture without its mask covers the whole rectangle.
    picture = picture.convertToFormat(QImage::Format_RGB32);
  }
  p.drawImage(QPoint(xLeft, yTop), picture);
  return TRUE;
}

BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon) {
  return DrawIconEx(hDC, X, Y, hIcon, 0, 0, 0, nullptr, DI_NORMAL | DI_DEFAULTSIZE);
}
