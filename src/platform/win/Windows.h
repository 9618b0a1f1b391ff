#pragma once
// The window system's basic types, constants and entry points, as the libraries above call them.
// Handles are ids into our own tables (never pointers to real objects), message parameters are
// pointer-wide, and everything is served by our window layer over Qt (see platform/README.md).
// This header pulls in no Qt header: many libraries include it.

#include <cstdint>
#include <functional>
#include <string>

using BYTE = uint8_t;
using WORD = uint16_t;
using DWORD = uint32_t;
using UINT = uint32_t;
using INT = int32_t;
using LONG = int32_t;
using ULONG = uint32_t;
using SHORT = int16_t;
using USHORT = uint16_t;
using BOOL = int32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using UINT_PTR = uintptr_t;
using INT_PTR = intptr_t;
using LONG_PTR = intptr_t;
using ULONG_PTR = uintptr_t;
using DWORD_PTR = uintptr_t;
using ATOM = uint16_t;
using COLORREF = uint32_t;
using HRESULT = int32_t;

#ifndef TRUE
constexpr BOOL TRUE = 1;
#endif
#ifndef FALSE
constexpr BOOL FALSE = 0;
#endif

// Opaque handle types: each is a small id in one of our tables, cast to a distinct pointer type.
struct TWindowHandleTag;
struct TDeviceContextTag;
struct TGdiObjectTag;
struct THookHandleTag;
struct TInstanceTag;
struct TCursorTag;
struct TMenuTag;
using HWND = TWindowHandleTag*;
using HDC = TDeviceContextTag*;
using HGDIOBJ = TGdiObjectTag*;
using HPEN = HGDIOBJ;
using HBRUSH = HGDIOBJ;
using HFONT = HGDIOBJ;
using HBITMAP = HGDIOBJ;
using HRGN = HGDIOBJ;
using HPALETTE = HGDIOBJ;
using HHOOK = THookHandleTag*;
using HINSTANCE = TInstanceTag*;
using HMODULE = HINSTANCE;
using HCURSOR = TCursorTag*;
using HICON = HCURSOR;
using HMENU = TMenuTag*;

// HWND_MESSAGE as a parent makes a window that only receives messages (no widget).
inline const HWND HWND_MESSAGE = reinterpret_cast<HWND>(intptr_t(-3));
inline const HWND HWND_TOP = nullptr;
inline const HWND HWND_BOTTOM = reinterpret_cast<HWND>(intptr_t(1));
inline const HWND HWND_TOPMOST = reinterpret_cast<HWND>(intptr_t(-1));
inline const HWND HWND_NOTOPMOST = reinterpret_cast<HWND>(intptr_t(-2));
inline const HWND HWND_BROADCAST = reinterpret_cast<HWND>(intptr_t(0xFFFF));

struct POINT {
  LONG x = 0;
  LONG y = 0;
  bool operator==(const POINT&) const = default;
};
struct SIZE {
  LONG cx = 0;
  LONG cy = 0;
  bool operator==(const SIZE&) const = default;
};
struct RECT {
  LONG left = 0;
  LONG top = 0;
  LONG right = 0;
  LONG bottom = 0;
  bool operator==(const RECT&) const = default;
};
struct SMALLPOINT {
  SHORT x = 0;
  SHORT y = 0;
};

using LPRECT = RECT*;
using LPPOINT = POINT*;

// Word packing of message parameters.
constexpr WORD LOWORD(uintptr_t v) { return WORD(v & 0xFFFF); }
constexpr WORD HIWORD(uintptr_t v) { return WORD((v >> 16) & 0xFFFF); }
constexpr BYTE LOBYTE(uintptr_t v) { return BYTE(v & 0xFF); }
constexpr BYTE HIBYTE(uintptr_t v) { return BYTE((v >> 8) & 0xFF); }
constexpr DWORD MAKELONG(WORD lo, WORD hi) { return DWORD(lo) | (DWORD(hi) << 16); }
constexpr WORD MAKEWORD(BYTE lo, BYTE hi) { return WORD(lo | (WORD(hi) << 8)); }
constexpr WPARAM MAKEWPARAM(WORD lo, WORD hi) { return WPARAM(MAKELONG(lo, hi)); }
constexpr LPARAM MAKELPARAM(WORD lo, WORD hi) { return LPARAM(MAKELONG(lo, hi)); }
constexpr LRESULT MAKELRESULT(WORD lo, WORD hi) { return LRESULT(MAKELONG(lo, hi)); }
// Signed coordinates packed in the low and high words of a parameter.
constexpr int GET_X_LPARAM(LPARAM v) { return int(SHORT(LOWORD(uintptr_t(v)))); }
constexpr int GET_Y_LPARAM(LPARAM v) { return int(SHORT(HIWORD(uintptr_t(v)))); }
constexpr LPARAM PointToLParam(int x, int y) { return MAKELPARAM(WORD(SHORT(x)), WORD(SHORT(y))); }
constexpr SHORT GET_WHEEL_DELTA_WPARAM(WPARAM v) { return SHORT(HIWORD(v)); }
constexpr WORD GET_KEYSTATE_WPARAM(WPARAM v) { return LOWORD(v); }

constexpr COLORREF RGB(BYTE r, BYTE g, BYTE b) {
  return COLORREF(r) | (COLORREF(g) << 8) | (COLORREF(b) << 16);
}
constexpr BYTE GetRValue(COLORREF c) { return BYTE(c & 0xFF); }
constexpr BYTE GetGValue(COLORREF c) { return BYTE((c >> 8) & 0xFF); }
constexpr BYTE GetBValue(COLORREF c) { return BYTE((c >> 16) & 0xFF); }

// ---------------------------------------------------------------------------------------------
// Messages
constexpr UINT WM_NULL = 0x0000;
constexpr UINT WM_CREATE = 0x0001;
constexpr UINT WM_DESTROY = 0x0002;
constexpr UINT WM_MOVE = 0x0003;
constexpr UINT WM_SIZE = 0x0005;
constexpr UINT WM_ACTIVATE = 0x0006;
constexpr UINT WM_SETFOCUS = 0x0007;
constexpr UINT WM_KILLFOCUS = 0x0008;
constexpr UINT WM_ENABLE = 0x000A;
constexpr UINT WM_SETREDRAW = 0x000B;
constexpr UINT WM_SETTEXT = 0x000C;
constexpr UINT WM_GETTEXT = 0x000D;
constexpr UINT WM_GETTEXTLENGTH = 0x000E;
constexpr UINT WM_PAINT = 0x000F;
constexpr UINT WM_CLOSE = 0x0010;
constexpr UINT WM_QUIT = 0x0012;
constexpr UINT WM_ERASEBKGND = 0x0014;
constexpr UINT WM_SYSCOLORCHANGE = 0x0015;
constexpr UINT WM_SHOWWINDOW = 0x0018;
constexpr UINT WM_WININICHANGE = 0x001A;
constexpr UINT WM_SETTINGCHANGE = 0x001A;
constexpr UINT WM_ACTIVATEAPP = 0x001C;
constexpr UINT WM_TIMECHANGE = 0x001E;
constexpr UINT WM_CANCELMODE = 0x001F;
constexpr UINT WM_SETCURSOR = 0x0020;
constexpr UINT WM_MOUSEACTIVATE = 0x0021;
constexpr UINT WM_CHILDACTIVATE = 0x0022;
constexpr UINT WM_GETMINMAXINFO = 0x0024;
constexpr UINT WM_SETFONT = 0x0030;
constexpr UINT WM_GETFONT = 0x0031;
constexpr UINT WM_WINDOWPOSCHANGING = 0x0046;
constexpr UINT WM_WINDOWPOSCHANGED = 0x0047;
constexpr UINT WM_NOTIFY = 0x004E;
constexpr UINT WM_HELP = 0x0053;
constexpr UINT WM_CONTEXTMENU = 0x007B;
constexpr UINT WM_GETICON = 0x007F;
constexpr UINT WM_NCCREATE = 0x0081;
constexpr UINT WM_NCDESTROY = 0x0082;
constexpr UINT WM_NCCALCSIZE = 0x0083;
constexpr UINT WM_NCHITTEST = 0x0084;
constexpr UINT WM_NCPAINT = 0x0085;
constexpr UINT WM_NCACTIVATE = 0x0086;
constexpr UINT WM_GETDLGCODE = 0x0087;
constexpr UINT WM_NCMOUSEMOVE = 0x00A0;
constexpr UINT WM_NCLBUTTONDOWN = 0x00A1;
constexpr UINT WM_NCLBUTTONUP = 0x00A2;
constexpr UINT WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr UINT WM_NCRBUTTONDOWN = 0x00A4;
constexpr UINT WM_NCRBUTTONUP = 0x00A5;
constexpr UINT WM_NCRBUTTONDBLCLK = 0x00A6;
constexpr UINT WM_NCMBUTTONDOWN = 0x00A7;
constexpr UINT WM_NCMBUTTONUP = 0x00A8;
constexpr UINT WM_NCMBUTTONDBLCLK = 0x00A9;
constexpr UINT WM_KEYFIRST = 0x0100;
constexpr UINT WM_KEYDOWN = 0x0100;
constexpr UINT WM_KEYUP = 0x0101;
constexpr UINT WM_CHAR = 0x0102;
constexpr UINT WM_DEADCHAR = 0x0103;
constexpr UINT WM_SYSKEYDOWN = 0x0104;
constexpr UINT WM_SYSKEYUP = 0x0105;
constexpr UINT WM_SYSCHAR = 0x0106;
constexpr UINT WM_KEYLAST = 0x0109;
constexpr UINT WM_INITDIALOG = 0x0110;
constexpr UINT WM_COMMAND = 0x0111;
constexpr UINT WM_SYSCOMMAND = 0x0112;
constexpr WPARAM SC_SIZE = 0xF000;
constexpr WPARAM SC_MOVE = 0xF010;
constexpr WPARAM SC_MINIMIZE = 0xF020;
constexpr WPARAM SC_MAXIMIZE = 0xF030;
constexpr WPARAM SC_NEXTWINDOW = 0xF040;
constexpr WPARAM SC_CLOSE = 0xF060;
constexpr WPARAM SC_RESTORE = 0xF120;
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_HSCROLL = 0x0114;
constexpr UINT WM_VSCROLL = 0x0115;
constexpr UINT WM_INITMENUPOPUP = 0x0117;
constexpr UINT WM_MENUSELECT = 0x011F;
constexpr UINT WM_ENTERIDLE = 0x0121;
constexpr UINT WM_CTLCOLOREDIT = 0x0133;
constexpr UINT WM_CTLCOLORLISTBOX = 0x0134;
constexpr UINT WM_CTLCOLORBTN = 0x0135;
constexpr UINT WM_CTLCOLORSCROLLBAR = 0x0137;
constexpr UINT WM_CTLCOLORSTATIC = 0x0138;
constexpr UINT WM_MOUSEFIRST = 0x0200;
constexpr UINT WM_MOUSEMOVE = 0x0200;
constexpr UINT WM_LBUTTONDOWN = 0x0201;
constexpr UINT WM_LBUTTONUP = 0x0202;
constexpr UINT WM_LBUTTONDBLCLK = 0x0203;
constexpr UINT WM_RBUTTONDOWN = 0x0204;
constexpr UINT WM_RBUTTONUP = 0x0205;
constexpr UINT WM_RBUTTONDBLCLK = 0x0206;
constexpr UINT WM_MBUTTONDOWN = 0x0207;
constexpr UINT WM_MBUTTONUP = 0x0208;
constexpr UINT WM_MBUTTONDBLCLK = 0x0209;
constexpr UINT WM_MOUSEWHEEL = 0x020A;
constexpr UINT WM_MOUSEHWHEEL = 0x020E;
constexpr UINT WM_MOUSELAST = 0x020E;
constexpr UINT WM_PARENTNOTIFY = 0x0210;
constexpr UINT WM_ENTERMENULOOP = 0x0211;
constexpr UINT WM_EXITMENULOOP = 0x0212;
constexpr UINT WM_SIZING = 0x0214;
// The edge or corner WM_SIZING reports.
constexpr WPARAM WMSZ_LEFT = 1, WMSZ_RIGHT = 2, WMSZ_TOP = 3, WMSZ_TOPLEFT = 4, WMSZ_TOPRIGHT = 5,
                 WMSZ_BOTTOM = 6, WMSZ_BOTTOMLEFT = 7, WMSZ_BOTTOMRIGHT = 8;
constexpr UINT WM_CAPTURECHANGED = 0x0215;
constexpr UINT WM_MOVING = 0x0216;
constexpr UINT WM_DEVICECHANGE = 0x0219;
constexpr UINT WM_MDIACTIVATE = 0x0222;
constexpr UINT WM_MDIGETACTIVE = 0x0229;
constexpr UINT WM_DROPFILES = 0x0233;
constexpr UINT WM_MOUSEHOVER = 0x02A1;
constexpr UINT WM_MOUSELEAVE = 0x02A3;
constexpr UINT WM_CUT = 0x0300;
constexpr UINT WM_COPY = 0x0301;
constexpr UINT WM_PASTE = 0x0302;
constexpr UINT WM_CLEAR = 0x0303;
constexpr UINT WM_UNDO = 0x0304;
constexpr UINT WM_PRINT = 0x0317;
constexpr UINT WM_PRINTCLIENT = 0x0318;
constexpr UINT WM_THEMECHANGED = 0x031A;
constexpr UINT WM_USER = 0x0400;
constexpr UINT WM_APP = 0x8000;
// Registered messages are numbered from here on.
constexpr UINT WM_REGISTERED_FIRST = 0xC000;

// Mouse key-state flags (wParam of mouse messages).
constexpr WPARAM MK_LBUTTON = 0x0001;
constexpr WPARAM MK_RBUTTON = 0x0002;
constexpr WPARAM MK_SHIFT = 0x0004;
constexpr WPARAM MK_CONTROL = 0x0008;
constexpr WPARAM MK_MBUTTON = 0x0010;
constexpr int WHEEL_DELTA = 120;

// WM_NCHITTEST answers.
constexpr LRESULT HTERROR = -2;
constexpr LRESULT HTTRANSPARENT = -1;
constexpr LRESULT HTNOWHERE = 0;
constexpr LRESULT HTCLIENT = 1;
constexpr LRESULT HTCAPTION = 2;
constexpr LRESULT HTSYSMENU = 3;
constexpr LRESULT HTSIZE = 4;
constexpr LRESULT HTGROWBOX = 4;
constexpr LRESULT HTMENU = 5;
constexpr LRESULT HTHSCROLL = 6;
constexpr LRESULT HTVSCROLL = 7;
constexpr LRESULT HTMINBUTTON = 8;
constexpr LRESULT HTMAXBUTTON = 9;
constexpr LRESULT HTLEFT = 10;
constexpr LRESULT HTRIGHT = 11;
constexpr LRESULT HTTOP = 12;
constexpr LRESULT HTTOPLEFT = 13;
constexpr LRESULT HTTOPRIGHT = 14;
constexpr LRESULT HTBOTTOM = 15;
constexpr LRESULT HTBOTTOMLEFT = 16;
constexpr LRESULT HTBOTTOMRIGHT = 17;
constexpr LRESULT HTBORDER = 18;
constexpr LRESULT HTCLOSE = 20;
constexpr LRESULT HTHELP = 21;

// WM_MOUSEACTIVATE answers.
constexpr LRESULT MA_ACTIVATE = 1;
constexpr LRESULT MA_ACTIVATEANDEAT = 2;
constexpr LRESULT MA_NOACTIVATE = 3;
constexpr LRESULT MA_NOACTIVATEANDEAT = 4;

// WM_ACTIVATE states.
constexpr WORD WA_INACTIVE = 0;
constexpr WORD WA_ACTIVE = 1;
constexpr WORD WA_CLICKACTIVE = 2;

// WM_SIZE kinds.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM SIZE_MAXIMIZED = 2;

// WM_GETDLGCODE answers.
constexpr LRESULT DLGC_WANTARROWS = 0x0001;
constexpr LRESULT DLGC_WANTTAB = 0x0002;
constexpr LRESULT DLGC_WANTALLKEYS = 0x0004;
constexpr LRESULT DLGC_WANTMESSAGE = 0x0004;
constexpr LRESULT DLGC_HASSETSEL = 0x0008;
constexpr LRESULT DLGC_DEFPUSHBUTTON = 0x0010;
constexpr LRESULT DLGC_UNDEFPUSHBUTTON = 0x0020;
constexpr LRESULT DLGC_RADIOBUTTON = 0x0040;
constexpr LRESULT DLGC_WANTCHARS = 0x0080;
constexpr LRESULT DLGC_STATIC = 0x0100;
constexpr LRESULT DLGC_BUTTON = 0x2000;

// WM_NCCALCSIZE answers.
constexpr LRESULT WVR_REDRAW = 0x0300;

// WM_PRINT / WM_PRINTCLIENT flags.
constexpr LPARAM PRF_CHECKVISIBLE = 0x01;
constexpr LPARAM PRF_NONCLIENT = 0x02;
constexpr LPARAM PRF_CLIENT = 0x04;
constexpr LPARAM PRF_ERASEBKGND = 0x08;
constexpr LPARAM PRF_CHILDREN = 0x10;

// ---------------------------------------------------------------------------------------------
// Virtual keys
constexpr WORD VK_LBUTTON = 0x01;
constexpr WORD VK_RBUTTON = 0x02;
constexpr WORD VK_CANCEL = 0x03;
constexpr WORD VK_MBUTTON = 0x04;
constexpr WORD VK_BACK = 0x08;
constexpr WORD VK_TAB = 0x09;
constexpr WORD VK_CLEAR = 0x0C;
constexpr WORD VK_RETURN = 0x0D;
constexpr WORD VK_SHIFT = 0x10;
constexpr WORD VK_CONTROL = 0x11;
constexpr WORD VK_MENU = 0x12;
constexpr WORD VK_PAUSE = 0x13;
constexpr WORD VK_CAPITAL = 0x14;
constexpr WORD VK_ESCAPE = 0x1B;
constexpr WORD VK_SPACE = 0x20;
constexpr WORD VK_PRIOR = 0x21;
constexpr WORD VK_NEXT = 0x22;
constexpr WORD VK_END = 0x23;
constexpr WORD VK_HOME = 0x24;
constexpr WORD VK_LEFT = 0x25;
constexpr WORD VK_UP = 0x26;
constexpr WORD VK_RIGHT = 0x27;
constexpr WORD VK_DOWN = 0x28;
constexpr WORD VK_SELECT = 0x29;
constexpr WORD VK_PRINT = 0x2A;
constexpr WORD VK_SNAPSHOT = 0x2C;
constexpr WORD VK_INSERT = 0x2D;
constexpr WORD VK_DELETE = 0x2E;
constexpr WORD VK_HELP = 0x2F;
// '0'..'9' and 'A'..'Z' are their ASCII codes.
constexpr WORD VK_LWIN = 0x5B;
constexpr WORD VK_RWIN = 0x5C;
constexpr WORD VK_APPS = 0x5D;
constexpr WORD VK_NUMPAD0 = 0x60;
constexpr WORD VK_NUMPAD9 = 0x69;
constexpr WORD VK_MULTIPLY = 0x6A;
constexpr WORD VK_ADD = 0x6B;
constexpr WORD VK_SEPARATOR = 0x6C;
constexpr WORD VK_SUBTRACT = 0x6D;
constexpr WORD VK_DECIMAL = 0x6E;
constexpr WORD VK_DIVIDE = 0x6F;
constexpr WORD VK_F1 = 0x70;
constexpr WORD VK_F2 = 0x71;
constexpr WORD VK_F3 = 0x72;
constexpr WORD VK_F4 = 0x73;
constexpr WORD VK_F5 = 0x74;
constexpr WORD VK_F6 = 0x75;
constexpr WORD VK_F7 = 0x76;
constexpr WORD VK_F8 = 0x77;
constexpr WORD VK_F9 = 0x78;
constexpr WORD VK_F10 = 0x79;
constexpr WORD VK_F11 = 0x7A;
constexpr WORD VK_F12 = 0x7B;
constexpr WORD VK_NUMLOCK = 0x90;
constexpr WORD VK_SCROLL = 0x91;
constexpr WORD VK_LSHIFT = 0xA0;
constexpr WORD VK_RSHIFT = 0xA1;
constexpr WORD VK_LCONTROL = 0xA2;
constexpr WORD VK_RCONTROL = 0xA3;
constexpr WORD VK_LMENU = 0xA4;
constexpr WORD VK_RMENU = 0xA5;
constexpr WORD VK_OEM_1 = 0xBA;
constexpr WORD VK_OEM_PLUS = 0xBB;
constexpr WORD VK_OEM_COMMA = 0xBC;
constexpr WORD VK_OEM_MINUS = 0xBD;
constexpr WORD VK_OEM_PERIOD = 0xBE;
constexpr WORD VK_OEM_2 = 0xBF;
constexpr WORD VK_OEM_3 = 0xC0;
constexpr WORD VK_OEM_4 = 0xDB;
constexpr WORD VK_OEM_5 = 0xDC;
constexpr WORD VK_OEM_6 = 0xDD;
constexpr WORD VK_OEM_7 = 0xDE;

// lParam bits of key messages.
constexpr LPARAM KF_ALTDOWN_BIT = LPARAM(1) << 29;
constexpr LPARAM KF_REPEAT_BIT = LPARAM(1) << 30;
constexpr LPARAM KF_UP_BIT = LPARAM(1) << 31;

// ---------------------------------------------------------------------------------------------
// Window styles
constexpr DWORD WS_OVERLAPPED = 0x00000000;
constexpr DWORD WS_POPUP = 0x80000000;
constexpr DWORD WS_CHILD = 0x40000000;
constexpr DWORD WS_MINIMIZE = 0x20000000;
constexpr DWORD WS_VISIBLE = 0x10000000;
constexpr DWORD WS_DISABLED = 0x08000000;
constexpr DWORD WS_CLIPSIBLINGS = 0x04000000;
constexpr DWORD WS_CLIPCHILDREN = 0x02000000;
constexpr DWORD WS_MAXIMIZE = 0x01000000;
constexpr DWORD WS_CAPTION = 0x00C00000;
constexpr DWORD WS_BORDER = 0x00800000;
constexpr DWORD WS_DLGFRAME = 0x00400000;
constexpr DWORD WS_VSCROLL = 0x00200000;
constexpr DWORD WS_HSCROLL = 0x00100000;
constexpr DWORD WS_SYSMENU = 0x00080000;
constexpr DWORD WS_THICKFRAME = 0x00040000;
constexpr DWORD WS_GROUP = 0x00020000;
constexpr DWORD WS_TABSTOP = 0x00010000;
constexpr DWORD WS_MINIMIZEBOX = 0x00020000;
constexpr DWORD WS_MAXIMIZEBOX = 0x00010000;
constexpr DWORD WS_OVERLAPPEDWINDOW =
    WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;

constexpr DWORD WS_EX_DLGMODALFRAME = 0x00000001;
constexpr DWORD WS_EX_NOPARENTNOTIFY = 0x00000004;
constexpr DWORD WS_EX_TOPMOST = 0x00000008;
constexpr DWORD WS_EX_ACCEPTFILES = 0x00000010;
constexpr DWORD WS_EX_TRANSPARENT = 0x00000020;
constexpr DWORD WS_EX_TOOLWINDOW = 0x00000080;
constexpr DWORD WS_EX_WINDOWEDGE = 0x00000100;
constexpr DWORD WS_EX_CLIENTEDGE = 0x00000200;
constexpr DWORD WS_EX_CONTROLPARENT = 0x00010000;
constexpr DWORD WS_EX_APPWINDOW = 0x00040000;
constexpr DWORD WS_EX_LAYERED = 0x00080000;
constexpr DWORD WS_EX_NOACTIVATE = 0x08000000;

constexpr UINT CS_VREDRAW = 0x0001;
constexpr UINT CS_HREDRAW = 0x0002;
constexpr UINT CS_DBLCLKS = 0x0008;
constexpr UINT CS_OWNDC = 0x0020;
constexpr UINT CS_SAVEBITS = 0x0800;

constexpr int CW_USEDEFAULT = int(0x80000000);

// ShowWindow commands.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_NORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOWNOACTIVATE = 4;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;
constexpr int SW_SHOWMINNOACTIVE = 7;
constexpr int SW_SHOWNA = 8;
constexpr int SW_RESTORE = 9;

// SetWindowPos flags.
constexpr UINT SWP_NOSIZE = 0x0001;
constexpr UINT SWP_NOMOVE = 0x0002;
constexpr UINT SWP_NOZORDER = 0x0004;
constexpr UINT SWP_NOREDRAW = 0x0008;
constexpr UINT SWP_NOACTIVATE = 0x0010;
constexpr UINT SWP_FRAMECHANGED = 0x0020;
constexpr UINT SWP_SHOWWINDOW = 0x0040;
constexpr UINT SWP_HIDEWINDOW = 0x0080;
constexpr UINT SWP_NOCOPYBITS = 0x0100;
constexpr UINT SWP_NOOWNERZORDER = 0x0200;
constexpr UINT SWP_NOSENDCHANGING = 0x0400;
constexpr UINT SWP_DEFERERASE = 0x2000;

struct WINDOWPOS {
  HWND hwnd = nullptr;
  HWND hwndInsertAfter = nullptr;
  int x = 0, y = 0, cx = 0, cy = 0;
  UINT flags = 0;
};

struct NCCALCSIZE_PARAMS {
  RECT rgrc[3];
  WINDOWPOS* lppos = nullptr;
};

struct CREATESTRUCT {
  void* lpCreateParams = nullptr;
  HINSTANCE hInstance = nullptr;
  HMENU hMenu = nullptr;
  HWND hwndParent = nullptr;
  int cy = 0, cx = 0, y = 0, x = 0;
  LONG style = 0;
  const char* lpszName = nullptr;
  const char* lpszClass = nullptr;
  DWORD dwExStyle = 0;
};

struct MINMAXINFO {
  POINT ptReserved, ptMaxSize, ptMaxPosition, ptMinTrackSize, ptMaxTrackSize;
};

// RedrawWindow flags.
constexpr UINT RDW_INVALIDATE = 0x0001;
constexpr UINT RDW_INTERNALPAINT = 0x0002;
constexpr UINT RDW_ERASE = 0x0004;
constexpr UINT RDW_VALIDATE = 0x0008;
constexpr UINT RDW_NOINTERNALPAINT = 0x0010;
constexpr UINT RDW_NOERASE = 0x0020;
constexpr UINT RDW_NOCHILDREN = 0x0040;
constexpr UINT RDW_ALLCHILDREN = 0x0080;
constexpr UINT RDW_UPDATENOW = 0x0100;
constexpr UINT RDW_ERASENOW = 0x0200;
constexpr UINT RDW_FRAME = 0x0400;
constexpr UINT RDW_NOFRAME = 0x0800;

// GetWindowLongPtr indices.
constexpr int GWLP_WNDPROC = -4;
constexpr int GWLP_HINSTANCE = -6;
constexpr int GWLP_HWNDPARENT = -8;
constexpr int GWLP_ID = -12;
constexpr int GWL_STYLE = -16;
constexpr int GWL_EXSTYLE = -20;
constexpr int GWLP_USERDATA = -21;
constexpr int GWL_WNDPROC = GWLP_WNDPROC;
constexpr int GWL_ID = GWLP_ID;
constexpr int GWL_USERDATA = GWLP_USERDATA;

// GetAncestor / GetWindow.
constexpr UINT GA_PARENT = 1;
constexpr UINT GA_ROOT = 2;
constexpr UINT GA_ROOTOWNER = 3;
constexpr UINT GW_HWNDFIRST = 0;
constexpr UINT GW_HWNDLAST = 1;
constexpr UINT GW_HWNDNEXT = 2;
constexpr UINT GW_HWNDPREV = 3;
constexpr UINT GW_OWNER = 4;
constexpr UINT GW_CHILD = 5;

// PeekMessage flags.
constexpr UINT PM_NOREMOVE = 0x0000;
constexpr UINT PM_REMOVE = 0x0001;
constexpr UINT PM_NOYIELD = 0x0002;

// Message boxes.
constexpr UINT MB_OK = 0x00000000;
constexpr UINT MB_OKCANCEL = 0x00000001;
constexpr UINT MB_ABORTRETRYIGNORE = 0x00000002;
constexpr UINT MB_YESNOCANCEL = 0x00000003;
constexpr UINT MB_YESNO = 0x00000004;
constexpr UINT MB_RETRYCANCEL = 0x00000005;
constexpr UINT MB_TYPEMASK = 0x0000000F;
constexpr UINT MB_ICONHAND = 0x00000010;
constexpr UINT MB_ICONERROR = 0x00000010;
constexpr UINT MB_ICONSTOP = 0x00000010;
constexpr UINT MB_ICONQUESTION = 0x00000020;
constexpr UINT MB_ICONEXCLAMATION = 0x00000030;
constexpr UINT MB_ICONWARNING = 0x00000030;
constexpr UINT MB_ICONASTERISK = 0x00000040;
constexpr UINT MB_ICONINFORMATION = 0x00000040;
constexpr UINT MB_ICONMASK = 0x000000F0;
constexpr UINT MB_DEFBUTTON1 = 0x00000000;
constexpr UINT MB_DEFBUTTON2 = 0x00000100;
constexpr UINT MB_DEFBUTTON3 = 0x00000200;
constexpr UINT MB_DEFMASK = 0x00000F00;
constexpr UINT MB_APPLMODAL = 0x00000000;
constexpr UINT MB_TASKMODAL = 0x00002000;
constexpr UINT MB_TOPMOST = 0x00040000;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
constexpr int IDCLOSE = 8;

// Hooks.
constexpr int WH_GETMESSAGE = 3;
constexpr int WH_CALLWNDPROC = 4;
constexpr int WH_CBT = 5;
constexpr int WH_MOUSE = 7;
constexpr int WH_KEYBOARD = 2;
constexpr int WH_CALLWNDPROCRET = 12;
constexpr int HC_ACTION = 0;
constexpr int HC_NOREMOVE = 3;

// ---------------------------------------------------------------------------------------------
// Records

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  DWORD time = 0;
  POINT pt;
  // Private: ties an input message to the Qt event it came from (key text, default handling).
  DWORD lPrivate = 0;
};
using LPMSG = MSG*;

struct PAINTSTRUCT {
  HDC hdc = nullptr;
  BOOL fErase = FALSE;
  RECT rcPaint;
};

struct MOUSEHOOKSTRUCT {
  POINT pt;
  HWND hwnd = nullptr;
  UINT wHitTestCode = 0;
  ULONG_PTR dwExtraInfo = 0;
};

struct CWPSTRUCT {
  LPARAM lParam = 0;
  WPARAM wParam = 0;
  UINT message = 0;
  HWND hwnd = nullptr;
};

struct CWPRETSTRUCT {
  LRESULT lResult = 0;
  LPARAM lParam = 0;
  WPARAM wParam = 0;
  UINT message = 0;
  HWND hwnd = nullptr;
};

// A window procedure is an object (a callable kept in our table), so that methods of objects
// can be window procedures without code thunks. A plain function converts implicitly.
using TWindowProcFunction = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
struct TWindowProcedure;
using WNDPROC = TWindowProcedure*;
using TIMERPROC = void (*)(HWND, UINT, UINT_PTR, DWORD);
using HOOKPROC = LRESULT (*)(int code, WPARAM, LPARAM);

struct WNDCLASS {
  UINT style = 0;
  WNDPROC lpfnWndProc = nullptr;
  int cbClsExtra = 0;
  int cbWndExtra = 0;
  HINSTANCE hInstance = nullptr;
  HICON hIcon = nullptr;
  HCURSOR hCursor = nullptr;
  HBRUSH hbrBackground = nullptr;
  const char* lpszMenuName = nullptr;
  const char* lpszClassName = nullptr;
};

// ---------------------------------------------------------------------------------------------
// Window procedures

// Makes a window procedure from a callable; it lives until FreeWindowProc.
WNDPROC MakeWindowProc(TWindowProcFunction function);
void FreeWindowProc(WNDPROC proc);
LRESULT CallWindowProc(WNDPROC proc, HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// The default procedure: what no handler took; for windows with a widget, Qt's own handling.
LRESULT DefWindowProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
WNDPROC DefWindowProcInstance();

// Subclassing that can be removed in any order: each (proc, id) link is called newest first and
// passes on with DefSubclassProc; the window's own procedure is last.
using SUBCLASSPROC = LRESULT (*)(HWND, UINT, WPARAM, LPARAM, UINT_PTR uIdSubclass,
                                 DWORD_PTR dwRefData);
BOOL SetWindowSubclass(HWND hWnd, SUBCLASSPROC proc, UINT_PTR uIdSubclass, DWORD_PTR dwRefData);
BOOL RemoveWindowSubclass(HWND hWnd, SUBCLASSPROC proc, UINT_PTR uIdSubclass);
LRESULT DefSubclassProc(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------------------------
// Window classes and window objects

ATOM RegisterClass(const WNDCLASS* wc);
BOOL UnregisterClass(const char* className, HINSTANCE hInstance);
BOOL GetClassInfo(HINSTANCE hInstance, const char* className, WNDCLASS* wc);
std::string GetClassName(HWND hWnd);
HWND CreateWindowEx(DWORD dwExStyle, const char* lpClassName, const char* lpWindowName,
                    DWORD dwStyle, int X, int Y, int nWidth, int nHeight, HWND hWndParent,
                    HMENU hMenu, HINSTANCE hInstance, void* lpParam);
inline HWND CreateWindow(const char* lpClassName, const char* lpWindowName, DWORD dwStyle, int X,
                         int Y, int nWidth, int nHeight, HWND hWndParent, HMENU hMenu,
                         HINSTANCE hInstance, void* lpParam) {
  return CreateWindowEx(0, lpClassName, lpWindowName, dwStyle, X, Y, nWidth, nHeight, hWndParent,
                        hMenu, hInstance, lpParam);
}
BOOL DestroyWindow(HWND hWnd);
BOOL IsWindow(HWND hWnd);
BOOL IsWindowVisible(HWND hWnd);
BOOL IsWindowEnabled(HWND hWnd);
BOOL EnableWindow(HWND hWnd, BOOL bEnable);
BOOL ShowWindow(HWND hWnd, int nCmdShow);
BOOL IsIconic(HWND hWnd);
BOOL IsZoomed(HWND hWnd);
BOOL IsChild(HWND hWndParent, HWND hWnd);
HWND GetParent(HWND hWnd);
HWND SetParent(HWND hWndChild, HWND hWndNewParent);
HWND GetAncestor(HWND hWnd, UINT gaFlags);
HWND GetWindow(HWND hWnd, UINT uCmd);
HWND GetTopWindow(HWND hWnd);
HWND GetDesktopWindow();
LONG_PTR GetWindowLongPtr(HWND hWnd, int nIndex);
LONG_PTR SetWindowLongPtr(HWND hWnd, int nIndex, LONG_PTR dwNewLong);
inline LONG_PTR GetWindowLong(HWND h, int i) { return GetWindowLongPtr(h, i); }
inline LONG_PTR SetWindowLong(HWND h, int i, LONG_PTR v) { return SetWindowLongPtr(h, i, v); }
BOOL SetWindowText(HWND hWnd, const std::string& text);
std::string GetWindowText(HWND hWnd);
int GetWindowTextLength(HWND hWnd);
BOOL SetProp(HWND hWnd, const std::string& name, intptr_t value);
intptr_t GetProp(HWND hWnd, const std::string& name);
intptr_t RemoveProp(HWND hWnd, const std::string& name);

BOOL SetWindowPos(HWND hWnd, HWND hWndInsertAfter, int X, int Y, int cx, int cy, UINT uFlags);
BOOL MoveWindow(HWND hWnd, int X, int Y, int nWidth, int nHeight, BOOL bRepaint);
BOOL BringWindowToTop(HWND hWnd);
// The window rectangle in screen coordinates; the client rectangle with origin (0, 0).
BOOL GetWindowRect(HWND hWnd, RECT* lpRect);
BOOL GetClientRect(HWND hWnd, RECT* lpRect);
BOOL ClientToScreen(HWND hWnd, POINT* lpPoint);
BOOL ScreenToClient(HWND hWnd, POINT* lpPoint);
int MapWindowPoints(HWND hWndFrom, HWND hWndTo, POINT* lpPoints, UINT cPoints);
HWND WindowFromPoint(POINT Point);
HWND ChildWindowFromPoint(HWND hWndParent, POINT Point);
// A region (from the GDI tables) becomes the window's shape mask; nullptr removes it.
int SetWindowRgn(HWND hWnd, HRGN hRgn, BOOL bRedraw);
int GetWindowRgn(HWND hWnd, HRGN hRgn);

using WNDENUMPROC = std::function<BOOL(HWND, LPARAM)>;
BOOL EnumChildWindows(HWND hWndParent, const WNDENUMPROC& proc, LPARAM lParam);
BOOL EnumThreadWindows(DWORD threadId, const WNDENUMPROC& proc, LPARAM lParam);

// Hidden message windows calling a method; freed with DeallocateHWnd.
using TWndMethod = std::function<void(struct TMessage&)>;
HWND AllocateHWnd(TWndMethod method);
void DeallocateHWnd(HWND wnd);

// ---------------------------------------------------------------------------------------------
// Messages and the queue

LRESULT SendMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL SendNotifyMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
// Safe from any thread; a message to a stale handle is dropped (answer FALSE).
BOOL PostMessage(HWND hWnd, UINT Msg, WPARAM wParam, LPARAM lParam);
BOOL PostThreadMessage(DWORD idThread, UINT Msg, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int nExitCode);
BOOL PeekMessage(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax, UINT wRemoveMsg);
// FALSE for WM_QUIT, TRUE otherwise; waits (running Qt's events) until a message arrives.
BOOL GetMessage(MSG* lpMsg, HWND hWnd, UINT wMsgFilterMin, UINT wMsgFilterMax);
BOOL WaitMessage();
BOOL TranslateMessage(const MSG* lpMsg);
LRESULT DispatchMessage(const MSG* lpMsg);
DWORD GetCurrentThreadId();
DWORD GetWindowThreadProcessId(HWND hWnd, DWORD* lpdwProcessId);
DWORD GetMessageTime();
DWORD GetMessagePos();
// Registered messages: the same name gives the same id, from WM_REGISTERED_FIRST on.
UINT RegisterWindowMessage(const std::string& name);

// ---------------------------------------------------------------------------------------------
// Clock and timers

DWORD GetTickCount();
uint64_t GetTickCount64();
void Sleep(DWORD ms);
UINT_PTR SetTimer(HWND hWnd, UINT_PTR nIDEvent, UINT uElapse, TIMERPROC lpTimerFunc);
BOOL KillTimer(HWND hWnd, UINT_PTR uIDEvent);

// ---------------------------------------------------------------------------------------------
// Input state

HWND SetCapture(HWND hWnd);
BOOL ReleaseCapture();
HWND GetCapture();
HWND SetFocus(HWND hWnd);
HWND GetFocus();
HWND GetActiveWindow();
HWND SetActiveWindow(HWND hWnd);
HWND GetForegroundWindow();
BOOL SetForegroundWindow(HWND hWnd);
SHORT GetKeyState(int nVirtKey);
SHORT GetAsyncKeyState(int vKey);
BOOL GetCursorPos(POINT* lpPoint);
// The caret of the focus window (a hosted text control), in its client pixels; FALSE without one.
BOOL GetCaretPos(POINT* lpPoint);
BOOL SetCursorPos(int X, int Y);
UINT GetDoubleClickTime();
BOOL MessageBeep(UINT uType);

// ---------------------------------------------------------------------------------------------
// Painting

BOOL InvalidateRect(HWND hWnd, const RECT* lpRect, BOOL bErase);
BOOL InvalidateRgn(HWND hWnd, HRGN hRgn, BOOL bErase);
BOOL ValidateRect(HWND hWnd, const RECT* lpRect);
BOOL UpdateWindow(HWND hWnd);
BOOL RedrawWindow(HWND hWnd, const RECT* lprcUpdate, HRGN hrgnUpdate, UINT flags);
BOOL GetUpdateRect(HWND hWnd, RECT* lpRect, BOOL bErase);
HDC BeginPaint(HWND hWnd, PAINTSTRUCT* lpPaint);
BOOL EndPaint(HWND hWnd, const PAINTSTRUCT* lpPaint);
// A device context on the window's client area (GetDC) or whole window (GetWindowDC); both draw
// into the window's back buffer, shown at the next paint.
HDC GetDC(HWND hWnd);
HDC GetWindowDC(HWND hWnd);
int ReleaseDC(HWND hWnd, HDC hDC);
BOOL SetRedraw(HWND hWnd, BOOL redraw);

// ---------------------------------------------------------------------------------------------
// Hooks

HHOOK SetWindowsHookEx(int idHook, HOOKPROC lpfn, HINSTANCE hmod, DWORD dwThreadId);
BOOL UnhookWindowsHookEx(HHOOK hhk);
LRESULT CallNextHookEx(HHOOK hhk, int nCode, WPARAM wParam, LPARAM lParam);

// ---------------------------------------------------------------------------------------------
// Message boxes

int MessageBox(HWND hWnd, const std::string& text, const std::string& caption, UINT uType);

#include "platform/win/Gdi.h"

// ---------------------------------------------------------------------------------------------
// Cursors
constexpr intptr_t IDC_ARROW = 32512;
constexpr intptr_t IDC_IBEAM = 32513;
constexpr intptr_t IDC_WAIT = 32514;
constexpr intptr_t IDC_CROSS = 32515;
constexpr intptr_t IDC_UPARROW = 32516;
constexpr intptr_t IDC_SIZENWSE = 32642;
constexpr intptr_t IDC_SIZENESW = 32643;
constexpr intptr_t IDC_SIZEWE = 32644;
constexpr intptr_t IDC_SIZENS = 32645;
constexpr intptr_t IDC_SIZEALL = 32646;
constexpr intptr_t IDC_NO = 32648;
constexpr intptr_t IDC_HAND = 32649;
constexpr intptr_t IDC_APPSTARTING = 32650;
constexpr intptr_t IDC_HELP = 32651;
// The system cursors by id; a null HINSTANCE only.
HCURSOR LoadCursor(HINSTANCE hInstance, intptr_t id);
// A cursor of the program's resources by name: the image ":/cursors/NAME.bmp" (magenta is
// transparent) with its hot spot in ":/cursors/NAME.hotspot" ("x y"). Null when there is none;
// the same name gives the same handle.
HCURSOR LoadCursor(HINSTANCE hInstance, const char* name);
// Shows the cursor over the window that has the mouse now; returns the one shown before.
HCURSOR SetCursor(HCURSOR hCursor);
HCURSOR GetCursor();
BOOL DestroyCursor(HCURSOR hCursor);

// ---------------------------------------------------------------------------------------------
// Keyboard translation
constexpr UINT MAPVK_VK_TO_VSC = 0;
constexpr UINT MAPVK_VSC_TO_VK = 1;
constexpr UINT MAPVK_VK_TO_CHAR = 2;
UINT MapVirtualKey(UINT uCode, UINT uMapType);
// The character of a key for the given key states (US layout); 1 when there is one.
int ToAscii(UINT uVirtKey, UINT uScanCode, const BYTE* lpKeyState, WORD* lpChar, UINT uFlags);
// Virtual key in the low byte, shift state in the high byte (1: Shift), -1 when none.
SHORT VkKeyScan(char ch);

// Sounds by system alias. The aliases this desktop defines ("MenuPopup", "MenuCommand" and the
// rest) have no sound, so only an unknown alias without SND_NODEFAULT plays the default beep.
constexpr DWORD SND_SYNC = 0x0000;
constexpr DWORD SND_ASYNC = 0x0001;
constexpr DWORD SND_NODEFAULT = 0x0002;
constexpr DWORD SND_ALIAS = 0x00010000;
BOOL PlaySound(const char* pszSound, HMODULE hmod, DWORD fdwSound);
// Tests watch which sounds were asked for (null to stop watching).
void SetPlaySoundWatcher(std::function<void(const char* Sound)> Watcher);
BOOL GetKeyboardState(BYTE* lpKeyState);

// ---------------------------------------------------------------------------------------------
// System metrics and parameters (a fixed classic table at 96 DPI)
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYVTHUMB = 9;
constexpr int SM_CXHTHUMB = 10;
constexpr int SM_CXICON = 11;
constexpr int SM_CYICON = 12;
constexpr int SM_CXCURSOR = 13;
constexpr int SM_CYCURSOR = 14;
constexpr int SM_CYMENU = 15;
constexpr int SM_CYVSCROLL = 20;
constexpr int SM_CXHSCROLL = 21;
constexpr int SM_SWAPBUTTON = 23;
constexpr int SM_CXMIN = 28;
constexpr int SM_CYMIN = 29;
constexpr int SM_CXSIZE = 30;
constexpr int SM_CYSIZE = 31;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;
constexpr int SM_CXDOUBLECLK = 36;
constexpr int SM_CYDOUBLECLK = 37;
constexpr int SM_CXEDGE = 45;
constexpr int SM_CYEDGE = 46;
constexpr int SM_CXSMICON = 49;
constexpr int SM_CYSMICON = 50;
constexpr int SM_CYSMCAPTION = 51;
constexpr int SM_CXSMSIZE = 52;
constexpr int SM_CYSMSIZE = 53;
constexpr int SM_CXMENUSIZE = 54;
constexpr int SM_CYMENUSIZE = 55;
constexpr int SM_CXDRAG = 68;
constexpr int SM_CYDRAG = 69;
constexpr int SM_MOUSEPRESENT = 19;
constexpr int SM_MOUSEWHEELPRESENT = 75;
constexpr int SM_CMONITORS = 80;
int GetSystemMetrics(int nIndex);

constexpr UINT SPI_GETWORKAREA = 0x0030;
constexpr UINT SPI_GETICONTITLELOGFONT = 0x001F;
constexpr UINT SPI_GETNONCLIENTMETRICS = 0x0029;
constexpr UINT SPI_GETWHEELSCROLLLINES = 0x0068;
constexpr UINT SPI_GETMENUANIMATION = 0x1002;
constexpr UINT SPI_GETCOMBOBOXANIMATION = 0x1004;
constexpr UINT SPI_GETKEYBOARDCUES = 0x100A;
constexpr UINT SPI_GETMENUFADE = 0x1012;
constexpr UINT SPI_GETTOOLTIPANIMATION = 0x1016;
constexpr UINT SPI_GETTOOLTIPFADE = 0x1018;
constexpr UINT SPI_GETFLATMENU = 0x1022;
constexpr UINT SPI_GETDRAGFULLWINDOWS = 0x0026;
// The animation settings are off until set (pvParam carries the new BOOL, as on the platform).
constexpr UINT SPI_SETMENUANIMATION = 0x1003;
constexpr UINT SPI_SETMENUFADE = 0x1013;
constexpr UINT SPI_SETTOOLTIPANIMATION = 0x1017;
constexpr UINT SPI_SETTOOLTIPFADE = 0x1019;
BOOL SystemParametersInfo(UINT uiAction, UINT uiParam, void* pvParam, UINT fWinIni);

// ---------------------------------------------------------------------------------------------
// Files dropped from the desktop (WM_DROPFILES carries an HDROP in WParam)
struct TDropTag;
using HDROP = TDropTag*;
void DragAcceptFiles(HWND hWnd, BOOL fAccept);
// 0xFFFFFFFF: the count; a null buffer: the name's length; else the name, cut to cch - 1.
UINT DragQueryFile(HDROP hDrop, UINT iFile, char* lpszFile, UINT cch);
BOOL DragQueryPoint(HDROP hDrop, POINT* ppt);
void DragFinish(HDROP hDrop);

// ---------------------------------------------------------------------------------------------
// Monitors
struct TMonitorTag;
using HMONITOR = TMonitorTag*;
constexpr DWORD MONITOR_DEFAULTTONULL = 0;
constexpr DWORD MONITOR_DEFAULTTOPRIMARY = 1;
constexpr DWORD MONITOR_DEFAULTTONEAREST = 2;
constexpr DWORD MONITORINFOF_PRIMARY = 1;
struct MONITORINFO {
  DWORD cbSize = sizeof(MONITORINFO);
  RECT rcMonitor;
  RECT rcWork;
  DWORD dwFlags = 0;
};
HMONITOR MonitorFromPoint(POINT pt, DWORD dwFlags);
HMONITOR MonitorFromRect(const RECT* lprc, DWORD dwFlags);
HMONITOR MonitorFromWindow(HWND hwnd, DWORD dwFlags);
BOOL GetMonitorInfo(HMONITOR hMonitor, MONITORINFO* lpmi);

// ---------------------------------------------------------------------------------------------
// Layered windows: a constant alpha becomes the window's opacity (with a compositor).
constexpr DWORD LWA_COLORKEY = 0x1;
constexpr DWORD LWA_ALPHA = 0x2;
BOOL SetLayeredWindowAttributes(HWND hwnd, COLORREF crKey, BYTE bAlpha, DWORD dwFlags);
// Layered windows drawn from a picture with per-pixel alpha: only through the "user32" entry of
// the module table, which is missing where no compositor shows translucent windows.
constexpr DWORD ULW_COLORKEY = 0x1;
constexpr DWORD ULW_ALPHA = 0x2;
constexpr DWORD ULW_OPAQUE = 0x4;
struct BLENDFUNCTION;
using TUpdateLayeredWindowProc = BOOL (*)(HWND hWnd, HDC hdcDst, POINT* pptDst, SIZE* psize, HDC hdcSrc,
                                          POINT* pptSrc, COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags);
BOOL UpdateLayeredWindow(HWND hWnd, HDC hdcDst, POINT* pptDst, SIZE* psize, HDC hdcSrc, POINT* pptSrc,
                         COLORREF crKey, BLENDFUNCTION* pblend, DWORD dwFlags);

// Shows (or with AW_HIDE hides) the window and returns at once; over dwTime ms of the platform
// clock AW_BLEND raises its opacity (seen only with a compositor), the direction flags and
// AW_CENTER reveal it through a growing mask. FALSE when it is already shown (hidden).
constexpr DWORD AW_HOR_POSITIVE = 0x00000001;
constexpr DWORD AW_HOR_NEGATIVE = 0x00000002;
constexpr DWORD AW_VER_POSITIVE = 0x00000004;
constexpr DWORD AW_VER_NEGATIVE = 0x00000008;
constexpr DWORD AW_CENTER = 0x00000010;
constexpr DWORD AW_HIDE = 0x00010000;
constexpr DWORD AW_ACTIVATE = 0x00020000;
constexpr DWORD AW_SLIDE = 0x00040000;
constexpr DWORD AW_BLEND = 0x00080000;
BOOL AnimateWindow(HWND hWnd, DWORD dwTime, DWORD dwFlags);

constexpr DWORD DCX_WINDOW = 0x00000001;
constexpr DWORD DCX_CACHE = 0x00000002;
constexpr DWORD DCX_CLIPCHILDREN = 0x00000008;
constexpr DWORD DCX_CLIPSIBLINGS = 0x00000010;
constexpr DWORD DCX_PARENTCLIP = 0x00000020;
constexpr DWORD DCX_EXCLUDERGN = 0x00000040;
constexpr DWORD DCX_INTERSECTRGN = 0x00000080;
constexpr DWORD DCX_LOCKWINDOWUPDATE = 0x00000400;
// The whole window with DCX_WINDOW, else the client area; a region limits it with the
// intersect/exclude flags.
HDC GetDCEx(HWND hWnd, HRGN hrgnClip, DWORD flags);
// Updates are never held back here: windows draw into their own buffers.
BOOL LockWindowUpdate(HWND hWndLock);

// ---------------------------------------------------------------------------------------------
// The "EDIT" window class (a one-line Qt edit inside)
constexpr DWORD ES_LEFT = 0x0000;
constexpr DWORD ES_CENTER = 0x0001;
constexpr DWORD ES_RIGHT = 0x0002;
constexpr DWORD ES_MULTILINE = 0x0004;
constexpr DWORD ES_UPPERCASE = 0x0008;
constexpr DWORD ES_LOWERCASE = 0x0010;
constexpr DWORD ES_PASSWORD = 0x0020;
constexpr DWORD ES_AUTOHSCROLL = 0x0080;
constexpr DWORD ES_NOHIDESEL = 0x0100;
constexpr DWORD ES_READONLY = 0x0800;
constexpr DWORD ES_NUMBER = 0x2000;
constexpr UINT EM_GETSEL = 0x00B0;
constexpr UINT EM_SETSEL = 0x00B1;
constexpr UINT EM_GETRECT = 0x00B2;
constexpr UINT EM_SETRECT = 0x00B3;
constexpr UINT EM_SETRECTNP = 0x00B4;
constexpr UINT EM_GETMODIFY = 0x00B8;
constexpr UINT EM_SETMODIFY = 0x00B9;
constexpr UINT EM_REPLACESEL = 0x00C2;
constexpr UINT EM_LIMITTEXT = 0x00C5;
constexpr UINT EM_SETLIMITTEXT = 0x00C5;
constexpr UINT EM_CANUNDO = 0x00C6;
constexpr UINT EM_UNDO = 0x00C7;
constexpr UINT EM_SETPASSWORDCHAR = 0x00CC;
constexpr UINT EM_EMPTYUNDOBUFFER = 0x00CD;
constexpr UINT EM_SETREADONLY = 0x00CF;
constexpr UINT EM_SETMARGINS = 0x00D3;
constexpr UINT EM_GETMARGINS = 0x00D4;
constexpr UINT EM_GETLIMITTEXT = 0x00D5;
constexpr WPARAM EC_LEFTMARGIN = 0x0001;
constexpr WPARAM EC_RIGHTMARGIN = 0x0002;
// Notification codes in the high word of WM_COMMAND's WParam.
constexpr WORD EN_SETFOCUS = 0x0100;
constexpr WORD EN_KILLFOCUS = 0x0200;
constexpr WORD EN_CHANGE = 0x0300;
constexpr WORD EN_UPDATE = 0x0400;
constexpr WORD EN_MAXTEXT = 0x0501;

// Scrolling a window's contents (its back buffer); what comes into view is invalidated.
constexpr UINT SW_SCROLLCHILDREN = 0x0001;
constexpr UINT SW_INVALIDATE = 0x0002;
constexpr UINT SW_ERASE = 0x0004;
int ScrollWindowEx(HWND hWnd, int dx, int dy, const RECT* prcScroll, const RECT* prcClip,
                   HRGN hrgnUpdate, RECT* prcUpdate, UINT flags);
BOOL ScrollWindow(HWND hWnd, int XAmount, int YAmount, const RECT* lpRect, const RECT* lpClipRect);

// ---------------------------------------------------------------------------------------------
// Menus (platform/README.md, "Menus and window icons"). A menu handle is an id in our menu
// table; entries are found by command (MF_BYCOMMAND, also inside sub-menus) or by position.
constexpr UINT MF_BYCOMMAND = 0x0000;
constexpr UINT MF_BYPOSITION = 0x0400;
constexpr UINT MF_STRING = 0x0000;
constexpr UINT MF_ENABLED = 0x0000;
constexpr UINT MF_UNCHECKED = 0x0000;
constexpr UINT MF_GRAYED = 0x0001;
constexpr UINT MF_DISABLED = 0x0002;
constexpr UINT MF_BITMAP = 0x0004;
constexpr UINT MF_CHECKED = 0x0008;
constexpr UINT MF_POPUP = 0x0010;
constexpr UINT MF_SEPARATOR = 0x0800;
constexpr UINT MF_DEFAULT = 0x1000;
constexpr UINT MFT_STRING = 0x0000;
constexpr UINT MFT_BITMAP = 0x0004;
constexpr UINT MFT_SEPARATOR = 0x0800;
constexpr UINT MFS_ENABLED = 0x0000;
constexpr UINT MFS_GRAYED = 0x0003;
constexpr UINT MFS_DISABLED = 0x0003;
constexpr UINT MFS_CHECKED = 0x0008;
constexpr UINT MFS_DEFAULT = 0x1000;
constexpr UINT MIIM_STATE = 0x0001;
constexpr UINT MIIM_ID = 0x0002;
constexpr UINT MIIM_SUBMENU = 0x0004;
constexpr UINT MIIM_CHECKMARKS = 0x0008;
constexpr UINT MIIM_TYPE = 0x0010;
constexpr UINT MIIM_DATA = 0x0020;
constexpr UINT MIIM_STRING = 0x0040;
constexpr UINT MIIM_BITMAP = 0x0080;
constexpr UINT MIIM_FTYPE = 0x0100;
constexpr UINT GMDI_USEDISABLED = 0x0001;
constexpr UINT GMDI_GOINTOPOPUPS = 0x0002;
// The item bitmaps the window menu shows beside its entries.
inline const HBITMAP HBMMENU_POPUP_CLOSE = reinterpret_cast<HBITMAP>(intptr_t(8));
inline const HBITMAP HBMMENU_POPUP_RESTORE = reinterpret_cast<HBITMAP>(intptr_t(9));
inline const HBITMAP HBMMENU_POPUP_MAXIMIZE = reinterpret_cast<HBITMAP>(intptr_t(10));
inline const HBITMAP HBMMENU_POPUP_MINIMIZE = reinterpret_cast<HBITMAP>(intptr_t(11));

struct MENUITEMINFO {
  UINT cbSize = sizeof(MENUITEMINFO);
  UINT fMask = 0;
  UINT fType = 0;
  UINT fState = 0;
  UINT wID = 0;
  HMENU hSubMenu = nullptr;
  HBITMAP hbmpChecked = nullptr;
  HBITMAP hbmpUnchecked = nullptr;
  ULONG_PTR dwItemData = 0;
  char* dwTypeData = nullptr;  // the text buffer (reading) or text (writing)
  UINT cch = 0;                // the buffer's size in characters; the text's length on return
  HBITMAP hbmpItem = nullptr;  // left out of a structure whose cbSize stops before it
};
using LPMENUITEMINFO = MENUITEMINFO*;

HMENU CreateMenu();
HMENU CreatePopupMenu();
// Frees the menu and its sub-menus.
BOOL DestroyMenu(HMENU hMenu);
BOOL IsMenu(HMENU hMenu);
BOOL AppendMenu(HMENU hMenu, UINT uFlags, UINT_PTR uIDNewItem, const char* lpNewItem);
BOOL InsertMenuItem(HMENU hMenu, UINT item, BOOL fByPosition, const MENUITEMINFO* lpmii);
BOOL SetMenuItemInfo(HMENU hMenu, UINT item, BOOL fByPosition, const MENUITEMINFO* lpmii);
BOOL GetMenuItemInfo(HMENU hMenu, UINT item, BOOL fByPosition, MENUITEMINFO* lpmii);
// Takes the entry out; DeleteMenu also frees its sub-menu.
BOOL RemoveMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
BOOL DeleteMenu(HMENU hMenu, UINT uPosition, UINT uFlags);
int GetMenuItemCount(HMENU hMenu);
UINT GetMenuItemID(HMENU hMenu, int nPos);
HMENU GetSubMenu(HMENU hMenu, int nPos);
// The state flags of an entry (a sub-menu's entry count in the high byte), 0xFFFFFFFF when there
// is none.
UINT GetMenuState(HMENU hMenu, UINT uId, UINT uFlags);
// Copies the entry's text (with its Tab and shortcut); the length copied.
int GetMenuString(HMENU hMenu, UINT uIDItem, char* lpString, int cchMax, UINT flags);
// The previous state (MF_GRAYED, MF_DISABLED), 0xFFFFFFFF when there is no such entry.
DWORD EnableMenuItem(HMENU hMenu, UINT uIDEnableItem, UINT uEnable);
DWORD CheckMenuItem(HMENU hMenu, UINT uIDCheckItem, UINT uCheck);
BOOL SetMenuDefaultItem(HMENU hMenu, UINT uItem, UINT fByPos);
// The default entry's command (or position), 0xFFFFFFFF when there is none.
UINT GetMenuDefaultItem(HMENU hMenu, UINT fByPos, UINT gmdiFlags);
// The window menu of a window with WS_SYSMENU, made on first request and kept with the window;
// its entries are greyed by the window's state each time it is asked for. bRevert gives the
// menu back its standard entries and answers null.
HMENU GetSystemMenu(HWND hWnd, BOOL bRevert);

// ---------------------------------------------------------------------------------------------
// Icons: images in a table of their own (handles never shared with cursors). A window keeps a
// small and a big icon (WM_SETICON, WM_GETICON).
constexpr UINT WM_SETICON = 0x0080;
constexpr WPARAM ICON_SMALL = 0;
constexpr WPARAM ICON_BIG = 1;
constexpr WPARAM ICON_SMALL2 = 2;
constexpr UINT IMAGE_BITMAP = 0;
constexpr UINT IMAGE_ICON = 1;
constexpr UINT IMAGE_CURSOR = 2;
constexpr UINT LR_DEFAULTCOLOR = 0x0000;
constexpr UINT LR_COPYRETURNORG = 0x0004;
constexpr UINT LR_COPYDELETEORG = 0x0008;
constexpr UINT LR_COPYFROMRESOURCE = 0x4000;
constexpr UINT DI_MASK = 0x0001;
constexpr UINT DI_IMAGE = 0x0002;
constexpr UINT DI_NORMAL = 0x0003;
constexpr UINT DI_DEFAULTSIZE = 0x0008;
using HANDLE = void*;
// IMAGE_ICON only: a new icon of cx by cy pixels (0: the icon's own size). LR_COPYFROMRESOURCE
// takes the picture the icon holds at that size when it has one, else its picture scaled.
HANDLE CopyImage(HANDLE h, UINT type, int cx, int cy, UINT flags);
BOOL DestroyIcon(HICON hIcon);
// Draws the icon blended over the DC at cx by cy (0 with DI_DEFAULTSIZE: SM_CXICON, without it
// the icon's own size); a brush with istepIfAniCur 0 fills the rectangle first.
BOOL DrawIconEx(HDC hdc, int xLeft, int yTop, HICON hIcon, int cxWidth, int cyWidth, UINT istepIfAniCur,
                HBRUSH hbrFlickerFreeDraw, UINT diFlags);
BOOL DrawIcon(HDC hDC, int X, int Y, HICON hIcon);
