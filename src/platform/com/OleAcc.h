#pragma once
// The accessibility interfaces assistive tools ask: IAccessible with its child ids, roles, states
// and navigation directions, and IOleWindow.

#include <string>

#include "platform/com/ComObj.h"

struct TWindowHandleTag;
using HWND = TWindowHandleTag*;
using BOOL = int32_t;

constexpr LONG CHILDID_SELF = 0;
constexpr LONG OBJID_WINDOW = 0;
constexpr LONG OBJID_CLIENT = -4;

constexpr LONG NAVDIR_UP = 1;
constexpr LONG NAVDIR_DOWN = 2;
constexpr LONG NAVDIR_LEFT = 3;
constexpr LONG NAVDIR_RIGHT = 4;
constexpr LONG NAVDIR_NEXT = 5;
constexpr LONG NAVDIR_PREVIOUS = 6;
constexpr LONG NAVDIR_FIRSTCHILD = 7;
constexpr LONG NAVDIR_LASTCHILD = 8;

constexpr LONG ROLE_SYSTEM_TITLEBAR = 0x01;
constexpr LONG ROLE_SYSTEM_MENUBAR = 0x02;
constexpr LONG ROLE_SYSTEM_SCROLLBAR = 0x03;
constexpr LONG ROLE_SYSTEM_GRIP = 0x04;
constexpr LONG ROLE_SYSTEM_WINDOW = 0x09;
constexpr LONG ROLE_SYSTEM_CLIENT = 0x0A;
constexpr LONG ROLE_SYSTEM_MENUPOPUP = 0x0B;
constexpr LONG ROLE_SYSTEM_MENUITEM = 0x0C;
constexpr LONG ROLE_SYSTEM_TOOLTIP = 0x0D;
constexpr LONG ROLE_SYSTEM_APPLICATION = 0x0E;
constexpr LONG ROLE_SYSTEM_PANE = 0x10;
constexpr LONG ROLE_SYSTEM_GROUPING = 0x14;
constexpr LONG ROLE_SYSTEM_SEPARATOR = 0x15;
constexpr LONG ROLE_SYSTEM_TOOLBAR = 0x16;
constexpr LONG ROLE_SYSTEM_STATUSBAR = 0x17;
constexpr LONG ROLE_SYSTEM_LIST = 0x21;
constexpr LONG ROLE_SYSTEM_LISTITEM = 0x22;
constexpr LONG ROLE_SYSTEM_OUTLINE = 0x23;
constexpr LONG ROLE_SYSTEM_OUTLINEITEM = 0x24;
constexpr LONG ROLE_SYSTEM_PAGETAB = 0x25;
constexpr LONG ROLE_SYSTEM_STATICTEXT = 0x29;
constexpr LONG ROLE_SYSTEM_TEXT = 0x2A;
constexpr LONG ROLE_SYSTEM_PUSHBUTTON = 0x2B;
constexpr LONG ROLE_SYSTEM_CHECKBUTTON = 0x2C;
constexpr LONG ROLE_SYSTEM_RADIOBUTTON = 0x2D;
constexpr LONG ROLE_SYSTEM_COMBOBOX = 0x2E;
constexpr LONG ROLE_SYSTEM_PROGRESSBAR = 0x30;
constexpr LONG ROLE_SYSTEM_BUTTONDROPDOWN = 0x38;
constexpr LONG ROLE_SYSTEM_BUTTONMENU = 0x39;
constexpr LONG ROLE_SYSTEM_PAGETABLIST = 0x3C;
constexpr LONG ROLE_SYSTEM_CLOCK = 0x3D;
constexpr LONG ROLE_SYSTEM_SPLITBUTTON = 0x3E;

constexpr LONG STATE_SYSTEM_NORMAL = 0;
constexpr LONG STATE_SYSTEM_UNAVAILABLE = 0x1;
constexpr LONG STATE_SYSTEM_SELECTED = 0x2;
constexpr LONG STATE_SYSTEM_FOCUSED = 0x4;
constexpr LONG STATE_SYSTEM_PRESSED = 0x8;
constexpr LONG STATE_SYSTEM_CHECKED = 0x10;
constexpr LONG STATE_SYSTEM_MIXED = 0x20;
constexpr LONG STATE_SYSTEM_READONLY = 0x40;
constexpr LONG STATE_SYSTEM_HOTTRACKED = 0x80;
constexpr LONG STATE_SYSTEM_DEFAULT = 0x100;
constexpr LONG STATE_SYSTEM_EXPANDED = 0x200;
constexpr LONG STATE_SYSTEM_COLLAPSED = 0x400;
constexpr LONG STATE_SYSTEM_BUSY = 0x800;
constexpr LONG STATE_SYSTEM_FLOATING = 0x1000;
constexpr LONG STATE_SYSTEM_MARQUEED = 0x2000;
constexpr LONG STATE_SYSTEM_ANIMATED = 0x4000;
constexpr LONG STATE_SYSTEM_INVISIBLE = 0x8000;
constexpr LONG STATE_SYSTEM_OFFSCREEN = 0x10000;
constexpr LONG STATE_SYSTEM_SIZEABLE = 0x20000;
constexpr LONG STATE_SYSTEM_MOVEABLE = 0x40000;
constexpr LONG STATE_SYSTEM_FOCUSABLE = 0x100000;
constexpr LONG STATE_SYSTEM_SELECTABLE = 0x200000;
constexpr LONG STATE_SYSTEM_LINKED = 0x400000;
constexpr LONG STATE_SYSTEM_TRAVERSED = 0x800000;
constexpr LONG STATE_SYSTEM_MULTISELECTABLE = 0x1000000;
constexpr LONG STATE_SYSTEM_HASPOPUP = 0x40000000;

// Texts are UTF-8; the out strings are cleared when nothing is answered.
class IAccessible : public IDispatch {
 public:
  virtual HRESULT get_accParent(IDispatch** ppdispParent) = 0;
  virtual HRESULT get_accChildCount(LONG* pcountChildren) = 0;
  virtual HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild) = 0;
  virtual HRESULT get_accName(VARIANT varChild, std::string* pszName) = 0;
  virtual HRESULT get_accValue(VARIANT varChild, std::string* pszValue) = 0;
  virtual HRESULT get_accDescription(VARIANT varChild, std::string* pszDescription) = 0;
  virtual HRESULT get_accRole(VARIANT varChild, VARIANT* pvarRole) = 0;
  virtual HRESULT get_accState(VARIANT varChild, VARIANT* pvarState) = 0;
  virtual HRESULT get_accHelp(VARIANT varChild, std::string* pszHelp) = 0;
  virtual HRESULT get_accHelpTopic(std::string* pszHelpFile, VARIANT varChild, LONG* pidTopic) = 0;
  virtual HRESULT get_accKeyboardShortcut(VARIANT varChild, std::string* pszKeyboardShortcut) = 0;
  virtual HRESULT get_accFocus(VARIANT* pvarChild) = 0;
  virtual HRESULT get_accSelection(VARIANT* pvarChildren) = 0;
  virtual HRESULT get_accDefaultAction(VARIANT varChild, std::string* pszDefaultAction) = 0;
  virtual HRESULT accSelect(LONG flagsSelect, VARIANT varChild) = 0;
  virtual HRESULT accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                              VARIANT varChild) = 0;
  virtual HRESULT accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt) = 0;
  virtual HRESULT accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) = 0;
  virtual HRESULT accDoDefaultAction(VARIANT varChild) = 0;
  virtual HRESULT put_accName(VARIANT varChild, const std::string& szName) = 0;
  virtual HRESULT put_accValue(VARIANT varChild, const std::string& szValue) = 0;

 protected:
  ~IAccessible() = default;
};
extern const IID IID_IAccessible;

class IOleWindow : public IUnknown {
 public:
  virtual HRESULT GetWindow(HWND* phwnd) = 0;
  virtual HRESULT ContextSensitiveHelp(BOOL fEnterMode) = 0;

 protected:
  ~IOleWindow() = default;
};
extern const IID IID_IOleWindow;
