#pragma once
// Menus: items with a caption (an "&" marks the access key, "-" is a separator), a shortcut, a
// check or radio mark, an image, a hint, an action and sub-items; pop-up menus shown at a screen
// point and drawn by Qt's menu. Item shortcuts are found by IsShortCut, from the key pipeline of
// the controls, never by Qt's own shortcuts.

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"

class TMenu;
class TMenuItem;
class TCustomImageList;

// The shortcut's text as menus show it ("Ctrl+N", "Shift+F9", "Del"); empty for none.
std::string ShortCutToText(TShortCut ShortCut);
// The reverse; 0 for a text that names no shortcut.
TShortCut TextToShortCut(const std::string& Text);
// The caption without its access-key marks ("&&" stays one "&").
std::string StripHotkey(const std::string& Text);

class TMenuActionLink : public TActionLink {
 public:
  explicit TMenuActionLink(TMenuItem* AClient);
  TMenuItem* Item() const;
  bool IsCaptionLinked() const override;
  bool IsCheckedLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHelpContextLinked() const override;
  bool IsHintLinked() const override;
  bool IsImageIndexLinked() const override;
  bool IsShortCutLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;
  void SetCaption(const std::string& Value) override;
  void SetChecked(bool Value) override;
  void SetEnabled(bool Value) override;
  void SetHelpContext(int Value) override;
  void SetHint(const std::string& Value) override;
  void SetImageIndex(int Value) override;
  void SetShortCut(TShortCut Value) override;
  void SetVisible(bool Value) override;
};

class TMenuItem : public TComponent {
 public:
  explicit TMenuItem(TComponent* AOwner);
  ~TMenuItem() override;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value) { FCaption = Value; }
  bool IsLine() const { return FCaption == "-"; }
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value) { FShortCut = Value; }
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  bool RadioItem() const { return FRadioItem; }
  void SetRadioItem(bool Value) { FRadioItem = Value; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  bool Default() const { return FDefault; }
  void SetDefault(bool Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value) { FEnabled = Value; }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { FVisible = Value; }
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value) { FImageIndex = Value; }
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value) { FHelpContext = Value; }
  TBasicAction* Action() const;
  void SetAction(TBasicAction* Value);
  TMenuActionLink* ActionLink() const { return FActionLink.get(); }
  // A number unique among the menu items of the process (what the modal hook answers).
  UINT Command() const { return FCommand; }

  int Count() const { return int(FItems.size()); }
  TMenuItem* Items(int Index) const { return FItems.at(size_t(Index)); }
  void Add(TMenuItem* Item) { Insert(Count(), Item); }
  void Insert(int Index, TMenuItem* Item);
  void Remove(TMenuItem* Item);
  void Delete(int Index) { Remove(Items(Index)); }
  void Clear();
  int IndexOf(const TMenuItem* Item) const;
  TMenuItem* Parent() const { return FParent; }
  int MenuIndex() const { return FParent ? FParent->IndexOf(this) : -1; }
  TMenu* GetParentMenu() const;
  // The item with that command or shortcut in this item or below (any depth), or null.
  TMenuItem* FindByCommand(UINT Command);
  TMenuItem* FindByShortCut(TShortCut ShortCut);

  // Runs the item: AutoCheck toggles the check, then OnClick, else the action.
  virtual void Click();
  // The idle update of the item's action.
  void InitiateAction();

  bool HasParent() const override { return true; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

  TNotifyEvent OnClick;

 protected:
  virtual void ActionChange(TObject* Sender, bool CheckDefaults);
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;
  void Loaded() override;

 private:
  friend class TMenu;
  std::string FCaption;
  TShortCut FShortCut = 0;
  bool FChecked = false;
  bool FRadioItem = false;
  int FGroupIndex = 0;
  bool FAutoCheck = false;
  bool FDefault = false;
  bool FEnabled = true;
  bool FVisible = true;
  int FImageIndex = -1;
  std::string FHint;
  int FHelpContext = 0;
  UINT FCommand;
  std::unique_ptr<TMenuActionLink> FActionLink;
  std::vector<TMenuItem*> FItems;
  TMenuItem* FParent = nullptr;
  TMenu* FMenu = nullptr;  // set on the root item only
};

class TMenu : public TComponent {
 public:
  explicit TMenu(TComponent* AOwner);
  ~TMenu() override;
  TMenuItem* Items() const { return FItems; }
  TCustomImageList* Images() const { return FImages; }
  void SetImages(TCustomImageList* Value);
  // The enabled item (visible, on a visible and enabled path) whose shortcut is the key of a
  // key message: its action is updated, then it is clicked. True when an item ran.
  virtual bool IsShortCut(TMessage& Message);
  TMenuItem* FindItem(UINT Command) { return FItems->FindByCommand(Command); }

 protected:
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TMenuItem* FItems;
  TCustomImageList* FImages = nullptr;
};

class TPopupMenu : public TMenu {
 public:
  explicit TPopupMenu(TComponent* AOwner) : TMenu(AOwner) {}
  // Shows the menu with its top-left at a screen point and returns once it has closed and the
  // chosen item (if any) has run. The modal hook sees it first (a TModalRequest of kind
  // mrPopupMenu): a positive answer is the command of the item to run, a negative one closes it.
  virtual void Popup(int X, int Y);
  // The control the menu was last shown for (set by the controls' context popup).
  TComponent* PopupComponent() const { return FPopupComponent.get(); }
  void SetPopupComponent(TComponent* Value) { FPopupComponent = Value; }
  TPoint PopupPoint() const { return FPopupPoint; }
  bool AutoPopup() const { return FAutoPopup; }
  void SetAutoPopup(bool Value) { FAutoPopup = Value; }

  TNotifyEvent OnPopup;

 protected:
  virtual void DoPopup(TObject* Sender);

 private:
  TWeakLink<TComponent> FPopupComponent;
  TPoint FPopupPoint{-1, -1};
  bool FAutoPopup = true;
};

void RegisterMenuClasses();
