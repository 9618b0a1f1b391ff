#pragma once
// Accessibility objects of the navigation bar: the bar, each group, each group's caption panel
// and link container, and each link. They form a tree that the keyboard walks: the bar keeps
// one of them focused and an arrow key moves to the nearest object in that direction, found by
// geometry over the whole tree (links scrolled out of view included).

#include <vector>

#include "suite/core/cxAccessibility.h"
#include "suite/navbar/dxNavBar.h"

// Navigation directions.
constexpr int dxNavBarNavFirst = 0;
constexpr int dxNavBarNavLeft = 1;
constexpr int dxNavBarNavRight = 2;
constexpr int dxNavBarNavUp = 3;
constexpr int dxNavBarNavDown = 4;

enum class TdxNavBarAccessibleKind { Bar, Group, CaptionPanel, LinkContainer, Link };

class TdxNavBarCustomAccessibilityHelper : public TcxAccessibilityHelper {
 public:
  // ANavBar must be a navigation bar.
  TdxNavBarCustomAccessibilityHelper(TObject* AOwnerObject, TdxCustomNavBar* ANavBar);
  TdxCustomNavBar* NavBar() const { return FNavBar; }
  virtual TdxNavBarAccessibleKind Kind() const = 0;

  void MarkOwnerDestroyed() override;
  TcxAccessibilityHelper* ChildAt(int Index) override;
  int ChildCount() override;
  HWND OwnerWindow() override;
  int StateOf(int ChildID) override;
  TRect ScreenBoundsOf(int ChildID) override;

  // Objects other parts hang into the tree (containers only).
  void AddAttachedChild(TcxAccessibilityHelper* Child);
  void RemoveAttachedChild(TcxAccessibilityHelper* Child);
  // The root with direction 0 or 4, or a leaf with a parent and a direction 1 to 4.
  TdxNavBarCustomAccessibilityHelper* NextNavigationObject(int Direction);
  bool HasFocus();
  bool ShowsPressed() const { return FPressed; }
  TdxNavBarCustomAccessibilityHelper* NavHelperObject() { return this; }
  TdxNavBarCustomAccessibilityHelper* Parent();
  bool IsAncestorOf(TdxNavBarCustomAccessibilityHelper* Object);

  virtual bool CanTakeFocus(bool Deep);
  virtual void FocusStateChanged(bool MakeVisible);
  virtual void HandleKeyDown(WORD Key);
  virtual void HandleKeyPress(char32_t Key) {}
  virtual void HandleKeyUp(WORD Key);
  virtual void ReleaseFocus();
  virtual bool IsFocusable() { return false; }
  virtual void Activate(WORD Key) {}
  virtual TdxNavBarCustomAccessibilityHelper* AssociatedObject() { return nullptr; }
  // Rectangle in the bar's client coordinates.
  virtual TRect GetBounds() = 0;
  virtual TdxNavBarCustomAccessibilityHelper* FindNextObject(int Direction);
  virtual bool IsActivationKey(WORD Key) { return false; }
  virtual bool IsContainer() = 0;
  virtual bool GetScrollExtent(int& Extra, int& Top) { return false; }
  virtual void MakeVisible() {}

 protected:
  // The children of the object's own (after the attached ones).
  virtual int OwnChildCount() { return 0; }
  virtual TcxAccessibilityHelper* OwnChildAt(int Index) { return nullptr; }
  TdxNavBarViewInfo* Layout();
  void SetPressed(bool Value);

 private:
  TdxCustomNavBar* FNavBar;
  // The bar told when the owner goes; an owner that outlives its bar tells nobody.
  TWeakLink<TdxCustomNavBar> FNavBarLink;
  std::vector<TcxAccessibilityHelper*> FAttached;
  bool FPressed = false;
};

class TdxNavBarAccessibilityHelper : public TdxNavBarCustomAccessibilityHelper {
 public:
  explicit TdxNavBarAccessibilityHelper(TdxCustomNavBar* ANavBar)
      : TdxNavBarCustomAccessibilityHelper(ANavBar, ANavBar) {}
  TdxNavBarAccessibleKind Kind() const override { return TdxNavBarAccessibleKind::Bar; }
  TRect GetBounds() override;
  bool IsContainer() override { return true; }

 protected:
  int OwnChildCount() override;
  TcxAccessibilityHelper* OwnChildAt(int Index) override;
};

class TdxNavBarGroupAccessibilityHelper : public TdxNavBarCustomAccessibilityHelper {
 public:
  TdxNavBarGroupAccessibilityHelper(TdxNavBarGroup* AGroup, TdxCustomNavBar* ANavBar)
      : TdxNavBarCustomAccessibilityHelper(AGroup, ANavBar), FGroup(AGroup) {}
  TdxNavBarAccessibleKind Kind() const override { return TdxNavBarAccessibleKind::Group; }
  TdxNavBarGroup* Group() const { return FGroup; }
  TcxAccessibilityHelper* QueryParent() override;
  int StateOf(int ChildID) override;
  TRect GetBounds() override;
  bool IsContainer() override { return true; }

 protected:
  int OwnChildCount() override { return 2; }
  TcxAccessibilityHelper* OwnChildAt(int Index) override;

 private:
  TdxNavBarGroup* FGroup;
};

class TdxNavBarGroupCaptionPanelAccessibilityHelper : public TdxNavBarCustomAccessibilityHelper {
 public:
  TdxNavBarGroupCaptionPanelAccessibilityHelper(TdxNavBarGroup* AGroup, TdxCustomNavBar* ANavBar)
      : TdxNavBarCustomAccessibilityHelper(AGroup, ANavBar), FGroup(AGroup) {}
  TdxNavBarAccessibleKind Kind() const override { return TdxNavBarAccessibleKind::CaptionPanel; }
  TdxNavBarGroup* Group() const { return FGroup; }
  TcxAccessibilityHelper* QueryParent() override;
  int StateOf(int ChildID) override;
  TRect GetBounds() override;
  bool IsContainer() override { return false; }
  bool IsFocusable() override { return true; }
  bool IsActivationKey(WORD Key) override;
  void Activate(WORD Key) override;
  void MakeVisible() override;

 private:
  TdxNavBarGroup* FGroup;
};

class TdxNavBarItemLinkContainerAccessibilityHelper : public TdxNavBarCustomAccessibilityHelper {
 public:
  TdxNavBarItemLinkContainerAccessibilityHelper(TdxNavBarGroup* AGroup, TdxCustomNavBar* ANavBar)
      : TdxNavBarCustomAccessibilityHelper(AGroup, ANavBar), FGroup(AGroup) {}
  TdxNavBarAccessibleKind Kind() const override { return TdxNavBarAccessibleKind::LinkContainer; }
  TdxNavBarGroup* Group() const { return FGroup; }
  TcxAccessibilityHelper* QueryParent() override;
  int StateOf(int ChildID) override;
  TRect GetBounds() override;
  bool IsContainer() override { return true; }
  bool GetScrollExtent(int& Extra, int& Top) override;

 protected:
  int OwnChildCount() override;
  TcxAccessibilityHelper* OwnChildAt(int Index) override;

 private:
  TdxNavBarGroup* FGroup;
};

class TdxNavBarItemLinkAccessibilityHelper : public TdxNavBarCustomAccessibilityHelper {
 public:
  TdxNavBarItemLinkAccessibilityHelper(TdxNavBarItemLink* ALink, TdxCustomNavBar* ANavBar)
      : TdxNavBarCustomAccessibilityHelper(ALink, ANavBar), FLink(ALink) {}
  TdxNavBarAccessibleKind Kind() const override { return TdxNavBarAccessibleKind::Link; }
  TdxNavBarItemLink* Link() const { return FLink; }
  TcxAccessibilityHelper* QueryParent() override;
  int StateOf(int ChildID) override;
  TRect GetBounds() override;
  bool IsContainer() override { return false; }
  bool IsFocusable() override { return true; }
  bool IsActivationKey(WORD Key) override { return Key == VK_RETURN || Key == VK_SPACE; }
  void Activate(WORD Key) override;
  void ReleaseFocus() override;
  void MakeVisible() override;

 private:
  TdxNavBarItemLink* FLink;
};

// The objects of the bar's elements, made on first request and kept by their owners.
TdxNavBarCustomAccessibilityHelper* dxNavBarAccessibilityOf(TdxCustomNavBar* ANavBar);
TdxNavBarCustomAccessibilityHelper* dxNavBarGroupAccessibilityOf(TdxNavBarGroup* AGroup);
TdxNavBarCustomAccessibilityHelper* dxNavBarCaptionPanelAccessibilityOf(TdxNavBarGroup* AGroup);
TdxNavBarCustomAccessibilityHelper* dxNavBarLinkContainerAccessibilityOf(TdxNavBarGroup* AGroup);
TdxNavBarCustomAccessibilityHelper* dxNavBarLinkAccessibilityOf(TdxNavBarItemLink* ALink);

// The object under a screen point that can take the focus (searched from Root), or null.
TdxNavBarCustomAccessibilityHelper* dxNavBarAccessibleObjectAtPos(TdxNavBarCustomAccessibilityHelper* Root,
                                                                  TPoint ScreenPoint);
