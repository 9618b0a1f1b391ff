#pragma once
// The visual-style library, bound at run time by name, and thin routines forwarding to it. Every
// caller asks first whether the library is there; without it the suite draws without styles.

#include <cstdint>
#include <string>

#include "platform/win/Windows.h"
#include "platform/sys/Modules.h"
#include "suite/core/dxCore.h"

using HTHEME = uintptr_t;
using HPAINTBUFFER = uintptr_t;

struct MARGINS {
  int cxLeftWidth = 0;
  int cxRightWidth = 0;
  int cyTopHeight = 0;
  int cyBottomHeight = 0;
};

// GetThemePartSize's kinds of size.
enum THEMESIZE { TS_MIN = 0, TS_TRUE = 1, TS_DRAW = 2 };

// The entries' own signatures (text is UTF-16, as the library takes it).
using TOpenThemeData = HTHEME (*)(HWND Wnd, const char16_t* ClassList);
using TCloseThemeData = HRESULT (*)(HTHEME Theme);
using TDrawThemeBackground = HRESULT (*)(HTHEME Theme, HDC DC, int PartId, int StateId,
                                         const RECT* Rect, const RECT* ClipRect);
using TDrawThemeText = HRESULT (*)(HTHEME Theme, HDC DC, int PartId, int StateId,
                                   const char16_t* Text, int CharCount, DWORD TextFlags,
                                   DWORD TextFlags2, const RECT* Rect);
using TGetThemeBackgroundContentRect = HRESULT (*)(HTHEME Theme, HDC DC, int PartId, int StateId,
                                                   const RECT* BoundingRect, RECT* ContentRect);
using TGetThemePartSize = HRESULT (*)(HTHEME Theme, HDC DC, int PartId, int StateId,
                                      const RECT* Rect, THEMESIZE SizeKind, SIZE* Size);
using TGetThemeBackgroundRegion = HRESULT (*)(HTHEME Theme, HDC DC, int PartId, int StateId,
                                              const RECT* Rect, HRGN* Region);
using TDrawThemeEdge = HRESULT (*)(HTHEME Theme, HDC DC, int PartId, int StateId,
                                   const RECT* DestRect, UINT Edge, UINT Flags, RECT* ContentRect);
using TIsThemeBackgroundPartiallyTransparent = BOOL (*)(HTHEME Theme, int PartId, int StateId);
using TGetThemeColor = HRESULT (*)(HTHEME Theme, int PartId, int StateId, int PropId,
                                   COLORREF* Color);
using TGetThemeMargins = HRESULT (*)(HTHEME Theme, HDC DC, int PartId, int StateId, int PropId,
                                     const RECT* Rect, MARGINS* Margins);
using TGetCurrentThemeName = HRESULT (*)(char16_t* FileName, int MaxFileNameChars,
                                         char16_t* ColorBuff, int MaxColorChars,
                                         char16_t* SizeBuff, int MaxSizeChars);
using TBeginBufferedPaint = HPAINTBUFFER (*)(HDC TargetDC, const RECT* TargetRect, int Format,
                                             void* PaintParams, HDC* DC);
using TEndBufferedPaint = HRESULT (*)(HPAINTBUFFER BufferedPaint, BOOL UpdateTarget);
using TBufferedPaintSetAlpha = HRESULT (*)(HPAINTBUFFER BufferedPaint, const RECT* Rect,
                                           BYTE Alpha);
using TIsThemeActive = BOOL (*)();
using TDrawThemeParentBackground = HRESULT (*)(HWND Wnd, HDC DC, const RECT* Rect);

// The names bound from the library, in binding order.
extern const char* const UxThemeEntryNames[52];
// The bound entry of a name (null when the library or the entry is missing).
FARPROC UxThemeEntry(const std::string& Name);

bool IsUxThemeLoaded();
bool UxIsThemeActive();

// A forwarding routine whose entry is missing answers E_NOTIMPL (0x80004001; 0 for handles,
// FALSE for tests).
HTHEME UxOpenThemeData(HWND Wnd, const WideString& ClassList);
HRESULT UxCloseThemeData(HTHEME Theme);
HRESULT UxDrawThemeBackground(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect,
                              const RECT* ClipRect = nullptr);
HRESULT UxDrawThemeBackgroundByRef(HTHEME Theme, HDC DC, int PartId, int StateId,
                                   const RECT& Rect, const RECT* ClipRect = nullptr);
HRESULT UxDrawThemeText(HTHEME Theme, HDC DC, int PartId, int StateId, const WideString& Text,
                        int CharCount, DWORD TextFlags, DWORD TextFlags2, const RECT* Rect);
HRESULT UxDrawThemeTextAnsi(HTHEME Theme, HDC DC, int PartId, int StateId,
                            const std::string& Text, int CharCount, DWORD TextFlags,
                            DWORD TextFlags2, const RECT* Rect);
HRESULT UxGetThemeBackgroundContentRect(HTHEME Theme, HDC DC, int PartId, int StateId,
                                        const RECT& BoundingRect, RECT& ContentRect);
HRESULT UxGetThemePartSize(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect,
                           THEMESIZE SizeKind, SIZE& Size);
HRESULT UxGetThemePartSizeByRef(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT& Rect,
                                THEMESIZE SizeKind, SIZE& Size);
HRESULT UxGetThemePartSizeDefault(HTHEME Theme, HDC DC, int PartId, int StateId,
                                  THEMESIZE SizeKind, SIZE& Size);
HRESULT UxGetThemeBackgroundRegion(HTHEME Theme, HDC DC, int PartId, int StateId,
                                   const RECT& Rect, HRGN& Region);
HRESULT UxDrawThemeEdge(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT& DestRect,
                        UINT Edge, UINT Flags, RECT* ContentRect);
BOOL UxIsThemeBackgroundPartiallyTransparent(HTHEME Theme, int PartId, int StateId);
HRESULT UxGetThemeColor(HTHEME Theme, int PartId, int StateId, int PropId, COLORREF& Color);
HRESULT UxGetThemeMargins(HTHEME Theme, HDC DC, int PartId, int StateId, int PropId,
                          const RECT* Rect, MARGINS& Margins);
HRESULT UxGetCurrentThemeName(char16_t* FileName, int MaxFileNameChars, char16_t* ColorBuff,
                              int MaxColorChars, char16_t* SizeBuff, int MaxSizeChars);
HPAINTBUFFER UxBeginBufferedPaint(HDC TargetDC, const RECT& TargetRect, int Format,
                                  void* PaintParams, HDC& DC);
HRESULT UxEndBufferedPaint(HPAINTBUFFER BufferedPaint, BOOL UpdateTarget);
HRESULT UxBufferedPaintSetAlpha(HPAINTBUFFER BufferedPaint, const RECT* Rect, BYTE Alpha);
// Keeps the DC's font across the call (the entry may select its own).
HRESULT UxDrawThemeParentBackground(HWND Wnd, HDC DC, const RECT* Rect);

void dxUxThemeInitialize();
void dxUxThemeFinalize();
