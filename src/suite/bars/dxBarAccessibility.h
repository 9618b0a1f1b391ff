#pragma once
// Accessibility helpers of the bar windows: one per dock site, bar window and item control. Each
// answers the questions of assistive tools (name, role, state, bounds, children) and carries the
// bar manager's keyboard model: what is selectable, where arrows and Tab lead, what selecting an
// object does, and the key tips of its commands. The navigation controller (dxBarNavigation)
// drives them.

#include <string>
#include <vector>

#include "platform/com/ComObj.h"
#include "suite/bars/dxBarKeyTips.h"
#include "suite/core/cxAccessibility.h"

class TdxBarManager;
class TCustomdxBarControl;
class TdxBarItemControl;
class TdxDockControl;
class TdxBarAccessibilityHelper;
class TdxBarNavigationController;

// A counted reference to a helper: the navigation controller and the walks below hold helpers
// through it, so a helper outlives its owner while someone still looks at it.
using TdxBarAccessibilityHelperRef = TComPtr<TdxBarAccessibilityHelper>;

// Directions of spatial navigation.
enum : int { dxBarNavLeft = 0, dxBarNavUp = 1, dxBarNavRight = 2, dxBarNavDown = 3 };
// Flags of ChildInDirection: backward, and across bar windows.
constexpr int dxBarNavBackward = 1;
constexpr int dxBarNavAcrossBars = 4;

// What the navigation controller and the bar windows ask of a helper.
class IdxBarAccessibilityHelper {
 public:
  virtual TdxBarAccessibilityHelper* BarHelper() = 0;
  virtual bool KeyTipsAvailable(IdxBarKeyTipWindowsManager*& WindowsManager) = 0;
  virtual bool AllowsChildNavigation(WORD Key) = 0;
  virtual TdxBarManager* ManagerOfOwner() = 0;
  virtual TdxBarAccessibilityHelper* AsSelectable() = 0;
  virtual TdxBarAccessibilityHelper* NavigateSpatially(int Direction) = 0;
  virtual TdxBarAccessibilityHelper* RootObject() = 0;
  virtual bool ProcessNavigationKey(WORD& Key) = 0;
  virtual bool AcceptsNavigationKey(WORD Key) = 0;
  virtual bool IsNavigationSelected() = 0;
  virtual TdxBarAccessibilityHelper* NavigateToSibling(TShiftState Shift) = 0;
  virtual void TakeSelection(bool ByTab) = 0;
  virtual void ReleaseSelection(TdxBarAccessibilityHelper* NextObject) = 0;

 protected:
  ~IdxBarAccessibilityHelper() = default;
};

class TdxBarAccessibilityHelper : public TcxAccessibilityHelper, public IdxBarAccessibilityHelper {
 public:
  using TcxAccessibilityHelper::TcxAccessibilityHelper;

  void MarkOwnerDestroyed() override;

  // IdxBarAccessibilityHelper
  TdxBarAccessibilityHelper* BarHelper() override { return this; }
  bool KeyTipsAvailable(IdxBarKeyTipWindowsManager*& WindowsManager) override;
  bool AllowsChildNavigation(WORD Key) override { return true; }
  TdxBarManager* ManagerOfOwner() override;
  TdxBarAccessibilityHelper* AsSelectable() override;
  TdxBarAccessibilityHelper* NavigateSpatially(int Direction) override;
  TdxBarAccessibilityHelper* RootObject() override;
  bool ProcessNavigationKey(WORD& Key) override { return false; }
  bool AcceptsNavigationKey(WORD Key) override { return false; }
  bool IsNavigationSelected() override;
  TdxBarAccessibilityHelper* NavigateToSibling(TShiftState Shift) override;
  void TakeSelection(bool ByTab) override;
  void ReleaseSelection(TdxBarAccessibilityHelper* NextObject) override;

  // ---- introduced, in slot order
  virtual std::string KeyTipFromItem() { return {}; }
  virtual std::string GeneratedKeyTip() { return "Y"; }
  virtual std::string KeyTipText();
  virtual std::unique_ptr<TdxBarKeyTipData> NewKeyTipData();
  virtual void FillKeyTipInfo(TdxBarKeyTipInfo& Info);
  virtual void CollectKeyTip(TdxBarKeyTipDataList& List);
  virtual void CollectChildKeyTips(TdxBarKeyTipDataList& List);
  virtual TdxBarAccessibilityHelper* KeyTipParent() { return ParentHelper(); }
  virtual bool HoldsKeyTips() { return IsSelectable(); }
  virtual void KeyTipChosen(TObject* Sender) {}
  virtual void KeyTipsEscaped();
  virtual TdxBarAccessibilityHelper* NavChild(int Index);
  virtual int NavChildCount() { return ChildCount(); }
  virtual int NavChildIndex(TdxBarAccessibilityHelper* Child) { return IndexOfChild(Child); }
  virtual TdxBarAccessibilityHelper* ChildInDirection(int Index, int Flags);
  virtual TdxBarAccessibilityHelper* DefaultSelectable(int Direction) { return FirstSelectable(); }

  // ---- plain operations
  TdxBarAccessibilityHelper* FirstSelectable();
  // The first (Forward) or last selectable helper at or below this one, depth first.
  TdxBarAccessibilityHelper* EdgeSelectable(bool Forward);
  TdxBarAccessibilityHelper* ChildHelper(int Index) { return NavChild(Index); }
  TdxBarAccessibilityHelper* ParentHelper();
  TRect ScreenBounds() { return ScreenBoundsOf(CHILDID_SELF); }
  // The tips of every selectable object below this container, made unique.
  void CollectKeyTips(TdxBarKeyTipDataList& List);
  static void MakeKeyTipsUnique(TdxBarKeyTipDataList& List) { ::MakeKeyTipsUnique(List); }
  // Node and its shown descendants, Origin's branch left out, that are selectable and lie in
  // Direction of OriginBounds (overlapping across it; up and down entirely beyond it).
  static void CollectKeyTipObjects(TdxBarAccessibilityHelper* Origin, TdxBarAccessibilityHelper* Node,
                                   std::vector<TdxBarAccessibilityHelper*>& List, bool Restrict,
                                   int Direction, const TRect& OriginBounds);
  // The next (Forward) or previous selectable object after child Index, climbing to the parent
  // at either end and wrapping at the root.
  TdxBarAccessibilityHelper* NextSelectableFrom(int Index, bool Forward);
};

// The object nearest to Bounds in Direction: the smallest edge distance, then the smallest
// deviation from the direction; left and right wrap to the far end of the row when allowed.
TdxBarAccessibilityHelper* FindNearestObjectInDirection(const TRect& Bounds,
                                                        const std::vector<TdxBarAccessibilityHelper*>& List,
                                                        int Direction, bool Wrap);
// The nearest helper above Helper (through KeyTipParent) that holds key tips, or null.
TdxBarAccessibilityHelper* FindKeyTipContainerAncestor(TdxBarAccessibilityHelper* Helper);
// The helper of the main-menu bar window of the manager of Window, or null.
TdxBarAccessibilityHelper* FindWindowAccessibilityRoot(HWND Window);
// An object's bar helper, or null.
TdxBarAccessibilityHelper* QueryAccessibilityHelper(TcxAccessibilityHelper* Helper);
// Tells the helper that its owner is gone and drops the owner's reference.
void DetachAccessibilityHelper(TcxAccessibilityHelper*& Helper);

// ---- the helpers of the bar windows

class TdxDockControlAccessibilityHelper : public TdxBarAccessibilityHelper {
 public:
  using TdxBarAccessibilityHelper::TdxBarAccessibilityHelper;
  TdxDockControl* DockControl() const;
  TcxAccessibilityHelper* ChildAt(int Index) override;
  int ChildCount() override;
  int IndexOfChild(TcxAccessibilityHelper* Child) override;
  HWND OwnerWindow() override;
  int RoleOf(int ChildID) override { return ROLE_SYSTEM_GROUPING; }
  int StateOf(int ChildID) override;
  TRect ScreenBoundsOf(int ChildID) override;
  TcxAccessibleSimpleChildElementProperties SupportedProperties(int ChildID) override {
    return cxAccessibleLocation;
  }
  TdxBarManager* ManagerOfOwner() override;
};

// Any bar window: a toolbar, a menu bar, a sub-menu or a popup menu.
class TCustomdxBarControlAccessibilityHelper : public TdxBarAccessibilityHelper {
 public:
  using TdxBarAccessibilityHelper::TdxBarAccessibilityHelper;

  // TcxAccessibilityHelper
  TcxAccessibilityHelper* ChildAt(int Index) override;
  int ChildCount() override;
  int IndexOfChild(TcxAccessibilityHelper* Child) override;
  std::string NameText(int ChildID) override;
  HWND OwnerWindow() override;
  TcxAccessibilityHelper* QueryParent() override;
  int RoleOf(int ChildID) override;
  int StateOf(int ChildID) override;
  TRect ScreenBoundsOf(int ChildID) override;
  TcxAccessibleSimpleChildElementProperties SupportedProperties(int ChildID) override {
    return cxAccessibleLocation;
  }
  TcxAccessibleHitTest HitTestChild(int X, int Y, int& Index) override;
  // TdxBarAccessibilityHelper
  TdxBarManager* ManagerOfOwner() override;
  TdxBarAccessibilityHelper* AsSelectable() override { return this; }
  bool AllowsChildNavigation(WORD Key) override;
  bool ProcessNavigationKey(WORD& Key) override;
  void TakeSelection(bool ByTab) override;
  void ReleaseSelection(TdxBarAccessibilityHelper* NextObject) override;
  TdxBarAccessibilityHelper* ChildInDirection(int Index, int Flags) override;
  // Every command of the bar gives a tip, also one the bar cuts off (its tip is forwarded).
  void CollectChildKeyTips(TdxBarKeyTipDataList& List) override;

  // ---- introduced, in slot order
  // Where the tips of hidden controls go; none here, so typing such a tip does nothing.
  virtual TdxBarAccessibilityHelper* OverflowHelper() { return nullptr; }
  virtual TCustomdxBarControl* BarControl() const;
  virtual void KeyTipPosition(TdxBarItemControl* Control, TPoint& BasePoint, uint8_t& VertAlign,
                              uint8_t& HorzAlign);
  virtual TdxBarAccessibilityHelper* NavigateFromItem(TdxBarItemControl* Control, int Direction);
  virtual bool IsContentHidden() { return false; }
  virtual void ClearItemSelection();
};

class TdxBarSubMenuControlAccessibilityHelper : public TCustomdxBarControlAccessibilityHelper {
 public:
  using TCustomdxBarControlAccessibilityHelper::TCustomdxBarControlAccessibilityHelper;
  TdxBarAccessibilityHelper* KeyTipParent() override;
  bool HoldsKeyTips() override { return true; }
  void KeyTipsEscaped() override;
  void ReleaseSelection(TdxBarAccessibilityHelper* NextObject) override;
  void KeyTipPosition(TdxBarItemControl* Control, TPoint& BasePoint, uint8_t& VertAlign,
                      uint8_t& HorzAlign) override;
  void ClearItemSelection() override;
};

class TdxBarItemControlAccessibilityHelper : public TdxBarAccessibilityHelper {
 public:
  using TdxBarAccessibilityHelper::TdxBarAccessibilityHelper;

  TdxBarItemControl* ItemControl() const;
  TCustomdxBarControlAccessibilityHelper* BarHelperOfControl();

  // TcxAccessibilityHelper
  std::string NameText(int ChildID) override;
  HWND OwnerWindow() override;
  TcxAccessibilityHelper* QueryParent() override;
  int RoleOf(int ChildID) override;
  int StateOf(int ChildID) override;
  bool IsSelectable() override;
  TRect ScreenBoundsOf(int ChildID) override;
  void KeyboardShortcutText(int ChildID, TShortCut& ShortCut, std::string& Text) override;
  TcxAccessibleSimpleChildElementProperties SupportedProperties(int ChildID) override {
    return cxAccessibleLocation | cxAccessibleKeyboardShortcut;
  }
  // TdxBarAccessibilityHelper
  TdxBarManager* ManagerOfOwner() override;
  TdxBarAccessibilityHelper* AsSelectable() override { return this; }
  bool ProcessNavigationKey(WORD& Key) override;
  TdxBarAccessibilityHelper* NavigateSpatially(int Direction) override;
  void TakeSelection(bool ByTab) override;
  void ReleaseSelection(TdxBarAccessibilityHelper* NextObject) override;
  std::string KeyTipFromItem() override;
  std::string GeneratedKeyTip() override;
  void FillKeyTipInfo(TdxBarKeyTipInfo& Info) override;
  void KeyTipChosen(TObject* Sender) override;

  // ---- introduced
  virtual bool ForwardsKeyTip() { return false; }

 private:
  void ForwardKeyTip(TObject* Sender);
};

class TdxBarButtonLikeControlAccessibilityHelper : public TdxBarItemControlAccessibilityHelper {
 public:
  using TdxBarItemControlAccessibilityHelper::TdxBarItemControlAccessibilityHelper;
  bool ForwardsKeyTip() override { return OpensSubMenu(); }
  void KeyTipChosen(TObject* Sender) override;
  virtual void PressForKeyboard();
  virtual bool OpensSubMenu() { return false; }
  virtual bool OpenSubMenuForKeyboard() { return false; }
};

class TdxBarButtonControlAccessibilityHelper : public TdxBarButtonLikeControlAccessibilityHelper {
 public:
  using TdxBarButtonLikeControlAccessibilityHelper::TdxBarButtonLikeControlAccessibilityHelper;
  int RoleOf(int ChildID) override;
  bool OpensSubMenu() override;
  bool OpenSubMenuForKeyboard() override;
};

class TdxBarSubItemControlAccessibilityHelper : public TdxBarButtonLikeControlAccessibilityHelper {
 public:
  using TdxBarButtonLikeControlAccessibilityHelper::TdxBarButtonLikeControlAccessibilityHelper;
  int RoleOf(int ChildID) override;
  bool OpensSubMenu() override { return true; }
  bool OpenSubMenuForKeyboard() override { return DropDownByKeyboard(); }
  bool DropDownByKeyboard();
};

class TdxBarWinControlAccessibilityHelper : public TdxBarItemControlAccessibilityHelper {
 public:
  using TdxBarItemControlAccessibilityHelper::TdxBarItemControlAccessibilityHelper;
  int RoleOf(int ChildID) override { return ROLE_SYSTEM_TEXT; }
  bool ForwardsKeyTip() override { return true; }
  void KeyTipChosen(TObject* Sender) override;
};
