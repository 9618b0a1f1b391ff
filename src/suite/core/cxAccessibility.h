#pragma once
// The accessibility base of the suite's on-screen objects (bars, item controls, navigation-bar
// groups...): one helper per object answers IAccessible and IOleWindow from a small set of
// virtual operations its descendant fills in; it keeps no tree of its own.

#include <string>

#include "platform/com/OleAcc.h"
#include "platform/gui/ActnList.h"
#include "platform/rtl/System.h"
#include "platform/win/Types.h"

class TcxAccessibilityHelper;

class IcxAccessibilityHelper : public IUnknown {
 public:
  virtual TcxAccessibilityHelper* GetHelper() = 0;
  virtual void OwnerObjectDestroyed() = 0;

 protected:
  ~IcxAccessibilityHelper() = default;
};
extern const IID IID_IcxAccessibilityHelper;

// SupportedProperties bits.
constexpr int cxAccessibleDefaultAction = 0x01;
constexpr int cxAccessibleDescription = 0x02;
constexpr int cxAccessibleFocus = 0x04;
constexpr int cxAccessibleLocation = 0x08;  // also hit testing and navigation
constexpr int cxAccessibleKeyboardShortcut = 0x10;
constexpr int cxAccessibleValue = 0x20;
using TcxAccessibleSimpleChildElementProperties = int;

enum TcxAccessibilityNavigationDirection : int {
  andLeft = 0, andUp = 1, andRight = 2, andDown = 3, andPrev = 4, andNext = 5
};

// HitTestChild answers.
enum TcxAccessibleHitTest : int { ahtNone = 0, ahtSelf = 1, ahtChild = 2 };

// Reference counted through its interfaces; made with one reference, the creator's.
class TcxAccessibilityHelper : public TObject,
                               public IcxAccessibilityHelper,
                               public IAccessible,
                               public IOleWindow {
 public:
  explicit TcxAccessibilityHelper(TObject* AOwnerObject);
  ~TcxAccessibilityHelper() override;

  // IUnknown
  HRESULT QueryInterface(const IID& riid, void** ppvObject) override;
  ULONG AddRef() override;
  ULONG Release() override;
  // IcxAccessibilityHelper
  TcxAccessibilityHelper* GetHelper() override { return this; }
  void OwnerObjectDestroyed() override { MarkOwnerDestroyed(); }
  // IDispatch
  HRESULT GetTypeInfoCount(unsigned* pctinfo) override;
  HRESULT GetTypeInfo(unsigned iTInfo, uint32_t lcid, void** ppTInfo) override;
  HRESULT GetIDsOfNames(const IID& riid, const char* const* rgszNames, unsigned cNames,
                        uint32_t lcid, int32_t* rgDispId) override;
  HRESULT Invoke(int32_t dispIdMember, const IID& riid, uint32_t lcid, uint16_t wFlags,
                 void* pDispParams, void* pVarResult, void* pExcepInfo, unsigned* puArgErr) override;
  // IAccessible
  HRESULT get_accParent(IDispatch** ppdispParent) override;
  HRESULT get_accChildCount(LONG* pcountChildren) override;
  HRESULT get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
  HRESULT get_accName(VARIANT varChild, std::string* pszName) override;
  HRESULT get_accValue(VARIANT varChild, std::string* pszValue) override;
  HRESULT get_accDescription(VARIANT varChild, std::string* pszDescription) override;
  HRESULT get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
  HRESULT get_accState(VARIANT varChild, VARIANT* pvarState) override;
  HRESULT get_accHelp(VARIANT varChild, std::string* pszHelp) override;
  HRESULT get_accHelpTopic(std::string* pszHelpFile, VARIANT varChild, LONG* pidTopic) override;
  HRESULT get_accKeyboardShortcut(VARIANT varChild, std::string* pszKeyboardShortcut) override;
  HRESULT get_accFocus(VARIANT* pvarChild) override;
  HRESULT get_accSelection(VARIANT* pvarChildren) override;
  HRESULT get_accDefaultAction(VARIANT varChild, std::string* pszDefaultAction) override;
  HRESULT accSelect(LONG flagsSelect, VARIANT varChild) override;
  HRESULT accLocation(LONG* pxLeft, LONG* pyTop, LONG* pcxWidth, LONG* pcyHeight,
                      VARIANT varChild) override;
  HRESULT accNavigate(LONG navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
  HRESULT accHitTest(LONG xLeft, LONG yTop, VARIANT* pvarChild) override;
  HRESULT accDoDefaultAction(VARIANT varChild) override;
  HRESULT put_accName(VARIANT varChild, const std::string& szName) override;
  HRESULT put_accValue(VARIANT varChild, const std::string& szValue) override;
  // IOleWindow
  HRESULT GetWindow(HWND* phwnd) override;
  HRESULT ContextSensitiveHelp(BOOL fEnterMode) override;

  // The owner calls it from its destructor; afterwards every question answers S_OK with
  // nothing, without touching the owner.
  virtual void MarkOwnerDestroyed() { FIsOwnerObjectLive = false; }
  // Whether child Index is a simple element without an accessible object of its own. The
  // suite's helpers have none, so the base answers False.
  virtual bool ChildIsElement(int Index) { return false; }
  virtual void DoDefaultAction(int ChildID) {}
  virtual bool FocusedChild(bool& IsChild, int& Index) { return false; }
  virtual TcxAccessibilityHelper* ChildAt(int Index) { return nullptr; }
  virtual int ChildCount() { return 0; }
  virtual int IndexOfChild(TcxAccessibilityHelper* Child);
  virtual std::string DefaultActionText(int ChildID) { return {}; }
  virtual std::string DescriptionText(int ChildID) { return {}; }
  virtual TcxAccessibleHitTest HitTestChild(int X, int Y, int& Index) { return ahtNone; }
  virtual void KeyboardShortcutText(int ChildID, TShortCut& ShortCut, std::string& Text) {
    ShortCut = 0;
    Text.clear();
  }
  virtual std::string NameText(int ChildID) { return {}; }
  virtual HWND OwnerWindow() { return nullptr; }
  virtual TcxAccessibilityHelper* QueryParent() { return nullptr; }
  virtual int RoleOf(int ChildID) { return 0; }
  virtual bool IsSelectable() { return false; }
  virtual int StateOf(int ChildID) { return 0; }
  virtual TcxAccessibleSimpleChildElementProperties SupportedProperties(int ChildID) { return 0; }
  virtual std::string ValueText(int ChildID);
  virtual int NavigateFrom(int Index, TcxAccessibilityNavigationDirection Direction);
  virtual void SetValueText(int ChildID, const std::string& Text) {}
  virtual TRect ScreenBoundsOf(int ChildID) { return TRect(); }

  TcxAccessibilityHelper* RootHelper();
  bool IsShown() { return (StateOf(CHILDID_SELF) & STATE_SYSTEM_INVISIBLE) == 0; }
  TcxAccessibilityHelper* HelperObject() { return this; }
  TObject* OwnerObject() const { return FOwnerObject; }
  bool IsOwnerObjectLive() const { return FIsOwnerObjectLive; }

 private:
  enum class TChildCheck { Done, Self, Element };
  // Resolves a child id: Done with Result set, or the ChildID to go on with.
  TChildCheck CheckChild(const VARIANT& varChild, HRESULT& Result, int& ChildID);
  // Runs Body with the ChildID once the child id passed the check; no exception leaves it.
  template <class F>
  HRESULT ForChild(const VARIANT& varChild, F&& Body);
  // VT_I4 0 for the object, Index + 1 for a child; a child with an object of its own becomes
  // VT_DISPATCH.
  void ChildToVariant(int Index, VARIANT& V);
  void ConvertObjectChild(VARIANT& V);
  HRESULT TextProperty(const VARIANT& varChild, int Bit, std::string* Out,
                       std::string (TcxAccessibilityHelper::*Get)(int), bool EmptyIsFalse);

  TObject* FOwnerObject;
  bool FIsOwnerObjectLive = true;
  ULONG FRefCount = 1;
};

// The virtual constructor of a helper class.
using TcxAccessibilityHelperClass = TcxAccessibilityHelper* (*)(TObject* AOwnerObject);
template <class T>
TcxAccessibilityHelper* CreateForOwner(TObject* AOwnerObject) {
  return new T(AOwnerObject);
}

// Shows a helper to desktop assistive tools as the accessible object of a window (null: the
// window's own again).
void cxSetWindowAccessibilityHelper(HWND Window, TcxAccessibilityHelper* Helper);

void cxAccessibilityInitialize();
void cxAccessibilityFinalize();
