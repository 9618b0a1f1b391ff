// The MDI frame and its children on Qt's MDI area.
#include <gtest/gtest.h>

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "platform/gui/Forms.h"
#include "platform/win/QtWindows.h"

namespace {

TEST(Mdi, ChildrenLiveInTheFramesClientArea) {
  RegisterGuiClasses();
  TForm* frame = nullptr;
  CreateForm(frame);
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(0, 0, 600, 400);
  auto* bar = new TCustomControl(frame);
  bar->SetParent(frame);
  bar->SetHeight(40);
  bar->SetAlign(alTop);
  frame->Show();
  ASSERT_TRUE(frame->ClientHandle());
  RECT client;
  GetWindowRect(frame->ClientHandle(), &client);
  POINT origin{client.left, client.top};
  ScreenToClient(frame->Handle(), &origin);
  EXPECT_EQ(origin.y, 40);
  EXPECT_EQ(client.right - client.left, frame->ClientWidth());

  // A child needs the frame; made, it shows in a sub-window.
  std::vector<TForm*> children;
  for (int i = 0; i < 2; ++i) {
    auto* child = new TForm(frame);
    child->SetFormStyle(fsMDIChild);
    child->SetCaption("Doc " + std::to_string(i + 1));
    child->SetBounds(10 * i, 10 * i, 300, 200);
    child->Show();
    children.push_back(child);
  }
  EXPECT_EQ(frame->MDIChildCount(), 2);
  EXPECT_EQ(frame->ActiveMDIChild(), children[1]);
  EXPECT_EQ(frame->MDIChildren(0), children[1]);
  auto* sub = qobject_cast<QMdiSubWindow*>(GetWindowWidget(children[0]->Handle()));
  ASSERT_TRUE(sub);
  EXPECT_EQ(sub->windowTitle(), "Doc 1");
  // The client area lies below the title bar, and the child's controls in it.
  EXPECT_LT(children[0]->ClientHeight(), children[0]->Height());
  auto* inner = new TCustomControl(children[0]);
  inner->SetParent(children[0]);
  inner->SetBounds(0, 0, 20, 20);
  inner->HandleNeeded();
  QWidget* innerWidget = GetWindowWidget(inner->Handle());
  EXPECT_EQ(innerWidget->parentWidget(), sub);
  EXPECT_GE(innerWidget->y(), sub->contentsMargins().top());
  // The user moving the sub-window moves the form.
  sub->move(50, 30);
  EXPECT_EQ(children[0]->Left(), 50);
  EXPECT_EQ(children[0]->Top(), 30);

  struct Case {
    TTileMode Mode;
    int Left1, Top1;
  };
  RECT area;
  GetClientRect(frame->ClientHandle(), &area);
  for (Case c : std::vector<Case>{{tbVertical, area.right / 2, 0}, {tbHorizontal, 0, area.bottom / 2}}) {
    frame->SetTileMode(c.Mode);
    frame->Tile();
    EXPECT_EQ(children[0]->Left(), 0);
    EXPECT_EQ(children[0]->Top(), 0);
    EXPECT_EQ(children[1]->Left(), c.Left1) << int(c.Mode);
    EXPECT_EQ(children[1]->Top(), c.Top1) << int(c.Mode);
  }
  // Closing a child minimises it; freeing it takes it out of the frame.
  children[1]->Close();
  EXPECT_TRUE(qobject_cast<QMdiSubWindow*>(GetWindowWidget(children[1]->Handle()))->isMinimized());
  delete children[1];
  EXPECT_EQ(frame->MDIChildCount(), 1);
  EXPECT_NE(frame->ActiveMDIChild(), children[1]);
  delete frame;

  // Without an MDI frame as main form there is no child.
  TForm* plain = nullptr;
  CreateForm(plain);
  TForm orphan(nullptr);
  orphan.SetFormStyle(fsMDIChild);
  EXPECT_THROW(orphan.HandleNeeded(), EInvalidOperation);
  delete plain;
}

// What each child hears of activation, in order, and what the client answers about it.
TEST(Mdi, ActivationMessagesAndTheActiveChildQuery) {
  RegisterGuiClasses();
  TForm* frame = nullptr;
  CreateForm(frame);
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(0, 0, 600, 400);
  frame->Show();
  static std::vector<std::string> heard;
  static std::map<HWND, std::string> names;
  heard.clear();
  names.clear();
  SUBCLASSPROC spy = [](HWND h, UINT msg, WPARAM w, LPARAM l, UINT_PTR, DWORD_PTR) -> LRESULT {
    auto name = [](WPARAM x) { return x ? names[reinterpret_cast<HWND>(x)] : std::string("0"); };
    if (msg == WM_MDIACTIVATE) heard.push_back(names[h] + ":activate " + name(w) + ">" + name(LPARAM(l)));
    if (msg == WM_CHILDACTIVATE) heard.push_back(names[h] + ":child");
    return DefSubclassProc(h, msg, w, l);
  };
  std::vector<TForm*> docs;
  for (const char* n : {"A", "B"}) {
    auto* child = new TForm(frame);
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(0, 0, 300, 200);
    child->HandleNeeded();
    names[child->Handle()] = n;
    SetWindowSubclass(child->Handle(), spy, 1, 0);
    docs.push_back(child);
  }
  docs[0]->Show();
  docs[1]->Show();
  docs[0]->Show();
  EXPECT_EQ(heard, (std::vector<std::string>{"A:activate 0>A", "A:child", "A:activate A>B", "B:activate A>B",
                                             "B:child", "B:activate B>A", "A:activate B>A", "A:child"}));

  struct Case {
    bool Maximize;
    BOOL Flag;
  };
  for (Case c : std::vector<Case>{{false, FALSE}, {true, TRUE}}) {
    auto* sub = qobject_cast<QMdiSubWindow*>(GetWindowWidget(docs[0]->Handle()));
    c.Maximize ? sub->showMaximized() : sub->showNormal();
    BOOL maximized = !c.Flag;
    HWND active = reinterpret_cast<HWND>(
        SendMessage(frame->ClientHandle(), WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized)));
    EXPECT_EQ(active, docs[0]->Handle());
    EXPECT_EQ(maximized, c.Flag) << c.Maximize;
  }
  // Without a flag to fill, the child is still answered.
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessage(frame->ClientHandle(), WM_MDIGETACTIVE, 0, 0)), docs[0]->Handle());
  for (TForm* d : docs) RemoveWindowSubclass(d->Handle(), spy, 1);
  delete frame;
}

// The window-menu commands act on the child they are sent to.
TEST(Mdi, SystemCommandsActOnTheChild) {
  RegisterGuiClasses();
  TForm* frame = nullptr;
  CreateForm(frame);
  frame->SetFormStyle(fsMDIForm);
  frame->SetBounds(0, 0, 600, 400);
  frame->Show();
  std::vector<TForm*> docs;
  for (int i = 0; i < 2; ++i) {
    auto* child = new TForm(frame);
    child->SetFormStyle(fsMDIChild);
    child->SetBounds(0, 0, 300, 200);
    child->Show();
    docs.push_back(child);
  }
  auto* sub = qobject_cast<QMdiSubWindow*>(GetWindowWidget(docs[1]->Handle()));
  struct Case {
    WPARAM Command;
    bool Maximized, Minimized;
  };
  for (Case c : std::vector<Case>{{SC_MAXIMIZE, true, false},
                                  {SC_RESTORE, false, false},
                                  {SC_MINIMIZE | 2, false, true},
                                  {SC_RESTORE, false, false}}) {
    SendMessage(docs[1]->Handle(), WM_SYSCOMMAND, c.Command, 0);
    EXPECT_EQ(sub->isMaximized(), c.Maximized) << std::hex << c.Command;
    EXPECT_EQ(sub->isMinimized(), c.Minimized) << std::hex << c.Command;
  }
  EXPECT_EQ(frame->ActiveMDIChild(), docs[1]);
  SendMessage(docs[1]->Handle(), WM_SYSCOMMAND, SC_NEXTWINDOW, 0);
  EXPECT_EQ(frame->ActiveMDIChild(), docs[0]);
  // Closing goes through the form's own close, which minimises a child.
  SendMessage(docs[0]->Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
  EXPECT_TRUE(qobject_cast<QMdiSubWindow*>(GetWindowWidget(docs[0]->Handle()))->isMinimized());
  delete frame;
}

}  // namespace
