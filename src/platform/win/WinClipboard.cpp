// The clipboard on QClipboard: images only, exchanged as 32-bit bitmaps.
#include "platform/win/WinClipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "platform/win/DeviceContext.h"

namespace {
int gOpen = 0;
HBITMAP gLastRead = nullptr;  // the bitmap GetClipboardData handed out

QClipboard* Board() { return qobject_cast<QGuiApplication*>(QCoreApplication::instance()) ? QGuiApplication::clipboard() : nullptr; }

void DropLastRead() {
  if (gLastRead) DeleteObject(gLastRead);
  gLastRead = nullptr;
}
}  // namespace

BOOL OpenClipboard(HWND) {
  if (!Board()) return FALSE;
  ++gOpen;
  return TRUE;
}

BOOL CloseClipboard() {
  if (gOpen == 0) return FALSE;
  --gOpen;
  return TRUE;
}

BOOL EmptyClipboard() {
  if (gOpen == 0 || !Board()) return FALSE;
  DropLastRead();
  Board()->clear();
  return TRUE;
}

HANDLE SetClipboardData(UINT format, HANDLE data) {
  if (gOpen == 0 || !Board() || format != CF_BITMAP) return nullptr;
  auto bitmap = static_cast<HBITMAP>(data);
  TGdiBitmap* b = FindBitmap(bitmap);
  if (!b || b->Image.isNull()) return nullptr;
  DropLastRead();
  Board()->setImage(b->Image.convertToFormat(QImage::Format_RGB32));
  DeleteObject(bitmap);
  return data;
}

HANDLE GetClipboardData(UINT format) {
  if (gOpen == 0 || !Board() || format != CF_BITMAP) return nullptr;
  QImage img = Board()->image();
  if (img.isNull()) return nullptr;
  DropLastRead();
  gLastRead = CreateBitmapFromImage(img.convertToFormat(QImage::Format_RGB32));
  return gLastRead;
}

BOOL IsClipboardFormatAvailable(UINT format) {
  QClipboard* board = Board();
  const QMimeData* data = board ? board->mimeData() : nullptr;
  return data && format == CF_BITMAP && data->hasImage();
}
