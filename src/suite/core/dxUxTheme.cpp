#include "suite/core/dxUxTheme.h"

#include <array>

#include "platform/sys/Modules.h"

const char* const UxThemeEntryNames[52] = {
    "CloseThemeData", "DrawThemeBackground", "DrawThemeEdge", "DrawThemeIcon",
    "DrawThemeParentBackground", "DrawThemeText", "DrawThemeTextEx", "EnableThemeDialogTexture",
    "GetCurrentThemeName", "GetThemeAppProperties", "GetThemeBackgroundContentRect",
    "GetThemeBackgroundRegion", "GetThemeBackgroundExtent", "GetThemeBool", "GetThemeColor",
    "GetThemeDocumentationProperty", "GetThemeEnumValue", "GetThemeFilename", "GetThemeFont",
    "GetThemeInt", "GetThemeIntList", "GetThemeMargins", "GetThemeMetric", "GetThemePartSize",
    "GetThemePosition", "GetThemePropertyOrigin", "GetThemeRect", "GetThemeString",
    "GetThemeSysBool", "GetThemeSysColor", "GetThemeSysColorBrush", "GetThemeSysFont",
    "GetThemeSysInt", "GetThemeSysSize", "GetThemeSysString", "GetThemeTextExtent",
    "GetThemeTextMetrics", "GetWindowTheme", "HitTestThemeBackground", "IsAppThemed",
    "IsThemeActive", "IsThemePartDefined", "IsThemeBackgroundPartiallyTransparent",
    "IsThemeDialogTextureEnabled", "OpenThemeData", "SetThemeAppProperties", "SetWindowTheme",
    "BufferedPaintInit", "BufferedPaintUnInit", "BeginBufferedPaint", "EndBufferedPaint",
    "BufferedPaintSetAlpha"};

namespace {

constexpr HRESULT kNotImplemented = HRESULT(0x80004001u);

HMODULE gUxTheme = nullptr;
std::array<FARPROC, 52> gEntries{};
int gUxThemeUnitCount = 0;

FARPROC Entry(const char* name) {
  for (std::size_t i = 0; i < gEntries.size(); ++i)
    if (std::string(UxThemeEntryNames[i]) == name) return gEntries[i];
  return nullptr;
}

template <class F>
F Bound(const char* name) {
  return reinterpret_cast<F>(Entry(name));
}

}  // namespace

FARPROC UxThemeEntry(const std::string& Name) { return Entry(Name.c_str()); }

bool IsUxThemeLoaded() { return gUxTheme != nullptr; }

bool UxIsThemeActive() {
  auto f = Bound<TIsThemeActive>("IsThemeActive");
  return f && f() != 0;
}

HTHEME UxOpenThemeData(HWND Wnd, const WideString& ClassList) {
  auto f = Bound<TOpenThemeData>("OpenThemeData");
  return f ? f(Wnd, ClassList.c_str()) : 0;
}

HRESULT UxCloseThemeData(HTHEME Theme) {
  auto f = Bound<TCloseThemeData>("CloseThemeData");
  return f ? f(Theme) : kNotImplemented;
}

HRESULT UxDrawThemeBackground(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect,
                              const RECT* ClipRect) {
  auto f = Bound<TDrawThemeBackground>("DrawThemeBackground");
  return f ? f(Theme, DC, PartId, StateId, Rect, ClipRect) : kNotImplemented;
}

HRESULT UxDrawThemeBackgroundByRef(HTHEME Theme, HDC DC, int PartId, int StateId,
                                   const RECT& Rect, const RECT* ClipRect) {
  return UxDrawThemeBackground(Theme, DC, PartId, StateId, &Rect, ClipRect);
}

HRESULT UxDrawThemeText(HTHEME Theme, HDC DC, int PartId, int StateId, const WideString& Text,
                        int CharCount, DWORD TextFlags, DWORD TextFlags2, const RECT* Rect) {
  auto f = Bound<TDrawThemeText>("DrawThemeText");
  return f ? f(Theme, DC, PartId, StateId, Text.c_str(), CharCount, TextFlags, TextFlags2, Rect)
           : kNotImplemented;
}

HRESULT UxDrawThemeTextAnsi(HTHEME Theme, HDC DC, int PartId, int StateId,
                            const std::string& Text, int CharCount, DWORD TextFlags,
                            DWORD TextFlags2, const RECT* Rect) {
  WideString w = AnsiToWideInCodePage(Text, CP_ACP, CharCount);
  return UxDrawThemeText(Theme, DC, PartId, StateId, w, CharCount < 0 ? -1 : int(w.size()),
                         TextFlags, TextFlags2, Rect);
}

HRESULT UxGetThemeBackgroundContentRect(HTHEME Theme, HDC DC, int PartId, int StateId,
                                        const RECT& BoundingRect, RECT& ContentRect) {
  auto f = Bound<TGetThemeBackgroundContentRect>("GetThemeBackgroundContentRect");
  return f ? f(Theme, DC, PartId, StateId, &BoundingRect, &ContentRect) : kNotImplemented;
}

HRESULT UxGetThemePartSize(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT* Rect,
                           THEMESIZE SizeKind, SIZE& Size) {
  auto f = Bound<TGetThemePartSize>("GetThemePartSize");
  return f ? f(Theme, DC, PartId, StateId, Rect, SizeKind, &Size) : kNotImplemented;
}

HRESULT UxGetThemePartSizeByRef(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT& Rect,
                                THEMESIZE SizeKind, SIZE& Size) {
  return UxGetThemePartSize(Theme, DC, PartId, StateId, &Rect, SizeKind, Size);
}

HRESULT UxGetThemePartSizeDefault(HTHEME Theme, HDC DC, int PartId, int StateId,
                                  THEMESIZE SizeKind, SIZE& Size) {
  return UxGetThemePartSize(Theme, DC, PartId, StateId, nullptr, SizeKind, Size);
}

HRESULT UxGetThemeBackgroundRegion(HTHEME Theme, HDC DC, int PartId, int StateId,
                                   const RECT& Rect, HRGN& Region) {
  auto f = Bound<TGetThemeBackgroundRegion>("GetThemeBackgroundRegion");
  return f ? f(Theme, DC, PartId, StateId, &Rect, &Region) : kNotImplemented;
}

HRESULT UxDrawThemeEdge(HTHEME Theme, HDC DC, int PartId, int StateId, const RECT& DestRect,
                        UINT Edge, UINT Flags, RECT* ContentRect) {
  auto f = Bound<TDrawThemeEdge>("DrawThemeEdge");
  return f ? f(Theme, DC, PartId, StateId, &DestRect, Edge, Flags, ContentRect) : kNotImplemented;
}

BOOL UxIsThemeBackgroundPartiallyTransparent(HTHEME Theme, int PartId, int StateId) {
  auto f = Bound<TIsThemeBackgroundPartiallyTransparent>("IsThemeBackgroundPartiallyTransparent");
  return f ? f(Theme, PartId, StateId) : FALSE;
}

HRESULT UxGetThemeColor(HTHEME Theme, int PartId, int StateId, int PropId, COLORREF& Color) {
  auto f = Bound<TGetThemeColor>("GetThemeColor");
  return f ? f(Theme, PartId, StateId, PropId, &Color) : kNotImplemented;
}

HRESULT UxGetThemeMargins(HTHEME Theme, HDC DC, int PartId, int StateId, int PropId,
                          const RECT* Rect, MARGINS& Margins) {
  auto f = Bound<TGetThemeMargins>("GetThemeMargins");
  return f ? f(Theme, DC, PartId, StateId, PropId, Rect, &Margins) : kNotImplemented;
}

HRESULT UxGetCurrentThemeName(char16_t* FileName, int MaxFileNameChars, char16_t* ColorBuff,
                              int MaxColorChars, char16_t* SizeBuff, int MaxSizeChars) {
  auto f = Bound<TGetCurrentThemeName>("GetCurrentThemeName");
  return f ? f(FileName, MaxFileNameChars, ColorBuff, MaxColorChars, SizeBuff, MaxSizeChars)
           : kNotImplemented;
}

HPAINTBUFFER UxBeginBufferedPaint(HDC TargetDC, const RECT& TargetRect, int Format,
                                  void* PaintParams, HDC& DC) {
  auto f = Bound<TBeginBufferedPaint>("BeginBufferedPaint");
  DC = nullptr;
  return f ? f(TargetDC, &TargetRect, Format, PaintParams, &DC) : 0;
}

HRESULT UxEndBufferedPaint(HPAINTBUFFER BufferedPaint, BOOL UpdateTarget) {
  auto f = Bound<TEndBufferedPaint>("EndBufferedPaint");
  return f ? f(BufferedPaint, UpdateTarget) : kNotImplemented;
}

HRESULT UxBufferedPaintSetAlpha(HPAINTBUFFER BufferedPaint, const RECT* Rect, BYTE Alpha) {
  auto f = Bound<TBufferedPaintSetAlpha>("BufferedPaintSetAlpha");
  return f ? f(BufferedPaint, Rect, Alpha) : kNotImplemented;
}

HRESULT UxDrawThemeParentBackground(HWND Wnd, HDC DC, const RECT* Rect) {
  auto f = Bound<TDrawThemeParentBackground>("DrawThemeParentBackground");
  if (!f) return kNotImplemented;
  HGDIOBJ font = GetCurrentObject(DC, OBJ_FONT);
  HRESULT r = f(Wnd, DC, Rect);
  if (font) SelectObject(DC, font);
  return r;
}

void dxUxThemeInitialize() {
  if (gUxThemeUnitCount++ > 0) return;
  gEntries.fill(nullptr);
  gUxTheme = LoadLibrary("UxTheme.dll");
  if (gUxTheme)
    for (std::size_t i = 0; i < gEntries.size(); ++i)
      gEntries[i] = GetProcAddress(gUxTheme, UxThemeEntryNames[i]);
}

void dxUxThemeFinalize() {
  if (gUxThemeUnitCount == 0 || --gUxThemeUnitCount > 0) return;
  if (gUxTheme) FreeLibrary(gUxTheme);
  gUxTheme = nullptr;
  gEntries.fill(nullptr);
}
