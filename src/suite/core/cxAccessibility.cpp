#include "suite/core/cxAccessibility.h"

#include <QWidget>
#include <cctype>

#include "platform/com/AccessibleBridge.h"
#include "platform/gui/Menus.h"
#include "platform/sys/Modules.h"
#include "platform/win/QtWindows.h"
#include "platform/win/Windows.h"
#include "suite/core/dxCore.h"

const IID IID_IcxAccessibilityHelper = {
    0x6F1A9C3E, 0x52B4, 0x4D7A, {0x9E, 0x21, 0x3C, 0x8B, 0x47, 0xD0, 0x15, 0xA6}};

namespace {

using TAccessibleObjectFromWindow = HRESULT (*)(HWND, DWORD, const IID&, void**);
HMODULE gOleAccLibrary = nullptr;
TAccessibleObjectFromWindow gAccessibleObjectFromWindow = nullptr;
int gUnitCount = 0;

// No exception of a helper crosses to the accessibility client.
template <class F>
HRESULT Guarded(F&& Body) {
  try {
    return Body();
  } catch (...) {
    return E_FAIL;
  }
}

IDispatch* DispatchOf(TcxAccessibilityHelper* Helper) {
  IAccessible* acc = Helper;
  acc->AddRef();
  return acc;
}

// The character after a single "&", upper-cased; empty when the text has none.
std::string AcceleratorOf(const std::string& Text) {
  for (size_t i = 0; i + 1 < Text.size(); ++i) {
    if (Text[i] != '&') continue;
    if (Text[i + 1] == '&') {
      ++i;
      continue;
    }
    size_t len = 1;
    auto lead = static_cast<unsigned char>(Text[i + 1]);
    if (lead >= 0xF0) len = 4;
    else if (lead >= 0xE0) len = 3;
    else if (lead >= 0xC0) len = 2;
    std::string c = Text.substr(i + 1, len);
    if (len == 1) c[0] = char(std::toupper(lead));
    return c;
  }
  return {};
}

TcxAccessibilityNavigationDirection DirectionOf(LONG NavDir) {
  switch (NavDir) {
    case NAVDIR_DOWN: return andDown;
    case NAVDIR_LEFT: return andLeft;
    case NAVDIR_RIGHT: return andRight;
    case NAVDIR_NEXT: return andNext;
    case NAVDIR_PREVIOUS: return andPrev;
    default: return andUp;
  }
}

}  // namespace

TcxAccessibilityHelper::TcxAccessibilityHelper(TObject* AOwnerObject) : FOwnerObject(AOwnerObject) {}

TcxAccessibilityHelper::~TcxAccessibilityHelper() = default;

HRESULT TcxAccessibilityHelper::QueryInterface(const IID& riid, void** ppvObject) {
  if (!ppvObject) return E_POINTER;
  *ppvObject = nullptr;
  if (riid == IID_IUnknown || riid == IID_IcxAccessibilityHelper)
    *ppvObject = static_cast<IcxAccessibilityHelper*>(this);
  else if (riid == IID_IDispatch || riid == IID_IAccessible)
    *ppvObject = static_cast<IAccessible*>(this);
  else if (riid == IID_IOleWindow)
    *ppvObject = static_cast<IOleWindow*>(this);
  else
    return E_NOINTERFACE;
  AddRef();
  return S_OK;
}

ULONG TcxAccessibilityHelper::AddRef() { return ++FRefCount; }

ULONG TcxAccessibilityHelper::Release() {
  ULONG n = --FRefCount;
  if (n == 0) delete this;
  return n;
}

HRESULT TcxAccessibilityHelper::GetTypeInfoCount(unsigned*) { return E_NOTIMPL; }
HRESULT TcxAccessibilityHelper::GetTypeInfo(unsigned, uint32_t, void**) { return E_NOTIMPL; }
HRESULT TcxAccessibilityHelper::GetIDsOfNames(const IID&, const char* const*, unsigned, uint32_t,
                                              int32_t*) {
  return E_NOTIMPL;
}
HRESULT TcxAccessibilityHelper::Invoke(int32_t, const IID&, uint32_t, uint16_t, void*, void*, void*,
                                       unsigned*) {
  return E_NOTIMPL;
}

TcxAccessibilityHelper::TChildCheck TcxAccessibilityHelper::CheckChild(const VARIANT& varChild,
                                                                       HRESULT& Result,
                                                                       int& ChildID) {
  if (!FIsOwnerObjectLive) {
    Result = S_OK;
    return TChildCheck::Done;
  }
  if (varChild.vt == VT_I4 && varChild.lVal == CHILDID_SELF) {
    ChildID = CHILDID_SELF;
    return TChildCheck::Self;
  }
  // Ids below 1 name no child: they never reach ChildIsElement.
  if (varChild.vt != VT_I4 || varChild.lVal < 1 || varChild.lVal > ChildCount()) {
    Result = E_INVALIDARG;
    return TChildCheck::Done;
  }
  int index = varChild.lVal - 1;
  if (ChildIsElement(index)) {
    ChildID = index;
    return TChildCheck::Element;
  }
  // A child with an object of its own answers through that object.
  Result = E_INVALIDARG;
  return TChildCheck::Done;
}

template <class F>
HRESULT TcxAccessibilityHelper::ForChild(const VARIANT& varChild, F&& Body) {
  return Guarded([&] {
    HRESULT r = S_OK;
    int id = 0;
    if (CheckChild(varChild, r, id) == TChildCheck::Done) return r;
    return Body(id);
  });
}

void TcxAccessibilityHelper::ConvertObjectChild(VARIANT& V) {
  if (V.vt != VT_I4 || V.lVal < 1 || ChildIsElement(V.lVal - 1)) return;
  if (TcxAccessibilityHelper* child = ChildAt(V.lVal - 1)) V = VARIANT::Dispatch(DispatchOf(child));
}

void TcxAccessibilityHelper::ChildToVariant(int Index, VARIANT& V) {
  V = VARIANT::I4(Index + 1);
  ConvertObjectChild(V);
}

HRESULT TcxAccessibilityHelper::TextProperty(const VARIANT& varChild, int Bit, std::string* Out,
                                             std::string (TcxAccessibilityHelper::*Get)(int),
                                             bool EmptyIsFalse) {
  if (!Out) return E_POINTER;
  Out->clear();
  return ForChild(varChild, [&](int id) {
    if (Bit != 0 && (SupportedProperties(id) & Bit) == 0) return DISP_E_MEMBERNOTFOUND;
    *Out = (this->*Get)(id);
    return EmptyIsFalse && Out->empty() ? S_FALSE : S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accParent(IDispatch** ppdispParent) {
  if (!ppdispParent) return E_POINTER;
  *ppdispParent = nullptr;
  if (!FIsOwnerObjectLive) return S_OK;
  return Guarded([&] {
    if (TcxAccessibilityHelper* parent = QueryParent()) {
      *ppdispParent = DispatchOf(parent);
      return S_OK;
    }
    HWND owner = OwnerWindow();
    if (!owner) return S_FALSE;
    HWND around = (GetWindowLong(owner, GWL_STYLE) & WS_CHILD) ? GetParent(owner) : GetDesktopWindow();
    if (gAccessibleObjectFromWindow) {
      void* p = nullptr;
      if (SUCCEEDED(gAccessibleObjectFromWindow(around, DWORD(OBJID_WINDOW), IID_IAccessible, &p)) && p)
        *ppdispParent = static_cast<IAccessible*>(p);
    } else if (QWidget* w = around ? GetWindowWidget(around) : nullptr) {
      // Without the system's library the window's object comes from Qt's accessibility.
      *ppdispParent = AccessibleFromQtObject(w).detach();
    }
    return *ppdispParent ? S_OK : S_FALSE;
  });
}

HRESULT TcxAccessibilityHelper::get_accChildCount(LONG* pcountChildren) {
  if (!pcountChildren) return E_POINTER;
  *pcountChildren = 0;
  if (!FIsOwnerObjectLive) return S_OK;
  return Guarded([&] {
    *pcountChildren = ChildCount();
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accChild(VARIANT varChild, IDispatch** ppdispChild) {
  if (!ppdispChild) return E_POINTER;
  *ppdispChild = nullptr;
  if (!FIsOwnerObjectLive) return S_OK;
  return Guarded([&] {
    if (varChild.vt != VT_I4 || varChild.lVal < 1 || varChild.lVal > ChildCount()) return E_INVALIDARG;
    int index = varChild.lVal - 1;
    if (ChildIsElement(index)) return S_FALSE;
    TcxAccessibilityHelper* child = ChildAt(index);
    if (!child) return S_FALSE;
    *ppdispChild = DispatchOf(child);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accName(VARIANT varChild, std::string* pszName) {
  return TextProperty(varChild, 0, pszName, &TcxAccessibilityHelper::NameText, true);
}

HRESULT TcxAccessibilityHelper::get_accValue(VARIANT varChild, std::string* pszValue) {
  return TextProperty(varChild, cxAccessibleValue, pszValue, &TcxAccessibilityHelper::ValueText, false);
}

HRESULT TcxAccessibilityHelper::get_accDescription(VARIANT varChild, std::string* pszDescription) {
  return TextProperty(varChild, cxAccessibleDescription, pszDescription,
                      &TcxAccessibilityHelper::DescriptionText, true);
}

HRESULT TcxAccessibilityHelper::get_accDefaultAction(VARIANT varChild, std::string* pszDefaultAction) {
  return TextProperty(varChild, cxAccessibleDefaultAction, pszDefaultAction,
                      &TcxAccessibilityHelper::DefaultActionText, false);
}

HRESULT TcxAccessibilityHelper::get_accRole(VARIANT varChild, VARIANT* pvarRole) {
  if (!pvarRole) return E_POINTER;
  pvarRole->Clear();
  return ForChild(varChild, [&](int id) {
    *pvarRole = VARIANT::I4(RoleOf(id));
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accState(VARIANT varChild, VARIANT* pvarState) {
  if (!pvarState) return E_POINTER;
  pvarState->Clear();
  return ForChild(varChild, [&](int id) {
    *pvarState = VARIANT::I4(StateOf(id));
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accHelp(VARIANT varChild, std::string* pszHelp) {
  if (!pszHelp) return E_POINTER;
  pszHelp->clear();
  return ForChild(varChild, [](int) { return DISP_E_MEMBERNOTFOUND; });
}

HRESULT TcxAccessibilityHelper::get_accHelpTopic(std::string* pszHelpFile, VARIANT varChild,
                                                 LONG* pidTopic) {
  if (!pszHelpFile || !pidTopic) return E_POINTER;
  pszHelpFile->clear();
  *pidTopic = 0;
  return ForChild(varChild, [](int) { return DISP_E_MEMBERNOTFOUND; });
}

HRESULT TcxAccessibilityHelper::get_accKeyboardShortcut(VARIANT varChild,
                                                        std::string* pszKeyboardShortcut) {
  if (!pszKeyboardShortcut) return E_POINTER;
  pszKeyboardShortcut->clear();
  return ForChild(varChild, [&](int id) {
    if ((SupportedProperties(id) & cxAccessibleKeyboardShortcut) == 0) return DISP_E_MEMBERNOTFOUND;
    TShortCut shortCut = 0;
    std::string text;
    KeyboardShortcutText(id, shortCut, text);
    std::string accel = AcceleratorOf(text);
    *pszKeyboardShortcut = accel.empty() ? ShortCutToText(shortCut) : accel;
    return pszKeyboardShortcut->empty() ? S_FALSE : S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accFocus(VARIANT* pvarChild) {
  if (!pvarChild) return E_POINTER;
  pvarChild->Clear();
  if (!FIsOwnerObjectLive) return S_OK;
  return Guarded([&] {
    if ((SupportedProperties(CHILDID_SELF) & cxAccessibleFocus) == 0) return DISP_E_MEMBERNOTFOUND;
    bool isChild = false;
    int index = 0;
    if (!FocusedChild(isChild, index)) return S_FALSE;
    if (isChild && index >= 0 && index < ChildCount())
      ChildToVariant(index, *pvarChild);
    else
      *pvarChild = VARIANT::I4(CHILDID_SELF);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::get_accSelection(VARIANT* pvarChildren) {
  if (!pvarChildren) return E_POINTER;
  pvarChildren->Clear();
  return FIsOwnerObjectLive ? DISP_E_MEMBERNOTFOUND : S_OK;
}

HRESULT TcxAccessibilityHelper::accSelect(LONG, VARIANT varChild) {
  return ForChild(varChild, [](int) { return DISP_E_MEMBERNOTFOUND; });
}

HRESULT TcxAccessibilityHelper::accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth,
                                            LONG* pcyHeight, VARIANT varChild) {
  if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight) return E_POINTER;
  *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
  return ForChild(varChild, [&](int id) {
    if ((SupportedProperties(CHILDID_SELF) & cxAccessibleLocation) == 0) return DISP_E_MEMBERNOTFOUND;
    TRect b = ScreenBoundsOf(id);
    *pxLeft = b.Left;
    *pyTop = b.Top;
    *pcxWidth = b.Width();
    *pcyHeight = b.Height();
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt) {
  if (!pvarEndUpAt) return E_POINTER;
  pvarEndUpAt->Clear();
  if (!FIsOwnerObjectLive) return S_OK;
  return Guarded([&] {
    bool fromSelf = varStart.vt == VT_I4 && varStart.lVal == CHILDID_SELF;
    if (navDir == NAVDIR_FIRSTCHILD || navDir == NAVDIR_LASTCHILD) {
      if (!fromSelf) return E_INVALIDARG;
      if ((SupportedProperties(CHILDID_SELF) & cxAccessibleLocation) == 0) return DISP_E_MEMBERNOTFOUND;
      int count = ChildCount();
      if (count == 0) return S_FALSE;
      ChildToVariant(navDir == NAVDIR_FIRSTCHILD ? 0 : count - 1, *pvarEndUpAt);
      return S_OK;
    }
    if (fromSelf) {
      TcxAccessibilityHelper* parent = QueryParent();
      if (!parent) return S_FALSE;
      if (!parent->IsOwnerObjectLive()) return S_OK;
      if ((parent->SupportedProperties(CHILDID_SELF) & cxAccessibleLocation) == 0) return S_FALSE;
      HRESULT r = parent->accNavigate(navDir, VARIANT::I4(parent->IndexOfChild(this) + 1), pvarEndUpAt);
      if (r == S_OK) return S_OK;
      pvarEndUpAt->Clear();
      return S_FALSE;
    }
    int count = ChildCount();
    if (varStart.vt != VT_I4 || varStart.lVal < 1 || varStart.lVal > count) return E_INVALIDARG;
    if ((SupportedProperties(CHILDID_SELF) & cxAccessibleLocation) == 0) return DISP_E_MEMBERNOTFOUND;
    int start = varStart.lVal - 1;
    int reached = NavigateFrom(start, DirectionOf(navDir));
    if (reached == start || reached < 0 || reached >= count) return S_FALSE;
    ChildToVariant(reached, *pvarEndUpAt);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) {
  if (!pvarChild) return E_POINTER;
  pvarChild->Clear();
  if (!FIsOwnerObjectLive) return S_OK;
  return Guarded([&] {
    if ((SupportedProperties(CHILDID_SELF) & cxAccessibleLocation) == 0) return DISP_E_MEMBERNOTFOUND;
    if (!ScreenBoundsOf(CHILDID_SELF).Contains(TPoint(xLeft, yTop))) return S_FALSE;
    int index = 0;
    switch (HitTestChild(xLeft, yTop, index)) {
      case ahtSelf: *pvarChild = VARIANT::I4(CHILDID_SELF); return S_OK;
      case ahtChild:
        if (index < 0 || index >= ChildCount()) return S_FALSE;
        ChildToVariant(index, *pvarChild);
        return S_OK;
      default: return S_FALSE;
    }
  });
}

HRESULT TcxAccessibilityHelper::accDoDefaultAction(VARIANT varChild) {
  return ForChild(varChild, [&](int id) {
    if ((SupportedProperties(id) & cxAccessibleDefaultAction) == 0) return DISP_E_MEMBERNOTFOUND;
    DoDefaultAction(id);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::put_accName(VARIANT varChild, const std::string&) {
  return ForChild(varChild, [](int) { return DISP_E_MEMBERNOTFOUND; });
}

HRESULT TcxAccessibilityHelper::put_accValue(VARIANT varChild, const std::string& szValue) {
  return ForChild(varChild, [&](int id) {
    if ((SupportedProperties(id) & cxAccessibleValue) == 0) return DISP_E_MEMBERNOTFOUND;
    SetValueText(id, szValue);
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::GetWindow(HWND* phwnd) {
  if (!FIsOwnerObjectLive) return S_OK;
  if (!phwnd) return E_POINTER;
  return Guarded([&] {
    *phwnd = OwnerWindow();
    return S_OK;
  });
}

HRESULT TcxAccessibilityHelper::ContextSensitiveHelp(BOOL) { return S_OK; }

int TcxAccessibilityHelper::IndexOfChild(TcxAccessibilityHelper*) {
  throw EdxException("The helper has no children to look in");
}

std::string TcxAccessibilityHelper::ValueText(int) {
  throw EdxException("The helper has no value");
}

int TcxAccessibilityHelper::NavigateFrom(int, TcxAccessibilityNavigationDirection) {
  throw EdxException("The helper has no children to navigate");
}

TcxAccessibilityHelper* TcxAccessibilityHelper::RootHelper() {
  TcxAccessibilityHelper* h = this;
  while (TcxAccessibilityHelper* p = h->QueryParent()) h = p;
  return h;
}

void cxSetWindowAccessibilityHelper(HWND Window, TcxAccessibilityHelper* Helper) {
  if (QWidget* w = Window ? GetWindowWidget(Window) : nullptr)
    SetQtAccessibleObject(w, Helper);
}

void cxAccessibilityInitialize() {
  if (gUnitCount++ > 0) return;
  gOleAccLibrary = LoadLibrary("oleacc.dll");
  if (gOleAccLibrary)
    gAccessibleObjectFromWindow =
        GetProcAddressAs<TAccessibleObjectFromWindow>(gOleAccLibrary, "AccessibleObjectFromWindow");
}

void cxAccessibilityFinalize() {
  if (gUnitCount == 0 || --gUnitCount > 0) return;
  gAccessibleObjectFromWindow = nullptr;
  if (gOleAccLibrary) FreeLibrary(gOleAccLibrary);
  gOleAccLibrary = nullptr;
}
