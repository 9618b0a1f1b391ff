#pragma once
// Actions: commands with a caption, enabled and checked states, hint, image, shortcut,
// visibility and category, executed by their clients and updated when the application is idle.
// Clients follow an action through an action link, which copies each change of the action to
// the client.

#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Controls.h"

using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;
TShortCut ShortCut(WORD Key, TShiftState Shift);

class TBasicAction;
class TCustomAction;
class TCustomActionList;

// What a client of an action learns of it. A link belongs to its client.
class TBasicActionLink : public TObject {
 public:
  explicit TBasicActionLink(TObject* AClient) : FClient(AClient) {}
  ~TBasicActionLink() override;
  TBasicAction* Action() const { return FAction; }
  void SetAction(TBasicAction* Value);
  TObject* Client() const { return FClient; }
  virtual bool Execute(TComponent* AComponent = nullptr);
  virtual bool Update();

  // Called when the action changes; each copies one property to the client.
  virtual void SetCaption(const std::string& Value) {}
  virtual void SetEnabled(bool Value) {}
  virtual void SetChecked(bool Value) {}
  virtual void SetHint(const std::string& Value) {}
  virtual void SetImageIndex(int Value) {}
  virtual void SetShortCut(TShortCut Value) {}
  virtual void SetVisible(bool Value) {}
  // Called once the link has an action (or loses it): copy everything.
  virtual void ActionChanged() {}
  TNotifyEvent OnChange;

 protected:
  friend class TBasicAction;
  TObject* FClient;
  TBasicAction* FAction = nullptr;
};

// The link of a client that follows a TCustomAction. A property follows the action only while
// its Is...Linked test holds: the base tests ask that the action is a TCustomAction; client
// links also ask that the client's value still equals the action's (the action tells its links
// before it stores a new value), so a value the client changed on its own stays.
class TActionLink : public TBasicActionLink {
 public:
  using TBasicActionLink::TBasicActionLink;
  TCustomAction* CustomAction() const;
  virtual bool IsCaptionLinked() const { return CustomAction() != nullptr; }
  virtual bool IsCheckedLinked() const { return CustomAction() != nullptr; }
  virtual bool IsEnabledLinked() const { return CustomAction() != nullptr; }
  virtual bool IsHelpContextLinked() const { return CustomAction() != nullptr; }
  virtual bool IsHintLinked() const { return CustomAction() != nullptr; }
  virtual bool IsImageIndexLinked() const { return CustomAction() != nullptr; }
  virtual bool IsShortCutLinked() const { return CustomAction() != nullptr; }
  virtual bool IsVisibleLinked() const { return CustomAction() != nullptr; }
  virtual bool IsOnExecuteLinked() const { return FAction != nullptr; }
  virtual void SetHelpContext(int Value) {}
};

class TBasicAction : public TComponent {
 public:
  explicit TBasicAction(TComponent* AOwner) : TComponent(AOwner) {}
  ~TBasicAction() override;

  // Whether the action acts on a target offered to it (ExecuteAction of controls), and the acts.
  virtual bool HandlesTarget(TObject* Target) { return false; }
  virtual void ExecuteTarget(TObject* Target) {}

  // True when something handled the execution.
  virtual bool Execute();
  // True when something handled the update.
  virtual bool Update();
  // The client component that asked last.
  TComponent* ActionComponent() const { return FActionComponent; }
  void SetActionComponent(TComponent* Value) { FActionComponent = Value; }
  int ClientCount() const { return int(FClients.size()); }
  TBasicActionLink* Clients(int Index) const { return FClients.at(size_t(Index)); }

  TNotifyEvent OnExecute;
  TNotifyEvent OnUpdate;

 protected:
  friend class TBasicActionLink;
  void RegisterChanges(TBasicActionLink* Link);
  void UnRegisterChanges(TBasicActionLink* Link);
  template <class F>
  void ForEachClient(F f) {
    for (TBasicActionLink* l : std::vector<TBasicActionLink*>(FClients)) f(l);
  }

 private:
  std::vector<TBasicActionLink*> FClients;
  TComponent* FActionComponent = nullptr;
};

class TContainedAction : public TBasicAction {
 public:
  explicit TContainedAction(TComponent* AOwner) : TBasicAction(AOwner) {}
  ~TContainedAction() override;
  TCustomActionList* ActionList() const { return FActionList; }
  void SetActionList(TCustomActionList* Value);
  const std::string& Category() const { return FCategory; }
  void SetCategory(const std::string& Value) { FCategory = Value; }
  int Index() const;
  bool Execute() override;
  bool Update() override;
  bool HasParent() const override { return FActionList != nullptr; }
  TComponent* GetParentComponent() const override;
  void SetParentComponent(TComponent* Value) override;

 private:
  friend class TCustomActionList;
  TCustomActionList* FActionList = nullptr;
  std::string FCategory;
};

// Asked before the hint of an action's client shows: may change the text or forbid it.
using THintEvent = Event<void(std::string& HintStr, bool& CanShow)>;

class TCustomAction : public TContainedAction {
 public:
  explicit TCustomAction(TComponent* AOwner) : TContainedAction(AOwner) {}

  // True when the hint may show; OnHint may change its text.
  virtual bool DoHint(std::string& HintStr);
  THintEvent OnHint;

  const std::string& Caption() const { return FCaption; }
  void SetCaption(const std::string& Value);
  bool Enabled() const { return FEnabled; }
  void SetEnabled(bool Value);
  bool Checked() const { return FChecked; }
  void SetChecked(bool Value);
  const std::string& Hint() const { return FHint; }
  void SetHint(const std::string& Value);
  int ImageIndex() const { return FImageIndex; }
  void SetImageIndex(int Value);
  TShortCut ShortCut() const { return FShortCut; }
  void SetShortCut(TShortCut Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool AutoCheck() const { return FAutoCheck; }
  void SetAutoCheck(bool Value) { FAutoCheck = Value; }
  int GroupIndex() const { return FGroupIndex; }
  void SetGroupIndex(int Value) { FGroupIndex = Value; }
  int HelpContext() const { return FHelpContext; }
  void SetHelpContext(int Value);
  bool Execute() override;

 private:
  std::string FCaption;
  bool FEnabled = true;
  bool FChecked = false;
  std::string FHint;
  int FImageIndex = -1;
  TShortCut FShortCut = 0;
  bool FVisible = true;
  bool FAutoCheck = false;
  int FGroupIndex = 0;
  int FHelpContext = 0;
};

class TAction : public TCustomAction {
 public:
  explicit TAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

enum class TActionListState { asNormal, asSuspended, asSuspendedEnabled };
using enum TActionListState;
using TActionEvent = Event<void(TBasicAction* Action, bool& Handled)>;

class TCustomActionList : public TComponent {
 public:
  explicit TCustomActionList(TComponent* AOwner) : TComponent(AOwner) {}
  ~TCustomActionList() override;

  int ActionCount() const { return int(FActions.size()); }
  TContainedAction* Actions(int Index) const { return FActions.at(size_t(Index)); }
  int IndexOf(const TContainedAction* Action) const;
  // The image list of the actions (any component; the bar and image libraries read it).
  TComponent* Images() const { return FImages; }
  void SetImages(TComponent* Value);
  TActionListState State() const { return FState; }
  void SetState(TActionListState Value);

  // OnExecute / OnUpdate of the list for one of its actions; true when handled there.
  virtual bool ExecuteAction(TBasicAction* Action);
  virtual bool UpdateAction(TBasicAction* Action);
  // Updates every action (the idle step).
  void UpdateActions();
  // The action with the message's key as shortcut: updated, then executed when enabled.
  bool IsShortCut(TMessage& Message);

  TActionEvent OnExecute;
  TActionEvent OnUpdate;
  TNotifyEvent OnChange;

 protected:
  friend class TContainedAction;
  void AddAction(TContainedAction* Action);
  void RemoveAction(TContainedAction* Action);
  void GetChildren(TGetChildProc Proc, TComponent* Root) override;
  void SetChildOrder(TComponent* Child, int Order) override;
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  std::vector<TContainedAction*> FActions;
  TComponent* FImages = nullptr;
  TActionListState FState = asNormal;
};

class TActionList : public TCustomActionList {
 public:
  explicit TActionList(TComponent* AOwner) : TCustomActionList(AOwner) {}
};

// A control following its action (TControl::SetAction): caption, enabled, hint and visible
// while linked; the click runs the action. Controls with more to follow derive their own link
// (CreateActionLink).
class TControlActionLink : public TActionLink {
 public:
  explicit TControlActionLink(TControl* AClient) : TActionLink(AClient) {}
  TControl* Control() const { return static_cast<TControl*>(FClient); }
  bool IsCaptionLinked() const override;
  bool IsEnabledLinked() const override;
  bool IsHintLinked() const override;
  bool IsVisibleLinked() const override;
  bool IsOnExecuteLinked() const override;
  void SetCaption(const std::string& Value) override;
  void SetEnabled(bool Value) override;
  void SetHint(const std::string& Value) override;
  void SetVisible(bool Value) override;
};

// The action the application sends its new hint with (TApplication::SetHint without OnHint):
// offered to the controls of the active form, the first that takes it shows the hint.
class THintAction : public TCustomAction {
 public:
  explicit THintAction(TComponent* AOwner) : TCustomAction(AOwner) {}
};

void RegisterActionClasses();
