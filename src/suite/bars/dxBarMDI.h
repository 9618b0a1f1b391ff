#pragma once
// The main form's bar manager and its MDI documents: the system-menu item that stands first on
// the main menu while the active document is maximized, and what the manager does when the
// active document or its maximized state changes (dxBarMDI.cpp).

#include "suite/bars/dxBar.h"
#include "suite/bars/dxBarSubMenu.h"

// The active MDI child of the application's main form, null when the main form is no MDI frame.
HWND ActiveMDIChildWindow();

// What the manager's merge handlers receive: 0 the child became active, 1 it stopped being
// active, 2 its maximized state changed.
class TdxBarMergeEventArgs : public TcxEventArgs {
 public:
  TdxBarMergeEventArgs(int AKind, HWND AChildWindow) : Kind(AKind), ChildWindow(AChildWindow) {}
  int Kind;
  HWND ChildWindow;
};

// The first entry of the main menu while an MDI child is maximized: the child's icon, opening
// the child's window menu, which is read anew from the window each time it opens.
class TSystemMenuSubItem : public TCustomdxBarSubItem {
 public:
  explicit TSystemMenuSubItem(TComponent* AOwner);
  ~TSystemMenuSubItem() override;

  TdxBarItemControlClass ControlClass(bool Vertical) const override;
  void Click() override;

  HWND ChildWindow() const { return FChildWindow; }
  void SetChildWindow(HWND Value) { FChildWindow = Value; }
  // A 16 x 16 copy of the child's small icon (its big icon when it has no small one), null
  // without one; the caller destroys it.
  HICON ChildIcon() const;
  // Sends the entry's command (the sender's Tag) to the child.
  void ExecuteCommand(TObject* Sender);
  // The items the last opening made (owned and freed by the item).
  TComponentList* MenuItems() const { return FMenuItems.get(); }

 private:
  void FillLinks(TdxBarItemLinks* Links, HMENU Menu, int Depth);
  HWND FChildWindow = nullptr;
  std::unique_ptr<TComponentList> FMenuItems;
};

class TSystemMenuSubItemControl : public TdxBarSubItemControl {
 public:
  using TdxBarSubItemControl::TdxBarSubItemControl;
  bool BelongsToManager() const override { return false; }
  bool IsKeyNavigable() const override;
  void Draw(const TRect& R, int APaintKind) override;
  int Height() override;
  int Width() override;
  bool JoinsSubMenuToOwner() const override { return false; }
  bool HasDropDown() const override { return false; }
  bool AllowsActivation() const override;
  void DoubleClicked() override;
  bool WantsDoubleClick() const override { return true; }

  TSystemMenuSubItem* SystemMenuItem() const;
};

// An MDI button of a main menu bar is held (keys are swallowed meanwhile).
bool dxBarMDIButtonHeld();

// Registers the system-menu item's class with the bar unit (called when the unit starts).
void RegisterBarMDIClasses();
