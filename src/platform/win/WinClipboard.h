#pragma once
// The system clipboard, as the window system offers it, on the desktop's clipboard. Only
// bitmaps are exchanged: what another program puts there as an image reads as CF_BITMAP.

#include "platform/win/Windows.h"

using HANDLE = void*;
constexpr UINT CF_BITMAP = 2;

// Opening is counted per process; the owner window is not checked.
BOOL OpenClipboard(HWND owner);
BOOL CloseClipboard();
// Both need the clipboard open.
BOOL EmptyClipboard();
// CF_BITMAP: the bitmap handle is the clipboard's from then on (it is deleted here; the
// desktop keeps the pixels). Answers the handle, or null when refused.
HANDLE SetClipboardData(UINT format, HANDLE data);
// CF_BITMAP: a bitmap that stays the clipboard's, valid until the clipboard is emptied, set
// or read again; null when the clipboard holds no image or is not open.
HANDLE GetClipboardData(UINT format);
BOOL IsClipboardFormatAvailable(UINT format);
