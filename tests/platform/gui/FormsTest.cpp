// Forms: modal loops and their results, close actions, the main form ending the application,
// descriptions with constraints and position; actions with their links, idle updates and
// shortcuts.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/ActnList.h"
#include "platform/gui/Forms.h"
#include "platform/gui/StdCtrls.h"
#include "platform/rtl/Streaming.h"
#include "platform/win/QtWindows.h"

namespace {

// Posts Fn to run once the loop that reads messages next gets to it.
HWND gRunner = nullptr;
std::vector<std::function<void()>> gQueued;
void Later(std::function<void()> Fn) {
  if (!gRunner)
    gRunner = AllocateHWnd([](TMessage& m) {
      if (m.Msg != WM_USER + 50) return;
      auto fn = std::move(gQueued.front());
      gQueued.erase(gQueued.begin());
      fn();
    });
  gQueued.push_back(std::move(Fn));
  PostMessage(gRunner, WM_USER + 50, 0, 0);
}

struct TRegistered {
  TRegistered() { RegisterGuiClasses(); }
  ~TRegistered() {
    if (gRunner) DeallocateHWnd(gRunner);
    gRunner = nullptr;
    gQueued.clear();
  }
};

// A plain windowed control that can be clicked.
class TClickable : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
  void DoClick() { Click(); }
};

// Keeps the application from waiting for messages while a test drives it.
struct TNoWait {
  TNoWait() { Application->OnIdle = [](TObject*, bool& done) { done = false; }; }
  ~TNoWait() { Application->OnIdle = nullptr; }
};

TEST(Forms, ModalLoopsEndWithTheirResult) {
  TRegistered reg;
  TNoWait nowait;
  auto owner = std::make_unique<TForm>(nullptr);
  owner->SetBounds(10, 10, 300, 200);
  owner->Show();
  struct Case {
    const char* Name;
    std::function<void(TForm*, int& refusals)> Arrange;
    int Expected;
    int Refusals;  // close queries refused on the way
  };
  std::vector<Case> cases = {
      {"result set by a handler", [](TForm* f, int&) { Later([f] { f->SetModalResult(mrOk); }); }, mrOk, 0},
      {"closed", [](TForm* f, int&) { Later([f] { f->Close(); }); }, mrCancel, 0},
      {"refused once, then accepted",
       [](TForm* f, int& refusals) {
         f->OnCloseQuery = [f, &refusals](TObject*, bool& can) {
           can = refusals > 0;
           if (!can) {
             ++refusals;
             Later([f] { f->SetModalResult(mrYes); });
           }
         };
         Later([f] { f->SetModalResult(mrNo); });
       },
       mrYes, 1},
      {"result set while showing", [](TForm* f, int&) { f->OnShow = [f](TObject*) { f->SetModalResult(mrRetry); }; },
       mrRetry, 0},
      {"close action none keeps it open",
       [](TForm* f, int& refusals) {
         f->OnClose = [&refusals, f](TObject*, TCloseAction& a) {
           if (refusals++ == 0) {
             a = caNone;
             Later([f] { f->SetModalResult(mrAbort); });
           }
         };
         Later([f] { f->SetModalResult(mrOk); });
       },
       mrAbort, 2},
  };
  for (auto& c : cases) {
    auto dialog = std::make_unique<TForm>(owner.get());
    dialog->SetBounds(0, 0, 120, 80);
    int refusals = 0;
    c.Arrange(dialog.get(), refusals);
    int result = dialog->ShowModal();
    EXPECT_EQ(result, c.Expected) << c.Name;
    EXPECT_EQ(refusals, c.Refusals) << c.Name;
    EXPECT_FALSE(dialog->Visible()) << c.Name;
    EXPECT_TRUE(IsWindowEnabled(owner->Handle())) << c.Name;
    EXPECT_FALSE(dialog->FormState().Contains(fsModal)) << c.Name;
  }
  // Other windows are disabled while the loop runs, and the dialog stays above its owner.
  {
    auto dialog = std::make_unique<TForm>(owner.get());
    bool ownerEnabled = true;
    QWindow* transientParent = nullptr;
    Later([&] {
      ownerEnabled = IsWindowEnabled(owner->Handle());
      transientParent = GetWindowWidget(dialog->Handle())->windowHandle()->transientParent();
      dialog->SetModalResult(mrOk);
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_FALSE(ownerEnabled);
    EXPECT_TRUE(IsWindowEnabled(owner->Handle()));
    EXPECT_EQ(transientParent, GetWindowWidget(owner->Handle())->windowHandle());
  }
  // A visible form cannot become modal; the modal hook may answer for a dialog.
  auto shown = std::make_unique<TForm>(owner.get());
  shown->Show();
  EXPECT_THROW(shown->ShowModal(), EInvalidOperation);
  shown->Hide();
  TModalHook old = SetModalHook([](const TModalRequest& r) { return r.Kind == TModalRequest::mrDialog ? mrIgnore : 0; });
  EXPECT_EQ(shown->ShowModal(), mrIgnore);
  EXPECT_FALSE(shown->Visible());
  SetModalHook(old);
}

// A dialog opened by a button's click, while that click is still being handled, takes the
// clicks of its own buttons: the input the dialog's loop reads is handled as that input, not as
// the click that opened it.
TEST(Forms, DialogOpenedByAClickTakesClicks) {
  TRegistered reg;
  auto owner = std::make_unique<TForm>(nullptr);
  owner->SetBounds(0, 0, 200, 100);
  auto* open = new TButton(owner.get());
  open->SetBounds(10, 10, 80, 25);
  open->SetParent(owner.get());
  auto dialog = std::make_unique<TForm>(owner.get());
  dialog->SetBounds(0, 0, 200, 100);
  auto* ok = new TButton(dialog.get());
  ok->SetBounds(10, 10, 80, 25);
  ok->SetParent(dialog.get());
  ok->SetModalResult(mrOk);
  owner->Show();
  Application->ProcessMessages();
  // A real click: posted, so that it arrives while the application's loop waits for input.
  auto postClick = [](TWinControl* Button) {
    QWidget* w = GetWindowWidget(Button->Handle());
    const QPointF at(Button->Width() / 2, Button->Height() / 2);
    const QPointF global = w->mapToGlobal(at);
    QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonPress, at, global,
                                                   Qt::LeftButton, Qt::LeftButton, Qt::NoModifier));
    QCoreApplication::postEvent(w, new QMouseEvent(QEvent::MouseButtonRelease, at, global,
                                                   Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
  };
  int result = -1;
  open->OnClick = [&](TObject*) {
    Later([&] { postClick(ok); });
    // Should the click be lost, the loop still ends.
    QTimer::singleShot(3000, [&] { dialog->SetModalResult(mrAbort); });
    result = dialog->ShowModal();
  };
  postClick(open);
  for (int i = 0; i < 50 && result < 0; ++i) Application->HandleMessage();
  EXPECT_EQ(result, mrOk);
}

TEST(Forms, CloseActionsAndTheMainForm) {
  TRegistered reg;
  struct Case {
    TCloseAction Action;
    bool Exists, Visible;
  };
  for (Case c : std::vector<Case>{{caNone, true, true}, {caHide, true, false}, {caFree, false, false}}) {
    auto* f = new TForm(nullptr);
    f->Show();
    TWeakLink<TForm> link(f);
    f->OnClose = [c](TObject*, TCloseAction& a) { a = c.Action; };
    f->Close();
    Application->ProcessMessages();
    ASSERT_EQ(link.get() != nullptr, c.Exists) << int(c.Action);
    if (link.get()) {
      EXPECT_EQ(f->Visible(), c.Visible) << int(c.Action);
      delete f;
    }
  }
  // A refused close query leaves the form as it is.
  {
    TForm f(nullptr);
    f.Show();
    f.OnCloseQuery = [](TObject*, bool& can) { can = false; };
    bool closed = false;
    f.OnClose = [&](TObject*, TCloseAction&) { closed = true; };
    f.Close();
    EXPECT_FALSE(closed);
    EXPECT_TRUE(f.Visible());
  }
  // Closing the main form ends the application's loop though another form stays open.
  TForm* main = nullptr;
  CreateForm(main);
  TForm* tool = nullptr;
  CreateForm(tool);
  EXPECT_EQ(Application->MainForm(), main);
  main->Show();
  tool->Show();
  Later([main] { main->Close(); });
  Application->Run();
  EXPECT_TRUE(Application->Terminated());
  EXPECT_TRUE(tool->Visible());
  delete tool;
  delete main;
  EXPECT_EQ(Application->MainForm(), nullptr);
  Application->ClearTerminated();  // later tests in this process run loops of their own
}

// A form class whose creation handler fails.
class TFailingForm : public TForm {
 public:
  explicit TFailingForm(TComponent* AOwner) : TForm(AOwner) {
    OnCreate = [](TObject*) { throw EConvertError("'x' is not a valid integer value"); };
    InitForm("TFailingForm");
  }
  ~TFailingForm() override {
    BeforeDestruction();
    Label.clear();
  }
  std::string Label = "alive";
};

TEST(Forms, AFailingCreationHandlerIsReportedAndTheFormLives) {
  std::vector<std::string> reported;
  TModalHook old = SetModalHook([&](const TModalRequest& r) {
    reported.push_back(r.Text);
    return IDOK;
  });
  auto form = std::make_unique<TFailingForm>(nullptr);
  SetModalHook(old);
  EXPECT_EQ(reported, (std::vector<std::string>{"'x' is not a valid integer value."}));
  form->Show();
  EXPECT_TRUE(form->Visible());
  // OnDestroy runs while the form class is still whole.
  std::string seen;
  form->OnDestroy = [&](TObject* f) { seen = static_cast<TFailingForm*>(f)->Label; };
  form.reset();
  EXPECT_EQ(seen, "alive");
}

TEST(Forms, DescriptionConstraintsAndPosition) {
  TRegistered reg;
  const std::string text = R"(object Dialog: TForm {
  Left = 3
  Top = 4
  BorderStyle = bsDialog
  Caption = "Settings"
  ClientHeight = 100
  ClientWidth = 200
  Constraints {
    MinHeight = 90
    MinWidth = 150
  }
  Position = poScreenCenter
})";
  auto form = std::make_unique<TForm>(nullptr);
  ReadComponentFromText(form.get(), text);
  EXPECT_EQ(form->Caption(), "Settings");
  EXPECT_EQ(form->BorderStyle(), bsDialog);
  EXPECT_EQ(form->ClientWidth(), 200);
  form->SetBounds(0, 0, 100, 50);
  EXPECT_EQ(form->Width(), 150);
  EXPECT_EQ(form->Height(), 90);
  form->SetBounds(0, 0, 200, 100);
  form->Show();
  EXPECT_EQ(form->Left(), (Screen->Width() - 200) / 2);
  EXPECT_EQ(form->Top(), (Screen->Height() - 100) / 2);
  // The dialog border stops the user, not the program.
  form->SetBounds(form->Left(), form->Top(), 260, 130);
  EXPECT_EQ(form->Width(), 260);
  EXPECT_EQ(GetWindowWidget(form->Handle())->size(), QSize(260, 130));
  EXPECT_EQ(GetWindowWidget(form->Handle())->maximumSize(), QSize(260, 130));
  // What the reader took in is written back the same way.
  std::string written = WriteComponentToText(form.get());
  EXPECT_NE(written.find("BorderStyle = bsDialog"), std::string::npos) << written;
  EXPECT_NE(written.find("MinWidth = 150"), std::string::npos) << written;
}

// ---------------------------------------------------------------------------------------------

TEST(Actions, LinksFollowTheActionAndClicksExecuteIt) {
  TRegistered reg;
  auto form = std::make_unique<TForm>(nullptr);
  auto* list = new TActionList(form.get());
  auto* action = new TAction(form.get());
  action->SetActionList(list);
  int executed = 0;
  action->OnExecute = [&](TObject* sender) {
    EXPECT_EQ(sender, action);
    ++executed;
  };
  auto* button = new TClickable(form.get());
  button->SetParent(form.get());
  action->SetCaption("&Open...");
  action->SetHint("Open a file");
  button->SetAction(action);
  EXPECT_EQ(button->Caption(), "&Open...");
  EXPECT_EQ(button->Hint(), "Open a file");
  EXPECT_EQ(button->Action(), action);
  struct Step {
    std::function<void()> Change;
    std::string Caption;
    bool Enabled, Visible;
    int Executed;
  };
  std::vector<Step> steps = {
      {[] {}, "&Open...", true, true, 1},
      {[&] { action->SetEnabled(false); }, "&Open...", false, true, 1},
      {[&] { action->SetEnabled(true); action->SetCaption("Open"); }, "Open", true, true, 2},
      {[&] { action->SetVisible(false); }, "Open", true, false, 3},
  };
  for (size_t i = 0; i < steps.size(); ++i) {
    steps[i].Change();
    button->DoClick();
    EXPECT_EQ(button->Caption(), steps[i].Caption) << i;
    EXPECT_EQ(button->Enabled(), steps[i].Enabled) << i;
    EXPECT_EQ(button->Visible(), steps[i].Visible) << i;
    EXPECT_EQ(executed, steps[i].Executed) << i;
  }
  // The list sees the execution first and may take it.
  list->OnExecute = [](TBasicAction*, bool& handled) { handled = true; };
  button->DoClick();
  EXPECT_EQ(executed, 3);
  list->OnExecute = nullptr;
  // Either side may go first.
  delete button;
  EXPECT_EQ(action->ClientCount(), 0);
  auto* other = new TClickable(form.get());
  other->SetAction(action);
  delete action;
  EXPECT_EQ(other->Action(), nullptr);
  EXPECT_EQ(list->ActionCount(), 0);
  // The freed action's handler is not run by the control it left.
  other->DoClick();
  EXPECT_EQ(executed, 3);
}

// A client's property follows the action while it still equals the action's: a caption the
// client set itself stays through later changes, the other properties keep following.
TEST(Actions, ACaptionFollowsTheActionUntilTheClientChangesIt) {
  TRegistered reg;
  auto form = std::make_unique<TForm>(nullptr);
  auto* action = new TAction(form.get());
  action->SetCaption("Cut");
  auto* button = new TClickable(form.get());
  button->SetCaption("old");
  button->SetAction(action);
  EXPECT_EQ(button->Caption(), "Cut");
  action->SetCaption("Cu&t");
  EXPECT_EQ(button->Caption(), "Cu&t");
  button->SetCaption("Mine");
  action->SetCaption("Cut selection");
  action->SetEnabled(false);
  EXPECT_EQ(button->Caption(), "Mine");
  EXPECT_FALSE(button->Enabled());
  // Back to the action's own caption, the client follows again.
  button->SetCaption("Cut selection");
  action->SetCaption("Cut");
  EXPECT_EQ(button->Caption(), "Cut");
}

// Read from a description, a control keeps what it was given and takes the rest from its action.
TEST(Actions, ALoadedControlKeepsItsOwnValuesAndTakesTheRest) {
  TRegistered reg;
  auto form = std::make_unique<TForm>(nullptr);
  ReadComponentFromText(form.get(), R"(object Main: TForm {
  object Paste: TAction {
    Caption = "Paste"
    Hint = "Paste the clipboard"
    Enabled = False
  }
  object Own: TCustomControl {
    Action = Paste
    Hint = "My hint"
  }
  object Plain: TCustomControl {
    Action = Paste
  }
})");
  auto* own = dynamic_cast<TControl*>(form->FindComponent("Own"));
  auto* plain = dynamic_cast<TControl*>(form->FindComponent("Plain"));
  ASSERT_TRUE(own && plain);
  EXPECT_EQ(own->Hint(), "My hint");
  EXPECT_EQ(plain->Hint(), "Paste the clipboard");
  for (TControl* c : {own, plain}) {
    EXPECT_EQ(c->Caption(), "Paste") << c->Name();
    EXPECT_FALSE(c->Enabled()) << c->Name();
  }
  // Only the hint that is not the action's is written back.
  std::string written = WriteComponentToText(form.get());
  EXPECT_NE(written.find("My hint"), std::string::npos) << written;
  EXPECT_EQ(written.find("Hint = \"Paste the clipboard\"", written.find("object Own")), std::string::npos)
      << written;
}

TEST(Actions, IdleUpdatesReachVisibleFormsAlsoInsideModalLoops) {
  TRegistered reg;
  TNoWait nowait;
  auto form = std::make_unique<TForm>(nullptr);
  auto* list = new TActionList(form.get());
  auto* a = new TAction(form.get());
  auto* b = new TAction(form.get());
  a->SetActionList(list);
  b->SetActionList(list);
  std::vector<std::string> order;
  list->OnUpdate = [&](TBasicAction* action, bool& handled) {
    order.push_back(action == a ? "list a" : "list b");
    handled = action == b;
  };
  a->OnUpdate = [&](TObject*) { order.push_back("a"); };
  b->OnUpdate = [&](TObject*) { order.push_back("b"); };
  // Hidden forms are left alone.
  Application->HandleMessage();
  EXPECT_TRUE(order.empty());
  form->Show();
  Application->HandleMessage();
  EXPECT_EQ(order, (std::vector<std::string>{"list a", "a", "list b"}));
  // The explicit call does the same.
  order.clear();
  DoActionIdle();
  EXPECT_EQ(order.size(), 3u);
  // A modal loop idles too: its own form's actions end it.
  auto dialog = std::make_unique<TForm>(nullptr);
  auto* dlist = new TActionList(dialog.get());
  auto* watch = new TAction(dialog.get());
  watch->SetActionList(dlist);
  int idles = 0;
  watch->OnUpdate = [&](TObject*) {
    if (++idles == 3) dialog->SetModalResult(mrOk);
  };
  order.clear();
  EXPECT_EQ(dialog->ShowModal(), mrOk);
  EXPECT_EQ(idles, 3);
  // Updates of the owner's list ran meanwhile as well (it stays visible).
  EXPECT_GE(order.size(), 6u);
  // A suspended list updates nothing.
  list->SetState(asSuspended);
  order.clear();
  DoActionIdle();
  EXPECT_TRUE(order.empty());
}

TEST(Actions, ShortcutsUpdateTheActionBeforeRunningIt) {
  TRegistered reg;
  auto form = std::make_unique<TForm>(nullptr);
  form->SetBounds(0, 0, 200, 100);
  auto* edit = new TClickable(form.get());
  edit->SetBounds(5, 5, 50, 20);
  edit->SetParent(form.get());
  auto* list = new TActionList(form.get());
  auto* save = new TAction(form.get());
  save->SetActionList(list);
  save->SetShortCut(ShortCut('S', TShiftState{ssCtrl}));
  save->SetEnabled(false);
  bool allow = true;
  save->OnUpdate = [&](TObject*) { save->SetEnabled(allow); };
  int saved = 0;
  save->OnExecute = [&](TObject*) { ++saved; };
  form->Show();
  edit->SetFocus();
  auto press = [&](int key, Qt::KeyboardModifiers mods, const char* text) {
    QWidget* w = GetWindowWidget(edit->Handle());
    QKeyEvent down(QEvent::KeyPress, key, mods, text);
    QCoreApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, key, mods, text);
    QCoreApplication::sendEvent(w, &up);
    Application->ProcessMessages();
  };
  std::vector<char32_t> typed;
  edit->OnKeyPress = [&](TObject*, char32_t& c) { typed.push_back(c); };
  press(Qt::Key_S, Qt::ControlModifier, "\x13");
  EXPECT_EQ(saved, 1);  // disabled until its update ran
  allow = false;
  press(Qt::Key_S, Qt::ControlModifier, "\x13");
  EXPECT_EQ(saved, 1);
  EXPECT_FALSE(save->Enabled());
  // The disabled action's key reaches the control; the enabled one's did not.
  EXPECT_EQ(typed, (std::vector<char32_t>{U'\x13'}));
  press(Qt::Key_S, Qt::NoModifier, "s");
  EXPECT_EQ(typed, (std::vector<char32_t>{U'\x13', U's'}));
  EXPECT_EQ(saved, 1);
}

// The main form's shortcuts reach keys typed in another form, but not while the main form is
// disabled, as it is under a modal dialog: the dialog's own keys (Esc, Space) stay its own.
TEST(Actions, MainFormShortcutsWaitWhileItIsDisabled) {
  TRegistered reg;
  TForm* main = nullptr;
  CreateForm(main);
  auto* list = new TActionList(main);
  auto* stop = new TAction(main);
  stop->SetActionList(list);
  stop->SetShortCut(ShortCut(VK_ESCAPE, TShiftState{}));
  int stopped = 0;
  stop->OnExecute = [&](TObject*) { ++stopped; };
  main->Show();
  auto other = std::make_unique<TForm>(nullptr);
  other->SetBounds(0, 0, 200, 100);
  auto* field = new TClickable(other.get());
  field->SetBounds(5, 5, 50, 20);
  field->SetParent(other.get());
  other->Show();
  field->SetFocus();
  auto escape = [&] {
    QWidget* w = GetWindowWidget(field->Handle());
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier, "\x1b");
    QCoreApplication::sendEvent(w, &down);
    QKeyEvent up(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier, "\x1b");
    QCoreApplication::sendEvent(w, &up);
    Application->ProcessMessages();
  };
  escape();
  EXPECT_EQ(stopped, 1);
  EnableWindow(main->Handle(), FALSE);
  escape();
  EXPECT_EQ(stopped, 1);
  EnableWindow(main->Handle(), TRUE);
  escape();
  EXPECT_EQ(stopped, 2);
  other.reset();
  delete main;
  EXPECT_EQ(Application->MainForm(), nullptr);
}

}  // namespace
