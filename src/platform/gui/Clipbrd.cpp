#include "platform/gui/Clipbrd.h"

#include <memory>

#include "platform/gui/Pictures.h"
#include "platform/win/Gdi.h"

void TClipboard::Open() {
  if (FOpenRefCount == 0 && !OpenClipboard(nullptr)) throw Exception("Cannot open clipboard");
  ++FOpenRefCount;
}

void TClipboard::Close() {
  if (FOpenRefCount == 0) return;
  if (--FOpenRefCount == 0) CloseClipboard();
}

void TClipboard::Clear() {
  Open();
  EmptyClipboard();
  Close();
}

bool TClipboard::HasFormat(WORD Format) const { return IsClipboardFormatAvailable(Format) != 0; }

HANDLE TClipboard::GetAsHandle(WORD Format) {
  Open();
  HANDLE h = GetClipboardData(Format);
  Close();
  return h;
}

void TClipboard::SetAsHandle(WORD Format, HANDLE Value) {
  Open();
  EmptyClipboard();
  HANDLE h = SetClipboardData(Format, Value);
  Close();
  if (!h) throw Exception("Cannot put the data on the clipboard");
}

void TClipboard::Assign(TPersistent* Source) {
  auto* picture = dynamic_cast<TPicture*>(Source);
  auto* graphic = picture ? picture->Graphic() : dynamic_cast<TGraphic*>(Source);
  if (!graphic) {
    TPersistent::Assign(Source);
    return;
  }
  WORD format = 0;
  HANDLE data = nullptr;
  HPALETTE palette = nullptr;
  graphic->SaveToClipboardFormat(format, data, palette);
  if (palette) DeleteObject(palette);  // colour surfaces only: a palette carries nothing here
  try {
    SetAsHandle(format, data);
  } catch (...) {
    DeleteObject(static_cast<HGDIOBJ>(data));  // refused data stays ours
    throw;
  }
}

void TClipboard::AssignTo(TPersistent* Dest) {
  auto* picture = dynamic_cast<TPicture*>(Dest);
  auto* bitmap = dynamic_cast<TBitmap*>(Dest);
  if (!picture && !bitmap) {
    TPersistent::AssignTo(Dest);
    return;
  }
  Open();
  struct TCloser {
    TClipboard* C;
    ~TCloser() { C->Close(); }
  } closer{this};
  for (WORD format : bitmap ? std::vector<WORD>{CF_BITMAP} : TPicture::ClipboardFormatList()) {
    if (!HasFormat(format)) continue;
    HANDLE data = GetClipboardData(format);
    if (picture) picture->LoadFromClipboardFormat(format, data, nullptr);
    else bitmap->LoadFromClipboardFormat(format, data, nullptr);
    return;
  }
  TPersistent::AssignTo(Dest);
}

TClipboard* Clipboard() {
  static TClipboard clipboard;
  return &clipboard;
}
