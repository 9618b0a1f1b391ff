// Pop-up menus on real widgets (offscreen): Qt's menu built from the items, the modal hook
// choosing an item, the context menu on a right-button release, item shortcuts in the key
// pipeline.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QTimer>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/gui/Menus.h"
#include "platform/win/QtWindows.h"

namespace {

class TPanel : public TCustomControl {
 public:
  using TCustomControl::TCustomControl;
};

// Puts a hook in place for one test and takes it away again.
struct THook {
  TModalHook Previous;
  explicit THook(TModalHook Hook) : Previous(SetModalHook(std::move(Hook))) {}
  ~THook() { SetModalHook(std::move(Previous)); }
};

TMenuItem* AddItem(TMenuItem* Parent, const std::string& Caption, std::vector<std::string>* Log = nullptr) {
  auto* item = new TMenuItem(Parent->Owner() ? Parent->Owner() : nullptr);
  item->SetCaption(Caption);
  if (Log) item->OnClick = [Log, Caption](TObject*) { Log->push_back(Caption); };
  Parent->Add(item);
  return item;
}

struct TMenuScene {
  std::unique_ptr<TForm> Form;
  TPanel* Panel;
  TPopupMenu* Menu;
  TMenuItem *Cut, *Bold, *Zoom, *ZoomIn;
  std::vector<std::string> Ran;

  TMenuScene() {
    Form = std::make_unique<TForm>(nullptr);
    Form->SetBounds(0, 0, 300, 200);
    Panel = new TPanel(Form.get());
    Panel->SetBounds(20, 20, 200, 120);
    Panel->SetParent(Form.get());
    Panel->SetTabStop(true);
    Menu = new TPopupMenu(Form.get());
    Cut = AddItem(Menu->Items(), "Cu&t", &Ran);
    Cut->SetShortCut(ShortCut('X', TShiftState{ssCtrl}));
    AddItem(Menu->Items(), "-");
    Bold = AddItem(Menu->Items(), "&Bold", &Ran);
    Bold->SetChecked(true);
    Zoom = AddItem(Menu->Items(), "&Zoom");
    ZoomIn = AddItem(Zoom, "Zoom &in", &Ran);
    ZoomIn->SetShortCut(ShortCut('I', TShiftState{ssCtrl}));
    Panel->SetPopupMenu(Menu);
    Form->Show();
    Panel->SetFocus();
  }
};

QAction* FindAction(QMenu* Menu, const QString& Text) {
  for (QAction* a : Menu->actions())
    if (a->text().startsWith(Text)) return a;
  return nullptr;
}

void SendKey(TWinControl* c, int key, Qt::KeyboardModifiers mods, QString text = {}) {
  QWidget* w = GetWindowWidget(c->Handle());
  QKeyEvent down(QEvent::KeyPress, key, mods, text);
  QCoreApplication::sendEvent(w, &down);
  QKeyEvent up(QEvent::KeyRelease, key, mods, text);
  QCoreApplication::sendEvent(w, &up);
  Application->ProcessMessages();
}

// A right-button press and release at a point of the control; gives the screen point.
QPoint RightClick(TWinControl* c, QPoint local) {
  QWidget* w = GetWindowWidget(c->Handle());
  QPoint global = w->mapToGlobal(local);
  QCursor::setPos(global);
  QMouseEvent down(QEvent::MouseButtonPress, QPointF(local), QPointF(global), Qt::RightButton,
                   Qt::RightButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &down);
  QMouseEvent up(QEvent::MouseButtonRelease, QPointF(local), QPointF(global), Qt::RightButton,
                 Qt::NoButton, Qt::NoModifier);
  QCoreApplication::sendEvent(w, &up);
  Application->ProcessMessages();
  return global;
}

// Qt's menu shows the items as the user sees them; choosing the sub-menu's item runs it once
// the menu has closed, before Popup returns.
TEST(Menus, APopupMenuShowsItsItemsInQtsMenuAndRunsTheChosenOne) {
  TMenuScene s;
  int popups = 0;
  s.Menu->OnPopup = [&](TObject*) { ++popups; };
  struct TSeen {
    QStringList Top, Sub;
    bool BoldChecked = false, CutEnabled = false;
    QPoint At;
    bool RanBeforeClose = false;
  } seen;
  QTimer::singleShot(0, [&] {
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    seen.At = menu->pos();
    for (QAction* a : menu->actions()) seen.Top << (a->isSeparator() ? "-" : a->text());
    QAction* bold = FindAction(menu, "&Bold");
    seen.BoldChecked = bold && bold->isCheckable() && bold->isChecked();
    QAction* zoom = FindAction(menu, "&Zoom");
    ASSERT_TRUE(zoom && zoom->menu());
    for (QAction* a : zoom->menu()->actions()) seen.Sub << a->text();
    seen.RanBeforeClose = !s.Ran.empty();
    // The user's keys: the access key of the sub-menu opens it, the item's own chooses it.
    auto press = [](QWidget* w, int key, const QString& text) {
      QKeyEvent down(QEvent::KeyPress, key, Qt::NoModifier, text);
      QCoreApplication::sendEvent(w, &down);
    };
    press(menu, Qt::Key_Z, "z");
    QTimer::singleShot(0, [&, menu] {
      auto* sub = qobject_cast<QMenu*>(QApplication::activePopupWidget());
      if (!sub || sub == menu) {
        menu->close();
        return;
      }
      press(sub, Qt::Key_I, "i");
    });
  });
  s.Menu->Popup(70, 90);
  EXPECT_EQ(popups, 1);
  EXPECT_EQ(seen.At, QPoint(70, 90));
  EXPECT_EQ(seen.Top, (QStringList{"Cu&t\tCtrl+X", "-", "&Bold", "&Zoom"}));
  EXPECT_EQ(seen.Sub, (QStringList{"Zoom &in\tCtrl+I"}));
  EXPECT_TRUE(seen.BoldChecked);
  EXPECT_FALSE(seen.RanBeforeClose);
  EXPECT_EQ(s.Ran, (std::vector<std::string>{"Zoom &in"}));
  EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

// A right-button release over the control asks OnContextPopup first, then shows the menu at the
// cursor; the modal hook sees the open menu and picks an item by its command.
TEST(Menus, TheContextMenuOpensAtTheCursorAndTheHookChoosesItsItem) {
  TMenuScene s;
  std::vector<TModalRequest> asked;
  int answer = 0;
  THook hook([&](const TModalRequest& r) {
    asked.push_back(r);
    return answer;
  });
  bool handle = true;
  std::vector<TPoint> requests;
  s.Panel->OnContextPopup = [&](TObject*, TPoint at, bool& handled) {
    requests.push_back(at);
    handled = handle;
  };
  RightClick(s.Panel, QPoint(30, 40));
  EXPECT_EQ(requests, (std::vector<TPoint>{TPoint{30, 40}}));
  EXPECT_TRUE(asked.empty());  // handled: no menu
  handle = false;
  answer = int(s.Bold->Command());
  QPoint global = RightClick(s.Panel, QPoint(50, 60));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_EQ(asked[0].Kind, TModalRequest::mrPopupMenu);
  EXPECT_EQ(asked[0].Dialog, static_cast<void*>(s.Menu));
  EXPECT_EQ(s.Menu->PopupPoint(), (TPoint{global.x(), global.y()}));
  EXPECT_EQ(s.Menu->PopupComponent(), s.Panel);
  EXPECT_EQ(s.Ran, (std::vector<std::string>{"&Bold"}));
  // A negative answer closes the menu with nothing run; the menu key asks for it too.
  answer = -1;
  SendKey(s.Panel, Qt::Key_Menu, Qt::NoModifier);
  EXPECT_EQ(asked.size(), 2u);
  EXPECT_EQ(requests.back(), (TPoint{-1, -1}));
  EXPECT_EQ(s.Ran.size(), 1u);
  // A disabled item never runs, whatever the hook answers; AutoPopup off shows nothing.
  s.Bold->SetEnabled(false);
  answer = int(s.Bold->Command());
  RightClick(s.Panel, QPoint(50, 60));
  EXPECT_EQ(s.Ran.size(), 1u);
  s.Menu->SetAutoPopup(false);
  RightClick(s.Panel, QPoint(50, 60));
  EXPECT_EQ(asked.size(), 3u);
}

class TMark : public TGraphicControl {
 public:
  using TGraphicControl::TGraphicControl;
};

// A graphic child's right-button release asks the child, then its parent: each request opens
// exactly one menu, the child's own when it has one.
TEST(Menus, AGraphicChildsContextMenuOpensOnce) {
  TMenuScene s;
  auto* mark = new TMark(s.Form.get());
  mark->SetBounds(100, 50, 40, 40);
  mark->SetParent(s.Panel);
  std::vector<void*> shown;
  THook hook([&](const TModalRequest& r) {
    shown.push_back(r.Dialog);
    return -1;
  });
  RightClick(s.Panel, QPoint(110, 60));
  EXPECT_EQ(shown, (std::vector<void*>{s.Menu}));
  auto* own = new TPopupMenu(s.Form.get());
  AddItem(own->Items(), "Delete marker");
  mark->SetPopupMenu(own);
  RightClick(s.Panel, QPoint(110, 60));
  EXPECT_EQ(shown, (std::vector<void*>{s.Menu, own}));
  EXPECT_EQ(own->PopupComponent(), mark);
}

// Item shortcuts go through the control's key pipeline: each press runs its item exactly once,
// also when the item's action has the same shortcut in the form's action list; the key never
// reaches the control, and nested items and radio groups work the same.
TEST(Menus, AnItemsShortcutRunsItExactlyOnce) {
  TMenuScene s;
  std::vector<char32_t> typed;
  s.Panel->OnKeyPress = [&](TObject*, char32_t& c) { typed.push_back(c); };
  SendKey(s.Panel, Qt::Key_X, Qt::ControlModifier, "\x18");
  EXPECT_EQ(s.Ran, (std::vector<std::string>{"Cu&t"}));
  SendKey(s.Panel, Qt::Key_I, Qt::ControlModifier, "\x09");
  EXPECT_EQ(s.Ran, (std::vector<std::string>{"Cu&t", "Zoom &in"}));
  EXPECT_TRUE(typed.empty());
  // The same shortcut on the item's action in the form's list still runs once.
  auto* list = new TActionList(s.Form.get());
  auto* cut = new TAction(s.Form.get());
  cut->SetActionList(list);
  cut->SetShortCut(ShortCut('X', TShiftState{ssCtrl}));
  int executed = 0;
  cut->OnExecute = [&](TObject*) { ++executed; };
  s.Cut->OnClick = nullptr;
  s.Cut->SetAction(cut);
  SendKey(s.Panel, Qt::Key_X, Qt::ControlModifier, "\x18");
  EXPECT_EQ(executed, 1);
  // A disabled item lets the key go on to the control.
  cut->SetEnabled(false);
  cut->OnUpdate = [&](TObject*) {};
  SendKey(s.Panel, Qt::Key_X, Qt::ControlModifier, "\x18");
  EXPECT_EQ(executed, 1);
  EXPECT_FALSE(s.Cut->Enabled());
  // Radio items of one group check each other off; AutoCheck toggles on a click.
  TMenuItem* a = AddItem(s.Menu->Items(), "A");
  TMenuItem* b = AddItem(s.Menu->Items(), "B");
  for (TMenuItem* i : {a, b}) {
    i->SetRadioItem(true);
    i->SetGroupIndex(1);
    i->SetAutoCheck(true);
  }
  a->SetShortCut(ShortCut('1', TShiftState{ssCtrl}));
  b->SetShortCut(ShortCut('2', TShiftState{ssCtrl}));
  SendKey(s.Panel, Qt::Key_1, Qt::ControlModifier);
  SendKey(s.Panel, Qt::Key_2, Qt::ControlModifier);
  EXPECT_FALSE(a->Checked());
  EXPECT_TRUE(b->Checked());
}

TEST(Menus, ShortcutTextsRoundTrip) {
  struct Case {
    TShortCut Key;
    const char* Text;
  } cases[] = {{ShortCut('N', TShiftState{ssCtrl}), "Ctrl+N"},
               {ShortCut(VK_F9, TShiftState{ssShift}), "Shift+F9"},
               {ShortCut(VK_DELETE, {}), "Del"},
               {ShortCut('Z', TShiftState{ssCtrl, ssShift, ssAlt}), "Shift+Ctrl+Alt+Z"},
               {0, ""}};
  for (const Case& c : cases) {
    EXPECT_EQ(ShortCutToText(c.Key), c.Text);
    EXPECT_EQ(TextToShortCut(c.Text), c.Key) << c.Text;
  }
  EXPECT_EQ(StripHotkey("Save &As && close"), "Save As & close");
}

}  // namespace
