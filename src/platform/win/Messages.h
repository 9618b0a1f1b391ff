#pragma once
// Message records as the control classes receive them, the views that read their parameters,
// and the numbers of the control-library notifications.

#include "platform/win/Windows.h"

struct TMessage {
  UINT Msg = 0;
  WPARAM WParam = 0;
  LPARAM LParam = 0;
  LRESULT Result = 0;

  WORD WParamLo() const { return LOWORD(WParam); }
  WORD WParamHi() const { return HIWORD(WParam); }
  WORD LParamLo() const { return LOWORD(uintptr_t(LParam)); }
  WORD LParamHi() const { return HIWORD(uintptr_t(LParam)); }
  WORD ResultLo() const { return LOWORD(uintptr_t(Result)); }
};

// Views over a TMessage (reading and writing its fields by meaning).
struct TWMMouse {
  TMessage& M;
  WPARAM Keys() const { return M.WParam; }
  int XPos() const { return GET_X_LPARAM(M.LParam); }
  int YPos() const { return GET_Y_LPARAM(M.LParam); }
  POINT Pos() const { return {XPos(), YPos()}; }
};

struct TWMMouseWheel {
  TMessage& M;
  WORD Keys() const { return GET_KEYSTATE_WPARAM(M.WParam); }
  int WheelDelta() const { return GET_WHEEL_DELTA_WPARAM(M.WParam); }
  // Screen coordinates.
  int XPos() const { return GET_X_LPARAM(M.LParam); }
  int YPos() const { return GET_Y_LPARAM(M.LParam); }
};

struct TWMKey {
  TMessage& M;
  WORD CharCode() const { return WORD(M.WParam); }
  void SetCharCode(WORD c) { M.WParam = c; }
  LPARAM KeyData() const { return M.LParam; }
};

// Character messages carry a Unicode code point in WParam.
struct TWMChar {
  TMessage& M;
  uint32_t CharCode() const { return uint32_t(M.WParam); }
  void SetCharCode(uint32_t c) { M.WParam = c; }
};

struct TWMTimer {
  TMessage& M;
  UINT_PTR TimerID() const { return M.WParam; }
  TIMERPROC TimerProc() const { return reinterpret_cast<TIMERPROC>(M.LParam); }
};

struct TWMPaint {
  TMessage& M;
  HDC DC() const { return reinterpret_cast<HDC>(M.WParam); }
};

struct TWMEraseBkgnd {
  TMessage& M;
  HDC DC() const { return reinterpret_cast<HDC>(M.WParam); }
};

struct TWMSize {
  TMessage& M;
  WPARAM SizeType() const { return M.WParam; }
  int Width() const { return M.LParamLo(); }
  int Height() const { return M.LParamHi(); }
};

struct TWMMove {
  TMessage& M;
  int XPos() const { return GET_X_LPARAM(M.LParam); }
  int YPos() const { return GET_Y_LPARAM(M.LParam); }
};

struct TWMNCHitTest {
  TMessage& M;
  // Screen coordinates.
  int XPos() const { return GET_X_LPARAM(M.LParam); }
  int YPos() const { return GET_Y_LPARAM(M.LParam); }
};

struct TWMNCCalcSize {
  TMessage& M;
  bool CalcValidRects() const { return M.WParam != 0; }
  // The proposed window rectangle in, the client rectangle out (parent coordinates).
  NCCALCSIZE_PARAMS* CalcSize_Params() const {
    return reinterpret_cast<NCCALCSIZE_PARAMS*>(M.LParam);
  }
};

struct TWMWindowPosMsg {
  TMessage& M;
  WINDOWPOS* WindowPos() const { return reinterpret_cast<WINDOWPOS*>(M.LParam); }
};

struct TWMSetFocus {
  TMessage& M;
  HWND FocusedWnd() const { return reinterpret_cast<HWND>(M.WParam); }
};

struct TWMKillFocus {
  TMessage& M;
  HWND FocusedWnd() const { return reinterpret_cast<HWND>(M.WParam); }
};

struct TWMCaptureChanged {
  TMessage& M;
  HWND NewCapture() const { return reinterpret_cast<HWND>(M.LParam); }
};

struct TWMSetCursor {
  TMessage& M;
  HWND CursorWnd() const { return reinterpret_cast<HWND>(M.WParam); }
  SHORT HitTest() const { return SHORT(M.LParamLo()); }
  WORD MouseMsg() const { return M.LParamHi(); }
};

// ---------------------------------------------------------------------------------------------
// Control-library notifications. They sit below the registered range and above WM_APP's common
// use; the order is ours.
constexpr UINT CM_BASE = 0xB000;
constexpr UINT CM_ACTIVATE = CM_BASE + 0;
constexpr UINT CM_DEACTIVATE = CM_BASE + 1;
constexpr UINT CM_GOTFOCUS = CM_BASE + 2;
constexpr UINT CM_LOSTFOCUS = CM_BASE + 3;
constexpr UINT CM_CANCELMODE = CM_BASE + 4;
constexpr UINT CM_DIALOGKEY = CM_BASE + 5;
constexpr UINT CM_DIALOGCHAR = CM_BASE + 6;
constexpr UINT CM_FOCUSCHANGED = CM_BASE + 7;
constexpr UINT CM_PARENTFONTCHANGED = CM_BASE + 8;
constexpr UINT CM_PARENTCOLORCHANGED = CM_BASE + 9;
constexpr UINT CM_HITTEST = CM_BASE + 10;
constexpr UINT CM_VISIBLECHANGED = CM_BASE + 11;
constexpr UINT CM_ENABLEDCHANGED = CM_BASE + 12;
constexpr UINT CM_COLORCHANGED = CM_BASE + 13;
constexpr UINT CM_FONTCHANGED = CM_BASE + 14;
constexpr UINT CM_CURSORCHANGED = CM_BASE + 15;
constexpr UINT CM_CTL3DCHANGED = CM_BASE + 16;
constexpr UINT CM_PARENTCTL3DCHANGED = CM_BASE + 17;
constexpr UINT CM_TEXTCHANGED = CM_BASE + 18;
constexpr UINT CM_MOUSEENTER = CM_BASE + 19;
constexpr UINT CM_MOUSELEAVE = CM_BASE + 20;
constexpr UINT CM_MENUCHANGED = CM_BASE + 21;
constexpr UINT CM_APPKEYDOWN = CM_BASE + 22;
constexpr UINT CM_APPSYSCOMMAND = CM_BASE + 23;
constexpr UINT CM_BUTTONPRESSED = CM_BASE + 24;
constexpr UINT CM_SHOWINGCHANGED = CM_BASE + 25;
constexpr UINT CM_ENTER = CM_BASE + 26;
constexpr UINT CM_EXIT = CM_BASE + 27;
constexpr UINT CM_DESIGNHITTEST = CM_BASE + 28;
constexpr UINT CM_ICONCHANGED = CM_BASE + 29;
constexpr UINT CM_WANTSPECIALKEY = CM_BASE + 30;
constexpr UINT CM_INVOKEHELP = CM_BASE + 31;
constexpr UINT CM_WINDOWHOOK = CM_BASE + 32;
constexpr UINT CM_RELEASE = CM_BASE + 33;
constexpr UINT CM_SHOWHINTCHANGED = CM_BASE + 34;
constexpr UINT CM_PARENTSHOWHINTCHANGED = CM_BASE + 35;
constexpr UINT CM_SYSCOLORCHANGE = CM_BASE + 36;
constexpr UINT CM_WININICHANGE = CM_BASE + 37;
constexpr UINT CM_FONTCHANGE = CM_BASE + 38;
constexpr UINT CM_TIMECHANGE = CM_BASE + 39;
constexpr UINT CM_TABSTOPCHANGED = CM_BASE + 40;
constexpr UINT CM_UIACTIVATE = CM_BASE + 41;
constexpr UINT CM_UIDEACTIVATE = CM_BASE + 42;
constexpr UINT CM_DOCWINDOWACTIVATE = CM_BASE + 43;
constexpr UINT CM_CONTROLLISTCHANGE = CM_BASE + 44;
constexpr UINT CM_GETDATALINK = CM_BASE + 45;
constexpr UINT CM_CHILDKEY = CM_BASE + 46;
constexpr UINT CM_DRAG = CM_BASE + 47;
constexpr UINT CM_HINTSHOW = CM_BASE + 48;
constexpr UINT CM_DIALOGHANDLE = CM_BASE + 49;
constexpr UINT CM_ISTOOLCONTROL = CM_BASE + 50;
constexpr UINT CM_RECREATEWND = CM_BASE + 51;
constexpr UINT CM_INVALIDATE = CM_BASE + 52;
constexpr UINT CM_SYSFONTCHANGED = CM_BASE + 53;
constexpr UINT CM_CONTROLCHANGE = CM_BASE + 54;
constexpr UINT CM_CHANGED = CM_BASE + 55;
constexpr UINT CM_DOCKCLIENT = CM_BASE + 56;
constexpr UINT CM_UNDOCKCLIENT = CM_BASE + 57;
constexpr UINT CM_FLOAT = CM_BASE + 58;
constexpr UINT CM_BORDERCHANGED = CM_BASE + 59;
constexpr UINT CM_BIDIMODECHANGED = CM_BASE + 60;
constexpr UINT CM_PARENTBIDIMODECHANGED = CM_BASE + 61;
constexpr UINT CM_ALLCHILDRENFLIPPED = CM_BASE + 62;
constexpr UINT CM_ACTIONUPDATE = CM_BASE + 63;
constexpr UINT CM_ACTIONEXECUTE = CM_BASE + 64;
constexpr UINT CM_HINTSHOWPAUSE = CM_BASE + 65;
constexpr UINT CM_DOCKNOTIFICATION = CM_BASE + 66;
constexpr UINT CM_MOUSEWHEEL = CM_BASE + 67;
constexpr UINT CM_ISSHORTCUT = CM_BASE + 68;
constexpr UINT CM_INVALIDATEDOCKHOST = CM_BASE + 69;
constexpr UINT CM_SETACTIVECONTROL = CM_BASE + 70;
constexpr UINT CM_POPUPHWNDDESTROY = CM_BASE + 71;
constexpr UINT CM_CREATEPOPUP = CM_BASE + 72;
constexpr UINT CM_DESTROYHANDLE = CM_BASE + 73;
constexpr UINT CM_MOUSEACTIVATE = CM_BASE + 74;
constexpr UINT CM_CONTROLLISTCHANGING = CM_BASE + 75;
constexpr UINT CM_BUFFEREDPRINTCLIENT = CM_BASE + 76;
constexpr UINT CM_UNTHEMECONTROL = CM_BASE + 77;

// Notifications reflected back to the control that caused them: CN_BASE + the window message.
constexpr UINT CN_BASE = 0xBC00;
constexpr UINT CN_CHARTOITEM = CN_BASE + 0x002F;
constexpr UINT CN_COMMAND = CN_BASE + WM_COMMAND;
constexpr UINT CN_CTLCOLOREDIT = CN_BASE + WM_CTLCOLOREDIT;
constexpr UINT CN_CTLCOLORSCROLLBAR = CN_BASE + WM_CTLCOLORSCROLLBAR;
constexpr UINT CN_CTLCOLORSTATIC = CN_BASE + WM_CTLCOLORSTATIC;
constexpr UINT CN_HSCROLL = CN_BASE + WM_HSCROLL;
constexpr UINT CN_VSCROLL = CN_BASE + WM_VSCROLL;
constexpr UINT CN_KEYDOWN = CN_BASE + WM_KEYDOWN;
constexpr UINT CN_KEYUP = CN_BASE + WM_KEYUP;
constexpr UINT CN_CHAR = CN_BASE + WM_CHAR;
constexpr UINT CN_SYSKEYDOWN = CN_BASE + WM_SYSKEYDOWN;
constexpr UINT CN_SYSKEYUP = CN_BASE + WM_SYSKEYUP;
constexpr UINT CN_SYSCHAR = CN_BASE + WM_SYSCHAR;
constexpr UINT CN_NOTIFY = CN_BASE + WM_NOTIFY;
